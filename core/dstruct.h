// Data structures of the core library.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kvl/core/kvlbase.h"

namespace kvl {

// A resizable array of doubles, indexed from 0. Reads outside the array give 0 and writes
// outside it are ignored, like every indexed store of the library.
class TDoubleArray {
public:
  TDoubleArray() = default;
  explicit TDoubleArray(std::vector<double> Values) : FData(std::move(Values)) {}

  int GetNumElems() const { return static_cast<int>(FData.size()); }
  // New elements are 0; a negative count empties the array.
  void SetNumElems(int N) { FData.resize(N > 0 ? std::size_t(N) : 0); }
  bool Empty() const { return FData.empty(); }
  void Clear() { FData.clear(); }

  double GetElem(int I) const { return InRange(I) ? FData[std::size_t(I)] : 0.0; }
  void SetElem(int I, double V) {
    if (InRange(I)) FData[std::size_t(I)] = V;
  }
  void Add(double V) { FData.push_back(V); }

  const std::vector<double>& Values() const { return FData; }
  bool operator==(const TDoubleArray&) const = default;

private:
  bool InRange(int I) const { return I >= 0 && std::size_t(I) < FData.size(); }
  std::vector<double> FData;
};

// A table of text cells by column and row: the cell storage of the report data store.
//
// Columns run from 0 to GetNrCols() (column 0 is a real column); rows from 1 to GetNrRows()
// (there is no row 0). Reads outside the table give "" or 0 and writes outside it are ignored.
// A cell holds at most GetMaxCellLength() characters (255 unless set otherwise), counted in
// code points of UTF-8; longer text is cut on a character boundary.
//
// Rows are read and written in the order they are shown. Sort arranges that order as a
// permutation over the physical rows without moving cells; UnSort shows the physical order
// again and CommitSorting makes the shown order the physical one. Row attribute bytes belong
// to their row and move with it.
//
// Storage: every cell is a 16-byte record in one block laid out row by row. Texts of up to 15
// bytes live in the record itself; longer ones live in one text pool per table that is
// compacted when more than half of it has become unused. The block grows in multiples of the
// row-growth step, and by at least half its size, so that adding rows one by one stays linear.
// A row that leaves the table is cleared (cells empty, attribute 0) whatever capacity is kept,
// so a row that enters again is always empty.
//
// Growth that cannot be satisfied raises std::bad_alloc and leaves the table as it was.
//
// Sort order: stable (rows that compare equal keep the order they were shown in). Two cells
// that both read as numbers (ParseNumber) compare by value; numbers come before text; texts
// compare without regard to ASCII letter case ("a" to "z" count as "A" to "Z" lowered, other
// bytes as they are), by the byte order of UTF-8, which is code point order. Descending is the
// reverse order, equal rows still keeping theirs. The secondary column breaks ties the same way.
class TStringArray {
public:
  // Cell text longer than this many characters is never stored, whatever the set limit.
  static constexpr int MaxCellLengthLimit = 1024;

  TStringArray() noexcept;
  ~TStringArray();
  // Copies take cells, attributes, the shown order, the growth step and the length limit; the
  // hooks belong to the owner and stay those of the target (none for a new copy). Copy
  // assignment gives the strong guarantee.
  TStringArray(const TStringArray& Other);
  TStringArray& operator=(const TStringArray& Other);
  TStringArray(TStringArray&& Other) noexcept;
  TStringArray& operator=(TStringArray&& Other) noexcept;

  // Highest column index and number of rows.
  int GetNrCols() const { return FNrCols; }
  int GetNrRows() const { return FNrRows; }
  // Columns 0..NrCols and rows 1..NrRows exist afterwards; cells that stay keep their text.
  // Negative arguments count as 0. Rows leave and enter at the end of the shown order.
  void Resize(int NrCols, int NrRows);
  int GetAllocRowsBy() const { return FAllocRowsBy; }
  // Row-growth step, at least 1.
  void SetAllocRowsBy(int N);
  // Applies to later writes; 0..MaxCellLengthLimit.
  int GetMaxCellLength() const { return FMaxCellLength; }
  void SetMaxCellLength(int N);

  std::string GetString(int Col, int Row) const;
  // The same text without a copy; valid until the table next changes.
  std::string_view GetStringView(int Col, int Row) const;
  void SetString(int Col, int Row, std::string_view Text);
  // The cell's value when it reads as a number (ParseNumber), else 0.
  double GetAsNumber(int Col, int Row) const;
  // Whether S reads as a number, locale-independently: blanks (space, tab) around it, an
  // optional sign, decimal digits with at most one decimal separator ("." or ","), at least one
  // digit, an optional exponent ("e" or "E", optional sign, digits). "1,5" is 1.5; "1,234.5",
  // "0x1F", "inf" and "nan" are text. Values beyond the double range become infinities or 0.
  static bool ParseNumber(std::string_view S, double& X);

  std::uint8_t GetRowAttrib(int Row) const;
  void SetRowAttrib(int Row, std::uint8_t Attrib);
  std::uint8_t GetColAttrib(int Col) const;
  void SetColAttrib(int Col, std::uint8_t Attrib);

  // Inserts an empty row (attribute 0) before shown row Row, 1..NrRows + 1 (the latter
  // appends). In a sorted table it is stored physically before the row shown at Row.
  void InsertRow(int Row);
  // Removes shown row Row; the rows below move up.
  void RemoveRow(int Row);
  // Removes in one pass every shown row R whose Leaves[R - 1] is not 0 (rows beyond Leaves
  // stay); the others keep their shown order. Returns how many rows left.
  int RemoveRows(const std::vector<std::uint8_t>& Leaves);
  // Empties every cell; dimensions, attributes and the shown order stay.
  void Clear();

  // Arranges the shown order by column Col (0..NrCols; others do nothing) and, for ties, by
  // ColSec (-1 or any column outside the table: none). Before comparing, each row's text of
  // Col goes through OnBeforeSortExchange, whose result serves as the row's key for this sort
  // only; cells never change.
  void Sort(int Col, int ColSec, bool Ascending);
  void UnSort();
  void CommitSorting();
  // Physical position (1-based) of the row shown at Row; 0 outside the table.
  int GetSortOrder(int Row) const;
  // Shows physical row Position at Row. The row that showed Position before takes Row's old
  // physical row, so the order stays a permutation, and setting Row = 1..n in turn from
  // another table's GetSortOrder reproduces its order.
  void SetSortOrder(int Row, int Position);

  // Bytes held by this table's allocations (cells, text pool, order and attributes).
  std::size_t AllocatedBytes() const;

  // Hooks the owner may set. The table is no TObject, so Sender is always nullptr; owners
  // forward with themselves as Sender.
  // After cell contents change: SetString, Clear, InsertRow, RemoveRow, Resize.
  std::function<void()> OnChange;
  // Percent done during Sort and CommitSorting, ending with 100.
  TOnPercentDoneEvent OnPercentDone;
  // Once per row and Sort, with the primary cell's text as Key and as the ExchKey's start.
  TBeforeSortExchgEvent OnBeforeSortExchange;

private:
  // A cell: up to InlineMax bytes of text in place with their count in the tag byte, or the
  // offset and length of its text in the pool.
  struct TCell {
    static constexpr std::size_t InlineMax = 15, TagByte = 15;
    static constexpr unsigned char PooledTag = 0x80;
    unsigned char B[16];
    bool Pooled() const { return B[TagByte] == PooledTag; }
    std::size_t Length() const {
      if (!Pooled()) return B[TagByte];
      std::uint32_t L;
      std::memcpy(&L, B + 8, sizeof L);
      return L;
    }
    std::uint64_t Offset() const {
      std::uint64_t O;
      std::memcpy(&O, B, sizeof O);
      return O;
    }
    void SetPooled(std::uint64_t Offset, std::size_t Length) {
      const auto L = static_cast<std::uint32_t>(Length);
      std::memcpy(B, &Offset, sizeof Offset);
      std::memcpy(B + 8, &L, sizeof L);
      B[TagByte] = PooledTag;
    }
  };
  struct TFreeDeleter {
    void operator()(void* P) const noexcept;
  };
  using TCellBlock = std::unique_ptr<TCell[], TFreeDeleter>;
  using TCharBlock = std::unique_ptr<char[], TFreeDeleter>;

  static TCellBlock AllocCells(std::size_t Rows, std::size_t Stride);
  void SwapData(TStringArray& Other) noexcept;
  bool InTable(int Col, int Row) const {
    return Col >= 0 && Col <= FNrCols && Row >= 1 && Row <= FNrRows;
  }
  std::size_t Stride() const { return std::size_t(FNrCols) + 1; }
  TCell& CellAt(int Col, std::size_t Phys) { return FCells[Phys * Stride() + std::size_t(Col)]; }
  const TCell& CellAt(int Col, std::size_t Phys) const {
    return FCells[Phys * Stride() + std::size_t(Col)];
  }
  std::string_view CellText(const TCell& C) const;
  void ReleaseCell(TCell& C) noexcept;
  void ReleaseRow(std::size_t Phys) noexcept;
  void StoreText(TCell& C, std::string_view Text);
  void PoolReserve(std::size_t Len);
  void CompactPool(std::size_t NewCap);
  void TrimPool() noexcept;
  std::size_t GrownCapacity(std::size_t Rows) const;
  void ReserveRows(std::size_t Rows);
  void AppendRows(std::size_t Rows) noexcept;
  bool KeepsPhysicalPrefix(std::size_t Rows) const;
  void ShrinkRows(std::size_t Rows, std::vector<std::uint32_t>& Scratch) noexcept;
  void TrimCapacity() noexcept;
  void Relayout(int NrCols, std::size_t CapRows, TCellBlock Block) noexcept;
  void SwapRows(std::size_t A, std::size_t B) noexcept;
  void Progress(int Percent) const;
  void Changed() const;

  int FNrCols = 0;
  int FNrRows = 0;
  int FAllocRowsBy = 10;
  int FMaxCellLength = 255;
  TCellBlock FCells;
  std::size_t FCapRows = 0;
  TCharBlock FPool;
  std::size_t FPoolSize = 0, FPoolCap = 0, FPoolGarbage = 0;
  // FOrder[shown index] = physical index, both 0-based; FInverse is its inverse when valid.
  std::vector<std::uint32_t> FOrder;
  std::vector<std::uint32_t> FInverse;
  bool FInverseValid = false;
  std::vector<std::uint8_t> FRowAttr;  // by physical row
  std::vector<std::uint8_t> FColAttr;  // by column, up to the highest one set
};

// A field of bits numbered from 0, for selections over many items.
//
// Bits are held in 64-bit words; counting and searching go a word at a time. Reads outside the
// field give false and writes outside it are ignored, like every indexed store of the library.
// Shrinking clears the bits that leave, so a later growth never brings old bits back. A growth
// that cannot be satisfied raises std::bad_alloc and leaves the field as it was.
class TBitFld {
public:
  TBitFld() = default;

  // Bits 0 .. N - 1 exist afterwards; those that stay keep their value, new ones are false.
  // A negative size counts as 0.
  void SetSize(int N);
  int GetSize() const { return FSize; }
  // Every bit false.
  void Clear() noexcept;
  bool GetBit(int I) const noexcept {
    return InField(I) && (FWords[Word(I)] >> (unsigned(I) & 63u) & 1u) != 0;
  }
  void SetBit(int I, bool Value) noexcept;
  // Sets the bits from First to Last (either order), clipped to the field.
  void SetRange(int First, int Last, bool Value) noexcept;

  int CountTrueBits() const noexcept;
  // The lowest true bit, or -1 when there is none.
  int FirstTrueBit() const noexcept { return NextTrueBit(-1); }
  // The lowest true bit above After, or -1 when there is none.
  int NextTrueBit(int After) const noexcept;

private:
  bool InField(int I) const noexcept { return I >= 0 && I < FSize; }
  static std::size_t Word(int I) { return std::size_t(unsigned(I) >> 6); }

  std::vector<std::uint64_t> FWords;
  int FSize = 0;
};

}  // namespace kvl
