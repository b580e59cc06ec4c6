#include "smooth/LuxGDIPWrappers.h"

#include <gdiplus.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

#include "foundation/vdGDIPlusAPI.h"

namespace flat = Gdiplus::DllExports;

// --- The GDI+ session ----------------------------------------------------------------
//
// GDI+ is started once for the process by the foundation's run-time
// binding, which holds the start-up token and the notification hook (the
// background thread is suppressed, so the hook always runs). The session
// here counts the smooth controls' users: every live wrapper, and whoever
// else acquired it. A start-up that failed is tried again at the next need.
// Shut-down comes after the last user: when the foundation's units loader
// exists, its finalisers run this module's first and shut GDI+ down after;
// without one, the session shuts GDI+ down itself when the module is
// finalised at the end of the process, or later, when the last user that
// outlived the finalisation lets go.
namespace {

class TGdiplusSession {
 public:
  ~TGdiplusSession() { Finalise(); }

  bool Acquire() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running_ && !Startup()) return false;
    ++users_;
    return true;
  }

  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--users_ == 0 && finalised_) Shutdown();
  }

  bool Running() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
  }

  void Finalise() {
    std::lock_guard<std::mutex> lock(mutex_);
    finalised_ = true;
    if (users_ == 0) Shutdown();
  }

 private:
  bool Startup() {
    if (!vdGpIsLibraryAvailable()) return false;
    running_ = true;
    if (TvdUnitsLoader* loader = vdSharedUnitsLoader(); loader && !registered_) {
      loader->RegisterUnit(nullptr, FinaliseFromLoader);
      registered_ = true;
    }
    return true;
  }

  // The loader's own finaliser shuts GDI+ down after this module's.
  void Shutdown() {
    if (!running_) return;
    running_ = false;
    if (!vdSharedUnitsLoader()) vdUnloadGdiPlus();
  }

  static void FinaliseFromLoader();

  std::mutex mutex_;
  int users_ = 0;
  bool running_ = false;
  bool finalised_ = false;
  bool registered_ = false;
};

TGdiplusSession& Session() {
  static TGdiplusSession session;
  return session;
}

// Made before main, so that its finalisation comes after every wrapper
// that static objects or main hold.
[[maybe_unused]] TGdiplusSession& sessionAtStart = Session();

void TGdiplusSession::FinaliseFromLoader() { Session().Finalise(); }

Gdiplus::RectF ToGp(const TGPRectF& r) { return Gdiplus::RectF(r.X, r.Y, r.Width, r.Height); }
TGPRectF FromGp(const Gdiplus::RectF& r) { return TGPRectF(r.X, r.Y, r.Width, r.Height); }

template <typename T>
T* As(TGdiplusBase* object) {
  return object ? static_cast<T*>(object->NativeHandle()) : nullptr;
}

const WCHAR* Wide(const WideString& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

}  // namespace

bool GdiplusAcquire() { return Session().Acquire(); }
void GdiplusRelease() { Session().Release(); }
bool GdiplusRunning() { return Session().Running(); }

ARGB ColorToARGB(uint8_t alpha, TColor color) {
  const COLORREF rgb = ColorToRGB(color);
  return ComposeARGB(alpha, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TGdiplusBase::TGdiplusBase() : acquired_(GdiplusAcquire()) {
  if (!acquired_) lastStatus_ = GdipGenericError;
}

TGdiplusBase::~TGdiplusBase() {
  if (acquired_) GdiplusRelease();
}

// Each constructor creates its object only when GDI+ runs.
#define QE_CREATE(call) \
  if (GdiplusRunning()) Check(call)

TGPRegion::TGPRegion(const TGPRectF& rect) {
  const Gdiplus::RectF r = ToGp(rect);
  QE_CREATE(flat::GdipCreateRegionRect(&r, reinterpret_cast<Gdiplus::GpRegion**>(&native_)));
}
TGPRegion::TGPRegion(TGPGraphicsPath* path) {
  QE_CREATE(flat::GdipCreateRegionPath(As<Gdiplus::GpPath>(path), reinterpret_cast<Gdiplus::GpRegion**>(&native_)));
}
TGPRegion::~TGPRegion() {
  if (native_) flat::GdipDeleteRegion(static_cast<Gdiplus::GpRegion*>(native_));
}

TGPImageAttributes::TGPImageAttributes() {
  QE_CREATE(flat::GdipCreateImageAttributes(reinterpret_cast<Gdiplus::GpImageAttributes**>(&native_)));
}
TGPImageAttributes::~TGPImageAttributes() {
  if (native_) flat::GdipDisposeImageAttributes(static_cast<Gdiplus::GpImageAttributes*>(native_));
}
int TGPImageAttributes::SetColorKey(ARGB low, ARGB high, int adjustType) {
  return Check(flat::GdipSetImageAttributesColorKeys(static_cast<Gdiplus::GpImageAttributes*>(native_),
                                                     Gdiplus::ColorAdjustType(adjustType), TRUE, low, high));
}

TGPFontFamily::TGPFontFamily(const String& name) {
  const WideString wide = AnsiToWide(name);
  QE_CREATE(flat::GdipCreateFontFamilyFromName(Wide(wide), nullptr,
                                               reinterpret_cast<Gdiplus::GpFontFamily**>(&native_)));
}
TGPFontFamily::~TGPFontFamily() {
  if (native_) flat::GdipDeleteFontFamily(static_cast<Gdiplus::GpFontFamily*>(native_));
}

TGPFont::TGPFont(TGPFontFamily* family, float size, int style, int unit) {
  QE_CREATE(flat::GdipCreateFont(As<Gdiplus::GpFontFamily>(family), size, style, Gdiplus::Unit(unit),
                                 reinterpret_cast<Gdiplus::GpFont**>(&native_)));
}
TGPFont::~TGPFont() {
  if (native_) flat::GdipDeleteFont(static_cast<Gdiplus::GpFont*>(native_));
}

TGPBrush::~TGPBrush() {
  if (native_) flat::GdipDeleteBrush(static_cast<Gdiplus::GpBrush*>(native_));
}

TGPSolidBrush::TGPSolidBrush(ARGB color) {
  QE_CREATE(flat::GdipCreateSolidFill(color, reinterpret_cast<Gdiplus::GpSolidFill**>(&native_)));
}

TGPHatchBrush::TGPHatchBrush(int hatchStyle, ARGB foreColor, ARGB backColor) {
  QE_CREATE(flat::GdipCreateHatchBrush(Gdiplus::HatchStyle(hatchStyle), foreColor, backColor,
                                       reinterpret_cast<Gdiplus::GpHatch**>(&native_)));
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, int wrapMode) {
  QE_CREATE(flat::GdipCreateTexture(As<Gdiplus::GpImage>(image), Gdiplus::WrapMode(wrapMode),
                                    reinterpret_cast<Gdiplus::GpTexture**>(&native_)));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2) {
  const Gdiplus::PointF p1(point1.X, point1.Y), p2(point2.X, point2.Y);
  QE_CREATE(flat::GdipCreateLineBrush(&p1, &p2, color1, color2, Gdiplus::WrapModeTile,
                                      reinterpret_cast<Gdiplus::GpLineGradient**>(&native_)));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, int mode) {
  const Gdiplus::RectF r = ToGp(rect);
  QE_CREATE(flat::GdipCreateLineBrushFromRect(&r, color1, color2, Gdiplus::LinearGradientMode(mode),
                                              Gdiplus::WrapModeTile,
                                              reinterpret_cast<Gdiplus::GpLineGradient**>(&native_)));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                                               bool angleScalable) {
  const Gdiplus::RectF r = ToGp(rect);
  QE_CREATE(flat::GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, angleScalable,
                                                       Gdiplus::WrapModeTile,
                                                       reinterpret_cast<Gdiplus::GpLineGradient**>(&native_)));
}
int TGPLinearGradientBrush::SetGammaCorrection(bool useGamma) {
  return Check(flat::GdipSetLineGammaCorrection(static_cast<Gdiplus::GpLineGradient*>(native_), useGamma));
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) {
  QE_CREATE(flat::GdipCreatePathGradientFromPath(As<Gdiplus::GpPath>(path),
                                                 reinterpret_cast<Gdiplus::GpPathGradient**>(&native_)));
}
int TGPPathGradientBrush::SetInterpolationColors(const ARGB* colors, const float* positions, int count) {
  if (count <= 0 || !colors) return Check(GdipInvalidParameter);
  static_assert(sizeof(ARGB) == sizeof(Gdiplus::ARGB));
  return Check(flat::GdipSetPathGradientPresetBlend(static_cast<Gdiplus::GpPathGradient*>(native_),
                                                    reinterpret_cast<const Gdiplus::ARGB*>(colors), positions,
                                                    count));
}
int TGPPathGradientBrush::SetWrapMode(int wrapMode) {
  return Check(flat::GdipSetPathGradientWrapMode(static_cast<Gdiplus::GpPathGradient*>(native_),
                                                 Gdiplus::WrapMode(wrapMode)));
}
int TGPPathGradientBrush::SetCenterColor(ARGB color) {
  return Check(flat::GdipSetPathGradientCenterColor(static_cast<Gdiplus::GpPathGradient*>(native_), color));
}
int TGPPathGradientBrush::PointCount() {
  INT count = 0;
  Check(flat::GdipGetPathGradientPointCount(static_cast<Gdiplus::GpPathGradient*>(native_), &count));
  return count;
}
int TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count) {
  if (!colors || count > PointCount()) return Check(GdipInvalidParameter);
  INT used = count;
  const int status = Check(flat::GdipSetPathGradientSurroundColorsWithCount(
      static_cast<Gdiplus::GpPathGradient*>(native_), reinterpret_cast<const Gdiplus::ARGB*>(colors), &used));
  if (status == GdipOk) count = used;
  return status;
}
int TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  Gdiplus::PointF p(point.X, point.Y);
  return Check(flat::GdipSetPathGradientCenterPoint(static_cast<Gdiplus::GpPathGradient*>(native_), &p));
}

TGPPen::TGPPen(ARGB color, float width) {
  QE_CREATE(flat::GdipCreatePen1(color, width, Gdiplus::UnitWorld, reinterpret_cast<Gdiplus::GpPen**>(&native_)));
}
TGPPen::~TGPPen() {
  if (native_) flat::GdipDeletePen(static_cast<Gdiplus::GpPen*>(native_));
}
int TGPPen::SetDashStyle(int dashStyle) {
  return Check(flat::GdipSetPenDashStyle(static_cast<Gdiplus::GpPen*>(native_), Gdiplus::DashStyle(dashStyle)));
}

TGPStringFormat::TGPStringFormat(int flags, LANGID language) {
  QE_CREATE(flat::GdipCreateStringFormat(flags, language, reinterpret_cast<Gdiplus::GpStringFormat**>(&native_)));
}
TGPStringFormat::~TGPStringFormat() {
  if (native_) flat::GdipDeleteStringFormat(static_cast<Gdiplus::GpStringFormat*>(native_));
}
int TGPStringFormat::SetAlignment(int alignment) {
  return Check(flat::GdipSetStringFormatAlign(static_cast<Gdiplus::GpStringFormat*>(native_),
                                              Gdiplus::StringAlignment(alignment)));
}

TGPGraphicsPath::TGPGraphicsPath(int fillMode) {
  QE_CREATE(flat::GdipCreatePath(Gdiplus::FillMode(fillMode), reinterpret_cast<Gdiplus::GpPath**>(&native_)));
}
TGPGraphicsPath::~TGPGraphicsPath() {
  if (native_) flat::GdipDeletePath(static_cast<Gdiplus::GpPath*>(native_));
}
int TGPGraphicsPath::Reset() { return Check(flat::GdipResetPath(static_cast<Gdiplus::GpPath*>(native_))); }
int TGPGraphicsPath::CloseFigureStatus() {
  return Check(flat::GdipClosePathFigure(static_cast<Gdiplus::GpPath*>(native_)));
}
int TGPGraphicsPath::AddLineStatus(float x1, float y1, float x2, float y2) {
  return Check(flat::GdipAddPathLine(static_cast<Gdiplus::GpPath*>(native_), x1, y1, x2, y2));
}
int TGPGraphicsPath::AddArcStatus(float x, float y, float width, float height, float startAngle,
                                  float sweepAngle) {
  return Check(
      flat::GdipAddPathArc(static_cast<Gdiplus::GpPath*>(native_), x, y, width, height, startAngle, sweepAngle));
}
int TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
  return Check(flat::GdipAddPathEllipse(static_cast<Gdiplus::GpPath*>(native_), x, y, width, height));
}

TGPImage::TGPImage(IStream* stream, bool useICM) {
  auto** out = reinterpret_cast<Gdiplus::GpImage**>(&native_);
  QE_CREATE(useICM ? flat::GdipLoadImageFromStreamICM(stream, out) : flat::GdipLoadImageFromStream(stream, out));
}
TGPImage::~TGPImage() {
  if (native_) flat::GdipDisposeImage(static_cast<Gdiplus::GpImage*>(native_));
}
unsigned TGPImage::Width() {
  UINT value = 0;
  Check(flat::GdipGetImageWidth(static_cast<Gdiplus::GpImage*>(native_), &value));
  return value;
}
unsigned TGPImage::Height() {
  UINT value = 0;
  Check(flat::GdipGetImageHeight(static_cast<Gdiplus::GpImage*>(native_), &value));
  return value;
}
int32_t TGPImage::PixelFormat() {
  Gdiplus::PixelFormat value = 0;
  Check(flat::GdipGetImagePixelFormat(static_cast<Gdiplus::GpImage*>(native_), &value));
  return int32_t(value);
}

// The published image-format GUIDs share all but their first field,
// b96b3caa (memory bitmap) to b96b3cb5 (icon).
int TGPImage::ImageFormatNumber() {
  GUID format{};
  if (Check(flat::GdipGetImageRawFormat(static_cast<Gdiplus::GpImage*>(native_), &format)) != GdipOk) return ifUnknown;
  static const GUID kTail = {0, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  if (format.Data2 != kTail.Data2 || format.Data3 != kTail.Data3 ||
      std::memcmp(format.Data4, kTail.Data4, sizeof kTail.Data4) != 0)
    return ifUnknown;
  switch (format.Data1) {
    case 0xb96b3caa: return ifMemoryBMP;
    case 0xb96b3cab: return ifBMP;
    case 0xb96b3cac: return ifEMF;
    case 0xb96b3cad: return ifWMF;
    case 0xb96b3cae: return ifJPEG;
    case 0xb96b3caf: return ifPNG;
    case 0xb96b3cb0: return ifGIF;
    case 0xb96b3cb1: return ifTIFF;
    case 0xb96b3cb2: return ifEXIF;
    case 0xb96b3cb5: return ifIcon;
    default: return ifUnknown;
  }
}

int TGPImage::SaveToPngFile(const String& fileName) {
  // The PNG encoder's class identifier, as GDI+ publishes it.
  static const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const WideString wide = AnsiToWide(fileName);
  return Check(flat::GdipSaveImageToFile(static_cast<Gdiplus::GpImage*>(native_), Wide(wide), &kPngEncoder, nullptr));
}

TGPBitmap::TGPBitmap(IStream* stream, bool useICM) {
  auto** out = reinterpret_cast<Gdiplus::GpBitmap**>(&native_);
  QE_CREATE(useICM ? flat::GdipCreateBitmapFromStreamICM(stream, out) : flat::GdipCreateBitmapFromStream(stream, out));
}
TGPBitmap::TGPBitmap(int width, int height, int32_t pixelFormat) {
  QE_CREATE(flat::GdipCreateBitmapFromScan0(width, height, 0, Gdiplus::PixelFormat(pixelFormat), nullptr,
                                            reinterpret_cast<Gdiplus::GpBitmap**>(&native_)));
}
int TGPBitmap::GetHBITMAP(ARGB background, HBITMAP& bitmap) {
  bitmap = nullptr;
  return Check(flat::GdipCreateHBITMAPFromBitmap(static_cast<Gdiplus::GpBitmap*>(native_), &bitmap, background));
}
int TGPBitmap::GetPixel(int x, int y, ARGB& color) {
  Gdiplus::ARGB value = 0;
  const int status = Check(flat::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(native_), x, y, &value));
  color = value;
  return status;
}
int TGPBitmap::CopyPremultiplied(void* bits, int stride) {
  const Gdiplus::Rect all(0, 0, int(Width()), int(Height()));
  Gdiplus::BitmapData data{};
  data.Width = all.Width;
  data.Height = all.Height;
  data.Stride = stride;
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = bits;
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(native_);
  const UINT mode = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
  if (Check(flat::GdipBitmapLockBits(bitmap, &all, mode, PixelFormat32bppPARGB, &data)) != GdipOk) return LastStatus();
  return Check(flat::GdipBitmapUnlockBits(bitmap, &data));
}

// --- Graphics ------------------------------------------------------------------------

namespace {
Gdiplus::GpGraphics* G(void* native) { return static_cast<Gdiplus::GpGraphics*>(native); }
}  // namespace

TGPGraphics::TGPGraphics(HDC dc) {
  QE_CREATE(flat::GdipCreateFromHDC(dc, reinterpret_cast<Gdiplus::GpGraphics**>(&native_)));
}
TGPGraphics::TGPGraphics(TGPImage* image) {
  if (image) QE_CREATE(flat::GdipGetImageGraphicsContext(As<Gdiplus::GpImage>(image),
                                                         reinterpret_cast<Gdiplus::GpGraphics**>(&native_)));
}
TGPGraphics::~TGPGraphics() {
  if (native_) flat::GdipDeleteGraphics(G(native_));
}

int TGPGraphics::Clear(ARGB color) { return Check(flat::GdipGraphicsClear(G(native_), color)); }
int TGPGraphics::GetHDC(HDC& dc) { return Check(flat::GdipGetDC(G(native_), &dc)); }
int TGPGraphics::ReleaseHDC(HDC dc) { return Check(flat::GdipReleaseDC(G(native_), dc)); }
int TGPGraphics::SetTextRenderingHint(int hint) {
  return Check(flat::GdipSetTextRenderingHint(G(native_), Gdiplus::TextRenderingHint(hint)));
}
int TGPGraphics::SetSmoothingMode(int mode) {
  return Check(flat::GdipSetSmoothingMode(G(native_), Gdiplus::SmoothingMode(mode)));
}
int TGPGraphics::SmoothingMode() {
  Gdiplus::SmoothingMode mode = Gdiplus::SmoothingModeDefault;
  if (Check(flat::GdipGetSmoothingMode(G(native_), &mode)) != GdipOk) return -1;
  return int(mode);
}
int TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path) {
  return Check(flat::GdipDrawPath(G(native_), As<Gdiplus::GpPen>(pen), As<Gdiplus::GpPath>(path)));
}
int TGPGraphics::FillPath(TGPBrush* brush, TGPGraphicsPath* path) {
  return Check(flat::GdipFillPath(G(native_), As<Gdiplus::GpBrush>(brush), As<Gdiplus::GpPath>(path)));
}
int TGPGraphics::FillRectangle(TGPBrush* brush, float x, float y, float width, float height) {
  return Check(flat::GdipFillRectangle(G(native_), As<Gdiplus::GpBrush>(brush), x, y, width, height));
}
int TGPGraphics::FillEllipse(TGPBrush* brush, int x, int y, int width, int height) {
  return Check(flat::GdipFillEllipseI(G(native_), As<Gdiplus::GpBrush>(brush), x, y, width, height));
}
int TGPGraphics::DrawRectangle(TGPPen* pen, float x, float y, float width, float height) {
  return Check(flat::GdipDrawRectangle(G(native_), As<Gdiplus::GpPen>(pen), x, y, width, height));
}
int TGPGraphics::DrawLine(TGPPen* pen, float x1, float y1, float x2, float y2) {
  return Check(flat::GdipDrawLine(G(native_), As<Gdiplus::GpPen>(pen), x1, y1, x2, y2));
}
int TGPGraphics::DrawImage(TGPImage* image, float x, float y, float width, float height) {
  return Check(flat::GdipDrawImageRect(G(native_), As<Gdiplus::GpImage>(image), x, y, width, height));
}
int TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth,
                           float srcHeight, int srcUnit, TGPImageAttributes* attributes) {
  return Check(flat::GdipDrawImageRectRect(G(native_), As<Gdiplus::GpImage>(image), dest.X, dest.Y, dest.Width,
                                           dest.Height, srcX, srcY, srcWidth, srcHeight, Gdiplus::Unit(srcUnit),
                                           As<Gdiplus::GpImageAttributes>(attributes), nullptr, nullptr));
}
int TGPGraphics::SetClip(TGPRegion* region, int combineMode) {
  return Check(flat::GdipSetClipRegion(G(native_), As<Gdiplus::GpRegion>(region), Gdiplus::CombineMode(combineMode)));
}
int TGPGraphics::ResetClip() { return Check(flat::GdipResetClip(G(native_))); }

int TGPGraphics::MeasureString(const String& text, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                               TGPRectF& bounds) {
  const WideString wide = AnsiToWide(text);
  const Gdiplus::RectF r = ToGp(layout);
  Gdiplus::RectF out;
  const int status = Check(flat::GdipMeasureString(G(native_), Wide(wide), int(wide.size()), As<Gdiplus::GpFont>(font),
                                                   &r, As<Gdiplus::GpStringFormat>(format), &out, nullptr, nullptr));
  bounds = FromGp(out);
  return status;
}
int TGPGraphics::MeasureString(const String& text, TGPFont* font, const TGPPointF& origin, TGPStringFormat* format,
                               TGPRectF& bounds) {
  return MeasureString(text, font, TGPRectF(origin.X, origin.Y, 0, 0), format, bounds);
}
int TGPGraphics::DrawString(const String& text, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                            TGPBrush* brush) {
  const WideString wide = AnsiToWide(text);
  const Gdiplus::RectF r = ToGp(layout);
  return Check(flat::GdipDrawString(G(native_), Wide(wide), int(wide.size()), As<Gdiplus::GpFont>(font), &r,
                                    As<Gdiplus::GpStringFormat>(format), As<Gdiplus::GpBrush>(brush)));
}
int TGPGraphics::DrawString(const String& text, TGPFont* font, const TGPPointF& origin, TGPStringFormat* format,
                            TGPBrush* brush) {
  return DrawString(text, font, TGPRectF(origin.X, origin.Y, 0, 0), format, brush);
}

TGPFont* TGPGraphics::FontFromTFont(TFont* font) {
  auto family = std::make_unique<TGPFontFamily>(font->Name());
  if (family->LastStatus() == GdipFontFamilyNotFound || family->LastStatus() == GdipFontStyleNotFound)
    family = std::make_unique<TGPFontFamily>("Arial");
  int style = FontStyleRegular;
  if (font->Style() & fsBold) style |= FontStyleBold;
  if (font->Style() & fsItalic) style |= FontStyleItalic;
  if (font->Style() & fsUnderline) style |= FontStyleUnderline;
  if (font->Style() & fsStrikeOut) style |= FontStyleStrikeout;
  // GDI+ keeps its own copy of the family in the font.
  return new TGPFont(family.get(), float(font->Size()), style, UnitPoint);
}

int TGPGraphics::TextRunHeight(const String& text, TGPFont* font) {
  TGPRectF bounds;
  MeasureString(text, font, TGPRectF(0, 0, 10000, 10000), nullptr, bounds);
  return int(std::lrint(bounds.Height));
}

int TGPGraphics::DrawTextRun(const String& text, int length, TColor background, int flags, TFont* font,
                             RECT& rect) {
  const String run = text.substr(0, length < 0 ? String::npos : size_t(length));
  std::unique_ptr<TGPFont> gpFont(FontFromTFont(font));
  if ((flags & kTextRunCalculate) || background != clNone) {
    // GDI+ measures a trailing blank as nothing, and its boxes carry some
    // overhang on the right that grows with the size.
    const int size = font->Size();
    const float correction = 2.0f + (size > 8 ? float(std::lrint((size - 8) / 1.5)) : 0.0f);
    String measured = run;
    if (measured.size() > 1 && measured.back() == ' ') measured.back() = 'i';
    TGPRectF bounds;
    MeasureString(measured, gpFont.get(),
                  TGPRectF(float(rect.left), float(rect.top), float(rect.right - rect.left + 1000),
                           float(rect.bottom - rect.top)),
                  nullptr, bounds);
    rect.right = rect.left + int(std::lrint(bounds.Width - correction));
    rect.bottom = rect.top + int(std::lrint(bounds.Height));
    if (background != clNone) {
      TGPSolidBrush brush(ColorToOpaqueARGB(background));
      FillRectangle(&brush, float(rect.left + 1), float(rect.top), bounds.Width - correction + 1, bounds.Height);
    }
  }
  if (!(flags & kTextRunCalculate)) {
    TGPSolidBrush brush(ColorToOpaqueARGB(font->Color()));
    DrawString(run, gpFont.get(), TGPPointF(float(rect.left), float(rect.top)), nullptr, &brush);
  }
  return rect.bottom - rect.top;
}
