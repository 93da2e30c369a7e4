#include "kvl/platform/buttons.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

namespace {

// Where glyph and caption go inside R: their top-left corners.
struct TPlacement {
  TPoint Glyph;
  TPoint Text;
};

TPlacement PlaceGlyphAndText(const TRect& R, TSize G, TSize T, TButtonLayout Layout, int Margin,
                             int Spacing) {
  const bool Across = Layout == blGlyphLeft || Layout == blGlyphRight;
  const int Avail = Across ? R.Width() : R.Height();
  const int Cross = Across ? R.Height() : R.Width();
  const int GLen = Across ? G.cx : G.cy, TLen = Across ? T.cx : T.cy;
  const bool Both = GLen > 0 && TLen > 0;
  if (Margin < 0) {
    if (Spacing < 0) {
      const int Free = Avail - GLen - TLen;
      Margin = Both ? Free / 3 : Free / 2;
      Spacing = Both ? Margin : 0;
    } else {
      if (!Both) Spacing = 0;
      Margin = (Avail - GLen - Spacing - TLen) / 2;
    }
  } else if (Spacing < 0 || !Both) {
    Spacing = Both ? (Avail - Margin - GLen - TLen) / 2 : 0;
  }
  // Positions along the axis, counted from the glyph's edge; the far layouts mirror them.
  int GlyphPos = Margin, TextPos = Margin + GLen + Spacing;
  if (Layout == blGlyphRight || Layout == blGlyphBottom) {
    GlyphPos = Avail - Margin - GLen;
    TextPos = GlyphPos - Spacing - TLen;
  }
  const int GCross = (Cross - (Across ? G.cy : G.cx)) / 2;
  const int TCross = (Cross - (Across ? T.cy : T.cx)) / 2;
  if (Across) return {{R.Left + GlyphPos, R.Top + GCross}, {R.Left + TextPos, R.Top + TCross}};
  return {{R.Left + GCross, R.Top + GlyphPos}, {R.Left + TCross, R.Top + TextPos}};
}

int Luminance(std::uint32_t Pixel) {
  const int Red = (Pixel >> 16) & 0xFF, Green = (Pixel >> 8) & 0xFF, Blue = Pixel & 0xFF;
  return (Red * 299 + Green * 587 + Blue * 114) / 1000;
}

// A one-pixel bevel: raised (light top-left) or sunken.
void ThinBevel(TCanvas& C, const TRect& R, bool Sunken) {
  if (R.Width() < 2 || R.Height() < 2) return;
  const TColor Light = Sunken ? clBtnShadow : clBtnHighlight;
  const TColor Dark = Sunken ? clBtnHighlight : clBtnShadow;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  DrawEdge(C, Light, Dark, R.Left, R.Top, R.Right - 1, R.Bottom - 1);
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 23, 22);
  // A quick second press is a press of its own (toolbar buttons are clicked in bursts).
  FDoubleClicks = false;
}

void TSpeedButton::SetGlyph(const TBitmap& Value) {
  FGlyph = Value;
  const int W = FGlyph.GetWidth(), H = FGlyph.GetHeight();
  if (H > 0 && W % H == 0 && W / H >= 1 && W / H <= 4) FNumGlyphs = W / H;
  RebuildCells();
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value) {
  if (Value < 1 || Value > 4 || Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  RebuildCells();
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (FDown) AnnounceToGroup();
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  if (FGroupIndex == 0 && FDown) {
    FDown = false;
    Invalidate();
  }
  AnnounceToGroup();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  AnnounceToGroup();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout || Value > blGlyphBottom) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = std::max(Value, -1);
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (Value == FMargin) return;
  FMargin = std::max(Value, -1);
  Invalidate();
}

// Tells the buttons of the group that this one went down (they come up) and what AllowAllUp
// the group has now.
void TSpeedButton::AnnounceToGroup() {
  if (FGroupIndex == 0 || !FParent) return;
  TButtonPressedMessage M;
  M.GroupIndex = FGroupIndex;
  M.Button = this;
  FParent->Broadcast(M);
}

void TSpeedButton::HandleMessage(TControlMessage& M) {
  auto* Pressed = dynamic_cast<TButtonPressedMessage*>(&M);
  if (!Pressed || Pressed->GroupIndex != FGroupIndex || FGroupIndex == 0) return;
  auto* Sender = dynamic_cast<TSpeedButton*>(Pressed->Button);
  if (!Sender || Sender == this) return;
  FAllowAllUp = Sender->FAllowAllUp;
  if (Sender->FDown && FDown) {
    FDown = false;
    Invalidate();
  }
}

void TSpeedButton::Click() {
  if (!IsEnabledInTree()) return;
  // The loop clicks before it hands over the release, so a press on the button is still held
  // here; a program's Click() finds none and leaves Down alone.
  if (FHeld && FGroupIndex != 0) {
    if (!FDown)
      SetDown(true);
    else if (FAllowAllUp)
      SetDown(false);
  }
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // Held before the handler runs: a handler that opens a modal form ends the hold again.
  if (Button == mbLeft && IsEnabledInTree()) {
    FHeld = true;
    FPointerInside = false;
    SetPointerInside(GetClientRect().Contains({X, Y}));
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FHeld) SetPointerInside(GetClientRect().Contains({X, Y}));
}

// The release never clicks here: the loop clicks on a left release inside after a press
// (before this call), so a release a program makes up, at whatever position, clicks nothing.
// A release the loop did not deliver arrives while this button still holds the mouse capture:
// a descendant ends its own work that way when the pointer leaves (the repeating button stops
// repeating). The hold then goes on: coming back shows the button pressed again, and the real
// release inside clicks as after any drag out and back in.
void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FHeld || Application->GetCapture() == this) return;
  FHeld = false;
  FPointerInside = false;
  Invalidate();
}

void TSpeedButton::MouseEnter() {
  TGraphicControl::MouseEnter();
  FMouseInControl = true;
  if (FHeld) SetPointerInside(true);
  if (FFlat) Invalidate();
}

void TSpeedButton::MouseLeave() {
  TGraphicControl::MouseLeave();
  FMouseInControl = false;
  SetPointerInside(false);
  if (FFlat) Invalidate();
}

void TSpeedButton::MouseCaptureLost() {
  TGraphicControl::MouseCaptureLost();
  FHeld = false;
  SetPointerInside(false);
}

void TSpeedButton::EnabledChanged() {
  // A button disabled while held lets go of the press, so its release cannot click.
  if (!IsEnabledInTree()) {
    FHeld = false;
    FPointerInside = false;
  }
  TGraphicControl::EnabledChanged();
}

void TSpeedButton::SetPointerInside(bool Value) {
  if (Value == FPointerInside) return;
  FPointerInside = Value;
  Invalidate();
}

void TSpeedButton::RebuildCells() {
  FCells.clear();
  FGreyed = TBitmap();
  const int W = FGlyph.GetWidth() / FNumGlyphs, H = FGlyph.GetHeight();
  if (W <= 0 || H <= 0) return;
  const TColor Key = FGlyph.GetTransparentColor();
  for (int I = 0; I < FNumGlyphs; ++I) {
    TBitmap Cell(W, H);
    for (int Y = 0; Y < H; ++Y) std::copy_n(FGlyph.ScanLine(Y) + I * W, W, Cell.ScanLine(Y));
    Cell.SetTransparent(true);
    Cell.SetTransparentColor(Key);
    FCells.push_back(std::move(Cell));
  }
  // The grey copy: the up cell's darker pixels as an etched shape, a highlight one pixel down
  // and right under a shadow. Pixels lighter than the face vanish into it, as on paper.
  const std::uint32_t KeyPixel = ColorToPixel(ColorToRGB(Key));
  const std::uint32_t Back = ColorToPixel(clFuchsia);
  const std::uint32_t Light = ColorToPixel(ColorToRGB(clBtnHighlight));
  const std::uint32_t Dark = ColorToPixel(ColorToRGB(clBtnShadow));
  const int Threshold = Luminance(ColorToPixel(ColorToRGB(clBtnFace)));
  const TBitmap& Up = FCells[gcUp];
  FGreyed.SetSize(W + 1, H + 1);
  std::fill_n(FGreyed.Pixels(), (W + 1) * (H + 1), Back);
  const auto Ink = [&](int X, int Y) {
    const std::uint32_t P = Up.ScanLine(Y)[X] & 0x00FFFFFF;
    return P != KeyPixel && Luminance(P) < Threshold;
  };
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (Ink(X, Y)) FGreyed.ScanLine(Y + 1)[X + 1] = Light;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (Ink(X, Y)) FGreyed.ScanLine(Y)[X] = Dark;
  FGreyed.SetTransparent(true);
  FGreyed.SetTransparentColor(clFuchsia);
}

const TBitmap* TSpeedButton::CellFor(TGlyphCell Cell) const {
  if (FCells.empty()) return nullptr;
  if (static_cast<std::size_t>(Cell) < FCells.size()) return &FCells[Cell];
  if (Cell == gcDisabled) return &FGreyed;
  // Without a latched cell the pressed one serves, as the button looks pressed in.
  if (Cell == gcLatched && FCells.size() > gcPressed) return &FCells[gcPressed];
  return &FCells[gcUp];
}

void TSpeedButton::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect R = GetClientRect();
  PaintFace(C, R);
  PaintContents(C, R, IsPressed() || FDown ? 1 : 0);
}

void TSpeedButton::PaintFace(TCanvas& C, const TRect& R) {
  const bool Sunken = IsPressed() || FDown;
  if (!FFlat)
    DrawButtonFace(C, R, Sunken);
  else if (Sunken || (FMouseInControl && IsEnabledInTree()))
    ThinBevel(C, R, Sunken);
  // Latched down and not held: a checker of highlight tells it from a button being pressed.
  if (FDown && !IsPressed()) {
    const int Inset = FFlat ? 1 : 2;
    const TColor Light = ColorToRGB(clBtnHighlight);
    for (int Y = R.Top + Inset; Y < R.Bottom - Inset; ++Y)
      for (int X = R.Left + Inset + (Y + R.Left + Inset) % 2; X < R.Right - Inset; X += 2)
        C.SetPixel(X, Y, Light);
  }
}

void TSpeedButton::PaintContents(TCanvas& C, const TRect& R, int Shift) {
  const bool Enabled = IsEnabledInTree();
  const TBitmap* Glyph = CellFor(!Enabled      ? gcDisabled
                                 : IsPressed() ? gcPressed
                                 : FDown       ? gcLatched
                                               : gcUp);
  const TSize G =
      FCells.empty() ? TSize{0, 0} : TSize{FCells[gcUp].GetWidth(), FCells[gcUp].GetHeight()};
  C.SetFont(GetFont());
  const std::string& Caption = GetCaption();
  const TSize T = Caption.empty() ? TSize{0, 0} : C.TextExtent(Caption);
  const TPlacement P = PlaceGlyphAndText(R, G, T, FLayout, FMargin, FSpacing);
  if (Glyph) C.Draw(P.Glyph.X + Shift, P.Glyph.Y + Shift, *Glyph);
  if (Caption.empty()) return;
  C.GetBrush().SetStyle(bsClear);
  const int X = P.Text.X + Shift, Y = P.Text.Y + Shift;
  if (Enabled)
    C.TextOut(X, Y, Caption);
  else
    DrawEmbossedText(C, X, Y, Caption);
}

}  // namespace kvl
