// The framed progress bar: a percentage as a plain bar, a row of LED
// segments or a two-colour gradient, with a centred text that changes
// colour where the bar covers it. Percent repaints at once, so that
// progress shows while the caller blocks the message loop.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

#include "framed/FmCommonController.h"
#include "platform/ui/Controls.h"

using TProgressChangeEvent = std::function<void(TObject* sender, int percent)>;

class TFmCustomProgressBar : public TGraphicControl, public IFmFrameControllerClient {
 public:
  explicit TFmCustomProgressBar(TComponent* owner);
  ~TFmCustomProgressBar() override;
  const char* ClassName() const override { return "TFmCustomProgressBar"; }

  void UpdateFrameFromController() override;
  TFmFrameControllerNotifications FrameControllerNotifications() const override { return notifications_; }
  void SetFrameControllerNotifications(TFmFrameControllerNotifications v) { notifications_ = v; }
  TFmFrameController* FrameController() const { return controller_.Get(); }
  virtual void SetFrameController(TFmFrameController* controller) { controller_.Set(controller); }

  TColor BackColor() const { return backColor_; }
  virtual void SetBackColor(TColor v) { SetAndRepaint(backColor_, v); }
  TColor BackColorStop() const { return backColorStop_; }
  void SetBackColorStop(TColor v) { SetAndRepaint(backColorStop_, v); }
  TColor BarColor() const { return barColor_; }
  // Also the font colour: the text over the background is drawn in it.
  virtual void SetBarColor(TColor v);
  TColor BarColorStop() const { return barColorStop_; }
  void SetBarColorStop(TColor v) { SetAndRepaint(barColorStop_, v); }
  TBarStyle BarStyle() const { return barStyle_; }
  virtual void SetBarStyle(TBarStyle v);
  int BevelWidth() const { return bevelWidth_; }
  virtual void SetBevelWidth(int v) { SetAndRepaint(bevelWidth_, v); }
  TColor BorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor v) { SetAndRepaint(borderColor_, v); }
  TFrameStyleEx BorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx v) { SetAndRepaint(borderInner_, v); }
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx v) { SetAndRepaint(borderOuter_, v); }
  int BorderWidth() const { return borderWidth_; }
  virtual void SetBorderWidth(int v) { SetAndRepaint(borderWidth_, v); }
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor v) { SetAndInvalidate(flatColor_, v); }
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int v) { SetAndInvalidate(flatColorAdjustment_, v); }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection v) { SetAndRepaint(gradientDirection_, v); }
  uint8_t InteriorOffset() const { return interiorOffset_; }
  virtual void SetInteriorOffset(uint8_t v) { SetAndRepaint(interiorOffset_, v); }
  // 1..100 segments of the LED style.
  int NumSegments() const { return numSegments_; }
  virtual void SetNumSegments(int v) { SetAndRepaint(numSegments_, std::clamp(v, 1, 100)); }
  // Follows the bounds: vertical when narrower than high.
  TOrientation Orientation() const { return orientation_; }
  virtual void SetOrientation(TOrientation v) { SetAndRepaint(orientation_, v); }
  uint32_t PartsComplete() const { return partsComplete_; }
  virtual void SetPartsComplete(uint32_t v);
  uint16_t Percent() const { return percent_; }
  // Repaints at once when the value changes; values above 100 show a
  // full bar.
  virtual void SetPercent(uint16_t v);
  bool ShowPercent() const { return showPercent_; }
  virtual void SetShowPercent(bool v) { SetAndRepaint(showPercent_, v); }
  bool ShowParts() const { return showParts_; }
  virtual void SetShowParts(bool v) { SetAndRepaint(showParts_, v); }
  uint32_t TotalParts() const { return totalParts_; }
  virtual void SetTotalParts(uint32_t v);
  bool ThemeAware() const { return themeAware_; }
  virtual void SetThemeAware(bool v) { SetAndInvalidate(themeAware_, v); }

  void SetBounds(int left, int top, int width, int height) override;

  TProgressChangeEvent OnChange;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void Change();

 private:
  template <typename T>
  void SetAndRepaint(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  template <typename T>
  void SetAndInvalidate(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  bool Themed() const;
  String ProgressText() const;
  TRect PaintFrame(TCanvas* c, TRect r);
  void PaintPlainOrGradient(TCanvas* c, const TRect& r);
  void PaintLED(TCanvas* c, const TRect& r);
  void PaintThemedLED(TCanvas* c, const TRect& r);

  TColor backColor_ = clWhite;
  TColor backColorStop_ = clBtnFace;
  TColor barColor_ = clHighlight;
  TColor barColorStop_ = clHotLight;
  TBarStyle barStyle_ = bsTraditional;
  int bevelWidth_ = 1;
  TColor borderColor_ = clBtnFace;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsLowered;
  int borderWidth_ = 0;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TGradientDirection gradientDirection_ = gdHorizontalCenter;
  uint8_t interiorOffset_ = 0;
  int numSegments_ = 20;
  TOrientation orientation_ = orHorizontal;
  uint32_t partsComplete_ = 0;
  uint16_t percent_ = 0;
  bool showPercent_ = true;
  bool showParts_ = false;
  uint32_t totalParts_ = 0;
  bool themeAware_ = true;
  TFmFrameControllerNotifications notifications_ = fcnAll;
  TFmFrameControllerLink controller_{this};
};

class TFmProgressBar : public TFmCustomProgressBar {
 public:
  explicit TFmProgressBar(TComponent* owner) : TFmCustomProgressBar(owner) {}
  const char* ClassName() const override { return "TFmProgressBar"; }
};

// The layout of the LED style's segments along a bar of `length` pixels.
struct TLedLayout {
  int Segments;  // N
  int Size;      // d, pixels per segment
  int Margin;    // q, pixels before the first segment
  int Lit;       // segments drawn in the bar colour
};
TLedLayout LayoutLedSegments(int length, int numSegments, int percent);
