// What the painters' source files share: the border bits, line and polygon
// drawing in one colour, the text flags of a content cell, and guards that
// restore the canvas's objects or clip region on every way out.
#pragma once

#include <span>

#include "foundation/vxLookAndFeelPainters.h"

namespace vxpaint {

constexpr TvxBorders Left = vxBorder(bLeft), Top = vxBorder(bTop), Right = vxBorder(bRight),
                     Bottom = vxBorder(bBottom);

// MulDiv(a, 1, 2): halves rounded away from zero.
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

// A solid fill in color through the canvas (clDefault: its brush; clNone:
// nothing).
inline void FillSolid(TvxCanvas* canvas, const TRect& rect, TColor color) { canvas->FillAreaWithColor(rect, color); }

// A one-pixel two-tone border on all four sides.
inline void Ring(TvxCanvas* canvas, const TRect& rect, TColor leftTop, TColor rightBottom) {
  canvas->DrawTwoToneBorders(rect, leftTop, rightBottom, vxAllBorders, 1);
}

// A one-pixel frame of one colour on all four sides.
inline void Frame(TvxCanvas* canvas, const TRect& rect, TColor color) { Ring(canvas, rect, color, color); }

inline void PaintPolyline(TvxCanvas* canvas, std::span<const TPoint> points, TColor color) {
  canvas->PenObject()->SetColor(color);
  canvas->DrawPolylineShape(points.data(), int(points.size()));
}

// Lines along the two long sides of a splitter edge, then the inside moved
// past them: grown along the edge and shrunk across it.
inline TRect SplitterEdgeRing(TvxCanvas* canvas, const TRect& rect, bool horizontal, TColor first, TColor second) {
  canvas->DrawTwoToneBorders(rect, first, second, horizontal ? (Top | Bottom) : (Left | Right), 1);
  return horizontal ? vxInflatedRect(rect, 1, -1) : vxInflatedRect(rect, -1, 1);
}

// The view's colour or bitmap over rect, without a frame.
inline void FillFromViewParams(TvxCanvas* canvas, const TRect& rect, const TvxAreaViewParams& viewParams) {
  canvas->FillAreaWithFrame(rect, viewParams, false, 0, clDefault, 0);
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
// device context: the canvas's brush (and with it the background mode it
// selects) stays as the caller left it.
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
