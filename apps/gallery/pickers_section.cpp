#include "pickers_section.h"

#include <string>

#include "kvl/platform/dates.h"
#include "kvl/platform/dtpicker.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/stdctrls.h"

namespace kvl::gallery {

void BuildPickersSection(TWinControl& Host, int Left, int Top) {
  auto* Box = new TGroupBox(&Host);
  Box->SetParent(&Host);
  Box->SetBounds(Left, Top, 330, 170);
  Box->SetCaption("Date-time pickers");
  auto* Changed = new TLabel(Box);
  Changed->SetParent(Box);
  Changed->SetBounds(10, 140, 310, 17);
  Changed->SetCaption("Changes appear here.");

  const struct {
    const char* Caption;
    TDateTimeKind Kind;
    const char* Format;
    bool Enabled;
  } Pickers[] = {
      {"Date", dtkDate, "", true},
      {"Time", dtkTime, "", true},
      {"Row editor", dtkDate, "dd.MM.yyyy", true},
      {"Disabled", dtkDate, "dddd, d MMMM yyyy", false},
  };
  int Y = 18;
  for (const auto& P : Pickers) {
    auto* L = new TLabel(Box);
    L->SetParent(Box);
    L->SetBounds(10, Y + 3, 120, 17);
    L->SetCaption(P.Caption);
    auto* D = new TDateTimePicker(Box);
    D->SetParent(Box);
    D->SetBounds(130, Y, 186, 21);
    D->SetKind(P.Kind);
    D->SetFormat(P.Format);
    D->SetEnabled(P.Enabled);
    // A fixed value, so that the page looks the same in a window and in a picture.
    D->SetDateTime(EncodeDateTime(2024, 1, 15, 10, 30, 0, 0));
    const std::string Name = P.Caption;
    D->OnChange = [Changed, D, Name](TObject*) {
      Changed->SetCaption(Name + ": " + D->GetText());
    };
    Y += 29;
  }
}

}  // namespace kvl::gallery
