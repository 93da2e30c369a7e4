// Arbitrary user input into a numeric field: keys with and without Shift and Ctrl, pasted
// clipboard text, clicks and drags, values and format changes, all through the message loop.
// The caret and the selection must stay inside the text, typed text must pass the field's
// check, and nothing may crash or be undefined.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "kvl/core/stringl.h"
#include "kvl/numio/numio2.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;
using namespace kvl::fuzzing;

constexpr std::uint16_t Keys[] = {vk::Back,      vk::Tab,
                                  vk::End,       vk::Home,
                                  vk::Left,      vk::Up,
                                  vk::Right,     vk::Down,
                                  vk::Delete,    '0',
                                  '1',           '4',
                                  '5',           '6',
                                  '9',           'A',
                                  'C',           'F',
                                  'V',           'X',
                                  'Z',           vk::Numpad0 + 3,
                                  vk::Add,       vk::Subtract,
                                  vk::Decimal,   vk::OemPlus,
                                  vk::OemComma,  vk::OemMinus,
                                  vk::OemPeriod, vk::Return,
                                  vk::Space};

struct TSetup {
  THeadlessHost* Host;
  TForm* Form;
  TNumIO2* Field;
};

TSetup& Setup() {
  static TSetup S = [] {
    auto [H, Form] = fuzzing::MakeFuzzForm(300, 60);
    auto* Field = new TNumIO2(Form);
    Field->SetParent(Form);
    Field->SetBounds(0, 0, 260, 44);
    Field->SetButVisible(true);
    Field->SetGaugeVisible(true);
    Form->Show();
    Field->SetFocus();
    return TSetup{H, Form, Field};
  }();
  return S;
}

void Post(THeadlessHost& Host, TForm& Form, THostEventKind Kind, std::uint16_t Key,
          TShiftState Shift, int X, int Y) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = Form.GetWindow();
  E.Key = Key;
  E.Shift = Shift;
  E.X = X;
  E.Y = Y;
  Host.Post(E);
  Application->ProcessMessages();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TNumIO2& F = *S.Field;
  F.SetInputFormat(static_cast<TInFormat>(Size ? Data[0] % 8 : 1));
  F.SetText("");
  for (std::size_t I = 1; I < Size; ++I) {
    const std::uint8_t B = Data[I];
    const bool Typed = B < 192;
    const std::string Before = F.GetText();
    if (B < 192) {
      const TShiftState Shift = (B & 0x40 ? ssShift : 0) | (B & 0x80 ? ssCtrl : 0);
      const std::uint16_t Key = Keys[(B & 0x3F) % std::size(Keys)];
      Post(*S.Host, *S.Form, THostEventKind::KeyDown, Key, Shift, 0, 0);
      Post(*S.Host, *S.Form, THostEventKind::KeyUp, Key, Shift, 0, 0);
    } else if (B < 208 && I + 1 < Size) {
      // Clipboard text from the next bytes, pasted in the next Ctrl+V.
      const std::size_t N = std::min<std::size_t>(B - 191, Size - I - 1);
      S.Host->SetClipboardText(std::string(reinterpret_cast<const char*>(Data + I + 1), N));
      I += N;
    } else if (B < 240 && I + 1 < Size) {
      const int X = Data[++I];
      const THostEventKind Kind = B < 216   ? THostEventKind::MouseDown
                                  : B < 224 ? THostEventKind::MouseMove
                                            : THostEventKind::MouseUp;
      Post(*S.Host, *S.Form, Kind, 0, Kind == THostEventKind::MouseMove ? ssLeft : 0, X,
           (B % 8) * 6);
    } else if (I + 8 < Size) {
      double V;
      std::memcpy(&V, Data + I + 1, sizeof V);
      I += 8;
      F.SetValue(V);
    } else {
      F.SetDecPlaceSep(static_cast<TDecPSep>(B % 4));
    }
    const int N = Utf8Length(F.GetText());
    Check(F.GetCaretPos() >= 0 && F.GetCaretPos() <= N);
    Check(F.GetSelBegin() >= 0 && F.GetSelBegin() <= F.GetSelEnd() && F.GetSelEnd() <= N);
    // An edit by key leaves a text the field accepts (or the start of a sign).
    const std::string& T = F.GetText();
    if (Typed && T != Before) Check(T.empty() || T == "-" || T == "+" || F.CheckValidity(T));
  }
  return 0;
}
