// Scroll boxes: scrolling moves the children, the focus brings a hidden child into view, the
// ranges follow the children, and the wheel scrolls (with Shift sideways).
#include "kvl/platform/scrollbox.h"

#include <gtest/gtest.h>

#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class ScrollBoxTest : public TControlTest<TScrollBox> {
protected:
  TEdit* Edits[3] = {};
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 200, 120);
    const TPoint At[3] = {{5, 5}, {5, 300}, {400, 20}};
    for (int I = 0; I < 3; ++I) {
      Edits[I] = new TEdit(Form);
      Edits[I]->SetParent(Ctl);
      Edits[I]->SetBounds(At[I].X, At[I].Y, 100, 21);
    }
    Form->Show();
  }
};

TEST_F(ScrollBoxTest, ScrollingMovesChildrenAndFocusScrollsIntoView) {
  TControlScrollBar& V = *Ctl->GetVertScrollBar();
  TControlScrollBar& H = *Ctl->GetHorzScrollBar();
  EXPECT_EQ(V.GetRange(), 321);
  EXPECT_EQ(H.GetRange(), 500);
  EXPECT_TRUE(V.IsScrollBarVisible());
  EXPECT_TRUE(H.IsScrollBarVisible());
  const int ClientH = Ctl->GetClientHeight();
  EXPECT_EQ(ClientH, 120 - 4 - TScrollBarPart::Thickness);
  V.SetPosition(50);
  EXPECT_EQ(Edits[0]->GetTop(), -45);
  EXPECT_EQ(Edits[1]->GetTop(), 250);
  V.SetPosition(100000);  // clamped to what the content needs
  EXPECT_EQ(V.GetPosition(), 321 - ClientH);
  // Tab into a child out of view scrolls it in, its top-left first.
  V.SetPosition(0);
  Edits[0]->SetFocus();
  D.Press(*Form, vk::Tab);
  ASSERT_TRUE(Edits[1]->Focused());
  EXPECT_EQ(Edits[1]->GetTop() + 21, ClientH);
  D.Press(*Form, vk::Tab);
  EXPECT_GE(Edits[2]->GetLeft(), 0);
  EXPECT_LE(Edits[2]->GetLeft() + 100, Ctl->GetClientWidth());
  // The wheel: three increments a notch, sideways with Shift.
  V.SetPosition(0);
  H.SetPosition(0);
  D.Wheel(*Ctl, 50, 50, -120);
  EXPECT_EQ(V.GetPosition(), 24);
  D.KeyDown(*Form, vk::Shift);
  D.Wheel(*Ctl, 50, 50, -240);
  D.KeyUp(*Form, vk::Shift);
  EXPECT_EQ(H.GetPosition(), 48);
  EXPECT_EQ(Edits[2]->GetLeft(), 400 - 48);
}

TEST_F(ScrollBoxTest, RangesFollowTheChildren) {
  TControlScrollBar& V = *Ctl->GetVertScrollBar();
  V.SetPosition(100);
  delete Edits[1];
  // Only the top children are left: no vertical bar, nothing scrolled.
  EXPECT_EQ(V.GetRange(), 41);
  EXPECT_FALSE(V.IsScrollBarVisible());
  EXPECT_EQ(V.GetPosition(), 0);
  EXPECT_EQ(Edits[0]->GetTop(), 5);
  auto* Low = new TButton(Form);
  Low->SetParent(Ctl);
  Low->SetBounds(0, 500, 75, 25);
  EXPECT_EQ(V.GetRange(), 525);
  EXPECT_TRUE(V.IsScrollBarVisible());
  Ctl->SetAutoScroll(false);
  V.SetRange(50);
  EXPECT_EQ(V.GetRange(), 50);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/scrollbox.png"));
}

}  // namespace
}  // namespace kvl
