// Arbitrary bytes through the UTF-8 helpers and the string routines; every invariant that a
// text rule relies on is checked, and any violation aborts.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kvl/core/math1.h"
#include "kvl/core/stringl.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string S(reinterpret_cast<const char*>(Data), Size);
  const int Len = kvl::Utf8Length(S);
  Check(Len <= static_cast<int>(S.size()));

  const int N = Size ? Data[0] % (Len + 2) : 0;
  const std::string L = kvl::Utf8Left(S, N), R = kvl::Utf8Right(S, Len - N);
  Check(L + R == S);
  Check(kvl::Utf8Length(L) == std::min(N, Len));
  Check(kvl::Utf8Length(kvl::LeftString(S, N)) == N);
  Check(kvl::Utf8Mid(S, N + 1, Len) == R);

  std::size_t P = 0;
  int Count = 0;
  while (P < S.size()) {
    int CharLen = 0;
    const char32_t C = kvl::Utf8Decode(S, P, &CharLen);
    Check(CharLen >= 1 && CharLen <= 4);
    if (C != 0xFFFD || CharLen == 3) Check(kvl::Utf8Encode(C) == S.substr(P, CharLen));
    P += std::size_t(CharLen);
    ++Count;
  }
  Check(Count == Len);

  std::vector<std::string> Tokens;
  const int T = kvl::Tokenize(S, ";\\", Tokens);
  std::size_t Joined = 0;
  for (const auto& Tok : Tokens) Joined += Tok.size();
  Check(S.empty() ? T == 0 : Joined + std::size_t(T - 1) == S.size());

  const std::string NoCtl = kvl::RemoveControlChars(S);
  for (unsigned char B : NoCtl) Check(B >= 0x20 && B != 0x7F);

  if (kvl::IsValidDecInt(S)) {
    int V = 0;
    const char* First = S.data() + (S[0] == '+');
    const auto Res = std::from_chars(First, S.data() + S.size(), V);
    Check(Res.ec == std::errc() && Res.ptr == S.data() + S.size());
  }

  const int Pos = kvl::NumberedPos(";", S, 1 + N, 1, true);
  Check(Pos == 0 || (Pos > N && Pos <= Len));
  return 0;
}
