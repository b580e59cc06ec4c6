// Message dialogs: the form they are shown in, answered with real input by
// a person on another thread while this thread runs the modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "tools/driver/Driver.h"

namespace {

// What the person saw of the dialog.
struct TSeen {
  driver::MessageBoxInfo Box;
  String ClassName;
  std::vector<String> Buttons;
  RECT Bounds{};
};

class MessageDialogs : public testing::Test {
 protected:
  void SetUp() override { Application->Initialize(); }

  // Runs show; a person reads the dialog it shows, then acts on it. Should
  // the act leave the dialog open, its first button is clicked in its
  // place, so that a failing case ends.
  int Answer(const std::function<int()>& show, const std::function<void(HWND)>& act) {
    seen = TSeen();
    const DWORD self = GetCurrentThreadId();
    std::thread person([&] {
      HWND box = nullptr;
      driver::WaitUntil(10000, [&] { return (box = DialogOf(self)) != nullptr; });
      if (!box) return;
      seen.Box = driver::ReadMessageBox(box);
      seen.ClassName = driver::WindowClass(box);
      for (HWND b : driver::MessageBoxButtons(box)) seen.Buttons.push_back(driver::WindowText(b));
      seen.Bounds = driver::WindowBounds(box);
      act(box);
      if (!driver::WaitUntil(5000, [&] { return !driver::IsMessageBox(box); })) {
        ADD_FAILURE() << "the dialog is still open";
        HWND first = driver::MessageBoxButtons(box).front();
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(first));
      }
    });
    const int result = show();
    person.join();
    return result;
  }

  int Show(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, const std::function<void(HWND)>& act) {
    return Answer([&] { return MessageDlg(message, type, buttons); }, act);
  }

  static HWND DialogOf(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM data) -> BOOL {
          if (driver::IsMessageBox(w)) *reinterpret_cast<HWND*>(data) = w;
          return TRUE;
        },
        LPARAM(&found));
    return found;
  }

  // Presses keys where the dialog's focus is.
  static void Press(HWND box, std::initializer_list<uint16_t> keys, uint16_t modifier = 0) {
    driver::PressKeys(driver::FocusedWindow(box), keys, modifier);
  }

  TSeen seen;
};

const char kQuestion[] = "Etes vous sur de vouloir quitter l'assistant d'installation ?";

// Every set of buttons the dialog takes, in a caption of each type: the
// dialog is a framework form with its buttons in the system's order, and
// each button answers its own modal result.
TEST_F(MessageDialogs, EachButtonSetShowsItsButtonsAndAnswersTheOnePressed) {
  Application->SetTitle("Programme d'essai");
  const struct {
    TMsgDlgButtons Buttons;
    TMsgDlgType Type;
    const char* Caption;
    std::vector<String> Texts;
    const char* Pressed;
    int Result;
  } cases[] = {
      {mbOK, mtInformation, "Information", {"OK"}, "OK", mrOk},
      {mbOKCancel, mtWarning, "Warning", {"OK", "Cancel"}, "Cancel", mrCancel},
      {mbYesNo, mtConfirmation, "Confirmation", {"&Yes", "&No"}, "No", mrNo},
      {mbYesNo, mtConfirmation, "Confirmation", {"&Yes", "&No"}, "Yes", mrYes},
      {mbYesNoCancel, mtError, "Error", {"&Yes", "&No", "Cancel"}, "Cancel", mrCancel},
      {mbRetry | mbCancel, mtError, "Error", {"&Retry", "Cancel"}, "Retry", mrRetry},
      {mbAbortRetryIgnore, mtCustom, "Programme d'essai", {"&Abort", "&Retry", "&Ignore"}, "Ignore", mrIgnore},
      {mbAbortRetryIgnore, mtWarning, "Warning", {"&Abort", "&Retry", "&Ignore"}, "Abort", mrAbort},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Pressed);
    const int result =
        Show(kQuestion, c.Type, c.Buttons, [&](HWND box) { EXPECT_TRUE(driver::AnswerMessageBox(box, c.Pressed)); });
    EXPECT_EQ(result, c.Result);
    EXPECT_EQ(seen.ClassName, "TMessageForm");
    EXPECT_EQ(seen.Box.Caption, c.Caption);
    EXPECT_EQ(seen.Box.Text, kQuestion);
    EXPECT_EQ(seen.Buttons, c.Texts);
  }
  EXPECT_THROW(MessageDlg("x", mtError, mbYes | mbOK), EInvalidArgument);
  EXPECT_THROW(MessageDlg("x", mtError, 0), EInvalidArgument);
}

// The keys of the system's message boxes: the first button is the default
// one and has the focus, Enter presses the focused button, Escape and Alt+F4
// press Cancel, else No, else a lone OK; letters press their buttons.
TEST_F(MessageDialogs, KeysAnswerAsTheSystemsBoxesDo) {
  const struct {
    const char* Name;
    TMsgDlgButtons Buttons;
    std::initializer_list<uint16_t> Keys;
    uint16_t Modifier;
    int Result;
  } cases[] = {
      {"Enter", mbYesNo, {VK_RETURN}, 0, mrYes},
      {"Tab Enter", mbOKCancel, {VK_TAB, VK_RETURN}, 0, mrCancel},
      {"Escape on Yes No", mbYesNo, {VK_ESCAPE}, 0, mrNo},
      {"Escape on Yes No Cancel", mbYesNoCancel, {VK_ESCAPE}, 0, mrCancel},
      {"Escape on Retry Cancel", mbRetry | mbCancel, {VK_ESCAPE}, 0, mrCancel},
      {"Escape on OK", mbOK, {VK_ESCAPE}, 0, mrOk},
      {"Alt+F4 on Yes No", mbYesNo, {VK_F4}, VK_MENU, mrNo},
      {"accelerator", mbAbortRetryIgnore, {'R'}, 0, mrRetry},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    String focused;
    LONG_PTR style = 0;
    const int result = Show(kQuestion, mtConfirmation, c.Buttons, [&](HWND box) {
      focused = driver::WindowText(driver::FocusedWindow(box));
      style = GetWindowLongPtrA(driver::FocusedWindow(box), GWL_STYLE);
      Press(box, c.Keys, c.Modifier);
    });
    EXPECT_EQ(result, c.Result);
    ASSERT_FALSE(seen.Buttons.empty());
    EXPECT_EQ(focused, seen.Buttons.front());
    EXPECT_EQ(style & 0x0F, BS_DEFPUSHBUTTON);
  }
}

// Nothing but a button closes an Abort Retry Ignore dialog.
TEST_F(MessageDialogs, AbortRetryIgnoreIgnoresEscapeAndTheCloseBox) {
  bool openAfterwards = false;
  const int result = Show(kQuestion, mtError, mbAbortRetryIgnore, [&](HWND box) {
    Press(box, {VK_ESCAPE});
    Press(box, {VK_F4}, VK_MENU);
    PostMessageA(box, WM_CLOSE, 0, 0);
    driver::Settle(box);
    openAfterwards = driver::IsMessageBox(box);
    Press(box, {VK_RETURN});
  });
  EXPECT_TRUE(openAfterwards);
  EXPECT_EQ(result, mrAbort);
}

// A message too long for one line wraps within half the screen's width and
// the form grows down to hold it; the dialog stays centred on the screen.
TEST_F(MessageDialogs, LongMessageWrapsAndTheFormGrows) {
  auto answer = [](HWND box) { driver::AnswerMessageBox(box, "OK"); };
  Show("Installation impossible.", mtError, mbOK, answer);
  const RECT small = seen.Bounds;
  String longText;
  for (int i = 0; i < 12; ++i) longText += "Le chemin choisi ne peut pas recevoir les fichiers de l'application. ";
  longText += "Fin.";
  Show(longText, mtError, mbOK, answer);
  const RECT large = seen.Bounds;
  EXPECT_EQ(seen.Box.Text, longText);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_GT(large.right - large.left, small.right - small.left);
  EXPECT_LE(large.right - large.left, screenWidth * 3 / 4);
  // Twelve sentences take several lines of the text's font.
  EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 4 * 13);
  for (const RECT& r : {small, large}) {
    EXPECT_NEAR((r.left + r.right) / 2, screenWidth / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, screenHeight / 2, 1);
  }

  // Line breaks of the message are kept (without an icon as tall as two
  // lines).
  Show("Première ligne.", mtCustom, mbOK, answer);
  const RECT oneLine = seen.Bounds;
  Show("Première ligne.\nSeconde ligne.", mtCustom, mbOK, answer);
  EXPECT_EQ(seen.Box.Text, "Première ligne.\nSeconde ligne.");
  EXPECT_GT(seen.Bounds.bottom - seen.Bounds.top, oneLine.bottom - oneLine.top);
}

// The type's icon is drawn on the form, left of the text; mtCustom has none.
TEST_F(MessageDialogs, TheIconOfTheTypeIsDrawnOnTheForm) {
  // Reddish pixels of the form's client area drawn into a bitmap.
  auto redPixels = [](HWND box) {
    const driver::Picture picture = driver::PrintedPicture(box, WM_PRINTCLIENT, PRF_CLIENT);
    int red = 0;
    for (const uint32_t p : picture.Pixels) {
      const int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
      red += r > 150 && g < 100 && b < 100;
    }
    return red;
  };
  int withIcon = 0, without = 0;
  Show("Erreur.", mtError, mbOK, [&](HWND box) {
    withIcon = redPixels(box);
    driver::AnswerMessageBox(box, "OK");
  });
  Show("Erreur.", mtCustom, mbOK, [&](HWND box) {
    without = redPixels(box);
    driver::AnswerMessageBox(box, "OK");
  });
  EXPECT_GT(withIcon, 50);
  EXPECT_EQ(without, 0);
}

TEST_F(MessageDialogs, ShowMessageIsAnOKDialogUnderTheApplicationsTitle) {
  Application->SetTitle("Programme d'essai");
  Answer(
      [] {
        ShowMessage("Installation terminée.");
        return 0;
      },
      [](HWND box) { driver::AnswerMessageBox(box, "OK"); });
  EXPECT_EQ(seen.Box.Caption, "Programme d'essai");
  EXPECT_EQ(seen.Box.Text, "Installation terminée.");
  EXPECT_EQ(seen.Buttons, std::vector<String>{"OK"});
}

}  // namespace
