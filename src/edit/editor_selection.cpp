// The design window's selection: choosing, deleting, moving, the object clipboard and
// rewriting the selected object. Every record is read from the list when it is used.
#include <algorithm>
#include <string>

#include "document/object_rows.h"
#include "document/typed_object.h"
#include "editor.h"
#include "view/object_walk.h"

namespace qf {

void Editor::selectRows(const std::vector<int>& rows) {
  Command command(*this);
  dropWaiting();
  selection_.assign(rows);
}

void Editor::clearSelection() {
  Command command(*this);
  selection_.clear();
}

int Editor::SelectInFrame(const WorkingRect& d, bool extend) {
  Command command(*this);
  const TextTable& t = design_.objects;
  const PageRect f{std::min(d.x1, d.x2), std::min(d.y1, d.y2), std::max(d.x1, d.x2),
                   std::max(d.y1, d.y2)};
  std::vector<int> rows;
  // Only rows whose area reaches into the frame can have a corner in it.
  for (int r : index_.rowsTouching(f, viewState_)) {
    if (r < 1 || r > t.itemCount()) continue;
    const ObjectRecord o = DecodeObjectRow(t, r);
    if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) continue;
    if (CornerInFrame(o, d) && editable(r)) rows.push_back(r);
  }
  if (extend) {
    // Those chosen before stay first, in their order.
    std::vector<int> joined = selection_.rows();
    for (int r : rows) {
      if (!selection_.contains(r)) joined.push_back(r);
    }
    rows = std::move(joined);
  }
  selection_.assign(rows);
  return static_cast<int>(selection_.size());
}

bool Editor::deleteSelection() {
  Command command(*this);
  if (selection_.empty()) return false;
  std::vector<int> rows = selection_.rows();
  std::sort(rows.begin(), rows.end());
  {
    // From the highest row down, so the row numbers still to go stay right.
    Change change(*this);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) design_.objects.removeRow(*it);
    RenumberRows(design_.objects, rows.front());
  }
  return true;
}

void Editor::warnOffPage(const std::vector<int>& rows) {
  if (!view_) return;
  const PrinterPage& page = viewState_.page;
  int off = 0;
  for (int row : rows) {
    if (row < 1 || row > design_.objects.itemCount()) continue;
    if (OffPage(DecodeObjectRow(design_.objects, row), page.scaleWidth, page.scaleHeight)) ++off;
  }
  if (off == 0) return;
  view_->offPageWarning(
      off == 1 ? "オブジェクトがページからはみ出しています。はみ出した部分は印刷されません。"
               : std::to_string(off) +
                     " 個のオブジェクトがページからはみ出しています。はみ出した部分は印刷されま"
                     "せん。");
}

bool Editor::moveSelection(double dx, double dy) {
  // Not while a drag moves them.
  if (selection_.empty() || dragging()) return false;
  Command command(*this);
  Change change(*this);
  for (int row : selection_.rows()) {
    const ObjectRecord o = DecodeObjectRow(design_.objects, row);
    StoreWorkingObjectAt(design_.objects, working(o, PlaceOf(o, dx, dy)), row);
  }
  warnOffPage(selection_.rows());
  return true;
}

namespace {

// The selected rows a layout tool moves: commands have no box.
std::vector<int> ArrangedRows(const TextTable& objects, const std::vector<int>& selected) {
  std::vector<int> rows;
  for (int row : selected) {
    if (KindFromName(objects.cell(row, kColKind)) != ObjectKind::Command) rows.push_back(row);
  }
  return rows;
}

}  // namespace

bool Editor::canArrange(LayoutTool tool) const {
  return static_cast<int>(ArrangedRows(design_.objects, selection_.rows()).size()) >=
         MinimumSelection(tool);
}

bool Editor::arrange(LayoutTool tool) {
  if (dragging() || !canArrange(tool)) return false;
  Command command(*this);
  const std::vector<int> rows = ArrangedRows(design_.objects, selection_.rows());
  std::vector<ObjectRecord> objects;
  objects.reserve(rows.size());
  for (int row : rows) objects.push_back(DecodeObjectRow(design_.objects, row));
  const std::vector<WorkingRect> places = ArrangeObjects(tool, objects);
  Change change(*this);
  for (size_t i = 0; i < rows.size() && i < places.size(); ++i) {
    StoreWorkingObjectAt(design_.objects, working(objects[i], places[i]), rows[i]);
  }
  warnOffPage(rows);
  return true;
}

bool Editor::canReorder() const {
  return !ArrangedRows(design_.objects, selection_.rows()).empty();
}

std::vector<RowRole> Editor::rowRoles() const {
  const TextTable& t = design_.objects;
  const int n = t.itemCount();
  std::vector<RowRole> roles(static_cast<size_t>(n), RowRole::Object);
  for (int r = 1; r <= n; ++r) {
    if (KindFromName(t.cell(r, kColKind)) != ObjectKind::Command) continue;
    roles[static_cast<size_t>(r - 1)] =
        CommandOf(DecodeObjectRow(t, r))->start ? RowRole::BlockStart : RowRole::BlockEnd;
  }
  return roles;
}

void Editor::applyOrder(const std::vector<int>& order) {
  TextTable& t = design_.objects;
  const int n = t.itemCount();
  // The new order made by exchanges (row numbers stay), which the selection follows; only rows
  // that change place are touched.
  std::vector<int> at(static_cast<size_t>(n) + 1);    // where each original row is now
  std::vector<int> held(static_cast<size_t>(n) + 1);  // which original row each row holds
  for (int r = 1; r <= n; ++r) at[static_cast<size_t>(r)] = held[static_cast<size_t>(r)] = r;
  for (int r = 1; r <= n && r <= static_cast<int>(order.size()); ++r) {
    const int wanted = order[static_cast<size_t>(r - 1)];
    const int from = at[static_cast<size_t>(wanted)];
    if (from == r) continue;
    t.swapCells(r, from, kColKind);
    const int displaced = held[static_cast<size_t>(r)];
    held[static_cast<size_t>(from)] = displaced;
    at[static_cast<size_t>(displaced)] = from;
    held[static_cast<size_t>(r)] = wanted;
    at[static_cast<size_t>(wanted)] = r;
  }
}

bool Editor::reorder(OrderMove move) {
  if (dragging() || !canReorder()) return false;
  Command command(*this);
  const std::vector<int> order = ReorderRows(move, rowRoles(), selection_.rows());
  Change change(*this);
  applyOrder(order);
  return true;
}

bool Editor::moveObjectRow(int from, int to) {
  if (dragging()) return false;
  Command command(*this);
  const RowDrag drag = DragRow(rowRoles(), from, to);
  if (!drag.refused.empty()) {
    if (view_) view_->refused(drag.refused);
    return false;
  }
  // The rows in their own order: dropped where it was.
  if (std::is_sorted(drag.order.begin(), drag.order.end())) return false;
  Change change(*this);
  applyOrder(drag.order);
  return true;
}

int Editor::objectAt(double x, double y) {
  const double reach = viewState_.markSize / 2;
  const PageRect at{x - reach, y - reach, x + reach, y + reach};
  std::vector<int> under;
  for (int r : index_.rowsTouching(at, viewState_)) {
    if (r < 1 || r > design_.objects.itemCount()) continue;
    const ObjectRecord o = DecodeObjectRow(design_.objects, r);
    if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) continue;
    if (editable(r) && SelectionArea(o).intersects(at)) under.push_back(r);
  }
  if (under.empty()) return 0;
  // The one drawn last is seen: texts lie over figures, and otherwise the walk's order holds
  // (layers from the last row of the layer list up, rows down within a layer).
  int picked = 0;
  bool pickedText = false;
  WalkRows(design_, under, [&](const WorkingRect&, const ObjectRecord& o, const WalkPosition& p) {
    const bool text = o.Kind == ObjectKind::Text;
    if (text || !pickedText) {
      picked = p.row;
      pickedText = text;
    }
  });
  return picked;
}

bool Editor::pickObjectAt(double x, double y) {
  if (dragging()) return false;
  const int picked = objectAt(x, y);
  if (picked == 0) return false;
  Command command(*this);
  selection_.assign({picked});
  return true;
}

void Editor::clickAt(double x, double y, bool extend) {
  Command command(*this);
  const int picked = objectAt(x, y);
  if (!extend) {
    selection_.assign(picked == 0 ? std::vector<int>{} : std::vector<int>{picked});
    return;
  }
  toggleSelected(picked);
}

void Editor::toggleSelected(int row) {
  if (row < 1 || row > design_.objects.itemCount()) return;
  const ObjectKind kind = KindFromName(design_.objects.cell(row, kColKind));
  if (kind == ObjectKind::Command || kind == ObjectKind::None) return;
  Command command(*this);
  dropWaiting();
  std::vector<int> rows = selection_.rows();
  const auto it = std::find(rows.begin(), rows.end(), row);
  if (it == rows.end()) {
    rows.push_back(row);
  } else {
    rows.erase(it);
  }
  selection_.assign(rows);
}

std::vector<int> Editor::selectableRows() const {
  std::vector<int> rows;
  std::vector<bool> seen(static_cast<size_t>(design_.objects.itemCount()) + 1);
  WalkObjects(design_, 1, design_.objects.itemCount(),
              [&](const WorkingRect&, const ObjectRecord& o, const WalkPosition& p) {
                if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) return;
                if (seen[static_cast<size_t>(p.row)] || !editable(p.row)) return;
                seen[static_cast<size_t>(p.row)] = true;
                rows.push_back(p.row);
              });
  return rows;
}

void Editor::selectAll() {
  Command command(*this);
  dropWaiting();
  selection_.assign(selectableRows());
}

bool Editor::stepSelection(bool forward) {
  Command command(*this);
  const std::vector<int> order = selectableRows();
  if (order.empty()) return false;
  dropWaiting();
  const std::vector<int>& chosen = selection_.rows();
  const auto at =
      chosen.empty() ? order.end() : std::find(order.begin(), order.end(), chosen.back());
  size_t next = 0;
  if (at == order.end()) {
    next = forward ? 0 : order.size() - 1;
  } else {
    const size_t i = static_cast<size_t>(at - order.begin());
    next = forward ? (i + 1) % order.size() : (i + order.size() - 1) % order.size();
  }
  selection_.assign({order[next]});
  return true;
}

bool Editor::copySelection() {
  Command command(*this);
  if (selection_.empty()) return false;
  std::vector<ObjectRecord> records;
  for (int row : selection_.rows()) records.push_back(DecodeObjectRow(design_.objects, row));
  clipboard_.copy(std::move(records));
  return true;
}

bool Editor::cutSelection() {
  Command command(*this);
  if (!copySelection()) return false;
  return deleteSelection();
}

bool Editor::paste() {
  Command command(*this);
  if (clipboard_.empty()) return false;
  // The person chose another thing to add: a waiting object gives way.
  dropWaiting();
  std::vector<int> rows;
  {
    Change change(*this);
    for (const ObjectRecord& o :
         clipboard_.nextPaste(2 * design_.grid.width, 2 * design_.grid.height)) {
      WorkingObject w = working(o, PlaceOf(o));
      // The object keeps its own layer, as every other attribute; in insert mode the copies
      // keep their order at the insert position (it moves down past each).
      rows.push_back(AddObject(design_.objects, o, w.rect, w.measured(), o.Layer, insertRow()));
    }
    RenumberRows(design_.objects, *std::min_element(rows.begin(), rows.end()));
  }
  selection_.assign(rows);
  return true;
}

bool Editor::rewriteSelected(const ObjectRecord& result) {
  Command command(*this);
  if (selection_.size() != 1 || result.Kind == ObjectKind::Command) return false;
  const int row = selection_.rows().front();
  // The object as the list holds it now keeps its place, row and layer.
  const ObjectRecord old = DecodeObjectRow(design_.objects, row);
  const WorkingRect place = PlaceOf(old);
  ObjectRecord record = result;
  record.Layer = old.Layer;
  {
    Change change(*this);
    StoreWorkingObjectAt(design_.objects, working(record, place), row);
  }
  selection_.clear();
  return true;
}

}  // namespace qf
