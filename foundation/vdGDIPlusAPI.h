// GDI+ without a static import: "gdiplus.dll" is loaded from the system
// folder on the first availability query, its 108 entry points are bound by
// name, and GDI+ is started and shut down here. When the library cannot be
// loaded, lacks a name or does not start, GDI+ is unavailable and every
// feature built on it (PNG pictures, skins) stays off without a message.
//
// TvdUnitsLoader holds the finalisers of the modules that need GDI+, so
// that GDI+ shuts down only after the last of them.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <vector>

#include "foundation/vdCore.h"
#include "platform/Streams.h"

// --- Entry points ------------------------------------------------------------------

// The 108 names, in binding order.
enum TvdGpEntry : int {
  gpGdipAlloc, gpGdipFree, gpGdiplusStartup, gpGdiplusShutdown, gpGdipCloneBrush, gpGdipDeleteBrush,
  gpGdipGetBrushType, gpGdipCreateSolidFill, gpGdipSetSolidFillColor, gpGdipGetSolidFillColor,
  gpGdipCreateLineBrushFromRectI, gpGdipGetLineRectI, gpGdipSetLineColors, gpGdipGetLineColors,
  gpGdipSetLineWrapMode, gpGdipGetLineWrapMode, gpGdipCreateHatchBrush, gpGdipGetHatchStyle,
  gpGdipGetHatchForegroundColor, gpGdipGetHatchBackgroundColor, gpGdipCreatePen1, gpGdipCreatePen2,
  gpGdipClonePen, gpGdipDeletePen, gpGdipGetPenFillType, gpGdipSetPenBrushFill, gpGdipGetPenBrushFill,
  gpGdipSetPenColor, gpGdipGetPenColor, gpGdipSetPenMode, gpGdipGetPenMode, gpGdipSetPenWidth,
  gpGdipGetPenWidth, gpGdipGetPenDashStyle, gpGdipSetPenDashStyle, gpGdipCreateFromHDC, gpGdipDeleteGraphics,
  gpGdipGetDC, gpGdipReleaseDC, gpGdipGraphicsClear, gpGdipDrawLineI, gpGdipDrawLinesI, gpGdipFillRectangleI,
  gpGdipDrawArcI, gpGdipDrawBezierI, gpGdipDrawRectangleI, gpGdipDrawEllipseI, gpGdipDrawPieI,
  gpGdipDrawPolygonI, gpGdipDrawCurve2I, gpGdipDrawClosedCurve2I, gpGdipFillPolygonI, gpGdipFillEllipseI,
  gpGdipFillPieI, gpGdipFillClosedCurveI, gpGdipLoadImageFromStream, gpGdipCreateBitmapFromFile,
  gpGdipCreateBitmapFromStream, gpGdipCreateBitmapFromStreamICM, gpGdipCreateHBITMAPFromBitmap,
  gpGdipLoadImageFromFile, gpGdipGetImageDimension, gpGdipDrawImageRectI, gpGdipDisposeImage,
  gpGdipGetImageEncodersSize, gpGdipGetImageEncoders, gpGdipSaveImageToStream, gpGdipCreateBitmapFromHBITMAP,
  gpGdipIsVisibleRect, gpGdipIsVisibleRectI, gpGdipGetEncoderParameterListSize, gpGdipGetEncoderParameterList,
  gpGdipCreateBitmapFromGdiDib, gpGdipCreateBitmapFromScan0, gpGdipBitmapLockBits, gpGdipBitmapUnlockBits,
  gpGdipDrawImageRectRectI, gpGdipDrawImageRectRect, gpGdipDrawImagePointRect, gpGdipCloneImage,
  gpGdipCreateTexture2I, gpGdipCreateImageAttributes, gpGdipDisposeImageAttributes,
  gpGdipSetImageAttributesColorMatrix, gpGdipAddPathArc, gpGdipAddPathLine, gpGdipClosePathFigure,
  gpGdipCreatePath, gpGdipDeletePath, gpGdipDrawPath, gpGdipFillPath, gpGdipStartPathFigure,
  gpGdipSetInterpolationMode, gpGdipGetInterpolationMode, gpGdipCreateCachedBitmap, gpGdipDeleteCachedBitmap,
  gpGdipDrawCachedBitmap, gpGdipCreateBitmapFromGraphics, gpGdipGetImageGraphicsContext, gpGdipGetImageWidth,
  gpGdipGetImageHeight, gpGdipSetCompositingMode, gpGdipGetCompositingMode, gpGdipSetCompositingQuality,
  gpGdipGetCompositingQuality, gpGdipSetSmoothingMode, gpGdipGetSmoothingMode, gpGdipCloneBitmapAreaI,
  gpEntryCount
};
static_assert(gpEntryCount == 108);

extern const char* const vdGpEntryNames[gpEntryCount];
// The bound address of one entry point; nullptr while GDI+ is unavailable.
void* vdGpEntry(TvdGpEntry entry);
// Typed access: vdGpCall<decltype(&Gdiplus::DllExports::GdipDisposeImage)>(gpGdipDisposeImage)(image).
template <class Fn>
Fn vdGpProc(TvdGpEntry entry) {
  return reinterpret_cast<Fn>(vdGpEntry(entry));
}

// Binds the names in order through lookup. After the first name lookup does
// not find, the remaining entries are cleared without further lookups.
// Returns whether every name was found.
bool vdGpBindEntries(const std::function<void*(const char* name)>& lookup, void* entries[gpEntryCount]);

// --- Availability ------------------------------------------------------------------

// Loads GDI+ when it is not available yet (a failed load is tried again at
// the next query) and returns whether it is.
bool vdGpIsLibraryAvailable();
void vdLoadGdiPlus();
void vdUnloadGdiPlus();

// --- Errors ------------------------------------------------------------------------

class EvdGdipException : public EvdException {
 public:
  explicit EvdGdipException(int status);
  const char* ClassName() const override { return "EvdGdipException"; }
  int Status() const { return status_; }

 private:
  int status_;
};

extern TvdResourceString svdGdipInvalidOperation;

// Raises EvdGdipException(status) for any status but Ok (0).
void vdGpCheckStatus(int status);
// Raises EvdGdipException(2, invalid parameter) for false.
void vdGpCheckSuccess(bool success);

// --- Helpers -----------------------------------------------------------------------

// 0 and the CLSID of the first encoder of that MIME type (letter case
// ignored); 1 when there is none or GDI+ is unavailable.
int vdGpFindEncoderClsid(const WideString& mimeType, CLSID& clsid);
// The PNG encoder's CLSID, looked up once.
const CLSID& vdGpLookupPngEncoder();
// A 32-bit premultiplied ARGB bitmap; status checked.
Gdiplus::GpBitmap* vdGpNewBitmap(int width, int height);
Gdiplus::GpBitmap* vdGpNewBitmapOfRectSize(const RECT& r);
// A bitmap of the stream's bytes from its position on. The bytes are copied
// into memory that lives as long as the bitmap: dispose of it with
// vdGpDisposeImage, which frees them too.
Gdiplus::GpBitmap* vdGpImageFromStream(TStream& stream);
void vdGpDisposeImage(Gdiplus::GpImage* image);
// 0xAARRGGBB; 0 for clNone. System colours are resolved.
uint32_t vdGpColorFromColor(int32_t color, uint8_t alpha);
inline Gdiplus::Rect vdGpMakeRect(int x, int y, int w, int h) { return Gdiplus::Rect(x, y, w, h); }

// --- Units loader ------------------------------------------------------------------

using TvdUnitProc = void (*)();

class TvdUnitsLoader {
 public:
  ~TvdUnitsLoader() { RunFinalizers(); }
  // A given init runs at once; a given final joins the finalisers.
  void RegisterUnit(TvdUnitProc init, TvdUnitProc final);
  // Removes final and, when it was registered, runs it.
  void UnregisterUnit(TvdUnitProc final);
  // Runs the finalisers last to first, once.
  void RunFinalizers();
  int FinalizerCount() const { return int(finalizers_.size()); }

 private:
  std::vector<TvdUnitProc> finalizers_;
  bool finalizationNeeded_ = false;
};

// The shared loader; exists between vdGDIPlusAPIInitialize and Finalize.
TvdUnitsLoader* vdSharedUnitsLoader();
void vdGDIPlusAPIInitialize();
void vdGDIPlusAPIFinalize();
