// Column formats: the shared reader and the default values they give a cell.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

bool ContainsNoCase(std::string_view S, std::string_view Sub) {
  return NumberedPos(Sub, S, 1, 1, false) > 0;
}

}  // namespace

TColumnFormat ParseColumnFormat(std::string_view Format) {
  TColumnFormat F;
  std::string_view Rest = Format;
  const std::size_t Open = Rest.find('['), Close = Rest.find(']');
  if (Open != std::string_view::npos && Close != std::string_view::npos && Open < Close) {
    F.Kind = Rest.substr(Open + 1, Close - Open - 1);
    Rest.remove_prefix(Close + 1);
    if (!F.Kind.empty() && F.Kind[0] == '#') {
      F.ReadOnly = true;
      F.Kind.erase(0, 1);
    }
  } else {
    F.Kind = "s";
  }
  const std::size_t WOpen = Rest.find('['), WClose = Rest.find(']');
  if (WOpen != std::string_view::npos && WClose != std::string_view::npos && WOpen < WClose) {
    const int W = ReadFormatInt(Rest.substr(WOpen + 1, WClose - WOpen - 1), 0);
    if (W >= 1) F.Width = W;
    Rest.remove_prefix(WClose + 1);
  }
  F.Body = Rest;
  return F;
}

int ReadFormatInt(std::string_view S, std::size_t Start) {
  std::size_t I = Start;
  while (I < S.size() && S[I] == ' ') ++I;
  bool Negative = false;
  if (I < S.size() && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  std::int64_t V = 0;
  for (; I < S.size() && S[I] >= '0' && S[I] <= '9'; ++I)
    V = std::min<std::int64_t>(V * 10 + (S[I] - '0'), std::int64_t(INT_MAX) + 1);
  V = Negative ? -V : std::min<std::int64_t>(V, INT_MAX);
  return int(V);
}

std::string RowIndexText(char Letter, int N, int Row) {
  switch (Letter) {
    case 'e':
    case 'f':
      return strff(Row, 1, std::clamp(N, 0, 254));
    case 'h': {
      int Digits = N % 256;
      Digits = Digits <= 0 ? 1 : std::min(Digits, 8);
      static constexpr char Hex[] = "0123456789ABCDEF";
      const auto V = static_cast<std::uint32_t>(Row);
      std::string R(std::size_t(Digits), '0');
      for (int I = 0; I < Digits; ++I) R[std::size_t(Digits - 1 - I)] = Hex[(V >> (4 * I)) & 0xF];
      return R;
    }
    case 'i': {
      int Digits = N % 256;
      if (Digits <= 0) Digits = 1;
      std::uint64_t V = Row < 0 ? std::uint64_t(-std::int64_t(Row)) : std::uint64_t(Row);
      std::string R(std::size_t(Digits), '0');
      for (int I = Digits - 1; I >= 0 && V != 0; --I, V /= 10)
        R[std::size_t(I)] = char('0' + V % 10);
      return Row < 0 ? "-" + R : R;
    }
    default:
      return {};
  }
}

std::string FormatDefaultValue(std::string_view Format, int Row) {
  const TColumnFormat F = ParseColumnFormat(Format);
  return F.ReadOnly ? std::string() : ColumnDefaultText(F, Row);
}

std::string ColumnDefaultText(const TColumnFormat& F, int Row) {
  std::string R;
  switch (F.Letter()) {
    case 'c':
    case 'l':
      R = F.Body.substr(0, F.Body.find('|'));
      break;
    case 'd':
      R = F.Body;
      break;
    case 'e':
    case 'f':
    case 'h':
    case 'i':
      R = ContainsNoCase(F.Body, "rix") ? RowIndexText(F.Letter(), ReadFormatInt(F.Body, 3), Row)
                                        : F.Body;
      break;
    case 's':
      R = ContainsNoCase(F.Body, "$pwd$")
              ? InventPassword(std::clamp(ReadFormatInt(F.Body, 5), 0, MaxCellLength))
              : F.Body;
      break;
    default:
      break;
  }
  Utf8Cut(R, MaxCellLength);
  return R;
}

}  // namespace kvl
