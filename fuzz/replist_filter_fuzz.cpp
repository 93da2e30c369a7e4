// The report view's text filter from the bytes: a mode, a case flag, an expression (boolean or
// a regular expression) and texts to match. Reading must never fail, recurse without bound or
// take long; a filter that could not be read matches everything.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "kvl/replist/filterexpr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace kvl;
  if (Size < 1) return 0;
  const TFilterMode Mode = TFilterMode(Data[0] % 3);
  const bool IgnoreCase = Data[0] & 0x80;
  const std::string Rest(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  // The expression ends at the first line feed; each line after it is a text to match.
  const std::size_t Cut = Rest.find('\n');
  const std::string Expr = Rest.substr(0, Cut);
  const TTextFilter Filter(Expr, Mode, IgnoreCase);
  if (!Filter.Valid()) fuzzing::Check(Filter.Matches("anything"));
  if (Expr.empty()) fuzzing::Check(Filter.Matches(""));
  std::size_t Pos = Cut == std::string::npos ? Rest.size() : Cut + 1;
  while (Pos < Rest.size()) {
    const std::size_t End = std::min(Rest.find('\n', Pos), Rest.size());
    Filter.Matches(std::string_view(Rest).substr(Pos, End - Pos));
    Pos = End + 1;
  }
  return 0;
}
