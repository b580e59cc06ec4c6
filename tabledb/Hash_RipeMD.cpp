// RIPEMD-160 as published: two parallel lines of five 16-step rounds whose
// results are combined crosswise into the five state words.
#include "tabledb/Hash_RipeMD.h"

#include <bit>

const uint8_t* THash_RipeMD160::TestVector() const {
  static const uint8_t kVector[20] = {0x19, 0x54, 0xDE, 0xBC, 0x1B, 0x55, 0x35, 0x30, 0x08, 0x1D,
                                      0x9B, 0x80, 0x70, 0xA0, 0xF2, 0x4A, 0x9D, 0xF7, 0x34, 0x04};
  return kVector;
}

void THash_RipeMD160::Done() {
  Pad(false);
  for (int i = 0; i < 5; ++i) StoreLE32(digest_ + 4 * i, state_[i]);
}

namespace {

// Word order and rotation counts of the left and right lines.
const uint8_t kLeftWord[80] = {
    0, 1, 2,  3,  4,  5,  6,  7,  8, 9, 10, 11, 12, 13, 14, 15, 7,  4,  13, 1,
    10, 6, 15, 3, 12, 0, 9,  5,  2, 14, 11, 8, 3,  10, 14, 4,  9,  15, 8,  1,
    2, 7, 0,  6,  13, 11, 5,  12, 1, 9, 11, 10, 0,  8,  12, 4,  13, 3,  7,  15,
    14, 5, 6,  2,  4,  0,  5,  9,  7, 12, 2, 10, 14, 1,  3,  8,  11, 6,  15, 13};
const uint8_t kRightWord[80] = {
    5,  14, 7,  0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12, 6,  11, 3,  7,
    0,  13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,  15, 5,  1,  3,  7,  14, 6,  9,
    11, 8,  12, 2,  10, 0,  4,  13, 8,  6,  4,  1,  3,  11, 15, 0,  5,  12, 2,  13,
    9,  7,  10, 14, 12, 15, 10, 4,  1,  5,  8,  7,  6,  2,  13, 14, 0,  3,  9,  11};
const uint8_t kLeftShift[80] = {
    11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,  7,  6,  8,  13,
    11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12, 11, 13, 6,  7,  14, 9,  13, 15,
    14, 8,  13, 6,  5,  12, 7,  5,  11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,
    8,  6,  5,  12, 9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
const uint8_t kRightShift[80] = {
    8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,
    12, 8,  9,  11, 7,  7,  12, 7,  6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14,
    12, 13, 5,  14, 13, 13, 7,  5,  15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,
    12, 5,  15, 8,  8,  5,  12, 9,  12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};
const uint32_t kLeftConst[5] = {0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xA953FD4E};
const uint32_t kRightConst[5] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x7A6D76E9, 0x00000000};

// The five boolean functions; the right line uses them in reverse order.
inline uint32_t RoundFunction(int round, uint32_t x, uint32_t y, uint32_t z) {
  switch (round) {
    case 0: return x ^ y ^ z;
    case 1: return (x & y) | (~x & z);
    case 2: return (x | ~y) ^ z;
    case 3: return (x & z) | (y & ~z);
    default: return x ^ (y | ~z);
  }
}

}  // namespace

void THash_RipeMD160::Transform(const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 64) TransformBlock(blocks);
}

void THash_RipeMD160::TransformBlock(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
  uint32_t al = state_[0], bl = state_[1], cl = state_[2], dl = state_[3], el = state_[4];
  uint32_t ar = al, br = bl, cr = cl, dr = dl, er = el;
  for (int j = 0; j < 80; ++j) {
    int round = j / 16;
    uint32_t t = std::rotl(al + RoundFunction(round, bl, cl, dl) + x[kLeftWord[j]] + kLeftConst[round],
                           kLeftShift[j]) + el;
    al = el, el = dl, dl = std::rotl(cl, 10), cl = bl, bl = t;
    t = std::rotl(ar + RoundFunction(4 - round, br, cr, dr) + x[kRightWord[j]] + kRightConst[round],
                  kRightShift[j]) + er;
    ar = er, er = dr, dr = std::rotl(cr, 10), cr = br, br = t;
  }
  uint32_t t = state_[1] + cl + dr;
  state_[1] = state_[2] + dl + er;
  state_[2] = state_[3] + el + ar;
  state_[3] = state_[4] + al + br;
  state_[4] = state_[0] + bl + cr;
  state_[0] = t;
}
