// Gradients, transparent stretching, flipping and parent backgrounds on the
// platform canvas. The gradient's pixels come from FmGrafxBands.
#pragma once

#include "framed/FmCommon.h"
#include "framed/FmGrafxBands.h"

// Fills r (drawn from an off-screen bitmap at r's top-left corner); an empty
// rectangle draws nothing.
void PaintTwoColorGradient(TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor startColor,
                           TColor stopColor, uint8_t colorCount);
// Draws sourceRect of bitmap stretched to destRect, leaving out every pixel
// of transparentColor. The canvas keeps copy mode SRCPAINT afterwards.
void PaintTransparentStretched(TCanvas* canvas, const TRect& destRect, TBitmap* bitmap, const TRect& sourceRect,
                               TColor transparentColor);
void FlipBitmapVertically(TBitmap* bitmap);
// Paints into dc what the control's parent shows behind the control.
void PaintParentBackground(TControl* control, HDC dc, bool invalidateParent);
