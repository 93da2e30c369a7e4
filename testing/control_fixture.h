// A GoogleTest fixture for one control on a form on a fresh headless host:
//
//   class MeterTest : public kvl::TControlTest<kvl::TMeter> {};
//   TEST_F(MeterTest, ...) { Ctl->SetValue(3); EXPECT_EQ(PixelAt(10, 10), kvl::clRed); }
#pragma once

#include <gtest/gtest.h>

#include "kvl/platform/forms.h"
#include "kvl/testing/driver.h"

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
};

}  // namespace kvl
