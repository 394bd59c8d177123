// The design window's pointer: one state a gesture (idle, framing, placing, moving), one
// handler an event, and every drag ended with its feedback erased, whatever ends it.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

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
  const auto [ux, uy] = UnitsPerPixel(viewState_);
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

Gesture Editor::gesture() const {
  if (std::holds_alternative<pointer::Placing>(mode_)) return Gesture::Placing;
  if (std::holds_alternative<pointer::Framing>(mode_)) return Gesture::Framing;
  if (std::holds_alternative<pointer::MovingOne>(mode_) ||
      std::holds_alternative<pointer::MovingBlock>(mode_)) {
    return Gesture::Moving;
  }
  return Gesture::Idle;
}

const WorkingObject* Editor::waitingObject() const {
  if (const auto* w = std::get_if<pointer::Waiting>(&mode_)) return &w->object;
  if (const auto* p = std::get_if<pointer::Placing>(&mode_)) return &p->object;
  return nullptr;
}

pointer::Track* Editor::track() {
  return const_cast<pointer::Track*>(std::as_const(*this).track());
}

const pointer::Track* Editor::track() const {
  return std::visit(
      [](const auto& m) -> const pointer::Track* {
        if constexpr (requires { m.track; }) {
          return &m.track;
        } else {
          return nullptr;
        }
      },
      mode_);
}

void Editor::dropWaiting() {
  if (std::holds_alternative<pointer::Waiting>(mode_)) mode_ = pointer::Idle{};
}

void Editor::abandonDrag() {
  if (auto* p = std::get_if<pointer::Placing>(&mode_)) {
    mode_ = pointer::Waiting{std::move(p->object)};
  } else if (dragging()) {
    mode_ = pointer::Idle{};
  }
}

void Editor::drawFeedback(const pointer::Track& shown, DrawObjectMode mode) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface || !dragging()) return;
  const WorkingRect& r = shown.rect;
  // What the feedback shows: the object placed or moved, or the frame.
  const WorkingObject* object = nullptr;
  if (const auto* p = std::get_if<pointer::Placing>(&mode_)) object = &p->object;
  if (const auto* m = std::get_if<pointer::MovingOne>(&mode_)) object = &m->object;
  const ObjectRecord& record = object ? object->record : kNoRecord;
  const int kind = object ? static_cast<int>(record.Kind) : kBlockFrame;
  RenderContext rc = renderContext(*surface);
  DrawObject(rc, r, kind, mode, record);
  PageRect area = FigureArea(static_cast<ObjectKind>(kind), record, r);
  if (object && record.Kind == ObjectKind::Picture) {
    const Extent& e = object->pictureExtent;
    area.unite({r.x2, r.y2, r.x2 + e.width, r.y2 + e.height});
  }
  const double pen = std::max(1.0, std::fabs(static_cast<double>(record.Size)));
  view_->pageChanged(area.grown(viewState_.markSize * (1 + pen), viewState_.markSize * (1 + pen)));
  // The guides where the object lines up with another: laid over the page by the view in one
  // colour, whatever ink lies under them, and gone with the feedback.
  if (mode == DrawObjectMode::FeedbackErase) {
    view_->snapGuides(std::nullopt, std::nullopt);
  } else {
    view_->snapGuides(shown.guideX, shown.guideY);
  }
}

void Editor::showDragSize() {
  const pointer::Track* t = track();
  if (!t || !view_) return;
  const WorkingRect& d = t->rect;
  view_->dragSize(std::fabs(d.x1 - d.x2), std::fabs(d.y1 - d.y2));
}

void Editor::endDrag() {
  if (const pointer::Track* t = track()) {
    drawFeedback(*t, DrawObjectMode::FeedbackErase);
    abandonDrag();
  }
}

void Editor::pointerPressed(double rawX, double rawY, bool extend) {
  if (dragging()) return;
  Command command(*this, false);
  const auto [x, y] = SnapToGrid(rawX, rawY);
  pointer::Track start;
  start.rect = {x, y, x, y};
  start.last = {x, y};
  start.pressed = {rawX, rawY};
  const size_t n = selection_.size();
  if (auto* w = std::get_if<pointer::Waiting>(&mode_)) {
    // A waiting object has the selection let go: a press places it.
    mode_ = pointer::Placing{std::move(w->object), start};
  } else if (const GrabKind grab = extend   ? GrabKind::None
                                   : n == 1 ? HitTestSelection(rawX, rawY)
                                   : n > 1  ? HitTestBlock(rawX, rawY)
                                            : GrabKind::None;
             grab == GrabKind::None) {
    mode_ = pointer::Framing{start};
  } else if (n == 1) {
    // A mark taken: the object follows the pointer.
    const ObjectRecord o = DecodeObjectRow(design_.objects, selection_.rows().front());
    pointer::MovingOne moving{working(o, PlaceOf(o)), grab, start};
    moving.track.rect = moving.object.rect;
    mode_ = std::move(moving);
  } else {
    // Inside the bounds of several: they follow it together.
    const WorkingRect bounds = GetSelectionBounds();
    start.rect = bounds;
    mode_ = pointer::MovingBlock{bounds, start};
  }
  if (app_.objectSnap && !std::holds_alternative<pointer::Framing>(mode_)) {
    track()->edges = snapEdges();
  }
  showDragSize();
  drawFeedback(*track(), DrawObjectMode::FeedbackDraw);
}

std::shared_ptr<const EdgeIndex> Editor::snapEdges() const {
  // Every visible object but those that move; a placed object is not in the list yet.
  const bool moving = !std::holds_alternative<pointer::Placing>(mode_);
  std::vector<PageRect> boxes;
  const TextTable& t = design_.objects;
  ObjectRecord o;
  for (int r = 1; r <= t.itemCount(); ++r) {
    if (moving && selection_.contains(r)) continue;
    DecodeObjectRow(o, t, r);
    if (o.Kind == ObjectKind::Command || o.Kind == ObjectKind::None) continue;
    if (IsLayerVisible(design_.layers, o.Layer)) boxes.push_back(SelectionArea(o));
  }
  return std::make_shared<const EdgeIndex>(boxes);
}

std::pair<double, double> Editor::dragPoint(double rawX, double rawY) {
  pointer::Track& t = *track();
  t.guideX.reset();
  t.guideY.reset();
  std::optional<double> gridX;
  std::optional<double> gridY;
  if (app_.snapOn) std::tie(gridX, gridY) = SnapToGrid(rawX, rawY);
  // Without a page in pixels there is no "near" to snap by.
  const double unitsPerPixel = UnitsPerPixel(viewState_).first;
  if (!t.edges || t.edges->empty() || !(unitsPerPixel > 0)) {
    return {gridX.value_or(rawX), gridY.value_or(rawY)};
  }
  // What moves with the pointer, were it where the pointer is: the whole box's edges and
  // centre when it is carried, otherwise the corner or point the pointer holds.
  const auto* one = std::get_if<pointer::MovingOne>(&mode_);
  const bool carried =
      std::holds_alternative<pointer::MovingBlock>(mode_) || (one && one->grab == GrabKind::Centre);
  std::array<double, 3> xs{rawX};
  std::array<double, 3> ys{rawY};
  size_t count = 1;
  if (carried) {
    const double dx = rawX - t.last.first;
    const double dy = rawY - t.last.second;
    const WorkingRect& d = t.rect;
    xs = {d.x1 + dx, (d.x1 + d.x2) / 2 + dx, d.x2 + dx};
    ys = {d.y1 + dy, (d.y1 + d.y2) / 2 + dy, d.y2 + dy};
    count = 3;
  }
  const double reach = kObjectSnapPx * unitsPerPixel;
  const auto sx = t.edges->snapX(std::span(xs).first(count), reach);
  const auto sy = t.edges->snapY(std::span(ys).first(count), reach);
  const double x = NearerSnap(rawX, gridX, sx);
  const double y = NearerSnap(rawY, gridY, sy);
  if (sx && x == rawX + sx->shift) t.guideX = GuideLine{sx->line, sx->from, sx->to};
  if (sy && y == rawY + sy->shift) t.guideY = GuideLine{sy->line, sy->from, sy->to};
  return {x, y};
}

void Editor::reachGuides() {
  // A guide runs from the object lined up with to the one dragged, whichever comes first.
  pointer::Track& t = *track();
  const WorkingRect& d = t.rect;
  if (auto& g = t.guideX) {
    g->from = std::min({g->from, d.y1, d.y2});
    g->to = std::max({g->to, d.y1, d.y2});
  }
  if (auto& g = t.guideY) {
    g->from = std::min({g->from, d.x1, d.x2});
    g->to = std::max({g->to, d.x1, d.x2});
  }
}

void Editor::moveDrag(double x, double y) {
  pointer::Track& t = *track();
  WorkingRect& d = t.rect;
  const double dx = x - t.last.first;
  const double dy = y - t.last.second;
  const auto* one = std::get_if<pointer::MovingOne>(&mode_);
  const GrabKind grab = one ? one->grab : GrabKind::None;
  if (std::holds_alternative<pointer::MovingBlock>(mode_) || grab == GrabKind::Centre) {
    d = {d.x1 + dx, d.y1 + dy, d.x2 + dx, d.y2 + dy};
  } else if (grab == GrabKind::FirstCorner && !IsPlacedAtPoint(one->object.record.Kind)) {
    d.x1 = x;
    d.y1 = y;
  } else {
    // The second corner, a text or picture taken by either corner, a new object, a frame.
    d.x2 = x;
    d.y2 = y;
  }
  t.last = {x, y};
}

void Editor::pointerMoved(double rawX, double rawY) {
  if (!dragging()) {
    const auto [x, y] = SnapToGrid(rawX, rawY);
    if (view_) view_->pointerAt(x, y);
    return;
  }
  const pointer::Track previous = *track();
  const auto [x, y] = dragPoint(rawX, rawY);
  if (view_) view_->pointerAt(x, y);
  moveDrag(x, y);
  reachGuides();
  showDragSize();
  const pointer::Track& now = *track();
  if (previous.rect == now.rect && previous.guideX == now.guideX && previous.guideY == now.guideY) {
    return;  // nothing moved: drawing it away and back changes nothing
  }
  drawFeedback(previous, DrawObjectMode::FeedbackErase);
  drawFeedback(now, DrawObjectMode::FeedbackDraw);
}

bool Editor::withinClick(const pointer::Track& t, double x, double y) const {
  // Without a page in pixels every gesture counts as the drag it is.
  const auto [ux, uy] = UnitsPerPixel(viewState_);
  if (!(ux > 0) || !(uy > 0)) return false;
  return std::fabs(x - t.pressed.first) <= kClickSlopPx * ux &&
         std::fabs(y - t.pressed.second) <= kClickSlopPx * uy;
}

void Editor::pointerReleased(double rawX, double rawY, bool extend) {
  if (!dragging()) return;
  Command command(*this, false);
  if (view_) view_->pointerShape(PointerShape::Busy);
  const pointer::Track previous = *track();
  const auto [x, y] = dragPoint(rawX, rawY);
  const bool click = withinClick(previous, rawX, rawY);
  moveDrag(x, y);
  showDragSize();
  drawFeedback(previous, DrawObjectMode::FeedbackErase);
  const PointerMode ended = std::exchange(mode_, pointer::Idle{});
  if (click && std::holds_alternative<pointer::MovingOne>(ended)) {
    return;  // a click on the selected object's mark: it stays selected, nothing moves
  }
  if (click && !std::holds_alternative<pointer::Placing>(ended)) {
    clickAt(rawX, rawY, extend);
    return;
  }
  if (const auto* p = std::get_if<pointer::Placing>(&ended)) {
    finishPlacing(p->object, p->track.rect);
  } else if (const auto* one = std::get_if<pointer::MovingOne>(&ended)) {
    finishMoving(&one->object, one->track.rect, {});
  } else if (const auto* block = std::get_if<pointer::MovingBlock>(&ended)) {
    finishMoving(nullptr, block->track.rect, block->bounds);
  } else if (const auto* frame = std::get_if<pointer::Framing>(&ended)) {
    // What the frame holds becomes the selection, or joins it.
    SelectInFrame(frame->track.rect, extend);
  }
}

void Editor::finishPlacing(const WorkingObject& placed, const WorkingRect& place) {
  // The new row: a text or picture where the button came up, a figure across the drag.
  WorkingObject w = placed;
  w.rect = place;
  measure(w);
  int row = 0;
  {
    Change change(*this);
    row = storeNew(w);
  }
  warnOffPage({row});
  insertMode_ = false;
  if (app_.autoRedraw) fullRedraw();
}

void Editor::finishMoving(const WorkingObject* one, const WorkingRect& place,
                          const WorkingRect& bounds) {
  const std::vector<int> rows = selection_.rows();
  {
    Change change(*this);
    if (!one) {
      // Every object moves as far as the bounds' top-left corner did.
      const double dx = place.x1 - bounds.x1;
      const double dy = place.y1 - bounds.y1;
      for (int row : rows) {
        const ObjectRecord o = DecodeObjectRow(design_.objects, row);
        StoreWorkingObjectAt(design_.objects, working(o, PlaceOf(o, dx, dy)), row);
      }
    } else if (rows.size() == 1) {
      WorkingObject w = *one;
      w.rect = place;
      StoreWorkingObjectAt(design_.objects, w, rows.front());
    }
  }
  warnOffPage(rows);
  // Moved objects are let go.
  selection_.clear();
  if (app_.autoRedraw) fullRedraw();
}

void Editor::escape() {
  Command command(*this);
  dropModes();
}

void Editor::rightReleased() {
  if (dragging()) {
    Command command(*this);  // the drag ends, its feedback erased; nothing else
    return;
  }
  if (selection_.size() == 1 && !waiting()) {
    if (view_) view_->popupMenu();
    return;
  }
  Command command(*this);
  dropModes();
}

}  // namespace qf
