// Message dialogs, driven through their modal loop as a user would.
#include "kvl/platform/dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

std::vector<TButton*> ButtonsOf(TCustomForm& F) {
  std::vector<TButton*> Result;
  for (int I = 0; I < F.GetControlCount(); ++I)
    if (auto* B = dynamic_cast<TButton*>(F.GetControls(I))) Result.push_back(B);
  std::sort(Result.begin(), Result.end(),
            [](TButton* A, TButton* B) { return A->GetLeft() < B->GetLeft(); });
  return Result;
}

void PressCloseBox(TDriver& D, TCustomForm& F) {
  THostEvent E;
  E.Kind = THostEventKind::CloseRequest;
  E.Window = F.GetWindow();
  D.Host().Post(E);
  Application->ProcessMessages();
}

TEST(MessageDialog, EachTypeHasItsCaptionIconAndBell) {
  struct TCase {
    TMsgDlgType Type;
    const char* Caption;
    int Beeps;
  };
  const TCase Cases[] = {{mtWarning, "Warning", 1},
                         {mtError, "Error", 1},
                         {mtInformation, "Information", 0},
                         {mtConfirmation, "Confirm", 0},
                         {mtCustom, "Lab tool", 0}};
  for (const TCase& C : Cases) {
    TDriver D;
    Application->SetTitle("Lab tool");
    TForm Owner(nullptr);
    Owner.SetBounds(100, 100, 400, 300);
    Owner.Show();
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_EQ(F.GetCaption(), C.Caption);
      EXPECT_EQ(D.Host().GetBeepCount(), C.Beeps) << C.Caption;
      EXPECT_EQ(F.FindComponent("Image") != nullptr, C.Type != mtCustom) << C.Caption;
      // Centred on the form that was active.
      EXPECT_NEAR(F.GetLeft() + F.GetWidth() / 2, 300, 1) << C.Caption;
      EXPECT_NEAR(F.GetTop() + F.GetHeight() / 2, 250, 1) << C.Caption;
      D.Press(F, vk::Return, "\r");
    });
    EXPECT_EQ(MessageDlg("Disk full.", C.Type, MsgDlgButtons(mbOK)), mrOk) << C.Caption;
    EXPECT_EQ(D.Host().GetBeepCount(), C.Beeps) << C.Caption;
  }
}

TEST(MessageDialog, ButtonsStandInOrderAndEnterEscapeCloseBoxAndClicksAnswer) {
  struct TCase {
    TMsgDlgButtons Buttons;
    std::vector<std::string> Captions;
    std::vector<TModalResult> Results;  // of a click on each button
    TModalResult Escape;                // mrNone: Escape does nothing
    TModalResult CloseBox;
  };
  const TCase Cases[] = {
      {mbYesNo, {"Yes", "No"}, {mrYes, mrNo}, mrNo, mrNo},
      {mbYesNoCancel, {"Yes", "No", "Cancel"}, {mrYes, mrNo, mrCancel}, mrCancel, mrCancel},
      {mbOKCancel, {"OK", "Cancel"}, {mrOk, mrCancel}, mrCancel, mrCancel},
      {mbAbortRetryIgnore,
       {"Abort", "Retry", "Ignore"},
       {mrAbort, mrRetry, mrIgnore},
       mrNone,
       mrCancel},
      {MsgDlgButtons(mbClose), {"Close"}, {mrClose}, mrClose, mrClose},
      {MsgDlgButtons(mbYesToAll) | MsgDlgButtons(mbNoToAll) | MsgDlgButtons(mbAll),
       {"All", "No to All", "Yes to All"},
       {mrAll, mrNoToAll, mrYesToAll},
       mrNone,
       mrCancel},
  };
  // Presses what Act says in the dialog; a key that ends nothing is followed by the close box.
  auto Run = [](TDriver& D, TMsgDlgButtons Buttons, auto Act) {
    D.WhenModal([&D, Act](TCustomForm& F) {
      Act(F);
      if (F.GetModalResult() == mrNone) PressCloseBox(D, F);
    });
    return MessageDlg("Replace the file?", mtConfirmation, Buttons);
  };
  for (const TCase& C : Cases) {
    TDriver D;
    std::vector<std::string> Captions;
    D.WhenModal([&](TCustomForm& F) {
      const std::vector<TButton*> Buttons = ButtonsOf(F);
      for (TButton* B : Buttons) Captions.push_back(B->GetCaption());
      ASSERT_FALSE(Buttons.empty());
      EXPECT_EQ(F.GetActiveControl(), Buttons[0]) << Captions[0];
      D.Press(F, vk::Escape, "\x1b");
      EXPECT_EQ(F.GetModalResult(), C.Escape) << Captions[0];
      if (F.GetModalResult() == mrNone) PressCloseBox(D, F);
    });
    EXPECT_EQ(MessageDlg("Replace the file?", mtConfirmation, C.Buttons),
              C.Escape != mrNone ? C.Escape : C.CloseBox);
    EXPECT_EQ(Captions, C.Captions);
    EXPECT_EQ(Run(D, C.Buttons, [&D](TCustomForm& F) { D.Press(F, vk::Return, "\r"); }),
              C.Results[0]);
    EXPECT_EQ(Run(D, C.Buttons, [&D](TCustomForm& F) { PressCloseBox(D, F); }), C.CloseBox);
    for (std::size_t I = 0; I < C.Results.size(); ++I)
      EXPECT_EQ(Run(D, C.Buttons, [&D, I](TCustomForm& F) { D.Click(*ButtonsOf(F)[I], 10, 10); }),
                C.Results[I]);
  }
}

TEST(MessageDialog, ALongTextWrapsAndTheDialogStaysOnTheScreen) {
  TDriver D;
  D.Host().SetScreenSize({640, 480});
  std::string Msg;
  for (int I = 0; I < 3000; ++I) Msg += "word" + std::to_string(I) + ' ';
  D.WhenModal([&](TCustomForm& F) {
    EXPECT_GE(F.GetLeft(), 0);
    EXPECT_GE(F.GetTop(), 0);
    EXPECT_LE(F.GetLeft() + F.GetWidth(), 640);
    EXPECT_LE(F.GetTop() + F.GetHeight(), 480);
    auto* Text = dynamic_cast<TLabel*>(F.FindComponent("Message"));
    ASSERT_NE(Text, nullptr);
    EXPECT_LE(Text->GetWidth(), 480);
    EXPECT_GT(Text->GetWidth(), 400);
    // Cut after a whole line: the message's start, its breaks where blanks were, up to a word's
    // end.
    std::string Shown = Text->GetCaption();
    std::replace(Shown.begin(), Shown.end(), '\n', ' ');
    ASSERT_LT(Shown.size(), Msg.size());
    EXPECT_EQ(Msg.substr(0, Shown.size()), Shown);
    EXPECT_EQ(Msg[Shown.size()], ' ');
    EXPECT_LE(Text->GetTop() + Text->GetHeight(), ButtonsOf(F)[0]->GetTop());
    D.Press(F, vk::Return, "\r");
  });
  EXPECT_EQ(MessageDlg(Msg, mtInformation, MsgDlgButtons(mbOK)), mrOk);
}

TEST(MessageDialog, WarningWithOkAndCancelLooksAsReviewed) {
  TDriver D;
  std::unique_ptr<TForm> Dialog =
      CreateMessageDialog("The measurement file has changed since it was opened. Save it anyway?",
                          mtWarning, mbOKCancel);
  D.WhenModal([&](TCustomForm& F) {
    EXPECT_TRUE(MatchesGolden(D.Capture(F), "testdata/message_warning.png"));
    D.Press(F, vk::Escape, "\x1b");
  });
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
}

}  // namespace
}  // namespace kvl
