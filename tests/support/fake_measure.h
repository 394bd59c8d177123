#pragma once

#include <map>
#include <string>

#include "document/measure.h"

namespace qf::test {

// Every character is as wide as the font size and a line 1.5 times as high, in points.
class FakeTextMeasurer final : public TextMeasurer {
 public:
  PointExtent measureText(const ObjectRecord& t) const override {
    double chars = 0;
    for (unsigned char c : t.Text) chars += (c & 0xC0) != 0x80 ? 1 : 0;
    ++calls;
    return {chars * t.Size, 1.5 * t.Size};
  }
  mutable int calls = 0;
};

class FakePictureSizer final : public PictureSizer {
 public:
  std::optional<PointExtent> pictureSize(std::string_view path) const override {
    auto it = sizes.find(std::string(path));
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  std::map<std::string, PointExtent> sizes;
};

struct FakeMeasurers {
  FakeTextMeasurer text;
  FakePictureSizer picture;
  Measurers get() const { return Measurers{text, picture}; }
};

}  // namespace qf::test
