// The library's bitmaps: change batching, the packed "Data", pixel arrays
// and the pixel operations of the glyph looks.
#include "foundation/vxGraphicsBitmaps.h"

#include <algorithm>
#include <cstring>

#include "foundation/vdCore.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxImageListStream.h"
#include "platform/FormStreams.h"

uint32_t vxColorToPixel(TColor color, uint8_t alpha) {
  const COLORREF rgb = ColorToRGB(color);
  return uint32_t(alpha) << 24 | uint32_t(GetRValue(rgb)) << 16 | uint32_t(GetGValue(rgb)) << 8 | GetBValue(rgb);
}

// --- TvxBitmap -------------------------------------------------------------------

TvxBitmap::TvxBitmap(int width, int height, TPixelFormat format) {
  vxCanvas_ = std::make_unique<TvxCanvas>(Canvas());
  LockChanges();
  SetPixelFormat(format);
  SetSize(width, height);
  UnlockChanges(true);
}

TvxBitmap::~TvxBitmap() = default;

TvxCanvas* TvxBitmap::VxCanvas() { return vxCanvas_.get(); }

void TvxBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  LockChanges();
  TBitmap::SetSize(width, height);
  UnlockChanges();
}

void TvxBitmap::UnlockChanges(bool forceChanged) {
  if (lockCount_ <= 0) return;
  if (--lockCount_ == 0 && (forceChanged || modified_)) Changed();
}

void TvxBitmap::Changed() {
  if (lockCount_ > 0) {
    modified_ = true;
    return;
  }
  TBitmap::Changed();
  Update();
  modified_ = false;
}

void TvxBitmap::CopyFromBitmap(TBitmap* bitmap, DWORD rop) {
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), bitmap->Canvas()->Handle(), 0, 0, rop);
}

void TvxBitmap::CopyFromBitmapRect(TBitmap* bitmap, const TRect& destRect, DWORD rop, TPoint srcTopLeft) {
  vxBitBltRect(Canvas()->Handle(), bitmap->Canvas()->Handle(), destRect, srcTopLeft, rop);
}

void TvxBitmap::RotatePixels(TvxRotation rotation, bool flipVertically) {
  TvxCanvas::RotateBitmap(this, rotation, flipVertically);
}

void TvxBitmap::WriteData(TStream& stream) {
  TMemoryStream file;
  if (!Empty()) SaveToStream(file);
  vxWriteBitmapData(stream, file.Memory(), size_t(file.Size()),
                    compressData_ ? vxPackedBlockSize(vdBitsPerPixelOf(*this)) : 0);
}

void TvxBitmap::ReadData(TStream& stream) {
  vxReadBitmapData(stream, [this](TStream* file) {
    if (file) LoadFromStream(*file);
    else SetSize(0, 0);
  });
}

// --- TvxBitmap32 -------------------------------------------------------------------

TvxBitmap32::TvxBitmap32(int width, int height, bool clear) : TvxBitmap(width, height, pf32bit) {
  if (clear) Clear();
}

void TvxBitmap32::ReadPixels(std::vector<uint32_t>& pixels) {
  pixels.assign(size_t(Width()) * size_t(Height()), 0);
  if (!pixels.empty()) vdReadBitmapPixels(*this, reinterpret_cast<RGBQUAD*>(pixels.data()), false);
}

void TvxBitmap32::WritePixels(const std::vector<uint32_t>& pixels) {
  if (pixels.size() != size_t(Width()) * size_t(Height()) || pixels.empty()) return;
  vdWriteBitmapPixels(*this, reinterpret_cast<const RGBQUAD*>(pixels.data()), false);
}

void TvxBitmap32::Clear() {
  if (Empty()) return;
  RECT r{0, 0, Width(), Height()};
  FillRect(Canvas()->Handle(), &r, HBRUSH(GetStockObject(BLACK_BRUSH)));
}

bool TvxBitmap32::HasAlpha() { return vdBitmapHasAlpha(*this); }

void TvxBitmap32::AlphaBlendTo(TBitmap* dest, const TRect& destRect, uint8_t alpha, bool smooth) {
  vxAlphaBlendBitmapToDC(dest->Canvas()->Handle(), this, destRect, alpha, smooth, GetFullRect());
}

void TvxBitmap32::ClearMaskedPixels(TBitmap* mask) { CopyFromBitmap(mask, 0x220326); }

void TvxBitmap32::LoadFromStream(TStream& stream) {
  LockChanges();
  try {
    TBitmap::LoadFromStream(stream);
    SetPixelFormat(pf32bit);
  } catch (...) {
    UnlockChanges();
    throw;
  }
  UnlockChanges(true);
}

void TvxBitmap32::Update() {
  if (vdBitsPerPixelOf(*this) != 32) throw EvdException("Wrong PixelFormat");
}

// --- TvxAlphaBitmap ----------------------------------------------------------------

void TvxColorList::AddColor(TColor color) { colors_.push_back(vxColorToPixel(color, 0) & 0xFFFFFF); }

std::unique_ptr<TvxAlphaBitmap> TvxAlphaBitmap::CreateWithBkColor(int width, int height, uint32_t bkColor) {
  auto bitmap = std::make_unique<TvxAlphaBitmap>(width, height);
  bitmap->SetTransparentBkColor(bkColor);
  bitmap->Clear();
  return bitmap;
}

void TvxAlphaBitmap::ApplyPixelOperation(int operation) {
  if (operation < vxpoLighten || operation > vxpoClearAlpha || Empty()) return;
  std::vector<uint32_t> pixels;
  ReadPixels(pixels);
  vxApplyPixelOperation(pixels.data(), pixels.size(), operation, Transparency(), vxColorToPixel(clBtnShadow, 0));
  WritePixels(pixels);
  Changed();
}

void TvxAlphaBitmap::SetTransparentColor(TColor color) {
  transparentPixels_.Clear();
  transparentPixels_.AddColor(color);
  transparentBkColor_ = vxColorToPixel(color, 0);
  ApplyPixelOperation(vxpoSolidAlpha);
}

void TvxAlphaBitmap::ResetSized(int width, int height) {
  SetSize(width, height);
  transparentPixels_.Clear();
  TvxBitmap32::Clear();
}

void TvxAlphaBitmap::Clear() {
  if ((transparentBkColor_ >> 24) != 0)
    ApplyPixelOperation(vxpoFillBk);
  else
    TvxBitmap32::Clear();
}

void TvxAlphaBitmap::DrawOffsetShape(TBitmap* mask, int offset, TColor color, bool grow) {
  const int w = Width(), h = Height(), d = offset;
  // The mask, white around it, in a frame of d pixels.
  auto work = CreateWithBkColor(w + 2 * d, h + 2 * d, 0xFFFFFFFF);
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, d, d, w, h, mask->Canvas()->Handle(), 0, 0, SRCCOPY);
  // Where the mask is transparent and the pixel d up and left of it is not:
  // the colour; 0 elsewhere (destination AND brush AND NOT source).
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  HGDIOBJ oldBrush = SelectObject(workDC, brush);
  BitBlt(workDC, d, d, work->Width(), work->Height(), workDC, 0, 0, 0x200F09);
  SelectObject(workDC, oldBrush);
  DeleteObject(brush);
  work->SetTransparentBkColor(0);
  work->ApplyPixelOperation(vxpoSolidAlpha);

  TvxBitmap32 result(w + d, h + d, true);
  HDC resultDC = result.Canvas()->Handle();
  BitBlt(resultDC, 0, 0, w, h, Canvas()->Handle(), 0, 0, SRCCOPY);
  BitBlt(resultDC, 0, 0, w + d, h + d, workDC, d, d, SRCPAINT);
  LockChanges();
  if (grow) SetSize(w + d, h + d);
  CopyFromBitmap(&result, SRCCOPY);
  UnlockChanges(true);
}

// --- Streaming -------------------------------------------------------------------

TClass TvxBitmapClass() {
  static const TClassInfo info("TvxBitmap", TPersistentClass(), {}, {}, [](TPersistent& instance, TFiler& filer) {
    vxDefineBitmapData(static_cast<TvxBitmap&>(instance), filer);
  });
  return &info;
}

TClass TvxBitmap32Class() {
  static const TClassInfo info("TvxBitmap32", TvxBitmapClass());
  return &info;
}

void vxRegisterBitmapClasses() { RegisterPersistentClasses({TvxBitmapClass(), TvxBitmap32Class()}); }

void vxUnregisterBitmapClasses() {
  UnregisterPersistentClass(TvxBitmap32Class());
  UnregisterPersistentClass(TvxBitmapClass());
}
