// A 32-bit picture with a library canvas over it, for the drawing tests of
// the colour schemes and the painters: draw through the canvas or its DC,
// read device pixels back.
#pragma once

#include <windows.h>

#include <memory>

#include "foundation/vxGraphics.h"

struct TPainterPicture {
  TBitmap bitmap;
  std::unique_ptr<TvxCanvas> canvas;

  TPainterPicture(int width, int height, COLORREF fill = RGB(255, 255, 255)) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    canvas = std::make_unique<TvxCanvas>(bitmap.Canvas());
    Fill(fill);
  }
  HDC DC() { return canvas->DeviceContext(); }
  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, bitmap.Width(), bitmap.Height()};
    FillRect(DC(), &all, brush);
    DeleteObject(brush);
  }
  COLORREF At(int x, int y) {
    GdiFlush();
    const uint32_t bgra = static_cast<const uint32_t*>(bitmap.ScanLine(y))[x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }
  int Count(COLORREF color) {
    int n = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) n += At(x, y) == color;
    return n;
  }
};
