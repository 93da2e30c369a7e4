// Fixed-point text is written for every numeric cell a report shows, so strff must stay close
// to the standard library's own conversion (the baseline printed beside it).
#include <benchmark/benchmark.h>

#include <charconv>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "kvl/core/stringl.h"

namespace {

std::vector<double> Samples() {
  std::vector<double> V;
  for (int I = 0; I < 1024; ++I) V.push_back((I - 512) * 12.3456789 + I / 7.0);
  return V;
}

void BM_ToCharsFixed2(benchmark::State& State) {
  const auto V = Samples();
  char Buf[64];
  for (auto _ : State)
    for (double X : V) {
      auto R = std::to_chars(Buf, Buf + sizeof Buf, X, std::chars_format::fixed, 2);
      benchmark::DoNotOptimize(R.ptr);
    }
  State.SetItemsProcessed(State.iterations() * std::int64_t(V.size()));
}
BENCHMARK(BM_ToCharsFixed2);

void BM_strff2(benchmark::State& State) {
  const auto V = Samples();
  for (auto _ : State)
    for (double X : V) benchmark::DoNotOptimize(kvl::strff(X, 1, 2));
  State.SetItemsProcessed(State.iterations() * std::int64_t(V.size()));
}
BENCHMARK(BM_strff2);

void BM_Utf8Length(benchmark::State& State) {
  std::string S;
  for (int I = 0; I < 4096; ++I) S += (I % 5 == 0) ? "\xC3\xA4" : "a";
  for (auto _ : State) benchmark::DoNotOptimize(kvl::Utf8Length(S));
  State.SetBytesProcessed(State.iterations() * std::int64_t(S.size()));
}
BENCHMARK(BM_Utf8Length);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv, {{"BM_strff2", "BM_ToCharsFixed2", 0}});
}
