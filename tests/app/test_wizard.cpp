// The setup program used end to end as a person would: the splash and its
// status lines, the main window's place, each page of the wizard, the Next
// rule and field colours, and the close query. A PNG of the splash and of
// every page is written under the build folder (screenshots/).
#include <gtest/gtest.h>

#include "platform/OsFiles.h"
#include "tools/driver/Driver.h"

namespace {

const char kMainCaption[] = "Software MERVALDO Installer v  3.7";
const char kQuitQuestion[] = "Etes vous sur de vouloir quitter l'assistant d'installation ?";
// The splash sequence sleeps 9 s before the main window shows.
constexpr uint32_t kStartTimeoutMs = 40000;
constexpr uint32_t kStepTimeoutMs = 10000;

String Screenshot(const char* name) {
  String dir = driver::BuildPath("screenshots");
  os::ForceDirectories(dir);
  return dir + "\\" + name;
}

void SaveShot(HWND window, const char* name) {
  driver::Settle(window);
  Sleep(200);
  driver::SaveWindowPng(window, Screenshot(name));
}

// The colour at the right end of an edit, away from its text and frame.
uint32_t FieldColour(HWND main, HWND edit) {
  String png = driver::BuildPath("field-probe.png");
  driver::Settle(main);
  Sleep(200);
  driver::SaveWindowPng(main, png);
  driver::Picture picture = driver::LoadPicture(png);
  RECT frame = driver::WindowBounds(main), e = driver::WindowBounds(edit);
  return picture.At(e.right - 6 - frame.left, (e.top + e.bottom) / 2 - frame.top);
}

struct Wizard {
  HWND Main;
  // The wizard buttons lie on the main window itself, told apart by place
  // (their captions change).
  HWND Button(int left) const {
    for (HWND w : driver::Descendants(Main)) {
      POINT p{0, 0};
      MapWindowPoints(w, Main, &p, 1);
      if (GetParent(w) == Main && driver::WindowClass(w) == "TvxButton" && p.x == left) return w;
    }
    return nullptr;
  }
  HWND Next() const { return Button(544); }
  HWND Previous() const { return Button(440); }
  HWND Quit() const { return Button(678); }
  HWND Edit(int index) const { return driver::FindChild(Main, "TFmEdit", "", index); }
  HWND PathEdit() const { return driver::FindChild(driver::FindChild(Main, "TvxShellComboBox"), "TEdit"); }
  // Earlier instances of a page stay, hidden: any visible one counts.
  bool ShowsPage(const char* pageClass) const {
    for (int i = 0; HWND page = driver::FindChild(Main, pageClass, "", i); ++i)
      if (driver::IsVisible(page)) return true;
    return false;
  }
};

// The program takes input only after its blocking splash sequence: it is
// started without waiting for that, so that the splash can be watched.
// splashWaits is the program's test switch, the share in percent of each
// splash wait; nullptr leaves the waits whole (once per run).
driver::StartOptions FromItsStart(const char* splashWaits) {
  SetEnvironmentVariableA("QE_SETUP_SPLASH_WAITS", splashWaits);
  driver::StartOptions options;
  options.WaitForInput = false;
  return options;
}

// The splash as saved after its first status line: 601 x 371, the
// progress bar (at 140, 300) filled from its left end in the bar's green,
// and not yet to its middle.
void ExpectSplashPicture(HWND splash, const String& png) {
  driver::Picture picture = driver::LoadPicture(png);
  ASSERT_EQ(picture.Width, 601);
  ASSERT_EQ(picture.Height, 371);
  auto green = [](uint32_t rgb) {
    const int r = int(rgb >> 16) & 0xFF, g = int(rgb >> 8) & 0xFF;
    return g > 120 && g > r + 60;
  };
  RECT frame = driver::WindowBounds(splash);
  POINT start{145, 310}, middle{440, 310};
  ClientToScreen(splash, &start);
  ClientToScreen(splash, &middle);
  EXPECT_TRUE(green(picture.At(start.x - frame.left, start.y - frame.top)));
  EXPECT_FALSE(green(picture.At(middle.x - frame.left, middle.y - frame.top)));
}

void AnswerCloseQuery(const driver::Program& setup, const char* answer) {
  driver::MessageBoxInfo box = driver::WaitForMessageBox(setup, kStepTimeoutMs);
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Text, kQuitQuestion);
  EXPECT_TRUE(driver::AnswerMessageBox(box.Window, answer));
}

// The one start of the run that pays the whole splash sequence.
TEST(Wizard, WalksEveryPageAndQuitsThroughTheCloseQuery) {
  driver::Program setup(QE_SETUP_EXE, FromItsStart(nullptr));
  HWND splash = setup.WaitForWindowOfClass("TLuxSplashWindow", kStartTimeoutMs);
  ASSERT_NE(splash, nullptr);
  // After the first pause and the first status line (2.5 s), before the
  // second (4.5 s).
  Sleep(3500);
  SaveShot(splash, "01-splash.png");
  ExpectSplashPicture(splash, Screenshot("01-splash.png"));
  HWND main = setup.WaitForWindow(kMainCaption, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindow(splash));
  RECT bounds = driver::WindowBounds(main);
  EXPECT_EQ(bounds.left, 112);
  EXPECT_EQ(bounds.top, 144);
  RECT client = driver::ClientBounds(main);
  EXPECT_EQ(client.right, 784);
  EXPECT_EQ(client.bottom, 442);

  Wizard w{main};
  ASSERT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Welcome"); }));
  EXPECT_FALSE(driver::IsEnabled(w.Previous()));
  EXPECT_TRUE(driver::IsEnabled(w.Next()));
  SaveShot(main, "02-welcome.png");

  driver::ClickCenter(w.Next());
  ASSERT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Contrat"); }));
  EXPECT_TRUE(driver::IsEnabled(w.Previous()));
  SaveShot(main, "03-agreement.png");

  driver::ClickCenter(w.Next());
  driver::MessageBoxInfo box = driver::WaitForMessageBox(setup, kStepTimeoutMs);
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "Erreur d'installation");
  EXPECT_EQ(box.Text,
            "Attention, vous n'avez pas accepté le contrat d'utilisation de cet application. Installation impossible.");
  EXPECT_TRUE(driver::AnswerMessageBox(box.Window, "OK"));
  EXPECT_TRUE(w.ShowsPage("TForm_Contrat"));

  driver::ClickCenter(driver::FindChild(main, "TvxCheckBox"));
  driver::ClickCenter(w.Next());
  ASSERT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Params"); }));
  EXPECT_EQ(driver::WindowText(w.Next()), "&Installer");
  EXPECT_FALSE(driver::IsEnabled(w.Next()));
  SaveShot(main, "04-parameters.png");
  EXPECT_EQ(FieldColour(main, w.Edit(3)), 0xFFF0F0u);

  driver::TypeText(w.Edit(0), "Quincaillerie Amrani");
  driver::TypeText(w.Edit(1), "Commerce de gros");
  driver::TypeText(w.Edit(2), "12 rue des Oliviers");
  driver::TypeText(w.PathEdit(), "C:\\");
  driver::TypeText(w.Edit(3), "05123456");
  driver::Settle(main);
  EXPECT_FALSE(driver::IsEnabled(w.Next()));
  EXPECT_EQ(FieldColour(main, w.Edit(3)), 0xFFF0F0u);
  EXPECT_EQ(FieldColour(main, w.Edit(0)), 0xE6FFE6u);
  driver::TypeText(w.Edit(3), "7");
  EXPECT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return driver::IsEnabled(w.Next()); }));
  EXPECT_EQ(FieldColour(main, w.Edit(3)), 0xE6FFE6u);
  SaveShot(main, "05-parameters-filled.png");

  // Back and on again: a new, empty parameters page.
  driver::ClickCenter(w.Previous());
  ASSERT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Contrat"); }));
  EXPECT_EQ(driver::WindowText(w.Next()), "&Suivant");
  EXPECT_TRUE(driver::IsEnabled(w.Next()));
  driver::ClickCenter(w.Next());
  ASSERT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Params"); }));
  HWND freshSociete = nullptr;
  for (int i = 0; HWND edit = w.Edit(i); ++i)
    if (driver::IsVisible(edit)) {
      freshSociete = edit;
      break;
    }
  ASSERT_NE(freshSociete, nullptr);
  EXPECT_EQ(driver::WindowText(freshSociete), "");
  EXPECT_FALSE(driver::IsEnabled(w.Next()));

  driver::ClickCenter(w.Quit());
  AnswerCloseQuery(setup, "No");
  driver::Settle(main);
  EXPECT_TRUE(setup.Running());
  EXPECT_TRUE(IsWindowVisible(main));

  driver::ClickCenter(w.Quit());
  AnswerCloseQuery(setup, "Yes");
  EXPECT_EQ(setup.WaitForExit(kStepTimeoutMs), 0);
}

// A close of the splash window, or of the main window from its system menu,
// is never lost and never skips the question.
TEST(Wizard, ClosingDuringTheSplashAsksOnceTheWizardShows) {
  driver::Program setup(QE_SETUP_EXE, FromItsStart("10"));
  HWND splash = setup.WaitForWindowOfClass("TLuxSplashWindow", kStartTimeoutMs);
  ASSERT_NE(splash, nullptr);
  PostMessageA(splash, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND main = setup.WaitForWindow(kMainCaption, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  AnswerCloseQuery(setup, "No");
  Wizard w{main};
  EXPECT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return w.ShowsPage("TForm_Welcome"); }));
  EXPECT_TRUE(setup.Running());

  PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  AnswerCloseQuery(setup, "Yes");
  EXPECT_EQ(setup.WaitForExit(kStepTimeoutMs), 0);
}

}  // namespace
