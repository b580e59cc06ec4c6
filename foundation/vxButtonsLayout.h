// Where a push button puts its glyph and caption, which image of a glyph
// strip each state shows, and which of its assigned colours a state falls
// back to. Portable: the button (vxButtons.h) measures the caption and
// draws; this module only places and chooses.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"

enum TvxButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The button states in the painters' order (vxbsDefault .. vxbsDisabled).
constexpr int vxButtonStateDefault = 0;
constexpr int vxButtonStateNormal = 1;
constexpr int vxButtonStateHot = 2;
constexpr int vxButtonStatePressed = 3;
constexpr int vxButtonStateDisabled = 4;

// The images a glyph strip may hold, left to right.
enum TvxGlyphSlot { gsUp = 0, gsDisabled = 1, gsPressed = 2, gsDown = 3 };

// A strip of width / height square images when that is a whole 1 to 4,
// else one image.
int vxNumGlyphsForBitmap(int width, int height);
TvxGlyphSlot vxGlyphSlotForState(int buttonState, int numGlyphs);
// The image of the strip a slot copies: the slot's own when the strip has
// it, else the up image.
int vxGlyphStripSegment(TvxGlyphSlot slot, int numGlyphs);

// The space kept free around a caption: none beside a glyph, 1 pixel left
// and 2 right without one.
TRect vxButtonTextMargins(bool hasGlyph);
// The rectangle a caption is measured in (DT_CALCRECT), the margins taken
// off: the client's width, less the glyph and spacing beside it.
TRect vxButtonCaptionMeasureRect(const TRect& client, TvxButtonLayout layout, bool rightToLeft, int glyphWidth,
                                 int spacing, bool hasGlyph);

struct TvxButtonGlyphPlace {
  TPoint GlyphPos;
  TRect TextRect;  // empty without a caption
};

// Places glyph and caption inside client. measured is the caption's
// rectangle from vxButtonCaptionMeasureRect after measuring, or empty
// without a caption. margin and spacing of -1 share the free room evenly.
TvxButtonGlyphPlace vxPlaceButtonGlyph(const TRect& client, TvxButtonLayout layout, bool rightToLeft,
                                       TSize glyphSize, bool hasCaption, const TRect& measured, int margin,
                                       int spacing, TPoint offset);

// The ten colours a button may be given, face and text for each state.
enum TvxButtonAssignedColor {
  vxbcDefault,
  vxbcDefaultText,
  vxbcDisabled,
  vxbcDisabledText,
  vxbcHot,
  vxbcHotText,
  vxbcNormal,
  vxbcNormalText,
  vxbcPressed,
  vxbcPressedText
};
using TvxButtonAssignedColors = uint16_t;  // bit (1 << colour) per assigned colour
constexpr TvxButtonAssignedColors vxButtonColorBit(TvxButtonAssignedColor c) { return TvxButtonAssignedColors(1u << c); }

// The colour entry a state paints with: its own when assigned; else the
// default entry for the normal state and the normal entry for the others.
TvxButtonAssignedColor vxButtonColorForState(int buttonState, bool text, TvxButtonAssignedColors assigned);
