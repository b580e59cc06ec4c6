// The portable rules of the container module (see vxContainerLayout.h).
#include "foundation/vxContainerLayout.h"

#include <algorithm>

namespace {

constexpr const char* kStyleValueNames[vxContainerStyleValueCount] = {
    "BorderColor", "BorderStyle", "Color",     "Edges",       "Font",
    "HotTrack",    "Shadow",      "TextColor", "TextStyle",   "TransparentBorder",
};

// Fits one axis: start and size against the area's [low, high).
void FitAxis(int32_t& start, int& size, int32_t low, int32_t high) {
  if (start < low) {
    size -= low - start;
    start = low;
  }
  if (start >= high) {
    // Wholly past the far edge: bring it back whole where it fits.
    const int whole = size;
    start = std::max(low, high - whole);
    size = whole;
  }
  size = std::max(1, std::min(size, int(high - start)));
}

}  // namespace

const char* vxContainerStyleValueName(TvxContainerStyleValue value) {
  return value >= 0 && value < vxContainerStyleValueCount ? kStyleValueNames[value] : nullptr;
}

TvxContainerBorderStyle vxStateBorderStyleDefault(TvxContainerStyleState state, TvxContainerBorderStyle normal,
                                                  bool hotTrack) {
  if (state == cssNormal || state == cssDisabled || !hotTrack) return normal;
  switch (normal) {
    case cbsNone: return cbsFlat;
    case cbsSingle:
    case cbsThick: return cbsThick;
    case cbsFlat:
    case cbs3D: return cbs3D;
    default: return normal;
  }
}

int vxBorderStyleWidth(TvxContainerBorderStyle style) {
  switch (style) {
    case cbsNone: return 0;
    case cbsThick:
    case cbsFlat:
    case cbs3D: return 2;
    default: return 1;
  }
}

int vxPaintedBorderWidth(TvxContainerBorderStyle style, bool hasSkinPainter) {
  if (!hasSkinPainter) return vxBorderStyleWidth(style);
  return style == cbsNone ? 0 : style == cbsThick ? 2 : 1;
}

void vxGrowRectOnEdges(TRect& r, int width, TvxEdges edges) {
  if (edges & 1) r.Left -= width;
  if (edges & 2) r.Top -= width;
  if (edges & 4) r.Right += width;
  if (edges & 8) r.Bottom += width;
}

void vxShrinkRectOnEdges(TRect& r, int width, TvxEdges edges) {
  if (!(edges & 1)) r.Left += width;
  if (!(edges & 2)) r.Top += width;
  if (!(edges & 4)) r.Right -= width;
  if (!(edges & 8)) r.Bottom -= width;
}

int vxScaleToScreenDpi(int x, int storedPpi, int screenPpi) {
  if (storedPpi == 0 || storedPpi == screenPpi) return x;
  // MulDiv: rounded to nearest, halves away from zero.
  const int64_t product = int64_t(x) * screenPpi;
  const int64_t half = storedPpi / 2;
  return int((product >= 0 ? product + half : product - half) / storedPpi);
}

TvxPopupFit vxFitPopupToWorkArea(TPoint p, int width, int height, const TRect& workArea) {
  TvxPopupFit fit{p, width, height};
  FitAxis(fit.Position.X, fit.Width, workArea.Left, workArea.Right);
  FitAxis(fit.Position.Y, fit.Height, workArea.Top, workArea.Bottom);
  return fit;
}

void vxRemoveLastFilterChar(String& filter, const std::function<bool(unsigned char)>& isLeadByte) {
  size_t start = 0, last = 0;
  while (start < filter.size()) {
    last = start;
    start += isLeadByte(static_cast<unsigned char>(filter[start])) && start + 1 < filter.size() ? 2 : 1;
  }
  filter.resize(last);
}
