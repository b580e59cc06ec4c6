// The archiver's prompts as Windows dialogs: a message box for failures and
// two small dialogs built from in-memory templates, one with the four
// overwrite answers and one masked input box for a password.
#include <windows.h>

#include <vector>

#include "archive/ZipArchiverPrompts.h"

namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr int kIdText = 100;
constexpr int kIdEdit = 101;
constexpr int kIdNoToAll = 102;
constexpr int kIdYesToAll = 103;
// The caption of the platform's confirmation dialogs.
constexpr const char* kConfirmCaption = "Confirm";

// A dialog template in memory (DLGTEMPLATE and DLGITEMTEMPLATE records, with
// the DWORD alignment that each item needs), in dialog units.
class TDialogTemplate {
 public:
  TDialogTemplate(const String& caption, short cx, short cy) {
    Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT);
    Dword(0);
    countAt_ = words_.size();
    words_.insert(words_.end(), {0, 0, 0, WORD(cx), WORD(cy), 0, 0});
    Text(caption);
    words_.push_back(8);
    Text("MS Shell Dlg");
  }

  void Add(WORD classAtom, DWORD style, short x, short y, short cx, short cy, int id,
           const String& text) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    words_.insert(words_.end(), {WORD(x), WORD(y), WORD(cx), WORD(cy), WORD(id), 0xFFFF, classAtom});
    Text(text);
    words_.push_back(0);
    ++words_[countAt_];
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD v) { words_.insert(words_.end(), {LOWORD(v), HIWORD(v)}); }
  void Text(const String& s) {
    for (char16_t c : AnsiToWide(s)) words_.push_back(WORD(c));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  size_t countAt_;
};

struct TPasswordState {
  String prompt;
  String* value;
};

INT_PTR CALLBACK ButtonsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK PasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    const auto* state = reinterpret_cast<TPasswordState*>(lParam);
    SetDlgItemTextA(dialog, kIdText, state->prompt.c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) {
      auto* state = reinterpret_cast<TPasswordState*>(GetWindowLongPtrA(dialog, DWLP_USER));
      const HWND edit = GetDlgItem(dialog, kIdEdit);
      String text(size_t(GetWindowTextLengthA(edit)) + 1, '\0');
      text.resize(size_t(GetWindowTextA(edit, text.data(), int(text.size()))));
      *state->value = text;
    }
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

class TZAWindowsPrompts : public TZAPrompts {
 public:
  TOverwriteAnswer ConfirmOverwrite(const String& text) override {
    TDialogTemplate t(kConfirmCaption, 250, 74);
    t.Add(kStaticClass, SS_LEFT, 8, 8, 234, 36, kIdText, text);
    t.Add(kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 8, 52, 54, 14, IDYES, "&Yes");
    t.Add(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 68, 52, 54, 14, IDNO, "&No");
    t.Add(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 128, 52, 54, 14, kIdNoToAll, "N&o to All");
    t.Add(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 188, 52, 54, 14, kIdYesToAll, "Yes to &All");
    switch (DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), GetActiveWindow(),
                                    ButtonsProc, 0)) {
      case IDYES: return oaYes;
      case IDNO: return oaNo;
      case kIdNoToAll: return oaNoToAll;
      case kIdYesToAll: return oaYesToAll;
      default: return oaClosed;
    }
  }

  bool AskPassword(const String& caption, const String& prompt, String& value) override {
    TDialogTemplate t(caption, 200, 66);
    t.Add(kStaticClass, SS_LEFT, 8, 8, 184, 10, kIdText, "");
    t.Add(kEditClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, 8, 22, 184, 12, kIdEdit, "");
    t.Add(kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 84, 44, 50, 14, IDOK, "OK");
    t.Add(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 142, 44, 50, 14, IDCANCEL, "Cancel");
    TPasswordState state{prompt, &value};
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), GetActiveWindow(),
                                   PasswordProc, reinterpret_cast<LPARAM>(&state)) == IDOK;
  }

  TZAAction AskFailureAction(const String& text) override {
    switch (MessageBoxA(GetActiveWindow(), text.c_str(), kConfirmCaption,
                        MB_ABORTRETRYIGNORE | MB_ICONQUESTION)) {
      case IDRETRY: return fxaRetry;
      case IDIGNORE: return fxaIgnore;
      default: return fxaAbort;
    }
  }
  bool Confirm(const String& text) override {
    return MessageBoxA(GetActiveWindow(), text.c_str(), kConfirmCaption,
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  }
};

}  // namespace

TZAPrompts& ZASystemPrompts() {
  static TZAWindowsPrompts prompts;
  return prompts;
}
