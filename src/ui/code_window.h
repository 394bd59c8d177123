#pragma once

#include <QWidget>

class QLabel;

namespace qf {

class CellGrid;
class Editor;

// frmCode: the object list as a grid. Cells are edited in place, rows deleted, swapped and
// picked for the design window, and insert mode chosen; every change goes through the editor.
class CodeWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit CodeWindow(Editor& editor, QWidget* parent = nullptr);
  CellGrid& grid() { return *grid_; }
  // The grid's current row, the one the person sees chosen (0 = none): what 削除 deletes, where
  // insert mode puts new rows, the first row of a swap.
  int currentRow() const;
  // Commits an open cell editor.
  void commitEditing();
  // The rows of the selected objects shown as selected rows.
  void showSelection();

 signals:
  // A command row was double-clicked: its dialog edits it.
  void commandRowPicked(int row);

 private:
  void clicked(int row, int col);
  void doubleClicked(int row);
  // Ctrl+click takes a row's object into the selection or out of it; Shift+click chooses the
  // objects from the current row to the clicked one.
  void rowPicked(int row, bool range);
  void insertMode();
  void deleteRow();
  void startSwap();
  void showNumber();

  Editor& editor_;
  CellGrid* grid_;
  QLabel* number_;
};

}  // namespace qf
