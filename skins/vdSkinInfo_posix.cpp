// The placeholder picture of the host build, drawn pixel by pixel and
// encoded with libpng.
#include "skins/vdSkinInfo.h"
#include "skins/vdSkinPng.h"

TvdSkinPicture vdSkinRedCrossPicture() {
  static const TvdSkinPicture cross = [] {
    constexpr int kSize = 32;
    TvdSkinPixels pixels;
    pixels.Width = pixels.Height = kSize;
    // On the white of a new platform bitmap.
    pixels.Rgba.assign(size_t(kSize * kSize * 4), 255);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        // Two diagonals, each two pixels wide, as a pen of width 2 draws them.
        bool onCross = x - y == 0 || x - y == 1 || x + y == kSize - 1 || x + y == kSize;
        if (!onCross) continue;
        uint8_t* p = &pixels.Rgba[size_t((y * kSize + x) * 4)];
        p[0] = 255;
        p[1] = p[2] = 0;
      }
    TvdSkinPicture picture;
    picture.LoadFromBytes(vdSkinPngEncode(pixels));
    return picture;
  }();
  return cross;
}
