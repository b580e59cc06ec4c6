// The separator: a thin line drawn as a two-colour gradient between its
// Color and a highlight colour, horizontal or vertical, with the highlight
// in the middle or at one end.
#pragma once

#include "framed/FmGrafx.h"
#include "platform/ui/Controls.h"

enum TFmHighlightLocation { hlCenter, hlUpperLeft, hlLowerRight };

class TFmSeparator : public TGraphicControl {
 public:
  explicit TFmSeparator(TComponent* owner);
  const char* ClassName() const override { return "TFmSeparator"; }

  TColor HighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor v);
  TFmHighlightLocation HighlightLocation() const { return highlightLocation_; }
  virtual void SetHighlightLocation(TFmHighlightLocation v);
  bool ShowGradient() const { return showGradient_; }
  virtual void SetShowGradient(bool v);
  // Switching swaps width and height.
  TOrientation Orientation() const { return orientation_; }
  virtual void SetOrientation(TOrientation v);

  // The gradient that Paint draws.
  TGradientDirection Direction() const { return direction_; }
  TColor StartColor() const { return startColor_; }
  TColor StopColor() const { return stopColor_; }

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void Loaded() override;

 private:
  void UpdateGradient();

  TColor highlightColor_ = clHighlight;
  TFmHighlightLocation highlightLocation_ = hlCenter;
  bool showGradient_ = true;
  TOrientation orientation_ = orHorizontal;
  TGradientDirection direction_ = gdVerticalCenter;
  TColor startColor_ = clWindow;
  TColor stopColor_ = clHighlight;
};
