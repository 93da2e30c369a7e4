// Draws the table editor's two 16 x 16 check boxes for the "Data Read-Only" menu item:
// CHECKEDBOX (a tick in the box) and EMPTYBOX. The bottom-left pixel holds the colour the
// menu leaves out, so only the box shows.
//
//   kvl_ntabed_glyphs OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace {

using namespace kvl;

constexpr TColor Transparent = 0xFF00FF;  // magenta, never part of the box

TBitmap Box(bool Checked) {
  TBitmap B(16, 16);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(Transparent);
  C.FillRect(Rect(0, 0, 16, 16));
  C.GetBrush().SetColor(clWhite);
  C.GetPen().SetColor(0x808080);
  C.Rectangle(2, 2, 15, 15);
  C.GetPen().SetColor(0x404040);
  C.MoveTo(3, 13);
  C.LineTo(3, 3);
  C.LineTo(14, 3);
  if (Checked) {
    // A tick three pixels wide: down from the left, then up to the right.
    C.GetPen().SetColor(clBlack);
    for (int D = 0; D < 3; ++D) {
      C.MoveTo(5, 7 + D);
      C.LineTo(7, 9 + D);
      C.LineTo(12, 4 + D);
    }
  }
  return B;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string Dir = argv[1];
  Box(true).SaveToPngFile(Dir + "/CHECKEDBOX.png");
  Box(false).SaveToPngFile(Dir + "/EMPTYBOX.png");
  return 0;
}
