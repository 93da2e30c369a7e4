// Hints: when they show, where, with what, and every way they go.
#include "kvl/platform/hints.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class HintTest : public ::testing::Test {
protected:
  TDriver D;
  TForm* Form = nullptr;
  TCustomControl* Panel = nullptr;
  TCustomControl* A = nullptr;  // "Alpha", its own ShowHint
  TCustomControl* B = nullptr;  // "Beta", ShowHint from the panel
  TCustomControl* Plain = nullptr;

  TCustomControl* Make(TWinControl* Parent, int Left, const std::string& Hint) {
    auto* C = new TCustomControl(Form);
    C->SetParent(Parent);
    C->SetBounds(Left, 10, 80, 40);
    C->SetHint(Hint);
    return C;
  }
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 400, 300);
    Panel = new TCustomControl(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 100, 400, 100);
    Panel->SetShowHint(true);
    A = Make(Form, 10, "Alpha");
    A->SetShowHint(true);
    B = Make(Panel, 10, "Beta\nsecond line");
    Plain = Make(Form, 200, "");
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Application->SetShowHint(true);
  }
  THintWindow* Shown() { return Application->GetHintWindow(); }
};

TEST_F(HintTest, ShowsAfterThePauseBelowThePointer) {
  D.MouseMove(*A, 20, 15);
  D.AdvanceTime(Application->GetHintPause() - 1);
  EXPECT_EQ(Shown(), nullptr);
  D.AdvanceTime(1);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Shown()->GetHintText(), "Alpha");
  const TPoint P = A->ClientToScreen({20, 15});
  EXPECT_EQ(Shown()->GetLeft(), P.X);
  EXPECT_EQ(Shown()->GetTop(), P.Y + 20);
  const auto* W = D.Host().Window(Shown()->GetWindow());
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->Request.Kind, TWindowKind::Hint);
  EXPECT_FALSE(W->Grab);
  EXPECT_EQ(Form->GetActiveControl(), Application->GetActiveForm()->GetActiveControl());

  // On to the next control with a hint: the short pause; ParentShowHint counts.
  D.MouseMove(*B, 20, 15);
  EXPECT_EQ(Shown(), nullptr);
  D.AdvanceTime(Application->GetHintShortPause());
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Shown()->GetHintText(), "Beta\nsecond line");
  EXPECT_GT(Shown()->GetHeight(), 2 * Shown()->GetCanvas()->TextHeight("Wg"));

  // A change while shown follows; an empty hint hides it.
  B->SetHint("Gamma");
  EXPECT_EQ(Shown()->GetHintText(), "Gamma");
  B->SetHint("");
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(HintTest, NoneWithoutShowHintOrText) {
  struct TCase {
    std::function<void()> Setup;
    TControl* Over;
  };
  const TCase Cases[] = {{[] { Application->SetShowHint(false); }, A},
                         {[this] { Panel->SetShowHint(false); }, B},
                         {[] {}, Plain}};
  for (const TCase& C : Cases) {
    C.Setup();
    D.MouseMove(*C.Over, 20, 15);
    D.AdvanceTime(2 * Application->GetHintPause());
    EXPECT_EQ(Shown(), nullptr);
    D.MouseMove(*Form, 390, 290);
    Application->SetShowHint(true);
    Panel->SetShowHint(true);
  }
}

TEST_F(HintTest, HiddenByLeavingInputTimeAndDeactivation) {
  const std::function<void()> Hiders[] = {
      [&] { D.MouseMove(*Plain, 5, 5); },
      [&] { D.Click(*A, 5, 5); },
      [&] { D.Press(*Form, 'X', "x"); },
      [&] { D.AdvanceTime(Application->GetHintHidePause()); },
      [&] { D.WindowEvent(*Form, THostEventKind::FocusOut); },
      [&] { Application->CancelHint(); },
  };
  for (const auto& Hide : Hiders) {
    D.MouseMove(*Form, 390, 290);
    D.MouseMove(*A, 20, 15);
    D.AdvanceTime(Application->GetHintPause());
    ASSERT_NE(Shown(), nullptr);
    Hide();
    EXPECT_EQ(Shown(), nullptr);
    // Resting on: it does not come back until the pointer moves to another control.
    D.AdvanceTime(3 * Application->GetHintPause());
    EXPECT_EQ(Shown(), nullptr);
  }
}

TEST_F(HintTest, KeptOnTheScreenAndAboveThePointerAtTheBottom) {
  Form->SetBounds(1100, 740, 180, 60);
  D.Settle();
  A->SetHint(std::string(100000, 'w') + "\n\xff\xfe\tend");
  D.MouseMove(*A, 70, 35);
  D.AdvanceTime(Application->GetHintPause());
  ASSERT_NE(Shown(), nullptr);
  const TSize S = D.Host().ScreenSize();
  const TPoint P = A->ClientToScreen({70, 35});
  EXPECT_LE(Shown()->GetBoundsRect().Right, S.cx);
  EXPECT_EQ(Shown()->GetBoundsRect().Bottom, P.Y);
}

TEST_F(HintTest, LooksAsReviewed) {
  D.MouseMove(*B, 20, 15);
  D.AdvanceTime(Application->GetHintPause());
  ASSERT_NE(Shown(), nullptr);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Shown()), "testdata/hint_two_lines.png"));
}

}  // namespace
}  // namespace kvl
