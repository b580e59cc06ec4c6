#include "foundation/vxGraphicsText.h"

#include <cassert>
#include <cstddef>
#include <utility>

uint32_t vxTextFlagsToDrawTextFlags(TvxTextFlags flags) {
  uint32_t out = vxdt::NoPrefix;
  switch (flags & vxtfHorzAlignMask) {
    case vxtfAlignRight: out |= vxdt::Right; break;
    case vxtfAlignHCenter: out |= vxdt::Center; break;
    default: break;
  }
  switch (flags & vxtfVertAlignMask) {
    case vxtfAlignBottom: out |= vxdt::Bottom; break;
    case vxtfAlignVCenter: out |= vxdt::VCenter; break;
    default: break;
  }
  if (flags & vxtfSingleLine) out |= vxdt::SingleLine;
  if (flags & vxtfNoClip) out |= vxdt::NoClip;
  if (flags & vxtfExpandTabs) out |= vxdt::ExpandTabs;
  if (flags & vxtfShowPrefix) out &= ~vxdt::NoPrefix;
  if (flags & vxtfWordBreak) {
    out |= vxdt::WordBreak;
    // An edit control's breaking splits a word too long for a line; a caller
    // that wants whole words asks for no breaking inside them.
    if (!(flags & vxtfDontBreakChars))
      out |= vxdt::EditControl;
    else if (flags & vxtfNoFullWidthCharBreak)
      out |= vxdt::NoFullWidthCharBreak;
  }
  if (flags & vxtfEndEllipsis) out |= vxdt::EndEllipsis;
  if (flags & vxtfCalcRect) out |= vxdt::CalcRect;
  if (flags & vxtfPathEllipsis) out |= vxdt::PathEllipsis;
  return out;
}

TvxPixelPlace vxRotatedPixelPlace(int x, int y, int width, int height, TvxRotation rotation, bool flipVertically) {
  const int w = width, h = height;
  switch (rotation) {
    case raPlus90: return flipVertically ? TvxPixelPlace{y, x} : TvxPixelPlace{y, w - 1 - x};
    case raMinus90: return flipVertically ? TvxPixelPlace{h - 1 - y, w - 1 - x} : TvxPixelPlace{h - 1 - y, x};
    case ra180: return flipVertically ? TvxPixelPlace{w - 1 - x, y} : TvxPixelPlace{w - 1 - x, h - 1 - y};
    case raNone: break;
  }
  return flipVertically ? TvxPixelPlace{x, h - 1 - y} : TvxPixelPlace{x, y};
}

std::vector<uint32_t> vxRotatePixels(const std::vector<uint32_t>& pixels, int& width, int& height,
                                     TvxRotation rotation, bool flipVertically) {
  assert(width >= 0 && height >= 0 && pixels.size() == size_t(width) * size_t(height));
  const bool quarter = rotation == raPlus90 || rotation == raMinus90;
  const int outWidth = quarter ? height : width;
  std::vector<uint32_t> out(pixels.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TvxPixelPlace p = vxRotatedPixelPlace(x, y, width, height, rotation, flipVertically);
      out[size_t(p.Y) * size_t(outWidth) + size_t(p.X)] = pixels[size_t(y) * size_t(width) + size_t(x)];
    }
  if (quarter) std::swap(width, height);
  return out;
}
