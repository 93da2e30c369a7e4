// The meter on a 400 x 400 headless form with bands, caption, lamps and labels: a needle move
// repaints only the needles' rectangle, against a full repaint that rebuilds the scale layer,
// and that full repaint against a plain fill of the same area. Each figure ends with the
// pixels in the form's back buffer.
#include <benchmark/benchmark.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/meter/meter.h"

namespace {

using namespace kvl;

struct TMeterOnForm : kvl::bench::THeadlessForm {
  TMeter* Meter;
  TMeterOnForm() : THeadlessForm(400, 400) {
    Meter = Add<TMeter>(0, 0, 400, 400);
    Meter->SetMeterLayout(mlCirc300);
    Meter->SetScaleBkVisible(true);
    Meter->SetScaleBkWidth(20);
    Meter->SetThresholdHigh(0.8);
    Meter->SetThresholdLow(0.2);
    Meter->SetCaption("Pressure");
    Meter->SetMeterNrTicks(10);
    Meter->GetNeedleLayout().SetShadowDx(3);
    Meter->GetNeedleLayout().SetShadowDy(-2);
    Form->Show();
    Application->ProcessMessages();
  }
  // Steps the value by 1 % of the range, back and forth across the scale.
  void Step(int& I) {
    I = (I + 1) % 200;
    Meter->SetValue(I < 100 ? I / 100.0 : (200 - I) / 100.0);
  }
};

void BM_Meter_NeedleMove(benchmark::State& State) {
  TMeterOnForm S;
  int I = 0;
  for (auto _ : State) {
    S.Step(I);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Meter_NeedleMove);

void BM_Meter_NeedleMoveWithHook(benchmark::State& State) {
  TMeterOnForm S;
  S.Meter->OnBeforeDrawNeedle = [](TObject*, TCanvas*, bool&) {};
  int I = 0;
  for (auto _ : State) {
    S.Step(I);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Meter_NeedleMoveWithHook);

void BM_Meter_FullRepaint(benchmark::State& State) {
  TMeterOnForm S;
  for (auto _ : State) {
    S.Meter->RebuildScale();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Meter_FullRepaint);

void BM_Meter_FillRect(benchmark::State& State) {
  TMeterOnForm S;
  TCanvas& C = *S.Meter->GetCanvas();
  bool Odd = false;
  for (auto _ : State) {
    C.GetBrush().SetColor((Odd = !Odd) ? clRed : clBlue);
    C.FillRect(Rect(0, 0, 400, 400));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Meter_FillRect);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_Meter_NeedleMove", "BM_Meter_FullRepaint", 5},
                                    {"BM_Meter_NeedleMoveWithHook", "BM_Meter_FullRepaint", 0},
                                    {"BM_Meter_FullRepaint", "BM_Meter_FillRect", 0}});
}
