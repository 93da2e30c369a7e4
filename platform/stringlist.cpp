#include "kvl/platform/stringlist.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <vector>

#include "kvl/platform/files.h"

namespace kvl {

namespace {

// Blanks and control characters: what separates and what forces quotes in comma text.
bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

int CompareBytes(const std::string& A, const std::string& B, bool FoldCase) {
  const auto Fold = [FoldCase](char C) {
    const auto U = static_cast<unsigned char>(C);
    return FoldCase && U >= 'a' && U <= 'z' ? U - 32 : U;
  };
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < N; ++I)
    if (const int D = int(Fold(A[I])) - int(Fold(B[I]))) return D;
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

// A quoted item from the opening quote at P on; "" stands for one quote. An item without its
// closing quote runs to the end.
std::string ExtractQuoted(std::string_view Text, std::size_t& P) {
  std::string S;
  for (++P; P < Text.size(); ++P) {
    if (Text[P] == '"') {
      if (P + 1 < Text.size() && Text[P + 1] == '"') {
        ++P;
      } else {
        ++P;
        break;
      }
    }
    S += Text[P];
  }
  return S;
}

// Runs Body between BeginUpdate and EndUpdate, also when it fails.
template <class F>
void InBatch(TStrings& L, F&& Body) {
  L.BeginUpdate();
  try {
    Body();
  } catch (...) {
    L.EndUpdate();
    throw;
  }
  L.EndUpdate();
}

}  // namespace

// --- TStrings -------------------------------------------------------------------------------

void TStrings::IndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TStrings::CompareStrings(const std::string& A, const std::string& B) const {
  return CompareBytes(A, B, true);
}

void TStrings::SetStrings(int Index, const std::string& S) {
  TObject* const O = GetObjects(Index);
  InBatch(*this, [&] {
    Delete(Index);
    InsertObject(Index, S, O);
  });
}

TObject* TStrings::GetObjects(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  return nullptr;
}

void TStrings::SetObjects(int Index, TObject*) {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  const int Index = GetCount();
  InsertObject(Index, S, AObject);
  return Index;
}

void TStrings::Exchange(int Index1, int Index2) {
  const std::string S1 = GetStrings(Index1), S2 = GetStrings(Index2);
  TObject* const O1 = GetObjects(Index1);
  TObject* const O2 = GetObjects(Index2);
  InBatch(*this, [&] {
    SetStrings(Index1, S2);
    SetObjects(Index1, O2);
    SetStrings(Index2, S1);
    SetObjects(Index2, O1);
  });
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) {
    GetStrings(CurIndex);  // still checks the index
    return;
  }
  if (NewIndex < 0 || NewIndex >= GetCount()) IndexError(NewIndex);
  const std::string S = GetStrings(CurIndex);
  TObject* const O = GetObjects(CurIndex);
  InBatch(*this, [&] {
    Delete(CurIndex);
    InsertObject(NewIndex, S, O);
  });
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::AddStrings(const TStrings& Strings) {
  // Adding a list to itself adds what it held at the start.
  std::vector<std::pair<std::string, TObject*>> Own;
  if (&Strings == this)
    for (int I = 0; I < GetCount(); ++I) Own.emplace_back(GetStrings(I), GetObjects(I));
  InBatch(*this, [&] {
    if (&Strings == this)
      for (const auto& [S, O] : Own) AddObject(S, O);
    else
      for (int I = 0; I < Strings.GetCount(); ++I)
        AddObject(Strings.GetStrings(I), Strings.GetObjects(I));
  });
}

void TStrings::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TStrings*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  InBatch(*this, [&] {
    Clear();
    AddStrings(*Src);
  });
}

int TStrings::IndexOf(const std::string& S) const {
  for (int I = 0; I < GetCount(); ++I)
    if (CompareStrings(GetStrings(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int I = 0; I < GetCount(); ++I)
    if (GetObjects(I) == AObject) return I;
  return -1;
}

std::string TStrings::GetNames(int Index) const {
  const std::string S = GetStrings(Index);
  const std::size_t Eq = S.find('=');
  return Eq == std::string::npos ? std::string() : S.substr(0, Eq);
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int I = 0; I < GetCount(); ++I) {
    const std::string S = GetStrings(I);
    const std::size_t Eq = S.find('=');
    if (Eq != std::string::npos && CompareStrings(S.substr(0, Eq), Name) == 0) return I;
  }
  return -1;
}

std::string TStrings::GetValues(const std::string& Name) const {
  const int I = IndexOfName(Name);
  if (I < 0) return {};
  const std::string S = GetStrings(I);
  return S.substr(S.find('=') + 1);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  const int I = IndexOfName(Name);
  if (Value.empty()) {
    if (I >= 0) Delete(I);
  } else if (I < 0) {
    Add(Name + '=' + Value);
  } else {
    SetStrings(I, Name + '=' + Value);
  }
}

std::string TStrings::GetText() const {
  std::string Text;
  for (int I = 0; I < GetCount(); ++I) {
    Text += GetStrings(I);
    Text += '\n';
  }
  return Text;
}

void TStrings::SetText(std::string_view Text) {
  InBatch(*this, [&] {
    Clear();
    std::size_t Start = 0;
    while (Start < Text.size()) {
      const std::size_t End = std::min(Text.find_first_of("\r\n", Start), Text.size());
      Add(std::string(Text.substr(Start, End - Start)));
      Start = End + 1;
      if (End + 1 < Text.size() && Text[End] == '\r' && Text[End + 1] == '\n') ++Start;
    }
  });
}

std::string TStrings::GetCommaText() const {
  const int N = GetCount();
  if (N == 1 && GetStrings(0).empty()) return "\"\"";
  std::string Text;
  for (int I = 0; I < N; ++I) {
    if (I) Text += ',';
    const std::string S = GetStrings(I);
    if (std::none_of(S.begin(), S.end(),
                     [](char C) { return IsBlank(C) || C == ',' || C == '"'; })) {
      Text += S;
      continue;
    }
    Text += '"';
    for (char C : S) {
      if (C == '"') Text += '"';
      Text += C;
    }
    Text += '"';
  }
  return Text;
}

void TStrings::SetCommaText(std::string_view Text) {
  InBatch(*this, [&] {
    Clear();
    std::size_t P = 0;
    const auto SkipBlanks = [&] {
      while (P < Text.size() && IsBlank(Text[P])) ++P;
    };
    SkipBlanks();
    while (P < Text.size()) {
      if (Text[P] == '"') {
        Add(ExtractQuoted(Text, P));
      } else {
        const std::size_t Start = P;
        while (P < Text.size() && !IsBlank(Text[P]) && Text[P] != ',') ++P;
        Add(std::string(Text.substr(Start, P - Start)));
      }
      SkipBlanks();
      if (P < Text.size() && Text[P] == ',') {
        // A comma at the very end still ends an (empty) item.
        if (++P == Text.size()) Add({});
        SkipBlanks();
      }
    }
  });
}

void TStrings::LoadFromFile(const std::string& FileName) {
  const std::string Bytes = ReadGivenFile(FileName, MaxLoadedFileSize);
  std::string_view Text = Bytes;
  if (Text.starts_with("\xEF\xBB\xBF")) Text.remove_prefix(3);
  SetText(Text);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  const std::string Text = GetText();
  SaveFileReplacing(FileName, [&](std::FILE* F) {
    if (std::fwrite(Text.data(), 1, Text.size(), F) != Text.size())
      throw EInOutError("Cannot write \"" + FileName + "\"");
  });
}

// --- TStringList ----------------------------------------------------------------------------

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

void TStringList::SortedError() {
  throw EStringListError("Operation not allowed on a sorted list");
}

void TStringList::SortPending() const {
  if (!FSorted || FSortedCount >= FList.size()) return;
  // Sorted in one contiguous array: a merge sort there walks memory in order, where the blocks
  // of the list would cost a lookup at every step. Moving a line cannot fail, and a sort short
  // of memory sorts in place, so nothing is lost on the way.
  std::vector<TItem> Lines;
  Lines.reserve(FList.size());
  for (TItem& Item : FList) Lines.push_back(std::move(Item));
  const auto Less = [this](const TItem& A, const TItem& B) { return CompareStrings(A.S, B.S) < 0; };
  const auto Mid = Lines.begin() + std::ptrdiff_t(FSortedCount);
  // Stable on both steps: equal lines keep the order they were added in, after the ones there.
  std::stable_sort(Mid, Lines.end(), Less);
  std::inplace_merge(Lines.begin(), Mid, Lines.end(), Less);
  std::move(Lines.begin(), Lines.end(), FList.begin());
  FSortedCount = FList.size();
}

const std::string& TStringList::operator[](int Index) const {
  CheckIndex(Index);
  SortPending();
  return FList[std::size_t(Index)].S;
}

void TStringList::SetStrings(int Index, const std::string& S) {
  CheckIndex(Index);
  SortPending();
  if (FSorted) {
    TObject* const O = FList[std::size_t(Index)].Object;
    InBatch(*this, [&] {
      Delete(Index);
      AddObject(S, O);
    });
    return;
  }
  Changing();
  FList[std::size_t(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObjects(int Index) const {
  CheckIndex(Index);
  SortPending();
  return FList[std::size_t(Index)].Object;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
  CheckIndex(Index);
  SortPending();
  Changing();
  FList[std::size_t(Index)].Object = AObject;
  Changed();
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  if (FSorted && FDuplicates == dupAccept && GetUpdateCount() > 0 && CanDeferSort()) {
    Changing();
    FList.push_back(TItem{S, AObject});
    Changed();
    return -1;
  }
  SortPending();
  int Index = GetCount();
  if (FSorted && Find(S, Index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return Index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        // After the equal ones, so that equal strings keep the order they came in.
        while (Index < GetCount() && CompareStrings(FList[std::size_t(Index)].S, S) == 0) ++Index;
        break;
    }
  }
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, AObject});
  if (FSorted) FSortedCount = FList.size();
  Changed();
  return Index;
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) SortedError();
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  SortPending();
  Changing();
  FList.erase(FList.begin() + Index);
  if (FSorted) FSortedCount = FList.size();
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  if (FSorted) SortedError();
  if (Index1 == Index2) return;
  Changing();
  std::swap(FList[std::size_t(Index1)], FList[std::size_t(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (FSorted) SortedError();
  if (CurIndex == NewIndex) return;
  Changing();
  const auto Cur = FList.begin() + CurIndex, New = FList.begin() + NewIndex;
  if (CurIndex < NewIndex)
    std::rotate(Cur, Cur + 1, New + 1);
  else
    std::rotate(New, Cur, Cur + 1);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  FSortedCount = 0;
  Changed();
}

void TStringList::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TStringList*>(Source);
  if (!Src) {
    TStrings::Assign(Source);
    return;
  }
  if (Src == this) return;
  Src->SortPending();
  Changing();
  FList = Src->FList;
  FSortedCount = FList.size();
  FSorted = Src->FSorted;
  FDuplicates = Src->FDuplicates;
  FCaseSensitive = Src->FCaseSensitive;
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  SortPending();
  if (!FSorted) return TStrings::IndexOf(S);
  int Index = 0;
  return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  SortPending();
  // The first line not before S.
  const auto It = std::lower_bound(
      FList.begin(), FList.end(), S,
      [this](const TItem& I, const std::string& Key) { return CompareStrings(I.S, Key) < 0; });
  Index = int(It - FList.begin());
  return It != FList.end() && CompareStrings(It->S, S) == 0;
}

void TStringList::SortBy(const TStringListSortCompare& Compare) {
  if (FList.size() < 2) return;
  // The order is found on indexes into the untouched list, so Compare may look at any line.
  std::vector<int> Order(FList.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](int A, int B) { return Compare(this, A, B) < 0; });
  if (std::is_sorted(Order.begin(), Order.end())) return;
  std::deque<TItem> Sorted;
  for (int I : Order) Sorted.push_back(std::move(FList[std::size_t(I)]));
  Changing();
  FList.swap(Sorted);
  Changed();
}

void TStringList::Sort() {
  if (FSorted) return;
  SortBy([](TStringList* L, int A, int B) {
    return L->CompareStrings(L->FList[std::size_t(A)].S, L->FList[std::size_t(B)].S);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (!FSorted) SortBy(Compare);
}

void TStringList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  SortPending();
  if (Value) Sort();
  FSorted = Value;
  FSortedCount = FList.size();
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == FCaseSensitive) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
    FSortedCount = FList.size();
  }
}

int TStringList::CompareStrings(const std::string& A, const std::string& B) const {
  return CompareBytes(A, B, !FCaseSensitive);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) return;
  SortPending();
  const bool Pending = FChangePending;
  FChangingSent = FChangePending = false;
  if (Pending && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (GetUpdateCount() > 0) {
    if (FChangingSent) return;
    FChangingSent = true;
  }
  if (OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (GetUpdateCount() > 0)
    FChangePending = true;
  else if (OnChange)
    OnChange(this);
}

}  // namespace kvl
