#include "editors_ext/vxMemo.h"

void TvxMemoProperties::SetReadOnly(bool value) {
  readOnly_ = value;
  owner_->SetReadOnly(value);
}

void TvxMemoProperties::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  if (owner_->HandleAllocated()) owner_->RecreateWnd();
}

TFont* TvxMemoStyle::Font() { return owner_->Font(); }

TvxMemo::TvxMemo(TComponent* owner) : TMemo(owner) {}

void TvxMemo::CreateParams(TCreateParams& p) {
  TMemo::CreateParams(p);
  p.Style &= ~DWORD(WS_HSCROLL | WS_VSCROLL);
  TScrollStyle bars = properties_.ScrollBars();
  if (bars == ssVertical || bars == ssBoth) p.Style |= WS_VSCROLL;
  if (bars == ssHorizontal || bars == ssBoth) p.Style |= WS_HSCROLL;
}
