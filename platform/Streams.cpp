#include "Streams.h"

#include <algorithm>
#include <cstring>

// --- TStream -----------------------------------------------------------------

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> buffer(size_t(std::min(count, kChunk)));
  int64_t done = 0;
  while (done < count) {
    int64_t n = std::min(count - done, kChunk);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    done += n;
  }
  return done;
}

// --- THandleStream / TFileStream -----------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count) {
  int64_t n = os::FileRead(handle_, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  int64_t n = os::FileWrite(handle_, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  return os::FileSeek(handle_, offset, int(origin));
}

void THandleStream::SetSize(int64_t newSize) {
  if (!os::FileSetSize(handle_, newSize))
    throw EWriteError("Stream write error: %s", {os::SysErrorMessage(os::LastError())});
}

namespace {

THandle OpenOrCreate(const String& fileName, uint32_t mode) {
  if ((mode & 0xFF00) == fmCreate) {
    THandle h = os::FileCreate(fileName, mode & 0x00F0);
    if (h == InvalidHandle)
      throw EFCreateError("Cannot create file \"%s\". %s", {fileName, os::SysErrorMessage(os::LastError())});
    return h;
  }
  THandle h = os::FileOpen(fileName, mode);
  if (h == InvalidHandle)
    throw EFOpenError("Cannot open file \"%s\". %s", {fileName, os::SysErrorMessage(os::LastError())});
  return h;
}

}  // namespace

TFileStream::TFileStream(const String& fileName, uint32_t mode)
    : THandleStream(OpenOrCreate(fileName, mode)), fileName_(fileName) {}

TFileStream::~TFileStream() {
  if (handle_ != InvalidHandle) os::FileClose(handle_);
}

// --- TMemoryStream -------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= int64_t(data_.size())) return 0;
  int64_t n = std::min<int64_t>(count, int64_t(data_.size()) - position_);
  std::memcpy(buffer, data_.data() + position_, size_t(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0 || position_ < 0) return 0;
  int64_t end = position_ + count;
  if (end > int64_t(data_.size())) {
    if (int64_t(data_.capacity()) < end) data_.reserve(size_t(std::max<int64_t>(end, int64_t(data_.capacity()) * 3 / 2)));
    data_.resize(size_t(end));
  }
  std::memcpy(data_.data() + position_, buffer, size_t(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = int64_t(data_.size()) + offset; break;
  }
  if (position_ < 0) position_ = 0;
  return position_;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  data_.resize(size_t(newSize));
  if (position_ > newSize) position_ = newSize;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  int64_t size = source.Size();
  SetSize(size);
  position_ = 0;
  if (size) source.ReadBuffer(data_.data(), size);
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TMemoryStream::SaveToStream(TStream& dest) {
  if (!data_.empty()) dest.WriteBuffer(data_.data(), int64_t(data_.size()));
}

void TMemoryStream::SaveToFile(const String& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

// --- TStringStream ---------------------------------------------------------------

TStringStream::TStringStream(std::string_view s) {
  WriteString(s);
  SetPosition(0);
}

String TStringStream::DataString() const {
  return String(Bytes().begin(), Bytes().end());
}

String TStringStream::ReadString(int64_t count) {
  int64_t n = std::min(count, Size() - Position());
  if (n <= 0) return String();
  String s(size_t(n), '\0');
  Read(s.data(), n);
  return s;
}

void TStringStream::WriteString(std::string_view s) { WriteBuffer(s.data(), int64_t(s.size())); }
