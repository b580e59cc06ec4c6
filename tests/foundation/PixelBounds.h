// The smallest rectangle around the pixels of a picture that pass a test:
// drawing tests find where a colour landed with it.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"

// Empty when no pixel passes.
template <typename Test>
TRect PixelBounds(int width, int height, Test passes) {
  TRect r(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (passes(x, y)) {
        if (x < r.Left) r.Left = x;
        if (y < r.Top) r.Top = y;
        if (x + 1 > r.Right) r.Right = x + 1;
        if (y + 1 > r.Bottom) r.Bottom = y + 1;
      }
  return r.Left == INT32_MAX ? TRect() : r;
}
