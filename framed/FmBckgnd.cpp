#include "framed/FmBckgnd.h"

#include <utility>

TFmSeparator::TFmSeparator(TComponent* owner) : TGraphicControl(owner) {
  ChangeBounds(0, 0, 200, 2);
  SetParentColor(true);
  UpdateGradient();
}

// A horizontal line runs its colours along x (columns), a vertical one
// along y (rows).
void TFmSeparator::UpdateGradient() {
  const bool horizontal = orientation_ == orHorizontal;
  switch (highlightLocation_) {
    case hlCenter:
      direction_ = horizontal ? gdVerticalCenter : gdHorizontalCenter;
      startColor_ = Color(), stopColor_ = highlightColor_;
      break;
    case hlUpperLeft:
      direction_ = horizontal ? gdVerticalEnd : gdHorizontalEnd;
      startColor_ = highlightColor_, stopColor_ = Color();
      break;
    case hlLowerRight:
      direction_ = horizontal ? gdVerticalEnd : gdHorizontalEnd;
      startColor_ = Color(), stopColor_ = highlightColor_;
      break;
  }
}

void TFmSeparator::SetHighlightColor(TColor v) {
  highlightColor_ = v;
  UpdateGradient();
  Invalidate();
}

void TFmSeparator::SetHighlightLocation(TFmHighlightLocation v) {
  highlightLocation_ = v;
  UpdateGradient();
  Invalidate();
}

void TFmSeparator::SetShowGradient(bool v) {
  showGradient_ = v;
  Invalidate();
}

void TFmSeparator::SetOrientation(TOrientation v) {
  if (orientation_ == v) return;
  orientation_ = v;
  if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
  UpdateGradient();
  Invalidate();
}

void TFmSeparator::Loaded() {
  TGraphicControl::Loaded();
  UpdateGradient();
}

void TFmSeparator::Dispatch(TMessage& m) {
  TGraphicControl::Dispatch(m);
  if (m.Msg == CM_COLORCHANGED) {
    UpdateGradient();
    Invalidate();
  }
}

void TFmSeparator::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  if (!showGradient_ || !FullColorDisplay) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(showGradient_ ? stopColor_ : Color());
    c->FillRect(r);
    return;
  }
  // The gradient is drawn off-screen and copied in one go.
  TBitmap buffer;
  buffer.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  PaintTwoColorGradient(buffer.Canvas(), TRect(0, 0, buffer.Width(), buffer.Height()), direction_, startColor_,
                        stopColor_, 1);
  c->Draw(0, 0, &buffer);
}
