// Message dialogs: a modal form with an icon, a wrapped text and a row of buttons, telling the
// user something and returning the button pressed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "kvl/platform/forms.h"

namespace kvl {

enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : std::uint8_t {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbClose
};

// A set of buttons, one bit per TMsgDlgBtn: MsgDlgButtons(mbYes) | MsgDlgButtons(mbNo).
using TMsgDlgButtons = std::uint16_t;
constexpr TMsgDlgButtons MsgDlgButtons(TMsgDlgBtn B) { return TMsgDlgButtons(1u << B); }
inline constexpr TMsgDlgButtons mbYesNo = MsgDlgButtons(mbYes) | MsgDlgButtons(mbNo);
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYesNo | MsgDlgButtons(mbCancel);
inline constexpr TMsgDlgButtons mbOKCancel = MsgDlgButtons(mbOK) | MsgDlgButtons(mbCancel);
inline constexpr TMsgDlgButtons mbAbortRetryIgnore =
    MsgDlgButtons(mbAbort) | MsgDlgButtons(mbRetry) | MsgDlgButtons(mbIgnore);

// The dialog, not yet shown, for callers that adjust it before ShowModal. Its caption names the
// type ("Warning", "Error", "Information", "Confirm"; the application's title for mtCustom).
// The buttons stand in TMsgDlgBtn order and are named by their captions without blanks
// ("OK", "NoToAll"); the text is the label "Message", the icon the control "Image". The first
// button is the default and takes the focus; Escape and the close box press Cancel, else No,
// else a single button; with none of those Escape does nothing and the close box gives
// mrCancel. The text wraps at three quarters of the screen's width and the dialog never grows
// beyond the screen (lines that do not fit are left out). It is centred on the active form;
// warnings and errors ring the bell when it shows.
std::unique_ptr<TForm> CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons);

// Shows the dialog modally; the result of the button pressed.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx = 0);

// An OK box captioned with the application's title.
void ShowMessage(const std::string& Msg);

}  // namespace kvl
