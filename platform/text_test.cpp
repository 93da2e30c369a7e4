#include "kvl/platform/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace kvl {
namespace {

const char* const Sample = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

TEST(TextMeasure, WidthIsTheSumOfTheGlyphAdvances) {
  TBitmap B(10, 10);
  TCanvas& C = *B.GetCanvas();
  for (int Size : {8, 12, 30}) {
    C.GetFont().SetSize(Size);
    int Sum = 0;
    for (const char* S : {"H", "e", "l", "l", "o", ",", " ", "W", "\xC3\xA4"}) Sum += C.TextWidth(S);
    EXPECT_EQ(C.TextWidth("Hello, W\xC3\xA4"), Sum) << Size;
    EXPECT_GT(Sum, 0);
  }
  EXPECT_EQ(C.TextWidth(""), 0);
}

TEST(TextMeasure, HeightIsTheCellForEveryTextAndGrowsWithTheSize) {
  TBitmap B(10, 10);
  TCanvas& C = *B.GetCanvas();
  const int H8 = C.TextHeight(Sample);
  EXPECT_EQ(C.TextHeight(""), H8);
  EXPECT_EQ(C.TextHeight("x"), H8);
  EXPECT_EQ(C.TextHeight("\xC3\x89g"), H8);
  EXPECT_GE(H8, 11);  // 8 points at 96 dpi is an 11-pixel em; the cell is taller
  EXPECT_LE(H8, 16);
  EXPECT_GT(C.TextWidth(Sample), 0);
  C.GetFont().SetSize(20);
  EXPECT_GT(C.TextHeight("x"), H8);
  EXPECT_EQ(C.TextExtent("ab"), (TSize{C.TextWidth("ab"), C.TextHeight("ab")}));
  // A positive height asks for the whole cell.
  C.GetFont().SetHeight(30);
  EXPECT_EQ(C.TextHeight("x"), 30);
}

// Counts pixels that are not the background colour.
int Ink(const TBitmap& B, std::uint32_t Background, TRect* Box = nullptr) {
  int N = 0;
  TRect R{B.GetWidth(), B.GetHeight(), -1, -1};
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X)
      if (B.ScanLine(Y)[X] != Background) {
        ++N;
        R = {std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1), std::max(R.Bottom, Y + 1)};
      }
  if (Box) *Box = R;
  return N;
}

TEST(TextOut, SolidBrushFillsExactlyTheCellAndInkStaysInside) {
  TBitmap B(120, 40);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clYellow);
  C.GetFont().SetColor(clBlack);
  C.GetFont().SetSize(16);
  C.TextOut(10, 5, "Hg\xC3\x84");
  // The brush covers exactly the cell; a glyph may overhang its advance by a pixel.
  const TRect Cell = Rect(10, 5, 10 + C.TextWidth("Hg\xC3\x84"), 5 + C.TextHeight("x"));
  TRect Box;
  Ink(B, 0x00FFFFFF, &Box);
  EXPECT_EQ(Box.Top, Cell.Top);
  EXPECT_EQ(Box.Bottom, Cell.Bottom);
  EXPECT_EQ(Box.Left, Cell.Left);
  EXPECT_LE(Box.Right, Cell.Right + 1);
  for (int Y = Cell.Top; Y < Cell.Bottom; ++Y) {
    EXPECT_EQ(C.GetPixel(Cell.Left, Y), clYellow);
  }
  EXPECT_EQ(C.GetPixel(10, 5), clYellow);
  bool FullInk = false;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y)
    for (int X = Box.Left; X < Box.Right; ++X) FullInk |= C.GetPixel(X, Y) == clBlack;
  EXPECT_TRUE(FullInk);
  EXPECT_EQ(C.GetPenPos(), Point(10 + C.TextWidth("Hg\xC3\x84"), 5));
}

TEST(TextOut, ClearBrushDrawsOnlyGlyphsInTheFontColour) {
  TBitmap B(60, 30);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(clRed);
  C.GetFont().SetSize(14);
  C.TextOut(2, 2, "IH");
  std::set<std::uint32_t> Colours;
  for (int I = 0; I < 60 * 30; ++I) Colours.insert(B.Pixels()[I]);
  EXPECT_TRUE(Colours.count(ColorToPixel(clRed)));  // stems of I and H are fully covered
  EXPECT_TRUE(Colours.count(0x00FFFFFF));
  // Blends of red over white keep red at 0xFF and green equal to blue.
  for (std::uint32_t P : Colours) {
    EXPECT_EQ((P >> 16) & 0xFF, 0xFFu);
    EXPECT_EQ((P >> 8) & 0xFF, P & 0xFF);
  }
}

TEST(TextOut, NonAntialiasedTextHasTwoColours) {
  TBitmap B(80, 30);
  TCanvas& C = *B.GetCanvas();
  C.GetFont().SetQuality(fqNonAntialiased);
  C.GetFont().SetSize(12);
  C.TextOut(1, 1, "Wavy 8");
  std::set<std::uint32_t> Colours(B.Pixels(), B.Pixels() + 80 * 30);
  EXPECT_EQ(Colours, (std::set<std::uint32_t>{0, 0x00FFFFFF}));
}

TEST(TextOut, BoldIsHeavierAndUnknownNamesStillDraw) {
  TBitmap A(120, 30), Bd(120, 30), U(120, 30);
  A.GetCanvas()->TextOut(1, 1, "Heavy text");
  Bd.GetCanvas()->GetFont().SetStyle(fsBold);
  Bd.GetCanvas()->TextOut(1, 1, "Heavy text");
  EXPECT_GT(Ink(Bd, 0x00FFFFFF), Ink(A, 0x00FFFFFF));
  EXPECT_GE(Bd.GetCanvas()->TextWidth("Heavy text"), A.GetCanvas()->TextWidth("Heavy text"));
  U.GetCanvas()->GetFont().SetName("No Such Face 123");
  U.GetCanvas()->TextOut(1, 1, "Heavy text");
  EXPECT_GT(Ink(U, 0x00FFFFFF), 0);
  EXPECT_EQ(ResolveFont("No Such Face 123", false, false).Path, ResolveFont("Tahoma", false, false).Path);
}

TEST(TextOut, UnderlineAndStrikeOutDrawLines) {
  TBitmap A(80, 30), U(80, 30);
  A.GetCanvas()->TextOut(1, 1, "ooo");
  U.GetCanvas()->GetFont().SetStyle(fsUnderline | fsStrikeOut);
  U.GetCanvas()->TextOut(1, 1, "ooo");
  EXPECT_GT(Ink(U, 0x00FFFFFF), Ink(A, 0x00FFFFFF) + U.GetCanvas()->TextWidth("ooo"));
}

TEST(TextOut, RotatedNinetyDegreesOccupiesTheTransposedBox) {
  TBitmap Flat(200, 60), Turned(60, 200);
  TCanvas& F = *Flat.GetCanvas();
  F.GetFont().SetSize(16);
  F.GetBrush().SetColor(clSilver);
  F.TextOut(10, 10, "Rotate");
  TRect FB;
  Ink(Flat, 0x00FFFFFF, &FB);
  TCanvas& T = *Turned.GetCanvas();
  T.GetFont().SetSize(16);
  T.GetFont().SetOrientation(900);
  T.GetBrush().SetColor(clSilver);
  T.TextOut(10, 190, "Rotate");
  TRect TB;
  Ink(Turned, 0x00FFFFFF, &TB);
  // Upward from (10, 190), the cell to the right: x in [10, 10 + h), y in (190 - w, 190].
  EXPECT_NEAR(TB.Width(), FB.Height(), 2);
  EXPECT_NEAR(TB.Height(), FB.Width(), 2);
  EXPECT_NEAR(TB.Left, 10, 1);
  EXPECT_NEAR(TB.Bottom, 191, 2);
  EXPECT_EQ(T.GetPenPos(), Point(10, 190 - T.TextWidth("Rotate")));
}

TEST(TextOut, UpsideDownAndAnyAngleStayNearTheirCell) {
  TBitmap B(200, 200);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetSize(14);
  C.GetFont().SetOrientation(1800);
  C.TextOut(150, 100, "Down");
  TRect Box;
  Ink(B, 0x00FFFFFF, &Box);
  EXPECT_LE(Box.Right, 152);  // runs leftwards from x = 150
  EXPECT_LE(Box.Bottom, 102); // and the cell lies above y = 100
  EXPECT_GE(Box.Left, 150 - C.TextWidth("Down") - 2);
  for (int Angle : {-450, 3333, 7200 + 123}) {
    TBitmap R(200, 200);
    R.GetCanvas()->GetFont().SetOrientation(Angle);
    R.GetCanvas()->TextOut(100, 100, "Angle");
    EXPECT_GT(Ink(R, 0x00FFFFFF), 0) << Angle;
  }
}

TEST(TextRect, FillsTheRectangleAndClipsTheText) {
  TBitmap B(100, 30);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clAqua);
  C.TextRect(Rect(10, 5, 30, 25), 12, 6, "Much longer than the box");
  TRect Box;
  Ink(B, 0x00FFFFFF, &Box);
  EXPECT_EQ(Box, Rect(10, 5, 30, 25));
  EXPECT_EQ(C.GetBrush().GetStyle(), bsSolid);
  C.TextRect(Rect(50, 5, 60, 15), 50, 5, "");  // empty text still fills
  EXPECT_EQ(C.GetPixel(55, 10), clAqua);
}

TEST(TextOut, ClipsToTheClipRectangleAndTheBitmapWithOrigin) {
  TBitmap B(50, 30);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clLime);
  C.SetOrigin({5, 5});
  C.SetClipRect(Rect(0, 0, 10, 10));
  C.TextOut(-20, 0, "Clipped text");
  C.SetOrigin({0, 0});
  C.ResetClip();
  TRect Box;
  Ink(B, 0x00FFFFFF, &Box);
  EXPECT_EQ(Box, Rect(5, 5, 15, 15));
  TBitmap Edge(20, 10);
  Edge.GetCanvas()->TextOut(-30, -8, "Off the edge of the bitmap");  // no crash
  Edge.GetCanvas()->TextOut(15, 5, "Off the edge");
}

TEST(TextOut, IsDeterministicAndSurvivesBadInput) {
  TBitmap A(100, 30), B(100, 30);
  A.GetCanvas()->TextOut(2, 2, "Same \xFF\xC3 text\xE2\x82");
  B.GetCanvas()->TextOut(2, 2, "Same \xFF\xC3 text\xE2\x82");
  for (int I = 0; I < 100 * 30; ++I) ASSERT_EQ(A.Pixels()[I], B.Pixels()[I]);
  TBitmap Big(50, 50);
  Big.GetCanvas()->GetFont().SetHeight(-400);
  Big.GetCanvas()->TextOut(0, 0, "W");
  EXPECT_GT(Big.GetCanvas()->TextHeight("W"), 400);
  Big.GetCanvas()->GetFont().SetHeight(0);
  Big.GetCanvas()->TextOut(0, 0, "tiny");
}

TEST(TextFace, FollowsEveryChangeOfTheFont) {
  // A font keeps the face it found; after a change it must draw and measure exactly as a font
  // that never had one.
  const std::function<void(TFont&)> Changes[] = {
      [](TFont& F) { F.SetSize(14); },
      [](TFont& F) { F.SetHeight(20); },
      [](TFont& F) { F.SetName("DejaVu Serif"); },
      [](TFont& F) { F.SetStyle(fsBold | fsItalic); },
      [](TFont& F) { F.SetOrientation(900); },
      [](TFont& F) { F.SetQuality(fqNonAntialiased); },
      [](TFont& F) {
        TFont Other;
        Other.SetSize(16);
        F.Assign(Other);
      },
  };
  int I = 0;
  for (const auto& Change : Changes) {
    TBitmap Used(120, 120), Fresh(120, 120);
    Used.GetCanvas()->TextOut(0, 0, "Wavy");
    for (TBitmap* B : {&Used, &Fresh}) {
      Change(B->GetCanvas()->GetFont());
      B->GetCanvas()->FillRect(Rect(0, 0, 120, 120));
      B->GetCanvas()->TextOut(30, 80, "Wavy 8g");
    }
    EXPECT_EQ(Used.GetCanvas()->TextWidth("Wavy 8g"), Fresh.GetCanvas()->TextWidth("Wavy 8g")) << I;
    EXPECT_TRUE(std::equal(Used.Pixels(), Used.Pixels() + 120 * 120, Fresh.Pixels())) << I;
    ++I;
  }
}

TEST(TextFace, HasGlyphAsksTheResolvedFace) {
  struct {
    const char* Name;
    TFontStyles Style;
    char32_t C;
    bool Has;
  } const Cases[] = {
      {"DejaVu Sans", 0, U'A', true},          {"DejaVu Sans", 0, 0xC4, true},
      {"DejaVu Sans", 0, 0x2665, true},        {"DejaVu Sans", 0, 0xE000, false},  // private use
      {"DejaVu Sans", 0, 0x4E2D, false},       {"DejaVu Sans", 0, 0x0627, true},   // Arabic alef
      {"DejaVu Serif", 0, 0x0627, false},      {"DejaVu Serif", 0, 0x1D400, false},
      {"DejaVu Serif", fsBold, 0x1D400, true},  // only the bold face has the maths letters
  };
  for (const auto& T : Cases) {
    TFont F;
    F.SetName(T.Name);
    F.SetStyle(T.Style);
    EXPECT_EQ(HasGlyph(F, T.C), T.Has) << T.Name << " " << std::hex << unsigned(T.C);
  }
}

// Draws Text at (X, Y) clipped to Clip, with a clear brush, on white.
TBitmap Clipped(const TRect& Clip, int X, int Y, const std::string& Text, int Orientation) {
  TBitmap B(500, 300);
  TCanvas& C = *B.GetCanvas();
  C.GetFont().SetSize(11);
  C.GetFont().SetOrientation(Orientation);
  C.GetBrush().SetStyle(bsClear);
  C.SetClipRect(Clip);
  C.TextOut(X, Y, Text);
  return B;
}

TEST(TextOut, GlyphsOutsideTheClipAreSkippedWithoutMovingTheRest) {
  std::string Long;
  for (int I = 0; Long.size() < 100000; ++I) Long += "Gauge " + std::to_string(I) + " \xC3\x84q; ";
  const std::string Head = Long.substr(0, 400);
  const TRect Whole = Rect(0, 0, 500, 300), Small = Rect(200, 10, 260, 300);
  struct {
    int X, Y, Orientation;
  } const Cases[] = {{5, 20, 0},       {-2000, 20, 0},  {5, 290, 450},
                     {-400, 380, 300}, {480, 60, 1800}, {250, 290, 900}};
  for (const auto& T : Cases) {
    // The whole line against its head, then a small clip against the same region unclipped.
    const TBitmap A = Clipped(Whole, T.X, T.Y, Long, T.Orientation);
    const TBitmap B = Clipped(Whole, T.X, T.Y, Head, T.Orientation);
    EXPECT_TRUE(std::equal(A.Pixels(), A.Pixels() + 500 * 300, B.Pixels()))
        << T.X << " " << T.Orientation;
    const TBitmap S = Clipped(Small, T.X, T.Y, Head, T.Orientation);
    int Differ = 0, InkInside = 0;
    for (int Y = 0; Y < 300; ++Y)
      for (int X = 0; X < 500; ++X) {
        const std::uint32_t Want = Small.Contains({X, Y}) ? B.ScanLine(Y)[X] : 0x00FFFFFF;
        Differ += S.ScanLine(Y)[X] != Want;
        InkInside += Small.Contains({X, Y}) && Want != 0x00FFFFFF;
      }
    EXPECT_EQ(Differ, 0) << T.X << " " << T.Orientation;
    EXPECT_GT(InkInside, 0) << T.X << " " << T.Orientation;
  }
}

TEST(GlyphCache, StaysBoundedWhateverIsDrawn) {
  TFont F;
  F.SetSize(6);
  for (char32_t C = 0x20; C < 0x20 + 20500; ++C) GetGlyph(F, C);
  EXPECT_LE(GlyphCacheSize(), 20000u);
  EXPECT_GT(GlyphCacheSize(), 0u);
  // Glyphs dropped from the cache come back the same.
  TBitmap A(40, 20), B(40, 20);
  A.GetCanvas()->TextOut(1, 1, "Aa1");
  for (char32_t C = 0x4E00; C < 0x4E00 + 20500; ++C) GetGlyph(F, C);
  B.GetCanvas()->TextOut(1, 1, "Aa1");
  for (int I = 0; I < 40 * 20; ++I) ASSERT_EQ(A.Pixels()[I], B.Pixels()[I]);
}

}  // namespace
}  // namespace kvl
