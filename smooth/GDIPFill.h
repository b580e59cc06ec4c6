// The fill descriptor of the smooth controls: how a rectangle is painted
// with GDI+. A body colour or gradient with an optional mirrored lower
// half, a border, rounded corners, a shadow, a glow, a background picture
// and a foreground picture, drawn in a fixed order by Fill, which answers
// the rectangle left inside the shadow for the owner's content.
#pragma once

#include <memory>

#include "platform/ui/Graphics.h"
#include "smooth/GDIPFillGeometry.h"
#include "smooth/LuxGDIPPicture.h"
#include "smooth/LuxGDIPWrappers.h"

// The GDI+ hatch styles, HatchStyleHorizontal (0) to HatchStyleSolidDiamond.
enum : int { HatchStyleHorizontal = 0, HatchStyleSolidDiamond = 52, HatchStyleTotal = 53 };

// The clipboard format registered for fills (nothing puts data in it).
UINT GDIPFillClipboardFormat();

class TGDIPFill : public TPersistent {
 public:
  TGDIPFill();
  ~TGDIPFill() override;
  const char* ClassName() const override { return "TGDIPFill"; }
  // Another fill's published values, notified once; other sources are
  // ignored.
  void Assign(const TPersistent* source) override;

  // Paints r. An opacity argument of 255 takes the fill's own property, a
  // lower one replaces it for this call. Answers the rectangle left after
  // the shadow; with no graphics nothing is drawn and r is answered.
  TGPRectF Fill(TGPGraphics* graphics, const TGPRectF& r, uint8_t borderOpacity = 255, uint8_t opacity = 255,
                uint8_t opacityTo = 255, uint8_t opacityMirror = 255, uint8_t opacityMirrorTo = 255);

  // Builds the rounded outline of r into path.
  static void CreateRoundRectPath(TGPGraphicsPath& path, const TGPRectF& r, int radius, TFillRoundingType type) {
    AddRoundRectPath(path, r, radius, type);
  }

  TColor Color() const { return color_; }
  void SetColor(TColor v) { Set(color_, v); }
  TColor ColorTo() const { return colorTo_; }
  void SetColorTo(TColor v) { Set(colorTo_, v); }
  TColor ColorMirror() const { return colorMirror_; }
  void SetColorMirror(TColor v) { Set(colorMirror_, v); }
  TColor ColorMirrorTo() const { return colorMirrorTo_; }
  void SetColorMirrorTo(TColor v) { Set(colorMirrorTo_, v); }
  TLuxGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TLuxGradientType v) { Set(gradientType_, v); }
  TLuxGradientType GradientMirrorType() const { return gradientMirrorType_; }
  void SetGradientMirrorType(TLuxGradientType v) { Set(gradientMirrorType_, v); }
  int HatchStyle() const { return hatchStyle_; }
  void SetHatchStyle(int v) { Set(hatchStyle_, v); }
  int HatchStyleMirror() const { return hatchStyleMirror_; }
  void SetHatchStyleMirror(int v) { Set(hatchStyleMirror_, v); }

  bool BackGroundPictureAspectRatio() const { return backGroundPictureAspectRatio_; }
  void SetBackGroundPictureAspectRatio(bool v) { Set(backGroundPictureAspectRatio_, v); }
  TFillPictureMode BackGroundPictureMode() const { return backGroundPictureMode_; }
  void SetBackGroundPictureMode(TFillPictureMode v) { Set(backGroundPictureMode_, v); }
  TLuxGDIPPicture* BackGroundPicture() const { return backGroundPicture_.get(); }
  void SetBackGroundPicture(const TLuxGDIPPicture* v) { SetPicture(*backGroundPicture_, v); }
  TFillPicturePosition BackGroundPicturePosition() const { return backGroundPicturePosition_; }
  void SetBackGroundPicturePosition(TFillPicturePosition v) { Set(backGroundPicturePosition_, v); }
  int BackGroundPictureLeft() const { return backGroundPictureLeft_; }
  void SetBackGroundPictureLeft(int v) { Set(backGroundPictureLeft_, v); }
  int BackGroundPictureTop() const { return backGroundPictureTop_; }
  void SetBackGroundPictureTop(int v) { Set(backGroundPictureTop_, v); }
  TPictureMode BackGroundPictureAspectMode() const { return backGroundPictureAspectMode_; }
  void SetBackGroundPictureAspectMode(TPictureMode v) { Set(backGroundPictureAspectMode_, v); }

  TLuxGDIPPicture* Picture() const { return picture_.get(); }
  void SetPicture(const TLuxGDIPPicture* v) { SetPicture(*picture_, v); }
  TFillPicturePosition PicturePosition() const { return picturePosition_; }
  void SetPicturePosition(TFillPicturePosition v) { Set(picturePosition_, v); }
  int PictureLeft() const { return pictureLeft_; }
  void SetPictureLeft(int v) { Set(pictureLeft_, v); }
  int PictureTop() const { return pictureTop_; }
  void SetPictureTop(int v) { Set(pictureTop_, v); }
  TFillPictureSize PictureSize() const { return pictureSize_; }
  void SetPictureSize(TFillPictureSize v) { Set(pictureSize_, v); }
  int PictureWidth() const { return pictureWidth_; }
  void SetPictureWidth(int v) { Set(pictureWidth_, v); }
  int PictureHeight() const { return pictureHeight_; }
  void SetPictureHeight(int v) { Set(pictureHeight_, v); }
  bool PictureAspectRatio() const { return pictureAspectRatio_; }
  void SetPictureAspectRatio(bool v) { Set(pictureAspectRatio_, v); }
  TPictureMode PictureAspectMode() const { return pictureAspectMode_; }
  void SetPictureAspectMode(TPictureMode v) { Set(pictureAspectMode_, v); }

  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t v) { Set(opacity_, v); }
  uint8_t OpacityTo() const { return opacityTo_; }
  void SetOpacityTo(uint8_t v) { Set(opacityTo_, v); }
  uint8_t OpacityMirror() const { return opacityMirror_; }
  void SetOpacityMirror(uint8_t v) { Set(opacityMirror_, v); }
  uint8_t OpacityMirrorTo() const { return opacityMirrorTo_; }
  void SetOpacityMirrorTo(uint8_t v) { Set(opacityMirrorTo_, v); }

  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { Set(borderColor_, v); }
  uint8_t BorderOpacity() const { return borderOpacity_; }
  void SetBorderOpacity(uint8_t v) { Set(borderOpacity_, v); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { Set(borderWidth_, v); }
  int Rounding() const { return rounding_; }
  void SetRounding(int v) { Set(rounding_, v); }
  TFillRoundingType RoundingType() const { return roundingType_; }
  void SetRoundingType(TFillRoundingType v) { Set(roundingType_, v); }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v) { Set(shadowColor_, v); }
  int ShadowOffset() const { return shadowOffset_; }
  void SetShadowOffset(int v) { Set(shadowOffset_, v); }
  TShadowType ShadowType() const { return shadowType_; }
  void SetShadowType(TShadowType v) { Set(shadowType_, v); }
  int Angle() const { return angle_; }
  void SetAngle(int v) { Set(angle_, v); }
  TGlowMode Glow() const { return glow_; }
  void SetGlow(TGlowMode v) { Set(glow_, v); }
  TColor GlowGradientColor() const { return glowGradientColor_; }
  void SetGlowGradientColor(TColor v) { Set(glowGradientColor_, v); }
  TColor GlowRadialColor() const { return glowRadialColor_; }
  void SetGlowRadialColor(TColor v) { Set(glowRadialColor_, v); }

  // A dotted outline inside the border, in FocusColor; FocusRect is where
  // the last Fill put it.
  bool Focus = false;
  TColor FocusColor = 0;
  const TGPRectF& FocusRect() const { return focusRect_; }

  TNotifyEvent OnChange;
  // Fires OnChange; the pictures' changes come here too.
  void Changed();

 private:
  struct TOpacities {
    uint8_t border, start, end, mirror, mirrorEnd;
  };
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void SetPicture(TLuxGDIPPicture& owned, const TLuxGDIPPicture* value);

  void FillShadow(TGPGraphics& g, TGPRectF& w);
  void FillBodyHalves(TGPGraphics& g, const TGPRectF& w, const TOpacities& op);
  void FillBody(TGPGraphics& g, const TGPRectF& rect, bool mirror, const TOpacities& op);
  void DrawRadialGradient(TGPGraphics& g, const TGPRectF& rect, TColor colour, TColor endColour, uint8_t opacity,
                          uint8_t endOpacity, bool top, int radius, TFillRoundingType type);
  void DrawGlow(TGPGraphics& g, const TGPRectF& w);
  void DrawFocus(TGPGraphics& g, uint8_t opacity);
  void DrawBackGroundPicture(TGPGraphics& g, const TIntRect& ri);
  void DrawPositionedPicture(TGPGraphics& g, TLuxGDIPPicture& picture, TFillPicturePosition position,
                             const TIntRect& ri, int pw, int ph, bool aspectRatio, TPictureMode aspectMode,
                             int customLeft, int customTop);

  TColor color_ = 0xC0C0C0;
  TColor colorTo_ = clGray;
  TColor colorMirror_ = clNone;
  TColor colorMirrorTo_ = clNone;
  TLuxGradientType gradientType_ = gtVertical;
  TLuxGradientType gradientMirrorType_ = gtSolid;
  int hatchStyle_ = HatchStyleHorizontal;
  int hatchStyleMirror_ = HatchStyleHorizontal;
  bool backGroundPictureAspectRatio_ = false;
  TFillPictureMode backGroundPictureMode_ = pmOutsideFill;
  std::unique_ptr<TLuxGDIPPicture> backGroundPicture_ = std::make_unique<TLuxGDIPPicture>();
  TFillPicturePosition backGroundPicturePosition_ = ppTopLeft;
  int backGroundPictureLeft_ = 0;
  int backGroundPictureTop_ = 0;
  TPictureMode backGroundPictureAspectMode_ = pmStretch;
  std::unique_ptr<TLuxGDIPPicture> picture_ = std::make_unique<TLuxGDIPPicture>();
  TFillPicturePosition picturePosition_ = ppTopLeft;
  int pictureLeft_ = 0;
  int pictureTop_ = 0;
  TFillPictureSize pictureSize_ = psOriginal;
  int pictureWidth_ = 50;
  int pictureHeight_ = 50;
  bool pictureAspectRatio_ = false;
  TPictureMode pictureAspectMode_ = pmStretch;
  uint8_t opacity_ = 255;
  uint8_t opacityTo_ = 255;
  uint8_t opacityMirror_ = 255;
  uint8_t opacityMirrorTo_ = 255;
  TColor borderColor_ = clNone;
  uint8_t borderOpacity_ = 255;
  int borderWidth_ = 1;
  int rounding_ = 0;
  TFillRoundingType roundingType_ = rtBoth;
  TColor shadowColor_ = clGray;
  int shadowOffset_ = 0;
  TShadowType shadowType_ = stRightBottom;
  int angle_ = 0;
  TGlowMode glow_ = gmNone;
  TColor glowGradientColor_ = 0xFFFFFF;
  TColor glowRadialColor_ = 0xFFFFFF;
  TGPRectF focusRect_;
};

// The brush that the smooth texts are drawn with over their measured box:
// solid start, a two-colour linear gradient along the box (vertical,
// horizontal, either diagonal), a hatch of start over end, or picture's
// tiled texture. Any other type, or an empty picture, gives none.
std::unique_ptr<TGPBrush> CreateTextBrush(TLuxGradientType type, const TGPRectF& box, ARGB start, ARGB end,
                                          int hatchStyle, const TLuxGDIPPicture* picture);
