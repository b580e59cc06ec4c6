// The setup program driven from its start to the parameters page, filled
// and sent on with Next: what the installation's end-to-end tests and its
// benchmark share.
#pragma once

#include <vector>

#include "tools/driver/Driver.h"

namespace install_session {

inline constexpr char kMainCaption[] = "Software MERVALDO Installer v  3.7";
// The splash sequence sleeps 9 s before the main window shows; the wizard
// test walks it whole once, every other start shortens its waits through
// the program's test switch.
inline constexpr uint32_t kStartTimeoutMs = 40000;
inline constexpr char kShortSplash[] = "1";
inline constexpr uint32_t kStepTimeoutMs = 15000;

// The folder of Setup.exe, which holds the demo package.
inline String SetupFolder() { return driver::BuildPath("app"); }

// The company, field by field in the order of the page's edits and of the
// "Societe" fields they are stored in.
struct Company {
  const char* Societe = "Quincaillerie Amrani & Fils";
  const char* Activite = "Commerce de gros, quincaillerie générale";
  const char* Adresse = "12 rue des Érables, Tizi";
  const char* Tel = "051234567";
  const char* Fax = "051234568";
  const char* Email = "contact@amrani.example";
  const char* URL = "www.amrani.example";
  const char* CBank = "CPA 00400123 4567890";
  const char* RC = "16/00-0123456B12";
  const char* MF = "099916001234567";
  const char* AI = "16012345678";
  const char* NIF = "000216001234567";
  const char* NIS = "098716010012345";

  static constexpr const char* Fields[] = {"Societe", "Activite", "Adresse", "Tel", "Fax", "Email", "URL",
                                           "CBank",   "RC",       "MF",      "AI",  "NIF", "NIS"};
  std::vector<const char*> Texts() const {
    return {Societe, Activite, Adresse, Tel, Fax, Email, URL, CBank, RC, MF, AI, NIF, NIS};
  }
};

// The wizard, driven from its start to the parameters page.
class Session {
 public:
  explicit Session(const String& workDir) : setup_(QE_SETUP_EXE, Options(workDir, kShortSplash)) {
    main_ = setup_.WaitForWindow(kMainCaption, kStartTimeoutMs);
    if (!main_) return;
    WaitForPage("TForm_Welcome");
    driver::ClickCenter(Next());
    WaitForPage("TForm_Contrat");
    driver::ClickCenter(driver::FindChild(main_, "TvxCheckBox"));
    driver::ClickCenter(Next());
    WaitForPage("TForm_Params");
  }

  const driver::Program& Program() const { return setup_; }
  HWND Main() const { return main_; }
  bool AtParameters() const { return main_ && ShowsPage("TForm_Params"); }

  HWND Button(int left) const {
    for (HWND w : driver::Descendants(main_)) {
      POINT p{0, 0};
      MapWindowPoints(w, main_, &p, 1);
      if (GetParent(w) == main_ && driver::WindowClass(w) == "TvxButton" && p.x == left) return w;
    }
    return nullptr;
  }
  HWND Next() const { return Button(544); }
  HWND Previous() const { return Button(440); }
  HWND Quit() const { return Button(678); }
  HWND Edit(int index) const { return driver::FindChild(main_, "TFmEdit", "", index); }
  HWND Capital() const { return driver::FindChild(main_, "TFmNumericEdit"); }
  HWND PathEdit() const { return driver::FindChild(driver::FindChild(main_, "TvxShellComboBox"), "TEdit"); }

  bool ShowsPage(const char* pageClass) const {
    for (int i = 0; HWND page = driver::FindChild(main_, pageClass, "", i); ++i)
      if (driver::IsVisible(page)) return true;
    return false;
  }
  bool WaitForPage(const char* pageClass) const {
    return driver::WaitUntil(kStepTimeoutMs, [&] { return ShowsPage(pageClass); });
  }

  // Types every field as a person does: select what is there, type over
  // it.
  void Fill(const Company& c, const String& path, const char* capital) {
    const std::vector<const char*> texts = c.Texts();
    for (size_t i = 0; i < texts.size(); ++i) Retype(Edit(int(i)), texts[i]);
    Retype(Capital(), capital);
    Retype(PathEdit(), path);
    driver::WaitUntil(kStepTimeoutMs, [&] { return driver::IsEnabled(Next()); });
  }
  static void Retype(HWND edit, const String& text) {
    driver::ReplaceText(edit, text);
    driver::WaitUntil(kStepTimeoutMs, [&] { return driver::WindowText(edit) == text; });
  }

  // Presses Next and answers the boxes it brings, in order; returns the
  // texts of the boxes.
  std::vector<String> PressNext(std::initializer_list<const char*> answers) {
    driver::ClickCenter(Next());
    std::vector<String> texts;
    for (const char* answer : answers) {
      driver::MessageBoxInfo box = driver::WaitForMessageBox(setup_, kStepTimeoutMs);
      if (!box.Window) break;
      texts.push_back(box.Text);
      driver::AnswerMessageBox(box.Window, answer);
      driver::WaitUntil(kStepTimeoutMs, [&] { return !IsWindow(box.Window); });
    }
    driver::Settle(main_);
    return texts;
  }

  // Quit, answered Yes; the program's exit code.
  int QuitProgram() {
    driver::ClickCenter(Quit());
    driver::MessageBoxInfo box = driver::WaitForMessageBox(setup_, kStepTimeoutMs);
    if (box.Window) driver::AnswerMessageBox(box.Window, "Yes");
    return setup_.WaitForExit(kStepTimeoutMs);
  }

 private:
  static driver::StartOptions Options(const String& workDir, const char* splashWaits) {
    // The program inherits the switch from this process.
    SetEnvironmentVariableA("QE_SETUP_SPLASH_WAITS", splashWaits);
    driver::StartOptions options;
    options.WorkDir = workDir;
    options.WaitForInput = false;
    return options;
  }

  driver::Program setup_;
  HWND main_ = nullptr;
};

}  // namespace install_session
