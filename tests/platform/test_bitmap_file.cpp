// Bitmap files: what the writer stores the reader gives back in every
// depth, top-down files read in the right row order, and headers that no
// bitmap can be made of are refused before anything is allocated.
#include <gtest/gtest.h>

#include <climits>

#include "platform/BitmapFile.h"

namespace {

struct Picture {
  TBitmapFileInfo info;
  std::vector<uint8_t> rows;
};

Picture MakePicture(int width, int height, int bits, bool rgb565 = false) {
  Picture p;
  p.info.Width = width;
  p.info.Height = height;
  p.info.BitsPerPixel = bits;
  p.info.Rgb565 = rgb565;
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i) p.info.Palette.push_back(uint32_t(i * 0x030507) & 0xFFFFFF);
  p.rows.resize(size_t(p.info.RowBytes() * height));
  for (size_t i = 0; i < p.rows.size(); ++i) p.rows[i] = uint8_t(i * 31 + 7);
  return p;
}

std::vector<uint8_t> Written(const Picture& p) {
  TMemoryStream s;
  WriteBitmapFile(s, p.info, p.rows.data(), p.info.RowBytes());
  return s.Bytes();
}

Picture Read(const std::vector<uint8_t>& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
  Picture p;
  p.info = ReadBitmapFileInfo(s);
  p.rows.resize(size_t(p.info.RowBytes() * p.info.Height));
  ReadBitmapFileRows(s, p.info, p.rows.data(), p.info.RowBytes());
  EXPECT_EQ(s.Position(), s.Size());
  return p;
}

void Poke32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

TEST(BitmapFile, EveryDepthReadsBackAsWritten) {
  const struct {
    int bits;
    bool rgb565;
  } depths[] = {{1, false}, {4, false}, {8, false}, {16, false}, {16, true}, {24, false}, {32, false}};
  for (auto [bits, rgb565] : depths) {
    const Picture p = MakePicture(13, 5, bits, rgb565);  // odd width: padded rows
    const std::vector<uint8_t> bytes = Written(p);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    const Picture back = Read(bytes);
    EXPECT_EQ(back.info.Width, 13) << bits;
    EXPECT_EQ(back.info.Height, 5) << bits;
    EXPECT_EQ(back.info.BitsPerPixel, bits);
    EXPECT_EQ(back.info.Rgb565, rgb565) << bits;
    EXPECT_EQ(back.info.Palette, p.info.Palette) << bits;
    EXPECT_EQ(back.rows, p.rows) << bits;
    EXPECT_EQ(Written(back), bytes) << bits;
  }
}

TEST(BitmapFile, TopDownRowsLandInOrder) {
  Picture p = MakePicture(2, 3, 32);
  std::vector<uint8_t> bytes = Written(p);
  // The same file made top-down: a negative height and the rows reversed.
  Poke32(bytes, 22, uint32_t(-3));
  const size_t rows = bytes.size() - p.rows.size();
  for (int r = 0; r < 3; ++r)
    std::copy(p.rows.begin() + r * 8, p.rows.begin() + r * 8 + 8, bytes.begin() + std::ptrdiff_t(rows) + r * 8);
  const Picture back = Read(bytes);
  EXPECT_FALSE(back.info.BottomUp);
  EXPECT_EQ(back.rows, p.rows);
}

TEST(BitmapFile, HeadersNoBitmapCanHoldAreRefused) {
  const std::vector<uint8_t> good = Written(MakePicture(4, 4, 8));
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
  };
  const Case invalid[] = {
      {"signature", 0, 0x4D58},         {"core header", 14, 12},       {"header too short", 14, 20},
      {"header too long", 14, 5000},    {"zero width", 18, 0},          {"negative width", 18, uint32_t(-4)},
      {"huge width", 18, 40000},        {"zero height", 22, 0},         {"lowest height", 22, uint32_t(INT_MIN)},
      {"two bits", 26, 0x00020001},     {"run-length", 30, 1},          {"masks on 8 bits", 30, 3},
      {"palette beyond 2^bits", 46, 257},
  };
  for (const Case& k : invalid) {
    std::vector<uint8_t> bad = good;
    Poke32(bad, k.offset, k.value);
    if (k.offset == 0) bad.resize(good.size());  // the signature is 2 bytes; the file size is clobbered too
    EXPECT_THROW(Read(bad), EInvalidGraphic) << k.what;
  }
  // Rows that are not there: refused before they are read.
  std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  EXPECT_THROW(Read(cut), EReadError);
  std::vector<uint8_t> tall = good;
  Poke32(tall, 22, 30000);
  EXPECT_THROW(Read(tall), EReadError);
}

}  // namespace
