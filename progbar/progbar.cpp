// TProgBar: properties, the colour table, copying, the background picture and the auto
// increment timer.
#include "kvl/progbar/progbar.h"

#include <algorithm>
#include <cmath>

#include "kvl/core/kvlcolors.h"

namespace kvl {

namespace {

// Each of the low three bytes of A and B, interpolated at X (0..1) and truncated.
TColor InterpolateLowBytes(TColor A, TColor B, double X) {
  X = std::clamp(X, 0.0, 1.0);
  TColor Result = 0;
  for (int Shift = 0; Shift <= 16; Shift += 8) {
    const double CA = (A >> Shift) & 0xFF, CB = (B >> Shift) & 0xFF;
    Result |= TColor(std::trunc((CB - CA) * X + CA)) << Shift;
  }
  return Result;
}

}  // namespace

TProgBar::TProgBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 300, 28);
  FBarColorArray[0] = clBlue;
  FBarColorArray[NumBarColors - 1] = clRed;
  FillColorTable();
}

void TProgBar::FillColorTable() {
  const TColor A = FBarColorArray[0], B = FBarColorArray[NumBarColors - 1];
  for (int I = 1; I < NumBarColors - 1; ++I)
    FBarColorArray[std::size_t(I)] = InterpolateLowBytes(A, B, I / double(NumBarColors - 1));
}

void TProgBar::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TProgBar*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TProgBar::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TProgBar*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FOuterFrameSt = S->FOuterFrameSt;
  FInnerFrameSt = S->FInnerFrameSt;
  FProgValue = S->FProgValue;
  FProgMin = S->FProgMin;
  FProgMax = S->FProgMax;
  FColorMargin = S->FColorMargin;
  FColBlackLine = S->FColBlackLine;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorScheme = S->FColorScheme;
  FDirection = S->FDirection;
  FBarColorArray = S->FBarColorArray;
  AuxBmp.Assign(S->AuxBmp);
  FStretchedValid = false;
  FColorBakG = S->FColorBakG;
  FColorGrad = S->FColorGrad;
  FColorGrid = S->FColorGrid;
  FGridDist = S->FGridDist;
  FColorMapMode = S->FColorMapMode;
  FMarginLeft = S->FMarginLeft;
  FMarginRight = S->FMarginRight;
  FMarginTop = S->FMarginTop;
  FMarginBottom = S->FMarginBottom;
  FBakGndFile = S->FBakGndFile;
  FTextPosX = S->FTextPosX;
  FTextPosY = S->FTextPosY;
  FTextDecPlaces = S->FTextDecPlaces;
  FTextAngle = S->FTextAngle;
  FAlignment = S->FAlignment;
  OnShowValue = S->OnShowValue;
  FShowValue = S->FShowValue;
  Paint();
}

#define KVL_PROGBAR_SETTER(Name, Type, Field) \
  void TProgBar::Set##Name(Type V) {          \
    if (StoreIfChanged(Field, V)) Paint();    \
  }
KVL_PROGBAR_SETTER(ShowColorGradient, bool, FColorGrad)
KVL_PROGBAR_SETTER(ColorBackGnd, TColor, FColorBakG)
KVL_PROGBAR_SETTER(ColorMargin, TColor, FColorMargin)
KVL_PROGBAR_SETTER(ColorGrid, TColor, FColorGrid)
KVL_PROGBAR_SETTER(GridDist, int, FGridDist)
#undef KVL_PROGBAR_SETTER

// NaN never equals itself: a NaN written again still repaints, which costs nothing wrong.
void TProgBar::SetValue(double V) {
  if (StoreIfChanged(FProgValue, V)) Paint();
}

void TProgBar::SetMin(double V) {
  if (StoreIfChanged(FProgMin, V)) Paint();
}

void TProgBar::SetMax(double V) {
  if (StoreIfChanged(FProgMax, V)) Paint();
}

void TProgBar::SetRange(double AMin, double AMax) {
  if (AMin >= AMax) std::swap(AMin, AMax);
  FProgMin = AMin;
  FProgMax = AMax;
  Paint();
}

void TProgBar::SetDirection(TDirection V) {
  if (V > dirRight) return;
  if (StoreIfChanged(FDirection, V)) Paint();
}

void TProgBar::SetColorMapMode(TColorMapping V) {
  if (V > cgmMove) return;
  if (StoreIfChanged(FColorMapMode, V)) Paint();
}

void TProgBar::SetColorMin(TColor C) {
  FBarColorArray[0] = C;
  FillColorTable();
  Paint();
}

void TProgBar::SetColorMax(TColor C) {
  FBarColorArray[NumBarColors - 1] = C;
  FillColorTable();
  Paint();
}

TColor TProgBar::GetBarColors(int Ix) const {
  return Ix >= 0 && Ix < NumBarColors ? FBarColorArray[std::size_t(Ix)] : 0;
}

void TProgBar::SetBarColors(int Ix, TColor C) {
  if (Ix >= 0 && Ix < NumBarColors) FBarColorArray[std::size_t(Ix)] = C;
}

void TProgBar::SetMargin(int& Field, int V) {
  if (StoreIfChanged(Field, V)) Paint();
}
void TProgBar::SetMarginLeft(int V) { SetMargin(FMarginLeft, V); }
void TProgBar::SetMarginRight(int V) { SetMargin(FMarginRight, V); }
void TProgBar::SetMarginTop(int V) { SetMargin(FMarginTop, V); }
void TProgBar::SetMarginBottom(int V) { SetMargin(FMarginBottom, V); }

void TProgBar::SetFrameStyleOuter(TFrameStyle V) {
  if (StoreIfChanged(FOuterFrameSt, FrameStyleFromByte(V))) Paint();
}

void TProgBar::SetFrameStyleInner(TFrameStyle V) {
  if (StoreIfChanged(FInnerFrameSt, FrameStyleFromByte(V))) Paint();
}

void TProgBar::SetColorScheme(TColorScheme V) {
  if (V > csSystem || V == FColorScheme) return;
  FColorScheme = V;
  const TSchemeColors S = ColorSchemeColors(V);
  FColGrayLine = S.Shadow;
  FColWhiteLine = S.Light;
  Paint();
}

void TProgBar::SetBackGroundImg(const std::string& Name) {
  if (Name.empty()) {
    FBakGndFile.clear();
  } else {
    // A picture that does not load leaves both the name and the old picture as they were.
    try {
      TBitmap Loaded;
      Loaded.LoadFromFile(Name);
      AuxBmp = std::move(Loaded);
      FBakGndFile = Name;
      FStretchedValid = false;
    } catch (const std::exception&) {
    }
  }
  Paint();
}

void TProgBar::SetTextVisible(bool V) {
  FShowValue = V;
  Paint();
}

void TProgBar::SetTextPosX(int V) {
  FTextPosX = std::clamp(V, 0, GetWidth());
  Paint();
}

void TProgBar::SetTextPosY(int V) {
  FTextPosY = std::clamp(V, 0, GetHeight());
  Paint();
}

void TProgBar::SetTextAlignment(TAlignment V) {
  if (V > taCenter) return;
  if (StoreIfChanged(FAlignment, V)) Paint();
}

void TProgBar::SetTextAngle(int V) {
  FTextAngle = std::clamp(V, 0, 360);
  Paint();
}

void TProgBar::SetTextDecPlaces(int V) {
  FTextDecPlaces = std::clamp(V, -2, 10);
  Paint();
}

void TProgBar::SetAutoInc(bool V) {
  FTimerEnabled = V;
  if (IsDesigning()) return;
  if (V)
    InitTimer();
  else
    FTimer.Kill();
}

void TProgBar::SetAutoIncStep(double V) {
  if (V != 0.0) FAutoIncStep = V;
}

void TProgBar::SetStartInterval(int V) {
  if (!StoreIfChanged(FStartIv, std::max(V, 10))) return;
  if (!IsDesigning()) InitTimer();
}

void TProgBar::SetRepeatInterval(int V) {
  if (!StoreIfChanged(FRepeatIv, std::max(V, 10))) return;
  if (!IsDesigning()) UpdateTimer();
}

void TProgBar::SetOnAutoInc(TNotifyEvent E) {
  FOnAutoInc = std::move(E);
  if (!IsDesigning()) UpdateTimer();
}

void TProgBar::InitTimer() {
  FIsStart = true;
  FTimer.Restart<EKVLProgBar>(FStartIv, FTimerEnabled);
}

void TProgBar::UpdateTimer() {
  FIsStart = false;
  FTimer.Restart<EKVLProgBar>(FRepeatIv, FTimerEnabled);
}

void TProgBar::DoTimer() {
  if (FIsStart) UpdateTimer();
  AutoIncEvent();
  if (FOnAutoInc) FOnAutoInc(this);
}

void TProgBar::AutoIncEvent() {
  FProgValue += FAutoIncStep;
  Paint();
}

}  // namespace kvl
