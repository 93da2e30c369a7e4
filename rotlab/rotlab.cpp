// TRotLab: properties, the anchor, and the rotated caption.
#include "kvl/rotlab/rotlab.h"

#include <cmath>

#include "kvl/core/drawing.h"
#include "kvl/platform/relief.h"

namespace kvl {

namespace {

// Sine and cosine of a whole number of degrees in 0..359, exact at the right angles.
void SinCosDegrees(int Deg, double& S, double& C) {
  switch (Deg) {
    case 0: S = 0; C = 1; return;
    case 90: S = 1; C = 0; return;
    case 180: S = 0; C = -1; return;
    case 270: S = -1; C = 0; return;
    default: {
      const double A = Deg * M_PI / 180;
      S = std::sin(A);
      C = std::cos(A);
    }
  }
}

int Round(double V) { return int(std::nearbyint(V)); }

}  // namespace

TRotLab::TRotLab(TComponent* AOwner) : TCustomLabel(AOwner) {
  SetAutoSize(false);
  SetBounds(0, 0, 200, 200);
  GetFont().SetName("Arial");
  GetFont().SetSize(11);
  TCustomLabel::SetTransparent(true);
  TControl::SetColor(FColor);
  FPosX = FPosY = 10;
}

std::string TRotLab::OneLine(const std::string& Caption) {
  std::string S;
  S.reserve(Caption.size());
  for (std::size_t I = 0; I < Caption.size(); ++I) {
    const unsigned char Ch = static_cast<unsigned char>(Caption[I]);
    if (Ch == '\r' || Ch == '\n') {
      S += ' ';
      if (Ch == '\r' && I + 1 < Caption.size() && Caption[I + 1] == '\n') ++I;
    } else if (Ch >= 32 && Ch != 127) {
      S += char(Ch);
    }
  }
  return S;
}

void TRotLab::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TRotLab*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TCustomLabel::AssignTo(Dest);
}

void TRotLab::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TRotLab*>(Source);
  if (!S) {
    TCustomLabel::Assign(Source);
    return;
  }
  FAutoCenter = S->FAutoCenter;
  FFrameStyle = S->FFrameStyle;
  FTextAngle = S->FTextAngle;
  FPosX = S->FPosX;
  FPosY = S->FPosY;
  FAntiAlias = S->FAntiAlias;
  if (FAutoCenter) Center();
  Invalidate();
}

void TRotLab::Changed() {
  if (GetTransparent())
    Invalidate();
  else
    Repaint();
}

void TRotLab::Center() {
  FPosX = GetWidth() / 2;
  FPosY = GetHeight() / 2;
}

void TRotLab::SetTextAngle(int V) {
  if (StoreIfChanged(FTextAngle, V)) Changed();
}

void TRotLab::SetPosX(int V) {
  if (V == FPosX) return;
  if (FAutoCenter)
    Center();
  else
    FPosX = V;
  Changed();
}

void TRotLab::SetPosY(int V) {
  if (V == FPosY) return;
  if (FAutoCenter)
    Center();
  else
    FPosY = V;
  Changed();
}

void TRotLab::SetAutoCenter(bool V) {
  if (!StoreIfChanged(FAutoCenter, V)) return;
  if (V) Center();
  Changed();
}

void TRotLab::SetAlignment(TAlignment V) {
  if (V > taCenter) return;
  if (StoreIfChanged(FRotAlignment, V)) Changed();
}

void TRotLab::SetAntiAlias(bool V) {
  if (StoreIfChanged(FAntiAlias, V)) Changed();
}

void TRotLab::SetTransparent(bool V) {
  if (V == GetTransparent()) return;
  TCustomLabel::SetTransparent(V);
  Changed();
}

void TRotLab::SetColor(TColor V) {
  if (V == FColor) return;
  FColor = V;
  TControl::SetColor(V);
  Changed();
}

void TRotLab::SetFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(V))) Changed();
}

void TRotLab::SetParent(TWinControl* AParent) {
  TCustomLabel::SetParent(AParent);
  if (AParent && FAutoCenter) Center();
}

void TRotLab::SizeChanged(int OldWidth, int OldHeight) {
  TCustomLabel::SizeChanged(OldWidth, OldHeight);
  if (FAutoCenter && GetParent()) Center();
}

void TRotLab::DoDrawText(TRect&, unsigned Flags) {
  if (Flags & ldfCalcRect) return;
  TCanvas& C = *GetCanvas();
  const std::string Text = OneLine(GetCaption());
  C.SetFont(GetFont());
  C.GetFont().SetQuality(FAntiAlias ? fqAntialiased : fqNonAntialiased);
  const int W2 = C.TextWidth(Text) / 2, H2 = C.TextHeight(Text) / 2;
  // Reduced first: the angle may be any int, and tenths of it would overflow.
  const int Deg = ((FTextAngle % 360) + 360) % 360;
  C.GetFont().SetOrientation(Deg * 10);
  C.GetBrush().SetStyle(bsClear);
  double S, Co;
  SinCosDegrees(Deg, S, Co);
  int X = FPosX, Y = FPosY;
  switch (FRotAlignment) {
    case taLeftJustify:
      X += Round(-H2 * S);
      Y += Round(-H2 * Co);
      break;
    case taRightJustify:
      X += Round(-2.0 * W2 * Co - H2 * S);
      Y += Round(2.0 * W2 * S - H2 * Co);
      break;
    default:
      X += Round(-W2 * Co - H2 * S);
      Y += Round(W2 * S - H2 * Co);
      break;
  }
  if (IsEnabledInTree())
    C.TextOut(X, Y, Text);
  else
    DrawEmbossedText(C, X, Y, Text);
}

void TRotLab::Paint() {
  if (!IsPaintable()) return;
  TCustomLabel::Paint();
  TCanvas& C = *GetCanvas();
  DrawFrame(C, FFrameStyle, 0, 0, GetWidth() - 1, GetHeight() - 1, clWhite, clSilver, clGray,
            clBlack, clBlack);
}

}  // namespace kvl
