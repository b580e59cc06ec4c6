// The off-screen bitmaps of the skinned control library.
//
// TvxBitmap is a platform bitmap that carries its own TvxCanvas, batches its
// change notifications under a lock count and, with CompressData, stores
// its data in the packed record ("XDBM", vxGraphicsPacked.h). TvxBitmap32
// keeps 32 bits per pixel and hands its pixels over as arrays;
// TvxAlphaBitmap adds the per-pixel operations of the glyph looks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/vxGraphicsPacked.h"
#include "foundation/vxGraphicsText.h"
#include "platform/ClassRegistry.h"
#include "platform/ui/Graphics.h"

class TvxCanvas;

class TvxBitmap : public TBitmap {
 public:
  TvxBitmap() : TvxBitmap(0, 0) {}
  TvxBitmap(int width, int height, TPixelFormat format = pf24bit);
  explicit TvxBitmap(const TRect& r, TPixelFormat format = pf24bit) : TvxBitmap(r.Width(), r.Height(), format) {}
  ~TvxBitmap() override;
  const char* ClassName() const override { return "TvxBitmap"; }
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TvxBitmap>(); }

  // Hides the platform's: negative sides become 0, an unchanged size does
  // nothing, a change fires one notification.
  void SetSize(int width, int height);
  TRect GetFullRect() const { return TRect(0, 0, Width(), Height()); }
  TvxCanvas* VxCanvas();

  bool CompressData() const { return compressData_; }
  void SetCompressData(bool value) { compressData_ = value; }

  // The change notification, for drawing done straight on the canvas's DC.
  void NotifyChanged() { Changed(); }
  void LockChanges() { ++lockCount_; }
  void UnlockChanges(bool forceChanged = false);
  bool ChangesLocked() const { return lockCount_ > 0; }

  // BitBlt of this bitmap's whole rectangle from bitmap's canvas at (0, 0).
  void CopyFromBitmap(TBitmap* bitmap, DWORD rop = SRCCOPY);
  void CopyFromBitmapRect(TBitmap* bitmap, const TRect& destRect, DWORD rop, TPoint srcTopLeft);
  void RotatePixels(TvxRotation rotation, bool flipVertically);

  // The "Data" of form and skin streams: the platform's bitmap data (a
  // 32-bit byte count and a bitmap file image), packed when CompressData.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

 protected:
  void Changed() override;
  // Runs after every change notification.
  virtual void Update() {}

 private:
  std::unique_ptr<TvxCanvas> vxCanvas_;
  bool compressData_ = false;
  int lockCount_ = 0;
  bool modified_ = false;
};

class TvxBitmap32 : public TvxBitmap {
 public:
  TvxBitmap32() : TvxBitmap32(0, 0) {}
  TvxBitmap32(int width, int height, bool clear = false);
  explicit TvxBitmap32(const TRect& r, bool clear = false) : TvxBitmap32(r.Width(), r.Height(), clear) {}
  const char* ClassName() const override { return "TvxBitmap32"; }
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TvxBitmap32>(); }

  // Width*Height pixel values 0xAARRGGBB, rows bottom-up.
  void ReadPixels(std::vector<uint32_t>& pixels);
  void WritePixels(const std::vector<uint32_t>& pixels);
  // All bytes 0.
  virtual void Clear();
  // Some pixel has a non-zero alpha byte.
  bool HasAlpha();
  // Draws the whole bitmap into destRect of dest.
  void AlphaBlendTo(TBitmap* dest, const TRect& destRect, uint8_t alpha = 255, bool smooth = false);
  // Clears every pixel where mask is white.
  void ClearMaskedPixels(TBitmap* mask);

  void LoadFromStream(TStream& stream) override;

 protected:
  // Raises EvdException "Wrong PixelFormat" unless the bitmap has 32 bits.
  void Update() override;
};

// Further transparent colours, as pixel values with alpha 0 (low 24 bits).
class TvxColorList {
 public:
  void AddColor(TColor color);
  void Clear() { colors_.clear(); }
  int Count() const { return int(colors_.size()); }
  const std::vector<uint32_t>& Colors() const { return colors_; }

 private:
  std::vector<uint32_t> colors_;
};

class TvxAlphaBitmap : public TvxBitmap32 {
 public:
  TvxAlphaBitmap() : TvxAlphaBitmap(0, 0) {}
  TvxAlphaBitmap(int width, int height, bool clear = false) : TvxBitmap32(width, height, clear) {}
  // A bitmap whose pixels equal to bkColor are transparent; cleared to it.
  static std::unique_ptr<TvxAlphaBitmap> CreateWithBkColor(int width, int height, uint32_t bkColor);
  const char* ClassName() const override { return "TvxAlphaBitmap"; }
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TvxAlphaBitmap>(); }

  uint32_t TransparentBkColor() const { return transparentBkColor_; }
  void SetTransparentBkColor(uint32_t pixel) { transparentBkColor_ = pixel; }
  TvxColorList& TransparentPixels() { return transparentPixels_; }

  // One of TvxPixelOperation on every pixel; then a change notification.
  void ApplyPixelOperation(int operation);
  // Makes color the one transparent colour and gives every other pixel
  // without alpha full alpha.
  void SetTransparentColor(TColor color);
  // New size, no extra transparent colours, cleared.
  void ResetSized(int width, int height);
  bool IsTransparentPixel(uint32_t pixel) const { return Transparency().IsTransparent(pixel); }
  // Draws the shape of mask (white = transparent) in color, offset by
  // offset pixels down and right, behind the bitmap's own pixels; with
  // grow the bitmap becomes offset pixels wider and higher.
  void DrawOffsetShape(TBitmap* mask, int offset, TColor color, bool grow);
  // With a non-zero alpha in TransparentBkColor, every pixel becomes it;
  // else all bytes 0.
  void Clear() override;

 private:
  TvxPixelTransparency Transparency() const { return TvxPixelTransparency{transparentBkColor_, &transparentPixels_.Colors()}; }

  uint32_t transparentBkColor_ = 0;
  TvxColorList transparentPixels_;
};

// A colour as a pixel value with the given alpha (red and blue swapped).
uint32_t vxColorToPixel(TColor color, uint8_t alpha);

// The stream descriptors of TvxBitmap and TvxBitmap32 ("Data").
TClass TvxBitmapClass();
TClass TvxBitmap32Class();
void vxRegisterBitmapClasses();
void vxUnregisterBitmapClasses();
