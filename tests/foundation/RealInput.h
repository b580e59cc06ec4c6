// Real input for the window tests: key strokes and mouse moves and clicks
// through SendInput, and pumping the program's queue until they have been
// handled.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/ui/Forms.h"

namespace real_input {

// Handles everything queued, input included.
inline void Pump() {
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// Handles messages as they come until done() holds or five seconds have
// passed; answers done().
inline bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Application->ProcessMessages();
  }
  return done();
}

// Virtual keys, each pressed (false) or released (true), in order.
inline void Keys(std::initializer_list<std::pair<uint16_t, bool>> strokes) {
  std::vector<INPUT> inputs;
  for (auto [vk, up] : strokes) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void Key(uint16_t vk) { Keys({{vk, false}, {vk, true}}); }

// Moves the pointer to a screen point, clicking the left button there when
// asked.
inline void MouseTo(TPoint p, bool click) {
  SetCursorPos(p.X, p.Y);
  std::vector<INPUT> inputs(click ? 3 : 1);
  for (INPUT& in : inputs) {
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(p.X * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG(p.Y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  if (click) {
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace real_input
