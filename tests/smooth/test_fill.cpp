// The fill descriptor drawn into ARGB bitmaps under Wine: the rounded
// shape with its border, gradients and mirror halves, shadows and the
// content rectangle, the one-pixel line, pictures and the change events.
#include <gtest/gtest.h>

#include "SmoothFixture.h"
#include "smooth/GDIPFill.h"

namespace {

TEST(GDIPFill, RoundedFillHasTransparentCornersAndItsBorderOnTheEdge) {
  TArgbCanvas canvas(100, 50);
  TGDIPFill fill;
  fill.SetGradientType(gtSolid);
  fill.SetColor(clBlue);
  fill.SetBorderColor(clRed);
  fill.SetRounding(10);
  const TGPRectF content = fill.Fill(&canvas.graphics, TGPRectF(0, 0, 99, 49));
  EXPECT_EQ(content, TGPRectF(0, 0, 99, 49));
  for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 49}, {99, 49}, {1, 1}})
    EXPECT_EQ(ARGBAlpha(canvas.Pixel(x, y)), 0) << x << "," << y;
  // The border runs along the edges between the corners; the body is blue.
  for (auto [x, y] : {std::pair{50, 0}, {0, 25}, {99, 25}, {50, 49}}) {
    const ARGB c = canvas.Pixel(x, y);
    EXPECT_GT(ARGBRed(c), 200) << x << "," << y;
    EXPECT_LT(ARGBBlue(c), 60) << x << "," << y;
  }
  EXPECT_TRUE(PixelNear(canvas.Pixel(50, 25), 0xFF0000FF, 0));
}

TEST(GDIPFill, RoundingTypeChoosesTheRoundedCorners) {
  struct Case {
    TFillRoundingType type;
    bool topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {{rtNone, false, false, false, false}, {rtTop, true, true, false, false},
               {rtBottom, false, false, true, true}, {rtBoth, true, true, true, true},
               {rtLeft, true, false, true, false},   {rtRight, false, true, false, true}};
  for (const Case& c : cases) {
    TArgbCanvas canvas(60, 40);
    TGDIPFill fill;
    fill.SetGradientType(gtSolid);
    fill.SetColor(clBlack);
    fill.SetRounding(8);
    fill.SetRoundingType(c.type);
    fill.Fill(&canvas.graphics, TGPRectF(0, 0, 60, 40));
    auto cut = [&](int x, int y) { return ARGBAlpha(canvas.Pixel(x, y)) < 128; };
    EXPECT_EQ(cut(0, 0), c.topLeft) << c.type;
    EXPECT_EQ(cut(59, 0), c.topRight) << c.type;
    EXPECT_EQ(cut(0, 39), c.bottomLeft) << c.type;
    EXPECT_EQ(cut(59, 39), c.bottomRight) << c.type;
  }
}

TEST(GDIPFill, GradientAndMirrorHalves) {
  TArgbCanvas canvas(40, 100);
  TGDIPFill fill;  // vertical gradient by default
  fill.SetColor(clWhite);
  fill.SetColorTo(clBlack);
  fill.Fill(&canvas.graphics, TGPRectF(0, 0, 40, 100));
  EXPECT_GT(ARGBRed(canvas.Pixel(20, 1)), 220);
  EXPECT_LT(ARGBRed(canvas.Pixel(20, 98)), 35);
  EXPECT_LT(ARGBRed(canvas.Pixel(20, 70)), ARGBRed(canvas.Pixel(20, 30)));

  // A mirror colour paints the lower half with its own settings.
  TArgbCanvas mirrored(40, 100);
  fill.SetColorTo(clWhite);
  fill.SetColorMirror(clRed);
  fill.SetGradientMirrorType(gtSolid);
  fill.Fill(&mirrored.graphics, TGPRectF(0, 0, 40, 100));
  EXPECT_TRUE(PixelNear(mirrored.Pixel(20, 20), 0xFFFFFFFF, 2));
  EXPECT_TRUE(PixelNear(mirrored.Pixel(20, 80), 0xFFFF0000, 0));

  // No start colour: no body at all.
  TArgbCanvas none(20, 20);
  TGDIPFill empty;
  empty.SetColor(clNone);
  empty.Fill(&none.graphics, TGPRectF(0, 0, 20, 20));
  EXPECT_EQ(none.Pixel(10, 10), 0u);
}

TEST(GDIPFill, ShadowsLeaveTheirContentRect) {
  struct Case {
    TShadowType type;
    TGPRectF content;
    std::pair<int, int> shaded;  // a pixel of the shadow outside the content
  } cases[] = {{stRightBottom, TGPRectF(2, 3, 96, 46), {100, 30}},
               {stSurround, TGPRectF(6, 7, 92, 42), {50, 5}},
               {stBottom, TGPRectF(2, 3, 100, 46), {50, 51}}};
  for (const Case& c : cases) {
    TArgbCanvas canvas(110, 60);
    TGDIPFill fill;
    fill.SetGradientType(gtSolid);
    fill.SetColor(clWhite);
    fill.SetShadowColor(clBlack);
    fill.SetShadowOffset(4);
    fill.SetShadowType(c.type);
    EXPECT_EQ(fill.Fill(&canvas.graphics, TGPRectF(2, 3, 100, 50)), c.content) << c.type;
    const ARGB shade = canvas.Pixel(c.shaded.first, c.shaded.second);
    EXPECT_GT(ARGBAlpha(shade), 0) << c.type;
    EXPECT_LT(ARGBRed(shade), 100) << c.type;
  }
  // No colour, no shadow.
  TArgbCanvas canvas(110, 60);
  TGDIPFill fill;
  fill.SetShadowColor(clNone);
  fill.SetShadowOffset(4);
  EXPECT_EQ(fill.Fill(&canvas.graphics, TGPRectF(2, 3, 100, 50)), TGPRectF(2, 3, 100, 50));
  EXPECT_EQ(fill.Fill(nullptr, TGPRectF(2, 3, 100, 50)), TGPRectF(2, 3, 100, 50));
}

TEST(GDIPFill, OnePixelHighAreaIsItsBorderLine) {
  TArgbCanvas canvas(50, 10);
  TGDIPFill fill;
  fill.SetGradientType(gtSolid);
  fill.SetColor(clBlue);
  fill.SetBorderColor(clRed);
  fill.SetBorderWidth(2);
  fill.Fill(&canvas.graphics, TGPRectF(0, 5, 50, 1));
  const ARGB line = canvas.Pixel(25, 5);
  EXPECT_GT(ARGBRed(line), 200);
  EXPECT_EQ(ARGBBlue(line), 0);  // no body
}

TEST(GDIPFill, ForegroundPictureIsPlaced) {
  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect(0, 0, 10, 10));
  TGDIPFill fill;
  fill.SetGradientType(gtSolid);
  fill.SetColor(clWhite);
  fill.Picture()->Assign(&bitmap);
  fill.SetPicturePosition(ppBottomRight);
  TArgbCanvas canvas(60, 40);
  fill.Fill(&canvas.graphics, TGPRectF(0, 0, 60, 40));
  EXPECT_TRUE(PixelNear(canvas.Pixel(55, 35), 0xFFFF0000, 0));
  EXPECT_TRUE(PixelNear(canvas.Pixel(45, 35), 0xFFFFFFFF, 0));
  EXPECT_TRUE(PixelNear(canvas.Pixel(5, 5), 0xFFFFFFFF, 0));
}

TEST(GDIPFill, ChangesAreNotifiedOnce) {
  TGDIPFill fill, other;
  int changes = 0;
  fill.OnChange = [&](TObject*) { ++changes; };
  fill.SetColor(fill.Color());
  EXPECT_EQ(changes, 0);
  fill.SetRounding(3);
  EXPECT_EQ(changes, 1);
  other.SetBorderColor(clRed);
  other.SetShadowOffset(5);
  fill.Assign(&other);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(fill.BorderColor(), clRed);
  EXPECT_EQ(fill.Rounding(), 0);
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  fill.BackGroundPicture()->Assign(&bitmap);
  EXPECT_EQ(changes, 3);
  fill.Assign(&bitmap);  // not a fill: ignored
  EXPECT_EQ(changes, 3);
  EXPECT_NE(GDIPFillClipboardFormat(), 0u);
}

}  // namespace
