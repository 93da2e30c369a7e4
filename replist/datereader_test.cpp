// The date text reader: tokens, names, the 12-hour clock, two-digit years, error codes and a
// round trip through the formatter over the whole calendar.
#include "kvl/replist/datereader.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "kvl/core/stringl.h"

namespace kvl {
namespace {

constexpr int ThisYear = 2026;

struct TCase {
  const char* Text;
  const char* Format;
  int Error;
  int Y = 1899, M = 12, D = 30, H = 0, Mi = 0, S = 0;  // the expected value when Error is 0
  int Window = 50;
  int Language = 1;
};

TEST(DateReader, ReadsEveryTokenAndReportsEachError) {
  const TCase Cases[] = {
      {"2023-12-24", "yyyy-MM-dd", drOk, 2023, 12, 24},
      {"2023/12/24", "yyyy-MM-dd", drTextMismatch},
      {"2023-12-24", "yyy", drBadToken},
      {"20x3-12-24", "yyyy-MM-dd", drBadField},
      {"24.12.2023 x", "dd.MM.yyyy", drOk, 2023, 12, 24},  // text after the format is ignored
      {" +7/007/2023 7:5:9", "d/M/yyyy H:m:s", drOk, 2023, 7, 7, 7, 5, 9},
      {"Sunday, 24 December 2023", "dddd, d MMMM yyyy", drOk, 2023, 12, 24},
      {"sun 24 DEC 2023", "ddd d MMM yyyy", drOk, 2023, 12, 24},
      {"Funday 24", "dddd d", drBadField},
      {"24 Dex 2023", "d MMM yyyy", drBadField},
      {"07:05:09", "HH:mm:ss", drOk, 1899, 12, 30, 7, 5, 9},
      {"0001-01-01 06:00", "yyyy-MM-dd HH:mm", drOk, 1, 1, 1, 6, 0},
      {"0000-00-00", "yyyy-MM-dd", drOk},  // no date part at all: the time alone
      // The 12-hour clock.
      {"12:30 AM", "hh:mm tt", drOk, 1899, 12, 30, 0, 30},
      {"12:30 pm", "hh:mm tt", drOk, 1899, 12, 30, 12, 30},
      {"01:30 PM", "hh:mm tt", drOk, 1899, 12, 30, 13, 30},
      {"1:30 a", "h:mm t", drOk, 1899, 12, 30, 1, 30},
      {"1:30 x", "h:mm t", drOk, 1899, 12, 30, 13, 30},
      {"12", "h", drOk},  // am by default
      {"13 pm", "hh tt", drOutOfRange},
      {"1:30 p", "h:mm tt", drBadField},
      // Two-digit years: the hundred years from 1976 on, or from 2000 without a window.
      {"23-12-24", "yy-MM-dd", drOk, 2023, 12, 24},
      {"76-01-01", "yy-MM-dd", drOk, 1976, 1, 1},
      {"75-01-01", "yy-MM-dd", drOk, 2075, 1, 1},
      {"99-01-01", "yy-MM-dd", drOk, 2099, 1, 1, 0, 0, 0, 0},
      {"x1-01-01", "yy-MM-dd", drOk, 2000, 1, 1},  // unreadable counts as 0
      {"2", "yy", drBadField},
      // Quoted text.
      {"at 5 o'clock", "'at' H 'o''clock'", drOk, 1899, 12, 30, 5},
      {"5 Uhr", "H' Uhr", drOk, 1899, 12, 30, 5},
      {"5 uhr", "H' Uhr'", drTextMismatch},
      // Parts outside the calendar or the clock, cut-short text, huge numbers.
      {"31.02.2023", "dd.MM.yyyy", drOutOfRange},
      {"24.13.2023", "dd.MM.yyyy", drOutOfRange},
      {"29.02.2024", "dd.MM.yyyy", drOk, 2024, 2, 29},
      {"12:75", "HH:mm", drOutOfRange},
      {"-001-01-01", "yyyy-MM-dd", drOutOfRange},
      {"1.1", "d", drOutOfRange},  // no month
      {"", "d", drBadField},
      {"99999999999", "d", drOutOfRange},
      {"-99999999999", "s", drOutOfRange},
      {"24", "yyyy", drBadField},
      {"2\xC3\xA9.1.1", "yy.M.d", drOk, 2000, 1, 1},  // two characters in three bytes
      {"\xC3\xA9" "1", "dd", drBadField},
      {"24.12", "dd.MM", drOk, ThisYear, 12, 24},
      {"Mär 1 2023", "MMM d yyyy", drOk, 2023, 3, 1, 0, 0, 0, 50, 2},
      {"juil 1 2023", "MMM d yyyy", drOk, 2023, 7, 1, 0, 0, 0, 50, 3},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " / " + C.Format);
    const TDateTextReading R = ReadDateText(C.Text, C.Format, C.Language, C.Window, ThisYear);
    EXPECT_EQ(R.Error, C.Error);
    EXPECT_EQ(R.Value, C.Error != drOk ? 0 : EncodeDateTime(C.Y, C.M, C.D, C.H, C.Mi, C.S));
  }
  for (const char* Run : {"MMMMM", "ddddd", "HHH", "hhh", "mmm", "ttt", "y", "sss"})
    EXPECT_EQ(ReadDateText("", Run, 1).Error, drBadToken) << Run;
  // Before 1899-12-30 the time of day counts away from the date, not towards the next one.
  EXPECT_EQ(ReadDateText("1899-12-29 06:00", "yyyy-MM-dd HH:mm", 1).Value, -1.25);
}

TEST(DateReader, ReadsTheNamesOfEveryLanguage) {
  EXPECT_EQ(DateNames(0).LongMonths[11], "M12");
  EXPECT_EQ(DateNames(0).ShortDays[6], "D07");
  EXPECT_EQ(DateNames(1).LongDays[0], "Monday");
  EXPECT_EQ(&DateNames(7), &DateNames(1));
  for (int L = 0; L < DateNameLanguages; ++L) {
    const TDateNames& N = DateNames(L);
    for (int M = 0; M < 12; ++M) {
      SCOPED_TRACE(std::string(N.LongMonths[M]) + " " + std::string(N.ShortMonths[M]));
      EXPECT_LE(Utf8Length(N.LongMonths[M]), 10);
      EXPECT_LE(Utf8Length(N.ShortMonths[M]), 4);
      const std::string Long = "1 " + std::string(N.LongMonths[M]) + " 2023";
      const std::string Short = "1 " + std::string(N.ShortMonths[M]) + " 2023";
      EXPECT_EQ(ReadDateText(Long, "d MMMM yyyy", L).Value, EncodeDate(2023, M + 1, 1));
      EXPECT_EQ(ReadDateText(Short, "d MMM yyyy", L).Value, EncodeDate(2023, M + 1, 1));
    }
    for (int D = 0; D < 7; ++D) {
      SCOPED_TRACE(std::string(N.LongDays[D]) + " " + std::string(N.ShortDays[D]));
      EXPECT_LE(Utf8Length(N.LongDays[D]), 10);
      EXPECT_LE(Utf8Length(N.ShortDays[D]), 3);
      const std::string Long = std::string(N.LongDays[D]) + " 1.2.2023";
      const std::string Short = std::string(N.ShortDays[D]) + " 1.2.2023";
      EXPECT_EQ(ReadDateText(Long, "dddd d.M.yyyy", L).Value, EncodeDate(2023, 2, 1));
      EXPECT_EQ(ReadDateText(Short, "ddd d.M.yyyy", L).Error, drOk);
    }
  }
}

// Values spread over the calendar, written by the formatter and read back by the matching
// reader format. Its "am/pm" is the reader's "tt", its minutes "n" the reader's "m".
TEST(DateReader, ReadsBackWhatTheFormatterWrites) {
  const struct {
    const char *Written, *Read;
    bool HasTime;
  } Formats[] = {
      {"yyyy-mm-dd hh:nn:ss", "yyyy-MM-dd HH:mm:ss", true},
      {"dddd, d mmmm yyyy h:nn:ss am/pm", "dddd, d MMMM yyyy h:mm:ss tt", true},
      {"m/d/yyyy hh:nn:ss am/pm", "M/d/yyyy hh:mm:ss tt", true},
      {"ddd dd mmm yyyy", "ddd dd MMM yyyy", false},
      {"yyyymmdd'T'hhnnss", "yyyyMMdd'T'HHmmss", true},
  };
  std::uint32_t X = 7;
  const auto Next = [&X](int N) {
    X = X * 1664525u + 1013904223u;
    return int((X >> 8) % std::uint32_t(N));
  };
  for (int I = 0; I <= 400; ++I) {
    const int Y = 1 + I * 9998 / 400, M = 1 + Next(12), D = 1 + Next(DaysInMonth(Y, M));
    const int H = Next(24), Mi = Next(60), S = Next(60);
    for (const auto& F : Formats) {
      const TDateTime V =
          F.HasTime ? EncodeDateTime(Y, M, D, H, Mi, S) : EncodeDate(Y, M, D);
      const std::string Text = FormatDateTime(F.Written, V).value_or("");
      SCOPED_TRACE(Text);
      const TDateTextReading R = ReadDateText(Text, F.Read, 1);
      EXPECT_EQ(R.Error, drOk);
      EXPECT_EQ(R.Value, V);
    }
  }
}

}  // namespace
}  // namespace kvl
