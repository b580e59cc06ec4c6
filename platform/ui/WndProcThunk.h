// Window procedures bound to objects.
//
// TWndProcThunk is a few bytes of executable code that the system calls as a
// window procedure: they put the object in place of the window handle and
// jump to a common dispatcher, which hands the message to the object's
// method. TWindowSubclass uses one to take over an existing window's
// messages and passes the rest on to the procedure it replaced. Procedures
// are pointers: they are read and written with GetWindowLongPtr and
// SetWindowLongPtr, which keep all 64 bits.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/ui/Messages.h"

class TWndProcThunk {
 public:
  explicit TWndProcThunk(TWndMethod method);
  ~TWndProcThunk();
  TWndProcThunk(const TWndProcThunk&) = delete;
  TWndProcThunk& operator=(const TWndProcThunk&) = delete;

  // The address to give the system as a window procedure.
  WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(code_); }
  void SetMethod(TWndMethod method) { method_ = std::move(method); }

 private:
  static LRESULT CALLBACK Dispatch(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);

  TWndMethod method_;
  void* code_;
};

// Takes over a window's messages. Messages the method does not answer go to
// CallPrevious, the procedure the window had.
class TWindowSubclass {
 public:
  TWindowSubclass(HWND window, TWndMethod method);
  // Gives the window its previous procedure back when ours is still the
  // window's. When another subclass sits on top of ours, ours must stay
  // callable: it is kept, passing every message to the previous procedure.
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  HWND Window() const { return window_; }
  WNDPROC Proc() const { return thunk_->Proc(); }
  WNDPROC PreviousProc() const { return previous_; }
  void CallPrevious(TMessage& message) const;

 private:
  HWND window_;
  WNDPROC previous_ = nullptr;
  std::unique_ptr<TWndProcThunk> thunk_;
};
