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
    QCOMPARE(e.act(cmd::kToolText)->toolTip(), QStringLiteral("ﾃｷｽﾄ描画"));
    QCOMPARE(e.act(cmd::kToolSource)->toolTip(), QStringLiteral("ｿｰｽ生成"));
    QCOMPARE(e.act(cmd::kToolRedraw)->toolTip(), QStringLiteral("再描画"));
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
    e.act(cmd::kToolNew)->trigger();  // OK this time
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
    e.act(cmd::kToolSave)->trigger();
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
