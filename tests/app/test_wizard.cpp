// The setup program used end to end as a person would: the splash and its
// status lines, the main window's place, each page of the wizard, the Next
// rule and field colours, and the close query. A PNG of the splash (the
// buffer it pushed) and of every page is written under the build folder
// (screenshots/).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The splash is a layered window, which Xvfb cannot show: the program's
// test switch keeps every buffer it pushes (QE_SETUP_SPLASH_PUSHES) with a
// line of pushes.txt each: number, alpha, status lines, progress. The
// sequence fades in, shows its five status lines while the progress climbs
// to 50, then the starting line up to 100, and fades out.
struct Push {
  int Number, Alpha, Lines, Progress;
};

void ExpectSplashPushes(const String& dir) {
  std::vector<Push> pushes;
  if (FILE* log = std::fopen((dir + "\\pushes.txt").c_str(), "rb")) {
    Push p{};
    while (std::fscanf(log, "%d %d %d %d", &p.Number, &p.Alpha, &p.Lines, &p.Progress) == 4) pushes.push_back(p);
    std::fclose(log);
  }
  ASSERT_GT(pushes.size(), 30u);
  EXPECT_EQ(pushes.front().Alpha, 5);
  EXPECT_EQ(pushes.back().Alpha, 10);
  int mostLines = 0;
  std::vector<int> steps;
  const Push* fiveLines = nullptr;
  for (const Push& p : pushes) {
    mostLines = std::max(mostLines, p.Lines);
    if (steps.empty() || steps.back() != p.Progress) steps.push_back(p.Progress);
    if (p.Lines == 5 && p.Progress == 50) fiveLines = &p;
  }
  EXPECT_EQ(mostLines, 5);
  EXPECT_EQ(steps.front(), 0);
  EXPECT_EQ(steps.back(), 100);
  for (int step : {10, 20, 30, 40, 50, 75, 100})
    EXPECT_NE(std::find(steps.begin(), steps.end(), step), steps.end()) << step;

  // The buffer with all five lines: the background's title band, the newest
  // line's picture ("files") and brown text, the bar filled to its middle.
  ASSERT_NE(fiveLines, nullptr);
  char name[32];
  std::snprintf(name, sizeof name, "\\push-%03d.png", fiveLines->Number);
  CopyFileA((dir + name).c_str(), Screenshot("01-splash.png").c_str(), FALSE);
  driver::Picture picture = driver::LoadPicture(dir + name);
  ASSERT_EQ(picture.Width, 602);
  ASSERT_EQ(picture.Height, 402);
  auto similar = [](uint32_t rgb, int r, int g, int b) {
    return std::abs(int(rgb >> 16 & 0xFF) - r) < 24 && std::abs(int(rgb >> 8 & 0xFF) - g) < 24 &&
           std::abs(int(rgb & 0xFF) - b) < 24;
  };
  auto anyIn = [&](int left, int top, int right, int bottom, int r, int g, int b) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (similar(picture.At(x, y), r, g, b)) return true;
    return false;
  };
  EXPECT_TRUE(anyIn(290, 30, 310, 40, 26, 66, 132) || anyIn(290, 30, 310, 40, 43, 88, 156));
  EXPECT_TRUE(anyIn(151, 255, 180, 315, 90, 120, 180));   // the lines of the files picture
  EXPECT_TRUE(anyIn(175, 255, 450, 315, 164, 83, 2));     // #A45302
  auto green = [](uint32_t rgb) {
    const int r = int(rgb >> 16) & 0xFF, g = int(rgb >> 8) & 0xFF;
    return g > 120 && g > r + 60;
  };
  EXPECT_TRUE(green(picture.At(150, 312)));
  EXPECT_FALSE(green(picture.At(440, 312)));
}

// The close query is the framework's message dialog, skinned with the
// program's forms; shot names a picture of it to save.
void AnswerCloseQuery(const driver::Program& setup, const char* answer, const char* shot = nullptr) {
  driver::MessageBoxInfo box = driver::WaitForMessageBox(setup, kStepTimeoutMs);
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(driver::WindowClass(box.Window), "TMessageForm");
  EXPECT_EQ(box.Caption, "Confirmation");
  EXPECT_EQ(box.Text, kQuitQuestion);
  std::vector<String> buttons;
  for (HWND b : driver::MessageBoxButtons(box.Window)) buttons.push_back(driver::WindowText(b));
  EXPECT_EQ(buttons, (std::vector<String>{"&Yes", "&No"}));
  if (shot) SaveShot(box.Window, shot);
  EXPECT_TRUE(driver::AnswerMessageBox(box.Window, answer));
}

// The one start of the run that pays the whole splash sequence.
TEST(Wizard, WalksEveryPageAndQuitsThroughTheCloseQuery) {
  const String pushes = driver::BuildPath("splash-pushes");
  os::ForceDirectories(pushes);
  DeleteFileA((pushes + "\\pushes.txt").c_str());
  SetEnvironmentVariableA("QE_SETUP_SPLASH_PUSHES", pushes.c_str());
  driver::Program setup(QE_SETUP_EXE, FromItsStart(nullptr));
  SetEnvironmentVariableA("QE_SETUP_SPLASH_PUSHES", nullptr);
  HWND splash = setup.WaitForWindowOfClass("TSplashScreenWindow", kStartTimeoutMs);
  ASSERT_NE(splash, nullptr);
  HWND main = setup.WaitForWindow(kMainCaption, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindow(splash));
  ExpectSplashPushes(pushes);
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
  // Each field holds what was typed into it, none of the next field's.
  EXPECT_EQ(driver::WindowText(w.Edit(0)), "Quincaillerie Amrani");
  EXPECT_EQ(driver::WindowText(w.Edit(1)), "Commerce de gros");
  EXPECT_EQ(driver::WindowText(w.Edit(2)), "12 rue des Oliviers");
  EXPECT_EQ(driver::WindowText(w.PathEdit()), "C:\\");
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
  AnswerCloseQuery(setup, "No", "08-quit-question.png");
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
  HWND splash = setup.WaitForWindowOfClass("TSplashScreenWindow", kStartTimeoutMs);
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
