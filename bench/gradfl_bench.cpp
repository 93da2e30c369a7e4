// The gradient fill at 1920x1080 beside a canvas FillRect of the same area: a repaint after a
// setting changed (bands, frame and grid rendered, then copied), and a repaint that only copies
// the rendered picture (a label over the fill changed).
#include <benchmark/benchmark.h>

#include <memory>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/gradfl/gradfl.h"
#include "kvl/platform/application.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;

constexpr int W = 1920, H = 1080;

void BM_FillRect_1080p(benchmark::State& State) {
  TBitmap B(W, H);
  TCanvas& C = *B.GetCanvas();
  TColor Col = clRed;
  for (auto _ : State) {
    C.GetBrush().SetColor(Col ^= 0x00FFFFFF);
    C.FillRect(Rect(0, 0, W, H));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_1080p);

struct TFillOnForm : kvl::bench::THeadlessForm {
  TGradFill* Fill;
  explicit TFillOnForm(TGradType Type) : THeadlessForm(W, H) {
    Fill = Add<TGradFill>(0, 0, W, H);
    Fill->SetFillType(Type);
    Fill->SetNrColors(64);
    Form->Show();
    Application->ProcessMessages();
  }
};

// Each iteration flips the colours, so the bands are rendered anew and copied to the form.
void ChangedRepaint(benchmark::State& State, TGradType Type) {
  TFillOnForm S(Type);
  bool Flip = false;
  for (auto _ : State) {
    S.Fill->SetColorFlipped(Flip = !Flip);
    S.Fill->Update();
    benchmark::ClobberMemory();
  }
}
void BM_GradFill_Changed_Horiz_1080p(benchmark::State& State) { ChangedRepaint(State, gtHoriz); }
void BM_GradFill_Changed_Vert_1080p(benchmark::State& State) { ChangedRepaint(State, gtVert); }
BENCHMARK(BM_GradFill_Changed_Horiz_1080p);
BENCHMARK(BM_GradFill_Changed_Vert_1080p);

void BM_GradFill_Repaint_1080p(benchmark::State& State) {
  TFillOnForm S(gtHoriz);
  for (auto _ : State) {
    S.Fill->Repaint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GradFill_Repaint_1080p);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_GradFill_Changed_Horiz_1080p", "BM_FillRect_1080p", 0},
                                    {"BM_GradFill_Changed_Vert_1080p", "BM_FillRect_1080p", 0},
                                    {"BM_GradFill_Repaint_1080p", "BM_FillRect_1080p", 0}});
}
