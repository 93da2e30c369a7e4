// TDataTable: stable sorts of a block by values, names or attributes, applied by swaps that
// are reported one by one.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "kvl/core/datatable.h"

namespace kvl {

namespace {

// Orders by the numbers Key reads (true when there is one): numbers first, in the wanted
// direction; what is no number keeps its place among the rest.
template <class TKey>
auto NumbersFirst(TKey Key, bool Ascending) {
  return [Key, Ascending](int A, int B) {
    double VA, VB;
    const bool NA = Key(A, VA), NB = Key(B, VB);
    if (NA != NB) return NA;
    if (!NA) return false;
    return Ascending ? VA < VB : VB < VA;
  };
}

struct TBlock {
  int LowCol, LowRow, HighCol, HighRow;
};

TBlock Clamped(int LowCol, int LowRow, int HighCol, int HighRow, int NC, int NR) {
  return {std::max(LowCol, 1), std::max(LowRow, 1), std::min(HighCol, NC), std::min(HighRow, NR)};
}

char LowerAscii(char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; }

// Byte order of UTF-8 is code point order; the unsigned compare keeps it.
bool NameLess(const std::string& A, const std::string& B, bool IgnoreCase) {
  return std::lexicographical_compare(
      A.begin(), A.end(), B.begin(), B.end(), [IgnoreCase](char X, char Y) {
        if (IgnoreCase) {
          X = LowerAscii(X);
          Y = LowerAscii(Y);
        }
        return static_cast<unsigned char>(X) < static_cast<unsigned char>(Y);
      });
}

}  // namespace

void TDataTable::SwapRows(int R1, int R2, int LowCol, int HighCol, bool Headers) {
  for (int C = LowCol; C <= HighCol; ++C) {
    std::swap(FMat.Values()[FMat.Index(C, R1)], FMat.Values()[FMat.Index(C, R2)]);
    std::swap(FStates[FMat.Index(C, R1)], FStates[FMat.Index(C, R2)]);
  }
  if (!Headers) return;
  std::swap(FRowNames[R1 - 1], FRowNames[R2 - 1]);
  std::swap(FRowAttribs[R1 - 1], FRowAttribs[R2 - 1]);
}

void TDataTable::SwapCols(int C1, int C2, int LowRow, int HighRow, bool Headers) {
  for (int R = LowRow; R <= HighRow; ++R) {
    std::swap(FMat.Values()[FMat.Index(C1, R)], FMat.Values()[FMat.Index(C2, R)]);
    std::swap(FStates[FMat.Index(C1, R)], FStates[FMat.Index(C2, R)]);
  }
  if (!Headers) return;
  std::swap(FColNames[C1 - 1], FColNames[C2 - 1]);
  std::swap(FColAttribs[C1 - 1], FColAttribs[C2 - 1]);
  std::swap(FScaleTypes[C1 - 1], FScaleTypes[C2 - 1]);
  std::swap(FNominal[C1 - 1], FNominal[C2 - 1]);
}

void TDataTable::ApplySort(bool Columns, int Lo, int Hi, const std::function<bool(int, int)>& Less,
                           const std::function<void(int, int)>& Swap) {
  if (Lo >= Hi) return;
  const int N = Hi - Lo + 1;
  PercentDone.Fire(this, 0);
  // Order[i]: the index that goes to place Lo + i.
  std::vector<int> Order(static_cast<std::size_t>(N));
  std::iota(Order.begin(), Order.end(), Lo);
  std::stable_sort(Order.begin(), Order.end(), Less);
  // At[k]: where the item first at Lo + k is now; Item[p]: which item is at place Lo + p.
  std::vector<int> At(static_cast<std::size_t>(N)), Item(static_cast<std::size_t>(N));
  std::iota(At.begin(), At.end(), 0);
  std::iota(Item.begin(), Item.end(), 0);
  int NextReport = 5;
  for (int P = 0; P < N; ++P) {
    const int Want = Order[std::size_t(P)] - Lo;
    const int From = At[std::size_t(Want)];
    if (From != P) {
      Swap(Lo + P, Lo + From);
      SortExchange.Fire(this, Columns, Lo + P, Lo + From);
      const int Displaced = Item[std::size_t(P)];
      std::swap(Item[std::size_t(P)], Item[std::size_t(From)]);
      At[std::size_t(Want)] = P;
      At[std::size_t(Displaced)] = From;
    }
    // Progress in steps of 5 %, whatever the number of swaps.
    const int Percent = int(std::int64_t(P + 1) * 100 / N);
    if (Percent >= NextReport && Percent < 100) {
      PercentDone.Fire(this, Percent);
      NextReport = Percent / 5 * 5 + 5;
    }
  }
  PercentDone.Fire(this, 100);
}

void TDataTable::SortRows(int SortCol, bool Ascending, int LowCol, int LowRow, int HighCol,
                          int HighRow, bool IncludeHeaders) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (!ColOk(SortCol) || B.LowCol > B.HighCol || B.LowRow >= B.HighRow) return;
  const auto Key = [&](int R, double& V) {
    V = GetElem(SortCol, R);
    return GetIsNumber(SortCol, R) && !std::isnan(V);
  };
  ApplySort(
      false, B.LowRow, B.HighRow,
      NumbersFirst(Key, Ascending),
      [&](int R1, int R2) { SwapRows(R1, R2, B.LowCol, B.HighCol, IncludeHeaders); });
  if (IncludeHeaders) FireSetup();
  FireChanged();
}

void TDataTable::SortCols(int SortRow, bool Ascending, int LowCol, int LowRow, int HighCol,
                          int HighRow, bool IncludeHeaders) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (!RowOk(SortRow) || B.LowRow > B.HighRow || B.LowCol >= B.HighCol) return;
  const auto Key = [&](int C, double& V) {
    V = GetElem(C, SortRow);
    return GetIsNumber(C, SortRow) && !std::isnan(V);
  };
  ApplySort(
      true, B.LowCol, B.HighCol,
      NumbersFirst(Key, Ascending),
      [&](int C1, int C2) { SwapCols(C1, C2, B.LowRow, B.HighRow, IncludeHeaders); });
  if (IncludeHeaders) FireSetup();
  FireChanged();
}

void TDataTable::SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow,
                              int HighCol, int HighRow) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (B.LowRow >= B.HighRow) return;
  ApplySort(
      false, B.LowRow, B.HighRow,
      [&](int A, int Bx) {
        const std::string &NA = FRowNames[A - 1], &NB = FRowNames[Bx - 1];
        return Ascending ? NameLess(NA, NB, IgnoreCase) : NameLess(NB, NA, IgnoreCase);
      },
      [&](int R1, int R2) { SwapRows(R1, R2, B.LowCol, B.HighCol, true); });
  FireSetup();
  FireChanged();
}

void TDataTable::SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow,
                              int HighCol, int HighRow) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (B.LowCol >= B.HighCol) return;
  ApplySort(
      true, B.LowCol, B.HighCol,
      [&](int A, int Bx) {
        const std::string &NA = FColNames[A - 1], &NB = FColNames[Bx - 1];
        return Ascending ? NameLess(NA, NB, IgnoreCase) : NameLess(NB, NA, IgnoreCase);
      },
      [&](int C1, int C2) { SwapCols(C1, C2, B.LowRow, B.HighRow, true); });
  FireSetup();
  FireChanged();
}

void TDataTable::SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol,
                                   int HighRow) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (B.LowRow >= B.HighRow) return;
  ApplySort(
      false, B.LowRow, B.HighRow,
      [&](int A, int Bx) {
        return Ascending ? FRowAttribs[A - 1] < FRowAttribs[Bx - 1]
                         : FRowAttribs[Bx - 1] < FRowAttribs[A - 1];
      },
      [&](int R1, int R2) { SwapRows(R1, R2, B.LowCol, B.HighCol, true); });
  FireSetup();
  FireChanged();
}

void TDataTable::SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol,
                                   int HighRow) {
  const TBlock B = Clamped(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
  if (B.LowCol >= B.HighCol) return;
  ApplySort(
      true, B.LowCol, B.HighCol,
      [&](int A, int Bx) {
        return Ascending ? FColAttribs[A - 1] < FColAttribs[Bx - 1]
                         : FColAttribs[Bx - 1] < FColAttribs[A - 1];
      },
      [&](int C1, int C2) { SwapCols(C1, C2, B.LowRow, B.HighRow, true); });
  FireSetup();
  FireChanged();
}

}  // namespace kvl
