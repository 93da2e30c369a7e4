#include <gtest/gtest.h>

#include <cmath>

#include "kvl/meter/meter.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class MeterPaintTest : public TControlTest<TMeter> {};

// Six layouts in a 3 x 2 sheet, half and full anchors among them.
TEST_F(MeterPaintTest, LayoutSheetMatchesGolden) {
  Form->SetBounds(0, 0, 900, 440);
  TBitmap Sheet(3 * 297, 2 * 209);
  for (int L = 0; L < 6; ++L) {
    auto* M = new TMeter(Form);
    M->SetParent(Form);
    M->SetBounds(L % 3 * 297, L / 3 * 209, 297, 209);
    M->SetMeterLayout(TMeterLayout(L));
    M->SetMeterMinValue(-20);
    M->SetMeterMaxValue(80);
    M->SetValue(35 + 10 * L);
    M->SetCaption("Layout " + std::to_string(L));
    Sheet.GetCanvas()->Draw(L % 3 * 297, L / 3 * 209, D.Capture(*M));
  }
  EXPECT_TRUE(MatchesGolden(Sheet, "testdata/layouts.png"));
}

}  // namespace
}  // namespace kvl
