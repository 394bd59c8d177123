// A committed cell edit with its page update, and an undo of it, on a 10,000-object design
// against a 100-object one. Both designs hold the same 100 objects around the edited one; the
// larger one has 9,900 more elsewhere on the page, so what the page must draw again is the same
// and any difference is what the editor pays for the size of the design. Prints the two
// ratios, the memory 1,000 single-cell undo steps hold on the larger design, and the ratio of
// one step of dragging a new object on 10,000 objects against 10.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "document/object_rows.h"
#include "edit/editor.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/qt_measure.h"
#include "platform/raster_surface.h"
#include "timing_reporter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEditedRow = 50;

// A page the editor draws on, as the design window's.
class Page final : public qf::EditView {
 public:
  explicit Page(qf::ViewState& view) {
    qf::ApplyPageLayout(view);
    image = qf::PageImage(view);
    surface =
        std::make_unique<qf::RasterSurface>(image, view.page.scaleWidth, view.page.scaleHeight);
  }
  qf::Surface* pageSurface() override { return surface.get(); }
  void pageChanged(const std::optional<qf::PageRect>&) override {}
  void guideText(std::string_view) override {}
  void layerStatus(int16_t) override {}
  void historyChanged() override {}
  void objectPicked() override {}

  QImage image;
  std::unique_ptr<qf::RasterSurface> surface;
};

struct Editing {
  // With `apart`, objects from the 1,000th on keep to the page's last third, away from the first
  // 1,000.
  explicit Editing(int objects, bool apart = false) : page(view) {
    editor.attach(&page);
    // Up to 100 objects in the top third of the page: texts, lines and boxes.
    for (int i = 0; i < std::min(objects, 100); ++i)
      add(i, 15 + (i % 10) * 18.0, 15 + (i / 10) * 8.0);
    // The rest in the lower two thirds.
    for (int i = 100; i < objects; ++i) {
      if (apart && i >= 1000) {
        add(i, 15 + (i % 60) * 3.0, 200 + (i / 60 % 30) * 3.0);
      } else {
        add(i, 15 + (i % 60) * 3.0, 110 + (i / 60 % 60) * 3.0);
      }
    }
    qf::RenumberRows(design.objects);
    editor.designLoaded({});
    editor.fullRedraw();
  }
  void add(int i, double x, double y) {
    qf::ObjectRecord r;
    r.Kind = static_cast<qf::ObjectKind>(1 + i % 3);  // text, line, box
    r.Label = "項目" + std::to_string(i);
    r.Style = r.Kind == qf::ObjectKind::Text ? "ＭＳ 明朝" : "0";
    r.Size = r.Kind == qf::ObjectKind::Text ? 9 : 1;
    r.Text = r.Kind == qf::ObjectKind::Text ? "金額" : std::to_string(i % 3);
    const qf::Extent size = qf::MeasureText(text, r, design.page.scaleMode);
    qf::AddObject(design.objects, r, {x, y, x + 12, y + 5}, size, 1);
  }

  qf::ViewState view;
  Page page;
  qf::Design design;
  qf::AppState app;
  qf::QtTextMeasurer text;
  qf::QtPictureSizer sizer;
  qf::QtPictureStore pictures;
  qf::Editor editor{design, app, view, pictures, qf::Measurers{text, sizer}};
};

// Moves the edited object back and forth by committing its X1, one undo step each.
void BM_CellEdit(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    e.editor.commitObjectCell(kEditedRow, qf::kColX1, ++n % 2 ? "40.5" : "42.5");
  }
  state.counters["rows drawn"] = static_cast<double>(e.editor.pageIndex().rowsLastTouching());
}

// The undo of such an edit, timed alone.
void BM_UndoCellEdit(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    e.editor.commitObjectCell(kEditedRow, qf::kColX1, ++n % 2 ? "40.5" : "42.5");
    const auto start = Clock::now();
    e.editor.undo();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

// One step of dragging a new box over the page: the feedback drawn away and drawn again.
void BM_DragStep(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  e.app.objectSnap = true;  // each step looks up the edges it can line up with
  qf::ObjectRecord box;
  box.Kind = qf::ObjectKind::Box;
  box.Text = "2";  // hatched: the feedback fills its inside too
  box.Style = "0";
  box.Size = 1;
  e.editor.beginAdd(box);
  e.editor.pointerPressed(30, 30);
  int n = 0;
  for (auto _ : state) {
    const double to = ++n % 2 ? 80 : 90;
    e.editor.pointerMoved(to, to);
  }
  e.editor.rightReleased();
}

// A frame drawn over the 100 objects at the top: they become the selection, marks and all
// (the previous selection's marks go first).
void BM_FrameSelect(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    e.editor.pointerPressed(10, 10);
    e.editor.pointerMoved(100, 60);
    e.editor.pointerReleased(200, 100);
  }
  state.counters["selected"] = static_cast<double>(e.editor.selectedRows().size());
}

// Those 100 dragged by their bounds: the time of the button's release, which writes them all.
void BM_MoveOnRelease(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    e.editor.pointerPressed(10, 10);
    e.editor.pointerReleased(200, 100);
    const double dx = ++n % 2 ? 5 : -5;
    e.editor.pointerPressed(100, 40);
    e.editor.pointerMoved(100 + dx, 40);
    const auto start = Clock::now();
    e.editor.pointerReleased(100 + dx, 40);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

// One step of dragging those 100 selected objects: the bounds' frame drawn away and again.
void BM_DragStepSelected(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)));
  e.editor.pointerPressed(10, 10);
  e.editor.pointerReleased(200, 100);
  e.editor.pointerPressed(100, 40);
  int n = 0;
  for (auto _ : state) e.editor.pointerMoved(100 + (++n % 2 ? 5 : 10), 45);
  state.counters["selected"] = static_cast<double>(e.editor.selectedRows().size());
}

// 左揃え of the first 1,000 objects (all selected), with its page update; the step is undone
// untimed, so every run aligns the same places.
void BM_AlignLeft(benchmark::State& state) {
  Editing e(static_cast<int>(state.range(0)), true);
  std::vector<int> rows(1000);
  for (int i = 0; i < 1000; ++i) rows[static_cast<size_t>(i)] = i + 1;
  e.editor.selectRows(rows);
  for (auto _ : state) {
    const auto start = Clock::now();
    e.editor.arrange(qf::LayoutTool::AlignLeft);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    state.counters["rows drawn"] = static_cast<double>(e.editor.pageIndex().rowsLastTouching());
    e.editor.undo();
  }
}

BENCHMARK(BM_AlignLeft)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellEdit)
    ->Arg(100)
    ->Arg(10000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameSelect)
    ->Arg(1000)
    ->Arg(10000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveOnRelease)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStepSelected)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)
    ->Arg(10)
    ->Arg(10000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoCellEdit)
    ->Arg(100)
    ->Arg(10000)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void PrintUndoMemory() {
  Editing e(10000);
  const size_t before = e.editor.history().memoryBytes();
  for (int i = 0; i < 1000; ++i) {
    e.editor.commitObjectCell(1 + i % 100, qf::kColLabel, "見出し" + std::to_string(i));
  }
  const size_t bytes = e.editor.history().memoryBytes() - before;
  std::printf(
      "1,000 single-cell undo steps on the 10,000-object design hold %zu bytes (%.0f a step)\n",
      bytes, static_cast<double>(bytes) / 1000);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* what, const std::string& small, const std::string& large) {
    const double a = reporter.times[small];
    const double b = reporter.times[large];
    if (a > 0) std::printf("%s: 10,000 / 100 objects = %.2f (goal <= 1.2)\n", what, b / a);
  };
  ratio("cell edit with its page update (medians)", "BM_CellEdit/100/repeats:5",
        "BM_CellEdit/10000/repeats:5");
  ratio("undo of it (medians)", "BM_UndoCellEdit/100/repeats:5/manual_time",
        "BM_UndoCellEdit/10000/repeats:5/manual_time");
  auto ratio1000 = [&](const char* what, const std::string& small, const std::string& large) {
    const double a = reporter.times[small];
    if (a > 0)
      std::printf("%s: 10,000 / 1,000 objects = %.2f (goal <= 1.2)\n", what,
                  reporter.times[large] / a);
  };
  ratio1000("frame selection over 100 objects (medians)", "BM_FrameSelect/1000/repeats:5",
            "BM_FrameSelect/10000/repeats:5");
  ratio1000("move of those 100 on release (medians)", "BM_MoveOnRelease/1000/repeats:5/manual_time",
            "BM_MoveOnRelease/10000/repeats:5/manual_time");
  ratio1000("左揃え of 1,000 selected objects (medians)", "BM_AlignLeft/1000/repeats:5/manual_time",
            "BM_AlignLeft/10000/repeats:5/manual_time");
  std::printf("drag step with 100 objects selected on 10,000: %.1f us\n",
              reporter.times["BM_DragStepSelected/10000"]);
  const double few = reporter.times["BM_DragStep/10/repeats:5"];
  if (few > 0) {
    // The drag lines up with other objects' edges as it goes (object snapping is on).
    std::printf(
        "drag step of a new object, snapping to objects (medians): 10,000 / 10 objects = %.2f "
        "(goal <= 1.1)\n",
        reporter.times["BM_DragStep/10000/repeats:5"] / few);
  }
  PrintUndoMemory();
  benchmark::Shutdown();
  return 0;
}
