// PNG encoding and decoding on the host, through libpng: the skin generator
// draws its pictures as RGBA pixels and the host skin model compares them.
#pragma once

#include <cstdint>
#include <vector>

// Pixels are 8-bit R, G, B, A, rows top to bottom, not premultiplied.
struct TvdSkinPixels {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Rgba;
};

// Raises EvdSkin with the decoder's complaint on a damaged file.
TvdSkinPixels vdSkinPngDecode(const std::vector<uint8_t>& png);
std::vector<uint8_t> vdSkinPngEncode(const TvdSkinPixels& pixels);
