#include "skins/vdSkinsCoreDraw.h"

#include <algorithm>
#include <array>
#include <map>

#include "foundation/vdOffice11.h"
#include "foundation/vxGeometry.h"
#include "foundation/vxGraphicsBlend.h"

using namespace Gdiplus;

#define VD_SKIN_GP(name) vdGpProc<decltype(&DllExports::name)>(gp##name)

namespace {

// A temporary canvas on dc whose paint ends also when drawing throws.
class TvdSkinPaint {
 public:
  TvdSkinPaint(HDC dc, const TRect& r) { canvas_.BeginPaint(dc, r); }
  ~TvdSkinPaint() { canvas_.EndPaint(); }
  TvdSkinCanvas& Canvas() { return canvas_; }

 private:
  TvdSkinCanvas canvas_;
};

bool IsVisibleOn(HDC dc, const TRect& r) {
  const RECT rect = r;
  return !r.IsEmpty() && RectVisible(dc, &rect);
}

}  // namespace

// --- TvdSkinCanvas ---------------------------------------------------------------

TvdSkinCanvas::~TvdSkinCanvas() { EndPaint(); }

void TvdSkinCanvas::BeginPaint(HDC dc, const TRect& r) { graphics_ = vdGpBeginPaint(dc, r); }

void TvdSkinCanvas::BeginPaintOnGraphics(GpGraphics* graphics) { graphics_ = vdGpWrapGraphicsHandle(graphics); }

void TvdSkinCanvas::EndPaint() {
  if (graphics_) vdGpEndPaint(graphics_);
}

void TvdSkinCanvas::FillRect(const TRect& r, TColor color) {
  HDC dc = graphics_->AcquireDC();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  const RECT rect = r;
  ::FillRect(dc, &rect, brush);
  DeleteObject(brush);
  graphics_->ReleaseAcquiredDC(dc);
}

void TvdSkinCanvas::FillGradientRect(const TRect& r, TColor c1, TvdSkinGradientMode mode, TColor c2) {
  if (c1 == c2 || c2 == vdSkinColorNone || c2 == vdSkinColorDefault) {
    FillRect(r, c1);
    return;
  }
  switch (mode) {
    case gmHorizontal:
    case gmVertical: {
      HDC dc = graphics_->AcquireDC();
      vdFillRectGradient(dc, r, c1, c2, mode == gmHorizontal);
      graphics_->ReleaseAcquiredDC(dc);
      break;
    }
    case gmForwardDiagonal:
    case gmBackwardDiagonal:
      vdGpFillGradientRect(graphics_->Handle(), r, vdGpColorFromColor(c1, 255), vdGpColorFromColor(c2, 255),
                           mode == gmForwardDiagonal ? LinearGradientModeForwardDiagonal
                                                     : LinearGradientModeBackwardDiagonal);
      break;
  }
}

// --- Pictures ----------------------------------------------------------------------

// A part scaled by GDI+ loses a row or column at the start of its
// destination under Wine when the scale does not come out even, and samples
// up to a pixel beyond its source, into the neighbouring part. So a scaled
// part is drawn from its own copy framed by one pixel that repeats its edges,
// into a destination one pixel larger all round, with the source widened to
// keep the scale, clipped to the real destination. The copies are made once
// per picture and part.
class TvdSkinPictureParts {
 public:
  // Nil when the part does not lie inside the picture.
  TvdGPImage* Framed(TvdPNGImage& picture, const TRect& part) {
    const std::array<int32_t, 4> key = {part.Left, part.Top, part.Right, part.Bottom};
    auto found = framed_.find(key);
    if (found != framed_.end()) return found->second.get();
    std::unique_ptr<TvdGPImage>& copy = framed_[key];
    const int w = picture.Width(), h = picture.Height();
    if (part.Left < 0 || part.Top < 0 || part.Right > w || part.Bottom > h || part.IsEmpty()) return nullptr;
    const std::vector<uint32_t>& pixels = picture.Image()->Pixels();
    const int pw = part.Width() + 2, ph = part.Height() + 2;
    std::vector<uint32_t> framed(size_t(pw) * size_t(ph));
    for (int y = 0; y < ph; ++y) {
      const int sy = std::clamp(part.Top + y - 1, part.Top, part.Bottom - 1);
      for (int x = 0; x < pw; ++x) {
        const int sx = std::clamp(part.Left + x - 1, part.Left, part.Right - 1);
        framed[size_t(y) * size_t(pw) + size_t(x)] = pixels[size_t(sy) * size_t(w) + size_t(sx)];
      }
    }
    copy = TvdGPImage::CreateFromPixels(pw, ph, framed, true);
    return copy.get();
  }

 private:
  std::map<std::array<int32_t, 4>, std::unique_ptr<TvdGPImage>> framed_;
};

namespace {

// Clipping of a GDI+ graphics, which only this drawing needs: bound from the
// loaded library on first use.
struct TvdSkinGpClip {
  decltype(&DllExports::GdipSetClipRectI) SetClipRect = nullptr;
  decltype(&DllExports::GdipResetClip) ResetClip = nullptr;
  TvdSkinGpClip() {
    HMODULE library = GetModuleHandleA("gdiplus.dll");
    if (!library) return;
    SetClipRect = reinterpret_cast<decltype(SetClipRect)>(
        reinterpret_cast<void*>(GetProcAddress(library, "GdipSetClipRectI")));
    ResetClip = reinterpret_cast<decltype(ResetClip)>(reinterpret_cast<void*>(GetProcAddress(library, "GdipResetClip")));
  }
};

void StretchPart(TvdGPGraphics& graphics, const TvdSkinPicture& picture, const TRect& dest, const TRect& source) {
  TvdPNGImage* image = picture.Image();
  static const TvdSkinGpClip clip;
  if ((dest.Width() == source.Width() && dest.Height() == source.Height()) || !clip.SetClipRect || !clip.ResetClip) {
    graphics.DrawPNGImage(image, dest, source);
    return;
  }
  if (dest.IsEmpty() || !vdGpIsRectVisible(graphics.Handle(), dest)) return;
  std::shared_ptr<TvdSkinPictureParts>& parts = picture.DrawingParts();
  if (!parts) parts = std::make_shared<TvdSkinPictureParts>();
  TvdGPImage* framed = parts->Framed(*image, source);
  if (!framed) return;
  const REAL kx = REAL(source.Width()) / REAL(dest.Width()), ky = REAL(source.Height()) / REAL(dest.Height());
  vdGpCheckStatus(clip.SetClipRect(graphics.Handle(), dest.Left, dest.Top, dest.Width(), dest.Height(),
                                   CombineModeReplace));
  const Status status = VD_SKIN_GP(GdipDrawImageRectRect)(
      graphics.Handle(), framed->Handle(), REAL(dest.Left - 1), REAL(dest.Top - 1), REAL(dest.Width() + 2),
      REAL(dest.Height() + 2), 1 - kx, 1 - ky, REAL(source.Width()) + 2 * kx, REAL(source.Height()) + 2 * ky,
      UnitPixel, nullptr, nullptr, nullptr);
  clip.ResetClip(graphics.Handle());
  vdGpCheckStatus(status);
}

}  // namespace

void vdSkinDrawImage(TvdSkinCanvas& canvas, TvdSkinImage& image, const TRect& d, const TRect& s) {
  TvdPNGImage* picture = image.Picture().Image();
  TvdGPGraphics& graphics = *canvas.Graphics();
  const TvdSkinImagePieces pieces = vdSkinImagePieces(image, d, s);
  if (image.Stretch() == smNoResize) {
    graphics.SetInterpolation(InterpolationModeNearestNeighbor);
  } else {
    graphics.SetInterpolation(InterpolationModeDefault);
  }
  for (int i = 0; i < pieces.Count; ++i) {
    const TvdSkinImagePiece& piece = pieces.Items[size_t(i)];
    if (piece.Gradient)
      canvas.FillGradientRect(piece.Dest, image.GradientBeginColor(), image.Gradient(), image.GradientEndColor());
    else if (!picture)
      continue;
    else if (image.Stretch() == smTile)
      graphics.TilePNGImage(picture, piece.Dest, piece.Source);
    else if (image.Stretch() == smStretch)
      StretchPart(graphics, image.Picture(), piece.Dest, piece.Source);
    else
      graphics.DrawPNGImage(picture, piece.Dest, piece.Source);
  }
}

void TvdSkinImage::DrawEx(TvdSkinCanvas& canvas, const TRect& r, int imageIndex, TvdSkinElementState state) {
  if (IsEmpty()) {
    if (gradientBeginColor_ != vdSkinColorNone)
      canvas.FillGradientRect(vxRectInsideMargins(r, margins_), gradientBeginColor_, gradient_, gradientEndColor_);
    return;
  }
  CheckInfo();
  vdSkinDrawImage(canvas, *this, r, GetImageRect(imageIndex, CheckState(state)));
}

void TvdSkinImage::Draw(HDC dc, const TRect& r, int imageIndex, TvdSkinElementState state) {
  CheckInfo();
  if (partSize_.cx < 1 || partSize_.cy < 1 || !IsVisibleOn(dc, r)) return;
  TvdSkinPaint paint(dc, r);
  DrawEx(paint.Canvas(), r, imageIndex, state);
}

// --- Borders -------------------------------------------------------------------------

void TvdSkinBorder::DrawEx(TvdSkinCanvas& canvas, const TRect& r) const {
  if (color_ != vdSkinColorNone) canvas.FillRect(StripRect(r), color_);
}

void TvdSkinBorder::Draw(HDC dc, const TRect& r) {
  if (color_ == vdSkinColorNone) return;
  TvdSkinPaint paint(dc, r);
  DrawEx(paint.Canvas(), r);
}

void TvdSkinBorders::DrawEx(TvdSkinCanvas& canvas, const TRect& r) const {
  for (int side = 0; side < 4; ++side) (*this)[side].DrawEx(canvas, r);
}

// --- Elements ------------------------------------------------------------------------

void TvdSkinElementCacheFree::operator()(TvdSkinElementCache* cache) const { delete cache; }

void TvdSkinElement::FillBackground(TvdSkinCanvas& canvas, const TRect& r) {
  if (!colorAssigned_) return;
  if (!(image_->IsEmpty() || image_->Stretch() == smNoResize || IsAlphaUsed())) return;
  if (alpha_ == 255) {
    canvas.FillRect(r, color_);
    return;
  }
  GpSolidFill* brush = nullptr;
  vdGpCheckStatus(VD_SKIN_GP(GdipCreateSolidFill)(vdGpColorFromColor(color_, alpha_), &brush));
  const Status status =
      VD_SKIN_GP(GdipFillRectangleI)(canvas.Graphics()->Handle(), brush, r.Left, r.Top, r.Width(), r.Height());
  VD_SKIN_GP(GdipDeleteBrush)(brush);
  vdGpCheckStatus(status);
}

void TvdSkinElement::DrawCore(TvdSkinCanvas& canvas, const TRect& r, int imageIndex, TvdSkinElementState state) {
  FillBackground(canvas, r);
  image_->DrawEx(canvas, r, imageIndex, state);
  borders_->DrawEx(canvas, r);
  glyph_->DrawEx(canvas, vxRectInsideMargins(r, contentOffset_), imageIndex, state);
}

void TvdSkinElement::Draw(HDC dc, const TRect& r, int imageIndex, TvdSkinElementState state) {
  if (!IsVisibleOn(dc, r)) return;
  if (useCache_) {
    if (!cache_) cache_.reset(new TvdSkinElementCache());
    cache_->Draw(dc, this, r, state, imageIndex);
    return;
  }
  TvdSkinPaint paint(dc, r);
  DrawCore(paint.Canvas(), r, imageIndex, state);
}

void TvdSkinElement::FlushCache() {
  if (cache_) cache_->Flush();
}

void TvdSkinEmptyElement::Draw(HDC dc, const TRect& r, int, TvdSkinElementState) {
  const RECT rect = r;
  ::FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FrameRect(dc, &rect, red);
  DeleteObject(red);
}

// --- TvdSkinElementCache -----------------------------------------------------------

TvdSkinElementCache::~TvdSkinElementCache() { FreePicture(); }

void TvdSkinElementCache::Draw(HDC dc, TvdSkinElement* element, const TRect& r, TvdSkinElementState state,
                               int imageIndex) {
  CheckCacheState(element, r, imageIndex, state);
  DrawFromCache(dc, r);
}

void TvdSkinElementCache::CheckCacheState(TvdSkinElement* element, const TRect& r, int imageIndex,
                                          TvdSkinElementState state) {
  if (element == element_ && state == state_ && imageIndex == imageIndex_ && r.Width() == rect_.Width() &&
      r.Height() == rect_.Height())
    return;
  element_ = element;
  rect_ = r;
  state_ = state;
  imageIndex_ = imageIndex;
  FreePicture();
  if (r.IsEmpty()) return;
  const TRect local(0, 0, r.Width(), r.Height());
  ++renderCount_;
  if (element->IsAlphaUsed()) {
    gpBitmap_ = vdGpNewBitmapOfRectSize(RECT(r));
    GpGraphics* graphics = nullptr;
    vdGpCheckStatus(VD_SKIN_GP(GdipGetImageGraphicsContext)(gpBitmap_, &graphics));
    TvdSkinCanvas canvas;
    canvas.BeginPaintOnGraphics(graphics);
    element->DrawCore(canvas, local, imageIndex, state);
  } else {
    bitmap_ = std::make_unique<TvxBitmap>(r, pf32bit);
    TvdSkinCanvas canvas;
    canvas.BeginPaint(bitmap_->Canvas()->Handle(), local);
    element->DrawCore(canvas, local, imageIndex, state);
  }
}

void TvdSkinElementCache::DrawFromCache(HDC dc, const TRect& r) {
  if (bitmap_) {
    vxBitBltRect(dc, bitmap_->Canvas()->Handle(), r, TPoint{0, 0}, SRCCOPY);
  } else if (gpBitmap_) {
    TvdSkinPaint paint(dc, r);
    vdGpCheckStatus(VD_SKIN_GP(GdipDrawImageRectI)(paint.Canvas().Graphics()->Handle(), gpBitmap_, r.Left, r.Top,
                                                   r.Width(), r.Height()));
  }
}

void TvdSkinElementCache::Flush() {
  element_ = nullptr;
  rect_ = TRect();
  FreePicture();
}

void TvdSkinElementCache::FreePicture() {
  bitmap_.reset();
  if (gpBitmap_) {
    vdGpDisposeImage(gpBitmap_);
    gpBitmap_ = nullptr;
  }
}
