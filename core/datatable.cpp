// TDataTable: storage, dimensions, states, headings and the notifications.
#include "kvl/core/datatable.h"

#include <algorithm>
#include <new>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

// Text cut to at most Limit code points.
std::string CutText(std::string_view Text, int Limit) {
  std::string S(Text);
  Utf8Cut(S, Limit);
  return S;
}

std::string DefaultName(char Prefix, int Index) {
  return std::string(1, Prefix) + "-" + std::to_string(Index);
}

// Appends names for the indexes From .. To; prepared apart so that a failure changes nothing.
std::vector<TDTNameStr> NewNames(char Prefix, int From, int To) {
  std::vector<TDTNameStr> Names;
  if (To >= From) Names.reserve(std::size_t(To - From + 1));
  for (int I = From; I <= To; ++I) Names.push_back(DefaultName(Prefix, I));
  return Names;
}

template <class T>
void ResizeKeeping(std::vector<T>& V, std::size_t N, std::vector<T>& Extra) {
  if (N <= V.size()) {
    V.erase(V.begin() + std::ptrdiff_t(N), V.end());
    return;
  }
  for (T& E : Extra) V.push_back(std::move(E));
}

}  // namespace

std::string_view MScaleTypeName(std::uint8_t ScaleType) {
  return MScaleTypeNames[ScaleType < MScaleTypeNames.size() ? ScaleType : 0];
}

TDataTable::TDataTable(TComponent* AOwner, int NrCols, int NrRows) : TComponent(AOwner) {
  Resize(NrCols, NrRows);
}

void TDataTable::Resize(int NrCols, int NrRows) {
  CheckMatrixSize(NrCols, NrRows);
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  if (NrCols == OC && NrRows == OR) return;
  // Everything that can fail happens before the first change.
  std::vector<double> Values = ResizedGrid(FMat.Values(), OC, OR, NrCols, NrRows, 0.0);
  std::vector<std::uint8_t> States = ResizedGrid(FStates, OC, OR, NrCols, NrRows, std::uint8_t(0));
  std::vector<TDTNameStr> ColNames = NewNames('C', OC + 1, NrCols);
  std::vector<TDTNameStr> RowNames = NewNames('R', OR + 1, NrRows);
  const std::size_t NC = std::size_t(NrCols), NR = std::size_t(NrRows);
  FColNames.reserve(NC);
  FColAttribs.reserve(NC);
  FScaleTypes.reserve(NC);
  FNominal.reserve(NC);
  FRowNames.reserve(NR);
  FRowAttribs.reserve(NR);

  FMat.Values().swap(Values);
  FStates.swap(States);
  ResizeKeeping(FColNames, NC, ColNames);
  ResizeKeeping(FRowNames, NR, RowNames);
  FColAttribs.resize(NC, 0);
  FScaleTypes.resize(NC, 0);
  FNominal.resize(NC);
  FRowAttribs.resize(NR, 0);
  FMat.SetCounts(NrCols, NrRows);
  FireResized(OC, OR);
  FireChanged();
}

void TDataTable::SetElem(int Col, int Row, double Value) {
  if (!FMat.InRange(Col, Row)) return;
  FMat.Values()[FMat.Index(Col, Row)] = Value;
  FireChanged();
}

void TDataTable::SetCellState(int Col, int Row, std::uint8_t State) {
  if (!FMat.InRange(Col, Row)) return;
  FStates[FMat.Index(Col, Row)] = State;
  FireChanged();
}

void TDataTable::InvertCellStates(std::uint8_t Mask) {
  for (std::uint8_t& S : FStates) S ^= Mask;
  FireChanged();
}

void TDataTable::ExchangeMarkings() {
  for (std::uint8_t& S : FStates) {
    const std::uint8_t A = S & csMarkA, B = S & csMarkB;
    S = std::uint8_t((S & ~(csMarkA | csMarkB)) | (A ? csMarkB : 0) | (B ? csMarkA : 0));
  }
  FireChanged();
}

void TDataTable::UnmarkAllCells() {
  for (std::uint8_t& S : FStates) S &= std::uint8_t(~(csMarkA | csMarkB));
  FireChanged();
}

int TDataTable::FillMarkedCells(double Value, std::uint8_t Mask) {
  int N = 0;
  std::vector<double>& V = FMat.Values();
  for (std::size_t I = 0; I < FStates.size(); ++I) {
    if ((FStates[I] & Mask) == 0) continue;
    V[I] = Value;
    FStates[I] &= std::uint8_t(~(csNoNumber | csEmpty));
    ++N;
  }
  FireChanged();
  return N;
}

bool TDataTable::ClipBlock(int& LowCol, int& LowRow, int& HighCol, int& HighRow) const {
  LowCol = std::max(LowCol, 1);
  LowRow = std::max(LowRow, 1);
  HighCol = std::min(HighCol, GetNrOfColumns());
  HighRow = std::min(HighRow, GetNrOfRows());
  return LowCol <= HighCol && LowRow <= HighRow;
}

void TDataTable::ModifyStates(int LowCol, int LowRow, int HighCol, int HighRow,
                              std::uint8_t Clear, std::uint8_t Set, std::uint8_t Toggle) {
  if (!ClipBlock(LowCol, LowRow, HighCol, HighRow)) return;
  for (int R = LowRow; R <= HighRow; ++R)
    for (int C = LowCol; C <= HighCol; ++C) {
      std::uint8_t& S = FStates[FMat.Index(C, R)];
      S = std::uint8_t(((S & ~Clear) | Set) ^ Toggle);
    }
  FireChanged();
}

void TDataTable::ZeroBlock(int LowCol, int LowRow, int HighCol, int HighRow) {
  if (!ClipBlock(LowCol, LowRow, HighCol, HighRow)) return;
  for (int R = LowRow; R <= HighRow; ++R)
    for (int C = LowCol; C <= HighCol; ++C) {
      FMat.Values()[FMat.Index(C, R)] = 0.0;
      FStates[FMat.Index(C, R)] = 0;
    }
  FireChanged();
}

int TDataTable::CountStates(std::uint8_t Mask) const {
  return static_cast<int>(
      std::count_if(FStates.begin(), FStates.end(), [Mask](std::uint8_t S) { return (S & Mask) != 0; }));
}

void TDataTable::SetColName(int Col, std::string_view Name) {
  if (!ColOk(Col)) return;
  FColNames[Col - 1] = CutText(Name, MaxDTNameLength);
  FireSetup();
}

void TDataTable::SetRowName(int Row, std::string_view Name) {
  if (!RowOk(Row)) return;
  FRowNames[Row - 1] = CutText(Name, MaxDTNameLength);
  FireSetup();
}

void TDataTable::SetColAttrib(int Col, std::uint8_t Attrib) {
  if (!ColOk(Col)) return;
  FColAttribs[Col - 1] = Attrib;
  FireSetup();
}

void TDataTable::SetRowAttrib(int Row, std::uint8_t Attrib) {
  if (!RowOk(Row)) return;
  FRowAttribs[Row - 1] = Attrib;
  FireSetup();
}

void TDataTable::InsertRow(int Row) {
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  if (Row < 1 || Row > OR + 1) return;
  CheckMatrixSize(OC, OR + 1);
  const std::size_t At = std::size_t(Row - 1) * std::size_t(OC);
  FMat.Values().reserve(FMat.Values().size() + std::size_t(OC));
  FStates.reserve(FStates.size() + std::size_t(OC));
  FRowNames.reserve(std::size_t(OR) + 1);
  FRowAttribs.reserve(std::size_t(OR) + 1);
  std::string Name = DefaultName('R', Row);
  FMat.Values().insert(FMat.Values().begin() + std::ptrdiff_t(At), std::size_t(OC), 0.0);
  FStates.insert(FStates.begin() + std::ptrdiff_t(At), std::size_t(OC), std::uint8_t(0));
  FRowNames.insert(FRowNames.begin() + (Row - 1), std::move(Name));
  FRowAttribs.insert(FRowAttribs.begin() + (Row - 1), std::uint8_t(0));
  FMat.SetCounts(OC, OR + 1);
  FireResized(OC, OR);
  FireChanged();
}

void TDataTable::InsertColumn(int Col) {
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  if (Col < 1 || Col > OC + 1) return;
  CheckMatrixSize(OC + 1, OR);
  const std::size_t NC = std::size_t(OC) + 1;
  std::vector<double> Values(NC * std::size_t(OR), 0.0);
  std::vector<std::uint8_t> States(NC * std::size_t(OR), 0);
  for (int R = 0; R < OR; ++R)
    for (int C = 0; C < OC; ++C) {
      const std::size_t From = std::size_t(R) * std::size_t(OC) + std::size_t(C);
      const std::size_t To = std::size_t(R) * NC + std::size_t(C < Col - 1 ? C : C + 1);
      Values[To] = FMat.Values()[From];
      States[To] = FStates[From];
    }
  FColNames.reserve(NC);
  FColAttribs.reserve(NC);
  FScaleTypes.reserve(NC);
  FNominal.reserve(NC);
  std::string Name = DefaultName('C', Col);
  FMat.Values().swap(Values);
  FStates.swap(States);
  FColNames.insert(FColNames.begin() + (Col - 1), std::move(Name));
  FColAttribs.insert(FColAttribs.begin() + (Col - 1), std::uint8_t(0));
  FScaleTypes.insert(FScaleTypes.begin() + (Col - 1), std::uint8_t(0));
  FNominal.insert(FNominal.begin() + (Col - 1), nullptr);
  FMat.SetCounts(OC + 1, OR);
  FireResized(OC, OR);
  FireChanged();
}

void TDataTable::RemoveRow(int Row) {
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  if (!RowOk(Row)) return;
  const std::size_t At = std::size_t(Row - 1) * std::size_t(OC);
  FMat.Values().erase(FMat.Values().begin() + std::ptrdiff_t(At),
                      FMat.Values().begin() + std::ptrdiff_t(At + std::size_t(OC)));
  FStates.erase(FStates.begin() + std::ptrdiff_t(At),
                FStates.begin() + std::ptrdiff_t(At + std::size_t(OC)));
  FRowNames.erase(FRowNames.begin() + (Row - 1));
  FRowAttribs.erase(FRowAttribs.begin() + (Row - 1));
  FMat.SetCounts(OC, OR - 1);
  FireResized(OC, OR);
  FireChanged();
}

void TDataTable::RemoveColumn(int Col) {
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  if (!ColOk(Col)) return;
  // In place: each later element moves left by the number of removed cells before it.
  std::vector<double>& V = FMat.Values();
  std::size_t To = 0;
  for (int R = 0; R < OR; ++R)
    for (int C = 0; C < OC; ++C) {
      if (C == Col - 1) continue;
      const std::size_t From = std::size_t(R) * std::size_t(OC) + std::size_t(C);
      V[To] = V[From];
      FStates[To] = FStates[From];
      ++To;
    }
  V.resize(To);
  FStates.resize(To);
  FColNames.erase(FColNames.begin() + (Col - 1));
  FColAttribs.erase(FColAttribs.begin() + (Col - 1));
  FScaleTypes.erase(FScaleTypes.begin() + (Col - 1));
  FNominal.erase(FNominal.begin() + (Col - 1));
  FMat.SetCounts(OC - 1, OR);
  FireResized(OC, OR);
  FireChanged();
}

void TDataTable::MirrorRows() {
  const int NR = GetNrOfRows();
  for (int R = 1; R <= NR / 2; ++R) SwapRows(R, NR + 1 - R, 1, GetNrOfColumns(), true);
  FireChanged();
}

void TDataTable::MirrorColumns() {
  const int NC = GetNrOfColumns();
  for (int C = 1; C <= NC / 2; ++C) SwapCols(C, NC + 1 - C, 1, GetNrOfRows(), true);
  FireChanged();
}

void TDataTable::Clear() {
  FMat.Fill(0.0);
  std::fill(FStates.begin(), FStates.end(), std::uint8_t(0));
  std::fill(FColAttribs.begin(), FColAttribs.end(), std::uint8_t(0));
  std::fill(FRowAttribs.begin(), FRowAttribs.end(), std::uint8_t(0));
  for (auto& N : FColNames) N.clear();
  for (auto& N : FRowNames) N.clear();
  FireChanged();
}

void TDataTable::SetFComment(std::string_view Text) {
  FComment.assign(Text);
  FireSetup();
}

void TDataTable::SetMScaleType(int Col, std::uint8_t ScaleType) {
  if (!ColOk(Col)) return;
  FScaleTypes[Col - 1] = ScaleType;
  FireSetup();
}

std::string TDataTable::GetNominalID(int Col, int Code) const {
  if (!ColOk(Col) || Code < 1 || Code > MaxNominalCode || !FNominal[Col - 1]) return {};
  return (*FNominal[Col - 1])[std::size_t(Code - 1)];
}

void TDataTable::SetNominalID(int Col, int Code, std::string_view ID) {
  if (!ColOk(Col) || Code < 1 || Code > MaxNominalCode) return;
  std::string S = CutText(ID, MaxNominalIDLength);
  auto& Slot = FNominal[Col - 1];
  if (!Slot) {
    if (S.empty()) return;
    Slot = std::make_unique<TNominalIDs>();
  }
  (*Slot)[std::size_t(Code - 1)] = std::move(S);
  FireSetup();
}

int TDataTable::OrdinalOfNominalID(int Col, std::string_view Text, bool IgnoreCase) const {
  if (Text.empty() || !HasNominalIDs(Col)) return 0;
  const auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
  const TNominalIDs& IDs = *FNominal[Col - 1];
  for (int Code = 1; Code <= MaxNominalCode; ++Code) {
    const std::string& ID = IDs[std::size_t(Code - 1)];
    if (ID.size() != Text.size()) continue;
    const bool Same = IgnoreCase ? std::equal(ID.begin(), ID.end(), Text.begin(),
                                              [&](char A, char B) { return Lower(A) == Lower(B); })
                                 : ID == Text;
    if (Same) return Code;
  }
  return 0;
}

void TDataTable::CopyFrom(const TDataTable& Source) {
  if (&Source == this) return;
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  TMatrix Mat = Source.FMat;
  std::vector<std::uint8_t> States = Source.FStates;
  std::vector<TDTNameStr> ColNames = Source.FColNames, RowNames = Source.FRowNames;
  std::vector<std::uint8_t> ColAttribs = Source.FColAttribs, RowAttribs = Source.FRowAttribs,
                            Scales = Source.FScaleTypes;
  std::vector<std::unique_ptr<TNominalIDs>> Nominal;
  Nominal.reserve(Source.FNominal.size());
  for (const auto& N : Source.FNominal)
    Nominal.push_back(N ? std::make_unique<TNominalIDs>(*N) : nullptr);
  std::string Comment = Source.FComment;
  FMat = std::move(Mat);
  FStates.swap(States);
  FColNames.swap(ColNames);
  FRowNames.swap(RowNames);
  FColAttribs.swap(ColAttribs);
  FRowAttribs.swap(RowAttribs);
  FScaleTypes.swap(Scales);
  FNominal.swap(Nominal);
  FComment.swap(Comment);
  if (OC != GetNrOfColumns() || OR != GetNrOfRows()) FireResized(OC, OR);
  FireChanged();
  FireSetup();
}

void TDataTable::Assign(const TPersistent* Source) {
  if (const auto* T = dynamic_cast<const TDataTable*>(Source)) {
    CopyFrom(*T);
    return;
  }
  TComponent::Assign(Source);
}

std::size_t TDataTable::AllocatedBytes() const {
  std::size_t N = FMat.Values().capacity() * sizeof(double) + FStates.capacity() +
                  (FColNames.capacity() + FRowNames.capacity()) * sizeof(TDTNameStr) +
                  FColAttribs.capacity() + FRowAttribs.capacity() + FScaleTypes.capacity() +
                  FNominal.capacity() * sizeof(void*);
  for (const auto& P : FNominal)
    if (P) N += sizeof(TNominalIDs);
  return N;
}

}  // namespace kvl
