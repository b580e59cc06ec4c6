// The Desktop Window Manager, bound at run time so that the program starts
// on systems without it. Painting code asks whether desktop composition is
// on and calls the bound entry points directly.
#pragma once

#include <windows.h>

#include <dwmapi.h>

// The bound entry points, each nullptr when the library or the name is
// missing. They live in a namespace of their own: the system header declares
// the functions of the same names.
namespace vxDWMApi {
extern decltype(&::DwmDefWindowProc) DwmDefWindowProc;
extern decltype(&::DwmEnableBlurBehindWindow) DwmEnableBlurBehindWindow;
extern decltype(&::DwmEnableComposition) DwmEnableComposition;
extern decltype(&::DwmEnableMMCSS) DwmEnableMMCSS;
extern decltype(&::DwmExtendFrameIntoClientArea) DwmExtendFrameIntoClientArea;
extern decltype(&::DwmGetColorizationColor) DwmGetColorizationColor;
extern decltype(&::DwmGetWindowAttribute) DwmGetWindowAttribute;
extern decltype(&::DwmIsCompositionEnabled) DwmIsCompositionEnabled;
extern decltype(&::DwmSetWindowAttribute) DwmSetWindowAttribute;
extern decltype(&::DwmSetIconicThumbnail) DwmSetIconicThumbnail;
extern decltype(&::DwmSetIconicLivePreviewBitmap) DwmSetIconicLivePreviewBitmap;
extern decltype(&::DwmInvalidateIconicBitmaps) DwmInvalidateIconicBitmaps;
}  // namespace vxDWMApi

bool vxDWMApiAvailable();
// Asked of the system on every call (the user may switch composition off).
bool vxDwmCompositionEnabled();

// Loads "dwmapi.dll" unless the system's major version is 5 or lower.
bool vxLoadDwmApi();
void vxDWMApiInitialize();
void vxDWMApiFinalize();
