#include "object_cells.h"

#include "document/names.h"
#include "document/number_text.h"
#include "edit/object_fields.h"

namespace qf {

bool IsEditableObjectCell(const TextTable& objects, int row, int col) {
  if (row < 1 || row > objects.itemCount()) return false;
  static constexpr int kText[] = {2, 3, 4, 7, 8, 10, 16, 17};
  static constexpr int kLine[] = {2, 3, 4, 5, 6, 10, 16, 17};
  static constexpr int kBox[] = {2, 3, 4, 5, 6, 8, 10, 16, 17};
  static constexpr int kPicture[] = {2, 3, 4, 7, 16, 17};
  static constexpr int kCommand[] = {2, 3, 8, 10, 16, 17};
  auto in = [col](const auto& cols) {
    for (int c : cols) {
      if (c == col) return true;
    }
    return false;
  };
  // By the kind's name as the cell holds it: a ring, or any unlisted name, edits nothing.
  const std::string& kind = objects.cell(row, kColKind);
  if (kind == KindName(ObjectKind::Text)) return in(kText);
  if (kind == KindName(ObjectKind::Line)) return in(kLine);
  if (kind == KindName(ObjectKind::Box)) return in(kBox);
  if (kind == KindName(ObjectKind::Picture)) return in(kPicture);
  if (kind == KindName(ObjectKind::Command)) return in(kCommand);
  return false;
}

std::string ObjectCellText(ObjectKind kind, int col, std::string_view text) {
  // The tolerant reading stays (a number's prefix); the cell then shows what it was read as,
  // as the design file will read it back.
  const bool carriesSize = kind != ObjectKind::Picture && kind != ObjectKind::None;
  const bool carriesColor = kind == ObjectKind::Text || kind == ObjectKind::Line ||
                            kind == ObjectKind::Box || kind == ObjectKind::Ring;
  if (col >= kColX1 && col <= kColY2) return FormatFixed3(NumericPrefix(text));
  if (col == kColSize && carriesSize) {
    return FormatSingle(ToSingle(NumericPrefix(text)).value_or(0.0f));
  }
  if (col == kColColor && carriesColor) return ColorCell(ParseColorCell(text));
  if (col == kColLayer) {
    return std::to_string(RoundToInt<int16_t>(NumericPrefix(text)).value_or(0));
  }
  if (col == kColField && kind == ObjectKind::Box && IsPlainNumber(text)) {
    return FormatFixed3(NumericPrefix(text));
  }
  return std::string(text);
}

}  // namespace qf
