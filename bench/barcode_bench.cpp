// Merged printing to PDF of the invoice form with a QR code (the invoice's number and amount)
// and a JAN code on every page, each from the page's record, against the same run without the
// two barcodes: what encoding and drawing the symbols adds to a print run, in time and bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "document/typed_object.h"
#include "invoice_form.h"
#include "merge/merge.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "timing_reporter.h"

namespace {

namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
  return fs::temp_directory_path() / ("qf_barcode_bench_" + std::to_string(::getpid()) + name);
}

qf::Design WithBarcodes() {
  qf::Design d = qf::bench::Form();
  qf::ObjectRecord qr;
  qr.Label = "QR";
  qf::SetBody(qr, qf::BarcodeObject{qf::Symbology::Qr, "INV-0000 金額0円", "rs!請求", 0, 0});
  qf::AddObject(d.objects, qr, {165, 250, 195, 280}, {}, 1);
  qf::ObjectRecord jan;
  jan.Label = "JAN";
  qf::SetBody(jan, qf::BarcodeObject{qf::Symbology::Jan13, "490000000000", "rs!JAN", 9, 0});
  qf::AddObject(d.objects, jan, {15, 255, 75, 280}, {}, 1);
  return d;
}

// Thirty records a page; the page's first gives the barcodes their values (a QR of about 100
// bytes).
void WriteRecords(const fs::path& path, long pages) {
  std::ofstream out(path, std::ios::binary);
  out << "顧客名,品名,請求,JAN\r\n";
  for (long i = 0; i < pages * 30; ++i) {
    char jan[32];
    std::snprintf(jan, sizeof jan, "49%010ld", i);
    out << "顧客" << i / 30 << ",品目 " << i << ",請求書 No.INV-" << i
        << " 株式会社サンプル商事 御中 ご請求金額 " << i * 1234 << "円 お支払期限 2027/01/31 "
        << "振込先 サンプル銀行 本店 普通 1234567," << jan << "\r\n";
  }
}

std::map<std::string, double> g_kb;

void Print(benchmark::State& state, bool barcodes) {
  const long pages = state.range(0);
  const qf::Design design = barcodes ? WithBarcodes() : qf::bench::Form();
  const fs::path data = Temp(".csv");
  const fs::path out = Temp(barcodes ? "_barcodes.pdf" : ".pdf");
  WriteRecords(data, pages);
  qf::QtPictureStore pictures;
  const qf::MergeSource source{data, {}, ""};
  for (auto _ : state) {
    std::string error;
    auto port = qf::QtPrinterPort::ForPdf(out.string());
    if (!qf::PrintMerged(design, *port, pictures, source, nullptr, &error)) {
      state.SkipWithError(error.c_str());
    }
  }
  std::error_code ec;
  g_kb[barcodes ? "barcodes" : "plain"] = static_cast<double>(fs::file_size(out, ec)) / 1024.0;
  fs::remove(data, ec);
  fs::remove(out, ec);
}

// Three rounds, each running both cases one after the other: the machine's speed drifts over a
// run, so each round's ratio compares runs made at the same speed, and the middle round counts.
constexpr int kRounds = 3;

std::string RunName(bool barcodes, int round) {
  return std::string(barcodes ? "WithBarcodes" : "WithoutBarcodes") +
         "/round:" + std::to_string(round);
}

void Register() {
  for (int round = 1; round <= kRounds; ++round) {
    for (const bool barcodes : {false, true}) {
      benchmark::RegisterBenchmark(RunName(barcodes, round).c_str(),
                                   [barcodes](benchmark::State& s) { Print(s, barcodes); })
          ->Arg(500)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  {
    // Fonts and the PDF writer's first use are not counted.
    qf::QtPictureStore pictures;
    const fs::path out = Temp("_warm.pdf");
    qf::PrintDesign(WithBarcodes(), *qf::QtPrinterPort::ForPdf(out.string()), pictures, nullptr);
    std::error_code ec;
    fs::remove(out, ec);
  }
  Register();
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::vector<std::array<double, 2>> rounds;  // time ratio and time a page with barcodes
  for (int round = 1; round <= kRounds; ++round) {
    const double plain = reporter.times[RunName(false, round) + "/500/iterations:1"];
    const double barcodes = reporter.times[RunName(true, round) + "/500/iterations:1"];
    if (plain > 0 && barcodes > 0) rounds.push_back({barcodes / plain, plain / 500});
  }
  if (rounds.size() == kRounds) {
    std::sort(rounds.begin(), rounds.end());
    const auto [ratio, plain] = rounds[kRounds / 2];
    std::printf(
        "500 merged pages with a QR and a JAN from each record: %.2f ms a page against %.2f ms "
        "without them (time ratio %.2f, the middle of %d rounds, goal <= 1.3); %.0f KB against "
        "%.0f KB (size ratio %.2f, goal <= 1.3)\n",
        plain * ratio, plain, ratio, kRounds, g_kb["barcodes"], g_kb["plain"],
        g_kb["barcodes"] / g_kb["plain"]);
  }
  return 0;
}
