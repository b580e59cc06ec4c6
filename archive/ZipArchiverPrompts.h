// The questions the archiver puts to a person when the host handles none of
// the events that ask them: overwrite an existing file, type a password,
// what to do after a failed entry, and the disk requests of volume sets.
//
// The component asks through this interface, so that tests can script the
// answers. The system's prompts are dialogs on Windows; elsewhere nobody is
// there to answer, and every question gets the cautious answer.
#pragma once

#include "archive/ZipArchiverTypes.h"

class TZAPrompts {
 public:
  enum TOverwriteAnswer { oaYes, oaNo, oaNoToAll, oaYesToAll, oaClosed };

  virtual ~TZAPrompts() = default;
  // Asks text with the buttons Yes, No, No to All and Yes to All.
  virtual TOverwriteAnswer ConfirmOverwrite(const String& text) = 0;
  // A masked input box that starts empty; true with the typed value in
  // value on OK, false (value untouched) on Cancel.
  virtual bool AskPassword(const String& caption, const String& prompt, String& value) = 0;
  // Asks text with the buttons Abort, Retry and Ignore.
  virtual TZAAction AskFailureAction(const String& text) = 0;
  // Shows text with the buttons OK and Cancel; true on OK.
  virtual bool Confirm(const String& text) = 0;
};

// Dialogs on Windows. Elsewhere: No, Cancel, Abort and Cancel.
TZAPrompts& ZASystemPrompts();
