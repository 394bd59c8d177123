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

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Every test starts afresh: its own folder, so no settings of an earlier test carry over.
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  void menusToolbarAndCheckMarks() {
    {
      AppState saved;
      saved.autoRedraw = true;
      saved.subMake = false;
      QVERIFY(
          SaveSettings(std::filesystem::path(dir().path().toStdString()) / "QF2.INI", saved).ok());
    }
    App e(dir().path());
    QVERIFY(e.act(cmd::kShowGrid)->isChecked());
    QVERIFY(e.act(cmd::kSnapToGrid)->isChecked());  // snapping starts on at every start
    QVERIFY(e.act(cmd::kAutoRedraw)->isChecked());  // from the settings
    QVERIFY(!e.act(cmd::kSubroutines)->isChecked());
    QVERIFY(!e.act(cmd::kRecentSeparator)->isVisible());  // no recent files yet
    QCOMPARE(e.act("tblMenu7")->toolTip(), QStringLiteral("ﾃｷｽﾄ描画"));
    QCOMPARE(e.act("tblMenu14")->toolTip(), QStringLiteral("ｿｰｽ生成"));
    QCOMPARE(e.act("tblMenu16")->toolTip(), QStringLiteral("再描画"));
    QVERIFY(e.act("tblMenu4")->isSeparator());
    QVERIFY(e.act("tblMenu13")->isSeparator());
    e.act(cmd::kAutoRedraw)->trigger();
    QVERIFY(!e.ctx.state.autoRedraw);
    auto* layerPanel = e.window->findChild<QLabel*>(QStringLiteral("stbGuide2"));
    QCOMPARE(layerPanel->text(), QStringLiteral("ﾚｲﾔｰ：1"));
    // The read-outs start at zero, each behind its picture in picFra.
    auto* frame = e.window->findChild<QFrame*>(QStringLiteral("picFra"));
    QVERIFY(frame);
    for (const char* name : {"picIcon0", "picIcon1"}) {
      auto* icon = frame->findChild<QLabel*>(QString::fromLatin1(name));
      QVERIFY2(icon && !icon->pixmap().isNull(), name);
    }
    QCOMPARE(frame->findChild<QLabel*>(QStringLiteral("lblPos"))->text(),
             QStringLiteral("0.000, 0.000"));
    QCOMPARE(frame->findChild<QLabel*>(QStringLiteral("lblSize"))->text(),
             QStringLiteral("0.000 x 0.000"));
  }

  // The command table's rules: ids and shortcuts unique, every menu item and its keys in the
  // guide, every button with its picture, every action as its row says, and every enabled rule
  // off on a fresh empty design and on where undo, redo and three selected objects allow it.
  void commandTableRules() {
    QFile guide(Data("../../help/qfhelp.htm"));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    App e(dir().path());
    QSet<QString> ids;
    QSet<QString> keys;
    QList<QImage> pictures;
    for (const CommandRow& row : MainWindow::Commands()) {
      const QString id = Q(row.id);
      QVERIFY2(!ids.contains(id), qPrintable(id));
      ids.insert(id);
      if (row.separator() || row.kind == RowKind::RecentList) continue;
      QVERIFY2(row.run || row.kind != RowKind::Command, qPrintable(id));
      QAction* a = e.act(qPrintable(id));
      QCOMPARE(a->text(), Q(row.caption));
      const QString shortcut = a->shortcut().toString();
      QCOMPARE(shortcut, Q(row.shortcut));
      if (!shortcut.isEmpty()) {
        QVERIFY2(!keys.contains(shortcut), qPrintable(shortcut));
        keys.insert(shortcut);
        QVERIFY2(html.contains(shortcut), qPrintable(shortcut));
      }
      if (row.place == CommandPlace::Toolbar) {
        QCOMPARE(a->toolTip(), a->text());
        // Each button its own picture.
        const QImage picture = a->icon().pixmap(24).toImage();
        QVERIFY2(!picture.isNull(), qPrintable(id));
        QVERIFY2(!pictures.contains(picture), qPrintable(id));
        pictures.push_back(picture);
        continue;
      }
      QString caption = a->text();
      caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$|&")));
      QVERIFY2(html.contains(caption), qPrintable(caption));
      QCOMPARE(a->isCheckable(), row.checked != nullptr || row.kind == RowKind::LayoutBarShown);
    }
    const auto rulesAre = [&](bool on) {
      for (const CommandRow& row : MainWindow::Commands()) {
        if (!row.enabled) continue;
        QVERIFY2(row.enabled(e.ctx) == on, qPrintable(Q(row.id)));
        QCOMPARE(e.act(qPrintable(Q(row.id)))->isEnabled(), on);
      }
    };
    rulesAre(false);
    for (int i = 0; i < 4; ++i) {
      ObjectRecord box;
      box.Kind = ObjectKind::Box;
      box.Style = "0";
      box.Size = 1;
      const double at = 10 + 25 * i;
      e.ctx.editor.addObject(box, {at, at, at + 10 + 5 * i, at + 8 + 3 * i});
    }
    QVERIFY(e.ctx.editor.undo());
    e.ctx.editor.selectRows({1, 2, 3});
    rulesAre(true);
    // A check mark shows the state its command left, whatever the click did to the mark.
    for (const CommandRow& row : MainWindow::Commands()) {
      if (!row.checked || row.id == cmd::kMergeData || row.id == cmd::kFileAssociation) continue;
      QAction* a = e.act(qPrintable(Q(row.id)));
      const bool before = row.checked(e.ctx);
      a->trigger();
      QCOMPARE(row.checked(e.ctx), !before);
      QCOMPARE(a->isChecked(), !before);
    }
  }

  // The dialogs' filters show each caption once, with the patterns Qt filters by.
  void fileFiltersNameTheirPatternsOnce() {
    QCOMPARE(QtFileFilter(QString::fromUtf8(kFileFilter.data(), kFileFilter.size())),
             QStringLiteral("Quillformﾌｧｲﾙ (*.qfd *.qff);;全てのﾌｧｲﾙ (*)"));
    QCOMPARE(QtFileFilter(QStringLiteral("CSV(*.csv;*.txt)|*.csv;*.txt")),
             QStringLiteral("CSV (*.csv *.txt)"));
    QCOMPARE(QtFileFilter(QStringLiteral("Text |*.txt|(x)|*.x|a(b) c|*.c")),
             QStringLiteral("Text (*.txt);;(x) (*.x);;a(b) c (*.c)"));
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
    e.act("tblMenu14")->trigger();
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

  // The one message box: the icon and buttons of each kind, the default button, the answer.
  void messageKindsHaveTheirIconsAndButtons() {
    const struct {
      MessageKind kind;
      QMessageBox::Icon icon;
      QMessageBox::StandardButtons buttons;
      QMessageBox::StandardButton defaultButton;
      int answer;
    } kinds[] = {
        {MessageKind::Warning, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, kMsgOk},
        {MessageKind::Question, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Ok, kMsgOk},
        {MessageKind::Information, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok,
         kMsgOk},
        {MessageKind::QuestionCancelDefault, QMessageBox::Question,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, kMsgCancel},
        {MessageKind::Error, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, kMsgOk},
        {MessageKind::AbortRetryIgnore, QMessageBox::Question,
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort,
         kMsgAbort},
    };
    for (const auto& k : kinds) {
      OnModal([&k](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        QVERIFY(box);
        QCOMPARE(box->icon(), k.icon);
        QCOMPARE(box->standardButtons(), k.buttons);
        QCOMPARE(box->defaultButton(), box->button(k.defaultButton));
        QCOMPARE(box->windowTitle(), QString::fromUtf8(kAppTitle.data(), kAppTitle.size()));
        box->defaultButton()->click();
      });
      QtPrompter prompter;
      QCOMPARE(prompter.showMessage(nullptr, QStringLiteral("x"), k.kind), k.answer);
    }
  }

  void newAfterEditsAsksThenEmpties() {
    App e(dir().path());
    e.ctx.state.fileName = "/tmp/previous.qfd";
    e.addLine();
    e.prompter.answers = {kMsgCancel};
    e.act(cmd::kNew)->trigger();
    QCOMPARE(e.prompter.messages.value(0), QStringLiteral("編集中のデータを破棄しますか？"));
    // Enter and Esc answer Cancel: the work is thrown away only by a deliberate OK.
    QCOMPARE(e.prompter.kinds.value(0), MessageKind::QuestionCancelDefault);
    QCOMPARE(e.ctx.design.objects.itemCount(), 1);  // cancelled: kept

    e.ctx.design.palette[2] = 0x123456;
    e.act("tblMenu1")->trigger();  // OK this time
    QCOMPARE(e.prompter.messages.size(), 2);
    QCOMPARE(e.ctx.design.objects.itemCount(), 0);
    QVERIFY(!e.ctx.editor.modified());
    QCOMPARE(e.ctx.design.palette[2], Rgb(192, 192, 192));
    QCOMPARE(e.ctx.design.layers.itemCount(), 1);
    QVERIFY(e.ctx.state.fileName.empty());  // the next Save asks where

    e.act(cmd::kNew)->trigger();  // nothing to lose: no question
    QCOMPARE(e.prompter.messages.size(), 2);
  }

  void openDrawsAndKeepsRecentFiles() {
    App e(dir().path());
    const QImage empty = e.window->designWindow().canvas().image().copy();
    e.prompter.openPaths = {Data("golden.qfd")};
    e.act(cmd::kOpen)->trigger();
    QCOMPARE(e.ctx.design.objects.itemCount(), 14);
    QVERIFY(e.window->designWindow().canvas().image() != empty);  // the objects are drawn
    QCOMPARE(QString::fromStdString(e.ctx.state.recentFiles[0]), Data("golden.qfd"));
    auto* first = e.window->findChild<QAction*>(QStringLiteral("QFM109_0"));
    QVERIFY(first->isVisible());
    QCOMPARE(first->text(), Data("golden.qfd"));
    QVERIFY(e.act(cmd::kRecentSeparator)->isVisible());
    QVERIFY(!e.window->findChild<QAction*>(QStringLiteral("QFM109_1"))->isVisible());
    QCOMPARE(e.ctx.design.page.orientation, int16_t{2});  // landscape, from the file

    // Six distinct files: the first one opened falls out; the same file twice stays once.
    QStringList files;
    for (int i = 0; i < 6; ++i) {
      const QString copy = dir().filePath(QStringLiteral("d%1.qfd").arg(i));
      QFile::remove(copy);
      QVERIFY(QFile::copy(Data("basic.qfd"), copy));
      files << copy;
    }
    for (const QString& f : files) {
      e.prompter.openPaths = {f};
      e.act(cmd::kOpen)->trigger();
    }
    e.prompter.openPaths = {files[5]};
    e.act(cmd::kOpen)->trigger();
    const RecentFiles& r = e.ctx.state.recentFiles;
    QCOMPARE(QString::fromStdString(r[0]), files[5]);
    QCOMPARE(QString::fromStdString(r[4]), files[1]);
    QVERIFY(std::count(r.begin(), r.end(), files[5].toStdString()) == 1);
    QVERIFY(std::find(r.begin(), r.end(), Data("golden.qfd").toStdString()) == r.end());
    // The open dialog starts in the design's folder: home before any, then the last one's
    // folder, also once New has left the design without a file.
    QCOMPARE(e.prompter.initialNames.value(0), QDir::homePath());
    QCOMPARE(e.prompter.initialNames.value(1), QFileInfo(Data("golden.qfd")).absolutePath());
    QCOMPARE(e.prompter.initialNames.last(), QFileInfo(files[4]).absolutePath());
    e.act(cmd::kNew)->trigger();
    e.act(cmd::kOpen)->trigger();  // cancelled
    QCOMPARE(e.prompter.initialNames.last(), QFileInfo(files[5]).absolutePath());
    e.prompter.openPaths = {files[5]};
    e.act(cmd::kOpen)->trigger();

    // A file that fails keeps the design and says so.
    const int before = e.ctx.design.objects.itemCount();
    e.prompter.openPaths = {dir().filePath(QStringLiteral("missing.qfd"))};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(
        e.prompter.messages.last().startsWith(QStringLiteral("ファイルの読込みに失敗しました。")));
    QCOMPARE(e.ctx.design.objects.itemCount(), before);

    // Opening with unsaved changes asks first.
    e.addLine();
    e.prompter.answers = {kMsgCancel};
    const int dialogs = e.prompter.openDialogs;
    e.act(cmd::kOpen)->trigger();
    QCOMPARE(e.prompter.openDialogs, dialogs);
  }

  void saveEmptyDoesNothingAndSaveWritesTheFile() {
    App e(dir().path());
    e.act(cmd::kSave)->trigger();
    e.act(cmd::kSaveAs)->trigger();
    QVERIFY(e.prompter.suggestedNames.isEmpty());

    e.addLine();
    const QString target = dir().filePath(QStringLiteral("saved.qfd"));
    e.prompter.savePaths = {target};
    e.act("tblMenu3")->trigger();
    QCOMPARE(e.prompter.suggestedNames.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^QF\\d{8}\\.qfd$"))
                .match(e.prompter.suggestedNames[0])
                .hasMatch());
    QVERIFY(QFile::exists(target));
    QVERIFY(!e.ctx.editor.modified());
    QCOMPARE(QString::fromStdString(e.ctx.state.recentFiles[0]), target);

    // Save again goes to the same file without asking; Save As offers the current name.
    e.addLine();
    e.act(cmd::kSave)->trigger();
    QCOMPARE(e.prompter.suggestedNames.size(), 1);
    e.act(cmd::kSaveAs)->trigger();
    QCOMPARE(e.prompter.suggestedNames.last(), target);
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
    e.act("tblPreview")->trigger();
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

  // A design file cut off in the middle opens with the rows it holds whole, and says so.
  void aCutOffFileOpensWithAWarning() {
    App e(dir().path());
    QFile full(Data("golden.qfd"));
    QVERIFY(full.open(QIODevice::ReadOnly));
    QFile cut(dir().filePath(QStringLiteral("cut.qfd")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(full.read(300));
    cut.close();
    e.prompter.openPaths = {cut.fileName()};
    e.act(cmd::kOpen)->trigger();
    QCOMPARE(e.ctx.design.objects.itemCount(), 2);
    QCOMPARE(e.prompter.messages.last(),
             QStringLiteral(
                 "ファイルが途中で切れています。14 個のオブジェクトのうち 2 個を読み込みました。"));
  }

  void showingTheWindowAgainIsNoNewStart() {
    App e(dir().path());
    QVERIFY(e.window->findChild<QStatusBar*>(QStringLiteral("stbGuide")));
    GridSettings grid = e.ctx.design.grid;
    grid.width = 2.5f;
    e.ctx.editor.setGrid(grid);
    QVERIFY(e.ctx.editor.modified());
    e.window->hide();
    e.window->show();
    QTest::qWait(50);  // where a first activation would run
    QVERIFY(e.ctx.editor.modified());
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
    e.act("tblMenu15")->trigger();
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

  void sourceWindowPublicChoiceAndKeys() {
    App e(dir().path());
    SourceWindow& source = e.window->sourceWindow();
    auto* text = source.findChild<QPlainTextEdit*>(QStringLiteral("txtSRC"));
    // The code in the designs' Gothic face at 9.75 pt, upright and plain.
    QCOMPARE(text->font().pointSizeF(), 9.75);
    QVERIFY(!text->font().italic() && !text->font().bold() && !text->font().underline());
    e.act("tblMenu14")->trigger();
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Private Sub F_DataPrint()")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("Gosub F_DataPrint_1")));  // subroutines
    QTest::mouseClick(source.findChild<QRadioButton*>(QStringLiteral("optMode1")), Qt::LeftButton);
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Private")));  // not regenerated yet
    e.act(cmd::kSubroutines)->trigger();  // make subroutine off: the flat variant
    e.act("tblMenu14")->trigger();
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
    e.act("tblMenu14")->trigger();
    QVERIFY(text->toPlainText().contains(QStringLiteral("public static class QfPrint")));
    QVERIFY(!text->toPlainText().contains(QStringLiteral("Sub F_DataPrint")));
    QVERIFY(!trial->isEnabled());
    QTest::keyClick(language, Qt::Key_Up);
    QCOMPARE(e.ctx.state.sourceLanguage, SourceLanguage::Vb6);
    QVERIFY(source.findChild<QRadioButton*>(QStringLiteral("optMode1"))->isEnabled());
    e.act("tblMenu14")->trigger();
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Public Sub F_DataPrint()")));
    QVERIFY(trial->isEnabled());
  }

  void closingWithUnsavedChangesAsks() {
    App e(dir().path());
    e.addLine();
    e.prompter.answers = {kMsgCancel};
    e.window->close();
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.prompter.messages.size(), 1);
    e.window->close();  // OK now
    QVERIFY(!e.window->isVisible());
    QVERIFY(QFile::exists(dir().filePath(QStringLiteral("QF2.INI"))));
  }

  void dialogsAndWindowsComeBackWhereTheyWere() {
    QPoint placed;
    {
      App e(dir().path());
      // Never placed before: over the middle of the main window, not in the screen's corner.
      QPoint middle;
      OnModal([&middle](QWidget* d) {
        middle = d->geometry().center();
        Click(d, "cmdCan");
      });
      e.act(cmd::kGridSettings)->trigger();
      const QPoint mainMiddle = e.window->geometry().center();
      QVERIFY2((middle - mainMiddle).manhattanLength() < 8,
               qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                              .arg(middle.x())
                              .arg(middle.y())
                              .arg(mainMiddle.x())
                              .arg(mainMiddle.y())));
      OnModal([&placed](QWidget* d) {
        d->move(d->pos() + QPoint(37, 23));
        placed = d->pos();
        Click(d, "cmdCan");
      });
      e.act(cmd::kGridSettings)->trigger();
      e.window->close();
    }
    App again(dir().path());
    QVERIFY(!again.ctx.state.firstStart);
    QPoint shown;
    OnModal([&shown](QWidget* d) {
      shown = d->pos();
      Click(d, "cmdCan");
    });
    again.act(cmd::kGridSettings)->trigger();
    QCOMPARE(shown, placed);
  }

  void viewItemsBringEachWindowForward() {
    App e(dir().path());
    auto* mdi = e.window->findChild<QMdiArea*>(QStringLiteral("mdiArea"));
    const struct {
      const char* item;
      const char* window;
    } views[] = {{cmd::kCodeWindow, "frmCode"},
                 {cmd::kSourceWindow, "frmSource"},
                 {cmd::kLayerWindow, "frmLayer"},
                 {cmd::kDesignWindow, "frmPrev"}};
    for (const auto& v : views) {
      e.act(v.item)->trigger();
      QVERIFY(mdi->activeSubWindow());
      QCOMPARE(mdi->activeSubWindow()->widget()->objectName(), QString::fromLatin1(v.window));
    }
    // The code window lists the object rows with their captions.
    e.prompter.openPaths = {Data("basic.qfd")};
    e.act(cmd::kOpen)->trigger();
    auto* grid = e.window->findChild<QTableView*>(QStringLiteral("fxgCode"));
    QCOMPARE(grid->model()->rowCount(), 8);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ﾀｲﾌﾟ"));
    QCOMPARE(grid->model()->index(6, 0).data().toString(), QStringLiteral("ﾘﾝｸﾞ"));
    QCOMPARE(grid->model()->index(6, 6).data().toString(), QStringLiteral("色２"));
  }

  void childWindowsCannotBeClosedAlone() {
    App e(dir().path());
    QWidget* design = e.window->designWindow().parentWidget();
    design->close();
    QVERIFY(design->isVisible());
  }

  void printAsksThenOffersThePrinterDialog() {
    App e(dir().path());
    e.act(cmd::kPrint)->trigger();  // nothing to print: no question
    QVERIFY(e.prompter.messages.isEmpty());
    e.addLine();
    e.prompter.answers = {kMsgCancel};
    e.act("tblMenu5")->trigger();
    QCOMPARE(e.prompter.messages.value(0), QStringLiteral("印刷を行います。よろしいですか？"));
    QCOMPARE(e.prompter.printerDialogs, 0);
    e.act(cmd::kPrint)->trigger();  // OK: the printer dialog, cancelled by the script
    QCOMPARE(e.prompter.printerDialogs, 1);
  }

  void pointerReadOutIsSnappedToTheGrid() {
    App e(dir().path());
    DesignCanvas& canvas = e.window->designWindow().canvas();
    auto* readOut = e.window->findChild<QLabel*>(QStringLiteral("lblPos"));
    QCOMPARE(readOut->text(), QStringLiteral("0.000, 0.000"));
    // 17.4 mm across and 31 mm down snap to 15 and 30 from the margins 15 and 10.
    const double pxPerMm = canvas.width() / e.ctx.view.page.scaleWidth;
    QTest::mouseMove(&canvas, QPoint(int(17.4 * pxPerMm), int(31 * pxPerMm)));
    QCOMPARE(readOut->text(), QStringLiteral("15.000, 30.000"));
    e.act(cmd::kSnapToGrid)->trigger();  // snapping off
    QTest::mouseMove(&canvas, QPoint(int(50 * pxPerMm) + 1, int(40 * pxPerMm) + 1));
    QVERIFY(readOut->text().startsWith(QStringLiteral("50.")));
  }

  void aPlaceOffEveryScreenComesBackOnTheScreen() {
    App e(dir().path());
    e.ctx.state.windows[kWinGrid] = {-90000, -90000, 1000, 1000};
    QPoint shown;
    OnModal([&shown](QWidget* d) {
      shown = d->pos();
      Click(d, "cmdCan");
    });
    e.act(cmd::kGridSettings)->trigger();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(shown),
             qPrintable(QStringLiteral("%1,%2").arg(shown.x()).arg(shown.y())));
  }

  void fileAssociationRegistersAndRemovesWithItsMark() {
    const QString dataHome = dir().filePath(QStringLiteral("share"));
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    App e(dir().path());
    QAction* item = e.act(cmd::kFileAssociation);
    QVERIFY(!item->isChecked());
    const QString entry = dataHome + QStringLiteral("/applications/quillform.desktop");

    item->trigger();
    QCOMPARE(e.prompter.messages.last(),
             QStringLiteral("ファイルの関連付けは正常に登録されました。"));
    QVERIFY(item->isChecked());
    QVERIFY(e.ctx.state.relation);
    QFile desktop(entry);
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    // The entry opens files with this very program.
    QVERIFY(QString::fromUtf8(desktop.readAll())
                .contains(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath()));
    QVERIFY(QFile::exists(dataHome + QStringLiteral("/mime/packages/quillform.xml")));

    item->trigger();
    QCOMPARE(e.prompter.messages.last(),
             QStringLiteral("ファイルの関連付けは正常に解除されました。"));
    QVERIFY(!item->isChecked());
    QVERIFY(!e.ctx.state.relation);
    QVERIFY(!QFile::exists(entry));

    // Registered, then removed behind the program's back: removing fails and the mark stays.
    item->trigger();
    QVERIFY(QFile::remove(entry));
    QVERIFY(QFile::remove(dataHome + QStringLiteral("/mime/packages/quillform.xml")));
    item->trigger();
    QCOMPARE(e.prompter.messages.last(), QStringLiteral("ファイルの関連付け解除に失敗しました。"));
    QVERIFY(item->isChecked());
    QVERIFY(e.ctx.state.relation);

    // A data folder that cannot be made: registering fails and the mark stays off.
    e.ctx.state.relation = false;
    item->setChecked(false);
    QVERIFY(QDir(dataHome).removeRecursively());
    QFile blocker(dataHome);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    item->trigger();
    QCOMPARE(e.prompter.messages.last(), QStringLiteral("ファイルの関連付け登録に失敗しました。"));
    QVERIFY(!item->isChecked());
    QVERIFY(!e.ctx.state.relation);
    qunsetenv("XDG_DATA_HOME");

    // Installed from the package, which associated design files itself: nothing to do here.
    const QString prefix = dir().filePath(QStringLiteral("usr"));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin")));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/share/quillform/help")));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/share/mime/packages")));
    QFile mime(prefix + QStringLiteral("/share/mime/packages/quillform.xml"));
    QVERIFY(mime.open(QIODevice::WriteOnly));
    mime.close();
    App installed(prefix + QStringLiteral("/bin"));
    QVERIFY(!installed.act(cmd::kFileAssociation)->isEnabled());
    QVERIFY(!installed.act(cmd::kFileAssociation)->statusTip().isEmpty());
  }

  // F1 opens the guide beside the program in a window of its own: contents that go to their
  // section, search from the top again, one window however often asked.
  void helpOpensTheGuideInItsOwnWindow() {
    QDir().mkpath(dir().filePath(QStringLiteral("help")));
    QVERIFY(QFile::copy(Data("../../help/qfhelp.htm"),
                        dir().filePath(QStringLiteral("help/qfhelp.htm"))));
    App e(dir().path());
    QCOMPARE(e.act(cmd::kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    e.act(cmd::kHelp)->trigger();
    auto* help = e.window->findChild<QDialog*>(QStringLiteral("frmHelp"));
    QVERIFY(help && help->isVisible());
    QVERIFY(e.prompter.documents.isEmpty());  // no browser asked
    auto* contents = help->findChild<QListWidget*>(QStringLiteral("lstContents"));
    auto* page = help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"));
    // One row for each heading of the guide, no other.
    QFile guide(dir().filePath(QStringLiteral("help/qfhelp.htm")));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    QCOMPARE(contents->count(),
             int(html.count(QStringLiteral("<h1>")) + html.count(QStringLiteral("<h2>")) +
                 html.count(QStringLiteral("<h3>"))));
    int merge = -1;
    for (int i = 0; i < contents->count(); ++i) {
      if (contents->item(i)->text().trimmed() == QStringLiteral("差し込みデータ")) merge = i;
    }
    QVERIFY(merge > 0);
    auto* back = help->findChild<QPushButton*>(QStringLiteral("cmdBack"));
    QVERIFY(!back->isEnabled());
    contents->setCurrentRow(merge);
    QCOMPARE(page->textCursor().block().text(), QStringLiteral("差し込みデータ"));
    const int sectionTop = page->verticalScrollBar()->value();
    QVERIFY(sectionTop > 0);
    // The heading was a step: 戻る goes back to the top of the guide, and 進む to it again.
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(page->verticalScrollBar()->value(), 0);
    QVERIFY(!back->isEnabled());
    Click(help, "cmdForward");
    QCOMPARE(page->verticalScrollBar()->value(), sectionTop);
    Type(help, "txtFind", QStringLiteral("Ctrl+Shift+P"));
    QTest::keyClick(help->findChild<QLineEdit*>(QStringLiteral("txtFind")), Qt::Key_Return);
    QCOMPARE(page->textCursor().selectedText(), QStringLiteral("Ctrl+Shift+P"));
    for (QWidget* w : help->findChildren<QWidget*>()) {
      if (qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w)) {
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
      }
    }
    if (qEnvironmentVariableIsSet("QF_SHOT_DIR")) {
      contents->setCurrentRow(merge);
      help->grab().save(qEnvironmentVariable("QF_SHOT_DIR") + QStringLiteral("/help.png"));
    }
    e.act(cmd::kHelp)->trigger();
    QCOMPARE(e.window->findChildren<QDialog*>(QStringLiteral("frmHelp")).size(), 1);
    help->findChild<QLineEdit*>(QStringLiteral("txtFind"))->clear();
    QVERIFY(!static_cast<HelpWindow*>(help)->findNext());  // nothing to find
    Click(help, "cmdClose");
    QVERIFY(!help->isVisible());
    // A guide that is not there says so, and nothing else.
    HelpWindow missing(dir().filePath(QStringLiteral("none.htm")));
    QCOMPARE(missing.findChild<QTextBrowser*>()->toPlainText(),
             QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙ「%1」が見つかりません。")
                 .arg(dir().filePath(QStringLiteral("none.htm"))));
  }

 private:
  QTemporaryDir& dir() { return *tmp_; }
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(MainWindowTest)

#include "main_window_test.moc"
