// TStringArray: the shown order of the rows (sorting, unsorting, committing).
//
// A sort reads every key once: numbers are parsed into an order-preserving 64-bit integer,
// texts give their first eight case-folded bytes as a big-endian integer. Comparisons then
// work on these integers and only look at the texts again when two prefixes are equal.
#include <algorithm>
#include <bit>
#include <numeric>
#include <string>
#include <utility>

#include "kvl/core/dstruct.h"

namespace kvl {

namespace {

constexpr std::uint32_t TextFlag = 0x80000000u;
constexpr std::size_t PrefixBytes = 8;

unsigned char Fold(unsigned char C) { return C >= 'A' && C <= 'Z' ? C + ('a' - 'A') : C; }

// One row's key: Word orders numbers by value and texts by their first eight folded bytes;
// Meta has TextFlag for texts (numbers first) and the text's byte length.
struct TKey {
  std::uint64_t Word;
  std::uint32_t Meta;
};

// A row to sort: its key and its physical index, in 16 bytes.
struct TSortEntry {
  std::uint64_t Word;
  std::uint32_t Meta;
  std::uint32_t Phys;
};

bool IsText(const TSortEntry& E) { return E.Meta & TextFlag; }

// Stable LSD radix sort of A[0..N) by Word (by ~Word when Invert), 16 bits per pass; Tmp has
// room for N entries. Passes in which every entry has the same digit are skipped.
void RadixSortByWord(TSortEntry* A, TSortEntry* Tmp, std::size_t N, bool Invert) {
  constexpr std::size_t Buckets = 1 << 16;
  const auto WordOf = [Invert](const TSortEntry& E) { return Invert ? ~E.Word : E.Word; };
  if (N < 256) {
    std::stable_sort(
        A, A + N, [&](const TSortEntry& X, const TSortEntry& Y) { return WordOf(X) < WordOf(Y); });
    return;
  }
  std::vector<std::uint32_t> Counts(4 * Buckets);
  for (std::size_t I = 0; I < N; ++I) {
    const std::uint64_t W = WordOf(A[I]);
    for (int D = 0; D < 4; ++D) ++Counts[std::size_t(D) * Buckets + ((W >> (16 * D)) & 0xFFFF)];
  }
  TSortEntry *Src = A, *Dst = Tmp;
  for (int D = 0; D < 4; ++D) {
    std::uint32_t* C = Counts.data() + std::size_t(D) * Buckets;
    if (C[(WordOf(Src[0]) >> (16 * D)) & 0xFFFF] == N) continue;
    std::uint32_t Sum = 0;
    for (std::size_t B = 0; B < Buckets; ++B) Sum += std::exchange(C[B], Sum);
    for (std::size_t I = 0; I < N; ++I) Dst[C[(WordOf(Src[I]) >> (16 * D)) & 0xFFFF]++] = Src[I];
    std::swap(Src, Dst);
  }
  if (Src != A) std::copy(Src, Src + N, A);
}

TKey MakeKey(std::string_view T) {
  double X;
  if (TStringArray::ParseNumber(T, X)) {
    if (X == 0) X = 0;  // -0 and 0 are the same number
    const auto Bits = std::bit_cast<std::uint64_t>(X);
    return {Bits >> 63 ? ~Bits : Bits | (std::uint64_t(1) << 63), 0};
  }
  std::uint64_t W = 0;
  const std::size_t N = std::min(T.size(), PrefixBytes);
  for (std::size_t I = 0; I < N; ++I)
    W |= std::uint64_t(Fold(static_cast<unsigned char>(T[I]))) << (56 - 8 * I);
  const auto Len = static_cast<std::uint32_t>(std::min<std::size_t>(T.size(), ~TextFlag));
  return {W, TextFlag | Len};
}

int CompareFolded(std::string_view A, std::string_view B, std::size_t From) {
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = From; I < N; ++I) {
    const unsigned char X = Fold(static_cast<unsigned char>(A[I]));
    const unsigned char Y = Fold(static_cast<unsigned char>(B[I]));
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

// TextA and TextB give the full texts; they are only called when the prefixes are equal.
// K is TKey or TSortEntry.
template <class K, class FA, class FB>
int CompareKeys(const K& A, const K& B, FA TextA, FB TextB) {
  if ((A.Meta ^ B.Meta) & TextFlag) return A.Meta & TextFlag ? 1 : -1;
  if (A.Word != B.Word) return A.Word < B.Word ? -1 : 1;
  if (!(A.Meta & TextFlag)) return 0;
  const std::uint32_t LA = A.Meta & ~TextFlag, LB = B.Meta & ~TextFlag;
  if (LA <= PrefixBytes && LB <= PrefixBytes) return LA < LB ? -1 : LA > LB ? 1 : 0;
  return CompareFolded(TextA(), TextB(), std::min<std::size_t>({LA, LB, PrefixBytes}));
}

}  // namespace

void TStringArray::Sort(int Col, int ColSec, bool Ascending) {
  if (Col < 0 || Col > FNrCols) return;
  if (ColSec < 0 || ColSec > FNrCols || ColSec == Col) ColSec = -1;
  const std::size_t N = std::size_t(FNrRows);
  Progress(0);
  std::vector<TSortEntry> Entries(N);
  std::vector<TKey> SecKeys(ColSec >= 0 ? N : 0);                   // by physical row
  std::vector<std::string> ExchKeys(OnBeforeSortExchange ? N : 0);  // by physical row
  const std::size_t Step = N / 90 + 1;
  for (std::size_t I = 0; I < N; ++I) {
    const std::uint32_t P = FOrder[I];
    std::string_view T = CellText(CellAt(Col, P));
    if (OnBeforeSortExchange) {
      const std::string Key(T);
      ExchKeys[P] = Key;
      OnBeforeSortExchange(nullptr, Key, ExchKeys[P]);
      T = ExchKeys[P];
    }
    const TKey Key = MakeKey(T);
    Entries[I] = {Key.Word, Key.Meta, P};
    if (ColSec >= 0) SecKeys[P] = MakeKey(CellText(CellAt(ColSec, P)));
    if ((I + 1) % Step == 0) Progress(int((I + 1) * 90 / N));
  }

  const auto PrimaryText = [&](std::uint32_t P) {
    return ExchKeys.empty() ? CellText(CellAt(Col, P)) : std::string_view(ExchKeys[P]);
  };
  const auto Compare = [&](const TSortEntry& A, const TSortEntry& B) {
    int C = CompareKeys(
        A, B, [&] { return PrimaryText(A.Phys); }, [&] { return PrimaryText(B.Phys); });
    if (C == 0 && ColSec >= 0)
      C = CompareKeys(
          SecKeys[A.Phys], SecKeys[B.Phys], [&] { return CellText(CellAt(ColSec, A.Phys)); },
          [&] { return CellText(CellAt(ColSec, B.Phys)); });
    return C;
  };
  const auto Before = [&](const TSortEntry& A, const TSortEntry& B) {
    return Ascending ? Compare(A, B) < 0 : Compare(B, A) < 0;
  };

  // Numbers before texts (after them when descending), each group by its words, stably; then
  // runs of equal words are put in order by the full comparison.
  std::vector<TSortEntry> Tmp(N);
  const bool TextsFirst = !Ascending;
  std::size_t First = 0;
  for (const auto& E : Entries) First += IsText(E) == TextsFirst;
  for (std::size_t I = 0, A = 0, B = First; I < N; ++I)
    Tmp[IsText(Entries[I]) == TextsFirst ? A++ : B++] = Entries[I];
  Entries.swap(Tmp);
  RadixSortByWord(Entries.data(), Tmp.data(), First, !Ascending);
  RadixSortByWord(Entries.data() + First, Tmp.data(), N - First, !Ascending);
  for (std::size_t I = 0; I < N;) {
    std::size_t J = I + 1;
    while (J < N && Entries[J].Word == Entries[I].Word && IsText(Entries[J]) == IsText(Entries[I]))
      ++J;
    if (J - I > 1 && (IsText(Entries[I]) || ColSec >= 0))
      std::stable_sort(Entries.begin() + std::ptrdiff_t(I), Entries.begin() + std::ptrdiff_t(J),
                       Before);
    I = J;
  }

  for (std::size_t I = 0; I < N; ++I) FOrder[I] = Entries[I].Phys;
  FInverseValid = false;
  Progress(100);
}

void TStringArray::UnSort() {
  std::iota(FOrder.begin(), FOrder.end(), std::uint32_t(0));
  FInverseValid = false;
}

void TStringArray::SwapRows(std::size_t A, std::size_t B) noexcept {
  std::swap_ranges(FCells.get() + A * Stride(), FCells.get() + (A + 1) * Stride(),
                   FCells.get() + B * Stride());
  std::swap(FRowAttr[A], FRowAttr[B]);
}

void TStringArray::CommitSorting() {
  const std::size_t N = std::size_t(FNrRows);
  Progress(0);
  // Follows each cycle of the permutation, putting one row in place per swap.
  const std::size_t Step = N / 100 + 1;
  for (std::size_t I = 0; I < N; ++I) {
    std::size_t J = I;
    for (;;) {
      const std::size_t K = FOrder[J];
      FOrder[J] = static_cast<std::uint32_t>(J);
      if (K == I) break;
      SwapRows(J, K);
      J = K;
    }
    if ((I + 1) % Step == 0) Progress(int((I + 1) * 100 / N));
  }
  FInverseValid = false;
  if (N % Step != 0 || N == 0) Progress(100);
}

int TStringArray::GetSortOrder(int Row) const {
  if (Row < 1 || Row > FNrRows) return 0;
  return int(FOrder[std::size_t(Row - 1)]) + 1;
}

void TStringArray::SetSortOrder(int Row, int Position) {
  if (Row < 1 || Row > FNrRows || Position < 1 || Position > FNrRows) return;
  if (!FInverseValid) {
    FInverse.resize(FOrder.size());
    for (std::size_t I = 0; I < FOrder.size(); ++I)
      FInverse[FOrder[I]] = static_cast<std::uint32_t>(I);
    FInverseValid = true;
  }
  const auto I = static_cast<std::uint32_t>(Row - 1), P = static_cast<std::uint32_t>(Position - 1);
  const std::uint32_t J = FInverse[P], Q = FOrder[I];
  if (J == I) return;
  FOrder[I] = P;
  FOrder[J] = Q;
  FInverse[P] = I;
  FInverse[Q] = J;
}

}  // namespace kvl
