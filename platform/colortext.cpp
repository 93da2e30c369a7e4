#include "kvl/platform/colortext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kvl {

namespace {

std::string_view Trimmed(std::string_view S) {
  while (!S.empty() && (S.front() == ' ' || S.front() == '\t')) S.remove_prefix(1);
  while (!S.empty() && (S.back() == ' ' || S.back() == '\t')) S.remove_suffix(1);
  return S;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<TColor> ReadHexColor(std::string_view Text) {
  Text = Trimmed(Text);
  if (!Text.empty() && Text.front() == '#') Text.remove_prefix(1);
  if (Text.size() != 6) return std::nullopt;
  int V[6];
  for (int I = 0; I < 6; ++I)
    if ((V[I] = HexDigit(Text[std::size_t(I)])) < 0) return std::nullopt;
  const int R = V[0] * 16 + V[1], G = V[2] * 16 + V[3], B = V[4] * 16 + V[5];
  return RGBColor(std::uint8_t(R), std::uint8_t(G), std::uint8_t(B));
}

std::string HexColorText(TColor C) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string S = "#";
  for (const int Shift : {0, 8, 16}) {
    const int V = int(C >> Shift) & 0xFF;
    S += Digits[V >> 4];
    S += Digits[V & 15];
  }
  return S;
}

std::optional<int> ReadColorNumber(std::string_view Text, int Max) {
  Text = Trimmed(Text);
  if (Text.empty() || Text.size() > 9) return std::nullopt;
  int V = 0;
  const auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), V);
  if (Err != std::errc() || End != Text.data() + Text.size() || V < 0 || V > Max)
    return std::nullopt;
  return V;
}

THsv RgbToHsv(TColor C) {
  const int R = int(C & 0xFF), G = int((C >> 8) & 0xFF), B = int((C >> 16) & 0xFF);
  const int Max = std::max({R, G, B}), Min = std::min({R, G, B}), D = Max - Min;
  THsv Out;
  Out.V = Max;
  Out.S = Max == 0 ? 0 : int(std::lround(255.0 * D / Max));
  if (D == 0) return Out;
  double H;
  if (Max == R)
    H = 60.0 * double(G - B) / D;
  else if (Max == G)
    H = 60.0 * (2.0 + double(B - R) / D);
  else
    H = 60.0 * (4.0 + double(R - G) / D);
  if (H < 0) H += 360.0;
  Out.H = int(std::lround(H)) % 360;
  return Out;
}

TColor HsvToRgb(THsv Hsv) {
  const double H = std::clamp(Hsv.H, 0, 359) / 60.0;
  const double S = std::clamp(Hsv.S, 0, 255) / 255.0, V = std::clamp(Hsv.V, 0, 255);
  const int Sector = int(H);
  const double F = H - Sector;
  const double P = V * (1 - S), Q = V * (1 - S * F), T = V * (1 - S * (1 - F));
  double R = V, G = T, B = P;
  switch (Sector) {
    case 1: R = Q, G = V, B = P; break;
    case 2: R = P, G = V, B = T; break;
    case 3: R = P, G = Q, B = V; break;
    case 4: R = T, G = P, B = V; break;
    case 5: R = V, G = P, B = Q; break;
    default: break;
  }
  const auto Byte = [](double X) { return std::uint8_t(std::clamp(std::lround(X), 0L, 255L)); };
  return RGBColor(Byte(R), Byte(G), Byte(B));
}

}  // namespace kvl
