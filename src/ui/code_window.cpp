#include "code_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "document/names.h"
#include "edit/editor.h"
#include "edit/object_cells.h"
#include "shell/ui_text.h"
#include "ui/cell_grid.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

constexpr Qt::Alignment L = Qt::AlignLeft;
constexpr Qt::Alignment R = Qt::AlignRight;
constexpr Qt::Alignment C = Qt::AlignHCenter;
constexpr GridColumn kColumns[] = {{"ABCDE", C},
                                   {"あああああ", L},
                                   {"999.999", R},
                                   {"999.999", R},
                                   {"999.999", R},
                                   {"999.999", R},
                                   {"ああああああああああ", L},
                                   {"ABCDEFGH", L},
                                   {"あああああああ", L},
                                   {"99999", R},
                                   {" ■", C},
                                   {" ■", C},
                                   {" ■", C},
                                   {" ■", C},
                                   {" あ", C},
                                   {"&H99999999", R},
                                   {" 999 ", C}};

}  // namespace

CodeWindow::CodeWindow(Editor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor), number_(new QLabel) {
  setObjectName(QStringLiteral("frmCode"));
  setWindowTitle(QStringLiteral("ｺｰﾄﾞｳｨﾝﾄﾞｳ"));
  grid_ = new CellGrid(editor_.design().objects, QStringLiteral("fxgCode"), windowTitle());
  SetUpColumns(*grid_, kColumns, "123456");
  grid_->editable = [this](int row, int col) {
    return IsEditableObjectCell(editor_.design().objects, row, col);
  };
  grid_->committed = [this](int row, int col, const QString& text) {
    editor_.commitObjectCell(row, col, text.toStdString());
  };
  grid_->pasted = [this](int row, int col, const QString& text) {
    editor_.pasteObjectCell(row, col, text.toStdString());
  };
  grid_->undoRequested = [this] { editor_.undo(); };
  // The page's selection shows as selected rows here, and the guide says Delete deletes it:
  // it does, whichever of the two windows has the keys.
  grid_->deletePressed = [this] {
    if (editor_.selectedRows().empty()) return false;
    editor_.deleteSelection();
    return true;
  };
  connect(grid_, &CellGrid::cellClicked, this, &CodeWindow::clicked);
  connect(grid_, &CellGrid::rowPicked, this, &CodeWindow::rowPicked);
  // A row is dragged by its number to a new place; the list itself moves it (or refuses), so
  // the header shows the rows in the list's order again at once.
  QHeaderView* numbers = grid_->verticalHeader();
  numbers->setSectionsMovable(true);
  connect(numbers, &QHeaderView::sectionMoved, this, [this, numbers](int, int from, int to) {
    {
      const QSignalBlocker quiet(numbers);
      numbers->moveSection(to, from);
    }
    grid_->commitEditor();
    editor_.moveObjectRow(from + 1, to > from ? to + 2 : to + 1);
  });
  // "選択番号" shows the grid's current row, wherever clicks, keys or changes of the list put it.
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &CodeWindow::showNumber);
  QAbstractItemModel* model = grid_->model();
  // Rows above the current one come and go without a change of the current index being told.
  for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(model, signal, this, &CodeWindow::showNumber);
  }
  connect(model, &QAbstractItemModel::modelReset, this, &CodeWindow::showNumber);
  connect(grid_, &CellGrid::cellDoubleClicked, this, [this](int row, int) { doubleClicked(row); });

  auto* caption = new QLabel(QStringLiteral("選択番号"));
  caption->setObjectName(QStringLiteral("lblCapt"));
  number_->setObjectName(QStringLiteral("lblNum"));
  number_->setAccessibleName(caption->text());
  const auto [insert, remove, swap] = LayOutGridWindow(*this, *grid_, {caption, number_});
  connect(insert, &QPushButton::clicked, this, &CodeWindow::insertMode);
  connect(remove, &QPushButton::clicked, this, &CodeWindow::deleteRow);
  connect(swap, &QPushButton::clicked, this, &CodeWindow::startSwap);
}

void CodeWindow::commitEditing() {
  grid_->commitEditor();
}

int CodeWindow::currentRow() const {
  return grid_->currentRow();
}

void CodeWindow::showNumber() {
  // "####": the number, nothing for none.
  const int row = grid_->currentRow();
  number_->setText(row > 0 ? QString::number(row) : QString());
}

void CodeWindow::clicked(int row, int col) {
  editor_.finishSwap(SwapList::Objects, row);
  grid_->openEditor(row, col);
}

void CodeWindow::showSelection() {
  ShowSelectedRows(*grid_, editor_.selectedRows());
}

void CodeWindow::rowPicked(int row, bool range) {
  if (!range) {
    // The row Ctrl+clicked is where the next Shift+click counts from.
    grid_->selectionModel()->setCurrentIndex(grid_->model()->index(row - 1, 0),
                                             QItemSelectionModel::NoUpdate);
    editor_.toggleSelected(row);
    return;
  }
  const int from = grid_->currentRow() > 0 ? grid_->currentRow() : row;
  // Commands have no object to choose.
  const TextTable& t = editor_.design().objects;
  std::vector<int> rows;
  for (int r = std::min(from, row); r <= std::max(from, row); ++r) {
    if (t.cell(r, kColKind) != KindName(ObjectKind::Command)) rows.push_back(r);
  }
  editor_.selectRows(rows);
}

void CodeWindow::doubleClicked(int row) {
  if (row < 1) return;
  grid_->commitEditor();
  if (editor_.design().objects.cell(row, kColKind) == KindName(ObjectKind::Command)) {
    editor_.clearSelection();
    emit commandRowPicked(row);
    return;
  }
  editor_.selectObjectRow(row);
}

void CodeWindow::insertMode() {
  grid_->commitEditor();
  editor_.startInsertMode(grid_->currentRow());
}

void CodeWindow::deleteRow() {
  grid_->commitEditor();
  const int row = grid_->currentRow();
  if (row < 1) return;
  editor_.deleteObjectRow(row);
}

void CodeWindow::startSwap() {
  grid_->commitEditor();
  editor_.startSwap(SwapList::Objects, grid_->currentRow());
}

}  // namespace qf
