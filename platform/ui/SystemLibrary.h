// Optional libraries of the system, bound at run time by name.
//
// A library is loaded from the system folder only, never from the folder
// the program was started from or the current one (a library planted there
// must not run in our process), and without the system's error box when it
// is missing. A missing library or entry point is no error: callers switch
// the feature off.
#pragma once

#include <windows.h>

#include <string_view>

class TSystemLibrary {
 public:
  TSystemLibrary() = default;
  // Loads name (a bare file name such as "gdiplus.dll") from the system folder.
  explicit TSystemLibrary(std::string_view name) { Load(name); }
  ~TSystemLibrary() { Free(); }
  TSystemLibrary(const TSystemLibrary&) = delete;
  TSystemLibrary& operator=(const TSystemLibrary&) = delete;

  bool Load(std::string_view name);
  void Free();
  bool Loaded() const { return module_ != nullptr; }
  HMODULE Handle() const { return module_; }
  // nullptr when the library is not loaded or lacks the name.
  FARPROC Proc(const char* name) const;
  template <class Fn>
  Fn ProcAs(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(Proc(name)));
  }

 private:
  HMODULE module_ = nullptr;
};

// The module handle of a system library, or nullptr (see TSystemLibrary).
HMODULE SafeLoadSystemLibrary(std::string_view name);
