// The library's bitmaps and the glyph renderer under Wine, drawn into DIB
// sections and probed pixel by pixel, with the system colours pinned.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/vdCore.h"
#include "foundation/vxGraphicsBitmaps.h"
#include "foundation/vxGraphicsBlend.h"
#include "platform/FormStreams.h"

namespace {

constexpr TColor kShadow = RGBColor(128, 128, 128), kHighlight = RGBColor(255, 255, 255);

class PinnedColors {
 public:
  PinnedColors() {
    const int indices[] = {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    const COLORREF colors[] = {COLORREF(kShadow), COLORREF(kHighlight)};
    for (int i : indices) saved_.push_back(GetSysColor(i));
    SetSysColors(2, indices, colors);
  }
  ~PinnedColors() {
    const int indices[] = {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    SetSysColors(2, indices, saved_.data());
  }

 private:
  std::vector<COLORREF> saved_;
};

// The pixel at (x, y) from the top, as 0xAARRGGBB.
uint32_t PixelAt(TBitmap& bitmap, int x, int y) {
  return static_cast<uint32_t*>(bitmap.ScanLine(y))[x];
}

void ExpectNear(uint32_t pixel, uint32_t rgb, int tolerance, const char* what) {
  for (int shift : {0, 8, 16}) {
    const int got = int((pixel >> shift) & 0xFF), want = int((rgb >> shift) & 0xFF);
    EXPECT_LE(std::abs(got - want), tolerance) << what << std::hex << ": pixel " << pixel << " want " << rgb;
  }
}

void Fill(TBitmap& bitmap, const TRect& r, TColor color) {
  bitmap.Canvas()->Brush()->SetColor(color);
  bitmap.Canvas()->FillRect(r);
}

std::vector<RGBQUAD> PixelsOf(TBitmap& bitmap) {
  std::vector<RGBQUAD> pixels;
  vdGetBitmapPixelArray(bitmap, pixels, true);
  return pixels;
}

bool SamePixels(TBitmap& a, TBitmap& b) {
  const std::vector<RGBQUAD> pa = PixelsOf(a), pb = PixelsOf(b);
  return pa.size() == pb.size() && std::memcmp(pa.data(), pb.data(), pa.size() * sizeof(RGBQUAD)) == 0;
}

}  // namespace

TEST(VxBitmap, SizesAndChangeBatching) {
  TvxBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TObject*) { ++changes; };
  bitmap.SetSize(-3, 5);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 5);
  EXPECT_EQ(changes, 1);
  bitmap.SetSize(0, 5);
  EXPECT_EQ(changes, 1);

  bitmap.LockChanges();
  bitmap.LockChanges();
  bitmap.SetSize(4, 4);
  bitmap.SetPixelFormat(pf32bit);
  bitmap.UnlockChanges();
  EXPECT_EQ(changes, 1);
  bitmap.UnlockChanges();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(bitmap.GetFullRect(), TRect(0, 0, 4, 4));
}

TEST(VxBitmap, ThirtyTwoBitBitmapsRefuseOtherFormats) {
  TvxBitmap32 bitmap(4, 4);
  try {
    bitmap.SetPixelFormat(pf24bit);
    FAIL() << "no error";
  } catch (const EvdException& e) {
    EXPECT_EQ(e.Message(), "Wrong PixelFormat");
  }
}

TEST(VxBitmap, DataRoundTripsPackedAndPlain) {
  struct Case {
    TPixelFormat format;
    bool compress;
  };
  for (const Case c : {Case{pf24bit, true}, Case{pf24bit, false}, Case{pf32bit, true}, Case{pf8bit, true},
                       Case{pf16bit, true}}) {
    SCOPED_TRACE(testing::Message() << "format " << c.format << " compress " << c.compress);
    TvxBitmap source(37, 11, c.format);
    Fill(source, TRect(0, 0, 37, 11), clWhite);
    Fill(source, TRect(3, 2, 20, 9), clRed);
    source.Canvas()->SetPixel(30, 5, clBlue);
    source.SetCompressData(c.compress);
    TMemoryStream stream;
    source.WriteData(stream);
    const bool packed = std::memcmp(stream.Memory() + 4, "XDBM", 4) == 0;
    EXPECT_EQ(packed, c.compress);
    if (c.compress && c.format == pf24bit) {
      EXPECT_LT(stream.Size(), 37 * 11 * 3 / 2);
    }
    stream.SetPosition(0);
    TvxBitmap copy;
    copy.ReadData(stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(copy.Width(), 37);
    EXPECT_EQ(copy.PixelFormat(), source.PixelFormat());
    EXPECT_TRUE(SamePixels(copy, source));
  }
}

TEST(VxBitmap, DataTravelsInFormStreams) {
  vxRegisterBitmapClasses();
  TvxBitmap source(5, 3);
  Fill(source, TRect(0, 0, 5, 3), clLime);
  source.SetCompressData(true);
  TMemoryStream stream;
  TWriter writer(stream);
  TvxBitmapClass()->DefineProperties(source, writer);
  EXPECT_GT(stream.Size(), 10);
}

TEST(AlphaBitmap, OffsetShapeDrawsBehindTheGlyph) {
  PinnedColors pinned;
  // A 4 x 4 opaque square at (1, 1) of an 8 x 8 glyph; the mask is white
  // around it.
  TvxAlphaBitmap glyph(8, 8, true);
  TvxAlphaBitmap mask(8, 8);
  std::vector<uint32_t> maskPixels(64, 0xFFFFFFFF);
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 5; ++x) maskPixels[size_t((7 - y) * 8 + x)] = 0;  // rows bottom-up
  mask.WritePixels(maskPixels);
  Fill(glyph, TRect(1, 1, 5, 5), clRed);
  glyph.ApplyPixelOperation(vxpoOpaque);
  glyph.ClearMaskedPixels(&mask);
  glyph.DrawOffsetShape(&mask, 2, clBtnShadow, true);
  ASSERT_EQ(glyph.Width(), 10);
  EXPECT_EQ(PixelAt(glyph, 2, 2), 0xFFFF0000u);  // the glyph itself
  EXPECT_EQ(PixelAt(glyph, 6, 6), 0xFF808080u);  // its shadow, 2 down and right
  EXPECT_EQ(PixelAt(glyph, 6, 2), 0x00000000u);  // the shadow's left column starts at 3
  EXPECT_EQ(PixelAt(glyph, 3, 6), 0xFF808080u);
  EXPECT_EQ(PixelAt(glyph, 0, 0), 0x00000000u);
}

namespace {

// A 16 x 16 white destination; an 8 x 8 glyph with a 4 x 4 red square at
// (2, 2), drawn at (4, 4).
struct GlyphScene {
  TvxBitmap32 dest{16, 16};
  TRect glyphRect{4, 4, 12, 12};

  GlyphScene() { Fill(dest, TRect(0, 0, 16, 16), clWhite); }

  void DrawOpaque(int mode) {
    TvxBitmap glyph(8, 8, pf24bit);
    Fill(glyph, TRect(0, 0, 8, 8), clFuchsia);
    Fill(glyph, TRect(2, 2, 6, 6), clRed);
    vxDrawGlyphOrImage(dest.Canvas()->Handle(), glyphRect, dest.GetFullRect(), false, clFuchsia, nullptr, false,
                       mode, -1, nullptr, &glyph);
  }

  void DrawWithAlpha(int mode) {
    TvxBitmap32 glyph(8, 8, true);
    std::vector<uint32_t> pixels(64, 0);
    for (int y = 2; y < 6; ++y)
      for (int x = 2; x < 6; ++x) pixels[size_t(y * 8 + x)] = 0xFFFF0000;
    glyph.WritePixels(pixels);
    vxDrawGlyphOrImage(dest.Canvas()->Handle(), glyphRect, dest.GetFullRect(), false, clNone, nullptr, false, mode,
                       -1, nullptr, &glyph);
  }
};

}  // namespace

TEST(GlyphModes, OpaqueGlyphs) {
  PinnedColors pinned;
  struct Case {
    int mode;
    TPoint probe;
    uint32_t rgb;
    const char* what;
  };
  const Case cases[] = {
      {vxgdmNormal, {6, 6}, 0xFF0000, "normal: red square"},
      {vxgdmNormal, {5, 5}, 0xFFFFFF, "normal: mask colour left out"},
      {vxgdmNormal, {10, 10}, 0xFFFFFF, "normal: nothing beside it"},
      // Shadowed: the glyph one pixel up and left, its shadow 2 further.
      {vxgdmShadowed, {5, 5}, 0xFF0000, "shadowed: moved by (-1, -1)"},
      {vxgdmShadowed, {8, 8}, 0xFF0000, "shadowed: the square's last pixel"},
      {vxgdmShadowed, {9, 9}, 0x808080, "shadowed: shadow inside the old square"},
      {vxgdmShadowed, {10, 10}, 0x808080, "shadowed: shadow"},
      {vxgdmShadowed, {11, 11}, 0xFFFFFF, "shadowed: past the shadow"},
      // Grayed: (255 + 0 + 0) / 3 = 85.
      {vxgdmGrayed, {6, 6}, 0x555555, "grayed"},
      // Lightened: 255 and 0 + MulDiv(255, 3, 10) = 77.
      {vxgdmLightened, {6, 6}, 0xFF4D4D, "lightened"},
      // Disabled: gray 76, shadow blended at 238: 0.933*128 + 0.297*76 = 142.
      {vxgdmDisabled, {6, 6}, 0x8E8E8E, "disabled: shadow-gray"},
      {vxgdmDisabled, {10, 10}, 0xFFFFFF, "disabled: highlight copy, 1 down and right"},
  };
  for (const Case& c : cases) {
    GlyphScene scene;
    scene.DrawOpaque(c.mode);
    ExpectNear(PixelAt(scene.dest, c.probe.X, c.probe.Y), c.rgb, 2, c.what);
  }
}

TEST(GlyphModes, GlyphsWithAlpha) {
  PinnedColors pinned;
  struct Case {
    int mode;
    uint32_t rgb;
    const char* what;
  };
  const Case cases[] = {
      {vxgdmNormal, 0xFF0000, "normal"},
      // Disabled: green-weighted gray 19 at alpha 151 over white:
      // 19*151/255 + 255*104/255 = 115.
      {vxgdmDisabled, 0x737373, "disabled at 151"},
      // Faded: gray 76 at alpha 64 over white: 76*64/255 + 255*191/255 = 210.
      {vxgdmFaded, 0xD2D2D2, "faded at 64"},
  };
  for (const Case& c : cases) {
    GlyphScene scene;
    scene.DrawWithAlpha(c.mode);
    ExpectNear(PixelAt(scene.dest, 7, 7), c.rgb, 2, c.what);
    ExpectNear(PixelAt(scene.dest, 4, 4), 0xFFFFFF, 0, "transparent corner");
  }
}

TEST(Blending, SoftwareAndHardwarePathsAgree) {
  TvxBitmap32 source(8, 8, true);
  std::vector<uint32_t> pixels(64, 0x80400000);  // red 0x40 at half alpha, premultiplied
  source.WritePixels(pixels);
  auto blend = [&](bool software) {
    TvxBitmap32 dest(8, 8);
    Fill(dest, TRect(0, 0, 8, 8), clWhite);
    const TvdOSFlags saved = vdOSFlags();
    TvdOSFlags flags = saved;
    flags.OS9xFamily = software;
    vdSetOSFlags(flags);
    vxAlphaBlendBitmaps(&dest, &source, dest.GetFullRect(), 255, false, source.GetFullRect());
    vdSetOSFlags(saved);
    return PixelAt(dest, 3, 3);
  };
  const uint32_t hardware = blend(false), software = blend(true);
  // 0x40 + 255 * 127/255 = 191; green and blue 127.
  ExpectNear(hardware, 0xBF7F7F, 1, "AlphaBlend");
  ExpectNear(software, 0xBF7F7F, 1, "software");
}

TEST(Resampling, SoftwareResamplerScalesBitmaps) {
  TvxBitmap32 source(16, 16);
  Fill(source, TRect(0, 0, 16, 16), clBlue);
  TvxBitmap32 same(16, 16), small(4, 4);
  vxResampleBitmap(&source, &same, true);
  vxResampleBitmap(&source, &small, true);
  EXPECT_TRUE(SamePixels(same, source));
  ExpectNear(PixelAt(small, 2, 2), 0x0000FF, 0, "flat blue stays blue");
}

TEST(VxBitmap, DataClaimingMorePixelsThanItHoldsIsRefused) {
  // A bitmap file header and info header for 30000 x 30000 at 32 bits, and
  // no rows: refused before a bitmap of that size is made.
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = 30000;
  info.biHeight = 30000;
  info.biPlanes = 1;
  info.biBitCount = 32;
  const int32_t count = int32_t(sizeof file + sizeof info + 16);
  TMemoryStream stream;
  stream.WriteBuffer(&count, 4);
  stream.WriteBuffer(&file, sizeof file);
  stream.WriteBuffer(&info, sizeof info);
  stream.WriteBuffer("0123456789abcdef", 16);
  stream.SetPosition(0);
  TvxBitmap bitmap;
  EXPECT_THROW(bitmap.ReadData(stream), EReadError);
  EXPECT_TRUE(bitmap.Empty());
}
