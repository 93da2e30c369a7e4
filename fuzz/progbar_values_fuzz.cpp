// Property writes to a progress bar from the input (doubles including NaN, infinities, huge and
// subnormal values; extreme integers; enumeration bytes 0..255; colour table indexes) between
// paints and auto-increment ticks. Nothing may crash, be undefined or take time that grows
// with the value (the run's per-input timeout catches that).
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/progbar/progbar.h"

namespace {

using namespace kvl;
using namespace kvl::fuzzing;

struct TSetup {
  THeadlessHost* Host;
  TProgBar* Bar;
};

TSetup& Setup() {
  static TSetup S = [] {
    auto [H, Form] = fuzzing::MakeFuzzForm(260, 120);
    auto* Bar = new TProgBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 200, 60);
    Form->Show();
    return TSetup{H, Bar};
  }();
  return S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TProgBar& B = *S.Bar;
  TFuzzBytes R{Data, Size};
  B.SetAutoInc(false);
  B.SetBounds(0, 0, 200, 60);
  while (R.N > 0) {
    switch (R.Take<std::uint8_t>() % 20) {
      case 0: B.SetValue(R.Take<double>()); break;
      case 1: B.SetMin(R.Take<double>()); break;
      case 2: B.SetMax(R.Take<double>()); break;
      case 3: {
        const double A = R.Take<double>();
        B.SetRange(A, R.Take<double>());
        break;
      }
      case 4: B.SetDirection(static_cast<TDirection>(R.Take<std::uint8_t>())); break;
      case 5: B.SetColorMapMode(static_cast<TColorMapping>(R.Take<std::uint8_t>())); break;
      case 6: B.SetShowColorGradient(R.Take<std::uint8_t>() & 1); break;
      case 7: B.SetGridDist(R.Take<std::int32_t>()); break;
      case 8: {
        const std::int32_t M = R.Take<std::int32_t>();
        switch (M & 3) {
          case 0: B.SetMarginLeft(M >> 2); break;
          case 1: B.SetMarginRight(M >> 2); break;
          case 2: B.SetMarginTop(M >> 2); break;
          default: B.SetMarginBottom(M >> 2); break;
        }
        break;
      }
      case 9: B.SetTextAngle(R.Take<std::int32_t>()); break;
      case 10: B.SetTextDecPlaces(R.Take<std::int32_t>()); break;
      case 11: {
        const std::int32_t Ix = R.Take<std::int32_t>();
        B.SetBarColors(Ix, R.Take<std::uint32_t>());
        (void)B.GetBarColors(Ix);
        break;
      }
      case 12: B.SetFrameStyleOuter(static_cast<TFrameStyle>(R.Take<std::uint8_t>())); break;
      case 13: B.SetFrameStyleInner(static_cast<TFrameStyle>(R.Take<std::uint8_t>())); break;
      case 14: B.SetTextAlignment(static_cast<TAlignment>(R.Take<std::uint8_t>())); break;
      case 15: B.SetTextPosX(R.Take<std::int32_t>()); break;
      case 16: B.SetAutoIncStep(R.Take<double>()); break;
      case 17: B.SetAutoInc(true); AdvanceHeadlessTime(*S.Host, 2300); break;
      case 18: {
        const std::int16_t W = R.Take<std::int16_t>();
        B.SetBounds(0, 0, W % 400, R.Take<std::int16_t>() % 200);
        break;
      }
      default: B.SetColorMin(R.Take<std::uint32_t>()); break;
    }
  }
  return 0;
}
