// TNTabEd: the data menu and the heading menu, their masks and captions, and the actions.
#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {

constexpr const char* DataCaptions[13] = {"",
                                          "Mark as type A",
                                          "Mark as type B",
                                          "Unmark type A",
                                          "Unmark type B",
                                          "Unmark All",
                                          "Clear",
                                          "Copy",
                                          "Paste",
                                          "Data Read-Only",
                                          "Extract from Clipboard",
                                          "Select All",
                                          "Toggle Empty State"};
constexpr const char* SubCaptions[5] = {"", "Range", "Column", "Row", "All"};
constexpr const char* SubPrefixes[4] = {"M1It", "M2It", "U1It", "U2It"};
constexpr const char* HeadCaptions[6] = {"", "Edit Heading", "Change Precision", "Select..",
                                         "Insert..", "Delete.."};

std::string Cut(const std::string& S) {
  std::string R = S;
  Utf8Cut(R, MaxDTNameLength);
  return R;
}

bool Bit(std::uint32_t Mask, int Item) { return (Mask >> (Item - 1)) & 1u; }

}  // namespace

void TNTabEd::BuildMenus() {
  FPopupD = new TPopupMenu(this);
  FPopupD->SetName("PopupDTAction");
  FPopupD->OnPopup = [this](TObject* S) { PopupMenuDLoadPopup(S); };
  using THandler = void (TNTabEd::*)(TObject*);
  static constexpr THandler SubHandlers[4][5] = {
      {nullptr, &TNTabEd::PopupMenuClickMarkARange, &TNTabEd::PopupMenuClickMarkAColumn,
       &TNTabEd::PopupMenuClickMarkARow, &TNTabEd::PopupMenuClickMarkAAll},
      {nullptr, &TNTabEd::PopupMenuClickMarkBRange, &TNTabEd::PopupMenuClickMarkBColumn,
       &TNTabEd::PopupMenuClickMarkBRow, &TNTabEd::PopupMenuClickMarkBAll},
      {nullptr, &TNTabEd::PopupMenuClickUnMarkARange, &TNTabEd::PopupMenuClickUnMarkAColumn,
       &TNTabEd::PopupMenuClickUnMarkARow, &TNTabEd::PopupMenuClickUnMarkAAll},
      {nullptr, &TNTabEd::PopupMenuClickUnMarkBRange, &TNTabEd::PopupMenuClickUnMarkBColumn,
       &TNTabEd::PopupMenuClickUnMarkBRow, &TNTabEd::PopupMenuClickUnMarkBAll}};
  static constexpr THandler DataHandlers[13] = {nullptr,
                                                nullptr,
                                                nullptr,
                                                nullptr,
                                                nullptr,
                                                &TNTabEd::PopupMenuClickUnMarkAll,
                                                &TNTabEd::PopupMenuClickClear,
                                                &TNTabEd::PopupMenuClickCopy,
                                                &TNTabEd::PopupMenuClickPaste,
                                                &TNTabEd::PopupMenuClickEdit,
                                                &TNTabEd::PopupMenuClickExtClip,
                                                &TNTabEd::PopupMenuClickSelAll,
                                                &TNTabEd::PopupMenuClickEmptyCells};
  for (int I = 1; I <= 12; ++I) {
    auto* It = new TMenuItem(FPopupD);
    It->SetName("DIt" + std::to_string(I));
    It->SetCaption(DataCaptions[I]);
    if (DataHandlers[I]) It->OnClick = [this, H = DataHandlers[I]](TObject* S) { (this->*H)(S); };
    FPopupD->GetItems()->Add(It);
    FDataItems[I] = It;
    if (I > 4) continue;
    for (int J = 1; J <= 4; ++J) {
      auto* Sub = new TMenuItem(FPopupD);
      Sub->SetName(SubPrefixes[I - 1] + std::to_string(J));
      Sub->SetCaption(SubCaptions[J]);
      Sub->OnClick = [this, H = SubHandlers[I - 1][J]](TObject* S) { (this->*H)(S); };
      It->Add(Sub);
      FSubItems[I - 1][J] = Sub;
    }
  }
  for (int I = 5; I <= 12; ++I) FDataItems[I]->SetEnabled(Bit(FPopupDMask, I));
  FDataItems[8]->SetEnabled(false);

  FPopupH = new TPopupMenu(this);
  FPopupH->SetName("PopupHTAction");
  for (int I = 1; I <= 5; ++I) {
    auto* It = new TMenuItem(FPopupH);
    It->SetName("HIt" + std::to_string(I));
    It->SetCaption(HeadCaptions[I]);
    FPopupH->GetItems()->Add(It);
    FHeadItems[I] = It;
  }
  FHeadItems[1]->OnClick = [this](TObject* S) { PopupMenuClickChangeID(S); };
  FHeadItems[2]->OnClick = [this](TObject* S) { PopupMenuClickPrecision(S); };
}

void TNTabEd::SetPopupDMask(std::uint32_t Value) {
  FPopupDMask = Value;
  for (int I = 1; I <= 12; ++I) FDataItems[I]->SetEnabled(Bit(Value, I));
  FDataItems[8]->SetEnabled(Bit(Value, 8) && FDataCopyAvail && !FReadOnly);
  ChangedSetup();
}

void TNTabEd::SetPopupHMask(std::uint32_t Value) {
  FPopupHMask = Value;
  for (int I = 1; I <= 5; ++I) FHeadItems[I]->SetEnabled(Bit(Value, I));
  ChangedSetup();
}

TDTNameStr TNTabEd::GetPopupDCaptions(int ix) const {
  return ix >= 1 && ix <= 12 ? Cut(FDataItems[ix]->GetCaption()) : "";
}
void TNTabEd::SetPopupDCaptions(int ix, const TDTNameStr& Value) {
  if (ix >= 1 && ix <= 12) FDataItems[ix]->SetCaption(Cut(Value));
}
TDTNameStr TNTabEd::GetPopupHCaptions(int ix) const {
  return ix >= 1 && ix <= 5 ? Cut(FHeadItems[ix]->GetCaption()) : "";
}
void TNTabEd::SetPopupHCaptions(int ix, const TDTNameStr& Value) {
  if (ix >= 1 && ix <= 5) FHeadItems[ix]->SetCaption(Cut(Value));
}
TDTNameStr TNTabEd::GetPopupMCaptions(int ix) const {
  return ix >= 1 && ix <= 4 ? Cut(FSubItems[0][ix]->GetCaption()) : "";
}
void TNTabEd::SetPopupMCaptions(int ix, const TDTNameStr& Value) {
  if (ix < 1 || ix > 4) return;
  FSubItems[0][ix]->SetCaption(Cut(Value));
  FSubItems[1][ix]->SetCaption(Cut(Value));
}
TDTNameStr TNTabEd::GetPopupUCaptions(int ix) const {
  return ix >= 1 && ix <= 4 ? Cut(FSubItems[2][ix]->GetCaption()) : "";
}
void TNTabEd::SetPopupUCaptions(int ix, const TDTNameStr& Value) {
  if (ix < 1 || ix > 4) return;
  FSubItems[2][ix]->SetCaption(Cut(Value));
  FSubItems[3][ix]->SetCaption(Cut(Value));
}

void TNTabEd::PopupMenuDLoadPopup(TObject*) {
  FDataItems[8]->SetEnabled(Bit(FPopupDMask, 8) && FDataCopyAvail && !FReadOnly);
  // Read-only guards the data against the user: the items that overwrite it are off too.
  for (int I : {6, 10, 12}) FDataItems[I]->SetEnabled(Bit(FPopupDMask, I) && !FReadOnly);
}

// --- the heading menu -----------------------------------------------------------------------

void TNTabEd::DrawInvertedFrame(const TRect& Cell) {
  if (!IsShowing()) return;
  TCanvas& C = *GetCanvas();
  const TBrushStyle OldStyle = C.GetBrush().GetStyle();
  C.GetPen().SetMode(pmNot);
  C.GetBrush().SetStyle(bsClear);
  C.Rectangle(Cell.Left, Cell.Top, Cell.Right + 1, Cell.Bottom + 1);
  C.GetPen().SetMode(pmCopy);
  C.GetBrush().SetStyle(OldStyle);
}

void TNTabEd::ToggleFrame(const TRect& Cell) {
  // Nothing pending may paint between the two inversions.
  Update();
  FFrameShown = !FFrameShown;
  FFrameRect = Cell;
  if (!Suppressed()) DrawInvertedFrame(Cell);
}

void TNTabEd::PopupHeadingMenu(bool Reopen) {
  const TGridCoord C = FClicked;
  const bool Column = C.Y <= FRowOffset;
  FHeadItems[2]->SetEnabled(Bit(FPopupHMask, 2) && Column);
  FHeadItems[3]->SetEnabled(Bit(FPopupHMask, 3));
  FHeadItems[4]->SetEnabled(Bit(FPopupHMask, 4) && !FReadOnly);
  FHeadItems[5]->SetEnabled(Bit(FPopupHMask, 5) && !FReadOnly);
  FHeadItems[3]->SetCaption(Column ? "Select Column" : "Select Row");
  FHeadItems[4]->SetCaption(Column ? "Insert Column" : "Insert Row");
  FHeadItems[5]->SetCaption(Column ? "Delete Column" : "Delete Row");
  if (Column) {
    FHeadItems[3]->OnClick = [this](TObject* S) { PopupMenuClickSelectCol(S); };
    FHeadItems[4]->OnClick = [this](TObject* S) { PopupMenuClickInsertCol(S); };
    FHeadItems[5]->OnClick = [this](TObject* S) { PopupMenuClickDeleteCol(S); };
  } else {
    FHeadItems[3]->OnClick = [this](TObject* S) { PopupMenuClickSelectRow(S); };
    FHeadItems[4]->OnClick = [this](TObject* S) { PopupMenuClickInsertRow(S); };
    FHeadItems[5]->OnClick = [this](TObject* S) { PopupMenuClickDeleteRow(S); };
  }
  const TRect R = CellRect(C.X, C.Y);
  if (!Reopen) {
    ToggleFrame(R);
    if (OnBeforePopup) OnBeforePopup(this, FPopupH);
  }
  const TPoint P = ClientToScreen({R.Left + 20, R.Top + 20});
  FPopupH->Popup(P.X, P.Y);
  if (!Reopen && FFrameShown) ToggleFrame(R);
}

void TNTabEd::PopupMenuClickChangeID(TObject*) { OpenHeadingEditor(); }

void TNTabEd::PopupMenuClickPrecision(TObject*) {
  const int Col = DataCol(FClicked.X);
  if (FClicked.Y > FRowOffset || Col < 1 || Col > GetNrOfColumns()) return;
  const int P = GetPrecision(Col);
  FDecP[std::size_t(Col - 1)] = std::int8_t(P >= 0 ? P - 1 : 10);
  const TRect R = CellRect(FClicked.X, FClicked.Y);
  // The frame still stands when the action runs from the menu; a host call draws it here.
  if (!FFrameShown) ToggleFrame(R);
  PopupHeadingMenu(true);
  if (FFrameShown) ToggleFrame(R);
  Repaint();
  ChangedLayout();
}

void TNTabEd::PopupMenuClickSelectCol(TObject*) {
  if (FClicked.X <= FColOffset || FClicked.X >= GetColCount()) return;
  SetSelection({FClicked.X, FRowOffset + 1, FClicked.X, GetRowCount() - 1});
  Repaint();
  ChangedSelection();
}

void TNTabEd::PopupMenuClickSelectRow(TObject*) {
  if (FClicked.Y <= FRowOffset || FClicked.Y >= GetRowCount()) return;
  SetSelection({FColOffset + 1, FClicked.Y, GetColCount() - 1, FClicked.Y});
  Repaint();
  ChangedSelection();
}

void TNTabEd::PopupMenuClickInsertCol(TObject*) {
  const int Col = DataCol(FClicked.X);
  if (Col < 1 || Col > GetNrOfColumns()) return;
  CloseEditorBeforeMove();
  {
    const TScopedValue<bool> Mute(FMuteData, true);
    FData->InsertColumn(Col);
    FData->SetColName(Col, "(...)");
  }
  ChangedSetup();
}

void TNTabEd::PopupMenuClickInsertRow(TObject*) {
  const int Row = DataRow(FClicked.Y);
  if (Row < 1 || Row > GetNrOfRows()) return;
  CloseEditorBeforeMove();
  {
    const TScopedValue<bool> Mute(FMuteData, true);
    FData->InsertRow(Row);
    FData->SetRowName(Row, "(...)");
  }
  ChangedSetup();
}

void TNTabEd::PopupMenuClickDeleteCol(TObject*) {
  const int Col = DataCol(FClicked.X);
  if (Col < 1 || Col > GetNrOfColumns() || GetNrOfColumns() < 2) return;
  RemoveColumn(Col);
  ChangedSetup();
}

void TNTabEd::PopupMenuClickDeleteRow(TObject*) {
  const int Row = DataRow(FClicked.Y);
  if (Row < 1 || Row > GetNrOfRows() || GetNrOfRows() < 2) return;
  RemoveRow(Row);
  ChangedSetup();
}

// --- the data menu --------------------------------------------------------------------------

bool TNTabEd::DataSelection(int& L, int& T, int& R, int& B) const {
  const TGridRect S = GetSelection();
  L = std::max(DataCol(S.Left), 1);
  T = std::max(DataRow(S.Top), 1);
  R = std::min(DataCol(S.Right), GetNrOfColumns());
  B = std::min(DataRow(S.Bottom), GetNrOfRows());
  return L <= R && T <= B;
}

// Which: 0 range, 1 column, 2 row, 3 all.
void TNTabEd::StateAction(int Which, std::uint8_t Bits, bool Set) {
  int L = 1, T = 1, R = GetNrOfColumns(), B = GetNrOfRows();
  if (Which != 3) {
    if (!DataSelection(L, T, R, B)) return;
    if (Which == 1) {
      T = 1;
      B = GetNrOfRows();
    } else if (Which == 2) {
      L = 1;
      R = GetNrOfColumns();
    }
  }
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    FData->ModifyStates(L, T, R, B, Set ? 0 : Bits, Set ? Bits : 0, 0);
  }
  Repaint();
  ChangedCellStates();
}

void TNTabEd::PopupMenuClickMarkARange(TObject*) { StateAction(0, csMarkA, true); }
void TNTabEd::PopupMenuClickMarkAColumn(TObject*) { StateAction(1, csMarkA, true); }
void TNTabEd::PopupMenuClickMarkARow(TObject*) { StateAction(2, csMarkA, true); }
void TNTabEd::PopupMenuClickMarkAAll(TObject*) { StateAction(3, csMarkA, true); }
void TNTabEd::PopupMenuClickMarkBRange(TObject*) { StateAction(0, csMarkB, true); }
void TNTabEd::PopupMenuClickMarkBColumn(TObject*) { StateAction(1, csMarkB, true); }
void TNTabEd::PopupMenuClickMarkBRow(TObject*) { StateAction(2, csMarkB, true); }
void TNTabEd::PopupMenuClickMarkBAll(TObject*) { StateAction(3, csMarkB, true); }
void TNTabEd::PopupMenuClickUnMarkARange(TObject*) { StateAction(0, csMarkA, false); }
void TNTabEd::PopupMenuClickUnMarkAColumn(TObject*) { StateAction(1, csMarkA, false); }
void TNTabEd::PopupMenuClickUnMarkARow(TObject*) { StateAction(2, csMarkA, false); }
void TNTabEd::PopupMenuClickUnMarkAAll(TObject*) { StateAction(3, csMarkA, false); }
void TNTabEd::PopupMenuClickUnMarkBRange(TObject*) { StateAction(0, csMarkB, false); }
void TNTabEd::PopupMenuClickUnMarkBColumn(TObject*) { StateAction(1, csMarkB, false); }
void TNTabEd::PopupMenuClickUnMarkBRow(TObject*) { StateAction(2, csMarkB, false); }
void TNTabEd::PopupMenuClickUnMarkBAll(TObject*) { StateAction(3, csMarkB, false); }

void TNTabEd::PopupMenuClickUnMarkAll(TObject*) {
  FData->UnmarkAllCells();
  Repaint();
  ChangedCellStates();
}

void TNTabEd::PopupMenuClickClear(TObject*) {
  int L, T, R, B;
  if (!DataSelection(L, T, R, B)) return;
  CloseEditorBeforeMove();
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    const TScopedValue<bool> Mute(FMuteData, true);
    FData->ZeroBlock(L, T, R, B);
  }
  Repaint();
  if (OnPaste) OnPaste(this);
  ChangedData();
  ChangedCellStates();
}

void TNTabEd::PopupMenuClickEmptyCells(TObject*) {
  int L, T, R, B;
  if (!DataSelection(L, T, R, B)) return;
  CloseEditorBeforeMove();
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    const TScopedValue<bool> Mute(FMuteData, true);
    FData->ModifyStates(L, T, R, B, 0, 0, csEmpty);
  }
  Repaint();
  ChangedCellStates();
}

void TNTabEd::PopupMenuClickEdit(TObject*) {
  SetDataReadOnly(!FReadOnly);
  ChangedSetup();
}

void TNTabEd::PopupMenuClickSelAll(TObject*) {
  SetSelection({FColOffset + 1, FRowOffset + 1, GetColCount() - 1, GetRowCount() - 1});
  Repaint();
  ChangedSelection();
}

}  // namespace kvl
