// TMeter: construction, the value model with its range events, the appearance setters,
// pictures, loading and copying.
#include "kvl/meter/meter.h"

#include <algorithm>
#include <cmath>

#include "kvl/core/kvlcolors.h"
#include "kvl/platform/files.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {

// The range ends stay within this, so that their difference is always finite.
constexpr double RangeLimit = 1e300;
// Below this a value has no logarithm the scale can use.
constexpr double LogFloor = 1e-100;

// How far a bound moves away from the other: one unit, or more where one unit is lost in
// the rounding of large magnitudes.
double BoundGap(double X) { return std::max(1.0, 1e-9 * std::fabs(X)); }

void SetDefaultNeedle(TNeedleLayout& L, bool Visible) {
  L.SetHeadSize(20);
  L.SetHeadAngle(30);
  L.SetHeadMidLeng(20);
  L.SetThickness(0);
  L.SetColorBody(clSilver);
  L.SetColorOutline(clBlack);
  L.SetPercentNeedleLength(100);
  L.SetShadowDx(0);
  L.SetShadowDy(0);
  L.SetShadowColor(clGray);
  L.SetVisible(Visible);
}

}  // namespace

TMeter::TMeter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetDefaultNeedle(FNeedleLayout, true);
  SetDefaultNeedle(FNeedle2Layout, false);
  FNeedleLayout.OnChange = [this](TObject* S) { StyleChanged(S); };
  FNeedle2Layout.OnChange = [this](TObject* S) { StyleChanged(S); };
  FFontCaption.Assign(GetFont());
  FFontCaption.AddChangeListener([this](const TFont&) { ScaleChanged(); });
  FAuxBGBmp.SetSize(10, 10);
  FAuxACBmp.SetSize(10, 10);
  FAuxACMaskBmp.SetSize(10, 10);
  SetBounds(GetLeft(), GetTop(), 297, 209);
  CalcMeterLayoutParams();
}

TMeter::~TMeter() = default;

void TMeter::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TMeter*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TMeter::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TMeter*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FMinValue = S->FMinValue;
  FMaxValue = S->FMaxValue;
  FValue = S->FValue;
  FValue2 = S->FValue2;
  FLowThreshold = S->FLowThreshold;
  FHighThreshold = S->FHighThreshold;
  FLogarithmic = S->FLogarithmic;
  FMeterLayout = S->FMeterLayout;
  FTRim = S->FTRim;
  FBRim = S->FBRim;
  FSRim = S->FSRim;
  FNrTicks = S->FNrTicks;
  FDecPlaces = S->FDecPlaces;
  FShortTicks = S->FShortTicks;
  FScaleLine = S->FScaleLine;
  FScaleVis = S->FScaleVis;
  FColorScale = S->FColorScale;
  FOFL = S->FOFL;
  FUFL = S->FUFL;
  FNeedleLayout.CopyNeedleProperties(S->FNeedleLayout);
  FNeedle2Layout.CopyNeedleProperties(S->FNeedle2Layout);
  FColorBakG = S->FColorBakG;
  FColorCover = S->FColorCover;
  FColorScheme = S->FColorScheme;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorBakGLow = S->FColorBakGLow;
  FColorBakGNorm = S->FColorBakGNorm;
  FColorBakGHigh = S->FColorBakGHigh;
  FScaleBkVis = S->FScaleBkVis;
  FScaleBakWidth = S->FScaleBakWidth;
  FBakGndFName = S->FBakGndFName;
  FAuxBGBmp = S->FAuxBGBmp;
  FBGFillMode = S->FBGFillMode;
  FAnchorCovrd = S->FAnchorCovrd;
  FSizeAnchor = S->FSizeAnchor;
  FACoverFName = S->FACoverFName;
  FAuxACBmp = S->FAuxACBmp;
  FAuxACMaskBmp = S->FAuxACMaskBmp;
  FLimWatHighOn = S->FLimWatHighOn;
  FLimWatLowOn = S->FLimWatLowOn;
  FLimWatActCol = S->FLimWatActCol;
  FLimWatPsvCol = S->FLimWatPsvCol;
  FFrameStyle = S->FFrameStyle;
  {
    // The caption and its font notify on their own; the one repaint comes below.
    const TScopedValue<bool> Quiet(FQuiet, true);
    SetCaption(S->GetCaption());
    FFontCaption.Assign(S->FFontCaption);
  }
  CalcMeterLayoutParams();
  ScaleChanged();
}

// --- value model ---

void TMeter::SetMinValue(double X) {
  if (!std::isfinite(X) || (FLogarithmic && X < LogFloor)) return;
  X = std::clamp(X, -RangeLimit, RangeLimit);
  if (IsLoading()) {
    FMinValue = X;
    return;
  }
  if (X == FMinValue) return;
  FMinValue = X;
  if (FMaxValue <= X) FMaxValue = X + BoundGap(X);
  for (double* F : {&FValue, &FValue2, &FLowThreshold, &FHighThreshold}) *F = std::max(*F, X);
  ScaleChanged();
}

void TMeter::SetMaxValue(double X) {
  if (!std::isfinite(X) || (FLogarithmic && X < LogFloor)) return;
  X = std::clamp(X, -RangeLimit, RangeLimit);
  if (IsLoading()) {
    FMaxValue = X;
    return;
  }
  if (X == FMaxValue) return;
  FMaxValue = X;
  if (X <= FMinValue) {
    FMinValue = X - BoundGap(X);
    if (FLogarithmic && FMinValue <= 0) FMinValue = X / 10;
  }
  for (double* F : {&FValue, &FValue2, &FLowThreshold, &FHighThreshold}) *F = std::min(*F, X);
  ScaleChanged();
}

void TMeter::UpdateLampFlags(bool Visible) {
  FOFL = FUFL = false;
  if (!Visible) return;
  const double V = FValue;
  if (V >= FHighThreshold) {
    FOFL = true;
    DoOverFlowEvent();
  } else if (V > FLowThreshold) {
    DoNormalRangeEvent();
  } else {
    FUFL = true;
    DoUnderFlowEvent();
  }
}

void TMeter::SetValue(double X) {
  if (!std::isfinite(X)) return;
  if (IsLoading()) {
    FValue = X;
    return;
  }
  if (X == FValue) return;
  FValue = std::clamp(X, FMinValue, FMaxValue);
  UpdateLampFlags(FNeedleLayout.GetVisible());
  NeedleMoved();
}

void TMeter::SetValue2(double X) {
  if (!std::isfinite(X)) return;
  if (IsLoading()) {
    FValue2 = X;
    return;
  }
  if (X == FValue2) return;
  FValue2 = std::clamp(X, FMinValue, FMaxValue);
  // The secondary needle judges its own value but lights the same lamps.
  const bool Visible = FNeedle2Layout.GetVisible();
  FOFL = FUFL = false;
  if (Visible) {
    if (FValue2 >= FHighThreshold) {
      FOFL = true;
      DoOverFlowEvent();
    } else if (FValue2 > FLowThreshold) {
      DoNormalRangeEvent();
    } else {
      FUFL = true;
      DoUnderFlowEvent();
    }
    NeedleMoved();
  }
}

void TMeter::SetLowThreshold(double X) {
  if (!std::isfinite(X) || (FLogarithmic && X < LogFloor)) return;
  if (IsLoading()) {
    FLowThreshold = X;
    return;
  }
  if (X == FLowThreshold) return;
  FLowThreshold = std::clamp(X, FMinValue, FMaxValue);
  if (FLowThreshold > FHighThreshold) FHighThreshold = FLowThreshold;
  FUFL = false;
  if (FValue <= FLowThreshold) {
    FUFL = true;
    DoUnderFlowEvent();
  }
  ScaleChanged();
}

void TMeter::SetHighThreshold(double X) {
  if (!std::isfinite(X) || (FLogarithmic && X < LogFloor)) return;
  if (IsLoading()) {
    FHighThreshold = X;
    return;
  }
  if (X == FHighThreshold) return;
  FHighThreshold = std::clamp(X, FMinValue, FMaxValue);
  if (FHighThreshold < FLowThreshold) FLowThreshold = FHighThreshold;
  FOFL = false;
  if (FValue >= FHighThreshold) {
    FOFL = true;
    DoOverFlowEvent();
  }
  ScaleChanged();
}

void TMeter::SetLogarithmic(bool B) {
  if (IsLoading()) {
    FLogarithmic = B;
    return;
  }
  if (B == FLogarithmic) return;
  FLogarithmic = FMinValue <= LogFloor || FMaxValue <= LogFloor ? false : B;
  ScaleChanged();
}

void TMeter::DoOverFlowEvent() {
  if (OnOverFlow) OnOverFlow(this);
}
void TMeter::DoUnderFlowEvent() {
  if (OnUnderFlow) OnUnderFlow(this);
}
void TMeter::DoNormalRangeEvent() {
  if (OnNormalRange) OnNormalRange(this);
}

// A stored form may hold what the setters never allow; the scale needs a finite, ordered
// range and, for logarithms, a positive one.
void TMeter::Sanitize() {
  const auto Finite = [](double& F, double Default) {
    if (!std::isfinite(F)) F = Default;
  };
  Finite(FMinValue, 0.0);
  Finite(FMaxValue, 1.0);
  Finite(FValue, 0.0);
  Finite(FValue2, 0.0);
  Finite(FLowThreshold, 0.0);
  Finite(FHighThreshold, 1.0);
  if (!std::isfinite(FScaleBakWidth)) FScaleBakWidth = 0.0;
  FScaleBakWidth = std::clamp(FScaleBakWidth, 0.0, 100.0);
  FMinValue = std::clamp(FMinValue, -RangeLimit, RangeLimit);
  FMaxValue = std::clamp(FMaxValue, -RangeLimit, RangeLimit);
  if (FMaxValue <= FMinValue) FMaxValue = FMinValue + BoundGap(FMinValue);
  if (FLogarithmic && (FMinValue <= LogFloor || FMaxValue <= LogFloor)) FLogarithmic = false;
  FValue = std::clamp(FValue, FMinValue, FMaxValue);
  FLowThreshold = std::clamp(FLowThreshold, FMinValue, FMaxValue);
  FHighThreshold = std::clamp(FHighThreshold, FMinValue, FMaxValue);
  if (FLowThreshold > FHighThreshold) FHighThreshold = FLowThreshold;
}

void TMeter::Loaded() {
  TGraphicControl::Loaded();
  Sanitize();
  // Both pictures are read here once; a failure only clears the name.
  for (auto [Name, Bmp] : {std::pair{&FBakGndFName, &FAuxBGBmp}, {&FACoverFName, &FAuxACBmp}}) {
    if (Name->empty()) continue;
    try {
      if (!LoadPicture(*Bmp, *Name)) Name->clear();
    } catch (const Exception&) {
      Name->clear();
    }
  }
  if (!FACoverFName.empty()) {
    FAuxACMaskBmp.SetSize(FAuxACBmp.GetWidth(), FAuxACBmp.GetHeight());
    std::fill_n(FAuxACMaskBmp.Pixels(), std::size_t(FAuxACBmp.GetWidth()) * FAuxACBmp.GetHeight(),
                0u);
  }
  CalcMeterLayoutParams();
  ScaleChanged();
}

// --- scale settings ---

void TMeter::SetMeterLayout(TMeterLayout L) {
  if (!StoreIfChanged(FMeterLayout, L)) return;
  CalcMeterLayoutParams();
  ScaleChanged();
}

void TMeter::SetMeterNrTicks(int N) {
  if (N == FNrTicks) return;
  FNrTicks = std::clamp(N, 2, 21);
  ScaleChanged();
}

void TMeter::SetMeterDecPlaces(int N) {
  if (N == FDecPlaces) return;
  FDecPlaces = std::clamp(N, 0, 4);
  ScaleChanged();
}

int TMeter::CalcM(int Status, double, double) const { return std::clamp(Status, 0, 4); }

void TMeter::SetMeterShortTicks(bool B) {
  if (StoreIfChanged(FShortTicks, B)) ScaleChanged();
}
void TMeter::SetMeterScaleLine(bool B) {
  if (StoreIfChanged(FScaleLine, B)) ScaleChanged();
}
void TMeter::SetScaleVisible(bool B) {
  FScaleVis = B;
  ScaleChanged();
}
void TMeter::SetColorScale(TColor C) {
  if (StoreIfChanged(FColorScale, C)) ScaleChanged();
}

void TMeter::SetTRim(int V) {
  if (!StoreIfChanged(FTRim, V)) return;
  CalcMeterLayoutParams();
  ScaleChanged();
}
void TMeter::SetBRim(int V) {
  if (!StoreIfChanged(FBRim, V)) return;
  CalcMeterLayoutParams();
  ScaleChanged();
}
void TMeter::SetSRim(int V) {
  if (!StoreIfChanged(FSRim, V)) return;
  CalcMeterLayoutParams();
  ScaleChanged();
}

// --- needles and appearance ---

void TMeter::SetNeedleLayout(const TNeedleLayout& L) {
  FNeedleLayout.CopyNeedleProperties(L);
  Changed();
}
void TMeter::SetNeedleLayoutSec(const TNeedleLayout& L) {
  FNeedle2Layout.CopyNeedleProperties(L);
  Changed();
}
void TMeter::StyleChanged(TObject*) { Changed(); }

void TMeter::SetColorBakG(TColor C) {
  if (StoreIfChanged(FColorBakG, C)) ScaleChanged();
}
void TMeter::SetColorCover(TColor C) {
  if (StoreIfChanged(FColorCover, C)) Changed();
}
void TMeter::SetColorScheme(TColorScheme S) {
  if (!StoreIfChanged(FColorScheme, S)) return;
  const TSchemeColors Colors = ColorSchemeColors(S);
  FColGrayLine = Colors.Shadow;
  FColWhiteLine = Colors.Light;
  Changed();
}
void TMeter::SetColorSclBkLow(TColor C) {
  if (StoreIfChanged(FColorBakGLow, C)) ScaleChanged();
}
void TMeter::SetColorSclBkNorm(TColor C) {
  if (StoreIfChanged(FColorBakGNorm, C)) ScaleChanged();
}
void TMeter::SetColorSclBkHigh(TColor C) {
  if (StoreIfChanged(FColorBakGHigh, C)) ScaleChanged();
}
void TMeter::SetScaleBkVisible(bool B) {
  FScaleBkVis = B;
  ScaleChanged();
}
void TMeter::SetScaleBkWidth(double W) {
  if (!std::isfinite(W)) return;
  FScaleBakWidth = std::clamp(W, 0.0, 100.0);
  ScaleChanged();
}
void TMeter::SetBkgndFillMode(TBkgFill M) {
  FBGFillMode = M;
  ScaleChanged();
}
void TMeter::SetAnchorCovered(bool B) {
  if (StoreIfChanged(FAnchorCovrd, B)) Changed();
}
void TMeter::SetAnchorSize(int S) {
  if (StoreIfChanged(FSizeAnchor, S)) Changed();
}
void TMeter::SetLimWatchHighOn(bool B) {
  if (StoreIfChanged(FLimWatHighOn, B)) Changed();
}
void TMeter::SetLimWatchLowOn(bool B) {
  if (StoreIfChanged(FLimWatLowOn, B)) Changed();
}
void TMeter::SetLimWatchActColor(TColor C) {
  if (StoreIfChanged(FLimWatActCol, C)) Changed();
}
void TMeter::SetLimWatchPsvColor(TColor C) {
  if (StoreIfChanged(FLimWatPsvCol, C)) Changed();
}
void TMeter::SetFrameStyle(TFrameStyle S) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(S))) Changed();
}

void TMeter::SetOnBeforeDrawScaleLabel(TmtBeforeDrawScaleLabelEvent E) {
  FOnBeforeDrawScaleLabel = std::move(E);
  ScaleChanged();
}

// --- pictures ---

// Reads the file into Target only when it is a regular file and the whole picture decodes;
// false for a name that is no regular file. A read failure raises and leaves Target as it was.
bool TMeter::LoadPicture(TBitmap& Target, const std::string& Name) {
  if (!FileExists(Name)) return false;
  TBitmap Loaded;
  Loaded.LoadFromFile(Name);
  Target = std::move(Loaded);
  return true;
}

void TMeter::SetBakGndFname(const std::string& Name) {
  if (IsLoading()) {
    FBakGndFName = Name;
    return;
  }
  if (LoadPicture(FAuxBGBmp, Name))
    FBakGndFName = Name;
  else
    FBakGndFName.clear();
  ScaleChanged();
}

void TMeter::SetACoverFname(const std::string& Name) {
  if (IsLoading()) {
    FACoverFName = Name;
    return;
  }
  try {
    if (LoadPicture(FAuxACBmp, Name)) {
      FACoverFName = Name;
      FAuxACMaskBmp.SetSize(FAuxACBmp.GetWidth(), FAuxACBmp.GetHeight());
      std::fill_n(FAuxACMaskBmp.Pixels(), std::size_t(FAuxACBmp.GetWidth()) * FAuxACBmp.GetHeight(),
                  0u);
    } else {
      FACoverFName.clear();
    }
  } catch (const Exception&) {
    FACoverFName.clear();
  }
  Changed();
}

// --- mouse ---

void TMeter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  double V = 0;
  const bool Within = ConvertPixelToValue(X, Y, V);
  MouseMoveInMeter(Within, Shift, V);
}

void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue) {
  if (OnMouseMoveInMeter) OnMouseMoveInMeter(this, WithinRange, Shift, MeterValue);
}

}  // namespace kvl
