// Check boxes and radio buttons driven as a person would: what toggles them and what does not,
// radio groups per parent, arrows and Tab inside a group, and a reviewed picture of each look.
#include <gtest/gtest.h>

#include <functional>

#include "kvl/platform/buttons.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class CheckBoxTest : public TControlTest<TCheckBox> {
protected:
  int Clicks = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 97, 17);
    Ctl->SetCaption("Option");
    Ctl->OnClick = [this](TObject*) { ++Clicks; };
    Form->Show();
  }
};

TEST_F(CheckBoxTest, WhatTogglesAndWhatDoesNot) {
  struct Case {
    const char* Name;
    std::function<void()> Act;
    TCheckBoxState Expected;
    int Clicks;
  };
  const Case Cases[] = {
      {"click on the box", [this] { D.Click(*Ctl, 6, 8); }, cbChecked, 1},
      {"click on the caption", [this] { D.Click(*Ctl, 40, 8); }, cbChecked, 1},
      {"space", [this] { Ctl->SetFocus(), D.Press(*Form, vk::Space, " "); }, cbChecked, 1},
      {"drag off before release",
       [this] {
         D.MouseDown(*Ctl, 6, 8);
         D.MouseMove(*Ctl, 150, 8);
         D.MouseUp(*Ctl, 150, 8);
       },
       cbUnchecked, 0},
      {"right click", [this] { D.Click(*Ctl, 6, 8, mbRight); }, cbUnchecked, 0},
      {"disabled", [this] { Ctl->SetEnabled(false), D.Click(*Ctl, 6, 8); }, cbUnchecked, 0},
      {"program write", [this] { Ctl->SetChecked(true); }, cbChecked, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Ctl->SetEnabled(true);
    Ctl->SetChecked(false);
    Clicks = 0;
    D.AdvanceTime(1000);  // no double clicks across cases
    C.Act();
    EXPECT_EQ(Ctl->GetState(), C.Expected);
    EXPECT_EQ(Clicks, C.Clicks);
  }
}

TEST_F(CheckBoxTest, SpaceTogglesOnReleaseAndShowsTheBoxHeld) {
  Ctl->SetFocus();
  EXPECT_EQ(PixelAt(3, 5), ColorToRGB(clWindow));
  D.KeyDown(*Form, vk::Space, " ");
  EXPECT_FALSE(Ctl->GetChecked());
  EXPECT_EQ(PixelAt(3, 5), ColorToRGB(clBtnFace));
  D.KeyUp(*Form, vk::Space);
  EXPECT_TRUE(Ctl->GetChecked());
  EXPECT_EQ(PixelAt(3, 5), ColorToRGB(clWindow));
}

// The rows of the caption's picture that hold ink (pixels darker than the face).
int InkedRows(const TBitmap& B, int FromX) {
  int Rows = 0;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = FromX; X < B.GetWidth(); ++X)
      if ((B.ScanLine(Y)[X] & 0xFF) < 0x80) {
        ++Rows;
        break;
      }
  return Rows;
}

TEST_F(CheckBoxTest, WordWrapBreaksTheCaptionIntoLinesThatFit) {
  Ctl->SetBounds(10, 10, 90, 60);
  Ctl->SetCaption("a caption far wider than the box");
  const int OneLine = InkedRows(D.Capture(*Ctl), 20);
  Ctl->SetWordWrap(true);
  const TBitmap Wrapped = D.Capture(*Ctl);
  EXPECT_GT(InkedRows(Wrapped, 20), 2 * OneLine);
  for (int Y = 0; Y < Wrapped.GetHeight(); ++Y)  // nothing drawn past the right edge's gap
    EXPECT_GE(Wrapped.ScanLine(Y)[89] & 0xFF, 0x80u) << "row " << Y;
}

TEST_F(CheckBoxTest, AllowGrayedCyclesThroughThreeStates) {
  Ctl->SetAllowGrayed(true);
  for (TCheckBoxState Next : {cbChecked, cbGrayed, cbUnchecked, cbChecked}) {
    D.AdvanceTime(1000);
    D.Click(*Ctl, 6, 8);
    EXPECT_EQ(Ctl->GetState(), Next);
  }
  EXPECT_EQ(Clicks, 4);
}

// Radio buttons on the form and on a panel, with a grouped speed button and a check box
// beside those on the form.
class RadioTest : public TControlTest<TEdit> {
protected:
  TCustomControl* Panel = nullptr;
  TRadioButton* A[3] = {};
  TRadioButton* B[2] = {};
  TSpeedButton* Speed = nullptr;
  TCheckBox* Box = nullptr;
  TButton* Ok = nullptr;

  template <class T>
  T* Make(TWinControl* Parent, int Top) {
    auto* C = new T(Form);
    C->SetParent(Parent);
    C->SetTop(Top);
    return C;
  }
  void SetUp() override {
    TControlTest::SetUp();
    for (int I = 0; I < 3; ++I) A[I] = Make<TRadioButton>(Form, 30 + 20 * I);
    Panel = Make<TCustomControl>(Form, 100);
    Panel->SetBounds(200, 100, 150, 100);
    for (int I = 0; I < 2; ++I) B[I] = Make<TRadioButton>(Panel, 10 + 20 * I);
    Speed = Make<TSpeedButton>(Form, 300);
    Speed->SetGroupIndex(1);
    Speed->SetDown(true);
    Box = Make<TCheckBox>(Form, 330);
    Box->SetChecked(true);
    Ok = Make<TButton>(Form, 360);
    Form->Show();
  }
};

TEST_F(RadioTest, CheckingOneUnchecksOnlyTheOtherRadiosOfItsParent) {
  B[0]->SetChecked(true);
  D.Click(*A[0], 6, 8);
  D.AdvanceTime(1000);
  D.Click(*A[1], 6, 8);
  EXPECT_FALSE(A[0]->GetChecked());
  EXPECT_TRUE(A[1]->GetChecked());
  EXPECT_TRUE(B[0]->GetChecked());
  EXPECT_TRUE(Speed->GetDown());
  EXPECT_TRUE(Box->GetChecked());
  B[1]->SetChecked(true);  // a program write unchecks too
  EXPECT_FALSE(B[0]->GetChecked());
  EXPECT_TRUE(A[1]->GetChecked());
  D.AdvanceTime(1000);
  D.Click(*A[1], 6, 8);  // clicking the checked one keeps it checked
  EXPECT_TRUE(A[1]->GetChecked());
  auto* Other = Make<TSpeedButton>(Form, 300);  // a speed button's group news leaves radios be
  Other->SetLeft(100);
  Other->SetGroupIndex(1);
  D.Click(*Other, 5, 5);
  EXPECT_TRUE(Other->GetDown());
  EXPECT_FALSE(Speed->GetDown());
  EXPECT_TRUE(A[1]->GetChecked());
}

TEST_F(RadioTest, ArrowsMoveAndCheckInsideTheGroup) {
  A[0]->SetFocus();
  const struct {
    std::uint16_t Key;
    int Expected;
  } Steps[] = {{vk::Down, 1}, {vk::Right, 2}, {vk::Down, 0}, {vk::Up, 2}, {vk::Left, 1}};
  for (const auto& S : Steps) {
    D.Press(*Form, S.Key);
    for (int I = 0; I < 3; ++I) {
      EXPECT_EQ(A[I]->Focused(), I == S.Expected) << "key " << S.Key << " button " << I;
      EXPECT_EQ(A[I]->GetChecked(), I == S.Expected) << "key " << S.Key << " button " << I;
    }
  }
  EXPECT_FALSE(B[0]->GetChecked());
}

TEST_F(RadioTest, TabStopsAtTheCheckedRadioOrTheFirst) {
  const auto TabFromEdit = [this] {
    Ctl->SetFocus();
    D.Press(*Form, vk::Tab, "\t");
  };
  TabFromEdit();
  EXPECT_TRUE(A[0]->Focused());
  A[2]->SetChecked(true);
  TabFromEdit();
  EXPECT_TRUE(A[2]->Focused());
  D.Press(*Form, vk::Tab, "\t");
  EXPECT_TRUE(B[0]->Focused());
}

TEST(CheckBoxLook, EachState) {
  TDriver D;
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 300, 200);
  auto* Panel = new TCustomControl(&Form);
  Panel->SetParent(&Form);
  Panel->SetBounds(0, 0, 240, 150);
  const auto Add = [&](auto* C, const char* Caption, int Top) {
    C->SetParent(Panel);
    C->SetBounds(4, Top, 120, 17);
    C->SetCaption(Caption);
    return C;
  };
  Add(new TCheckBox(&Form), "Unchecked", 4);
  Add(new TCheckBox(&Form), "Checked", 24)->SetChecked(true);
  Add(new TCheckBox(&Form), "Grayed", 44)->SetState(cbGrayed);
  auto* Off = Add(new TCheckBox(&Form), "Disabled", 64);
  Off->SetChecked(true);
  Off->SetEnabled(false);
  Add(new TCheckBox(&Form), "Caption left", 84)->SetAlignment(taLeftJustify);
  Add(new TRadioButton(&Form), "Radio off", 104);
  Add(new TRadioButton(&Form), "Radio on", 124)->SetChecked(true);
  Form.Show();
  EXPECT_TRUE(MatchesGolden(D.Capture(*Panel), "testdata/checkbox_states.png"));
}

}  // namespace
}  // namespace kvl
