// Any format and any values written to a date-time picker, then random keys, typed characters,
// up-down steps and calendar input. After every step the value must be a date of the years 1 to
// 9999 within the picker's limits, the text must be the value in the format, and the focused
// field must be one of the format's fields.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "kvl/platform/dtcalendar.h"
#include "kvl/platform/dtpicker.h"

namespace {

using namespace kvl;
using kvl::fuzzing::Check;

struct TSetup {
  TForm* Form;
  TDateTimePicker* Picker;
};

TSetup& Setup() {
  static TSetup S = [] {
    const auto F = fuzzing::MakeFuzzForm(400, 300);
    auto* P = new TDateTimePicker(F.Form);
    P->SetParent(F.Form);
    F.Form->Show();
    P->SetFocus();
    return TSetup{F.Form, P};
  }();
  return S;
}

constexpr std::uint16_t Keys[] = {vk::Left, vk::Right, vk::Up,     vk::Down, vk::Home,
                                  vk::End,  vk::Prior, vk::Next,   vk::F4,   vk::Return,
                                  vk::Tab,  vk::Escape, vk::Delete};

void CheckConsistent(TDateTimePicker& P) {
  const auto Parts = DecodeDateTime(P.GetDateTime());
  Check(Parts.has_value());
  TDateTime Lo = P.GetMinDate() != 0 ? DateOf(P.GetMinDate()) : -HUGE_VAL;
  TDateTime Hi = P.GetMaxDate() != 0 ? DateOf(P.GetMaxDate()) : HUGE_VAL;
  if (Lo > Hi) std::swap(Lo, Hi);
  const TDateTime Day = DateOf(P.GetDateTime());
  Check(Day >= Lo && Day <= Hi);
  const std::string& F = P.GetFormat();
  const char* Default = P.GetKind() == dtkDate ? "yyyy-MM-dd" : "HH:mm:ss";
  Check(P.GetText() == FormatDtTokens(ParseDtFormat(F.empty() ? Default : F), *Parts));
  Check(P.GetFieldCount() == 0 ? P.GetFieldIndex() == -1
                               : P.GetFieldIndex() >= 0 && P.GetFieldIndex() < P.GetFieldCount());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TDateTimePicker& P = *S.Picker;
  fuzzing::TFuzzBytes In{Data, Size};
  const std::size_t FormatLength = std::min<std::size_t>(In.Take<std::uint8_t>(), In.N);
  P.SetMinDate(0);
  P.SetMaxDate(0);
  P.SetFormat(std::string(reinterpret_cast<const char*>(In.P), FormatLength));
  In.P += FormatLength;
  In.N -= FormatLength;
  P.SetKind(In.Take<std::uint8_t>() % 2 ? dtkTime : dtkDate);
  P.SetDateMode(In.Take<std::uint8_t>() % 2 ? dmUpDown : dmComboBox);
  P.SetDateTime(In.Take<double>());
  P.SetMinDate(In.Take<double>());
  P.SetMaxDate(In.Take<double>());
  CheckConsistent(P);
  while (In.N > 0) {
    const std::uint8_t Op = In.Take<std::uint8_t>();
    switch (Op % 6) {
      case 0: {  // a key, maybe with Alt or Ctrl; an open calendar takes it first
        std::uint16_t K = Keys[In.Take<std::uint8_t>() % std::size(Keys)];
        const std::uint8_t Mods = In.Take<std::uint8_t>();
        const TShiftState Shift = TShiftState((Mods & 1 ? ssAlt : 0) | (Mods & 2 ? ssCtrl : 0));
        if (TDtCalendar* C = P.GetCalendar(); !C || !C->PopupKeyDown(K, Shift)) P.KeyDown(K, Shift);
        break;
      }
      case 1: {  // a typed character
        char32_t K = In.Take<std::uint8_t>();
        P.KeyPress(K);
        break;
      }
      case 2:
        P.SetFieldIndex(In.Take<std::uint8_t>() % 8);
        break;
      case 3: {  // a click on the picker or into the open calendar
        const int X = In.Take<std::uint8_t>(), Y = In.Take<std::uint8_t>();
        if (TDtCalendar* C = P.GetCalendar()) {
          C->MouseDown(mbLeft, 0, X, Y);
          if (P.GetCalendar()) C->MouseUp(mbLeft, 0, X, Y);
        } else {
          P.MouseDown(mbLeft, 0, X % 190, Y % 21);
          P.MouseUp(mbLeft, 0, X % 190, Y % 21);
        }
        break;
      }
      case 4:
        P.SetDateTime(In.Take<double>());
        break;
      case 5:
        Application->ProcessMessages();
        break;
    }
    CheckConsistent(P);
  }
  P.SetDroppedDown(false);
  Application->ProcessMessages();
  return 0;
}
