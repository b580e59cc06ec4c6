// Small helpers of the archive tests: byte builders, files, sample archives.
#pragma once

#include <cstdint>
#include <functional>
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

// The archiver's native error code of what f raises, -1 when it raises none.
inline int NativeErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EZAException& e) {
    return e.NativeError();
  }
  return -1;
}

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

inline std::string Content(const String& name) {
  const Bytes b = GetFile(name);
  return std::string(b.begin(), b.end());
}

inline void PutBytes(const String& name, const Bytes& data) {
  PutFile(name, std::string(data.begin(), data.end()));
}

// Whether one of passwords gets through the encryption header of some
// encrypted entry of the archive. The header's check is a single byte, so
// a wrong password passes it once in 256 tries and the entry then fails on
// its CRC instead of asking again; tests about the password prompts make
// their archive again until none does.
inline bool SomePasswordPasses(const String& archive, const std::vector<std::string>& passwords) {
  TZipArchiver zip(nullptr);
  zip.SetFileName(archive);
  zip.OpenArchiveMode(ZAModeReadOnly);
  TFileStream file(archive, fmOpenRead | fmShareDenyNone);
  for (int i = 0; i < zip.FileCount(); ++i) {
    const TDirItem& entry = zip.DirItem(i);
    if (!entry.IsEncrypted()) continue;
    uint8_t local[TZALocalHeader::Size];
    ZAReadAt(file, int64_t(entry.LocalHeaderOffset), local, sizeof local);
    TZALocalHeader header;
    header.Read(local);
    uint8_t encryption[ZAEncryptionHeaderSize];
    ZAReadAt(file, int64_t(entry.LocalHeaderOffset + sizeof local + header.NameLength + header.ExtraLength),
             encryption, sizeof encryption);
    const uint8_t check = ZAPasswordCheckByte(entry.Header.Crc, entry.Header.Time, entry.Header.Flags);
    for (const std::string& password : passwords) {
      TZAKeys keys;
      if (CheckEncryptionHeader(encryption, password, check, keys)) return true;
    }
  }
  return false;
}

inline std::string Decode(TZABaseArchiver& zip, int index) {
  TStringStream s;
  zip.ExtractItemToStream(index, s);
  return s.DataString();
}

// Answers the archiver's questions from a script and records them.
struct ScriptedPrompts : TZAPrompts {
  std::vector<TOverwriteAnswer> overwrite;
  std::vector<String> passwords;  // each typed in turn; when none is left, Cancel
  std::vector<TZAAction> failures;
  std::vector<bool> confirms;  // OK or Cancel in turn; when none is left, Cancel
  std::vector<String> asked;

  TOverwriteAnswer ConfirmOverwrite(const String& text) override {
    asked.push_back(text);
    return Next(overwrite, oaClosed);
  }
  bool AskPassword(const String& caption, const String& prompt, String& value) override {
    asked.push_back(caption + "|" + prompt + "|" + value);
    if (passwords.empty()) return false;
    value = Next(passwords, String());
    return true;
  }
  TZAAction AskFailureAction(const String& text) override {
    asked.push_back(text);
    return Next(failures, fxaAbort);
  }
  bool Confirm(const String& text) override {
    asked.push_back(text);
    return Next(confirms, false);
  }

 private:
  template <class T>
  static T Next(std::vector<T>& script, T fallback) {
    if (script.empty()) return fallback;
    T v = script.front();
    script.erase(script.begin());
    return v;
  }
};

inline TMemoryStream MemoryOf(const Bytes& b) {
  TMemoryStream m;
  m.Write(b.data(), int64_t(b.size()));
  m.SetPosition(0);
  return m;
}

}  // namespace archive_test
