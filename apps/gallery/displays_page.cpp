// The displays page: a seven-segment clock that ticks on the gallery's timer, hexadecimal and
// degree captions, a display with every character, numeric labels of every type and gradient
// fills.
#include <cstdio>
#include <ctime>

#include "kvl/gradfl/gradfl.h"
#include "kvl/numlab/numlab.h"
#include "kvl/platform/dates.h"
#include "kvl/platform/timers.h"
#include "kvl/sevenseg/sevenseg.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

// A clock on a seven-segment display; the colon blinks each second. It starts at 12:34:56
// and counts on the loop's clock, so a headless rendering after a given time is the same
// every run.
class TSegmentClock : public TSevenSeg {
public:
  explicit TSegmentClock(TComponent* AOwner) : TSevenSeg(AOwner) {
    SetNumDigits(8);
    Show();
    FTimer.Restart<EKVLError>(1000);
  }

private:
  void Tick() {
    ++FSeconds;
    Show();
  }
  void Show() {
    const int S = FSeconds % 86400;
    char Text[16];
    std::snprintf(Text, sizeof Text, S % 2 ? "%02d %02d %02d" : "%02d:%02d:%02d", S / 3600,
                  S / 60 % 60, S % 60);
    SetCaption(Text);
  }
  int FSeconds = 12 * 3600 + 34 * 60 + 55;
  TPrivateTimer FTimer{*this, [this] { Tick(); }};
};

TSevenSeg* Display(TWinControl& Host, int X, int Y, int W, int H, int Digits,
                   const std::string& Caption) {
  auto* D = new TSevenSeg(&Host);
  D->SetParent(&Host);
  D->SetBounds(X, Y, W, H);
  D->SetNumDigits(Digits);
  D->SetCaption(Caption);
  return D;
}

// Numeric labels in every display type, two columns.
void AddNumericLabels(TWinControl& Host, int X0, int Y0) {
  struct TSample {
    TDisplay Type;
    double Value;
    int Precision;
    const char* Left;
    const char* Right;
  };
  const double When = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9);
  const TSample Samples[] = {
      {dtFixP, 3.14159, 2, "Pi", ""},    {dtFloat, 6.02214076e23, 4, "N", "/mol"},
      {dtExp, -0.000123, 3, "I", "A"},   {dtEEng, 47000, 3, "R", "Ohm"},
      {dtInt, 1234567, 0, "n", ""},      {dtZeroInt, 42, 5, "No.", ""},
      {dtHex, 48879, 0, "Hex", ""},      {dtBin, 10, 0, "Bin", ""},
      {dtOct, 511, 0, "Oct", ""},        {dtDeg, 370.25, 2, "Az", ""},
      {dtDegMin, -12.5, 1, "Lat", ""},   {dtDegMinSec, 48.8584, 1, "Lon", ""},
      {dtEEngNoDP, 0.0625, 3, "t", "s"}, {dtDateTime, When, 0, "At", ""},
      {dtState, 0, 0, "Pump", ""},       {dtFixP, 1e18, 2, "Big", ""}};
  for (int I = 0; I < 16; ++I) {
    const TSample& S = Samples[I];
    auto* L = new TNumLab(&Host);
    L->SetParent(&Host);
    L->SetBounds(X0 + I % 2 * 240, Y0 + I / 2 * 30, 232, 28);
    L->SetLeftSpace(45);
    L->SetLabelWidth(130);
    L->SetColorLabBakG(clWhite);
    L->SetDisplayType(S.Type);
    L->SetPrecision(S.Precision);
    L->SetValue(S.Value);
    L->SetLeftText(S.Left);
    L->SetRightText(S.Right);
    if (S.Type == dtDateTime) L->SetDTFormat("dd.mm.yyyy hh:nn");
    if (S.Type == dtState) L->SetStateText("running");
    if (S.Type == dtEEng) {
      L->SetComma(true);
      L->SetForcePlusSign(true);
    }
  }
}

// A row of gradient fills in their types and modes.
void AddGradientFills(TWinControl& Host, int X0, int Y0) {
  const auto Fill = [&](int I, TGradType Type, TColor First, TColor Last, int Colors) {
    auto* G = new TGradFill(&Host);
    G->SetParent(&Host);
    G->SetBounds(X0 + I * 120, Y0, 112, 100);
    G->SetFillType(Type);
    G->SetColorFirst(First);
    G->SetColorLast(Last);
    G->SetNrColors(Colors);
    return G;
  };
  Fill(0, gtHoriz, clMaroon, clYellow, 32);
  Fill(1, gtVert, clNavy, clAqua, 24)->SetFrameStyle(fsLowered);
  Fill(2, gtMidBandHoriz, RGBColor(20, 20, 40), RGBColor(220, 230, 255), 31);
  TGradFill* Scope = Fill(3, gtHoriz, clBlack, clGreen, 10);
  Scope->SetGridMode(gmBoth);
  Scope->SetGridColor(RGBColor(0, 96, 0));
  Scope->SetFrameStyle(fsSimple);
  Fill(4, gtMidBandHoriz, clBtnFace, clSkyBlue, 12)->SetFrameStyle(fsEmbossed);
  Fill(5, gtHoriz, clBlue, clRed, 255)->SetFrameStyle(fsEngraved);
}

}  // namespace

void BuildDisplaysPage(TWinControl& Host) {
  auto* Clock = new TSegmentClock(&Host);
  Clock->SetParent(&Host);
  Clock->SetBounds(12, 12, 400, 80);
  Clock->SetColorText(clLime);
  Clock->SetColorBackGnd(0x00102010);

  Display(Host, 424, 12, 150, 80, 4, "-12.5");
  TSevenSeg* Hex = Display(Host, 586, 12, 150, 80, 4, "bEEF");
  Hex->SetColorText(clYellow);
  TSevenSeg* Deg = Display(Host, 12, 104, 180, 60, 5, "+21.5\xC2\xB0");
  Deg->SetColorText(RGBColor(80, 170, 255));
  Deg->SetColorBackGnd(0x00201008);
  Deg->SetFrameStyle(fsRaised);
  TSevenSeg* All = Display(Host, 204, 104, 532, 60, 21,
                           "0123456789-+:\xC2\xB0"
                           "ABCDEF.");
  All->SetMargin(6);
  All->SetInterDigDist(1);
  All->SetColorText(RGBColor(255, 120, 40));

  AddNumericLabels(Host, 12, 180);
  AddGradientFills(Host, 12, 432);
}

}  // namespace kvl::gallery
