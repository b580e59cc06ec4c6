// Writes the seed corpus of the packed bitmap fuzzer: records of small
// bitmap images of each block size, written by our own writer.
//   packed_bitmap_seeds DIR
#include <cstdio>
#include <vector>

#include "foundation/vxGraphicsPacked.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: packed_bitmap_seeds DIR\n");
    return 2;
  }
  for (int blockSize = 1; blockSize <= 4; ++blockSize) {
    // A count, a file header's "BM", then stretches of equal and of
    // differing pixels.
    std::vector<uint8_t> data = {0, 0, 0, 0, 'B', 'M'};
    for (int i = 0; i < 61 * blockSize; ++i) data.push_back(i < 30 * blockSize ? 0xCC : uint8_t(i * 7));
    const size_t image = data.size() - 4;
    for (int i = 0; i < 4; ++i) data[size_t(i)] = uint8_t(image >> (8 * i));
    TMemoryStream s;
    vxWritePackedBitmapData(s, data.data(), data.size(), blockSize);
    s.SaveToFile(String(argv[1]) + "/seed-b" + char('0' + blockSize));
  }
  return 0;
}
