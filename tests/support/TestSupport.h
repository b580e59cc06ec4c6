// Test helpers: child processes of the running test program and temporary
// folders that clean up after themselves.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace testing_support {

// Runs this test program again with --gtest_filter=FILTER and the extra
// environment variables ("NAME=VALUE"), and returns its exit code.
int RunSelf(const std::string& filter, const std::vector<std::string>& env);

// Starts the same child without waiting; Wait() returns its exit code.
class ChildProcess {
 public:
  ChildProcess(const std::string& filter, const std::vector<std::string>& env);
  ~ChildProcess();
  int Wait();

 private:
  intptr_t handle_;
};

// A fresh folder under the system's temporary folder, removed with its
// contents when the object dies. Path() ends with the path delimiter.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const String& Path() const { return path_; }
  String File(const String& name) const { return path_ + name; }

 private:
  String path_;
};

// The source and build folders of the project, as the running program sees
// them (under Wine, a Unix path becomes a path on drive Z:).
String SourceDir();
String BinaryDir();

#ifdef _WIN32
// Handles this thread's messages, waiting for more, until done answers true
// or 5 seconds have passed; answers done's last word.
bool PumpMessagesUntil(const std::function<bool()>& done);
#endif

}  // namespace testing_support
