// The invoice form merged to PDF, 500 pages, from a CSV file, from an SQLite file and from the
// PostgreSQL server test.sh starts (QF_TEST_POSTGRES, QF_TEST_PGPASSWORD; left out without it),
// all holding the same records; and the peak memory of reading 100,000 rows against 1,000.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "invoice_form.h"
#include "merge/merge.h"
#include "platform/database_source.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "timing_reporter.h"

namespace {

namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
  return fs::temp_directory_path() / ("qf_database_bench_" + std::to_string(::getpid()) + name);
}

constexpr long kPages = 500;
constexpr long kPerPage = 30;
constexpr int kRounds = 3;

// The rows of the CSV file in a table of that name, written through a connection of its own
// (a negative count drops the table).
bool Load(QSqlDatabase db, const std::string& table, long rows) {
  if (!db.open()) return false;
  QSqlQuery q(db);
  const QString name = QString::fromStdString(table);
  q.exec("DROP TABLE IF EXISTS " + name);
  if (rows < 0) return true;  // dropped only
  if (!q.exec("CREATE TABLE " + name + " (顧客名 TEXT, 品名 TEXT)") || !db.transaction()) {
    return false;
  }
  q.prepare("INSERT INTO " + name + " VALUES (?, ?)");
  for (long i = 0; i < rows; ++i) {
    q.bindValue(0, QStringLiteral("顧客%1").arg(i / kPerPage));
    q.bindValue(1, QStringLiteral("品目 %1").arg(i));
    if (!q.exec()) return false;
  }
  return db.commit();
}

// Writes the table through a connection of its own, read-write (the merge's are read-only).
bool LoadTable(const qf::DatabaseTarget& target, const std::string& table, long rows) {
  const bool sqlite = target.kind == qf::DatabaseKind::Sqlite;
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? "QSQLITE" : "QPSQL", "bench-loader");
    db.setDatabaseName(QString::fromStdString(sqlite ? target.path : target.database));
    if (!sqlite) {
      db.setHostName(QString::fromStdString(target.host));
      db.setPort(target.port);
      db.setUserName(QString::fromStdString(target.user));
    }
    ok = Load(db, table, rows);
    db.close();
  }
  QSqlDatabase::removeDatabase("bench-loader");
  return ok;
}

// The sources by name: "csv", "sqlite", "postgresql".
std::map<std::string, qf::MergeSource> g_sources;

void Print(benchmark::State& state, const std::string& kind) {
  const qf::Design design = qf::bench::Form();
  qf::QtPictureStore pictures;
  qf::ExportOptions options;
  options.merge = &g_sources[kind];
  const fs::path out = Temp(".pdf");
  for (auto _ : state) {
    const qf::FileStatus st =
        qf::ExportDesign(design, pictures, out, qf::ExportFormat::Pdf, options);
    if (!st.ok()) state.SkipWithError(st.detail.c_str());
  }
  std::error_code ec;
  fs::remove(out, ec);
}

std::string RunName(const std::string& kind, int round) {
  return kind + "/round:" + std::to_string(round);
}

// Peak resident memory of reading every row of a source through the merge's pager, measured in
// a child of its own so that nothing else of this run counts; -1 when it failed.
double PeakMbReading(const qf::MergeSource& source) {
  const pid_t child = fork();
  if (child == 0) {
    const qf::Design design = qf::bench::Form();
    qf::RecordError error;
    std::optional<qf::OpenedMerge> opened = qf::OpenMerge(design, source, &error);
    if (!opened) _exit(1);
    qf::RangedPages pages(*opened, source);
    qf::MergedPage page;
    while (pages.next(page)) {
    }
    _exit(opened->reader->error() ? 1 : 0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return -1;
  }
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::shared_ptr<const qf::RecordSource> Query(qf::DatabaseTarget target, const std::string& table) {
  target.query = "SELECT * FROM " + table;
  return std::make_shared<qf::DatabaseSource>(std::move(target));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  const fs::path csv = Temp(".csv");
  const fs::path sqlite = Temp(".db");
  qf::bench::WriteRecords(csv, kPages);
  g_sources["csv"] = qf::MergeSource{csv, {}, ""};
  std::vector<std::string> kinds = {"csv"};
  std::map<std::string, qf::DatabaseTarget> targets;
  targets["sqlite"] = *qf::ParseDatabase("sqlite:" + sqlite.string(), nullptr);
  if (!LoadTable(targets["sqlite"], "明細", kPages * kPerPage)) {
    std::fprintf(stderr, "the SQLite file could not be made\n");
    return 1;
  }
  const char* pg = std::getenv("QF_TEST_POSTGRES");
  if (pg && std::getenv("QF_TEST_PGPASSWORD")) {
    setenv("PGPASSWORD", std::getenv("QF_TEST_PGPASSWORD"), 1);
    targets["postgresql"] = *qf::ParseDatabase(pg, nullptr);
    if (!LoadTable(targets["postgresql"], "明細", kPages * kPerPage)) {
      std::fprintf(stderr, "the PostgreSQL table could not be made\n");
      return 1;
    }
  }
  for (const auto& [kind, target] : targets) {
    kinds.push_back(kind);
    g_sources[kind] = qf::MergeSource{{}, {}, ""};
    g_sources[kind].records = Query(target, "明細");
  }
  for (int round = 1; round <= kRounds; ++round) {
    for (const std::string& kind : kinds) {
      benchmark::RegisterBenchmark(RunName(kind, round).c_str(),
                                   [kind](benchmark::State& s) { Print(s, kind); })
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const std::string& kind : kinds) {
    if (kind == "csv") continue;
    std::vector<std::array<double, 2>> rounds;  // ratio, ms a page from the CSV file
    for (int round = 1; round <= kRounds; ++round) {
      const double plain = reporter.times[RunName("csv", round) + "/iterations:1"];
      const double db = reporter.times[RunName(kind, round) + "/iterations:1"];
      if (plain > 0 && db > 0) rounds.push_back({db / plain, plain / kPages});
    }
    if (rounds.size() != kRounds) continue;
    std::sort(rounds.begin(), rounds.end());
    const auto [ratio, plain] = rounds[kRounds / 2];
    std::printf(
        "500 merged pages from %s: %.2f ms a page against %.2f ms from the CSV file (time "
        "ratio %.2f, the middle of %d rounds, goal <= 1.2)\n",
        kind.c_str(), plain * ratio, plain, ratio, kRounds);
  }
  for (const auto& [kind, target] : targets) {
    std::map<long, double> peak;
    for (const long rows : {1000L, 100000L}) {
      const std::string table = "行" + std::to_string(rows);
      const bool loaded = LoadTable(target, table, rows);
      qf::MergeSource source{{}, {}, ""};
      source.records = Query(target, table);
      peak[rows] = loaded ? PeakMbReading(source) : -1;
    }
    if (peak[1000] > 0 && peak[100000] > 0) {
      std::printf(
          "peak memory reading %s: %.1f MB for 1,000 rows, %.1f MB for 100,000 (growth %.1f %%, "
          "goal < 10 %%)\n",
          kind.c_str(), peak[1000], peak[100000], (peak[100000] / peak[1000] - 1) * 100);
    }
  }
  if (targets.count("postgresql")) {
    // The server's database is the tests' too: it is left as it was.
    for (const char* table : {"明細", "行1000", "行100000"})
      LoadTable(targets["postgresql"], table, -1);
  }
  std::error_code ec;
  fs::remove(csv, ec);
  fs::remove(sqlite, ec);
  return 0;
}
