// SHA-0 and SHA-1: the published compression function (80 steps), whose
// message schedule rotates by one bit only for SHA-1. On x86 processors with
// the SHA extensions the rounds run on them; SHA-0's schedule has no
// instruction of its own, so it is built from plain vector XORs there.
#include "tabledb/Hash_SHA.h"

#include <bit>

#if defined(__x86_64__) || defined(__i386__)
#define QE_SHA_X86 1
#include <immintrin.h>
#endif

namespace {

using TransformFn = void (*)(uint32_t state[5], const uint8_t* blocks, size_t count, bool rotate);

void PortableBlock(uint32_t state[5], const uint8_t* block, bool rotate) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = LoadBE32(block + 4 * t);
  for (int t = 16; t < 80; ++t) {
    uint32_t x = w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16];
    w[t] = rotate ? std::rotl(x, 1) : x;
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f, k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
    e = d, d = c, c = std::rotl(b, 30), b = a, a = temp;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

void PortableTransform(uint32_t state[5], const uint8_t* blocks, size_t count, bool rotate) {
  for (; count > 0; --count, blocks += 64) PortableBlock(state, blocks, rotate);
}

#ifdef QE_SHA_X86

#define QE_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))

// Each vector holds four schedule words, the earliest in the top lane.
template <bool Rotate>
QE_SHA_TARGET inline __m128i NextWords(__m128i w16, __m128i w12, __m128i w8, __m128i w4) {
  __m128i x = _mm_xor_si128(_mm_sha1msg1_epu32(w16, w12), w8);
  if constexpr (Rotate) return _mm_sha1msg2_epu32(x, w4);
  // W(t) = W(t-3) ^ ...: the top three lanes take W(t-3) from w4, and the
  // bottom lane's W(t-3) is the top lane of this very result.
  x = _mm_xor_si128(x, _mm_slli_si128(w4, 4));
  return _mm_xor_si128(x, _mm_srli_si128(x, 12));
}

// Step group G (four steps) of 20. The schedule words live in a window of
// four vectors: w[G % 4] holds the group's own words, and the slot of the
// oldest takes the next group's words before this group runs.
template <bool Rotate, int G>
QE_SHA_TARGET inline void StepGroups(__m128i& abcd, __m128i& e, __m128i (&w)[4]) {
  if constexpr (G + 1 >= 4 && G + 1 < 20)
    w[(G + 1) % 4] = NextWords<Rotate>(w[(G + 1) % 4], w[(G + 2) % 4], w[(G + 3) % 4], w[G % 4]);
  __m128i before = abcd;
  abcd = _mm_sha1rnds4_epu32(abcd, e, G / 5);
  if constexpr (G < 19) {
    e = _mm_sha1nexte_epu32(before, w[(G + 1) % 4]);
    StepGroups<Rotate, G + 1>(abcd, e, w);
  } else {
    e = before;
  }
}

template <bool Rotate>
QE_SHA_TARGET void ExtensionBlocks(uint32_t state[5], const uint8_t* blocks, size_t count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
  __m128i e0 = _mm_set_epi32(int(state[4]), 0, 0, 0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abcdStart = abcd, eStart = e0;
    __m128i w[4];
    for (int g = 0; g < 4; ++g)
      w[g] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * g)), byteSwap);
    __m128i e = _mm_add_epi32(e0, w[0]);
    StepGroups<Rotate, 0>(abcd, e, w);
    e0 = _mm_sha1nexte_epu32(e, eStart);
    abcd = _mm_add_epi32(abcd, abcdStart);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
  state[4] = uint32_t(_mm_extract_epi32(e0, 3));
}

void ExtensionTransform(uint32_t state[5], const uint8_t* blocks, size_t count, bool rotate) {
  if (rotate)
    ExtensionBlocks<true>(state, blocks, count);
  else
    ExtensionBlocks<false>(state, blocks, count);
}

#else

void ExtensionTransform(uint32_t*, const uint8_t*, size_t, bool) {}

#endif

// Constant-initialised, so a digest computed by another module's start-up
// code before the probe below runs still works (portably).
TransformFn gTransform = PortableTransform;
[[maybe_unused]] const bool kProbed = SelectShaEngine(THashEngine::ProcessorExtensions);

}  // namespace

THashEngine ShaEngine() {
  return gTransform == ExtensionTransform ? THashEngine::ProcessorExtensions : THashEngine::Portable;
}

bool SelectShaEngine(THashEngine engine) {
  if (engine == THashEngine::Portable) {
    gTransform = PortableTransform;
    return true;
  }
  if (!ProcessorFeatures().Sha) return false;
  gTransform = ExtensionTransform;
  return true;
}

const uint8_t* THash_SHA::TestVector() const {
  static const uint8_t kVector[20] = {0xDC, 0x1F, 0x7D, 0x7C, 0x96, 0xDD, 0xC7, 0xFC, 0x4D, 0x0A,
                                      0xF2, 0xCC, 0x12, 0xE7, 0xF7, 0x66, 0x5B, 0xB1, 0x85, 0xAC};
  return kVector;
}

void THash_SHA::Done() {
  Pad(true);
  for (int i = 0; i < 5; ++i) StoreBE32(digest_ + 4 * i, state_[i]);
}

void THash_SHA::Transform(const uint8_t* blocks, size_t count) { gTransform(state_, blocks, count, rotate_); }
