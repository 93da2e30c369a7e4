// The report store holds a million rows in one TStringArray: its memory per cell and its sorts
// are measured here, each sort beside the standard library sorting the same data.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "kvl/core/dstruct.h"
#include "sort_inputs.h"

namespace {

using namespace kvl::bench;

kvl::TStringArray TableOf(const std::vector<std::string>& Texts) {
  kvl::TStringArray A;
  A.Resize(1, static_cast<int>(Texts.size()));
  for (int R = 1; R <= A.GetNrRows(); ++R) A.SetString(1, R, Texts[std::size_t(R - 1)]);
  return A;
}

// 1 000 000 x 10 cells of 8-character texts (column 0 stays empty but is stored).
void BM_Memory1Mx10(benchmark::State& State) {
  const auto& W = Words();
  const long RssBefore = PeakRssKiB();
  double PerCell = 0;
  for (auto _ : State) {
    kvl::TStringArray A;
    A.Resize(10, SortRows);
    for (int R = 1; R <= SortRows; ++R)
      for (int C = 1; C <= 10; ++C) A.SetString(C, R, W[std::size_t((R * 7 + C) % SortRows)]);
    PerCell = double(A.AllocatedBytes()) / (10.0 * SortRows);
    benchmark::DoNotOptimize(A.GetStringView(10, SortRows).data());
  }
  State.counters["bytes_per_cell"] = PerCell;
  State.counters["peak_rss_MiB"] = double(PeakRssKiB()) / 1024;
  State.counters["peak_rss_growth_MiB"] = double(PeakRssKiB() - RssBefore) / 1024;
}
BENCHMARK(BM_Memory1Mx10)->Iterations(1)->Unit(benchmark::kMillisecond);

// Sorts column 1 of a table of the texts again and again, from the unsorted order each time.
void SortColumn(benchmark::State& State, const std::vector<std::string>& Texts) {
  auto A = TableOf(Texts);
  for (auto _ : State) {
    State.PauseTiming();
    A.UnSort();
    State.ResumeTiming();
    A.Sort(1, -1, true);
    benchmark::DoNotOptimize(A.GetSortOrder(1));
  }
}

void BM_SortTextColumn(benchmark::State& State) { SortColumn(State, Words()); }
BENCHMARK(BM_SortTextColumn)->Unit(benchmark::kMillisecond);

void BM_SortNumberColumn(benchmark::State& State) { SortColumn(State, NumberTexts()); }
BENCHMARK(BM_SortNumberColumn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Targets: a text sort within 1.5 times, a number sort within 2 times its baseline's time.
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_SortTextColumn", "BM_StableSortStrings", 1 / 1.5},
                                    {"BM_SortNumberColumn", "BM_ParseAndStableSortDoubles", 0.5}});
}
