#pragma once

#include <QMdiSubWindow>

#include "shell/app_state.h"
#include "ui/window_places.h"

namespace qf {

// A child window of the main window. It cannot be closed on its own while the program runs;
// it records its place in the window table when resized (where that is the rule) and when it
// closes with the program.
class ChildWindow final : public QMdiSubWindow {
  Q_OBJECT

 public:
  ChildWindow(QWidget* content, WindowPlaces& places, int index, bool recordOnResize);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  WindowPlaces& places_;
  int index_;
  bool recordOnResize_;
};

}  // namespace qf
