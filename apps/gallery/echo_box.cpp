#include "echo_box.h"

#include "kvl/core/drawing.h"
#include "kvl/core/stringl.h"
#include "kvl/platform/clipboard.h"

namespace kvl::gallery {

TEchoBox::TEchoBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 240, 24);
  SetCursor(crIBeam);
}

void TEchoBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!(Shift & ssCtrl)) return;
  if (Key == 'C') Clipboard().SetAsText(GetText());
  if (Key == 'V' && Clipboard().HasFormat(cfText))
    SetText(RemoveControlChars(GetText() + Clipboard().GetAsText()));
}

void TEchoBox::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 8) {
    const int N = Utf8Length(GetText());
    if (N > 0) SetText(Utf8Left(GetText(), N - 1));
  } else if (Key >= 32 && Key != 127) {
    SetText(GetText() + Utf8Encode(Key));
  }
}

void TEchoBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TEchoBox::Paint() {
  TCanvas& C = *GetCanvas();
  const int W = GetClientWidth(), H = GetClientHeight();
  DrawFrame(C, fsLowered, 0, 0, W - 1, H - 1, clBtnHighlight, clBtnFace, clBtnShadow, clBlack,
            clBlack);
  C.SetFont(GetFont());
  C.GetBrush().SetColor(clWindow);
  const TRect Inside = Rect(2, 2, W - 2, H - 2);
  const int Y = (H - C.TextHeight("Ag")) / 2;
  C.TextRect(Inside, 5, Y, GetText());
  if (Focused()) {
    // A steady caret: the page looks the same whenever it is captured.
    const int X = 5 + C.TextWidth(GetText());
    C.GetPen().SetColor(clWindowText);
    C.MoveTo(X, Y);
    C.LineTo(X, Y + C.TextHeight("Ag"));
  }
}

}  // namespace kvl::gallery
