#include "editors/vxCheckBox.h"

TFont* TvxCheckBoxStyle::Font() { return owner_->Font(); }

TvxCheckBox::TvxCheckBox(TComponent* owner) : TCheckBox(owner) {}

void TvxCheckBox::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  if (value) SetParentColor(true);
  Invalidate();
}

void TvxCheckBox::Dispatch(TMessage& m) {
  TCheckBox::Dispatch(m);
  // The caption is drawn without its own background rectangle.
  if (transparent_ && (m.Msg == CN_CTLCOLORSTATIC || m.Msg == CN_CTLCOLORBTN)) SetBkMode(HDC(m.WParam), TRANSPARENT);
}
