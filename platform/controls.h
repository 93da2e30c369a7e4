// Controls: what a user sees and touches. TControl holds bounds, visibility, colour, font and
// the mouse virtuals; TGraphicControl paints into its parent's area of the form's back buffer;
// TWinControl holds children, takes the focus and keys; TCustomControl is a windowed control
// that paints itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/canvas.h"
#include "kvl/platform/classes.h"
#include "kvl/platform/graphics.h"
#include "kvl/platform/input.h"

namespace kvl {

class TWinControl;
class TCustomForm;
class TPopupMenu;

// A typed notification sent to a control (Perform) or to all children of a parent
// (Broadcast). Receivers check the dynamic type; Handled stops a broadcast.
struct TControlMessage {
  virtual ~TControlMessage() = default;
  bool Handled = false;
};

// Sent to a windowed control's companion (an up-down on its associate edit) after the control's
// OnKeyDown saw a key (the companion may act on it and clear Key) and after it lost the focus
// as the active control.
struct TCompanionKeyMessage : TControlMessage {
  TCompanionKeyMessage(TWinControl* ASource, std::uint16_t& AKey, TShiftState AShift)
      : Source(ASource), Key(AKey), Shift(AShift) {}
  TWinControl* Source;
  std::uint16_t& Key;
  TShiftState Shift;
};
struct TCompanionExitMessage : TControlMessage {
  explicit TCompanionExitMessage(TWinControl* ASource) : Source(ASource) {}
  TWinControl* Source;
};

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;

// Size limits a control publishes for designers. The framework does not enforce them: stored
// only.
struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  bool operator==(const TSizeConstraints&) const = default;
};

// The parts of a control a visual style may paint. There are no styles here: stored only.
enum TStyleElement : std::uint8_t { seFont = 1, seClient = 2, seBorder = 4 };
using TStyleElements = std::uint8_t;

// Drag and drop: the properties and events are kept for the host; the framework starts no drag.
enum TDragKind : std::uint8_t { dkDrag, dkDock };
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TObject*& DragObject)>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  // The form this control lives on (itself for a form), or nullptr.
  TCustomForm* GetParentForm() const;

  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int V) { SetBounds(V, FTop, FWidth, FHeight); }
  void SetTop(int V) { SetBounds(FLeft, V, FWidth, FHeight); }
  void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
  void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
  // Every change of position or size goes through here. Negative sizes count as 0.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect GetBoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The client area in the control's own coordinates: (0, 0, ClientWidth, ClientHeight), or
  // further in where a container draws a frame inside it (children count from its corner).
  virtual TRect GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int GetClientWidth() const { return GetClientRect().Width(); }
  int GetClientHeight() const { return GetClientRect().Height(); }
  void SetClientWidth(int V) { SetWidth(V + FWidth - GetClientWidth()); }
  void SetClientHeight(int V) { SetHeight(V + FHeight - GetClientHeight()); }
  // Where the client area's (0, 0) lies in the form's back buffer.
  TPoint GetClientOrigin() const;
  TPoint ClientToForm(TPoint P) const;
  TPoint FormToClient(TPoint P) const;
  // Screen coordinates: from where the form's window really is (its Left and Top while it has
  // no window).
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a form.
  bool IsShowing() const;
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled here and in every parent: controls paint and take input by this.
  bool IsEnabledInTree() const;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont& GetFont() { return FFont; }
  const TFont& GetFont() const { return FFont; }
  void SetFont(const TFont& Value) { FFont.Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  // Whether the program chose Color (Font.Color) itself, rather than leaving the control's
  // default or the parent's: a disabled control keeps chosen colours and greys the others.
  bool IsColorChosen() const { return FColorChosen; }
  bool IsFontColorChosen() const { return FFontColorChosen; }
  // The colours of a control that greys out when disabled (edits, lists): Color and
  // Font.Color while enabled or where chosen, clBtnFace and clGrayText otherwise.
  TColor GetShownColor() const;
  TColor GetShownFontColor() const;

  const std::string& GetCaption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }
  virtual const std::string& GetText() const { return FText; }
  virtual void SetText(const std::string& Value);

  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value);
  // With ParentShowHint, the parent's (effective) value.
  bool GetShowHint() const;
  void SetShowHint(bool Value) {
    FShowHint = Value;
    FParentShowHint = false;
  }
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }
  TStyleElements GetStyleElements() const { return FStyleElements; }
  void SetStyleElements(TStyleElements Value) { FStyleElements = Value; }
  // The context menu: opened on a right release over the control, Shift+F10 or the Menu key.
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // Fires OnContextPopup at ClientPos; unless handled, the PopupMenu of this control (or of
  // the nearest parent that has one) opens at ScreenPos when it pops up automatically.
  void ContextPopup(TPoint ClientPos, TPoint ScreenPos);
  TContextPopupEvent OnContextPopup;
  TDragKind GetDragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }

  // The canvas of the client area. It draws into the form's back buffer at once, inside and
  // outside a paint cycle; with nowhere to draw (no form, hidden) it draws nothing.
  TCanvas* GetCanvas();

  // Marks the control for painting when the loop is idle; the parent's background under it is
  // painted first.
  virtual void Invalidate();
  // Paints what is invalid now.
  void Update();
  // Invalidate and paint at once.
  void Repaint();
  void Refresh() { Repaint(); }

  void BringToFront();
  void SendToBack();

  // Sends a message to this control.
  void Perform(TControlMessage& M) { HandleMessage(M); }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;

  // Input entry points of the message loop (and of the test driver). X, Y are client
  // coordinates; a release may lie outside the control while it holds the capture.
  void DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void DispatchDblClick(TShiftState Shift, int X, int Y);
  bool DispatchMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // The mouse capture ended before the button came up (a modal form opened, the control was
  // hidden, disabled or removed): a held press, drag or repeat ends here. The base forgets the
  // press, so a later release clicks nothing.
  virtual void MouseCaptureLost();

  // True for windowed controls.
  virtual bool IsWindowed() const { return false; }
  // False for controls that take a quick second press as a press of its own (buttons).
  bool AcceptsDoubleClicks() const { return FDoubleClicks; }
  // The topmost control at P (client coordinates of this control) that takes mouse input:
  // this one, or a child of a windowed control; nullptr when P lies outside.
  virtual TControl* ControlAtPos(TPoint P, bool AllowDisabled = false);

protected:
  // Paints the control (graphic and custom controls override it).
  virtual void Paint() {}
  // After a size change: the base fires OnResize.
  virtual void Resize();
  // After SetBounds changed the size (windowed controls lay out their children first).
  virtual void SizeChanged(int OldWidth, int OldHeight);
  virtual void HandleMessage(TControlMessage&) {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The wheel: OnMouseWheel first; unless it handled the turn, one DoMouseWheelDown or
  // DoMouseWheelUp per notch of 120 (smaller turns add up until they make a notch).
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  // One notch of the wheel; the base fires OnMouseWheelDown/OnMouseWheelUp.
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  // The control's own font or colour changed (the base repaints).
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void TextChanged() { Invalidate(); }
  virtual void EnabledChanged() { Invalidate(); }
  virtual void VisibleChanged();
  // The parent's font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();
  // Sets a kind of control's own default colour, which does not count as the program's choice.
  void SetDefaultColor(TColor Value);

  // Form-coordinate rectangle this control may draw into (empty when it cannot draw).
  TRect VisibleFormRect() const;
  bool IsPaintable() const;

  // The paint cycle of the form sets the region being painted; the control canvas clips to it.
  friend class TWinControl;
  friend class TCustomForm;
  void PaintClipped(const TRect& FormRegion);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FDoubleClicks = true;

private:
  void OnFontChange();

  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  TFont FFont;
  bool FParentFont = true;
  bool FSettingParentFont = false;
  bool FColorChosen = false;
  bool FFontColorChosen = false;
  TColor FFontColorSeen = clWindowText;  // to tell a change of the font's colour
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TAlign FAlign = alNone;
  TAnchors FAnchors = akLeft | akTop;
  TStyleElements FStyleElements = seFont | seClient | seBorder;
  TPopupMenu* FPopupMenu = nullptr;
  TDragKind FDragKind = dkDrag;
  TCursor FDragCursor = crNo;
  TDragMode FDragMode = dmManual;
  bool FPressed = false;  // a left press arrived and its release may click
  int FWheelAccumulator = 0;
  std::unique_ptr<TCanvas> FCanvas;
  const TRect* FPaintRegion = nullptr;  // set during the paint cycle
};

// A control without a window of its own: it paints into the parent's area and gets mouse input,
// never the focus.
class TGraphicControl : public TControl {
public:
  using TControl::TControl;
};

// A control with children, the focus and the keyboard.
class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }

  int GetControlCount() const { return static_cast<int>(FControls.size()); }
  // Children in z-order, bottom first; nullptr outside the range.
  TControl* GetControls(int Index) const;
  void InsertControl(TControl* C);
  void RemoveControl(TControl* C);
  bool ContainsControl(const TControl* C) const;

  // Sends the message to every child, in z-order, until one marks it handled.
  void Broadcast(TControlMessage& M);

  TRect GetClientRect() const override;
  // The border inside the bounds, outside the client area (2 for a sunken 3-D border).
  int GetBorderInset() const { return FBorderInset; }
  // The non-client area: how far the client area lies in from each side of the bounds (the
  // border, plus a vertical scroll bar at the right and a horizontal one at the bottom).
  TRect GetNonClientInsets() const {
    return {FBorderInset, FBorderInset, FBorderInset + FBarRight, FBorderInset + FBarBottom};
  }
  // Whether P (client coordinates) lies in the non-client area.
  bool InNonClientArea(TPoint P) const;

  // Presses, moves and releases in the non-client area, in control coordinates (from the
  // top-left of the bounds). The press holds the capture: the moves and the release that
  // follow come here too, wherever the pointer goes. The base does nothing.
  virtual void NonClientMouseDown(TMouseButton, TShiftState, int, int) {}
  virtual void NonClientMouseMove(TShiftState, int, int) {}
  virtual void NonClientMouseUp(TMouseButton, TShiftState, int, int) {}

  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  // The control told of this one's keys and exit (TCompanionKeyMessage), or nullptr. Not
  // owned: a companion that goes clears it.
  TWinControl* GetCompanion() const { return FCompanion; }
  void SetCompanion(TWinControl* C) { FCompanion = C; }
  int GetTabOrder() const;
  void SetTabOrder(int Value);
  // Showing, enabled, and on a form.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Moves the keyboard focus here; does nothing when the control cannot take it.
  virtual void SetFocus();
  // Asks the form to move the focus to the next (or previous) tab stop.
  void SelectNextControl(bool GoForward = true);
  // A window exists for the control once it sits on a form.
  bool HandleAllocated() const { return FHandleAllocated; }

  // Keys the control wants for itself; the form uses the others (Tab, arrows, Enter, Escape)
  // to move the focus or press its default and cancel buttons.
  virtual bool WantsKey(std::uint16_t Key, TShiftState Shift) const;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // Keyboard entry points of the message loop.
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);

  TControl* ControlAtPos(TPoint P, bool AllowDisabled = false) override;

  // Focus notifications from the form: entering and leaving as the active control, and
  // gaining and losing the keyboard focus (also when the window itself is (de)activated).
  virtual void DoEnter();
  virtual void DoExit();
  virtual void FocusIn() {}
  virtual void FocusOut() {}

protected:
  // Called when the control gets its window (it is placed on a form) and when it loses it.
  virtual void CreateWnd() {}
  virtual void DestroyWnd() {}
  // Fills the client area before Paint (the base fills it with Color).
  virtual void PaintBackground(TCanvas& C);
  // Paints the whole non-client area inside the bounds (the border and any scroll bars), on a
  // canvas in control coordinates.
  virtual void PaintBorder(TCanvas&) {}
  // Whether Tab stops here now; a control that stops only in some states narrows TabStop.
  virtual bool IsTabStopNow() const { return FTabStop; }
  void SetBorderInset(int Inset);
  // Room for scroll bars inside the border: a vertical bar's width at the right, a horizontal
  // bar's height at the bottom (0 for none).
  void SetScrollBarInsets(int Right, int Bottom);
  // Lays out aligned children and moves anchored ones after a size change.
  void AlignControls(int OldClientWidth, int OldClientHeight);
  void FontChanged() override;
  void ColorChanged() override;
  // Children that are enabled themselves change their effective state with the parent.
  void EnabledChanged() override;
  void VisibleChanged() override;
  void SizeChanged(int OldWidth, int OldHeight) override;

private:
  friend class TControl;
  friend class TCustomForm;
  void PaintTree(const TRect& FormRegion);
  void UpdateHandle();
  void MoveInZOrder(TControl* C, bool ToFront);
  void DestroyControls();
  void CollectTabStops(std::vector<TWinControl*>& Out);

  std::vector<TControl*> FControls;  // z-order, bottom first
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  TWinControl* FCompanion = nullptr;
  bool FHandleAllocated = false;
  int FBorderInset = 0;
  int FBarRight = 0, FBarBottom = 0;
  bool FAligning = false;
};

// A windowed control that paints itself on its own canvas.
class TCustomControl : public TWinControl {
public:
  using TWinControl::TWinControl;
};

}  // namespace kvl
