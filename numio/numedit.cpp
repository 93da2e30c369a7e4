// TNumIO: the numeric edit box's check after every change, its value and its properties.
#include "kvl/numio/numedit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/platform/clipboard.h"

namespace kvl {

namespace {

// 1-based position of the first separator Mode allows at or after character From; 0 if none.
int SeparatorPos(std::string_view Text, TSepMode Mode, int From = 1) {
  for (int I = std::max(From, 1); I <= int(Text.size()); ++I) {
    const char C = Text[std::size_t(I - 1)];
    if ((C == '.' && Mode != smComma) || (C == ',' && Mode != smPoint)) return I;
  }
  return 0;
}

}  // namespace

TNumIO::TNumIO(TComponent* AOwner) : TCustomEdit(AOwner) {
  if (AOwner && AOwner->IsDesigning()) {
    FRangeLow = -uc_MaxDouble;
    FRangeHigh = uc_MaxDouble;
  }
  PutText("", 0);
}

void TNumIO::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNumIO*>(Source);
  if (!S) {
    TCustomEdit::Assign(Source);
    return;
  }
  FInputFormat = S->FInputFormat;
  FBeep = S->FBeep;
  FRangeLow = S->FRangeLow;
  FRangeHigh = S->FRangeHigh;
  FDecPlaceSep = S->FDecPlaceSep;
}

TSepMode TNumIO::SepMode() const { return SepModeOf(FDecPlaceSep); }

void TNumIO::SetInputFormat(TInFormat Value) {
  Value = InFormatFromByte(Value);
  if (Value == FInputFormat) return;
  FInputFormat = Value;
  Recheck();
}

void TNumIO::SetDecPlaceSep(TDecPSep Value) {
  if (Value == FDecPlaceSep) return;
  FDecPlaceSep = Value;
  Recheck();
}

void TNumIO::SetRangeLow(double Value) {
  if (Value >= FRangeHigh) {
    FRangeLow = FRangeHigh;
    FRangeHigh = Value;
  } else {
    FRangeLow = Value;
  }
  Recheck();
}

void TNumIO::SetRangeHigh(double Value) {
  if (Value > FRangeLow) {
    FRangeHigh = Value;
  } else {
    FRangeHigh = FRangeLow;
    FRangeLow = Value;
  }
  Recheck();
}

void TNumIO::SetFixPointDecPlaces(int Value) { FFixPointDecPlaces = std::clamp(Value, 1, 8); }

bool TNumIO::ConvertNumString(std::string_view Instring, double& Value) const {
  return kvl::ConvertNumString(Instring, FInputFormat, SepMode(), Value);
}

double TNumIO::GetValue() const { return ReadNumIOValue(GetText(), FInputFormat); }

void TNumIO::SetValue(double Value) {
  PutText(NumIOValueText(Value, FInputFormat, SepMode(), FFixPointDecPlaces), 0);
}

void TNumIO::PutText(const std::string& S, int Caret) {
  FInternalChange = true;
  SetText(S);
  // A descendant's notification may not have run this class's Change; the flag ends here.
  FInternalChange = false;
  SetSelStart(std::clamp(Caret, 0, Utf8Length(S)));
}

void TNumIO::Recheck() {
  FLastAccepted.clear();
  // An empty text would only be put back as it is (with a beep): nothing to check.
  if (!GetText().empty()) CheckText();
}

void TNumIO::Change() {
  if (IsDesigning()) return;
  if (FInternalChange) {
    FInternalChange = false;
    return;
  }
  CheckText();
}

void TNumIO::CheckText() {
  const std::string Text = GetText();
  const TSepMode Mode = SepMode();
  bool Restore = false;
  std::string Replacement;
  int Caret = GetCaretPos();

  // Fixed point: without a separator, or with a second one, the last accepted text comes back
  // and the check ends; too many decimals are cut and the check goes on.
  bool Decided = false;
  if (FInputFormat == itFixPoint) {
    int P = SeparatorPos(Text, Mode);
    const int P2 = P > 0 ? SeparatorPos(Text, Mode, P + 1) : 0;
    if (P == 0) {
      Replacement = FLastAccepted;
      Restore = Decided = true;
      P = SeparatorPos(FLastAccepted, Mode);
      if (P > 1) --P;
      Caret = P;
    }
    if ((P2 > 0 && P < P2) || P == 0) {
      Replacement = FLastAccepted;
      Restore = Decided = true;
      Caret = SeparatorPos(FLastAccepted, Mode);
    } else if (!Decided && Utf8Length(Text) - P > FFixPointDecPlaces) {
      Replacement = Utf8Left(Text, P + FFixPointDecPlaces);
      Restore = true;
    }
  }

  bool Accepted = false;
  if (!Decided) {
    double V = 0;
    if (ConvertNumString(Text, V)) {
      if (FInputFormat == itFixPoint) {
        Replacement = FixedForm(V, FFixPointDecPlaces, Mode);
        Restore = true;
      }
      Accepted = (V >= FRangeLow && V <= FRangeHigh) || V == 0;
    }
    if (Accepted) {
      // What stays in the box is what a later refusal goes back to.
      FLastAccepted = Restore ? Replacement : Text;
    } else {
      Replacement = FLastAccepted;
      Restore = true;
      Caret = GetCaretPos() - 1;
      Invalidate();
      if (FBeep) MessageBeep();
    }
  }

  if (Restore) PutText(Replacement, Caret);
  // OnChange comes once the box holds the text it keeps, so that a handler reads that text.
  if (Accepted) TCustomEdit::Change();
}

}  // namespace kvl
