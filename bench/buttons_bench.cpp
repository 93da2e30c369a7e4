// Buttons and selectors: an on/off button toggle until its pixels are in the form's back buffer
// (opaque, and transparent with the parent's background repainted) against a plain fill of the
// same area; the marker selector's hover (one cell's highlight off, the next one's on) against
// a full repaint of the selector; the colour selector's open list of 8 rows repainted with all
// 47 colours against 8 colours (rows out of view cost nothing).
#include <benchmark/benchmark.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/colsel/colsel.h"
#include "kvl/marksel/marksel.h"
#include "kvl/onoffbut/onoffbut.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace {

using namespace kvl;

struct TButtonOnForm : kvl::bench::THeadlessForm {
  TOnOffBut* Button;
  explicit TButtonOnForm(bool Transparent) : THeadlessForm(420, 220) {
    Button = Add<TOnOffBut>(10, 10, 400, 200);
    Button->SetButtonStyle(oobsBulb);
    Button->SetLeftText("Left");
    Button->SetRightText("Right");
    Button->SetTopText("Top");
    Button->SetBottomText("Bottom");
    Button->SetTransparent(Transparent);
    Form->Show();
    Application->ProcessMessages();
  }
};

void Toggle(benchmark::State& State, bool Transparent) {
  TButtonOnForm S(Transparent);
  for (auto _ : State) {
    S.Button->SetOnOff(!S.Button->GetOnOff());
    benchmark::ClobberMemory();
  }
}
void BM_OnOff_ToggleOpaque(benchmark::State& State) { Toggle(State, false); }
void BM_OnOff_ToggleTransparent(benchmark::State& State) { Toggle(State, true); }
BENCHMARK(BM_OnOff_ToggleOpaque);
BENCHMARK(BM_OnOff_ToggleTransparent);

void BM_FillRect_400x200(benchmark::State& State) {
  TBitmap B(400, 200);
  TCanvas& C = *B.GetCanvas();
  bool Odd = false;
  for (auto _ : State) {
    C.GetBrush().SetColor((Odd = !Odd) ? clRed : clBlue);
    C.FillRect(Rect(0, 0, 400, 200));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_400x200);

struct TSelectorOnForm : kvl::bench::THeadlessForm {
  TMarkSel* Marks;
  TSelectorOnForm() : THeadlessForm(480, 360) {
    Marks = Add<TMarkSel>(0, 0, 472, 356);
    Form->Show();
    Application->ProcessMessages();
  }
};

void BM_MarkSel_Hover(benchmark::State& State) {
  TSelectorOnForm S;
  const TPoint A = S.Marks->GetMarkCentre(9), B = S.Marks->GetMarkCentre(10);
  bool Odd = false;
  for (auto _ : State) {
    const TPoint P = (Odd = !Odd) ? A : B;
    S.Marks->MouseMove(0, P.X, P.Y);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MarkSel_Hover);

void BM_MarkSel_Repaint(benchmark::State& State) {
  TSelectorOnForm S;
  for (auto _ : State) {
    S.Marks->Repaint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MarkSel_Repaint);

struct TColoursOnForm : kvl::bench::THeadlessForm {
  TColSel* Colours;
  explicit TColoursOnForm(int Count) : THeadlessForm(200, 60) {
    Colours = Add<TColSel>(0, 0, 180, 21);
    Colours->SetNumColors(Count);
    Form->Show();
    Colours->SetDroppedDown(true);
    Application->ProcessMessages();
  }
};

void ListRepaint(benchmark::State& State, int Count) {
  TColoursOnForm S(Count);
  TDropDownList* List = S.Colours->GetDropDownList();
  if (!List) {
    State.SkipWithError("the list did not open");
    return;
  }
  for (auto _ : State) {
    List->Repaint();
    benchmark::ClobberMemory();
  }
}
void BM_ColSel_List47(benchmark::State& State) { ListRepaint(State, 47); }
void BM_ColSel_List8(benchmark::State& State) { ListRepaint(State, 8); }
BENCHMARK(BM_ColSel_List47);
BENCHMARK(BM_ColSel_List8);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_OnOff_ToggleOpaque", "BM_FillRect_400x200", 0.1},
                                    {"BM_OnOff_ToggleTransparent", "BM_FillRect_400x200", 0.05},
                                    {"BM_MarkSel_Hover", "BM_MarkSel_Repaint", 5},
                                    {"BM_ColSel_List47", "BM_ColSel_List8", 0.5}});
}
