// The picture header readers on image files built here byte by byte: each
// format's valid variants, the same files cut anywhere, and bytes that
// only look like the markers the readers look for.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "smooth/LuxGDIPPictureHeader.h"

namespace {

using Bytes = std::vector<uint8_t>;

class TBytes {
 public:
  TBytes& U8(uint8_t v) { bytes.push_back(v); return *this; }
  TBytes& Raw(std::initializer_list<uint8_t> v) { bytes.insert(bytes.end(), v); return *this; }
  TBytes& Text(const char* s) { while (*s) bytes.push_back(uint8_t(*s++)); return *this; }
  TBytes& Zeros(size_t n) { bytes.resize(bytes.size() + n); return *this; }
  TBytes& BE16(uint16_t v) { return U8(uint8_t(v >> 8)).U8(uint8_t(v)); }
  TBytes& LE16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
  TBytes& BE32(uint32_t v) { return BE16(uint16_t(v >> 16)).BE16(uint16_t(v)); }
  TBytes& LE32(uint32_t v) { return LE16(uint16_t(v)).LE16(uint16_t(v >> 16)); }
  Bytes bytes;
};

Bytes Png(uint32_t width, uint32_t height) {
  TBytes b;
  b.Raw({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}).BE32(13).Text("IHDR").BE32(width).BE32(height);
  b.Raw({8, 6, 0, 0, 0}).BE32(0x12345678);  // depth, colour type, methods, CRC
  return b.bytes;
}

Bytes Bmp(int32_t width, int32_t height) {
  TBytes b;
  b.Text("BM").LE32(0).LE32(0).LE32(54).LE32(40).LE32(uint32_t(width)).LE32(uint32_t(height));
  b.LE16(1).LE16(24).Zeros(24);
  return b.bytes;
}

Bytes BmpCore(uint16_t width, uint16_t height) {
  TBytes b;
  b.Text("BM").LE32(0).LE32(0).LE32(26).LE32(12).LE16(width).LE16(height).LE16(1).LE16(24);
  return b.bytes;
}

// A GIF with a global colour table of 4 entries, a graphic control and a
// comment extension whose data holds 0x2C bytes, then the image.
Bytes Gif(uint16_t screenWidth, uint16_t screenHeight, uint16_t width, uint16_t height) {
  TBytes b;
  b.Text("GIF89a").LE16(screenWidth).LE16(screenHeight).U8(0x81).U8(0).U8(0);
  b.Raw({0, 0, 0, 0x2C, 0x2C, 0x2C, 255, 255, 255, 0x2C, 0, 0});
  b.Raw({0x21, 0xF9, 4, 0, 0, 0, 0, 0});
  b.Raw({0x21, 0xFE, 3, 0x2C, 0x2C, 0x2C, 2, 0x2C, 0x21, 0});
  b.U8(0x2C).LE16(1).LE16(2).LE16(width).LE16(height).U8(0);
  b.Raw({2, 2, 0x44, 0x01, 0, 0x3B});
  return b.bytes;
}

// A JPEG whose APP0 data holds what looks like a start of frame, with fill
// bytes and a restart marker before the real frame header.
Bytes Jpeg(uint8_t frameMarker, uint16_t width, uint16_t height) {
  TBytes b;
  b.Raw({0xFF, 0xD8, 0xFF, 0xE0}).BE16(10).Raw({0xFF, 0xC0, 0x00, 0x11, 0x00, 0x22, 0xFF, 0xC0});
  b.Raw({0xFF, 0xFF, 0xFF, 0xD0});
  b.Raw({0xFF, 0xC4}).BE16(4).Raw({0, 0});
  b.Raw({0xFF, frameMarker}).BE16(11).U8(8).BE16(height).BE16(width).U8(1).Raw({1, 0x11, 0});
  b.Raw({0xFF, 0xDA}).BE16(8).Zeros(6).Raw({0xFF, 0xD9});
  return b.bytes;
}

// A TIFF whose directory has another tag first; SHORT or LONG sizes.
Bytes Tiff(bool bigEndian, uint16_t type, uint32_t width, uint32_t height) {
  TBytes b;
  auto u16 = [&](uint16_t v) { bigEndian ? b.BE16(v) : b.LE16(v); };
  auto u32 = [&](uint32_t v) { bigEndian ? b.BE32(v) : b.LE32(v); };
  auto value = [&](uint32_t v) {
    if (type == 3 || type == 8) {
      u16(uint16_t(v));
      u16(0);
    } else {
      u32(v);
    }
  };
  b.Text(bigEndian ? "MM" : "II");
  u16(42);
  u32(12);
  b.Zeros(4);
  u16(3);
  u16(259), u16(3), u32(1), u16(1), u16(0);
  u16(256), u16(type), u32(1), value(width);
  u16(257), u16(type), u32(1), value(height);
  u32(0);
  return b.bytes;
}

struct Sample {
  const char* name;
  const char* file;
  Bytes bytes;
  int32_t width, height;
};

std::vector<Sample> ValidSamples() {
  return {
      {"png", "a.png", Png(640, 480), 640, 480},
      {"png wider than 16 bits", "a.PNG", Png(70000, 3), 70000, 3},
      {"png beyond Integer", "a.png", Png(0x80000000u, 5), 0, 5},
      {"bmp bottom-up", "a.bmp", Bmp(100, 50), 100, 50},
      {"bmp top-down", "a.Bmp", Bmp(100, -50), 100, 50},
      {"bmp wider than 16 bits", "a.bmp", Bmp(70000, 2), 70000, 2},
      {"bmp core header", "a.bmp", BmpCore(30, 20), 30, 20},
      {"gif", "a.gif", Gif(300, 200, 120, 80), 120, 80},
      {"jpeg baseline", "a.jpg", Jpeg(0xC0, 320, 240), 320, 240},
      {"jpeg progressive", "a.jpeg", Jpeg(0xC2, 321, 241), 321, 241},
      {"jpeg lossless", "a.JPG", Jpeg(0xC3, 12, 13), 12, 13},
      {"jpeg arithmetic", "a.jpg", Jpeg(0xC9, 14, 15), 14, 15},
      {"jpeg hierarchical", "a.jpg", Jpeg(0xCF, 16, 17), 16, 17},
      {"tiff little-endian short", "a.tif", Tiff(false, 3, 500, 400), 500, 400},
      {"tiff little-endian long", "a.tiff", Tiff(false, 4, 70000, 400), 70000, 400},
      {"tiff big-endian short", "a.TIF", Tiff(true, 3, 500, 400), 500, 400},
      {"tiff big-endian long", "a.tiff", Tiff(true, 4, 70000, 80000), 70000, 80000},
      {"tiff signed long", "a.tif", Tiff(false, 9, uint32_t(-30), 40), 30, 40},
  };
}

TEST(PictureHeader, ReadsEachFormat) {
  for (const Sample& s : ValidSamples()) {
    const TPictureHeaderSize size = ReadHeaderSizeByExtension(s.file, s.bytes.data(), s.bytes.size());
    EXPECT_EQ(size.Width, s.width) << s.name;
    EXPECT_EQ(size.Height, s.height) << s.name;
  }
}

TEST(PictureHeader, ExtensionChoosesTheReader) {
  const Bytes png = Png(10, 20);
  for (const char* name : {"a.txt", "png", "a.png.txt", "dir.png/file", "", "a."}) {
    const TPictureHeaderSize size = ReadHeaderSizeByExtension(name, png.data(), png.size());
    EXPECT_EQ(size.Width, 0) << name;
    EXPECT_EQ(size.Height, 0) << name;
  }
  // Another format's bytes under an extension give nothing.
  const Bytes bmp = Bmp(10, 20);
  EXPECT_EQ(ReadHeaderSizeByExtension("a.png", bmp.data(), bmp.size()).Width, 0);
  EXPECT_EQ(ReadHeaderSizeByExtension("a.gif", png.data(), png.size()).Width, 0);
}

// Every prefix of every sample reads without going past its end (the
// sanitizer build sees each read); each value is either not found (0) or
// right, and once both are found, longer prefixes keep them.
TEST(PictureHeader, FilesCutAnywhere) {
  for (const Sample& s : ValidSamples()) {
    bool complete = false;
    for (size_t n = 0; n <= s.bytes.size(); ++n) {
      const Bytes cut(s.bytes.begin(), s.bytes.begin() + n);
      const TPictureHeaderSize size = ReadHeaderSizeByExtension(s.file, cut.data(), cut.size());
      EXPECT_TRUE(size.Width == 0 || size.Width == s.width) << s.name << " cut at " << n;
      EXPECT_TRUE(size.Height == 0 || size.Height == s.height) << s.name << " cut at " << n;
      const bool both = size.Width == s.width && size.Height == s.height;
      EXPECT_TRUE(both || !complete) << s.name << " lost its size again at " << n;
      complete = complete || both;
    }
    EXPECT_TRUE(complete) << s.name;
  }
}

TEST(PictureHeader, BrokenStructures) {
  struct Case {
    const char* name;
    const char* file;
    std::function<void(Bytes&)> damage;
  };
  const std::vector<Case> cases = {
      {"png bad signature", "a.png", [](Bytes& b) { b[1] = 'Q'; }},
      {"png first chunk not IHDR", "a.png", [](Bytes& b) { b[12] = 'X'; }},
      {"bmp bad magic", "a.bmp", [](Bytes& b) { b[0] = 'X'; }},
      {"jpeg no start of image", "a.jpg", [](Bytes& b) { b[1] = 0xD9; }},
      {"jpeg segment length below 2", "a.jpg", [](Bytes& b) { b[4] = 0, b[5] = 1; }},
      {"jpeg segment runs past the end", "a.jpg", [](Bytes& b) { b[4] = 0xFF, b[5] = 0xF0; }},
      {"jpeg end of image before the frame", "a.jpg", [](Bytes& b) { b[15] = 0xD9; }},
      {"gif bad magic", "a.gif", [](Bytes& b) { b[0] = 'J'; }},
      {"gif unknown block", "a.gif", [](Bytes& b) { b[25] = 0x3B; }},
      {"gif colour table past the end", "a.gif", [](Bytes& b) { b[10] = 0x87; }},
      {"gif sub-block past the end", "a.gif", [](Bytes& b) { b[35] = 0xF0; }},
      {"tiff bad order mark", "a.tif", [](Bytes& b) { b[0] = 'I', b[1] = 'M'; }},
      {"tiff directory past the end", "a.tif", [](Bytes& b) { b[4] = 0xF0; }},
  };
  const std::vector<Sample> samples = {
      {"", "a.png", Png(7, 8), 7, 8}, {"", "a.bmp", Bmp(7, 8), 7, 8}, {"", "a.jpg", Jpeg(0xC0, 7, 8), 7, 8},
      {"", "a.gif", Gif(9, 9, 7, 8), 7, 8}, {"", "a.tif", Tiff(false, 3, 7, 8), 7, 8}};
  for (const Case& c : cases) {
    for (const Sample& s : samples) {
      if (std::string(s.file) != c.file) continue;
      Bytes bytes = s.bytes;
      c.damage(bytes);
      const TPictureHeaderSize size = ReadHeaderSizeByExtension(c.file, bytes.data(), bytes.size());
      EXPECT_EQ(size.Width, 0) << c.name;
      EXPECT_EQ(size.Height, 0) << c.name;
    }
  }
}

}  // namespace
