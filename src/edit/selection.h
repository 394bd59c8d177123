#pragma once

#include <cstddef>
#include <vector>

#include "document/design.h"
#include "document/object_record.h"
#include "edit/tracked_rows.h"
#include "view/renderer.h"

namespace qf {

// What a press in the design window took hold of.
enum class GrabKind : int {
  None = 0,          // nothing: the drag draws a block frame, or places the waiting object
  FirstCorner = 1,   // the mark outside the first corner of the one selected object
  SecondCorner = 2,  // the mark outside its second corner
  Centre = 3,        // the dot at its centre: the whole object moves
  Block = 9,         // the inside of a multiple selection's bounds: all of it moves
};

// The selection of the design window: rows of the object list, in the order they were chosen
// (a frame chooses in row order). It follows the rows through inserts, deletes, swaps, undo and
// redo, and keeps nothing of them: boxes and marks are read from the list when needed.
class Selection {
 public:
  explicit Selection(const TextTable& objects) : rows_(objects) {}

  const std::vector<int>& rows() const { return rows_.rows(); }
  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  bool contains(int row) const { return rows_.contains(row); }
  void assign(const std::vector<int>& rows) { rows_.assign(rows); }
  void clear() { rows_.clear(); }

 private:
  TrackedRows rows_;
};

// The place AddObject stores an object at, moved by dx, dy: a line, box or ring its two points,
// a text or picture its point twice.
WorkingRect PlaceOf(const ObjectRecord& record, double dx = 0, double dy = 0);
// The box a row is selected by: a line, box or ring its corners; a text or picture from its
// point over the size its X2 and Y2 cells hold.
WorkingRect SelectionBox(const ObjectRecord& record);
// The same box with its edges in order, left to right and top to bottom.
PageRect SelectionArea(const ObjectRecord& record);
WorkingRect SelectionBox(const TextTable& objects, int row);
// The smallest and largest corners over the boxes of several rows.
WorkingRect BoundsOf(const TextTable& objects, const std::vector<int>& rows);
// Which mark of a box (marks of markSize page units) a pointer position takes hold of.
GrabKind HitTestMarks(const WorkingRect& box, double markSize, double x, double y);
// Whether a position lies inside bounds (edges included).
bool Inside(const WorkingRect& bounds, double x, double y);
// Whether an object's box reaches past the page of width x height page units (from 0, 0).
bool OffPage(const ObjectRecord& record, double width, double height);
// Whether a box has a corner (a line: an end) inside the frame, edges included.
bool CornerInFrame(const ObjectRecord& record, const WorkingRect& frame);

}  // namespace qf
