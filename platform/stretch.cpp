#include "kvl/platform/stretch.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <vector>

#include "kvl/platform/raster.h"  // KVL_HOT

namespace kvl {

namespace {

// Absolute source index of the nearest pixel for every destination index of [W0, W1), or -1
// where it falls outside [0, Limit).
std::vector<int> NearestIndices(long long A0, long long S, int Limit, long long N, int W0, int W1) {
  std::vector<int> Index(std::size_t(W1 - W0));
  for (int I = W0; I < W1; ++I) {
    const long long C = A0 + NearestSource(I, N, S);
    Index[std::size_t(I - W0)] = C >= 0 && C < Limit ? int(C) : -1;
  }
  return Index;
}

// The source taps of the destination pixels of one axis. Weights are integers; each
// destination pixel's weights add up to its Total, so the exact value is a ratio that the
// caller rounds once at the very end.
struct TAxisTaps {
  std::vector<int> First;  // absolute index of the first tap; -1 leaves the pixel out
  std::vector<int> Count;
  std::vector<int> Offset;  // of the first weight in Weights
  std::vector<std::uint32_t> Weights;
  std::vector<std::uint32_t> Total;
  std::uint32_t MaxTotal = 0;
  int Lo = 0, Hi = 0;  // source indices any tap reads: [Lo, Hi)
};

// Totals above this are requantised, which keeps the sums of both passes within 64 bits
// for any rectangle; real sizes reduce far below it and stay exact.
constexpr std::uint64_t MaxAxisTotal = 1u << 20;

long long FloorDiv(long long A, long long B) {
  return A / B - ((A % B != 0) && ((A < 0) != (B < 0)));
}

TAxisTaps AxisTaps(long long A0, long long S, int Limit, long long N, int W0, int W1) {
  TAxisTaps T;
  const long long V0 = std::max(A0, 0LL), V1 = std::min(A0 + S, (long long)Limit);
  std::vector<long long> Raw;
  std::vector<int> Owner;  // destination index (from W0) of each raw weight
  T.First.assign(std::size_t(W1 - W0), -1);
  T.Count.assign(std::size_t(W1 - W0), 0);
  T.Offset.assign(std::size_t(W1 - W0), 0);
  for (int I = W0; I < W1; ++I) {
    const std::size_t K = std::size_t(I - W0);
    const long long C = A0 + NearestSource(I, N, S);
    if (C < V0 || C >= V1) continue;
    T.Offset[K] = int(Raw.size());
    const auto Push = [&](long long Index, long long W) {
      if (W <= 0) return;
      if (T.Count[K] == 0) T.First[K] = int(Index);
      ++T.Count[K];
      Raw.push_back(W);
      Owner.push_back(int(K));
    };
    if (N < S) {
      // Box filter in units of 1/N source pixel: [I*S, (I+1)*S) against [s*N, (s+1)*N).
      const long long Lo = I * S, Hi = (I + 1) * S;
      for (long long Rel = Lo / N; Rel * N < Hi; ++Rel) {
        const long long A = A0 + Rel;
        if (A < V0 || A >= V1) continue;
        Push(A, std::min(Hi, (Rel + 1) * N) - std::max(Lo, Rel * N));
      }
    } else {
      // Linear between the source centres around the mapped centre, in units of 1/(2N).
      const long long Num = (2 * I + 1) * S - N, Den = 2 * N;
      const long long L = FloorDiv(Num, Den), F = Num - L * Den;
      const long long A = std::clamp(A0 + L, V0, V1 - 1), B = std::clamp(A0 + L + 1, V0, V1 - 1);
      if (A == B || F == 0) {
        Push(A, Den);
      } else {
        Push(A, Den - F);
        Push(B, F);
      }
    }
  }
  // Common factors cancel (1920 -> 640 leaves weights 1, 1, 1 of 3).
  long long G = 0;
  for (long long W : Raw) G = std::gcd(G, W);
  std::vector<long long> Totals(std::size_t(W1 - W0), 0);
  for (std::size_t J = 0; J < Raw.size(); ++J) {
    Raw[J] /= std::max(G, 1LL);
    Totals[std::size_t(Owner[J])] += Raw[J];
  }
  T.Weights.resize(Raw.size());
  T.Total.assign(std::size_t(W1 - W0), 0);
  for (std::size_t K = 0; K < Totals.size(); ++K) {
    if (T.Count[K] == 0) {
      T.First[K] = -1;
      continue;
    }
    const std::size_t O = std::size_t(T.Offset[K]), E = O + std::size_t(T.Count[K]);
    if (std::uint64_t(Totals[K]) <= MaxAxisTotal) {
      for (std::size_t J = O; J < E; ++J) T.Weights[J] = std::uint32_t(Raw[J]);
      T.Total[K] = std::uint32_t(Totals[K]);
    } else {
      std::uint64_t Sum = 0;
      std::size_t Largest = O;
      for (std::size_t J = O; J < E; ++J) {
        T.Weights[J] =
            std::uint32_t(std::llround(double(Raw[J]) * double(MaxAxisTotal) / double(Totals[K])));
        Sum += T.Weights[J];
        if (Raw[J] > Raw[Largest]) Largest = J;
      }
      T.Weights[Largest] = std::uint32_t(T.Weights[Largest] + MaxAxisTotal - Sum);
      T.Total[K] = std::uint32_t(MaxAxisTotal);
    }
    T.MaxTotal = std::max(T.MaxTotal, T.Total[K]);
  }
  T.Lo = Limit;
  T.Hi = 0;
  for (std::size_t K = 0; K < T.First.size(); ++K) {
    if (T.First[K] < 0) continue;
    T.Lo = std::min(T.Lo, T.First[K]);
    T.Hi = std::max(T.Hi, T.First[K] + T.Count[K]);
  }
  return T;
}

// Acc / D rounded to nearest, halves to even; Inv approximates 1 / D.
inline std::uint32_t DivideRounded(std::uint64_t Acc, std::uint64_t D, double Inv) {
  std::uint64_t Q = std::uint64_t(double(Acc) * Inv);
  long long R = (long long)Acc - (long long)(Q * D);
  while (R < 0) {
    --Q;
    R += (long long)D;
  }
  while (R >= (long long)D) {
    ++Q;
    R -= (long long)D;
  }
  if (2 * std::uint64_t(R) > D || (2 * std::uint64_t(R) == D && (Q & 1))) ++Q;
  return std::uint32_t(std::min<std::uint64_t>(Q, 255));
}

// Divisors below this keep 2 * 255 * D + D within 32 bits for TRoundDivider.
constexpr std::uint64_t MaxFastDivisor = 0xFFFFFFFFull / 511;

// Acc / D rounded to nearest, halves to even, for Acc <= 255 * D, by multiplication: floor
// and divisibility of N = 2 * Acc + D by 2 * D with one 64-bit reciprocal (exact for every
// 32-bit N).
class TRoundDivider {
 public:
  explicit TRoundDivider(std::uint64_t D) : FD(std::uint32_t(D)), FM(~0ull / (2 * D) + 1) {}
  std::uint32_t operator()(std::uint32_t Acc) const {
    const std::uint64_t N = 2ull * Acc + FD;
    const std::uint64_t Low = FM * N;
    std::uint32_t Q = std::uint32_t((static_cast<unsigned __int128>(FM) * N) >> 64);
    // N a multiple of 2D: Acc / D lies exactly halfway and Q is the upper neighbour.
    if (Low < FM && (Q & 1)) --Q;
    return Q;
  }

 private:
  std::uint32_t FD;
  std::uint64_t FM;
};

// Horizontal pass over the source rows [H.Lo .. ) the vertical taps read, then the vertical
// pass. Mid holds three channel sums per window column; TAcc is wide enough for a full sum.
template <class TAcc>
KVL_HOT void Separable(const TPixelBlock& Src, const TAxisTaps& H, const TAxisTaps& V,
                       std::uint32_t* Out, int WW, int WH) {
  const std::size_t Cols = std::size_t(WW) * 3;
  const auto Mid =
      std::make_unique_for_overwrite<std::uint32_t[]>(std::size_t(std::max(0, V.Hi - V.Lo)) * Cols);
  for (int Y = V.Lo; Y < V.Hi; ++Y) {
    const std::uint32_t* Row = Src.Pixels + std::size_t(Y) * std::size_t(Src.Stride);
    std::uint32_t* M = Mid.get() + std::size_t(Y - V.Lo) * Cols;
    for (int X = 0; X < WW; ++X) {
      std::uint32_t R = 0, G = 0, B = 0;
      const std::uint32_t* P = Row + std::max(H.First[std::size_t(X)], 0);
      const std::uint32_t* W = H.Weights.data() + H.Offset[std::size_t(X)];
      for (int K = 0; K < H.Count[std::size_t(X)]; ++K) {
        R += ((P[K] >> 16) & 0xFF) * W[K];
        G += ((P[K] >> 8) & 0xFF) * W[K];
        B += (P[K] & 0xFF) * W[K];
      }
      M[3 * X] = R;
      M[3 * X + 1] = G;
      M[3 * X + 2] = B;
    }
  }
  // The same total in every column (the usual case) lets each row divide by one constant.
  std::uint32_t UniformH = 0;
  for (std::size_t X = 0; X < std::size_t(WW); ++X) {
    if (H.First[X] < 0) continue;
    if (UniformH != 0 && H.Total[X] != UniformH) {
      UniformH = 0;
      break;
    }
    UniformH = H.Total[X];
  }
  std::vector<double> InvH(static_cast<std::size_t>(WW));
  for (std::size_t X = 0; X < InvH.size(); ++X) InvH[X] = H.Total[X] ? 1.0 / H.Total[X] : 0.0;
  std::vector<TAcc> Acc(Cols);
  for (int Y = 0; Y < WH; ++Y) {
    std::uint32_t* O = Out + std::size_t(Y) * std::size_t(WW);
    const std::size_t YK = std::size_t(Y);
    if (V.First[YK] < 0) {
      std::fill(O, O + WW, NoPixel);
      continue;
    }
    std::fill(Acc.begin(), Acc.end(), TAcc(0));
    for (int K = 0; K < V.Count[YK]; ++K) {
      const std::uint32_t* M = Mid.get() + std::size_t(V.First[YK] + K - V.Lo) * Cols;
      const TAcc W = V.Weights[std::size_t(V.Offset[YK] + K)];
      TAcc* A = Acc.data();
      for (std::size_t I = 0; I < Cols; ++I) A[I] += TAcc(M[I]) * W;
    }
    const double InvV = 1.0 / V.Total[YK];
    const std::uint64_t RowD = std::uint64_t(UniformH) * V.Total[YK];
    if (UniformH != 0 && sizeof(TAcc) == 4 && RowD < MaxFastDivisor) {
      const TRoundDivider Div(RowD);
      for (int X = 0; X < WW; ++X) {
        const std::size_t XK = std::size_t(X);
        O[X] = H.First[XK] < 0 ? NoPixel
                               : Div(std::uint32_t(Acc[3 * XK])) << 16 |
                                     Div(std::uint32_t(Acc[3 * XK + 1])) << 8 |
                                     Div(std::uint32_t(Acc[3 * XK + 2]));
      }
      continue;
    }
    for (int X = 0; X < WW; ++X) {
      const std::size_t XK = std::size_t(X);
      if (H.First[XK] < 0) {
        O[X] = NoPixel;
        continue;
      }
      const std::uint64_t D = std::uint64_t(H.Total[XK]) * V.Total[YK];
      const double Inv = InvH[XK] * InvV;
      O[X] = (DivideRounded(Acc[3 * XK], D, Inv) << 16) |
             (DivideRounded(Acc[3 * XK + 1], D, Inv) << 8) | DivideRounded(Acc[3 * XK + 2], D, Inv);
    }
  }
}

}  // namespace

void NearestScale(const TPixelBlock& Src, const TRect& Area, int DstWidth, int DstHeight,
                  const TRect& Window, std::uint32_t* Out) {
  if (Area.IsEmpty() || DstWidth <= 0 || DstHeight <= 0 || Window.IsEmpty()) return;
  const std::vector<int> XS =
      NearestIndices(Area.Left, Area.Width(), Src.Width, DstWidth, Window.Left, Window.Right);
  const std::vector<int> YS =
      NearestIndices(Area.Top, Area.Height(), Src.Height, DstHeight, Window.Top, Window.Bottom);
  for (std::size_t Y = 0; Y < YS.size(); ++Y) {
    std::uint32_t* O = Out + Y * XS.size();
    if (YS[Y] < 0) {
      std::fill(O, O + XS.size(), NoPixel);
      continue;
    }
    const std::uint32_t* Row = Src.Pixels + std::size_t(YS[Y]) * std::size_t(Src.Stride);
    for (std::size_t X = 0; X < XS.size(); ++X) O[X] = XS[X] < 0 ? NoPixel : Row[XS[X]] & 0xFFFFFF;
  }
}

void HalftoneScale(const TPixelBlock& Src, const TRect& Area, int DstWidth, int DstHeight,
                   const TRect& Window, std::uint32_t* Out) {
  if (Area.IsEmpty() || DstWidth <= 0 || DstHeight <= 0 || Window.IsEmpty()) return;
  const TAxisTaps H =
      AxisTaps(Area.Left, Area.Width(), Src.Width, DstWidth, Window.Left, Window.Right);
  const TAxisTaps V =
      AxisTaps(Area.Top, Area.Height(), Src.Height, DstHeight, Window.Top, Window.Bottom);
  const int WW = Window.Width(), WH = Window.Height();
  if (255ull * H.MaxTotal * V.MaxTotal <= 0xFFFFFFFFull) {
    Separable<std::uint32_t>(Src, H, V, Out, WW, WH);
  } else {
    Separable<std::uint64_t>(Src, H, V, Out, WW, WH);
  }
}

}  // namespace kvl
