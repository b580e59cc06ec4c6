#include "smooth/LuxSmoothLabel.h"

#include <cmath>

// --- Caption -------------------------------------------------------------------------

TLuxSmoothLabelCaption::TLuxSmoothLabelCaption(TLuxSmoothLabel* owner) : owner_(owner) {
  font_.SetName("Tahoma");
  font_.SetSize(20);
  font_.OnChange = [this](TObject*) { Changed(); };
  picture_.OnChange = [this](TObject*) { Changed(); };
}

void TLuxSmoothLabelCaption::Changed() {
  if (OnChange) OnChange(this);
  if (owner_) owner_->Changed();
}

void TLuxSmoothLabelCaption::Assign(const TPersistent* source) {
  auto* s = dynamic_cast<const TLuxSmoothLabelCaption*>(source);
  if (!s) return;
  location_ = s->location_;
  left_ = s->left_;
  top_ = s->top_;
  colorStart_ = s->colorStart_;
  colorEnd_ = s->colorEnd_;
  gradientType_ = s->gradientType_;
  hatchStyle_ = s->hatchStyle_;
  opacityStart_ = s->opacityStart_;
  opacityEnd_ = s->opacityEnd_;
  {
    // The picture's own change would notify a second time.
    const TNotifyEvent onChange = std::move(picture_.OnChange);
    picture_.OnChange = nullptr;
    picture_.Assign(&s->picture_);
    picture_.OnChange = onChange;
  }
  text_ = s->text_;
  Changed();
}

void TLuxSmoothLabelCaption::SetText(const String& text) {
  if (text_ == text) return;
  text_ = text;
  if (owner_ && owner_->AutoShadowCaption() && owner_->CaptionShadow() != this)
    owner_->CaptionShadow()->SetText(text);
  Changed();
}

void TLuxSmoothLabelCaption::SetPicture(const TLuxGDIPPicture* picture) {
  if (picture != &picture_) picture_.Assign(picture);
}

// --- Label ---------------------------------------------------------------------------

// The GDI+ font, family and format of a caption, made for one measure or
// paint and freed with it.
struct TLuxSmoothLabel::TCaptionFont {
  TCaptionFont(TLuxSmoothLabelCaption& caption, bool wordWrap) {
    TFont* font = caption.Font();
    family = std::make_unique<TGPFontFamily>(font->Name());
    if (family->LastStatus() == GdipFontFamilyNotFound || family->LastStatus() == GdipFontStyleNotFound)
      family = std::make_unique<TGPFontFamily>("Arial");
    int style = FontStyleRegular;
    if (font->Style() & fsBold) style |= FontStyleBold;
    if (font->Style() & fsItalic) style |= FontStyleItalic;
    if (font->Style() & fsUnderline) style |= FontStyleUnderline;
    format = std::make_unique<TGPStringFormat>(wordWrap ? 0 : StringFormatFlagsNoWrap);
    if (wordWrap) {
      switch (caption.Location()) {
        case plTopCenter: case plCenterCenter: case plBottomCenter: format->SetAlignment(StringAlignmentCenter); break;
        case plTopRight: case plCenterRight: case plBottomRight: format->SetAlignment(StringAlignmentFar); break;
        case plTopLeft: case plCenterLeft: case plBottomLeft: format->SetAlignment(StringAlignmentNear); break;
        case plCustom: break;
      }
    }
    gpFont = std::make_unique<TGPFont>(family.get(), float(font->Size()), style, UnitPoint);
  }
  std::unique_ptr<TGPFontFamily> family;
  std::unique_ptr<TGPStringFormat> format;
  std::unique_ptr<TGPFont> gpFont;
};

TLuxSmoothLabel::TLuxSmoothLabel(TComponent* owner)
    : TGraphicControl(owner),
      fill_(std::make_unique<TGDIPFill>()),
      caption_(std::make_unique<TLuxSmoothLabelCaption>(this)),
      captionShadow_(std::make_unique<TLuxSmoothLabelCaption>(this)) {
  ChangeBounds(0, 0, 280, 50);
  SetControlStyle(ControlStyle() | csReplicatable);
  fill_->OnChange = [this](TObject*) { Changed(); };
  if (IsDesigning() && !IsLoading()) {
    caption_->SetText("LuxSmoothLabel");
    captionShadow_->SetText("LuxSmoothLabel");
  }
}

TLuxSmoothLabel::~TLuxSmoothLabel() = default;

void TLuxSmoothLabel::Changed() {
  if (autoSize_) DoAutoSize();
  Invalidate();
  if (OnChange) OnChange(this);
}

void TLuxSmoothLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  DoAutoSize();
}

void TLuxSmoothLabel::SetFill(const TGDIPFill* fill) {
  if (fill != fill_.get()) fill_->Assign(fill);
  Changed();
}

void TLuxSmoothLabel::SetCaption(const TLuxSmoothLabelCaption* caption) {
  if (caption != caption_.get()) caption_->Assign(caption);
  Changed();
}

void TLuxSmoothLabel::SetCaptionShadow(const TLuxSmoothLabelCaption* caption) {
  if (caption != captionShadow_.get()) captionShadow_->Assign(caption);
  Changed();
}

void TLuxSmoothLabel::Assign(const TPersistent* source) {
  auto* s = dynamic_cast<const TLuxSmoothLabel*>(source);
  if (!s) return;
  autoShadowCaption_ = s->autoShadowCaption_;
  autoSize_ = s->autoSize_;
  fill_->Assign(s->fill_.get());
  caption_->Assign(s->caption_.get());
  captionShadow_->Assign(s->captionShadow_.get());
  transparent_ = s->transparent_;
  wordWrap_ = s->wordWrap_;
  textRendering_ = s->textRendering_;
  captionShadowVisible_ = s->captionShadowVisible_;
  captionShadowOffsetTop_ = s->captionShadowOffsetTop_;
  captionShadowOffsetLeft_ = s->captionShadowOffsetLeft_;
  Changed();
}

void TLuxSmoothLabel::Loaded() {
  TGraphicControl::Loaded();
  if (autoSize_) DoAutoSize();
}

void TLuxSmoothLabel::Resize() {
  TGraphicControl::Resize();
  if (autoSize_) DoAutoSize();
}

void TLuxSmoothLabel::DoAutoSize() {
  if (sizing_) return;
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && !owner->HandleAllocated()) return;
  sizing_ = true;
  TGPRectF bounds;
  {
    HDC dc = CreateCompatibleDC(nullptr);
    {
      TGPGraphics g(dc);
      TCaptionFont font(*caption_, wordWrap_);
      g.MeasureString(caption_->Text(), font.gpFont.get(), TGPRectF(0, 0, 10000, 10000), font.format.get(), bounds);
    }
    DeleteDC(dc);
  }
  SetBounds(Left(), Top(), int(std::lrint(bounds.Width + 2)), int(std::lrint(bounds.Height + 2)));
  sizing_ = false;
}

// A gradient caption, drawn once into a transparent picture of the label's
// size and blended onto the canvas at each paint: GDI+ computes a gradient
// pixel by pixel, and redrawing the captions took most of a page's repaint.
// GDI+ draws such text on a device context the same way, into
// transparent pixels premultiplied and blended over the canvas, so the
// canvas gets the same pixels. The key holds everything the picture shows,
// system colours resolved; a paint with another key draws it again.
class TLuxSmoothLabel::TCaptionLayer {
 public:
  struct TKey {
    String text, fontName;
    int fontSize;
    TFontStyles fontStyle;
    bool wordWrap;
    TLuxSmoothLabelLocation location;
    int customLeft, customTop, leftOffset, topOffset, shadowOffset;
    float areaX, areaY, areaWidth, areaHeight;
    ARGB start, end;
    TLuxGradientType gradient;
    TTextRenderingHint rendering;
    int width, height;
    bool operator==(const TKey&) const = default;
  };

  TCaptionLayer(const TKey& key, TGPBitmap& picture) : key_(key) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = key.width;
    info.bmiHeader.biHeight = -key.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || picture.CopyPremultiplied(bits, key.width * 4) != GdipOk) return;
    FindInk(static_cast<const uint32_t*>(bits));
    dc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
  }
  ~TCaptionLayer() {
    if (dc_) {
      SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
  }
  TCaptionLayer(const TCaptionLayer&) = delete;
  TCaptionLayer& operator=(const TCaptionLayer&) = delete;

  const TKey& Key() const { return key_; }

  void BlendOnto(HDC dc) const {
    if (!dc_ || IsRectEmpty(&ink_)) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int w = ink_.right - ink_.left, h = ink_.bottom - ink_.top;
    GdiAlphaBlend(dc, ink_.left, ink_.top, w, h, dc_, ink_.left, ink_.top, w, h, blend);
  }

 private:
  // The box of the pixels that show: the rest leaves the canvas as it is.
  void FindInk(const uint32_t* pixels) {
    SetRectEmpty(&ink_);
    for (int y = 0; y < key_.height; ++y)
      for (int x = 0; x < key_.width; ++x)
        if (pixels[y * key_.width + x] >> 24) {
          const RECT pixel{x, y, x + 1, y + 1};
          UnionRect(&ink_, &ink_, &pixel);
        }
  }

  TKey key_;
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  RECT ink_{};
};

namespace {

// GDI+ fills text with these brushes pixel by pixel, wherever it draws.
bool IsLinearGradient(TLuxGradientType type) {
  return type == gtVertical || type == gtHorizontal || type == gtForwardDiagonal || type == gtBackwardDiagonal;
}

int TextHint(TTextRenderingHint rendering) {
  return rendering == tClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAliasGridFit;
}

ARGB CaptionStart(const TLuxSmoothLabelCaption& caption) {
  return ColorToARGB(caption.OpacityStart(), caption.ColorStart());
}

ARGB CaptionEnd(const TLuxSmoothLabelCaption& caption) {
  return caption.ColorEnd() == clNone ? CaptionStart(caption) : ColorToARGB(caption.OpacityEnd(), caption.ColorEnd());
}

}  // namespace

void TLuxSmoothLabel::PaintTo(TCanvas* canvas) {
  if (Width() < 2 || Height() < 2) return;
  HDC dc = canvas->Handle();
  TGPGraphics g(dc);
  TGPRectF area(0, 0, float(Width() - 1), float(Height() - 1));
  if (!transparent_) area = fill_->Fill(&g, area);
  if (!captionShadow_->Text().empty() && captionShadowVisible_)
    PaintCaption(g, dc, *captionShadow_, captionShadowOffsetLeft_, captionShadowOffsetTop_, area, shadowLayer_);
  if (!caption_->Text().empty()) PaintCaption(g, dc, *caption_, 0, 0, area, captionLayer_);
}

void TLuxSmoothLabel::PaintCaption(TGPGraphics& g, HDC dc, TLuxSmoothLabelCaption& caption, int leftOffset,
                                   int topOffset, const TGPRectF& area, std::unique_ptr<TCaptionLayer>& layer) {
  if (!IsLinearGradient(caption.GradientType())) {
    DrawCaption(g, g, caption, leftOffset, topOffset, area);
    return;
  }
  TFont* font = caption.Font();
  const TCaptionLayer::TKey key{caption.Text(), font->Name(), font->Size(), font->Style(), wordWrap_,
                                caption.Location(), caption_->Left(), caption_->Top(), leftOffset, topOffset,
                                fill_->ShadowOffset(), area.X, area.Y, area.Width, area.Height,
                                CaptionStart(caption), CaptionEnd(caption), caption.GradientType(), textRendering_,
                                Width(), Height()};
  if (!layer || !(layer->Key() == key)) {
    TGPBitmap picture(Width(), Height(), kPixelFormat32bppARGB);
    {
      TGPGraphics target(&picture);
      target.Clear(0);
      DrawCaption(g, target, caption, leftOffset, topOffset, area);
    }
    layer = std::make_unique<TCaptionLayer>(key, picture);
  }
  // As the drawing would leave it, for the captions measured after this one.
  g.SetTextRenderingHint(TextHint(textRendering_));
  layer->BlendOnto(dc);
}

void TLuxSmoothLabel::DrawCaption(TGPGraphics& measure, TGPGraphics& target, TLuxSmoothLabelCaption& caption,
                                  int leftOffset, int topOffset, const TGPRectF& area) {
  TCaptionFont font(caption, wordWrap_);
  TGPRectF bounds;
  measure.MeasureString(caption.Text(), font.gpFont.get(), area, font.format.get(), bounds);
  const float tw = bounds.Width, th = bounds.Height;

  // Offsets from the label's origin, not from the area's corner.
  float px = 0, py = 0;
  const TLuxSmoothLabelLocation location = caption.Location();
  if (location == plCustom) {
    px = float(caption_->Left());
    py = float(caption_->Top());
  } else {
    const float dx = area.Width - tw, dy = area.Height - th;
    const int column = location % 3, row = location / 3;
    px = column == 0 ? 0 : column == 1 ? dx / 2 : dx;
    py = row == 0 ? 0 : row == 1 ? dy / 2 : dy;
  }
  const float x = float(leftOffset) + px + float(fill_->ShadowOffset());
  const float y = float(topOffset) + py + float(fill_->ShadowOffset());

  measure.SetTextRenderingHint(TextHint(textRendering_));
  if (&target != &measure) target.SetTextRenderingHint(TextHint(textRendering_));
  // Radial, angle, path and none draw no text.
  const std::unique_ptr<TGPBrush> brush = CreateTextBrush(caption.GradientType(), TGPRectF(x, y, tw, th),
                                                          CaptionStart(caption), CaptionEnd(caption),
                                                          caption.HatchStyle(), caption.Picture());
  if (brush) target.DrawString(caption.Text(), font.gpFont.get(), TGPRectF(x, y, tw, th), font.format.get(), brush.get());
}
