#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qf {

// Told of every change to a TextTable, so that a view can follow the one copy of the design.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void cellChanged(int row, int col) = 0;
  virtual void rowsInserted(int first, int count) = 0;
  virtual void rowsRemoved(int first, int count) = 0;
  virtual void tableReset() = 0;
};

// A table of text cells with a fixed caption row (row 0) and a fixed number column (column 0).
// It is the only copy of the object and layer lists; grids show it, they keep no copy.
class TextTable {
 public:
  TextTable(int columns, std::vector<std::string> captions);
  // Copies take the cells, never the observer: a view stays with the table it watches, and
  // is told when that table's contents are replaced as a whole.
  TextTable(const TextTable& other) : columns_(other.columns_), rows_(other.rows_) {}
  TextTable(TextTable&& other) noexcept : columns_(other.columns_), rows_(std::move(other.rows_)) {}
  TextTable& operator=(const TextTable& other);
  TextTable& operator=(TextTable&& other) noexcept;
  ~TextTable() = default;

  int rowCount() const { return static_cast<int>(rows_.size()); }
  int columnCount() const { return columns_; }
  // Rows below the caption row (rowCount() - 1).
  int itemCount() const { return rowCount() - 1; }

  // Out-of-range reads give an empty text; out-of-range writes are ignored.
  const std::string& cell(int row, int col) const;
  void setCell(int row, int col, std::string value);

  // Keeps the caption row; rows beyond n are dropped, new rows are empty. n < 1 counts as 1.
  void setRowCount(int n);
  // Back to the caption row alone.
  void clearItems() { setRowCount(1); }
  int appendRow();
  // Room for n rows below the caption row, so appending them moves nothing.
  void reserve(int n) { rows_.reserve(static_cast<size_t>(n < 0 ? 0 : n) + 1); }
  // Inserts an empty row at pos (1..rowCount()); rows from pos on move down.
  // A position outside that range appends. Returns the index of the new row.
  int insertRow(int pos);
  // Removes row pos (1..rowCount()-1); anything else is ignored.
  void removeRow(int pos);
  // Exchanges the cells of two rows from column firstCol on.
  void swapCells(int rowA, int rowB, int firstCol);

  void setObserver(TableObserver* observer) { observer_ = observer; }

  bool operator==(const TextTable& other) const {
    return columns_ == other.columns_ && rows_ == other.rows_;
  }

 private:
  using Row = std::vector<std::string>;
  bool inRange(int row, int col) const {
    return row >= 0 && row < rowCount() && col >= 0 && col < columns_;
  }

  int columns_;
  std::vector<Row> rows_;
  TableObserver* observer_ = nullptr;
};

}  // namespace qf
