// A self-extractor written by us runs: our archiver writes an archive behind
// the test stub (sfxstub/), the result is started as a program and extracts
// itself, and our archiver reads the same file as an archive.
#include <windows.h>

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "platform/OsFiles.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

// The stub is built beside this test program.
String StubProgram() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  return ExtractFilePath(String(self, length)) + "zasfxstub.exe";
}

// Runs program with folder as its one argument and returns its exit code,
// -1 when it cannot start. A program that hangs is ended after a minute so
// that the test fails instead of the whole suite timing out.
int RunWithFolder(const String& program, const String& folder) {
  // Without the trailing delimiter: "C:\x\" would escape the closing quote.
  String command = "\"" + program + "\" \"" + ExcludeTrailingPathDelimiter(folder) + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &si, &pi))
    return -1;
  CloseHandle(pi.hThread);
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    ADD_FAILURE() << program << " did not finish";
    TerminateProcess(pi.hProcess, code);
  }
  CloseHandle(pi.hProcess);
  return int(code);
}

// Lines of text, long enough to be deflated.
std::string Lines(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
  return s;
}

struct TSample {
  const char* name;
  std::string data;
};

}  // namespace

TEST(ZASfxWin32, StubArchiveRunsItsStubAndExtractsItself) {
  TempDir dir;
  const TSample files[] = {{"readme.txt", "Read me first."},
                           {"data\\lines.txt", Lines(20000)},
                           {"data\\empty.dat", ""}};
  const String source = dir.File("src\\");
  os::ForceDirectories(source + "data");
  for (const TSample& f : files) PutFile(source + f.name, f.data);

  const String setup = dir.File("setup.exe");
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(setup);
    zip.SetSFXStub(StubProgram());
    zip.SetBaseDir(source);
    zip.OpenArchiveFile();
    zip.AddFiles("readme.txt");
    zip.AddFiles("data");
    zip.CloseArchiveFile();
  }
  const Bytes stub = GetFile(StubProgram());
  const Bytes whole = GetFile(setup);
  ASSERT_GT(whole.size(), stub.size());
  EXPECT_TRUE(std::equal(stub.begin(), stub.end(), whole.begin()));

  ASSERT_EQ(RunWithFolder(setup, dir.File("ran")), 0);
  for (const TSample& f : files)
    EXPECT_EQ(GetFile(dir.File("ran\\") + f.name), Bytes(f.data.begin(), f.data.end())) << f.name;

  TZipArchiver reader(nullptr);
  reader.SetFileName(setup);
  reader.OpenArchiveMode(ZAModeReadOnly);
  EXPECT_EQ(reader.FileCount(), 4);  // the folder "data" has an entry of its own
  reader.SetBaseDir(dir.File("read"));
  reader.ExtractFilesByMask("*.*");
  reader.CloseArchiveFile();
  for (const TSample& f : files)
    EXPECT_EQ(GetFile(dir.File("read\\") + f.name), Bytes(f.data.begin(), f.data.end())) << f.name;
}

// The stub alone has nothing behind it: it says so by its exit code and
// extracts nothing.
TEST(ZASfxWin32, BareStubFails) {
  TempDir dir;
  EXPECT_EQ(RunWithFolder(StubProgram(), dir.File("out")), 2);
  EXPECT_FALSE(os::DirectoryExists(dir.File("out")));
}
