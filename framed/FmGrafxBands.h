// The pixels of a two-colour gradient in one of ten directions. Portable:
// the windowed part copies them into a bitmap and draws it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framed/FmCommonTypes.h"

// A width x height picture, row by row from the top, each pixel 0x00BBGGRR.
struct TGradientPixels {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
};

// start and stop are RGB. colorCount sets the shortest band: 1 makes a band
// end exactly where the stepped colour changes.
TGradientPixels RenderTwoColorGradient(int width, int height, TGradientDirection direction, uint32_t start,
                                       uint32_t stop, uint8_t colorCount);
