// A small settings form built from the buttons and selectors: a feature switch, a radio group
// of three, a value with "-" and "+" buttons that repeat while held, a colour selector and a
// marker selector.
// The current choices are printed on every change. In a window when there is a display; with
// --png FILE it paints the form once and writes the picture instead.
#include <cstdio>
#include <string>

#include "kvl/colsel/colsel.h"
#include "kvl/marksel/marksel.h"
#include "kvl/onoffbut/onoffbut.h"
#include "kvl/platform/application.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/repsbut/repsbut.h"

using namespace kvl;

namespace {

struct TSettings {
  bool Feature = true;
  std::string Speed = "Medium";
  int Value = 10;
  int Marker = 8;
  std::string Colour = "clNavy";
  void Print() const {
    std::printf("feature %s, speed %s, value %d, colour %s, marker %d\n",
                Feature ? "on" : "off", Speed.c_str(), Value, Colour.c_str(), Marker);
  }
};

}  // namespace

int main(int argc, char** argv) {
  auto* Form = new TForm(Application);
  Form->SetCaption("Settings");
  Form->SetBounds(100, 100, 420, 240);
  TSettings S;

  // The switch: a click anywhere on it toggles.
  auto* Feature = new TOnOffBut(Form);
  Feature->SetParent(Form);
  Feature->SetBounds(10, 10, 180, 40);
  Feature->SetButtonStyle(oobsColSlideLR);
  Feature->SetMouseAction(oomaPlain);
  Feature->SetLeftText("Feature");
  Feature->OnClick = [&](TObject*) {
    S.Feature = Feature->GetOnOff();
    S.Print();
  };

  // Three radio buttons in group 1; one of them is always on.
  const char* const Speeds[] = {"Slow", "Medium", "Fast"};
  TOnOffBut* Radio[3];
  for (int I = 0; I < 3; ++I) {
    auto* R = Radio[I] = new TOnOffBut(Form);
    R->SetParent(Form);
    R->SetBounds(10, 60 + I * 24, 100, 22);
    R->SetButtonStyle(oobsRadioBut);
    R->SetMouseAction(oomaPlain);
    R->SetFrameStyle(fsNone);
    R->SetAutoCenter(false);
    R->SetLeftSpace(2);
    R->SetTopSpace(3);
    R->SetRightText(Speeds[I]);
    R->SetGroupIndex(1);
    R->SetAllowAllOff(false);
    R->OnClick = [&S, R, Name = std::string(Speeds[I])](TObject*) {
      if (R->GetOnOff()) S.Speed = Name;
      S.Print();
    };
  }
  Radio[1]->SetOnOff(true);

  // A value with repeat buttons: one step per click, and more while held.
  auto* Value = new TLabel(Form);
  Value->SetParent(Form);
  Value->SetBounds(50, 150, 60, 24);
  Value->SetCaption(std::to_string(S.Value));
  for (const int Step : {-1, 1}) {
    auto* B = new TRepSpeedButton(Form);
    B->SetParent(Form);
    B->SetBounds(Step < 0 ? 10 : 110, 146, 30, 26);
    B->SetCaption(Step < 0 ? "-" : "+");
    const auto Change = [&, Step](TObject*) {
      S.Value += Step;
      Value->SetCaption(std::to_string(S.Value));
      S.Print();
    };
    B->OnClick = Change;
    B->SetOnRepeatClick(Change);
  }

  // The colour: a selector made in code shows no colours until it is given a count or a
  // palette. The last slot may be changed with the colour dialog (press on its bar).
  auto* Colour = new TColSel(Form);
  Colour->SetParent(Form);
  Colour->SetBounds(10, 190, 180, 21);
  Colour->LoadBasicVGAPalette();
  Colour->SetColorEditAllowed(16, true);
  Colour->SetSelColor(clNavy);
  Colour->OnChange = [&](TObject*) {
    S.Colour = Colour->GetSelColorID();
    S.Print();
  };

  // The marker: the user picks one of the shapes shown.
  auto* Marks = new TMarkSel(Form);
  Marks->SetParent(Form);
  Marks->SetBounds(200, 10, 204, 150);
  Marks->SetNrOfColumns(7);
  Marks->SetNrOfRows(5);
  Marks->SetSelected(S.Marker);
  Marks->OnMarkClick = [&](TObject*, int, int, int Mark) {
    S.Marker = Mark;
    S.Print();
  };

  S.Print();
  if (argc == 3 && std::string(argv[1]) == "--png") {
    Form->Show();
    Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  Application->SetMainForm(Form);
  Application->Run();
  return 0;
}
