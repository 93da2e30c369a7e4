// TSevenSeg: a caption shown as a row of slanted seven-segment digits, like an LED display.
// The 21 displayable characters are rendered once into an image cache at the digit size;
// painting copies cache cells, so a caption change never renders a glyph.
#pragma once

#include <array>
#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

// The displayable characters, in cache order.
inline constexpr int SevenSegCharCount = 21;
extern const std::array<char32_t, SevenSegCharCount> SevenSegCharList;

class TSevenSeg : public TGraphicControl {
public:
  explicit TSevenSeg(TComponent* AOwner);

  void Assign(const TPersistent* Source) override;

  int GetNumDigits() const { return FNumDigits; }
  // 1 ... 32; other values are ignored.
  void SetNumDigits(int N);
  TColor GetColorText() const { return FColorText; }
  void SetColorText(TColor C);
  TColor GetColorBackGnd() const { return FColorBackGnd; }
  void SetColorBackGnd(TColor C);
  int GetMargin() const { return FMargin; }
  // At most Height div 2 - 1.
  void SetMargin(int M);
  int GetInterDigDist() const { return FInterDigDist; }
  // 0 ... 255.
  void SetInterDigDist(int D);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle S);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme S);

  // How often the image cache was built: only size and the setters of digits, margin, gap
  // and colours rebuild it.
  int GetCacheBuildCount() const { return FCacheBuilds; }

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void Resize() override;
  void TextChanged() override { Paint(); }

private:
  void ColorizeSegments(TColor Color);
  void CreateDigit(char32_t C, bool Dot);
  void CreateImageCache();
  void Rebuild();
  // The cell width of one digit (may be 0 or less on a small control).
  int CellWidth() const;

  int FNumDigits = 4;
  TColor FColorText = clRed;
  TColor FColorBackGnd = 0x00333333;
  int FMargin = 8;
  int FInterDigDist = 2;
  TFrameStyle FFrameStyle = fsLowered;
  TColorScheme FColorScheme = csFixed;
  TColor FColShadow = clGray, FColLight = clWhite;

  std::array<TBitmap, 6> FGlyphs;
  TBitmap FGrid;
  TBitmap FCache;
  TBitmap FOffscreen;
  TSize FCacheSize{-1, -1};  // the control size the cache was built for
  int FCacheBuilds = 0;
};

}  // namespace kvl
