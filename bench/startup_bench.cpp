// Wall time from process start to the main window shown with a 1,000-object design drawn (no
// repeat blocks, so 1,000 objects are drawn),
// against a minimal Qt program that shows one empty main window; both quit after the first
// paint.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/design_file.h"
#include "sample_design.h"
#include "timing_reporter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string g_quillform;
std::string g_minimal;

fs::path DesignPath() {
  return fs::temp_directory_path() / "qf_startup_1000.qfd";
}

void Run(benchmark::State& state, std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start the program");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program failed");
      return;
    }
  }
}

void BM_StartMinimalQtWindow(benchmark::State& state) {
  Run(state, {g_minimal});
}

void BM_StartMinimalJapaneseWindow(benchmark::State& state) {
  Run(state, {g_minimal, "--japanese"});
}

void BM_StartQuillformWithDesign(benchmark::State& state) {
  Run(state, {g_quillform, "--quit-when-shown", DesignPath().string()});
}

BENCHMARK(BM_StartMinimalQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_StartMinimalJapaneseWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_StartQuillformWithDesign)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
  const fs::path here = fs::canonical("/proc/self/exe").parent_path();
  g_minimal = (here / "minimal_window").string();
  g_quillform = (here.parent_path() / "quillform").string();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!qf::SaveDesign(qf::bench::MakeSampleDesign(1000, 5, false), DesignPath()).ok()) {
    std::fprintf(stderr, "cannot write the sample design\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double minimal = reporter.times["BM_StartMinimalQtWindow/min_time:3.000/real_time"];
  const double ours = reporter.times["BM_StartQuillformWithDesign/min_time:3.000/real_time"];
  const double japanese = reporter.times["BM_StartMinimalJapaneseWindow/min_time:3.000/real_time"];
  if (minimal > 0 && ours > 0) {
    std::printf(
        "start-up: %.1f ms with a 1,000-object design, %.1f ms for an empty Qt window: "
        "ratio %.2f (goal <= 1.5)\n",
        ours, minimal, ours / minimal);
  }
  if (japanese > 0 && ours > 0) {
    std::printf("against an empty window with a Japanese menu (%.1f ms): ratio %.2f\n", japanese,
                ours / japanese);
  }
  benchmark::Shutdown();
  fs::remove(DesignPath());
  return 0;
}
