// The picker's format tokens and field rules, away from any control.
#include "kvl/platform/dtformat.h"

#include <gtest/gtest.h>

#include <string>

namespace kvl {
namespace {

TDateTimeParts At(int Y, int M, int D, int H = 0, int Mi = 0, int S = 0) {
  return *DecodeDateTime(EncodeDateTime(Y, M, D, H, Mi, S));
}

std::string Shown(const char* Format, const TDateTimeParts& P) {
  return FormatDtTokens(ParseDtFormat(Format), P);
}

TEST(DtFormat, TokensShowTheirFields) {
  const TDateTimeParts P = At(2023, 3, 5, 14, 7, 9);  // a Sunday afternoon
  const struct {
    const char* Format;
    const char* Text;
  } Cases[] = {
      {"d dd ddd dddd", "5 05 Sun Sunday"},
      {"M MM MMM MMMM", "3 03 Mar March"},
      {"y yy yyy yyyy", "3 23 2023 2023"},
      {"h hh H HH", "2 02 14 14"},
      {"m mm s ss", "7 07 9 09"},
      {"t tt", "P PM"},
      {"dd.MM.yyyy", "05.03.2023"},
      {"'day' d 'o''clock' '' x", "day 5 o'clock ' x"},
      {"D Y S T: -", "D Y S T: -"},  // other letters and characters stay
      {"'unclosed d", "unclosed d"},
      {"dddddd", "Sunday"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Shown(C.Format, P), C.Text) << C.Format;
  EXPECT_EQ(Shown("h:mm tt", At(2023, 3, 5, 0, 30)), "12:30 AM");
  EXPECT_EQ(Shown("yyyy y", At(7, 1, 1)), "0007 7");
  // Runs of literal characters make one token.
  EXPECT_EQ(ParseDtFormat("a-b d").size(), 2u);
}

TEST(DtFormat, StepsWrapWithinTheField) {
  const struct {
    const char* Name;
    TDateTimeParts From;
    TDtField Field;
    int Delta;
    TDateTimeParts To;
  } Cases[] = {
      {"day 31 up", At(2023, 1, 31), TDtField::Day, 1, At(2023, 1, 1)},
      {"day 1 down", At(2024, 2, 1), TDtField::Day, -1, At(2024, 2, 29)},
      {"January 31 to February, leap", At(2024, 1, 31), TDtField::Month, 1, At(2024, 2, 29)},
      {"January 31 to February", At(2023, 1, 31), TDtField::Month, 1, At(2023, 2, 28)},
      {"29 February to a common year", At(2024, 2, 29), TDtField::Year, 1, At(2025, 2, 28)},
      {"December up", At(2023, 12, 5), TDtField::Month, 1, At(2023, 1, 5)},
      {"year 9999 up", At(9999, 6, 1), TDtField::Year, 1, At(1, 6, 1)},
      {"Sunday up stays in the week", At(2023, 3, 5), TDtField::Weekday, 1, At(2023, 2, 27)},
      {"23 h up", At(2023, 3, 5, 23), TDtField::Hour24, 1, At(2023, 3, 5, 0)},
      {"11 PM up keeps PM", At(2023, 3, 5, 23), TDtField::Hour12, 1, At(2023, 3, 5, 12)},
      {"AM to PM", At(2023, 3, 5, 9), TDtField::HalfDay, 1, At(2023, 3, 5, 21)},
      {"minute 0 down", At(2023, 3, 5, 9, 0), TDtField::Minute, -1, At(2023, 3, 5, 9, 59)},
      {"second 59 up", At(2023, 3, 5, 9, 0, 59), TDtField::Second, 1, At(2023, 3, 5, 9)},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TDateTimeParts P = StepDtField(C.From, C.Field, C.Delta);
    EXPECT_EQ(Shown("yyyy-MM-dd HH:mm:ss", P), Shown("yyyy-MM-dd HH:mm:ss", C.To));
  }
  const TDateTimeParts Thu = At(2023, 3, 9, 15);
  EXPECT_EQ(Shown("ddd dd HH", FirstOrLastDtField(Thu, TDtField::Weekday, false)), "Mon 06 15");
  EXPECT_EQ(Shown("ddd dd HH", FirstOrLastDtField(Thu, TDtField::Weekday, true)), "Sun 12 15");
  EXPECT_EQ(Shown("HH", FirstOrLastDtField(Thu, TDtField::Hour12, true)), "23");
  EXPECT_EQ(Shown("dd", FirstOrLastDtField(At(2023, 2, 3), TDtField::Day, true)), "28");
}

TEST(DtFormat, TypedDigitsFillTheFieldThenReportItDone) {
  const struct {
    const char* Format;  // one field
    const char* Digits;
    const char* Text;    // of the field after the last digit
    bool Done;
  } Cases[] = {
      {"dd", "2", "02", false},   {"dd", "24", "24", true},  {"dd", "4", "04", true},
      {"dd", "35", "05", true},   {"MM", "1", "01", false},  {"MM", "12", "12", true},
      {"MM", "05", "05", true},   {"MM", "0", "03", false},  {"yyyy", "202", "0202", false},
      {"yyyy", "2024", "2024", true}, {"yy", "99", "99", true}, {"y", "7", "7", true},
      {"HH", "3", "03", true},    {"HH", "19", "19", true},  {"hh", "12", "12", true},
      {"mm", "5", "05", false},   {"mm", "61", "01", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Format) + " <- " + C.Digits);
    const TDtToken T = ParseDtFormat(C.Format)[0];
    TDateTimeParts P = At(2023, 3, 5, 14, 7, 9);
    TDtDigits Typed;
    bool Done = false;
    for (const char* D = C.Digits; *D; ++D) {
      TDateTimeParts Out;
      if (Typed.Add(T, P, *D - '0', Out, Done)) P = Out;
    }
    EXPECT_EQ(FormatDtToken(T, P), C.Text);
    EXPECT_EQ(Done, C.Done);
  }
  // Two-digit years stay in the century; 12 in the morning is 0 h.
  TDtDigits Typed;
  TDateTimeParts Out;
  bool Done;
  ASSERT_TRUE(Typed.Add(ParseDtFormat("yy")[0], At(1987, 1, 1), 5, Out, Done));
  EXPECT_EQ(Out.Year, 1905);
  Typed.Reset();
  Typed.Add(ParseDtFormat("hh")[0], At(1987, 1, 1, 9), 1, Out, Done);
  Typed.Add(ParseDtFormat("hh")[0], At(1987, 1, 1, 9), 2, Out, Done);
  EXPECT_EQ(Out.Hour, 0);
}

}  // namespace
}  // namespace kvl
