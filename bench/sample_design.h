#pragma once

#include <string>

#include "document/design.h"
#include "document/measure.h"

namespace qf::bench {

// Counts characters; cheap stand-in for font measuring when only the document's cost counts.
class CountingMeasurer final : public TextMeasurer {
 public:
  PointExtent measureText(const ObjectRecord& t) const override {
    return {static_cast<double>(t.Text.size()) * t.Size / 3, t.Size * 1.4};
  }
};

class NoPictures final : public PictureSizer {
 public:
  std::optional<PointExtent> pictureSize(std::string_view) const override { return std::nullopt; }
};

// A design of `count` objects of every kind, Japanese texts and `layers` layers. With repeats,
// every block of eight rows is a repeat of six objects drawn ten times.
Design MakeSampleDesign(int count, int layers, bool repeats = true);

}  // namespace qf::bench
