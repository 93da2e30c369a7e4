// Grids: a table of cells drawn by the program (TCustomGrid, TDrawGrid) or holding text
// (TStringGrid), with fixed header rows and columns, scroll bars, keyboard and mouse selection
// and an in-place editor. Sizes are kept sparsely and every query walks only what is visible,
// so a grid of ten million rows costs what a screenful costs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kvl/platform/controls.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/scrollbars.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/stringlist.h"
#include "kvl/platform/timers.h"

namespace kvl {

struct TGridCoord {
  int X = 0;
  int Y = 0;
  bool operator==(const TGridCoord&) const = default;
};

// Inclusive grid coordinates.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

enum TGridOption : std::uint32_t {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};
using TGridOptions = std::uint32_t;

enum TGridDrawStateFlag : std::uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = std::uint8_t;

enum TEditStyle : std::uint8_t { esSimple, esEllipsis, esPickList };
enum TGridDrawingStyle : std::uint8_t { gdsClassic, gdsThemed, gdsGradient };

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect,
                                          TGridDrawState State)>;
using TSelectCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

class TCustomGrid;
class TDropDownList;
class TInplaceEdit;

// The sizes along one axis of a grid: a count, a default and the sizes that differ from it.
class TGridAxis {
public:
  int GetCount() const { return FCount; }
  // Growing appends default sizes; shrinking drops the sizes beyond the count.
  void SetCount(int Value);
  int GetDefault() const { return FDefault; }
  // Every size becomes the default.
  void SetDefault(int Value);
  int GetSize(int Index) const;
  void SetSize(int Index, int Value);
  // The first index >= From (or <= From going back) whose size is above 0; -1 when none
  // lies in [Lo, Hi].
  int NextShown(int From, int Lo, int Hi) const;
  int PrevShown(int From, int Lo, int Hi) const;

private:
  int FCount = 0;
  int FDefault = 0;
  std::map<int, int> FSizes;  // only the sizes that differ from the default
};

// A cell or line of one axis as it shows: where it starts in the client area and its size.
struct TGridSpan {
  int Index;
  int Start;
  int Size;
};

// The classic edit placed over a cell while it is edited. Keys that move between cells go to
// the grid; the rest edit the text.
class TInplaceEdit : public TCustomEdit {
public:
  explicit TInplaceEdit(TComponent* AOwner);

  TCustomGrid* GetGrid() const { return FGrid; }

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoExit() override;

protected:
  friend class TCustomGrid;
  // The editor opens for the grid's current cell with the given style.
  virtual void UpdateStyle(TEditStyle) {}
  // Closes anything the editor opened (a drop-down) before it hides.
  virtual void CloseUp(bool) {}

  TCustomGrid* FGrid = nullptr;
};

// An in-place editor with a button at its right for a pick list or an ellipsis.
class TInplaceEditList : public TInplaceEdit {
public:
  static constexpr int ButtonWidth = 17;

  explicit TInplaceEditList(TComponent* AOwner);

  TEditStyle GetEditStyle() const { return FEditStyle; }
  // The items the pick list shows; the grid refills them before each drop-down.
  TStrings& GetPickList() { return FPickList; }
  int GetDropDownRows() const { return FDropDownRows; }
  // Clamped to 1 ... 100.
  void SetDropDownRows(int Value);
  bool GetListVisible() const;
  bool GetButtonPressed() const { return FButtonPressed; }
  // The drop-down list window; nullptr until the list first opens.
  TDropDownList* GetDropDownList() const { return FList; }

  // Opens the pick list below the editor (asking the grid for its items; none open nothing)
  // and closes it, taking the highlighted item into the text or not.
  void DropDown();
  void CloseUp(bool Accept) override;

  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void DoExit() override;

protected:
  // The button, in control coordinates: the non-client strip at the right.
  TRect ButtonRect() const;
  void UpdateStyle(TEditStyle Style) override;
  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void PaintBorder(TCanvas& C) override;

private:
  TEditStyle FEditStyle = esSimple;
  // Sets the text to the item, all selected; editing goes on.
  void TakeItem(int Index);

  TStringList FPickList;
  TDropDownList* FList = nullptr;  // owned as a component
  int FDropDownRows = 7;
  bool FButtonPressed = false;
  bool FButtonHeld = false;  // the press began on the button
};

class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // --- structure and sizes (grids_geometry.cpp)
  int GetColCount() const { return FCols.GetCount(); }
  void SetColCount(int Value);
  int GetRowCount() const { return FRows.GetCount(); }
  void SetRowCount(int Value);
  // The effective fixed counts: at most count - 1; the requested one returns as counts grow.
  int GetFixedCols() const;
  void SetFixedCols(int Value);
  int GetFixedRows() const;
  void SetFixedRows(int Value);
  int GetDefaultColWidth() const { return FCols.GetDefault(); }
  void SetDefaultColWidth(int Value);
  int GetDefaultRowHeight() const { return FRows.GetDefault(); }
  void SetDefaultRowHeight(int Value);
  int GetColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int GetRowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GetGridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);

  // --- geometry
  TRect CellRect(int ACol, int ARow) const;
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  int GetGridWidth() const;
  int GetGridHeight() const;
  int GetVisibleColCount() const;
  int GetVisibleRowCount() const;

  // --- look
  TColor GetFixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetDefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  TGridDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TGridDrawingStyle Value) { FDrawingStyle = Value; }
  TColor GetGradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor Value) { FGradientStartColor = Value; }
  TColor GetGradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor Value) { FGradientEndColor = Value; }
  bool GetDoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

  // --- scrolling
  int GetTopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  int GetLeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  // The bars as they are now (for the owner's tests and pictures).
  const TScrollBarPart& GetVertScrollBar() const { return FVertBar; }
  const TScrollBarPart& GetHorzScrollBar() const { return FHorzBar; }

  // --- selection and the current cell
  TGridRect GetSelection() const { return FSelection; }
  void SetSelection(const TGridRect& Value);
  int GetCol() const { return FCurrent.X; }
  void SetCol(int Value);
  int GetRow() const { return FCurrent.Y; }
  void SetRow(int Value);
  TGridOptions GetOptions() const { return FOptions; }
  void SetOptions(TGridOptions Value);

  // --- painting
  void InvalidateCell(int ACol, int ARow);
  void InvalidateRow(int ARow);
  void InvalidateCol(int ACol);
  void InvalidateGrid() { Invalidate(); }

  // --- editing (grids_editor.cpp)
  TInplaceEdit* GetInplaceEditor() const { return FInplaceEdit; }
  bool GetEditorMode() const { return FEditing; }
  void SetEditorMode(bool Value);
  void ShowEditor();
  void HideEditor();
  int GetDropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value);
  // True also while the in-place editor holds the focus.
  bool Focused() const;

  // --- virtual hooks
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void DblClick() override;
  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoExit() override;
  void FocusIn() override;
  void FocusOut() override;

  TNotifyEvent OnTopLeftChanged;
  TNotifyEvent OnEditButtonClick;
  TGetEditEvent OnGetEditMask;  // stored: there are no edit masks
  TMovedEvent OnColumnMoved;    // stored: columns and rows do not move
  TMovedEvent OnRowMoved;

protected:
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
  virtual bool SelectCell(int ACol, int ARow);
  virtual std::string GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const std::string& Value);
  virtual TInplaceEdit* CreateEditor();
  virtual TEditStyle GetEditStyle(int ACol, int ARow);
  virtual void GetPickListItems(int ACol, int ARow, TStrings& Items);
  virtual bool CanEditShow();
  virtual void TopLeftChanged();
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  // The ellipsis button of the editor was clicked: fires OnEditButtonClick.
  virtual void EditButtonClick();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void PaintBackground(TCanvas& C) override;
  void PaintBorder(TCanvas& C) override;
  void CreateWnd() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void EnabledChanged() override;
  void VisibleChanged() override;
  void FontChanged() override;

  bool IsFixedCell(int ACol, int ARow) const {
    return ACol < GetFixedCols() || ARow < GetFixedRows();
  }
  // A non-fixed cell inside the counts.
  bool IsDataCell(TGridCoord C) const;
  // After ColCount or RowCount changed (the surviving sizes stay).
  virtual void CountsChanged();
  // Ends what a press began (selecting, sizing, auto-scrolling), for a descendant whose
  // MouseUp keeps the release from the grid.
  void CancelPress() { EndDrag(); }

private:
  friend class TInplaceEdit;
  friend class TInplaceEditList;
  enum class TGridState : std::uint8_t { Normal, Selecting, ColSizing, RowSizing };

  // grids_geometry.cpp
  int LineGap(bool Horizontal) const;
  std::vector<TGridSpan> VisibleSpans(bool Horizontal) const;
  int ClientExtent(bool Horizontal) const;
  int FixedExtent(bool Horizontal) const;
  // The top row (left column) of the last full page.
  int LastFullPageStart(bool Horizontal, int Room) const;
  int LastFullPageStart(bool Horizontal) const;
  // Whether the non-fixed rows (columns) all fit into Room pixels after the fixed ones.
  bool ContentFits(bool Horizontal, int Room) const;
  // The first visible cell at or after the fixed ones, in each direction.
  int FirstDataIndex(bool Horizontal) const;
  int LastDataIndex(bool Horizontal) const;
  int Step(bool Horizontal, int From, int Delta) const;
  void LayoutChanged();
  void UpdateScrollBars();
  void UpdateBorder();
  // Scrolls so that the cell is fully visible when it can be.
  void ScrollIntoView(TGridCoord C);
  int TopForLast(bool Horizontal, int Last) const;
  void MoveTopLeft(TGridCoord NewTopLeft, bool ByUser);
  void ScrollBarScrolled(bool Horizontal, TScrollCode Code, std::int64_t Pos);

  // grids_input.cpp
  bool MoveCurrent(TGridCoord C, bool Extend, bool Scroll);
  bool TrySelect(TGridCoord C);
  TGridRect SelectionOf(TGridCoord Anchor, TGridCoord Cur) const;
  void NavigateKey(std::uint16_t Key, TShiftState Shift);
  bool SizingZone(int X, int Y, bool& Horizontal, int& Index, int& Start) const;
  void DragTo(int X, int Y);
  void AutoScrollTick();
  void EndDrag();

  // grids_paint.cpp
  void DrawLines(TCanvas& C, const std::vector<TGridSpan>& Cols,
                 const std::vector<TGridSpan>& Rows);
  TGridDrawState StateOf(int ACol, int ARow) const;

  // grids_editor.cpp
  void UpdateEditor();
  void PlaceEditor();
  void EndEdit(bool Commit);
  void EditorExited();
  bool CanOpenEditor();

  TGridAxis FCols, FRows;
  int FFixedColsWanted = 1, FFixedRowsWanted = 1;
  int FGridLineWidth = 1;
  TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                          goRangeSelect;
  TColor FFixedColor = clBtnFace;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCtl3D = true;
  TScrollStyle FScrollBars = ssBoth;
  bool FDefaultDrawing = true;
  TGridDrawingStyle FDrawingStyle = gdsClassic;
  TColor FGradientStartColor = clWhite;
  TColor FGradientEndColor = clBtnFace;
  bool FDoubleBuffered = false;

  TGridCoord FTopLeft{1, 1};
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridRect FSelection{1, 1, 1, 1};

  TScrollBarPart FVertBar;
  TScrollBarPart FHorzBar;
  bool FUpdatingBars = false;

  TGridState FState = TGridState::Normal;
  int FSizingIndex = -1;
  int FSizingStart = 0;  // where the sized cell starts
  TPoint FDragPoint;
  TPrivateTimer FAutoScroll;

  TInplaceEdit* FInplaceEdit = nullptr;
  bool FEditing = false;
  TGridCoord FEditCell{-1, -1};
  std::string FEditOriginal;
  bool FEnding = false;
  int FDropDownRows = 7;
};

class TCustomDrawGrid : public TCustomGrid {
public:
  using TCustomGrid::TCustomGrid;

  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TSelectCellEvent OnSelectCell;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
};

class TDrawGrid : public TCustomDrawGrid {
public:
  using TCustomDrawGrid::TCustomDrawGrid;
};

// A grid of text cells. Only the cells ever written are stored.
class TStringGrid : public TDrawGrid {
public:
  explicit TStringGrid(TComponent* AOwner);

  std::string GetCells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string& Value);
  // Not owned.
  TObject* GetObjects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);
  // A column or row as a whole list (read into a list the grid keeps until the next read).
  const TStrings& GetCols(int Index);
  void SetCols(int Index, const TStrings& Value);
  const TStrings& GetRows(int Index);
  void SetRows(int Index, const TStrings& Value);

protected:
  void CountsChanged() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
  struct TCell {
    std::string Text;
    TObject* Object = nullptr;
  };
  static std::uint64_t Key(int ACol, int ARow) {
    return (std::uint64_t(std::uint32_t(ACol)) << 32) | std::uint32_t(ARow);
  }
  std::unordered_map<std::uint64_t, TCell> FCells;
  std::uint32_t FKeptCols = 5, FKeptRows = 5;  // the counts the cells were last trimmed to
  TStringList FLine;
};

}  // namespace kvl
