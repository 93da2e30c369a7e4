// Draws the seven-segment glyph pictures: SEGVERT, SEGHORZ, SEGDOT (black on white) and
// SEGPLUS, SEGCOLON, SEGDEG, at the sizes the display's 312 x 432 design grid expects.
// Segments have pointed ends that stop a few pixels short of their neighbours, so a digit
// shows the small gaps of a real LED display.
//
//   kvl_sevenseg_glyphs OUTPUT-FOLDER
#include <cstdio>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace {

using namespace kvl;

TBitmap Blank(int W, int H) {
  TBitmap B(W, H);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clWhite);
  C.FillRect(Rect(0, 0, W, H));
  C.GetBrush().SetColor(clBlack);
  C.GetPen().SetColor(clBlack);
  return B;
}

// A bar slanted to the right: its centre runs from (51, 0) at the top to (17, 189) at the
// bottom, the slant of the digit; 30 pixels thick, pointed at both ends.
TBitmap Vertical() {
  TBitmap B = Blank(68, 190);
  const auto Centre = [](double Y) { return 51.0 - 34.0 * Y / 189.0; };
  const auto P = [&](double Dx, double Y) { return Point(int(Centre(Y) + Dx + 0.5), int(Y)); };
  const TPoint Hexagon[] = {P(0, 3), P(15, 18), P(15, 171), P(0, 186), P(-15, 171), P(-15, 18)};
  B.GetCanvas()->Polygon(Hexagon);
  return B;
}

TBitmap Horizontal() {
  TBitmap B = Blank(200, 38);
  const TPoint Hexagon[] = {{5, 19}, {20, 4}, {180, 4}, {195, 19}, {180, 34}, {20, 34}};
  B.GetCanvas()->Polygon(Hexagon);
  return B;
}

TBitmap Dot() {
  TBitmap B = Blank(38, 38);
  B.GetCanvas()->Ellipse(4, 4, 35, 35);
  return B;
}

TBitmap Plus() {
  TBitmap B = Blank(200, 190);
  TCanvas& C = *B.GetCanvas();
  C.FillRect(Rect(12, 80, 188, 110));
  C.FillRect(Rect(85, 8, 115, 182));
  return B;
}

TBitmap Colon() {
  TBitmap B = Blank(68, 190);
  TCanvas& C = *B.GetCanvas();
  C.Ellipse(16, 30, 52, 66);
  C.Ellipse(8, 122, 44, 158);  // the lower dot follows the slant of the digits
  return B;
}

TBitmap Degree() {
  TBitmap B = Blank(160, 138);
  TCanvas& C = *B.GetCanvas();
  C.Ellipse(28, 8, 132, 112);
  C.GetBrush().SetColor(clWhite);
  C.GetPen().SetColor(clWhite);
  C.Ellipse(56, 36, 104, 84);
  return B;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: kvl_sevenseg_glyphs OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string Dir = Argv[1];
  const std::vector<std::pair<const char*, TBitmap>> Glyphs = {
      {"SEGVERT", Vertical()}, {"SEGHORZ", Horizontal()}, {"SEGDOT", Dot()},
      {"SEGPLUS", Plus()},     {"SEGCOLON", Colon()},     {"SEGDEG", Degree()}};
  for (const auto& [Name, Bmp] : Glyphs) {
    const std::string File = Dir + "/" + Name + ".png";
    Bmp.SaveToPngFile(File);
    std::printf("wrote %s (%dx%d)\n", File.c_str(), Bmp.GetWidth(), Bmp.GetHeight());
  }
  return 0;
}
