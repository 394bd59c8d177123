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
    e.act(cmd::kToolSource)->trigger();  // generate the source
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

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(ListWindowsTest)

#include "list_windows_test.moc"
