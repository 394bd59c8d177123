#include "text_table.h"

#include <algorithm>
#include <utility>

namespace qf {

namespace {
const std::string kEmpty;
const TextTable::Row kNoRow;
}  // namespace

TextTable::TextTable(int columns, std::vector<std::string> captions)
    : columns_(columns < 1 ? 1 : columns) {
  captions.resize(static_cast<size_t>(columns_));
  rows_.push_back(std::move(captions));
}

void TextTable::assignFrom(int columns, std::vector<Row> rows) {
  tell([&](TableListener& l) { l.aboutToReset(*this); });
  columns_ = columns;
  rows_ = std::move(rows);
  tell([&](TableListener& l) { l.tableReset(*this); });
}

TextTable& TextTable::operator=(const TextTable& other) {
  if (this != &other) assignFrom(other.columns_, other.rows_);
  return *this;
}

TextTable& TextTable::operator=(TextTable&& other) noexcept {
  if (this != &other) assignFrom(other.columns_, std::move(other.rows_));
  return *this;
}

const std::string& TextTable::cell(int row, int col) const {
  if (!inRange(row, col)) return kEmpty;
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

const TextTable::Row& TextTable::row(int r) const {
  if (!inRange(r, 0)) return kNoRow;
  return rows_[static_cast<size_t>(r)];
}

void TextTable::setCell(int row, int col, std::string value) {
  if (!inRange(row, col)) return;
  std::string& cell = rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == value) return;
  tell([&](TableListener& l) { l.cellAboutToChange(*this, row, col); });
  cell = std::move(value);
  tell([&](TableListener& l) { l.cellChanged(*this, row, col); });
}

void TextTable::setRowCount(int n) {
  if (n < 1) n = 1;
  const int old = rowCount();
  if (n == old) return;
  if (n > old) {
    tell([&](TableListener& l) { l.rowsAboutToBeInserted(*this, old, n - old); });
    rows_.resize(static_cast<size_t>(n), Row(static_cast<size_t>(columns_)));
    tell([&](TableListener& l) { l.rowsInserted(*this, old, n - old); });
  } else {
    tell([&](TableListener& l) { l.rowsAboutToBeRemoved(*this, n, old - n); });
    rows_.resize(static_cast<size_t>(n));
    tell([&](TableListener& l) { l.rowsRemoved(*this, n, old - n); });
  }
}

int TextTable::appendRow() {
  return insertRow(rowCount(), Row(static_cast<size_t>(columns_)));
}

int TextTable::insertRow(int pos) {
  return insertRow(pos, Row(static_cast<size_t>(columns_)));
}

int TextTable::insertRow(int pos, Row cells) {
  if (pos < 1 || pos > rowCount()) pos = rowCount();
  cells.resize(static_cast<size_t>(columns_));
  tell([&](TableListener& l) { l.rowsAboutToBeInserted(*this, pos, 1); });
  rows_.insert(rows_.begin() + pos, std::move(cells));
  tell([&](TableListener& l) { l.rowsInserted(*this, pos, 1); });
  return pos;
}

void TextTable::removeRow(int pos) {
  if (pos < 1 || pos >= rowCount()) return;
  tell([&](TableListener& l) { l.rowsAboutToBeRemoved(*this, pos, 1); });
  rows_.erase(rows_.begin() + pos);
  tell([&](TableListener& l) { l.rowsRemoved(*this, pos, 1); });
}

void TextTable::swapCells(int rowA, int rowB, int firstCol) {
  if (rowA == rowB || !inRange(rowA, 0) || !inRange(rowB, 0)) return;
  firstCol = std::max(firstCol, 0);
  tell([&](TableListener& l) { l.rowsAboutToBeSwapped(*this, rowA, rowB, firstCol); });
  for (int c = firstCol; c < columns_; ++c) {
    std::swap(rows_[static_cast<size_t>(rowA)][static_cast<size_t>(c)],
              rows_[static_cast<size_t>(rowB)][static_cast<size_t>(c)]);
  }
  tell([&](TableListener& l) { l.rowsSwapped(*this, rowA, rowB, firstCol); });
}

void TextTable::addListener(TableListener* listener) const {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void TextTable::removeListener(TableListener* listener) const {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace qf
