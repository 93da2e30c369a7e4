// TRLData as plain text: clipboard layouts and range clamping, lines loaded from files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "kvl/core/stringl.h"
#include "kvl/platform/clipboard.h"
#include "kvl/replist/replist.h"
#include "kvl/testing/driver.h"
#include "rldata_test_files.h"

namespace kvl {
namespace {

class RLDataClipboard : public ::testing::Test {
protected:
  TDriver D;  // a headless host with its own clipboard
  TRLData S{nullptr};
  void SetUp() override {
    S.SetNrOfColumns(3);
    S.SetNrOfRows(2);
    S.SetHeader(1, "A");
    S.SetHeader(2, "Bee");
    S.SetHeader(3, "C");
    S.SetColumnCheckMode(3, cmBox);
    S.SetElem(1, 1, "1");
    S.SetElem(2, 1, "2");
    S.SetElem(1, 2, "longer");
    S.SetElem(3, 2, "é€");
    S.SetElemChecked(3, 2, true);
  }
  std::string Clip() { return Clipboard().GetAsText(); }
};

TEST_F(RLDataClipboard, TabsPaddedAndSeparatorLayouts) {
  S.CopyToClipBoard(1, 1, 2, 1, true, true);
  EXPECT_EQ(Clip(), "A\tBee\n\n1\t2\n");
  S.CopyToClipBoard(1, 1, 3, 2, false, true);
  EXPECT_EQ(Clip(), "1\t2\t\nlonger\t\té€\n");
  // Widths count characters of the stored strings, the check mark included.
  S.CopyToClipBoard(1, 1, 3, 2, true, false);
  EXPECT_EQ(Clip(),
            "A      Bee C   \n\n"
            "1      2       \n"
            "longer     é€  \n");
  S.CopyToClipBoard(1, 1, 3, 2, true, std::string_view(" | "));
  EXPECT_EQ(Clip(), "A | Bee | C\n\n1 | 2 | \nlonger |  | é€\n");
  S.CopyToClipBoard(2, 2, 1, 2, true, true);  // an empty range gives no cells
  EXPECT_EQ(Clip(), "");
}

TEST_F(RLDataClipboard, RangesAreClampedToTheTable) {
  const auto Start = std::chrono::steady_clock::now();
  S.CopyToClipBoard(1, 1, 3, 2000000000, true, false);
  EXPECT_EQ(Clip(),
            "A      Bee C   \n\n"
            "1      2       \n"
            "longer     é€  \n");
  S.SetElem(0, 1, "zero");
  S.CopyToClipBoard(-5, -5, 99, 99, false, true);
  EXPECT_EQ(Clip(), "zero\t1\t2\t\n\tlonger\t\té€\n");
  S.CopyToClipBoard(1, 5, 3, 9, true, true);  // no rows inside: the names only
  EXPECT_EQ(Clip(), "A\tBee\tC\n\n");
  S.CopyToClipBoard(1, 5, 3, 9, false, true);
  EXPECT_EQ(Clip(), "");
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(1));
}

class RLDataLines : public TTempDirTest {};

TEST_F(RLDataLines, EveryLineEndingGivesOneRowAndTheTableGrows) {
  TRLData S(nullptr);
  S.SetNrOfColumns(2);
  S.SetNrOfRows(2);
  S.SetElem(1, 1, "kept");
  const std::string F = Write("lines.txt", "one\r\ntwo\nthree\rfour\n\nsix");
  EXPECT_EQ(S.LoadLinesFromFile(1, 2, F), 6);
  EXPECT_EQ(S.GetNrOfRows(), 7);
  const std::vector<std::string> Want = {"kept", "one", "two", "three", "four", "", "six"};
  for (int R = 1; R <= 7; ++R) EXPECT_EQ(S(1, R), Want[std::size_t(R - 1)]);
  // A shorter file fills from the row given and leaves the table as large as it is.
  EXPECT_EQ(S.LoadLinesFromFile(2, 0, Write("two.txt", "a\nb\n")), 2);
  EXPECT_EQ(S(2, 1), "a");
  EXPECT_EQ(S(2, 2), "b");
  EXPECT_EQ(S.GetNrOfRows(), 7);
  EXPECT_EQ(S.LoadLinesFromFile(2, 1, Write("empty.txt", "")), 0);
}

TEST_F(RLDataLines, LongLinesAreCutAndForeignBytesReplaced) {
  TRLData S(nullptr);
  S.SetColumnCheckMode(1, cmBox);
  std::string Long;
  for (int I = 0; I < 400; ++I) Long += "€";
  EXPECT_EQ(S.LoadLinesFromFile(1, 1, Write("long.txt", Long + "\nab\xFF\xC3z\n")), 2);
  EXPECT_EQ(S(1, 1), Utf8Left(Long, 255));
  EXPECT_EQ(S(1, 2), "ab\xEF\xBF\xBD\xEF\xBF\xBDz");
  EXPECT_FALSE(S.GetElemChecked(1, 1));
}

TEST_F(RLDataLines, UnreadableSourcesAndBadColumnsGiveMinusOne) {
  TRLData S(nullptr);
  const std::string F = Write("x.txt", "x\n");
  EXPECT_EQ(S.LoadLinesFromFile(0, 1, F), -1);
  EXPECT_EQ(S.LoadLinesFromFile(2, 1, F), -1);
  EXPECT_EQ(S.LoadLinesFromFile(1, 1, Dir + "/missing.txt"), -1);
  EXPECT_EQ(S.LoadLinesFromFile(1, 1, Dir), -1);
  EXPECT_EQ(S.LoadLinesFromFile(1, 1, "/dev/zero"), -1);
  EXPECT_EQ(S.LoadLinesFromFile(1, 1, Fifo("pipe")), -1);
  EXPECT_EQ(S.GetNrOfRows(), 0);
}

}  // namespace
}  // namespace kvl
