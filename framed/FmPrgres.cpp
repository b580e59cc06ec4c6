#include "framed/FmPrgres.h"

#include <algorithm>
#include <cmath>

#include "framed/FmGrafx.h"

namespace {

// Theme parts of the progress control.
constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;

int RoundEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

TLedLayout LayoutLedSegments(int length, int numSegments, int percent) {
  // A segment count outside 1..100 never divides by zero.
  int n = std::clamp(numSegments, 1, 100);
  int d = length / n;
  if (length <= 80 && n > 10) {
    d = length / 10;
    n = 10;
  }
  // Segments that fit in what is left over are added, so the bar is full.
  const int extra = d > 0 ? (length - d * n) / d : 0;
  if (extra > 0) n += extra;
  const int spare = length - d * n;
  // A bar above 100 percent lights every segment, never more.
  const int lit = std::min(int(int64_t(percent) * n / 100), n);
  return {n, d, spare / 2, lit};
}

TFmCustomProgressBar::TFmCustomProgressBar(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | csOpaque);
  ChangeBounds(0, 0, 200, 24);
}

TFmCustomProgressBar::~TFmCustomProgressBar() = default;

void TFmCustomProgressBar::SetBarColor(TColor v) {
  if (barColor_ == v) return;
  barColor_ = v;
  Font()->SetColor(v);
  Repaint();
}

void TFmCustomProgressBar::SetBarStyle(TBarStyle v) {
  barStyle_ = v;
  showPercent_ = v != bsLED;
  interiorOffset_ = v == bsLED ? 1 : 0;
  Repaint();
}

void TFmCustomProgressBar::SetPercent(uint16_t v) {
  if (percent_ == v) return;
  percent_ = v;
  Change();
  Repaint();
}

void TFmCustomProgressBar::SetPartsComplete(uint32_t v) {
  if (partsComplete_ == v) return;
  partsComplete_ = std::min(v, totalParts_);
  if (!IsLoading() && totalParts_ != 0) SetPercent(uint16_t(RoundEven(double(partsComplete_) / totalParts_ * 100)));
}

void TFmCustomProgressBar::SetTotalParts(uint32_t v) {
  totalParts_ = v;
  if (IsLoading()) return;
  partsComplete_ = 0;
  SetPercent(0);
}

void TFmCustomProgressBar::SetBounds(int left, int top, int width, int height) {
  TGraphicControl::SetBounds(left, top, width, height);
  SetOrientation(Width() < Height() ? orVertical : orHorizontal);
}

void TFmCustomProgressBar::Change() {
  if (OnChange) OnChange(this, percent_);
}

void TFmCustomProgressBar::UpdateFrameFromController() {
  TFmFrameController* c = controller_.Get();
  if (!c || !c->FrameVisible()) return;
  if (HasNotification(notifications_, fcpFrameStyle)) borderOuter_ = c->FrameStyle();
  if (HasNotification(notifications_, fcpFrameColor)) {
    flatColor_ = c->FrameColor();
    flatColorAdjustment_ = 0;
  }
  if (HasNotification(notifications_, fcpColor)) backColor_ = c->Color();
  if (HasNotification(notifications_, fcpParentColor)) SetParentColor(c->ParentColor());
  Invalidate();
}

void TFmCustomProgressBar::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove) controller_.Forget(component);
}

bool TFmCustomProgressBar::Themed() const { return themeAware_ && fm_themes::Enabled(); }

String TFmCustomProgressBar::ProgressText() const {
  if (!showPercent_) return String();
  if (showParts_) return IntToStr(int64_t(partsComplete_)) + " / " + IntToStr(int64_t(totalParts_));
  return IntToStr(percent_) + "%";
}

TRect TFmCustomProgressBar::PaintFrame(TCanvas* c, TRect r) {
  const bool vertical = orientation_ == orVertical;
  if (Themed() && fm_themes::DrawPart(c->Handle(), L"PROGRESS", vertical ? PP_BARVERT : PP_BAR, 1, r)) {
    const int inset = interiorOffset_ + (barStyle_ == bsLED ? 1 : 3);
    return TRect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
  }
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(borderColor_);
  c->FillRect(r);
  TCanvasFrameSurface surface(c);
  TOuterInnerFrames f;
  f.BorderOuter = borderOuter_;
  f.BorderInner = borderInner_;
  f.BorderWidth = borderWidth_;
  f.BorderSides = sdAllSides;
  f.BevelWidth = bevelWidth_;
  f.BorderColor = borderColor_;
  f.BorderHighlight = clBtnHighlight;
  f.BorderShadow = clBtnShadow;
  f.FlatColor = flatColor_;
  f.FlatColorAdjustment = flatColorAdjustment_;
  f.Color = backColor_;
  f.ParentColor = Parent() ? Parent()->Color() : Color();
  f.CutInnerFlatCorners = true;
  r = PaintOuterInnerFrames(surface, r, f);
  if (interiorOffset_ > 0) {
    // The gap between frame and bar; what lies inside is painted over.
    c->Brush()->SetColor(backColor_);
    c->FillRect(r);
    r = TRect(r.Left + interiorOffset_, r.Top + interiorOffset_, r.Right - interiorOffset_, r.Bottom - interiorOffset_);
  }
  return r;
}

void TFmCustomProgressBar::PaintPlainOrGradient(TCanvas* c, const TRect& r) {
  const String text = ProgressText();
  // Centred on the bar, wherever the bar starts.
  const int x = (r.Left + r.Right) / 2;
  const int y = r.Top + (r.Height() - c->TextHeight("X")) / 2;
  TRect bar = r, rest = r;
  if (percent_ < 100 && orientation_ == orVertical) {
    bar.Top = r.Bottom - RoundEven(percent_ * r.Height() / 100.0);
    rest.Bottom = bar.Top;
  } else if (percent_ < 100) {
    bar.Right = r.Left + RoundEven(percent_ * r.Width() / 100.0);
    rest.Left = bar.Right;
  } else {
    rest = orientation_ == orVertical ? TRect(r.Left, r.Top, r.Right, r.Top) : TRect(r.Right, r.Top, r.Right, r.Bottom);
  }
  SetTextAlign(c->Handle(), TA_CENTER | TA_TOP);
  auto part = [&](const TRect& area, TColor textColor, TColor fill, TColor fillStop) {
    c->Font()->SetColor(textColor);
    if (barStyle_ == bsGradient) {
      PaintTwoColorGradient(c, area, gradientDirection_, fill, fillStop, 1);
      c->Brush()->SetStyle(bsClear);
    } else {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(fill);
    }
    c->TextRect(area, x, y, text);
  };
  part(bar, backColor_, barColor_, barColorStop_);
  part(rest, barColor_, backColor_, backColorStop_);
}

void TFmCustomProgressBar::PaintLED(TCanvas* c, const TRect& r) {
  const bool vertical = orientation_ == orVertical;
  const TLedLayout led = LayoutLedSegments(vertical ? r.Height() : r.Width(), numSegments_, percent_);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(backColor_);
  // The end margins; the segments cover any overlap.
  if (vertical) {
    c->FillRect(TRect(r.Left, r.Top, r.Right, r.Top + led.Margin));
    c->FillRect(TRect(r.Left, r.Bottom - led.Margin - 1, r.Right, r.Bottom));
  } else {
    c->FillRect(TRect(r.Left, r.Top, r.Left + led.Margin, r.Bottom));
    c->FillRect(TRect(r.Right - led.Margin - 1, r.Top, r.Right, r.Bottom));
  }
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(backColor_);
  for (int i = 1; i <= led.Segments; ++i) {
    c->Brush()->SetColor(i <= led.Lit ? barColor_ : backColor_);
    if (vertical) {
      const int top = r.Top + led.Margin + led.Size * (led.Segments - i);
      c->Rectangle(TRect(r.Left, top, r.Right, top + led.Size));
    } else {
      const int left = r.Left + led.Margin + led.Size * (i - 1);
      c->Rectangle(TRect(left, r.Top, left + led.Size, r.Bottom));
    }
  }
}

void TFmCustomProgressBar::PaintThemedLED(TCanvas* c, const TRect& outer) {
  const TRect r(outer.Left + 1, outer.Top + 1, outer.Right - 1, outer.Bottom - 1);
  if (orientation_ == orHorizontal) {
    TRect chunk = r;
    chunk.Right = r.Left + RoundEven(std::min<int>(percent_, 100) * r.Width() / 100.0);
    if (chunk.Right > chunk.Left) fm_themes::DrawPart(c->Handle(), L"PROGRESS", PP_CHUNK, 1, chunk);
    return;
  }
  // The vertical chunk grows from the bottom: drawn top-down, then flipped.
  const int height = std::max(RoundEven(std::min<int>(percent_, 100) * r.Height() / 100.0), 1);
  TBitmap work;
  work.SetSize(r.Width(), height);
  fm_themes::DrawPart(work.Canvas()->Handle(), L"PROGRESS", PP_CHUNKVERT, 1, TRect(0, 0, r.Width(), height));
  FlipBitmapVertically(&work);
  c->Draw(r.Left, r.Bottom - height, &work);
}

void TFmCustomProgressBar::Paint() {
  // Composed off-screen and copied in one go, so the bar never flickers.
  TBitmap buffer;
  buffer.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  TCanvas* c = buffer.Canvas();
  c->Font()->Assign(Font());
  const TRect r = PaintFrame(c, TRect(0, 0, Width(), Height()));
  if (barStyle_ != bsLED) PaintPlainOrGradient(c, r);
  else if (Themed()) PaintThemedLED(c, r);
  else PaintLED(c, r);
  Canvas()->Draw(0, 0, &buffer);
}
