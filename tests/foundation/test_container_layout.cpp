// The container module's portable rules: the state border-style mapping,
// the border widths, the value bits and names, edge arithmetic, the
// pixels-per-inch scaling of stored fonts, the popup fitting table and the
// search filter's backspace.
#include <gtest/gtest.h>

#include "foundation/vxContainerLayout.h"

namespace {

TEST(ContainerLayout, StateBorderStyleDefaults) {
  struct Case {
    TvxContainerBorderStyle normal, hot, focusedWithoutHotTrack;
  } cases[] = {
      {cbsNone, cbsFlat, cbsNone},           {cbsSingle, cbsThick, cbsSingle},
      {cbsThick, cbsThick, cbsThick},        {cbsFlat, cbs3D, cbsFlat},
      {cbs3D, cbs3D, cbs3D},                 {cbsUltraFlat, cbsUltraFlat, cbsUltraFlat},
      {cbsOffice11, cbsOffice11, cbsOffice11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.normal));
    EXPECT_EQ(vxStateBorderStyleDefault(cssHot, c.normal, true), c.hot);
    EXPECT_EQ(vxStateBorderStyleDefault(cssFocused, c.normal, true), c.hot);
    EXPECT_EQ(vxStateBorderStyleDefault(cssFocused, c.normal, false), c.focusedWithoutHotTrack);
    // The Disabled style keeps the Normal style's border whatever hot
    // tracking says.
    EXPECT_EQ(vxStateBorderStyleDefault(cssDisabled, c.normal, true), c.normal);
  }
}

TEST(ContainerLayout, BorderWidths) {
  struct Case {
    TvxContainerBorderStyle style;
    int plain, skinned;
  } cases[] = {
      {cbsNone, 0, 0}, {cbsSingle, 1, 1}, {cbsThick, 2, 2},      {cbsFlat, 2, 1},
      {cbs3D, 2, 1},   {cbsUltraFlat, 1, 1}, {cbsOffice11, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    EXPECT_EQ(vxBorderStyleWidth(c.style), c.plain);
    EXPECT_EQ(vxPaintedBorderWidth(c.style, false), c.plain);
    EXPECT_EQ(vxPaintedBorderWidth(c.style, true), c.skinned);
  }
}

TEST(ContainerLayout, ValueBitsAndNames) {
  EXPECT_EQ(vxDirectAccessInitialValues,
            vxStyleValueBit(svColor) | vxStyleValueBit(svFont) | vxStyleValueBit(svTextColor) |
                vxStyleValueBit(svTextStyle));
  EXPECT_EQ(vxRootOnlyStyleValues, vxStyleValueBit(svEdges) | vxStyleValueBit(svFont) | vxStyleValueBit(svHotTrack) |
                                       vxStyleValueBit(svShadow) | vxStyleValueBit(svTransparentBorder));
  EXPECT_STREQ(vxContainerStyleValueName(svBorderColor), "BorderColor");
  EXPECT_STREQ(vxContainerStyleValueName(svTransparentBorder), "TransparentBorder");
  EXPECT_EQ(vxContainerStyleValueName(vxContainerStyleValueCount), nullptr);
  EXPECT_EQ(vxContainerStyleValueName(-1), nullptr);
}

TEST(ContainerLayout, EdgeArithmetic) {
  TRect r(10, 10, 20, 20);
  vxGrowRectOnEdges(r, 2, 1 | 8);
  EXPECT_EQ(r, TRect(8, 10, 20, 22));
  r = TRect(10, 10, 20, 20);
  // Shrinking moves the sides that are not named.
  vxShrinkRectOnEdges(r, 2, 1 | 8);
  EXPECT_EQ(r, TRect(10, 12, 18, 20));
}

TEST(ContainerLayout, PixelsPerInchScaling) {
  struct Case {
    int height, stored, screen, expected;
  } cases[] = {
      {-11, 96, 120, -14},   // 13.75 rounds away from zero
      {-12, 96, 120, -15},
      {16, 96, 120, 20},
      {-14, 120, 96, -11},   // read back down
      {-11, 0, 120, -11},    // nothing stored
      {-11, 120, 120, -11},  // same resolution
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    EXPECT_EQ(vxScaleToScreenDpi(c.height, c.stored, c.screen), c.expected);
  }
}

TEST(ContainerLayout, PopupFittingTable) {
  const TRect area(0, 0, 1024, 738);
  struct Case {
    const char* name;
    TPoint p;
    int width, height;
    TvxPopupFit expected;
  } cases[] = {
      {"fits below", {100, 200}, 150, 120, {{100, 200}, 150, 120}},
      {"cut at the bottom", {100, 650}, 150, 120, {{100, 650}, 150, 88}},
      {"cut at the right", {950, 100}, 150, 120, {{950, 100}, 74, 120}},
      {"pushed down from above the top", {100, -40}, 150, 120, {{100, 0}, 150, 80}},
      {"pushed right from the left", {-30, 100}, 150, 120, {{0, 100}, 120, 120}},
      {"too big both ways", {0, 0}, 2000, 1000, {{0, 0}, 1024, 738}},
      // Wholly past the far edges: moved back in, never zero or negative.
      {"past the bottom", {100, 738}, 150, 120, {{100, 618}, 150, 120}},
      {"past the right", {1100, 100}, 150, 120, {{874, 100}, 150, 120}},
      {"past and too big", {100, 800}, 150, 2000, {{100, 0}, 150, 738}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TvxPopupFit fit = vxFitPopupToWorkArea(c.p, c.width, c.height, area);
    EXPECT_EQ(fit.Position, c.expected.Position);
    EXPECT_EQ(fit.Width, c.expected.Width);
    EXPECT_EQ(fit.Height, c.expected.Height);
  }
  // An empty work area still leaves a popup of one pixel.
  const TvxPopupFit tiny = vxFitPopupToWorkArea({5, 5}, 100, 100, TRect(5, 5, 5, 5));
  EXPECT_GE(tiny.Width, 1);
  EXPECT_GE(tiny.Height, 1);
}

TEST(ContainerLayout, FilterBackspaceRemovesWholeCharacters) {
  // 0x81 stands for a lead byte here, as in the double-byte code pages.
  const auto lead = [](unsigned char c) { return c == 0x81; };
  struct Case {
    String before, after;
  } cases[] = {
      {"ab", "a"},
      {"a\x81\x40", "a"},
      {"\x81\x40" "b", "\x81\x40"},
      {"\x81\x81\x40", "\x81\x81"},  // a lead byte as trail byte
      {"", ""},
  };
  for (Case& c : cases) {
    String s = c.before;
    vxRemoveLastFilterChar(s, lead);
    EXPECT_EQ(s, c.after);
  }
}

}  // namespace
