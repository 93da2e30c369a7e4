// Unit replist: the report list. TRLData is its data half, a table of text cells with a name,
// a format and a check mode per column, readable and writable as XML, exportable as HTML and
// copyable to the clipboard. It works on its own and is the store under the report list view.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/core/dstruct.h"
#include "kvl/core/kvlbase.h"
#include "kvl/platform/classes.h"

namespace kvl {

class EKVLRLDataError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

// Texts are UTF-8 and their limits count code points; cuts never split a character.
using TNameStrType = std::string;   // column names, at most MaxNameLength characters
using TColFmtString = std::string;  // column formats, at most MaxColFmtLength characters
inline constexpr int MaxNameLength = 50;
inline constexpr int MaxColFmtLength = 80;
inline constexpr int MaxCellLength = 255;

enum TCheckMode : std::uint8_t { cmNone, cmBox, cmRadio };
enum TFilterMode : std::uint8_t { fmSimple, fmBoolean, fmGrep };

enum TRepListXmlTag : std::uint8_t {
  xmlNumCols,
  xmlNumRows,
  xmlColName,
  xmlCheckedColumn,
  xmlCommonHd,
  xmlColumnFormat,
  xmlCell,
  xmlComment,
  xmlEndReplist,
  xmlInvalid
};
inline constexpr std::array<std::string_view, 10> RepListXmlTags = {
    "numcols",      "numrows", "colname", "checkedcolumn", "commonheader",
    "columnformat", "cell",    "comment", "/replist",      "invalidtag"};

using TBeforeHTMLExportEvent =
    std::function<void(TObject* Sender, std::string& Text, int Col, int Row)>;

// Attribute bits the view gives meaning to; the store only keeps and copies them.
inline constexpr std::uint8_t raSelected = 0x80, raDisabled = 0x40, caSelected = 0x80;

// A column format "[" kind "]" "[" width "]" body, read by one set of rules for the store's
// default values and the row editor. Without a leading bracketed kind the kind is "s" and the
// whole text is the body; a kind starting with "#" is read-only (the "#" is dropped). A missing
// width, or one below 1, is 200.
struct TColumnFormat {
  std::string Kind;
  bool ReadOnly = false;
  int Width = 200;
  std::string Body;
  char Letter() const { return Kind.empty() ? '\0' : Kind[0]; }
};
TColumnFormat ParseColumnFormat(std::string_view Format);

// The signed integer read from the 0-based byte Start of S: leading blanks skipped, an optional
// sign, digits; none give 0. Saturates at the int range instead of overflowing.
int ReadFormatInt(std::string_view S, std::size_t Start);
// The row-index text of Row for kind letter e, f, h or i and digit count N as read from the
// body (kinds e and f: N decimals, 0..254; h: N hex digits, 1..8; i: N decimal digits, 1..255).
std::string RowIndexText(char Letter, int N, int Row);
// The default value of a cell in row Row of a column with this format (at most 255 chars).
std::string FormatDefaultValue(std::string_view Format, int Row);
// The same text for a parsed format whether or not it is read-only, for the row editor, which
// shows read-only columns' defaults too.
std::string ColumnDefaultText(const TColumnFormat& F, int Row);

class TRLData : public TComponent {
public:
  explicit TRLData(TComponent* AOwner);
  ~TRLData() override;

  void Assign(const TPersistent* Source) override;

  // --- dimensions ---
  // Tables of more cells than this (column 0 included) are refused like a failed allocation.
  static constexpr std::int64_t MaxCells = std::int64_t(1) << 31;
  int GetNrOfColumns() const { return FNrOfCols; }
  void SetNrOfColumns(int N);
  int GetNrOfRows() const { return FNrOfRows; }
  void SetNrOfRows(int N);

  // --- cells ---
  // Visible text; column 0..NrOfColumns, row 1..NrOfRows, else "" and writes are ignored.
  std::string GetElem(int ACol, int ARow) const;
  void SetElem(int ACol, int ARow, std::string_view Value);
  std::string operator()(int ACol, int ARow) const { return GetElem(ACol, ARow); }
  bool GetElemChecked(int ACol, int ARow) const;
  void SetElemChecked(int ACol, int ARow, bool Value);
  double GetAsNumber(int ACol, int ARow) const { return Strings.GetAsNumber(ACol, ARow); }
  std::string GetDefaultValue(int ACol, int ARow) const;

  // --- columns (1..NrOfColumns; column 0 and others read as plain and unnamed) ---
  std::string GetHeader(int ColNr) const;
  void SetHeader(int ColNr, std::string_view Name);
  std::string GetColumnFormat(int ColNr) const;
  void SetColumnFormat(int ColNr, std::string_view Format);
  TCheckMode GetColumnCheckMode(int ColNr) const;
  void SetColumnCheckMode(int ColNr, TCheckMode Mode);
  bool GetIsCheckedColumn(int ColNr) const { return GetColumnCheckMode(ColNr) == cmBox; }
  void SetIsCheckedColumn(int ColNr, bool Value) {
    SetColumnCheckMode(ColNr, Value ? cmBox : cmNone);
  }
  // Number of the highest column whose name matches Head (ASCII case ignored), -1 if none.
  int ColumnIndex(std::string_view Head, bool PartialMatch) const;

  // --- store-wide texts and sort state ---
  const std::string& GetCommonHeader() const { return FCommonHeader; }
  void SetCommonHeader(std::string_view Value) { FCommonHeader = Value; }
  const std::string& GetComment() const { return FComment; }
  void SetComment(std::string_view Value) { FComment = Value; }
  const std::string& GetDataID() const { return FDataID; }
  void SetDataID(std::string_view Value) { FDataID = Value; }
  int GetLastSortColumn() const { return FSortColumn; }
  int GetSecondarySortColumn() const { return FSortColumnSec; }
  bool GetLastSortOrder() const { return FSortOrder; }
  bool GetSortToggle() const { return FSortToggle; }
  void SetSortToggle(bool Value) { FSortToggle = Value; }
  int GetFeedbkNumCells() const { return FFeedbkNumCells; }
  int GetFeedbkStep() const { return FFeedbkStep; }

  // --- check marks ---
  int FirstCheckedElemInCol(int ColNr) const;
  int FirstCheckedElemInRow(int RowNr) const;
  int CountCheckedElemsInCol(int Column) const;
  int CountCheckedElemsInRow(int Row) const;
  void SetAllCheckmarksOfCol(int Column, bool Checked);
  void InvertAllCheckmarksOfCol(int Column);

  // --- rows and bulk changes ---
  void Fill(std::string_view S);
  void Clear();
  void CopyRow(int Source, int Target);
  void RemoveRow(int R);
  // Removes in one pass the rows whose visible texts (column 0 included, check marks not
  // counted) are all empty; commits the sort first, as RemoveRow does.
  void RemoveEmptyRows();
  void Sort(int Col, int ColSec, bool Ascending);
  void UnSort();

  // --- rows in the shown order (what a view showing the table needs) ---
  // Inserts an empty row before shown row R (NrOfRows + 1 appends) and keeps the shown order;
  // false, with nothing changed, outside 1..NrOfRows + 1.
  bool InsertShownRow(int R);
  // Removes shown row R without committing the sort; the only row is emptied instead.
  void RemoveShownRow(int R);
  // RemoveEmptyRows without committing the sort.
  void RemoveEmptyShownRows();
  // -1..NrOfColumns; other values are ignored.
  void SetSecondarySortColumn(int Col);
  // Both sort columns become -1; the shown order stays.
  void ForgetSortColumns() { FSortColumn = FSortColumnSec = -1; }

  // --- text out and in ---
  // The cell range, clamped to the table, as tab-separated or padded text, or joined with
  // Separator, with the column names first when AddHeader.
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       bool UseTabs);
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       std::string_view Separator);
  // The clipboard text without touching the clipboard: columns padded to their widest stored
  // string plus one blank when Padded, else joined with Separator.
  std::string RangeAsText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                          bool Padded, std::string_view Separator) const;
  // One line of the file per row of Column from FirstRow on (growing NrOfRows up to
  // MaxLoadedRows); returns the number of lines read, -1 when the file is not a readable
  // regular file or Column lies outside 1..NrOfColumns.
  int LoadLinesFromFile(int Column, int FirstRow, const std::string& FName);
  static constexpr int MaxLoadedRows = 1 << 24;

  // --- XML ---
  // The replist element (preceded by an XML declaration when CreateHeader) with DataID as id,
  // or the store's own DataID when that is empty. Write errors raise EInOutError.
  void WriteToXMLStream(std::ostream& OutStream, bool CreateHeader, const std::string& DataID);
  void WriteToOpenXMLFile(std::FILE* F, bool CreateHeader, const std::string& DataID);
  // Writes a temporary file next to FName and renames it over FName, so a failed save leaves
  // the old file as it was; failures raise EInOutError.
  void SaveAsXMLFile(const std::string& FName, const std::string& DataID);
  // The first replist element whose id equals DataID (ASCII case ignored; an empty DataID
  // takes the first one) in a text holding any number of elements. False, with the store
  // unchanged, for malformed, truncated or inconsistent input and for a missing id.
  bool ReadFromXMLString(std::string_view InString, const std::string& DataID);
  // From the stream's position to its end.
  bool ReadFromXMLStream(std::istream& InStream, const std::string& DataID);
  bool ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID);
  // An unreadable file gives false like bad content.
  bool LoadFromXMLFile(const std::string& FName, const std::string& DataID);

  // --- HTML ---
  // A complete HTML page with the cells of columns LoC..HiC (those of ColumnSelection within
  // that range, in its order, when it is not empty) and rows LoR..HiR, clamped to the table.
  void ExportHTMLTable(const std::string& FName, int LoC, int LoR, int HiC, int HiR,
                       const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                       int Cellpadding, bool IncludeHeader, const std::string& HeadClass,
                       const std::string& CellClass, const std::string& TableClass);
  std::string HTMLTable(int LoC, int LoR, int HiC, int HiR, const std::vector<int>& ColumnSelection,
                        int Border, int CellSpacing, int Cellpadding, bool IncludeHeader,
                        const std::string& HeadClass, const std::string& CellClass,
                        const std::string& TableClass);

  // The cell storage. An owner such as the view may read it and set its hooks.
  TStringArray& GetStrings() { return Strings; }
  const TStringArray& GetStrings() const { return Strings; }

  TBeforeSortExchgEvent OnBeforeSortExchange;
  TBeforeHTMLExportEvent OnBeforeHTMLExport;
  TOnPercentDoneEvent OnPercentDone;

protected:
  void AssignTo(TPersistent* Dest) const override;

private:
  struct TSortExchangeForward {
    TRLData* Store;
    void operator()(TObject*, const std::string& Key, std::string& ExchKey) const;
  };
  // Reports a pass over the table's cells to OnPercentDone, once per FFeedbkStep cells.
  // Counts may come from another store than the one reporting (a store being read).
  class TProgress {
  public:
    explicit TProgress(TRLData& Store) : TProgress(Store, Store) {}
    TProgress(const TRLData& Counts, TRLData& Reporter);
    void Add(int Cells);
    void Finish();

  private:
    TRLData& FReporter;
    std::int64_t FNumCells, FStep, FDone = 0, FNext;
  };
  friend class TRLDataXmlReader;

  bool InRange(int ACol, int ARow) const {
    return ACol >= 0 && ACol <= FNrOfCols && ARow >= 1 && ARow <= FNrOfRows;
  }
  bool IsChecked(int Col) const { return GetColumnCheckMode(Col) != cmNone; }
  static bool MarkSet(std::string_view Stored) { return !Stored.empty() && Stored[0] != ' '; }
  void SetMark(int Col, int Row, bool Checked);
  void RowCountChanged();
  void RemoveEmptyRowsInOrder();
  void ClearMarks(int Col);
  void UpdateFeedback();
  void SwapContents(TRLData& Other) noexcept;
  void WriteXml(bool CreateHeader, const std::string& DataID,
                const std::function<void(std::string_view)>& Put);
  void CopyContentsFrom(const TRLData& Source);
  [[noreturn]] void RaiseHeapFull() const;

  std::string FComment;
  std::vector<TNameStrType> FColName;
  std::vector<TColFmtString> FColumnFormat;
  std::string FCommonHeader = "KVL Report Listview";
  std::vector<TCheckMode> FColButMode;
  int FNrOfCols = 1;
  int FNrOfRows = 0;
  int FSortColumn = -1;
  int FSortColumnSec = -1;
  bool FSortOrder = true;
  std::string FDataID;
  bool FSortToggle = true;
  int FFeedbkNumCells = 1;
  int FFeedbkStep = 1;
  TStringArray Strings;
};

// Whether the file (or the stream from its position) holds a line with "<replist" and
// "kvlwidget", and, for a non-empty DataID, id="DataID" (ASCII case and blanks around the id
// ignored). Only the first 64 KiB of each line are examined; a file that is no regular file
// gives false, one that cannot be opened raises EInOutError.
bool CheckIfValidReplist(const std::string& FName, const std::string& DataID);
bool CheckIfValidReplist(std::istream& In, const std::string& DataID);

}  // namespace kvl

// The view over the store.
#include "kvl/replist/reportview.h"
