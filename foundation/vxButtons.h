// The push button of the skinned library: a caption with an optional glyph
// placed left or right of it. Until the look-and-feel painters land it
// draws itself flat (owner-drawn system button), so clicks, focus, the
// keyboard and accelerators stay the system button's.
#pragma once

#include "platform/ui/StandardControls.h"

enum TvxButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TvxButton : public TButton {
 public:
  explicit TvxButton(TComponent* owner);
  const char* ClassName() const override { return "TvxButton"; }

  // The glyph's bottom-left pixel gives its transparent colour.
  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* glyph);
  TvxButtonLayout Layout() const { return layout_; }
  void SetLayout(TvxButtonLayout layout);

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);

  TBitmap glyph_;
  TvxButtonLayout layout_ = blGlyphLeft;
};
