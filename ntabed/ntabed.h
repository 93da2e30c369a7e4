// TNTabEd: a grid that shows and edits a numeric data table (TDataTable): named rows and
// columns, an optional attribute row and column, per-column precision, nominal columns with a
// pick list, two cell marks and an empty flag, two internal popup menus, the clipboard, and a
// family of change events.
//
// Grid layout: grid column 0 holds the row names and grid row 0 the column names; grid column 1
// holds the row attributes while AttribRowVisible, grid row 1 the column attributes while
// AttribColVisible. Data column c is grid column c + column offset (1 while the attribute
// column shows, else 0); data row r is grid row r + row offset. Public element, name,
// attribute, precision and width accessors take 1-based data indexes; Selection, RowHeights,
// OnGetEditText and OnSetEditText use grid coordinates.
//
// Host code that moves cells through GetData() directly (insert, sort ...) calls HideEditor
// first; the editor's own operations close an open in-place editor themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/core/datatable.h"
#include "kvl/core/kvlbase.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/menus.h"

namespace kvl {

class EKVLNTabedError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

class TMemo;
class TEdit;

using TBeforePopupEvent = std::function<void(TObject* Sender, TPopupMenu* PMenu)>;
using TBeforeRenderCellEvent =
    std::function<void(TObject* Sender, int colix, int rowix, std::string& Text,
                       TColor& ColorText, TColor& ColorBakg, TFontStyles& FontStyles)>;

// Cell text of a number: fixed with P decimals inside the fixed range of P (0 .. 8), else
// scientific with a shortened exponent, or asterisks when the exponent has three digits or
// more. Non-finite values give "NaN", "Inf" and "-Inf". At least W (1 .. 20) characters.
std::string NTabNumberText(double V, int P, int W);
// Text of a nominal code: the ID of the rounded code, else "scale:n" (display) or "n" (edit).
std::string NTabNominalText(const TDataTable& T, int Col, double V, bool ForEditor);
// Sign position, one digit, ".", Decimals digits, "E", sign and four exponent digits; the
// digits rounded halves away from zero. V must be finite.
std::string NTabScientific(double V, int Decimals);
// Reads the numeric in-place editor's text: "," as ".", blanks around, an optional sign,
// digits with one separator, an optional exponent; no locale. Overflow gives ±uc_MaxDouble.
bool NTabParseNumber(std::string_view Text, double& Value);

// The clipboard number scanner: reads text, prepared as Extract from Clipboard prepares it,
// and calls Put(column, row) for every number (0-based). Returns whether a number was read.
bool NTabScanNumbers(std::string_view Text,
                     const std::function<void(int Col, int Row, double Value)>& Put);

class TNTabEd : public TCustomGrid {
public:
  explicit TNTabEd(TComponent* AOwner);
  ~TNTabEd() override;

  // --- binding (binding.cpp)
  TDataTable* GetData() const { return FData; }
  // Binds another table (not owned). nullptr and the bound table do nothing.
  void AssignAnotherDataMatrix(TDataTable* NewDTab);
  bool GetExtMatAssigned() const { return FExtMatAssigned; }
  void CopyContentsFrom(const TNTabEd* ExtTab);
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // --- dimensions and structure
  int GetNrOfColumns() const { return FData->GetNrOfColumns(); }
  void SetNrOfColumns(int N);
  int GetNrOfRows() const { return FData->GetNrOfRows(); }
  void SetNrOfRows(int N);
  void Redimension(int NrCols, int NrRows);
  void InsertRow(int ix);
  void InsertColumn(int ix);
  void RemoveRow(int ix);
  void RemoveColumn(int ix);
  void MirrorRows();
  void MirrorColumns();
  void Clear();
  void Fill(double Value);
  int FillMarkedCells(double Value, std::uint8_t StateMask);

  // --- sorting
  void SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                    int HighRow);
  void SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                    int HighRow);
  int FindColIndex(const TDTNameStr& ColID) const;
  int FindRowIndex(const TDTNameStr& RowID) const;

  // --- the seven change methods; each fires only while painting is not suppressed
  void ChangedAttrib();
  void ChangedCellStates();
  void ChangedData();
  void ChangedHeading();
  void ChangedLayout();
  void ChangedSetup();
  void ChangedSelection();

  // --- elements and headings
  double GetElem(int ACol, int ARow) const { return FData->GetElem(ACol, ARow); }
  void SetElem(int ACol, int ARow, double Value) { FData->SetElem(ACol, ARow, Value); }
  double operator()(int ACol, int ARow) const { return GetElem(ACol, ARow); }
  TDTNameStr GetColName(int ColNr) const { return FData->GetColName(ColNr); }
  void SetColName(int ColNr, const TDTNameStr& Name);
  TDTNameStr GetRowName(int RowNr) const { return FData->GetRowName(RowNr); }
  void SetRowName(int RowNr, const TDTNameStr& Name);
  std::uint8_t GetColAttrib(int ColNr) const { return FData->GetColAttrib(ColNr); }
  void SetColAttrib(int ColNr, std::uint8_t Value);
  std::uint8_t GetRowAttrib(int RowNr) const { return FData->GetRowAttrib(RowNr); }
  void SetRowAttrib(int RowNr, std::uint8_t Value);
  int GetPrecision(int ColNr) const;
  void SetPrecision(int ColNr, int Value);
  // Index > 0: data column (0 above NrOfColumns); 0: row-name column; < 0: attribute column.
  int GetColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  const std::string& GetComment() const { return FData->GetFComment(); }
  void SetComment(const std::string& Value);

  // --- cell states (editing.cpp)
  std::uint8_t GetCellState(int ACol, int ARow) const { return FData->GetCellState(ACol, ARow); }
  void SetCellState(int ACol, int ARow, std::uint8_t State);
  bool GetElemMarkedA(int ACol, int ARow) const { return GetCellState(ACol, ARow) & csMarkA; }
  void SetElemMarkedA(int ACol, int ARow, bool Value);
  bool GetElemMarkedB(int ACol, int ARow) const { return GetCellState(ACol, ARow) & csMarkB; }
  void SetElemMarkedB(int ACol, int ARow, bool Value);
  bool GetIsEmpty(int ACol, int ARow) const { return GetCellState(ACol, ARow) & csEmpty; }
  void SetIsEmpty(int ACol, int ARow, bool Value);
  bool GetIsNumber(int ACol, int ARow) const { return FData->GetIsNumber(ACol, ARow); }
  void MarkAllElemsA();
  void MarkAllElemsB();
  void UnMarkAllElems();
  void InvertCellStates(std::uint8_t StateMask);
  void ExchangeMarkings();
  int NrOfMarkedDataA() const { return FData->CountStates(csMarkA); }
  int NrOfMarkedDataB() const { return FData->CountStates(csMarkB); }
  bool IfRowMarked(int Row) const;
  bool IfColumnMarked(int Col) const;
  bool IfAnyMarked() const;
  // Copies the states of the area both tables share; true when the sizes are equal.
  bool CopyCellStatesFrom(const TNTabEd* ExtTab);

  // --- clipboard (clipboard.cpp)
  bool GetClipMatrixSize(int& NCols, int& NRows) const;

  // --- menus (menus.cpp)
  TPopupMenu* GetDataMenu() const { return FPopupD; }
  TPopupMenu* GetHeadingMenu() const { return FPopupH; }
  std::uint32_t GetPopupDMask() const { return FPopupDMask; }
  void SetPopupDMask(std::uint32_t Value);
  std::uint32_t GetPopupHMask() const { return FPopupHMask; }
  void SetPopupHMask(std::uint32_t Value);
  TDTNameStr GetPopupDCaptions(int ix) const;
  void SetPopupDCaptions(int ix, const TDTNameStr& Value);
  TDTNameStr GetPopupHCaptions(int ix) const;
  void SetPopupHCaptions(int ix, const TDTNameStr& Value);
  TDTNameStr GetPopupMCaptions(int ix) const;
  void SetPopupMCaptions(int ix, const TDTNameStr& Value);
  TDTNameStr GetPopupUCaptions(int ix) const;
  void SetPopupUCaptions(int ix, const TDTNameStr& Value);
  // The menus' public handlers; each acts on the clicked cell or the selection.
  void PopupMenuClickMarkARange(TObject* Sender);
  void PopupMenuClickMarkAColumn(TObject* Sender);
  void PopupMenuClickMarkARow(TObject* Sender);
  void PopupMenuClickMarkAAll(TObject* Sender);
  void PopupMenuClickMarkBRange(TObject* Sender);
  void PopupMenuClickMarkBColumn(TObject* Sender);
  void PopupMenuClickMarkBRow(TObject* Sender);
  void PopupMenuClickMarkBAll(TObject* Sender);
  void PopupMenuClickUnMarkARange(TObject* Sender);
  void PopupMenuClickUnMarkAColumn(TObject* Sender);
  void PopupMenuClickUnMarkARow(TObject* Sender);
  void PopupMenuClickUnMarkAAll(TObject* Sender);
  void PopupMenuClickUnMarkBRange(TObject* Sender);
  void PopupMenuClickUnMarkBColumn(TObject* Sender);
  void PopupMenuClickUnMarkBRow(TObject* Sender);
  void PopupMenuClickUnMarkBAll(TObject* Sender);
  void PopupMenuClickUnMarkAll(TObject* Sender);
  void PopupMenuClickClear(TObject* Sender);
  void PopupMenuClickCopy(TObject* Sender);
  void PopupMenuClickPaste(TObject* Sender);
  void PopupMenuClickEdit(TObject* Sender);
  void PopupMenuClickExtClip(TObject* Sender);
  void PopupMenuClickSelAll(TObject* Sender);
  void PopupMenuClickEmptyCells(TObject* Sender);
  void PopupMenuClickChangeID(TObject* Sender);
  void PopupMenuClickPrecision(TObject* Sender);
  void PopupMenuClickSelectCol(TObject* Sender);
  void PopupMenuClickSelectRow(TObject* Sender);
  void PopupMenuClickInsertCol(TObject* Sender);
  void PopupMenuClickInsertRow(TObject* Sender);
  void PopupMenuClickDeleteCol(TObject* Sender);
  void PopupMenuClickDeleteRow(TObject* Sender);
  void PopupMenuDLoadPopup(TObject* Sender);
  // The grid cell the last press hit (for hosts that call the handlers).
  TGridCoord GetClickedCell() const { return FClicked; }
  void SetClickedCell(TGridCoord C) { FClicked = C; }
  bool GetNameEditorOpen() const { return FNameEdActive; }
  bool GetCommentEditorOpen() const { return FCommentMMActive; }
  TEdit* GetNameEditor() const;
  TMemo* GetCommentEditor() const;

  // --- published properties (binding.cpp, editing.cpp, paint.cpp)
  bool GetAttribRowVisible() const { return FColOffset == 1; }
  void SetAttribRowVisible(bool Value);
  bool GetAttribColVisible() const { return FRowOffset == 1; }
  void SetAttribColVisible(bool Value);
  int GetNumWidth() const { return FNumWidth; }
  void SetNumWidth(int Value);
  int GetDefaultColWidth() const { return TCustomGrid::GetDefaultColWidth(); }
  void SetDefaultColWidth(int Value);
  int GetLeftCol() const { return TCustomGrid::GetLeftCol() - FColOffset; }
  void SetLeftCol(int Value);
  int GetTopRow() const { return TCustomGrid::GetTopRow() - FRowOffset; }
  void SetTopRow(int Value);
  bool GetSuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool Value);
  TColor GetColorBackground() const { return FColorBkgnd; }
  void SetColorBackground(TColor Value);
  TColor GetColorFixed() const { return FColorFixed; }
  void SetColorFixed(TColor Value);
  TColor GetColorNormal() const { return FColorNormal; }
  void SetColorNormal(TColor Value);
  TColor GetColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value);
  TColor GetColorMarkedA() const { return FColorMarked1; }
  void SetColorMarkedA(TColor Value);
  TColor GetColorMarkedB() const { return FColorMarked2; }
  void SetColorMarkedB(TColor Value);
  TColor GetColorMarkedBoth() const { return FColorMarkedBoth; }
  void SetColorMarkedBoth(TColor Value);
  TColor GetColorRangeSelFG() const { return FColorRngSelFG; }
  void SetColorRangeSelFG(TColor Value);
  TColor GetColorRangeSelBG() const { return FColorRngSelBG; }
  void SetColorRangeSelBG(TColor Value);
  bool GetBoldMarks() const { return FBoldMarks; }
  void SetBoldMarks(bool Value);
  bool GetBoldSelHeads() const { return FBoldSelHeads; }
  void SetBoldSelHeads(bool Value);
  bool GetOptimizeRowHeight() const { return FOptRowHeight; }
  void SetOptimizeRowHeight(bool Value);
  bool GetDataReadOnly() const { return FReadOnly; }
  void SetDataReadOnly(bool Value);
  bool GetAutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool Value) { FAutoAdvance = Value; }
  TOrientation GetAutoAdvanceDir() const { return FAutoAdvDir; }
  void SetAutoAdvanceDir(TOrientation Value) { FAutoAdvDir = Value == orHorizontal ? orHorizontal : orVertical; }
  bool GetBlockInternalPopup() const { return FBlockIntPopup; }
  void SetBlockInternalPopup(bool Value) { FBlockIntPopup = Value; }
  bool GetCommentEditingAllowed() const { return FCommEdAllowed; }
  void SetCommentEditingAllowed(bool Value) { FCommEdAllowed = Value; }
  bool GetClipboardUseFullPrec() const { return FClipUseFullPrec; }
  void SetClipboardUseFullPrec(bool Value) { FClipUseFullPrec = Value; }
  int GetNomEditDropDownCount() const { return GetDropDownRows(); }
  void SetNomEditDropDownCount(int Value) { SetDropDownRows(Value); }

  // --- painting (paint.cpp)
  int AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
  int AutoRowHeight(int RowNr, int Addon);

  // While painting is suppressed the request waits for the end of the suppression, so the
  // last picture stays.
  void Invalidate() override;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnHeadingChanged;
  TNotifyEvent OnAttributeChanged;
  TNotifyEvent OnLayoutChanged;
  TNotifyEvent OnCellStateChanged;
  TNotifyEvent OnSelectionChanged;
  TNotifyEvent OnChangeSetup;
  TNotifyEvent OnPaste;
  TOnPercentDoneEvent OnPercentDone;
  TBeforePopupEvent OnBeforePopup;
  TBeforeRenderCellEvent OnBeforeRenderCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;

protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void FontChanged() override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  TEditStyle GetEditStyle(int ACol, int ARow) override;
  void GetPickListItems(int ACol, int ARow, TStrings& Items) override;
  void TopLeftChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fires OnBeforeRenderCell when assigned.
  void BeforeRenderCell(int colix, int rowix, std::string& Text, TColor& ColorText,
                        TColor& ColorBakg, TFontStyles& FontStyles);

private:
  friend class TNTabEdHeadEdit;
  friend class TNTabEdCommentMemo;

  // binding.cpp
  bool Suppressed() const { return FSuppressPaint || FInternSuppPaint; }
  void Attach(TDataTable* T);
  void Detach();
  void DataHasChanged(TObject* Sender);
  void SetupHasChanged(TObject* Sender);
  void NTPercDone(TObject* Sender, int Percent);
  void DataHasBeenResized(TObject* Sender, int OldCols, int OldRows, int NewCols, int NewRows);
  void ExchangeDuringSort(TObject* Sender, bool Columns, int Ix1, int Ix2);
  // The grid follows the table's size; FDecP grows with the precision of old column OldCols.
  void FollowTableSize(int OldCols, int NewCols, int NewRows);
  void ResizeTable(int NrCols, int NrRows);
  void NameAfresh();
  void ShiftSelection(int DX, int DY);
  // Repaints, unless painting is suppressed (then the last picture stays until it ends).
  void Repaint();
  // Ends an open in-place editor, committing a changed text, before cells move.
  void CloseEditorBeforeMove();
  int DataCol(int GridCol) const { return GridCol - FColOffset; }
  int DataRow(int GridRow) const { return GridRow - FRowOffset; }
  // The selection in data coordinates, clipped to the data cells; false when empty.
  bool DataSelection(int& L, int& T, int& R, int& B) const;
  // Runs an operation that moves or changes many cells: the editor closes first, painting is
  // suppressed meanwhile, then one repaint, OnChange and (when the counts changed) OnChangeSetup.
  template <class F>
  void Bulk(bool CountsChange, F Operation);
  // Closes the in-place editor without handing its text back.
  void HideEditorDiscarding();

  // editing.cpp
  void CreateSideEditors();
  std::string CornerText() const;
  void AllStates(std::uint8_t Clear, std::uint8_t Set);
  void DrawCornerDirect();
  void CheckSelectionChanged();
  void OpenHeadingEditor();
  void CloseHeadingEditor(bool Store);
  void OpenCommentEditor();
  void CloseCommentEditor(bool Store);
  void SetEditing(bool On);

  // menus.cpp
  void BuildMenus();
  void ApplyMasks();
  void StateAction(int Which, std::uint8_t Bit, bool Set);
  void DrawInvertedFrame(const TRect& Cell);
  void ToggleFrame(const TRect& Cell);
  void PopupHeadingMenu(bool Reopen);

  // clipboard.cpp
  std::string CopyText(int Col, int Row) const;

  // paint.cpp
  std::string DataCellText(int Col, int Row) const;
  void SetLayoutColor(TColor& Field, TColor Value);

  TDataTable* FData = nullptr;
  std::unique_ptr<TDataTable> FOwnedData;  // FData when the editor owns it
  std::unique_ptr<TDataTable> FDataCopy;
  bool FDataCopyAvail = false;
  bool FExtMatAssigned = false;
  int FListenerIds[5] = {};
  int FColOffset = 1, FRowOffset = 0;
  std::vector<std::int8_t> FDecP;
  int FNumWidth = 1;
  int FClassColWidth = 32;
  bool FSuppressPaint = false;
  bool FInternSuppPaint = false;
  bool FMuteData = false;  // the editor's own contents listener is muted during a loop
  bool FSortIncludeHd = false;
  bool FOwnSort = false;      // the editor itself moves cells (its editor is closed already)
  bool FDiscardEdit = false;  // an ending in-place editor hands nothing back
  bool FRepaintPending = false;
  bool FFrameShown = false;  // the heading menu's inverted frame stands
  TRect FFrameRect;
  bool FInRowHeight = false;
  TGridRect FOldSel{-1, -1, -1, -1};
  bool FReadOnly = false;
  bool FOptRowHeight = false;

  TColor FColorNormal = 0x002000, FColorSelected = 0x404040, FColorMarked1 = 0x0000FF,
         FColorMarked2 = 0xFF0000, FColorMarkedBoth = 0xCC00BB, FColorRngSelFG = 0x80552C,
         FColorRngSelBG = 0xF8E8E0, FColorBkgnd = clWindow, FColorFixed = clBtnFace;
  bool FBoldMarks = true, FBoldSelHeads = true;

  TGridCoord FClicked{0, 0};
  TPoint FPrevPress{0, 0};
  TEdit* FNameEd = nullptr;
  bool FNameEdActive = false;
  TGridCoord FNameEdCell{0, 0};
  TMemo* FCommentMM = nullptr;
  bool FCommentMMActive = false;
  TPopupMenu* FPopupD = nullptr;
  TPopupMenu* FPopupH = nullptr;
  std::uint32_t FPopupDMask = 0x7FFFFFFF, FPopupHMask = 0x7FFFFFFF;
  bool FBlockIntPopup = false;
  bool FCommEdAllowed = true;
  bool FAutoAdvance = true;
  TOrientation FAutoAdvDir = orVertical;
  bool FClipUseFullPrec = true;
  TMenuItem* FDataItems[13] = {};
  TMenuItem* FSubItems[4][5] = {};
  TMenuItem* FHeadItems[6] = {};
};

}  // namespace kvl
