// The pure path routines under arbitrary bytes: normalisation, containment, ParentDir, and the
// splitting of a new folder name into components. A normalised path is absolute with no ".",
// ".." or empty component; accepted components are safe names that stay below their base;
// ParentDir shortens its argument and reaches "".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/core/filesys.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

void CheckNormalised(const std::string& P) {
  Check(!P.empty() && P.front() == '/' && P.back() == '/');
  Check(P.find("//") == std::string::npos && P.find('\0') == std::string::npos);
  Check(P.find("/./") == std::string::npos && P.find("/../") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace kvl;
  const std::string_view In(reinterpret_cast<const char*>(Data), Size);
  // The first line is a base folder, the rest a path or a name.
  const std::size_t Nl = In.find('\n');
  const std::string_view Head = Nl == std::string_view::npos ? In : In.substr(0, Nl);
  const std::string_view Tail = Nl == std::string_view::npos ? In : In.substr(Nl + 1);

  const std::string Base = NormalizePath(std::string("/") + std::string(Head), "/");
  if (Head.find('\0') == std::string_view::npos) CheckNormalised(Base);
  const std::string P = NormalizePath(Tail, Base.empty() ? "/" : Base);
  if (!Tail.empty() && Tail.find('\0') == std::string_view::npos) {
    CheckNormalised(P);
    Check(IsPathWithin(P, "/") && IsPathWithin(P, P));
    if (!Base.empty()) Check(IsPathWithin(Base + "x/", Base));
  }

  std::string Up(Tail);
  while (!Up.empty()) {
    const std::string Next = ParentDir(Up);
    Check(Next.size() < Up.size());
    Up = Next;
  }

  std::vector<std::string> Parts;
  if (!Base.empty() && SplitNewFolderName(Base, Tail, Parts)) {
    Check(!Parts.empty());
    std::string Joined = Base;
    for (const std::string& C : Parts) {
      Check(!C.empty() && C != "." && C != ".." && C.front() != '.' && C.size() <= 255);
      for (const char Ch : C) {
        const auto B = static_cast<unsigned char>(Ch);
        Check(B >= 32 && Ch != '/' && Ch != '\\' && Ch != '"' && Ch != '<' && Ch != '>' &&
              Ch != '|');
      }
      Joined += C + "/";
    }
    Check(IsPathWithin(NormalizePath(Joined), Base) && NormalizePath(Joined) != Base);
  }
  return 0;
}
