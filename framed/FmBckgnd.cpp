#include "framed/FmBckgnd.h"

TFmSeparator::TFmSeparator(TComponent* owner) : TGraphicControl(owner) {
  SetColor(clBtnFace);
  ChangeBounds(0, 0, 150, 2);
}

void TFmSeparator::SetShowGradient(bool value) {
  showGradient_ = value;
  Invalidate();
}

void TFmSeparator::Paint() {
  HDC dc = Canvas()->Handle();
  TRect r = ClientRect();
  // The shadow line above, the highlight line below it.
  TRect shadow(r.Left, r.Top, r.Right, r.Top + 1);
  TRect light(r.Left, r.Top + 1, r.Right, r.Bottom);
  if (!showGradient_) {
    PaintTwoColorGradient(dc, shadow, clBtnShadow, clBtnShadow, false);
    PaintTwoColorGradient(dc, light, clBtnHighlight, clBtnHighlight, false);
    return;
  }
  const int middle = r.Left + r.Width() / 2;
  PaintTwoColorGradient(dc, TRect(r.Left, shadow.Top, middle, shadow.Bottom), Color(), clBtnShadow, false);
  PaintTwoColorGradient(dc, TRect(middle, shadow.Top, r.Right, shadow.Bottom), clBtnShadow, Color(), false);
  PaintTwoColorGradient(dc, light, clBtnHighlight, clBtnHighlight, false);
}
