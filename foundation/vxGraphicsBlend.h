// How bitmaps reach a device context: raster copies (palette-aware),
// alpha blending through msimg32's AlphaBlend or in software, smooth
// scaling with the Lanczos3 resampler, and the glyph renderer that draws a
// glyph or an image-list image in one of six looks.
#pragma once

#include <windows.h>

#include <memory>

#include "foundation/vxGraphicsBitmaps.h"
#include "platform/ui/Graphics.h"

class TvxImageList;

// --- Creation and copies -------------------------------------------------------------

// Pixel format first, then width, then height.
void vxSetBitmapFormatAndSize(TBitmap* bitmap, int width, int height, TPixelFormat format);
std::unique_ptr<TBitmap> vxCreateBitmapOfFormat(int width, int height, TPixelFormat format);
std::unique_ptr<TBitmap> vxCreateBitmapOfSize(const TSize& size, TPixelFormat format);
std::unique_ptr<TBitmap> vxCreateBitmapForRect(const TRect& r, TPixelFormat format);

// BitBlt of a destRect-sized area of srcDC at srcTopLeft.
void vxBitBltRect(HDC destDC, HDC srcDC, const TRect& destRect, TPoint srcTopLeft, DWORD rop);
// A palette bitmap onto a palette device realises its colours in the
// background first.
void vxPaintBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, DWORD rop = SRCCOPY,
                       TPoint srcPoint = TPoint(0, 0));
void vxBitBltBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, DWORD rop, TPoint srcPoint);
// Src into the whole of dest, then dest's change notification.
void vxPaintBitmapInto(TBitmap* dest, TBitmap* src);
std::unique_ptr<TBitmap> vxDuplicateBitmap(TBitmap* bitmap);
// A new bitmap handle (a DIB section) with the pixels of bitmap; the
// caller owns it.
HBITMAP vxDuplicateImageHandle(HBITMAP bitmap);
// All of src onto all of dest with the DC's stretch mode.
void vxStretchBitmapInto(TBitmap* dest, TBitmap* src);
// A 32-bit bitmap of srcRect's size holding that area of srcDC.
std::unique_ptr<TvxBitmap32> vxCaptureDCArea(HDC srcDC, const TRect& srcRect);

// --- Alpha blending ------------------------------------------------------------------

bool vxAlphaBlendAvailable();
// AlphaBlend with source alpha (premultiplied pixels) at constant alpha;
// false when it is missing or fails.
bool vxAlphaBlendRaw(HDC destDC, HDC srcDC, const TRect& destRect, uint8_t alpha, const TRect& srcRect);
// Blends srcRect of srcDC into destRect of destDC. Smooth scaling (when
// the sizes differ), WOW64, Windows 9x or a missing AlphaBlend take the
// software path.
void vxAlphaBlendDCs(HDC destDC, HDC srcDC, const TRect& destRect, uint8_t alpha, bool smooth, const TRect& srcRect);
void vxAlphaBlendBitmaps(TBitmap* dest, TBitmap* src, const TRect& destRect, uint8_t alpha, bool smooth,
                         const TRect& srcRect);
void vxAlphaBlendBitmapToDC(HDC destDC, TBitmap* bitmap, const TRect& destRect, uint8_t alpha, bool smooth,
                            const TRect& srcRect);
// Src over the whole of dest (same size) at alpha.
void vxBlendBitmapOnto(TvxBitmap32* dest, TvxBitmap32* src, uint8_t alpha);
// The same, pixel by pixel with the blend formula.
void vxBlendPixelsByAlpha(TvxBitmap32* dest, TvxBitmap32* src, uint8_t alpha);

// --- Resampling ----------------------------------------------------------------------

// Fills dest (its size stays) with src scaled: HALFTONE stretching on NT,
// the Lanczos3 resampler elsewhere or when forceSoftware.
void vxResampleBitmap(TBitmap* src, TBitmap* dest, bool forceSoftware);

// --- Masks -------------------------------------------------------------------------

std::unique_ptr<TvxAlphaBitmap> vxAlphaCopyOfBitmap32(TBitmap* bitmap);
// Writes into dest a mask of bitmap: white where transparent (the
// bitmap's transparent colour without alpha, fully zero pixels with it).
void vxMaskOfBitmap32(TBitmap* bitmap, TBitmap* dest);

// --- Glyphs --------------------------------------------------------------------------

enum TvxGlyphDrawMode : int {
  vxgdmNormal = 0,
  vxgdmDisabled = 1,
  vxgdmFaded = 2,
  vxgdmGrayed = 3,
  vxgdmLightened = 4,
  vxgdmShadowed = 5,
};

// Draws glyph (or, without one, image imageIndex of images) into glyphRect
// over whatever lies under destRect of dc, or over backgroundBrush when
// given, in drawMode. Transparency: the glyph's alpha, else images' mask,
// maskColor and (with useGlyphTransparency) the glyph's transparent colour.
void vxDrawGlyphOrImage(HDC dc, const TRect& glyphRect, const TRect& destRect, bool useGlyphTransparency,
                        TColor maskColor, HBRUSH backgroundBrush, bool smooth, int drawMode, int imageIndex,
                        TvxImageList* images, TBitmap* glyph);

// The three scratch bitmaps of the glyph renderer (created on first use,
// reused, freed at module shut-down).
void vxPrepareScratchBitmap(std::unique_ptr<TvxAlphaBitmap>& bitmap, int width, int height);
void vxFreeScratchBitmaps();
