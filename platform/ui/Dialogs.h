// Message dialogs: a type (icon and caption), a set of buttons and the
// modal result of the button pressed, shown as a system message box.
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

// The captions are "Warning", "Error", "Information", "Confirmation" and,
// for mtCustom, the application's title. The buttons must form one of the
// system's sets (OK; OK Cancel; Yes No; Yes No Cancel; Retry Cancel; Abort
// Retry Ignore), else EInvalidArgument. Returns mrOk, mrYes...
int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const String& message);
