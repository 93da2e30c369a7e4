// The numeric field: a keystroke from the host to the repainted pixels of a 300x28 field,
// beside the field's bare paint of the same pixels.
#include <benchmark/benchmark.h>

#include <memory>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/numio/numio2.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;

struct TFieldOnForm : kvl::bench::THeadlessForm {
  TNumIO2* Field;
  TFieldOnForm() : THeadlessForm(320, 40) {
    Field = Add<TNumIO2>(0, 0, 300, 28);
    Field->SetTextBoxWidth(200);
    Field->SetLeftText("Level");
    Form->Show();
    Field->SetFocus();
    Field->SetValue(123.45);
    Application->ProcessMessages();
  }
};

void BM_NumIO2_BarePaint(benchmark::State& State) {
  TFieldOnForm S;
  for (auto _ : State) {
    S.Field->Repaint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumIO2_BarePaint);

// A digit typed at the end and taken back with Backspace: two keystrokes, each checked,
// changed and repainted.
void BM_NumIO2_KeystrokeToPixels(benchmark::State& State) {
  TFieldOnForm S;
  THostEvent E;
  E.Kind = THostEventKind::KeyDown;
  E.Window = S.Form->GetWindow();
  S.Host->Post(E);
  for (auto _ : State) {
    E.Key = '7';
    S.Host->Post(E);
    Application->ProcessMessages();
    E.Key = vk::Back;
    S.Host->Post(E);
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 2);
}
BENCHMARK(BM_NumIO2_KeystrokeToPixels);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_NumIO2_KeystrokeToPixels", "BM_NumIO2_BarePaint", 0}});
}
