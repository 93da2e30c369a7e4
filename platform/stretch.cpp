#include "kvl/platform/stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#define KVL_HOT __attribute__((optimize("O3")))

namespace kvl {

namespace {

// The source taps of one destination pixel along one axis; weights sum to exactly 1 << 16.
struct TTaps {
  int First;
  std::vector<std::uint32_t> Weights;
};

std::vector<TTaps> AxisTaps(int Src, int Dst) {
  std::vector<TTaps> Taps(static_cast<std::size_t>(Dst));
  const double Scale = double(Src) / Dst;
  for (int I = 0; I < Dst; ++I) {
    std::vector<double> W;
    int First = 0;
    if (Dst < Src) {
      // Box filter: the overlap of [I, I + 1) scaled onto the source with each source pixel.
      const double A = I * Scale, B = (I + 1) * Scale;
      First = int(std::floor(A));
      const int Last = std::min(Src - 1, int(std::ceil(B)) - 1);
      for (int S = First; S <= Last; ++S) W.push_back(std::min(B, S + 1.0) - std::max(A, double(S)));
    } else {
      // Linear interpolation between the two source centres around the mapped centre.
      const double X = (I + 0.5) * Scale - 0.5;
      const int L = int(std::floor(X));
      const double F = X - L;
      First = std::clamp(L, 0, Src - 1);
      const int Second = std::clamp(L + 1, 0, Src - 1);
      if (Second == First) {
        W = {1.0};
      } else {
        W = {1 - F, F};
      }
    }
    double Sum = 0;
    for (double V : W) Sum += V;
    TTaps& T = Taps[std::size_t(I)];
    T.First = First;
    std::uint32_t Total = 0;
    std::size_t Largest = 0;
    for (std::size_t K = 0; K < W.size(); ++K) {
      T.Weights.push_back(std::uint32_t(std::lround(W[K] / Sum * 65536.0)));
      Total += T.Weights.back();
      if (W[K] > W[Largest]) Largest = K;
    }
    T.Weights[Largest] += 65536 - Total;  // rounding rest to the heaviest tap
  }
  return Taps;
}

}  // namespace

KVL_HOT void HalftoneScale(const TPixelBlock& Src, std::uint32_t* Dst, int DstWidth, int DstHeight) {
  if (Src.Width <= 0 || Src.Height <= 0 || DstWidth <= 0 || DstHeight <= 0) return;
  const std::vector<TTaps> HT = AxisTaps(Src.Width, DstWidth);
  const std::vector<TTaps> VT = AxisTaps(Src.Height, DstHeight);
  // Horizontal pass over every source row into channels with 8 extra bits of precision.
  std::vector<std::uint16_t> Mid(std::size_t(Src.Height) * std::size_t(DstWidth) * 3);
  for (int Y = 0; Y < Src.Height; ++Y) {
    const std::uint32_t* Row = Src.Pixels + std::size_t(Y) * std::size_t(Src.Stride);
    std::uint16_t* Out = Mid.data() + std::size_t(Y) * std::size_t(DstWidth) * 3;
    for (int X = 0; X < DstWidth; ++X) {
      const TTaps& T = HT[std::size_t(X)];
      std::uint32_t R = 0, G = 0, B = 0;
      for (std::size_t K = 0; K < T.Weights.size(); ++K) {
        const std::uint32_t P = Row[T.First + int(K)], W = T.Weights[K];
        R += ((P >> 16) & 0xFF) * W;
        G += ((P >> 8) & 0xFF) * W;
        B += (P & 0xFF) * W;
      }
      Out[3 * X] = std::uint16_t((R + 128) >> 8);
      Out[3 * X + 1] = std::uint16_t((G + 128) >> 8);
      Out[3 * X + 2] = std::uint16_t((B + 128) >> 8);
    }
  }
  // Vertical pass, rounding once at the end.
  std::vector<std::uint64_t> Acc(std::size_t(DstWidth) * 3);
  for (int Y = 0; Y < DstHeight; ++Y) {
    const TTaps& T = VT[std::size_t(Y)];
    std::fill(Acc.begin(), Acc.end(), 0);
    for (std::size_t K = 0; K < T.Weights.size(); ++K) {
      const std::uint16_t* In = Mid.data() + std::size_t(T.First + int(K)) * std::size_t(DstWidth) * 3;
      const std::uint64_t W = T.Weights[K];
      for (std::size_t I = 0; I < Acc.size(); ++I) Acc[I] += In[I] * W;
    }
    std::uint32_t* Out = Dst + std::size_t(Y) * std::size_t(DstWidth);
    for (int X = 0; X < DstWidth; ++X) {
      const auto C = [&](int K) {
        return std::uint32_t(std::min<std::uint64_t>(255, (Acc[3 * X + K] + (1u << 23)) >> 24));
      };
      Out[X] = (C(0) << 16) | (C(1) << 8) | C(2);
    }
  }
}

}  // namespace kvl
