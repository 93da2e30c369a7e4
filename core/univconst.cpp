#include "kvl/core/univconst.h"

#include <array>

namespace kvl {

namespace {

using Months = std::array<std::string_view, 12>;
using Days = std::array<std::string_view, 7>;

constexpr std::array<Months, 5> MonthLongNames = {{
    {"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre",
     "Octobre", "Novembre", "Décembre"},
    {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
     "Octubre", "Noviembre", "Diciembre"},
}};

constexpr std::array<Months, 5> MonthShortNames = {{
    {"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    {"Janv", "Févr", "Mars", "Avr", "Mai", "Juin", "Juil", "Août", "Sept", "Oct", "Nov", "Déc"},
    {"Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"},
}};

constexpr std::array<Days, 5> WeekDayLongNames = {{
    {"D01", "D02", "D03", "D04", "D05", "D06", "D07"},
    {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"},
    {"Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi", "Dimanche"},
    {"Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado", "Domingo"},
}};

constexpr std::array<Days, 5> WeekDayShortNames = {{
    {"D01", "D02", "D03", "D04", "D05", "D06", "D07"},
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"},
    {"Lun", "Mar", "Mié", "Jue", "Vie", "Sáb", "Dom"},
}};

template <class Table>
std::string_view Lookup(const Table& Names, TLanguage Language, int Index) {
  const auto& Row = Names[Language < Names.size() ? Language : lgEnglish];
  if (Index < 1 || Index > static_cast<int>(Row.size())) return {};
  return Row[Index - 1];
}

}  // namespace

std::string_view MonthLong(TLanguage Language, int Month) {
  return Lookup(MonthLongNames, Language, Month);
}
std::string_view MonthShort(TLanguage Language, int Month) {
  return Lookup(MonthShortNames, Language, Month);
}
std::string_view WeekDayLong(TLanguage Language, int Day) {
  return Lookup(WeekDayLongNames, Language, Day);
}
std::string_view WeekDayShort(TLanguage Language, int Day) {
  return Lookup(WeekDayShortNames, Language, Day);
}

}  // namespace kvl
