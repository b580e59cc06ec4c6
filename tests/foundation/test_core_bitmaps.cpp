// The core services' bitmap pixel helpers over real DIB sections.
#include <gtest/gtest.h>

#include "foundation/vdCore.h"
#include "platform/ui/Graphics.h"

namespace {

TEST(CoreBitmaps, PixelsTravelInBothOrientations) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(3, 2);
  EXPECT_EQ(vdBitsPerPixelOf(bitmap), 32);
  std::vector<RGBQUAD> pixels(6, RGBQUAD{1, 2, 3, 0});
  pixels[0] = vdColorToRGBQuad(0x0000FF, 0);  // red, top-left when top-down
  ASSERT_TRUE(vdPutBitmapPixelArray(bitmap, pixels, true));
  EXPECT_FALSE(vdBitmapHasAlpha(bitmap));

  std::vector<RGBQUAD> bottomUp;
  ASSERT_TRUE(vdGetBitmapPixelArray(bitmap, bottomUp, false));
  ASSERT_EQ(bottomUp.size(), 6u);
  EXPECT_EQ(bottomUp[3].rgbRed, 255);  // the top row comes last
  EXPECT_EQ(bottomUp[3].rgbBlue, 0);
  std::vector<RGBQUAD> lines;
  vdCopyScanlinesToPixelArray(bitmap, lines);
  EXPECT_EQ(lines[0].rgbRed, 255);

  pixels[5].rgbReserved = 0x80;
  ASSERT_TRUE(vdPutBitmapPixelArray(bitmap, pixels, true));
  EXPECT_TRUE(vdBitmapHasAlpha(bitmap));
  // An array of the wrong size is refused, not read past its end.
  EXPECT_FALSE(vdPutBitmapPixelArray(bitmap, std::vector<RGBQUAD>(5), true));
}

TEST(CoreBitmaps, FormatsAndEmptyBitmaps) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  EXPECT_EQ(vdBitsPerPixelOf(bitmap), 24);
  EXPECT_FALSE(vdBitmapHasAlpha(bitmap));
  bitmap.SetPixelFormat(pf15bit);
  EXPECT_EQ(vdBitsPerPixelOf(bitmap), 16);
  TBitmap empty;
  std::vector<RGBQUAD> pixels;
  EXPECT_FALSE(vdGetBitmapPixelArray(empty, pixels, true));
  EXPECT_TRUE(pixels.empty());
  BITMAPINFOHEADER header;
  vdInitBitmapInfoHeader(header, 4, 5, true);
  EXPECT_EQ(header.biHeight, -5);
  EXPECT_EQ(header.biBitCount, 32);
  EXPECT_EQ(header.biSize, 40u);
  const RGBQUAD face = vdColorToRGBQuad(clBtnFace, 9);
  EXPECT_EQ(RGB(face.rgbRed, face.rgbGreen, face.rgbBlue), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(face.rgbReserved, 9);
}

}  // namespace
