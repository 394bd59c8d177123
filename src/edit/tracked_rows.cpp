#include "tracked_rows.h"

#include <algorithm>

namespace qf {

TrackedRows::TrackedRows(const TextTable& table, OnRemove onRemove)
    : table_(table), onRemove_(onRemove) {
  table_.addListener(this);
}

TrackedRows::~TrackedRows() {
  table_.removeListener(this);
}

bool TrackedRows::contains(int row) const {
  return std::find(rows_.begin(), rows_.end(), row) != rows_.end();
}

void TrackedRows::assign(const std::vector<int>& rows) {
  rows_.clear();
  // A place may also be the one after the last row, where an appended row would go.
  const int last = table_.itemCount() + (onRemove_ == OnRemove::KeepPlace ? 1 : 0);
  for (int r : rows) {
    if (r >= 1 && r <= last && !contains(r)) rows_.push_back(r);
  }
}

void TrackedRows::rowsInserted(const TextTable&, int first, int count) {
  for (int& r : rows_) {
    if (r >= first) r += count;
  }
}

void TrackedRows::rowsAboutToBeRemoved(const TextTable&, int first, int count) {
  const int end = first + count;
  std::vector<int> kept;
  kept.reserve(rows_.size());
  for (int r : rows_) {
    if (r >= end) {
      kept.push_back(r - count);
    } else if (r < first) {
      kept.push_back(r);
    } else if (onRemove_ == OnRemove::KeepPlace) {
      kept.push_back(first);  // the row that comes up takes the place
    }
  }
  rows_ = std::move(kept);
}

void TrackedRows::rowsSwapped(const TextTable&, int a, int b, int /*firstCol*/) {
  // The contents change places (the row numbers in column 0 stay): so does what they are.
  for (int& r : rows_) {
    if (r == a) {
      r = b;
    } else if (r == b) {
      r = a;
    }
  }
}

void TrackedRows::tableReset(const TextTable&) {
  rows_.clear();
}

}  // namespace qf
