// The report list view costs what is visible and little more than the work under it: a header
// click on a million rows beside the store's own sort, a repaint deep in a million rows beside
// one over a hundred, sizing a column beside measuring its texts, and removing empty rows beside
// a sort of the same table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/replist/replist.h"

namespace {

using namespace kvl;

constexpr int W = 1280, H = 800, Million = 1'000'000;

// The same text for a row in every program, spread so that a sort has work to do.
std::string NameOf(int R) {
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, "Sample %07u", (unsigned(R) * 2654435761u) % 10'000'000u);
  return Buf;
}

struct TViewForm {
  bench::THeadlessForm S{W, H};
  TReportListView* View;
  explicit TViewForm(int Rows, int EveryEmpty = 0) {
    View = S.Add<TReportListView>(0, 0, W, H);
    View->SetNrOfColumns(6);
    for (int C = 1; C <= 6; ++C) View->SetColWidths(C, 200);
    Fill(Rows, EveryEmpty);
    S.Form->Show();
    Application->ProcessMessages();
  }
  void Fill(int Rows, int EveryEmpty) {
    const TReportListView::TPaintPause Pause(*View);
    View->SetNrOfRows(Rows);
    for (int R = 1; R <= Rows; ++R) {
      if (EveryEmpty && R % EveryEmpty == 0) continue;
      View->SetElem(1, R, NameOf(R));
      View->SetElem(2, R, std::to_string(R % 977));
    }
  }
};

std::unique_ptr<TRLData> StoreOf(int Rows, int EveryEmpty = 0) {
  auto D = std::make_unique<TRLData>(nullptr);
  D->SetNrOfColumns(6);
  D->SetNrOfRows(Rows);
  for (int R = 1; R <= Rows; ++R) {
    if (EveryEmpty && R % EveryEmpty == 0) continue;
    D->SetElem(1, R, NameOf(R));
    D->SetElem(2, R, std::to_string(R % 977));
  }
  return D;
}

// --- a header click beside the store's sort, both from the unsorted order ------------------

void BM_Store_Sort(benchmark::State& State) {
  const auto D = StoreOf(Million);
  bool Ascending = false;  // the view's first click sorts descending, then they alternate
  for (auto _ : State) {
    State.PauseTiming();
    D->UnSort();
    State.ResumeTiming();
    D->Sort(1, -1, Ascending);
    Ascending = !Ascending;
  }
}
BENCHMARK(BM_Store_Sort)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_View_HeaderClick(benchmark::State& State) {
  TViewForm F(Million);
  for (auto _ : State) {
    State.PauseTiming();
    F.View->UnSort();
    Application->ProcessMessages();
    State.ResumeTiming();
    F.S.Click(100, 10);  // the middle of the first header, through the loop to the pixels
  }
}
BENCHMARK(BM_View_HeaderClick)->Unit(benchmark::kMillisecond)->Iterations(4);

// --- a repaint deep in a million rows beside one over a hundred -----------------------------

void BM_View_Repaint(benchmark::State& State) {
  TViewForm F(int(State.range(0)));
  if (State.range(0) == Million) F.View->SetTopRow(500'000);
  Application->ProcessMessages();
  for (auto _ : State) {
    F.View->Invalidate();
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_View_Repaint)->Arg(100)->Arg(Million)->Unit(benchmark::kMillisecond);

// --- sizing a column beside measuring its texts --------------------------------------------

void BM_Bare_TextWidths(benchmark::State& State) {
  TViewForm F(1);
  std::vector<std::string> Texts;
  Texts.reserve(Million);
  for (int R = 1; R <= Million; ++R) Texts.push_back(NameOf(R));
  TCanvas& C = *F.View->GetCanvas();
  C.SetFont(F.View->GetFont());
  for (auto _ : State) {
    int Max = 0;
    for (const std::string& T : Texts) Max = std::max(Max, C.TextWidth(T));
    benchmark::DoNotOptimize(Max);
  }
}
BENCHMARK(BM_Bare_TextWidths)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_View_AutoColWidth(benchmark::State& State) {
  TViewForm F(Million);
  for (auto _ : State) F.View->AutoColWidth(1, false, 0);
}
BENCHMARK(BM_View_AutoColWidth)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- removing every second row beside a sort of the same table --------------------------------

void BM_Store_SortHalfEmpty(benchmark::State& State) {
  const auto D = StoreOf(Million, 2);
  for (auto _ : State) {
    State.PauseTiming();
    D->UnSort();
    State.ResumeTiming();
    D->Sort(1, -1, true);
  }
}
BENCHMARK(BM_Store_SortHalfEmpty)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_View_RemoveEmptyRows(benchmark::State& State) {
  TViewForm F(1);
  for (auto _ : State) {
    State.PauseTiming();
    F.Fill(Million, 2);
    State.ResumeTiming();
    F.View->RemoveEmptyRows();
  }
}
BENCHMARK(BM_View_RemoveEmptyRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_View_HeaderClick/iterations:4", "BM_Store_Sort/iterations:4", 1 / 1.3},
       {"BM_View_Repaint/1000000", "BM_View_Repaint/100", 1 / 1.2},
       {"BM_View_AutoColWidth/iterations:3", "BM_Bare_TextWidths/iterations:3", 1 / 1.5},
       {"BM_View_RemoveEmptyRows/iterations:3", "BM_Store_SortHalfEmpty/iterations:3",
        1 / 1.5}});
}
