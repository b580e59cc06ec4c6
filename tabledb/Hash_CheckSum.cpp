// XOR32 and CRC-32; the CRC register itself is the platform's (Crc32.h).
#include "tabledb/Hash_CheckSum.h"

#include <bit>

#include "platform/Crc32.h"

const uint8_t* THash_XOR32::TestVector() const {
  static const uint8_t kVector[4] = {0x8D, 0xAD, 0x89, 0x7F};
  return kVector;
}

void THash_XOR32::Init() {
  sum_ = 0;
  std::memset(digest_, 0, sizeof digest_);
}

void THash_XOR32::Calc(const void* buffer, int64_t length) {
  if (length <= 0) return;
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  if (length % 2 == 1) {
    // The odd byte pairs with the byte after it; a one-byte input has none
    // and pairs with zero instead of reading past its end.
    uint32_t word = p[0] | (length > 1 ? uint32_t(p[1]) << 8 : 0);
    sum_ ^= word;
    ++p;
    --length;
  }
  for (int64_t i = 0; i < length; i += 2) {
    sum_ = std::rotl(sum_, 5);
    sum_ ^= uint32_t(p[i]) | uint32_t(p[i + 1]) << 8;
  }
}

void THash_XOR32::Done() { StoreLE32(digest_, sum_); }

THashEngine CRC32Engine() {
  return Crc32Folding() ? THashEngine::ProcessorExtensions : THashEngine::Portable;
}

bool SelectCRC32Engine(THashEngine engine) {
  return SelectCrc32Folding(engine == THashEngine::ProcessorExtensions);
}

const uint8_t* THash_CRC32::TestVector() const {
  static const uint8_t kVector[4] = {0x58, 0xEE, 0x1F, 0x31};
  return kVector;
}

void THash_CRC32::Init() {
  sum_ = Crc32Start;
  std::memset(digest_, 0, sizeof digest_);
}

void THash_CRC32::Calc(const void* buffer, int64_t length) {
  if (buffer == nullptr || length <= 0) return;
  sum_ = Crc32Update(sum_, buffer, size_t(length));
}

void THash_CRC32::Done() {
  sum_ = ~sum_;
  StoreLE32(digest_, sum_);
}
