#include "kvl/core/drawing.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "kvl/platform/bitmap.h"

namespace kvl {
namespace {

constexpr TColor Light = clWhite, Face = clSilver, Shadow = clGray, Dark = clBlack, LineC = clRed;

// Renders a frame on a 6 x 5 yellow bitmap and returns the rows as colour letters.
std::vector<std::string> Frame(TFrameStyle Style) {
  TBitmap B(6, 5);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clYellow);
  C.FillRect(Rect(0, 0, 6, 5));
  DrawFrame(C, Style, 0, 0, 5, 4, Light, Face, Shadow, Dark, LineC);
  std::vector<std::string> Rows;
  for (int Y = 0; Y < 5; ++Y) {
    std::string Row;
    for (int X = 0; X < 6; ++X) {
      const TColor P = C.GetPixel(X, Y);
      Row += P == Light ? 'L' : P == Shadow ? 'S' : P == Dark ? 'D' : P == LineC ? 'R' : P == clYellow ? '.' : '?';
    }
    Rows.push_back(Row);
  }
  return Rows;
}

TEST(DrawFrame, ThreeDLooksPixelByPixel) {
  EXPECT_EQ(Frame(fsLowered), (std::vector<std::string>{"SSSSS.",  //
                                                        "SDDDSL",  //
                                                        "SD..SL",  //
                                                        "SSSSSL",  //
                                                        ".LLLLL"}));
  EXPECT_EQ(Frame(fsRaised), (std::vector<std::string>{"SSSSS.",  //
                                                       "SLLLSD",  //
                                                       "SL..SD",  //
                                                       "SSSSSD",  //
                                                       ".DDDDD"}));
  EXPECT_EQ(Frame(fsEmbossed), (std::vector<std::string>{"LLLLL.",  //
                                                         "LSSSLS",  //
                                                         "LS..LS",  //
                                                         "LLLLLS",  //
                                                         ".SSSSS"}));
  EXPECT_EQ(Frame(fsEngraved), (std::vector<std::string>{"SSSSS.",  //
                                                         "SLLLSL",  //
                                                         "SL..SL",  //
                                                         "SSSSSL",  //
                                                         ".LLLLL"}));
}

TEST(DrawFrame, SimpleIsOneLineAndNoneOrUnknownDrawNothing) {
  EXPECT_EQ(Frame(fsSimple), (std::vector<std::string>{"RRRRRR",  //
                                                       "R....R",  //
                                                       "R....R",  //
                                                       "R....R",  //
                                                       "RRRRRR"}));
  const std::vector<std::string> Blank(5, "......");
  EXPECT_EQ(Frame(fsNone), Blank);
  EXPECT_EQ(Frame(static_cast<TFrameStyle>(9)), Blank);
}

TEST(DrawFrame, LeavesPenAndBrushAsTheyWere) {
  TBitmap B(10, 10);
  TCanvas& C = *B.GetCanvas();
  C.GetPen().SetColor(clLime);
  C.GetPen().SetMode(pmXor);
  C.GetBrush().SetStyle(bsClear);
  DrawFrame(C, fsRaised, 0, 0, 9, 9, Light, Face, Shadow, Dark, LineC);
  EXPECT_EQ(C.GetPen().GetColor(), clLime);
  EXPECT_EQ(C.GetPen().GetMode(), pmXor);
  EXPECT_EQ(C.GetBrush().GetStyle(), bsClear);
}

TEST(DrawRectangle, OutlinesTheInclusiveCorners) {
  TBitmap B(5, 5);
  TCanvas& C = *B.GetCanvas();
  DrawRectangle(C, 1, 1, 3, 3);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 5; ++X) {
      const bool OnOutline = X >= 1 && X <= 3 && Y >= 1 && Y <= 3 && (X == 1 || X == 3 || Y == 1 || Y == 3);
      EXPECT_EQ(C.GetPixel(X, Y), OnOutline ? clBlack : clWhite) << X << "," << Y;
    }
}

// Pixels of one marker drawn at the centre of an 11 x 11 white bitmap.
std::vector<std::uint32_t> Marker(int Mark) {
  TBitmap B(11, 11);
  TCanvas& C = *B.GetCanvas();
  C.GetPen().SetColor(clNavy);
  C.GetBrush().SetColor(clYellow);
  DrawMarkOnCanvas(C, Mark, 5, 5);
  EXPECT_EQ(C.GetPen().GetColor(), clNavy);
  EXPECT_EQ(C.GetBrush().GetColor(), clYellow);
  EXPECT_EQ(C.GetBrush().GetStyle(), bsSolid);
  return {B.Pixels(), B.Pixels() + 121};
}

TEST(DrawMarkOnCanvas, FiftyTwoDistinctSymbolsWithinNineByNine) {
  std::set<std::vector<std::uint32_t>> Seen;
  for (int M = 0; M < NumMarkers; ++M) {
    const auto P = Marker(M);
    int Ink = 0;
    for (int Y = 0; Y < 11; ++Y)
      for (int X = 0; X < 11; ++X)
        if (P[Y * 11 + X] != 0x00FFFFFF) {
          ++Ink;
          EXPECT_TRUE(X >= 1 && X <= 9 && Y >= 1 && Y <= 9) << "mark " << M << " at " << X << "," << Y;
        }
    EXPECT_GT(Ink, 0) << "mark " << M;
    EXPECT_TRUE(Seen.insert(P).second) << "mark " << M << " repeats an earlier one";
  }
}

TEST(DrawMarkOnCanvas, FillVariantsUsePenAndBrushColours) {
  const std::uint32_t Navy = ColorToPixel(clNavy), Yellow = ColorToPixel(clYellow);
  const auto Hollow = Marker(9), Solid = Marker(9 + 11), Filled = Marker(9 + 22);
  EXPECT_EQ(Hollow[5 * 11 + 5], 0x00FFFFFFu);  // square 4 wide: centre untouched
  EXPECT_EQ(Solid[5 * 11 + 5], Navy);
  EXPECT_EQ(Filled[5 * 11 + 5], Yellow);
  EXPECT_EQ(Filled[1 * 11 + 1], Navy);  // outline corner in the pen colour
}

TEST(DrawMarkOnCanvas, NumbersOutsideTheTableDrawNothing) {
  const auto Blank = std::vector<std::uint32_t>(121, 0x00FFFFFF);
  EXPECT_EQ(Marker(-1), Blank);
  EXPECT_EQ(Marker(NumMarkers), Blank);
}

}  // namespace
}  // namespace kvl
