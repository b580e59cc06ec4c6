// MD4 as published (RFC 1320), with the block frame that RIPEMD-160 and SHA
// reuse.
#include "tabledb/Hash_MD.h"

#include <bit>

THash_MD4::~THash_MD4() {
  WipeBytes(buffer_, sizeof buffer_);
  WipeBytes(state_, sizeof state_);
  WipeBytes(digest_, sizeof digest_);
}

const uint8_t* THash_MD4::TestVector() const {
  static const uint8_t kVector[16] = {0x25, 0xEA, 0xBF, 0xCC, 0x8C, 0xC9, 0x6F, 0xD9,
                                      0x2D, 0xCF, 0x7E, 0xBD, 0x7F, 0x87, 0x7C, 0x7C};
  return kVector;
}

void THash_MD4::Init() {
  static const uint32_t kInitialState[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476,
                                            0xC3D2E1F0};
  count_ = 0;
  std::memset(buffer_, 0, sizeof buffer_);
  std::memcpy(state_, kInitialState, sizeof state_);
  std::memset(digest_, 0, sizeof digest_);
}

void THash_MD4::Calc(const void* buffer, int64_t length) {
  if (length <= 0) return;
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  size_t used = size_t(count_ % 64);
  count_ += uint64_t(length);
  if (used != 0) {
    size_t take = std::min<uint64_t>(64 - used, uint64_t(length));
    std::memcpy(buffer_ + used, p, take);
    p += take;
    length -= int64_t(take);
    if (used + take < 64) return;
    Transform(buffer_, 1);
  }
  size_t blocks = size_t(length / 64);
  Transform(p, blocks);
  p += 64 * blocks;
  length -= int64_t(64 * blocks);
  std::memcpy(buffer_, p, size_t(length));
}

void THash_MD4::Pad(bool bigEndianLength) {
  size_t used = size_t(count_ % 64);
  buffer_[used++] = 0x80;
  if (used > 56) {
    std::memset(buffer_ + used, 0, 64 - used);
    Transform(buffer_, 1);
    used = 0;
  }
  std::memset(buffer_ + used, 0, 56 - used);
  uint64_t bits = count_ * 8;
  for (int i = 0; i < 8; ++i) {
    int shift = bigEndianLength ? 56 - 8 * i : 8 * i;
    buffer_[56 + i] = uint8_t(bits >> shift);
  }
  Transform(buffer_, 1);
  std::memset(buffer_, 0, sizeof buffer_);
}

void THash_MD4::Done() {
  Pad(false);
  for (int i = 0; i < 4; ++i) StoreLE32(digest_ + 4 * i, state_[i]);
}

namespace {

inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (~x & z); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (x & z) | (y & z); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }

}  // namespace

void THash_MD4::Transform(const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 64) TransformBlock(blocks);
}

void THash_MD4::TransformBlock(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  static const int kShift1[4] = {3, 7, 11, 19};
  for (int i = 0; i < 16; ++i) {
    uint32_t t = std::rotl(a + F(b, c, d) + x[i], kShift1[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  static const int kOrder2[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
  static const int kShift2[4] = {3, 5, 9, 13};
  for (int i = 0; i < 16; ++i) {
    uint32_t t = std::rotl(a + G(b, c, d) + x[kOrder2[i]] + 0x5A827999u, kShift2[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  static const int kOrder3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  static const int kShift3[4] = {3, 9, 11, 15};
  for (int i = 0; i < 16; ++i) {
    uint32_t t = std::rotl(a + H(b, c, d) + x[kOrder3[i]] + 0x6ED9EBA1u, kShift3[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}
