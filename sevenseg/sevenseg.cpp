#include "kvl/sevenseg/sevenseg.h"

#include <algorithm>

#include "kvl/core/drawing.h"
#include "kvl/core/kvlcolors.h"
#include "kvl/core/stringl.h"

namespace kvl {

const std::array<char32_t, SevenSegCharCount> SevenSegCharList = {
    U'0', U'1', U'2',      U'3', U'4', U'5', U'6', U'7', U'8', U'9', U'-',
    U'+', U':', U'\u00B0', U'A', U'B', U'C', U'D', U'E', U'F', U'.'};

namespace {

constexpr int GridWidth = 312, GridHeight = 432;

enum TGlyph { gVert, gHorz, gDot, gPlus, gColon, gDeg };
constexpr const char* GlyphNames[] = {"SEGVERT", "SEGHORZ",  "SEGDOT",
                                      "SEGPLUS", "SEGCOLON", "SEGDEG"};

struct TPlacement {
  TGlyph Glyph;
  int X, Y;
};
// Segments 1 ... 7 on the design grid, then the dot, plus, colon and degree glyphs.
constexpr TPlacement Segments[7] = {{gHorz, 94, 0},   {gVert, 37, 23}, {gVert, 244, 23},
                                    {gHorz, 57, 197}, {gVert, 0, 220}, {gVert, 207, 220},
                                    {gHorz, 20, 394}};
constexpr TPlacement DotAt{gDot, 269, 394}, PlusAt{gPlus, 57, 120}, ColonAt{gColon, 122, 121},
    DegAt{gDeg, 150, 0};

// Lit segments of 0-9, "-", then A-F, as bits 0 (segment 1) to 6 (segment 7).
constexpr std::uint8_t Bits(std::initializer_list<int> Segs) {
  std::uint8_t B = 0;
  for (int S : Segs) B |= std::uint8_t(1 << (S - 1));
  return B;
}
constexpr std::uint8_t DigitSegments[] = {
    Bits({1, 2, 3, 5, 6, 7}), Bits({3, 6}),       Bits({1, 3, 4, 5, 7}),
    Bits({1, 3, 4, 6, 7}),    Bits({2, 3, 4, 6}), Bits({1, 2, 4, 6, 7}),
    Bits({1, 2, 4, 5, 6, 7}), Bits({1, 3, 6}),    Bits({1, 2, 3, 4, 5, 6, 7}),
    Bits({1, 2, 3, 4, 6, 7}), Bits({4})};
constexpr std::uint8_t LetterSegments[] = {Bits({1, 2, 3, 4, 5, 6}), Bits({2, 4, 5, 6, 7}),
                                           Bits({1, 2, 5, 7}),       Bits({3, 4, 5, 6, 7}),
                                           Bits({1, 2, 4, 5, 7}),    Bits({1, 2, 4, 5})};

// Place of a character in the character table, or -1.
int CharIndex(char32_t C) {
  if (C >= U'a' && C <= U'f') C -= U'a' - U'A';
  const auto It = std::find(SevenSegCharList.begin(), SevenSegCharList.end(), C);
  return It == SevenSegCharList.end() ? -1 : int(It - SevenSegCharList.begin());
}

bool IsDotChar(char32_t C) { return C == U'.' || C == U','; }

}  // namespace

TSevenSeg::TSevenSeg(TComponent* AOwner) : TGraphicControl(AOwner) {
  for (std::size_t I = 0; I < FGlyphs.size(); ++I) {
    FGlyphs[I].LoadFromResourceName(GlyphNames[I]);
    // The glyphs are drawn in black and white but carry the segment colour from now on.
    FGlyphs[I].SetPixelFormat(pf32bit);
  }
  FGrid.SetSize(GridWidth, GridHeight);
  SetCaption("8.8.8.8.");
  SetBounds(0, 0, 216, 76);  // builds the cache through the resize handler
}

void TSevenSeg::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TSevenSeg*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TSevenSeg::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TSevenSeg*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FColorBackGnd = S->FColorBackGnd;
  FColorText = S->FColorText;
  FNumDigits = S->FNumDigits;
  FFrameStyle = S->FFrameStyle;
  FColShadow = S->FColShadow;
  FColLight = S->FColLight;
  FColorScheme = S->FColorScheme;
  FMargin = S->FMargin;
  FInterDigDist = S->FInterDigDist;
  SetText(S->GetText());
  Rebuild();
}

void TSevenSeg::SetNumDigits(int N) {
  if (N < 1 || N > 32 || N == FNumDigits) return;
  FNumDigits = N;
  Rebuild();
}

void TSevenSeg::SetColorText(TColor C) {
  if (C == FColorText) return;
  FColorText = C;
  Rebuild();
}

void TSevenSeg::SetColorBackGnd(TColor C) {
  if (C == FColorBackGnd) return;
  FColorBackGnd = C;
  Rebuild();
}

void TSevenSeg::SetMargin(int M) {
  if (M == FMargin) return;
  FMargin = std::max(std::min(M, GetHeight() / 2 - 1), 0);
  Rebuild();
}

void TSevenSeg::SetInterDigDist(int D) {
  if (D == FInterDigDist) return;
  FInterDigDist = std::clamp(D, 0, 255);
  Rebuild();
}

void TSevenSeg::SetFrameStyle(TFrameStyle S) {
  FFrameStyle = FrameStyleFromByte(S);
  Invalidate();
}

void TSevenSeg::SetColorScheme(TColorScheme S) {
  FColorScheme = S;
  const TSchemeColors C = ColorSchemeColors(S);
  FColShadow = C.Shadow;
  FColLight = C.Light;
}

void TSevenSeg::Resize() {
  if (FCacheSize != TSize{GetWidth(), GetHeight()}) Rebuild();
  TGraphicControl::Resize();
}

void TSevenSeg::Rebuild() {
  CreateImageCache();
  Paint();
}

void TSevenSeg::ColorizeSegments(TColor Color) {
  // Lit segments must never be pure white: white is the background of the design grid.
  std::uint32_t Pixel = ColorToPixel(ColorToRGB(Color));
  if (Pixel == 0xFFFFFF) Pixel = 0xFEFEFE;
  for (TBitmap& G : FGlyphs)
    for (int Y = 0; Y < G.GetHeight(); ++Y) {
      std::uint32_t* Row = G.ScanLine(Y);
      for (int X = 0; X < G.GetWidth(); ++X)
        if ((Row[X] & 0xFFFFFF) != 0xFFFFFF) Row[X] = Pixel;
    }
}

void TSevenSeg::CreateDigit(char32_t C, bool Dot) {
  TCanvas& G = *FGrid.GetCanvas();
  G.SetCopyMode(cmSrcCopy);
  G.GetBrush().SetColor(clWhite);
  G.FillRect(Rect(0, 0, GridWidth, GridHeight));
  // Overlapping glyph edges combine: AND keeps every coloured pixel of each.
  G.SetCopyMode(cmSrcAnd);
  const auto Put = [&](const TPlacement& P) { G.Draw(P.X, P.Y, FGlyphs[P.Glyph]); };
  const int K = CharIndex(C);
  std::uint8_t Lit = 0;
  if (K >= 0 && K <= 10) Lit = DigitSegments[K];
  if (K >= 14 && K <= 19) Lit = LetterSegments[K - 14];
  for (int S = 0; S < 7; ++S)
    if (Lit & (1 << S)) Put(Segments[S]);
  if (C == U'+') Put(PlusAt);
  if (C == U':') Put(ColonAt);
  if (C == U'\u00B0') Put(DegAt);
  if (Dot || IsDotChar(C)) Put(DotAt);
  G.SetCopyMode(cmSrcCopy);
  // Every pixel no glyph covers is background, enclosed areas (inside a ring) included.
  const std::uint32_t Back = ColorToPixel(ColorToRGB(FColorBackGnd));
  for (int Y = 0; Y < GridHeight; ++Y) {
    std::uint32_t* Row = FGrid.ScanLine(Y);
    for (int X = 0; X < GridWidth; ++X)
      if ((Row[X] & 0xFFFFFF) == 0xFFFFFF) Row[X] = Back;
  }
}

int TSevenSeg::CellWidth() const { return (GetWidth() - 2 * FMargin) / FNumDigits - FInterDigDist; }

void TSevenSeg::CreateImageCache() {
  ++FCacheBuilds;
  FCacheSize = {GetWidth(), GetHeight()};
  const int Cw = CellWidth(), Hc = GetHeight() - 2 * FMargin;
  // Too small for a digit: the display shows only its background and frame.
  if (Cw <= 0 || Hc <= 0) {
    FCache.SetSize(0, 0);
    return;
  }
  FCache.SetSize(SevenSegCharCount * Cw, Hc);
  TCanvas& C = *FCache.GetCanvas();
  C.GetBrush().SetColor(FColorBackGnd);
  C.FillRect(Rect(0, 0, FCache.GetWidth(), Hc));
  ColorizeSegments(FColorText);
  C.SetStretchMode(smHalftone);
  for (int K = 0; K < SevenSegCharCount; ++K) {
    CreateDigit(SevenSegCharList[std::size_t(K)], false);
    C.StretchDraw(Rect(K * Cw, 0, (K + 1) * Cw, Hc), FGrid);
  }
}

void TSevenSeg::Paint() {
  if (!GetVisible() && !IsDesigning()) return;
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  TCanvas& C = *FOffscreen.GetCanvas();
  C.GetBrush().SetColor(FColorBackGnd);
  C.FillRect(Rect(0, 0, W, H));
  const int Cw = CellWidth(), Hc = FCache.GetHeight();
  if (!FCache.Empty() && Cw == FCache.GetWidth() / SevenSegCharCount) {
    TCanvas& Cache = *FCache.GetCanvas();
    const std::string& Text = GetText();
    std::size_t I = 0;
    int J = 0;
    while (J < FNumDigits && I < Text.size()) {
      int Len = 1;
      const char32_t Ch = Utf8Decode(Text, I, &Len);
      I += std::size_t(std::max(Len, 1));
      ++J;
      bool Dot = false;
      int K = -1;
      if (IsDotChar(Ch)) {
        Dot = true;
      } else {
        K = CharIndex(Ch);
        if (I < Text.size() && IsDotChar(char32_t(Text[I]))) {
          Dot = true;
          ++I;
        }
      }
      const int X0 = (J - 1) * (Cw + FInterDigDist) + FMargin;
      if (K >= 0)
        C.CopyRect(Rect(X0, FMargin, X0 + Cw, H - FMargin), Cache,
                   Rect(K * Cw, 0, (K + 1) * Cw, Hc));
      if (Dot)
        C.CopyRect(Rect(X0 + 5 * Cw / 6, 5 * Hc / 6 + FMargin, X0 + Cw, H - FMargin), Cache,
                   Rect(5 * Cw / 6 + 20 * Cw, 5 * Hc / 6, 21 * Cw, Hc));
    }
  }
  DrawFrame(C, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
  GetCanvas()->Draw(0, 0, FOffscreen);
}

}  // namespace kvl
