// The portable rules of the container module: the ten style values and
// their bits, the border style a focused or hot style takes by default, the
// border widths, the rectangle arithmetic on edges, the pixels-per-inch
// scaling of stored fonts, the fitting of a popup into a work area, and the
// editing of an incremental-search filter. The windowed half (styles,
// controller, view info, container, popups and hooks) is in vxContainer.h.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Geometry.h"
#include "platform/Text.h"

enum TvxContainerBorderStyle : uint8_t { cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11 };

// The values a container style holds, in declaration order; a set of them
// has bit n for value n.
using TvxContainerStyleValue = int;
using TvxContainerStyleValues = uint32_t;
enum : TvxContainerStyleValue {
  svBorderColor, svBorderStyle, svColor, svEdges, svFont, svHotTrack, svShadow, svTextColor, svTextStyle,
  svTransparentBorder
};
constexpr int vxContainerStyleValueCount = 10;
constexpr TvxContainerStyleValues vxStyleValueBit(TvxContainerStyleValue v) { return TvxContainerStyleValues(1) << v; }
// What a direct-access style reports as set when it is made: Color, Font,
// TextColor, TextStyle.
constexpr TvxContainerStyleValues vxDirectAccessInitialValues = 0x194;
// The values that only the Normal style stores: Edges, Font, HotTrack,
// Shadow, TransparentBorder.
constexpr TvxContainerStyleValues vxRootOnlyStyleValues = 0x278;
// The name of a value ("BorderColor" .. "TransparentBorder"); nullptr past
// the ten.
const char* vxContainerStyleValueName(TvxContainerStyleValue value);

// The four states a container's styles stand for, by index.
enum TvxContainerStyleState : uint8_t { cssNormal, cssFocused, cssDisabled, cssHot };
constexpr int vxContainerStyleStateCount = 4;

// The state of a container, a set in one byte.
enum : uint8_t { csfNormal = 1, csfActive = 2, csfDisabled = 4, csfHot = 8 };
using TvxContainerState = uint8_t;
enum TvxHotTrackState : uint8_t { htsOff, htsIdle, htsActive };

// The border style of a Focused or Hot style that sets none: with hot
// tracking the Normal style's style is raised (none and flat to flat and
// 3-D, single to thick); without it, and for the Disabled style, it is kept.
TvxContainerBorderStyle vxStateBorderStyleDefault(TvxContainerStyleState state, TvxContainerBorderStyle normal,
                                                  bool hotTrack);
// Width of a border without a skin painter: none 0, single 1, thick, flat
// and 3-D 2, ultra-flat and Office 2003 1.
int vxBorderStyleWidth(TvxContainerBorderStyle style);
// With a skin painter: none 0, thick 2, any other 1.
int vxPaintedBorderWidth(TvxContainerBorderStyle style, bool hasSkinPainter);

// The sides of an edge set: bit 1 left, 2 top, 4 right, 8 bottom.
using TvxEdges = uint8_t;
// Moves outward by width each side named in edges.
void vxGrowRectOnEdges(TRect& r, int width, TvxEdges edges);
// Moves inward by width each side not named in edges.
void vxShrinkRectOnEdges(TRect& r, int width, TvxEdges edges);

// A font height stored at storedPpi, for a screen of screenPpi: unchanged
// when nothing was stored (0) or the two agree.
int vxScaleToScreenDpi(int x, int storedPpi, int screenPpi);

// Where a popup of width x height placed at p goes inside workArea: pushed
// right and down onto the area (shrinking by what it lost), then cut at the
// area's right and bottom. A popup placed wholly past the right or bottom
// edge is moved back so that its far edge meets the area's, rather than cut
// to nothing; it never gets less than one pixel each way.
struct TvxPopupFit {
  TPoint Position;
  int Width = 0, Height = 0;
  friend bool operator==(const TvxPopupFit&, const TvxPopupFit&) = default;
};
TvxPopupFit vxFitPopupToWorkArea(TPoint p, int width, int height, const TRect& workArea);

// Drops the last character of an incremental-search filter; a double-byte
// character goes whole (its lead byte found by walking from the start).
void vxRemoveLastFilterChar(String& filter, const std::function<bool(unsigned char)>& isLeadByte);
