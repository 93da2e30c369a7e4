#include "kvl/platform/raster.h"

namespace kvl::raster {

namespace {

template <class Op>
KVL_HOT inline void Apply(std::uint32_t* Dst, int N, Op F) {
  for (int I = 0; I < N; ++I) Dst[I] = F(Dst[I]) & 0x00FFFFFFu;
}

}  // namespace

KVL_HOT void FillSpan(std::uint32_t* Dst, int N, std::uint32_t Pixel) {
  for (int I = 0; I < N; ++I) Dst[I] = Pixel;
}

KVL_HOT void ModeSpan(std::uint32_t* Dst, int N, std::uint32_t P, TPenMode Mode) {
  switch (Mode) {
    case pmCopy: FillSpan(Dst, N, P); return;
    case pmBlack: FillSpan(Dst, N, 0); return;
    case pmWhite: FillSpan(Dst, N, 0xFFFFFF); return;
    case pmNotCopy: FillSpan(Dst, N, ~P & 0xFFFFFF); return;
    case pmNop: return;
    case pmNot: Apply(Dst, N, [](std::uint32_t D) { return ~D; }); return;
    case pmXor: Apply(Dst, N, [P](std::uint32_t D) { return P ^ D; }); return;
    case pmNotXor: Apply(Dst, N, [P](std::uint32_t D) { return ~(P ^ D); }); return;
    case pmMask: Apply(Dst, N, [P](std::uint32_t D) { return P & D; }); return;
    case pmMerge: Apply(Dst, N, [P](std::uint32_t D) { return P | D; }); return;
    default: Apply(Dst, N, [P, Mode](std::uint32_t D) { return Combine(Mode, P, D); }); return;
  }
}

}  // namespace kvl::raster
