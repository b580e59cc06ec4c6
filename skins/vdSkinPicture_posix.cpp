// Pixel comparisons of the host build, through libpng.
#include "skins/vdSkinPicture.h"
#include "skins/vdSkinPng.h"

bool TvdSkinPicture::SameImageAs(const TvdSkinPicture& other) const {
  if (Empty() || other.Empty()) return Empty() == other.Empty();
  if (width_ != other.width_ || height_ != other.height_) return false;
  if (bytes_ == other.bytes_) return true;
  return vdSkinPngDecode(bytes_).Rgba == vdSkinPngDecode(other.bytes_).Rgba;
}

bool TvdSkinPicture::HasTranslucentPixels() const {
  if (Empty()) return false;
  TvdSkinPixels pixels = vdSkinPngDecode(bytes_);
  for (size_t i = 3; i < pixels.Rgba.size(); i += 4)
    if (pixels.Rgba[i] != 255) return true;
  return false;
}
