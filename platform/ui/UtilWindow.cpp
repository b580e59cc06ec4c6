#include "platform/ui/UtilWindow.h"

#include <map>

#include "platform/Errors.h"
#include "platform/ui/Controls.h"

namespace {

const char* const kUtilClass = "TPUtilWindow";

// Utility windows live on the UI thread; so does this table. It is never
// destroyed: objects that static destructors free still deallocate here.
std::map<HWND, TWndMethod>& Methods() {
  static auto* methods = new std::map<HWND, TWndMethod>;
  return *methods;
}

LRESULT CALLBACK UtilWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = Methods().find(window);
  if (it == Methods().end()) return DefWindowProcA(window, msg, wParam, lParam);
  // A copy: the method may deallocate its own window.
  TWndMethod method = it->second;
  TMessage m{msg, wParam, lParam, 0};
  try {
    method(m);
  } catch (...) {
    HandleControlException(nullptr);
  }
  return m.Result;
}

void RegisterUtilClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kUtilClass;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) throw EOSError("Cannot register the utility window class", GetLastError());
}

}  // namespace

HWND AllocateHWnd(TWndMethod method, bool hearBroadcasts) {
  RegisterUtilClass();
  HWND parent = hearBroadcasts ? nullptr : HWND_MESSAGE;
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) throw EOSError("Cannot create a utility window", GetLastError());
  Methods()[window] = std::move(method);
  return window;
}

void DeallocateHWnd(HWND window) {
  if (!window) return;
  Methods().erase(window);
  DestroyWindow(window);
}

void DefaultUtilMessage(HWND window, TMessage& m) { m.Result = DefWindowProcA(window, m.Msg, m.WParam, m.LParam); }
