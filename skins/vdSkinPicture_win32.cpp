// The Windows build keeps the PNG files undecoded until the windowed picture
// class takes them over: pictures compare by their bytes, and translucency is
// read from the header (a colour type with alpha, or a transparency chunk).
#include <cstring>

#include "skins/vdSkinPicture.h"

namespace {

// Colour types 4 (grey with alpha) and 6 (RGBA) carry an alpha channel.
constexpr size_t kColourTypeOffset = 25;

}  // namespace

bool TvdSkinPicture::SameImageAs(const TvdSkinPicture& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  return bytes_ == other.bytes_;
}

bool TvdSkinPicture::HasTranslucentPixels() const {
  if (bytes_.size() <= kColourTypeOffset) return false;
  uint8_t colourType = bytes_[kColourTypeOffset];
  if (colourType == 4 || colourType == 6) return true;
  // A transparency chunk comes before the first image data chunk.
  const uint8_t* b = bytes_.data();
  for (size_t at = 8; at + 8 <= bytes_.size();) {
    uint32_t length = uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
    if (std::memcmp(b + at + 4, "tRNS", 4) == 0) return true;
    if (std::memcmp(b + at + 4, "IDAT", 4) == 0 || length > bytes_.size() - at - 8) break;
    at += 8 + size_t(length) + 4;
  }
  return false;
}
