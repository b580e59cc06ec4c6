#include "tools/driver/Driver.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/Errors.h"
#include "platform/OsFiles.h"
#include "platform/ui/Clipboard.h"

namespace driver {

namespace {

constexpr uint32_t kPollMs = 20;
// How long typed text may take to show in a busy program.
constexpr uint32_t kTypedTextTimeoutMs = 5000;
constexpr UINT kSendTimeoutMs = 5000;

String Quote(const String& s) { return s.find(' ') == String::npos ? s : "\"" + s + "\""; }

}  // namespace

bool WaitUntil(uint32_t timeoutMs, const std::function<bool()>& condition) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

// --- Program ---------------------------------------------------------------------------------

Program::Program(const String& exePath, const StartOptions& options) {
  String line = Quote(exePath) + (options.CommandLine.empty() ? "" : " " + options.CommandLine);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      options.WorkDir.empty() ? nullptr : options.WorkDir.c_str(), &si, &pi))
    throw EOSError("Cannot start " + exePath + ": " + os::SysErrorMessage(GetLastError()), GetLastError());
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  // Windows exist only once the program handles input.
  if (options.WaitForInput) WaitForInputIdle(process_, 10000);
}

Program::~Program() {
  Kill();
  CloseHandle(process_);
}

bool Program::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

int Program::WaitForExit(uint32_t timeoutMs) {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return int(code);
}

void Program::Kill() {
  if (!Running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

namespace {

struct TopLevelSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<TopLevelSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == s->pid) s->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> Program::TopLevelWindows() const {
  TopLevelSearch s{pid_, {}};
  EnumWindows(CollectTopLevel, LPARAM(&s));
  return s.found;
}

HWND Program::WaitForWindow(const String& title, uint32_t timeoutMs) const {
  HWND result = nullptr;
  WaitUntil(timeoutMs, [&] {
    for (HWND w : TopLevelWindows())
      if (IsWindowVisible(w) && WindowText(w) == title) return (result = w) != nullptr;
    return false;
  });
  return result;
}

HWND Program::WaitForWindowOfClass(const String& className, uint32_t timeoutMs) const {
  HWND result = nullptr;
  WaitUntil(timeoutMs, [&] {
    for (HWND w : TopLevelWindows())
      if (IsWindowVisible(w) && WindowClass(w) == className) return (result = w) != nullptr;
    return false;
  });
  return result;
}

// --- Finding and reading ---------------------------------------------------------------------

namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> list;
  EnumChildWindows(parent, CollectChild, LPARAM(&list));
  return list;
}

String StripAccelerators(const String& text) {
  String out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

HWND FindChild(HWND parent, const String& className, const String& text, int index) {
  for (HWND w : Descendants(parent)) {
    if (!className.empty() && WindowClass(w) != className) continue;
    if (!text.empty() && StripAccelerators(WindowText(w)) != StripAccelerators(text)) continue;
    if (index-- == 0) return w;
  }
  return nullptr;
}

HWND ChildAt(HWND parent, Point p) {
  HWND current = parent;
  POINT pt{p.X, p.Y};
  for (;;) {
    HWND child = ChildWindowFromPointEx(current, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == current) return current;
    MapWindowPoints(current, child, &pt, 1);
    current = child;
  }
}

String WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return String();
  String s(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, WPARAM(s.size()), LPARAM(s.data()), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &copied);
  s.resize(copied);
  return s;
}

String WindowClass(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != 0; }
bool IsVisible(HWND window) { return IsWindowVisible(window) != 0; }

RECT WindowBounds(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientBounds(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

// --- Acting ------------------------------------------------------------------------------------

void Settle(HWND window, uint32_t timeoutMs) {
  // A sent message is answered as soon as the thread looks at its queue,
  // before the posted ones; a few rounds let those through.
  for (int round = 0; round < 3; ++round) {
    Sleep(kPollMs);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result);
  }
}

namespace {

void Send(std::vector<INPUT>& inputs) {
  if (!inputs.empty()) SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

namespace {

// An absolute mouse event at a client point of window: absolute input
// counts in 65536ths of the primary screen. Each event carries its place,
// so that nothing moving the cursor in between (a Wine virtual desktop
// reports its display's pointer now and then) sends it elsewhere.
INPUT MouseInputAt(HWND window, Point p, DWORD flags) {
  POINT screen{p.X, p.Y};
  ClientToScreen(window, &screen);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = MouseInput(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
  input.mi.dx = LONG((int64_t(screen.x) * 65536 + width / 2) / width);
  input.mi.dy = LONG((int64_t(screen.y) * 65536 + height / 2) / height);
  return input;
}

}  // namespace

void MoveMouse(HWND window, Point p) {
  std::vector<INPUT> inputs = {MouseInputAt(window, p, 0)};
  Send(inputs);
  Settle(window);
}

void BringToFront(HWND window) {
  const HWND top = GetAncestor(window, GA_ROOT);
  WaitUntil(kSendTimeoutMs, [&] { return IsWindowEnabled(top) != 0; });
  const DWORD target = GetWindowThreadProcessId(top, nullptr), self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(top);
  AttachThreadInput(self, target, FALSE);
}

// Real input: the press goes to whatever window is under the pointer, as
// a person's would, and a disabled control ignores it. The window is
// brought to the front first, as a person's first click would.
void Click(HWND window, Point p) {
  BringToFront(window);
  MoveMouse(window, p);
  // Two clicks on one spot within the double-click time make a double
  // click: a second single click waits that time out.
  static POINT lastSpot{-1, -1};
  static DWORD lastTime = 0;
  POINT spot{p.X, p.Y};
  ClientToScreen(window, &spot);
  const DWORD since = GetTickCount() - lastTime, doubleClick = GetDoubleClickTime();
  if (std::abs(spot.x - lastSpot.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(spot.y - lastSpot.y) <= GetSystemMetrics(SM_CYDOUBLECLK) && since <= doubleClick)
    Sleep(doubleClick - since + 1);
  std::vector<INPUT> inputs = {MouseInputAt(window, p, 0), MouseInputAt(window, p, MOUSEEVENTF_LEFTDOWN),
                               MouseInputAt(window, p, MOUSEEVENTF_LEFTUP)};
  Send(inputs);
  lastSpot = spot;
  lastTime = GetTickCount();
  Settle(window);
}

void ClickCenter(HWND window) {
  RECT r = ClientBounds(window);
  Click(window, {(r.right - r.left) / 2, (r.bottom - r.top) / 2});
}

namespace {

void AddText(std::vector<INPUT>& inputs, const String& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
  for (wchar_t c : wide) {
    inputs.push_back(KeyInput(0, WORD(c), KEYEVENTF_UNICODE));
    inputs.push_back(KeyInput(0, WORD(c), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
}

void AddKey(std::vector<INPUT>& inputs, uint16_t vk, bool up) {
  const WORD scan = WORD(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  inputs.push_back(KeyInput(vk, scan, up ? KEYEVENTF_KEYUP : 0));
}

void AddPress(std::vector<INPUT>& inputs, uint16_t vk) {
  AddKey(inputs, vk, false);
  AddKey(inputs, vk, true);
}

}  // namespace

void TypeText(HWND window, const String& text) {
  Focus(window);
  std::vector<INPUT> inputs;
  AddText(inputs, text);
  Send(inputs);
  // Keystrokes wait in the input queue behind sent messages, so a settled
  // window may not have them all yet, and the next field to take the focus
  // would get the rest.
  WaitUntil(kTypedTextTimeoutMs, [&] { return WindowText(window).find(text) != String::npos; });
  Settle(window);
}

void ReplaceText(HWND window, const String& text) {
  Focus(window);
  std::vector<INPUT> inputs;
  AddPress(inputs, VK_END);
  AddKey(inputs, VK_SHIFT, false);
  AddPress(inputs, VK_HOME);
  AddKey(inputs, VK_SHIFT, true);
  AddPress(inputs, VK_DELETE);
  AddText(inputs, text);
  Send(inputs);
  Settle(window);
}

void PressKey(HWND window, uint16_t vk, bool alt) { PressKeys(window, {vk}, alt ? VK_MENU : 0); }

void PressKeys(HWND window, std::initializer_list<uint16_t> keys, uint16_t modifier) {
  Focus(window);
  std::vector<INPUT> inputs;
  if (modifier) AddKey(inputs, modifier, false);
  for (uint16_t vk : keys) AddPress(inputs, vk);
  if (modifier) AddKey(inputs, modifier, true);
  Send(inputs);
  Settle(window);
}

void Focus(HWND window) {
  // Focus belongs to the window's thread: join its input for the call.
  DWORD target = GetWindowThreadProcessId(window, nullptr);
  DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetFocus(window);
  AttachThreadInput(self, target, FALSE);
  Settle(window);
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  return gui.hwndFocus && IsChild(window, gui.hwndFocus) ? gui.hwndFocus : window;
}

// --- Message boxes -------------------------------------------------------------------------------

namespace {

bool IsMessageForm(HWND window) { return WindowClass(window) == "TMessageForm"; }

String ButtonClass(HWND box) { return IsMessageForm(box) ? "TButton" : "Button"; }

// The static text of a system box that is not its icon.
String StaticText(HWND box) {
  String text;
  for (HWND child : Descendants(box)) {
    if (WindowClass(child) != "Static") continue;
    String t = WindowText(child);
    if (!t.empty()) text = t;
  }
  return text;
}

// What Ctrl+C puts on the clipboard: the caption, the message and the
// buttons, each part after a rule of dashes. The message may hold line
// breaks of its own: it runs from the second rule to the last but one.
String CopiedMessage(HWND box) {
  Clipboard()->Clear();
  // The keys go where the focus is, which stays there. A dialog just shown
  // may lose the activation a moment later to its owner (the activation of
  // a window that Wine's virtual desktop shows comes late): it is brought
  // to the front again, as a person would click on it, until it copies.
  WaitUntil(kSendTimeoutMs, [&] {
    BringToFront(box);
    if (!WaitUntil(kPollMs * 10, [&] { return FocusedWindow(box) != box; })) return false;
    PressKeys(FocusedWindow(box), {'C'}, VK_CONTROL);
    return WaitUntil(kPollMs * 25, [] { return Clipboard()->HasText(); });
  });
  const String copy = Clipboard()->AsText();
  Clipboard()->Clear();
  std::vector<String> lines;
  for (size_t from = 0; from < copy.size();) {
    const size_t end = std::min(copy.find("\r\n", from), copy.size());
    lines.push_back(copy.substr(from, end - from));
    from = end + 2;
  }
  std::vector<size_t> rules;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].empty() && lines[i].find_first_not_of('-') == String::npos) rules.push_back(i);
  if (rules.size() < 4) return String();
  String text;
  for (size_t i = rules[1] + 1; i < rules[rules.size() - 2]; ++i) text += (i > rules[1] + 1 ? "\r\n" : "") + lines[i];
  return text;
}

}  // namespace

bool IsMessageBox(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const String cls = WindowClass(window);
  return cls == "#32770" || cls == "TMessageForm";
}

MessageBoxInfo ReadMessageBox(HWND box) {
  MessageBoxInfo info;
  info.Window = box;
  info.Caption = WindowText(box);
  info.Text = IsMessageForm(box) ? CopiedMessage(box) : StaticText(box);
  return info;
}

MessageBoxInfo WaitForMessageBox(const Program& program, uint32_t timeoutMs) {
  HWND box = nullptr;
  WaitUntil(timeoutMs, [&] {
    for (HWND w : program.TopLevelWindows())
      if (IsMessageBox(w)) return (box = w) != nullptr;
    return false;
  });
  return box ? ReadMessageBox(box) : MessageBoxInfo();
}

std::vector<HWND> MessageBoxButtons(HWND box) {
  std::vector<HWND> buttons;
  const String cls = ButtonClass(box);
  for (HWND child : Descendants(box))
    if (WindowClass(child) == cls && IsWindowVisible(child)) buttons.push_back(child);
  std::sort(buttons.begin(), buttons.end(),
            [](HWND a, HWND b) { return WindowBounds(a).left < WindowBounds(b).left; });
  return buttons;
}

bool AnswerMessageBox(HWND box, const String& buttonText) {
  HWND button = FindChild(box, ButtonClass(box), buttonText);
  if (!button) return false;
  ClickCenter(button);
  // Until the box is gone its owner takes no input: a click made at once
  // would be lost, as a person's would.
  WaitUntil(kSendTimeoutMs, [&] { return !IsWindow(box); });
  return true;
}

// --- Pictures --------------------------------------------------------------------------------------

namespace {

// GDI+ for the length of one save.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok)
      throw Exception("GDI+ cannot be started");
  }
  ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

CLSID PngEncoder() {
  UINT count = 0, bytes = 0;
  Gdiplus::GetImageEncodersSize(&count, &bytes);
  std::vector<uint8_t> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, bytes, codecs);
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(codecs[i].MimeType) == L"image/png") return codecs[i].Clsid;
  throw Exception("GDI+ has no PNG encoder");
}

}  // namespace

namespace {

// Draws into a top-down 32-bit section of width x height through draw(dc),
// and returns what it holds.
Picture DrawnPicture(int width, int height, const std::function<void(HDC)>& draw) {
  if (width <= 0 || height <= 0) throw Exception("The window has no area to save");
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, section);
  draw(mem);
  GdiFlush();
  Picture p;
  p.Width = width;
  p.Height = height;
  const auto* words = static_cast<const uint32_t*>(bits);
  p.Pixels.resize(size_t(width) * height);
  for (size_t i = 0; i < p.Pixels.size(); ++i) p.Pixels[i] = words[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(section);
  return p;
}

}  // namespace

Picture CaptureWindow(HWND window) {
  // What the screen shows at the window's place: frames included, as a
  // person sees them.
  const RECT r = WindowBounds(window);
  return DrawnPicture(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

Picture PrintedPicture(HWND window, UINT message, LPARAM flags) {
  const RECT r = message == WM_PRINTCLIENT ? ClientBounds(window) : WindowBounds(window);
  return DrawnPicture(r.right - r.left, r.bottom - r.top,
                      [&](HDC dc) { SendMessageA(window, message, WPARAM(dc), flags); });
}

void SavePicturePng(const Picture& picture, const String& fileName) {
  GdiplusSession session;
  std::vector<uint32_t> argb(picture.Pixels);
  for (uint32_t& pixel : argb) pixel |= 0xFF000000u;
  Gdiplus::Bitmap image(picture.Width, picture.Height, picture.Width * 4, PixelFormat32bppRGB,
                        reinterpret_cast<BYTE*>(argb.data()));
  CLSID png = PngEncoder();
  const Gdiplus::Status status =
      image.Save(reinterpret_cast<const WCHAR*>(AnsiToWide(fileName).c_str()), &png, nullptr);
  if (status != Gdiplus::Ok) throw Exception(Format("Cannot save %s (GDI+ status %d)", {fileName, int(status)}));
}

void SaveWindowPng(HWND window, const String& fileName) { SavePicturePng(CaptureWindow(window), fileName); }

Picture LoadPicture(const String& fileName) {
  GdiplusSession session;
  Gdiplus::Bitmap image(reinterpret_cast<const WCHAR*>(AnsiToWide(fileName).c_str()));
  if (image.GetLastStatus() != Gdiplus::Ok) throw Exception("Cannot read the picture " + fileName);
  Picture p;
  p.Width = int(image.GetWidth());
  p.Height = int(image.GetHeight());
  p.Pixels.resize(size_t(p.Width) * p.Height);
  // The pixels are copied out in one go: one call per pixel costs
  // seconds under Wine for a window-sized picture.
  Gdiplus::BitmapData data{};
  data.Width = UINT(p.Width);
  data.Height = UINT(p.Height);
  data.Stride = p.Width * 4;
  data.PixelFormat = PixelFormat32bppRGB;
  data.Scan0 = p.Pixels.data();
  Gdiplus::Rect all(0, 0, p.Width, p.Height);
  if (p.Width > 0 && p.Height > 0) {
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppRGB,
                       &data) != Gdiplus::Ok)
      throw Exception("Cannot read the pixels of " + fileName);
    image.UnlockBits(&data);
  }
  for (uint32_t& pixel : p.Pixels) pixel &= 0xFFFFFF;
  return p;
}

String BuildPath(const String& relativePath) {
  const char* dir = std::getenv("QE_BINARY_DIR");
  String base = dir ? dir : ".";
  if (!base.empty() && base[0] == '/') base = "Z:" + base;
  for (char& c : base)
    if (c == '/') c = '\\';
  String rel = relativePath;
  for (char& c : rel)
    if (c == '/') c = '\\';
  return IncludeTrailingPathDelimiter(base) + rel;
}

}  // namespace driver
