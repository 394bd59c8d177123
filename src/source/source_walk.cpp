#include "source_walk.h"

#include "document/number_text.h"

namespace qf {

std::string ReplaceLineBreaks(std::string_view text, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += with;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string OneLine(std::string_view text) {
  return ReplaceLineBreaks(text, " ");
}

SourceWalk::SourceWalk(const Design& design) {
  for (int r = design.layers.itemCount(); r >= 1; --r) {
    Layer l;
    l.numberCell = design.layers.cell(r, kLayerNumber);
    l.nameCell = design.layers.cell(r, kLayerName);
    l.number = RoundToInt<int32_t>(NumericPrefix(l.numberCell)).value_or(0);
    layers_.push_back(std::move(l));
  }
  const int rows = design.objects.itemCount();
  rows_.reserve(static_cast<size_t>(rows));
  for (int r = 1; r <= rows; ++r) {
    rows_.push_back(
        {KindFromName(design.objects.cell(r, kColKind)),
         RoundToInt<int16_t>(NumericPrefix(design.objects.cell(r, kColLayer))).value_or(0)});
  }
}

const std::string& SourceWalk::name(int32_t number) const {
  static const std::string kNone;
  // The last layer row of the number names it (the first in printing order).
  for (const Layer& l : layers_) {
    if (l.number == number) return l.nameCell;
  }
  return kNone;
}

}  // namespace qf
