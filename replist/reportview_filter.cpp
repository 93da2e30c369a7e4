// The report list view's files and XML (forwarded to the store, the view following the new
// dimensions) and FilterAndSort.
//
// Filtering: a row matches when the expression matches the text of one of the filter columns
// (all columns when none are given). fmSimple looks for the text; fmBoolean reads words and
// "quoted phrases" joined by & (and), | (or), ! (not) and parentheses, neighbouring terms
// meaning "and", each term matching as in fmSimple; fmGrep takes a POSIX extended regular
// expression. An expression that cannot be read filters nothing. The matching rows move to the
// front of the shown order and only they show; the others stay in the store, hidden.
#include <regex.h>

#include <algorithm>
#include <memory>

#include "kvl/replist/filterexpr.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

bool ContainsText(std::string_view Text, std::string_view Pattern, bool IgnoreCase) {
  if (Pattern.empty()) return true;
  if (!IgnoreCase) return Text.find(Pattern) != std::string_view::npos;
  const auto Lower = [](char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; };
  return std::search(Text.begin(), Text.end(), Pattern.begin(), Pattern.end(),
                     [&](char A, char B) { return Lower(A) == Lower(B); }) != Text.end();
}

// ---------------------------------------------------------------------------------------------
// Boolean expressions: or := and ("|" and)*; and := not (["&"] not)*; not := "!" not | atom;
// atom := "(" or ")" | word | "quoted phrase".

struct TBoolNode {
  enum TKind : std::uint8_t { Term, Not, And, Or } Kind = Term;
  std::string Text;
  std::unique_ptr<TBoolNode> A, B;
};

class TBoolReader {
public:
  explicit TBoolReader(std::string_view S) : FS(S) {}
  std::unique_ptr<TBoolNode> Read() {
    auto N = ReadOr(0);
    SkipBlanks();
    if (!N || FPos != FS.size()) return nullptr;
    return N;
  }

private:
  static constexpr int MaxDepth = 100;
  void SkipBlanks() {
    while (FPos < FS.size() && (FS[FPos] == ' ' || FS[FPos] == '\t')) ++FPos;
  }
  bool Peek(char C) {
    SkipBlanks();
    return FPos < FS.size() && FS[FPos] == C;
  }
  static std::unique_ptr<TBoolNode> Join(TBoolNode::TKind K, std::unique_ptr<TBoolNode> A,
                                         std::unique_ptr<TBoolNode> B) {
    auto N = std::make_unique<TBoolNode>();
    N->Kind = K;
    N->A = std::move(A);
    N->B = std::move(B);
    return N;
  }
  std::unique_ptr<TBoolNode> ReadOr(int Depth) {
    if (Depth > MaxDepth) return nullptr;
    auto L = ReadAnd(Depth);
    while (L && Peek('|')) {
      ++FPos;
      auto R = ReadAnd(Depth);
      if (!R) return nullptr;
      L = Join(TBoolNode::Or, std::move(L), std::move(R));
    }
    return L;
  }
  bool StartsTerm() {
    SkipBlanks();
    return FPos < FS.size() && FS[FPos] != '|' && FS[FPos] != ')' && FS[FPos] != '&';
  }
  std::unique_ptr<TBoolNode> ReadAnd(int Depth) {
    auto L = ReadNot(Depth);
    while (L) {
      if (Peek('&'))
        ++FPos;
      else if (!StartsTerm())
        break;
      auto R = ReadNot(Depth);
      if (!R) return nullptr;
      L = Join(TBoolNode::And, std::move(L), std::move(R));
    }
    return L;
  }
  std::unique_ptr<TBoolNode> ReadNot(int Depth) {
    if (Depth > MaxDepth) return nullptr;
    if (Peek('!')) {
      ++FPos;
      auto A = ReadNot(Depth + 1);
      if (!A) return nullptr;
      return Join(TBoolNode::Not, std::move(A), nullptr);
    }
    return ReadAtom(Depth);
  }
  std::unique_ptr<TBoolNode> ReadAtom(int Depth) {
    SkipBlanks();
    if (FPos >= FS.size()) return nullptr;
    if (FS[FPos] == '(') {
      ++FPos;
      auto N = ReadOr(Depth + 1);
      if (!N || !Peek(')')) return nullptr;
      ++FPos;
      return N;
    }
    auto N = std::make_unique<TBoolNode>();
    if (FS[FPos] == '"') {
      const std::size_t End = FS.find('"', FPos + 1);
      if (End == std::string_view::npos) return nullptr;
      N->Text = FS.substr(FPos + 1, End - FPos - 1);
      FPos = End + 1;
      return N;
    }
    const std::size_t Start = FPos;
    while (FPos < FS.size() && std::string_view(" \t&|!()\"").find(FS[FPos]) == std::string_view::npos)
      ++FPos;
    if (FPos == Start) return nullptr;
    N->Text = FS.substr(Start, FPos - Start);
    return N;
  }

  std::string_view FS;
  std::size_t FPos = 0;
};

bool Evaluate(const TBoolNode& N, const std::function<bool(std::string_view)>& Term) {
  switch (N.Kind) {
    case TBoolNode::Term:
      return Term(N.Text);
    case TBoolNode::Not:
      return !Evaluate(*N.A, Term);
    case TBoolNode::And:
      return Evaluate(*N.A, Term) && Evaluate(*N.B, Term);
    default:
      return Evaluate(*N.A, Term) || Evaluate(*N.B, Term);
  }
}

bool HasBackReference(std::string_view P) {
  for (std::size_t I = 0; I + 1 < P.size(); ++I) {
    if (P[I] != '\\') continue;
    if (P[I + 1] >= '1' && P[I + 1] <= '9') return true;
    ++I;
  }
  return false;
}

// Whether the repetitions of an extended pattern stay small enough to compile: the C library
// copies a repeated part once per repetition, so stacked operators ("a++++") and nested counts
// ("((a{99}){99}){99}") grow its memory without bound. Refused: an operator right after
// another one, and counted repetitions whose product over the pattern exceeds 10 000.
bool RepetitionsAreTame(std::string_view P) {
  constexpr long MaxProduct = 10'000;
  long Product = 1;
  bool AfterRepeat = false;
  for (std::size_t I = 0; I < P.size(); ++I) {
    const char C = P[I];
    if (C == '\\') {  // an escaped character is literal
      ++I;
      AfterRepeat = false;
    } else if (C == '[') {  // a bracket expression holds no operators
      std::size_t J = I + 1;
      if (J < P.size() && P[J] == '^') ++J;
      if (J < P.size() && P[J] == ']') ++J;
      while (J < P.size() && P[J] != ']') ++J;
      I = J;
      AfterRepeat = false;
    } else if (C == '*' || C == '+' || C == '?' || C == '{') {
      if (AfterRepeat) return false;
      AfterRepeat = true;
      if (C != '{') continue;
      long Count = 0;
      std::size_t J = I + 1;
      for (; J < P.size() && P[J] != '}'; ++J)
        if (P[J] >= '0' && P[J] <= '9') {
          Count = P[J] - '0' + (J > I + 1 && P[J - 1] >= '0' && P[J - 1] <= '9' ? Count * 10 : 0);
          if (Count > MaxProduct) return false;
        }
      Product *= std::max(Count, 1L);
      if (Product > MaxProduct) return false;
      I = J;
    } else {
      AfterRepeat = false;
    }
  }
  return true;
}

}  // namespace

// --- the text filter, shared with the fuzz target -------------------------------------------------

struct TTextFilter::TImpl {
  TFilterMode Mode = fmSimple;
  bool IgnoreCase = false;
  bool Valid = false;
  std::string Pattern;
  std::unique_ptr<TBoolNode> Tree;
  regex_t Regex{};
  bool RegexOk = false;
  ~TImpl() {
    if (RegexOk) regfree(&Regex);
  }
};

TTextFilter::TTextFilter(std::string_view Expression, TFilterMode Mode, bool IgnoreCase)
    : FImpl(std::make_unique<TImpl>()) {
  TImpl& I = *FImpl;
  I.Mode = Mode;
  I.IgnoreCase = IgnoreCase;
  I.Pattern = Expression;
  switch (Mode) {
    case fmBoolean:
      I.Tree = TBoolReader(Expression).Read();
      I.Valid = I.Tree != nullptr || Expression.find_first_not_of(" \t") == std::string_view::npos;
      break;
    case fmGrep:
      if (Expression.size() <= MaxPatternBytes && !HasBackReference(Expression) &&
          RepetitionsAreTame(Expression) &&
          Expression.find('\0') == std::string_view::npos) {
        const int Flags = REG_EXTENDED | REG_NOSUB | (IgnoreCase ? REG_ICASE : 0);
        I.RegexOk = regcomp(&I.Regex, I.Pattern.c_str(), Flags) == 0;
      }
      I.Valid = I.RegexOk;
      break;
    default:
      I.Valid = true;
      break;
  }
}

TTextFilter::~TTextFilter() = default;

bool TTextFilter::Valid() const { return FImpl->Valid; }

bool TTextFilter::Matches(std::string_view Text) const {
  const TImpl& I = *FImpl;
  if (!I.Valid || I.Pattern.empty()) return true;
  switch (I.Mode) {
    case fmBoolean:
      if (!I.Tree) return true;
      return Evaluate(*I.Tree, [&](std::string_view T) { return ContainsText(Text, T, I.IgnoreCase); });
    case fmGrep: {
      const std::string S(Text);
      return regexec(&I.Regex, S.c_str(), 0, nullptr, 0) == 0;
    }
    default:
      return ContainsText(Text, I.Pattern, I.IgnoreCase);
  }
}

// --- the view ------------------------------------------------------------------------------------

void TReportListView::EndFilter() {
  if (!FFiltered) return;
  FFiltered = false;
  FShownRows = 0;
  FMatch.clear();
  UpdateGridRows();
  Invalidate();
}

void TReportListView::PartitionMatches() {
  TStringArray& S = FRLData->GetStrings();
  const int N = GetNrOfRows();
  std::vector<int> Positions;
  Positions.reserve(std::size_t(N));
  for (int Pass = 1; Pass >= 0; --Pass)
    for (int R = 1; R <= N; ++R) {
      const int P = S.GetSortOrder(R);
      if ((FMatch[std::size_t(P - 1)] != 0) == (Pass == 1)) Positions.push_back(P);
    }
  for (int R = 1; R <= N; ++R) S.SetSortOrder(R, Positions[std::size_t(R - 1)]);
}

void TReportListView::FilterAndSort(const std::string& FilterExp,
                                    const std::vector<int>& FilterColumns, bool IgnoreCase,
                                    TFilterMode FilterMode, int SortColumn, bool Ascending) {
  EndEditing();
  const int NCols = GetNrOfColumns(), N = GetNrOfRows();
  const bool SortIt = SortColumn >= 1 && SortColumn <= NCols;
  if (FilterExp.empty() && !OnBeforeFilter) {
    EndFilter();
    if (SortIt) Sort(SortColumn, -1, Ascending);
    SetSelection({0, 0, 0, 0});
    Invalidate();
    return;
  }
  const TTextFilter Filter(FilterExp, FilterMode, IgnoreCase);
  std::vector<int> Cols;
  for (const int C : FilterColumns)
    if (C >= 1 && C <= NCols) Cols.push_back(C);
  if (Cols.empty())
    for (int C = 1; C <= NCols; ++C) Cols.push_back(C);
  EndFilter();
  if (SortIt) SortStore(SortColumn, -1, Ascending);
  std::vector<std::uint8_t> Match(std::size_t(N), 0);
  TStringArray& S = FRLData->GetStrings();
  int M = 0;
  for (int R = 1; R <= N; ++R) {
    bool Internal = FilterExp.empty();
    for (std::size_t K = 0; K < Cols.size() && !Internal; ++K)
      Internal = Filter.Matches(FRLData->GetElem(Cols[K], R));
    bool Result = Internal;
    if (OnBeforeFilter) {
      bool Found = false;
      TLogicOp Op = loOr;
      OnBeforeFilter(this, R, Found, Op);
      switch (Op) {
        case loAnd:
          Result = Internal && Found;
          break;
        case loXor:
          Result = Internal != Found;
          break;
        case loNone:
          Result = Found;
          break;
        default:
          Result = Internal || Found;
          break;
      }
    }
    Match[std::size_t(S.GetSortOrder(R) - 1)] = Result;
    M += Result;
  }
  FMatch = std::move(Match);
  FFiltered = true;
  FShownRows = M;
  PartitionMatches();
  SetSelection({0, 0, 0, 0});
  UpdateGridRows();
  SetTopRow(1);
  Invalidate();
}

// --- files ------------------------------------------------------------------------------------------

void TReportListView::AfterLoad(bool Ok, int OldCols) {
  if (!Ok) return;
  FSelectAnchor = 0;
  if (GetNrOfColumns() != OldCols || int(FColOrder.size()) != GetNrOfColumns()) {
    TakeColumnArrays(ResizedColumnArrays(GetNrOfColumns()));
    const int LastWidth = TCustomGrid::GetColWidths(GetColCount() - 1);
    const int Old = GetColCount();
    SetColCount(GetNrOfColumns());
    SetFixedCols(FFixedColOne ? 1 : 0);
    for (int G = Old - 1; G < GetColCount(); ++G) TCustomGrid::SetColWidths(G, LastWidth);
  } else {
    for (std::size_t I = 0; I < FColOrder.size(); ++I) FColOrder[I] = int(I);
  }
  SetSelection({0, 0, 0, 0});
  UpdateGridRows();
  SetTopRow(0);
  Changed();
  ChangedSetup();
  Invalidate();
}

bool TReportListView::LoadWith(const std::function<bool()>& Read) {
  EndEditing();
  EndFilter();
  const int OldCols = GetNrOfColumns();
  bool Ok;
  {
    const TQuietChanges Quiet(FQuietChanges);
    Ok = Read();
  }
  AfterLoad(Ok, OldCols);
  return Ok;
}

int TReportListView::LoadLinesFromFile(int Column, int FirstRow, const std::string& FName) {
  int Lines = -1;
  LoadWith([&] { return (Lines = FRLData->LoadLinesFromFile(Column, FirstRow, FName)) >= 0; });
  return Lines;
}

bool TReportListView::ReadFromXMLString(std::string_view InString, const std::string& DataID) {
  return LoadWith([&] { return FRLData->ReadFromXMLString(InString, DataID); });
}

bool TReportListView::ReadFromXMLStream(std::istream& InStream, const std::string& DataID) {
  return LoadWith([&] { return FRLData->ReadFromXMLStream(InStream, DataID); });
}

bool TReportListView::ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID) {
  return LoadWith([&] { return FRLData->ReadFromOpenXMLFile(F, DataID); });
}

bool TReportListView::LoadFromXMLFile(const std::string& FName, const std::string& DataID) {
  return LoadWith([&] { return FRLData->LoadFromXMLFile(FName, DataID); });
}

void TReportListView::WriteToOpenXMLFile(std::FILE* F, bool CreateHeader,
                                         const std::string& DataID) {
  FRLData->WriteToOpenXMLFile(F, CreateHeader, DataID);
}
void TReportListView::WriteToXMLStream(std::ostream& OutStream, bool CreateHeader,
                                       const std::string& DataID) {
  FRLData->WriteToXMLStream(OutStream, CreateHeader, DataID);
}
void TReportListView::SaveAsXMLFile(const std::string& FName, const std::string& DataID) {
  FRLData->SaveAsXMLFile(FName, DataID);
}
void TReportListView::ExportHTMLTable(const std::string& FName, int LoC, int LoR, int HiC,
                                      int HiR, const std::vector<int>& ColumnSelection,
                                      int Border, int CellSpacing, int Cellpadding,
                                      bool IncludeHeader, const std::string& HeadClass,
                                      const std::string& CellClass, const std::string& TableClass) {
  FRLData->ExportHTMLTable(FName, LoC, LoR, HiC, HiR, ColumnSelection, Border, CellSpacing,
                           Cellpadding, IncludeHeader, HeadClass, CellClass, TableClass);
}

}  // namespace kvl
