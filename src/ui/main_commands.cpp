// The commands of the View, Edit and Settings menus, the toolbar and the zoom box.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QTimer>

#include "document/object_rows.h"
#include "shell/app_paths.h"
#include "shell/file_association.h"
#include "shell/ui_text.h"
#include "source/source_generator.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/design_window.h"
#include "ui/help_window.h"
#include "ui/layer_window.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/settings_dialogs.h"
#include "ui/source_window.h"

namespace qf {

void MainWindow::commitCellEdits() {
  // A cell still being edited is part of the design too: a menu command does not take the
  // focus from the cell editor, so it commits first.
  code_->commitEditing();
  layer_->commitEditing();
}

bool MainWindow::askDiscard() {
  commitCellEdits();
  if (!ctx_.state.modified) return true;
  return prompter_.showMessage(this, Q(kMsgDiscard), MessageKind::Question) == kMsgOk;
}

void MainWindow::resetEditState() {
  ctx_.editor.ResetEditState();
}

void MainWindow::redrawPage() {
  ctx_.editor.fullRedraw();
}

void MainWindow::SetZoom() {
  design_->canvas().applyPageLayout();
  fitDesignFrame();
}

void MainWindow::fitDesignFrame() {
  // Code and source windows stay where they are while the design window changes size.
  const QPoint codeAt = codeFrame_->pos();
  const QPoint sourceAt = sourceFrame_->pos();
  const QSize page = design_->canvas().size();
  const QSize frame = designFrame_->size() - design_->viewport()->size();
  QSize wanted = page + frame + QSize(2, 2);
  // Larger pages scroll inside the window instead of outgrowing the main window or covering
  // the windows beside and below it.
  const QRect area = mdi_->viewport()->rect();
  const QPoint at = designFrame_->pos();
  int maxWidth = std::max(area.right() + 1 - at.x(), 200);
  int maxHeight = std::max(area.bottom() + 1 - at.y(), 150);
  for (const ChildWindow* other : {sourceFrame_, codeFrame_, layerFrame_}) {
    if (!other->isVisible() || other->isMinimized()) continue;
    const QRect g = other->geometry();
    const bool besideRows =
        g.top() < at.y() + std::min(wanted.height(), maxHeight) && g.bottom() > at.y();
    if (g.left() > at.x() && besideRows) maxWidth = std::min(maxWidth, g.left() - at.x());
    const bool belowColumns =
        g.left() < at.x() + std::min(wanted.width(), maxWidth) && g.right() > at.x();
    if (g.top() > at.y() && belowColumns) maxHeight = std::min(maxHeight, g.top() - at.y());
  }
  wanted = wanted.boundedTo(QSize(maxWidth, maxHeight)).expandedTo(designFrame_->minimumSize());
  designFrame_->resize(wanted);
  codeFrame_->move(codeAt);
  sourceFrame_->move(sourceAt);
}

void MainWindow::applyZoom(int zoom, bool keepFrame) {
  ctx_.view.zoom = zoom;
  if (keepFrame) {
    design_->canvas().applyPageLayout();
  } else {
    SetZoom();
  }
  redrawPage();
}

void MainWindow::pageSetUpSequence() {
  ctx_.applyAndReadPrinter();
  SetZoom();
  redrawPage();
}

void MainWindow::toggleGrid() {
  GridSettings grid = ctx_.design.grid;
  grid.shown = action("QFM204")->isChecked() ? -1 : 0;
  ctx_.editor.setGrid(grid);  // the file keeps whether the grid shows
}

void MainWindow::pageSetup() {
  PageSettings page = ctx_.design.page;
  PageSetupDialog dialog(page, ctx_.places, this);
  if (dialog.exec() == QDialog::Accepted) {
    ctx_.editor.setPage(page);
    pageSetUpSequence();
  }
  resetEditState();
}

void MainWindow::gridSettings() {
  GridSettings grid = ctx_.design.grid;
  GridDialog dialog(grid, ctx_.places, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ctx_.editor.setGrid(grid);
}

void MainWindow::hatchingColours() {
  Palette palette = ctx_.design.palette;
  PaletteDialog dialog(palette, ctx_.places, prompter_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ctx_.editor.setPalette(palette);
}

void MainWindow::fileAssociation() {
  QAction* item = action("QFM410");
  // The mark flips when the item is chosen; it shows the setting again until the work is done.
  const bool registering = !ctx_.state.relation;
  item->setChecked(ctx_.state.relation);
  const std::filesystem::path dataHome = XdgDataHome();
  const int32_t result = SetFileAssociation(
      DesignFileAssociation(QCoreApplication::applicationFilePath().toStdString()), registering,
      dataHome);
  if (result != 0) {
    prompter_.showMessage(this, Q(registering ? kMsgAssocRegisterFailed : kMsgAssocRemoveFailed),
                          MessageKind::Warning);
    return;
  }
  ctx_.state.relation = registering;
  item->setChecked(registering);
  prompter_.showMessage(this, Q(registering ? kMsgAssocRegistered : kMsgAssocRemoved),
                        MessageKind::Information);
}

void MainWindow::showHelp() {
  // The guide in a window of the program's own: no browser needed. One window, brought forward
  // when asked again.
  if (!help_) {
    help_ = new HelpWindow(
        QString::fromStdString(ProgramDataFile(ctx_.state.appFolder, "help/qfhelp.htm").string()),
        this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainWindow::generateSource() {
  commitCellEdits();
  const Visibility v = source_->visibility();
  const std::string text =
      ctx_.state.subMake ? P_MakeSourceSub(ctx_.design, v) : P_MakeSource(ctx_.design, v);
  // The window shows lines; the CR LF line ends go back on when the text is copied.
  QString shown = Q(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  source_->setSource(shown, ctx_.editor.revision());
}

void MainWindow::redraw() {
  BusyCursor busy;
  resetEditState();
  redrawPage();
}

void MainWindow::undo() {
  commitCellEdits();
  BusyCursor busy;
  ctx_.editor.undo();
}

void MainWindow::redo() {
  commitCellEdits();
  BusyCursor busy;
  ctx_.editor.redo();
}

void MainWindow::zoomToFit(bool widthOnly) {
  // The room the design window has, without scroll bars: what the page fills at that zoom.
  const QSize room = design_->maximumViewportSize();
  applyZoom(FitZoom(ctx_.view.page, room.width(), room.height(), widthOnly), true);
  zoom_->setCurrentText(QStringLiteral("%1%").arg(ctx_.view.zoom));
  resetEditState();
}

void MainWindow::zoomStepAround(bool in, QPoint around) {
  // The page point under the pointer stays under it.
  QScrollBar* h = design_->horizontalScrollBar();
  QScrollBar* v = design_->verticalScrollBar();
  const QSize before = design_->canvas().size();
  const double fx = (h->value() + around.x()) / std::max(1.0, double(before.width()));
  const double fy = (v->value() + around.y()) / std::max(1.0, double(before.height()));
  applyZoom(NextZoomStep(ctx_.view.zoom, in));
  zoom_->setCurrentText(QStringLiteral("%1%").arg(ctx_.view.zoom));
  const QSize after = design_->canvas().size();
  h->setValue(static_cast<int>(std::lround(fx * after.width() - around.x())));
  v->setValue(static_cast<int>(std::lround(fy * after.height() - around.y())));
}

void MainWindow::zoomChosen(int index) {
  applyZoom(ZoomFromText(zoom_->itemText(index).toStdString()));
  zoom_->setCurrentText(QStringLiteral("%1%").arg(ctx_.view.zoom));
  resetEditState();
}

void MainWindow::zoomEntered() {
  const std::string text = ZoomEnterText(zoom_->currentText().toStdString());
  applyZoom(ZoomFromText(text));
  // The box shows the zoom the page really has (a zoom below 10 % is shown at 10 %).
  zoom_->setCurrentText(
      ZoomFromText(text) == ctx_.view.zoom ? Q(text) : QStringLiteral("%1%").arg(ctx_.view.zoom));
}

}  // namespace qf
