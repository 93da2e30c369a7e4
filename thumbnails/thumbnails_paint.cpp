// TThumbnails painting: the cards of the visible slides, drawn into an off-screen bitmap with
// the host's answers, and the focus rectangle drawn directly on the control.
#include <algorithm>
#include <cmath>
#include <string>

#include "kvl/core/drawing.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/thumbnails/thumbnails.h"

namespace kvl {

void TThumbnails::Paint() {
  // Not re-entrant: a handler that changes a property gets no nested paint.
  if (FIsWorking || !IsPaintable()) return;
  const TScopedValue<bool> Working(FIsWorking, true);
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  TCanvas& C = *FOffscreen.GetCanvas();
  C.SetFont(GetFont());
  C.GetPen().SetWidth(1);
  C.GetPen().SetColor(FColorBG);
  C.GetBrush().SetColor(FColorBG);
  C.Rectangle(0, 0, W, H);

  const std::int64_t P = Pitch();
  const int N = int(std::max<std::int64_t>((W + FSLideDist - 20) / P, 1));
  if (N != FNumSldX) {
    FNumSldX = N;
    StorePosition(FFirstThumbIx);
  }
  // Enough rows to reach the bottom band also while the rows are moved up by part of a row.
  const std::int64_t D = ScrollOffset();
  const std::int64_t Reach = std::int64_t(H) - 20 - FSLideDist + D;
  const std::int64_t Rows = std::max<std::int64_t>(H / P + 1, Reach > 0 ? (Reach - 1) / P + 1 : 0);
  FNumSldY = int(std::min<std::int64_t>(Rows, INT_MAX));

  if (OnFirstImageRequest) OnFirstImageRequest(this);
  // Freed when the paint ends, also by an exception from a handler.
  auto Scratch = std::make_unique<TBitmap>();
  const std::int64_t First = std::int64_t(std::trunc(FFirstThumbIx));
  for (int I = 1; I <= N; ++I)
    for (std::int64_t J = 1; J <= Rows; ++J) {
      const std::int64_t Sld = First + (J - 1) * N + I - 1;
      if (!InRange(Sld)) continue;
      const int X1 = int((I - 1) * P + 10);
      const int Y1 = int((J - 1) * P + FSLideDist - D + 10);
      PaintCard(C, int(Sld), X1, Y1, Scratch);
    }
  if (OnLastImageRequest) OnLastImageRequest(this);
  Scratch.reset();

  C.GetPen().SetColor(FColorBG);
  C.GetBrush().SetColor(FColorBG);
  C.Rectangle(0, 0, W, 10);
  C.Rectangle(0, H - 10, W, H);
  DrawFrame(C, FFrameStyle, 0, 0, W - 2, H - 2, clWhite, clSilver, clGray, clBlack, clBlack);
  TCanvas& Screen = *GetCanvas();
  Screen.SetCopyMode(cmSrcCopy);
  Screen.Draw(0, 0, FOffscreen);
}

void TThumbnails::PaintCard(TCanvas& C, int SldNum, int X1, int Y1,
                            std::unique_ptr<TBitmap>& Buffer) {
  const int S = CardSide(), M = FSlideMargin, Size = FThumbBaseSize;
  const int X2 = X1 + S, Y2 = Y1 + S;
  TImageRequestProcessing How = irpShowEmpty;
  int Mark = -1;
  if (OnImageRequest) OnImageRequest(this, SldNum, How, Mark, Buffer);
  if (How != irpShowNothing) {
    const TColor Card = GetSelectedSlide(SldNum) ? FColorSelected : FColorCover;
    C.GetPen().SetColor(Card);
    C.GetBrush().SetColor(Card);
    C.Rectangle(X1, Y1, X2 + 1, Y2 + 1);
    DrawFrame(C, FOuterFrameStyle, X1, Y1, X2, Y2, clWhite, clSilver, clGray, clBlack, clBlack);
  }
  C.GetPen().SetColor(clBlack);
  if (How == irpShowEmpty) {
    C.GetBrush().SetColor(clWhite);
    C.Rectangle(X1 + M, Y1 + M + 20, X2 - M, Y2 - M - 20);
    const std::string Number = std::to_string(SldNum);
    C.GetFont().SetColor(clBlack);
    C.TextOut((X1 + X2) / 2 - C.TextWidth(Number) / 2, (Y1 + Y2) / 2 - C.TextHeight(Number) / 2,
              Number);
  } else if (How == irpShowSlide && Buffer && !Buffer->Empty()) {
    // Fitted into the picture square with its aspect kept; a sliver keeps one pixel.
    const double Bw = Buffer->GetWidth(), Bh = Buffer->GetHeight();
    TRect Target;
    if (Bw < Bh) {
      const int Wd = std::max(int(std::nearbyint(Bw * Size / Bh)), 1);
      const int L = X1 + M + (Size - Wd) / 2;
      Target = Rect(L, Y1 + M, L + Wd, Y2 - M);
    } else {
      const int Ht = std::max(int(std::nearbyint(Bh * Size / Bw)), 1);
      const int T = Y1 + M + (Size - Ht) / 2;
      Target = Rect(X1 + M, T, X2 - M, T + Ht);
    }
    const TStretchMode Kept = C.GetStretchMode();
    C.SetStretchMode(smHalftone);
    C.StretchDraw(Target, *Buffer);
    C.SetStretchMode(Kept);
    DrawFrame(C, FInnerFrameStyle, Target.Left, Target.Top, Target.Right, Target.Bottom, clWhite,
              clSilver, clGray, clBlack, clBlack);
  }
  // Only the known markers are drawn: cutting a number to a byte would pick an unrelated one.
  if (Mark >= 0 && Mark < NumMarkers) {
    C.GetPen().SetColor(FMarkColor);
    DrawMarkOnCanvas(C, Mark, X1 + 10, Y1 + 12);
  }
  if (OnSlideRendered) OnSlideRendered(this, C, X1, Y1, SldNum);
}

void TThumbnails::HiLite(int SldNum) { DrawFocusOutline(SldNum, FColorHilite); }

void TThumbnails::ResetLastHiLite() {
  DrawFocusOutline(FLastHiLite, GetSelectedSlide(FLastHiLite) ? FColorSelected : FColorCover);
}

// Nested outlines, FocusLinewidth of them, inside the card; then the bands at the top and the
// bottom are filled again, since an outline may reach into them.
void TThumbnails::DrawFocusOutline(int SldNum, TColor Color) {
  if (!InRange(SldNum) || FHiliteThickness <= 0 || !IsPaintable()) return;
  const int W = GetWidth(), H = GetHeight(), S = CardSide();
  int X, Y;
  CalcSlidePos(SldNum, X, Y);
  // A slide scrolled far away has no outline on the control.
  if (X > W || Y > H || std::int64_t(X) + S < 0 || std::int64_t(Y) + S < 0) return;
  const int X1 = X + 2, Y1 = std::max(Y + 2, 2), X2 = X + S - 2, Y2 = std::min(Y + S - 2, H - 3);
  TCanvas& C = *GetCanvas();
  const TPen KeptPen = C.GetPen();
  const TBrush KeptBrush = C.GetBrush();
  C.GetPen().SetWidth(1);
  C.GetPen().SetColor(Color);
  for (int I = 1; I <= FHiliteThickness; ++I)
    DrawRectangle(C, X1 + I - 1, Y1 + I - 1, X2 - I + 1, Y2 - I + 1);
  C.GetPen().SetColor(FColorBG);
  C.GetBrush().SetColor(FColorBG);
  C.Rectangle(2, 2, W - 2, 10);
  C.Rectangle(2, H - 10, W - 2, H - 2);
  C.SetPen(KeptPen);
  C.SetBrush(KeptBrush);
}

}  // namespace kvl
