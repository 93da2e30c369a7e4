// List boxes driven as a person would: selection by mouse, keys and type-ahead, multi-select
// gestures, scrolling, items changed under the selection, and the owner-draw contract.
#include "kvl/platform/listbox.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class ListBoxTest : public TControlTest<TListBox> {
protected:
  int Clicks = 0;
  int Row = 0;  // item height
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 121, 97);
    for (const char* S : {"apple", "banana", "blueberry", "cherry", "date", "elder", "fig",
                          "grape", "kiwi", "lemon", "mango", "nut"})
      Ctl->GetItems()->Add(S);
    Ctl->OnClick = [this](TObject*) { ++Clicks; };
    Form->Show();
    Ctl->SetFocus();
    Row = Ctl->GetItemHeight();
  }
  int YOf(int Index) { return (Index - Ctl->GetTopIndex()) * Row + Row / 2; }
  void WithKey(std::uint16_t Modifier, const std::function<void()>& Act) {
    D.KeyDown(*Form, Modifier);
    Act();
    D.KeyUp(*Form, Modifier);
  }
};

TEST_F(ListBoxTest, SingleSelectionByMouseKeysAndTypeAhead) {
  const int Page = Ctl->GetClientHeight() / Row;
  struct TCase {
    const char* Name;
    std::function<void()> Act;
    int Index;
    int Clicks;
  };
  const TCase Cases[] = {
      {"click", [&] { D.Click(*Ctl, 20, YOf(2)); }, 2, 1},
      {"click on the same row again", [&] { D.Click(*Ctl, 20, YOf(2)); }, 2, 0},
      {"drag through rows, one click at the release",
       [&] {
         D.MouseDown(*Ctl, 20, YOf(0));
         D.MouseMove(*Ctl, 20, YOf(1));
         D.MouseMove(*Ctl, 20, YOf(3));
         D.MouseUp(*Ctl, 20, YOf(3));
       },
       3, 1},
      {"down", [&] { D.Press(*Form, vk::Down); }, 4, 1},
      {"end", [&] { D.Press(*Form, vk::End); }, 11, 1},
      {"end again", [&] { D.Press(*Form, vk::End); }, 11, 0},
      {"home then page down", [&] { D.Press(*Form, vk::Home), D.Press(*Form, vk::Next); },
       Page - 1, 2},
      {"type-ahead 'bl'", [&] { D.Type(*Form, "bl"); }, 2, 2},
      {"program write", [&] { Ctl->SetItemIndex(7); }, 7, 0},
      {"below the last row", [&] { Ctl->SetTopIndex(100), D.Click(*Ctl, 20, 500); }, 7, 0},
  };
  Ctl->SetItemIndex(0);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clicks = 0;
    D.AdvanceTime(2000);
    C.Act();
    EXPECT_EQ(Ctl->GetItemIndex(), C.Index);
    EXPECT_EQ(Clicks, C.Clicks);
  }
  // The selection is kept in view.
  Ctl->SetTopIndex(0);
  D.Press(*Form, vk::End);
  EXPECT_EQ(Ctl->GetTopIndex(), 12 - Page);
}

TEST_F(ListBoxTest, ExtendedMultiSelect) {
  Ctl->SetMultiSelect(true);
  const auto Selection = [&] {
    std::string S;
    for (int I = 0; I < Ctl->GetCount(); ++I) S += Ctl->GetSelected(I) ? 'x' : '.';
    return S;
  };
  D.Click(*Ctl, 20, YOf(1));
  WithKey(vk::Shift, [&] { D.Click(*Ctl, 20, YOf(3)); });
  EXPECT_EQ(Selection(), ".xxx........");
  WithKey(vk::Control, [&] { D.Click(*Ctl, 20, YOf(5)); });
  WithKey(vk::Control, [&] { D.Click(*Ctl, 20, YOf(2)); });
  EXPECT_EQ(Selection(), ".x.x.x......");
  EXPECT_EQ(Ctl->GetSelCount(), 3);
  // Ctrl with arrows moves the focus only; Ctrl+Space toggles there.
  WithKey(vk::Control, [&] { D.Press(*Form, vk::Down), D.Press(*Form, vk::Down); });
  EXPECT_EQ(Ctl->GetItemIndex(), 4);
  WithKey(vk::Control, [&] { D.Press(*Form, vk::Space, " "); });
  EXPECT_EQ(Selection(), ".x.xxx......");
  // Shift with arrows extends from the anchor (the last Ctrl+Space).
  WithKey(vk::Shift, [&] { D.Press(*Form, vk::Down), D.Press(*Form, vk::Down); });
  EXPECT_EQ(Selection(), "....xxx.....");
  D.Press(*Form, vk::Home);
  EXPECT_EQ(Selection(), "x...........");
  Ctl->SelectAll();
  EXPECT_EQ(Ctl->GetSelCount(), 12);
  Ctl->ClearSelection();
  EXPECT_EQ(Ctl->GetSelCount(), 0);
  EXPECT_EQ(Clicks, 8);
}

TEST_F(ListBoxTest, ItemsChangingUnderTheSelection) {
  Ctl->SetItemIndex(5);  // elder
  Ctl->GetItems()->Delete(1);
  Ctl->GetItems()->Insert(0, "aa");
  EXPECT_EQ((*Ctl->GetItems())[Ctl->GetItemIndex()], "elder");
  Ctl->GetItems()->Delete(Ctl->GetItemIndex());
  EXPECT_EQ(Ctl->GetItemIndex(), -1);
  // A handler that empties the list while its click is delivered.
  Ctl->OnClick = [&](TObject*) { Ctl->GetItems()->Clear(); };
  D.Click(*Ctl, 20, YOf(3));
  EXPECT_EQ(Ctl->GetCount(), 0);
  EXPECT_EQ(Ctl->GetItemIndex(), -1);
  D.Press(*Form, vk::Down);
  D.Type(*Form, "a");
  // Sorted lists keep duplicates; a batch of adds sorts once.
  Ctl->OnClick = nullptr;
  Ctl->SetSorted(true);
  Ctl->GetItems()->BeginUpdate();
  for (const char* S : {"b", "A", "a", "c", "B"}) Ctl->GetItems()->Add(S);
  Ctl->GetItems()->EndUpdate();
  EXPECT_EQ(Ctl->GetItems()->GetCommaText(), "A,a,b,B,c");
  // Bad values.
  for (const int Bad : {-2, 5, INT_MAX}) {
    Ctl->SetItemIndex(Bad);
    EXPECT_EQ(Ctl->GetItemIndex(), -1) << Bad;
  }
  const int Heights[][2] = {{0, 1}, {-7, 1}, {INT_MAX, 1000}, {18, 18}};
  for (const auto& H : Heights) {
    Ctl->SetItemHeight(H[0]);
    EXPECT_EQ(Ctl->GetItemHeight(), H[1]);
  }
  for (const int W : {0, 30000}) {
    Ctl->SetBounds(0, 0, W, W ? 50 : 0);
    D.Capture(*Ctl);
    EXPECT_EQ(Ctl->ItemAtPos({W / 2, 5}, true), W ? 0 : -1);
  }
}

TEST_F(ListBoxTest, ScrollingCostsTheShownRows) {
  Ctl->GetItems()->BeginUpdate();
  for (int I = 0; I < 100000; ++I) Ctl->GetItems()->Add("item " + std::to_string(I));
  Ctl->GetItems()->EndUpdate();
  const int Page = Ctl->GetClientHeight() / Row;
  EXPECT_EQ(Ctl->GetClientWidth(), 121 - 4 - TScrollBarPart::Thickness);
  D.Wheel(*Ctl, 20, 20, -120);
  EXPECT_EQ(Ctl->GetTopIndex(), 3);
  D.Wheel(*Ctl, 20, 20, 240);
  EXPECT_EQ(Ctl->GetTopIndex(), 0);
  // The bar's down arrow and a thumb drag to the end.
  const TRect Bar = Rect(121 - 2 - TScrollBarPart::Thickness, 2, 121 - 2, 97 - 2);
  D.Click(*Ctl, Bar.Left + 8 - 2, Bar.Bottom - 8 - 2);
  EXPECT_EQ(Ctl->GetTopIndex(), 1);
  Ctl->SetTopIndex(INT_MAX);
  EXPECT_EQ(Ctl->GetTopIndex(), 100012 - Page);
  EXPECT_EQ(Ctl->ItemAtPos({5, 1}, true), 100012 - Page);
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetPaintedRows(), Page);
  // Whole rows plus the part of one that shows.
  Ctl->SetTopIndex(50000);
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetPaintedRows(), (Ctl->GetClientHeight() + Row - 1) / Row);
}

TEST_F(ListBoxTest, OwnerDrawContract) {
  Ctl->SetStyle(lbOwnerDrawFixed);
  Ctl->SetItemHeight(20);
  Ctl->SetColor(0x00C0FFC0);
  Ctl->SetItemIndex(1);
  struct TSeen {
    int Index;
    TRect R;
    TOwnerDrawState State;
    TColor Fill, Brush, FontColor, Pen;
  };
  std::vector<TSeen> Seen;
  Ctl->OnDrawItem = [&](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
    TCanvas& C = *Ctl->GetCanvas();
    Seen.push_back({Index, R, State, C.GetPixel(R.Left + 5, R.Top + 5), C.GetBrush().GetColor(),
                    C.GetFont().GetColor(), C.GetPen().GetColor()});
    C.GetPen().SetColor(TColor(0x000000FF + Index));  // carried to the next row
  };
  D.Capture(*Ctl);
  ASSERT_GE(Seen.size(), 3u);
  EXPECT_EQ(Seen[0].R, Rect(0, 0, Ctl->GetClientWidth(), 20));
  EXPECT_EQ(Seen[1].R.Top, 20);
  EXPECT_EQ(Seen[0].State, 0u);
  EXPECT_EQ(Seen[1].State, unsigned(odSelected | odFocused));
  EXPECT_EQ(ColorToRGB(Seen[0].Fill), 0x00C0FFC0u);
  EXPECT_EQ(Seen[0].Brush, 0x00C0FFC0u);
  EXPECT_EQ(ColorToRGB(Seen[1].Fill), ColorToRGB(clHighlight));
  EXPECT_EQ(Seen[1].FontColor, clHighlightText);
  EXPECT_EQ(Seen[0].Pen, clBlack);
  EXPECT_EQ(Seen[1].Pen, 0x000000FFu);
  EXPECT_EQ(Seen[2].Pen, 0x00000100u);
  Seen.clear();
  Ctl->SetEnabled(false);
  D.Capture(*Ctl);
  EXPECT_TRUE(Seen[0].State & odDisabled);
  EXPECT_EQ(Seen[0].Pen, clBlack);  // each paint starts with a fresh pen
}

TEST_F(ListBoxTest, Looks) {
  auto* Multi = new TListBox(Form);
  Multi->SetParent(Form);
  Multi->SetBounds(140, 10, 121, 97);
  Multi->SetMultiSelect(true);
  for (const char* S : {"one", "two", "three"}) Multi->GetItems()->Add(S);
  Multi->SetSelected(0, true);
  Multi->SetSelected(2, true);
  auto* Off = new TListBox(Form);
  Off->SetParent(Form);
  Off->SetBounds(270, 10, 121, 97);
  Off->GetItems()->Assign(Ctl->GetItems());
  Off->SetItemIndex(1);
  Off->SetEnabled(false);
  Ctl->SetItemIndex(4);
  Form->SetBounds(0, 0, 400, 120);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/listbox_states.png"));
}

}  // namespace
}  // namespace kvl
