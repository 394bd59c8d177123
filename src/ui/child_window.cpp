#include "child_window.h"

#include <QCloseEvent>

#include "ui/window_places.h"

namespace qf {

ChildWindow::ChildWindow(QWidget* content, WindowPlaces& places, int index, bool recordOnResize)
    : places_(places), index_(index), recordOnResize_(recordOnResize) {
  setWidget(content);
  setObjectName(content->objectName() + QStringLiteral("Frame"));
  setWindowTitle(content->windowTitle());
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  if (!places_.state().closing) {
    event->ignore();
    return;
  }
  SaveFormPosition(*this, places_, index_);
  event->accept();
}

void ChildWindow::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  if (recordOnResize_ && !isMinimized() && !places_.state().closing)
    SaveFormPosition(*this, places_, index_);
}

void ChildWindow::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  // A window moved by the user is where it should come back; recording on moves keeps the
  // table right even when the program ends without closing its children first.
  if (!places_.state().closing) SaveFormPosition(*this, places_, index_);
}

}  // namespace qf
