// An IStream over a platform stream, for the system's COM interfaces that
// read or write pictures (GDI+, OLE). Its references are counted as COM
// wants; the platform stream is freed with the adapter only when the adapter
// owns it.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <atomic>

#include "platform/Streams.h"

enum TStreamOwnership { soReference, soOwned };

class TStreamAdapter : public IStream {
 public:
  // Starts with one reference, the caller's.
  TStreamAdapter(TStream& stream, TStreamOwnership ownership = soReference);
  TStreamAdapter(const TStreamAdapter&) = delete;
  TStreamAdapter& operator=(const TStreamAdapter&) = delete;

  TStream& Stream() const { return stream_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

 private:
  virtual ~TStreamAdapter();

  TStream& stream_;
  TStreamOwnership ownership_;
  std::atomic<ULONG> refs_{1};
};
