#include "kvl/platform/graphics.h"

#include <array>
#include <cstdint>

namespace kvl {

namespace {

// A light desktop palette, indexed by system colour number.
constexpr std::array<TColor, 31> SystemPalette = {
    RGBColor(200, 200, 200),  // scroll bar
    RGBColor(0, 99, 177),     // desktop
    RGBColor(153, 180, 209),  // active caption
    RGBColor(191, 205, 219),  // inactive caption
    RGBColor(240, 240, 240),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(100, 100, 100),  // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(0, 0, 0),        // caption text
    RGBColor(180, 180, 180),  // active border
    RGBColor(244, 247, 252),  // inactive border
    RGBColor(171, 171, 171),  // application workspace
    RGBColor(0, 120, 215),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(240, 240, 240),  // button face
    RGBColor(160, 160, 160),  // button shadow
    RGBColor(109, 109, 109),  // grey text
    RGBColor(0, 0, 0),        // button text
    RGBColor(0, 0, 0),        // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(105, 105, 105),  // 3D dark shadow
    RGBColor(227, 227, 227),  // 3D light
    RGBColor(0, 0, 0),        // info text
    RGBColor(255, 255, 225),  // info background
    RGBColor(0, 0, 0),        // (unused index 25)
    RGBColor(0, 102, 204),    // hot light
    RGBColor(185, 209, 234),  // gradient active caption
    RGBColor(215, 228, 242),  // gradient inactive caption
    RGBColor(51, 153, 255),   // menu highlight
    RGBColor(240, 240, 240),  // menu bar
};

}  // namespace

namespace {

struct TColorName {
  TColor Color;
  const char* Name;
};

constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

std::string ColorToString(TColor C) {
  for (const TColorName& N : ColorNames)
    if (N.Color == C) return N.Name;
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string S = "0x";
  for (int Shift = 28; Shift >= 0; Shift -= 4) S += Hex[(C >> Shift) & 0xFu];
  return S;
}

TColor ColorToRGB(TColor C) {
  if (IsSystemColor(C)) {
    const unsigned Index = C & 0xFFu;
    return Index < SystemPalette.size() ? SystemPalette[Index] : clBlack;
  }
  return C & 0x00FFFFFFu;
}

}  // namespace kvl

namespace kvl {

int MulDiv(int A, int B, int C) {
  if (C == 0) return -1;
  const long long N = static_cast<long long>(A) * B;
  long long Q = N / C;
  const long long R = N % C;
  // Halves and more round away from zero.
  if (2 * (R < 0 ? -R : R) >= (C < 0 ? -static_cast<long long>(C) : C)) Q += ((N < 0) != (C < 0)) ? -1 : 1;
  if (Q > INT32_MAX || Q < INT32_MIN) return -1;
  return static_cast<int>(Q);
}

void TFont::CopyAttributes(const TFont& F) {
  FName = F.FName;
  FHeight = F.FHeight;
  FColor = F.FColor;
  FStyle = F.FStyle;
  FOrientation = F.FOrientation;
  FQuality = F.FQuality;
  FFace = F.FFace;
}

bool TFont::SameAttributes(const TFont& F) const {
  return FName == F.FName && FHeight == F.FHeight && FColor == F.FColor && FStyle == F.FStyle &&
         FOrientation == F.FOrientation && FQuality == F.FQuality;
}

void TFont::Assign(const TFont& F) {
  if (this == &F) return;
  CopyAttributes(F);
  Changed();
}

void TFont::SetName(const std::string& N) {
  if (N == FName) return;
  FName = N;
  FaceChanged();
}

int TFont::GetSize() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Points) { SetHeight(-MulDiv(Points, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int H) {
  if (H == FHeight) return;
  FHeight = H;
  FaceChanged();
}

void TFont::SetColor(TColor C) {
  if (C == FColor) return;
  FColor = C;
  Changed();
}

void TFont::SetStyle(TFontStyles S) {
  if (S == FStyle) return;
  FStyle = S;
  FaceChanged();
}

void TFont::SetOrientation(int Tenths) {
  if (Tenths == FOrientation) return;
  FOrientation = Tenths;
  FaceChanged();
}

void TFont::SetQuality(TFontQuality Q) {
  if (Q == FQuality) return;
  FQuality = Q;
  FaceChanged();
}

int TFont::PixelSize() const {
  const int H = FHeight < 0 ? -FHeight : FHeight;
  return std::max(H, 1);
}

int TFont::AddChangeListener(TChangeListener L) {
  const int Id = FNextListener++;
  FListeners.emplace_back(Id, std::move(L));
  return Id;
}

void TFont::RemoveChangeListener(int Id) {
  std::erase_if(FListeners, [Id](const auto& E) { return E.first == Id; });
}

void TFont::FaceChanged() {
  FFace = nullptr;
  Changed();
}

void TFont::Changed() {
  // A listener may remove itself or add others while it runs; work on a copy.
  const auto Listeners = FListeners;
  for (const auto& [Id, L] : Listeners)
    if (L) L(*this);
}

}  // namespace kvl
