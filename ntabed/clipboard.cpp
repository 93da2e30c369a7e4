// TNTabEd: Copy, Paste, Extract from Clipboard and the size of the clipboard's number matrix.
#include <algorithm>
#include <cmath>

#include "kvl/core/stringl.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

std::string TNTabEd::CopyText(int Col, int Row) const {
  if (!FData->GetIsNumber(Col, Row)) return "####";
  const double V = FData->GetElem(Col, Row);
  if (!std::isfinite(V)) return strff(V, 1, 0);
  if (FClipUseFullPrec) return NTabScientific(V, 13);
  const int P = GetPrecision(Col);
  return P < 0 ? NTabScientific(V, 1) : strff(V, 0, P);
}

void TNTabEd::PopupMenuClickCopy(TObject*) {
  int L, T, R, B;
  if (!DataSelection(L, T, R, B)) return;
  try {
    FDataCopy->Resize(R - L + 1, B - T + 1);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLNTabedError>(GetName(), rsHeapFull);
  }
  std::string Text;
  for (int Row = T; Row <= B; ++Row) {
    for (int Col = L; Col <= R; ++Col) {
      FDataCopy->WriteCell(Col - L + 1, Row - T + 1, FData->GetElem(Col, Row),
                           FData->GetCellState(Col, Row));
      Text += Col == L ? ' ' : '\t';
      Text += CopyText(Col, Row);
    }
    Text += "\r\n";
  }
  Clipboard().SetAsText(Text);
  FDataCopyAvail = true;
}

void TNTabEd::PopupMenuClickPaste(TObject*) {
  if (!FDataCopyAvail) return;
  CloseEditorBeforeMove();
  const TGridRect S = GetSelection();
  const int L = DataCol(S.Left), T = DataRow(S.Top);
  const int W = FDataCopy->GetNrOfColumns(), H = FDataCopy->GetNrOfRows();
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    for (int R = 1; R <= H; ++R)
      for (int C = 1; C <= W; ++C)
        FData->WriteCell(L + C - 1, T + R - 1, FDataCopy->GetElem(C, R), FDataCopy->GetCellState(C, R));
  }
  Repaint();
  ChangedData();
  ChangedCellStates();
  if (OnPaste) OnPaste(this);
  SetSelection({S.Left, S.Top, std::min(S.Left + W - 1, GetColCount() - 1),
                std::min(S.Top + H - 1, GetRowCount() - 1)});
}

void TNTabEd::PopupMenuClickExtClip(TObject*) {
  if (!Clipboard().HasFormat(cfText)) return;
  const std::string Text = Clipboard().GetAsText();
  if (Text.empty()) return;
  CloseEditorBeforeMove();
  const TGridRect S = GetSelection();
  const int L = DataCol(S.Left), T = DataRow(S.Top);
  int NC = 1, NR = 1;
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    NTabScanNumbers(Text, [&](int C, int R, double V) {
      NC = std::max(NC, C + 1);
      NR = std::max(NR, R + 1);
      const int DC = L + C, DR = T + R;
      FData->WriteCell(DC, DR, V, std::uint8_t(FData->GetCellState(DC, DR) & ~(csNoNumber | csEmpty)));
    });
  }
  Repaint();
  ChangedData();
  if (OnPaste) OnPaste(this);
  SetSelection({S.Left, S.Top, std::min(S.Left + NC - 1, GetColCount() - 1),
                std::min(S.Top + NR - 1, GetRowCount() - 1)});
}

bool TNTabEd::GetClipMatrixSize(int& NCols, int& NRows) const {
  NCols = 1;
  NRows = 1;
  if (!Clipboard().HasFormat(cfText)) return false;
  return NTabScanNumbers(Clipboard().GetAsText(), [&](int C, int R, double) {
    NCols = std::max(NCols, C + 1);
    NRows = std::max(NRows, R + 1);
  });
}

}  // namespace kvl
