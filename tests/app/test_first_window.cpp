// The program starts under Wine, shows its main window with the program's
// title, and a PNG of that window is saved in the build folder.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include "platform/OsFiles.h"
#include "support/TestSupport.h"

namespace {

HWND WaitForWindow(const char* title, DWORD timeoutMs) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50))
    if (HWND w = ::FindWindowA(nullptr, title)) return w;
  return nullptr;
}

bool SavePng(HBITMAP bmp, const std::wstring& file) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      Gdiplus::Bitmap image(bmp, nullptr);
      return image.Save(file.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
    }
  return false;
}

}  // namespace

TEST(FirstWindow, ShowsTheProgramTitleAndIsCaptured) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);

  String exe = QE_SETUP_EXE;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  String cmd = "\"" + exe + "\"";
  ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  // Whatever happens below, the program does not outlive the test.
  struct Reaper {
    PROCESS_INFORMATION& pi;
    ~Reaper() {
      if (::WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
      ::CloseHandle(pi.hProcess);
      ::CloseHandle(pi.hThread);
    }
  } reaper{pi};

  HWND wnd = WaitForWindow("Software MERVALDO Installer", 20000);
  ASSERT_NE(wnd, nullptr);
  RECT client;
  ::GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 784);
  EXPECT_EQ(client.bottom, 442);
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  // The window belongs to another process: copy what the screen shows.
  ::Sleep(300);
  POINT origin = {0, 0};
  ::ClientToScreen(wnd, &origin);
  ASSERT_TRUE(::BitBlt(mem, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY));
  COLORREF face = ::GetPixel(mem, 392, 221);
  ::SelectObject(mem, old);
  EXPECT_EQ(face, ::GetSysColor(COLOR_BTNFACE));

  String dir = testing_support::BinaryDir() + "\\screenshots";
  os::ForceDirectories(dir);
  String png = dir + "\\first-window.png";
  const WideString wide = AnsiToWide(png);
  EXPECT_TRUE(SavePng(bmp, std::wstring(wide.begin(), wide.end())));
  EXPECT_GT(os::FileSizeByName(png), 100);

  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);

  ::PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  Gdiplus::GdiplusShutdown(token);
}
