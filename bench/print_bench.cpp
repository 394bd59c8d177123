// Merged printing to PDF of a form that is mostly figures: a block of 30 rounded boxes with a
// rule and a field each, a stamp ring, a hatched header and a few header fields, 50 and 500
// pages. Against the floor: the same pages drawn as plain QPainter calls into a QPdfWriter, no
// composing and no ink rule, in the same run. Prints time and bytes as ratios to the floor, the
// time per page from 50 to 500 pages and the peak memory after each.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QPdfWriter>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "document/object_rows.h"
#include "invoice_form.h"
#include "merge/merge.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "platform/vector_surface.h"
#include "timing_reporter.h"
#include "view/page_recording.h"
#include "view/printing.h"

namespace {

namespace fs = std::filesystem;
using qf::bench::Form;
using qf::bench::WriteRecords;

fs::path Temp(const std::string& name) {
  return fs::temp_directory_path() / ("qf_print_bench_" + std::to_string(::getpid()) + name);
}

// A port whose page is a PDF file's, for ports that draw it elsewhere.
class PdfPagePort : public qf::PrinterPort {
 public:
  void setPaperSize(int16_t code) override { geometry_->setPaperSize(code); }
  void setOrientation(int16_t orientation) override { geometry_->setOrientation(orientation); }
  void setScaleMode(int16_t mode) override { geometry_->setScaleMode(mode); }
  qf::PrinterPage page() const override { return geometry_->page(); }

 protected:
  std::unique_ptr<qf::QtPrinterPort> geometry_ = qf::QtPrinterPort::ForPdf("");
};

// The floor: the same walk drawn by plain QPainter calls into a QPdfWriter.
class FloorPort final : public PdfPagePort {
 public:
  explicit FloorPort(const fs::path& path) : writer_(QString::fromStdString(path.string())) {
    writer_.setResolution(72);  // a unit is a point
  }
  qf::Surface* beginPage() override {
    if (!painter_.isActive()) {
      writer_.setPageLayout(geometry_->printer().pageLayout());
      writer_.setPageMargins(QMarginsF(0, 0, 0, 0));
      if (!painter_.begin(&writer_)) return nullptr;
    } else {
      if (surface_) surface_->finish();  // the page before gets its texts
      if (!writer_.newPage()) return nullptr;
    }
    const QSizeF points = geometry_->printer().pageLayout().fullRectPoints().size();
    const qf::PrinterPage p = page();
    surface_ = std::make_unique<qf::VectorSurface>(painter_, points.width(), points.height(),
                                                   p.scaleWidth, p.scaleHeight, 600);
    return surface_.get();
  }
  bool endDoc(std::string*) override {
    if (surface_) surface_->finish();
    surface_.reset();
    return painter_.end();
  }

 private:
  QPdfWriter writer_;
  QPainter painter_;
  std::unique_ptr<qf::VectorSurface> surface_;
};

// Only the walk and the recording of each page: the part of printing that another core could do
// while the writer packs the page before.
class RecordingPort final : public PdfPagePort {
 public:
  qf::Surface* beginPage() override {
    page_ = std::make_unique<qf::PageRecording>(
        0.1, 0.1,
        [](const qf::FontSpec&, std::string_view t) { return static_cast<double>(t.size()); });
    return page_.get();
  }
  bool endDoc(std::string*) override { return page_ != nullptr; }

 private:
  std::unique_ptr<qf::PageRecording> page_;
};

std::map<std::string, double> g_kb;      // file sizes by benchmark, read by main
std::map<std::string, double> g_peakMb;  // peak memory after each

double PeakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void Print(benchmark::State& state, bool floor) {
  const long pages = state.range(0);
  const qf::Design design = Form();
  const fs::path data = Temp(".csv");
  const fs::path out = Temp(floor ? "_floor.pdf" : ".pdf");
  WriteRecords(data, pages);
  qf::QtPictureStore pictures;
  const qf::MergeSource source{data, {}, ""};
  for (auto _ : state) {
    std::string error;
    bool ok = false;
    if (floor) {
      FloorPort port(out);
      ok = qf::PrintMerged(design, port, pictures, source, nullptr, &error);
    } else {
      auto port = qf::QtPrinterPort::ForPdf(out.string());
      ok = qf::PrintMerged(design, *port, pictures, source, nullptr, &error);
    }
    if (!ok) state.SkipWithError(error.c_str());
  }
  const std::string name = std::string(floor ? "floor/" : "ours/") + std::to_string(pages);
  std::error_code ec;
  g_kb[name] = static_cast<double>(fs::file_size(out, ec)) / 1024.0;
  g_peakMb[name] = PeakMb();
  fs::remove(data, ec);
  fs::remove(out, ec);
}

void BM_MergedPrint(benchmark::State& state) {
  Print(state, false);
}
void BM_RecordOnly(benchmark::State& state) {
  const qf::Design design = Form();
  const fs::path data = Temp("_record.csv");
  WriteRecords(data, state.range(0));
  qf::QtPictureStore pictures;
  const qf::MergeSource source{data, {}, ""};
  for (auto _ : state) {
    RecordingPort port;
    std::string error;
    if (!qf::PrintMerged(design, port, pictures, source, nullptr, &error)) {
      state.SkipWithError(error.c_str());
    }
  }
  std::error_code ec;
  fs::remove(data, ec);
}
void BM_MergedPrintFloor(benchmark::State& state) {
  Print(state, true);
}
// Ours first: the peak memory after 50 pages is then its own.
BENCHMARK(BM_MergedPrint)->Arg(50)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergedPrintFloor)->Arg(50)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordOnly)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  {
    // Fonts and the PDF writer's first use cost the same once for both ways: not counted.
    const qf::Design design = Form();
    qf::QtPictureStore pictures;
    const fs::path out = Temp("_warm.pdf");
    FloorPort floor(out);
    qf::PrintDesign(design, floor, pictures, nullptr);
    qf::PrintDesign(design, *qf::QtPrinterPort::ForPdf(out.string()), pictures, nullptr);
    std::error_code ec;
    fs::remove(out, ec);
  }
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  const auto ms = [&t](const char* name, long pages) {
    return t[std::string(name) + "/" + std::to_string(pages) + "/iterations:1"] /
           static_cast<double>(pages);
  };
  for (const long pages : {50L, 500L}) {
    const double ours = ms("BM_MergedPrint", pages);
    const double floor = ms("BM_MergedPrintFloor", pages);
    if (ours <= 0 || floor <= 0) continue;
    const std::string n = std::to_string(pages);
    std::printf(
        "%ld merged pages to PDF: %.2f ms a page against %.2f ms for plain QPainter calls "
        "(time ratio %.2f, goal <= 3); %.0f KB against %.0f KB (size ratio %.2f, goal <= 3)\n",
        pages, ours, floor, ours / floor, g_kb["ours/" + n], g_kb["floor/" + n],
        g_kb["ours/" + n] / g_kb["floor/" + n]);
  }
  if (ms("BM_MergedPrint", 50) > 0 && ms("BM_MergedPrint", 500) > 0) {
    std::printf(
        "time per page from 50 to 500 pages: ratio %.2f (goal <= 1.1); peak memory %.1f MB "
        "after 50 pages, %.1f MB after 500 (growth %.1f %%, goal < 10 %%)\n",
        ms("BM_MergedPrint", 500) / ms("BM_MergedPrint", 50), g_peakMb["ours/50"],
        g_peakMb["ours/500"], (g_peakMb["ours/500"] / g_peakMb["ours/50"] - 1) * 100);
  }
  if (ms("BM_RecordOnly", 500) > 0 && ms("BM_MergedPrint", 500) > 0) {
    std::printf(
        "of that, reading the records, walking and recording a page: %.2f ms a page (%.0f %%), "
        "what a second core could take off the writer's\n",
        ms("BM_RecordOnly", 500), ms("BM_RecordOnly", 500) / ms("BM_MergedPrint", 500) * 100);
  }
  return 0;
}
