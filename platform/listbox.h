// TCustomListBox/TListBox: a scrolling list of strings to pick one or several from.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "kvl/platform/followedstrings.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/listrows.h"
#include "kvl/platform/scrollbars.h"
#include "kvl/platform/stringlist.h"
#include "kvl/platform/typeahead.h"

namespace kvl {

enum TListBoxStyle : std::uint8_t { lbStandard, lbOwnerDrawFixed };

// Positions count items from 0; ItemIndex -1 is none. Program writes of ItemIndex, Selected
// and Items fire nothing; a selection the user changes fires OnClick (by the mouse once, at
// the release). With MultiSelect, ItemIndex is the item that holds the focus and writing it
// selects that item alone.
class TCustomListBox : public TWinControl, private TStringsFollower {
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* GetItems() { return FItems.get(); }
  const TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* Value) { FItems->Assign(Value); }
  int GetCount() const { return FItems->GetCount(); }

  // A value outside -1 ... Count - 1 becomes -1.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  // The font's text height + 2 until set; clamped to 1 ... 1000.
  int GetItemHeight() const;
  void SetItemHeight(int Value);
  // Sorted items keep duplicates; turning sorting on sorts and clears the selection.
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool Value);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  // With MultiSelect: Shift extends from the anchor and Ctrl toggles (on, the default), or
  // every click and Space toggles one item (off).
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value) { FExtendedSelect = Value; }
  bool GetSelected(int Index) const;
  void SetSelected(int Index, bool Value);
  int GetSelCount() const;
  void SelectAll();
  void ClearSelection();
  int GetTopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  // The item at P (client coordinates), or -1 outside the client area. Below the last item
  // it answers -1 when Existing, else Count.
  int ItemAtPos(TPoint P, bool Existing) const;
  // The item's row in client coordinates (it may lie outside the view).
  TRect ItemRect(int Index) const;
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // Paints one item on Canvas; the row comes prefilled (see PaintListRows). Owner-drawn
  // styles fire OnDrawItem; the standard style (or no handler) draws the text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  TDrawItemEvent OnDrawItem;

  // Fires OnClick only for a selection the user changed.
  void Click() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusIn() override { InvalidateRow(FocusRow()); }
  void FocusOut() override { InvalidateRow(FocusRow()); }

  // Rows painted by the last paint (to show that painting costs what shows).
  int GetPaintedRows() const { return FPaintedRows; }

protected:
  void Paint() override;
  void PaintBorder(TCanvas& C) override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void FontChanged() override;
  void EnabledChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  // Told by the items.
  void ItemInserted(int Index) override;
  void ItemDeleted(int Index) override;
  void ItemsMoved(int From, int To) override;
  void ItemsReset() override;
  void ItemsChanged() override;
  bool HasSelection() const override { return FItemIndex >= 0 || FSelCount > 0; }

  TListRowsView View() const;
  int FocusRow() const { return FItemIndex; }
  void InvalidateRow(int Index);
  void UpdateScrollBar();
  void OnBarScroll(TScrollCode Code, std::int64_t Pos);
  // Moves the focus to Index by the user (clamped), selecting as the keys or clicks say, and
  // keeps it in view; fires OnClick when the selection changed.
  void UserMoveTo(int Index, TShiftState Shift, bool FromMouse);
  void SelectRange(int From, int To);  // multi-select: exactly From..To selected
  void SetSelectedFlag(int Index, bool Value);
  void MakeVisible(int Index);
  void UserChanged(bool FromMouse);

  std::unique_ptr<TFollowedStrings> FItems;
  std::vector<bool> FSelected;  // multi-select only, one per item
  int FSelCount = 0;
  int FItemIndex = -1;
  int FAnchor = -1;
  int FTopIndex = 0;
  int FItemHeight = 0;  // 0: from the font
  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  TBorderStyle FBorderStyle = bsSingle;
  TScrollBarPart FBar;
  TTypeAhead FTypeAhead;
  bool FDragging = false;      // a left press in the rows is held
  bool FMouseChanged = false;  // the held press changed the selection
  bool FClickDue = false;      // a user change waits for its OnClick
  int FPaintedRows = 0;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

}  // namespace kvl
