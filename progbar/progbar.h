// Unit progbar: TProgBar, a value between Min and Max shown as a bar inside a margin, solid or
// with a 1024-step colour gradient, with grid lines, two frames and the value as rotatable text.
// A private timer can advance the value by itself, which makes the bar an activity indicator.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/timers.h"

namespace kvl {

class EKVLProgBar : public EKVLError {
public:
  using EKVLError::EKVLError;
};

// How the colour table is laid over the bar (stored as one byte).
enum TColorMapping : std::uint8_t {
  cgmCover,    // fixed to the inner area; the bar uncovers it
  cgmStretch,  // the whole table stretched over the bar
  cgmMove      // the bar's leading line has the last entry; the table moves with it
};

using TBeforeShowValueEvent = std::function<void(TObject* Sender, std::string& ValueText)>;

// The value text: Decimals 0..10 fixed with "." whatever the locale; -1 a mantissa with three
// decimals and a two-digit exponent ("1.234E+05", asterisks when the exponent needs more); -2
// the same with a four-digit exponent. "NaN", "Inf" and "-Inf" in every form.
std::string ProgBarValueText(double Value, int Decimals);

class TProgBar : public TGraphicControl {
public:
  static constexpr int NumBarColors = 1024;

  explicit TProgBar(TComponent* AOwner);

  // Copies the look, the value and range, the colour table and the background picture's
  // pixels, never the timer settings; repaints.
  void Assign(const TPersistent* Source) override;

  // Setters repaint at once. Value and range are never clamped: a value above Max runs into
  // the margin, one below Min draws no gradient. Max = Min (or a value that is not finite)
  // draws no bar but still the text.
  double GetValue() const { return FProgValue; }
  void SetValue(double V);
  double GetMin() const { return FProgMin; }
  void SetMin(double V);
  double GetMax() const { return FProgMax; }
  void SetMax(double V);
  // Stores the smaller as Min and the larger as Max.
  void SetRange(double AMin, double AMax);
  TDirection GetDirection() const { return FDirection; }
  void SetDirection(TDirection V);

  bool GetShowColorGradient() const { return FColorGrad; }
  void SetShowColorGradient(bool V);
  TColorMapping GetColorMapMode() const { return FColorMapMode; }
  void SetColorMapMode(TColorMapping V);
  // Entry 0 and entry 1023; writing either recomputes the entries between (discarding
  // BarColors writes there).
  TColor GetColorMin() const { return FBarColorArray[0]; }
  void SetColorMin(TColor C);
  TColor GetColorMax() const { return FBarColorArray[NumBarColors - 1]; }
  void SetColorMax(TColor C);
  // One entry of the table; outside 0..1023 reads give 0 and writes are ignored. Writing does
  // not repaint.
  TColor GetBarColors(int Ix) const;
  void SetBarColors(int Ix, TColor C);
  TColor GetColorBackGnd() const { return FColorBakG; }
  void SetColorBackGnd(TColor C);
  TColor GetColorMargin() const { return FColorMargin; }
  void SetColorMargin(TColor C);
  TColor GetColorGrid() const { return FColorGrid; }
  void SetColorGrid(TColor C);
  // Grid lines only when above 1.
  int GetGridDist() const { return FGridDist; }
  void SetGridDist(int V);
  int GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int V);
  int GetMarginRight() const { return FMarginRight; }
  void SetMarginRight(int V);
  int GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(int V);
  int GetMarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int V);
  TFrameStyle GetFrameStyleOuter() const { return FOuterFrameSt; }
  void SetFrameStyleOuter(TFrameStyle V);
  TFrameStyle GetFrameStyleInner() const { return FInnerFrameSt; }
  void SetFrameStyleInner(TFrameStyle V);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme V);

  // A picture file stretched into the inner area. Only regular files are read; a name that
  // does not load keeps the previous name and picture. An empty name clears it.
  const std::string& GetBackGroundImg() const { return FBakGndFile; }
  void SetBackGroundImg(const std::string& Name);

  bool GetTextVisible() const { return FShowValue; }
  void SetTextVisible(bool V);
  // Clamped to 0..Width (0..Height) when set.
  int GetTextPosX() const { return FTextPosX; }
  void SetTextPosX(int V);
  int GetTextPosY() const { return FTextPosY; }
  void SetTextPosY(int V);
  TAlignment GetTextAlignment() const { return FAlignment; }
  void SetTextAlignment(TAlignment V);
  // 0..360 degrees, counter-clockwise about the text's top-left.
  int GetTextAngle() const { return FTextAngle; }
  void SetTextAngle(int V);
  // -2..10, see ProgBarValueText.
  int GetTextDecPlaces() const { return FTextDecPlaces; }
  void SetTextDecPlaces(int V);

  // Auto increment: after StartInterval ms, then every RepeatInterval ms, AutoIncStep is added
  // to Value and OnAutoInc fires. At design time only the flag is stored.
  bool GetAutoInc() const { return FTimerEnabled; }
  void SetAutoInc(bool V);
  double GetAutoIncStep() const { return FAutoIncStep; }
  // 0 is ignored.
  void SetAutoIncStep(double V);
  int GetStartInterval() const { return FStartIv; }
  void SetStartInterval(int V);
  int GetRepeatInterval() const { return FRepeatIv; }
  void SetRepeatInterval(int V);
  const TNotifyEvent& GetOnAutoInc() const { return FOnAutoInc; }
  // Assigning restarts the timer in its repeat phase.
  void SetOnAutoInc(TNotifyEvent E);

  TBeforeShowValueEvent OnShowValue;

  // Stored for designers; the framework does not apply them.
  const TSizeConstraints& GetConstraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& V) { FConstraints = V; }

  // The background picture as loaded.
  const TBitmap& GetAuxBmp() const { return AuxBmp; }

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void FontChanged() override { Paint(); }
  virtual void DoTimer();
  virtual void AutoIncEvent();
  void InitTimer();
  void UpdateTimer();

private:
  void FillColorTable();
  void PaintBar(TCanvas& C);
  void PaintFrame(TCanvas& C, TFrameStyle Style, int X1, int Y1, int X2, int Y2);
  void PaintText(TCanvas& C);
  void SetMargin(int& Field, int V);

  TPrivateTimer FTimer{*this, [this] { DoTimer(); }};
  bool FTimerEnabled = false;
  bool FIsStart = true;
  TNotifyEvent FOnAutoInc;
  double FAutoIncStep = 1.0;
  int FRepeatIv = 700;
  int FStartIv = 1500;

  TFrameStyle FOuterFrameSt = fsRaised;
  TFrameStyle FInnerFrameSt = fsLowered;
  double FProgValue = 10.0;
  double FProgMax = 100.0;
  double FProgMin = 0.0;
  TDirection FDirection = dirRight;
  std::array<TColor, NumBarColors> FBarColorArray{};
  TBitmap AuxBmp{10, 10};
  TColor FColorMargin = clSilver;
  TColor FColorBakG = clSilver;
  bool FColorGrad = false;
  TColor FColorGrid = clBlack;
  int FGridDist = 0;
  TColor FColBlackLine = clBlack, FColGrayLine = clGray, FColWhiteLine = clWhite;
  TColorScheme FColorScheme = csFixed;
  TColorMapping FColorMapMode = cgmStretch;
  int FMarginLeft = 4, FMarginRight = 4, FMarginTop = 4, FMarginBottom = 4;
  std::string FBakGndFile;
  int FTextPosX = 14, FTextPosY = 14;
  int FTextDecPlaces = 0;
  int FTextAngle = 0;
  TAlignment FAlignment = taCenter;
  bool FShowValue = true;

  TSizeConstraints FConstraints;
  TBitmap FOffscreen;
  // The background picture stretched to the inner area's size, kept until either changes.
  TBitmap FStretched;
  bool FStretchedValid = false;
};

}  // namespace kvl
