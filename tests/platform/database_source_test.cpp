// Records read from real databases: SQLite files made here, the same file through unixODBC's
// SQLite driver, and the PostgreSQL server test.sh starts (QF_TEST_POSTGRES), each against the
// CSV file they were loaded from.
#include <gtest/gtest.h>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "basic/field_values.h"
#include "document/design_file.h"
#include "merge/merged_pages.h"
#include "platform/database_source.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/program_export.h"
#include "platform/qt_measure.h"
#include "support/command_output.h"
#include "support/temp_folder.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
const fs::path kData = QF_TEST_DATA;
const char* const kOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

class DatabaseSourceTest : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    sqlite_ = (dir_ / "請求.db").string();
    MakeSqlite();
    std::ofstream(dir_ / "odbc.ini")
        << "[qftest]\nDriver = " << kOdbcDriver << "\nDatabase = " << sqlite_ << "\n";
    std::ofstream(dir_ / "odbcinst.ini") << "";
    setenv("ODBCINI", (dir_ / "odbc.ini").c_str(), 1);
    setenv("ODBCSYSINI", dir_.c_str(), 1);
    if (const char* pw = std::getenv("QF_TEST_PGPASSWORD")) setenv("PGPASSWORD", pw, 1);
  }

  // The invoice records as the CSV reader reads them, and values of every kind SQLite keeps.
  void MakeSqlite() {
    RecordError error;
    auto csv = CsvReader::Open(kData / "csv/invoices.csv", {}, &error);
    ASSERT_TRUE(csv) << error.message();
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "qf-test-maker");
      db.setDatabaseName(QString::fromStdString(sqlite_));
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      ASSERT_TRUE(q.exec("CREATE TABLE 請求 (請求書番号 TEXT, 顧客名 TEXT, 品名 TEXT, 金額 TEXT)"));
      ASSERT_TRUE(q.prepare("INSERT INTO 請求 VALUES (?, ?, ?, ?)"));
      for (std::vector<std::string> r; csv->next(r);) {
        for (int i = 0; i < 4; ++i) q.bindValue(i, QString::fromStdString(r[i]));
        ASSERT_TRUE(q.exec());
      }
      ASSERT_TRUE(q.exec("CREATE TABLE 型 (番号 INTEGER, 率 REAL, 日付 DATE, 画像 BLOB, 空 TEXT)"));
      ASSERT_TRUE(
          q.exec("INSERT INTO 型 VALUES (9007199254740993, 0.1, '2026-12-01', x'00ff', "
                 "NULL)"));
    }
    QSqlDatabase::removeDatabase("qf-test-maker");
  }

  // Every source the machine has, as --data names it.
  std::vector<std::string> sources() const {
    std::vector<std::string> all = {"sqlite:" + sqlite_};
    if (fs::exists(kOdbcDriver)) all.push_back("odbc:qftest");
    if (const char* pg = std::getenv("QF_TEST_POSTGRES")) all.push_back(pg);
    return all;
  }
  static std::shared_ptr<const RecordSource> Source(const std::string& text,
                                                    const std::string& query) {
    auto target = ParseDatabase(text, nullptr);
    EXPECT_TRUE(target) << text;
    target->query = query;
    return std::make_shared<DatabaseSource>(*target);
  }
  // Every record of a query; the error when it fails.
  static std::vector<std::vector<std::string>> ReadAll(const std::string& source,
                                                       const std::string& query,
                                                       RecordError* error) {
    std::vector<std::vector<std::string>> all;
    auto reader = Source(source, query)->open(error);
    if (!reader) return all;
    for (std::vector<std::string> r; reader->next(r);) all.push_back(r);
    if (reader->error()) *error = *reader->error();
    return all;
  }

  static bool Load(Design& design) {
    const QtTextMeasurer measurer;
    const QtPictureSizer sizer;
    return LoadDesign(kData / "invoice.qfd", design, {measurer, sizer}).ok();
  }

  std::string sqlite_;
  QtPictureStore pictures_;
};

TEST(ParseDatabase, SourcesAndTheirEdges) {
  std::string why;
  const auto pg = ParseDatabase("postgresql://山田@db.example:65535/請求", &why);
  ASSERT_TRUE(pg);
  EXPECT_EQ(std::tuple(pg->user, pg->host, pg->port, pg->database),
            std::tuple("山田", "db.example", 65535, "請求"));
  // Every field is in the text a source is written back as.
  for (const auto& [given, written] : std::vector<std::pair<std::string, std::string>>{
           {"postgresql://山田@db.example:65535/請求", ""},
           {"postgres://h/d", "postgresql://h/d"},
           {"postgresql://h:1/d", ""},
           {"sqlite:/a b/請求.db", ""},
           {"odbc:DSN1", ""}}) {
    EXPECT_EQ(ParseDatabase(given, &why)->text(), written.empty() ? given : written);
  }
  for (const char* csv : {"records.csv", "/tmp/sqlite.csv", "c:data.csv", ""}) {
    EXPECT_FALSE(ParseDatabase(csv, &why)) << csv;
    EXPECT_EQ(why, "") << csv;
  }
  for (const char* bad :
       {"postgresql://u:secret@h/d", "postgresql://h:0/d", "postgresql://h:65536/d",
        "postgresql://h:x/d", "postgresql://h", "postgresql://h/", "sqlite:", "odbc:"}) {
    EXPECT_FALSE(ParseDatabase(bad, &why)) << bad;
    EXPECT_NE(why, "") << bad;
    EXPECT_EQ(why.find("secret"), std::string::npos);
  }
}

TEST_F(DatabaseSourceTest, EverySourceMergesToTheCsvFilesPages) {
  Design design;
  ASSERT_TRUE(Load(design));
  const auto exported = [&](const MergeSource& source, const std::string& name) {
    ExportOptions options;
    options.merge = &source;
    options.dpi = 40;
    const fs::path pdf = dir_ / (name + ".pdf");
    EXPECT_TRUE(ExportDesign(design, pictures_, pdf, ExportFormat::Pdf, options).ok()) << name;
    EXPECT_TRUE(
        ExportDesign(design, pictures_, dir_ / (name + ".png"), ExportFormat::Png, options).ok());
    std::vector<QImage> pngs;
    for (int n = 1;; ++n) {
      char page[32];
      std::snprintf(page, sizeof page, "-%04d.png", n);
      const fs::path png = dir_ / (name + page);
      if (!fs::exists(png)) break;
      pngs.emplace_back(QString::fromStdString(png.string()));
      fs::remove(png);
    }
    return std::pair(test::CommandOutput("pdftotext " + pdf.string() + " -"), pngs);
  };
  for (const std::string group : {"請求書番号", ""}) {
    MergeSource csv{kData / "csv/invoices.csv", {}, group};
    csv.expressions = &basic::FieldExpressions();
    const auto [text, pngs] = exported(csv, "csv");
    ASSERT_GE(pngs.size(), group.empty() ? 2u : 4u);
    for (const std::string& s : sources()) {
      MergeSource db = csv;
      db.records = Source(s, "SELECT * FROM 請求");
      const auto [dbText, dbPngs] = exported(db, "db");
      EXPECT_EQ(dbText, text) << s << " " << group;
      ASSERT_EQ(dbPngs.size(), pngs.size()) << s;
      for (size_t i = 0; i < pngs.size(); ++i) EXPECT_TRUE(dbPngs[i] == pngs[i]) << s << " " << i;
    }
  }
}

TEST_F(DatabaseSourceTest, ValuesAreTheDatabasesTextAndBinaryIsRefused) {
  RecordError error;
  auto rows = ReadAll("sqlite:" + sqlite_, "SELECT 番号, 率, 日付, 空 FROM 型", &error);
  ASSERT_EQ(rows.size(), 1u) << error.message();
  EXPECT_EQ(rows[0], (std::vector<std::string>{"9007199254740993", "0.1", "2026-12-01", ""}));
  const char* pg = std::getenv("QF_TEST_POSTGRES");
  if (pg) {
    rows = ReadAll(pg, "SELECT 金額, 大きな数, 日付, 日時, 済, 空 FROM 型", &error);
    ASSERT_EQ(rows.size(), 1u) << error.message();
    EXPECT_EQ(rows[0], (std::vector<std::string>{"12345678901.25", "9007199254740993", "2026/12/01",
                                                 "2026/12/01 09:30:05", "True", ""}));
  }
  for (const std::string& s : sources()) {
    error = {};
    rows = ReadAll(s, "SELECT * FROM 型", &error);
    EXPECT_TRUE(rows.empty()) << s;
    EXPECT_NE(error.message().find("列「画像」はバイナリ"), std::string::npos) << error.message();
    EXPECT_EQ(error.line, 1) << s;  // the record that holds it
  }
}

TEST_F(DatabaseSourceTest, WritingQueriesAreRefusedAndTheRowsStay) {
  for (const std::string& s : sources()) {
    for (const char* write : {"DELETE FROM 請求", "UPDATE 請求 SET 顧客名 = 'x'", "DROP TABLE 請求",
                              "SELECT * FROM 請求; DELETE FROM 請求"}) {
      RecordError error;
      ReadAll(s, write, &error);
      EXPECT_NE(error.reason, "") << s << ": " << write;
    }
    RecordError error;
    const auto rows = ReadAll(s, "SELECT 顧客名 FROM 請求", &error);
    EXPECT_EQ(rows.size(), 17u) << s << ": " << error.message();
    for (const auto& row : rows) EXPECT_NE(row[0], "x") << s;
  }
}

TEST_F(DatabaseSourceTest, FailuresSayTheDatabasesReasonOnOneLine) {
  std::vector<std::pair<std::string, std::string>> cases = {
      {"sqlite:" + (dir_ / "無い.db").string(), "SELECT 1"}, {"sqlite:" + sqlite_, "SELEC 1"},
      {"sqlite:" + sqlite_, "SELECT 無い列 FROM 請求"},      {"odbc:無いDSN", "SELECT 1"},
      {"postgresql://qf@127.0.0.1:1/quillform", "SELECT 1"},
  };
  if (const char* pg = std::getenv("QF_TEST_POSTGRES")) {
    cases.emplace_back(pg, "SELECT * FROM 無い表");
    setenv("PGPASSWORD", "間違いのパスワード", 1);
    RecordError error;
    EXPECT_FALSE(Source(pg, "SELECT 1")->open(&error));
    EXPECT_NE(error.reason.find("password authentication failed"), std::string::npos)
        << error.reason;
    EXPECT_EQ(error.message().find("間違いのパスワード"), std::string::npos);
    setenv("PGPASSWORD", std::getenv("QF_TEST_PGPASSWORD"), 1);
  }
  for (const auto& [source, query] : cases) {
    RecordError error;
    EXPECT_FALSE(Source(source, query)->open(&error)) << source << " " << query;
    EXPECT_NE(error.reason, "") << source;
    EXPECT_EQ(error.message().find('\n'), std::string::npos) << error.message();
  }
  // An unknown table is told with the ones there are.
  DatabaseTarget target = *ParseDatabase("sqlite:" + sqlite_, nullptr);
  target.table = "請";
  RecordError error;
  EXPECT_FALSE(DatabaseSource(target).open(&error));
  EXPECT_NE(error.reason.find("「請」がありません（あるテーブル：型, 請求）"), std::string::npos)
      << error.reason;
  target.table = "請求";
  EXPECT_TRUE(DatabaseSource(target).open(&error));
}

TEST_F(DatabaseSourceTest, PagesAreReadForwardAndAgainFromTheTop) {
  Design design;
  ASSERT_TRUE(Load(design));
  for (const std::string& s : sources()) {
    MergeSource source{{}, {}, "請求書番号"};
    source.records = Source(s, "SELECT * FROM 請求");
    RecordError error;
    auto pages = MergedPages::Open(design, source, &error);
    ASSERT_TRUE(pages) << error.message();
    std::vector<std::vector<std::vector<std::string>>> inOrder;
    for (long n = 1; const MergedPage* p = pages->page(n); ++n) inOrder.push_back(p->records);
    ASSERT_EQ(inOrder.size(), 4u) << s;
    for (const long n : {3, 1, 4, 2, 2}) {
      const MergedPage* p = pages->page(n);
      ASSERT_TRUE(p) << s << " page " << n;
      EXPECT_EQ(p->records, inOrder[static_cast<size_t>(n - 1)]) << s << " page " << n;
    }
  }
}

// What a source leaves out, libpq takes from its own environment: PGHOST, PGPORT, PGUSER.
TEST_F(DatabaseSourceTest, LibpqFillsWhatTheSourceLeavesOut) {
  const char* pg = std::getenv("QF_TEST_POSTGRES");
  if (!pg) GTEST_SKIP() << "no PostgreSQL server";
  const DatabaseTarget given = *ParseDatabase(pg, nullptr);
  setenv("PGHOST", given.host.c_str(), 1);
  setenv("PGPORT", std::to_string(given.port).c_str(), 1);
  setenv("PGUSER", given.user.c_str(), 1);
  RecordError error;
  const auto rows = ReadAll("postgresql:///" + given.database, "SELECT count(*) FROM 請求", &error);
  unsetenv("PGHOST");
  unsetenv("PGPORT");
  unsetenv("PGUSER");
  ASSERT_EQ(rows.size(), 1u) << error.message();
  EXPECT_EQ(rows[0][0], "17");
}

TEST_F(DatabaseSourceTest, AConnectionLostHalfWayEndsWithTheReason) {
  const char* pg = std::getenv("QF_TEST_POSTGRES");
  if (!pg) GTEST_SKIP() << "no PostgreSQL server";
  RecordError error;
  auto reader = Source(pg, "SELECT * FROM 連番")->open(&error);
  ASSERT_TRUE(reader) << error.message();
  std::vector<std::string> r;
  ASSERT_TRUE(reader->next(r));
  EXPECT_EQ(r, (std::vector<std::string>{"1", "品目 1"}));
  // Another session ends this one's server process.
  auto killer = Source(pg,
                       "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                       "datname = current_database() AND pid <> pg_backend_pid()")
                    ->open(&error);
  ASSERT_TRUE(killer) << error.message();
  ASSERT_TRUE(killer->next(r));
  long read = 1;
  while (reader->next(r)) ++read;
  EXPECT_LT(read, 3000);
  ASSERT_TRUE(reader->error());
  EXPECT_EQ(reader->error()->line, read + 1);  // the record it could not read
  EXPECT_NE(reader->error()->message().find("件目：レコードを読めません"), std::string::npos)
      << reader->error()->message();
}

TEST_F(DatabaseSourceTest, AProgramReadsTheSameRowsFromEverySource) {
  ProgramRun run;
  run.name = "records.bas";
  run.entry = "Main";
  run.source =
      "Sub Main()\n"
      "  Do Until rs.EOF\n"
      "    Printer.Print rs!請求書番号 & \" \" & rs(\"顧客名\") & \" \" & rs(3)\n"
      "    rs.MoveNext\n"
      "  Loop\n"
      "  Printer.EndDoc\n"
      "End Sub\n";
  run.data = kData / "csv/invoices.csv";
  const auto text = [&](const ProgramRun& r) {
    const fs::path out = dir_ / "run.pdf";
    EXPECT_TRUE(ExportProgram(r, pictures_, out, ExportFormat::Pdf).ok());
    return test::CommandOutput("pdftotext " + out.string() + " -");
  };
  const std::string fromCsv = text(run);
  EXPECT_NE(fromCsv.find("INV-002 鈴木\"工房\""), std::string::npos) << fromCsv;
  for (const std::string& s : sources()) {
    ProgramRun db = run;
    db.data.clear();
    db.records = Source(s, "SELECT * FROM 請求");
    EXPECT_EQ(text(db), fromCsv) << s;
  }
}

}  // namespace
}  // namespace qf
