#pragma once

#include <QFontMetricsF>
#include <QImage>
#include <map>
#include <string>
#include <tuple>

#include "document/measure.h"

namespace qf {

// Measures texts with the installed fonts (needs a QGuiApplication).
class QtTextMeasurer final : public TextMeasurer {
 public:
  QtTextMeasurer();
  PointExtent measureText(const ObjectRecord& text) const override;

 private:
  using FontKey = std::tuple<std::string, float, bool, bool, bool, bool>;
  const QFontMetricsF& metricsFor(const ObjectRecord& t) const;

  // A small image at 96 dpi gives the metrics a fixed resolution on any display.
  QImage device_;
  // Resolving a font is the costly part of a measurement; designs use few fonts.
  mutable std::map<FontKey, QFontMetricsF> metrics_;
};

// Reads only a picture file's header for its size; pictures count at 96 dots per inch, as the
// screen shows them.
class QtPictureSizer final : public PictureSizer {
 public:
  std::optional<PointExtent> pictureSize(std::string_view path) const override;
};

}  // namespace qf
