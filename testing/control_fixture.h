// A GoogleTest fixture for one control on a form on a fresh headless host:
//
//   class MeterTest : public kvl::TControlTest<kvl::TMeter> {};
//   TEST_F(MeterTest, ...) { Ctl->SetValue(3); EXPECT_EQ(PixelAt(10, 10), kvl::clRed); }
#pragma once

#include <gtest/gtest.h>

#include "kvl/platform/forms.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {

template <class T>
class TControlTest : public ::testing::Test {
protected:
  TDriver D;
  TForm* Form = nullptr;
  T* Ctl = nullptr;

  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 700, 400);
    Ctl = new T(Form);
    Ctl->SetParent(Form);
  }
  void TearDown() override { delete Form; }

  // The colour of a pixel of the control (its own coordinates) as it is on the screen.
  TColor PixelAt(int X, int Y) { return PixelOf(D.Capture(*Ctl), X, Y); }
  static TColor PixelOf(const TBitmap& Shot, int X, int Y) {
    return PixelToColor(Shot.ScanLine(Y)[X]);
  }

  // A control made by Make(Parent) on a panel looks like a disabled twin while the panel is
  // disabled, and like an enabled one again once the panel is enabled.
  template <class Maker>
  ::testing::AssertionResult FollowsParentEnabled(Maker Make) {
    const auto Panel = [this](int Left) {
      auto* P = new TCustomControl(Form);
      P->SetParent(Form);
      P->SetBounds(Left, 0, 300, 150);
      return P;
    };
    TCustomControl* Off = Panel(0);
    TCustomControl* On = Panel(320);
    TControl* Child = Make(Off);
    TControl* Twin = Make(On);
    const TBitmap Enabled = D.Capture(*Twin);
    Off->SetEnabled(false);
    Twin->SetEnabled(false);
    const TBitmap Disabled = D.Capture(*Twin);
    const bool DisabledAlike(SamePicture(D.Capture(*Child), Disabled));
    Off->SetEnabled(true);
    Twin->SetEnabled(true);
    const bool EnabledAlike(SamePicture(D.Capture(*Child), Enabled));
    delete Off;
    delete On;
    if (SamePicture(Enabled, Disabled))
      return ::testing::AssertionFailure() << "the disabled look equals the enabled one";
    if (!DisabledAlike)
      return ::testing::AssertionFailure() << "looks enabled on a disabled parent";
    if (!EnabledAlike) return ::testing::AssertionFailure() << "looks disabled after the parent";
    return ::testing::AssertionSuccess();
  }
};

}  // namespace kvl
