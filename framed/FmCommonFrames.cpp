// Frame painting. Lines leave out their end point, as GDI's LineTo does:
// a left line from (L, T) to (L, B) covers rows T..B-1. The right and
// bottom lines sit on R-1 and B-1, inside the bounds.
#include "framed/FmCommonFrames.h"

#include "framed/FmSysColors.h"

using namespace fm_colors;

namespace {

struct TColorPair {
  TColor ul, lr;
};

// The two rings of the raised and lowered styles, outer ring first.
struct TRingColors {
  TColorPair outer, inner;
};

constexpr TRingColors kRaised{{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
constexpr TRingColors kLowered{{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
constexpr TRingColors kButtonUp{{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
constexpr TRingColors kButtonDown{{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};

// The colour pair of the styles drawn from one pair.
TColorPair StylePair(TFrameStyleEx style) {
  switch (style) {
    case fsFlat: return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove: return {clBtnShadow, clBtnHighlight};
    case fsBump: return {clBtnHighlight, clBtnShadow};
    case fsStatus: return {clBtnShadow, clBtnHighlight};
    case fsPopup: return {clBtnHighlight, clBtnShadow};
    default: return {clBtnShadow, clBtnShadow};
  }
}

TRect PaintRings(TFrameSurface& s, const TRect& bounds, const TRingColors& c, TSides sides) {
  const TRect r = PaintEdgeLines(s, bounds, c.outer.ul, c.outer.lr, sides);
  return PaintEdgeLines(s, r, c.inner.ul, c.inner.lr, sides);
}

// A groove (or bump): two offset rectangles of lines, with the corner
// pixels where they cross set so that open ends look cut square.
TRect PaintGroove(TFrameSurface& s, const TRect& b, TColor ul, TColor lr, TSides sides) {
  const bool left = sides & sdLeft, top = sides & sdTop, right = sides & sdRight, bottom = sides & sdBottom;
  if (right) s.Pixel(b.Right - 1, b.Top, lr);
  else if (top) s.Pixel(b.Right - 1, b.Top, ul);
  if (bottom) s.Pixel(b.Left, b.Bottom - 1, lr);
  else if (left) s.Pixel(b.Left, b.Bottom - 1, ul);
  if (top && !left) s.Pixel(b.Left, b.Top + 1, lr);
  if (left && !top) s.Pixel(b.Left + 1, b.Top, lr);
  if (bottom && !right) s.Pixel(b.Right - 1, b.Bottom - 2, ul);
  if (right && !bottom) s.Pixel(b.Right - 2, b.Bottom - 1, ul);
  PaintEdgeLines(s, TRect(b.Left + 1, b.Top + 1, b.Right, b.Bottom), lr, lr, sides);
  PaintEdgeLines(s, TRect(b.Left, b.Top, b.Right - 1, b.Bottom - 1), ul, ul, sides);
  return ShrinkSides(b, sides, 2);
}

TRect PaintRingsOf(TFrameSurface& s, const TRect& r, TColor color, TSides sides, int count) {
  return PaintBevelRings(s, r, color, color, sides, count);
}

}  // namespace

int FrameStyleWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
  }
}

TRect ShrinkSides(const TRect& b, TSides sides, int by) {
  TRect r = b;
  if (sides & sdLeft) r.Left += by;
  if (sides & sdTop) r.Top += by;
  if (sides & sdRight) r.Right -= by;
  if (sides & sdBottom) r.Bottom -= by;
  return r;
}

TRect PaintEdgeLines(TFrameSurface& s, const TRect& b, TColor ul, TColor lr, TSides sides) {
  if (ul != clNone) {
    if (sides & sdLeft) s.Line(b.Left, b.Top, b.Left, b.Bottom, ul);
    if (sides & sdTop) s.Line(b.Left, b.Top, b.Right, b.Top, ul);
  }
  if (lr != clNone) {
    if (sides & sdRight) s.Line(b.Right - 1, b.Top, b.Right - 1, b.Bottom, lr);
    if (sides & sdBottom) s.Line(b.Left, b.Bottom - 1, b.Right, b.Bottom - 1, lr);
  }
  return ShrinkSides(b, sides, 1);
}

TRect PaintBevelRings(TFrameSurface& s, const TRect& bounds, TColor ul, TColor lr, TSides sides, int count) {
  TRect r = bounds;
  for (int i = 0; i < count; ++i) r = PaintEdgeLines(s, r, ul, lr, sides);
  return r;
}

TRect PaintFrameStyle(TFrameSurface& s, const TRect& bounds, TFrameStyleEx style, TSides sides) {
  switch (style) {
    case fsNone: return bounds;
    case fsFlat:
    case fsStatus:
    case fsPopup: {
      const TColorPair c = StylePair(style);
      return PaintEdgeLines(s, bounds, c.ul, c.lr, sides);
    }
    case fsLowered:
    case fsRaised: return PaintTwoRingEdge(s, bounds, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp: return PaintTwoRingButtonEdge(s, bounds, style == fsButtonDown, sides);
    case fsFlatBold: return PaintRingsOf(s, bounds, clBtnShadow, sides, 2);
    case fsGroove:
    case fsBump: {
      const TColorPair c = StylePair(style);
      return PaintGroove(s, bounds, c.ul, c.lr, sides);
    }
    case fsFlatRounded: return PaintRoundedFlatEdges(s, bounds, clBtnShadow, sides);
  }
  return bounds;
}

TRect PaintTintedFrameStyle(TFrameSurface& s, const TRect& bounds, TColor face, TFrameStyleEx style, TSides sides) {
  auto D = [face](uint8_t n) { return DarkenColor(face, n); };
  auto Li = [face](uint8_t n) { return LightenColor(face, n); };
  switch (style) {
    case fsNone: return bounds;
    case fsFlat: return PaintRingsOf(s, bounds, D(50), sides, 1);
    case fsFlatBold: return PaintRingsOf(s, bounds, D(50), sides, 2);
    case fsStatus: return PaintEdgeLines(s, bounds, D(50), Li(100), sides);
    case fsPopup: return PaintEdgeLines(s, bounds, Li(100), D(50), sides);
    case fsLowered: return PaintRings(s, bounds, {{D(50), Li(100)}, {D(100), Li(50)}}, sides);
    case fsRaised: return PaintRings(s, bounds, {{Li(50), D(100)}, {Li(100), D(50)}}, sides);
    case fsButtonUp:
    case fsButtonDown: return PaintTintedButtonEdges(s, bounds, face, style == fsButtonDown, sides);
    case fsGroove: return PaintGroove(s, bounds, D(50), Li(100), sides);
    default: return PaintGroove(s, bounds, Li(100), D(50), sides);
  }
}

TRect PaintTintedButtonEdges(TFrameSurface& s, const TRect& bounds, TColor face, bool lowered, TSides sides) {
  const TColor d50 = DarkenColor(face, 50), d100 = DarkenColor(face, 100);
  if (lowered) return PaintRings(s, bounds, {{d100, d100}, {d50, d50}}, sides);
  return PaintRings(s, bounds, {{LightenColor(face, 100), d100}, {LightenColor(face, 40), d50}}, sides);
}

TRect PaintTwoRingEdge(TFrameSurface& s, const TRect& bounds, bool lowered, TSides sides) {
  return PaintRings(s, bounds, lowered ? kLowered : kRaised, sides);
}

TRect PaintTwoRingButtonEdge(TFrameSurface& s, const TRect& bounds, bool down, TSides sides) {
  return PaintRings(s, bounds, down ? kButtonDown : kButtonUp, sides);
}

TRect PaintBoxOutline(TFrameSurface& s, const TRect& bounds, TColor color) {
  return PaintEdgeLines(s, bounds, color, color, sdAllSides);
}

TRect PaintDottedFocusBox(TFrameSurface& s, const TRect& b) {
  for (int y = b.Top + 1; y < b.Bottom; y += 2) {
    s.Pixel(b.Left, y, clBlack);
    s.Pixel(b.Right - 1, y, clBlack);
  }
  for (int x = b.Left + 1; x < b.Right; x += 2) {
    s.Pixel(x, b.Top, clBlack);
    s.Pixel(x, b.Bottom - 1, clBlack);
  }
  return ShrinkSides(b, sdAllSides, 1);
}

TRect PaintRoundedFlatEdges(TFrameSurface& s, const TRect& b, TColor color, TSides sides) {
  const bool left = sides & sdLeft, top = sides & sdTop, right = sides & sdRight, bottom = sides & sdBottom;
  const int y0 = top ? b.Top + 2 : b.Top, y1 = bottom ? b.Bottom - 2 : b.Bottom;
  const int x0 = left ? b.Left + 2 : b.Left, x1 = right ? b.Right - 2 : b.Right;
  if (left) s.Line(b.Left, y0, b.Left, y1, color);
  if (top) s.Line(x0, b.Top, x1, b.Top, color);
  if (right) s.Line(b.Right - 1, y0, b.Right - 1, y1, color);
  if (bottom) s.Line(x0, b.Bottom - 1, x1, b.Bottom - 1, color);
  if (left && top) s.Pixel(b.Left + 1, b.Top + 1, color);
  if (top && right) s.Pixel(b.Right - 2, b.Top + 1, color);
  if (right && bottom) s.Pixel(b.Right - 2, b.Bottom - 2, color);
  if (bottom && left) s.Pixel(b.Left + 1, b.Bottom - 2, color);
  return TRect(x0, y0, x1, y1);
}

TRect PaintOuterInnerFrames(TFrameSurface& s, const TRect& bounds, const TOuterInnerFrames& f) {
  const TColor fc = ShiftColorLightness(f.FlatColor, f.FlatColorAdjustment);
  const TSides sides = f.BorderSides;
  const bool innerRoom = f.BorderWidth > 0 || f.BorderInner != fsNone;
  TRect r = bounds;

  switch (f.BorderOuter) {
    case fsFlat: r = PaintRingsOf(s, r, fc, sides, 1); break;
    case fsFlatBold: r = PaintRingsOf(s, r, fc, sides, 2); break;
    case fsFlatRounded:
      // The corners cut off by the rounded line show the parent through.
      if (!f.Transparent) {
        const TRect second = PaintRingsOf(s, r, f.ParentColor, sides, 1);
        PaintRingsOf(s, second, innerRoom ? f.BorderColor : f.Color, sides, 1);
      } else if (innerRoom) {
        PaintRingsOf(s, ShrinkSides(r, sdAllSides, 1), f.BorderColor, sides, 1);
      }
      r = PaintRoundedFlatEdges(s, r, fc, sides);
      break;
    case fsPopup: r = PaintBevelRings(s, r, f.BorderHighlight, f.BorderShadow, sides, f.BevelWidth); break;
    case fsStatus: r = PaintBevelRings(s, r, f.BorderShadow, f.BorderHighlight, sides, f.BevelWidth); break;
    default: r = PaintFrameStyle(s, r, f.BorderOuter, sides); break;
  }

  if (f.BorderWidth > 0) r = PaintRingsOf(s, r, f.BorderColor, sides, f.BorderWidth);

  switch (f.BorderInner) {
    case fsFlat:
      if (f.CutInnerFlatCorners) {
        s.Line(r.Left + 1, r.Top, r.Right - 1, r.Top, fc);
        s.Line(r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1, fc);
        s.Line(r.Left, r.Top + 1, r.Left, r.Bottom - 1, fc);
        s.Line(r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1, fc);
        return ShrinkSides(r, sdAllSides, 1);
      }
      return PaintRingsOf(s, r, fc, sides, 1);
    case fsFlatBold: return PaintRingsOf(s, r, fc, sides, 2);
    case fsFlatRounded: {
      const TRect second = PaintRingsOf(s, r, f.BorderColor, sides, 1);
      if (!f.Transparent) PaintRingsOf(s, second, f.Color, sides, 1);
      return PaintRoundedFlatEdges(s, r, fc, sides);
    }
    case fsStatus: return PaintBevelRings(s, r, f.BorderShadow, f.BorderHighlight, sides, f.BevelWidth);
    case fsPopup: return PaintBevelRings(s, r, f.BorderHighlight, f.BorderShadow, sides, f.BevelWidth);
    default: return PaintFrameStyle(s, r, f.BorderInner, sides);
  }
}

void PaintEditFrame(TFrameSurface& s, int width, int height, TFrameStyleEx style, TColor face, TColor frameColor,
                    TSides sides, bool skipFill) {
  const TRect bounds(0, 0, width, height);
  if (!skipFill) PaintRingsOf(s, bounds, face, sdAllSides, 2);
  if (style == fsFlat) PaintRingsOf(s, bounds, frameColor, sides, 1);
  else if (style == fsFlatBold) PaintRingsOf(s, bounds, frameColor, sides, 2);
  else if (face == clWindow) PaintFrameStyle(s, bounds, style, sides);
  else PaintTintedFrameStyle(s, bounds, face, style, sides);
}
