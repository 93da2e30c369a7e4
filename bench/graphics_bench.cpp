// The raster core against the memory primitives it is built from, and the figures components
// depend on: text with cached glyphs, halftone shrinking, large shape fills.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace {

constexpr int W = 1920, H = 1080;
constexpr std::size_t FrameBytes = std::size_t(W) * H * 4;

void BM_Memset_1080p(benchmark::State& State) {
  std::vector<std::uint32_t> Buf(std::size_t(W) * H);
  for (auto _ : State) {
    std::memset(Buf.data(), 0x5A, FrameBytes);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * std::int64_t(FrameBytes));
}
BENCHMARK(BM_Memset_1080p);

void BM_FillRect_1080p(benchmark::State& State) {
  kvl::TBitmap B(W, H);
  kvl::TCanvas& C = *B.GetCanvas();
  kvl::TColor Col = kvl::clRed;
  for (auto _ : State) {
    C.GetBrush().SetColor(Col ^= 0x00FFFFFF);
    C.FillRect(kvl::Rect(0, 0, W, H));
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * std::int64_t(FrameBytes));
}
BENCHMARK(BM_FillRect_1080p);

void BM_Memcpy_1080p(benchmark::State& State) {
  std::vector<std::uint32_t> Src(std::size_t(W) * H, 1), Dst(std::size_t(W) * H);
  for (auto _ : State) {
    std::memcpy(Dst.data(), Src.data(), FrameBytes);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * std::int64_t(FrameBytes));
}
BENCHMARK(BM_Memcpy_1080p);

void BM_CopyRect_1080p(benchmark::State& State) {
  kvl::TBitmap Src(W, H), Dst(W, H);
  const kvl::TRect R = kvl::Rect(0, 0, W, H);
  for (auto _ : State) {
    Dst.GetCanvas()->CopyRect(R, *Src.GetCanvas(), R);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * std::int64_t(FrameBytes));
}
BENCHMARK(BM_CopyRect_1080p);

void TextOutLine(benchmark::State& State, int Points) {
  kvl::TBitmap B(800, 60);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetFont().SetSize(Points);
  C.GetBrush().SetStyle(kvl::bsClear);
  const std::string Line = "Pressure 1013.25 hPa, flow 12.5 l/min OK";  // 40 characters
  C.TextOut(0, 0, Line);  // fills the glyph cache
  for (auto _ : State) {
    C.TextOut(2, 10, Line);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * std::int64_t(Line.size()));
  State.SetLabel("items = glyphs");
}
void BM_TextOut40_8pt(benchmark::State& State) { TextOutLine(State, 8); }
void BM_TextOut40_12pt(benchmark::State& State) { TextOutLine(State, 12); }
BENCHMARK(BM_TextOut40_8pt);
BENCHMARK(BM_TextOut40_12pt);

void BM_HalftoneStretch_1080p_to_360p(benchmark::State& State) {
  kvl::TBitmap Src(W, H), Dst(640, 360);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Src.ScanLine(Y)[X] = std::uint32_t(X * 7 + Y * 13) * 0x010101u & 0xFFFFFF;
  kvl::TCanvas& C = *Dst.GetCanvas();
  C.SetStretchMode(kvl::smHalftone);
  for (auto _ : State) {
    C.StretchDraw(kvl::Rect(0, 0, 640, 360), Src);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * std::int64_t(W) * H);
  State.SetLabel("items = source pixels");
}
BENCHMARK(BM_HalftoneStretch_1080p_to_360p)->Unit(benchmark::kMillisecond);

void BM_Ellipse_1080p(benchmark::State& State) {
  kvl::TBitmap B(W, H);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(kvl::clNavy);
  for (auto _ : State) {
    C.Ellipse(0, 0, W, H);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Ellipse_1080p)->Unit(benchmark::kMillisecond);

// A pie of three quarters against the ellipse of the same box: the sector costs about what the
// ellipse does.
void BM_Ellipse_400(benchmark::State& State) {
  kvl::TBitmap B(400, 400);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(kvl::clNavy);
  for (auto _ : State) {
    C.Ellipse(0, 0, 400, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Ellipse_400);

void BM_Pie_400(benchmark::State& State) {
  kvl::TBitmap B(400, 400);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(kvl::clNavy);
  for (auto _ : State) {
    C.Pie(0, 0, 400, 400, 400, 130, 330, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Pie_400);

void BM_Polygon_1080p(benchmark::State& State) {
  kvl::TBitmap B(W, H);
  kvl::TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(kvl::clTeal);
  // A five-pointed star over the whole frame: concave, self-intersecting, even-odd filled.
  const kvl::TPoint Star[] = {{960, 0}, {1524, 1080}, {60, 400}, {1860, 400}, {396, 1080}};
  for (auto _ : State) {
    C.Polygon(Star);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Polygon_1080p)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return kvl::bench::RunWithRatios(argc, argv,
                                   {{"BM_FillRect_1080p", "BM_Memset_1080p", 0.5},
                                    {"BM_CopyRect_1080p", "BM_Memcpy_1080p", 0.5},
                                    {"BM_Ellipse_1080p", "BM_FillRect_1080p", 0},
                                    {"BM_Polygon_1080p", "BM_FillRect_1080p", 0},
                                    {"BM_Pie_400", "BM_Ellipse_400", 1 / 1.5}});
}
