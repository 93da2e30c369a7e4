// Arbitrary text through the number scanner, the validity checks and both components'
// conversions, and arbitrary doubles (taken from the same bytes) through every text form.
// Every rule that the numeric entry components rely on is checked; a violation aborts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "kvl/core/univconst.h"
#include "kvl/numio/numio.h"

namespace {

using namespace kvl;

void Check(bool Ok) {
  if (!Ok) std::abort();
}

bool InRange(double V) { return std::isfinite(V) && std::fabs(V) <= uc_MaxDouble; }

constexpr TSepMode kModes[] = {smPoint, smComma, smBoth};

void CheckText(std::string_view Text, std::uint8_t Ctl) {
  const int Len = static_cast<int>(Text.size());
  const int Decimals = 1 + Ctl % 15;
  const TInFormat Unknown = static_cast<TInFormat>(8 + Ctl % 248);

  for (TSepMode Mode : kModes) {
    for (bool Exp : {false, true}) {
      const int Start = (Ctl >> 4) % (Len + 3);  // 0 and one past the end included
      const TNumScan R = ScanNumber(Text, Exp, Mode, Start);
      Check(R.StopPos >= std::clamp(Start, 1, Len + 1) && R.StopPos <= Len + 1);
      Check(InRange(R.Value));
      if (!R.Ok) Check(R.Value == 0);
    }

    // A float text is a number the scanner reads to its end.
    if (CheckFloat(Text, Mode)) {
      const TNumScan R = ScanNumber(Text, false, Mode);
      Check(R.StopPos == Len + 1);
      Check(R.Ok || Text == "+" || Text == "-");
    }
    // What the validity scanner passes, the number scanner reads without error.
    if (CheckValidity(Text, itExp, Mode, Decimals)) Check(ScanNumber(Text, true, Mode).Ok);

    const bool Bin = CheckValidity(Text, itBin, Mode, Decimals);
    const bool Oct = CheckValidity(Text, itOct, Mode, Decimals);
    const bool Hex = CheckValidity(Text, itHex, Mode, Decimals);
    const bool Int = CheckValidity(Text, itInt, Mode, Decimals);
    const bool Flt = CheckValidity(Text, itFloat, Mode, Decimals);
    const bool Fix = CheckValidity(Text, itFixPoint, Mode, Decimals);
    Check(!Bin || Oct);
    Check(!Oct || Hex);
    Check(!Oct || Int);
    Check(!Int || Flt);
    Check(!Fix || Flt);
    Check(CheckValidity(Text, Unknown, Mode, Decimals) == Flt);
    CheckValidity(Text, itDynamic, Mode, Decimals);

    for (int F = 0; F <= itDynamic; ++F) {
      double V = 0;
      if (ConvertNumString(Text, static_cast<TInFormat>(F), Mode, V)) Check(InRange(V));
    }
  }

  for (int F = 0; F <= itDynamic + 1; ++F) {
    const auto Format = static_cast<TInFormat>(F);
    const double V = ReadNioValue(Text, Format);
    Check(InRange(V));
    if (Format == itInt) Check(V >= -2147483648.0 && V <= 2147483647.0 && V == std::trunc(V));
    Check(InRange(ReadNumIOValue(Text, Format)));
  }

  for (auto Reader : {ReadHexDigits, ReadOctDigits, ReadBinDigits, ReadDecInteger}) {
    const TDigitsRead R = Reader(Text);
    Check(R.StopPos >= 1 && R.StopPos <= Len + 1 && R.Digits >= 0 && R.Digits < R.StopPos);
  }
}

// The value a text form shows: NaN as 0, the infinities as the largest finite values.
double Shown(double V) { return std::isnan(V) ? 0 : std::clamp(V, -uc_MaxDouble, uc_MaxDouble); }

void CheckValue(double V, std::uint8_t Ctl) {
  const int Decimals = 1 + Ctl % 15;
  const int Digits = 1 + (Ctl >> 4) % 15;
  const double S = Shown(V);

  // One mode per input keeps long digit texts affordable; the control byte varies it.
  {
    const TSepMode Mode = kModes[(Ctl >> 2) % 3];
    for (int F = 0; F <= itDynamic; ++F) {
      const auto Format = static_cast<TInFormat>(F);
      const std::string Field = NioValueText(V, Format, Mode, Decimals, Digits);
      if (Format == itExp && Field.front() == '*') {
        // The overflow display: asterisks only, as long as the form would be.
        Check(Field.size() == std::size_t(Digits + (Digits > 1 ? 6 : 5)));
        Check(Field.find_first_not_of('*') == std::string::npos);
      } else {
        Check(CheckValidity(Field, Format, Mode, Decimals));
      }

      const std::string Box = NumIOValueText(V, Format, Mode, Decimals);
      double Read = 0;
      if (Box.front() != '*') Check(ConvertNumString(Box, Format, Mode, Read) && InRange(Read));
    }

    // The decimal forms read back as the value, within their rounding.
    const std::string Sci = NioValueText(V, itExp, Mode, Decimals, Digits);
    if (Sci.front() != '*')
      Check(std::fabs(ReadNioValue(Sci, itExp) - S) <= std::fabs(S) * std::pow(10.0, 1 - Digits));
    const double Fixed = ReadNioValue(NioValueText(V, itFixPoint, Mode, Decimals, Digits), itFloat);
    Check(std::fabs(Fixed - S) <=
          0.5 * std::pow(10.0, -Decimals) * (1 + 1e-9) + std::fabs(S) * 1e-15);
    const double Int = ReadNioValue(NioValueText(V, itInt, Mode, Decimals, Digits), itInt);
    Check(Int == std::clamp(std::nearbyint(S), -2147483648.0, 2147483647.0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  const std::uint8_t Ctl = Data[0];
  CheckText(std::string_view(reinterpret_cast<const char*>(Data + 1), Size - 1), Ctl);

  // The same bytes as doubles: every bit pattern, NaNs and infinities included.
  for (std::size_t I = 1; I + sizeof(double) <= Size && I < 1 + 4 * sizeof(double);
       I += sizeof(double)) {
    double V;
    std::memcpy(&V, Data + I, sizeof V);
    CheckValue(V, Ctl);
  }
  return 0;
}
