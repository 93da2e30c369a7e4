// Unit numlab: TNumLab, a read-only number in a framed label box with optional texts left and
// right of the box. The value is written in one of fifteen display types, may be changed by the
// host just before it is drawn, and gives way to an overflow indicator when it does not fit.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

// How the value is written (stored as one byte).
enum TDisplay : std::uint8_t {
  dtFloat,      // Precision significant digits, fixed or scientific, no trailing zeros
  dtFixP,       // Precision decimals
  dtExp,        // scientific, Precision significant digits: 1.23E+004
  dtHex,        // rounded integer in base 16 (upper-case digits), "-" before negatives
  dtZeroInt,    // rounded integer with at least Precision digits: 00042
  dtInt,        // rounded integer (halves to even)
  dtDateTime,   // date and time through DTFormat (platform/dates.h)
  dtState,      // StateText, whatever the value
  dtBin,        // rounded integer in base 2
  dtOct,        // rounded integer in base 8
  dtDeg,        // degrees with Precision decimals: 12.50°
  dtDegMin,     // degrees and minutes with Precision decimals: 12°30.00′
  dtDegMinSec,  // degrees, minutes and seconds with Precision decimals: 12°30′15.00″
  dtEEng,       // Precision significant digits, exponent a multiple of 3: 12.3E+003
  dtEEngNoDP    // the same with an integer mantissa: 12300E+000
};

// A byte from a stream or a cast beyond the listed types reads as dtFixP.
TDisplay DisplayFromByte(std::uint8_t B);

// Everything besides the value that decides the text of a number.
struct TNumLabTextForm {
  TDisplay DisplayType = dtFixP;
  int Precision = 2;  // 0 .. 15
  bool Comma = false;
  bool ForcePlusSign = false;
  std::string DTFormat = "mmm-dd, yyyy";
  std::string StateText = "undefined";
};

// The text of Value before the host sees it: the display type's form, then (except for dtHex,
// dtBin, dtDateTime and dtState) the separator Comma asks for and a "+" before values above 0
// when ForcePlusSign is set. Exponents have a sign and at least three digits; the sign of a
// number follows the value even when its shown digits are all zero ("-0.00"). std::nullopt
// when the type cannot write the value: not finite, an integer form beyond the 64-bit range,
// degrees and minutes or seconds beyond 2^63 minutes or seconds, a date outside the years 1
// to 9999.
std::optional<std::string> NumLabText(double Value, const TNumLabTextForm& Form);

using TBeforeDisplayEvent = std::function<void(TObject* Sender, std::string& Text)>;

class TNumLab : public TGraphicControl {
public:
  explicit TNumLab(TComponent* AOwner);

  // Copies the published state of another TNumLab (not Comma, ForcePlusSign, DTFormat and the
  // event) and repaints; any other source raises EConvertError.
  void Assign(const TPersistent* Source) override;

  // Every setter ignores an equal value, stores and repaints at once (a transparent label
  // repaints with its parent's background on the next paint cycle).
  double GetValue() const { return FValue; }
  void SetValue(double V);
  TDisplay GetDisplayType() const { return FDisplayType; }
  void SetDisplayType(TDisplay V);
  int GetPrecision() const { return FPrecision; }
  // Negative values are ignored, values above 15 become 15.
  void SetPrecision(int V);
  bool GetComma() const { return FComma; }
  void SetComma(bool V);
  bool GetForcePlusSign() const { return FForcePlusSign; }
  void SetForcePlusSign(bool V);
  bool GetEmpty() const { return FEmpty; }
  void SetEmpty(bool V);
  const std::string& GetOverflowIndicator() const { return FOverflowIndicator; }
  void SetOverflowIndicator(const std::string& V);
  const std::string& GetDTFormat() const { return FDTFormat; }
  void SetDTFormat(const std::string& V);
  const std::string& GetStateText() const { return FStateText; }
  void SetStateText(const std::string& V);

  // Layout: the left text in 0 .. LeftSpace, the label box of LabelWidth, the right text after.
  int GetLeftSpace() const { return FLeftSpace; }
  // Negative values are ignored, values beyond Width become Width.
  void SetLeftSpace(int V);
  int GetLabelWidth() const { return FLabelWidth; }
  // Negative values are ignored.
  void SetLabelWidth(int V);
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& V);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& V);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLeftTextAlignment(TAlignment V);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRightTextAlignment(TAlignment V);

  // Looks.
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme V);
  TColor GetColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor C);
  TColor GetColorLabText() const { return FColorLabText; }
  void SetColorLabText(TColor C);
  TColor GetColorOutBakG() const { return FColorOutBakG; }
  void SetColorOutBakG(TColor C);
  TColor GetColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor C);
  // The parent shows through the white parts; turning it on invalidates instead of painting.
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool V);
  void SetEnabled(bool V) override;

  // Where the mouse last moved: 0 up to LeftSpace, 1 over the box, 2 beyond it.
  int GetMouseAreaCode() const { return FMouseAreaCode; }

  // Called with the finished text just before it is measured and drawn.
  TBeforeDisplayEvent OnBeforeDisplay;

  void MouseMove(TShiftState Shift, int X, int Y) override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void FontChanged() override { Changed(); }

private:
  // Repaints now, or on the next paint cycle where painting now cannot be right.
  void Changed();
  TNumLabTextForm TextForm() const;
  // The text the box shows: the value's text, the host's change, the overflow rule.
  std::string ShownText(TCanvas& C);
  // Painting steps, into the off-screen bitmap.
  void PaintSideTexts(TCanvas& C, int Y0);
  void PaintBox(TCanvas& C);
  void PaintNumber(TCanvas& C, int Y0);
  void Output();

  double FValue = 0.0;
  TDisplay FDisplayType = dtFixP;
  int FPrecision = 2;
  bool FComma = false;
  bool FForcePlusSign = false;
  bool FEmpty = false;
  std::string FOverflowIndicator = "*********";
  std::string FDTFormat = "mmm-dd, yyyy";
  std::string FStateText = "undefined";

  int FLeftSpace = 35;
  int FLabelWidth = 80;
  std::string FLeftText, FRightText;
  TAlignment FAlignment = taCenter;
  TAlignment FLeftTextAlignment = taRightJustify;
  TAlignment FRightTextAlignment = taLeftJustify;

  TFrameStyle FFrameStyle = fsLowered;
  TColorScheme FColorScheme = csFixed;
  TColor FColDark = clBlack, FColShadow = clGray, FColLight = clWhite;
  TColor FColorLabBakG = clBtnFace, FColorLabText = clBlack;
  TColor FColorOutBakG = clBtnFace, FColorOutText = clBlack;
  bool FTransparent = false;

  int FMouseAreaCode = 0;
  bool FPainting = false;
  TBitmap FOffscreen;
};

}  // namespace kvl
