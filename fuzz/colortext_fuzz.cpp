// Any bytes through the colour dialog's field readers: a hex colour read back must print as
// the same six digits, a number must lie in range and print as the digits read, and the
// HSV round trip of any colour must give a plain RGB colour of the same value.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kvl/platform/colortext.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

char Upper(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace kvl;
  const std::string S(reinterpret_cast<const char*>(Data), Size);
  if (const auto C = ReadHexColor(S)) {
    Check((*C & 0xFF000000u) == 0);
    const std::string Hex = HexColorText(*C);
    // The six digits are in the input, in order.
    const std::size_t At = S.find_first_not_of(" \t#");
    Check(At != std::string::npos);
    for (std::size_t I = 0; I < 6; ++I) Check(Upper(S[At + I]) == Hex[I + 1]);
    Check(ReadHexColor(Hex) == C);
  }
  for (const int Max : {255, 359}) {
    if (const auto V = ReadColorNumber(S, Max)) {
      Check(*V >= 0 && *V <= Max);
      Check(ReadColorNumber(std::to_string(*V), Max) == V);
    }
  }
  if (Size >= 3) {
    const TColor C = RGBColor(Data[0], Data[1], Data[2]);
    const TColor R = HsvToRgb(RgbToHsv(C));
    // Value is the brightest channel, kept exactly.
    const auto Brightest = [](TColor X) {
      return std::max({X & 0xFF, (X >> 8) & 0xFF, (X >> 16) & 0xFF});
    };
    Check((R & 0xFF000000u) == 0 && Brightest(R) == Brightest(C));
  }
  return 0;
}
