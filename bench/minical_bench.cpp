// The mini calendar on a headless form: a month change runs through the loop until its pixels
// are in the back buffer, against a plain fill of the same 300 x 180 area; the same change
// with 5 000 added holidays against the 8 fixed ones (the cost follows what is shown, not the
// list); an arrow-key step to pixels.
#include <benchmark/benchmark.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/minical/minical.h"

namespace {

using namespace kvl;

struct TCalOnForm : kvl::bench::THeadlessForm {
  TMiniCal* Cal;
  explicit TCalOnForm(int AddedHolidays) : THeadlessForm(320, 200) {
    Cal = Add<TMiniCal>(0, 0, 300, 180);
    // Spread over every month, so each shown month has list entries to find.
    for (int I = 0; I < AddedHolidays; ++I)
      Cal->AddHoliday(I % 28 + 1, I / 28 % 12 + 1, 2000 + I % 50, "Added holiday");
    Cal->SetDate(EncodeDate(2024, 5, 15));
    Form->Show();
    Application->ProcessMessages();
  }
};

void MonthChanges(benchmark::State& State, int AddedHolidays) {
  TCalOnForm S(AddedHolidays);
  bool Forward = false;
  for (auto _ : State) {
    (Forward = !Forward) ? S.Cal->NextMonth() : S.Cal->PrevMonth();
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
}

void BM_MiniCal_MonthChange(benchmark::State& State) { MonthChanges(State, 0); }
BENCHMARK(BM_MiniCal_MonthChange);

void BM_MiniCal_MonthChange5000Holidays(benchmark::State& State) { MonthChanges(State, 5000); }
BENCHMARK(BM_MiniCal_MonthChange5000Holidays);

void BM_MiniCal_ArrowKeyStep(benchmark::State& State) {
  TCalOnForm S(0);
  bool Right = false;
  for (auto _ : State) {
    std::uint16_t Key = (Right = !Right) ? vk::Right : vk::Left;
    S.Cal->KeyDown(Key, 0);
    Application->ProcessMessages();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MiniCal_ArrowKeyStep);

void BM_MiniCal_FillRect(benchmark::State& State) {
  TCalOnForm S(0);
  TCanvas& C = *S.Cal->GetCanvas();
  bool Odd = false;
  for (auto _ : State) {
    C.GetBrush().SetColor((Odd = !Odd) ? clRed : clBlue);
    C.FillRect(Rect(0, 0, 300, 180));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MiniCal_FillRect);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_MiniCal_MonthChange", "BM_MiniCal_FillRect", 0.05},
       {"BM_MiniCal_MonthChange5000Holidays", "BM_MiniCal_MonthChange", 0.5},
       {"BM_MiniCal_ArrowKeyStep", "BM_MiniCal_FillRect", 0}});
}
