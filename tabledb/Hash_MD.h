// MD4, and the frame that every MD4-style digest of the family shares: a
// 64-byte block buffer, a byte count, and a padding step that appends 0x80,
// zeros and the message length in bits.
#pragma once

#include "tabledb/HashBase.h"

class THash_MD4 : public THash {
 public:
  THash_MD4() { Init(); }
  ~THash_MD4() override;
  const char* ClassName() const override { return "THash_MD4"; }

  const uint8_t* TestVector() const override;
  void Init() override;
  void Calc(const void* buffer, int64_t length) override;
  void Done() override;
  uint8_t* DigestKey() override { return digest_; }
  int DigestKeySize() const override { return 16; }

 protected:
  // Mixes count consecutive 64-byte blocks into the state.
  virtual void Transform(const uint8_t* blocks, size_t count);
  // Appends the padding and the bit length, in the digest's byte order,
  // and runs the last Transform.
  void Pad(bool bigEndianLength);

  // Counted in 64 bits: the length field then agrees with the published
  // digests for every input size.
  uint64_t count_ = 0;
  uint8_t buffer_[64] = {};
  // MD4 uses the first four words, RIPEMD-160 and SHA all five.
  uint32_t state_[5] = {};
  uint8_t digest_[20] = {};

 private:
  void TransformBlock(const uint8_t* block);
};
