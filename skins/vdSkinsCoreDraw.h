// Drawing of skin elements: the small drawing context over GDI+ that an
// element draws through, the picture drawing (nine parts stretched or
// tiled, or one part unscaled) and the per-element cache of what an element
// drew at one size.
//
// The element classes' own Draw operations are declared with them in
// vdSkinsCore.h; the geometry they draw with is portable and lives there
// too.
#pragma once

#include <windows.h>

#include <memory>

#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vxGraphicsBitmaps.h"
#include "skins/vdSkinsCore.h"

// A GDI+ graphics object between BeginPaint and EndPaint.
class TvdSkinCanvas {
 public:
  TvdSkinCanvas() = default;
  ~TvdSkinCanvas();
  TvdSkinCanvas(const TvdSkinCanvas&) = delete;
  TvdSkinCanvas& operator=(const TvdSkinCanvas&) = delete;

  // Graphics on dc for drawing into r (buffered where the device needs it).
  void BeginPaint(HDC dc, const TRect& r);
  // Graphics over an existing GDI+ graphics handle, which EndPaint deletes.
  void BeginPaintOnGraphics(Gdiplus::GpGraphics* graphics);
  void EndPaint();

  TvdGPGraphics* Graphics() const { return graphics_.get(); }
  // A solid GDI fill; system colours resolve to their values.
  void FillRect(const TRect& r, TColor color);
  // Solid when the colours are equal or c2 is clNone or clDefault.
  void FillGradientRect(const TRect& r, TColor c1, TvdSkinGradientMode mode, TColor c2);

 private:
  std::unique_ptr<TvdGPGraphics> graphics_;
};

// The picture of image into d, taken from the state rectangle s of its
// picture.
void vdSkinDrawImage(TvdSkinCanvas& canvas, TvdSkinImage& image, const TRect& d, const TRect& s);

// What an element drew last, at one size: a translucent element keeps a GDI+
// bitmap, an opaque one a 32-bit bitmap that is copied with one bit-block
// transfer. The position of the rectangle is not part of the key.
class TvdSkinElementCache {
 public:
  TvdSkinElementCache() = default;
  ~TvdSkinElementCache();
  TvdSkinElementCache(const TvdSkinElementCache&) = delete;
  TvdSkinElementCache& operator=(const TvdSkinElementCache&) = delete;

  void Draw(HDC dc, TvdSkinElement* element, const TRect& r, TvdSkinElementState state, int imageIndex);
  void Flush();
  // How often the cache rendered its element (for the tests).
  int RenderCount() const { return renderCount_; }

 private:
  void CheckCacheState(TvdSkinElement* element, const TRect& r, int imageIndex, TvdSkinElementState state);
  void DrawFromCache(HDC dc, const TRect& r);
  void FreePicture();

  TvdSkinElement* element_ = nullptr;
  TRect rect_;
  int imageIndex_ = 0;
  TvdSkinElementState state_ = esNormal;
  Gdiplus::GpBitmap* gpBitmap_ = nullptr;
  std::unique_ptr<TvxBitmap> bitmap_;
  int renderCount_ = 0;
};
