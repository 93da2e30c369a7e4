// The mini calendar TMiniCal: one month on an 8 x 8 draw grid with a navigation row, weekday
// names, six week rows of day numbers and a column of ISO week numbers; it marks today, the
// selected day and holidays (a list of dated or yearly holidays plus the Easter-based movable
// feasts), named in one of four languages. Also Easter Sunday of a Gregorian year.
//
// The selected date stays within 0001-01-01 .. 9999-12-31: a step, click or key that would
// leave that range does nothing, and Date writes outside it (or not finite) are ignored.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/core/matrix.h"
#include "kvl/platform/dates.h"
#include "kvl/platform/grids.h"

namespace kvl {

enum TDayOfWeek : std::uint8_t { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };
using TDayColors = std::array<TColor, 7>;

// Easter Sunday of a Gregorian year by Gauss's formula in Lichtenberg's form. Years below 1
// have no Easter here: Day and Month become 0.
void CalcEasterSunday(int Year, int& Day, int& Month);

// What one cell of the calendar shows; the drawing follows from it alone.
struct TMiniCalCellLook {
  enum TKind : std::uint8_t { ckNothing, ckButton, ckWeekDay, ckWeekNumber, ckDay };
  TKind Kind = ckNothing;
  TRect Rect;  // where it is drawn: the spanning buttons reach over their neighbours
  std::string Text;
  TColor FontColor = clBlack;
  TColor BrushColor = clBlack;
  bool Frame = false;  // a button frame follows the text
  bool Ring = false;   // today's ring
};

class TMiniCal : public TCustomDrawGrid {
public:
  // Holidays of the list with this year repeat every year.
  static constexpr int RepeatYear = -99999;

  explicit TMiniCal(TComponent* AOwner);

  // The selected date; its fraction is the time of day. Writing fires OnChange, even for the
  // value it already holds; values that are not finite or lie outside the years 1 to 9999 are
  // ignored without an event.
  TDateTime GetDate() const { return FDate; }
  void SetDate(TDateTime Value);

  // Writing a part sets the time of day to 0 and fires OnChange. A part out of its range (month
  // 13, day 0 or 31 in April) leaves the date as it was and still fires OnChange; a part valid
  // in itself that makes an impossible date (Month := 2 on the 30th) raises EConvertError and
  // leaves the date, although the navigation methods clamp the day.
  int GetDay() const;
  void SetDay(int Value);
  int GetMonth() const;
  void SetMonth(int Value);
  int GetYear() const;
  void SetYear(int Value);

  // Values beyond dwSun are ignored.
  TDayOfWeek GetFirstDayOfWeek() const { return F1stDayWeek; }
  void SetFirstDayOfWeek(TDayOfWeek Value);
  // Any value is kept; those without holiday captions of their own (all but English, German,
  // French and Spanish) show the English ones. Every write, also of the same language, resets
  // the holiday list to the fixed holidays and drops the added ones.
  TLanguage GetLanguage() const { return FLanguage; }
  void SetLanguage(TLanguage Value);

  // A click on a day of a neighbouring month (or a key stepping into it) moves to that month.
  bool GetAutoSwitch() const { return FAutoSwitch; }
  void SetAutoSwitch(bool Value) { FAutoSwitch = Value; }
  bool GetIndicateHolidays() const { return FIndicateHolid; }
  void SetIndicateHolidays(bool Value);
  bool GetShowMovableHolidays() const { return FShowMovHdays; }
  void SetShowMovableHolidays(bool Value);
  // The Hint shows the selected date's holiday; setting it clears Hint and, when true, turns
  // ShowHint on.
  bool GetShowHolidayHint() const { return FShowHDayHint; }
  void SetShowHolidayHint(bool Value);
  bool GetMarkToday() const { return FMarkToday; }
  void SetMarkToday(bool Value);
  bool GetShowMonthShort() const { return FMonthShort; }
  void SetShowMonthShort(bool Value);

  TColor GetColorActiveMonth() const { return FColors[0]; }
  void SetColorActiveMonth(TColor Value) { SetColor(0, Value); }
  TColor GetColorInactiveMonth() const { return FColors[1]; }
  void SetColorInactiveMonth(TColor Value) { SetColor(1, Value); }
  TColor GetColorWeekNoBg() const { return FColors[2]; }
  void SetColorWeekNoBg(TColor Value) { SetColor(2, Value); }
  TColor GetColorWeekNoFg() const { return FColors[3]; }
  void SetColorWeekNoFg(TColor Value) { SetColor(3, Value); }
  TColor GetColorDayIdBg() const { return FColors[4]; }
  void SetColorDayIdBg(TColor Value) { SetColor(4, Value); }
  TColor GetColorDayIdFg() const { return FColors[5]; }
  void SetColorDayIdFg(TColor Value) { SetColor(5, Value); }
  TColor GetColorSelectedBg() const { return FColors[6]; }
  void SetColorSelectedBg(TColor Value) { SetColor(6, Value); }
  TColor GetColorSelectedFg() const { return FColors[7]; }
  void SetColorSelectedFg(TColor Value) { SetColor(7, Value); }
  TColor GetColorHolidayBg() const { return FColors[8]; }
  void SetColorHolidayBg(TColor Value) { SetColor(8, Value); }
  TColor GetColorHolidayFg() const { return FColors[9]; }
  void SetColorHolidayFg(TColor Value) { SetColor(9, Value); }
  TColor GetColorToday() const { return FColors[10]; }
  void SetColorToday(TColor Value) { SetColor(10, Value); }

  // The background of each weekday's column. An index beyond dwSun reads 0 and is not written;
  // a write fires OnChange.
  TColor GetDayColors(TDayOfWeek Day) const;
  void SetDayColors(TDayOfWeek Day, TColor Value);

  // Ctl3D also chooses the sizes of row 0 and column 0 and the button frames.
  void SetCtl3D(bool Value);
  // Stored for the host: the framework enforces no size limits.
  const TSizeConstraints& GetConstraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& Value) { FConstraints = Value; }

  // --- the holiday list
  int GetNumHolidays() const { return FHDayList.GetNrRows(); }
  // Year RepeatYear makes a yearly holiday (there is no other way to name that year). Days
  // and months that cannot exist are kept and simply never match.
  void AddHoliday(int Day, int Mon, int Year, const std::string& Caption);
  void AddRepeatHoliday(int Day, int Mon, const std::string& Caption);
  // Removes every holiday, the fixed ones too; the movable feasts stay.
  void ClearHolidayList();
  // Holiday HDIndex (1 .. NumHolidays); false, the outputs untouched, for any other index.
  bool RetrieveHoliday(int HDIndex, int& Day, int& Month, int& Year, bool& IsRepeatHDay,
                       std::string& Description) const;
  // The first holiday of the list on that date, else (when ShowMovableHolidays) a movable feast.
  bool CheckHoliday(int Year, int Month, int Day, std::string& Caption) const;

  // --- navigation
  // One month on or back, the day clamped to the month reached, the time of day kept.
  void NextMonth();
  void PrevMonth();
  // One year on or back through the Day and Year writes: on 29 February the day first becomes
  // the 28th with an OnChange of its own, so two events fire.
  void NextYear();
  void PrevYear();
  void LastDayOfMonth();

  // The look of a cell now (today read from the wall clock).
  TMiniCalCellLook CellLook(int ACol, int ARow) const;

  TNotifyEvent OnChange;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Does nothing: the calendar acts on presses only.
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  // Fires OnChange.
  virtual void Changed();
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void Paint() override;
  void SizeChanged(int OldWidth, int OldHeight) override;

private:
  // minical.cpp
  void SetColor(int Index, TColor Value);
  void UpdateCal();
  // The date of a day number at 00:00 with OnChange, when inside the range.
  bool SelectDayNumber(std::int64_t Number);
  // The day a day cell shows, counted from the 1st of the month (1 is the 1st).
  int DayOfCell(int ACol, int ARow) const { return FMonOfs + ACol + 7 * ARow - 15; }
  // Moves the selection by Days as the arrow keys do.
  void StepDays(int Days);
  void ClickDay(int ACol, int ARow);

  // holidays.cpp
  void LoadFixedHolidays();
  // Fills FShownHolidays for the selected month.
  void CollectHolidays();
  // The caption of a holiday of the shown month; nullptr on an ordinary day.
  const std::string_view* ShownHoliday(int Day) const;

  // paint.cpp
  void AdjustSizes();
  TMiniCalCellLook LookOf(int ACol, int ARow, TRect R, std::int64_t Today) const;
  void DrawLook(TCanvas& C, const TMiniCalCellLook& L);

  TDateTime FDate = 0;
  int FMonOfs = 0;
  TDayOfWeek F1stDayWeek = dwMon;
  TLanguage FLanguage = lgEnglish;
  TDayColors FDayColors = {0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xBBDDEE, 0xCCEEFF};
  TIntMatrix FHDayList{3, 0};
  std::vector<std::string> FHDayCaptions;
  bool FAutoSwitch = true, FShowHDayHint = true, FIndicateHolid = true, FShowMovHdays = true,
       FMarkToday = true, FMonthShort = true;
  bool FUpdating = false;
  // ColorActiveMonth, ColorInactiveMonth, ColorWeekNoBg, ColorWeekNoFg, ColorDayIdBg,
  // ColorDayIdFg, ColorSelectedBg, ColorSelectedFg, ColorHolidayBg, ColorHolidayFg, ColorToday
  std::array<TColor, 11> FColors = {0x000000, 0xC0C0C0, 0xC0C0C0, 0x000000, 0xC0C0C0, 0x000000,
                                    0xD0A040, 0xFFFFFF, 0x9BD8F1, 0x0000C0, 0x0000FF};
  TSizeConstraints FConstraints;

  // Derived by UpdateCal: the shown month and the caption of each of its holidays, so painting
  // never searches the list.
  int FShownYear = 0, FShownMonth = 0, FShownDays = 0;
  std::int64_t FFirstOfMonth = 0, FSelectedNumber = 0;  // day numbers
  std::array<std::string_view, 32> FShownHolidays{};
  std::array<bool, 32> FIsShownHoliday{};
  // Today as a day number while a paint runs.
  std::int64_t FPaintToday = 0;
};

}  // namespace kvl
