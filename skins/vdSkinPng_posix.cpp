// PNG through libpng's simplified API: every colour type in, RGBA out.
#include "skins/vdSkinPng.h"

#include <png.h>

#include "skins/vdSkinsCore.h"

namespace {

constexpr uint64_t kMaxPixels = 16u << 20;

}  // namespace

TvdSkinPixels vdSkinPngDecode(const std::vector<uint8_t>& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
    throw EvdSkin(String("PNG picture: ") + image.message);
  // The size comes from the file: refuse what no skin picture needs.
  if (uint64_t(image.width) * image.height > kMaxPixels) {
    png_image_free(&image);
    throw EvdSkin("PNG picture: too large");
  }
  image.format = PNG_FORMAT_RGBA;
  TvdSkinPixels pixels;
  pixels.Width = int32_t(image.width);
  pixels.Height = int32_t(image.height);
  pixels.Rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.Rgba.data(), 0, nullptr)) {
    String message = String("PNG picture: ") + image.message;
    png_image_free(&image);
    throw EvdSkin(message);
  }
  return pixels;
}

// A picture whose pixels are all opaque is written without an alpha channel:
// readers that judge translucency from the file's colour type (the Windows
// build does) then see it right, and the file is smaller.
std::vector<uint8_t> vdSkinPngEncode(const TvdSkinPixels& pixels) {
  bool opaque = true;
  for (size_t i = 3; i < pixels.Rgba.size() && opaque; i += 4) opaque = pixels.Rgba[i] == 255;
  std::vector<uint8_t> rgb;
  if (opaque) {
    rgb.reserve(pixels.Rgba.size() / 4 * 3);
    for (size_t i = 0; i + 3 < pixels.Rgba.size(); i += 4) rgb.insert(rgb.end(), &pixels.Rgba[i], &pixels.Rgba[i + 3]);
  }
  const uint8_t* source = opaque ? rgb.data() : pixels.Rgba.data();
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(pixels.Width);
  image.height = png_uint_32(pixels.Height);
  image.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, source, 0, nullptr))
    throw EvdSkin(String("PNG encoder: ") + image.message);
  std::vector<uint8_t> png(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, source, 0, nullptr))
    throw EvdSkin(String("PNG encoder: ") + image.message);
  png.resize(size);
  return png;
}
