#include "smooth/LuxSmoothLabel.h"

void TLuxSmoothCaption::SetText(const String& text) {
  text_ = text;
  owner_->Invalidate();
}

void TLuxSmoothCaption::SetColorStart(TColor color) {
  colorStart_ = color;
  owner_->Invalidate();
}

void TLuxSmoothCaptionShadow::SetText(const String& text) {
  text_ = text;
  owner_->Invalidate();
}

void TLuxSmoothCaptionShadow::SetColor(TColor color) {
  color_ = color;
  owner_->Invalidate();
}

void TLuxSmoothCaptionShadow::SetVisible(bool value) {
  visible_ = value;
  owner_->Invalidate();
}

TLuxSmoothLabel::TLuxSmoothLabel(TComponent* owner) : TGraphicControl(owner) { ChangeBounds(0, 0, 150, 40); }

void TLuxSmoothLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  Invalidate();
}

void TLuxSmoothLabel::Paint() {
  HDC dc = Canvas()->Handle();
  const UINT flags = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  SetBkMode(dc, TRANSPARENT);
  auto draw = [&](const String& text, TFont* font, TColor color, int offset) {
    if (text.empty()) return;
    RECT r = ClientRect();
    OffsetRect(&r, offset, offset);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    ::SetTextColor(dc, ColorToRGB(color));
    DrawTextA(dc, text.c_str(), -1, &r, flags);
    SelectObject(dc, old);
  };
  if (shadow_.Visible()) draw(shadow_.Text(), shadow_.Font(), shadow_.Color(), shadow_.Offset());
  draw(caption_.Text(), caption_.Font(), caption_.ColorStart(), 0);
}
