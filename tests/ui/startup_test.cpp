#include <QAbstractItemModel>
#include <QAction>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "scripted_prompter.h"
#include "shell/settings_file.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/main_window.h"
#include "ui/splash.h"
#include "ui/startup_page.h"

using namespace qf;

namespace {

QString Data(const char* name) {
  return QStringLiteral(QF_TEST_DATA "/") + QLatin1String(name);
}

bool AllWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    }
  }
  return true;
}

// An editor started as the program starts: the first page is made on a worker thread while the
// window is built, or (without a file and loader) on the context as it stands.
struct StartedEditor {
  StartedEditor(const QString& settingsDir, const QString* file)
      : StartedEditor(settingsDir,
                      file ? std::make_unique<StartupLoader>(file->toStdString()) : nullptr) {}
  StartedEditor(const QString& settingsDir, std::unique_ptr<StartupLoader> loader,
                const std::function<void(MainWindow&)>& beforeShow = {})
      : ctx(std::filesystem::path(settingsDir.toStdString()) / "QF2.INI",
            loader ? AppContext::Printer::Later : AppContext::Printer::Default) {
    ctx.state.appFolder = settingsDir.toStdString();
    LoadSettings(ctx.settingsPath, ctx.state);
    window = std::make_unique<MainWindow>(ctx, prompter, std::move(loader));
    if (beforeShow) beforeShow(*window);
    QSignalSpy shown(window.get(), &MainWindow::designShown);
    window->show();
    QVERIFY(shown.wait(10000));
  }
  const QImage& page() { return window->designWindow().canvas().image(); }
  int codeRows() {
    return window->findChild<QTableView*>(QStringLiteral("fxgCode"))->model()->rowCount();
  }

  test::ScriptedPrompter prompter;
  AppContext ctx;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void commandLineDesignIsShownAsOpeningItWould() {
    QTemporaryDir started;
    QTemporaryDir opened;
    const QString file = Data("golden.qfd");
    StartedEditor a(started.path(), &file);
    QVERIFY(a.ctx.printer);
    QCOMPARE(a.ctx.design.objects.itemCount(), 14);
    QCOMPARE(a.codeRows(), 14);  // the code window follows the design it was given
    QCOMPARE(QString::fromStdString(a.ctx.state.fileName), file);
    QCOMPARE(QString::fromStdString(a.ctx.state.recentFiles[0]), file);
    QVERIFY(!a.ctx.editor.modified());
    QCOMPARE(a.ctx.design.page.orientation, int16_t{2});
    QVERIFY(a.prompter.messages.isEmpty());

    // The same file opened from the menu of an editor started without one.
    StartedEditor b(opened.path(), nullptr);
    b.prompter.openPaths = {file};
    b.window->findChild<QAction*>(QString(cmd::kOpen))->trigger();
    QCOMPARE(a.ctx.view.widthPx, b.ctx.view.widthPx);
    QCOMPARE(a.ctx.view.heightPx, b.ctx.view.heightPx);
    QCOMPARE(a.ctx.design.page, b.ctx.design.page);
    QCOMPARE(a.ctx.editor.currentLayer(), b.ctx.editor.currentLayer());
    QCOMPARE(a.page().size(), b.page().size());
    QVERIFY(a.page() == b.page());  // pixel for pixel

    // The page taken over from the worker is the one later drawing goes on: a redraw keeps it.
    const QImage first = a.page().copy();
    a.window->findChild<QAction*>(QString(cmd::kToolRedraw))->trigger();
    QVERIFY(a.page() == first);

    // The measurer and printer made on the worker (whose thread has ended) serve the editor on:
    // opening the file again measures every text anew on this thread and gives the same rows.
    const TextTable before = a.ctx.design.objects;
    a.prompter.openPaths = {file};
    a.window->findChild<QAction*>(QString(cmd::kOpen))->trigger();
    QCOMPARE(a.ctx.design.objects.rowCount(), before.rowCount());
    for (int r = 1; r < before.rowCount(); ++r) {
      for (int c = 0; c < before.columnCount(); ++c) {
        QCOMPARE(a.ctx.design.objects.cell(r, c), before.cell(r, c));
      }
    }
    QVERIFY(a.page() == first);
  }

  void relativeCommandLineNameIsKeptWhole() {
    QTemporaryDir started;
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(QF_TEST_DATA)));
    const QString relative = QStringLiteral("./golden.qfd");
    StartedEditor a(started.path(), &relative);
    QDir::setCurrent(home);
    QCOMPARE(a.ctx.design.objects.itemCount(), 14);
    // The recent-file entry opens the file from any folder.
    QCOMPARE(QString::fromStdString(a.ctx.state.recentFiles[0]),
             QFileInfo(Data("golden.qfd")).absoluteFilePath());
    QCOMPARE(a.ctx.state.fileName, a.ctx.state.recentFiles[0]);
  }

  void pageFieldsTheFileLeavesOutComeFromThePrinter() {
    // The design is read while the printer is asked; what the file does not say about its page
    // must still come from the printer, as when the printer's page is known first.
    const PrinterMaker letterLandscape = [] {
      std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPdf("");
      port->setPaperSize(1);  // Letter
      port->setOrientation(2);
      return port;
    };
    QTemporaryDir dir;
    const QString headerOnly = dir.filePath(QStringLiteral("header.qfd"));
    const QString paperOnly = dir.filePath(QStringLiteral("paper.qfd"));
    {
      QFile f(headerOnly);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("VERSION 2.05\r\n");
      QFile g(paperOnly);
      QVERIFY(g.open(QIODevice::WriteOnly));
      g.write("VERSION 2.05\r\n9");  // A4, and nothing about the orientation
    }
    const auto header = MakeStartupPage(headerOnly.toStdString(), 100, letterLandscape);
    QVERIFY(header->loaded());
    QCOMPARE(header->design.page.paperSize, int16_t{1});
    QCOMPARE(header->design.page.orientation, int16_t{2});
    const auto paper = MakeStartupPage(paperOnly.toStdString(), 100, letterLandscape);
    QVERIFY(paper->loaded());
    QCOMPARE(paper->design.page.paperSize, int16_t{9});
    QCOMPARE(paper->design.page.orientation, int16_t{2});
    // A whole file says everything itself: golden.qfd is A4 landscape with its 14 objects.
    const auto whole = MakeStartupPage(Data("golden.qfd").toStdString(), 100, letterLandscape);
    QVERIFY(whole->loaded());
    QCOMPARE(whole->design.page.paperSize, int16_t{9});
    QCOMPARE(whole->design.objects.itemCount(), 14);
    QCOMPARE(whole->view.page.paperSize, int16_t{9});  // and the printer was told so
  }

  void aSlowFirstPageKeepsTheWindowsAlive() {
    // A page that takes a while (a large design): the busy wait lets timers and painting run.
    const std::string file = Data("golden.qfd").toStdString();
    auto slow = std::async(std::launch::async, [file] {
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
      return MakeStartupPage(file, 100, [] { return QtPrinterPort::ForPdf(""); });
    });
    bool sawTheWait = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&sawTheWait] {
      const QCursor* cursor = QApplication::overrideCursor();
      sawTheWait = sawTheWait || (cursor && cursor->shape() == Qt::WaitCursor);
    });
    tick.start(20);
    QTemporaryDir started;
    StartedEditor a(started.path(), std::make_unique<StartupLoader>(std::move(slow)));
    QVERIFY(sawTheWait);
    QVERIFY(!QApplication::overrideCursor());  // the pointer is back to normal
    QCOMPARE(a.ctx.design.objects.itemCount(), 14);
  }

  void aPageIsDrawnWhereItShowsFirstAndWholeJustAfter() {
    const std::string file = Data("golden.qfd").toStdString();
    const PrinterMaker pdf = [] { return QtPrinterPort::ForPdf(""); };
    const auto whole = MakeStartupPage(file, 100, pdf);
    const QSize size = whole->image.size();
    QVERIFY(whole->owed.empty());
    // With a bound: inside it the whole page's pixels; beyond it strips owed (down the right,
    // across the bottom), still blank.
    const std::pair<QSize, size_t> bounds[] = {
        {{200, 150}, 2}, {size, 0}, {size - QSize(1, 0), 1}, {size - QSize(0, 1), 1}};
    for (const auto& [bound, strips] : bounds) {
      const auto part = MakeStartupPage(file, 100, pdf, bound);
      QCOMPARE(part->owed.size(), strips);
      const QRect inside(QPoint(0, 0), bound);
      QVERIFY(part->image.copy(inside) == whole->image.copy(inside));
      const QRect below(0, bound.height() + 2, size.width(), size.height() - bound.height() - 2);
      if (strips == 2)
        QVERIFY(AllWhite(part->image.copy(below)) && !AllWhite(whole->image.copy(below)));
    }

    // In the window: what the window shows is drawn before its first paint, the rest just after.
    auto made = std::async(std::launch::async,
                           [file, pdf] { return MakeStartupPage(file, 100, pdf, QSize(40, 30)); });
    QImage atShown;
    QSize seen;
    QTemporaryDir started;
    StartedEditor a(started.path(), std::make_unique<StartupLoader>(std::move(made)),
                    [&](MainWindow& w) {
                      QObject::connect(&w, &MainWindow::designShown, [&] {
                        atShown = w.designWindow().canvas().image().copy();
                        seen = w.designWindow().viewport()->size();
                      });
                    });
    QVERIFY(seen.width() > 40 && seen.height() > 30);
    QTest::qWait(200);
    const QImage settled = a.page().copy();
    a.ctx.editor.fullRedraw();
    QVERIFY(a.page() == settled);
    const QRect shown(QPoint(0, 0), seen.boundedTo(settled.size()));
    QVERIFY(atShown.copy(shown) == settled.copy(shown));
    QVERIFY(atShown != settled);  // the rest came after
  }

  void unreadableCommandLineFileWarnsAndStartsEmpty() {
    QTemporaryDir started;
    QTemporaryDir plain;
    const QString missing = started.filePath(QStringLiteral("missing.qfd"));
    // The splash goes before the warning, which it would otherwise cover.
    QPointer<Splash> splash = new Splash;
    splash->show();
    StartedEditor a(started.path(), std::make_unique<StartupLoader>(missing.toStdString()),
                    [&splash](MainWindow& w) { w.setSplash(splash); });
    QVERIFY(!splash || !splash->isVisible());
    QVERIFY(a.ctx.printer);
    QCOMPARE(a.prompter.messages.size(), 1);
    QVERIFY(a.prompter.messages[0].startsWith(QStringLiteral("ファイルの読込みに失敗しました。")));
    QCOMPARE(a.ctx.design.objects.itemCount(), 0);
    QVERIFY(a.ctx.state.fileName.empty());
    QVERIFY(a.ctx.state.recentFiles[0].empty());

    // The empty page with its grid, as a start without a file shows it.
    StartedEditor b(plain.path(), nullptr);
    QVERIFY(a.page() == b.page());
    QVERIFY(!AllWhite(a.page()));
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
