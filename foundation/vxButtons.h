// The push button of the skinned library: a caption with an optional glyph
// placed by its layout, margin and spacing (vxButtonsLayout.h). Until the look-and-feel painters land it
// draws itself flat (owner-drawn system button), so clicks, focus, the
// keyboard and accelerators stay the system button's.
#pragma once

#include "foundation/vxButtonsLayout.h"
#include "platform/ui/StandardControls.h"

class TvxButton : public TButton {
 public:
  explicit TvxButton(TComponent* owner);
  const char* ClassName() const override { return "TvxButton"; }

  // The glyph's bottom-left pixel gives its transparent colour.
  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* glyph);
  TvxButtonLayout Layout() const { return layout_; }
  void SetLayout(TvxButtonLayout layout);
  // Images side by side in the glyph: up, disabled, pressed, down. Setting
  // a glyph takes the count from its shape; 1..4.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  // Pixels from the edge to the glyph; -1 centres glyph and caption.
  int Margin() const { return margin_; }
  void SetMargin(int value);
  // Pixels between glyph and caption; -1 shares the room evenly.
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);

  TBitmap glyph_;
  TvxButtonLayout layout_ = blGlyphLeft;
  int numGlyphs_ = 1;
  int margin_ = -1;
  int spacing_ = 4;
};
