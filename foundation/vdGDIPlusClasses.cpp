// GDI+ graphics, images and the PNG graphic.
#include "foundation/vdGDIPlusClasses.h"

#include <algorithm>
#include <cstring>

#include "foundation/vdCore.h"
#include "platform/ClassRegistry.h"
#include "platform/ui/StreamAdapter.h"
#include "platform/ui/UtilWindow.h"

using namespace Gdiplus;

// The bound flat-API entry of that name.
#define VD_GP(name) vdGpProc<decltype(&DllExports::name)>(gp##name)

// --- Graphics --------------------------------------------------------------------

TvdGPGraphics::TvdGPGraphics(HDC dc) {
  vdGpCheckSuccess(vdGpIsLibraryAvailable());
  vdGpCheckStatus(VD_GP(GdipCreateFromHDC)(dc, &handle_));
}

std::unique_ptr<TvdGPGraphics> TvdGPGraphics::CreateOnHandle(GpGraphics* handle) {
  std::unique_ptr<TvdGPGraphics> graphics(new TvdGPGraphics());
  graphics->SetHandle(handle);
  return graphics;
}

std::unique_ptr<TvdGPGraphics> vdGpWrapGraphicsHandle(GpGraphics* handle) { return TvdGPGraphics::CreateOnHandle(handle); }

TvdGPGraphics::~TvdGPGraphics() { ReleaseHandle(); }

void TvdGPGraphics::ReleaseHandle() {
  if (!handle_) return;
  if (vdGpEntry(gpGdipDeleteGraphics)) VD_GP(GdipDeleteGraphics)(handle_);
  handle_ = nullptr;
}

void TvdGPGraphics::DrawBitmap(TBitmap* bitmap, const TRect& destRect, uint8_t alpha) {
  if (!bitmap || bitmap->Empty()) return;
  std::unique_ptr<TvdGPImage> image = vdGpImageFromBitmap(bitmap);
  image->DrawTo(handle_, destRect, alpha, image->GetFullRect());
}

void TvdGPGraphics::DrawPNGImage(TvdPNGImage* image, const TRect& destRect, const TRect& sourceRect) {
  image->DrawOnGraphics(handle_, destRect, sourceRect);
}

void TvdGPGraphics::TilePNGImage(TvdPNGImage* image, const TRect& destRect, const TRect& sourceRect) {
  if (image->Image()) vdGpTileImage(handle_, destRect, sourceRect, image->Image()->Handle());
}

HDC TvdGPGraphics::AcquireDC() {
  HDC dc = nullptr;
  vdGpCheckStatus(VD_GP(GdipGetDC)(handle_, &dc));
  return dc;
}

void TvdGPGraphics::ReleaseAcquiredDC(HDC dc) { vdGpCheckStatus(VD_GP(GdipReleaseDC)(handle_, dc)); }

void TvdGPGraphics::SetInterpolation(InterpolationMode mode) {
  vdGpCheckStatus(VD_GP(GdipSetInterpolationMode)(handle_, mode));
}

TvdGPBufferedGraphics::TvdGPBufferedGraphics(HDC dc, const TRect& r) : rect_(r), targetDC_(dc) {
  buffer_.SetPixelFormat(pf32bit);
  buffer_.SetHeight(r.Height() + 1);
  buffer_.SetWidth(r.Width() + 1);
  buffer_.Canvas()->Lock();
  HDC bufferDC = buffer_.Canvas()->Handle();
  BitBlt(bufferDC, 0, 0, buffer_.Width(), buffer_.Height(), dc, r.Left, r.Top, SRCCOPY);
  SetWindowOrgEx(bufferDC, r.Left, r.Top, nullptr);
  GpGraphics* handle = nullptr;
  vdGpCheckStatus(VD_GP(GdipCreateFromHDC)(bufferDC, &handle));
  SetHandle(handle);
}

TvdGPBufferedGraphics::~TvdGPBufferedGraphics() {
  ReleaseHandle();
  HDC bufferDC = buffer_.Canvas()->Handle();
  const int saved = SaveDC(targetDC_);
  SetWindowOrgEx(bufferDC, 0, 0, nullptr);
  BitBlt(targetDC_, rect_.Left, rect_.Top, buffer_.Width(), buffer_.Height(), bufferDC, 0, 0, SRCCOPY);
  RestoreDC(targetDC_, saved);
  buffer_.Canvas()->Unlock();
}

namespace {

bool DeviceNeedsDoubleBuffer(HDC dc) {
  return GetDeviceCaps(dc, BITSPIXEL) < 17 || GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER ||
         GetDeviceCaps(dc, NUMCOLORS) > 1;
}

// The display's answer. Its depth and palette cost Wine a look at the
// display settings at each question (round trips to the server), and a
// skinned repaint asks at every element: the answer is kept on the thread
// that first asked, until a hidden window hears the display mode change.
struct TDisplayAnswer {
  HWND listener = nullptr;
  DWORD thread = 0;
  bool known = false;
  bool needsBuffer = false;
};

TDisplayAnswer& DisplayAnswer() {
  static TDisplayAnswer answer;
  return answer;
}

void StopListeningForDisplayChanges() {
  TDisplayAnswer& a = DisplayAnswer();
  DeallocateHWnd(a.listener);
  a = TDisplayAnswer();
}

void ListenForDisplayChanges() {
  TDisplayAnswer& a = DisplayAnswer();
  a.thread = GetCurrentThreadId();
  a.listener = AllocateHWnd(
      [](TMessage& m) {
        if (m.Msg == WM_DISPLAYCHANGE) DisplayAnswer().known = false;
        DefaultUtilMessage(DisplayAnswer().listener, m);
      },
      true);
  if (TvdUnitsLoader* loader = vdSharedUnitsLoader()) loader->RegisterUnit(nullptr, StopListeningForDisplayChanges);
}

}  // namespace

bool vdGpNeedsDoubleBuffer(HDC dc) {
  // Printers, plotters and metafiles answer for themselves.
  if (GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY) return DeviceNeedsDoubleBuffer(dc);
  TDisplayAnswer& a = DisplayAnswer();
  if (!a.listener) ListenForDisplayChanges();
  if (a.thread != GetCurrentThreadId()) return DeviceNeedsDoubleBuffer(dc);
  if (!a.known) {
    a.needsBuffer = DeviceNeedsDoubleBuffer(dc);
    a.known = true;
  }
  return a.needsBuffer;
}

HWND vdGpDisplayChangeListener() { return DisplayAnswer().listener; }
bool vdGpDisplayAnswerKept() { return DisplayAnswer().known; }

std::unique_ptr<TvdGPGraphics> vdGpBeginPaint(HDC dc, const TRect& r) {
  if (vdGpNeedsDoubleBuffer(dc)) return std::make_unique<TvdGPBufferedGraphics>(dc, r);
  return std::make_unique<TvdGPGraphics>(dc);
}

void vdGpEndPaint(std::unique_ptr<TvdGPGraphics>& graphics) { graphics.reset(); }

// --- Drawing helpers ---------------------------------------------------------------

bool vdGpIsRectVisible(GpGraphics* graphics, const TRect& r) {
  BOOL visible = FALSE;
  vdGpCheckStatus(VD_GP(GdipIsVisibleRectI)(graphics, r.Left, r.Top, r.Width(), r.Height(), &visible));
  return visible != FALSE;
}

void vdGpDrawImageWithAlpha(GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect, uint8_t alpha,
                            GpImage* image) {
  if (destRect.Width() < 1 || destRect.Height() < 1 || sourceRect.Width() < 1 || sourceRect.Height() < 1) return;
  if (!vdGpIsRectVisible(graphics, destRect)) return;
  // Enlarging blends the edge pixels with the transparent ones outside the
  // source; one pixel less of source keeps the edges solid.
  int sw = sourceRect.Width(), sh = sourceRect.Height();
  if (sw < destRect.Width() && sw > 1) --sw;
  if (sh < destRect.Height() && sh > 1) --sh;
  auto draw = [&](GpImageAttributes* attributes) {
    return VD_GP(GdipDrawImageRectRectI)(graphics, image, destRect.Left, destRect.Top, destRect.Width(),
                                         destRect.Height(), sourceRect.Left, sourceRect.Top, sw, sh, UnitPixel,
                                         attributes, nullptr, nullptr);
  };
  if (alpha == 255) return vdGpCheckStatus(draw(nullptr));
  GpImageAttributes* attributes = nullptr;
  vdGpCheckStatus(VD_GP(GdipCreateImageAttributes)(&attributes));
  ColorMatrix matrix{};
  for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
  matrix.m[3][3] = float(alpha) / 255.0f;
  Status status = VD_GP(GdipSetImageAttributesColorMatrix)(attributes, ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
                                                          ColorMatrixFlagsDefault);
  if (status == Ok) status = draw(attributes);
  VD_GP(GdipDisposeImageAttributes)(attributes);
  vdGpCheckStatus(status);
}

void vdGpFillGradientRect(GpGraphics* graphics, const TRect& r, uint32_t color1, uint32_t color2,
                          LinearGradientMode mode) {
  const Rect area(r.Left - 1, r.Top - 1, r.Width() + 2, r.Height() + 2);
  GpLineGradient* brush = nullptr;
  vdGpCheckStatus(VD_GP(GdipCreateLineBrushFromRectI)(&area, color1, color2, mode, WrapModeTile, &brush));
  const Status status = VD_GP(GdipFillRectangleI)(graphics, brush, r.Left, r.Top, r.Width(), r.Height());
  VD_GP(GdipDeleteBrush)(brush);
  vdGpCheckStatus(status);
}

void vdGpTileByDrawing(GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect, GpImage* image) {
  const int sw = sourceRect.Width(), sh = sourceRect.Height();
  const int rows = (destRect.Height() + sh - 1) / sh, columns = (destRect.Width() + sw - 1) / sw;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      TRect tile(destRect.Left + c * sw, destRect.Top + r * sh, destRect.Left + (c + 1) * sw,
                 destRect.Top + (r + 1) * sh);
      TRect source = sourceRect;
      // A tile past the right or bottom edge is cut back, its source too.
      if (tile.Right > destRect.Right) {
        source.Right -= tile.Right - destRect.Right;
        tile.Right = destRect.Right;
      }
      if (tile.Bottom > destRect.Bottom) {
        source.Bottom -= tile.Bottom - destRect.Bottom;
        tile.Bottom = destRect.Bottom;
      }
      vdGpDrawImageWithAlpha(graphics, tile, source, 255, image);
    }
  }
}

bool vdGpTileByTexture(GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect, GpImage* image) {
  GpTexture* brush = nullptr;
  if (VD_GP(GdipCreateTexture2I)(image, WrapModeTile, sourceRect.Left, sourceRect.Top, sourceRect.Width(),
                                 sourceRect.Height(), &brush) != Ok)
    return false;
  GpBitmap* area = nullptr;
  GpGraphics* areaGraphics = nullptr;
  Status status = VD_GP(GdipCreateBitmapFromScan0)(destRect.Width(), destRect.Height(), 0, PixelFormat32bppPARGB,
                                                   nullptr, &area);
  if (status == Ok) status = VD_GP(GdipGetImageGraphicsContext)(area, &areaGraphics);
  if (status == Ok) status = VD_GP(GdipFillRectangleI)(areaGraphics, brush, 0, 0, destRect.Width(), destRect.Height());
  if (status == Ok)
    status = VD_GP(GdipDrawImageRectI)(graphics, area, destRect.Left, destRect.Top, destRect.Width(), destRect.Height());
  if (areaGraphics) VD_GP(GdipDeleteGraphics)(areaGraphics);
  if (area) VD_GP(GdipDisposeImage)(area);
  VD_GP(GdipDeleteBrush)(brush);
  vdGpCheckStatus(status);
  return true;
}

void vdGpTileImage(GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect, GpImage* image) {
  if (sourceRect.IsEmpty() || destRect.IsEmpty() || !vdGpIsRectVisible(graphics, destRect)) return;
  const bool covers = sourceRect.Width() >= destRect.Width() && sourceRect.Height() >= destRect.Height();
  if (covers || !vdGpTileByTexture(graphics, destRect, sourceRect, image))
    vdGpTileByDrawing(graphics, destRect, sourceRect, image);
}

// --- Images ------------------------------------------------------------------------

namespace {

bool gdiPlusImages = false;  // the image class: TvdGPImage, else TvdGPNullImage

}  // namespace

std::unique_ptr<TvdGPImage> vdGpNewImage() {
  if (gdiPlusImages) return std::make_unique<TvdGPImage>();
  return std::make_unique<TvdGPNullImage>();
}

std::unique_ptr<TvdGPImage> vdGpImageFromBitmap(TBitmap* bitmap) {
  vdGpIsLibraryAvailable();
  return TvdGPImage::CreateFromBitmap(bitmap);
}

TvdGPImage::~TvdGPImage() { ReleaseImageHandle(); }

void TvdGPImage::ReleaseImageHandle() {
  // Disposing also lets go of the stream a decoded image reads from.
  if (handle_) vdGpDisposeImage(handle_);
  handle_ = nullptr;
}

std::unique_ptr<TvdGPImage> TvdGPImage::CreateFromBitmap(TBitmap* bitmap) {
  std::unique_ptr<TvdGPImage> image = vdGpNewImage();
  if (gdiPlusImages) vdGpLookupPngEncoder();
  image->LoadFromBitmap(bitmap);
  return image;
}

std::unique_ptr<TvdGPImage> TvdGPImage::CreateFromPixels(int width, int height, const std::vector<uint32_t>& pixels,
                                                         bool hasAlpha) {
  std::unique_ptr<TvdGPImage> image = vdGpNewImage();
  image->SetPixels(width, height, hasAlpha, pixels);
  return image;
}

std::unique_ptr<TvdGPImage> TvdGPImage::CreateFromStream(TStream& stream) {
  std::unique_ptr<TvdGPImage> image = vdGpNewImage();
  // A bitmap file header alone is 14 bytes.
  constexpr int kSniff = 14;
  if (!gdiPlusImages || stream.Size() - stream.Position() < kSniff) return image;
  uint8_t head[kSniff];
  stream.ReadBuffer(head, kSniff);
  stream.Seek(-kSniff, soCurrent);
  if (head[0] == 'B' && head[1] == 'M') {
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    vdGpLookupPngEncoder();
    image->LoadFromBitmap(&bitmap);
  } else {
    image->LoadFromStreamData(stream);
  }
  return image;
}

void TvdGPImage::LoadFromStreamData(TStream& stream) {
  ReleaseImageHandle();
  pixels_.clear();
  handle_ = vdGpImageFromStream(stream);
}

void TvdGPImage::LoadFromBitmap(TBitmap* bitmap) {
  std::vector<RGBQUAD> quads;
  vdGetBitmapPixelArray(*bitmap, quads, true);
  std::vector<uint32_t> pixels(quads.size());
  if (!quads.empty()) std::memcpy(pixels.data(), quads.data(), quads.size() * sizeof(uint32_t));
  SetPixels(bitmap->Width(), bitmap->Height(), vdBitsPerPixelOf(*bitmap) >= 32, std::move(pixels));
}

void TvdGPImage::SetPixels(int width, int height, bool hasAlpha, std::vector<uint32_t> pixels) {
  ReleaseImageHandle();
  pixels_ = std::move(pixels);
  if (width <= 0 || height <= 0 || pixels_.size() != size_t(width) * size_t(height)) {
    pixels_.clear();
    return;
  }
  if (!hasAlpha)
    for (uint32_t& p : pixels_) p |= 0xFF000000u;
  // The bitmap reads the array in place: it lives as long as the handle.
  GpBitmap* bitmap = nullptr;
  vdGpCheckStatus(VD_GP(GdipCreateBitmapFromScan0)(width, height, width * 4, PixelFormat32bppPARGB,
                                                   reinterpret_cast<BYTE*>(pixels_.data()), &bitmap));
  handle_ = bitmap;
}

std::unique_ptr<TBitmap> TvdGPImage::ToBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  if (!handle_) return bitmap;
  HBITMAP h = nullptr;
  vdGpCheckStatus(VD_GP(GdipCreateHBITMAPFromBitmap)(static_cast<GpBitmap*>(handle_), &h, 0));
  bitmap->SetHandle(h);
  bitmap->SetPixelFormat(pf32bit);
  return bitmap;
}

std::unique_ptr<TvdGPImage> TvdGPImage::Clone() {
  if (!pixels_.empty()) return CreateFromPixels(GetWidth(), GetHeight(), pixels_, true);
  std::unique_ptr<TvdGPImage> image = vdGpNewImage();
  if (handle_) {
    std::unique_ptr<TBitmap> bitmap = ToBitmap();
    image->LoadFromBitmap(bitmap.get());
  }
  return image;
}

void TvdGPImage::EnsurePixels() {
  if (!pixels_.empty() || !handle_) return;
  std::unique_ptr<TBitmap> bitmap = ToBitmap();
  LoadFromBitmap(bitmap.get());
}

const std::vector<uint32_t>& TvdGPImage::Pixels() {
  EnsurePixels();
  return pixels_;
}

void TvdGPImage::GetPixels(std::vector<uint32_t>& pixels) { pixels = Pixels(); }

void TvdGPImage::SaveAsPng(TStream& stream) {
  if (!handle_) return;
  auto* adapter = new TStreamAdapter(stream, soReference);
  const Status status = VD_GP(GdipSaveImageToStream)(handle_, adapter, &vdGpLookupPngEncoder(), nullptr);
  adapter->Release();
  vdGpCheckStatus(status);
}

void TvdGPImage::DrawTo(GpGraphics* graphics, const TRect& destRect, uint8_t alpha, const TRect& sourceRect) {
  if (handle_) vdGpDrawImageWithAlpha(graphics, destRect, sourceRect, alpha, handle_);
}

int TvdGPImage::GetWidth() {
  UINT width = 0;
  if (handle_) vdGpCheckStatus(VD_GP(GdipGetImageWidth)(handle_, &width));
  return int(width);
}

int TvdGPImage::GetHeight() {
  UINT height = 0;
  if (handle_) vdGpCheckStatus(VD_GP(GdipGetImageHeight)(handle_, &height));
  return int(height);
}

// --- PNG graphic -------------------------------------------------------------------

TvdPNGImage::~TvdPNGImage() = default;

int TvdPNGImage::Width() const {
  if (!image_ || !image_->Handle()) return 0;
  REAL w = 0, h = 0;
  vdGpCheckStatus(VD_GP(GdipGetImageDimension)(image_->Handle(), &w, &h));
  return int(w);
}

int TvdPNGImage::Height() const {
  if (!image_ || !image_->Handle()) return 0;
  REAL w = 0, h = 0;
  vdGpCheckStatus(VD_GP(GdipGetImageDimension)(image_->Handle(), &w, &h));
  return int(h);
}

void TvdPNGImage::ReplaceImage(std::unique_ptr<TvdGPImage> image) {
  if (image && image == image_) return;
  image_ = std::move(image);
  Changed();
}

void TvdPNGImage::Changed() {
  translucentKnown_ = false;
  TGraphic::Changed();
}

void TvdPNGImage::LoadFromStream(TStream& stream) {
  if (stream.Size() - stream.Position() <= 0) return ReplaceImage(nullptr);
  ReplaceImage(TvdGPImage::CreateFromStream(stream));
}

void TvdPNGImage::SaveToStream(TStream& stream) {
  if (!image_) return;
  TMemoryStream png;
  image_->SaveAsPng(png);
  stream.WriteBuffer(png.Memory(), png.Size());
}

void TvdPNGImage::Assign(const TPersistent* source) {
  if (auto* png = dynamic_cast<const TvdPNGImage*>(source)) {
    if (png == this) return;
    return ReplaceImage(png->image_ ? png->image_->Clone() : nullptr);
  }
  if (auto* bitmap = dynamic_cast<const TBitmap*>(source))
    return ReplaceImage(vdGpImageFromBitmap(const_cast<TBitmap*>(bitmap)));
  TGraphic::Assign(source);
}

void TvdPNGImage::AssignTo(TPersistent* dest) const {
  if (auto* png = dynamic_cast<TvdPNGImage*>(dest)) return png->Assign(this);
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    std::unique_ptr<TBitmap> copy = const_cast<TvdPNGImage*>(this)->ToBitmap();
    return bitmap->Assign(copy.get());
  }
  TGraphic::AssignTo(dest);
}

void TvdPNGImage::LoadFromClipboardFormat(UINT format, HANDLE data) {
  if (format != CF_DIB || !data) return;
  // A packed DIB: the bitmap file image without its file header.
  const SIZE_T size = GlobalSize(data);
  const auto* dib = static_cast<const uint8_t*>(GlobalLock(data));
  if (!dib) return;
  TMemoryStream file;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfSize = DWORD(sizeof header + size);
  file.WriteBuffer(&header, sizeof header);
  file.WriteBuffer(dib, int64_t(size));
  GlobalUnlock(data);
  file.SetPosition(0);
  TBitmap bitmap;
  bitmap.LoadFromStream(file);
  bitmap.SetPixelFormat(pf32bit);
  LoadFromBitmap(&bitmap);
}

void TvdPNGImage::SaveToClipboardFormat(UINT& format, HANDLE& data) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(Width(), Height());
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  DrawWhole(bitmap.Canvas()->Handle(), TRect(0, 0, Width(), Height()));
  TMemoryStream file;
  bitmap.SaveToStream(file);
  const int64_t size = file.Size() - int64_t(sizeof(BITMAPFILEHEADER));
  format = CF_DIB;
  data = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(std::max<int64_t>(size, 0)));
  if (!data) throw EOutOfResources("Out of system resources");
  std::memcpy(GlobalLock(data), file.Memory() + sizeof(BITMAPFILEHEADER), size_t(size));
  GlobalUnlock(data);
}

bool TvdPNGImage::SameImageAs(TvdPNGImage* other) {
  if (Width() != other->Width() || Height() != other->Height()) return false;
  if (Empty() || other->Empty()) return true;
  return image_->Pixels() == other->image_->Pixels();
}

std::unique_ptr<TBitmap> TvdPNGImage::ToBitmap() {
  return image_ ? image_->ToBitmap() : std::make_unique<TBitmap>();
}

void TvdPNGImage::LoadFromBitmap(TBitmap* bitmap) { ReplaceImage(vdGpImageFromBitmap(bitmap)); }

void TvdPNGImage::Draw(TCanvas& canvas, const TRect& rect) { DrawWhole(canvas.Handle(), rect); }

void TvdPNGImage::DrawWhole(HDC dc, const TRect& destRect) {
  if (image_) DrawPart(dc, destRect, image_->GetFullRect());
}

void TvdPNGImage::DrawPart(HDC dc, const TRect& destRect, const TRect& sourceRect) {
  if (!image_ || !image_->Handle()) return;
  std::unique_ptr<TvdGPGraphics> graphics = vdGpBeginPaint(dc, destRect);
  DrawOnGraphics(graphics->Handle(), destRect, sourceRect);
  vdGpEndPaint(graphics);
}

void TvdPNGImage::DrawOnGraphics(GpGraphics* graphics, const TRect& destRect, const TRect& sourceRect) {
  if (image_) image_->DrawTo(graphics, destRect, 255, sourceRect);
}

bool TvdPNGImage::HasTranslucentPixels() {
  if (!translucentKnown_) {
    translucent_ = false;
    if (image_)
      for (uint32_t p : image_->Pixels())
        if ((p >> 24) != 0xFF) {
          translucent_ = true;
          break;
        }
    translucentKnown_ = true;
  }
  return translucent_;
}

// --- Registration ------------------------------------------------------------------

TClass TvdPNGImageClass() {
  static const TClassInfo info("TvdPNGImage", TPersistentClass());
  return &info;
}

void vdPNGImageRegister() {
  gdiPlusImages = false;
  if (!vdGpIsLibraryAvailable()) return;
  vdGpLookupPngEncoder();
  gdiPlusImages = true;
  RegisterPersistentClass(TvdPNGImageClass());
  TPicture::RegisterFileFormat("PNG", "Portable Network Graphics", [] { return std::make_unique<TvdPNGImage>(); });
}

void vdPNGImageUnregister() {
  TPicture::UnregisterFileFormat("PNG");
  UnregisterPersistentClass(TvdPNGImageClass());
  gdiPlusImages = false;
}

void vdGDIPlusClassesInitialize() {
  if (TvdUnitsLoader* loader = vdSharedUnitsLoader()) loader->RegisterUnit(vdPNGImageRegister, vdPNGImageUnregister);
}

void vdGDIPlusClassesFinalize() {
  if (TvdUnitsLoader* loader = vdSharedUnitsLoader()) loader->UnregisterUnit(vdPNGImageUnregister);
}
