// The check-box editor. The box is the system check box; the editor adds
// its style (the font it draws its caption with) and a transparent
// background that takes the parent's colour.
#pragma once

#include "platform/ui/StandardControls.h"

class TvxCheckBox;

// The editor's style: the caption font, which is the control's own.
class TvxCheckBoxStyle {
 public:
  explicit TvxCheckBoxStyle(TvxCheckBox* owner) : owner_(owner) {}
  TFont* Font();
  bool IsFontAssigned() const { return fontAssigned_; }
  void SetIsFontAssigned(bool value) { fontAssigned_ = value; }

 private:
  TvxCheckBox* owner_;
  bool fontAssigned_ = false;
};

class TvxCheckBox : public TCheckBox {
 public:
  explicit TvxCheckBox(TComponent* owner);
  const char* ClassName() const override { return "TvxCheckBox"; }

  TvxCheckBoxStyle* Style() { return &style_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  void Dispatch(TMessage& message) override;

 private:
  TvxCheckBoxStyle style_{this};
  bool transparent_ = false;
};
