// Source generation for 1,000 and 10,000 objects. Prints the time per object at both sizes and
// compares 10,000 objects with loading the same design from its file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "document/design_file.h"
#include "sample_design.h"
#include "source/source_generator.h"
#include "timing_reporter.h"

namespace {

namespace fs = std::filesystem;

const qf::Design& Sample(int count) {
  static const std::map<int, qf::Design> designs = [] {
    std::map<int, qf::Design> m;
    for (int n : {1000, 10000}) m.emplace(n, qf::bench::MakeSampleDesign(n, 5));
    return m;
  }();
  return designs.at(count);
}

void BM_MakeSourceSub(benchmark::State& state) {
  const qf::Design& d = Sample(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string text = qf::P_MakeSourceSub(d, qf::Visibility::Private);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["per_object_us"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MakeSourceFlat(benchmark::State& state) {
  const qf::Design& d = Sample(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string text = qf::P_MakeSource(d, qf::Visibility::Private);
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_LoadSameDesign(benchmark::State& state) {
  const fs::path file = fs::temp_directory_path() / "qf_source_bench.qfd";
  qf::SaveDesign(Sample(static_cast<int>(state.range(0))), file);
  const qf::bench::CountingMeasurer text;
  const qf::bench::NoPictures pictures;
  for (auto _ : state) {
    qf::Design d;
    qf::LoadDesign(file, d, {text, pictures});
    benchmark::DoNotOptimize(d.objects.rowCount());
  }
  fs::remove(file);
}

BENCHMARK(BM_MakeSourceSub)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeSourceFlat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSameDesign)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qf::bench::TimingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  const double small = t["BM_MakeSourceSub/1000"] / 1000;
  const double large = t["BM_MakeSourceSub/10000"] / 10000;
  if (small > 0 && large > 0) {
    std::printf("per object: %.3f us at 1,000, %.3f us at 10,000: ratio %.2f (goal <= 1.2)\n",
                small * 1000, large * 1000, large / small);
    std::printf(
        "10,000 objects: generation %.2f ms, loading the same file %.2f ms (goal: "
        "generation < load)\n",
        t["BM_MakeSourceSub/10000"], t["BM_LoadSameDesign/10000"]);
  }
  benchmark::Shutdown();
  return 0;
}
