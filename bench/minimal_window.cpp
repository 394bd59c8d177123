// The floor of the start-up benchmark: a Qt program that shows one empty main window and reports
// its first paint. With --japanese the window has a Japanese menu and status text, so the floor
// pays for loading the fonts as any Japanese window does.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <cstring>

#include "app/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  qf::FirstPaintReporter reporter;
  window.installEventFilter(&reporter);
  window.resize(800, 600);
  if (argc > 1 && std::strcmp(argv[1], "--japanese") == 0) {
    window.menuBar()
        ->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"))
        ->addAction(QStringLiteral("新規作成(&N)"));
    window.statusBar()->showMessage(QStringLiteral("ﾚｲﾔｰ：1"));
  }
  window.show();
  return app.exec();
}
