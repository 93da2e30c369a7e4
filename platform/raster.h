// Span primitives on rows of 0x00RRGGBB pixels: the inner loops every fill, line and copy
// runs through. They are built at -O3 so that the loops vectorise.
#pragma once

#include <cstdint>

#include "kvl/platform/graphics.h"

// g++ 12 does not vectorise loops at -O2, so the hottest loops ask for -O3 on their own;
// clang vectorises at -O2 already and does not know the attribute.
#if defined(__GNUC__) && !defined(__clang__)
#define KVL_HOT __attribute__((optimize("O3")))
#else
#define KVL_HOT
#endif

namespace kvl::raster {

// Pen (P) combined with the destination (D) on the 24 colour bits; the top byte stays 0.
constexpr std::uint32_t Combine(TPenMode Mode, std::uint32_t P, std::uint32_t D) {
  std::uint32_t R = 0;
  switch (Mode) {
    case pmBlack: R = 0; break;
    case pmWhite: R = 0xFFFFFF; break;
    case pmNop: R = D; break;
    case pmNot: R = ~D; break;
    case pmCopy: R = P; break;
    case pmNotCopy: R = ~P; break;
    case pmMergePenNot: R = P | ~D; break;
    case pmMaskPenNot: R = P & ~D; break;
    case pmMergeNotPen: R = ~P | D; break;
    case pmMaskNotPen: R = ~P & D; break;
    case pmMerge: R = P | D; break;
    case pmNotMerge: R = ~(P | D); break;
    case pmMask: R = P & D; break;
    case pmNotMask: R = ~(P & D); break;
    case pmXor: R = P ^ D; break;
    case pmNotXor: R = ~(P ^ D); break;
  }
  return R & 0x00FFFFFF;
}

// Sets N pixels to Pixel.
void FillSpan(std::uint32_t* Dst, int N, std::uint32_t Pixel);
// Copies N pixels between rows that do not overlap.
void CopySpan(const std::uint32_t* Src, std::uint32_t* Dst, int N);
// Combines N pixels with Pixel under Mode (FillSpan for pmCopy).
void ModeSpan(std::uint32_t* Dst, int N, std::uint32_t Pixel, TPenMode Mode);

// Dst = min(255, Dst * M / 255 + Src) per channel, M being the mask pixel's channel.
void MaskedSpan(const std::uint32_t* Src, const std::uint32_t* Mask, std::uint32_t* Dst, int N);

}  // namespace kvl::raster
