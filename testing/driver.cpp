#include "kvl/testing/driver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

// The key of a US layout that types Ch, and whether Shift is needed.
struct TKeyStroke {
  std::uint16_t Key = 0;
  bool Shift = false;
};

TKeyStroke KeyFor(char32_t Ch) {
  if (Ch >= 'a' && Ch <= 'z') return {std::uint16_t(Ch - 'a' + 'A'), false};
  if (Ch >= 'A' && Ch <= 'Z') return {std::uint16_t(Ch), true};
  if (Ch >= '0' && Ch <= '9') return {std::uint16_t(Ch), false};
  static constexpr std::string_view ShiftedDigits = ")!@#$%^&*(";
  if (Ch < 128) {
    if (const auto P = ShiftedDigits.find(char(Ch)); P != std::string_view::npos)
      return {std::uint16_t('0' + P), true};
  }
  struct TPunct {
    char Plain, Shifted;
    std::uint16_t Key;
  };
  static constexpr TPunct Punct[] = {{';', ':', vk::OemSemicolon},  {'=', '+', vk::OemPlus},
                                     {',', '<', vk::OemComma},      {'-', '_', vk::OemMinus},
                                     {'.', '>', vk::OemPeriod},     {'/', '?', vk::OemSlash},
                                     {'`', '~', vk::OemTilde},      {'[', '{', vk::OemOpenBracket},
                                     {'\\', '|', vk::OemBackslash}, {']', '}', vk::OemCloseBracket},
                                     {'\'', '"', vk::OemQuote}};
  for (const TPunct& P : Punct) {
    if (Ch == char32_t(P.Plain)) return {P.Key, false};
    if (Ch == char32_t(P.Shifted)) return {P.Key, true};
  }
  switch (Ch) {
    case ' ':
      return {vk::Space, false};
    case '\t':
      return {vk::Tab, false};
    case '\r':
    case '\n':
      return {vk::Return, false};
    case 8:
      return {vk::Back, false};
    case 27:
      return {vk::Escape, false};
    default:
      return {0, false};  // a character no US key types: delivered as text only
  }
}

TShiftState ModifierOf(std::uint16_t Key) {
  switch (Key) {
    case vk::Shift:
      return ssShift;
    case vk::Control:
      return ssCtrl;
    case vk::Menu:
      return ssAlt;
    default:
      return 0;
  }
}

}  // namespace

TDriver::TDriver() {
  auto Host = std::make_unique<THeadlessHost>();
  FHost = Host.get();
  Application->SetHost(std::move(Host));
  // Each script is taken off the queue before it runs: a loop it opens gets the next one.
  Application->OnModalShown = [this](TCustomForm& Form) {
    if (const TScript S = TakeScript(false); S.Modal) S.Modal(Form);
  };
  Application->OnPopupShown = [this](TPopupWindow& Popup) {
    if (const TScript S = TakeScript(true); S.Popup) S.Popup(Popup);
  };
}

TDriver::~TDriver() {
  Application->OnModalShown = nullptr;
  Application->OnPopupShown = nullptr;
  if (!FScripts.empty())
    ADD_FAILURE() << FScripts.size() << " script(s) queued by WhenModal or WhenPopup never ran";
}

void TDriver::WhenModal(TModalScript Script) { FScripts.push_back({std::move(Script), {}}); }
void TDriver::WhenPopup(TPopupScript Script) { FScripts.push_back({{}, std::move(Script)}); }

TDriver::TScript TDriver::TakeScript(bool ForPopup) {
  for (auto It = FScripts.begin(); It != FScripts.end(); ++It)
    if (bool(It->Popup) == ForPopup) {
      TScript S = std::move(*It);
      FScripts.erase(It);
      return S;
    }
  return {};
}

TPopupWindow* TDriver::TopPopup() const {
  return Popups().empty() ? nullptr : Popups().back();
}

TCustomForm& TDriver::Shown(TControl& C) {
  TCustomForm* F = C.GetParentForm();
  if (!F) throw EInvalidOperation("The control is not on a form");
  if (F->GetWindowKind() != TWindowKind::Normal && !F->GetVisible())
    throw EInvalidOperation("The popup is closed");
  if (!F->GetVisible()) F->Show();
  return *F;
}

void TDriver::PostMouse(THostEventKind Kind, TControl& C, int X, int Y, TMouseButton Button,
                        int Delta) {
  TCustomForm& F = Shown(C);
  const TPoint P = C.ClientToForm({X, Y});
  THostEvent E;
  E.Kind = Kind;
  E.Window = F.GetWindow();
  E.X = P.X;
  E.Y = P.Y;
  E.Button = Button;
  E.Shift = FModifiers | FButtons;
  E.WheelDelta = Delta;
  FHost->Post(E);
  Application->ProcessMessages();
}

void TDriver::MouseDown(TControl& C, int X, int Y, TMouseButton Button) {
  PostMouse(THostEventKind::MouseDown, C, X, Y, Button, 0);
  FButtons |= ButtonShift(Button);
}

void TDriver::MouseMove(TControl& C, int X, int Y) {
  PostMouse(THostEventKind::MouseMove, C, X, Y, mbLeft, 0);
}

void TDriver::MouseUp(TControl& C, int X, int Y, TMouseButton Button) {
  PostMouse(THostEventKind::MouseUp, C, X, Y, Button, 0);
  FButtons &= static_cast<TShiftState>(~ButtonShift(Button));
}

void TDriver::Click(TControl& C, int X, int Y, TMouseButton Button) {
  MouseMove(C, X, Y);
  MouseDown(C, X, Y, Button);
  MouseUp(C, X, Y, Button);
}

void TDriver::DblClick(TControl& C, int X, int Y) {
  Click(C, X, Y);
  Click(C, X, Y);
}

void TDriver::Wheel(TControl& C, int X, int Y, int Delta) {
  PostMouse(THostEventKind::MouseWheel, C, X, Y, mbLeft, Delta);
}

void TDriver::WindowEvent(TCustomForm& Form, THostEventKind Kind) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = Shown(Form).GetWindow();
  FHost->Post(E);
  Application->ProcessMessages();
}

void TDriver::PostKey(THostEventKind Kind, TCustomForm& Form, std::uint16_t Key,
                      std::string_view Text) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = Shown(Form).GetWindow();
  E.Key = Key;
  E.Shift = FModifiers | FButtons;
  E.Text = std::string(Text);
  FHost->Post(E);
  Application->ProcessMessages();
}

void TDriver::KeyDown(TCustomForm& Form, std::uint16_t Key, std::string_view Text) {
  PostKey(THostEventKind::KeyDown, Form, Key, Text);
  FModifiers |= ModifierOf(Key);
}

void TDriver::KeyUp(TCustomForm& Form, std::uint16_t Key) {
  FModifiers &= static_cast<TShiftState>(~ModifierOf(Key));
  PostKey(THostEventKind::KeyUp, Form, Key, {});
}

void TDriver::Press(TCustomForm& Form, std::uint16_t Key, std::string_view Text) {
  KeyDown(Form, Key, Text);
  KeyUp(Form, Key);
}

void TDriver::Type(TCustomForm& Form, std::string_view Text) {
  std::size_t Pos = 0;
  while (Pos < Text.size()) {
    int Len = 1;
    const char32_t Ch = Utf8Decode(Text, Pos, &Len);
    const std::string_view One = Text.substr(Pos, std::size_t(std::max(Len, 1)));
    Pos += One.size();
    const TKeyStroke K = KeyFor(Ch);
    const bool AddShift = K.Shift && !(FModifiers & ssShift);
    if (AddShift) KeyDown(Form, vk::Shift);
    Press(Form, K.Key, Ch == '\n' ? std::string_view("\r") : One);
    if (AddShift) KeyUp(Form, vk::Shift);
  }
}

void TDriver::AdvanceTime(int Ms) { AdvanceHeadlessTime(*FHost, Ms); }

TBitmap TDriver::Capture(TControl& C) {
  Application->ProcessMessages();
  TBitmap Shot;
  TCustomForm* F = C.GetParentForm();
  if (!F) return Shot;
  const TPoint O = C.ClientToForm({0, 0});
  const int Inset = C.IsWindowed() ? static_cast<TWinControl&>(C).GetBorderInset() : 0;
  const TRect R = Rect(0, 0, C.GetWidth(), C.GetHeight()).Offset(O.X - Inset, O.Y - Inset);
  Shot.SetSize(R.Width(), R.Height());
  Shot.GetCanvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), *F->GetBackBuffer().GetCanvas(), R);
  return Shot;
}

void TDriver::SavePng(TControl& C, const std::string& Path) { Capture(C).SaveToPngFile(Path); }

}  // namespace kvl
