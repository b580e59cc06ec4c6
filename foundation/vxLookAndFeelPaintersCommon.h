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

// Solid fills straight on the canvas's device context. The platform canvas
// re-selects its font, pen and brush after every change of its brush, which
// costs more than the fill itself; painters fill many small strips in
// alternating colours, so they fill with the system's colour brushes (or
// the DC brush for a plain colour) and leave the canvas's objects alone.
// clDefault fills with the canvas's brush; clNone fills nothing.
void FillSolid(TvxCanvas* canvas, const TRect& rect, TColor color);

// One-pixel strips on the given sides, left and top in one colour, right
// and bottom in the other (drawn in that order), each inside rect.
void TwoTone(TvxCanvas* canvas, const TRect& rect, TColor leftTop, TColor rightBottom, TvxBorders borders);

// The system's 3-D edge colours: raised or sunken, outer or inner.
void Edge(TvxCanvas* canvas, const TRect& rect, bool sunken, bool outer, TvxBorders borders);

// A one-pixel two-tone border on all four sides.
inline void Ring(TvxCanvas* canvas, const TRect& rect, TColor leftTop, TColor rightBottom) {
  TwoTone(canvas, rect, leftTop, rightBottom, vxAllBorders);
}

// Takes font (when given) and colour into the canvas's font, touching the
// canvas only where they differ: each change makes it select its objects
// again.
inline void UseFont(TvxCanvas* canvas, const TFont* font, TColor color) {
  TFont* own = canvas->FontObject();
  if (font && (own->Name() != font->Name() || own->Height() != font->Height() || own->Style() != font->Style() ||
               own->Charset() != font->Charset() || own->Pitch() != font->Pitch() ||
               own->Orientation() != font->Orientation()))
    canvas->AssignFontObject(font);
  own->SetColor(color);
}

// Text written without a background for as long as it lives, set on the
// device context for the same reason as FillSolid.
class TransparentText {
 public:
  explicit TransparentText(TvxCanvas* canvas) : dc_(canvas->DeviceContext()), mode_(SetBkMode(dc_, TRANSPARENT)) {}
  ~TransparentText() { SetBkMode(dc_, mode_); }
  TransparentText(const TransparentText&) = delete;
  TransparentText& operator=(const TransparentText&) = delete;

 private:
  HDC dc_;
  int mode_;
};

inline TRect Inset(const TRect& rect, int by = 1) { return vxInflatedRect(rect, -by, -by); }

// rect moved inward by `by` on each side in sides (outward when negative).
inline TRect ShrinkSides(const TRect& rect, TvxBorders sides, int by) {
  TRect r = rect;
  if (sides & Left) r.Left += by;
  if (sides & Top) r.Top += by;
  if (sides & Right) r.Right -= by;
  if (sides & Bottom) r.Bottom -= by;
  return r;
}

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
