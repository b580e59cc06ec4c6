// The framed progress bar: a percentage drawn as a gradient bar with its
// value centred on it. Percent repaints at once, so that progress shows
// while the caller blocks the message loop.
#pragma once

#include <cstdint>

#include "framed/FmCommon.h"
#include "platform/ui/Controls.h"

class TFmProgressBar : public TGraphicControl {
 public:
  explicit TFmProgressBar(TComponent* owner);
  const char* ClassName() const override { return "TFmProgressBar"; }

  uint16_t Percent() const { return percent_; }
  void SetPercent(uint16_t value);
  TBarStyle BarStyle() const { return barStyle_; }
  void SetBarStyle(TBarStyle style);
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(TFrameStyleEx style);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  int InteriorOffset() const { return interiorOffset_; }
  void SetInteriorOffset(int offset);
  int PartsComplete() const { return partsComplete_; }
  void SetPartsComplete(int parts) { partsComplete_ = parts; }
  int TotalParts() const { return totalParts_; }
  void SetTotalParts(int parts) { totalParts_ = parts; }
  TColor BarColor() const { return barColor_; }
  void SetBarColor(TColor color);
  TColor BarColorStop() const { return barColorStop_; }
  void SetBarColorStop(TColor color);

 protected:
  void Paint() override;

 private:
  uint16_t percent_ = 0;
  TBarStyle barStyle_ = bsTraditional;
  TFrameStyleEx borderOuter_ = fsLowered;
  int borderWidth_ = 0;
  int interiorOffset_ = 0;
  int partsComplete_ = 0;
  int totalParts_ = 0;
  TColor barColor_ = clHighlight;
  TColor barColorStop_ = RGBColor(140, 190, 250);
};
