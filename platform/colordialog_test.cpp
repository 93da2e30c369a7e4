// The colour dialog driven through its modal form: swatches, custom slots, the square and the
// strip, typed fields, and every way to leave it.
#include "kvl/platform/colordialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "kvl/platform/colortext.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

TControl& Named(TCustomForm& F, const char* Name) {
  auto* C = dynamic_cast<TControl*>(F.FindComponent(Name));
  EXPECT_NE(C, nullptr) << Name;
  return *C;
}

void CloseBox(TDriver& D, TCustomForm& F) {
  THostEvent E;
  E.Kind = THostEventKind::CloseRequest;
  E.Window = F.GetWindow();
  D.Host().Post(E);
  Application->ProcessMessages();
}

// Types Text into the named edit, replacing what it holds.
void TypeInto(TDriver& D, TCustomForm& F, const char* Name, std::string_view Text) {
  auto& E = static_cast<TEdit&>(Named(F, Name));
  E.SetFocus();
  E.SelectAll();
  D.Type(F, Text);
}

class ColorDialogTest : public ::testing::Test {
protected:
  TDriver D;
  TForm Main{nullptr};
  TColorDialog Dlg{nullptr};
  void SetUp() override {
    Main.SetBounds(100, 100, 400, 300);
    Main.Show();
    Dlg.SetColor(0x00112233);
  }
  bool Run(std::function<void(TCustomForm&)> Script) {
    D.WhenModal(std::move(Script));
    return Dlg.Execute();
  }
};

TEST_F(ColorDialogTest, WaysToChooseAColour) {
  struct TCase {
    const char* Name;
    std::function<void(TCustomForm&)> Act;
    TColor Want;
  };
  TColor Swatch = 0;
  const TCase Cases[] = {
      {"basic swatch",
       [&](TCustomForm& F) {
         TControl& G = Named(F, "BasicColors");
         D.Click(G, 2 * 24 + 12, 10);
         Swatch = PixelToColor(D.Capture(G).ScanLine(10)[2 * 24 + 12]);
         D.Press(F, vk::Return, "\r");
       },
       0},
      {"hex typed, Enter", [&](TCustomForm& F) { TypeInto(D, F, "Hex", "#3366cc\n"); }, 0x00CC6633},
      {"numbers, out of range and not numbers ignored",
       [&](TCustomForm& F) {
         TypeInto(D, F, "Red", "300");
         TypeInto(D, F, "Green", "x1");
         TypeInto(D, F, "Blue", "200");
         // Each valid step applies: "3", "30"; "300" waits and the field shows 30 on exit.
         EXPECT_EQ(static_cast<TEdit&>(Named(F, "Red")).GetText(), "30");
         D.Press(F, vk::Return, "\r");
       },
       0x00C8221E},
      {"square dragged to its top-right corner at hue 0",
       [&](TCustomForm& F) {
         TControl& S = Named(F, "SatValSquare");
         D.Click(Named(F, "HueStrip"), 5, 0);
         D.MouseDown(S, 10, 100);
         D.MouseMove(S, 300, -50);
         D.MouseUp(S, 300, -50);
         D.Click(Named(F, "OK"), 10, 10);
       },
       0x000000FF},
      {"square by keys, Shift for tens",
       [&](TCustomForm& F) {
         TypeInto(D, F, "Hex", "#808080");
         static_cast<TWinControl&>(Named(F, "SatValSquare")).SetFocus();
         D.KeyDown(F, vk::Shift);
         D.Press(F, vk::Up);
         D.KeyUp(F, vk::Shift);
         D.Press(F, vk::Up);
         D.Press(F, vk::Return, "\r");
       },
       0x008B8B8B},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Dlg.SetColor(0x00112233);
    EXPECT_TRUE(Run(C.Act));
    EXPECT_EQ(Dlg.GetColor(), C.Want ? C.Want : Swatch);
  }
  EXPECT_NE(Swatch, 0u);
}

TEST_F(ColorDialogTest, LeavingWithoutAChoiceAndOddColoursIn) {
  const std::function<void(TCustomForm&)> Leaves[] = {
      [&](TCustomForm& F) { TypeInto(D, F, "Hex", "#FFFFFF"), D.Click(Named(F, "Cancel"), 5, 5); },
      [&](TCustomForm& F) { TypeInto(D, F, "Hex", "#FFFFFF"), D.Press(F, vk::Escape, "\x1b"); },
      [&](TCustomForm& F) { TypeInto(D, F, "Hex", "#FFFFFF"), CloseBox(D, F); },
  };
  for (const auto& Leave : Leaves) {
    EXPECT_FALSE(Run(Leave));
    EXPECT_EQ(Dlg.GetColor(), 0x00112233u);
  }
  // No script: a headless modal form ends as cancelled.
  EXPECT_FALSE(Dlg.Execute());
  // A system colour and a stray high byte come back as plain RGB.
  for (const auto& [In, Out] : {std::pair{TColor(clBtnFace), ColorToRGB(clBtnFace)},
                                std::pair{TColor(0x12345678), TColor(0x00345678)}}) {
    Dlg.SetColor(In);
    EXPECT_TRUE(Run([&](TCustomForm& F) {
      EXPECT_EQ(static_cast<TEdit&>(Named(F, "Hex")).GetText(), HexColorText(Out));
      D.Press(F, vk::Return, "\r");
    }));
    EXPECT_EQ(Dlg.GetColor(), Out);
  }
  // A second Execute while one runs returns false at once; other forms get no input.
  int MainClicks = 0;
  Main.OnClick = [&](TObject*) { ++MainClicks; };
  EXPECT_TRUE(Run([&](TCustomForm& F) {
    EXPECT_FALSE(Dlg.Execute());
    D.Click(Main, 50, 50);
    EXPECT_EQ(MainClicks, 0);
    D.Press(F, vk::Return, "\r");
  }));
}

TEST_F(ColorDialogTest, CustomColorsKeptBetweenRuns) {
  EXPECT_TRUE(Run([&](TCustomForm& F) {
    TypeInto(D, F, "Hex", "#102030");
    D.Click(Named(F, "AddToCustom"), 10, 10);
    D.Click(Named(F, "Cancel"), 10, 10);
  }) == false);
  EXPECT_EQ(Dlg.GetCustomColors(0), 0x00302010u);
  Dlg.SetColor(clBlack);
  EXPECT_TRUE(Run([&](TCustomForm& F) {
    D.Click(Named(F, "CustomColors"), 12, 10);
    EXPECT_TRUE(MatchesGolden(D.Capture(F), "testdata/colordialog.png"));
    D.Press(F, vk::Return, "\r");
  }));
  EXPECT_EQ(Dlg.GetColor(), 0x00302010u);
}

TEST(ColorText, ReadersTakeOnlyWhatTheySay) {
  EXPECT_EQ(ReadHexColor(" #3366cC "), std::optional<TColor>(0x00CC6633));
  EXPECT_EQ(ReadHexColor("3366CC"), std::optional<TColor>(0x00CC6633));
  for (const char* Bad : {"", "#", "#12345", "#1234567", "#12345G", "##123456", "0x123456"})
    EXPECT_FALSE(ReadHexColor(Bad)) << Bad;
  EXPECT_EQ(ReadColorNumber(" 255", 255), std::optional<int>(255));
  for (const char* Bad : {"", "256", "-1", "1e2", "12a", "99999999999"})
    EXPECT_FALSE(ReadColorNumber(Bad, 255)) << Bad;
  for (const TColor C : {0x00000000u, 0x00FFFFFFu, 0x00CC6633u, 0x00808080u, 0x000000FFu})
    EXPECT_EQ(HsvToRgb(RgbToHsv(C)), C) << std::hex << C;
}

}  // namespace
}  // namespace kvl
