// Arbitrary streams through the file-kind test of the report store, which must agree with a
// plain reading of its rule on every input (lines cut at 64 KiB are beyond these inputs).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "kvl/replist/replist.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

std::string Lower(std::string S) {
  for (char& C : S)
    if (C >= 'A' && C <= 'Z') C = char(C + 32);
  return S;
}

std::string Trimmed(const std::string& S) {
  const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; };
  std::size_t B = 0, E = S.size();
  while (B < E && Blank(S[B])) ++B;
  while (E > B && Blank(S[E - 1])) --E;
  return S.substr(B, E - B);
}

bool Expected(const std::string& Text, const std::string& Id) {
  std::istringstream In(Text);
  std::string Line;
  const std::string Want = Lower(Trimmed(Id));
  while (std::getline(In, Line)) {
    Line = Lower(Line);
    if (Line.find("<replist") == std::string::npos || Line.find("kvlwidget") == std::string::npos)
      continue;
    std::string Found;
    if (const auto At = Line.find("id=\""); At != std::string::npos) {
      const std::string Rest = Line.substr(At + 4);
      Found = Trimmed(Rest.substr(0, Rest.find('"')));
    }
    if (Want.empty() || Found == Want) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  // The first byte gives the length of the identifier that follows it.
  const std::size_t IdLen = Size ? std::min<std::size_t>(Data[0] % 8, Size - 1) : 0;
  const std::string Id(reinterpret_cast<const char*>(Data) + (Size ? 1 : 0), IdLen);
  const std::string Text(reinterpret_cast<const char*>(Data) + (Size ? 1 + IdLen : 0),
                         Size ? Size - 1 - IdLen : 0);
  std::istringstream In(Text);
  Check(kvl::CheckIfValidReplist(In, Id) == Expected(Text, Id));
  return 0;
}
