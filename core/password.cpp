#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string_view>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

void FillRandom(unsigned char* Buf, std::size_t Len) {
  std::size_t Got = 0;
  while (Got < Len) {
    const ssize_t R = getrandom(Buf + Got, Len - Got, 0);
    if (R > 0) {
      Got += std::size_t(R);
    } else if (R < 0 && errno != EINTR) {
      // No getrandom (very old kernels): the library's device source is the same generator.
      std::random_device Dev;
      for (; Got < Len; ++Got) Buf[Got] = static_cast<unsigned char>(Dev());
    }
  }
}

}  // namespace

std::string InventPassword(int N) {
  static constexpr std::string_view Alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // Bytes at or above the largest multiple of the alphabet size are redrawn, so every
  // character is equally likely.
  constexpr unsigned Limit = 256 - 256 % Alphabet.size();
  const std::size_t Len = std::size_t(std::clamp(N, 0, 255));
  std::string R;
  R.reserve(Len);
  unsigned char Buf[64];
  while (R.size() < Len) {
    FillRandom(Buf, sizeof Buf);
    for (unsigned char B : Buf)
      if (B < Limit && R.size() < Len) R += Alphabet[B % Alphabet.size()];
  }
  return R;
}

}  // namespace kvl
