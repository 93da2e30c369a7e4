// What the row editor reads from a column's edit format beyond the shared column-format rules:
// the choice items, the drop-down count and the date format, with the sizes kept in bounds
// because formats arrive with files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kvl/replist/replist.h"

namespace kvl {

inline constexpr int MaxEditFieldWidth = 4000;
inline constexpr int MaxDropDownCount = 100;
inline constexpr std::string_view DefaultEditDateFormat = "yyyy-MM-dd";

struct TEditFormat {
  // Kind, read-only mark, width (1 .. MaxEditFieldWidth, 200 when missing) and body.
  TColumnFormat Column;
  // Kinds c and l: the items, each text of the body ended by a "|" (one is appended when the
  // body does not end with one), and the count after a ":" in the kind, clamped to
  // 1 .. MaxDropDownCount; 0 when the kind gives none.
  std::vector<std::string> Items;
  int DropDownCount = 0;
  // Kind d: the rest of the kind after its letter, or DefaultEditDateFormat when that is empty.
  std::string DateFormat;
};

TEditFormat ReadEditFormat(std::string_view Format);

}  // namespace kvl
