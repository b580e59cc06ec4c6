// The framed label: a label whose caption may blink, switching its font
// colour to BlinkColor and back every 500 ms.
#pragma once

#include "platform/ui/StandardControls.h"
#include "platform/ui/Timers.h"

class TFmLabel : public TLabel {
 public:
  explicit TFmLabel(TComponent* owner);
  const char* ClassName() const override { return "TFmLabel"; }

  bool Blinking() const { return blinking_; }
  void SetBlinking(bool value);
  TColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(TColor color) { blinkColor_ = color; }
  // Milliseconds of each phase.
  unsigned BlinkInterval() const { return blinkInterval_; }
  void SetBlinkInterval(unsigned ms);

 protected:
  void DoDrawText(TRect& r, UINT flags) override;

 private:
  bool blinking_ = false;
  bool blinkPhase_ = false;
  TColor blinkColor_ = clRed;
  unsigned blinkInterval_ = 500;
  TTimer* timer_ = nullptr;
};
