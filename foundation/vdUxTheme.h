// The visual-styles library, bound at run time: "UxTheme.dll" is loaded from
// the system folder at start-up and its entry points are looked up by name,
// each on its own, so that a missing library or function leaves a nullptr
// instead of a load failure. Callers test vdUxThemeLibraryLoaded first
// (vdUxIsThemeActive excepted).
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <string_view>

#include "platform/Text.h"

// The 52 bound names, in binding order.
enum TvdUxEntry : int {
  uxCloseThemeData, uxDrawThemeBackground, uxDrawThemeEdge, uxDrawThemeIcon, uxDrawThemeParentBackground,
  uxDrawThemeText, uxDrawThemeTextEx, uxEnableThemeDialogTexture, uxGetCurrentThemeName, uxGetThemeAppProperties,
  uxGetThemeBackgroundContentRect, uxGetThemeBackgroundRegion, uxGetThemeBackgroundExtent, uxGetThemeBool,
  uxGetThemeColor, uxGetThemeDocumentationProperty, uxGetThemeEnumValue, uxGetThemeFilename, uxGetThemeFont,
  uxGetThemeInt, uxGetThemeIntList, uxGetThemeMargins, uxGetThemeMetric, uxGetThemePartSize, uxGetThemePosition,
  uxGetThemePropertyOrigin, uxGetThemeRect, uxGetThemeString, uxGetThemeSysBool, uxGetThemeSysColor,
  uxGetThemeSysColorBrush, uxGetThemeSysFont, uxGetThemeSysInt, uxGetThemeSysSize, uxGetThemeSysString,
  uxGetThemeTextExtent, uxGetThemeTextMetrics, uxGetWindowTheme, uxHitTestThemeBackground, uxIsAppThemed,
  uxIsThemeActive, uxIsThemePartDefined, uxIsThemeBackgroundPartiallyTransparent, uxIsThemeDialogTextureEnabled,
  uxOpenThemeData, uxSetThemeAppProperties, uxSetWindowTheme, uxBufferedPaintInit, uxBufferedPaintUnInit,
  uxBeginBufferedPaint, uxEndBufferedPaint, uxBufferedPaintSetAlpha,
  uxEntryCount
};
static_assert(uxEntryCount == 52);

extern const char* const vdUxEntryNames[uxEntryCount];
// The bound address, nullptr when missing.
void* vdUxEntry(TvdUxEntry entry);

bool vdUxThemeLibraryLoaded();

HTHEME vdUxOpenThemeData(HWND window, const wchar_t* classList);
HRESULT vdUxCloseThemeData(HTHEME theme);
HRESULT vdUxDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
HRESULT vdUxDrawThemeBackgroundRect(HTHEME theme, HDC dc, int part, int state, const RECT& rect);
HRESULT vdUxDrawThemeText(HTHEME theme, HDC dc, int part, int state, std::u16string_view text, DWORD flags,
                          DWORD flags2, const RECT* rect);
// Widens an 8-bit (ANSI) text first.
HRESULT vdUxDrawThemeTextAnsi(HTHEME theme, HDC dc, int part, int state, std::string_view text, DWORD flags,
                              DWORD flags2, const RECT* rect);
HRESULT vdUxGetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds,
                                          RECT* content);
HRESULT vdUxGetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE size, SIZE* out);
HRESULT vdUxGetThemePartSizeAlt(HTHEME theme, HDC dc, int part, int state, const RECT& rect, THEMESIZE size,
                                SIZE& out);
HRESULT vdUxGetThemePartSizeNoRect(HTHEME theme, HDC dc, int part, int state, THEMESIZE size, SIZE& out);
HRESULT vdUxGetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region);
HRESULT vdUxDrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge, UINT flags,
                          RECT* content);
BOOL vdUxIsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
// Keeps the font selected into the DC across the call.
HRESULT vdUxDrawThemeParentBackground(HWND window, HDC dc, const RECT* rect);
HRESULT vdUxGetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
// 0 when the function is not bound.
BOOL vdUxIsThemeActive();
HRESULT vdUxGetCurrentThemeName(wchar_t* name, int nameChars, wchar_t* color, int colorChars, wchar_t* size,
                                int sizeChars);
HPAINTBUFFER vdUxBeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format, BP_PAINTPARAMS* params,
                                    HDC* paintDC);
HRESULT vdUxEndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget);
HRESULT vdUxBufferedPaintSetAlpha(HPAINTBUFFER buffer, const RECT* rect, BYTE alpha);

// Initialises the common controls, loads the library and binds the names.
void vdUxThemeInitialize();
void vdUxThemeFinalize();
