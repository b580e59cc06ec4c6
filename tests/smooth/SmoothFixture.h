// What the smooth-control tests draw into and read back: a 32-bit ARGB
// GDI+ bitmap (for alpha) and a white GDI DIB section (for what a window
// shows), and small pixel comparisons with a tolerance for anti-aliasing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/TestSupport.h"

#include "smooth/LuxGDIPWrappers.h"

struct TArgbCanvas {
  TArgbCanvas(int width, int height)
      : bitmap(width, height, kPixelFormat32bppARGB), graphics(&bitmap) {
    graphics.Clear(0);
  }
  ARGB Pixel(int x, int y) {
    ARGB c = 0;
    bitmap.GetPixel(x, y, c);
    return c;
  }
  TGPBitmap bitmap;
  TGPGraphics graphics;
};

struct TDibCanvas {
  TDibCanvas(int width, int height) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
  }
  // As an opaque ARGB value.
  ARGB Pixel(int x, int y) {
    GdiFlush();
    const uint32_t bgra = static_cast<uint32_t*>(bitmap.ScanLine(y))[x];
    return 0xFF000000u | (bgra & 0xFFFFFF);
  }
  HDC DC() { return bitmap.Canvas()->Handle(); }
  TBitmap bitmap;
};

inline bool Near(ARGB a, ARGB b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

inline ::testing::AssertionResult PixelNear(ARGB actual, ARGB expected, int tolerance) {
  if (Near(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  char text[80];
  std::snprintf(text, sizeof text, "pixel %08lX, expected %08lX within %d", (unsigned long)actual,
                (unsigned long)expected, tolerance);
  return ::testing::AssertionFailure() << text;
}

// GDI+ text falls back to "Arial", which Wine does not have. When GDI+
// does not know it, a test of the fall-back runs again in a child of this
// program, started with Arial replaced by its metric twin Liberation Sans
// (Wine reads font replacements when a process starts). Returns true where
// the test's body should run: at once, or in that child.
inline bool ArialReady(const std::string& testFilter) {
  if (std::getenv("QE_SMOOTH_ARIAL")) return true;
  {
    TGPFontFamily arial("Arial");
    if (arial.LastStatus() == GdipOk) return true;
  }
  HKEY key;
  const char* path = "Software\\Wine\\Fonts\\Replacements";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    ADD_FAILURE() << "no font replacement key";
    return false;
  }
  const char twin[] = "Liberation Sans";
  RegSetValueExA(key, "Arial", 0, REG_SZ, reinterpret_cast<const BYTE*>(twin), sizeof twin);
  EXPECT_EQ(testing_support::RunSelf(testFilter, {"QE_SMOOTH_ARIAL=1"}), 0);
  RegDeleteValueA(key, "Arial");
  RegCloseKey(key);
  return false;
}
