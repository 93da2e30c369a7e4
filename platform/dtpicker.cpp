#include "kvl/platform/dtpicker.h"

#include <algorithm>
#include <cmath>

#include "kvl/platform/application.h"
#include "kvl/platform/dtcalendar.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int TextMargin = 2;
constexpr int DropDownButtonWidth = 17;
constexpr int UpDownWidth = 15;

bool IsNameField(const TDtToken& T) {
  return T.Field == TDtField::Weekday || (T.Field == TDtField::Month && T.Letters >= 3);
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetDefaultColor(clWindow);
  SetBorderInset(2);
  FUpDown = new TUpDown(this);
  FUpDown->SetParent(this);
  FUpDown->SetMax(0);
  FUpDown->OnClick = [this](TObject*, TUDBtnType Button) {
    if (CanFocus() && !Focused()) SetFocus();
    StepField(Button == btNext ? 1 : -1);
  };
  FDateTime = Now();
  Rebuild();
}

TDateTimePicker::~TDateTimePicker() {
  // An open calendar closes without telling a picker that is half gone.
  if (!FCalendar) return;
  FCalendar->OnClosePopup = nullptr;
  FCalendar->OnPick = nullptr;
  delete FCalendar;
}

// --- Properties -----------------------------------------------------------------------------

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (!StoreIfChanged(FKind, Value)) return;
  SetDroppedDown(false);
  Rebuild();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
  if (!StoreIfChanged(FDateMode, Value)) return;
  SetDroppedDown(false);
  Rebuild();
}

void TDateTimePicker::SetFormat(const std::string& Value) {
  FFormat = Value;
  Rebuild();
}

void TDateTimePicker::Rebuild() {
  FTokens = ParseDtFormat(!FFormat.empty()  ? FFormat
                          : FKind == dtkDate ? "yyyy-MM-dd"
                                             : "HH:mm:ss");
  FFields.clear();
  for (int I = 0; I < static_cast<int>(FTokens.size()); ++I)
    if (FTokens[std::size_t(I)].Field != TDtField::Literal) FFields.push_back(I);
  FField = FFields.empty() ? -1 : std::clamp(FField, 0, GetFieldCount() - 1);
  FDigits.Reset();
  FNames.Reset();
  FUpDown->SetVisible(!HasCalendar());
  FUpDown->SetBoundsRect(HasCalendar() ? TRect{} : ButtonRect());
  UpdateText();
}

void TDateTimePicker::UpdateText() {
  TControl::SetText(FormatDtTokens(FTokens, Parts()));
  Invalidate();
}

TDateTimeParts TDateTimePicker::Parts() const {
  // Only decodable values are ever stored.
  return DecodeDateTime(FDateTime).value_or(TDateTimeParts{1899, 12, 30, 7});
}

TDateTime TDateTimePicker::Clamped(TDateTime Value) const {
  const auto P = DecodeDateTime(Value);
  if (!P) return Value;
  const auto [Lo, Hi] = DayLimits(FMinDate, FMaxDate);
  const TDateTime Day = DateOf(Value);
  if (Day >= Lo && Day <= Hi) return Value;
  // The date moves to the limit; the time of day stays.
  TDateTimeParts Out = *P;
  DecodeDate(Day < Lo ? Lo : Hi, Out.Year, Out.Month, Out.Day);
  TDateTime V = Value;
  TryEncodeParts(Out, V);
  return V;
}

bool TDateTimePicker::Store(TDateTime Value) {
  Value = Clamped(Value);
  if (Value == FDateTime) return false;
  FDateTime = Value;
  UpdateText();
  return true;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  if (DecodeDateTime(Value)) Store(Value);
}

TDateTime TDateTimePicker::GetDate() const { return DateOf(FDateTime); }

TDateTime TDateTimePicker::GetTime() const { return TimeOf(FDateTime); }

void TDateTimePicker::SetDate(TDateTime Value) {
  TDateTimeParts P = Parts();
  TDateTime V;
  if (DecodeDate(Value, P.Year, P.Month, P.Day) && TryEncodeParts(P, V)) Store(V);
}

void TDateTimePicker::SetTime(TDateTime Value) {
  TDateTimeParts P = Parts();
  TDateTime V;
  if (DecodeTime(Value, P.Hour, P.Minute, P.Second, P.MilliSecond) && TryEncodeParts(P, V))
    Store(V);
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
  if (Value != 0 && !DecodeDateTime(Value)) return;
  FMinDate = Value;
  Store(FDateTime);
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
  if (Value != 0 && !DecodeDateTime(Value)) return;
  FMaxDate = Value;
  Store(FDateTime);
}

// --- Fields ---------------------------------------------------------------------------------

void TDateTimePicker::SetFieldIndex(int Index) {
  if (Index < 0 || Index >= GetFieldCount()) return;
  FDigits.Reset();
  FNames.Reset();
  if (Index == FField) return;
  FField = Index;
  Invalidate();
}

const TDtToken* TDateTimePicker::FocusedToken() const {
  return FField < 0 ? nullptr : &FTokens[std::size_t(FFields[std::size_t(FField)])];
}

void TDateTimePicker::MoveField(int Delta) {
  if (FField >= 0) SetFieldIndex(std::clamp(FField + Delta, 0, GetFieldCount() - 1));
}

void TDateTimePicker::UserChange(const TDateTimeParts& P) {
  TDateTime V;
  if (TryEncodeParts(P, V)) UserChange(V);
}

void TDateTimePicker::UserChange(TDateTime Value) {
  if (Store(Value)) Change();
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::StepField(int Delta) {
  const TDtToken* T = FocusedToken();
  if (!T) return;
  FDigits.Reset();
  FNames.Reset();
  UserChange(StepDtField(Parts(), T->Field, Delta));
}

void TDateTimePicker::TypeName(char32_t Key) {
  const TDtToken& T = *FocusedToken();
  const bool Month = T.Field == TDtField::Month;
  TDateTimeParts P = Parts();
  const int Count = Month ? 12 : 7;
  const int Current = Month ? P.Month - 1 : IsoWeekday(P) - 1;
  const int I = FNames.KeyTyped(Key, Application->GetHost().Now(), Current, Count, [&](int N) {
    return std::string(Month ? MonthName(N + 1, false) : WeekdayName(N + 1, false));
  });
  if (I < 0) return;
  if (Month) {
    P.Month = I + 1;
    P.Day = std::min(P.Day, DaysInMonth(P.Year, P.Month));
    UserChange(P);
  } else {
    UserChange(StepDtField(P, TDtField::Weekday, I - Current));
  }
}

// --- Keyboard -------------------------------------------------------------------------------

bool TDateTimePicker::WantsKey(std::uint16_t Key, TShiftState Shift) const {
  switch (Key) {
    case vk::Left:
    case vk::Right:
    case vk::Up:
    case vk::Down:
      return true;
    case vk::Return:
    case vk::Escape:
    case vk::Tab:
      return GetDroppedDown();
    default:
      return TCustomControl::WantsKey(Key, Shift);
  }
}

void TDateTimePicker::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  const bool Alt = (Shift & ssAlt) != 0;
  if ((Key == vk::F4 && !Alt) || (Key == vk::Down && Alt)) {
    if (HasCalendar()) {
      SetDroppedDown(true);
      Key = 0;
    }
    return;
  }
  if (Shift & (ssAlt | ssCtrl)) return;
  const TDtToken* T = FocusedToken();
  switch (Key) {
    case vk::Left:
    case vk::Right:
      MoveField(Key == vk::Left ? -1 : 1);
      break;
    case vk::Up:
    case vk::Down:
      StepField(Key == vk::Up ? 1 : -1);
      break;
    case vk::Home:
    case vk::End:
      if (!T) return;
      FDigits.Reset();
      FNames.Reset();
      UserChange(FirstOrLastDtField(Parts(), T->Field, Key == vk::End));
      break;
    default:
      return;
  }
  Key = 0;
}

void TDateTimePicker::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  const TDtToken* T = FocusedToken();
  if (Key == 0 || !T) return;
  if (Key >= '0' && Key <= '9') {
    FNames.Reset();
    TDateTimeParts Out;
    bool Done = false;
    if (FDigits.Add(*T, Parts(), int(Key - '0'), Out, Done)) UserChange(Out);
    if (Done) MoveField(1);
    return;
  }
  const char32_t Lower = Key >= 'A' && Key <= 'Z' ? Key + 32 : Key;
  if (T->Field == TDtField::HalfDay && (Lower == 'a' || Lower == 'p')) {
    TDateTimeParts P = Parts();
    P.Hour = P.Hour % 12 + (Lower == 'p' ? 12 : 0);
    UserChange(P);
  } else if (IsNameField(*T) && Lower >= 'a' && Lower <= 'z') {
    TypeName(Key);
  }
}

// --- Mouse and focus ------------------------------------------------------------------------

TRect TDateTimePicker::ButtonRect() const {
  const TRect C = GetClientRect();
  const int W = HasCalendar() ? DropDownButtonWidth : UpDownWidth;
  return Rect(std::max(C.Right - W, 0), 0, C.Right, C.Bottom);
}

int TDateTimePicker::TextLeft() const { return TextMargin; }

TRect TDateTimePicker::FieldRect(int Index) const {
  if (Index < 0 || Index >= GetFieldCount()) return {};
  const TDateTimeParts P = Parts();
  const int Token = FFields[std::size_t(Index)];
  int X = TextLeft();
  for (int I = 0; I < Token; ++I) X += TextAdvance(GetFont(), FormatDtToken(FTokens[std::size_t(I)], P));
  const int W = TextAdvance(GetFont(), FormatDtToken(FTokens[std::size_t(Token)], P));
  return Rect(X, 0, X + W, GetClientHeight());
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus() && !Focused()) SetFocus();
  if (HasCalendar() && ButtonRect().Contains({X, Y})) {
    FButtonDown = true;
    Invalidate();
    SetDroppedDown(!GetDroppedDown());
    return;
  }
  // A press on a field focuses it; between fields or beyond the text, the one before.
  const TDateTimeParts P = Parts();
  int Left = TextLeft(), Field = -1, Hit = 0;
  for (std::size_t I = 0; I < FTokens.size() && Left <= X; ++I) {
    if (FTokens[I].Field != TDtField::Literal) Hit = ++Field;
    Left += TextAdvance(GetFont(), FormatDtToken(FTokens[I], P));
  }
  SetFieldIndex(Hit);
}

void TDateTimePicker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FButtonDown) {
    FButtonDown = false;
    Invalidate();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TDateTimePicker::MouseCaptureLost() {
  TCustomControl::MouseCaptureLost();
  FButtonDown = false;
  Invalidate();
}

void TDateTimePicker::FocusIn() { Invalidate(); }

void TDateTimePicker::FocusOut() {
  FDigits.Reset();
  FNames.Reset();
  SetDroppedDown(false);
  Invalidate();
}

// --- The calendar ---------------------------------------------------------------------------

TDtCalendar* TDateTimePicker::GetCalendar() const {
  return FCalendar && FCalendar->IsOpen() ? FCalendar : nullptr;
}

void TDateTimePicker::SetDroppedDown(bool Value) {
  if (!Value) {
    if (GetCalendar()) FCalendar->ClosePopup();
    return;
  }
  if (!HasCalendar() || GetDroppedDown() || !IsShowing() || !IsEnabledInTree()) return;
  DropDown();
  // The handler may have hidden or disabled the picker.
  if (!IsShowing() || !IsEnabledInTree() || GetDroppedDown()) return;
  if (!FCalendar) {
    FCalendar = new TDtCalendar(this);
    FCalendar->OnPick = [this](TDateTime Day) { CalendarPicked(Day); };
    FCalendar->OnClosePopup = [this](TObject*) { CalendarClosed(); };
  }
  FCalendar->SetFont(GetFont());
  FCalendar->Open(*this, FDateTime, FMinDate, FMaxDate);
  Invalidate();
}

void TDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  // The application frees every form it knows at its end, popups included.
  if (Operation == opRemove && AComponent == FCalendar) FCalendar = nullptr;
}

void TDateTimePicker::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::CalendarClosed() {
  FButtonDown = false;
  Invalidate();
  CloseUp();
}

void TDateTimePicker::CalendarPicked(TDateTime Day) {
  TDateTimeParts P = Parts();
  if (DecodeDate(Day, P.Year, P.Month, P.Day)) UserChange(P);
}

// --- Painting -------------------------------------------------------------------------------

void TDateTimePicker::SizeChanged(int OldWidth, int OldHeight) {
  TCustomControl::SizeChanged(OldWidth, OldHeight);
  if (FUpDown && !HasCalendar()) FUpDown->SetBoundsRect(ButtonRect());
}

void TDateTimePicker::FontChanged() {
  TCustomControl::FontChanged();
  Invalidate();
}

void TDateTimePicker::PaintBorder(TCanvas& C) {
  DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
}

void TDateTimePicker::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect Client = GetClientRect();
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(Client);
  C.SetFont(GetFont());
  TRect TextArea = Client;
  TextArea.Right = ButtonRect().Left;
  const int H = C.TextHeight("Ag");
  const int Y = std::max((Client.Height() - H) / 2, 0);
  const TDateTimeParts P = Parts();
  const bool ShowField = Focused() && IsEnabledInTree();
  int X = TextLeft();
  for (int I = 0; I < static_cast<int>(FTokens.size()) && X < TextArea.Right; ++I) {
    const std::string S = FormatDtToken(FTokens[std::size_t(I)], P);
    const int W = C.TextWidth(S);
    if (ShowField && FField >= 0 && FFields[std::size_t(FField)] == I) {
      C.GetBrush().SetColor(clHighlight);
      C.GetFont().SetColor(clHighlightText);
      C.TextRect(Rect(X, Y, X + W, Y + H).Intersect(TextArea), X, Y, S);
    } else {
      C.GetBrush().SetStyle(bsClear);
      C.GetFont().SetColor(GetShownFontColor());
      C.TextRect(TextArea, X, Y, S);
    }
    X += W;
  }
  if (HasCalendar())
    DrawDropDownButton(C, ButtonRect(), FButtonDown || GetDroppedDown(), IsEnabledInTree());
}

}  // namespace kvl
