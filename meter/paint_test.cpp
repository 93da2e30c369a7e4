#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "kvl/meter/meter.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

const TColor Face = ColorToRGB(clBtnFace);
constexpr TColor Orange = 0x000080FF;

class MeterPaintTest : public TControlTest<TMeter> {
protected:
  TMeter* Add(int X, int Y, int W = 297, int H = 209) {
    auto* M = new TMeter(Form);
    M->SetParent(Form);
    M->SetBounds(X, Y, W, H);
    return M;
  }
  // The pixel at radius R along the mathematical angle PhiDeg from the pivot.
  TColor AtPolar(const TBitmap& Shot, double R, double PhiDeg) {
    const double P = PhiDeg * std::acos(-1) / 180;
    return PixelOf(Shot, Ctl->GetMeterCenterX() + int(std::nearbyint(R * std::cos(P))),
                   Ctl->GetMeterCenterY() - int(std::nearbyint(R * std::sin(P))));
  }
  // A sheet of meters side by side, each made by one entry of Setups.
  TBitmap Sheet(const std::vector<std::function<void(TMeter&)>>& Setups, int Columns) {
    const int Rows = (int(Setups.size()) + Columns - 1) / Columns;
    Form->SetBounds(0, 0, Columns * 297, Rows * 209);
    TBitmap Out(Columns * 297, Rows * 209);
    for (int I = 0; I < int(Setups.size()); ++I) {
      TMeter* M = Add(I % Columns * 297, I / Columns * 209);
      Setups[std::size_t(I)](*M);
      Out.GetCanvas()->Draw(I % Columns * 297, I / Columns * 209, D.Capture(*M));
    }
    return Out;
  }
};

TEST_F(MeterPaintTest, RadiusCentreAndArcPerLayout) {
  struct TCase {
    TMeterLayout L;
    double R;
    int Cy;
  } Cases[] = {{mlCirc90, 175, 191},   {mlCirc120, 130.5 * 1.1547, 191}, {mlCirc180, 130, 191},
               {mlCirc270, 87.5, 104}, {mlCirc300, 175 / 1.866, 110},    {mlCirc360, 87.5, 104}};
  Ctl->SetValue(0.5);
  for (const TCase& C : Cases) {
    Ctl->SetMeterLayout(C.L);
    EXPECT_DOUBLE_EQ(Ctl->GetMeterRadius(), C.R) << int(C.L);
    EXPECT_EQ(Ctl->GetMeterCenterX(), 148);
    EXPECT_EQ(Ctl->GetMeterCenterY(), C.Cy);
    const TBitmap Shot = D.Capture(*Ctl);
    const int Rr = int(std::nearbyint(C.R));
    EXPECT_EQ(PixelOf(Shot, 148, C.Cy - Rr), clNavy) << "arc top " << int(C.L);
    EXPECT_EQ(PixelOf(Shot, 148, C.Cy - Rr - 1), clWhite) << int(C.L);
    // Outer tick ends at both ends; the major's inner end is left out.
    const double A = Ctl->GetMeterAngle();
    for (const double Phi : {90 + A / 2, 90 - A / 2}) {
      EXPECT_EQ(AtPolar(Shot, C.R, Phi), clNavy) << int(C.L) << " " << Phi;
      if (C.L != mlCirc360) {
        EXPECT_EQ(AtPolar(Shot, C.R - 8, Phi), clWhite) << int(C.L);
      }
    }
  }
  // Too small for a scale: nothing is drawn, the form shows through.
  Ctl->SetMeterLayout(mlCirc90);
  Ctl->SetBounds(0, 0, 40, 30);
  EXPECT_EQ(Ctl->GetMeterRadius(), -4);
  EXPECT_EQ(PixelAt(20, 15), Face);
  EXPECT_EQ(PixelAt(0, 0), Face);
}

TEST_F(MeterPaintTest, BandsFillTheirRingAndNarrowBandsStayNarrow) {
  Ctl->SetScaleBkVisible(true);
  Ctl->SetThresholdHigh(0.7);
  Ctl->SetThresholdLow(0.3);
  const auto Phi = [](double F) { return 135 - 90 * F; };
  TBitmap Shot = D.Capture(*Ctl);
  EXPECT_EQ(AtPolar(Shot, 177, Phi(0.15)), clLime);
  EXPECT_EQ(AtPolar(Shot, 177, Phi(0.5)), Orange);
  EXPECT_EQ(AtPolar(Shot, 177, Phi(0.85)), clRed);
  EXPECT_EQ(AtPolar(Shot, 165, Phi(0.5)), clWhite);
  Ctl->SetScaleBkWidth(100);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(AtPolar(Shot, 60, Phi(0.15)), clLime);
  EXPECT_EQ(AtPolar(Shot, 60, Phi(0.85)), clRed);
  Ctl->SetScaleBkWidth(0);
  Ctl->SetThresholdHigh(0.999);
  Ctl->SetThresholdLow(0.001);
  Shot = D.Capture(*Ctl);
  for (const double F : {0.15, 0.5, 0.85}) EXPECT_EQ(AtPolar(Shot, 177, Phi(F)), Orange) << F;
  Ctl->SetThresholdLow(0);
  Ctl->SetThresholdHigh(1);
  Ctl->SetMeterLayout(mlCirc360);
  Shot = D.Capture(*Ctl);
  for (const double P : {-90.0, 0.0, 90.0, 180.0}) EXPECT_EQ(AtPolar(Shot, 89.5, P), Orange);
}

TEST_F(MeterPaintTest, CoverBevelAnchorsAndLamps) {
  Ctl->SetValue(1);
  TBitmap Shot = D.Capture(*Ctl);
  struct TProbe {
    int X, Y;
    TColor C;
  };
  const TProbe Half[] = {
      {5, 100, Face},      {100, 4, Face},     {292, 100, Face},   {100, 204, Face},  // cover
      {100, 8, clGray},    {9, 100, clGray},   {50, 199, clWhite}, {287, 100, clWhite},
      {148, 175, Face},    {148, 195, Face},   {171, 195, clGray}, {124, 195, clWhite},
      {274, 20, clRed},    {269, 20, clBlack}, {274, 16, clBlack}, {274, 25, clWhite},
      {277, 20, clSilver}, {270, 20, clGray},  {22, 20, clGray},   {18, 20, clBlack},
      {26, 20, clSilver},  {22, 25, clWhite}};
  for (const TProbe& P : Half) EXPECT_EQ(PixelOf(Shot, P.X, P.Y), P.C) << P.X << "," << P.Y;
  Ctl->SetValue(0);
  Ctl->SetMeterLayout(mlCirc270);
  Shot = D.Capture(*Ctl);
  const TProbe Full[] = {{274, 20, clGray},   {22, 20, clRed},    {148, 80, clWhite},
                         {124, 104, clWhite}, {148, 127, clGray}, {171, 104, clGray},
                         {148, 104, Face}};
  for (const TProbe& P : Full) EXPECT_EQ(PixelOf(Shot, P.X, P.Y), P.C) << P.X << "," << P.Y;
}

TEST_F(MeterPaintTest, FrameStyles) {
  const int W1 = 296, H1 = 208;
  const TColor L = clWhite, G = clGray;
  struct TCase {
    TFrameStyle S;
    TColor Left, Top, TopRight, Right, Bottom, BottomLeft;
  } Cases[] = {{fsNone, Face, Face, Face, Face, Face, Face},
               {fsSimple, clWhite, clWhite, clWhite, clWhite, clWhite, clWhite},
               {fsLowered, G, G, L, L, L, G},
               {fsRaised, L, L, G, G, G, L},
               {fsEmbossed, L, L, Face, G, G, Face},
               {fsEngraved, G, G, Face, L, L, Face}};
  for (const TCase& C : Cases) {
    Ctl->SetFrameStyle(C.S);
    const TBitmap Shot = D.Capture(*Ctl);
    const TColor Got[] = {PixelOf(Shot, 0, 100),  PixelOf(Shot, 100, 0),  PixelOf(Shot, W1, 0),
                          PixelOf(Shot, W1, 100), PixelOf(Shot, 100, H1), PixelOf(Shot, 0, H1)};
    const TColor Want[] = {C.Left, C.Top, C.TopRight, C.Right, C.Bottom, C.BottomLeft};
    for (int I = 0; I < 6; ++I) EXPECT_EQ(Got[I], Want[I]) << int(C.S) << " probe " << I;
  }
}

TEST_F(MeterPaintTest, CaptionAndNeedle) {
  Ctl->GetFontCaption().SetColor(clRed);
  Ctl->SetCaption("Meter");
  Ctl->SetValue(0.5);
  TBitmap Probe(1, 1);
  TCanvas& C = *Probe.GetCanvas();
  C.SetFont(Ctl->GetFontCaption());
  const int Left = 148 - C.TextWidth("Meter") / 2, Top = 191 - 58 - C.TextHeight("Meter") / 2;
  TBitmap Shot = D.Capture(*Ctl);
  int Ink = 0;
  for (int Y = Top - 10; Y < Top + 30; ++Y)
    for (int X = Left - 10; X < Left + C.TextWidth("Meter") + 10; ++X) {
      if (X == 148 || PixelOf(Shot, X, Y) == clWhite) continue;
      ++Ink;
      EXPECT_TRUE(X >= Left && X < Left + C.TextWidth("Meter") && Y >= Top &&
                  Y < Top + C.TextHeight("Meter"))
          << X << "," << Y;
    }
  EXPECT_GT(Ink, 20);
  // The tip in the outline colour; Thickness 0 is a line; the shadow lies ShadowDx left.
  EXPECT_EQ(PixelOf(Shot, 148, 20), clBlack);
  EXPECT_EQ(PixelOf(Shot, 148, 100), clBlack);
  EXPECT_EQ(PixelOf(Shot, 149, 100), clWhite);
  EXPECT_EQ(PixelOf(Shot, 148, 38), clSilver) << "the closed head";
  Ctl->GetNeedleLayout().SetVisible(false);
  EXPECT_EQ(PixelAt(148, 100), clBlack) << "a hidden primary needle is still drawn";
  Ctl->GetNeedleLayout().SetShadowDx(3);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Shot, 145, 100), clGray);
  EXPECT_EQ(PixelOf(Shot, 148, 100), clBlack);
  Ctl->GetNeedleLayout().SetPercentNeedleLength(0);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Shot, 148, 100), clWhite);
}

TEST_F(MeterPaintTest, HooksDrawUnderTheTopLayers) {
  Ctl->SetValue(0.5);
  Ctl->OnBeforeDrawNeedle = [](TObject*, TCanvas* C, bool& Drawn) {
    C->GetBrush().SetStyle(bsClear);
    Drawn = true;
  };
  Ctl->OnMeterRendered = [](TObject*, TCanvas* C) {
    C->GetBrush().SetColor(clGreen);
    C->FillRect(Rect(0, 0, 297, 209));
  };
  const TBitmap Shot = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Shot, 148, 100), clGreen);
  EXPECT_EQ(PixelOf(Shot, 0, 100), clWhite);
  EXPECT_EQ(PixelOf(Shot, 296, 100), clGray);
  Ctl->OnMeterRendered = nullptr;
  Ctl->Invalidate();
  EXPECT_EQ(PixelAt(148, 100), clWhite) << "the needle is left out";
  EXPECT_EQ(PixelAt(5, 100), Face);
  EXPECT_EQ(PixelAt(274, 20), clGray);
}

// After random needle moves and appearance changes the quick repaint shows exactly what a
// full paint of a copy shows.
TEST_F(MeterPaintTest, QuickNeedleMovesEqualAFullPaint) {
  Form->SetBounds(0, 0, 700, 500);
  Ctl->SetBounds(10, 20, 320, 240);  // off the corner: the quick copy keeps its origin
  TMeter* Ref = Add(340, 0, 320, 240);
  std::mt19937 Rng(7);
  std::uniform_real_distribution<double> Val(-0.1, 1.1);
  const std::vector<std::function<void(TMeter&)>> Changes = {
      [](TMeter& M) { M.SetColorCover(M.GetColorCover() == clTeal ? clBtnFace : clTeal); },
      [](TMeter& M) { M.SetAnchorSize(M.GetAnchorSize() == 24 ? 40 : 24); },
      [](TMeter& M) { M.SetLimWatchActColor(M.GetLimWatchActColor() == clRed ? clBlue : clRed); },
      [](TMeter& M) { M.SetFrameStyle(TFrameStyle((M.GetFrameStyle() + 1) % 6)); },
      [](TMeter& M) { M.GetNeedleLayout().SetThickness(M.GetNeedleLayout().GetThickness() ^ 6); },
      [](TMeter& M) {
        M.GetNeedleLayoutSec().SetShadowDy(M.GetNeedleLayoutSec().GetShadowDy() ^ 5);
      },
      [](TMeter& M) { M.SetMeterLayout(TMeterLayout((M.GetMeterLayout() + 1) % 6)); },
  };
  for (int Hooks = 0; Hooks < 3; ++Hooks) {
    for (TMeter* M : {Ctl, Ref}) {
      M->SetScaleBkVisible(true);
      M->SetThresholdHigh(0.7);
      M->SetThresholdLow(0.3);
      M->SetCaption("walk");
      M->GetNeedleLayout().SetShadowDx(4);
      M->GetNeedleLayout().SetShadowDy(-3);
      M->GetNeedleLayoutSec().SetVisible(true);
      M->GetNeedleLayoutSec().SetColorBody(clYellow);
      M->GetNeedleLayoutSec().SetShadowDx(-2);
      if (Hooks == 1)
        M->OnBeforeDrawNeedle = [](TObject*, TCanvas* C, bool&) { C->Ellipse(150, 10, 170, 30); };
      if (Hooks == 2)
        M->OnMeterRendered = [](TObject*, TCanvas* C) { C->Rectangle(200, 150, 220, 170); };
    }
    for (int Step = 0; Step < 60; ++Step) {
      if (Step % 10 == 9) Changes[std::size_t(Step / 10)](*Ctl);
      if (Step % 2)
        Ctl->SetValue(Val(Rng));
      else
        Ctl->SetValueSec(Val(Rng));
      const TBitmap Quick = D.Capture(*Ctl);
      Ref->Assign(Ctl);
      ASSERT_TRUE(SamePicture(Quick, D.Capture(*Ref))) << "hooks " << Hooks << " step " << Step;
    }
  }
}

TEST_F(MeterPaintTest, GoldenSheets) {
  const std::string Dir = TestOutputPath("meter_golden");
  const auto Pic = [&](const std::string& Name, int W, int H, TColor A, TColor B) {
    TBitmap P(W, H);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) P.GetCanvas()->SetPixel(X, Y, (X / 4 + Y / 4) % 2 ? A : B);
    P.SaveToPngFile(Dir + Name);
    return Dir + Name;
  };
  const std::string Bg = Pic("bg.png", 40, 30, 0x00E0F0FF, 0x00C0D8F0);
  const std::string Anchor = Pic("anchor.png", 30, 30, clNavy, clSilver);
  EXPECT_TRUE(MatchesGolden(
      Sheet({[](TMeter& M) { M.SetMeterLayout(mlCirc90); },
             [](TMeter& M) { M.SetMeterLayout(mlCirc120); },
             [](TMeter& M) { M.SetMeterLayout(mlCirc180), M.SetAnchorCovered(false); },
             [](TMeter& M) { M.SetMeterLayout(mlCirc270), M.SetValue(0.8); },
             [](TMeter& M) { M.SetMeterLayout(mlCirc300), M.SetCaption("V"); },
             [](TMeter& M) { M.SetMeterLayout(mlCirc360), M.SetValue(0.25); }},
            3),
      "testdata/layouts.png"));
  const auto Bands = [](TMeter& M) {
    M.SetScaleBkVisible(true);
    M.SetThresholdHigh(0.75);
    M.SetThresholdLow(0.25);
    M.SetValue(0.6);
  };
  EXPECT_TRUE(MatchesGolden(
      Sheet(
          {Bands, [&](TMeter& M) { Bands(M), M.SetScaleBkWidth(100), M.SetMeterLayout(mlCirc300); },
           [&](TMeter& M) { Bands(M), M.SetScaleBkWidth(30), M.SetMeterLayout(mlCirc180); }},
          3),
      "testdata/bands.png"));
  const auto Log = [](double Min, double Max) {
    return [=](TMeter& M) {
      M.SetMeterMaxValue(Max);
      M.SetMeterMinValue(Min);
      M.SetLogarithmic(true);
      M.SetMeterLayout(mlCirc270);
      M.SetValue(Min * 2.5);
    };
  };
  EXPECT_TRUE(MatchesGolden(Sheet({Log(1, 1000), Log(2, 8), Log(0.01, 100)}, 3),
                            "testdata/logarithmic.png"));
  EXPECT_TRUE(MatchesGolden(
      Sheet({[&](TMeter& M) { M.SetBackGroundImg(Bg); },
             [&](TMeter& M) { M.SetBkgndFillMode(bfStretched), M.SetBackGroundImg(Bg); },
             [&](TMeter& M) {
               M.SetBkgndFillMode(bfTiled), M.SetBackGroundImg(Bg), M.SetFrameStyle(fsSimple);
               M.SetAnchorImage(Anchor);
             }},
            3),
      "testdata/pictures.png"));
  EXPECT_TRUE(MatchesGolden(Sheet({[](TMeter& M) {
                                    M.SetMeterLayout(mlCirc300);
                                    M.SetValue(0.3);
                                    M.GetNeedleLayout().SetThickness(6);
                                    M.GetNeedleLayout().SetShadowDx(-4);
                                    M.GetNeedleLayout().SetShadowDy(-3);
                                    M.GetNeedleLayout().SetColorBody(clRed);
                                    M.GetNeedleLayoutSec().SetVisible(true);
                                    M.SetValueSec(0.75);
                                    M.GetNeedleLayoutSec().SetColorBody(clAqua);
                                    M.GetNeedleLayoutSec().SetPercentNeedleLength(70);
                                    M.GetNeedleLayoutSec().SetShadowDx(3);
                                    M.GetNeedleLayoutSec().SetHeadAngle(60);
                                  }},
                                  1),
                            "testdata/needles.png"));
}

}  // namespace
}  // namespace kvl
