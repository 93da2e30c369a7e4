// The thumbnail grid costs what it shows: a repaint of a 700 x 270 grid (5 cards per row, 2
// rows, 160 x 120 host pictures) with 10 000 slides, scrolled to the middle with every other
// slide selected, beside the same grid with 10 slides; and a focus move between two cards
// beside a repaint.
#include <benchmark/benchmark.h>

#include <memory>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/application.h"
#include "kvl/thumbnails/thumbnails.h"

namespace {

using namespace kvl;

struct TBenchGrid : TThumbnails {
  using TThumbnails::MouseMove;
  using TThumbnails::TThumbnails;
};

struct TGridOnForm : kvl::bench::THeadlessForm {
  TBenchGrid* Grid;
  TBitmap Picture{160, 120};
  int Requests = 0;
  explicit TGridOnForm(int Max) : THeadlessForm(720, 300) {
    TCanvas& C = *Picture.GetCanvas();
    C.GetBrush().SetColor(clSkyBlue);
    C.FillRect(Rect(0, 0, 160, 120));
    C.GetBrush().SetColor(clYellow);
    C.Ellipse(20, 20, 70, 70);
    // Off the form, setters only store: the selection is set up without a paint per slide.
    Grid = new TBenchGrid(Form.get());
    Grid->SetBounds(0, 0, 700, 270);
    Grid->SetMax(Max);
    Grid->SetSlideSelectMode(ssmMultiple);
    for (int S = 1; S <= Max; S += 2) Grid->SetSelectedSlide(S, true);
    Grid->SetFirstThumbIx(Max > 10 ? Max / 2 + 1 : 1);
    Grid->OnImageRequest = [this](TObject*, int, TImageRequestProcessing& How, int&,
                                  std::unique_ptr<TBitmap>& Buf) {
      ++Requests;
      How = irpShowSlide;
      *Buf = Picture;
    };
    Grid->SetParent(Form.get());
    Form->Show();
    Application->ProcessMessages();
  }
};

void Repaint(benchmark::State& State, int Max) {
  TGridOnForm S(Max);
  TColor Cover = clSilver;
  S.Requests = 0;
  for (auto _ : State) {
    S.Grid->SetColorCover(Cover ^= 1);
    benchmark::ClobberMemory();
  }
  State.counters["cards"] = double(S.Requests) / double(State.iterations());
}
void BM_Thumbnails_Repaint_10000(benchmark::State& State) { Repaint(State, 10000); }
void BM_Thumbnails_Repaint_10(benchmark::State& State) { Repaint(State, 10); }
BENCHMARK(BM_Thumbnails_Repaint_10000);
BENCHMARK(BM_Thumbnails_Repaint_10);

void BM_Thumbnails_FocusMove(benchmark::State& State) {
  TGridOnForm S(10000);
  bool Left = false;
  for (auto _ : State) {
    S.Grid->MouseMove(0, (Left = !Left) ? 70 : 206, 70);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Thumbnails_FocusMove);

}  // namespace

int main(int argc, char** argv) {
  // Ratios are rates against the baseline: the 10 000-slide repaint at most 1.2 times the
  // 10-slide one, and a focus move at most a tenth of a repaint.
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_Thumbnails_Repaint_10000", "BM_Thumbnails_Repaint_10", 1 / 1.2},
       {"BM_Thumbnails_FocusMove", "BM_Thumbnails_Repaint_10000", 10}});
}
