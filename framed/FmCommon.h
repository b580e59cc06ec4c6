// The drawing vocabulary that the framed controls share: frame styles,
// sides, bar styles, and the colour helpers their painting uses.
#pragma once

#include <cstdint>

#include "platform/ui/Graphics.h"

enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
  fsFlatRounded
};
using TFrameStyle = TFrameStyleEx;

enum : uint8_t { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = uint8_t;
constexpr TSides sdAllSides = sdLeft | sdTop | sdRight | sdBottom;

enum TBarStyle { bsTraditional, bsLED, bsGradient };

// Fills r with a gradient from `from` at its left (top) edge to `to` at its
// right (bottom) edge.
void PaintTwoColorGradient(HDC dc, const TRect& r, TColor from, TColor to, bool vertical);
