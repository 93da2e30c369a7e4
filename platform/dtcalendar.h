// The date-time picker's drop-down month calendar: the month and year between previous and
// next buttons, a row of weekday names (weeks start on Monday), six weeks of day numbers with
// today framed and the picked day highlighted, and a "Today" line. The arrows move the picked
// day by a day or a week, Page Up and Page Down by a month, with Ctrl by a year; Enter or a
// click on a day picks it, a click on the "Today" line picks today, Escape, F4, Alt+Up and Tab
// close without a pick.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "kvl/platform/dates.h"
#include "kvl/platform/popups.h"

namespace kvl {

// The first and last day a picker's MinDate and MaxDate allow (0 is no limit), in order.
std::pair<TDateTime, TDateTime> DayLimits(TDateTime MinDate, TDateTime MaxDate);

class TDtCalendar : public TPopupWindow {
public:
  explicit TDtCalendar(TComponent* AOwner);
  ~TDtCalendar() override;

  // Opens below Owner with Day (a date at 00:00) picked. Lo and Hi bound the days that can be
  // picked (0: no bound).
  void Open(TControl& Owner, TDateTime Day, TDateTime Lo, TDateTime Hi);
  // The picked day and the month shown (the picked day's).
  TDateTime GetDay() const { return FDay; }
  void MoveTo(TDateTime Day);

  // Client rectangles of the parts: a day of the six weeks shown (empty for other days), the
  // previous and next buttons and the "Today" line.
  TRect DayRect(TDateTime Day) const;
  TRect PrevRect() const;
  TRect NextRect() const;
  TRect TodayRect() const;

  // A day was picked: the calendar has closed.
  std::function<void(TDateTime Day)> OnPick;

  bool PopupKeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  void Paint() override;
  void FontChanged() override;

private:
  void Measure();
  // The first day (a Monday) of the six weeks shown.
  TDateTime FirstShown() const;
  TDateTime Bounded(TDateTime Day) const;
  void Pick(TDateTime Day);
  // The day under P that a click there picks (a day within the limits, or today on the
  // "Today" line); false elsewhere.
  bool PickableAt(TPoint P, TDateTime& Day) const;

  TDateTime FDay = 0;
  TDateTime FLo = 0, FHi = 0;
  bool FPressed = false;  // a left press on a pickable day, picked by its release there
  TDateTime FPressDay = 0;
  int FCellW = 0, FCellH = 0, FTitleH = 0;
  std::shared_ptr<bool> FAlive;  // a pick's handler may free the calendar
};

}  // namespace kvl
