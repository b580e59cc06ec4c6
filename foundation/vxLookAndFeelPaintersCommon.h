// What the painters' source files share: the border bits, line and polygon
// drawing in one colour, the text flags of a content cell, and guards that
// restore the canvas's objects or clip region on every way out.
#pragma once

#include "foundation/vxLookAndFeelPainters.h"

namespace vxpaint {

constexpr TvxBorders Left = vxBorder(bLeft), Top = vxBorder(bTop), Right = vxBorder(bRight),
                     Bottom = vxBorder(bBottom);

// Delphi's MulDiv(a, 1, 2): halves rounded away from zero.
inline int HalfRounded(int value) { return MulDiv(value, 1, 2); }

inline void DrawLine(TvxCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MovePenTo(x1, y1);
  canvas->DrawLineTo(x2, y2);
}

inline void FillPolygonInColor(TvxCanvas* canvas, const TPoint* points, int count, TColor color) {
  canvas->BrushObject()->SetStyle(bsSolid);
  canvas->BrushObject()->SetColor(color);
  canvas->PenObject()->SetColor(color);
  canvas->DrawPolygonShape(points, count);
}

// A one-pixel two-tone border on all four sides.
inline void Ring(TvxCanvas* canvas, const TRect& rect, TColor leftTop, TColor rightBottom) {
  canvas->DrawTwoToneBorders(rect, leftTop, rightBottom, vxAllBorders, 1);
}

inline TRect Inset(const TRect& rect, int by = 1) { return vxInflatedRect(rect, -by, -by); }

inline TvxTextFlags ContentTextFlags(TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                     bool endEllipsis) {
  return TvxTextFlags(vxHorzAlignmentFlags(horzAlignment) | vxVertAlignmentFlags(vertAlignment) |
                      (multiLine ? vxtfWordBreak : vxtfSingleLine) | (endEllipsis ? vxtfEndEllipsis : 0));
}

class SavedCanvasState {
 public:
  explicit SavedCanvasState(TvxCanvas* canvas) : canvas_(canvas) { canvas_->PushCanvasState(); }
  ~SavedCanvasState() { canvas_->PopCanvasState(); }
  SavedCanvasState(const SavedCanvasState&) = delete;
  SavedCanvasState& operator=(const SavedCanvasState&) = delete;

 private:
  TvxCanvas* canvas_;
};

class SavedClip {
 public:
  explicit SavedClip(TvxCanvas* canvas) : canvas_(canvas) { canvas_->PushClipRegion(); }
  ~SavedClip() { canvas_->PopClipRegion(); }
  SavedClip(const SavedClip&) = delete;
  SavedClip& operator=(const SavedClip&) = delete;

 private:
  TvxCanvas* canvas_;
};

}  // namespace vxpaint
