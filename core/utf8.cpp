#include <algorithm>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

bool InRange(unsigned char B, unsigned char Lo, unsigned char Hi) { return B >= Lo && B <= Hi; }

}  // namespace

int Utf8CharLen(std::string_view S, std::size_t Pos) {
  if (Pos >= S.size()) return 0;
  const auto At = [&](std::size_t I) -> unsigned char {
    return I < S.size() ? static_cast<unsigned char>(S[I]) : 0;
  };
  const unsigned char B0 = At(Pos);
  if (B0 < 0x80) return 1;
  int Len = 0;
  unsigned char Lo = 0x80, Hi = 0xBF;  // allowed range of the second byte
  if (InRange(B0, 0xC2, 0xDF)) {
    Len = 2;
  } else if (InRange(B0, 0xE0, 0xEF)) {
    Len = 3;
    if (B0 == 0xE0) Lo = 0xA0;  // overlong
    if (B0 == 0xED) Hi = 0x9F;  // surrogates
  } else if (InRange(B0, 0xF0, 0xF4)) {
    Len = 4;
    if (B0 == 0xF0) Lo = 0x90;  // overlong
    if (B0 == 0xF4) Hi = 0x8F;  // beyond U+10FFFF
  } else {
    return 1;
  }
  if (!InRange(At(Pos + 1), Lo, Hi)) return 1;
  for (int I = 2; I < Len; ++I)
    if (!InRange(At(Pos + I), 0x80, 0xBF)) return 1;
  return Len;
}

char32_t Utf8Decode(std::string_view S, std::size_t Pos, int* Len) {
  const int L = Utf8CharLen(S, Pos);
  if (Len) *Len = L;
  if (L == 0) return 0;
  const auto B0 = static_cast<unsigned char>(S[Pos]);
  if (L == 1) return B0 < 0x80 ? char32_t(B0) : char32_t(0xFFFD);
  char32_t C = B0 & (0x7F >> L);
  for (int I = 1; I < L; ++I) C = (C << 6) | (static_cast<unsigned char>(S[Pos + I]) & 0x3F);
  return C;
}

std::string Utf8Encode(char32_t C) {
  if (C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) C = 0xFFFD;
  std::string R;
  if (C < 0x80) {
    R += char(C);
  } else if (C < 0x800) {
    R += char(0xC0 | (C >> 6));
    R += char(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    R += char(0xE0 | (C >> 12));
    R += char(0x80 | ((C >> 6) & 0x3F));
    R += char(0x80 | (C & 0x3F));
  } else {
    R += char(0xF0 | (C >> 18));
    R += char(0x80 | ((C >> 12) & 0x3F));
    R += char(0x80 | ((C >> 6) & 0x3F));
    R += char(0x80 | (C & 0x3F));
  }
  return R;
}

std::string Utf8Repaired(std::string_view S) {
  std::string Out;
  Out.reserve(S.size());
  for (std::size_t P = 0; P < S.size();) {
    const int Len = Utf8CharLen(S, P);
    if (Len == 1 && static_cast<unsigned char>(S[P]) >= 0x80)
      Out += "\xEF\xBF\xBD";
    else
      Out.append(S.substr(P, std::size_t(Len)));
    P += std::size_t(Len);
  }
  return Out;
}

int Utf8Length(std::string_view S) {
  int N = 0;
  for (std::size_t P = 0; P < S.size(); P += Utf8CharLen(S, P)) ++N;
  return N;
}

std::size_t Utf8Offset(std::string_view S, int N) {
  std::size_t P = 0;
  for (int I = 0; I < N && P < S.size(); ++I) P += Utf8CharLen(S, P);
  return P;
}

std::string Utf8Left(std::string_view S, int N) { return std::string(S.substr(0, Utf8Offset(S, N))); }

std::string Utf8Right(std::string_view S, int N) {
  const int Len = Utf8Length(S);
  return std::string(S.substr(Utf8Offset(S, Len - std::max(N, 0))));
}

std::string Utf8Mid(std::string_view S, int Index, int Count) {
  if (Count <= 0) return {};
  const std::size_t From = Utf8Offset(S, std::max(Index, 1) - 1);
  const std::string_view Rest = S.substr(From);
  return std::string(Rest.substr(0, Utf8Offset(Rest, Count)));
}

void Utf8Cut(std::string& S, int N) { S.resize(Utf8Offset(S, N)); }

}  // namespace kvl
