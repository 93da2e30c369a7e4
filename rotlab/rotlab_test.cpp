#include "kvl/rotlab/rotlab.h"

#include <climits>
#include <cmath>

#include "kvl/core/drawing.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class RotLabTest : public TControlTest<TRotLab> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetCaption("Rotated caption");
  }
  void Opaque() {
    Ctl->SetTransparent(false);
    Ctl->SetFrameStyle(fsNone);
  }
  // The ink's box: pixels that differ from Background.
  static TRect Ink(const TBitmap& B, TColor Background) {
    TRect R{B.GetWidth(), B.GetHeight(), -1, -1};
    for (int Y = 0; Y < B.GetHeight(); ++Y)
      for (int X = 0; X < B.GetWidth(); ++X)
        if (PixelOf(B, X, Y) != Background) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R;
  }
  // The label's picture as the geometry gives it: its colour, and the caption drawn with the
  // rotated font with its cell's corner at the output point.
  TBitmap Reference(int Angle, TAlignment Align) {
    TBitmap B(Ctl->GetWidth(), Ctl->GetHeight());
    TCanvas& C = *B.GetCanvas();
    C.GetBrush().SetColor(Ctl->GetColor());
    C.FillRect(Rect(0, 0, B.GetWidth(), B.GetHeight()));
    C.SetFont(Ctl->GetFont());
    C.GetFont().SetQuality(fqAntialiased);
    const std::string& T = Ctl->GetCaption();
    const double W2 = C.TextWidth(T) / 2, H2 = C.TextHeight(T) / 2;
    const double A = Angle * M_PI / 180, S = std::sin(A), Co = std::cos(A);
    const double L = Align == taLeftJustify ? 0 : Align == taCenter ? 1 : 2;
    C.GetFont().SetOrientation(Angle * 10);
    C.GetBrush().SetStyle(bsClear);
    C.TextOut(Ctl->GetPosX() + int(std::nearbyint(-L * W2 * Co - H2 * S)),
              Ctl->GetPosY() + int(std::nearbyint(L * W2 * S - H2 * Co)), T);
    return B;
  }
};

TEST_F(RotLabTest, GeometryOfEachAlignmentAndAngle) {
  Opaque();
  for (const TAlignment Align : {taLeftJustify, taRightJustify, taCenter}) {
    Ctl->SetAlignment(Align);
    for (const auto& [Angle, Drawn] :
         {std::pair{0, 0}, {45, 45}, {90, 90}, {180, 180}, {270, 270}, {-30, 330}, {3645, 45},
          {-315, 45}, {INT_MAX, 127}, {INT_MIN, 232}}) {
      Ctl->SetTextAngle(Angle);
      EXPECT_EQ(Ctl->GetTextAngle(), Angle);
      EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Reference(Drawn, Align))) << Align << " " << Angle;
    }
  }
  // Independently of the formula: centred on the anchor, and upward at 90 degrees.
  const TColor Face = ColorToRGB(clBtnFace);
  Ctl->SetAlignment(taCenter);
  Ctl->SetTextAngle(0);
  TRect R = Ink(D.Capture(*Ctl), Face);
  EXPECT_NEAR((R.Left + R.Right) / 2.0, 100, 2);
  Ctl->SetTextAngle(90);
  R = Ink(D.Capture(*Ctl), Face);
  EXPECT_NEAR((R.Top + R.Bottom) / 2.0, 100, 2);
  EXPECT_LT(R.Width(), 30);
  Ctl->SetCaption("X                ");
  R = Ink(D.Capture(*Ctl), Face);
  EXPECT_GT(R.Top, 100);
}

TEST_F(RotLabTest, AnchorFollowsTheCentre) {
  auto* Fresh = new TRotLab(Form);
  EXPECT_EQ(Fresh->GetPosX(), 10);
  EXPECT_EQ(Fresh->GetPosY(), 10);
  Fresh->SetParent(Form);
  EXPECT_EQ(Fresh->GetPosX(), 100);
  Ctl->SetPosX(30);
  EXPECT_EQ(Ctl->GetPosX(), 100);
  Ctl->SetBounds(0, 0, 120, 60);
  EXPECT_EQ(Ctl->GetPosX(), 60);
  EXPECT_EQ(Ctl->GetPosY(), 30);
  Ctl->SetAutoCenter(false);
  Ctl->SetPosX(7);
  Ctl->SetPosY(9);
  Ctl->SetBounds(0, 0, 200, 200);
  EXPECT_EQ(Ctl->GetPosX(), 7);
  EXPECT_EQ(Ctl->GetPosY(), 9);
  // A copy takes the anchor settings and centres itself in its own size.
  Fresh->SetTextAngle(33);
  Fresh->SetAntiAlias(false);
  Ctl->Assign(Fresh);
  EXPECT_EQ(Ctl->GetTextAngle(), 33);
  EXPECT_FALSE(Ctl->GetAntiAlias());
  EXPECT_TRUE(Ctl->GetAutoCenter());
  EXPECT_EQ(Ctl->GetPosX(), 100);
  EXPECT_EQ(TRotLab::OneLine("a\r\nb\nc\rd\te\x01"), "a b c de");
}

TEST_F(RotLabTest, DisabledEmbossedAndAntialiasing) {
  Opaque();
  Ctl->SetAntiAlias(false);
  Ctl->GetFont().SetColor(clNavy);
  const TColor Face = ColorToRGB(clBtnFace);
  TBitmap Shot = D.Capture(*Ctl);
  for (int Y = 0; Y < 200; ++Y)
    for (int X = 0; X < 200; ++X) {
      const TColor C = PixelOf(Shot, X, Y);
      ASSERT_TRUE(C == Face || C == clNavy) << X << "," << Y;
    }
  Ctl->SetAntiAlias(true);
  Shot = D.Capture(*Ctl);
  int Shades = 0;
  for (int Y = 0; Y < 200; ++Y)
    for (int X = 0; X < 200; ++X) Shades += PixelOf(Shot, X, Y) != Face && PixelOf(Shot, X, Y) != clNavy;
  EXPECT_GT(Shades, 10);
  // Highlight one pixel right and down, the shadow on top of it.
  Ctl->SetAntiAlias(false);
  Ctl->SetEnabled(false);
  Shot = D.Capture(*Ctl);
  TRect Light{200, 200, -1, -1}, Dark = Light;
  for (int Y = 0; Y < 200; ++Y)
    for (int X = 0; X < 200; ++X) {
      const TColor C = PixelOf(Shot, X, Y);
      TRect* R = C == ColorToRGB(clBtnHighlight) ? &Light : C == ColorToRGB(clBtnShadow) ? &Dark : nullptr;
      if (!R) continue;
      R->Left = std::min(R->Left, X), R->Top = std::min(R->Top, Y);
      R->Right = std::max(R->Right, X), R->Bottom = std::max(R->Bottom, Y);
    }
  EXPECT_EQ(Light.Right, Dark.Right + 1);
  EXPECT_EQ(Light.Bottom, Dark.Bottom + 1);
  EXPECT_EQ(Light.Left, Dark.Left + 1);
}

TEST_F(RotLabTest, TransparencyFramesAndPaintTiming) {
  Form->SetColor(clTeal);
  Ctl->SetFrameStyle(fsNone);
  EXPECT_EQ(PixelAt(3, 3), clTeal);
  for (int I = 0; I < 3; ++I) Ctl->Invalidate();
  const TBitmap Once = D.Capture(*Ctl);
  Ctl->Invalidate();
  EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Once));
  Ctl->SetCaption("");
  Ctl->SetTransparent(false);
  Ctl->SetColor(clYellow);
  EXPECT_FALSE(Ctl->GetParentColor());
  for (const TFrameStyle Style : {fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved}) {
    Ctl->SetFrameStyle(Style);
    TBitmap Ref(200, 200);
    TCanvas& C = *Ref.GetCanvas();
    C.GetBrush().SetColor(clYellow);
    C.FillRect(Rect(0, 0, 200, 200));
    DrawFrame(C, Style, 0, 0, 199, 199, clWhite, clSilver, clGray, clBlack, clBlack);
    EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Ref)) << int(Style);
  }
  // An opaque label shows a change when the setter returns; a transparent one after the
  // next paint cycle.
  const auto OnScreen = [&] {
    return PixelToColor(Form->GetBackBuffer().ScanLine(Ctl->GetTop() + 100)[Ctl->GetLeft() + 100]);
  };
  D.Settle();
  Ctl->SetColor(clRed);
  EXPECT_EQ(OnScreen(), clRed);
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetTransparent(true);
  Form->SetColor(clLime);
  Ctl->SetCaption("IIIIII");
  Ctl->SetAutoCenter(false);
  D.Settle();
  const TBitmap& Buffer = Form->GetBackBuffer();
  TPoint Inked{-1, -1};
  for (int Y = 80; Y < 120 && Inked.X < 0; ++Y)
    for (int X = 60; X < 140 && Inked.X < 0; ++X)
      if (PixelToColor(Buffer.ScanLine(Ctl->GetTop() + Y)[Ctl->GetLeft() + X]) != clLime) Inked = {X, Y};
  ASSERT_GE(Inked.X, 0);
  Ctl->SetPosY(180);
  EXPECT_NE(PixelToColor(Buffer.ScanLine(Ctl->GetTop() + Inked.Y)[Ctl->GetLeft() + Inked.X]), clLime);
  D.Settle();
  EXPECT_EQ(PixelToColor(Buffer.ScanLine(Ctl->GetTop() + Inked.Y)[Ctl->GetLeft() + Inked.X]), clLime);
}

TEST_F(RotLabTest, GoldenLabels) {
  Form->SetColor(clWhite);
  const struct {
    int Angle;
    TAlignment Align;
  } Samples[] = {{0, taCenter}, {45, taLeftJustify}, {90, taCenter}, {180, taRightJustify}, {270, taLeftJustify}, {-30, taCenter}};
  TBitmap Sheet(6 * 120, 120);
  Ctl->SetBounds(0, 0, 120, 120);
  Ctl->SetCaption("Angle text");
  for (int I = 0; I < 6; ++I) {
    Ctl->SetTextAngle(Samples[I].Angle);
    Ctl->SetAlignment(Samples[I].Align);
    Ctl->SetEnabled(I != 3);
    Ctl->SetAntiAlias(I != 4);
    Sheet.GetCanvas()->Draw(I * 120, 0, D.Capture(*Ctl));
  }
  EXPECT_TRUE(MatchesGolden(Sheet, "testdata/labels.png"));
}

}  // namespace
}  // namespace kvl
