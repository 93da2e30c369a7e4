// TColSel: a drop-down list of up to 47 named colours, each row a colour bar and a name.
// Slots marked editable open the colour dialog when the list is dropped down with the pointer
// over the bar.
//
// The list stays empty until the control is loaded (EndLoading), NumColors is set or a palette
// is loaded: a program that builds the control in code calls one of those.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "kvl/platform/combobox.h"

namespace kvl {

// Sees every name the control makes for a slot from its colour, and may replace it.
using TOnColorNameChangeEvent = std::function<void(TObject* Sender, std::string& ColorName)>;

class TColSel : public TCustomComboBox {
public:
  static constexpr int MaxColors = 47;

  explicit TColSel(TComponent* AOwner);
  ~TColSel() override;

  // Copies the slots (colours, names, editable flags), their count, the selected slot and the
  // bar width from another colour selector, then refills the list.
  void Assign(const TPersistent* Source) override;

  int GetNumColors() const { return FNumColors; }
  // 1 ... 47: selects slot 1 and refills the list; other values are ignored.
  void SetNumColors(int Value);
  TColor GetSelColor() const { return FColors[FSelColorIx]; }
  // Selects the first slot of the same RGB value (system colours resolved, a high byte other
  // than a system colour's ignored); when none has it, the selected slot takes the colour.
  void SetSelColor(TColor Value);
  int GetColorBarWidth() const { return FColorBarWidth; }
  // Any value >= 0; negative values are ignored.
  void SetColorBarWidth(int Value);
  // The selected slot, 1 ... NumColors.
  int GetSelColorIx() const { return FSelColorIx; }
  // The selected slot's name; empty while no item is selected.
  std::string GetSelColorID() const;

  // Slots count 1 ... NumColors; reads outside give 0, "" and false, writes outside do nothing.
  TColor GetColors(int Index) const;
  // The slot's name becomes the colour's name, through OnColorNameChange.
  void SetColors(int Index, TColor Value);
  std::string GetColorNames(int Index) const;
  // Stored as given, without OnColorNameChange.
  void SetColorNames(int Index, const std::string& Value);
  bool GetColorEditAllowed(int Index) const;
  void SetColorEditAllowed(int Index, bool Value);
  // All 47 slots editable or not.
  void SetAllColorEditFlags();
  void ResetAllColorEditFlags();

  // Colours 1 ... 16, 1 ... 20, 21 ... 47 and 1 ... 47 of PredefinedColors into the first
  // slots, each named through OnColorNameChange; slot 1 selected.
  void LoadBasicVGAPalette() { LoadPalette(1, 16); }
  void LoadExtendedPalette() { LoadPalette(1, 20); }
  void LoadWindowsSystemPalette() { LoadPalette(21, 47); }
  void LoadStandardPalette() { LoadPalette(1, 47); }

  // 1 while the pointer was last over the colour bar (X < ColorBarWidth), else 0.
  int GetMouseAreaCode() const { return FMouseAreaCode; }

  TOnColorNameChangeEvent OnColorNameChange;

  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void Click() override;
  // Opens the colour dialog first for an editable slot when the pointer is over the bar.
  void DropDown() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

protected:
  void Loaded() override;

private:
  void LoadPalette(int First, int Last);
  void FillList();
  // The colour's name passed through OnColorNameChange.
  std::string NameOf(TColor C);
  // Stores a slot's name and keeps its item's text equal to it.
  void SetSlotName(int Slot, const std::string& Name);
  void Refresh();
  bool InRange(int Index) const { return Index >= 1 && Index <= FNumColors; }

  std::array<TColor, MaxColors + 1> FColors{};  // [0] unused
  std::array<std::string, MaxColors + 1> FColorNames;
  std::array<bool, MaxColors + 1> FIsUserEditable{};
  int FNumColors = 20;
  int FSelColorIx = 1;
  int FColorBarWidth = 30;
  int FMouseAreaCode = 0;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace kvl
