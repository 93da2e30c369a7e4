#include "kvl/platform/host_x11_keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <array>
#include <type_traits>
#include <utility>

#include "kvl/core/stringl.h"

namespace kvl::x11 {

static_assert(std::is_same_v<TKeySym, KeySym>);

namespace {

// Keys outside the letter, digit and function-key runs.
constexpr auto KeyTable = std::to_array<std::pair<KeySym, std::uint16_t>>({
    {XK_BackSpace, vk::Back},
    {XK_Tab, vk::Tab},
    {XK_ISO_Left_Tab, vk::Tab},  // what Shift+Tab gives
    {XK_Clear, 12},
    {XK_Return, vk::Return},
    {XK_Shift_L, vk::Shift},
    {XK_Shift_R, vk::Shift},
    {XK_Control_L, vk::Control},
    {XK_Control_R, vk::Control},
    {XK_Alt_L, vk::Menu},
    {XK_Alt_R, vk::Menu},
    {XK_ISO_Level3_Shift, vk::Menu},  // AltGr
    {XK_Pause, vk::Pause},
    {XK_Caps_Lock, vk::Capital},
    {XK_Escape, vk::Escape},
    {XK_space, vk::Space},
    {XK_Prior, vk::Prior},
    {XK_Next, vk::Next},
    {XK_End, vk::End},
    {XK_Home, vk::Home},
    {XK_Left, vk::Left},
    {XK_Up, vk::Up},
    {XK_Right, vk::Right},
    {XK_Down, vk::Down},
    {XK_Print, 44},
    {XK_Insert, vk::Insert},
    {XK_Delete, vk::Delete},
    {XK_Super_L, 91},
    {XK_Super_R, 92},
    {XK_Menu, 93},
    // Keypad with NumLock off: the movement keys it doubles as, and 12 for its centre key.
    {XK_KP_Insert, vk::Insert},
    {XK_KP_End, vk::End},
    {XK_KP_Down, vk::Down},
    {XK_KP_Next, vk::Next},
    {XK_KP_Left, vk::Left},
    {XK_KP_Begin, 12},
    {XK_KP_Right, vk::Right},
    {XK_KP_Home, vk::Home},
    {XK_KP_Up, vk::Up},
    {XK_KP_Prior, vk::Prior},
    {XK_KP_Delete, vk::Delete},
    {XK_KP_Enter, vk::Return},
    {XK_KP_Multiply, vk::Multiply},
    {XK_KP_Add, vk::Add},
    {XK_KP_Separator, vk::Separator},
    {XK_KP_Subtract, vk::Subtract},
    {XK_KP_Decimal, vk::Decimal},
    {XK_KP_Divide, vk::Divide},
    {XK_Num_Lock, vk::NumLock},
    {XK_Scroll_Lock, vk::Scroll},
    {XK_semicolon, vk::OemSemicolon},
    {XK_equal, vk::OemPlus},
    {XK_comma, vk::OemComma},
    {XK_minus, vk::OemMinus},
    {XK_period, vk::OemPeriod},
    {XK_slash, vk::OemSlash},
    {XK_grave, vk::OemTilde},
    {XK_bracketleft, vk::OemOpenBracket},
    {XK_backslash, vk::OemBackslash},
    {XK_bracketright, vk::OemCloseBracket},
    {XK_apostrophe, vk::OemQuote},
});

constexpr bool IsKeypad(KeySym S) { return S >= XK_KP_Space && S <= XK_KP_Equal; }

}  // namespace

std::uint16_t KeysymToVirtualKey(KeySym Sym) {
  if (Sym >= XK_a && Sym <= XK_z) return std::uint16_t('A' + (Sym - XK_a));
  if ((Sym >= XK_A && Sym <= XK_Z) || (Sym >= XK_0 && Sym <= XK_9)) return std::uint16_t(Sym);
  if (Sym >= XK_F1 && Sym <= XK_F24) return std::uint16_t(vk::F1 + (Sym - XK_F1));
  if (Sym >= XK_KP_0 && Sym <= XK_KP_9) return std::uint16_t(vk::Numpad0 + (Sym - XK_KP_0));
  for (const auto& [S, Key] : KeyTable)
    if (S == Sym) return Key;
  return 0;
}

std::uint16_t EventVirtualKey(KeySym Typed, KeySym Unshifted) {
  if (IsKeypad(Typed)) return KeysymToVirtualKey(Typed);
  const std::uint16_t Key = KeysymToVirtualKey(Unshifted);
  return Key != 0 ? Key : KeysymToVirtualKey(Typed);
}

TShiftState ShiftStateFromX(unsigned State) {
  TShiftState S = 0;
  if (State & ShiftMask) S |= ssShift;
  if (State & ControlMask) S |= ssCtrl;
  if (State & Mod1Mask) S |= ssAlt;
  if (State & Button1Mask) S |= ssLeft;
  if (State & Button2Mask) S |= ssMiddle;
  if (State & Button3Mask) S |= ssRight;
  return S;
}

std::string Latin1ToUtf8(std::string_view S) {
  std::string R;
  R.reserve(S.size());
  for (char C : S) {
    if (static_cast<unsigned char>(C) < 0x80)
      R += C;
    else
      R += Utf8Encode(static_cast<unsigned char>(C));
  }
  return R;
}

std::string Utf8ToLatin1(std::string_view S) {
  std::string R;
  R.reserve(S.size());
  for (std::size_t P = 0; P < S.size();) {
    int Len = 1;
    const char32_t C = Utf8Decode(S, P, &Len);
    R += C <= 0xFF ? char(C) : '?';
    P += std::size_t(Len);
  }
  return R;
}

std::string UnicodeKeysymText(KeySym Sym) {
  if (Sym < 0x01000020 || Sym > 0x0110FFFF) return {};
  return Utf8Encode(char32_t(Sym - 0x01000000));
}

}  // namespace kvl::x11
