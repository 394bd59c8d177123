// The grids and the design window together, as a new user goes between them: picking rows,
// hiding layers, zooming and the grid's commands.
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

// The grids and the design window together: picking rows, hiding layers, zooming and the grid's
// commands.
class GridFlowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    path_ = SaveTwoBoxesAndALine(*tmp_);
    QVERIFY(!path_.isEmpty());
  }

  // A press on the pixel a grid line is drawn on takes that line.
  void aPressOnAGridLineTakesIt() {
    App e(tmp_->path());
    ObjectRecord box;
    box.Kind = ObjectKind::Box;
    box.Text = "0";
    box.Style = "0";
    box.Size = 1;
    e.ctx.editor.beginAdd(box);
    DesignCanvas& canvas = e.window->designWindow().canvas();
    const double px = canvas.image().width() / e.ctx.view.page.scaleWidth;
    const double py = canvas.image().height() / e.ctx.view.page.scaleHeight;
    // The lines at 20 and 40 mm across, 25 and 50 mm down (margins 15 and 10, grid 5).
    const QPoint from(int(std::floor(20 * px)), int(std::floor(25 * py)));
    const QPoint to(int(std::floor(40 * px)), int(std::floor(50 * py)));
    QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(&canvas, to);
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
    const TextTable& t = e.ctx.design.objects;
    QCOMPARE(t.itemCount(), 1);
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("20.000"));
    QCOMPARE(Cell(t, 1, kColY1), QStringLiteral("25.000"));
    QCOMPARE(Cell(t, 1, kColX2), QStringLiteral("40.000"));
    QCOMPARE(Cell(t, 1, kColY2), QStringLiteral("50.000"));
  }

  // Hiding a layer by a double-click does not make it current; adding onto a hidden or locked
  // current layer says so.
  void hideIsNoChoiceOfLayer() {
    App e(tmp_->path());
    LayerWindow& layers = e.window->layerWindow();
    Click(&layers, "cmdIns");  // layer 2 above the base layer
    QCOMPARE(e.ctx.editor.currentLayer(), 1);
    DoubleClickCell(layers.grid(), 1, kLayerHide);
    QCOMPARE(Cell(e.ctx.design.layers, 1, kLayerHide), QStringLiteral("×"));
    QCOMPARE(e.ctx.editor.currentLayer(), 1);
    DoubleClickCell(layers.grid(), 2, kLayerLock);
    QCOMPARE(e.ctx.editor.currentLayer(), 1);
    ObjectRecord box;
    box.Kind = ObjectKind::Box;
    box.Text = "0";
    box.Style = "0";
    e.ctx.editor.beginAdd(box);
    QVERIFY(Guide(e).endsWith(QStringLiteral("（ﾚｲﾔｰ1はﾛｯｸされています）")));
    DoubleClickCell(layers.grid(), 2, kLayerHide);
    e.ctx.editor.beginAdd(box);
    QVERIFY(Guide(e).endsWith(QStringLiteral("（ﾚｲﾔｰ1は非表示です）")));
  }

  // A zoom chosen from the list with the keyboard; the marks follow the new zoom, and an
  // Open drops them before the new page is drawn.
  void zoomFromTheKeyboardAndMarksThatFollow() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    Mouse mouse(e);
    mouse.drag(15, 35, 25, 45);
    QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{1});
    auto* zoom = e.window->findChild<QComboBox*>(QStringLiteral("cmbPer"));
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Up);  // from "100%" in the list to "200%"
    QCOMPARE(e.ctx.view.zoom, 200);
    QCOMPARE(zoom->currentText(), QStringLiteral("200%"));
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    QTest::keyClick(zoom, Qt::Key_Down);
    QCOMPARE(e.ctx.view.zoom, 100);
    // A typed zoom moves the list too: the keys go on from it.
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), QStringLiteral("300"));
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    QTest::keyClick(zoom, Qt::Key_Down);
    QCOMPARE(e.ctx.view.zoom, 200);
    QTest::keyClick(zoom, Qt::Key_Down);
    QCOMPARE(e.ctx.view.zoom, 100);
    // A typed zoom keeps the selection: its marks are drawn and hit where the new zoom puts
    // them.
    mouse.drag(15, 35, 25, 45);
    QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{1});
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), QStringLiteral("150%"));
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    QCOMPARE(e.ctx.view.zoom, 150);
    QCOMPARE(mouse.canvas.image(), PageWithMarks(e));
    const MarkCorners marks = e.ctx.editor.markCorners(1);
    const double m = e.ctx.view.markSize;
    QCOMPARE(e.ctx.editor.HitTestSelection(marks[1].first - m / 2, marks[1].second - m / 2),
             GrabKind::SecondCorner);
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(e.ctx.editor.selectedRows().empty());
    QCOMPARE(mouse.canvas.image(), FullPage(e));
  }

  // What the grid shows and how its editor sits; a grid hidden by the file shows unticked; a
  // recent file is opened only after the question; 再描画 mends a page drawn over.
  void gridDetailsAndCommands() {
    App e(tmp_->path());
    e.prompter.openPaths = {path_};
    e.act(cmd::kOpen)->trigger();
    CellGrid& grid = e.window->codeWindow().grid();
    QAbstractItemModel& model = *grid.model();
    const QModelIndex kind = model.index(0, kColKind - 1);
    const QModelIndex x1 = model.index(0, kColX1 - 1);
    QCOMPARE(model.data(kind, Qt::AccessibleTextRole).toString(), QStringLiteral("ﾎﾞｯｸｽ"));
    QCOMPARE(model.data(kind, Qt::ToolTipRole).toString(), QStringLiteral("ﾎﾞｯｸｽ"));
    QVERIFY(!model.data(kind, Qt::DecorationRole).isValid());
    QCOMPARE(&grid.cellEditor(), grid.findChild<QLineEdit*>(QStringLiteral("txtInput")));
    QCOMPARE(model.headerData(kColX1 - 1, Qt::Horizontal, Qt::AccessibleTextRole),
             model.headerData(kColX1 - 1, Qt::Horizontal, Qt::DisplayRole));
    QVERIFY(model.data(kind, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHCenter);
    QVERIFY(model.data(x1, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    QVERIFY(grid.columnWidth(kColKind - 1) >=
            grid.fontMetrics().horizontalAdvance(model.headerData(0, Qt::Horizontal).toString()));
    QVERIFY(e.window->codeWindow().findChild<QLabel*>(QStringLiteral("lblCapt")));
    // The editor lies over its cell, holds the text, and types on at its end.
    ClickCell(grid, 2, kColLabel);
    QCOMPARE(grid.cellEditor().geometry(), grid.visualRect(model.index(1, kColLabel - 1)));
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    QTest::keyClicks(&grid, QStringLiteral("Q"));
    QCOMPARE(grid.cellEditor().cursorPosition(), 1);
    QTest::keyClicks(&grid.cellEditor(), QStringLiteral("R"));
    QTest::keyClick(&grid.cellEditor(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("QR"));
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    // A cell no editor opens on takes no typing: the keys move through the grid instead, as
    // arrows do on any cell.
    ClickCell(grid, 1, kColStyle);
    QTest::keyClicks(&grid, QStringLiteral("x"));
    QVERIFY(!grid.cellEditor().isVisible());
    ClickCell(grid, 1, kColLabel);
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    QTest::keyClick(&grid, Qt::Key_Down);
    QVERIFY(!grid.cellEditor().isVisible());
    QCOMPARE(grid.currentRow(), 2);
    // An edit left for the same column of another row, or scrolled away, is kept.
    ClickCell(grid, 1, kColX1);
    QTest::keyClicks(&grid.cellEditor(), QStringLiteral("33"));
    ClickCell(grid, 2, kColX1);
    QCOMPARE(Cell(e.ctx.design.objects, 1, kColX1), QStringLiteral("33.000"));
    QTest::keyClicks(&grid.cellEditor(), QStringLiteral("44"));
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    QCOMPARE(Cell(e.ctx.design.objects, 2, kColX1), QStringLiteral("44.000"));
    // The model tells the view of every cell, row number and swapped row it must show again.
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(e.ctx.editor.selectObjectRow(2));
    QVERIFY(!headers.isEmpty());
    QCOMPARE(headers.last().at(0).value<Qt::Orientation>(), Qt::Vertical);
    QVERIFY(e.ctx.editor.swapObjectRows(1, 3));
    QVERIFY(!cells.isEmpty());
    QCOMPARE(cells.last().at(1).toModelIndex(), model.index(2, model.columnCount() - 1));
    QVERIFY(e.ctx.editor.undo());
    // A double-click on a row's number picks that row.
    e.ctx.editor.escape();
    QTest::mouseDClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(4, grid.verticalHeader()->sectionViewportPosition(2) + 4));
    QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{3});
    // A swap waiting for its second row follows its row while rows go, says so in the guide, and
    // is dropped when its own row goes.
    auto* guidePanel = e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"));
    const QString second = Cell(e.ctx.design.objects, 3, kColLabel);
    ClickCell(grid, 3, kColKind);
    Click(&e.window->codeWindow(), "cmdSwap");
    QCOMPARE(guidePanel->text(), Q(kGuideSwap));
    QVERIFY(e.ctx.editor.deleteObjectRow(2));
    ClickCell(grid, 1, kColKind);
    QCOMPARE(Cell(e.ctx.design.objects, 1, kColLabel), second);
    QVERIFY(guidePanel->text() != Q(kGuideSwap));
    QVERIFY(e.ctx.editor.undo());
    QVERIFY(e.ctx.editor.undo());
    ClickCell(grid, 2, kColKind);
    Click(&e.window->codeWindow(), "cmdSwap");
    QVERIFY(e.ctx.editor.deleteObjectRow(2));
    QVERIFY(guidePanel->text() != Q(kGuideSwap));
    ClickCell(grid, 1, kColKind);
    QCOMPARE(Cell(e.ctx.design.objects, 1, kColLabel), QStringLiteral("B1"));
    QVERIFY(e.ctx.editor.undo());

    // The file's grid setting ticks the menu item.
    e.prompter.openPaths = {Data("legacy_nolayer.qfd")};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(!e.act(cmd::kShowGrid)->isChecked());
    // A recent file replaces a changed design only when the question says so.
    QVERIFY(e.ctx.editor.deleteObjectRow(1));
    e.prompter.answers = {kMsgCancel};
    e.act("QFM109_1")->trigger();
    QCOMPARE(QString::fromStdString(e.ctx.state.fileName), Data("legacy_nolayer.qfd"));
    e.prompter.answers = {kMsgOk};
    e.act("QFM109_1")->trigger();
    QCOMPARE(QString::fromStdString(e.ctx.state.fileName), path_);
    // 再描画 draws the whole page again, and lets the selection go.
    QVERIFY(e.ctx.editor.selectObjectRow(1));
    DesignCanvas& canvas = e.window->designWindow().canvas();
    const_cast<QImage&>(canvas.image()).fill(Qt::black);
    e.act(cmd::kToolRedraw)->trigger();
    QCOMPARE(canvas.image(), FullPage(e));
    QVERIFY(e.ctx.editor.selectedRows().empty());
  }

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
  QString path_;
};

QF_UI_TEST_MAIN(GridFlowsTest)

#include "grid_flows_test.moc"
