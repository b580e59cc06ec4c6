// The driver: uses our Windows programs as a person would. It starts a
// program, waits for its windows, finds controls by class, text or
// position, clicks and types with real input (SendInput), answers message
// boxes by their buttons, reads what the windows show and saves PNG
// pictures of them. The end-to-end tests of every program use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/Text.h"

namespace driver {

struct Point {
  int X = 0;
  int Y = 0;
};

struct StartOptions {
  String CommandLine;  // may be empty
  String WorkDir;      // empty: the caller's
  // Return only once the program takes input (at most 10 s). A program that
  // blocks before its message loop (a splash sequence) is better started
  // without the wait and watched through WaitForWindow.
  bool WaitForInput = true;
};

// A running program; the destructor ends it when it still runs.
class Program {
 public:
  explicit Program(const String& exePath, const StartOptions& options = StartOptions());
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  uint32_t ProcessId() const { return pid_; }
  bool Running() const;
  // The exit code, or -1 when the program did not end in time.
  int WaitForExit(uint32_t timeoutMs);
  void Kill();

  // A visible top-level window of the program whose title is exactly
  // title; nullptr after the timeout.
  HWND WaitForWindow(const String& title, uint32_t timeoutMs) const;
  // A visible top-level window of the program of that window class.
  HWND WaitForWindowOfClass(const String& className, uint32_t timeoutMs) const;
  std::vector<HWND> TopLevelWindows() const;

 private:
  HANDLE process_ = nullptr;
  uint32_t pid_ = 0;
};

// --- Finding windows ----------------------------------------------------------------
// Every descendant window, parents before children.
std::vector<HWND> Descendants(HWND parent);
// The index-th descendant of that class (empty: any) whose text is text
// (empty: any). Texts compare without '&' accelerator marks.
HWND FindChild(HWND parent, const String& className, const String& text = String(), int index = 0);
// The deepest visible child window at a client point of parent.
HWND ChildAt(HWND parent, Point clientPoint);

// --- Reading ----------------------------------------------------------------------------
String WindowText(HWND window);
String WindowClass(HWND window);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);
RECT WindowBounds(HWND window);   // screen coordinates
RECT ClientBounds(HWND window);   // client coordinates
// The window's text without '&' marks ("&Suivant" gives "Suivant").
String StripAccelerators(const String& text);

// --- Acting ----------------------------------------------------------------------------
// Makes the window's top-level window the foreground one (once it is
// enabled): in a Wine virtual desktop, input reaches only the foreground
// window's thread.
void BringToFront(HWND window);
// Moves the mouse there, presses and releases the left button (client
// coordinates of window).
void Click(HWND window, Point clientPoint);
void ClickCenter(HWND window);
void MoveMouse(HWND window, Point clientPoint);
// Gives the window the focus and types each character as a key press; waits
// (a few seconds at most) until the window's text shows what was typed.
void TypeText(HWND window, const String& text);
// Gives the window the focus, selects its whole text with the keyboard
// (End, Shift+Home), deletes it and types text. It does not wait for the
// text to show: a field may refuse some of it (the caller waits for what
// it expects).
void ReplaceText(HWND window, const String& text);
// Gives the window the focus and presses a key (virtual key), with Alt
// held when alt is set.
void PressKey(HWND window, uint16_t virtualKey, bool alt = false);
// Gives the window the focus and presses the keys in turn, with modifier
// (a virtual key such as VK_SHIFT; 0 for none) held throughout.
void PressKeys(HWND window, std::initializer_list<uint16_t> keys, uint16_t modifier = 0);
// Gives the window the keyboard focus (the program's thread does it).
void Focus(HWND window);
// The child of window that has the keyboard focus; window itself when the
// focus is elsewhere.
HWND FocusedWindow(HWND window);
// Gives the window's thread time to handle what was posted to it: posted
// input cannot be awaited exactly from outside, so checks that depend on it
// wait with WaitUntil.
void Settle(HWND window, uint32_t timeoutMs = 2000);
// Polls condition until it holds (true) or the time is up (false).
bool WaitUntil(uint32_t timeoutMs, const std::function<bool()>& condition);

// --- Message boxes ---------------------------------------------------------------------
// The system's message boxes (window class "#32770") and the framework's
// message dialogs ("TMessageForm") are read and answered alike.
struct MessageBoxInfo {
  HWND Window = nullptr;
  String Caption;
  String Text;
};
// A visible window of either kind.
bool IsMessageBox(HWND window);
// The caption and the message. A message dialog draws its message itself:
// it is read as a person would take it, copied with Ctrl+C, through the
// clipboard (the clipboard is left empty).
MessageBoxInfo ReadMessageBox(HWND box);
// The program's next message box, read.
MessageBoxInfo WaitForMessageBox(const Program& program, uint32_t timeoutMs);
// Clicks the box's button whose text (without '&') is buttonText and
// waits until the box is gone. Returns false when the box has no such
// button.
bool AnswerMessageBox(HWND box, const String& buttonText);
// The buttons of the box, in the order of its row.
std::vector<HWND> MessageBoxButtons(HWND box);

// --- Pictures ---------------------------------------------------------------------------
// A picture as 0x00RRGGBB pixels row by row.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels.at(size_t(y) * Width + x); }
};
// What the screen shows at the window's place (its whole frame), in
// memory: cheap enough to poll while a program is busy.
Picture CaptureWindow(HWND window);
// What the window draws of itself into a bitmap when sent message (WM_PRINT,
// WM_PRINTCLIENT, WM_PAINT) with the bitmap's DC and flags: the client area
// for WM_PRINTCLIENT, else the whole window.
Picture PrintedPicture(HWND window, UINT message, LPARAM flags);
// Saves a picture, or what the window shows, as a PNG file through GDI+.
void SavePicturePng(const Picture& picture, const String& fileName);
void SaveWindowPng(HWND window, const String& fileName);
// A PNG file read back through GDI+.
Picture LoadPicture(const String& fileName);
// A path under the build folder: QE_BINARY_DIR (a Unix path under Wine,
// taken through drive Z:) joined with relativePath.
String BuildPath(const String& relativePath);

}  // namespace driver
