#include "platform/ui/ResourceStream.h"

#include <algorithm>
#include <cstring>

TResourceStream::TResourceStream(HINSTANCE instance, const String& name, const char* type) {
  Initialize(instance, name.c_str(), type, name);
}

TResourceStream::TResourceStream(HINSTANCE instance, int id, const char* type) {
  Initialize(instance, MAKEINTRESOURCEA(id), type, IntToStr(id));
}

void TResourceStream::Initialize(HINSTANCE instance, const char* name, const char* type, const String& shownName) {
  HRSRC info = FindResourceA(instance, name, type);
  HGLOBAL handle = info ? LoadResource(instance, info) : nullptr;
  if (!handle) throw EResNotFound(Format("Resource %s not found", {shownName}));
  // Resources stay mapped as long as their module: nothing to free.
  data_ = static_cast<const uint8_t*>(LockResource(handle));
  size_ = SizeofResource(instance, info);
}

int64_t TResourceStream::Read(void* buffer, int64_t count) {
  int64_t n = std::clamp<int64_t>(size_ - position_, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, data_ + position_, size_t(n));
  position_ += n;
  return n;
}

int64_t TResourceStream::Write(const void*, int64_t) {
  throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : size_;
  position_ = std::max<int64_t>(base + offset, 0);
  return position_;
}
