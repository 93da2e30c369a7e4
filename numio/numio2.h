// TNumIO2: a custom-drawn numeric entry field with its own text buffer, caret and selection,
// checking every keystroke against its input format, with optional label texts, spin buttons
// and a gauge bar.
#pragma once

#include <functional>
#include <string>

#include "kvl/core/dstruct.h"
#include "kvl/core/kvlbase.h"
#include "kvl/numio/numio.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/timers.h"

namespace kvl {

class EKVLNumIO2Error : public EKVLError {
public:
  using EKVLError::EKVLError;
};

using TOnGaugeChangeEvent =
    std::function<void(TObject* Sender, TShiftState Shift, double GaugeValue)>;

class TNumIO2 : public TCustomControl {
public:
  explicit TNumIO2(TComponent* AOwner);
  ~TNumIO2() override;

  void Assign(const TPersistent* Source) override;

  // Value and text.
  double GetValue() const;
  void SetValue(double V);
  const std::string& GetText() const override { return FInBuffer; }
  void SetText(const std::string& S) override;
  // Value rounded to an integer; raises EKVLNumIO2Error "integer overflow" outside 32 bits.
  int GetIntegerValue() const;
  bool OutOfRange() const;
  bool CheckValidity(std::string_view Instring) const;
  TInFormat GetInputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat F);
  int GetFixPointDecPlaces() const { return FFixPointDecPlaces; }
  void SetFixPointDecPlaces(int N);
  int GetSignificantDigits() const { return FSignificantDigits; }
  void SetSignificantDigits(int N);
  TDecPSep GetDecPlaceSep() const { return FDecPlaceSep; }
  void SetDecPlaceSep(TDecPSep Sep);
  double GetRangeLow() const { return FRangeLow; }
  void SetRangeLow(double V);
  double GetRangeHigh() const { return FRangeHigh; }
  void SetRangeHigh(double V);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool V);
  bool GetBeep() const { return FBeep; }
  void SetBeep(bool V) { FBeep = V; }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool V);
  void SetEnabled(bool V) override;

  // Caret and selection, as character positions.
  int GetSelBegin() const { return FSelBegin; }
  void SetSelBegin(int P);
  int GetSelEnd() const { return FSelEnd; }
  void SetSelEnd(int P);
  int GetCaretPos() const { return FCaretPos; }
  bool GetCaretVisible() const { return FCaretVisib; }
  // 0 when the mouse was last left of the text box, 1 over it, 2 right of it.
  int GetMouseAreaCode() const { return FMouseAreaCode; }
  int CharPosToXCoords(int CharPos);
  int XCoordsToCharPos(int X);

  // Layout and looks.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool V);
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int V);
  int GetTextBoxWidth() const { return FTextBoxWidth; }
  void SetTextBoxWidth(int V);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& V);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& V);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLeftTextAlignment(TAlignment V);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRightTextAlignment(TAlignment V);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme V);
  TColor GetColorBoxBG() const { return FColorBoxBG; }
  void SetColorBoxBG(TColor C);
  TColor GetColorBoxText() const { return FColorBoxText; }
  void SetColorBoxText(TColor C);
  TColor GetColorWarnBG() const { return FColorWarnBG; }
  void SetColorWarnBG(TColor C);
  TColor GetColorWarnText() const { return FColorWarnText; }
  void SetColorWarnText(TColor C);
  TColor GetColorOutBG() const { return FColorOutBG; }
  void SetColorOutBG(TColor C);
  TColor GetColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor C);

  // Spin buttons.
  bool GetButVisible() const { return FButVisible; }
  void SetButVisible(bool V);
  bool GetBut3D() const { return FBut3D; }
  void SetBut3D(bool V);
  int GetButWidth() const { return FButWidth; }
  void SetButWidth(int V);
  int GetButHeight() const { return FButHeight; }
  void SetButHeight(int V);
  int GetButSpace() const { return FButSpace; }
  void SetButSpace(int V);
  TColor GetButColor() const { return FButColor; }
  void SetButColor(TColor C);
  double GetButIncrem() const { return FButIncrem; }
  void SetButIncrem(double V) { FButIncrem = V; }

  // Gauge.
  bool GetGaugeVisible() const { return FGaugeVisible; }
  void SetGaugeVisible(bool V);
  int GetGaugeHeight() const { return FGaugeHeight; }
  void SetGaugeHeight(int V);
  int GetGaugeWidth() const { return FGaugeWidth; }
  void SetGaugeWidth(int V);
  int GetGaugeLeftMargin() const { return FGaugeLeftMargin; }
  void SetGaugeLeftMargin(int V);
  int GetGaugeTopMargin() const { return FGaugeTopMargin; }
  void SetGaugeTopMargin(int V);
  TColor GetGaugeColor() const { return FGaugeColor; }
  void SetGaugeColor(TColor C);
  TColor GetGaugeColorBg() const { return FGaugeColorBg; }
  void SetGaugeColorBg(TColor C);
  TColor GetGaugeColorFrame() const { return FGaugeColorFrame; }
  void SetGaugeColorFrame(TColor C);
  TFrameStyle GetGaugeFrameStyle() const { return FGaugeFrameStyle; }
  void SetGaugeFrameStyle(TFrameStyle V);

  // Snap values of the spin buttons and the gauge; empty: steps of ButIncrem.
  TDoubleArray ButtonPivots;

  TNotifyEvent OnChange;
  TOnGaugeChangeEvent OnGaugeChange;
  // Fires OnChange.
  void Changed();

  void SetFocus() override;
  void Click() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusIn() override;
  void FocusOut() override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void PaintBackground(TCanvas&) override {}
  void CreateWnd() override;
  void FontChanged() override { Paint(); }

private:
  TSepMode SepMode() const;
  // Stores a new buffer and keeps caret and selection inside it.
  void SetBuffer(std::string S);
  void ClampPositions();
  void UpdateTimer();
  void CaretTick();
  void DoBeep() const;
  // Key handling steps.
  bool CtrlKey(std::uint16_t Key);
  bool PlainKey(std::uint16_t Key);
  void InsertText(const std::string& S);
  void DeleteSelection();
  // Layout.
  int GaugeBand() const;
  int TextTop(TCanvas& C) const;
  // Painting steps, into the off-screen bitmap.
  void PaintLabels(TCanvas& C, int Y0);
  void PaintButtons(TCanvas& C);
  void PaintGauge(TCanvas& C);
  void PaintBox(TCanvas& C, bool Warn);
  void PaintNumber(TCanvas& C, int Y0, bool Warn);
  void PaintLine3D(TCanvas& C, TFrameStyle Style, TPoint A, TPoint B, TPoint C2, TPoint D, TPoint E,
                   TPoint F);
  // Spin buttons and gauge.
  void SpinStep(bool Up);
  double GaugeValueAt(int X) const;
  int NearestPivot(double V) const;

  std::string FInBuffer;
  int FCaretPos = 0;
  int FSelBegin = 0;
  int FSelEnd = 0;
  bool FCaretVisib = false;
  bool FKeyShifted = false;
  bool FKeyCntrl = false;
  bool FOnlineCheck = true;
  bool FValueChanged = false;
  bool FSuppressPaint = true;
  bool FPainting = false;
  bool FSelecting = false;      // a press in the text band drags the selection
  bool FGaugeDragging = false;  // a press in the gauge drags its value
  int FMouseAreaCode = 0;

  TInFormat FInputFormat = itFloat;
  int FFixPointDecPlaces = 2;
  int FSignificantDigits = 6;
  TDecPSep FDecPlaceSep = dpsBoth;
  double FRangeLow = 0.0;
  double FRangeHigh = 1000.0;
  bool FReadOnly = false;
  bool FBeep = false;
  bool FHideSelection = true;

  bool FAutoSize = false;
  int FLeftSpace = 35;
  int FTextBoxWidth = 80;
  TAlignment FAlignment = taCenter;
  std::string FLeftText, FRightText;
  TAlignment FLeftTextAlignment = taRightJustify;
  TAlignment FRightTextAlignment = taLeftJustify;
  TFrameStyle FFrameStyle = fsLowered;
  TColorScheme FColorScheme = csFixed;
  TColor FColDark = clBlack, FColShadow = clGray, FColLight = clWhite;
  TColor FColorBoxBG = clWhite, FColorBoxText = clBlack;
  TColor FColorWarnBG = 0x6088FFF0, FColorWarnText = clRed;
  TColor FColorOutBG = clBtnFace, FColorOutText = clBlack;

  bool FButVisible = false;
  bool FBut3D = true;
  int FButWidth = 18;
  int FButHeight = 28;
  int FButSpace = 3;
  TColor FButColor = clSilver;
  double FButIncrem = 1.0;

  bool FGaugeVisible = false;
  int FGaugeHeight = 8;
  int FGaugeWidth = 82;
  int FGaugeLeftMargin = 35;
  int FGaugeTopMargin = 3;
  TColor FGaugeColor = clNavy, FGaugeColorBg = clSilver, FGaugeColorFrame = clGray;
  TFrameStyle FGaugeFrameStyle = fsLowered;

  TBitmap FOffscreen;
  TPrivateTimer FCaretTimer;
};

}  // namespace kvl
