// TSpeedButton driven as a person would: groups, where a release clicks, presses that never
// click, the flat look, glyph cells and placement, and reviewed pictures of each state.
#include "kvl/platform/buttons.h"

#include <gtest/gtest.h>

#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

const TColor Highlight = ColorToRGB(clBtnHighlight);
const TColor Shadow = ColorToRGB(clBtnShadow);

// Square cells of side S in the given colours; the bottom row is transparent (fuchsia).
TBitmap CellGlyph(int S, std::initializer_list<TColor> Colors) {
  TBitmap B(S * static_cast<int>(Colors.size()), S);
  TCanvas& C = *B.GetCanvas();
  int X = 0;
  for (TColor Color : Colors) {
    C.GetBrush().SetColor(Color);
    C.FillRect(Rect(X, 0, X + S, S - 1));
    X += S;
  }
  C.GetBrush().SetColor(clFuchsia);
  C.FillRect(Rect(0, S - 1, B.GetWidth(), S));
  return B;
}

// Ends its own work when the pointer leaves by releasing itself, as the repeating button does.
class TLeaveReleases : public TSpeedButton {
public:
  using TSpeedButton::TSpeedButton;
  void MouseLeave() override {
    TSpeedButton::MouseLeave();
    MouseUp(mbLeft, 0, 0, 0);
  }
};

class SpeedButtonTest : public TControlTest<TLeaveReleases> {
protected:
  TSpeedButton* B = nullptr;
  int Clicks = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Form->Show();
    Ctl->SetBounds(100, 100, 40, 24);
    B = Add(Form, 20, 0);
  }
  TSpeedButton* Add(TWinControl* Parent, int Left, int Group) {
    auto* S = new TSpeedButton(Form);
    S->SetParent(Parent);
    S->SetBounds(Left, 20, 60, 24);
    S->SetCaption("Go");
    S->SetGroupIndex(Group);
    S->OnClick = [this](TObject*) { ++Clicks; };
    return S;
  }
  TColor At(int X, int Y) { return PixelOf(D.Capture(*B), X, Y); }
  // The outer top-left pixel is black on a sunken face.
  bool LooksIn(TControl& C) { return PixelOf(D.Capture(C), 0, 0) == clBlack; }
};

TEST_F(SpeedButtonTest, AGroupKeepsOneButtonDown) {
  TSpeedButton* A = Add(Form, 100, 1);
  TSpeedButton* Bt = Add(Form, 200, 1);
  TSpeedButton* Other = Add(Form, 300, 2);
  auto* Panel = new TCustomControl(Form);
  Panel->SetParent(Form);
  Panel->SetBounds(400, 0, 100, 50);
  TSpeedButton* Elsewhere = Add(Panel, 0, 1);
  Other->SetDown(true);
  Elsewhere->SetDown(true);
  bool DownInHandler = false;
  Bt->OnClick = [&](TObject*) { DownInHandler = Bt->GetDown(); };
  D.Click(*A, 5, 5);
  D.AdvanceTime(600);
  D.Click(*Bt, 5, 5);
  EXPECT_TRUE(DownInHandler);
  EXPECT_FALSE(A->GetDown());
  EXPECT_TRUE(Other->GetDown() && Elsewhere->GetDown()) << "other group, other parent";
  // Without AllowAllUp the last one stays down, by click and by program.
  D.Click(*Bt, 5, 5);
  Bt->SetDown(false);
  EXPECT_TRUE(Bt->GetDown());
  // AllowAllUp spreads to the group, and then the last one can come up.
  A->SetAllowAllUp(true);
  EXPECT_TRUE(Bt->GetAllowAllUp());
  EXPECT_FALSE(Other->GetAllowAllUp());
  D.Click(*Bt, 5, 5);
  EXPECT_FALSE(A->GetDown() || Bt->GetDown());
  // Ungrouped buttons never stay down; a program's Click only fires the event.
  B->SetDown(true);
  D.Click(*B, 5, 5);
  A->Click();
  EXPECT_FALSE(B->GetDown() || A->GetDown());
  EXPECT_EQ(Clicks, 3);
}

TEST_F(SpeedButtonTest, ClicksOnlyWhenReleasedInside) {
  D.MouseDown(*B, 5, 5);
  EXPECT_TRUE(LooksIn(*B));
  D.MouseMove(*B, 100, 5);
  EXPECT_FALSE(LooksIn(*B));
  D.MouseUp(*B, 100, 5);
  D.MouseMove(*B, 5, 5);
  EXPECT_FALSE(LooksIn(*B)) << "no hold left after a release outside";
  D.MouseDown(*Form, 5, 5);
  D.MouseUp(*B, 5, 5);
  EXPECT_EQ(Clicks, 0);
  // Out and back in while held: pressed again, and the release clicks.
  D.MouseDown(*B, 5, 5);
  D.MouseExit(*Form);
  EXPECT_FALSE(LooksIn(*B));
  D.MouseMove(*B, 30, 10);
  EXPECT_TRUE(LooksIn(*B));
  D.MouseUp(*B, 30, 10);
  EXPECT_EQ(Clicks, 1);
}

// The descendant's own release on leave, at (0, 0) inside the bounds, must not click; the
// press goes on, so coming back and releasing inside clicks as for any button.
TEST_F(SpeedButtonTest, ReleaseMadeOnLeaveDoesNotClick) {
  Ctl->OnClick = [this](TObject*) { ++Clicks; };
  D.MouseDown(*Ctl, 5, 5);
  D.MouseMove(*Ctl, -20, 5);
  D.MouseUp(*Ctl, -20, 5);
  EXPECT_EQ(Clicks, 0);
  D.AdvanceTime(600);
  D.MouseDown(*Ctl, 5, 5);
  D.MouseMove(*Ctl, 60, 5);
  D.MouseMove(*Ctl, 5, 5);
  EXPECT_TRUE(LooksIn(*Ctl));
  D.MouseUp(*Ctl, 5, 5);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(LooksIn(*Ctl));
}

TEST_F(SpeedButtonTest, RightAndDisabledPressesNeverClick) {
  B->SetGroupIndex(1);
  D.Click(*B, 5, 5, mbRight);
  EXPECT_FALSE(B->GetDown());
  B->SetEnabled(false);
  D.Click(*B, 5, 5);
  B->Click();
  // Disabled while held: the release does not click.
  B->SetEnabled(true);
  D.AdvanceTime(600);
  D.MouseDown(*B, 5, 5);
  B->SetEnabled(false);
  EXPECT_FALSE(LooksIn(*B));
  D.MouseUp(*B, 5, 5);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(B->GetDown());
}

TEST_F(SpeedButtonTest, FlatShowsItsBevelOnlyUnderThePointer) {
  B->SetFlat(true);
  Form->SetColor(clTeal);
  EXPECT_EQ(At(0, 0), clTeal);
  D.MouseMove(*B, 5, 5);
  EXPECT_EQ(At(59, 23), Shadow);
  D.MouseDown(*B, 5, 5);
  EXPECT_EQ(At(0, 0), Shadow) << "sunk in while held";
  D.MouseUp(*B, 5, 5);
  D.MouseMove(*B, 100, 5);
  EXPECT_EQ(At(59, 23), clTeal);
}

TEST_F(SpeedButtonTest, GlyphCellsFollowTheState) {
  B->SetCaption("");
  B->SetGroupIndex(1);
  B->SetAllowAllUp(true);
  B->SetGlyph(CellGlyph(8, {clRed, clLime, clBlue, clYellow}));
  // The cell is centred at (26, 8); its transparent bottom row shows the face.
  EXPECT_EQ(At(30, 10), clRed);
  EXPECT_EQ(At(30, 15), ColorToRGB(clBtnFace));
  D.MouseDown(*B, 5, 5);
  EXPECT_EQ(At(31, 11), clBlue);
  D.MouseUp(*B, 5, 5);
  EXPECT_EQ(At(31, 11), clYellow);
  B->SetEnabled(false);
  EXPECT_EQ(At(31, 11), clLime);
  // Three cells: latched shows the pressed one. One cell: disabled shows it etched.
  B->SetGlyph(CellGlyph(8, {clRed, clLime, clBlue}));
  B->SetEnabled(true);
  EXPECT_EQ(At(31, 11), clBlue);
  B->SetGlyph(CellGlyph(8, {clRed}));
  B->SetDown(false);
  B->SetEnabled(false);
  EXPECT_EQ(At(30, 10), Shadow);
  EXPECT_EQ(At(34, 15), Highlight);
  // The margin counts from the glyph's side.
  B->SetEnabled(true);
  B->SetMargin(3);
  B->SetLayout(blGlyphRight);
  EXPECT_EQ(At(56, 10), clRed);
  EXPECT_NE(At(57, 10), clRed);
}

// Reviewed pictures: raised, latched, disabled, flat hovered, and an arrow glyph (dark
// outline, light fill) beside the caption, and above it latched down.
TEST_F(SpeedButtonTest, Pictures) {
  const auto Shoot = [this](const char* Name) {
    EXPECT_TRUE(MatchesGolden(D.Capture(*B), std::string("testdata/speedbutton_") + Name + ".png"));
  };
  TBitmap Arrow(16, 16);
  TCanvas& C = *Arrow.GetCanvas();
  C.GetBrush().SetColor(clFuchsia);
  C.FillRect(Rect(0, 0, 16, 16));
  C.GetBrush().SetColor(clYellow);
  C.GetPen().SetColor(clNavy);
  const TPoint Points[] = {{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}};
  C.Polygon(Points);
  B->SetBounds(20, 20, 75, 25);
  B->SetCaption("Start");
  Shoot("up");
  B->SetGroupIndex(1);
  B->SetDown(true);
  Shoot("down");
  B->SetAllowAllUp(true);
  B->SetDown(false);
  B->SetEnabled(false);
  Shoot("disabled");
  B->SetEnabled(true);
  B->SetFlat(true);
  D.MouseMove(*B, 5, 5);
  Shoot("flat_hover");
  D.MouseMove(*B, 200, 5);
  B->SetFlat(false);
  B->SetGlyph(Arrow);
  Shoot("glyph");
  B->SetDown(true);
  B->SetLayout(blGlyphTop);
  B->SetBounds(20, 20, 50, 44);
  Shoot("glyph_top_down");
}

}  // namespace
}  // namespace kvl
