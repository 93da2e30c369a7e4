// TReportListView: a grid that shows a TRLData store. One grid column per data column (in the
// column order), one grid row per data row below one or two header rows (a common header and
// the column names), check-box and radio columns, row and column selection and disabled rows
// kept in the store's attribute bytes, shading, a highlight row and column, sorting by header
// click, an inter-row indicator, a message for the empty table and filtering of the shown rows.
//
// Data coordinates count columns from 1 (column 0 of the store is never shown) and rows from
// 1; grid row y shows data row y - H + 1 where H = CountHeadRows.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/grids.h"
#include "kvl/replist/replist.h"

namespace kvl {

class TForm;
class TSpeedButton;

// Stored for hosts that set it; text here always runs left to right.
enum TBiDiMode : std::uint8_t {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

class EKVLRepListError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

using TCheckStateChangeEvent =
    std::function<void(TObject* Sender, bool& State, int Col, int Row)>;
using TRequestEditFormatEvent =
    std::function<void(TObject* Sender, int Col, int Row, std::string& Format)>;
using TBeforeFilterEvent = std::function<void(TObject* Sender, int Row, bool& Found,
                                              TLogicOp& CombineWithInternalSearch)>;
using TRenderCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TColor& PenColor,
                                            TColor& BrushColor, TColor& FontColor,
                                            TFontStyles& FontStyles, std::string& Text)>;
using TDockEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

class TReportListView : public TCustomDrawGrid {
public:
  explicit TReportListView(TComponent* AOwner);
  ~TReportListView() override;

  void Assign(const TPersistent* Source) override;

  // --- dimensions and rows (reportview.cpp) ---
  int GetNrOfColumns() const;
  // Below 1 gives 1; the column order goes back to the identity.
  void SetNrOfColumns(int N);
  int GetNrOfRows() const;
  void SetNrOfRows(int N);
  // The rows the grid shows: NrOfRows, or the matches while a filter is on.
  int GetNrOfShownRows() const;
  int AddRow();
  int InsertRow(int R);
  void RemoveRow(int R);
  void RemoveEmptyRows();
  void Fill(std::string_view S);
  void Clear();
  int CountHeadRows() const { return (FComHdVis ? 1 : 0) + (FColHdVis ? 1 : 0); }

  // --- cells, forwarded to the store ---
  std::string GetElem(int ACol, int ARow) const;
  void SetElem(int ACol, int ARow, std::string_view Value);
  std::string operator()(int ACol, int ARow) const { return GetElem(ACol, ARow); }
  // Writes fire no check-mark events.
  bool GetElemChecked(int ACol, int ARow) const;
  void SetElemChecked(int ACol, int ARow, bool Value);
  std::string GetDefaultValue(int ACol, int ARow) const;
  double GetAsNumber(int ACol, int ARow) const;
  int ColumnIndex(std::string_view Head, bool PartialMatch) const;
  int FirstCheckedElemInCol(int ColNr) const;
  int FirstCheckedElemInRow(int RowNr) const;
  int CountCheckedElemsInRow(int Row) const;
  // Disabled rows are not counted (the store's count takes them).
  int CountCheckedElemsInCol(int Column) const;
  void SetAllCheckmarksOfCol(int Column, bool Checked);
  void InvertAllCheckmarksOfCol(int Column);
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       bool UseTabs);
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       std::string_view Separator);

  // --- column model (reportview_columns.cpp) ---
  std::string GetHeader(int ColNr) const;
  void SetHeader(int ColNr, std::string_view Value);
  std::string GetColumnFormat(int ColNr) const;
  void SetColumnFormat(int ColNr, std::string_view Value);
  TCheckMode GetColumnCheckMode(int ColNr) const;
  void SetColumnCheckMode(int ColNr, TCheckMode Value);
  bool GetIsCheckedColumn(int ColNr) const;
  void SetIsCheckedColumn(int ColNr, bool Value);
  TAlignment GetColumnAlignment(int ColNr) const;
  void SetColumnAlignment(int ColNr, TAlignment Value);
  bool GetColumnEditable(int ColNr) const;
  void SetColumnEditable(int ColNr, bool Value);
  bool GetColumnIsPwd(int ColNr) const;
  void SetColumnIsPwd(int ColNr, bool Value);
  int GetColumnOrder(int ColNr) const;
  // Entry i names the data column shown at grid column i - 1. False, with nothing changed,
  // unless the list has NrOfColumns entries; false also when an entry lies outside
  // 1..NrOfColumns (that position keeps its column, the others are applied). Repetitions are
  // not refused: a data column shown nowhere reads width 0 and cannot be edited.
  bool SetColumnOrder(const std::vector<int>& ColList);
  // Width of the grid column showing data column Index; 0 for a column shown nowhere.
  int GetColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  bool GetColumnSelected(int C) const;
  void SetColumnSelected(int C, bool Value);
  int DetermineMaxColWidth(int ColNr, bool IncludeHeader);
  void AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
  void AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth);
  void FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth,
                       int RightMargin);
  void ExpandColWidth(int ColIx, int RightMargin);
  int GetDefaultColWidth() const { return TCustomGrid::GetDefaultColWidth(); }
  // Resets every column width.
  void SetDefaultColWidth(int Value);
  int GetDefaultRowHeight() const { return TCustomGrid::GetDefaultRowHeight(); }
  void SetDefaultRowHeight(int Value);
  // The data column shown at grid column g (1-based; 0 outside) and the grid column showing
  // data column k (-1 when it shows nowhere).
  int DataColOfGrid(int G) const;
  int GridColOfData(int K) const;
  // What a data cell and a header line show at width W (the "..." fitting).
  std::string FittedCellText(int ColNr, std::string_view S, int W, TCanvas& C) const;
  std::string FittedHeaderLine(std::string_view Line, int W, int Reserve, TCanvas& C) const;

  // --- header rows ---
  bool GetCommonHeaderVisible() const { return FComHdVis; }
  void SetCommonHeaderVisible(bool Value);
  bool GetColumnHeadersVisible() const { return FColHdVis; }
  void SetColumnHeadersVisible(bool Value);
  int GetCommonHeaderHeight() const { return FComHdHgt; }
  // Clamped to 8..127.
  void SetCommonHeaderHeight(int Value);
  int GetColumnHeadersHeight() const { return FColHdHgt; }
  void SetColumnHeadersHeight(int Value);
  std::string GetCommonHeader() const;
  void SetCommonHeader(std::string_view Value);
  TAlignment GetCommonHeaderAlignment() const { return FHeaderAlignment; }
  void SetCommonHeaderAlignment(TAlignment Value);

  // --- colours and looks: store, repaint, OnChangeSetup ---
  TColor GetColorText() const { return FColorNormal; }
  void SetColorText(TColor V) { SetSetupColor(FColorNormal, V); }
  TColor GetColorBkgdNormal() const { return FRColorNormal; }
  void SetColorBkgdNormal(TColor V) { SetSetupColor(FRColorNormal, V); }
  TColor GetColorBkgdShaded() const { return FRColorShaded; }
  void SetColorBkgdShaded(TColor V) { SetSetupColor(FRColorShaded, V); }
  TColor GetColorHigh() const { return FHiLgtColor; }
  void SetColorHigh(TColor V) { SetSetupColor(FHiLgtColor, V); }
  TColor GetColorHighText() const { return FHiLgtTextColor; }
  void SetColorHighText(TColor V) { SetSetupColor(FHiLgtTextColor, V); }
  TColor GetColorSelectedRow() const { return FSelRowColor; }
  void SetColorSelectedRow(TColor V) { SetSetupColor(FSelRowColor, V); }
  TColor GetColorSelectedRowText() const { return FSelRowTextColor; }
  void SetColorSelectedRowText(TColor V) { SetSetupColor(FSelRowTextColor, V); }
  TColor GetColorSelectedCol() const { return FSelColColor; }
  void SetColorSelectedCol(TColor V) { SetSetupColor(FSelColColor, V); }
  TColor GetColorSelectedColText() const { return FSelColTextColor; }
  void SetColorSelectedColText(TColor V) { SetSetupColor(FSelColTextColor, V); }
  TColor GetColorSelectedBoth() const { return FSelBothColor; }
  void SetColorSelectedBoth(TColor V) { SetSetupColor(FSelBothColor, V); }
  TColor GetColorSelectedBothText() const { return FSelBothTextColor; }
  void SetColorSelectedBothText(TColor V) { SetSetupColor(FSelBothTextColor, V); }
  TColor GetColorDisabledBkgd() const { return FDisabledBkgdColor; }
  void SetColorDisabledBkgd(TColor V) { SetSetupColor(FDisabledBkgdColor, V); }
  TColor GetColorDisabledText() const { return FDisabledTextColor; }
  void SetColorDisabledText(TColor V) { SetSetupColor(FDisabledTextColor, V); }
  TColor GetColorColumnHd() const { return FColHdColor; }
  void SetColorColumnHd(TColor V);
  TColor GetFixedColor() const { return FColHdColor; }
  void SetFixedColor(TColor V) { SetColorColumnHd(V); }
  TColor GetColorColumnHdText() const { return FColHdTxtColor; }
  void SetColorColumnHdText(TColor V) { SetSetupColor(FColHdTxtColor, V); }
  TColor GetColorCommonHd() const { return FComHdColor; }
  void SetColorCommonHd(TColor V) { SetSetupColor(FComHdColor, V); }
  TColor GetColorCommonHdText() const { return FComHdTxtColor; }
  void SetColorCommonHdText(TColor V) { SetSetupColor(FComHdTxtColor, V); }
  TColor GetColorEmptyMsg() const { return FColorEmptyMsg; }
  void SetColorEmptyMsg(TColor V);
  const std::string& GetEmptyMessage() const { return FEmptyMsg; }
  void SetEmptyMessage(std::string_view V);
  int GetHighLightRow() const { return FHiLgtRow; }
  void SetHighLightRow(int V) { SetSetupInt(FHiLgtRow, V); }
  int GetHighLightColumn() const { return FHiLgtColumn; }
  void SetHighLightColumn(int V) { SetSetupInt(FHiLgtColumn, V); }
  bool GetHighLightBold() const { return FHiLgtBold; }
  void SetHighLightBold(bool V);
  TColor GetInterRowIndicatorColor() const { return FInterRowColor; }
  void SetInterRowIndicatorColor(TColor V) { SetSetupColor(FInterRowColor, V); }
  int GetInterRowIndicatorWidth() const { return FInterRowWidth; }
  void SetInterRowIndicatorWidth(int V) { SetSetupInt(FInterRowWidth, V); }
  int GetInterRowIndicatorPos() const { return FInterRowIndi; }
  void SetInterRowIndicatorPos(int V);
  int GetRowColPattern() const { return FRowColPattern; }
  void SetRowColPattern(int V) { SetSetupInt(FRowColPattern, V); }
  bool GetFixedFirstColumn() const { return FFixedColOne; }
  void SetFixedFirstColumn(bool V);
  bool GetShowEmptyCheckBoxes() const { return FShowEmptyCBx; }
  void SetShowEmptyCheckBoxes(bool V);
  bool GetCheckMarksReadOnly() const { return FROCheckMarks; }
  void SetCheckMarksReadOnly(bool V);
  bool GetSuppressPaint() const { return FSuppressPaint; }
  // Switching it off repaints.
  void SetSuppressPaint(bool V);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) override;

  // --- plain settings ---
  bool GetAutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool V) { FAutoAdvance = V; }
  bool GetSortEnabled() const { return FSortEnabled; }
  void SetSortEnabled(bool V) { FSortEnabled = V; }
  bool GetUseCtrlForMultiSel() const { return FCtrlForMultiSel; }
  void SetUseCtrlForMultiSel(bool V) { FCtrlForMultiSel = V; }
  int GetRowSelectMode() const { return FRowSelectMode; }
  // 0 no row selection, 1 one row, 2 many. Note for hosts that disable rows to lock them: in
  // mode 2 a Shift-click copies the anchor row's whole attribute byte to the range, so rows
  // take the anchor's disabled bit too (and lose theirs when the anchor is enabled).
  void SetRowSelectMode(int V);

  // --- stored only (nothing here draws or acts on them) ---
  bool GetParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool V) { FParentCtl3D = V; }
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode V) { FBiDiMode = V; }
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool V) { FParentBiDiMode = V; }
  const TSizeConstraints& GetConstraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& V) { FConstraints = V; }

  // --- rows: selection, enabling, store state ---
  bool GetRowSelected(int R) const;
  void SetRowSelected(int R, bool Value);
  bool GetRowEnabled(int R) const;
  void SetRowEnabled(int R, bool Value);
  std::string GetComment() const;
  void SetComment(std::string_view V);
  std::string GetDataID() const;
  void SetDataID(std::string_view V);
  int GetLastSortColumn() const;
  bool GetLastSortOrder() const;
  int GetSecondarySortColumn() const;
  // -1..NrOfColumns, others ignored.
  void SetSecondarySortColumn(int V);

  // --- scrolling (data coordinates) ---
  int GetTopRow() const;
  void SetTopRow(int V);
  int GetLeftCol() const;
  void SetLeftCol(int V);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // X: grid column + 1 (0 outside); Y: data row, -1 column headers, -2 common header, 0
  // outside.
  TGridCoord MouseCell(int X, int Y) const;

  // --- notifications ---
  void Changed();
  void ChangedSetup();
  void ChangedSelection();

  // --- sorting and selection (reportview_input.cpp) ---
  void Sort(int Col, int ColSec, bool Ascending);
  void UnSort();
  void SelectAllRows();
  void DeselectAllRows();
  void SelectAllColumns();
  void DeselectAllColumns();
  void EnableAllRows();
  void DisableAllRows();
  int FirstSelectedRow() const;
  int FirstSelectedColumn() const;
  int NumSelectedRows() const;
  int NumSelectedColumns() const;
  int NumEnabledRows() const;
  void CenterScrollAndSelect(int Row);

  // --- files, XML and filtering (reportview_filter.cpp) ---
  int LoadLinesFromFile(int Column, int FirstRow, const std::string& FName);
  bool ReadFromXMLString(std::string_view InString, const std::string& DataID);
  bool ReadFromXMLStream(std::istream& InStream, const std::string& DataID);
  bool ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID);
  bool LoadFromXMLFile(const std::string& FName, const std::string& DataID);
  void WriteToOpenXMLFile(std::FILE* F, bool CreateHeader, const std::string& DataID);
  void WriteToXMLStream(std::ostream& OutStream, bool CreateHeader, const std::string& DataID);
  void SaveAsXMLFile(const std::string& FName, const std::string& DataID);
  void ExportHTMLTable(const std::string& FName, int LoC, int LoR, int HiC, int HiR,
                       const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                       int Cellpadding, bool IncludeHeader, const std::string& HeadClass,
                       const std::string& CellClass, const std::string& TableClass);
  // Shows only the rows that match FilterExp in one of FilterColumns (all when empty), sorted
  // by SortColumn when it is a column of the table; see reportview_filter.cpp for the modes.
  void FilterAndSort(const std::string& FilterExp, const std::vector<int>& FilterColumns,
                     bool IgnoreCase, TFilterMode FilterMode, int SortColumn, bool Ascending);
  bool GetFiltered() const { return FFiltered; }

  // The store (read only: changes go through the view so that it stays in step).
  const TRLData& GetData() const { return *FRLData; }

  // --- the row editor (roweditor.cpp) ---
  // Edits data row Row (1 .. NrOfRows) in a modal dialog: one labelled field per data column,
  // the control chosen by the column's edit format (OnRequestEditFormat may replace it).
  // Returns the modal result. On 1 (OK) the fields the user changed are written back, and the
  // defaults that fields show for empty cells; nothing else, so a cell that a field cannot show
  // is kept. Any other result writes nothing. A row out of range, or a call while a dialog is
  // open, returns 2 without a dialog. An open cell editor is ended (committed) first.
  // Own dialog at screen position (PosLeft, PosTop), caption "Editing Row " and Row, buttons
  // "OK" and "Cancel" (or the given texts).
  int EditRowEntries(int Row, int PosLeft, int PosTop);
  int EditRowEntries(int Row, int PosLeft, int PosTop, const std::string& FormCaption,
                     const std::string& ButOKCaption, const std::string& ButCancelCaption);
  // The fields on ContainerForm from (PosLeft, PosTop), without buttons; its caption is
  // cleared and it grows to hold them. Enter in a field gives 1, Escape and the close box 2;
  // the host provides any other way to 1 (a control of its own that sets the form's
  // ModalResult). A container form that is already showing raises EKVLRepListError.
  int EditRowEntries(int Row, TForm* ContainerForm, int PosLeft, int PosTop);
  // The open dialog's form and its Cancel button (nullptr on a container form); nullptr while
  // no dialog is open.
  TForm* GetContainerForm() const { return FContainerForm; }
  TSpeedButton* GetSBERCancel() const { return FSBERCancel; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChangeSetup;
  TNotifyEvent OnSelectedChange;
  TCheckStateChangeEvent OnCheckedChange;
  TCheckStateChangeEvent OnBeforeCheckedChange;
  TRequestEditFormatEvent OnRequestEditFormat;
  TBeforeFilterEvent OnBeforeFilter;
  TRenderCellEvent OnBeforeRenderCell;
  TBeforeSortExchgEvent OnBeforeSortExchange;
  TBeforeHTMLExportEvent OnBeforeHTMLExport;
  TOnPercentDoneEvent OnPercentDone;
  // Declared for hosts written against the docking interface; nothing docks here.
  TDockEvent OnStartDock;
  TDockEvent OnEndDock;

  // The scope of a painting pause: suppresses painting and restores the previous state.
  class TPaintPause {
  public:
    explicit TPaintPause(TReportListView& V) : FView(V), FWas(V.FSuppressPaint) {
      V.FSuppressPaint = true;
    }
    ~TPaintPause() { FView.SetSuppressPaint(FWas); }
    TPaintPause(const TPaintPause&) = delete;
    TPaintPause& operator=(const TPaintPause&) = delete;

  private:
    TReportListView& FView;
    bool FWas;
  };

protected:
  void CreateWnd() override;
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void TopLeftChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void AssignTo(TPersistent* Dest) const override;

private:
  friend class TPaintPause;
  // Fires no OnChange per cell while a bulk operation runs; the operation fires one at its end.
  class TQuietChanges {
  public:
    explicit TQuietChanges(int& Counter) : FCounter(Counter) { ++FCounter; }
    ~TQuietChanges() { --FCounter; }
    TQuietChanges(const TQuietChanges&) = delete;
    TQuietChanges& operator=(const TQuietChanges&) = delete;

  private:
    int& FCounter;
  };
  bool LoadWith(const std::function<bool()>& Read);
  // Shown data row r sits in grid row r + H - 1.
  bool IsDataRow(int R) const { return R >= 1 && R <= GetNrOfShownRows(); }
  int DataRowOfGrid(int GridRow) const { return GridRow - CountHeadRows() + 1; }
  void InstallHooks();
  void SetSetupColor(TColor& Field, TColor V);
  void SetSetupInt(int& Field, int V);
  // Row count, fixed rows and header heights after the header rows or the row count changed.
  void UpdateGridRows();
  void SetHeaderHeights();
  // The grid's column count and the per-column arrays after the store's column count changed.
  struct TColumnArrays {
    std::vector<TAlignment> Align;
    std::vector<std::uint8_t> Editable, Pwd;
    std::vector<int> Order;
  };
  // The per-column arrays resized to N columns (the order back to the identity); raises
  // EKVLRepListError when they cannot grow. TakeColumnArrays commits them.
  TColumnArrays ResizedColumnArrays(int N) const;
  void TakeColumnArrays(TColumnArrays&& A) noexcept;
  void EndEditing();
  void EndFilter();
  int RunRowEditor(int Row, TForm* Container, int PosLeft, int PosTop,
                   const std::string& FormCaption, const std::string& ButOKCaption,
                   const std::string& ButCancelCaption);
  void ForgetStaleAnchor();
  // Sorts through the store with the view's exchange hook (or none).
  void SortStore(int Col, int ColSec, bool Ascending);
  // Moves the remembered matches to the front of the shown order.
  void PartitionMatches();
  void SetAllRowBits(std::uint8_t Bit, bool Value);
  void SetAllColumnBits(bool Value);
  void SelectOnly(int R);
  void HeaderClickSort(int DataCol);
  bool ClickCheckMark(int DataCol, int Row, int X, const TRect& Cell);
  void SizeColumnAtBorder(int X, int Y);
  void AfterLoad(bool Ok, int OldCols);
  void PaintEmptyTable(TCanvas& C);
  void PaintIndicator(TCanvas& C);
  void DrawDataCell(TCanvas& C, int ACol, int ARow, const TRect& R);
  void DrawCommonHeader(TCanvas& C, const TRect& R);
  void DrawColumnHeader(TCanvas& C, int ACol, const TRect& R);
  int FontExtraWidth() const;

  bool FAutoAdvance = false;
  int FLastMousePosX = 0, FLastMousePosY = 0;
  std::vector<TAlignment> FColAlignment;
  TAlignment FHeaderAlignment = taCenter;
  std::string FEmptyMsg;
  std::vector<std::uint8_t> FColumnEditable, FColumnIsPwd;
  std::vector<int> FColOrder;
  bool FComHdVis = false;
  TColor FComHdColor = clBtnFace, FComHdTxtColor = 0x00000000;
  int FComHdHgt = 20;
  bool FColHdVis = true;
  TColor FColHdColor = clBtnFace, FColHdTxtColor = 0x00000000;
  int FColHdHgt = 20;
  TColor FColorEmptyMsg = 0x00000000;
  TColor FDisabledTextColor = 0x00C0C0C0, FDisabledBkgdColor = 0x00F0F0F0;
  bool FEnabled = true;
  int FSelectAnchor = 1;
  int FRowSelectMode = 1;
  bool FCtrlForMultiSel = true;
  bool FSortEnabled = true;
  TColor FSelRowColor = 0x0094BAED, FSelRowTextColor = 0x00800000;
  TColor FSelColColor = 0, FSelColTextColor = 0;
  TColor FSelBothColor = 0, FSelBothTextColor = 0;
  bool FShowEmptyCBx = true;
  bool FROCheckMarks = false;
  TColor FHiLgtColor = 0x00CC9966, FHiLgtTextColor = 0x00FFFFFF;
  bool FHiLgtBold = false;
  int FHiLgtRow = 0, FHiLgtColumn = 0;
  bool FSuppressPaint = false;
  // Painting waits for the window; tracked apart from the host's SuppressPaint.
  bool FNoWindowYet = true;
  TColor FColorNormal = 0x00002000;
  TColor FRColorNormal = 0x00FFFFFF, FRColorShaded = 0x00F0EFE8;
  int FRowColPattern = 1;
  int FInterRowIndi = 0;
  TColor FInterRowColor = 0x000000FF;
  int FInterRowWidth = 3;
  bool FFixedColOne = false;
  std::unique_ptr<TRLData> FRLData;
  // Bulk operations fire one OnChange at their end instead of one per cell.
  int FQuietChanges = 0;
  // Filtering: the match flag of each physical row and the count of shown rows.
  bool FFiltered = false;
  int FShownRows = 0;
  std::vector<std::uint8_t> FMatch;
  bool FParentCtl3D = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TSizeConstraints FConstraints;
  // The row editor's form and Cancel button while it is open.
  TForm* FContainerForm = nullptr;
  TSpeedButton* FSBERCancel = nullptr;
};

}  // namespace kvl
