#include <algorithm>
#include <utility>
#include <vector>
#include <string_view>

#include "kvl/core/drawing.h"
#include "kvl/onoffbut/onoffbut.h"

namespace kvl {

namespace {

// Measures the full height of the font.
constexpr std::string_view SampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

}  // namespace

void TOnOffBut::PaintCaptions(TCanvas& Bmp, TCanvas& Mask, bool Enabled) {
  const int TH = Bmp.TextHeight(SampleText);
  const int LS = FLeftSpace, TS = FTopSpace, GW = FGlyphWidth, GH = FGlyphHeight;
  const int W = GetWidth();
  const auto Place = [&](const std::string& Text, TAlignment Align, int Y, int XL, int XR,
                         int XC) {
    if (Text.empty()) return;
    const int X = Align == taLeftJustify ? XL : Align == taRightJustify ? XR : XC;
    // The text cell with the engraved copy, and room for ink beyond the advance.
    FContent.push_back(Rect(X - 2, Y, X + Bmp.TextWidth(Text) + TH / 2 + 2, Y + TH + 1));
    if (Enabled) {
      Bmp.GetFont().SetColor(FColorTxt);
      Bmp.TextOut(X, Y, Text);
      if (FTransParent) Mask.TextOut(X, Y, Text);
      return;
    }
    // Engraved: a white copy one pixel right and down under the grey one; the mask takes both.
    Bmp.GetFont().SetColor(clWhite);
    Bmp.TextOut(X + 1, Y + 1, Text);
    Bmp.GetFont().SetColor(clGray);
    Bmp.TextOut(X, Y, Text);
    if (!FTransParent) return;
    Mask.TextOut(X + 1, Y + 1, Text);
    Mask.TextOut(X, Y, Text);
  };
  const int YMid = TS + (GH - TH) / 2;
  int TW = Bmp.TextWidth(FLeftText);
  Place(FLeftText, FLTAlignment, YMid, 4, LS - TW - 3, (LS - TW) / 2);
  TW = Bmp.TextWidth(FRightText);
  Place(FRightText, FRTAlignment, YMid, LS + GW + 4, W - TW - 4,
        (W - TW - LS - GW) / 2 + LS + GW + 1);
  TW = Bmp.TextWidth(FTopText);
  Place(FTopText, FTTAlignment, TS - TH - 4, 4, W - TW - 4, LS + (GW - TW) / 2);
  TW = Bmp.TextWidth(FBottomText);
  Place(FBottomText, FBTAlignment, TS + GH + 4, 4, W - TW - 4, LS + (GW - TW) / 2);
}

// The glyph goes to (LS + 1, TS + 1) at its own size, cut to the bitmap: a glyph larger than
// the control, or spaces up to the control's size, must not reach outside it. Key pixels take
// the background (black when transparent); every other pixel is content in the mask.
void TOnOffBut::PaintGlyph(bool Enabled) {
  const TBitmap& G = FButImg[Index(FOnOff, Enabled)];
  const std::int64_t X0 = std::int64_t(FLeftSpace) + 1, Y0 = std::int64_t(FTopSpace) + 1;
  const std::int64_t Left = std::max<std::int64_t>(X0, 0),
                     Top = std::max<std::int64_t>(Y0, 0),
                     Right = std::min<std::int64_t>(X0 + G.GetWidth(), FBitmap.GetWidth()),
                     Bottom = std::min<std::int64_t>(Y0 + G.GetHeight(), FBitmap.GetHeight());
  if (Left >= Right || Top >= Bottom) return;
  FContent.push_back(Rect(int(Left), int(Top), int(Right), int(Bottom)));
  const std::uint32_t Back =
      FTransParent ? 0 : ColorToPixel(ColorToRGB(FColorBakG));
  const std::uint32_t Key = ColorToPixel(OnOffGlyphKey);
  for (std::int64_t Y = Top; Y < Bottom; ++Y) {
    const std::uint32_t* Src = G.ScanLine(int(Y - Y0)) + (Left - X0);
    std::uint32_t* Dst = FBitmap.ScanLine(int(Y)) + Left;
    std::uint32_t* M = FTransParent ? FMask.ScanLine(int(Y)) + Left : nullptr;
    for (std::int64_t I = 0; I < Right - Left; ++I) {
      const std::uint32_t P = Src[I] & 0xFFFFFF;
      Dst[I] = P == Key ? Back : P;
    }
    if (FTransParent)
      for (std::int64_t I = 0; I < Right - Left; ++I) M[I] = (Src[I] & 0xFFFFFF) == Key ? 0xFFFFFF : 0;
  }
}

// Each pixel goes through the mask exactly once: a grey (blending) mask pixel applied twice
// would blend twice, so overlapping parts are merged row by row.
void TOnOffBut::PutTransparent() {
  TCanvas& C = *GetCanvas();
  std::vector<std::pair<int, int>> Spans;
  for (int Y = 0; Y < FBitmap.GetHeight(); ++Y) {
    Spans.clear();
    for (const TRect& R : FContent)
      if (Y >= R.Top && Y < R.Bottom) Spans.push_back({R.Left, R.Right});
    std::sort(Spans.begin(), Spans.end());
    for (std::size_t I = 0; I < Spans.size();) {
      int L = Spans[I].first, Rt = Spans[I].second;
      for (++I; I < Spans.size() && Spans[I].first <= Rt; ++I) Rt = std::max(Rt, Spans[I].second);
      C.MaskedDraw(0, 0, FBitmap, FMask, Rect(L, Y, Rt, Y + 1));
    }
  }
}

void TOnOffBut::Paint() {
  if (!GetVisible() && !IsDesigning()) return;
  const int W = GetWidth(), H = GetHeight();
  // The mask is read only by the transparent output: an opaque button leaves it alone.
  FBitmap.SetSize(W, H);
  FMask.SetSize(FTransParent ? W : 0, FTransParent ? H : 0);
  TCanvas& B = *FBitmap.GetCanvas();
  TCanvas& M = *FMask.GetCanvas();
  B.SetFont(GetFont());
  M.SetFont(GetFont());
  M.GetBrush().SetStyle(bsSolid);
  M.GetBrush().SetColor(clWhite);
  M.FillRect(Rect(0, 0, W, H));
  M.GetFont().SetColor(clBlack);
  const TColor Fill = FTransParent ? clBlack : FColorBakG;
  B.GetPen().SetColor(Fill);
  B.GetBrush().SetStyle(bsSolid);
  B.GetBrush().SetColor(Fill);
  B.FillRect(Rect(0, 0, W, H));
  // Captions over what is already there: the background, or white in the mask.
  B.GetBrush().SetStyle(bsClear);
  M.GetBrush().SetStyle(bsClear);
  const bool Enabled = IsEnabledInTree();
  FContent.clear();
  PaintCaptions(B, M, Enabled);
  PaintGlyph(Enabled);
  DrawFrame(B, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
  if (FTransParent) {
    DrawFrame(M, FFrameStyle, 0, 0, W - 1, H - 1, clBlack, clBlack, clBlack, clBlack, clBlack);
    if (FFrameStyle != fsNone)
      for (const TRect& R : {Rect(0, 0, W, 2), Rect(0, H - 2, W, H), Rect(0, 0, 2, H),
                             Rect(W - 2, 0, W, H)})
        FContent.push_back(R);
    PutTransparent();
  } else {
    GetCanvas()->Draw(0, 0, FBitmap);
  }
}

}  // namespace kvl
