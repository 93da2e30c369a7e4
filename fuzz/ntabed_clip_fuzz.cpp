// Arbitrary bytes as clipboard text through GetClipMatrixSize and Extract from Clipboard of a
// small table editor, the selection's top-left cell taken from the first two bytes. Every
// value written must be finite and within the double range, every cell outside the block that
// GetClipMatrixSize reports must stay as it was, and nothing may crash, leak or be undefined.
#include <cmath>
#include <string>

#include "kvl/core/univconst.h"
#include "fuzz_input.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/clipboard.h"

namespace {

using namespace kvl;
using fuzzing::Check;

constexpr int Cols = 5, Rows = 6;
constexpr double Sentinel = 777.25;
constexpr std::uint8_t SentinelState = csEmpty | csMarkA;

TNTabEd& Editor() {
  static const fuzzing::TFuzzForm F = fuzzing::MakeFuzzForm(400, 300);
  static TNTabEd* E = [] {
    auto* Ed = new TNTabEd(F.Form);
    Ed->SetParent(F.Form);
    Ed->SetBounds(0, 0, 400, 300);
    Ed->Redimension(Cols, Rows);
    return Ed;
  }();
  return *E;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TNTabEd& Ed = Editor();
  fuzzing::TFuzzBytes In{Data, Size};
  const int SelCol = 2 + In.Take<std::uint8_t>() % Cols;  // grid columns of the data
  const int SelRow = 1 + In.Take<std::uint8_t>() % Rows;
  TDataTable& T = *Ed.GetData();
  for (int R = 1; R <= Rows; ++R)
    for (int C = 1; C <= Cols; ++C) T.WriteCell(C, R, Sentinel, SentinelState);
  Clipboard().SetAsText(std::string(reinterpret_cast<const char*>(In.P), In.N));
  Ed.SetSelection({SelCol, SelRow, SelCol, SelRow});
  int NC = 0, NR = 0;
  const bool Any = Ed.GetClipMatrixSize(NC, NR);
  Check(NC >= 1 && NR >= 1);
  Ed.PopupMenuClickExtClip(nullptr);
  const int L = SelCol - 1, Tp = SelRow;
  for (int R = 1; R <= Rows; ++R)
    for (int C = 1; C <= Cols; ++C) {
      const bool Inside = Any && C >= L && C < L + NC && R >= Tp && R < Tp + NR;
      const double V = T.GetElem(C, R);
      const std::uint8_t S = T.GetCellState(C, R);
      if (!Inside) {
        Check(V == Sentinel && S == SentinelState);
      } else if (V != Sentinel || S != SentinelState) {
        Check(std::isfinite(V) && std::fabs(V) <= uc_MaxDouble);
        Check(S == (SentinelState & ~csEmpty));
      }
    }
  return 0;
}
