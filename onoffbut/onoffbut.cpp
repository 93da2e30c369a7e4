#include "kvl/onoffbut/onoffbut.h"

#include <algorithm>

#include "kvl/core/kvlcolors.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/files.h"

namespace kvl {

namespace {

constexpr std::string_view SheetNames[] = {
    "",           "CHECKBOX",    "RADIOBUT", "SLIDETOPBOT", "SLIDELFTRGT", "COLSLIDETB",
    "COLSLIDELR", "LEDREDGREEN", "ARROWTR",  "ARROWUD",     "ARROWLR",     "TRAFFICLGT",
    "BEVELEDLED", "SMILEYS",     "SMILEYRG", "BULB",        "BUTLAMP",     "HDLEFT",
    "HDRIGHT",    "USER1",       "USER2",    "USER3",       "USER4",       "USER5"};

constexpr int MaxUserSheetSide = 2048;
constexpr std::size_t MaxUserFileBytes = std::size_t(64) << 20;

// The four quadrants of a sheet: top-left on and enabled, top-right off and enabled,
// bottom-left on and disabled, bottom-right off and disabled; indexed OnOff * 2 + Enabled.
std::array<TBitmap, 4> SplitSheet(const TBitmap& Sheet, int& GW, int& GH) {
  GW = Sheet.GetWidth() / 2;
  GH = Sheet.GetHeight() / 2;
  std::array<TBitmap, 4> Out;
  struct TQuad {
    std::size_t Index;
    int X, Y;
  };
  const TQuad Quads[] = {{3, 0, 0}, {1, GW, 0}, {2, 0, GH}, {0, GW, GH}};
  for (const TQuad& Q : Quads) {
    TBitmap& B = Out[Q.Index];
    B.SetSize(GW, GH);
    for (int Y = 0; Y < GH; ++Y)
      std::copy_n(Sheet.ScanLine(Q.Y + Y) + Q.X, GW, B.ScanLine(Y));
  }
  return Out;
}

}  // namespace

std::string_view OnOffGlyphResource(TOnOffButStyle Style) {
  return Style <= oobsUser5 ? SheetNames[Style] : std::string_view();
}

TOnOffBut::TOnOffBut(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 100, 50);
  // Blank white user glyphs; the enabled ones carry a cross (off) and a circle (on).
  for (TBitmap& B : FUserImg) {
    B.SetSize(20, 20);
    B.GetCanvas()->GetBrush().SetColor(clWhite);
    B.GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  }
  TCanvas& Off = *FUserImg[Index(false, true)].GetCanvas();
  Off.MoveTo(0, 0);
  Off.LineTo(20, 20);
  Off.MoveTo(0, 20);
  Off.LineTo(20, 0);
  FUserImg[Index(true, true)].GetCanvas()->Ellipse(5, 5, 15, 15);
  LoadGlyphs();
  OnResize = [this](TObject*) { ProcessResize(); };
}

TOnOffBut::~TOnOffBut() { *FAlive = false; }

void TOnOffBut::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TOnOffBut*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TOnOffBut::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TOnOffBut*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (S == this) return;
  FLeftSpace = S->FLeftSpace;
  FTopSpace = S->FTopSpace;
  FAutoCenter = S->FAutoCenter;
  FLeftText = S->FLeftText;
  FTopText = S->FTopText;
  FRightText = S->FRightText;
  FBottomText = S->FBottomText;
  FLTAlignment = S->FLTAlignment;
  FTTAlignment = S->FTTAlignment;
  FBTAlignment = S->FBTAlignment;
  FRTAlignment = S->FRTAlignment;
  FFrameStyle = S->FFrameStyle;
  FColorBakG = S->FColorBakG;
  FColBlackLine = S->FColBlackLine;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorScheme = S->FColorScheme;
  FOnOff = S->FOnOff;
  FButImg = S->FButImg;  // deep copies
  FUserImg = S->FUserImg;
  FButStyle = S->FButStyle;
  FMouseAction = S->FMouseAction;
  FColorTxt = S->FColorTxt;
  FGlyphWidth = S->FGlyphWidth;
  FGlyphHeight = S->FGlyphHeight;
  FTransParent = S->FTransParent;
  SetEnabled(S->FEnabled);
  Invalidate();
}

// --- state and group ---

void TOnOffBut::SetOnOff(bool Value) {
  if (Value == FOnOff) return;
  if (!Value && FGroupIndex != 0 && !FAllowAllOff) return;
  FOnOff = Value;
  const auto Alive = FAlive;
  RepaintNow();
  if (*Alive && FOnOff) UpdateExclusive();
}

void TOnOffBut::UpdateExclusive() {
  if (FGroupIndex == 0 || !GetParent()) return;
  TButtonPressedMessage M;
  M.GroupIndex = FGroupIndex;
  M.Button = this;
  GetParent()->Broadcast(M);
}

// Speed buttons share the message: only on/off buttons of the same group answer.
void TOnOffBut::HandleMessage(TControlMessage& M) {
  auto* Pressed = dynamic_cast<TButtonPressedMessage*>(&M);
  if (!Pressed || FGroupIndex < 0 || Pressed->GroupIndex != FGroupIndex) return;
  auto* Sender = dynamic_cast<TOnOffBut*>(Pressed->Button);
  if (!Sender || Sender == this) return;
  FAllowAllOff = Sender->FAllowAllOff;
  if (Sender->FOnOff && FOnOff) {
    FOnOff = false;
    RepaintNow();
  }
}

void TOnOffBut::SetGroupIndex(int Value) {
  if (StoreIfChanged(FGroupIndex, Value)) UpdateExclusive();
}

void TOnOffBut::SetAllowAllOff(bool Value) {
  if (StoreIfChanged(FAllowAllOff, Value)) UpdateExclusive();
}

// --- looks ---

void TOnOffBut::RepaintNow() {
  if (FTransParent)
    Repaint();
  else
    Paint();
}

void TOnOffBut::InvalidateOrRepaint() {
  if (FTransParent)
    Invalidate();
  else
    Paint();
}

void TOnOffBut::SetButtonStyle(TOnOffButStyle Value) {
  if (Value > oobsUser5 || Value == FButStyle) return;
  if (Value != oobsUser) {
    // Into temporaries first: a broken picture leaves everything as it was.
    TBitmap Sheet;
    Sheet.LoadFromResourceName(SheetNames[Value]);
    int GW = 0, GH = 0;
    FButImg = SplitSheet(Sheet, GW, GH);
    FGlyphWidth = GW;
    FGlyphHeight = GH;
  } else {
    FButImg = FUserImg;
  }
  FButStyle = Value;
  if (FAutoCenter) AdjustAutoCenter();
  Invalidate();
}

void TOnOffBut::LoadGlyphs() {
  if (FButStyle == oobsUser) {
    FButImg = FUserImg;
    return;
  }
  TBitmap Sheet;
  Sheet.LoadFromResourceName(SheetNames[FButStyle]);
  ExtractGlyphs(Sheet);
}

void TOnOffBut::ExtractGlyphs(const TBitmap& Bitmap) {
  FButImg = SplitSheet(Bitmap, FGlyphWidth, FGlyphHeight);
}

void TOnOffBut::AdjustAutoCenter() {
  FLeftSpace = (GetWidth() - FGlyphWidth) / 2;
  FTopSpace = (GetHeight() - FGlyphHeight) / 2;
}

void TOnOffBut::ProcessResize() {
  if (!GetParent() || !FAutoCenter) return;
  AdjustAutoCenter();
  InvalidateOrRepaint();
}

void TOnOffBut::SetUserGlyph(const TBitmap& Img) {
  const int W = Img.GetWidth(), H = Img.GetHeight();
  if (W < 2 || H < 2 || W > MaxUserSheetSide || H > MaxUserSheetSide)
    throw EInvalidGraphic("user glyph sheet of " + std::to_string(W) + " x " + std::to_string(H) +
                          " pixels: it needs 2 x 2 to " + std::to_string(MaxUserSheetSide) +
                          " x " + std::to_string(MaxUserSheetSide));
  int GW = 0, GH = 0;
  std::array<TBitmap, 4> Glyphs = SplitSheet(Img, GW, GH);
  FUserImg = std::move(Glyphs);
  if (FButStyle != oobsUser) return;
  FButImg = FUserImg;
  FGlyphWidth = GW;
  FGlyphHeight = GH;
  if (FAutoCenter) AdjustAutoCenter();
  Invalidate();
}

void TOnOffBut::LoadUserGlyph(const std::string& FName) {
  TBitmap Sheet;
  try {
    const std::string Bytes = ReadGivenFile(FName, MaxUserFileBytes);
    Sheet.LoadFromMemory(Bytes.data(), Bytes.size(), OnOffGlyphKey);
    // Checked here so that the message names the file.
    SetUserGlyph(Sheet);
  } catch (const EFileReadError& E) {
    throw EInvalidGraphic("user glyph file \"" + FName + "\": " + E.GetReason());
  } catch (const std::exception& E) {
    throw EInvalidGraphic("user glyph file \"" + FName + "\": " + E.what());
  }
}

void TOnOffBut::SetMode(TOOButMode Value) {
  if (Value > oobmSpeedBut) return;
  FMode = Value;
  if (FMode == oobmSpeedBut) FOnOff = false;  // directly: the group cannot refuse it
  Invalidate();
}

void TOnOffBut::SetMouseAction(TOOButMouseAction Value) {
  if (Value <= oomaPlain) FMouseAction = Value;
}

void TOnOffBut::SetAutoCenter(bool Value) {
  if (!StoreIfChanged(FAutoCenter, Value)) return;
  if (FAutoCenter) AdjustAutoCenter();
  InvalidateOrRepaint();
}

void TOnOffBut::SetLeftSpace(int Value) {
  if (Value == FLeftSpace || Value < 0) return;
  if (FAutoCenter)
    AdjustAutoCenter();
  else
    FLeftSpace = std::min(Value, GetWidth());
  Invalidate();
}

void TOnOffBut::SetTopSpace(int Value) {
  if (Value == FTopSpace || Value < 0) return;
  if (FAutoCenter)
    AdjustAutoCenter();
  else
    FTopSpace = std::min(Value, GetHeight());
  Invalidate();
}

void TOnOffBut::SetLeftText(const std::string& Value) {
  if (StoreIfChanged(FLeftText, Value)) Invalidate();
}
void TOnOffBut::SetTopText(const std::string& Value) {
  if (StoreIfChanged(FTopText, Value)) Invalidate();
}
void TOnOffBut::SetRightText(const std::string& Value) {
  if (StoreIfChanged(FRightText, Value)) Invalidate();
}
void TOnOffBut::SetBottomText(const std::string& Value) {
  if (StoreIfChanged(FBottomText, Value)) Invalidate();
}

void TOnOffBut::SetLeftTextAlignment(TAlignment Value) {
  if (Value <= taCenter && StoreIfChanged(FLTAlignment, Value)) Invalidate();
}
void TOnOffBut::SetTopTextAlignment(TAlignment Value) {
  if (Value <= taCenter && StoreIfChanged(FTTAlignment, Value)) Invalidate();
}
void TOnOffBut::SetBottomTextAlignment(TAlignment Value) {
  if (Value <= taCenter && StoreIfChanged(FBTAlignment, Value)) Invalidate();
}
void TOnOffBut::SetRightTextAlignment(TAlignment Value) {
  if (Value <= taCenter && StoreIfChanged(FRTAlignment, Value)) Invalidate();
}

void TOnOffBut::SetColorText(TColor Value) {
  if (StoreIfChanged(FColorTxt, Value)) RepaintNow();
}

void TOnOffBut::SetColorBackgnd(TColor Value) {
  if (StoreIfChanged(FColorBakG, Value)) RepaintNow();
}

void TOnOffBut::SetColorScheme(TColorScheme Value) {
  if (!StoreIfChanged(FColorScheme, Value)) return;
  const TSchemeColors C = ColorSchemeColors(Value);
  FColGrayLine = C.Shadow;
  FColWhiteLine = C.Light;
  Invalidate();
}

void TOnOffBut::SetFrameStyle(TFrameStyle Value) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(Value))) RepaintNow();
}

void TOnOffBut::SetTransparent(bool Value) {
  if (StoreIfChanged(FTransParent, Value)) Invalidate();
}

void TOnOffBut::SetEnabled(bool Value) {
  FEnabled = Value;
  TGraphicControl::SetEnabled(Value);
  Invalidate();
}

// --- mouse ---

// Strict on every side: the glyph's border row and column do not count.
bool TOnOffBut::PassesTest(int X, int Y) const {
  if (FMouseAction == oomaPlain) return GetClientRect().Contains({X, Y});
  if (FMouseAction != oomaFocused) return false;
  const std::int64_t LS = FLeftSpace, TS = FTopSpace;
  return LS < X && X < LS + FGlyphWidth && TS < Y && Y < TS + FGlyphHeight;
}

void TOnOffBut::Toggle() {
  if (FGroupIndex != 0 && !FAllowAllOff && FOnOff) return;
  FOnOff = !FOnOff;
  const auto Alive = FAlive;
  RepaintNow();
  if (*Alive && FOnOff) UpdateExclusive();
}

void TOnOffBut::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto Alive = FAlive;
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !IsEnabledInTree()) return;
  FPressed = true;
  FSpeedPressOn = false;
  if (!PassesTest(X, Y)) return;
  const bool WasOn = FOnOff;
  Toggle();
  FSpeedPressOn = FMode == oobmSpeedBut && FOnOff && !WasOn;
}

// A speed-mode press that turned the button on always ends off, wherever the release lands;
// OnClick still needs a release that passes the test.
void TOnOffBut::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto Alive = FAlive;
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !FPressed) return;
  FPressed = false;
  const bool Passes = PassesTest(X, Y);
  if (FMode == oobmSpeedBut && (Passes || FSpeedPressOn) && FOnOff) {
    FOnOff = false;
    RepaintNow();
    if (!*Alive) return;
  }
  FSpeedPressOn = false;
  if (Passes && OnClick) OnClick(this);
}

void TOnOffBut::MouseCaptureLost() {
  TGraphicControl::MouseCaptureLost();
  FPressed = false;
  if (FSpeedPressOn && FOnOff) {
    FOnOff = false;
    Invalidate();
  }
  FSpeedPressOn = false;
}

}  // namespace kvl
