#pragma once

#include <string>
#include <vector>

namespace qf {

// The drawing-order tools of the 配置 menu.
enum class OrderMove {
  ToFront,   // 最前面へ: drawn last
  ToBack,    // 最背面へ: drawn first
  Forward,   // 前面へ: one place later
  Backward,  // 背面へ: one place earlier
};

// What a row of the object list is to the drawing order.
enum class RowRole { Object, BlockStart, BlockEnd };

// The object list's rows in their new order: entry i is the (1-based) row that goes to row
// i + 1. `roles` holds rows 1..n in order; `selected` names rows (commands among them are not
// moved). A selected object moves among the rows of its own repeat block (or those outside any
// block) and never enters or leaves one: a block inside is one step to pass, its rows kept
// together. Selected objects keep their order among themselves, and nothing else changes place
// relative to anything but them. The rows as they are when nothing can move.
std::vector<int> ReorderRows(OrderMove move, const std::vector<RowRole>& roles,
                             const std::vector<int>& selected);

// A row of the code window dragged to stand before row `to` (n + 1: after the last). An object
// moves alone and a block's start brings its whole block (its end and all between), but only
// among the rows of the block they stand in (or outside any block): nothing enters or leaves
// a block by a drag, and a block's end moves only with its start. `order` is as ReorderRows
// gives it; empty with `refused` saying why when the drag cannot be taken. A drag that changes
// nothing gives the rows as they are.
struct RowDrag {
  std::vector<int> order;
  std::string refused;
};
RowDrag DragRow(const std::vector<RowRole>& roles, int from, int to);

}  // namespace qf
