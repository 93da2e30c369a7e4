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
