#include "platform/ui/Clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/Errors.h"
#include "platform/ui/Forms.h"

namespace {

// Holds the clipboard open for one operation.
class ClipboardScope {
 public:
  ClipboardScope() {
    HWND owner = Application ? Application->Handle() : nullptr;
    // Another program may hold it for a moment.
    for (int tries = 0; !OpenClipboard(owner); ++tries) {
      if (tries == 10) throw EOSError("Cannot open clipboard", GetLastError());
      ::Sleep(10);
    }
  }
  ~ClipboardScope() { CloseClipboard(); }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
};

}  // namespace

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

bool TClipboard::HasText() { return IsClipboardFormatAvailable(CF_TEXT) != 0; }

String TClipboard::AsText() {
  ClipboardScope scope;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return String();
  const char* text = static_cast<const char*>(GlobalLock(data));
  if (!text) return String();
  // The block may be larger than the text; the text ends at its zero.
  String result(text, strnlen(text, GlobalSize(data)));
  GlobalUnlock(data);
  return result;
}

void TClipboard::SetAsText(const String& text) {
  ClipboardScope scope;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) throw EOutOfMemory("Out of memory");
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!SetClipboardData(CF_TEXT, block)) {
    GlobalFree(block);
    throw EOSError("Cannot set clipboard data", GetLastError());
  }
}

void TClipboard::Clear() {
  ClipboardScope scope;
  EmptyClipboard();
}
