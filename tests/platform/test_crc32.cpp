// CRC-32 register: both engines against a bitwise reference, whole and in
// pieces.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/Crc32.h"

namespace {

uint32_t BitwiseCrc(uint32_t reg, const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    reg ^= p[i];
    for (int k = 0; k < 8; ++k) reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  }
  return reg;
}

// Runs body with each engine the processor offers, then restores the one
// chosen at start-up.
template <class Body>
void ForEachEngine(Body body) {
  const bool saved = Crc32Folding();
  for (bool folding : {false, true}) {
    if (!SelectCrc32Folding(folding)) continue;
    SCOPED_TRACE(folding ? "folding" : "tables");
    body();
  }
  SelectCrc32Folding(saved);
}

TEST(Crc32, KnownValuesAndNoBuffer) {
  ForEachEngine([] {
    EXPECT_EQ(~Crc32Update(Crc32Start, "123456789", 9), 0xCBF43926u);
    EXPECT_EQ(~Crc32Update(Crc32Start, "", 0), 0u);
    EXPECT_EQ(Crc32Update(0x12345678u, nullptr, 100), 0x12345678u);
  });
}

TEST(Crc32, AnyLengthAlignmentAndSplitAgree) {
  std::mt19937 rng(7);
  std::vector<uint8_t> data(5000);
  for (uint8_t& b : data) b = uint8_t(rng());
  ForEachEngine([&] {
    for (size_t n : {1, 15, 16, 17, 63, 64, 65, 127, 128, 200, 1000, 4999}) {
      for (size_t offset : {0, 1, 7}) {
        if (offset + n > data.size()) continue;
        const uint8_t* p = data.data() + offset;
        const uint32_t expected = BitwiseCrc(Crc32Start, p, n);
        EXPECT_EQ(Crc32Update(Crc32Start, p, n), expected) << n << " at " << offset;
        // In pieces of random lengths, as inflate hands its output over.
        uint32_t reg = Crc32Start;
        for (size_t done = 0; done < n;) {
          const size_t piece = std::min<size_t>(n - done, 1 + rng() % 150);
          reg = Crc32Update(reg, p + done, piece);
          done += piece;
        }
        EXPECT_EQ(reg, expected) << n << " at " << offset << " in pieces";
      }
    }
  });
}

}  // namespace
