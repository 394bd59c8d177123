#include "undo_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "document/design.h"

namespace qf {

namespace {

void SortUnique(std::vector<int>& rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

}  // namespace

UndoHistory::UndoHistory(TextTable& objects, TextTable& layers, size_t maxSteps)
    : objects_(objects), layers_(layers), maxSteps_(maxSteps < 1 ? 1 : maxSteps) {
  objects_.addListener(this);
  layers_.addListener(this);
}

UndoHistory::~UndoHistory() {
  objects_.removeListener(this);
  layers_.removeListener(this);
}

void UndoHistory::begin() {
  current_.clear();
  open_ = true;
}

bool UndoHistory::commit() {
  open_ = false;
  if (current_.empty()) return false;
  // A new step ends every step that was undone.
  dropRedo();
  steps_.push_back(std::move(current_));
  current_.clear();
  ++position_;
  if (steps_.size() > maxSteps_) {
    steps_.pop_front();
    --position_;
    saved_ = saved_ == 0 || saved_ == kNotReachable ? kNotReachable : saved_ - 1;
  }
  return true;
}

void UndoHistory::dropRedo() {
  if (position_ >= steps_.size()) return;
  steps_.resize(position_);
  // A saved state among the steps dropped is gone for good.
  if (saved_ > position_) saved_ = kNotReachable;
}

void UndoHistory::clear() {
  steps_.clear();
  current_.clear();
  position_ = 0;
  saved_ = 0;
  open_ = false;
}

bool UndoHistory::recording(const TextTable& t, int col) {
  // Row numbers and selection marks are no part of the design.
  if (&t == &objects_ && col == kColNumber) return false;
  if (replaying_) return false;
  if (!open_) {
    if (strict_ && !allowUnrecorded_) {
      ++unrecorded_;
#ifndef NDEBUG
      std::fprintf(stderr, "UndoHistory: a change outside an undo step\n");
      std::abort();
#endif
    }
    return false;
  }
  return true;
}

void UndoHistory::cellAboutToChange(const TextTable& t, int row, int col) {
  // Only the change itself counts, once: here the cell is only kept.
  if (open_ && !replaying_ && !(&t == &objects_ && col == kColNumber)) {
    pendingBefore_ = t.cell(row, col);
  }
}

void UndoHistory::cellChanged(const TextTable& t, int row, int col) {
  if (!recording(t, col)) return;
  Edit e;
  e.op = Edit::Op::Cell;
  e.layers = &t == &layers_;
  e.row = row;
  e.col = col;
  e.before = std::move(pendingBefore_);
  e.after = t.cell(row, col);
  current_.push_back(std::move(e));
}

void UndoHistory::rowsInserted(const TextTable& t, int first, int count) {
  if (!recording(t, -1)) return;
  for (int r = first; r < first + count; ++r) {
    Edit e;
    e.op = Edit::Op::Insert;
    e.layers = &t == &layers_;
    e.row = r;
    e.cells = t.row(r);
    current_.push_back(std::move(e));
  }
}

void UndoHistory::rowsAboutToBeRemoved(const TextTable& t, int first, int count) {
  if (!recording(t, -1)) return;
  // As if removed one at a time at `first`: undone backwards, each goes back above the next.
  for (int r = first; r < first + count; ++r) {
    Edit e;
    e.op = Edit::Op::Remove;
    e.layers = &t == &layers_;
    e.row = first;
    e.cells = t.row(r);
    current_.push_back(std::move(e));
  }
}

void UndoHistory::rowsAboutToBeSwapped(const TextTable& t, int a, int b, int firstCol) {
  if (!recording(t, -1)) return;
  Edit e;
  e.op = Edit::Op::Swap;
  e.layers = &t == &layers_;
  e.row = a;
  e.row2 = b;
  e.col = firstCol;
  current_.push_back(std::move(e));
}

void UndoHistory::tableReset(const TextTable&) {
  // Contents replaced whole (a load): the steps no longer fit them.
  if (!replaying_) clear();
}

void UndoHistory::noteReplayed(const Edit& e, bool forward) {
  if (e.layers) return;
  if (e.op == Edit::Op::Insert || e.op == Edit::Op::Remove) {
    // Rows after an inserted or removed one move by one; a removed row is gone.
    const bool inserted = (e.op == Edit::Op::Insert) == forward;
    std::vector<int> moved;
    for (const int r : replayed_) {
      if (r < e.row) {
        moved.push_back(r);
      } else if (inserted) {
        moved.push_back(r + 1);
      } else if (r > e.row) {
        moved.push_back(r - 1);
      }
    }
    replayed_ = std::move(moved);
    if (inserted) replayed_.push_back(e.row);
    return;
  }
  replayed_.push_back(e.row);
  if (e.op == Edit::Op::Swap) replayed_.push_back(e.row2);
}

void UndoHistory::apply(const Edit& e, bool forward) {
  noteReplayed(e, forward);
  TextTable& t = table(e.layers);
  if (!e.layers && (e.op == Edit::Op::Insert || e.op == Edit::Op::Remove)) {
    firstMoved_ = firstMoved_ == 0 ? e.row : std::min(firstMoved_, e.row);
  }
  switch (e.op) {
    case Edit::Op::Cell:
      t.setCell(e.row, e.col, forward ? e.after : e.before);
      break;
    case Edit::Op::Insert:
    case Edit::Op::Remove:
      if ((e.op == Edit::Op::Insert) == forward) {
        t.insertRow(e.row, e.cells);
      } else {
        t.removeRow(e.row);
      }
      break;
    case Edit::Op::Swap:
      t.swapCells(e.row, e.row2, e.col);
      break;
  }
}

bool UndoHistory::undo() {
  if (!canUndo() || open_) return false;
  replaying_ = true;
  firstMoved_ = 0;
  replayed_.clear();
  const Step& step = steps_[--position_];
  for (auto it = step.rbegin(); it != step.rend(); ++it) apply(*it, false);
  replaying_ = false;
  SortUnique(replayed_);
  return true;
}

bool UndoHistory::redo() {
  if (!canRedo() || open_) return false;
  replaying_ = true;
  firstMoved_ = 0;
  replayed_.clear();
  for (const Edit& e : steps_[position_]) apply(e, true);
  ++position_;
  replaying_ = false;
  SortUnique(replayed_);
  return true;
}

size_t UndoHistory::memoryBytes() const {
  size_t bytes = steps_.size() * sizeof(Step);
  for (const Step& step : steps_) {
    bytes += step.capacity() * sizeof(Edit);
    for (const Edit& e : step) {
      bytes += e.before.capacity() + e.after.capacity() + e.cells.capacity() * sizeof(std::string);
      for (const std::string& c : e.cells) bytes += c.capacity();
    }
  }
  return bytes;
}

}  // namespace qf
