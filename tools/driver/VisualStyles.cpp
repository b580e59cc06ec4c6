#include "tools/driver/VisualStyles.h"

#include <windows.h>

#include "platform/Errors.h"

namespace driver {
namespace {

constexpr const char* kThemeManager = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
constexpr const char* kNames[] = {"ThemeActive", "DllName", "ColorName", "SizeName"};

HKEY OpenThemeManager() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kThemeManager, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw Exception(String("Cannot open HKCU\\") + kThemeManager);
  return key;
}

void SetText(HKEY key, const char* name, const String& value) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
}

}  // namespace

PrefixVisualStyles::PrefixVisualStyles(bool on) {
  const char* values[] = {on ? "1" : "0", "C:\\windows\\resources\\themes\\light\\light.msstyles", "Blue",
                          "NormalSize"};
  HKEY key = OpenThemeManager();
  for (int i = 0; i < 4; ++i) {
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    saved_[i].present =
        RegQueryValueExA(key, kNames[i], nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    saved_[i].value = buffer;
    SetText(key, kNames[i], values[i]);
  }
  RegCloseKey(key);
}

PrefixVisualStyles::~PrefixVisualStyles() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kThemeManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (int i = 0; i < 4; ++i) {
    if (saved_[i].present)
      SetText(key, kNames[i], saved_[i].value);
    else
      RegDeleteValueA(key, kNames[i]);
  }
  RegCloseKey(key);
}

}  // namespace driver
