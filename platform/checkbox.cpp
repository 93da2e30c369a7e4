// TCustomCheckBox and TRadioButton: a caption beside a square or round box that clicks toggle.
#include <algorithm>
#include <string>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/wordwrap.h"

namespace kvl {

namespace {
constexpr int BoxSize = 13;
constexpr int CaptionGap = 4;  // between the box and the caption
}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (StoreIfChanged(FState, Value)) Invalidate();
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (StoreIfChanged(FAlignment, Value)) Invalidate();
}

void TCustomCheckBox::SetWordWrap(bool Value) {
  if (StoreIfChanged(FWordWrap, Value)) Invalidate();
}

void TCustomCheckBox::Click() {
  if (FAllowGrayed)
    SetState(FState == cbUnchecked ? cbChecked : FState == cbChecked ? cbGrayed : cbUnchecked);
  else
    SetState(FState == cbChecked ? cbUnchecked : cbChecked);
  TWinControl::Click();
}

void TCustomCheckBox::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect R = GetClientRect();
  const bool Enabled = IsEnabledInTree();
  const bool BoxLeft = FAlignment != taLeftJustify;
  PaintBox(C, BoxLeft ? R.Left : R.Right - BoxSize, R.Top + (R.Height() - BoxSize) / 2, Enabled);

  C.SetFont(GetFont());
  C.GetBrush().SetStyle(bsClear);
  const int X = BoxLeft ? R.Left + BoxSize + CaptionGap : R.Left;
  const int Right = BoxLeft ? R.Right : R.Right - BoxSize - 1;
  // The caption's lines stand centred as a block beside the box.
  const std::vector<std::string> Lines =
      WrapTextLines(C, GetCaption(), FWordWrap, Right - CaptionGap / 2 - X);
  const int LineHeight = C.TextHeight("Ag");
  const int Y = R.Top + (R.Height() - LineHeight * int(Lines.size())) / 2;
  int Width = 0;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    const int LineY = Y + LineHeight * int(I);
    if (Enabled)
      C.TextOut(X, LineY, Lines[I]);
    else
      DrawEmbossedText(C, X, LineY, Lines[I]);
    Width = std::max(Width, C.TextWidth(Lines[I]));
  }
  if (Focused()) {
    const int Bottom = Y + LineHeight * int(Lines.size());
    C.DrawFocusRect(Rect(std::max(X - 1, R.Left), std::max(Y - 1, R.Top),
                         std::min(X + Width + 1, Right), std::min(Bottom + 1, R.Bottom)));
  }
}

void TCustomCheckBox::PaintBox(TCanvas& C, int X, int Y, bool Enabled) {
  DrawSunkenFrame(C, Rect(X, Y, X + BoxSize, Y + BoxSize));
  // Held, disabled and grayed boxes lose the window colour inside.
  const bool Plain = Enabled && !GetDown() && FState != cbGrayed;
  C.GetBrush().SetStyle(bsSolid);
  C.GetBrush().SetColor(Plain ? clWindow : clBtnFace);
  C.FillRect(Rect(X + 2, Y + 2, X + BoxSize - 2, Y + BoxSize - 2));
  if (FState != cbUnchecked)
    DrawCheckMark(C, X + 3, Y + 3, Enabled && FState == cbChecked ? clWindowText : clBtnShadow);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TCustomCheckBox(AOwner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetState(TCheckBoxState Value) {
  const bool Was = GetChecked();
  TCustomCheckBox::SetState(Value == cbUnchecked ? cbUnchecked : cbChecked);
  if (Was || !GetChecked() || !GetParent()) return;
  TButtonPressedMessage M;
  M.Button = this;
  GetParent()->Broadcast(M);
}

void TRadioButton::HandleMessage(TControlMessage& M) {
  auto* Pressed = dynamic_cast<TButtonPressedMessage*>(&M);
  if (!Pressed || Pressed->Button == this || !dynamic_cast<TRadioButton*>(Pressed->Button)) return;
  SetChecked(false);
}

void TRadioButton::Click() {
  SetChecked(true);
  TWinControl::Click();
}

std::vector<TRadioButton*> TRadioButton::Group() const {
  std::vector<TRadioButton*> Out;
  if (!GetParent()) return Out;
  for (int I = 0; I < GetParent()->GetControlCount(); ++I) {
    auto* B = dynamic_cast<TRadioButton*>(GetParent()->GetControls(I));
    if (B && B->GetVisible() && B->GetEnabled()) Out.push_back(B);
  }
  std::stable_sort(Out.begin(), Out.end(), [](const TRadioButton* A, const TRadioButton* B) {
    return A->GetTabOrder() < B->GetTabOrder();
  });
  return Out;
}

bool TRadioButton::IsTabStopNow() const {
  if (!GetTabStop()) return false;
  if (GetChecked()) return true;
  const std::vector<TRadioButton*> G = Group();
  const bool AnyChecked = std::any_of(G.begin(), G.end(), [](auto* B) { return B->GetChecked(); });
  return !AnyChecked && !G.empty() && G.front() == this;
}

bool TRadioButton::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key == vk::Left || Key == vk::Right || Key == vk::Up || Key == vk::Down;
}

void TRadioButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomCheckBox::KeyDown(Key, Shift);
  if (!WantsKey(Key, Shift)) return;
  const std::vector<TRadioButton*> G = Group();
  const auto It = std::find(G.begin(), G.end(), this);
  if (It == G.end()) return;
  const int N = static_cast<int>(G.size());
  const int I = static_cast<int>(It - G.begin());
  const bool Forward = Key == vk::Right || Key == vk::Down;
  TRadioButton* Next = G[std::size_t(Forward ? (I + 1) % N : (I + N - 1) % N)];
  Next->SetFocus();
  Next->Click();
}

void TRadioButton::PaintBox(TCanvas& C, int X, int Y, bool Enabled) {
  DrawRadioFrame(C, X, Y, Enabled && !GetDown() ? clWindow : clBtnFace);
  if (GetChecked()) DrawRadioDot(C, X + 4, Y + 4, Enabled ? clWindowText : clBtnShadow);
}

}  // namespace kvl
