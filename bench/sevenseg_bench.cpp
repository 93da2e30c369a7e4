// The seven-segment display: a caption change only copies cache cells; a colour change renders
// all 21 characters on the design grid and shrinks them into the cache.
#include <benchmark/benchmark.h>

#include <memory>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/sevenseg/sevenseg.h"

namespace {

using namespace kvl;

struct TDisplayOnForm : kvl::bench::THeadlessForm {
  TSevenSeg* Display;
  TDisplayOnForm() : THeadlessForm(820, 140) {
    Display = Add<TSevenSeg>(0, 0, 800, 120);
    Display->SetNumDigits(16);
  }
};

void BM_SevenSeg_CaptionChange(benchmark::State& State) {
  TDisplayOnForm S;
  bool Odd = false;
  for (auto _ : State) {
    S.Display->SetCaption((Odd = !Odd) ? "0123456789ABCDEF"
                                       : "-12.345:67.89\xC2\xB0"
                                         "C");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SevenSeg_CaptionChange);

void BM_SevenSeg_CacheRebuild(benchmark::State& State) {
  TDisplayOnForm S;
  bool Odd = false;
  for (auto _ : State) {
    S.Display->SetColorText((Odd = !Odd) ? clRed : clLime);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SevenSeg_CacheRebuild)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_SevenSeg_CaptionChange", "BM_SevenSeg_CacheRebuild", 10}});
}
