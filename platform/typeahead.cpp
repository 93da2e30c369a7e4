#include "kvl/platform/typeahead.h"

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

char Folded(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }

bool StartsWithFolded(const std::string& S, const std::string& Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (std::size_t I = 0; I < Prefix.size(); ++I)
    if (Folded(S[I]) != Folded(Prefix[I])) return false;
  return true;
}

}  // namespace

int TTypeAhead::KeyTyped(char32_t Key, std::int64_t NowMs, int Current, int Count,
                         const TItemText& Text) {
  if (!FPrefix.empty() && NowMs - FLast > PauseMs) FPrefix.clear();
  FLast = NowMs;
  const std::string Typed = Utf8Encode(Key);
  FPrefix += Typed;
  if (Count <= 0) return -1;
  // "a", "aa", "aaa": one letter repeated steps through the items starting with it.
  bool Repeated = FPrefix.size() > Typed.size();
  for (std::size_t I = 0; Repeated && I < FPrefix.size(); I += Typed.size())
    Repeated = FPrefix.compare(I, Typed.size(), Typed) == 0;
  const std::string Wanted = Repeated ? Typed : FPrefix;
  int Start = Current < 0 || Current >= Count ? 0 : Current;
  if (Repeated) Start = (Start + 1) % Count;
  for (int N = 0; N < Count; ++N) {
    const int I = (Start + N) % Count;
    if (StartsWithFolded(Text(I), Wanted)) return I;
  }
  return -1;
}

}  // namespace kvl
