// Reading and checking number text: separators, the number scanner, the validity checks per
// format, the digit readers and the conversions of both numeric entry components.
#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "kvl/core/univconst.h"
#include "kvl/numio/numio.h"

namespace kvl {
namespace {

const std::string kNines(50, '9');

// --- Separators ----------------------------------------------------------------------------

TEST(NumSeparators, ModeOfEachDecPlaceSep) {
  EXPECT_EQ(SepModeOf(dpsPoint, ','), smPoint);
  EXPECT_EQ(SepModeOf(dpsComma, '.'), smComma);
  EXPECT_EQ(SepModeOf(dpsBoth, ','), smBoth);
  EXPECT_EQ(SepModeOf(dpsLocale, ','), smComma);
  EXPECT_EQ(SepModeOf(dpsLocale, '.'), smPoint);
  // A byte beyond the listed values accepts either separator.
  EXPECT_EQ(SepModeOf(static_cast<TDecPSep>(9), ','), smBoth);
  EXPECT_EQ(SepModeOf(static_cast<TDecPSep>(200)), smBoth);
  EXPECT_EQ(SepModeOf(dpsComma), smComma);
}

TEST(NumSeparators, WrittenSeparatorAndLocaleRadix) {
  EXPECT_EQ(SeparatorChar(smPoint), '.');
  EXPECT_EQ(SeparatorChar(smComma), ',');
  EXPECT_EQ(SeparatorChar(smBoth), '.');
  EXPECT_EQ(DecimalSepFromRadix(","), ',');
  EXPECT_EQ(DecimalSepFromRadix("."), '.');
  // Arabic decimal separator (two bytes) and other radixes count as ".".
  EXPECT_EQ(DecimalSepFromRadix("\xD9\xAB"), '.');
  EXPECT_EQ(DecimalSepFromRadix(""), '.');
  EXPECT_EQ(DecimalSepFromRadix(",,"), '.');
}

// Sets an environment variable for the life of the object and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* Name, const char* Value) : Name_(Name) {
    if (const char* Old = std::getenv(Name)) Old_ = Old;
    setenv(Name, Value, 1);
  }
  ~ScopedEnv() {
    if (Old_) {
      setenv(Name_, Old_->c_str(), 1);
    } else {
      unsetenv(Name_);
    }
  }

 private:
  const char* Name_;
  std::optional<std::string> Old_;
};

TEST(NumSeparators, LocaleIsReadFromTheEnvironmentWithoutChangingTheProcessLocale) {
  const std::string Before = std::setlocale(LC_NUMERIC, nullptr);
  {
    ScopedEnv Env("LC_ALL", "C");
    EXPECT_EQ(LocaleDecimalSep(), '.');
    EXPECT_EQ(SepModeOf(dpsLocale), smPoint);
  }
  {
    // A locale that does not exist cannot be opened: the point is the fallback.
    ScopedEnv Env("LC_ALL", "xx_NOWHERE.UTF-8");
    EXPECT_EQ(LocaleDecimalSep(), '.');
  }
  EXPECT_EQ(Before, std::setlocale(LC_NUMERIC, nullptr));
}

TEST(NumSeparators, CommaLocaleGivesCommaMode) {
  for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
    const locale_t Loc = newlocale(LC_NUMERIC_MASK, Name, locale_t(nullptr));
    if (Loc == locale_t(nullptr)) continue;
    freelocale(Loc);
    ScopedEnv Env("LC_ALL", Name);
    EXPECT_EQ(LocaleDecimalSep(), ',') << Name;
    EXPECT_EQ(SepModeOf(dpsLocale), smComma) << Name;
    // Even a process running in that locale reads and writes the same decimal text.
    const std::string Before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, Name), nullptr);
    EXPECT_EQ(ScanNumber("1.5", true, smPoint).Value, 1.5);
    EXPECT_EQ(ScanNumber("1,5e2", true, smComma).Value, 150);
    EXPECT_EQ(FixedForm(1.5, 2, smPoint), "1.50");
    EXPECT_EQ(ScientificForm(1234.5, 6, smPoint), " 1.23450E+03");
    std::setlocale(LC_ALL, Before.c_str());
    return;
  }
  // Build one with "localedef -i de_DE -f UTF-8 DIR/de_DE.UTF-8" and run with LOCPATH=DIR.
  GTEST_SKIP() << "no comma locale installed";
}

// --- Number scanner ------------------------------------------------------------------------

struct ScanCase {
  std::string Text;
  bool Exp;
  TSepMode Mode;
  int Start;
  double Value;
  int Stop;
  bool Ok;
};

TEST(NumScanner, Table) {
  const ScanCase Cases[] = {
      {"1.5", true, smPoint, 1, 1.5, 4, true},
      {"  -12.25", true, smPoint, 1, -12.25, 9, true},
      {"+7", true, smPoint, 1, 7, 3, true},
      {"0001.5000", true, smPoint, 1, 1.5, 10, true},
      // Separator modes: a separator the mode does not allow ends the number.
      {"1,5", true, smPoint, 1, 1, 2, true},
      {"1,5", true, smBoth, 1, 1.5, 4, true},
      {"1,5", true, smComma, 1, 1.5, 4, true},
      {"1.5", true, smComma, 1, 1, 2, true},
      {",5", true, smPoint, 1, 0, 1, false},
      // What a user types on the way to a number.
      {"-", true, smPoint, 1, 0, 2, false},
      {"+", true, smPoint, 1, 0, 2, false},
      {".", true, smPoint, 1, 0, 2, true},
      {"1.", true, smPoint, 1, 1, 3, true},
      {"-.5", true, smPoint, 1, -0.5, 4, true},
      {"1e", true, smPoint, 1, 1, 3, true},
      {"1e-", true, smPoint, 1, 1, 4, true},
      {"2.5E+", true, smPoint, 1, 2.5, 6, true},
      {"1e5", true, smPoint, 1, 1e5, 4, true},
      {"1.E5", true, smPoint, 1, 1e5, 5, true},
      {"-1.5e-3", true, smPoint, 1, -1.5e-3, 8, true},
      {"1e0000000000000000000005", true, smPoint, 1, 1e5, 25, true},
      // No mantissa digit reads 0.
      {".E5", true, smPoint, 1, 0, 4, true},
      {"+.e3", true, smPoint, 1, 0, 5, true},
      {"-.E5", true, smPoint, 1, 0, 5, true},
      // Where the scan stops.
      {"12abc", true, smPoint, 1, 12, 3, true},
      {"1.5e3x", true, smPoint, 1, 1500, 6, true},
      {"1e5e", true, smPoint, 1, 1e5, 4, true},
      {"1e+5+", true, smPoint, 1, 1e5, 5, true},
      {"1 2", true, smPoint, 1, 1, 2, true},
      {"1-", true, smPoint, 1, 1, 2, true},
      {"1e5", false, smPoint, 1, 1, 2, true},
      {"1.5e", false, smPoint, 1, 1.5, 4, true},
      // Errors give 0 and the position where they happened.
      {"", true, smPoint, 1, 0, 1, false},
      {"e5", true, smPoint, 1, 0, 1, false},
      {"--1", true, smPoint, 1, 0, 2, false},
      {"- 1", true, smPoint, 1, 0, 2, false},
      {"1.2.3", true, smPoint, 1, 0, 4, false},
      {"1e.5", true, smPoint, 1, 0, 3, false},
      {"1e+-5", true, smPoint, 1, 0, 4, false},
      {"x1", true, smPoint, 1, 0, 1, false},
      // Start positions; those outside the text are clamped to it.
      {"ab12.5", true, smPoint, 3, 12.5, 7, true},
      {"ab12.5", true, smPoint, 0, 0, 1, false},
      {"12", true, smPoint, 9, 0, 3, false},
      // Huge and tiny values are clamped; exponent digits beyond 4200 are read, not used.
      {"1e5000", true, smPoint, 1, uc_MaxDouble, 7, true},
      {"-1e5000", true, smPoint, 1, -uc_MaxDouble, 8, true},
      {"1e" + kNines, true, smPoint, 1, uc_MaxDouble, 53, true},
      {"1e-" + kNines, true, smPoint, 1, 0, 54, true},
      {"1e4200", true, smPoint, 1, uc_MaxDouble, 7, true},
      {"1e-4200", true, smPoint, 1, 0, 8, true},
      {"1.8e308", true, smPoint, 1, uc_MaxDouble, 8, true},
      {"1e308", true, smPoint, 1, 1e308, 6, true},
      {"0e99999", true, smPoint, 1, 0, 8, true},
      {"1" + std::string(400, '0'), true, smPoint, 1, uc_MaxDouble, 402, true},
      {"0." + std::string(400, '0') + "1", true, smPoint, 1, 0, 404, true},
      {"0." + std::string(399, '0') + "1e400", true, smPoint, 1, 1, 407, true},
      {"1e-42010", true, smPoint, 1, 0, 9, true},
  };
  for (const ScanCase& C : Cases) {
    const TNumScan R = ScanNumber(C.Text, C.Exp, C.Mode, C.Start);
    EXPECT_EQ(R.Value, C.Value) << '"' << C.Text << '"';
    EXPECT_EQ(R.StopPos, C.Stop) << '"' << C.Text << '"';
    EXPECT_EQ(R.Ok, C.Ok) << '"' << C.Text << '"';
  }
}

TEST(NumScanner, LongExponentRunNeverWrapsBackIntoRange) {
  // However many digits follow, the exponent stays beyond the limit.
  for (int N : {5, 10, 20, 100, 1000}) {
    EXPECT_EQ(ScanNumber("1e" + std::string(std::size_t(N), '9'), true, smPoint).Value,
              uc_MaxDouble);
    EXPECT_EQ(ScanNumber("1e-" + std::string(std::size_t(N), '9'), true, smPoint).Value, 0);
    EXPECT_EQ(ScanNumber("2e4" + std::string(std::size_t(N), '0') + "1", true, smPoint).Value,
              uc_MaxDouble);
  }
}

// --- Validity checks -----------------------------------------------------------------------

struct CheckCase {
  std::string Text;
  TInFormat Format;
  TSepMode Mode;
  int Decimals;
  bool Valid;
};

TEST(NumCheckValidity, ExpValidityScanner) {
  const CheckCase Cases[] = {
      {"", itExp, smPoint, 2, false},
      {" ", itExp, smPoint, 2, false},
      {"-", itExp, smPoint, 2, false},
      {"+", itExp, smPoint, 2, false},
      {".", itExp, smPoint, 2, true},
      {"1.", itExp, smPoint, 2, true},
      {"1e", itExp, smPoint, 2, true},
      {"1e-", itExp, smPoint, 2, true},
      {" 1.23450E+03", itExp, smPoint, 2, true},
      {"12abc", itExp, smPoint, 2, true},
      {".E5", itExp, smPoint, 2, true},
      {"e5", itExp, smPoint, 2, false},
      {"- 1", itExp, smPoint, 2, false},
      {"1.2.3", itExp, smPoint, 2, false},
      {"1e5e", itExp, smPoint, 2, true},
      {"1e+-", itExp, smPoint, 2, false},
      {"1e.", itExp, smPoint, 2, false},
      {"1e4200", itExp, smPoint, 2, true},
      {"1e-0004200", itExp, smPoint, 2, true},
      {"1e4201", itExp, smPoint, 2, false},
      {"1e5000", itExp, smPoint, 2, false},
      {"1e" + kNines, itExp, smPoint, 2, false},
      {"1e-" + kNines, itExp, smPoint, 2, false},
      {"1,5", itExp, smPoint, 2, true},  // stops at the comma
      {",5", itExp, smPoint, 2, false},
      {",5", itExp, smComma, 2, true},
      {" 1,50000E+00", itExp, smComma, 2, true},
      {"************", itExp, smPoint, 2, false},
  };
  for (const CheckCase& C : Cases)
    EXPECT_EQ(CheckValidity(C.Text, C.Format, C.Mode, C.Decimals), C.Valid) << '"' << C.Text << '"';
}

TEST(NumCheckValidity, FloatAndFixPoint) {
  const CheckCase Cases[] = {
      {"", itFloat, smPoint, 2, false},
      {"+", itFloat, smPoint, 2, true},
      {"-", itFloat, smPoint, 2, true},
      {".", itFloat, smPoint, 2, true},
      {"1.", itFloat, smPoint, 2, true},
      {"-.5", itFloat, smPoint, 2, true},
      {"1.5", itFloat, smPoint, 2, true},
      {"12abc", itFloat, smPoint, 2, false},
      {"1e5", itFloat, smPoint, 2, false},
      {" 1", itFloat, smPoint, 2, false},
      {"1 ", itFloat, smPoint, 2, false},
      {"1.2.3", itFloat, smPoint, 2, false},
      {"1-", itFloat, smPoint, 2, false},
      {"+-1", itFloat, smPoint, 2, false},
      {"1,5", itFloat, smPoint, 2, false},
      {"1,5", itFloat, smComma, 2, true},
      {"1,5", itFloat, smBoth, 2, true},
      {"1.5", itFloat, smComma, 2, false},
      {"1,5.3", itFloat, smBoth, 2, false},
      // The separator must stand FixPointDecPlaces characters before the end.
      {"1.5", itFixPoint, smPoint, 2, false},
      {"1.50", itFixPoint, smPoint, 2, true},
      {"12", itFixPoint, smPoint, 2, true},
      {"1", itFixPoint, smPoint, 2, false},
      {"", itFixPoint, smPoint, 2, false},
      {".50", itFixPoint, smPoint, 2, true},
      {"-1.50", itFixPoint, smPoint, 2, true},
      {"1.500", itFixPoint, smPoint, 2, false},
      {"1.50x", itFixPoint, smPoint, 2, false},
      {"123.456", itFixPoint, smPoint, 3, true},
      // Comma mode looks for the comma.
      {"1,50", itFixPoint, smComma, 2, true},
      {"1.50", itFixPoint, smComma, 2, false},
      {"11,50", itFixPoint, smComma, 2, true},
      {"1,50", itFixPoint, smBoth, 2, true},
      {"1.50", itFixPoint, smBoth, 2, true},
      {"1,5", itFixPoint, smBoth, 2, false},
  };
  for (const CheckCase& C : Cases)
    EXPECT_EQ(CheckValidity(C.Text, C.Format, C.Mode, C.Decimals), C.Valid)
        << '"' << C.Text << "\" format " << int(C.Format) << " mode " << int(C.Mode);
}

TEST(NumCheckValidity, IntegerAndDigitFormats) {
  const CheckCase Cases[] = {
      {"", itInt, smPoint, 2, false},
      {"5", itInt, smPoint, 2, true},
      {"-", itInt, smPoint, 2, false},
      {"+", itInt, smPoint, 2, false},
      {"-5", itInt, smPoint, 2, true},
      {"+5", itInt, smPoint, 2, true},
      {"5-", itInt, smPoint, 2, false},
      {"1.0", itInt, smPoint, 2, false},
      {"--5", itInt, smPoint, 2, false},
      {" 5", itInt, smPoint, 2, false},
      {"99999999999", itInt, smPoint, 2, true},
      {"", itHex, smPoint, 2, false},
      {"0123456789abcdefABCDEF", itHex, smPoint, 2, true},
      {"G", itHex, smPoint, 2, false},
      {"-1", itHex, smPoint, 2, false},
      {"$1F", itHex, smPoint, 2, false},
      {"01234567", itOct, smPoint, 2, true},
      {"8", itOct, smPoint, 2, false},
      {"", itOct, smPoint, 2, false},
      {"-1", itOct, smPoint, 2, false},
      {"0101", itBin, smPoint, 2, true},
      {"2", itBin, smPoint, 2, false},
      {"", itBin, smPoint, 2, false},
      {"-1", itBin, smPoint, 2, false},
  };
  for (const CheckCase& C : Cases)
    EXPECT_EQ(CheckValidity(C.Text, C.Format, C.Mode, C.Decimals), C.Valid)
        << '"' << C.Text << "\" format " << int(C.Format);
}

TEST(NumCheckValidity, DynamicAndUnknownFormats) {
  const auto Unknown = static_cast<TInFormat>(200);
  const CheckCase Cases[] = {
      {"", itDynamic, smPoint, 2, false},
      {"$", itDynamic, smPoint, 2, false},
      {"$1F", itDynamic, smPoint, 2, true},
      {"$$1", itDynamic, smPoint, 2, false},
      {"%101", itDynamic, smPoint, 2, true},
      {"%102", itDynamic, smPoint, 2, false},
      {"%", itDynamic, smPoint, 2, false},
      {"&17", itDynamic, smPoint, 2, true},
      {"&8", itDynamic, smPoint, 2, false},
      {"-1.5", itDynamic, smPoint, 2, true},
      {"-", itDynamic, smPoint, 2, true},
      {"1e5", itDynamic, smPoint, 2, false},
      {"1,5", itDynamic, smComma, 2, true},
      {"1,5", itDynamic, smPoint, 2, false},
      // Unknown bytes check as itFloat.
      {"1.5", Unknown, smPoint, 2, true},
      {"1e5", Unknown, smPoint, 2, false},
      {"1,5", itFloat, static_cast<TSepMode>(0), 2, true},
  };
  for (const CheckCase& C : Cases)
    EXPECT_EQ(CheckValidity(C.Text, C.Format, C.Mode, C.Decimals), C.Valid)
        << '"' << C.Text << "\" format " << int(C.Format);
  EXPECT_EQ(InFormatFromByte(7), itDynamic);
  EXPECT_EQ(InFormatFromByte(0), itExp);
  EXPECT_EQ(InFormatFromByte(8), itFloat);
  EXPECT_EQ(InFormatFromByte(255), itFloat);
}

TEST(NumCheckValidity, FormatsNestAsTheirCharacterSetsDo) {
  // Every binary text is octal, hexadecimal, an integer and a float; a fixed-point text is a
  // float. A fault in one check shows up as a break in the chain.
  const char* Texts[] = {"0",    "1",  "101", "7", "17", "9",   "F",  "-1", "+5",
                         "1.50", ".5", "12",  "-", "",   "1e5", "$1", " 1"};
  for (const char* T : Texts) {
    const bool Bin = CheckValidity(T, itBin, smPoint, 2);
    const bool Oct = CheckValidity(T, itOct, smPoint, 2);
    const bool Hex = CheckValidity(T, itHex, smPoint, 2);
    const bool Int = CheckValidity(T, itInt, smPoint, 2);
    const bool Flt = CheckValidity(T, itFloat, smPoint, 2);
    const bool Fix = CheckValidity(T, itFixPoint, smPoint, 2);
    EXPECT_TRUE(!Bin || Oct) << T;
    EXPECT_TRUE(!Oct || Hex) << T;
    EXPECT_TRUE(!Oct || Int) << T;
    EXPECT_TRUE(!Int || Flt) << T;
    EXPECT_TRUE(!Fix || Flt) << T;
  }
}

// --- Digit readers -------------------------------------------------------------------------

struct DigitsCase {
  TDigitsRead (*Reader)(std::string_view);
  std::string Text;
  std::int32_t Value;
  int Stop;
  int Digits;
};

TEST(NumDigitReaders, Table) {
  const DigitsCase Cases[] = {
      {ReadHexDigits, "FF", 255, 3, 2},
      {ReadHexDigits, "ff", 255, 3, 2},
      {ReadHexDigits, "  1A", 26, 5, 2},
      {ReadHexDigits, "$1F", 31, 4, 2},
      {ReadHexDigits, " $1F", 0, 2, 0},
      {ReadHexDigits, "1G", 1, 2, 1},
      {ReadHexDigits, "", 0, 1, 0},
      {ReadHexDigits, "7FFFFFFF", 2147483647, 9, 8},
      // Eight digits from 80000000 up read negative; a ninth digit wraps the first away.
      {ReadHexDigits, "80000000", INT32_MIN, 9, 8},
      {ReadHexDigits, "FFFFFFFF", -1, 9, 8},
      {ReadHexDigits, "100000000", 0, 10, 9},
      {ReadHexDigits, "123456789", 0x23456789, 10, 9},
      {ReadOctDigits, "17", 15, 3, 2},
      {ReadOctDigits, "777", 511, 4, 3},
      {ReadOctDigits, "37777777777", -1, 12, 11},
      {ReadOctDigits, "8", 0, 1, 0},
      {ReadOctDigits, "$7", 0, 1, 0},
      {ReadBinDigits, "101", 5, 4, 3},
      {ReadBinDigits, std::string(32, '1'), -1, 33, 32},
      {ReadBinDigits, std::string(33, '1'), -1, 34, 33},
      {ReadBinDigits, "1" + std::string(31, '0'), INT32_MIN, 33, 32},
      {ReadBinDigits, " 12", 1, 3, 1},
      {ReadDecInteger, "-12", -12, 4, 2},
      {ReadDecInteger, " +7x", 7, 4, 1},
      {ReadDecInteger, "2147483647", 2147483647, 11, 10},
      {ReadDecInteger, "2147483648", INT32_MIN, 11, 10},
      {ReadDecInteger, "-2147483648", INT32_MIN, 12, 10},
      {ReadDecInteger, "4294967297", 1, 11, 10},
      {ReadDecInteger, "-", 0, 2, 0},
      {ReadDecInteger, "--1", 0, 2, 0},
  };
  for (const DigitsCase& C : Cases) {
    const TDigitsRead R = C.Reader(C.Text);
    EXPECT_EQ(R.Value, C.Value) << '"' << C.Text << '"';
    EXPECT_EQ(R.StopPos, C.Stop) << '"' << C.Text << '"';
    EXPECT_EQ(R.Digits, C.Digits) << '"' << C.Text << '"';
  }
}

// --- Reading a field's value (TNumIO2) ------------------------------------------------------

struct ReadCase {
  std::string Text;
  TInFormat Format;
  double Value;
};

TEST(NumFieldValue, ReadingRules) {
  const ReadCase Cases[] = {
      // Decimal formats accept either separator whatever the field's mode.
      {"1,5", itExp, 1.5},
      {"1.5", itFloat, 1.5},
      {"12abc", itExp, 12},
      {" 1.23450E+03", itFloat, 1234.5},
      {"1,50", itFixPoint, 1.5},
      {"", itExp, 0},
      {"-", itFloat, 0},
      {".e5", itExp, 0},
      {"1e" + kNines, itExp, uc_MaxDouble},
      {"************", itExp, 0},
      // Integers: an invalid text reads 0, one out of range the bound on its side.
      {"", itInt, 0},
      {"-", itInt, 0},
      {"123", itInt, 123},
      {"+5", itInt, 5},
      {"1.5", itInt, 0},
      {"2147483647", itInt, 2147483647},
      {"2147483648", itInt, 2147483647},
      {"99999999999", itInt, 2147483647},
      {"-2147483648", itInt, -2147483648.0},
      {"-2147483649", itInt, -2147483648.0},
      {"-99999999999", itInt, -2147483648.0},
      {"-" + std::string(300, '9'), itInt, -2147483648.0},
      {"000000000000000000001", itInt, 1},
      // Digit formats wrap in 32 bits.
      {"FFFFFFFF", itHex, -1},
      {"7fffffff", itHex, 2147483647},
      {"37777777777", itOct, -1},
      {std::string(32, '1'), itBin, -1},
      {"101", itBin, 5},
      {"$1F", itDynamic, 31},
      {"$FFFFFFFF", itDynamic, -1},
      {"%101", itDynamic, 5},
      {"&17", itDynamic, 15},
      {"$", itDynamic, 0},
      {"", itDynamic, 0},
      {"-2.5", itDynamic, -2.5},
      {"1.5", static_cast<TInFormat>(99), 1.5},
  };
  for (const ReadCase& C : Cases)
    EXPECT_EQ(ReadNioValue(C.Text, C.Format), C.Value)
        << '"' << C.Text << "\" format " << int(C.Format);
}

// --- Conversion of the edit box (TNumIO) ----------------------------------------------------

struct ConvertCase {
  std::string Text;
  TInFormat Format;
  TSepMode Mode;
  bool Ok;
  double Value;
};

TEST(NumConvertNumString, Table) {
  const auto Unknown = static_cast<TInFormat>(77);
  const ConvertCase Cases[] = {
      {"   ", itExp, smPoint, true, 0},
      {"1e-", itExp, smPoint, true, 1},
      {"1e", itExp, smPoint, true, 1},
      {"1E+", itExp, smPoint, true, 1},
      {"1 2", itExp, smPoint, false, 0},
      {" 12", itExp, smPoint, true, 12},
      {"1e5", itExp, smPoint, true, 1e5},
      {"1E5", itExp, smPoint, true, 1e5},
      {" 1.23450E+03", itExp, smPoint, true, 1234.5},
      {"e", itExp, smPoint, false, 0},
      {"e-", itExp, smPoint, false, 0},
      {"-", itExp, smPoint, true, 0},
      {"+.5", itExp, smPoint, true, 0.5},
      {"1,5", itExp, smPoint, false, 1},
      {"1,5", itExp, smComma, true, 1.5},
      {"1.5", itExp, smComma, false, 1},
      {"1e5e", itExp, smPoint, false, 1e5},
      {"1.5x", itExp, smPoint, false, 1.5},
      {"1e5000", itExp, smPoint, true, uc_MaxDouble},
      {"1.5", itFloat, smPoint, true, 1.5},
      {"1e5", itFloat, smPoint, false, 1},
      {"1.", itFloat, smPoint, true, 1},
      {"1,25", itFixPoint, smComma, true, 1.25},
      {"-12", itInt, smPoint, true, -12},
      {"12.5", itInt, smPoint, false, 12},
      {"-", itInt, smPoint, true, 0},
      // Beyond 32 bits an integer would read as another number: it does not convert.
      {"4294967297", itInt, smPoint, false, 1},
      {"2147483648", itInt, smPoint, false, -2147483648.0},
      {"2147483647", itInt, smPoint, true, 2147483647},
      {"-2147483648", itInt, smPoint, true, -2147483648.0},
      {"-000000000002147483649", itInt, smPoint, false, 2147483647},
      {"ff", itHex, smPoint, true, 255},
      {"FF", itHex, smPoint, true, 255},
      {"$ff", itHex, smPoint, true, 255},
      {"fg", itHex, smPoint, false, 15},
      {"ffffffff", itHex, smPoint, true, -1},
      {"17", itOct, smPoint, true, 15},
      {"8", itOct, smPoint, false, 0},
      {"101", itBin, smPoint, true, 5},
      {"102", itBin, smPoint, false, 2},
      {"$1f", itDynamic, smPoint, true, 31},
      {"$", itDynamic, smPoint, false, 0},
      {"$$1", itDynamic, smPoint, false, 0},
      {"%101", itDynamic, smPoint, true, 5},
      {"%", itDynamic, smPoint, false, 0},
      {"&17", itDynamic, smPoint, true, 15},
      {"&", itDynamic, smPoint, false, 0},
      {" 1.5e3", itDynamic, smPoint, true, 1500},
      {"1.5e", itDynamic, smPoint, true, 1.5},
      {"$ 1", itDynamic, smPoint, false, 0},
      {"1.5", Unknown, smPoint, true, 1.5},
      {"1e5", Unknown, smPoint, false, 1},
  };
  for (const ConvertCase& C : Cases) {
    double V = -7;
    EXPECT_EQ(ConvertNumString(C.Text, C.Format, C.Mode, V), C.Ok)
        << '"' << C.Text << "\" format " << int(C.Format);
    EXPECT_EQ(V, C.Value) << '"' << C.Text << "\" format " << int(C.Format);
  }
}

TEST(NumConvertNumString, EmptyTextFailsAndKeepsTheValue) {
  double V = 42;
  EXPECT_FALSE(ConvertNumString("", itExp, smPoint, V));
  EXPECT_EQ(V, 42);
}

TEST(NumEditBoxValue, ReadsEitherSeparatorAndItsOwnTexts) {
  const ReadCase Cases[] = {
      {"1,5", itExp, 1.5},
      {"1.", itExp, 1},
      {"1,", itFloat, 1},
      // The box's own scientific text in comma mode reads back.
      {" 1,50000E+00", itExp, 1.5},
      {" 1.50000E+00", itDynamic, 1.5},
      {"1,5", itFloat, 1.5},
      {"1,2,3", itFloat, 0},
      {"abc", itExp, 0},
      {"", itExp, 0},
      {"$1F", itDynamic, 31},
      {"-12", itInt, -12},
  };
  for (const ReadCase& C : Cases)
    EXPECT_EQ(ReadNumIOValue(C.Text, C.Format), C.Value)
        << '"' << C.Text << "\" format " << int(C.Format);
}

}  // namespace
}  // namespace kvl
