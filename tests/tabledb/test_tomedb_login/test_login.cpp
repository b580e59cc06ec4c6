// The "Database Login" dialog used as a person would: an encrypted table
// opened without a password shows it; Cancel stops the opening silently, OK
// with the right password opens the table, a wrong one is refused.
#include <gtest/gtest.h>

#include "platform/OsFiles.h"
#include "support/TestSupport.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBTable.h"
#include "tools/driver/Driver.h"

using testing_support::TempDir;

namespace {

constexpr uint32_t kTimeoutMs = 30000;

String ProgramBeside(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return ExtractFilePath(path) + name;
}

// An encrypted database whose table T holds one record with Code 7.
String MakeDatabase(const TempDir& dir) {
  const String file = dir.File("login.tdb");
  CreateTomeDatabase(file, ParseTomeSchema("encrypt Blowfish 1\npassword vorel\ntable T\n field Code integer\n"));
  TTomeTable table(nullptr);
  table.SetDatabaseName(file);
  table.SetTableName("T");
  table.BeforeOpen = [](TDataSet* d) { static_cast<TTMEDataSet*>(d)->SetDatabasePassword("vorel"); };
  table.Open();
  table.Append();
  table.FieldByName("Code")->SetAsInteger(7);
  table.Post();
  return file;
}

// Starts the program and answers its dialog: the password typed (when not
// cancelling) and the button clicked. Returns the exit code.
int AnswerLogin(const String& file, const char* password, const char* button, const char* picture = nullptr) {
  driver::StartOptions options;
  options.CommandLine = file;
  driver::Program demo(ProgramBeside("tomedb_login_demo.exe"), options);
  HWND dialog = demo.WaitForWindow("Database Login", kTimeoutMs);
  EXPECT_NE(dialog, nullptr);
  if (!dialog) return -1;
  HWND database = driver::FindChild(dialog, "TEdit", "", 0);
  HWND passwordEdit = driver::FindChild(dialog, "TEdit", "", 1);
  EXPECT_EQ(driver::WindowText(database), file);
  EXPECT_NE(driver::FindChild(dialog, "TPanel"), nullptr);
  const RECT bounds = driver::WindowBounds(dialog);
  EXPECT_EQ(bounds.right - bounds.left, 281);
  EXPECT_EQ(bounds.bottom - bounds.top, 154);
  if (password) {
    driver::TypeText(passwordEdit, password);
    EXPECT_TRUE(driver::WaitUntil(5000, [&] { return driver::WindowText(passwordEdit) == password; }));
  }
  if (picture) {
    driver::Settle(dialog);
    driver::SaveWindowPng(dialog, driver::BuildPath(picture));
  }
  driver::ClickCenter(driver::FindChild(dialog, "TButton", button));
  return demo.WaitForExit(kTimeoutMs);
}

TEST(TomeDBLogin, CancelAbortsSilentlyAndOkWithThePasswordOpens) {
  TempDir dir;
  const String file = MakeDatabase(dir);
  EXPECT_EQ(AnswerLogin(file, nullptr, "Cancel"), 2);
  EXPECT_EQ(AnswerLogin(file, "vorel", "OK", "tomedb_login.png"), 0);
  EXPECT_EQ(AnswerLogin(file, "wrong", "OK"), 1);
  TMemoryStream error;
  error.LoadFromFile(file + ".err");
  EXPECT_EQ(String(reinterpret_cast<const char*>(error.Memory()), size_t(error.Size())), "Access denied");
}

}  // namespace
