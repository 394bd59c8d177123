// Trying a design with records, as a user does: choose the CSV file, look at the merged pages in
// the preview, export them, and cancel a long export.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "basic/field_values.h"
#include "merge/merge.h"
#include "platform/qt_printer.h"
#include "ui/command_ids.h"
#include "ui/merge_database_pane.h"
#include "ui/print_preview.h"
#include "ui/source_window.h"
#include "ui_fixture.h"

using namespace qf;
using namespace qf::test;

namespace {

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

}  // namespace

class MergeFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }

  // The dialog shows the records and the fields that found a column; with a group column the
  // preview pages through the invoices, each page the page printing makes.
  void chooseRecordsThenPreviewAndExport() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("invoice.qfd")};
    e.act(cmd::kOpen)->trigger();
    e.prompter.openPaths = {Data("csv/invoices.csv")};
    OnModal([&](QWidget* d) {
      auto* summary = d->findChild<QLabel*>(QStringLiteral("lblSummary"));
      QCOMPARE(summary->text(), QStringLiteral("データファイルを選んでください。"));
      QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("cmdOK"))->isEnabled());
      // A path typed and entered is taken as one chosen: a missing file says so.
      auto* data = d->findChild<QLineEdit*>(QStringLiteral("txtData"));
      QVERIFY(!data->isReadOnly() && data->isVisible() && !data->placeholderText().isEmpty());
      data->setFocus();
      QTest::keyClicks(data, QStringLiteral("/nowhere/x.csv"));
      QTest::keyClick(data, Qt::Key_Return);
      QVERIFY2(summary->text().contains(QStringLiteral("/nowhere/x.csv")),
               qPrintable(summary->text()));
      QVERIFY(d->isVisible());
      // A file that reads: Enter shows its records and leaves OK to the user.
      data->selectAll();
      QTest::keyClicks(data, Data("csv/invoices.csv"));
      QTest::keyClick(data, Qt::Key_Return);
      QVERIFY(d->isVisible());
      QVERIFY(d->findChild<QPushButton*>(QStringLiteral("cmdOK"))->isEnabled());
      // 参照 starts in the design's folder while that typed file is no file to start from.
      data->selectAll();
      QTest::keyClick(data, Qt::Key_Backspace);
      QTest::keyClick(data, Qt::Key_Return);
      QCOMPARE(summary->text(), QStringLiteral("データファイルを選んでください。"));
      Click(d, "cmdBrowse");
      QCOMPARE(e.prompter.initialNames.last(), QFileInfo(Data("invoice.qfd")).absolutePath());
      QCOMPARE(data->text(), Data("csv/invoices.csv"));
      auto* records = d->findChild<QTableWidget*>(QStringLiteral("tblRecords"));
      QCOMPARE(records->rowCount(), 17);
      QCOMPARE(records->horizontalHeaderItem(1)->text(), QStringLiteral("顧客名"));
      QCOMPARE(records->item(3, 1)->text(), QStringLiteral("鈴木\"工房\""));
      QCOMPARE(Items(d->findChild<QListWidget*>(QStringLiteral("lstFields"))),
               (QStringList{QStringLiteral("○ Cust.顧客名 → 顧客名"),
                            QStringLiteral("○ Items(sngI).品名 → 品名"),
                            QStringLiteral("○ Items(sngI).金額 → 金額"),
                            QStringLiteral("× rs!備考（列がありません）"),
                            // An expression the records answer shows its first record's value.
                            QStringLiteral("○ rs!請求書番号 → 「INV-001」")}));
      QVERIFY2(summary->text().startsWith(QStringLiteral("17 件のレコード、2 ページ")),
               qPrintable(summary->text()));
      d->findChild<QComboBox*>(QStringLiteral("cmbGroup"))->setCurrentIndex(1);
      QVERIFY2(summary->text().startsWith(QStringLiteral("17 件のレコード、4 ページ")),
               qPrintable(summary->text()));
      Click(d, "cmdOK");
    });
    e.act(cmd::kMergeData)->trigger();
    QVERIFY(e.act(cmd::kMergeData)->isChecked());
    const MergeChoice* chosen = FindMerge(e.ctx.state, Data("invoice.qfd").toStdString());
    QVERIFY(chosen);
    QCOMPARE(chosen->group, std::string("請求書番号"));

    OnModal([&](QWidget* d) {
      auto* preview = qobject_cast<PrintPreviewDialog*>(d);
      QVERIFY(preview);
      QTRY_VERIFY(preview->countKnown());  // the pass through the records ends by itself
      QCOMPARE(preview->pageCount(), 4);
      Click(d, "cmdNext");
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblPages"))->text(), QStringLiteral("2 / 4"));
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblRecords"))->text(),
               QStringLiteral("レコード 4～5（5～6 行目）"));
      // The second invoice as printing draws it.
      MergeSource source{Data("csv/invoices.csv").toStdString(), {}, "請求書番号", 2, 2};
      auto port = QtPrinterPort::ForDefault();
      QImage printed;
      port->previewInto(&printed,
                        static_cast<int>(std::lround(96.0 * preview->zoom() /
                                                     100)));  // first opened: the page fits
      QVERIFY(PrintMerged(e.ctx.design, *port, e.ctx.pictures, source, {}, nullptr));
      QCOMPARE(preview->pageImage(), printed);
      // QF_SHOT_DIR=folder keeps a picture of the preview as shown (for the guide, and to look at).
      if (qEnvironmentVariableIsSet("QF_SHOT_DIR")) {
        d->resize(900, 1000);
        Click(d, "cmdFitPage");
        d->grab().save(qEnvironmentVariable("QF_SHOT_DIR") + QStringLiteral("/merge_preview.png"));
      }
      Click(d, "cmdLast");
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblRecords"))->text(),
               QStringLiteral("レコード 16～17（17～18 行目）"));
      Click(d, "cmdClose");
    });
    e.act(cmd::kPrintPreview)->trigger();

    // Exports take every merged page, or the one picked: images a file a page.
    const QString out = tmp_->filePath(QStringLiteral("invoices.pdf"));
    e.prompter.savePaths = {out, tmp_->filePath(QStringLiteral("one.pdf")),
                            tmp_->filePath(QStringLiteral("all.svg"))};
    e.prompter.items_ = {0, 3, 0};
    e.act(cmd::kExportPdf)->trigger();
    e.act(cmd::kExportPdf)->trigger();
    e.act(cmd::kExportSvg)->trigger();
    QCOMPARE(e.prompter.itemLists[0].size(), 5);
    QCOMPARE(e.prompter.itemLists[0][2], QStringLiteral("2 ページ目（レコード 4～5）"));
    QFile pdf(out);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().contains("/Count 4"));  // every merged page
    QFile one(tmp_->filePath(QStringLiteral("one.pdf")));
    QVERIFY(one.open(QIODevice::ReadOnly));
    QVERIFY(one.readAll().contains("/Count 1"));
    QCOMPARE(QDir(tmp_->path()).entryList({QStringLiteral("all*.svg")}),
             (QStringList{QStringLiteral("all-0001.svg"), QStringLiteral("all-0002.svg"),
                          QStringLiteral("all-0003.svg"), QStringLiteral("all-0004.svg")}));

    // Save As keeps the records with the design; New starts without any.
    e.prompter.savePaths = {tmp_->filePath(QStringLiteral("copy.qfd"))};
    e.act(cmd::kSaveAs)->trigger();
    QVERIFY(FindMerge(e.ctx.state, tmp_->filePath(QStringLiteral("copy.qfd")).toStdString()));
    QVERIFY(e.act(cmd::kMergeData)->isChecked());
    e.act(cmd::kNew)->trigger();
    QVERIFY(!e.act(cmd::kMergeData)->isChecked());

    // Records chosen for a design never saved do not pass to the next new design.
    e.ctx.merge = MergeChoice{"", Data("csv/invoices.csv").toStdString(), 0, ""};
    e.act(cmd::kNew)->trigger();
    QVERIFY(!e.ctx.merge);
    QVERIFY(!e.act(cmd::kMergeData)->isChecked());
    // A design without records saved over a file forgets the records kept for that file.
    e.addLine();
    e.prompter.savePaths = {tmp_->filePath(QStringLiteral("copy.qfd"))};
    e.act(cmd::kSaveAs)->trigger();
    QVERIFY(!FindMerge(e.ctx.state, tmp_->filePath(QStringLiteral("copy.qfd")).toStdString()));

    // 解除 ends the merge of the design.
    e.prompter.openPaths = {Data("invoice.qfd")};
    e.act(cmd::kOpen)->trigger();
    QVERIFY(e.act(cmd::kMergeData)->isChecked());
    OnModal([](QWidget* d) { Click(d, "cmdClear"); });
    e.act(cmd::kMergeData)->trigger();
    QVERIFY(!e.act(cmd::kMergeData)->isChecked());
    QVERIFY(!FindMerge(e.ctx.state, Data("invoice.qfd").toStdString()));
  }

  // Cancel in the progress of a long export stops it and leaves no file, not even a part.
  // 試し印刷 with the invoice's records (a page an invoice) shows the page the preview shows
  // first: rs, Cust.顧客名 and Items(sngI).品名 read INV-101 and its three items, no more.
  // The database tab: a file's tables are listed by 接続テスト, a table chosen is read at once,
  // a query the database refuses says why and leaves OK off, and the choice is the design's.
  void databaseTabReadsATableOrAQuery() {
    const QString file = tmp_->filePath(QStringLiteral("請求.db"));
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "maker");
      db.setDatabaseName(file);
      QVERIFY(db.open());
      QSqlQuery q(db);
      QVERIFY(q.exec("CREATE TABLE 請求 (請求書番号 TEXT, 顧客名 TEXT, 品名 TEXT, 金額 TEXT)"));
      QVERIFY(
          q.exec("INSERT INTO 請求 VALUES ('INV-001', '山田商店', '品目01', '1,000'), "
                 "('INV-002', '鈴木工房', '品目01', '2,000')"));
    }
    QSqlDatabase::removeDatabase("maker");
    // The data sources unixODBC would offer: the user's file's sections, not its own.
    QFile ini(tmp_->filePath(QStringLiteral("odbc.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[ODBC Data Sources]\nzz = x\n[ 請求DB ]\nDriver = x\n[ODBC]\nTrace = No\n[abc]\n");
    ini.close();
    qputenv("ODBCINI", ini.fileName().toLocal8Bit());
    qputenv("ODBCSYSINI", tmp_->path().toLocal8Bit());
    QCOMPARE(OdbcDataSourceNames(), (QStringList{QStringLiteral("abc"), QStringLiteral("請求DB")}));
    App e(tmp_->path());
    e.prompter.openPaths = {Data("invoice.qfd")};
    e.act(cmd::kOpen)->trigger();
    OnModal([&](QWidget* d) {
      d->findChild<QTabWidget*>(QStringLiteral("tabSource"))->setCurrentIndex(1);
      auto* summary = d->findChild<QLabel*>(QStringLiteral("lblSummary"));
      auto* ok = d->findChild<QPushButton*>(QStringLiteral("cmdOK"));
      QVERIFY(!ok->isEnabled());
      for (const char* name :
           {"cmbDbKind", "txtDbFile", "cmbTable", "txtQuery", "cmdTestConnection"}) {
        QVERIFY2(d->findChild<QWidget*>(QString::fromLatin1(name))->isVisible(), name);
      }
      // 参照 fills the file field with the file chosen.
      e.prompter.openPaths = {file};
      Click(d, "cmdDbBrowse");
      QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("txtDbFile"))->text(), file);
      Click(d, "cmdTestConnection");
      auto* tables = d->findChild<QComboBox*>(QStringLiteral("cmbTable"));
      QCOMPARE(tables->count(), 2);
      QCOMPARE(tables->itemText(1), QStringLiteral("請求"));
      QVERIFY2(summary->text().contains(QStringLiteral("テーブルを選んで")),
               qPrintable(summary->text()));
      auto* query = d->findChild<QPlainTextEdit*>(QStringLiteral("txtQuery"));
      query->setPlainText(QStringLiteral("SELEC 1"));
      Click(d, "cmdTestConnection");
      QVERIFY2(summary->text().contains(QStringLiteral("syntax error")),
               qPrintable(summary->text()));
      QVERIFY(!ok->isEnabled());
      tables->setCurrentIndex(1);
      QVERIFY(!query->isEnabled());
      QCOMPARE(d->findChild<QTableWidget*>(QStringLiteral("tblRecords"))->rowCount(), 2);
      QVERIFY(Items(d->findChild<QListWidget*>(QStringLiteral("lstFields")))
                  .contains(QStringLiteral("○ rs!請求書番号 → 「INV-001」")));
      QVERIFY(ok->isEnabled());
      Click(d, "cmdOK");
    });
    e.act(cmd::kMergeData)->trigger();
    QVERIFY(e.ctx.merge);
    QCOMPARE(QString::fromStdString(e.ctx.merge->data), QStringLiteral("sqlite:") + file);
    QCOMPARE(e.ctx.merge->table, std::string("請求"));
    QCOMPARE(e.ctx.merge->query, std::string());
    // Opened again, the dialog shows the database it was given.
    OnModal([&](QWidget* d) {
      QCOMPARE(d->findChild<QTabWidget*>(QStringLiteral("tabSource"))->currentIndex(), 1);
      QCOMPARE(d->findChild<QTableWidget*>(QStringLiteral("tblRecords"))->rowCount(), 2);
      Click(d, "cmdCancel");
    });
    e.act(cmd::kMergeData)->trigger();
  }

  void trialPrintShowsTheFirstMergedPage() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("invoice.qfd")};
    e.act(cmd::kOpen)->trigger();
    OnModal([&](QWidget* d) {
      Type(d, "txtData", Data("csv/invoice-cp932.csv"));
      QTest::keyClick(d->findChild<QLineEdit*>(QStringLiteral("txtData")), Qt::Key_Return);
      d->findChild<QComboBox*>(QStringLiteral("cmbGroup"))->setCurrentIndex(1);
      Click(d, "cmdOK");
    });
    e.act(cmd::kMergeData)->trigger();
    e.act(cmd::kToolSource)->trigger();
    OnModal([&](QWidget* d) {
      auto* preview = qobject_cast<PrintPreviewDialog*>(d);
      QVERIFY(preview);
      QCOMPARE(preview->programError(), QString());
      MergeSource first{Data("csv/invoice-cp932.csv").toStdString(), {}, "請求書番号", 1, 1};
      first.expressions = &basic::FieldExpressions();
      auto port = QtPrinterPort::ForDefault();
      QImage printed;
      port->previewInto(&printed, static_cast<int>(std::lround(96.0 * preview->zoom() / 100)));
      QVERIFY(PrintMerged(e.ctx.design, *port, e.ctx.pictures, first, {}, nullptr));
      QCOMPARE(preview->pageImage(), printed);
      Click(d, "cmdClose");
    });
    QTest::mouseClick(e.window->sourceWindow().findChild<QPushButton*>(QStringLiteral("cmdTrial")),
                      Qt::LeftButton);
  }

  void cancellingAnExportLeavesNoFile() {
    App e(tmp_->path());
    e.prompter.openPaths = {Data("invoice.qfd")};
    e.act(cmd::kOpen)->trigger();
    QFile csv(tmp_->filePath(QStringLiteral("many.csv")));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("請求書番号,品名\n");
    for (int i = 0; i < 30000; ++i) csv.write(QStringLiteral("%1,品目%1\n").arg(i).toUtf8());
    csv.close();
    e.ctx.merge = MergeChoice{e.ctx.state.fileName, csv.fileName().toStdString(), 0, ""};
    const QString out = tmp_->filePath(QStringLiteral("out/many.pdf"));
    QDir(tmp_->path()).mkdir(QStringLiteral("out"));
    e.prompter.savePaths = {out};
    e.prompter.items_ = {0};
    bool cancelled = false;
    std::function<void()> watch = [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<QProgressDialog*>(w);
        if (progress && progress->objectName() == QStringLiteral("frmProgress") &&
            progress->isVisible()) {
          QVERIFY(!progress->accessibleName().isEmpty());
          QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
          cancelled = true;
          return;
        }
      }
      QTimer::singleShot(20, watch);
    };
    QTimer::singleShot(20, watch);
    e.act(cmd::kExportPdf)->trigger();
    QVERIFY(cancelled);
    QVERIFY(QDir(tmp_->filePath(QStringLiteral("out")))
                .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
    QVERIFY(e.prompter.messages.isEmpty());  // a cancel is no failure
  }

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
};

QF_UI_TEST_MAIN(MergeFlowTest)

#include "merge_flow_test.moc"
