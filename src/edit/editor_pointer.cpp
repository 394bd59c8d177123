// Adding objects: the toolbar's dialogs fill the working object, a drag in the design window
// places it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "document/object_rows.h"
#include "editor.h"
#include "shell/ui_text.h"

namespace qf {

namespace {

constexpr std::string_view kGuideAdd[] = {
    "",
    "テキスト・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "ライン・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "ボックス・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "画像・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "",
    "リング・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
};

}  // namespace

std::pair<double, double> Editor::SnapToGrid(double x, double y) const {
  if (!app_.snapOn) return {x, y};
  const double gw = design_.grid.width;
  const double gh = design_.grid.height;
  const double left = design_.page.marginLeft;
  const double top = design_.page.marginTop;
  // A pitch of zero or less does not snap; Int rounds towards minus infinity.
  if (gw > 0) x = std::floor((x - left) / gw) * gw + left;
  if (gh > 0) y = std::floor((y - top) / gh) * gh + top;
  return {x, y};
}

void Editor::beginAdd() {
  PlacementState& p = state_.placing;
  p.NewObject = true;
  p.AddPending = true;
  const int16_t unit = design_.page.scaleMode;
  if (p.working.Kind == ObjectKind::Text) {
    MeasureWorkingText(p, measurers_.text, unit);
    if (view_) view_->prepareTextFeedback(p.working);
  } else if (p.working.Kind == ObjectKind::Picture) {
    LoadWorkingPicture(p, measurers_.picture, unit);
  }
  if (!view_) return;
  view_->pointerShape(PointerShape::Cross);
  const auto kind = static_cast<size_t>(p.working.Kind);
  view_->guideText(kind < std::size(kGuideAdd) ? kGuideAdd[kind] : "");
}

void Editor::cancelAdd() {
  PlacementState& p = state_.placing;
  if (!p.AddPending) return;
  p.AddPending = false;
  p.NewObject = false;
  if (!view_) return;
  view_->pointerShape(PointerShape::Normal);
  view_->guideText(p.InsertMode ? kGuideInsertMode : "");
}

int Editor::addCommand() {
  PlacementState& p = state_.placing;
  p.NewObject = true;
  const int row = storeWorkingObject();
  p.NewObject = false;
  p.DialogAccepted = false;
  p.InsertMode = false;
  if (app_.autoRedraw) fullRedraw();
  if (view_) view_->guideText("");
  return row;
}

bool Editor::rewriteRow(int row, const ObjectRecord& record) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  const WorkingRect place{record.X1, record.Y1, record.X2, record.Y2};
  Change change(*this);
  RewriteObject(design_.objects, row, record, place, {});
  return true;
}

int Editor::dragKind() const {
  // Only a waiting object is dragged for now; any other drag draws a block frame.
  return state_.placing.AddPending ? static_cast<int>(state_.placing.working.Kind) : kBlockFrame;
}

void Editor::drawFeedback(const WorkingRect& r, int kind, DrawObjectMode mode) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  RenderContext rc = renderContext(*surface);
  DrawObject(rc, r, kind, mode, state_.placing.working);
  PageRect area{std::min(r.x1, r.x2), std::min(r.y1, r.y2), std::max(r.x1, r.x2),
                std::max(r.y1, r.y2)};
  if (kind == static_cast<int>(ObjectKind::Ring)) {
    // A ring dragged backwards is a circle that may reach past the rectangle.
    const RingShape g = RingGeometry(r.x1, r.y1, r.x2, r.y2);
    const double radius = std::fabs(static_cast<double>(g.radius));
    area.unite({g.cx - radius, g.cy - radius, g.cx + radius, g.cy + radius});
  } else if (kind == static_cast<int>(ObjectKind::Picture)) {
    const Extent& e = state_.placing.pictureExtent;
    area.unite({r.x2, r.y2, r.x2 + e.width, r.y2 + e.height});
  }
  const double pen = std::max(1.0, std::fabs(static_cast<double>(state_.placing.working.Size)));
  view_->pageChanged(area.grown(viewState_.markSize * (1 + pen), viewState_.markSize * (1 + pen)));
}

void Editor::showDragSize() {
  const WorkingRect& d = state_.placing.rect;
  if (view_) view_->dragSize(std::fabs(d.x1 - d.x2), std::fabs(d.y1 - d.y2));
}

void Editor::pointerPressed(double rawX, double rawY) {
  PointerState& ptr = state_.pointer;
  if (ptr.ButtonDown) return;
  ptr.ButtonDown = true;
  ptr.TextEraseBlocked = false;
  const auto [x, y] = SnapToGrid(rawX, rawY);
  state_.placing.rect = {x, y, x, y};
  last_ = {x, y};
  showDragSize();
  ptr.grab = GrabKind::None;
  drawFeedback(state_.placing.rect, dragKind(), DrawObjectMode::FeedbackDraw);
  ptr.TextEraseBlocked = true;
}

void Editor::pointerMoved(double rawX, double rawY) {
  const auto [x, y] = SnapToGrid(rawX, rawY);
  if (view_) view_->pointerAt(x, y);
  if (!state_.pointer.ButtonDown) return;
  WorkingRect& d = state_.placing.rect;
  const WorkingRect previous = d;
  d.x2 = x;
  d.y2 = y;
  last_ = {x, y};
  showDragSize();
  if (previous == d) return;  // nothing moved: drawing it away and back changes nothing
  const int kind = dragKind();
  drawFeedback(previous, kind, DrawObjectMode::FeedbackErase);
  drawFeedback(d, kind, DrawObjectMode::FeedbackDraw);
}

void Editor::pointerReleased(double rawX, double rawY) {
  PointerState& ptr = state_.pointer;
  if (!ptr.ButtonDown) return;
  if (view_) view_->pointerShape(PointerShape::Busy);
  ptr.ButtonDown = false;
  const auto [x, y] = SnapToGrid(rawX, rawY);
  WorkingRect& d = state_.placing.rect;
  const WorkingRect previous = d;
  d.x2 = x;
  d.y2 = y;
  showDragSize();
  const int kind = dragKind();
  drawFeedback(previous, kind, DrawObjectMode::FeedbackErase);
  if (state_.placing.AddPending) {
    // The new row: a text or picture where the button came up, a figure across the drag.
    state_.placing.NewObject = true;
    storeWorkingObject();
    if (app_.autoRedraw) fullRedraw();
    ResetEditState();
    if (view_) view_->guideText("");
    if (view_) view_->pointerShape(PointerShape::Normal);
    return;
  }
  // A block frame: what it holds becomes the selection.
  eraseSelection();
  const int n = SelectInFrame(d);
  if (!view_) return;
  if (n == 0) {
    view_->pointerShape(PointerShape::Normal);
    view_->guideText(state_.placing.InsertMode ? kGuideInsertMode : "");
    return;
  }
  view_->pointerShape(PointerShape::Cross);
  view_->guideText(n == 1 ? kGuideSelected : kGuideBlock);
}

int Editor::SelectInFrame(const WorkingRect& d) {
  auto& list = state_.pointer.SelectionList;
  list.clear();
  const TextTable& t = design_.objects;
  const PageRect f{std::min(d.x1, d.x2), std::min(d.y1, d.y2), std::max(d.x1, d.x2),
                   std::max(d.y1, d.y2)};
  auto in = [&f](double x, double y) {
    return x >= f.left && x <= f.right && y >= f.top && y <= f.bottom;
  };
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  for (int r = 1; r <= t.itemCount(); ++r) {
    SelectionEntry e;
    e.row = r;
    e.record = DecodeObjectRow(t, r);
    const ObjectRecord& o = e.record;
    if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) continue;
    const bool point = o.Kind == ObjectKind::Text || o.Kind == ObjectKind::Picture;
    const double x2 = point ? o.X1 + o.X2 : o.X2;
    const double y2 = point ? o.Y1 + o.Y2 : o.Y2;
    // Any corner of the box; a line only by its ends.
    const bool hit = in(o.X1, o.Y1) || in(x2, y2) ||
                     (o.Kind != ObjectKind::Line && (in(x2, o.Y1) || in(o.X1, y2)));
    if (!hit || IsLayerLocked(design_.layers, o.Layer)) continue;
    e.record.X2 = x2;
    e.record.Y2 = y2;
    state_.placing.working = e.record;
    if (surface) {
      e.marks = DrawSelectionMarks(*surface, viewState_, {o.X1, o.Y1, x2, y2});
      view_->pageChanged(
          PageRect{std::min(o.X1, x2), std::min(o.Y1, y2), std::max(o.X1, x2), std::max(o.Y1, y2)}
              .grown(2 * viewState_.markSize, 2 * viewState_.markSize));
    }
    list.push_back(std::move(e));
    MarkRow(design_.objects, r, true);
  }
  if (list.size() > 1) {
    // The bounds of the selection: the smallest and largest of every box's corners.
    PageRect b;
    for (const SelectionEntry& e : list) {
      b.unite({std::min(e.record.X1, e.record.X2), std::min(e.record.Y1, e.record.Y2),
               std::max(e.record.X1, e.record.X2), std::max(e.record.Y1, e.record.Y2)});
    }
    bounds_ = {b.left, b.top, b.right, b.bottom};
  }
  if (list.size() == 1) state_.placing.working = list.front().record;
  return static_cast<int>(list.size());
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

void Editor::escape() {
  PointerState& ptr = state_.pointer;
  if (ptr.ButtonDown) {
    ptr.ButtonDown = false;
    drawFeedback(state_.placing.rect, dragKind(), DrawObjectMode::FeedbackErase);
  }
  rightReleased();
}

void Editor::rightReleased() {
  ResetEditState();
  if (!view_) return;
  view_->guideText("");
  view_->pointerShape(PointerShape::Normal);
}

}  // namespace qf
