#include "kvl/colsel/colsel.h"

#include "kvl/core/kvlcolors.h"
#include "kvl/platform/colordialog.h"

namespace kvl {

namespace {

// Colours compare by what they draw with: system colours resolved, a stray high byte dropped.
TColor ComparableRGB(TColor C) { return ColorToRGB(C) & 0x00FFFFFFu; }

}  // namespace

TColSel::TColSel(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  SetSorted(false);
  SetColor(clWindow);
  SetDropDownCount(8);
  for (int S = 1; S <= MaxColors; ++S) {
    FColors[S] = PredefinedColors[S];
    FColorNames[S] = ColorToString(FColors[S]);
  }
}

TColSel::~TColSel() { *FAlive = false; }

void TColSel::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TColSel*>(Source);
  if (!S) {
    TCustomComboBox::Assign(Source);
    return;
  }
  FColors = S->FColors;
  FColorNames = S->FColorNames;
  FIsUserEditable = S->FIsUserEditable;
  FNumColors = S->FNumColors;
  FSelColorIx = S->FSelColorIx;
  FColorBarWidth = S->FColorBarWidth;
  FillList();
  Refresh();
}

void TColSel::Loaded() {
  TCustomComboBox::Loaded();
  FillList();
}

void TColSel::SetNumColors(int Value) {
  if (Value < 1 || Value > MaxColors) return;
  FNumColors = Value;
  FSelColorIx = 1;
  FillList();
  Refresh();
}

void TColSel::SetSelColor(TColor Value) {
  const TColor Wanted = ComparableRGB(Value);
  for (int S = 1; S <= FNumColors; ++S) {
    if (ComparableRGB(FColors[S]) != Wanted) continue;
    const std::shared_ptr<bool> Alive = FAlive;
    FSelColorIx = S;
    const std::string Name = NameOf(FColors[S]);
    if (!*Alive) return;
    SetSlotName(S, Name);
    SetItemIndex(S - 1);
    Refresh();
    return;
  }
  const std::shared_ptr<bool> Alive = FAlive;
  const int Slot = FSelColorIx;
  FColors[Slot] = Value;
  const std::string Name = NameOf(Wanted);
  if (!*Alive) return;
  SetSlotName(Slot, Name);
  Refresh();
}

void TColSel::SetColorBarWidth(int Value) {
  if (Value < 0 || Value == FColorBarWidth) return;
  FColorBarWidth = Value;
  Refresh();
}

std::string TColSel::GetSelColorID() const {
  return GetItemIndex() < 0 ? std::string() : FColorNames[FSelColorIx];
}

TColor TColSel::GetColors(int Index) const { return InRange(Index) ? FColors[Index] : 0; }

void TColSel::SetColors(int Index, TColor Value) {
  if (!InRange(Index)) return;
  const std::shared_ptr<bool> Alive = FAlive;
  FColors[Index] = Value;
  const std::string Name = NameOf(Value);
  if (!*Alive) return;
  SetSlotName(Index, Name);
  Refresh();
}

std::string TColSel::GetColorNames(int Index) const {
  return InRange(Index) ? FColorNames[Index] : std::string();
}

void TColSel::SetColorNames(int Index, const std::string& Value) {
  if (!InRange(Index)) return;
  SetSlotName(Index, Value);
  Refresh();
}

bool TColSel::GetColorEditAllowed(int Index) const {
  return InRange(Index) && FIsUserEditable[Index];
}

void TColSel::SetColorEditAllowed(int Index, bool Value) {
  if (!InRange(Index)) return;
  FIsUserEditable[Index] = Value;
  Refresh();
}

void TColSel::SetAllColorEditFlags() {
  FIsUserEditable.fill(true);
  Refresh();
}

void TColSel::ResetAllColorEditFlags() {
  FIsUserEditable.fill(false);
  Refresh();
}

void TColSel::LoadPalette(int First, int Last) {
  const std::shared_ptr<bool> Alive = FAlive;
  FSelColorIx = 1;
  FNumColors = Last - First + 1;
  for (int S = 1; S <= FNumColors; ++S) {
    FColors[S] = PredefinedColors[First + S - 1];
    std::string Name = NameOf(FColors[S]);
    if (!*Alive) return;
    FColorNames[S] = std::move(Name);
  }
  FillList();
  Refresh();
}

void TColSel::FillList() {
  TStrings& Items = *GetItems();
  Items.BeginUpdate();
  Items.Clear();
  for (int S = 1; S <= FNumColors; ++S) Items.Add(FColorNames[S]);
  Items.EndUpdate();
  SetItemIndex(FSelColorIx - 1);
}

std::string TColSel::NameOf(TColor C) {
  std::string Name = ColorToString(C);
  if (OnColorNameChange) OnColorNameChange(this, Name);
  return Name;
}

void TColSel::SetSlotName(int Slot, const std::string& Name) {
  FColorNames[Slot] = Name;
  TStrings& Items = *GetItems();
  if (Slot > Items.GetCount()) return;
  // Rewriting a line makes the box forget its selection.
  const int Kept = GetItemIndex();
  Items.SetStrings(Slot - 1, Name);
  SetItemIndex(Kept);
}

void TColSel::Refresh() {
  Invalidate();
  if (TDropDownList* L = GetDropDownList()) L->Invalidate();
}

void TColSel::Click() {
  const int Index = GetItemIndex();
  if (Index >= 0 && Index < FNumColors) FSelColorIx = Index + 1;
  TCustomComboBox::Click();
}

void TColSel::MouseMove(TShiftState Shift, int X, int Y) {
  FMouseAreaCode = X < FColorBarWidth ? 1 : 0;
  TCustomComboBox::MouseMove(Shift, X, Y);
}

void TColSel::DropDown() {
  if (FMouseAreaCode == 1 && FIsUserEditable[FSelColorIx]) {
    const std::shared_ptr<bool> Alive = FAlive;
    TColorDialog Dlg(nullptr);
    Dlg.SetColor(FColors[FSelColorIx]);
    const bool Confirmed = Dlg.Execute();
    if (!*Alive) return;
    if (Confirmed) {
      const int Slot = FSelColorIx;
      FColors[Slot] = Dlg.GetColor();
      const std::string Name = NameOf(Dlg.GetColor());
      if (!*Alive) return;
      SetSlotName(Slot, Name);
    }
    Refresh();
  }
  TCustomComboBox::DropDown();
}

}  // namespace kvl
