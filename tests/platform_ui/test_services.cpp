// Registry, timers, clipboard and resources.
#include <gtest/gtest.h>

#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Registry.h"
#include "platform/ui/ResourceStream.h"
#include "platform/ui/Timers.h"

namespace {

TEST(Registry, ValuesRoundTripAndMissingValuesAreReported) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey("\\Software\\QeUiTest\\", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\QeUiTest");
  reg.WriteString("Name", "Pr\xE9" "c\xE9" "dent");
  reg.WriteInteger("Count", -42);
  reg.WriteBool("Flag", true);
  EXPECT_EQ(reg.ReadString("Name"), "Pr\xE9" "c\xE9" "dent");
  EXPECT_EQ(reg.ReadInteger("Count"), -42);
  EXPECT_TRUE(reg.ReadBool("Flag"));
  EXPECT_EQ(reg.ReadString("Absent"), "");
  EXPECT_THROW(reg.ReadInteger("Absent"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Name"), ERegistryException);
  EXPECT_THROW(reg.ReadString("Count"), ERegistryException);
  EXPECT_TRUE(reg.CreateKey("Child"));  // relative to the current key
  EXPECT_TRUE(reg.KeyExists("\\Software\\QeUiTest\\Child"));
  auto names = reg.GetValueNames();
  EXPECT_EQ(names.size(), 3u);
  reg.CloseKey();
  EXPECT_FALSE(reg.OpenKey("\\Software\\QeUiTest\\Missing", false));
  EXPECT_TRUE(reg.DeleteKey("\\Software\\QeUiTest"));
  EXPECT_FALSE(reg.KeyExists("\\Software\\QeUiTest"));
}

// The 32-bit view of HKLM\Software is a separate tree (Wow6432Node) that the
// native view does not see under the same name.
TEST(Registry, ThirtyTwoBitViewIsSeparate) {
  TRegistry view32;
  view32.SetRootKey(HKEY_LOCAL_MACHINE);
  view32.SetUse32BitView(true);
  ASSERT_TRUE(view32.OpenKey("\\SOFTWARE\\QeUiTest32\\", true));
  view32.WriteString("ZLTR Version", "5.8");
  view32.CloseKey();

  TRegistry native;
  native.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(native.KeyExists("\\SOFTWARE\\QeUiTest32"));
  ASSERT_TRUE(native.OpenKeyReadOnly("\\SOFTWARE\\Wow6432Node\\QeUiTest32"));
  EXPECT_EQ(native.ReadString("ZLTR Version"), "5.8");
  native.CloseKey();

  ASSERT_TRUE(view32.OpenKeyReadOnly("\\SOFTWARE\\QeUiTest32"));
  EXPECT_EQ(view32.ReadString("ZLTR Version"), "5.8");
  view32.CloseKey();
  EXPECT_TRUE(view32.DeleteKey("\\SOFTWARE\\QeUiTest32"));
  EXPECT_FALSE(native.KeyExists("\\SOFTWARE\\Wow6432Node\\QeUiTest32"));
}

TEST(Registry, IniFileReadsSectionsWithDefaults) {
  {
    TRegIniFile ini("\\Software\\QeUiIni");
    EXPECT_EQ(ini.ReadString("ThemeManager", "ColorName", ""), "");
    ini.WriteString("ThemeManager", "ColorName", "Metallic");
    ini.WriteInteger("Numbers", "Seven", 7);
    ini.WriteBool("Numbers", "Yes", true);
  }
  TRegIniFile ini("\\Software\\QeUiIni");
  EXPECT_EQ(ini.ReadString("ThemeManager", "ColorName", "x"), "Metallic");
  EXPECT_EQ(ini.ReadInteger("Numbers", "Seven", 0), 7);
  EXPECT_TRUE(ini.ReadBool("Numbers", "Yes", false));
  EXPECT_EQ(ini.ReadInteger("Numbers", "Missing", 3), 3);
  // A value that is not a number reads as the default.
  EXPECT_EQ(ini.ReadInteger("ThemeManager", "ColorName", 9), 9);
  ini.DeleteKey("Numbers", "Seven");
  EXPECT_EQ(ini.ReadInteger("Numbers", "Seven", -1), -1);
  TRegistry cleanup;
  EXPECT_TRUE(cleanup.DeleteKey("\\Software\\QeUiIni"));
}

TEST(Timers, TimerFiresOnTheMessageLoopUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(15);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 3) timer.SetEnabled(false);
  });
  // The loop waits for messages, not for time: WM_TIMER is one. Once the
  // third tick disabled the timer, a few more intervals bring no fourth.
  auto pump = [](DWORD ms, auto done) {
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      Application->ProcessMessages();
    }
  };
  pump(5000, [&] { return ticks == 3; });
  ASSERT_EQ(ticks, 3);
  pump(100, [] { return false; });
  EXPECT_EQ(ticks, 3);
  // Without an event the timer stays stopped even when enabled.
  TTimer idle(nullptr);
  idle.SetInterval(10);
  EXPECT_TRUE(idle.Enabled());
}

TEST(Clipboard, TextRoundTrips) {
  Application->Initialize();
  Clipboard()->SetAsText("Soci\xE9t\xE9 42");
  EXPECT_TRUE(Clipboard()->HasText());
  EXPECT_EQ(Clipboard()->AsText(), "Soci\xE9t\xE9 42");
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasText());
  EXPECT_EQ(Clipboard()->AsText(), "");
}

TEST(Resources, MissingResourceIsReported) {
  try {
    TResourceStream s(GetModuleHandleA(nullptr), "TFORM_NOWHERE", MAKEINTRESOURCEA(10));
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource TFORM_NOWHERE not found");
  }
}

}  // namespace
