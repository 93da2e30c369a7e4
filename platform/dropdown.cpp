#include "kvl/platform/dropdown.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/scrollbars.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

bool SameAsciiCase(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           const auto L = [](char C) { return C >= 'A' && C <= 'Z' ? char(C + 32) : C; };
           return L(X) == L(Y);
         });
}

}  // namespace

// The rows inside a 1-pixel frame, with the scroll bar in the non-client area when needed.
class TDropDownList::TView : public TCustomControl {
public:
  TView(TDropDownList& List) : TCustomControl(&List), FList(List), Bar(*this, sbVertical) {
    SetParent(&List);
    SetAlign(alClient);
    SetBorderInset(1);
    SetColor(clWindow);
    Bar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) {
      const int Rows = FList.GetRowCount(), Top = FList.FTopIndex;
      switch (Code) {
        case scLineUp:
          FList.ScrollTo(Top - 1);
          break;
        case scLineDown:
          FList.ScrollTo(Top + 1);
          break;
        case scPageUp:
          FList.ScrollTo(Top - Rows);
          break;
        case scPageDown:
          FList.ScrollTo(Top + Rows);
          break;
        case scTrack:
        case scPosition:
          FList.ScrollTo(int(Pos));
          break;
        default:
          break;
      }
    };
  }

  void SetBounds(int L, int T, int W, int H) override {
    TCustomControl::SetBounds(L, T, W, H);
    PlaceBar();
  }
  void PlaceBar() {
    const bool Needed = FList.Rows().GetCount() > FList.GetRowCount();
    SetScrollBarInsets(Needed ? TScrollBarPart::Thickness : 0, 0);
    const int W = GetWidth(), H = GetHeight();
    Bar.SetBounds(Needed ? Rect(W - 1 - TScrollBarPart::Thickness, 1, W - 1, H - 1) : TRect{});
    Bar.SetParams(0, std::max(FList.Rows().GetCount() - FList.GetRowCount(), 0),
                  FList.GetRowCount());
    Bar.SetPosition(FList.FTopIndex);
  }
  int RowAt(int Y) const {
    if (Y < 0 || Y >= GetClientHeight()) return -1;
    const int I = FList.FTopIndex + Y / std::max(FList.FItemHeight, 1);
    return I < FList.Rows().GetCount() ? I : -1;
  }

  void Paint() override {
    TListRowsView V;
    V.Client = GetClientRect();
    V.Count = FList.Rows().GetCount();
    V.TopIndex = FList.FTopIndex;
    V.ItemHeight = std::max(FList.FItemHeight, 1);
    TListRowsLook Look;
    Look.Font = &FList.GetFont();
    Look.Color = FList.GetColor();
    Look.FontColor = FList.GetFont().GetColor();
    TCanvas& C = *GetCanvas();
    PaintListRows(
        C, V, Look, [this](int I) { return I == FList.FItemIndex; },
        [this, &C](int I, const TRect& R, TOwnerDrawState) {
          if (FList.OnDrawItem)
            FList.OnDrawItem(&FList, C, I, R, I == FList.FItemIndex);
          else
            C.TextRect(R, R.Left + 2, R.Top + 1, FList.Rows().GetStrings(I));
        });
  }
  void PaintBorder(TCanvas& C) override {
    C.GetBrush().SetColor(clWindowFrame);
    C.FrameRect(Rect(0, 0, GetWidth(), GetHeight()));
    Bar.Paint(C);
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FList.FPressOver = false;
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState, int, int Y) override {
    if (const int I = RowAt(Y); I >= 0) FList.SetItemIndex(I);
  }
  void MouseUp(TMouseButton Button, TShiftState, int X, int Y) override {
    const int I = RowAt(Y);
    if (Button != mbLeft || FList.FPressOver) return;
    if (I >= 0 && X >= 0 && X < GetClientWidth()) FList.Choose(I);
  }
  void NonClientMouseDown(TMouseButton, TShiftState, int X, int Y) override { Bar.MouseDown(X, Y); }
  void NonClientMouseMove(TShiftState, int X, int Y) override { Bar.MouseMove(X, Y); }
  void NonClientMouseUp(TMouseButton, TShiftState, int X, int Y) override { Bar.MouseUp(X, Y); }
  void MouseCaptureLost() override {
    Bar.CancelPress();
    TCustomControl::MouseCaptureLost();
  }

  TDropDownList& FList;
  TScrollBarPart Bar;
};

TDropDownList::TDropDownList(TComponent* AOwner)
    : TPopupWindow(AOwner, pkDropDown), FItems(std::make_unique<TStringList>()) {
  SetColor(clWindow);
  GetFont().SetColor(clWindowText);
  MeasureItemHeight();
  FView = new TView(*this);
}

void TDropDownList::MeasureItemHeight() { FItemHeight = GetFontMetrics(GetFont()).Height + 2; }

void TDropDownList::FontChanged() {
  TPopupWindow::FontChanged();
  MeasureItemHeight();
  if (IsOpen()) Layout();
}

TDropDownList::~TDropDownList() = default;

TStrings& TDropDownList::GetItems() { return *FItems; }

void TDropDownList::SetItemsSource(const TStrings* Value) {
  FSource = Value;
  ItemsChanged();
}

void TDropDownList::ItemsChanged() {
  if (FItemIndex >= Rows().GetCount()) FItemIndex = -1;
  if (IsOpen()) Layout();
}

void TDropDownList::SetDropDownRows(int Value) {
  Value = std::clamp(Value, 1, 100);
  if (Value == FDropDownRows) return;
  FDropDownRows = Value;
  if (IsOpen()) Layout();
}

void TDropDownList::SetItemHeight(int Value) {
  FItemHeight = std::max(Value, 1);
  if (IsOpen()) Layout();
}

int TDropDownList::GetRowCount() const {
  const int ScreenRows = std::max((Application->GetHost().ScreenSize().cy - 2) / FItemHeight, 1);
  const int Shown = std::min({FDropDownRows, Rows().GetCount(), ScreenRows});
  return std::max(Shown, FShowEmptyRow ? 1 : 0);
}

void TDropDownList::SetItemIndex(int Value) {
  if (Value < -1 || Value >= Rows().GetCount()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  if (Value >= 0) {
    if (Value < FTopIndex) ScrollTo(Value);
    if (Value >= FTopIndex + GetRowCount()) ScrollTo(Value - GetRowCount() + 1);
  }
  FView->Invalidate();
}

void TDropDownList::ScrollTo(int Top) {
  Top = std::clamp(Top, 0, std::max(Rows().GetCount() - GetRowCount(), 0));
  if (Top == FTopIndex) return;
  FTopIndex = Top;
  FView->Bar.SetPosition(Top);
  FView->Invalidate();
}

void TDropDownList::Layout() {
  TControl* Owner = GetOwnerControl();
  if (!Owner) return;
  const TRect O = ScreenBoundsOf(*Owner);
  const TSize S{O.Width(), GetRowCount() * FItemHeight + 2};
  FTopIndex = std::clamp(FTopIndex, 0, std::max(Rows().GetCount() - GetRowCount(), 0));
  Popup(Owner, PlaceBelow(O, S, Application->GetHost().ScreenSize()));
  FView->PlaceBar();
  FView->Invalidate();
}

bool TDropDownList::DropDown(TControl& Owner, const std::string& Text) {
  int Found = -1;
  for (int I = 0; I < Rows().GetCount() && Found < 0; ++I)
    if (SameAsciiCase(Rows().GetStrings(I), Text)) Found = I;
  return DropDownAt(Owner, Found);
}

bool TDropDownList::DropDownAt(TControl& Owner, int Index) {
  if (Rows().GetCount() == 0 && !FShowEmptyRow) return false;
  FPressOver = false;
  FItemIndex = Index >= 0 && Index < Rows().GetCount() ? Index : -1;
  FTopIndex = 0;
  const TRect O = ScreenBoundsOf(Owner);
  const TSize S{O.Width(), GetRowCount() * FItemHeight + 2};
  Popup(&Owner, PlaceBelow(O, S, Application->GetHost().ScreenSize()));
  FView->PlaceBar();
  if (FItemIndex >= FTopIndex + GetRowCount()) ScrollTo(FItemIndex - GetRowCount() + 1);
  FView->Invalidate();
  return true;
}

void TDropDownList::MoveHighlight(int Delta) {
  const int N = Rows().GetCount();
  if (N == 0) return;
  const int From = FItemIndex < 0 ? (Delta > 0 ? -1 : N) : FItemIndex;
  SetItemIndex(std::clamp(From + Delta, 0, N - 1));
}

void TDropDownList::Choose(int Index) {
  CloseUp();
  if (OnChoose) OnChoose(this, Index);
}

bool TDropDownList::PopupKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Shift & (ssAlt | ssCtrl)) return false;
  const int Page = std::max(GetRowCount() - 1, 1);
  switch (Key) {
    case vk::Up:
      MoveHighlight(-1);
      return true;
    case vk::Down:
      MoveHighlight(1);
      return true;
    case vk::Prior:
      MoveHighlight(-Page);
      return true;
    case vk::Next:
      MoveHighlight(Page);
      return true;
    case vk::Return:
      if (FItemIndex >= 0)
        Choose(FItemIndex);
      else
        CloseUp();
      Key = 0;
      return true;
    default:
      return TPopupWindow::PopupKeyDown(Key, Shift);
  }
}

bool TDropDownList::DoMouseWheelDown(TShiftState, TPoint) {
  MoveHighlight(1);
  return true;
}

bool TDropDownList::DoMouseWheelUp(TShiftState, TPoint) {
  MoveHighlight(-1);
  return true;
}

}  // namespace kvl
