#include <gtest/gtest.h>

#include "kvl/minical/minical.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MiniCalPaintTest : public TControlTest<TMiniCal> {};

TEST_F(MiniCalPaintTest, Look) {
  D.Host().SetWallClock(EncodeDateTime(2025, 12, 10, 9, 0, 0));
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  D.SavePng(*Ctl, "/tmp/h18_cal.png");
  Ctl->SetBounds(0,0,330,200);
  Ctl->SetLanguage(lgGerman);
  Ctl->SetFirstDayOfWeek(dwSun);
  Ctl->SetDate(EncodeDate(2025, 4, 21));
  D.SavePng(*Ctl, "/tmp/h18_cal2.png");
}

}  // namespace
}  // namespace kvl
