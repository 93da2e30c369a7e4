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

namespace {

constexpr int Rows = 1000000;

const std::vector<std::string>& Words() {
  static const std::vector<std::string> W = [] {
    std::mt19937 Rng(1);
    const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::vector<std::string> V(Rows);
    for (auto& S : V)
      for (int I = 0; I < 8; ++I) S += Letters[Rng() % 52];
    return V;
  }();
  return W;
}

const std::vector<std::string>& NumberTexts() {
  static const std::vector<std::string> N = [] {
    std::mt19937 Rng(2);
    std::uniform_real_distribution<double> D(-1e6, 1e6);
    std::vector<std::string> V(Rows);
    char Buf[64];
    for (auto& S : V) {
      const auto R = std::to_chars(Buf, Buf + sizeof Buf, D(Rng), std::chars_format::fixed, 3);
      S.assign(Buf, R.ptr);
    }
    return V;
  }();
  return N;
}

kvl::TStringArray TableOf(const std::vector<std::string>& Texts) {
  kvl::TStringArray A;
  A.Resize(1, static_cast<int>(Texts.size()));
  for (int R = 1; R <= A.GetNrRows(); ++R) A.SetString(1, R, Texts[std::size_t(R - 1)]);
  return A;
}

long PeakRssKiB() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return U.ru_maxrss;
}

// 1 000 000 x 10 cells of 8-character texts (column 0 stays empty but is stored).
void BM_Memory1Mx10(benchmark::State& State) {
  const auto& W = Words();
  const long RssBefore = PeakRssKiB();
  double PerCell = 0;
  for (auto _ : State) {
    kvl::TStringArray A;
    A.Resize(10, Rows);
    for (int R = 1; R <= Rows; ++R)
      for (int C = 1; C <= 10; ++C) A.SetString(C, R, W[std::size_t((R * 7 + C) % Rows)]);
    PerCell = double(A.AllocatedBytes()) / (10.0 * Rows);
    benchmark::DoNotOptimize(A.GetStringView(10, Rows).data());
  }
  State.counters["bytes_per_cell"] = PerCell;
  State.counters["peak_rss_MiB"] = double(PeakRssKiB()) / 1024;
  State.counters["peak_rss_growth_MiB"] = double(PeakRssKiB() - RssBefore) / 1024;
}
BENCHMARK(BM_Memory1Mx10)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StableSortStrings(benchmark::State& State) {
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<std::string> V = Words();
    State.ResumeTiming();
    std::stable_sort(V.begin(), V.end());
    benchmark::DoNotOptimize(V.data());
  }
}
BENCHMARK(BM_StableSortStrings)->Unit(benchmark::kMillisecond);

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

void BM_ParseAndStableSortDoubles(benchmark::State& State) {
  const auto& T = NumberTexts();
  std::vector<double> V(T.size());
  for (auto _ : State) {
    for (std::size_t I = 0; I < T.size(); ++I)
      std::from_chars(T[I].data(), T[I].data() + T[I].size(), V[I]);
    std::stable_sort(V.begin(), V.end());
    benchmark::DoNotOptimize(V.data());
  }
}
BENCHMARK(BM_ParseAndStableSortDoubles)->Unit(benchmark::kMillisecond);

void BM_SortNumberColumn(benchmark::State& State) { SortColumn(State, NumberTexts()); }
BENCHMARK(BM_SortNumberColumn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Targets: a text sort within 1.5 times, a number sort within 2 times its baseline's time.
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_SortTextColumn", "BM_StableSortStrings", 1 / 1.5},
                                    {"BM_SortNumberColumn", "BM_ParseAndStableSortDoubles", 0.5}});
}
