// The fixture of the framed controls' tests under Wine: one shown form for
// the whole suite, real key presses and mouse input (SendInput), and a pump
// that lets the program's queue take them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "platform/ui/Forms.h"

class FramedInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application->Initialize();
    form_ = new TForm(nullptr);
    form_->SetBounds(40, 40, 500, 360);
    form_->Show();
    Application->ProcessMessages();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override {
    SetForegroundWindow(form_->Handle());
    Application->ProcessMessages();
  }

  // Real key presses; the program's queue takes them on the next turn.
  static void Keys(std::initializer_list<uint16_t> keys) {
    std::vector<INPUT> inputs;
    for (uint16_t vk : keys)
      for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up;
        inputs.push_back(in);
      }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  }
  // Moves the pointer to a client point of a window, optionally clicking.
  static void Mouse(HWND window, int x, int y, bool click) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    MouseEvent(window, x, y, 0);
    if (!click) return;
    MouseEvent(window, x, y, MOUSEEVENTF_LEFTDOWN);
    MouseEvent(window, x, y, MOUSEEVENTF_LEFTUP);
  }
  // Real mouse input at a client point of a window: a move, with the
  // button flags given (MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP) there.
  static void MouseEvent(HWND window, int x, int y, DWORD buttons) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof in);
  }
  // Handles everything queued, input included.
  static void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  }

  static inline TForm* form_ = nullptr;
};
