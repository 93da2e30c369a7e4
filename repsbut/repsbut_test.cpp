#include "kvl/repsbut/repsbut.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class RepButtonTest : public TControlTest<TRepSpeedButton> {
protected:
  std::vector<std::int64_t> Repeats;  // virtual times of OnRepeatClick
  int Clicks = 0;
  std::vector<std::string> Errors;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetName("Rep1");
    Ctl->SetBounds(10, 10, 40, 40);
    Ctl->SetOnRepeatClick([this](TObject*) { Repeats.push_back(D.Host().Now()); });
    Ctl->OnClick = [this](TObject*) { ++Clicks; };
    Application->OnException = [this](TObject*, const std::exception& E) {
      Errors.push_back(E.what());
    };
  }
  void TearDown() override {
    Application->OnException = nullptr;
    TControlTest::TearDown();
  }
  int Hold(int Ms) {
    Repeats.clear();
    D.MouseDown(*Ctl, 5, 5);
    D.AdvanceTime(Ms);
    D.MouseUp(*Ctl, 5, 5);
    D.AdvanceTime(1000);  // nothing may follow the release
    return int(Repeats.size());
  }
};

TEST_F(RepButtonTest, HoldRepeatsAfterTheStartDelayAtTheRepeatInterval) {
  struct TRow {
    int Start, Repeat, HoldMs;
  };
  const TRow Rows[] = {{500, 200, 300},  {500, 200, 499}, {500, 200, 500}, {500, 200, 699},
                       {500, 200, 700},  {500, 200, 10000}, {10, 10, 1000}, {100, 20, 333}};
  for (const TRow& R : Rows) {
    Ctl->SetStartClickInterval(R.Start);
    Ctl->SetRepeatClickInterval(R.Repeat);
    Clicks = 0;
    const int Expected = R.HoldMs < R.Start ? 0 : 1 + (R.HoldMs - R.Start) / R.Repeat;
    EXPECT_EQ(Hold(R.HoldMs), Expected) << R.Start << "/" << R.Repeat << " held " << R.HoldMs;
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(Ctl->IsTimerActive());
    D.AdvanceTime(500);  // no double click between rows
  }
  Ctl->SetStartClickInterval(500);
  Ctl->SetRepeatClickInterval(200);
  const std::int64_t T0 = D.Host().Now();
  Hold(1000);
  EXPECT_EQ(Repeats, (std::vector<std::int64_t>{T0 + 500, T0 + 700, T0 + 900}));
}

TEST_F(RepButtonTest, IntervalsClampToTenAndDesigningLeavesTheTimerAlone) {
  for (const int V : {5, -50, 0, INT_MIN}) {
    Ctl->SetStartClickInterval(V);
    Ctl->SetRepeatClickInterval(V);
    EXPECT_EQ(Ctl->GetStartClickInterval(), 10);
    EXPECT_EQ(Ctl->GetRepeatClickInterval(), 10);
  }
  Ctl->SetRepeatClickInterval(INT_MAX);
  EXPECT_EQ(Ctl->GetRepeatClickInterval(), INT_MAX);
  Ctl->SetRepeatClickInterval(200);
  Ctl->SetStartClickInterval(500);
  D.MouseDown(*Ctl, 5, 5);
  Ctl->SetDesigning(true);
  Ctl->SetStartClickInterval(50);
  Ctl->SetRepeatClickInterval(50);
  Ctl->SetOnRepeatClick([this](TObject*) { Repeats.push_back(-1); });
  EXPECT_EQ(D.Host().Now() + 500, *Application->GetTimers().NextDue());
}

TEST_F(RepButtonTest, LeavingStopsForGoodWithoutClickOrRelease) {
  int Ups = 0;
  Ctl->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Ups; };
  for (const bool ReleaseInside : {true, false}) {
    Repeats.clear();
    Clicks = Ups = 0;
    D.MouseDown(*Ctl, 5, 5);
    D.AdvanceTime(600);
    D.MouseMove(*Ctl, 100, 100);
    D.AdvanceTime(2000);
    EXPECT_EQ(Repeats.size(), 1u);
    EXPECT_EQ(Ups, 0);
    if (ReleaseInside) {
      D.MouseMove(*Ctl, 5, 5);
      D.AdvanceTime(2000);
      EXPECT_EQ(Repeats.size(), 1u);
    }
    D.MouseUp(*Ctl, ReleaseInside ? 5 : 100, 5);
    EXPECT_EQ(Clicks, ReleaseInside ? 1 : 0);
    EXPECT_EQ(Ups, 1);
    D.AdvanceTime(500);
  }
  Ups = 0;
  D.MouseMove(*Ctl, 5, 5);
  D.MouseMove(*Ctl, 100, 100);
  EXPECT_EQ(Ups, 0);
}

TEST_F(RepButtonTest, IntervalChangesWhileHeldSetTheNextDueTime) {
  D.MouseDown(*Ctl, 5, 5);
  D.AdvanceTime(100);
  Ctl->SetRepeatClickInterval(50);  // cuts the first delay short
  EXPECT_EQ(*Application->GetTimers().NextDue(), D.Host().Now() + 50);
  D.AdvanceTime(50);
  EXPECT_EQ(Repeats.size(), 1u);
  Ctl->SetStartClickInterval(300);  // back to a first delay
  EXPECT_EQ(*Application->GetTimers().NextDue(), D.Host().Now() + 300);
  Ctl->SetStartClickInterval(500);
  Ctl->SetOnRepeatClick([this](TObject*) { Repeats.push_back(D.Host().Now()); });
  EXPECT_EQ(*Application->GetTimers().NextDue(), D.Host().Now() + 50);
  D.MouseUp(*Ctl, 5, 5);
}

TEST_F(RepButtonTest, OnlyTheLeftButtonRepeatsAndEachPressRestartsTheDelay) {
  for (const TMouseButton B : {mbRight, mbMiddle}) {
    D.MouseDown(*Ctl, 5, 5, B);
    D.AdvanceTime(1000);
    D.MouseUp(*Ctl, 5, 5, B);
  }
  EXPECT_TRUE(Repeats.empty());
  // A quick second press is a press of its own: the delay starts again.
  D.Click(*Ctl, 5, 5);
  D.AdvanceTime(100);
  D.MouseDown(*Ctl, 5, 5);
  D.AdvanceTime(499);
  EXPECT_TRUE(Repeats.empty());
  D.AdvanceTime(1);
  EXPECT_EQ(Repeats.size(), 1u);
  D.MouseUp(*Ctl, 5, 5);
  EXPECT_EQ(Clicks, 2);
}

TEST_F(RepButtonTest, FailuresReachTheApplicationAndTheButtonStaysUsable) {
  D.Host().SetRefuseTimers(true);
  Hold(1000);
  ASSERT_EQ(Errors, std::vector<std::string>{"Component \"Rep1\": no timer available"});
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(Repeats.empty());
  D.Host().SetRefuseTimers(false);
  EXPECT_EQ(Hold(700), 2);

  // A throwing handler, and the hook before the event.
  struct TOrdered : TRepSpeedButton {
    using TRepSpeedButton::TRepSpeedButton;
    std::vector<std::string>* Log = nullptr;
    void RepeatClickEvent(TObject*) override { Log->push_back("hook"); }
  };
  std::vector<std::string> Log;
  auto* B = new TOrdered(Form);
  B->SetParent(Form);
  B->SetBounds(100, 10, 40, 40);
  B->Log = &Log;
  B->SetOnRepeatClick([&](TObject*) {
    Log.push_back("event");
    throw EKVLError("boom");
  });
  Errors.clear();
  D.MouseDown(*B, 5, 5);
  D.AdvanceTime(700);
  D.MouseUp(*B, 5, 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"hook", "event", "hook", "event"}));
  EXPECT_EQ(Errors.size(), 2u);
}

TEST_F(RepButtonTest, HandlersThatEndThePressStopTheRepetition) {
  enum TAct { Disable, HideIt, Unparent, Modal, Destroy };
  for (const TAct A : {Disable, HideIt, Unparent, Modal, Destroy}) {
    auto* B = new TRepSpeedButton(Form);
    B->SetParent(Form);
    B->SetBounds(100, 10, 40, 40);
    int N = 0;
    B->SetOnRepeatClick([&, B](TObject*) {
      ++N;
      if (A == Disable) B->SetEnabled(false);
      if (A == HideIt) B->Hide();
      if (A == Unparent) B->SetParent(nullptr);
      if (A == Destroy) delete B;
      if (A == Modal) {
        TForm Dialog(nullptr);
        D.WhenModal([&](TCustomForm&) { D.AdvanceTime(2000); });
        Dialog.ShowModal();
      }
    });
    D.MouseDown(*B, 5, 5);
    D.AdvanceTime(3000);
    EXPECT_EQ(N, 1) << A;
    if (A != Destroy) {
      EXPECT_FALSE(B->IsTimerActive()) << A;
      delete B;
    }
    D.MouseUp(*Form, 105, 15);
    D.AdvanceTime(1000);
  }
}

TEST_F(RepButtonTest, RandomInputKeepsTheInvariants) {
  std::mt19937 Rng(20);
  bool Pressed = false, Inside = false;
  int ExpectedClicks = 0;
  for (int Step = 0; Step < 2000; ++Step) {
    const std::size_t Before = Repeats.size();
    switch (Rng() % 6) {
      case 0:
        if (!Pressed) {
          D.AdvanceTime(600);  // never a double click
          D.MouseDown(*Ctl, 5, 5);
          Pressed = Inside = true;
          if (!Ctl->IsEnabledInTree()) {  // the press went to the form
            D.MouseUp(*Ctl, 5, 5);
            Pressed = false;
          }
        }
        break;
      case 1:
        Inside = Rng() % 2;
        D.MouseMove(*Ctl, Inside ? 5 : 200, 5);
        break;
      case 2:
        if (Pressed) {
          D.MouseUp(*Ctl, Inside ? 5 : 200, 5);
          ExpectedClicks += Inside && Ctl->IsEnabledInTree();
          Pressed = false;
        }
        break;
      case 3: D.AdvanceTime(int(Rng() % 900)); break;
      case 4:
        Ctl->SetEnabled(!Ctl->GetEnabled());
        if (Pressed) {  // disabled while held: the release outside clicks nothing
          D.MouseUp(*Ctl, 200, 5);
          Pressed = false;
        }
        break;
      default: break;
    }
    if (!Ctl->IsRepeating()) {
      EXPECT_FALSE(Ctl->IsTimerActive()) << Step;
      D.AdvanceTime(300);
      EXPECT_EQ(Repeats.size(), Before) << Step;
    }
  }
  EXPECT_EQ(Clicks, ExpectedClicks);
}

}  // namespace
}  // namespace kvl
