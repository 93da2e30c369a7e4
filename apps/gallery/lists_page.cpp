// The lists and pickers page: list boxes (a long one, a multi-select one, owner-drawn colour
// rows), combo boxes of every style and the date-time pickers, with a label reporting the
// list and combo box events.
#include <string>

#include "event_log.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/listbox.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"
#include "pickers_section.h"

namespace kvl::gallery {

namespace {

struct TNamedColor {
  const char* Name;
  TColor Color;
};

constexpr TNamedColor Colors[] = {
    {"Black", clBlack},   {"Maroon", clMaroon},   {"Green", clGreen}, {"Olive", clOlive},
    {"Navy", clNavy},     {"Purple", clPurple},   {"Teal", clTeal},   {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},         {"Lime", clLime},   {"Yellow", clYellow},
    {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua},   {"White", clWhite}};

const char* const Fruits[] = {"apple", "banana", "blueberry", "cherry", "date",  "elder",
                              "fig",   "grape",  "kiwi",      "lemon",  "mango", "nut"};

// A colour bar framed in the pen's colour, then the name, as a colour selector draws its slots.
void DrawColorRow(TCanvas& C, const TRect& R, int Index) {
  const TColor Text = C.GetBrush().GetColor();
  C.GetBrush().SetColor(Colors[Index].Color);
  C.Rectangle(R.Left + 2, R.Top + 2, R.Left + 32, R.Bottom - 2);
  C.GetBrush().SetColor(Text);
  C.TextOut(R.Left + 38, R.Top + (R.Height() - C.TextHeight("Wg")) / 2, Colors[Index].Name);
}

}  // namespace

void BuildListsPage(TWinControl& Host) {
  auto* Events = Place<TLabel>(Host, 12, 530, 440, 20);
  Events->SetCaption("Events appear here.");
  const auto Report = [Events](const std::string& S) {
    Events->SetCaption(S);
    LogEvent(S);
  };

  // List boxes: a long one, an extended multi-select one, owner-drawn colour rows.
  auto* Long = Place<TListBox>(Host, 12, 12, 140, 160);
  Long->GetItems()->BeginUpdate();
  for (int I = 1; I <= 1000; ++I) Long->GetItems()->Add("Line " + std::to_string(I));
  Long->GetItems()->EndUpdate();
  Long->OnClick = [Report, Long](TObject*) {
    Report("List: " + (*Long->GetItems())[Long->GetItemIndex()]);
  };
  auto* Multi = Place<TListBox>(Host, 160, 12, 140, 160);
  for (const char* F : Fruits) Multi->GetItems()->Add(F);
  Multi->SetMultiSelect(true);
  Multi->OnClick = [Report, Multi](TObject*) {
    Report("Multi-select: " + std::to_string(Multi->GetSelCount()) + " selected");
  };
  auto* Drawn = Place<TListBox>(Host, 308, 12, 140, 160);
  Drawn->SetStyle(lbOwnerDrawFixed);
  Drawn->SetItemHeight(20);
  for (const TNamedColor& C : Colors) Drawn->GetItems()->Add(C.Name);
  Drawn->OnDrawItem = [Drawn](TWinControl*, int I, const TRect& R, TOwnerDrawState) {
    DrawColorRow(*Drawn->GetCanvas(), R, I);
  };
  Drawn->OnClick = [Report, Drawn](TObject*) {
    Report("Colour list: " + (*Drawn->GetItems())[Drawn->GetItemIndex()]);
  };

  // Combo boxes of every style.
  const auto Watch = [Report](TComboBox* B, const std::string& Name) {
    B->OnSelect = [Report, B, Name](TObject*) { Report(Name + " selected " + B->GetText()); };
    B->OnChange = [Report, B, Name](TObject*) {
      Report(Name + " changed to \"" + B->GetText() + "\"");
    };
  };
  const struct {
    const char* Name;
    TComboBoxStyle Style;
    int Y;
  } Combos[] = {{"Drop-down", csDropDown, 190},
                {"Drop-down list", csDropDownList, 222},
                {"Disabled", csDropDownList, 318}};
  for (const auto& K : Combos) {
    auto* B = Place<TComboBox>(Host, 12, K.Y, 160, 21);
    B->SetStyle(K.Style);
    for (const char* F : Fruits) B->GetItems()->Add(F);
    B->SetItemIndex(2);
    B->SetEnabled(K.Y != 318);
    Watch(B, K.Name);
  }
  auto* Big = Place<TComboBox>(Host, 12, 254, 160, 21);
  Big->SetStyle(csDropDownList);
  Big->GetItems()->BeginUpdate();
  for (int I = 1; I <= 10000; ++I) Big->GetItems()->Add("Entry " + std::to_string(I));
  Big->GetItems()->EndUpdate();
  Big->SetItemIndex(0);
  Watch(Big, "10 000 entries");
  auto* Colored = Place<TComboBox>(Host, 12, 286, 160, 21);
  Colored->SetStyle(csOwnerDrawFixed);
  for (const TNamedColor& C : Colors) Colored->GetItems()->Add(C.Name);
  Colored->SetItemIndex(9);
  Colored->OnDrawItem = [Colored](TWinControl*, int I, const TRect& R, TOwnerDrawState) {
    DrawColorRow(*Colored->GetCanvas(), R, I);
  };
  Watch(Colored, "Colours");
  auto* Simple = Place<TComboBox>(Host, 190, 190, 160, 150);
  Simple->SetStyle(csSimple);
  for (const char* F : Fruits) Simple->GetItems()->Add(F);
  Watch(Simple, "Simple");
  BuildPickersSection(Host, 12, 350);
}

}  // namespace kvl::gallery
