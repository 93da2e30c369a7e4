// TMiniCal: construction, the date and its parts, the properties, navigation, mouse and keys.
#include "kvl/minical/minical.h"

#include <cmath>

#include "kvl/platform/errors.h"

namespace kvl {

namespace {

// Day numbers of 0001-01-01 and 9999-12-31.
constexpr std::int64_t FirstDay = -693593;
constexpr std::int64_t LastDay = 2958465;

}  // namespace

TMiniCal::TMiniCal(TComponent* AOwner) : TCustomDrawGrid(AOwner) {
  SetColCount(8);
  SetRowCount(8);
  SetFixedCols(1);
  SetFixedRows(2);
  SetGridLineWidth(1);
  SetScrollBars(ssNone);
  SetBorderStyle(bsSingle);
  TCustomDrawGrid::SetCtl3D(true);
  SetDefaultDrawing(false);
  SetOptions((GetOptions() & ~TGridOptions(goRangeSelect)) | goDrawFocusSelected);
  SetDoubleBuffered(true);
  const TDateTime Today = Now();
  FDate = DecodeDateTime(Today) ? Today : EncodeDate(2000, 1, 1);
  LoadFixedHolidays();
  SetBounds(GetLeft(), GetTop(), 300, 180);
  AdjustSizes();
  UpdateCal();
}

void TMiniCal::Changed() {
  if (OnChange) OnChange(this);
}

// --- the date -------------------------------------------------------------------------------

void TMiniCal::SetDate(TDateTime Value) {
  if (!DecodeDateTime(Value)) return;
  FDate = Value;
  UpdateCal();
  Changed();
}

int TMiniCal::GetDay() const {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  return D;
}

int TMiniCal::GetMonth() const {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  return M;
}

int TMiniCal::GetYear() const {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  return Y;
}

void TMiniCal::SetDay(int Value) {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  if (Value >= 1 && Value <= DaysInMonth(Y, M)) D = Value;
  FDate = EncodeDate(Y, M, D);
  UpdateCal();
  Changed();
}

void TMiniCal::SetMonth(int Value) {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  if (Value >= 1 && Value <= 12) M = Value;
  FDate = EncodeDate(Y, M, D);
  UpdateCal();
  Changed();
}

void TMiniCal::SetYear(int Value) {
  int Y = 0, M = 0, D = 0;
  DecodeDate(FDate, Y, M, D);
  if (Value >= 1) Y = Value;
  FDate = EncodeDate(Y, M, D);
  UpdateCal();
  Changed();
}

bool TMiniCal::SelectDayNumber(std::int64_t Number) {
  if (Number < FirstDay || Number > LastDay) return false;
  FDate = double(Number);
  UpdateCal();
  Changed();
  return true;
}

void TMiniCal::UpdateCal() {
  FUpdating = true;
  int D = 0;
  DecodeDate(FDate, FShownYear, FShownMonth, D);
  FShownDays = DaysInMonth(FShownYear, FShownMonth);
  FFirstOfMonth = DayNumberOfDate(FShownYear, FShownMonth, 1);
  FSelectedNumber = FFirstOfMonth + D - 1;
  const int W = IsoWeekdayOfDayNumber(FFirstOfMonth);
  const int A = (W - int(F1stDayWeek) + 7) % 7;
  FMonOfs = A == 0 ? -5 : 2 - A;
  CollectHolidays();
  if (FShowHDayHint) {
    const std::string_view* Caption = FIndicateHolid ? ShownHoliday(D) : nullptr;
    SetHint(Caption ? std::string(*Caption) : std::string());
  }
  FUpdating = false;
  Invalidate();
}

// --- properties -----------------------------------------------------------------------------

void TMiniCal::SetFirstDayOfWeek(TDayOfWeek Value) {
  if (Value > dwSun || Value == F1stDayWeek) return;
  F1stDayWeek = Value;
  UpdateCal();
  Changed();
}

void TMiniCal::SetLanguage(TLanguage Value) {
  FLanguage = Value;
  LoadFixedHolidays();
  UpdateCal();
}

void TMiniCal::SetIndicateHolidays(bool Value) {
  FIndicateHolid = Value;
  UpdateCal();
}

void TMiniCal::SetShowMovableHolidays(bool Value) {
  FShowMovHdays = Value;
  UpdateCal();
}

void TMiniCal::SetShowHolidayHint(bool Value) {
  FShowHDayHint = Value;
  SetHint("");
  if (Value) SetShowHint(true);
  UpdateCal();
}

void TMiniCal::SetMarkToday(bool Value) {
  FMarkToday = Value;
  Invalidate();
}

void TMiniCal::SetShowMonthShort(bool Value) {
  FMonthShort = Value;
  Invalidate();
}

void TMiniCal::SetColor(int Index, TColor Value) {
  FColors[std::size_t(Index)] = Value;
  Invalidate();
}

TColor TMiniCal::GetDayColors(TDayOfWeek Day) const {
  return Day <= dwSun ? FDayColors[Day] : TColor(0);
}

void TMiniCal::SetDayColors(TDayOfWeek Day, TColor Value) {
  if (Day > dwSun) return;
  FDayColors[Day] = Value;
  UpdateCal();
  Changed();
}

void TMiniCal::SetCtl3D(bool Value) {
  TCustomDrawGrid::SetCtl3D(Value);
  AdjustSizes();
  Invalidate();
}

// --- navigation -----------------------------------------------------------------------------

void TMiniCal::NextMonth() {
  if (FShownYear == 9999 && FShownMonth == 12) return;
  SetDate(IncMonth(FDate, 1));
}

void TMiniCal::PrevMonth() {
  if (FShownYear == 1 && FShownMonth == 1) return;
  SetDate(IncMonth(FDate, -1));
}

void TMiniCal::NextYear() {
  // The target year is checked first: at the end of the range not even the 29th moves.
  if (FShownYear >= 9999) return;
  const int Y = FShownYear;
  if (FShownMonth == 2 && GetDay() == 29) SetDay(28);
  SetYear(Y + 1);
}

void TMiniCal::PrevYear() {
  if (FShownYear <= 1) return;
  const int Y = FShownYear;
  if (FShownMonth == 2 && GetDay() == 29) SetDay(28);
  SetYear(Y - 1);
}

void TMiniCal::LastDayOfMonth() { SetDay(DaysInMonth(FShownYear, FShownMonth)); }

void TMiniCal::StepDays(int Days) {
  const std::int64_t Target = FSelectedNumber + Days;
  if (Target < FirstDay || Target > LastDay) return;
  int Y = 0, M = 0, D = 0;
  DateOfDayNumber(Target, Y, M, D);
  if (!FAutoSwitch && (Y != FShownYear || M != FShownMonth)) return;
  SelectDayNumber(Target);
}

// --- mouse and keys -------------------------------------------------------------------------

void TMiniCal::ClickDay(int ACol, int ARow) {
  int D = DayOfCell(ACol, ARow), Y = FShownYear, M = FShownMonth;
  if (FAutoSwitch) {
    if (D < 1) {
      if (--M < 1) {
        M = 12;
        --Y;
      }
      D += DaysInMonth(Y, M);
    }
    if (D > DaysInMonth(Y, M)) {
      D -= FShownDays;
      if (++M > 12) {
        M = 1;
        ++Y;
      }
    }
  }
  if (Y >= 1 && Y <= 9999 && D >= 1 && D <= DaysInMonth(Y, M))
    SelectDayNumber(DayNumberOfDate(Y, M, D));
  else
    UpdateCal();
}

void TMiniCal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || X <= 0 || Y <= 0 || X >= GetGridWidth() || Y >= GetGridHeight()) return;
  int C = -1, R = -1;
  MouseToCell(X, Y, C, R);
  if (C >= 1 && R >= 2) {
    ClickDay(C, R);
    return;
  }
  if (R != 0 && !(R == 1 && C == 0)) return;
  switch (C) {
    case 0:
      SetDate(Now());
      break;
    case 1:
      PrevYear();
      break;
    case 2:
      PrevMonth();
      break;
    case 6:
      NextMonth();
      break;
    case 7:
      NextYear();
      break;
    default:
      break;
  }
}

void TMiniCal::MouseUp(TMouseButton, TShiftState, int, int) {
  // The grid's drag state must not outlive the press, though the grid sees no release.
  CancelPress();
}

bool TMiniCal::WantsKey(std::uint16_t Key, TShiftState Shift) const {
  return Key != vk::Tab && TCustomDrawGrid::WantsKey(Key, Shift);
}

void TMiniCal::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  switch (Key) {
    case vk::Left:
    case vk::Right:
    case vk::Up:
    case vk::Down:
    case vk::Prior:
    case vk::Next:
    case vk::Home:
    case vk::End:
      break;
    default:
      TCustomDrawGrid::KeyDown(Key, Shift);
      return;
  }
  // The grid never sees these: its current cell is not shown and must not move.
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || !IsEnabledInTree()) return;
  const std::uint16_t K = Key;
  Key = 0;
  const bool Ctrl = (Shift & ssCtrl) != 0;
  switch (K) {
    case vk::Left:
      StepDays(-1);
      break;
    case vk::Right:
      StepDays(1);
      break;
    case vk::Up:
      StepDays(-7);
      break;
    case vk::Down:
      StepDays(7);
      break;
    case vk::Prior:
      Ctrl ? PrevYear() : PrevMonth();
      break;
    case vk::Next:
      Ctrl ? NextYear() : NextMonth();
      break;
    case vk::Home:
      SetDay(1);
      break;
    default:
      LastDayOfMonth();
      break;
  }
}

}  // namespace kvl
