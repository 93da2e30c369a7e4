// TDataTable: a numeric table with a state byte per cell, named rows and columns with an
// attribute byte each, a measurement-scale type and nominal IDs per column, and a comment.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/core/matrix.h"
#include "kvl/platform/classes.h"

namespace kvl {

// Bits of a cell's state byte.
inline constexpr std::uint8_t csNoNumber = 0x01;
inline constexpr std::uint8_t csEmpty = 0x02;
inline constexpr std::uint8_t csMarkA = 0x40;
inline constexpr std::uint8_t csMarkB = 0x80;

// Nominal IDs exist for codes 1 .. MaxNominalCode and hold at most MaxNominalIDLength
// characters.
inline constexpr int MaxNominalCode = 150;
inline constexpr int MaxNominalIDLength = 10;

// Measurement scales of a column; 1 and 2 are nominal. A byte above 5 counts as numeric.
inline constexpr std::array<std::string_view, 6> MScaleTypeNames = {
    "undefined", "nominal", "binary", "ordinal", "interval", "ratio"};
// The name of a scale type; one above 5 takes the name of type 0.
std::string_view MScaleTypeName(std::uint8_t ScaleType);
inline bool IsNominalScale(std::uint8_t ScaleType) { return ScaleType == 1 || ScaleType == 2; }

// A list of listeners to one notification. Each party attaches its own and detaches only its
// own by the number Attach gave; a listener may detach itself or another while it is called.
template <class... Args>
class TListeners {
public:
  using TFn = std::function<void(Args...)>;
  int Attach(TFn F) {
    FItems.push_back({++FLastId, std::make_shared<TFn>(std::move(F))});
    return FLastId;
  }
  void Detach(int Id) {
    std::erase_if(FItems, [Id](const TItem& I) { return I.Id == Id; });
  }
  int Count() const { return static_cast<int>(FItems.size()); }
  void Fire(Args... A) const {
    if (FItems.empty()) return;
    if (FItems.size() == 1) {
      const auto Keep = FItems.front().Fn;
      (*Keep)(A...);
      return;
    }
    const std::vector<TItem> Snapshot = FItems;
    for (const TItem& I : Snapshot)
      if (IsAttached(I.Id)) (*I.Fn)(A...);
  }

private:
  struct TItem {
    int Id;
    std::shared_ptr<TFn> Fn;
  };
  bool IsAttached(int Id) const {
    for (const TItem& I : FItems)
      if (I.Id == Id) return true;
    return false;
  }
  std::vector<TItem> FItems;
  int FLastId = 0;
};

// Columns and rows run from 1. Reads outside the table give 0, "" or state 0; writes outside
// it are ignored. Counts are 0 .. MaxMatrixDim each with at most MaxMatrixCells cells; a
// request beyond that, or a failed allocation, raises std::bad_alloc and leaves the table as
// it was. Rows and columns the table creates are named "R-n" and "C-n" after their index.
class TDataTable : public TComponent {
public:
  explicit TDataTable(TComponent* AOwner, int NrCols = 0, int NrRows = 0);

  int GetNrOfColumns() const { return FMat.GetNrCols(); }
  int GetNrOfRows() const { return FMat.GetNrRows(); }
  void Resize(int NrCols, int NrRows);

  // --- values and states
  double GetElem(int Col, int Row) const { return FMat.GetVal(Col, Row); }
  // The value only; the state byte stays.
  void SetElem(int Col, int Row, double Value);
  // The underlying matrix; writing to it notifies nobody.
  TMatrix& GetMatrix() { return FMat; }
  const TMatrix& GetMatrix() const { return FMat; }
  std::uint8_t GetCellState(int Col, int Row) const {
    return FMat.InRange(Col, Row) ? FStates[FMat.Index(Col, Row)] : 0;
  }
  void SetCellState(int Col, int Row, std::uint8_t State);
  // Value and state at once without a notification, for loops that notify once at their end
  // (NotifyContentsChanged). Ignored outside the table.
  void WriteCell(int Col, int Row, double Value, std::uint8_t State) {
    if (!FMat.InRange(Col, Row)) return;
    FMat.Values()[FMat.Index(Col, Row)] = Value;
    FStates[FMat.Index(Col, Row)] = State;
  }
  void NotifyContentsChanged() { FireChanged(); }
  // Neither "no number" nor "empty"; false outside the table.
  bool GetIsNumber(int Col, int Row) const {
    return FMat.InRange(Col, Row) && (FStates[FMat.Index(Col, Row)] & (csNoNumber | csEmpty)) == 0;
  }
  void InvertCellStates(std::uint8_t Mask);
  void ExchangeMarkings();
  void UnmarkAllCells();
  // Fills every cell whose state has a bit of Mask, clears its "no number" and "empty" bits
  // and keeps its marks; returns the count.
  int FillMarkedCells(double Value, std::uint8_t Mask);
  // Each state of the block (clamped to the table) becomes ((s & ~Clear) | Set) ^ Toggle.
  void ModifyStates(int LowCol, int LowRow, int HighCol, int HighRow, std::uint8_t Clear,
                    std::uint8_t Set, std::uint8_t Toggle);
  // Values and states of the block become 0.
  void ZeroBlock(int LowCol, int LowRow, int HighCol, int HighRow);
  int CountStates(std::uint8_t Mask) const;

  // --- headings
  TDTNameStr GetColName(int Col) const { return ColOk(Col) ? FColNames[Col - 1] : TDTNameStr(); }
  void SetColName(int Col, std::string_view Name);
  TDTNameStr GetRowName(int Row) const { return RowOk(Row) ? FRowNames[Row - 1] : TDTNameStr(); }
  void SetRowName(int Row, std::string_view Name);
  std::uint8_t GetColAttrib(int Col) const { return ColOk(Col) ? FColAttribs[Col - 1] : 0; }
  void SetColAttrib(int Col, std::uint8_t Attrib);
  std::uint8_t GetRowAttrib(int Row) const { return RowOk(Row) ? FRowAttribs[Row - 1] : 0; }
  void SetRowAttrib(int Row, std::uint8_t Attrib);

  // --- structure
  void InsertRow(int Row);        // 1 .. rows + 1
  void InsertColumn(int Col);     // 1 .. columns + 1
  void RemoveRow(int Row);        // 1 .. rows
  void RemoveColumn(int Col);     // 1 .. columns
  void MirrorRows();
  void MirrorColumns();
  // Zeroes values, states and attributes and empties the names; keeps the counts, the
  // comment, the scale types and the nominal IDs.
  void Clear();

  // --- comment and scales
  const std::string& GetFComment() const { return FComment; }
  void SetFComment(std::string_view Text);
  std::uint8_t GetMScaleType(int Col) const { return ColOk(Col) ? FScaleTypes[Col - 1] : 0; }
  void SetMScaleType(int Col, std::uint8_t ScaleType);
  std::string GetNominalID(int Col, int Code) const;
  void SetNominalID(int Col, int Code, std::string_view ID);
  // The code (> 0) whose ID equals Text, ASCII letter case ignored when asked; else 0.
  int OrdinalOfNominalID(int Col, std::string_view Text, bool IgnoreCase) const;
  // Whether the column holds any nominal ID.
  bool HasNominalIDs(int Col) const { return ColOk(Col) && FNominal[Col - 1] != nullptr; }

  // --- sorting (stable; cells that are not numbers and NaN come last both ways). Ranges are
  // clamped to the table. Every exchange of two rows or columns is reported.
  void SortRows(int SortCol, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortCols(int SortRow, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                    int HighRow);
  void SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                    int HighRow);
  void SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);

  // Deep copy of everything the table holds (strong guarantee).
  void CopyFrom(const TDataTable& Source);
  void Assign(const TPersistent* Source) override;

  // Bytes the values, states and headings hold.
  std::size_t AllocatedBytes() const;

  // Notifications. Sender is the table.
  TListeners<TObject*> ContentsChanged;
  TListeners<TObject*> SetupChanged;
  TListeners<TObject*, int> PercentDone;
  // Old columns, old rows, new columns, new rows; fired before contents changed.
  TListeners<TObject*, int, int, int, int> Resized;
  // Whether columns (else rows) were exchanged, and the two indexes.
  TListeners<TObject*, bool, int, int> SortExchange;

private:
  using TNominalIDs = std::array<std::string, MaxNominalCode>;
  bool ColOk(int Col) const { return Col >= 1 && Col <= GetNrOfColumns(); }
  // Cuts a block of cells to the table; false when nothing of it is left.
  bool ClipBlock(int& LowCol, int& LowRow, int& HighCol, int& HighRow) const;
  bool RowOk(int Row) const { return Row >= 1 && Row <= GetNrOfRows(); }
  void FireChanged() { ContentsChanged.Fire(this); }
  void FireSetup() { SetupChanged.Fire(this); }
  void FireResized(int OC, int OR) {
    Resized.Fire(this, OC, OR, GetNrOfColumns(), GetNrOfRows());
  }
  void SwapRows(int R1, int R2, int LowCol, int HighCol, bool Headers);
  void SwapCols(int C1, int C2, int LowRow, int HighRow, bool Headers);
  // Sorts the indexes Lo .. Hi by Less and applies the order by reported swaps.
  void ApplySort(bool Columns, int Lo, int Hi, const std::function<bool(int, int)>& Less,
                 const std::function<void(int, int)>& Swap);

  TMatrix FMat;
  std::vector<std::uint8_t> FStates;
  std::vector<TDTNameStr> FColNames, FRowNames;
  std::vector<std::uint8_t> FColAttribs, FRowAttribs, FScaleTypes;
  std::vector<std::unique_ptr<TNominalIDs>> FNominal;
  std::string FComment;
};

}  // namespace kvl
