// Glyph and caption placement of the push button. Along the layout axis
// (x for a glyph left or right of the caption, y above or below it) the
// button holds margin, glyph, spacing and caption; across it both are
// centred. A margin or spacing of -1 takes an even share of the free room.
#include "foundation/vxButtonsLayout.h"

#include <algorithm>

int vxNumGlyphsForBitmap(int width, int height) {
  if (height <= 0 || width % height != 0) return 1;
  const int count = width / height;
  return count >= 1 && count < 5 ? count : 1;
}

TvxGlyphSlot vxGlyphSlotForState(int buttonState, int numGlyphs) {
  switch (buttonState) {
    case vxButtonStateDisabled: return gsDisabled;
    case vxButtonStatePressed: return numGlyphs < 3 ? gsUp : gsPressed;
    default: return gsUp;
  }
}

int vxGlyphStripSegment(TvxGlyphSlot slot, int numGlyphs) { return slot < numGlyphs ? slot : 0; }

TRect vxButtonTextMargins(bool hasGlyph) { return hasGlyph ? TRect() : TRect(1, 0, 2, 0); }

namespace {

bool Horizontal(TvxButtonLayout layout) { return layout == blGlyphLeft || layout == blGlyphRight; }

// Right-to-left reading puts a glyph that leads the caption on its right.
TvxButtonLayout Mirrored(TvxButtonLayout layout, bool rightToLeft) {
  if (!rightToLeft) return layout;
  if (layout == blGlyphLeft) return blGlyphRight;
  if (layout == blGlyphRight) return blGlyphLeft;
  return layout;
}

}  // namespace

TRect vxButtonCaptionMeasureRect(const TRect& client, TvxButtonLayout layout, bool rightToLeft, int glyphWidth,
                                 int spacing, bool hasGlyph) {
  TRect r(0, 0, client.Width(), 0);
  if (Horizontal(Mirrored(layout, rightToLeft))) r.Right -= glyphWidth + spacing;
  const TRect m = vxButtonTextMargins(hasGlyph);
  return TRect(r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom);
}

TvxButtonGlyphPlace vxPlaceButtonGlyph(const TRect& client, TvxButtonLayout layout, bool rightToLeft,
                                       TSize glyphSize, bool hasCaption, const TRect& measured, int margin,
                                       int spacing, TPoint offset) {
  layout = Mirrored(layout, rightToLeft);
  const bool hasGlyph = glyphSize.cx > 0 || glyphSize.cy > 0;
  TRect text;
  TSize textSize;
  if (hasCaption) {
    const TRect m = vxButtonTextMargins(hasGlyph);
    text = measured;
    textSize = {measured.Width() + m.Left + m.Right, measured.Height() + m.Top + m.Bottom};
  }
  const TSize clientSize{client.Width(), client.Height()};
  TPoint glyphPos, textPos;
  if (Horizontal(layout)) {
    glyphPos.Y = (clientSize.cy - glyphSize.cy) / 2;
    textPos.Y = (clientSize.cy - textSize.cy - 1) / 2;
  } else {
    glyphPos.X = (clientSize.cx - glyphSize.cx) / 2;
    textPos.X = (clientSize.cx - textSize.cx) / 2;
  }
  if (textSize.cx == 0 || glyphSize.cx == 0) spacing = 0;

  const int room = Horizontal(layout) ? clientSize.cx : clientSize.cy;
  const int glyphLength = Horizontal(layout) ? glyphSize.cx : glyphSize.cy;
  const int textLength = Horizontal(layout) ? textSize.cx : textSize.cy;
  if (margin == -1 && spacing == -1) {
    margin = (room - glyphLength - textLength) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (room - glyphLength - spacing - textLength) / 2;
  } else if (spacing == -1) {
    spacing = (room - margin - glyphLength - textLength) / 2;
  }

  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyphSize.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = clientSize.cx - margin - glyphSize.cx;
      textPos.X = glyphPos.X - spacing - textSize.cx;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyphSize.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = clientSize.cy - margin - glyphSize.cy;
      textPos.Y = glyphPos.Y - spacing - textSize.cy;
      break;
  }

  TvxButtonGlyphPlace place;
  place.GlyphPos = {client.Left + glyphPos.X + offset.X, client.Top + glyphPos.Y + offset.Y};
  if (hasCaption) {
    // The pressed offset has equal parts: its x moves the caption both ways.
    const int dx = client.Left + textPos.X + offset.X;
    const int dy = client.Top + textPos.Y + offset.X;
    place.TextRect = TRect(text.Left + dx, text.Top + dy, text.Right + dx, text.Bottom + dy);
  }
  return place;
}

TvxButtonAssignedColor vxButtonColorForState(int buttonState, bool text, TvxButtonAssignedColors assigned) {
  TvxButtonAssignedColor own;
  switch (buttonState) {
    case vxButtonStateDefault: own = vxbcDefault; break;
    case vxButtonStateHot: own = vxbcHot; break;
    case vxButtonStatePressed: own = vxbcPressed; break;
    case vxButtonStateDisabled: own = vxbcDisabled; break;
    default: own = vxbcNormal; break;
  }
  if (text) own = TvxButtonAssignedColor(own + 1);
  if (assigned & vxButtonColorBit(own)) return own;
  const TvxButtonAssignedColor fallBack = buttonState == vxButtonStateNormal ? vxbcDefault : vxbcNormal;
  return text ? TvxButtonAssignedColor(fallBack + 1) : fallBack;
}
