// TColorDialog: our own modal colour chooser.
#pragma once

#include <array>
#include <string>

#include "kvl/platform/classes.h"
#include "kvl/platform/graphics.h"

namespace kvl {

// The dialog form exists only while Execute runs. Its controls carry names for tests:
// "BasicColors", "CustomColors", "AddToCustom", "SatValSquare", "HueStrip", the edits "Hue",
// "Sat", "Val", "Red", "Green", "Blue" and "Hex", the panels "OldColor" and "NewColor", and the
// buttons "OK" and "Cancel".
class TColorDialog : public TComponent {
public:
  using TComponent::TComponent;

  // Given in as any colour (system colours resolve, a stray high byte goes); read back as RGB.
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TColor GetCustomColors(int Index) const;
  void SetCustomColors(int Index, TColor Value);
  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  // Shows the dialog; true when the user confirmed (Color then holds the choice). False at
  // once while another Execute of this dialog runs.
  bool Execute();

private:
  TColor FColor = 0;
  std::array<TColor, 16> FCustom = [] {
    std::array<TColor, 16> A;
    A.fill(0x00FFFFFF);
    return A;
  }();
  int FNextCustom = 0;
  std::string FTitle = "Color";
  bool FExecuting = false;
};

}  // namespace kvl
