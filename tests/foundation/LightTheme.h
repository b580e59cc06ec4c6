// Runs tests of this program in a child process with Wine's light theme
// switched on, or visual styles switched off, in the prefix (the
// ThemeManager values under HKCU), then puts the prefix's values back. The
// child sees QE_THEME_CHILD set to "on" or "off".
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/TestSupport.h"
#include "platform/Text.h"

inline int RunWithVisualStyles(const std::string& filter, bool on) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0, nullptr,
                      0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return -1;
  const char* names[] = {"ThemeActive", "DllName", "ColorName", "SizeName"};
  const char* values[] = {on ? "1" : "0", "C:\\windows\\resources\\themes\\light\\light.msstyles", "Blue", "NormalSize"};
  struct Saved {
    bool present;
    String value;
  } saved[4];
  for (int i = 0; i < 4; ++i) {
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer, type = 0;
    saved[i].present =
        RegQueryValueExA(key, names[i], nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    saved[i].value = buffer;
    RegSetValueExA(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(values[i]), DWORD(strlen(values[i]) + 1));
  }
  const int code = testing_support::RunSelf(filter, {on ? "QE_THEME_CHILD=on" : "QE_THEME_CHILD=off"});
  for (int i = 0; i < 4; ++i) {
    if (saved[i].present)
      RegSetValueExA(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(saved[i].value.c_str()),
                     DWORD(saved[i].value.size() + 1));
    else
      RegDeleteValueA(key, names[i]);
  }
  RegCloseKey(key);
  return code;
}

inline int RunWithLightTheme(const std::string& filter) { return RunWithVisualStyles(filter, true); }

// In a child started by RunWithVisualStyles: whether visual styles are on.
inline bool ThemeChildHasVisualStyles() {
  const char* value = std::getenv("QE_THEME_CHILD");
  return value && std::strcmp(value, "on") == 0;
}
