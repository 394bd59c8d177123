#pragma once

#include "document/measure.h"

namespace qf {

// Measures texts with the installed fonts (needs a QGuiApplication).
class QtTextMeasurer final : public TextMeasurer {
 public:
  PointExtent measureText(const ObjectRecord& text) const override;
};

// Reads only a picture file's header for its size; pictures count at 96 dots per inch, as the
// screen shows them.
class QtPictureSizer final : public PictureSizer {
 public:
  std::optional<PointExtent> pictureSize(std::string_view path) const override;
};

}  // namespace qf
