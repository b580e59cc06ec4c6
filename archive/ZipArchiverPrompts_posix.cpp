// Without a window system there is no one to ask: nothing is overwritten,
// no password is typed, a failure aborts and no disk is inserted.
#include "archive/ZipArchiverPrompts.h"

namespace {

class TZAUnattendedPrompts : public TZAPrompts {
 public:
  TOverwriteAnswer ConfirmOverwrite(const String&) override { return oaNo; }
  bool AskPassword(const String&, const String&, String&) override { return false; }
  TZAAction AskFailureAction(const String&) override { return fxaAbort; }
  bool Confirm(const String&) override { return false; }
};

}  // namespace

TZAPrompts& ZASystemPrompts() {
  static TZAUnattendedPrompts prompts;
  return prompts;
}
