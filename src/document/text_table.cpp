#include "text_table.h"

#include <utility>

namespace qf {

namespace {
const std::string kEmpty;
}

TextTable::TextTable(int columns, std::vector<std::string> captions)
    : columns_(columns < 1 ? 1 : columns) {
  captions.resize(static_cast<size_t>(columns_));
  rows_.push_back(std::move(captions));
}

TextTable& TextTable::operator=(const TextTable& other) {
  if (this == &other) return *this;
  columns_ = other.columns_;
  rows_ = other.rows_;
  if (observer_) observer_->tableReset();
  return *this;
}

TextTable& TextTable::operator=(TextTable&& other) noexcept {
  if (this == &other) return *this;
  columns_ = other.columns_;
  rows_ = std::move(other.rows_);
  if (observer_) observer_->tableReset();
  return *this;
}

const std::string& TextTable::cell(int row, int col) const {
  if (!inRange(row, col)) return kEmpty;
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TextTable::setCell(int row, int col, std::string value) {
  if (!inRange(row, col)) return;
  rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(value);
  if (observer_) observer_->cellChanged(row, col);
}

void TextTable::setRowCount(int n) {
  if (n < 1) n = 1;
  const int old = rowCount();
  if (n == old) return;
  rows_.resize(static_cast<size_t>(n), Row(static_cast<size_t>(columns_)));
  if (!observer_) return;
  if (n > old) {
    observer_->rowsInserted(old, n - old);
  } else {
    observer_->rowsRemoved(n, old - n);
  }
}

int TextTable::appendRow() {
  rows_.emplace_back(static_cast<size_t>(columns_));
  const int row = rowCount() - 1;
  if (observer_) observer_->rowsInserted(row, 1);
  return row;
}

int TextTable::insertRow(int pos) {
  if (pos < 1 || pos >= rowCount()) return appendRow();
  rows_.emplace(rows_.begin() + pos, static_cast<size_t>(columns_));
  if (observer_) observer_->rowsInserted(pos, 1);
  return pos;
}

void TextTable::removeRow(int pos) {
  if (pos < 1 || pos >= rowCount()) return;
  rows_.erase(rows_.begin() + pos);
  if (observer_) observer_->rowsRemoved(pos, 1);
}

void TextTable::swapCells(int rowA, int rowB, int firstCol) {
  if (rowA == rowB || !inRange(rowA, 0) || !inRange(rowB, 0)) return;
  for (int c = firstCol < 0 ? 0 : firstCol; c < columns_; ++c) {
    std::swap(rows_[static_cast<size_t>(rowA)][static_cast<size_t>(c)],
              rows_[static_cast<size_t>(rowB)][static_cast<size_t>(c)]);
    if (observer_) {
      observer_->cellChanged(rowA, c);
      observer_->cellChanged(rowB, c);
    }
  }
}

}  // namespace qf
