// The push button's glyph and caption placement, the glyph strip's state
// images and the state colours' fall-backs.
#include <gtest/gtest.h>

#include "foundation/vxButtonsLayout.h"

namespace {

TEST(ButtonGlyph, NumGlyphsFromTheStrip) {
  struct Case {
    int width, height, want;
  };
  const Case cases[] = {{64, 16, 4}, {48, 16, 3}, {32, 16, 2}, {16, 16, 1}, {80, 16, 1},
                        {50, 16, 1}, {8, 16, 1},  {0, 16, 1},  {16, 0, 1}};
  for (const Case& c : cases) EXPECT_EQ(vxNumGlyphsForBitmap(c.width, c.height), c.want) << c.width << "x" << c.height;
}

TEST(ButtonGlyph, StateSlotsAndStripSegments) {
  struct Case {
    int state, numGlyphs;
    TvxGlyphSlot slot;
    int segment;
  };
  const Case cases[] = {
      {vxButtonStateDefault, 4, gsUp, 0},       {vxButtonStateNormal, 4, gsUp, 0},
      {vxButtonStateHot, 4, gsUp, 0},           {vxButtonStatePressed, 4, gsPressed, 2},
      {vxButtonStatePressed, 3, gsPressed, 2},  {vxButtonStatePressed, 2, gsUp, 0},
      {vxButtonStateDisabled, 2, gsDisabled, 1}, {vxButtonStateDisabled, 1, gsDisabled, 0},
  };
  for (const Case& c : cases) {
    const TvxGlyphSlot slot = vxGlyphSlotForState(c.state, c.numGlyphs);
    EXPECT_EQ(slot, c.slot) << c.state << "/" << c.numGlyphs;
    EXPECT_EQ(vxGlyphStripSegment(slot, c.numGlyphs), c.segment) << c.state << "/" << c.numGlyphs;
  }
  EXPECT_EQ(vxGlyphStripSegment(gsDown, 4), 3);
  EXPECT_EQ(vxGlyphStripSegment(gsDown, 3), 0);
}

TEST(ButtonGlyph, StateColoursFallBack) {
  const auto bit = vxButtonColorBit;
  struct Case {
    int state;
    bool text;
    TvxButtonAssignedColors assigned;
    TvxButtonAssignedColor want;
  };
  const Case cases[] = {
      {vxButtonStateHot, false, bit(vxbcHot), vxbcHot},
      {vxButtonStateHot, true, bit(vxbcHot), vxbcNormalText},  // the face alone was given
      {vxButtonStateHot, false, 0, vxbcNormal},
      {vxButtonStatePressed, true, bit(vxbcPressedText), vxbcPressedText},
      {vxButtonStateDisabled, false, bit(vxbcNormal), vxbcNormal},
      {vxButtonStateDefault, false, 0, vxbcNormal},
      {vxButtonStateDefault, true, bit(vxbcDefaultText), vxbcDefaultText},
      // An unassigned normal colour shows the default one.
      {vxButtonStateNormal, false, bit(vxbcDefault), vxbcDefault},
      {vxButtonStateNormal, true, 0, vxbcDefaultText},
      {vxButtonStateNormal, false, bit(vxbcNormal), vxbcNormal},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vxButtonColorForState(c.state, c.text, c.assigned), c.want) << c.state << (c.text ? " text" : "");
}

// A caption measured as w x h in the rectangle the button would measure in.
TRect Measured(const TRect& client, TvxButtonLayout layout, bool rtl, TSize glyph, int spacing, int w, int h) {
  const TRect r = vxButtonCaptionMeasureRect(client, layout, rtl, glyph.cx, spacing, glyph.cx > 0);
  return TRect(r.Left, r.Top, r.Left + w, r.Top + h);
}

TEST(ButtonGlyph, PlacesGlyphAndCaption) {
  const TRect client(2, 2, 102, 32);  // 100 x 30
  struct Case {
    const char* name;
    TvxButtonLayout layout;
    bool rtl;
    TSize glyph;
    int captionWidth;  // 0: no caption
    int margin, spacing;
    TPoint offset;
    TPoint glyphPos;
    TRect text;
  };
  const Case cases[] = {
      // Margin and spacing -1: margin, glyph, spacing and caption evenly,
      // (100 - 16 - 40) / 3 = 14 each; the caption 1 pixel
      // above the centre.
      {"even", blGlyphLeft, false, {16, 16}, 40, -1, -1, {}, {16, 9}, {46, 10, 86, 23}},
      // The default margin centres glyph, spacing 4 and caption together.
      {"centred", blGlyphLeft, false, {16, 16}, 40, -1, 4, {}, {22, 9}, {42, 10, 82, 23}},
      {"right", blGlyphRight, false, {16, 16}, 40, 5, 4, {}, {81, 9}, {37, 10, 77, 23}},
      // Right-to-left reading puts a leading glyph on the right.
      {"right to left", blGlyphLeft, true, {16, 16}, 40, 5, 4, {}, {81, 9}, {37, 10, 77, 23}},
      // Spacing -1 alone takes half of what the margin leaves.
      {"spacing shared", blGlyphLeft, false, {16, 16}, 40, 5, -1, {}, {7, 9}, {42, 10, 82, 23}},
      // Right-to-left reading puts a trailing glyph on the left.
      {"right to left, glyph right", blGlyphRight, true, {16, 16}, 40, 5, 4, {}, {7, 9}, {27, 10, 67, 23}},
      {"top", blGlyphTop, false, {16, 16}, 40, 1, 2, {}, {44, 3}, {32, 21, 72, 34}},
      // Vertically even: (30 - 16 - 13) / 3 rounds to no margin at all.
      {"top even", blGlyphTop, false, {16, 16}, 40, -1, -1, {}, {44, 2}, {32, 18, 72, 31}},
      {"bottom", blGlyphBottom, false, {16, 16}, 40, 1, 2, {}, {44, 15}, {32, 0, 72, 13}},
      // Without a glyph the caption keeps 1 pixel left and 2 right free,
      // and the spacing drops out.
      {"caption only", blGlyphLeft, false, {0, 0}, 40, -1, 4, {}, {30, 17}, {31, 10, 71, 23}},
      {"glyph only", blGlyphLeft, false, {16, 16}, 0, -1, 4, {}, {44, 9}, {}},
      // The pressed offset moves the caption by its x on both axes.
      {"pressed", blGlyphLeft, false, {16, 16}, 40, -1, 4, {1, 1}, {23, 10}, {43, 11, 83, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool hasCaption = c.captionWidth > 0;
    const TRect measured = hasCaption ? Measured(client, c.layout, c.rtl, c.glyph, c.spacing, c.captionWidth, 13) : TRect();
    const auto place = vxPlaceButtonGlyph(client, c.layout, c.rtl, c.glyph, hasCaption, measured, c.margin, c.spacing, c.offset);
    EXPECT_EQ(place.GlyphPos, c.glyphPos);
    EXPECT_EQ(place.TextRect, c.text);
  }
}

TEST(ButtonGlyph, CaptionIsMeasuredBesideTheGlyph) {
  const TRect client(0, 0, 100, 30);
  EXPECT_EQ(vxButtonCaptionMeasureRect(client, blGlyphLeft, false, 16, 4, true), TRect(0, 0, 80, 0));
  EXPECT_EQ(vxButtonCaptionMeasureRect(client, blGlyphTop, false, 16, 4, true), TRect(0, 0, 100, 0));
  EXPECT_EQ(vxButtonCaptionMeasureRect(client, blGlyphLeft, false, 0, 4, false), TRect(1, 0, 94, 0));
}

}  // namespace
