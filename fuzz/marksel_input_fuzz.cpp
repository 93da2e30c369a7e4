// A marker selector driven by a byte-coded sequence: grid sizes, shown and hidden shapes,
// control sizes, selection, enabling, and mouse input at any coordinates through the loop.
// The picked shape must always be one that is shown inside the grid; nothing may crash.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fuzz_input.h"
#include "kvl/marksel/marksel.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;
using namespace kvl::fuzzing;

struct TSetup {
  THeadlessHost* Host;
  TForm* Form;
  TMarkSel* Marks;
};

TSetup& Setup() {
  static TSetup S = [] {
    auto [H, Form] = fuzzing::MakeFuzzForm(400, 300);
    auto* M = new TMarkSel(Form);
    M->SetParent(Form);
    Form->Show();
    return TSetup{H, Form, M};
  }();
  return S;
}

void Mouse(TSetup& S, THostEventKind Kind, int X, int Y) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = S.Form->GetWindow();
  E.Button = mbLeft;
  E.Shift = Kind == THostEventKind::MouseMove ? ssLeft : 0;
  E.X = X;
  E.Y = Y;
  S.Host->Post(E);
  Application->ProcessMessages();
}

// Whether Mark is shown and has its cell inside the grid.
bool Pickable(TMarkSel& M, int Mark) {
  if (Mark == 0) return true;
  if (Mark < 0 || Mark > 51 || !M.GetMarkVisible(Mark)) return false;
  int Place = 0;
  for (int I = 0; I < Mark; ++I) Place += I == 0 || M.GetMarkVisible(I);
  return Place < M.GetNrOfColumns() * M.GetNrOfRows();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TMarkSel& M = *S.Marks;
  M.ShowAllMarks();
  M.SetEnabled(true);
  int Picked = -2;
  M.OnMarkClick = [&](TObject*, int, int, int Mark) { Picked = Mark; };
  for (std::size_t I = 0; I + 2 < Size; I += 3) {
    const std::uint8_t Op = Data[I], A = Data[I + 1], B = Data[I + 2];
    const int X = (int(A) - 64) * 4, Y = (int(B) - 64) * 4;  // also far outside
    switch (Op % 9) {
      case 0: M.SetNrOfColumns(A - 2); break;
      case 1: M.SetNrOfRows(B - 2); break;
      case 2: M.SetMarkVisible(A % 60 - 4, B & 1); break;
      case 3: M.SetBounds(0, 0, A + (B & 0x80 ? 256 : 0), B & 0x7F); break;
      case 4: M.SetSelected(A % 56 - 2); break;
      case 5: Mouse(S, THostEventKind::MouseMove, X, Y); break;
      case 6: Mouse(S, THostEventKind::MouseDown, X, Y); break;
      case 7: Mouse(S, THostEventKind::MouseUp, X, Y); break;
      default:
        if (A & 1) M.HideAllMarks();
        M.SetEnabled(B & 1);
        break;
    }
    if (Picked != -2) Check(Pickable(M, Picked));
    Picked = -2;
    // A highlight left from before a layout change stays until the pointer moves on.
    Check(M.GetHighlighted() >= 0 && M.GetHighlighted() <= 51);
  }
  return 0;
}
