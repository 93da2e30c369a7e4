// The text of every display type for values around the edges, the separator and sign rules,
// and values a type cannot show.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "kvl/numlab/numlab.h"
#include "kvl/platform/dates.h"

namespace kvl {
namespace {

struct TextCase {
  TDisplay Type;
  int Precision;
  double Value;
  const char* Text;
};

// Angle texts in the table write d, ' and " for the degree, minute and second signs.
std::string WithAngleSigns(std::string_view S) {
  std::string R;
  for (char C : S)
    R += C == 'd'    ? "\xC2\xB0"
         : C == '\'' ? "\xE2\x80\xB2"
         : C == '"'  ? "\xE2\x80\xB3"
                     : std::string(1, C);
  return R;
}

std::string TextOf(TDisplay Type, int Precision, double Value) {
  TNumLabTextForm F;
  F.DisplayType = Type;
  F.Precision = Precision;
  return NumLabText(Value, F).value_or("<none>");
}

constexpr double TwoTo63 = 9223372036854775808.0;

const TextCase Cases[] = {
    // General form: significant digits, trailing zeros dropped, scientific outside 1E-4 .. 10^P.
    {dtFloat, 2, 0, "0"},
    {dtFloat, 2, -1.5, "-1.5"},
    {dtFloat, 1, 2.5, "3"},
    {dtFloat, 2, 0.125, "0.13"},
    {dtFloat, 3, 0.0001, "0.0001"},
    {dtFloat, 3, 0.00001, "1E-005"},
    {dtFloat, 2, 123456, "1.2E+005"},
    {dtFloat, 3, 99.96, "100"},
    {dtFloat, 3, 999.96, "1E+003"},
    {dtFloat, 15, 123456789012345, "123456789012345"},
    {dtFloat, 15, 1e308, "1E+308"},
    {dtFloat, 6, 5e-324, "5E-324"},
    // Fixed decimals, rounded halves away from zero on the value's shortest decimal form.
    {dtFixP, 2, 3.14159, "3.14"},
    {dtFixP, 2, -0.001, "-0.00"},
    {dtFixP, 2, -0.0, "0.00"},
    {dtFixP, 2, 2.675, "2.68"},
    {dtFixP, 0, -2.5, "-3"},
    {dtFixP, 2, 1e20, "100000000000000000000.00"},
    {dtFixP, 0, 123456789012345.6, "123456789012346"},
    {dtFixP, 15, 1e-300, "0.000000000000000"},
    {dtFixP, 3, 0.0005, "0.001"},
    // Scientific: Precision significant digits, three exponent digits.
    {dtExp, 3, 0, "0.00E+000"},
    {dtExp, 3, 1234.5, "1.23E+003"},
    {dtExp, 2, -0.00015, "-1.5E-004"},
    {dtExp, 2, 9.99, "1.0E+001"},
    {dtExp, 0, 3.7, "4E+000"},
    {dtExp, 15, 1.0 / 3, "3.33333333333333E-001"},
    // Integers: rounded with halves to even; the 64-bit range is the limit.
    {dtInt, 2, 2.5, "2"},
    {dtInt, 2, -2.5, "-2"},
    {dtInt, 2, -0.4, "0"},
    {dtInt, 2, -TwoTo63, "-9223372036854775808"},
    {dtInt, 2, TwoTo63, "<none>"},
    {dtInt, 2, 1e300, "<none>"},
    {dtZeroInt, 5, 42, "00042"},
    {dtZeroInt, 5, -42, "-00042"},
    {dtZeroInt, 0, 0, "0"},
    {dtHex, 2, 255, "FF"},
    {dtHex, 2, -255, "-FF"},
    {dtHex, 2, 15.5, "10"},
    {dtHex, 2, -TwoTo63, "-8000000000000000"},
    {dtOct, 2, 8, "10"},
    {dtOct, 2, -9, "-11"},
    {dtBin, 2, 5, "101"},
    {dtBin, 2, -2, "-10"},
    // Angles are not wrapped; minutes and seconds carry into the larger unit after rounding.
    {dtDeg, 2, 370.25, "370.25d"},
    {dtDeg, 2, -45.125, "-45.13d"},
    {dtDegMin, 2, 12.5, "12d30.00'"},
    {dtDegMin, 2, 370.25, "370d15.00'"},
    {dtDegMin, 2, -0.5, "-0d30.00'"},
    {dtDegMin, 2, 10.99999, "11d00.00'"},
    {dtDegMin, 0, 1.5, "1d30'"},
    {dtDegMinSec, 1, 12.5125, "12d30'45.0\""},
    {dtDegMinSec, 0, -720.0001, "-720d00'00\""},
    {dtDegMinSec, 2, 1e300, "<none>"},
    // Engineering: exponents in steps of three.
    {dtEEng, 3, 12345, "12.3E+003"},
    {dtEEng, 3, 0.00123, "1.23E-003"},
    {dtEEng, 3, 999999, "1.00E+006"},
    {dtEEng, 2, -1234, "-1.2E+003"},
    {dtEEng, 2, 123, "120E+000"},
    {dtEEng, 3, 1.5e-10, "150E-012"},
    {dtEEngNoDP, 3, 3.14159, "3140E-003"},
    {dtEEngNoDP, 3, 12345, "12300E+000"},
    {dtEEngNoDP, 3, -0.0625, "-62500E-006"},
    {dtEEngNoDP, 3, 0, "0E+000"}};

TEST(NumLabText, EveryDisplayTypeAroundTheEdges) {
  for (const TextCase& C : Cases)
    EXPECT_EQ(TextOf(C.Type, C.Precision, C.Value),
              C.Type >= dtDeg && C.Type <= dtDegMinSec ? WithAngleSigns(C.Text) : C.Text)
        << "type " << int(C.Type) << ", precision " << C.Precision << ", value " << C.Value;
}

TEST(NumLabText, HugeValuesWriteEveryDigitNonFiniteOnesNone) {
  EXPECT_EQ(TextOf(dtFixP, 15, 1e308), "1" + std::string(308, '0') + "." + std::string(15, '0'));
  for (double V :
       {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()})
    for (int T = dtFloat; T <= dtEEngNoDP; ++T)
      EXPECT_EQ(TextOf(TDisplay(T), 2, V), T == dtState ? "undefined" : "<none>") << T << " " << V;
}

TEST(NumLabText, DateTimeUsesThePatternWithinTheYearsOneTo9999) {
  TNumLabTextForm F;
  F.DisplayType = dtDateTime;
  EXPECT_EQ(NumLabText(EncodeDate(2024, 2, 29), F), "Feb-29, 2024");
  EXPECT_EQ(NumLabText(0, F), "Dec-30, 1899");
  EXPECT_EQ(NumLabText(-693593, F), "Jan-01, 0001");
  EXPECT_EQ(NumLabText(2958465.5, F), "Dec-31, 9999");
  EXPECT_EQ(NumLabText(-693594, F), std::nullopt);
  EXPECT_EQ(NumLabText(2958466, F), std::nullopt);
  F.DTFormat = "hh:nn";
  EXPECT_EQ(NumLabText(0.75, F), "18:00");
}

TEST(NumLabText, SeparatorAndPlusSignSkipHexBinDateAndState) {
  TNumLabTextForm F;
  F.Comma = true;
  F.ForcePlusSign = true;
  const auto As = [&F](TDisplay T, int P, double V) {
    F.DisplayType = T;
    F.Precision = P;
    return NumLabText(V, F).value_or("<none>");
  };
  EXPECT_EQ(As(dtFixP, 2, 3.14159), "+3,14");
  EXPECT_EQ(As(dtFixP, 2, 0), "0,00");
  EXPECT_EQ(As(dtExp, 2, 1500), "+1,5E+003");
  EXPECT_EQ(As(dtDegMin, 1, 1.25), WithAngleSigns("+1d15,0'"));
  EXPECT_EQ(As(dtInt, 0, 0.4), "+0");  // the value, not its rounded text, is above zero
  EXPECT_EQ(As(dtOct, 0, 8), "+10");
  EXPECT_EQ(As(dtZeroInt, 3, 7), "+007");
  EXPECT_EQ(As(dtHex, 0, 255), "FF");
  EXPECT_EQ(As(dtBin, 0, 5), "101");
  F.StateText = "1.5";
  EXPECT_EQ(As(dtState, 0, 5), "1.5");
  F.DTFormat = "d.m.yyyy";
  EXPECT_EQ(As(dtDateTime, 0, EncodeDate(2024, 3, 5)), "5.3.2024");
  F.Comma = false;
  EXPECT_EQ(As(dtFixP, 40, 2.25), "+2.250000000000000");  // precision kept to 15
  EXPECT_EQ(As(TDisplay(99), 1, 2.25), "+2.3");           // unknown bytes read as dtFixP
}

TEST(NumLabText, ProcessLocaleDoesNotChangeTheText) {
  for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    const std::string Before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, Name)) continue;
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(TextOf(dtFixP, 2, 3.14159), "3.14");
    EXPECT_EQ(TextOf(dtFloat, 4, 1234.5e10), "1.235E+013");
    EXPECT_EQ(TextOf(dtDeg, 1, 0.25), WithAngleSigns("0.3d"));
    std::setlocale(LC_ALL, Before.c_str());
    return;
  }
  // Build one with "localedef -i de_DE -f UTF-8 DIR/de_DE.UTF-8" and run with LOCPATH=DIR.
  GTEST_SKIP() << "no comma locale installed";
}

}  // namespace
}  // namespace kvl
