// TNumIO driven as a person types, pastes and deletes: the check after every change, the range,
// fixed-point cuts, the value's text forms and the setters' rules.
#include "kvl/numio/numedit.h"

#include <gtest/gtest.h>

#include "kvl/core/univconst.h"
#include "kvl/platform/clipboard.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class NumEditTest : public TControlTest<TNumIO> {
protected:
  TNumIO* B = nullptr;
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    B = Ctl;
    B->SetBounds(10, 10, 121, 21);
    B->SetBeep(true);
    B->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    B->SetFocus();
  }
  void Keys(std::initializer_list<std::uint16_t> Ks) {
    for (auto K : Ks) D.Press(*Form, K);
  }
  void Paste(const std::string& S) {
    Clipboard().SetAsText(S);
    D.KeyDown(*Form, vk::Control);
    Keys({'A', 'V'});
    D.KeyUp(*Form, vk::Control);
  }
  int Beeps() { return D.Host().GetBeepCount(); }
};

TEST_F(NumEditTest, RangeBoundaryRestoresWithTheCaretOneLeft) {
  D.Type(*Form, "5");  // a run-time box: 0 ... 0
  EXPECT_EQ(B->GetText(), "");
  EXPECT_EQ(B->GetCaretPos(), 0);  // one left of 0 stays at 0
  D.Type(*Form, "0");
  EXPECT_EQ(B->GetText(), "0");
  B->SetRangeHigh(100);
  B->SetRangeLow(-10);
  Keys({vk::Back});  // an emptied box is no number
  EXPECT_EQ(B->GetText(), "0");
  Paste("12");
  D.Type(*Form, "0");  // 120
  EXPECT_EQ(B->GetText(), "12");
  EXPECT_EQ(B->GetCaretPos(), 2);
  Keys({vk::Home});
  D.Type(*Form, "-");  // -12
  EXPECT_EQ(B->GetText(), "12");
  Keys({vk::Delete});
  EXPECT_EQ(B->GetText(), "2");
  D.Type(*Form, "-");  // "-2", then "-" alone reads 0
  Keys({vk::Delete});
  EXPECT_EQ(B->GetText(), "-");
  // "0", the re-checks of both range setters, "12", "2", "-2", "-"
  EXPECT_EQ(Changes, 7);
  EXPECT_EQ(Beeps(), 4);
  // A box made on a designing owner takes any number; in the designer nothing is checked.
  TForm Designer(nullptr);
  Designer.SetDesigning(true);
  auto* Designed = new TNumIO(&Designer);
  EXPECT_EQ(Designed->GetRangeLow(), -uc_MaxDouble);
  EXPECT_EQ(Designed->GetRangeHigh(), uc_MaxDouble);
  Designed->SetText("abc");
  EXPECT_EQ(Designed->GetText(), "abc");
}

TEST_F(NumEditTest, ZeroPassesAnyRangeGarbageAndWrappingIntegersDoNot) {
  B->SetRangeHigh(10);
  B->SetRangeLow(5);
  Paste("7");
  Paste("0.0");
  EXPECT_EQ(B->GetText(), "0.0");
  for (const char* Garbage : {"12abc", "1 2", "$$1", "&18"}) Paste(Garbage);
  EXPECT_EQ(B->GetText(), "0.0");
  B->SetInputFormat(itExp);
  B->SetRangeLow(-5);
  Paste("1e");  // the exponent still waits for its digits: 1
  EXPECT_DOUBLE_EQ(B->GetValue(), 1);
  D.Type(*Form, "9");
  EXPECT_EQ(B->GetText(), "1e");
  // A decimal integer beyond 32 bits would wrap to a number inside the range (or to 0).
  B->SetInputFormat(itInt);
  Paste("7");
  Paste("4294967297");
  Paste("4294967296");
  EXPECT_DOUBLE_EQ(B->GetValue(), 7);
  double V = 3;
  EXPECT_TRUE(B->ConvertNumString("-2147483648", V));
  EXPECT_FALSE(B->ConvertNumString("-2147483649", V));
}

TEST_F(NumEditTest, FixPointCutsRoundsAndRestores) {
  B->SetRangeHigh(100);
  B->SetInputFormat(itFixPoint);
  B->SetValue(1.23);
  Keys({vk::End});
  D.Type(*Form, "9");  // "1.239" becomes the fixed form of its value
  EXPECT_EQ(B->GetText(), "1.24");
  EXPECT_EQ(B->GetLastAccepted(), "1.24");
  EXPECT_EQ(B->GetCaretPos(), 4);
  Keys({vk::Home, vk::Right, vk::Delete});  // no separator: back, the caret before the "."
  EXPECT_EQ(B->GetText(), "1.24");
  EXPECT_EQ(B->GetCaretPos(), 1);
  Keys({vk::End});
  D.Type(*Form, ".");  // a second separator: back, the caret at the "."
  EXPECT_EQ(B->GetCaretPos(), 2);
  B->SetFixPointDecPlaces(0);
  EXPECT_EQ(B->GetFixPointDecPlaces(), 1);
  B->SetFixPointDecPlaces(12);
  EXPECT_EQ(B->GetFixPointDecPlaces(), 8);
}

TEST_F(NumEditTest, ValueTextFormsWithoutOnChange) {
  B->SetRangeLow(-1e9);
  B->SetRangeHigh(1e9);
  D.Type(*Form, "3");
  Changes = 0;
  const auto Writes = [&](TInFormat F, double V, const std::string& Text) {
    B->SetInputFormat(F);
    const int Before = Changes;
    B->SetValue(V);
    EXPECT_EQ(B->GetText(), Text);
    EXPECT_EQ(Changes, Before);
    EXPECT_DOUBLE_EQ(B->GetValue(), V) << Text;
  };
  Writes(itDynamic, 1234.5, " 1.23450E+03");
  EXPECT_EQ(B->GetLastAccepted(), "3");
  Writes(itFloat, -2.5, "-2.50000000");
  Writes(itHex, -1, "FFFFFFFF");
  Writes(itBin, 5, "00000101");
  Writes(itBin, 300, "100101100");       // widened, not cut to 8 digits
  Writes(itOct, 16777217, "100000001");  // 2^24 + 1
  Writes(itOct, -1, "37777777777");
}

TEST_F(NumEditTest, CommaModeWritesTextItsOwnCheckAccepts) {
  B->SetDecPlaceSep(dpsComma);
  B->SetRangeLow(-100);
  B->SetRangeHigh(100);
  for (TInFormat F : {itFloat, itFixPoint, itDynamic}) {
    B->SetInputFormat(F);
    B->SetValue(1.5);
    EXPECT_EQ(B->GetText().find('.'), std::string::npos) << B->GetText();
    EXPECT_DOUBLE_EQ(B->GetValue(), 1.5) << B->GetText();
    const std::string Before = B->GetText();
    Keys({F == itFixPoint ? vk::Home : vk::End});
    D.Type(*Form, "1");
    EXPECT_NE(B->GetText(), Before);  // the keystroke was taken
    EXPECT_GT(B->GetValue(), 1.4) << B->GetText();
  }
  EXPECT_EQ(Beeps(), 0);
  B->SetInputFormat(itFixPoint);
  B->SetValue(2.25);
  Keys({vk::End});
  D.Type(*Form, "9");
  EXPECT_EQ(B->GetText(), "2,26");
  // Both separators: a point text as the row editor hands it over stays.
  B->SetDecPlaceSep(dpsBoth);
  B->SetInputFormat(itDynamic);
  B->SetText("1.5");
  EXPECT_DOUBLE_EQ(B->GetValue(), 1.5);
}

TEST_F(NumEditTest, RangeSettersSwapRecheckAndAssignCopies) {
  B->SetRangeLow(5);  // at or above RangeHigh (0): 0 ... 5
  EXPECT_EQ(B->GetRangeLow(), 0);
  EXPECT_EQ(B->GetRangeHigh(), 5);
  B->SetRangeHigh(-3);  // not above RangeLow: -3 ... 0
  EXPECT_EQ(B->GetRangeLow(), -3);
  EXPECT_EQ(B->GetRangeHigh(), 0);
  B->SetRangeHigh(10);
  D.Type(*Form, "8");
  B->SetRangeHigh(5);  // the last accepted text is forgotten, then "8" is re-checked
  EXPECT_EQ(B->GetText(), "");
  D.Type(*Form, "4");
  B->SetInputFormat(itHex);  // "4" is hexadecimal too
  EXPECT_EQ(B->GetLastAccepted(), "4");
  TNumIO Other(nullptr);
  Other.SetRangeHigh(50);
  Other.SetInputFormat(itFixPoint);
  Other.SetDecPlaceSep(dpsComma);
  Other.SetFixPointDecPlaces(4);
  B->Assign(&Other);
  EXPECT_EQ(B->GetInputFormat(), itFixPoint);
  EXPECT_EQ(B->GetRangeHigh(), 50);
  EXPECT_EQ(B->GetDecPlaceSep(), dpsComma);
  EXPECT_FALSE(B->GetBeep());
  EXPECT_EQ(B->GetFixPointDecPlaces(), 2);  // not copied
}

TEST_F(NumEditTest, LooksLikeAnEdit) {
  auto* Other = new TNumIO(Form);
  Other->SetParent(Form);
  Other->SetBounds(10, 50, 121, 21);
  Other->SetInputFormat(itFixPoint);
  Other->SetValue(3.14);
  Other->SetEnabled(false);
  B->SetInputFormat(itFloat);
  B->SetValue(42.5);
  B->SetSelStart(11);
  EXPECT_TRUE(MatchesGolden(D.Capture(*B), "testdata/numedit_focused.png"));
  EXPECT_TRUE(MatchesGolden(D.Capture(*Other), "testdata/numedit_disabled.png"));
}

}  // namespace
}  // namespace kvl
