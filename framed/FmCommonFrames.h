// The frame painters of the framed controls: twelve frame styles on any
// subset of sides, plain and tinted, and the outer/inner/width border of
// labels, panels and progress bars. Each painter returns the rectangle
// left inside what it drew. Portable: they draw lines and pixels on a
// surface, which the windowed part backs with a canvas.
#pragma once

#include "framed/FmCommonColors.h"
#include "framed/FmCommonTypes.h"
#include "platform/Geometry.h"

class TFrameSurface {
 public:
  virtual ~TFrameSurface() = default;
  // A horizontal or vertical line from (x0, y0) towards (x1, y1), the end
  // point left out, in a colour that is never clNone.
  virtual void Line(int x0, int y0, int x1, int y1, TColor color) = 0;
  virtual void Pixel(int x, int y, TColor color) = 0;
};

// Per-side thickness of a style; fsStatus and fsPopup take the bevel width.
int FrameStyleWidth(TFrameStyleEx style, int bevelWidth);
// Bounds shrunk by `by` on each side in sides.
TRect ShrinkSides(const TRect& bounds, TSides sides, int by);

// ul draws the left and top lines, lr the right and bottom ones; clNone
// draws nothing, but the sides still count in the result.
TRect PaintEdgeLines(TFrameSurface& s, const TRect& bounds, TColor ul, TColor lr, TSides sides);
TRect PaintBevelRings(TFrameSurface& s, const TRect& bounds, TColor ul, TColor lr, TSides sides, int count);
TRect PaintFrameStyle(TFrameSurface& s, const TRect& bounds, TFrameStyleEx style, TSides sides = sdAllSides);
TRect PaintTintedFrameStyle(TFrameSurface& s, const TRect& bounds, TColor face, TFrameStyleEx style,
                            TSides sides = sdAllSides);
TRect PaintTintedButtonEdges(TFrameSurface& s, const TRect& bounds, TColor face, bool lowered,
                             TSides sides = sdAllSides);
TRect PaintTwoRingEdge(TFrameSurface& s, const TRect& bounds, bool lowered, TSides sides = sdAllSides);
TRect PaintTwoRingButtonEdge(TFrameSurface& s, const TRect& bounds, bool down, TSides sides = sdAllSides);
TRect PaintBoxOutline(TFrameSurface& s, const TRect& bounds, TColor color);
TRect PaintDottedFocusBox(TFrameSurface& s, const TRect& bounds);
// A 1-pixel line with cut corners, taking 2 pixels of room per side.
TRect PaintRoundedFlatEdges(TFrameSurface& s, const TRect& bounds, TColor color, TSides sides);

struct TOuterInnerFrames {
  TFrameStyleEx BorderOuter = fsNone;
  TFrameStyleEx BorderInner = fsNone;
  int BorderWidth = 0;
  TSides BorderSides = sdAllSides;
  int BevelWidth = 1;
  TColor BorderColor = 0;
  TColor BorderHighlight = 0;
  TColor BorderShadow = 0;
  TColor FlatColor = 0;
  int FlatColorAdjustment = 0;
  TColor Color = 0;
  TColor ParentColor = 0;
  bool Transparent = false;
  bool CutInnerFlatCorners = false;
};
TRect PaintOuterInnerFrames(TFrameSurface& s, const TRect& bounds, const TOuterInnerFrames& f);

// The non-client frame of the framed edits on (0, 0, width, height).
void PaintEditFrame(TFrameSurface& s, int width, int height, TFrameStyleEx style, TColor face, TColor frameColor,
                    TSides sides, bool skipFill);
