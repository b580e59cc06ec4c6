// The smooth label: a caption drawn over a soft shadow of its own text,
// word-wrapped in the label's bounds.
#pragma once

#include "platform/ui/Controls.h"

class TLuxSmoothLabel;

class TLuxSmoothCaption {
 public:
  explicit TLuxSmoothCaption(TLuxSmoothLabel* owner) : owner_(owner) {}
  const String& Text() const { return text_; }
  void SetText(const String& text);
  TFont* Font() { return &font_; }
  TColor ColorStart() const { return colorStart_; }
  void SetColorStart(TColor color);

 private:
  TLuxSmoothLabel* owner_;
  String text_;
  TFont font_;
  TColor colorStart_ = RGBColor(26, 66, 132);
};

class TLuxSmoothCaptionShadow {
 public:
  explicit TLuxSmoothCaptionShadow(TLuxSmoothLabel* owner) : owner_(owner) {}
  const String& Text() const { return text_; }
  void SetText(const String& text);
  TFont* Font() { return &font_; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // Offset of the shadow from the caption, in pixels right and down.
  int Offset() const { return offset_; }
  // The shadow is drawn only when visible.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  TLuxSmoothLabel* owner_;
  String text_;
  TFont font_;
  TColor color_ = RGBColor(200, 200, 200);
  int offset_ = 2;
  bool visible_ = false;
};

class TLuxSmoothLabel : public TGraphicControl {
 public:
  explicit TLuxSmoothLabel(TComponent* owner);
  const char* ClassName() const override { return "TLuxSmoothLabel"; }

  // The label's caption object (its text, font and colour).
  TLuxSmoothCaption* Caption() { return &caption_; }
  TLuxSmoothCaptionShadow* CaptionShadow() { return &shadow_; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

 protected:
  void Paint() override;

 private:
  TLuxSmoothCaption caption_{this};
  TLuxSmoothCaptionShadow shadow_{this};
  bool wordWrap_ = false;
};
