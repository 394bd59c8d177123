// Full redraw of 1,000 and 10,000 mixed objects, the print preview's page of 10,000, one drag step
// with 10 and 10,000 objects in the design, and a redraw with 50 pictures of one 2-megapixel JPEG.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "basic/records.h"
#include "basic/run_source.h"
#include "document/object_rows.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "platform/raster_surface.h"
#include "sample_design.h"
#include "source/source_generator.h"
#include "timing_reporter.h"
#include "view/object_walk.h"
#include "view/printing.h"
#include "view/renderer.h"

namespace {

namespace fs = std::filesystem;

// The design window at zoom 100 on an A4 page.
struct Window {
  Window() {
    view.zoom = 100;
    ApplyPageLayout(view);
    image = qf::ScreenImage(view.widthPx, view.heightPx);
    surface =
        std::make_unique<qf::RasterSurface>(image, view.page.scaleWidth, view.page.scaleHeight);
  }
  qf::ViewState view;
  QImage image;
  std::unique_ptr<qf::RasterSurface> surface;
  qf::QtPictureStore pictures;
};

const qf::Design& Sample(int count) {
  static std::map<int, qf::Design> designs;
  auto it = designs.find(count);
  if (it == designs.end()) it = designs.emplace(count, qf::bench::MakeSampleDesign(count, 5)).first;
  return it->second;
}

// Objects drawn by a full redraw: repeat blocks draw their rows several times.
long DrawnObjects(const qf::Design& d) {
  long n = 0;
  qf::WalkObjects(d, 1, d.objects.itemCount(),
                  [&n](const qf::WorkingRect&, const qf::ObjectRecord&) { ++n; });
  return n;
}

void BM_FullRedraw(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const qf::Design& d = Sample(count);
  Window w;
  qf::RenderContext ctx{*w.surface, d, w.view, w.pictures};
  for (auto _ : state) qf::FullRedraw(ctx);
  state.counters["drawn"] = static_cast<double>(DrawnObjects(d));
}

// Erasing the previous feedback and drawing the new one touches no other object.
void BM_DragStep(benchmark::State& state) {
  const qf::Design& d = Sample(static_cast<int>(state.range(0)));
  Window w;
  qf::RenderContext ctx{*w.surface, d, w.view, w.pictures};
  qf::FullRedraw(ctx);
  qf::ObjectRecord box;
  box.Kind = qf::ObjectKind::Box;
  box.Text = "0";
  box.Style = "0";
  box.Size = 1;
  qf::WorkingRect previous{40, 40, 90, 70};
  int step = 0;
  for (auto _ : state) {
    const qf::WorkingRect next{40, 40, 90.0 + (step % 40), 70.0 + (step % 25)};
    qf::DrawObject(ctx, previous, 3, qf::DrawObjectMode::FeedbackErase, box);
    qf::DrawObject(ctx, next, 3, qf::DrawObjectMode::FeedbackDraw, box);
    previous = next;
    ++step;
  }
}

std::string JpegPath() {
  return (fs::temp_directory_path() / "qf_bench_2mp.jpg").string();
}

qf::Design PictureDesign(int count) {
  qf::Design d;
  qf::ObjectRecord picture;
  picture.Kind = qf::ObjectKind::Picture;
  picture.Text = JpegPath();
  picture.Style = "0";
  for (int i = 0; i < count; ++i) {
    const double x = 10.0 + (i % 5) * 30;
    const double y = 10.0 + (i / 5) * 25;
    qf::AddObject(d.objects, picture, {x, y, x, y}, {}, 1);
  }
  return d;
}

// 50 pictures of one 2-megapixel JPEG; the store decodes it once and keeps it.
void BM_RedrawFiftyPictures(benchmark::State& state) {
  const qf::Design d = PictureDesign(50);
  Window w;
  qf::RenderContext ctx{*w.surface, d, w.view, w.pictures};
  for (auto _ : state) qf::FullRedraw(ctx);
  state.counters["decodes"] = w.pictures.decodes();
}

// The first redraw of a window: the picture decoded as well.
void BM_RedrawFiftyPicturesFirstTime(benchmark::State& state) {
  const qf::Design d = PictureDesign(50);
  for (auto _ : state) {
    Window w;
    qf::RenderContext ctx{*w.surface, d, w.view, w.pictures};
    qf::FullRedraw(ctx);
  }
}

// The print preview's page: the printing walk through the printer port, composed at 96 dpi
// (100 %), with the texts drawn over it.
void BM_PreviewPage(benchmark::State& state) {
  const qf::Design& d = Sample(static_cast<int>(state.range(0)));
  qf::QtPictureStore pictures;
  for (auto _ : state) {
    auto port = qf::QtPrinterPort::ForPdf("");
    QImage page;
    port->previewInto(&page, 96);
    qf::PrintDesign(d, *port, pictures, nullptr);
    benchmark::DoNotOptimize(page.bits());
  }
}

// The 10,000-object sample with its pictures pointed at one real file, so that both ways of
// printing draw them (the generated program stops at a picture it cannot load).
const qf::Design& SourceSample() {
  static const qf::Design d = [] {
    qf::Design copy = Sample(10000);
    for (int r = 1; r <= copy.objects.itemCount(); ++r) {
      if (qf::KindFromName(copy.objects.cell(r, qf::kColKind)) == qf::ObjectKind::Picture) {
        copy.objects.setCell(r, qf::kColText, JpegPath());
      }
    }
    return copy;
  }();
  return d;
}

// The page printed directly, and printed by running the generated source (parsed and run each
// time) onto the same port, the program's rs!Amount read from one record.
void BM_PrintPage(benchmark::State& state) {
  const bool throughSource = state.range(0) != 0;
  const qf::Design& d = SourceSample();
  const std::string source = qf::P_MakeSourceSub(d, qf::Visibility::Private);
  qf::QtPictureStore pictures;
  for (auto _ : state) {
    auto port = qf::QtPrinterPort::ForPdf("");
    QImage page;
    port->previewInto(&page, 96);
    if (throughSource) {
      qf::CsvError error;
      qf::basic::RunWith with;
      with.records = std::make_shared<qf::basic::RecordSet>(
          qf::CsvReader::FromBytes("Amount\n1234\n", "r.csv", {}, &error));
      const auto stopped = qf::basic::RunOnPrinter(source, "F_DataPrint", *port, pictures, with);
      if (stopped) state.SkipWithError(stopped->message.c_str());
    } else {
      qf::PrintDesign(d, *port, pictures, nullptr);
    }
    benchmark::DoNotOptimize(page.bits());
  }
}

BENCHMARK(BM_FullRedraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPage)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStep)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond)->MinTime(2);
BENCHMARK(BM_RedrawFiftyPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFiftyPicturesFirstTime)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  {
    // 1600 x 1250 pixels: two megapixels of something a JPEG encoder has to work at.
    QImage photo(1600, 1250, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
      for (int x = 0; x < photo.width(); ++x) {
        photo.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
      }
    }
    photo.save(QString::fromStdString(JpegPath()), "JPEG", 90);
  }
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  if (t["BM_FullRedraw/1000"] > 0) {
    const double small = t["BM_FullRedraw/1000"] / 1000 * 1000;
    const double large = t["BM_FullRedraw/10000"] / 10000 * 1000;
    std::printf(
        "full redraw per object row: %.2f us at 1,000, %.2f us at 10,000 (ratio %.2f); "
        "per drawn object %.2f and %.2f us (%ld and %ld drawn: repeats draw rows "
        "again)\n",
        small, large, large / small,
        t["BM_FullRedraw/1000"] * 1000 / static_cast<double>(DrawnObjects(Sample(1000))),
        t["BM_FullRedraw/10000"] * 1000 / static_cast<double>(DrawnObjects(Sample(10000))),
        DrawnObjects(Sample(1000)), DrawnObjects(Sample(10000)));
  }
  const double drag10 = t["BM_DragStep/10/min_time:2.000"];
  const double drag10000 = t["BM_DragStep/10000/min_time:2.000"];
  if (drag10 > 0) {
    std::printf(
        "drag step: %.2f us with 10 objects, %.2f us with 10,000 (ratio %.2f, goal "
        "within 10 %%)\n",
        drag10, drag10000, drag10000 / drag10);
  }
  if (t["BM_PreviewPage/10000"] > 0 && t["BM_FullRedraw/10000"] > 0) {
    std::printf(
        "print preview of a page of 10,000 objects: %.1f ms, %.2f times a full redraw in the "
        "design window (goal <= 1.5)\n",
        t["BM_PreviewPage/10000"], t["BM_PreviewPage/10000"] / t["BM_FullRedraw/10000"]);
  }
  if (t["BM_PrintPage/0"] > 0 && t["BM_PrintPage/1"] > 0) {
    std::printf(
        "the 10,000-object page printed by its generated source: %.1f ms against %.1f ms printed "
        "directly (ratio %.2f, goal <= 1.5)\n",
        t["BM_PrintPage/1"], t["BM_PrintPage/0"], t["BM_PrintPage/1"] / t["BM_PrintPage/0"]);
  }
  if (t["BM_RedrawFiftyPictures"] > 0) {
    std::printf(
        "redraw with 50 pictures of a 2-megapixel JPEG: %.1f ms cached, %.1f ms with "
        "the decode\n",
        t["BM_RedrawFiftyPictures"], t["BM_RedrawFiftyPicturesFirstTime"]);
  }
  benchmark::Shutdown();
  fs::remove(JpegPath());
  return 0;
}
