// Program entry of the setup program: for now a bare main window carrying
// the program's title, so that the build produces something real to run.
#include <windows.h>

namespace {

const char kTitle[] = "Software MERVALDO Installer";

LRESULT CALLBACK MainWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "TForm_Main";
  ::RegisterClassA(&wc);

  RECT r = {0, 0, 784, 442};
  ::AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
  HWND wnd = ::CreateWindowA("TForm_Main", kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 112, 144,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(wnd, show);
  ::UpdateWindow(wnd);

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}
