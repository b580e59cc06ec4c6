#include "platform/ui/SystemLibrary.h"

#include <string>

HMODULE SafeLoadSystemLibrary(std::string_view name) {
  // A bare file name only: a path would escape the system folder.
  if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos) return nullptr;
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + std::string(name);
  const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
  // The full path fixes the library; the altered search path makes its own
  // dependencies come from its folder too.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(previous);
  return module;
}

bool TSystemLibrary::Load(std::string_view name) {
  Free();
  module_ = SafeLoadSystemLibrary(name);
  return module_ != nullptr;
}

void TSystemLibrary::Free() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

FARPROC TSystemLibrary::Proc(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }
