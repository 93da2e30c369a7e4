// TGradFill: construction, the property setters with the colour-flip bookkeeping, and copying.
#include "kvl/gradfl/gradfl.h"

#include <algorithm>

namespace kvl {

TGradFill::TGradFill(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 121, 121); }

void TGradFill::Changed() {
  FStale = true;
  Invalidate();
}

void TGradFill::SetFillType(TGradType V) {
  if (V > gtMidBandVert) V = gtHoriz;
  if (V == FFillType) return;
  FFillType = V;
  Changed();
}

void TGradFill::SetNrColors(int V) {
  FNrColors = std::clamp(V, 1, 255);
  Changed();
}

// The host's colour that a setter writes depends on the flip: while flipped, the first colour
// in use is the host's last colour and the other way round.
void TGradFill::SetColorFirst(TColor C) {
  FColorFirst = C;
  (FColorFlipped ? FHostColorLast : FHostColorFirst) = C;
  Changed();
}

void TGradFill::SetColorLast(TColor C) {
  FColorLast = C;
  (FColorFlipped ? FHostColorFirst : FHostColorLast) = C;
  Changed();
}

void TGradFill::SetColorFlipped(bool V) {
  FColorFlipped = V;
  FColorFirst = V ? FHostColorLast : FHostColorFirst;
  FColorLast = V ? FHostColorFirst : FHostColorLast;
  Changed();
}

void TGradFill::SetFrameStyle(TFrameStyle V) {
  FFrameStyle = FrameStyleFromByte(V);
  Changed();
}

void TGradFill::SetGridMode(TGridMode V) {
  FGridMode = V > gmBoth ? gmNone : V;
  Changed();
}

void TGradFill::SetGridColor(TColor C) {
  FGridColor = C;
  Changed();
}

void TGradFill::AssignTo(TPersistent* Dest) const {
  // Only a fill of this class (or a derived one) knows how to take this fill's settings.
  if (dynamic_cast<TGradFill*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TGradFill::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TGradFill*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (S == this) return;
  FFillType = S->FFillType;
  FNrColors = S->FNrColors;
  FHostColorFirst = S->FHostColorFirst;
  FHostColorLast = S->FHostColorLast;
  FColorFirst = S->FColorFirst;
  FColorLast = S->FColorLast;
  FColorFlipped = S->FColorFlipped;
  FFrameStyle = S->FFrameStyle;
  FGridMode = S->FGridMode;
  FGridColor = S->FGridColor;
  Changed();
}

}  // namespace kvl
