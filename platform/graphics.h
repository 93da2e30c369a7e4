// Colours and the other plain values a canvas reads at draw time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kvl {

// 0x00BBGGRR for RGB colours; 0xFF0000nn names system colour nn, resolved by ColorToRGB.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
  return TColor(R) | (TColor(G) << 8) | (TColor(B) << 16);
}
constexpr std::uint8_t GetRValue(TColor C) { return std::uint8_t(C); }
constexpr std::uint8_t GetGValue(TColor C) { return std::uint8_t(C >> 8); }
constexpr std::uint8_t GetBValue(TColor C) { return std::uint8_t(C >> 16); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

// "No colour" and "the control's default"; neither is a system colour.
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

constexpr bool IsSystemColor(TColor C) { return (C & 0xFF000000u) == clSystemColor; }

// The RGB value a colour draws with: system colours from the desktop palette (unknown
// indexes give black), every other colour by its low 24 bits.
TColor ColorToRGB(TColor C);

// The constant's name for a named colour, system colour, clNone or clDefault ("clRed",
// "clBtnFace"); any other value as "0x" and eight upper-case hex digits ("0x00123456").
std::string ColorToString(TColor C);

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// What a pixel read outside the bitmap returns: matches no real colour.
inline constexpr TColor clInvalidPixel = 0xFFFFFFFF;

// Bitmap pixels are 0x00RRGGBB; colours are 0x00BBGGRR. These swap the two, for RGB colours.
constexpr std::uint32_t ColorToPixel(TColor RGB) {
  return ((RGB & 0xFF) << 16) | (RGB & 0xFF00) | ((RGB >> 16) & 0xFF);
}
constexpr TColor PixelToColor(std::uint32_t Pixel) { return ColorToPixel(Pixel & 0x00FFFFFF); }

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TSize&) const = default;
};

// Right and bottom are exclusive.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
  // Corners in either order become (min, min, max, max).
  TRect Normalized() const {
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
            std::max(Top, Bottom)};
  }
  TRect Intersect(const TRect& R) const {
    return {std::max(Left, R.Left), std::max(Top, R.Top), std::min(Right, R.Right),
            std::min(Bottom, R.Bottom)};
  }
  TRect Offset(int DX, int DY) const { return {Left + DX, Top + DY, Right + DX, Bottom + DY}; }
  TRect Offset(TPoint P) const { return Offset(P.X, P.Y); }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  TRect Union(const TRect& R) const {
    if (R.IsEmpty()) return *this;
    if (IsEmpty()) return R;
    return {std::min(Left, R.Left), std::min(Top, R.Top), std::max(Right, R.Right),
            std::max(Bottom, R.Bottom)};
  }
  bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int L, int T, int R, int B) { return {L, T, R, B}; }
constexpr TPoint Point(int X, int Y) { return {X, Y}; }

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen combines with what is there (P = pen, D = destination).
enum TPenMode : std::uint8_t {
  pmBlack,        // 0
  pmWhite,        // 1
  pmNop,          // D
  pmNot,          // ~D
  pmCopy,         // P
  pmNotCopy,      // ~P
  pmMergePenNot,  // P | ~D
  pmMaskPenNot,   // P & ~D
  pmMergeNotPen,  // ~P | D
  pmMaskNotPen,   // ~P & D
  pmMerge,        // P | D
  pmNotMerge,     // ~(P | D)
  pmMask,         // P & D
  pmNotMask,      // ~(P & D)
  pmXor,          // P ^ D
  pmNotXor        // ~(P ^ D)
};

enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Raster operation of CopyRect, Draw and StretchDraw (S = source, D = destination).
enum TCopyMode : std::uint32_t {
  cmBlackness = 0x00000042,
  cmDstInvert = 0x00550009,    // ~D
  cmMergeCopy = 0x00C000CA,    // S & brush
  cmMergePaint = 0x00BB0226,   // ~S | D
  cmNotSrcCopy = 0x00330008,   // ~S
  cmNotSrcErase = 0x001100A6,  // ~(S | D)
  cmPatCopy = 0x00F00021,      // brush
  cmPatInvert = 0x005A0049,    // brush ^ D
  cmSrcAnd = 0x008800C6,       // S & D
  cmSrcCopy = 0x00CC0020,      // S
  cmSrcErase = 0x00440328,     // S & ~D
  cmSrcInvert = 0x00660046,    // S ^ D
  cmSrcPaint = 0x00EE0086,     // S | D
  cmWhiteness = 0x00FF0062
};

// How a stretching copy samples its source: nearest pixel, or area averaging.
enum TStretchMode : std::uint8_t { smColorOnColor, smHalftone };

enum TFillStyle : std::uint8_t { fsSurface, fsBorder };

// Font styles are bits of TFontStyles.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

enum TFontQuality : std::uint8_t { fqDefault, fqNonAntialiased, fqAntialiased };

// Pens, brushes and fonts are plain values a canvas reads at draw time.
class TPen {
public:
  TColor GetColor() const { return FColor; }
  void SetColor(TColor C) { FColor = C; }
  int GetWidth() const { return FWidth; }
  void SetWidth(int W) { FWidth = std::max(W, 1); }
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle S) { FStyle = S; }
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode M) { FMode = M; }
  bool operator==(const TPen&) const = default;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush {
public:
  TColor GetColor() const { return FColor; }
  // Giving a clear brush a colour makes it solid again, as the classic framework does.
  void SetColor(TColor C) {
    FColor = C;
    FStyle = bsSolid;
  }
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle S) { FStyle = S; }
  bool operator==(const TBrush&) const = default;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// The text engine's face for a font's attributes (platform/text.cpp).
struct TFontFace;

// Screen resolution every point size converts with.
inline constexpr int ScreenPixelsPerInch = 96;

// A font description. Height < 0 is the character (em) height in pixels, Height > 0 the cell
// height; Size is in points at 96 pixels per inch. Orientation is in tenths of a degree,
// counter-clockwise. Listeners hear of every change (several may listen).
class TFont {
public:
  using TChangeListener = std::function<void(const TFont&)>;

  TFont() = default;
  TFont(const TFont& F) { CopyAttributes(F); }
  TFont& operator=(const TFont& F) {
    Assign(F);
    return *this;
  }

  // Copies every attribute and notifies once; listeners stay this font's own.
  void Assign(const TFont& F);

  const std::string& GetName() const { return FName; }
  void SetName(const std::string& N);
  int GetSize() const;
  void SetSize(int Points);
  int GetHeight() const { return FHeight; }
  void SetHeight(int H);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor C);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles S);
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Tenths);
  TFontQuality GetQuality() const { return FQuality; }
  void SetQuality(TFontQuality Q);

  // |Height| (at least 1): an em height when Height < 0, a cell height when Height > 0.
  int PixelSize() const;
  bool SameAttributes(const TFont& F) const;

  int AddChangeListener(TChangeListener L);
  void RemoveChangeListener(int Id);

private:
  friend TFontFace*& CachedFace(const TFont& F);
  void CopyAttributes(const TFont& F);
  // A change of an attribute that decides the face: the cached face is forgotten.
  void FaceChanged();
  void Changed();

  std::string FName = "Tahoma";
  int FHeight = -11;  // 8 points
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  int FOrientation = 0;
  TFontQuality FQuality = fqDefault;
  std::vector<std::pair<int, TChangeListener>> FListeners;
  int FNextListener = 1;
  // Found once by the text engine for these attributes, so that measuring and drawing do not
  // look the font up by name on every call; the faces live as long as the process.
  mutable TFontFace* FFace = nullptr;
};

// a * b / c rounded, halves away from zero, without intermediate overflow; -1 when c is 0.
int MulDiv(int A, int B, int C);

}  // namespace kvl
