// GDI+ images and the PNG graphic.
//
// TvdGPGraphics is a GDI+ drawing surface on a device context (buffered
// through a 32-bit bitmap on devices that cannot take alpha), TvdGPImage a
// GDI+ bitmap with its own pixel array, and TvdPNGImage the platform graphic
// that holds one: it loads whatever GDI+ decodes, saves PNG and draws with
// per-pixel alpha. Pixels are premultiplied ARGB everywhere (0xAARRGGBB
// values, the bytes blue, green, red, alpha), as AlphaBlend wants them.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/vdGDIPlusAPI.h"
#include "platform/ClassRegistry.h"
#include "platform/ui/Graphics.h"

class TvdGPImage;
class TvdPNGImage;

// --- Graphics --------------------------------------------------------------------

class TvdGPGraphics {
 public:
  // GDI+ graphics on dc; status checked.
  explicit TvdGPGraphics(HDC dc);
  // Takes over an existing handle.
  static std::unique_ptr<TvdGPGraphics> CreateOnHandle(Gdiplus::GpGraphics* handle);
  virtual ~TvdGPGraphics();
  TvdGPGraphics(const TvdGPGraphics&) = delete;
  TvdGPGraphics& operator=(const TvdGPGraphics&) = delete;

  Gdiplus::GpGraphics* Handle() const { return handle_; }
  // The whole bitmap into destRect at constant alpha; nothing when empty.
  void DrawBitmap(TBitmap* bitmap, const TRect& destRect, uint8_t alpha = 255);
  void DrawPNGImage(TvdPNGImage* image, const TRect& destRect, const TRect& sourceRect);
  void TilePNGImage(TvdPNGImage* image, const TRect& destRect, const TRect& sourceRect);
  HDC AcquireDC();
  void ReleaseAcquiredDC(HDC dc);
  void SetInterpolation(Gdiplus::InterpolationMode mode);
  void ReleaseHandle();

 protected:
  TvdGPGraphics() = default;
  void SetHandle(Gdiplus::GpGraphics* handle) { handle_ = handle; }

 private:
  Gdiplus::GpGraphics* handle_ = nullptr;
};

std::unique_ptr<TvdGPGraphics> vdGpWrapGraphicsHandle(Gdiplus::GpGraphics* handle);

// Draws into a 32-bit copy of the area and copies it back when freed.
class TvdGPBufferedGraphics : public TvdGPGraphics {
 public:
  TvdGPBufferedGraphics(HDC dc, const TRect& r);
  ~TvdGPBufferedGraphics() override;

 private:
  TRect rect_;
  HDC targetDC_;
  TBitmap buffer_;
};

// Fewer than 17 bits per pixel, a raster printer or a palette device. The
// display's answer is kept until the display mode changes.
bool vdGpNeedsDoubleBuffer(HDC dc);
// The hidden window that hears display mode changes (nullptr until the
// display was asked), and whether the display's answer is kept.
HWND vdGpDisplayChangeListener();
bool vdGpDisplayAnswerKept();
std::unique_ptr<TvdGPGraphics> vdGpBeginPaint(HDC dc, const TRect& r);
// Frees graphics (a buffered one copies its buffer back first).
void vdGpEndPaint(std::unique_ptr<TvdGPGraphics>& graphics);

// --- Drawing helpers ---------------------------------------------------------------

bool vdGpIsRectVisible(Gdiplus::GpGraphics* graphics, const TRect& r);
// sourceRect of image into destRect; alpha 255 draws as it is, any other
// scales the image's alpha through a colour matrix.
void vdGpDrawImageWithAlpha(Gdiplus::GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect,
                            uint8_t alpha, Gdiplus::GpImage* image);
void vdGpFillGradientRect(Gdiplus::GpGraphics* graphics, const TRect& r, uint32_t color1, uint32_t color2,
                          Gdiplus::LinearGradientMode mode);
// Tiles sourceRect of image over destRect: through a texture brush when
// the source is smaller than the destination, tile by tile otherwise or
// when the brush cannot be made.
void vdGpTileImage(Gdiplus::GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect,
                   Gdiplus::GpImage* image);
void vdGpTileByDrawing(Gdiplus::GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect,
                       Gdiplus::GpImage* image);
// False when the texture brush cannot be made.
bool vdGpTileByTexture(Gdiplus::GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect,
                       Gdiplus::GpImage* image);

// --- Images ------------------------------------------------------------------------

class TvdGPImage {
 public:
  TvdGPImage() = default;
  virtual ~TvdGPImage();
  TvdGPImage(const TvdGPImage&) = delete;
  TvdGPImage& operator=(const TvdGPImage&) = delete;

  // Images of the current image class (TvdGPNullImage while GDI+ is
  // unavailable).
  static std::unique_ptr<TvdGPImage> CreateFromBitmap(TBitmap* bitmap);
  static std::unique_ptr<TvdGPImage> CreateFromPixels(int width, int height, const std::vector<uint32_t>& pixels,
                                                      bool hasAlpha);
  // Decodes the stream from its position: a "BM" file through the
  // platform bitmap, anything else through GDI+. 13 bytes or fewer leave
  // the image empty.
  static std::unique_ptr<TvdGPImage> CreateFromStream(TStream& stream);

  Gdiplus::GpImage* Handle() const { return handle_; }
  virtual void ReleaseImageHandle();
  virtual void LoadFromStreamData(TStream& stream);
  virtual void LoadFromBitmap(TBitmap* bitmap);
  // Takes pixels (top-down, premultiplied) as the image's own; without
  // alpha every pixel becomes opaque.
  virtual void SetPixels(int width, int height, bool hasAlpha, std::vector<uint32_t> pixels);
  // A new 32-bit bitmap of the image (the caller owns it).
  virtual std::unique_ptr<TBitmap> ToBitmap();
  std::unique_ptr<TvdGPImage> Clone();
  void GetPixels(std::vector<uint32_t>& pixels);
  const std::vector<uint32_t>& Pixels();
  void SaveAsPng(TStream& stream);
  void DrawTo(Gdiplus::GpGraphics* graphics, const TRect& destRect, uint8_t alpha, const TRect& sourceRect);
  virtual int GetWidth();
  virtual int GetHeight();
  TRect GetFullRect() { return TRect(0, 0, GetWidth(), GetHeight()); }

 protected:
  void EnsurePixels();

 private:
  Gdiplus::GpImage* handle_ = nullptr;
  std::vector<uint32_t> pixels_;
};

// The image while GDI+ is unavailable: always empty.
class TvdGPNullImage : public TvdGPImage {
 public:
  void LoadFromStreamData(TStream&) override {}
  void LoadFromBitmap(TBitmap*) override {}
  void SetPixels(int, int, bool, std::vector<uint32_t>) override {}
  std::unique_ptr<TBitmap> ToBitmap() override { return std::make_unique<TBitmap>(); }
  int GetWidth() override { return 0; }
  int GetHeight() override { return 0; }
};

std::unique_ptr<TvdGPImage> vdGpNewImage();
std::unique_ptr<TvdGPImage> vdGpImageFromBitmap(TBitmap* bitmap);

// --- PNG graphic -------------------------------------------------------------------

class TvdPNGImage : public TGraphic {
 public:
  TvdPNGImage() = default;
  ~TvdPNGImage() override;
  const char* ClassName() const override { return "TvdPNGImage"; }
  void Assign(const TPersistent* source) override;
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TvdPNGImage>(); }

  bool Empty() const override { return Width() < 1 || Height() < 1; }
  int Width() const override;
  int Height() const override;
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // An empty stream leaves the graphic empty.
  void LoadFromStream(TStream& stream) override;
  // PNG; nothing for an empty graphic.
  void SaveToStream(TStream& stream) override;
  void LoadFromClipboardFormat(UINT format, HANDLE data);
  void SaveToClipboardFormat(UINT& format, HANDLE& data);

  TvdGPImage* Image() const { return image_.get(); }
  // Takes image over (nullptr allowed) and reports the change.
  void ReplaceImage(std::unique_ptr<TvdGPImage> image);
  bool SameImageAs(TvdPNGImage* other);
  std::unique_ptr<TBitmap> ToBitmap();
  void LoadFromBitmap(TBitmap* bitmap);
  void DrawWhole(HDC dc, const TRect& destRect);
  void DrawPart(HDC dc, const TRect& destRect, const TRect& sourceRect);
  void DrawOnGraphics(Gdiplus::GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect);
  // Some pixel is not fully opaque; cached until the next change.
  bool HasTranslucentPixels();

 protected:
  void AssignTo(TPersistent* dest) const override;
  void Changed() override;
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  std::unique_ptr<TvdGPImage> image_;
  bool translucent_ = false;
  bool translucentKnown_ = false;
};

// Module start: the image class follows GDI+'s availability, and with GDI+
// the graphic is registered for streaming and for the extension "PNG".
void vdPNGImageRegister();
void vdPNGImageUnregister();
TClass TvdPNGImageClass();
// The module: registers the two above with the units loader of GDI+.
void vdGDIPlusClassesInitialize();
void vdGDIPlusClassesFinalize();
