// Popup menus driven inside their loop as a person would: mouse, keys, sub-menus, context
// menus, and menus or owners freed while open.
#include "kvl/platform/menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class MenuTest : public ::testing::Test {
protected:
  TDriver D;
  TForm* Form = nullptr;
  TCustomControl* Target = nullptr;
  TPopupMenu* Menu = nullptr;
  std::vector<std::string> Log;

  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 400, 300);
    Target = new TCustomControl(Form);
    Target->SetParent(Form);
    Target->SetBounds(10, 10, 200, 150);
    Target->SetTabStop(true);
    Target->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, int, int) {
      if (B == mbRight) Log.push_back("right down");
    };
    Target->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState, int, int) {
      if (B == mbRight) Log.push_back("right up");
    };
    Menu = new TPopupMenu(Form);
    Form->Show();
  }
  void TearDown() override { delete Form; }

  TMenuItem* Add(TMenuItem* Parent, const std::string& Caption) {
    auto* I = new TMenuItem(Form);
    I->SetCaption(Caption);
    I->OnClick = [this, Caption](TObject*) {
      Log.push_back(ParseMenuCaption(Caption).Text +
                    (Application->GetPopups().empty() ? " clicked" : " clicked open"));
    };
    Parent->Add(I);
    return I;
  }
  // Open, Cut, -, Paste (disabled), Size > (Small, Large)
  void Standard() {
    Add(Menu->GetItems(), "&Open");
    Add(Menu->GetItems(), "Cu&t");
    Add(Menu->GetItems(), "-");
    Add(Menu->GetItems(), "&Paste")->SetEnabled(false);
    TMenuItem* Size = Add(Menu->GetItems(), "&Size");
    Add(Size, "S&mall");
    Add(Size, "&Large");
  }
  TMenuWindow& Top() { return *static_cast<TMenuWindow*>(D.TopPopup()); }
  TPoint RowCentre(TMenuWindow& W, int Row) {
    const TRect R = W.GetRowRect(Row);
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void ClickRow(int Row) {
    const TPoint P = RowCentre(Top(), Row);
    D.Click(Top(), P.X, P.Y);
  }
};

TEST_F(MenuTest, ClickRunsOnClickAfterTheMenuClosedAndBeforePopupReturns) {
  Standard();
  Menu->OnPopup = [this](TObject*) {
    Log.push_back("popup");
    EXPECT_TRUE(Application->GetPopups().empty());
  };
  D.WhenPopup([&](TPopupWindow& P) {
    const auto* W = D.Host().Window(P.GetWindow());
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->Request.Kind, TWindowKind::Menu);
    EXPECT_EQ(W->Request.Owner, Form->GetWindow());
    EXPECT_TRUE(W->Grab);
    EXPECT_EQ((TPoint{P.GetLeft(), P.GetTop()}), (TPoint{300, 200}));
    EXPECT_EQ(Form->GetActiveControl(), Form->GetActiveControl());
    ClickRow(1);
  });
  Menu->Popup(300, 200);
  Log.push_back("returned");
  EXPECT_EQ(Log, (std::vector<std::string>{"popup", "Cut clicked", "returned"}));
  EXPECT_EQ(D.Host().GetWindowCount(), 1u);
}

TEST_F(MenuTest, PlacedAtThePointAndKeptOnTheScreen) {
  Standard();
  struct TCase {
    TPoint At;
    TPopupAlignment Align;
    bool RightEdgeAtX, BottomOnScreen;
  };
  const TSize S = D.Host().ScreenSize();
  const TCase Cases[] = {{{10, 10}, paLeft, false, false},
                         {{S.cx - 5, 10}, paLeft, true, false},
                         {{10, S.cy - 5}, paLeft, false, true},
                         {{-1000000, 1000000}, paLeft, false, true},
                         {{500, 300}, paRight, true, false}};
  for (const TCase& C : Cases) {
    Menu->SetAlignment(C.Align);
    TRect Got;
    D.WhenPopup([&](TPopupWindow& P) { Got = P.GetBoundsRect(); });
    Menu->Popup(C.At.X, C.At.Y);
    EXPECT_GE(Got.Left, 0);
    EXPECT_LE(Got.Right, S.cx);
    EXPECT_LE(Got.Bottom, S.cy);
    if (C.RightEdgeAtX) {
      EXPECT_EQ(Got.Right, C.Align == paRight ? C.At.X : S.cx) << C.At.X;
    } else if (C.At.X >= 0) {
      EXPECT_EQ(Got.Left, C.At.X);
    }
    EXPECT_EQ(C.BottomOnScreen ? Got.Bottom : Got.Top, C.BottomOnScreen ? S.cy : C.At.Y);
  }
}

TEST_F(MenuTest, KeysMoveSkipSeparatorsOpenSubMenusAndChoose) {
  Standard();
  struct TCase {
    std::vector<std::uint16_t> Keys;
    std::string Typed;
    std::vector<std::string> Expected;
  };
  const TCase Cases[] = {
      {{vk::Down, vk::Down, vk::Return}, "", {"Cut clicked"}},
      // Down past the separator lands on the disabled item, which Enter cannot choose.
      {{vk::Down, vk::Down, vk::Down, vk::Return, vk::Escape}, "", {}},
      {{vk::Up, vk::Right, vk::Down, vk::Return}, "", {"Large clicked"}},
      {{vk::Up, vk::Right, vk::Left, vk::Escape}, "", {}},
      {{vk::Up, vk::Return, vk::Escape, vk::Up, vk::Up, vk::Return}, "", {"Cut clicked"}},
      {{}, "s", {}},
      {{}, "sm", {"Small clicked"}},
      {{}, "P", {}},
      {{}, "T", {"Cut clicked"}},
  };
  for (const TCase& C : Cases) {
    Log.clear();
    D.WhenPopup([&](TPopupWindow&) {
      for (std::uint16_t K : C.Keys) D.Press(*Form, K);
      for (char Ch : C.Typed) D.Type(*Form, std::string(1, Ch));
      if (!Application->GetPopups().empty()) D.Press(*Form, vk::Escape);
      if (!Application->GetPopups().empty()) D.Press(*Form, vk::Escape);
    });
    Menu->Popup(300, 200);
    EXPECT_EQ(Log, C.Expected) << C.Typed << " " << C.Keys.size();
  }
  EXPECT_TRUE(Application->GetPopups().empty());
}

TEST_F(MenuTest, MouseRulesSubMenuDelayAndTheOpeningRelease) {
  Standard();
  // The press that opens a menu under the pointer: its release chooses nothing.
  Target->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
    if (B != mbLeft) return;
    const TPoint S = Target->ClientToScreen({X, Y});
    D.WhenPopup([&](TPopupWindow&) {
      EXPECT_EQ(Application->GetCapture(), nullptr);
      D.MouseUp(*Target, X, Y);
      EXPECT_FALSE(Application->GetPopups().empty()) << "the opening release closed the menu";
      // Hovering the sub-menu item opens it after the delay, not before.
      D.MouseMove(Top(), RowCentre(Top(), 4).X, RowCentre(Top(), 4).Y);
      D.AdvanceTime(TMenuWindow::SubMenuDelay - 10);
      EXPECT_EQ(Application->GetPopups().size(), 1u);
      D.AdvanceTime(10);
      ASSERT_EQ(Application->GetPopups().size(), 2u);
      EXPECT_EQ(Top().GetItem()->GetCaption(), "&Size");
      // Back on a plain item: the sub-menu closes after the delay; a disabled item is inert.
      auto& Root = *static_cast<TMenuWindow*>(Application->GetPopups()[0]);
      D.Click(Root, RowCentre(Root, 3).X, RowCentre(Root, 3).Y);
      D.AdvanceTime(TMenuWindow::SubMenuDelay);
      EXPECT_EQ(Application->GetPopups().size(), 1u);
      EXPECT_TRUE(Log.empty());
      D.Click(Root, RowCentre(Root, 0).X, RowCentre(Root, 0).Y);
    });
    Menu->Popup(S.X, S.Y);
  };
  D.MouseDown(*Target, 20, 20);
  EXPECT_EQ(Log, std::vector<std::string>{"Open clicked"});
}

TEST_F(MenuTest, RadioGroupsAutoCheckAndCaptionsKeptAsWritten) {
  TMenuItem* Items = Menu->GetItems();
  TMenuItem* A = Add(Items, "A && B");
  TMenuItem* B = Add(Items, "&B");
  TMenuItem* C = Add(Items, "C\tx");
  TMenuItem* Other = Add(Items, "Other");
  for (TMenuItem* I : {A, B, C, Other}) {
    I->SetRadioItem(true);
    I->SetAutoCheck(true);
  }
  Other->SetGroupIndex(1);
  Other->SetChecked(true);
  A->SetChecked(true);
  B->Click();
  EXPECT_FALSE(A->GetChecked());
  EXPECT_TRUE(B->GetChecked());
  EXPECT_TRUE(Other->GetChecked());
  TMenuItem* Toggle = Add(Items, "T");
  Toggle->SetAutoCheck(true);
  Toggle->Click();
  Toggle->Click();
  EXPECT_FALSE(Toggle->GetChecked());
  EXPECT_EQ(A->GetCaption(), "A && B");
  EXPECT_EQ(Items->Find("a & b"), nullptr);
  EXPECT_EQ(Items->Find("b"), B);
  struct TCase {
    const char* Caption;
    const char* Text;
    std::size_t KeyPos;
  };
  const TCase Cases[] = {{"A && B", "A & B", std::string::npos},
                         {"Cu&t", "Cut", 2},
                         {"&&&x", "&x", 1},
                         {"end&", "end", std::string::npos}};
  for (const TCase& K : Cases) {
    EXPECT_EQ(ParseMenuCaption(K.Caption).Text, K.Text);
    EXPECT_EQ(ParseMenuCaption(K.Caption).KeyPos, K.KeyPos) << K.Caption;
  }
}

TEST_F(MenuTest, ContextMenuOnRightReleaseShiftF10AndMenuKey) {
  Standard();
  Target->SetPopupMenu(Menu);
  bool Handle = false;
  std::vector<TPoint> At;
  Target->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
    At.push_back(P);
    Handled = Handle;
  };
  TRect Bounds;
  int Opened = 0;
  const auto Script = [&](TPopupWindow& P) {
    ++Opened;
    Bounds = P.GetBoundsRect();
    EXPECT_EQ(Menu->GetPopupComponent(), Target);
    D.Press(*Form, vk::Escape);
  };
  D.WhenPopup(Script);
  D.Click(*Target, 30, 40, mbRight);
  EXPECT_EQ(Log, (std::vector<std::string>{"right down", "right up"}));
  EXPECT_EQ((TPoint{Bounds.Left, Bounds.Top}), Target->ClientToScreen({30, 40}));
  Target->SetFocus();
  D.WhenPopup(Script);
  D.KeyDown(*Form, vk::Shift);
  D.Press(*Form, vk::F10);
  D.KeyUp(*Form, vk::Shift);
  EXPECT_EQ((TPoint{Bounds.Left, Bounds.Top}), Target->ClientToScreen({4, 4}));
  D.WhenPopup(Script);
  D.Press(*Form, vk::Apps);
  Handle = true;
  D.Click(*Target, 30, 40, mbRight);
  EXPECT_EQ(Opened, 3);
  EXPECT_EQ(At, (std::vector<TPoint>{{30, 40}, {4, 4}, {4, 4}, {30, 40}}));
  Handle = false;
  Menu->SetAutoPopup(false);
  D.Click(*Target, 30, 40, mbRight);
  EXPECT_EQ(Opened, 3);
}

TEST_F(MenuTest, OutsidePressFocusLossAndHidingCloseWithoutChoice) {
  Standard();
  auto* Button = new TButton(Form);
  Button->SetParent(Form);
  Button->SetBounds(250, 200, 80, 25);
  int Clicks = 0;
  Button->OnClick = [&](TObject*) { ++Clicks; };
  const std::function<void()> Closers[] = {
      [&] { D.Click(*Button, 5, 5); },
      [&] { D.WindowEvent(*Form, THostEventKind::FocusOut); },
      [&] { Target->Hide(); },
      [&] { Form->SetEnabled(false); },
  };
  for (const auto& Close : Closers) {
    Target->Show();
    Form->SetEnabled(true);
    Menu->SetPopupComponent(Target);
    D.WhenPopup([&](TPopupWindow&) {
      Close();
      D.Settle();
      EXPECT_TRUE(Application->GetPopups().empty());
    });
    Menu->Popup(300, 200);
    EXPECT_TRUE(Log.empty());
  }
  EXPECT_EQ(Clicks, 0);
  Form->SetEnabled(true);
  D.Click(*Button, 5, 5);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(MenuTest, PopupFromAModalFormTakesInput) {
  Standard();
  TForm* Dialog = new TForm(Form);
  Dialog->SetBounds(150, 150, 200, 150);
  D.WhenModal([&](TCustomForm& F) {
    D.WhenPopup([&](TPopupWindow&) {
      D.Press(F, vk::Down);
      D.Press(F, vk::Return);
    });
    Menu->Popup(200, 200);
    D.WhenPopup([&](TPopupWindow&) { D.Click(*Target, 5, 5); });  // a locked form: nothing
    Menu->Popup(200, 200);
    static_cast<TForm&>(F).SetModalResult(mrOk);
  });
  EXPECT_EQ(Dialog->ShowModal(), mrOk);
  EXPECT_EQ(Log, std::vector<std::string>{"Open clicked"});
}

// Under the address sanitizer: nothing freed is touched.
TEST_F(MenuTest, OwnersAndMenusFreedWhileOpen) {
  Standard();
  // A timer frees the owner form, menu and all.
  Menu->SetPopupComponent(Target);
  TTimerService::TId Id = Application->GetTimers().Start(
      100,
      [&] {
        Application->GetTimers().Stop(Id);
        delete Form;
        Form = nullptr;
      },
      nullptr);
  D.WhenPopup([&](TPopupWindow&) { D.AdvanceTime(150); });
  Menu->Popup(300, 200);
  EXPECT_EQ(Form, nullptr);
  EXPECT_TRUE(Application->GetPopups().empty());

  // OnClick frees the menu.
  Form = new TForm(nullptr);
  Form->Show();
  Menu = new TPopupMenu(Form);
  Add(Menu->GetItems(), "Free")->OnClick = [&](TObject*) { delete Menu; };
  D.WhenPopup([&](TPopupWindow&) {
    D.Press(*Form, vk::Down);
    D.Press(*Form, vk::Return);
  });
  Menu->Popup(10, 10);

  // OnClick reopens its menu, three levels deep.
  Menu = new TPopupMenu(Form);
  int Depth = 0;
  Add(Menu->GetItems(), "Again")->OnClick = [&](TObject*) {
    EXPECT_TRUE(Application->GetPopups().empty());
    if (++Depth < 3) {
      D.WhenPopup([&](TPopupWindow&) {
        D.Press(*Form, vk::Down);
        D.Press(*Form, vk::Return);
      });
      Menu->Popup(10, 10);
    }
    Menu->Popup(10, 10);  // from OnClick at the deepest level: opens and closes idle
  };
  D.WhenPopup([&](TPopupWindow&) {
    Menu->Popup(10, 10);  // showing already: returns at once
    D.Press(*Form, vk::Down);
    D.Press(*Form, vk::Return);
  });
  Menu->Popup(10, 10);
  EXPECT_EQ(Depth, 3);
}

TEST_F(MenuTest, AnIdleHeadlessLoopClosesTheMenu) {
  Standard();
  auto* Edit = new TEdit(Form);
  Edit->SetParent(Form);
  Edit->SetBounds(10, 200, 100, 24);
  for (bool Caret : {false, true}) {
    if (Caret) Edit->SetFocus();  // its caret blinks: timers keep re-arming
    Menu->Popup(300, 200);
    EXPECT_TRUE(Application->GetPopups().empty());
    EXPECT_TRUE(Log.empty());
  }
  // Nothing visible to show: nothing opens, OnPopup still fires.
  int Popups = 0;
  Menu->OnPopup = [&](TObject*) { ++Popups; };
  for (int I = 0; I < Menu->GetItems()->GetCount(); ++I)
    Menu->GetItems()->GetItems(I)->SetVisible(false);
  Menu->Popup(300, 200);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(D.Host().GetWindowCount(), 1u);
  Menu->GetItems()->GetItems(0)->SetVisible(true);
  Menu->GetItems()->GetItems(0)->SetCaption(std::string(100000, 'x') + "\n\xff\xfe\t&");
  TRect Huge;
  D.WhenPopup([&](TPopupWindow& P) { Huge = P.GetBoundsRect(); });
  Menu->Popup(300, 200);
  EXPECT_EQ(Huge.Width(), D.Host().ScreenSize().cx);
}

TEST_F(MenuTest, LooksAsReviewed) {
  Standard();
  TMenuItem* Items = Menu->GetItems();
  Items->GetItems(0)->SetDefault(true);
  TMenuItem* Check = Add(Items, "&Checked");
  Check->SetChecked(true);
  TMenuItem* Radio = Add(Items, "&Radio");
  Radio->SetRadioItem(true);
  Radio->SetChecked(true);
  TBitmap Glyph;
  Glyph.SetSize(16, 16);
  Glyph.GetCanvas()->GetBrush().SetColor(clFuchsia);
  Glyph.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  Glyph.GetCanvas()->GetBrush().SetColor(clNavy);
  Glyph.GetCanvas()->FillRect(Rect(3, 3, 13, 13));
  Add(Items, "&Bitmap")->SetBitmap(&Glyph);
  Glyph.GetCanvas()->FillRect(Rect(0, 0, 16, 16));  // the item keeps its own copy
  TBitmap Shot;
  D.WhenPopup([&](TPopupWindow&) {
    for (int I = 0; I < 4; ++I) D.Press(*Form, vk::Up);  // up from the bottom to "Size"
    D.Press(*Form, vk::Right);
    TBitmap Screen = D.CaptureScreen();
    Shot.SetSize(320, 260);
    Shot.GetCanvas()->CopyRect(Rect(0, 0, 320, 260), *Screen.GetCanvas(), Rect(280, 180, 600, 440));
  });
  Menu->Popup(300, 200);
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/menu_open.png"));
}

}  // namespace
}  // namespace kvl
