// The floor of the start-up benchmark: a Qt program that shows one empty main window and quits
// right after its first paint. With --japanese the window has a Japanese menu and status text,
// so the floor pays for loading the fonts as any Japanese window does.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <cstring>

namespace {

class QuitOnPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      QTimer::singleShot(0, qApp, &QApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  QuitOnPaint quit;
  window.installEventFilter(&quit);
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
