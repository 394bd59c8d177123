#pragma once

#include <optional>
#include <string_view>

#include "object_record.h"

namespace qf {

// Size of a text or picture in points (1/72 inch).
struct PointExtent {
  double width = 0;
  double height = 0;
};

// Measures a text object's text in its font, at its design point size.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual PointExtent measureText(const ObjectRecord& text) const = 0;
};

// Natural size of a picture file; nullopt when the file cannot be read as a picture.
class PictureSizer {
 public:
  virtual ~PictureSizer() = default;
  virtual std::optional<PointExtent> pictureSize(std::string_view path) const = 0;
};

// What the document needs from the platform to measure what it stores.
struct Measurers {
  const TextMeasurer& text;
  const PictureSizer& picture;
};

}  // namespace qf
