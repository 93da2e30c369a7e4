// The colour dialog's form: swatches, a saturation-and-value square with a hue strip, fields
// for the channels and the hex text, the old and new colours, OK and Cancel.
#include "kvl/platform/colordialog.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "kvl/platform/colortext.h"
#include "kvl/platform/comctrls.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

namespace {

TColor Resolved(TColor C) { return ColorToRGB(C) & 0x00FFFFFF; }

// Six rows of eight: hues across, light to dark, then greys.
TColor BasicColor(int I) {
  const int Row = I / 8, Col = I % 8;
  if (Row == 5) {
    const int V = Col * 255 / 7;
    return RGBColor(std::uint8_t(V), std::uint8_t(V), std::uint8_t(V));
  }
  static const int Hues[8] = {0, 30, 60, 120, 180, 210, 270, 320};
  static const THsv Shades[5] = {{0, 80, 255}, {0, 170, 255}, {0, 255, 255}, {0, 255, 170}, {0, 255, 96}};
  THsv H = Shades[Row];
  H.H = Hues[Col];
  return HsvToRgb(H);
}

// Swatches in a grid; a click or the arrows pick one.
class TSwatchGrid : public TCustomControl {
public:
  TSwatchGrid(TComponent* Owner, int Cols, int Rows, std::function<TColor(int)> ColorOf)
      : TCustomControl(Owner), FCols(Cols), FRows(Rows), FColorOf(std::move(ColorOf)) {
    SetTabStop(true);
    SetBounds(0, 0, Cols * CellW, Rows * CellH);
  }
  std::function<void(int)> OnPick;
  int GetPicked() const { return FPicked; }
  void SetPicked(int I) {
    FPicked = I;
    Invalidate();
  }
  bool WantsKey(std::uint16_t Key, TShiftState) const override {
    return Key >= vk::Left && Key <= vk::Down;
  }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override {
    TCustomControl::KeyDown(Key, Shift);
    const int N = FCols * FRows, P = std::max(FPicked, 0);
    int To = -1;
    if (Key == vk::Left) To = P - 1;
    if (Key == vk::Right) To = P + 1;
    if (Key == vk::Up) To = P - FCols;
    if (Key == vk::Down) To = P + FCols;
    if (To >= 0 && To < N) Pick(To);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (Button == mbLeft) {
      SetFocus();
      const int C = X / CellW, R = Y / CellH;
      if (C >= 0 && C < FCols && R >= 0 && R < FRows) Pick(R * FCols + C);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void FocusIn() override { Invalidate(); }
  void FocusOut() override { Invalidate(); }
  static constexpr int CellW = 24, CellH = 20;

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetBrush().SetColor(clBtnFace);
    C.FillRect(GetClientRect());
    for (int I = 0; I < FCols * FRows; ++I) {
      const TRect R = Rect(I % FCols * CellW, I / FCols * CellH, (I % FCols + 1) * CellW,
                           (I / FCols + 1) * CellH);
      DrawSunkenFrame(C, Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2));
      C.GetBrush().SetColor(FColorOf(I));
      C.FillRect(Rect(R.Left + 4, R.Top + 4, R.Right - 4, R.Bottom - 4));
      if (I == FPicked) {
        C.GetBrush().SetColor(clBlack);
        C.FrameRect(R);
        if (Focused()) C.DrawFocusRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
      }
    }
  }

private:
  void Pick(int I) {
    SetPicked(I);
    if (OnPick) OnPick(I);
  }
  int FCols, FRows;
  std::function<TColor(int)> FColorOf;
  int FPicked = -1;
};

// A surface picked by dragging the mouse or by the arrow keys (Shift: steps of 10): the
// saturation-and-value square (X and Y) or the hue strip (Y only).
class TPickArea : public TCustomControl {
public:
  TPickArea(TComponent* Owner, bool Square) : TCustomControl(Owner), FSquare(Square) {
    SetTabStop(true);
  }
  THsv Hsv;
  std::function<void(const THsv&)> OnPick;
  bool WantsKey(std::uint16_t Key, TShiftState) const override {
    return Key >= vk::Left && Key <= vk::Down;
  }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override {
    TCustomControl::KeyDown(Key, Shift);
    const int Step = (Shift & ssShift) ? 10 : 1;
    THsv H = Hsv;
    if (FSquare) {
      if (Key == vk::Left) H.S -= Step;
      if (Key == vk::Right) H.S += Step;
      if (Key == vk::Up) H.V += Step;
      if (Key == vk::Down) H.V -= Step;
    } else {
      if (Key == vk::Up) H.H -= Step;
      if (Key == vk::Down) H.H += Step;
    }
    Pick(H);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (Button == mbLeft) {
      SetFocus();
      FDragging = true;
      PickAt(X, Y);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    if (FDragging) PickAt(X, Y);
    TCustomControl::MouseMove(Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (Button == mbLeft) FDragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
  void MouseCaptureLost() override {
    FDragging = false;
    TCustomControl::MouseCaptureLost();
  }
  void FocusIn() override { Invalidate(); }
  void FocusOut() override { Invalidate(); }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    const int W = std::max(GetClientWidth(), 2), H = std::max(GetClientHeight(), 2);
    for (int Y = 0; Y < H; ++Y) {
      if (!FSquare) {
        C.GetBrush().SetColor(HsvToRgb({Y * 359 / (H - 1), 255, 255}));
        C.FillRect(Rect(0, Y, W, Y + 1));
        continue;
      }
      for (int X = 0; X < W; ++X)
        C.SetPixel(X, Y, HsvToRgb({Hsv.H, X * 255 / (W - 1), 255 - Y * 255 / (H - 1)}));
    }
    // The marker: a small ring in the square, a bar across the strip.
    C.GetBrush().SetColor(Hsv.V > 128 ? clBlack : clWhite);
    if (FSquare) {
      const int X = Hsv.S * (W - 1) / 255, Y = (255 - Hsv.V) * (H - 1) / 255;
      C.FrameRect(Rect(X - 3, Y - 3, X + 4, Y + 4));
    } else {
      const int Y = Hsv.H * (H - 1) / 359;
      C.GetBrush().SetColor(clBlack);
      C.FrameRect(Rect(0, Y - 1, W, Y + 2));
    }
    if (Focused()) C.DrawFocusRect(GetClientRect());
  }

private:
  void PickAt(int X, int Y) {
    const int W = std::max(GetClientWidth() - 1, 1), H = std::max(GetClientHeight() - 1, 1);
    X = std::clamp(X, 0, W);
    Y = std::clamp(Y, 0, H);
    THsv N = Hsv;
    if (FSquare) {
      N.S = X * 255 / W;
      N.V = 255 - Y * 255 / H;
    } else {
      N.H = Y * 359 / H;
    }
    Pick(N);
  }
  void Pick(THsv H) {
    H.H = std::clamp(H.H, 0, 359);
    H.S = std::clamp(H.S, 0, 255);
    H.V = std::clamp(H.V, 0, 255);
    Hsv = H;
    Invalidate();
    if (OnPick) OnPick(H);
  }
  bool FSquare;
  bool FDragging = false;
};

// The dialog while it runs: its controls and the colour being chosen.
class TColorDialogForm {
public:
  TColorDialogForm(const std::string& Title, TColor Start, std::array<TColor, 16>& Custom,
                   int& NextCustom);
  TForm& Form() { return *FForm; }
  TColor Chosen() const { return FColor; }

private:
  template <class T>
  T* Add(const char* Name, int X, int Y, int W, int H) {
    auto* C = new T(FForm.get());
    C->SetParent(FForm.get());
    if (Name) C->SetName(Name);
    C->SetBounds(X, Y, W, H);
    return C;
  }
  void Label(const char* Text, int X, int Y) {
    auto* L = Add<TLabel>(nullptr, X, Y, 60, 15);
    L->SetCaption(Text);
  }
  TEdit* Field(const char* Name, const char* Caption, int X, int Y, int Max);
  // The colour changed by the user: everything else follows. From an HSV source the hue and
  // saturation stay as given (grey has no hue of its own).
  void SetRgb(TColor C);
  void SetHsv(THsv H);
  void Refresh(const TWinControl* Source);
  void FieldChanged(TEdit* E);

  std::unique_ptr<TForm> FForm;
  std::array<TColor, 16>& FCustom;
  int& FNextCustom;
  TColor FColor;
  THsv FHsv;
  bool FRefreshing = false;
  TSwatchGrid *FBasic, *FCustomGrid;
  TPickArea *FSquare, *FStrip;
  TPanel* FNew;
  TEdit *FH, *FS, *FV, *FR, *FG, *FB, *FHex;
};

TEdit* TColorDialogForm::Field(const char* Name, const char* Caption, int X, int Y, int Max) {
  Label(Caption, X, Y + 3);
  auto* E = Add<TEdit>(Name, X + 40, Y, 40, 21);
  auto* U = Add<TUpDown>((std::string(Name) + "UpDown").c_str(), X + 80, Y, 17, 21);
  U->SetMax(Max);
  U->SetAssociate(E);
  E->OnChange = [this, E](TObject*) { FieldChanged(E); };
  E->OnExit = [this](TObject*) { Refresh(nullptr); };
  return E;
}

TColorDialogForm::TColorDialogForm(const std::string& Title, TColor Start,
                                   std::array<TColor, 16>& Custom, int& NextCustom)
    : FForm(std::make_unique<TForm>(nullptr)),
      FCustom(Custom),
      FNextCustom(NextCustom),
      FColor(Start),
      FHsv(RgbToHsv(Start)) {
  TForm& F = *FForm;
  F.SetCaption(Title);
  F.SetBorderStyle(bsDialog);
  F.SetPosition(poOwnerFormCenter);
  F.SetClientWidth(500);
  F.SetClientHeight(330);
  Label("Basic colors:", 8, 6);
  FBasic = new TSwatchGrid(&F, 8, 6, BasicColor);
  FBasic->SetParent(&F);
  FBasic->SetName("BasicColors");
  FBasic->SetLeft(8);
  FBasic->SetTop(22);
  FBasic->OnPick = [this](int I) {
    SetRgb(BasicColor(I));
    Refresh(nullptr);
  };
  Label("Custom colors:", 8, 150);
  FCustomGrid = new TSwatchGrid(&F, 8, 2, [this](int I) { return FCustom[std::size_t(I)]; });
  FCustomGrid->SetParent(&F);
  FCustomGrid->SetName("CustomColors");
  FCustomGrid->SetLeft(8);
  FCustomGrid->SetTop(166);
  FCustomGrid->OnPick = [this](int I) {
    SetRgb(FCustom[std::size_t(I)]);
    Refresh(nullptr);
  };
  auto* AddButton = Add<TButton>("AddToCustom", 8, 214, 192, 25);
  AddButton->SetCaption("Add to Custom Colors");
  AddButton->OnClick = [this](TObject*) {
    FCustom[std::size_t(FNextCustom)] = FColor;
    FCustomGrid->SetPicked(FNextCustom);
    FNextCustom = (FNextCustom + 1) % 16;
  };
  FSquare = new TPickArea(&F, true);
  FSquare->SetParent(&F);
  FSquare->SetName("SatValSquare");
  FSquare->SetBounds(212, 8, 160, 160);
  FSquare->OnPick = [this](const THsv& H) { SetHsv(H); };
  FStrip = new TPickArea(&F, false);
  FStrip->SetParent(&F);
  FStrip->SetName("HueStrip");
  FStrip->SetBounds(380, 8, 20, 160);
  FStrip->OnPick = [this](const THsv& H) { SetHsv({H.H, FHsv.S, FHsv.V}); };
  auto* Old = Add<TPanel>("OldColor", 410, 8, 80, 40);
  Old->SetBevelOuter(bvLowered);
  Old->SetColor(Start);
  FNew = Add<TPanel>("NewColor", 410, 48, 80, 40);
  FNew->SetBevelOuter(bvLowered);
  FH = Field("Hue", "Hue:", 212, 180, 359);
  FS = Field("Sat", "Sat:", 212, 206, 255);
  FV = Field("Val", "Val:", 212, 232, 255);
  FR = Field("Red", "Red:", 330, 180, 255);
  FG = Field("Green", "Green:", 330, 206, 255);
  FB = Field("Blue", "Blue:", 330, 232, 255);
  Label("Hex:", 212, 264);
  FHex = Add<TEdit>("Hex", 252, 261, 80, 21);
  FHex->SetMaxLength(9);
  FHex->OnChange = [this](TObject*) { FieldChanged(FHex); };
  FHex->OnExit = [this](TObject*) { Refresh(nullptr); };
  auto* Ok = Add<TButton>("OK", 330, 296, 75, 25);
  Ok->SetCaption("OK");
  Ok->SetDefault(true);
  Ok->SetModalResult(mrOk);
  auto* Cancel = Add<TButton>("Cancel", 415, 296, 75, 25);
  Cancel->SetCaption("Cancel");
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  Refresh(nullptr);
}

void TColorDialogForm::SetRgb(TColor C) {
  FColor = C & 0x00FFFFFF;
  FHsv = RgbToHsv(FColor);
}

void TColorDialogForm::SetHsv(THsv H) {
  FHsv = H;
  FColor = HsvToRgb(H);
  Refresh(nullptr);
}

void TColorDialogForm::Refresh(const TWinControl* Source) {
  const TScopedValue<bool> Guard(FRefreshing, true);
  const auto Put = [&](TEdit* E, int V) {
    if (E == Source) return;
    for (int I = 0; I < FForm->GetControlCount(); ++I)
      if (auto* U = dynamic_cast<TUpDown*>(FForm->GetControls(I)); U && U->GetAssociate() == E)
        U->SetPosition(V);
    E->SetText(std::to_string(V));
  };
  Put(FH, FHsv.H);
  Put(FS, FHsv.S);
  Put(FV, FHsv.V);
  Put(FR, int(FColor & 0xFF));
  Put(FG, int((FColor >> 8) & 0xFF));
  Put(FB, int((FColor >> 16) & 0xFF));
  if (FHex != Source) FHex->SetText(HexColorText(FColor));
  FSquare->Hsv = FHsv;
  FStrip->Hsv = FHsv;
  FSquare->Invalidate();
  FStrip->Invalidate();
  FNew->SetColor(FColor);
}

void TColorDialogForm::FieldChanged(TEdit* E) {
  if (FRefreshing) return;
  // Text that is not a value in range waits: the field shows the colour again when left.
  if (E == FHex) {
    if (const auto C = ReadHexColor(E->GetText())) {
      SetRgb(*C);
      Refresh(E);
    }
    return;
  }
  const int Max = E == FH ? 359 : 255;
  const auto V = ReadColorNumber(E->GetText(), Max);
  if (!V) return;
  if (E == FH || E == FS || E == FV) {
    THsv H = FHsv;
    (E == FH ? H.H : E == FS ? H.S : H.V) = *V;
    FHsv = H;
    FColor = HsvToRgb(H);
  } else {
    const int Shift = E == FR ? 0 : E == FG ? 8 : 16;
    SetRgb((FColor & ~(TColor(0xFF) << Shift)) | (TColor(*V) << Shift));
  }
  Refresh(E);
}

}  // namespace

void TColorDialog::SetColor(TColor Value) { FColor = Resolved(Value); }

TColor TColorDialog::GetCustomColors(int Index) const {
  return Index >= 0 && Index < 16 ? FCustom[std::size_t(Index)] : 0;
}

void TColorDialog::SetCustomColors(int Index, TColor Value) {
  if (Index >= 0 && Index < 16) FCustom[std::size_t(Index)] = Resolved(Value);
}

bool TColorDialog::Execute() {
  if (FExecuting) return false;
  const TScopedValue<bool> Guard(FExecuting, true);
  TColorDialogForm D(FTitle, FColor, FCustom, FNextCustom);
  if (D.Form().ShowModal() != mrOk) return false;
  FColor = D.Chosen();
  return true;
}

}  // namespace kvl
