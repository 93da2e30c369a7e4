// TCustomLabel: a caption drawn on the parent, with auto-size, alignment, layout and wrapping.
#include <algorithm>
#include <vector>

#include "kvl/platform/scoped_value.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

namespace {

// The caption's lines: broken at line feeds, and with Wrap at blanks so that a line fits
// MaxWidth (a word wider than that stands on a line of its own).
std::vector<std::string> LabelLines(TCanvas& C, const std::string& Text, bool Wrap, int MaxWidth) {
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  while (true) {
    const std::size_t Br = Text.find('\n', Start);
    std::string Para = Text.substr(Start, Br == std::string::npos ? std::string::npos : Br - Start);
    if (!Para.empty() && Para.back() == '\r') Para.pop_back();
    if (!Wrap || C.TextWidth(Para) <= MaxWidth) {
      Lines.push_back(Para);
    } else {
      std::string Line;
      std::size_t I = 0;
      while (I < Para.size()) {
        // The next word with the blanks before it.
        std::size_t J = Para.find_first_not_of(' ', I);
        if (J == std::string::npos) J = Para.size();
        std::size_t K = Para.find(' ', J);
        if (K == std::string::npos) K = Para.size();
        const std::string Blanks = Para.substr(I, J - I), Word = Para.substr(J, K - J);
        if (!Line.empty() && C.TextWidth(Line + Blanks + Word) > MaxWidth) {
          Lines.push_back(Line);
          Line = Word;  // blanks at a break vanish
        } else {
          Line += Blanks + Word;
        }
        I = K;
      }
      Lines.push_back(Line);
    }
    if (Br == std::string::npos) break;
    Start = Br + 1;
  }
  return Lines;
}

}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
  AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TCustomLabel::Click() {
  if (FFocusControl) FFocusControl->SetFocus();
  TGraphicControl::Click();
}

void TCustomLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::DoDrawText(TRect& R, unsigned Flags) {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const bool Measure = (Flags & ldfCalcRect) != 0;
  // An empty caption still measures one line, so that an auto-sized label keeps its height.
  const std::string& Caption = GetCaption();
  const std::string Text = Measure && Caption.empty() ? std::string(" ") : Caption;
  const std::vector<std::string> Lines = LabelLines(C, Text, (Flags & ldfWordWrap) != 0, R.Width());
  const int H = C.TextHeight("Ag");
  if (Measure) {
    int W = 0;
    for (const std::string& L : Lines) W = std::max(W, C.TextWidth(L));
    R.Right = R.Left + W;
    R.Bottom = R.Top + H * int(Lines.size());
    return;
  }
  C.GetBrush().SetStyle(bsClear);
  int Y = R.Top;
  for (const std::string& L : Lines) {
    const int W = C.TextWidth(L);
    int X = R.Left;
    if (FAlignment == taRightJustify) X = R.Right - W;
    if (FAlignment == taCenter) X = R.Left + (R.Width() - W) / 2;
    if (IsEnabledInTree())
      C.TextOut(X, Y, L);
    else
      DrawEmbossedText(C, X, Y, L);
    Y += H;
  }
}

void TCustomLabel::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect Client = GetClientRect();
  if (!FTransparent) {
    C.GetBrush().SetColor(GetColor());
    C.FillRect(Client);
  }
  TRect R = Client;
  const unsigned Wrap = FWordWrap ? ldfWordWrap : 0u;
  if (FLayout != tlTop) {
    TRect M = Client;
    DoDrawText(M, ldfCalcRect | Wrap);
    const int Free = Client.Height() - M.Height();
    R.Top += FLayout == tlCenter ? Free / 2 : Free;
  }
  DoDrawText(R, Wrap);
}

void TCustomLabel::SizeChanged(int OldWidth, int OldHeight) {
  TGraphicControl::SizeChanged(OldWidth, OldHeight);
  if (FWordWrap && GetWidth() != OldWidth) AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading() || FAdjusting) return;
  const TScopedValue<bool> Guard(FAdjusting, true);
  // Starting from the present bounds, a measuring step that leaves R alone keeps the size.
  TRect R = Rect(0, 0, GetWidth(), GetHeight());
  DoDrawText(R, ldfCalcRect | (FWordWrap ? ldfWordWrap : 0u));
  const int W = FWordWrap ? GetWidth() : R.Width();
  // A right-aligned label keeps its right edge where it is.
  const int X = FAlignment == taRightJustify ? GetLeft() + GetWidth() - W : GetLeft();
  SetBounds(X, GetTop(), W, R.Height());
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = Value;
  // The control may go before the label: the label must then forget it.
  if (Value) FreeNotification(Value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

}  // namespace kvl
