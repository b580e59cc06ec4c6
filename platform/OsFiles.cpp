// Path helpers shared by both sides of the OS seam.
#include "OsFiles.h"

#include <algorithm>
#include <atomic>

namespace os {

namespace {
std::atomic<TFileWriteHook> writeHook{nullptr};
}  // namespace

void SetFileWriteHook(TFileWriteHook hook) { writeHook = hook; }

int64_t AllowedWrite(THandle h, int64_t count) {
  const TFileWriteHook hook = writeHook;
  return hook ? std::clamp<int64_t>(hook(h, count), 0, count) : count;
}

}  // namespace os

bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }

namespace {

// Index just past the last delimiter (or drive colon), 0 when none.
size_t NameStart(std::string_view name) {
  for (size_t i = name.size(); i > 0; --i) {
    char c = name[i - 1];
    if (IsPathDelimiter(c) || (c == ':' && i == 2)) return i;
  }
  return 0;
}

}  // namespace

String ExtractFilePath(std::string_view name) { return String(name.substr(0, NameStart(name))); }

String ExtractFileDir(std::string_view name) {
  size_t start = NameStart(name);
  // Keep the delimiter of a root ("C:\", "/").
  if (start > 0 && IsPathDelimiter(name[start - 1]) && start > 1 && name[start - 2] != ':') --start;
  return String(name.substr(0, start));
}

String ExtractFileName(std::string_view name) { return String(name.substr(NameStart(name))); }

String ExtractFileExt(std::string_view name) {
  size_t start = NameStart(name);
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < start) return String();
  return String(name.substr(dot));
}

String ChangeFileExt(std::string_view name, std::string_view ext) {
  size_t start = NameStart(name);
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < start) dot = name.size();
  return String(name.substr(0, dot)) + String(ext);
}

String IncludeTrailingPathDelimiter(std::string_view s) {
  String r(s);
  if (r.empty() || !IsPathDelimiter(r.back())) r.push_back(PathDelim);
  return r;
}

String ExcludeTrailingPathDelimiter(std::string_view s) {
  String r(s);
  if (!r.empty() && IsPathDelimiter(r.back())) r.pop_back();
  return r;
}
