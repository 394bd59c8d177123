// A merged PDF of a 100-object invoice: 100 and 1,000 pages. Time per page should stay flat and
// peak memory should not grow with the page count: records are read and pages printed as a
// stream.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "document/object_rows.h"
#include "merge/merge.h"
#include "merge/merged_pages.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "timing_reporter.h"

namespace {

namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
  return fs::temp_directory_path() / ("qf_merge_bench_" + std::to_string(::getpid()) + name);
}

qf::ObjectRecord Text(const std::string& text, const std::string& field, int16_t align = 0) {
  qf::ObjectRecord r;
  r.Kind = qf::ObjectKind::Text;
  r.Label = "t";
  r.Text = text;
  r.Field = field;
  r.Style = "ＭＳ 明朝";
  r.Size = 10.5f;
  r.Align = align;
  return r;
}

qf::ObjectRecord Figure(qf::ObjectKind kind) {
  qf::ObjectRecord r;
  r.Kind = kind;
  r.Label = "f";
  r.Text = kind == qf::ObjectKind::Line ? "" : "0";
  r.Style = "0";
  r.Size = 1;
  return r;
}

// An invoice of 100 object rows: a header of fields, labels and rules, and a block of ten
// lines, each with four fields in a box.
qf::Design Invoice() {
  qf::Design d;
  auto add = [&d](const qf::ObjectRecord& r, qf::WorkingRect at) {
    qf::AddObject(d.objects, r, at, {20, 5}, 1);
  };
  for (int i = 0; i < 30; ++i) {
    add(Text("見出し" + std::to_string(i), i % 3 == 0 ? "rs!顧客名" : ""),
        {15.0 + (i % 5) * 36, 10.0 + (i / 5) * 6, 15.0 + (i % 5) * 36, 10.0 + (i / 5) * 6});
  }
  for (int i = 0; i < 30; ++i) {
    add(Figure(i % 2 ? qf::ObjectKind::Line : qf::ObjectKind::Box),
        {15.0 + i, 50.0 + i, 60.0 + i * 4, 52.0 + i});
  }
  qf::ObjectRecord start;
  start.Kind = qf::ObjectKind::Command;
  start.Label = "明細";
  start.X1 = 9;
  start.Text = "0";
  start.Field = "sngI";
  start.Style = "0";
  start.Size = 9;
  add(start, {9, 0, 0, 0});
  for (int i = 0; i < 10; ++i) {
    add(Figure(qf::ObjectKind::Box), {15.0 + i * 18, 100, 33.0 + i * 18, 108});
  }
  for (int i = 0; i < 26; ++i) {
    static const char* kFields[] = {"Items(sngI).品名", "Items(sngI).数量", "Items(sngI).単価",
                                    "Items(sngI).金額"};
    add(Text("明細" + std::to_string(i), i < 4 ? kFields[i] : "", i % 4 == 3 ? 1 : 0),
        {17.0 + i * 7, 102, 17.0 + i * 7, 102});
  }
  qf::ObjectRecord end = start;
  end.Text = "1";
  add(end, {9, 0, 0, 0});
  return d;
}

// One record a line; every page takes ten of them (the block's passes).
void WriteRecords(const fs::path& path, long pages) {
  std::ofstream out(path, std::ios::binary);
  out << "顧客名,品名,数量,単価,金額\r\n";
  for (long i = 0; i < pages * 10; ++i) {
    out << "顧客" << i / 10 << ",\"品目 " << i << "\"," << i % 7 << "," << i * 3 << "," << i * 21
        << "\r\n";
  }
}

std::map<long, double> g_peakMb;  // the benchmark's own bookkeeping, read by main

double PeakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void BM_MergedPdf(benchmark::State& state) {
  const long pages = state.range(0);
  const qf::Design design = Invoice();
  const fs::path data = Temp(".csv");
  const fs::path out = Temp(".pdf");
  WriteRecords(data, pages);
  qf::QtPictureStore pictures;
  qf::MergeSource source{data, {}, ""};
  qf::ExportOptions options;
  options.merge = &source;
  long printed = 0;
  options.progress = [&printed](long) {
    ++printed;
    return true;
  };
  for (auto _ : state) {
    printed = 0;
    const qf::FileStatus st =
        qf::ExportDesign(design, pictures, out, qf::ExportFormat::Pdf, options);
    if (!st.ok() || printed != pages) state.SkipWithError(st.detail.c_str());
  }
  state.counters["s_per_page"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  g_peakMb[pages] = PeakMb();
  state.counters["peak_MB"] = g_peakMb[pages];
  std::error_code ec;
  fs::remove(data, ec);
  fs::remove(out, ec);
}
BENCHMARK(BM_MergedPdf)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

// Resident memory now (not the peak): what the preview holds after its pages were shown.
double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

std::map<long, double> g_firstMb;  // resident after the first page, by records
std::map<long, double> g_endMb;    // ... and after paging to the end

// What the print preview does with merged records: the first page drawn at 96 dpi as soon as
// it is read (the pass that counts the pages goes on afterwards), timed; then every page read
// and the last drawn, as paging to the end does, for the memory it leaves.
void BM_PreviewFirstPage(benchmark::State& state) {
  const long records = state.range(0);
  const qf::Design design = Invoice();
  const fs::path data = Temp("_preview.csv");
  WriteRecords(data, records / 10);
  qf::QtPictureStore pictures;
  const qf::MergeSource source{data, {}, ""};
  auto draw = [&](const qf::MergedPage& page) {
    std::unique_ptr<qf::QtPrinterPort> port =
        qf::QtPrinterPort::ForPdf(Temp("_preview.pdf").string());
    QImage image;
    port->previewInto(&image, 96);
    qf::PrintOnePage(design, *port, pictures, page, nullptr);
    return image.width();
  };
  std::unique_ptr<qf::MergedPages> pages;
  for (auto _ : state) {
    qf::CsvError error;
    pages = qf::MergedPages::Open(design, source, &error);
    const qf::MergedPage* first = pages ? pages->page(1) : nullptr;
    if (!first || draw(*first) <= 0) state.SkipWithError("no first page");
  }
  g_firstMb[records] = ResidentMb();
  for (long n = 2; pages && pages->page(n); ++n) {
  }
  if (pages && pages->knownPages() > 0) draw(*pages->page(pages->knownPages()));
  g_endMb[records] = ResidentMb();
  if (!pages || pages->knownPages() != records / 10) state.SkipWithError("pages lost");
  std::error_code ec;
  fs::remove(data, ec);
}
BENCHMARK(BM_PreviewFirstPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

std::map<long, double> g_pdfKb;  // file sizes, read by main

// A page of 40 amounts in two faces, written with the yen sign and wave dash (0), or with the
// full-width signs that share their glyphs (1), which the PDF names through an alias of each
// face.
void BM_PdfSigns(benchmark::State& state) {
  const bool fullWidth = state.range(0) != 0;
  qf::Design d;
  for (int i = 0; i < 40; ++i) {
    qf::ObjectRecord r = Text((fullWidth ? "￥" : "¥") + std::to_string(1000 + i) +
                                  (fullWidth ? "～" : "〜") + "　合計金額",
                              "");
    r.Style = i % 2 ? "ＭＳ 明朝" : "ＭＳ ゴシック";
    qf::AddObject(d.objects, r, {15.0 + (i % 2) * 90, 10.0 + (i / 2) * 12, 0, 0}, {20, 5}, 1);
  }
  const fs::path out = Temp(fullWidth ? "_full.pdf" : "_half.pdf");
  qf::QtPictureStore pictures;
  for (auto _ : state) {
    const qf::FileStatus st = qf::ExportDesign(d, pictures, out, qf::ExportFormat::Pdf);
    if (!st.ok()) state.SkipWithError(st.detail.c_str());
  }
  std::error_code ec;
  g_pdfKb[state.range(0)] = static_cast<double>(fs::file_size(out, ec)) / 1024.0;
  fs::remove(out, ec);
}
BENCHMARK(BM_PdfSigns)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  if (t["BM_MergedPdf/100/iterations:1"] > 0 && t["BM_MergedPdf/1000/iterations:1"] > 0) {
    const double small = t["BM_MergedPdf/100/iterations:1"] / 100 * 1000;
    const double large = t["BM_MergedPdf/1000/iterations:1"] / 1000 * 1000;
    std::printf(
        "merged PDF: %.1f ms a page at 100 pages, %.1f ms at 1,000 (ratio %.2f, goal <= 1.1); "
        "peak memory %.0f MB after 100 pages, %.0f MB after 1,000 (growth %.1f %%, goal < 10 %%)\n",
        small, large, large / small, g_peakMb[100], g_peakMb[1000],
        (g_peakMb[1000] / g_peakMb[100] - 1) * 100);
  }
  if (t["BM_PreviewFirstPage/1000"] > 0 && t["BM_PreviewFirstPage/100000"] > 0) {
    std::printf(
        "preview of merged records: first page %.1f ms with 1,000 records, %.1f ms with 100,000 "
        "(ratio %.2f, goal <= 1.2); resident memory %.1f MB after the first page of 100,000, "
        "%.1f MB after paging to the end (growth %.1f %%, goal < 10 %%)\n",
        t["BM_PreviewFirstPage/1000"], t["BM_PreviewFirstPage/100000"],
        t["BM_PreviewFirstPage/100000"] / t["BM_PreviewFirstPage/1000"], g_firstMb[100000],
        g_endMb[100000], (g_endMb[100000] / g_firstMb[100000] - 1) * 100);
  }
  if (t["BM_PdfSigns/0"] > 0 && t["BM_PdfSigns/1"] > 0) {
    std::printf(
        "PDF with ￥ and ～ named as themselves: %.1f ms a page against %.1f ms with ¥ and 〜 "
        "(+%.1f ms), %.0f KB against %.0f KB\n",
        t["BM_PdfSigns/1"], t["BM_PdfSigns/0"], t["BM_PdfSigns/1"] - t["BM_PdfSigns/0"], g_pdfKb[1],
        g_pdfKb[0]);
  }
  return 0;
}
