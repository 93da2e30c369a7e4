// The standard controls page: edits, labels, push buttons, speed buttons, check boxes and
// radio buttons, live.
#include "kvl/platform/buttons.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/menus.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

TLabel* Caption(TWinControl& Host, int X, int Y, const std::string& Text) {
  auto* L = Place<TLabel>(Host, X, Y, 110, 20);
  L->SetAutoSize(false);
  L->SetCaption(Text);
  L->SetAlignment(taRightJustify);
  return L;
}

}  // namespace

void BuildControlsPage(TWinControl& Host) {
  auto* Name = Place<TEdit>(Host, 130, 12, 240, 24);
  Name->SetText("Sample 7, channel A");
  Caption(Host, 12, 16, "Name")->SetFocusControl(Name);

  auto* Password = Place<TEdit>(Host, 130, 44, 240, 24);
  Password->SetPasswordChar(U'*');
  Password->SetText("secret");
  Caption(Host, 12, 48, "Password")->SetFocusControl(Password);

  auto* Upper = Place<TEdit>(Host, 130, 76, 240, 24);
  Upper->SetCharCase(ecUpperCase);
  Upper->SetMaxLength(12);
  Upper->SetText("max 12 chars");
  Caption(Host, 12, 80, "Upper case");

  auto* ReadOnly = Place<TEdit>(Host, 130, 108, 240, 24);
  ReadOnly->SetText("read only: select and copy");
  ReadOnly->SetReadOnly(true);
  Caption(Host, 12, 112, "Read only");

  auto* Disabled = Place<TEdit>(Host, 130, 140, 240, 24);
  Disabled->SetText("disabled");
  Disabled->SetEnabled(false);
  Caption(Host, 12, 144, "Disabled")->SetEnabled(false);

  auto* Echo = Place<TLabel>(Host, 130, 172, 400, 20);
  Echo->SetCaption("Type into the first box: this label follows it.");
  Name->OnChange = [Echo, Name](TObject*) { Echo->SetCaption("Name: " + Name->GetText()); };

  auto* Wrapped = Place<TLabel>(Host, 400, 12, 300, 80);
  Wrapped->SetWordWrap(true);
  Wrapped->SetCaption(
      "A word-wrapped label breaks its caption at the blanks to fit its width, and a "
      "transparent one lets its parent show through.");

  auto* Ok = Place<TButton>(Host, 130, 210, 90, 28);
  Ok->SetCaption("Beep");
  Ok->SetDefault(true);
  Ok->OnClick = [](TObject*) { MessageBeep(); };
  Ok->SetHint("Rings the bell once.\nEnter presses it too: it is the default button.");
  Ok->SetShowHint(true);
  auto* Copy = Place<TButton>(Host, 230, 210, 140, 28);
  Copy->SetCaption("Copy the name");
  Copy->OnClick = [Name](TObject*) { Clipboard().SetAsText(Name->GetText()); };

  // A group of speed buttons: one of them stays down.
  const char* const Modes[] = {"Volts", "Amps", "Ohms"};
  for (int I = 0; I < 3; ++I) {
    auto* B = Place<TSpeedButton>(Host, 130 + I * 64, 256, 60, 26);
    B->SetCaption(Modes[I]);
    B->SetGroupIndex(1);
    B->SetDown(I == 0);
  }
  auto* Flat = Place<TSpeedButton>(Host, 330, 256, 60, 26);
  Flat->SetCaption("Flat");
  Flat->SetFlat(true);
  auto* Off = Place<TSpeedButton>(Host, 394, 256, 60, 26);
  Off->SetCaption("Off");
  Off->SetEnabled(false);
  Caption(Host, 12, 260, "Speed buttons");

  // Check boxes and a radio group that switch the edits above.
  auto* Show = Place<TCheckBox>(Host, 400, 100, 200, 17);
  Show->SetCaption("Show the password");
  Show->OnClick = [Password, Show](TObject*) {
    Password->SetPasswordChar(Show->GetChecked() ? 0 : U'*');
  };
  auto* Three = Place<TCheckBox>(Host, 400, 122, 200, 17);
  Three->SetCaption("Three states");
  Three->SetAllowGrayed(true);
  auto* Fixed = Place<TCheckBox>(Host, 400, 144, 200, 17);
  Fixed->SetCaption("Disabled");
  Fixed->SetChecked(true);
  Fixed->SetEnabled(false);
  const struct {
    const char* Caption;
    TEditCharCase Case;
  } Cases[] = {{"Upper case", ecUpperCase}, {"Lower case", ecLowerCase}, {"As typed", ecNormal}};
  for (int I = 0; I < 3; ++I) {
    auto* R = Place<TRadioButton>(Host, 400, 176 + I * 22, 200, 17);
    R->SetCaption(Cases[I].Caption);
    R->SetChecked(I == 0);
    R->OnClick = [Upper, C = Cases[I].Case](TObject*) { Upper->SetCharCase(C); };
  }

  // A context menu on the status line: every kind of item, a sub-menu, choices shown below.
  auto* Status = Place<TLabel>(Host, 130, 300, 400, 20);
  Status->SetAutoSize(false);
  Status->SetCaption("Right-click this line for a menu.");
  Status->SetHint("The menu's choices show here.");
  Status->SetShowHint(true);
  Caption(Host, 12, 300, "Context menu");
  auto* Menu = new TPopupMenu(&Host);
  const auto Item = [&](TMenuItem* Parent, const std::string& Text) {
    auto* I = new TMenuItem(&Host);
    I->SetCaption(Text);
    I->OnClick = [Status, I](TObject*) {
      Status->SetCaption("Chosen: " + ParseMenuCaption(I->GetCaption()).Text +
                         (I->GetChecked() ? " (checked)" : ""));
    };
    Parent->Add(I);
    return I;
  };
  Item(Menu->GetItems(), "&Mark the sample")->SetDefault(true);
  Item(Menu->GetItems(), "Show &units")->SetAutoCheck(true);
  Item(Menu->GetItems(), "-");
  Item(Menu->GetItems(), "&Calibrate")->SetEnabled(false);
  TMenuItem* Size = Item(Menu->GetItems(), "Row &height");
  for (const char* H : {"&Small", "&Normal", "&Large"}) {
    TMenuItem* R = Item(Size, H);
    R->SetRadioItem(true);
    R->SetAutoCheck(true);
    R->SetChecked(std::string(H) == "&Normal");
  }
  Status->SetPopupMenu(Menu);
}

}  // namespace kvl::gallery
