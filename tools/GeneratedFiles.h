// What the build-time picture generators share: little-endian fields, a
// 24-bit BMP encoder and writing a whole file. Header-only, because each
// generator is one source file compiled by the host compiler even in the
// cross build.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace generated {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bottom-up 24-bit BMP: file header, info header (72 dpi), then the rows
// as blue, green, red, each padded to 4 bytes. pixelAt(x, y) gives
// 0xRRGGBB, y counted from the top.
template <typename PixelAt>
std::vector<uint8_t> EncodeBmp24(int width, int height, PixelAt pixelAt) {
  const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * uint32_t(height);
  std::vector<uint8_t> out{'B', 'M'};
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // uncompressed
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixelAt(x, y);
      out.push_back(uint8_t(c));
      out.push_back(uint8_t(c >> 8));
      out.push_back(uint8_t(c >> 16));
    }
    out.resize(out.size() + stride - uint32_t(width) * 3, 0);
  }
  return out;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace generated
