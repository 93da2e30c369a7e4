// TIntMatrix: resizing with the elements kept.
#include "kvl/core/matrix.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace kvl {

namespace {

std::size_t ElementCount(int NrCols, int NrRows, std::size_t Limit) {
  const std::uint64_t N = std::uint64_t(NrCols) * std::uint64_t(NrRows);
  if (N > Limit) throw std::bad_alloc();
  return std::size_t(N);
}

}  // namespace

void TIntMatrix::Resize(int NrCols, int NrRows) {
  NrCols = std::max(NrCols, 0);
  NrRows = std::max(NrRows, 0);
  if (NrCols == FNrCols && NrRows == FNrRows) return;
  const std::size_t Needed = ElementCount(NrCols, NrRows, FData.max_size());
  if (NrCols == FNrCols) {
    // Rows are added or dropped at the end: the elements stay where they are.
    if (Needed > FData.capacity())
      FData.reserve(std::max(Needed, FData.capacity() + FData.capacity() / 2));
    FData.resize(Needed, 0);  // within the capacity now: cannot fail
    FNrRows = NrRows;
    return;
  }
  // Another row length moves every kept element; build aside so a failure changes nothing.
  std::vector<int> Data(Needed, 0);
  const int KeepCols = std::min(NrCols, FNrCols), KeepRows = std::min(NrRows, FNrRows);
  for (int Row = 0; Row < KeepRows; ++Row) {
    const auto From = FData.begin() + std::ptrdiff_t(std::size_t(Row) * std::size_t(FNrCols));
    std::copy(From, From + KeepCols,
              Data.begin() + std::ptrdiff_t(std::size_t(Row) * std::size_t(NrCols)));
  }
  FData.swap(Data);
  FNrCols = NrCols;
  FNrRows = NrRows;
}

void TIntMatrix::Fill(int Value) { std::fill(FData.begin(), FData.end(), Value); }

}  // namespace kvl
