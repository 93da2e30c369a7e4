// What the user does with mouse and keyboard, as every host and control sees it: mouse buttons,
// the shift state, virtual-key codes and cursors.
#pragma once

#include <cstdint>

namespace kvl {

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Modifier keys and mouse buttons held during an event; ssDouble marks the press of a double
// click.
enum TShiftStateFlag : std::uint16_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = std::uint16_t;

// The button flag that belongs to a mouse button.
constexpr TShiftState ButtonShift(TMouseButton B) {
  return B == mbLeft ? ssLeft : B == mbRight ? ssRight : ssMiddle;
}

// Virtual-key codes. Letters and digits are their upper-case ASCII codes ('A' 65, '0' 48).
namespace vk {
inline constexpr std::uint16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18,
                               Pause = 19, Capital = 20, Escape = 27, Space = 32, Prior = 33,
                               Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39,
                               Down = 40, Insert = 45, Delete = 46, Apps = 93;
// Numeric pad: digits 96-105, then * + separator - . /
inline constexpr std::uint16_t Numpad0 = 96, Multiply = 106, Add = 107, Separator = 108,
                               Subtract = 109, Decimal = 110, Divide = 111;
inline constexpr std::uint16_t F1 = 112, F4 = 115, F10 = 121, F12 = 123, NumLock = 144, Scroll = 145;
// Punctuation keys of a US layout: ;= , - . / ` then [ \ ] '
inline constexpr std::uint16_t OemSemicolon = 186, OemPlus = 187, OemComma = 188, OemMinus = 189,
                               OemPeriod = 190, OemSlash = 191, OemTilde = 192,
                               OemOpenBracket = 219, OemBackslash = 220, OemCloseBracket = 221,
                               OemQuote = 222;
}  // namespace vk

// Mouse pointer shapes.
enum TCursor : std::int16_t {
  crDefault = 0,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crHourGlass = -11,
  crNo = -12,
  crHandPoint = -21,
};

}  // namespace kvl
