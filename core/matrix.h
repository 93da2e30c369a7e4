// Matrices of the numeric library.
#pragma once

#include <cstddef>
#include <vector>

namespace kvl {

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

}  // namespace kvl
