#include "kvl/platform/comctrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvl/platform/errors.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class UpDownTest : public TControlTest<TUpDown> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(200, 10, 17, 24);
  }
  // A click on an arrow, far enough from the last one not to count as held.
  void ClickArrow(TUDBtnType B) {
    D.Click(*Ctl, 8, B == btNext ? 4 : 20);
    D.AdvanceTime(1000);
  }
  TEdit* Associated(TUDAlignButton Side = udRight) {
    auto* E = new TEdit(Form);
    E->SetParent(Form);
    E->SetBounds(20, 40, 80, 21);
    Ctl->SetAlignButton(Side);
    Ctl->SetAssociate(E);
    return E;
  }
};

TEST_F(UpDownTest, StepsStopOrWrapAtTheLimits) {
  struct Row {
    int Min, Max, Pos, Inc;
    bool Wrap;
    TUDBtnType Button;
    int Expected;
  };
  const Row Rows[] = {
      {0, 100, 50, 1, false, btNext, 51},   {0, 100, 50, 1, false, btPrev, 49},
      {0, 100, 100, 1, false, btNext, 100}, {0, 100, 100, 1, true, btNext, 0},
      {0, 100, 0, 1, true, btPrev, 100},    {0, 100, 2, 5, false, btPrev, 0},
      {0, 100, 98, 5, true, btNext, 100},  // reaches the end before wrapping
      {0, 100, 50, 0, false, btNext, 51},  // Increment 0 counts as 1
      {10, 0, 5, 1, false, btNext, 4},     // Min > Max: up moves toward Max
      {10, 0, 0, 1, false, btNext, 0},      {10, 0, 0, 1, true, btNext, 10},
      {10, 0, 10, 3, false, btPrev, 10},
  };
  for (const Row& R : Rows) {
    Ctl->SetMin(R.Min);
    Ctl->SetMax(R.Max);
    Ctl->SetPosition(R.Pos);
    Ctl->SetIncrement(R.Inc);
    Ctl->SetWrap(R.Wrap);
    ClickArrow(R.Button);
    EXPECT_EQ(Ctl->GetPosition(), R.Expected) << R.Min << ".." << R.Max << " from " << R.Pos;
  }
  // Program writes are kept between the two limits, whichever is larger.
  Ctl->SetPosition(50);
  EXPECT_EQ(Ctl->GetPosition(), 10);
  Ctl->SetPosition(-3);
  EXPECT_EQ(Ctl->GetPosition(), 0);
}

TEST_F(UpDownTest, HoldingRepeatsAfter400ThenEvery100WhileOnTheArrow) {
  D.MouseDown(*Ctl, 8, 4);
  EXPECT_EQ(Ctl->GetPosition(), 1);
  D.AdvanceTime(399);
  EXPECT_EQ(Ctl->GetPosition(), 1);
  D.AdvanceTime(1);
  EXPECT_EQ(Ctl->GetPosition(), 2);
  D.AdvanceTime(99);
  EXPECT_EQ(Ctl->GetPosition(), 2);
  D.AdvanceTime(201);
  EXPECT_EQ(Ctl->GetPosition(), 5);
  D.MouseMove(*Ctl, 8, 20);  // onto the other arrow: the repeat pauses
  D.AdvanceTime(300);
  EXPECT_EQ(Ctl->GetPosition(), 5);
  D.MouseMove(*Ctl, 8, 4);
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->GetPosition(), 6);
  D.MouseUp(*Ctl, 8, 4);
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetPosition(), 6);
  // A lost capture ends the hold as a release does.
  D.MouseDown(*Ctl, 8, 4);
  Ctl->SetEnabled(false);
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetPosition(), 7);
}

TEST_F(UpDownTest, OnChangingMayRefuseAndOnClickNamesTheArrow) {
  bool Allow = false;
  std::vector<TUDBtnType> Clicks;
  Ctl->OnChanging = [&](TObject*, bool& A) { A = Allow; };
  Ctl->OnClick = [&](TObject*, TUDBtnType B) { Clicks.push_back(B); };
  ClickArrow(btNext);
  EXPECT_EQ(Ctl->GetPosition(), 0);
  EXPECT_TRUE(Clicks.empty());
  Allow = true;
  ClickArrow(btNext);
  ClickArrow(btPrev);
  EXPECT_EQ(Ctl->GetPosition(), 0);
  EXPECT_EQ(Clicks, (std::vector<TUDBtnType>{btNext, btPrev}));
  Ctl->SetPosition(30);  // program writes fire nothing
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(UpDownTest, TheAssociateGivesUpItsSideAndShowsThePosition) {
  TEdit* E = Associated(udRight);
  EXPECT_EQ(E->GetBoundsRect(), Rect(20, 40, 83, 61));
  EXPECT_EQ(Ctl->GetBoundsRect(), Rect(83, 40, 100, 61));
  EXPECT_EQ(E->GetText(), "0");
  Ctl->SetPosition(7);
  EXPECT_EQ(E->GetText(), "7");
  ClickArrow(btNext);
  EXPECT_EQ(E->GetText(), "8");
  Ctl->SetAssociate(nullptr);
  delete E;
  TEdit* L = Associated(udLeft);
  EXPECT_EQ(L->GetBoundsRect(), Rect(37, 40, 100, 61));
  EXPECT_EQ(Ctl->GetBoundsRect(), Rect(20, 40, 37, 61));
  delete L;  // a freed associate is forgotten
  EXPECT_EQ(Ctl->GetAssociate(), nullptr);
  ClickArrow(btNext);
  EXPECT_EQ(Ctl->GetPosition(), 9);
}

TEST_F(UpDownTest, UpAndDownInTheAssociateStepAfterItsOnKeyDown) {
  TEdit* E = Associated();
  std::vector<int> SeenAt;  // the position each OnKeyDown saw
  bool Swallow = false;
  E->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) {
    SeenAt.push_back(Ctl->GetPosition());
    if (Swallow) Key = 0;
  };
  E->SetFocus();
  D.Press(*Form, vk::Up);
  D.Press(*Form, vk::Up);
  D.Press(*Form, vk::Down);
  EXPECT_EQ(Ctl->GetPosition(), 1);
  EXPECT_EQ(SeenAt, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(E->GetText(), "1");
  Swallow = true;
  D.Press(*Form, vk::Up);
  Swallow = false;
  Ctl->SetArrowKeys(false);
  D.Press(*Form, vk::Up);
  EXPECT_EQ(Ctl->GetPosition(), 1);
  EXPECT_TRUE(E->Focused());  // the up-down took no focus
}

TEST_F(UpDownTest, TypedTextIsReadOnStepAndOnExit) {
  TEdit* E = Associated();
  auto* Other = new TButton(Form);
  Other->SetParent(Form);
  Other->SetBounds(300, 100, 75, 25);
  struct Row {
    const char* Typed;
    bool Leave;  // the focus leaves instead of a step
    int Position;
    const char* Text;
  };
  const Row Rows[] = {
      {"42", false, 43, "43"},  {"17", true, 17, "17"}, {"abc", true, 17, "17"},
      {"500", false, 18, "18"}, {"-4", true, 18, "18"}, {"", false, 19, "19"},
      {"3x", false, 20, "20"},
  };
  for (const Row& R : Rows) {
    E->SetFocus();
    E->SelectAll();
    if (*R.Typed)
      D.Type(*Form, R.Typed);
    else
      D.Press(*Form, vk::Delete);
    if (R.Leave)
      Other->SetFocus();
    else
      ClickArrow(btNext);
    EXPECT_EQ(Ctl->GetPosition(), R.Position) << R.Typed;
    EXPECT_EQ(E->GetText(), R.Text) << R.Typed;
  }
}

TEST_F(UpDownTest, ARefusedTimerRaisesAfterTheFirstStep) {
  std::string Error;
  Application->OnException = [&](TObject*, const std::exception& E) {
    if (dynamic_cast<const EOutOfResources*>(&E)) Error = E.what();
  };
  Ctl->SetName("UpDown1");
  D.Host().SetRefuseTimers(true);
  D.MouseDown(*Ctl, 8, 4);
  D.Host().SetRefuseTimers(false);
  EXPECT_EQ(Ctl->GetPosition(), 1);
  EXPECT_EQ(Error, "Component \"UpDown1\": no timer available");
  D.MouseUp(*Ctl, 8, 4);
  Application->OnException = nullptr;
}

}  // namespace
}  // namespace kvl
