// The main window's printing, export, source and settings commands, used as a person would.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "document/number_text.h"
#include "document/object_rows.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "shell/settings_file.h"
#include "shell/ui_text.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/print_preview.h"
#include "ui/qt_text.h"
#include "ui/source_window.h"
#include "ui_fixture.h"
#include "view/printing.h"

using namespace qf;
using namespace qf::test;

// The main window's printing, export, source and settings commands.
class PrintAndSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  // Every test starts afresh: its own folder, so no settings of an earlier test carry over.
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  // 試し印刷 runs the source window's program into the preview: a bold, italic, red text as the
  // base layer's last and a plain one on layer 2 print as the design prints them; a program
  // pasted back with a fault says its line.
  void trialPrintRunsTheShownSource() {
    App e(dir().path());
    ObjectRecord t;
    t.Kind = ObjectKind::Text;
    t.Text = "太字赤";
    t.Style = "ＭＳ ゴシック";
    t.Size = 14;
    t.Bold = t.Italic = t.Underline = t.Strikethrough = -1;
    t.Color = 0x0000FF;
    e.ctx.editor.addObject(t, {20, 20, 20, 20});
    e.ctx.editor.setCurrentLayer(static_cast<int16_t>(
        NumericPrefix(e.ctx.design.layers.cell(e.ctx.editor.addLayer(1), kLayerNumber))));
    t.Text = "標準";
    t.Bold = t.Italic = t.Underline = t.Strikethrough = 0;
    t.Color = 0;
    e.ctx.editor.addObject(t, {20, 40, 20, 40});
    e.act(cmd::kToolSource)->trigger();
    QImage printed;
    {
      auto port = QtPrinterPort::ForDefault();
      port->previewInto(&printed, 96);
      QVERIFY(PrintDesign(e.ctx.design, *port, e.ctx.pictures, nullptr));
    }
    auto* trial = e.window->sourceWindow().findChild<QPushButton*>(QStringLiteral("cmdTrial"));
    QVERIFY(trial && trial->accessibleName() == QStringLiteral("試し印刷"));
    OnModal([&](QWidget* d) {
      auto* preview = qobject_cast<PrintPreviewDialog*>(d);
      QVERIFY(preview);
      QCOMPARE(preview->programError(), QString());
      QVERIFY(d->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->isEnabled());
      preview->setZoom(100);
      QCOMPARE(preview->pageImage(), printed);
      Click(d, "cmdClose");
    });
    QTest::mouseClick(trial, Qt::LeftButton);
    QApplication::clipboard()->setText(
        QStringLiteral("Sub F_DataPrint()\n  Printer.Print \"a\";\n  Debug.Print \"途中\"; 1\n"
                       "  Printer.Print 1 / 0\nEnd Sub\n"));
    auto* text = e.window->sourceWindow().findChild<QPlainTextEdit*>();
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QString error;
    QString said;
    bool printable = true;
    OnModal([&](QWidget* d) {
      error = qobject_cast<PrintPreviewDialog*>(d)->programError();
      auto* messages = d->findChild<QPlainTextEdit*>(QStringLiteral("txtMessages"));
      if (messages && messages->isVisibleTo(d)) said = messages->toPlainText();
      printable = d->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->isEnabled();
      Click(d, "cmdClose");
    });
    QTest::mouseClick(trial, Qt::LeftButton);
    QCOMPARE(error,
             QStringLiteral("「ｿｰｽｳｨﾝﾄﾞｳ」の 4 行目 3 文字目（F_DataPrint）：0 で除算しました"));
    // What the program wrote to Debug shows under the page.
    QCOMPARE(said, QStringLiteral("途中 1 "));
    QVERIFY(!printable);  // it would only stop again
    // The source window shows the stopped line: the caret on it, marked.
    QCOMPARE(e.window->sourceWindow().markedLine(), 4);
    QCOMPARE(text->textCursor().blockNumber(), 3);
    QCOMPARE(text->extraSelections().size(), 1);
    // A program that prints nothing shows an empty page, no error.
    QApplication::clipboard()->setText(QStringLiteral("Sub F_DataPrint()\nEnd Sub\n"));
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    error = QStringLiteral("not run");
    OnModal([&](QWidget* d) {
      error = qobject_cast<PrintPreviewDialog*>(d)->programError();
      Click(d, "cmdClose");
    });
    QTest::mouseClick(trial, Qt::LeftButton);
    QCOMPARE(error, QString());
  }

  // The preview shows the page as printing draws it (the same walk through the same port),
  // an empty design as an empty page; it zooms, fits, pages and prints, and keeps its place.
  void printPreviewShowsThePrintedPage() {
    App e(dir().path());
    auto check = [&](bool empty) {
      OnModal([&, empty](QWidget* d) {
        auto* preview = qobject_cast<PrintPreviewDialog*>(d);
        QVERIFY(preview);
        if (empty) {
          // Opened for the first time: most of the screen, and the whole page in it.
          const QSize screen = d->screen()->availableGeometry().size();
          QVERIFY(d->height() > screen.height() / 2 && d->width() > screen.width() / 2);
          // (No narrower than its row of buttons, on a small screen.)
          QVERIFY(d->height() <= screen.height());
          QVERIFY(d->width() <= std::max(screen.width(), d->minimumSizeHint().width()));
          const QSize view =
              d->findChild<QScrollArea*>(QStringLiteral("scrPage"))->viewport()->size();
          QVERIFY(preview->pageImage().width() <= view.width());
          QVERIFY(preview->pageImage().height() <= view.height());
          QVERIFY(preview->pageImage().height() > view.height() * 3 / 4 ||
                  preview->pageImage().width() > view.width() * 3 / 4);
          preview->setZoom(100);
        }
        QImage printed;
        auto port = QtPrinterPort::ForDefault();
        port->previewInto(&printed, 96);
        QVERIFY(PrintDesign(e.ctx.design, *port, e.ctx.pictures, nullptr));
        QCOMPARE(preview->pageImage(), printed);
        const QImage& page = preview->pageImage();
        bool inked = false;
        for (int y = 0; y < page.height() && !inked; y += 2) {
          for (int x = 0; x < page.width() && !inked; x += 2) inked = qGray(page.pixel(x, y)) < 200;
        }
        QCOMPARE(inked, !empty);
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblPages"))->text(),
                 QStringLiteral("1 / 1"));
        QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("cmdNext"))->isEnabled());
        const QSize at100 = page.size();
        Click(d, "cmdZoomIn");
        QCOMPARE(preview->zoom(), 125);
        QVERIFY(preview->pageImage().width() > at100.width());
        // What is shown grows with it: the whole page, scrolled, never a corner of it.
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("picPage"))->size(),
                 preview->pageImage().size());
        Click(d, "cmdFitPage");
        QVERIFY(preview->zoom() >= 10 && preview->zoom() <= 400);
        // The width of the design's own paper (golden.qfd's A4 lies across) fills the window.
        Click(d, "cmdFitWidth");
        const int room = d->findChild<QScrollArea*>(QStringLiteral("scrPage"))->viewport()->width();
        QVERIFY(preview->pageImage().width() <= room);
        QVERIFY(preview->pageImage().width() > room * 4 / 5);
        preview->setZoom(300);
        Click(d, "cmdZoomIn");  // to the largest: no further
        QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("cmdZoomIn"))->isEnabled());
        QVERIFY(d->findChild<QPushButton*>(QStringLiteral("cmdZoomOut"))->isEnabled());
        Click(d, "cmdZoomOut");  // one step down, not to the smallest
        QCOMPARE(preview->zoom(), 300);
        // Without records there is no record range to show.
        QVERIFY(d->findChild<QLabel*>(QStringLiteral("lblRecords"))->isHidden());
        for (QWidget* w : d->findChildren<QWidget*>()) {
          if (qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w) ||
              (qobject_cast<QLabel*>(w) && !w->objectName().isEmpty())) {
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
          }
        }
        d->move(123, 45);
        if (empty) {
          Click(d, "cmdClose");
        } else {
          Click(d, "cmdPrint");  // Print asks first, as the menu's Print does
        }
      });
    };
    check(true);
    e.act(cmd::kPrintPreview)->trigger();
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    check(false);
    e.prompter.answers = {kMsgCancel};
    e.act(cmd::kToolPreview)->trigger();
    QCOMPARE(e.prompter.messages.last(), Q(kMsgPrintConfirm));
    QVERIFY(e.ctx.state.windows[kWinPreview].left > 0);
    QCOMPARE(e.act(cmd::kPrintPreview)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+P")));
  }

  // The export items write what printing draws, under the name the user takes, suggested from
  // the design's; a missing folder is reported in Japanese and leaves nothing.
  void exportItemsWriteThePrintedPage() {
    App e(dir().path());
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    const QString out = dir().filePath(QStringLiteral("out"));
    e.prompter.savePaths = {out + ".pdf", out + ".png", out + ".svg", out + "/none/x.pdf"};
    e.prompter.items_ = {5};  // 150 dpi with the grid
    for (const char* item : {cmd::kExportPdf, cmd::kExportImage, cmd::kExportSvg, cmd::kExportPdf})
      e.act(item)->trigger();
    const QStringList suggested = e.prompter.suggestedNames.mid(0, 3);
    QCOMPARE(suggested, (QStringList{Data("golden.pdf"), Data("golden.png"), Data("golden.svg")}));
    QCOMPARE(e.prompter.itemLists.size(), 1);
    QCOMPARE(e.prompter.itemLists[0].size(), 8);
    QImage png(out + ".png");
    QCOMPARE(png.size(), QSize(1754, 1240));  // A4 across at 150 dpi
    // The grid's grey lines, which printing never draws, are there: the margin's first line.
    int grey = 0;
    for (int x = 0; x < png.width(); ++x)
      grey += png.pixel(x, png.height() / 2) == qRgb(192, 192, 192);
    QVERIFY2(grey > 20, qPrintable(QString::number(grey)));
    QFile pdf(out + ".pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QFile svg(out + ".svg");
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("viewBox=\"0 0 842 595\""));
    QVERIFY(e.prompter.messages.last().contains(QStringLiteral("フォルダがありません")));
    QVERIFY(e.prompter.messages.last().contains(out + "/none/x.pdf"));
    QVERIFY(!QFileInfo::exists(out + "/none"));
  }

  void sourceWindowPublicChoiceAndKeys() {
    App e(dir().path());
    SourceWindow& source = e.window->sourceWindow();
    auto* text = source.findChild<QPlainTextEdit*>(QStringLiteral("txtSRC"));
    // The code in the designs' Gothic face at 9.75 pt, upright and plain.
    QCOMPARE(text->font().pointSizeF(), 9.75);
    QVERIFY(!text->font().italic() && !text->font().bold() && !text->font().underline());
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Private Sub F_DataPrint()")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("Gosub F_DataPrint_1")));  // subroutines
    QTest::mouseClick(source.findChild<QRadioButton*>(QStringLiteral("optMode1")), Qt::LeftButton);
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Private")));  // not regenerated yet
    e.act(cmd::kSubroutines)->trigger();  // make subroutine off: the flat variant
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Public Sub F_DataPrint()")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("Public Sub F_RndBox(")));
    QVERIFY(!text->toPlainText().contains(QStringLiteral("Gosub")));

    // A selects everything; C copies it and leaves the caret where the selection began.
    text->setFocus();
    QTest::keyClick(text, Qt::Key_A);
    QCOMPARE(text->textCursor().selectedText().size(), text->toPlainText().size());
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(
        QApplication::clipboard()->text().startsWith(QStringLiteral("Public Sub F_DataPrint()\n")));
    QVERIFY(!text->textCursor().hasSelection());
    QCOMPARE(text->textCursor().position(), 0);
    // C again, with nothing selected now: the source copied stays on the clipboard.
    QTest::keyClick(text, Qt::Key_C);
    QVERIFY(
        QApplication::clipboard()->text().startsWith(QStringLiteral("Public Sub F_DataPrint()\n")));

    // C# chosen in the window: the next ｿｰｽ生成 writes the class, which 試し印刷 cannot run;
    // the choice is the setting the settings file keeps.
    auto* language = source.findChild<QComboBox*>(QStringLiteral("cboLang"));
    auto* trial = source.findChild<QPushButton*>(QStringLiteral("cmdTrial"));
    QVERIFY(trial->isEnabled());
    language->setFocus();
    QTest::keyClick(language, Qt::Key_Down);  // as a person picks the next item
    QCOMPARE(language->currentText(), QStringLiteral("C#"));
    QCOMPARE(e.ctx.state.sourceLanguage, SourceLanguage::CSharp);
    QVERIFY(!source.findChild<QRadioButton*>(QStringLiteral("optMode1"))->isEnabled());
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(text->toPlainText().contains(QStringLiteral("public static class QfPrint")));
    QVERIFY(!text->toPlainText().contains(QStringLiteral("Sub F_DataPrint")));
    QVERIFY(!trial->isEnabled());
    QTest::keyClick(language, Qt::Key_Up);
    QCOMPARE(e.ctx.state.sourceLanguage, SourceLanguage::Vb6);
    QVERIFY(source.findChild<QRadioButton*>(QStringLiteral("optMode1"))->isEnabled());
    e.act(cmd::kToolSource)->trigger();
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Public Sub F_DataPrint()")));
    QVERIFY(trial->isEnabled());
  }

  void printAsksThenOffersThePrinterDialog() {
    App e(dir().path());
    e.act(cmd::kPrint)->trigger();  // nothing to print: no question
    QVERIFY(e.prompter.messages.isEmpty());
    e.addLine();
    e.prompter.answers = {kMsgCancel};
    e.act(cmd::kToolPrint)->trigger();
    QCOMPARE(e.prompter.messages.value(0), QStringLiteral("印刷を行います。よろしいですか？"));
    QCOMPARE(e.prompter.printerDialogs, 0);
    e.act(cmd::kPrint)->trigger();  // OK: the printer dialog, cancelled by the script
    QCOMPARE(e.prompter.printerDialogs, 1);
  }

  void zoomBoxRules() {
    App e(dir().path());
    auto* zoom = e.window->findChild<QComboBox*>(QStringLiteral("cmbPer"));
    QVERIFY(zoom);
    auto enter = [&](const QString& text) {
      zoom->lineEdit()->selectAll();
      QTest::keyClicks(zoom->lineEdit(), text);
      QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    };
    enter(QStringLiteral("350"));
    QCOMPARE(zoom->currentText(), QStringLiteral("300%"));
    QCOMPARE(e.ctx.view.zoom, 300);
    const QSize at300 = e.window->designWindow().canvas().size();
    enter(QStringLiteral("350%"));
    QCOMPARE(e.ctx.view.zoom, 350);
    QVERIFY(e.window->designWindow().canvas().width() > at300.width());
    enter(QStringLiteral("abc"));
    QCOMPARE(e.ctx.view.zoom, 10);  // no number reads 0, which the page cannot show
    QCOMPARE(zoom->currentText(), QStringLiteral("10%"));
    // However small the page, the design window keeps room for its title bar's buttons.
    const QWidget* frame = e.window->designWindow().parentWidget();
    QVERIFY(frame->width() >= 240 && frame->height() >= 160);
    zoom->setCurrentIndex(6);
    emit zoom->activated(6);  // "50%" chosen from the list
    QCOMPARE(e.ctx.view.zoom, 50);
  }

  void gridDialogTakesNumbersOnly() {
    App e(dir().path());
    OnModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("frmGrid"));
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtWidth"))->text(), QStringLiteral("5"));
      Type(d, "txtWidth", QStringLiteral("2.5"));
      Type(d, "txtHeight", QStringLiteral("abc"));
      Click(d, "cmdSet");
    });
    e.act(cmd::kGridSettings)->trigger();
    QCOMPARE(e.ctx.design.grid.width, 2.5f);
    QCOMPARE(e.ctx.design.grid.height, 5.0f);  // letters keep the old pitch
    QVERIFY(e.ctx.editor.modified());

    OnModal([](QWidget* d) {
      Type(d, "txtWidth", QStringLiteral("9"));
      Click(d, "cmdCan");
    });
    e.act(cmd::kGridSettings)->trigger();
    QCOMPARE(e.ctx.design.grid.width, 2.5f);
  }

  void pageSetupAcceptAndCancel() {
    App e(dir().path());
    OnModal([](QWidget* d) {
      d->findChild<QComboBox*>(QStringLiteral("cmbPSize"))->setCurrentIndex(28);  // C3 envelope
      auto* landscape = d->findChild<QRadioButton*>(QStringLiteral("optPO1"));
      QTest::mouseClick(landscape, Qt::LeftButton);
      QVERIFY(landscape->isChecked());
      Type(d, "txtYo0", QStringLiteral("7.5"));
      d->findChild<QComboBox*>(QStringLiteral("cmbScale"))->setCurrentIndex(5);
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblUnit2"))->text(), QStringLiteral("ｲﾝﾁ"));
      Click(d, "cmdSet");
    });
    QVERIFY(!e.ctx.editor.modified());
    e.act(cmd::kPageSetup)->trigger();
    QVERIFY(e.ctx.editor.modified());  // the file carries the page
    QCOMPARE(e.ctx.design.page.paperSize, int16_t{29});
    QCOMPARE(e.ctx.design.page.orientation, int16_t{2});
    QCOMPARE(e.ctx.design.page.marginTop, 7.5f);
    QCOMPARE(e.ctx.design.page.scaleMode, int16_t{5});
    QVERIFY(e.ctx.view.page.scaleWidth > e.ctx.view.page.scaleHeight);  // landscape, in inches
    QVERIFY(e.ctx.view.page.scaleWidth < 20);

    const PageSettings before = e.ctx.design.page;
    OnModal([](QWidget* d) {
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtYo0"))->text(), QStringLiteral("7.500"));
      Type(d, "txtYo1", QStringLiteral("99"));
      Click(d, "cmdCan");
    });
    e.act(cmd::kToolPageSetup)->trigger();
    QVERIFY(e.ctx.design.page == before);

    // Whether the grid shows is in the file too.
    e.ctx.editor.markSaved();
    e.act(cmd::kShowGrid)->trigger();
    QVERIFY(e.ctx.editor.modified());
    QCOMPARE(int(e.ctx.design.grid.shown), e.act(cmd::kShowGrid)->isChecked() ? -1 : 0);
  }

  void hatchingColoursChangeOnlyOnAccept() {
    App e(dir().path());
    e.prompter.colors = {QColor(255, 0, 0)};
    OnModal([](QWidget* d) {
      Click(d, "cmdColor1");
      Click(d, "cmdCan");
    });
    e.act(cmd::kHatchColours)->trigger();
    QCOMPARE(e.ctx.design.palette[2], Rgb(192, 192, 192));
    QCOMPARE(e.prompter.colorTitles.value(0), QStringLiteral("網掛け色指定"));
    e.prompter.colors = {QColor(0, 0, 255)};
    OnModal([](QWidget* d) {
      Click(d, "cmdColor1");
      Click(d, "cmdSet");
    });
    e.act(cmd::kHatchColours)->trigger();
    QCOMPARE(e.ctx.design.palette[2], Rgb(0, 0, 255));
  }

 private:
  QTemporaryDir& dir() { return *tmp_; }
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(PrintAndSettingsTest)

#include "print_settings_test.moc"
