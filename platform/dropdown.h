// The drop-down list: a list of strings in a drop-down popup below its owner control (a pick
// list's editor, a combo box). The text stays the owner's: the list only highlights, scrolls
// and reports the item chosen; keys it does not use go back to the owner.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "kvl/platform/listrows.h"
#include "kvl/platform/popups.h"
#include "kvl/platform/stringlist.h"

namespace kvl {

using TDropDownChooseEvent = std::function<void(TObject* Sender, int Index)>;
// Draws one row instead of the default text; Rect is in Canvas's coordinates.
using TDropDownDrawItemEvent = std::function<void(TObject* Sender, TCanvas& Canvas, int Index,
                                                  const TRect& Rect, bool Selected)>;

class TDropDownList : public TPopupWindow {
public:
  explicit TDropDownList(TComponent* AOwner);
  ~TDropDownList() override;

  // The list's own items, shown unless a source is set.
  TStrings& GetItems();
  // Items the list shows in place of its own (not owned; nullptr: its own). Whoever changes
  // them while the list is open calls ItemsChanged.
  void SetItemsSource(const TStrings* Value);
  void ItemsChanged();
  // Rows shown at most, clamped to 1 ... 100; applied at once to an open list.
  int GetDropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  // The highlighted item (-1: none) and the first row shown.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int GetTopIndex() const { return FTopIndex; }
  // The rows shown now: min(DropDownRows, item count), never more than the screen holds.
  int GetRowCount() const;

  // Opens below Owner (above it when the screen has no room below), as wide as Owner, with the
  // item equal to Text (ASCII case ignored) highlighted. An empty list opens nothing (false)
  // unless it shows an empty row.
  bool GetShowEmptyRow() const { return FShowEmptyRow; }
  void SetShowEmptyRow(bool Value) { FShowEmptyRow = Value; }
  bool DropDown(TControl& Owner, const std::string& Text);
  // The same with item Index highlighted (-1: none).
  bool DropDownAt(TControl& Owner, int Index);
  void CloseUp() { ClosePopup(); }
  // The press that opened the list ended elsewhere (a dialog ran in between): the release
  // that follows chooses nothing, until the next press in the list.
  void ForgetPress() { FPressOver = true; }

  // Enter or a click on an item: the list has closed, Index is the item.
  TDropDownChooseEvent OnChoose;
  // Owner drawing of the rows; unset, each row shows its text. Each row comes filled with
  // clHighlight (highlighted) or Color, the brush set to that colour and the font to Font in
  // clHighlightText or Font.Color (see PaintListRows).
  TDropDownDrawItemEvent OnDrawItem;

  // Up, Down, Page Up and Page Down move the highlight, Enter chooses, Escape closes; the
  // rest (characters, Backspace, Left, Right, Home, End ...) go to the owner.
  bool PopupKeyDown(std::uint16_t& Key, TShiftState Shift) override;

protected:
  // A new font measures the rows anew.
  void FontChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  class TView;
  friend class TView;
  void Layout();
  void MeasureItemHeight();
  void MoveHighlight(int Delta);
  void ScrollTo(int Top);
  void Choose(int Index);

  const TStrings& Rows() const { return FSource ? *FSource : *FItems; }

  std::unique_ptr<TStringList> FItems;
  const TStrings* FSource = nullptr;
  TView* FView;
  int FDropDownRows = 8;
  int FItemHeight;
  int FItemIndex = -1;
  int FTopIndex = 0;
  bool FShowEmptyRow = false;
  bool FPressOver = false;
};

}  // namespace kvl
