// The code window's changes of the object list: cells, rows, insert mode, picking a row.
#include "document/number_text.h"
#include "document/object_rows.h"
#include "edit/object_fields.h"
#include "editor.h"

namespace qf {

namespace {

// Columns a text is measured from, and the one a picture's size comes from.
bool MeasuredFrom(ObjectKind kind, int col) {
  if (kind == ObjectKind::Text) {
    return col == kColText || col == kColStyle || col == kColSize ||
           (col >= kColBold && col <= kColUnderline);
  }
  return kind == ObjectKind::Picture && col == kColText;
}

}  // namespace

bool Editor::IsEditableObjectCell(const TextTable& objects, int row, int col) {
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

std::string Editor::ObjectCellText(ObjectKind kind, int col, std::string_view text) {
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

void Editor::remeasureRow(int row, int col) {
  const ObjectRecord o = DecodeObjectRow(design_.objects, row);
  if (!MeasuredFrom(o.Kind, col)) return;
  const WorkingObject w = working(o, {});
  const Extent& e = w.measured();
  design_.objects.setCell(row, kColX2, FormatFixed3(e.width));
  design_.objects.setCell(row, kColY2, FormatFixed3(e.height));
}

bool Editor::commitObjectCell(int row, int col, std::string_view text) {
  if (!IsEditableObjectCell(design_.objects, row, col)) return false;
  return pasteObjectCell(row, col, text);
}

bool Editor::pasteObjectCell(int row, int col, std::string_view text) {
  TextTable& t = design_.objects;
  if (row < 1 || row > t.itemCount() || col < 1 || col >= kObjectColumns) return false;
  const std::string value = ObjectCellText(KindFromName(t.cell(row, kColKind)), col, text);
  if (t.cell(row, col) == value) return false;
  Command command(*this);
  Change change(*this);
  t.setCell(row, col, value);
  remeasureRow(row, col);
  return true;
}

bool Editor::deleteObjectRow(int row) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  Command command(*this);
  Change change(*this);
  design_.objects.removeRow(row);
  RenumberRows(design_.objects, row);
  return true;
}

bool Editor::swapObjectRows(int a, int b) {
  const int n = design_.objects.itemCount();
  if (a < 1 || b < 1 || a > n || b > n || a == b) return false;
  Command command(*this);
  Change change(*this);
  design_.objects.swapCells(a, b, kColKind);
  return true;
}

void Editor::startInsertMode(int row) {
  Command command(*this);
  insertMode_ = true;
  insertAt_.assign({row >= 1 ? row : 1});
}

bool Editor::selectObjectRow(int row) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  Command command(*this);
  // Another thing chosen: a waiting object gives way.
  waiting_.reset();
  selection_.clear();
  // A command opens its dialog instead; it never enters the selection.
  if (KindFromName(design_.objects.cell(row, kColKind)) == ObjectKind::Command) return false;
  selection_.assign({row});
  if (view_) view_->objectPicked();
  return true;
}

}  // namespace qf
