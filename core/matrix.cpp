// Matrices of doubles.
#include "kvl/core/matrix.h"

#include <algorithm>
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

}  // namespace kvl
