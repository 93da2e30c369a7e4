// A dot-matrix ticker of 960 x 48 scrolling right by one pixel: a tick (the virtual clock
// advanced by one interval) beside a full redraw of the same label, beside a memcpy of the
// label's pixels (the floor of a tick that rewrites every pixel), and ticks of a long and a
// short text (the cost follows what is visible).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/rasterlab/rasterlab.h"

namespace {

using namespace kvl;

constexpr int W = 960, H = 48, Interval = 10;

std::string Text(int Length) {
  const std::string Words = "Platform 4: the 10:42 service to the coast is running 3 minutes late. ";
  std::string S;
  while (int(S.size()) < Length) S += Words;
  S.resize(std::size_t(Length));
  return S;
}

struct TTicker : kvl::bench::THeadlessForm {
  TRasterLab* Lab;
  explicit TTicker(int Length) : THeadlessForm(W + 20, H + 20) {
    Lab = Add<TRasterLab>(0, 0, W, H);
    Lab->SetDotSize(2);
    Lab->SetDotSpacing(1);
    Lab->SetCharBlockMode(rdbmOn);
    Lab->SetText(Text(Length));
    Lab->SetScrollInterval(Interval);
    Lab->SetScrollIncrement(1);
    Lab->SetScrollLoop(true);
    Form->Show();
    Application->ProcessMessages();
    Lab->SetScrollMode(rdsmRight);
  }
};

void Tick(benchmark::State& State, int Length) {
  TTicker T(Length);
  for (auto _ : State) {
    kvl::AdvanceHeadlessTime(*T.Host, Interval);
    benchmark::ClobberMemory();
  }
}
void BM_RasterLab_Tick(benchmark::State& State) { Tick(State, 300); }
void BM_RasterLab_Tick_3000(benchmark::State& State) { Tick(State, 3000); }
void BM_RasterLab_Tick_30(benchmark::State& State) { Tick(State, 30); }
BENCHMARK(BM_RasterLab_Tick);
BENCHMARK(BM_RasterLab_Tick_3000);
BENCHMARK(BM_RasterLab_Tick_30);

// The same label drawn anew: a colour change leaves nothing prepared to reuse.
void BM_RasterLab_FullRedraw(benchmark::State& State) {
  TTicker T(300);
  T.Lab->SetScrollMode(rdsmOff);
  T.Lab->SetPosX(-400);
  bool Flip = false;
  for (auto _ : State) {
    T.Lab->SetColorDotOn((Flip = !Flip) ? clLime : clYellow);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasterLab_FullRedraw);

void BM_Memcpy_LabelPixels(benchmark::State& State) {
  std::vector<std::uint32_t> A(std::size_t(W) * H, 1), B(A.size());
  for (auto _ : State) {
    std::memcpy(B.data(), A.data(), A.size() * 4);
    benchmark::DoNotOptimize(B.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Memcpy_LabelPixels);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_RasterLab_Tick", "BM_RasterLab_FullRedraw", 10},
       {"BM_RasterLab_Tick", "BM_Memcpy_LabelPixels", 0.33},
       {"BM_RasterLab_FullRedraw", "BM_Memcpy_LabelPixels", 0},
       {"BM_RasterLab_Tick_3000", "BM_RasterLab_Tick_30", 0.8}});
}
