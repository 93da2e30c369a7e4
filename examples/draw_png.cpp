// Draws a framed panel with a value and a marker into a PNG file.
//   draw_png out.png
#include <iostream>

#include "kvl/core/drawing.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

int main(int argc, char** argv) {
  const std::string File = argc > 1 ? argv[1] : "panel.png";
  kvl::TBitmap Panel(220, 60);
  kvl::TCanvas& C = *Panel.GetCanvas();
  C.GetBrush().SetColor(kvl::clBtnFace);
  C.FillRect(kvl::Rect(0, 0, 220, 60));
  kvl::DrawFrame(C, kvl::fsLowered, 0, 0, 219, 59, kvl::clWhite, kvl::clSilver, kvl::clGray,
                 kvl::clBlack, kvl::clBlack);
  C.GetFont().SetSize(16);
  C.GetFont().SetColor(kvl::clNavy);
  C.TextOut(40, 16, "1013.25 hPa");
  C.GetPen().SetColor(kvl::clRed);
  C.GetBrush().SetColor(kvl::clYellow);
  kvl::DrawMarkOnCanvas(C, 30, 20, 30);
  try {
    Panel.SaveToPngFile(File);
  } catch (const kvl::Exception& E) {
    std::cerr << E.Message() << '\n';
    return 1;
  }
  std::cout << "wrote " << File << '\n';
}
