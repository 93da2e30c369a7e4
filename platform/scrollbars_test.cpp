#include "kvl/platform/scrollbars.h"

#include <gtest/gtest.h>

#include <vector>

#include "kvl/platform/relief.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

// A control with a vertical bar in its non-client area that scrolls as its owner would, and
// records the codes and every client mouse event.
class TBarOwner : public TCustomControl {
public:
  explicit TBarOwner(TComponent* AOwner) : TCustomControl(AOwner), Bar(*this, sbVertical) {
    SetBorderInset(2);
    SetScrollBarInsets(TScrollBarPart::Thickness, 0);
    Bar.SetParams(0, 100, 10);
    Bar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) {
      Codes.push_back(Code);
      const std::int64_t P = Bar.GetPosition();
      if (Code == scLineUp) Bar.SetPosition(P - 1);
      if (Code == scLineDown) Bar.SetPosition(P + 1);
      if (Code == scPageUp) Bar.SetPosition(P - 10);
      if (Code == scPageDown) Bar.SetPosition(P + 10);
      if (Code == scPosition) Bar.SetPosition(Pos);
    };
  }
  void SetBounds(int L, int T, int W, int H) override {
    TCustomControl::SetBounds(L, T, W, H);
    Bar.SetBounds(Rect(W - 2 - TScrollBarPart::Thickness, 2, W - 2, H - 2));
  }
  void NonClientMouseDown(TMouseButton, TShiftState, int X, int Y) override { Bar.MouseDown(X, Y); }
  void NonClientMouseMove(TShiftState, int X, int Y) override { Bar.MouseMove(X, Y); }
  void NonClientMouseUp(TMouseButton, TShiftState, int X, int Y) override { Bar.MouseUp(X, Y); }
  void MouseDown(TMouseButton, TShiftState, int, int) override { ++ClientEvents; }
  void MouseMove(TShiftState, int, int) override { ++ClientEvents; }
  void MouseUp(TMouseButton, TShiftState, int, int) override { ++ClientEvents; }
  void PaintBorder(TCanvas& C) override {
    DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
    Bar.Paint(C);
  }

  TScrollBarPart Bar;
  std::vector<TScrollCode> Codes;
  int ClientEvents = 0;
};

class ScrollBarTest : public TControlTest<TBarOwner> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 100, 204);
  }
  // Client coordinates of a point of the bar (control coordinates X, Y).
  int CX(int X) { return X - 2; }
  int CY(int Y) { return Y - 2; }
};

TEST_F(ScrollBarTest, GeometryAndClientArea) {
  EXPECT_EQ(Ctl->GetClientWidth(), 100 - 4 - 17);
  EXPECT_EQ(Ctl->GetClientHeight(), 200);
  const auto G = Ctl->Bar.GetGeometry();
  EXPECT_EQ(G.LineUp, Rect(81, 2, 98, 19));
  EXPECT_EQ(G.LineDown, Rect(81, 185, 98, 202));
  // Track 166 pixels; page 10 of 111 positions.
  EXPECT_EQ(G.Thumb.Height(), 15);
  EXPECT_EQ(G.Thumb.Top, 19);
  Ctl->Bar.SetPosition(100);
  EXPECT_EQ(Ctl->Bar.GetGeometry().Thumb.Bottom, 185);
  // A huge range keeps a thumb of at least 8 pixels and maps its ends exactly.
  Ctl->Bar.SetParams(0, 9999999999LL, 10);
  Ctl->Bar.SetPosition(9999999999LL);
  EXPECT_EQ(Ctl->Bar.GetGeometry().Thumb, Rect(81, 177, 98, 185));
}

TEST_F(ScrollBarTest, ArrowRepeatsWhileHeldOverIt) {
  D.MouseDown(*Ctl, CX(85), CY(190));
  EXPECT_EQ(Ctl->Bar.GetPosition(), 1);
  D.AdvanceTime(399);
  EXPECT_EQ(Ctl->Bar.GetPosition(), 1);
  D.AdvanceTime(1);
  EXPECT_EQ(Ctl->Bar.GetPosition(), 2);
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->Bar.GetPosition(), 4);
  D.MouseMove(*Ctl, CX(85), CY(100));  // away from the arrow: paused
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->Bar.GetPosition(), 4);
  D.MouseUp(*Ctl, CX(85), CY(100));
  D.AdvanceTime(500);
  EXPECT_EQ(Ctl->Bar.GetPosition(), 4);
  EXPECT_EQ(Ctl->Codes.back(), scEndScroll);
  EXPECT_EQ(Ctl->ClientEvents, 0);
}

TEST_F(ScrollBarTest, TrackPagesUntilThumbReachesPointer) {
  D.MouseDown(*Ctl, CX(85), CY(120));
  EXPECT_EQ(Ctl->Bar.GetPosition(), 10);
  D.AdvanceTime(2000);
  const auto G = Ctl->Bar.GetGeometry();
  EXPECT_LE(G.Thumb.Top, 120);
  EXPECT_GT(G.Thumb.Bottom + 15, 120);
  const std::int64_t Stopped = Ctl->Bar.GetPosition();
  D.AdvanceTime(500);
  EXPECT_EQ(Ctl->Bar.GetPosition(), Stopped);
  D.MouseUp(*Ctl, CX(85), CY(120));
}

TEST_F(ScrollBarTest, ThumbDragTracksAndSetsOnRelease) {
  D.MouseDown(*Ctl, CX(85), CY(25));
  D.MouseMove(*Ctl, CX(85), CY(300));  // beyond the end: the last position
  EXPECT_EQ(Ctl->Bar.GetPosition(), 0);
  EXPECT_EQ(Ctl->Codes.back(), scTrack);
  EXPECT_EQ(Ctl->Bar.GetGeometry().Thumb.Bottom, 185);
  D.MouseUp(*Ctl, CX(85), CY(300));
  EXPECT_EQ(Ctl->Bar.GetPosition(), 100);
  EXPECT_EQ(Ctl->Codes, (std::vector<TScrollCode>{scTrack, scPosition, scEndScroll}));
}

TEST_F(ScrollBarTest, Pictures) {
  // Start, middle with the lower page held, end, and disabled.
  std::vector<TBitmap> Shots;
  Ctl->Bar.SetPosition(0);
  Shots.push_back(D.Capture(*Ctl));
  Ctl->Bar.SetPosition(50);
  D.MouseDown(*Ctl, CX(85), CY(170));
  Shots.push_back(D.Capture(*Ctl));
  D.MouseUp(*Ctl, CX(85), CY(170));
  Ctl->Bar.SetPosition(100);
  D.MouseDown(*Ctl, CX(85), CY(5));
  Shots.push_back(D.Capture(*Ctl));
  D.MouseUp(*Ctl, CX(85), CY(5));
  Ctl->Bar.SetEnabled(false);
  Shots.push_back(D.Capture(*Ctl));
  TBitmap All;
  All.SetSize(4 * 104, 204);
  for (int I = 0; I < 4; ++I)
    All.GetCanvas()->Draw(I * 104, 0, Shots[std::size_t(I)]);
  EXPECT_TRUE(MatchesGolden(All, "testdata/scrollbar_states.png"));
}

}  // namespace
}  // namespace kvl
