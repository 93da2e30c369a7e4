// Arbitrary mouse, key, wheel, time and resize events into a form holding a draw grid over many
// rows and a string grid with an editor, a pick-list column and a context menu, through the
// message loop. Events may be queued in bursts so that an open menu sees them in its own loop.
// After each step the current cells and the scroll positions must lie in range, at most one
// editor and one chain of popups may be open, and nothing may crash, hang or be undefined.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/dropdown.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/menus.h"

namespace {

using namespace kvl;

void Check(bool Ok) {
  if (!Ok) std::abort();
}

constexpr std::uint16_t Keys[] = {vk::Tab,    vk::Return, vk::Escape, vk::Prior, vk::Next,
                                  vk::End,    vk::Home,   vk::Left,   vk::Up,    vk::Right,
                                  vk::Down,   vk::Delete, vk::Back,   'A',       '7',
                                  vk::F1 + 1, vk::F1 + 3, vk::Space};

// A string grid whose third column edits through a pick list.
class TUnitGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;

protected:
  TEditStyle GetEditStyle(int ACol, int) override { return ACol == 2 ? esPickList : esSimple; }
  void GetPickListItems(int, int, TStrings& Items) override {
    // More items than rows, so the list scrolls.
    for (const char* U : {"mm", "cm", "m", "km", "s", "ms", "us", "V", "mV", "A", "mA", "Hz"})
      Items.Add(U);
  }
};

struct TSetup {
  THeadlessHost* Host;
  TForm* Form;
  TDrawGrid* Draw;
  TUnitGrid* Strings;
  TPopupMenu* Menu;
};

// Items that act on the grid after the menu closed: rows, the editor, a sub-menu of heights.
TPopupMenu* MakeMenu(TForm& Form, TUnitGrid& G) {
  auto* Menu = new TPopupMenu(&Form);
  const auto Item = [&](TMenuItem* Parent, const char* Caption, TNotifyEvent Click) {
    auto* I = new TMenuItem(&Form);
    I->SetCaption(Caption);
    I->OnClick = std::move(Click);
    Parent->Add(I);
    return I;
  };
  Item(Menu->GetItems(), "&Add row", [&G](TObject*) { G.SetRowCount(G.GetRowCount() % 40 + 2); });
  Item(Menu->GetItems(), "&Edit", [&G](TObject*) { G.ShowEditor(); });
  Item(Menu->GetItems(), "-", {});
  Item(Menu->GetItems(), "&Off", {})->SetEnabled(false);
  TMenuItem* Sub = Item(Menu->GetItems(), "Row &height", {});
  for (const int H : {12, 24, 40}) {
    TMenuItem* R = Item(Sub, "&Size", [&G, H](TObject*) { G.SetDefaultRowHeight(H); });
    R->SetRadioItem(true);
    R->SetAutoCheck(true);
  }
  G.SetPopupMenu(Menu);
  return Menu;
}

TSetup& Setup() {
  static TSetup S = [] {
    auto Host = std::make_unique<THeadlessHost>();
    THeadlessHost* H = Host.get();
    Application->SetHost(std::move(Host));
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, 400, 300);
    auto* Draw = new TDrawGrid(Form);
    Draw->SetParent(Form);
    Draw->SetBounds(0, 0, 200, 300);
    Draw->SetRowCount(1'000'000);
    Draw->SetOptions(Draw->GetOptions() | goColSizing | goRowSizing | goThumbTracking);
    auto* Strings = new TUnitGrid(Form);
    Strings->SetParent(Form);
    Strings->SetBounds(200, 0, 200, 300);
    Strings->SetRowCount(30);
    Strings->SetOptions(Strings->GetOptions() | goEditing | goTabs);
    TPopupMenu* Menu = MakeMenu(*Form, *Strings);
    Form->Show();
    return TSetup{H, Form, Draw, Strings, Menu};
  }();
  return S;
}

// Set while a burst is being queued: the events wait for the next step to run them.
bool Queueing = false;

void Post(THeadlessHost& Host, TForm& Form, THostEventKind Kind, std::uint16_t Key,
          TShiftState Shift, int X, int Y, int Delta = 0, TMouseButton Button = mbLeft) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = Form.GetWindow();
  E.Key = Key;
  E.Shift = Shift;
  E.X = X;
  E.Y = Y;
  E.WheelDelta = Delta;
  E.Button = Button;
  if (Kind == THostEventKind::KeyDown && Key >= 'A' && Key <= 'Z') E.Text = std::string(1, char(Key + 32));
  if (Kind == THostEventKind::KeyDown && Key == vk::Return) E.Text = "\r";
  Host.Post(E);
  if (!Queueing) Application->ProcessMessages();
}

// At most one chain: the pick list alone, or the windows of the one menu; no menu outlives
// its loop; an open list belongs to the visible editor.
void CheckPopups(const TSetup& S) {
  int Lists = 0, Menus = 0;
  for (const TPopupWindow* P : Application->GetPopups()) {
    Lists += P->GetKind() == pkDropDown;
    Menus += P->GetKind() == pkMenu;
  }
  Check(Menus == 0 && !S.Menu->IsShowing());
  Check(Lists <= 1);
  const auto* E = dynamic_cast<const TInplaceEditList*>(S.Strings->GetInplaceEditor());
  if (Lists == 1) Check(E && E->GetListVisible() && E->GetVisible());
  if (E && E->GetListVisible()) Check(Lists == 1);
}

void CheckGrid(const TCustomGrid& G) {
  const int FC = G.GetFixedCols(), FR = G.GetFixedRows();
  Check(G.GetTopRow() >= FR && G.GetTopRow() < G.GetRowCount());
  Check(G.GetLeftCol() >= FC && G.GetLeftCol() < G.GetColCount());
  Check(G.GetRow() >= FR && G.GetRow() < G.GetRowCount());
  Check(G.GetCol() >= FC && G.GetCol() < G.GetColCount());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  for (std::size_t I = 0; I + 2 < Size; I += 3) {
    const std::uint8_t Op = Data[I], A = Data[I + 1], B = Data[I + 2];
    // A right release with the top bit queues what follows up to the next step without it.
    Queueing = (Op & 0x80) && (Queueing || (Op % 8 == 4 && (Op & 0x40)));
    const TShiftState Shift = (Op & 0x10 ? ssShift : 0) | (Op & 0x20 ? ssCtrl : 0);
    const int X = A * 400 / 256, Y = B * 300 / 256;
    switch (Op % 8) {
      case 0:
      case 1: {
        const std::uint16_t Key = Keys[A % std::size(Keys)];
        const TShiftState KeyShift = Shift | (B & 1 ? ssAlt : 0);
        Post(*S.Host, *S.Form, THostEventKind::KeyDown, Key, KeyShift, 0, 0);
        Post(*S.Host, *S.Form, THostEventKind::KeyUp, Key, KeyShift, 0, 0);
        break;
      }
      case 2:
        Post(*S.Host, *S.Form, THostEventKind::MouseDown, 0, Shift, X, Y, 0,
             Op & 0x40 ? mbRight : mbLeft);
        break;
      case 3:
        Post(*S.Host, *S.Form, THostEventKind::MouseMove, 0, Shift | (Op & 0x40 ? ssLeft : 0), X, Y);
        break;
      case 4:
        Post(*S.Host, *S.Form, THostEventKind::MouseUp, 0, Shift, X, Y, 0,
             Op & 0x40 ? mbRight : mbLeft);
        break;
      case 5:
        Post(*S.Host, *S.Form, THostEventKind::MouseWheel, 0, Shift, X, Y,
             (int(A) - 128) * 8);
        break;
      case 6:
        AdvanceHeadlessTime(*S.Host, A * 4);
        break;
      case 7:
        if (Op & 0x40)
          S.Draw->SetBounds(0, 0, A, B);
        else
          S.Strings->SetRowCount(1 + A % 40);
        break;
    }
    CheckGrid(*S.Draw);
    CheckGrid(*S.Strings);
    // One editor at most: the string grid's, shown only while it edits.
    const TInplaceEdit* E = S.Strings->GetInplaceEditor();
    Check(!E || E->GetVisible() == S.Strings->GetEditorMode());
    Check(S.Draw->GetInplaceEditor() == nullptr);
    if (!Queueing) CheckPopups(S);
  }
  Queueing = false;
  Application->ProcessMessages();
  CheckPopups(S);
  // Each input starts from no button held and no editor open.
  Post(*S.Host, *S.Form, THostEventKind::MouseUp, 0, 0, 0, 0);
  Post(*S.Host, *S.Form, THostEventKind::MouseUp, 0, 0, 0, 0, 0, mbRight);
  S.Strings->HideEditor();
  return 0;
}
