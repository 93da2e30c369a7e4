// A page of its own for the date-time pickers until the lists page takes them.
#include "pages.h"
#include "pickers_section.h"

namespace kvl::gallery {

void BuildPickersPage(TWinControl& Host) { BuildPickersSection(Host, 12, 12); }

}  // namespace kvl::gallery
