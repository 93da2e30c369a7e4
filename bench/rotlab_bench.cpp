// An opaque rotated label of 200 x 200 whose angle changes between 45 and 46 degrees (the
// setter paints at once; both angles' glyphs are cached after the first round), beside a fill
// of the same area plus the same caption drawn unrotated.
#include <benchmark/benchmark.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/rotlab/rotlab.h"

namespace {

using namespace kvl;

const std::string Caption = "Pressure in the left tank";  // 26 characters with the blank

void BM_FillAndText_200(benchmark::State& State) {
  TBitmap B(200, 200);
  TCanvas& C = *B.GetCanvas();
  C.GetFont().SetName("Arial");
  C.GetFont().SetSize(11);
  C.GetBrush().SetColor(clBtnFace);
  for (auto _ : State) {
    C.GetBrush().SetStyle(bsSolid);
    C.FillRect(Rect(0, 0, 200, 200));
    C.GetBrush().SetStyle(bsClear);
    C.TextOut(40, 90, Caption + " ");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillAndText_200);

void BM_RotLab_Angle(benchmark::State& State) {
  kvl::bench::THeadlessForm F(220, 220);
  auto* L = F.Add<TRotLab>(0, 0, 200, 200);
  L->SetCaption(Caption + " ");
  L->SetTransparent(false);
  F.Form->Show();
  Application->ProcessMessages();
  int Angle = 45;
  for (auto _ : State) {
    L->SetTextAngle(Angle = Angle == 45 ? 46 : 45);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RotLab_Angle);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv, {{"BM_RotLab_Angle", "BM_FillAndText_200", 0.33}});
}
