// The text engine: fonts found by name through fontconfig, glyphs rendered by FreeType once
// per (face, size, style, angle, quality) and kept in a cache, then blended into bitmaps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/platform/graphics.h"

namespace kvl {

class TBitmap;

// Whole-pixel metrics of a font: the text cell is Ascent + Descent high, the baseline
// Ascent below its top.
struct TFontMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;
  int UnderlinePos = 0;        // pixels below the baseline
  int UnderlineThickness = 1;  // pixels
  int StrikeOutPos = 0;        // pixels above the baseline
};

// A rendered glyph: coverage 0..255, Width x Height, its top-left at (Left, -Top) from the
// glyph's origin on the baseline (y down), and the unrotated advance in whole pixels.
struct TGlyph {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Advance = 0;
  std::vector<std::uint8_t> Coverage;
};

// The installed font file a font name resolves to; an unknown name gives the sans face.
struct TFontFile {
  std::string Path;
  int Index = 0;
  bool SynthesizeBold = false;
  bool SynthesizeItalic = false;
};
TFontFile ResolveFont(const std::string& Name, bool Bold, bool Italic);

// The font's face is looked up by name once per font state (see TFont) and kept.
TFontMetrics GetFontMetrics(const TFont& Font);
// The glyph of code point C in Font, rotated by the font's orientation.
const TGlyph& GetGlyph(const TFont& Font, char32_t C);
// Whether the font's face has a glyph of its own for the code point (else it would draw the
// missing-glyph box).
bool HasGlyph(const TFont& Font, char32_t CodePoint);
// Sum of the unrotated glyph advances of a UTF-8 text.
int TextAdvance(const TFont& Font, std::string_view Text);

// Draws Text with the top-left of its (possibly rotated) cell at (X, Y) in bitmap
// coordinates, blending the font colour into the pixels inside Clip. Glyphs that cannot reach
// Clip are not looked at beyond their advance, and none after the last that can: a long text
// costs what shows.
void RenderText(TBitmap& Target, const TRect& Clip, int X, int Y, const TFont& Font,
                std::string_view Text);

// Number of glyphs in the cache (for tests of the cache's bound).
std::size_t GlyphCacheSize();

}  // namespace kvl
