// TNumIO2: the value and text model, properties, caret geometry, the caret timer and copying.
#include "kvl/numio/numio2.h"

#include <algorithm>
#include <cmath>

#include "kvl/core/kvlcolors.h"
#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/errors.h"

namespace kvl {

TNumIO2::TNumIO2(TComponent* AOwner)
    : TCustomControl(AOwner), FCaretTimer(*this, [this] { CaretTick(); }) {
  SetBounds(0, 0, 160, 28);
  SetTabStop(true);
  UpdateTimer();
}

TNumIO2::~TNumIO2() { FCaretTimer.Kill(); }

void TNumIO2::AssignTo(TPersistent* Dest) const {
  // Only a field of this class (or a derived one) knows how to take this field's state.
  if (dynamic_cast<TNumIO2*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

void TNumIO2::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNumIO2*>(Source);
  if (!S) {
    TCustomControl::Assign(Source);
    return;
  }
  FLeftSpace = S->FLeftSpace;
  FTextBoxWidth = S->FTextBoxWidth;
  FFixPointDecPlaces = S->FFixPointDecPlaces;
  FSignificantDigits = S->FSignificantDigits;
  FLeftText = S->FLeftText;
  FRightText = S->FRightText;
  FFrameStyle = S->FFrameStyle;
  FAlignment = S->FAlignment;
  FRightTextAlignment = S->FRightTextAlignment;
  FLeftTextAlignment = S->FLeftTextAlignment;
  FColorBoxBG = S->FColorBoxBG;
  FColorBoxText = S->FColorBoxText;
  FColorOutBG = S->FColorOutBG;
  FColorOutText = S->FColorOutText;
  FColDark = S->FColDark;
  FColShadow = S->FColShadow;
  FColLight = S->FColLight;
  FColorScheme = S->FColorScheme;
  FInputFormat = S->FInputFormat;
  FInBuffer = S->FInBuffer;
  FCaretPos = S->FCaretPos;
  FCaretVisib = S->FCaretVisib;
  FMouseAreaCode = S->FMouseAreaCode;
  FColorWarnBG = S->FColorWarnBG;
  FColorWarnText = S->FColorWarnText;
  FSelBegin = S->FSelBegin;
  FSelEnd = S->FSelEnd;
  FDecPlaceSep = S->FDecPlaceSep;
  FKeyShifted = S->FKeyShifted;
  FKeyCntrl = S->FKeyCntrl;
  FHideSelection = S->FHideSelection;
  FRangeHigh = S->FRangeHigh;
  FRangeLow = S->FRangeLow;
  FOnlineCheck = S->FOnlineCheck;
  FBeep = S->FBeep;
  FReadOnly = S->FReadOnly;
  FAutoSize = S->FAutoSize;
  Paint();
}

TSepMode TNumIO2::SepMode() const { return SepModeOf(FDecPlaceSep); }

double TNumIO2::GetValue() const { return ReadNioValue(FInBuffer, FInputFormat); }

void TNumIO2::SetValue(double V) {
  // NaN has no text in any format; infinities stand for the largest finite values.
  if (std::isnan(V)) return;
  V = std::clamp(V, -uc_MaxDouble, uc_MaxDouble);
  SetBuffer(NioValueText(V, FInputFormat, SepMode(), FFixPointDecPlaces, FSignificantDigits));
  Paint();
}

void TNumIO2::SetText(const std::string& S) {
  if (!S.empty() && !CheckValidity(S)) return;
  FInBuffer = S;
  FCaretPos = FSelBegin = FSelEnd = 0;
  Paint();
}

void TNumIO2::SetBuffer(std::string S) {
  FInBuffer = std::move(S);
  ClampPositions();
}

void TNumIO2::ClampPositions() {
  const int N = Utf8Length(FInBuffer);
  FCaretPos = std::clamp(FCaretPos, 0, N);
  FSelBegin = std::clamp(FSelBegin, 0, N);
  FSelEnd = std::clamp(FSelEnd, FSelBegin, N);
}

int TNumIO2::GetIntegerValue() const {
  const double V = GetValue();
  if (!(V <= 2147483647.0 && V >= -2147483648.0))
    RaiseComponentError<EKVLNumIO2Error>(GetName(), rsIntegerOverflow);
  return static_cast<int>(std::nearbyint(V));
}

bool TNumIO2::OutOfRange() const {
  const double V = GetValue();
  return V < FRangeLow || V > FRangeHigh;
}

bool TNumIO2::CheckValidity(std::string_view Instring) const {
  return kvl::CheckValidity(Instring, FInputFormat, SepMode(), FFixPointDecPlaces);
}

void TNumIO2::SetInputFormat(TInFormat F) {
  F = InFormatFromByte(F);
  if (F == FInputFormat) return;
  const double V = GetValue();
  FInputFormat = F;
  SetValue(V);
}

void TNumIO2::SetFixPointDecPlaces(int N) {
  if (N <= 0) return;
  const double V = GetValue();
  FFixPointDecPlaces = std::min(N, 15);
  SetValue(V);
}

void TNumIO2::SetSignificantDigits(int N) {
  if (N <= 0) return;
  const double V = GetValue();
  FSignificantDigits = std::min(N, 15);
  SetValue(V);
}

void TNumIO2::SetDecPlaceSep(TDecPSep Sep) {
  Sep = DecPSepFromByte(Sep);
  if (Sep == FDecPlaceSep) return;
  if (Sep != dpsBoth) {
    const char New = SeparatorChar(SepModeOf(Sep));
    if (FDecPlaceSep == dpsBoth) {
      std::replace(FInBuffer.begin(), FInBuffer.end(), '.', New);
      std::replace(FInBuffer.begin(), FInBuffer.end(), ',', New);
    } else {
      std::replace(FInBuffer.begin(), FInBuffer.end(), SeparatorChar(SepMode()), New);
    }
  }
  FDecPlaceSep = Sep;
  Paint();
}

void TNumIO2::SetRangeLow(double V) {
  FRangeLow = V;
  if (FRangeHigh < V) FRangeHigh = V;
  Paint();
}

void TNumIO2::SetRangeHigh(double V) {
  FRangeHigh = V;
  if (FRangeLow > V) FRangeLow = V;
  Paint();
}

void TNumIO2::SetReadOnly(bool V) {
  if (V == FReadOnly) return;
  FReadOnly = V;
  if (V) {
    FCaretTimer.Kill();
    FCaretVisib = false;
  } else {
    UpdateTimer();
  }
  Paint();
}

void TNumIO2::SetHideSelection(bool V) {
  if (V == FHideSelection) return;
  FHideSelection = V;
  Paint();
}

void TNumIO2::SetEnabled(bool V) {
  TCustomControl::SetEnabled(V);
  Repaint();
}

void TNumIO2::SetSelBegin(int P) {
  P = std::clamp(P, 0, Utf8Length(FInBuffer));
  FSelBegin = FCaretPos = P;
  if (FSelEnd < P) FSelEnd = P;
  Paint();
}

void TNumIO2::SetSelEnd(int P) {
  P = std::clamp(P, 0, Utf8Length(FInBuffer));
  FSelEnd = FCaretPos = P;
  if (FSelBegin > P) FSelBegin = P;
  Paint();
}

void TNumIO2::Changed() {
  if (OnChange) OnChange(this);
}

int TNumIO2::CharPosToXCoords(int CharPos) {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const int W = C.TextWidth(FInBuffer);
  const int Wi = C.TextWidth(Utf8Left(FInBuffer, CharPos));
  switch (FAlignment) {
    case taLeftJustify:
      return Wi + FLeftSpace + 4;
    case taRightJustify:
      return Wi + FLeftSpace + FTextBoxWidth - W - 2;
    default:
      return Wi + FLeftSpace + (FTextBoxWidth - W) / 2 + 2;
  }
}

int TNumIO2::XCoordsToCharPos(int X) {
  const int N = Utf8Length(FInBuffer);
  if (N == 0) return 0;
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const int W = C.TextWidth(FInBuffer);
  // The average width of a character; a font without widths still gives positions.
  const int A = std::max(W / N, 1);
  int Cx;
  switch (FAlignment) {
    case taLeftJustify:
      Cx = X - FLeftSpace - 3;
      break;
    case taRightJustify:
      Cx = X + W - FLeftSpace - FTextBoxWidth + 3;
      break;
    default:
      Cx = X - FLeftSpace - (FTextBoxWidth - W) / 2 - 1;
      break;
  }
  Cx = std::clamp(Cx, 0, W);
  return std::clamp((Cx + A / 2) / A, 0, N);
}

void TNumIO2::CreateWnd() {
  FSuppressPaint = false;
  Paint();
}

void TNumIO2::UpdateTimer() {
  FCaretTimer.Kill();
  FCaretVisib = true;
  FCaretTimer.Restart<EKVLNumIO2Error>(500);
  Paint();
}

void TNumIO2::CaretTick() {
  if (Focused()) {
    FCaretVisib = !FCaretVisib;
  } else {
    FCaretTimer.Kill();
    FCaretVisib = false;
  }
  Paint();
}

void TNumIO2::SetFocus() {
  TCustomControl::SetFocus();
  if (!FReadOnly) UpdateTimer();
}

void TNumIO2::Click() {
  SetFocus();
  TCustomControl::Click();
}

void TNumIO2::FocusIn() {
  if (!FReadOnly) UpdateTimer();
}

void TNumIO2::FocusOut() {
  // A modifier released in another window is never seen here: forget both.
  FKeyShifted = FKeyCntrl = false;
  Paint();
}

void TNumIO2::DoBeep() const {
  if (FBeep) MessageBeep();
}

}  // namespace kvl
