#include "kvl/core/stringl.h"

#include <gtest/gtest.h>

#include <set>

namespace kvl {
namespace {

TEST(NumberedPos, FindsTheNthOccurrenceFromStart) {
  EXPECT_EQ(NumberedPos(".", "1.5.7", 1, 1, true), 2);
  EXPECT_EQ(NumberedPos(".", "1.5.7", 3, 1, true), 4);  // a second "." after the first
  EXPECT_EQ(NumberedPos(".", "1.5.7", 1, 2, true), 4);
  EXPECT_EQ(NumberedPos(".", "1.5", 3, 1, true), 0);
  EXPECT_EQ(NumberedPos(".", "1.5", 0, 1, true), 2);
  EXPECT_EQ(NumberedPos(".", "1.5", 9, 1, true), 0);
  EXPECT_EQ(NumberedPos("", "1.5", 1, 1, true), 0);
  EXPECT_EQ(NumberedPos(".", "1.5", 1, 0, true), 0);
  EXPECT_EQ(NumberedPos("ab", "xAbab", 1, 1, true), 4);
  EXPECT_EQ(NumberedPos("ab", "xAbab", 1, 1, false), 2);
  EXPECT_EQ(NumberedPos("aa", "aaa", 1, 2, true), 2);  // overlapping occurrences count
}

TEST(NumberedPos, PositionsCountCharactersNotBytes) {
  EXPECT_EQ(NumberedPos(".", "\xC3\xA4\xC3\xB6.1", 1, 1, true), 3);
  EXPECT_EQ(NumberedPos(".", "\xC3\xA4.\xC3\xB6.1", 3, 1, true), 4);
}

TEST(LeftString, PadsOrCutsToExactlyNCharacters) {
  EXPECT_EQ(LeftString("ab", 5), "ab   ");
  EXPECT_EQ(LeftString("", 3), "   ");
  EXPECT_EQ(LeftString("abc", 3), "abc");
  EXPECT_EQ(LeftString("abcdef", 3), "abc");
  EXPECT_EQ(LeftString("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
  EXPECT_EQ(LeftString("\xC3\xA4", 3), "\xC3\xA4  ");
  EXPECT_EQ(LeftString("abc", 0), "");
  EXPECT_EQ(LeftString("abc", -4), "");
}

TEST(StringRoutines, ReplaceAndRemoveControlCharacters) {
  EXPECT_EQ(ReplaceCharInString("C:/a/b", '/', '\\'), "C:\\a\\b");
  EXPECT_EQ(ReplaceCharInString("", '/', '\\'), "");
  EXPECT_EQ(RemoveControlChars("a\tb\r\nc\x7F" "d"), "abcd");
  EXPECT_EQ(RemoveControlChars("\xC2\x85x\xC3\xA4"), "x\xC3\xA4");  // C1 NEL goes, umlaut stays
}

TEST(StringRoutines, TrailingAndLeadingRuns) {
  EXPECT_EQ(EnsureTrailingBkSlash("C:\\dir"), "C:\\dir\\");
  EXPECT_EQ(EnsureTrailingBkSlash("C:\\dir\\\\\\"), "C:\\dir\\");
  EXPECT_EQ(EnsureTrailingBkSlash(""), "\\");
  EXPECT_EQ(EnsureTrailingChar('/', "a/"), "a/");
  EXPECT_EQ(StripLeadingChars('0', "0012"), "12");
  EXPECT_EQ(StripLeadingChars('0', "000"), "");
  EXPECT_EQ(StripTrailingChars('\\', "a\\b\\\\"), "a\\b");
  EXPECT_EQ(StripTrailingChars('x', ""), "");
}

TEST(Tokenize, KeepsEmptyPiecesInOrder) {
  std::vector<std::string> T{"stale"};
  EXPECT_EQ(Tokenize("a;;b;", ";", T), 4);
  EXPECT_EQ(T, (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(Tokenize("C:\\Users\\me\\", "\\", T), 4);
  EXPECT_EQ(T.back(), "");
  EXPECT_EQ(Tokenize("", ";", T), 0);
  EXPECT_TRUE(T.empty());
  EXPECT_EQ(Tokenize(";", ";", T), 2);
  EXPECT_EQ(Tokenize("line1\r\nline2", "\r\n", T), 3);
  EXPECT_EQ(T, (std::vector<std::string>{"line1", "", "line2"}));
  EXPECT_EQ(Tokenize("abc", "", T), 1);
  EXPECT_EQ(T.front(), "abc");
}

TEST(InventPassword, LengthAlphabetAndVariety) {
  EXPECT_EQ(InventPassword(0), "");
  EXPECT_EQ(InventPassword(-3), "");
  EXPECT_EQ(InventPassword(1000).size(), 255u);
  const std::string P = InventPassword(200);
  ASSERT_EQ(P.size(), 200u);
  for (char C : P) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(C))) << C;
  // 200 draws from 62 symbols hit well over 40 distinct ones unless the source is broken.
  EXPECT_GT(std::set<char>(P.begin(), P.end()).size(), 40u);
  EXPECT_NE(InventPassword(32), InventPassword(32));
}

}  // namespace
}  // namespace kvl
