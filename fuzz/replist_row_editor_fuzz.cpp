// Column formats and cells as they arrive with files, through the row editor: the dialog is
// built on its own form or on a host's form, cancelled, then confirmed untouched. Every field
// stays within the size limits, neither way out changes a cell that held text, and nothing of
// the editor is left behind.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "kvl/core/stringl.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/replist/editformat.h"
#include "kvl/replist/replist.h"

namespace {

using namespace kvl;
using kvl::fuzzing::Check;

struct TSetup {
  TForm* Host;
  TReportListView* View;
};

TSetup& Setup() {
  static TSetup S = [] {
    const auto F = fuzzing::MakeFuzzForm(400, 300);
    auto* V = new TReportListView(F.Form);
    V->SetParent(F.Form);
    return TSetup{new TForm(Application), V};
  }();
  return S;
}

// The size limits of every field of the open dialog, then the given way out.
void CheckFieldsAndClose(TCustomForm& Form, TModalResult Result) {
  for (int I = 0; I < Form.GetComponentCount(); ++I) {
    const auto* C = dynamic_cast<const TControl*>(Form.GetComponents(I));
    if (!C || C->GetTag() == 0) continue;
    Check(C->GetWidth() >= 1 && C->GetWidth() <= MaxEditFieldWidth);
    if (const auto* B = dynamic_cast<const TComboBox*>(C))
      Check(B->GetDropDownCount() >= 1 && B->GetDropDownCount() <= MaxDropDownCount);
  }
  Form.SetModalResult(Result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TReportListView& V = *S.View;
  fuzzing::TFuzzBytes In{Data, Size};
  const std::uint8_t Mode = In.Take<std::uint8_t>();
  const int Cols = 1 + (Mode & 7);
  const bool OnHost = (Mode & 8) != 0;
  // The rest: a format line and a cell line per column.
  std::vector<std::string> Lines;
  const std::string_view Rest(reinterpret_cast<const char*>(In.P), In.N);
  for (std::size_t Start = 0; Start <= Rest.size() && Lines.size() < std::size_t(2 * Cols);) {
    const std::size_t End = std::min(Rest.find('\n', Start), Rest.size());
    Lines.emplace_back(Rest.substr(Start, End - Start));
    Start = End + 1;
  }
  Lines.resize(std::size_t(2 * Cols));
  V.SetNrOfColumns(Cols);
  V.SetNrOfRows(1);
  for (int C = 1; C <= Cols; ++C) {
    V.SetColumnFormat(C, Lines[std::size_t(2 * C - 2)]);
    V.SetElem(C, 1, Lines[std::size_t(2 * C - 1)]);
  }
  std::vector<std::string> Before;
  for (int C = 1; C <= Cols; ++C) Before.push_back(V.GetElem(C, 1));

  const auto Run = [&](TModalResult Way) {
    Application->OnModalShown = [Way](TCustomForm& F) { CheckFieldsAndClose(F, Way); };
    const int R = OnHost ? V.EditRowEntries(1, S.Host, 3, 3) : V.EditRowEntries(1, 5, 5);
    Application->OnModalShown = nullptr;
    Check(R == Way);
    Check(S.Host->GetComponentCount() == 0 && !V.GetContainerForm());
  };
  Run(mrCancel);
  for (int C = 1; C <= Cols; ++C) Check(V.GetElem(C, 1) == Before[std::size_t(C - 1)]);
  Run(mrOk);
  // Only empty cells may take the default their field showed.
  for (int C = 1; C <= Cols; ++C) {
    const std::string& Old = Before[std::size_t(C - 1)];
    Check(Old.empty() ? Utf8Length(V.GetElem(C, 1)) <= MaxCellLength : V.GetElem(C, 1) == Old);
  }
  return 0;
}
