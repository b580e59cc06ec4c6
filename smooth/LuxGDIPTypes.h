// The plain records and numbers that the smooth controls share with GDI+:
// float rectangles and points, ARGB colours and pixel-format fields. No
// system header: the fill's geometry uses them on every platform.
#pragma once

#include <cstdint>

struct TGPPointF {
  float X = 0, Y = 0;
  TGPPointF() = default;
  TGPPointF(float x, float y) : X(x), Y(y) {}
};

struct TGPRectF {
  float X = 0, Y = 0, Width = 0, Height = 0;
  TGPRectF() = default;
  TGPRectF(float x, float y, float width, float height) : X(x), Y(y), Width(width), Height(height) {}
  bool operator==(const TGPRectF&) const = default;
};

// Alpha in the top byte, then red, green and blue.
using ARGB = uint32_t;

constexpr ARGB ComposeARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return ARGB(a) << 24 | ARGB(r) << 16 | ARGB(g) << 8 | b;
}
constexpr ARGB OpaqueARGB(uint8_t r, uint8_t g, uint8_t b) { return ComposeARGB(255, r, g, b); }
constexpr uint8_t ARGBAlpha(ARGB c) { return uint8_t(c >> 24); }
constexpr uint8_t ARGBRed(ARGB c) { return uint8_t(c >> 16); }
constexpr uint8_t ARGBGreen(ARGB c) { return uint8_t(c >> 8); }
constexpr uint8_t ARGBBlue(ARGB c) { return uint8_t(c); }

// Fields of a GDI+ pixel-format value.
constexpr int PixelFormatBitsPerPixel(int32_t format) { return (format >> 8) & 0xFF; }
constexpr bool PixelFormatHasAlpha(int32_t format) { return (format & 0x40000) != 0; }
constexpr bool PixelFormatIsIndexed(int32_t format) { return (format & 0x10000) != 0; }
