// The design window's pointer: one state a gesture (idle, framing, placing, moving), one
// handler an event, and every drag ended with its feedback erased, whatever ends it.
#include <algorithm>
#include <cmath>

#include "document/object_rows.h"
#include "editor.h"

namespace qf {

namespace {

// Int((v - origin) / step) * step + origin; a position on the pixel a line is drawn on (the
// line's pixel is the one its place falls in) takes that line, not the one before it.
double Snap(double v, double origin, double step, double unitsPerPixel) {
  if (!(step > 0)) return v;  // a pitch of zero or less does not snap
  double k = std::floor((v - origin) / step);
  if (unitsPerPixel > 0) {
    const double next = origin + (k + 1) * step;
    if (std::floor(next / unitsPerPixel) <= std::floor(v / unitsPerPixel + 1e-9)) k += 1;
  }
  return k * step + origin;
}

const ObjectRecord kNoRecord{};

}  // namespace

std::pair<double, double> Editor::SnapToGrid(double x, double y) const {
  if (!app_.snapOn) return {x, y};
  const PrinterPage& page = viewState_.page;
  const double ux = viewState_.widthPx > 0 ? page.scaleWidth / viewState_.widthPx : 0;
  const double uy = viewState_.heightPx > 0 ? page.scaleHeight / viewState_.heightPx : 0;
  return {Snap(x, design_.page.marginLeft, design_.grid.width, ux),
          Snap(y, design_.page.marginTop, design_.grid.height, uy)};
}

GrabKind Editor::HitTestSelection(double px, double py) const {
  if (selection_.size() != 1) return GrabKind::None;
  return HitTestMarks(selectionBox(selection_.rows().front()), viewState_.markSize, px, py);
}

GrabKind Editor::HitTestBlock(double px, double py) const {
  if (selection_.size() < 2) return GrabKind::None;
  return Inside(GetSelectionBounds(), px, py) ? GrabKind::Block : GrabKind::None;
}

void Editor::drawFeedback(const WorkingRect& r, DrawObjectMode mode) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  const bool placing = drag_.gesture == Gesture::Placing && waiting_;
  const WorkingObject* object = placing                            ? &*waiting_
                                : drag_.gesture == Gesture::Moving ? &drag_.moving
                                                                   : nullptr;
  const ObjectRecord& record = object ? object->record : kNoRecord;
  RenderContext rc = renderContext(*surface);
  DrawObject(rc, r, drag_.kind, mode, record);
  PageRect area = FigureArea(static_cast<ObjectKind>(drag_.kind), record, r);
  if (object && drag_.kind == static_cast<int>(ObjectKind::Picture)) {
    const Extent& e = object->pictureExtent;
    area.unite({r.x2, r.y2, r.x2 + e.width, r.y2 + e.height});
  }
  const double pen = std::max(1.0, std::fabs(static_cast<double>(record.Size)));
  view_->pageChanged(area.grown(viewState_.markSize * (1 + pen), viewState_.markSize * (1 + pen)));
}

void Editor::showDragSize() {
  const WorkingRect& d = drag_.rect;
  if (view_) view_->dragSize(std::fabs(d.x1 - d.x2), std::fabs(d.y1 - d.y2));
}

void Editor::endDrag() {
  if (drag_.gesture == Gesture::Idle) return;
  drawFeedback(drag_.rect, DrawObjectMode::FeedbackErase);
  drag_.gesture = Gesture::Idle;
}

void Editor::pointerPressed(double rawX, double rawY) {
  if (drag_.gesture != Gesture::Idle) return;
  Command command(*this, false);
  const auto [x, y] = SnapToGrid(rawX, rawY);
  drag_ = Drag{};
  drag_.rect = {x, y, x, y};
  drag_.last = {x, y};
  const size_t n = selection_.size();
  // A waiting object has the selection let go: a press places it.
  const GrabKind grab = waiting_ ? GrabKind::None
                        : n == 1 ? HitTestSelection(rawX, rawY)
                        : n > 1  ? HitTestBlock(rawX, rawY)
                                 : GrabKind::None;
  if (grab != GrabKind::None) {
    // A mark taken: the object (or the bounds of several) follows the pointer.
    drag_.gesture = Gesture::Moving;
    drag_.grab = grab;
    if (n == 1) {
      const ObjectRecord o = DecodeObjectRow(design_.objects, selection_.rows().front());
      drag_.moving = working(o, PlaceOf(o));
      drag_.rect = drag_.moving.rect;
      drag_.kind = static_cast<int>(o.Kind);
    } else {
      drag_.bounds = GetSelectionBounds();
      drag_.rect = drag_.bounds;
      drag_.kind = kBlockFrame;
    }
  } else if (waiting_) {
    drag_.gesture = Gesture::Placing;
    drag_.kind = static_cast<int>(waiting_->record.Kind);
  } else {
    drag_.gesture = Gesture::Framing;
    drag_.kind = kBlockFrame;
  }
  showDragSize();
  drawFeedback(drag_.rect, DrawObjectMode::FeedbackDraw);
  drag_.textEraseBlocked = true;
}

void Editor::moveDrag(double x, double y) {
  WorkingRect& d = drag_.rect;
  const double dx = x - drag_.last.first;
  const double dy = y - drag_.last.second;
  const bool point = IsPlacedAtPoint(static_cast<ObjectKind>(drag_.kind));
  if (drag_.gesture == Gesture::Moving && drag_.grab == GrabKind::Block) {
    d = {d.x1 + dx, d.y1 + dy, d.x2 + dx, d.y2 + dy};
  } else if (drag_.grab == GrabKind::FirstCorner && !point) {
    d.x1 = x;
    d.y1 = y;
  } else if (drag_.grab == GrabKind::Centre) {
    d = {d.x1 + dx, d.y1 + dy, d.x2 + dx, d.y2 + dy};
  } else {
    // The second corner, a text or picture taken by either corner, a new object, a frame.
    d.x2 = x;
    d.y2 = y;
  }
  drag_.last = {x, y};
}

void Editor::pointerMoved(double rawX, double rawY) {
  const auto [x, y] = SnapToGrid(rawX, rawY);
  if (view_) view_->pointerAt(x, y);
  if (drag_.gesture == Gesture::Idle) return;
  const WorkingRect previous = drag_.rect;
  moveDrag(x, y);
  showDragSize();
  if (previous == drag_.rect) return;  // nothing moved: drawing it away and back changes nothing
  drawFeedback(previous, DrawObjectMode::FeedbackErase);
  drawFeedback(drag_.rect, DrawObjectMode::FeedbackDraw);
}

void Editor::pointerReleased(double rawX, double rawY) {
  if (drag_.gesture == Gesture::Idle) return;
  Command command(*this, false);
  if (view_) view_->pointerShape(PointerShape::Busy);
  const auto [x, y] = SnapToGrid(rawX, rawY);
  const WorkingRect previous = drag_.rect;
  moveDrag(x, y);
  showDragSize();
  drawFeedback(previous, DrawObjectMode::FeedbackErase);
  const Gesture gesture = drag_.gesture;
  drag_.gesture = Gesture::Idle;
  switch (gesture) {
    case Gesture::Placing:
      finishPlacing();
      break;
    case Gesture::Moving:
      finishMoving();
      break;
    case Gesture::Framing:
      finishFrame();
      break;
    case Gesture::Idle:
      break;
  }
}

void Editor::finishPlacing() {
  // The new row: a text or picture where the button came up, a figure across the drag.
  WorkingObject w = *waiting_;
  w.rect = drag_.rect;
  measure(w);
  int row = 0;
  {
    Change change(*this);
    row = storeNew(w);
  }
  warnOffPage({row});
  waiting_.reset();
  insertMode_ = false;
  if (app_.autoRedraw) fullRedraw();
}

void Editor::finishMoving() {
  const std::vector<int> rows = selection_.rows();
  {
    Change change(*this);
    if (rows.size() > 1) {
      // Every object moves as far as the bounds' top-left corner did.
      const double dx = drag_.rect.x1 - drag_.bounds.x1;
      const double dy = drag_.rect.y1 - drag_.bounds.y1;
      for (int row : rows) {
        const ObjectRecord o = DecodeObjectRow(design_.objects, row);
        StoreWorkingObjectAt(design_.objects, working(o, PlaceOf(o, dx, dy)), row);
      }
    } else if (rows.size() == 1) {
      WorkingObject w = drag_.moving;
      w.rect = drag_.rect;
      StoreWorkingObjectAt(design_.objects, w, rows.front());
    }
  }
  warnOffPage(rows);
  // Moved objects are let go.
  selection_.clear();
  if (app_.autoRedraw) fullRedraw();
}

void Editor::finishFrame() {
  // What the frame holds becomes the selection.
  SelectInFrame(drag_.rect);
}

void Editor::escape() {
  Command command(*this);
  waiting_.reset();
  insertMode_ = false;
  selection_.clear();
}

void Editor::rightReleased() {
  if (drag_.gesture != Gesture::Idle) {
    Command command(*this);  // the drag ends, its feedback erased; nothing else
    return;
  }
  if (selection_.size() == 1 && !waiting_) {
    if (view_) view_->popupMenu();
    return;
  }
  Command command(*this);
  waiting_.reset();
  insertMode_ = false;
  selection_.clear();
}

}  // namespace qf
