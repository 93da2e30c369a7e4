// Standard controls: the push button, the single-line edit and the label.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/forms.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/timers.h"

namespace kvl {

// The press logic shared by push buttons and check boxes: a left press shows the control down
// while the pointer stays on it and the release there clicks; Space shows it down and its
// release clicks. A press dragged off, a lost capture or a lost focus clicks nothing.
class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* AOwner);

  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void FocusIn() override { Invalidate(); }
  void FocusOut() override;

protected:
  bool GetDown() const { return FDown; }

private:
  void SetDown(bool Value);

  bool FDown = false;       // drawn pressed
  bool FMouseHeld = false;  // the left button went down on the control
  bool FSpaceHeld = false;
};

// A push button. A click sets its form's ModalResult (when its own is not mrNone); Enter
// clicks the default button and Escape the cancel button of the form.
class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* AOwner);

  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }

  void Click() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

protected:
  void Paint() override;
  void HandleMessage(TControlMessage& M) override;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

// A caption with a 13 x 13 box that a click (on the box or the caption) or Space toggles,
// firing OnClick. Writes of Checked and State from the program fire nothing.
class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState GetState() const { return FState; }
  virtual void SetState(TCheckBoxState Value);
  // A click then steps unchecked, checked, grayed, unchecked.
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify puts the box left of the caption, taLeftJustify right of it.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Kept for the program; the caption is drawn on one line.
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  void Click() override;

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
  // Paints the box at (X, Y), a 13 x 13 cell.
  virtual void PaintBox(TCanvas& C, int X, int Y, bool Enabled);

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
  bool FWordWrap = false;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A check box with a round box. The radio buttons of one parent form a group: checking one
// unchecks the others (told by a TButtonPressedMessage that other kinds of button ignore). The
// arrow keys move to the next or previous one of the group and check it; Tab stops only at the
// group's checked button (its first when none is checked).
class TRadioButton : public TCustomCheckBox {
public:
  explicit TRadioButton(TComponent* AOwner);

  // Grayed counts as checked.
  void SetState(TCheckBoxState Value) override;
  void Click() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

protected:
  void PaintBox(TCanvas& C, int X, int Y, bool Enabled) override;
  void HandleMessage(TControlMessage& M) override;
  bool IsTabStopNow() const override;

private:
  // The enabled, visible radio buttons of the parent, in tab order.
  std::vector<TRadioButton*> Group() const;
};

enum TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };

// A single-line text edit. Positions (SelStart, the caret) count characters of the UTF-8 text
// from 0. The selection runs between an anchor and the caret; Shift and a mouse drag move the
// caret while the anchor stays. Every change of the text, by the user or the program, runs
// Change(), which fires OnChange; writing Text does so also when the text does not change.
class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  // Puts the caret at the start and clears Modified. A descendant that corrects the text
  // itself marks its own write before calling this, so that its Change() lets it pass.
  void SetText(const std::string& Value) override;
  void Clear() { SetText(""); }

  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // The most characters the user can type or paste; 0 for no limit. Program writes of Text
  // are not cut.
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = std::max(Value, 0); }
  // Select the whole text when the focus arrives by the keyboard.
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  // Hide the selection while the control has no focus.
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // Shown in place of every character when not 0; copying is refused then.
  char32_t GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  // bsSingle: a sunken 2-pixel frame; bsNone: none.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Converts the text now and everything typed later.
  TEditCharCase GetCharCase() const { return FCharCase; }
  virtual void SetCharCase(TEditCharCase Value);

  virtual int GetSelStart() const { return std::min(FAnchor, FCaret); }
  // Puts the caret there and removes the selection.
  virtual void SetSelStart(int Value);
  virtual int GetSelLength() const { return std::abs(FCaret - FAnchor); }
  // Selects Value characters from SelStart.
  virtual void SetSelLength(int Value);
  virtual std::string GetSelText() const;
  // Replaces the selection (or inserts at the caret) and runs Change().
  virtual void SetSelText(const std::string& Value);
  // The caret's character position (it may lie at either end of the selection).
  int GetCaretPos() const { return FCaret; }
  virtual void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  virtual void PasteFromClipboard();
  bool GetModified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  TNotifyEvent OnChange;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoEnter() override;
  void FocusIn() override;
  void FocusOut() override;

  // The character position nearest to client X (for tests and descendants).
  int CharPosAt(int X);
  // Client X of the caret position P with the current scrolling.
  int XOfCharPos(int P);

protected:
  // After every change of the text: fires OnChange.
  virtual void Change();
  // The clipboard keys: Ctrl+Insert, Shift+Insert and Ctrl+A, C, X, V.
  void ClipboardKey(std::uint16_t Key, TShiftState Shift);
  void Paint() override;
  void PaintBackground(TCanvas& C) override;
  void PaintBorder(TCanvas& C) override;
  void FontChanged() override;
  void EnabledChanged() override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  // Puts the caret at P (clamped) with the anchor at Anchor, scrolls it into view, repaints.
  void SetSelection(int Anchor, int P);
  // The text in the case CharCase asks for.
  std::string Cased(std::string S) const;
  // The blinking caret: restarted on every move, shown while CaretShown.
  void RestartCaret();
  bool CaretShown() const { return FCaretOn && Focused() && IsEnabledInTree(); }
  bool ShowsSelection() const;

private:
  // Replaces the selection by S as typed or pasted, cut to MaxLength; false when refused.
  bool InsertTyped(std::string S);
  void DeleteRange(int From, int To);
  std::string Shown() const;  // the text as drawn (password characters)
  int TextLength() const;
  int TextLeft(int TextWidth);
  void ScrollCaretIntoView();
  void CaretTick();

  int TextWidthOf(std::string_view S);

  TBitmap FMeasureBitmap;
  std::unique_ptr<TCanvas> FMeasure;  // font metrics without drawing anywhere
  TPrivateTimer FCaretTimer;
  bool FCaretOn = false;
  int FAnchor = 0, FCaret = 0;
  int FScroll = 0;  // pixels of text scrolled out at the left
  bool FSelecting = false;
  bool FModified = false;
  bool FReadOnly = false;
  int FMaxLength = 0;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  char32_t FPasswordChar = 0;
  TBorderStyle FBorderStyle = bsSingle;
  TAlignment FAlignment = taLeftJustify;
  TEditCharCase FCharCase = ecNormal;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

// Flags of TCustomLabel::DoDrawText.
enum TLabelDrawFlag : unsigned {
  ldfCalcRect = 1,  // only measure: R receives the text's extent, nothing is drawn
  ldfWordWrap = 2,  // break lines at blanks to fit R's width
};

// A caption drawn on the parent: no window, no focus. A click on it focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* AOwner);

  // Fits the size to the caption (the width too unless WordWrap is set). Only when AutoSize is
  // on; a descendant that draws differently turns it off.
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // No background fill: what lies beneath shows through.
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Not owned; whoever frees that control clears this first.
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  void Click() override;

protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  // A wrapped, auto-sized label takes the height its new width needs.
  void SizeChanged(int OldWidth, int OldHeight) override;
  // Draws the caption into R with the canvas's font, or with ldfCalcRect only sets R's right and
  // bottom to the extent the caption needs. Descendants replace it to draw otherwise; measuring
  // then may leave R as it is.
  virtual void DoDrawText(TRect& R, unsigned Flags);
  virtual void AdjustBounds();
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FAdjusting = false;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
  using TCustomLabel::TCustomLabel;
};

}  // namespace kvl
