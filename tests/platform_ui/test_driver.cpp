// The driver uses the demo program as a person would: it types a name,
// clicks a button, answers the message box and takes a picture; and it
// watches a program that is busy before it takes input.
#include <gtest/gtest.h>

#include "platform/OsFiles.h"
#include "tools/driver/Driver.h"

namespace {

String ProgramBeside(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return ExtractFilePath(path) + name;
}

TEST(Driver, UsesTheDemoProgramAsAPersonWould) {
  driver::Program demo(ProgramBeside("platform_ui_demo.exe"));
  HWND main = demo.WaitForWindow("QE Demo", 30000);
  ASSERT_NE(main, nullptr);
  HWND edit = driver::FindChild(main, "TEdit");
  HWND greet = driver::FindChild(main, "TButton", "Greet");
  HWND status = driver::FindChild(main, "TPanel", "Status");
  ASSERT_TRUE(edit && greet && status);
  EXPECT_EQ(driver::WindowText(greet), "&Greet");
  EXPECT_TRUE(driver::IsEnabled(greet));
  EXPECT_TRUE(driver::IsVisible(status));
  // The page form is embedded: the controls are children of the main window.
  EXPECT_EQ(driver::WindowClass(GetParent(GetParent(edit))), "TPanel");

  driver::TypeText(edit, "World");
  EXPECT_TRUE(driver::WaitUntil(5000, [&] { return driver::WindowText(edit) == "World"; }));
  driver::ClickCenter(greet);
  driver::MessageBoxInfo box = driver::WaitForMessageBox(demo, 10000);
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "Greeting");
  EXPECT_EQ(box.Text, "Hello, World");
  EXPECT_FALSE(driver::AnswerMessageBox(box.Window, "Maybe"));
  EXPECT_TRUE(driver::AnswerMessageBox(box.Window, "OK"));
  ASSERT_NE(demo.WaitForWindow("QE Demo - answered", 10000), nullptr);

  // The check box by its accelerator, then greet again: politely.
  driver::PressKey(edit, 'P', true);
  driver::ClickCenter(greet);
  box = driver::WaitForMessageBox(demo, 10000);
  EXPECT_EQ(box.Text, "Good day, World");
  driver::AnswerMessageBox(box.Window, "OK");

  String png = driver::BuildPath("platform_ui_demo.png");
  DeleteFileA(png.c_str());
  driver::Settle(main);
  driver::SaveWindowPng(main, png);
  driver::Picture picture = driver::LoadPicture(png);
  RECT bounds = driver::WindowBounds(main);
  EXPECT_EQ(picture.Width, bounds.right - bounds.left);
  EXPECT_EQ(picture.Height, bounds.bottom - bounds.top);
  // The red logo, a graphic control that the page paints at (330, 70).
  POINT logo{350, 90};
  ClientToScreen(GetParent(edit), &logo);
  EXPECT_EQ(picture.At(logo.x - bounds.left, logo.y - bounds.top), 0xFF0000u);
  RECT s = driver::WindowBounds(status);
  // Inside the navy status panel, away from its caption.
  EXPECT_EQ(picture.At(s.left - bounds.left + 5, s.top - bounds.top + 5), 0x000080u);
  // The page's white background between the controls.
  RECT e = driver::WindowBounds(edit);
  EXPECT_EQ(picture.At(e.left - bounds.left - 3, e.bottom - bounds.top + 5), 0xFFFFFFu);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(demo.WaitForExit(10000), 0);
}


// A program that works before it takes input is watched from its start.
TEST(Driver, StartsAProgramWithoutWaitingForItsInput) {
  driver::StartOptions options;
  options.CommandLine = "--busy 3000";
  options.WaitForInput = false;
  driver::Program demo(ProgramBeside("platform_ui_demo.exe"), options);
  EXPECT_EQ(demo.WaitForWindow("QE Demo", 0), nullptr);
  HWND main = demo.WaitForWindow("QE Demo", 30000);
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(demo.WaitForExit(10000), 0);
}

}  // namespace
