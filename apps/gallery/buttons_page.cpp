// The buttons and selectors page: every on/off button style, a transparent button over a
// gradient, a speed-mode button, two radio groups, repeat buttons driving a counter, and
// marker selectors. Events go to the event log (--event-log).
#include <algorithm>
#include <memory>
#include <string>

#include "event_log.h"
#include "kvl/colsel/colsel.h"
#include "kvl/gradfl/gradfl.h"
#include "kvl/marksel/marksel.h"
#include "kvl/numlab/numlab.h"
#include "kvl/onoffbut/onoffbut.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/repsbut/repsbut.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

TOnOffBut* Switch(TWinControl& Host, const std::string& Name, int X, int Y, int W, int H,
                  TOnOffButStyle Style) {
  auto* B = Place<TOnOffBut>(Host, X, Y, W, H);
  B->SetName(Name);
  B->SetButtonStyle(Style);
  B->OnClick = [B](TObject*) {
    LogEvent("onoff " + B->GetName() + (B->GetOnOff() ? " on" : " off"));
  };
  return B;
}

// The 24 styles in a grid of named cells; a few are off, a few disabled.
void AddStyleGrid(TWinControl& Host) {
  static const char* const Names[] = {
      "User",  "Check", "Radio", "Slide",   "Slide",  "Colour", "Colour", "LED",
      "Arrow", "Arrow", "Arrow", "Walk",    "Lamp",   "Smiley", "Smiley", "Bulb",
      "Push",  "Left",  "Right", "Power",   "Lock",   "Sound",  "Eye",    "Star"};
  for (int S = oobsUser; S <= oobsUser5; ++S) {
    const int X = 8 + S % 6 * 88, Y = 8 + S / 6 * 74;
    auto* B = Switch(Host, "Style" + std::to_string(S), X, Y, 86, 72, TOnOffButStyle(S));
    B->SetAutoCenter(false);
    B->SetLeftSpace(std::max((86 - B->GetGlyphWidth()) / 2, 0));
    B->SetBottomText(Names[S]);
    B->SetTopSpace(std::max((72 - 20 - B->GetGlyphHeight()) / 2, 2));
    B->SetOnOff(S % 3 != 1);
    B->SetEnabled(S % 7 != 5);
    B->SetFrameStyle(S % 4 == 0 ? fsLowered : fsNone);
  }
}

void AddRadioGroups(TWinControl& Host, int X, int Y) {
  const char* const Levels[] = {"Low", "Medium", "High"};
  TOnOffBut* Radios[3] = {};
  for (int I = 0; I < 3; ++I) {
    auto* R = Switch(Host, Levels[I], X, Y + I * 22, 88, 22, oobsRadioBut);
    R->SetAutoCenter(false);
    R->SetLeftSpace(2);
    R->SetTopSpace(3);
    R->SetRightText(Levels[I]);
    R->SetFrameStyle(fsNone);
    R->SetGroupIndex(1);
    R->SetAllowAllOff(false);
    Radios[I] = R;
  }
  const char* const Leds[] = {"Pump", "Fan", "Heater"};
  TOnOffBut* Lamps[3] = {};
  for (int I = 0; I < 3; ++I) {
    auto* L = Switch(Host, Leds[I], X + 92, Y + I * 22, 88, 22, oobsLedRedGreen);
    L->SetAutoCenter(false);
    L->SetLeftSpace(2);
    L->SetTopSpace(3);
    L->SetRightText(Leds[I]);
    L->SetFrameStyle(fsNone);
    L->SetGroupIndex(2);
    Lamps[I] = L;
  }
  // Each new button starts on and turns the earlier ones of its group off; the lamps may all
  // be off, the levels never.
  Lamps[2]->SetOnOff(false);
  Lamps[0]->SetOnOff(true);
  Radios[1]->SetOnOff(true);
}

// "-" and "+" repeat buttons on a numeric label, with counters of repeats and clicks.
void AddCounter(TWinControl& Host, int X, int Y, int Start, int Repeat, const std::string& Tag) {
  auto* Value = Place<TNumLab>(Host, X + 34, Y, 124, 26);
  Value->SetDisplayType(dtInt);
  Value->SetLeftText(Tag);
  Value->SetLeftSpace(44);
  Value->SetLabelWidth(70);
  Value->SetValue(50);
  auto* Counts = Place<TLabel>(Host, X, Y + 30, 200, 18);
  Counts->SetCaption("repeats 0, clicks 0");
  struct TTally {
    int Value = 50, Repeats = 0, Clicks = 0;
  };
  auto Tally = std::make_shared<TTally>();
  const auto Show = [=] {
    Value->SetValue(Tally->Value);
    Counts->SetCaption("repeats " + std::to_string(Tally->Repeats) + ", clicks " +
                       std::to_string(Tally->Clicks));
  };
  for (const int Step : {-1, 1}) {
    auto* B = Place<TRepSpeedButton>(Host, Step < 0 ? X : X + 162, Y, 30, 26);
    const std::string Name = Tag + (Step < 0 ? "Minus" : "Plus");
    B->SetName(Name);
    B->SetCaption(Step < 0 ? "\xE2\x88\x92" : "+");
    B->SetStartClickInterval(Start);
    B->SetRepeatClickInterval(Repeat);
    B->SetOnRepeatClick([=](TObject*) {
      Tally->Value += Step;
      ++Tally->Repeats;
      Show();
      LogEvent("repeat " + Name);
    });
    B->OnClick = [=](TObject*) {
      Tally->Value += Step;
      ++Tally->Clicks;
      Show();
      LogEvent("click " + Name);
    };
  }
}

}  // namespace

void BuildButtonsPage(TWinControl& Host) {
  AddStyleGrid(Host);

  // Right column: a transparent button over a gradient, a speed-mode button, radio groups.
  constexpr int R = 545;
  auto* Fill = Place<TGradFill>(Host, R, 8, 196, 76);
  Fill->SetName("Gradient");
  auto* Clear = Switch(Host, "Transparent", R + 8, 14, 180, 64, oobsBulb);
  Clear->SetTransparent(true);
  Clear->SetLeftText("Clear");
  Clear->SetRightText("lamp");
  auto* Speed = Switch(Host, "Speed", R, 92, 196, 40, oobsButLamp);
  Speed->SetMode(oobmSpeedBut);
  Speed->SetMouseAction(oomaPlain);
  Speed->SetLeftText("Hold");
  AddRadioGroups(Host, R, 140);

  // Repeat buttons: the usual pace and a fast pair.
  AddCounter(Host, R, 220, 500, 200, "Value");
  AddCounter(Host, R, 280, 100, 20, "Fast");

  // Marker selectors: one with a selection, a small disabled one with a subset. The space
  // beside them is kept for the colour selectors.
  auto* Marks = Place<TMarkSel>(Host, 8, 312, 236, 178);
  Marks->SetName("Markers");
  Marks->SetSelected(12);
  Marks->OnMarkClick = [](TObject*, int, int, int Mark) {
    LogEvent("mark " + std::to_string(Mark));
  };
  auto* Few = Place<TMarkSel>(Host, 252, 312, 130, 70);
  Few->SetNrOfColumns(6);
  Few->SetNrOfRows(3);
  for (int I = 1; I < 52; I += 2) Few->SetMarkVisible(I, false);
  Few->SetShowZeroAsCross(false);
  Few->SetSelected(4);
  Few->SetEnabled(false);

  // Colour selectors: the standard palette with a few editable slots (a press on their bar
  // opens the colour dialog), and a disabled one.
  auto* Colours = Place<TColSel>(Host, 390, 312, 150, 21);
  Colours->SetName("Colours");
  Colours->LoadStandardPalette();
  for (int Slot : {2, 12, 16}) Colours->SetColorEditAllowed(Slot, true);
  Colours->OnChange = [Colours](TObject*) {
    LogEvent("colour " + std::to_string(Colours->GetSelColorIx()) + " " +
             Colours->GetSelColorID());
  };
  auto* Greyed = Place<TColSel>(Host, 390, 344, 150, 21);
  Greyed->LoadExtendedPalette();
  Greyed->SetSelColor(clTeal);
  Greyed->SetEnabled(false);
}

}  // namespace kvl::gallery
