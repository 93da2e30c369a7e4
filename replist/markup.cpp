#include "kvl/replist/markup.h"

#include "kvl/core/stringl.h"

namespace kvl {

void AppendEscaped(std::string& Out, std::string_view S) {
  static constexpr std::string_view Replacement = "\xEF\xBF\xBD";
  std::size_t P = 0;
  while (P < S.size()) {
    const auto B = static_cast<unsigned char>(S[P]);
    if (B >= 0x80) {
      int Len = 0;
      const char32_t C = Utf8Decode(S, P, &Len);
      if ((C == 0xFFFD && Len == 1) || C == 0xFFFE || C == 0xFFFF)
        Out += Replacement;
      else
        Out.append(S.substr(P, std::size_t(Len)));
      P += std::size_t(Len);
      continue;
    }
    switch (B) {
      case '&':
        Out += "&amp;";
        break;
      case '<':
        Out += "&lt;";
        break;
      case '>':
        Out += "&gt;";
        break;
      case '"':
        Out += "&quot;";
        break;
      case '\'':
        Out += "&apos;";
        break;
      case '\t':
        Out += "&#9;";
        break;
      case '\n':
        Out += "&#10;";
        break;
      case '\r':
        Out += "&#13;";
        break;
      default:
        if (B < 0x20)
          Out += Replacement;
        else
          Out += char(B);
    }
    ++P;
  }
}

}  // namespace kvl
