// The selection of the design window: marks, hit tests, moving, the object clipboard and
// rewriting the selected object.
#include <algorithm>
#include <cmath>

#include "document/object_rows.h"
#include "editor.h"
#include "shell/ui_text.h"

namespace qf {

SelectionEntry Editor::entryOf(int row) const {
  SelectionEntry e;
  e.row = row;
  e.record = DecodeObjectRow(design_.objects, row);
  if (IsPlacedAtPoint(e.record.Kind)) {
    // The box of a text or picture runs from its point over its measured size.
    e.record.X2 = e.record.X1 + e.record.X2;
    e.record.Y2 = e.record.Y1 + e.record.Y2;
  }
  e.marks = MarkCornersOf(e.box(), viewState_.markSize);
  return e;
}

int Editor::SelectInFrame(const WorkingRect& d) {
  state_.pointer.SelectionList.clear();
  const TextTable& t = design_.objects;
  const PageRect f{std::min(d.x1, d.x2), std::min(d.y1, d.y2), std::max(d.x1, d.x2),
                   std::max(d.y1, d.y2)};
  auto in = [&f](double x, double y) {
    return x >= f.left && x <= f.right && y >= f.top && y <= f.bottom;
  };
  // Only rows whose area reaches into the frame can have a corner in it.
  for (int r : index_.rowsTouching(f, viewState_)) {
    if (r < 1 || r > t.itemCount()) continue;
    SelectionEntry e = entryOf(r);
    const ObjectRecord& o = e.record;
    if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) continue;
    // Any corner of the box; a line only by its ends.
    const bool hit = in(o.X1, o.Y1) || in(o.X2, o.Y2) ||
                     (o.Kind != ObjectKind::Line && (in(o.X2, o.Y1) || in(o.X1, o.Y2)));
    if (!hit || IsLayerLocked(design_.layers, o.Layer)) continue;
    addToSelection(std::move(e));
  }
  finishSelection();
  return static_cast<int>(state_.pointer.SelectionList.size());
}

bool Editor::deleteSelection() {
  auto& list = state_.pointer.SelectionList;
  if (list.empty()) return false;
  std::vector<int> rows;
  for (const SelectionEntry& e : list) rows.push_back(e.row);
  eraseSelection();
  std::sort(rows.begin(), rows.end());
  {
    // From the highest row down, so the row numbers still to go stay right.
    Change change(*this);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) design_.objects.removeRow(*it);
    RenumberRows(design_.objects, rows.front());
  }
  ResetEditState();
  if (view_) {
    view_->guideText("");
    view_->pointerShape(PointerShape::Normal);
  }
  return true;
}

void Editor::addToSelection(SelectionEntry e) {
  toggleMarks(e);
  state_.placing.working = e.record;
  MarkRow(design_.objects, e.row, true);
  marksShown_ = true;
  state_.pointer.SelectionList.push_back(std::move(e));
}

void Editor::finishSelection() {
  const auto& list = state_.pointer.SelectionList;
  if (list.size() > 1) bounds_ = GetSelectionBounds();
  if (list.size() == 1) state_.placing.working = list.front().record;
}

void Editor::selectRows(const std::vector<int>& rows) {
  eraseSelection();
  for (int r : rows) {
    if (r >= 1 && r <= design_.objects.itemCount()) addToSelection(entryOf(r));
  }
  finishSelection();
  if (!view_) return;
  const size_t n = state_.pointer.SelectionList.size();
  view_->pointerShape(n ? PointerShape::Cross : PointerShape::Normal);
  view_->guideText(n == 0 ? "" : n == 1 ? kGuideSelected : kGuideBlock);
}

GrabKind Editor::HitTestSelection(double px, double py) const {
  const auto& list = state_.pointer.SelectionList;
  if (list.size() != 1) return GrabKind::None;
  const SelectionEntry& e = list.front();
  const double m = viewState_.markSize;
  const auto& [m1x, m1y] = e.marks[0];
  const auto& [m2x, m2y] = e.marks[1];
  const auto& [m3x, m3y] = e.marks[2];
  if (m1x <= px && px <= e.record.X1 && m1y <= py && py <= e.record.Y1) {
    return GrabKind::FirstCorner;
  }
  if (e.record.X2 <= px && px <= m2x && e.record.Y2 <= py && py <= m2y) {
    return GrabKind::SecondCorner;
  }
  if (m3x <= px && px <= m3x + m && m3y <= py && py <= m3y + m) return GrabKind::Centre;
  return GrabKind::None;
}

GrabKind Editor::HitTestBlock(double px, double py) const {
  if (state_.pointer.SelectionList.size() < 2) return GrabKind::None;
  const WorkingRect& b = bounds_;
  return b.x1 <= px && px <= b.x2 && b.y1 <= py && py <= b.y2 ? GrabKind::Block : GrabKind::None;
}

WorkingRect Editor::GetSelectionBounds() const {
  PageRect b;
  for (const SelectionEntry& e : state_.pointer.SelectionList) {
    b.unite({std::min(e.record.X1, e.record.X2), std::min(e.record.Y1, e.record.Y2),
             std::max(e.record.X1, e.record.X2), std::max(e.record.Y1, e.record.Y2)});
  }
  return {b.left, b.top, b.right, b.bottom};
}

int Editor::storeAt(int index, const WorkingRect& place) {
  // The record of a selection entry written back at a new place, measured as it stands now.
  PlacementState& p = state_.placing;
  const SelectionEntry& e = state_.pointer.SelectionList[static_cast<size_t>(index - 1)];
  p.working = e.record;
  measureWorking();
  p.rect = place;
  p.NewObject = false;
  return StoreWorkingObject(design_.objects, state_, index);
}

void Editor::shiftEntries(double dx, double dy) {
  const auto& list = state_.pointer.SelectionList;
  for (size_t i = 0; i < list.size(); ++i) {
    const ObjectRecord& o = list[i].record;
    const WorkingRect place = IsPlacedAtPoint(o.Kind)
                                  ? WorkingRect{o.X1 + dx, o.Y1 + dy, o.X1 + dx, o.Y1 + dy}
                                  : WorkingRect{o.X1 + dx, o.Y1 + dy, o.X2 + dx, o.Y2 + dy};
    storeAt(static_cast<int>(i) + 1, place);
  }
}

std::vector<SelectionEntry> Editor::takeSelection() {
  // The marks and row marks go first; the entries still name the rows to write.
  std::vector<SelectionEntry> entries = state_.pointer.SelectionList;
  eraseSelection();
  state_.pointer.SelectionList = entries;
  marksShown_ = false;  // a redraw meanwhile must not bring them back
  return entries;
}

void Editor::endMove(const WorkingRect& d) {
  if (state_.pointer.SelectionList.empty()) return;
  const std::vector<SelectionEntry> entries = takeSelection();
  {
    Change change(*this);
    if (entries.size() > 1) {
      // Every object moves as far as the bounds' top-left corner did.
      shiftEntries(d.x1 - bounds_.x1, d.y1 - bounds_.y1);
    } else {
      storeAt(1, d);
    }
  }
  state_.pointer.SelectionList.clear();
}

bool Editor::moveSelection(double dx, double dy) {
  if (state_.pointer.SelectionList.empty() || state_.pointer.ButtonDown) return false;
  std::vector<int> rows;
  for (const SelectionEntry& e : takeSelection()) rows.push_back(e.row);
  {
    Change change(*this);
    shiftEntries(dx, dy);
  }
  state_.pointer.SelectionList.clear();
  selectRows(rows);
  return true;
}

bool Editor::copySelection() {
  const auto& list = state_.pointer.SelectionList;
  if (list.empty()) return false;
  clipboard_.clear();
  for (const SelectionEntry& e : list) clipboard_.push_back(e.record);
  return true;
}

bool Editor::cutSelection() {
  if (!copySelection()) return false;
  return deleteSelection();
}

bool Editor::paste() {
  if (clipboard_.empty()) return false;
  eraseSelection();
  PlacementState& p = state_.placing;
  const double gx = 2 * design_.grid.width;
  const double gy = 2 * design_.grid.height;
  std::vector<int> rows;
  {
    Change change(*this);
    for (ObjectRecord& o : clipboard_) {
      // The clipboard itself moves: each paste lands two grid steps further.
      o.X1 += gx;
      o.Y1 += gy;
      if (IsPlacedAtPoint(o.Kind)) {
        o.X2 = o.X1;
        o.Y2 = o.Y1;
      } else {
        o.X2 += gx;
        o.Y2 += gy;
      }
      p.working = o;
      measureWorking();
      const Extent& measured = o.Kind == ObjectKind::Picture ? p.pictureExtent : p.textExtent;
      const int at = p.InsertMode ? std::max(p.insertRow, 1) : 0;
      // The object keeps its own layer, as every other attribute.
      const int row =
          AddObject(design_.objects, o, {o.X1, o.Y1, o.X2, o.Y2}, measured, o.Layer, at);
      if (p.InsertMode) p.insertRow = row + 1;
      rows.push_back(row);
    }
    RenumberRows(design_.objects, *std::min_element(rows.begin(), rows.end()));
  }
  selectRows(rows);
  return true;
}

bool Editor::rewriteSelected(const ObjectRecord& result) {
  auto& list = state_.pointer.SelectionList;
  if (list.size() != 1 || result.Kind == ObjectKind::Command) return false;
  const ObjectRecord old = list.front().record;
  // The object keeps its place: a text or picture its point, a figure its corners.
  const WorkingRect place = IsPlacedAtPoint(old.Kind) ? WorkingRect{old.X1, old.Y1, old.X1, old.Y1}
                                                      : WorkingRect{old.X1, old.Y1, old.X2, old.Y2};
  takeSelection();
  {
    Change change(*this);
    state_.pointer.SelectionList.front().record = result;
    state_.pointer.SelectionList.front().record.Layer = old.Layer;
    storeAt(1, place);
  }
  state_.pointer.SelectionList.clear();
  ResetEditState();
  if (view_) view_->pointerShape(PointerShape::Normal);
  return true;
}

}  // namespace qf
