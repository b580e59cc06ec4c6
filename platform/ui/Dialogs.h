// Message dialogs: a form of window class "TMessageForm" with the icon and
// caption of the dialog's type, the word-wrapped message and a row of
// buttons, sized to its text and centred on the screen. Being one of the
// framework's forms, it is skinned as the program's other forms are.
#pragma once

#include <cstdint>

#include "platform/Text.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum : uint16_t {
  mbYes = 0x01, mbNo = 0x02, mbOK = 0x04, mbCancel = 0x08, mbAbort = 0x10, mbRetry = 0x20, mbIgnore = 0x40,
};
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// Shows the dialog modally and returns the modal result of the button
// pressed (mrOk, mrYes...). The captions are "Warning", "Error",
// "Information", "Confirmation" and, for mtCustom (no icon), the
// application's title. The buttons must form one of the system's sets (OK;
// OK Cancel; Yes No; Yes No Cancel; Retry Cancel; Abort Retry Ignore), else
// EInvalidArgument. As in the system's message boxes, the first button is
// the default one; Escape and the close box press Cancel, else No, else a
// lone OK (an Abort Retry Ignore dialog cannot be closed that way); Ctrl+C
// copies the caption, the message and the buttons' names to the clipboard.
int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// An OK dialog without an icon, under the application's title.
void ShowMessage(const String& message);
