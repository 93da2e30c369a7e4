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

// An integer matrix by (column, row), both counted from 1. Reads outside the matrix give 0 and
// writes outside it are ignored; zero columns or rows are a legal, empty matrix and a negative
// size counts as 0.
//
// Elements lie row after row, so adding rows one at a time only appends; the storage grows by
// at least half its size each time it must grow, which keeps a long run of SetNRows(N + 1)
// linear. A size that cannot be allocated raises std::bad_alloc and leaves the matrix as it
// was.
class TIntMatrix {
public:
  TIntMatrix() = default;
  TIntMatrix(int NrCols, int NrRows) { Resize(NrCols, NrRows); }

  int GetNrCols() const { return FNrCols; }
  int GetNrRows() const { return FNrRows; }

  // The elements that stay inside keep their values; new ones are 0.
  void Resize(int NrCols, int NrRows);
  void SetNRows(int N) { Resize(FNrCols, N); }

  int GetVal(int Col, int Row) const { return Inside(Col, Row) ? FData[Index(Col, Row)] : 0; }
  void SetVal(int Col, int Row, int Value) {
    if (Inside(Col, Row)) FData[Index(Col, Row)] = Value;
  }
  void Fill(int Value);

private:
  bool Inside(int Col, int Row) const {
    return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= FNrRows;
  }
  std::size_t Index(int Col, int Row) const {
    return std::size_t(Row - 1) * std::size_t(FNrCols) + std::size_t(Col - 1);
  }

  int FNrCols = 0;
  int FNrRows = 0;
  std::vector<int> FData;  // exactly FNrCols * FNrRows elements in use
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
