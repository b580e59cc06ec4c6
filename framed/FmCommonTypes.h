// The enumerations that the framed controls share. Their order is the order
// in which streamed forms name them.
#pragma once

#include <cstdint>

enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
  fsFlatRounded
};
// fsNone..fsFlatBold (the styles without fsFlatRounded).
using TFrameStyle = TFrameStyleEx;

// A set of sides: the bits 1, 2, 4 and 8.
enum : uint8_t { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = uint8_t;
constexpr TSides sdAllSides = sdLeft | sdTop | sdRight | sdBottom;

enum TOrientation { orHorizontal, orVertical };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TBarStyle { bsTraditional, bsLED, bsGradient };
enum TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
  gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};
enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TFmGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TFmVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TAlignmentVertical { avTop, avCenter, avBottom };
