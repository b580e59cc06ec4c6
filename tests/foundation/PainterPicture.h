// A 32-bit picture with a library canvas over it, for the drawing tests of
// the canvas, the colour schemes and the painters: draw through the canvas
// or its DC, read device pixels back (whatever the DC's origin and clip).
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
  TvxCanvas* Canvas() { return canvas.get(); }
  HDC DC() { return canvas->DeviceContext(); }
  int Width() const { return bitmap.Width(); }
  int Height() const { return bitmap.Height(); }
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
  int CountIn(const TRect& r, COLORREF color) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += At(x, y) == color;
    return n;
  }
  int Count(COLORREF color) { return CountIn({0, 0, Width(), Height()}, color); }
  bool SameAs(TPainterPicture& other) {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (At(x, y) != other.At(x, y)) return false;
    return true;
  }
  bool HasClip() {
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetClipRgn(DC(), probe) == 1;
    DeleteObject(probe);
    return has;
  }
};
