#include <windows.h>

#include "TestSupport.h"

namespace testing_support {

namespace {

// The child runs the one case its filter names, whichever share of the
// cases (CTest shard) its parent runs: the shard variables are left out of
// its environment for the start.
class WithoutShards {
 public:
  WithoutShards() {
    for (int i = 0; i < 2; ++i) {
      char value[32] = {};
      const DWORD n = ::GetEnvironmentVariableA(kNames[i], value, sizeof value);
      saved_[i] = n > 0 && n < sizeof value ? value : "";
      ::SetEnvironmentVariableA(kNames[i], nullptr);
    }
  }
  ~WithoutShards() {
    for (int i = 0; i < 2; ++i)
      if (!saved_[i].empty()) ::SetEnvironmentVariableA(kNames[i], saved_[i].c_str());
  }
  WithoutShards(const WithoutShards&) = delete;
  WithoutShards& operator=(const WithoutShards&) = delete;

 private:
  static constexpr const char* kNames[2] = {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX"};
  std::string saved_[2];
};

}  // namespace

ChildProcess::ChildProcess(const std::string& filter, const std::vector<std::string>& env) {
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  for (const std::string& e : env) {
    size_t eq = e.find('=');
    ::SetEnvironmentVariableA(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str());
  }
  std::string cmd = "\"" + std::string(self) + "\" --gtest_brief=1 --gtest_filter=" + filter;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const WithoutShards noShards;
  BOOL ok = ::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  for (const std::string& e : env) ::SetEnvironmentVariableA(e.substr(0, e.find('=')).c_str(), nullptr);
  handle_ = ok ? reinterpret_cast<intptr_t>(pi.hProcess) : 0;
  if (ok) ::CloseHandle(pi.hThread);
}

ChildProcess::~ChildProcess() {
  if (handle_) Wait();
}

int ChildProcess::Wait() {
  if (!handle_) return -1;
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  ::WaitForSingleObject(h, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(h, &code);
  ::CloseHandle(h);
  handle_ = 0;
  return int(code);
}

}  // namespace testing_support
