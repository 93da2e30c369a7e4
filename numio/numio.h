// Unit numio: numeric entry. The numeric field and the numeric edit box keep their number as
// text; the routines of the first section read, check and write that text, and both
// components share them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kvl/core/kvlbase.h"

namespace kvl {

// --- Number text formats, conversion and validation ----------------------------------------
//
// Positions are 1-based. Valid number text is ASCII, and every character a scan consumes is
// ASCII, so a stop position counts bytes and characters alike.

// Input format of a numeric entry component (stored as one byte).
enum TInFormat : std::uint8_t {
  itExp,       // decimal number with optional exponent
  itFloat,     // decimal number without exponent
  itFixPoint,  // decimal number with a fixed number of decimals
  itInt,       // signed decimal integer
  itHex,       // hexadecimal digits, no prefix
  itOct,       // octal digits, no prefix
  itBin,       // binary digits, no prefix
  itDynamic    // "$" hexadecimal, "%" binary, "&" octal, anything else decimal
};

// A byte from a stream or a cast beyond the listed formats reads as itFloat.
TInFormat InFormatFromByte(std::uint8_t B);

// Which characters separate the decimals: only ".", only ",", or either.
enum TSepMode : std::uint8_t { smPoint = 1, smComma = 2, smBoth = 3 };

// The separator written into number text: "," when only "," is accepted, "." otherwise.
char SeparatorChar(TSepMode Mode);

// The decimal separator of the environment's LC_NUMERIC locale, asked for anew at every call
// without touching the process locale: "," when the locale's radix is ",", "." for any other
// radix or when the locale cannot be opened.
char LocaleDecimalSep();
// The rule LocaleDecimalSep applies to a locale's radix text.
char DecimalSepFromRadix(std::string_view Radix);

// Separator mode of a component's DecPlaceSep; dpsLocale asks the locale (the second form
// takes the locale's separator from the caller). Unknown bytes count as dpsBoth.
TSepMode SepModeOf(TDecPSep Sep);
TSepMode SepModeOf(TDecPSep Sep, char LocaleSep);

// Number scanner: reads decimal text from StartPos. Ok is false when the scan ended in error
// (Value 0 then). StopPos is the position of the character that ended the scan, the text
// length + 1 exactly when the whole text was consumed. Values are clamped to +-uc_MaxDouble;
// a text without mantissa digits (".E5") reads 0; a missing exponent ("1E-") is ignored.
struct TNumScan {
  double Value = 0;
  int StopPos = 1;
  bool Ok = false;
};
TNumScan ScanNumber(std::string_view Text, bool ExpAllowed, TSepMode Mode, int StartPos = 1);

// Validity scanner of itExp: the number scanner's table with the exponent allowed; valid as
// soon as it stops, whatever follows; an empty text or an exponent above 4200 is invalid.
bool ScanValidity(std::string_view Text, TSepMode Mode);
// Float check of itFloat: an optional sign, digits and at most one separator followed only by
// digits; "+", "-", "." and "1." pass, blanks and exponents do not.
bool CheckFloat(std::string_view Text, TSepMode Mode);
// Whether Text is valid for Format while the user types (the field's online check).
bool CheckValidity(std::string_view Text, TInFormat Format, TSepMode Mode, int FixPointDecPlaces);

// Digit readers: skip leading blanks, then read digits of the base (upper or lower case) into
// a 32-bit value that wraps, so "FFFFFFFF" reads -1. The hexadecimal reader also skips a "$"
// at position 1. ReadDecInteger takes an optional sign before its digits and applies it last.
struct TDigitsRead {
  std::int32_t Value = 0;
  int StopPos = 1;  // position of the first character not read
  int Digits = 0;   // how many digits were read
};
TDigitsRead ReadHexDigits(std::string_view Text);
TDigitsRead ReadOctDigits(std::string_view Text);
TDigitsRead ReadBinDigits(std::string_view Text);
TDigitsRead ReadDecInteger(std::string_view Text);

// Value of a numeric field's text (TNumIO2): decimal formats scan with either separator and
// ignore what follows the number; itInt reads 0 for an invalid text and clamps to the 32-bit
// range; hexadecimal, octal and binary text and the itDynamic prefixes use the digit readers.
double ReadNioValue(std::string_view Text, TInFormat Format);

// Text to value as the numeric edit box converts it (TNumIO), in the box's separator mode.
// An empty text fails and leaves Value alone; otherwise Value is set (0 on failure) and the
// result says whether the whole text is a number of the format.
bool ConvertNumString(std::string_view Text, TInFormat Format, TSepMode Mode, double& Value);
// Value of a numeric edit box's text (TNumIO): either separator, "1." reads 1; a text that
// does not convert reads 0.
double ReadNumIOValue(std::string_view Text, TInFormat Format);

// Text forms. A NaN writes the text of 0 and +-Inf that of +-uc_MaxDouble; the components
// filter both before they get here. No form writes "-" when every written digit is 0.
//
// Fixed form: optional "-", the integer digits and, for Decimals (0..30) above 0, the
// separator and exactly Decimals digits; rounded halves away from zero.
std::string FixedForm(double V, int Decimals, TSepMode Mode);
// Scientific form with Digits (1..15) significant digits: " 1.23450E+03" (a blank or "-",
// one digit, the separator and Digits - 1 digits, a two-digit exponent); one digit writes no
// separator (" 1E+03"). An exponent of 100 or more in magnitude turns every character into
// "*", keeping the length.
std::string ScientificForm(double V, int Digits, TSepMode Mode);
// The value rounded to the nearest integer (halves to even) in plain decimal digits.
std::string IntegerForm(double V);
// The rounded value's low 32 bits, that is fmod(round(V), 2^32), as exactly Count upper-case
// digits of Radix (2, 8 or 16), leading zeros kept; digits beyond the 32 bits are 0.
std::string LowBitsForm(double V, int Radix, int Count);

// Text a numeric field (TNumIO2) writes for V.
std::string NioValueText(double V, TInFormat Format, TSepMode Mode, int FixPointDecPlaces,
                         int SignificantDigits);
// Text a numeric edit box (TNumIO) writes for V.
std::string NumIOValueText(double V, TInFormat Format, TSepMode Mode, int FixPointDecPlaces);

}  // namespace kvl
