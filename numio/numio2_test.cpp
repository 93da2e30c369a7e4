// TNumIO2: value and text model, keyboard, clipboard, mouse, spin buttons, gauge and timer,
// driven as a person would through the test driver.
#include "kvl/numio/numio2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kvl/core/univconst.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/forms.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class NumIO2Test : public TControlTest<TNumIO2> {
protected:
  TNumIO2* F = nullptr;
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    F = Ctl;
    F->SetName("NumIO1");
    F->SetBeep(true);
    F->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    F->SetFocus();
  }
  void Keys(std::initializer_list<std::uint16_t> Ks) {
    for (auto K : Ks) D.Press(*Form, K);
  }
  void Ctrl(char Letter) {
    D.KeyDown(*Form, vk::Control);
    D.Press(*Form, std::uint16_t(Letter));
    D.KeyUp(*Form, vk::Control);
  }
  int Beeps() { return D.Host().GetBeepCount(); }
};

TEST_F(NumIO2Test, TypingInsertsAtTheCaretAndRefusesWhatTheFormatRejects) {
  Keys({'1', '2', vk::OemPeriod, '5'});
  EXPECT_EQ(F->GetText(), "12.5");
  EXPECT_EQ(Changes, 4);
  Keys({vk::OemPeriod});  // a second separator fails the float check
  EXPECT_EQ(F->GetText(), "12.5");
  EXPECT_EQ(F->GetCaretPos(), 4);
  EXPECT_EQ(Beeps(), 1);
  Keys({vk::Home, vk::Subtract, vk::Right, vk::Right, vk::Back, vk::End, vk::Left, vk::Delete});
  EXPECT_EQ(F->GetText(), "-1.");
  EXPECT_DOUBLE_EQ(F->GetValue(), -1);
  Keys({'X'});  // not a key of the field
  EXPECT_EQ(Beeps(), 2);
  EXPECT_EQ(F->GetText(), "-1.");
  // Backspace at the start and Delete at the end change nothing and fire nothing.
  const int Before = Changes;
  Keys({vk::Home, vk::Back, vk::End, vk::Delete});
  EXPECT_EQ(Changes, Before);
}

TEST_F(NumIO2Test, KeyMappingCoversPadShiftedDigitsAndSeparators) {
  F->SetInputFormat(itDynamic);
  F->SetText("");
  D.KeyDown(*Form, vk::Shift);
  Keys({'4'});  // "$" alone is not a number yet
  D.KeyUp(*Form, vk::Shift);
  EXPECT_EQ(F->GetText(), "");
  Keys({'1', 'F'});  // decimal without a prefix: no "F"
  EXPECT_EQ(F->GetText(), "1");
  Keys({vk::Home});
  D.KeyDown(*Form, vk::Shift);
  Keys({'4'});
  D.KeyUp(*Form, vk::Shift);
  Keys({vk::End, 'F'});
  EXPECT_EQ(F->GetText(), "$1F");
  EXPECT_DOUBLE_EQ(F->GetValue(), 31);

  F->SetInputFormat(itFloat);
  F->SetText("");
  F->SetDecPlaceSep(dpsPoint);
  Keys({vk::Numpad0 + 7, vk::Decimal, vk::Numpad0 + 5});  // the pad's separator fits the mode
  EXPECT_EQ(F->GetText(), "7.5");
  F->SetDecPlaceSep(dpsComma);
  EXPECT_EQ(F->GetText(), "7,5");
  Keys({vk::Home, vk::Add});
  EXPECT_EQ(F->GetText(), "+7,5");
  Keys({vk::OemMinus});  // "+-7,5" fails
  EXPECT_EQ(F->GetText(), "+7,5");

  // A comma-only field writes its values with the comma and stays editable.
  for (TInFormat Fmt : {itFloat, itFixPoint, itExp}) {
    F->SetInputFormat(Fmt);
    F->SetValue(1.5);
    EXPECT_NE(F->GetText().find(','), std::string::npos) << F->GetText();
    EXPECT_DOUBLE_EQ(F->GetValue(), 1.5);
    if (Fmt == itExp) continue;
    Keys({vk::Home, '2'});
    EXPECT_EQ(F->GetText(), "21,50");
  }
}

TEST_F(NumIO2Test, SelectionIsReplacedAndDeletingAllLeavesTheZeroText) {
  F->SetText("123.45");
  F->SetSelBegin(1);
  F->SetSelEnd(3);
  Keys({'9'});
  EXPECT_EQ(F->GetText(), "19.45");
  F->SetSelBegin(0);
  F->SetSelEnd(5);
  Keys({vk::Delete});
  EXPECT_EQ(F->GetText(), "0.00");
  EXPECT_EQ(F->GetCaretPos(), 0);
  // Setting the ends keeps them ordered and inside the text.
  F->SetSelEnd(99);
  EXPECT_EQ(F->GetSelEnd(), 4);
  F->SetSelBegin(-3);
  EXPECT_EQ(F->GetSelBegin(), 0);
  F->SetSelBegin(4);
  F->SetSelEnd(2);
  EXPECT_EQ(F->GetSelBegin(), 2);
}

TEST_F(NumIO2Test, ClipboardCopyCutAndPaste) {
  F->SetText("-12.75");
  F->SetSelBegin(1);
  F->SetSelEnd(3);
  Ctrl('C');
  EXPECT_EQ(Clipboard().GetAsText(), "12");
  EXPECT_EQ(F->GetText(), "-12.75");
  Ctrl('X');
  EXPECT_EQ(F->GetText(), "-.75");
  Clipboard().SetAsText("3\r\n");
  Ctrl('V');
  EXPECT_EQ(F->GetText(), "-3.75");
  Clipboard().SetAsText("1e5");  // fails the float check: refused
  Ctrl('V');
  EXPECT_EQ(F->GetText(), "-3.75");
  Clipboard().SetAsText("4\t4");  // control characters never reach the buffer
  const int Before = Beeps();
  Ctrl('V');
  EXPECT_EQ(F->GetText(), "-3.75");
  EXPECT_GT(Beeps(), Before);
  Clipboard().SetAsText(std::string(2000, '1'));
  Ctrl('V');
  EXPECT_EQ(F->GetText(), "-3.75");
}

TEST_F(NumIO2Test, ReadOnlyAllowsOnlyCopy) {
  F->SetText("42.5");
  F->SetSelBegin(0);
  F->SetSelEnd(2);
  F->SetReadOnly(true);
  EXPECT_FALSE(F->GetCaretVisible());
  Keys({'7', vk::Delete, vk::Back});
  Ctrl('X');
  EXPECT_EQ(F->GetText(), "42.5");
  Ctrl('C');
  EXPECT_EQ(Clipboard().GetAsText(), "42");
  EXPECT_EQ(Changes, 0);
}

TEST_F(NumIO2Test, FixPointSelectsTheDigitAfterTheCaretInTheDecimals) {
  F->SetInputFormat(itFixPoint);
  F->SetValue(12.5);
  EXPECT_EQ(F->GetText(), "12.50");
  Keys({vk::End, vk::Left, vk::Left});
  EXPECT_EQ(F->GetSelBegin(), 3);
  EXPECT_EQ(F->GetSelEnd(), 4);
  Keys({'7'});
  EXPECT_EQ(F->GetText(), "12.70");
  Keys({'3'});
  EXPECT_EQ(F->GetText(), "12.73");
  // At the end nothing lies after the caret: nothing beyond the text is selected.
  Keys({vk::End, '9'});
  EXPECT_EQ(F->GetText(), "12.73");
  EXPECT_LE(F->GetSelEnd(), 5);
}

TEST_F(NumIO2Test, CaretAndSelectionStayInsideAShorterText) {
  F->SetText("123456.00");
  Keys({vk::End});
  F->SetValue(1);
  EXPECT_EQ(F->GetText(), "1.00");
  EXPECT_EQ(F->GetCaretPos(), 4);
  Keys({vk::Back, '5'});
  EXPECT_EQ(F->GetText(), "1.05");
  // A click right of the text puts the caret at its end, not beyond.
  D.Click(*F, F->GetLeftSpace() + F->GetTextBoxWidth() - 2, 10);
  EXPECT_EQ(F->GetCaretPos(), 4);
  EXPECT_EQ(F->XCoordsToCharPos(10000), 4);
  EXPECT_EQ(F->XCoordsToCharPos(-10000), 0);
}

TEST_F(NumIO2Test, ValueTextFormatsAndIntegerView) {
  F->SetInputFormat(itInt);
  F->SetText("");
  F->SetText("-");
  EXPECT_EQ(F->GetText(), "");  // "-" is typed, not assigned
  Keys({vk::OemMinus});
  EXPECT_EQ(F->GetText(), "-");
  F->SetText("-99999999999");
  EXPECT_DOUBLE_EQ(F->GetValue(), -2147483648.0);
  EXPECT_EQ(F->GetIntegerValue(), INT32_MIN);
  F->SetInputFormat(itFloat);
  F->SetValue(2147483647.4);
  EXPECT_THROW(
      {
        try {
          (void)F->GetIntegerValue();
        } catch (const EKVLNumIO2Error& E) {
          EXPECT_STREQ(E.what(), "Component \"NumIO1\": integer overflow");
          throw;
        }
      },
      EKVLNumIO2Error);
  F->SetValue(2147483647);
  EXPECT_EQ(F->GetIntegerValue(), 2147483647);
  F->SetValue(2.5);
  EXPECT_EQ(F->GetIntegerValue(), 2);  // halves to even

  // Values without a text of their own.
  F->SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(F->GetText(), "2.50");
  // (itExp shows asterisks for exponents of 100 and more: its overflow display.)
  for (TInFormat Fmt : {itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic}) {
    F->SetInputFormat(Fmt);
    for (double V : {std::numeric_limits<double>::infinity(), -1e300, 1e300}) {
      F->SetValue(V);
      EXPECT_TRUE(F->CheckValidity(F->GetText())) << int(Fmt) << " " << F->GetText();
    }
  }
  F->SetInputFormat(itExp);
  F->SetText(".E5");
  EXPECT_EQ(F->GetValue(), 0);
  F->Repaint();
}

TEST_F(NumIO2Test, FormatAndPrecisionChangesRewriteTheValue) {
  F->SetValue(12.345);
  EXPECT_EQ(F->GetText(), "12.35");
  F->SetFixPointDecPlaces(0);  // ignored
  F->SetFixPointDecPlaces(40);
  EXPECT_EQ(F->GetFixPointDecPlaces(), 15);
  F->SetFixPointDecPlaces(1);
  EXPECT_EQ(F->GetText(), "12.4");
  F->SetInputFormat(itHex);
  EXPECT_EQ(F->GetText(), "0000000C");
  F->SetValue(12);
  F->SetInputFormat(itExp);
  F->SetSignificantDigits(3);
  EXPECT_EQ(F->GetText(), " 1.20E+01");
  F->SetText("zz");  // invalid: ignored without error
  EXPECT_EQ(F->GetText(), " 1.20E+01");
}

TEST_F(NumIO2Test, RangeBoundsMoveEachOther) {
  F->SetRangeLow(50);
  F->SetRangeHigh(20);
  EXPECT_EQ(F->GetRangeLow(), 20);
  F->SetRangeLow(30);
  EXPECT_EQ(F->GetRangeHigh(), 30);
  F->SetValue(31);
  EXPECT_TRUE(F->OutOfRange());
}

TEST_F(NumIO2Test, StuckModifiersAreForgottenWhenTheFocusGoes) {
  D.KeyDown(*Form, vk::Control);
  THostEvent Out;
  Out.Kind = THostEventKind::FocusOut;
  Out.Window = Form->GetWindow();
  D.Host().Post(Out);
  D.Settle();
  THostEvent In = Out;
  In.Kind = THostEventKind::FocusIn;
  D.Host().Post(In);
  D.Settle();
  // The release happened elsewhere; the driver still thinks Ctrl is down, so send the digit
  // with the state the desktop reports after the focus came back: no modifiers.
  THostEvent Key;
  Key.Kind = THostEventKind::KeyDown;
  Key.Window = Form->GetWindow();
  Key.Key = '5';
  D.Host().Post(Key);
  D.Settle();
  EXPECT_EQ(F->GetText(), "5");
}

TEST_F(NumIO2Test, SpinButtonsStepWithinTheRangeOrAlongThePivots) {
  F->SetButVisible(true);
  F->SetRangeHigh(2);
  F->SetValue(1.5);
  const int Bx = F->GetLeftSpace() + F->GetTextBoxWidth() + F->GetButSpace() + 5;
  D.Click(*F, Bx, 5);
  EXPECT_EQ(F->GetText(), "2.00");  // stopped at RangeHigh
  D.AdvanceTime(1000);
  D.Click(*F, Bx, 20);
  EXPECT_EQ(F->GetText(), "1.00");
  EXPECT_EQ(Changes, 2);

  for (double P : {0.0, 10.0, 20.0}) F->ButtonPivots.Add(P);
  const auto Step = [&](double From, bool Up) {
    F->SetValue(From);
    D.AdvanceTime(1000);
    D.Click(*F, Bx, Up ? 5 : 20);
    return F->GetValue();
  };
  EXPECT_EQ(Step(10, true), 20);
  EXPECT_EQ(Step(10, false), 0);
  EXPECT_EQ(Step(14, false), 10);
  EXPECT_EQ(Step(14, true), 20);
  F->ButtonPivots.Clear();
  F->ButtonPivots.Add(-uc_MaxDouble);
  EXPECT_EQ(Step(uc_MaxDouble, false), -uc_MaxDouble);
  // Read-only fields ignore their buttons.
  F->SetReadOnly(true);
  EXPECT_EQ(Step(5, true), 5);
}

TEST_F(NumIO2Test, GaugeDragReportsEachMoveAndChangesOnceOnRelease) {
  F->SetBounds(0, 0, 200, 40);
  F->SetGaugeVisible(true);
  F->SetRangeHigh(100);
  std::vector<double> Moves;
  F->OnGaugeChange = [&](TObject*, TShiftState Shift, double V) {
    EXPECT_TRUE(Shift & ssLeft);
    Moves.push_back(V);
  };
  const int Gl = F->GetGaugeLeftMargin(), Gw = F->GetGaugeWidth(), Y = 36;
  D.MouseDown(*F, Gl, Y);
  EXPECT_EQ(F->GetValue(), 0);
  D.MouseMove(*F, Gl + Gw / 2, Y);
  D.MouseMove(*F, Gl + Gw + 40, Y);  // beyond the gauge: ignored
  D.MouseMove(*F, Gl + Gw + 1, Y);
  EXPECT_EQ(Changes, 0);
  D.MouseUp(*F, Gl + Gw + 1, Y);
  EXPECT_EQ(Changes, 1);
  ASSERT_EQ(Moves.size(), 2u);
  EXPECT_NEAR(Moves[0], 100.0 * (Gw / 2) / Gw, 1e-9);
  EXPECT_EQ(Moves[1], 100);
  // Dragging over the text selects; it never moves the value.
  F->SetText("12.34");
  D.AdvanceTime(1000);
  D.MouseDown(*F, F->CharPosToXCoords(0), 10);
  D.MouseMove(*F, F->CharPosToXCoords(3), 10);
  D.MouseUp(*F, F->CharPosToXCoords(3), 10);
  EXPECT_EQ(F->GetText(), "12.34");
  EXPECT_EQ(F->GetSelBegin(), 0);
  EXPECT_EQ(F->GetSelEnd(), 3);
}

TEST_F(NumIO2Test, ExtremeGaugeGeometryAndRangesStayFinite) {
  F->SetBounds(0, 0, 160, 40);
  F->SetGaugeVisible(true);
  F->SetGaugeLeftMargin(35);
  F->SetWidth(30);  // the gauge now has no room
  D.MouseDown(*F, 35, 36);
  D.MouseMove(*F, 36, 36);
  D.MouseUp(*F, 36, 36);
  EXPECT_TRUE(std::isfinite(F->GetValue()));
  F->SetWidth(200);
  F->SetRangeLow(-uc_MaxDouble);
  F->SetRangeHigh(uc_MaxDouble);
  F->SetGaugeWidth(82);
  for (int X : {35, 35 + 82}) {
    D.AdvanceTime(1000);
    D.MouseDown(*F, X, 36);
    D.MouseUp(*F, X, 36);
    EXPECT_TRUE(std::isfinite(F->GetValue())) << X;
  }
}

TEST_F(NumIO2Test, CaretBlinksOnlyWhileFocusedAndRefusalRaises) {
  EXPECT_TRUE(F->GetCaretVisible());
  D.AdvanceTime(500);
  EXPECT_FALSE(F->GetCaretVisible());
  D.AdvanceTime(500);
  EXPECT_TRUE(F->GetCaretVisible());
  auto* Other = new TNumIO2(Form);
  Other->SetParent(Form);
  Other->SetTop(60);
  Other->SetFocus();
  D.AdvanceTime(1000);
  EXPECT_FALSE(F->GetCaretVisible());  // its timer saw no focus and stopped
  D.Host().SetRefuseTimers(true);
  try {
    F->SetFocus();
    FAIL() << "no exception";
  } catch (const EKVLNumIO2Error& E) {
    EXPECT_STREQ(E.what(), "Component \"NumIO1\": no timer available");
  }
  EXPECT_THROW(TNumIO2 Third(nullptr), EKVLNumIO2Error);
  D.Host().SetRefuseTimers(false);
}

TEST_F(NumIO2Test, AssignCopiesTheFieldStateAndRefusesOtherClasses) {
  F->SetInputFormat(itFixPoint);
  F->SetValue(7.25);
  F->SetLeftText("Gain");
  F->SetRangeHigh(5);
  F->SetButVisible(true);
  auto* Copy = new TNumIO2(Form);
  Copy->Assign(F);
  EXPECT_EQ(Copy->GetText(), "7.25");
  EXPECT_EQ(Copy->GetLeftText(), "Gain");
  EXPECT_EQ(Copy->GetRangeHigh(), 5);
  EXPECT_FALSE(Copy->GetButVisible());  // buttons and gauge are not copied
  TCustomControl Plain(nullptr);
  EXPECT_THROW(Plain.Assign(F), EConvertError);
  EXPECT_THROW(F->Assign(&Plain), EConvertError);
}

TEST_F(NumIO2Test, AutoSizeWithASmallFontSettlesAtTheMinimumHeight) {
  F->GetFont().SetHeight(-6);
  F->SetAutoSize(true);
  F->Repaint();
  EXPECT_EQ(F->GetHeight(), 18);
  F->GetFont().SetSize(20);
  F->Repaint();
  EXPECT_GT(F->GetHeight(), 30);
}

}  // namespace
}  // namespace kvl
