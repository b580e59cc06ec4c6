// The portable CRC runs eight bytes at a time over eight derived tables
// ("slicing by eight"), which gives the same register as the bytewise table
// walk at several times its speed. On x86 processors with carry-less
// multiplication, long inputs are folded 64 bytes at a time instead: the
// register is the remainder of a polynomial division, and multiplying by the
// right powers of x modulo the CRC polynomial moves partial remainders
// forward by a whole stretch of input at once.
#include "platform/Crc32.h"

#include <array>

#include "platform/Threads.h"

#if defined(__x86_64__) || defined(__i386__)
#define QE_CRC_X86 1
#include <immintrin.h>
#endif

namespace {

inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][i] = c;
  }
  // Table k advances a byte that is followed by k more bytes.
  for (uint32_t i = 0; i < 256; ++i)
    for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

uint32_t PortableUpdate(uint32_t reg, const uint8_t* p, size_t n) {
  const auto& t = kCrcTables;
  for (; n >= 8; p += 8, n -= 8) {
    uint32_t lo = reg ^ Le32(p);
    uint32_t hi = Le32(p + 4);
    reg = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
          t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
  }
  for (; n > 0; ++p, --n) reg = (reg >> 8) ^ t[0][(reg ^ *p) & 0xFF];
  return reg;
}

#ifdef QE_CRC_X86

#define QE_CRC_TARGET __attribute__((target("pclmul,sse4.1,ssse3")))

// Folding constants for the reflected polynomial 0xEDB88320, each a power of
// x modulo the polynomial (bit-reflected, shifted by one): x^(512+32) and
// x^(512-32) fold four lanes forward by 64 bytes, x^(128+32) and
// x^(128-32) one lane by 16 bytes, x^64 the last 64 bits, and the pair mu,
// P' finish with a Barrett reduction.
constexpr long long kFold4Low = 0x154442BD4, kFold4High = 0x1C6E41596;
constexpr long long kFold1Low = 0x1751997D0, kFold1High = 0x0CCAA009E;
constexpr long long kFold64 = 0x163CD6124;
constexpr long long kPolyP = 0x1DB710641, kPolyMu = 0x1F7011641;

QE_CRC_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
  __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
  __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

QE_CRC_TARGET inline __m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Takes n >= 64; returns the register after the whole 16-byte blocks, and
// leaves the rest (under 16 bytes) to the caller through p and n.
QE_CRC_TARGET uint32_t FoldBlocks(uint32_t reg, const uint8_t*& p, size_t& n) {
  __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(int(reg)));
  __m128i x1 = Load(p + 16), x2 = Load(p + 32), x3 = Load(p + 48);
  p += 64;
  n -= 64;
  const __m128i k4 = _mm_set_epi64x(kFold4High, kFold4Low);
  for (; n >= 64; p += 64, n -= 64) {
    x0 = Fold(x0, k4, Load(p));
    x1 = Fold(x1, k4, Load(p + 16));
    x2 = Fold(x2, k4, Load(p + 32));
    x3 = Fold(x3, k4, Load(p + 48));
  }
  const __m128i k1 = _mm_set_epi64x(kFold1High, kFold1Low);
  __m128i x = Fold(Fold(Fold(x0, k1, x1), k1, x2), k1, x3);
  for (; n >= 16; p += 16, n -= 16) x = Fold(x, k1, Load(p));

  // 128 bits to 64, appending the 32 zero bits the CRC definition implies.
  x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(k1, x, 0x01));
  const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
  __m128i t = _mm_srli_si128(x, 4);
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, mask32), _mm_set_epi64x(0, kFold64), 0x00), t);
  // Barrett reduction of the 64 bits to the 32-bit remainder.
  const __m128i poly = _mm_set_epi64x(kPolyMu, kPolyP);
  t = x;
  x = _mm_clmulepi64_si128(_mm_and_si128(x, mask32), poly, 0x10);
  x = _mm_clmulepi64_si128(_mm_and_si128(x, mask32), poly, 0x00);
  return uint32_t(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

uint32_t ExtensionUpdate(uint32_t reg, const uint8_t* p, size_t n) {
  if (n >= 64) reg = FoldBlocks(reg, p, n);
  return PortableUpdate(reg, p, n);
}

#else

uint32_t ExtensionUpdate(uint32_t reg, const uint8_t* p, size_t n) { return PortableUpdate(reg, p, n); }

#endif

using UpdateFn = uint32_t (*)(uint32_t reg, const uint8_t* p, size_t n);

// Constant-initialised, so that a CRC taken by start-up code before the
// probe below runs still works (portably).
UpdateFn gUpdate = PortableUpdate;
[[maybe_unused]] const bool kProbed = SelectCrc32Folding(true);

}  // namespace

uint32_t Crc32Update(uint32_t reg, const void* buffer, size_t length) {
  if (!buffer || length == 0) return reg;
  return gUpdate(reg, static_cast<const uint8_t*>(buffer), length);
}

bool Crc32Folding() { return gUpdate == ExtensionUpdate; }

bool SelectCrc32Folding(bool folding) {
  if (!folding) {
    gUpdate = PortableUpdate;
    return true;
  }
  if (!ProcessorFeatures().CarrylessMultiply) return false;
  gUpdate = ExtensionUpdate;
  return true;
}
