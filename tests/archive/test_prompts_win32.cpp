// The system's prompts on Windows are real dialogs: a second thread finds
// each one, checks its texts and answers it as a person would.
//
// The answering thread must never leave a modal dialog waiting: the test
// program would hang until the suite's time-out. So it looks only at dialogs
// of the thread that asks (another program on the same Wine desktop may
// show a "Confirm" of its own), answers once the dialog is on screen (its
// controls exist by then), and cancels whatever dialog is still up when the
// question is not over after a generous bound. Starting a dialog under Wine
// takes seconds on a busy machine, so that bound is not tight.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "archive/ZipArchiverPrompts.h"

namespace {

constexpr DWORD kPatienceMs = 30000;

String TextOf(HWND window, int id) {
  char buf[512] = {};
  GetDlgItemTextA(window, id, buf, sizeof buf);
  return buf;
}

// The visible dialog (window class "#32770", as message boxes too) of
// thread, with caption when one is given.
HWND ShownDialog(DWORD thread, const char* caption) {
  struct TSearch {
    const char* caption;
    HWND found;
  } search{caption, nullptr};
  EnumThreadWindows(
      thread,
      [](HWND w, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(param);
        char cls[16] = {}, text[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, text, sizeof text);
        if (String(cls) != "#32770" || !IsWindowVisible(w)) return TRUE;
        if (s->caption && String(text) != s->caption) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs ask() on this thread while a second thread waits for the dialog that
// ask() shows with caption and runs answer(dialog) on it.
template <class Ask>
auto Answered(const char* caption, std::function<void(HWND)> answer, Ask ask) {
  class TAnswerer {
   public:
    TAnswerer(const char* caption, std::function<void(HWND)> answer)
        : asker_(GetCurrentThreadId()),
          over_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          helper_([this, caption, answer] { Run(caption, answer); }) {}
    ~TAnswerer() {
      SetEvent(over_);
      helper_.join();
      CloseHandle(over_);
    }

   private:
    void Run(const char* caption, const std::function<void(HWND)>& answer) {
      const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
      bool answered = false, late = false;
      while (WaitForSingleObject(over_, 10) == WAIT_TIMEOUT) {
        if (!answered) {
          if (HWND dialog = ShownDialog(asker_, caption)) {
            answer(dialog);
            answered = true;
          }
        }
        if (GetTickCount64() < deadline) continue;
        if (!late) {
          ADD_FAILURE() << "the dialog \"" << caption << "\" was "
                        << (answered ? "answered but stayed open" : "not shown");
          late = true;
        }
        if (HWND dialog = ShownDialog(asker_, nullptr))
          PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    }

    DWORD asker_;
    HANDLE over_;
    std::thread helper_;
  } answerer(caption, std::move(answer));
  return ask();
}

void Click(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace

TEST(ZAPromptsWin32, FailureBoxAnswersRetryIgnoreAbort) {
  const std::pair<int, TZAAction> answers[] = {
      {IDRETRY, fxaRetry}, {IDIGNORE, fxaIgnore}, {IDABORT, fxaAbort}};
  for (auto [button, action] : answers) {
    String shown;
    EXPECT_EQ(Answered(
                  "Confirm",
                  [&shown, button = button](HWND w) {
                    shown = TextOf(w, 0xFFFF);  // the message text's control
                    Click(w, button);
                  },
                  [] { return ZASystemPrompts().AskFailureAction("Broken. File processing error"); }),
              action);
    EXPECT_EQ(shown, "Broken. File processing error");
  }
}

TEST(ZAPromptsWin32, OverwriteDialogHasFourAnswers) {
  const std::pair<int, TZAPrompts::TOverwriteAnswer> answers[] = {
      {IDYES, TZAPrompts::oaYes}, {IDNO, TZAPrompts::oaNo}, {102, TZAPrompts::oaNoToAll},
      {103, TZAPrompts::oaYesToAll}, {IDCANCEL, TZAPrompts::oaClosed}};
  const String text = "Overwrite file \"C:\\a.txt\" with \"a.txt\"";
  for (auto [button, answer] : answers) {
    String shown;
    EXPECT_EQ(Answered(
                  "Confirm",
                  [&shown, button = button](HWND w) {
                    shown = TextOf(w, 100);
                    Click(w, button);
                  },
                  [&] { return ZASystemPrompts().ConfirmOverwrite(text); }),
              answer);
    EXPECT_EQ(shown, text);
  }
}

// The box neither starts with a password nor shows what is typed.
TEST(ZAPromptsWin32, PasswordBoxIsMaskedAndTakesTheTypedOne) {
  const char* caption = "Password for \"a.txt\"";
  String prompt, shown;
  LONG_PTR style = 0;
  String value = "old";
  EXPECT_TRUE(Answered(
      caption,
      [&](HWND w) {
        prompt = TextOf(w, 100);
        shown = TextOf(w, 101);
        style = GetWindowLongPtrA(GetDlgItem(w, 101), GWL_STYLE);
        SetDlgItemTextA(w, 101, "typed");
        Click(w, IDOK);
      },
      [&] { return ZASystemPrompts().AskPassword(caption, "Enter password: ", value); }));
  EXPECT_EQ(prompt, "Enter password: ");
  EXPECT_EQ(shown, "");
  EXPECT_TRUE(style & ES_PASSWORD);
  EXPECT_EQ(value, "typed");

  EXPECT_FALSE(Answered(
      caption,
      [](HWND w) {
        SetDlgItemTextA(w, 101, "ignored");
        Click(w, IDCANCEL);
      },
      [&] { return ZASystemPrompts().AskPassword(caption, "Enter password: ", value); }));
  EXPECT_EQ(value, "typed");
}
