#include "foundation/vxDWMApi.h"

#include "foundation/vdCore.h"
#include "platform/ui/SystemLibrary.h"

namespace vxDWMApi {
decltype(&::DwmDefWindowProc) DwmDefWindowProc;
decltype(&::DwmEnableBlurBehindWindow) DwmEnableBlurBehindWindow;
decltype(&::DwmEnableComposition) DwmEnableComposition;
decltype(&::DwmEnableMMCSS) DwmEnableMMCSS;
decltype(&::DwmExtendFrameIntoClientArea) DwmExtendFrameIntoClientArea;
decltype(&::DwmGetColorizationColor) DwmGetColorizationColor;
decltype(&::DwmGetWindowAttribute) DwmGetWindowAttribute;
decltype(&::DwmIsCompositionEnabled) DwmIsCompositionEnabled;
decltype(&::DwmSetWindowAttribute) DwmSetWindowAttribute;
decltype(&::DwmSetIconicThumbnail) DwmSetIconicThumbnail;
decltype(&::DwmSetIconicLivePreviewBitmap) DwmSetIconicLivePreviewBitmap;
decltype(&::DwmInvalidateIconicBitmaps) DwmInvalidateIconicBitmaps;
}  // namespace vxDWMApi

namespace {

TSystemLibrary& Library() {
  static TSystemLibrary library;
  return library;
}

bool available = false;

template <class Fn>
void Bind(Fn& entry, const char* name) {
  entry = Library().ProcAs<Fn>(name);
}

void BindAll() {
  Bind(vxDWMApi::DwmDefWindowProc, "DwmDefWindowProc");
  Bind(vxDWMApi::DwmEnableBlurBehindWindow, "DwmEnableBlurBehindWindow");
  Bind(vxDWMApi::DwmEnableComposition, "DwmEnableComposition");
  Bind(vxDWMApi::DwmEnableMMCSS, "DwmEnableMMCSS");
  Bind(vxDWMApi::DwmExtendFrameIntoClientArea, "DwmExtendFrameIntoClientArea");
  Bind(vxDWMApi::DwmGetColorizationColor, "DwmGetColorizationColor");
  Bind(vxDWMApi::DwmGetWindowAttribute, "DwmGetWindowAttribute");
  Bind(vxDWMApi::DwmIsCompositionEnabled, "DwmIsCompositionEnabled");
  Bind(vxDWMApi::DwmSetWindowAttribute, "DwmSetWindowAttribute");
  Bind(vxDWMApi::DwmSetIconicThumbnail, "DwmSetIconicThumbnail");
  Bind(vxDWMApi::DwmSetIconicLivePreviewBitmap, "DwmSetIconicLivePreviewBitmap");
  Bind(vxDWMApi::DwmInvalidateIconicBitmaps, "DwmInvalidateIconicBitmaps");
}

}  // namespace

bool vxLoadDwmApi() {
  // Systems before Vista have no desktop window manager.
  if (vdWin32MajorVersion() <= 5) return false;
  if (!Library().Load("dwmapi.dll")) return false;
  BindAll();
  return true;
}

bool vxDWMApiAvailable() { return available; }

bool vxDwmCompositionEnabled() {
  if (!available || !vxDWMApi::DwmIsCompositionEnabled) return false;
  BOOL enabled = FALSE;
  vxDWMApi::DwmIsCompositionEnabled(&enabled);
  return enabled != FALSE;
}

void vxDWMApiInitialize() {
  if (!available) available = vxLoadDwmApi();
}

void vxDWMApiFinalize() {
  Library().Free();
  available = false;
  BindAll();  // every entry back to nullptr
}
