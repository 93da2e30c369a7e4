#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "kvl/core/dstruct.h"
#include "kvl/core/stringl.h"

namespace kvl {
namespace {

// Column Col of rows 1..NrRows as shown.
std::vector<std::string> ColumnOf(const TStringArray& A, int Col) {
  std::vector<std::string> R;
  for (int Row = 1; Row <= A.GetNrRows(); ++Row) R.push_back(A.GetString(Col, Row));
  return R;
}

// A table with one column (column 1) holding Texts in rows 1..n, column 0 holding "r<n>".
TStringArray TableOf(const std::vector<std::string>& Texts) {
  TStringArray A;
  A.Resize(1, static_cast<int>(Texts.size()));
  for (int Row = 1; Row <= A.GetNrRows(); ++Row) {
    A.SetString(0, Row, std::string(1, 'r').append(std::to_string(Row)));
    A.SetString(1, Row, Texts[std::size_t(Row - 1)]);
  }
  return A;
}

using Strings = std::vector<std::string>;

// --- dimensions -----------------------------------------------------------------------------

TEST(StringArrayResize, NewTableHasColumnZeroAndNoRows) {
  TStringArray A;
  EXPECT_EQ(A.GetNrCols(), 0);
  EXPECT_EQ(A.GetNrRows(), 0);
  EXPECT_EQ(A.GetString(0, 1), "");
  A.Resize(0, 1);
  A.SetString(0, 1, "zero");
  EXPECT_EQ(A.GetString(0, 1), "zero");
  A.Resize(-3, -1);
  EXPECT_EQ(A.GetNrCols(), 0);
  EXPECT_EQ(A.GetNrRows(), 0);
}

TEST(StringArrayResize, GrowingAndShrinkingBothWaysKeepsCellsThatStay) {
  TStringArray A;
  A.Resize(3, 4);
  for (int C = 0; C <= 3; ++C)
    for (int R = 1; R <= 4; ++R)
      A.SetString(C, R, std::to_string(C) + "/" + std::to_string(R) + std::string(C * 7, 'x'));
  const auto Expect = [](int C, int R) {
    return std::to_string(C) + "/" + std::to_string(R) + std::string(C * 7, 'x');
  };
  A.Resize(5, 7);  // both grow
  for (int C = 0; C <= 5; ++C)
    for (int R = 1; R <= 7; ++R)
      EXPECT_EQ(A.GetString(C, R), C <= 3 && R <= 4 ? Expect(C, R) : "") << C << "," << R;
  A.Resize(2, 2);  // both shrink
  EXPECT_EQ(A.GetNrCols(), 2);
  EXPECT_EQ(A.GetNrRows(), 2);
  for (int C = 0; C <= 2; ++C)
    for (int R = 1; R <= 2; ++R) EXPECT_EQ(A.GetString(C, R), Expect(C, R));
  EXPECT_EQ(A.GetString(3, 1), "");
  A.Resize(1, 3);  // columns shrink, rows grow
  A.Resize(3, 1);  // columns grow, rows shrink
  EXPECT_EQ(A.GetString(0, 1), Expect(0, 1));
  EXPECT_EQ(A.GetString(1, 1), Expect(1, 1));
  EXPECT_EQ(A.GetString(2, 1), "");
}

TEST(StringArrayResize, RowsAndColumnsThatLeaveComeBackEmpty) {
  TStringArray A;
  A.Resize(2, 10);
  for (int R = 1; R <= 10; ++R) {
    A.SetString(1, R, "text of row " + std::to_string(R));
    A.SetString(2, R, "x");
    A.SetRowAttrib(R, 0xC0);
  }
  A.SetColAttrib(2, 0x80);
  A.Resize(2, 5);
  A.Resize(2, 10);
  for (int R = 6; R <= 10; ++R) {
    EXPECT_EQ(A.GetString(1, R), "");
    EXPECT_EQ(A.GetRowAttrib(R), 0);
  }
  EXPECT_EQ(A.GetRowAttrib(5), 0xC0);
  A.Resize(2, 0);
  A.Resize(2, 1);
  EXPECT_EQ(A.GetString(1, 1), "");
  EXPECT_EQ(A.GetRowAttrib(1), 0);
  A.Resize(1, 1);
  A.Resize(2, 1);
  EXPECT_EQ(A.GetColAttrib(2), 0);
  EXPECT_EQ(A.GetString(2, 1), "");
}

TEST(StringArrayResize, ShrinkingASortedTableDropsTheLastShownRows) {
  auto A = TableOf({"d", "b", "e", "a", "c"});
  A.Sort(1, -1, true);  // shows a b c d e
  A.Resize(1, 3);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "b", "c"}));
  A.UnSort();  // the physical order of those that stayed
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"b", "a", "c"}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r2", "r4", "r5"}));
  A.Resize(1, 4);
  EXPECT_EQ(A.GetString(1, 4), "");
}

TEST(StringArrayResize, RowsGrowInStepsOfTheAllocationStep) {
  TStringArray A;
  A.SetAllocRowsBy(0);
  EXPECT_EQ(A.GetAllocRowsBy(), 1);
  A.SetAllocRowsBy(100);
  A.Resize(1, 1);
  A.Resize(1, 2);
  const std::size_t Two = A.AllocatedBytes();
  A.Resize(1, 100);
  EXPECT_EQ(A.AllocatedBytes(), Two);  // still inside the first step
  A.Resize(1, 101);
  EXPECT_GE(A.AllocatedBytes(), Two + 100 * 2 * 16);  // one more step of 2-cell rows
}

TEST(StringArrayResize, UnsatisfiableGrowthThrowsAndLeavesTheTable) {
  auto A = TableOf({"a", "b"});
  A.SetRowAttrib(2, 7);
  int Changes = 0;
  A.OnChange = [&] { ++Changes; };
  EXPECT_THROW(A.Resize(INT_MAX, INT_MAX), std::bad_alloc);
  EXPECT_EQ(A.GetNrCols(), 1);
  EXPECT_EQ(A.GetNrRows(), 2);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "b"}));
  EXPECT_EQ(A.GetRowAttrib(2), 7);
  EXPECT_EQ(Changes, 0);
}

// --- cells ----------------------------------------------------------------------------------

TEST(StringArrayCells, ShortAndLongTextsAndOverwrites) {
  TStringArray A;
  A.Resize(2, 2);
  const std::string L15(15, 'a'), L16(16, 'b'), L40(40, 'c'), L20(20, 'd');
  A.SetString(1, 1, L15);
  A.SetString(2, 1, L16);
  A.SetString(1, 2, L40);
  EXPECT_EQ(A.GetString(1, 1), L15);
  EXPECT_EQ(A.GetString(2, 1), L16);
  EXPECT_EQ(A.GetString(1, 2), L40);
  A.SetString(1, 2, L20);  // shorter long text
  EXPECT_EQ(A.GetString(1, 2), L20);
  A.SetString(1, 2, L40 + L40);  // longer
  EXPECT_EQ(A.GetString(1, 2), L40 + L40);
  A.SetString(1, 2, "s");  // long to short
  EXPECT_EQ(A.GetString(1, 2), "s");
  A.SetString(2, 1, "");
  EXPECT_EQ(A.GetString(2, 1), "");
  EXPECT_EQ(A.GetString(1, 1), L15);
  const std::string WithNul("a\0b", 3);
  A.SetString(0, 1, WithNul);
  EXPECT_EQ(A.GetString(0, 1), WithNul);
}

TEST(StringArrayCells, TextTakenFromTheTableItselfCanBeWrittenBack) {
  TStringArray A;
  A.Resize(1, 2);
  A.SetString(1, 1, std::string(100, 'p'));
  A.SetString(0, 1, "tail");
  // The source lies in the text pool, which grows during the write.
  for (int I = 0; I < 50; ++I) {
    A.SetString(1, 2, A.GetStringView(1, 1));
    A.SetString(1, 1, std::string(A.GetStringView(1, 2)) + "q");
  }
  EXPECT_EQ(A.GetString(1, 2), std::string(100, 'p') + std::string(49, 'q'));
  A.SetString(1, 1, A.GetStringView(1, 1).substr(3));  // a part of itself
  EXPECT_EQ(A.GetString(1, 1), std::string(97, 'p') + std::string(50, 'q'));
  A.SetString(0, 2, A.GetStringView(0, 1));
  EXPECT_EQ(A.GetString(0, 2), "tail");
}

TEST(StringArrayCells, RewritingLongTextsKeepsThePoolBounded) {
  TStringArray A;
  A.Resize(3, 200);
  std::mt19937 Rng(7);
  std::map<std::pair<int, int>, std::string> Model;
  std::size_t Peak = 0;
  for (int Round = 0; Round < 60; ++Round) {
    for (int R = 1; R <= 200; ++R)
      for (int C = 0; C <= 3; ++C) {
        const std::string T(std::size_t(Rng() % 120), char('a' + (R + C + Round) % 26));
        A.SetString(C, R, T);
        Model[{C, R}] = T;
      }
    Peak = std::max(Peak, A.AllocatedBytes());
  }
  for (const auto& [Key, Text] : Model) EXPECT_EQ(A.GetString(Key.first, Key.second), Text);
  // 800 cells of at most 119 bytes: without compaction the pool would hold 60 rounds of them.
  EXPECT_LT(Peak, 800u * 16 + 6 * 800 * 120 + 8192);
}

TEST(StringArrayCells, CellsAreCutAt255CharactersOnACharacterBoundary) {
  TStringArray A;
  A.Resize(1, 1);
  std::string E;
  for (int I = 0; I < 300; ++I) E += "\xC3\xA9";  // é
  A.SetString(1, 1, E);
  EXPECT_EQ(Utf8Length(A.GetString(1, 1)), 255);
  EXPECT_EQ(A.GetString(1, 1).size(), 510u);
  const std::string Euros = std::string(254, 'a') + "\xE2\x82\xAC\xE2\x82\xAC";
  A.SetString(1, 1, Euros);
  EXPECT_EQ(A.GetString(1, 1), std::string(254, 'a') + "\xE2\x82\xAC");
  A.SetString(1, 1, std::string(255, 'z'));
  EXPECT_EQ(A.GetString(1, 1).size(), 255u);
  A.SetString(1, 1, std::string(120, 'y') + E);  // bytes beyond 255, characters not
  EXPECT_EQ(Utf8Length(A.GetString(1, 1)), 255);
  // A store that keeps a check mark in front of 255 characters raises the limit by one.
  A.SetMaxCellLength(256);
  A.SetString(1, 1, "X" + E);
  EXPECT_EQ(Utf8Length(A.GetString(1, 1)), 256);
  A.SetMaxCellLength(1 << 30);
  EXPECT_EQ(A.GetMaxCellLength(), TStringArray::MaxCellLengthLimit);
}

TEST(StringArrayCells, OutsideTheTableReadsGiveNothingAndWritesAreIgnored) {
  auto A = TableOf({"1", "2"});
  A.SetColAttrib(1, 3);
  A.SetRowAttrib(1, 4);
  int Changes = 0;
  A.OnChange = [&] { ++Changes; };
  for (auto [C, R] : {std::pair{-1, 1}, {2, 1}, {0, 0}, {1, 3}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(A.GetString(C, R), "");
    EXPECT_EQ(A.GetAsNumber(C, R), 0.0);
    A.SetString(C, R, "ghost");
  }
  for (int I : {-1, 0, 3, INT_MAX}) {
    EXPECT_EQ(A.GetRowAttrib(I), 0);
    A.SetRowAttrib(I, 9);
    EXPECT_EQ(A.GetSortOrder(I), 0);
    A.SetSortOrder(I, 1);
    A.SetSortOrder(1, I);
    A.InsertRow(I == 3 ? 4 : I);
    A.RemoveRow(I);
  }
  for (int C : {-1, 2, INT_MAX}) {
    EXPECT_EQ(A.GetColAttrib(C), 0);
    A.SetColAttrib(C, 9);
    A.Sort(C, 1, false);
  }
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(A.GetNrRows(), 2);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"1", "2"}));
  EXPECT_EQ(A.GetColAttrib(1), 3);
  EXPECT_EQ(A.GetRowAttrib(1), 4);
  EXPECT_EQ(A.GetRowAttrib(2), 0);
  EXPECT_EQ(A.GetSortOrder(1), 1);
}

// --- numbers --------------------------------------------------------------------------------

TEST(StringArrayNumbers, WhatReadsAsANumber) {
  const std::pair<const char*, double> Numbers[] = {
      {"0", 0},          {"42", 42},           {"-7", -7}, {"+3.5", 3.5}, {" 12 ", 12},
      {"\t-1e3", -1000}, {"2,5", 2.5},         {"1.", 1},  {".5", 0.5},   {"-,25", -0.25},
      {"1E+2", 100},     {"6.02e23", 6.02e23}, {"007", 7}, {"1e-400", 0}};
  for (const auto& [Text, Value] : Numbers) {
    double X = -99;
    EXPECT_TRUE(TStringArray::ParseNumber(Text, X)) << Text;
    EXPECT_DOUBLE_EQ(X, Value) << Text;
  }
  double X = 0;
  EXPECT_TRUE(TStringArray::ParseNumber("1e999", X));
  EXPECT_TRUE(std::isinf(X));
  EXPECT_TRUE(TStringArray::ParseNumber("-1e999", X));
  EXPECT_LT(X, 0);
  for (const char* Text : {"", " ", "abc", "1,234.5", "1.2.3", "0x1F", "inf", "-Inf", "nan", "1e",
                           "e5", "+", "-", ".", "1 2", "12a", "--1", "1e+",
                           "\xC2\xA0"
                           "1"})
    EXPECT_FALSE(TStringArray::ParseNumber(Text, X)) << Text;
}

TEST(StringArrayNumbers, GetAsNumberReadsTheCellOrGivesZero) {
  auto A = TableOf({"3,25", "text", "", " -8 "});
  EXPECT_DOUBLE_EQ(A.GetAsNumber(1, 1), 3.25);
  EXPECT_EQ(A.GetAsNumber(1, 2), 0.0);
  EXPECT_EQ(A.GetAsNumber(1, 3), 0.0);
  EXPECT_EQ(A.GetAsNumber(1, 4), -8.0);
}

// --- rows -----------------------------------------------------------------------------------

TEST(StringArrayRows, InsertAtTheEndsAndInTheMiddleWithAttributes) {
  auto A = TableOf({"a", "b", "c"});
  for (int R = 1; R <= 3; ++R) A.SetRowAttrib(R, std::uint8_t(R));
  A.InsertRow(1);
  A.InsertRow(3);
  A.InsertRow(6);  // appends
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"", "a", "", "b", "c", ""}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"", "r1", "", "r2", "r3", ""}));
  const std::vector<int> Attribs = {0, 1, 0, 2, 3, 0};
  for (int R = 1; R <= 6; ++R) EXPECT_EQ(A.GetRowAttrib(R), Attribs[std::size_t(R - 1)]);
}

TEST(StringArrayRows, RemoveAtTheEndsAndInTheMiddleClearsTheLeavingRow) {
  auto A = TableOf({"a", "b", "c", "d", std::string(30, 'e')});
  for (int R = 1; R <= 5; ++R) A.SetRowAttrib(R, std::uint8_t(0x10 * R));
  A.RemoveRow(1);
  A.RemoveRow(2);
  A.RemoveRow(3);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"b", "d"}));
  EXPECT_EQ(A.GetRowAttrib(1), 0x20);
  EXPECT_EQ(A.GetRowAttrib(2), 0x40);
  A.Resize(1, 5);  // the rows that left do not come back
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"b", "d", "", "", ""}));
  for (int R = 3; R <= 5; ++R) EXPECT_EQ(A.GetRowAttrib(R), 0);
  A.RemoveRow(1);
  A.RemoveRow(1);
  A.RemoveRow(1);
  A.RemoveRow(1);
  A.RemoveRow(1);
  EXPECT_EQ(A.GetNrRows(), 0);
  A.InsertRow(1);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{""}));
}

TEST(StringArrayRows, ClearEmptiesCellsAndKeepsTheRest) {
  auto A = TableOf({"a", std::string(50, 'b'), "c"});
  A.SetRowAttrib(2, 0x80);
  A.SetColAttrib(1, 0x80);
  A.Sort(1, -1, false);
  A.Clear();
  EXPECT_EQ(A.GetNrRows(), 3);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"", "", ""}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"", "", ""}));
  EXPECT_EQ(A.GetRowAttrib(2), 0x80);  // still the row that held the b's
  EXPECT_EQ(A.GetColAttrib(1), 0x80);
  EXPECT_EQ(A.GetSortOrder(1), 3);
  A.SetString(1, 1, std::string(40, 'n'));
  EXPECT_EQ(A.GetString(1, 1), std::string(40, 'n'));
}

TEST(StringArrayRows, InsertAndRemoveInASortedTableUseShownPositions) {
  auto A = TableOf({"c", "a", "b"});
  A.Sort(1, -1, true);  // a b c
  A.InsertRow(2);
  A.SetString(1, 2, "new");
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "new", "b", "c"}));
  A.RemoveRow(4);  // "c"
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "new", "b"}));
  A.UnSort();  // physically the new row went before "b"
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "new", "b"}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r2", "", "r3"}));
}

TEST(StringArrayRows, RemoveRowsInOnePassKeepsTheShownOrderAndAttributes) {
  auto A = TableOf({"d", "a", std::string(40, 'x'), "b", "c"});
  for (int R = 1; R <= 5; ++R) A.SetRowAttrib(R, std::uint8_t(R));
  A.Sort(1, -1, true);  // a b c d xxx
  int Changes = 0;
  A.OnChange = [&] { ++Changes; };
  EXPECT_EQ(A.RemoveRows({0, 1, 0, 0, 1}), 2);  // b and the x's
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "c", "d"}));
  EXPECT_EQ(A.GetRowAttrib(1), 2);
  EXPECT_EQ(A.GetRowAttrib(2), 5);
  EXPECT_EQ(A.GetRowAttrib(3), 1);
  A.UnSort();  // physical order of the rows that stayed: d a c
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"d", "a", "c"}));
  EXPECT_EQ(A.RemoveRows({}), 0);  // a short list keeps the rows beyond it
  EXPECT_EQ(A.RemoveRows({1, 1, 1, 1, 1, 1}), 3);
  EXPECT_EQ(A.GetNrRows(), 0);
  A.Resize(1, 2);  // rows that left come back empty
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"", ""}));
  EXPECT_EQ(A.GetRowAttrib(1), 0);
}

// --- sorting --------------------------------------------------------------------------------

TEST(StringArraySort, TextIgnoresCaseAndKeepsEqualRowsInOrder) {
  auto A = TableOf({"b", "A", "a", "B", "ab", "_x", "\xC3\xA9", "Z"});
  A.Sort(1, -1, true);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"_x", "A", "a", "ab", "b", "B", "Z", "\xC3\xA9"}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r6", "r2", "r3", "r5", "r1", "r4", "r8", "r7"}));
}

TEST(StringArraySort, LongTextsWithEqualPrefixes) {
  auto A = TableOf({"abcdefghZ", "ABCDEFGHa", "abcdefgh", "abcdefg", std::string("abcdefg\0", 8),
                    "ABCDEFGHA", "abcdefghij", "abcdefgh" + std::string(40, 'b')});
  A.Sort(1, -1, true);
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r4", "r5", "r3", "r2", "r6", "r8", "r7", "r1"}));
}

TEST(StringArraySort, NumbersByValueAndBeforeText) {
  auto A = TableOf({"10", "x", "9", "-1.5", "", "1e1", "2,5", "-0", "0", "Apple", " 3 "});
  A.Sort(1, -1, true);
  EXPECT_EQ(ColumnOf(A, 1),
            (Strings{"-1.5", "-0", "0", "2,5", " 3 ", "9", "10", "1e1", "", "Apple", "x"}));
}

TEST(StringArraySort, DescendingReversesTheOrderButNotTies) {
  auto A = TableOf({"b", "10", "B", "2", "a", "2.0"});
  A.Sort(1, -1, false);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"b", "B", "a", "10", "2", "2.0"}));
}

TEST(StringArraySort, SecondaryColumnBreaksTies) {
  TStringArray A;
  A.Resize(2, 6);
  const Strings First = {"x", "y", "x", "y", "x", "z"}, Second = {"3", "b", "1", "A", "2", "0"};
  for (int R = 1; R <= 6; ++R) {
    A.SetString(1, R, First[std::size_t(R - 1)]);
    A.SetString(2, R, Second[std::size_t(R - 1)]);
  }
  A.Sort(1, 2, true);
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"1", "2", "3", "A", "b", "0"}));
  A.Sort(1, 2, false);
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"0", "b", "A", "3", "2", "1"}));
  A.UnSort();
  A.Sort(1, 99, true);  // no secondary column: ties stay as shown
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"3", "1", "2", "b", "A", "0"}));
  A.Sort(1, 1, true);
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"3", "1", "2", "b", "A", "0"}));
}

TEST(StringArraySort, SortingAgainStartsFromTheShownOrder) {
  TStringArray A;
  A.Resize(2, 4);
  const Strings First = {"b", "a", "b", "a"}, Second = {"1", "2", "2", "1"};
  for (int R = 1; R <= 4; ++R) {
    A.SetString(1, R, First[std::size_t(R - 1)]);
    A.SetString(2, R, Second[std::size_t(R - 1)]);
  }
  A.Sort(2, -1, true);
  A.Sort(1, -1, true);  // ties of column 1 keep the column-2 order
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"1", "2", "1", "2"}));
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "a", "b", "b"}));
  A.Sort(0, -1, true);  // column 0 is a column like the others
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"", "", "", ""}));
  EXPECT_EQ(ColumnOf(A, 2), (Strings{"1", "2", "1", "2"}));
}

TEST(StringArraySort, SortOrderNamesPhysicalRowsAndCanBeCopied) {
  auto A = TableOf({"d", "b", "a", "c", "e"});
  A.SetRowAttrib(3, 0x40);
  A.Sort(1, -1, true);
  const std::vector<int> Expect = {3, 2, 4, 1, 5};
  for (int R = 1; R <= 5; ++R) EXPECT_EQ(A.GetSortOrder(R), Expect[std::size_t(R - 1)]);
  EXPECT_EQ(A.GetRowAttrib(1), 0x40);  // attributes move with their row

  auto B = TableOf({"d", "b", "a", "c", "e"});
  B.Sort(1, -1, false);  // some other permutation to start from
  for (int R = 1; R <= 5; ++R) B.SetSortOrder(R, A.GetSortOrder(R));
  EXPECT_EQ(ColumnOf(B, 1), ColumnOf(A, 1));
  for (int R = 1; R <= 5; ++R) EXPECT_EQ(B.GetSortOrder(R), A.GetSortOrder(R));

  B.SetSortOrder(1, 5);  // a swap keeps the order a permutation
  EXPECT_EQ(ColumnOf(B, 1), (Strings{"e", "b", "c", "d", "a"}));
  B.UnSort();
  EXPECT_EQ(ColumnOf(B, 1), (Strings{"d", "b", "a", "c", "e"}));
}

TEST(StringArraySort, SortThenRemoveRowThenUnSort) {
  auto A = TableOf({"c", "a", "d", "b"});
  A.Sort(1, -1, true);
  A.RemoveRow(2);  // "b", physical row 4
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"a", "c", "d"}));
  A.RemoveRow(1);  // "a", physical row 2
  A.UnSort();
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"c", "d"}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r1", "r3"}));
}

TEST(StringArraySort, CommitSortingMakesTheShownOrderPhysical) {
  std::vector<std::string> Texts;
  for (int I = 0; I < 50; ++I) Texts.push_back(std::to_string((I * 37) % 50) + "x");
  auto A = TableOf(Texts);
  for (int R = 1; R <= 50; ++R) A.SetRowAttrib(R, std::uint8_t(R));
  A.Sort(1, -1, true);
  const auto Shown1 = ColumnOf(A, 1), Shown0 = ColumnOf(A, 0);
  std::vector<int> Attribs;
  for (int R = 1; R <= 50; ++R) Attribs.push_back(A.GetRowAttrib(R));
  A.CommitSorting();
  A.UnSort();
  EXPECT_EQ(ColumnOf(A, 1), Shown1);
  EXPECT_EQ(ColumnOf(A, 0), Shown0);
  for (int R = 1; R <= 50; ++R) {
    EXPECT_EQ(A.GetSortOrder(R), R);
    EXPECT_EQ(A.GetRowAttrib(R), Attribs[std::size_t(R - 1)]);
  }
}

// --- hooks ----------------------------------------------------------------------------------

TEST(StringArrayHooks, ChangeHookFollowsCellChanges) {
  TStringArray A;
  A.Resize(1, 2);
  std::vector<std::string> Seen;
  A.OnChange = [&] { Seen.push_back(A.GetString(1, 1)); };
  A.SetString(1, 1, "new");
  ASSERT_EQ(Seen, (Strings{"new"}));  // called after the write
  A.InsertRow(1);
  A.RemoveRow(1);
  A.Resize(1, 3);
  A.Resize(1, 3);  // no change, no call
  A.Clear();
  EXPECT_EQ(Seen.size(), 5u);
  A.SetRowAttrib(1, 1);
  A.SetColAttrib(1, 1);
  A.Sort(1, -1, true);
  A.UnSort();
  EXPECT_EQ(Seen.size(), 5u);
}

TEST(StringArrayHooks, ProgressRisesToOneHundredDuringLongOperations) {
  std::vector<std::string> Texts;
  for (int I = 0; I < 5000; ++I) Texts.push_back(std::to_string(I * 7919 % 5000));
  auto A = TableOf(Texts);
  std::vector<int> Percent;
  A.OnPercentDone = [&](TObject* Sender, int P) {
    EXPECT_EQ(Sender, nullptr);
    Percent.push_back(P);
  };
  for (int Pass = 0; Pass < 2; ++Pass) {
    Percent.clear();
    if (Pass == 0)
      A.Sort(1, -1, true);
    else
      A.CommitSorting();
    ASSERT_GT(Percent.size(), 10u);
    EXPECT_EQ(Percent.front(), 0);
    EXPECT_EQ(Percent.back(), 100);
    EXPECT_TRUE(std::is_sorted(Percent.begin(), Percent.end()));
  }
}

TEST(StringArrayHooks, SortExchangeKeysAreComparedButNeverStored) {
  // Dates as day.month.year sort by the year-month-day key the hook makes of them.
  auto A = TableOf({"03.01.2024", "15.12.2023", "01.02.2024", "15.12.2023"});
  int Calls = 0;
  A.OnBeforeSortExchange = [&](TObject* Sender, const std::string& Key, std::string& Exch) {
    EXPECT_EQ(Sender, nullptr);
    EXPECT_EQ(Exch, Key);
    ++Calls;
    Exch = Key.substr(6, 4) + Key.substr(3, 2) + Key.substr(0, 2);
  };
  A.Sort(1, -1, true);
  EXPECT_EQ(Calls, 4);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"15.12.2023", "15.12.2023", "03.01.2024", "01.02.2024"}));
  EXPECT_EQ(ColumnOf(A, 0), (Strings{"r2", "r4", "r1", "r3"}));
  // Keys turned into numbers compare as numbers.
  auto B = TableOf({"ten", "nine", "eleven"});
  const std::map<std::string, std::string> Value = {{"ten", "10"}, {"nine", "9"}, {"eleven", "11"}};
  B.OnBeforeSortExchange = [&](TObject*, const std::string& Key, std::string& Exch) {
    Exch = Value.at(Key);
  };
  B.Sort(1, -1, true);
  EXPECT_EQ(ColumnOf(B, 1), (Strings{"nine", "ten", "eleven"}));
}

TEST(StringArrayHooks, AFailingSortExchangeLeavesTheOrder) {
  auto A = TableOf({"b", "c", "a"});
  A.Sort(1, -1, false);  // c b a: not the physical order
  A.SetString(1, 2, "z");
  int Calls = 0;
  A.OnBeforeSortExchange = [&](TObject*, const std::string&, std::string&) {
    if (++Calls == 3) throw std::runtime_error("host failed");
  };
  EXPECT_THROW(A.Sort(1, -1, true), std::runtime_error);
  EXPECT_EQ(ColumnOf(A, 1), (Strings{"c", "z", "a"}));
  EXPECT_EQ(A.GetSortOrder(1), 2);
}

// --- copies ---------------------------------------------------------------------------------

TEST(StringArrayCopy, CopiesAreDeepAndKeepTheOrderButNotTheHooks) {
  auto A = TableOf({"b", std::string(30, 'c'), "a"});
  A.SetRowAttrib(2, 0x80);
  A.SetColAttrib(1, 0x80);
  A.SetAllocRowsBy(7);
  A.Sort(1, -1, true);
  int Calls = 0;
  A.OnChange = [&] { ++Calls; };
  TStringArray B(A);
  EXPECT_EQ(ColumnOf(B, 1), ColumnOf(A, 1));
  EXPECT_EQ(B.GetSortOrder(1), 3);
  EXPECT_EQ(B.GetRowAttrib(3), 0x80);
  EXPECT_EQ(B.GetColAttrib(1), 0x80);
  EXPECT_EQ(B.GetAllocRowsBy(), 7);
  EXPECT_FALSE(B.OnChange);
  B.SetString(1, 3, "changed");
  EXPECT_EQ(A.GetString(1, 3), std::string(30, 'c'));
  B.UnSort();
  EXPECT_EQ(ColumnOf(B, 1), (Strings{"b", "changed", "a"}));

  TStringArray C;
  C.OnChange = [&] { Calls += 100; };
  C = A;
  EXPECT_EQ(ColumnOf(C, 1), ColumnOf(A, 1));
  C.SetString(1, 1, "z");
  EXPECT_EQ(Calls, 100);  // the target's own hook
  TStringArray D(std::move(C));
  EXPECT_EQ(D.GetString(1, 1), "z");
  C = std::move(D);
  EXPECT_EQ(C.GetString(1, 1), "z");
}

// --- a random run against a plain model --------------------------------------------------------

// The comparison rule, written plainly over the few texts the run uses.
struct TModelOrder {
  std::map<std::string, double> Numbers = {{"10", 10},  {"9", 9}, {"-2", -2}, {"2,5", 2.5},
                                           {"1e1", 10}, {"0", 0}, {" 7", 7}};
  int Compare(const std::string& A, const std::string& B) const {
    const auto NA = Numbers.find(A), NB = Numbers.find(B);
    if ((NA != Numbers.end()) != (NB != Numbers.end())) return NA != Numbers.end() ? -1 : 1;
    if (NA != Numbers.end()) return NA->second < NB->second ? -1 : NA->second > NB->second;
    std::string FA = A, FB = B;
    for (auto* F : {&FA, &FB})
      for (char& Ch : *F)
        if (Ch >= 'A' && Ch <= 'Z') Ch = char(Ch - 'A' + 'a');
    return FA < FB ? -1 : FA > FB;
  }
};

TEST(StringArrayModel, RandomOperationsMatchAPlainTable) {
  const Strings Pool = {
      "",  "abc",      "ABC", "abcdefghij", "ABCDEFGHIJk", "10",
      "9", "-2",       "2,5", "1e1",        "0",           " 7",
      "x", "\xC3\xA9", "Zed", "_",          "abcdefgh",    "ABCDEFGH" + std::string(30, 'q')};
  const TModelOrder Order;
  std::mt19937 Rng(12345);
  TStringArray A;
  A.SetAllocRowsBy(3);
  int Cols = 2;
  std::vector<std::pair<Strings, std::uint8_t>> Rows;  // shown rows: cells 0..Cols, attribute
  A.Resize(Cols, 0);
  for (int Step = 0; Step < 3000; ++Step) {
    const int N = static_cast<int>(Rows.size());
    switch (Rng() % 8) {
      case 0:
      case 1:
      case 2:
        if (N) {
          const int C = int(Rng() % unsigned(Cols + 1)), R = int(Rng() % unsigned(N)) + 1;
          const std::string& T = Pool[Rng() % Pool.size()];
          A.SetString(C, R, T);
          Rows[std::size_t(R - 1)].first[std::size_t(C)] = T;
        }
        break;
      case 3: {
        const int R = int(Rng() % unsigned(N + 1)) + 1;
        A.InsertRow(R);
        Rows.insert(Rows.begin() + (R - 1), {Strings(std::size_t(Cols + 1)), 0});
        break;
      }
      case 4:
        if (N) {
          const int R = int(Rng() % unsigned(N)) + 1;
          A.RemoveRow(R);
          Rows.erase(Rows.begin() + (R - 1));
        }
        break;
      case 5: {
        const int NewCols = int(Rng() % 4), NewRows = int(Rng() % 12);
        A.Resize(NewCols, NewRows);
        Rows.resize(std::size_t(NewRows), {Strings(std::size_t(Cols + 1)), 0});
        for (auto& Row : Rows) Row.first.resize(std::size_t(NewCols + 1));
        Cols = NewCols;
        break;
      }
      case 6: {
        const int C = int(Rng() % unsigned(Cols + 1)), Sec = int(Rng() % unsigned(Cols + 2)) - 1;
        const bool Asc = Rng() % 2;
        A.Sort(C, Sec, Asc);
        std::stable_sort(Rows.begin(), Rows.end(), [&](const auto& X, const auto& Y) {
          int Cmp = Order.Compare(X.first[std::size_t(C)], Y.first[std::size_t(C)]);
          if (Cmp == 0 && Sec >= 0 && Sec != C)
            Cmp = Order.Compare(X.first[std::size_t(Sec)], Y.first[std::size_t(Sec)]);
          return Asc ? Cmp < 0 : Cmp > 0;
        });
        break;
      }
      case 7:
        if (N) {
          const int R = int(Rng() % unsigned(N)) + 1;
          const auto Attr = std::uint8_t(Rng());
          A.SetRowAttrib(R, Attr);
          Rows[std::size_t(R - 1)].second = Attr;
          if (Rng() % 4 == 0) A.CommitSorting();
        }
        break;
    }
    ASSERT_EQ(A.GetNrRows(), static_cast<int>(Rows.size()));
    ASSERT_EQ(A.GetNrCols(), Cols);
    for (int R = 1; R <= A.GetNrRows(); ++R) {
      ASSERT_EQ(A.GetRowAttrib(R), Rows[std::size_t(R - 1)].second) << "step " << Step;
      for (int C = 0; C <= Cols; ++C)
        ASSERT_EQ(A.GetString(C, R), Rows[std::size_t(R - 1)].first[std::size_t(C)])
            << "step " << Step << " cell " << C << "," << R;
    }
  }
}

}  // namespace
}  // namespace kvl

namespace kvl {
namespace {

// Large tables take the bucket path of the sort; it must give the same order as the rule.
TEST(StringArrayModel, LargeSortsFollowThePlainRule) {
  TModelOrder Order;
  std::mt19937 Rng(99);
  const Strings Pool = {"", "abc", "ABC", "abcdefghij", "ABCDEFGHIJk", "2,5", "1e1", " 7", "_"};
  const auto RandomText = [&] {
    switch (Rng() % 3) {
      case 0:
        return Pool[Rng() % Pool.size()];
      case 1: {
        const std::string T = std::to_string(int(Rng() % 2000) - 1000);
        Order.Numbers[T] = std::stod(T);
        return T;
      }
      default: {
        std::string T;
        for (unsigned I = 0, Len = 1 + Rng() % 12; I < Len; ++I) T += "aAbBcCxyz"[Rng() % 9];
        return T;
      }
    }
  };
  const int N = 4000;
  TStringArray A;
  A.Resize(2, N);
  std::vector<Strings> Rows(N, Strings(3));
  for (int R = 1; R <= N; ++R)
    for (int C = 0; C <= 2; ++C) {
      Rows[std::size_t(R - 1)][std::size_t(C)] = RandomText();
      A.SetString(C, R, Rows[std::size_t(R - 1)][std::size_t(C)]);
    }
  for (const auto& Case :
       {std::tuple{1, -1, true}, {1, 2, false}, {2, 0, true}, {0, -1, false}, {2, 1, false}}) {
    const int Col = std::get<0>(Case), Sec = std::get<1>(Case);
    const bool Asc = std::get<2>(Case);
    A.Sort(Col, Sec, Asc);
    std::stable_sort(Rows.begin(), Rows.end(), [&](const Strings& X, const Strings& Y) {
      int Cmp = Order.Compare(X[std::size_t(Col)], Y[std::size_t(Col)]);
      if (Cmp == 0 && Sec >= 0) Cmp = Order.Compare(X[std::size_t(Sec)], Y[std::size_t(Sec)]);
      return Asc ? Cmp < 0 : Cmp > 0;
    });
    for (int R = 1; R <= N; ++R)
      for (int C = 0; C <= 2; ++C)
        ASSERT_EQ(A.GetString(C, R), Rows[std::size_t(R - 1)][std::size_t(C)])
            << "sort " << Col << "," << Sec << "," << Asc << " cell " << C << "," << R;
  }
}

}  // namespace
}  // namespace kvl
