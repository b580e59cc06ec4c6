// The bitmap pixel helpers of the core services.
#include <algorithm>
#include <cstring>

#include "foundation/vdCore.h"
#include "platform/ui/Graphics.h"

RGBQUAD vdColorToRGBQuad(int32_t color, uint8_t alpha) {
  const COLORREF rgb = ColorToRGB(color);
  return RGBQUAD{GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), alpha};
}

int vdBitsPerPixelOf(TBitmap& bitmap) {
  switch (bitmap.PixelFormat()) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return GetDeviceCaps(bitmap.Canvas()->Handle(), BITSPIXEL);
  }
}

void vdInitBitmapInfoHeader(BITMAPINFOHEADER& header, int width, int height, bool topDown) {
  std::memset(&header, 0, sizeof header);
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = topDown ? -height : height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
}

void vdInitBitmapInfoHeaderFor(BITMAPINFOHEADER& header, TBitmap& bitmap, bool topDown) {
  vdInitBitmapInfoHeader(header, bitmap.Width(), bitmap.Height(), topDown);
}

namespace {

// GetDIBits or SetDIBits over all scan lines, through a screen-compatible DC.
bool TransferPixels(TBitmap& bitmap, RGBQUAD* pixels, bool topDown, bool read) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return false;
  BITMAPINFO info{};
  vdInitBitmapInfoHeaderFor(info.bmiHeader, bitmap, topDown);
  HDC dc = CreateCompatibleDC(nullptr);
  const UINT lines = UINT(bitmap.Height());
  const int done = read ? GetDIBits(dc, bitmap.Handle(), 0, lines, pixels, &info, DIB_RGB_COLORS)
                        : SetDIBits(dc, bitmap.Handle(), 0, lines, pixels, &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  return done != 0;
}

}  // namespace

bool vdReadBitmapPixels(TBitmap& bitmap, RGBQUAD* pixels, bool topDown) {
  return TransferPixels(bitmap, pixels, topDown, true);
}

bool vdWriteBitmapPixels(TBitmap& bitmap, const RGBQUAD* pixels, bool topDown) {
  return TransferPixels(bitmap, const_cast<RGBQUAD*>(pixels), topDown, false);
}

bool vdGetBitmapPixelArray(TBitmap& bitmap, std::vector<RGBQUAD>& pixels, bool topDown) {
  pixels.assign(size_t(std::max(bitmap.Width(), 0)) * size_t(std::max(bitmap.Height(), 0)), RGBQUAD{});
  return vdReadBitmapPixels(bitmap, pixels.data(), topDown);
}

bool vdPutBitmapPixelArray(TBitmap& bitmap, const std::vector<RGBQUAD>& pixels, bool topDown) {
  // A short array would be read past its end.
  if (pixels.size() != size_t(std::max(bitmap.Width(), 0)) * size_t(std::max(bitmap.Height(), 0))) return false;
  return vdWriteBitmapPixels(bitmap, pixels.data(), topDown);
}

void vdCopyScanlinesToPixelArray(TBitmap& bitmap, std::vector<RGBQUAD>& pixels) {
  if (bitmap.PixelFormat() != pf32bit) return;
  const size_t width = size_t(bitmap.Width()), height = size_t(bitmap.Height());
  if (pixels.size() != width * height) pixels.resize(width * height);
  for (size_t y = 0; y < height; ++y)
    std::memcpy(pixels.data() + y * width, bitmap.ScanLine(int(y)), width * sizeof(RGBQUAD));
}

bool vdBitmapHasAlpha(TBitmap& bitmap) {
  if (vdBitsPerPixelOf(bitmap) < 32) return false;
  std::vector<RGBQUAD> pixels;
  if (!vdGetBitmapPixelArray(bitmap, pixels, false)) return false;
  for (const RGBQUAD& p : pixels)
    if (p.rgbReserved != 0) return true;
  return false;
}
