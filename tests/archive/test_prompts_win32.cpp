// The system's prompts on Windows are real dialogs: a second thread finds
// each one by its caption, checks its texts and answers it as a person
// would.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "archive/ZipArchiverPrompts.h"

namespace {

// Waits up to five seconds for a window of this process with caption.
HWND WaitForWindow(const char* caption) {
  for (int i = 0; i < 500; ++i) {
    if (HWND w = FindWindowA(nullptr, caption)) return w;
    Sleep(10);
  }
  return nullptr;
}

String TextOf(HWND dialog, int id) {
  char buf[512] = {};
  GetDlgItemTextA(dialog, id, buf, sizeof buf);
  return buf;
}

// Runs answer(window) on a second thread once the dialog shows.
template <class F>
std::thread Answer(const char* caption, F answer) {
  return std::thread([caption, answer] {
    HWND w = WaitForWindow(caption);
    if (w) answer(w);
  });
}

}  // namespace

TEST(ZAPromptsWin32, FailureBoxAnswersRetryIgnoreAbort) {
  const std::pair<int, TZAAction> answers[] = {
      {IDRETRY, fxaRetry}, {IDIGNORE, fxaIgnore}, {IDABORT, fxaAbort}};
  for (auto [button, action] : answers) {
    std::thread t = Answer("Confirm", [button](HWND w) { PostMessageA(w, WM_COMMAND, button, 0); });
    EXPECT_EQ(ZASystemPrompts().AskFailureAction("Broken. File processing error"), action);
    t.join();
  }
}

TEST(ZAPromptsWin32, OverwriteDialogHasFourAnswers) {
  const std::pair<int, TZAPrompts::TOverwriteAnswer> answers[] = {
      {IDYES, TZAPrompts::oaYes}, {IDNO, TZAPrompts::oaNo}, {102, TZAPrompts::oaNoToAll},
      {103, TZAPrompts::oaYesToAll}, {IDCANCEL, TZAPrompts::oaClosed}};
  for (auto [button, answer] : answers) {
    String shown;
    std::thread t = Answer("Confirm", [&shown, button = button](HWND w) {
      shown = TextOf(w, 100);
      PostMessageA(w, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    EXPECT_EQ(ZASystemPrompts().ConfirmOverwrite("Overwrite file \"C:\\a.txt\" with \"a.txt\""),
              answer);
    t.join();
    EXPECT_EQ(shown, "Overwrite file \"C:\\a.txt\" with \"a.txt\"");
  }
}

TEST(ZAPromptsWin32, PasswordBoxShowsThePasswordAndTakesTheTypedOne) {
  String prompt, shown;
  std::thread ok = Answer("Password for \"a.txt\"", [&](HWND w) {
    prompt = TextOf(w, 100);
    shown = TextOf(w, 101);
    SetDlgItemTextA(w, 101, "typed");
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  String value = "old";
  EXPECT_TRUE(ZASystemPrompts().AskPassword("Password for \"a.txt\"", "Enter password: ", value));
  ok.join();
  EXPECT_EQ(prompt, "Enter password: ");
  EXPECT_EQ(shown, "old");
  EXPECT_EQ(value, "typed");

  std::thread cancel = Answer("Password for \"a.txt\"", [](HWND w) {
    SetDlgItemTextA(w, 101, "ignored");
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_FALSE(ZASystemPrompts().AskPassword("Password for \"a.txt\"", "Enter password: ", value));
  cancel.join();
  EXPECT_EQ(value, "typed");
}
