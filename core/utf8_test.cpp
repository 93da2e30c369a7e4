#include <gtest/gtest.h>

#include "kvl/core/stringl.h"

namespace kvl {
namespace {

// "Größe €5 😀": 1-, 2-, 3- and 4-byte characters.
const std::string Mixed = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC" "5 \xF0\x9F\x98\x80";

TEST(Utf8, CountsCodePoints) {
  EXPECT_EQ(Utf8Length(""), 0);
  EXPECT_EQ(Utf8Length("abc"), 3);
  EXPECT_EQ(Utf8Length(Mixed), 10);
  EXPECT_EQ(Utf8Length("(8g]}\xC3\x9C\xC3\x84\xC2\xA7"), 8);
}

TEST(Utf8, InvalidBytesCountAsOneCharacterEach) {
  EXPECT_EQ(Utf8Length("\xFF\xFE"), 2);
  EXPECT_EQ(Utf8Length("\xC3"), 1);                 // truncated sequence
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2);             // truncated: lead and a stray continuation
  EXPECT_EQ(Utf8Length("\xC0\xAF"), 2);             // overlong
  EXPECT_EQ(Utf8Length("\xED\xA0\x80"), 3);         // surrogate
  EXPECT_EQ(Utf8Length("\xF4\x90\x80\x80"), 4);     // beyond U+10FFFF
  EXPECT_EQ(Utf8Decode("\xFF", 0), char32_t(0xFFFD));
  // Repaired, each such byte is one U+FFFD and valid text stays as it is.
  EXPECT_EQ(Utf8Repaired("a\xE2\x82|\xC0\xAF\u00e9\U0001F600"),
            "a\uFFFD\uFFFD|\uFFFD\uFFFD\u00e9\U0001F600");
  EXPECT_EQ(Utf8Repaired(std::string("\0\xF4\x90", 3)), std::string("\0\uFFFD\uFFFD", 7));
}

TEST(Utf8, DecodeAndEncodeRoundTrip) {
  for (char32_t C : {char32_t(0x41), char32_t(0xF6), char32_t(0x20AC), char32_t(0x1F600),
                     char32_t(0x10FFFF)}) {
    const std::string S = Utf8Encode(C);
    int Len = 0;
    EXPECT_EQ(Utf8Decode(S, 0, &Len), C);
    EXPECT_EQ(Len, static_cast<int>(S.size()));
  }
  EXPECT_EQ(Utf8Encode(0xD800), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8Encode(0x110000), "\xEF\xBF\xBD");
}

TEST(Utf8, CutsNeverSplitACharacter) {
  for (int N = 0; N <= 11; ++N) {
    const std::string L = Utf8Left(Mixed, N);
    EXPECT_EQ(Utf8Length(L), std::min(N, 10)) << N;
    EXPECT_EQ(Mixed.compare(0, L.size(), L), 0);
    const std::string R = Utf8Right(Mixed, N);
    EXPECT_EQ(Utf8Length(R), std::min(N, 10)) << N;
    EXPECT_EQ(L + Utf8Right(Mixed, 10 - std::min(N, 10)), Mixed);
    std::string C = Mixed;
    Utf8Cut(C, N);
    EXPECT_EQ(C, L);
  }
  EXPECT_EQ(Utf8Left(Mixed, 3), "Gr\xC3\xB6");
  EXPECT_EQ(Utf8Right(Mixed, 1), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8Left(Mixed, -2), "");
  EXPECT_EQ(Utf8Right(Mixed, -2), "");
}

TEST(Utf8, MidTakesA1BasedWindow) {
  EXPECT_EQ(Utf8Mid(Mixed, 3, 2), "\xC3\xB6\xC3\x9F");
  EXPECT_EQ(Utf8Mid(Mixed, 7, 99), "\xE2\x82\xAC" "5 \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8Mid(Mixed, 0, 2), "Gr");
  EXPECT_EQ(Utf8Mid(Mixed, 11, 1), "");
  EXPECT_EQ(Utf8Mid(Mixed, 2, 0), "");
  EXPECT_EQ(Utf8Mid(Mixed, 2, -1), "");
}

TEST(Utf8, OffsetsLandOnCharacterStarts) {
  EXPECT_EQ(Utf8Offset(Mixed, 0), 0u);
  EXPECT_EQ(Utf8Offset(Mixed, 2), 2u);
  EXPECT_EQ(Utf8Offset(Mixed, 3), 4u);
  EXPECT_EQ(Utf8Offset(Mixed, 4), 6u);
  EXPECT_EQ(Utf8Offset(Mixed, 100), Mixed.size());
  EXPECT_EQ(Utf8Offset(Mixed, -1), 0u);
  EXPECT_EQ(Utf8CharLen(Mixed, Mixed.size()), 0);
}

}  // namespace
}  // namespace kvl
