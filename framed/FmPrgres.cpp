#include "framed/FmPrgres.h"

#include <algorithm>

TFmProgressBar::TFmProgressBar(TComponent* owner) : TGraphicControl(owner) {
  SetColor(clWindow);
  ChangeBounds(0, 0, 150, 17);
}

void TFmProgressBar::SetPercent(uint16_t value) {
  if (percent_ == value) return;
  percent_ = value;
  Repaint();
}

void TFmProgressBar::SetBarStyle(TBarStyle style) {
  barStyle_ = style;
  Invalidate();
}

void TFmProgressBar::SetBorderOuter(TFrameStyleEx style) {
  borderOuter_ = style;
  Invalidate();
}

void TFmProgressBar::SetBorderWidth(int width) {
  borderWidth_ = width;
  Invalidate();
}

void TFmProgressBar::SetInteriorOffset(int offset) {
  interiorOffset_ = offset;
  Invalidate();
}

void TFmProgressBar::SetBarColor(TColor color) {
  barColor_ = color;
  Invalidate();
}

void TFmProgressBar::SetBarColorStop(TColor color) {
  barColorStop_ = color;
  Invalidate();
}

void TFmProgressBar::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  TRect r = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->Pen()->SetColor(borderOuter_ == fsNone ? Color() : clBtnShadow);
  if (borderOuter_ == fsFlatRounded) canvas->RoundRect(r, 4, 4);
  else canvas->Rectangle(r);
  TRect inside(r.Left + 2 + interiorOffset_, r.Top + 2 + interiorOffset_, r.Right - 2 - interiorOffset_,
               r.Bottom - 2 - interiorOffset_);
  const int percent = std::min<int>(percent_, 100);
  TRect bar = inside;
  bar.Right = inside.Left + inside.Width() * percent / 100;
  if (barStyle_ == bsGradient) {
    // Bar colour at the edges, the stop colour along the middle.
    TRect upper(bar.Left, bar.Top, bar.Right, bar.Top + bar.Height() / 2);
    TRect lower(bar.Left, upper.Bottom, bar.Right, bar.Bottom);
    PaintTwoColorGradient(dc, upper, barColor_, barColorStop_, true);
    PaintTwoColorGradient(dc, lower, barColorStop_, barColor_, true);
  } else {
    canvas->Brush()->SetColor(barColor_);
    canvas->FillRect(bar);
  }
  if (barStyle_ == bsLED) return;
  const String text = IntToStr(percent) + "%";
  SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ColorToRGB(Font()->Color()));
  RECT tr = inside;
  DrawTextA(dc, text.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
