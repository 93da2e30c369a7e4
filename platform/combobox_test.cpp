// Combo boxes driven as a person would: opening and closing the list, choosing by mouse and
// keys, typing into the edit part, program writes, dialogs and deletion inside handlers, and
// the owner-draw contract.
#include "kvl/platform/combobox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/listbox.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class ComboBoxTest : public TControlTest<TComboBox> {
protected:
  std::string Log;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(20, 20, 145, 21);
    for (const char* S : {"apple", "banana", "blueberry", "cherry", "date", "elder", "fig", "grape",
                          "kiwi", "lemon", "mango", "nut"})
      Ctl->GetItems()->Add(S);
    Ctl->OnClick = [this](TObject*) { Log += "click "; };
    Ctl->OnSelect = [this](TObject*) { Log += "select "; };
    Ctl->OnChange = [this](TObject*) { Log += "change "; };
    Ctl->OnDropDown = [this](TObject*) { Log += "drop "; };
    Ctl->OnCloseUp = [this](TObject*) { Log += "closeup "; };
    Form->Show();
  }
  void Style(TComboBoxStyle S) {
    Ctl->SetStyle(S);
    Ctl->SetFocus();
  }
  TDropDownList* List() { return Ctl->GetDropDownList(); }
  // The middle of row I of the open list, in the list's view.
  void ClickRow(int I) {
    TControl& View = *List()->GetControls(0);
    const int Y = (I - List()->GetTopIndex()) * List()->GetItemHeight() + 3;
    D.Click(View, 10, Y);
  }
  void Chord(std::uint16_t Mod, std::uint16_t Key) {
    D.KeyDown(*Form, Mod);
    D.Press(*Form, Key);
    D.KeyUp(*Form, Mod);
  }
};

TEST_F(ComboBoxTest, ProgramWritesSelectByTheRulesAndFireNothing) {
  for (TComboBoxStyle S : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(int(S));
    Style(S);
    const std::pair<std::function<void()>, int> Cases[] = {
        {[&] { Ctl->SetItemIndex(3); }, 3},
        {[&] { Ctl->SetItemIndex(12); }, -1},
        {[&] { Ctl->SetText("CHERRY"); }, 3},
        {[&] { Ctl->SetItemIndex(Ctl->GetItems()->IndexOf("none")); }, -1},
        {[&] { Ctl->SetText("purple"); }, -1},
    };
    for (const auto& [Act, Index] : Cases) {
      Act();
      EXPECT_EQ(Ctl->GetItemIndex(), Index);
    }
    // A list style reads "" without a selection; the edit keeps what was written.
    EXPECT_EQ(Ctl->GetText(), S == csDropDown ? "purple" : "");
    Ctl->SetItemIndex(5);
    const std::string Was = Ctl->GetText();
    Ctl->GetItems()->Delete(0);
    EXPECT_EQ(Ctl->GetItemIndex(), 4);
    Ctl->GetItems()->Insert(0, "acorn");
    EXPECT_EQ(Ctl->GetText(), Was);
    Ctl->GetItems()->Delete(5);
    EXPECT_EQ(Ctl->GetItemIndex(), -1);
  }
  EXPECT_EQ(Log, "");
}

TEST_F(ComboBoxTest, EveryWayOfOpeningRunsDropDownAndChoosingFiresInOrder) {
  Style(csDropDownList);
  const std::pair<const char*, std::function<void()>> Opens[] = {
      {"click on the face", [&] { D.Click(*Ctl, 30, 10); }},
      {"F4", [&] { D.Press(*Form, vk::F4); }},
      {"Alt+Down", [&] { Chord(vk::Menu, vk::Down); }},
      {"program", [&] { Ctl->SetDroppedDown(true); }},
  };
  int Row = 2;
  for (const auto& [Name, Open] : Opens) {
    SCOPED_TRACE(Name);
    Log.clear();
    Open();
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(Log, "drop ");
    EXPECT_TRUE(Ctl->Focused());
    ClickRow(++Row);
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(Ctl->GetItemIndex(), Row);
    EXPECT_EQ(Log, "drop closeup click select change ");
  }
  // Enter takes the highlighted row; choosing the selected item again changes nothing.
  Log.clear();
  D.Press(*Form, vk::F4);
  D.Press(*Form, vk::Down);
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(Ctl->GetItemIndex(), Row + 1);
  D.Press(*Form, vk::F4);
  ClickRow(Row + 1);
  EXPECT_EQ(Log, "drop closeup click select change drop closeup ");
}

TEST_F(ComboBoxTest, ClosingWithoutChoosingKeepsTheSelection) {
  auto* Other = new TEdit(Form);
  Other->SetParent(Form);
  Other->SetBounds(300, 300, 80, 21);
  const std::pair<const char*, std::function<void()>> Closes[] = {
      {"Escape", [&] { D.Press(*Form, vk::Escape, "\x1b"); }},
      {"F4", [&] { D.Press(*Form, vk::F4); }},
      {"Alt+Up", [&] { Chord(vk::Menu, vk::Up); }},
      {"Tab", [&] { D.Press(*Form, vk::Tab, "\t"); }},
      {"click outside", [&] { D.Click(*Form, 500, 300); }},
      {"focus moved", [&] { Other->SetFocus(); }},
      {"window lost the focus", [&] { D.WindowEvent(*Form, THostEventKind::FocusOut); }},
  };
  for (TComboBoxStyle S : {csDropDownList, csDropDown}) {
    for (const auto& [Name, Close] : Closes) {
      SCOPED_TRACE(Name);
      Style(S);
      Ctl->SetItemIndex(4);
      Log.clear();
      D.Press(*Form, vk::F4);
      D.Press(*Form, vk::Down);
      ASSERT_NE(List(), nullptr);
      Close();
      EXPECT_EQ(List(), nullptr);
      EXPECT_EQ(Ctl->GetItemIndex(), 4);
      EXPECT_EQ(Ctl->GetText(), "date");
      EXPECT_EQ(Log, "drop closeup ");
      D.WindowEvent(*Form, THostEventKind::FocusIn);
    }
  }
}

TEST_F(ComboBoxTest, APressDraggedIntoTheListSelectsWhereItIsReleased) {
  Style(csOwnerDrawFixed);
  D.MouseDown(*Ctl, 30, 10);
  ASSERT_NE(List(), nullptr);
  // The release on the face chooses nothing; a drag on to a row chooses that row.
  D.MouseUp(*Ctl, 30, 10);
  EXPECT_NE(List(), nullptr);
  Ctl->SetDroppedDown(false);
  D.MouseDown(*Ctl, 30, 10);
  TControl& View = *List()->GetControls(0);
  D.MouseMove(View, 10, List()->GetItemHeight() * 2 + 3);
  D.MouseUp(View, 10, List()->GetItemHeight() * 2 + 3);
  EXPECT_EQ(List(), nullptr);
  EXPECT_EQ(Ctl->GetItemIndex(), 2);
}

TEST_F(ComboBoxTest, ClosedListStylesStepWithKeysTypeAheadAndTheWheel) {
  Style(csDropDownList);
  Ctl->SetItemIndex(0);
  const std::pair<std::function<void()>, int> Cases[] = {
      {[&] { D.Press(*Form, vk::Down); }, 1},  {[&] { D.Press(*Form, vk::End); }, 11},
      {[&] { D.Press(*Form, vk::Up); }, 10},   {[&] { D.Press(*Form, vk::Prior); }, 3},
      {[&] { D.Press(*Form, vk::Next); }, 10}, {[&] { D.Press(*Form, vk::Home); }, 0},
      {[&] { D.Type(*Form, "c"); }, 3},        {[&] { D.Type(*Form, "k"); }, 8},
      {[&] { D.Wheel(*Ctl, 5, 5, -120); }, 9}, {[&] { D.Wheel(*Ctl, 5, 5, 120); }, 8},
  };
  for (const auto& [Act, Index] : Cases) {
    Log.clear();
    D.AdvanceTime(2000);
    Act();
    EXPECT_EQ(Ctl->GetItemIndex(), Index);
    EXPECT_EQ(Log, "click select change ");
  }
  // Home at the top changes nothing and fires nothing.
  D.Press(*Form, vk::Home);
  Log.clear();
  D.Press(*Form, vk::Home);
  EXPECT_EQ(Log, "");
}

TEST_F(ComboBoxTest, EnterReachesTheDefaultButtonOrOnKeyPressOnlyWhileClosed) {
  Style(csDropDown);
  std::vector<char32_t> Pressed;
  Ctl->OnKeyPress = [&](TObject*, char32_t& K) { Pressed.push_back(K); };
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(Pressed, std::vector<char32_t>{U'\r'});
  D.Press(*Form, vk::F4);
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(Pressed.size(), 1u);
  auto* Ok = new TButton(Form);
  Ok->SetParent(Form);
  Ok->SetDefault(true);
  int OkClicks = 0;
  Ok->OnClick = [&](TObject*) { ++OkClicks; };
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(OkClicks, 1);
  EXPECT_EQ(D.Host().GetBeepCount(), 0);
}

TEST_F(ComboBoxTest, TypingChangesOncePerEditAndCompletes) {
  Style(csDropDown);
  const struct {
    const char* Typed;
    bool AutoComplete;
    const char* Text;
    int SelLength;
    int Index;
  } Cases[] = {
      {"b", true, "banana", 5, 1},  {"blu", true, "blueberry", 6, 2}, {"ch", false, "ch", 0, -1},
      {"Nut", false, "Nut", 0, 11}, {"x", true, "x", 0, -1},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Typed);
    Ctl->SetText("");
    Ctl->SetAutoComplete(C.AutoComplete);
    Log.clear();
    D.Type(*Form, C.Typed);
    EXPECT_EQ(Ctl->GetText(), C.Text);
    EXPECT_EQ(Ctl->GetSelLength(), C.SelLength);
    EXPECT_EQ(Ctl->GetItemIndex(), C.Index);
    std::string Changes;
    for (std::size_t I = 0; I < std::string(C.Typed).size(); ++I) Changes += "change ";
    EXPECT_EQ(Log, Changes);
  }
  // Backspace removes the completed tail and completes nothing.
  Ctl->SetAutoComplete(true);
  Ctl->SetText("");
  D.Type(*Form, "ch");
  D.Press(*Form, vk::Back);
  EXPECT_EQ(Ctl->GetText(), "ch");
  EXPECT_EQ(Ctl->GetItemIndex(), -1);
  // Up and Down step through the items and select the edit text.
  Log.clear();
  D.Press(*Form, vk::Down);
  EXPECT_EQ(Ctl->GetText(), "apple");
  EXPECT_EQ(Ctl->GetSelLength(), 5);
  EXPECT_EQ(Log, "click select change ");
}

TEST_F(ComboBoxTest, SimpleStyleChoosesFromTheListBelowItsEdit) {
  Ctl->SetBounds(20, 20, 145, 150);
  Style(csSimple);
  auto* Rows = dynamic_cast<TListBox*>(Ctl->GetControls(1));
  ASSERT_NE(Rows, nullptr);
  D.Click(*Rows, 20, Rows->ItemRect(3).Top + 3);
  EXPECT_EQ(Ctl->GetText(), "cherry");
  EXPECT_TRUE(Ctl->GetEditPart()->Focused());
  EXPECT_EQ(Log, "click select change ");
  D.Type(*Form, "x");
  EXPECT_EQ(Ctl->GetItemIndex(), -1);
  EXPECT_EQ(Rows->GetItemIndex(), -1);
}

TEST_F(ComboBoxTest, SizesAndTheListsPlace) {
  // The drop-down styles fit the 25-pixel rows of a dialog's grid.
  EXPECT_LE(Ctl->GetHeight(), 25);
  Ctl->SetHeight(60);
  EXPECT_EQ(Ctl->GetHeight(), Ctl->GetItemHeight() + 6);
  // csSimple takes the height asked for while another style was set.
  Ctl->SetStyle(csSimple);
  EXPECT_EQ(Ctl->GetHeight(), 60);
  Ctl->SetHeight(120);
  EXPECT_EQ(Ctl->GetHeight(), 120);
  Ctl->SetStyle(csOwnerDrawFixed);
  Ctl->SetItemHeight(30);
  EXPECT_EQ(Ctl->GetHeight(), 36);
  const std::pair<int, int> Counts[] = {{0, 1}, {500, 100}, {5, 5}, {8, 8}};
  for (auto [Asked, Kept] : Counts) {
    Ctl->SetDropDownCount(Asked);
    EXPECT_EQ(Ctl->GetDropDownCount(), Kept);
  }
  Ctl->SetDroppedDown(true);
  const TRect C = ScreenBoundsOf(*Ctl);
  EXPECT_EQ(List()->GetBoundsRect(), Rect(C.Left, C.Bottom, C.Right, C.Bottom + 8 * 30 + 2));
  Ctl->SetDroppedDown(false);
  // Empty: one empty row. Near the screen's bottom: above the control.
  Ctl->GetItems()->Clear();
  Form->SetTop(D.Host().ScreenSize().cy - 60);
  D.Settle();
  Ctl->SetDroppedDown(true);
  ASSERT_NE(List(), nullptr);
  EXPECT_EQ(List()->GetHeight(), 32);
  EXPECT_EQ(List()->GetBoundsRect().Bottom, ScreenBoundsOf(*Ctl).Top);
}

TEST_F(ComboBoxTest, ADialogInDropDownEndsThePressAndAGoneBoxOpensNothing) {
  Style(csOwnerDrawFixed);
  bool Dialog = true;
  Ctl->OnDropDown = [&](TObject*) {
    if (!Dialog) return;
    auto* Dlg = new TForm(Form);
    Dlg->ShowModal();
    delete Dlg;
  };
  D.MouseDown(*Ctl, 30, 10);
  ASSERT_NE(List(), nullptr);
  TControl& View = *List()->GetControls(0);
  D.MouseMove(View, 10, 3);
  D.MouseUp(View, 10, 3);
  EXPECT_NE(List(), nullptr);
  EXPECT_EQ(Ctl->GetItemIndex(), -1);
  Ctl->SetDroppedDown(false);
  const std::function<void()> Gone[] = {[&] { Ctl->SetEnabled(false); }, [&] { Ctl->Hide(); }};
  for (const auto& Act : Gone) {
    Ctl->OnDropDown = [&](TObject*) { Act(); };
    Ctl->SetDroppedDown(true);
    EXPECT_TRUE(Application->GetPopups().empty());
    Ctl->SetEnabled(true);
    Ctl->Show();
  }
  Ctl->OnDropDown = [&](TObject*) { delete Ctl; };
  D.Press(*Form, vk::F4);
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(ComboBoxTest, HandlersMayFreeTheBox) {
  using TPick = TNotifyEvent& (*)(TComboBox&);
  const TPick Events[] = {[](TComboBox& B) -> TNotifyEvent& { return B.OnClick; },
                          [](TComboBox& B) -> TNotifyEvent& { return B.OnSelect; },
                          [](TComboBox& B) -> TNotifyEvent& { return B.OnChange; },
                          [](TComboBox& B) -> TNotifyEvent& { return B.OnCloseUp; }};
  for (TPick Event : Events) {
    Ctl->SetFocus();
    Event(*Ctl) = [this](TObject*) { delete Ctl; };
    D.Press(*Form, vk::F4);
    ClickRow(Ctl->GetItemIndex() + 1);
    EXPECT_EQ(Form->GetControlCount(), 0);
    EXPECT_TRUE(Application->GetPopups().empty());
    Ctl = new TComboBox(Form);
    Ctl->SetParent(Form);
    Ctl->GetItems()->Add("one");
    Ctl->GetItems()->Add("two");
  }
}

// --- The owner-draw contract ----------------------------------------------------------------

class OwnerDrawTest : public ComboBoxTest {
protected:
  struct TCall {
    int Index;
    TOwnerDrawState State;
    TColor Brush, Font, Pen;
    bool OnList;
  };
  std::vector<TCall> Calls;
  void SetUp() override {
    ComboBoxTest::SetUp();
    Style(csOwnerDrawFixed);
    Ctl->SetColor(0x00C0FFFF);
    Ctl->GetFont().SetColor(0x00400000);
    Ctl->OnDrawItem = [this](TWinControl*, int I, const TRect& R, TOwnerDrawState S) {
      TCanvas& C = *Ctl->GetCanvas();
      Calls.push_back({I, S, C.GetBrush().GetColor(), C.GetFont().GetColor(), C.GetPen().GetColor(),
                       &C != static_cast<TControl&>(*Ctl).GetCanvas()});
      // A bar in the pen's colour, and a pen that the next row starts with.
      C.MoveTo(R.Left + 2, R.Top + 1);
      C.LineTo(R.Left + 2, R.Bottom - 1);
      C.GetPen().SetColor(clRed);
    };
  }
};

TEST_F(OwnerDrawTest, RowsAndFaceComePrefilledAndDrawWhereTheyShow) {
  // No selection: the face is filled and nothing is drawn.
  Ctl->SetItemIndex(-1);
  D.Settle();
  Calls.clear();
  Ctl->Repaint();
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(PixelAt(Ctl->FaceRect().Left + 5, 10), ColorToRGB(clHighlight));
  Ctl->SetItemIndex(1);
  D.Settle();
  ASSERT_FALSE(Calls.empty());
  const TCall Face = Calls.back();
  EXPECT_EQ(Face.State, odComboBoxEdit | odSelected | odFocused);
  EXPECT_EQ(Face.Brush, clHighlight);
  EXPECT_EQ(Face.Font, clHighlightText);
  EXPECT_EQ(Face.Pen, clBlack);
  EXPECT_FALSE(Face.OnList);
  Calls.clear();
  D.Press(*Form, vk::F4);
  D.Settle();
  std::erase_if(Calls, [](const TCall& C) { return !C.OnList; });
  ASSERT_EQ(Calls.size(), 8u);
  for (const TCall& C : Calls) {
    SCOPED_TRACE(C.Index);
    const bool Sel = C.Index == 1;
    EXPECT_TRUE(C.OnList);
    EXPECT_EQ(C.State, Sel ? odSelected | odFocused : 0u);
    EXPECT_EQ(C.Brush, Sel ? clHighlight : TColor(0x00C0FFFF));
    EXPECT_EQ(C.Font, Sel ? clHighlightText : TColor(0x00400000));
    EXPECT_EQ(C.Pen, C.Index == 0 ? clBlack : clRed);
  }
  // Row 2's bar and fill, in the list's client coordinates (inside its 1-pixel frame).
  const TBitmap Shot = D.Capture(*List());
  const int H = Ctl->GetItemHeight();
  EXPECT_EQ(PixelOf(Shot, 1 + 2, 1 + 2 * H + 3), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(Shot, 1 + 8, 1 + 2 * H + 3), TColor(0x00C0FFFF));
  // The face of a disabled box: odDisabled, unfocused, in the chosen colours.
  Ctl->SetDroppedDown(false);
  D.Settle();
  Ctl->SetEnabled(false);
  D.Settle();
  EXPECT_EQ(Calls.back().State, odComboBoxEdit | odDisabled);
  EXPECT_EQ(Calls.back().Brush, TColor(0x00C0FFFF));
}

TEST_F(OwnerDrawTest, MovesOverTheArrowButtonReachMouseMove) {
  std::vector<int> Xs;
  Ctl->OnMouseMove = [&](TObject*, TShiftState, int X, int) { Xs.push_back(X); };
  const int InButton = Ctl->ButtonRect().Left + 4;
  D.MouseMove(*Ctl, 1, 5);
  D.MouseMove(*Ctl, InButton, 5);
  EXPECT_EQ(Xs, (std::vector<int>{1, InButton}));
}

TEST_F(ComboBoxTest, AListDestroyedWhileOpenIsForgotten) {
  // At the program's end the open list goes before the form that holds the box.
  Style(csOwnerDrawFixed);
  Ctl->SetDroppedDown(true);
  ASSERT_NE(List(), nullptr);
  delete List();
  EXPECT_FALSE(Ctl->GetDroppedDown());
  Ctl->SetDroppedDown(true);  // a new list
  EXPECT_NE(List(), nullptr);
  delete Ctl;
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(ComboBoxTest, LooksOfEveryStyle) {
  Form->SetBounds(0, 0, 340, 200);
  const TComboBoxStyle Styles[] = {csDropDown, csDropDownList, csOwnerDrawFixed, csSimple};
  std::vector<TComboBox*> Boxes;
  for (int I = 0; I < 4; ++I) {
    auto* B = new TComboBox(Form);
    B->SetParent(Form);
    B->SetStyle(Styles[I]);
    B->SetBounds(10 + (I / 2) * 160, 10 + (I % 2) * 30, 145, 90);
    B->GetItems()->Assign(Ctl->GetItems());
    B->SetItemIndex(I + 1);
    Boxes.push_back(B);
  }
  // Colour bars drawn over the prefilled row, text beside them.
  TComboBox* Owner = Boxes[2];
  Owner->OnDrawItem = [Owner](TWinControl*, int I, const TRect& R, TOwnerDrawState) {
    TCanvas& C = *Owner->GetCanvas();
    const TColor Old = C.GetBrush().GetColor();
    C.GetBrush().SetColor(TColor(0x3060C0 * (I + 1)) & 0xFFFFFF);
    C.Rectangle(R.Left + 2, R.Top + 2, R.Left + 30, R.Bottom - 2);
    C.GetBrush().SetColor(Old);
    C.TextOut(R.Left + 34, R.Top + 1, Owner->GetItems()->GetStrings(I));
  };
  Ctl->SetBounds(170, 150, 145, 21);
  Ctl->SetEnabled(false);
  Ctl->SetItemIndex(0);
  Boxes[1]->SetFocus();
  Boxes[1]->SetDroppedDown(true);
  const TBitmap Screen = D.CaptureScreen();
  TBitmap Shot;
  Shot.SetSize(340, 200);
  Shot.GetCanvas()->Draw(0, 0, Screen);
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/combobox_styles.png"));
  Boxes[1]->SetDroppedDown(false);
  Boxes[2]->SetFocus();
  Boxes[2]->SetDroppedDown(true);
  D.Settle();
  EXPECT_TRUE(
      MatchesGolden(D.Capture(*Boxes[2]->GetDropDownList()), "testdata/combobox_ownerdraw.png"));
}

}  // namespace
}  // namespace kvl
