// Text measuring and drawing with the font's face already resolved, each beside FreeType's own
// advance sum of the same characters; and a 100 000-character line drawn into a small bitmap
// beside a 40-character one, which should cost about the same.
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <stdexcept>
#include <string>
#include <string_view>

#include "baseline_ratio.h"
#include "kvl/core/stringl.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/text.h"

namespace {

const std::string Word = "Pressure";                                  // 8 characters
const std::string Line = "Pressure 1013.25 hPa, flow 12.5 l/min OK";  // 40 characters

// The default font's file at the same em size, opened straight through FreeType.
class TBareFace {
public:
  TBareFace() {
    const kvl::TFont Font;
    const kvl::TFontFile File = kvl::ResolveFont(Font.GetName(), false, false);
    if (FT_Init_FreeType(&FLibrary) != 0 ||
        FT_New_Face(FLibrary, File.Path.c_str(), File.Index, &FFace) != 0)
      throw std::runtime_error("cannot open " + File.Path);
    FT_Select_Charmap(FFace, FT_ENCODING_UNICODE);
    FT_Set_Pixel_Sizes(FFace, 0, FT_UInt(Font.PixelSize()));
  }
  ~TBareFace() {
    FT_Done_Face(FFace);
    FT_Done_FreeType(FLibrary);
  }
  TBareFace(const TBareFace&) = delete;
  TBareFace& operator=(const TBareFace&) = delete;

  // The light-hinted advances (as the text engine loads glyphs), decoded from UTF-8.
  long AdvanceSum(std::string_view Text) const {
    FT_Fixed Sum = 0;
    for (std::size_t P = 0; P < Text.size();) {
      int Len = 1;
      const char32_t C = kvl::Utf8Decode(Text, P, &Len);
      P += std::size_t(Len);
      FT_Fixed A = 0;
      FT_Get_Advance(FFace, FT_Get_Char_Index(FFace, C), FT_LOAD_TARGET_LIGHT, &A);
      Sum += (A + 0x8000) >> 16;
    }
    return long(Sum);
  }

private:
  FT_Library FLibrary = nullptr;
  FT_Face FFace = nullptr;
};

void BareAdvance(benchmark::State& State, const std::string& Text) {
  const TBareFace Face;
  for (auto _ : State) benchmark::DoNotOptimize(Face.AdvanceSum(Text));
}
void BM_FreeTypeAdvance8(benchmark::State& State) { BareAdvance(State, Word); }
void BM_FreeTypeAdvance40(benchmark::State& State) { BareAdvance(State, Line); }
BENCHMARK(BM_FreeTypeAdvance8);
BENCHMARK(BM_FreeTypeAdvance40);

void BM_TextWidth8(benchmark::State& State) {
  kvl::TBitmap B(10, 10);
  kvl::TCanvas& C = *B.GetCanvas();
  C.TextWidth(Word);  // resolves the face and fills the glyph cache
  for (auto _ : State) benchmark::DoNotOptimize(C.TextWidth(Word));
}
BENCHMARK(BM_TextWidth8);

// TextOut of Text at the default size into an 800 x 60 bitmap, the glyphs cached.
void TextOutInto800(benchmark::State& State, const std::string& Text) {
  kvl::TBitmap B(800, 60);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetStyle(kvl::bsClear);
  C.TextOut(0, 0, Text);
  for (auto _ : State) {
    C.TextOut(2, 10, Text);
    benchmark::ClobberMemory();
  }
}
void BM_TextOut40(benchmark::State& State) { TextOutInto800(State, Line); }
BENCHMARK(BM_TextOut40);

void BM_TextOut100k(benchmark::State& State) {
  std::string Long;
  while (Long.size() < 100000) Long += Line;
  Long.resize(100000);
  TextOutInto800(State, Long);
}
BENCHMARK(BM_TextOut100k);

}  // namespace

int main(int argc, char** argv) {
  // TextWidth may take at most twice FreeType's own sum; the long line costs what shows.
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_TextWidth8", "BM_FreeTypeAdvance8", 0.5},
                                    {"BM_TextOut40", "BM_FreeTypeAdvance40", 0},
                                    {"BM_TextOut100k", "BM_TextOut40", 0}});
}
