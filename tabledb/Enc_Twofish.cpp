// Twofish with this database's key schedule and round count (see the
// header). Everything else is as published: the permutations q0 and q1, the
// MDS matrix over GF(2^8) modulo 0x169, the RS code modulo 0x14D, the h
// function and the input and output whitening.
#include "tabledb/Enc_Twofish.h"

#include <array>
#include <bit>

namespace {

using Byte = uint8_t;
using Permutation = std::array<Byte, 256>;

// A q permutation from its four 4-bit tables.
constexpr Permutation MakeQ(const Byte (&t)[4][16]) {
  Permutation q{};
  auto ror4 = [](Byte x) { return Byte(((x >> 1) | (x << 3)) & 0x0F); };
  for (int x = 0; x < 256; ++x) {
    Byte a = Byte(x >> 4), b = Byte(x & 0x0F);
    Byte a1 = a ^ b, b1 = Byte(a ^ ror4(b) ^ ((8 * a) & 0x0F));
    Byte a2 = t[0][a1], b2 = t[1][b1];
    Byte a3 = a2 ^ b2, b3 = Byte(a2 ^ ror4(b2) ^ ((8 * a2) & 0x0F));
    Byte a4 = t[2][a3], b4 = t[3][b3];
    q[size_t(x)] = Byte(b4 << 4 | a4);
  }
  return q;
}

constexpr Byte kQ0Tables[4][16] = {{8, 1, 7, 13, 6, 15, 3, 2, 0, 11, 5, 9, 14, 12, 10, 4},
                                   {14, 12, 11, 8, 1, 2, 3, 5, 15, 4, 10, 6, 7, 0, 9, 13},
                                   {11, 10, 5, 14, 6, 13, 9, 0, 12, 8, 15, 3, 2, 4, 7, 1},
                                   {13, 7, 15, 4, 1, 2, 6, 14, 9, 11, 3, 0, 8, 5, 12, 10}};
constexpr Byte kQ1Tables[4][16] = {{2, 8, 11, 13, 15, 7, 6, 14, 3, 1, 9, 4, 0, 10, 12, 5},
                                   {1, 14, 2, 11, 4, 12, 3, 7, 6, 13, 10, 5, 15, 9, 0, 8},
                                   {4, 12, 7, 5, 1, 6, 9, 10, 0, 14, 13, 8, 2, 11, 3, 15},
                                   {11, 9, 5, 1, 12, 3, 13, 14, 6, 4, 7, 15, 2, 0, 8, 10}};
constexpr Permutation kQ[2] = {MakeQ(kQ0Tables), MakeQ(kQ1Tables)};

// Product in GF(2^8) modulo the given polynomial.
constexpr Byte GfMul(Byte a, Byte b, unsigned poly) {
  unsigned r = 0, x = a;
  for (; b; b >>= 1) {
    if (b & 1) r ^= x;
    x <<= 1;
    if (x & 0x100) x ^= poly;
  }
  return Byte(r);
}

constexpr Byte kMds[4][4] = {
    {0x01, 0xEF, 0x5B, 0x5B}, {0x5B, 0xEF, 0xEF, 0x01}, {0xEF, 0x5B, 0x01, 0xEF}, {0xEF, 0x01, 0xEF, 0x5B}};
constexpr Byte kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                            {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                            {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                            {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

// Column j of the MDS matrix times each byte y, as words.
using MdsTable = std::array<std::array<uint32_t, 256>, 4>;

constexpr MdsTable MakeMdsTable() {
  MdsTable t{};
  for (int j = 0; j < 4; ++j)
    for (int y = 0; y < 256; ++y)
      for (int i = 0; i < 4; ++i) t[size_t(j)][size_t(y)] |= uint32_t(GfMul(kMds[i][j], Byte(y), 0x169)) << (8 * i);
  return t;
}

constexpr MdsTable kMdsColumns = MakeMdsTable();

Byte ByteOf(uint32_t w, int j) { return Byte(w >> (8 * j)); }

// Byte j of h's permutation chain over the key words l[0..k-1], before the
// MDS matrix. Which q each stage uses depends on the byte position.
Byte HChain(Byte y, int j, const uint32_t* l, int k) {
  static const int kWithL3[4] = {1, 0, 0, 1};
  static const int kWithL2[4] = {1, 1, 0, 0};
  static const int kWithL1[4] = {0, 1, 0, 1};
  static const int kWithL0[4] = {0, 0, 1, 1};
  static const int kLast[4] = {1, 0, 1, 0};
  if (k == 4) y = kQ[kWithL3[j]][y] ^ ByteOf(l[3], j);
  if (k >= 3) y = kQ[kWithL2[j]][y] ^ ByteOf(l[2], j);
  y = kQ[kWithL1[j]][y] ^ ByteOf(l[1], j);
  y = kQ[kWithL0[j]][y] ^ ByteOf(l[0], j);
  return kQ[kLast[j]][y];
}

uint32_t H(uint32_t x, const uint32_t* l, int k) {
  uint32_t z = 0;
  for (int j = 0; j < 4; ++j) z ^= kMdsColumns[size_t(j)][HChain(ByteOf(x, j), j, l, k)];
  return z;
}

// The subkey pair of round r (0 to 29): the 15 double rounds walk the pairs
// K8/K9, K10/K11, K10/K11, K12/K13, K12/K13, ..., K38/K39.
int RoundKeyIndex(int r) { return 8 + 2 * ((r + 1) / 2); }

constexpr int kRounds = 30;

}  // namespace

void TEnc_Twofish::SetupKey(const uint8_t* key, int length) {
  uint8_t padded[32] = {};
  if (length > 0) std::memcpy(padded, key, size_t(length));
  int k = length <= 16 ? 2 : length <= 24 ? 3 : 4;  // key length in 64-bit units

  uint32_t even[4], odd[4], sboxKeys[4];
  for (int i = 0; i < k; ++i) {
    even[i] = LoadLE32(padded + 8 * i);
    odd[i] = LoadLE32(padded + 8 * i + 4);
    // The RS code of the key's i-th 8 bytes; h takes these in reverse order.
    uint32_t s = 0;
    for (int row = 0; row < 4; ++row) {
      Byte v = 0;
      for (int c = 0; c < 8; ++c) v ^= GfMul(kRs[row][c], padded[8 * i + c], 0x14D);
      s |= uint32_t(v) << (8 * row);
    }
    sboxKeys[k - 1 - i] = s;
  }

  uint32_t* subkeys = K();
  const uint32_t rho = 0x01010101;
  for (int i = 0; i < 20; ++i) {
    uint32_t a = H(uint32_t(2 * i) * rho, even, k);
    uint32_t b = std::rotl(H(uint32_t(2 * i + 1) * rho, odd, k), 8);
    subkeys[2 * i] = a + b;
    subkeys[2 * i + 1] = std::rotl(a + (b >> 1), 9);
  }

  uint32_t* sbox = SBox();
  for (int j = 0; j < 4; ++j)
    for (int x = 0; x < 256; ++x) sbox[256 * j + x] = kMdsColumns[size_t(j)][HChain(Byte(x), j, sboxKeys, k)];
  WipeBytes(padded, sizeof padded);
  WipeBytes(sboxKeys, sizeof sboxKeys);
}

uint32_t TEnc_Twofish::G(uint32_t x) {
  const uint32_t* s = SBox();
  return s[x & 0xFF] ^ s[256 + ((x >> 8) & 0xFF)] ^ s[512 + ((x >> 16) & 0xFF)] ^ s[768 + (x >> 24)];
}

// The block is four words a, b, c, d. Even rounds mix a, b into c, d; odd
// rounds mix c, d into a, b, which spares the published half swap.
void TEnc_Twofish::Encode(uint8_t* block) {
  const uint32_t* k = K();
  uint32_t x[4];
  for (int i = 0; i < 4; ++i) x[i] = LoadLE32(block + 4 * i) ^ k[i];
  for (int r = 0; r < kRounds; ++r) {
    uint32_t* src = r % 2 == 0 ? x : x + 2;
    uint32_t* dst = r % 2 == 0 ? x + 2 : x;
    uint32_t t0 = G(src[0]), t1 = G(std::rotl(src[1], 8));
    int ki = RoundKeyIndex(r);
    dst[0] = std::rotr(dst[0] ^ (t0 + t1 + k[ki]), 1);
    dst[1] = std::rotl(dst[1], 1) ^ (t0 + 2 * t1 + k[ki + 1]);
  }
  for (int i = 0; i < 4; ++i) StoreLE32(block + 4 * i, x[(i + 2) % 4] ^ k[4 + i]);
}

void TEnc_Twofish::Decode(uint8_t* block) {
  const uint32_t* k = K();
  uint32_t x[4];
  for (int i = 0; i < 4; ++i) x[(i + 2) % 4] = LoadLE32(block + 4 * i) ^ k[4 + i];
  for (int r = kRounds - 1; r >= 0; --r) {
    uint32_t* src = r % 2 == 0 ? x : x + 2;
    uint32_t* dst = r % 2 == 0 ? x + 2 : x;
    uint32_t t0 = G(src[0]), t1 = G(std::rotl(src[1], 8));
    int ki = RoundKeyIndex(r);
    dst[0] = std::rotl(dst[0], 1) ^ (t0 + t1 + k[ki]);
    dst[1] = std::rotr(dst[1] ^ (t0 + 2 * t1 + k[ki + 1]), 1);
  }
  for (int i = 0; i < 4; ++i) StoreLE32(block + 4 * i, x[i] ^ k[i]);
}
