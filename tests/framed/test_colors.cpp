// Colour arithmetic of the framed controls: the 0..240 HSL conversions with
// their quirks (hue over 239, lightening past 240), darkening, lightening,
// closeness, system colours through the resolver, and the text helpers.
#include <gtest/gtest.h>

#include "framed/FmCommonColors.h"
#include "framed/FmSysColors.h"

using namespace fm_colors;

namespace {

constexpr TColor Rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

// Pinned system colours: the button face and shadow of the classic scheme.
uint32_t PinnedSystemColor(TColor c) {
  switch (c & 0xFF) {
    case 15: return uint32_t(Rgb(212, 208, 200));
    case 16: return uint32_t(Rgb(128, 128, 128));
    default: return 0x00FF00FF;
  }
}

class Colors : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemColorResolver(PinnedSystemColor); }
  void TearDown() override { SetSystemColorResolver(nullptr); }
};

TEST_F(Colors, HslConversionsBothWays) {
  struct Case {
    TColor color;
    int h, s, l;
    TColor back;  // the colour the HSL bytes give back
  };
  const Case cases[] = {
      {Rgb(255, 0, 0), 0, 240, 120, Rgb(255, 0, 0)},
      // The hue is divided by 239 on the way back: pure blue drifts.
      {Rgb(0, 0, 255), 160, 240, 120, Rgb(4, 0, 255)},
      {Rgb(128, 128, 128), 0, 0, 120, Rgb(128, 128, 128)},
      {Rgb(212, 208, 200), 27, 29, 194, Rgb(212, 208, 200)},
      {Rgb(10, 36, 106), 149, 199, 55, Rgb(10, 35, 107)},
      {Rgb(60, 120, 200), 143, 134, 122, Rgb(60, 117, 200)},
      {clWhite, 0, 0, 240, clWhite},
      {clBlack, 0, 0, 0, clBlack},
      {clBtnFace, 27, 29, 194, Rgb(212, 208, 200)},
  };
  for (const Case& c : cases) {
    uint8_t h, s, l;
    ColorToHslBytes(c.color, h, s, l);
    EXPECT_EQ(h, c.h) << std::hex << c.color;
    EXPECT_EQ(s, c.s) << std::hex << c.color;
    EXPECT_EQ(l, c.l) << std::hex << c.color;
    EXPECT_EQ(HslBytesToColor(h, s, l), c.back) << std::hex << c.color;
  }
  // A hue byte of 240 lands on sector 6 and is drawn like sector 0.
  EXPECT_EQ(HslBytesToColor(240, 240, 120), Rgb(255, 6, 0));
  EXPECT_EQ(HslBytesToColor(0, 240, 0), clBlack);
}

TEST_F(Colors, DarkenLightenAndShift) {
  struct Case {
    TColor color;
    TColor dark50, light100, light30;
  };
  const Case cases[] = {
      {Rgb(255, 0, 0), Rgb(149, 0, 0), Rgb(255, 212, 212), Rgb(255, 64, 64)},
      {Rgb(128, 128, 128), Rgb(74, 74, 74), Rgb(234, 234, 234), Rgb(159, 159, 159)},
      // Lightness may pass 240; the channels stop at 255.
      {Rgb(212, 208, 200), Rgb(165, 157, 141), clWhite, Rgb(240, 239, 236)},
      {clWhite, Rgb(202, 202, 202), clWhite, clWhite},
      {clBlack, clBlack, Rgb(106, 106, 106), Rgb(32, 32, 32)},
      {clBtnShadow, Rgb(74, 74, 74), Rgb(234, 234, 234), Rgb(159, 159, 159)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DarkenColor(c.color, 50), c.dark50) << std::hex << c.color;
    EXPECT_EQ(LightenColor(c.color, 100), c.light100) << std::hex << c.color;
    EXPECT_EQ(ShiftColorLightness(c.color, 30), c.light30) << std::hex << c.color;
    EXPECT_EQ(ShiftColorLightness(c.color, -50), c.dark50) << std::hex << c.color;
  }
  EXPECT_EQ(DarkenColor(clBlack, 30), clBlack);
  EXPECT_EQ(LightenColor(clWhite, 30), clWhite);
  // Zero leaves even a system colour as it is; any shift resolves it.
  EXPECT_EQ(ShiftColorLightness(clBtnFace, 0), clBtnFace);
  // The amount is a byte: -300 darkens by 44.
  EXPECT_EQ(ShiftColorLightness(Rgb(128, 128, 128), -300), DarkenColor(Rgb(128, 128, 128), 44));
}

TEST_F(Colors, ColorsAreCloseComparesHueAndLightness) {
  EXPECT_TRUE(ColorsAreClose(Rgb(0, 0, 0), Rgb(40, 40, 40)));
  EXPECT_FALSE(ColorsAreClose(Rgb(0, 0, 0), Rgb(70, 70, 70)));    // lightness 66 apart
  EXPECT_FALSE(ColorsAreClose(Rgb(255, 0, 0), Rgb(255, 128, 0)));  // hues 0 and 20
  EXPECT_TRUE(ColorsAreClose(Rgb(255, 0, 0), Rgb(255, 100, 0)));   // hues 0 and 16
  EXPECT_TRUE(ColorsAreClose(clBtnShadow, Rgb(128, 128, 128)));
}

TEST(ColorsWithoutResolver, SystemColoursResolveToBlackAndPlainOnesPass) {
  SetSystemColorResolver(nullptr);
  EXPECT_EQ(ResolveColor(clBtnFace), 0u);
  EXPECT_EQ(ResolveColor(Rgb(1, 2, 3)), uint32_t(Rgb(1, 2, 3)));
}

TEST(TextHelpers, AccelCharsBlankTextsAndBits) {
  EXPECT_EQ(StripAccelChars("&File"), "File");
  EXPECT_EQ(StripAccelChars("Save && Quit"), "Save & Quit");
  EXPECT_EQ(StripAccelChars("End&"), "End&");
  EXPECT_EQ(StripAccelChars("a&&&b"), "a&b");
  EXPECT_EQ(StripAccelChars(""), "");
  EXPECT_EQ(FirstNonBlankChar("  \tx y"), 'x');
  EXPECT_EQ(FirstNonBlankChar("   "), '\0');
  EXPECT_EQ(FirstNonBlankChar(""), '\0');
  const uint32_t bits[2] = {0x80000001u, 0x4u};
  EXPECT_TRUE(IsBitSet(0, bits));
  EXPECT_TRUE(IsBitSet(31, bits));
  EXPECT_FALSE(IsBitSet(1, bits));
  EXPECT_TRUE(IsBitSet(34, bits));
}

}  // namespace
