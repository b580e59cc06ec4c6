// The system side of the Office 2003 colour schemes under Wine: colours
// taken from the pinned system colours and refreshed when they change, the
// resources held while referenced, the gradient and the grip dots drawn
// into a real DC.
#include <gtest/gtest.h>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kWindow = RGB(250, 250, 250);
constexpr COLORREF kSelection = RGB(10, 36, 106);

const std::vector<std::pair<int, COLORREF>> kClassicScheme = {
    {COLOR_BTNFACE, kFace}, {COLOR_BTNSHADOW, kShadow}, {COLOR_WINDOW, kWindow}, {COLOR_HIGHLIGHT, kSelection}};

// Holds one reference to the colours while it lives.
struct TColorsReference {
  TColorsReference() { vdAddRefOffice11Colors(); }
  ~TColorsReference() { vdReleaseOffice11Colors(); }
};

TEST(Office11System, ClassicColoursFollowTheSystemColours) {
  TPinnedSystemColors pinned(kClassicScheme);
  TColorsReference reference;
  if (vdIsOffice11Themed()) GTEST_SKIP() << "a known colour scheme is running";
  EXPECT_EQ(COLORREF(vdOffice11FaceColor), kFace);
  EXPECT_EQ(vdOffice11HotColor1, vdNearestScreenColor(vdBlendRGB(kFace, kSelection, kWindow, -2, 30, 72)));
  EXPECT_EQ(vdOffice11GradientBeginColor, vdMixColors(clBtnFace, clWindow, 22));
  EXPECT_EQ(vdBlendSystemColors(14, 44, 40), vdBlendRGB(kFace, kSelection, kWindow, 14, 44, 40));

  // A white face: the blends give the highlight; the refresh makes the
  // grip brushes again in the new colours.
  TPinnedSystemColors white({{COLOR_BTNFACE, RGB(255, 255, 255)}});
  vdRefreshOffice11Colors();
  EXPECT_EQ(vdOffice11HotColor1, vdNearestScreenColor(TColor(kSelection)));
  EXPECT_EQ(COLORREF(vdOffice11FaceColor), RGB(255, 255, 255));
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObject(vdOffice11GripLightBrush(), sizeof(brush), &brush));
  EXPECT_EQ(brush.lbColor, COLORREF(vdOffice11GripLightColor));
}

TEST(Office11System, ResourcesLiveFromTheFirstReferenceToTheLastRelease) {
  EXPECT_EQ(vdOffice11ExpandButtonBitmap(true), nullptr);
  {
    TColorsReference outer;
    {
      TColorsReference inner;
    }
    for (bool expanded : {false, true}) {
      BITMAP info{};
      ASSERT_TRUE(GetObject(vdOffice11ExpandButtonBitmap(expanded), sizeof(info), &info));
      EXPECT_EQ(info.bmWidth, 11);
      EXPECT_EQ(info.bmHeight, 11);
      EXPECT_EQ(info.bmBitsPixel, 8);
    }
    EXPECT_NE(vdOffice11ExpandButtonBitmap(true), vdOffice11ExpandButtonBitmap(false));
    EXPECT_NE(vdOffice11GripDarkBrush(), nullptr);
  }
  EXPECT_EQ(vdOffice11ExpandButtonBitmap(false), nullptr);
  EXPECT_EQ(vdOffice11GripDarkBrush(), nullptr);
}

// Outside the module the gradient is drawn in bands, inside it by msimg32:
// both run the same way.
TEST(Office11System, GradientRunsFromTheFirstColourToTheSecond) {
  for (const bool bound : {false, true}) {
    SCOPED_TRACE(bound ? "GradientFill" : "bands");
    if (bound) vdOffice11Initialize();
    EXPECT_EQ(vdOffice11GradientFillBound(), bound);
    TPainterPicture picture(120, 20);
    vdFillRectGradient(picture.DC(), {10, 0, 110, 10}, RGB(0, 0, 0), RGB(200, 100, 0), true);
    EXPECT_LE(GetRValue(picture.At(10, 5)), 2);
    EXPECT_GE(GetRValue(picture.At(109, 5)), 197);
    EXPECT_EQ(picture.At(9, 5), RGB(255, 255, 255));
    EXPECT_EQ(picture.At(110, 5), RGB(255, 255, 255));
    for (int x = 11; x < 110; ++x) EXPECT_GE(GetRValue(picture.At(x, 5)), GetRValue(picture.At(x - 1, 5))) << x;
    // Vertical, top to bottom; equal colours are a plain fill.
    vdFillRectGradient(picture.DC(), {0, 10, 4, 20}, RGB(0, 0, 0), RGB(0, 0, 250), false);
    EXPECT_LT(GetBValue(picture.At(2, 10)), GetBValue(picture.At(2, 19)));
    EXPECT_EQ(GetBValue(picture.At(0, 10)), GetBValue(picture.At(3, 10)));
    vdFillRectGradient(picture.DC(), {50, 12, 60, 20}, clBtnFace, clBtnFace, true);
    EXPECT_EQ(picture.At(50, 12), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(picture.At(59, 19), GetSysColor(COLOR_BTNFACE));
    if (bound) vdOffice11Finalize();
  }
}

TEST(Office11System, SizeGripDrawsSixDarkDotsWithLightShadows) {
  constexpr COLORREF kDark = RGB(1, 2, 3), kLight = RGB(200, 0, 0);
  TPainterPicture picture(14, 14);
  vdDrawOffice11SizeGrip(picture.DC(), {0, 0, 12, 12}, TColor(kDark), TColor(kLight));
  EXPECT_EQ(picture.Count(kDark), 6 * 4);
  EXPECT_EQ(picture.Count(kLight), 6 * 3);
  // The bottom-right dot: dark at (8, 9)-(9, 10), its shadow out to (10, 11).
  EXPECT_EQ(picture.At(8, 9), kDark);
  EXPECT_EQ(picture.At(9, 10), kDark);
  EXPECT_EQ(picture.At(10, 11), kLight);
  // The lone top dot stands at the right; the top-left stays clear.
  EXPECT_EQ(picture.At(8, 1), kDark);
  EXPECT_EQ(picture.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(picture.At(4, 1), RGB(255, 255, 255));

  // The module brushes stand in for missing ones.
  TColorsReference reference;
  TPainterPicture row(12, 4);
  vdDrawOffice11GripDots(row.DC(), {0, 0, 12, 4}, false, nullptr, nullptr);
  EXPECT_EQ(row.At(4, 0), COLORREF(vdOffice11GripDarkColor));
  EXPECT_EQ(row.At(6, 2), COLORREF(vdOffice11GripLightColor));
}

}  // namespace
