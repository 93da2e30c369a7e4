// A report list view driven from the bytes: clicks anywhere (borders, headers, the empty
// table's placeholder row) with Shift and Ctrl, double clicks, keys and typing into the editor,
// the wheel, row and column operations, check modes, column orders, selection modes, sorting,
// filtering and copying. After every step the grid must have a row per shown data row below the
// headers (at least one), nothing may linger beyond the last row, a radio column may hold at
// most one mark and the shown order must stay a permutation.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "kvl/platform/host_headless.h"
#include "kvl/replist/replist.h"

namespace {

using namespace kvl;
using fuzzing::Check;

constexpr std::uint16_t Keys[] = {vk::Return, vk::Escape, vk::Prior, vk::Next, vk::End,
                                  vk::Home,   vk::Left,   vk::Up,    vk::Right, vk::Down,
                                  vk::F1 + 1, vk::Back,   'A',       '7',       vk::Space};

fuzzing::TFuzzForm& Setup() {
  static fuzzing::TFuzzForm F = [] {
    fuzzing::TFuzzForm S = fuzzing::MakeFuzzForm(420, 260);
    S.Form->Show();
    return S;
  }();
  return F;
}

void Post(fuzzing::TFuzzForm& F, THostEventKind Kind, TShiftState Shift, int X, int Y,
          std::uint16_t Key = 0, int Delta = 0) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = F.Form->GetWindow();
  E.Shift = Shift;
  E.X = X;
  E.Y = Y;
  E.Key = Key;
  E.WheelDelta = Delta;
  if (Kind == THostEventKind::KeyDown && Key >= 'A' && Key <= 'Z') E.Text = std::string(1, char(Key + 32));
  if (Kind == THostEventKind::KeyDown && Key >= '0' && Key <= '9') E.Text = std::string(1, char(Key));
  if (Kind == THostEventKind::KeyDown && Key == vk::Return) E.Text = "\r";
  F.Host->Post(E);
  Application->ProcessMessages();
}

void CheckInvariants(const TReportListView& V) {
  const int H = V.CountHeadRows(), N = V.GetNrOfRows(), Shown = V.GetNrOfShownRows();
  Check(Shown >= 0 && Shown <= N);
  Check(V.GetRowCount() == std::max(H + Shown, H + 1));
  const TStringArray& S = V.GetData().GetStrings();
  if (N == 0) {
    for (int C = 0; C <= S.GetNrCols(); ++C) Check(S.GetString(C, 1).empty());
    Check(S.GetRowAttrib(1) == 0);
  } else {
    Check(S.GetNrRows() == N);
  }
  for (int C = 1; C <= V.GetNrOfColumns(); ++C) {
    if (V.GetColumnCheckMode(C) != cmRadio) continue;
    int Marks = 0;
    for (int R = 1; R <= N; ++R) Marks += V.GetElemChecked(C, R);
    Check(Marks <= 1);
  }
  std::set<int> Seen;
  for (int R = 1; R <= N; ++R) {
    const int P = S.GetSortOrder(R);
    Check(P >= 1 && P <= N && Seen.insert(P).second);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  fuzzing::TFuzzForm& F = Setup();
  fuzzing::TFuzzBytes In{Data, Size};
  auto* V = new TReportListView(F.Form);
  V->SetParent(F.Form);
  V->SetBounds(0, 0, 420, 260);
  V->SetColumnCheckMode(2, cmBox);
  V->SetColumnCheckMode(3, cmRadio);
  V->SetColumnEditable(1, true);
  V->SetColumnEditable(2, true);
  for (int R = 1; R <= V->GetNrOfRows(); ++R) V->SetElem(1, R, std::string(std::size_t(R), 'a'));
  auto* Other = new TReportListView(F.Form);
  for (int Step = 0; Step < 200 && In.N > 0; ++Step) {
    const auto Op = In.Take<std::uint8_t>();
    const int A = In.Take<std::uint8_t>(), B = In.Take<std::uint8_t>();
    const TShiftState Shift = TShiftState(A & 0x80 ? ssShift : 0) | TShiftState(B & 0x80 ? ssCtrl : 0);
    const int X = A * 420 / 256, Y = B * 260 / 256;
    switch (Op % 24) {
      case 0:
      case 1:
      case 2:
        Post(F, THostEventKind::MouseDown, Shift, X, Y);
        Post(F, THostEventKind::MouseUp, Shift | ssLeft, X, Y);
        break;
      case 3:
        Post(F, THostEventKind::MouseMove, Shift | ssLeft, X, Y);
        break;
      case 4:
      case 5:
        Post(F, THostEventKind::KeyDown, Shift, 0, 0, Keys[A % std::size(Keys)]);
        Post(F, THostEventKind::KeyUp, Shift, 0, 0, Keys[A % std::size(Keys)]);
        break;
      case 6:
        Post(F, THostEventKind::MouseWheel, Shift, X, Y, 0, (B % 2 ? 120 : -120) * (A % 3 + 1));
        break;
      case 7:
        V->AddRow();
        break;
      case 8:
        V->InsertRow(A % 12 - 1);
        break;
      case 9:
        V->RemoveRow(A % 12);
        break;
      case 10:
        V->RemoveEmptyRows();
        break;
      case 11:
        V->SetNrOfRows(A % 40 - 2);
        break;
      case 12:
        V->SetNrOfColumns(A % 7);
        break;
      case 13:
        V->SetColumnCheckMode(A % 8, TCheckMode(B % 3));
        break;
      case 14: {
        std::vector<int> Order(std::size_t(V->GetNrOfColumns()));
        for (int& O : Order) O = In.Take<std::uint8_t>() % (V->GetNrOfColumns() + 2);
        if (B % 5 == 0) Order.pop_back();
        V->SetColumnOrder(Order);
        break;
      }
      case 15:
        V->SetRowSelectMode(A % 4);
        V->SetUseCtrlForMultiSel(B % 2);
        break;
      case 16:
        if (B % 3 == 0)
          V->UnSort();
        else
          V->Sort(A % 8 - 1, B % 8 - 2, B % 2);
        break;
      case 17: {
        const char* const Exprs[] = {"", "a", "aa & !aaa", "(a|x", "^a{2}$", "\"a a\"", "X"};
        V->FilterAndSort(Exprs[A % 7], {B % 5}, B & 1, TFilterMode(B % 3), A % 6, A & 1);
        break;
      }
      case 18:
        if (B % 2)
          Other->Assign(V);
        else
          V->Assign(Other);
        break;
      case 19:
        V->SetCommonHeaderVisible(A % 2);
        V->SetColumnHeadersVisible(B % 2);
        break;
      case 20:
        V->SetElem(A % 7, B % 12, std::string(std::size_t(A % 5), char('a' + B % 3)));
        break;
      case 21:
        V->SetRowEnabled(A % 12, B % 2);
        V->SetCheckMarksReadOnly(A & 0x40);
        V->SetShowEmptyCheckBoxes(B & 0x40);
        break;
      case 22:
        Post(F, THostEventKind::MouseDown, Shift, X, Y);
        Post(F, THostEventKind::MouseUp, Shift | ssLeft, X, Y);
        Post(F, THostEventKind::MouseDown, Shift, X, Y);
        Post(F, THostEventKind::MouseUp, Shift | ssLeft, X, Y);
        break;
      default:
        V->SetFixedFirstColumn(A % 2);
        V->CenterScrollAndSelect(B % 14 - 1);
        break;
    }
    if (Op % 24 != 3) AdvanceHeadlessTime(*F.Host, 600);  // no double click by accident
    CheckInvariants(*V);
  }
  delete Other;
  delete V;
  return 0;
}
