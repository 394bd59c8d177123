#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "document/text_table.h"

namespace qf {

// Undo and redo over the object and layer lists. While a step is open every change of either
// table is recorded as what it replaced and what it wrote, so a step holds only the rows it
// touched, whatever the size of the design. Row numbers (column 0 of the object list) are not
// recorded: they follow from the row order. Once strict, a change made while no step is open is
// a fault (undo could not take it back): it is counted, and a debug build stops at it. Lock and
// hide marks are changed inside an Unrecorded scope: views of the design, not part of it.
class UndoHistory final : private TableListener {
 public:
  UndoHistory(TextTable& objects, TextTable& layers, size_t maxSteps = 10000);
  ~UndoHistory() override;
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Every change outside a step is a fault from now on (the design is loaded).
  void setStrict(bool strict) { strict_ = strict; }
  // Changes made outside any step while strict.
  size_t unrecordedChanges() const { return unrecorded_; }
  // Changes inside this scope are no part of the design and are not recorded.
  class Unrecorded {
   public:
    explicit Unrecorded(UndoHistory& h) : h_(h), was_(h.allowUnrecorded_) {
      h_.allowUnrecorded_ = true;
    }
    ~Unrecorded() { h_.allowUnrecorded_ = was_; }
    Unrecorded(const Unrecorded&) = delete;
    Unrecorded& operator=(const Unrecorded&) = delete;

   private:
    UndoHistory& h_;
    bool was_;
  };

  void begin();
  // Closes the step; false (and nothing kept) when it changed nothing.
  bool commit();

  bool canUndo() const { return position_ > 0; }
  bool canRedo() const { return position_ < steps_.size(); }
  // Apply the last step backwards, or the next one again. False when there is none.
  bool undo();
  bool redo();
  // The first object row that the last undo or redo inserted or removed (0 when none): the
  // rows from there on have new numbers.
  int firstMovedRow() const { return firstMoved_; }
  // The object rows the last undo or redo wrote, numbered as they stand after it.
  const std::vector<int>& replayedRows() const { return replayed_; }

  // The steps undone can no longer be redone: what they recorded no longer fits the design
  // (another page, whose sizes were measured again).
  void dropRedo();
  void clear();
  // The lists as they stand are those of the file: Modified is whether the history has moved
  // away from here.
  void markSaved() { saved_ = position_; }
  bool atSaved() const { return saved_ == position_; }

  size_t stepCount() const { return steps_.size(); }
  // How many steps are done (the rest are undone).
  size_t position() const { return position_; }
  // Bytes the recorded steps hold, roughly.
  size_t memoryBytes() const;

 private:
  struct Edit {
    enum class Op : uint8_t { Cell, Insert, Remove, Swap };
    Op op = Op::Cell;
    bool layers = false;
    int row = 0;
    int col = 0;  // Cell: the column; Swap: the first column exchanged
    int row2 = 0;
    std::string before;
    std::string after;
    TextTable::Row cells;  // Insert, Remove
  };
  using Step = std::vector<Edit>;
  static constexpr size_t kNotReachable = static_cast<size_t>(-1);

  void cellAboutToChange(const TextTable& t, int row, int col) override;
  void cellChanged(const TextTable& t, int row, int col) override;
  void rowsInserted(const TextTable& t, int first, int count) override;
  void rowsAboutToBeRemoved(const TextTable& t, int first, int count) override;
  void rowsAboutToBeSwapped(const TextTable& t, int a, int b, int firstCol) override;
  void tableReset(const TextTable& t) override;

  bool recording(const TextTable& t, int col);
  TextTable& table(bool layers) { return layers ? layers_ : objects_; }
  void apply(const Edit& e, bool forward);
  void noteReplayed(const Edit& e, bool forward);

  TextTable& objects_;
  TextTable& layers_;
  size_t maxSteps_;
  std::deque<Step> steps_;  // the oldest step leaves from the front
  size_t position_ = 0;     // steps before it are done, those from it on undone
  size_t saved_ = 0;
  Step current_;
  std::string pendingBefore_;
  int firstMoved_ = 0;
  std::vector<int> replayed_;
  bool open_ = false;
  bool replaying_ = false;
  bool strict_ = false;
  bool allowUnrecorded_ = false;
  size_t unrecorded_ = 0;
};

}  // namespace qf
