#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qf {

class TextTable;

// Told of every change to a TextTable, once before it (the table still as it was) and once
// after. Grids follow the one copy of the design this way, the undo history records what a
// change replaces, and the page index learns where the page must be drawn again.
class TableListener {
 public:
  virtual ~TableListener() = default;
  virtual void cellAboutToChange(const TextTable&, int /*row*/, int /*col*/) {}
  virtual void cellChanged(const TextTable&, int /*row*/, int /*col*/) {}
  virtual void rowsAboutToBeInserted(const TextTable&, int /*first*/, int /*count*/) {}
  virtual void rowsInserted(const TextTable&, int /*first*/, int /*count*/) {}
  virtual void rowsAboutToBeRemoved(const TextTable&, int /*first*/, int /*count*/) {}
  virtual void rowsRemoved(const TextTable&, int /*first*/, int /*count*/) {}
  // Cells of two rows from column firstCol on change places.
  virtual void rowsAboutToBeSwapped(const TextTable&, int /*a*/, int /*b*/, int /*firstCol*/) {}
  virtual void rowsSwapped(const TextTable&, int /*a*/, int /*b*/, int /*firstCol*/) {}
  // The whole contents replaced at once.
  virtual void aboutToReset(const TextTable&) {}
  virtual void tableReset(const TextTable&) {}
};

// A table of text cells with a fixed caption row (row 0) and a fixed number column (column 0).
// It is the only copy of the object and layer lists; grids show it, they keep no copy.
class TextTable {
 public:
  using Row = std::vector<std::string>;

  TextTable(int columns, std::vector<std::string> captions);
  // Copies take the cells, never the listeners: a view stays with the table it watches, and
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

  // Out-of-range reads give an empty text; out-of-range writes are ignored. Writing the text a
  // cell already holds changes nothing and tells nobody.
  const std::string& cell(int row, int col) const;
  void setCell(int row, int col, std::string value);
  const Row& row(int r) const;

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
  // Inserts a row with the given cells (missing cells empty, extra ones dropped) at pos, as
  // insertRow does. Returns the index of the new row.
  int insertRow(int pos, Row cells);
  // Removes row pos (1..rowCount()-1); anything else is ignored.
  void removeRow(int pos);
  // Exchanges the cells of two rows from column firstCol on.
  void swapCells(int rowA, int rowB, int firstCol);

  // Listening changes nothing in the table, so a read-only table takes listeners too.
  void addListener(TableListener* listener) const;
  void removeListener(TableListener* listener) const;

  bool operator==(const TextTable& other) const {
    return columns_ == other.columns_ && rows_ == other.rows_;
  }

 private:
  bool inRange(int row, int col) const {
    return row >= 0 && row < rowCount() && col >= 0 && col < columns_;
  }
  template <class Fn>
  void tell(Fn&& fn) const {
    for (TableListener* l : listeners_) fn(*l);
  }
  void assignFrom(int columns, std::vector<Row> rows);

  int columns_;
  std::vector<Row> rows_;
  mutable std::vector<TableListener*> listeners_;
};

}  // namespace qf
