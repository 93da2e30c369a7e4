// The framework's paint and input paths against the bare canvas fill of the same pixels: a full
// repaint of a busy form, and a key from the host to the repainted control.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;

constexpr int FormW = 1280, FormH = 800;

// A small instrument-like control: a framed, filled box with a number in it.
class TCell : public TGraphicControl {
public:
  TCell(TWinControl* Parent, int N) : TGraphicControl(Parent), FText(std::to_string(N)) {
    SetParent(Parent);
  }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetBrush().SetColor(clCream);
    C.GetPen().SetColor(clGray);
    C.Rectangle(0, 0, GetWidth(), GetHeight());
    C.GetBrush().SetStyle(bsClear);
    C.TextOut(6, 4, FText);
  }

private:
  std::string FText;
};

// A focused text box that shows the last typed character.
class TKeyBox : public TCustomControl {
public:
  explicit TKeyBox(TWinControl* Parent) : TCustomControl(Parent) {
    SetParent(Parent);
    SetTabStop(true);
    SetBounds(10, 10, 200, 24);
  }
  void KeyPress(char32_t& Key) override {
    FLast = std::string(1, char(Key));
    Invalidate();
  }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetBrush().SetColor(clWindow);
    C.TextRect(GetClientRect(), 4, 4, FLast);
  }

private:
  std::string FLast;
};

void BM_FillRect_Form(benchmark::State& State) {
  TBitmap B(FormW, FormH);
  TCanvas& C = *B.GetCanvas();
  TColor Col = clRed;
  for (auto _ : State) {
    C.GetBrush().SetColor(Col ^= 0x00FFFFFF);
    C.FillRect(Rect(0, 0, FormW, FormH));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_Form);

void BM_Repaint_Form200Controls(benchmark::State& State) {
  kvl::bench::THeadlessForm S(FormW, FormH);
  TForm* Form = S.Form.get();
  for (int I = 0; I < 200; ++I) {
    auto* Cell = new TCell(Form, I);
    Cell->SetBounds(8 + (I % 20) * 63, 8 + (I / 20) * 78, 58, 70);
  }
  Form->Show();
  Application->ProcessMessages();
  for (auto _ : State) {
    Form->Invalidate();
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Repaint_Form200Controls)->Unit(benchmark::kMillisecond);

void BM_FillRect_KeyBox(benchmark::State& State) {
  TBitmap B(200, 24);
  TCanvas& C = *B.GetCanvas();
  TColor Col = clRed;
  for (auto _ : State) {
    C.GetBrush().SetColor(Col ^= 0x00FFFFFF);
    C.FillRect(Rect(0, 0, 200, 24));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_KeyBox);

void BM_KeyToPixels(benchmark::State& State) {
  kvl::bench::THeadlessForm S(FormW, FormH);
  THeadlessHost& Host = *S.Host;
  TForm* Form = S.Form.get();
  auto* Box = new TKeyBox(Form);
  Form->Show();
  Box->SetFocus();
  Application->ProcessMessages();
  THostEvent E;
  E.Kind = THostEventKind::KeyDown;
  E.Window = Form->GetWindow();
  char Ch = 'a';
  for (auto _ : State) {
    E.Key = std::uint16_t(Ch - 'a' + 'A');
    E.Text.assign(1, Ch);
    Ch = Ch == 'z' ? 'a' : char(Ch + 1);
    Host.Post(E);
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_KeyToPixels);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_Repaint_Form200Controls", "BM_FillRect_Form", 0},
                                    {"BM_KeyToPixels", "BM_FillRect_KeyBox", 0}});
}
