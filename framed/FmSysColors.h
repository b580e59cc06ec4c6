// The colour names that the portable drawing code of the framed controls
// uses. Only for sources that do not see platform/ui/Graphics.h, which
// names the same values for the windowed code.
#pragma once

#include "framed/FmCommonColors.h"

namespace fm_colors {

constexpr TColor SystemColor(int index) { return TColor(0xFF000000u | uint32_t(index)); }

constexpr TColor clWindow = SystemColor(5);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

}  // namespace fm_colors
