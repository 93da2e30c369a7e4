// Focus, tab order and the keyboard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "kvl/platform/forms.h"
#include "kvl/platform/recording_controls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"

namespace kvl {
namespace {

using ::testing::ElementsAre;

class TKeyField : public TCustomControl {
public:
  TKeyField(TWinControl* Parent, const std::string& Name, std::vector<std::string>* Log)
      : TCustomControl(Parent), FLog(Log) {
    SetName(Name);
    SetParent(Parent);
    SetTabStop(true);
    SetBounds(0, 0, 20, 20);
    OnEnter = [this](TObject*) { FLog->push_back(GetName() + " enter"); };
    OnExit = [this](TObject*) { FLog->push_back(GetName() + " exit"); };
  }
  bool WantTab = false;
  std::string Typed;
  bool WantsKey(std::uint16_t Key, TShiftState) const override { return WantTab && Key == vk::Tab; }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override {
    FLog->push_back(GetName() + " key " + std::to_string(Key) + ((Shift & ssShift) ? "+S" : ""));
    TCustomControl::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    Typed += char(Key);
    TCustomControl::KeyPress(Key);
  }

private:
  std::vector<std::string>* FLog;
};

class FocusTest : public ::testing::Test {
protected:
  TDriver D;
  std::vector<std::string> Log;
  TForm* Form = nullptr;
  TKeyField *A, *B, *C;
  void SetUp() override {
    Form = new TForm(nullptr);
    A = new TKeyField(Form, "A", &Log);
    auto* Panel = new TCustomControl(Form);
    Panel->SetParent(Form);
    B = new TKeyField(Panel, "B", &Log);
    C = new TKeyField(Form, "C", &Log);
    Form->Show();
  }
  void TearDown() override { delete Form; }
  void Tab(bool Back = false) {
    if (Back) D.KeyDown(*Form, vk::Shift);
    D.Press(*Form, vk::Tab, "\t");
    if (Back) D.KeyUp(*Form, vk::Shift);
  }
};

TEST_F(FocusTest, TabAndShiftTabWalkTheTabStopsInOrderAndWrap) {
  A->SetFocus();
  EXPECT_TRUE(A->Focused());
  Tab();
  EXPECT_TRUE(B->Focused());  // inside the panel, between A and C
  Tab();
  EXPECT_TRUE(C->Focused());
  Tab();
  EXPECT_TRUE(A->Focused());
  Tab(true);
  EXPECT_TRUE(C->Focused());
  EXPECT_THAT(Log, ElementsAre("A enter", "A exit", "B enter", "B exit", "C enter", "C exit",
                               "A enter", "A key 16", "A exit", "C enter"));

  C->SetTabOrder(0);
  B->SetEnabled(false);
  A->SetFocus();
  Tab();
  EXPECT_TRUE(C->Focused());  // B is disabled; C went to the front of the order
  Tab();
  EXPECT_TRUE(A->Focused());
}

TEST(FirstFocus, AShownFormFocusesItsActiveControlElseItsFirstTabStop) {
  enum TSetup { Plain, FirstDisabled, ActiveSet, Reordered, NoTabStops };
  const struct {
    TSetup Setup;
    const char* Focused;
  } Cases[] = {
      {Plain, "A"}, {FirstDisabled, "B"}, {ActiveSet, "C"}, {Reordered, "C"}, {NoTabStops, ""}};
  for (const auto& Case : Cases) {
    TDriver D;
    std::vector<std::string> Log;
    auto* Form = new TForm(nullptr);
    auto* A = new TKeyField(Form, "A", &Log);
    auto* Panel = new TCustomControl(Form);
    Panel->SetParent(Form);
    auto* B = new TKeyField(Panel, "B", &Log);
    auto* C = new TKeyField(Form, "C", &Log);
    if (Case.Setup == FirstDisabled) A->SetEnabled(false);
    if (Case.Setup == ActiveSet) Form->SetActiveControl(C);
    if (Case.Setup == Reordered) C->SetTabOrder(0);
    if (Case.Setup == NoTabStops)
      for (TKeyField* F : {A, B, C}) F->SetTabStop(false);
    Form->Show();
    const TWinControl* Active = Form->GetActiveControl();
    EXPECT_EQ(Active ? Active->GetName() : "", Case.Focused) << int(Case.Setup);
    D.Press(*Form, 'X', "x");
    if (Active) {
      EXPECT_TRUE(Active->Focused());
      EXPECT_EQ(static_cast<const TKeyField*>(Active)->Typed, "x");
    }
    delete Form;
  }
}

TEST_F(FocusTest, ControlsThatCannotTakeTheFocusIgnoreSetFocus) {
  B->SetVisible(false);
  B->SetFocus();
  EXPECT_EQ(Form->GetActiveControl(), A);  // the first tab stop, since the form was shown
  auto* Loose = new TKeyField(nullptr, "Loose", &Log);
  Loose->SetFocus();
  EXPECT_FALSE(Loose->Focused());
  delete Loose;
  A->SetFocus();
  A->SetVisible(false);
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  C->SetFocus();
  delete C;
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  D.Press(*Form, 'X', "x");  // goes to the form; nothing breaks
}

TEST_F(FocusTest, KeysGoToTheFocusedControlWithThePreviewFirst) {
  A->WantTab = true;
  A->SetFocus();
  Log.clear();
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) {
    Log.push_back("form key " + std::to_string(Key));
    if (Key == vk::F1) Key = 0;
  };
  D.Type(*Form, "aB");
  Tab();  // wanted by A: no focus move
  D.Press(*Form, vk::F1);
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(A->Typed, "aB\t");
  EXPECT_THAT(Log, ElementsAre("form key 65", "A key 65", "form key 16", "A key 16", "form key 66",
                               "A key 66+S", "form key 9", "A key 9", "form key 112"));
}

TEST_F(FocusTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto* Ok = new TButton(Form);
  Ok->SetParent(Form);
  Ok->SetDefault(true);
  auto* Cancel = new TButton(Form);
  Cancel->SetParent(Form);
  Cancel->SetCancel(true);
  int Oks = 0, Cancels = 0;
  Ok->OnClick = [&](TObject*) { ++Oks; };
  Cancel->OnClick = [&](TObject*) { ++Cancels; };
  A->SetFocus();
  D.Press(*Form, vk::Return, "\r");
  D.Press(*Form, vk::Escape, "\x1b");
  EXPECT_EQ(Oks, 1);
  EXPECT_EQ(Cancels, 1);
  EXPECT_TRUE(A->Focused());
  // A focused button takes Enter itself, and Space clicks on release.
  Cancel->SetFocus();
  D.Press(*Form, vk::Return, "\r");
  D.KeyDown(*Form, vk::Space, " ");
  EXPECT_EQ(Cancels, 2);
  D.KeyUp(*Form, vk::Space);
  EXPECT_EQ(Cancels, 3);
  EXPECT_EQ(Oks, 1);
}

TEST_F(FocusTest, WindowActivationGivesAndTakesTheKeyboardFocus) {
  A->SetFocus();
  D.WindowEvent(*Form, THostEventKind::FocusOut);
  EXPECT_FALSE(A->Focused());
  EXPECT_EQ(Form->GetActiveControl(), A);
  D.WindowEvent(*Form, THostEventKind::FocusIn);
  EXPECT_TRUE(A->Focused());
}

}  // namespace
}  // namespace kvl
