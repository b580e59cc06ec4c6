// The container's view info and the window functions of the container
// module: border painting, the drop shadow and the window region it needs,
// frame filling and invalidation, the size grip, the native scroll-bar
// query, buffered painting, the popup activation lock, disabling the
// process's windows, and small message and input helpers.
#include <algorithm>

#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxContainer.h"
#include "foundation/vxDWMApi.h"

namespace {

constexpr int kShadowSize = 3;
// Theme colour properties (the system's numbers).
constexpr int kThemeBorderColor = 3801;

using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
TGetScrollBarInfo getScrollBarInfo = nullptr;

int popupActivationLock = 0;

struct TAppWindowsState {
  int Count = 0;
  bool Switching = false;
  std::vector<HWND> Disabled;
};
TAppWindowsState appWindows;

BOOL CALLBACK CollectProcessWindow(HWND wnd, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(wnd, &process);
  if (process == GetCurrentProcessId() && IsWindowEnabled(wnd)) appWindows.Disabled.push_back(wnd);
  return TRUE;
}

// The four strips of outer around inner, or outer itself when inner is
// empty; nothing when they are equal or outer is empty.
std::vector<TRect> FrameStrips(const TRect& outer, const TRect& inner) {
  if (vxIsEmptyRect(outer) || outer == inner) return {};
  if (vxIsEmptyRect(inner)) return {outer};
  return {
      {outer.Left, outer.Top, inner.Left, outer.Bottom},
      {inner.Left, outer.Top, inner.Right, inner.Top},
      {inner.Right, outer.Top, outer.Right, outer.Bottom},
      {inner.Left, inner.Bottom, inner.Right, outer.Bottom},
  };
}

TColor ThemeColor(TvdThemeClass cls, int part, int state, int prop, TColor fallback) {
  COLORREF color;
  HTHEME theme = vdOpenThemeClass(cls);
  if (theme && vdUxGetThemeColor(theme, part, state, prop, &color) == S_OK) return TColor(color);
  return fallback;
}

}  // namespace

// --- View info ----------------------------------------------------------------------

bool TvxContainerViewInfo::TakeSkinPainter(TvxContainerStyle* style) {
  TvxLookAndFeel* lookAndFeel = style ? style->GetLookAndFeel() : nullptr;
  SkinPainter = lookAndFeel ? lookAndFeel->SkinPainter() : nullptr;
  UsesSkin = SkinPainter != nullptr;
  return UsesSkin;
}

void TvxContainerViewInfo::ShiftBy(int dx, int dy) {
  for (TRect* r : {&BorderRect, &Bounds, &ClientRect}) *r = vxShiftedRect(*r, dx, dy);
}

void TvxContainerViewInfo::PaintContents(TvxCanvas* canvas) {
  if (NativeStyle)
    PaintNative(canvas);
  else
    PaintClassic(canvas);
}

void TvxContainerViewInfo::PaintClassic(TvxCanvas* canvas) {
  TRect r = BorderRect;
  r.Left -= BorderWidth;
  r.Top -= BorderWidth;
  if (Edges & vxBorder(bRight)) r.Right += BorderWidth;
  if (Edges & vxBorder(bBottom)) r.Bottom += BorderWidth;
  if (Shadow) vxPaintContainerShadow(canvas, r);
  if (!(Edges & vxBorder(bRight))) r.Right += BorderWidth;
  if (!(Edges & vxBorder(bBottom))) r.Bottom += BorderWidth;
  PaintBorder(canvas, r);
  canvas->FillAreaWithColor(BorderRect, BackgroundColor);
}

void TvxContainerViewInfo::PaintBorder(TvxCanvas* canvas, const TRect& r) {
  if (UsesSkin || BorderStyle == cbsSingle || BorderStyle == cbsThick) {
    if (BorderWidth > 0) canvas->DrawFrameSides(r, BorderColor, BorderWidth, vxAllBorders, false);
    return;
  }
  if (BorderStyle != cbsFlat && BorderStyle != cbs3D) return;
  canvas->DrawEdge3D(r, true, true, Edges);
  const TRect inner = vxInflatedRect(r, -1, -1);
  if (BorderStyle == cbsFlat)
    canvas->DrawFrameSides(inner, clBtnFace, 1, vxAllBorders, false);
  else
    canvas->DrawTwoToneBorders(inner, cl3DDkShadow, cl3DLight, Edges, 1);
}

void TvxContainerViewInfo::PaintNative(TvxCanvas* canvas) {
  if (BorderStyle == cbsNone) {
    canvas->FillAreaWithColor(Bounds, BackgroundColor);
    return;
  }
  TRect content = Bounds;
  HTHEME theme = vdOpenThemeClass(TvdThemeClass(ThemeClass));
  RECT bounds = Bounds, contentRect;
  if (theme && vdUxGetThemeBackgroundContentRect(theme, canvas->DeviceContext(), 1, NativeState, &bounds,
                                                 &contentRect) == S_OK)
    content = TRect(contentRect);
  canvas->FillAreaWithColor(content, BackgroundColor);
  const TColor border = vxDwmCompositionEnabled() ? ThemeColor(tcListBox, 3, 1, kThemeBorderColor, clWindowFrame)
                                                  : ThemeColor(tcComboBox, 1, 1, kThemeBorderColor, clWindowFrame);
  vxFillFrameArea(canvas, Bounds, content, border);
}

// --- Rectangles, shadow and regions ----------------------------------------------------------

TRect vxControlSizeRect(TControl* control) { return {0, 0, control->Width(), control->Height()}; }

int vxPaintedBorderWidth(TvxContainerBorderStyle style, TvxLookAndFeelPainterClass painter) {
  return vxPaintedBorderWidth(style, painter != nullptr);
}

void vxPaintContainerShadow(TvxCanvas* canvas, const TRect& r) {
  canvas->ApplyBrushColor(clBtnShadow);
  canvas->FillAreaWithBitmap({r.Left + kShadowSize, r.Bottom, r.Right, r.Bottom + kShadowSize}, nullptr, true);
  canvas->FillAreaWithBitmap({r.Right, r.Top + kShadowSize, r.Right + kShadowSize, r.Bottom + kShadowSize}, nullptr,
                             true);
}

HRGN vxWindowShadowRegion(const TRect& bounds, const TRect& insets, const TRect& removed, bool shadow, bool native) {
  if (!shadow || native) return nullptr;
  TRect shadowRect = vxShiftedRect(bounds, kShadowSize, kShadowSize);
  shadowRect.Left += insets.Left;
  shadowRect.Top += insets.Top;
  shadowRect.Right -= insets.Right;
  shadowRect.Bottom -= insets.Bottom;
  HRGN region = CreateRectRgn(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
  HRGN part = CreateRectRgn(shadowRect.Left, shadowRect.Top, shadowRect.Right, shadowRect.Bottom);
  CombineRgn(region, region, part, RGN_OR);
  if (!vxIsEmptyRect(removed)) {
    SetRectRgn(part, removed.Left, removed.Top, removed.Right, removed.Bottom);
    CombineRgn(region, region, part, RGN_DIFF);
  }
  DeleteObject(part);
  return region;
}

void vxSetWindowRegion(TWinControl* control, const TvxWindowRegion& region) {
  if (!control->HandleAllocated()) return;
  HRGN handle = region.None ? nullptr
                            : CreateRectRgn(region.Rect.Left, region.Rect.Top, region.Rect.Right, region.Rect.Bottom);
  SetWindowRgn(control->Handle(), handle, TRUE);
}

bool vxWindowRegionDiffers(HWND wnd, HRGN region) {
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(wnd, current);
  const bool windowHasOne = kind != ERROR && kind != NULLREGION;
  const bool differs = (region || windowHasOne) && !(region && windowHasOne && EqualRgn(region, current));
  DeleteObject(current);
  return differs;
}

void vxSetWindowRegionIfChanged(HWND wnd, HRGN region) {
  if (vxWindowRegionDiffers(wnd, region))
    SetWindowRgn(wnd, region, TRUE);
  else if (region)
    DeleteObject(region);
}

void vxApplyShadowRegion(HWND wnd, const TRect& bounds, const TRect& insets, const TRect& removed, bool shadow,
                         bool native) {
  vxSetWindowRegionIfChanged(wnd, vxWindowShadowRegion(bounds, insets, removed, shadow, native));
}

// --- Frame areas ---------------------------------------------------------------------------

void vxFillFrameArea(TvxCanvas* canvas, const TRect& outer, const TRect& inner, TColor color) {
  const std::vector<TRect> strips = FrameStrips(outer, inner);
  if (strips.empty()) return;
  canvas->ApplyBrushColor(color);
  for (const TRect& strip : strips) canvas->FillAreaWithBitmap(strip, nullptr, false);
}

void vxInvalidateFrameArea(HWND wnd, const TRect& outer, const TRect& inner, bool erase) {
  for (const TRect& strip : FrameStrips(outer, inner)) {
    const RECT r = strip;
    InvalidateRect(wnd, &r, erase);
  }
}

void vxInvalidateControlRect(TWinControl* control, const TRect& r, bool erase) {
  if (!control->HandleAllocated()) return;
  const RECT rect = r;
  InvalidateRect(control->Handle(), &rect, erase);
}

// --- Size grip ----------------------------------------------------------------------------

bool vxSizeGripNeedsRepaint(const TvxSizeGripState& oldState, const TvxSizeGripState& newState) {
  return newState.Visible && (!oldState.Visible || oldState.Rect != newState.Rect);
}

void vxPaintSizeGripSquareOn(HWND inner, const TRect& r, TColor color) {
  if (vxIsEmptyRect(r) || !inner) return;
  HDC dc = GetWindowDC(inner);
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  const RECT rect = r;
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  ReleaseDC(inner, dc);
}

// --- Native scroll bars ---------------------------------------------------------------------

void vxBindScrollBarInfoEntry() {
  HMODULE user32 = GetModuleHandleA("User32");
  getScrollBarInfo = user32 ? reinterpret_cast<TGetScrollBarInfo>(
                                  reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")))
                            : nullptr;
}

bool vxNativeScrollBarInfoAvailable() { return getScrollBarInfo != nullptr; }

bool vxQueryScrollBarInfo(HWND wnd, LONG objectId, SCROLLBARINFO& info) {
  info.cbSize = sizeof(SCROLLBARINFO);
  return getScrollBarInfo && getScrollBarInfo(wnd, objectId, &info);
}

void vxMirrorScrollInfo(TvxScrollBar* bar, HWND wnd, int nativeBar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(wnd, nativeBar, &info)) return;
  // The native bar allows a page as large as the whole range plus one; the
  // painted bar refuses a page beyond Max - Min.
  const int max = std::max(info.nMin, info.nMax);
  const int page = std::clamp(int(info.nPage), 0, max - info.nMin);
  const int position = std::clamp(info.nPos, info.nMin, max);
  bar->SetScrollParams(info.nMin, max, page, position, true);
}

// --- Theme and buffered painting ----------------------------------------------------------------

bool vxUseThemedDrawing(bool nativeStyle, TvdThemeClass themeClass) {
  return nativeStyle && vdOpenThemeClass(themeClass) != nullptr;
}

void vxBufferedPrintWindow(HDC dc, const TRect& r, HWND wnd) {
  const RECT rect = r;
  HDC bufferDC = nullptr;
  HPAINTBUFFER buffer = vdUxBeginBufferedPaint(dc, &rect, BPBF_TOPDOWNDIB, nullptr, &bufferDC);
  if (!buffer) return;
  SendMessageA(wnd, WM_ERASEBKGND, WPARAM(bufferDC), 0);
  SendMessageA(wnd, WM_PRINTCLIENT, WPARAM(bufferDC), PRF_CLIENT);
  vdUxBufferedPaintSetAlpha(buffer, &rect, 255);
  HideCaret(wnd);
  vdUxEndBufferedPaint(buffer, TRUE);
  ShowCaret(wnd);
}

void vxRepaintWindowBuffered(HWND wnd) {
  HDC dc = GetDC(wnd);
  vxBufferedPrintWindow(dc, vxWindowClientRectOrEmpty(wnd), wnd);
  ReleaseDC(wnd, dc);
}

void vxPaintWindowBuffered(HWND wnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(wnd, &ps);
  vxBufferedPrintWindow(dc, TRect(ps.rcPaint), wnd);
  EndPaint(wnd, &ps);
}

// --- Popup activation lock -----------------------------------------------------------------------

void vxChangePopupActivationLock(bool lock) {
  popupActivationLock += lock ? 1 : -1;
  vxUpdatePopupHooks();
}
bool vxPopupActivationLocked() { return popupActivationLock != 0; }

// --- The process's windows -------------------------------------------------------------------------

void vxSuspendAppWindows(bool disable) {
  if (++appWindows.Count != 1 || !disable) return;
  appWindows.Switching = true;
  appWindows.Disabled.clear();
  EnumWindows(CollectProcessWindow, 0);
  for (HWND wnd : appWindows.Disabled) EnableWindow(wnd, FALSE);
  appWindows.Switching = false;
}

void vxResumeAppWindows() {
  // A resume without its suspend would drive the count below zero and make
  // the next suspend skip its disabling.
  if (appWindows.Count == 0) return;
  if (--appWindows.Count != 0) return;
  appWindows.Switching = true;
  for (HWND wnd : appWindows.Disabled)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  appWindows.Disabled.clear();
  appWindows.Switching = false;
}

bool vxAppWindowsSwitching() { return appWindows.Switching; }
int vxAppWindowsSuspendCount() { return appWindows.Count; }

// --- Messages, input, objects --------------------------------------------------------------------

bool vxDrainMessages(HWND wnd, UINT first, UINT last, bool all) {
  if (last == 0) last = first;
  bool removed = false;
  MSG msg;
  while (PeekMessageA(&msg, wnd, first, last, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    removed = true;
    if (!all) break;
  }
  return removed;
}

TPoint vxCurrentCursorPos() { return vxGetCursorPosition(); }

TShiftState vxCurrentShiftState() {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return 0;
  TShiftState shift = 0;
  if (keys[VK_SHIFT] & 0x80) shift |= ssShift;
  if (keys[VK_CONTROL] & 0x80) shift |= ssCtrl;
  if (keys[VK_MENU] & 0x80) shift |= ssAlt;
  if (keys[VK_LBUTTON] & 0x80) shift |= ssLeft;
  if (keys[VK_RBUTTON] & 0x80) shift |= ssRight;
  if (keys[VK_MBUTTON] & 0x80) shift |= ssMiddle;
  return shift;
}

int vxMouseButtonCode(TMouseButton button) { return button == mbLeft ? 1 : button == mbRight ? 2 : 3; }

bool vxStringsEqual(const String& a, const String& b, bool caseSensitive) {
  if (caseSensitive) return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), int(a.size()), b.data(), int(b.size())) == CSTR_EQUAL;
  String ua = a, ub = b;
  if (!ua.empty()) CharUpperBuffA(ua.data(), DWORD(ua.size()));
  if (!ub.empty()) CharUpperBuffA(ub.data(), DWORD(ub.size()));
  return ua == ub;
}

void vxAssignFont(TFont* target, const TFont* source) { target->Assign(source); }

bool vxIsComponentDestroying(TComponent* component) { return component && component->IsDestroying(); }
