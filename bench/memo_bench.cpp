// A character typed into the middle of a wrapped paragraph and the repaint after it, in a memo
// of 10 000 lines beside one of 10: an edit re-wraps one paragraph and paints the shown rows,
// so the two must cost about the same.
#include <benchmark/benchmark.h>

#include <string>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/memo.h"

namespace {

using namespace kvl;

void TypeInMemo(benchmark::State& State, int Lines) {
  bench::THeadlessForm S(400, 500);
  auto* M = S.Add<TMemo>(0, 0, 300, 400);
  M->SetScrollBars(ssVertical);
  std::string Text;
  const std::string Line = "The quick brown fox jumps over the lazy dog, again and again.";
  for (int I = 0; I < Lines; ++I) {
    Text.append(Line, 0, 60);
    Text.push_back('\n');
  }
  M->SetText(Text);
  S.Form->Show();
  M->SetFocus();
  M->SetCaretPos({30, Lines / 2});
  Application->ProcessMessages();
  THostEvent E;
  E.Kind = THostEventKind::KeyDown;
  E.Window = S.Form->GetWindow();
  bool Type = true;
  for (auto _ : State) {
    // Typing and deleting in turn keeps the paragraph as long as it was.
    E.Key = Type ? std::uint16_t('A') : vk::Back;
    E.Text.assign(Type ? 1 : 0, 'a');
    Type = !Type;
    S.Host->Post(E);
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
}

void BM_MemoType_10Lines(benchmark::State& State) { TypeInMemo(State, 10); }
void BM_MemoType_10000Lines(benchmark::State& State) { TypeInMemo(State, 10000); }
BENCHMARK(BM_MemoType_10Lines);
BENCHMARK(BM_MemoType_10000Lines);

}  // namespace

int main(int argc, char** argv) {
  // At most 1.5 times the small memo's time.
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_MemoType_10000Lines", "BM_MemoType_10Lines", 1 / 1.5}});
}
