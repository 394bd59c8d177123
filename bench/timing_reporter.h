#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace qf::bench {

// Prints as the console reporter does and keeps each benchmark's real time per iteration (in its
// display unit), so main() can print each figure against its floor and the goal it must meet.
class TimingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedRealTime();
      // With repetitions the median stands for the benchmark: one slow run says little.
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        times[r.run_name.str()] = r.GetAdjustedRealTime();
      }
    }
  }
  std::map<std::string, double> times;
};

}  // namespace qf::bench
