#include "kvl/core/stringl.h"

#include <algorithm>

namespace kvl {

namespace {

char FoldAscii(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }

bool MatchesAt(std::string_view S, std::size_t P, std::string_view Sub, bool MatchCase) {
  if (S.size() - P < Sub.size()) return false;
  for (std::size_t I = 0; I < Sub.size(); ++I) {
    const char A = S[P + I], B = Sub[I];
    if (MatchCase ? A != B : FoldAscii(A) != FoldAscii(B)) return false;
  }
  return true;
}

}  // namespace

int NumberedPos(std::string_view Sub, std::string_view S, int Start, int N, bool MatchCase) {
  if (Sub.empty() || N < 1) return 0;
  const int First = std::max(Start, 1);
  int Found = 0;
  int Pos = First;
  for (std::size_t P = Utf8Offset(S, First - 1); P < S.size(); P += Utf8CharLen(S, P), ++Pos)
    if (MatchesAt(S, P, Sub, MatchCase) && ++Found == N) return Pos;
  return 0;
}

std::string ReplaceCharInString(std::string_view S, char Old, char New) {
  std::string R(S);
  std::replace(R.begin(), R.end(), Old, New);
  return R;
}

std::string LeftString(std::string_view S, int N) {
  if (N <= 0) return {};
  std::string R = Utf8Left(S, N);
  R.append(std::size_t(N - Utf8Length(R)), ' ');
  return R;
}

std::string RemoveControlChars(std::string_view S) {
  std::string R;
  R.reserve(S.size());
  for (std::size_t P = 0; P < S.size();) {
    int Len = 0;
    const char32_t C = Utf8Decode(S, P, &Len);
    const bool Control = C < 0x20 || (C >= 0x7F && C <= 0x9F);
    if (!Control) R.append(S.substr(P, Len));
    P += Len;
  }
  return R;
}

std::string EnsureTrailingChar(char C, std::string_view S) {
  std::string R = StripTrailingChars(C, S);
  R += C;
  return R;
}

std::string EnsureTrailingBkSlash(std::string_view S) { return EnsureTrailingChar('\\', S); }

std::string StripLeadingChars(char C, std::string_view S) {
  const std::size_t P = S.find_first_not_of(C);
  return P == std::string_view::npos ? std::string() : std::string(S.substr(P));
}

std::string StripTrailingChars(char C, std::string_view S) {
  const std::size_t P = S.find_last_not_of(C);
  return P == std::string_view::npos ? std::string() : std::string(S.substr(0, P + 1));
}

int Tokenize(std::string_view S, std::string_view Delims, std::vector<std::string>& Tokens) {
  Tokens.clear();
  if (S.empty()) return 0;
  std::size_t From = 0;
  while (true) {
    const std::size_t P = Delims.empty() ? std::string_view::npos : S.find_first_of(Delims, From);
    if (P == std::string_view::npos) {
      Tokens.emplace_back(S.substr(From));
      break;
    }
    Tokens.emplace_back(S.substr(From, P - From));
    From = P + 1;
  }
  return static_cast<int>(Tokens.size());
}

}  // namespace kvl
