// Byte streams: the abstract TStream and its file, handle, memory and string
// forms. Positions and sizes are 64-bit.
#pragma once

#include <cstdint>
#include <vector>

#include "Components.h"
#include "Errors.h"
#include "OsFiles.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
 public:
  const char* ClassName() const override { return "TStream"; }

  // Return the number of bytes moved, which may be fewer than asked.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);

  // All-or-nothing forms: EReadError "Stream read error" and EWriteError
  // "Stream write error" when fewer bytes move.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source's current position; count 0 copies the
  // whole source from its start. Returns the number of bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);

  template <typename T>
  T ReadValue() {
    T v;
    ReadBuffer(&v, sizeof v);
    return v;
  }
  template <typename T>
  void WriteValue(const T& v) {
    WriteBuffer(&v, sizeof v);
  }
};

// A stream over an operating-system file handle; it does not own the handle.
class THandleStream : public TStream {
 public:
  explicit THandleStream(THandle handle) : handle_(handle) {}
  THandle Handle() const { return handle_; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;

 protected:
  THandle handle_;
};

// Open modes: one access mode or'ed with one share mode, or fmCreate.
enum : uint32_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A file opened or created by name; owns its handle. Raises EFOpenError
// "Cannot open file "%s". %s" or EFCreateError "Cannot create file "%s". %s"
// with the system's reason.
class TFileStream : public THandleStream {
 public:
  TFileStream(const String& fileName, uint32_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  const String& FileName() const { return fileName_; }

 private:
  String fileName_;
};

// A growable block of memory.
class TMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return int64_t(data_.size()); }
  void SetSize(int64_t newSize) override;

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void Clear();
  void LoadFromStream(TStream& source);
  void LoadFromFile(const String& fileName);
  void SaveToStream(TStream& dest);
  void SaveToFile(const String& fileName);

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// A memory stream whose contents read and write as a String.
class TStringStream : public TMemoryStream {
 public:
  TStringStream() = default;
  explicit TStringStream(std::string_view s);
  String DataString() const;
  String ReadString(int64_t count);
  void WriteString(std::string_view s);
};
