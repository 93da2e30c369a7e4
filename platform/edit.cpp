// TCustomEdit: a single-line text edit with caret, selection, clipboard and scrolling.
#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/errors.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

namespace {

constexpr int CaretBlinkMs = 500;
constexpr int TextMargin = 1;  // pixels between the client edge and the text

char32_t UpperOf(char32_t C) {
  if (C >= 'a' && C <= 'z') return C - 32;
  // Latin-1 letters, except the division sign and the y with diaeresis (no upper form here).
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 32;
  return C;
}

char32_t LowerOf(char32_t C) {
  if (C >= 'A' && C <= 'Z') return C + 32;
  if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return C + 32;
  return C;
}

// Letters, digits, the underscore and every non-ASCII character belong to words.
bool IsWordChar(char32_t C) {
  return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_' ||
         C >= 0x80;
}

std::vector<char32_t> CodePoints(std::string_view S) {
  std::vector<char32_t> Out;
  for (std::size_t I = 0; I < S.size();) {
    int Len = 1;
    Out.push_back(Utf8Decode(S, I, &Len));
    I += std::size_t(std::max(Len, 1));
  }
  return Out;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner),
      FMeasure(std::make_unique<TCanvas>(&FMeasureBitmap)),
      FCaretTimer(*this, [this] { CaretTick(); }) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetDefaultColor(clWindow);
  SetCursor(crIBeam);
  SetBorderInset(2);
}

TCustomEdit::~TCustomEdit() { FCaretTimer.Kill(); }

// --- Text and selection ---------------------------------------------------------------------

std::string TCustomEdit::Cased(std::string S) const {
  if (FCharCase == ecNormal) return S;
  std::string Out;
  Out.reserve(S.size());
  for (char32_t C : CodePoints(S))
    Out += Utf8Encode(FCharCase == ecUpperCase ? UpperOf(C) : LowerOf(C));
  return Out;
}

int TCustomEdit::TextLength() const { return Utf8Length(GetText()); }

void TCustomEdit::SetText(const std::string& Value) {
  TControl::SetText(Cased(Value));
  // As the classic control does: a new text puts the caret at its start.
  FAnchor = FCaret = 0;
  FScroll = 0;
  FModified = false;
  Invalidate();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetSelection(int Anchor, int P) {
  const int N = TextLength();
  FAnchor = std::clamp(Anchor, 0, N);
  FCaret = std::clamp(P, 0, N);
  ScrollCaretIntoView();
  RestartCaret();
  Invalidate();
}

void TCustomEdit::SetSelStart(int Value) { SetSelection(Value, Value); }

void TCustomEdit::SetSelLength(int Value) {
  const int Start = GetSelStart();
  SetSelection(Start, Start + std::max(Value, 0));
}

std::string TCustomEdit::GetSelText() const {
  return Utf8Mid(GetText(), GetSelStart() + 1, GetSelLength());
}

void TCustomEdit::SetSelText(const std::string& Value) {
  const int Start = GetSelStart(), N = TextLength();
  const std::string& T = GetText();
  const std::string S = Cased(Value);
  TControl::SetText(Utf8Left(T, Start) + S + Utf8Mid(T, Start + GetSelLength() + 1, N));
  const int P = Start + Utf8Length(S);
  SetSelection(P, P);
  Change();
}

void TCustomEdit::SelectAll() { SetSelection(0, TextLength()); }

void TCustomEdit::ClearSelection() {
  if (GetSelLength() > 0) SetSelText("");
}

void TCustomEdit::CopyToClipboard() {
  // A password stays where it is.
  if (FPasswordChar != 0 || GetSelLength() == 0) return;
  Clipboard().SetAsText(GetSelText());
}

void TCustomEdit::CutToClipboard() {
  if (FPasswordChar != 0 || GetSelLength() == 0 || FReadOnly) return;
  CopyToClipboard();
  FModified = true;
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (FReadOnly || !Clipboard().HasFormat(cfText)) return;
  std::string S = Utf8Repaired(Clipboard().GetAsText());
  // One line takes the text up to the first line break.
  if (const std::size_t Br = S.find_first_of("\r\n"); Br != std::string::npos) S.resize(Br);
  InsertTyped(S);
}

bool TCustomEdit::InsertTyped(std::string S) {
  if (FReadOnly) return false;
  if (FMaxLength > 0) {
    const int Room = FMaxLength - (TextLength() - GetSelLength());
    if (Room <= 0) {
      MessageBeep();
      return false;
    }
    Utf8Cut(S, Room);
  }
  if (S.empty() && GetSelLength() == 0) return false;
  FModified = true;
  SetSelText(S);
  return true;
}

void TCustomEdit::DeleteRange(int From, int To) {
  From = std::max(From, 0);
  To = std::min(To, TextLength());
  if (From >= To) return;
  FModified = true;
  const int N = TextLength();
  const std::string& T = GetText();
  TControl::SetText(Utf8Left(T, From) + Utf8Mid(T, To + 1, N));
  SetSelection(From, From);
  Change();
}

// --- Properties -----------------------------------------------------------------------------

void TCustomEdit::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (Value == FPasswordChar) return;
  FPasswordChar = Value;
  ScrollCaretIntoView();
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  SetBorderInset(Value == bsSingle ? 2 : 0);
  Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (Value == FCharCase) return;
  FCharCase = Value;
  if (Value != ecNormal) {
    const std::string S = Cased(GetText());
    if (S != GetText()) {
      const int A = FAnchor, P = FCaret;
      TControl::SetText(S);
      SetSelection(A, P);
      Change();
    }
  }
}

void TCustomEdit::FontChanged() {
  TWinControl::FontChanged();
  ScrollCaretIntoView();
}

void TCustomEdit::EnabledChanged() {
  TWinControl::EnabledChanged();
  if (IsEnabledInTree()) {
    RestartCaret();
  } else {
    FCaretTimer.Kill();
    FCaretOn = false;
  }
}

void TCustomEdit::SizeChanged(int OldWidth, int OldHeight) {
  TWinControl::SizeChanged(OldWidth, OldHeight);
  ScrollCaretIntoView();
}

// --- Keyboard -------------------------------------------------------------------------------

bool TCustomEdit::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key >= vk::Left && Key <= vk::Down;
}

void TCustomEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);  // OnKeyDown may take the key away
  const bool Ctrl = (Shift & ssCtrl) != 0, Shifted = (Shift & ssShift) != 0;
  const int N = TextLength();
  const std::vector<char32_t> Chars = CodePoints(GetText());
  // The start of the word left of P and the end of the word right of P.
  const auto WordLeft = [&](int P) {
    while (P > 0 && !IsWordChar(Chars[std::size_t(P - 1)])) --P;
    while (P > 0 && IsWordChar(Chars[std::size_t(P - 1)])) --P;
    return P;
  };
  const auto WordRight = [&](int P) {
    while (P < N && IsWordChar(Chars[std::size_t(P)])) ++P;
    while (P < N && !IsWordChar(Chars[std::size_t(P)])) ++P;
    return P;
  };
  const auto MoveTo = [&](int P) {
    if (Shifted)
      SetSelection(FAnchor, P);
    else
      SetSelection(P, P);
  };
  switch (Key) {
    case vk::Left:
    case vk::Up:
      if (Ctrl)
        MoveTo(WordLeft(FCaret));
      else if (!Shifted && GetSelLength() > 0)
        MoveTo(GetSelStart());
      else
        MoveTo(FCaret - 1);
      break;
    case vk::Right:
    case vk::Down:
      if (Ctrl)
        MoveTo(WordRight(FCaret));
      else if (!Shifted && GetSelLength() > 0)
        MoveTo(GetSelStart() + GetSelLength());
      else
        MoveTo(FCaret + 1);
      break;
    case vk::Home:
      MoveTo(0);
      break;
    case vk::End:
      MoveTo(N);
      break;
    case vk::Back:
      if (FReadOnly) break;
      if (GetSelLength() > 0)
        DeleteRange(GetSelStart(), GetSelStart() + GetSelLength());
      else
        DeleteRange(Ctrl ? WordLeft(FCaret) : FCaret - 1, FCaret);
      break;
    case vk::Delete:
      if (Shifted) {
        CutToClipboard();
      } else if (!FReadOnly) {
        if (GetSelLength() > 0)
          DeleteRange(GetSelStart(), GetSelStart() + GetSelLength());
        else
          DeleteRange(FCaret, Ctrl ? WordRight(FCaret) : FCaret + 1);
      }
      break;
    default:
      ClipboardKey(Key, Shift);
      break;
  }
}

void TCustomEdit::ClipboardKey(std::uint16_t Key, TShiftState Shift) {
  const bool Ctrl = (Shift & ssCtrl) != 0, Shifted = (Shift & ssShift) != 0;
  switch (Key) {
    case vk::Insert:
      if (Ctrl)
        CopyToClipboard();
      else if (Shifted)
        PasteFromClipboard();
      break;
    case 'A':
      if (Ctrl) SelectAll();
      break;
    case 'C':
      if (Ctrl) CopyToClipboard();
      break;
    case 'X':
      if (Ctrl) CutToClipboard();
      break;
    case 'V':
      if (Ctrl) PasteFromClipboard();
      break;
    default:
      break;
  }
}

void TCustomEdit::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  // Control characters (Backspace, Enter, Ctrl+letter) are keys, not text.
  if (Key < 32 || Key == 127) return;
  if (FReadOnly) return;
  InsertTyped(Cased(Utf8Encode(Key)));
}

// --- Mouse ----------------------------------------------------------------------------------

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    const int P = CharPosAt(X);
    if (Shift & ssDouble) {
      // The second press of a double click selects the word (or the run of other characters)
      // under the pointer.
      const std::vector<char32_t> Chars = CodePoints(GetText());
      const int N = int(Chars.size());
      int From = std::min(P, N), To = From;
      const bool Word = From < N ? IsWordChar(Chars[std::size_t(From)])
                                 : From > 0 && IsWordChar(Chars[std::size_t(From - 1)]);
      while (From > 0 && IsWordChar(Chars[std::size_t(From - 1)]) == Word) --From;
      while (To < N && IsWordChar(Chars[std::size_t(To)]) == Word) ++To;
      SetSelection(From, To);
      FSelecting = false;
    } else {
      SetSelection((Shift & ssShift) ? FAnchor : P, P);
      FSelecting = true;
    }
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSelecting) SetSelection(FAnchor, CharPosAt(X));
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FSelecting = false;
  TWinControl::MouseUp(Button, Shift, X, Y);
}

// --- Focus and caret ------------------------------------------------------------------------

void TCustomEdit::DoEnter() {
  // A click that brings the focus places the caret right after this.
  if (FAutoSelect) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::FocusIn() {
  RestartCaret();
  Invalidate();
}

void TCustomEdit::FocusOut() {
  FCaretTimer.Kill();
  FCaretOn = false;
  FSelecting = false;
  Invalidate();
}

void TCustomEdit::RestartCaret() {
  if (!Focused() || !IsEnabledInTree()) return;
  FCaretOn = true;
  FCaretTimer.Restart<EOutOfResources>(CaretBlinkMs);
}

void TCustomEdit::CaretTick() {
  if (!Focused()) {
    FCaretTimer.Kill();
    FCaretOn = false;
  } else {
    FCaretOn = !FCaretOn;
  }
  Invalidate();
}

bool TCustomEdit::ShowsSelection() const { return Focused() || !FHideSelection; }

// --- Geometry -------------------------------------------------------------------------------

std::string TCustomEdit::Shown() const {
  if (FPasswordChar == 0) return GetText();
  std::string S;
  const std::string One = Utf8Encode(FPasswordChar);
  for (int I = TextLength(); I > 0; --I) S += One;
  return S;
}

int TCustomEdit::TextWidthOf(std::string_view S) {
  FMeasure->SetFont(GetFont());
  return FMeasure->TextWidth(S);
}

// Client X where the text starts: aligned while it fits, scrolled from the left otherwise.
int TCustomEdit::TextLeft(int TextWidth) {
  const int Room = GetClientWidth() - 2 * TextMargin;
  if (TextWidth < Room) {
    if (FAlignment == taRightJustify) return TextMargin + Room - TextWidth - 1;
    if (FAlignment == taCenter) return TextMargin + (Room - TextWidth) / 2;
  }
  return TextMargin - FScroll;
}

int TCustomEdit::XOfCharPos(int P) {
  const std::string S = Shown();
  return TextLeft(TextWidthOf(S)) + TextWidthOf(Utf8Left(S, P));
}

int TCustomEdit::CharPosAt(int X) {
  const std::string S = Shown();
  const int Left = TextLeft(TextWidthOf(S));
  const int N = Utf8Length(S);
  int Prev = Left;
  for (int P = 1; P <= N; ++P) {
    const int Next = Left + TextWidthOf(Utf8Left(S, P));
    // Past the middle of a character counts as after it.
    if (X < (Prev + Next + 1) / 2) return P - 1;
    Prev = Next;
  }
  return N;
}

void TCustomEdit::ScrollCaretIntoView() {
  const std::string S = Shown();
  const int Whole = TextWidthOf(S);
  const int Room = std::max(GetClientWidth() - 2 * TextMargin, 1);
  if (Whole < Room) {
    FScroll = 0;
    return;
  }
  const int X = TextWidthOf(Utf8Left(S, FCaret));
  // Jumps of a third of the width, as the classic control scrolls, so that typing at the edge
  // does not scroll at every character.
  if (X < FScroll) FScroll = std::max(X - Room / 3, 0);
  if (X >= FScroll + Room) FScroll = X - Room + Room / 3;
  // No empty room right of the text (the caret's pixel included).
  FScroll = std::clamp(FScroll, 0, std::max(Whole + 1 - Room, 0));
}

// --- Painting -------------------------------------------------------------------------------

void TCustomEdit::PaintBackground(TCanvas& C) {
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(GetClientRect());
}

void TCustomEdit::PaintBorder(TCanvas& C) {
  if (FBorderStyle == bsSingle) DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
}

void TCustomEdit::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect Client = GetClientRect();
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(Client);
  C.SetFont(GetFont());
  const std::string S = Shown();
  const int H = C.TextHeight("Ag");
  const int Y = std::max((Client.Height() - H) / 2, 0);
  const int X = TextLeft(C.TextWidth(S));
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(GetShownFontColor());
  C.TextOut(X, Y, S);
  if (GetSelLength() > 0 && ShowsSelection()) {
    const int X1 = X + C.TextWidth(Utf8Left(S, GetSelStart()));
    const int X2 = X + C.TextWidth(Utf8Left(S, GetSelStart() + GetSelLength()));
    const TRect Sel = Rect(X1, Y, X2, Y + H).Intersect(Client);
    C.GetBrush().SetColor(clHighlight);
    C.GetFont().SetColor(clHighlightText);
    if (!Sel.IsEmpty()) C.TextRect(Sel, X, Y, S);
  }
  if (FCaretOn && Focused() && IsEnabledInTree()) {
    const int Cx = X + C.TextWidth(Utf8Left(S, FCaret));
    C.GetPen().SetColor(GetFont().GetColor());
    C.GetPen().SetStyle(psSolid);
    C.GetPen().SetWidth(1);
    C.MoveTo(Cx, Y);
    C.LineTo(Cx, Y + H);
  }
}

}  // namespace kvl
