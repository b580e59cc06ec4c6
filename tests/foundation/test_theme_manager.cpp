// The theme binding and the theme manager, with Wine's visual styles on
// (in a child process started with the theme switched on in the prefix) and
// without the library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "support/TestSupport.h"

namespace {

const char* const kThemeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

TEST(UxTheme, WithoutTheLibraryNothingIsUsable) {
  vdThemeManagerFinalize();
  vdUxThemeFinalize();
  EXPECT_FALSE(vdUxThemeLibraryLoaded());
  EXPECT_EQ(vdUxIsThemeActive(), FALSE);
  EXPECT_FALSE(vdThemeClassesUsable(0));
  EXPECT_EQ(vdOpenThemeClass(tcButton), nullptr);
  EXPECT_EQ(vdCloseThemeClass(tcButton), 1);
  EXPECT_EQ(vdThemeChangedReceiverWindow(), nullptr);
  TvdThemeChangedNotificator unheard;  // no list to join: harmless
}

TEST(UxTheme, BindsByName) {
  vdUxThemeInitialize();
  ASSERT_TRUE(vdUxThemeLibraryLoaded());
  for (TvdUxEntry e : {uxOpenThemeData, uxCloseThemeData, uxDrawThemeBackground, uxIsThemeActive})
    EXPECT_NE(vdUxEntry(e), nullptr) << vdUxEntryNames[e];
  vdUxThemeFinalize();
}

// The manager with visual styles on. Run by the test below.
TEST(ThemeManagerChild, CachesHandlesAndFollowsThemeChanges) {
  if (!std::getenv("QE_THEME_CHILD")) GTEST_SKIP() << "runs as a child process";
  vdUxThemeInitialize();
  vdThemeManagerInitialize();
  ASSERT_TRUE(vdThemeClassesUsable(0)) << "Wine's theme is not active";
  ASSERT_NE(vdThemeChangedReceiverWindow(), nullptr);

  HTHEME button = vdOpenThemeClass(tcButton);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(vdOpenThemeClass(tcButton), button);
  EXPECT_EQ(vdOpenThemeClass(tcButton, u"button"), button);
  EXPECT_EQ(vdThemeClassList(tcButton), u"Button");
  EXPECT_TRUE(vdThemeClassesUsable(vdThemeClassBit(tcButton) | vdThemeClassBit(tcEdit)));

  // Another class list replaces the handle.
  HTHEME other = vdOpenThemeClass(tcButton, u"Edit");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(vdThemeClassList(tcButton), u"Edit");
  // A class the theme does not know gives 0 and forgets its list.
  EXPECT_EQ(vdOpenThemeClass(tcClock, u"NoSuchThemeClass"), nullptr);
  EXPECT_EQ(vdThemeClassList(tcClock), u"");

  int told = 0;
  TvdThemeChangedNotificator listener;
  listener.OnThemeChanged = [&] { ++told; };
  {
    TvdThemeChangedNotificator gone;
    gone.OnThemeChanged = [&] { told += 100; };
  }
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  EXPECT_EQ(told, 1);
  // Reopened on first use with the class list it had.
  EXPECT_EQ(vdThemeClassList(tcButton), u"Edit");
  EXPECT_NE(vdOpenThemeClass(tcButton), nullptr);
  EXPECT_EQ(vdThemeClassList(tcButton), u"Edit");
  EXPECT_EQ(vdCloseThemeClass(tcButton), S_OK);
  EXPECT_EQ(vdCloseThemeClass(tcButton), 0);

  // The user switches visual styles off: the system broadcasts the change.
  using EnableThemingProc = HRESULT(WINAPI*)(BOOL);
  auto enableTheming =
      reinterpret_cast<EnableThemingProc>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("uxtheme.dll"), "EnableTheming")));
  if (enableTheming) {
    enableTheming(FALSE);
    SendMessageTimeoutA(HWND_BROADCAST, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_FALSE(vdThemeClassesUsable(0));
    EXPECT_EQ(vdOpenThemeClass(tcButton), nullptr);
    EXPECT_GE(told, 2);
  }
  vdThemeManagerFinalize();
  vdUxThemeFinalize();
}

// Switches Wine's own theme on in the prefix for one child, then puts the
// prefix's values back.
TEST(ThemeManager, WithVisualStylesOn) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kThemeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char* names[] = {"ThemeActive", "DllName", "ColorName", "SizeName"};
  const char* values[] = {"1", "C:\\windows\\resources\\themes\\light\\light.msstyles", "Blue", "NormalSize"};
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
  const int code = testing_support::RunSelf("ThemeManagerChild.*", {"QE_THEME_CHILD=1"});
  for (int i = 0; i < 4; ++i) {
    if (saved[i].present)
      RegSetValueExA(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(saved[i].value.c_str()),
                     DWORD(saved[i].value.size() + 1));
    else
      RegDeleteValueA(key, names[i]);
  }
  RegCloseKey(key);
  EXPECT_EQ(code, 0);
}

}  // namespace
