// TReportListView: filtering and sorting of the shown rows, and reading and writing files.
#include <sstream>

#include "kvl/replist/filterexpr.h"
#include "kvl/replist/reportview_test_fixture.h"
#include "kvl/testing/scratch_folder.h"

namespace kvl {
namespace {

using Strings = std::vector<std::string>;

TEST(TextFilter, ModesOnOneText) {
  struct TCase {
    const char* Expr;
    TFilterMode Mode;
    bool IgnoreCase;
    const char* Text;
    bool Match;
  };
  const TCase Cases[] = {
      {"cat", fmSimple, false, "concatenate", true},
      {"CAT", fmSimple, true, "concatenate", true},
      {"red & !blue", fmBoolean, false, "red green", true},
      {"red & !blue", fmBoolean, false, "red blue", false},
      {"red blue", fmBoolean, false, "blue and red", true},  // neighbours mean "and"
      {"!red | blue & green", fmBoolean, false, "red green", false},  // & before |
      {"(red | blue) & green", fmBoolean, false, "blue green", true},
      {"\"dark red\"", fmBoolean, false, "red dark", false},
      {"\"dark red\"", fmBoolean, false, "a dark red", true},
      {"^a[0-9]+z$", fmGrep, false, "a123z", true},
      {"^A+$", fmGrep, true, "aaa", true},
  };
  for (const TCase& C : Cases) {
    const TTextFilter F(C.Expr, C.Mode, C.IgnoreCase);
    EXPECT_TRUE(F.Valid()) << C.Expr;
    EXPECT_EQ(F.Matches(C.Text), C.Match) << C.Expr << " / " << C.Text;
  }
}

// What cannot be read filters nothing: every text matches.
TEST(TextFilter, MalformedHugeAndBacktrackingExpressions) {
  std::string Deep(101, '(');
  Deep += "x" + std::string(101, ')');
  std::string Fine(99, '(');
  Fine += "x" + std::string(99, ')');
  const std::pair<std::string, TFilterMode> Bad[] = {
      {"(red", fmBoolean},       {"red &", fmBoolean},  {"| red", fmBoolean},
      {"\"open", fmBoolean},     {Deep, fmBoolean},     {"(", fmGrep},
      {"a{1", fmGrep},           {"(a)\\1", fmGrep},    {std::string(1001, 'a'), fmGrep},
      {std::string("a\0b", 3), fmGrep},
      // repetitions the C library would copy without bound
      {"x" + std::string(80, '+'), fmGrep},  {"a*?", fmGrep},  {"((a{99}){99}){99}", fmGrep},
      {"a{10001}", fmGrep},
  };
  for (const auto& [Expr, Mode] : Bad) {
    const TTextFilter F(Expr, Mode, false);
    EXPECT_FALSE(F.Valid()) << Expr.substr(0, 20);
    EXPECT_TRUE(F.Matches("anything")) << Expr.substr(0, 20);
  }
  EXPECT_TRUE(TTextFilter(Fine, fmBoolean, false).Valid());
  EXPECT_TRUE(TTextFilter(std::string(1000, 'a'), fmGrep, false).Valid());
  for (const char* Tame : {"[0-9]{4}-[0-9]{2}-[0-9]{2}", "a\\++", "[+*?]+x", "(ab){2,99}c*"})
    EXPECT_TRUE(TTextFilter(Tame, fmGrep, false).Valid()) << Tame;
  const TTextFilter Catastrophic("(a*)*(b|c)*$x", fmGrep, false);
  EXPECT_FALSE(Catastrophic.Matches(std::string(255, 'a')));
}

class ReportFilterTest : public ReportViewTest {
protected:
  void SetUp() override {
    ReportViewTest::SetUp();
    Ctl->SetNrOfColumns(2);
    FillColumn(1, {"apple", "Banana", "cherry", "apricot", "date"});
    FillColumn(2, {"red", "yellow", "red", "orange", "brown"});
  }
  Strings Shown(int Col) const {
    Strings R;
    for (int Row = 1; Row <= Ctl->GetNrOfShownRows(); ++Row) R.push_back(Ctl->GetElem(Col, Row));
    return R;
  }
};

TEST_F(ReportFilterTest, MatchingRowsShowInFrontAndTheOthersStayHidden) {
  Ctl->SetRowSelected(2, true);
  Ctl->FilterAndSort("ap", {1}, false, fmSimple, 0, true);
  EXPECT_TRUE(Ctl->GetFiltered());
  EXPECT_EQ(Shown(1), (Strings{"apple", "apricot"}));
  EXPECT_EQ(Ctl->GetNrOfRows(), 5);
  EXPECT_EQ(Ctl->GetRowCount(), 3);
  EXPECT_EQ(Ctl->GetElem(1, 3), "Banana");  // data calls still reach every row
  EXPECT_TRUE(Ctl->GetRowSelected(3));
  EXPECT_EQ(Ctl->NumSelectedRows(), 1);

  Ctl->FilterAndSort("RED", {}, true, fmSimple, 1, false);  // every column, sorted
  EXPECT_EQ(Shown(1), (Strings{"cherry", "apple"}));
  Ctl->Sort(1, -1, true);  // a sort keeps the filter
  EXPECT_EQ(Shown(1), (Strings{"apple", "cherry"}));
  ClickCell(0, 0);
  EXPECT_EQ(Shown(1), (Strings{"cherry", "apple"}));
  EXPECT_EQ(Ctl->GetNrOfShownRows(), 2);
  Ctl->FilterAndSort("zzz", {7, -1}, false, fmSimple, 0, true);  // bad columns: every one
  EXPECT_EQ(Ctl->GetNrOfShownRows(), 0);
  Ctl->FilterAndSort("(", {}, false, fmGrep, 0, true);
  EXPECT_EQ(Ctl->GetNrOfShownRows(), 5);
}

TEST_F(ReportFilterTest, WhatEndsTheFilter) {
  const std::function<void()> Enders[] = {
      [&] { Ctl->UnSort(); },
      [&] { Ctl->AddRow(); },
      [&] { Ctl->InsertRow(1); },
      [&] { Ctl->RemoveRow(5); },
      [&] { Ctl->SetNrOfRows(3); },
      [&] { Ctl->FilterAndSort("", {}, false, fmSimple, 0, true); },
      [&] { Ctl->Clear(); },
  };
  for (const auto& End : Enders) {
    Ctl->FilterAndSort("a", {2}, false, fmSimple, 0, true);
    ASSERT_TRUE(Ctl->GetFiltered());
    End();
    EXPECT_FALSE(Ctl->GetFiltered());
    EXPECT_EQ(Ctl->GetNrOfShownRows(), Ctl->GetNrOfRows());
    EXPECT_EQ(Ctl->GetRowCount(), std::max(Ctl->GetNrOfRows(), 1) + 1);
  }
}

TEST_F(ReportFilterTest, HandlerCombinesWithTheInternalSearch) {
  struct TCase {
    TLogicOp Op;
    Strings Expect;
  };
  // Internal: rows whose fruit holds "a"; handler: rows 3 and 4.
  const TCase Cases[] = {
      {loAnd, {"apricot"}},
      {loOr, {"apple", "Banana", "cherry", "apricot", "date"}},
      {loXor, {"apple", "Banana", "cherry", "date"}},
      {loNone, {"cherry", "apricot"}},
  };
  for (const TCase& C : Cases) {
    Ctl->OnBeforeFilter = [&](TObject* Sender, int Row, bool& Found, TLogicOp& Op) {
      EXPECT_EQ(Sender, Ctl);
      EXPECT_FALSE(Found);
      EXPECT_EQ(Op, loOr);
      Found = Row == 3 || Row == 4;
      Op = C.Op;
    };
    Ctl->FilterAndSort("a", {1}, false, fmSimple, 0, true);
    EXPECT_EQ(Shown(1), C.Expect) << int(C.Op);
    Ctl->UnSort();
  }
}

TEST_F(ReportFilterTest, XmlRoundTripAndFailedReads) {
  const TScratchFolder Dir;
  const std::string File = Dir / "table.xml";
  Ctl->SetHeader(1, "Fruit");
  Ctl->SaveAsXMLFile(File, "fruits");
  std::ostringstream Xml;
  Ctl->WriteToXMLStream(Xml, true, "fruits");

  auto* Other = new TReportListView(Form);
  Other->SetParent(Form);
  Other->SetBounds(0, 0, 300, 200);
  Other->SetColumnIsPwd(4, true);
  int Setups = 0;
  Other->OnChangeSetup = [&](TObject*) { ++Setups; };
  EXPECT_FALSE(Other->ReadFromXMLString("<replist garbage", ""));
  EXPECT_FALSE(Other->LoadFromXMLFile(Dir / "missing.xml", ""));
  EXPECT_EQ(Other->GetNrOfColumns(), 5);
  EXPECT_TRUE(Other->GetColumnIsPwd(4));
  EXPECT_EQ(Setups, 0);
  ASSERT_TRUE(Other->LoadFromXMLFile(File, "fruits"));
  EXPECT_EQ(Other->GetNrOfColumns(), 2);
  EXPECT_EQ(Other->GetNrOfRows(), 5);
  EXPECT_EQ(Other->GetColCount(), 2);
  EXPECT_EQ(Other->GetRowCount(), 6);
  EXPECT_EQ(Other->GetHeader(1), "Fruit");
  EXPECT_EQ(Other->GetElem(2, 5), "brown");
  EXPECT_EQ(Setups, 1);
  Other->SetNrOfRows(0);
  ASSERT_TRUE(Other->ReadFromXMLString(Xml.str(), "fruits"));
  EXPECT_EQ(Other->GetRowCount(), 6);
}

}  // namespace
}  // namespace kvl
