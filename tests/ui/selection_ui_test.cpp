// Selecting, moving, editing and cutting objects with the mouse and keys, as a person does.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

#include "document/design_file.h"
#include "document/object_rows.h"
#include "platform/qt_fonts.h"
#include "support/random_design.h"
#include "ui/cell_grid.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui_fixture.h"

using namespace qf;
using namespace qf::test;

namespace {

size_t Selected(App& e) {
  return e.ctx.editor.selectedRows().size();
}

}  // namespace

// The shapes a widget's pointer takes, in order.
struct CursorShapes : QObject {
  explicit CursorShapes(QWidget& widget) { widget.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::CursorChange) {
      seen << static_cast<QWidget*>(watched)->cursor().shape();
    }
    return false;
  }
  QList<Qt::CursorShape> seen;
};

class SelectionUiTest : public QObject {
  Q_OBJECT

 private:
  // Two boxes and a text on a page snapped to 5 mm from the margins 15 and 10, opened.
  void openThree(App& e) {
    Design d;
    ObjectRecord box;
    box.Kind = ObjectKind::Box;
    box.Text = "0";
    box.Style = "0";
    box.Size = 1;
    AddObject(d.objects, box, {30, 30, 50, 40}, {}, 1);
    AddObject(d.objects, box, {60, 50, 80, 60}, {}, 1);
    ObjectRecord text;
    text.Kind = ObjectKind::Text;
    text.Text = "合計";
    text.Style = "ＭＳ 明朝";
    text.Size = 12;
    AddObject(d.objects, text, {100, 100, 100, 100}, {10, 5}, 1);
    RenumberRows(d.objects);
    QVERIFY(SaveDesign(d, tmp_->filePath(QStringLiteral("three.qfd")).toStdString()).ok());
    e.prompter.openPaths = {tmp_->filePath(QStringLiteral("three.qfd"))};
    e.act(cmd::kOpen)->trigger();
  }

  std::unique_ptr<QTemporaryDir> tmp_;

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  void selectMoveEditCutPasteDeleteAndUndo() {
    App e(tmp_->path());
    openThree(e);
    const TextTable& t = e.ctx.design.objects;
    Mouse mouse(e);
    auto* guide = e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"));

    // A frame around both boxes selects them.
    mouse.drag(25, 25, 85, 65);
    QCOMPARE(Selected(e), size_t{2});
    QCOMPARE(guide->text(), QStringLiteral("ブロック選択中：[Delete]キーでオブジェクトの削除"));
    QCOMPARE(Cell(t, 1, kColNumber), QStringLiteral("●1"));
    QCOMPARE(e.window->designWindow().canvas().cursor().shape(), Qt::CrossCursor);
    // Dragged from inside their bounds, both move 10 mm right and 5 down; the pointer waits
    // while the release is worked through.
    CursorShapes shapes(e.window->designWindow().canvas());
    mouse.drag(55, 45, 65, 50);
    QVERIFY(shapes.seen.contains(Qt::WaitCursor));
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("40.000"));
    QCOMPARE(Cell(t, 2, kColY2), QStringLiteral("65.000"));
    QCOMPARE(Selected(e), size_t{0});
    QCOMPARE(e.window->designWindow().canvas().cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // One box chosen by a click on its corner; the right button opens the pop-up menu, and
    // "ﾌﾟﾛﾊﾟﾃｨ" its dialog.
    mouse.drag(41, 36, 41, 36);  // snapped onto the corner 40, 35
    QCOMPARE(Selected(e), size_t{1});
    QTimer::singleShot(0, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      QCOMPARE(menu->objectName(), QString(cmd::kPopupMenu));
      QTest::keyClick(menu, Qt::Key_Down);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmBox"));
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtWidth"))->text(), QStringLiteral("1"));
      Type(d, "txtWidth", QStringLiteral("3"));
      Click(d, "cmdOK");
    });
    QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(45, 37));
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("3"));
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("40.000"));  // same place
    QCOMPARE(Selected(e), size_t{0});
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // Copy and paste from the Edit menu while the design window is active: two grid steps.
    e.act(cmd::kDesignWindow)->trigger();
    mouse.drag(95, 95, 105, 105);
    QCOMPARE(Selected(e), size_t{1});
    e.act(cmd::kCopy)->trigger();
    e.act(cmd::kPaste)->trigger();
    QCOMPARE(t.itemCount(), 4);
    QCOMPARE(Cell(t, 4, kColX1), QStringLiteral("110.000"));
    QCOMPARE(Cell(t, 4, kColText), QStringLiteral("合計"));
    QCOMPARE(Selected(e), size_t{1});  // the copy stays selected
    // The arrow keys move it a grid step, Shift a tenth of one.
    QTest::keyClick(&mouse.canvas, Qt::Key_Right);
    QTest::keyClick(&mouse.canvas, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(Cell(t, 4, kColX1), QStringLiteral("115.000"));
    QCOMPARE(Cell(t, 4, kColY1), QStringLiteral("110.500"));
    // Delete removes it; Escape clears a selection.
    QTest::keyClick(&mouse.canvas, Qt::Key_Delete);
    QCOMPARE(t.itemCount(), 3);
    mouse.drag(25, 25, 45, 45);
    QCOMPARE(Selected(e), size_t{1});
    QTest::keyClick(&mouse.canvas, Qt::Key_Escape);
    QCOMPARE(Selected(e), size_t{0});
    QCOMPARE(Cell(t, 1, kColNumber), QStringLiteral("1"));

    // Cut, then paste with the code window active: nothing happens there.
    mouse.drag(25, 25, 45, 45);
    e.act(cmd::kCut)->trigger();
    QCOMPARE(t.itemCount(), 2);
    e.act(cmd::kCodeWindow)->trigger();
    e.act(cmd::kPaste)->trigger();
    QCOMPARE(t.itemCount(), 2);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // Undo goes back step by step.
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(t.itemCount(), 3);
    e.act(cmd::kUndo)->trigger();  // the delete
    e.act(cmd::kUndo)->trigger();  // the shifted arrow
    QCOMPARE(Cell(t, 4, kColY1), QStringLiteral("110.000"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // At 50 % the text dialog's preview shows the object's font at half its size; Cancel
    // leaves the object selected.
    e.window->findChild<QComboBox*>(QStringLiteral("cmbPer"))->setCurrentIndex(6);  // "50%"
    QCOMPARE(e.ctx.view.zoom, 50);
    mouse.drag(95, 95, 105, 105);
    QCOMPARE(Selected(e), size_t{1});
    QTimer::singleShot(0, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      QTest::keyClick(menu, Qt::Key_Down);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmText"));
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblPrev"))->font().pointSizeF(), 6.0);
      Click(d, "cmdCan");
    });
    QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(101, 101));
    QCOMPARE(Selected(e), size_t{1});
    QCOMPARE(Cell(t, 3, kColNumber), QStringLiteral("●3"));
  }

  // A click chooses the object there, Shift+click adds or takes out, Ctrl+A takes them all
  // and Tab goes round them, each shown by its marks and by the code window's "●".
  void clickShiftClickSelectAllAndTab() {
    App e(tmp_->path());
    openThree(e);
    const TextTable& t = e.ctx.design.objects;
    Mouse mouse(e);
    using Rows = std::vector<int>;
    auto click = [&](double x, double y, Qt::KeyboardModifiers keys = {}) {
      QTest::mouseClick(&mouse.canvas, Qt::LeftButton, keys, mouse.at(x, y));
      return e.ctx.editor.selectedRows();
    };
    QCOMPARE(click(42, 36), Rows{1});
    QCOMPARE(click(72, 56, Qt::ShiftModifier), (Rows{1, 2}));
    QCOMPARE(Cell(t, 2, kColNumber), QStringLiteral("●2"));
    QCOMPARE(click(150, 150), Rows{});
    QTest::keyClick(&mouse.canvas, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e.ctx.editor.selectedRows(), (Rows{1, 2, 3}));
    // The code window shows them as selected rows, and chooses by Ctrl and Shift+click.
    CellGrid& grid = e.window->codeWindow().grid();
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 3);
    auto rowClick = [&](int row, Qt::KeyboardModifiers keys) {
      const QRect cell = grid.visualRect(grid.model()->index(row - 1, 2));
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, keys, cell.center());
      return e.ctx.editor.selectedRows();
    };
    QCOMPARE(rowClick(2, Qt::ControlModifier), (Rows{1, 3}));
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 2);
    QVERIFY(!grid.editorOpen());
    QCOMPARE(rowClick(1, Qt::ControlModifier), Rows{3});
    QCOMPARE(rowClick(3, Qt::ShiftModifier), (Rows{1, 2, 3}));
    QCOMPARE(Cell(t, 2, kColNumber), QStringLiteral("●2"));
    // A Ctrl+click's release belongs to the pick, not to the plain click on its row before.
    QCOMPARE(rowClick(2, {}), (Rows{1, 2, 3}));
    QCOMPARE(rowClick(2, Qt::ControlModifier), (Rows{1, 3}));
    QVERIFY(!grid.editorOpen());
    QCOMPARE(click(150, 150), Rows{});
    QTest::keyClick(&mouse.canvas, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(e.ctx.editor.selectedRows(), Rows{3});
    QVERIFY(mouse.canvas.hasFocus());
    QTest::keyClick(&mouse.canvas, Qt::Key_Escape);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
    QVERIFY(!e.ctx.editor.canUndo());
  }

  // A box dragged near another lines up with it, a guide line shows while it does and is gone
  // when the button comes up; 設定 "ｵﾌﾞｼﾞｪｸﾄにｽﾅｯﾌﾟ" turns it off.
  void objectSnapByMouse() {
    App e(tmp_->path());
    openThree(e);
    const TextTable& t = e.ctx.design.objects;
    Mouse mouse(e);
    e.act(cmd::kSnapToGrid)->trigger();  // no grid snapping, so only the objects pull
    QVERIFY(!e.ctx.state.snapOn);
    QVERIFY(e.act(cmd::kSnapToObjects)->isChecked());
    const QImage& page = mouse.canvas.image();
    for (bool on : {true, false}) {
      QTest::mouseClick(&mouse.canvas, Qt::LeftButton, {}, mouse.at(70, 55));
      QCOMPARE(e.ctx.editor.selectedRows(), std::vector<int>{2});
      // By its centre, until its left edge is 0.6 mm right of the first box's right edge.
      QTest::mousePress(&mouse.canvas, Qt::LeftButton, {}, mouse.at(70, 55));
      QTest::mouseMove(&mouse.canvas, mouse.at(65, 50));
      QTest::mouseMove(&mouse.canvas, mouse.at(60.6, 45));
      // The guide runs down x = 50 from the first box to the dragged one: magenta over the
      // first box's black edge as over white paper, laid over the page and never drawn into it.
      const QImage seen = mouse.canvas.grab().toImage();
      const auto magentaNear = [](const QImage& image, QPoint at) {
        bool found = false;
        for (int dx = -1; dx <= 1; ++dx) {
          found = found || (image.pixel(at.x() + dx, at.y()) & 0xFFFFFFu) == 0xFF00FFu;
        }
        return found;
      };
      for (const QPoint at : {mouse.at(50, 35), mouse.at(50, 40), mouse.at(50, 43)}) {
        QCOMPARE(magentaNear(seen, at), on);
        QVERIFY(!magentaNear(page, at));
      }
      QTest::mouseRelease(&mouse.canvas, Qt::LeftButton, {}, mouse.at(60.6, 45));
      QVERIFY(!magentaNear(mouse.canvas.grab().toImage(), mouse.at(50, 35)));  // gone with it
      // Off, it stays where the pointer put it (a pixel holds about a quarter of a millimetre).
      QCOMPARE(Cell(t, 2, kColX1) == QStringLiteral("50.000"), on);
      QCOMPARE(mouse.canvas.image(), FullPage(e));
      e.act(cmd::kUndo)->trigger();  // back where it was
      QCOMPARE(Cell(t, 2, kColX1), QStringLiteral("60.000"));
      e.act(cmd::kSnapToObjects)->trigger();
      QCOMPARE(e.ctx.state.objectSnap, !on);
    }
  }

  // Properties, then OK without a change, gives back every object of every kind as it was:
  // the dialog shows each field the record holds (flags, style, alignment, colour) and OK
  // writes the same back.
  void propertiesOkKeepsEveryKindAsItWas() {
    const QString path = tmp_->filePath(QStringLiteral("kinds.qfd"));
    {
      test::RandomDesigns random(11);
      Design d;
      random.settings(d);
      d.page.scaleMode = 6;
      for (int i = 0; i < 15; ++i) {
        ObjectKind kind = static_cast<ObjectKind>(1 + i % 6);
        if (kind == ObjectKind::Command) kind = ObjectKind::Text;
        ObjectRecord r = random.record(kind, {1});
        if (kind == ObjectKind::Text) r.Text = "合計" + std::to_string(i);  // one line
        r.X1 = 20 + 12 * (i % 5);
        r.Y1 = 20 + 40 * (i / 5);
        r.X2 = r.X1 + 8;
        r.Y2 = r.Y1 + 6;
        AddObject(d.objects, r, {r.X1, r.Y1, r.X2, r.Y2}, {5, 3}, 1);
      }
      RenumberRows(d.objects);
      QVERIFY(SaveDesign(d, path.toStdString()).ok());
    }
    App e(tmp_->path());
    e.prompter.openPaths = {path};
    e.act(cmd::kOpen)->trigger();
    const TextTable before = e.ctx.design.objects;
    Mouse mouse(e);
    for (int row = 1; row <= before.itemCount(); ++row) {
      QVERIFY(e.ctx.editor.selectObjectRow(row));
      QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
      });
      OnModal([](QWidget* d) { Click(d, "cmdOK"); });
      QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(5, 5));
      QCOMPARE(Selected(e), size_t{0});
      for (int col = 1; col < kObjectColumns; ++col) {
        QVERIFY2(
            Cell(e.ctx.design.objects, row, col) == Cell(before, row, col),
            qPrintable(QStringLiteral("row %1 column %2: %3 became %4")
                           .arg(row)
                           .arg(col)
                           .arg(Cell(before, row, col), Cell(e.ctx.design.objects, row, col))));
      }
    }
    QVERIFY(!e.ctx.editor.modified());
  }
};

QF_UI_TEST_MAIN(SelectionUiTest)

#include "selection_ui_test.moc"
