// GOST 28147-89. Each round adds a key word to one half modulo 2^32, passes
// the eight 4-bit groups through the S-boxes (S1 on the lowest group),
// rotates left by 11 and XORs the result into the other half. Encryption
// takes the key words K0..K7 three times and then K7..K0; decryption the
// reverse.
#include "tabledb/Enc_Gost.h"

#include <array>
#include <bit>

namespace {

constexpr uint8_t kSBoxes[8][16] = {
    {4, 10, 9, 2, 13, 8, 0, 14, 6, 11, 1, 12, 7, 15, 5, 3},
    {14, 11, 4, 12, 6, 13, 15, 10, 2, 3, 8, 1, 0, 7, 5, 9},
    {5, 8, 1, 13, 10, 3, 4, 2, 14, 15, 12, 7, 6, 0, 9, 11},
    {7, 13, 10, 1, 0, 8, 9, 15, 14, 4, 6, 12, 11, 2, 5, 3},
    {6, 12, 7, 1, 5, 15, 13, 8, 4, 10, 9, 14, 0, 3, 11, 2},
    {4, 11, 10, 0, 7, 2, 1, 13, 3, 6, 8, 5, 9, 12, 15, 14},
    {13, 11, 4, 1, 3, 15, 5, 9, 0, 10, 14, 7, 6, 8, 2, 12},
    {1, 15, 13, 0, 5, 7, 10, 4, 9, 2, 3, 14, 6, 11, 8, 12},
};

// Four byte-wide tables, each doing two S-boxes and the rotation by 11 for
// one byte of the sum.
using ByteTables = std::array<std::array<uint32_t, 256>, 4>;

constexpr ByteTables MakeByteTables() {
  ByteTables t{};
  for (int b = 0; b < 4; ++b)
    for (uint32_t x = 0; x < 256; ++x) {
      uint32_t sub = uint32_t(kSBoxes[2 * b + 1][x >> 4]) << 4 | kSBoxes[2 * b][x & 0x0F];
      t[size_t(b)][x] = std::rotl(sub << (8 * b), 11);
    }
  return t;
}

constexpr ByteTables kByteTables = MakeByteTables();

inline uint32_t F(uint32_t x) {
  return kByteTables[0][x & 0xFF] ^ kByteTables[1][(x >> 8) & 0xFF] ^ kByteTables[2][(x >> 16) & 0xFF] ^
         kByteTables[3][x >> 24];
}

constexpr int kEncryptOrder[32] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7,
                                   0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0};
constexpr int kDecryptOrder[32] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0,
                                   7, 6, 5, 4, 3, 2, 1, 0, 7, 6, 5, 4, 3, 2, 1, 0};

}  // namespace

void TEnc_Gost::SetupKey(const uint8_t* key, int length) {
  uint8_t padded[32] = {};
  if (length > 0) std::memcpy(padded, key, size_t(length));
  for (int i = 0; i < 8; ++i) Key()[i] = LoadLE32(padded + 4 * i);
  WipeBytes(padded, sizeof padded);
}

// The halves take turns instead of swapping; after the 32nd round the block
// is written as (N2, N1).
void TEnc_Gost::Crypt(uint8_t* block, const int (&order)[32]) {
  const uint32_t* k = Key();
  uint32_t n1 = LoadLE32(block), n2 = LoadLE32(block + 4);
  for (int i = 0; i < 32; i += 2) {
    n2 ^= F(n1 + k[order[i]]);
    n1 ^= F(n2 + k[order[i + 1]]);
  }
  StoreLE32(block, n2);
  StoreLE32(block + 4, n1);
}

void TEnc_Gost::Encode(uint8_t* block) { Crypt(block, kEncryptOrder); }

void TEnc_Gost::Decode(uint8_t* block) { Crypt(block, kDecryptOrder); }
