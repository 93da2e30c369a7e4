// The numeric entry page: fields in every format, with label texts, spin buttons and gauges.
#include "kvl/numio/numedit.h"
#include "kvl/numio/numio2.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

TNumIO2* Field(TWinControl& Host, int Top, const std::string& Left, const std::string& Right) {
  auto* F = new TNumIO2(&Host);
  F->SetParent(&Host);
  F->SetBounds(12, Top, 330, 28);
  F->SetLeftSpace(110);
  F->SetTextBoxWidth(110);
  F->SetLeftText(Left);
  F->SetRightText(Right);
  return F;
}

}  // namespace

void BuildNumioPage(TWinControl& Host) {
  TNumIO2* Float = Field(Host, 12, "Float", "volts");
  Float->SetValue(3.3);
  Float->SetName("FloatField");

  TNumIO2* Fix = Field(Host, 52, "Fixed point", "mm");
  Fix->SetInputFormat(itFixPoint);
  Fix->SetFixPointDecPlaces(3);
  Fix->SetButVisible(true);
  Fix->SetButIncrem(0.005);
  Fix->SetRangeHigh(10);
  Fix->SetValue(1.25);

  TNumIO2* Gauge = Field(Host, 92, "Integer", "rpm");
  Gauge->SetBounds(12, 92, 330, 40);
  Gauge->SetInputFormat(itInt);
  Gauge->SetRangeHigh(6000);
  Gauge->SetGaugeVisible(true);
  Gauge->SetGaugeLeftMargin(110);
  Gauge->SetGaugeWidth(112);
  Gauge->SetValue(2400);

  TNumIO2* Hex = Field(Host, 144, "Hexadecimal", "register");
  Hex->SetInputFormat(itHex);
  Hex->SetAlignment(taRightJustify);
  Hex->SetRangeHigh(65535);
  Hex->SetValue(48879);

  TNumIO2* Exp = Field(Host, 184, "Scientific", "Hz");
  Exp->SetInputFormat(itExp);
  Exp->SetSignificantDigits(4);
  Exp->SetRangeHigh(1e9);
  Exp->SetValue(1.5e7);

  TNumIO2* Dynamic = Field(Host, 224, "Dynamic", "$ % & prefixes");
  Dynamic->SetInputFormat(itDynamic);
  Dynamic->SetAlignment(taLeftJustify);
  Dynamic->SetText("$1F");

  TNumIO2* Warn = Field(Host, 264, "Out of range", "0 ... 100");
  Warn->SetRangeHigh(100);
  Warn->SetValue(140);
  Warn->SetFrameStyle(fsSimple);

  TNumIO2* Pivots = Field(Host, 304, "Pivots", "1-2-5 steps");
  for (double P : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) Pivots->ButtonPivots.Add(P);
  Pivots->SetInputFormat(itInt);
  Pivots->SetButVisible(true);
  Pivots->SetRangeHigh(100);
  Pivots->SetValue(20);
  Pivots->SetFrameStyle(fsRaised);

  TNumIO2* Disabled = Field(Host, 344, "Disabled", "read only too");
  Disabled->SetValue(42.5);
  Disabled->SetReadOnly(true);
  Disabled->SetEnabled(false);
  Disabled->SetButVisible(true);

  // The edit-based boxes: each keystroke is checked against the format and the range.
  const auto Box = [&](int Top, const std::string& Caption, TInFormat Format, double Low,
                       double High, double Value) {
    auto* L = new TLabel(&Host);
    L->SetParent(&Host);
    L->SetBounds(360, Top + 4, 120, 20);
    L->SetAutoSize(false);
    L->SetAlignment(taRightJustify);
    L->SetCaption(Caption);
    auto* B = new TNumIO(&Host);
    B->SetParent(&Host);
    B->SetBounds(490, Top, 140, 24);
    B->SetInputFormat(Format);
    B->SetRangeLow(Low);
    B->SetRangeHigh(High);
    B->SetValue(Value);
    B->SetBeep(true);
    L->SetFocusControl(B);
  };
  Box(12, "Edit box, float", itFloat, -100, 100, 12.5);
  Box(52, "Fixed point", itFixPoint, 0, 10, 2.75);
  Box(92, "Integer 0..100", itInt, 0, 100, 42);
  Box(144, "Hexadecimal", itHex, 0, 65535, 4096);
  Box(184, "Scientific", itExp, -1e9, 1e9, 6.02e5);
  Box(224, "Dynamic", itDynamic, -1e6, 1e6, 255);
}

}  // namespace kvl::gallery
