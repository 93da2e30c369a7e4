// TNTabEd: the in-place editor's text both ways, keys, mouse presses, selection notices, the
// cell-state operations, and the heading and comment editors.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "kvl/core/math1.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/memo.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

// The heading editor: Enter stores, Esc and the loss of the focus discard.
class TNTabEdHeadEdit : public TEdit {
public:
  TNTabEdHeadEdit(TNTabEd* Ed) : TEdit(Ed), FEd(Ed) {}
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override {
    return Key == vk::Return || Key == vk::Escape || TEdit::WantsKey(Key, Shift);
  }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override {
    if (Key == vk::Return || Key == vk::Escape) {
      const bool Store = Key == vk::Return;
      Key = 0;
      FEd->CloseHeadingEditor(Store);
      return;
    }
    TEdit::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    if (Key == U'\r' || Key == 27) return;
    TEdit::KeyPress(Key);
  }
  void DoExit() override {
    TEdit::DoExit();
    FEd->CloseHeadingEditor(false);
  }

private:
  TNTabEd* FEd;
};

// The comment editor: Enter stores and Esc discards before the memo sees a line break.
class TNTabEdCommentMemo : public TMemo {
public:
  TNTabEdCommentMemo(TNTabEd* Ed) : TMemo(Ed), FEd(Ed) {}
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override {
    return Key == vk::Return || Key == vk::Escape || TMemo::WantsKey(Key, Shift);
  }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override {
    if (Key == vk::Return || Key == vk::Escape) {
      const bool Store = Key == vk::Return;
      Key = 0;
      FEd->CloseCommentEditor(Store);
      return;
    }
    TMemo::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    if (Key == U'\r' || Key == U'\n' || Key == 27) return;
    TMemo::KeyPress(Key);
  }
  void DoExit() override {
    TMemo::DoExit();
    FEd->CloseCommentEditor(false);
  }

private:
  TNTabEd* FEd;
};

void TNTabEd::CreateSideEditors() {
  FNameEd = new TNTabEdHeadEdit(this);
  FNameEd->SetParent(this);
  FNameEd->SetVisible(false);
  FCommentMM = new TNTabEdCommentMemo(this);
  FCommentMM->SetParent(this);
  FCommentMM->SetVisible(false);
}

TEdit* TNTabEd::GetNameEditor() const { return FNameEd; }
TMemo* TNTabEd::GetCommentEditor() const { return FCommentMM; }

// --- the in-place editor's text -------------------------------------------------------------

std::string TNTabEd::GetEditText(int ACol, int ARow) {
  const int C = DataCol(ACol), R = DataRow(ARow);
  std::string S = IsNominalScale(FData->GetMScaleType(C))
                      ? NTabNominalText(*FData, C, FData->GetElem(C, R), true)
                      : NTabNumberText(FData->GetElem(C, R), GetPrecision(C), FNumWidth);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, S);
  return S;
}

void TNTabEd::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (FDiscardEdit) return;
  const int C = DataCol(ACol), R = DataRow(ARow);
  if (C < 1 || R < 1 || C > GetNrOfColumns() || R > GetNrOfRows()) return;
  bool Converted = false;
  double V = 0;
  if (IsNominalScale(FData->GetMScaleType(C))) {
    const int Code = FData->OrdinalOfNominalID(C, Value, true);
    if (Code > 0) {
      V = Code;
      Converted = true;
    } else if (IsValidDecInt(Value)) {
      // A valid text has a sign or digits only and fits in 32 bits.
      long long N = 0;
      const char* B = Value.data() + (Value[0] == '+' ? 1 : 0);
      std::from_chars(B, Value.data() + Value.size(), N);
      V = double(N);
      Converted = true;
    }
  } else {
    Converted = NTabParseNumber(Value, V);
  }
  {
    const TScopedValue<bool> Mute(FMuteData, true);
    if (Converted) {
      FData->SetElem(C, R, V);
      FData->SetCellState(C, R, 0);
    } else {
      const std::uint8_t S = FData->GetCellState(C, R);
      FData->SetCellState(C, R, std::uint8_t((S | csNoNumber) & ~csEmpty));
    }
  }
  ChangedData();
  Repaint();
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

TEditStyle TNTabEd::GetEditStyle(int ACol, int) {
  return IsNominalScale(FData->GetMScaleType(DataCol(ACol))) ? esPickList : esSimple;
}

void TNTabEd::GetPickListItems(int ACol, int, TStrings& Items) {
  const int C = DataCol(ACol);
  if (!FData->HasNominalIDs(C)) return;
  for (int Code = 1; Code <= MaxNominalCode; ++Code) {
    const std::string ID = FData->GetNominalID(C, Code);
    if (!ID.empty()) Items.Add(ID);
  }
}

void TNTabEd::SetEditing(bool On) {
  const TGridOptions O = GetOptions();
  SetOptions(On ? (O | goEditing) : (O & ~TGridOptions(goEditing)));
}

void TNTabEd::SetDataReadOnly(bool Value) {
  FReadOnly = Value;
  if (Value) HideEditor();
  SetEditing(!Value);
}

// --- keys, wheel, mouse ---------------------------------------------------------------------

bool TNTabEd::WantsKey(std::uint16_t Key, TShiftState Shift) const {
  return Key == vk::Tab || TCustomGrid::WantsKey(Key, Shift);
}

void TNTabEd::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == vk::Escape) {
    SetEditing(false);
    HideEditor();
  }
  TCustomGrid::KeyDown(Key, Shift);
  ChangedSelection();
  DrawCornerDirect();
  Invalidate();
}

void TNTabEd::KeyPress(char32_t& Key) {
  const bool Enter = Key == U'\r';
  TCustomGrid::KeyPress(Key);
  if (FAutoAdvance && Enter) {
    std::uint16_t K = FAutoAdvDir == orHorizontal ? vk::Right : vk::Down;
    KeyDown(K, 0);
  }
}

bool TNTabEd::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool R = TCustomGrid::DoMouseWheelDown(Shift, MousePos);
  DrawCornerDirect();
  ChangedSelection();
  Invalidate();
  return R;
}

bool TNTabEd::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool R = TCustomGrid::DoMouseWheelUp(Shift, MousePos);
  DrawCornerDirect();
  ChangedSelection();
  Invalidate();
  return R;
}

void TNTabEd::CheckSelectionChanged() {
  const TGridRect S = GetSelection();
  if (S == FOldSel) return;
  FOldSel = S;
  ChangedSelection();
}

void TNTabEd::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseMove(Shift, X, Y);
  CheckSelectionChanged();
}

void TNTabEd::TopLeftChanged() {
  CheckSelectionChanged();
  TCustomGrid::TopLeftChanged();
}

void TNTabEd::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseUp(Button, Shift, X, Y);
  SetEditing(!FReadOnly);
}

void TNTabEd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FCommentMMActive) {
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    FClicked = MouseCoord(X, Y);
    if (FClicked == TGridCoord{0, 0}) CloseCommentEditor(false);
    return;
  }
  if (FNameEdActive) return;
  const TGridCoord Prev = MouseCoord(FPrevPress.X, FPrevPress.Y);
  const TGridCoord C = MouseCoord(X, Y);
  FClicked = C;
  if (Prev != C) SetEditing(false);
  TCustomGrid::MouseDown(Button, Shift, X, Y);
  Invalidate();
  if (!(X > 0 && X < GetGridWidth() && Y > 0 && Y < GetGridHeight())) return;
  FPrevPress = {X, Y};
  if (C.X < 0 || C.Y < 0) return;
  const bool Internal = !GetPopupMenu() && !FBlockIntPopup && !IsDesigning();
  if (C.X > FColOffset && C.Y > FRowOffset) {
    if (C == Prev && !FReadOnly) SetEditing(true);
    if (Button == mbRight && Internal) {
      TBitmap Box;
      Box.LoadFromResourceName(FReadOnly ? "CHECKEDBOX" : "EMPTYBOX");
      FDataItems[9]->SetBitmap(&Box);
      if (OnBeforePopup) OnBeforePopup(this, FPopupD);
      const TPoint P = ClientToScreen({X + 10, Y - 20});
      FPopupD->Popup(P.X, P.Y);
    } else if (Button == mbLeft) {
      DrawCornerDirect();
    }
    return;
  }
  if (C.X == 0 && C.Y == 0) {
    if (Button == mbRight && !FBlockIntPopup && FCommEdAllowed) OpenCommentEditor();
    return;
  }
  if ((C.X > FColOffset || C.Y > FRowOffset) && Button == mbRight && Internal) PopupHeadingMenu(false);
}

// --- the corner cell ------------------------------------------------------------------------

std::string TNTabEd::CornerText() const {
  const TGridRect S = GetSelection();
  return std::to_string(S.Left - FColOffset) + ":" + std::to_string(S.Top - FRowOffset);
}

void TNTabEd::DrawCornerDirect() {
  if (Suppressed() || !IsShowing()) return;
  // A pending paint must not land on what is drawn here.
  Update();
  const TRect R = CellRect(0, 0);
  if (R.IsEmpty()) return;
  TCanvas& Cv = *GetCanvas();
  Cv.SetFont(GetFont());
  Cv.GetBrush().SetStyle(bsSolid);
  if (FCommentMMActive) {
    Cv.GetBrush().SetColor(0x808000);
    Cv.GetFont().SetColor(clWhite);
    Cv.TextRect(R, R.Left + 2, R.Top + 1, "Comment:");
  } else {
    Cv.GetBrush().SetColor(clWindow);
    Cv.GetFont().SetColor(FColorNormal);
    Cv.GetFont().SetStyle(0);
    Cv.TextRect(R, R.Left + 3, R.Top + 2, CornerText());
  }
}

// --- cell states ----------------------------------------------------------------------------

void TNTabEd::SetCellState(int ACol, int ARow, std::uint8_t State) {
  if (!FData->GetMatrix().InRange(ACol, ARow)) return;
  FData->SetCellState(ACol, ARow, State);
  Repaint();
  ChangedCellStates();
}

void TNTabEd::SetElemMarkedA(int ACol, int ARow, bool Value) {
  if (FData->GetMatrix().InRange(ACol, ARow)) {
    const std::uint8_t S = FData->GetCellState(ACol, ARow);
    FData->SetCellState(ACol, ARow, Value ? (S | csMarkA) : std::uint8_t(S & ~csMarkA));
  }
  Repaint();
  ChangedCellStates();
}

void TNTabEd::SetElemMarkedB(int ACol, int ARow, bool Value) {
  if (FData->GetMatrix().InRange(ACol, ARow)) {
    const std::uint8_t S = FData->GetCellState(ACol, ARow);
    FData->SetCellState(ACol, ARow, Value ? (S | csMarkB) : std::uint8_t(S & ~csMarkB));
  }
  Repaint();
  ChangedCellStates();
}

void TNTabEd::SetIsEmpty(int ACol, int ARow, bool Value) {
  if (!FData->GetMatrix().InRange(ACol, ARow)) return;
  const std::uint8_t S = FData->GetCellState(ACol, ARow);
  FData->SetCellState(ACol, ARow, Value ? (S | csEmpty) : std::uint8_t(S & ~csEmpty));
  ChangedCellStates();
}

void TNTabEd::AllStates(std::uint8_t Clear, std::uint8_t Set) {
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    FData->ModifyStates(1, 1, GetNrOfColumns(), GetNrOfRows(), Clear, Set, 0);
  }
  Repaint();
  ChangedCellStates();
}

void TNTabEd::MarkAllElemsA() { AllStates(0, csMarkA); }
void TNTabEd::MarkAllElemsB() { AllStates(0, csMarkB); }
void TNTabEd::UnMarkAllElems() { AllStates(csMarkA | csMarkB, 0); }

void TNTabEd::InvertCellStates(std::uint8_t StateMask) {
  FData->InvertCellStates(StateMask);
  Repaint();
  ChangedCellStates();
}

void TNTabEd::ExchangeMarkings() {
  FData->ExchangeMarkings();
  Repaint();
  ChangedCellStates();
}

bool TNTabEd::IfRowMarked(int Row) const {
  if (Row < 1 || Row > GetNrOfRows()) return false;
  for (int C = 1; C <= GetNrOfColumns(); ++C)
    if (FData->GetCellState(C, Row) & (csMarkA | csMarkB)) return true;
  return false;
}

bool TNTabEd::IfColumnMarked(int Col) const {
  if (Col < 1 || Col > GetNrOfColumns()) return false;
  for (int R = 1; R <= GetNrOfRows(); ++R)
    if (FData->GetCellState(Col, R) & (csMarkA | csMarkB)) return true;
  return false;
}

bool TNTabEd::IfAnyMarked() const { return FData->CountStates(csMarkA | csMarkB) > 0; }

bool TNTabEd::CopyCellStatesFrom(const TNTabEd* ExtTab) {
  if (!ExtTab) return false;
  const TDataTable& S = *ExtTab->FData;
  const int NC = std::min(GetNrOfColumns(), S.GetNrOfColumns());
  const int NR = std::min(GetNrOfRows(), S.GetNrOfRows());
  if (&S != FData) {
    {
      const TScopedValue<bool> Mute(FMuteData, true);
      for (int R = 1; R <= NR; ++R)
        for (int C = 1; C <= NC; ++C) FData->SetCellState(C, R, S.GetCellState(C, R));
    }
    Repaint();
    ChangedCellStates();
  }
  return NC == GetNrOfColumns() && NR == GetNrOfRows() && NC == S.GetNrOfColumns() &&
         NR == S.GetNrOfRows();
}

// --- heading and comment editors ------------------------------------------------------------

void TNTabEd::OpenHeadingEditor() {
  if (!FNameEd) return;
  const TGridCoord C = FClicked;
  if (C.X <= FColOffset && C.Y <= FRowOffset) return;
  const TRect R = CellRect(C.X, C.Y);
  std::string Text;
  if (C.Y == 0)
    Text = GetColName(DataCol(C.X));
  else if (FRowOffset && C.Y == 1)
    Text = std::to_string(GetColAttrib(DataCol(C.X)));
  else if (C.X == 0)
    Text = GetRowName(DataRow(C.Y));
  else if (FColOffset && C.X == 1)
    Text = std::to_string(GetRowAttrib(DataRow(C.Y)));
  else
    return;
  FNameEdCell = C;
  FNameEd->SetBounds(R.Left + 30, R.Top + 5, std::max(80, R.Width()), std::max(20, R.Height()));
  FNameEd->SetText(Text);
  FNameEdActive = true;
  FNameEd->Show();
  FNameEd->BringToFront();
  if (FNameEd->CanFocus()) FNameEd->SetFocus();
}

void TNTabEd::CloseHeadingEditor(bool Store) {
  if (!FNameEdActive) return;
  FNameEdActive = false;
  std::string Text = FNameEd->GetText();
  if (FNameEd->Focused() && CanFocus()) SetFocus();
  FNameEd->Hide();
  Invalidate();
  if (!Store) return;
  const TGridCoord C = FNameEdCell;
  const auto Attrib = [&](std::uint8_t& Out) {
    double V = 0;
    if (!NTabParseNumber(Text, V)) return false;
    Out = std::uint8_t(std::nearbyint(std::clamp(V, 0.0, 255.0)));
    return true;
  };
  std::uint8_t A = 0;
  if (C.Y == 0) {
    SetColName(DataCol(C.X), Text);
  } else if (FRowOffset && C.Y == 1) {
    if (Attrib(A)) SetColAttrib(DataCol(C.X), A);
  } else if (C.X == 0) {
    SetRowName(DataRow(C.Y), Text);
  } else if (FColOffset && C.X == 1) {
    if (Attrib(A)) SetRowAttrib(DataRow(C.Y), A);
  }
  ChangedHeading();
}

void TNTabEd::OpenCommentEditor() {
  if (!FCommentMM) return;
  FCommentMMActive = true;
  DrawCornerDirect();
  const int Left = TCustomGrid::GetColWidths(0);
  FCommentMM->SetBounds(Left, 0, std::max(40, GetClientWidth() - Left - 20), 80);
  FCommentMM->SetText(FData->GetFComment());
  FCommentMM->SetColor(0x808000);
  FCommentMM->GetFont().SetColor(clWhite);
  FCommentMM->Show();
  FCommentMM->BringToFront();
  if (FCommentMM->CanFocus()) FCommentMM->SetFocus();
}

void TNTabEd::CloseCommentEditor(bool Store) {
  if (!FCommentMMActive) return;
  FCommentMMActive = false;
  const std::string Text = FCommentMM->GetText();
  if (FCommentMM->Focused() && CanFocus()) SetFocus();
  FCommentMM->Hide();
  if (Store) {
    FData->SetFComment(Text);
    ChangedData();
  }
  DrawCornerDirect();
  Invalidate();
}

}  // namespace kvl
