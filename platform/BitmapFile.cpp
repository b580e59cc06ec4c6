#include "platform/BitmapFile.h"

#include <array>
#include <cstdlib>

namespace {

constexpr uint16_t kFileType = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxInfoHeaderSize = 1024;
constexpr uint32_t kPlain = 0;
constexpr uint32_t kBitMasks = 3;
constexpr uint32_t kGreenMask565 = 0x07E0;
constexpr uint32_t kMasks565[3] = {0xF800, kGreenMask565, 0x001F};

[[noreturn]] void NotABitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

template <typename T>
T Take(const uint8_t*& p) {
  T v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v = T(v | T(p[i]) << (8 * i));
  p += sizeof(T);
  return v;
}

template <typename T>
void Put(std::vector<uint8_t>& out, T v) {
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(uint8_t(uint64_t(v) >> (8 * i)));
}

bool KnownDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

}  // namespace

TBitmapFileInfo ReadBitmapFileInfo(TStream& stream) {
  std::array<uint8_t, kFileHeaderSize + kInfoHeaderSize> head;
  stream.ReadBuffer(head.data(), kFileHeaderSize + 4);
  const uint8_t* p = head.data();
  if (Take<uint16_t>(p) != kFileType) NotABitmap();
  p += kFileHeaderSize - 2;
  const uint32_t headerSize = Take<uint32_t>(p);
  if (headerSize == kCoreHeaderSize || headerSize < kInfoHeaderSize || headerSize > kMaxInfoHeaderSize) NotABitmap();
  stream.ReadBuffer(head.data() + kFileHeaderSize + 4, kInfoHeaderSize - 4);
  stream.Seek(int64_t(headerSize) - kInfoHeaderSize, soCurrent);

  TBitmapFileInfo info;
  const int32_t width = Take<int32_t>(p);
  const int32_t height = Take<int32_t>(p);
  Take<uint16_t>(p);  // planes
  const int bits = Take<uint16_t>(p);
  const uint32_t compression = Take<uint32_t>(p);
  p += 12;  // image size, resolutions
  const uint32_t colorsUsed = Take<uint32_t>(p);
  const bool plain = compression == kPlain || (compression == kBitMasks && bits >= 16);
  if (!KnownDepth(bits) || !plain || width <= 0 || width > kMaxBitmapSide || height == 0 ||
      height < -kMaxBitmapSide || height > kMaxBitmapSide)
    NotABitmap();
  info.Width = width;
  info.Height = std::abs(height);
  info.BitsPerPixel = bits;
  info.BottomUp = height > 0;

  if (compression == kBitMasks && headerSize == kInfoHeaderSize) {
    std::array<uint8_t, 12> masks;
    stream.ReadBuffer(masks.data(), int64_t(masks.size()));
    const uint8_t* m = masks.data() + 4;
    info.Rgb565 = bits == 16 && Take<uint32_t>(m) == kGreenMask565;
  }
  if (bits <= 8) {
    const uint32_t n = colorsUsed ? colorsUsed : (1u << bits);
    if (n > (1u << bits)) NotABitmap();
    std::vector<uint8_t> entries(size_t(n) * 4);
    stream.ReadBuffer(entries.data(), int64_t(entries.size()));
    const uint8_t* e = entries.data();
    for (uint32_t i = 0; i < n; ++i) info.Palette.push_back(Take<uint32_t>(e) & 0xFFFFFF);
  }
  if (info.RowBytes() * info.Height > stream.Size() - stream.Position()) throw EReadError("Stream read error");
  return info;
}

void ReadBitmapFileRows(TStream& stream, const TBitmapFileInfo& info, uint8_t* rows, int64_t stride) {
  for (int i = 0; i < info.Height; ++i) {
    const int row = info.BottomUp ? info.Height - 1 - i : i;
    stream.ReadBuffer(rows + row * stride, info.RowBytes());
  }
}

void WriteBitmapFile(TStream& stream, const TBitmapFileInfo& info, const uint8_t* rows, int64_t stride) {
  const bool masks = info.BitsPerPixel == 16 && info.Rgb565;
  const uint32_t headers =
      kFileHeaderSize + kInfoHeaderSize + uint32_t(info.Palette.size() * 4) + (masks ? sizeof kMasks565 : 0);
  const uint32_t imageSize = uint32_t(info.RowBytes() * info.Height);
  std::vector<uint8_t> head;
  Put(head, kFileType);
  Put(head, headers + imageSize);
  Put(head, uint32_t(0));  // the two reserved words
  Put(head, headers);
  Put(head, kInfoHeaderSize);
  Put(head, int32_t(info.Width));
  Put(head, int32_t(info.Height));  // bottom-up, as most readers expect
  Put(head, uint16_t(1));
  Put(head, uint16_t(info.BitsPerPixel));
  Put(head, masks ? kBitMasks : kPlain);
  Put(head, imageSize);
  Put(head, uint64_t(0));  // resolutions
  Put(head, uint32_t(info.Palette.size()));
  Put(head, uint32_t(0));  // colours important
  if (masks)
    for (uint32_t m : kMasks565) Put(head, m);
  for (uint32_t color : info.Palette) Put(head, color & 0xFFFFFF);
  stream.WriteBuffer(head.data(), int64_t(head.size()));
  for (int row = info.Height - 1; row >= 0; --row) stream.WriteBuffer(rows + row * stride, info.RowBytes());
}
