// Unit meter: TMeter, an analog panel meter with a needle over a circular scale, coloured
// threshold bands, two limit lamps, a caption and a cover framing the meter window; and
// TNeedleLayout, the look of a needle.
//
// Painting keeps two layers: the scale layer (background, bands, scale, caption), rebuilt only
// when something it shows changes, and the composed picture (the scale layer with needles,
// cover, anchor, lamps and frame over it). A change of Value or ValueSec alone repaints only the
// rectangle the old and new needles cover.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/controls.h"

namespace kvl {

// Arc span of the scale. mlCirc360 closes the circle: the minimum and the maximum meet at the
// bottom, straight below the pivot.
enum TMeterLayout : std::uint8_t {
  mlCirc90,
  mlCirc120,
  mlCirc180,
  mlCirc270,
  mlCirc300,
  mlCirc360
};

// The look of one needle. Every setter stores a changed value and calls Changed.
class TNeedleLayout : public TPersistent {
public:
  // Every field zero, invisible, no OnChange.
  TNeedleLayout() = default;

  // Copies the eleven needle properties of another layout (not OnChange) and notifies once.
  void Assign(const TPersistent* Source) override;
  // The same copy without notifying.
  void CopyNeedleProperties(const TNeedleLayout& S);
  // Fires OnChange with this layout as Sender.
  void Changed();

  int GetHeadSize() const { return FSize1; }
  void SetHeadSize(int V);
  int GetHeadAngle() const { return FAngle1; }
  void SetHeadAngle(int V);  // clamped to 0..180 first
  int GetHeadMidLeng() const { return FBackShift1; }
  void SetHeadMidLeng(int V);
  int GetThickness() const { return FThickness; }
  void SetThickness(int V);
  TColor GetColorBody() const { return FColorFill; }
  void SetColorBody(TColor V);
  TColor GetColorOutline() const { return FColorLine; }
  void SetColorOutline(TColor V);
  int GetPercentNeedleLength() const { return FPctNeedleLeng; }
  void SetPercentNeedleLength(int V);  // clamped to 0..100 first
  // The shadow is the needle moved by (-ShadowDx, -ShadowDy).
  int GetShadowDx() const { return FShadowDx; }
  void SetShadowDx(int V);
  int GetShadowDy() const { return FShadowDy; }
  void SetShadowDy(int V);
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor V);
  // For the primary needle this only switches the range events; the needle is drawn anyway.
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool V);

  TNotifyEvent OnChange;

private:
  template <class T>
  void Store(T& Field, T V) {
    if (StoreIfChanged(Field, V)) Changed();
  }
  int FSize1 = 0, FAngle1 = 0, FBackShift1 = 0, FThickness = 0;
  TColor FColorFill = 0, FColorLine = 0;
  int FPctNeedleLeng = 0, FShadowDx = 0, FShadowDy = 0;
  TColor FShadowColor = 0;
  bool FVisible = false;
};

using TmtBeforeDrawScaleLabelEvent = std::function<void(
    TObject* Sender, TCanvas* Canvas, std::string& CurrentTickLabel, int ChartX, int ChartY)>;
using TMouseMoveInMeterEvent =
    std::function<void(TObject* Sender, bool WithinRange, TShiftState Shift, double MeterValue)>;
using TBeforeDrawNeedleEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, bool& NeedleDrawn)>;
using TMeterRenderedEvent = std::function<void(TObject* Sender, TCanvas* Canvas)>;

// The major step of a scale: the largest 1, 2 or 5 times a power of ten not above the range
// divided by MeterNrTicks (a tie takes the smaller step), its minor subdivisions and the first
// major value at or above the minimum.
struct TMeterStep {
  double Step;
  int Subdivisions;
  double First;
};
TMeterStep MeterStep(double Min, double Max, int NrTicks);

class TMeter : public TGraphicControl {
public:
  explicit TMeter(TComponent* AOwner);
  ~TMeter() override;

  // Copies the meter's own published state (range, values, thresholds, scale, colours, both
  // needle layouts, bands, pictures, anchor, lamps, frame, Caption, FontCaption and the lamp
  // flags), not position, size, Font, Name or events; fires no range event; repaints once.
  void Assign(const TPersistent* Source) override;

  // --- value model ---
  // Doubles that are not finite are ignored; the range ends are kept within +-1e300. While
  // loading, the range, value, threshold and Logarithmic setters only store.
  // In logarithmic mode a minimum, maximum or threshold below 1e-100 is ignored. Changing the
  // range leaves the lamps as they are.
  double GetMeterMinValue() const { return FMinValue; }
  void SetMeterMinValue(double X) { SetMinValue(X); }
  double GetMeterMaxValue() const { return FMaxValue; }
  void SetMeterMaxValue(double X) { SetMaxValue(X); }
  // Compared before clamping: repeating the same out-of-range value fires its event again.
  // At or above ThresholdHigh is an overflow, at or below ThresholdLow an underflow.
  double GetValue() const { return FValue; }
  void SetValue(double X);
  // Writes the same lamp flags as Value; stores only (no event, no repaint) while the
  // secondary needle is invisible.
  double GetValueSec() const { return FValue2; }
  void SetValueSec(double X) { SetValue2(X); }
  void SetValue2(double X);
  // The threshold setters test Value against the new threshold whatever the needles'
  // visibility, and a low threshold above the high one raises the high one (and the mirror).
  double GetThresholdLow() const { return FLowThreshold; }
  void SetThresholdLow(double X) { SetLowThreshold(X); }
  double GetThresholdHigh() const { return FHighThreshold; }
  void SetThresholdHigh(double X) { SetHighThreshold(X); }
  // Refused (stays False) while the minimum or the maximum is at or below 1e-100.
  // A scale over a decade or more labels only 1, 2 and 5 times each power of ten.
  bool GetLogarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool B);

  // --- scale ---
  TMeterLayout GetMeterLayout() const { return FMeterLayout; }
  void SetMeterLayout(TMeterLayout L);
  int GetMeterNrTicks() const { return FNrTicks; }
  void SetMeterNrTicks(int N);  // 2..21
  int GetMeterDecPlaces() const { return FDecPlaces; }
  void SetMeterDecPlaces(int N);  // 0..4
  bool GetMeterShortTicks() const { return FShortTicks; }
  void SetMeterShortTicks(bool B);
  bool GetMeterScaleLine() const { return FScaleLine; }
  void SetMeterScaleLine(bool B);
  bool GetScaleVisible() const { return FScaleVis; }
  void SetScaleVisible(bool B);
  TColor GetColorScale() const { return FColorScale; }
  void SetColorScale(TColor C);
  int GetRimTop() const { return FTRim; }
  void SetRimTop(int V) { SetTRim(V); }
  int GetRimBottom() const { return FBRim; }
  void SetRimBottom(int V) { SetBRim(V); }
  int GetRimSide() const { return FSRim; }
  void SetRimSide(int V) { SetSRim(V); }

  // Derived geometry.
  int GetMeterAngle() const { return FMeterAngle; }
  // A radius at or below zero (a small control) draws nothing at all.
  double GetMeterRadius() const { return FMeterRadius; }
  int GetMeterCenterX() const { return FMeterCenterX; }
  int GetMeterCenterY() const { return FMeterCenterY; }
  bool GetOverflow() const { return FOFL; }
  bool GetUnderflow() const { return FUFL; }

  // --- needles ---
  // Changes in place repaint; assigning copies the eleven properties, then repaints once.
  TNeedleLayout& GetNeedleLayout() { return FNeedleLayout; }
  void SetNeedleLayout(const TNeedleLayout& L);
  TNeedleLayout& GetNeedleLayoutSec() { return FNeedle2Layout; }
  void SetNeedleLayoutSec(const TNeedleLayout& L);

  // --- appearance ---
  TColor GetColorBakG() const { return FColorBakG; }
  void SetColorBakG(TColor C);
  TColor GetColorCover() const { return FColorCover; }
  void SetColorCover(TColor C);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme S);
  TColor GetColorSclBkLow() const { return FColorBakGLow; }
  void SetColorSclBkLow(TColor C);
  TColor GetColorSclBkNorm() const { return FColorBakGNorm; }
  void SetColorSclBkNorm(TColor C);
  TColor GetColorSclBkHigh() const { return FColorBakGHigh; }
  void SetColorSclBkHigh(TColor C);
  bool GetScaleBkVisible() const { return FScaleBkVis; }
  void SetScaleBkVisible(bool B);
  double GetScaleBkWidth() const { return FScaleBakWidth; }
  void SetScaleBkWidth(double W);  // 0..100 percent of the radius
  // Any picture TBitmap reads. While loading the name is only stored and Loaded reads it
  // (a failure there clears the name).
  // A name that is no regular file is cleared. A file that cannot be read raises
  // EInvalidGraphic and keeps the previous name and picture.
  const std::string& GetBackGroundImg() const { return FBakGndFName; }
  void SetBackGroundImg(const std::string& Name) { SetBakGndFname(Name); }
  void SetBakGndFname(const std::string& Name);
  TBkgFill GetBkgndFillMode() const { return FBGFillMode; }
  void SetBkgndFillMode(TBkgFill M);
  bool GetAnchorCovered() const { return FAnchorCovrd; }
  void SetAnchorCovered(bool B);
  int GetAnchorSize() const { return FSizeAnchor; }
  void SetAnchorSize(int S);
  // Any failure clears the name silently.
  const std::string& GetAnchorImage() const { return FACoverFName; }
  void SetAnchorImage(const std::string& Name) { SetACoverFname(Name); }
  void SetACoverFname(const std::string& Name);
  bool GetLimWatchHighOn() const { return FLimWatHighOn; }
  void SetLimWatchHighOn(bool B);
  bool GetLimWatchLowOn() const { return FLimWatLowOn; }
  void SetLimWatchLowOn(bool B);
  TColor GetLimWatchActColor() const { return FLimWatActCol; }
  void SetLimWatchActColor(TColor C);
  TColor GetLimWatchPsvColor() const { return FLimWatPsvCol; }
  void SetLimWatchPsvColor(TColor C);
  // fsSimple draws in ColorBakG, so it shows only over a background picture.
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle S);
  TFont& GetFontCaption() { return FFontCaption; }
  void SetFontCaption(const TFont& F) { FFontCaption.Assign(F); }
  const TBitmap& GetBackgroundBitmap() const { return FAuxBGBmp; }
  const TBitmap& GetAnchorBitmap() const { return FAuxACBmp; }

  // --- conversions ---
  double CalcNeedleAngle(double Value) const;
  void ConvertToPixelCoords(double Value, double PctRadius, int& X, int& Y) const;
  // Ignores the distance from the centre; False and 0 outside the arc's sector.
  bool ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const;

  // Rebuilds the scale layer and repaints: for label texts that depend on what the meter
  // cannot see.
  void RebuildScale();

  // --- events ---
  TNotifyEvent OnOverFlow, OnUnderFlow, OnNormalRange;
  TMouseMoveInMeterEvent OnMouseMoveInMeter;
  // Runs with the canvas before the primary needle is drawn; NeedleDrawn true leaves it out.
  // The brush is solid afterwards, whatever the handler did with it.
  TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
  // Runs before the outer frame is drawn.
  TMeterRenderedEvent OnMeterRendered;
  // Runs for each label while the scale layer is rebuilt (a change of the range, the scale,
  // colours, fonts, size ...), not on every paint; RebuildScale runs it on request. Assigning
  // it rebuilds the scale.
  const TmtBeforeDrawScaleLabelEvent& GetOnBeforeDrawScaleLabel() const {
    return FOnBeforeDrawScaleLabel;
  }
  void SetOnBeforeDrawScaleLabel(TmtBeforeDrawScaleLabelEvent E);

  void MouseMove(TShiftState Shift, int X, int Y) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Loaded() override;
  void Paint() override;
  void FontChanged() override { ScaleChanged(); }
  void TextChanged() override { ScaleChanged(); }
  void VisibleChanged() override;

  void SetMinValue(double X);
  void SetMaxValue(double X);
  void SetLowThreshold(double X);
  void SetHighThreshold(double X);
  void SetTRim(int V);
  void SetBRim(int V);
  void SetSRim(int V);
  void CalcMeterLayoutParams();
  int CalcM(int Status, double A, double B) const;
  void DoOverFlowEvent();
  void DoUnderFlowEvent();
  void DoNormalRangeEvent();
  void MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue);
  void StyleChanged(TObject* Sender);

private:
  struct TNeedleShape {
    TPoint P[7];
  };
  // Geometry clamped to coordinates the canvas can take.
  struct TGeometry {
    int W, H, Rt, Rb, Rs, S, Cx, Cy;
    double R;
  };
  TGeometry Geometry() const;
  double Fraction(double V) const;
  double Phi(double V) const;  // degrees
  TNeedleShape NeedleShape(const TNeedleLayout& L, double V) const;
  TRect NeedleBounds(const TNeedleLayout& L, double V) const;
  TRect NeedlesBounds() const;
  void UpdateLampFlags(bool Visible);
  void Sanitize();
  bool LoadPicture(TBitmap& Target, const std::string& Name);
  // Repainting: the scale layer too, the composed picture, or only the needles.
  void ScaleChanged();
  void Changed();
  void NeedleMoved();
  bool MakeLayers();
  void BuildScaleLayer();
  void DrawBackground(TCanvas& C, const TGeometry& G);
  void DrawBands(TCanvas& C, const TGeometry& G);
  void DrawScale(TCanvas& C, const TGeometry& G);
  void DrawTick(TCanvas& C, const TGeometry& G, double V, double Inner);
  void DrawLabel(TCanvas& C, const TGeometry& G, double V, double Lx, double Ly);
  void ComposeFrame();
  void DrawNeedle(TCanvas& C, const TNeedleLayout& L, double V);
  void DrawNeedles(TCanvas& C, bool WithHook);
  void DrawTop(TCanvas& C, const TGeometry& G, bool WithHook);
  void DrawAnchor(TCanvas& C, const TGeometry& G);
  void DrawLamps(TCanvas& C, const TGeometry& G);
  void DrawOuterFrame(TCanvas& C, const TGeometry& G);
  TRect LampRect(const TGeometry& G, bool High) const;

  double FMinValue = 0.0, FMaxValue = 1.0;
  double FValue = 0.0, FValue2 = 0.0;
  double FLowThreshold = 0.0, FHighThreshold = 1.0;
  bool FLogarithmic = false;
  TMeterLayout FMeterLayout = mlCirc90;
  int FMeterAngle = 90;
  double FMeterRadius = 0.0;
  int FMeterCenterX = 0, FMeterCenterY = 0;
  int FTRim = 8, FBRim = 10, FSRim = 10;
  int FNrTicks = 3;
  int FDecPlaces = 1;
  bool FShortTicks = true, FScaleLine = true, FScaleVis = true;
  TColor FColorScale = clNavy;
  bool FOFL = false, FUFL = false;

  TNeedleLayout FNeedleLayout, FNeedle2Layout;
  TColor FColorBakG = clWhite;
  TColor FColorCover = clBtnFace;
  TColorScheme FColorScheme = csFixed;
  TColor FColGrayLine = clGray, FColWhiteLine = clWhite;
  TColor FColorBakGLow = clLime, FColorBakGNorm = 0x000080FF, FColorBakGHigh = clRed;
  bool FScaleBkVis = false;
  double FScaleBakWidth = 0.0;
  std::string FBakGndFName;
  TBkgFill FBGFillMode = bfNormal;
  bool FAnchorCovrd = true;
  int FSizeAnchor = 24;
  std::string FACoverFName;
  bool FLimWatHighOn = true, FLimWatLowOn = true;
  TColor FLimWatActCol = clRed, FLimWatPsvCol = clGray;
  TFrameStyle FFrameStyle = fsRaised;
  TFont FFontCaption;
  TBitmap FAuxBGBmp, FAuxACBmp, FAuxACMaskBmp;
  TmtBeforeDrawScaleLabelEvent FOnBeforeDrawScaleLabel;

  // Layers: the scale layer and the composed picture, both of the control's size.
  TBitmap FScaleLayer, FFrame;
  bool FScaleDirty = true;
  bool FFrameValid = false;
  bool FPainting = false;
  bool FQuiet = false;  // while Assign copies: one repaint at its end
  TRect FNeedleRect{};  // where the needles were drawn in the composed picture
  bool FLampHighLit = false, FLampLowLit = false;  // the lamps as drawn
};

}  // namespace kvl
