// The framed edit: a single-line masked edit whose one-pixel frame takes
// FrameColor, or FrameHotColor while the mouse is over it (FrameHotTrack).
// With TabOnEnter the Enter key moves the focus to the next control.
#pragma once

#include "framed/FmCommon.h"
#include "platform/ui/StandardControls.h"

class TFmEdit : public TCustomMaskEdit {
 public:
  explicit TFmEdit(TComponent* owner);
  const char* ClassName() const override { return "TFmEdit"; }

  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor color);
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor color);
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool value) { frameHotTrack_ = value; }
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyle style) { frameHotStyle_ = style; }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool value);
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void KeyPress(char& key) override;

 private:
  void PaintFrame();

  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = cl3DDkShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlat;
  bool frameVisible_ = false;
  bool tabOnEnter_ = false;
  bool hot_ = false;
};

// A framed edit for numbers; its text is what it displays.
class TFmNumericEdit : public TFmEdit {
 public:
  explicit TFmNumericEdit(TComponent* owner) : TFmEdit(owner) {}
  const char* ClassName() const override { return "TFmNumericEdit"; }

  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& format) { displayFormat_ = format; }

 private:
  String displayFormat_;
};
