// The picture of a skin image, kept as the bytes of its PNG file.
//
// Loading checks the PNG signature and header chunk and takes the size from
// it; pixels are decoded only when a comparison or the translucency test
// needs them. The skin stream writes the bytes back unchanged, so a skin
// saved after loading carries the very pictures it was read with. The pixel
// decoder is the host's libpng; the Windows build compares the files byte
// for byte until the windowed picture class decodes them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Streams.h"

#ifdef _WIN32
class TvdPNGImage;
class TvdSkinPictureParts;
#endif

class TvdSkinPicture {
 public:
  bool Empty() const { return bytes_.empty(); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  // Reads the whole of source from its current position. Raises EvdSkin
  // when the bytes are not a PNG file; the picture is then unchanged.
  void LoadFromStream(TStream& source);
  void LoadFromBytes(std::vector<uint8_t> bytes);
  void SaveToStream(TStream& dest) const;
  void Clear();

  // Same size and the same pixels.
  bool SameImageAs(const TvdSkinPicture& other) const;
  // Some pixel is not wholly opaque.
  bool HasTranslucentPixels() const;

#ifdef _WIN32
  // The decoded picture, decoded on first use and shared by copies; nil for
  // an empty picture.
  TvdPNGImage* Image() const;
  // What the element drawing keeps of the decoded picture (shared by
  // copies, dropped with the bytes).
  std::shared_ptr<TvdSkinPictureParts>& DrawingParts() const { return parts_; }
#endif

 private:
  std::vector<uint8_t> bytes_;
  int32_t width_ = 0;
  int32_t height_ = 0;
#ifdef _WIN32
  mutable std::shared_ptr<TvdPNGImage> image_;
  mutable std::shared_ptr<TvdSkinPictureParts> parts_;
#endif
};

// Width and height from the header chunk of a PNG file; false when the bytes
// do not start with a PNG signature and a well-formed header chunk.
bool vdSkinPngReadSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height);
