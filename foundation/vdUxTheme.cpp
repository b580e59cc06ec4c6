#include "foundation/vdUxTheme.h"

#include <commctrl.h>

#include "platform/ui/SystemLibrary.h"

const char* const vdUxEntryNames[uxEntryCount] = {
    "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "DrawThemeParentBackground",
    "DrawThemeText", "DrawThemeTextEx", "EnableThemeDialogTexture", "GetCurrentThemeName", "GetThemeAppProperties",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundRegion", "GetThemeBackgroundExtent", "GetThemeBool",
    "GetThemeColor", "GetThemeDocumentationProperty", "GetThemeEnumValue", "GetThemeFilename", "GetThemeFont",
    "GetThemeInt", "GetThemeIntList", "GetThemeMargins", "GetThemeMetric", "GetThemePartSize", "GetThemePosition",
    "GetThemePropertyOrigin", "GetThemeRect", "GetThemeString", "GetThemeSysBool", "GetThemeSysColor",
    "GetThemeSysColorBrush", "GetThemeSysFont", "GetThemeSysInt", "GetThemeSysSize", "GetThemeSysString",
    "GetThemeTextExtent", "GetThemeTextMetrics", "GetWindowTheme", "HitTestThemeBackground", "IsAppThemed",
    "IsThemeActive", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent", "IsThemeDialogTextureEnabled",
    "OpenThemeData", "SetThemeAppProperties", "SetWindowTheme", "BufferedPaintInit", "BufferedPaintUnInit",
    "BeginBufferedPaint", "EndBufferedPaint", "BufferedPaintSetAlpha"};

namespace {

struct UxState {
  TSystemLibrary library;
  void* entries[uxEntryCount] = {};
};

UxState& State() {
  static UxState state;
  return state;
}

template <class Fn>
Fn Entry(TvdUxEntry e) {
  return reinterpret_cast<Fn>(State().entries[e]);
}

}  // namespace

void* vdUxEntry(TvdUxEntry entry) { return State().entries[entry]; }

bool vdUxThemeLibraryLoaded() { return State().library.Loaded(); }

HTHEME vdUxOpenThemeData(HWND window, const wchar_t* classList) {
  return Entry<decltype(&OpenThemeData)>(uxOpenThemeData)(window, classList);
}

HRESULT vdUxCloseThemeData(HTHEME theme) { return Entry<decltype(&CloseThemeData)>(uxCloseThemeData)(theme); }

HRESULT vdUxDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
  return Entry<decltype(&DrawThemeBackground)>(uxDrawThemeBackground)(theme, dc, part, state, rect, clip);
}

HRESULT vdUxDrawThemeBackgroundRect(HTHEME theme, HDC dc, int part, int state, const RECT& rect) {
  return vdUxDrawThemeBackground(theme, dc, part, state, &rect, nullptr);
}

HRESULT vdUxDrawThemeText(HTHEME theme, HDC dc, int part, int state, std::u16string_view text, DWORD flags,
                          DWORD flags2, const RECT* rect) {
  return Entry<decltype(&DrawThemeText)>(uxDrawThemeText)(theme, dc, part, state,
                                                          reinterpret_cast<const wchar_t*>(text.data()),
                                                          int(text.size()), flags, flags2, rect);
}

HRESULT vdUxDrawThemeTextAnsi(HTHEME theme, HDC dc, int part, int state, std::string_view text, DWORD flags,
                              DWORD flags2, const RECT* rect) {
  return vdUxDrawThemeText(theme, dc, part, state, AnsiToWide(text), flags, flags2, rect);
}

HRESULT vdUxGetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds,
                                          RECT* content) {
  return Entry<decltype(&GetThemeBackgroundContentRect)>(uxGetThemeBackgroundContentRect)(theme, dc, part, state,
                                                                                          bounds, content);
}

HRESULT vdUxGetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE size, SIZE* out) {
  return Entry<decltype(&GetThemePartSize)>(uxGetThemePartSize)(theme, dc, part, state, const_cast<RECT*>(rect), size,
                                                                out);
}

HRESULT vdUxGetThemePartSizeAlt(HTHEME theme, HDC dc, int part, int state, const RECT& rect, THEMESIZE size,
                                SIZE& out) {
  return vdUxGetThemePartSize(theme, dc, part, state, &rect, size, &out);
}

HRESULT vdUxGetThemePartSizeNoRect(HTHEME theme, HDC dc, int part, int state, THEMESIZE size, SIZE& out) {
  return vdUxGetThemePartSize(theme, dc, part, state, nullptr, size, &out);
}

HRESULT vdUxGetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region) {
  return Entry<decltype(&GetThemeBackgroundRegion)>(uxGetThemeBackgroundRegion)(theme, dc, part, state, rect, region);
}

HRESULT vdUxDrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge, UINT flags,
                          RECT* content) {
  return Entry<decltype(&DrawThemeEdge)>(uxDrawThemeEdge)(theme, dc, part, state, rect, edge, flags, content);
}

BOOL vdUxIsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) {
  return Entry<decltype(&IsThemeBackgroundPartiallyTransparent)>(uxIsThemeBackgroundPartiallyTransparent)(
      theme, part, state);
}

HRESULT vdUxDrawThemeParentBackground(HWND window, HDC dc, const RECT* rect) {
  // The parent's painting may select another font into the DC.
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const HRESULT result =
      Entry<decltype(&DrawThemeParentBackground)>(uxDrawThemeParentBackground)(window, dc, const_cast<RECT*>(rect));
  SelectObject(dc, font);
  return result;
}

HRESULT vdUxGetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color) {
  return Entry<decltype(&GetThemeColor)>(uxGetThemeColor)(theme, part, state, prop, color);
}

BOOL vdUxIsThemeActive() {
  auto isThemeActive = Entry<decltype(&IsThemeActive)>(uxIsThemeActive);
  return isThemeActive ? isThemeActive() : FALSE;
}

HRESULT vdUxGetCurrentThemeName(wchar_t* name, int nameChars, wchar_t* color, int colorChars, wchar_t* size,
                                int sizeChars) {
  return Entry<decltype(&GetCurrentThemeName)>(uxGetCurrentThemeName)(name, nameChars, color, colorChars, size,
                                                                      sizeChars);
}

HPAINTBUFFER vdUxBeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format, BP_PAINTPARAMS* params,
                                    HDC* paintDC) {
  return Entry<decltype(&BeginBufferedPaint)>(uxBeginBufferedPaint)(target, rect, format, params, paintDC);
}

HRESULT vdUxEndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget) {
  return Entry<decltype(&EndBufferedPaint)>(uxEndBufferedPaint)(buffer, updateTarget);
}

HRESULT vdUxBufferedPaintSetAlpha(HPAINTBUFFER buffer, const RECT* rect, BYTE alpha) {
  return Entry<decltype(&BufferedPaintSetAlpha)>(uxBufferedPaintSetAlpha)(buffer, rect, alpha);
}

void vdUxThemeInitialize() {
  if (State().library.Loaded()) return;
  InitCommonControls();
  if (!State().library.Load("uxtheme.dll")) return;
  for (int i = 0; i < uxEntryCount; ++i)
    State().entries[i] = reinterpret_cast<void*>(State().library.Proc(vdUxEntryNames[i]));
}

void vdUxThemeFinalize() {
  State().library.Free();
  for (void*& e : State().entries) e = nullptr;
}
