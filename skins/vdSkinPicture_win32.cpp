// The Windows build keeps the PNG files undecoded until a picture is drawn:
// pictures compare by their bytes, and translucency is read from the header
// (a colour type with alpha, or a transparency chunk); a file that may hold
// translucent pixels is decoded to look at them, as drawing will need it
// decoded anyway.
#include <cstring>

#include "foundation/vdGDIPlusClasses.h"
#include "skins/vdSkinPicture.h"

namespace {

// Colour types 4 (grey with alpha) and 6 (RGBA) carry an alpha channel.
constexpr size_t kColourTypeOffset = 25;

bool MayHoldTranslucentPixels(const std::vector<uint8_t>& bytes) {
  if (bytes.size() <= kColourTypeOffset) return false;
  uint8_t colourType = bytes[kColourTypeOffset];
  if (colourType == 4 || colourType == 6) return true;
  // A transparency chunk comes before the first image data chunk.
  const uint8_t* b = bytes.data();
  for (size_t at = 8; at + 8 <= bytes.size();) {
    uint32_t length = uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
    if (std::memcmp(b + at + 4, "tRNS", 4) == 0) return true;
    if (std::memcmp(b + at + 4, "IDAT", 4) == 0 || length > bytes.size() - at - 8) break;
    at += 8 + size_t(length) + 4;
  }
  return false;
}

}  // namespace

bool TvdSkinPicture::SameImageAs(const TvdSkinPicture& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  return bytes_ == other.bytes_;
}

bool TvdSkinPicture::HasTranslucentPixels() const {
  if (!MayHoldTranslucentPixels(bytes_)) return false;
  // Without the GDI+ images nothing decodes: the header's answer stands.
  TvdPNGImage* image = Image();
  return image->Empty() || image->HasTranslucentPixels();
}

TvdPNGImage* TvdSkinPicture::Image() const {
  if (!image_ && !Empty()) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes_.data(), int64_t(bytes_.size()));
    stream.SetPosition(0);
    auto image = std::make_shared<TvdPNGImage>();
    image->LoadFromStream(stream);
    image_ = std::move(image);
  }
  return image_.get();
}
