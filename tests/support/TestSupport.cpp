#include "TestSupport.h"

#include <cstdlib>

#include "platform/OsFiles.h"

namespace testing_support {

int RunSelf(const std::string& filter, const std::vector<std::string>& env) {
  return ChildProcess(filter, env).Wait();
}

namespace {

void RemoveTree(const String& dir) {
  std::vector<os::TSearchRec> entries;
  {
    os::DirSearch search(IncludeTrailingPathDelimiter(dir) + "*");
    os::TSearchRec rec;
    while (search.Next(rec)) entries.push_back(rec);
  }
  for (const auto& e : entries) {
    String full = IncludeTrailingPathDelimiter(dir) + e.Name;
    if (e.Attr & faDirectory) {
      RemoveTree(full);
    } else {
      os::FileSetAttr(full, faNormal);
      os::RemoveFile(full);
    }
  }
  os::RemoveDir(dir);
}

String FromEnvironment(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return String();
#ifdef _WIN32
  String p = v;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
#else
  return v;
#endif
}

}  // namespace

TempDir::TempDir() {
  String file = os::CreateTempFile(os::TempDirectory(), "qe");
  os::RemoveFile(file);
  path_ = IncludeTrailingPathDelimiter(file + ".d");
  os::ForceDirectories(path_);
}

TempDir::~TempDir() { RemoveTree(ExcludeTrailingPathDelimiter(path_)); }

String SourceDir() { return FromEnvironment("QE_SOURCE_DIR"); }
String BinaryDir() { return FromEnvironment("QE_BINARY_DIR"); }

}  // namespace testing_support
