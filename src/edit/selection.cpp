#include "selection.h"

#include <algorithm>

#include "document/object_rows.h"

namespace qf {

WorkingRect SelectionBox(const ObjectRecord& o) {
  if (IsPlacedAtPoint(o.Kind)) return {o.X1, o.Y1, o.X1 + o.X2, o.Y1 + o.Y2};
  return {o.X1, o.Y1, o.X2, o.Y2};
}

WorkingRect PlaceOf(const ObjectRecord& o, double dx, double dy) {
  if (IsPlacedAtPoint(o.Kind)) return {o.X1 + dx, o.Y1 + dy, o.X1 + dx, o.Y1 + dy};
  return {o.X1 + dx, o.Y1 + dy, o.X2 + dx, o.Y2 + dy};
}

PageRect SelectionArea(const ObjectRecord& o) {
  const WorkingRect b = SelectionBox(o);
  return {std::min(b.x1, b.x2), std::min(b.y1, b.y2), std::max(b.x1, b.x2), std::max(b.y1, b.y2)};
}

WorkingRect SelectionBox(const TextTable& objects, int row) {
  return SelectionBox(DecodeObjectRow(objects, row));
}

WorkingRect BoundsOf(const TextTable& objects, const std::vector<int>& rows) {
  PageRect b;
  for (int r : rows) b.unite(SelectionArea(DecodeObjectRow(objects, r)));
  return {b.left, b.top, b.right, b.bottom};
}

GrabKind HitTestMarks(const WorkingRect& box, double m, double px, double py) {
  const MarkCorners marks = MarkCornersOf(box, m);
  const auto& [m1x, m1y] = marks[0];
  const auto& [m2x, m2y] = marks[1];
  const auto& [m3x, m3y] = marks[2];
  if (m1x <= px && px <= box.x1 && m1y <= py && py <= box.y1) return GrabKind::FirstCorner;
  if (box.x2 <= px && px <= m2x && box.y2 <= py && py <= m2y) return GrabKind::SecondCorner;
  if (m3x <= px && px <= m3x + m && m3y <= py && py <= m3y + m) return GrabKind::Centre;
  return GrabKind::None;
}

bool Inside(const WorkingRect& b, double px, double py) {
  return b.x1 <= px && px <= b.x2 && b.y1 <= py && py <= b.y2;
}

bool CornerInFrame(const ObjectRecord& o, const WorkingRect& d) {
  const WorkingRect f{std::min(d.x1, d.x2), std::min(d.y1, d.y2), std::max(d.x1, d.x2),
                      std::max(d.y1, d.y2)};
  const WorkingRect b = SelectionBox(o);
  auto in = [&f](double x, double y) { return Inside(f, x, y); };
  // Any corner of the box; a line only by its ends.
  return in(b.x1, b.y1) || in(b.x2, b.y2) ||
         (o.Kind != ObjectKind::Line && (in(b.x2, b.y1) || in(b.x1, b.y2)));
}

bool OffPage(const ObjectRecord& record, double width, double height) {
  if (record.Kind == ObjectKind::Command || record.Kind == ObjectKind::None) return false;
  const PageRect a = SelectionArea(record);
  return a.left < 0 || a.top < 0 || a.right > width || a.bottom > height;
}

}  // namespace qf
