#include <windows.h>

#include "TestSupport.h"

namespace testing_support {

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
