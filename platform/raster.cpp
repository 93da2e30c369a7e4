#include "kvl/platform/raster.h"

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kvl::raster {

namespace {

template <class Op>
KVL_HOT inline void Apply(std::uint32_t* Dst, int N, Op F) {
  for (int I = 0; I < N; ++I) Dst[I] = F(Dst[I]) & 0x00FFFFFFu;
}

}  // namespace

KVL_HOT void FillSpan(std::uint32_t* Dst, int N, std::uint32_t Pixel) {
#if defined(__x86_64__)
  // Long spans go through the processor's string store, which streams like memset does.
  if (N >= 256) {
    if (reinterpret_cast<std::uintptr_t>(Dst) & 7) {
      *Dst++ = Pixel;
      --N;
    }
    std::uint64_t Count = std::uint64_t(N) / 2;
    const std::uint64_t Pair = (std::uint64_t(Pixel) << 32) | Pixel;
    std::uint32_t* End = Dst + 2 * Count;
    asm volatile("rep stosq" : "+D"(Dst), "+c"(Count) : "a"(Pair) : "memory");
    if (N & 1) *End = Pixel;
    return;
  }
#endif
  for (int I = 0; I < N; ++I) Dst[I] = Pixel;
}

// Plain 16-byte loads and stores: the library's memmove picks string instructions for rows of
// this size, which some processors run several times slower for certain distances between
// source and destination.
KVL_HOT void CopySpan(const std::uint32_t* Src, std::uint32_t* Dst, int N) {
#if defined(__SSE2__)
  int I = 0;
  for (; I + 16 <= N; I += 16) {
    const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I));
    const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I + 4));
    const __m128i C = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I + 8));
    const __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I + 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + I), A);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + I + 4), B);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + I + 8), C);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + I + 12), D);
  }
  for (; I < N; ++I) Dst[I] = Src[I];
#else
  std::copy_n(Src, N, Dst);
#endif
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

namespace kvl::raster {

namespace {
// One channel at Shift: the destination scaled by the mask, plus the source, saturated.
inline std::uint32_t MaskedChannel(std::uint32_t S, std::uint32_t M, std::uint32_t D, int Shift) {
  const std::uint32_t Sc = S >> Shift & 0xFF, Mc = M >> Shift & 0xFF, Dc = D >> Shift & 0xFF;
  return std::min<std::uint32_t>(255, Dc * Mc / 255 + Sc) << Shift;
}

inline void MaskedPixel(std::uint32_t S, std::uint32_t M, std::uint32_t& D) {
  S &= 0xFFFFFF;
  M &= 0xFFFFFF;
  if (M == 0) {
    D = S;
  } else if (M != 0xFFFFFF || S != 0) {
    const std::uint32_t Old = D;
    D = MaskedChannel(S, M, Old, 16) | MaskedChannel(S, M, Old, 8) | MaskedChannel(S, M, Old, 0);
  }
}
}  // namespace

// Transparent output is mostly all-black mask (content: a copy) or all-white mask over a black
// source (background: nothing to do); four pixels at a time take those two ways, and only
// the rest (grey caption edges, ink over white mask) goes pixel by pixel.
KVL_HOT void MaskedSpan(const std::uint32_t* Src, const std::uint32_t* Mask, std::uint32_t* Dst,
                        int N) {
  const __m128i Rgb = _mm_set1_epi32(0x00FFFFFF);
  const __m128i Zero = _mm_setzero_si128();
  int I = 0;
  for (; I + 4 <= N; I += 4) {
    const __m128i M = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Mask + I)), Rgb);
    const __m128i S = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + I)), Rgb);
    const int White = _mm_movemask_epi8(_mm_cmpeq_epi32(M, Rgb));
    const int Black = _mm_movemask_epi8(_mm_cmpeq_epi32(M, Zero));
    if (Black == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + I), S);
    } else if (White == 0xFFFF && _mm_movemask_epi8(_mm_cmpeq_epi32(S, Zero)) == 0xFFFF) {
      continue;
    } else {
      for (int K = I; K < I + 4; ++K) MaskedPixel(Src[K], Mask[K], Dst[K]);
    }
  }
  for (; I < N; ++I) MaskedPixel(Src[I], Mask[I], Dst[I]);
}

}  // namespace kvl::raster
