// TRLData: construction, dimensions, cells and check marks, rows, sorting and copying.
#include <algorithm>
#include <climits>
#include <new>
#include <utility>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

std::string DefaultName(int Col) { return "C-" + std::to_string(Col); }

std::string Lower(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = char(C + ('a' - 'A'));
  return R;
}

// Byte length of the check-mark character at the start of a stored string.
std::size_t MarkLen(std::string_view Stored) { return std::size_t(Utf8CharLen(Stored, 0)); }

int SaturatedCells(std::int64_t Rows, std::int64_t Cols) {
  const std::int64_t N = Rows * Cols;
  return N <= 0 ? 1 : int(std::min<std::int64_t>(N, INT_MAX));
}

}  // namespace

// --- progress -------------------------------------------------------------------------------

TRLData::TProgress::TProgress(const TRLData& Counts, TRLData& Reporter)
    : FReporter(Reporter),
      FNumCells(Counts.FFeedbkNumCells),
      FStep(Counts.FFeedbkStep),
      FNext(Counts.FFeedbkStep) {
  if (FReporter.OnPercentDone) FReporter.OnPercentDone(&FReporter, 0);
}

void TRLData::TProgress::Add(int Cells) {
  FDone += Cells;
  if (FDone < FNext) return;
  FNext = FDone + FStep;
  if (FReporter.OnPercentDone)
    FReporter.OnPercentDone(&FReporter, int(std::min<std::int64_t>(100, FDone * 100 / FNumCells)));
}

void TRLData::TProgress::Finish() {
  if (FReporter.OnPercentDone) FReporter.OnPercentDone(&FReporter, 100);
}

// --- construction and copying ---------------------------------------------------------------

void TRLData::TSortExchangeForward::operator()(TObject*, const std::string& Key,
                                               std::string& ExchKey) const {
  if (Store->OnBeforeSortExchange) Store->OnBeforeSortExchange(Store, Key, ExchKey);
}

TRLData::TRLData(TComponent* AOwner) : TComponent(AOwner) {
  try {
    Strings.SetAllocRowsBy(10);
    // A checked cell stores its mark in front of up to MaxCellLength characters of text.
    Strings.SetMaxCellLength(MaxCellLength + 1);
    Strings.Resize(1, 1);
    FColName = {DefaultName(1)};
    FColumnFormat = {""};
    FColButMode = {cmNone};
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLRLDataError>(GetName(), rsInitOutOfMemory);
  }
  Strings.OnBeforeSortExchange = TSortExchangeForward{this};
  Strings.OnPercentDone = [this](TObject*, int Percent) {
    if (OnPercentDone) OnPercentDone(this, Percent);
  };
}

TRLData::~TRLData() = default;

void TRLData::RaiseHeapFull() const { RaiseComponentError<EKVLRLDataError>(GetName(), rsHeapFull); }

void TRLData::SwapContents(TRLData& Other) noexcept {
  using std::swap;
  swap(FComment, Other.FComment);
  swap(FColName, Other.FColName);
  swap(FColumnFormat, Other.FColumnFormat);
  swap(FCommonHeader, Other.FCommonHeader);
  swap(FColButMode, Other.FColButMode);
  swap(FNrOfCols, Other.FNrOfCols);
  swap(FNrOfRows, Other.FNrOfRows);
  swap(FSortColumn, Other.FSortColumn);
  swap(FSortColumnSec, Other.FSortColumnSec);
  swap(FSortOrder, Other.FSortOrder);
  swap(FDataID, Other.FDataID);
  swap(FSortToggle, Other.FSortToggle);
  swap(FFeedbkNumCells, Other.FFeedbkNumCells);
  swap(FFeedbkStep, Other.FFeedbkStep);
  // Moving the arrays leaves each one's hooks with its owner.
  TStringArray Tmp(std::move(Strings));
  Strings = std::move(Other.Strings);
  Other.Strings = std::move(Tmp);
}

void TRLData::CopyContentsFrom(const TRLData& Source) {
  FComment = Source.FComment;
  FColName = Source.FColName;
  FColumnFormat = Source.FColumnFormat;
  FCommonHeader = Source.FCommonHeader;
  FColButMode = Source.FColButMode;
  FNrOfCols = Source.FNrOfCols;
  FNrOfRows = Source.FNrOfRows;
  FSortColumn = Source.FSortColumn;
  FSortColumnSec = Source.FSortColumnSec;
  FSortOrder = Source.FSortOrder;
  FDataID = Source.FDataID;
  FSortToggle = Source.FSortToggle;
  FFeedbkNumCells = Source.FFeedbkNumCells;
  FFeedbkStep = Source.FFeedbkStep;
  // Cells, attributes, the physical order, the sort permutation and the growth step.
  Strings = Source.Strings;
}

void TRLData::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TRLData*>(Source);
  if (!Src) {
    TComponent::Assign(Source);
    return;
  }
  if (Src == this) return;
  // The copy is complete before it replaces anything, so a failure keeps the old contents.
  try {
    TRLData Copy(nullptr);
    Copy.CopyContentsFrom(*Src);
    auto Handler = Src->OnBeforeSortExchange;
    SwapContents(Copy);
    OnBeforeSortExchange = std::move(Handler);
  } catch (const std::bad_alloc&) {
    RaiseHeapFull();
  } catch (const EKVLRLDataError&) {
    RaiseHeapFull();
  }
}

void TRLData::AssignTo(TPersistent* Dest) const {
  if (auto* D = dynamic_cast<TRLData*>(Dest)) {
    D->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

// --- dimensions -----------------------------------------------------------------------------

void TRLData::UpdateFeedback() {
  FFeedbkNumCells = SaturatedCells(std::max(FNrOfRows, 1), std::int64_t(FNrOfCols) + 1);
  FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::SetNrOfRows(int N) {
  N = std::max(N, 0);
  if (N == FNrOfRows) return;
  if (std::int64_t(std::max(N, 1)) * (FNrOfCols + 1) > MaxCells)
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  try {
    Strings.Resize(FNrOfCols, std::max(N, 1));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  }
  if (N == 0) {
    // The storage keeps its one physical row; it must not come back with the old contents.
    for (int C = 0; C <= FNrOfCols; ++C) Strings.SetString(C, 1, "");
    Strings.SetRowAttrib(1, 0);
  }
  FNrOfRows = N;
  FFeedbkNumCells = SaturatedCells(N, std::int64_t(FNrOfCols) + 1);
  FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::SetNrOfColumns(int N) {
  N = std::max(N, 1);
  if (N == FNrOfCols) return;
  if ((std::int64_t(N) + 1) * std::max(FNrOfRows, 1) > MaxCells)
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  // The per-column arrays are built aside first; the storage resize is the last step that
  // can fail, so a failure anywhere leaves the old state.
  std::vector<TNameStrType> Names;
  std::vector<TColFmtString> Formats;
  std::vector<TCheckMode> Modes;
  try {
    const std::size_t Keep = std::size_t(std::min(N, FNrOfCols));
    Names.reserve(std::size_t(N));
    Formats.reserve(std::size_t(N));
    Modes.reserve(std::size_t(N));
    Names.assign(FColName.begin(), FColName.begin() + std::ptrdiff_t(Keep));
    Formats.assign(FColumnFormat.begin(), FColumnFormat.begin() + std::ptrdiff_t(Keep));
    Modes.assign(FColButMode.begin(), FColButMode.begin() + std::ptrdiff_t(Keep));
    for (int K = int(Keep) + 1; K <= N; ++K) {
      Names.push_back(DefaultName(K));
      Formats.emplace_back();
      Modes.push_back(cmNone);
    }
  } catch (const std::bad_alloc&) {
    RaiseHeapFull();
  } catch (const std::length_error&) {
    RaiseHeapFull();
  }
  try {
    Strings.Resize(N, std::max(FNrOfRows, 1));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  }
  FColName.swap(Names);
  FColumnFormat.swap(Formats);
  FColButMode.swap(Modes);
  FNrOfCols = N;
  UpdateFeedback();
  if (FSortColumn > N) FSortColumn = -1;
  if (FSortColumnSec > N) FSortColumnSec = -1;
}

// --- columns --------------------------------------------------------------------------------

std::string TRLData::GetHeader(int ColNr) const {
  return ColNr >= 1 && ColNr <= FNrOfCols ? FColName[std::size_t(ColNr - 1)] : std::string();
}

void TRLData::SetHeader(int ColNr, std::string_view Name) {
  if (ColNr < 1 || ColNr > FNrOfCols) return;
  FColName[std::size_t(ColNr - 1)] = Utf8Left(Name, MaxNameLength);
}

std::string TRLData::GetColumnFormat(int ColNr) const {
  return ColNr >= 1 && ColNr <= FNrOfCols ? FColumnFormat[std::size_t(ColNr - 1)] : std::string();
}

void TRLData::SetColumnFormat(int ColNr, std::string_view Format) {
  if (ColNr < 1 || ColNr > FNrOfCols) return;
  FColumnFormat[std::size_t(ColNr - 1)] = Utf8Left(Format, MaxColFmtLength);
}

TCheckMode TRLData::GetColumnCheckMode(int ColNr) const {
  return ColNr >= 1 && ColNr <= FNrOfCols ? FColButMode[std::size_t(ColNr - 1)] : cmNone;
}

void TRLData::SetColumnCheckMode(int ColNr, TCheckMode Mode) {
  if (ColNr < 1 || ColNr > FNrOfCols || Mode > cmRadio) return;
  const TCheckMode Old = FColButMode[std::size_t(ColNr - 1)];
  if (Mode == Old) return;
  // The conversion is no change of the cells' contents for whoever listens.
  auto Hook = std::exchange(Strings.OnChange, nullptr);
  for (int R = 1; R <= FNrOfRows; ++R) {
    const std::string_view S = Strings.GetStringView(ColNr, R);
    if (Old == cmNone) {
      if (!S.empty()) Strings.SetString(ColNr, R, " " + std::string(S));
    } else if (Mode == cmNone) {
      if (!S.empty()) Strings.SetString(ColNr, R, std::string(S.substr(MarkLen(S))));
    } else if (Mode == cmRadio) {
      Strings.SetString(ColNr, R, " " + std::string(S.substr(MarkLen(S))));
    }
  }
  Strings.OnChange = std::move(Hook);
  FColButMode[std::size_t(ColNr - 1)] = Mode;
}

int TRLData::ColumnIndex(std::string_view Head, bool PartialMatch) const {
  const std::string H = Lower(Head);
  if (PartialMatch && H.empty()) return -1;
  for (int C = FNrOfCols; C >= 1; --C) {
    const std::string Name = Lower(FColName[std::size_t(C - 1)]);
    if (PartialMatch ? Name.find(H) != std::string::npos : Name == H) return C;
  }
  return -1;
}

// --- cells ----------------------------------------------------------------------------------

std::string TRLData::GetElem(int ACol, int ARow) const {
  if (!InRange(ACol, ARow)) return {};
  const std::string_view S = Strings.GetStringView(ACol, ARow);
  return std::string(IsChecked(ACol) ? S.substr(MarkLen(S)) : S);
}

void TRLData::SetElem(int ACol, int ARow, std::string_view Value) {
  if (!InRange(ACol, ARow)) return;
  std::string Text = Utf8Left(Value, MaxCellLength);
  if (IsChecked(ACol)) {
    const std::string_view S = Strings.GetStringView(ACol, ARow);
    Text.insert(0, S.empty() ? std::string_view(" ") : S.substr(0, MarkLen(S)));
  }
  Strings.SetString(ACol, ARow, Text);
}

bool TRLData::GetElemChecked(int ACol, int ARow) const {
  return InRange(ACol, ARow) && IsChecked(ACol) && MarkSet(Strings.GetStringView(ACol, ARow));
}

void TRLData::SetMark(int Col, int Row, bool Checked) {
  const std::string_view S = Strings.GetStringView(Col, Row);
  const char Mark = Checked ? 'X' : ' ';
  if (!S.empty() && S.substr(0, MarkLen(S)) == std::string_view(&Mark, 1)) return;
  std::string T(1, Mark);
  if (!S.empty()) T.append(S.substr(MarkLen(S)));
  Strings.SetString(Col, Row, T);
}

void TRLData::ClearMarks(int Col) {
  for (int R = 1; R <= FNrOfRows; ++R) SetMark(Col, R, false);
}

void TRLData::SetElemChecked(int ACol, int ARow, bool Value) {
  if (!InRange(ACol, ARow) || !IsChecked(ACol)) return;
  if (GetColumnCheckMode(ACol) == cmRadio) ClearMarks(ACol);
  SetMark(ACol, ARow, Value);
}

std::string TRLData::GetDefaultValue(int ACol, int ARow) const {
  if (!InRange(ACol, ARow)) return {};
  return FormatDefaultValue(GetColumnFormat(ACol), ARow);
}

// --- check marks ----------------------------------------------------------------------------

int TRLData::FirstCheckedElemInCol(int ColNr) const {
  if (!IsChecked(ColNr)) return 0;
  for (int R = 1; R <= FNrOfRows; ++R)
    if (MarkSet(Strings.GetStringView(ColNr, R))) return R;
  return 0;
}

int TRLData::FirstCheckedElemInRow(int RowNr) const {
  if (RowNr < 1 || RowNr > FNrOfRows) return 0;
  for (int C = 1; C <= FNrOfCols; ++C)
    if (IsChecked(C) && MarkSet(Strings.GetStringView(C, RowNr))) return C;
  return 0;
}

int TRLData::CountCheckedElemsInCol(int Column) const {
  if (!IsChecked(Column)) return 0;
  int N = 0;
  for (int R = 1; R <= FNrOfRows; ++R) N += MarkSet(Strings.GetStringView(Column, R));
  return N;
}

int TRLData::CountCheckedElemsInRow(int Row) const {
  if (Row < 1 || Row > FNrOfRows) return 0;
  int N = 0;
  for (int C = 1; C <= FNrOfCols; ++C) N += IsChecked(C) && MarkSet(Strings.GetStringView(C, Row));
  return N;
}

void TRLData::SetAllCheckmarksOfCol(int Column, bool Checked) {
  if (GetColumnCheckMode(Column) != cmBox) return;
  for (int R = 1; R <= FNrOfRows; ++R) SetMark(Column, R, Checked);
}

void TRLData::InvertAllCheckmarksOfCol(int Column) {
  if (GetColumnCheckMode(Column) != cmBox) return;
  for (int R = 1; R <= FNrOfRows; ++R) {
    const std::string_view S = Strings.GetStringView(Column, R);
    SetMark(Column, R, S.empty() || S[0] != 'X');
  }
}

// --- rows and bulk changes ------------------------------------------------------------------

void TRLData::Fill(std::string_view S) {
  const std::string Text = Utf8Left(S, MaxCellLength);
  TProgress P(*this);
  for (int R = 1; R <= FNrOfRows; ++R) {
    for (int C = 1; C <= FNrOfCols; ++C) {
      if (IsChecked(C))
        Strings.SetString(C, R, (MarkSet(Strings.GetStringView(C, R)) ? "X" : " ") + Text);
      else
        Strings.SetString(C, R, Text);
    }
    P.Add(FNrOfCols + 1);
  }
  P.Finish();
}

void TRLData::Clear() {
  Strings.Clear();
  for (int C = 1; C <= FNrOfCols; ++C) {
    FColName[std::size_t(C - 1)] = DefaultName(C);
    FColumnFormat[std::size_t(C - 1)].clear();
    FColButMode[std::size_t(C - 1)] = cmNone;
  }
}

void TRLData::CopyRow(int Source, int Target) {
  if (Source < 1 || Source > FNrOfRows || Target < 1 || Target > FNrOfRows) return;
  if (Source == Target) return;
  for (int C = 0; C <= FNrOfCols; ++C) {
    const std::string S = Strings.GetString(C, Source);
    if (GetColumnCheckMode(C) == cmRadio) {
      // Only one row of a radio column may be checked: the target keeps its own mark.
      const bool Was = MarkSet(Strings.GetStringView(C, Target));
      Strings.SetString(C, Target, (Was ? "X" : " ") + S.substr(S.empty() ? 0 : MarkLen(S)));
    } else {
      Strings.SetString(C, Target, S);
    }
  }
  Strings.SetRowAttrib(Target, Strings.GetRowAttrib(Source));
}

void TRLData::RowCountChanged() {
  FFeedbkNumCells = SaturatedCells(FNrOfRows, std::int64_t(FNrOfCols) + 1);
  FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::RemoveRow(int R) {
  if (R < 1 || R > FNrOfRows) return;
  Strings.CommitSorting();
  RemoveShownRow(R);
}

void TRLData::RemoveShownRow(int R) {
  if (R < 1 || R > FNrOfRows) return;
  if (FNrOfRows == 1) {
    for (int C = 0; C <= FNrOfCols; ++C) Strings.SetString(C, 1, "");
    Strings.SetRowAttrib(1, 0);
    FNrOfRows = 0;
  } else {
    Strings.RemoveRow(R);
    --FNrOfRows;
  }
  RowCountChanged();
}

bool TRLData::InsertShownRow(int R) {
  if (R < 1 || R > FNrOfRows + 1) return false;
  if (std::int64_t(FNrOfRows + 1) * (FNrOfCols + 1) > MaxCells)
    RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
  // An empty table already holds its one physical row, emptied when the last row left.
  if (FNrOfRows > 0) {
    try {
      Strings.InsertRow(R);
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EKVLError>(GetName(), rsHeapFull);
    }
  }
  ++FNrOfRows;
  RowCountChanged();
  return true;
}

void TRLData::RemoveEmptyRows() {
  Strings.CommitSorting();
  RemoveEmptyRowsInOrder();
}

void TRLData::RemoveEmptyShownRows() { RemoveEmptyRowsInOrder(); }

void TRLData::RemoveEmptyRowsInOrder() {
  if (FNrOfRows == 0) return;
  std::vector<std::uint8_t> Leaves(std::size_t(FNrOfRows), 0);
  std::size_t Count = 0;
  for (int R = 1; R <= FNrOfRows; ++R) {
    bool Empty = true;
    for (int C = 0; C <= FNrOfCols && Empty; ++C) {
      const std::string_view S = Strings.GetStringView(C, R);
      Empty = S.size() <= (IsChecked(C) ? MarkLen(S) : 0);
    }
    Leaves[std::size_t(R - 1)] = Empty;
    Count += Empty;
  }
  if (Count == 0) return;
  // The storage keeps one physical row: when every row goes, the first stays and is emptied.
  const bool All = Count == std::size_t(FNrOfRows);
  if (All) Leaves[0] = 0;
  Strings.RemoveRows(Leaves);
  FNrOfRows = Strings.GetNrRows();
  if (All) RemoveShownRow(1);
  RowCountChanged();
}

void TRLData::SetSecondarySortColumn(int Col) {
  if (Col >= -1 && Col <= FNrOfCols) FSortColumnSec = Col;
}

void TRLData::Sort(int Col, int ColSec, bool Ascending) {
  if (Col < 0 || Col > FNrOfCols) return;
  if (ColSec < -1 || ColSec > FNrOfCols) ColSec = -1;
  FSortColumn = Col;
  FSortColumnSec = ColSec;
  FSortOrder = Ascending;
  // Without a handler our own forwarding would only cost a key copy per row.
  std::function<void(TObject*, const std::string&, std::string&)> Hook;
  if (!OnBeforeSortExchange && Strings.OnBeforeSortExchange.target<TSortExchangeForward>())
    Hook = std::exchange(Strings.OnBeforeSortExchange, nullptr);
  try {
    Strings.Sort(Col, ColSec, Ascending);
  } catch (...) {
    if (Hook) Strings.OnBeforeSortExchange = std::move(Hook);
    throw;
  }
  if (Hook) Strings.OnBeforeSortExchange = std::move(Hook);
}

void TRLData::UnSort() {
  FSortColumn = -1;
  FSortColumnSec = -1;
  Strings.UnSort();
}

}  // namespace kvl
