#include "kvl/platform/wordwrap.h"

#include "kvl/platform/canvas.h"

namespace kvl {

std::vector<std::string> WrapTextLines(TCanvas& C, const std::string& Text, bool Wrap,
                                       int MaxWidth) {
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  while (true) {
    const std::size_t Br = Text.find('\n', Start);
    std::string Para = Text.substr(Start, Br == std::string::npos ? std::string::npos : Br - Start);
    if (!Para.empty() && Para.back() == '\r') Para.pop_back();
    if (!Wrap || C.TextWidth(Para) <= MaxWidth) {
      Lines.push_back(Para);
    } else {
      std::string Line;
      std::size_t I = 0;
      while (I < Para.size()) {
        // The next word with the blanks before it.
        std::size_t J = Para.find_first_not_of(' ', I);
        if (J == std::string::npos) J = Para.size();
        std::size_t K = Para.find(' ', J);
        if (K == std::string::npos) K = Para.size();
        const std::string Blanks = Para.substr(I, J - I), Word = Para.substr(J, K - J);
        if (!Line.empty() && C.TextWidth(Line + Blanks + Word) > MaxWidth) {
          Lines.push_back(Line);
          Line = Word;  // blanks at a break vanish
        } else {
          Line += Blanks + Word;
        }
        I = K;
      }
      Lines.push_back(Line);
    }
    if (Br == std::string::npos) break;
    Start = Br + 1;
  }
  return Lines;
}

}  // namespace kvl
