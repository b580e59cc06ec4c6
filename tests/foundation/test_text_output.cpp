// The portable half of the canvas text output: the library's text flags as
// DrawText flags, and the quarter-turn rotation of pixel arrays.
#include <gtest/gtest.h>

#include "foundation/vxGraphicsText.h"

namespace {

TEST(TextFlags, ConvertToDrawTextFlags) {
  using namespace vxdt;
  struct Case {
    TvxTextFlags flags;
    uint32_t expected;
  } cases[] = {
      {0, NoPrefix},
      {vxtfShowPrefix, 0},
      {vxtfWordBreak, NoPrefix | WordBreak | EditControl},
      {vxtfWordBreak | vxtfDontBreakChars, NoPrefix | WordBreak},
      {vxtfWordBreak | vxtfDontBreakChars | vxtfNoFullWidthCharBreak, NoPrefix | WordBreak | NoFullWidthCharBreak},
      // The two breaking refinements mean nothing without word break.
      {vxtfDontBreakChars | vxtfNoFullWidthCharBreak, NoPrefix},
      {vxtfAlignLeft | vxtfAlignTop, NoPrefix},
      {vxtfAlignRight | vxtfAlignBottom, NoPrefix | Right | Bottom},
      {vxtfAlignHCenter | vxtfAlignVCenter | vxtfSingleLine, NoPrefix | Center | VCenter | SingleLine},
      // An alignment is one value of its bits: two at once read as left/top.
      {vxtfAlignRight | vxtfAlignHCenter, NoPrefix},
      {vxtfAlignBottom | vxtfAlignVCenter, NoPrefix},
      {vxtfNoClip | vxtfExpandTabs | vxtfEndEllipsis | vxtfCalcRect | vxtfPathEllipsis,
       NoPrefix | NoClip | ExpandTabs | EndEllipsis | CalcRect | PathEllipsis},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "flags 0x" << c.flags);
    EXPECT_EQ(vxTextFlagsToDrawTextFlags(c.flags), c.expected);
  }
}

TEST(Rotation, PixelPlaces) {
  // A 3 x 2 picture; where (x, y) goes for each rotation, without and with
  // the vertical flip.
  constexpr int W = 3, H = 2;
  struct Case {
    TvxRotation rotation;
    bool flip;
    int x, y;
    TvxPixelPlace expected;
  } cases[] = {
      {raNone, false, 2, 1, {2, 1}},       {raNone, true, 2, 1, {2, 0}},
      {raPlus90, false, 0, 0, {0, 2}},     {raPlus90, false, 2, 1, {1, 0}},
      {raPlus90, true, 2, 1, {1, 2}},      {raMinus90, false, 0, 0, {1, 0}},
      {raMinus90, false, 2, 1, {0, 2}},    {raMinus90, true, 0, 0, {1, 2}},
      {ra180, false, 0, 0, {2, 1}},        {ra180, true, 0, 0, {2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rotation " << c.rotation << " flip " << c.flip << " at " << c.x << ","
                                    << c.y);
    const TvxPixelPlace p = vxRotatedPixelPlace(c.x, c.y, W, H, c.rotation, c.flip);
    EXPECT_EQ(p.X, c.expected.X);
    EXPECT_EQ(p.Y, c.expected.Y);
  }
  static_assert(vxInverseRotation(raPlus90) == raMinus90 && vxInverseRotation(raMinus90) == raPlus90 &&
                vxInverseRotation(ra180) == ra180 && vxInverseRotation(raNone) == raNone);
}

TEST(Rotation, QuarterTurnsSwapTheSizeAndTurnBackExactly) {
  // 3 x 2:  1 2 3
  //         4 5 6
  const std::vector<uint32_t> picture{1, 2, 3, 4, 5, 6};
  int w = 3, h = 2;
  // Anticlockwise: the former top row becomes the left column, read bottom
  // to top.
  std::vector<uint32_t> turned = vxRotatePixels(picture, w, h, raPlus90, false);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(turned, (std::vector<uint32_t>{3, 6, 2, 5, 1, 4}));
  EXPECT_EQ(vxRotatePixels(turned, w, h, raMinus90, false), picture);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);

  EXPECT_EQ(vxRotatePixels(picture, w, h, raMinus90, false), (std::vector<uint32_t>{4, 1, 5, 2, 6, 3}));
  w = 3, h = 2;
  EXPECT_EQ(vxRotatePixels(picture, w, h, ra180, false), (std::vector<uint32_t>{6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(vxRotatePixels(picture, w, h, raNone, true), (std::vector<uint32_t>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(w, 3);

  // Empty pictures stay empty.
  int zw = 0, zh = 5;
  EXPECT_TRUE(vxRotatePixels({}, zw, zh, raPlus90, false).empty());
  EXPECT_EQ(zw, 5);
  EXPECT_EQ(zh, 0);
}

}  // namespace
