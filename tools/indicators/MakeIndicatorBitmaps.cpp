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

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bottom-up 24-bit BMP with rows padded to 4 bytes.
bool WriteBmp(const std::string& path, const Picture& p) {
  const uint32_t stride = (uint32_t(p.width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * uint32_t(p.height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(p.width));
  Put32(out, uint32_t(p.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.pixels[size_t(y * p.width + x)];
      out.push_back(uint8_t(c));
      out.push_back(uint8_t(c >> 8));
      out.push_back(uint8_t(c >> 16));
    }
    for (uint32_t pad = uint32_t(p.width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
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
