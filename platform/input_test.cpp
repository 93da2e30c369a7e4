// Mouse and keyboard delivery through the message loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "kvl/platform/buttons.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/recording_controls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

using test::TLog;
using test::TRecGraphic;
using test::TRecWindowed;
using ::testing::ElementsAre;

class InputTest : public ::testing::Test {
protected:
  TDriver D;
  TLog Log;
  TForm* Form = nullptr;
  TRecGraphic* A = nullptr;
  TRecWindowed* B = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 200, 100);
    A = new TRecGraphic(Form, Form, &Log, "A");
    A->SetBounds(10, 10, 40, 40);
    B = new TRecWindowed(Form, Form, &Log, "B");
    B->SetBounds(100, 10, 40, 40);
    Form->Show();
    D.Settle();
  }
  void TearDown() override { delete Form; }
};

TEST_F(InputTest, ADragThatLeavesTheControlStillReachesItUntilRelease) {
  D.MouseMove(*A, 5, 5);
  D.MouseDown(*A, 5, 5);
  D.MouseMove(*A, 100, 5);  // over B, but A holds the capture
  EXPECT_EQ(Application->GetCapture(), A);
  D.MouseUp(*A, 100, 5);
  EXPECT_EQ(Application->GetCapture(), nullptr);
  D.MouseMove(*B, 1, 1);
  EXPECT_THAT(Log, ElementsAre("A enter", "A move 5,5", "A downL 5,5", "A leave", "B enter",
                               "A moveL 100,5", "A upL 100,5", "B move 1,1"));
}

TEST_F(InputTest, AReleaseInsideClicksBeforeMouseUpAndOnlyForTheLeftButton) {
  D.Click(*A, 3, 4);
  D.AdvanceTime(1000);
  D.Click(*A, 3, 4, mbRight);
  EXPECT_THAT(Log, ElementsAre("A enter", "A move 3,4", "A downL 3,4", "A click", "A upL 3,4",
                               "A move 3,4", "A downR 3,4", "A upR 3,4"));
}

TEST_F(InputTest, DoubleClickComesInsteadOfTheSecondPress) {
  D.DblClick(*A, 7, 7);
  EXPECT_THAT(Log, ElementsAre("A enter", "A move 7,7", "A downL 7,7", "A click", "A upL 7,7",
                               "A move 7,7", "A dblclick", "A downL2 7,7", "A upL 7,7"));
  // Too slow, or too far apart, it is two clicks.
  Log.clear();
  D.AdvanceTime(1000);
  D.Click(*A, 7, 7);
  D.AdvanceTime(DoubleClickTime + 1);
  D.Click(*A, 7, 7);
  D.AdvanceTime(1000);
  D.Click(*A, 7, 7);
  D.Click(*A, 7 + DoubleClickDistance + 1, 7);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "A click"), 4);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "A dblclick"), 0);
}

TEST_F(InputTest, EnterAndLeaveFollowThePointerAndTheWindow) {
  D.MouseMove(*A, 1, 1);
  D.MouseMove(*A, 2, 1);
  D.MouseMove(*B, 1, 1);
  D.MouseMove(*Form, 70, 70);
  D.MouseMove(*B, 1, 1);
  D.MouseExit(*Form);
  std::erase_if(Log, [](const std::string& S) { return S.find("move") != std::string::npos; });
  EXPECT_THAT(Log, ElementsAre("A enter", "A leave", "B enter", "B leave", "B enter", "B leave"));
}

TEST_F(InputTest, ThePointerTakesTheCursorOfTheControlUnderItUnlessTheScreenSetsOne) {
  const auto Shown = [&] { return D.Host().Window(Form->GetWindow())->Cursor; };
  B->SetCursor(crIBeam);
  D.MouseMove(*B, 1, 1);
  EXPECT_EQ(Shown(), crIBeam);
  D.MouseMove(*A, 1, 1);
  EXPECT_EQ(Shown(), crDefault);
  Screen->SetCursor(crHourGlass);
  D.MouseMove(*B, 2, 2);
  EXPECT_EQ(Shown(), crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Shown(), crIBeam);
}

TEST_F(InputTest, DisabledControlsPassTheMouseToTheirParent) {
  int FormClicks = 0;
  Form->OnClick = [&](TObject*) { ++FormClicks; };
  A->SetEnabled(false);
  D.Click(*A, 5, 5);
  EXPECT_EQ(FormClicks, 1);
  EXPECT_TRUE(Log.empty());
}

TEST_F(InputTest, WheelGoesToTheControlUnderThePointerThenUpTheParents) {
  std::vector<int> Seen;
  A->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    Seen.push_back(-1);
    Handled = false;
  };
  Form->OnMouseWheel = [&](TObject* Sender, TShiftState, int Delta, TPoint, bool& Handled) {
    EXPECT_EQ(Sender, Form);
    Seen.push_back(Delta);
    Handled = true;
  };
  D.Wheel(*A, 5, 5, -120);
  EXPECT_EQ(Seen, (std::vector<int>{-1, -120}));
}

TEST_F(InputTest, ModalFormsTakeAllInputAwayFromOtherForms) {
  auto* Dialog = new TForm(nullptr);
  auto* Ok = new TButton(Dialog);
  Ok->SetParent(Dialog);
  Ok->SetModalResult(mrOk);
  int OkClicks = 0;
  Ok->OnClick = [&](TObject*) { ++OkClicks; };
  // Queue the user's actions, then run the dialog: a click on the owner form first, which the
  // modal loop must not deliver, then a click on OK.
  const auto Post = [&](THostEventKind Kind, TCustomForm& F, int X, int Y) {
    THostEvent E;
    E.Kind = Kind;
    E.X = X;
    E.Y = Y;
    E.Window = F.GetWindow();
    D.Host().Post(E);
  };
  Dialog->OnShow = [&](TObject*) {
    Post(THostEventKind::MouseDown, *Form, 15, 15);
    Post(THostEventKind::MouseUp, *Form, 15, 15);
    Post(THostEventKind::MouseDown, *Dialog, 5, 5);
    Post(THostEventKind::MouseUp, *Dialog, 5, 5);
  };
  EXPECT_EQ(Dialog->ShowModal(), mrOk);
  EXPECT_EQ(OkClicks, 1);
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(Dialog->GetVisible());

  // With nothing left that could ever answer, the dialog ends as cancelled instead of hanging.
  Dialog->OnShow = nullptr;
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  delete Dialog;
}

TEST_F(InputTest, ModalResultWaitsForCloseQuery) {
  auto* Dialog = new TForm(nullptr);
  int Asked = 0;
  Dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++Asked > 1; };
  auto* Timer = new TPrivateTimer(*Dialog, [&] { Dialog->SetModalResult(mrYes); });
  Timer->Restart<EKVLError>(100);
  EXPECT_EQ(Dialog->ShowModal(), mrYes);
  EXPECT_EQ(Asked, 2);
  EXPECT_EQ(D.Host().Now(), 200);
  delete Timer;
  delete Dialog;
}

TEST_F(InputTest, AModalFormWaitingOnlyForItsBlinkingCaretEndsAsCancelled) {
  auto* Dialog = new TForm(nullptr);
  auto* Edit = new TEdit(Dialog);
  Edit->SetParent(Dialog);
  Dialog->SetActiveControl(Edit);
  // The caret's timer re-arms for ever; with no input to wait for the dialog gives up.
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_GE(D.Host().Now(), 10 * 60 * 1000);
  EXPECT_LT(D.Host().Now(), 11 * 60 * 1000);
  // The bound starts again: a second dialog waits its own ten minutes.
  const std::int64_t Start = D.Host().Now();
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_GE(D.Host().Now() - Start, 10 * 60 * 1000);
  delete Dialog;
}

TEST_F(InputTest, AModalFormOpenedDuringAPressTakesTheMouseAndTheButtonComesUp) {
  auto* Speed = new TSpeedButton(Form);
  Speed->SetParent(Form);
  Speed->SetBounds(10, 60, 40, 20);
  int SpeedClicks = 0;
  Speed->OnClick = [&](TObject*) { ++SpeedClicks; };
  auto* Dialog = new TForm(nullptr);
  auto* Ok = new TButton(Dialog);
  Ok->SetParent(Dialog);
  Ok->SetBounds(0, 0, 50, 20);
  Ok->SetModalResult(mrOk);
  TModalResult Result = mrNone;
  Speed->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    // The held button comes up where it went down (the window keeps the pointer while a button
    // is held), on the blocked form; then the user clicks OK.
    Dialog->OnShow = [&](TObject*) {
      const TPoint OnSpeed = Speed->ClientToForm({5, 5});
      const std::tuple<THostEventKind, TCustomForm*, int, int> Events[] = {
          {THostEventKind::MouseUp, Form, OnSpeed.X, OnSpeed.Y},
          {THostEventKind::MouseDown, Dialog, 5, 5},
          {THostEventKind::MouseUp, Dialog, 5, 5}};
      for (const auto& [Kind, Where, X, Y] : Events) {
        THostEvent E;
        E.Kind = Kind;
        E.Window = Where->GetWindow();
        E.X = X;
        E.Y = Y;
        D.Host().Post(E);
      }
    };
    Result = Dialog->ShowModal();
  };
  const TBitmap Up = D.Capture(*Speed);
  D.MouseDown(*Speed, 5, 5);
  EXPECT_EQ(Result, mrOk);
  EXPECT_EQ(Application->GetCapture(), nullptr);
  EXPECT_TRUE(SamePicture(D.Capture(*Speed), Up)) << "the speed button is drawn up again";
  D.MouseUp(*Speed, 5, 5);
  EXPECT_EQ(SpeedClicks, 0);
  delete Dialog;
}

}  // namespace
}  // namespace kvl
