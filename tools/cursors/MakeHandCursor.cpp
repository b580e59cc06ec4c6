// Writes the framed controls' hand cursor as a monochrome 32 x 32 CUR file:
// a pointing hand, its tip the hot spot, drawn from the picture below.
//
//   make_hand_cursor OUTPUT_FILE
//
// In the picture 'X' is black, '.' white and ' ' transparent. The file is a
// cursor directory of one entry, then the image: an info header for twice
// the height (the XOR rows and the AND rows), a two-colour palette, the
// XOR bits and the AND mask, rows bottom-up, 4 bytes each.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const char* const kHand[] = {
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    " XX X..X..X..X.X",
    "X..XX........X..X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X............X",
    "   X...........X",
    "   X..........X",
    "    X.........X",
    "    X........X",
    "     X.......X",
    "     X.......X",
    "     XXXXXXXXX",
};
constexpr int kSize = 32, kHotX = 5, kHotY = 0;
constexpr int kRowBytes = kSize / 8;

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

char At(int x, int y) {
  if (y >= int(sizeof kHand / sizeof kHand[0])) return ' ';
  for (int i = 0; i <= x; ++i)
    if (kHand[y][i] == '\0') return ' ';
  return kHand[y][x];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_hand_cursor OUTPUT_FILE\n");
    return 2;
  }
  std::vector<uint8_t> xorBits, andBits;
  for (int y = kSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kRowBytes; ++byte) {
      uint8_t x8 = 0, a8 = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char c = At(byte * 8 + bit, y);
        const uint8_t mask = uint8_t(0x80 >> bit);
        if (c == '.') x8 |= mask;   // white
        if (c == ' ') a8 |= mask;   // transparent
      }
      xorBits.push_back(x8);
      andBits.push_back(a8);
    }
  }
  const uint32_t imageSize = 40 + 8 + uint32_t(xorBits.size() + andBits.size());
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 2);  // a cursor
  Put16(out, 1);  // one image
  out.push_back(kSize);
  out.push_back(kSize);
  out.push_back(2);  // colours
  out.push_back(0);
  Put16(out, kHotX);
  Put16(out, kHotY);
  Put32(out, imageSize);
  Put32(out, 6 + 16);  // the image follows the directory
  Put32(out, 40);
  Put32(out, kSize);
  Put32(out, 2 * kSize);
  Put16(out, 1);  // planes
  Put16(out, 1);  // bits per pixel
  Put32(out, 0);  // uncompressed
  Put32(out, uint32_t(xorBits.size() + andBits.size()));
  Put32(out, 0), Put32(out, 0), Put32(out, 0), Put32(out, 0);
  Put32(out, 0x000000);  // palette: black, white
  Put32(out, 0xFFFFFF);
  out.insert(out.end(), xorBits.begin(), xorBits.end());
  out.insert(out.end(), andBits.begin(), andBits.end());

  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "make_hand_cursor: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
