// The dialogs page: the colour dialog and each kind of message dialog, with their results.
#include <string>

#include "kvl/platform/colordialog.h"
#include "kvl/platform/colortext.h"
#include "kvl/platform/dialogs.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

const char* ResultName(TModalResult R) {
  static const char* const Names[] = {"None", "OK",  "Cancel", "Abort",    "Retry",    "Ignore",
                                      "Yes",  "No",  "Close",  "All",      "No to All", "Yes to All"};
  return R >= 0 && R < int(std::size(Names)) ? Names[R] : "?";
}

}  // namespace

void BuildDialogsPage(TWinControl& Host) {
  auto* Dialog = new TColorDialog(&Host);
  Dialog->SetColor(0x00CC6633);
  auto* Swatch = Place<TPanel>(Host, 180, 12, 120, 28);
  Swatch->SetBevelOuter(bvLowered);
  Swatch->SetColor(Dialog->GetColor());
  Swatch->SetCaption(HexColorText(Dialog->GetColor()));
  auto* Pick = Place<TButton>(Host, 12, 12, 150, 28);
  Pick->SetName("ColorButton");
  Pick->SetCaption("Choose a colour...");
  Pick->OnClick = [Dialog, Swatch](TObject*) {
    if (!Dialog->Execute()) return;
    Swatch->SetColor(Dialog->GetColor());
    Swatch->SetCaption(HexColorText(Dialog->GetColor()));
  };

  auto* Result = Place<TLabel>(Host, 180, 60, 300, 20);
  Result->SetName("ResultLabel");
  Result->SetCaption("No message shown yet.");
  const struct {
    const char* Caption;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    const char* Text;
  } Kinds[] = {
      {"Warning", mtWarning, mbOKCancel, "The file has changed on disk. Overwrite it?"},
      {"Error", mtError, mbAbortRetryIgnore, "The device did not answer."},
      {"Information", mtInformation, MsgDlgButtons(mbOK), "The export has finished."},
      {"Confirmation", mtConfirmation, mbYesNoCancel, "Save the changes before closing?"},
      {"Custom", mtCustom, MsgDlgButtons(mbYes) | MsgDlgButtons(mbNo) | MsgDlgButtons(mbYesToAll) |
                               MsgDlgButtons(mbNoToAll),
       "Replace every older copy?"},
  };
  int Y = 56;
  for (const auto& K : Kinds) {
    auto* B = Place<TButton>(Host, 12, Y, 150, 28);
    B->SetName(std::string(K.Caption) + "Button");
    B->SetCaption(K.Caption);
    B->OnClick = [K, Result](TObject*) {
      Result->SetCaption(ResultName(MessageDlg(K.Text, K.Type, K.Buttons)));
    };
    Y += 36;
  }
}

}  // namespace kvl::gallery
