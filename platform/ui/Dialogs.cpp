#include "platform/ui/Dialogs.h"

#include "platform/ui/Forms.h"

namespace {

UINT ButtonFlags(TMsgDlgButtons buttons) {
  switch (buttons) {
    case mbOK: return MB_OK;
    case mbOKCancel: return MB_OKCANCEL;
    case mbYesNo: return MB_YESNO;
    case mbYesNoCancel: return MB_YESNOCANCEL;
    case mbRetry | mbCancel: return MB_RETRYCANCEL;
    case mbAbortRetryIgnore: return MB_ABORTRETRYIGNORE;
    default: throw EInvalidArgument("These dialog buttons cannot be shown together");
  }
}

}  // namespace

int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  static const char* const captions[] = {"Warning", "Error", "Information", "Confirmation"};
  static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION};
  String caption = type == mtCustom ? Application->Title() : captions[type];
  UINT flags = ButtonFlags(buttons) | (type == mtCustom ? 0 : icons[type]);
  // The system's answers (IDOK, IDYES...) are the modal results.
  return Application->MessageBox(message, caption, flags);
}

void ShowMessage(const String& message) { Application->MessageBox(message, Application->Title(), MB_OK); }
