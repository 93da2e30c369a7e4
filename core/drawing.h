// Drawing helpers of the core library: frames, outlines and marker symbols.
#pragma once

#include "kvl/core/kvlbase.h"
#include "kvl/platform/canvas.h"

namespace kvl {

// Draws the frame Style on the border of the rectangle (Right and Bottom inclusive, usually
// Width - 1 and Height - 1); nothing inside the border is painted, and the canvas's pen and brush
// are left as they were. Colours: Light, Face, Shadow, Dark, Line - the classic call passes
// clWhite, clSilver, clGray, clBlack, clBlack. fsSimple is one line in Line; the 3D looks are an
// outline and two half lines inside at the top-left and outside at the bottom-right:
//   fsLowered  outline Shadow, top-left Dark,   bottom-right Light
//   fsRaised   outline Shadow, top-left Light,  bottom-right Dark
//   fsEmbossed outline Light,  top-left Shadow, bottom-right Shadow
//   fsEngraved outline Shadow, top-left Light,  bottom-right Light
// Face is not drawn by these looks. Unknown style values draw nothing.
void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor Light, TColor Face, TColor Shadow, TColor Dark, TColor Line);

// The outline through the four corners (Right and Bottom inclusive) with the current pen.
void DrawRectangle(TCanvas& Canvas, int Left, int Top, int Right, int Bottom);

// Number of marker symbols DrawMarkOnCanvas knows.
inline constexpr int NumMarkers = 52;

// Draws marker symbol Mark (0 .. 51) centred at (X, Y), at most 9 x 9 pixels, with the current
// pen and brush; the canvas's pen and brush are left as they were. 0 is a dot; 1 .. 7 are
// crosses and bars; from 8 on come eleven shapes (circle, square, diamond, four triangles,
// star, pentagon, hexagon, thick cross), each hollow, solid in the pen colour, outlined and filled
// with the brush, and small and solid. Other numbers draw nothing.
void DrawMarkOnCanvas(TCanvas& Canvas, int Mark, int X, int Y);

}  // namespace kvl
