// What the x11 host reads from key and pointer events, put in the library's terms: keysyms as
// virtual-key codes, the X state mask as a shift state, X's Latin-1 strings as UTF-8. Internal
// to the x11 host; nothing here needs a display, so it is tested on its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kvl/platform/input.h"

namespace kvl::x11 {

// Xlib's KeySym, named here without X.h (see host_x11_detail.h on the order of X headers).
using TKeySym = unsigned long;

// The virtual-key code of a keysym; 0 when the library has none for it.
std::uint16_t KeysymToVirtualKey(TKeySym Sym);

// The virtual-key code of a key event. Typed is the keysym the key gives in the event's state,
// Unshifted the one of its first level. Keypad keys go by Typed, since NumLock decides between
// a digit and a movement key there; every other key goes by Unshifted, so Shift+; is still the
// semicolon key.
std::uint16_t EventVirtualKey(TKeySym Typed, TKeySym Unshifted);

// Modifiers and buttons of an X state mask.
TShiftState ShiftStateFromX(unsigned State);

std::string Latin1ToUtf8(std::string_view S);
// For STRING targets: characters beyond Latin-1 become '?'.
std::string Utf8ToLatin1(std::string_view S);
// The text of a keysym that names a Unicode character directly (0x01000000 + code point), for
// lookups that gave no text of their own; empty for other keysyms.
std::string UnicodeKeysymText(TKeySym Sym);

}  // namespace kvl::x11
