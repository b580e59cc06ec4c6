// The system half of the Office 2003 colour schemes: the theme query, the
// system colours, the grip brushes and expand-box bitmaps held while
// references exist, and the drawing of gradients and grip dots.
#include <windows.h>

#include "foundation/vdCore.h"
#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxGraphics.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/SystemLibrary.h"

namespace {

using TGradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The theme query writes each name into a buffer of this many characters.
constexpr int kThemeNameChars = 1024;
constexpr int kExpandBoxSize = 11;

struct TOffice11Resources {
  int references = 0;
  HBRUSH gripDark = nullptr, gripLight = nullptr;
  HBITMAP expandMinus = nullptr, expandPlus = nullptr;
};

TOffice11Resources& Resources() {
  static TOffice11Resources resources;
  return resources;
}

// msimg32 is bound while the module runs; without it (or its entry point)
// gradients are drawn in bands.
struct TGradientBinding {
  TSystemLibrary msimg32;
  TGradientFillProc entry = nullptr;
};

TGradientBinding& Gradient() {
  static TGradientBinding binding;
  return binding;
}

TGradientFillProc GradientFillEntry() { return Gradient().entry; }

TvdRGBColor Nearest(TvdRGBColor color) { return vxNearestScreenColor(color); }

TvdOffice11SystemColors CurrentSystemColors() {
  auto rgb = [](TColor color) { return TvdRGBColor(ColorToRGB(color)); };
  return {rgb(clBtnFace), rgb(clBtnShadow), rgb(clBtnHighlight), rgb(clBtnText),
          rgb(clWindow),  rgb(clHighlight), rgb(clGrayText)};
}

// The expand box: a framed face, lighter above than below, with a minus or
// a plus. Its four corner pixels are replaced before every draw so that they
// blend into what lies below.
HBITMAP CreateExpandBoxBitmap(bool expanded) {
  enum : uint8_t { kFaceTop, kFaceBottom, kFrame, kSign, kColorCount };
  const RGBQUAD palette[kColorCount] = {
      {0xFF, 0xFF, 0xFF, 0}, {0xEC, 0xE4, 0xDC, 0}, {0x82, 0x6A, 0x4E, 0}, {0x00, 0x00, 0x00, 0}};
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info{};
  vdInitBitmapInfoHeader(info.header, kExpandBoxSize, kExpandBoxSize, true);
  info.header.biBitCount = 8;
  info.header.biClrUsed = kColorCount;
  std::copy(std::begin(palette), std::end(palette), info.colors);
  void* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  constexpr int kStride = (kExpandBoxSize + 3) / 4 * 4;
  auto* pixels = static_cast<uint8_t*>(bits);
  constexpr int kLast = kExpandBoxSize - 1, kMiddle = kExpandBoxSize / 2;
  for (int y = 0; y < kExpandBoxSize; ++y)
    for (int x = 0; x < kExpandBoxSize; ++x) {
      uint8_t index = y <= kMiddle ? kFaceTop : kFaceBottom;
      if (x == 0 || y == 0 || x == kLast || y == kLast) index = kFrame;
      const bool bar = y == kMiddle && x >= 3 && x <= kLast - 3;
      const bool stem = !expanded && x == kMiddle && y >= 3 && y <= kLast - 3;
      if (bar || stem) index = kSign;
      pixels[y * kStride + x] = index;
    }
  return bitmap;
}

void CreateResources() {
  TOffice11Resources& r = Resources();
  r.gripDark = CreateSolidBrush(COLORREF(vdOffice11GripDarkColor));
  r.gripLight = CreateSolidBrush(COLORREF(vdOffice11GripLightColor));
  r.expandMinus = CreateExpandBoxBitmap(true);
  r.expandPlus = CreateExpandBoxBitmap(false);
}

void FreeResources() {
  TOffice11Resources& r = Resources();
  for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&r.gripDark), reinterpret_cast<HGDIOBJ*>(&r.gripLight),
                          reinterpret_cast<HGDIOBJ*>(&r.expandMinus), reinterpret_cast<HGDIOBJ*>(&r.expandPlus)}) {
    if (*object) DeleteObject(*object);
    *object = nullptr;
  }
}

bool ResourcesExist() { return Resources().gripDark != nullptr; }

void FillWithBrush(HDC dc, int x, int y, int size, HBRUSH brush) {
  const RECT square{x, y, x + size, y + size};
  FillRect(dc, &square, brush);
}

// A dark 2 x 2 dot over a light one moved by (1, 1), per cell.
void DrawGripCells(HDC dc, const std::vector<TPoint>& cells, HBRUSH dark, HBRUSH light) {
  for (const TPoint& cell : cells) {
    FillWithBrush(dc, cell.X + 1, cell.Y + 1, 2, light);
    FillWithBrush(dc, cell.X, cell.Y, 2, dark);
  }
}

}  // namespace

TvdOffice11Scheme vdDetectOffice11Scheme() {
  if (!vdThemeClassesUsable(0)) return vdo11None;
  wchar_t file[kThemeNameChars] = {}, color[kThemeNameChars] = {}, size[kThemeNameChars] = {};
  if (FAILED(vdUxGetCurrentThemeName(file, kThemeNameChars, color, kThemeNameChars, size, kThemeNameChars)))
    return vdo11None;
  return vdOffice11SchemeOf(true, reinterpret_cast<const char16_t*>(file), reinterpret_cast<const char16_t*>(color),
                            vdWin32MajorVersion());
}

void vdComputeOffice11Colors() {
  const TvdOffice11Scheme scheme = vdDetectOffice11Scheme();
  const bool themed = scheme != vdo11None && vdThemeClassesUsable(0);
  vdOffice11Store(scheme, themed, vdOffice11ColorsFor(scheme, themed, CurrentSystemColors(), Nearest));
}

void vdAddRefOffice11Colors() {
  if (Resources().references++ > 0) return;
  vdComputeOffice11Colors();
  CreateResources();
}

void vdReleaseOffice11Colors() {
  TOffice11Resources& r = Resources();
  if (r.references == 0) return;
  if (--r.references == 0) FreeResources();
}

void vdRefreshOffice11Colors() {
  vdComputeOffice11Colors();
  if (!ResourcesExist()) return;
  FreeResources();
  CreateResources();
}

int32_t vdMixColors(int32_t color1, int32_t color2, int percent) {
  return Nearest(vdMixRGB(TvdRGBColor(ColorToRGB(color1)), TvdRGBColor(ColorToRGB(color2)), percent));
}

int32_t vdBlendSystemColors(int facePercent, int highlightPercent, int windowPercent) {
  const TvdOffice11SystemColors s = CurrentSystemColors();
  return vdBlendRGB(s.BtnFace, s.Highlight, s.Window, facePercent, highlightPercent, windowPercent);
}

int32_t vdNearestScreenColor(int32_t color) { return Nearest(TvdRGBColor(ColorToRGB(color))); }

void vdFillRectWithColor(HDC dc, const TRect& rect, int32_t color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  const RECT r = rect;
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void vdFillRectGradient(HDC dc, const TRect& rect, int32_t color1, int32_t color2, bool horizontal) {
  const auto rgb1 = TvdRGBColor(ColorToRGB(color1)), rgb2 = TvdRGBColor(ColorToRGB(color2));
  if (rgb1 == rgb2) {
    vdFillRectWithColor(dc, rect, rgb1);
    return;
  }
  if (TGradientFillProc gradientFill = GradientFillEntry()) {
    auto vertex = [](int x, int y, TvdRGBColor c) {
      return TRIVERTEX{x, y, COLOR16(GetRValue(c) << 8), COLOR16(GetGValue(c) << 8), COLOR16(GetBValue(c) << 8), 0};
    };
    TRIVERTEX vertices[2] = {vertex(rect.Left, rect.Top, rgb1), vertex(rect.Right, rect.Bottom, rgb2)};
    GRADIENT_RECT corners{0, 1};
    gradientFill(dc, vertices, 2, &corners, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  for (const TvdGradientBand& band : vdGradientBands(rect, rgb1, rgb2, horizontal))
    vdFillRectWithColor(dc, band.Rect, band.Color);
}

void vdDrawOffice11GripDots(HDC dc, const TRect& rect, bool horizontal, HBRUSH darkBrush, HBRUSH lightBrush) {
  DrawGripCells(dc, vdOffice11GripDotCells(rect, horizontal), darkBrush ? darkBrush : Resources().gripDark,
                lightBrush ? lightBrush : Resources().gripLight);
}

void vdDrawOffice11SizeGrip(HDC dc, const TRect& rect, int32_t darkColor, int32_t lightColor) {
  HBRUSH dark = darkColor == clDefault ? Resources().gripDark : CreateSolidBrush(ColorToRGB(darkColor));
  HBRUSH light = lightColor == clDefault ? Resources().gripLight : CreateSolidBrush(ColorToRGB(lightColor));
  DrawGripCells(dc, vdOffice11SizeGripCells(rect), dark, light);
  if (darkColor != clDefault) DeleteObject(dark);
  if (lightColor != clDefault) DeleteObject(light);
}

HBITMAP vdOffice11ExpandButtonBitmap(bool expanded) {
  return expanded ? Resources().expandMinus : Resources().expandPlus;
}
HBRUSH vdOffice11GripDarkBrush() { return Resources().gripDark; }
HBRUSH vdOffice11GripLightBrush() { return Resources().gripLight; }
bool vdOffice11GradientFillBound() { return GradientFillEntry() != nullptr; }

void vdOffice11Initialize() {
  TGradientBinding& binding = Gradient();
  if (!binding.msimg32.Loaded() && binding.msimg32.Load("msimg32.dll"))
    binding.entry = binding.msimg32.ProcAs<TGradientFillProc>("GradientFill");
}

void vdOffice11Finalize() {
  TGradientBinding& binding = Gradient();
  binding.entry = nullptr;
  binding.msimg32.Free();
}

