// Windows and commands mixed as a new user mixes them: no edit is lost, no window acts on a
// row other than the one it shows, nothing stale passes for current.
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWheelEvent>

#include "document/design_file.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "shell/ui_text.h"
#include "support/fake_measure.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/layer_window.h"
#include "ui/qt_text.h"
#include "ui/ruler.h"
#include "ui/source_window.h"
#include "ui_fixture.h"

using namespace qf;
using namespace qf::test;

namespace {

// The right button on the page, the pop-up menu's "ﾌﾟﾛﾊﾟﾃｨ", then OK on the dialog as it
// stands.
void PropertiesOk(Mouse& mouse, double x, double y) {
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  OnModal([](QWidget* d) { Click(d, "cmdOK"); });
  QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(x, y));
}

// Types into a cell of the code window as a person does: a click, the text, Enter.
void TypeCell(App& e, int row, int col, const QString& text) {
  CellGrid& grid = e.window->codeWindow().grid();
  ClickCell(grid, row, col);
  grid.cellEditor().selectAll();
  QTest::keyClicks(&grid.cellEditor(), text);
  QTest::keyClick(&grid.cellEditor(), Qt::Key_Return);
}

// Pixels of the visible page (inside its edge line) where what the window system holds (the
// flushed backing store, not a new rendering of the widget) differs from the page image: a
// part that changed and was not painted again.
int PixelsNotShown(Mouse& mouse) {
  QApplication::processEvents();
  auto* area = qobject_cast<QScrollArea*>(&mouse.e.window->designWindow());
  QWidget* frame = mouse.canvas.window();
  const QRect seen = area->viewport()->rect().intersected(
      QRect(mouse.canvas.mapTo(area->viewport(), QPoint(0, 0)), mouse.canvas.size()));
  const QPoint corner = area->viewport()->mapTo(frame, seen.topLeft());
  const QImage screen =
      frame->screen()
          ->grabWindow(frame->winId(), corner.x(), corner.y(), seen.width(), seen.height())
          .toImage()
          .convertToFormat(QImage::Format_RGB32);
  const QPoint page = mouse.canvas.mapFrom(area->viewport(), seen.topLeft());
  const QImage expected =
      mouse.canvas.image().copy(QRect(page, seen.size())).convertToFormat(QImage::Format_RGB32);
  if (screen.size() != expected.size()) return -1;
  int differ = 0;
  for (int y = 1; y < screen.height() - 1; ++y) {
    for (int x = 1; x < screen.width() - 1; ++x)
      differ += screen.pixel(x, y) != expected.pixel(x, y);
  }
  return differ;
}

}  // namespace

class MixedFlowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    path_ = SaveTwoBoxesAndALine(*tmp_);
    QVERIFY(!path_.isEmpty());
  }

  // The layout tools as a person uses them: a frame over three objects, 左揃え from the toolbar,
  // 上下に均等配置 from the 配置 menu, undo twice; the page stays a full redraw throughout.
  void layoutToolsAreStepsOfTheEditor() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    const TextTable& t = e.ctx.design.objects;
    Mouse mouse(e);
    QVERIFY(!e.act(cmd::kAlignLeft)->isEnabled());
    // Aligning, distributing, sizing and the drawing order, a line between the groups.
    QString shape;
    for (QAction* a : e.window->findChild<QMenu*>(QString(cmd::kLayoutMenu))->actions()) {
      shape += a->isSeparator() ? QLatin1Char('|') : QLatin1Char('x');
    }
    QCOMPARE(shape, QStringLiteral("xxxxxx|xx|xx|xxxx"));
    mouse.drag(10, 30, 95, 90);
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{1, 2, 3}));
    QVERIFY(e.act(cmd::kAlignLeft)->isEnabled() && e.act(cmd::kSpaceDown)->isEnabled());
    auto* bar = e.window->findChild<QToolBar*>(QStringLiteral("tblLayout"));
    QVERIFY(bar && bar->isVisible());
    QTest::mouseClick(bar->widgetForAction(e.act(cmd::kAlignLeft)), Qt::LeftButton);
    QCOMPARE(Cell(t, 2, kColX1), QStringLiteral("20.000"));
    QCOMPARE(Cell(t, 2, kColX2), QStringLiteral("45.000"));
    QCOMPARE(Cell(t, 3, kColX1), QStringLiteral("20.000"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    e.act(cmd::kSpaceDown)->trigger();  // B1 and B2 both at 40: B2 goes below B1, a 5 mm gap each
    QCOMPARE(Cell(t, 2, kColY1), QStringLiteral("60.000"));
    QCOMPARE(Cell(t, 2, kColY2), QStringLiteral("75.000"));
    QCOMPARE(Cell(t, 1, kColY1), QStringLiteral("40.000"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{1, 2, 3}));
    e.act(cmd::kUndo)->trigger();
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(Cell(t, 2, kColX1), QStringLiteral("60.000"));
    QCOMPARE(Cell(t, 2, kColY1), QStringLiteral("40.000"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    // B1 alone to the front by its keys, and one step back from the menu: the code window
    // follows, B1 stays selected.
    mouse.drag(15, 35, 50, 58);
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{1}));
    QVERIFY(e.act(cmd::kToFront)->isEnabled());
    QTest::keyClick(&mouse.canvas, Qt::Key_BracketRight, Qt::ControlModifier | Qt::ShiftModifier);
    auto* code = e.window->findChild<QTableView*>(QStringLiteral("fxgCode"));
    const auto label = [&](int row) {
      return code->model()->index(row - 1, kColLabel - 1).data().toString();
    };
    QCOMPARE(label(3), QStringLiteral("B1"));
    QCOMPARE(label(1), QStringLiteral("B2"));
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{3}));
    e.act(cmd::kBackward)->trigger();
    QCOMPARE(label(2), QStringLiteral("B1"));
    QCOMPARE(label(3), QStringLiteral("L"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    e.act(cmd::kUndo)->trigger();
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(label(1), QStringLiteral("B1"));
    // A double-click inside B2 opens its Properties, as the pop-up menu's ﾌﾟﾛﾊﾟﾃｨ does; on
    // the empty page it opens nothing.
    QString opened;
    std::vector<int> picked;
    OnModal([&](QWidget* d) {
      opened = d->objectName();
      picked = e.ctx.editor.selectedRows();
      Click(d, "cmdOK");
    });
    QTest::mouseDClick(&mouse.canvas, Qt::LeftButton, {}, mouse.at(70, 47));
    QTRY_COMPARE(opened, QStringLiteral("frmBox"));
    QCOMPARE(picked, (std::vector<int>{2}));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    QTest::mouseDClick(&mouse.canvas, Qt::LeftButton, {}, mouse.at(150, 150));
    QVERIFY(!QApplication::activeModalWidget());
    // 表示 ﾍﾟｰｼﾞ全体 fits the page into the design window, and the zoom box says the zoom.
    auto* area = qobject_cast<QScrollArea*>(&e.window->designWindow());
    const QSize room = area->maximumViewportSize();
    const QSize frame = area->parentWidget()->size();
    e.act(cmd::kWholePage)->trigger();
    QCOMPARE(area->parentWidget()->size(), frame);  // the page fits the window as it is
    QCOMPARE(e.ctx.view.zoom, FitZoom(e.ctx.view.page, room.width(), room.height(), false));
    QVERIFY(e.ctx.view.widthPx <= room.width() && e.ctx.view.heightPx <= room.height());
    QCOMPARE(e.window->findChild<QComboBox*>(QStringLiteral("cmbPer"))->currentText(),
             QStringLiteral("%1%").arg(e.ctx.view.zoom));
    QCOMPARE(mouse.canvas.image(), FullPage(e));
    e.act(cmd::kPageWidth)->trigger();
    QVERIFY(e.ctx.view.widthPx <= room.width());
    QCOMPARE(area->parentWidget()->size(), frame);
    // Ctrl+wheel zooms by the zoom box's steps, and the page stays a full redraw.
    e.ctx.view.zoom = 100;
    e.act(cmd::kWholePage)->trigger();  // whatever fits, then two steps in from it
    const int fitted = e.ctx.view.zoom;
    auto wheel = [&](Qt::KeyboardModifiers mods, int dy) {
      const QPointF at(20, 20);
      QWheelEvent ev(at, area->viewport()->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton,
                     mods, Qt::NoScrollPhase, false);
      QApplication::sendEvent(area->viewport(), &ev);
    };
    wheel(Qt::ControlModifier, 120);
    QCOMPARE(e.ctx.view.zoom, NextZoomStep(fitted, true));
    wheel(Qt::ControlModifier, 120);
    QCOMPARE(e.ctx.view.zoom, NextZoomStep(NextZoomStep(fitted, true), true));
    QCOMPARE(e.window->findChild<QComboBox*>(QStringLiteral("cmbPer"))->currentText(),
             QStringLiteral("%1%").arg(e.ctx.view.zoom));
    QCOMPARE(mouse.canvas.image(), FullPage(e));
    // Shift+wheel scrolls sideways; the wheel alone down.
    const int across = area->horizontalScrollBar()->value();
    wheel(Qt::ShiftModifier, -120);
    QVERIFY(area->horizontalScrollBar()->value() > across);
    const int down = area->verticalScrollBar()->value();
    wheel(Qt::NoModifier, -120);
    QVERIFY(area->verticalScrollBar()->value() > down);
    wheel(Qt::ControlModifier, -120);
    QCOMPARE(e.ctx.view.zoom, NextZoomStep(fitted, true));
    // Hidden and shown again from 表示.
    e.act(cmd::kLayoutToolbar)->trigger();
    QVERIFY(!bar->isVisible());
    e.act(cmd::kLayoutToolbar)->trigger();
    QVERIFY(bar->isVisible());
  }

  // An edit typed in the code window stays through Properties, the arrow keys and a drag of
  // the marks; after Properties the guide and Delete follow the selection that is gone.
  // Rulers follow scrolling and the pointer and can be hidden; a frame held past the window's
  // edge scrolls it; the page's edge is painted but not part of the page; an object moved off
  // the page says so.
  void rulersScrollingAndTheEdgeOfThePage() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    Mouse mouse(e);
    auto* area = qobject_cast<QScrollArea*>(&e.window->designWindow());
    auto* top = area->findChild<Ruler*>(QStringLiteral("rulTop"));
    auto* left = area->findChild<Ruler*>(QStringLiteral("rulLeft"));
    QVERIFY(top && left && top->isVisible() && left->isVisible());
    QCOMPARE(area->findChild<QWidget*>(QStringLiteral("picCanvas")), &mouse.canvas);
    QCOMPARE(top->geometry().bottom() + 1, area->viewport()->geometry().top());
    QScrollBar* down = area->verticalScrollBar();
    QVERIFY(down->maximum() > 100);
    down->setValue(90);
    QCOMPARE(left->pageOrigin(), -90);
    QCOMPARE(top->pageOrigin(), 0);
    const QPoint at = mouse.at(50, 60);
    // A click first: the window takes the pointer from wherever an earlier test left it.
    QTest::mouseClick(&mouse.canvas, Qt::LeftButton, {}, at + QPoint(7, 7));
    QTest::mouseMove(&mouse.canvas, at);
    QCOMPARE(top->pointer(), std::optional<int>(at.x()));
    QCOMPARE(left->pointer(), std::optional<int>(at.y()));
    const QImage strip = left->grab().toImage();
    QCOMPARE(strip.pixelColor(2, at.y() - 90), QColor(0, 90, 200));
    QVERIFY(strip.pixelColor(2, at.y() - 80) != QColor(0, 90, 200));
    // The page's edge: on the window, never in the page.
    const QImage shown = mouse.canvas.grab().toImage();
    int onWindow = 0, onPage = 0;
    for (int y = 100; y < 140; ++y) {
      onWindow += shown.pixelColor(0, y) == QColor(70, 130, 210);
      onPage += mouse.canvas.image().pixelColor(0, y) != QColor(Qt::white);
    }
    QVERIFY(onWindow > 10);
    QCOMPARE(onPage, 0);
    // A frame held below the window scrolls it to the page's end; the drag follows.
    down->setValue(0);
    QTest::mousePress(&mouse.canvas, Qt::LeftButton, {}, mouse.at(30, 70));
    const int below = area->viewport()->height() + 30;
    QTest::mouseMove(&mouse.canvas, QPoint(at.x(), below));
    auto* size = e.window->findChild<QLabel*>(QStringLiteral("lblSize"));
    const double before = size->text().section(QLatin1Char('x'), 1).toDouble();
    QTRY_COMPARE(down->value(), down->maximum());
    QCOMPARE(area->horizontalScrollBar()->value(), 0);  // down only
    const double after = size->text().section(QLatin1Char('x'), 1).toDouble();
    QVERIFY2(after > before + 100, qPrintable(size->text()));
    QTest::mouseRelease(&mouse.canvas, Qt::LeftButton, {},
                        QPoint(mouse.at(95, 0).x(), below + down->value()));
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{3}));  // L alone lies in it
    // Held past the right edge only, it scrolls sideways only.
    QScrollBar* across = area->horizontalScrollBar();
    QVERIFY(across->maximum() > 0);
    down->setValue(0);
    across->setValue(0);
    QTest::mousePress(&mouse.canvas, Qt::LeftButton, {}, mouse.at(10, 20));
    QTest::mouseMove(&mouse.canvas, QPoint(area->viewport()->width() + 30, mouse.at(0, 30).y()));
    QTRY_COMPARE(across->value(), across->maximum());
    QCOMPARE(down->value(), 0);
    QTest::mouseRelease(&mouse.canvas, Qt::LeftButton, {}, mouse.at(12, 22));
    mouse.drag(15, 75, 95, 85);  // L again
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{3}));
    QCOMPARE(PixelsNotShown(mouse), 0);
    // Chosen from the code window instead, B1's marks reach the screen without any other change.
    down->setValue(0);
    across->setValue(0);
    QCOMPARE(PixelsNotShown(mouse), 0);
    DoubleClickCell(e.window->codeWindow().grid(), 1, kColKind);
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{1}));
    QCOMPARE(PixelsNotShown(mouse), 0);
    mouse.drag(15, 75, 95, 85);  // L again
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{3}));
    // L stepped left: on the page's edge nothing is said, one step past it the status bar says.
    down->setValue(0);
    for (int i = 0; i < 4; ++i) QTest::keyClick(&mouse.canvas, Qt::Key_Left);
    QCOMPARE(Cell(e.ctx.design.objects, 3, kColX1), QStringLiteral("0.000"));
    QVERIFY(e.window->statusBar()->currentMessage().isEmpty());
    QTest::keyClick(&mouse.canvas, Qt::Key_Left);
    QVERIFY(e.window->statusBar()->currentMessage().contains(QStringLiteral("はみ出しています")));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    // What the screen shows of the page after these steps is the page: the parts that changed
    // were painted again.
    QCOMPARE(PixelsNotShown(mouse), 0);
    // Hidden from 表示, and kept so.
    e.act(cmd::kRulers)->trigger();
    QVERIFY(!top->isVisible() && !left->isVisible());
    QCOMPARE(area->viewport()->geometry().top(), area->frameWidth());
    QVERIFY(!e.ctx.state.rulers);
    e.act(cmd::kRulers)->trigger();
    QVERIFY(top->isVisible());
  }

  void cellEditsSurviveWhatFollows() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    const TextTable& t = e.ctx.design.objects;
    CellGrid& grid = e.window->codeWindow().grid();
    Mouse mouse(e);

    DoubleClickCell(grid, 1, kColKind);  // B1 is picked
    TypeCell(e, 1, kColX1, QStringLiteral("30"));
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("30.000"));
    PropertiesOk(mouse, 35, 45);
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("30.000"));
    QCOMPARE(Guide(e), QString());
    QTest::keyClick(&mouse.canvas, Qt::Key_Delete);
    QCOMPARE(t.itemCount(), 3);
    QCOMPARE(mouse.canvas.image(), FullPage(e));

    DoubleClickCell(grid, 1, kColKind);
    TypeCell(e, 1, kColY1, QStringLiteral("42"));
    mouse.canvas.setFocus();
    QTest::keyClick(&mouse.canvas, Qt::Key_Right);
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("35.000"));
    QCOMPARE(Cell(t, 1, kColY1), QStringLiteral("42.000"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));

    // The marks stand where the list puts the box now; its second mark drags its corner.
    TypeCell(e, 1, kColX2, QStringLiteral("52"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    e.ctx.state.snapOn = false;
    const MarkCorners marks = e.ctx.editor.markCorners(1);
    const double m = e.ctx.view.markSize;
    mouse.drag(marks[1].first - m / 2, marks[1].second - m / 2, 70, 70);
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("35.000"));
    QCOMPARE(Cell(t, 1, kColY1), QStringLiteral("42.000"));
    QVERIFY(std::abs(Cell(t, 1, kColX2).toDouble() - 70) < 0.5);  // as near as a pixel goes
    QCOMPARE(mouse.canvas.image(), FullPage(e));

    // Typing in a cell, then 最前面へ from the menu: what was typed stays with its object.
    DoubleClickCell(grid, 1, kColKind);
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{1}));
    ClickCell(grid, 2, kColLabel);
    grid.cellEditor().selectAll();
    QTest::keyClicks(&grid.cellEditor(), QStringLiteral("typed"));
    e.act(cmd::kToFront)->trigger();
    QCOMPARE(Cell(t, 1, kColLabel), QStringLiteral("typed"));
    QCOMPARE(e.ctx.editor.selectedRows(), (std::vector<int>{t.itemCount()}));
  }

  // 削除 deletes the row the grid shows chosen, wherever clicks, keys and other windows moved
  // it; "選択番号" says which.
  void deleteTakesTheRowTheGridShows() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    const TextTable& t = e.ctx.design.objects;
    CodeWindow& code = e.window->codeWindow();
    CellGrid& grid = code.grid();
    auto* number = code.findChild<QLabel*>(QStringLiteral("lblNum"));
    Mouse mouse(e);

    ClickCell(grid, 2, kColKind);  // B2
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    mouse.drag(15, 35, 25, 45);  // a frame around B1's first corner
    QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{1});
    QTest::keyClick(&mouse.canvas, Qt::Key_Delete);
    QCOMPARE(Cell(t, 1, kColLabel), QStringLiteral("B2"));
    QCOMPARE(code.currentRow(), 1);
    QCOMPARE(number->text(), QStringLiteral("1"));
    Click(&code, "cmdDel");
    QCOMPARE(t.itemCount(), 1);
    QCOMPARE(Cell(t, 1, kColLabel), QStringLiteral("L"));

    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(t.itemCount() >= 12);
    const QString twelve = Cell(t, 12, kColLabel);
    const QString eleven = Cell(t, 11, kColLabel);
    ClickCell(grid, 11, kColKind);
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(number->text(), QStringLiteral("12"));
    Click(&code, "cmdDel");
    QCOMPARE(Cell(t, 11, kColLabel), eleven);
    QVERIFY(Cell(t, 12, kColLabel) != twelve);
  }

  // The right button during a frame drag takes the dotted outline with it; a failed Save As
  // keeps the name of the file that was opened.
  void rightButtonAndAFailedSaveAs() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    Mouse mouse(e);
    QTest::mousePress(&mouse.canvas, Qt::LeftButton, {}, mouse.at(10, 10));
    QTest::mouseMove(&mouse.canvas, mouse.at(60, 60));
    QTest::mouseMove(&mouse.canvas, mouse.at(100, 90));
    QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(100, 90));
    QCOMPARE(mouse.canvas.image(), FullPage(e));
    QTest::mouseRelease(&mouse.canvas, Qt::LeftButton, {}, mouse.at(100, 90));
    QTest::keyClick(&mouse.canvas, Qt::Key_Escape);
    QCOMPARE(mouse.canvas.image(), FullPage(e));
    QVERIFY(e.ctx.editor.selectedRows().empty());

    e.prompter.savePaths = {QStringLiteral("/proc/x.qfd")};
    e.act(cmd::kSaveAs)->trigger();
    QCOMPARE(e.prompter.messages.size(), 1);
    QCOMPARE(QString::fromStdString(e.ctx.state.fileName), path_);
    QVERIFY(e.ctx.editor.deleteObjectRow(3));
    e.act(cmd::kSave)->trigger();
    QCOMPARE(e.prompter.messages.size(), 1);
    FakeMeasurers m;
    Design back;
    QVERIFY(LoadDesign(path_.toStdString(), back, m.get()).ok());
    QCOMPARE(back.objects.itemCount(), 2);
    QVERIFY(!e.ctx.editor.modified());
  }

  // The source window never shows old source as if it were current.
  void sourceSaysWhenItIsOutOfDate() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    SourceWindow& source = e.window->sourceWindow();
    auto* stale = source.findChild<QLabel*>(QStringLiteral("lblStale"));
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(source.source().contains(QStringLiteral("Line ( 20, 40)")));
    QVERIFY(stale->isHidden());
    TypeCell(e, 1, kColX1, QStringLiteral("30"));
    QVERIFY(!stale->isHidden());
    QCOMPARE(stale->text(),
             QStringLiteral("デザインが変更されています。ｿｰｽ生成で更新してください。"));
    e.act(cmd::kUndo)->trigger();
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(stale->isHidden());
    // A settings change and then an edit: the design is two changes on, never back where it was.
    GridSettings grid = e.ctx.design.grid;
    grid.width = 2.5f;
    e.ctx.editor.setGrid(grid);
    TypeCell(e, 1, kColX1, QStringLiteral("35"));
    QVERIFY(!stale->isHidden());
    e.act(cmd::kToolSource)->trigger();
    e.act(cmd::kNew)->trigger();
    QVERIFY(source.source().isEmpty());
    QVERIFY(stale->isHidden());
    e.act(cmd::kToolSource)->trigger();
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(source.source().isEmpty());
  }

  // A size typed as "12pt" is read as 12 and shown so; the text is measured again.
  void cellsShowWhatTheDesignHolds() {
    App e(tmp_->path());
    ObjectRecord text;
    text.Kind = ObjectKind::Text;
    text.Text = "合計";
    text.Style = "ＭＳ 明朝";
    text.Size = 9;
    e.ctx.editor.addObject(text, {30, 30, 30, 30});
    const TextTable& t = e.ctx.design.objects;
    const QString width = Cell(t, 1, kColX2);
    TypeCell(e, 1, kColSize, QStringLiteral("12pt"));
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("12"));
    const Extent measured =
        MeasureText(e.ctx.textMeasurer, DecodeObjectRow(t, 1), e.ctx.design.page.scaleMode);
    QCOMPARE(Cell(t, 1, kColX2), QString::fromStdString(FormatFixed3(measured.width)));
    QVERIFY(Cell(t, 1, kColX2) != width);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
  }

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
  QString path_;
};

QF_UI_TEST_MAIN(MixedFlowsTest)

#include "mixed_flows_test.moc"
