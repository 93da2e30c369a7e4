#include "kvl/onoffbut/onoffbut.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <vector>

#include "kvl/core/drawing.h"
#include "kvl/gradfl/gradfl.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/images.h"
#include "kvl/platform/resources.h"
#include "kvl/repsbut/repsbut.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/png_claiming.h"

namespace kvl {
namespace {

constexpr std::uint32_t KeyPx = 0xEBBEEB;

// A parent-area pattern under the buttons: what a transparent button must let through.
class TChecker : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  void Paint() override {
    TCanvas& C = *GetCanvas();
    for (int Y = 0; Y < GetHeight(); Y += 4)
      for (int X = 0; X < GetWidth(); X += 4) {
        C.GetBrush().SetColor((X + Y) / 4 % 2 ? 0x00A0FF : 0xFF8000);
        C.FillRect(Rect(X, Y, X + 4, Y + 4));
      }
  }
};

// Puts back the built-in picture a test replaced.
class TResourceSwap {
public:
  explicit TResourceSwap(std::string Name) : FName(std::move(Name)) {
    const auto Old = FindResource(FName);
    FOld.assign(Old->begin(), Old->end());
  }
  ~TResourceSwap() { RegisterResource(FName, FOld); }

private:
  std::string FName;
  std::vector<std::uint8_t> FOld;
};

// Quadrant colours of the test sheet (0x00RRGGBB): on+enabled, off+enabled, on+disabled,
// off+disabled; each glyph 10 x 6 with a key-colour hole at (4..6, 2..4).
constexpr std::uint32_t QuadColour[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
TBitmap TestSheet() {
  TBitmap B(20, 12);
  for (int Q = 0; Q < 4; ++Q)
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 10; ++X)
        B.ScanLine(Q / 2 * 6 + Y)[Q % 2 * 10 + X] =
            (X >= 4 && X < 6 && Y >= 2 && Y < 4) ? KeyPx : QuadColour[Q];
  return B;
}

class OnOffTest : public TControlTest<TOnOffBut> {
protected:
  int Clicks = 0, Downs = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 100, 50);  // the default slide: glyph 30 x 18 at (35, 16)
    Ctl->OnClick = [this](TObject*) { ++Clicks; };
    Ctl->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
  }
  TOnOffBut* Make(TWinControl* Parent, int Left, int Group) {
    auto* B = new TOnOffBut(Form);
    B->SetParent(Parent);
    B->SetBounds(Left, 100, 60, 40);
    B->SetButtonStyle(oobsRadioBut);
    B->SetMouseAction(oomaPlain);
    B->SetGroupIndex(Group);
    return B;
  }
  void Tap(TControl& C, int X, int Y, TMouseButton B = mbLeft) {
    D.AdvanceTime(1000);  // never a double click
    D.Click(C, X, Y, B);
  }
};

TEST_F(OnOffTest, FocusedTestIsStrictPlainTakesAnyPointNoneOnlyReports) {
  ASSERT_EQ(Ctl->GetLeftSpace(), 35);
  ASSERT_EQ(Ctl->GetTopSpace(), 18);  // kept until the first re-centre
  struct TRow {
    TOOButMouseAction Action;
    int X, Y;
    bool Toggles;
  };
  const TRow Rows[] = {{oomaFocused, 35, 25, false}, {oomaFocused, 65, 25, false},
                       {oomaFocused, 36, 25, true},  {oomaFocused, 64, 25, true},
                       {oomaFocused, 50, 18, false}, {oomaFocused, 50, 36, false},
                       {oomaFocused, 50, 19, true},  {oomaPlain, 2, 2, true},
                       {oomaNone, 50, 25, false}};
  for (const TRow& R : Rows) {
    Ctl->SetMouseAction(R.Action);
    const bool Was = Ctl->GetOnOff();
    Clicks = Downs = 0;
    Tap(*Ctl, R.X, R.Y);
    EXPECT_EQ(Ctl->GetOnOff() != Was, R.Toggles) << R.Action << " " << R.X << "," << R.Y;
    EXPECT_EQ(Clicks, R.Toggles ? 1 : 0);
    EXPECT_EQ(Downs, 1);
  }
  Ctl->SetMouseAction(oomaPlain);
  const bool Was = Ctl->GetOnOff();
  Clicks = 0;
  Tap(*Ctl, 50, 25, mbRight);
  Ctl->SetOnOff(!Was);
  Ctl->Click();
  EXPECT_EQ(Clicks, 0);
  // A press beside the glyph and a release on it clicks without toggling.
  Ctl->SetMouseAction(oomaFocused);
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 5, 5);
  D.MouseUp(*Ctl, 50, 25);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Ctl->GetOnOff(), !Was);
}

TEST_F(OnOffTest, DoubleClickTogglesTwiceAndSpeedModeIsOnOnlyWhileHeld) {
  int Dbl = 0;
  Ctl->OnDblClick = [&](TObject*) { ++Dbl; };
  const bool Was = Ctl->GetOnOff();
  D.DblClick(*Ctl, 50, 25);
  EXPECT_EQ(Ctl->GetOnOff(), Was);
  EXPECT_EQ(Clicks, 2);
  EXPECT_EQ(Dbl, 1);

  auto* Other = Make(Form, 200, 3);
  Other->SetOnOff(true);
  Ctl->SetGroupIndex(3);
  Ctl->SetMode(oobmSpeedBut);
  EXPECT_FALSE(Ctl->GetOnOff());
  Clicks = 0;
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 50, 25);
  EXPECT_TRUE(Ctl->GetOnOff());
  EXPECT_FALSE(Other->GetOnOff());  // announced
  D.MouseUp(*Ctl, 50, 25);
  EXPECT_FALSE(Ctl->GetOnOff());
  EXPECT_EQ(Clicks, 1);
  // Dragged off the glyph and released outside the control: off, no click.
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 50, 25);
  D.MouseMove(*Ctl, 300, 25);
  D.MouseUp(*Ctl, 300, 25);
  EXPECT_FALSE(Ctl->GetOnOff());
  EXPECT_EQ(Clicks, 1);
  // A press that loses the mouse (a modal form opens) ends off too.
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 50, 25);
  Application->CancelCapture();
  EXPECT_FALSE(Ctl->GetOnOff());
  D.MouseUp(*Ctl, 50, 25);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(OnOffTest, SpacesCentringAndStyles) {
  Ctl->SetAutoCenter(false);
  struct TRow {
    bool Left;
    int Value, Expected;
  };
  const TRow Rows[] = {{true, -1, 35},      {true, 20, 20},      {true, 500, 100},
                       {true, INT_MIN, 100}, {true, INT_MAX, 100}, {false, 70, 50},
                       {false, 3, 3},        {false, -5, 3}};
  for (const TRow& R : Rows) {
    if (R.Left)
      Ctl->SetLeftSpace(R.Value);
    else
      Ctl->SetTopSpace(R.Value);
    EXPECT_EQ(R.Left ? Ctl->GetLeftSpace() : Ctl->GetTopSpace(), R.Expected) << R.Value;
  }
  Ctl->SetAutoCenter(true);
  EXPECT_EQ(Ctl->GetLeftSpace(), 35);
  Ctl->SetLeftSpace(3);
  EXPECT_EQ(Ctl->GetLeftSpace(), 35);
  Ctl->SetButtonStyle(oobsBulb);
  EXPECT_EQ(Ctl->GetGlyphWidth(), 39);
  EXPECT_EQ(Ctl->GetLeftSpace(), 30);
  EXPECT_EQ(Ctl->GetTopSpace(), 0);
  Ctl->SetButtonStyle(oobsUser);  // keeps the bulb's size
  EXPECT_EQ(Ctl->GetGlyphWidth(), 39);
  EXPECT_EQ(Ctl->GetGlyph(false, true).GetWidth(), 20);
  Ctl->SetButtonStyle(TOnOffButStyle(24));
  Ctl->SetMode(TOOButMode(2));
  Ctl->SetMouseAction(TOOButMouseAction(3));
  Ctl->SetLeftTextAlignment(TAlignment(3));
  Ctl->SetFrameStyle(TFrameStyle(200));
  EXPECT_EQ(Ctl->GetButtonStyle(), oobsUser);
  EXPECT_EQ(Ctl->GetMode(), oobmNormalBut);
  EXPECT_EQ(Ctl->GetMouseAction(), oomaFocused);
  EXPECT_EQ(Ctl->GetLeftTextAlignment(), taRightJustify);
  EXPECT_LE(Ctl->GetFrameStyle(), fsEngraved);
  // Resizing re-centres; a host's OnResize replaces that.
  Ctl->SetButtonStyle(oobsCheckbox);
  Ctl->SetWidth(200);
  EXPECT_EQ(Ctl->GetLeftSpace(), 92);
  Ctl->OnResize = nullptr;
  Ctl->SetWidth(100);
  EXPECT_EQ(Ctl->GetLeftSpace(), 92);
}

TEST_F(OnOffTest, RadioGroupsOnOneParent) {
  auto* A = Make(Form, 200, 1);
  auto* B = Make(Form, 270, 1);
  auto* C = Make(Form, 340, 1);
  auto* Panel = new TPanel(Form);
  Panel->SetParent(Form);
  Panel->SetBounds(0, 200, 300, 100);
  auto* Elsewhere = Make(Panel, 0, 1);
  Elsewhere->SetTop(0);
  Elsewhere->SetOnOff(true);
  // Every new button starts on: the last one made wins.
  EXPECT_FALSE(A->GetOnOff());
  EXPECT_FALSE(B->GetOnOff());
  EXPECT_TRUE(C->GetOnOff());
  Tap(*A, 5, 5);
  EXPECT_TRUE(A->GetOnOff());
  EXPECT_FALSE(C->GetOnOff());
  B->SetOnOff(true);
  EXPECT_FALSE(A->GetOnOff());
  EXPECT_TRUE(Elsewhere->GetOnOff());
  A->SetAllowAllOff(false);  // spreads
  EXPECT_FALSE(B->GetAllowAllOff());
  EXPECT_FALSE(C->GetAllowAllOff());
  EXPECT_TRUE(Elsewhere->GetAllowAllOff());
  B->SetOnOff(false);
  Tap(*B, 5, 5);
  EXPECT_TRUE(B->GetOnOff());
  // Speed buttons answer the same message, but never to on/off buttons.
  auto* Speed = new TSpeedButton(Form);
  Speed->SetParent(Form);
  Speed->SetBounds(400, 100, 30, 30);
  Speed->SetGroupIndex(1);
  Speed->SetAllowAllUp(true);
  auto* Rep = new TRepSpeedButton(Form);
  Rep->SetParent(Form);
  Rep->SetBounds(440, 100, 30, 30);
  Rep->SetGroupIndex(1);
  Rep->SetAllowAllUp(true);
  Speed->SetDown(true);
  Tap(*Rep, 5, 5);
  C->SetOnOff(true);
  EXPECT_TRUE(C->GetOnOff());
  EXPECT_FALSE(B->GetOnOff());
  EXPECT_FALSE(C->GetAllowAllOff());
  EXPECT_TRUE(Speed->GetAllowAllUp());
  EXPECT_TRUE(Rep->GetAllowAllUp());
  EXPECT_FALSE(Speed->GetDown());
  EXPECT_TRUE(Rep->GetDown());
  // A negative group announces, but nobody answers it.
  for (TOnOffBut* X : {A, B, C}) X->SetGroupIndex(-1);
  A->SetOnOff(true);
  B->SetOnOff(true);
  EXPECT_TRUE(A->GetOnOff());
}

TEST_F(OnOffTest, AssignCopiesStateAndIndependentGlyphs) {
  auto* Src = new TOnOffBut(Form);
  Src->SetButtonStyle(oobsBulb);
  Src->SetAutoCenter(false);
  Src->SetLeftSpace(7);
  Src->SetTopText("top");
  Src->SetBottomTextAlignment(taLeftJustify);
  Src->SetFrameStyle(fsRaised);
  Src->SetColorBackgnd(clYellow);
  Src->SetColorScheme(csSystem);
  Src->SetOnOff(false);
  Src->SetMouseAction(oomaPlain);
  Src->SetColorText(clRed);
  Src->SetTransparent(true);
  Src->SetEnabled(false);
  Src->SetUserGlyph(TestSheet());
  Ctl->Assign(Src);
  EXPECT_EQ(Ctl->GetButtonStyle(), oobsBulb);
  EXPECT_EQ(Ctl->GetLeftSpace(), 7);
  EXPECT_EQ(Ctl->GetTopText(), "top");
  EXPECT_EQ(Ctl->GetBottomTextAlignment(), taLeftJustify);
  EXPECT_EQ(Ctl->GetFrameStyle(), fsRaised);
  EXPECT_EQ(Ctl->GetColorBackgnd(), clYellow);
  EXPECT_EQ(Ctl->GetColorScheme(), csSystem);
  EXPECT_FALSE(Ctl->GetOnOff());
  EXPECT_EQ(Ctl->GetMouseAction(), oomaPlain);
  EXPECT_EQ(Ctl->GetColorText(), clRed);
  EXPECT_TRUE(Ctl->GetTransparent());
  EXPECT_FALSE(Ctl->GetEnabled());
  EXPECT_EQ(Ctl->GetGlyphWidth(), 39);
  EXPECT_EQ(Ctl->GetUserGlyph(true, true).GetWidth(), 10);
  TBitmap Other(4, 4);
  Src->SetUserGlyph(Other);
  EXPECT_EQ(Ctl->GetUserGlyph(true, true).GetWidth(), 10);
  auto* Seg = new TGradFill(Form);
  EXPECT_THROW(Seg->Assign(Ctl), EConvertError);  // through our AssignTo, once
}

TEST_F(OnOffTest, EachStateShowsItsQuadrantWithHolesInTheBackground) {
  const TResourceSwap Keep("USER5");
  RegisterResource("USER5", TestSheet().SaveToPngMemory());
  auto* Under = new TChecker(Form);
  Under->SetParent(Form);
  Under->SetBounds(10, 10, 100, 50);
  Ctl->BringToFront();
  Ctl->SetButtonStyle(oobsUser5);
  Ctl->SetColorBackgnd(clAqua);
  const int X0 = Ctl->GetLeftSpace() + 1, Y0 = Ctl->GetTopSpace() + 1;
  for (const bool Transparent : {false, true}) {
    Ctl->SetTransparent(Transparent);
    for (int Q = 0; Q < 4; ++Q) {
      const bool On = Q % 2 == 0, Enabled = Q < 2;
      Ctl->SetEnabled(Enabled);
      Ctl->SetOnOff(On);
      const TBitmap Shot = D.Capture(*Ctl);
      const TBitmap Floor = D.Capture(*Under);
      EXPECT_EQ(Shot.ScanLine(Y0)[X0], QuadColour[Q]) << Q;
      EXPECT_EQ(Shot.ScanLine(Y0 + 5)[X0 + 9], QuadColour[Q]) << Q;
      EXPECT_EQ(Shot.ScanLine(Y0 + 2)[X0 + 4],
                Transparent ? Floor.ScanLine(Y0 + 2)[X0 + 4] : 0x00FFFFu)
          << Q;
      // Nothing of the glyph beyond its own size.
      EXPECT_NE(Shot.ScanLine(Y0 + 6)[X0], QuadColour[Q]);
    }
  }
}

TEST_F(OnOffTest, CaptionsSitInTheirCellsAndEngraveWhenDisabled) {
  Ctl->SetBounds(10, 10, 300, 120);
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetButtonStyle(oobsCheckbox);  // 16 x 16 at (142, 52)
  Ctl->SetColorText(clRed);
  Ctl->GetFont().SetSize(16);
  TBitmap ProbeBmp(1, 1);
  TCanvas& Probe = *ProbeBmp.GetCanvas();
  Probe.SetFont(Ctl->GetFont());
  const int TH = Probe.TextHeight("(8g]}\xC3\x9C\xC3\x84\xC2\xA7");
  const int LS = 142, TS = 52, GW = 16, GH = 16, W = 300;
  for (int Side = 0; Side < 4; ++Side)
    for (const TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
      const std::string Text = "Wg" + std::to_string(Side);
      const int TW = Probe.TextWidth(Text);
      int X = 0, Y = 0;
      Ctl->SetLeftText("");
      Ctl->SetRightText("");
      Ctl->SetTopText("");
      Ctl->SetBottomText("");
      if (Side == 0) {
        Ctl->SetLeftText(Text);
        Ctl->SetLeftTextAlignment(A);
        X = A == taLeftJustify ? 4 : A == taRightJustify ? LS - TW - 3 : (LS - TW) / 2;
        Y = TS + (GH - TH) / 2;
      } else if (Side == 1) {
        Ctl->SetRightText(Text);
        Ctl->SetRightTextAlignment(A);
        X = A == taLeftJustify    ? LS + GW + 4
            : A == taRightJustify ? W - TW - 4
                                  : (W - TW - LS - GW) / 2 + LS + GW + 1;
        Y = TS + (GH - TH) / 2;
      } else {
        (Side == 2 ? Ctl->SetTopText(Text) : Ctl->SetBottomText(Text));
        (Side == 2 ? Ctl->SetTopTextAlignment(A) : Ctl->SetBottomTextAlignment(A));
        X = A == taLeftJustify ? 4 : A == taRightJustify ? W - TW - 4 : LS + (GW - TW) / 2;
        Y = Side == 2 ? TS - TH - 4 : TS + GH + 4;
      }
      const TBitmap Shot = D.Capture(*Ctl);
      int Inked = 0, Outside = 0;
      for (int PY = 0; PY < Shot.GetHeight(); ++PY)
        for (int PX = 0; PX < Shot.GetWidth(); ++PX) {
          const std::uint32_t P = Shot.ScanLine(PY)[PX];
          if (int(P >> 16) < int(P & 0xFF) + 40) continue;  // not reddish
          ++Inked;
          Outside += !Rect(X, Y, X + TW, Y + TH).Contains({PX, PY});
        }
      EXPECT_GT(Inked, 20) << Side << " " << A;
      EXPECT_EQ(Outside, 0) << Side << " " << A;
    }
  // Disabled: under each grey pixel of ink lies the white copy one pixel right and down (or
  // the grey ink again): on navy, only neutral light pixels can be there.
  Ctl->SetColorBackgnd(clNavy);
  Ctl->SetEnabled(false);
  const TBitmap Shot = D.Capture(*Ctl);
  int Grey = 0, Lit = 0;
  for (int PY = 0; PY + 1 < Shot.GetHeight(); ++PY)
    for (int PX = 0; PX + 1 < Shot.GetWidth(); ++PX) {
      if (Shot.ScanLine(PY)[PX] != 0x808080) continue;
      if (Rect(LS, TS, LS + GW + 2, TS + GH + 2).Contains({PX + 1, PY + 1})) continue;  // glyph
      ++Grey;
      const std::uint32_t Below = Shot.ScanLine(PY + 1)[PX + 1];
      const std::uint32_t R = Below >> 16, G = Below >> 8 & 0xFF, B = Below & 0xFF;
      Lit += std::min({R, G, B}) >= 0x80 && std::max({R, G, B}) - std::min({R, G, B}) <= 8;
    }
  EXPECT_GT(Grey, 5);
  EXPECT_EQ(Lit, Grey);
}

TEST_F(OnOffTest, FrameLinesAndColorSchemeChangesNothing) {
  for (int S = fsNone; S <= fsEngraved; ++S) {
    Ctl->SetFrameStyle(fsNone);
    TBitmap Expected = D.Capture(*Ctl);
    Ctl->SetFrameStyle(TFrameStyle(S));
    DrawFrame(*Expected.GetCanvas(), TFrameStyle(S), 0, 0, 99, 49, clWhite, clSilver, clGray,
              clBlack, clBlack);
    const TBitmap Shot = D.Capture(*Ctl);
    EXPECT_TRUE(SamePicture(Shot, Expected)) << S;
    Ctl->SetColorScheme(csSystem);
    EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Shot)) << S;
    Ctl->SetColorScheme(csFixed);
  }
}

TEST_F(OnOffTest, TransparentButtonLeavesNoGhost) {
  auto* Under = new TChecker(Form);
  Under->SetParent(Form);
  Under->SetBounds(0, 0, 300, 200);
  Ctl->BringToFront();
  Ctl->SetTransparent(true);
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetMouseAction(oomaPlain);
  // What the same button shows when freshly painted over the pattern.
  const auto Fresh = [&] {
    auto* Twin = new TOnOffBut(Form);
    Twin->SetParent(Form);
    Twin->Assign(Ctl);
    Twin->SetBounds(Ctl->GetLeft(), Ctl->GetTop() + 104, 100, 50);
    const TBitmap B = D.Capture(*Twin);
    delete Twin;
    return B;
  };
  const auto Ours = [&] {
    // The twin sits 104 pixels lower on a pattern of period 8: the same background.
    return D.Capture(*Ctl);
  };
  Ctl->SetButtonStyle(oobsBulb);
  D.Capture(*Ctl);
  Tap(*Ctl, 50, 25);
  EXPECT_TRUE(SamePicture(Ours(), Fresh())) << "after a toggle";
  Ctl->SetButtonStyle(oobsCheckbox);
  EXPECT_TRUE(SamePicture(Ours(), Fresh())) << "after a style change";
  Ctl->SetLeft(Ctl->GetLeft() + 8);
  EXPECT_TRUE(SamePicture(Ours(), Fresh())) << "after a move";
  // The pattern shows where the mask is white.
  const TBitmap Shot = Ours();
  const TBitmap Floor = D.Capture(*Under);
  EXPECT_EQ(Shot.ScanLine(2)[2], Floor.ScanLine(Ctl->GetTop() + 2)[Ctl->GetLeft() + 2]);
}

TEST_F(OnOffTest, GlyphIsCutToTheBitmap) {
  struct TRow {
    int W, H;
    bool Auto;
    int LS, TS;
  };
  const TRow Rows[] = {{30, 30, true, 0, 0}, {100, 50, false, 100, 0},
                       {100, 50, false, 0, 50}, {0, 0, true, 0, 0}, {1, 1, false, 1, 1}};
  Ctl->SetButtonStyle(oobsBulb);
  Ctl->SetFrameStyle(fsNone);
  for (const TRow& R : Rows) {
    Ctl->SetAutoCenter(R.Auto);
    Ctl->SetBounds(10, 10, R.W, R.H);
    if (!R.Auto) {
      Ctl->SetLeftSpace(R.LS);
      Ctl->SetTopSpace(R.TS);
    }
    const TBitmap Shot = D.Capture(*Ctl);
    const TBitmap Around = D.Capture(*Form);
    // The form around the button keeps its colour.
    EXPECT_EQ(Around.ScanLine(9)[9], ColorToPixel(ColorToRGB(clBtnFace))) << R.W;
    EXPECT_EQ(Around.ScanLine(10 + R.H)[10 + R.W], ColorToPixel(ColorToRGB(clBtnFace)));
    if (R.W == 30) {
      EXPECT_LT(Ctl->GetLeftSpace(), 0);
    }
    EXPECT_EQ(Shot.GetWidth(), R.W);
  }
}

TEST_F(OnOffTest, EveryStyleInItsFourStates) {
  Form->SetBounds(0, 0, 700, 700);
  int I = 0;
  std::vector<TOnOffBut*> All;
  for (int S = oobsUser; S <= oobsUser5; ++S)
    for (int State = 0; State < 4; ++State, ++I) {
      auto* B = new TOnOffBut(Form);
      B->SetParent(Form);
      B->SetBounds(I % 12 * 56, I / 12 * 58, 56, 58);
      B->SetFrameStyle(fsNone);
      B->SetButtonStyle(TOnOffButStyle(S));
      B->SetOnOff(State % 2 == 0);
      B->SetEnabled(State < 2);
    }
  Ctl->Hide();
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/styles.png"));
}

TEST_F(OnOffTest, CaptionsAndTransparencyGoldens) {
  Ctl->SetBounds(0, 0, 330, 110);
  Ctl->SetButtonStyle(oobsSmileyYellow);
  for (const TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
    Ctl->SetLeftTextAlignment(A);
    Ctl->SetRightTextAlignment(A);
    Ctl->SetTopTextAlignment(A);
    Ctl->SetBottomTextAlignment(A);
    Ctl->SetLeftText("Left");
    Ctl->SetRightText("Right");
    Ctl->SetTopText("Top");
    Ctl->SetBottomText("Bottom");
    Ctl->SetEnabled(A != taCenter);
    EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/captions_" + std::to_string(A) + ".png"));
  }
  auto* Fill = new TGradFill(Form);
  Fill->SetParent(Form);
  Fill->SetBounds(0, 120, 200, 80);
  auto* T = new TOnOffBut(Form);
  T->SetParent(Form);
  T->SetBounds(20, 130, 160, 60);
  T->SetButtonStyle(oobsBulb);
  T->SetTransparent(true);
  T->SetLeftText("Lamp");
  T->SetRightText("on");
  EXPECT_TRUE(MatchesGolden(D.Capture(*Fill), "testdata/transparent.png"));
}

// --- the built-in sheets ---

TEST(OnOffSheets, SizesKeyAndGreyDisabledQuadrants) {
  struct TRow {
    TOnOffButStyle Style;
    int W, H;
  };
  const TRow Rows[] = {
      {oobsCheckbox, 32, 32},    {oobsRadioBut, 28, 28},       {oobsSlideTB, 36, 60},
      {oobsSlideLR, 60, 36},     {oobsColSlideTB, 36, 60},     {oobsColSlideLR, 60, 36},
      {oobsLedRedGreen, 28, 28}, {oobsArrowTopRgt, 50, 50},    {oobsArrowUpDown, 50, 50},
      {oobsArrowLeftRight, 50, 50}, {oobsTrafficLPed, 62, 62}, {oobsBeveledLed, 34, 34},
      {oobsSmileyYellow, 36, 36}, {oobsSmileyRedGrn, 36, 36},  {oobsBulb, 78, 98},
      {oobsButLamp, 98, 48},     {oobsHDLeft, 96, 32},         {oobsHDRight, 96, 32},
      {oobsUser1, 48, 48},       {oobsUser2, 48, 48},          {oobsUser3, 48, 48},
      {oobsUser4, 48, 48},       {oobsUser5, 48, 48}};
  for (const TRow& R : Rows) {
    TBitmap B;
    B.LoadFromResourceName(OnOffGlyphResource(R.Style));
    ASSERT_EQ(B.GetWidth(), R.W) << OnOffGlyphResource(R.Style);
    ASSERT_EQ(B.GetHeight(), R.H);
    int NearKey = 0, Coloured = 0;
    for (int Y = 0; Y < R.H; ++Y)
      for (int X = 0; X < R.W; ++X) {
        const std::uint32_t P = B.ScanLine(Y)[X] & 0xFFFFFF;
        if (P == KeyPx) continue;
        const int Ch[3] = {int(P >> 16), int(P >> 8 & 0xFF), int(P & 0xFF)};
        NearKey += std::abs(Ch[0] - 0xEB) <= 40 && std::abs(Ch[1] - 0xBE) <= 40 &&
                   std::abs(Ch[2] - 0xEB) <= 40;
        if (Y >= R.H / 2)
          Coloured += std::max({Ch[0], Ch[1], Ch[2]}) - std::min({Ch[0], Ch[1], Ch[2]}) > 32;
      }
    EXPECT_EQ(NearKey, 0) << OnOffGlyphResource(R.Style);
    EXPECT_EQ(Coloured, 0) << OnOffGlyphResource(R.Style);
  }
}

// --- user glyphs from files and broken pictures ---

class OnOffFileTest : public OnOffTest {
protected:
  std::string Dir;
  void SetUp() override {
    OnOffTest::SetUp();
    Dir = TestOutputPath("onoffbut_files");
    ::mkdir(Dir.c_str(), 0755);
  }
  std::string Write(const std::string& Name, const std::vector<std::uint8_t>& Bytes) {
    const std::string P = Dir + "/" + Name;
    std::ofstream(P, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()),
                                             std::streamsize(Bytes.size()));
    return P;
  }
};

TEST_F(OnOffFileTest, RefusedFilesNameTheFileAndChangeNothing) {
  const std::vector<std::uint8_t> Png = TestSheet().SaveToPngMemory();
  std::vector<std::uint8_t> BadBmp = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  // A PNG header that declares 100 000 x 100 000.
  const std::vector<std::uint8_t> Huge = testing::PngClaiming(Png, 100000, 100000);
  const std::string Fifo = Dir + "/fifo";
  ::unlink(Fifo.c_str());
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  const std::string Big = Dir + "/big";
  {
    std::ofstream F(Big, std::ios::binary);
    F.seekp((std::streamoff(65) << 20) - 1);
    F.put('x');
  }
  const std::vector<std::string> Paths = {
      Dir + "/missing.png",
      Dir,
      Fifo,
      Write("truncated.png", std::vector<std::uint8_t>(Png.begin(), Png.begin() + 40)),
      Write("corrupt.bmp", BadBmp),
      Write("huge.png", Huge),
      Big,
      Write("tiny.png", TBitmap(1, 1).SaveToPngMemory()),
      Write("wide.png", TBitmap(2049, 2049).SaveToPngMemory()),
      Write("new\nline.png", BadBmp),
      Write("bad\xff\xfe.png", BadBmp)};
  Ctl->SetButtonStyle(oobsUser);
  const TBitmap Before = D.Capture(*Ctl);
  std::vector<TBitmap> Glyphs;
  for (const bool On : {false, true})
    for (const bool En : {false, true}) Glyphs.push_back(Ctl->GetUserGlyph(On, En));
  for (const std::string& P : Paths) {
    ::alarm(10);  // a read that blocks (the FIFO) ends the test program instead of hanging
    try {
      Ctl->LoadUserGlyph(P);
      ADD_FAILURE() << "accepted " << P;
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find(P), std::string::npos) << E.what();
    }
    ::alarm(0);
    std::size_t K = 0;
    for (const bool On : {false, true})
      for (const bool En : {false, true})
        EXPECT_TRUE(SamePicture(Ctl->GetUserGlyph(On, En), Glyphs[K++])) << P;
  }
  EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Before));
  ::unlink(Fifo.c_str());
  ::unlink(Big.c_str());
  // Accepted: a 3 x 3 picture gives 1 x 1 glyphs.
  Ctl->LoadUserGlyph(Write("three.png", TBitmap(3, 3).SaveToPngMemory()));
  EXPECT_EQ(Ctl->GetGlyphWidth(), 1);
}

TEST_F(OnOffTest, OddPicturesUnderAStyleName) {
  const TResourceSwap Keep("USER4");
  RegisterResource("USER4", TBitmap(1, 1).SaveToPngMemory());
  Ctl->SetButtonStyle(oobsUser4);
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetGlyphWidth(), 0);
  Ctl->SetButtonStyle(oobsCheckbox);
  RegisterResource("USER4", EncodeBmp(TBitmap(5000, 5000)));
  Ctl->SetButtonStyle(oobsUser4);
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetGlyphHeight(), 2500);
  Ctl->SetButtonStyle(oobsCheckbox);
  RegisterResource("USER4", {1, 2, 3, 4});
  EXPECT_THROW(Ctl->SetButtonStyle(oobsUser4), EInvalidGraphic);
  EXPECT_EQ(Ctl->GetButtonStyle(), oobsCheckbox);
  EXPECT_EQ(Ctl->GetGlyphWidth(), 16);
}

TEST_F(OnOffTest, AClickHandlerMayDeleteTheButton) {
  Ctl->SetMouseAction(oomaPlain);
  Ctl->OnClick = [this](TObject*) { delete Ctl; };
  D.Click(*Ctl, 5, 5);
}

}  // namespace
}  // namespace kvl
