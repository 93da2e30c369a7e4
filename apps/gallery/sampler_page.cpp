// The canvas page: what the drawing surface under every component can do, and a text box and
// a button to try the keyboard, the clipboard and the bell.
#include <cmath>
#include <numbers>
#include <string>

#include "echo_box.h"
#include "kvl/core/drawing.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

class TCanvasSampler : public TGraphicControl {
public:
  explicit TCanvasSampler(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 720, 430);
  }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetBrush().SetColor(clWhite);
    C.GetPen().SetColor(clBtnShadow);
    C.Rectangle(0, 0, GetWidth(), GetHeight());
    Section(C, 10, 8, "Lines and pens");
    Lines(C, 10, 28);
    Section(C, 250, 8, "Shapes");
    Shapes(C, 250, 28);
    Section(C, 10, 170, "Text at angles");
    AngledText(C, 10, 190);
    Section(C, 250, 170, "Frame styles");
    Frames(C, 250, 190);
    Section(C, 10, 320, "Marker symbols");
    Markers(C, 10, 340);
  }

private:
  static void Section(TCanvas& C, int X, int Y, const std::string& Title) {
    C.GetFont().SetName("Tahoma");
    C.GetFont().SetSize(9);
    C.GetFont().SetStyle(fsBold);
    C.GetFont().SetColor(clNavy);
    C.GetBrush().SetStyle(bsClear);
    C.TextOut(X, Y, Title);
    C.GetFont().SetStyle(0);
    C.GetFont().SetColor(clBlack);
  }

  static void Lines(TCanvas& C, int X, int Y) {
    const TPenStyle Styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    for (int I = 0; I < 5; ++I) {
      C.GetPen().SetStyle(Styles[I]);
      C.GetPen().SetColor(clBlack);
      C.MoveTo(X, Y + 6 + I * 10);
      C.LineTo(X + 100, Y + 6 + I * 10);
    }
    C.GetPen().SetStyle(psSolid);
    const TColor Colors[] = {clRed, clGreen, clBlue, clPurple};
    for (int W = 1; W <= 4; ++W) {
      C.GetPen().SetWidth(W * 2 - 1);
      C.GetPen().SetColor(Colors[W - 1]);
      C.MoveTo(X + 120 + W * 22, Y + 4);
      C.LineTo(X + 100 + W * 22, Y + 52);
    }
    C.GetPen().SetWidth(1);
    // A fan of thin lines shows the end-point rule: each stops one pixel short.
    C.GetPen().SetColor(clTeal);
    for (int A = 0; A <= 90; A += 10) {
      const double R = A * std::numbers::pi / 180;
      C.MoveTo(X, Y + 130);
      C.LineTo(X + int(std::lround(70 * std::cos(R))),
               Y + 130 - int(std::lround(70 * std::sin(R))));
    }
    C.GetPen().SetColor(clMaroon);
    const TPoint Zigzag[] = {{X + 110, Y + 120}, {X + 130, Y + 70},  {X + 150, Y + 120},
                             {X + 170, Y + 70},  {X + 190, Y + 120}, {X + 210, Y + 70}};
    C.Polyline(Zigzag);
  }

  static void Shapes(TCanvas& C, int X, int Y) {
    C.GetPen().SetColor(clBlack);
    C.GetBrush().SetColor(clYellow);
    C.Rectangle(X, Y, X + 60, Y + 40);
    C.GetBrush().SetColor(RGBColor(120, 200, 255));
    C.Ellipse(X + 70, Y, X + 140, Y + 40);
    C.GetBrush().SetColor(clAqua);
    C.RoundRect(X + 150, Y, X + 220, Y + 40, 14, 14);
    C.GetBrush().SetColor(clLime);
    C.Pie(X, Y + 50, X + 60, Y + 110, X + 60, Y + 80, X + 30, Y + 50);
    C.GetBrush().SetColor(clFuchsia);
    C.Chord(X + 70, Y + 50, X + 130, Y + 110, X + 130, Y + 80, X + 70, Y + 80);
    C.Arc(X + 140, Y + 50, X + 200, Y + 110, X + 200, Y + 80, X + 140, Y + 80);
    const TPoint Star[] = {{X + 250, Y + 48},
                           {X + 275, Y + 118},
                           {X + 210, Y + 73},
                           {X + 290, Y + 73},
                           {X + 225, Y + 118}};
    C.GetBrush().SetColor(clRed);
    C.Polygon(Star);
    // A colour ramp of narrow fills.
    for (int I = 0; I < 16; ++I) {
      C.GetBrush().SetColor(RGBColor(255 - I * 12, 128 + I * 7, I * 16));
      C.FillRect(Rect(X + 310 + I * 9, Y, X + 319 + I * 9, Y + 40));
    }
    // Flood fill stops at the navy border of the ring's inner ellipse.
    C.GetBrush().SetColor(clWhite);
    C.GetPen().SetColor(clNavy);
    C.Ellipse(X + 320, Y + 50, X + 440, Y + 110);
    C.Ellipse(X + 350, Y + 65, X + 410, Y + 95);
    C.GetBrush().SetColor(clSkyBlue);
    C.FloodFill(X + 330, Y + 80, clNavy, fsBorder);
  }

  static void AngledText(TCanvas& C, int X, int Y) {
    C.GetFont().SetSize(10);
    C.GetBrush().SetStyle(bsClear);
    for (int A = 0; A < 360; A += 45) {
      C.GetFont().SetOrientation(A * 10);
      C.GetFont().SetColor(A % 90 == 0 ? clNavy : clMaroon);
      C.TextOut(X + 110, Y + 60, "        " + std::to_string(A) + "\xC2\xB0");
    }
    C.GetFont().SetOrientation(0);
    C.GetFont().SetColor(clBlack);
  }

  static void Frames(TCanvas& C, int X, int Y) {
    static const char* const Names[] = {"fsNone",   "fsSimple",   "fsLowered",
                                        "fsRaised", "fsEmbossed", "fsEngraved"};
    C.GetFont().SetSize(8);
    for (int S = 0; S < 6; ++S) {
      const int L = X + (S % 3) * 150, T = Y + (S / 3) * 60;
      C.GetBrush().SetColor(clBtnFace);
      C.FillRect(Rect(L, T, L + 140, T + 50));
      DrawFrame(C, TFrameStyle(S), L + 4, T + 4, L + 135, T + 45, clWhite, clSilver, clGray,
                clBlack, clBlack);
      C.GetBrush().SetStyle(bsClear);
      C.TextOut(L + 12, T + 18, Names[S]);
    }
  }

  static void Markers(TCanvas& C, int X, int Y) {
    C.GetPen().SetColor(clNavy);
    C.GetBrush().SetColor(clYellow);
    for (int M = 0; M < NumMarkers; ++M)
      DrawMarkOnCanvas(C, M, X + 8 + (M % 26) * 18, Y + 8 + (M / 26) * 22);
  }
};

}  // namespace

void BuildSamplerPage(TWinControl& Host) {
  auto* Sampler = new TCanvasSampler(&Host);
  Sampler->SetParent(&Host);
  Sampler->SetBounds(12, 12, 720, 430);

  auto* Echo = new TEchoBox(&Host);
  Echo->SetName("EchoBox");
  Echo->SetParent(&Host);
  Echo->SetBounds(12, 456, 400, 24);

  auto* BeepButton = new TButton(&Host);
  BeepButton->SetParent(&Host);
  BeepButton->SetCaption("Beep");
  BeepButton->SetBounds(424, 455, 75, 26);
  BeepButton->OnClick = [](TObject*) { MessageBeep(); };
}

}  // namespace kvl::gallery
