// The labels and bars page: dot-matrix tickers scrolling on the loop's timers, captions at any
// angle with their anchors marked, and progress bars in every direction, mapping and frame,
// one of them running by itself as an activity indicator.
#include <string>

#include "kvl/platform/canvas.h"
#include "kvl/progbar/progbar.h"
#include "kvl/rasterlab/rasterlab.h"
#include "kvl/rotlab/rotlab.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

// A small red cross centred on a point of the parent: where a rotated label is anchored.
class TAnchorCross : public TGraphicControl {
public:
  TAnchorCross(TWinControl& Host, int X, int Y) : TGraphicControl(&Host) {
    SetParent(&Host);
    SetBounds(X - 3, Y - 3, 7, 7);
  }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetPen().SetColor(clRed);
    C.MoveTo(0, 3);
    C.LineTo(7, 3);
    C.MoveTo(3, 0);
    C.LineTo(3, 7);
  }
};

TRasterLab* Ticker(TWinControl& Host, int X, int Y, int W, int DotSize, const std::string& Text) {
  auto* R = new TRasterLab(&Host);
  R->SetParent(&Host);
  R->SetBounds(X, Y, W, 40);
  R->SetDotSize(DotSize);
  R->SetAutoHeight(true);
  R->SetText(Text);
  return R;
}

void AddRasterLabels(TWinControl& Host) {
  TRasterLab* Right = Ticker(Host, 8, 8, 360, 2, "Tank 3: 87.5 \xC2\xB0" "C  pressure 2.4 bar");
  Right->SetPosY(2);
  Right->SetScrollInterval(40);
  Right->SetScrollMode(rdsmRight);

  TRasterLab* Left = Ticker(Host, 376, 8, 360, 1, "Line 2 running - next stop 14:20 - all doors clear");
  Left->SetColorDotOn(RGBColor(120, 200, 255));
  Left->SetColorDotOff(RGBColor(20, 30, 50));
  Left->SetScrollInterval(30);
  Left->SetScrollMode(rdsmLeft);

  TRasterLab* Converted = Ticker(Host, 8, 44, 360, 2, "Bold sans 12:45");
  TFont F;
  F.SetName("Sans");
  F.SetSize(9);
  F.SetStyle(fsBold);
  Converted->SetFont(F);
  Converted->SetAutoCenter(true);
  Converted->SetColorDotOn(RGBColor(255, 80, 60));
  Converted->SetColorDotOff(RGBColor(50, 16, 12));

  TRasterLab* Amber = Ticker(Host, 376, 44, 360, 3, "AMBER 0123");
  Amber->SetDotSpacing(0);
  Amber->SetColorDotOn(RGBColor(255, 176, 0));
  Amber->SetColorDotOff(RGBColor(60, 40, 0));
  Amber->SetFrameStyle(fsEmbossed);

  const TRDBlockMode Modes[] = {rdbmOff, rdbmOn, rdbmRaster};
  for (int I = 0; I < 3; ++I) {
    TRasterLab* Block = Ticker(Host, 8 + I * 244, 92, 236, 5, "Ag5");
    Block->SetCharBlockMode(Modes[I]);
    Block->SetFrameStyle(I == 0 ? fsRaised : fsLowered);
  }
}

void AddRotatedLabels(TWinControl& Host, int Y0) {
  struct TSample {
    int Angle;
    TAlignment Alignment;
  };
  const TSample Samples[] = {{0, taCenter},         {45, taLeftJustify}, {90, taCenter},
                             {180, taRightJustify}, {270, taLeftJustify}, {-30, taCenter}};
  for (int I = 0; I < 6; ++I) {
    auto* L = new TRotLab(&Host);
    L->SetParent(&Host);
    L->SetBounds(8 + I * 122, Y0, 116, 116);
    L->SetCaption(I == 2 ? "Pressure bar" : "Angle " + std::to_string(Samples[I].Angle));
    L->GetFont().SetSize(9);
    L->SetTextAngle(Samples[I].Angle);
    L->SetAlignment(Samples[I].Alignment);
    if (I == 3) {
      L->SetEnabled(false);
      L->SetAutoCenter(false);
      L->SetPosX(12);
    }
    if (I == 4) {
      L->SetAntiAlias(false);
      L->SetAutoCenter(false);
      L->SetPosY(12);
    }
    if (I == 5) {
      L->SetTransparent(false);
      L->SetColor(RGBColor(255, 250, 220));
      L->SetFrameStyle(fsRaised);
    } else if (I != 0) {
      L->SetFrameStyle(fsNone);
    }
    new TAnchorCross(Host, L->GetLeft() + L->GetPosX(), L->GetTop() + L->GetPosY());
  }
}

TProgBar* Bar(TWinControl& Host, int X, int Y, int W, int H, double Value) {
  auto* B = new TProgBar(&Host);
  B->SetParent(&Host);
  B->SetBounds(X, Y, W, H);
  B->SetValue(Value);
  B->SetTextPosX(W / 2);
  B->SetTextPosY(H / 2);
  return B;
}

void AddProgressBars(TWinControl& Host, int Y0) {
  Bar(Host, 8, Y0, 236, 24, 40);
  const TColorMapping Maps[] = {cgmCover, cgmStretch, cgmMove};
  for (int I = 0; I < 3; ++I) {
    TProgBar* G = Bar(Host, 8, Y0 + 28 * (I + 1), 236, 24, 60);
    G->SetShowColorGradient(true);
    G->SetColorMapMode(Maps[I]);
  }
  TProgBar* Left = Bar(Host, 8, Y0 + 112, 236, 24, 70);
  Left->SetDirection(dirLeft);
  Left->SetShowColorGradient(true);
  Left->SetColorMin(clNavy);
  Left->SetColorMax(clAqua);

  // A level gauge in three bands, its table written entry by entry.
  TProgBar* Bands = Bar(Host, 252, Y0, 236, 24, 88);
  Bands->SetShowColorGradient(true);
  Bands->SetColorMapMode(cgmCover);
  for (int I = 0; I < TProgBar::NumBarColors; ++I)
    Bands->SetBarColors(I, I < 640 ? clGreen : I < 880 ? clYellow : clRed);
  TProgBar* Grid = Bar(Host, 252, Y0 + 28, 236, 24, 55);
  Grid->SetShowColorGradient(true);
  Grid->SetGridDist(8);
  Grid->SetColorGrid(RGBColor(64, 64, 64));
  TProgBar* Sci = Bar(Host, 252, Y0 + 56, 236, 24, 123456.7);
  Sci->SetMax(1e6);
  Sci->SetTextDecPlaces(-1);
  TProgBar* Sci4 = Bar(Host, 252, Y0 + 84, 236, 24, 0.000189);
  Sci4->SetMax(0.001);
  Sci4->SetTextDecPlaces(-2);
  TProgBar* Over = Bar(Host, 252, Y0 + 112, 236, 24, 130);
  Over->SetMarginRight(16);
  Over->SetColorMargin(RGBColor(210, 200, 180));

  const TFrameStyle Styles[][2] = {
      {fsEmbossed, fsSimple}, {fsEngraved, fsRaised}, {fsSimple, fsNone}, {fsNone, fsEmbossed}};
  for (int I = 0; I < 4; ++I) {
    TProgBar* F = Bar(Host, 496, Y0 + 28 * I, 236, 24, 25 + 15 * I);
    F->SetFrameStyleOuter(Styles[I][0]);
    F->SetFrameStyleInner(Styles[I][1]);
    F->SetTextDecPlaces(I);
  }
  // An activity indicator: the value runs on its own and wraps at Max.
  TProgBar* Busy = Bar(Host, 496, Y0 + 112, 236, 24, 0);
  Busy->SetShowColorGradient(true);
  Busy->SetColorMapMode(cgmMove);
  Busy->SetColorMin(RGBColor(225, 230, 240));
  Busy->SetColorMax(clNavy);
  Busy->SetTextVisible(false);
  Busy->SetAutoIncStep(4);
  Busy->SetStartInterval(100);
  Busy->SetRepeatInterval(50);
  Busy->SetOnAutoInc([Busy](TObject*) {
    if (Busy->GetValue() > Busy->GetMax()) Busy->SetValue(Busy->GetMin());
  });
  Busy->SetAutoInc(true);

  TProgBar* Up = Bar(Host, 8, Y0 + 144, 44, 150, 65);
  Up->SetDirection(dirUp);
  Up->SetShowColorGradient(true);
  Up->SetTextAngle(90);
  TProgBar* Down = Bar(Host, 60, Y0 + 144, 44, 150, 35);
  Down->SetDirection(dirDown);
  Down->SetColorMin(RGBColor(0, 140, 70));
  Down->SetGridDist(10);
  Down->SetTextAngle(270);
}

}  // namespace

void BuildLabelsPage(TWinControl& Host) {
  AddRasterLabels(Host);
  AddRotatedLabels(Host, 176);
  AddProgressBars(Host, 300);
}

}  // namespace kvl::gallery
