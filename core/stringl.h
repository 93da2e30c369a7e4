// String routines the components share. Text is UTF-8; wherever a routine counts characters
// or positions, it counts code points and never splits one. A byte that does not start a valid
// UTF-8 sequence counts as one character of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvl {

// --- UTF-8 ---------------------------------------------------------------------------------

// Byte length of the character starting at byte Pos (1 for an invalid byte, 0 at the end).
int Utf8CharLen(std::string_view S, std::size_t Pos);
// The code point starting at byte Pos; U+FFFD for an invalid byte. Len receives its byte length.
char32_t Utf8Decode(std::string_view S, std::size_t Pos, int* Len = nullptr);
// UTF-8 form of a code point; invalid code points (surrogates, > U+10FFFF) give U+FFFD.
std::string Utf8Encode(char32_t C);
// Number of characters in S.
int Utf8Length(std::string_view S);
// Byte offset of character N (0-based); S.size() when N is at or past the end, 0 when N < 0.
std::size_t Utf8Offset(std::string_view S, int N);
// The first N characters, the last N characters, and Count characters from the 1-based
// character Index (an Index below 1 counts as 1). Out-of-range arguments give what is there.
std::string Utf8Left(std::string_view S, int N);
std::string Utf8Right(std::string_view S, int N);
std::string Utf8Mid(std::string_view S, int Index, int Count);
// Cuts S in place after N characters.
void Utf8Cut(std::string& S, int N);
// S with U+FFFD for every byte that starts no valid character. Editors take text this way:
// a stray byte could otherwise join the bytes put next to it into another character.
std::string Utf8Repaired(std::string_view S);

// --- Routines of the string library -------------------------------------------------------

// 1-based character position of the N-th occurrence of Sub in S at or after the character
// position Start; 0 when there is none. MatchCase false compares ASCII letters without case.
int NumberedPos(std::string_view Sub, std::string_view S, int Start, int N, bool MatchCase);
// S with every Old character replaced by New.
std::string ReplaceCharInString(std::string_view S, char Old, char New);
// S in a field of exactly N characters: padded with blanks on the right, or cut.
std::string LeftString(std::string_view S, int N);
// S without control characters (C0, DEL and C1).
std::string RemoveControlChars(std::string_view S);
// S ending with exactly one C (a run of trailing Cs becomes one).
std::string EnsureTrailingChar(char C, std::string_view S);
std::string EnsureTrailingBkSlash(std::string_view S);
// S without its leading (trailing) run of C.
std::string StripLeadingChars(char C, std::string_view S);
std::string StripTrailingChars(char C, std::string_view S);
// Splits S at every character contained in Delims, keeping empty pieces ("a;;b;" gives
// "a", "", "b", ""). An empty S has no tokens. Returns the token count.
int Tokenize(std::string_view S, std::string_view Delims, std::vector<std::string>& Tokens);
// Fixed-point text of X with Decimals (0..30) decimals, right-aligned in at least Width
// characters; halves round away from zero on the shortest decimal form of X, so 2.675 gives
// "2.68". Infinities and NaN give "Inf", "-Inf" and "NaN".
std::string strff(double X, int Width, int Decimals);
// N (0..255) random letters and digits from the operating system's secure generator.
std::string InventPassword(int N);

}  // namespace kvl
