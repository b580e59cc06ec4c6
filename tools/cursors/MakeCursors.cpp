// Draws the cursors of the control libraries and writes each as a
// monochrome 32 x 32 CUR file into the output folder:
//
//   make_cursors OUTPUT_FOLDER
//
// A picture is a 32 x 32 grid where 'X' is black, '.' white and ' '
// transparent. Pictures are pasted from small drawings (the pointer, the
// dragged box, the plus sign) or filled from shapes; a filled shape gets a
// white outline so that it shows on dark backgrounds too.
//
// The file is a cursor directory of one entry, then the image: an info
// header for twice the height (the XOR rows and the AND rows), a two-colour
// palette, the XOR bits and the AND mask, rows bottom-up, 4 bytes each.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tools/GeneratedFiles.h"

namespace {

constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;

struct Picture {
  char Pixels[kSize][kSize];
  int HotX = 0, HotY = 0;

  Picture() {
    for (auto& row : Pixels)
      for (char& c : row) c = ' ';
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < kSize && y < kSize; }

  // Pastes a drawing with its top-left corner at (x, y); its spaces leave
  // what is under them.
  void Paste(const std::vector<const char*>& drawing, int x, int y) {
    for (int row = 0; row < int(drawing.size()); ++row)
      for (int col = 0; drawing[row][col]; ++col)
        if (drawing[row][col] != ' ' && Inside(x + col, y + row)) Pixels[y + row][x + col] = drawing[row][col];
  }

  // Black where shape holds, white around it where nothing black is.
  void Fill(const std::function<bool(int, int)>& shape) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (shape(x, y)) Pixels[y][x] = 'X';
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        if (Pixels[y][x] != ' ') continue;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (Inside(x + dx, y + dy) && shape(x + dx, y + dy)) Pixels[y][x] = '.';
      }
  }
};

// --- Drawings ----------------------------------------------------------------------

const std::vector<const char*> kPointer = {
    "X",           "XX",          "X.X",         "X..X",        "X...X",       "X....X",      "X.....X",
    "X......X",    "X.......X",   "X........X",  "X.....XXXXX", "X..X..X",     "X.X X..X",    "XX  X..X",
    "X    X..X",   "     X..X",   "      X..X",  "      X..X",  "       XX",
};

const std::vector<const char*> kBox = {
    "XXXXXXXXXXX", "X.........X", "X.........X", "X.........X",
    "X.........X", "X.........X", "XXXXXXXXXXX",
};

const std::vector<const char*> kPlus = {
    "XXXXXXXXX", "X.......X", "X...X...X", "X...X...X", "X.XXXXX.X",
    "X...X...X", "X...X...X", "X.......X", "XXXXXXXXX",
};

const std::vector<const char*> kHand = {
    "     XX",           "    X..X",           "    X..X",           "    X..X",           "    X..X",
    "    X..XXX",        "    X..X..XXX",      "    X..X..X..XX",    " XX X..X..X..X.X",   "X..XX........X..X",
    "X...X...........X", " X..............X",  "  X.............X",  "  X............X",   "   X...........X",
    "   X..........X",   "    X.........X",    "    X........X",     "     X.......X",     "     X.......X",
    "     XXXXXXXXX",
};

// --- Shapes ---------------------------------------------------------------------------

constexpr int kCentre = 15;

double Distance(int x, int y, double cx, double cy) { return std::hypot(x - cx, y - cy); }

// A solid triangle pointing away from the centre: dir 0 up, 1 right, 2
// down, 3 left; its tip gap pixels from the edge of the grid.
bool Arrow(int x, int y, int dir, int gap) {
  // Turn the point so that every arrow is the upward one.
  int u = x - kCentre, v = y - kCentre;
  for (int i = 0; i < dir; ++i) {
    const int t = u;
    u = v;
    v = -t;
  }
  const int tip = -kCentre + gap, depth = 6;
  return v >= tip && v < tip + depth && std::abs(u) <= v - tip;
}

bool Dot(int x, int y) { return Distance(x, y, kCentre, kCentre) <= 2.5; }

Picture ScrollCursor(std::initializer_list<int> dirs) {
  Picture p;
  p.Fill([&](int x, int y) {
    if (Dot(x, y)) return true;
    for (int dir : dirs)
      if (Arrow(x, y, dir, 3)) return true;
    return false;
  });
  p.HotX = p.HotY = kCentre;
  return p;
}

// Two bars across the centre with arrows out of them: horizontal bars with
// arrows up and down, or vertical bars with arrows left and right.
Picture SizeCursor(bool horizontalBars) {
  Picture p;
  p.Fill([&](int x, int y) {
    const int along = horizontalBars ? x : y, across = horizontalBars ? y : x;
    const bool bar = std::abs(along - kCentre) <= 9 && (across == kCentre - 2 || across == kCentre + 2);
    const int first = horizontalBars ? 0 : 3, second = horizontalBars ? 2 : 1;
    return bar || Arrow(x, y, first, 5) || Arrow(x, y, second, 5);
  });
  p.HotX = p.HotY = kCentre;
  return p;
}

Picture NoDrop() {
  Picture p;
  p.Fill([](int x, int y) {
    const double d = Distance(x, y, kCentre, kCentre);
    return (d > 7.5 && d <= 10.5) || (d <= 8 && std::abs((x - kCentre) - (y - kCentre)) <= 1);
  });
  p.HotX = p.HotY = kCentre;
  return p;
}

Picture Dragged(bool several, bool copy) {
  Picture p;
  if (several) p.Paste(kBox, 11, 22);
  p.Paste(kBox, 8, 19);
  if (copy) p.Paste(kPlus, 23, 22);
  p.Paste(kPointer, 0, 0);
  return p;
}

Picture Remove() {
  Picture p;
  p.Paste(kPointer, 0, 0);
  p.Fill([](int x, int y) {
    const int u = x - 22, v = y - 22;
    return std::abs(u) <= 5 && std::abs(v) <= 5 && (std::abs(u - v) <= 1 || std::abs(u + v) <= 1);
  });
  return p;
}

// A pipette lying from the bottom-left corner (its tip, the hot spot) up to
// a bulb at the top right.
Picture ColorPicker() {
  Picture p;
  p.Fill([](int x, int y) {
    const int along = x - (kSize - 1 - y);  // 0 on the diagonal
    const bool tube = std::abs(along) <= 2 && x >= 1 && x <= 22;
    return tube || Distance(x, y, 25, 6) <= 4.5;
  });
  p.HotX = 1;
  p.HotY = kSize - 2;
  return p;
}

Picture Hand() {
  Picture p;
  p.Paste(kHand, 0, 0);
  p.HotX = 5;
  return p;
}

// --- CUR file ------------------------------------------------------------------------

using generated::Put16;
using generated::Put32;

std::vector<uint8_t> EncodeCursor(const Picture& picture) {
  std::vector<uint8_t> xorBits, andBits;
  for (int y = kSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kRowBytes; ++byte) {
      uint8_t x8 = 0, a8 = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char c = picture.Pixels[y][byte * 8 + bit];
        const uint8_t mask = uint8_t(0x80 >> bit);
        if (c == '.') x8 |= mask;  // white
        if (c == ' ') a8 |= mask;  // transparent
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
  Put16(out, picture.HotX);
  Put16(out, picture.HotY);
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
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_cursors OUTPUT_FOLDER\n");
    return 2;
  }
  const struct {
    const char* File;
    Picture Image;
  } cursors[] = {
      {"fm_handcursor.cur", Hand()},
      {"vx_dragcopy.cur", Dragged(false, true)},
      {"vx_fullscroll.cur", ScrollCursor({0, 1, 2, 3})},
      {"vx_horscroll.cur", ScrollCursor({1, 3})},
      {"vx_verscroll.cur", ScrollCursor({0, 2})},
      {"vx_upscroll.cur", ScrollCursor({0})},
      {"vx_rightscroll.cur", ScrollCursor({1})},
      {"vx_downscroll.cur", ScrollCursor({2})},
      {"vx_leftscroll.cur", ScrollCursor({3})},
      {"vx_remove.cur", Remove()},
      {"vx_vertsize.cur", SizeCursor(true)},
      {"vx_horzsize.cur", SizeCursor(false)},
      {"vx_multidrag.cur", Dragged(true, false)},
      {"vx_nodrop.cur", NoDrop()},
      {"vx_drag.cur", Dragged(false, false)},
      {"vx_colorpicker.cur", ColorPicker()},
      {"vx_multidragcopy.cur", Dragged(true, true)},
  };
  for (const auto& c : cursors) {
    const std::string path = std::string(argv[1]) + "/" + c.File;
    if (!generated::WriteFile(path, EncodeCursor(c.Image))) {
      std::fprintf(stderr, "make_cursors: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
