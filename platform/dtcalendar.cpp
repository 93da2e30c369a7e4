#include "kvl/platform/dtcalendar.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/dtformat.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int Margin = 4;
constexpr int ArrowButtonWidth = 20;
constexpr int WeeksShown = 6;

// A small filled triangle pointing left or right, centred in R.
void DrawSideArrow(TCanvas& C, const TRect& R, bool Right, TColor Color) {
  const int CX = R.Left + R.Width() / 2, CY = R.Top + R.Height() / 2;
  C.GetBrush().SetColor(Color);
  for (int I = 0; I < 4; ++I) {
    const int X = Right ? CX - 2 + I : CX + 1 - I;
    C.FillRect(Rect(X, CY - 3 + I, X + 1, CY + 4 - I));
  }
}

std::string DayText(TDateTime Day) {
  int Y, M, D;
  return DecodeDate(Day, Y, M, D) ? std::to_string(D) : std::string();
}

}  // namespace

TDtCalendar::TDtCalendar(TComponent* AOwner)
    : TPopupWindow(AOwner, pkDropDown), FAlive(std::make_shared<bool>(true)) {
  SetColor(clWindow);
  Measure();
}

TDtCalendar::~TDtCalendar() { *FAlive = false; }

void TDtCalendar::Measure() {
  const TFont& F = GetFont();
  const int H = GetFontMetrics(F).Height;
  FCellW = std::max(TextAdvance(F, "Wed"), TextAdvance(F, "00")) + 8;
  FCellH = H + 3;
  FTitleH = H + 8;
}

void TDtCalendar::FontChanged() {
  TPopupWindow::FontChanged();
  Measure();
}

TRect TDtCalendar::PrevRect() const {
  return Rect(Margin, Margin, Margin + ArrowButtonWidth, Margin + FTitleH);
}

TRect TDtCalendar::NextRect() const {
  const int W = 7 * FCellW + 2 * Margin;
  return Rect(W - Margin - ArrowButtonWidth, Margin, W - Margin, Margin + FTitleH);
}

TRect TDtCalendar::TodayRect() const {
  const int Top = Margin + FTitleH + 2 + FCellH + 3 + WeeksShown * FCellH + 2;
  return Rect(Margin, Top, Margin + 7 * FCellW, Top + FCellH + 2);
}

TDateTime TDtCalendar::FirstShown() const {
  int Y, M, D;
  if (!DecodeDate(FDay, Y, M, D)) return FDay;
  const TDateTime First = EncodeDate(Y, M, 1);
  // The week that holds the 1st, from its Monday; the days before year 1 cannot be shown.
  return std::max(First - (DayOfTheWeek(First) - 1), EncodeDate(1, 1, 1));
}

TRect TDtCalendar::DayRect(TDateTime Day) const {
  const TDateTime First = FirstShown();
  const double Offset = std::floor(Day) - First;
  // Year 1 starts on a Monday, so the first shown day is always a Monday.
  if (!(Offset >= 0 && Offset < 7 * WeeksShown)) return {};
  const int I = static_cast<int>(Offset);
  const int Top = Margin + FTitleH + 2 + FCellH + 3 + (I / 7) * FCellH;
  const int Left = Margin + (I % 7) * FCellW;
  return Rect(Left, Top, Left + FCellW, Top + FCellH);
}

std::pair<TDateTime, TDateTime> DayLimits(TDateTime MinDate, TDateTime MaxDate) {
  TDateTime Lo = MinDate != 0 ? DateOf(MinDate) : -HUGE_VAL;
  TDateTime Hi = MaxDate != 0 ? DateOf(MaxDate) : HUGE_VAL;
  if (Lo > Hi) std::swap(Lo, Hi);
  return {Lo, Hi};
}

TDateTime TDtCalendar::Bounded(TDateTime Day) const {
  // Clamped before truncating: a step off either end of the calendar stays at that end.
  Day = DateOf(std::clamp(Day, EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31)));
  const auto [Lo, Hi] = DayLimits(FLo, FHi);
  return std::clamp(Day, Lo, Hi);
}

void TDtCalendar::Open(TControl& Owner, TDateTime Day, TDateTime Lo, TDateTime Hi) {
  FLo = Lo, FHi = Hi;
  FDay = Bounded(Day);
  FPressed = false;
  const TSize S{7 * FCellW + 2 * Margin, TodayRect().Bottom + Margin};
  Popup(&Owner, PlaceBelow(ScreenBoundsOf(Owner), S, Application->GetHost().ScreenSize()));
  Invalidate();
}

void TDtCalendar::MoveTo(TDateTime Day) {
  Day = Bounded(Day);
  if (Day == FDay) return;
  FDay = Day;
  Invalidate();
}

void TDtCalendar::Pick(TDateTime Day) {
  const std::shared_ptr<bool> Alive = FAlive;
  const auto Handler = OnPick;
  ClosePopup();
  if (*Alive && Handler) Handler(Day);
}

bool TDtCalendar::PopupKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Shift & ssAlt) {
    if (Key == vk::Up) ClosePopup();
    return Key == vk::Up || Key == vk::Down;
  }
  const bool Ctrl = (Shift & ssCtrl) != 0;
  switch (Key) {
    case vk::Left:
      MoveTo(FDay - 1);
      return true;
    case vk::Right:
      MoveTo(FDay + 1);
      return true;
    case vk::Up:
      MoveTo(FDay - 7);
      return true;
    case vk::Down:
      MoveTo(FDay + 7);
      return true;
    case vk::Prior:
    case vk::Next: {
      const int Months = (Ctrl ? 12 : 1) * (Key == vk::Prior ? -1 : 1);
      // IncMonth refuses to leave the calendar; the picked day then stays.
      int Y, M, D;
      DecodeDate(FDay, Y, M, D);
      const int Target = Y * 12 + (M - 1) + Months;
      if (Target >= 12 && Target < 10000 * 12) MoveTo(IncMonth(FDay, Months));
      return true;
    }
    case vk::Return:
      Key = 0;
      Pick(FDay);
      return true;
    case vk::F4:
    case vk::Tab:
      ClosePopup();
      return true;
    default:
      return TPopupWindow::PopupKeyDown(Key, Shift);
  }
}

void TDtCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPopupWindow::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TPoint P{X, Y};
  int Yr, M, D;
  DecodeDate(FDay, Yr, M, D);
  if (PrevRect().Contains(P)) {
    if (Yr * 12 + M > 13) MoveTo(IncMonth(FDay, -1));
    return;
  }
  if (NextRect().Contains(P)) {
    if (Yr * 12 + M < 9999 * 12 + 12) MoveTo(IncMonth(FDay, 1));
    return;
  }
  FPressed = PickableAt(P, FPressDay);
}

void TDtCalendar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPopupWindow::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FPressed) return;
  FPressed = false;
  TDateTime Day;
  if (PickableAt({X, Y}, Day) && Day == FPressDay) Pick(Day);
}

bool TDtCalendar::PickableAt(TPoint P, TDateTime& Day) const {
  if (TodayRect().Contains(P)) {
    Day = Bounded(Now());
    return true;
  }
  const TDateTime First = FirstShown();
  for (int I = 0; I < 7 * WeeksShown; ++I) {
    if (!DayRect(First + I).Contains(P)) continue;
    Day = First + I;
    // Days beyond the limits cannot be picked.
    return Bounded(Day) == Day;
  }
  return false;
}

void TDtCalendar::Paint() {
  TPopupWindow::Paint();
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const int W = GetClientWidth(), H = GetClientHeight();
  int Yr, Mo, Dy;
  DecodeDate(FDay, Yr, Mo, Dy);

  // The title band with the month, the year and the two buttons.
  const TRect Title = Rect(Margin, Margin, W - Margin, Margin + FTitleH);
  C.GetBrush().SetColor(clBtnFace);
  C.FillRect(Title);
  for (const bool Next : {false, true}) {
    const TRect B = Next ? NextRect() : PrevRect();
    DrawButtonFace(C, B, false);
    DrawSideArrow(C, B, Next, clBtnText);
  }
  const std::string Caption = std::string(MonthName(Mo, false)) + " " + std::to_string(Yr);
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(clBtnText);
  C.GetFont().SetStyle(fsBold);
  C.TextOut((W - C.TextWidth(Caption)) / 2, Title.Top + (FTitleH - C.TextHeight(Caption)) / 2,
            Caption);
  C.GetFont().SetStyle(0);

  // Weekday names over a line.
  const int NamesTop = Title.Bottom + 2;
  for (int I = 0; I < 7; ++I) {
    const std::string N = WeekdayName(I + 1, true);
    const int Left = Margin + I * FCellW;
    C.TextOut(Left + (FCellW - C.TextWidth(N)) / 2, NamesTop + 1, N);
  }
  C.GetBrush().SetColor(clBtnShadow);
  C.FillRect(Rect(Margin, NamesTop + FCellH + 1, W - Margin, NamesTop + FCellH + 2));

  // Six weeks of days: other months and days beyond the limits grey.
  const TDateTime First = FirstShown();
  const TDateTime Today = DateOf(Now());
  for (int I = 0; I < 7 * WeeksShown; ++I) {
    const TDateTime Day = First + I;
    int Y, M, D;
    if (!DecodeDate(Day, Y, M, D)) continue;
    const TRect R = DayRect(Day);
    const bool Picked = Day == FDay;
    const bool Greyed = M != Mo || Bounded(Day) != Day;
    if (Picked) {
      C.GetBrush().SetColor(clHighlight);
      C.FillRect(R);
    }
    C.GetBrush().SetStyle(bsClear);
    C.GetFont().SetColor(Picked ? clHighlightText : Greyed ? clGrayText : clWindowText);
    const std::string T = DayText(Day);
    C.TextOut(R.Left + (R.Width() - C.TextWidth(T)) / 2, R.Top + 1, T);
    if (Day == Today) {
      C.GetBrush().SetColor(clRed);
      C.FrameRect(R);
    }
  }

  // The "Today" line.
  const TRect T = TodayRect();
  const std::string Line = "Today: " + FormatDtTokens(ParseDtFormat("yyyy-MM-dd"),
                                                      *DecodeDateTime(Today));
  C.GetBrush().SetColor(clRed);
  C.FrameRect(Rect(T.Left + 4, T.Top + 3, T.Left + 4 + FCellW - 8, T.Bottom - 3));
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(clWindowText);
  C.TextOut(T.Left + FCellW + 2, T.Top + 2, Line);

  C.GetBrush().SetColor(clWindowFrame);
  C.FrameRect(Rect(0, 0, W, H));
}

}  // namespace kvl
