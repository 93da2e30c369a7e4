// TBitFld: sizing and the word-wise range, count and search operations.
#include <algorithm>
#include <bit>

#include "kvl/core/dstruct.h"

namespace kvl {

namespace {

// Bits Lo .. Hi (0 .. 63, Lo <= Hi) of a word.
std::uint64_t Span(unsigned Lo, unsigned Hi) {
  const std::uint64_t Upper = Hi == 63 ? ~std::uint64_t(0) : (std::uint64_t(1) << (Hi + 1)) - 1;
  return Upper & ~((std::uint64_t(1) << Lo) - 1);
}

}  // namespace

void TBitFld::SetSize(int N) {
  if (N < 0) N = 0;
  const std::size_t Words = (std::size_t(N) + 63) / 64;
  // resize gives the strong guarantee for plain words: a failed growth changes nothing.
  FWords.resize(Words, 0);
  if (N < FSize && (N & 63) != 0) FWords.back() &= Span(0, unsigned(N & 63) - 1);
  FSize = N;
}

void TBitFld::Clear() noexcept { std::fill(FWords.begin(), FWords.end(), 0); }

void TBitFld::SetBit(int I, bool Value) noexcept {
  if (!InField(I)) return;
  const std::uint64_t M = std::uint64_t(1) << (unsigned(I) & 63u);
  if (Value)
    FWords[Word(I)] |= M;
  else
    FWords[Word(I)] &= ~M;
}

void TBitFld::SetRange(int First, int Last, bool Value) noexcept {
  if (First > Last) std::swap(First, Last);
  First = std::max(First, 0);
  Last = std::min(Last, FSize - 1);
  if (First > Last) return;
  const std::size_t W0 = Word(First), W1 = Word(Last);
  const auto Apply = [&](std::size_t W, std::uint64_t M) {
    if (Value)
      FWords[W] |= M;
    else
      FWords[W] &= ~M;
  };
  const unsigned Lo = unsigned(First) & 63u, Hi = unsigned(Last) & 63u;
  if (W0 == W1) {
    Apply(W0, Span(Lo, Hi));
    return;
  }
  Apply(W0, Span(Lo, 63));
  std::fill(FWords.begin() + std::ptrdiff_t(W0 + 1), FWords.begin() + std::ptrdiff_t(W1),
            Value ? ~std::uint64_t(0) : 0);
  Apply(W1, Span(0, Hi));
}

int TBitFld::CountTrueBits() const noexcept {
  // Bits beyond the size are always false, so whole words can be counted.
  long long N = 0;
  for (const std::uint64_t W : FWords) N += std::popcount(W);
  return int(N);
}

int TBitFld::NextTrueBit(int After) const noexcept {
  if (After < -1) After = -1;
  if (After >= FSize - 1) return -1;
  const int From = After + 1;
  std::size_t W = Word(From);
  std::uint64_t Bits = FWords[W] & ~((std::uint64_t(1) << (unsigned(From) & 63u)) - 1);
  while (Bits == 0) {
    if (++W == FWords.size()) return -1;
    Bits = FWords[W];
  }
  return int(W * 64 + unsigned(std::countr_zero(Bits)));
}

}  // namespace kvl
