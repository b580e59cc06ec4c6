// The setup program driven from its start to the parameters page, filled
// and sent on with Next: what the installation's end-to-end tests and its
// benchmark share.
#pragma once

#include <vector>

#include "tools/driver/Driver.h"

namespace install_session {

inline constexpr char kMainCaption[] = "Software MERVALDO Installer v  3.7";
// The splash sequence sleeps 9 s before the main window shows.
inline constexpr uint32_t kStartTimeoutMs = 40000;
inline constexpr uint32_t kStepTimeoutMs = 15000;

// The folder of Setup.exe, which holds the demo package.
inline String SetupFolder() { return driver::BuildPath("app"); }

struct Company {
  const char* Societe = "Quincaillerie Amrani";
  const char* Activite = "Commerce de gros";
  const char* Adresse = "12 rue des Oliviers";
  const char* Tel = "051234567";
  const char* Fax = "051234568";
  const char* Email = "contact@amrani.example";
  const char* NIF = "000216001234567";
};

// The wizard, driven from its start to the parameters page.
class Session {
 public:
  explicit Session(const String& workDir) : setup_(QE_SETUP_EXE, Options(workDir)) {
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

  void Fill(const Company& c, const String& path, const char* capital) {
    const char* texts[] = {c.Societe, c.Activite, c.Adresse, c.Tel, c.Fax, c.Email};
    for (int i = 0; i < 6; ++i) SetText(Edit(i), texts[i]);
    SetText(Edit(11), c.NIF);
    SetText(Capital(), capital);
    SetText(PathEdit(), path);
    driver::WaitUntil(kStepTimeoutMs, [&] { return driver::IsEnabled(Next()); });
  }
  static void SetText(HWND edit, const String& text) {
    SetWindowTextA(edit, text.c_str());
    driver::Settle(edit);
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
  static driver::StartOptions Options(const String& workDir) {
    driver::StartOptions options;
    options.WorkDir = workDir;
    options.WaitForInput = false;
    return options;
  }

  driver::Program setup_;
  HWND main_ = nullptr;
};

}  // namespace install_session
