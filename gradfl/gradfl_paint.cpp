// TGradFill painting: the bands, the grid and the frame, rendered into an off-screen bitmap
// that stays valid until a setting or the size changes.
#include <algorithm>

#include "kvl/core/drawing.h"
#include "kvl/gradfl/gradfl.h"

namespace kvl {

namespace {

// Colour of band K of N running from First towards Last. The plain course stops one step short
// of Last; the mid-band course reaches Last at band N div 2 and falls back after it.
TColor BandColor(TColor First, TColor Last, int K, int N, bool MidBand) {
  if (N <= 1) return First;
  int Num = K, Den = N;
  if (MidBand) {
    Den = N / 2;
    Num = K <= Den ? K : N - K - 1;
  }
  const auto Step = [&](std::uint8_t C0, std::uint8_t C1) {
    return std::uint8_t(C0 + MulDiv(Num, int(C1) - int(C0), Den));
  };
  return RGBColor(Step(GetRValue(First), GetRValue(Last)), Step(GetGValue(First), GetGValue(Last)),
                  Step(GetBValue(First), GetBValue(Last)));
}

bool HorizontalBands(TGradType T) { return T == gtHoriz || T == gtMidBandHoriz; }

}  // namespace

void TGradFill::Paint() {
  const int W = GetWidth(), H = GetHeight();
  if (FStale || FOffscreen.GetWidth() != W || FOffscreen.GetHeight() != H) Render();
  if (!FOffscreen.Empty()) {
    TCanvas& C = *GetCanvas();
    C.SetCopyMode(cmSrcCopy);
    C.Draw(0, 0, FOffscreen);
  }
  if (OnPaint) OnPaint(this);
}

void TGradFill::Render() {
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  FStale = false;
  // A 0 x 0 layout pass has nothing to draw.
  if (FOffscreen.Empty()) return;
  TCanvas& C = *FOffscreen.GetCanvas();
  RenderBands(C, W, H);
  if (FGridMode != gmNone) RenderGrid(C, W, H);
  DrawFrame(C, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

void TGradFill::RenderBands(TCanvas& C, int W, int H) {
  const TColor First = ColorToRGB(FColorFirst), Last = ColorToRGB(FColorLast);
  const bool Horiz = HorizontalBands(FFillType);
  const bool MidBand = FFillType == gtMidBandHoriz || FFillType == gtMidBandVert;
  const int N = FNrColors, Length = Horiz ? H : W;
  C.GetBrush().SetStyle(bsSolid);
  for (int K = 0; K < N; ++K) {
    const int From = MulDiv(K, Length, N), To = MulDiv(K + 1, Length, N);
    // More bands than pixels leaves some bands empty.
    if (From >= To) continue;
    C.GetBrush().SetColor(BandColor(First, Last, K, N, MidBand));
    C.FillRect(Horiz ? Rect(0, From, W, To) : Rect(From, 0, To, 1));
  }
  // Vertical bands: the first row is complete, and copying it to every other row is far
  // cheaper than one short fill per band and row.
  if (!Horiz) {
    TBitmap& B = *C.GetBitmap();
    for (int Y = 1; Y < H; ++Y) std::copy_n(B.ScanLine(0), W, B.ScanLine(Y));
  }
}

// Lines lie at k * size / N for k = 1 .. N-1 in either direction: on the first pixel row (or
// column) of each band after the first across the bands, and at the same spacing along them,
// so that gmBoth gives N x N cells.
void TGradFill::RenderGrid(TCanvas& C, int W, int H) {
  const int N = FNrColors;
  C.GetBrush().SetStyle(bsSolid);
  C.GetBrush().SetColor(FGridColor);
  for (int K = 1; K < N; ++K) {
    if (FGridMode == gmHoriz || FGridMode == gmBoth) {
      const int Y = MulDiv(K, H, N);
      C.FillRect(Rect(0, Y, W, Y + 1));
    }
    if (FGridMode == gmVert || FGridMode == gmBoth) {
      const int X = MulDiv(K, W, N);
      C.FillRect(Rect(X, 0, X + 1, H));
    }
  }
}

}  // namespace kvl
