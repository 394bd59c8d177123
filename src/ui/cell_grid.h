#pragma once

#include <QLineEdit>
#include <QTableView>
#include <array>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "document/text_table.h"

class QPushButton;

namespace qf {

class TextTableModel;

// The grid of the code and layer windows: a table's cells with the one-line cell editor
// txtInput laid over the cell being edited. Rows and columns are the table's (caption row 0
// and number column 0 are the headers). The window decides what a click, an edit or a paste
// does; the grid changes nothing itself.
class CellGrid final : public QTableView {
  Q_OBJECT

 public:
  CellGrid(const TextTable& table, const QString& name, const QString& caption,
           QWidget* parent = nullptr);
  TextTableModel& tableModel() { return *model_; }
  QLineEdit& cellEditor() { return *editor_; }

  // Decided by the window: whether a cell is edited in place.
  std::function<bool(int row, int col)> editable;
  // A committed edit, a clipboard text pasted into a cell, and Ctrl+Z on the grid.
  std::function<void(int row, int col, const QString& text)> committed;
  std::function<void(int row, int col, const QString& text)> pasted;
  std::function<void()> undoRequested;
  // Delete while no cell is edited: true when the window took it (the page's selection).
  std::function<bool()> deletePressed;

  // The table's row and column of the grid's current cell (0 when none).
  int currentRow() const;
  int currentCol() const;
  // Opens the editor over a cell when it is editable, holding `typed` (or the cell's text when
  // `typed` is empty); hides it on a cell that is not.
  void openEditor(int row, int col, const QString& typed = {});
  // Commits what the editor holds, if it is open, and hides it.
  void commitEditor();
  bool editorOpen() const { return editor_->isVisible(); }

 signals:
  void cellClicked(int row, int col);
  void cellDoubleClicked(int row, int col);
  // A row clicked with Ctrl (`range` false) or Shift (`range` true): rows are being chosen,
  // not a cell edited.
  void rowPicked(int row, bool range);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  bool editorKey(QKeyEvent* e);
  void hideEditor();

  const TextTable& table_;
  TextTableModel* model_;
  QLineEdit* editor_;
  int editRow_ = 0;
  int editCol_ = 0;
  QString undoText_;       // the text before the edit or paste, for Ctrl+Z in the editor
  bool rowPress_ = false;  // the press picked a row: its release is not a click on a cell
};

// Shows `rows` (the table's row numbers) as the grid's selected rows, the current cell left
// where it is.
void ShowSelectedRows(CellGrid& grid, const std::vector<int>& rows);

// A column of a grid: as wide as a sample text, its cells aligned so.
struct GridColumn {
  const char* sample;
  Qt::Alignment align;
};
// Sizes columns 1.. from their samples (never narrower than their captions) and the number
// column from its sample.
void SetUpColumns(CellGrid& grid, std::span<const GridColumn> columns, const char* numberSample);

// Lays out a window of a grid: the grid, and below it a strip with the buttons cmdIns "挿入",
// cmdDel "削除" and cmdSwap "入替" (returned in that order), then `more`.
std::array<QPushButton*, 3> LayOutGridWindow(QWidget& window, CellGrid& grid,
                                             std::initializer_list<QWidget*> more = {});

}  // namespace qf
