// Message dialogs: layout, icons, and which button Escape and the close box press.
#include "kvl/platform/dialogs.h"

#include <algorithm>
#include <array>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/wordwrap.h"

namespace kvl {

namespace {

struct TButtonKind {
  const char* Caption;
  const char* Name;
  TModalResult Result;
};

constexpr std::array<TButtonKind, 11> ButtonKinds{{{"Yes", "Yes", mrYes},
                                                   {"No", "No", mrNo},
                                                   {"OK", "OK", mrOk},
                                                   {"Cancel", "Cancel", mrCancel},
                                                   {"Abort", "Abort", mrAbort},
                                                   {"Retry", "Retry", mrRetry},
                                                   {"Ignore", "Ignore", mrIgnore},
                                                   {"All", "All", mrAll},
                                                   {"No to All", "NoToAll", mrNoToAll},
                                                   {"Yes to All", "YesToAll", mrYesToAll},
                                                   {"Close", "Close", mrClose}}};

constexpr int Margin = 12;  // around the contents
constexpr int IconSize = 32;
constexpr int IconGap = 12;   // between the icon and the text
constexpr int TextGap = 16;   // between the text and the buttons
constexpr int ButtonGap = 6;  // between two buttons
constexpr int ButtonWidth = 75, ButtonHeight = 25;

// The type's picture, drawn with canvas calls at 32 x 32.
class TMessageIcon : public TGraphicControl {
public:
  TMessageIcon(TWinControl* Parent, TMsgDlgType Type) : TGraphicControl(Parent), FType(Type) {
    SetName("Image");
    SetBounds(Margin, Margin, IconSize, IconSize);
    SetParent(Parent);
  }

protected:
  void Paint() override {
    TCanvas& C = *GetCanvas();
    C.GetPen().SetWidth(1);
    switch (FType) {
      case mtWarning: {
        C.GetPen().SetColor(0x000000);
        C.GetBrush().SetColor(0x00D7FF);  // amber yellow
        const TPoint Triangle[] = {{15, 1}, {30, 29}, {1, 29}};
        C.Polygon(Triangle);
        C.GetBrush().SetColor(clBlack);
        C.FillRect(Rect(14, 10, 17, 21));
        C.FillRect(Rect(14, 23, 17, 26));
        break;
      }
      case mtError:
        Disc(C, 0x0000CC);
        C.GetPen().SetColor(clWhite);
        C.GetPen().SetWidth(3);
        C.MoveTo(10, 10);
        C.LineTo(22, 22);
        C.MoveTo(22, 10);
        C.LineTo(10, 22);
        break;
      case mtInformation:
        Disc(C, 0xCC5500);
        C.GetBrush().SetColor(clWhite);
        C.FillRect(Rect(14, 7, 18, 11));
        C.FillRect(Rect(14, 13, 18, 25));
        break;
      case mtConfirmation: {
        Disc(C, 0xCC5500);
        TFont F;
        F.SetHeight(-22);
        F.SetStyle(fsBold);
        F.SetColor(clWhite);
        C.SetFont(F);
        C.GetBrush().SetStyle(bsClear);
        C.TextOut((IconSize - C.TextWidth("?")) / 2, (IconSize - C.TextHeight("?")) / 2, "?");
        break;
      }
      case mtCustom:
        break;
    }
  }

private:
  static void Disc(TCanvas& C, TColor Color) {
    C.GetPen().SetColor(Color);
    C.GetBrush().SetColor(Color);
    C.Ellipse(0, 0, IconSize, IconSize);
  }

  TMsgDlgType FType;
};

class TMessageForm : public TForm {
public:
  TMessageForm(TMsgDlgType Type, TModalResult CloseResult)
      : TForm(nullptr), FType(Type), FCloseResult(CloseResult) {}

  void SetVisible(bool Value) override {
    const bool Showing = Value && !GetVisible();
    TForm::SetVisible(Value);
    if (Showing && (FType == mtWarning || FType == mtError)) MessageBeep();
  }

protected:
  // The close box ends a modal form with mrCancel; without a Cancel button it stands for the
  // button Escape presses.
  bool CloseQuery() override {
    if (GetModalResult() == mrCancel) SetModalResult(FCloseResult);
    return TForm::CloseQuery();
  }

private:
  TMsgDlgType FType;
  TModalResult FCloseResult;
};

const char* CaptionOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      break;
  }
  return nullptr;
}

// The button Escape and the close box press: Cancel, else No, else the only one; -1 for none.
int EscapeButton(TMsgDlgButtons Buttons) {
  if (Buttons & MsgDlgButtons(mbCancel)) return mbCancel;
  if (Buttons & MsgDlgButtons(mbNo)) return mbNo;
  for (int B = 0; B < int(ButtonKinds.size()); ++B)
    if (Buttons == MsgDlgButtons(TMsgDlgBtn(B))) return B;
  return -1;
}

}  // namespace

std::unique_ptr<TForm> CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons) {
  const int Escape = EscapeButton(Buttons);
  auto Form = std::make_unique<TMessageForm>(
      DlgType, Escape < 0 ? mrCancel : ButtonKinds[std::size_t(Escape)].Result);
  const char* Caption = CaptionOf(DlgType);
  Form->SetCaption(Caption ? Caption : Application->GetTitle());
  Form->SetBorderStyle(bsDialog);
  Form->SetPosition(poOwnerFormCenter);

  const TSize Screen = Application->GetHost().ScreenSize();
  const bool HasIcon = DlgType != mtCustom;
  if (HasIcon) new TMessageIcon(Form.get(), DlgType);
  const int TextLeft = HasIcon ? Margin + IconSize + IconGap : Margin;

  int Count = 0;
  for (std::size_t B = 0; B < ButtonKinds.size(); ++B)
    if (Buttons & MsgDlgButtons(TMsgDlgBtn(B))) ++Count;
  const int ButtonsWidth = Count * ButtonWidth + std::max(Count - 1, 0) * ButtonGap;

  // The text: wrapped at three quarters of the screen, and cut at the last line that lets the
  // whole dialog fit the screen's height.
  TBitmap Measure;
  TCanvas& C = *Measure.GetCanvas();
  C.SetFont(Form->GetFont());
  std::vector<std::string> Lines = WrapTextLines(C, Msg, true, Screen.cx * 3 / 4);
  const int LineHeight = std::max(C.TextHeight("Ag"), 1);
  const int ButtonsHeight = Count > 0 ? TextGap + ButtonHeight : 0;
  const int Frame = Form->GetHeight() - Form->GetClientHeight();
  const int Room = Screen.cy - Frame - 2 * Margin - ButtonsHeight;
  const std::size_t MaxLines = std::size_t(std::max(Room / LineHeight, 1));
  if (Lines.size() > MaxLines) Lines.resize(MaxLines);
  std::string Text;
  int TextWidth = 0;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    if (I > 0) Text += '\n';
    Text += Lines[I];
    TextWidth = std::max(TextWidth, C.TextWidth(Lines[I]));
  }
  const int TextHeight = LineHeight * std::max(int(Lines.size()), 1);

  auto* Label = new TLabel(Form.get());
  Label->SetName("Message");
  Label->SetParent(Form.get());
  Label->SetCaption(Text);
  // Beside the icon, a short text stands in the middle of its height.
  const int TextTop =
      HasIcon && TextHeight < IconSize ? Margin + (IconSize - TextHeight) / 2 : Margin;
  Label->SetBounds(TextLeft, TextTop, TextWidth, TextHeight);

  const int ContentBottom = std::max(TextTop + TextHeight, HasIcon ? Margin + IconSize : 0);
  const int ClientWidth = std::min(std::max(TextLeft + TextWidth, Margin + ButtonsWidth) + Margin,
                                   Screen.cx - (Form->GetWidth() - Form->GetClientWidth()));
  const int ButtonTop = ContentBottom + TextGap;
  Form->SetClientWidth(ClientWidth);
  Form->SetClientHeight(ContentBottom + ButtonsHeight + Margin);

  int X = (ClientWidth - ButtonsWidth) / 2;
  bool First = true;
  for (std::size_t B = 0; B < ButtonKinds.size(); ++B) {
    if (!(Buttons & MsgDlgButtons(TMsgDlgBtn(B)))) continue;
    auto* Button = new TButton(Form.get());
    Button->SetName(ButtonKinds[B].Name);
    Button->SetCaption(ButtonKinds[B].Caption);
    Button->SetModalResult(ButtonKinds[B].Result);
    Button->SetBounds(X, ButtonTop, ButtonWidth, ButtonHeight);
    Button->SetDefault(First);
    Button->SetCancel(int(B) == Escape);
    Button->SetParent(Form.get());
    X += ButtonWidth + ButtonGap;
    First = false;
  }
  return Form;
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int /*HelpCtx*/) {
  return CreateMessageDialog(Msg, DlgType, Buttons)->ShowModal();
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, MsgDlgButtons(mbOK)); }

}  // namespace kvl
