// TCustomComboBox/TComboBox: an edit or a face with a list to choose from, dropped down in a
// popup or always shown below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "kvl/platform/dropdown.h"
#include "kvl/platform/followedstrings.h"
#include "kvl/platform/listrows.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/stringlist.h"
#include "kvl/platform/typeahead.h"

namespace kvl {

// csDropDown: an edit with a list to drop down; csSimple: an edit above a list always shown;
// csDropDownList: choose from the list only; csOwnerDrawFixed: a drop-down list whose rows and
// face the program draws.
enum TComboBoxStyle : std::uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };

class TCustomComboBox;
class TComboEdit;
class TListBox;

// Positions count items from 0; ItemIndex -1 is none. Program writes of ItemIndex, Text and
// Items fire nothing. A selection by the user runs Click, Select and Change in that order;
// typing into the edit part runs Change once per edit. Any handler may free the box.
class TCustomComboBox : public TWinControl, private TStringsFollower {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  TStrings* GetItems() { return FItems.get(); }
  const TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* Value) { FItems->Assign(Value); }
  // A value outside -1 ... Count - 1 becomes -1. The edit part takes the item's text.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The edit text; for the list styles the selected item's text ("" with none). Writing it
  // selects the first item equal to it (ASCII case ignored), else none.
  const std::string& GetText() const override;
  void SetText(const std::string& Value) override;
  // The edit part's selection and limits (nothing for the list styles).
  int GetSelStart() const;
  void SetSelStart(int Value);
  int GetSelLength() const;
  void SetSelLength(int Value);
  std::string GetSelText() const;
  void SetSelText(const std::string& Value);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // Sorted items keep duplicates; turning sorting on sorts and selects none.
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  // Typing into the edit completes the text to the first item it starts, the added tail
  // selected; Backspace and Delete complete nothing.
  bool GetAutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  // Rows the open list shows at most: 1 ... 100.
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  bool GetDroppedDown() const { return GetDropDownList() != nullptr; }
  void SetDroppedDown(bool Value);
  // The font's text height + 2 until set; clamped to 1 ... 1000. The drop-down styles are
  // ItemHeight + 6 high whatever height they are given.
  int GetItemHeight() const;
  void SetItemHeight(int Value);
  // The open list (nullptr while closed), to drive and picture it.
  TDropDownList* GetDropDownList() const;
  // The edit part of csDropDown and csSimple, else nullptr.
  TCustomEdit* GetEditPart() const;

  // While a row of the open list is drawn, the list's canvas in its client coordinates;
  // otherwise the control's own.
  TCanvas* GetCanvas();

  // Paints one row of the list, or the closed face (odComboBoxEdit). The row comes prefilled
  // (see PaintListRows); owner-drawn style fires OnDrawItem, the others draw the text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  TDrawItemEvent OnDrawItem;

  virtual void Select();
  virtual void Change();
  // Before the list opens, each time; it may run a modal dialog.
  virtual void DropDown();
  // After the list closed, by any cause.
  virtual void CloseUp();
  TNotifyEvent OnSelect;
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void SetFocus() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void FocusIn() override { Invalidate(); }
  void FocusOut() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The arrow button's rectangle in control coordinates (empty for csSimple).
  TRect ButtonRect() const;
  // The face's rectangle, where the list styles draw the selected item.
  TRect FaceRect() const;

protected:
  void Paint() override;
  void FontChanged() override;
  void ColorChanged() override;
  void EnabledChanged() override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  bool IsTabStopNow() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  friend class TComboEdit;
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
  bool IsListStyle() const { return FStyle == csDropDownList || FStyle == csOwnerDrawFixed; }
  bool HasFocus() const;
  // Told by the items.
  void ItemInserted(int Index) override;
  void ItemDeleted(int Index) override;
  void ItemsMoved(int From, int To) override;
  void ItemsReset() override;
  void ItemsChanged() override;
  bool HasSelection() const override { return FItemIndex >= 0; }

  void BuildParts();
  void LayoutParts();
  void SyncPartsLook();
  void SetEditText(const std::string& S);
  void IndexFromText();
  void EditChangedByUser();
  void TypedIntoEdit(char32_t& Key);
  // Opens the list (DropDown first). FromPress: a press on the control opened it.
  void OpenList(bool FromPress);
  void CloseList();
  // The user chose Index: select it and run Click, Select and Change when it changed.
  void UserSelect(int Index);
  void StepSelection(std::uint16_t Key);

  std::unique_ptr<TFollowedStrings> FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FItemHeight = 0;  // 0: from the font
  int FMaxLength = 0;
  int FAskedHeight = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoComplete = true;
  TComboEdit* FEdit = nullptr;      // owned as a component
  TListBox* FSimpleList = nullptr;  // csSimple only; owned as a component
  TDropDownList* FList = nullptr;   // made at the first drop; owned
  bool FInListEvent = false;        // a handler runs from the list
  TCanvas* FDrawCanvas = nullptr;   // set while a list row is drawn
  TTypeAhead FTypeAhead;
  mutable std::string FShownText;
  bool FButtonDown = false;  // drawn pressed
  bool FPressHeld = false;   // the press that opens the list still holds the capture
  bool FSyncing = false;     // the box itself writes the edit part
  bool FTyping = false;      // a typed character is going into the edit part
  bool FEditDirty = false;   // ... and changed its text
  std::shared_ptr<bool> FAlive;
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace kvl
