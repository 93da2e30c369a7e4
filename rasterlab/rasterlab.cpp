// TRasterLab: properties, the dot fonts, the text layout and scrolling.
#include "kvl/rasterlab/rasterlab.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string_view>

#include "kvl/core/kvlcolors.h"
#include "kvl/core/stringl.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/text.h"
#include "kvl/rasterlab/dotfont.h"

namespace kvl {

namespace {

// The font codes of a UTF-8 text: Latin-1 code points as they are, the rest as the space.
std::vector<std::uint8_t> FontCodes(const std::string& Text) {
  std::vector<std::uint8_t> Codes;
  Codes.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size();) {
    int Len = 1;
    const unsigned char B = static_cast<unsigned char>(Text[I]);
    char32_t Cp = B;
    if (B >= 0x80) {
      Len = Utf8CharLen(Text, I);
      Cp = Len > 1 ? Utf8Decode(Text, I) : U' ';
    }
    Codes.push_back(Cp >= 32 && Cp <= 255 ? std::uint8_t(Cp) : std::uint8_t(' '));
    I += std::size_t(Len);
  }
  return Codes;
}

// The advance of one character: its dot columns and one pitch of gap. A glyph without dot
// columns (first beyond last) advances one pitch.
std::int64_t Advance(const TRDCharMatrix& M, std::uint8_t Code, bool Proportional, int Pitch) {
  if (!Proportional) return (std::int64_t(M.FontWidth) + 1) * Pitch;
  const int L = M.LeftMostBit[Code], R = M.RightMostBit[Code];
  return L > R ? Pitch : std::int64_t(R - L + 2) * Pitch;
}

bool NamesBuiltIn(const std::string& Name) {
  static constexpr std::string_view Default = "default";
  if (Name.size() != Default.size()) return false;
  for (std::size_t I = 0; I < Name.size(); ++I)
    if (std::tolower(static_cast<unsigned char>(Name[I])) != Default[I]) return false;
  return true;
}

TRDCharMatrix BuiltInMatrix() {
  TRDCharMatrix M;
  M.FontWidth = DotFontWidth;
  M.FontHeight = DotFontRows;
  const TDotFontTable& T = BuiltInDotFont();
  for (int I = 0; I < DotFontCount; ++I) {
    const auto Code = std::size_t(DotFontFirst + I);
    const TDotFontRecord& Rec = T[std::size_t(I)];
    M.LeftMostBit[Code] = Rec[0];
    M.RightMostBit[Code] = Rec[1];
    for (int R = 0; R < DotFontRows; ++R) M.BitData[Code][std::size_t(R)] = Rec[std::size_t(2 + R)];
  }
  return M;
}

TRDCharMatrix ScannedMatrix(const TFont& Font) {
  TRDCharMatrix M;
  TBitmap Scratch(65, 65);
  TCanvas& C = *Scratch.GetCanvas();
  C.SetFont(Font);
  // Exactly the glyph's pixels are not white: no shades at the edges.
  C.GetFont().SetQuality(fqNonAntialiased);
  C.GetFont().SetColor(clBlack);
  const std::uint32_t White = ColorToPixel(clWhite);
  for (int Code = 32; Code <= 255; ++Code) {
    auto& Rows = M.BitData[std::size_t(Code)];
    int Left = 31, Right = 0;
    // A code point without a glyph of its own would show the face's missing-glyph box.
    if (HasGlyph(Font, char32_t(Code))) {
      C.GetBrush().SetColor(clWhite);
      C.GetPen().SetColor(clWhite);
      C.Rectangle(0, 0, 100, 100);
      C.TextOut(0, 0, Utf8Encode(char32_t(Code)));
      for (int R = 0; R < 32; ++R) {
        const std::uint32_t* Line = Scratch.ScanLine(R);
        for (int J = 0; J < 32; ++J)
          if ((Line[J] & 0xFFFFFF) != (White & 0xFFFFFF)) {
            Rows[std::size_t(R)] |= 1u << J;
            Left = std::min(Left, J);
            Right = std::max(Right, J);
            M.FontHeight = std::max(M.FontHeight, R + 1);
          }
      }
    }
    M.LeftMostBit[std::size_t(Code)] = std::uint8_t(Left);
    M.RightMostBit[std::size_t(Code)] = std::uint8_t(Right);
    M.FontWidth = std::max(M.FontWidth, Right - Left + 1);
  }
  M.LeftMostBit[32] = 0;
  M.RightMostBit[32] = std::uint8_t(M.FontWidth / 2);
  return M;
}

}  // namespace

TRasterLab::TRasterLab(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 400, 68);
  TFont& F = GetFont();
  F.SetName("default");
  F.SetSize(8);
  FCMat = CreateBitFont(&F);
  Relayout();
}

TRDCharMatrix TRasterLab::CreateBitFont(const TFont* Font) {
  if (!Font || NamesBuiltIn(Font->GetName())) return BuiltInMatrix();
  return ScannedMatrix(*Font);
}

void TRasterLab::SetCharMatrix(const TRDCharMatrix& M) {
  FCMat = M;
  FCMat.FontWidth = std::clamp(M.FontWidth, 0, 32);
  FCMat.FontHeight = std::clamp(M.FontHeight, 0, 32);
  for (auto& B : FCMat.LeftMostBit) B = std::min<std::uint8_t>(B, 31);
  for (auto& B : FCMat.RightMostBit) B = std::min<std::uint8_t>(B, 31);
  Relayout();
  Paint();
}

int TRasterLab::CalcTextBitLength(const std::string& Text) const {
  std::int64_t Sum = 0;
  for (const std::uint8_t Code : FontCodes(Text)) {
    Sum += Advance(FCMat, Code, FProportional, Pitch());
    if (Sum >= INT_MAX) return INT_MAX;
  }
  return int(Sum);
}

void TRasterLab::Relayout() {
  FCodes = FontCodes(FLabText);
  FCharX.resize(FCodes.size() + 1);
  std::int64_t X = 0;
  for (std::size_t I = 0; I < FCodes.size(); ++I) {
    FCharX[I] = X;
    X += Advance(FCMat, FCodes[I], FProportional, Pitch());
  }
  FCharX[FCodes.size()] = X;
  FTextBitLength = int(std::min<std::int64_t>(X + 1, INT_MAX));
  FStripValid = false;
}

int TRasterLab::FrameAllowance() const {
  switch (FFrameStyle) {
    case fsSimple:
    case fsLowered:
    case fsRaised:
      return 1;
    case fsEmbossed:
    case fsEngraved:
      return 2;
    default:
      return 0;
  }
}

void TRasterLab::AdjustAutoHeight() { SetHeight(FrameAllowance() + Pitch() * FCMat.FontHeight); }

void TRasterLab::AdjustAutoCenter() {
  FXPos = (GetWidth() - CalcTextBitLength(FLabText)) / 2 + FrameAllowance() + 1;
  FStripValid = false;
}

void TRasterLab::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TRasterLab*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TRasterLab::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TRasterLab*>(Source);
  if (!S) {
    TGraphicControl::Assign(Source);
    return;
  }
  FFrameStyle = S->FFrameStyle;
  FLabText = S->FLabText;
  FColorLabBakG = S->FColorLabBakG;
  FColorDotOn = S->FColorDotOn;
  FColorDotOff = S->FColorDotOff;
  FColBlackLine = S->FColBlackLine;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorScheme = S->FColorScheme;
  Relayout();
  Paint();
}

void TRasterLab::FontChanged() {
  FCMat = CreateBitFont(&GetFont());
  Changed();
}

void TRasterLab::Changed() {
  Relayout();
  if (FAutoHeight) AdjustAutoHeight();
  if (FAutoCenter) AdjustAutoCenter();
  Paint();
}

void TRasterLab::SizeChanged(int OldWidth, int OldHeight) {
  TGraphicControl::SizeChanged(OldWidth, OldHeight);
  FStripValid = false;
  if (FAutoCenter) AdjustAutoCenter();
}

void TRasterLab::SetText(const std::string& V) {
  if (V == FLabText) return;
  FLabText = V;
  Relayout();
  if (FAutoCenter) AdjustAutoCenter();
  Paint();
}

void TRasterLab::SetDotSize(int V) {
  if (StoreIfChanged(FDotSize, std::clamp(V, 1, 32))) Changed();
}

void TRasterLab::SetDotSpacing(int V) {
  if (StoreIfChanged(FDotSpacing, std::clamp(V, 0, 3))) Changed();
}

void TRasterLab::SetPosX(int V) {
  if (!StoreIfChanged(FXPos, V)) return;
  FStripValid = false;
  Paint();
}

void TRasterLab::SetPosY(int V) {
  if (!StoreIfChanged(FYPos, V)) return;
  FStripValid = false;
  Paint();
}

void TRasterLab::SetProportional(bool V) {
  if (!StoreIfChanged(FProportional, V)) return;
  Relayout();
  if (FAutoCenter) AdjustAutoCenter();
  Paint();
}

void TRasterLab::SetCharBlockMode(TRDBlockMode V) {
  if (V > rdbmRaster || !StoreIfChanged(FCharBlockMode, V)) return;
  FStripValid = false;
  Paint();
}

void TRasterLab::SetAutoHeight(bool V) {
  if (!StoreIfChanged(FAutoHeight, V)) return;
  if (V) AdjustAutoHeight();
  Paint();
}

void TRasterLab::SetAutoCenter(bool V) {
  if (!StoreIfChanged(FAutoCenter, V)) return;
  if (V)
    AdjustAutoCenter();
  else
    FXPos = 1;
  FStripValid = false;
  Paint();
}

#define KVL_RASTERLAB_LOOK_SETTER(Name, Type, Field) \
  void TRasterLab::Set##Name(Type V) {               \
    if (!StoreIfChanged(Field, V)) return;           \
    FStripValid = false;                             \
    Paint();                                         \
  }
KVL_RASTERLAB_LOOK_SETTER(ColorDotOn, TColor, FColorDotOn)
KVL_RASTERLAB_LOOK_SETTER(ColorDotOff, TColor, FColorDotOff)
KVL_RASTERLAB_LOOK_SETTER(ColorLabBakG, TColor, FColorLabBakG)
#undef KVL_RASTERLAB_LOOK_SETTER

void TRasterLab::SetFrameStyle(TFrameStyle V) {
  if (!StoreIfChanged(FFrameStyle, FrameStyleFromByte(V))) return;
  FStripValid = false;
  Paint();
}

void TRasterLab::SetColorScheme(TColorScheme V) {
  if (V > csSystem || V == FColorScheme) return;
  FColorScheme = V;
  const TSchemeColors S = ColorSchemeColors(V);
  FColGrayLine = S.Shadow;
  FColWhiteLine = S.Light;
  Paint();
}

void TRasterLab::RestartTimer() {
  FTimer.Restart<EKVLRasterLabError>(
      FScrollIv, FScrTimerEnabled && FScrollMode != rdsmOff && !IsDesigning());
}

void TRasterLab::SetScrollMode(TRDScrollMode V) {
  if (V > rdsmUp || !StoreIfChanged(FScrollMode, V)) return;
  if (IsDesigning()) return;
  FScrTimerEnabled = V != rdsmOff;
  if (V == rdsmOff) {
    FScrollPosX = FScrollPosY = 0;
    FTimer.Kill();
    Paint();
    return;
  }
  RestartTimer();
}

void TRasterLab::SetScrollInterval(int V) {
  if (StoreIfChanged(FScrollIv, std::max(V, 10))) RestartTimer();
}

void TRasterLab::SetScrollIncrement(int V) {
  // The magnitude of INT_MIN does not exist in an int: it becomes the largest step there is.
  const int Step = V == 0 ? 1 : V == INT_MIN ? INT_MAX : V < 0 ? -V : V;
  if (StoreIfChanged(FScrollInc, Step)) RestartTimer();
}

void TRasterLab::SetScrollLoop(bool V) {
  FScrollLoop = V;
  Paint();
}

void TRasterLab::SetOnScrollTimer(TNotifyEvent E) {
  FOnScrollTimer = std::move(E);
  RestartTimer();
}

void TRasterLab::DoScrLoopRestart() {
  if (OnScrollLoopRestart) OnScrollLoopRestart(this);
}

void TRasterLab::DoTimer() {
  if (FScrollMode == rdsmOff) {
    FScrTimerEnabled = false;
    FTimer.Kill();
    FScrollPosX = FScrollPosY = 0;
    Paint();
    return;
  }
  // Steps are taken in 64 bits and the offsets kept in int range; a text that has left for
  // good stops moving, since its picture no longer changes.
  const auto Keep = [](std::int64_t V) { return int(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); };
  const std::int64_t Inc = FScrollInc;
  const TRDScrollMode Mode = FScrollMode;
  const bool Horizontal = Mode == rdsmLeft || Mode == rdsmRight;
  const bool Forward = Mode == rdsmRight || Mode == rdsmDown;
  int& Offset = Horizontal ? FScrollPosX : FScrollPosY;
  const std::int64_t Extent = Horizontal ? GetWidth() : GetHeight();
  const auto TextLength = [&]() -> std::int64_t {
    return Horizontal ? FTextBitLength : std::int64_t(Pitch()) * FCMat.FontHeight;
  };
  const std::int64_t Pos = Horizontal ? FXPos : FYPos;
  const std::int64_t Next = Forward ? Offset + Inc : Offset - Inc;
  if (FScrollLoop) {
    if (Forward ? Next > Extent : Next < -TextLength()) {
      DoScrLoopRestart();
      // The handler may have stopped the scroll or set the next message.
      if (FScrollMode != Mode) return;
      Offset = Keep(Forward ? -TextLength() : Extent);
    } else {
      Offset = Keep(Next);
    }
  } else {
    const bool Gone = Forward ? Pos + Offset >= Extent : Pos + Offset + TextLength() <= 0;
    if (!Gone) Offset = Keep(Next);
  }
  PaintScrolled();
  if (FOnScrollTimer) FOnScrollTimer(this);
}

}  // namespace kvl
