#include "platform/ui/StreamAdapter.h"

#include <vector>

TStreamAdapter::TStreamAdapter(TStream& stream, TStreamOwnership ownership)
    : stream_(stream), ownership_(ownership) {}

TStreamAdapter::~TStreamAdapter() {
  if (ownership_ == soOwned) delete &stream_;
}

HRESULT TStreamAdapter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TStreamAdapter::AddRef() { return ++refs_; }

ULONG TStreamAdapter::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

// A platform stream reports failures as exceptions; COM callers get codes.
HRESULT TStreamAdapter::Read(void* buffer, ULONG count, ULONG* read) {
  if (!buffer) return STG_E_INVALIDPOINTER;
  try {
    const int64_t n = stream_.Read(buffer, count);
    if (read) *read = ULONG(n);
    return n < int64_t(count) ? S_FALSE : S_OK;
  } catch (...) {
    if (read) *read = 0;
    return STG_E_READFAULT;
  }
}

HRESULT TStreamAdapter::Write(const void* buffer, ULONG count, ULONG* written) {
  if (!buffer) return STG_E_INVALIDPOINTER;
  try {
    const int64_t n = stream_.Write(buffer, count);
    if (written) *written = ULONG(n);
    return n < int64_t(count) ? STG_E_CANTSAVE : S_OK;
  } catch (...) {
    if (written) *written = 0;
    return STG_E_CANTSAVE;
  }
}

HRESULT TStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  try {
    const int64_t p = stream_.Seek(move.QuadPart, TSeekOrigin(origin));
    if (p < 0) return STG_E_INVALIDFUNCTION;
    if (position) position->QuadPart = uint64_t(p);
    return S_OK;
  } catch (...) {
    return STG_E_INVALIDFUNCTION;
  }
}

HRESULT TStreamAdapter::SetSize(ULARGE_INTEGER size) {
  if (size.QuadPart > uint64_t(INT64_MAX)) return STG_E_INVALIDFUNCTION;
  try {
    stream_.SetSize(int64_t(size.QuadPart));
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TStreamAdapter::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                               ULARGE_INTEGER* written) {
  if (!target) return STG_E_INVALIDPOINTER;
  std::vector<uint8_t> buffer(64 * 1024);
  uint64_t left = count.QuadPart, totalRead = 0, totalWritten = 0;
  HRESULT result = S_OK;
  try {
    while (left > 0) {
      const int64_t n = stream_.Read(buffer.data(), int64_t(std::min<uint64_t>(left, buffer.size())));
      if (n <= 0) break;
      totalRead += uint64_t(n);
      left -= uint64_t(n);
      ULONG w = 0;
      result = target->Write(buffer.data(), ULONG(n), &w);
      totalWritten += w;
      if (FAILED(result) || w < ULONG(n)) break;
    }
  } catch (...) {
    result = STG_E_READFAULT;
  }
  if (read) read->QuadPart = totalRead;
  if (written) written->QuadPart = totalWritten;
  return result;
}

HRESULT TStreamAdapter::Commit(DWORD) { return S_OK; }

HRESULT TStreamAdapter::Revert() { return STG_E_REVERTED; }

HRESULT TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT TStreamAdapter::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  try {
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = uint64_t(stream_.Size());
    stat->grfMode = STGM_READWRITE;
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TStreamAdapter::Clone(IStream** clone) {
  if (clone) *clone = nullptr;
  return E_NOTIMPL;
}
