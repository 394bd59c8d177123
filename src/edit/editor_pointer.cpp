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
  // A new object takes the place of the selection: rows are about to move under it.
  eraseSelection();
  PlacementState& p = state_.placing;
  p.NewObject = true;
  p.AddPending = true;
  measureWorking();
  if (!view_) return;
  if (p.working.Kind == ObjectKind::Text) view_->prepareTextFeedback(p.working);
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
  eraseSelection();
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
  const auto& list = state_.pointer.SelectionList;
  if (state_.pointer.MoveActive) {
    return list.size() == 1 ? static_cast<int>(list.front().record.Kind) : kBlockFrame;
  }
  return state_.placing.AddPending ? static_cast<int>(state_.placing.working.Kind) : kBlockFrame;
}

void Editor::drawFeedback(const WorkingRect& r, int kind, DrawObjectMode mode) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  RenderContext rc = renderContext(*surface);
  DrawObject(rc, r, kind, mode, state_.placing.working);
  PageRect area = FigureArea(static_cast<ObjectKind>(kind), state_.placing.working, r);
  if (kind == static_cast<int>(ObjectKind::Picture)) {
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
  WorkingRect& d = state_.placing.rect;
  d = {x, y, x, y};
  last_ = {x, y};
  const auto& list = ptr.SelectionList;
  ptr.grab = list.size() == 1  ? HitTestSelection(rawX, rawY)
             : list.size() > 1 ? HitTestBlock(rawX, rawY)
                               : GrabKind::None;
  if (ptr.grab != GrabKind::None) {
    // A mark taken: the object (or the bounds of several) follows the pointer.
    if (list.size() == 1) {
      const ObjectRecord& o = list.front().record;
      state_.placing.working = o;
      d = IsPlacedAtPoint(o.Kind) ? WorkingRect{o.X1, o.Y1, o.X1, o.Y1}
                                  : WorkingRect{o.X1, o.Y1, o.X2, o.Y2};
      measureWorking();
    } else {
      d = bounds_;
    }
    ptr.MoveActive = true;
  }
  showDragSize();
  drawFeedback(d, dragKind(), DrawObjectMode::FeedbackDraw);
  ptr.TextEraseBlocked = true;
}

void Editor::moveDrag(double x, double y) {
  WorkingRect& d = state_.placing.rect;
  const PointerState& ptr = state_.pointer;
  const double dx = x - last_.first;
  const double dy = y - last_.second;
  const bool point = IsPlacedAtPoint(state_.placing.working.Kind);
  if (ptr.MoveActive && ptr.SelectionList.size() > 1) {
    d = {d.x1 + dx, d.y1 + dy, d.x2 + dx, d.y2 + dy};
  } else if (ptr.grab == GrabKind::FirstCorner && !point) {
    d.x1 = x;
    d.y1 = y;
  } else if (ptr.grab == GrabKind::Centre) {
    d = {d.x1 + dx, d.y1 + dy, d.x2 + dx, d.y2 + dy};
  } else {
    // The second corner, a text or picture taken by either corner, or a new object.
    d.x2 = x;
    d.y2 = y;
  }
  last_ = {x, y};
}

void Editor::pointerMoved(double rawX, double rawY) {
  const auto [x, y] = SnapToGrid(rawX, rawY);
  if (view_) view_->pointerAt(x, y);
  if (!state_.pointer.ButtonDown) return;
  WorkingRect& d = state_.placing.rect;
  const WorkingRect previous = d;
  moveDrag(x, y);
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
  moveDrag(x, y);
  showDragSize();
  const int kind = dragKind();
  drawFeedback(previous, kind, DrawObjectMode::FeedbackErase);
  if (ptr.MoveActive) {
    endMove(d);
    if (app_.autoRedraw) fullRedraw();
    ResetEditState();
    if (view_) view_->guideText("");
    if (view_) view_->pointerShape(PointerShape::Normal);
    return;
  }
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

void Editor::escape() {
  PointerState& ptr = state_.pointer;
  if (ptr.ButtonDown) {
    ptr.ButtonDown = false;
    drawFeedback(state_.placing.rect, dragKind(), DrawObjectMode::FeedbackErase);
  }
  ResetEditState();
  if (!view_) return;
  view_->guideText("");
  view_->pointerShape(PointerShape::Normal);
}

void Editor::rightReleased() {
  if (state_.pointer.SelectionList.size() == 1 && !state_.placing.AddPending) {
    if (view_) view_->popupMenu();
    return;
  }
  ResetEditState();
  if (!view_) return;
  view_->guideText("");
  view_->pointerShape(PointerShape::Normal);
}

}  // namespace qf
