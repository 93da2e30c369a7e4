// The classic 3-D relief every control draws with: edge rings, the push-button face, the sunken
// frame of edits and lists, and the embossed text of disabled captions. Each leaves the
// canvas's pen, brush and font colour as it found them unless it says otherwise.
#pragma once

#include <string_view>

#include "kvl/platform/canvas.h"

namespace kvl {

// One ring of a 3-D border on the box (L, T)-(R, B), corners inclusive: the top and left
// lines in TopLeft, the bottom and right lines in BottomRight. Uses the current pen width
// and style, and leaves the pen in BottomRight.
void DrawEdge(TCanvas& C, TColor TopLeft, TColor BottomRight, int L, int T, int R, int B);

// The 3-D face of a push button over R: raised, or sunken while pressed.
void DrawButtonFace(TCanvas& C, const TRect& R, bool Down);

// The sunken 2-pixel frame on R's border: shadow outside top-left, highlight outside
// bottom-right, then the dark shadow and the light face inside. Nothing on a box below 4 x 4.
void DrawSunkenFrame(TCanvas& C, const TRect& R);

// The 7 x 7 check mark of a check box with its top-left corner at (X, Y).
void DrawCheckMark(TCanvas& C, int X, int Y, TColor Color);

// The 12 x 12 round sunken frame of a radio button at (X, Y), its inside filled with Fill.
void DrawRadioFrame(TCanvas& C, int X, int Y, TColor Fill);

// The 4 x 4 dot of a checked radio button with its top-left corner at (X, Y); it sits at
// (X + 4, Y + 4) of DrawRadioFrame's box.
void DrawRadioDot(TCanvas& C, int X, int Y, TColor Color);

// The button at the right of a combo box or picker over R: a push-button face with a
// downward arrow (7 wide, 4 high) in its middle, moved one pixel right and down while pressed
// and embossed while disabled.
void DrawDropDownButton(TCanvas& C, const TRect& R, bool Down, bool Enabled);

// A disabled caption at (X, Y): the text in Light one pixel right and down, then in Dark at
// (X, Y), over a clear brush.
void DrawEmbossedText(TCanvas& C, int X, int Y, std::string_view Text,
                      TColor Light = clBtnHighlight, TColor Dark = clBtnShadow);

}  // namespace kvl
