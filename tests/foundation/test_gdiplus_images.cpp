// GDI+ images and the PNG graphic under Wine's GDI+.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vxGraphicsBitmaps.h"

namespace {

class GdiPlusImages : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    vdGDIPlusAPIInitialize();
    vdPNGImageRegister();
  }
  static void TearDownTestSuite() {
    vdPNGImageUnregister();
    vdGDIPlusAPIFinalize();
  }
};

uint32_t PixelAt(TBitmap& bitmap, int x, int y) { return static_cast<uint32_t*>(bitmap.ScanLine(y))[x]; }

// A 16 x 16 premultiplied picture: red left half, half-transparent blue
// right half.
std::unique_ptr<TvdGPImage> TwoHalves() {
  std::vector<uint32_t> pixels(256);
  for (int i = 0; i < 256; ++i) pixels[size_t(i)] = (i % 16) < 8 ? 0xFFFF0000 : 0x80000080;
  return TvdGPImage::CreateFromPixels(16, 16, pixels, true);
}

}  // namespace

TEST_F(GdiPlusImages, PngSavedAndLoadedIsTheSameImage) {
  ASSERT_TRUE(vdGpIsLibraryAvailable());
  TvdPNGImage png;
  png.ReplaceImage(TwoHalves());
  EXPECT_EQ(png.Width(), 16);
  EXPECT_TRUE(png.HasTranslucentPixels());
  TMemoryStream stream;
  png.SaveToStream(stream);
  ASSERT_GT(stream.Size(), 8);
  EXPECT_EQ(std::memcmp(stream.Memory(), "\x89PNG", 4), 0);
  stream.SetPosition(0);
  TvdPNGImage loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Height(), 16);
  EXPECT_TRUE(loaded.SameImageAs(&png));

  // One alpha byte apart is another image.
  std::vector<uint32_t> pixels = png.Image()->Pixels();
  pixels[5] = 0xFEFE0000;
  TvdPNGImage other;
  other.ReplaceImage(TvdGPImage::CreateFromPixels(16, 16, pixels, true));
  EXPECT_FALSE(other.SameImageAs(&png));
  TvdPNGImage empty1, empty2;
  EXPECT_TRUE(empty1.SameImageAs(&empty2));
}

TEST_F(GdiPlusImages, ShortStreamsGiveEmptyImagesAndBitmapsLoadOpaque) {
  TMemoryStream shortStream;
  shortStream.WriteBuffer("\x89PNG\r\n\x1a\n12345", 13);
  shortStream.SetPosition(0);
  TvdPNGImage png;
  png.LoadFromStream(shortStream);
  EXPECT_TRUE(png.Empty());
  EXPECT_EQ(png.Width(), 0);

  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(3, 2);
  bitmap.Canvas()->Brush()->SetColor(RGBColor(10, 20, 30));
  bitmap.Canvas()->FillRect(TRect(0, 0, 3, 2));
  TMemoryStream bmp;
  bitmap.SaveToStream(bmp);
  bmp.SetPosition(0);
  png.LoadFromStream(bmp);
  ASSERT_EQ(png.Width(), 3);
  EXPECT_FALSE(png.HasTranslucentPixels());
  EXPECT_EQ(png.Image()->Pixels()[0], 0xFF0A141Eu);
}

TEST_F(GdiPlusImages, AlphaScalesThroughTheColourMatrix) {
  TvdPNGImage png;
  png.ReplaceImage(TwoHalves());
  auto draw = [&](uint8_t alpha) {
    TvxBitmap32 dest(16, 16);
    dest.Canvas()->Brush()->SetColor(clWhite);
    dest.Canvas()->FillRect(TRect(0, 0, 16, 16));
    TvdGPGraphics graphics(dest.Canvas()->Handle());
    png.Image()->DrawTo(graphics.Handle(), TRect(0, 0, 16, 16), alpha, TRect(0, 0, 16, 16));
    graphics.ReleaseHandle();
    return PixelAt(dest, 3, 3) & 0xFFFFFF;
  };
  EXPECT_EQ(draw(255), 0xFF0000u);
  // Red at alpha 128/255 over white: green and blue 255 * 127/255.
  const uint32_t half = draw(128);
  EXPECT_GE((half >> 16) & 0xFF, 0xFDu);
  EXPECT_NEAR(int((half >> 8) & 0xFF), 127, 3);
}

TEST_F(GdiPlusImages, TilingByTextureAndByDrawingAgree) {
  // A 16 x 16 picture with a marked corner, tiled over 40 x 40 at (4, 4).
  std::vector<uint32_t> pixels(256, 0xFF00FF00);
  pixels[0] = 0xFFFF0000;
  std::unique_ptr<TvdGPImage> image = TvdGPImage::CreateFromPixels(16, 16, pixels, true);
  auto tile = [&](bool texture) {
    auto dest = std::make_unique<TvxBitmap32>(48, 48);
    dest->Canvas()->Brush()->SetColor(clWhite);
    dest->Canvas()->FillRect(TRect(0, 0, 48, 48));
    TvdGPGraphics graphics(dest->Canvas()->Handle());
    const TRect area(4, 4, 44, 44), source(0, 0, 16, 16);
    if (texture)
      EXPECT_TRUE(vdGpTileByTexture(graphics.Handle(), area, source, image->Handle()));
    else
      vdGpTileByDrawing(graphics.Handle(), area, source, image->Handle());
    graphics.ReleaseHandle();
    return dest;
  };
  for (bool texture : {true, false}) {
    SCOPED_TRACE(texture ? "texture" : "drawing");
    auto dest = tile(texture);
    for (int cell : {4, 20, 36}) {
      EXPECT_EQ(PixelAt(*dest, cell, cell) & 0xFFFFFF, 0xFF0000u) << "corner of the tile at " << cell;
      EXPECT_EQ(PixelAt(*dest, cell + 1, cell) & 0xFFFFFF, 0x00FF00u);
    }
    EXPECT_EQ(PixelAt(*dest, 43, 43) & 0xFFFFFF, 0x00FF00u);  // the last tile cut at 8
    EXPECT_EQ(PixelAt(*dest, 44, 44) & 0xFFFFFF, 0xFFFFFFu);  // nothing past the area
    EXPECT_EQ(PixelAt(*dest, 3, 3) & 0xFFFFFF, 0xFFFFFFu);
  }
}

TEST_F(GdiPlusImages, RegisteredForTheExtension) {
  EXPECT_TRUE(bool(TPicture::FindFileFormat("png")));
  std::unique_ptr<TvdGPImage> image = TwoHalves();
  std::unique_ptr<TBitmap> bitmap = image->ToBitmap();
  EXPECT_EQ(bitmap->Width(), 16);
  EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(PixelAt(*bitmap, 1, 1), 0xFFFF0000u);
}
