// Two-colour gradients by pixels: each direction's shape, the stepping of
// the colours, and the small and thin rectangles that once divided by zero.
#include <gtest/gtest.h>

#include <set>

#include "framed/FmGrafxBands.h"

namespace {

constexpr uint32_t S = 0x000000, T = 0xF0F0F0;  // black to light grey

uint8_t Grey(uint32_t c) { return c & 0xFF; }

TEST(Gradients, EmptyRectanglesHaveNoPixels) {
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    EXPECT_TRUE(RenderTwoColorGradient(0, 10, TGradientDirection(d), S, T, 1).Pixels.empty());
    EXPECT_TRUE(RenderTwoColorGradient(10, 0, TGradientDirection(d), S, T, 1).Pixels.empty());
  }
}

// Every direction on the degenerate sizes: a full picture of the
// rectangle, in colours between the two ends.
TEST(Gradients, TinyAndThinRectanglesInEveryDirection) {
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 2}, {1000, 1}, {1, 1000}, {2, 1}, {3, 3}};
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d)
    for (auto [w, h] : sizes) {
      SCOPED_TRACE("direction " + std::to_string(d) + " " + std::to_string(w) + "x" + std::to_string(h));
      const TGradientPixels p = RenderTwoColorGradient(w, h, TGradientDirection(d), S, T, 1);
      ASSERT_EQ(p.Pixels.size(), size_t(w) * h);
      for (uint32_t c : p.Pixels) {
        EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
        EXPECT_LE(Grey(c), 0xF0);
      }
    }
  // A 1-pixel-high centre gradient is its stop colour; two rows step once.
  EXPECT_EQ(RenderTwoColorGradient(1000, 1, gdHorizontalCenter, S, T, 1).At(500, 0), T);
  const TGradientPixels two = RenderTwoColorGradient(4, 2, gdHorizontalCenter, S, T, 1);
  EXPECT_EQ(two.At(0, 1), T);
  EXPECT_EQ(two.At(0, 0), 0x787878u);
  // Boxes smaller than 5 x 5 are filled with the start colour.
  const TGradientPixels box = RenderTwoColorGradient(4, 4, gdSquareBox, S, T, 1);
  for (uint32_t c : box.Pixels) EXPECT_EQ(c, S);
}

TEST(Gradients, EndDirectionsStepFromTheStartEdgeToTheStopEdge) {
  // 16 rows: the bottom row is T, each row up is 15 (240 / 16) darker.
  const TGradientPixels rows = RenderTwoColorGradient(3, 16, gdHorizontalEnd, S, T, 1);
  for (int y = 0; y < 16; ++y) {
    EXPECT_EQ(Grey(rows.At(0, y)), 0xF0 - 15 * (15 - y)) << y;
    EXPECT_EQ(rows.At(2, y), rows.At(0, y));
  }
  const TGradientPixels cols = RenderTwoColorGradient(16, 3, gdVerticalEnd, S, T, 1);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(cols.At(x, 1), rows.At(0, x));
  // Equal colours: one band of that colour.
  for (uint32_t c : RenderTwoColorGradient(7, 9, gdHorizontalEnd, T, T, 1).Pixels) EXPECT_EQ(c, T);
}

TEST(Gradients, CenterDirectionsPeakInTheMiddle) {
  // 17 columns: column 8 is T; the colour falls toward both ends.
  const TGradientPixels p = RenderTwoColorGradient(17, 2, gdVerticalCenter, S, T, 1);
  EXPECT_EQ(p.At(8, 0), T);
  EXPECT_EQ(p.At(16, 0), S);
  for (int x = 1; x <= 8; ++x) EXPECT_GT(Grey(p.At(x, 0)), Grey(p.At(x - 1, 0))) << x;
  for (int x = 9; x <= 16; ++x) EXPECT_LT(Grey(p.At(x, 0)), Grey(p.At(x - 1, 0))) << x;
  // The installer's separator, 483 x 2: the centre column is the highlight.
  const TGradientPixels sep = RenderTwoColorGradient(483, 2, gdVerticalCenter, 0xC8D0D4, 0x6A240A, 1);
  EXPECT_EQ(sep.At(241, 0), 0x6A240Au);
  EXPECT_EQ(sep.At(482, 1), 0xC8D0D4u);
}

TEST(Gradients, BoxesAreSymmetricRingsAroundACore) {
  for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
    SCOPED_TRACE(int(d));
    const int w = 21, h = 15;
    const TGradientPixels p = RenderTwoColorGradient(w, h, d, S, T, 1);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(p.At(x, y), p.At(w - 1 - x, y)) << x << "," << y;
        EXPECT_EQ(p.At(x, y), p.At(x, h - 1 - y)) << x << "," << y;
      }
    EXPECT_EQ(p.At(w / 2, h / 2), T);
    // Colours darken from the core outwards along both axes.
    for (int x = 1; x <= w / 2; ++x) EXPECT_GE(Grey(p.At(x, h / 2)), Grey(p.At(x - 1, h / 2)));
    for (int y = 1; y <= h / 2; ++y) EXPECT_GE(Grey(p.At(w / 2, y)), Grey(p.At(w / 2, y - 1)));
    EXPECT_LT(Grey(p.At(0, 0)), 0x40);
  }
  // The horizontal box widens its core sideways: the middle row is T well
  // beyond the centre column.
  const TGradientPixels wide = RenderTwoColorGradient(41, 15, gdHorizontalBox, S, T, 1);
  EXPECT_EQ(wide.At(20 - 41 / 4, 7), T);
  EXPECT_NE(RenderTwoColorGradient(41, 15, gdSquareBox, S, T, 1).At(20 - 41 / 4, 7), T);
}

TEST(Gradients, DiagonalsRunCornerToCorner) {
  const int w = 30, h = 20;
  const TGradientPixels up = RenderTwoColorGradient(w, h, gdDiagonalUp, S, T, 1);
  const TGradientPixels down = RenderTwoColorGradient(w, h, gdDiagonalDown, S, T, 1);
  EXPECT_EQ(up.At(w - 1, 0), T);
  EXPECT_LT(Grey(up.At(0, h - 1)), 0x10);
  EXPECT_EQ(down.At(w - 1, h - 1), T);
  EXPECT_LT(Grey(down.At(0, 0)), 0x10);
  // Along the other diagonal the colour is about the same.
  EXPECT_NEAR(Grey(up.At(0, 0)), Grey(up.At(w - 1, h - 1)), 0x10);
  // Moving away from the stop corner never brightens.
  for (int y = 0; y < h; ++y)
    for (int x = 1; x < w; ++x) EXPECT_GE(Grey(up.At(x, y)), Grey(up.At(x - 1, y)));
  std::set<uint32_t> bands(up.Pixels.begin(), up.Pixels.end());
  EXPECT_GT(bands.size(), 30u);
  for (uint32_t c : RenderTwoColorGradient(w, h, gdDiagonalDown, T, T, 1).Pixels) EXPECT_EQ(c, T);
}

TEST(Gradients, ColorCountSetsTheShortestBand) {
  // 1 makes every row its own colour; 4 keeps each colour for 4 rows.
  const TGradientPixels fine = RenderTwoColorGradient(1, 12, gdHorizontalEnd, S, T, 1);
  const TGradientPixels coarse = RenderTwoColorGradient(1, 12, gdHorizontalEnd, S, T, 4);
  std::set<uint32_t> a(fine.Pixels.begin(), fine.Pixels.end()), b(coarse.Pixels.begin(), coarse.Pixels.end());
  EXPECT_EQ(a.size(), 12u);
  EXPECT_EQ(b.size(), 3u);
  EXPECT_EQ(coarse.At(0, 11), T);
  EXPECT_EQ(coarse.At(0, 8), T);
  EXPECT_NE(coarse.At(0, 7), T);
}

}  // namespace
