// Writing number text: the fixed, scientific, integer and digit forms, the texts of both
// components per format, and the rule that written text passes its own format's check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "kvl/core/univconst.h"
#include "kvl/numio/numio.h"

namespace kvl {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

constexpr TSepMode kModes[] = {smPoint, smComma, smBoth};
constexpr TInFormat kFormats[] = {itExp, itFloat, itFixPoint, itInt,
                                  itHex, itOct,   itBin,      itDynamic};

struct FormCase {
  double Value;
  int Count;  // decimals or significant digits
  TSepMode Mode;
  std::string Text;
};

TEST(NumFixedForm, RoundsHalvesAwayFromZeroOnTheShortestForm) {
  const FormCase Cases[] = {
      {1.5, 2, smPoint, "1.50"},
      {1.5, 2, smComma, "1,50"},
      {1.5, 2, smBoth, "1.50"},
      {2.675, 2, smPoint, "2.68"},
      {0.125, 2, smPoint, "0.13"},
      {-0.125, 2, smPoint, "-0.13"},
      {1.005, 2, smPoint, "1.01"},
      {999.995, 2, smPoint, "1000.00"},
      {2.5, 0, smPoint, "3"},
      {-2.5, 0, smPoint, "-3"},
      {0, 0, smPoint, "0"},
      {1e20, 1, smPoint, "100000000000000000000.0"},
      {0.1, 15, smPoint, "0.100000000000000"},
      // No "-" when every written digit is 0.
      {-0.001, 2, smPoint, "0.00"},
      {-0.0, 2, smPoint, "0.00"},
      {-0.4, 0, smPoint, "0"},
      {-0.005, 2, smPoint, "-0.01"},
      // Non-finite values: NaN writes 0, the infinities the largest finite values.
      {kNaN, 2, smComma, "0,00"},
  };
  for (const FormCase& C : Cases)
    EXPECT_EQ(FixedForm(C.Value, C.Count, C.Mode), C.Text) << C.Value << " / " << C.Count;

  const std::string Max = FixedForm(uc_MaxDouble, 2, smPoint);
  EXPECT_EQ(Max.size(), 309u + 3u);
  EXPECT_EQ(Max.substr(0, 17), "17976931348623157");
  EXPECT_EQ(FixedForm(kInf, 2, smPoint), Max);
  EXPECT_EQ(FixedForm(-kInf, 2, smPoint), "-" + Max);
  // Decimals are clamped to 0..30.
  EXPECT_EQ(FixedForm(1, -3, smPoint), "1");
  EXPECT_EQ(FixedForm(1, 99, smPoint), "1." + std::string(30, '0'));
}

TEST(NumScientificForm, Table) {
  const FormCase Cases[] = {
      {1234.5, 6, smPoint, " 1.23450E+03"},
      {1234.5, 6, smComma, " 1,23450E+03"},
      {1234.5, 6, smBoth, " 1.23450E+03"},
      {-1234.5, 6, smPoint, "-1.23450E+03"},
      {0, 6, smPoint, " 0.00000E+00"},
      {-0.0, 6, smPoint, " 0.00000E+00"},
      {1, 2, smPoint, " 1.0E+00"},
      {1e99, 6, smPoint, " 1.00000E+99"},
      {1e-99, 6, smPoint, " 1.00000E-99"},
      {9.99999e99, 6, smPoint, " 9.99999E+99"},
      {0.00123, 3, smPoint, " 1.23E-03"},
      // Halves away from zero on the shortest form, with the carry into the exponent.
      {0.125, 2, smPoint, " 1.3E-01"},
      {-2.5, 1, smPoint, "-3E+00"},
      {9.96, 2, smPoint, " 1.0E+01"},
      {-9.96, 2, smPoint, "-1.0E+01"},
      // One significant digit writes no separator.
      {1234.5, 1, smPoint, " 1E+03"},
      {9.6, 1, smPoint, " 1E+01"},
      {0.5, 1, smComma, " 5E-01"},
      // Fifteen significant digits.
      {1.0 / 3.0, 15, smPoint, " 3.33333333333333E-01"},
      {2.0 / 3.0, 15, smPoint, " 6.66666666666667E-01"},
      {0.1, 15, smPoint, " 1.00000000000000E-01"},
      {123456789012345678.0, 15, smPoint, " 1.23456789012346E+17"},
      // Digits outside 1..15 are clamped.
      {1234.5, 0, smPoint, " 1E+03"},
      {0.1, 40, smPoint, " 1.00000000000000E-01"},
      // Three-digit exponents show as asterisks of the same length.
      {1e100, 6, smPoint, std::string(12, '*')},
      {-1e100, 6, smPoint, std::string(12, '*')},
      {1e-100, 6, smPoint, std::string(12, '*')},
      {9.999996e99, 6, smPoint, std::string(12, '*')},
      {1e100, 1, smPoint, std::string(6, '*')},
      {uc_MaxDouble, 15, smPoint, std::string(21, '*')},
      {kDenormMin, 6, smPoint, std::string(12, '*')},
      // Non-finite values.
      {kNaN, 6, smPoint, " 0.00000E+00"},
      {kInf, 6, smPoint, std::string(12, '*')},
      {-kInf, 6, smPoint, std::string(12, '*')},
  };
  for (const FormCase& C : Cases)
    EXPECT_EQ(ScientificForm(C.Value, C.Count, C.Mode), C.Text) << C.Value << " / " << C.Count;
}

TEST(NumIntegerForm, RoundsHalvesToEvenWithoutAnIntegerType) {
  EXPECT_EQ(IntegerForm(2.5), "2");
  EXPECT_EQ(IntegerForm(3.5), "4");
  EXPECT_EQ(IntegerForm(-2.5), "-2");
  EXPECT_EQ(IntegerForm(-0.4), "0");
  EXPECT_EQ(IntegerForm(-0.0), "0");
  EXPECT_EQ(IntegerForm(2147483648.0), "2147483648");
  EXPECT_EQ(IntegerForm(-1e20), "-100000000000000000000");
  EXPECT_EQ(IntegerForm(1e300), "1" + std::string(300, '0'));
  EXPECT_EQ(IntegerForm(kNaN), "0");
  const std::string Min = IntegerForm(-kInf);
  EXPECT_EQ(Min.size(), 310u);
  EXPECT_EQ(Min.substr(0, 18), "-17976931348623157");
  EXPECT_EQ(IntegerForm(kInf), Min.substr(1));
}

struct BitsCase {
  double Value;
  int Radix;
  int Count;
  std::string Text;
};

TEST(NumLowBitsForm, Table) {
  const BitsCase Cases[] = {
      {-1, 16, 8, "FFFFFFFF"},
      {-1, 2, 32, std::string(32, '1')},
      {-1, 8, 11, "37777777777"},
      {255, 16, 8, "000000FF"},
      {4294967296.0, 16, 8, "00000000"},
      {4294967297.0, 16, 8, "00000001"},
      {-2147483648.0, 16, 8, "80000000"},
      {2.5, 16, 8, "00000002"},
      {3.5, 16, 8, "00000004"},
      {-0.4, 16, 8, "00000000"},
      {1e20, 16, 8, "63100000"},
      {-1e20, 16, 8, "9CF00000"},
      {1e300, 16, 8, "00000000"},
      {kNaN, 16, 8, "00000000"},
      {kInf, 2, 32, std::string(32, '0')},
      {-kInf, 8, 11, "00000000000"},
      // The edit box writes eight digits of every base: the low 24 and 8 bits.
      {-1, 8, 8, "77777777"},
      {-1, 2, 8, "11111111"},
      {256, 2, 8, "00000000"},
      {0x123456, 8, 8, "04432126"},
      // Other radixes count as hexadecimal.
      {255, 10, 2, "FF"},
  };
  for (const BitsCase& C : Cases)
    EXPECT_EQ(LowBitsForm(C.Value, C.Radix, C.Count), C.Text) << C.Value << " / " << C.Radix;
}

struct ComponentCase {
  TInFormat Format;
  TSepMode Mode;
  std::string Field;    // TNumIO2, 2 decimals, 6 significant digits
  std::string EditBox;  // TNumIO, 2 decimals
};

TEST(NumValueText, EachFormatOfBothComponents) {
  const ComponentCase Cases[] = {
      {itExp, smPoint, " 1.50000E+00", " 1.50000E+00"},
      {itExp, smComma, " 1,50000E+00", " 1,50000E+00"},
      {itFloat, smPoint, "1.50", "1.50000000"},
      {itFloat, smComma, "1,50", "1,50000000"},
      {itFixPoint, smPoint, "1.50", "1.50"},
      {itFixPoint, smComma, "1,50", "1,50"},
      {itInt, smPoint, "2", "2"},
      {itDynamic, smPoint, "2", " 1.50000E+00"},
      {itHex, smPoint, "00000002", "00000002"},
      {itOct, smPoint, "00000000002", "00000002"},
      {itBin, smPoint, std::string(30, '0') + "10", "00000010"},
      {static_cast<TInFormat>(99), smPoint, "1.50", "1.50000000"},
  };
  for (const ComponentCase& C : Cases) {
    EXPECT_EQ(NioValueText(1.5, C.Format, C.Mode, 2, 6), C.Field) << int(C.Format);
    EXPECT_EQ(NumIOValueText(1.5, C.Format, C.Mode, 2), C.EditBox) << int(C.Format);
  }
  EXPECT_EQ(NioValueText(-1, itHex, smPoint, 2, 6), "FFFFFFFF");
  EXPECT_EQ(NioValueText(-1, itBin, smPoint, 2, 6), std::string(32, '1'));
  // The edit box writes eight digits at least, more where the value needs them.
  EXPECT_EQ(NumIOValueText(-1, itOct, smPoint, 2), "37777777777");
  EXPECT_EQ(NumIOValueText(8, itOct, smPoint, 2), "00000010");
  EXPECT_EQ(NumIOValueText(300, itBin, smPoint, 2), "100101100");
  EXPECT_EQ(NumIOValueText(16777217, itOct, smPoint, 2), "100000001");
  EXPECT_EQ(NumIOValueText(5, itBin, smPoint, 2), "00000101");
  EXPECT_EQ(NumIOValueText(2.5, itInt, smPoint, 2), "3");   // fixed form: away from zero
  EXPECT_EQ(NioValueText(2.5, itInt, smPoint, 2, 6), "2");  // rounding: halves to even
}

// Whether the field's text for a value can be shown in its format: only the scientific form
// has a limit, its two exponent digits.
bool FieldCanHold(double V, TInFormat Format, int Digits) {
  return Format != itExp || ScientificForm(V, Digits, smPoint).front() != '*';
}

TEST(NumValueText, WrittenTextPassesItsOwnCheckForExtremeValues) {
  const double Values[] = {0,          -0.0,         1.5,           -1.5,  0.005,
                           -0.005,     1e15,         -1e15,         1e300, -1e300,
                           kDenormMin, uc_MaxDouble, -uc_MaxDouble, kNaN,  kInf,
                           -kInf,      4294967295.5, -2147483648.5, 1e-99, 9.999996e99};
  for (double V : Values)
    for (TInFormat F : kFormats)
      for (TSepMode M : kModes)
        for (int D : {1, 2, 15}) {
          const std::string Field = NioValueText(V, F, M, D, D);
          if (FieldCanHold(V, F, D)) {
            EXPECT_TRUE(CheckValidity(Field, F, M, D))
                << V << " format " << int(F) << " mode " << int(M) << ": \"" << Field << '"';
          } else {
            EXPECT_EQ(Field, std::string(std::size_t(D) + (D > 1 ? 6 : 5), '*')) << V;
          }
          const std::string Box = NumIOValueText(V, F, M, D);
          double Read = 0;
          const bool Converts = ConvertNumString(Box, F, M, Read);
          if (Box.front() != '*') {
            EXPECT_TRUE(Converts) << V << " format " << int(F) << ": \"" << Box << '"';
            EXPECT_TRUE(std::isfinite(Read));
          }
        }
}

TEST(NumValueText, FieldTextsReadBackToTheValue) {
  const double Values[] = {0,          1.5,         -1.5,  1234.5678, -0.001234,  1e15,
                           123456.789, -98765.4321, 1e-50, 3e80,      2147483647, -2147483648.0};
  for (double V : Values)
    for (TSepMode M : kModes) {
      const double Sci = ReadNioValue(NioValueText(V, itExp, M, 2, 15), itExp);
      EXPECT_NEAR(Sci, V, std::fabs(V) * 1e-14) << V;
      for (int D : {1, 2, 5}) {
        const double Fix = ReadNioValue(NioValueText(V, itFixPoint, M, D, 6), itFixPoint);
        EXPECT_NEAR(Fix, V, 0.5 * std::pow(10.0, -D) + std::fabs(V) * 1e-15) << V << " " << D;
      }
      // Integers beyond 32 bits are written in full and read back at the bound on their side.
      EXPECT_EQ(ReadNioValue(NioValueText(V, itInt, M, 2, 6), itInt),
                std::clamp(std::nearbyint(V), -2147483648.0, 2147483647.0))
          << V;
      EXPECT_NEAR(ReadNumIOValue(NumIOValueText(V, itFloat, M, 2), itFloat), V,
                  0.5e-8 + std::fabs(V) * 1e-15)
          << V;
    }
  // Digit forms read back as the 32-bit value of their low bits.
  struct {
    double Value;
    std::int32_t Read;
  } const DigitCases[] = {
      {-1, -1}, {255, 255}, {4294967295.0, -1}, {-2147483648.0, INT32_MIN}, {1e20, 0x63100000}};
  for (const auto& C : DigitCases)
    for (TInFormat F : {itHex, itOct, itBin})
      EXPECT_EQ(ReadNioValue(NioValueText(C.Value, F, smPoint, 2, 6), F), C.Read)
          << C.Value << " " << int(F);
  // Asterisks are the overflow display and read back as 0.
  EXPECT_EQ(ReadNioValue(NioValueText(1e100, itExp, smPoint, 2, 6), itExp), 0);
}

TEST(NumValueText, CommaModeFieldStaysEditable) {
  // The comma mode writes texts its own check accepts, and typing goes on from them.
  for (TInFormat F : {itFloat, itFixPoint}) {
    const std::string T = NioValueText(1.5, F, smComma, 2, 6);
    EXPECT_EQ(T, "1,50");
    EXPECT_TRUE(CheckValidity(T, F, smComma, 2));
    EXPECT_EQ(ReadNioValue(T, F), 1.5);
    EXPECT_TRUE(CheckValidity("1" + T, F, smComma, 2));
    EXPECT_EQ(ReadNioValue("1" + T, F), 11.5);
  }
  const std::string Sci = NioValueText(1.5, itExp, smComma, 2, 6);
  EXPECT_TRUE(CheckValidity(Sci, itExp, smComma, 2));
  EXPECT_EQ(ReadNioValue(Sci, itExp), 1.5);
  const std::string Box = NumIOValueText(1.5, itDynamic, smComma, 2);
  double V = 0;
  EXPECT_TRUE(ConvertNumString(Box, itDynamic, smComma, V));
  EXPECT_EQ(V, 1.5);
  EXPECT_EQ(ReadNumIOValue(Box, itDynamic), 1.5);
}

}  // namespace
}  // namespace kvl
