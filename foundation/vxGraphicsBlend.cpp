// Raster copies, alpha blending, resampling and the glyph renderer.
#include "foundation/vxGraphicsBlend.h"

#include <algorithm>
#include <vector>

#include "foundation/vdCore.h"
#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vxGeometry.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxImageList.h"

// --- Creation and copies -------------------------------------------------------------

void vxSetBitmapFormatAndSize(TBitmap* bitmap, int width, int height, TPixelFormat format) {
  bitmap->SetPixelFormat(format);
  bitmap->SetWidth(width);
  bitmap->SetHeight(height);
}

std::unique_ptr<TBitmap> vxCreateBitmapOfFormat(int width, int height, TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>();
  vxSetBitmapFormatAndSize(bitmap.get(), width, height, format);
  return bitmap;
}

std::unique_ptr<TBitmap> vxCreateBitmapOfSize(const TSize& size, TPixelFormat format) {
  return vxCreateBitmapOfFormat(size.cx, size.cy, format);
}

std::unique_ptr<TBitmap> vxCreateBitmapForRect(const TRect& r, TPixelFormat format) {
  return vxCreateBitmapOfFormat(r.Width(), r.Height(), format);
}

void vxBitBltRect(HDC destDC, HDC srcDC, const TRect& destRect, TPoint srcTopLeft, DWORD rop) {
  BitBlt(destDC, destRect.Left, destRect.Top, destRect.Width(), destRect.Height(), srcDC, srcTopLeft.X, srcTopLeft.Y,
         rop);
}

namespace {

// The colour table of a palette bitmap as a logical palette; nullptr for
// bitmaps without one.
HPALETTE PaletteOf(TBitmap* bitmap) {
  const int bits = vdBitsPerPixelOf(*bitmap);
  if (bits > 8 || bitmap->Empty()) return nullptr;
  RGBQUAD table[256];
  const UINT n = GetDIBColorTable(bitmap->Canvas()->Handle(), 0, 1u << bits, table);
  if (n == 0) return nullptr;
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(n);
  for (UINT i = 0; i < n; ++i)
    palette->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  return CreatePalette(palette);
}

}  // namespace

void vxPaintBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, DWORD rop, TPoint srcPoint) {
  HPALETTE palette = GetDeviceCaps(destDC, BITSPIXEL) <= 8 ? PaletteOf(bitmap) : nullptr;
  HPALETTE oldPalette = nullptr;
  if (palette) {
    oldPalette = SelectPalette(destDC, palette, TRUE);
    RealizePalette(destDC);
  }
  vxBitBltBitmapToDC(destDC, bitmap, destRect, rop, srcPoint);
  if (palette) {
    SelectPalette(destDC, oldPalette, TRUE);
    DeleteObject(palette);
  }
}

void vxBitBltBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, DWORD rop, TPoint srcPoint) {
  // Windows 9x leaves garbage in the alpha byte of a 32-bit device.
  if (vdOSFlags().OS9xFamily && GetDeviceCaps(destDC, BITSPIXEL) == 32 && vdBitsPerPixelOf(*bitmap) < 32) {
    TvxAlphaBitmap area(destRect.Width(), destRect.Height());
    vxBitBltRect(area.Canvas()->Handle(), bitmap->Canvas()->Handle(), area.GetFullRect(), srcPoint, SRCCOPY);
    area.ApplyPixelOperation(vxpoClearAlpha);
    vxBitBltRect(destDC, area.Canvas()->Handle(), destRect, TPoint(0, 0), rop);
    return;
  }
  vxBitBltRect(destDC, bitmap->Canvas()->Handle(), destRect, srcPoint, rop);
}

void vxPaintBitmapInto(TBitmap* dest, TBitmap* src) {
  vxPaintBitmapToDC(dest->Canvas()->Handle(), src, TRect(0, 0, dest->Width(), dest->Height()));
  if (auto* vx = dynamic_cast<TvxBitmap*>(dest))
    vx->NotifyChanged();
  else if (dest->OnChange)
    dest->OnChange(dest);
}

std::unique_ptr<TBitmap> vxDuplicateBitmap(TBitmap* bitmap) {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(bitmap);
  return copy;
}

HBITMAP vxDuplicateImageHandle(HBITMAP bitmap) {
  return HBITMAP(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void vxStretchBitmapInto(TBitmap* dest, TBitmap* src) {
  StretchBlt(dest->Canvas()->Handle(), 0, 0, dest->Width(), dest->Height(), src->Canvas()->Handle(), 0, 0,
             src->Width(), src->Height(), SRCCOPY);
}

std::unique_ptr<TvxBitmap32> vxCaptureDCArea(HDC srcDC, const TRect& srcRect) {
  auto area = std::make_unique<TvxBitmap32>(srcRect.Width(), srcRect.Height(), true);
  vxBitBltRect(area->Canvas()->Handle(), srcDC, area->GetFullRect(), srcRect.TopLeft(), SRCCOPY);
  return area;
}

// --- Alpha blending ------------------------------------------------------------------

bool vxAlphaBlendAvailable() { return vxAlphaBlendEntry() != nullptr; }

bool vxAlphaBlendRaw(HDC destDC, HDC srcDC, const TRect& destRect, uint8_t alpha, const TRect& srcRect) {
  const TvxAlphaBlendProc alphaBlend = vxAlphaBlendEntry();
  if (!alphaBlend) return false;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return alphaBlend(destDC, destRect.Left, destRect.Top, destRect.Width(), destRect.Height(), srcDC, srcRect.Left,
                    srcRect.Top, srcRect.Width(), srcRect.Height(), blend) != FALSE;
}

void vxAlphaBlendDCs(HDC destDC, HDC srcDC, const TRect& destRect, uint8_t alpha, bool smooth, const TRect& srcRect) {
  smooth = smooth && (destRect.Width() != srcRect.Width() || destRect.Height() != srcRect.Height());
  const TvdOSFlags& os = vdOSFlags();
  if (!os.Wow64 && !os.OS9xFamily && vxAlphaBlendAvailable() && !smooth) {
    vxAlphaBlendRaw(destDC, srcDC, destRect, alpha, srcRect);
    return;
  }
  if (destRect.Width() <= 0 || destRect.Height() <= 0 || srcRect.Width() <= 0 || srcRect.Height() <= 0) return;
  std::unique_ptr<TvxBitmap32> source = vxCaptureDCArea(srcDC, srcRect);
  if (os.Wow64) {
    std::unique_ptr<TvdGPGraphics> graphics = vdGpBeginPaint(destDC, destRect);
    graphics->SetInterpolation(smooth ? Gdiplus::InterpolationModeHighQualityBicubic : Gdiplus::InterpolationModeLowQuality);
    graphics->DrawBitmap(source.get(), destRect, alpha);
    vdGpEndPaint(graphics);
    return;
  }
  std::unique_ptr<TvxBitmap32> dest = vxCaptureDCArea(destDC, destRect);
  TvxBitmap32 scaled(destRect.Width(), destRect.Height());
  if (smooth)
    vxResampleBitmap(source.get(), &scaled, true);
  else
    vxStretchBitmapInto(&scaled, source.get());
  vxBlendBitmapOnto(dest.get(), &scaled, alpha);
  vxBitBltRect(destDC, dest->Canvas()->Handle(), destRect, TPoint(0, 0), SRCCOPY);
}

void vxAlphaBlendBitmaps(TBitmap* dest, TBitmap* src, const TRect& destRect, uint8_t alpha, bool smooth,
                         const TRect& srcRect) {
  vxAlphaBlendDCs(dest->Canvas()->Handle(), src->Canvas()->Handle(), destRect, alpha, smooth, srcRect);
}

void vxAlphaBlendBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, uint8_t alpha, bool smooth,
                            const TRect& srcRect) {
  vxAlphaBlendDCs(destDC, bitmap->Canvas()->Handle(), destRect, alpha, smooth, srcRect);
}

void vxBlendBitmapOnto(TvxBitmap32* dest, TvxBitmap32* src, uint8_t alpha) {
  if (!vdOSFlags().OS9xFamily && !vdOSFlags().Wow64 &&
      vxAlphaBlendRaw(dest->Canvas()->Handle(), src->Canvas()->Handle(), dest->GetFullRect(), alpha, src->GetFullRect()))
    return;
  vxBlendPixelsByAlpha(dest, src, alpha);
}

void vxBlendPixelsByAlpha(TvxBitmap32* dest, TvxBitmap32* src, uint8_t alpha) {
  std::vector<uint32_t> over, under;
  src->ReadPixels(over);
  dest->ReadPixels(under);
  if (over.size() != under.size()) return;
  for (size_t i = 0; i < under.size(); ++i) under[i] = vxBlendColorOverPixel(over[i], under[i], alpha);
  dest->WritePixels(under);
}

// --- Resampling ----------------------------------------------------------------------

void vxResampleBitmap(TBitmap* src, TBitmap* dest, bool forceSoftware) {
  if (src->Empty() || dest->Empty()) return;
  src->Canvas()->Lock();
  dest->Canvas()->Lock();
  if (vdOSFlags().NTFamily && !forceSoftware) {
    HDC destDC = dest->Canvas()->Handle();
    const int oldMode = SetStretchBltMode(destDC, HALFTONE);
    StretchBlt(destDC, 0, 0, dest->Width(), dest->Height(), src->Canvas()->Handle(), 0, 0, src->Width(),
               src->Height(), SRCCOPY);
    SetStretchBltMode(destDC, oldMode);
  } else {
    std::vector<RGBQUAD> source, result(size_t(dest->Width()) * size_t(dest->Height()));
    vdGetBitmapPixelArray(*src, source, false);
    vxLanczosResample(reinterpret_cast<const uint32_t*>(source.data()), src->Width(), src->Height(),
                      reinterpret_cast<uint32_t*>(result.data()), dest->Width(), dest->Height());
    vdPutBitmapPixelArray(*dest, result, false);
  }
  dest->Canvas()->Unlock();
  src->Canvas()->Unlock();
}

// --- Masks -------------------------------------------------------------------------

std::unique_ptr<TvxAlphaBitmap> vxAlphaCopyOfBitmap32(TBitmap* bitmap) {
  auto copy = std::make_unique<TvxAlphaBitmap>(bitmap->Width(), bitmap->Height());
  std::vector<RGBQUAD> pixels;
  if (vdGetBitmapPixelArray(*bitmap, pixels, false)) vdPutBitmapPixelArray(*copy, pixels, false);
  return copy;
}

void vxMaskOfBitmap32(TBitmap* bitmap, TBitmap* dest) {
  std::unique_ptr<TvxAlphaBitmap> copy = vxAlphaCopyOfBitmap32(bitmap);
  if (!copy->HasAlpha()) copy->SetTransparentColor(bitmap->TransparentColor());
  copy->ApplyPixelOperation(vxpoMask);
  BitBlt(dest->Canvas()->Handle(), 0, 0, copy->Width(), copy->Height(), copy->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// --- Glyphs --------------------------------------------------------------------------

namespace {

struct TvxScratchBitmaps {
  std::unique_ptr<TvxAlphaBitmap> background, glyph, mask;
};

TvxScratchBitmaps& Scratch() {
  static TvxScratchBitmaps scratch;
  return scratch;
}

}  // namespace

void vxPrepareScratchBitmap(std::unique_ptr<TvxAlphaBitmap>& bitmap, int width, int height) {
  if (!bitmap)
    bitmap = std::make_unique<TvxAlphaBitmap>(width, height, true);
  else
    bitmap->ResetSized(width, height);
}

void vxFreeScratchBitmaps() {
  TvxScratchBitmaps& s = Scratch();
  s.background.reset();
  s.glyph.reset();
  s.mask.reset();
}

void vxDrawGlyphOrImage(HDC dc, const TRect& glyphRect, const TRect& destRect, bool useGlyphTransparency,
                        TColor maskColor, HBRUSH backgroundBrush, bool smooth, int drawMode, int imageIndex,
                        TvxImageList* images, TBitmap* glyph) {
  const bool hasGlyph = glyph && !glyph->Empty();
  if (!hasGlyph && !vxIsImageIndexValid(images, imageIndex)) return;
  TvxScratchBitmaps& s = Scratch();

  vxPrepareScratchBitmap(s.background, destRect.Width(), destRect.Height());
  HDC backgroundDC = s.background->Canvas()->Handle();
  if (backgroundBrush) {
    RECT full{0, 0, destRect.Width(), destRect.Height()};
    FillRect(backgroundDC, &full, backgroundBrush);
  } else {
    BitBlt(backgroundDC, 0, 0, destRect.Width(), destRect.Height(), dc, destRect.Left, destRect.Top, SRCCOPY);
  }

  TRect target = vxShiftedRect(glyphRect, -destRect.Left, -destRect.Top);
  const int w = hasGlyph ? glyph->Width() : images->Width();
  const int h = hasGlyph ? glyph->Height() : images->Height();

  vxPrepareScratchBitmap(s.glyph, w, h);
  bool hasAlpha;
  if (hasGlyph) {
    BitBlt(s.glyph->Canvas()->Handle(), 0, 0, w, h, glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
    hasAlpha = vdBitsPerPixelOf(*glyph) >= 32;
  } else {
    TvxBitmap32 mask;
    images->CopyStoredImage(imageIndex, s.glyph.get(), &mask);
    hasAlpha = images->BitmapsHave32Bits();
  }
  hasAlpha = hasAlpha && s.glyph->HasAlpha();
  if (!hasAlpha) s.glyph->ApplyPixelOperation(vxpoOpaque);

  vxPrepareScratchBitmap(s.mask, w, h);
  s.mask->CopyFromBitmap(s.glyph.get(), SRCCOPY);
  if (!hasAlpha) {
    if (!hasGlyph) {
      TvxAlphaBitmap listMask(w, h);
      TvxBitmap32 image;
      images->CopyStoredImage(imageIndex, &image, &listMask);
      if (!listMask.Empty()) {
        listMask.ApplyPixelOperation(vxpoSolidAlpha);
        s.mask->ClearMaskedPixels(&listMask);
      }
    }
    if (maskColor != clNone) s.mask->TransparentPixels().AddColor(maskColor);
    if (useGlyphTransparency && hasGlyph) s.mask->TransparentPixels().AddColor(glyph->TransparentColor());
  }
  s.mask->ApplyPixelOperation(vxpoMask);
  s.glyph->ClearMaskedPixels(s.mask.get());

  uint8_t alpha = 255;
  switch (drawMode) {
    case vxgdmDisabled:
      if (hasAlpha) {
        s.glyph->ApplyPixelOperation(vxpoGreenGray);
        alpha = 151;
      } else {
        s.glyph->ApplyPixelOperation(vxpoShadowGray);
        s.glyph->DrawOffsetShape(s.mask.get(), 1, clBtnHighlight, false);
      }
      break;
    case vxgdmFaded:
      s.glyph->ApplyPixelOperation(vxpoGray);
      alpha = 64;
      break;
    case vxgdmGrayed:
      s.glyph->ApplyPixelOperation(vxpoAverageGray);
      break;
    case vxgdmLightened:
      s.glyph->ApplyPixelOperation(vxpoLighten);
      break;
    case vxgdmShadowed:
      s.glyph->DrawOffsetShape(s.mask.get(), 2, clBtnShadow, true);
      target = Bounds(target.Left - 1, target.Top - 1, target.Width() + 2, target.Height() + 2);
      break;
    default:
      break;
  }
  s.glyph->AlphaBlendTo(s.background.get(), target, alpha, smooth);
  vxPaintBitmapToDC(dc, s.background.get(), destRect, SRCCOPY, TPoint(0, 0));
}
