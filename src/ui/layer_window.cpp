#include "layer_window.h"

#include <QAbstractItemModel>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "edit/editor.h"
#include "shell/ui_text.h"
#include "ui/cell_grid.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

constexpr GridColumn kColumns[] = {{"  ﾛｯｸ", Qt::AlignHCenter},
                                   {"  非表示", Qt::AlignHCenter},
                                   {"  999", Qt::AlignRight},
                                   {"ああああああああああ", Qt::AlignLeft}};

}  // namespace

LayerWindow::LayerWindow(Editor& editor, Prompter& prompter, QWidget* parent)
    : QWidget(parent), editor_(editor), prompter_(prompter) {
  setObjectName(QStringLiteral("frmLayer"));
  setWindowTitle(QStringLiteral("ﾚｲﾔｰｳｨﾝﾄﾞｳ"));
  grid_ = new CellGrid(editor_.design().layers, QStringLiteral("fxgLayer"), windowTitle());
  SetUpColumns(*grid_, kColumns, "99999");
  grid_->editable = [this](int row, int col) {
    return col == kLayerName && row >= 1 && row <= editor_.design().layers.itemCount();
  };
  grid_->committed = [this](int row, int col, const QString& text) {
    if (col == kLayerName) editor_.renameLayer(row, text.toStdString());
  };
  grid_->pasted = [this](int row, int col, const QString& text) {
    editor_.pasteLayerCell(row, col, text.toStdString());
  };
  grid_->undoRequested = [this] { editor_.undo(); };
  connect(grid_, &CellGrid::cellClicked, this, &LayerWindow::clicked);
  connect(grid_, &CellGrid::cellDoubleClicked, this, &LayerWindow::doubleClicked);

  const auto [insert, remove, swap] = LayOutGridWindow(*this, *grid_);
  connect(insert, &QPushButton::clicked, this, &LayerWindow::addLayer);
  connect(remove, &QPushButton::clicked, this, &LayerWindow::deleteLayer);
  connect(swap, &QPushButton::clicked, this, &LayerWindow::startSwap);
}

void LayerWindow::commitEditing() {
  grid_->commitEditor();
}

void LayerWindow::clicked(int row, int col) {
  layerBeforeClick_ = editor_.currentLayer();
  editor_.chooseLayer(row);
  editor_.finishSwap(SwapList::Layers, row);
  grid_->openEditor(row, col);
}

void LayerWindow::doubleClicked(int row, int col) {
  if (col != kLayerLock && col != kLayerHide) return;
  editor_.setCurrentLayer(layerBeforeClick_);
  if (col == kLayerLock) editor_.toggleLock(row);
  if (col == kLayerHide) editor_.toggleHide(row);
}

void LayerWindow::addLayer() {
  grid_->commitEditor();
  editor_.addLayer(grid_->currentRow());
}

void LayerWindow::deleteLayer() {
  grid_->commitEditor();
  const int row = grid_->currentRow();
  switch (editor_.checkLayerDeletion(row)) {
    case LayerDeletion::NoRow:
      return;
    case LayerDeletion::BaseLayer:
      prompter_.showMessage(this, Q(kMsgBaseLayer), MessageKind::Warning);
      return;
    case LayerDeletion::Allowed:
      break;
  }
  const QString name = QString::fromStdString(editor_.design().layers.cell(row, kLayerName));
  if (prompter_.showMessage(this, name + Q(kMsgDeleteLayer), MessageKind::Question) != kMsgOk) {
    return;
  }
  editor_.deleteLayer(row);
}

void LayerWindow::startSwap() {
  grid_->commitEditor();
  editor_.startSwap(SwapList::Layers, grid_->currentRow());
}

}  // namespace qf
