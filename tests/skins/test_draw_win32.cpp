// Skin elements drawn by GDI+ into 32-bit bitmaps under Wine, checked by
// pixels: nine parts stretched and tiled, a part not resized, backgrounds,
// gradients, borders, the empty element, placeholders and the cache.
#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vxGraphicsBitmaps.h"
#include "foundation/vxModules.h"
#include "platform/ui/ResourceStream.h"
#include "skins/vdSkinInfo.h"
#include "skins/vdSkinsCoreDraw.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                   kBlack = 0xFF000000, kGrey = 0xFF808080;

// The foundation's modules started as the program starts them: GDI+ and
// the PNG pictures with them.
class SkinDraw : public testing::Test {
 protected:
  static void SetUpTestSuite() { modules = std::make_unique<TvxFoundationModules>(); }
  static void TearDownTestSuite() { modules.reset(); }
  void SetUp() override { ASSERT_TRUE(vdGpIsLibraryAvailable()); }
  static inline std::unique_ptr<TvxFoundationModules> modules;
};

// A PNG picture of w x h pixels given as 0xAARRGGBB values, row by row;
// without alpha the file has no alpha channel.
TvdSkinPicture Picture(int w, int h, const std::vector<uint32_t>& pixels, bool hasAlpha = true) {
  TvdPNGImage png;
  png.ReplaceImage(TvdGPImage::CreateFromPixels(w, h, pixels, hasAlpha));
  TMemoryStream stream;
  png.SaveToStream(stream);
  TvdSkinPicture picture;
  picture.LoadFromBytes(stream.Bytes());
  return picture;
}

// A 9 x 9 picture cut by margins of 3 into nine 3 x 3 parts of distinct
// colours: corners red, edges green, centre blue.
TvdSkinPicture NinePartPicture() {
  std::vector<uint32_t> pixels(81);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const int edges = (x / 3 == 1) + (y / 3 == 1);
      pixels[size_t(y * 9 + x)] = edges == 0 ? kRed : edges == 1 ? kGreen : kBlue;
    }
  return Picture(9, 9, pixels);
}

// A white 32-bit target of w x h.
struct TTarget {
  TvxBitmap32 bitmap;
  TTarget(int w, int h, uint32_t fill = kWhite) : bitmap(w, h) {
    std::vector<uint32_t> pixels(size_t(w * h), fill);
    bitmap.WritePixels(pixels);
  }
  HDC DC() { return bitmap.Canvas()->Handle(); }
  // The colour without alpha: GDI leaves the alpha byte as it likes.
  uint32_t At(int x, int y) { return static_cast<uint32_t*>(bitmap.ScanLine(y))[x] | 0xFF000000; }
  // Mostly red: where a smoothly scaled red line lies.
  bool Reddish(int x, int y) {
    const uint32_t c = At(x, y);
    return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) < 0x40 && (c & 0xFF) < 0x40;
  }
};

struct TElement {
  TvdSkin skin{"S"};
  TvdSkinElement* element = skin.AddGroup("Common")->AddElement("E");
  TvdSkinImage& image = element->Image();
};

TEST_F(SkinDraw, NinePartStretchKeepsCornersAndStretchesTheRest) {
  TElement e;
  e.image.SetStates(vdSkinStates({esNormal}));
  e.image.SetPicture(NinePartPicture());
  e.image.SetMargins(TRect(3, 3, 3, 3));
  TTarget target(40, 30);
  e.element->Draw(target.DC(), TRect(5, 5, 35, 25));
  // Corners 3 x 3 unscaled, edges stretched along, centre both ways.
  EXPECT_EQ(target.At(5, 5), kRed);
  EXPECT_EQ(target.At(7, 7), kRed);
  EXPECT_EQ(target.At(34, 24), kRed);
  EXPECT_EQ(target.At(20, 6), kGreen);
  EXPECT_EQ(target.At(6, 15), kGreen);
  EXPECT_EQ(target.At(33, 15), kGreen);
  EXPECT_EQ(target.At(20, 15), kBlue);
  EXPECT_EQ(target.At(11, 9), kBlue);
  // No seams between the parts: every pixel inside is covered.
  for (int y = 5; y < 25; ++y)
    for (int x = 5; x < 35; ++x) ASSERT_NE(target.At(x, y), kWhite) << x << "," << y;
  // Nothing outside the rectangle.
  EXPECT_EQ(target.At(4, 4), kWhite);
  EXPECT_EQ(target.At(35, 25), kWhite);

  // Scales that do not come out even leave no seam either, and no part
  // takes colour from its neighbour.
  for (const TRect& r : {TRect(2, 3, 144, 50), TRect(1, 1, 107, 9), TRect(4, 2, 11, 61)}) {
    TTarget uneven(150, 64);
    e.element->Draw(uneven.DC(), r);
    const auto parts = vdSkinSplitRectByMargins(r, vdSkinShrinkMargins(TRect(3, 3, 3, 3), r));
    for (int i = 0; i < 9; ++i) {
      const uint32_t expected = i == 4 ? kBlue : i % 2 ? kGreen : kRed;
      const TRect& p = parts[size_t(i)];
      for (int y = p.Top; y < p.Bottom; ++y)
        for (int x = p.Left; x < p.Right; ++x) ASSERT_EQ(uneven.At(x, y), expected) << i << ": " << x << "," << y;
    }
    EXPECT_EQ(uneven.At(r.Right, r.Bottom - 1), kWhite);
    EXPECT_EQ(uneven.At(r.Left - 1, r.Top), kWhite);
  }
}

TEST_F(SkinDraw, TileRepeatsTheSourceUnscaled) {
  TElement e;
  // One state, 4 x 2: red, red, blue, blue.
  std::vector<uint32_t> pixels = {kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue};
  e.image.SetStates(vdSkinStates({esNormal}));
  e.image.SetPicture(Picture(4, 2, pixels));
  e.image.SetStretch(smTile);
  TTarget target(20, 6);
  e.element->Draw(target.DC(), TRect(2, 1, 16, 5));
  for (int x = 2; x < 16; ++x) {
    const uint32_t expected = (x - 2) % 4 < 2 ? kRed : kBlue;
    EXPECT_EQ(target.At(x, 1), expected) << x;
    EXPECT_EQ(target.At(x, 4), expected) << x;
  }
  EXPECT_EQ(target.At(16, 2), kWhite);
}

TEST_F(SkinDraw, NoResizeDrawsThePartUnscaledInTheCentre) {
  TElement e;
  // Two states of 4 x 4: normal green, hot blue.
  std::vector<uint32_t> pixels(32);
  for (int i = 0; i < 32; ++i) pixels[size_t(i)] = i % 8 < 4 ? kGreen : kBlue;
  e.image.SetStates(vdSkinStates({esNormal, esHot}));
  e.image.SetPicture(Picture(8, 4, pixels));
  e.image.SetStretch(smNoResize);
  TTarget target(20, 12);
  e.element->Draw(target.DC(), TRect(0, 0, 20, 12), 0, esHot);
  EXPECT_EQ(target.At(8, 4), kBlue);
  EXPECT_EQ(target.At(11, 7), kBlue);
  EXPECT_EQ(target.At(7, 4), kWhite);
  EXPECT_EQ(target.At(12, 7), kWhite);
  EXPECT_EQ(target.At(8, 8), kWhite);
}

TEST_F(SkinDraw, BackgroundBordersAndGlyph) {
  TElement e;
  e.element->SetColor(TColor(0x00FF0000));  // blue as a colour value
  e.element->Borders()[2].SetColor(TColor(0x000000FF));
  e.element->Borders()[2].SetThin(2);
  e.element->Borders()[1].SetColor(TColor(0x0000FF00));
  e.element->SetContentOffset(TRect(4, 4, 4, 4));
  e.element->Glyph().SetGradientBeginColor(TColor(0x00000000));
  e.element->Glyph().SetGradientEndColor(TColor(0x00000000));
  TTarget target(20, 20);
  e.element->Draw(target.DC(), TRect(0, 0, 20, 20));
  EXPECT_EQ(target.At(2, 10), kBlue);
  // The right border's two columns; the top border paints its row, the right
  // one painted over its end.
  EXPECT_EQ(target.At(18, 10), kRed);
  EXPECT_EQ(target.At(19, 10), kRed);
  EXPECT_EQ(target.At(17, 10), kBlue);
  EXPECT_EQ(target.At(10, 0), kGreen);
  EXPECT_EQ(target.At(19, 0), kRed);
  // The glyph's solid fill inside the content offsets.
  EXPECT_EQ(target.At(4, 4), kBlack);
  EXPECT_EQ(target.At(15, 15), kBlack);
  EXPECT_EQ(target.At(3, 4), kBlue);
}

TEST_F(SkinDraw, TranslucentBackgroundBlends) {
  TElement e;
  e.element->SetColor(TColor(0x00000000));
  e.element->SetAlpha(128);
  TTarget target(8, 8);
  e.element->Draw(target.DC(), TRect(0, 0, 8, 8));
  const uint32_t c = target.At(4, 4) & 0xFF;
  EXPECT_NEAR(int(c), 127, 2);
}

TEST_F(SkinDraw, GradientFillsInsideMargins) {
  TElement e;
  e.image.SetGradientBeginColor(TColor(0x000000FF));
  e.image.SetGradientEndColor(TColor(0x00FF0000));
  e.image.SetGradient(gmHorizontal);
  e.image.SetMargins(TRect(2, 2, 2, 2));
  TTarget target(40, 10);
  e.element->Draw(target.DC(), TRect(0, 0, 40, 10));
  EXPECT_EQ(target.At(1, 5), kWhite);
  EXPECT_EQ(target.At(38, 5), kWhite);
  EXPECT_GT((target.At(2, 5) >> 16) & 0xFF, 0xE0u);  // red at the near end
  EXPECT_GT(target.At(37, 5) & 0xFF, 0xE0u);          // blue at the far end
  // Equal colours fill solid.
  e.image.SetGradientEndColor(TColor(0x000000FF));
  TTarget solid(40, 10);
  e.element->Draw(solid.DC(), TRect(0, 0, 40, 10));
  EXPECT_EQ(solid.At(2, 5), kRed);
  EXPECT_EQ(solid.At(37, 5), kRed);
}

TEST_F(SkinDraw, DiagonalGradientsRunCornerToCorner) {
  for (TvdSkinGradientMode mode : {gmForwardDiagonal, gmBackwardDiagonal}) {
    TTarget target(40, 40);
    TvdSkinCanvas canvas;
    canvas.BeginPaint(target.DC(), TRect(0, 0, 40, 40));
    canvas.FillGradientRect(TRect(0, 0, 40, 40), TColor(0x000000FF), mode, TColor(0x00FF0000));
    canvas.EndPaint();
    // Forward: red at the top left, blue at the bottom right; backward: red
    // at the top right, blue at the bottom left.
    const bool forward = mode == gmForwardDiagonal;
    const uint32_t redCorner = forward ? target.At(1, 1) : target.At(38, 1);
    const uint32_t blueCorner = forward ? target.At(38, 38) : target.At(1, 38);
    EXPECT_GT((redCorner >> 16) & 0xFF, 0xD0u) << forward;
    EXPECT_GT(blueCorner & 0xFF, 0xD0u) << forward;
    const uint32_t cross = forward ? target.At(38, 1) : target.At(1, 1);
    EXPECT_NEAR(int((cross >> 16) & 0xFF), 128, 20) << forward;
  }
}

TEST_F(SkinDraw, EmptyElementAndPlaceholder) {
  TTarget empty(10, 10, kGrey);
  vdSkinElementOrEmpty(nullptr)->Draw(empty.DC(), TRect(1, 1, 9, 9), 3, esHot);
  EXPECT_EQ(empty.At(1, 1), kRed);
  EXPECT_EQ(empty.At(8, 5), kRed);
  EXPECT_EQ(empty.At(5, 5), kWhite);
  EXPECT_EQ(empty.At(0, 0), kGrey);

  // A placeholder stretches its red cross over the target in every state.
  TvdSkinInfo info(std::make_unique<TvdSkin>("Bare"));
  for (TvdSkinElementState state : {esNormal, esPressed, esDisabled}) {
    TTarget target(64, 64, kGrey);
    info.Common.Button->Draw(target.DC(), TRect(0, 0, 64, 64), 0, state);
    EXPECT_TRUE(target.Reddish(32, 32)) << int(state);
    EXPECT_TRUE(target.Reddish(10, 10));
    EXPECT_TRUE(target.Reddish(53, 10));
    EXPECT_EQ(target.At(32, 8), kWhite);
    EXPECT_EQ(target.At(8, 32), kWhite);
  }
}

TEST_F(SkinDraw, CacheRendersOncePerSizeAndState) {
  for (uint8_t alpha : {uint8_t(255), uint8_t(128)}) {
    TElement e;
    e.image.SetStates(vdSkinStates({esNormal, esHot}));
    std::vector<uint32_t> pixels(32);
    for (int i = 0; i < 32; ++i) pixels[size_t(i)] = i % 8 < 4 ? kGreen : kBlue;
    // A translucent corner pixel makes the element use alpha.
    if (alpha != 255) pixels[0] = pixels[4] = 0x80008000;
    e.image.SetPicture(Picture(8, 4, pixels, alpha != 255));
    ASSERT_EQ(e.element->IsAlphaUsed(), alpha != 255);
    e.element->SetColor(TColor(0x00000000));
    e.element->SetAlpha(alpha);
    e.element->SetUseCache(true);
    TTarget target(40, 20);
    e.element->Draw(target.DC(), TRect(0, 0, 10, 10));
    ASSERT_NE(e.element->Cache(), nullptr);
    // Another place of the same size: copied, not rendered.
    e.element->Draw(target.DC(), TRect(20, 5, 30, 15));
    EXPECT_EQ(e.element->Cache()->RenderCount(), 1);
    EXPECT_EQ(target.At(25, 10), kGreen);
    e.element->Draw(target.DC(), TRect(20, 5, 30, 15), 0, esHot);
    EXPECT_EQ(e.element->Cache()->RenderCount(), 2);
    EXPECT_EQ(target.At(25, 10), kBlue);
    e.element->Draw(target.DC(), TRect(20, 5, 32, 15), 0, esHot);
    EXPECT_EQ(e.element->Cache()->RenderCount(), 3);

    // Outside the clip region nothing is drawn, the cache stays.
    HRGN clip = CreateRectRgn(0, 0, 5, 5);
    SelectClipRgn(target.DC(), clip);
    e.element->Draw(target.DC(), TRect(20, 5, 30, 15));
    SelectClipRgn(target.DC(), nullptr);
    DeleteObject(clip);
    EXPECT_EQ(e.element->Cache()->RenderCount(), 3);
    EXPECT_EQ(target.At(25, 10), kBlue);

    e.element->FlushCache();
    e.element->Draw(target.DC(), TRect(20, 5, 32, 15), 0, esHot);
    EXPECT_EQ(e.element->Cache()->RenderCount(), 4);
  }
}

TEST_F(SkinDraw, IconsComeFromTheSkinOrTheProgram) {
  TvdSkinInfo bare(std::make_unique<TvdSkin>("Bare"));
  for (int index : {0, 1}) {
    std::unique_ptr<TBitmap> icon = bare.GetIcon(index);
    EXPECT_EQ(icon->Width(), index == 0 ? 16 : 48);
  }
  auto skin = std::make_unique<TvdSkin>("Icons");
  TvdSkinElement* small = skin->AddGroup("Common")->AddElement("SkinIcon");
  small->Image().SetStates(vdSkinStates({esNormal}));
  small->Image().SetPicture(Picture(2, 3, std::vector<uint32_t>(6, kRed)));
  TvdSkinInfo info(std::move(skin));
  EXPECT_EQ(info.GetIcon(0)->Height(), 3);
  EXPECT_EQ(info.GetIcon(1)->Height(), 48);
}

}  // namespace
