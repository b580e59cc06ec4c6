#include "smooth/LuxGDIPPictureHeader.h"

#include <array>
#include <cstring>
#include <string>

namespace {

// A bounds-checked view of the file's bytes in either byte order.
class TByteReader {
 public:
  TByteReader(const uint8_t* data, size_t size, bool bigEndian = false)
      : data_(data), size_(size), bigEndian_(bigEndian) {}
  bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
  uint8_t U8(size_t offset) const { return data_[offset]; }
  uint16_t U16(size_t offset) const {
    const uint8_t* p = data_ + offset;
    return bigEndian_ ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
  }
  uint32_t U32(size_t offset) const {
    const uint8_t* p = data_ + offset;
    return bigEndian_ ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                      : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }
  bool Matches(size_t offset, const void* bytes, size_t count) const {
    return Has(offset, count) && std::memcmp(data_ + offset, bytes, count) == 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  bool bigEndian_;
};

// A size stored as a 32-bit value: sizes beyond Integer's range are no size.
int32_t SizeValue(uint32_t value) { return value > 0x7FFFFFFFu ? 0 : int32_t(value); }

// The absolute value of a signed 32-bit size (a bottom-up or top-down BMP
// row count, a signed TIFF tag); the one value without one gives 0.
int32_t AbsoluteSize(uint32_t value) {
  const int32_t v = int32_t(value);
  if (v == INT32_MIN) return 0;
  return v < 0 ? -v : v;
}

// JPEG start-of-frame markers: every SOFn except DHT (C4), JPG (C8) and
// DAC (CC), which share the range.
bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and the restart markers.
bool IsStandaloneMarker(uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

constexpr uint8_t kJpegEndOfImage = 0xD9;
constexpr uint8_t kJpegStartOfScan = 0xDA;

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kPngIhdrType = 12, kPngWidth = 16, kPngHeight = 20;

constexpr size_t kBmpHeaderSize = 14, kBmpWidth = 18, kBmpHeight = 22;
// The oldest info header (12 bytes) keeps 16-bit sizes.
constexpr uint32_t kBmpCoreHeaderSize = 12;

constexpr uint16_t kTiffImageWidth = 256, kTiffImageLength = 257;
enum : uint16_t { kTiffShort = 3, kTiffLong = 4, kTiffSignedShort = 8, kTiffSignedLong = 9 };
constexpr size_t kTiffEntrySize = 12;

constexpr size_t kGifScreenDescriptorEnd = 13, kGifPackedFields = 10;
constexpr uint8_t kGifImageSeparator = 0x2C, kGifExtension = 0x21;
constexpr size_t kGifImageDescriptorSize = 10;  // separator included

}  // namespace

TPictureHeaderSize ReadJpegHeaderSize(const uint8_t* data, size_t size) {
  const TByteReader in(data, size, true);
  if (!in.Has(0, 2) || in.U8(0) != 0xFF || in.U8(1) != 0xD8) return {};
  size_t pos = 2;
  while (in.Has(pos, 2) && in.U8(pos) == 0xFF) {
    const uint8_t marker = in.U8(pos + 1);
    if (marker == 0xFF) {  // fill byte before a marker
      ++pos;
      continue;
    }
    pos += 2;
    if (IsStandaloneMarker(marker)) continue;
    if (marker == kJpegEndOfImage || marker == kJpegStartOfScan || !in.Has(pos, 2)) break;
    if (IsStartOfFrame(marker)) {
      // Length (2), sample precision (1), then the height and the width.
      if (!in.Has(pos + 3, 4)) break;
      return {in.U16(pos + 5), in.U16(pos + 3)};
    }
    const uint16_t length = in.U16(pos);
    if (length < 2) break;
    pos += length;
  }
  return {};
}

TPictureHeaderSize ReadPngHeaderSize(const uint8_t* data, size_t size) {
  const TByteReader in(data, size, true);
  if (!in.Matches(0, kPngSignature.data(), kPngSignature.size()) || !in.Matches(kPngIhdrType, "IHDR", 4) ||
      !in.Has(kPngHeight, 4))
    return {};
  return {SizeValue(in.U32(kPngWidth)), SizeValue(in.U32(kPngHeight))};
}

TPictureHeaderSize ReadBmpHeaderSize(const uint8_t* data, size_t size) {
  const TByteReader in(data, size);
  if (!in.Matches(0, "BM", 2) || !in.Has(kBmpHeaderSize, 4)) return {};
  if (in.U32(kBmpHeaderSize) == kBmpCoreHeaderSize) {
    if (!in.Has(kBmpWidth, 4)) return {};
    return {in.U16(kBmpWidth), in.U16(kBmpWidth + 2)};
  }
  if (!in.Has(kBmpHeight, 4)) return {};
  // A negative width is no width; a negative height marks rows stored top-down.
  const int32_t width = int32_t(in.U32(kBmpWidth));
  return {width < 0 ? 0 : width, AbsoluteSize(in.U32(kBmpHeight))};
}

TPictureHeaderSize ReadTiffHeaderSize(const uint8_t* data, size_t size) {
  bool bigEndian;
  if (TByteReader(data, size).Matches(0, "II*\0", 4)) bigEndian = false;
  else if (TByteReader(data, size).Matches(0, "MM\0*", 4)) bigEndian = true;
  else return {};
  const TByteReader in(data, size, bigEndian);
  if (!in.Has(4, 4)) return {};
  const size_t directory = in.U32(4);
  if (!in.Has(directory, 2)) return {};
  const size_t count = in.U16(directory);
  TPictureHeaderSize result;
  bool haveWidth = false, haveHeight = false;
  for (size_t i = 0; i < count && !(haveWidth && haveHeight); ++i) {
    const size_t entry = directory + 2 + i * kTiffEntrySize;
    if (!in.Has(entry, kTiffEntrySize)) break;
    const uint16_t tag = in.U16(entry);
    if (tag != kTiffImageWidth && tag != kTiffImageLength) continue;
    // A value of one short or long sits at the start of the value field.
    int32_t value;
    switch (in.U16(entry + 2)) {
      case kTiffShort: value = in.U16(entry + 8); break;
      case kTiffSignedShort: value = AbsoluteSize(uint32_t(int32_t(int16_t(in.U16(entry + 8))))); break;
      case kTiffLong: value = SizeValue(in.U32(entry + 8)); break;
      case kTiffSignedLong: value = AbsoluteSize(in.U32(entry + 8)); break;
      default: continue;
    }
    if (tag == kTiffImageWidth) {
      result.Width = value;
      haveWidth = true;
    } else {
      result.Height = value;
      haveHeight = true;
    }
  }
  return result;
}

// The size is that of the first image's descriptor, found by walking the
// blocks that may come before it: extensions with their sub-blocks.
TPictureHeaderSize ReadGifHeaderSize(const uint8_t* data, size_t size) {
  const TByteReader in(data, size);
  if (!in.Matches(0, "GIF", 3) || !in.Has(0, kGifScreenDescriptorEnd)) return {};
  size_t pos = kGifScreenDescriptorEnd;
  const uint8_t packed = in.U8(kGifPackedFields);
  if (packed & 0x80) pos += 3 * (size_t(2) << (packed & 7));
  while (in.Has(pos, 1)) {
    const uint8_t block = in.U8(pos);
    if (block == kGifImageSeparator) {
      if (!in.Has(pos, kGifImageDescriptorSize)) break;
      return {in.U16(pos + 5), in.U16(pos + 7)};
    }
    if (block != kGifExtension || !in.Has(pos, 2)) break;
    pos += 2;  // introducer and label
    for (;;) {  // sub-blocks up to the empty one
      if (!in.Has(pos, 1)) return {};
      const uint8_t length = in.U8(pos++);
      if (length == 0) break;
      pos += length;
    }
  }
  return {};
}

TPictureHeaderSize ReadHeaderSizeByExtension(std::string_view fileName, const uint8_t* data, size_t size) {
  const size_t dot = fileName.find_last_of("./\\");
  if (dot == std::string_view::npos || fileName[dot] != '.') return {};
  std::string ext(fileName.substr(dot));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (ext == ".JPG" || ext == ".JPEG") return ReadJpegHeaderSize(data, size);
  if (ext == ".PNG") return ReadPngHeaderSize(data, size);
  if (ext == ".BMP") return ReadBmpHeaderSize(data, size);
  if (ext == ".TIFF" || ext == ".TIF") return ReadTiffHeaderSize(data, size);
  if (ext == ".GIF") return ReadGifHeaderSize(data, size);
  return {};
}
