// The drop-down list below an edit: place, highlight, keys, mouse and the rows it shows.
#include "kvl/platform/dropdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class DropDownTest : public ::testing::Test {
protected:
  TDriver D;
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TDropDownList* List = nullptr;
  std::vector<int> Chosen;

  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 300, 200);
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(20, 20, 150, 24);
    List = new TDropDownList(Form);
    for (int I = 0; I < 20; ++I) List->GetItems().Add("Item " + std::to_string(I));
    List->SetDropDownRows(5);
    List->OnChoose = [this](TObject*, int I) {
      EXPECT_FALSE(List->IsOpen());
      Chosen.push_back(I);
    };
    Form->Show();
    Edit->SetFocus();
  }
  void TearDown() override { delete Form; }
  void Open(const std::string& Text = "item 7") { ASSERT_TRUE(List->DropDown(*Edit, Text)); }
};

TEST_F(DropDownTest, PlacedBelowOrAboveAsWideAsTheOwnerWithABar) {
  Open();
  const TRect E = ScreenBoundsOf(*Edit);
  const int H = 5 * List->GetItemHeight() + 2;
  EXPECT_EQ(List->GetBoundsRect(), Rect(E.Left, E.Bottom, E.Right, E.Bottom + H));
  const auto* W = D.Host().Window(List->GetWindow());
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->Request.Kind, TWindowKind::DropDown);
  EXPECT_TRUE(W->Grab);
  EXPECT_EQ(List->GetItemIndex(), 7);
  EXPECT_TRUE(List->GetTopIndex() <= 7 && 7 < List->GetTopIndex() + 5);
  EXPECT_TRUE(Edit->Focused());
  // Rows: clamped, applied at once; the bar goes when everything fits.
  const std::pair<int, int> Rows[] = {{0, 1}, {-1, 1}, {1000000, 20}, {3, 3}};
  for (auto [Asked, Shown] : Rows) {
    List->SetDropDownRows(Asked);
    EXPECT_EQ(List->GetHeight(), Shown * List->GetItemHeight() + 2) << Asked;
  }
  EXPECT_EQ(List->GetDropDownRows(), 3);
  List->CloseUp();
  // At the bottom of the screen: above the owner.
  Form->SetBounds(100, D.Host().ScreenSize().cy - 80, 300, 70);
  D.Settle();
  Open();
  EXPECT_EQ(List->GetBoundsRect().Bottom, ScreenBoundsOf(*Edit).Top);
  // Nothing to show: nothing opens.
  List->CloseUp();
  List->GetItems().Clear();
  EXPECT_FALSE(List->DropDown(*Edit, ""));
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(DropDownTest, KeysMoveTheHighlightChooseCloseOrGoBackToTheOwner) {
  struct TCase {
    std::vector<std::uint16_t> Keys;
    int Highlight;
    std::vector<int> Chosen;
  };
  const TCase Cases[] = {{{vk::Down, vk::Down}, 9, {}},
                         {{vk::Up}, 6, {}},
                         {{vk::Next}, 11, {}},
                         {{vk::Prior, vk::Prior, vk::Prior}, 0, {}},
                         {{vk::Down, vk::Return}, -2, {8}},
                         {{vk::Down, vk::Escape}, -2, {}}};
  for (const TCase& C : Cases) {
    Chosen.clear();
    Open();
    for (std::uint16_t K : C.Keys) D.Press(*Form, K);
    if (C.Highlight == -2) {
      EXPECT_FALSE(List->IsOpen());
    } else {
      EXPECT_EQ(List->GetItemIndex(), C.Highlight);
      List->CloseUp();
    }
    EXPECT_EQ(Chosen, C.Chosen);
  }
  // Characters and editing keys reach the owner; the list stays open.
  Edit->SetText("ab");
  Open();
  D.Type(*Form, "cd");
  D.Press(*Form, vk::Back);
  D.Press(*Form, vk::Home);
  D.Type(*Form, "x");
  EXPECT_EQ(Edit->GetText(), "xcab");  // typed at the caret, which a new text puts first
  EXPECT_TRUE(List->IsOpen());
  EXPECT_EQ(List->GetItemIndex(), 7);
}

TEST_F(DropDownTest, MouseWheelClickAndOutsidePress) {
  Open();
  D.Wheel(*List, 10, 10, -240);
  EXPECT_EQ(List->GetItemIndex(), 9);
  D.Wheel(*Edit, 5, 5, 120);  // over the owner: the open list still takes it
  EXPECT_EQ(List->GetItemIndex(), 8);
  const int Row = 2;
  const int Y = 1 + Row * List->GetItemHeight() + 3;
  D.Click(*List, 20, Y);
  EXPECT_EQ(Chosen, std::vector<int>{List->GetTopIndex() + Row});
  // An outside press closes it and goes nowhere.
  int Downs = 0;
  Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
  Open();
  D.Click(*Form, 250, 150);
  EXPECT_FALSE(List->IsOpen());
  EXPECT_EQ(Downs, 0);
  D.Click(*Form, 250, 150);
  EXPECT_EQ(Downs, 1);
  // A bar press scrolls without choosing.
  Open("Item 0");
  D.Click(*List, List->GetWidth() - 8, List->GetHeight() - 8);
  EXPECT_EQ(List->GetTopIndex(), 1);
  EXPECT_TRUE(List->IsOpen());
}

TEST_F(DropDownTest, LooksAsReviewed) {
  Edit->SetText("Item 3");
  Open("ITEM 3");
  TBitmap Screen = D.CaptureScreen();
  TBitmap Shot;
  Shot.SetSize(180, 140);
  Shot.GetCanvas()->CopyRect(Rect(0, 0, 180, 140), *Screen.GetCanvas(), Rect(110, 110, 290, 250));
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/dropdown_open.png"));
}

}  // namespace
}  // namespace kvl
