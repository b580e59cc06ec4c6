// Drawing for the skinned controls. TvxCanvas wraps the platform canvas of
// whatever is being painted and adds what the painters need: clip-region
// arithmetic with a save/restore stack, saved DCs and saved font/brush/pen
// states, one-call fills, frames and 3-D edges, and text output with the
// library's own text flags and quarter-turn rotation. TvxRegion owns a GDI
// region and is the canvas's clip currency. Two shared canvases serve text
// measuring without a window (the screen canvas) and painting onto any
// device context (the paint canvas).
//
// The module also holds the free drawing helpers (text in a colour, rotated
// text, GDI object queries, system colour mixes, the cursor size, painting a
// parent's background behind a control), the screen DPI and the run-time
// binding of msimg32's AlphaBlend. Its bitmaps, blending and image list are
// in vxGraphicsBitmaps.h and the headers it includes.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "foundation/vxGeometry.h"
#include "foundation/vxGraphicsText.h"
#include "platform/Interfaces.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TvxImageList;

// --- Shared small types ------------------------------------------------------------

enum TvxBorder { bLeft, bTop, bRight, bBottom };
// A set of TvxBorder, bit 1 << border (bLeft 1, bTop 2, bRight 4, bBottom 8).
using TvxBorders = uint8_t;
constexpr TvxBorders vxBorder(TvxBorder b) { return TvxBorders(1u << b); }
constexpr TvxBorders vxAllBorders = 0x0F;

enum TvxRegionCombineMode { roSet, roAdd, roSubtract, roIntersect };

// The fill behind a frame: a bitmap to tile (may be nil) or a colour.
struct TvxAreaViewParams {
  TBitmap* Bitmap = nullptr;
  TColor Color = clNone;
};

// --- Region ---------------------------------------------------------------------------

class TvxRegion {
 public:
  // An empty region (the rectangle 0, 0, 0, 0).
  TvxRegion();
  // Takes ownership of an existing region handle.
  explicit TvxRegion(HRGN handle);
  explicit TvxRegion(const TRect& rect);
  TvxRegion(int left, int top, int right, int bottom);
  ~TvxRegion();
  TvxRegion(const TvxRegion&) = delete;
  TvxRegion& operator=(const TvxRegion&) = delete;

  static std::unique_ptr<TvxRegion> CreateOnHandle(HRGN handle) { return std::make_unique<TvxRegion>(handle); }
  static std::unique_ptr<TvxRegion> CreateFromRect(const TRect& rect) { return std::make_unique<TvxRegion>(rect); }
  static std::unique_ptr<TvxRegion> CreateFromBounds(int left, int top, int right, int bottom) {
    return std::make_unique<TvxRegion>(left, top, right, bottom);
  }

  HRGN Handle() const { return handle_; }
  bool IsVoid() const;
  void ReleaseHandle();
  // Copy replaces this region by region; the other modes combine in place.
  void CombineWith(const TvxRegion& region, TvxRegionCombineMode mode);
  // The same, freeing region afterwards.
  void CombineWith(std::unique_ptr<TvxRegion> region, TvxRegionCombineMode mode) { CombineWith(*region, mode); }
  // False for nil; two void regions are the same.
  bool SameAs(const TvxRegion* region) const;
  bool SameAsHandle(HRGN region) const;
  void Shift(int dx, int dy);

 private:
  HRGN handle_ = nullptr;
};

// --- Canvas -------------------------------------------------------------------------

class TvxCanvas {
 public:
  // Wraps canvas, which stays the caller's.
  explicit TvxCanvas(TCanvas* canvas);
  virtual ~TvxCanvas();
  TvxCanvas(const TvxCanvas&) = delete;
  TvxCanvas& operator=(const TvxCanvas&) = delete;

  TCanvas* Canvas() const { return canvas_; }

  // The platform canvas's objects and attributes.
  TBrush* BrushObject() { return canvas_->Brush(); }
  TFont* FontObject() { return canvas_->Font(); }
  TPen* PenObject() { return canvas_->Pen(); }
  void AssignBrushObject(const TBrush* brush) { canvas_->Brush()->Assign(brush); }
  void AssignFontObject(const TFont* font) { canvas_->Font()->Assign(font); }
  TCopyMode ReadCopyMode() const { return canvas_->CopyMode(); }
  void WriteCopyMode(TCopyMode mode) { canvas_->SetCopyMode(mode); }
  // The device context, made on demand.
  HDC DeviceContext() { return canvas_->Handle(); }
  void PutPixel(int x, int y, TColor color) { canvas_->SetPixel(x, y, color); }
  void DrawLineTo(int x, int y) { canvas_->LineTo(x, y); }
  void MovePenTo(int x, int y) { canvas_->MoveTo(x, y); }
  void DrawPolygonShape(const TPoint* points, int count) { canvas_->Polygon(points, count); }
  void DrawPolylineShape(const TPoint* points, int count) { canvas_->Polyline(points, count); }
  // Copies with the current copy mode.
  void CopyAreaFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
    canvas_->CopyRect(dest, source, sourceRect);
  }
  void DrawGraphicAt(int x, int y, TGraphic* graphic) { canvas_->Draw(x, y, graphic); }

  // Origins. The DC origin (viewport origin minus window origin) turns
  // logical coordinates into device ones, where GDI keeps the clip.
  TPoint QueryWindowOrigin();
  TPoint QueryViewportOrigin();
  TPoint QueryDCOrigin();
  void ApplyWindowOrigin(const TPoint& origin);

  // Clipping, in logical coordinates.
  void ExcludeRectFromClip(const TRect& rect);
  void IntersectClipWithRect(const TRect& rect);
  bool IsRectangleVisible(const TRect& rect);
  // The DC's clip region, shifted into logical coordinates when
  // considerOrigin. A DC without a clip gives the rectangle (0, 0, 30000,
  // 30000).
  std::unique_ptr<TvxRegion> CopyClipRegion(bool considerOrigin);
  // Copy selects region as the clip; the other modes combine it with the
  // current clip first. The caller's region comes back as it was.
  void ApplyClipRegion(TvxRegion& region, TvxRegionCombineMode mode, bool considerOrigin);
  // The same, freeing region afterwards.
  void ApplyClipRegion(std::unique_ptr<TvxRegion> region, TvxRegionCombineMode mode, bool considerOrigin);
  void PushClipRegion();
  void PopClipRegion();

  // Saved DCs (SaveDC / RestoreDC with the canvas locked meanwhile) and
  // saved font, brush and pen; pushes and pops pair in LIFO order.
  void PushSavedDC();
  void PopSavedDC();
  void PushCanvasState();
  void PopCanvasState();
  // Rebuilds the platform font, brush and pen from what dc has selected.
  void SyncObjectsFromDC(HDC dc);

  // Fills and frames.
  // Sets the brush colour when it differs or the brush is clear.
  void ApplyBrushColor(TColor color);
  // clNone draws nothing; clDefault fills with the current brush.
  void FillAreaWithColor(const TRect& rect, TColor color);
  // Tiles bitmap on a grid anchored at logical (0, 0), or fills with the
  // current brush without one; then optionally takes rect out of the clip.
  void FillAreaWithBitmap(const TRect& rect, TBitmap* bitmap, bool excludeFromClip);
  void FillAreaWithFrame(const TRect& rect, const TvxAreaViewParams& viewParams, bool excludeFromClip,
                         int frameWidth, TColor frameColor, TvxBorders borders);
  // Strips of width on the sides in borders, never outside rect.
  void DrawFrameSides(const TRect& rect, TColor color, int width, TvxBorders borders, bool excludeFromClip);
  // Left and top in one colour, right and bottom in the other, in that
  // order, each strip kept inside rect.
  void DrawTwoToneBorders(const TRect& rect, TColor leftTopColor, TColor rightBottomColor, TvxBorders borders,
                          int width);
  void DrawEdge3D(const TRect& rect, bool sunken, bool outer, TvxBorders borders);
  void DrawFocusFrame(const TRect& rect);
  void InvertArea(const TRect& rect);
  void DrawImageListImage(TvxImageList* images, int x, int y, int index, bool enabled);

  // Text (vxGraphicsText.h has the flags).
  void OutputText(const String& text, const TRect& rect, TvxTextFlags flags, bool enabled = true) {
    OutputTextEx(text, rect, flags, enabled, raNone);
  }
  void OutputTextEx(const String& text, const TRect& rect, TvxTextFlags flags, bool enabled, TvxRotation rotation);
  // Moves rect's top so that text sits at the bottom (alignment 1) or in
  // the middle (2) of it; 0 leaves rect as it is.
  void PlaceTextVertically(TRect& rect, const String& text, bool endEllipsis, bool noCharBreak, bool enabled,
                           bool showPrefix, bool wordBreak, int alignment);
  TSize MeasureTextSize(const String& text);
  int MeasureTextWidth(const String& text) { return MeasureTextSize(text).cx; }
  int MeasureTextHeight(const String& text) { return MeasureTextSize(text).cy; }
  // The rectangle text needs, placed inside rect as the flags align it.
  void MeasureTextRect(const String& text, TRect& rect, TvxTextFlags flags);
  int LineHeightForFont(const TFont* font);
  // Escapement in degrees.
  void ApplyFontAngle(int angle);

  // Turns a bitmap's pixels in place (as 32 bits per pixel, top-down); a
  // quarter turn swaps its width and height.
  static void RotateBitmap(TBitmap* bitmap, TvxRotation rotation, bool flipVertically);

 protected:
  // For the shared canvases, which make their platform canvas after this.
  void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }

 private:
  // A pushed clip; nil when the DC had none, so that popping it gives back
  // "no clip" rather than a large rectangle.
  std::vector<std::unique_ptr<TvxRegion>> savedRegions_;
  struct TvxDCState {
    HDC DC;
    int SavedIndex;
  };
  struct TvxCanvasState {
    std::unique_ptr<TFont> Font;
    std::unique_ptr<TBrush> Brush;
    std::unique_ptr<TPen> Pen;
  };

  TCanvas* canvas_;
  std::vector<TvxDCState> savedDCs_;
  std::vector<TvxCanvasState> savedStates_;
};

// A platform canvas on the desktop; its DC is released after each use.
class TScreenCanvas : public TCanvas {
 public:
  ~TScreenCanvas() override;
  const char* ClassName() const override { return "TScreenCanvas"; }
  void ReleaseDC();

 protected:
  void CreateHandle() override;

 private:
  HWND desktop_ = nullptr;
  HDC dc_ = nullptr;
};

class TvxScreenCanvas : public TvxCanvas {
 public:
  TvxScreenCanvas();
  ~TvxScreenCanvas() override;
  void ReleaseScreenDC() { screen_->ReleaseDC(); }

 private:
  std::unique_ptr<TScreenCanvas> screen_;
};

// Points at any device context for a while; Begin/End pairs nest, and each
// End gives back the DC, font, brush and pen that were there before.
class TvxPaintCanvas : public TvxCanvas {
 public:
  TvxPaintCanvas();
  ~TvxPaintCanvas() override;
  void BeginPaintOnDC(HDC dc);
  void EndPaintOnDC();

 private:
  struct TvxPaintState {
    HDC PreviousDC;
    HDC DC;
    int SavedIndex;
  };
  std::unique_ptr<TCanvas> own_;
  int counter_ = 0;
  std::vector<TvxPaintState> states_;
};

// The shared canvases, made on first use; nil once the module stops.
TvxScreenCanvas* vxScreenCanvasInstance();
TvxPaintCanvas* vxPaintCanvasInstance();

// --- Drawing helpers --------------------------------------------------------------------

// ExtTextOut at p; count -1 is the whole text.
bool vxTextOutAt(HDC dc, const String& text, const TPoint& p, int count, UINT options, const TRect* rect);
// DrawText in a colour (clDefault keeps the DC's) and background mode, both
// restored afterwards; the text height, 0 on failure.
int vxDrawTextInColor(HDC dc, const String& text, TRect& rect, UINT format, int count, TColor color, int bkMode);
int vxDrawTextOnCanvas(TCanvas* canvas, const String& text, TRect& rect, TColor color, UINT format);
// Rotated text is drawn upright into a bitmap that is turned around it.
int vxDrawRotatedText(TvxCanvas* canvas, const String& text, const TRect& rect, UINT format, TColor color,
                      TvxRotation rotation);
// Measured on the shared screen canvas with font's attributes (and size
// fontSize when not 0).
TSize vxFontTextExtent(const TFont* font, const String& text, int fontSize = 0);
inline int vxFontTextWidth(const TFont* font, const String& text, int fontSize = 0) {
  return vxFontTextExtent(font, text, fontSize).cx;
}
inline int vxFontTextHeight(const TFont* font, const String& text, int fontSize = 0) {
  return vxFontTextExtent(font, text, fontSize).cy;
}
// Character sets whose text must be drawn whole rather than in pieces.
bool vxIsCharsetNeedingWholeText(uint8_t charset, const String& text);

bool vxQueryBitmapInfo(HGDIOBJ handle, BITMAP& data);
bool vxQueryBrushInfo(HGDIOBJ handle, LOGBRUSH& data);
bool vxQueryFontInfo(HGDIOBJ handle, LOGFONTA& data);
bool vxQueryPenInfo(HGDIOBJ handle, LOGPEN& data);

void vxInvalidateWindowRect(HWND wnd, const TRect& rect, bool eraseBackground);
void vxInvalidateWindow(HWND wnd, bool eraseBackground);

bool vxIsGlyphNonEmpty(TBitmap* glyph);
void vxShrinkRectByMargins(TRect& rect, const TRect& margins);
bool vxSameRectSize(const TRect& r1, const TRect& r2);

int vxClampChannel(int value);
TColor vxNearestScreenColor(TColor color);
// Signed percentages of the button face, highlight and window colours.
TColor vxMixSystemColors(int8_t faceWeight, int8_t highlightWeight, int8_t windowWeight);
TColor vxPressedFlatButtonColor();
TColor vxHotFlatButtonColor();
inline bool vxColorsEqual(TColor c1, TColor c2) { return c1 == c2; }
inline TColor vxColorRGBPart(TColor color) { return color & 0xFFFFFF; }

TPoint vxScreenDPI();
TSize vxCurrentCursorSize();

// The bottom row of visible pixels in a 1-bit cursor mask of width x rows
// (DIB rows, bottom row first), or -1 when none; the XOR half of a
// monochrome cursor is looked at when the AND half shows nothing.
int vxCursorMaskLowestRow(const uint8_t* bits, size_t size, int width, int rows);

// Answered by controls whose non-client edge is not to be drawn when they
// are painted as another control's background.
class IvxBorderPaintQuery : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{7EFAF634-E8D2-489D-9603-FCFC03ACA460}");
  virtual bool DrawsBorder() = 0;
};

void vxDrawThemeParentBackground(TWinControl* control, TvxCanvas* canvas, const TRect& rect);
void vxDrawParentBackgroundBehind(TControl* control, TvxCanvas* canvas, const TRect& rect, bool drawSiblings);
void vxPaintControlOnCanvas(TWinControl* control, TvxCanvas* canvas, const TPoint& offset, bool drawChildren,
                            const std::vector<TControl*>& exclusions, bool clipToWindowRegion, bool drawBorder,
                            const TRect& rect);
void vxPaintChildrenOnCanvas(TWinControl* control, TvxCanvas* canvas, bool drawChildren,
                             const std::vector<TControl*>& exclusions, bool clipToWindowRegion);
void vxPaintChildOnCanvas(TWinControl* parent, TWinControl* child, TvxCanvas* canvas, bool drawChildren,
                          const std::vector<TControl*>& exclusions, bool clipToWindowRegion);
void vxDrawNonClientEdgeOnCanvas(TWinControl* control, TvxCanvas* canvas);
void vxClipToWindowRegion(TWinControl* control, TvxCanvas* canvas);

// msimg32's AlphaBlend, nil when the library or the name is missing.
using TvxAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
TvxAlphaBlendProc vxAlphaBlendEntry();

// --- Module ---------------------------------------------------------------------------

void vxGraphicsInitialize();
void vxGraphicsFinalize();

// The module's bitmaps (they carry a TvxCanvas).
#include "foundation/vxGraphicsBitmaps.h"  // IWYU pragma: export
