// Draws the on/off button glyph sheets: for each style a 2 x 2 grid of equal glyphs (on and
// off, enabled on top, disabled below), every pixel outside the pictures in the key colour
// 0x00EBBEEB. Silhouettes have hard edges, so that keying leaves no fringe; the disabled
// glyphs repeat the enabled ones in calm greys.
//
//   kvl_onoffbut_glyphs OUTPUT-FOLDER
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace {

using namespace kvl;

constexpr TColor Key = 0x00EBBEEB;
constexpr std::uint32_t KeyPixel = 0xEBBEEB;

// Colours as 0x00BBGGRR.
constexpr TColor Ink = 0x202020, Dark = 0x404040, Mid = 0x808080,
                 Face = 0xB4B4B4, White = 0xFFFFFF, Slot = 0x505050;
constexpr TColor GreenLit = 0x30D040, GreenDim = 0x186020, RedLit = 0x3030E0,
                 Yellow = 0x20D8F8, Amber = 0x1090F0, AmberDim = 0x104060;

// One glyph being drawn: the canvas's origin sits on its quadrant.
struct TPainter {
  TCanvas& C;
  int W, H;
  void Colors(TColor PenColor, TColor BrushColor, int Width = 1) {
    C.GetPen().SetColor(PenColor);
    C.GetPen().SetWidth(Width);
    C.GetBrush().SetColor(BrushColor);
    C.GetBrush().SetStyle(bsSolid);
  }
  void Box(int L, int T, int R, int B, TColor Outline, TColor Fill) {
    Colors(Outline, Fill);
    C.Rectangle(L, T, R, B);
  }
  void Disc(int L, int T, int R, int B, TColor Outline, TColor Fill) {
    Colors(Outline, Fill);
    C.Ellipse(L, T, R, B);
  }
  void Line(int X1, int Y1, int X2, int Y2, TColor Color, int Width = 1) {
    Colors(Color, Color, Width);
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
    C.GetPen().SetWidth(1);
  }
  void Poly(std::vector<TPoint> P, TColor Outline, TColor Fill) {
    Colors(Outline, Fill);
    C.Polygon(P);
  }
  // A raised (or sunken) bevelled block, right/bottom exclusive.
  void Bevel(int L, int T, int R, int B, TColor Fill, bool Raised) {
    Box(L, T, R, B, Ink, Fill);
    const TColor Hi = Raised ? White : Mid, Lo = Raised ? Mid : White;
    Line(L + 1, B - 2, L + 1, T + 1, Hi);
    Line(L + 1, T + 1, R - 1, T + 1, Hi);
    Line(L + 1, B - 2, R - 2, B - 2, Lo);
    Line(R - 2, B - 2, R - 2, T + 1, Lo);
  }
};

using TDraw = std::function<void(TPainter& P, bool On)>;

// Greys a picture for the disabled look: light stays light, dark stays dark, in a narrow
// calm range that avoids the key colour's neighbourhood.
std::uint32_t Grey(std::uint32_t Px) {
  const int R = Px >> 16 & 0xFF, G = Px >> 8 & 0xFF, B = Px & 0xFF;
  const int L = (R * 30 + G * 59 + B * 11) / 100;
  int V = 96 + L * 92 / 255;  // 96 ... 188
  return std::uint32_t(V) * 0x010101u;
}

// No colour may come within 40 of the key in every channel: the key pass must never take it
// for background.
std::uint32_t AwayFromKey(std::uint32_t Px) {
  if (Px == KeyPixel) return Px;
  const int R = Px >> 16 & 0xFF, G = Px >> 8 & 0xFF, B = Px & 0xFF;
  if (std::abs(R - 0xEB) <= 40 && std::abs(G - 0xBE) <= 40 && std::abs(B - 0xEB) <= 40)
    return 0xF4F4F4;
  return Px;
}

TBitmap Sheet(int GW, int GH, const TDraw& Draw) {
  TBitmap B(2 * GW, 2 * GH);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(Key);
  C.FillRect(Rect(0, 0, 2 * GW, 2 * GH));
  for (const bool On : {true, false}) {
    const int X0 = On ? 0 : GW;
    C.SetOrigin({X0, 0});
    C.SetClipRect(Rect(0, 0, GW, GH));
    TPainter P{C, GW, GH};
    Draw(P, On);
    C.ResetClip();
    C.SetOrigin({0, 0});
    for (int Y = 0; Y < GH; ++Y)
      for (int X = 0; X < GW; ++X) {
        std::uint32_t& Px = B.ScanLine(Y)[X0 + X];
        Px = AwayFromKey(Px & 0xFFFFFF);
        B.ScanLine(GH + Y)[X0 + X] = Px == KeyPixel ? KeyPixel : Grey(Px);
      }
  }
  return B;
}

// --- the pictures ---

void CheckBox(TPainter& P, bool On) {
  P.Box(0, 0, 16, 16, Mid, Mid);
  P.Line(1, 15, 15, 15, White);
  P.Line(15, 15, 15, 0, White);
  P.Box(1, 1, 15, 15, Ink, White);
  if (!On) return;
  for (int D = 0; D < 2; ++D) {
    P.Line(4, 7 + D, 6, 9 + D, Ink);
    P.Line(6, 9 + D, 12, 3 + D, Ink);
  }
  P.Line(4, 9, 6, 11, Ink);
  P.Line(6, 11, 12, 5, Ink);
}

void RadioBut(TPainter& P, bool On) {
  P.Disc(0, 0, 14, 14, Mid, Mid);
  P.Disc(1, 1, 14, 14, White, White);
  P.Disc(1, 1, 13, 13, Ink, White);
  if (On) P.Disc(4, 4, 10, 10, Ink, Ink);
}

// A slide switch along the long side; KnobFar puts the knob at the top (or the right).
void Slide(TPainter& P, bool Vertical, bool KnobFar, TColor Track) {
  // Draw as if vertical in a W x H box; a horizontal one swaps the axes.
  const auto At = [&](int A, int B) { return Vertical ? TPoint{A, B} : TPoint{B, A}; };
  const auto Box = [&](int L, int T, int R, int B, TColor O, TColor F) {
    const TPoint A = At(L, T), Z = At(R, B);
    P.Box(A.X, A.Y, Z.X, Z.Y, O, F);
  };
  const int Across = Vertical ? P.W : P.H, Along = Vertical ? P.H : P.W;
  Box(Across / 2 - 4, 1, Across / 2 + 4, Along - 1, Ink, Track);
  Box(Across / 2 - 2, 3, Across / 2 + 2, Along - 3, Ink, Slot);
  // The knob sits at the far end (top, or right) or the near one (bottom, or left).
  const int Len = Along * 2 / 5;
  int K0 = KnobFar ? 0 : Along - Len;
  if (!Vertical) K0 = Along - Len - K0;
  const TPoint A = At(0, K0), Z = At(Across, K0 + Len);
  P.Bevel(A.X, A.Y, Z.X, Z.Y, Face, true);
  const TPoint G1 = At(3, K0 + Len / 2), G2 = At(Across - 3, K0 + Len / 2);
  P.Line(G1.X, G1.Y, G2.X, G2.Y, Dark);
}

void Led(TPainter& P, TColor Lit, TColor Spot) {
  P.Disc(0, 0, 14, 14, Ink, Dark);
  P.Disc(1, 1, 13, 13, Ink, Lit);
  P.Disc(3, 3, 7, 7, Spot, Spot);
}

// A bold arrow pointing up, turned by Quarter quarter turns clockwise.
void Arrow(TPainter& P, int Quarter, TColor Fill) {
  const int S = P.W - 1;  // 24
  std::vector<TPoint> Up = {{12, 1}, {23, 12}, {17, 12}, {17, 23}, {7, 23}, {7, 12}, {1, 12}};
  for (TPoint& Q : Up)
    for (int I = 0; I < Quarter; ++I) Q = {S - Q.Y, Q.X};
  P.Poly(Up, Ink, Fill);
}

void TrafficLight(TPainter& P, bool On) {
  P.Box(1, 0, 30, 31, Ink, 0x303030);
  P.Box(3, 2, 28, 29, Ink, 0x181818);
  const TColor Ink2 = On ? GreenLit : RedLit;
  // head, body, arms and legs of a small pedestrian
  P.Disc(13, 4, 18, 9, Ink2, Ink2);
  if (On) {  // walking
    P.Poly({{13, 10}, {18, 10}, {18, 18}, {13, 18}}, Ink2, Ink2);
    P.Line(13, 11, 9, 17, Ink2, 2);
    P.Line(18, 11, 22, 16, Ink2, 2);
    P.Line(14, 18, 10, 26, Ink2, 2);
    P.Line(17, 18, 21, 26, Ink2, 2);
  } else {  // standing
    P.Poly({{12, 10}, {19, 10}, {19, 19}, {12, 19}}, Ink2, Ink2);
    P.Line(11, 11, 11, 18, Ink2, 2);
    P.Line(20, 11, 20, 18, Ink2, 2);
    P.Line(14, 19, 14, 26, Ink2, 2);
    P.Line(17, 19, 17, 26, Ink2, 2);
  }
}

void BeveledLed(TPainter& P, bool On) {
  P.Bevel(0, 0, 17, 17, Face, true);
  P.Box(3, 3, 14, 14, Ink, On ? 0x3838FF : 0x181860);
  if (On) P.Box(5, 5, 8, 8, 0xC0C0FF, 0xC0C0FF);
}

void Smiley(TPainter& P, bool Smile, TColor Fill) {
  P.Disc(0, 0, 18, 18, Ink, Fill);
  P.Box(5, 5, 7, 8, Ink, Ink);
  P.Box(11, 5, 13, 8, Ink, Ink);
  P.Colors(Ink, Fill);
  if (Smile)
    P.C.Arc(4, 4, 14, 14, 4, 11, 14, 11);
  else
    P.C.Arc(4, 11, 14, 19, 14, 14, 4, 14);
}

void Bulb(TPainter& P, bool On) {
  const TColor Glass = On ? 0x40F0FF : 0xB0B0B0;
  if (On)
    for (int I = 0; I < 8; ++I) {
      const double A = std::numbers::pi * (0.05 + I / 7.0 * 0.9);
      const int CX = 19, CY = 17;
      P.Line(CX + int(std::lround(std::cos(A) * 14)), CY - int(std::lround(std::sin(A) * 13)),
             CX + int(std::lround(std::cos(A) * 18)), CY - int(std::lround(std::sin(A) * 17)),
             0x10B8F0, 2);
    }
  P.Disc(7, 5, 32, 30, Ink, Glass);
  P.Poly({{13, 27}, {26, 27}, {24, 35}, {15, 35}}, Ink, Glass);
  for (int I = 0; I < 4; ++I) P.Box(14, 35 + 3 * I, 25, 38 + 3 * I, Ink, I % 2 ? 0x909090 : 0xB8B8B8);
  P.Box(17, 46, 22, 49, Ink, Dark);
  // the filament
  P.Line(16, 26, 18, 16, On ? 0x0060C0 : Dark);
  P.Line(23, 26, 21, 16, On ? 0x0060C0 : Dark);
  P.Line(18, 16, 21, 16, On ? 0x0060C0 : Dark);
  if (On) P.Disc(12, 10, 17, 15, White, White);
}

void ButLamp(TPainter& P, bool On) {
  P.Bevel(0, 0, 49, 24, Face, true);
  P.Box(10, 5, 39, 19, Ink, On ? Amber : AmberDim);
  if (On) P.Box(13, 7, 25, 10, 0x80D0FF, 0x80D0FF);
}

void Rocker(TPainter& P, bool LeftLit, bool RightLit) {
  P.Box(0, 0, 48, 16, Ink, 0x303030);
  const auto Half = [&](int L, bool Lit) {
    P.Bevel(L, 1, L + 23, 15, Lit ? GreenLit : GreenDim, !Lit);
    if (Lit) P.Box(L + 4, 4, L + 12, 6, 0xA0FFA0, 0xA0FFA0);
  };
  Half(1, LeftLit);
  Half(24, RightLit);
}

void Power(TPainter& P, bool On) {
  const TColor C = On ? GreenLit : Mid;
  // A ring open at the top, and the bar through the opening.
  P.Disc(2, 3, 22, 23, Ink, C);
  P.Disc(6, 7, 18, 19, Ink, Key);
  P.Box(8, 0, 16, 11, Key, Key);
  P.Line(8, 4, 8, 9, Ink);
  P.Line(15, 4, 15, 9, Ink);
  P.Box(10, 1, 14, 14, Ink, C);
}

void Padlock(TPainter& P, bool Closed) {
  P.Colors(Dark, Dark, 3);
  if (Closed)
    P.C.Arc(6, 2, 18, 16, 18, 9, 6, 9);
  else
    P.C.Arc(11, 0, 23, 14, 23, 7, 11, 7);
  P.C.GetPen().SetWidth(1);
  if (Closed) {
    P.Line(7, 8, 7, 12, Dark, 3);
    P.Line(17, 8, 17, 12, Dark, 3);
  } else {
    P.Line(22, 7, 22, 10, Dark, 3);
  }
  P.Box(3, 11, 21, 23, Ink, Closed ? Amber : 0x30B0E0);
  P.Box(11, 14, 13, 20, Ink, Ink);
}

void Speaker(TPainter& P, bool Sound) {
  P.Poly({{2, 8}, {7, 8}, {13, 3}, {13, 21}, {7, 16}, {2, 16}}, Ink, Sound ? 0x606060 : Mid);
  if (Sound) {
    P.Colors(0xD08020, 0xD08020, 2);
    P.C.Arc(10, 7, 20, 17, 16, 20, 16, 4);
    P.C.Arc(9, 3, 24, 21, 18, 22, 18, 2);
    P.C.GetPen().SetWidth(1);
  } else {
    P.Line(16, 9, 22, 15, RedLit, 2);
    P.Line(22, 9, 16, 15, RedLit, 2);
  }
}

void Eye(TPainter& P, bool Open) {
  if (Open) {
    P.Poly({{1, 12}, {6, 6}, {12, 4}, {18, 6}, {23, 12}, {18, 18}, {12, 20}, {6, 18}}, Ink, White);
    P.Disc(7, 7, 17, 17, Ink, 0xC07030);
    P.Disc(10, 10, 14, 14, Ink, Ink);
  } else {
    P.Colors(Ink, Ink, 2);
    P.C.Arc(1, 2, 23, 20, 1, 11, 23, 11);
    P.C.GetPen().SetWidth(1);
    for (int X : {6, 12, 18}) P.Line(X, 18, X - (X - 12) / 3, 22, Ink, 2);
  }
}

void Star(TPainter& P, bool Filled) {
  std::vector<TPoint> S;
  for (int I = 0; I < 10; ++I) {
    const double R = I % 2 ? 4.6 : 11.0, A = std::numbers::pi * (0.5 + I / 5.0);
    S.push_back({12 + int(std::lround(R * std::cos(A))), 12 - int(std::lround(R * std::sin(A)))});
  }
  P.Poly(S, Ink, Filled ? Yellow : White);
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: kvl_onoffbut_glyphs OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string Dir = Argv[1];
  struct TSheet {
    const char* Name;
    int GW, GH;
    TDraw Draw;
  };
  const TSheet Sheets[] = {
      {"CHECKBOX", 16, 16, CheckBox},
      {"RADIOBUT", 14, 14, RadioBut},
      {"SLIDETOPBOT", 18, 30, [](TPainter& P, bool On) { Slide(P, true, On, Mid); }},
      {"SLIDELFTRGT", 30, 18, [](TPainter& P, bool On) { Slide(P, false, On, Mid); }},
      {"COLSLIDETB", 18, 30,
       [](TPainter& P, bool On) { Slide(P, true, On, On ? GreenLit : RedLit); }},
      {"COLSLIDELR", 30, 18,
       [](TPainter& P, bool On) { Slide(P, false, On, On ? GreenLit : RedLit); }},
      {"LEDREDGREEN", 14, 14,
       [](TPainter& P, bool On) { Led(P, On ? GreenLit : RedLit, On ? 0xB0FFB0 : 0xB0B0FF); }},
      {"ARROWTR", 25, 25, [](TPainter& P, bool On) { Arrow(P, On ? 0 : 1, 0xE08030); }},
      {"ARROWUD", 25, 25, [](TPainter& P, bool On) { Arrow(P, On ? 0 : 2, 0xE08030); }},
      {"ARROWLR", 25, 25, [](TPainter& P, bool On) { Arrow(P, On ? 3 : 1, 0xE08030); }},
      {"TRAFFICLGT", 31, 31, TrafficLight},
      {"BEVELEDLED", 17, 17, BeveledLed},
      {"SMILEYS", 18, 18, [](TPainter& P, bool On) { Smiley(P, On, Yellow); }},
      {"SMILEYRG", 18, 18, [](TPainter& P, bool On) { Smiley(P, On, On ? GreenLit : RedLit); }},
      {"BULB", 39, 49, Bulb},
      {"BUTLAMP", 49, 24, ButLamp},
      {"HDLEFT", 48, 16, [](TPainter& P, bool On) { Rocker(P, On, false); }},
      {"HDRIGHT", 48, 16, [](TPainter& P, bool On) { Rocker(P, false, On); }},
      {"USER1", 24, 24, Power},
      {"USER2", 24, 24, Padlock},
      {"USER3", 24, 24, Speaker},
      {"USER4", 24, 24, Eye},
      {"USER5", 24, 24, Star},
  };
  for (const TSheet& S : Sheets) {
    const TBitmap B = Sheet(S.GW, S.GH, S.Draw);
    const std::string File = Dir + "/" + S.Name + ".png";
    B.SaveToPngFile(File);
    std::printf("wrote %s (%dx%d)\n", File.c_str(), B.GetWidth(), B.GetHeight());
  }
  return 0;
}
