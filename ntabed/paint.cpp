// TNTabEd: cell painting, the colour and style properties, and automatic column and row sizes.
#include <algorithm>

#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

void TNTabEd::Paint() {
  // While suppressed nothing is drawn at all, so the last picture stays.
  if (Suppressed()) return;
  TCustomGrid::Paint();
  // The heading menu's frame stays while its menu shows, whatever repaints meanwhile.
  if (FFrameShown) DrawInvertedFrame(FFrameRect);
  if (!FOptRowHeight || FInRowHeight) return;
  const TScopedValue<bool> Guard(FInRowHeight, true);
  const int H = AutoRowHeight(-1, 2);
  if (H != TCustomGrid::GetDefaultRowHeight()) TCustomGrid::SetDefaultRowHeight(H);
}

std::string TNTabEd::DataCellText(int Col, int Row) const {
  const std::uint8_t S = FData->GetCellState(Col, Row);
  if (S & csEmpty) return {};
  if (S & csNoNumber) return "-nan-";
  const double V = FData->GetElem(Col, Row);
  if (IsNominalScale(FData->GetMScaleType(Col))) return NTabNominalText(*FData, Col, V, false);
  return NTabNumberText(V, GetPrecision(Col), FNumWidth);
}

void TNTabEd::BeforeRenderCell(int colix, int rowix, std::string& Text, TColor& ColorText,
                               TColor& ColorBakg, TFontStyles& FontStyles) {
  if (OnBeforeRenderCell) OnBeforeRenderCell(this, colix, rowix, Text, ColorText, ColorBakg, FontStyles);
}

void TNTabEd::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& C = *GetCanvas();
  const TFontStyles Plain = GetFont().GetStyle();
  if (ACol > FColOffset && ARow > FRowOffset) {
    const int Col = DataCol(ACol), Row = DataRow(ARow);
    const std::uint8_t S = FData->GetCellState(Col, Row);
    std::string Text = DataCellText(Col, Row);
    TColor Fg = FColorNormal;
    TFontStyles Style = Plain;
    const std::uint8_t Marks = S & (csMarkA | csMarkB);
    const bool Selected = (AState & gdSelected) != 0;
    if (Marks) {
      Fg = Marks == csMarkA ? FColorMarked1 : Marks == csMarkB ? FColorMarked2 : FColorMarkedBoth;
      if (FBoldMarks) Style |= fsBold;
    } else if (Selected) {
      Fg = FColorRngSelFG;
    }
    TColor Bg = Selected ? FColorRngSelBG : C.GetBrush().GetColor();
    BeforeRenderCell(Col, Row, Text, Fg, Bg, Style);
    C.GetBrush().SetStyle(bsSolid);
    C.GetBrush().SetColor(Bg);
    C.GetFont().SetStyle(Style);
    C.GetFont().SetColor(Fg);
    C.TextRect(ARect, ARect.Left + 2, ARect.Top + 1, Text);
    C.GetFont().SetStyle(Plain);
    return;
  }
  if (ACol == 0 && ARow == 0) {
    C.GetBrush().SetStyle(bsSolid);
    C.GetFont().SetStyle(Plain);
    if (FCommentMMActive) {
      C.GetBrush().SetColor(0x808000);
      C.GetFont().SetColor(clWhite);
      C.TextRect(ARect, ARect.Left + 2, ARect.Top + 1, "Comment:");
    } else {
      C.GetBrush().SetColor(clWindow);
      C.GetFont().SetColor(FColorNormal);
      C.TextRect(ARect, ARect.Left + 3, ARect.Top + 2, CornerText());
    }
    return;
  }
  TRect R = ARect;
  if (R.Right > R.Left) {
    ++R.Left;
    --R.Right;
  }
  if (R.Bottom > R.Top) {
    ++R.Top;
    --R.Bottom;
  }
  const TGridRect Sel = GetSelection();
  const bool AttribCol = FColOffset && ACol == 1;
  const bool AttribRow = FRowOffset && ARow == 1;
  // A heading of the selection's left column or top row shows highlighted.
  const auto Heading = [&](bool Lit) {
    C.GetFont().SetColor(Lit ? FColorSelected : FColorNormal);
    C.GetFont().SetStyle(Lit && FBoldSelHeads ? TFontStyles(Plain | fsBold) : Plain);
  };
  std::string Text;
  int Dy = 1;
  bool Narrow = true;
  if (ARow == 0 && AttribCol) {
    Heading(false);
    Text = "Attrib";
    Narrow = false;
  } else if (ARow == 0) {
    Heading(ACol == Sel.Left);
    Text = GetColName(DataCol(ACol));
  } else if (AttribRow && AttribCol) {
    return;
  } else if (AttribRow && ACol == 0) {
    Heading(false);
    Text = "Attribute";
  } else if (AttribRow) {
    Heading(ACol == Sel.Left);
    Text = std::to_string(GetColAttrib(DataCol(ACol)));
  } else if (ACol == 0) {
    Heading(ARow == Sel.Top);
    Text = GetRowName(DataRow(ARow));
    Dy = 0;
  } else {
    Heading(ARow == Sel.Top);
    Text = std::to_string(GetRowAttrib(DataRow(ARow)));
  }
  if (Narrow) R.Right -= 2;
  C.GetBrush().SetStyle(bsSolid);
  C.TextRect(R, R.Left + 2, R.Top + Dy, Text);
  C.GetFont().SetStyle(Plain);
}

void TNTabEd::FontChanged() {
  TCustomGrid::FontChanged();
  GetCanvas()->SetFont(GetFont());
  Repaint();
}

// --- colours and styles ---------------------------------------------------------------------

void TNTabEd::SetLayoutColor(TColor& Field, TColor Value) {
  Field = Value;
  Repaint();
  ChangedLayout();
}

void TNTabEd::SetColorNormal(TColor Value) { SetLayoutColor(FColorNormal, Value); }
void TNTabEd::SetColorSelected(TColor Value) { SetLayoutColor(FColorSelected, Value); }
void TNTabEd::SetColorMarkedA(TColor Value) { SetLayoutColor(FColorMarked1, Value); }
void TNTabEd::SetColorMarkedB(TColor Value) { SetLayoutColor(FColorMarked2, Value); }
void TNTabEd::SetColorMarkedBoth(TColor Value) { SetLayoutColor(FColorMarkedBoth, Value); }
void TNTabEd::SetColorRangeSelFG(TColor Value) { SetLayoutColor(FColorRngSelFG, Value); }
void TNTabEd::SetColorRangeSelBG(TColor Value) { SetLayoutColor(FColorRngSelBG, Value); }

void TNTabEd::SetColorBackground(TColor Value) {
  FColorBkgnd = Value;
  SetColor(Value);
}

void TNTabEd::SetColorFixed(TColor Value) {
  FColorFixed = Value;
  SetFixedColor(Value);
}

void TNTabEd::SetBoldMarks(bool Value) {
  if (StoreIfChanged(FBoldMarks, Value)) ChangedLayout();
}

void TNTabEd::SetBoldSelHeads(bool Value) {
  if (StoreIfChanged(FBoldSelHeads, Value)) ChangedLayout();
}

void TNTabEd::SetOptimizeRowHeight(bool Value) {
  if (StoreIfChanged(FOptRowHeight, Value)) Repaint();
}

// --- automatic sizes ------------------------------------------------------------------------

int TNTabEd::AutoRowHeight(int RowNr, int Addon) {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const int H = std::max(8, C.TextHeight("9GMg\xC3\x9C$\xC2\xA7[{|") + Addon + 2);
  if (RowNr > 0) {
    if (RowNr <= GetNrOfRows()) SetRowHeights(RowNr + FRowOffset, H);
  } else if (RowNr == 0) {
    SetRowHeights(0, H);
  } else if (FRowOffset) {
    SetRowHeights(1, H);
  }
  return H;
}

int TNTabEd::AutoColWidth(int ColNr, bool IncludeHeader, int Addon) {
  if (ColNr < -1 || ColNr > GetNrOfColumns()) return std::max(4, Addon + 8);
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  int W = 0;
  if (ColNr == -1) {
    W = C.TextWidth(IncludeHeader ? "Attrib" : "255");
  } else if (ColNr == 0) {
    W = C.TextWidth("999:9999");
    for (int R = 1; R <= GetNrOfRows(); ++R) W = std::max(W, C.TextWidth(FData->GetRowName(R)));
  } else {
    if (IncludeHeader) W = C.TextWidth(FData->GetColName(ColNr));
    W = std::max(W, C.TextWidth(std::to_string(FData->GetColAttrib(ColNr))));
    const int P = GetPrecision(ColNr);
    for (int R = 1; R <= GetNrOfRows(); ++R)
      W = std::max(W, C.TextWidth(NTabNumberText(FData->GetElem(ColNr, R), P, FNumWidth)));
  }
  const int Result = std::max(4, W + Addon + 8);
  SetColWidths(ColNr, Result);
  return Result;
}

}  // namespace kvl
