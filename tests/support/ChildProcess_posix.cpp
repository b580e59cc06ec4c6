#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "TestSupport.h"

namespace testing_support {

ChildProcess::ChildProcess(const std::string& filter, const std::vector<std::string>& env) {
  char self[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  self[n < 0 ? 0 : n] = '\0';
  pid_t pid = ::fork();
  if (pid == 0) {
    // The child runs the one case its filter names, whichever share of the
    // cases (CTest shard) its parent runs.
    ::unsetenv("GTEST_TOTAL_SHARDS");
    ::unsetenv("GTEST_SHARD_INDEX");
    for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
    std::string arg = "--gtest_filter=" + filter;
    ::execl(self, self, arg.c_str(), "--gtest_brief=1", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  handle_ = pid;
}

ChildProcess::~ChildProcess() {
  if (handle_ > 0) Wait();
}

int ChildProcess::Wait() {
  if (handle_ <= 0) return -1;
  int status = 0;
  ::waitpid(pid_t(handle_), &status, 0);
  handle_ = 0;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace testing_support
