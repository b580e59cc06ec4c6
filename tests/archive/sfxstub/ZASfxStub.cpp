// The stub of a self-extracting archive, for the tests: the archive is
// appended to this program, which opens its own file with our archiver and
// extracts every entry below the folder named on its command line.
//
//   zasfxstub.exe FOLDER
//
// Exit codes: 0 everything extracted, 1 bad command line, 2 no archive
// behind the stub or an entry failed. Nobody is there to answer a question,
// so a failed entry aborts instead of asking.
#include <windows.h>

#include <cstdio>

#include "archive/ZipArchiver.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zasfxstub FOLDER\n");
    return 1;
  }
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    std::fprintf(stderr, "cannot name this program\n");
    return 2;
  }
  try {
    TZipArchiver zip(nullptr);
    zip.OnProcessFileFailure = [](TObject*, const String&, TZAProcessOperation, int, int,
                                  const String&, TZAAction& action) { action = fxaAbort; };
    zip.SetFileName(self);
    zip.OpenArchiveMode(ZAModeReadOnly);
    zip.SetBaseDir(argv[1]);
    zip.ExtractFilesByMask("*.*");
    zip.CloseArchiveFile();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return 0;
}
