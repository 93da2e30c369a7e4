// The calendar page: one calendar per language on a month with holidays, one starting on
// Sunday, one with the long month name left at today, one with a holiday of its own, and an
// echo line that names each change with its date and holiday.
#include <string>

#include "kvl/minical/minical.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr int CalWidth = 240, CalHeight = 150, Gap = 8;

TMiniCal* Calendar(TWinControl& Host, TLabel* Echo, int Slot, int Width = CalWidth) {
  auto* C = new TMiniCal(&Host);
  C->SetParent(&Host);
  C->SetBounds(Gap + (Slot % 3) * (CalWidth + Gap), Gap + (Slot / 3) * (CalHeight + Gap), Width,
               CalHeight);
  C->OnChange = [C, Echo](TObject*) {
    std::string Caption;
    const bool Holiday = C->CheckHoliday(C->GetYear(), C->GetMonth(), C->GetDay(), Caption);
    const std::string When = FormatDateTime("yyyy-mm-dd hh:nn", C->GetDate()).value_or("?");
    Echo->SetCaption("changed to " + When + (Holiday ? ": " + Caption : ""));
  };
  return C;
}

}  // namespace

void BuildMiniCalPage(TWinControl& Host) {
  auto* Echo = new TLabel(&Host);
  Echo->SetParent(&Host);
  Echo->SetBounds(Gap, Gap + 3 * (CalHeight + Gap), 3 * CalWidth, 16);
  Echo->SetCaption("Click a day, the arrows or \"#\"; keys move the selected day.");

  struct TSample {
    TLanguage Language;
    int Year, Month, Day;  // the selected day, each a holiday
  };
  const TSample Samples[] = {{lgEnglish, 2025, 12, 25},
                             {lgGerman, 2025, 5, 29},
                             {lgFrench, 2025, 4, 21},
                             {lgSpanish, 2025, 6, 9}};
  int Slot = 0;
  for (const TSample& S : Samples) {
    TMiniCal* C = Calendar(Host, Echo, Slot++);
    C->SetLanguage(S.Language);
    C->SetShowHolidayHint(true);
    C->SetDate(EncodeDate(S.Year, S.Month, S.Day));
  }
  // Weeks starting on Sunday: each row is numbered by its Thursday's week.
  TMiniCal* Sunday = Calendar(Host, Echo, Slot++);
  Sunday->SetFirstDayOfWeek(dwSun);
  Sunday->SetDate(EncodeDate(2024, 9, 30));
  // A regional holiday of its own, selected.
  TMiniCal* Regional = Calendar(Host, Echo, Slot++);
  Regional->SetLanguage(lgGerman);
  Regional->AddRepeatHoliday(3, 10, "Tag der Deutschen Einheit");
  Regional->SetDayColors(dwSat, 0xD8E8D0);
  Regional->SetDate(EncodeDate(2025, 10, 3));
  // Today, with the long month name (wider, for "September 2025").
  TMiniCal* Today = Calendar(Host, Echo, Slot++, 300);
  Today->SetShowMonthShort(false);
}

}  // namespace kvl::gallery
