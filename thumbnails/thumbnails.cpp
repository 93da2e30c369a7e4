// TThumbnails: construction, the property setters, the selection, the geometry of cards and
// the mouse.
#include "kvl/thumbnails/thumbnails.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "kvl/core/kvlcolors.h"

namespace kvl {

namespace {

// Integer division and remainder rounding toward minus infinity.
std::int64_t FloorDiv(std::int64_t A, std::int64_t B) {
  const std::int64_t Q = A / B;
  return (A % B != 0 && (A < 0) != (B < 0)) ? Q - 1 : Q;
}

int ClampToInt(std::int64_t V) { return int(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); }

}  // namespace

TThumbnails::TThumbnails(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 260, 400);
  FSelectedSlide.SetSize(FMax - FMin + 1);
}

// Setters repaint at once, so the new look is on screen when they return.
void TThumbnails::Changed() { Paint(); }

void TThumbnails::ResizeSelection(int Lo, int Hi) {
  try {
    FSelectedSlide.SetSize(int(std::int64_t(Hi) - Lo + 1));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  }
}

void TThumbnails::SetMin(int V) {
  V = std::max(V, 1);
  if (V > FMax || V == FMin) return;
  ResizeSelection(V, FMax);
  FMin = V;
  FSelectedSlide.Clear();
  StorePosition(FFirstThumbIx);
  Changed();
}

void TThumbnails::SetMax(int V) {
  V = std::max(V, FMin);
  if (V == FMax) return;
  ResizeSelection(FMin, V);
  FMax = V;
  StorePosition(FFirstThumbIx);
  Changed();
}

void TThumbnails::SetSlideSize(int V) {
  // A control of width 0 would make the pitch 0, and the pitch divides.
  V = std::max(std::min(std::max(V, 50), GetWidth()), 1);
  if (StoreIfChanged(FThumbBaseSize, V)) Changed();
}

void TThumbnails::SetSlideDistance(int V) {
  if (StoreIfChanged(FSLideDist, std::clamp(V, 0, 100))) Changed();
}

void TThumbnails::SetSlideMargin(int V) {
  if (StoreIfChanged(FSlideMargin, std::clamp(V, 0, 100))) Changed();
}

void TThumbnails::SetSlideSelectMode(TSlideSelectMode V) {
  if (V > ssmMultiple) V = ssmSingle;
  if (!StoreIfChanged(FSelectMode, V)) return;
  FSelectedSlide.Clear();
  Changed();
}

void TThumbnails::SetFocusLinewidth(int V) {
  if (StoreIfChanged(FHiliteThickness, std::clamp(V, 0, 10))) Changed();
}

#define KVL_THUMBNAILS_SETTER(Name, Type, Field) \
  void TThumbnails::Set##Name(Type V) {          \
    if (StoreIfChanged(Field, V)) Changed();     \
  }
KVL_THUMBNAILS_SETTER(ColorBackGnd, TColor, FColorBG)
KVL_THUMBNAILS_SETTER(ColorCover, TColor, FColorCover)
KVL_THUMBNAILS_SETTER(ColorSelected, TColor, FColorSelected)
KVL_THUMBNAILS_SETTER(ColorFocus, TColor, FColorHilite)
KVL_THUMBNAILS_SETTER(ColorMark, TColor, FMarkColor)
#undef KVL_THUMBNAILS_SETTER

void TThumbnails::SetFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(V))) Changed();
}

void TThumbnails::SetOuterFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FOuterFrameStyle, FrameStyleFromByte(V))) Changed();
}

void TThumbnails::SetInnerFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FInnerFrameStyle, FrameStyleFromByte(V))) Changed();
}

void TThumbnails::SetColorScheme(TColorScheme V) {
  if (!StoreIfChanged(FColorScheme, V)) return;
  const TSchemeColors S = ColorSchemeColors(V);
  FColGrayLine = S.Shadow;
  FColWhiteLine = S.Light;
  FColBlackLine = clBlack;
  Changed();
}

// The position moves to the first slide of x's row plus the part of the row that x lies into:
// one row is N slides of position.
void TThumbnails::SetFirstThumbIx(double X) {
  if (StorePosition(X)) Changed();
}

bool TThumbnails::StorePosition(double X) {
  if (std::isnan(X)) X = FMin;
  X = std::clamp(X, double(FMin), double(FMax));
  const std::int64_t N = FNumSldX;
  const std::int64_t RowStart = N * (std::int64_t(std::trunc(X - 1)) / N) + 1;
  const double Pos = double(RowStart) + (X - double(RowStart)) / double(N);
  return StoreIfChanged(FFirstThumbIx, Pos);
}

bool TThumbnails::GetSelectedSlide(int SldNum) const {
  return InRange(SldNum) && FSelectedSlide.GetBit(int(std::int64_t(SldNum) - FMin));
}

void TThumbnails::SetSelectedSlide(int SldNum, bool Value) {
  if (!InRange(SldNum)) return;
  FSelectedSlide.SetBit(int(std::int64_t(SldNum) - FMin), Value);
  Changed();
}

void TThumbnails::SetSelectedRange(int First, int Last, bool Value) {
  if (First > Last) std::swap(First, Last);
  if (Last < FMin || First > FMax) return;
  First = std::max(First, FMin);
  Last = std::min(Last, FMax);
  FSelectedSlide.SetRange(First - FMin, Last - FMin, Value);
  Changed();
}

void TThumbnails::ResetAllSelections() {
  FSelectedSlide.Clear();
  Changed();
}

int TThumbnails::FirstSelectedSlide() const { return FSelectedSlide.FirstTrueBit() + FMin; }

int TThumbnails::NextSelectedSlide(int After) const {
  const std::int64_t Bit = std::max<std::int64_t>(std::int64_t(After) - FMin, -1);
  if (Bit >= FSelectedSlide.GetSize()) return FMin - 1;
  return FSelectedSlide.NextTrueBit(int(Bit)) + FMin;
}

int TThumbnails::ScrollOffset() const {
  const double F = FFirstThumbIx;
  return int(std::nearbyint((F - std::trunc(F)) * Pitch()));
}

int TThumbnails::CalcSlideIndex(int XPos, int YPos) const {
  const std::int64_t P = Pitch(), S = CardSide(), X = XPos, Y = YPos;
  if (X < 10 || X > GetWidth() - 10 || Y < 10 || Y > GetHeight() - 10) return 0;
  const std::int64_t A = (X - 10) / P;
  if (!(P * A + 10 <= X && X <= P * A + S + 10) || A + 1 > FNumSldX) return 0;
  const std::int64_t D = ScrollOffset();
  const std::int64_t E = (Y + D - FSLideDist - 10) / P;
  const std::int64_t Top = P * E + FSLideDist - D + 10;
  if (!(Top <= Y && Y <= Top + S)) return 0;
  const std::int64_t Sld = std::int64_t(std::trunc(FFirstThumbIx)) + E * FNumSldX + A;
  return InRange(Sld) ? int(Sld) : 0;
}

// Floor division keeps the column and the (negative) row right for slides above the top row.
void TThumbnails::CalcSlidePos(int SldNum, int& XPos, int& YPos) const {
  const std::int64_t P = Pitch(), N = FNumSldX;
  const std::int64_t K = std::int64_t(SldNum) - std::int64_t(std::trunc(FFirstThumbIx));
  const std::int64_t Row = FloorDiv(K, N), Col = K - Row * N;
  XPos = ClampToInt(P * Col + 10);
  YPos = ClampToInt(P * Row + FSLideDist - ScrollOffset() + 10);
}

void TThumbnails::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TThumbnails*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TThumbnails::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TThumbnails*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (S == this) return;
  // The only step that can fail comes first, so a failure changes nothing.
  ResizeSelection(S->FMin, S->FMax);
  if (S->FMin != FMin) FSelectedSlide.Clear();
  FFrameStyle = S->FFrameStyle;
  FOuterFrameStyle = S->FOuterFrameStyle;
  FInnerFrameStyle = S->FInnerFrameStyle;
  FColorBG = S->FColorBG;
  FColBlackLine = S->FColBlackLine;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorScheme = S->FColorScheme;
  FFirstThumbIx = S->FFirstThumbIx;
  FMin = S->FMin;
  FMax = S->FMax;
  FNumSldX = S->FNumSldX;
  FNumSldY = S->FNumSldY;
  FThumbBaseSize = S->FThumbBaseSize;
  FSLideDist = S->FSLideDist;
  FSlideMargin = S->FSlideMargin;
  OnImageRequest = S->OnImageRequest;
  OnSlideRendered = S->OnSlideRendered;
  OnFirstImageRequest = S->OnFirstImageRequest;
  OnLastImageRequest = S->OnLastImageRequest;
  OnImageClick = S->OnImageClick;
  OnImageDblClick = S->OnImageDblClick;
  OnFocusChange = S->OnFocusChange;
  FAntiAlias = S->FAntiAlias;
  FColorCover = S->FColorCover;
  FColorSelected = S->FColorSelected;
  FColorHilite = S->FColorHilite;
  FMarkColor = S->FMarkColor;
  FLastHiLite = S->FLastHiLite;
  FHiliteThickness = S->FHiliteThickness;
  Changed();
}

void TThumbnails::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FHiliteThickness <= 0) return;
  const int Sld = CalcSlideIndex(X, Y);
  if (Sld == FLastHiLite) return;
  ResetLastHiLite();
  HiLite(Sld);
  FLastHiLite = Sld;
  if (OnFocusChange) OnFocusChange(this);
}

// The framework reports the second press of a double click with ssDouble, after OnDblClick.
void TThumbnails::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && (Shift & ssDouble) && OnImageDblClick)
    OnImageDblClick(this, X, Y, CalcSlideIndex(X, Y));
}

void TThumbnails::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || (X == -1 && Y == -1)) return;
  const int Sld = CalcSlideIndex(X, Y);
  // A host anchors a Shift range on the previous click: it reads LastClickedSlide in
  // OnMouseUp, before it moves here.
  FLastClickedSlide = Sld;
  if (FSelectMode == ssmSingle) {
    FSelectedSlide.Clear();
    if (Sld != 0) FSelectedSlide.SetBit(Sld - FMin, true);
    Changed();
  }
  if (OnImageClick) OnImageClick(this, X, Y, Sld);
}

}  // namespace kvl
