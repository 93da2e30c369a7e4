#include "kvl/platform/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <tuple>
#include <unordered_map>

#include "kvl/core/stringl.h"
#include "kvl/platform/bitmap.h"

namespace kvl {

namespace {

constexpr std::size_t MaxCachedGlyphs = 20000;

// The one FreeType library and the faces opened from it, for the life of the process.
class TFaceStore {
public:
  TFaceStore() {
    if (FT_Init_FreeType(&FLibrary) != 0) throw Exception("cannot start the FreeType library");
  }
  ~TFaceStore() {
    for (auto& [Key, Face] : FFaces) FT_Done_Face(Face);
    FT_Done_FreeType(FLibrary);
  }
  TFaceStore(const TFaceStore&) = delete;
  TFaceStore& operator=(const TFaceStore&) = delete;

  FT_Face Face(const TFontFile& F) {
    const auto Key = std::make_pair(F.Path, F.Index);
    auto It = FFaces.find(Key);
    if (It != FFaces.end()) return It->second;
    FT_Face Face = nullptr;
    if (FT_New_Face(FLibrary, F.Path.c_str(), F.Index, &Face) != 0)
      throw Exception("cannot open the font file '" + F.Path + "'");
    FT_Select_Charmap(Face, FT_ENCODING_UNICODE);
    FFaces.emplace(Key, Face);
    return Face;
  }

private:
  FT_Library FLibrary = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> FFaces;
};

TFaceStore& Faces() {
  static TFaceStore Store;
  return Store;
}

std::string Lower(std::string S) {
  for (char& C : S)
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
  return S;
}

// Asks fontconfig for the best file for a family; false when it has none.
bool MatchFont(const std::string& Family, bool Bold, bool Italic, TFontFile& Out,
               std::string& MatchedFamily) {
  static const bool Ready = FcInit();
  if (!Ready) return false;
  FcPattern* P = FcPatternCreate();
  FcPatternAddString(P, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
  FcPatternAddInteger(P, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(P, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(P, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, P, FcMatchPattern);
  FcDefaultSubstitute(P);
  FcResult Result = FcResultNoMatch;
  FcPattern* M = FcFontMatch(nullptr, P, &Result);
  FcPatternDestroy(P);
  if (!M) return false;
  FcChar8* File = nullptr;
  FcChar8* Fam = nullptr;
  int Index = 0, Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
  const bool Found = FcPatternGetString(M, FC_FILE, 0, &File) == FcResultMatch && File;
  if (Found) {
    Out.Path = reinterpret_cast<const char*>(File);
    FcPatternGetInteger(M, FC_INDEX, 0, &Index);
    FcPatternGetInteger(M, FC_WEIGHT, 0, &Weight);
    FcPatternGetInteger(M, FC_SLANT, 0, &Slant);
    if (FcPatternGetString(M, FC_FAMILY, 0, &Fam) == FcResultMatch && Fam)
      MatchedFamily = reinterpret_cast<const char*>(Fam);
    Out.Index = Index;
    Out.SynthesizeBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
    Out.SynthesizeItalic = Italic && Slant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(M);
  return Found;
}

}  // namespace

// Everything that decides how a glyph looks.
struct TFaceKey {
  std::string Path;
  int Index;
  int PixelHeight;  // as the font asks: < 0 em pixels, > 0 cell pixels
  bool Bold, Italic, Mono;
  int Angle;  // tenths of a degree, 0 .. 3599
  auto Tie() const { return std::tie(Path, Index, PixelHeight, Bold, Italic, Mono, Angle); }
  bool operator<(const TFaceKey& K) const { return Tie() < K.Tie(); }
};

// A face at one size and style: its metrics and its rendered glyphs. Fonts keep a pointer to
// theirs, so these are never freed before the process ends (only their glyphs are).
struct TFontFace {
  TFaceKey Key;
  FT_Face Face = nullptr;
  int EmPixels = 0;
  TFontMetrics Metrics;
  int Reach = 0;  // no glyph pixel lies farther than this from the glyph's origin
  std::unordered_map<char32_t, TGlyph> Glyphs;
  // Advances of the first code points, -1 until known; kept when the glyphs are dropped.
  std::array<int, 256> LowAdvances;
};

TFontFace*& CachedFace(const TFont& F) { return F.FFace; }

namespace {

std::map<std::pair<std::string, int>, TFontFile>& ResolvedNames(bool Bold, bool Italic) {
  static std::map<std::pair<std::string, int>, TFontFile> Cache[2][2];
  return Cache[Bold][Italic];
}

std::map<TFaceKey, TFontFace>& SizedFaces() {
  static std::map<TFaceKey, TFontFace> Map;
  return Map;
}

std::size_t& CachedGlyphCount() {
  static std::size_t Count = 0;
  return Count;
}

TFaceKey KeyOf(const TFont& Font) {
  const TFontFile F = ResolveFont(Font.GetName(), Font.GetStyle() & fsBold, Font.GetStyle() & fsItalic);
  int Angle = Font.GetOrientation() % 3600;
  if (Angle < 0) Angle += 3600;
  const int H = std::clamp(Font.GetHeight(), -2000, 2000);
  return {F.Path, F.Index, H == 0 ? -1 : H, F.SynthesizeBold, F.SynthesizeItalic,
          Font.GetQuality() == fqNonAntialiased, Angle};
}

void SetSize(const TFontFace& S) { FT_Set_Pixel_Sizes(S.Face, 0, FT_UInt(S.EmPixels)); }

TFontFace& Sized(const TFaceKey& Key) {
  auto& Map = SizedFaces();
  auto It = Map.find(Key);
  if (It != Map.end()) return It->second;
  TFontFace S;
  S.Key = Key;
  S.LowAdvances.fill(-1);
  S.Face = Faces().Face({Key.Path, Key.Index, false, false});
  const FT_Face F = S.Face;
  // A positive height is the whole cell: scale the em so ascender + descender fill it.
  if (Key.PixelHeight < 0) {
    S.EmPixels = -Key.PixelHeight;
  } else {
    const double Cell = double(F->ascender - F->descender);
    S.EmPixels = std::max(1, int(std::lround(Key.PixelHeight * F->units_per_EM / (Cell > 0 ? Cell : F->units_per_EM))));
  }
  SetSize(S);
  const FT_Size_Metrics& M = F->size->metrics;
  TFontMetrics& FM = S.Metrics;
  FM.Ascent = int((M.ascender + 63) >> 6);
  FM.Descent = int((-M.descender + 63) >> 6);
  if (Key.PixelHeight > 0) {
    // The cell was asked for: keep it exact and share it in the face's proportion.
    const double Cell = double(F->ascender - F->descender);
    FM.Ascent = int(std::lround(Key.PixelHeight * (Cell > 0 ? F->ascender / Cell : 0.8)));
    FM.Descent = Key.PixelHeight - FM.Ascent;
  }
  FM.Height = FM.Ascent + FM.Descent;
  const double Scale = double(S.EmPixels) / F->units_per_EM;
  FM.UnderlinePos = std::max(1, int(std::lround(-F->underline_position * Scale)));
  FM.UnderlineThickness = std::max(1, int(std::lround(F->underline_thickness * Scale)));
  FM.StrikeOutPos = std::max(1, FM.Ascent / 3);
  // The face's box holds every glyph; room for hinting, emboldening and the italic shear, and
  // the corner's distance for any angle.
  const double BX = std::max(std::abs(F->bbox.xMin), std::abs(F->bbox.xMax)) * Scale;
  const double BY = std::max(std::abs(F->bbox.yMin), std::abs(F->bbox.yMax)) * Scale;
  S.Reach = int(std::ceil(std::hypot(BX, BY) * 1.25)) + 2;
  return Map.emplace(Key, std::move(S)).first->second;
}

// Loads, styles and renders one glyph of the sized face.
TGlyph Render(TFontFace& S, char32_t C) {
  const TFaceKey& Key = S.Key;
  SetSize(S);
  const FT_Face F = S.Face;
  const FT_Int32 Flags = Key.Mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_LIGHT;
  TGlyph G;
  // The advance comes from the upright glyph, whatever the angle.
  FT_Set_Transform(F, nullptr, nullptr);
  if (FT_Load_Char(F, FT_ULong(C), Flags | FT_LOAD_NO_BITMAP) != 0 &&
      FT_Load_Glyph(F, 0, Flags | FT_LOAD_NO_BITMAP) != 0)
    return G;
  if (Key.Bold) FT_GlyphSlot_Embolden(F->glyph);
  G.Advance = int((F->glyph->advance.x + 32) >> 6);

  const double A = Key.Angle / 10.0 * std::numbers::pi / 180.0;
  const double Shear = Key.Italic ? 0.2 : 0.0;
  // Rotation after the italic shear, in FreeType's y-up space: counter-clockwise on screen.
  const double Cs = std::cos(A), Sn = std::sin(A);
  FT_Matrix M;
  M.xx = FT_Fixed(std::lround(Cs * 65536));
  M.xy = FT_Fixed(std::lround((Cs * Shear - Sn) * 65536));
  M.yx = FT_Fixed(std::lround(Sn * 65536));
  M.yy = FT_Fixed(std::lround((Sn * Shear + Cs) * 65536));
  const bool Transformed = Key.Angle != 0 || Key.Italic;
  if (Transformed) {
    FT_Set_Transform(F, &M, nullptr);
    if (FT_Load_Char(F, FT_ULong(C), Flags | FT_LOAD_NO_BITMAP) != 0) return G;
    if (Key.Bold) FT_GlyphSlot_Embolden(F->glyph);
    FT_Set_Transform(F, nullptr, nullptr);
  }
  if (FT_Render_Glyph(F->glyph, Key.Mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return G;
  const FT_Bitmap& B = F->glyph->bitmap;
  G.Left = F->glyph->bitmap_left;
  G.Top = F->glyph->bitmap_top;
  G.Width = int(B.width);
  G.Height = int(B.rows);
  G.Coverage.resize(std::size_t(G.Width) * std::size_t(G.Height));
  for (int Y = 0; Y < G.Height; ++Y) {
    const unsigned char* Row = B.buffer + std::ptrdiff_t(Y) * B.pitch;
    for (int X = 0; X < G.Width; ++X) {
      const std::uint8_t V = B.pixel_mode == FT_PIXEL_MODE_MONO ? ((Row[X >> 3] >> (7 - (X & 7))) & 1) * 255
                                                               : Row[X];
      G.Coverage[std::size_t(Y) * std::size_t(G.Width) + std::size_t(X)] = V;
    }
  }
  return G;
}

// Blends coverage into the target: d + (c - d) * a / 255, rounded.
void Blend(TBitmap& T, const TRect& Clip, int X0, int Y0, const TGlyph& G, std::uint32_t Color) {
  const TRect Box = Rect(X0, Y0, X0 + G.Width, Y0 + G.Height).Intersect(Clip);
  if (Box.IsEmpty()) return;
  const std::uint32_t CR = (Color >> 16) & 0xFF, CG = (Color >> 8) & 0xFF, CB = Color & 0xFF;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
    std::uint32_t* Row = T.ScanLine(Y);
    const std::uint8_t* Cov = G.Coverage.data() + std::size_t(Y - Y0) * std::size_t(G.Width);
    for (int X = Box.Left; X < Box.Right; ++X) {
      const std::uint32_t A = Cov[X - X0];
      if (A == 0) continue;
      if (A == 255) {
        Row[X] = Color;
        continue;
      }
      const std::uint32_t D = Row[X];
      const auto Mix = [A](std::uint32_t S, std::uint32_t Dst) { return (Dst * (255 - A) + S * A + 127) / 255; };
      Row[X] = (Mix(CR, (D >> 16) & 0xFF) << 16) | (Mix(CG, (D >> 8) & 0xFF) << 8) | Mix(CB, D & 0xFF);
    }
  }
}

}  // namespace

TFontFile ResolveFont(const std::string& Name, bool Bold, bool Italic) {
  auto& Cache = ResolvedNames(Bold, Italic);
  const auto Key = std::make_pair(Lower(Name), 0);
  auto It = Cache.find(Key);
  if (It != Cache.end()) return It->second;
  TFontFile F;
  std::string Family;
  // A name fontconfig does not know gets the sans face rather than whatever it guesses.
  if (!MatchFont(Name, Bold, Italic, F, Family) || Lower(Family) != Lower(Name)) {
    if (!MatchFont("sans-serif", Bold, Italic, F, Family))
      throw Exception("no font found for '" + Name + "': fontconfig knows no sans face");
  }
  Cache.emplace(Key, F);
  return F;
}

namespace {

// The face of a font's attributes, looked up by name only the first time.
TFontFace& FaceOf(const TFont& Font) {
  TFontFace*& Cached = CachedFace(Font);
  if (!Cached) Cached = &Sized(KeyOf(Font));
  return *Cached;
}

const TGlyph& CachedGlyph(TFontFace& S, char32_t C) {
  auto It = S.Glyphs.find(C);
  if (It != S.Glyphs.end()) return It->second;
  if (CachedGlyphCount() >= MaxCachedGlyphs) {
    // Dropping everything keeps the bound simple; the working set refills at once.
    for (auto& [K, Face] : SizedFaces()) Face.Glyphs.clear();
    CachedGlyphCount() = 0;
  }
  ++CachedGlyphCount();
  return S.Glyphs.emplace(C, Render(S, C)).first->second;
}

int GlyphAdvance(TFontFace& S, char32_t C) {
  if (C >= S.LowAdvances.size()) return CachedGlyph(S, C).Advance;
  int& A = S.LowAdvances[C];
  if (A < 0) A = CachedGlyph(S, C).Advance;
  return A;
}

// The next code point of a UTF-8 text, ASCII without a call.
char32_t NextCodePoint(std::string_view Text, std::size_t& P) {
  const auto B = static_cast<unsigned char>(Text[P]);
  if (B < 0x80) {
    ++P;
    return B;
  }
  int Len = 1;
  const char32_t C = Utf8Decode(Text, P, &Len);
  P += std::size_t(Len);
  return C;
}

// The pen positions T along the baseline from (BX, BY) in direction (Cs, -Sn) whose glyph
// origins lie within Reach of the clip; false when there are none.
bool ReachingPens(const TRect& Clip, int Reach, double BX, double BY, double Cs, double Sn,
                  double& TLo, double& THi) {
  TLo = -1e300;
  THi = 1e300;
  const auto Slab = [&](double Start, double Step, double Lo, double Hi) {
    if (std::abs(Step) < 1e-12) return Start >= Lo && Start <= Hi;
    double A = (Lo - Start) / Step, B = (Hi - Start) / Step;
    if (A > B) std::swap(A, B);
    TLo = std::max(TLo, A);
    THi = std::min(THi, B);
    return TLo <= THi;
  };
  return Slab(BX, Cs, Clip.Left - Reach, Clip.Right + Reach) &&
         Slab(BY, -Sn, Clip.Top - Reach, Clip.Bottom + Reach);
}

}  // namespace

TFontMetrics GetFontMetrics(const TFont& Font) { return FaceOf(Font).Metrics; }

const TGlyph& GetGlyph(const TFont& Font, char32_t C) { return CachedGlyph(FaceOf(Font), C); }

bool HasGlyph(const TFont& Font, char32_t CodePoint) {
  return FT_Get_Char_Index(FaceOf(Font).Face, FT_ULong(CodePoint)) != 0;
}

int TextAdvance(const TFont& Font, std::string_view Text) {
  TFontFace& S = FaceOf(Font);
  int W = 0;
  for (std::size_t P = 0; P < Text.size();) W += GlyphAdvance(S, NextCodePoint(Text, P));
  return W;
}

void RenderText(TBitmap& Target, const TRect& Clip, int X, int Y, const TFont& Font,
                std::string_view Text) {
  if (Clip.IsEmpty()) return;
  TFontFace& S = FaceOf(Font);
  const TFontMetrics M = S.Metrics;
  const std::uint32_t Color = ColorToPixel(ColorToRGB(Font.GetColor()));
  const double A = Font.GetOrientation() / 10.0 * std::numbers::pi / 180.0;
  const double Cs = Font.GetOrientation() % 3600 == 0 ? 1.0 : std::cos(A);
  const double Sn = Font.GetOrientation() % 3600 == 0 ? 0.0 : std::sin(A);
  // The baseline starts Ascent "down" from the cell's top-left; down is (sin, cos) on screen.
  const double BX = X + M.Ascent * Sn, BY = Y + M.Ascent * Cs;
  // Glyphs that cannot reach the clip only move the pen; past the far side nothing can.
  double TLo, THi;
  if (!ReachingPens(Clip, S.Reach, BX, BY, Cs, Sn, TLo, THi)) return;
  int Pen = 0;
  for (std::size_t P = 0; P < Text.size() && Pen <= THi;) {
    const char32_t C = NextCodePoint(Text, P);
    if (Pen < TLo) {
      Pen += GlyphAdvance(S, C);
      continue;
    }
    const TGlyph& G = CachedGlyph(S, C);
    const int OX = int(std::lround(BX + Pen * Cs)), OY = int(std::lround(BY - Pen * Sn));
    Blend(Target, Clip, OX + G.Left, OY - G.Top, G, Color);
    Pen += G.Advance;
  }
}

std::size_t GlyphCacheSize() { return CachedGlyphCount(); }

}  // namespace kvl
