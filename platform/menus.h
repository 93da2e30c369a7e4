// Popup menus: TMenuItem trees shown by TPopupMenu as menu windows, with sub-menus to any
// depth. Popup runs synchronously: the chosen item's OnClick runs after the menu has closed,
// before Popup returns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/classes.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/popups.h"
#include "kvl/platform/timers.h"

namespace kvl {

class TPopupMenu;
class TMenuWindow;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  // Frees the sub-items and leaves the parent; a menu showing it closes.
  ~TMenuItem() override;

  // Kept exactly as written. "&" marks the next character as the access key ("&&" shows one
  // "&"); "-" makes a separator.
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  bool IsLine() const { return FCaption == "-"; }
  bool GetChecked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool GetAutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  // Drawn bold.
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  // A copy of the assigned bitmap (nullptr clears it), drawn in the check column with the
  // colour of its bottom-left pixel left out. nullptr when there is none.
  const TBitmap* GetBitmap() const { return FBitmap.get(); }
  void SetBitmap(const TBitmap* Value);
  std::intptr_t GetTag() const { return FTag; }
  void SetTag(std::intptr_t Value) { FTag = Value; }

  TNotifyEvent OnClick;
  // Toggles Checked with AutoCheck (a radio item is checked), then fires OnClick.
  virtual void Click();

  // Sub-items.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Take the item out without freeing it.
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TMenuItem* GetItems(int Index) const;
  int IndexOf(const TMenuItem* Item) const;
  // The first sub-item whose caption, without its "&" marks, equals Caption (ASCII case
  // ignored), or nullptr.
  TMenuItem* Find(const std::string& Caption) const;
  TMenuItem* GetParent() const { return FParent; }
  int GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // The popup menu whose tree holds this item, or nullptr.
  TPopupMenu* GetMenu() const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TPopupMenu;
  std::string FCaption;
  bool FChecked = false, FRadioItem = false, FAutoCheck = false, FEnabled = true, FVisible = true,
       FDefault = false;
  int FGroupIndex = 0;
  std::unique_ptr<TBitmap> FBitmap;
  std::intptr_t FTag = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TPopupMenu* FMenu = nullptr;  // set on the root item of a menu
};

// The text a caption shows ("&" marks removed, "&&" as "&") and the byte position of its
// access key's character in that text (npos when none).
struct TMenuCaption {
  std::string Text;
  std::size_t KeyPos = std::string::npos;
  std::size_t KeyLen = 0;
};
TMenuCaption ParseMenuCaption(const std::string& Caption);

enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* AOwner);
  // Closes the menu when it is showing: Popup then returns without a choice.
  ~TPopupMenu() override;

  TMenuItem* GetItems() const { return FItems.get(); }
  // Shows the menu at the screen point (moved to stay on the screen) and runs a loop until
  // it closes; then the chosen item's OnClick runs. Returns at once while the menu shows;
  // from OnClick it opens the menu anew. OnPopup fires first.
  void Popup(int X, int Y);
  bool IsShowing() const { return FLoop != nullptr; }
  // Closes the showing menu without a choice.
  void CloseMenu();

  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // Where X lies: at the menu's left edge, its right edge or its middle.
  TPopupAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

  TNotifyEvent OnPopup;

  // The menu windows open now, the root first (for tests and pictures).
  std::vector<TMenuWindow*> GetOpenWindows() const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TMenuWindow;
  friend class TMenuItem;
  struct TLoop {
    TMenuItem* Chosen = nullptr;
    bool Armed = false;  // the pointer moved or pressed in the menu: a release may choose
    TPoint OpenedAt;
  };
  TMenuWindow* NewWindow(TMenuItem* Item, TMenuWindow* ParentWindow);
  void FreeWindows();
  bool Holds(const TMenuItem* Item) const;

  std::unique_ptr<TMenuItem> FItems;
  std::vector<TMenuWindow*> FWindows;
  std::shared_ptr<TLoop> FLoop;
  std::shared_ptr<bool> FAlive;
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
};

// One level of a showing menu: the visible sub-items of an item, with their look and input.
class TMenuWindow : public TPopupWindow {
public:
  TMenuWindow(TPopupMenu* Menu, TMenuItem* Item, TMenuWindow* ParentWindow);
  ~TMenuWindow() override;

  static constexpr int Border = 3, CheckColumn = 22, SeparatorHeight = 9, SubMenuDelay = 250;

  TMenuItem* GetItem() const { return FItem; }
  // The size the items need; lays them out.
  TSize Measure();
  int GetRowCount() const { return static_cast<int>(FRows.size()); }
  TMenuItem* GetRowItem(int Row) const;
  // A row's rectangle in the window's client coordinates.
  TRect GetRowRect(int Row) const;
  int GetHighlight() const { return FHighlight; }
  TMenuWindow* GetSubMenu() const { return FChild; }

  bool PopupKeyDown(std::uint16_t& Key, TShiftState Shift) override;
  bool PopupKeyUp(std::uint16_t& Key, TShiftState Shift) override;
  bool PopupKeyPress(char32_t& Key) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void PopupClosed() override;

private:
  struct TRow {
    TMenuItem* Item;
    int Top, Height;
  };
  int RowAt(int X, int Y) const;
  void SetHighlight(int Row);
  void MoveHighlight(int Step);
  void StartSubMenuTimer();
  void StopSubMenuTimer();
  // Opens the highlighted item's sub-menu (closing another), optionally highlighting its
  // first item; closes an open one when the item has none.
  void OpenSubMenu(bool SelectFirst);
  void Choose(TMenuItem* Item);
  TMenuWindow* RootWindow();

  TPopupMenu* FMenu;
  TMenuItem* FItem;
  TMenuWindow* FParentWindow;
  TMenuWindow* FChild = nullptr;
  std::vector<TRow> FRows;
  int FHighlight = -1;
  TTimerService::TId FTimer = 0;
};

}  // namespace kvl
