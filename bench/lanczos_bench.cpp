// Times the software Lanczos3 resampler on photo-like 32-bit pictures and
// writes the same pictures as raw RGBA files, so that the peer (Pillow's
// LANCZOS resize, run by bench/lanczos.sh) scales exactly these pixels.
//   lanczos_bench DIR ROUNDS
// Prints one line per case: "name milliseconds-per-resize".
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "foundation/vxGraphicsPacked.h"

namespace {

struct Case {
  const char* name;
  int sw, sh, dw, dh;
};

// Smooth light, a few soft shapes and fine grain, fully opaque: what a
// photograph or a skin's picture has.
std::vector<uint32_t> Picture(int w, int h) {
  std::mt19937 random(uint32_t(w * 131 + h));
  std::uniform_int_distribution<int> grain(-6, 6);
  std::vector<uint32_t> pixels(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double u = double(x) / w, v = double(y) / h;
      const double shape = std::sin(u * 9.0) * std::cos(v * 7.0) * 60.0;
      auto channel = [&](double base) {
        const int c = int(base + shape) + grain(random);
        return uint32_t(c < 0 ? 0 : c > 255 ? 255 : c);
      };
      pixels[size_t(y) * size_t(w) + size_t(x)] =
          0xFF000000u | channel(40 + 160 * u) << 16 | channel(60 + 120 * v) << 8 | channel(200 - 150 * u * v);
    }
  }
  return pixels;
}

void WriteRGBA(const char* dir, const Case& c, const std::vector<uint32_t>& pixels) {
  char path[512];
  std::snprintf(path, sizeof path, "%s/%s.rgba", dir, c.name);
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  std::vector<uint8_t> bytes;
  bytes.reserve(pixels.size() * 4);
  for (uint32_t p : pixels) {
    bytes.push_back(uint8_t(p >> 16));
    bytes.push_back(uint8_t(p >> 8));
    bytes.push_back(uint8_t(p));
    bytes.push_back(uint8_t(p >> 24));
  }
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lanczos_bench DIR ROUNDS\n");
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[2]));
  const Case cases[] = {{"down_1024x768_to_512x384", 1024, 768, 512, 384},
                        {"up_256x256_to_1024x1024", 256, 256, 1024, 1024}};
  for (const Case& c : cases) {
    const std::vector<uint32_t> source = Picture(c.sw, c.sh);
    WriteRGBA(argv[1], c, source);
    std::vector<uint32_t> dest(size_t(c.dw) * size_t(c.dh));
    vxLanczosResample(source.data(), c.sw, c.sh, dest.data(), c.dw, c.dh);  // warm-up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) vxLanczosResample(source.data(), c.sw, c.sh, dest.data(), c.dw, c.dh);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %d %d %d %d %.3f\n", c.name, c.sw, c.sh, c.dw, c.dh, ms / rounds);
  }
  return 0;
}
