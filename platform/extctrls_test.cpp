#include "kvl/platform/extctrls.h"

#include <gtest/gtest.h>

#include "kvl/platform/comctrls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/text.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class GroupBoxTest : public TControlTest<TGroupBox> {};

TEST_F(GroupBoxTest, ClientAreaLiesInsideTheFrameAndClipsChildren) {
  Ctl->SetBounds(10, 10, 185, 105);
  Ctl->SetCaption("Options");
  const int Top = GetFontMetrics(Ctl->GetFont()).Height + 2;
  EXPECT_EQ(Ctl->GetClientRect(), Rect(2, Top, 183, 103));
  auto* Fill = new TPanel(Form);
  Fill->SetParent(Ctl);
  Fill->SetBevelOuter(bvNone);
  Fill->SetColor(clRed);
  Fill->SetAlign(alClient);
  EXPECT_EQ(Fill->GetBoundsRect(), Ctl->GetClientRect());
  // Aligned children follow a resize of the box.
  Ctl->SetBounds(10, 10, 150, 80);
  EXPECT_EQ(Fill->GetBoundsRect(), Rect(2, Top, 148, 78));
  // A child placed over the frame is cut at the client area; the frame stays.
  Fill->SetAlign(alNone);
  Fill->SetBounds(0, 0, 150, 80);
  const TBitmap Shot = D.Capture(*Ctl);
  EXPECT_NE(PixelOf(Shot, 0, 40), clRed);
  EXPECT_NE(PixelOf(Shot, 4, Top - 1), clRed);
  EXPECT_EQ(PixelOf(Shot, 2, Top), clRed);
  EXPECT_EQ(PixelOf(Shot, 147, 77), clRed);
  EXPECT_EQ(PixelOf(Shot, 0, 40), ColorToRGB(clBtnShadow));
}

TEST_F(GroupBoxTest, DisablingTheBoxDisablesWhatItHolds) {
  const auto MakeButton = [this](TWinControl* Parent, int Left, int Top) {
    auto* B = new TButton(Form);
    B->SetParent(Parent);
    B->SetBounds(Left, Top, 75, 25);
    B->SetCaption("Go");
    return B;
  };
  Ctl->SetBounds(0, 0, 185, 105);
  TButton* Inside = MakeButton(Ctl, 20, 30);
  TButton* Alone = MakeButton(Form, 300, 30);
  int Clicks = 0;
  Inside->OnClick = [&](TObject*) { ++Clicks; };
  Ctl->SetEnabled(false);
  Alone->SetEnabled(false);
  EXPECT_TRUE(SamePicture(D.Capture(*Inside), D.Capture(*Alone)));
  D.Click(*Inside, 10, 10);
  EXPECT_EQ(Clicks, 0);
  Ctl->SetEnabled(true);
  D.AdvanceTime(1000);
  D.Click(*Inside, 10, 10);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(SamePicture(D.Capture(*Inside), D.Capture(*Alone)));
}

class PanelTest : public TControlTest<TPanel> {};

TEST_F(PanelTest, BevelsAndBordersShrinkTheClientArea) {
  struct Row {
    TBevelCut Outer, Inner;
    int BevelWidth, BorderWidth;
    TBorderStyle Style;
    int Inset;
    TColor TopLeft, BottomRight;  // the outermost pixels
  };
  const TColor Face = clBtnFace, Hi = clBtnHighlight, Sh = clBtnShadow;
  const Row Rows[] = {
      {bvRaised, bvNone, 1, 0, bsNone, 1, Hi, Sh},       // the default
      {bvNone, bvNone, 1, 0, bsNone, 0, Face, Face},     //
      {bvLowered, bvNone, 1, 0, bsNone, 1, Sh, Hi},      //
      {bvSpace, bvNone, 2, 0, bsNone, 2, Face, Face},    //
      {bvLowered, bvRaised, 2, 3, bsNone, 7, Sh, Hi},    // both bevels and a border
      {bvNone, bvLowered, 1, 2, bsNone, 3, Face, Face},  // only the inner bevel
      {bvRaised, bvNone, 1, 0, bsSingle, 3, Sh, Hi},     // the sunken frame outside
  };
  Ctl->SetBounds(0, 0, 100, 60);
  auto* Child = new TPanel(Form);
  Child->SetParent(Ctl);
  Child->SetBevelOuter(bvNone);
  Child->SetAlign(alClient);
  for (const Row& R : Rows) {
    Ctl->SetBevelOuter(R.Outer);
    Ctl->SetBevelInner(R.Inner);
    Ctl->SetBevelWidth(R.BevelWidth);
    Ctl->SetBorderWidth(R.BorderWidth);
    Ctl->SetBorderStyle(R.Style);
    const TRect Inner = Rect(R.Inset, R.Inset, 100 - R.Inset, 60 - R.Inset);
    EXPECT_EQ(Ctl->GetClientRect(), Inner) << "inset " << R.Inset;
    EXPECT_EQ(Child->GetBoundsRect(), Inner) << "inset " << R.Inset;
    const TBitmap Shot = D.Capture(*Ctl);
    EXPECT_EQ(PixelOf(Shot, 0, 0), ColorToRGB(R.TopLeft)) << "inset " << R.Inset;
    EXPECT_EQ(PixelOf(Shot, 99, 59), ColorToRGB(R.BottomRight)) << "inset " << R.Inset;
  }
}

// Panels of each bevel, bevels of each shape and style, a group box and an up-down on an edit.
TEST(PanelsPicture, MatchesGolden) {
  TDriver D;
  auto* Form = new TForm(nullptr);
  Form->SetBounds(0, 0, 520, 250);
  const TBevelCut Cuts[] = {bvNone, bvLowered, bvRaised, bvSpace};
  for (int I = 0; I < 4; ++I) {
    auto* P = new TPanel(Form);
    P->SetParent(Form);
    P->SetBounds(8 + I * 126, 8, 118, 41);
    P->SetBevelOuter(Cuts[I]);
    P->SetBevelInner(Cuts[3 - I]);
    P->SetBevelWidth(2);
    P->SetBorderWidth(I == 3 ? 2 : 0);
    P->SetBorderStyle(I == 1 ? bsSingle : bsNone);
    P->SetAlignment(static_cast<TAlignment>(I % 3));
    P->SetCaption("Panel " + std::to_string(I));
  }
  for (int I = 0; I < 14; ++I) {
    auto* B = new TBevel(Form);
    B->SetParent(Form);
    B->SetBounds(8 + I * 36, 60, 30, 30);
    B->SetShape(static_cast<TBevelShape>(I % 7));
    B->SetStyle(I < 7 ? bsLowered : bsRaised);
  }
  auto* G = new TGroupBox(Form);
  G->SetParent(Form);
  G->SetBounds(8, 100, 185, 105);
  G->SetCaption("Group box");
  auto* E = new TEdit(G);
  E->SetParent(G);
  E->SetBounds(12, 30, 80, 21);
  auto* U = new TUpDown(G);
  U->SetAssociate(E);
  U->SetPosition(42);
  auto* H = new TUpDown(Form);
  H->SetParent(Form);
  H->SetOrientation(udHorizontal);
  H->SetBounds(210, 110, 34, 17);
  H->SetEnabled(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/panels_bevels.png"));
  delete Form;
}

}  // namespace
}  // namespace kvl
