// Arbitrary files through the report store's line loader: the number of rows it reports must
// match the line ends of the file, and every cell must be valid UTF-8 within the cell limit.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

// An anonymous in-memory file: a regular file by its path, gone with the process.
int FileFd() {
  static const int Fd = memfd_create("kvl-lines-fuzz", 0);
  Check(Fd >= 0);
  return Fd;
}

int LinesOf(const std::string& S) {
  int N = 0;
  for (std::size_t I = 0; I < S.size(); ++I)
    if (S[I] == '\n' ? I == 0 || S[I - 1] != '\r' : S[I] == '\r') ++N;
  const char Last = S.empty() ? '\n' : S.back();
  return N + (Last != '\n' && Last != '\r');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  Check(ftruncate(FileFd(), 0) == 0);
  Check(pwrite(FileFd(), Text.data(), Text.size(), 0) == ssize_t(Text.size()));
  const std::string Path = "/proc/self/fd/" + std::to_string(FileFd());
  kvl::TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetColumnCheckMode(2, kvl::cmBox);
  const int First = Size ? 1 + Data[0] % 4 : 1;
  const int Col = Size > 1 ? 1 + Data[1] % 2 : 1;
  const int N = D.LoadLinesFromFile(Col, First, Path);
  Check(N == LinesOf(Text));
  Check(D.GetNrOfRows() == (N ? First + N - 1 : 0));
  for (int R = 1; R <= D.GetNrOfRows(); ++R) {
    const std::string Cell = D(Col, R);
    Check(kvl::Utf8Length(Cell) <= kvl::MaxCellLength);
    for (std::size_t P = 0; P < Cell.size();) {
      int Len = 0;
      const char32_t C = kvl::Utf8Decode(Cell, P, &Len);
      Check(!(C == 0xFFFD && Len == 1));
      P += std::size_t(Len);
    }
    Check(!D.GetElemChecked(Col, R));
  }
  return 0;
}
