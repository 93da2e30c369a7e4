// Matrices of doubles and of integers: resizing with the elements kept.
#include "kvl/core/matrix.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace kvl {

void CheckMatrixSize(int NrCols, int NrRows) {
  if (NrCols < 0 || NrRows < 0 || NrCols > MaxMatrixDim || NrRows > MaxMatrixDim ||
      std::int64_t(NrCols) * NrRows > MaxMatrixCells)
    throw std::bad_alloc();
}

void TMatrix::Resize(int NrCols, int NrRows) {
  CheckMatrixSize(NrCols, NrRows);
  if (NrCols == FNrCols && NrRows == FNrRows) return;
  FData = ResizedGrid(FData, FNrCols, FNrRows, NrCols, NrRows, 0.0);
  FNrCols = NrCols;
  FNrRows = NrRows;
}

void TMatrix::Fill(double Value) { std::fill(FData.begin(), FData.end(), Value); }

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
  // Another row length moves every kept element; built aside, so a failure changes nothing.
  FData = ResizedGrid(FData, FNrCols, FNrRows, NrCols, NrRows, 0);
  FNrCols = NrCols;
  FNrRows = NrRows;
}

void TIntMatrix::Fill(int Value) { std::fill(FData.begin(), FData.end(), Value); }

}  // namespace kvl
