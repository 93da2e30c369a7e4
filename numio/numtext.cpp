// Input formats and decimal separator modes.
#include <langinfo.h>
#include <locale.h>

#include "kvl/numio/numio.h"

namespace kvl {

TInFormat InFormatFromByte(std::uint8_t B) {
  return B <= itDynamic ? static_cast<TInFormat>(B) : itFloat;
}

char SeparatorChar(TSepMode Mode) { return Mode == smComma ? ',' : '.'; }

char DecimalSepFromRadix(std::string_view Radix) {
  // Any radix other than "," (".", U+066B, ...) counts as ".", so the buffer never gets a
  // character that the point mode rejects.
  return Radix == "," ? ',' : '.';
}

char LocaleDecimalSep() {
  // A private locale object: the process locale stays as it is, and a change of the
  // environment is seen at the next call.
  const locale_t Loc = newlocale(LC_NUMERIC_MASK, "", locale_t(nullptr));
  if (Loc == locale_t(nullptr)) return '.';
  const char* Radix = nl_langinfo_l(RADIXCHAR, Loc);
  const char Sep = DecimalSepFromRadix(Radix ? std::string_view(Radix) : std::string_view());
  freelocale(Loc);
  return Sep;
}

TSepMode SepModeOf(TDecPSep Sep, char LocaleSep) {
  switch (DecPSepFromByte(Sep)) {
    case dpsLocale:
      return LocaleSep == ',' ? smComma : smPoint;
    case dpsPoint:
      return smPoint;
    case dpsComma:
      return smComma;
    case dpsBoth:
      break;
  }
  return smBoth;
}

TSepMode SepModeOf(TDecPSep Sep) {
  return DecPSepFromByte(Sep) == dpsLocale ? SepModeOf(Sep, LocaleDecimalSep())
                                           : SepModeOf(Sep, '.');
}

}  // namespace kvl
