#include "kvl/platform/relief.h"

#include "kvl/core/pen_brush_keeper.h"

namespace kvl {

void DrawEdge(TCanvas& C, TColor TopLeft, TColor BottomRight, int L, int T, int R, int B) {
  C.GetPen().SetColor(TopLeft);
  C.MoveTo(L, B - 1);
  C.LineTo(L, T);
  C.LineTo(R, T);
  C.GetPen().SetColor(BottomRight);
  C.MoveTo(L, B);
  C.LineTo(R, B);
  C.LineTo(R, T - 1);
}

void DrawButtonFace(TCanvas& C, const TRect& R, bool Down) {
  const TPenBrushKeeper Keep(C);
  C.GetBrush().SetColor(clBtnFace);
  C.FillRect(R);
  if (R.Width() < 2 || R.Height() < 2) return;
  const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  if (Down) {
    DrawEdge(C, clBlack, clBtnHighlight, L, T, Rt, B);
    DrawEdge(C, clBtnShadow, clBtnFace, L + 1, T + 1, Rt - 1, B - 1);
  } else {
    DrawEdge(C, clBtnHighlight, clBlack, L, T, Rt, B);
    DrawEdge(C, clBtnFace, clBtnShadow, L + 1, T + 1, Rt - 1, B - 1);
  }
}

void DrawSunkenFrame(TCanvas& C, const TRect& R) {
  if (R.Width() < 4 || R.Height() < 4) return;
  const TPenBrushKeeper Keep(C);
  const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  DrawEdge(C, clBtnShadow, clBtnHighlight, L, T, Rt, B);
  DrawEdge(C, cl3DDkShadow, cl3DLight, L + 1, T + 1, Rt - 1, B - 1);
}

void DrawCheckMark(TCanvas& C, int X, int Y, TColor Color) {
  // Three pixels thick: down for three columns, then up for four.
  for (int I = 0; I < 7; ++I) {
    const int Top = I <= 2 ? I + 2 : 6 - I;
    for (int J = 0; J < 3; ++J) C.SetPixel(X + I, Y + Top + J, Color);
  }
}

void DrawRadioFrame(TCanvas& C, int X, int Y, TColor Fill) {
  // o: outer ring, i: inner ring, w: inside. Rings are dark above the anti-diagonal.
  static constexpr const char* Shape[12] = {
      "....oooo....", "..ooiiiioo..", ".oiiwwwwiio.", ".oiwwwwwwio.",
      "oiwwwwwwwwio", "oiwwwwwwwwio", "oiwwwwwwwwio", "oiwwwwwwwwio",
      ".oiwwwwwwio.", ".oiiwwwwiio.", "..ooiiiioo..", "....oooo....",
  };
  for (int R = 0; R < 12; ++R) {
    for (int Col = 0; Col < 12; ++Col) {
      const bool Upper = R + Col < 11;
      TColor Color;
      switch (Shape[R][Col]) {
        case 'o':
          Color = Upper ? clBtnShadow : clBtnHighlight;
          break;
        case 'i':
          Color = Upper ? cl3DDkShadow : cl3DLight;
          break;
        case 'w':
          Color = Fill;
          break;
        default:
          continue;
      }
      C.SetPixel(X + Col, Y + R, Color);
    }
  }
}

void DrawRadioDot(TCanvas& C, int X, int Y, TColor Color) {
  for (int R = 0; R < 4; ++R) {
    const int Inset = (R == 0 || R == 3) ? 1 : 0;
    for (int Col = Inset; Col < 4 - Inset; ++Col) C.SetPixel(X + Col, Y + R, Color);
  }
}

namespace {
void DrawDownArrow(TCanvas& C, int X, int Y, TColor Color) {
  for (int R = 0; R < 4; ++R)
    for (int Col = R; Col < 7 - R; ++Col) C.SetPixel(X + Col, Y + R, Color);
}
}  // namespace

void DrawDropDownButton(TCanvas& C, const TRect& R, bool Down, bool Enabled) {
  DrawButtonFace(C, R, Down);
  const int Shift = Down ? 1 : 0;
  const int X = R.Left + (R.Width() - 7) / 2 + Shift, Y = R.Top + (R.Height() - 4) / 2 + Shift;
  if (Enabled) {
    DrawDownArrow(C, X, Y, clBtnText);
  } else {
    DrawDownArrow(C, X + 1, Y + 1, clBtnHighlight);
    DrawDownArrow(C, X, Y, clBtnShadow);
  }
}

void DrawEmbossedText(TCanvas& C, int X, int Y, std::string_view Text, TColor Light, TColor Dark) {
  const TPenBrushKeeper Keep(C);
  const TColor Ink = C.GetFont().GetColor();
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(Light);
  C.TextOut(X + 1, Y + 1, Text);
  C.GetFont().SetColor(Dark);
  C.TextOut(X, Y, Text);
  C.GetFont().SetColor(Ink);
}

}  // namespace kvl
