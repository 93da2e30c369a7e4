// TNumIO2: keyboard, clipboard, mouse selection, spin buttons and the gauge drag.
#include <algorithm>
#include <cmath>

#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/numio/numio2.h"
#include "kvl/platform/clipboard.h"

namespace kvl {

namespace {

// Pasted text longer than this is refused: a field holds one number.
constexpr int MaxPasteLength = 1024;

}  // namespace

bool TNumIO2::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key >= vk::Left && Key <= vk::Down;
}

void TNumIO2::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (Key == vk::Shift) FKeyShifted = false;
  if (Key == vk::Control) FKeyCntrl = false;
  TCustomControl::KeyUp(Key, Shift);
}

void TNumIO2::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  // The event's own modifier state is the truth; the flags follow it.
  FKeyShifted = (Shift & ssShift) != 0;
  FKeyCntrl = (Shift & ssCtrl) != 0;
  if (Key == vk::Shift || Key == vk::Control) {
    (Key == vk::Shift ? FKeyShifted : FKeyCntrl) = true;
    TCustomControl::KeyDown(Key, Shift);
    return;
  }
  if (FReadOnly && !(FKeyCntrl && Key == 'C')) {
    TCustomControl::KeyDown(Key, Shift);
    return;
  }
  const std::string SavedBuffer = FInBuffer;
  const int SavedCaret = FCaretPos;
  bool Change = FKeyCntrl ? CtrlKey(Key) : PlainKey(Key);
  ClampPositions();
  if (Change && FOnlineCheck && !FInBuffer.empty() && FInBuffer != "-" && FInBuffer != "+" &&
      !CheckValidity(FInBuffer)) {
    FInBuffer = SavedBuffer;
    FCaretPos = SavedCaret;
    ClampPositions();
    DoBeep();
    Change = false;
  }
  if (FInputFormat == itFixPoint) {
    const int N = Utf8Length(FInBuffer);
    if (FCaretPos > N - FFixPointDecPlaces - 1 && FCaretPos < N) {
      FSelBegin = FCaretPos;
      FSelEnd = FCaretPos + 1;
    } else {
      FSelBegin = FSelEnd;
    }
  }
  FCaretVisib = true;
  if (Change) Changed();
  Paint();
  TCustomControl::KeyDown(Key, Shift);
}

bool TNumIO2::CtrlKey(std::uint16_t Key) {
  switch (Key) {
    case 'C':
    case 'X':
      if (FSelBegin >= FSelEnd) return false;
      Clipboard().SetAsText(Utf8Mid(FInBuffer, FSelBegin + 1, FSelEnd - FSelBegin));
      if (Key == 'C') return false;
      DeleteSelection();
      return true;
    case 'V': {
      if (!Clipboard().HasFormat(cfText)) return false;
      std::string S = Clipboard().GetAsText();
      // One line break at the end comes with text copied from a line; anything else that is
      // not a number character is left to the check, control characters are refused here.
      if (S.ends_with("\r\n"))
        S.resize(S.size() - 2);
      else if (S.ends_with('\n') || S.ends_with('\r'))
        S.pop_back();
      const bool Controls = std::any_of(
          S.begin(), S.end(), [](char Ch) { return static_cast<unsigned char>(Ch) < 32; });
      if (S.empty() || Controls || Utf8Length(S) > MaxPasteLength) {
        DoBeep();
        return false;
      }
      InsertText(S);
      return true;
    }
    default:
      DoBeep();
      return false;
  }
}

bool TNumIO2::PlainKey(std::uint16_t Key) {
  const int N = Utf8Length(FInBuffer);
  switch (Key) {
    case vk::Back:
      if (FSelBegin < FSelEnd) {
        DeleteSelection();
        return true;
      }
      if (FCaretPos == 0) return false;
      FInBuffer = Utf8Left(FInBuffer, FCaretPos - 1) + Utf8Mid(FInBuffer, FCaretPos + 1, N);
      --FCaretPos;
      return true;
    case vk::Delete:
      if (FSelBegin < FSelEnd) {
        DeleteSelection();
        return true;
      }
      if (FCaretPos >= N) return false;
      FInBuffer = Utf8Left(FInBuffer, FCaretPos) + Utf8Mid(FInBuffer, FCaretPos + 2, N);
      return true;
    case vk::Tab:
      SelectNextControl(true);
      return false;
    case vk::End:
      FCaretPos = N;
      return false;
    case vk::Home:
      FCaretPos = 0;
      return false;
    case vk::Left:
    case vk::Up:
      FCaretPos = std::max(FCaretPos - 1, 0);
      return false;
    case vk::Right:
    case vk::Down:
      FCaretPos = std::min(FCaretPos + 1, N);
      return false;
    default:
      break;
  }
  char Ch = 0;
  if (Key >= '0' && Key <= '9') {
    Ch = char(Key);
    if (FKeyShifted && Ch >= '4' && Ch <= '6') Ch = "$%&"[Ch - '4'];
  } else if (Key >= 'A' && Key <= 'F') {
    Ch = char(Key);
  } else if (Key >= vk::Numpad0 && Key <= vk::Numpad0 + 9) {
    Ch = char('0' + Key - vk::Numpad0);
  } else if (Key == vk::Add || Key == vk::OemPlus) {
    Ch = '+';
  } else if (Key == vk::Subtract || Key == vk::OemMinus) {
    Ch = '-';
  } else if (Key == vk::Decimal) {
    // The pad's decimal key types the separator a point-only field takes.
    Ch = SepMode() == smPoint ? '.' : ',';
  } else if (Key == vk::OemComma) {
    Ch = ',';
  } else if (Key == vk::OemPeriod) {
    Ch = '.';
  }
  if (Ch == 0) {
    DoBeep();
    return false;
  }
  if (FSelBegin < FSelEnd) DeleteSelection();
  InsertText(std::string(1, Ch));
  return true;
}

void TNumIO2::InsertText(const std::string& S) {
  const int N = Utf8Length(FInBuffer);
  FInBuffer = Utf8Left(FInBuffer, FCaretPos) + S + Utf8Mid(FInBuffer, FCaretPos + 1, N);
  FCaretPos += Utf8Length(S);
}

void TNumIO2::DeleteSelection() {
  const int N = Utf8Length(FInBuffer);
  FInBuffer = Utf8Left(FInBuffer, FSelBegin) + Utf8Mid(FInBuffer, FSelEnd + 1, N);
  FCaretPos = FSelEnd = FSelBegin;
  if (FInBuffer.empty()) {
    // An emptied field shows the zero of its format; the caret stays where the selection was.
    const int Begin = FSelBegin;
    FInBuffer = NioValueText(0, FInputFormat, SepMode(), FFixPointDecPlaces, FSignificantDigits);
    FCaretPos = FSelBegin = FSelEnd = Begin;
  }
}

void TNumIO2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int H = GetHeight(), G = GaugeBand();
  FSelecting = false;
  if (Y > 0 && Y < H - G) {
    FCaretPos = FSelBegin = FSelEnd = XCoordsToCharPos(X);
    if (!FReadOnly) FCaretVisib = true;
    FSelecting = Button == mbLeft;
  }
  const bool Editable = !FReadOnly && IsEnabledInTree();
  if (Editable && FButVisible) {
    const int Bx = FLeftSpace + std::max(FTextBoxWidth, 0) + FButSpace;
    if (X > Bx && X < Bx + FButWidth && Y > 0 && Y < FButHeight) SpinStep(Y <= FButHeight / 2);
  }
  if (Editable && FGaugeVisible && FGaugeWidth >= 1 && Y > H - G && X >= FGaugeLeftMargin &&
      X <= FGaugeLeftMargin + FGaugeWidth) {
    FGaugeDragging = Button == mbLeft;
    SetValue(GaugeValueAt(X));
    FValueChanged = true;
  }
  Paint();
}

void TNumIO2::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  FMouseAreaCode = X <= FLeftSpace ? 0 : X <= FLeftSpace + FTextBoxWidth ? 1 : 2;
  if (!(Shift & ssLeft)) return;
  if (FSelecting && Y > 0 && Y < GetHeight() - GaugeBand()) {
    const int P = XCoordsToCharPos(X);
    if (P > FSelBegin)
      SetSelEnd(P);
    else
      SetSelBegin(P);
  }
  if (FGaugeDragging && X >= FGaugeLeftMargin - 1 && X <= FGaugeLeftMargin + FGaugeWidth + 1) {
    const double V = GaugeValueAt(X);
    SetValue(V);
    FValueChanged = true;
    if (OnGaugeChange) OnGaugeChange(this, Shift, V);
  }
}

void TNumIO2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FSelecting = FGaugeDragging = false;
  if (FValueChanged) {
    FValueChanged = false;
    Changed();
  }
}

int TNumIO2::NearestPivot(double V) const {
  int Best = 0;
  double BestDistance = std::abs(V - ButtonPivots.GetElem(0));
  for (int I = 1; I < ButtonPivots.GetNumElems(); ++I) {
    const double D = std::abs(V - ButtonPivots.GetElem(I));
    if (D < BestDistance) {
      Best = I;
      BestDistance = D;
    }
  }
  return Best;
}

void TNumIO2::SpinStep(bool Up) {
  const double V = GetValue();
  double New;
  if (!ButtonPivots.Empty()) {
    const double S = std::pow(10.0, -FFixPointDecPlaces);
    int H = NearestPivot(V);
    if (!Up && V <= ButtonPivots.GetElem(H) + S && H > 0) --H;
    if (Up && V >= ButtonPivots.GetElem(H) - S && H < ButtonPivots.GetNumElems() - 1) ++H;
    New = ButtonPivots.GetElem(H);
  } else {
    New = std::clamp(Up ? V + FButIncrem : V - FButIncrem, FRangeLow, FRangeHigh);
  }
  SetValue(New);
  Changed();
}

double TNumIO2::GaugeValueAt(int X) const {
  // Interpolated from both ends so that a range as wide as the doubles cannot overflow.
  const double T = double(X - FGaugeLeftMargin) / FGaugeWidth;
  double V = FRangeLow * (1 - T) + FRangeHigh * T;
  if (!ButtonPivots.Empty()) V = ButtonPivots.GetElem(NearestPivot(V));
  if (std::isnan(V)) V = FRangeLow;
  return std::clamp(V, FRangeLow, FRangeHigh);
}

}  // namespace kvl
