// The separator: a thin horizontal line drawn as a gradient from its Color
// to a highlight in the middle and back (or in its Color alone).
#pragma once

#include "framed/FmCommon.h"
#include "platform/ui/Controls.h"

class TFmSeparator : public TGraphicControl {
 public:
  explicit TFmSeparator(TComponent* owner);
  const char* ClassName() const override { return "TFmSeparator"; }

  bool ShowGradient() const { return showGradient_; }
  void SetShowGradient(bool value);

 protected:
  void Paint() override;

 private:
  bool showGradient_ = true;
};
