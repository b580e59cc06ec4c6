#include "smooth/GDIPFill.h"

namespace {

const UINT kClipboardFormat = RegisterClipboardFormatA("GDI+ Fill");

uint8_t Effective(uint8_t argument, uint8_t property) { return argument < 255 ? argument : property; }

TGPRectF Inflated(const TGPRectF& r) { return {r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2}; }

// Keeps the graphics' smoothing mode across a drawing step.
class TSmoothingScope {
 public:
  TSmoothingScope(TGPGraphics& g, int mode) : g_(g), saved_(g.SmoothingMode()) { g_.SetSmoothingMode(mode); }
  ~TSmoothingScope() {
    if (saved_ >= 0) g_.SetSmoothingMode(saved_);
  }

 private:
  TGPGraphics& g_;
  int saved_;
};

// Fills path when there is one, else rect.
void FillShape(TGPGraphics& g, TGPBrush& brush, TGPGraphicsPath* path, const TGPRectF& rect) {
  if (path) g.FillPath(&brush, path);
  else g.FillRectangle(&brush, rect);
}

struct THalf {
  TColor start, end;
  TLuxGradientType type;
  int hatch;
  uint8_t startOpacity, endOpacity;
};

void FillGradientShape(TGPGraphics& g, TGPGraphicsPath* path, const TGPRectF& rect, const THalf& h,
                       TLuxGDIPPicture* texture, bool mirror, int angle) {
  const ARGB start = ColorToARGB(h.startOpacity, h.start), end = ColorToARGB(h.endOpacity, h.end);
  switch (h.type) {
    case gtSolid: {
      TGPSolidBrush brush(start);
      FillShape(g, brush, path, rect);
      break;
    }
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
      const int mode = h.type == gtVertical     ? LinearGradientModeVertical
                       : h.type == gtHorizontal ? LinearGradientModeHorizontal
                       : h.type == gtForwardDiagonal ? LinearGradientModeForwardDiagonal
                                                     : LinearGradientModeBackwardDiagonal;
      TGPLinearGradientBrush brush(Inflated(rect), start, end, mode);
      brush.SetGammaCorrection(true);
      FillShape(g, brush, path, rect);
      if (mirror) {
        // The lower half starts with a clean line of its start colour.
        TGPSolidBrush line(start);
        g.FillRectangle(&line, rect.X, rect.Y, rect.Width, 1);
      }
      break;
    }
    case gtAngle: {
      TGPLinearGradientBrush brush(Inflated(rect), start, end, float(angle), true);
      brush.SetGammaCorrection(true);
      FillShape(g, brush, path, rect);
      break;
    }
    case gtHatch: {
      TGPHatchBrush brush(h.hatch, start, end);
      FillShape(g, brush, path, rect);
      break;
    }
    case gtTexture:
      if (!texture) break;
      if (path) texture->FillPathWithTexture(g, *path);
      else texture->FillRectWithTexture(g, rect);
      break;
    default:  // gtRadial is painted by the radial routine; gtPath and gtNone paint nothing
      break;
  }
}

}  // namespace

UINT GDIPFillClipboardFormat() { return kClipboardFormat; }

TGDIPFill::TGDIPFill() {
  backGroundPicture_->OnChange = [this](TObject*) { Changed(); };
  picture_->OnChange = [this](TObject*) { Changed(); };
}

TGDIPFill::~TGDIPFill() = default;

void TGDIPFill::Changed() {
  if (OnChange) OnChange(this);
}

void TGDIPFill::SetPicture(TLuxGDIPPicture& owned, const TLuxGDIPPicture* value) {
  if (value == &owned) return;
  owned.Assign(value);
  Changed();
}

void TGDIPFill::Assign(const TPersistent* source) {
  auto* s = dynamic_cast<const TGDIPFill*>(source);
  if (!s) return;
  const TNotifyEvent onChange = std::move(OnChange);
  OnChange = nullptr;  // one notification for the whole copy
  color_ = s->color_;
  colorTo_ = s->colorTo_;
  colorMirror_ = s->colorMirror_;
  colorMirrorTo_ = s->colorMirrorTo_;
  gradientType_ = s->gradientType_;
  gradientMirrorType_ = s->gradientMirrorType_;
  hatchStyle_ = s->hatchStyle_;
  hatchStyleMirror_ = s->hatchStyleMirror_;
  backGroundPictureAspectRatio_ = s->backGroundPictureAspectRatio_;
  backGroundPictureMode_ = s->backGroundPictureMode_;
  backGroundPicture_->Assign(s->backGroundPicture_.get());
  backGroundPicturePosition_ = s->backGroundPicturePosition_;
  backGroundPictureLeft_ = s->backGroundPictureLeft_;
  backGroundPictureTop_ = s->backGroundPictureTop_;
  backGroundPictureAspectMode_ = s->backGroundPictureAspectMode_;
  picture_->Assign(s->picture_.get());
  picturePosition_ = s->picturePosition_;
  pictureLeft_ = s->pictureLeft_;
  pictureTop_ = s->pictureTop_;
  pictureSize_ = s->pictureSize_;
  pictureWidth_ = s->pictureWidth_;
  pictureHeight_ = s->pictureHeight_;
  pictureAspectRatio_ = s->pictureAspectRatio_;
  pictureAspectMode_ = s->pictureAspectMode_;
  opacity_ = s->opacity_;
  opacityTo_ = s->opacityTo_;
  opacityMirror_ = s->opacityMirror_;
  opacityMirrorTo_ = s->opacityMirrorTo_;
  borderColor_ = s->borderColor_;
  borderOpacity_ = s->borderOpacity_;
  borderWidth_ = s->borderWidth_;
  rounding_ = s->rounding_;
  roundingType_ = s->roundingType_;
  shadowColor_ = s->shadowColor_;
  shadowOffset_ = s->shadowOffset_;
  shadowType_ = s->shadowType_;
  angle_ = s->angle_;
  glow_ = s->glow_;
  glowGradientColor_ = s->glowGradientColor_;
  glowRadialColor_ = s->glowRadialColor_;
  OnChange = onChange;
  Changed();
}

TGPRectF TGDIPFill::Fill(TGPGraphics* graphics, const TGPRectF& r, uint8_t borderOpacity, uint8_t opacity,
                         uint8_t opacityTo, uint8_t opacityMirror, uint8_t opacityMirrorTo) {
  if (!graphics) return r;
  TGPGraphics& g = *graphics;
  const TOpacities op{Effective(borderOpacity, borderOpacity_), Effective(opacity, opacity_),
                      Effective(opacityTo, opacityTo_), Effective(opacityMirror, opacityMirror_),
                      Effective(opacityMirrorTo, opacityMirrorTo_)};
  TGPRectF w = r;
  const bool hasBorder = borderWidth_ > 0 && borderColor_ != clNone;
  if (w.Height == 1 || w.Width == 1) {
    // A one-pixel area is a line: only its border is drawn for the body.
    if (hasBorder) {
      TGPPen pen(ColorToARGB(op.border, borderColor_), float(borderWidth_));
      g.DrawLine(&pen, w.X, w.Y, w.X + w.Width, w.Y + w.Height);
    }
  } else {
    FillShadow(g, w);
    FillBodyHalves(g, w, op);
    if (backGroundPictureMode_ == pmInsideFill) {
      TGPGraphicsPath path;
      AddRoundRectPath(path, w, rounding_, roundingType_);
      TGPRegion region(&path);
      g.SetClip(&region);
      DrawBackGroundPicture(g, RoundRect(w));
      g.ResetClip();
    }
    if (hasBorder) {
      TGPGraphicsPath path;
      AddRoundRectPath(path, w, rounding_, roundingType_);
      TGPPen pen(ColorToARGB(op.border, borderColor_), float(borderWidth_));
      g.DrawPath(&pen, &path);
    }
  }
  // The pictures are placed in the body's rectangle, line or not.
  const TIntRect ri = RoundRect(w);
  DrawGlow(g, w);
  const float b = float(borderWidth_);
  focusRect_ = TGPRectF(w.X + b, w.Y + b, w.Width - 2 * b, w.Height - 2 * b);
  if (Focus) DrawFocus(g, op.start);
  if (backGroundPictureMode_ == pmOutsideFill) DrawBackGroundPicture(g, ri);
  if (!picture_->Empty()) {
    picture_->UpdateSize();
    const bool custom = pictureSize_ == psCustom;
    DrawPositionedPicture(g, *picture_, picturePosition_, ri, custom ? pictureWidth_ : picture_->Width(),
                          custom ? pictureHeight_ : picture_->Height(), pictureAspectRatio_, pictureAspectMode_,
                          pictureLeft_, pictureTop_);
  }
  return w;
}

// The shadow is painted first, and the body shrinks to leave it visible.
void TGDIPFill::FillShadow(TGPGraphics& g, TGPRectF& w) {
  if (shadowOffset_ <= 0 || shadowColor_ == clNone) return;
  const float o = float(shadowOffset_);
  if (shadowType_ == stBottom) {
    DrawRadialGradient(g, TGPRectF(w.X, w.Y + w.Height - 2 * o, w.Width, 2 * o), shadowColor_, shadowColor_, 0, 255,
                       true, rounding_, rtBottom);
  } else {
    TGPGraphicsPath path;
    if (shadowType_ == stSurround) AddRoundRectPath(path, w, shadowOffset_, rtBoth);
    else AddRoundRectPath(path, w, rounding_, roundingType_);
    TGPPathGradientBrush brush(&path);
    brush.SetWrapMode(WrapModeClamp);
    const ARGB shade = ColorToARGB(180, shadowColor_);
    const ARGB colors[] = {ColorToARGB(0, clBlack), shade, shade};
    const float positions[] = {0.0f, 0.1f, 1.0f};
    brush.SetInterpolationColors(colors, positions, 3);
    // The same ends as centre and surround colours: a renderer that does
    // not apply preset blends to path gradients still fades the shadow out.
    brush.SetCenterColor(shade);
    int count = 1;
    brush.SetSurroundColors(&colors[0], count);
    g.FillPath(&brush, &path);
  }
  w = ShadowContentRect(w, shadowType_, shadowOffset_);
}

void TGDIPFill::FillBodyHalves(TGPGraphics& g, const TGPRectF& w, const TOpacities& op) {
  const bool split = gradientType_ != gtHatch && gradientType_ != gtTexture && colorMirror_ != clNone;
  if (!split) {
    if (gradientType_ == gtRadial && color_ != clNone)
      DrawRadialGradient(g, w, color_, colorTo_ == clNone ? color_ : colorTo_, op.start, op.end, true, rounding_,
                         roundingType_);
    else FillBody(g, w, false, op);
    return;
  }
  TGPRectF upper, lower;
  SplitMirrorHalves(w, upper, lower);
  if (gradientType_ == gtRadial) {
    if (color_ != clNone)
      DrawRadialGradient(g, upper, color_, colorTo_ == clNone ? color_ : colorTo_, op.start, op.end, true,
                         rounding_, rtTop);
  } else {
    FillBody(g, upper, false, op);
  }
  if (gradientMirrorType_ == gtRadial)
    DrawRadialGradient(g, lower, colorMirror_, colorMirrorTo_ == clNone ? colorMirror_ : colorMirrorTo_, op.mirror,
                       op.mirrorEnd, false, rounding_, rtBottom);
  else FillBody(g, lower, true, op);
}

void TGDIPFill::FillBody(TGPGraphics& g, const TGPRectF& rect, bool mirror, const TOpacities& op) {
  THalf h = mirror ? THalf{colorMirror_, colorMirrorTo_, gradientMirrorType_, hatchStyleMirror_, op.mirror, op.mirrorEnd}
                   : THalf{color_, colorTo_, gradientType_, hatchStyle_, op.start, op.end};
  if (h.start == clNone) h.type = gtNone;
  else if (h.end == clNone) h.type = gtSolid;
  TLuxGDIPPicture* texture = backGroundPicturePosition_ == ppTiled ? backGroundPicture_.get() : nullptr;
  if (rounding_ == 0) {
    FillGradientShape(g, nullptr, rect, h, texture, mirror, angle_);
    return;
  }
  const TFillRoundingType type = colorMirror_ == clNone ? roundingType_ : HalfRoundingType(roundingType_, mirror);
  TGPGraphicsPath path;
  AddRoundRectPath(path, rect, rounding_, type);
  TSmoothingScope smoothing(g, SmoothingModeAntiAlias);
  FillGradientShape(g, &path, rect, h, texture, mirror, angle_);
}

// A base colour over the rounded shape, and an ellipse of the other colour
// glowing from the middle of the top (or bottom) edge.
void TGDIPFill::DrawRadialGradient(TGPGraphics& g, const TGPRectF& rect, TColor colour, TColor endColour,
                                   uint8_t opacity, uint8_t endOpacity, bool top, int radius,
                                   TFillRoundingType type) {
  const ARGB inner = top ? ColorToARGB(opacity, colour) : ColorToARGB(endOpacity, endColour);
  const ARGB outer = top ? ColorToARGB(endOpacity, endColour) : ColorToARGB(opacity, colour);
  TGPGraphicsPath shape;
  AddRoundRectPath(shape, rect, radius, type);
  TGPSolidBrush base(inner);
  g.FillPath(&base, &shape);
  TGPRegion region(&shape);
  g.SetClip(&region);

  TGPGraphicsPath ellipse;
  ellipse.AddEllipse(rect.X, top ? rect.Y - rect.Height / 2 : rect.Y, rect.Width, 1.5f * rect.Height);
  TGPPathGradientBrush brush(&ellipse);
  brush.SetCenterPoint(TGPPointF(rect.X + rect.Width / 2, top ? rect.Y : rect.Y + rect.Height));
  brush.SetCenterColor(outer);
  int count = 1;
  brush.SetSurroundColors(&inner, count);
  g.FillRectangle(&brush, rect);
  g.ResetClip();
}

void TGDIPFill::DrawGlow(TGPGraphics& g, const TGPRectF& w) {
  if (glow_ == gmNone) return;
  TGPRegion clip(w);
  g.SetClip(&clip);
  const TGPRectF G(w.X + 1, w.Y + 1, w.Width - 2, w.Height - 2);
  const float gr = G.X + G.Width, gb = G.Y + G.Height;
  if (glow_ == gmGradient || glow_ == gmRadialGradient) {
    {
      TGPGraphicsPath outline;
      AddRoundRectPath(outline, G, rounding_, roundingType_);
      TGPPen pen(ColorToARGB(200, glowGradientColor_), 1);
      g.DrawPath(&pen, &outline);
    }
    // A sheen along the top and the bottom, with its corners cut slanted.
    auto sheen = [&](const TGPRectF& band, uint8_t from, uint8_t to, float edgeY, float innerY) {
      TGPLinearGradientBrush brush(Inflated(band), ColorToARGB(from, glowGradientColor_),
                                   ColorToARGB(to, glowGradientColor_), LinearGradientModeVertical);
      TGPGraphicsPath left, right;
      left.AddLine(G.X, edgeY, G.X + 5, edgeY);
      left.AddLine(G.X + 5, edgeY, G.X + 5, innerY);
      left.CloseFigure();
      right.AddLine(gr, edgeY, gr - 5, edgeY);
      right.AddLine(gr - 5, edgeY, gr - 5, innerY);
      right.CloseFigure();
      g.FillPath(&brush, &left);
      g.FillPath(&brush, &right);
      g.FillRectangle(&brush, band);
    };
    sheen(TGPRectF(G.X + 5, G.Y, G.Width - 10, 4), 175, 0, G.Y, G.Y + 4);
    sheen(TGPRectF(G.X + 5, gb - 7, G.Width - 10, 7), 0, 220, gb, gb - 7);
  }
  if (glow_ == gmRadial || glow_ == gmRadialGradient) {
    const TGPRectF e(G.X + 10, G.Y - G.Height / 2, G.Width - 20, 3 * G.Height);
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(e);
    TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(TGPPointF(e.X + e.Width / 2, e.Y + e.Height / 2));
    brush.SetCenterColor(ColorToARGB(150, glowRadialColor_));
    const ARGB surround = ColorToARGB(0, color_);
    int count = 1;
    brush.SetSurroundColors(&surround, count);
    g.FillPath(&brush, &ellipse);
  }
  g.ResetClip();
}

void TGDIPFill::DrawFocus(TGPGraphics& g, uint8_t opacity) {
  TGPGraphicsPath path;
  AddRoundRectPath(path, focusRect_, rounding_ - borderWidth_, roundingType_);
  TGPPen pen(ColorToARGB(opacity, FocusColor), 1);
  pen.SetDashStyle(DashStyleDot);
  TSmoothingScope smoothing(g, SmoothingModeDefault);
  g.DrawPath(&pen, &path);
}

// Only a texture fill shows its background picture.
void TGDIPFill::DrawBackGroundPicture(TGPGraphics& g, const TIntRect& ri) {
  if (backGroundPicture_->Empty() || gradientType_ != gtTexture) return;
  backGroundPicture_->UpdateSize();
  DrawPositionedPicture(g, *backGroundPicture_, backGroundPicturePosition_, ri, backGroundPicture_->Width(),
                        backGroundPicture_->Height(), backGroundPictureAspectRatio_, backGroundPictureAspectMode_,
                        backGroundPictureLeft_, backGroundPictureTop_);
}

void TGDIPFill::DrawPositionedPicture(TGPGraphics& g, TLuxGDIPPicture& picture, TFillPicturePosition position,
                                      const TIntRect& ri, int pw, int ph, bool aspectRatio, TPictureMode aspectMode,
                                      int customLeft, int customTop) {
  if (picture.Empty()) return;
  const TPicturePlacement p = PlacePicture(position, ri, pw, ph, aspectRatio, aspectMode, customLeft, customTop);
  if (p.Tiled)
    picture.FillRectWithTexture(g, TGPRectF(float(p.Left), float(p.Top), float(p.Width), float(p.Height)));
  else picture.DrawToGraphics(g, TRect(p.Left, p.Top, p.Left + p.Width, p.Top + p.Height));
}

std::unique_ptr<TGPBrush> CreateTextBrush(TLuxGradientType type, const TGPRectF& box, ARGB start, ARGB end,
                                          int hatchStyle, const TLuxGDIPPicture* picture) {
  const float x = box.X, y = box.Y, w = box.Width, h = box.Height;
  switch (type) {
    case gtSolid: return std::make_unique<TGPSolidBrush>(start);
    case gtVertical: return std::make_unique<TGPLinearGradientBrush>(TGPPointF(x, y), TGPPointF(x, y + h), start, end);
    case gtHorizontal:
      return std::make_unique<TGPLinearGradientBrush>(TGPPointF(x, y), TGPPointF(x + w, y), start, end);
    case gtForwardDiagonal:
      return std::make_unique<TGPLinearGradientBrush>(TGPPointF(x, y), TGPPointF(x + w, y + h), start, end);
    case gtBackwardDiagonal:
      return std::make_unique<TGPLinearGradientBrush>(TGPPointF(x, y + h), TGPPointF(x + w, y), end, start);
    case gtHatch: return std::make_unique<TGPHatchBrush>(hatchStyle, start, end);
    case gtTexture: return picture ? picture->CreateTextureBrush() : nullptr;
    default: return nullptr;
  }
}
