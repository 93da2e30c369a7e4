#include "kvl/platform/followedstrings.h"

#include <algorithm>

#include "kvl/platform/scoped_value.h"

namespace kvl {

template <class F>
void TFollowedStrings::Followed(F&& Change) {
  const TScopedValue<bool> Mark(FFollowed, true);
  Change();
}

int TFollowedStrings::AddObject(const std::string& S, TObject* AObject) {
  const int Before = GetCount();
  int Index = -1;
  Followed([&] { Index = TStringList::AddObject(S, AObject); });
  // A deferred sorted add (-1) happens only while nothing is selected: the line simply joins.
  if (GetCount() > Before) FFollower.ItemInserted(Index >= 0 ? Index : GetCount() - 1);
  return Index;
}

void TFollowedStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Followed([&] { TStringList::InsertObject(Index, S, AObject); });
  FFollower.ItemInserted(Index);
}

void TFollowedStrings::Delete(int Index) {
  Followed([&] { TStringList::Delete(Index); });
  FFollower.ItemDeleted(Index);
}

void TFollowedStrings::Clear() {
  TStringList::Clear();
  FFollower.ItemsReset();
}

void TFollowedStrings::Exchange(int Index1, int Index2) {
  Followed([&] { TStringList::Exchange(Index1, Index2); });
  const int A = std::min(Index1, Index2), B = std::max(Index1, Index2);
  if (A == B) return;
  FFollower.ItemsMoved(A, B);
  FFollower.ItemsMoved(B - 1, A);
}

void TFollowedStrings::Move(int CurIndex, int NewIndex) {
  Followed([&] { TStringList::Move(CurIndex, NewIndex); });
  if (CurIndex != NewIndex) FFollower.ItemsMoved(CurIndex, NewIndex);
}

void TFollowedStrings::Changed() {
  if (!FFollowed) FFollower.ItemsReset();
  FFollower.ItemsChanged();
  TStringList::Changed();
}

}  // namespace kvl
