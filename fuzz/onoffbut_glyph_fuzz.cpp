// An on/off button set up from the first bytes (style, size, spaces, centring, transparency)
// and given the rest as a user glyph picture, then painted. Pictures that cannot be read must
// be refused with EInvalidGraphic and leave the glyphs as they were; nothing may crash or read
// outside a bitmap.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "kvl/onoffbut/onoffbut.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace {

using namespace kvl;

struct TSetup {
  TForm* Form;
  TOnOffBut* Button;
};

TSetup& Setup() {
  static TSetup S = [] {
    Application->SetHost(std::make_unique<THeadlessHost>());
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, 320, 200);
    auto* B = new TOnOffBut(Form);
    B->SetParent(Form);
    B->SetLeftText("L");
    B->SetTopText("T");
    Form->Show();
    return TSetup{Form, B};
  }();
  return S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 6) return 0;
  TOnOffBut& B = *Setup().Button;
  B.SetAutoCenter(Data[4] & 1);
  B.SetTransparent(Data[4] & 2);
  B.SetEnabled(!(Data[4] & 4));
  B.SetOnOff(Data[4] & 8);
  B.SetBounds(0, 0, Data[1] % 310, Data[2] % 190);
  B.SetLeftSpace(Data[3]);
  B.SetTopSpace(Data[5]);
  const TBitmap Before = B.GetUserGlyph(true, true);
  TBitmap Img;
  try {
    Img.LoadFromMemory(Data + 6, Size - 6, OnOffGlyphKey);
    B.SetUserGlyph(Img);
  } catch (const EInvalidGraphic&) {
    const TBitmap& After = B.GetUserGlyph(true, true);
    if (After.GetWidth() != Before.GetWidth() || After.GetHeight() != Before.GetHeight())
      std::abort();
  }
  B.SetButtonStyle(TOnOffButStyle(Data[0] % 25));
  Application->ProcessMessages();
  B.Repaint();
  return 0;
}
