// Wall time from process start to the main window shown with a 1,000-object design drawn (no
// repeat blocks, so 1,000 objects are drawn), against a minimal Qt program that shows one empty
// main window, and against the editor with no design. All report their first paint and quit; the
// time to end is not counted.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "document/design_file.h"
#include "sample_design.h"
#include "shell/settings_file.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string g_quillform;
std::string g_minimal;

fs::path DesignPath() {
  return fs::temp_directory_path() / "qf_startup_1000.qfd";
}

// The editor keeps its window places in its settings file, and the size of its windows
// sways the time to the first paint by a quarter. The bench starts from no settings file (the
// first start's places, which every later start keeps) and puts back the one it found.
class SettingsSetAside {
 public:
  explicit SettingsSetAside(fs::path file) : file_(std::move(file)) {
    if (std::ifstream in{file_, std::ios::binary}) {
      kept_.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::error_code ignored;
    fs::remove(file_, ignored);
  }
  SettingsSetAside(const SettingsSetAside&) = delete;
  SettingsSetAside& operator=(const SettingsSetAside&) = delete;
  ~SettingsSetAside() {
    std::error_code ignored;
    fs::remove(file_, ignored);
    if (kept_) std::ofstream{file_, std::ios::binary} << *kept_;
  }

 private:
  fs::path file_;
  std::optional<std::string> kept_;
};

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts the program and returns the milliseconds up to the moment it reports its first paint
// (the monotonic clock on its standard output); the time it takes to end does not count.
std::optional<double> StartOnce(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const long long start = MonotonicNs();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string report;
  char buffer[256];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  close(out[0]);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  waitpid(pid, &status, 0);
  const long long shown = std::atoll(report.c_str());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shown <= start) return std::nullopt;
  return static_cast<double>(shown - start) / 1e6;
}

void Run(benchmark::State& state, const std::vector<std::string>& args) {
  for (auto _ : state) {
    const std::optional<double> ms = StartOnce(args);
    if (!ms) {
      state.SkipWithError("the program failed or did not report its first paint");
      return;
    }
    state.SetIterationTime(*ms / 1e3);
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

// The editor with no design named: its windows and the printer's empty page, the part of the
// start that does not grow with the design.
void BM_StartQuillformEmptyPage(benchmark::State& state) {
  Run(state, {g_quillform, "--quit-when-shown"});
}

BENCHMARK(BM_StartMinimalQtWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartMinimalJapaneseWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3);
BENCHMARK(BM_StartQuillformWithDesign)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartQuillformEmptyPage)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
  const fs::path here = fs::canonical("/proc/self/exe").parent_path();
  g_minimal = (here / "minimal_window").string();
  g_quillform = (here.parent_path() / "quillform").string();
  const SettingsSetAside settings(qf::SettingsPath(here.parent_path()));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!qf::SaveDesign(qf::bench::MakeSampleDesign(1000, 5, false), DesignPath()).ok()) {
    std::fprintf(stderr, "cannot write the sample design\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  // The ratios come from rounds that start the four programs one after another, so that a
  // burst of other work on the machine slows all four alike: each round gives its own ratios,
  // and the median of each time and of each ratio stands.
  const std::array<std::vector<std::string>, 4> programs{
      {{g_minimal},
       {g_minimal, "--japanese"},
       {g_quillform, "--quit-when-shown"},
       {g_quillform, "--quit-when-shown", DesignPath().string()}}};
  std::array<std::vector<double>, 4> times;
  std::vector<double> wholeRatios;
  std::vector<double> designRatios;
  constexpr int kRounds = 31;
  for (int round = 0; round < kRounds; ++round) {
    std::array<std::optional<double>, 4> ms;
    for (size_t i = 0; i < programs.size(); ++i) {
      // Each round starts with another program, so none always runs just after another.
      const size_t which = (i + static_cast<size_t>(round)) % programs.size();
      ms[which] = StartOnce(programs[which]);
      if (ms[which]) times[which].push_back(*ms[which]);
    }
    if (ms[1] && ms[2] && ms[3]) {
      wholeRatios.push_back(*ms[3] / *ms[1]);
      designRatios.push_back(*ms[3] / *ms[2]);
    }
  }
  const auto median = [](std::vector<double> t) {
    std::nth_element(t.begin(), t.begin() + static_cast<long>(t.size() / 2), t.end());
    return t[t.size() / 2];
  };
  if (std::any_of(times.begin(), times.end(), [](const auto& t) { return t.empty(); }) ||
      wholeRatios.empty()) {
    std::fprintf(stderr, "a program did not report its first paint\n");
    return 1;
  }
  const double minimal = median(times[0]);
  const double japanese = median(times[1]);
  const double empty = median(times[2]);
  const double ours = median(times[3]);
  std::printf("medians of %d interleaved rounds:\n", kRounds);
  std::printf(
      "start-up: %.1f ms with a 1,000-object design, %.1f ms for an empty Qt window: "
      "ratio %.2f\n",
      ours, minimal, ours / minimal);
  std::printf(
      "the whole start against an empty window with a Japanese menu (%.1f ms): ratio %.2f "
      "(goal <= 2.5)\n",
      japanese, median(wholeRatios));
  std::printf(
      "what the design adds: %.1f ms against the editor's own first paint with no design "
      "(%.1f ms), ratio %.2f (goal <= 1.2)\n",
      ours, empty, median(designRatios));
  std::printf("the editor with no design against the Japanese window: ratio %.2f\n",
              empty / japanese);
  // What showing Japanese text costs by itself, before any of the editor's work.
  std::printf("the Japanese menu alone: %.2f times the empty window\n", japanese / minimal);
  benchmark::Shutdown();
  fs::remove(DesignPath());
  return 0;
}
