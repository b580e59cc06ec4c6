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

namespace {

// What the device itself says: GDI+ draws through a 32-bit buffer on it.
bool DeviceAsksForBuffer(HDC dc) {
  return GetDeviceCaps(dc, BITSPIXEL) < 17 || GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER ||
         GetDeviceCaps(dc, NUMCOLORS) > 1;
}

// A memory DC holding a DIB section of that depth.
struct TMemoryDevice {
  explicit TMemoryDevice(WORD bits) : dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~TMemoryDevice() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

}  // namespace

// The display's answer is kept, and every device still gets its own: the
// screen, a window, memory DCs of a 16- and a 32-bit bitmap, asked twice
// each in turns.
TEST_F(GdiPlusImages, DoubleBufferAnswerIsEachDevicesOwn) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  HDC screen = GetDC(nullptr);
  HDC windowDC = GetDC(window);
  TMemoryDevice deep(32), shallow(16);
  for (int round = 0; round < 2; ++round)
    for (HDC dc : {screen, windowDC, shallow.dc, deep.dc}) EXPECT_EQ(vdGpNeedsDoubleBuffer(dc), DeviceAsksForBuffer(dc));
  EXPECT_TRUE(vdGpDisplayAnswerKept());
  ReleaseDC(window, windowDC);
  ReleaseDC(nullptr, screen);
  DestroyWindow(window);
}

// A new display mode may bring another depth or a palette: the kept answer
// goes when the display change is announced, and the next question asks the
// display again. The listener is a top-level window, as broadcasts reach
// only those.
TEST_F(GdiPlusImages, DisplayModeChangeDropsTheKeptAnswer) {
  HDC screen = GetDC(nullptr);
  const bool first = vdGpNeedsDoubleBuffer(screen);
  HWND listener = vdGpDisplayChangeListener();
  ASSERT_NE(listener, nullptr);
  EXPECT_EQ(GetAncestor(listener, GA_PARENT), GetDesktopWindow());
  ASSERT_TRUE(vdGpDisplayAnswerKept());

  SendMessageA(listener, WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600));
  EXPECT_FALSE(vdGpDisplayAnswerKept());
  EXPECT_EQ(vdGpNeedsDoubleBuffer(screen), first);
  EXPECT_TRUE(vdGpDisplayAnswerKept());
  EXPECT_EQ(vdGpDisplayChangeListener(), listener);
  ReleaseDC(nullptr, screen);
}
