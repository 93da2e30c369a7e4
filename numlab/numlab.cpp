// TNumLab: properties, copying and the mouse area.
#include "kvl/numlab/numlab.h"

#include <algorithm>

#include "kvl/core/kvlcolors.h"

namespace kvl {

TNumLab::TNumLab(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 160, 28); }

void TNumLab::AssignTo(TPersistent* Dest) const {
  // Only a label of this class (or a derived one) knows how to take this label's state.
  if (dynamic_cast<TNumLab*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TNumLab::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNumLab*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FLeftSpace = S->FLeftSpace;
  FEmpty = S->FEmpty;
  FLabelWidth = S->FLabelWidth;
  FPrecision = S->FPrecision;
  FLeftText = S->FLeftText;
  FRightText = S->FRightText;
  FFrameStyle = S->FFrameStyle;
  FAlignment = S->FAlignment;
  FLeftTextAlignment = S->FLeftTextAlignment;
  FRightTextAlignment = S->FRightTextAlignment;
  FOverflowIndicator = S->FOverflowIndicator;
  FValue = S->FValue;
  FStateText = S->FStateText;
  FTransparent = S->FTransparent;
  FColorLabBakG = S->FColorLabBakG;
  FColorLabText = S->FColorLabText;
  FColorOutBakG = S->FColorOutBakG;
  FColorOutText = S->FColorOutText;
  FColDark = S->FColDark;
  FColShadow = S->FColShadow;
  FColLight = S->FColLight;
  FColorScheme = S->FColorScheme;
  FDisplayType = S->FDisplayType;
  Changed();
}

void TNumLab::Changed() {
  // A transparent label combines its picture with what lies beneath; painting over its own
  // last picture would keep the old digits, so it waits for the parent's background.
  if (FTransparent || FPainting) {
    Invalidate();
    return;
  }
  Paint();
}

#define KVL_NUMLAB_SETTER(Name, Type, Field) \
  void TNumLab::Set##Name(Type V) {          \
    if (StoreIfChanged(Field, V)) Changed(); \
  }
KVL_NUMLAB_SETTER(Value, double, FValue)
KVL_NUMLAB_SETTER(Comma, bool, FComma)
KVL_NUMLAB_SETTER(ForcePlusSign, bool, FForcePlusSign)
KVL_NUMLAB_SETTER(Empty, bool, FEmpty)
KVL_NUMLAB_SETTER(OverflowIndicator, const std::string&, FOverflowIndicator)
KVL_NUMLAB_SETTER(DTFormat, const std::string&, FDTFormat)
KVL_NUMLAB_SETTER(StateText, const std::string&, FStateText)
KVL_NUMLAB_SETTER(LeftText, const std::string&, FLeftText)
KVL_NUMLAB_SETTER(RightText, const std::string&, FRightText)
KVL_NUMLAB_SETTER(Alignment, TAlignment, FAlignment)
KVL_NUMLAB_SETTER(LeftTextAlignment, TAlignment, FLeftTextAlignment)
KVL_NUMLAB_SETTER(RightTextAlignment, TAlignment, FRightTextAlignment)
KVL_NUMLAB_SETTER(ColorLabBakG, TColor, FColorLabBakG)
KVL_NUMLAB_SETTER(ColorLabText, TColor, FColorLabText)
KVL_NUMLAB_SETTER(ColorOutBakG, TColor, FColorOutBakG)
KVL_NUMLAB_SETTER(ColorOutText, TColor, FColorOutText)
#undef KVL_NUMLAB_SETTER

void TNumLab::SetDisplayType(TDisplay V) {
  if (StoreIfChanged(FDisplayType, DisplayFromByte(V))) Changed();
}

void TNumLab::SetPrecision(int V) {
  if (V < 0) return;
  if (StoreIfChanged(FPrecision, std::min(V, 15))) Changed();
}

void TNumLab::SetLeftSpace(int V) {
  if (V < 0) return;
  if (StoreIfChanged(FLeftSpace, std::min(V, GetWidth()))) Changed();
}

void TNumLab::SetLabelWidth(int V) {
  if (V < 0) return;
  if (StoreIfChanged(FLabelWidth, V)) Changed();
}

void TNumLab::SetFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(V))) Changed();
}

void TNumLab::SetColorScheme(TColorScheme V) {
  if (V == FColorScheme) return;
  FColorScheme = V;
  const TSchemeColors S = ColorSchemeColors(V);
  FColShadow = S.Shadow;
  FColLight = S.Light;
  Changed();
}

void TNumLab::SetTransparent(bool V) {
  if (V == FTransparent) return;
  FTransparent = V;
  // A label turning transparent needs its parent's background beneath it first.
  if (V)
    Invalidate();
  else
    Paint();
}

void TNumLab::SetEnabled(bool V) {
  TGraphicControl::SetEnabled(V);
  Refresh();
}

void TNumLab::MouseMove(TShiftState Shift, int X, int Y) {
  FMouseAreaCode = X <= FLeftSpace ? 0 : X <= FLeftSpace + FLabelWidth ? 1 : 2;
  TGraphicControl::MouseMove(Shift, X, Y);
}

TNumLabTextForm TNumLab::TextForm() const {
  return {FDisplayType, FPrecision, FComma, FForcePlusSign, FDTFormat, FStateText};
}

}  // namespace kvl
