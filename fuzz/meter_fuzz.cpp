// A byte string as a sequence of meter setter calls with any bit patterns, sometimes inside a
// loading bracket, with paints in between. Outside a bracket the range stays finite and
// ordered, the value and thresholds inside it and in order, the secondary value too unless a
// load put it elsewhere, and a logarithmic scale has a positive minimum. Endless scale loops
// show as libFuzzer timeouts.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "kvl/meter/meter.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;
using namespace kvl::fuzzing;

TForm& SharedForm() {
  static TForm* Form = [] {
    Application->SetHost(std::make_unique<THeadlessHost>());
    auto* F = new TForm(Application);
    F->SetBounds(0, 0, 220, 170);
    F->Show();
    return F;
  }();
  return *Form;
}

void CheckInvariants(const TMeter& M, bool SecInRange) {
  const double Mn = M.GetMeterMinValue(), Mx = M.GetMeterMaxValue();
  Check(std::isfinite(Mn) && std::isfinite(Mx) && Mn < Mx);
  Check(Mn <= M.GetThresholdLow() && M.GetThresholdLow() <= M.GetThresholdHigh() &&
        M.GetThresholdHigh() <= Mx);
  Check(M.GetValue() >= Mn && M.GetValue() <= Mx);
  if (SecInRange) Check(M.GetValueSec() >= Mn && M.GetValueSec() <= Mx);
  if (M.GetLogarithmic()) Check(Mn > 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TForm& Form = SharedForm();
  auto Meter = std::make_unique<TMeter>(&Form);
  TMeter& M = *Meter;
  M.SetParent(&Form);
  M.SetBounds(0, 0, 200, 150);
  M.SetScaleBkVisible(true);
  M.GetNeedleLayoutSec().SetVisible(true);
  TFuzzBytes R{Data, Size};
  bool Loading = false, SecInRange = true;
  while (R.N > 0) {
    const std::uint8_t Op = R.Take<std::uint8_t>();
    switch (Op % 24) {
      case 0:
        M.SetMeterMinValue(R.Take<double>());
        break;
      case 1:
        M.SetMeterMaxValue(R.Take<double>());
        break;
      case 2:
        M.SetValue(R.Take<double>());
        break;
      case 3:
        M.SetValueSec(R.Take<double>());
        break;
      case 4:
        M.SetThresholdLow(R.Take<double>());
        break;
      case 5:
        M.SetThresholdHigh(R.Take<double>());
        break;
      case 6:
        M.SetLogarithmic(R.Take<std::uint8_t>() & 1);
        break;
      case 7:
        M.SetScaleBkWidth(R.Take<double>());
        break;
      case 8:
        M.SetMeterNrTicks(R.Take<std::int32_t>());
        break;
      case 9:
        M.SetMeterDecPlaces(R.Take<std::int32_t>());
        break;
      case 10:
        M.SetMeterLayout(TMeterLayout(R.Take<std::uint8_t>()));
        break;
      case 11:
        M.SetRimTop(R.Take<std::int32_t>());
        break;
      case 12:
        M.SetRimBottom(R.Take<std::int32_t>());
        break;
      case 13:
        M.SetRimSide(R.Take<std::int32_t>());
        break;
      case 14:
        M.SetAnchorSize(R.Take<std::int32_t>());
        break;
      case 15:
        M.GetNeedleLayout().SetHeadSize(R.Take<std::int32_t>());
        break;
      case 16:
        M.GetNeedleLayout().SetThickness(R.Take<std::int32_t>());
        break;
      case 17:
        M.GetNeedleLayout().SetShadowDx(R.Take<std::int32_t>());
        break;
      case 18:
        M.GetNeedleLayoutSec().SetShadowDy(R.Take<std::int32_t>());
        break;
      case 19:
        M.SetFrameStyle(TFrameStyle(R.Take<std::uint8_t>()));
        break;
      case 20:
        M.SetBkgndFillMode(TBkgFill(R.Take<std::uint8_t>()));
        break;
      case 21: {
        const int W = R.Take<std::uint8_t>() * 2, H = R.Take<std::uint8_t>() * 2;
        M.SetBounds(0, 0, W, H);
        break;
      }
      case 22:
        if (Loading) {
          M.EndLoading();
          SecInRange = false;
        } else {
          M.BeginLoading();
        }
        Loading = !Loading;
        break;
      default:
        Application->ProcessMessages();
        M.Invalidate();
        break;
    }
    if (!Loading) CheckInvariants(M, SecInRange);
  }
  if (Loading) {
    M.EndLoading();
    CheckInvariants(M, false);
  }
  M.RebuildScale();
  Application->ProcessMessages();
  return 0;
}
