// The 配置 menu's commands: align, distribute, same size and drawing order on the selected
// objects.
#include "ui/main_window.h"

namespace qf {

void MainWindow::arrange(LayoutTool tool) {
  ctx_.editor.arrange(tool);
}

void MainWindow::reorder(OrderMove move) {
  ctx_.editor.reorder(move);
}

}  // namespace qf
