// Runs the registered benchmarks and then prints each measured figure next to its baseline
// from the same run, as a rate ratio (1.0 = as fast as the baseline).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kvl::bench {

struct TRatio {
  std::string Measured;  // benchmark name
  std::string Baseline;  // benchmark name
  double Target;         // the lowest acceptable ratio, 0 for none
};

class TRecordingReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const auto& R : Runs)
      if (R.run_type == Run::RT_Iteration && !R.error_occurred)
        FTimes[R.benchmark_name()] =
            R.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(R.time_unit);
    ConsoleReporter::ReportRuns(Runs);
  }
  std::map<std::string, double> FTimes;
};

// Returns non-zero when a ratio misses its target, so a run can be checked by its exit code.
inline int RunWithRatios(int argc, char** argv, const std::vector<TRatio>& Ratios) {
  benchmark::Initialize(&argc, argv);
  TRecordingReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  int Missed = 0;
  std::printf("\n%-44s %-28s %8s %8s\n", "measured", "baseline", "ratio", "target");
  for (const auto& R : Ratios) {
    const auto M = Reporter.FTimes.find(R.Measured), B = Reporter.FTimes.find(R.Baseline);
    if (M == Reporter.FTimes.end() || B == Reporter.FTimes.end()) continue;
    const double Ratio = B->second / M->second;  // same work: time ratio = rate ratio
    const bool Ok = R.Target <= 0 || Ratio >= R.Target;
    Missed += !Ok;
    std::printf("%-44s %-28s %8.2f %8s%s\n", R.Measured.c_str(), R.Baseline.c_str(), Ratio,
                R.Target > 0 ? std::to_string(R.Target).substr(0, 4).c_str() : "-",
                Ok ? "" : "  MISSED");
  }
  benchmark::Shutdown();
  return Missed ? 1 : 0;
}

}  // namespace kvl::bench
