// The two 32-bit checksums of the digest family: XOR32, a rotate-and-XOR sum
// of 16-bit words, and CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320),
// with which the database checks that a written value reads back unchanged.
// Both digests are the 32-bit register's bytes, least significant first.
#pragma once

#include "tabledb/HashBase.h"

class THash_XOR32 : public THash {
 public:
  THash_XOR32() { Init(); }
  ~THash_XOR32() override { WipeBytes(digest_, sizeof digest_); }
  const char* ClassName() const override { return "THash_XOR32"; }

  const uint8_t* TestVector() const override;
  void Init() override;
  void Calc(const void* buffer, int64_t length) override;
  void Done() override;
  uint8_t* DigestKey() override { return digest_; }
  int DigestKeySize() const override { return 4; }

 protected:
  uint32_t sum_ = 0;
  uint8_t digest_[4] = {};
};

class THash_CRC32 : public THash_XOR32 {
 public:
  THash_CRC32() { Init(); }
  const char* ClassName() const override { return "THash_CRC32"; }

  const uint8_t* TestVector() const override;
  void Init() override;
  void Calc(const void* buffer, int64_t length) override;
  void Done() override;
};

// The CRC-32 engine in use (see THashEngine). Selecting returns false,
// changing nothing, when the processor lacks the engine.
THashEngine CRC32Engine();
bool SelectCRC32Engine(THashEngine engine);
