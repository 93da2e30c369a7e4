// Selection, keys, mouse and the in-place editor.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/dropdown.h"
#include "kvl/platform/grids.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

// A string grid that records the calls the grid makes to its hooks.
class TProbeGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;
  std::vector<TGridCoord> Selects, Gets;
  std::vector<std::string> Sets;
  bool Refuse = false, SwallowUps = false, EatKeys = false, NoEditor = false;
  TEditStyle Style = esSimple;
  std::vector<std::string> Items;
  int ItemAsks = 0;

protected:
  bool SelectCell(int C, int R) override {
    Selects.push_back({C, R});
    return !Refuse && TStringGrid::SelectCell(C, R);
  }
  std::string GetEditText(int C, int R) override {
    Gets.push_back({C, R});
    return TStringGrid::GetEditText(C, R);
  }
  void SetEditText(int C, int R, const std::string& V) override {
    Sets.push_back(V);
    TStringGrid::SetEditText(C, R, V);
  }
  void MouseUp(TMouseButton, TShiftState, int, int) override {}
  void KeyPress(char32_t& Key) override {
    if (EatKeys && Key == U'x') Key = 0;
    TStringGrid::KeyPress(Key);
  }
  bool CanEditShow() override { return !NoEditor && TStringGrid::CanEditShow(); }
  TEditStyle GetEditStyle(int, int) override { return Style; }
  void GetPickListItems(int, int, TStrings& L) override {
    ++ItemAsks;
    for (const auto& S : Items) L.Add(S);
  }
};

class GridInputTest : public TControlTest<TProbeGrid> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(0, 0, 400, 300);
    Ctl->SetRowCount(50);
    Ctl->SetColCount(10);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(500, 10, 100, 21);
  }
  // The middle of a cell, in client coordinates.
  void ClickCell(int C, int R, TShiftState Shift = 0) {
    const TRect Rc = Ctl->CellRect(C, R);
    if (Shift & ssShift) D.KeyDown(*Form, vk::Shift);
    D.Click(*Ctl, (Rc.Left + Rc.Right) / 2, (Rc.Top + Rc.Bottom) / 2);
    if (Shift & ssShift) D.KeyUp(*Form, vk::Shift);
  }
  void Key(std::uint16_t K, TShiftState Shift = 0) {
    if (Shift & ssCtrl) D.KeyDown(*Form, vk::Control);
    if (Shift & ssShift) D.KeyDown(*Form, vk::Shift);
    D.Press(*Form, K);
    if (Shift & ssShift) D.KeyUp(*Form, vk::Shift);
    if (Shift & ssCtrl) D.KeyUp(*Form, vk::Control);
  }
  TGridCoord Cur() const { return {Ctl->GetCol(), Ctl->GetRow()}; }
  TEdit* Other = nullptr;
};

TEST_F(GridInputTest, ClicksShiftClicksAndDrags) {
  ClickCell(2, 3);
  EXPECT_TRUE(Ctl->Focused());
  EXPECT_EQ(Cur(), (TGridCoord{2, 3}));
  ClickCell(4, 5, ssShift);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{2, 3, 4, 5}));
  // A right press keeps the cell; a fixed cell selects nothing.
  D.Click(*Ctl, 70, 100, mbRight);
  ClickCell(0, 2);
  ClickCell(3, 0);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{2, 3, 4, 5}));
  // A drag past the bottom edge scrolls and extends every 50 ms.
  const TRect A = Ctl->CellRect(1, 1);
  D.MouseDown(*Ctl, A.Left + 5, A.Top + 5);
  D.MouseMove(*Ctl, A.Left + 5, Ctl->GetClientHeight() + 10);
  const int Row0 = Ctl->GetRow();
  D.AdvanceTime(200);
  EXPECT_GT(Ctl->GetTopRow(), 1);
  EXPECT_GT(Ctl->GetRow(), Row0);
  D.MouseMove(*Ctl, A.Left + 5, 50);
  const int Top = Ctl->GetTopRow();
  D.AdvanceTime(200);
  EXPECT_EQ(Ctl->GetTopRow(), Top);
  EXPECT_EQ(Ctl->GetSelection().Top, 1);
  // The descendant swallows the release: the next move without a button ends the drag.
  D.MouseUp(*Ctl, A.Left + 5, 50);
  const TGridCoord Held = Cur();
  D.MouseMove(*Ctl, 300, 200);
  EXPECT_EQ(Cur(), Held);
  // Without range selection a shift-click moves only.
  Ctl->SetTopRow(1);
  Ctl->SetOptions(Ctl->GetOptions() & ~goRangeSelect);
  ClickCell(2, 3);
  ClickCell(3, 4, ssShift);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{3, 4, 3, 4}));
  // Row selection spans every scrolling column and still tracks the column.
  Ctl->SetOptions(Ctl->GetOptions() | goRowSelect);
  ClickCell(3, 2);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{1, 2, 9, 2}));
  EXPECT_EQ(Ctl->GetCol(), 3);
  Ctl->Refuse = true;
  ClickCell(2, 6);
  EXPECT_EQ(Cur(), (TGridCoord{3, 2}));
}

TEST_F(GridInputTest, NavigationKeys) {
  Ctl->SetFocus();
  struct TCase {
    TGridCoord From;
    std::uint16_t Key;
    TShiftState Shift;
    TGridCoord To;
  };
  const int Page = Ctl->GetVisibleRowCount();
  const TCase Cases[] = {
      {{3, 3}, vk::Up, 0, {3, 2}},
      {{3, 3}, vk::Down, 0, {3, 4}},
      {{3, 1}, vk::Up, 0, {3, 1}},
      {{3, 3}, vk::Left, 0, {2, 3}},
      {{3, 3}, vk::Right, 0, {4, 3}},
      {{3, 3}, vk::Home, 0, {1, 3}},
      {{3, 3}, vk::End, 0, {9, 3}},
      {{3, 3}, vk::Home, ssCtrl, {1, 1}},
      {{3, 3}, vk::End, ssCtrl, {9, 49}},
      {{3, 3}, vk::Next, 0, {3, 3 + Page}},
      {{3, 40}, vk::Prior, 0, {3, 40 - Page}},
      {{9, 3}, vk::Tab, 0, {1, 4}},
      {{1, 3}, vk::Tab, ssShift, {9, 2}},
      {{9, 49}, vk::Tab, 0, {9, 49}},
  };
  Ctl->SetOptions(Ctl->GetOptions() | goTabs);
  for (const TCase& C : Cases) {
    Ctl->SetCol(C.From.X);
    Ctl->SetRow(C.From.Y);
    Key(C.Key, C.Shift);
    EXPECT_EQ(Cur(), C.To) << C.Key << "/" << int(C.Shift);
    const TRect R = Ctl->CellRect(Cur().X, Cur().Y);
    EXPECT_FALSE(R.IsEmpty());
  }
  // Ctrl+arrows scroll without moving; Shift extends.
  Ctl->SetCol(3);
  Ctl->SetRow(3);
  Ctl->SetTopRow(1);
  Key(vk::Down, ssCtrl);
  EXPECT_EQ(Ctl->GetTopRow(), 2);
  EXPECT_EQ(Ctl->GetRow(), 3);
  Key(vk::Down, ssShift);
  Key(vk::Right, ssShift);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{3, 3, 4, 4}));
  // Without goTabs Tab leaves the grid.
  Ctl->SetOptions(Ctl->GetOptions() & ~goTabs);
  Key(vk::Tab);
  EXPECT_TRUE(Other->Focused());
}

TEST_F(GridInputTest, SelectionWrittenOffTheTable) {
  Ctl->SetOptions(Ctl->GetOptions() | goEditing);
  Ctl->SetFocus();
  const TGridRect Bad[] = {
      {0, 0, 0, 0}, {11, 51, 11, 51}, {5, 5, 2, 2}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
  for (const TGridRect& R : Bad) {
    for (const std::uint16_t K : {vk::Down, vk::End, vk::Home, vk::Prior, vk::Right}) {
      Ctl->SetSelection(R);
      const TGridRect N{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom),
                        std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
      EXPECT_EQ(Ctl->GetSelection(), N);
      D.Capture(*Ctl);
      D.Press(*Form, vk::F1 + 1);
      D.Press(*Form, vk::Return, "\r");
      D.Type(*Form, "q");
      D.Press(*Form, vk::Escape);
      Key(K);
    }
  }
  for (const TGridCoord& C : Ctl->Selects) {
    EXPECT_TRUE(C.X >= 1 && C.X < 10 && C.Y >= 1 && C.Y < 50) << C.X << "," << C.Y;
  }
  for (const TGridCoord& C : Ctl->Gets) EXPECT_TRUE(C.X >= 1 && C.Y >= 1 && C.X < 10 && C.Y < 50);
}

TEST_F(GridInputTest, OptionsWritesAndSizing) {
  ClickCell(3, 3);
  const int Top = Ctl->GetTopRow();
  Ctl->SetOptions(Ctl->GetOptions() | goEditing | goRowSelect | goColSizing | goRowSizing);
  Ctl->SetOptions(Ctl->GetOptions() & ~(goEditing | goRowSelect));
  EXPECT_EQ(Cur(), (TGridCoord{3, 3}));
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{3, 3, 3, 3}));
  EXPECT_EQ(Ctl->GetTopRow(), Top);
  // Dragging the line after column 1 (x = 129) in the header row resizes it live.
  D.MouseMove(*Ctl, 131, 10);
  EXPECT_EQ(Ctl->GetCursor(), crSizeWE);
  D.MouseDown(*Ctl, 131, 10);
  D.MouseMove(*Ctl, 160, 10);
  EXPECT_EQ(Ctl->GetColWidths(1), 160 - 65);
  D.MouseUp(*Ctl, 160, 10);
  EXPECT_EQ(Cur(), (TGridCoord{3, 3}));
  // Four pixels away is no longer the zone; rows size in the fixed column.
  D.MouseMove(*Ctl, 160 + 4, 10);
  EXPECT_EQ(Ctl->GetCursor(), crDefault);
  D.MouseDown(*Ctl, 20, 49);
  D.MouseMove(*Ctl, 20, 60);
  Ctl->MouseCaptureLost();
  EXPECT_EQ(Ctl->GetRowHeights(1), 60 - 25);
  D.MouseMove(*Ctl, 20, 90);
  EXPECT_EQ(Ctl->GetRowHeights(1), 60 - 25);
}

TEST_F(GridInputTest, StringCellsColumnsAndRows) {
  Ctl->SetCells(4, 4, "x");
  Ctl->SetCells(9, 49, "far");
  Ctl->SetRowCount(3);
  Ctl->SetRowCount(50);
  EXPECT_EQ(Ctl->GetCells(4, 4), "");
  EXPECT_EQ(Ctl->GetCells(9, 49), "");
  Ctl->SetCells(-1, 2, "ignored");
  Ctl->SetCells(10, 2, "ignored");
  TStringList Line;
  Line.SetText("a\nb\nc\n");
  Ctl->SetRows(2, Line);
  EXPECT_EQ(Ctl->GetCells(1, 2), "b");
  EXPECT_EQ(Ctl->GetRows(2).GetCount(), 10);
  Ctl->SetCols(3, Line);
  EXPECT_EQ(Ctl->GetCols(3).GetStrings(2), "c");
  EXPECT_EQ(Ctl->GetCols(3).GetCount(), 50);
}

// A descendant that wants Tab without goTabs moves through the cells with it.
class TTabGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override {
    return Key == vk::Tab || TStringGrid::WantsKey(Key, Shift);
  }
};

TEST_F(GridInputTest, TabWantedByADescendant) {
  auto* G = new TTabGrid(Form);
  G->SetParent(Form);
  G->SetBounds(0, 310, 300, 80);
  G->SetFocus();
  D.Press(*Form, vk::Tab);
  EXPECT_TRUE(G->Focused());
  EXPECT_EQ(G->GetCol(), 2);
}

class EditorTest : public GridInputTest {
protected:
  void SetUp() override {
    GridInputTest::SetUp();
    Ctl->SetOptions(Ctl->GetOptions() | goEditing);
    Ctl->SetCells(2, 2, "abc");
  }
  void Open() {
    Ctl->SetCol(2);
    Ctl->SetRow(2);
    Ctl->SetFocus();
    D.Press(*Form, vk::F1 + 1);
    ASSERT_TRUE(Ctl->GetEditorMode());
  }
};

TEST_F(EditorTest, OpensByClickEnterF2AndTyping) {
  ClickCell(2, 2);
  EXPECT_FALSE(Ctl->GetEditorMode());
  ClickCell(2, 2);
  ASSERT_TRUE(Ctl->GetEditorMode());
  TInplaceEdit* E = Ctl->GetInplaceEditor();
  EXPECT_EQ(E->GetText(), "abc");
  EXPECT_EQ(E->GetSelLength(), 3);
  EXPECT_EQ(E->GetBoundsRect(), Ctl->CellRect(2, 2));
  EXPECT_TRUE(Ctl->Focused());
  EXPECT_TRUE(E->Focused());
  // The editor moves with its cell while the grid scrolls.
  Ctl->SetLeftCol(2);
  ASSERT_TRUE(Ctl->GetEditorMode());
  EXPECT_EQ(E->GetBoundsRect(), Ctl->CellRect(2, 2));
  EXPECT_EQ(E->GetLeft(), 65);
  Ctl->SetLeftCol(1);
  D.Press(*Form, vk::Return, "\r");
  EXPECT_FALSE(Ctl->GetEditorMode());
  D.Press(*Form, vk::F1 + 1);
  EXPECT_TRUE(Ctl->GetEditorMode());
  D.Press(*Form, vk::Escape);
  D.Type(*Form, "z");
  ASSERT_TRUE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetInplaceEditor()->GetText(), "z");
  D.Press(*Form, vk::Escape);
  // Never on a disabled grid, where CanEditShow refuses, or without goEditing.
  Ctl->NoEditor = true;
  D.Press(*Form, vk::F1 + 1);
  EXPECT_FALSE(Ctl->GetEditorMode());
  Ctl->NoEditor = false;
  Ctl->SetEnabled(false);
  Ctl->ShowEditor();
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_TRUE(Ctl->Sets.empty());
}

TEST_F(EditorTest, CommitsOnceAndOnlyChangedTextEveryWayItEnds) {
  using TEnd = std::function<void()>;
  const std::pair<const char*, TEnd> Ways[] = {
      {"enter", [&] { D.Press(*Form, vk::Return, "\r"); }},
      {"click", [&] { ClickCell(4, 4); }},
      {"down", [&] { D.Press(*Form, vk::Down); }},
      {"focus", [&] { Other->SetFocus(); }},
      {"hide", [&] { Ctl->HideEditor(); }},
      {"mode", [&] { Ctl->SetEditorMode(false); }},
      {"options", [&] { Ctl->SetOptions(Ctl->GetOptions() & ~goEditing); }},
      {"scroll", [&] { Ctl->SetTopRow(20); }},
      {"disable", [&] { Ctl->SetEnabled(false); }},
  };
  for (const auto& [Name, End] : Ways) {
    for (const bool Change : {false, true}) {
      Ctl->SetEnabled(true);
      Ctl->SetOptions(Ctl->GetOptions() | goEditing);
      Ctl->SetTopRow(1);
      Ctl->SetCells(2, 2, "abc");
      Ctl->Sets.clear();
      Open();
      if (Change) D.Type(*Form, "Q");
      End();
      EXPECT_FALSE(Ctl->GetEditorMode()) << Name;
      EXPECT_EQ(Ctl->Sets, Change ? std::vector<std::string>{"Q"} : std::vector<std::string>{})
          << Name;
    }
  }
  // Esc restores and hands back nothing.
  Ctl->SetEnabled(true);
  Ctl->SetOptions(Ctl->GetOptions() | goEditing);
  Ctl->SetTopRow(1);
  Ctl->SetCells(2, 2, "abc");
  Ctl->Sets.clear();
  Open();
  D.Type(*Form, "Q");
  D.Press(*Form, vk::Escape);
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_TRUE(Ctl->Sets.empty());
  EXPECT_EQ(Ctl->GetCells(2, 2), "abc");
  EXPECT_TRUE(Ctl->Focused());
}

TEST_F(EditorTest, KeyRoutingAndRowSelect) {
  Open();
  // Characters reach the grid's KeyPress first; one it zeroes stays out.
  Ctl->EatKeys = true;
  D.Type(*Form, "axb");
  EXPECT_EQ(Ctl->GetInplaceEditor()->GetText(), "ab");
  // Left and Home stay in the editor.
  D.Press(*Form, vk::Left);
  D.Press(*Form, vk::Home);
  EXPECT_TRUE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetInplaceEditor()->GetCaretPos(), 0);
  D.Press(*Form, vk::Next);
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_GT(Ctl->GetRow(), 2);
  // Row selection edits the clicked column.
  Ctl->SetOptions(Ctl->GetOptions() | goRowSelect);
  Ctl->SetTopRow(1);
  Ctl->Gets.clear();
  ClickCell(5, 3);
  ClickCell(5, 3);
  ASSERT_TRUE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->Gets.back(), (TGridCoord{5, 3}));
  // The grid draws the current cell focused while its editor has the focus.
  std::vector<TGridDrawState> States;
  Ctl->OnDrawCell = [&](TObject*, int C, int R, const TRect&, TGridDrawState S) {
    if (C == 5 && R == 3) States.push_back(S);
  };
  Ctl->Invalidate();
  D.Capture(*Ctl);
  ASSERT_FALSE(States.empty());
  EXPECT_TRUE(States.back() & gdFocused);
  // Destroying the grid while it edits.
  delete Ctl;
  Ctl = nullptr;
  D.Settle();
}

class PickListTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Ctl->Style = esPickList;
    for (int I = 0; I < 12; ++I) Ctl->Items.push_back("Item " + std::to_string(I));
    Ctl->SetCells(2, 2, "item 3");
    Open();
    L = dynamic_cast<TInplaceEditList*>(Ctl->GetInplaceEditor());
    ASSERT_NE(L, nullptr);
  }
  void AltKey(std::uint16_t K) {
    D.KeyDown(*Form, vk::Menu);
    D.Press(*Form, K);
    D.KeyUp(*Form, vk::Menu);
  }
  void ClickButton() { D.Click(*L, L->GetWidth() - 5, 5); }
  TDropDownList& List() { return *L->GetDropDownList(); }
  TInplaceEditList* L = nullptr;
};

constexpr std::uint16_t KeyF4 = vk::F1 + 3;

TEST_F(PickListTest, OpensChoosesAndClosesEveryWay) {
  struct TCase {
    const char* Name;
    int OpenBy;  // 0 the button, 1 Alt+Down, 2 F4
    std::function<void()> Act;
    std::string Text;
    bool StaysOpen;
  };
  const auto Keys = [this](std::vector<std::uint16_t> Ks) {
    return [this, Ks] {
      for (auto K : Ks) D.Press(*Form, K);
    };
  };
  const TCase Cases[] = {
      {"Enter chooses", 0, Keys({vk::Down, vk::Return}), "Item 4", false},
      {"Alt+Up takes the highlight", 1,
       [this] {
         D.Press(*Form, vk::Up);
         AltKey(vk::Up);
       },
       "Item 2", false},
      {"F4 takes the highlight", 2, Keys({vk::Next, KeyF4}), "Item 9", false},
      {"Esc changes nothing", 0, Keys({vk::Down, vk::Escape}), "item 3", false},
      {"a click chooses", 2, [this] { D.Click(List(), 20, 1 + List().GetItemHeight() + 3); },
       "Item 1", false},
      {"outside changes nothing", 1,
       [this] {
         D.Press(*Form, vk::Down);
         D.Click(*Form, 650, 380);
       },
       "item 3", false},
      {"the wheel moves", 2,
       [this] {
         D.Wheel(List(), 10, 10, -240);
         D.Press(*Form, vk::Return);
       },
       "Item 5", false},
      {"editing keys reach the editor", 1,
       [this] {
         D.Press(*Form, vk::End);
         D.Press(*Form, vk::Back);
         D.Type(*Form, "x");
         D.Press(*Form, vk::Left);
       },
       "item x", true},
      {"the button closes it again", 2, [this] { ClickButton(); }, "item 3", false},
      {"leaving the editor closes it", 0, [this] { Ctl->SetFocus(); }, "item 3", false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    L->SetText("item 3");
    if (!L->Focused()) L->SetFocus();
    const int Asks = Ctl->ItemAsks;
    if (C.OpenBy == 0) ClickButton();
    if (C.OpenBy == 1) AltKey(vk::Down);
    if (C.OpenBy == 2) D.Press(*Form, KeyF4);
    ASSERT_TRUE(L->GetListVisible());
    EXPECT_EQ(Ctl->ItemAsks, Asks + 1);
    EXPECT_EQ(List().GetItemIndex(), 3);
    C.Act();
    EXPECT_EQ(L->GetText(), C.Text);
    EXPECT_EQ(L->GetListVisible(), C.StaysOpen);
    if (!C.StaysOpen && C.Text != "item 3") {
      EXPECT_TRUE(Ctl->GetEditorMode());
      EXPECT_EQ(L->GetSelLength(), int(C.Text.size()));
    }
    L->CloseUp(false);
    if (!Ctl->GetEditorMode()) Open();
  }
  // Nothing was committed along the way.
  EXPECT_TRUE(Ctl->Sets.empty());
}

TEST_F(PickListTest, RowsPlaceAndEmptyList) {
  ClickButton();
  const TRect E = ScreenBoundsOf(*L);
  const int H = List().GetItemHeight();
  // Below the editor, as wide, 7 of 12 rows with a bar; the rows apply at once.
  EXPECT_EQ(List().GetBoundsRect(), Rect(E.Left, E.Bottom, E.Right, E.Bottom + 7 * H + 2));
  const std::pair<int, int> Rows[] = {{3, 3}, {40, 12}, {0, 1}};
  for (auto [Asked, Shown] : Rows) {
    Ctl->SetDropDownRows(Asked);
    EXPECT_EQ(List().GetHeight(), Shown * H + 2) << Asked;
  }
  L->CloseUp(false);
  // Near the bottom of the screen: above the editor.
  Ctl->SetDropDownRows(7);
  Form->SetBounds(0, D.Host().ScreenSize().cy - 120, 700, 100);
  D.Settle();
  ClickButton();
  ASSERT_TRUE(L->GetListVisible());
  EXPECT_EQ(List().GetBoundsRect().Bottom, ScreenBoundsOf(*L).Top);
  L->CloseUp(false);
  // The items are asked each time: none open nothing.
  Ctl->Items.clear();
  D.Press(*Form, KeyF4);
  EXPECT_FALSE(L->GetListVisible());
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(PickListTest, EllipsisButtonAndGoldenOpenList) {
  int Clicks = 0;
  Ctl->OnEditButtonClick = [&](TObject*) { ++Clicks; };
  Ctl->Style = esEllipsis;
  Ctl->HideEditor();
  Ctl->ShowEditor();
  ClickButton();
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(L->GetDropDownList(), nullptr);
  Ctl->Style = esPickList;
  Ctl->HideEditor();
  Ctl->ShowEditor();
  ClickButton();
  D.Press(*Form, vk::Down);
  D.Settle();
  const TRect E = ScreenBoundsOf(*L);
  TBitmap Screen = D.CaptureScreen();
  TBitmap Shot;
  Shot.SetSize(140, 200);
  Shot.GetCanvas()->CopyRect(Rect(0, 0, 140, 200), *Screen.GetCanvas(),
                             Rect(E.Left - 20, E.Top - 30, E.Left + 120, E.Top + 170));
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/grid_pick_list.png"));
  // Freeing the grid with its list open takes the list along.
  delete Ctl;
  Ctl = nullptr;
  D.Settle();
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(EditorTest, GoldenStringGridWithRangeAndEditor) {
  for (int C = 1; C < 10; ++C) Ctl->SetCells(C, 0, "Col " + std::to_string(C));
  for (int R = 1; R < 50; ++R) Ctl->SetCells(0, R, std::to_string(R));
  Ctl->SetCells(1, 1, "alpha");
  Ctl->SetCells(3, 4, "delta");
  ClickCell(1, 1);
  ClickCell(3, 4, ssShift);
  D.Press(*Form, vk::F1 + 1);
  ASSERT_TRUE(Ctl->GetEditorMode());
  D.Settle();
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/grid_string_editor.png"));
}

}  // namespace
}  // namespace kvl
