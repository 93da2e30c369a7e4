// The gallery's date-time pickers: a date with a drop-down calendar, a time with up-down
// buttons, the row editor's "dd.MM.yyyy" and a disabled one, in a group box at (Left, Top).
#pragma once

#include "kvl/platform/controls.h"

namespace kvl::gallery {

void BuildPickersSection(TWinControl& Host, int Left, int Top);

}  // namespace kvl::gallery
