// Value changes of progress bars beside a FillRect of the same area: a solid and a gradient bar
// (grid and text) of 1200 x 40 and an upright gradient bar of 40 x 600; a raw count far beyond
// Max beside a full bar (both draw every visible line); a bar with a 2000 x 1500 background
// picture beside the same bar without one (the stretched picture is kept).
#include <benchmark/benchmark.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/files.h"
#include "kvl/progbar/progbar.h"

namespace {

using namespace kvl;

void Fill(benchmark::State& State, int W, int H) {
  TBitmap B(W, H);
  TCanvas& C = *B.GetCanvas();
  TColor Col = clRed;
  for (auto _ : State) {
    C.GetBrush().SetColor(Col ^= 0x00FFFFFF);
    C.FillRect(Rect(0, 0, W, H));
    benchmark::ClobberMemory();
  }
}
void BM_FillRect_1200x40(benchmark::State& State) { Fill(State, 1200, 40); }
void BM_FillRect_40x600(benchmark::State& State) { Fill(State, 40, 600); }
BENCHMARK(BM_FillRect_1200x40);
BENCHMARK(BM_FillRect_40x600);

struct TBarOnForm : kvl::bench::THeadlessForm {
  TProgBar* Bar;
  TBarOnForm(int W, int H) : THeadlessForm(W + 20, H + 20) {
    Bar = Add<TProgBar>(0, 0, W, H);
    Form->Show();
    Application->ProcessMessages();
  }
};

// Alternates between two values so that every setter call paints.
void Values(benchmark::State& State, TProgBar& Bar, double A, double B) {
  bool Flip = false;
  for (auto _ : State) {
    Bar.SetValue((Flip = !Flip) ? A : B);
    benchmark::ClobberMemory();
  }
}

void BM_ProgBar_Solid_1200x40(benchmark::State& State) {
  TBarOnForm F(1200, 40);
  F.Bar->SetTextVisible(false);
  Values(State, *F.Bar, 40, 60);
}
BENCHMARK(BM_ProgBar_Solid_1200x40);

void GradientBar(TProgBar& Bar) {
  Bar.SetShowColorGradient(true);
  Bar.SetGridDist(8);
  Bar.SetTextPosX(Bar.GetWidth() / 2);
  Bar.SetTextPosY(Bar.GetHeight() / 2);
}

void BM_ProgBar_Gradient_1200x40(benchmark::State& State) {
  TBarOnForm F(1200, 40);
  GradientBar(*F.Bar);
  Values(State, *F.Bar, 40, 60);
}
BENCHMARK(BM_ProgBar_Gradient_1200x40);

void UprightGradient(benchmark::State& State, double A, double B) {
  TBarOnForm F(40, 600);
  F.Bar->SetDirection(dirUp);
  GradientBar(*F.Bar);
  F.Bar->SetColorMapMode(cgmCover);
  Values(State, *F.Bar, A, B);
}
void BM_ProgBar_Gradient_40x600(benchmark::State& State) { UprightGradient(State, 40, 60); }
void BM_ProgBar_Gradient_40x600_Full(benchmark::State& State) { UprightGradient(State, 100, 100.5); }
void BM_ProgBar_Gradient_40x600_1e10(benchmark::State& State) { UprightGradient(State, 1e10, 1.5e10); }
BENCHMARK(BM_ProgBar_Gradient_40x600);
BENCHMARK(BM_ProgBar_Gradient_40x600_Full);
BENCHMARK(BM_ProgBar_Gradient_40x600_1e10);

void Background(benchmark::State& State, bool WithPicture) {
  TBarOnForm F(1200, 40);
  if (WithPicture) {
    TBitmap Big(2000, 1500);
    for (int Y = 0; Y < 1500; ++Y)
      for (int X = 0; X < 2000; ++X) Big.ScanLine(Y)[X] = std::uint32_t(X * 7 ^ Y * 13);
    const std::string Path = "/tmp/kvl_progbar_bench_bg.bmp";
    Big.SaveToFile(Path);
    F.Bar->SetBackGroundImg(Path);
    if (F.Bar->GetBackGroundImg() != Path) State.SkipWithError("the picture did not load");
  }
  Values(State, *F.Bar, 40, 60);
}
void BM_ProgBar_Picture_1200x40(benchmark::State& State) { Background(State, true); }
void BM_ProgBar_NoPicture_1200x40(benchmark::State& State) { Background(State, false); }
BENCHMARK(BM_ProgBar_Picture_1200x40);
BENCHMARK(BM_ProgBar_NoPicture_1200x40);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_ProgBar_Solid_1200x40", "BM_FillRect_1200x40", 0},
       {"BM_ProgBar_Gradient_1200x40", "BM_FillRect_1200x40", 0},
       {"BM_ProgBar_Gradient_40x600", "BM_FillRect_40x600", 0},
       {"BM_ProgBar_Gradient_40x600_1e10", "BM_ProgBar_Gradient_40x600_Full", 0.8},
       {"BM_ProgBar_Picture_1200x40", "BM_ProgBar_NoPicture_1200x40", 0.5}});
}
