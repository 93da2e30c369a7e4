// The small pictures every control draws with: where each pixel of the check mark, the radio
// dot and the drop-down arrow lands.
#include "kvl/platform/relief.h"

#include <gtest/gtest.h>

#include <string>

#include "kvl/platform/bitmap.h"

namespace kvl {
namespace {

// The picture inside a border of Inset pixels as rows of '#' (Ink) and '.' (anything else).
std::string Rows(const TBitmap& B, TColor Ink, int Inset) {
  std::string S;
  for (int Y = Inset; Y < B.GetHeight() - Inset; ++Y) {
    for (int X = Inset; X < B.GetWidth() - Inset; ++X)
      S += PixelToColor(B.ScanLine(Y)[X]) == ColorToRGB(Ink) ? '#' : '.';
    S += '\n';
  }
  return S;
}

TEST(Relief, MarksLandOnTheirPixels) {
  const struct {
    const char* Name;
    int W, H;
    void (*Draw)(TCanvas&);
    TColor Ink;
    const char* Expected;  // buttons without their 2-pixel edges
  } Cases[] = {
      {"check mark", 7, 7, [](TCanvas& C) { DrawCheckMark(C, 0, 0, clRed); }, clRed,
       "......#\n.....##\n#...###\n##.###.\n#####..\n.###...\n..#....\n"},
      {"radio dot", 4, 4, [](TCanvas& C) { DrawRadioDot(C, 0, 0, clRed); }, clRed,
       ".##.\n####\n####\n.##.\n"},
      {"arrow up", 11, 8, [](TCanvas& C) { DrawDropDownButton(C, Rect(0, 0, 11, 8), false, true); },
       clBtnText, "#######\n.#####.\n..###..\n...#...\n"},
      {"arrow pressed", 11, 8,
       [](TCanvas& C) { DrawDropDownButton(C, Rect(0, 0, 11, 8), true, true); }, clBtnText,
       ".......\n.######\n..#####\n...###.\n"},
      {"arrow disabled", 11, 8,
       [](TCanvas& C) { DrawDropDownButton(C, Rect(0, 0, 11, 8), false, false); }, clBtnShadow,
       "#######\n.#####.\n..###..\n...#...\n"},
  };
  for (const auto& Case : Cases) {
    TBitmap B(Case.W, Case.H);
    B.GetCanvas()->GetBrush().SetColor(clWhite);
    B.GetCanvas()->FillRect(Rect(0, 0, Case.W, Case.H));
    Case.Draw(*B.GetCanvas());
    EXPECT_EQ(Rows(B, Case.Ink, Case.W > 7 ? 2 : 0), Case.Expected) << Case.Name;
  }
}

}  // namespace
}  // namespace kvl
