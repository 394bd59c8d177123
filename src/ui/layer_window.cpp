#include "layer_window.h"

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
  editor_.chooseLayer(row);
  if (swapFlag_) {
    if (selectedRow_ >= 1) editor_.swapLayers(selectedRow_, row);  // never the base layer
    emit guideText(QString());
    swapFlag_ = false;
  }
  selectedRow_ = row;
  grid_->openEditor(row, col);
}

void LayerWindow::doubleClicked(int row, int col) {
  if (col == kLayerLock) editor_.toggleLock(row);
  if (col == kLayerHide) editor_.toggleHide(row);
}

void LayerWindow::addLayer() {
  grid_->commitEditor();
  editor_.addLayer(selectedRow_);
}

void LayerWindow::deleteLayer() {
  grid_->commitEditor();
  switch (editor_.checkLayerDeletion(selectedRow_)) {
    case LayerDeletion::NoRow:
      return;
    case LayerDeletion::BaseLayer:
      prompter_.showMessage(this, Q(kMsgBaseLayer), MessageKind::Warning);
      return;
    case LayerDeletion::Allowed:
      break;
  }
  const QString name =
      QString::fromStdString(editor_.design().layers.cell(selectedRow_, kLayerName));
  if (prompter_.showMessage(this, name + Q(kMsgDeleteLayer), MessageKind::Question) != kMsgOk) {
    return;
  }
  editor_.deleteLayer(selectedRow_);
  if (selectedRow_ > editor_.design().layers.itemCount()) selectedRow_ = 0;
}

void LayerWindow::startSwap() {
  grid_->commitEditor();
  if (swapFlag_ || grid_->currentRow() < 1) return;
  swapFlag_ = true;
  emit guideText(Q(kGuideSwap));
}

}  // namespace qf
