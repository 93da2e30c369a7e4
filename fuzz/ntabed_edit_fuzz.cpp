// The table editor's texts: arbitrary text committed through the in-place editor's SetEditText
// in a numeric and a nominal column, and arbitrary double bit patterns at every precision and
// width through the cell text and an unedited in-place editor. The state after a commit is 0 or
// 0x01; the text is at least NumWidth characters long and shows asterisks only for a
// three-digit exponent; an editor opened and closed unchanged keeps every bit.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "kvl/ntabed/ntabed.h"

namespace {

using namespace kvl;
using fuzzing::Check;

class TOpenEditor : public TNTabEd {
public:
  using TNTabEd::GetEditText;
  using TNTabEd::SetEditText;
  using TNTabEd::TNTabEd;
};

TOpenEditor& Editor() {
  static const fuzzing::TFuzzForm F = fuzzing::MakeFuzzForm(400, 300);
  static TOpenEditor* E = [] {
    auto* Ed = new TOpenEditor(F.Form);
    Ed->SetParent(F.Form);
    Ed->SetBounds(0, 0, 400, 300);
    F.Form->Show();
    Ed->GetData()->SetMScaleType(2, 1);
    Ed->GetData()->SetNominalID(2, 3, "Mid");
    Ed->GetData()->SetNominalID(2, 150, "\xE2\x82\xAC");
    return Ed;
  }();
  return *E;
}

std::uint64_t Bits(double V) {
  std::uint64_t B;
  std::memcpy(&B, &V, sizeof B);
  return B;
}

// The decimal exponent of the text's rounded mantissa, read back from the text itself.
void CheckNumberText(double V, int P, int W) {
  const std::string S = NTabNumberText(V, P, W);
  Check(int(S.size()) >= std::clamp(W, 1, 20));
  if (S.find('*') == std::string::npos) return;
  Check(S.find_first_not_of('*') == std::string::npos);
  Check(std::isfinite(V) && V != 0);
  const double A = std::fabs(V);
  Check(A >= 9.4e99 || A < 1.1e-99);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TOpenEditor& Ed = Editor();
  fuzzing::TFuzzBytes In{Data, Size};
  const std::uint8_t Mode = In.Take<std::uint8_t>();
  TDataTable& T = *Ed.GetData();
  if (Mode % 2 == 0) {
    const std::string Text(reinterpret_cast<const char*>(In.P), In.N);
    for (int Col : {1, 2}) {
      T.WriteCell(Col, 1, 5, 0);
      Ed.SetEditText(Col + 1, 1, Text);
      const std::uint8_t S = T.GetCellState(Col, 1);
      Check(S == 0 || S == csNoNumber);
      if (S == 0) Check(std::isfinite(T.GetElem(Col, 1)));
      (void)Ed.GetEditText(Col + 1, 1);
    }
    return 0;
  }
  const double V = In.Take<double>();
  const int P = int(In.Take<std::uint8_t>() % 14) - 2;
  const int W = int(In.Take<std::uint8_t>() % 24) - 1;
  CheckNumberText(V, P, W);
  (void)NTabNominalText(T, 2, V, false);
  // Opened and closed without a change, the editor hands nothing back.
  Ed.SetPrecision(1, P);
  Ed.SetNumWidth(W);
  const std::uint8_t State = In.Take<std::uint8_t>();
  for (int Col : {1, 2}) {
    T.WriteCell(Col, 2, V, State);
    Ed.SetSelection({Col + 1, 2, Col + 1, 2});
    Ed.SetOptions(Ed.GetOptions() | goEditing);
    Ed.ShowEditor();
    Ed.HideEditor();
    Check(Bits(T.GetElem(Col, 2)) == Bits(V) && T.GetCellState(Col, 2) == State);
  }
  return 0;
}
