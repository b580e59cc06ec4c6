#include "platform/ui/WndProcThunk.h"

#include <cstring>
#include <new>

#include "platform/Errors.h"
#include "platform/ui/Controls.h"

namespace {

// Thunks live in one heap whose pages may be executed.
HANDLE CodeHeap() {
  static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return heap;
}

#if defined(_M_X64) || defined(__x86_64__)
// mov rcx, imm64 (the object, as the first argument); mov rax, imm64;
// jmp rax.
constexpr size_t kCodeSize = 22;
void Emit(uint8_t* code, const void* self, const void* target) {
  const uint64_t s = reinterpret_cast<uintptr_t>(self), t = reinterpret_cast<uintptr_t>(target);
  code[0] = 0x48;
  code[1] = 0xB9;
  std::memcpy(code + 2, &s, 8);
  code[10] = 0x48;
  code[11] = 0xB8;
  std::memcpy(code + 12, &t, 8);
  code[20] = 0xFF;
  code[21] = 0xE0;
}
#elif defined(_M_IX86) || defined(__i386__)
// mov dword ptr [esp+4], imm32 (the object over the window handle);
// jmp rel32.
constexpr size_t kCodeSize = 13;
void Emit(uint8_t* code, const void* self, const void* target) {
  const uint32_t s = reinterpret_cast<uintptr_t>(self);
  const int32_t rel = int32_t(reinterpret_cast<intptr_t>(target) - reinterpret_cast<intptr_t>(code + kCodeSize));
  code[0] = 0xC7;
  code[1] = 0x44;
  code[2] = 0x24;
  code[3] = 0x04;
  std::memcpy(code + 4, &s, 4);
  code[8] = 0xE9;
  std::memcpy(code + 9, &rel, 4);
}
#else
#error "window-procedure thunks need x86-64 or x86"
#endif

}  // namespace

TWndProcThunk::TWndProcThunk(TWndMethod method) : method_(std::move(method)) {
  code_ = CodeHeap() ? HeapAlloc(CodeHeap(), 0, kCodeSize) : nullptr;
  if (!code_) throw EOutOfMemory("Out of memory");
  Emit(static_cast<uint8_t*>(code_), this, reinterpret_cast<const void*>(&TWndProcThunk::Dispatch));
  FlushInstructionCache(GetCurrentProcess(), code_, kCodeSize);
}

TWndProcThunk::~TWndProcThunk() { HeapFree(CodeHeap(), 0, code_); }

LRESULT CALLBACK TWndProcThunk::Dispatch(HWND self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* thunk = reinterpret_cast<TWndProcThunk*>(self);
  // A copy: the method may free its own thunk.
  TWndMethod method = thunk->method_;
  TMessage m{msg, wParam, lParam, 0};
  try {
    method(m);
  } catch (...) {
    HandleControlException(nullptr);
  }
  return m.Result;
}

TWindowSubclass::TWindowSubclass(HWND window, TWndMethod method)
    : window_(window), thunk_(std::make_unique<TWndProcThunk>(std::move(method))) {
  SetLastError(0);
  const LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk_->Proc()));
  if (previous == 0 && GetLastError() != 0) throw EOSError("Cannot subclass the window", GetLastError());
  previous_ = reinterpret_cast<WNDPROC>(previous);
}

TWindowSubclass::~TWindowSubclass() {
  if (!IsWindow(window_)) return;
  if (GetWindowLongPtrA(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(thunk_->Proc())) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    return;
  }
  const HWND window = window_;
  const WNDPROC previous = previous_;
  thunk_->SetMethod([window, previous](TMessage& m) {
    m.Result = CallWindowProcA(previous, window, m.Msg, m.WParam, m.LParam);
  });
  thunk_.release();  // deliberately kept: the window above still calls it
}

void TWindowSubclass::CallPrevious(TMessage& m) const {
  m.Result = CallWindowProcA(previous_, window_, m.Msg, m.WParam, m.LParam);
}
