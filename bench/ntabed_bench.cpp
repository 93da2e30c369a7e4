// The table editor's costs grow with what is visible. Each figure sits beside a baseline from
// the same run:
// - repainting a full-HD editor over a 1,000 x 1,000 table scrolled to its middle (and over a
//   10 x 1,000,000 table, and a 10 x 10 view) against the same editor over a table that holds
//   exactly the visible block;
// - AutoColWidth of every column against a bare loop making and measuring the same texts;
// - Extract from Clipboard of Copy's text of the whole table against std::from_chars over the
//   same tokens;
// - the bytes a 1,000 x 10,000 table holds per cell, with the peak resident size.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "baseline_ratio.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/host_headless.h"
#include <sys/resource.h>

namespace {

using namespace kvl;

long PeakRssKiB() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return U.ru_maxrss;
}

double ValueAt(int C, int R) { return std::sin(C * 0.37 + R * 0.11) * std::pow(10.0, (C + R) % 9 - 3); }

// Fills the table so that cell (C, R) holds what cell (C + DC, R + DR) of the large one holds.
void FillLike(TNTabEd& E, int DC, int DR) {
  TDataTable& T = *E.GetData();
  E.SetSuppressPaint(true);
  for (int C = 1; C <= T.GetNrOfColumns(); ++C) {
    T.SetColName(C, "Ch " + std::to_string(C + DC));
    T.SetColAttrib(C, std::uint8_t((C + DC) % 200));
    E.SetPrecision(C, (C + DC) % 12 - 1);
    for (int R = 1; R <= T.GetNrOfRows(); ++R)
      T.WriteCell(C, R, ValueAt(C + DC, R + DR), std::uint8_t((C + DC + R + DR) % 5 == 0 ? csMarkA : 0));
  }
  for (int R = 1; R <= T.GetNrOfRows(); ++R) T.SetRowName(R, "t " + std::to_string(R + DR));
  E.SetSuppressPaint(false);
}

// One headless host for all the views: each form keeps its own back buffer.
TForm* NewForm(int W, int H) {
  static const bool Hosted = [] {
    Application->SetHost(std::make_unique<THeadlessHost>());
    return true;
  }();
  (void)Hosted;
  auto* F = new TForm(Application);
  F->SetBounds(0, 0, W, H);
  return F;
}

struct TView {
  TForm* Form;
  TNTabEd* E;
  TView(int W, int H, int NC, int NR) : Form(NewForm(W, H)) {
    E = new TNTabEd(Form);
    E->SetParent(Form);
    E->SetBounds(0, 0, W, H);
    E->SetScrollBars(ssNone);
    E->Redimension(NC, NR);
    Form->Show();
  }
  void Paint() {
    E->Invalidate();
    Application->ProcessMessages();
  }
};

// Large: NC x NR scrolled to (Left, Top). Small: the visible block of it, from (1, 1).
struct TPair {
  TView Large, Small;
  bool Same = false;
  TPair(int W, int H, int NC, int NR, int Left, int Top)
      : Large(W, H, NC, NR), Small(W, H, 1, 1) {
    FillLike(*Large.E, 0, 0);
    Large.E->SetLeftCol(Left);
    Large.E->SetTopRow(Top);
    Large.E->SetSelection({Left + 1, Top, Left + 1, Top});
    Large.Paint();
    const int VC = Large.E->GetVisibleColCount() + 1, VR = Large.E->GetVisibleRowCount() + 1;
    Small.E->Redimension(std::min(VC, NC - Left + 1), std::min(VR, NR - Top + 1));
    FillLike(*Small.E, Left - 1, Top - 1);
    Small.Paint();
    // The corner shows the selection position, which differs by design: it is left out.
    const TBitmap &A = Large.Form->GetBackBuffer(), &B = Small.Form->GetBackBuffer();
    const TRect Corner = Large.E->CellRect(0, 0).Offset(Large.E->ClientToForm({0, 0}));
    Same = A.GetWidth() == B.GetWidth();
    for (int Y = 0; Same && Y < A.GetHeight(); ++Y)
      for (int X = 0; X < A.GetWidth(); ++X)
        if (!Corner.Contains({X, Y}) && A.ScanLine(Y)[X] != B.ScanLine(Y)[X]) {
          std::fprintf(stderr, "pictures differ at %d, %d\n", X, Y);
          Same = false;
          break;
        }
  }
};

TPair& Pair(int Which) {
  static TPair Full(1920, 1080, 1000, 1000, 500, 500);
  static TPair Tall(1920, 1080, 10, 1'000'000, 1, 500'000);
  static TPair Tiny(80 + 32 + 10 * 65 + 8, 25 * 11 + 4, 1000, 1000, 500, 500);
  return Which == 0 ? Full : Which == 1 ? Tall : Tiny;
}

void BM_Repaint_Large(benchmark::State& State) {
  TPair& P = Pair(int(State.range(0)));
  if (!P.Same) State.SkipWithError("the two pictures differ");
  for (auto _ : State) P.Large.Paint();
}
BENCHMARK(BM_Repaint_Large)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_Repaint_VisibleBlock(benchmark::State& State) {
  TPair& P = Pair(int(State.range(0)));
  for (auto _ : State) P.Small.Paint();
}
BENCHMARK(BM_Repaint_VisibleBlock)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

TView& Table1000() {
  static TView V = [] {
    TView X(800, 600, 1000, 1000);
    FillLike(*X.E, 0, 0);
    return X;
  }();
  return V;
}

void BM_AutoColWidth_AllColumns(benchmark::State& State) {
  TNTabEd& E = *Table1000().E;
  for (auto _ : State)
    for (int C = 1; C <= 1000; ++C) benchmark::DoNotOptimize(E.AutoColWidth(C, false, 0));
}
BENCHMARK(BM_AutoColWidth_AllColumns)->Unit(benchmark::kMillisecond);

void BM_Bare_TextsMeasured(benchmark::State& State) {
  TNTabEd& E = *Table1000().E;
  std::vector<double> Plain(1000 * 1000);
  for (int C = 1; C <= 1000; ++C)
    for (int R = 1; R <= 1000; ++R) Plain[std::size_t(C - 1) * 1000 + std::size_t(R - 1)] = E.GetElem(C, R);
  TCanvas& Cv = *E.GetCanvas();
  Cv.SetFont(E.GetFont());
  for (auto _ : State)
    for (int C = 1; C <= 1000; ++C) {
      int W = 0;
      const int P = E.GetPrecision(C);
      for (int R = 0; R < 1000; ++R)
        W = std::max(W, Cv.TextWidth(NTabNumberText(Plain[std::size_t(C - 1) * 1000 + std::size_t(R)], P, 1)));
      benchmark::DoNotOptimize(W);
    }
}
BENCHMARK(BM_Bare_TextsMeasured)->Unit(benchmark::kMillisecond);

const std::string& CopiedText() {
  static const std::string Text = [] {
    TNTabEd& E = *Table1000().E;
    E.SetSelection({2, 1, 1001, 1000});
    E.PopupMenuClickCopy(nullptr);
    return Clipboard().GetAsText();
  }();
  return Text;
}

void BM_ExtractFromClipboard(benchmark::State& State) {
  TNTabEd& E = *Table1000().E;
  Clipboard().SetAsText(CopiedText());
  for (auto _ : State) {
    E.SetSelection({2, 1, 2, 1});
    E.PopupMenuClickExtClip(nullptr);
  }
  State.counters["MB"] = double(CopiedText().size()) / 1e6;
}
BENCHMARK(BM_ExtractFromClipboard)->Unit(benchmark::kMillisecond);

void BM_Bare_FromChars(benchmark::State& State) {
  std::vector<std::string_view> Tokens;
  const std::string& T = CopiedText();
  for (std::size_t I = 0; I < T.size();) {
    const std::size_t B = T.find_first_not_of(" \t\r\n", I);
    if (B == std::string::npos) break;
    const std::size_t E = std::min(T.find_first_of(" \t\r\n", B), T.size());
    Tokens.push_back(std::string_view(T).substr(B, E - B));
    I = E;
  }
  for (auto _ : State) {
    double Sum = 0;
    for (std::string_view S : Tokens) {
      double V = 0;
      std::from_chars(S.data(), S.data() + S.size(), V);
      Sum += V;
    }
    benchmark::DoNotOptimize(Sum);
  }
}
BENCHMARK(BM_Bare_FromChars)->Unit(benchmark::kMillisecond);

void BM_TableMemory(benchmark::State& State) {
  const long Before = PeakRssKiB();
  double PerCell = 0;
  for (auto _ : State) {
    TDataTable T(nullptr, 1000, 10'000);
    PerCell = double(T.AllocatedBytes()) / 1e7;
    benchmark::DoNotOptimize(T.GetElem(5, 5));
  }
  State.counters["bytes_per_cell"] = PerCell;
  State.counters["peak_rss_MiB"] = double(PeakRssKiB()) / 1024;
  State.counters["peak_rss_growth_MiB"] = double(PeakRssKiB() - Before) / 1024;
  if (PerCell > 10) State.SkipWithError("more than 10 bytes per cell");
}
BENCHMARK(BM_TableMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_Repaint_Large/0", "BM_Repaint_VisibleBlock/0", 1 / 1.2},
       {"BM_Repaint_Large/1", "BM_Repaint_VisibleBlock/1", 1 / 1.2},
       {"BM_Repaint_Large/2", "BM_Repaint_VisibleBlock/2", 1 / 1.2},
       {"BM_AutoColWidth_AllColumns", "BM_Bare_TextsMeasured", 1 / 1.5},
       {"BM_ExtractFromClipboard", "BM_Bare_FromChars", 1 / 3.0}});
}
