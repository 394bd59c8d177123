// One pointer move over the page in the editor's design window, with the rulers shown against
// without them: the move as the window gets it, the status read-outs and the rulers' markers,
// and the paints that follow, moves coming as fast as they can. The rulers paint their markers
// at most at the display's rate, so most moves only note the place. Prints the ratio (goal
// <= 1.1), and what one paint of both markers costs when it comes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/qt_fonts.h"
#include "timing_reporter.h"
#include "ui/app_context.h"
#include "ui/design_window.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/ruler.h"

namespace {

// The editor's main window shown with an empty design and settings of its own.
struct Shown {
  explicit Shown(bool rulers) {
    ctx.state.appFolder = dir.path().toStdString();
    ctx.state.rulers = rulers;
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();
  }
  QTemporaryDir dir;
  qf::AppContext ctx{std::filesystem::path(dir.path().toStdString()) / "QF2.INI"};
  qf::QtPrompter prompter;
  qf::MainWindow window{ctx, prompter};
};

void BM_PointerMove(benchmark::State& state) {
  Shown shown(state.range(0) != 0);
  qf::DesignCanvas& canvas = shown.window.designWindow().canvas();
  int n = 0;
  for (auto _ : state) {
    // Across the page, a different place each time so every marker moves.
    ++n;
    const QPointF at(40 + n % 200, 60 + n % 150);
    QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
    QApplication::processEvents();  // the paint of what changed
  }
}

// The markers of both rulers painted at a new place, as their timer does.
void BM_MarkerPaint(benchmark::State& state) {
  Shown shown(true);
  auto* top = shown.window.findChild<qf::Ruler*>(QStringLiteral("rulTop"));
  auto* left = shown.window.findChild<qf::Ruler*>(QStringLiteral("rulLeft"));
  int n = 0;
  for (auto _ : state) {
    ++n;
    top->setPointer(40 + n % 200);
    left->setPointer(60 + n % 150);
    top->showPointer();
    left->showPointer();
    QApplication::processEvents();
  }
}

BENCHMARK(BM_MarkerPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PointerMove)
    ->Arg(0)
    ->Arg(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double without = reporter.times["BM_PointerMove/0/repeats:5"];
  if (without > 0) {
    std::printf("pointer move over the page: with rulers / without = %.2f (goal <= 1.1)\n",
                reporter.times["BM_PointerMove/1/repeats:5"] / without);
  }
  std::printf("one paint of both rulers' markers: %.1f us\n", reporter.times["BM_MarkerPaint"]);
  benchmark::Shutdown();
  return 0;
}
