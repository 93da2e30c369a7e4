// A settings dialog: check boxes, radio buttons in a group box, a combo box and a date-time
// picker with OK and Cancel, shown modally from a main form; the choices are read back after
// ShowModal and shown on the main form. With --png FILE it paints the dialog once and writes
// the picture instead (KVL_HOST=headless keeps it off the screen entirely).
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/dtpicker.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/stdctrls.h"

namespace {

using namespace kvl;

template <class T>
T* Place(TWinControl& Parent, int X, int Y, int W, int H) {
  auto* C = new T(&Parent);
  C->SetParent(&Parent);
  C->SetBounds(X, Y, W, H);
  return C;
}

// What the user chose last; the dialog starts from it.
struct TSettings {
  bool Autosave = true;
  bool ShowToolbar = false;
  int Units = 0;  // 0 millimetres, 1 inches, 2 points
  std::string Theme = "Light";
  TDateTime Reminder = 45306.375;  // 2024-01-15 09:00
};

const char* const UnitNames[] = {"Millimetres", "Inches", "Points"};

std::string Describe(const TSettings& S) {
  return std::string("Autosave ") + (S.Autosave ? "on" : "off") + ", toolbar " +
         (S.ShowToolbar ? "shown" : "hidden") + ", " + UnitNames[S.Units] + ", " + S.Theme +
         ", reminder " + FormatDateTime("yyyy-mm-dd hh:nn", S.Reminder).value_or("?");
}

// The dialog's controls, so that the choices can be read back after ShowModal.
struct TSettingsDialog {
  TForm* Form;
  TCheckBox* Autosave;
  TCheckBox* Toolbar;
  TRadioButton* Units[3];
  TComboBox* Theme;
  TDateTimePicker* Reminder;
};

TSettingsDialog BuildDialog(const TSettings& S) {
  TSettingsDialog D{};
  D.Form = new TForm(nullptr);
  D.Form->SetCaption("Settings");
  D.Form->SetBorderStyle(bsDialog);
  D.Form->SetPosition(poMainFormCenter);
  D.Form->SetBounds(0, 0, 330, 300);
  TForm& F = *D.Form;

  D.Autosave = Place<TCheckBox>(F, 12, 12, 200, 17);
  D.Autosave->SetCaption("Save automatically");
  D.Autosave->SetChecked(S.Autosave);
  D.Toolbar = Place<TCheckBox>(F, 12, 34, 200, 17);
  D.Toolbar->SetCaption("Show the toolbar");
  D.Toolbar->SetChecked(S.ShowToolbar);

  auto* Box = Place<TGroupBox>(F, 12, 60, 300, 92);
  Box->SetCaption("Units");
  for (int I = 0; I < 3; ++I) {
    D.Units[I] = Place<TRadioButton>(*Box, 12, 20 + I * 22, 200, 17);
    D.Units[I]->SetCaption(UnitNames[I]);
    D.Units[I]->SetChecked(I == S.Units);
  }

  Place<TLabel>(F, 12, 167, 80, 17)->SetCaption("Theme:");
  D.Theme = Place<TComboBox>(F, 100, 164, 212, 21);
  D.Theme->SetStyle(csDropDownList);
  for (const char* T : {"Light", "Dark", "High contrast"}) D.Theme->GetItems()->Add(T);
  D.Theme->SetItemIndex(D.Theme->GetItems()->IndexOf(S.Theme));

  Place<TLabel>(F, 12, 199, 80, 17)->SetCaption("Reminder:");
  D.Reminder = Place<TDateTimePicker>(F, 100, 196, 212, 21);
  D.Reminder->SetFormat("dd.MM.yyyy HH:mm");
  D.Reminder->SetDateTime(S.Reminder);

  auto* Ok = Place<TButton>(F, 156, 236, 75, 25);
  Ok->SetCaption("OK");
  Ok->SetDefault(true);
  Ok->SetModalResult(mrOk);
  auto* Cancel = Place<TButton>(F, 237, 236, 75, 25);
  Cancel->SetCaption("Cancel");
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  return D;
}

// The choices of a confirmed dialog.
TSettings ReadBack(const TSettingsDialog& D) {
  TSettings S;
  S.Autosave = D.Autosave->GetChecked();
  S.ShowToolbar = D.Toolbar->GetChecked();
  for (int I = 0; I < 3; ++I)
    if (D.Units[I]->GetChecked()) S.Units = I;
  S.Theme = D.Theme->GetText();
  S.Reminder = D.Reminder->GetDateTime();
  return S;
}

}  // namespace

int main(int argc, char** argv) {
  TSettings Settings;
  if (argc == 3 && std::string(argv[1]) == "--png") {
    const TSettingsDialog D = BuildDialog(Settings);
    D.Form->Show();
    Application->ProcessMessages();  // paints what is invalid
    D.Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    delete D.Form;
    return 0;
  }

  auto* Main = new TForm(Application);  // the application deletes it at exit
  Main->SetCaption("kvl settings example");
  Main->SetBounds(100, 100, 560, 120);
  auto* Summary = Place<TLabel>(*Main, 12, 60, 530, 17);
  Summary->SetCaption(Describe(Settings));
  auto* Open = Place<TButton>(*Main, 12, 16, 100, 28);
  Open->SetCaption("Settings...");
  Open->OnClick = [&Settings, Summary](TObject*) {
    const TSettingsDialog D = BuildDialog(Settings);
    if (D.Form->ShowModal() == mrOk) Settings = ReadBack(D);
    delete D.Form;
    Summary->SetCaption(Describe(Settings));
    std::printf("%s\n", Describe(Settings).c_str());
  };
  Application->SetMainForm(Main);
  Application->Run();  // until the window is closed
  return 0;
}
