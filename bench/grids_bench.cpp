// Grids cost what is visible: a full-HD repaint and a page scroll against a bare loop drawing
// the same texts into the same rectangles, and a million rows against a hundred.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/grids.h"

namespace {

using namespace kvl;

constexpr int W = 1920, H = 1080, Cols = 20, ColW = 96, RowH = 24;

// Texts of one length at any row, so that deep rows draw no more glyphs than shallow ones.
std::string CellText(int C, int R) {
  char Buf[24];
  std::snprintf(Buf, sizeof Buf, "%07d:%02d", R % 10'000'000, C % 100);
  return Buf;
}

// What the grid draws, without a grid: the background, then each cell's text in its box.
void BareDraw(TCanvas& Cv, int FirstRow) {
  Cv.GetBrush().SetColor(clWhite);
  Cv.FillRect(Rect(0, 0, W, H));
  for (int Y = 0, R = FirstRow; Y < H; Y += RowH + 1, ++R)
    for (int C = 0, X = 0; C < Cols; ++C, X += ColW + 1) {
      const TRect Box = Rect(X, Y, X + ColW, Y + RowH);
      Cv.TextRect(Box, Box.Left + 2, Box.Top + 2, CellText(C, R));
    }
}

void BM_Bare_Repaint(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  for (auto _ : State) BareDraw(*B.GetCanvas(), 0);
}
BENCHMARK(BM_Bare_Repaint)->Unit(benchmark::kMillisecond);

void BM_Bare_Page(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  int Page = 0;
  for (auto _ : State) BareDraw(*B.GetCanvas(), 500'000 + (Page++ % 2) * 43);
}
BENCHMARK(BM_Bare_Page)->Unit(benchmark::kMillisecond);

struct TGridForm {
  bench::THeadlessForm S{W + 40, H + 40};
  TDrawGrid* Grid;
  explicit TGridForm(int Rows) {
    Grid = S.Add<TDrawGrid>(0, 0, W, H);
    Grid->SetBorderStyle(bsNone);
    Grid->SetColCount(Cols);
    Grid->SetRowCount(Rows);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    Grid->SetDefaultColWidth(ColW);
    Grid->SetDefaultRowHeight(RowH);
    Grid->SetDefaultDrawing(false);
    Grid->OnDrawCell = [this](TObject*, int C, int R, const TRect& Rc, TGridDrawState) {
      Grid->GetCanvas()->TextRect(Rc, Rc.Left + 2, Rc.Top + 2, CellText(C, R));
    };
    S.Form->Show();
    Application->ProcessMessages();
  }
};

void BM_DrawGrid_Repaint(benchmark::State& State) {
  TGridForm F(static_cast<int>(State.range(0)));
  for (auto _ : State) {
    F.Grid->Invalidate();
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_DrawGrid_Repaint)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_DrawGrid_PageScroll(benchmark::State& State) {
  const int Rows = static_cast<int>(State.range(0));
  TGridForm F(Rows);
  F.Grid->SetFocus();
  F.Grid->SetRow(Rows / 2);
  Application->ProcessMessages();
  int N = 0;
  for (auto _ : State) {
    std::uint16_t Key = (N++ % 2) ? vk::Prior : vk::Next;
    F.Grid->KeyDown(Key, 0);
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_DrawGrid_PageScroll)->Arg(200)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_StringGrid_Repaint(benchmark::State& State) {
  bench::THeadlessForm S(W + 40, H + 40);
  auto* G = S.Add<TStringGrid>(0, 0, W, H);
  G->SetBorderStyle(bsNone);
  G->SetColCount(Cols);
  G->SetRowCount(100);
  G->SetFixedCols(0);
  G->SetFixedRows(0);
  G->SetDefaultColWidth(ColW);
  G->SetDefaultRowHeight(RowH);
  for (int R = 0; R < 100; ++R)
    for (int C = 0; C < Cols; ++C) G->SetCells(C, R, CellText(C, R));
  S.Form->Show();
  Application->ProcessMessages();
  for (auto _ : State) {
    G->Invalidate();
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_StringGrid_Repaint)->Unit(benchmark::kMillisecond);

long ResidentKb() {
  long Pages = 0, Resident = 0;
  if (FILE* F = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(F, "%ld %ld", &Pages, &Resident) != 2) Resident = 0;
    std::fclose(F);
  }
  return Resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The resident growth from setting the row count of an empty grid (reported, in KB).
void BM_RowCountMemory(benchmark::State& State) {
  bench::THeadlessForm S(400, 300);
  for (auto _ : State) {
    auto* G = S.Add<TStringGrid>(0, 0, 300, 200);
    const long Before = ResidentKb();
    G->SetRowCount(static_cast<int>(State.range(0)));
    G->SetRow(G->GetRowCount() - 1);
    State.counters["rss_growth_kb"] = double(ResidentKb() - Before);
    delete G;
  }
}
BENCHMARK(BM_RowCountMemory)->Arg(100)->Arg(10'000'000)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_DrawGrid_Repaint/100", "BM_Bare_Repaint", 0.67},
       {"BM_DrawGrid_Repaint/1000000", "BM_DrawGrid_Repaint/100", 0.83},
       {"BM_DrawGrid_PageScroll/1000000", "BM_Bare_Page", 0.67},
       {"BM_DrawGrid_PageScroll/1000000", "BM_DrawGrid_PageScroll/200", 0.83},
       {"BM_StringGrid_Repaint", "BM_Bare_Repaint", 0.67}});
}
