// Cell texts and formats from files through the report list's date text reader: no undefined
// behaviour, an error code from -4 to 0, and a finite value that is 0 whenever reading failed.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"
#include "kvl/replist/datereader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using kvl::fuzzing::Check;
  kvl::fuzzing::TFuzzBytes In{Data, Size};
  // Language, window and current year, then the format's length; the rest is the text.
  const int Language = In.Take<std::int8_t>();
  const int Window = In.Take<std::int32_t>();
  const int Year = In.Take<std::int32_t>();
  const std::size_t FormatLen = std::min<std::size_t>(In.Take<std::uint8_t>(), In.N);
  const std::string_view Format(reinterpret_cast<const char*>(In.P), FormatLen);
  const std::string_view Text(reinterpret_cast<const char*>(In.P) + FormatLen, In.N - FormatLen);
  const kvl::TDateTextReading R = kvl::ReadDateText(Text, Format, Language, Window, Year);
  Check(R.Error >= kvl::drOutOfRange && R.Error <= kvl::drOk);
  Check(std::isfinite(R.Value));
  Check(R.Error == kvl::drOk || R.Value == 0);
  return 0;
}
