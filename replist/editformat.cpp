// The row editor's reading of an edit format.
#include "kvl/replist/editformat.h"

#include <algorithm>

namespace kvl {

namespace {

// The number after the kind's first ":", when one stands there (blanks and a sign allowed).
int DropDownCountOf(std::string_view Kind) {
  const std::size_t Colon = Kind.find(':');
  if (Colon == std::string_view::npos) return 0;
  std::size_t I = Colon + 1;
  while (I < Kind.size() && Kind[I] == ' ') ++I;
  if (I < Kind.size() && (Kind[I] == '+' || Kind[I] == '-')) ++I;
  if (I >= Kind.size() || Kind[I] < '0' || Kind[I] > '9') return 0;
  return std::clamp(ReadFormatInt(Kind, Colon + 1), 1, MaxDropDownCount);
}

std::vector<std::string> ItemsOf(std::string_view Body) {
  std::vector<std::string> Items;
  std::size_t Start = 0;
  for (std::size_t Bar; (Bar = Body.find('|', Start)) != std::string_view::npos; Start = Bar + 1)
    Items.emplace_back(Body.substr(Start, Bar - Start));
  if (Start < Body.size() || Body.empty()) Items.emplace_back(Body.substr(Start));
  return Items;
}

}  // namespace

TEditFormat ReadEditFormat(std::string_view Format) {
  TEditFormat F;
  F.Column = ParseColumnFormat(Format);
  F.Column.Width = std::min(F.Column.Width, MaxEditFieldWidth);
  switch (F.Column.Letter()) {
    case 'c':
    case 'l':
      F.Items = ItemsOf(F.Column.Body);
      F.DropDownCount = DropDownCountOf(F.Column.Kind);
      break;
    case 'd':
      F.DateFormat = F.Column.Kind.substr(1);
      if (F.DateFormat.empty()) F.DateFormat = DefaultEditDateFormat;
      break;
    default:
      break;
  }
  return F;
}

}  // namespace kvl
