// Draws the painters' indicator bitmaps as 24-bit BMP files: the six grid
// row indicators (8 x 9, black on white; white is their transparent
// colour) and the expand button's two faces (9 x 9). The shapes are fixed
// pixel drawings, so every build writes the same bytes.
//
//   make_indicator_bitmaps OUTPUT_DIR
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/GeneratedFiles.h"

namespace {

struct Picture {
  int width, height;
  // Rows from the top; each pixel 0xRRGGBB.
  std::vector<uint32_t> pixels;
};

// '#' black, '+' grey (the expand button's frame), anything else white.
Picture FromRows(const std::vector<std::string>& rows) {
  Picture p{int(rows[0].size()), int(rows.size()), {}};
  for (const std::string& row : rows)
    for (char c : row) p.pixels.push_back(c == '#' ? 0x000000 : c == '+' ? 0x808080 : 0xFFFFFF);
  return p;
}

bool WriteBmp(const std::string& path, const Picture& p) {
  return generated::WriteFile(path, generated::EncodeBmp24(p.width, p.height, [&](int x, int y) {
                                return p.pixels[size_t(y * p.width + x)];
                              }));
}

struct Named {
  const char* file;
  Picture picture;
};

std::vector<Named> Bitmaps() {
  return {
      {"vx_arrow.bmp", FromRows({"........", "..#.....", "..##....", "..###...", "..####..", "..###...", "..##....",
                                 "..#.....", "........"})},
      {"vx_edit.bmp", FromRows({"........", ".##.##..", "...#....", "...#....", "...#....", "...#....", "...#....",
                                ".##.##..", "........"})},
      {"vx_insert.bmp", FromRows({"........", "...#....", ".#.#.#..", "..###...", ".#####..", "..###...",
                                  ".#.#.#..", "...#....", "........"})},
      {"vx_multidot.bmp", FromRows({"........", "........", "........", "...##...", "..####..", "..####..",
                                    "...##...", "........", "........"})},
      {"vx_multiarrow.bmp", FromRows({"........", "#.......", "##......", "###.##..", "####.##.", "###.##..",
                                      "##......", "#.......", "........"})},
      {"vx_filter.bmp", FromRows({"........", "#######.", ".#####..", "..###...", "...#....", "...#....",
                                  "...#....", "...#....", "........"})},
      {"vd_expand_minus.bmp", FromRows({"+++++++++", "+.......+", "+.......+", "+.......+", "+.#####.+",
                                        "+.......+", "+.......+", "+.......+", "+++++++++"})},
      {"vd_expand_plus.bmp", FromRows({"+++++++++", "+.......+", "+...#...+", "+...#...+", "+.#####.+",
                                       "+...#...+", "+...#...+", "+.......+", "+++++++++"})},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_indicator_bitmaps OUTPUT_DIR\n");
    return 2;
  }
  for (const Named& n : Bitmaps()) {
    const std::string path = std::string(argv[1]) + "/" + n.file;
    if (!WriteBmp(path, n.picture)) {
      std::fprintf(stderr, "make_indicator_bitmaps: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
