// Small helpers of the archive tests: byte builders, files, sample archives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ZipArchiver.h"
#include "support/TestSupport.h"

namespace archive_test {

using Bytes = std::vector<uint8_t>;

// Appends little-endian fields.
struct ByteBuilder {
  Bytes b;
  ByteBuilder& U16(uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
    return *this;
  }
  ByteBuilder& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  ByteBuilder& U64(uint64_t v) { return U32(uint32_t(v)).U32(uint32_t(v >> 32)); }
  ByteBuilder& Str(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  ByteBuilder& Raw(const Bytes& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
};

inline void PutFile(const String& name, const std::string& data) {
  TFileStream f(name, fmCreate);
  f.WriteBuffer(data.data(), int64_t(data.size()));
}

inline Bytes GetFile(const String& name) {
  TFileStream f(name, fmOpenRead | fmShareDenyNone);
  Bytes b(size_t(f.Size()));
  if (!b.empty()) f.ReadBuffer(b.data(), int64_t(b.size()));
  return b;
}

inline void PutBytes(const String& name, const Bytes& data) {
  PutFile(name, std::string(data.begin(), data.end()));
}

inline std::string Decode(TZABaseArchiver& zip, int index) {
  TStringStream s;
  zip.ExtractItemToStream(index, s);
  return s.DataString();
}

inline TMemoryStream MemoryOf(const Bytes& b) {
  TMemoryStream m;
  m.Write(b.data(), int64_t(b.size()));
  m.SetPosition(0);
  return m;
}

}  // namespace archive_test
