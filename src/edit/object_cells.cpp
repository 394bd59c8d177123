#include "object_cells.h"

#include <cctype>

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
  static constexpr int kBarcode[] = {2, 3, 4, 5, 6, 7, 8, 10, 16, 17};
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
  if (kind == KindName(ObjectKind::Barcode)) return in(kBarcode);
  return false;
}

namespace {

bool CarriesSize(ObjectKind kind) {
  return kind != ObjectKind::Picture && kind != ObjectKind::None;
}

bool CarriesColor(ObjectKind kind) {
  return kind == ObjectKind::Text || kind == ObjectKind::Line || kind == ObjectKind::Box ||
         kind == ObjectKind::Ring || kind == ObjectKind::Barcode;
}

// A colour cell names a colour: "&H" and hex digits, or a decimal number.
bool ReadsAsColor(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() > 2 && (text[0] == '&') && (text[1] == 'H' || text[1] == 'h')) {
    return std::isxdigit(static_cast<unsigned char>(text[2])) != 0;
  }
  return NumericPrefixIfAny(text).has_value();
}

}  // namespace

CellRefusal RefuseObjectCell(ObjectKind kind, int col, std::string_view text) {
  const bool empty = TrimBlanks(text).empty();
  const bool number = (col >= kColX1 && col <= kColY2) || col == kColLayer ||
                      (col == kColSize && CarriesSize(kind));
  if (number) {
    if (empty) return CellRefusal::Empty;
    return NumericPrefixIfAny(text) ? CellRefusal::None : CellRefusal::NotANumber;
  }
  if (col == kColColor && CarriesColor(kind)) {
    if (empty) return CellRefusal::Empty;
    return ReadsAsColor(text) ? CellRefusal::None : CellRefusal::NotANumber;
  }
  if (col == kColField && kind == ObjectKind::Box) {
    return empty || NumericPrefixIfAny(text) ? CellRefusal::None : CellRefusal::NotANumber;
  }
  const bool required = col == kColText || (col == kColField && kind == ObjectKind::Command);
  return required && empty ? CellRefusal::Empty : CellRefusal::None;
}

std::string ObjectCellText(ObjectKind kind, int col, std::string_view text) {
  // The tolerant reading stays (a number's prefix); the cell then shows what it was read as,
  // as the design file will read it back.
  const bool carriesSize = CarriesSize(kind);
  const bool carriesColor = CarriesColor(kind);
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
