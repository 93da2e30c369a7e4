// TReportListView: construction, rows, columns and the notifications a host sees.
#include <climits>

#include "kvl/replist/reportview_test_fixture.h"

namespace kvl {
namespace {

using Strings = std::vector<std::string>;

TEST_F(ReportViewTest, NewViewHasFiveNamedColumnsFourRowsAndOneHeaderRow) {
  EXPECT_EQ(Ctl->GetNrOfColumns(), 5);
  EXPECT_EQ(Ctl->GetNrOfRows(), 4);
  for (int C = 1; C <= 5; ++C) EXPECT_EQ(Ctl->GetHeader(C), "C-" + std::to_string(C));
  EXPECT_EQ(Ctl->CountHeadRows(), 1);
  EXPECT_EQ(Ctl->GetColCount(), 5);
  EXPECT_EQ(Ctl->GetRowCount(), 5);
  EXPECT_EQ(Ctl->GetFixedRows(), 1);
  EXPECT_EQ(Ctl->GetFixedCols(), 0);
  EXPECT_EQ(Ctl->GetRowHeights(0), 20);
  EXPECT_EQ(Ctl->GetTopRow(), 1);
  EXPECT_EQ(Ctl->GetLeftCol(), 1);
  EXPECT_EQ(Ctl->GetCommonHeader(), "KVL Report Listview");
  EXPECT_EQ(Ctl->GetOptions(),
            TGridOptions(goFixedVertLine | goFixedHorzLine | goColSizing | goRowSelect |
                         goThumbTracking));
  EXPECT_FALSE(Ctl->GetSuppressPaint());
}

TEST_F(ReportViewTest, HeaderRowsFollowTheVisibilitiesWithFewOrManyRows) {
  struct TCase {
    bool Common, Columns;
    int Rows, H, GridRows, Row0, Row1;
  };
  const TCase Cases[] = {
      {true, true, 0, 2, 3, 25, 30},   {true, true, 1, 2, 3, 25, 30},
      {true, true, 2, 2, 4, 25, 30},   {true, false, 0, 1, 2, 25, 24},
      {false, true, 2, 1, 3, 30, 24},  {false, false, 0, 0, 1, 24, -1},
      {false, false, 2, 0, 2, 24, 24},
  };
  Ctl->SetCommonHeaderHeight(25);
  Ctl->SetColumnHeadersHeight(30);
  for (const TCase& C : Cases) {
    Ctl->SetNrOfRows(C.Rows);
    Ctl->SetCommonHeaderVisible(C.Common);
    Ctl->SetColumnHeadersVisible(C.Columns);
    EXPECT_EQ(Ctl->CountHeadRows(), C.H);
    EXPECT_EQ(Ctl->GetFixedRows(), C.H);
    EXPECT_EQ(Ctl->GetRowCount(), C.GridRows);
    EXPECT_EQ(Ctl->GetRowHeights(0), C.Row0) << C.Common << C.Columns << C.Rows;
    if (C.Row1 > 0) {
      EXPECT_EQ(Ctl->GetRowHeights(1), C.Row1) << C.Common << C.Columns << C.Rows;
    }
  }
  Ctl->SetColumnHeadersVisible(true);
  for (const int H : {0, 7, 200, INT_MIN}) {
    Ctl->SetColumnHeadersHeight(H);
    EXPECT_EQ(Ctl->GetColumnHeadersHeight(), H > 100 ? 127 : 8);
  }
}

TEST_F(ReportViewTest, RowsAddInsertAndRemoveOnSortedAndUnsortedViews) {
  FillColumn(1, {"c", "a", "d", "b"});
  EXPECT_EQ(Ctl->AddRow(), 5);
  EXPECT_EQ(Ctl->GetRowCount(), 6);
  Ctl->SetSecondarySortColumn(2);
  EXPECT_EQ(Ctl->InsertRow(0), 0);
  EXPECT_EQ(Ctl->GetNrOfRows(), 5);
  EXPECT_EQ(Ctl->GetSecondarySortColumn(), -1);
  EXPECT_EQ(Ctl->InsertRow(2), 2);
  EXPECT_EQ(Ctl->InsertRow(INT_MAX), 7);
  EXPECT_EQ(Column(1), (Strings{"c", "", "a", "d", "b", "", ""}));
  Ctl->RemoveRow(7);
  Ctl->RemoveRow(0);
  Ctl->RemoveRow(INT_MAX);

  Ctl->Sort(1, -1, true);  // "" "" a b c d
  Ctl->RemoveRow(4);       // b, keeping the others sorted
  EXPECT_EQ(Column(1), (Strings{"", "", "a", "c", "d"}));
  EXPECT_EQ(Ctl->GetLastSortColumn(), 1);
  Ctl->RemoveEmptyRows();
  EXPECT_EQ(Column(1), (Strings{"a", "c", "d"}));
  EXPECT_EQ(Ctl->GetRowCount(), 4);
  Ctl->InsertRow(2);  // before the row shown at 2, and the sort columns are forgotten
  EXPECT_EQ(Column(1), (Strings{"a", "", "c", "d"}));
  EXPECT_EQ(Ctl->GetLastSortColumn(), -1);
}

// The only row is emptied, never removed from the storage, and comes back empty and enabled.
TEST_F(ReportViewTest, RowsThatLeaveComeBackEmpty) {
  Ctl->SetNrOfRows(1);
  Ctl->SetElem(1, 1, "x");
  Ctl->SetElem(0, 1, "hidden");
  Ctl->SetRowEnabled(1, false);
  Ctl->SetRowSelected(1, true);
  Ctl->RemoveRow(1);
  EXPECT_EQ(Ctl->GetNrOfRows(), 0);
  EXPECT_EQ(Ctl->GetRowCount(), 2);
  D.Capture(*Ctl);
  Ctl->AddRow();
  EXPECT_EQ(Ctl->GetElem(1, 1), "");
  EXPECT_EQ(Ctl->GetElem(0, 1), "");
  EXPECT_TRUE(Ctl->GetRowEnabled(1));
  EXPECT_FALSE(Ctl->GetRowSelected(1));

  Ctl->SetElem(2, 1, "y");
  Ctl->SetRowEnabled(1, false);
  Ctl->SetNrOfRows(0);
  Ctl->AddRow();
  EXPECT_EQ(Ctl->GetElem(2, 1), "");
  EXPECT_TRUE(Ctl->GetRowEnabled(1));
}

TEST_F(ReportViewTest, ColumnCountKeepsWidthsAndResetsTheOrder) {
  Ctl->SetColWidths(2, 80);
  Ctl->SetColWidths(5, 90);
  Ctl->SetColumnAlignment(2, taRightJustify);
  ASSERT_TRUE(Ctl->SetColumnOrder({2, 1, 3, 4, 5}));
  Ctl->SetNrOfColumns(7);
  EXPECT_EQ(Ctl->GetColumnOrder(1), 1);
  EXPECT_EQ(Ctl->GetColWidths(2), 80);
  for (const int C : {5, 6, 7}) EXPECT_EQ(Ctl->GetColWidths(C), 90) << C;
  EXPECT_EQ(Ctl->GetColumnAlignment(2), taRightJustify);
  EXPECT_EQ(Ctl->GetColumnAlignment(7), taLeftJustify);
  EXPECT_EQ(Ctl->GetColCount(), 7);
  Ctl->SetNrOfColumns(0);
  EXPECT_EQ(Ctl->GetNrOfColumns(), 1);
  EXPECT_EQ(Ctl->GetColCount(), 1);
  Ctl->SetNrOfColumns(10000);
  EXPECT_EQ(Ctl->GetColCount(), 10000);
  EXPECT_EQ(Ctl->GetColumnOrder(10000), 10000);
  D.Capture(*Ctl);
}

TEST_F(ReportViewTest, RefusedResizesLeaveEverythingAsItWas) {
  Ctl->SetNrOfColumns(3);
  Ctl->SetColumnIsPwd(2, true);
  Ctl->SetRowSelectMode(2);
  ClickCell(0, 2);
  const TGridRect Sel = Ctl->GetSelection();
  EXPECT_THROW(Ctl->SetNrOfRows(INT_MAX), EKVLError);
  EXPECT_EQ(Ctl->GetNrOfRows(), 4);
  EXPECT_EQ(Ctl->GetRowCount(), 5);
  EXPECT_EQ(Ctl->GetSelection(), Sel);
  EXPECT_TRUE(Ctl->GetColumnIsPwd(2));
  Ctl->SetNrOfRows(-1);
  EXPECT_EQ(Ctl->GetNrOfRows(), 0);
}

TEST_F(ReportViewTest, ColumnOrderCasesAndWhatTheUserSeesIsWhatIsHit) {
  Ctl->SetNrOfColumns(3);
  EXPECT_FALSE(Ctl->SetColumnOrder({2, 1}));
  EXPECT_EQ(Ctl->GetColumnOrder(1), 1);
  EXPECT_FALSE(Ctl->SetColumnOrder({1, 5, 2}));
  EXPECT_EQ(Ctl->GetColumnOrder(1), 1);
  EXPECT_EQ(Ctl->GetColumnOrder(2), 2);  // the bad entry kept its position
  EXPECT_EQ(Ctl->GetColumnOrder(3), 2);
  EXPECT_FALSE(Ctl->SetColumnOrder({0, -1, INT_MAX}));
  EXPECT_TRUE(Ctl->SetColumnOrder({1, 1, 1}));  // repetitions are not refused
  EXPECT_EQ(Ctl->GetColWidths(2), 0);           // shown nowhere
  ASSERT_TRUE(Ctl->SetColumnOrder({3, 1, 2}));
  EXPECT_EQ(Ctl->MouseCell(Middle(0, 1).X, Middle(0, 1).Y), (TGridCoord{3, 1}));

  // Editing the leftmost cell writes data column 3 only.
  FillColumn(1, {"one"});
  FillColumn(3, {"three"});
  Ctl->SetColumnEditable(3, true);
  ClickCell(0, 1);
  EXPECT_TRUE(Ctl->GetOptions() & goEditing);
  D.Press(*Form, vk::F1 + 1);
  ASSERT_TRUE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetInplaceEditor()->GetText(), "three");
  D.Type(*Form, "new");
  D.Press(*Form, vk::Return, "\r");
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetElem(3, 1), "new");
  EXPECT_EQ(Ctl->GetElem(1, 1), "one");
  EXPECT_EQ(Ctl->GetElem(2, 1), "");
  ClickCell(1, 1);  // data column 1 is not editable
  EXPECT_FALSE(Ctl->GetOptions() & goEditing);

  ClickCell(0, 0);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 3);
  Ctl->SetColWidths(3, 77);
  EXPECT_EQ(Ctl->CellRect(0, 1).Width(), 77);
}

TEST_F(ReportViewTest, ColumnWidthsFromContent) {
  Ctl->SetNrOfColumns(3);
  EXPECT_EQ(Ctl->DetermineMaxColWidth(1, false), 9);
  for (const int Bad : {0, -1, 4, INT_MAX}) EXPECT_EQ(Ctl->DetermineMaxColWidth(Bad, true), 9);
  Ctl->SetColumnCheckMode(2, cmBox);
  Ctl->SetElemChecked(2, 1, true);
  EXPECT_EQ(Ctl->DetermineMaxColWidth(2, false), 16 + 9);
  TCanvas& C = *Ctl->GetCanvas();
  C.SetFont(Ctl->GetFont());
  FillColumn(1, {"short", "a much longer text"});
  const int Text = C.TextWidth("a much longer text");
  EXPECT_EQ(Ctl->DetermineMaxColWidth(1, false), Text + 9);
  // A canvas left bold by painting does not change the measure.
  Ctl->SetHeader(1, "Heading that is longer than every cell\nx");
  const int Head = C.TextWidth("Heading that is longer than every cellx");
  C.GetFont().SetStyle(fsBold);
  EXPECT_EQ(Ctl->DetermineMaxColWidth(1, true), Head + 9);
  Ctl->AutoColWidth(1, false, 5);
  EXPECT_EQ(Ctl->GetColWidths(1), Text + 14);
  Ctl->AutoColWidth(1, false, 5, 40);
  EXPECT_EQ(Ctl->GetColWidths(1), 40);
  Ctl->AutoColWidth(3, false, -100);
  EXPECT_EQ(Ctl->GetColWidths(3), 4);

  Ctl->SetColWidths(1, 50);
  Ctl->SetColWidths(3, 60);
  Ctl->ExpandColWidth(2, 10);
  EXPECT_EQ(Ctl->GetColWidths(2), Ctl->GetClientWidth() - 10 - 110);
  Ctl->ExpandColWidth(2, 10000);
  EXPECT_EQ(Ctl->GetColWidths(2), 16);
  Ctl->FitAllColWidths(3, false, 0, 1000, 0);
  EXPECT_EQ(Ctl->GetColWidths(1), Text + 9);
  EXPECT_EQ(Ctl->GetColWidths(1) + Ctl->GetColWidths(2) + Ctl->GetColWidths(3),
            Ctl->GetClientWidth());
}

TEST_F(ReportViewTest, HeaderClicksSortDescendingThenAscendingAndKeepTheSelectedRow) {
  FillColumn(1, {"b", "d", "a", "c"});
  ClickCell(0, 2);  // "d"
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
  ClickCell(0, 0);
  EXPECT_EQ(Column(1), (Strings{"d", "c", "b", "a"}));
  EXPECT_FALSE(Ctl->GetLastSortOrder());
  EXPECT_EQ(Ctl->GetSelection().Top, 1);  // "d" moved to row 1 and the selection with it
  ClickCell(2, 0);  // another header: the direction toggle is shared
  EXPECT_TRUE(Ctl->GetLastSortOrder());
  EXPECT_EQ(Ctl->GetLastSortColumn(), 3);
  ClickCell(0, 0);
  EXPECT_EQ(Column(1), (Strings{"d", "c", "b", "a"}));
  EXPECT_EQ(Ctl->GetData().GetStrings().GetSortOrder(Ctl->GetSelection().Top), 2);

  // Near a border the click is left to sizing.
  const TRect H = Ctl->CellRect(1, 0);
  ClickAt(H.Left + 2, 10);
  ClickAt(H.Right - 3, 10);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 1);
  Ctl->SetSortEnabled(false);
  ClickCell(1, 0);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 1);
}

// A selection that is no data row stays as it is; only the sort happens.
TEST_F(ReportViewTest, HeaderClickWithoutASelectedDataRow) {
  Ctl->SetNrOfRows(0);
  ClickCell(0, 0);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 1);
  for (int I = 0; I < 3; ++I) Ctl->AddRow();
  FillColumn(1, {"x", "z", "y"});
  ClickCell(0, 0);
  EXPECT_EQ(Column(1), (Strings{"x", "y", "z"}));
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{0, 0, 0, 0}));
  Ctl->SetRowSelectMode(0);
  const TGridRect Off = Ctl->GetSelection();
  EXPECT_EQ(Off, (TGridRect{6, 4, 6, 4}));
  ClickCell(0, 0);
  EXPECT_EQ(Ctl->GetSelection(), Off);
  EXPECT_EQ(Column(1), (Strings{"z", "y", "x"}));
}

TEST_F(ReportViewTest, SortChecksItsColumns) {
  Ctl->SetNrOfColumns(3);
  FillColumn(0, {"3", "1", "2"});
  FillColumn(2, {"a", "b", "c", "d"});
  Ctl->Sort(0, -1, true);  // by the hidden column, without a triangle on any header
  EXPECT_EQ(Column(2), (Strings{"b", "c", "a", "d"}));
  Ctl->Sort(4, -1, false);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 0);
  Ctl->Sort(2, 99, false);
  EXPECT_EQ(Ctl->GetSecondarySortColumn(), -1);
  EXPECT_EQ(Column(2), (Strings{"d", "c", "b", "a"}));
  Ctl->SetNrOfColumns(5);
  Ctl->SetSecondarySortColumn(5);
  EXPECT_EQ(Ctl->GetSecondarySortColumn(), 5);
  Ctl->SetSecondarySortColumn(6);
  EXPECT_EQ(Ctl->GetSecondarySortColumn(), 5);
  Ctl->SetNrOfColumns(3);
  ClickCell(0, 0);
  EXPECT_EQ(Ctl->GetLastSortColumn(), 1);
  EXPECT_EQ(Ctl->GetSecondarySortColumn(), -1);
  int Keys = 0;
  Ctl->OnBeforeSortExchange = [&](TObject* Sender, const std::string&, std::string&) {
    Keys += Sender == Ctl;
  };
  Ctl->Sort(2, -1, true);
  EXPECT_EQ(Keys, 4);
}

TEST_F(ReportViewTest, RowSelectModesWithPlainShiftAndCtrlClicks) {
  Ctl->SetNrOfRows(10);
  int Events = 0;
  Ctl->OnSelectedChange = [&](TObject*) { ++Events; };
  ClickCell(1, 2);
  ClickCell(1, 4);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4}));
  EXPECT_EQ(Events, 2);

  Ctl->SetRowSelectMode(2);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4}));
  ClickCell(1, 2);
  ClickCell(1, 5, ssCtrl);
  ClickCell(1, 3, ssCtrl);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 3, 5}));
  ClickCell(1, 3, ssCtrl);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 5}));
  ClickCell(1, 7, ssShift);  // rows 3..7 copy the anchor row 3, now unselected
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
  ClickCell(1, 1);
  ClickCell(1, 4, ssShift);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2, 3, 4}));
  Ctl->SetRowEnabled(1, false);
  ClickCell(1, 1);
  ClickCell(1, 3, ssShift);  // the anchor's disabled bit goes along
  EXPECT_FALSE(Ctl->GetRowEnabled(3));
  EXPECT_EQ(Ctl->FirstSelectedRow(), 0);
  EXPECT_EQ(Ctl->NumSelectedRows(), 3);
  EXPECT_EQ(Ctl->NumEnabledRows(), 7);

  Ctl->SetUseCtrlForMultiSel(false);
  Ctl->EnableAllRows();
  Ctl->DeselectAllRows();
  ClickCell(1, 6);
  ClickCell(1, 8);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{6, 8}));
  EXPECT_EQ(Ctl->FirstSelectedRow(), 6);
  // A release below the rows deselects everything.
  D.MouseUp(*Ctl, 100, 290);
  EXPECT_TRUE(SelectedRows().empty());

  Ctl->SetRowSelectMode(0);
  ClickCell(1, 2);
  EXPECT_TRUE(SelectedRows().empty());
  D.Press(*Form, vk::Down);  // keys select the current row in every mode
  EXPECT_EQ(SelectedRows().size(), 1u);
}

TEST_F(ReportViewTest, ShiftClickForgetsAStaleAnchor) {
  Ctl->SetNrOfRows(10);
  Ctl->SetRowSelectMode(2);
  ClickCell(1, 10);
  Ctl->SetNrOfRows(3);
  ClickCell(1, 2, ssShift);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
  ClickCell(1, 3, ssShift);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 3}));
}

TEST_F(ReportViewTest, NavigationKeysSelectTheCurrentRowAndCollapseASelection) {
  Ctl->SetNrOfRows(30);
  Ctl->SetRowSelectMode(2);
  ClickCell(1, 2);
  ClickCell(1, 3, ssCtrl);
  const std::pair<std::uint16_t, int> Keys[] = {
      {vk::Down, 4}, {vk::Up, 3}, {vk::Next, 3 + Ctl->GetVisibleRowCount()}, {vk::Home, 1},
      {vk::End, 30}, {vk::Prior, 30 - Ctl->GetVisibleRowCount()}};
  for (const auto& [Key, Row] : Keys) {
    D.Press(*Form, Key);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{Row})) << Key;
  }
  const int Row = Ctl->GetSelection().Top;
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(Ctl->GetSelection().Top, Row);
  Ctl->SetAutoAdvance(true);  // Enter moves down like the Down key
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(SelectedRows(), (std::vector<int>{Row + 1}));
}

TEST_F(ReportViewTest, CheckMarkClicksAndTheirEvents) {
  Ctl->SetNrOfColumns(2);
  Ctl->SetColumnCheckMode(1, cmBox);
  Ctl->SetColumnCheckMode(2, cmRadio);
  Ctl->SetElemChecked(2, 3, true);
  std::vector<std::string> Log;
  Ctl->OnBeforeCheckedChange = [&](TObject*, bool& State, int Col, int Row) {
    Log.push_back("before " + std::to_string(State) + " " + std::to_string(Col) + "," +
                  std::to_string(Row));
  };
  Ctl->OnCheckedChange = [&](TObject*, bool& State, int Col, int Row) {
    Log.push_back("after " + std::to_string(State) + " " + std::to_string(Col) + "," +
                  std::to_string(Row));
  };
  const auto ClickBox = [&](int ACol, int ARow) {
    const TRect R = Ctl->CellRect(ACol, ARow);
    ClickAt(R.Left + 9, R.Top + 9);
  };
  ClickBox(0, 2);
  EXPECT_TRUE(Ctl->GetElemChecked(1, 2));
  EXPECT_EQ(Ctl->GetData().GetStrings().GetString(1, 2), "X");
  ClickBox(1, 3);  // the checked radio stays checked
  EXPECT_EQ(Log, (Strings{"before 1 1,2", "after 0 1,2", "before 0 2,3", "after 1 2,3"}));
  EXPECT_TRUE(Ctl->GetElemChecked(2, 3));
  ClickBox(1, 1);
  EXPECT_EQ(Ctl->FirstCheckedElemInCol(2), 1);
  EXPECT_FALSE(Ctl->GetElemChecked(2, 3));

  // The handler may change the box's state; the radio ignores it.
  Ctl->OnBeforeCheckedChange = [](TObject*, bool& State, int, int) { State = false; };
  ClickBox(0, 4);
  EXPECT_FALSE(Ctl->GetElemChecked(1, 4));
  ClickBox(1, 4);
  EXPECT_TRUE(Ctl->GetElemChecked(2, 4));

  Log.clear();
  Ctl->OnBeforeCheckedChange = nullptr;
  const TRect R = Ctl->CellRect(0, 1);
  ClickAt(R.Left + 19, R.Top + 9);  // beside the box
  Ctl->SetRowEnabled(1, false);
  ClickBox(0, 1);
  Ctl->SetRowEnabled(1, true);
  Ctl->SetCheckMarksReadOnly(true);
  ClickBox(0, 1);
  Ctl->SetCheckMarksReadOnly(false);
  Ctl->SetShowEmptyCheckBoxes(false);
  ClickBox(0, 1);
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(Ctl->GetElemChecked(1, 1));
  Ctl->SetElem(1, 1, "ab");
  ClickBox(0, 1);  // a cell with text keeps its box
  EXPECT_TRUE(Ctl->GetElemChecked(1, 1));
}

TEST_F(ReportViewTest, AnEmptyViewTakesNoClicksKeysOrEdits) {
  Ctl->SetColumnCheckMode(1, cmBox);
  Ctl->SetColumnEditable(2, true);
  Ctl->SetNrOfRows(0);
  int Events = 0;
  Ctl->OnBeforeCheckedChange = [&](TObject*, bool&, int, int) { ++Events; };
  Ctl->OnSelectedChange = [&](TObject*) { ++Events; };
  const TRect R = Ctl->CellRect(0, 1);
  ClickAt(R.Left + 9, R.Top + 9);
  ClickCell(1, 1);
  D.Type(*Form, "typed");
  D.Press(*Form, vk::Return, "\r");
  D.Press(*Form, vk::Down);
  EXPECT_EQ(Events, 0);
  EXPECT_FALSE(Ctl->GetEditorMode());
  Ctl->AddRow();
  EXPECT_EQ(Ctl->GetData().GetStrings().GetString(1, 1), "");
  EXPECT_EQ(Ctl->GetElem(2, 1), "");
}

TEST_F(ReportViewTest, DisabledRowsOpenNoEditorFromTheKeyboard) {
  Ctl->SetColumnEditable(1, true);
  Ctl->SetRowEnabled(2, false);
  ClickCell(0, 1);
  EXPECT_TRUE(Ctl->GetOptions() & goEditing);
  D.Press(*Form, vk::Down);
  EXPECT_FALSE(Ctl->GetOptions() & goEditing);
  D.Press(*Form, vk::F1 + 1);
  D.Type(*Form, "x");
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetElem(1, 2), "");
}

TEST_F(ReportViewTest, EditingPlainAndCheckedCells) {
  Ctl->SetNrOfColumns(3);
  Ctl->SetColumnCheckMode(2, cmBox);
  Ctl->SetColumnCheckMode(3, cmRadio);
  for (int C = 1; C <= 3; ++C) Ctl->SetColumnEditable(C, true);
  Ctl->SetElem(2, 2, "abc");
  Ctl->SetElemChecked(2, 2, true);
  std::vector<std::string> Log;
  Ctl->OnGetEditText = [&](TObject*, int ACol, int ARow, std::string& Value) {
    Log.push_back("get " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value);
    if (Value == "abc") Value = "ABC";
  };
  Ctl->OnSetEditText = [&](TObject*, int ACol, int ARow, const std::string& Value) {
    Log.push_back("set " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value);
  };
  const auto Edit = [&](int ACol, int ARow, const std::string& Text) {
    const TRect R = Ctl->CellRect(ACol, ARow);
    ClickAt(R.Left + 30, R.Top + 5);
    D.Press(*Form, vk::F1 + 1);
    ASSERT_TRUE(Ctl->GetEditorMode());
    Ctl->GetInplaceEditor()->SetText(Text);
    D.Press(*Form, vk::Return, "\r");
  };
  Edit(1, 2, "def");
  EXPECT_EQ(Ctl->GetData().GetStrings().GetString(2, 2), "Xdef");
  EXPECT_EQ(Log, (Strings{"get 1,2 abc", "set 1,2 def"}));
  Edit(1, 1, "new");  // an empty cell stays unchecked
  EXPECT_EQ(Ctl->GetData().GetStrings().GetString(2, 1), " new");
  Ctl->SetElemChecked(3, 4, true);
  Edit(2, 1, "r");
  EXPECT_EQ(Ctl->FirstCheckedElemInCol(3), 4);
  EXPECT_FALSE(Ctl->GetElemChecked(3, 1));
  Log.clear();
  Edit(0, 3, std::string(300, 'e') + "\xC3\xA9");
  EXPECT_EQ(Ctl->GetElem(1, 3), std::string(255, 'e'));
  // Esc hands nothing back.
  ClickCell(0, 4);
  D.Press(*Form, vk::F1 + 1);
  Ctl->GetInplaceEditor()->SetText("gone");
  D.Press(*Form, vk::Escape);
  EXPECT_EQ(Ctl->GetElem(1, 4), "");
}

TEST_F(ReportViewTest, WheelScrollsOnlyWithRows) {
  Ctl->SetNrOfRows(100);
  ClickCell(0, 1);
  D.Wheel(*Ctl, 100, 100, -360);
  EXPECT_EQ(Ctl->GetRow(), 4);
  Ctl->SetNrOfRows(0);
  bool ParentTurned = false;
  Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ParentTurned = true; };
  D.Wheel(*Ctl, 100, 100, -120);
  EXPECT_EQ(Ctl->GetTopRow(), 1);
  EXPECT_TRUE(ParentTurned);
}

TEST_F(ReportViewTest, CenterScrollAndSelect) {
  Ctl->SetNrOfRows(100);
  Ctl->SetBounds(0, 0, 400, 10 * 25 + 21 + 4 + 17);
  ASSERT_EQ(Ctl->GetVisibleRowCount(), 10);
  Ctl->SetRowSelected(7, true);
  int Events = 0;
  Ctl->OnSelectedChange = [&](TObject*) { ++Events; };
  Ctl->CenterScrollAndSelect(50);
  EXPECT_EQ(Ctl->GetTopRow(), 45);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{50}));
  EXPECT_EQ(Ctl->GetSelection().Top, 50);
  Ctl->CenterScrollAndSelect(99);
  EXPECT_EQ(Ctl->GetTopRow(), 91);
  Events = 0;
  Ctl->CenterScrollAndSelect(0);
  Ctl->CenterScrollAndSelect(101);
  Ctl->SetNrOfRows(0);
  Events = 0;
  Ctl->CenterScrollAndSelect(1);
  EXPECT_EQ(Events, 0);
}

TEST_F(ReportViewTest, HeaderBorderDoubleClickSizesTheColumnAndSwallowsOnDblClick) {
  FillColumn(1, {"a rather long text in column one"});
  int DblClicks = 0;
  Ctl->OnDblClick = [&](TObject*) { ++DblClicks; };
  D.DblClick(*Ctl, Middle(2, 2).X, Middle(2, 2).Y);  // a data cell: the host hears it
  D.AdvanceTime(1000);
  const TRect H = Ctl->CellRect(0, 0);
  D.DblClick(*Ctl, H.Left + 2, 10);  // left border of the first column: nothing
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetColWidths(1), 64);
  D.DblClick(*Ctl, H.Right - 2, 10);
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetColWidths(1), Ctl->DetermineMaxColWidth(1, true));
  EXPECT_EQ(DblClicks, 1);
  ASSERT_TRUE(Ctl->SetColumnOrder({2, 1, 3, 4, 5}));
  const TRect H1 = Ctl->CellRect(1, 0);
  D.DblClick(*Ctl, H1.Right - 2, 10);  // the column the user sees there is data column 1
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->CellRect(1, 0).Width(), Ctl->DetermineMaxColWidth(1, true));
  EXPECT_EQ(DblClicks, 1);
}

TEST_F(ReportViewTest, AssignMakesAnIndependentCopyThatStillPaintsAndForwards) {
  FillColumn(2, {"w", "x", "y", "z"});
  Ctl->SetColumnCheckMode(3, cmBox);
  Ctl->SetColumnAlignment(2, taCenter);
  Ctl->SetCommonHeaderVisible(true);
  Ctl->SetRowSelectMode(2);
  ASSERT_TRUE(Ctl->SetColumnOrder({2, 1, 3, 4, 5}));
  int Changes = 0;
  Ctl->OnChange = [&](TObject* Sender) {
    if (Sender != Ctl) ++Changes;
  };
  auto* Copy = new TReportListView(Form);
  Copy->SetParent(Form);
  Copy->SetBounds(0, 0, 400, 300);
  Copy->Assign(Ctl);
  EXPECT_EQ(Copy->GetElem(2, 3), "y");
  EXPECT_EQ(Copy->GetColumnCheckMode(3), cmBox);
  EXPECT_EQ(Copy->GetColumnAlignment(2), taCenter);
  EXPECT_EQ(Copy->GetColumnOrder(1), 2);
  EXPECT_EQ(Copy->CountHeadRows(), 2);
  EXPECT_EQ(Copy->GetRowCount(), 6);
  EXPECT_EQ(Copy->GetRowSelectMode(), 2);
  EXPECT_TRUE(SamePicture(D.Capture(*Copy), D.Capture(*Ctl)));
  Copy->SetElem(2, 3, "changed");
  EXPECT_EQ(Ctl->GetElem(2, 3), "y");
  EXPECT_EQ(Changes, 1);  // the copied handler hears the copy
  Ctl->Assign(Ctl);
  EXPECT_EQ(Ctl->GetElem(2, 4), "z");
}

TEST_F(ReportViewTest, BulkChangesFireOneOnChange) {
  Ctl->SetNrOfRows(50);
  Ctl->SetColumnCheckMode(1, cmBox);
  int Changes = 0;
  Ctl->OnChange = [&](TObject*) { ++Changes; };
  const std::function<void()> Ops[] = {
      [&] { Ctl->Fill("f"); },
      [&] { Ctl->SetAllCheckmarksOfCol(1, true); },
      [&] { Ctl->InvertAllCheckmarksOfCol(1); },
      [&] { Ctl->Clear(); },
  };
  for (const auto& Op : Ops) {
    Changes = 0;
    Op();
    EXPECT_EQ(Changes, 1);
  }
  EXPECT_EQ(Ctl->GetElem(2, 50), "");
  EXPECT_EQ(Ctl->GetHeader(1), "C-1");
  Ctl->SetColumnCheckMode(1, cmBox);
  Ctl->SetAllCheckmarksOfCol(1, true);
  Ctl->SetRowEnabled(2, false);
  EXPECT_EQ(Ctl->CountCheckedElemsInCol(1), 49);  // disabled rows are left out
  EXPECT_EQ(Ctl->GetData().CountCheckedElemsInCol(1), 50);
}

// Every index with values around and far outside the table reads as nothing and writes nothing.
TEST_F(ReportViewTest, IndicesOutsideTheTable) {
  int Events = 0;
  Ctl->OnChange = Ctl->OnChangeSetup = Ctl->OnSelectedChange = [&](TObject*) { ++Events; };
  for (const int I : {0, -1, 6, INT_MAX, INT_MIN}) {
    Ctl->SetHeader(I, "h");
    Ctl->SetColumnFormat(I, "[i]");
    Ctl->SetColumnCheckMode(I, cmBox);
    Ctl->SetColumnAlignment(I, taCenter);
    Ctl->SetColumnEditable(I, true);
    Ctl->SetColumnIsPwd(I, true);
    Ctl->SetColumnSelected(I, true);
    EXPECT_EQ(Ctl->GetHeader(I), "");
    EXPECT_EQ(Ctl->GetColumnCheckMode(I), cmNone);
    EXPECT_EQ(Ctl->GetColumnAlignment(I), taLeftJustify);
    EXPECT_FALSE(Ctl->GetColumnEditable(I));
    EXPECT_FALSE(Ctl->GetColumnIsPwd(I));
    EXPECT_FALSE(Ctl->GetColumnSelected(I));
    EXPECT_EQ(Ctl->GetColumnOrder(I), 0);
    EXPECT_EQ(Ctl->GetColWidths(I), 0);
  }
  EXPECT_EQ(Events, 0);
  for (const int R : {0, -1, 5, INT_MAX}) {
    Ctl->SetRowSelected(R, true);
    Ctl->SetRowEnabled(R, false);
    Ctl->SetElem(1, R, "x");
    EXPECT_FALSE(Ctl->GetRowSelected(R));
    EXPECT_FALSE(Ctl->GetRowEnabled(R));
    EXPECT_EQ(Ctl->GetElem(1, R), "");
  }
  EXPECT_EQ(Events, 0);
  for (const int I : {0, -1, 6, INT_MAX}) Ctl->SetColWidths(I, 10);
  EXPECT_EQ(Events, 4);  // a width write always tells the host
  Ctl->SetTopRow(INT_MAX);
  EXPECT_EQ(Ctl->GetTopRow(), 4);
  Ctl->SetTopRow(INT_MIN);
  EXPECT_EQ(Ctl->GetTopRow(), 1);
  Ctl->SetLeftCol(INT_MAX);
  Ctl->SetLeftCol(INT_MIN);
  EXPECT_EQ(Ctl->GetLeftCol(), 1);
  EXPECT_EQ(Ctl->MouseCell(-5, -5), (TGridCoord{0, 0}));
  EXPECT_EQ(Ctl->MouseCell(10, 10), (TGridCoord{1, -1}));
}

}  // namespace
}  // namespace kvl
