// The displays page: a seven-segment clock that ticks on the gallery's timer, hexadecimal and
// degree captions, and a large display with every character.
#include <cstdio>
#include <ctime>

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
  int FSeconds = 12 * 3600 + 34 * 60 + 56;
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
  TSevenSeg* All = Display(Host, 204, 104, 532, 60, 21, "0123456789-+:\xC2\xB0" "ABCDEF.");
  All->SetMargin(6);
  All->SetInterDigDist(1);
  All->SetColorText(RGBColor(255, 120, 40));
}

}  // namespace kvl::gallery
