// Month and weekday names of the date text reader, Monday first.
#include "kvl/replist/datereader.h"

namespace kvl {

namespace {

constexpr TDateNames Tables[DateNameLanguages] = {
    {{"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"},
     {"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"},
     {"D01", "D02", "D03", "D04", "D05", "D06", "D07"},
     {"D01", "D02", "D03", "D04", "D05", "D06", "D07"}},
    {{"January", "February", "March", "April", "May", "June", "July", "August", "September",
      "October", "November", "December"},
     {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
     {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
     {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}},
    {{"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
      "Oktober", "November", "Dezember"},
     {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
     {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"},
     {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}},
    {{"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
      "octobre", "novembre", "décembre"},
     {"janv", "févr", "mars", "avr", "mai", "juin", "juil", "août", "sept", "oct", "nov", "déc"},
     {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"},
     {"lun", "mar", "mer", "jeu", "ven", "sam", "dim"}},
    {{"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
      "octubre", "noviembre", "diciembre"},
     {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
     {"lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"},
     {"lun", "mar", "mié", "jue", "vie", "sáb", "dom"}},
};

}  // namespace

const TDateNames& DateNames(int Language) {
  return Tables[Language >= 0 && Language < DateNameLanguages ? Language : 1];
}

}  // namespace kvl
