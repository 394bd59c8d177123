// Feeds arbitrary bytes to the design-file reader. Whatever it accepts must save, and saving what
// was read back must give the same bytes again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/design_file.h"

namespace {

class Measurer final : public qf::TextMeasurer {
 public:
  qf::PointExtent measureText(const qf::ObjectRecord& t) const override {
    return {static_cast<double>(t.Text.size()) * 5, 12};
  }
};

class Sizer final : public qf::PictureSizer {
 public:
  std::optional<qf::PointExtent> pictureSize(std::string_view path) const override {
    if (path.empty()) return std::nullopt;
    return qf::PointExtent{static_cast<double>(path.size()), 10};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Measurer text;
  const Sizer picture;
  const qf::Measurers m{text, picture};
  qf::Design design;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!qf::ParseDesign(bytes, design, m).ok()) return 0;

  std::string first;
  if (!qf::SerializeDesign(design, first).ok()) return 0;
  qf::Design again;
  if (!qf::ParseDesign(first, again, m).ok()) std::abort();
  std::string second;
  if (!qf::SerializeDesign(again, second).ok() || second != first) std::abort();
  return 0;
}
