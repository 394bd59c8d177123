// The code window's changes of the object list: cells, rows, insert mode, picking a row.
#include "document/number_text.h"
#include "document/object_rows.h"
#include "edit/object_cells.h"
#include "editor.h"

namespace qf {

namespace {

// Columns a text is measured from, and the one a picture's size comes from; a row that has
// just become a text or a picture is measured too.
bool MeasuredFrom(ObjectKind kind, int col) {
  if (col == kColKind) return kind == ObjectKind::Text || kind == ObjectKind::Picture;
  if (kind == ObjectKind::Text) {
    return col == kColText || col == kColStyle || col == kColSize ||
           (col >= kColBold && col <= kColUnderline);
  }
  return kind == ObjectKind::Picture && col == kColText;
}

}  // namespace

void Editor::remeasureRow(int row, int col) {
  const ObjectRecord o = DecodeObjectRow(design_.objects, row);
  if (MeasuredFrom(o.Kind, col)) remeasure(row, o);
}

void Editor::remeasure(int row, const ObjectRecord& o) {
  if (o.Kind != ObjectKind::Text && o.Kind != ObjectKind::Picture) return;
  const WorkingObject w = working(o, {});
  const Extent& e = w.measured();
  // Cells that already hold the size are left alone: no change, nothing to draw again.
  std::string width = FormatFixed3(e.width);
  std::string height = FormatFixed3(e.height);
  TextTable& t = design_.objects;
  if (t.cell(row, kColX2) != width) t.setCell(row, kColX2, std::move(width));
  if (t.cell(row, kColY2) != height) t.setCell(row, kColY2, std::move(height));
}

void Editor::remeasureRows(const std::vector<int>* rows) {
  // The stored sizes follow the page unit and what the fonts measure; they are no step of
  // their own (the unit is not undone either).
  UndoHistory::Unrecorded outside(history_);
  const TextTable& t = design_.objects;
  const auto one = [&](int row) {
    if (row >= 1 && row <= t.itemCount()) remeasure(row, DecodeObjectRow(t, row));
  };
  if (rows) {
    for (const int row : *rows) one(row);
  } else {
    for (int row = 1; row <= t.itemCount(); ++row) one(row);
  }
}

bool Editor::commitObjectCell(int row, int col, std::string_view text) {
  if (!IsEditableObjectCell(design_.objects, row, col)) return false;
  return pasteObjectCell(row, col, text);
}

bool Editor::pasteObjectCell(int row, int col, std::string_view text) {
  TextTable& t = design_.objects;
  if (row < 1 || row > t.itemCount() || col < 1 || col >= kObjectColumns) return false;
  const ObjectKind kind = KindFromName(t.cell(row, kColKind));
  // A text's or picture's size is what measuring gives: nothing pasted replaces it.
  if ((col == kColX2 || col == kColY2) && MeasuredFrom(kind, kColKind)) return false;
  if (const CellRefusal why = RefuseObjectCell(kind, col, text); why != CellRefusal::None) {
    // The cell keeps its value, and the status bar says why.
    const std::string& caption = t.cell(0, col);
    if (view_) {
      view_->refused(why == CellRefusal::Empty
                         ? "「" + caption + "」は空にできません。元の値のままです。"
                         : "「" + caption + "」には数値を入力してください。元の値のままです。");
    }
    return false;
  }
  const std::string value = ObjectCellText(kind, col, text);
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

void Editor::startSwap(SwapList list, int row) {
  TrackedRows& waiting = swapRow(list);
  if (!waiting.empty() || row < 1) return;
  Command command(*this);  // the guide says what the next click does
  waiting.assign({row});
}

bool Editor::finishSwap(SwapList list, int row) {
  TrackedRows& waiting = swapRow(list);
  if (waiting.empty()) return false;
  Command command(*this);
  const int from = waiting.rows().front();
  waiting.clear();
  if (list == SwapList::Objects) {
    swapObjectRows(from, row);
  } else {
    swapLayers(from, row);  // never the base layer
  }
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
  dropWaiting();
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
