// The million rows the sort benchmarks share, and the standard library's sorts of them that
// serve as baselines.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <string>
#include <vector>

namespace kvl::bench {

inline constexpr int SortRows = 1000000;

// N texts of 8 random letters.
inline std::vector<std::string> RandomWords(int N, unsigned Seed) {
  std::mt19937 Rng(Seed);
  const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::vector<std::string> V(std::size_t(N), std::string(8, ' '));
  for (auto& S : V)
    for (char& C : S) C = Letters[Rng() % 52];
  return V;
}

inline const std::vector<std::string>& Words() {
  static const auto W = RandomWords(SortRows, 1);
  return W;
}

// Decimal texts with three decimals between -1e6 and 1e6.
inline const std::vector<std::string>& NumberTexts() {
  static const std::vector<std::string> N = [] {
    std::mt19937 Rng(2);
    std::uniform_real_distribution<double> D(-1e6, 1e6);
    std::vector<std::string> V(SortRows);
    char Buf[64];
    for (auto& S : V)
      S.assign(Buf, std::to_chars(Buf, Buf + sizeof Buf, D(Rng), std::chars_format::fixed, 3).ptr);
    return V;
  }();
  return N;
}

inline long PeakRssKiB() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return U.ru_maxrss;
}

inline void BM_StableSortStrings(benchmark::State& State) {
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<std::string> V = Words();
    State.ResumeTiming();
    std::stable_sort(V.begin(), V.end());
    benchmark::DoNotOptimize(V.data());
  }
}
BENCHMARK(BM_StableSortStrings)->Unit(benchmark::kMillisecond);

inline void BM_ParseAndStableSortDoubles(benchmark::State& State) {
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

}  // namespace kvl::bench
