#include "kvl/marksel/marksel.h"

#include <algorithm>
#include <cstdint>

namespace kvl {

namespace {
// Centres far outside any real control still fit every later "+ hd" without overflow.
constexpr std::int64_t CoordLimit = 1 << 28;
int Saturate(std::int64_t V) { return int(std::clamp(V, -CoordLimit, CoordLimit)); }
}  // namespace

TMarkSel::TMarkSel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FMarkVis.fill(true);
  SetBounds(0, 0, 236, 178);
  Layout();
}

TMarkSel::~TMarkSel() { *FAlive = false; }

void TMarkSel::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TMarkSel*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TMarkSel::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TMarkSel*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FNrCols = S->FNrCols;
  FNrRows = S->FNrRows;
  FMarkVis = S->FMarkVis;
  FSelected = S->FSelected;
  FColorBG = S->FColorBG;
  FColorFG = S->FColorFG;
  FColorSelBG = S->FColorSelBG;
  FColorSelFG = S->FColorSelFG;
  FColorHiLite = S->FColorHiLite;
  FColorHiSymb = S->FColorHiSymb;
  FFrameStyle = S->FFrameStyle;
  FZeroAsCross = S->FZeroAsCross;
  Changed();
}

void TMarkSel::Changed() {
  Layout();
  Paint();
}

void TMarkSel::SetNrOfColumns(int Value) {
  if (Value >= 1 && Value <= 51 && StoreIfChanged(FNrCols, Value)) Changed();
}

void TMarkSel::SetNrOfRows(int Value) {
  if (Value >= 1 && Value <= 51 && StoreIfChanged(FNrRows, Value)) Changed();
}

void TMarkSel::SetSelected(int Value) {
  if (Value >= -1 && Value <= 51 && StoreIfChanged(FSelected, Value)) Paint();
}

void TMarkSel::SetColorBackGnd(TColor Value) {
  if (StoreIfChanged(FColorBG, Value)) Paint();
}
void TMarkSel::SetColorMarks(TColor Value) {
  if (StoreIfChanged(FColorFG, Value)) Paint();
}
void TMarkSel::SetColorSelBG(TColor Value) {
  if (StoreIfChanged(FColorSelBG, Value)) Paint();
}
void TMarkSel::SetColorSelFG(TColor Value) {
  if (StoreIfChanged(FColorSelFG, Value)) Paint();
}
void TMarkSel::SetColorHiLiteBG(TColor Value) {
  if (StoreIfChanged(FColorHiLite, Value)) Paint();
}
void TMarkSel::SetColorHiLiteSymbol(TColor Value) {
  if (StoreIfChanged(FColorHiSymb, Value)) Paint();
}

void TMarkSel::SetFrameStyle(TFrameStyle Value) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(Value))) Paint();
}

void TMarkSel::SetEnabled(bool Value) {
  FEnabled = Value;
  TGraphicControl::SetEnabled(Value);
  Invalidate();
}

void TMarkSel::SetShowZeroAsCross(bool Value) {
  FZeroAsCross = Value;
  Invalidate();
}

bool TMarkSel::GetMarkVisible(int Index) const {
  return FMarkVis[std::size_t(Index < 0 || Index >= NumMarkers ? 0 : Index)];
}

void TMarkSel::SetMarkVisible(int Index, bool Value) {
  if (Index < 1 || Index >= NumMarkers) return;
  FMarkVis[std::size_t(Index)] = Value;
  Changed();
}

void TMarkSel::ShowAllMarks() {
  std::fill(FMarkVis.begin() + 1, FMarkVis.end(), true);
  Changed();
}

void TMarkSel::HideAllMarks() {
  std::fill(FMarkVis.begin() + 1, FMarkVis.end(), false);
  Changed();
}

TPoint TMarkSel::GetMarkCentre(int Mark) const {
  if (Mark < 0 || Mark >= NumMarkers) return {};
  return FMarkCoords[std::size_t(Mark)];
}

void TMarkSel::Resize() {
  Layout();
  TGraphicControl::Resize();
}

// Cell sizes and centres; also before the first paint, so that the pointer never meets
// undefined centres.
void TMarkSel::Layout() {
  FMarkDistHorz = (GetWidth() - 4) / FNrCols;
  FMarkDistVert = (GetHeight() - 4) / FNrRows;
  FMarkMarginHorz = FMarkDistHorz / 2;
  FMarkMarginVert = FMarkDistVert / 2;
  int K = 0;
  for (int I = 0; I < NumMarkers; ++I) {
    const auto Ix = std::size_t(I);
    FMarkPlace[Ix] = -1;
    FMarkCoords[Ix] = {};
    if (I != 0 && !FMarkVis[Ix]) continue;
    FMarkPlace[Ix] = K;
    FMarkCoords[Ix] = {
        Saturate(FMarkMarginHorz + std::int64_t(FMarkDistHorz) * (K % FNrCols)),
        Saturate(FMarkMarginVert + std::int64_t(FMarkDistVert) * (K / FNrCols))};
    ++K;
  }
}

TMarkSel::TPalette TMarkSel::Palette() const {
  if (FEnabled && IsEnabledInTree()) return {FColorFG, FColorBG, FColorSelFG, FColorSelBG};
  return {0x808080, 0xC0C0C0, 0x808080, 0xDEDEDE};
}

void TMarkSel::DrawSymbol(TCanvas& C, int Mark) const {
  if (Mark == 0 && FZeroAsCross) {
    const int DH = FMarkDistHorz, DV = FMarkDistVert;
    C.MoveTo(4, 4);
    C.LineTo(DH + 1, DV + 1);
    C.MoveTo(4, DV);
    C.LineTo(DH + 1, 3);
    return;
  }
  const TPoint P = FMarkCoords[std::size_t(Mark)];
  DrawMarkOnCanvas(C, Mark, P.X + 2, P.Y + 2);
}

void TMarkSel::DrawCell(TCanvas& C, int Mark, const TPalette& P) const {
  const TPoint Q = FMarkCoords[std::size_t(Mark)];
  const int HD = FMarkMarginHorz, VD = FMarkMarginVert;
  if (Mark == FSelected) {
    C.GetPen().SetColor(P.SelFG);
    C.GetBrush().SetColor(P.SelBG);
    C.Rectangle(Q.X + 3 - HD, Q.Y + 3 - VD, Q.X + 3 + HD, Q.Y + 3 + VD);
  } else {
    C.GetPen().SetColor(P.FG);
    C.GetBrush().SetColor(P.BG);
  }
  DrawSymbol(C, Mark);
}

void TMarkSel::Paint() {
  if (!GetVisible() && !IsDesigning()) return;
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  TCanvas& C = *FOffscreen.GetCanvas();
  const TPalette P = Palette();
  C.GetPen().SetColor(P.BG);
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetMode(pmCopy);
  C.GetBrush().SetColor(P.BG);
  C.Rectangle(0, 0, W, H);
  C.GetPen().SetColor(P.FG);
  for (int I = 0; I < NumMarkers; ++I)
    if (FMarkPlace[std::size_t(I)] >= 0) DrawCell(C, I, P);
  DrawFrame(C, FFrameStyle, 0, 0, W - 1, H - 1, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, P.FG);
  GetCanvas()->Draw(0, 0, FOffscreen);
  if (OnPaint) OnPaint(this);
}

// A shape is a candidate only when it is shown and its cell lies in the grid, so a click
// never picks a shape the user cannot see; 64-bit distances stay exact at any coordinate.
int TMarkSel::NearestMark(int X, int Y) const {
  const std::int64_t Cells = std::int64_t(FNrCols) * FNrRows;
  int Best = 0;
  std::int64_t BestDist = -1;
  for (int I = 0; I < NumMarkers; ++I) {
    const int K = FMarkPlace[std::size_t(I)];
    if (K < 0 || K >= Cells) continue;
    const TPoint P = FMarkCoords[std::size_t(I)];
    const std::int64_t DX = std::int64_t(X) - P.X, DY = std::int64_t(Y) - P.Y;
    const std::int64_t Dist = DX * DX + DY * DY;
    if (BestDist < 0 || Dist < BestDist) {
      Best = I;
      BestDist = Dist;
    }
  }
  return Best;
}

void TMarkSel::RemoveHighlight(int Mark) {
  if (FMarkPlace[std::size_t(Mark)] < 0) return;
  TCanvas& C = *GetCanvas();
  const TPoint Q = FMarkCoords[std::size_t(Mark)];
  const int HD = FMarkMarginHorz, VD = FMarkMarginVert;
  const bool Sel = Mark == FSelected;
  C.GetPen().SetColor(Sel ? FColorSelFG : FColorBG);
  C.GetBrush().SetColor(Sel ? FColorSelBG : FColorBG);
  C.Rectangle(Q.X + 3 - HD, Q.Y + 3 - VD, Q.X + 3 + HD, Q.Y + 3 + VD);
  C.GetPen().SetColor(Sel ? FColorSelFG : FColorFG);
  DrawSymbol(C, Mark);
}

void TMarkSel::DrawHighlight(int Mark) {
  TCanvas& C = *GetCanvas();
  const TPoint Q = FMarkCoords[std::size_t(Mark)];
  const int HD = FMarkMarginHorz, VD = FMarkMarginVert;
  C.GetPen().SetColor(FColorHiLite);
  C.GetBrush().SetColor(FColorHiLite);
  C.Rectangle(Q.X + 4 - HD, Q.Y + 4 - VD, Q.X + 2 + HD, Q.Y + 2 + VD);
  C.GetPen().SetColor(FColorHiSymb);
  DrawSymbol(C, Mark);
}

void TMarkSel::MouseMove(TShiftState Shift, int X, int Y) {
  const auto Alive = FAlive;
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!*Alive || !IsEnabledInTree()) return;
  const int Mark = NearestMark(X, Y);
  if (Mark == FLastHiLite) return;
  RemoveHighlight(FLastHiLite);
  FLastHiLite = Mark;
  DrawHighlight(Mark);
}

void TMarkSel::Pick(int X, int Y, const TMarkClickEvent& Event) {
  const int Mark = NearestMark(X, Y);
  FSelected = Mark;
  if (Event) {
    const auto Alive = FAlive;
    Event(this, X, Y, Mark);
    if (!*Alive) return;  // the handler deleted the control
  }
  Paint();
  FLastHiLite = Mark;
  DrawHighlight(Mark);
}

// The double click acts on its second press, which carries the position.
void TMarkSel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto Alive = FAlive;
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !IsEnabledInTree()) return;
  FPressed = true;
  if (Shift & ssDouble) Pick(X, Y, OnMarkDblClick);
}

void TMarkSel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto Alive = FAlive;
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !FPressed) return;
  FPressed = false;
  if (X == -1 && Y == -1) return;
  if (IsEnabledInTree()) Pick(X, Y, OnMarkClick);
}

void TMarkSel::MouseCaptureLost() {
  TGraphicControl::MouseCaptureLost();
  FPressed = false;
}

}  // namespace kvl
