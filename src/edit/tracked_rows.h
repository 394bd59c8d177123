#pragma once

#include <vector>

#include "document/text_table.h"

namespace qf {

// Rows of a table named by number that keep naming the same rows while rows come, go and
// change places: the one record of which rows something (the selection, the insert position)
// refers to. It never holds a copy of a row.
class TrackedRows final : private TableListener {
 public:
  // What a tracked row becomes when it is removed: it leaves the set, or the set takes the
  // row that comes up into its place (a position rather than an object).
  enum class OnRemove { Drop, KeepPlace };

  explicit TrackedRows(const TextTable& table, OnRemove onRemove = OnRemove::Drop);
  ~TrackedRows() override;
  TrackedRows(const TrackedRows&) = delete;
  TrackedRows& operator=(const TrackedRows&) = delete;

  const std::vector<int>& rows() const { return rows_; }
  bool empty() const { return rows_.empty(); }
  size_t size() const { return rows_.size(); }
  bool contains(int row) const;
  // Rows outside the table are left out; a row named twice is kept once.
  void assign(const std::vector<int>& rows);
  void clear() { rows_.clear(); }

 private:
  void rowsInserted(const TextTable& t, int first, int count) override;
  void rowsAboutToBeRemoved(const TextTable& t, int first, int count) override;
  void rowsSwapped(const TextTable& t, int a, int b, int firstCol) override;
  void tableReset(const TextTable& t) override;

  const TextTable& table_;
  OnRemove onRemove_;
  std::vector<int> rows_;
};

}  // namespace qf
