// The layer window, the settings a design carries, and what every window offers the keyboard
// and the accessibility bus.
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

#include "document/design_file.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"
#include "support/design_builder.h"
#include "ui/cell_grid.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/layer_window.h"
#include "ui/source_window.h"
#include "ui/window_places.h"
#include "ui_fixture.h"
#include "view/renderer.h"

using namespace qf;
using namespace qf::test;

// The layer window, the settings a design carries, and what every window offers the keyboard and
// the accessibility bus.
class LayerWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  void layerWindowAddsDeletesSwapsRenamesLocksAndHides() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    LayerWindow& layers = e.window->layerWindow();
    CellGrid& grid = layers.grid();
    const TextTable& l = e.ctx.design.layers;
    auto* layerPanel = e.window->findChild<QLabel*>(QStringLiteral("stbGuide2"));
    QCOMPARE(l.itemCount(), 2);

    ClickCell(grid, 1, kLayerNumber);
    QCOMPARE(layerPanel->text(), QStringLiteral("ﾚｲﾔｰ：2"));
    Click(&layers, "cmdIns");
    QCOMPARE(Cell(l, 1, kLayerNumber), QStringLiteral("3"));
    QCOMPARE(Cell(l, 1, kLayerName), QStringLiteral("レイヤー3"));
    QVERIFY(e.ctx.editor.modified());

    // The name is edited in place.
    ClickCell(grid, 1, kLayerName);
    QLineEdit& input = grid.cellEditor();
    QVERIFY(input.isVisible());
    input.insert(QStringLiteral("見出し"));  // as an input method types it
    QTest::keyClick(&input, Qt::Key_Return);
    QCOMPARE(Cell(l, 1, kLayerName), QStringLiteral("見出し"));
    // Only the name: typing on the number opens no editor and changes nothing.
    ClickCell(grid, 1, kLayerNumber);
    QTest::keyClicks(&grid, QStringLiteral("7"));
    QVERIFY(!input.isVisible());
    QCOMPARE(Cell(l, 1, kLayerNumber), QStringLiteral("3"));

    // The base layer is refused; another asks first, and Cancel keeps it.
    ClickCell(grid, 3, kLayerNumber);
    Click(&layers, "cmdDel");
    QCOMPARE(e.prompter.messages.value(0), QStringLiteral("ベースレイヤーは削除できません。"));
    ClickCell(grid, 2, kLayerNumber);
    e.prompter.answers = {kMsgCancel};
    Click(&layers, "cmdDel");
    QCOMPARE(e.prompter.messages.value(1),
             QStringLiteral("明細レイヤーを削除します。よろしいですか？"));
    QCOMPARE(l.itemCount(), 3);

    // Swap 1 and 2; a swap with the base layer changes nothing but ends the swap.
    ClickCell(grid, 1, kLayerNumber);
    Click(&layers, "cmdSwap");
    ClickCell(grid, 2, kLayerNumber);
    QCOMPARE(Cell(l, 1, kLayerName), QStringLiteral("明細レイヤー"));
    ClickCell(grid, 1, kLayerNumber);
    Click(&layers, "cmdSwap");
    ClickCell(grid, 3, kLayerNumber);
    QCOMPARE(Cell(l, 3, kLayerName), QStringLiteral("ベースレイヤー"));
    QVERIFY(Guide(e).isEmpty());

    // Hiding a layer takes its objects off the page at once; lock and hide are no steps.
    const QImage shown = e.window->designWindow().canvas().image().copy();
    const size_t steps = e.ctx.editor.history().stepCount();
    DoubleClickCell(grid, 1, kLayerHide);
    QCOMPARE(Cell(l, 1, kLayerHide), QStringLiteral("×"));
    QVERIFY(e.window->designWindow().canvas().image() != shown);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
    DoubleClickCell(grid, 1, kLayerLock);
    QCOMPARE(Cell(l, 1, kLayerLock), QStringLiteral("■"));
    QCOMPARE(e.ctx.editor.history().stepCount(), steps);

    // Deleting the current layer makes the base layer current.
    ClickCell(grid, 2, kLayerNumber);
    QCOMPARE(layerPanel->text(), QStringLiteral("ﾚｲﾔｰ：3"));
    e.prompter.answers = {kMsgOk};
    Click(&layers, "cmdDel");
    QCOMPARE(l.itemCount(), 2);
    QCOMPARE(e.ctx.editor.currentLayer(), int16_t{1});
    QCOMPARE(layerPanel->text(), QStringLiteral("ﾚｲﾔｰ：1"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // File New makes the base layer current too.
    ClickCell(grid, 1, kLayerNumber);
    e.prompter.answers = {kMsgOk};
    e.act(cmd::kNew)->trigger();
    QCOMPARE(layerPanel->text(), QStringLiteral("ﾚｲﾔｰ：1"));
    QVERIFY(!e.act(cmd::kUndo)->isEnabled());
  }

  void settingsThatTheFileCarriesAreAskedAboutOnExit() {
    App e(tmp_->path());
    e.prompter.colors = {QColor(0, 0, 255)};
    OnModal([](QWidget* d) {
      Click(d, "cmdColor1");
      Click(d, "cmdSet");
    });
    e.act(cmd::kHatchColours)->trigger();
    QVERIFY(e.ctx.editor.modified());
    e.prompter.answers = {kMsgCancel};
    e.act(cmd::kExit)->trigger();
    QCOMPARE(e.prompter.messages.value(0), QStringLiteral("編集中のデータを破棄しますか？"));
    QVERIFY(e.window->isVisible());
  }

  void everyControlHasAnAccessibleName() {
    App e(tmp_->path());
    for (QWidget* window : {static_cast<QWidget*>(&e.window->codeWindow()),
                            static_cast<QWidget*>(&e.window->layerWindow())}) {
      for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w) &&
            !qobject_cast<QTableView*>(w)) {
          continue;
        }
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
      }
    }
    // Elsewhere a control's own caption names it where it has one.
    for (QWidget* w : e.window->findChildren<QWidget*>()) {
      // A read-out (a number, or nothing yet) says what it shows, shown or in the toolbar's
      // overflow.
      bool inToolbar = false;
      for (QWidget* p = w; p && !inToolbar; p = p->parentWidget()) {
        inToolbar = qobject_cast<QToolBar*>(p) != nullptr;
      }
      if (auto* label = qobject_cast<QLabel*>(w);
          label && (label->isVisible() || inToolbar) && !label->objectName().isEmpty() &&
          label->pixmap().isNull() &&
          (label->text().isEmpty() || label->text().front().isDigit())) {
        QVERIFY2(!label->accessibleName().isEmpty(), qPrintable(label->objectName()));
      }
      if (!w->isVisible()) continue;
      auto* button = qobject_cast<QAbstractButton*>(w);
      const bool control = button || qobject_cast<QLineEdit*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QPlainTextEdit*>(w);
      if (!control) continue;
      QVERIFY2(!w->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
               qPrintable(w->objectName() + QLatin1Char(' ') + w->metaObject()->className()));
    }
    QCOMPARE(e.window->objectName(), QStringLiteral("frmQFMain"));
    QCOMPARE(e.window->designWindow().canvas().accessibleName(), QStringLiteral("ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ"));
    QCOMPARE(e.window->codeWindow().grid().accessibleName(), QStringLiteral("ｺｰﾄﾞｳｨﾝﾄﾞｳ"));
  }

  void childWindowsStayReachable() {
    {
      // A first start: the design window leaves the code window below it in view.
      App e(tmp_->path());
      QVERIFY(e.ctx.state.firstStart);
      auto* area = e.window->findChild<QMdiArea*>();
      QRect design;
      QRect code;
      for (QMdiSubWindow* w : area->subWindowList()) {
        if (w->widget() == &e.window->designWindow()) design = w->geometry();
        if (w->widget() == &e.window->codeWindow()) code = w->geometry();
      }
      QVERIFY(!design.intersects(code));
      // The part of the page a start draws first covers what the design window shows, and no
      // more than the room left of and above the other windows.
      const QSize room = DesignStartRoom(e.ctx.state);
      const QSize seen = e.window->designWindow().viewport()->size();
      QVERIFY(room.width() >= seen.width() && room.height() >= seen.height());
      const QSize main = MainWindowStartSize(e.ctx.state);
      QVERIFY(room.width() < main.width() && room.height() < main.height());
      // What the design window was at the end is kept, its size too (the page sets that).
      QWidget* designFrame = e.window->designWindow().parentWidget();
      designFrame->move(7, 9);
      designFrame->resize(333, 222);
      e.window->close();
    }
    // Places far outside a smaller main window come back inside it.
    AppState state;
    const std::filesystem::path ini = std::filesystem::path(tmp_->path().toStdString()) / "QF2.INI";
    LoadSettings(ini, state);
    QCOMPARE(state.windows[kWinDesign], (WindowRect{7 * 15, 9 * 15, 333 * 15, 222 * 15}));
    state.windows[kWinMain] = {0, 0, 700 * 15, 500 * 15};
    state.windows[kWinLayer] = {2000 * 15, 1500 * 15, 900 * 15, 700 * 15};  // larger, too
    state.windows[kWinCode] = {0, 150 * 15, 300 * 15, 200 * 15};
    QVERIFY(SaveSettings(ini, state).ok());
    App again(tmp_->path());
    auto* area = again.window->findChild<QMdiArea*>();
    const QRect visible = area->viewport()->rect();
    for (QMdiSubWindow* w : area->subWindowList()) {
      QVERIFY2(visible.contains(w->geometry()), qPrintable(w->objectName()));
    }
    // The layer window, kept larger than the room and far off, fills the room from its corner
    // (the room it was fitted to had scroll bars then).
    const QRect layer = again.window->layerWindow().parentWidget()->geometry();
    QCOMPARE(layer.topLeft(), QPoint(0, 0));
    QVERIFY(layer.width() >= visible.width() - 20 && layer.height() >= visible.height() - 20);
    QCOMPARE(again.window->windowTitle(), QStringLiteral("Quillform"));  // not the file's name
    // A place inside the window stays as it was kept.
    QCOMPARE(again.window->codeWindow().parentWidget()->geometry(), QRect(0, 150, 300, 200));
    // Kept places: the code window below still bounds the room; the layer window beyond the
    // main window does not, nor does the source window's place once it is moved out of the way.
    const QSize room = DesignStartRoom(state);
    const QSize seen = again.window->designWindow().viewport()->size();
    QVERIFY(room.width() >= seen.width() && room.height() >= seen.height());
    const QSize main = MainWindowStartSize(state);
    QVERIFY(room.height() < main.height());
    state.windows[kWinSource] = {1000 * 15, 0, 300 * 15, 200 * 15};
    state.windows[kWinCode] = {0, 2000 * 15, 300 * 15, 200 * 15};
    QCOMPARE(DesignStartRoom(state), main - QSize(kDesignFrameAt.x(), kDesignFrameAt.y()));
    // A child moved past the bottom can be scrolled back to.
    again.window->codeWindow().parentWidget()->move(0, visible.height() + 100);
    QTRY_VERIFY(area->verticalScrollBar()->isVisible());
    // A window that shares the design window's first column or row bounds it; one that ends
    // just before does not.
    const QSize wanted(700, 500);
    const auto fitted = [&wanted](QRect other) {
      return DesignFrameRoom(kDesignFrameAt, wanted, QRect(0, 0, 800, 600), {&other, 1});
    };
    QCOMPARE(fitted(QRect(0, 300, 5, 100)), QSize(700, 296));
    QCOMPARE(fitted(QRect(0, 300, 4, 100)), wanted);
    QCOMPARE(fitted(QRect(500, 0, 100, 5)), QSize(496, 500));
    QCOMPARE(fitted(QRect(500, 0, 100, 4)), wanted);
    // Beside it from its last row on; from just after that, only below it.
    QCOMPARE(fitted(QRect(500, 503, 100, 50)), QSize(496, 500));
    QCOMPARE(fitted(QRect(500, 504, 100, 50)), wanted);
    // One lying over the design window's corner is neither beside nor below it.
    QCOMPARE(fitted(QRect(kDesignFrameAt, QSize(100, 100))), wanted);
  }

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(LayerWindowTest)

#include "layer_window_test.moc"
