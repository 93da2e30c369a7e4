// Painting of the report list view: the empty table, the inter-row indicator, data cells with
// their check marks, and the two header rows.
#include <algorithm>
#include <climits>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

constexpr TColor EdgeShadow = 0x00808080;
constexpr TColor EdgeLight = 0x00FFFFFF;
// A render hook may hand back any amount of text; no cell shows more than this.
constexpr int MaxDrawnChars = TStringArray::MaxCellLengthLimit;

// Text from outside (a render hook) may hold invalid bytes: they draw as U+FFFD.
std::string ValidUtf8(std::string_view S) {
  std::string R;
  R.reserve(S.size());
  for (std::size_t I = 0; I < S.size();) {
    int Len = 0;
    const char32_t C = Utf8Decode(S, I, &Len);
    if (C == 0xFFFD && !(Len == 3 && S.substr(I, 3) == "\xEF\xBF\xBD"))
      R += "\xEF\xBF\xBD";
    else
      R.append(S.substr(I, std::size_t(Len)));
    I += std::size_t(std::max(Len, 1));
  }
  return R;
}

void Line(TCanvas& C, TColor Color, int X1, int Y1, int X2, int Y2) {
  C.GetPen().SetColor(Color);
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

// The raised edge of a fixed cell: light top and left, dark bottom and right inside.
void RaisedEdge(TCanvas& C, const TRect& R) {
  C.GetPen().SetWidth(1);
  C.GetPen().SetColor(EdgeLight);
  C.MoveTo(R.Left, R.Bottom - 1);
  C.LineTo(R.Left, R.Top);
  C.LineTo(R.Right, R.Top);
  C.GetPen().SetColor(EdgeShadow);
  C.MoveTo(R.Left + 1, R.Bottom - 1);
  C.LineTo(R.Right - 1, R.Bottom - 1);
  C.LineTo(R.Right - 1, R.Top);
}

// The lines of a header text; an empty text is one empty line, so its background still shows.
std::vector<std::string> HeaderLines(std::string_view S) {
  std::vector<std::string> Lines;
  if (Tokenize(S, "\n", Lines) == 0) Lines.emplace_back();
  return Lines;
}

int AlignedX(TAlignment A, int L, int R, int W) {
  switch (A) {
    case taRightJustify:
      return (R - 5) - W;
    case taCenter:
      return ((L + 4) + (R - 5)) / 2 - W / 2;
    default:
      return L + 4;
  }
}

}  // namespace

void TReportListView::Paint() {
  if (FSuppressPaint || FNoWindowYet) return;
  TCustomDrawGrid::Paint();
  TCanvas& C = *GetCanvas();
  if (GetNrOfShownRows() == 0) PaintEmptyTable(C);
  PaintIndicator(C);
}

void TReportListView::PaintEmptyTable(TCanvas& C) {
  const int H = CountHeadRows();
  int Y0 = 0;
  for (int R = 0; R < H; ++R) Y0 += GetRowHeights(R) + 1;
  const int Width = GetClientWidth(), Height = GetClientHeight();
  C.GetPen().SetWidth(1);
  C.GetPen().SetColor(GetColor());
  C.GetBrush().SetStyle(bsSolid);
  C.GetBrush().SetColor(GetColor());
  C.Rectangle(0, Y0, Width, Height);
  if (FEmptyMsg.empty()) return;
  C.SetFont(GetFont());
  C.GetFont().SetColor(FColorEmptyMsg);
  const int Hl = C.TextHeight(FEmptyMsg);
  std::vector<std::string> Lines;
  Tokenize(FEmptyMsg, "|", Lines);
  const std::int64_t Top = std::int64_t(Y0) - std::int64_t(Lines.size()) * Hl;
  const std::int64_t Base = Top - 2 + (Height - Top - Hl) / 2;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    const std::int64_t Y = Base + std::int64_t(I) * Hl;
    if (Y + Hl <= 0) continue;
    if (Y >= Height) break;  // lines below the control cost nothing
    C.TextOut((Width - C.TextWidth(Lines[I])) / 2, int(Y), Lines[I]);
  }
}

void TReportListView::PaintIndicator(TCanvas& C) {
  const std::int64_t P = FInterRowIndi;
  const int H = CountHeadRows(), Top = TCustomGrid::GetTopRow();
  if (P == 0 || P < std::int64_t(Top) - H + 1 || P > std::int64_t(GetNrOfShownRows()) + 1) return;
  std::int64_t Y = (H + P - Top - 1) * (std::int64_t(GetDefaultRowHeight()) + 1);
  for (int R = 0; R < H; ++R) Y += GetRowHeights(R);
  if (Y > GetClientHeight() + FInterRowWidth) return;
  C.GetPen().SetColor(FInterRowColor);
  C.GetPen().SetWidth(FInterRowWidth);
  C.MoveTo(0, int(Y));
  C.LineTo(GetClientWidth(), int(Y));
  C.GetPen().SetWidth(1);
}

void TReportListView::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  C.GetBrush().SetStyle(bsSolid);
  const int H = CountHeadRows();
  if (ARow >= H) {
    DrawDataCell(C, ACol, ARow, ARect);
  } else if (FComHdVis && ARow == 0) {
    // One text across every visible column: drawn with the last of them.
    int Next = ACol + 1;
    while (Next < GetColCount() && TCustomGrid::GetColWidths(Next) < 1) ++Next;
    if (Next >= GetColCount() || CellRect(Next, ARow).IsEmpty()) DrawCommonHeader(C, ARect);
  } else {
    DrawColumnHeader(C, ACol, ARect);
  }
  TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TReportListView::DrawDataCell(TCanvas& C, int ACol, int ARow, const TRect& Rc) {
  const int S = DataColOfGrid(ACol), R = DataRowOfGrid(ARow);
  const int L = Rc.Left, T = Rc.Top, Rt = Rc.Right, B = Rc.Bottom;
  const bool FixedCol = ACol < GetFixedCols();
  TRect Bkgd = Rc;
  if (!FixedCol) {
    if (!(GetOptions() & goVertLine)) Bkgd.Right += 1;
    if (!(GetOptions() & goHorzLine)) Bkgd.Bottom += 1;
  }
  const TStringArray& Store = FRLData->GetStrings();
  const TCheckMode Mode = GetColumnCheckMode(S);
  const std::string_view Stored = Store.GetStringView(S, R);
  const bool Pwd = GetColumnIsPwd(S);
  std::string Text;
  if (Pwd)
    Text = Mode != cmNone ? "X******" : "******";
  else
    Text = Stored;

  TColor FontColor = FColorNormal, BrushColor = FRColorNormal;
  if (FRowColPattern > 0 && ((R - 1) / FRowColPattern) % 2 == 0) BrushColor = FRColorShaded;
  TColor PenColor = BrushColor;
  TFontStyles Styles = 0;
  const std::uint8_t RowAttr = Store.GetRowAttrib(R);
  const bool RowDisabled = (RowAttr & raDisabled) != 0;
  if (FEnabled) {
    if (RowDisabled) {
      BrushColor = PenColor = FDisabledBkgdColor;
      FontColor = FDisabledTextColor;
    } else {
      const bool RowSel = (RowAttr & raSelected) != 0;
      const bool ColSel = (Store.GetColAttrib(S) & caSelected) != 0;
      if (RowSel && ColSel) {
        BrushColor = PenColor = FSelBothColor;
        FontColor = FSelBothTextColor;
      } else if (ColSel) {
        BrushColor = PenColor = FSelColColor;
        FontColor = FSelColTextColor;
      } else if (RowSel) {
        BrushColor = PenColor = FSelRowColor;
        FontColor = FSelRowTextColor;
      }
      if ((FHiLgtRow != 0 && R == FHiLgtRow) || (FHiLgtColumn != 0 && S == FHiLgtColumn)) {
        BrushColor = PenColor = FHiLgtColor;
        FontColor = FHiLgtTextColor;
        if (FHiLgtBold) Styles = fsBold;
      }
    }
  }
  if (FixedCol) BrushColor = PenColor = FColHdColor;
  if (!FEnabled) FontColor = clInactiveCaption;
  if (OnBeforeRenderCell) {
    OnBeforeRenderCell(this, S, R, PenColor, BrushColor, FontColor, Styles, Text);
    if (Utf8Length(Text) > MaxDrawnChars) Utf8Cut(Text, MaxDrawnChars);
    Text = ValidUtf8(Text);
  }
  C.GetFont().SetStyle(Styles);
  C.GetFont().SetColor(FontColor);
  C.GetBrush().SetColor(BrushColor);
  Text = FittedCellText(S, Text, GetColWidths(S), C);

  C.GetPen().SetColor(BrushColor);
  C.GetPen().SetWidth(1);
  C.Rectangle(Bkgd);
  C.GetPen().SetColor(PenColor);

  const TAlignment Align = GetColumnAlignment(S);
  const int Extra = FontExtraWidth();
  if (Mode == cmNone) {
    const int W = C.TextWidth(Text) + Extra;
    C.TextRect(Rect(L + 4, T + 2, Rt - 5, B), AlignedX(Align, L, Rt, W), T + 1, Text);
  } else if (Utf8Length(Stored) > 1 || FShowEmptyCBx) {
    // Whether the cell is checked is read from the stored string, never from the masked text.
    const bool Checked = !Stored.empty() && Stored[0] != ' ';
    const std::string Shown = Text.substr(std::size_t(Utf8CharLen(Text, 0)));
    const int W = C.TextWidth(Shown) + Extra;
    C.TextRect(Rect(L + 20, T + 2, Rt - 5, B), AlignedX(Align, L + 16, Rt, W), T + 1, Shown);
    if (!FROCheckMarks) {
      C.GetPen().SetColor(!FEnabled ? clInactiveCaption : RowDisabled ? PenColor : clBtnShadow);
      C.GetBrush().SetColor(BrushColor);
      if (Mode == cmRadio)
        C.Ellipse(L + 4, T + 4, L + 15, T + 15);
      else
        C.Rectangle(L + 4, T + 4, L + 15, T + 15);
    }
    if (Checked) {
      const TColor Mark = FEnabled ? FontColor : clInactiveCaption;
      if (Mode == cmRadio) {
        Line(C, Mark, L + 8, T + 7, L + 11, T + 7);
        for (int K = 0; K <= 2; ++K) Line(C, Mark, L + 7, T + 8 + K, L + 12, T + 8 + K);
        Line(C, Mark, L + 8, T + 11, L + 11, T + 11);
      } else {
        for (int K = 0; K <= 2; ++K) {
          Line(C, Mark, L + 6, T + 8 + K, L + 9, T + 11 + K);
          Line(C, Mark, L + 8, T + 10 + K, L + 13, T + 5 + K);
        }
      }
    }
  }
  if (FixedCol) RaisedEdge(C, Rc);
}

void TReportListView::DrawCommonHeader(TCanvas& C, const TRect& Rc) {
  const int T = Rc.Top, B = Rc.Bottom, E = Rc.Right;
  const std::string& Header = FRLData->GetCommonHeader();
  C.GetFont().SetColor(FComHdTxtColor);
  C.GetBrush().SetColor(FComHdColor);
  const int Lh = C.TextHeight(Header);
  const std::vector<std::string> Lines = HeaderLines(Header);
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    const std::int64_t Y = std::int64_t(T) + 2 + std::int64_t(I) * Lh;
    if (I > 0 && Y >= B) break;  // lines below the row are not drawn
    const int W = C.TextWidth(Lines[I]) + FontExtraWidth();
    const int X = FHeaderAlignment == taRightJustify ? E - W - 5
                  : FHeaderAlignment == taCenter     ? E / 2 - W / 2
                                                     : 4;
    const TRect Box = I == 0 ? Rect(0, T, E, B)
                             : Rect(0, int(std::min<std::int64_t>(Y, B)), E,
                                    int(std::min<std::int64_t>(Y + Lh, B)));
    C.TextRect(Box, X, int(Y), Lines[I]);
  }
  RaisedEdge(C, Rect(0, T, E, B));
  Line(C, EdgeShadow, E - 1, B - 1, E - 1, T);
  Line(C, clBlack, E, B - 1, E, T - 1);
}

void TReportListView::DrawColumnHeader(TCanvas& C, int ACol, const TRect& Rc) {
  const int S = DataColOfGrid(ACol);
  const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom;
  C.GetBrush().SetColor(FColHdColor);
  C.GetFont().SetColor(FColHdTxtColor);
  const std::string Name = GetHeader(S);
  const bool SortCol = S == GetLastSortColumn();
  const int Reserve = SortCol ? 13 : 0;
  const int Width = GetColWidths(S);
  const int Lh = C.TextHeight(Name);
  const TAlignment Align = GetColumnAlignment(S);
  const std::vector<std::string> Lines = HeaderLines(Name);
  int Offset = 0;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    const std::int64_t Y = std::int64_t(T) + 2 + std::int64_t(I) * Lh;
    if (I > 0 && Y >= B) break;
    const std::string Shown = FittedHeaderLine(Lines[I], Width, Reserve, C);
    const int W = C.TextWidth(Shown) + FontExtraWidth();
    if (I == 0) {
      Offset = Align == taRightJustify ? (R - 5) - (L + 4) - W - 11
               : Align == taCenter     ? ((R - 5) - (L + 4)) / 2 + W / 2 + 10
                                       : W + 10;
    }
    const TRect Box = I == 0 ? Rect(L, T, R, B)
                             : Rect(L, int(std::min<std::int64_t>(Y, B)), R,
                                    int(std::min<std::int64_t>(Y + Lh, B)));
    C.TextRect(Box, AlignedX(Align, L, R, W), int(Y), Shown);
  }
  if (SortCol) {
    Offset = std::min(Offset, Width - 11);
    const int X = L + 4 + Offset, Y = T + 2 + Lh / 2;
    C.GetPen().SetWidth(1);
    if (GetLastSortOrder()) {
      Line(C, EdgeShadow, X - 4, Y + 3, X, Y - 3);
      C.GetPen().SetColor(EdgeLight);
      C.LineTo(X + 4, Y + 3);
      C.LineTo(X - 4, Y + 3);
    } else {
      Line(C, EdgeLight, X + 4, Y - 3, X, Y + 3);
      C.GetPen().SetColor(EdgeShadow);
      C.LineTo(X - 4, Y - 3);
      C.LineTo(X + 4, Y - 3);
    }
  }
  RaisedEdge(C, Rc);
}

}  // namespace kvl
