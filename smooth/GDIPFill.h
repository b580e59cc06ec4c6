// The fill descriptor of the smooth controls. The splash uses it for its
// background: a picture drawn at its own size, with an overall opacity.
#pragma once

#include <cstdint>

#include "platform/ui/Graphics.h"

class TGDIPFill : public TPersistent {
 public:
  const char* ClassName() const override { return "TGDIPFill"; }

  TBitmap* Picture() { return &picture_; }
  // 0 (invisible) to 255 (opaque).
  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t value) { opacity_ = value; }

 private:
  TBitmap picture_;
  uint8_t opacity_ = 255;
};
