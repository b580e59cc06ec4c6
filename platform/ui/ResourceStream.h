// A read-only stream over a resource of a module (a form, a bitmap, a skin).
#pragma once

#include <windows.h>

#include "platform/Streams.h"

QE_DECLARE_EXCEPTION(EResNotFound, Exception);

class TResourceStream : public TStream {
 public:
  // Raises EResNotFound "Resource %s not found". Names compare without
  // regard to case, as the system does.
  TResourceStream(HINSTANCE instance, const String& name, const char* type);
  TResourceStream(HINSTANCE instance, int id, const char* type);

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EStreamError "Can't write to a read-only resource stream".
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }
  const uint8_t* Memory() const { return data_; }

 private:
  void Initialize(HINSTANCE instance, const char* name, const char* type, const String& shownName);

  const uint8_t* data_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
};
