// The message-digest family shared by the table database: the THash
// interface, the class references that create digests, the two digest text
// forms, and the byte-order helpers that the digests and ciphers share.
//
// Digest text comes in three forms, chosen by a number: 16 is upper-case
// hexadecimal, 64 (and 0, the default) is this module's Base64, anything
// else is the raw digest bytes. The Base64 form is not RFC 4648: every
// 3-byte group stops emitting characters as soon as its remaining bits are
// all zero. Stored password digests are compared as that text, so it must
// never change.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/Components.h"
#include "platform/Threads.h"
#include "tabledb/ByteOrder.h"

class THash;

// A class reference: creates a fresh digest object of one class.
using THashClass = std::unique_ptr<THash> (*)();

template <class T>
std::unique_ptr<THash> NewHash() {
  return std::make_unique<T>();
}

enum : int { dsHex = 16, dsBase64 = 64, dsDefault = 0 };

class THash : public TPersistent {
 public:
  const char* ClassName() const override { return "THash"; }

  // This class's digest of the 32-byte reference block (THash itself
  // returns the block), so that a build can check itself.
  virtual const uint8_t* TestVector() const;
  virtual void Init() = 0;
  // A length of 0 or less adds nothing.
  virtual void Calc(const void* buffer, int64_t length) = 0;
  virtual void Done() = 0;
  virtual uint8_t* DigestKey() = 0;
  virtual int DigestKeySize() const = 0;

  // The finished digest as text in the given form (dsHex, dsBase64 or
  // dsDefault; any other number gives the raw bytes).
  String DigestStr(int form);
};

// Creates a digest of the class, hashes the bytes and returns the digest text
// in the default form; when digest is given it receives DigestKeySize bytes.
String CalcString(THashClass hashClass, void* digest, std::string_view text);
String CalcBuffer(THashClass hashClass, void* digest, const void* buffer, int64_t size);

// The two text forms over any bytes. A negative count means up to the first
// zero byte.
String Base64Text(const void* bytes, int64_t count);
String HexText(const void* bytes, int64_t count);

// The 32-byte reference block that every TestVector is the digest of.
extern const uint8_t kHashReferenceBlock[32];

// Where a digest has a block function built on processor instructions
// (x86 SHA or carry-less multiply), it is chosen once at start-up when the
// processor has them; both engines give the same digests, and tests pin each
// in turn.
enum class THashEngine { Portable, ProcessorExtensions };

// Zero-fills key material in a way the compiler may not drop as a dead store.
void WipeBytes(void* p, size_t n);

