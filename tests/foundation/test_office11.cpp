// The Office 2003 colour schemes: detection from what the theme service
// reports, the scheme tables and fallback formulas, the colour arithmetic,
// and the layouts of gradient bands and grip dots.
#include <gtest/gtest.h>

#include "foundation/vdOffice11.h"

namespace {

TvdRGBColor Same(TvdRGBColor c) { return c; }

TEST(Office11Scheme, DetectionTable) {
  struct Case {
    bool styles;
    std::u16string_view file, color;
    uint32_t version;
    TvdOffice11Scheme want;
  } cases[] = {
      {true, u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", u"NormalColor", 5, vdo11Blue},
      {true, u"C:\\WINDOWS\\Resources\\Themes\\Luna\\luna.msstyles", u"homestead", 5, vdo11Olive},
      {true, u"luna.MSSTYLES", u"Metallic", 5, vdo11Silver},
      {true, u"C:\\Themes\\Luna\\Luna.msstyles", u"Silver", 5, vdo11None},
      // No visual styles: nothing else is looked at.
      {false, u"C:\\Themes\\Luna\\Luna.msstyles", u"NormalColor", 5, vdo11None},
      // Another theme file counts only from version 6 on.
      {true, u"C:\\Windows\\Resources\\Themes\\Aero\\Aero.msstyles", u"NormalColor", 5, vdo11None},
      {true, u"C:\\Windows\\Resources\\Themes\\Aero\\Aero.msstyles", u"NormalColor", 6, vdo11Blue},
      {true, u"C:\\Windows\\Resources\\Themes\\light.msstyles", u"Metallic", 10, vdo11Silver},
      {true, u"C:\\Windows\\Resources\\Themes\\light.msstyles", u"", 10, vdo11None},
      // The path is not part of the name: a folder called LUNA.MSSTYLES is no theme file.
      {true, u"C:\\LUNA.MSSTYLES\\other.msstyles", u"NormalColor", 5, vdo11None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vdOffice11SchemeOf(c.styles, c.file, c.color, c.version), c.want)
        << std::string(c.file.begin(), c.file.end()) << " / " << std::string(c.color.begin(), c.color.end());
}

TEST(Office11Colors, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, want;
  } cases[] = {{10, 3, 4, 8}, {-10, 3, 4, -8}, {7, -1, 2, -4}, {7, 1, -2, -4}, {192, 22, 100, 42},
               {153, 50, 100, 77}, {5, 1, 0, -1}, {2000000000, 2, 4, 1000000000}};
  for (const Case& c : cases) EXPECT_EQ(vdMulDiv(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Office11Colors, MixesAndBlends) {
  // Channel by channel; a sum above 255 is cut there.
  EXPECT_EQ(vdMixRGB(0xC0C0C0, 0xFFFFFF, 22), 0xF1F1F1);
  EXPECT_EQ(vdMixRGB(0x000000, 0xFF8040, 100), 0x000000);
  EXPECT_EQ(vdMixRGB(0x0000FF, 0xFF0000, 50), 0x800080);
  EXPECT_EQ(vdMixRGB(0xFFFFFF, 0xFFFFFF, 50), 0xFFFFFF);
  EXPECT_EQ(vdMixRGB(0x913500, 0xE0A47B, 50), 0xB96D3E);
  // Outside 0..100 one colour weighs negatively; channels stay in range.
  EXPECT_EQ(vdMixRGB(0x000000, 0x80FF40, 150), 0x000000);
  EXPECT_EQ(vdMixRGB(0x80FF40, 0x000000, 150), 0xC0FF60);
  // Negative weights and clamping at both ends.
  EXPECT_EQ(vdBlendRGB(0xC0C0C0, 0x800000, 0xFFFFFF, -2, 30, 72), 0xDAB4B4);
  EXPECT_EQ(vdBlendRGB(0xC0C0C0, 0x800000, 0xFFFFFF, 14, 44, 40), 0xB98181);
  EXPECT_EQ(vdBlendRGB(0x404040, 0x000000, 0xFFFFFF, -100, 0, 100), 0xBFBFBF);
  EXPECT_EQ(vdBlendRGB(0x808080, 0x000000, 0xFFFFFF, 100, 0, 100), 0xFFFFFF);
  EXPECT_EQ(vdBlendRGB(0x808080, 0x000000, 0x000000, -50, 0, 0), 0x000000);
  // A pure black or white face has nothing to blend with: the highlight.
  EXPECT_EQ(vdBlendRGB(0xFFFFFF, 0x6A240A, 0xFFFFFF, -2, 30, 72), 0x6A240A);
  EXPECT_EQ(vdBlendRGB(0x000000, 0x6A240A, 0xFFFFFF, 14, 44, 40), 0x6A240A);
}

const TvdOffice11SystemColors kClassic{.BtnFace = 0xC0C0C0, .BtnShadow = 0x808080, .BtnHighlight = 0xFFFFFF,
                                       .BtnText = 0x000000, .Window = 0xFFFFFF, .Highlight = 0x800000,
                                       .GrayText = 0x808080};

TEST(Office11Colors, FallbackFormulasOverTheSystemColors) {
  const TvdOffice11Colors c = vdOffice11ColorsFor(vdo11None, false, kClassic, Same);
  const TvdOffice11Colors want{
      .GradientBegin = 0xF1F1F1, .GradientEnd = 0xC2C2C2, .Face = 0xC0C0C0, .LightFace = 0xF2F2F2,
      .GripDark = 0x9E9E9E, .GripLight = 0xFFFFFF, .DarkLine = 0xA7A7A7, .LightLine = 0xFFFFFF,
      .Shadow = 0x808080, .LightText = 0xFFFFFF, .Border = 0x808080, .SelectionFrame = 0x800000,
      .Hot1 = 0xDAB4B4, .Hot2 = 0xDAB4B4, .Pressed1 = 0xB98181, .Pressed2 = 0xB98181, .Glyph = 0x000000,
      .DisabledGlyph = 0x808080, .GroupRow = 0xC0C0C0, .SelectedDay = 0xD7C9C9, .SchedulerBackground = 0xC0C0C0,
      .SchedulerFrame = 0x808080, .GroupRowContent = 0xC0C0C0, .GroupRowText = 0x808080,
      .GroupRowSeparator = 0x808080, .HeaderShade = 0xA0A0A0};
  EXPECT_EQ(c, want);

  // A white face: every blend is the highlight.
  TvdOffice11SystemColors white = kClassic;
  white.BtnFace = 0xFFFFFF;
  const TvdOffice11Colors w = vdOffice11ColorsFor(vdo11None, false, white, Same);
  EXPECT_EQ(w.Hot1, 0x800000);
  EXPECT_EQ(w.Pressed2, 0x800000);
  EXPECT_EQ(w.SelectedDay, 0x800000);
}

TEST(Office11Colors, MixesAndSelectionBlendsGoThroughTheScreenMapping) {
  // A screen that keeps only the top three bits of each channel.
  auto coarse = [](TvdRGBColor c) { return TvdRGBColor(uint32_t(c) & 0xE0E0E0); };
  const TvdOffice11Colors c = vdOffice11ColorsFor(vdo11None, false, kClassic, coarse);
  EXPECT_EQ(c.GradientBegin, 0xE0E0E0);
  EXPECT_EQ(c.Hot1, 0xC0A0A0);
  EXPECT_EQ(c.Pressed1, 0xA08080);
  EXPECT_EQ(c.HeaderShade, 0xA0A0A0);
  // The selected day is the one blend that is not mapped.
  EXPECT_EQ(c.SelectedDay, 0xD7C9C9);
  // System colours are taken as they are.
  EXPECT_EQ(c.Face, 0xC0C0C0);
}

TEST(Office11Colors, SchemeTables) {
  struct Case {
    TvdOffice11Scheme scheme;
    TvdRGBColor face, selectionFrame, lightLine, schedulerFrame, headerShade;
  } cases[] = {
      {vdo11Blue, 0xF5BE9E, 0x800000, 0xFFF9F1, 0x962D00, 0xB96D3E},
      {vdo11Olive, 0xA7D9D9, 0x385D3F, 0xDEF7F4, 0x588060, 0x7E9E8B},
      {vdo11Silver, 0xE5D7D7, 0x6F4B4B, 0xFFFFFF, 0x947C7C, 0xA18385},
  };
  for (const Case& k : cases) {
    const TvdOffice11Colors c = vdOffice11ColorsFor(k.scheme, true, kClassic, Same);
    EXPECT_EQ(c.Face, k.face) << int(k.scheme);
    EXPECT_EQ(c.SelectionFrame, k.selectionFrame) << int(k.scheme);
    EXPECT_EQ(c.LightLine, k.lightLine) << int(k.scheme);
    EXPECT_EQ(c.SchedulerFrame, k.schedulerFrame) << int(k.scheme);
    EXPECT_EQ(c.HeaderShade, k.headerShade) << int(k.scheme);
    // The colours shared by all three schemes.
    EXPECT_EQ(c.Hot1, 0xCCF4FF);
    EXPECT_EQ(c.Pressed2, 0x4E91FE);
    EXPECT_EQ(c.DisabledGlyph, 0x8D8D8D);
    EXPECT_EQ(c.GroupRowContent, 0xC9EEFD);
  }
  // A known scheme without the themed flag falls back to the formulas.
  EXPECT_EQ(vdOffice11ColorsFor(vdo11Blue, false, kClassic, Same),
            vdOffice11ColorsFor(vdo11None, false, kClassic, Same));
}

TEST(Office11Colors, StoredStateIsWhatTheVariablesRead) {
  const TvdOffice11Colors olive = vdOffice11ColorsFor(vdo11Olive, true, kClassic, Same);
  vdOffice11Store(vdo11Olive, true, olive);
  EXPECT_EQ(vdCurrentOffice11Scheme(), vdo11Olive);
  EXPECT_TRUE(vdIsOffice11Themed());
  EXPECT_EQ(vdOffice11FaceColor, 0xA7D9D9);
  EXPECT_EQ(vdOffice11GroupRowTextColor, 0x548973);
  EXPECT_EQ(vdOffice11HeaderShadeColor, olive.HeaderShade);
  vdOffice11Store(vdo11None, false, vdOffice11ColorsFor(vdo11None, false, kClassic, Same));
  EXPECT_FALSE(vdIsOffice11Themed());
  EXPECT_EQ(vdOffice11FaceColor, 0xC0C0C0);
}

TEST(Office11Gradient, BandsAreCappedAndReachBothColours) {
  const auto bands = vdGradientBands({0, 0, 1000, 5}, 0x000000, 0xFF00FF, true);
  ASSERT_EQ(bands.size(), size_t(vdMaxGradientBands));
  EXPECT_EQ(bands.front().Color, 0x000000);
  EXPECT_EQ(bands.back().Color, 0xFF00FF);
  int x = 0;
  for (const TvdGradientBand& band : bands) {
    EXPECT_EQ(band.Rect.Left, x);
    EXPECT_TRUE(band.Rect.Width() == 3 || band.Rect.Width() == 4) << band.Rect.Left;
    EXPECT_EQ(band.Rect.Top, 0);
    EXPECT_EQ(band.Rect.Bottom, 5);
    x = band.Rect.Right;
  }
  EXPECT_EQ(x, 1000);

  // Vertical, one band per row below the cap; the middle row halfway.
  const auto rows = vdGradientBands({2, 10, 6, 13}, 0x000000, 0x0000C8, false);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (TvdGradientBand{{2, 11, 6, 12}, 0x000064}));
  EXPECT_EQ(rows[2].Color, 0x0000C8);

  // One pixel is one band in the first colour; nothing for no extent.
  const auto single = vdGradientBands({0, 0, 1, 8}, 0x123456, 0xABCDEF, true);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0], (TvdGradientBand{{0, 0, 1, 8}, 0x123456}));
  EXPECT_TRUE(vdGradientBands({5, 0, 5, 8}, 0, 0xFFFFFF, true).empty());
  EXPECT_TRUE(vdGradientBands({5, 0, 3, 8}, 0, 0xFFFFFF, true).empty());
}

TEST(Office11Grip, DotCells) {
  struct Case {
    TRect rect;
    bool horizontal;
    std::vector<TPoint> want;
  } cases[] = {
      {{0, 0, 12, 3}, false, {{0, 0}, {4, 0}, {8, 0}}},
      // A remainder of 1 moves the first cell by 1, of 2 or 3 by half of it.
      {{0, 0, 13, 3}, false, {{1, 0}, {5, 0}, {9, 0}}},
      {{0, 0, 14, 3}, false, {{1, 0}, {5, 0}, {9, 0}}},
      {{10, 20, 13, 35}, true, {{10, 21}, {10, 25}, {10, 29}}},
      // Too small for a cell: one is drawn all the same.
      {{0, 0, 3, 3}, false, {{1, 0}}},
  };
  for (const Case& c : cases) {
    const auto cells = vdOffice11GripDotCells(c.rect, c.horizontal);
    ASSERT_EQ(cells.size(), c.want.size()) << c.rect.Right;
    for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i], c.want[i]) << c.rect.Right << " cell " << i;
  }
  // The size grip: rows of three, two and one in the bottom-right corner.
  const std::vector<TPoint> grip = vdOffice11SizeGripCells({0, 0, 12, 12});
  const std::vector<TPoint> want = {{0, 9}, {4, 9}, {8, 9}, {4, 5}, {8, 5}, {8, 1}};
  ASSERT_EQ(grip.size(), want.size());
  for (size_t i = 0; i < grip.size(); ++i) EXPECT_EQ(grip[i], want[i]) << i;
}

}  // namespace
