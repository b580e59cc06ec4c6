// Key installation and the five chaining modes of the cipher frame.
#include "tabledb/EncryptBase.h"

#include <algorithm>

#include "tabledb/Hash_SHA.h"

TEncrypt::TEncrypt(const TEncryptContext& context)
    : context_(context),
      work_(size_t(context.BlockSize)),
      vector_(size_t(context.BlockSize)),
      feedback_(size_t(context.BlockSize)),
      user_(size_t(context.UserSize) / sizeof(uint32_t)) {
  Protect();
}

TEncrypt::~TEncrypt() { Protect(); }

void TEncrypt::SetMode(uint8_t mode) {
  if (mode > ecmECB)
    throw EEncryptException(Format("%s: unknown chaining mode %d", {ClassName(), int(mode)}),
                            errEncryptInvalidMode);
  mode_ = mode;
}

void TEncrypt::SetFlag(int bit, bool on) {
  if (on)
    flags_ |= 1u << bit;
  else
    flags_ &= ~(1u << bit);
}

void TEncrypt::Protect() {
  SetFlag(efKeyFromText, false);
  SetFlag(efInitialized, false);
  std::fill(vector_.begin(), vector_.end(), 0xFF);
  std::fill(feedback_.begin(), feedback_.end(), 0xFF);
  WipeBytes(work_.data(), work_.size());
  WipeBytes(user_.data(), user_.size() * sizeof(uint32_t));
}

void TEncrypt::Done() { feedback_ = vector_; }

THash& TEncrypt::Hash() {
  if (!hash_) hash_ = NewHash<THash_SHA>();
  return *hash_;
}

void TEncrypt::CheckKeySize(int& length) {
  Protect();
  length = std::clamp(length, 0, int(context_.KeySize));
}

void TEncrypt::InitVector(const void* vector) {
  if (vector)
    std::memcpy(vector_.data(), vector, vector_.size());
  else
    Encode(vector_.data());  // Protect left 0xFF bytes: the vector is E(FF..FF)
  feedback_ = vector_;
  SetFlag(efInitialized, true);
}

void TEncrypt::Init(const void* key, int keyLength, const void* vector) {
  CheckKeySize(keyLength);
  SetupKey(static_cast<const uint8_t*>(key), keyLength);
  InitVector(vector);
}

void TEncrypt::InitKey(const String& key, const void* vector) {
  THash& hash = Hash();
  hash.Init();
  hash.Calc(key.data(), int64_t(key.size()));
  hash.Done();
  Init(hash.DigestKey(), std::min(context_.KeySize, int32_t(hash.DigestKeySize())), vector);
  // Scrambles the digest so that it does not stay behind in memory.
  EncodeBuffer(hash.DigestKey(), hash.DigestKey(), hash.DigestKeySize());
  Done();
  SetFlag(efKeyFromText, true);
}

void TEncrypt::RaiseNotInitialized() const {
  throw EEncryptException(Format("%s is not initialized call Init() or InitKey() before.", {ClassName()}),
                          errEncryptNotInitialized);
}

void TEncrypt::EncryptFeedback() {
  std::memcpy(work_.data(), feedback_.data(), work_.size());
  Encode(work_.data());
}

void TEncrypt::ShiftFeedback(uint8_t in) {
  std::memmove(feedback_.data(), feedback_.data() + 1, feedback_.size() - 1);
  feedback_.back() = in;
}

namespace {

// d := a xor b over n bytes, eight at a time where it can (blocks are 8 or
// 16 bytes); any of the three may be the same buffer.
void XorInto(uint8_t* d, const uint8_t* a, const uint8_t* b, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    x ^= y;
    std::memcpy(d + i, &x, 8);
  }
  for (; i < n; ++i) d[i] = a[i] ^ b[i];
}

}  // namespace

void TEncrypt::EncodeBuffer(const void* source, void* target, int64_t count) {
  if (!Initialized()) RaiseNotInitialized();
  const uint8_t* s = static_cast<const uint8_t*>(source);
  uint8_t* d = static_cast<uint8_t*>(target);
  const size_t b = size_t(context_.BlockSize);
  uint8_t* f = feedback_.data();
  uint8_t* t = work_.data();
  size_t n = count > 0 ? size_t(count) : 0;

  switch (TEncryptChainMode(mode_)) {
    case ecmFeedbackXor:
      for (; n >= b; s += b, d += b, n -= b) {
        XorInto(d, s, f, b);
        Encode(d);
        XorInto(f, f, d, b);
      }
      if (n > 0) {
        EncryptFeedback();
        XorInto(d, s, t, n);
        XorInto(f, f, t, b);
      }
      break;
    case ecmCBC:
      for (; n >= b; s += b, d += b, n -= b) {
        XorInto(d, s, f, b);
        Encode(d);
        std::memcpy(f, d, b);
      }
      if (n > 0) {
        EncryptFeedback();
        XorInto(d, s, t, n);
      }
      break;
    case ecmCFB8:
      for (size_t i = 0; i < n; ++i) {
        EncryptFeedback();
        d[i] = s[i] ^ t[0];
        ShiftFeedback(d[i]);
      }
      break;
    case ecmOFB8:
      for (size_t i = 0; i < n; ++i) {
        EncryptFeedback();
        d[i] = s[i] ^ t[0];
        ShiftFeedback(t[0]);
      }
      break;
    case ecmECB:
      for (; n >= b; s += b, d += b, n -= b) {
        std::memmove(d, s, b);
        Encode(d);
      }
      if (n > 0) std::memmove(d, s, n);  // the tail stays plain
      break;
  }
  WipeBytes(t, b);
}

void TEncrypt::DecodeBuffer(const void* source, void* target, int64_t count) {
  if (!Initialized()) RaiseNotInitialized();
  const uint8_t* s = static_cast<const uint8_t*>(source);
  uint8_t* d = static_cast<uint8_t*>(target);
  const size_t b = size_t(context_.BlockSize);
  uint8_t* f = feedback_.data();
  uint8_t* t = work_.data();
  size_t n = count > 0 ? size_t(count) : 0;

  switch (TEncryptChainMode(mode_)) {
    case ecmFeedbackXor:
      for (; n >= b; s += b, d += b, n -= b) {
        std::memcpy(t, s, b);  // the cipher block, before d overwrites it
        std::memmove(d, s, b);
        Decode(d);
        XorInto(d, d, f, b);
        XorInto(f, f, t, b);
      }
      if (n > 0) {
        EncryptFeedback();
        XorInto(d, s, t, n);
        XorInto(f, f, t, b);
      }
      break;
    case ecmCBC:
      for (; n >= b; s += b, d += b, n -= b) {
        std::memcpy(t, s, b);
        std::memmove(d, s, b);
        Decode(d);
        XorInto(d, d, f, b);
        std::memcpy(f, t, b);
      }
      if (n > 0) {
        EncryptFeedback();
        XorInto(d, s, t, n);
      }
      break;
    case ecmCFB8:
      for (size_t i = 0; i < n; ++i) {
        EncryptFeedback();
        uint8_t c = s[i];
        d[i] = c ^ t[0];
        ShiftFeedback(c);
      }
      break;
    case ecmOFB8:
      for (size_t i = 0; i < n; ++i) {
        EncryptFeedback();
        d[i] = s[i] ^ t[0];
        ShiftFeedback(t[0]);
      }
      break;
    case ecmECB:
      for (; n >= b; s += b, d += b, n -= b) {
        std::memmove(d, s, b);
        Decode(d);
      }
      if (n > 0) std::memmove(d, s, n);  // the tail stays plain
      break;
  }
  WipeBytes(t, b);
}
