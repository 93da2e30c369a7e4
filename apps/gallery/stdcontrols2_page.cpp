// The second standard controls page: boxes, panels and bevels, up-downs, memos and a scroll
// box, with a label that reports their events.
#include <string>

#include "kvl/platform/comctrls.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/memo.h"
#include "kvl/platform/scrollbox.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

void BuildStdControls2Page(TWinControl& Host) {
  auto* Events = Place<TLabel>(Host, 12, 452, 600, 20);
  Events->SetCaption("Events appear here.");
  const auto Report = [Events](const std::string& S) { Events->SetCaption(S); };

  // Check boxes in their states.
  const struct {
    const char* Caption;
    TCheckBoxState State;
    bool Enabled;
    TAlignment Alignment;
  } Boxes[] = {{"Unchecked", cbUnchecked, true, taRightJustify},
               {"Checked", cbChecked, true, taRightJustify},
               {"Grayed", cbGrayed, true, taRightJustify},
               {"Disabled", cbChecked, false, taRightJustify},
               {"Caption on the left", cbUnchecked, true, taLeftJustify}};
  for (int I = 0; I < 5; ++I) {
    auto* B = Place<TCheckBox>(Host, 12, 12 + I * 22, 150, 17);
    B->SetCaption(Boxes[I].Caption);
    B->SetAllowGrayed(true);
    B->SetState(Boxes[I].State);
    B->SetEnabled(Boxes[I].Enabled);
    B->SetAlignment(Boxes[I].Alignment);
    B->OnClick = [Report, B](TObject*) { Report(B->GetCaption() + ": clicked"); };
  }

  // Two radio groups: each group box is a group of its own.
  const char* const Groups[2][3] = {{"Red", "Green", "Blue"}, {"Small", "Medium", "Large"}};
  for (int G = 0; G < 2; ++G) {
    auto* Box = Place<TGroupBox>(Host, 180 + G * 130, 8, 120, 100);
    Box->SetCaption(G == 0 ? "Colour" : "Size");
    for (int I = 0; I < 3; ++I) {
      auto* R = Place<TRadioButton>(*Box, 10, 20 + I * 24, 100, 17);
      R->SetCaption(Groups[G][I]);
      R->SetChecked(I == 0);
      R->OnClick = [Report, R](TObject*) { Report(R->GetCaption() + " chosen"); };
    }
  }

  // Panels with each bevel, and bevels of each shape.
  const struct {
    const char* Caption;
    TBevelCut Outer, Inner;
  } Panels[] = {{"Raised", bvRaised, bvNone},
                {"Lowered", bvLowered, bvNone},
                {"Frame", bvRaised, bvLowered},
                {"Space", bvNone, bvSpace}};
  for (int I = 0; I < 4; ++I) {
    auto* P = Place<TPanel>(Host, 12 + I * 100, 130, 92, 41);
    P->SetCaption(Panels[I].Caption);
    P->SetBevelOuter(Panels[I].Outer);
    P->SetBevelInner(Panels[I].Inner);
  }
  const TBevelShape Shapes[] = {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine};
  for (int I = 0; I < 6; ++I) {
    auto* B = Place<TBevel>(Host, 12 + I * 66, 182, 58, 30);
    B->SetShape(Shapes[I]);
    B->SetStyle(I % 2 ? bsRaised : bsLowered);
  }

  // An up-down attached to an edit, and a horizontal one.
  auto* Count = Place<TEdit>(Host, 440, 12, 60, 21);
  auto* Up = Place<TUpDown>(Host, 500, 12, 17, 21);
  Up->SetAssociate(Count);
  Up->SetPosition(5);
  Up->OnClick = [Report, Up](TObject*, TUDBtnType) {
    Report("Up-down position " + std::to_string(Up->GetPosition()));
  };
  auto* Sideways = Place<TUpDown>(Host, 440, 44, 34, 17);
  Sideways->SetOrientation(udHorizontal);
  Sideways->OnClick = [Report](TObject*, TUDBtnType B) {
    Report(B == btNext ? "Right arrow" : "Left arrow");
  };

  // Memos: wrapped with a scroll bar, read only, disabled.
  auto* Memo = Place<TMemo>(Host, 12, 224, 220, 110);
  Memo->SetScrollBars(ssVertical);
  Memo->SetText(
      "A memo wraps its lines at the edge and scrolls with the bar or the wheel.\n\n"
      "Type here: Enter breaks the line, Ctrl+Home and Ctrl+End jump to the ends, and the "
      "mouse selects across lines.\n\nOne\nTwo\nThree\nFour\nFive");
  Memo->OnChange = [Report, Memo](TObject*) {
    Report("Memo: " + std::to_string(Memo->GetLines()->GetCount()) + " lines");
  };
  auto* ReadOnly = Place<TMemo>(Host, 240, 224, 160, 52);
  ReadOnly->SetReadOnly(true);
  ReadOnly->SetText("Read only: select and copy, no typing.");
  auto* Off = Place<TMemo>(Host, 240, 282, 160, 52);
  Off->SetText("Disabled memo");
  Off->SetEnabled(false);

  // A scroll box holding more than fits.
  auto* Scroll = Place<TScrollBox>(Host, 420, 80, 200, 150);
  for (int I = 0; I < 12; ++I) {
    auto* B = Place<TButton>(*Scroll, 8 + (I % 2) * 150, 8 + (I / 2) * 36, 140, 28);
    B->SetCaption("Button " + std::to_string(I + 1));
    B->OnClick = [Report, B](TObject*) { Report(B->GetCaption() + " pressed"); };
  }
}

}  // namespace kvl::gallery
