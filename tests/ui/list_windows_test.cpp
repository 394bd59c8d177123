// The code and layer windows, clicked and typed in as a person would.
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

namespace {

QString Guide(App& e) {
  return e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"))->text();
}

}  // namespace

class ListWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  void codeWindowEditsCellsAsAPersonWould() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    CellGrid& grid = e.window->codeWindow().grid();
    QLineEdit& input = grid.cellEditor();
    const TextTable& t = e.ctx.design.objects;
    const QImage before = e.window->designWindow().canvas().image().copy();
    QVERIFY(!e.act(cmd::kUndo)->isEnabled());

    // A click on X1 of the title opens the editor on the cell; the number is formatted.
    ClickCell(grid, 1, kColX1);
    QVERIFY(input.isVisible());
    QCOMPARE(input.text(), QStringLiteral("20.000"));
    QCOMPARE(e.window->codeWindow().findChild<QLabel*>(QStringLiteral("lblNum"))->text(),
             QStringLiteral("1"));
    QTest::keyClicks(&input, QStringLiteral("62.5"));
    QTest::keyClick(&input, Qt::Key_Return);
    QVERIFY(!input.isVisible());
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("62.500"));
    QVERIFY(e.ctx.editor.modified());
    QVERIFY(e.act(cmd::kUndo)->isEnabled());
    // The page shows the text at its new place at once, as a full redraw would.
    const QImage& page = e.window->designWindow().canvas().image();
    QVERIFY(page != before);
    QCOMPARE(page, FullPage(e));

    // Undo from the menu: the cell, the page and Modified as they were; redo again.
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("20.000"));
    QCOMPARE(e.window->designWindow().canvas().image(), before);
    QVERIFY(!e.ctx.editor.modified());
    QVERIFY(e.act(cmd::kRedo)->isEnabled());
    e.act(cmd::kRedo)->trigger();
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("62.500"));

    // The font column of a text is a dialog's: the editor stays closed. Typing on an
    // editable cell opens it with the typed character.
    ClickCell(grid, 1, kColStyle);
    QVERIFY(!input.isVisible());
    ClickCell(grid, 1, kColLabel);
    QTest::keyClick(&input, Qt::Key_Escape);
    QVERIFY(!input.isVisible());
    QTest::keyClicks(&grid, QStringLiteral("T"));
    QVERIFY(input.isVisible());
    QCOMPARE(input.text(), QStringLiteral("T"));
    QTest::keyClicks(&input, QStringLiteral("itle"));
    // Leaving the editor commits it, like Enter.
    ClickCell(grid, 2, kColStyle);
    QCOMPARE(Cell(t, 1, kColLabel), QStringLiteral("Title"));

    // Ctrl+C copies a cell, Ctrl+V pastes into any column, Ctrl+Z takes the paste back.
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(1 - 1, kColText - 1));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("請求書"));
    grid.setCurrentIndex(grid.model()->index(2 - 1, kColStyle - 1));
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Cell(t, 2, kColStyle), QStringLiteral("請求書"));
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Cell(t, 2, kColStyle), QStringLiteral("ＭＳ ゴシック"));

    // Emptied and left, a coordinate keeps its value and the status bar says why.
    ClickCell(grid, 1, kColX1);
    input.selectAll();
    QTest::keyClick(&input, Qt::Key_Delete);
    ClickCell(grid, 2, kColStyle);
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("62.500"));
    QCOMPARE(e.window->statusBar()->currentMessage(),
             QStringLiteral("「X1」は空にできません。元の値のままです。"));

    // A menu command takes what the cell editor holds, though the focus stays in it; its
    // shortcut reaches it from the editor too.
    ClickCell(grid, 2, kColLabel);
    QTest::keyClicks(&input, QStringLiteral("Date"));
    QSignalSpy opened(e.act(cmd::kOpen), &QAction::triggered);
    QTest::keyClick(&input, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(opened.count(), 1);
    // In the cell editor the same keys act on its text: Ctrl+V puts the clipboard in it once,
    // Ctrl+Z takes that back, Ctrl+C copies what it holds.
    ClickCell(grid, 2, kColLabel);
    QApplication::clipboard()->setText(QStringLiteral("金額"));
    QTest::keyClicks(&input, QStringLiteral("Sum"));
    const QString held = input.text();
    QTest::keyClick(&input, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(input.text(), QStringLiteral("金額"));
    QTest::keyClick(&input, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(input.text(), held);
    QTest::keyClick(&input, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), held);
    QTest::keyClick(&input, Qt::Key_Escape);
    ClickCell(grid, 2, kColLabel);
    QTest::keyClicks(&input, QStringLiteral("Date"));
    e.act("tblMenu14")->trigger();  // generate the source
    QCOMPARE(Cell(t, 2, kColLabel), QStringLiteral("Date"));
    QVERIFY(e.window->sourceWindow().findChild<QPlainTextEdit*>()->toPlainText().contains(
        QStringLiteral("'Date")));

    // A ring's cells are never edited in place.
    int ring = 0;
    for (int r = 1; r <= t.itemCount() && !ring; ++r) {
      if (t.cell(r, kColKind) == "ﾘﾝｸﾞ") ring = r;
    }
    QVERIFY(ring > 0);
    ClickCell(grid, ring, kColX1);
    QVERIFY(!input.isVisible());
  }

  // A row picked in a design taller than the window is scrolled into view, and the page then
  // has the keys. Delete acts on the page's selection from the code window too (while no cell
  // is edited), as the guide promises.
  void pickedRowShowsAndDeleteWorksFromEitherWindow() {
    test::DesignBuilder d;
    for (const double y : {10.0, 150.0, 270.0}) d.box(20, y, 60, y + 10, "0", "");
    const QString path = tmp_->filePath(QStringLiteral("tall.qfd"));
    QVERIFY(SaveDesign(d.design, path.toStdString()).ok());
    App e(tmp_->path());
    e.prompter.openPaths = {path};
    e.act(cmd::kOpen)->trigger();
    DesignWindow& design = e.window->designWindow();
    design.resize(300, 200);
    QCoreApplication::processEvents();
    CellGrid& grid = e.window->codeWindow().grid();
    const auto shows = [&](int row) {
      const WorkingRect b = e.ctx.editor.selectionBox(row);
      const QRect px = design.canvas().pixelsOf(NormalisedRect(b.x1, b.y1, b.x2, b.y2));
      const QRect seen(design.canvas().mapFrom(design.viewport(), QPoint(0, 0)),
                       design.viewport()->size());
      return seen.contains(px);
    };
    QCOMPARE(design.verticalScrollBar()->value(), 0);
    DoubleClickCell(grid, 3, kColKind);
    QVERIFY(shows(3));
    QVERIFY(design.verticalScrollBar()->value() > 0);
    QVERIFY(design.canvas().hasFocus());
    DoubleClickCell(grid, 1, kColKind);
    QVERIFY(shows(1));

    // The keys in the code window after Esc, every object chosen by Ctrl+A: Delete deletes
    // them all, one undo step.
    ClickCell(grid, 2, kColLabel);
    QVERIFY(grid.cellEditor().isVisible());
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    QVERIFY(grid.hasFocus());
    e.act(cmd::kSelectAll)->trigger();
    QCOMPARE(e.ctx.editor.selectedRows().size(), size_t{3});
    QTest::keyClick(&grid, Qt::Key_Delete);
    QCOMPARE(e.ctx.design.objects.itemCount(), 0);
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(e.ctx.design.objects.itemCount(), 3);
    // With nothing chosen, Delete in the grid deletes nothing: 削除 is for rows.
    e.ctx.editor.escape();
    QTest::keyClick(&grid, Qt::Key_Delete);
    QCOMPARE(e.ctx.design.objects.itemCount(), 3);
    // While a cell is edited, Delete is the editor's.
    e.act(cmd::kSelectAll)->trigger();
    ClickCell(grid, 2, kColLabel);
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Delete);
    QCOMPARE(e.ctx.design.objects.itemCount(), 3);
  }

  void codeWindowRowsSwapDeleteInsertAndPick() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    CodeWindow& code = e.window->codeWindow();
    CellGrid& grid = code.grid();
    const TextTable& t = e.ctx.design.objects;
    const int count = t.itemCount();
    const QString two = Cell(t, 2, kColLabel);
    const QString five = Cell(t, 5, kColLabel);

    ClickCell(grid, 2, kColKind);
    Click(&code, "cmdSwap");
    QCOMPARE(Guide(e), QStringLiteral("入替先の行をクリックして下さい。"));
    ClickCell(grid, 5, kColKind);
    QCOMPARE(Cell(t, 2, kColLabel), five);
    QCOMPARE(Cell(t, 5, kColLabel), two);
    QCOMPARE(Cell(t, 2, kColNumber), QStringLiteral("2"));
    QCOMPARE(code.currentRow(), 5);  // the row clicked last, as the grid shows it
    QVERIFY(Guide(e).isEmpty());
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    ClickCell(grid, 3, kColKind);
    Click(&code, "cmdDel");  // no question asked
    QCOMPARE(t.itemCount(), count - 1);
    QVERIFY(e.prompter.messages.isEmpty());
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    Click(&code, "cmdIns");
    QCOMPARE(Guide(e), QStringLiteral("挿入モード中：オブジェクトを追加して下さい。"));
    QVERIFY(e.ctx.editor.insertMode());

    // A double-click picks the row's object in the design window.
    DoubleClickCell(grid, 1, kColKind);
    QCOMPARE(Cell(t, 1, kColNumber), QStringLiteral("●1"));
    QCOMPARE(e.ctx.editor.selectedRows().size(), size_t{1});
    QCOMPARE(Guide(e), QStringLiteral("オブジェクト選択中：[Delete]キーでオブジェクトの削除"));
    QCOMPARE(e.window->findChild<QMdiArea*>()->activeSubWindow()->widget(),
             static_cast<QWidget*>(&e.window->designWindow()));
    // Undo brings the deleted row back; the selection follows its object.
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(t.itemCount(), count);
    QCOMPARE(Cell(t, 1, kColNumber), QStringLiteral("●1"));
    QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{1});
    e.ctx.editor.escape();
    QCOMPARE(Cell(t, 1, kColNumber), QStringLiteral("1"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // 削除 on the second-to-last row, then again: the row that moved up goes too; then the
    // grid shows the row above chosen, and 削除 takes that one.
    const QString last = Cell(t, count, kColLabel);
    const QString third = Cell(t, count - 2, kColLabel);
    ClickCell(grid, count - 1, kColKind);
    Click(&code, "cmdDel");
    QCOMPARE(Cell(t, count - 1, kColLabel), last);
    Click(&code, "cmdDel");
    QCOMPARE(t.itemCount(), count - 2);
    QCOMPARE(Cell(t, count - 2, kColLabel), third);
    QCOMPARE(code.currentRow(), count - 2);
    QCOMPARE(e.window->codeWindow().findChild<QLabel*>(QStringLiteral("lblNum"))->text(),
             QString::number(count - 2));
    Click(&code, "cmdDel");
    QCOMPARE(t.itemCount(), count - 3);
  }

  // A row dragged by its number moves in the list as one step; a drag into a repeat block is
  // refused, and the status bar says why.
  void codeWindowRowsDragByTheirNumbers() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    CellGrid& grid = e.window->codeWindow().grid();
    e.window->codeWindow().parentWidget()->resize(700, 600);  // every row in sight
    QHeaderView* numbers = grid.verticalHeader();
    const TextTable& t = e.ctx.design.objects;
    auto labels = [&t](int first, int last) {
      QStringList l;
      for (int r = first; r <= last; ++r) l << Cell(t, r, kColLabel);
      return l.join(QLatin1Char(' '));
    };
    auto drag = [&](int from, int onto) {
      const int x = numbers->width() / 2;
      // From the middle of the number: near its edges a press resizes the row instead.
      const QPoint start(
          x, numbers->sectionViewportPosition(from - 1) + numbers->sectionSize(from - 1) / 2);
      const QPoint end(
          x, numbers->sectionViewportPosition(onto - 1) + numbers->sectionSize(onto - 1) - 3);
      QTest::mousePress(numbers->viewport(), Qt::LeftButton, {}, start);
      for (int step = 1; step <= 8; ++step) {
        QTest::mouseMove(numbers->viewport(), start + (end - start) * step / 8);
      }
      QTest::mouseRelease(numbers->viewport(), Qt::LeftButton, {}, end);
    };
    // The headers are measured in their own font; the bold of a selected row's number and
    // column's caption still fits.
    QFont bold = numbers->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    QHeaderView* captions = grid.horizontalHeader();
    QVERIFY(captions->height() >= fm.height());
    QVERIFY(numbers->width() >= fm.horizontalAdvance(QString::number(t.itemCount())));
    for (int c = 0; c < captions->count(); ++c) {
      QVERIFY(captions->sectionSize(c) >= fm.horizontalAdvance(Cell(t, 0, c + 1)));
    }
    // The captions' height is measured once, and again when a caption or the font changes.
    TextTable small(3, {"", "名前", "値"});
    small.appendRow();
    CellGrid own(small, QStringLiteral("fxgOwn"), QStringLiteral("表"));
    QHeaderView* heads = own.horizontalHeader();
    const int oneLine = heads->sizeHint().height();
    small.setCell(0, 2, "値\n2");
    QVERIFY(heads->sizeHint().height() > oneLine);
    small.setCell(0, 2, "値");
    QCOMPARE(heads->sizeHint().height(), oneLine);
    const QFont font = heads->font();
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    heads->setFont(larger);
    QVERIFY(heads->sizeHint().height() > oneLine);
    heads->setFont(font);
    QCOMPARE(heads->sizeHint().height(), oneLine);
    // The selected row's number stands out.
    grid.clearSelection();
    const QImage plainNumbers = numbers->grab().toImage();
    grid.setCurrentIndex(grid.model()->index(0, 1));
    QVERIFY(numbers->grab().toImage() != plainNumbers);
    // Rows as compact as the list's text allows: a screenful shows as many as it can.
    QVERIFY(numbers->sectionSize(0) <= grid.fontMetrics().height() + 4);
    const QString before = labels(1, 14);
    drag(1, 3);  // 表題 dropped on 区切り's lower half: after it
    QCOMPARE(labels(1, 4), QStringLiteral("日付 区切り 表題 外枠"));
    QCOMPARE(Cell(t, 3, kColNumber), QStringLiteral("3"));
    QCOMPARE(numbers->logicalIndex(0), 0);  // the header shows the list's order
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
    drag(8, 2);  // 品名 out of its block
    QCOMPARE(labels(1, 14), QStringLiteral("日付 区切り 表題 外枠 網掛け枠 明細 列 品名 印 ロゴ 列 "
                                           "金額 明細 丸"));
    QVERIFY(e.window->statusBar()->currentMessage().contains(QStringLiteral("ブロック")));
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(labels(1, 14), before);
    QVERIFY(!e.ctx.editor.canUndo());
  }

  void gridKeepsItsPlaceWhileRowsComeAndGo() {
    App e(tmp_->path());
    ObjectRecord line;
    line.Kind = ObjectKind::Line;
    line.Style.assign(1, '0');
    for (int i = 0; i < 200; ++i) e.ctx.editor.addObject(line, {20, 20.0 + i, 80, 20.0 + i});
    CellGrid& grid = e.window->codeWindow().grid();
    QCoreApplication::processEvents();  // the view lays out its new rows
    grid.scrollTo(grid.model()->index(150, 0), QAbstractItemView::PositionAtTop);
    ClickCell(grid, 160, kColX1);
    QTest::keyClick(&grid.cellEditor(), Qt::Key_Escape);
    const int scrolled = grid.verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    // Deleting a row above and pasting into a cell keep the place and the current cell.
    e.ctx.editor.deleteObjectRow(3);
    QCOMPARE(grid.currentRow(), 159);
    QCOMPARE(grid.verticalScrollBar()->value(), scrolled);
    QApplication::clipboard()->setText(QStringLiteral("55"));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Cell(e.ctx.design.objects, 159, kColX1), QStringLiteral("55.000"));
    QCOMPARE(grid.currentRow(), 159);
    QCOMPARE(grid.verticalScrollBar()->value(), scrolled);
    // Enter opens the editor on the cell's text.
    QTest::keyClick(&grid, Qt::Key_Return);
    QVERIFY(grid.cellEditor().isVisible());
    QCOMPARE(grid.cellEditor().text(), QStringLiteral("55.000"));
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

QF_UI_TEST_MAIN(ListWindowsTest)

#include "list_windows_test.moc"
