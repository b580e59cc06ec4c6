// Where element drawing puts the parts of a picture: the cut at the margins,
// margins shrunk to a small destination, and the pieces drawn for each
// stretch mode.
#include <gtest/gtest.h>

#include "SkinFixtures.h"
#include "skins/vdSkinsCore.h"

namespace {

TEST(SkinDrawGeometry, SplitCutsNinePartsInsideTheRectangle) {
  const auto parts = vdSkinSplitRectByMargins(TRect(10, 20, 50, 60), TRect(3, 4, 5, 6));
  const TRect expected[9] = {
      {10, 20, 13, 24}, {13, 20, 45, 24}, {45, 20, 50, 24},  // top row
      {10, 24, 13, 54}, {13, 24, 45, 54}, {45, 24, 50, 54},  // middle row
      {10, 54, 13, 60}, {13, 54, 45, 60}, {45, 54, 50, 60},  // bottom row
  };
  for (int i = 0; i < 9; ++i) EXPECT_EQ(parts[size_t(i)], expected[i]) << "part " << i;

  // Margins beyond the rectangle, or huge ones from a damaged stream, cut at
  // its sides: no part reaches outside.
  for (const TRect& m : {TRect(30, 30, 30, 30), TRect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX),
                         TRect(INT32_MIN, 0, INT32_MIN, 0)}) {
    for (const TRect& p : vdSkinSplitRectByMargins(TRect(0, 0, 20, 10), m)) {
      EXPECT_GE(p.Left, 0);
      EXPECT_LE(p.Right, 20);
      EXPECT_GE(p.Top, 0);
      EXPECT_LE(p.Bottom, 10);
    }
  }
}

TEST(SkinDrawGeometry, ShrinkGivesUpTheExcessInProportion) {
  struct Case {
    TRect margins, dest, expected;
  } cases[] = {
      // 10 - MulDiv(10, 8, 20) = 6 on a destination 12 wide.
      {{10, 0, 10, 0}, {0, 0, 12, 40}, {6, 0, 6, 0}},
      // Pairs that fit stay as they are.
      {{10, 5, 10, 5}, {0, 0, 20, 10}, {10, 5, 10, 5}},
      // Unequal margins keep their proportion, rounded to nearest: 3 - MulDiv(3, 4, 12) = 2, 9 - 3 = 6.
      {{3, 0, 9, 0}, {0, 0, 8, 8}, {2, 0, 6, 0}},
      // Both axes at once; only the position-free size counts.
      {{4, 6, 4, 6}, {100, 100, 104, 106}, {2, 3, 2, 3}},
      // An empty destination leaves nothing of either pair.
      {{4, 4, 4, 4}, {5, 5, 5, 5}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(vdSkinShrinkMargins(c.margins, c.dest), c.expected);
}

struct TPictureElement {
  TvdSkin skin{"S"};
  TvdSkinElement* element = skin.AddGroup("Common")->AddElement("E");
  TvdSkinImage& image = element->Image();
  TPictureElement(int w, int h, TRect margins, TvdSkinStretchMode stretch) {
    image.SetStates(vdSkinStates({esNormal, esHot}));
    image.SetPicture(MakePicture(w, h));
    image.SetMargins(margins);
    image.SetStretch(stretch);
  }
};

TEST(SkinDrawGeometry, StretchAndTileDrawTheVisibleOfNineParts) {
  for (TvdSkinStretchMode mode : {smStretch, smTile}) {
    // Two states of 12 x 10 side by side; the hot state starts at x 12.
    TPictureElement e(24, 10, TRect(2, 3, 4, 1), mode);
    const TRect source = e.image.GetImageRect(0, esHot);
    ASSERT_EQ(source, TRect(12, 0, 24, 10));
    const TvdSkinImagePieces pieces = vdSkinImagePieces(e.image, TRect(100, 50, 160, 90), source);
    ASSERT_EQ(pieces.Count, 9);
    // Corners keep their size; edges and centre span the rest.
    EXPECT_EQ(pieces.Items[0].Dest, TRect(100, 50, 102, 53));
    EXPECT_EQ(pieces.Items[0].Source, TRect(12, 0, 14, 3));
    EXPECT_EQ(pieces.Items[4].Dest, TRect(102, 53, 156, 89));
    EXPECT_EQ(pieces.Items[4].Source, TRect(14, 3, 20, 9));
    EXPECT_EQ(pieces.Items[8].Dest, TRect(156, 89, 160, 90));
    EXPECT_EQ(pieces.Items[8].Source, TRect(20, 9, 24, 10));
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(pieces.Items[size_t(i)].Gradient);
  }
}

TEST(SkinDrawGeometry, PartsWithoutSourceOrRoomAreLeftOut) {
  // No margins: only the centre has a source.
  TPictureElement plain(8, 8, TRect(), smStretch);
  TvdSkinImagePieces pieces = vdSkinImagePieces(plain.image, TRect(0, 0, 30, 30), TRect(0, 0, 4, 8));
  ASSERT_EQ(pieces.Count, 1);
  EXPECT_EQ(pieces.Items[0].Dest, TRect(0, 0, 30, 30));

  // Margins 10, 0, 10, 0 into 12 pixels: the shrunk pair leaves the centre
  // column empty; a destination smaller than the margins on both axes still
  // gets its four corners, scaled down.
  TPictureElement framed(48, 20, TRect(10, 4, 10, 4), smStretch);
  pieces = vdSkinImagePieces(framed.image, TRect(0, 0, 12, 6), framed.image.GetImageRect(0, esNormal));
  ASSERT_EQ(pieces.Count, 9);
  EXPECT_EQ(pieces.Items[0].Dest, TRect(0, 0, 6, 3));
  EXPECT_EQ(pieces.Items[2].Dest, TRect(6, 0, 12, 3));
  EXPECT_EQ(pieces.Items[6].Dest, TRect(0, 3, 6, 6));
  EXPECT_EQ(pieces.Items[8].Dest, TRect(6, 3, 12, 6));
  for (int i : {1, 3, 4, 5, 7}) EXPECT_TRUE(pieces.Items[size_t(i)].Dest.IsEmpty()) << i;
}

TEST(SkinDrawGeometry, NoResizeCentresOnePartUnscaled) {
  TPictureElement e(32, 16, TRect(3, 3, 3, 3), smNoResize);
  const TRect source = e.image.GetImageRect(0, esHot);
  const TvdSkinImagePieces pieces = vdSkinImagePieces(e.image, TRect(0, 0, 40, 20), source);
  ASSERT_EQ(pieces.Count, 1);
  EXPECT_EQ(pieces.Items[0].Dest, TRect(12, 2, 28, 18));
  EXPECT_EQ(pieces.Items[0].Source, TRect(16, 0, 32, 16));
}

TEST(SkinDrawGeometry, GradientTakesTheCentre) {
  TPictureElement e(9, 9, TRect(3, 3, 3, 3), smStretch);
  e.image.SetStates(vdSkinStates({esNormal}));
  e.image.SetGradientBeginColor(0x0000FF);
  const TvdSkinImagePieces pieces = vdSkinImagePieces(e.image, TRect(0, 0, 20, 20), TRect(0, 0, 9, 9));
  ASSERT_EQ(pieces.Count, 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(pieces.Items[size_t(i)].Gradient, i == 4) << i;
}

TEST(SkinDrawGeometry, BorderStripsFollowTheirSide) {
  TvdSkinBorders borders(nullptr, "Borders");
  for (int side = 0; side < 4; ++side) borders[side].SetThin(2);
  const TRect r(10, 10, 30, 20);
  EXPECT_EQ(borders[0].StripRect(r), TRect(10, 10, 12, 20));
  EXPECT_EQ(borders[1].StripRect(r), TRect(10, 10, 30, 12));
  EXPECT_EQ(borders[2].StripRect(r), TRect(28, 10, 30, 20));
  EXPECT_EQ(borders[3].StripRect(r), TRect(10, 18, 30, 20));
  // A width from a damaged stream stays inside the rectangle.
  borders[2].SetThin(INT32_MAX);
  EXPECT_EQ(borders[2].StripRect(r), r);
  borders[2].SetThin(-5);
  EXPECT_TRUE(borders[2].StripRect(r).IsEmpty());
}

}  // namespace
