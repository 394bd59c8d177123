// Load and save of a 10,000-object design against the floor of reading the same file and
// converting it CP932 -> UTF-8 -> CP932. Prints load/floor, save/floor and the peak memory of a
// load.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <map>

#include "document/cp932.h"
#include "document/design_file.h"
#include "platform/qt_fonts.h"
#include "platform/qt_measure.h"
#include "sample_design.h"
#include "timing_reporter.h"

namespace {

namespace fs = std::filesystem;
using qf::bench::CountingMeasurer;
using qf::bench::NoPictures;

constexpr int kObjects = 10000;

fs::path SampleFile() {
  return fs::temp_directory_path() / "qf_bench_10000.qfd";
}

void BM_Floor(benchmark::State& state) {
  std::string bytes;
  std::string utf8;
  std::string back;
  for (auto _ : state) {
    qf::ReadWholeFile(SampleFile(), bytes, qf::kMaxDesignFileBytes);
    utf8.clear();
    back.clear();
    qf::Cp932ToUtf8(bytes, utf8);
    qf::Utf8ToCp932(utf8, back);
    benchmark::DoNotOptimize(back.data());
  }
}

// Loads the sample file again and again with the given measurers.
void LoadRepeatedly(benchmark::State& state, const qf::TextMeasurer& text,
                    const qf::PictureSizer& pictures) {
  for (auto _ : state) {
    qf::Design d;
    if (!qf::LoadDesign(SampleFile(), d, {text, pictures}).ok()) state.SkipWithError("load");
    benchmark::DoNotOptimize(d.objects.rowCount());
  }
}

void BM_Load(benchmark::State& state) {
  LoadRepeatedly(state, CountingMeasurer(), NoPictures());
}

// The same load with the fonts of the desktop measuring every text.
void BM_LoadMeasuringWithQt(benchmark::State& state) {
  LoadRepeatedly(state, qf::QtTextMeasurer(), qf::QtPictureSizer());
}

void BM_Save(benchmark::State& state) {
  const CountingMeasurer text;
  const NoPictures pictures;
  qf::Design d;
  qf::LoadDesign(SampleFile(), d, {text, pictures});
  const fs::path out = fs::temp_directory_path() / "qf_bench_save.qfd";
  for (auto _ : state) {
    if (!qf::SaveDesign(d, out).ok()) state.SkipWithError("save");
  }
  fs::remove(out);
}

void BM_SerializeOnly(benchmark::State& state) {
  const CountingMeasurer text;
  const NoPictures pictures;
  qf::Design d;
  qf::LoadDesign(SampleFile(), d, {text, pictures});
  std::string bytes;
  for (auto _ : state) {
    qf::SerializeDesign(d, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
}

BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMeasuringWithQt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond);

long MaxRssKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Peak memory a load adds, measured in a child so nothing else of this run counts.
void PrintLoadPeakMemory() {
  std::fflush(stdout);
  malloc_trim(0);
  const pid_t pid = fork();
  if (pid == 0) {
    const long before = MaxRssKiB();
    const CountingMeasurer text;
    const NoPictures pictures;
    qf::Design d;
    qf::LoadDesign(SampleFile(), d, {text, pictures});
    std::printf(
        "peak memory of loading %d objects: %.1f MiB above the %.1f MiB before it "
        "(file %.2f MiB)\n",
        kObjects, static_cast<double>(MaxRssKiB() - before) / 1024.0,
        static_cast<double>(before) / 1024.0,
        static_cast<double>(fs::file_size(SampleFile())) / 1048576.0);
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  {
    const qf::Design d = qf::bench::MakeSampleDesign(kObjects, 5);
    if (const qf::FileStatus st = qf::SaveDesign(d, SampleFile()); !st.ok()) {
      std::fprintf(stderr, "cannot write the sample design: %s\n", st.detail.c_str());
      return 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double floor = reporter.times["BM_Floor"];
  if (floor > 0) {
    std::printf("load / floor = %.2f (goal <= 3)\n", reporter.times["BM_Load"] / floor);
    std::printf("save / floor = %.2f (goal <= 3; save includes fsync and rename)\n",
                reporter.times["BM_Save"] / floor);
    std::printf("serialize only / floor = %.2f\n", reporter.times["BM_SerializeOnly"] / floor);
    std::printf("load measuring texts with Qt / floor = %.2f\n",
                reporter.times["BM_LoadMeasuringWithQt"] / floor);
  }
  PrintLoadPeakMemory();
  benchmark::Shutdown();
  fs::remove(SampleFile());
  return 0;
}
