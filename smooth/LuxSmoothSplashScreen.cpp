#include "smooth/LuxSmoothSplashScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "smooth/LuxMiniHtmlRender.h"

namespace {

constexpr unsigned kActivationDelayMs = 20;
constexpr unsigned kAnimationMs = 10;
constexpr int kFadeStep = 20, kFadeDelayMs = 5, kFadeOutTarget = 10;

TFont* TahomaFont(TFont& font) {
  font.SetName("Tahoma");
  return &font;
}

// Round to nearest, ties to even, as the platform's Round.
int RoundEven(double v) { return int(std::nearbyint(v)); }

// The extent that a border of width w takes inside the edge.
int BorderExtent(int width) { return width == 1 ? 1 : (width + 1) / 2; }

}  // namespace

// --- Content --------------------------------------------------------------------------------

TSplashHeadingText::TSplashHeadingText() { TahomaFont(font_); }

void TSplashHeadingText::Assign(const TSplashHeadingText& s) {
  text_ = s.text_;
  font_.Assign(&s.font_);
  picture_.Assign(&s.picture_);
  Location = s.Location;
  PosX = s.PosX;
  PosY = s.PosY;
  ColorStart = s.ColorStart;
  ColorEnd = s.ColorEnd;
  OpacityStart = s.OpacityStart;
  OpacityEnd = s.OpacityEnd;
  GradientType = s.GradientType;
  HatchStyle = s.HatchStyle;
  Angle = s.Angle;
}

void TSplashHeadingText::SetText(const String& text) {
  if (text_ == text) return;
  text_ = text;
  if (OnChange) OnChange(nullptr);
}

TBasicProgramInfo::TBasicProgramInfo() {
  TahomaFont(copyRightFont_);
  ProgramName.Font()->SetSize(14);
  ProgramName.Font()->SetStyle(fsBold);
  ProgramVersion.Font()->SetSize(14);
  ProgramVersion.PosX = 80;
  auto changed = [this](TObject*) {
    if (OnChange) OnChange(nullptr);
  };
  ProgramName.OnChange = changed;
  ProgramVersion.OnChange = changed;
}

void TBasicProgramInfo::Assign(const TBasicProgramInfo& s) {
  AutoLoad = s.AutoLoad;
  ProgramName.Assign(s.ProgramName);
  ProgramVersion.Assign(s.ProgramVersion);
  CopyRight = s.CopyRight;
  copyRightFont_.Assign(&s.copyRightFont_);
  CopyRightLocation = s.CopyRightLocation;
  CopyRightPosX = s.CopyRightPosX;
  CopyRightPosY = s.CopyRightPosY;
}

TSplashItem::TSplashItem() = default;

void TSplashItem::Assign(const TSplashItem& s) {
  Text = s.Text;
  font_.Assign(&s.font_);
  picture_.Assign(&s.picture_);
  ImageIndex = s.ImageIndex;
  PosX = s.PosX;
  PosY = s.PosY;
  Tag = s.Tag;
}

void TSplashListItem::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0) list_->Changed();
}

TSplashListItemsSettings::TSplashListItemsSettings() { TahomaFont(htmlFont_); }

void TSplashListItemsSettings::Assign(const TSplashListItemsSettings& s) {
  Rect = s.Rect;
  Space = s.Space;
  htmlFont_.Assign(&s.htmlFont_);
  HTMLURLColor = s.HTMLURLColor;
  HTMLShadowColor = s.HTMLShadowColor;
  HTMLShadowOffset = s.HTMLShadowOffset;
}

TLuxSplashHTMLText::TLuxSplashHTMLText(std::function<void()> changed) : changed_(std::move(changed)) {
  TahomaFont(font_);
  font_.OnChange = [this](TObject*) { changed_(); };
}

void TLuxSplashHTMLText::Assign(const TLuxSplashHTMLText& s) {
  text_ = s.text_;
  font_.Assign(&s.font_);
  location_ = s.location_;
  left_ = s.left_;
  top_ = s.top_;
  urlColor_ = s.urlColor_;
  shadowColor_ = s.shadowColor_;
  shadowOffset_ = s.shadowOffset_;
  changed_();
}

void TLuxSplashHTMLText::SetText(const String& v) { text_ = v, changed_(); }
void TLuxSplashHTMLText::SetLocation(TLuxSmoothSplashScreenLocation v) { location_ = v, changed_(); }
void TLuxSplashHTMLText::SetLeft(int v) { left_ = v, changed_(); }
void TLuxSplashHTMLText::SetTop(int v) { top_ = v, changed_(); }
void TLuxSplashHTMLText::SetURLColor(TColor v) { urlColor_ = v, changed_(); }
void TLuxSplashHTMLText::SetShadowColor(TColor v) { shadowColor_ = v, changed_(); }
void TLuxSplashHTMLText::SetShadowOffset(int v) { shadowOffset_ = v, changed_(); }

TLuxSplashTopLayerItem::TLuxSplashTopLayerItem(TSplashCollection<TLuxSplashTopLayerItem>* items)
    : items_(items), htmlText_([items] { items->Changed(); }) {
  fill_.OnChange = [this](TObject*) { Changed(); };
  Changed();
}

TLuxSplashTopLayerItem::~TLuxSplashTopLayerItem() { Changed(); }

void TLuxSplashTopLayerItem::Assign(const TLuxSplashTopLayerItem& s) {
  visible_ = s.visible_;
  align_ = s.align_;
  left_ = s.left_;
  top_ = s.top_;
  width_ = s.width_;
  height_ = s.height_;
  fill_.Assign(&s.fill_);
  htmlText_.Assign(s.htmlText_);
  Changed();
}

#define QE_TOP_LAYER_SETTER(Name, field, Type) \
  void TLuxSplashTopLayerItem::Set##Name(Type v) { \
    if (field == v) return;                        \
    field = v;                                     \
    Changed();                                     \
  }
QE_TOP_LAYER_SETTER(Visible, visible_, bool)
QE_TOP_LAYER_SETTER(Align, align_, TAlign)
QE_TOP_LAYER_SETTER(Left, left_, int)
QE_TOP_LAYER_SETTER(Top, top_, int)
QE_TOP_LAYER_SETTER(Width, width_, int)
QE_TOP_LAYER_SETTER(Height, height_, int)
#undef QE_TOP_LAYER_SETTER

// --- The progress appearance ------------------------------------------------------------------

TGDIPSplashProgress::TGDIPSplashProgress() {
  TahomaFont(font_);
  TahomaFont(progressFont_);
  auto changed = [this](TObject*) { Changed(); };
  backGroundFill_.OnChange = progressFill_.OnChange = changed;
  font_.OnChange = progressFont_.OnChange = changed;
}

void TGDIPSplashProgress::Changed() {
  if (OnChange) OnChange(nullptr);
}

void TGDIPSplashProgress::Assign(const TGDIPSplashProgress& s) {
  const TNotifyEvent notify = std::move(OnChange);
  OnChange = nullptr;  // one notification for the whole copy
  backGroundFill_.Assign(&s.backGroundFill_);
  progressFill_.Assign(&s.progressFill_);
  font_.Assign(&s.font_);
  progressFont_.Assign(&s.progressFont_);
  valueFormat_ = s.valueFormat_;
  valueType_ = s.valueType_;
  valuePosition_ = s.valuePosition_;
  valuePositionLeft_ = s.valuePositionLeft_;
  valuePositionTop_ = s.valuePositionTop_;
  valueVisible_ = s.valueVisible_;
  shadows_ = s.shadows_;
  overlays_ = s.overlays_;
  visible_ = s.visible_;
  left_ = s.left_, top_ = s.top_, width_ = s.width_, height_ = s.height_;
  minimum_ = s.minimum_, maximum_ = s.maximum_, step_ = s.step_, position_ = s.position_;
  glowAnimation_ = s.glowAnimation_;
  progressAnimation_ = s.progressAnimation_;
  OnChange = notify;
  Changed();
}

void TGDIPSplashProgress::SetValueFormat(const String& v) { Set(valueFormat_, v); }
void TGDIPSplashProgress::SetValueType(TGDIPProgressValueType v) { Set(valueType_, v); }
void TGDIPSplashProgress::SetValuePosition(TGDIPProgressValuePosition v) { Set(valuePosition_, v); }
void TGDIPSplashProgress::SetValuePositionLeft(int v) { Set(valuePositionLeft_, v); }
void TGDIPSplashProgress::SetValuePositionTop(int v) { Set(valuePositionTop_, v); }
void TGDIPSplashProgress::SetValueVisible(bool v) { Set(valueVisible_, v); }
void TGDIPSplashProgress::SetShadows(bool v) { Set(shadows_, v); }
void TGDIPSplashProgress::SetOverlays(bool v) { Set(overlays_, v); }
void TGDIPSplashProgress::SetVisible(bool v) {
  visible_ = v;
  Changed();
}
void TGDIPSplashProgress::SetLeft(int v) { Set(left_, v); }
void TGDIPSplashProgress::SetTop(int v) { Set(top_, v); }
void TGDIPSplashProgress::SetWidth(int v) { Set(width_, v); }
void TGDIPSplashProgress::SetHeight(int v) { Set(height_, v); }
void TGDIPSplashProgress::SetMinimum(double v) { Set(minimum_, v); }
void TGDIPSplashProgress::SetMaximum(double v) { Set(maximum_, v); }
void TGDIPSplashProgress::SetStep(double v) { Set(step_, v); }
void TGDIPSplashProgress::SetPosition(double v) { Set(position_, v); }

TGPRectF TGDIPSplashProgress::InnerRect(const TRect& r) const {
  float l = float(r.Left), t = float(r.Top), rt = float(r.Right - 1), b = float(r.Bottom - 1);
  if (backGroundFill_.BorderColor() != clNone) {
    const float d = float(BorderExtent(backGroundFill_.BorderWidth()));
    l += d, t += d, rt -= d, b -= d;
  }
  return TGPRectF(l, t, rt - l, b - t);
}

TGPRectF TGDIPSplashProgress::ProgressRect(const TGPRectF& inner, double minimum, double maximum,
                                           double position) const {
  const int bw = progressFill_.BorderWidth();
  const bool border = progressFill_.BorderColor() != clNone && bw > 0;
  const double w = border ? inner.Width - bw : inner.Width;
  const double filled = maximum - minimum > 0 ? std::min(w, (position - minimum) / (maximum - minimum) * w) : 0;
  if (border)
    return TGPRectF(inner.X + bw / 2.0f, inner.Y + bw / 2.0f, float(filled), inner.Height - float(bw));
  return TGPRectF(inner.X, inner.Y, float(filled), inner.Height);
}

void TGDIPSplashProgress::Draw(TGPGraphics& g, const TRect& rect, double minimum, double maximum, double position) {
  backGroundFill_.Fill(&g, TGPRectF(float(rect.Left), float(rect.Top), float(rect.Right - rect.Left - 1),
                                    float(rect.Bottom - rect.Top - 1)));
  const TGPRectF inner = InnerRect(rect);
  const TGPRectF progress = ProgressRect(inner, minimum, maximum, position);
  if (progress.Width > 0) {
    progressFill_.Fill(&g, progress);
    DrawShadows(g, progress);
  }
  DrawShadows(g, inner);
  if (valueVisible_) DrawValue(g, rect, inner, progress, minimum, maximum, position);
  if (overlays_) DrawOverlays(g, inner);
}

void TGDIPSplashProgress::DrawShadows(TGPGraphics& g, const TGPRectF& r) {
  if (!shadows_) return;
  auto strip = [&](float x, ARGB from, ARGB to) {
    TGPLinearGradientBrush brush(TGPRectF(x - 1, r.Y - 1, 12, r.Height + 2), from, to, 1 /* horizontal */);
    g.FillRectangle(&brush, x, r.Y, 10, r.Height);
  };
  strip(r.X, ComposeARGB(30, 0, 0, 0), ComposeARGB(0, 0, 0, 0));
  strip(r.X + r.Width - 10, ComposeARGB(0, 0, 0, 0), ComposeARGB(30, 0, 0, 0));
}

void TGDIPSplashProgress::DrawOverlays(TGPGraphics& g, const TGPRectF& r) {
  auto band = [&](float y, float h, ARGB from, ARGB to) {
    TGPLinearGradientBrush brush(TGPRectF(r.X - 1, y - 1, r.Width + 2, h + 2), from, to, 0 /* vertical */);
    g.FillRectangle(&brush, r.X, y, r.Width, h);
  };
  band(r.Y, r.Height / 2.5f, ComposeARGB(180, 255, 255, 255), ComposeARGB(0, 255, 255, 255));
  band(r.Y + r.Height - r.Height / 5, r.Height / 5, ComposeARGB(0, 255, 255, 255), ComposeARGB(255, 255, 255, 255));
}

String TGDIPSplashProgress::ValueText(double value) const {
  // Exactly one conversion of f, e, g (or upper case) with flags, width and
  // precision, and "%%" anywhere; any other text is shown as it stands.
  const String& f = valueFormat_;
  int conversions = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') continue;
    if (i + 1 < f.size() && f[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t k = i + 1;
    while (k < f.size() && std::strchr("-+ #0", f[k])) ++k;
    while (k < f.size() && f[k] >= '0' && f[k] <= '9') ++k;
    if (k < f.size() && f[k] == '.') {
      ++k;
      while (k < f.size() && f[k] >= '0' && f[k] <= '9') ++k;
    }
    if (k >= f.size() || !std::strchr("feEgG", f[k]) || k - i > 8) return f;
    ++conversions;
    i = k;
  }
  if (conversions != 1) return f;
  char text[128];
  std::snprintf(text, sizeof text, f.c_str(), value);
  return text;
}

void TGDIPSplashProgress::DrawValue(TGPGraphics& g, const TRect& rect, const TGPRectF& inner,
                                    const TGPRectF& progress, double minimum, double maximum, double position) {
  const double p = std::clamp(position, std::min(minimum, maximum), std::max(minimum, maximum));
  const double value =
      valueType_ == vtPercentage ? (minimum < maximum ? (p - minimum) / (maximum - minimum) * 100 : maximum) : p;
  const String text = ValueText(value);
  TGPStringFormat format(0, 0);
  std::unique_ptr<TGPFont> measureFont(TGPGraphics::FontFromTFont(&font_));
  TGPRectF box;
  g.MeasureString(text, measureFont.get(), TGPPointF(0, 0), &format, box);
  const float tw = box.Width, th = box.Height;
  float x = 0, y = rect.Top + (inner.Height - th) / 2;
  switch (valuePosition_) {
    case vpProgressCenter: x = progress.Width >= tw ? inner.X + (progress.Width - tw) / 2 : inner.X; break;
    case vpProgressRight: x = progress.Width >= tw ? inner.X + progress.Width - tw : inner.X; break;
    case vpCenter: x = rect.Left + (inner.Width - tw) / 2; break;
    case vpLeft: x = inner.X; break;
    case vpRight: x = rect.Left + inner.Width - tw; break;
    case vpCustom:
      x = float(rect.Left + valuePositionLeft_);
      y = float(rect.Top + valuePositionTop_);
      break;
  }
  TFont* font = progress.X + progress.Width > x + tw / 2 ? &progressFont_ : &font_;
  std::unique_ptr<TGPFont> gpFont(TGPGraphics::FontFromTFont(font));
  TGPSolidBrush brush(ColorToOpaqueARGB(font->Color()));
  g.DrawString(text, gpFont.get(), TGPPointF(x, y), &format, &brush);
}

// --- The progress control -----------------------------------------------------------------

TLuxSplashProgressBar::TLuxSplashProgressBar(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 150, 17);
  appearance_.OnChange = [this](TObject*) { ApplyAppearance(); };
  timer_ = new TTimer(this);
  timer_->SetInterval(kAnimationMs);
  timer_->SetOnTimer([this](TObject*) { AnimationTick(); });
}

void TLuxSplashProgressBar::SetAppearance(const TGDIPSplashProgress* value) {
  if (value != &appearance_) appearance_.Assign(*value);
  ApplyAppearance();
}

void TLuxSplashProgressBar::ApplyAppearance() {
  SetBounds(appearance_.Left(), appearance_.Top(), appearance_.Width(), appearance_.Height());
  SetVisible(appearance_.Visible());
  SetStep(appearance_.Step());
  SetMinimum(appearance_.Minimum());
  SetMaximum(appearance_.Maximum());
  SetPosition(appearance_.Position());
  glowAnimation_ = appearance_.GlowAnimation();
  progressAnimation_ = appearance_.ProgressAnimation();
  Invalidate();
}

void TLuxSplashProgressBar::SetPosition(double value) {
  position_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
  target_ = position_;
  if (progressAnimation_) return;
  current_ = position_;
  if (OnPositionChanged) OnPositionChanged(this, position_);
  Invalidate();
}

void TLuxSplashProgressBar::SetMaximum(double value) {
  if (value == maximum_) return;
  maximum_ = value;
  if (value < position_) {
    target_ = value;
    if (!progressAnimation_) position_ = current_ = value;
  }
  Invalidate();
}

void TLuxSplashProgressBar::SetMinimum(double value) {
  if (value == minimum_) return;
  minimum_ = value;
  if (value > position_) {
    target_ = value;
    if (!progressAnimation_) position_ = current_ = value;
  }
  Invalidate();
}

void TLuxSplashProgressBar::SetStep(double value) {
  if (value == step_) return;
  step_ = value;
  Invalidate();
}

void TLuxSplashProgressBar::SetGlowAnimation(bool value) {
  if (value == glowAnimation_) return;
  glowAnimation_ = value;
  Invalidate();
}

void TLuxSplashProgressBar::SetProgressAnimation(bool value) {
  if (value == progressAnimation_) return;
  progressAnimation_ = value;
  Invalidate();
  if (!value) SetPosition(position_);
}

void TLuxSplashProgressBar::AnimationTick() {
  if (IsDesigning() || IsLoading()) return;
  if (progressAnimation_) {
    const double distance = std::fabs(target_ - current_);
    if (distance < 0.000001) {
      current_ = position_ = target_;
      if (OnPositionChanged) OnPositionChanged(this, position_);
    } else {
      const double step = std::max(distance / 15, 0.000001);
      current_ += target_ > current_ ? step : -step;
      position_ = current_;
      if (OnPositionChanged) OnPositionChanged(this, position_);
      Invalidate();
    }
  }
  if (glowAnimation_ && position_ > minimum_) {
    if (glowCounter_ >= 1500) glowX_ += 3;
    const TGPRectF inner = appearance_.InnerRect(TRect(0, 0, Width(), Height()));
    if (appearance_.ProgressRect(inner, minimum_, maximum_, position_).Width >= glowX_) {
      glowCounter_ += 10;
    } else {
      glowCounter_ = 0;
      glowX_ = -40;
    }
    Invalidate();
  }
}

void TLuxSplashProgressBar::Paint() {
  TGPGraphics g(Canvas()->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
  appearance_.Draw(g, TRect(0, 0, Width(), Height()), minimum_, maximum_, position_);
  if (glowAnimation_ && position_ > 0) DrawGlow(g);
}

void TLuxSplashProgressBar::DrawGlow(TGPGraphics& g) {
  const TGPRectF inner = appearance_.InnerRect(TRect(0, 0, Width(), Height()));
  const TGPRectF progress = appearance_.ProgressRect(inner, minimum_, maximum_, position_);
  TGPRegion clip(progress);
  g.SetClip(&clip);
  const float x = float(glowX_);
  auto strip = [&](float left, ARGB from, ARGB to) {
    TGPLinearGradientBrush brush(TGPRectF(left - 1, inner.Y - 1, 32, inner.Height + 2), from, to, 1);
    g.FillRectangle(&brush, left, inner.Y, 30, inner.Height);
  };
  strip(x - 30, ComposeARGB(0, 255, 255, 255), ComposeARGB(120, 255, 255, 255));
  strip(x, ComposeARGB(120, 255, 255, 255), ComposeARGB(0, 255, 255, 255));
  g.ResetClip();
}

// --- The window -----------------------------------------------------------------------------

TSplashScreenWindow::TSplashScreenWindow(TComponent* owner, TLuxSmoothSplashScreen* splash)
    : TForm(owner), splash_(splash) {}

TSplashScreenWindow::~TSplashScreenWindow() = default;

void TSplashScreenWindow::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  p.Style = WS_POPUP;
  p.ExStyle = WS_EX_NOACTIVATE | (splash_->StayOnTop() ? WS_EX_TOPMOST : 0);
  p.Caption = "";
}

void TSplashScreenWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ACTIVATE: m.Result = 0; return;
    case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_LBUTTONUP:
      if (splash_->OnClick) splash_->OnClick(splash_);
      break;
    case WM_CLOSE:
      if (splash_->OnCloseRequest) splash_->OnCloseRequest(splash_);
      return;
  }
  TForm::Dispatch(m);
}

TRect TSplashScreenWindow::ContentRect() const {
  TRect r(0, 0, Width() - 1, Height() - 1);
  const TGDIPFill& fill = *splash_->Fill();
  if (fill.BorderColor() != clNone) {
    const int b = BorderExtent(fill.BorderWidth());
    r = TRect(r.Left + b, r.Top + b, r.Right - b, r.Bottom - b);
  }
  return r;
}

int TSplashScreenWindow::ShadowExtent() const {
  const TGDIPFill& fill = *splash_->Fill();
  return fill.ShadowColor() != clNone ? fill.ShadowOffset() : 0;
}

// The content rectangle less the shadow on the right and at the bottom.
TRect TSplashScreenWindow::TextRect() const {
  const TRect c = ContentRect();
  const int s = ShadowExtent();
  return TRect(c.Left, c.Top, c.Right - s, c.Bottom - s);
}

void TSplashScreenWindow::SetLayered(bool value) {
  if (value == layered_) return;
  layered_ = value;
  if (!value) return;
  if (!buffer_) buffer_ = std::make_unique<TGPBitmap>(Width(), Height(), kPixelFormat32bppARGB);
  const LONG style = GetWindowLongA(Handle(), GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) SetWindowLongA(Handle(), GWL_EXSTYLE, style | WS_EX_LAYERED);
  UpdateLayered();
}

void TSplashScreenWindow::SetBlendValue(uint8_t value) {
  blendValue_ = value;
  const LONG style = GetWindowLongA(Handle(), GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) SetWindowLongA(Handle(), GWL_EXSTYLE, style | WS_EX_LAYERED);
  SetLayeredWindowAttributes(Handle(), 0, value, LWA_ALPHA);
}

void TSplashScreenWindow::RefreshContent() {
  if (layered_) UpdateLayered();
  else Repaint();
}

void TSplashScreenWindow::UpdateLayered() {
  if (!layered_ || !buffer_) return;
  TGPGraphics g(buffer_.get());
  g.Clear(0);
  SetWindowPos(Handle(), splash_->StayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PaintLayers(g, true);
  PushLayered();
}

void TSplashScreenWindow::PushLayered() {
  if (!layered_ || !buffer_) return;
  if (splash_->OnPushLayered) splash_->OnPushLayered(*buffer_, layeredAlpha_);
  HDC screen = GetDC(nullptr);
  HDC first = CreateCompatibleDC(screen);
  HDC dc = CreateCompatibleDC(first);
  HBITMAP bitmap = nullptr;
  buffer_->GetHBITMAP(0, bitmap);
  HGDIOBJ old = SelectObject(dc, bitmap);
  POINT dest{Left(), Top()}, source{0, 0};
  SIZE size{Width(), Height()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, layeredAlpha_, AC_SRC_ALPHA};
  UpdateLayeredWindow(Handle(), screen, &dest, &size, dc, &source, 0, &blend, ULW_ALPHA);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteDC(first);
  ReleaseDC(nullptr, screen);
}

void TSplashScreenWindow::FadeIn(int step, int delayMs, int target) {
  while (layeredAlpha_ < target) {
    if (layeredAlpha_ + step >= target) {
      layeredAlpha_ = uint8_t(target);
      PushLayered();
      return;
    }
    layeredAlpha_ = uint8_t(layeredAlpha_ + step);
    PushLayered();
    Sleep(DWORD(delayMs));
  }
}

void TSplashScreenWindow::FadeOut(int step, int delayMs, int target) {
  if (layered_) {
    while (layeredAlpha_ > target) {
      if (target >= layeredAlpha_ - step) {
        layeredAlpha_ = uint8_t(target);
        PushLayered();
        return;
      }
      layeredAlpha_ = uint8_t(layeredAlpha_ - step);
      PushLayered();
      Sleep(DWORD(delayMs));
    }
    return;
  }
  while (blendValue_ > target) {
    if (target >= blendValue_ - step) {
      SetBlendValue(uint8_t(target));
      return;
    }
    SetBlendValue(uint8_t(blendValue_ - step));
    Sleep(DWORD(3 * delayMs));
  }
}

void TSplashScreenWindow::ApplyWindowRegion() {
  const TGDIPFill& fill = *splash_->Fill();
  if (!HandleAllocated() || fill.Rounding() <= 0 || fill.RoundingType() == rtNone) return;
  RECT c;
  GetClientRect(Handle(), &c);
  const int w = 2 * fill.Rounding();
  HRGN region = nullptr;
  auto unite = [&](HRGN a, HRGN b) {
    CombineRgn(a, a, b, RGN_OR);
    DeleteObject(b);
    return a;
  };
  switch (fill.RoundingType()) {
    case rtTop:
      region = unite(CreateRoundRectRgn(c.left, c.top, c.right + 1, c.bottom, w, w),
                     CreateRectRgn(c.left, c.top + w, c.right, c.bottom));
      break;
    case rtBottom:
      region = unite(CreateRectRgn(c.left, c.top, c.right, c.bottom - w),
                     CreateRoundRectRgn(c.left, c.top, c.right + 1, c.bottom, w, w));
      break;
    case rtBoth: region = CreateRoundRectRgn(0, 0, c.right - c.left, c.bottom - c.top, w, w); break;
    case rtLeft:
      region = unite(CreateRoundRectRgn(c.left, c.top, c.right, c.bottom + 1, w, w),
                     CreateRectRgn(c.left + w, c.top, c.right, c.bottom));
      break;
    case rtRight:
      region = unite(CreateRoundRectRgn(c.left, c.top, c.right, c.bottom + 1, w, w),
                     CreateRectRgn(c.left, c.top, c.right - w, c.bottom));
      break;
    case rtNone: return;
  }
  SetWindowRgn(Handle(), region, TRUE);
}

void TSplashScreenWindow::Paint() {
  TGPGraphics g(Canvas()->Handle());
  PaintLayers(g, false);
}

void TSplashScreenWindow::PaintLayers(TGPGraphics& g, bool withProgress) {
  g.SetTextRenderingHint(splash_->RenderingHint());
  PaintFill(g);
  PaintProgramInfo(g);
  PaintListItems(g);
  PaintTopLayerItems(g);
  PaintItems(g);
  if (withProgress) PaintProgress(g);
}

void TSplashScreenWindow::PaintFill(TGPGraphics& g) {
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  splash_->Fill()->Fill(&g, TGPRectF(0, 0, float(Width() - 1), float(Height() - 1)));
}

void TSplashScreenWindow::PaintProgramInfo(TGPGraphics& g) {
  TBasicProgramInfo& info = *splash_->BasicProgramInfo();
  TRect t = TextRect();
  const int d = splash_->Fill()->Rounding() / 2;
  const int L = t.Left + d, T = t.Top + d, R = t.Right - d - 5, B = t.Bottom - d;
  TSplashHeadingText& name = info.ProgramName;
  TSplashHeadingText& version = info.ProgramVersion;
  int nw = 0, nh = 0, vw = 0, vh = 0;
  splash_->DrawSplashText(g, name.Text(), 0, 0, name.Font(), true, nw, nh);
  splash_->DrawSplashText(g, version.Text(), 0, 0, version.Font(), true, vw, vh);
  int cw = 0, ch = 0;
  if (!info.CopyRight.empty()) {
    Canvas()->Font()->Assign(info.CopyRightFont());
    cw = Canvas()->TextWidth(info.CopyRight);
    ch = Canvas()->TextHeight(info.CopyRight);
  }
  const TItemLocation nl = name.Location, vl = version.Location, cl = info.CopyRightLocation;
  auto draw = [&](TSplashHeadingText& h, int x, int y) {
    int w, hh;
    splash_->DrawSplashText(g, h.Text(), x, y, h.Font(), false, w, hh, h.GradientType, h.ColorStart, h.ColorEnd,
                            h.OpacityStart, h.OpacityEnd, h.HatchStyle, h.Angle, h.Picture());
  };

  int x = L, y = T;
  switch (nl) {
    case ilTopLeft: break;
    case ilTopCenter: x = L + (R - L - nw) / 2; break;
    case ilTopRight:
      x = R - nw - (vl == ilTopRight && vw > 0 ? vw + 1 : 0);
      break;
    case ilBottomLeft: y = B - nh - (cl == ilBottomLeft && ch > 0 ? ch + 3 : 0); break;
    case ilBottomCenter:
      x = L + (R - L - nw) / 2;
      y = B - nh - (cl == ilBottomCenter ? ch + 3 + vh : 0);
      break;
    case ilBottomRight:
      x = R - nw - (vl == ilBottomRight && vw > 0 ? vw + 1 : 0);
      y = B - nh - (cl == ilBottomRight && ch > 0 ? ch + 3 : 0);
      break;
    case ilCustom: x = name.PosX, y = name.PosY; break;
  }
  draw(name, x, y);

  x = L, y = T;
  switch (vl) {
    case ilTopLeft:
      if (nl == ilTopLeft && nw > 0) x = L + nw + 1, y = T + (nh - vh) / 2;
      break;
    case ilTopCenter:
      x = L + (R - L - vw) / 2;
      if (nl == ilTopCenter) y = T + nh + vh;
      break;
    case ilTopRight: x = R - vw; break;
    case ilBottomLeft:
      if (nl == ilBottomLeft && nw > 0) x = L + nw + 1, y = B - nh;
      else y = B - vh;
      if (cl == ilBottomLeft && ch > 0) y -= ch + 3;
      break;
    case ilBottomCenter:
    case ilBottomRight:
      x = vl == ilBottomCenter ? L + (R - L - vw) / 2 : R - vw;
      y = nh < 1 ? B - vh : B - nh;
      if (cl == vl && ch > 0) y -= ch + 3;
      break;
    case ilCustom: x = version.PosX, y = version.PosY; break;
  }
  draw(version, x, y);

  if (info.CopyRight.empty()) return;
  switch (cl) {
    case ilTopLeft:
    case ilTopCenter:
    case ilTopRight:
      y = T + (nl == cl && nh > 0 ? nh + 3 : vl == cl && vh > 0 ? vh + 3 : 0);
      x = cl == ilTopLeft ? L : cl == ilTopCenter ? L + (R - L - cw) / 2 : R - cw;
      break;
    case ilBottomLeft:
    case ilBottomCenter:
    case ilBottomRight:
      y = B - ch;
      x = cl == ilBottomLeft ? L : cl == ilBottomCenter ? L + (R - L - cw) / 2 : R - cw;
      break;
    case ilCustom: x = info.CopyRightPosX, y = info.CopyRightPosY; break;
  }
  int w, h;
  splash_->DrawSplashText(g, info.CopyRight, x, y, info.CopyRightFont(), false, w, h, gtSolid,
                          info.CopyRightFont()->Color());
}

int TSplashScreenWindow::MeasureListItem(TGPGraphics& g, const String& html) {
  if (html.empty()) return 0;
  const TSplashListItemsSettings& s = *splash_->ListItemsSettings();
  TSplashListItemsSettings& settings = *splash_->ListItemsSettings();
  return RenderMiniHtml(g, settings.HTMLFont(), html, 2, splash_->PictureContainer(),
                        TRect(0, 0, s.Rect.Width, s.Rect.Height), s.HTMLShadowColor, s.HTMLShadowOffset, clNone,
                        clNone, s.HTMLURLColor, 1.0, true, true, 0, 0, -1, splash_->Images)
      .Height;
}

void TSplashScreenWindow::PaintListItems(TGPGraphics& g) {
  TSplashListItems& list = *splash_->ListItems();
  TSplashListItemsSettings& s = *splash_->ListItemsSettings();
  const int left = s.Rect.Left, top = s.Rect.Top, right = left + s.Rect.Width, bottom = top + s.Rect.Height;
  const int count = list.Count();
  if (count == 0) return;
  // Layout: one line under the other, an empty one taking no height.
  int y = top;
  for (int i = 0; i < count; ++i) {
    TSplashListItem* item = list.Items(i);
    const int h = MeasureListItem(g, item->HTMLText());
    item->LayoutRect = TRect(left, y, right, y + h);
    y += h + s.Space;
  }
  // Scroll: the oldest lines drop off the top until the newest fit.
  int excess = list.Items(count - 1)->LayoutRect.Bottom - bottom;
  if (excess > 0) {
    int i = 0;
    while (excess > 0 && i < count) {
      TSplashListItem* item = list.Items(i);
      excess -= item->LayoutRect.Bottom - item->LayoutRect.Top + s.Space;
      item->LayoutRect.Top = item->LayoutRect.Bottom = -1;
      ++i;
    }
    const int first = std::min(count - 1, i);
    const int shift = list.Items(first)->LayoutRect.Top - top;
    for (int k = first; k < count; ++k) {
      TRect& r = list.Items(k)->LayoutRect;
      if (r.Top == -1) continue;
      r.Top -= shift;
      r.Bottom -= shift;
    }
  }
  for (int i = 0; i < count; ++i) {
    TSplashListItem* item = list.Items(i);
    const TRect& r = item->LayoutRect;
    if (r.Top == -1 || item->HTMLText().empty()) continue;
    RenderMiniHtml(g, s.HTMLFont(), item->HTMLText(), 2, splash_->PictureContainer(),
                   TRect(r.Left, r.Top, r.Left + s.Rect.Width, r.Top + s.Rect.Height), s.HTMLShadowColor,
                   s.HTMLShadowOffset, clNone, clNone, s.HTMLURLColor, 1.0, true, false, 0, 0, -1, splash_->Images);
  }
}

void TSplashScreenWindow::PaintTopLayerItems(TGPGraphics& g) {
  const TRect c = ContentRect();
  const float X0 = float(c.Left), Y0 = float(c.Top), W0 = float(c.Right - c.Left), H0 = float(c.Bottom - c.Top);
  TLuxSplashTopLayerItems& items = *splash_->TopLayerItems();
  for (int i = 0; i < items.Count(); ++i) {
    TLuxSplashTopLayerItem& item = *items.Items(i);
    if (!item.Visible()) continue;
    if (item.Fill()->Rounding() > 0 && item.Fill()->RoundingType() != rtNone) g.SetSmoothingMode(SmoothingModeAntiAlias);
    const float iw = float(item.Width()), ih = float(item.Height());
    TGPRectF r;
    switch (item.Align()) {
      case alTop: r = TGPRectF(X0, Y0, W0, ih); break;
      case alBottom: r = TGPRectF(X0, Y0 + H0 - ih, W0, ih); break;
      case alLeft: r = TGPRectF(X0, Y0, iw, H0); break;
      case alRight: r = TGPRectF(X0 + W0 - iw, Y0, iw, H0); break;
      case alClient: r = TGPRectF(X0, Y0, W0, H0); break;
      case alCustom: r = TGPRectF(X0 + float(item.Left()), Y0 + float(item.Top()), iw, ih); break;
      case alNone: break;
    }
    item.Fill()->Fill(&g, r);
    TLuxSplashHTMLText& html = *item.HTMLText();
    if (html.Text().empty()) continue;
    const TRect box(RoundEven(r.X), RoundEven(r.Y), RoundEven(r.X + r.Width), RoundEven(r.Y + r.Height));
    const TMiniHtmlRenderResult m =
        RenderMiniHtml(g, html.Font(), html.Text(), 2, splash_->PictureContainer(), box, html.ShadowColor(),
                       html.ShadowOffset(), clNone, clNone, html.URLColor(), 1.0, true, true, 0, 0, -1, splash_->Images);
    const int W = RoundEven(r.Width), H = RoundEven(r.Height);
    int x = 0, y = 0;
    switch (html.Location()) {
      case cpTopLeft: break;
      case cpTopCenter: x = (W - m.Width) / 2; break;
      case cpTopRight: x = W - m.Width; break;
      case cpCenterLeft: y = (H - m.Height) / 2; break;
      case cpCenterCenter: x = (W - m.Width) / 2, y = (H - m.Height) / 2; break;
      case cpCenterRight: x = W - m.Width, y = (H - m.Height) / 2; break;
      case cpBottomLeft: y = H - m.Height; break;
      case cpBottomCenter: x = (W - m.Width) / 2, y = H - m.Height; break;
      case cpBottomRight: x = W - m.Width, y = H - m.Height; break;
      case cpCustom: break;
    }
    if (html.Location() == cpCustom) x = html.Left(), y = html.Top();
    else x += box.Left, y += box.Top;
    RenderMiniHtml(g, html.Font(), html.Text(), 2, splash_->PictureContainer(),
                   TRect(x, y, x + m.Width, y + m.Height), html.ShadowColor(), html.ShadowOffset(), clNone, clNone,
                   html.URLColor(), 1.0, true, false, 0, 0, -1, splash_->Images);
  }
}

void TSplashScreenWindow::PaintItems(TGPGraphics& g) {
  TSplashItems& items = *splash_->Items();
  for (int i = 0; i < items.Count(); ++i) {
    TSplashItem& item = *items.Items(i);
    int x = item.PosX;
    const int y = item.PosY;
    if (!item.Picture()->Empty()) {
      item.Picture()->UpdateSize();
      const TRect r(x, y, x + item.Picture()->Width(), y + item.Picture()->Height());
      item.Picture()->DrawToGraphics(g, r);
      x += item.Picture()->Width() + splash_->PictureGap;
    } else if (splash_->Images && item.ImageIndex >= 0) {
      ImageList_Draw(splash_->Images, item.ImageIndex, Canvas()->Handle(), x, y, ILD_TRANSPARENT);
      int w = 0, h = 0;
      ImageList_GetIconSize(splash_->Images, &w, &h);
      x += w + splash_->PictureGap;
    }
    int w, h;
    splash_->DrawSplashText(g, item.Text, x, y, item.Font(), false, w, h, gtSolid, item.Font()->Color());
  }
}

void TSplashScreenWindow::PaintProgress(TGPGraphics& g) {
  if (!progress_ || !splash_->ProgressBar()->Visible()) return;
  TLuxSplashProgressBar& p = *progress_;
  // The layered buffer always draws the bar over 0 to 100.
  p.Appearance()->Draw(g, TRect(p.Left(), p.Top(), p.Left() + p.Width(), p.Top() + p.Height()), 0, 100,
                       p.Position());
}

// --- The component ----------------------------------------------------------------------------

TLuxSmoothSplashScreen::TLuxSmoothSplashScreen(TComponent* owner) : TComponent(owner) {
  timeOutTimer_ = new TTimer(this);
  timeOutTimer_->SetEnabled(false);
  timeOutTimer_->SetInterval(unsigned(TimeOut));
  timeOutTimer_->SetOnTimer([this](TObject*) { TimeOutElapsed(); });
  progress_.OnChange = [this](TObject*) { SyncProgressBar(); };
  programInfo_.OnChange = [this](TObject*) {
    if (!IsLoading() && !IsDesigning()) RefreshWindow();
  };
}

TLuxSmoothSplashScreen::~TLuxSmoothSplashScreen() {
  if (window_) FreeSplashWindow();
  if (hooked_ && hostForm_) hostForm_->OnShow = savedOnShow_;
}

HWND TLuxSmoothSplashScreen::Handle() const { return window_ ? window_->Handle() : nullptr; }

void TLuxSmoothSplashScreen::Loaded() {
  TComponent::Loaded();
  LoadVersionInfo();
  if (AutoShow && !IsDesigning()) Show();
}

void TLuxSmoothSplashScreen::LoadVersionInfo() {
  if (IsDesigning() || !programInfo_.AutoLoad) return;
  char exe[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
  if (n == 0 || n >= sizeof exe) return;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe, &handle);
  if (size == 0) return;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(exe, 0, size, block.data())) return;
  struct TTranslation {
    WORD Language, CodePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(TTranslation))
    return;
  char key[16];
  std::snprintf(key, sizeof key, "%04X%04X", translation->Language, translation->CodePage);
  auto value = [&](const char* name) -> String {
    char* text = nullptr;
    UINT chars = 0;
    const String path = String("\\StringFileInfo\\") + key + "\\" + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &chars) || !text) return {};
    return String(text, strnlen(text, chars));
  };
  programInfo_.CopyRight = value("LegalCopyright");
  programInfo_.ProgramName.SetText(value("ProductName"));
  programInfo_.ProgramVersion.SetText(value("FileVersion"));
}

void TLuxSmoothSplashScreen::Show() {
  if (showing_) return;
  if (OnBeforeShow) OnBeforeShow(this);
  hostForm_ = dynamic_cast<TCustomForm*>(Owner());
  if (Application && Application->MainForm()) hostForm_ = Application->MainForm();
  if (CloseOnMainFormShow && hostForm_) {
    savedOnShow_ = hostForm_->OnShow;
    hostForm_->OnShow = [this](TObject* sender) { MainFormShowHook(sender); };
    hooked_ = true;
  }
  CreateSplashWindow();
}

void TLuxSmoothSplashScreen::CreateSplashWindow() {
  if (showing_) return;
  const bool layered = fill_.Opacity() < 255 || fill_.OpacityTo() < 255;
  window_ = new TSplashScreenWindow(Application, this);
  int w = Width, h = Height;
  if (AutoAdaptPictureSize && !fill_.Picture()->Empty()) {
    fill_.Picture()->UpdateSize();
    const int b = BorderExtent(fill_.BorderWidth());
    w = fill_.Picture()->Width() + 2 * b;
    h = fill_.Picture()->Height() + 2 * b;
  }
  int x = DisplayPosX, y = DisplayPosY;
  if (DisplayLocation == dlCenter) {
    x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  }
  window_->SetBounds(x, y, w, h);
  window_->HandleNeeded();

  TLuxSplashProgressBar* bar = new TLuxSplashProgressBar(window_);
  bar->SetVisible(false);
  bar->SetParent(window_);
  window_->progress_ = bar;
  bar->SetAppearance(&progress_);
  bar->OnPositionChanged = [this](TObject*, double position) {
    if (OnProgressPositionChanged) OnProgressPositionChanged(this, position);
  };
  bar->OnChange = [this](TObject*) {
    if (OnProgressChange) OnProgressChange(this);
  };

  if (DisplayStyle == dsNormal) window_->layeredAlpha_ = 255;
  else if (!layered) window_->SetBlendValue(5);
  ShowWindow(window_->Handle(), SW_SHOWNOACTIVATE);
  showing_ = true;
  window_->ApplyWindowRegion();
  window_->SetLayered(layered);
  if (!layered) {
    window_->Repaint();
    if (DisplayStyle == dsFadeInOut)
      while (window_->BlendValue() < MaxOpacity) {
        window_->SetBlendValue(uint8_t(window_->BlendValue() + std::min(5, MaxOpacity - window_->BlendValue())));
        Sleep(5);
      }
    window_->SetBlendValue(MaxOpacity);
  } else if (DisplayStyle == dsFadeInOut) {
    window_->FadeIn(kFadeStep, kFadeDelayMs, 255);
  }
  timeOutTimer_->SetInterval(unsigned(std::max(0, TimeOut)));
  timeOutTimer_->SetEnabled(CloseOnTimeout);
}

void TLuxSmoothSplashScreen::FreeSplashWindow() {
  TSplashScreenWindow* window = window_;
  window_ = nullptr;
  // What waits for the window (a close request among it) is handled first.
  MSG msg;
  while (PeekMessageA(&msg, window->Handle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  delete window;
}

void TLuxSmoothSplashScreen::Close() {
  if (!showing_) return;
  timeOutTimer_->SetEnabled(false);
  if (DisplayStyle == dsFadeInOut && window_ && IsWindowVisible(window_->Handle()))
    window_->FadeOut(kFadeStep, kFadeDelayMs, kFadeOutTarget);
  showing_ = false;
  if (hooked_) {
    if (hostForm_) hostForm_->OnShow = savedOnShow_;
    hooked_ = false;
  }
  if (window_) FreeSplashWindow();
  if (OnClose) OnClose(this);
}

void TLuxSmoothSplashScreen::MainFormShowHook(TObject* sender) {
  const TNotifyEvent saved = savedOnShow_;
  Close();
  if (saved) saved(sender);
}

void TLuxSmoothSplashScreen::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0) RefreshWindow();
}

void TLuxSmoothSplashScreen::RefreshWindow() {
  if (showing_ && window_) window_->RefreshContent();
}

void TLuxSmoothSplashScreen::InvalidateWindow() {
  if (showing_ && window_) window_->Invalidate();
}

void TLuxSmoothSplashScreen::SyncProgressBar() {
  if (IsDesigning() || !showing_ || !window_ || !window_->progress_) return;
  TLuxSplashProgressBar& bar = *window_->progress_;
  bar.SetAppearance(&progress_);
  if (window_->Layered()) RefreshWindow();
}

void TLuxSmoothSplashScreen::SetPictureContainer(TGDIPPictureContainer* container) {
  if (pictureContainer_ == container) return;
  if (pictureContainer_) pictureContainer_->RemoveFreeNotification(this);
  pictureContainer_ = container;
  if (container) container->FreeNotification(this);
}

void TLuxSmoothSplashScreen::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && !IsDestroying() && component == pictureContainer_) pictureContainer_ = nullptr;
}

void TLuxSmoothSplashScreen::SetTextRendering(TLuxSmoothSplashScreenTextRenderingHint value) {
  if (value == textRendering_) return;
  textRendering_ = value;
  InvalidateWindow();
}

void TLuxSmoothSplashScreen::SetStayOnTop(bool value) {
  if (value == stayOnTop_) return;
  stayOnTop_ = value;
  InvalidateWindow();
}

int TLuxSmoothSplashScreen::RenderingHint() const {
  switch (textRendering_) {
    case TLuxSmoothSplashScreenTextRenderingHint::tAntiAlias: return 4;
    case TLuxSmoothSplashScreenTextRenderingHint::tAntiAliasGridFit: return TextRenderingHintAntiAliasGridFit;
    case TLuxSmoothSplashScreenTextRenderingHint::tClearType: break;
  }
  return TextRenderingHintClearTypeGridFit;
}

void TLuxSmoothSplashScreen::ActivateFormLater(TWinControl* control) {
  if (!activationTimer_) {
    activationTimer_ = new TTimer(this);
    activationTimer_->SetEnabled(false);
    activationTimer_->SetInterval(kActivationDelayMs);
    activationTimer_->SetOnTimer([this](TObject*) { ActivationTimerElapsed(); });
  }
  activationTarget_ = control;
  activationTimer_->SetEnabled(true);
}

// The control's own window is brought forward and focused: no input is
// made up, so no other program is clicked and the pointer stays put.
void TLuxSmoothSplashScreen::ActivationTimerElapsed() {
  activationTimer_->SetEnabled(false);
  TWinControl* control = activationTarget_;
  if (!control || !control->HandleAllocated()) return;
  const HWND root = GetAncestor(control->Handle(), GA_ROOT);
  SetForegroundWindow(root);
  SetActiveWindow(root);
  SetFocus(control->Handle());
}

void TLuxSmoothSplashScreen::SetColorTones(TColor background, TColor border) {
  fill_.SetBorderColor(border);
  fill_.SetColor(background);
  fill_.SetColorTo(background);
  fill_.SetColorMirror(background);
  fill_.SetColorMirrorTo(background);
  fill_.SetGradientMirrorType(gtNone);
}

void TLuxSmoothSplashScreen::SetComponentStyle(int style) {
  struct TPreset {
    TColor Color, ColorTo, Mirror, MirrorTo, Border;
    bool MirrorVertical;
  };
  constexpr TColor N = clNone, F = clBtnFace;
  static constexpr TPreset kPresets[20] = {
      {0xFDEADA, 0xE4AE88, N, N, 0xDFD2C5, false}, {0xF7F3F3, 0xE6D8D8, N, N, 0x927476, false},
      {0xCFF0EA, 0x8CC0B1, N, N, 0x6B7760, false}, {0xFFFFFF, 0xC9D1D5, N, N, 0x808080, false},
      {0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0xE3B28D, true},
      {0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x000000, true},
      {F, F, N, N, 0x000000, false},               {0xFFFFFF, 0xD9E9EC, N, N, 0x828F92, false},
      {N, N, N, N, N, false},  // 8: nothing beyond the gradient type
      {0xF6F1EE, 0xE7DCD5, 0xE7DCD5, 0xF4F4EE, 0x74706F, true},
      {0xFDF8F1, 0xFCEFD5, N, N, 0xFDDE99, false}, {0xFCEBDC, 0xFCDBC1, N, N, 0xCEA27D, false},
      {F, F, N, N, 0x808080, false},               {0xFDF6EF, 0xF0DAC7, N, N, 0xC7B29F, false},
      {0xFFFFFF, 0xEDE5E0, N, N, 0xD2CDC8, false}, {0xBFBFBF, 0x919191, N, N, 0x6D6D6D, false},
      {0xF7F6F5, N, N, N, 0xE4E3E2, false},        {0xFFFFFF, N, N, N, 0xD4D4D4, false},
      {0xFFFFFF, N, N, N, 0xC6C6C6, false},        {0xE5E5E5, N, N, N, 0xABABAB, false}};
  fill_.SetGradientType(gtVertical);
  if (style < 0 || style > 19 || style == 8) return;
  const TPreset& p = kPresets[style];
  fill_.SetColor(p.Color);
  fill_.SetColorTo(p.ColorTo);
  fill_.SetColorMirror(p.Mirror);
  fill_.SetColorMirrorTo(p.MirrorTo);
  fill_.SetBorderColor(p.Border);
  if (p.MirrorVertical) fill_.SetGradientMirrorType(gtVertical);
}

void TLuxSmoothSplashScreen::DrawSplashText(TGPGraphics& g, const String& text, int x, int y, TFont* font,
                                            bool measureOnly, int& width, int& height, TLuxGradientType type,
                                            TColor colorStart, TColor colorEnd, uint8_t opacityStart,
                                            uint8_t opacityEnd, int hatchStyle, int angle, TLuxGDIPPicture* picture) {
  width = height = 0;
  if (text.empty()) return;
  g.SetTextRenderingHint(RenderingHint());
  std::unique_ptr<TGPFont> gpFont(TGPGraphics::FontFromTFont(font));
  TGPStringFormat format(0, 0);
  TGPRectF box;
  g.MeasureString(text, gpFont.get(), TGPRectF(float(x), float(y), 1500, 500), &format, box);
  width = RoundEven(box.Width);
  height = RoundEven(box.Height);
  if (measureOnly) return;
  const ARGB start = ColorToARGB(opacityStart, colorStart);
  const ARGB end = ColorToARGB(opacityEnd, colorEnd);
  if (colorEnd == clNone && type != gtTexture && type != gtNone) type = gtSolid;
  const float fx = float(x), fy = float(y), w = float(width), h = float(height);
  std::unique_ptr<TGPBrush> brush;
  if (type == gtAngle) {
    auto linear = std::make_unique<TGPLinearGradientBrush>(TGPRectF(fx, fy, w + 10, h + 10), start, end,
                                                           float(angle), true);
    linear->SetGammaCorrection(true);
    brush = std::move(linear);
  } else {
    brush = CreateTextBrush(type, TGPRectF(fx, fy, w, h), start, end, hatchStyle, picture);
  }
  if (!brush) return;
  g.DrawString(text, gpFont.get(), TGPRectF(fx, fy, float(RoundEven(box.Width + 10)), box.Height + 10), &format,
               brush.get());
}
