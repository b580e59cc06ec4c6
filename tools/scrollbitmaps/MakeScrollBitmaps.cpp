// Draws the pictures of the scroll-anchor window (the round window that
// marks where a middle-button scroll began) and writes each as a 24-bit BMP
// into the output folder:
//
//   make_scroll_bitmaps OUTPUT_FOLDER
//
// Each picture is a light disc with a dot in the middle and a solid arrow
// head for every direction it can scroll: all four, left and right, or up
// and down. The window clips it to an ellipse, so the corners never show.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/GeneratedFiles.h"

namespace {

constexpr int kSize = 28;
constexpr uint32_t kFace = 0xF0F0F0;  // 0xRRGGBB
constexpr uint32_t kMark = 0x000000;

struct Picture {
  uint32_t Pixels[kSize][kSize];

  Picture() {
    for (auto& row : Pixels)
      for (uint32_t& p : row) p = kFace;
  }

  // An arrow head 4 pixels from the edge, pointing outwards: 0 up, 1 right,
  // 2 down, 3 left.
  void Arrow(int direction) {
    for (int depth = 0; depth < 5; ++depth)
      for (int spread = -depth; spread <= depth; ++spread) {
        const int along = 3 + depth;  // distance from the edge
        const int across = kSize / 2 + spread;
        const int x = direction == 1 ? kSize - 1 - along : direction == 3 ? along : across;
        const int y = direction == 0 ? along : direction == 2 ? kSize - 1 - along : across;
        Pixels[y][x] = kMark;
      }
  }

  void Dot() {
    for (int y = kSize / 2 - 2; y <= kSize / 2 + 2; ++y)
      for (int x = kSize / 2 - 2; x <= kSize / 2 + 2; ++x)
        if ((x - kSize / 2) * (x - kSize / 2) + (y - kSize / 2) * (y - kSize / 2) <= 5) Pixels[y][x] = kMark;
  }
};

Picture Anchor(std::initializer_list<int> directions) {
  Picture p;
  for (int d : directions) p.Arrow(d);
  p.Dot();
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_scroll_bitmaps OUTPUT_FOLDER\n");
    return 2;
  }
  const struct {
    const char* File;
    Picture Image;
  } bitmaps[] = {
      {"vx_fullscroll.bmp", Anchor({0, 1, 2, 3})},
      {"vx_horscroll.bmp", Anchor({1, 3})},
      {"vx_verscroll.bmp", Anchor({0, 2})},
  };
  for (const auto& b : bitmaps) {
    const std::string path = std::string(argv[1]) + "/" + b.File;
    const Picture& image = b.Image;
    const auto pixelAt = [&](int x, int y) { return image.Pixels[y][x]; };
    if (!generated::WriteFile(path, generated::EncodeBmp24(kSize, kSize, pixelAt))) {
      std::fprintf(stderr, "make_scroll_bitmaps: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
