// Matrices of the numeric library, indexed by (column, row) from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvl {

// Counts a matrix or a numeric table accepts; a request beyond them raises std::bad_alloc.
inline constexpr int MaxMatrixDim = 1'000'000;
inline constexpr std::int64_t MaxMatrixCells = 100'000'000;

// Raises std::bad_alloc when the counts are negative, above MaxMatrixDim, or their product is
// above MaxMatrixCells.
void CheckMatrixSize(int NrCols, int NrRows);

// A matrix of doubles stored row by row. Reads outside it give 0, writes outside are ignored.
class TMatrix {
public:
  TMatrix() = default;
  TMatrix(int NrCols, int NrRows) { Resize(NrCols, NrRows); }

  int GetNrCols() const { return FNrCols; }
  int GetNrRows() const { return FNrRows; }
  // Keeps the values that stay; new ones are 0. Beyond the limits, or when memory runs out,
  // raises std::bad_alloc and keeps the matrix as it was.
  void Resize(int NrCols, int NrRows);

  double GetVal(int Col, int Row) const { return InRange(Col, Row) ? FData[Index(Col, Row)] : 0.0; }
  void SetVal(int Col, int Row, double Value) {
    if (InRange(Col, Row)) FData[Index(Col, Row)] = Value;
  }
  void Fill(double Value);

  bool InRange(int Col, int Row) const {
    return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= FNrRows;
  }
  // Position of an element in the storage; only for indexes in range.
  std::size_t Index(int Col, int Row) const {
    return std::size_t(Row - 1) * std::size_t(FNrCols) + std::size_t(Col - 1);
  }
  std::vector<double>& Values() { return FData; }
  const std::vector<double>& Values() const { return FData; }

  bool operator==(const TMatrix&) const = default;

private:
  // The table reshapes the storage itself and then sets the counts to match.
  friend class TDataTable;
  void SetCounts(int NrCols, int NrRows) {
    FNrCols = NrCols;
    FNrRows = NrRows;
  }
  int FNrCols = 0, FNrRows = 0;
  std::vector<double> FData;
};

// Resizes a row-by-row store of NC x NR elements to NewNC x NewNR, keeping what stays and
// filling the rest with Fill. The result is built aside, so a failure changes nothing.
template <class T>
std::vector<T> ResizedGrid(const std::vector<T>& Old, int NC, int NR, int NewNC, int NewNR,
                           T Fill) {
  std::vector<T> New(std::size_t(NewNC) * std::size_t(NewNR), Fill);
  const int KC = NC < NewNC ? NC : NewNC, KR = NR < NewNR ? NR : NewNR;
  for (int R = 0; R < KR; ++R)
    for (int C = 0; C < KC; ++C)
      New[std::size_t(R) * std::size_t(NewNC) + std::size_t(C)] =
          Old[std::size_t(R) * std::size_t(NC) + std::size_t(C)];
  return New;
}

}  // namespace kvl
