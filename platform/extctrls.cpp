#include "kvl/platform/extctrls.h"

#include <algorithm>

#include "kvl/core/kvlbase.h"
#include "kvl/core/pen_brush_keeper.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

// R shrunk by N on every side, never below empty.
TRect Shrunk(TRect R, int N) {
  R = Rect(R.Left + N, R.Top + N, R.Right - N, R.Bottom - N);
  R.Right = std::max(R.Right, R.Left);
  R.Bottom = std::max(R.Bottom, R.Top);
  return R;
}

// A caption at (X, Y) over a clear brush, embossed while the control is disabled.
void DrawCaption(TCanvas& C, const TControl& Owner, int X, int Y) {
  const TPenBrushKeeper Keep(C);
  C.SetFont(Owner.GetFont());
  C.GetBrush().SetStyle(bsClear);
  if (Owner.IsEnabledInTree())
    C.TextOut(X, Y, Owner.GetCaption());
  else
    DrawEmbossedText(C, X, Y, Owner.GetCaption());
}

}  // namespace

// ---- group box

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 105);
}

TRect TCustomGroupBox::GetClientRect() const {
  // The caption's line is as high as the font even while the caption is empty, so that the
  // children do not move when it is set.
  const int Top = GetFontMetrics(GetFont()).Height;
  TRect R = Shrunk(Rect(0, Top, FWidth, FHeight), 2);
  R.Top = std::min(R.Top, R.Bottom);
  return R;
}

void TCustomGroupBox::PaintBorder(TCanvas& C) {
  const TPenBrushKeeper Keep(C);
  C.GetBrush().SetColor(GetColor());
  C.FillRect(Rect(0, 0, FWidth, FHeight));
  const int TextH = GetFontMetrics(GetFont()).Height;
  const int T = TextH / 2, R = FWidth - 1, B = FHeight - 1;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  // Etched: a sunken ring with a raised one inside it.
  DrawEdge(C, clBtnShadow, clBtnHighlight, 0, T, R, B);
  DrawEdge(C, clBtnHighlight, clBtnShadow, 1, T + 1, R - 1, B - 1);
  if (GetCaption().empty()) return;
  C.SetFont(GetFont());
  const int W = C.TextWidth(GetCaption());
  // The caption interrupts the top line with a pixel of the face colour either side.
  C.FillRect(Rect(7, 0, 8 + W + 1, TextH));
  DrawCaption(C, *this, 8, 0);
}

void TCustomGroupBox::FontChanged() {
  TCustomControl::FontChanged();
  AlignControls(-1, -1);
}

// ---- panel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
}

int TCustomPanel::FrameWidth() const {
  return (FBorderStyle == bsSingle ? 2 : 0) + (FBevelOuter != bvNone ? FBevelWidth : 0) +
         FBorderWidth + (FBevelInner != bvNone ? FBevelWidth : 0);
}

TRect TCustomPanel::GetClientRect() const {
  return Shrunk(Rect(0, 0, FWidth, FHeight), FrameWidth());
}

void TCustomPanel::SetBevelWidth(int Value) { Change(FBevelWidth, std::max(Value, 1)); }

void TCustomPanel::SetBorderWidth(int Value) { Change(FBorderWidth, std::max(Value, 0)); }

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (StoreIfChanged(FAlignment, Value)) Invalidate();
}

void TCustomPanel::FrameChanged() {
  AlignControls(-1, -1);
  Invalidate();
}

void TCustomPanel::PaintBorder(TCanvas& C) {
  const TPenBrushKeeper Keep(C);
  C.GetBrush().SetColor(GetColor());
  TRect R = Rect(0, 0, FWidth, FHeight);
  C.FillRect(R);
  if (FBorderStyle == bsSingle) {
    DrawSunkenFrame(C, R);
    R = Shrunk(R, 2);
  }
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  const auto Bevel = [&](TBevelCut Cut) {
    if (Cut == bvNone) return;
    for (int I = 0; I < FBevelWidth && !R.IsEmpty(); ++I) {
      // bvSpace keeps the face colour already filled.
      if (Cut != bvSpace) {
        const bool Raised = Cut == bvRaised;
        DrawEdge(C, Raised ? clBtnHighlight : clBtnShadow, Raised ? clBtnShadow : clBtnHighlight,
                 R.Left, R.Top, R.Right - 1, R.Bottom - 1);
      }
      R = Shrunk(R, 1);
    }
  };
  Bevel(FBevelOuter);
  R = Shrunk(R, FBorderWidth);
  Bevel(FBevelInner);
}

void TCustomPanel::Paint() {
  if (GetCaption().empty()) return;
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const TRect R = GetClientRect();
  const TSize S = C.TextExtent(GetCaption());
  int X = R.Left + (R.Width() - S.cx) / 2;
  if (FAlignment == taLeftJustify) X = R.Left;
  if (FAlignment == taRightJustify) X = R.Right - S.cx;
  DrawCaption(C, *this, X, R.Top + (R.Height() - S.cy) / 2);
}

// ---- bevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value) {
  if (StoreIfChanged(FShape, Value)) Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (StoreIfChanged(FStyle, Value)) Invalidate();
}

void TBevel::Paint() {
  if (FShape == bsSpacer) return;
  TCanvas& C = *GetCanvas();
  const TPenBrushKeeper Keep(C);
  // First the line that catches the shadow (lowered) or the light (raised), then its partner.
  const TColor C1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor C2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const int W = FWidth, H = FHeight;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  const auto Fill = [&](TColor Color, const TRect& R) {
    C.GetBrush().SetColor(Color);
    C.FillRect(R);
  };
  switch (FShape) {
    case bsBox:
      DrawEdge(C, C1, C2, 0, 0, W - 1, H - 1);
      break;
    case bsFrame:
      DrawEdge(C, C2, C2, 1, 1, W - 1, H - 1);
      DrawEdge(C, C1, C1, 0, 0, W - 2, H - 2);
      break;
    case bsTopLine:
      Fill(C1, Rect(0, 0, W, 1));
      Fill(C2, Rect(0, 1, W, 2));
      break;
    case bsBottomLine:
      Fill(C1, Rect(0, H - 2, W, H - 1));
      Fill(C2, Rect(0, H - 1, W, H));
      break;
    case bsLeftLine:
      Fill(C1, Rect(0, 0, 1, H));
      Fill(C2, Rect(1, 0, 2, H));
      break;
    case bsRightLine:
      Fill(C1, Rect(W - 2, 0, W - 1, H));
      Fill(C2, Rect(W - 1, 0, W, H));
      break;
    case bsSpacer:
      break;
  }
}

}  // namespace kvl
