// Adding objects as a person does: a toolbar button, the kind's dialog, a drag on the page.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"
#include "ui/cell_grid.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/translations.h"
#include "ui_fixture.h"
#include "view/renderer.h"

using namespace qf;
using namespace qf::test;

namespace {

void ClickTool(App& e, const char* name) {
  auto* bar = e.window->findChild<QToolBar*>(QStringLiteral("tblMenu"));
  QWidget* button = bar->widgetForAction(e.act(name));
  QVERIFY2(button, name);
  QTest::mouseClick(button, Qt::LeftButton);
}

// A drag on the page from one point to another, in millimetres.
void DragOn(App& e, QPointF from, QPointF to) {
  DesignCanvas& canvas = e.window->designWindow().canvas();
  const double px = canvas.width() / e.ctx.view.page.scaleWidth;
  const QPoint a(int(from.x() * px + 1), int(from.y() * px + 1));
  const QPoint b(int(to.x() * px + 1), int(to.y() * px + 1));
  QTest::mousePress(&canvas, Qt::LeftButton, {}, a);
  QTest::mouseMove(&canvas, (a + b) / 2);
  QTest::mouseMove(&canvas, b);
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, b);
}

void Choose(QWidget* d, const char* name, int index) {
  auto* box = d->findChild<QComboBox*>(QString::fromLatin1(name));
  QVERIFY2(box, name);
  box->setCurrentIndex(index);
}

// A check box or option button, clicked on its mark.
void Tick(QWidget* d, const char* name) {
  auto* box = d->findChild<QAbstractButton*>(QString::fromLatin1(name));
  QVERIFY2(box, name);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// The box that has the dialog's focus.
QString FocusName(QWidget* dialog) {
  QWidget* w = dialog->focusWidget();
  return w ? w->objectName() : QString();
}

QString Run(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(QF_QUILLFORM), args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class AddObjectsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  void eachKindIsAddedByItsDialogAndADrag() {
    App e(tmp_->path());
    const TextTable& t = e.ctx.design.objects;
    auto* guide = e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"));
    auto* size = e.window->findChild<QLabel*>(QStringLiteral("lblSize"));

    // A text: OK with no text keeps the dialog open with the focus in the text box.
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmText"));
      Click(d, "cmdOK");
      QVERIFY(d->isVisible());
      QCOMPARE(FocusName(d), QStringLiteral("txtText"));
      Type(d, "txtText", QStringLiteral("Invoice"));
      Type(d, "txtFSize", QStringLiteral("12pt"));
      Click(d, "cmdOK");
      QCOMPARE(FocusName(d), QStringLiteral("txtFSize"));
      Type(d, "txtFSize", QStringLiteral("18"));
      Click(d, "lblFProp0");  // bold
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolText);
    QVERIFY(e.ctx.editor.waiting());
    QCOMPARE(guide->text(),
             QStringLiteral("テキスト・オブジェクトの追加：ドラッグ＆ドロップで座標固定"));
    const QImage empty = e.window->designWindow().canvas().image().copy();
    // While it is dragged the text follows the pointer as a label in its font.
    DesignCanvas& canvas = e.window->designWindow().canvas();
    auto* follower = canvas.findChild<QLabel*>(QStringLiteral("lblText"));
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseMove(&canvas, QPoint(80, 90));
    QVERIFY(follower->isVisible());
    QCOMPARE(follower->text(), QStringLiteral("Invoice"));
    // Drawn in the text's colour (black), not white on the page.
    const QImage shown = follower->grab().toImage();
    bool dark = false;
    for (int y = 0; y < shown.height() && !dark; ++y) {
      for (int x = 0; x < shown.width() && !dark; ++x) dark = qGray(shown.pixel(x, y)) < 80;
    }
    QVERIFY(dark);
    QVERIFY(follower->font().bold());
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(80, 90));
    QVERIFY(!follower->isVisible());
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(t.itemCount(), 0);
    QCOMPARE(canvas.image(), empty);
    // Again, and this time kept.
    OnModal([](QWidget* d) { Click(d, "cmdOK"); });
    ClickTool(e, cmd::kToolText);
    DragOn(e, {100, 100}, {31, 42});  // lands where the button comes up, snapped
    QCOMPARE(t.itemCount(), 1);
    QCOMPARE(Cell(t, 1, kColText), QStringLiteral("Invoice"));
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("30.000"));
    QCOMPARE(Cell(t, 1, kColY1), QStringLiteral("40.000"));
    QCOMPARE(Cell(t, 1, kColBold), QStringLiteral("■"));
    QVERIFY(Cell(t, 1, kColX2).toDouble() > 10);  // measured
    QCOMPARE(e.window->codeWindow().grid().model()->rowCount(), 1);
    QVERIFY(e.window->designWindow().canvas().image() != empty);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
    QVERIFY(guide->text().isEmpty());
    QVERIFY(e.ctx.editor.modified());

    // A box from lower right to upper left, rounded; the drag size shows on the way.
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmBox"));
      Choose(d, "cmbDiza", 3);
      QVERIFY(!d->findChild<QCheckBox*>(QStringLiteral("chkRnd"))->isEnabled());
      Choose(d, "cmbDiza", 0);
      Tick(d, "chkRnd");
      QVERIFY(!d->findChild<QComboBox*>(QStringLiteral("cmbDiza"))->isEnabled());
      Type(d, "txtRnd", QStringLiteral("3"));
      d->findChild<QLineEdit*>(QStringLiteral("txtWidth"))->clear();
      Click(d, "cmdOK");
      QCOMPARE(FocusName(d), QStringLiteral("txtWidth"));
      Type(d, "txtWidth", QStringLiteral("2"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolBox);
    DragOn(e, {120, 90}, {60, 60});
    QCOMPARE(t.itemCount(), 2);
    QCOMPARE(Cell(t, 2, kColX1), QStringLiteral("120.000"));
    QCOMPARE(Cell(t, 2, kColX2), QStringLiteral("60.000"));
    QCOMPARE(Cell(t, 2, kColField), QStringLiteral("3.000"));
    QCOMPARE(size->text(), QStringLiteral("60.000 x 30.000"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // A second box shows what the first was given; Cancel changes nothing.
    OnModal([](QWidget* d) {
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtWidth"))->text(), QStringLiteral("2"));
      QVERIFY(d->findChild<QCheckBox*>(QStringLiteral("chkRnd"))->isChecked());
      Click(d, "cmdCan");
    });
    ClickTool(e, cmd::kToolBox);
    QVERIFY(!e.ctx.editor.waiting());
    QCOMPARE(t.itemCount(), 2);

    // A hatched ring, then cancelled by the right button before it is placed.
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmRing"));
      Choose(d, "cmbDiza", 1);
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolRing);
    QCOMPARE(guide->text(),
             QStringLiteral("リング・オブジェクトの追加：ドラッグ＆ドロップで座標固定"));
    QTest::mouseClick(&e.window->designWindow().canvas(), Qt::RightButton);
    QVERIFY(!e.ctx.editor.waiting());
    DragOn(e, {20, 150}, {60, 180});
    QCOMPARE(t.itemCount(), 2);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    // A line, then Ctrl+Z takes it away as one step.
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmLine"));
      QVERIFY(!d->findChild<QComboBox*>(QStringLiteral("cmbDiza")));
      Choose(d, "cmbTyp", 2);
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolLine);
    DragOn(e, {20, 200}, {150, 200});
    QCOMPARE(Cell(t, 3, kColStyle), QStringLiteral("点線"));
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(t.itemCount(), 2);
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));
  }

  // A barcode: its dialog shows the symbol or why the value cannot print, a drag places it;
  // a value it cannot carry is crossed out on the page with the reason in the guide, and the
  // pop-up menu's properties change it.
  void aBarcodeIsAddedRefusedAndEdited() {
    App e(tmp_->path());
    const TextTable& t = e.ctx.design.objects;
    auto* guide = e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"));
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmBarcode"));
      auto* reason = d->findChild<QLabel*>(QStringLiteral("lblReason"));
      QCOMPARE(reason->text(), QStringLiteral("値がありません"));
      Type(d, "txtValue", QStringLiteral("49012345678A"));
      QCOMPARE(reason->text(), QStringLiteral("JAN には数字しか使えません"));
      Type(d, "txtValue", QStringLiteral("490123456789"));
      QCOMPARE(reason->text(), QString());
      Type(d, "txtSize", QStringLiteral("-1"));
      Click(d, "cmdOK");
      QCOMPARE(FocusName(d), QStringLiteral("txtSize"));
      Type(d, "txtSize", QStringLiteral("0"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolBarcode);
    QCOMPARE(guide->text(),
             QStringLiteral("バーコード・オブジェクトの追加：ドラッグ＆ドロップで座標固定"));
    DragOn(e, {20, 20}, {80, 45});
    QCOMPARE(t.itemCount(), 1);
    QCOMPARE(Cell(t, 1, kColKind), QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    QCOMPARE(Cell(t, 1, kColStyle), QStringLiteral("JAN13"));
    QCOMPARE(Cell(t, 1, kColText), QStringLiteral("490123456789"));
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("0"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    QVERIFY(e.ctx.editor.commitObjectCell(1, kColText, "ABC"));
    QVERIFY(e.ctx.editor.selectObjectRow(1));
    QCOMPARE(guide->text(),
             QStringLiteral("バーコードを印刷できません：JAN には数字しか使えません"));
    QCOMPARE(e.window->designWindow().canvas().image(), PageWithMarks(e));

    QTimer::singleShot(0, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      QTest::keyClick(menu, Qt::Key_Down);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    OnModal([](QWidget* d) {
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtValue"))->text(), QStringLiteral("ABC"));
      Choose(d, "cmbSymbol", 6);
      // Typed through an input method: the text arrives whole.
      d->findChild<QLineEdit*>(QStringLiteral("txtValue"))
          ->setText(QStringLiteral("請求書 No.0123"));
      Click(d, "cmdOK");
    });
    Mouse mouse(e);
    QTest::mouseClick(&mouse.canvas, Qt::RightButton, {}, mouse.at(50, 30));
    QCOMPARE(Cell(t, 1, kColStyle), QStringLiteral("QR"));
    QCOMPARE(Cell(t, 1, kColText), QStringLiteral("請求書 No.0123"));
    QCOMPARE(Cell(t, 1, kColX1), QStringLiteral("20.000"));  // same place
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(Cell(t, 1, kColText), QStringLiteral("ABC"));
  }

  void aFormFromScratchIsSavedAndGenerated() {
    App e(tmp_->path());
    const TextTable& t = e.ctx.design.objects;
    QImage pic(40, 30, QImage::Format_RGB32);
    pic.fill(Qt::darkCyan);
    const QString picture = tmp_->filePath(QStringLiteral("logo.png"));
    QVERIFY(pic.save(picture));
    e.prompter.answers = {kMsgOk};
    e.act(cmd::kNew)->trigger();

    OnModal([](QWidget* d) {
      Type(d, "txtLabel", QStringLiteral("title"));
      Type(d, "txtText", QStringLiteral("Invoice"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolText);
    DragOn(e, {30, 30}, {30, 30});
    OnModal([](QWidget* d) { Click(d, "cmdOK"); });
    ClickTool(e, cmd::kToolLine);
    DragOn(e, {15, 50}, {195, 50});
    OnModal([](QWidget* d) {
      Choose(d, "cmbDiza", 0);
      if (!d->findChild<QCheckBox*>(QStringLiteral("chkRnd"))->isChecked()) Tick(d, "chkRnd");
      Type(d, "txtRnd", QStringLiteral("4"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolBox);
    DragOn(e, {15, 60}, {195, 120});
    OnModal([](QWidget* d) {
      Choose(d, "cmbDiza", 2);
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolRing);
    DragOn(e, {40, 130}, {80, 150});
    e.prompter.openPaths = {picture};
    OnModal([&picture](QWidget* d) {
      Click(d, "cmdPic");
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtPic"))->text(), picture);
      QVERIFY(d->findChild<QLabel*>(QStringLiteral("picPrev1"))->isVisible());
      Tick(d, "chkToka");
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolPicture);
    // A PNG draws here, but the generated program's LoadPicture cannot read it: said, and kept.
    QVERIFY(e.prompter.messages.last().startsWith(QStringLiteral("PNG 形式の画像は")));
    DragOn(e, {150, 20}, {150, 20});
    QCOMPARE(t.itemCount(), 5);
    QVERIFY(e.prompter.filters.value(0).startsWith(QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ(*.BMP)|*.BMP")));

    // A repeat block around the text: a start inserted above it, an end below it.
    CellGrid& grid = e.window->codeWindow().grid();
    auto clickRow = [&grid](int row) {
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                        grid.visualRect(grid.model()->index(row - 1, 0)).center());
    };
    clickRow(1);
    Click(&e.window->codeWindow(), "cmdIns");
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmCMD"));
      d->findChild<QComboBox*>(QStringLiteral("cmbLabel"))->setEditText(QStringLiteral("rows"));
      Type(d, "txtGap", QStringLiteral("5mm"));
      Click(d, "cmdOK");
      QCOMPARE(FocusName(d), QStringLiteral("txtGap"));
      Type(d, "txtGap", QStringLiteral("6"));
      Type(d, "txtLoop", QStringLiteral("3"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolCommand);
    QCOMPARE(Cell(t, 1, kColKind), QStringLiteral("ｺﾏﾝﾄﾞ"));
    QCOMPARE(Cell(t, 2, kColText), QStringLiteral("Invoice"));
    clickRow(3);
    Click(&e.window->codeWindow(), "cmdIns");
    OnModal([](QWidget* d) {
      auto* labels = d->findChild<QComboBox*>(QStringLiteral("cmbLabel"));
      QCOMPARE(labels->count(), 1);  // the start of this layer
      labels->setCurrentIndex(0);
      emit labels->activated(0);
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtGap"))->text(), QStringLiteral("6.000"));
      Tick(d, "optMode1");
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolCommand);
    QCOMPARE(t.itemCount(), 7);
    QCOMPARE(Cell(t, 3, kColText), QStringLiteral("終了"));
    QCOMPARE(e.window->designWindow().canvas().image(), FullPage(e));

    const QString file = tmp_->filePath(QStringLiteral("form.qfd"));
    e.prompter.savePaths = {file};
    e.act(cmd::kSaveAs)->trigger();
    QVERIFY(!e.ctx.editor.modified());
    const QString dump = Run({QStringLiteral("--dump"), file});
    for (const char* expected :
         {"Invoice", "ﾗｲﾝ", "4.000", "ﾘﾝｸﾞ", "色２", "logo.png", "透過", "開始", "終了", "rows"}) {
      QVERIFY2(dump.contains(QString::fromUtf8(expected)), expected);
    }
    const QString source = Run({QStringLiteral("--source"), file});
    QVERIFY2(source.contains(QStringLiteral("For sngI= 0 To 3")), qPrintable(source));
    QVERIFY(source.contains(QStringLiteral("\"Invoice\"")));
    QVERIFY(source.contains(QStringLiteral("F_RndBox")));
    QVERIFY(source.contains(QStringLiteral("PaintPicture")));
  }

  void dialogsTakeFontsColoursPicturesAndEditCommands() {
    App e(tmp_->path());
    // The font dialog starts from the preview's font and gives back name, size and styles;
    // the colour dialog is titled "表示色指定" and pure red reads &H000000FF&.
    QFont chosen(QStringLiteral("Noto Serif CJK JP"));
    chosen.setPointSizeF(14);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    e.prompter.fonts = {chosen};
    e.prompter.colors = {QColor(255, 0, 0)};
    OnModal([](QWidget* d) {
      Type(d, "txtFSize", QStringLiteral("9"));
      Click(d, "cmdFont");
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtFName"))->text(),
               QStringLiteral("Noto Serif CJK JP"));
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtFSize"))->text(), QStringLiteral("14"));
      QVERIFY(d->findChild<QAbstractButton*>(QStringLiteral("lblFProp1"))->isChecked());
      QVERIFY(d->findChild<QAbstractButton*>(QStringLiteral("lblFProp3"))->isChecked());
      QVERIFY(!d->findChild<QAbstractButton*>(QStringLiteral("lblFProp0"))->isChecked());
      Click(d, "cmdColor");
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtColor"))->text(),
               QStringLiteral("&H000000FF&"));
      Click(d, "cmdCan");
    });
    ClickTool(e, cmd::kToolText);
    QCOMPARE(e.prompter.fontsOffered.value(0).pointSizeF(), 9.0);
    // It offers the text's own font name, not the face that stands in for it here.
    QCOMPARE(e.prompter.fontsOffered.value(0).families(),
             QStringList{QStringLiteral("ＭＳ ゴシック")});
    QCOMPARE(e.prompter.colorTitles.value(0), QStringLiteral("表示色指定"));

    // A BMP is one the generated program loads: nothing to say.
    const QString bmp = tmp_->filePath(QStringLiteral("logo.bmp"));
    QImage(8, 8, QImage::Format_RGB32).save(bmp, "BMP");
    e.prompter.openPaths = {bmp};
    const qsizetype said = e.prompter.messages.size();
    OnModal([](QWidget* d) {
      Click(d, "cmdPic");
      Click(d, "cmdCan");
    });
    ClickTool(e, cmd::kToolPicture);
    QCOMPARE(e.prompter.messages.size(), said);

    // A picture smaller than the viewport shows no scroll bars; a larger one scrolls.
    const QString small = tmp_->filePath(QStringLiteral("small.png"));
    const QString large = tmp_->filePath(QStringLiteral("large.png"));
    QImage(40, 30, QImage::Format_RGB32).save(small);
    QImage(600, 90, QImage::Format_RGB32).save(large);
    OnModal([&](QWidget* d) {
      auto* path = d->findChild<QLineEdit*>(QStringLiteral("txtPic"));
      auto* across = d->findChild<QScrollBar*>(QStringLiteral("hscPic"));
      auto* down = d->findChild<QScrollBar*>(QStringLiteral("vscPic"));
      Type(d, "txtPic", small);
      QTest::keyClick(path, Qt::Key_Tab);
      QCoreApplication::processEvents();
      QVERIFY(d->findChild<QLabel*>(QStringLiteral("picPrev1"))->isVisible());
      QVERIFY(!across->isVisible() && !down->isVisible());
      Type(d, "txtPic", large);
      QTest::keyClick(path, Qt::Key_Tab);
      QCoreApplication::processEvents();  // the viewport lays out its bars
      QVERIFY(across->isVisible());
      QVERIFY(!down->isVisible());
      Type(d, "txtPic", tmp_->filePath(QStringLiteral("missing.png")));
      QTest::keyClick(path, Qt::Key_Tab);
      QVERIFY(!d->findChild<QLabel*>(QStringLiteral("picPrev1"))->isVisible());
      Click(d, "cmdCan");
    });
    ClickTool(e, cmd::kToolPicture);

    // A command row's double-click opens its dialog filled from the row; OK rewrites it, one
    // undo step.
    OnModal([](QWidget* d) {
      d->findChild<QComboBox*>(QStringLiteral("cmbLabel"))->setEditText(QStringLiteral("rows"));
      Type(d, "txtGap", QStringLiteral("7"));
      Type(d, "txtLoop", QStringLiteral("2"));
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolCommand);
    const TextTable& t = e.ctx.design.objects;
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("2"));
    CellGrid& grid = e.window->codeWindow().grid();
    const QPoint at = grid.visualRect(grid.model()->index(0, kColKind - 1)).center();
    OnModal([](QWidget* d) {
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtGap"))->text(), QStringLiteral("7.000"));
      Type(d, "txtLoop", QStringLiteral("4"));
      Click(d, "cmdOK");
    });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("4"));
    e.act(cmd::kUndo)->trigger();
    QCOMPARE(Cell(t, 1, kColSize), QStringLiteral("2"));
    // The block's end, opened after its start was: the dialog shows an end.
    OnModal([](QWidget* d) {
      auto* labels = d->findChild<QComboBox*>(QStringLiteral("cmbLabel"));
      labels->setCurrentIndex(0);
      emit labels->activated(0);
      Tick(d, "optMode1");
      Click(d, "cmdOK");
    });
    ClickTool(e, cmd::kToolCommand);
    QCOMPARE(Cell(t, 2, kColText), QStringLiteral("終了"));
    auto showsStart = [&grid](int row, bool start) {
      OnModal([start](QWidget* d) {
        QCOMPARE(d->findChild<QRadioButton*>(QStringLiteral("optMode0"))->isChecked(), start);
        QCOMPARE(d->findChild<QRadioButton*>(QStringLiteral("optMode1"))->isChecked(), !start);
        Click(d, "cmdCan");
      });
      const QPoint cell = grid.visualRect(grid.model()->index(row - 1, kColKind - 1)).center();
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
      QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    };
    showsStart(1, true);
    showsStart(2, false);
    showsStart(1, true);
  }

  void standardDialogsSpeakJapanese() {
    QVERIFY(InstallJapaneseTranslations(*QCoreApplication::instance()));
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QVERIFY2(cancel != QStringLiteral("Cancel"), qPrintable(cancel));
    QVERIFY(QCoreApplication::translate("QColorDialog", "&Basic colors") !=
            QStringLiteral("&Basic colors"));
    QVERIFY(QCoreApplication::translate("QFileDialog", "Save As") != QStringLiteral("Save As"));
  }

  void everyDialogControlHasAnAccessibleName() {
    App e(tmp_->path());
    for (const char* tool : {cmd::kToolText, cmd::kToolLine, cmd::kToolBox, cmd::kToolRing,
                             cmd::kToolPicture, cmd::kToolCommand, cmd::kToolBarcode}) {
      OnModal([tool](QWidget* d) {
        for (QWidget* w : d->findChildren<QWidget*>()) {
          const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w);
          if (!control || !w->isVisible()) continue;
          auto* button = qobject_cast<QAbstractButton*>(w);
          QVERIFY2(!w->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
                   qPrintable(QString::fromLatin1(tool) + QLatin1Char(' ') + w->objectName()));
        }
        Click(d, "cmdCan");
      });
      ClickTool(e, tool);
    }
  }

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(AddObjectsTest)

#include "add_objects_test.moc"
