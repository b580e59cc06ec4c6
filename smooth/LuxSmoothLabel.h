// The smooth label: a windowless label that draws its caption with GDI+,
// anti-aliased or ClearType, filled with a colour, a gradient, a hatch or
// a picture, over an optional shadow caption drawn first at an offset and
// an optional background painted by a fill.
#pragma once

#include <memory>

#include "platform/ui/Controls.h"
#include "smooth/GDIPFill.h"

class TLuxSmoothLabel;

enum TLuxSmoothLabelLocation {
  plTopLeft, plTopCenter, plTopRight, plCenterLeft, plCenterCenter, plCenterRight, plBottomLeft, plBottomCenter,
  plBottomRight, plCustom
};
enum TTextRenderingHint { tAntiAlias, tClearType };

// One text of the label with its font and brush.
class TLuxSmoothLabelCaption : public TPersistent {
 public:
  explicit TLuxSmoothLabelCaption(TLuxSmoothLabel* owner);
  const char* ClassName() const override { return "TLuxSmoothLabelCaption"; }
  // Another caption's values (not its font), notified once.
  void Assign(const TPersistent* source) override;

  const String& Text() const { return text_; }
  // With the label's AutoShadowCaption, the shadow takes the text too.
  void SetText(const String& text);
  TLuxSmoothLabelLocation Location() const { return location_; }
  void SetLocation(TLuxSmoothLabelLocation v) { Set(location_, v); }
  TFont* Font() { return &font_; }
  void SetFont(TFont* font) { font_.Assign(font); }
  int Left() const { return left_; }
  void SetLeft(int v) { Set(left_, v); }
  int Top() const { return top_; }
  void SetTop(int v) { Set(top_, v); }
  TLuxGDIPPicture* Picture() { return &picture_; }
  void SetPicture(const TLuxGDIPPicture* picture);
  TColor ColorStart() const { return colorStart_; }
  void SetColorStart(TColor v) { Set(colorStart_, v); }
  TColor ColorEnd() const { return colorEnd_; }
  void SetColorEnd(TColor v) { Set(colorEnd_, v); }
  uint8_t OpacityStart() const { return opacityStart_; }
  void SetOpacityStart(uint8_t v) { Set(opacityStart_, v); }
  uint8_t OpacityEnd() const { return opacityEnd_; }
  void SetOpacityEnd(uint8_t v) { Set(opacityEnd_, v); }
  TLuxGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TLuxGradientType v) { Set(gradientType_, v); }
  int HatchStyle() const { return hatchStyle_; }
  void SetHatchStyle(int v) { Set(hatchStyle_, v); }

  TNotifyEvent OnChange;

 private:
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed();

  TLuxSmoothLabel* owner_;
  String text_;
  TLuxSmoothLabelLocation location_ = plCenterCenter;
  TFont font_;
  int left_ = 0, top_ = 0;
  TLuxGDIPPicture picture_;
  TColor colorStart_ = 0xFFE09F;
  TColor colorEnd_ = 0x754F00;
  uint8_t opacityStart_ = 255, opacityEnd_ = 255;
  TLuxGradientType gradientType_ = gtVertical;
  int hatchStyle_ = HatchStyleHorizontal;
};

class TLuxSmoothLabel : public TGraphicControl {
 public:
  explicit TLuxSmoothLabel(TComponent* owner);
  ~TLuxSmoothLabel() override;
  const char* ClassName() const override { return "TLuxSmoothLabel"; }
  // Another label's settings; other sources are ignored.
  void Assign(const TPersistent* source) override;

  bool AutoShadowCaption() const { return autoShadowCaption_; }
  void SetAutoShadowCaption(bool v) { Set(autoShadowCaption_, v); }
  bool AutoSize() const { return autoSize_; }
  // Sizes the label to its caption once, whichever way the value changes.
  void SetAutoSize(bool v);
  TGDIPFill* Fill() { return fill_.get(); }
  void SetFill(const TGDIPFill* fill);
  TLuxSmoothLabelCaption* Caption() { return caption_.get(); }
  void SetCaption(const TLuxSmoothLabelCaption* caption);
  TLuxSmoothLabelCaption* CaptionShadow() { return captionShadow_.get(); }
  void SetCaptionShadow(const TLuxSmoothLabelCaption* caption);
  bool CaptionShadowVisible() const { return captionShadowVisible_; }
  void SetCaptionShadowVisible(bool v) { Set(captionShadowVisible_, v); }
  int CaptionShadowOffsetLeft() const { return captionShadowOffsetLeft_; }
  void SetCaptionShadowOffsetLeft(int v) { Set(captionShadowOffsetLeft_, v); }
  int CaptionShadowOffsetTop() const { return captionShadowOffsetTop_; }
  void SetCaptionShadowOffsetTop(int v) { Set(captionShadowOffsetTop_, v); }
  String Version() const { return "1.6.0.1"; }
  void SetVersion(const String&) {}
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { Set(transparent_, v); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { Set(wordWrap_, v); }
  TTextRenderingHint TextRendering() const { return textRendering_; }
  void SetTextRendering(TTextRenderingHint v) { Set(textRendering_, v); }

  TNotifyEvent OnChange;

  // Auto-sizes when asked, repaints and fires OnChange; the fill's and the
  // captions' changes come here.
  void Changed();
  void DoAutoSize();
  void PaintTo(TCanvas* canvas);
  void Loaded() override;

 protected:
  void Paint() override { PaintTo(Canvas()); }
  void Resize() override;

 private:
  friend class TLuxSmoothLabelCaption;
  struct TCaptionFont;
  class TCaptionLayer;
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void PaintCaption(TGPGraphics& g, HDC dc, TLuxSmoothLabelCaption& caption, int leftOffset, int topOffset,
                    const TGPRectF& area, std::unique_ptr<TCaptionLayer>& layer);
  // Measures the caption with measure and draws it with target.
  void DrawCaption(TGPGraphics& measure, TGPGraphics& target, TLuxSmoothLabelCaption& caption, int leftOffset,
                   int topOffset, const TGPRectF& area);

  bool autoShadowCaption_ = true;
  bool autoSize_ = false;
  std::unique_ptr<TGDIPFill> fill_;
  std::unique_ptr<TLuxSmoothLabelCaption> caption_;
  std::unique_ptr<TLuxSmoothLabelCaption> captionShadow_;
  bool captionShadowVisible_ = false;
  int captionShadowOffsetLeft_ = 1, captionShadowOffsetTop_ = 1;
  bool transparent_ = true;
  bool wordWrap_ = false;
  TTextRenderingHint textRendering_ = tAntiAlias;
  bool sizing_ = false;
  // The gradient captions as last drawn (shadow, then caption).
  std::unique_ptr<TCaptionLayer> shadowLayer_;
  std::unique_ptr<TCaptionLayer> captionLayer_;
};
