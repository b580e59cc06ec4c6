#include "vxClasses.h"

void vxInstallThreadHook(HHOOK& hook, int hookType, HOOKPROC proc) {
  if (hook) throw EAssertionFailed("Assertion failed (vxClasses, line 2575)");
  hook = SetWindowsHookExA(hookType, proc, nullptr, GetCurrentThreadId());
}

void vxRemoveThreadHook(HHOOK& hook) {
  if (!hook) return;
  UnhookWindowsHookEx(hook);
  hook = nullptr;
}
