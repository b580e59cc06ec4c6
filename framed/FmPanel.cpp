#include "framed/FmPanel.h"

TFmPanel::TFmPanel(TComponent* owner) : TCustomPanel(owner) { SetBevelOuter(bvNone); }

void TFmPanel::SetBorderSides(TSides sides) {
  if (borderSides_ == sides) return;
  borderSides_ = sides;
  Invalidate();
}

void TFmPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  canvas->Pen()->SetColor(clBtnShadow);
  if (borderSides_ & sdLeft) canvas->MoveTo(r.Left, r.Top), canvas->LineTo(r.Left, r.Bottom);
  if (borderSides_ & sdTop) canvas->MoveTo(r.Left, r.Top), canvas->LineTo(r.Right, r.Top);
  if (borderSides_ & sdRight) canvas->MoveTo(r.Right - 1, r.Top), canvas->LineTo(r.Right - 1, r.Bottom);
  if (borderSides_ & sdBottom) canvas->MoveTo(r.Left, r.Bottom - 1), canvas->LineTo(r.Right, r.Bottom - 1);
}

TFmGroupBox::TFmGroupBox(TComponent* owner) : TFmPanel(owner) { SetBorderSides(0); }

void TFmGroupBox::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  if (value) SetParentColor(true);
  Invalidate();
}

void TFmGroupBox::Paint() {
  TFmPanel::Paint();
  // The flat group frame: one light line inside one shadow line.
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  canvas->Brush()->SetColor(RGBColor(200, 208, 220));
  canvas->FrameRect(r);
}
