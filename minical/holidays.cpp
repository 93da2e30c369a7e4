// The holiday tables, the holiday list, CheckHoliday and Easter.
#include <algorithm>
#include <array>

#include "kvl/minical/minical.h"

namespace kvl {

namespace {

struct TFixedHoliday {
  int Day, Month;
  std::array<std::string_view, 4> Captions;  // English, German, French, Spanish
};

constexpr std::array<TFixedHoliday, 8> FixedHolidays = {{
    {25, 12, {"Christmas Day", "Weihnachten", "Noël", "Navidad"}},
    {26, 12, {"Boxing Day", "Stephanitag", "Jour de boxe", "Día de San Esteban"}},
    {1, 1, {"New Year's Day", "Neujahrstag", "Nouvel An Jour", "Día de Año Nuevo"}},
    {6, 1, {"Epiphany", "Hl. Drei Könige", "Épiphanie", "Epifanía"}},
    {15, 8, {"Assumption of Mary", "Maria Himmelfahrt", "Assomption", "Asunción"}},
    {1, 11, {"All Saints", "Allerheiligen", "La Toussaint", "Día de Todos los Santos"}},
    {8, 12,
     {"Immaculate Conception", "Maria Empfängnis", "Immaculée Conception",
      "Inmaculada Concepción"}},
    {1, 5, {"Labor Day", "Tag der Arbeit", "Fête du Travail", "Día del Trabajo"}},
}};

struct TMovableFeast {
  int Offset;  // days after Easter Sunday
  std::array<std::string_view, 4> Captions;
};

constexpr std::array<TMovableFeast, 6> MovableFeasts = {{
    {0, {"Easter Day", "Ostersonntag", "Le jour de Pâques", "Domingo de Resurrección"}},
    {1, {"Easter Monday", "Ostermontag", "Lundi de Pâques", "Lunes de Pascua"}},
    {39, {"Ascension Day", "Christi Himmelfahrt", "Ascension du Christ", "Ascensión de Cristo"}},
    {49,
     {"Pentecost", "Pfingstsonntag", "Dimanche de Pentecôte", "Domingo de Pentecostés"}},
    {50, {"Whit Monday", "Pfingstmontag", "Lundi de Pentecôte", "Lunes de Pentecostés"}},
    {60, {"Corpus Christi", "Fronleichnam", "Corpus Christi", "Corpus Cristi"}},
}};

// Languages without captions of their own use the English ones.
std::size_t CaptionIndex(TLanguage Language) {
  return Language >= lgEnglish && Language <= lgSpanish ? std::size_t(Language - lgEnglish) : 0;
}

// Days counted from 1 March (March d is d, April d is 31 + d ...) for the months 3 to 6.
constexpr std::array<int, 4> SpringMonthStart = {0, 31, 61, 92};

// The month (3 to 6) and day of a count from 1 March; false past June.
bool SpringDate(int Count, int& Month, int& Day) {
  for (int I = 3; I >= 0; --I) {
    if (Count > SpringMonthStart[std::size_t(I)]) {
      Month = 3 + I;
      Day = Count - SpringMonthStart[std::size_t(I)];
      return Month < 6 || Day <= 30;
    }
  }
  return false;
}

// Easter Sunday as a count from 1 March; 0 for years without one.
int EasterCount(int Year) {
  int Day = 0, Month = 0;
  CalcEasterSunday(Year, Day, Month);
  return Month == 0 ? 0 : Month == 3 ? Day : 31 + Day;
}

}  // namespace

void CalcEasterSunday(int Year, int& Day, int& Month) {
  if (Year < 1) {
    Day = Month = 0;
    return;
  }
  // 64 bits: Year + Year / 4 would overflow near INT_MAX.
  const std::int64_t Y = Year;
  const std::int64_t K = Y / 100;
  const std::int64_t Q = (3 * K + 3) / 4;
  const std::int64_t A = Y % 19;
  const std::int64_t D = (19 * A + Q - (8 * K + 13) / 25 + 15) % 30;
  const std::int64_t G = 21 + D - (A / 11 + D) / 29;
  const std::int64_t S = G + 7 - (G + (Y + Y / 4 - Q + 2) % 7 - 7) % 7;
  Month = S <= 31 ? 3 : 4;
  Day = int(S <= 31 ? S : S - 31);
}

void TMiniCal::LoadFixedHolidays() {
  const std::size_t L = CaptionIndex(FLanguage);
  std::vector<std::string> Captions;
  Captions.reserve(FixedHolidays.size());
  for (const TFixedHoliday& H : FixedHolidays) Captions.emplace_back(H.Captions[L]);
  TIntMatrix List(3, int(FixedHolidays.size()));
  for (int I = 1; I <= int(FixedHolidays.size()); ++I) {
    const TFixedHoliday& H = FixedHolidays[std::size_t(I - 1)];
    List.SetVal(1, I, H.Day);
    List.SetVal(2, I, H.Month);
    List.SetVal(3, I, RepeatYear);
  }
  FHDayList = std::move(List);
  FHDayCaptions = std::move(Captions);
}

void TMiniCal::AddHoliday(int Day, int Mon, int Year, const std::string& Caption) {
  const int N = FHDayList.GetNrRows() + 1;
  // The caption first: when the list's growth fails, the spare caption is dropped again.
  FHDayCaptions.push_back(Caption);
  try {
    FHDayList.SetNRows(N);
  } catch (...) {
    FHDayCaptions.pop_back();
    CollectHolidays();  // the captions may have moved
    throw;
  }
  FHDayList.SetVal(1, N, Day);
  FHDayList.SetVal(2, N, Mon);
  FHDayList.SetVal(3, N, Year);
  UpdateCal();
}

void TMiniCal::AddRepeatHoliday(int Day, int Mon, const std::string& Caption) {
  AddHoliday(Day, Mon, RepeatYear, Caption);
}

void TMiniCal::ClearHolidayList() {
  FHDayList.SetNRows(0);
  FHDayCaptions.clear();
  UpdateCal();
}

bool TMiniCal::RetrieveHoliday(int HDIndex, int& Day, int& Month, int& Year, bool& IsRepeatHDay,
                               std::string& Description) const {
  if (HDIndex < 1 || HDIndex > GetNumHolidays()) return false;
  Day = FHDayList.GetVal(1, HDIndex);
  Month = FHDayList.GetVal(2, HDIndex);
  Year = FHDayList.GetVal(3, HDIndex);
  IsRepeatHDay = Year == RepeatYear;
  Description = FHDayCaptions[std::size_t(HDIndex - 1)];
  return true;
}

bool TMiniCal::CheckHoliday(int Year, int Month, int Day, std::string& Caption) const {
  Caption.clear();
  for (int I = 1; I <= GetNumHolidays(); ++I) {
    if (FHDayList.GetVal(1, I) != Day || FHDayList.GetVal(2, I) != Month) continue;
    const int Y = FHDayList.GetVal(3, I);
    if (Y != RepeatYear && Y != Year) continue;
    Caption = FHDayCaptions[std::size_t(I - 1)];
    return true;
  }
  // Only real days: a "40 March" must not pass for a day of April.
  if (!FShowMovHdays || Month < 3 || Month > 6 || Day < 1 || Day > DaysInMonth(Year, Month))
    return false;
  const int Easter = EasterCount(Year);
  if (Easter == 0) return false;
  const int Count = SpringMonthStart[std::size_t(Month - 3)] + Day;
  for (const TMovableFeast& F : MovableFeasts) {
    if (Count == Easter + F.Offset) {
      Caption = F.Captions[CaptionIndex(FLanguage)];
      return true;
    }
  }
  return false;
}

void TMiniCal::CollectHolidays() {
  FIsShownHoliday.fill(false);
  FShownHolidays.fill({});
  const auto Mark = [this](int Day, std::string_view Caption) {
    if (FIsShownHoliday[std::size_t(Day)]) return;  // the first match wins
    FIsShownHoliday[std::size_t(Day)] = true;
    FShownHolidays[std::size_t(Day)] = Caption;
  };
  // One pass over the list in its order gives CheckHoliday's first match for every day.
  for (int I = 1; I <= GetNumHolidays(); ++I) {
    if (FHDayList.GetVal(2, I) != FShownMonth) continue;
    const int Y = FHDayList.GetVal(3, I), D = FHDayList.GetVal(1, I);
    if ((Y == RepeatYear || Y == FShownYear) && D >= 1 && D <= FShownDays)
      Mark(D, FHDayCaptions[std::size_t(I - 1)]);
  }
  if (!FShowMovHdays || FShownMonth < 3 || FShownMonth > 6) return;
  const int Easter = EasterCount(FShownYear);
  if (Easter == 0) return;
  for (const TMovableFeast& F : MovableFeasts) {
    int M = 0, D = 0;
    if (SpringDate(Easter + F.Offset, M, D) && M == FShownMonth)
      Mark(D, F.Captions[CaptionIndex(FLanguage)]);
  }
}

const std::string_view* TMiniCal::ShownHoliday(int Day) const {
  if (Day < 1 || Day > 31 || !FIsShownHoliday[std::size_t(Day)]) return nullptr;
  return &FShownHolidays[std::size_t(Day)];
}

}  // namespace kvl
