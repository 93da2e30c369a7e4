// TRLData: dimensions, cells and check marks, formats, rows, sorting and copying.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "kvl/core/stringl.h"
#include "kvl/platform/errors.h"
#include "kvl/replist/replist.h"

namespace kvl {
namespace {

std::string Repeat(std::string_view S, int N) {
  std::string R;
  for (int I = 0; I < N; ++I) R += S;
  return R;
}

std::vector<std::string> Column(const TRLData& D, int Col) {
  std::vector<std::string> R;
  for (int Row = 1; Row <= D.GetNrOfRows(); ++Row) R.push_back(D(Col, Row));
  return R;
}

using Strings = std::vector<std::string>;

TEST(RLDataCreate, NewStoreHasOneNamedColumnAndNoRows) {
  TRLData D(nullptr);
  EXPECT_EQ(D.GetNrOfColumns(), 1);
  EXPECT_EQ(D.GetNrOfRows(), 0);
  EXPECT_EQ(D.GetHeader(1), "C-1");
  EXPECT_EQ(D.GetLastSortColumn(), -1);
  EXPECT_TRUE(D.GetLastSortOrder());
  EXPECT_EQ(D.GetCommonHeader(), "KVL Report Listview");
  EXPECT_EQ(D.GetFeedbkNumCells(), 1);
  EXPECT_EQ(D.GetFeedbkStep(), 1);
  EXPECT_EQ(D.GetStrings().GetNrRows(), 1);  // one physical row even without data rows
}

TEST(RLDataResize, ColumnsClampNameNewOnesAndKeepOldSettings) {
  TRLData D(nullptr);
  D.SetNrOfColumns(0);
  EXPECT_EQ(D.GetNrOfColumns(), 1);
  D.SetNrOfColumns(2);
  D.SetHeader(1, "Name");
  D.SetColumnFormat(2, "[i][60]");
  D.SetColumnCheckMode(2, cmBox);
  D.SetNrOfColumns(4);
  EXPECT_EQ(D.GetHeader(1), "Name");
  EXPECT_EQ(D.GetHeader(2), "C-2");
  EXPECT_EQ(D.GetHeader(3), "C-3");
  EXPECT_EQ(D.GetHeader(4), "C-4");
  EXPECT_EQ(D.GetColumnFormat(2), "[i][60]");
  EXPECT_EQ(D.GetColumnCheckMode(2), cmBox);
  EXPECT_EQ(D.GetColumnCheckMode(3), cmNone);
  D.SetNrOfRows(-4);
  EXPECT_EQ(D.GetNrOfRows(), 0);
  D.SetNrOfRows(3);
  EXPECT_EQ(D.GetFeedbkNumCells(), 15);
  EXPECT_EQ(D.GetFeedbkStep(), 1);
  D.SetNrOfRows(1000);
  EXPECT_EQ(D.GetFeedbkNumCells(), 5000);
  EXPECT_EQ(D.GetFeedbkStep(), 51);
}

TEST(RLDataResize, GrowingAndShrinkingBothWaysKeepsCellsThatStay) {
  TRLData D(nullptr);
  D.SetNrOfColumns(3);
  D.SetNrOfRows(4);
  for (int C = 0; C <= 3; ++C)
    for (int R = 1; R <= 4; ++R) D.SetElem(C, R, std::to_string(C) + "/" + std::to_string(R));
  D.SetNrOfColumns(6);
  D.SetNrOfRows(9);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(3);
  D.SetNrOfColumns(5);
  D.SetNrOfRows(5);
  for (int C = 0; C <= 5; ++C)
    for (int R = 1; R <= 5; ++R)
      EXPECT_EQ(D(C, R), C <= 2 && R <= 3 ? std::to_string(C) + "/" + std::to_string(R) : "")
          << C << "/" << R;
}

TEST(RLDataResize, RowsThatLeaveComeBackEmptyAndEnabled) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(1);
  D.SetElem(0, 1, "zero");
  D.SetElem(1, 1, "one");
  D.GetStrings().SetRowAttrib(1, raSelected | raDisabled);
  D.SetNrOfRows(0);
  D.SetElem(1, 1, "ignored while there are no rows");
  D.SetNrOfRows(1);  // what the view's AddRow does
  EXPECT_EQ(D(0, 1), "");
  EXPECT_EQ(D(1, 1), "");
  EXPECT_EQ(D.GetStrings().GetRowAttrib(1), 0);

  D.SetNrOfRows(10);
  for (int R = 1; R <= 10; ++R) {
    D.SetElem(2, R, "r" + std::to_string(R));
    D.GetStrings().SetRowAttrib(R, raDisabled);
  }
  D.SetNrOfRows(5);
  D.SetNrOfRows(10);
  for (int R = 6; R <= 10; ++R) {
    EXPECT_EQ(D(2, R), "");
    EXPECT_EQ(D.GetStrings().GetRowAttrib(R), 0);
  }
  EXPECT_EQ(D(2, 5), "r5");
  // The last row removed also loses its attributes.
  D.SetNrOfRows(1);
  D.RemoveRow(1);
  D.SetNrOfRows(1);
  EXPECT_EQ(D(2, 1), "");
  EXPECT_EQ(D.GetStrings().GetRowAttrib(1), 0);
}

TEST(RLDataCells, OutsideTheTableReadsEmptyAndIgnoresWrites) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(2);
  for (auto [C, R] : {std::pair{-1, 1}, {3, 1}, {1, 0}, {1, 3}}) {
    D.SetElem(C, R, "x");
    D.SetElemChecked(C, R, true);
    EXPECT_EQ(D(C, R), "");
    EXPECT_FALSE(D.GetElemChecked(C, R));
    EXPECT_EQ(D.GetDefaultValue(C, R), "");
  }
  EXPECT_EQ(D.GetHeader(0), "");
  EXPECT_EQ(D.GetHeader(3), "");
  D.SetHeader(3, "x");
  D.SetColumnCheckMode(0, cmBox);
  EXPECT_EQ(D.GetColumnCheckMode(0), cmNone);
  // Column 0 is a plain column: no mark is read from or written into it.
  D.SetElem(0, 1, "Xzero");
  EXPECT_EQ(D(0, 1), "Xzero");
  EXPECT_FALSE(D.GetElemChecked(0, 1));
  D.SetElemChecked(0, 1, true);
  EXPECT_EQ(D(0, 1), "Xzero");
  EXPECT_EQ(D.FirstCheckedElemInCol(0), 0);
  EXPECT_EQ(D.CountCheckedElemsInCol(0), 0);
  EXPECT_EQ(D.GetAsNumber(1, 1), 0);
  D.SetElem(1, 1, " 2,5 ");
  EXPECT_EQ(D.GetAsNumber(1, 1), 2.5);
}

TEST(RLDataCells, TextsAreCutAtTheirLimitOnACharacterBoundary) {
  TRLData D(nullptr);
  D.SetNrOfRows(1);
  const std::string Long = Repeat("é€", 150);  // 300 characters of 2 and 3 bytes
  D.SetElem(1, 1, Long);
  D.SetHeader(1, Long);
  D.SetColumnFormat(1, Long);
  EXPECT_EQ(D(1, 1), Utf8Left(Long, 255));
  EXPECT_EQ(D.GetHeader(1), Utf8Left(Long, 50));
  EXPECT_EQ(D.GetColumnFormat(1), Utf8Left(Long, 80));
  // A checked cell keeps all 255 characters of its text behind the mark.
  D.SetColumnCheckMode(1, cmBox);
  D.SetElem(1, 1, Long);
  D.SetElemChecked(1, 1, true);
  EXPECT_EQ(D(1, 1), Utf8Left(Long, 255));
  EXPECT_TRUE(D.GetElemChecked(1, 1));
}

TEST(RLDataCheckModes, ConversionsKeepTheVisibleTextsAndSwitchingBackRestoresThem) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(4);
  const std::string Full = Repeat("€", 255);
  const Strings Texts = {"abc", "", "x", Full};
  for (int R = 1; R <= 4; ++R) D.SetElem(1, R, Texts[std::size_t(R - 1)]);
  int Changes = 0;
  D.GetStrings().OnChange = [&] { ++Changes; };
  D.SetColumnCheckMode(1, cmBox);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(D.GetStrings().GetString(1, 1), " abc");
  EXPECT_EQ(D.GetStrings().GetString(1, 2), "");
  EXPECT_EQ(D.GetStrings().GetString(1, 3), " x");
  EXPECT_EQ(Column(D, 1), Texts);
  D.SetElemChecked(1, 1, true);
  D.SetColumnCheckMode(1, cmRadio);  // every mark cleared, empty cells get one too
  EXPECT_EQ(D.GetStrings().GetString(1, 1), " abc");
  EXPECT_EQ(D.GetStrings().GetString(1, 2), " ");
  D.SetColumnCheckMode(1, cmNone);
  EXPECT_EQ(Column(D, 1), Texts);
  EXPECT_EQ(D.GetStrings().GetString(1, 4), Full);
  EXPECT_FALSE(D.GetIsCheckedColumn(1));
  D.SetIsCheckedColumn(2, true);
  EXPECT_EQ(D.GetColumnCheckMode(2), cmBox);
  D.SetColumnCheckMode(2, cmRadio);
  EXPECT_FALSE(D.GetIsCheckedColumn(2));
  D.GetStrings().OnChange = nullptr;
}

TEST(RLDataCheckModes, WritingTextKeepsTheMarkAndAnyOtherFirstCharacterReadsChecked) {
  TRLData D(nullptr);
  D.SetNrOfRows(3);
  D.SetColumnCheckMode(1, cmBox);
  D.SetElem(1, 1, "new");
  EXPECT_EQ(D.GetStrings().GetString(1, 1), " new");
  D.SetElemChecked(1, 1, true);
  D.SetElem(1, 1, "other");
  EXPECT_EQ(D.GetStrings().GetString(1, 1), "Xother");
  D.GetStrings().SetString(1, 2, "éabc");
  EXPECT_TRUE(D.GetElemChecked(1, 2));
  EXPECT_EQ(D(1, 2), "abc");
  D.SetElemChecked(1, 3, false);  // an empty cell gets a mark
  EXPECT_EQ(D.GetStrings().GetString(1, 3), " ");
  EXPECT_EQ(D(1, 3), "");
}

TEST(RLDataCheckModes, RadioColumnsKeepAtMostOneMark) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(4);
  D.SetColumnCheckMode(2, cmRadio);
  D.SetElem(2, 1, "a");
  D.SetElemChecked(2, 1, true);
  D.SetElemChecked(2, 3, true);
  EXPECT_EQ(D.GetStrings().GetString(2, 1), " a");
  EXPECT_EQ(D.GetStrings().GetString(2, 2), " ");
  EXPECT_EQ(D.GetStrings().GetString(2, 3), "X");
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 1);
  EXPECT_EQ(D.FirstCheckedElemInCol(2), 3);
  // Column-wide operations are for box columns only.
  D.SetAllCheckmarksOfCol(2, true);
  D.InvertAllCheckmarksOfCol(2);
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 1);
  // Copying a row keeps the target's own radio mark.
  D.SetElem(2, 1, "copied");
  D.CopyRow(3, 1);
  D.CopyRow(1, 4);
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 1);
  EXPECT_EQ(D(2, 4), "");
}

TEST(RLDataCheckModes, BoxColumnMarksCountAndSearch) {
  TRLData D(nullptr);
  D.SetNrOfColumns(3);
  D.SetNrOfRows(3);
  D.SetColumnCheckMode(2, cmBox);
  D.SetColumnCheckMode(3, cmBox);
  D.SetElem(1, 2, "Xplain");  // plain columns never count
  D.GetStrings().SetString(2, 1, "Xa");
  D.GetStrings().SetString(2, 2, " b");
  D.InvertAllCheckmarksOfCol(2);
  EXPECT_EQ(D.GetStrings().GetString(2, 1), " a");
  EXPECT_EQ(D.GetStrings().GetString(2, 2), "Xb");
  EXPECT_EQ(D.GetStrings().GetString(2, 3), "X");
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 2);
  EXPECT_EQ(D.FirstCheckedElemInCol(2), 2);
  EXPECT_EQ(D.FirstCheckedElemInCol(1), 0);
  D.SetElemChecked(3, 2, true);
  EXPECT_EQ(D.CountCheckedElemsInRow(2), 2);
  EXPECT_EQ(D.FirstCheckedElemInRow(1), 0);
  EXPECT_EQ(D.FirstCheckedElemInRow(2), 2);
  EXPECT_EQ(D.FirstCheckedElemInRow(4), 0);
  D.SetAllCheckmarksOfCol(2, false);
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 0);
  EXPECT_EQ(D.FirstCheckedElemInRow(2), 3);
}

TEST(RLDataFormats, DefaultValuesOfEveryKind) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(300);
  const auto Default = [&](std::string_view Fmt, int Row) {
    D.SetColumnFormat(1, Fmt);
    return D.GetDefaultValue(1, Row);
  };
  EXPECT_EQ(Default("[i][60]rix4", 7), "0007");
  EXPECT_EQ(Default("[i][60]rix2", 255), "55");
  EXPECT_EQ(Default("[i][60]rix0", 7), "7");
  EXPECT_EQ(Default("[i][60]rix256", 7), "7");  // modulo 256
  EXPECT_EQ(Default("[h][60]rix2", 255), "FF");
  EXPECT_EQ(Default("[h][60]RIX12", 255), "000000FF");
  EXPECT_EQ(Default("[h][60]rix", 10), "A");
  EXPECT_EQ(Default("[f][60]rix2", 3), "3.00");
  EXPECT_EQ(Default("[e][60]rix0", 12), "12");
  EXPECT_EQ(Default("[f][60]1.5", 3), "1.5");
  EXPECT_EQ(Default("[c][120]red|green|blue", 1), "red");
  EXPECT_EQ(Default("[c:8][120]solo", 1), "solo");
  EXPECT_EQ(Default("[l][120]|first empty", 1), "");
  EXPECT_EQ(Default("[ddd.MM.yyyy][90]24.12.2023", 1), "24.12.2023");
  EXPECT_EQ(Default("[s][80]hello", 1), "hello");
  EXPECT_EQ(Default("abc", 1), "abc");
  EXPECT_EQ(Default("[#s][80]abc", 1), "");
  EXPECT_EQ(Default("[x][80]abc", 1), "");
  EXPECT_EQ(Default("[S][80]abc", 1), "");  // kind letters are lower case
  const std::string Pwd = Default("[s][80]$pwd$12", 1);
  EXPECT_EQ(Pwd.size(), 12u);
  EXPECT_NE(Pwd, Default("[s][80]$pwd$12", 1));
  // Column 0 has no format.
  D.SetElem(0, 1, "z");
  EXPECT_EQ(D.GetDefaultValue(0, 1), "");
}

TEST(RLDataFormats, HostileDigitCountsStayBoundedAndDefined) {
  const auto Start = std::chrono::steady_clock::now();
  for (const char* Kind : {"e", "f", "h", "i"})
    for (const char* N : {"-5", "99999999999999999999", "2000000000", "-2147483648"}) {
      const std::string V =
          FormatDefaultValue(std::string("[") + Kind + "][60]rix" + N, 2000000000);
      EXPECT_LE(Utf8Length(V), 255) << Kind << N;
      EXPECT_FALSE(V.empty()) << Kind << N;
    }
  EXPECT_EQ(FormatDefaultValue("[h][60]rix-5", 26), "A");
  EXPECT_EQ(FormatDefaultValue("[i][60]rix-5", 26), "6");
  EXPECT_EQ(FormatDefaultValue("[h][60]rix2000000000", 255), "F");  // 0 after modulo 256
  EXPECT_EQ(FormatDefaultValue("[h][60]rix268", 255), "000000FF");
  EXPECT_EQ(RowIndexText('i', 12, INT_MIN), "-002147483648");
  EXPECT_EQ(FormatDefaultValue("[s][80]$pwd$-1", 1), "");
  EXPECT_EQ(FormatDefaultValue("[s][80]$pwd$2000000000", 1).size(), 255u);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(2));
  EXPECT_EQ(ReadFormatInt("   -12x", 0), -12);
  EXPECT_EQ(ReadFormatInt("rix  +7", 3), 7);
  EXPECT_EQ(ReadFormatInt("rix", 3), 0);
  EXPECT_EQ(ReadFormatInt("99999999999999999999", 0), INT_MAX);
  EXPECT_EQ(ReadFormatInt("-99999999999999999999", 0), INT_MIN);
}

TEST(RLDataColumns, ColumnIndexPrefersTheHighestMatch) {
  TRLData D(nullptr);
  D.SetNrOfColumns(3);
  D.SetHeader(1, "Name");
  D.SetHeader(2, "Surname");
  D.SetHeader(3, "");
  EXPECT_EQ(D.ColumnIndex("name", true), 2);
  EXPECT_EQ(D.ColumnIndex("NAME", false), 1);
  EXPECT_EQ(D.ColumnIndex("urn", true), 2);
  EXPECT_EQ(D.ColumnIndex("", true), -1);
  EXPECT_EQ(D.ColumnIndex("", false), 3);
  EXPECT_EQ(D.ColumnIndex("first", true), -1);
}

TEST(RLDataRows, RemoveCopyFillAndClear) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(4);
  D.SetColumnCheckMode(2, cmBox);
  for (int R = 1; R <= 4; ++R) {
    D.SetElem(0, R, "z" + std::to_string(R));
    D.SetElem(1, R, "a" + std::to_string(R));
  }
  D.SetElemChecked(2, 2, true);
  D.GetStrings().SetRowAttrib(2, raSelected);
  D.CopyRow(2, 4);
  EXPECT_EQ(D(0, 4), "z2");
  EXPECT_EQ(D(1, 4), "a2");
  EXPECT_TRUE(D.GetElemChecked(2, 4));
  EXPECT_EQ(D.GetStrings().GetRowAttrib(4), raSelected);
  D.RemoveRow(1);
  D.RemoveRow(0);
  D.RemoveRow(9);
  EXPECT_EQ(D.GetNrOfRows(), 3);
  EXPECT_EQ(Column(D, 1), (Strings{"a2", "a3", "a2"}));

  D.Fill("f");
  EXPECT_EQ(Column(D, 1), (Strings{"f", "f", "f"}));
  EXPECT_EQ(Column(D, 2), (Strings{"f", "f", "f"}));
  EXPECT_EQ(D.CountCheckedElemsInCol(2), 2);
  EXPECT_EQ(D(0, 2), "z3");  // column 0 is not filled

  D.SetHeader(1, "Name");
  D.SetColumnFormat(1, "[s][80]");
  D.SetComment("kept");
  D.Clear();
  EXPECT_EQ(D.GetNrOfRows(), 3);
  EXPECT_EQ(D.GetNrOfColumns(), 2);
  EXPECT_EQ(D(0, 2), "");
  EXPECT_EQ(D.GetHeader(1), "C-1");
  EXPECT_EQ(D.GetColumnFormat(1), "");
  EXPECT_EQ(D.GetColumnCheckMode(2), cmNone);
  EXPECT_EQ(D.GetComment(), "kept");
}

TEST(RLDataRows, RemoveEmptyRowsCountsBareMarksAsEmpty) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(5);
  D.SetColumnCheckMode(2, cmBox);
  D.SetElem(1, 2, "keep");
  D.SetElemChecked(2, 3, true);  // a mark without text is empty
  D.SetElem(0, 4, "column 0 counts");
  D.RemoveEmptyRows();
  EXPECT_EQ(D.GetNrOfRows(), 2);
  EXPECT_EQ(Column(D, 1), (Strings{"keep", ""}));
  EXPECT_EQ(D(0, 2), "column 0 counts");
  D.SetElem(1, 1, "");
  D.SetElem(0, 2, "");
  D.RemoveEmptyRows();
  EXPECT_EQ(D.GetNrOfRows(), 0);
  EXPECT_EQ(D.GetStrings().GetNrRows(), 1);
}

// The rows a view shows: inserting and removing by shown position without committing a sort.
TEST(RLDataRows, ShownRowOperationsKeepTheSortedOrder) {
  TRLData D(nullptr);
  D.SetNrOfRows(4);
  const Strings Texts = {"c", "a", "d", "b"};
  for (int R = 1; R <= 4; ++R) D.SetElem(1, R, Texts[std::size_t(R - 1)]);
  D.Sort(1, -1, true);  // a b c d
  EXPECT_FALSE(D.InsertShownRow(0));
  EXPECT_FALSE(D.InsertShownRow(6));
  ASSERT_TRUE(D.InsertShownRow(2));
  ASSERT_TRUE(D.InsertShownRow(6));  // appends
  EXPECT_EQ(Column(D, 1), (Strings{"a", "", "b", "c", "d", ""}));
  D.RemoveShownRow(4);  // "c"
  D.RemoveShownRow(0);
  D.RemoveShownRow(6);
  EXPECT_EQ(Column(D, 1), (Strings{"a", "", "b", "d", ""}));
  EXPECT_EQ(D.GetLastSortColumn(), 1);
  D.UnSort();  // still sorted until now: the physical order was never committed
  EXPECT_EQ(Column(D, 1), (Strings{"a", "d", "", "b", ""}));
  D.ForgetSortColumns();
  EXPECT_EQ(D.GetLastSortColumn(), -1);
}

TEST(RLDataRows, TheOnlyRowIsEmptiedAndComesBackEmpty) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(1);
  D.SetElem(0, 1, "hidden");
  D.SetElem(2, 1, "x");
  D.GetStrings().SetRowAttrib(1, raSelected | raDisabled);
  D.RemoveShownRow(1);
  EXPECT_EQ(D.GetNrOfRows(), 0);
  EXPECT_EQ(D.GetStrings().GetNrRows(), 1);
  ASSERT_TRUE(D.InsertShownRow(1));
  EXPECT_EQ(D(0, 1), "");
  EXPECT_EQ(D(2, 1), "");
  EXPECT_EQ(D.GetStrings().GetRowAttrib(1), 0);
}

TEST(RLDataRows, RemoveEmptyRowsCommitsOrKeepsTheSortedOrder) {
  for (const bool Shown : {false, true}) {
    TRLData D(nullptr);
    D.SetNrOfRows(6);
    const Strings Texts = {"c", "", "a", "", "b", ""};
    for (int R = 1; R <= 6; ++R) D.SetElem(1, R, Texts[std::size_t(R - 1)]);
    D.Sort(1, -1, false);  // c b a and the empty rows
    Shown ? D.RemoveEmptyShownRows() : D.RemoveEmptyRows();
    EXPECT_EQ(Column(D, 1), (Strings{"c", "b", "a"})) << Shown;
    D.UnSort();
    EXPECT_EQ(Column(D, 1), (Shown ? Strings{"c", "a", "b"} : Strings{"c", "b", "a"})) << Shown;
    EXPECT_EQ(D.GetFeedbkNumCells(), 6);
  }
  TRLData All(nullptr);
  All.SetNrOfColumns(2);
  All.SetColumnCheckMode(2, cmBox);
  All.SetNrOfRows(3);
  All.SetElemChecked(2, 2, true);
  All.RemoveEmptyShownRows();
  EXPECT_EQ(All.GetNrOfRows(), 0);
  EXPECT_EQ(All.GetStrings().GetString(2, 1), "");  // the mark went with its row
}

TEST(RLDataSort, SecondarySortColumnTakesOnlyColumnsOfTheTable) {
  TRLData D(nullptr);
  D.SetNrOfColumns(3);
  for (const int Col : {-1, 0, 3, 2}) {
    D.SetSecondarySortColumn(Col);
    EXPECT_EQ(D.GetSecondarySortColumn(), Col);
  }
  for (const int Col : {-2, 4, INT_MAX}) {
    D.SetSecondarySortColumn(Col);
    EXPECT_EQ(D.GetSecondarySortColumn(), 2);
  }
}

TEST(RLDataSort, SortRemoveRowUnSortKeepsTheSortedOrder) {
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(5);
  const Strings Texts = {"pear", "10", "Apple", "9", "fig"};
  for (int R = 1; R <= 5; ++R) {
    D.SetElem(1, R, Texts[std::size_t(R - 1)]);
    D.SetElem(2, R, std::to_string(R));
  }
  D.Sort(1, -1, true);
  EXPECT_EQ(Column(D, 1), (Strings{"9", "10", "Apple", "fig", "pear"}));
  EXPECT_EQ(D.GetLastSortColumn(), 1);
  D.RemoveRow(2);  // fixes the sorted order first
  D.UnSort();
  EXPECT_EQ(Column(D, 1), (Strings{"9", "Apple", "fig", "pear"}));
  EXPECT_EQ(D.GetLastSortColumn(), -1);
  D.Sort(1, -1, false);
  EXPECT_FALSE(D.GetLastSortOrder());
  EXPECT_EQ(Column(D, 1), (Strings{"pear", "fig", "Apple", "9"}));
  D.UnSort();
  EXPECT_FALSE(D.GetLastSortOrder());  // the direction is remembered
  EXPECT_EQ(Column(D, 1), (Strings{"9", "Apple", "fig", "pear"}));
}

TEST(RLDataSort, ColumnsOutsideTheTableAreRefusedOrDropped) {
  TRLData D(nullptr);
  D.SetNrOfColumns(5);
  D.SetNrOfRows(3);
  for (int R = 1; R <= 3; ++R) {
    D.SetElem(0, R, std::to_string(4 - R));
    D.SetElem(1, R, "same");
    D.SetElem(5, R, std::to_string(R));
  }
  D.Sort(0, -1, true);
  EXPECT_EQ(Column(D, 0), (Strings{"1", "2", "3"}));
  D.Sort(6, -1, true);  // no such column: nothing changes
  EXPECT_EQ(D.GetLastSortColumn(), 0);
  EXPECT_EQ(Column(D, 0), (Strings{"1", "2", "3"}));
  D.Sort(1, 99, true);
  EXPECT_EQ(D.GetLastSortColumn(), 1);
  EXPECT_EQ(D.GetSecondarySortColumn(), -1);
  D.Sort(1, 5, false);
  EXPECT_EQ(Column(D, 5), (Strings{"3", "2", "1"}));
  D.SetNrOfColumns(3);  // the secondary column is gone
  EXPECT_EQ(D.GetSecondarySortColumn(), -1);
  EXPECT_EQ(D.GetLastSortColumn(), 1);
  D.Sort(2, D.GetSecondarySortColumn(), true);  // as a header click does
  EXPECT_EQ(D.GetLastSortColumn(), 2);
}

TEST(RLDataSort, ExchangeHandlerChangesTheKeysNotTheCells) {
  TRLData D(nullptr);
  D.SetNrOfRows(3);
  D.SetElem(1, 1, "b");
  D.SetElem(1, 2, "c");
  D.SetElem(1, 3, "a");
  TObject* Sender = nullptr;
  D.OnBeforeSortExchange = [&](TObject* S, const std::string& Key, std::string& Exch) {
    Sender = S;
    Exch = Key == "c" ? "0" : Key;  // "c" sorts first
  };
  D.Sort(1, -1, true);
  EXPECT_EQ(Sender, &D);
  EXPECT_EQ(Column(D, 1), (Strings{"c", "a", "b"}));
}

TEST(RLDataAssign, DeepCopyWithTheSameOrderAndIndependentCells) {
  TRLData A(nullptr), B(nullptr);
  A.SetNrOfColumns(2);
  A.SetNrOfRows(3);
  A.SetColumnCheckMode(2, cmRadio);
  A.SetHeader(1, "Fruit");
  A.SetColumnFormat(1, "[s][80]");
  A.SetComment("c");
  A.SetDataID("id");
  A.SetCommonHeader("ch");
  A.SetSortToggle(false);
  for (int R = 1; R <= 3; ++R) A.SetElem(1, R, std::string(1, char('d' - R)));
  A.SetElemChecked(2, 2, true);
  A.GetStrings().SetRowAttrib(1, raDisabled);
  A.GetStrings().SetColAttrib(1, caSelected);
  A.Sort(1, -1, true);
  A.OnBeforeSortExchange = [](TObject*, const std::string&, std::string&) {};
  A.OnPercentDone = [](TObject*, int) {};
  B.SetNrOfColumns(7);
  B.Assign(&A);
  EXPECT_EQ(B.GetNrOfColumns(), 2);
  EXPECT_EQ(Column(B, 1), (Strings{"a", "b", "c"}));
  for (int R = 1; R <= 3; ++R) {
    EXPECT_EQ(B.GetStrings().GetSortOrder(R), A.GetStrings().GetSortOrder(R));
    EXPECT_EQ(B.GetStrings().GetRowAttrib(R), A.GetStrings().GetRowAttrib(R));
  }
  EXPECT_EQ(B.GetHeader(1), "Fruit");
  EXPECT_EQ(B.GetColumnFormat(1), "[s][80]");
  EXPECT_EQ(B.GetColumnCheckMode(2), cmRadio);
  EXPECT_TRUE(B.GetElemChecked(2, 2));
  EXPECT_EQ(B.GetStrings().GetColAttrib(1), caSelected);
  EXPECT_EQ(B.GetLastSortColumn(), 1);
  EXPECT_FALSE(B.GetSortToggle());
  EXPECT_EQ(B.GetComment() + B.GetDataID() + B.GetCommonHeader(), "cidch");
  EXPECT_TRUE(bool(B.OnBeforeSortExchange));
  EXPECT_FALSE(bool(B.OnPercentDone));
  B.UnSort();
  EXPECT_EQ(Column(B, 1), (Strings{"c", "b", "a"}));
  B.SetElem(1, 1, "changed");
  EXPECT_EQ(A(1, 3), "c");
  // The copy forwards its own sort exchanges.
  TObject* Sender = nullptr;
  B.OnBeforeSortExchange = [&](TObject* S, const std::string&, std::string&) { Sender = S; };
  B.Sort(1, -1, true);
  EXPECT_EQ(Sender, &B);
}

TEST(RLDataAssign, SelfAssignmentAndForeignClasses) {
  TRLData A(nullptr);
  A.SetNrOfRows(2);
  A.SetElem(1, 2, "kept");
  A.Assign(&A);
  EXPECT_EQ(A(1, 2), "kept");
  TComponent Other(nullptr);
  EXPECT_THROW(A.Assign(&Other), EConvertError);
  EXPECT_THROW(A.Assign(nullptr), EConvertError);
  EXPECT_EQ(A(1, 2), "kept");
  // A derived store takes the copy through AssignTo as well.
  struct TDerived : TRLData {
    using TRLData::TRLData;
  } Derived(nullptr);
  Derived.Assign(&A);
  EXPECT_EQ(Derived(1, 2), "kept");
}

TEST(RLDataErrors, StorageThatCannotGrowKeepsTheOldSize) {
  TRLData D(nullptr);
  D.SetName("Store1");
  D.SetNrOfColumns(3);
  D.SetNrOfRows(2);
  D.SetElem(3, 2, "kept");
  try {
    D.SetNrOfColumns(INT_MAX);
    ADD_FAILURE() << "no error";
  } catch (const EKVLError& E) {
    EXPECT_STREQ(E.what(), "Component \"Store1\": not enough memory on heap");
  }
  EXPECT_THROW(D.SetNrOfRows(INT_MAX), EKVLError);
  EXPECT_EQ(D.GetNrOfColumns(), 3);
  EXPECT_EQ(D.GetNrOfRows(), 2);
  EXPECT_EQ(D.GetHeader(3), "C-3");
  EXPECT_EQ(D(3, 2), "kept");
}

}  // namespace
}  // namespace kvl
