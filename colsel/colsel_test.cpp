// The colour selector: slots and palettes, the selection by colour, names through the event,
// the keyboard and the mouse with the colour dialog, and the pixels of each row.
#include "kvl/colsel/colsel.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class ColSelTest : public TControlTest<TColSel> {
protected:
  std::string Log;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(20, 20, 180, 21);
    Ctl->OnClick = [this](TObject*) { Log += "click "; };
    Ctl->OnChange = [this](TObject*) { Log += "change "; };
    Form->Show();
  }
  TDropDownList* List() { return Ctl->GetDropDownList(); }
  // Answers the next colour dialog: "#RRGGBB" typed into its hex field and confirmed, or
  // cancelled when Hex is empty.
  void AnswerDialog(std::string Hex) {
    D.WhenModal([this, Hex](TCustomForm& F) {
      Log += "dialog ";
      if (Hex.empty()) {
        D.Press(F, vk::Escape);
        return;
      }
      auto& E = dynamic_cast<TEdit&>(*F.FindComponent("Hex"));
      E.SetFocus();
      E.SelectAll();
      D.Type(F, Hex + "\n");
    });
  }
  // The leftmost column of [From, To) with a pixel in rows [Top, Bottom) unlike Bg, else -1.
  int FirstInk(const TBitmap& Shot, int From, int To, int Top, int Bottom, TColor Bg) {
    for (int X = From; X < To; ++X)
      for (int Y = Top; Y < Bottom; ++Y)
        if (PixelOf(Shot, X, Y) != ColorToRGB(Bg)) return X;
    return -1;
  }
};

TEST_F(ColSelTest, DefaultsAndEachPalette) {
  EXPECT_EQ(Ctl->GetSelColor(), clBlack);
  EXPECT_EQ(Ctl->GetColor(), clWindow);
  struct TCase {
    std::function<void()> Load;
    int Count;
    TColor First, Last;
    const char *FirstName, *LastName;
  };
  const TCase Cases[] = {
      {[this] { Ctl->LoadBasicVGAPalette(); }, 16, clBlack, clWhite, "clBlack", "clWhite"},
      {[this] { Ctl->LoadExtendedPalette(); }, 20, clBlack, clMedGray, "clBlack", "clMedGray"},
      {[this] { Ctl->LoadWindowsSystemPalette(); }, 27, clScrollBar, clGradientActiveCaption,
       "clScrollBar", "clGradientActiveCaption"},
      {[this] { Ctl->LoadStandardPalette(); }, 47, clBlack, clGradientActiveCaption, "clBlack",
       "clGradientActiveCaption"}};
  for (const TCase& C : Cases) {
    Ctl->SetItemIndex(-1);
    C.Load();
    EXPECT_EQ(Ctl->GetItems()->GetCount(), C.Count);
    EXPECT_EQ(Ctl->GetItemIndex(), 0);
    EXPECT_EQ(Ctl->GetColors(1), C.First);
    EXPECT_EQ(Ctl->GetColors(C.Count), C.Last);
    EXPECT_EQ(Ctl->GetColorNames(1), C.FirstName);
    EXPECT_EQ(Ctl->GetItems()->GetStrings(C.Count - 1), C.LastName);
  }
}

TEST_F(ColSelTest, TheListFillsOnLoadingOrACountAndFollowsTheSlot) {
  EXPECT_EQ(Ctl->GetItems()->GetCount(), 0);
  EXPECT_EQ(Ctl->GetSelColorID(), "");
  Ctl->BeginLoading();
  Ctl->SetColorNames(3, "third");
  Ctl->EndLoading();
  ASSERT_EQ(Ctl->GetItems()->GetCount(), 20);
  EXPECT_EQ(Ctl->GetItems()->GetStrings(2), "third");
  Ctl->SetSelColor(clGreen);
  EXPECT_EQ(Ctl->GetItemIndex(), 2);
  EXPECT_EQ(Ctl->GetSelColorID(), "clGreen");  // renewed from the colour
  // Ignored counts; an accepted one (also an equal one) selects slot 1.
  for (int N : {0, 48, INT_MIN, INT_MAX}) Ctl->SetNumColors(N);
  EXPECT_EQ(Ctl->GetItemIndex(), 2);
  Ctl->SetNumColors(5);
  EXPECT_EQ(Ctl->GetItems()->GetCount(), 5);
  EXPECT_EQ(Ctl->GetItemIndex(), 0);
}

TEST_F(ColSelTest, IndexedSlotsOutsideTheCountReadEmptyAndIgnoreWrites) {
  Ctl->SetNumColors(20);
  for (int I : {-1, 0, 21, 48}) {
    Ctl->SetColors(I, clRed);
    Ctl->SetColorNames(I, "x");
    Ctl->SetColorEditAllowed(I, true);
    EXPECT_EQ(Ctl->GetColors(I), 0u) << I;
    EXPECT_EQ(Ctl->GetColorNames(I), "") << I;
    EXPECT_FALSE(Ctl->GetColorEditAllowed(I)) << I;
  }
  for (int I : {1, 20}) {
    Ctl->SetColors(I, 0x00123456);
    Ctl->SetColorEditAllowed(I, true);
    EXPECT_EQ(Ctl->GetItems()->GetStrings(I - 1), "0x00123456");
    EXPECT_TRUE(Ctl->GetColorEditAllowed(I));
  }
  Ctl->ResetAllColorEditFlags();
  EXPECT_FALSE(Ctl->GetColorEditAllowed(20));
}

TEST_F(ColSelTest, SelColorFindsTheFirstEqualRGBOrOverwritesTheSelectedSlot) {
  Ctl->LoadStandardPalette();
  Ctl->SetSelColor(clBtnFace);  // clMenu (slot 25) draws with the same RGB
  EXPECT_EQ(Ctl->GetSelColorIx(), 25);
  EXPECT_EQ(Ctl->GetSelColor(), clMenu);
  Ctl->SetSelColor(0x7F0000FF);  // the stray high byte does not hide clRed
  EXPECT_EQ(Ctl->GetSelColorIx(), 10);
  Ctl->SetColors(12, clRed);
  Ctl->SetSelColor(clRed);
  EXPECT_EQ(Ctl->GetSelColorIx(), 10);
  Ctl->SetSelColor(0x7F123456);  // unlisted: stored as given, named by its RGB
  EXPECT_EQ(Ctl->GetColors(10), 0x7F123456u);
  EXPECT_EQ(Ctl->GetText(), "0x00123456");
  EXPECT_EQ(Log, "");
}

TEST_F(ColSelTest, OnColorNameChangeSeesAndMayReplaceEveryMadeName) {
  std::vector<std::string> Seen;
  Ctl->OnColorNameChange = [&](TObject* S, std::string& Name) {
    EXPECT_EQ(S, Ctl);
    Seen.push_back(Name);
    Name = Name == "clNavy" ? "" : "my " + Name;
  };
  Ctl->LoadBasicVGAPalette();
  ASSERT_EQ(Seen.size(), 16u);
  EXPECT_EQ(Seen[4], "clNavy");
  EXPECT_EQ(Ctl->GetColorNames(5), "");
  EXPECT_EQ(Ctl->GetItems()->GetStrings(15), "my clWhite");
  Ctl->SetColorNames(2, "mine");  // written names skip the event
  Ctl->SetSelColor(clLime);
  EXPECT_EQ(Seen.size(), 17u);
  EXPECT_EQ(Ctl->GetSelColorID(), "my clLime");
}

TEST_F(ColSelTest, KeysChangeTheSlotThroughClick) {
  Ctl->LoadExtendedPalette();
  Ctl->SetFocus();
  D.Press(*Form, vk::Down);
  EXPECT_EQ(Log, "click change ");
  EXPECT_EQ(Ctl->GetSelColorIx(), 2);
  EXPECT_EQ(Ctl->GetSelColor(), clMaroon);
  D.Press(*Form, vk::End);
  EXPECT_EQ(Ctl->GetSelColorID(), "clMedGray");
}

TEST_F(ColSelTest, MouseOpensTheListAndTheDialogOnlyOverAnEditableBar) {
  Ctl->LoadStandardPalette();
  D.Click(*Ctl, 100, 10);
  ASSERT_NE(List(), nullptr);
  TControl& View = *List()->GetControls(0);
  D.Click(View, 60, 2 * List()->GetItemHeight() + 3);
  EXPECT_EQ(Ctl->GetSelColorIx(), 3);
  EXPECT_EQ(Log, "click change ");

  int Modals = 0;
  const auto Was = Application->OnModalShown;
  Application->OnModalShown = [&](TCustomForm& F) {
    ++Modals;
    Was(F);
  };
  std::vector<std::string> Names;
  Ctl->OnColorNameChange = [&](TObject*, std::string& N) { Names.push_back(N); };
  Ctl->SetColorEditAllowed(3, true);
  struct TCase {
    int X;
    bool Editable;
    std::string Hex;
    int Dialogs;
    TColor Want;
  };
  const TCase Cases[] = {{30, false, "", 0, clGreen},                      // not editable
                         {Ctl->GetColorBarWidth(), true, "", 0, clGreen},  // right of the bar
                         {10, true, "", 1, clGreen},                       // cancelled
                         {29, true, "#563412", 1, 0x00123456}};
  for (const TCase& C : Cases) {
    Ctl->SetColorEditAllowed(3, C.Editable);
    if (C.Dialogs) AnswerDialog(C.Hex);
    Modals = 0;
    D.Click(*Ctl, C.X, 10);
    EXPECT_EQ(Ctl->GetMouseAreaCode(), C.X < Ctl->GetColorBarWidth() ? 1 : 0);
    EXPECT_EQ(Modals, C.Dialogs) << C.X;
    EXPECT_EQ(Ctl->GetColors(3), C.Want) << C.X;
    EXPECT_NE(List(), nullptr) << C.X;  // the list opens afterwards
    Ctl->SetDroppedDown(false);
  }
  EXPECT_EQ(Names, std::vector<std::string>{"0x00123456"});
  EXPECT_EQ(Ctl->GetSelColorID(), "0x00123456");
  Application->OnModalShown = Was;
}

TEST_F(ColSelTest, RowPixelsFollowTheBarMarkAndNameRules) {
  Ctl->LoadBasicVGAPalette();
  const TRect F = Ctl->FaceRect();
  const int L = F.Left, T = F.Top, B = F.Bottom;
  const auto Shot = [&](int Slot, bool Editable, int Width) {
    Ctl->SetColorEditAllowed(Slot, Editable);
    Ctl->SetColorBarWidth(Width);
    Ctl->SetSelColor(Ctl->GetColors(Slot));
    return D.Capture(*Ctl);
  };
  const TBitmap Bar = Shot(12, false, 30);  // clYellow, no mark
  const int R = L + 3 + 30 - 1;
  for (auto [X, Y] : {std::pair{L + 3, T + 2}, {R, T + 2}, {L + 3, B - 3}, {R, B - 3}})
    EXPECT_EQ(PixelOf(Bar, X, Y), clBlack) << X << "," << Y;
  EXPECT_EQ(PixelOf(Bar, L + 5, T + 6), clYellow);
  EXPECT_EQ(PixelOf(Bar, R + 1, T + 6), clWhite);
  EXPECT_NEAR(FirstInk(Bar, L + 34, F.Right, T + 1, B - 1, clWindow), L + 37, 1);
  // The mark's pen by brightness; none on a bar of 11 or less.
  const struct {
    int Slot, Width;
    TColor Mark;
  } Marks[] = {{12, 30, clBlack}, {5, 30, clWhite}, {12, 12, clBlack}, {12, 11, clYellow}};
  for (const auto& M : Marks) {
    const TBitmap S = Shot(M.Slot, true, M.Width);
    for (auto [X, Y] : {std::pair{L + 5, T + 5}, {L + 6, B - 5}, {L + 11, T + 8}, {L + 9, T + 5}})
      EXPECT_EQ(PixelOf(S, X, Y), M.Mark) << M.Slot << " " << M.Width << " " << X << "," << Y;
  }
  // Names only: the text starts 6 pixels in, nothing left of it in the text's cell (the
  // focused face keeps its highlight left of that cell and its focus rectangle round it).
  EXPECT_NEAR(FirstInk(Shot(12, true, 0), L + 3, F.Right, T + 1, B - 1, clWindow), L + 7, 1);
  // Disabled: a grey spill round a grey-outlined bar, grey text on grey.
  Ctl->SetEnabled(false);
  const TBitmap Off = Shot(12, true, 30);
  EXPECT_EQ(PixelOf(Off, L, T), 0xC0C0C0u);
  EXPECT_EQ(PixelOf(Off, L + 3, T + 2), 0x808080u);
  EXPECT_EQ(PixelOf(Off, L + 5, T + 5), 0xC0C0C0u);  // no mark
  EXPECT_EQ(PixelOf(Off, F.Right - 2, T + 2), 0xC0C0C0u);
  // The pen is black again for the next enabled row.
  Ctl->SetEnabled(true);
  EXPECT_EQ(PixelOf(Shot(12, false, 30), L + 3, T + 2), clBlack);
}

TEST_F(ColSelTest, ExtremeBarWidthsAndAssign) {
  Ctl->LoadStandardPalette();
  for (int W : {INT_MAX, INT_MIN, 1000, 0}) {
    Ctl->SetColorBarWidth(W);
    Ctl->SetDroppedDown(true);
    D.Capture(*List());
    Ctl->SetDroppedDown(false);
  }
  EXPECT_EQ(Ctl->GetColorBarWidth(), 0);
  Ctl->SetColorBarWidth(INT_MAX);
  EXPECT_EQ(Ctl->GetColorBarWidth(), INT_MAX);

  Ctl->SetColorBarWidth(14);
  Ctl->SetColors(4, 0x00010203);
  Ctl->SetColorEditAllowed(4, true);
  Ctl->SetSelColor(clTeal);
  auto* Copy = new TColSel(Form);
  Copy->Assign(Ctl);
  EXPECT_EQ(Copy->GetColorBarWidth(), 14);
  EXPECT_EQ(Copy->GetColorNames(4), "0x00010203");
  EXPECT_TRUE(Copy->GetColorEditAllowed(4));
  EXPECT_EQ(Copy->GetItems()->GetCount(), 47);
  EXPECT_EQ(Copy->GetSelColorID(), "clTeal");
  EXPECT_NE(Copy->GetBoundsRect(), Ctl->GetBoundsRect());
  TEdit Other(nullptr);
  EXPECT_THROW(Copy->Assign(&Other), EConvertError);
}

TEST_F(ColSelTest, LooksOfTheOpenListAndTheDisabledFace) {
  Form->SetBounds(0, 0, 420, 120);
  Ctl->SetDropDownCount(47);
  Ctl->LoadStandardPalette();
  for (int S : {2, 12, 16, 36}) Ctl->SetColorEditAllowed(S, true);
  Ctl->SetSelColor(clYellow);
  auto* Off = new TColSel(Form);
  Off->SetParent(Form);
  Off->SetBounds(220, 20, 180, 21);
  Off->LoadExtendedPalette();
  Off->SetColorEditAllowed(1, true);
  Off->SetEnabled(false);
  Ctl->SetFocus();
  Ctl->SetDroppedDown(true);
  D.Settle();
  ASSERT_NE(List(), nullptr);
  TBitmap Shot;
  Shot.SetSize(420, List()->GetBoundsRect().Bottom);
  Shot.GetCanvas()->Draw(0, 0, D.CaptureScreen());
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/open_standard.png"));
}

}  // namespace
}  // namespace kvl
