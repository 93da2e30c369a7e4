// TNumLab painting: side texts, the framed box and the number, drawn into an off-screen bitmap
// and copied to the control in one go (or combined with what lies beneath when transparent).
#include "kvl/core/drawing.h"
#include "kvl/numlab/numlab.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {

// The sample whose height is the full text height of a font.
constexpr std::string_view SampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

// Space the box keeps free around its text before the overflow indicator takes over.
constexpr int BoxTextMargin = 6;

}  // namespace

void TNumLab::Paint() {
  if (FPainting || !IsPaintable()) return;
  const TScopedValue<bool> Painting(FPainting, true);
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  if (FOffscreen.Empty()) return;
  TCanvas& C = *FOffscreen.GetCanvas();
  C.SetFont(GetFont());
  // The transparent picture is combined with the parent by AND: grey antialiased edges would
  // turn into coloured fringes there, so its texts are drawn in two colours.
  if (FTransparent) C.GetFont().SetQuality(fqNonAntialiased);
  // White lets the parent through when the picture is combined with it.
  C.GetBrush().SetColor(FTransparent ? clWhite : FColorOutBakG);
  C.FillRect(Rect(0, 0, W, H));
  const int Y0 = (H - C.TextHeight(SampleText)) / 2;
  PaintSideTexts(C, Y0);
  PaintBox(C);
  if (!FEmpty) PaintNumber(C, Y0);
  Output();
}

void TNumLab::PaintSideTexts(TCanvas& C, int Y0) {
  const int W = GetWidth(), L = FLeftSpace, B = FLabelWidth;
  const bool Enabled = IsEnabledInTree();
  // The cell is not filled: the background is there already, and a transparent label must
  // keep it white.
  C.GetBrush().SetStyle(bsClear);
  const auto Label = [&](const std::string& Text, int X, int ShadowX) {
    if (Text.empty()) return;
    if (!Enabled) {
      C.GetFont().SetColor(clWhite);
      C.TextOut(ShadowX, Y0 + 1, Text);
    }
    C.GetFont().SetColor(Enabled ? FColorOutText : clGray);
    C.TextOut(X, Y0, Text);
  };
  const int Lw = C.TextWidth(FLeftText);
  switch (FLeftTextAlignment) {
    case taLeftJustify:
      Label(FLeftText, 7, 8);
      break;
    case taRightJustify:
      Label(FLeftText, L - Lw - 5, L - Lw - 4);
      break;
    default:
      Label(FLeftText, (L - Lw) / 2, (L - Lw) / 2 + 1);
      break;
  }
  const int Rw = C.TextWidth(FRightText);
  int X;
  switch (FRightTextAlignment) {
    case taLeftJustify:
      X = L + B + 7;
      break;
    case taRightJustify:
      X = W - Rw - 6;
      break;
    default:
      X = (W - (L + B + Rw)) / 2 + L + B + 1;
      break;
  }
  // The disabled shadow lies one pixel down and one right of the text, but one left of
  // right-aligned text.
  Label(FRightText, X, FRightTextAlignment == taRightJustify ? X - 1 : X + 1);
}

void TNumLab::PaintBox(TCanvas& C) {
  const int H = GetHeight(), L = FLeftSpace, B = FLabelWidth;
  // The fixed scheme gives exactly the classic frame colours; the system scheme puts its own
  // light and shadow in their place.
  DrawFrame(C, FFrameStyle, L + 1, 0, L + B, H - 2, FColLight, clSilver, FColShadow, FColDark,
            FColDark);
}

std::string TNumLab::ShownText(TCanvas& C) {
  std::string Text = NumLabText(FValue, TextForm()).value_or(FOverflowIndicator);
  if (OnBeforeDisplay) OnBeforeDisplay(this, Text);
  if (FDisplayType != dtState && C.TextWidth(Text) > FLabelWidth - BoxTextMargin)
    Text = FOverflowIndicator;
  return Text;
}

void TNumLab::PaintNumber(TCanvas& C, int Y0) {
  const int H = GetHeight(), L = FLeftSpace, B = FLabelWidth;
  const std::string Text = ShownText(C);
  C.GetBrush().SetColor(FColorLabBakG);
  C.GetFont().SetColor(IsEnabledInTree() ? FColorLabText : clBtnShadow);
  const int Wt = C.TextWidth(Text);
  int X;
  switch (FAlignment) {
    case taLeftJustify:
      X = L + 4;
      break;
    case taRightJustify:
      X = L + B - Wt - 2;
      break;
    default:
      X = L + (B - Wt) / 2 + 2;
      break;
  }
  const TRect Clip = Rect(L + 3, 2, L + B - 1, H - 3);
  if (!Clip.IsEmpty()) C.TextRect(Clip, X, Y0, Text);
}

void TNumLab::Output() {
  TCanvas& C = *GetCanvas();
  if (!FTransparent) {
    C.Draw(0, 0, FOffscreen);
    return;
  }
  const int H = GetHeight(), L = FLeftSpace, B = FLabelWidth;
  const TBrush KeptBrush = C.GetBrush();
  C.GetBrush().SetColor(FColorLabText != clBlack ? clWhite : FColorLabBakG);
  C.FillRect(Rect(L + 2, 2, L + B, H - 2));
  C.SetBrush(KeptBrush);
  C.SetCopyMode(cmSrcAnd);
  C.Draw(0, 0, FOffscreen);
  C.SetCopyMode(cmSrcCopy);
}

}  // namespace kvl
