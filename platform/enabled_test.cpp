// The effective enabled state: the children of a disabled parent look and act disabled, and a
// disabled edit keeps the colours the program gave it.
#include <gtest/gtest.h>

#include <functional>

#include "kvl/platform/buttons.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class EnabledTest : public TControlTest<TWinControl> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Form->Show();
  }
};

template <class T>
TControl* Make(TWinControl* Parent) {
  auto* C = new T(Parent->GetOwner());
  C->SetParent(Parent);
  C->SetBounds(10, 10, 80, 24);
  C->SetText("Hill");
  return C;
}

TEST_F(EnabledTest, ChildrenOfADisabledParentLookAndActDisabled) {
  const std::function<TControl*(TWinControl*)> Makers[] = {Make<TButton>, Make<TEdit>, Make<TLabel>,
                                                           Make<TSpeedButton>};
  for (std::size_t I = 0; I < std::size(Makers); ++I) {
    SCOPED_TRACE(I);
    EXPECT_TRUE(FollowsParentEnabled(Makers[I]));
  }

  auto* Panel = new TCustomControl(Form);
  Panel->SetParent(Form);
  Panel->SetBounds(0, 0, 200, 100);
  auto* B = static_cast<TButton*>(Make<TButton>(Panel));
  int Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  B->SetFocus();
  Panel->SetEnabled(false);
  D.Click(*B, 5, 5);
  D.Press(*Form, vk::Space, " ");
  B->SetFocus();
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(B->CanFocus());
  Panel->SetEnabled(true);
  D.AdvanceTime(1000);
  D.Click(*B, 5, 5);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(EnabledTest, ADisabledEditKeepsTheColoursTheProgramGaveIt) {
  constexpr TColor Back = 0x00E0E0E0, Ink = 0x00808080;
  const struct {
    bool SetColor, SetFontColor;
    TColor Back, Ink;
  } Cases[] = {{false, false, clBtnFace, clGrayText},
               {true, false, Back, clGrayText},
               {false, true, clBtnFace, Ink},
               {true, true, Back, Ink}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.SetColor << Case.SetFontColor);
    auto* E = static_cast<TEdit*>(Make<TEdit>(Form));
    if (Case.SetColor) E->SetColor(Back);
    if (Case.SetFontColor) E->GetFont().SetColor(Ink);
    E->SetEnabled(false);
    // An enabled edit in the colours the disabled one must show.
    auto* Twin = static_cast<TEdit*>(Make<TEdit>(Form));
    Twin->SetColor(Case.Back);
    Twin->GetFont().SetColor(Case.Ink);
    EXPECT_TRUE(SamePicture(D.Capture(*E), D.Capture(*Twin)));
    delete E;
    delete Twin;
  }
}

}  // namespace
}  // namespace kvl
