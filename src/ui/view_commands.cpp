// The View menu's commands, the toolbar's source and redraw buttons, and the zoom box.
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <vector>

#include "shell/ui_text.h"
#include "source/csharp_generator.h"
#include "source/source_generator.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/design_window.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/source_window.h"
#include "ui/window_places.h"

namespace qf {

void MainWindow::showChild(ChildKind child) {
  ChildWindow* frame = child == ChildKind::Design   ? designFrame_
                       : child == ChildKind::Code   ? codeFrame_
                       : child == ChildKind::Source ? sourceFrame_
                                                    : layerFrame_;
  frame->show();
  mdi_->setActiveSubWindow(frame);
}

void MainWindow::toggleGrid() {
  GridSettings grid = ctx_.design.grid;
  grid.shown = grid.shown != 0 ? 0 : -1;
  ctx_.editor.setGrid(grid);  // the file keeps whether the grid shows
}

void MainWindow::toggleRulers() {
  ctx_.state.rulers = !ctx_.state.rulers;
  design_->showRulers();
}

void MainWindow::redraw() {
  BusyCursor busy;
  ctx_.editor.ResetEditState();
  redrawPage();
}

void MainWindow::generateSource() {
  commitCellEdits();
  const Visibility v = source_->visibility();
  const SourceLanguage language = ctx_.state.sourceLanguage;
  const std::string text = language == SourceLanguage::CSharp ? P_MakeCSharp(ctx_.design, "QfPrint")
                           : ctx_.state.subMake               ? P_MakeSourceSub(ctx_.design, v)
                                                              : P_MakeSource(ctx_.design, v);
  // The window shows lines; the CR LF line ends go back on when the text is copied.
  QString shown = Q(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  source_->setSource(shown, ctx_.editor.revision(), language);
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
  std::vector<QRect> others;
  for (const ChildWindow* other : {sourceFrame_, codeFrame_, layerFrame_}) {
    if (other->isVisible() && !other->isMinimized()) others.push_back(other->geometry());
  }
  designFrame_->resize(
      DesignFrameRoom(designFrame_->pos(), wanted, mdi_->viewport()->rect(), others)
          .expandedTo(designFrame_->minimumSize()));
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
  showZoom();
}

void MainWindow::zoomToFit(bool widthOnly) {
  // The room the design window has, without scroll bars: what the page fills at that zoom.
  const QSize room = design_->maximumViewportSize();
  applyZoom(FitZoom(ctx_.view.page, room.width(), room.height(), widthOnly), true);
  ctx_.editor.ResetEditState();
}

void MainWindow::zoomStepAround(bool in, QPoint around) {
  // The page point under the pointer stays under it.
  QScrollBar* h = design_->horizontalScrollBar();
  QScrollBar* v = design_->verticalScrollBar();
  const QSize before = design_->canvas().size();
  const double fx = (h->value() + around.x()) / std::max(1.0, double(before.width()));
  const double fy = (v->value() + around.y()) / std::max(1.0, double(before.height()));
  applyZoom(NextZoomStep(ctx_.view.zoom, in));
  const QSize after = design_->canvas().size();
  h->setValue(static_cast<int>(std::lround(fx * after.width() - around.x())));
  v->setValue(static_cast<int>(std::lround(fy * after.height() - around.y())));
}

void MainWindow::zoomChosen(int index) {
  applyZoom(ZoomFromText(zoom_->itemText(index).toStdString()));
  ctx_.editor.ResetEditState();
}

void MainWindow::zoomEntered() {
  const std::string text = ZoomEnterText(zoom_->currentText().toStdString());
  // What was typed stays in the box while it reads as the zoom the page has (a zoom below 10 %
  // is shown at 10 %).
  zoom_->setCurrentText(Q(text));
  applyZoom(ZoomFromText(text));
}

}  // namespace qf
