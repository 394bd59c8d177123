// The code window's changes of the object list: cells, rows, insert mode, picking a row.
#include "document/number_text.h"
#include "document/object_rows.h"
#include "edit/object_cells.h"
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
  // An object on a hidden or locked layer cannot be picked on the page either.
  if (!editable(row)) return false;
  selection_.assign({row});
  if (view_) view_->objectPicked();
  return true;
}

}  // namespace qf
