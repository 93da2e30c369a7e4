#include "kvl/core/univconst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kvl/core/stringl.h"

namespace kvl {
namespace {

TEST(UnivConst, Values) {
  EXPECT_EQ(uc_MaxDouble, std::numeric_limits<double>::max());
  EXPECT_NEAR(uc_ln10, std::log(10.0), 1e-15);
  EXPECT_GT(uc_MaxReal, 1e100);
}

TEST(NameTables, EnglishNames) {
  EXPECT_EQ(MonthLong(lgEnglish, 1), "January");
  EXPECT_EQ(MonthLong(lgEnglish, 12), "December");
  EXPECT_EQ(MonthShort(lgEnglish, 9), "Sep");
  EXPECT_EQ(WeekDayShort(lgEnglish, 1), "Mon");
  EXPECT_EQ(WeekDayShort(lgEnglish, 7), "Sun");
  EXPECT_EQ(WeekDayLong(lgEnglish, 3), "Wednesday");
}

TEST(NameTables, OtherLanguagesAndCodes) {
  EXPECT_EQ(MonthLong(lgGerman, 3), "März");
  EXPECT_EQ(WeekDayShort(lgGerman, 7), "So");
  EXPECT_EQ(MonthLong(lgFrench, 8), "Août");
  EXPECT_EQ(WeekDayShort(lgSpanish, 6), "Sáb");
  EXPECT_EQ(MonthShort(lgCodes, 11), "M11");
  EXPECT_EQ(WeekDayLong(lgCodes, 7), "D07");
}

TEST(NameTables, BadIndexesAreEmptyAndUnknownLanguagesFallBackToEnglish) {
  EXPECT_EQ(MonthLong(lgEnglish, 0), "");
  EXPECT_EQ(MonthLong(lgEnglish, 13), "");
  EXPECT_EQ(WeekDayShort(lgGerman, 8), "");
  EXPECT_EQ(MonthLong(static_cast<TLanguage>(9), 5), "May");
}

TEST(NameTables, NamesRespectTheirCharacterLimits) {
  for (int L = lgCodes; L <= lgSpanish; ++L) {
    const auto Lang = static_cast<TLanguage>(L);
    for (int M = 1; M <= 12; ++M) {
      EXPECT_LE(Utf8Length(MonthLong(Lang, M)), 10) << MonthLong(Lang, M);
      EXPECT_LE(Utf8Length(MonthShort(Lang, M)), 4) << MonthShort(Lang, M);
    }
    for (int D = 1; D <= 7; ++D) {
      EXPECT_LE(Utf8Length(WeekDayShort(Lang, D)), 3) << WeekDayShort(Lang, D);
      EXPECT_LE(Utf8Length(WeekDayLong(Lang, D)), 10) << WeekDayLong(Lang, D);
    }
  }
}

}  // namespace
}  // namespace kvl
