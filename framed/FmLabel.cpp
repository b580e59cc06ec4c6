#include "framed/FmLabel.h"

TFmLabel::TFmLabel(TComponent* owner) : TLabel(owner) {}

void TFmLabel::SetBlinking(bool value) {
  if (blinking_ == value) return;
  blinking_ = value;
  blinkPhase_ = false;
  if (value && !timer_) {
    timer_ = new TTimer(this);
    timer_->SetInterval(blinkInterval_);
    timer_->SetOnTimer([this](TObject*) {
      blinkPhase_ = !blinkPhase_;
      Invalidate();
    });
  }
  if (timer_) timer_->SetEnabled(value);
  Invalidate();
}

void TFmLabel::SetBlinkInterval(unsigned ms) {
  blinkInterval_ = ms;
  if (timer_) timer_->SetInterval(ms);
}

void TFmLabel::DoDrawText(TRect& r, UINT flags) {
  if (!blinking_ || !blinkPhase_ || !Enabled() || (flags & DT_CALCRECT)) return TLabel::DoDrawText(r, flags);
  const String text = Caption();
  HDC dc = Canvas()->Handle();
  SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ColorToRGB(blinkColor_));
  RECT rc = r;
  DrawTextA(dc, text.c_str(), -1, &rc, flags);
  r = TRect(rc);
}
