#include "foundation/vdGDIPlusAPI.h"

#include <map>

#include "platform/ui/Graphics.h"
#include "platform/ui/SystemLibrary.h"

const char* const vdGpEntryNames[gpEntryCount] = {
    "GdipAlloc", "GdipFree", "GdiplusStartup", "GdiplusShutdown", "GdipCloneBrush", "GdipDeleteBrush",
    "GdipGetBrushType", "GdipCreateSolidFill", "GdipSetSolidFillColor", "GdipGetSolidFillColor",
    "GdipCreateLineBrushFromRectI", "GdipGetLineRectI", "GdipSetLineColors", "GdipGetLineColors",
    "GdipSetLineWrapMode", "GdipGetLineWrapMode", "GdipCreateHatchBrush", "GdipGetHatchStyle",
    "GdipGetHatchForegroundColor", "GdipGetHatchBackgroundColor", "GdipCreatePen1", "GdipCreatePen2",
    "GdipClonePen", "GdipDeletePen", "GdipGetPenFillType", "GdipSetPenBrushFill", "GdipGetPenBrushFill",
    "GdipSetPenColor", "GdipGetPenColor", "GdipSetPenMode", "GdipGetPenMode", "GdipSetPenWidth",
    "GdipGetPenWidth", "GdipGetPenDashStyle", "GdipSetPenDashStyle", "GdipCreateFromHDC", "GdipDeleteGraphics",
    "GdipGetDC", "GdipReleaseDC", "GdipGraphicsClear", "GdipDrawLineI", "GdipDrawLinesI", "GdipFillRectangleI",
    "GdipDrawArcI", "GdipDrawBezierI", "GdipDrawRectangleI", "GdipDrawEllipseI", "GdipDrawPieI",
    "GdipDrawPolygonI", "GdipDrawCurve2I", "GdipDrawClosedCurve2I", "GdipFillPolygonI", "GdipFillEllipseI",
    "GdipFillPieI", "GdipFillClosedCurveI", "GdipLoadImageFromStream", "GdipCreateBitmapFromFile",
    "GdipCreateBitmapFromStream", "GdipCreateBitmapFromStreamICM", "GdipCreateHBITMAPFromBitmap",
    "GdipLoadImageFromFile", "GdipGetImageDimension", "GdipDrawImageRectI", "GdipDisposeImage",
    "GdipGetImageEncodersSize", "GdipGetImageEncoders", "GdipSaveImageToStream", "GdipCreateBitmapFromHBITMAP",
    "GdipIsVisibleRect", "GdipIsVisibleRectI", "GdipGetEncoderParameterListSize", "GdipGetEncoderParameterList",
    "GdipCreateBitmapFromGdiDib", "GdipCreateBitmapFromScan0", "GdipBitmapLockBits", "GdipBitmapUnlockBits",
    "GdipDrawImageRectRectI", "GdipDrawImageRectRect", "GdipDrawImagePointRect", "GdipCloneImage",
    "GdipCreateTexture2I", "GdipCreateImageAttributes", "GdipDisposeImageAttributes",
    "GdipSetImageAttributesColorMatrix", "GdipAddPathArc", "GdipAddPathLine", "GdipClosePathFigure",
    "GdipCreatePath", "GdipDeletePath", "GdipDrawPath", "GdipFillPath", "GdipStartPathFigure",
    "GdipSetInterpolationMode", "GdipGetInterpolationMode", "GdipCreateCachedBitmap", "GdipDeleteCachedBitmap",
    "GdipDrawCachedBitmap", "GdipCreateBitmapFromGraphics", "GdipGetImageGraphicsContext", "GdipGetImageWidth",
    "GdipGetImageHeight", "GdipSetCompositingMode", "GdipGetCompositingMode", "GdipSetCompositingQuality",
    "GdipGetCompositingQuality", "GdipSetSmoothingMode", "GdipGetSmoothingMode", "GdipCloneBitmapAreaI"};

TvdResourceString svdGdipInvalidOperation("Invalid operation in GDI+ (Code: %d)");

namespace {

using namespace Gdiplus;

struct GdiPlusState {
  TSystemLibrary library;
  bool available = false;
  void* entries[gpEntryCount] = {};
  ULONG_PTR startupToken = 0;
  GdiplusStartupOutput hooks{};
  ULONG_PTR hookToken = 0;
  CLSID pngEncoder{};
  // The global memory behind each bitmap made from a stream: GDI+ reads it
  // for as long as the bitmap lives.
  std::map<GpImage*, IStream*> streams;
};

GdiPlusState& State() {
  static GdiPlusState state;
  return state;
}

TvdUnitsLoader*& SharedLoader() {
  static TvdUnitsLoader* loader = nullptr;
  return loader;
}

void MarkGdiPlusUnavailable() { State().available = false; }

}  // namespace

bool vdGpBindEntries(const std::function<void*(const char* name)>& lookup, void* entries[gpEntryCount]) {
  bool all = true;
  for (int i = 0; i < gpEntryCount; ++i) {
    entries[i] = all ? lookup(vdGpEntryNames[i]) : nullptr;
    if (!entries[i]) all = false;
  }
  return all;
}

void* vdGpEntry(TvdGpEntry entry) { return State().available ? State().entries[entry] : nullptr; }

void vdLoadGdiPlus() {
  GdiPlusState& s = State();
  if (s.available) return;
  if (!s.library.Loaded() && !s.library.Load("gdiplus.dll")) return;
  const bool bound = vdGpBindEntries(
      [&](const char* name) { return reinterpret_cast<void*>(s.library.Proc(name)); }, s.entries);
  if (!bound) return;
  GdiplusStartupInput input(nullptr, TRUE, FALSE);
  auto startup = reinterpret_cast<decltype(&GdiplusStartup)>(s.entries[gpGdiplusStartup]);
  if (startup(&s.startupToken, &input, &s.hooks) != Ok || !s.hooks.NotificationHook ||
      s.hooks.NotificationHook(&s.hookToken) != Ok) {
    s.hooks = {};
    return;
  }
  s.available = true;
}

void vdUnloadGdiPlus() {
  GdiPlusState& s = State();
  if (s.available) {
    for (auto& [image, stream] : s.streams) stream->Release();
    s.streams.clear();
    if (s.hooks.NotificationUnhook) s.hooks.NotificationUnhook(s.hookToken);
    reinterpret_cast<decltype(&GdiplusShutdown)>(s.entries[gpGdiplusShutdown])(s.startupToken);
    s.hooks = {};
    s.available = false;
  }
  for (void*& e : s.entries) e = nullptr;
  s.pngEncoder = CLSID{};
  s.library.Free();
}

bool vdGpIsLibraryAvailable() {
  if (!State().available) vdLoadGdiPlus();
  return State().available;
}

// --- Errors ------------------------------------------------------------------------

EvdGdipException::EvdGdipException(int status)
    : EvdException(Format(svdGdipInvalidOperation.Text, {status})), status_(status) {}

void vdGpCheckStatus(int status) {
  if (status != Ok) throw EvdGdipException(status);
}

void vdGpCheckSuccess(bool success) {
  if (!success) throw EvdGdipException(InvalidParameter);
}

// --- Helpers -----------------------------------------------------------------------

int vdGpFindEncoderClsid(const WideString& mimeType, CLSID& clsid) {
  if (!vdGpIsLibraryAvailable()) return 1;
  UINT count = 0, size = 0;
  vdGpProc<decltype(&DllExports::GdipGetImageEncodersSize)>(gpGdipGetImageEncodersSize)(&count, &size);
  if (count == 0 || size == 0) return 1;
  std::vector<uint8_t> buffer(size);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (vdGpProc<decltype(&DllExports::GdipGetImageEncoders)>(gpGdipGetImageEncoders)(count, size, codecs) != Ok)
    return 1;
  for (UINT i = 0; i < count; ++i)
    if (codecs[i].MimeType && lstrcmpiW(codecs[i].MimeType, reinterpret_cast<const wchar_t*>(mimeType.c_str())) == 0) {
      clsid = codecs[i].Clsid;
      return 0;
    }
  return 1;
}

const CLSID& vdGpLookupPngEncoder() {
  CLSID& c = State().pngEncoder;
  if (c.Data1 == 0 && c.Data2 == 0 && c.Data3 == 0) vdGpFindEncoderClsid(u"image/png", c);
  return c;
}

GpBitmap* vdGpNewBitmap(int width, int height) {
  GpBitmap* bitmap = nullptr;
  vdGpCheckSuccess(vdGpIsLibraryAvailable());
  vdGpCheckStatus(vdGpProc<decltype(&DllExports::GdipCreateBitmapFromScan0)>(gpGdipCreateBitmapFromScan0)(
      width, height, 0, PixelFormat32bppPARGB, nullptr, &bitmap));
  return bitmap;
}

GpBitmap* vdGpNewBitmapOfRectSize(const RECT& r) { return vdGpNewBitmap(r.right - r.left, r.bottom - r.top); }

GpBitmap* vdGpImageFromStream(TStream& stream) {
  vdGpCheckSuccess(vdGpIsLibraryAvailable());
  const int64_t size = stream.Size() - stream.Position();
  if (size <= 0 || size > INT32_MAX) throw EvdGdipException(InvalidParameter);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, SIZE_T(size));
  if (!block) throw EvdGdipException(OutOfMemory);
  void* bytes = GlobalLock(block);
  try {
    stream.ReadBuffer(bytes, size);
  } catch (...) {
    GlobalUnlock(block);
    GlobalFree(block);
    throw;
  }
  GlobalUnlock(block);
  // The stream owns the block and frees it when the bitmap is disposed of.
  IStream* istream = nullptr;
  if (CreateStreamOnHGlobal(block, TRUE, &istream) != S_OK) {
    GlobalFree(block);
    throw EvdGdipException(InvalidParameter);
  }
  GpBitmap* bitmap = nullptr;
  const Status status =
      vdGpProc<decltype(&DllExports::GdipCreateBitmapFromStream)>(gpGdipCreateBitmapFromStream)(istream, &bitmap);
  if (status != Ok) {
    istream->Release();
    vdGpCheckStatus(status);
  }
  State().streams[bitmap] = istream;
  return bitmap;
}

void vdGpDisposeImage(GpImage* image) {
  if (!image || !State().available) return;
  vdGpProc<decltype(&DllExports::GdipDisposeImage)>(gpGdipDisposeImage)(image);
  auto it = State().streams.find(image);
  if (it != State().streams.end()) {
    it->second->Release();
    State().streams.erase(it);
  }
}

uint32_t vdGpColorFromColor(int32_t color, uint8_t alpha) {
  if (color == clNone) return 0;
  const COLORREF rgb = ColorToRGB(color);
  return uint32_t(alpha) << 24 | uint32_t(GetRValue(rgb)) << 16 | uint32_t(GetGValue(rgb)) << 8 | GetBValue(rgb);
}

// --- Units loader ------------------------------------------------------------------

void TvdUnitsLoader::RegisterUnit(TvdUnitProc init, TvdUnitProc final) {
  if (init) {
    init();
    finalizationNeeded_ = true;
  }
  if (final) finalizers_.push_back(final);
}

void TvdUnitsLoader::UnregisterUnit(TvdUnitProc final) {
  for (auto it = finalizers_.begin(); it != finalizers_.end(); ++it)
    if (*it == final) {
      finalizers_.erase(it);
      if (final) final();
      return;
    }
}

void TvdUnitsLoader::RunFinalizers() {
  if (finalizationNeeded_)
    for (auto it = finalizers_.rbegin(); it != finalizers_.rend(); ++it)
      if (*it) (*it)();
  finalizationNeeded_ = false;
  finalizers_.clear();
}

TvdUnitsLoader* vdSharedUnitsLoader() { return SharedLoader(); }

void vdGDIPlusAPIInitialize() {
  if (SharedLoader()) return;
  SharedLoader() = new TvdUnitsLoader;
  // The first registration: GDI+ shuts down after every later finaliser.
  SharedLoader()->RegisterUnit(MarkGdiPlusUnavailable, vdUnloadGdiPlus);
}

void vdGDIPlusAPIFinalize() {
  delete SharedLoader();
  SharedLoader() = nullptr;
}
