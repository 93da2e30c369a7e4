// The meter page: a pressure meter animated on the loop's clock with its range events on an
// echo line, logarithmic and linear scales, two needles, bands, a fuel gauge whose labels the
// host replaces, background and anchor pictures, every layout and every frame style, and the
// value under the mouse pointer.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "kvl/core/stringl.h"
#include "kvl/meter/meter.h"
#include "kvl/platform/application.h"
#include "kvl/platform/files.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/timers.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

// The page's pictures lie next to the executable, or in the installed data folder.
std::string PicturePath(const std::string& Name) {
  char Exe[4096];
  const ssize_t N = ::readlink("/proc/self/exe", Exe, sizeof Exe - 1);
  if (N > 0) {
    std::string Dir(Exe, std::size_t(N));
    Dir.resize(Dir.rfind('/') + 1);
    if (FileExists(Dir + Name)) return Dir + Name;
  }
  return std::string(KVL_GALLERY_DATA_DIR) + "/" + Name;
}

TLabel* EchoLine(TWinControl& Host, int X, int Y, int W) {
  auto* L = new TLabel(&Host);
  L->SetParent(&Host);
  L->SetBounds(X, Y, W, 16);
  return L;
}

// A pressure meter whose needle follows a slow swing on the loop's clock, so a headless
// picture after a given time is the same every run. The swing crosses both thresholds.
class TPressureMeter : public TMeter {
public:
  TPressureMeter(TComponent* AOwner, TLabel* Echo) : TMeter(AOwner), FEcho(Echo) {
    SetMeterMaxValue(10);
    SetThresholdHigh(8);
    SetThresholdLow(2);
    SetScaleBkVisible(true);
    SetScaleBkWidth(12);
    SetMeterNrTicks(5);
    SetMeterDecPlaces(0);
    SetCaption("bar");
    GetNeedleLayout().SetColorBody(clRed);
    GetNeedleLayout().SetShadowDx(-2);
    GetNeedleLayout().SetShadowDy(-2);
    const auto Say = [this](const char* What) {
      return [this, What](TObject*) { FEcho->SetCaption(std::string("range: ") + What); };
    };
    OnOverFlow = Say("over the high threshold");
    OnNormalRange = Say("normal");
    OnUnderFlow = Say("under the low threshold");
    FStart = Application->GetHost().Now();
    FTimer.Restart<EKVLError>(40);
  }

private:
  void Tick() {
    const double T = double(Application->GetHost().Now() - FStart) / 1000;
    SetValue(5 + 4.6 * std::sin(T * 1.3) * std::cos(T * 0.37));
  }
  TLabel* FEcho;
  std::int64_t FStart = 0;
  TPrivateTimer FTimer{*this, [this] { Tick(); }};
};

TMeter* Meter(TWinControl& Host, int X, int Y, int W, int H, TMeterLayout Layout) {
  auto* M = new TMeter(&Host);
  M->SetParent(&Host);
  M->SetBounds(X, Y, W, H);
  M->SetMeterLayout(Layout);
  return M;
}

}  // namespace

void BuildMeterPage(TWinControl& Host) {
  constexpr int W = 240, H = 180, Gap = 4;
  const auto X = [](int Col) { return 4 + Col * (W + Gap); };
  const auto Y = [](int Row) { return 22 + Row * (H + Gap); };
  TLabel* RangeEcho = EchoLine(Host, 8, 3, 330);
  TLabel* MouseEcho = EchoLine(Host, 350, 3, 390);
  MouseEcho->SetCaption("move the mouse over a meter");

  auto* Pressure = new TPressureMeter(&Host, RangeEcho);
  Pressure->SetParent(&Host);
  Pressure->SetBounds(X(0), Y(0), W, H);
  Pressure->SetMeterLayout(mlCirc270);
  Pressure->SetAnchorSize(16);
  Pressure->SetFrameStyle(fsLowered);

  TMeter* Decades = Meter(Host, X(1), Y(0), W, H, mlCirc300);
  Decades->SetMeterMaxValue(1000);
  Decades->SetMeterMinValue(1);
  Decades->SetLogarithmic(true);
  Decades->SetMeterDecPlaces(0);
  Decades->SetValue(140);
  Decades->SetAnchorSize(14);
  Decades->SetCaption("Hz");
  Decades->SetFrameStyle(fsEmbossed);

  TMeter* Narrow = Meter(Host, X(2), Y(0), W, H, mlCirc120);
  Narrow->SetMeterMaxValue(8);
  Narrow->SetMeterMinValue(2);
  Narrow->SetLogarithmic(true);
  Narrow->SetValue(5.5);
  Narrow->SetCaption("2 .. 8 logarithmic");
  Narrow->SetFrameStyle(fsEngraved);

  TMeter* Two = Meter(Host, X(0), Y(1), W, H, mlCirc360);
  Two->SetMeterMaxValue(60);
  Two->SetMeterDecPlaces(0);
  Two->SetMeterNrTicks(6);
  Two->SetAnchorSize(12);
  Two->SetValue(42);
  Two->SetCaption("two needles");
  Two->GetNeedleLayout().SetColorBody(clNavy);
  Two->GetNeedleLayout().SetShadowDx(-3);
  Two->GetNeedleLayout().SetShadowDy(-2);
  Two->GetNeedleLayoutSec().SetVisible(true);
  Two->GetNeedleLayoutSec().SetColorBody(clYellow);
  Two->GetNeedleLayoutSec().SetPercentNeedleLength(70);
  Two->GetNeedleLayoutSec().SetThickness(4);
  Two->GetNeedleLayoutSec().SetShadowDx(2);
  Two->GetNeedleLayoutSec().SetShadowDy(-2);
  Two->SetValueSec(17);

  TMeter* Bands = Meter(Host, X(1), Y(1), W, H, mlCirc180);
  Bands->SetScaleBkVisible(true);
  Bands->SetScaleBkWidth(35);
  Bands->SetThresholdHigh(0.75);
  Bands->SetThresholdLow(0.3);
  Bands->SetValue(0.55);
  Bands->SetAnchorSize(18);
  Bands->SetFrameStyle(fsNone);

  TMeter* Fuel = Meter(Host, X(2), Y(1), W, H, mlCirc90);
  // Quarters of a tank: the host writes its own texts at empty, half and full.
  Fuel->SetMeterMaxValue(4);
  Fuel->SetMeterNrTicks(2);
  Fuel->SetMeterDecPlaces(0);
  Fuel->SetValue(2.6);
  Fuel->SetCaption("fuel");
  Fuel->SetOnBeforeDrawScaleLabel([](TObject*, TCanvas*, std::string& Text, int, int) {
    Text = Text == "0" ? "E" : Text == "2" ? "\xC2\xBD" : Text == "4" ? "F" : "";
  });

  TMeter* Stretched = Meter(Host, X(0), Y(2), W, H, mlCirc90);
  Stretched->SetBkgndFillMode(bfStretched);
  Stretched->SetBackGroundImg(PicturePath("meter_dial.png"));
  Stretched->SetValue(0.35);
  Stretched->SetCaption("stretched picture");
  Stretched->SetFrameStyle(fsSimple);

  TMeter* Tiled = Meter(Host, X(1), Y(2), W, H, mlCirc300);
  Tiled->SetBkgndFillMode(bfTiled);
  Tiled->SetBackGroundImg(PicturePath("meter_tile.png"));
  Tiled->SetAnchorImage(PicturePath("meter_cap.png"));
  Tiled->SetColorCover(0x00C8C0B8);
  Tiled->SetValue(0.8);
  Tiled->SetCaption("tiled");

  TMeter* Plain = Meter(Host, X(2), Y(2), W, H, mlCirc120);
  Plain->SetMeterMinValue(-40);
  Plain->SetMeterMaxValue(120);
  Plain->SetMeterNrTicks(4);
  Plain->SetMeterDecPlaces(0);
  Plain->SetValue(21.5);
  Plain->SetCaption(
      "\xC2\xB0"
      "C");
  Plain->SetAnchorCovered(false);
  Plain->GetNeedleLayout().SetThickness(3);
  Plain->GetNeedleLayout().SetColorBody(clMaroon);

  for (TMeter* M : {static_cast<TMeter*>(Pressure), Decades, Narrow, Two, Bands, Fuel, Stretched,
                    Tiled, Plain}) {
    M->OnMouseMoveInMeter = [MouseEcho](TObject* Sender, bool Within, TShiftState, double V) {
      const std::string& Name = static_cast<TMeter*>(Sender)->GetCaption();
      MouseEcho->SetCaption(
          (Name.empty() ? "meter" : Name) +
          (Within ? ": value under the pointer " + strff(V, 0, 2) : ": pointer outside the scale"));
    };
  }
}

}  // namespace kvl::gallery
