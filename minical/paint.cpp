// TMiniCal: what each cell shows, drawing it, the button frames and the size handling.
#include <algorithm>
#include <climits>

#include "kvl/core/kvlcolors.h"
#include "kvl/core/univconst.h"
#include "kvl/minical/minical.h"

namespace kvl {

namespace {

void Line(TCanvas& C, TColor Color, TPoint A, TPoint B, TPoint E) {
  C.GetPen().SetColor(Color);
  C.MoveTo(A.X, A.Y);
  C.LineTo(B.X, B.Y);
  C.LineTo(E.X, E.Y);
}

void DrawButtonFrame(TCanvas& C, const TRect& R) {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  Line(C, clWhite, {L, B - 1}, {L, T}, {Rt, T});
  Line(C, 0x686868, {L, B}, {Rt, B}, {Rt, T});
  Line(C, 0x9CA0A5, {L + 1, B - 1}, {Rt - 1, B - 1}, {Rt - 1, T});
  Line(C, 0xE6E2E2, {L + 1, B - 2}, {L + 1, T + 1}, {Rt - 1, T + 1});
}

}  // namespace

void TMiniCal::SizeChanged(int OldWidth, int OldHeight) {
  TCustomDrawGrid::SizeChanged(OldWidth, OldHeight);
  AdjustSizes();
}

void TMiniCal::AdjustSizes() {
  // Rows 1 to 7 and columns 1 to 7 share the client area evenly; row 0 and column 0 take what
  // is left. Small controls leave nothing rather than a negative size.
  const int G = GetGridLineWidth();
  const int ColW = std::max((GetClientWidth() - 7 * G) / 8, 0);
  const int RowH = std::max((GetClientHeight() - 7 * G) / 8, 0);
  const int F = GetCtl3D() ? 2 : 5;
  SetDefaultColWidth(ColW);
  SetDefaultRowHeight(RowH);
  SetRowHeights(0, std::max(GetHeight() + F - 7 * (RowH + G + 1), 0));
  SetColWidths(0, std::max(GetWidth() + F - 7 * (ColW + G + 1), 0));
}

TMiniCalCellLook TMiniCal::CellLook(int ACol, int ARow) const {
  std::int64_t Today = INT64_MIN;
  int TY = 0, TM = 0, TD = 0;
  if (DecodeDate(Now(), TY, TM, TD)) Today = DayNumberOfDate(TY, TM, TD);
  // The grid never scrolls: the cell lies after the cells before it and their lines.
  const int G = GetGridLineWidth();
  int X = 0, Y = 0;
  for (int C = 0; C < ACol && C < 8; ++C) X += GetColWidths(C) + G;
  for (int R = 0; R < ARow && R < 8; ++R) Y += GetRowHeights(R) + G;
  return LookOf(ACol, ARow, Rect(X, Y, X + GetColWidths(ACol), Y + GetRowHeights(ARow)), Today);
}

TMiniCalCellLook TMiniCal::LookOf(int ACol, int ARow, TRect R, std::int64_t Today) const {
  TMiniCalCellLook L;
  L.Rect = R;
  if (ACol < 0 || ACol > 7 || ARow < 0 || ARow > 7) return L;
  const auto Button = [&](std::string Text) {
    L.Kind = TMiniCalCellLook::ckButton;
    L.Text = std::move(Text);
    L.FontColor = clBlack;
    L.BrushColor = clBtnFace;
    L.Frame = GetCtl3D();
  };
  if (ARow == 0) {
    switch (ACol) {
      case 1:
        Button("<<");
        break;
      case 2:
        Button("<");
        break;
      case 5: {
        // Across columns 3 to 5 and their grid lines.
        L.Rect.Left = 3 * R.Left - 2 * R.Right - 2;
        const std::string_view Name = FMonthShort ? MonthShort(FLanguage, FShownMonth)
                                                  : MonthLong(FLanguage, FShownMonth);
        Button(std::string(Name) + " " + std::to_string(FShownYear));
        break;
      }
      case 6:
        Button(">");
        break;
      case 7:
        Button(">>");
        break;
      default:
        break;  // (0, 0), (3, 0) and (4, 0) lie under the spanning buttons
    }
    return L;
  }
  if (ARow == 1) {
    if (ACol == 0) {
      L.Rect.Top -= GetRowHeights(0) + 1;
      Button("#");
      return L;
    }
    L.Kind = TMiniCalCellLook::ckWeekDay;
    L.Text = WeekDayShort(FLanguage, (int(F1stDayWeek) + ACol - 1) % 7 + 1);
    L.BrushColor = FColors[4];
    L.FontColor = FColors[5];
    return L;
  }
  const std::int64_t First = FFirstOfMonth;
  if (ACol == 0) {
    // The ISO week of the row's Thursday: it holds at least four of the row's seven days.
    const int ThursdayCol = (int(dwThu) - int(F1stDayWeek) + 7) % 7 + 1;
    int IsoYear = 0;
    L.Kind = TMiniCalCellLook::ckWeekNumber;
    L.Text = std::to_string(IsoWeekOfDayNumber(First + DayOfCell(ThursdayCol, ARow) - 1, IsoYear));
    L.BrushColor = FColors[2];
    L.FontColor = FColors[3];
    return L;
  }
  const int D = DayOfCell(ACol, ARow);
  L.Kind = TMiniCalCellLook::ckDay;
  L.BrushColor = FDayColors[std::size_t((ACol + int(F1stDayWeek) - 1) % 7)];
  if (D < 1 || D > FShownDays) {
    int Y = 0, M = 0, Day = 0;
    DateOfDayNumber(First + D - 1, Y, M, Day);
    L.Text = std::to_string(Day);
    L.FontColor = FColors[1];
    return L;
  }
  L.Text = std::to_string(D);
  L.FontColor = FColors[0];
  const bool Holiday = FIndicateHolid && ShownHoliday(D);
  if (Holiday) {
    L.BrushColor = FColors[8];
    L.FontColor = FColors[9];
  }
  if (First + D - 1 == FSelectedNumber) {
    L.FontColor = FColors[7];
    L.BrushColor = Holiday ? MeanColor(FColors[6], FColors[8]) : FColors[6];
  }
  L.Ring = FMarkToday && First + D - 1 == Today;
  return L;
}

void TMiniCal::DrawLook(TCanvas& C, const TMiniCalCellLook& L) {
  if (L.Kind == TMiniCalCellLook::ckNothing) return;
  const TRect& R = L.Rect;
  C.GetBrush().SetColor(L.BrushColor);
  C.GetFont().SetColor(L.FontColor);
  const int X = R.Left + (R.Width() - C.TextWidth(L.Text)) / 2;
  const int Y = R.Top + (R.Height() - C.TextHeight(L.Text)) / 2;
  C.TextRect(R, X, Y, L.Text);
  if (L.Frame) DrawButtonFrame(C, R);
  if (L.Ring) {
    C.GetPen().SetColor(FColors[10]);
    C.GetPen().SetStyle(psSolid);
    C.GetPen().SetWidth(1);
    C.GetBrush().SetStyle(bsClear);
    C.Ellipse(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  }
}

void TMiniCal::Paint() {
  // Today is read at every paint, so the ring follows the clock past midnight.
  FPaintToday = INT64_MIN;
  int Y = 0, M = 0, D = 0;
  if (DecodeDate(Now(), Y, M, D)) FPaintToday = DayNumberOfDate(Y, M, D);
  TCustomDrawGrid::Paint();
}

void TMiniCal::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) {
  DrawLook(*GetCanvas(), LookOf(ACol, ARow, ARect, FPaintToday));
}

}  // namespace kvl
