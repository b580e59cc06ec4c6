// Balloon hints: while the component lives, the application shows control
// hints in a rounded balloon with the component's frame colour and font.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

class TFmBalloonHintsBitmaps {
 public:
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor color) { transparentColor_ = color; }

 private:
  TColor transparentColor_ = clFuchsia;
};

class TFmBalloonHints : public TComponent {
 public:
  explicit TFmBalloonHints(TComponent* owner);
  ~TFmBalloonHints() override;
  const char* ClassName() const override { return "TFmBalloonHints"; }

  TFmBalloonHintsBitmaps* Bitmaps() { return &bitmaps_; }
  // Width in pixels below which the balloon is centred on the cursor.
  int CenterThreshold() const { return centerThreshold_; }
  void SetCenterThreshold(int value) { centerThreshold_ = value; }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor color) { frameColor_ = color; }
  TFont* Font() { return &font_; }

 private:
  TFmBalloonHintsBitmaps bitmaps_;
  int centerThreshold_ = 0;
  TColor frameColor_ = clBlack;
  TFont font_;
  THintWindowClass previousClass_;
};
