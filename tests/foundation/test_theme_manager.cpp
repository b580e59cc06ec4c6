// The theme binding and the theme manager, with Wine's visual styles on
// (in a child process started with the theme switched on in the prefix) and
// without the library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "LightTheme.h"

namespace {


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
  EXPECT_EQ(RunWithLightTheme("ThemeManagerChild.*"), 0);
}

}  // namespace
