#include "child_window.h"

#include <QCloseEvent>

#include "ui/window_places.h"

namespace qf {

ChildWindow::ChildWindow(QWidget* content, AppState& state, int index, bool recordOnResize)
    : state_(state), index_(index), recordOnResize_(recordOnResize) {
  setWidget(content);
  setObjectName(content->objectName() + QStringLiteral("Frame"));
  setWindowTitle(content->windowTitle());
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  if (!state_.closing) {
    event->ignore();
    return;
  }
  SaveFormPosition(*this, state_, index_);
  event->accept();
}

void ChildWindow::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  if (recordOnResize_ && !isMinimized() && !state_.closing) SaveFormPosition(*this, state_, index_);
}

void ChildWindow::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  // A window moved by the user is where it should come back; recording on moves keeps the
  // table right even when the program ends without closing its children first.
  if (!state_.closing) SaveFormPosition(*this, state_, index_);
}

}  // namespace qf
