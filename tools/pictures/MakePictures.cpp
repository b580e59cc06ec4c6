// Draws the setup program's pictures: the wizard's side band, the button
// glyphs and the end page's pictures as 24-bit BMP files, and the splash
// background and its six status pictures as PNG files with alpha. Everything is computed
// from fixed shapes and gradients, so every build writes the same bytes.
//
//   make_pictures OUTPUT_DIR
//
// Glyphs use olive (128, 128, 0) as their background: the buttons draw
// them with their bottom-left pixel's colour transparent.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <png.h>

namespace {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kOlive{128, 128, 0};

class Image {
 public:
  // A transparent image keeps alpha 0 wherever nothing is drawn.
  Image(int width, int height, Rgb fill, bool transparent = false)
      : width_(width), height_(height), pixels_(size_t(width) * height, fill),
        alpha_(size_t(width) * height, transparent ? 0 : 255) {}

  int Width() const { return width_; }
  int Height() const { return height_; }

  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
      pixels_[size_t(y) * width_ + x] = c;
      alpha_[size_t(y) * width_ + x] = 255;
    }
  }
  void SetAlpha(int x, int y, uint8_t a) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) alpha_[size_t(y) * width_ + x] = a;
  }
  Rgb Get(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

  void FillRect(int left, int top, int right, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y, c);
  }

  void Frame(int left, int top, int right, int bottom, Rgb c) {
    for (int x = left; x < right; ++x) Set(x, top, c), Set(x, bottom - 1, c);
    for (int y = top; y < bottom; ++y) Set(left, y, c), Set(right - 1, y, c);
  }

  // Top to bottom from a to b.
  void VerticalGradient(int left, int top, int right, int bottom, Rgb a, Rgb b) {
    for (int y = top; y < bottom; ++y) {
      Rgb c = Mix(a, b, double(y - top) / std::max(1, bottom - top - 1));
      for (int x = left; x < right; ++x) Set(x, y, c);
    }
  }

  void Disc(int cx, int cy, int radius, Rgb c) {
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) Set(x, y, c);
  }

  void Ring(int cx, int cy, int radius, int thickness, Rgb c) {
    int inner = radius - thickness;
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x) {
        int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= radius * radius && d > inner * inner) Set(x, y, c);
      }
  }

  // A filled triangle (scan test against the three edges).
  void Triangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb c) {
    auto edge = [](int ax, int ay, int bx, int by, int px, int py) {
      return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    int area = edge(x0, y0, x1, y1, x2, y2);
    for (int y = std::min({y0, y1, y2}); y <= std::max({y0, y1, y2}); ++y)
      for (int x = std::min({x0, x1, x2}); x <= std::max({x0, x1, x2}); ++x) {
        int e0 = edge(x1, y1, x2, y2, x, y), e1 = edge(x2, y2, x0, y0, x, y), e2 = edge(x0, y0, x1, y1, x, y);
        bool inside = area >= 0 ? (e0 >= 0 && e1 >= 0 && e2 >= 0) : (e0 <= 0 && e1 <= 0 && e2 <= 0);
        if (inside) Set(x, y, c);
      }
  }

  void Line(int x0, int y0, int x1, int y1, int thickness, Rgb c) {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      int x = x0 + (steps ? (x1 - x0) * i / steps : 0);
      int y = y0 + (steps ? (y1 - y0) * i / steps : 0);
      FillRect(x - thickness / 2, y - thickness / 2, x - thickness / 2 + thickness, y - thickness / 2 + thickness, c);
    }
  }

  static Rgb Mix(Rgb a, Rgb b, double t) {
    auto lerp = [t](uint8_t u, uint8_t v) { return uint8_t(std::lround(u + (v - u) * t)); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
  }

  // A ".png" name gets RGBA rows through libpng, any other a BMP.
  bool Save(const std::string& fileName) const {
    return fileName.size() > 4 && fileName.compare(fileName.size() - 4, 4, ".png") == 0 ? SavePng(fileName)
                                                                                        : SaveBmp(fileName);
  }

  bool SavePng(const std::string& fileName) const {
    FILE* f = std::fopen(fileName.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    std::vector<uint8_t> row(size_t(width_) * 4);
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
      png_init_io(png, f);
      png_set_IHDR(png, info, png_uint_32(width_), png_uint_32(height_), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                   PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      png_write_info(png, info);
      for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
          const Rgb c = Get(x, y);
          uint8_t* p = &row[size_t(x) * 4];
          p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = alpha_[size_t(y) * width_ + x];
        }
        png_write_row(png, row.data());
      }
      png_write_end(png, nullptr);
    } else {
      ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0 && ok;
  }

  // BITMAPFILEHEADER, BITMAPINFOHEADER and bottom-up BGR rows padded to four bytes.
  bool SaveBmp(const std::string& fileName) const {
    const uint32_t rowBytes = (uint32_t(width_) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height_);
    std::vector<uint8_t> out;
    auto u16 = [&out](uint32_t v) { out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&u16](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    out.push_back('B'), out.push_back('M');
    u32(14 + 40 + imageBytes), u32(0), u32(14 + 40);
    u32(40), u32(uint32_t(width_)), u32(uint32_t(height_)), u16(1), u16(24), u32(0), u32(imageBytes);
    u32(2835), u32(2835), u32(0), u32(0);
    for (int y = height_ - 1; y >= 0; --y) {
      for (int x = 0; x < width_; ++x) {
        Rgb c = Get(x, y);
        out.push_back(c.b), out.push_back(c.g), out.push_back(c.r);
      }
      out.resize(out.size() + (rowBytes - uint32_t(width_) * 3), 0);
    }
    FILE* f = std::fopen(fileName.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
  }

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
  std::vector<uint8_t> alpha_;
};

// The wizard's left band: a deep blue gradient with rings and a light stripe.
Image SideBand() {
  Image im(153, 401, {0, 0, 0});
  im.VerticalGradient(0, 0, 153, 401, {18, 44, 92}, {4, 12, 30});
  for (int i = 0; i < 4; ++i) im.Ring(76, 120, 30 + i * 14, 2, Image::Mix({70, 130, 210}, {18, 44, 92}, i / 4.0));
  im.Disc(76, 120, 20, {232, 160, 40});
  im.FillRect(0, 250, 153, 254, {120, 170, 230});
  for (int y = 280; y < 380; y += 16) im.FillRect(24, y, 129, y + 6, {36, 70, 128});
  return im;
}

Image Glyph() { return Image(16, 16, kOlive); }

Image ArrowRightGlyph() {
  Image im = Glyph();
  im.FillRect(2, 6, 9, 10, {40, 120, 40});
  im.Triangle(8, 2, 14, 8, 8, 14, {40, 120, 40});
  return im;
}

Image ArrowLeftGlyph() {
  Image im = Glyph();
  im.FillRect(7, 6, 14, 10, {40, 80, 160});
  im.Triangle(8, 2, 1, 8, 8, 14, {40, 80, 160});
  return im;
}

Image InstallGlyph() {
  Image im = Glyph();
  im.FillRect(6, 1, 10, 7, {200, 120, 20});
  im.Triangle(2, 6, 13, 6, 8, 11, {200, 120, 20});
  im.FillRect(1, 12, 15, 15, {90, 90, 90});
  return im;
}

Image QuitGlyph() {
  Image im = Glyph();
  im.Line(3, 3, 12, 12, 3, {190, 30, 30});
  im.Line(12, 3, 3, 12, 3, {190, 30, 30});
  return im;
}

// The splash background, 600 x 400: a light panel with a darker title band
// and a frame, its corners cut round (transparent) and its lowest band
// translucent.
Image SplashBackground() {
  constexpr int w = 600, h = 400, radius = 14;
  Image im(w, h, {0, 0, 0});
  im.VerticalGradient(0, 0, w, h, {250, 250, 252}, {196, 214, 236});
  im.VerticalGradient(0, 0, w, 70, {26, 66, 132}, {60, 110, 180});
  im.FillRect(0, 70, w, 73, {232, 160, 40});
  for (int i = 0; i < 3; ++i) im.Ring(540, 200, 40 + i * 18, 3, {214, 226, 242});
  im.Frame(0, 0, w, h, {26, 66, 132});
  im.Frame(1, 1, w - 1, h - 1, {120, 160, 210});
  for (int y = h - 40; y < h - 2; ++y)
    for (int x = 2; x < w - 2; ++x) im.SetAlpha(x, y, 215);
  for (int y = 0; y < radius; ++y)
    for (int x = 0; x < radius; ++x) {
      const int dx = radius - x, dy = radius - y;
      if (dx * dx + dy * dy <= radius * radius) continue;
      im.SetAlpha(x, y, 0), im.SetAlpha(w - 1 - x, y, 0);
      im.SetAlpha(x, h - 1 - y, 0), im.SetAlpha(w - 1 - x, h - 1 - y, 0);
    }
  return im;
}

// The six 24 x 24 status pictures of the splash lines, transparent around
// their shapes.
Image StatusPicture(const std::string& name) {
  Image im(24, 24, {255, 255, 255}, true);
  if (name == "files") {
    im.FillRect(5, 2, 17, 22, {120, 120, 120});
    im.FillRect(6, 3, 16, 21, {250, 250, 250});
    for (int y = 7; y < 19; y += 3) im.FillRect(8, y, 14, y + 1, {90, 120, 180});
  } else if (name == "folders") {
    im.FillRect(2, 5, 10, 8, {210, 160, 40});
    im.FillRect(2, 8, 22, 20, {236, 190, 70});
  } else if (name == "register") {
    for (int i = 0; i < 3; ++i) im.FillRect(3 + i * 6, 4 + i * 5, 9 + i * 6, 10 + i * 5, {uint8_t(60 + i * 60), 90, uint8_t(200 - i * 50)});
  } else if (name == "system") {
    im.FillRect(2, 3, 22, 16, {60, 60, 70});
    im.FillRect(4, 5, 20, 14, {90, 160, 230});
    im.FillRect(9, 16, 15, 19, {60, 60, 70});
    im.FillRect(5, 19, 19, 21, {60, 60, 70});
  } else if (name == "package") {
    im.FillRect(3, 6, 21, 21, {170, 120, 60});
    im.FillRect(3, 6, 21, 9, {140, 95, 45});
    im.FillRect(11, 6, 13, 21, {230, 200, 120});
  } else if (name == "start") {
    im.Disc(12, 12, 10, {40, 150, 60});
    im.Triangle(9, 6, 18, 12, 9, 18, {255, 255, 255});
  }
  return im;
}

Image FinishBanner() {
  Image im(632, 197, {0, 0, 0});
  im.VerticalGradient(0, 0, 632, 197, {196, 214, 236}, {255, 255, 255});
  for (int i = 0; i < 6; ++i) im.Ring(560, 120, 20 + i * 12, 2, {170, 196, 230});
  return im;
}

Image FinishProduct() {
  Image im(241, 97, {255, 255, 255});
  im.VerticalGradient(10, 10, 231, 87, {26, 66, 132}, {60, 110, 180});
  im.Disc(50, 48, 24, {232, 160, 40});
  im.FillRect(90, 30, 210, 38, {250, 250, 252});
  im.FillRect(90, 46, 180, 52, {200, 214, 236});
  im.FillRect(90, 60, 196, 66, {200, 214, 236});
  return im;
}

Image FinishPicture() {
  Image im(81, 88, {255, 255, 255});
  im.Disc(40, 44, 36, {40, 150, 60});
  im.Line(22, 46, 36, 60, 7, {255, 255, 255});
  im.Line(36, 60, 60, 30, 7, {255, 255, 255});
  return im;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  struct Out {
    const char* file;
    Image image;
  };
  std::vector<Out> outs = {
      {"side_band.bmp", SideBand()},
      {"glyph_next.bmp", ArrowRightGlyph()},
      {"glyph_previous.bmp", ArrowLeftGlyph()},
      {"glyph_install.bmp", InstallGlyph()},
      {"glyph_quit.bmp", QuitGlyph()},
      {"splash.png", SplashBackground()},
      {"status_files.png", StatusPicture("files")},
      {"status_folders.png", StatusPicture("folders")},
      {"status_register.png", StatusPicture("register")},
      {"status_system.png", StatusPicture("system")},
      {"status_package.png", StatusPicture("package")},
      {"status_start.png", StatusPicture("start")},
      {"finish_banner.bmp", FinishBanner()},
      {"finish_product.bmp", FinishProduct()},
      {"finish_picture.bmp", FinishPicture()},
  };
  for (const Out& o : outs)
    if (!o.image.Save(dir + o.file)) {
      std::fprintf(stderr, "make_pictures: cannot write %s%s\n", dir.c_str(), o.file);
      return 1;
    }
  return 0;
}
