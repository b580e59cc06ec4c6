// Balloon hints: while a TFmBalloonHints lives, the application shows its
// hints in TFmCustomHintWindow, a speech balloon with rounded corners and
// a tail pointing at the mouse (or at the control's centre), flipped to
// stay inside the monitor's work area, or drawn from four user bitmaps.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "framed/FmBHintsGeometry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

class TFmCustomHintWindow;

using TSetHintRectEvent =
    std::function<void(TObject* sender, TCanvas* canvas, TFmHintCorner corner, const String& caption, TRect& rect)>;
using TSetHintWinSizeEvent = std::function<void(TObject* sender, TCanvas* canvas, TFmHintCorner corner,
                                                const String& caption, int& height, int& width)>;

// The four corner bitmaps; a missing one is mirrored from another.
class TFmBalloonBitmaps : public TPersistent {
 public:
  TFmBalloonBitmaps();
  ~TFmBalloonBitmaps() override;
  const char* ClassName() const override { return "TFmBalloonBitmaps"; }

  TBitmap* Bitmap(TFmHintCorner corner) const { return bitmaps_[corner].get(); }
  // Copies the bitmap (nothing when it is the one held).
  virtual void SetBitmap(TFmHintCorner corner, TBitmap* bitmap);
  std::array<bool, 4> Present() const;
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor color) { transparentColor_ = color; }

  TNotifyEvent OnChange;

 private:
  std::array<std::unique_ptr<TBitmap>, 4> bitmaps_;
  TColor transparentColor_ = clOlive;
};

class TFmBalloonHints : public TComponent {
 public:
  explicit TFmBalloonHints(TComponent* owner);
  ~TFmBalloonHints() override;
  const char* ClassName() const override { return "TFmBalloonHints"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TFmBalloonBitmaps* Bitmaps() { return &bitmaps_; }
  int CaptionWidth() const { return captionWidth_; }
  void SetCaptionWidth(int v);
  // Controls smaller than this in both directions get the tail at their
  // centre; larger ones at the mouse.
  int CenterThreshold() const { return centerThreshold_; }
  void SetCenterThreshold(int v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v);
  TFmHintCorner Corner() const { return corner_; }
  void SetCorner(TFmHintCorner v);
  TFont* Font() { return &font_; }
  void SetFont(TFont* font) { font_.Assign(font); }
  int HintPause() const { return Application->HintPause(); }
  void SetHintPause(int ms) { Application->SetHintPause(ms); }
  int HintShortPause() const { return Application->HintShortPause(); }
  void SetHintShortPause(int ms) { Application->SetHintShortPause(ms); }
  bool ShowBalloon() const { return showBalloon_; }
  void SetShowBalloon(bool v);
  void SetOnSetHintWinSize(TSetHintWinSizeEvent e);
  void SetOnSetHintRect(TSetHintRectEvent e);
  const TSetHintWinSizeEvent& OnSetHintWinSize() const { return onSetHintWinSize_; }
  const TSetHintRectEvent& OnSetHintRect() const { return onSetHintRect_; }
  TShowHintEvent OnShowHint;

  TFmCustomHintWindow* HintWindow() const { return window_; }
  void SetHintWindow(TFmCustomHintWindow* window) { window_ = window; }

 private:
  void CopyToWindow();

  TAlignment alignment_ = taLeftJustify;
  TFmBalloonBitmaps bitmaps_;
  int captionWidth_ = 100;
  int centerThreshold_ = 80;
  TColor color_ = clInfoBk;
  TColor frameColor_ = cl3DDkShadow;
  TFmHintCorner corner_ = hcUpperRight;
  TFont font_;
  bool showBalloon_ = true;
  TSetHintWinSizeEvent onSetHintWinSize_;
  TSetHintRectEvent onSetHintRect_;
  THintWindowClass previousClass_;
  TFmCustomHintWindow* window_ = nullptr;
};

class TFmCustomHintWindow : public THintWindow {
 public:
  explicit TFmCustomHintWindow(TComponent* owner);
  ~TFmCustomHintWindow() override;
  const char* ClassName() const override { return "TFmCustomHintWindow"; }

  int CaptionWidth() const { return captionWidth_; }
  void SetCaptionWidth(int v) { captionWidth_ = v; }
  int CenterThreshold() const { return centerThreshold_; }
  void SetCenterThreshold(int v) { centerThreshold_ = v; }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { frameColor_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  TFmHintCorner Corner() const { return corner_; }
  void SetCorner(TFmHintCorner v) { corner_ = v; }
  bool ShowBalloon() const { return showBalloon_; }
  void SetShowBalloon(bool v) { showBalloon_ = v; }
  // The corner of the balloon shown now, after the flips.
  TFmHintCorner CurrentCorner() const { return currentCorner_; }
  void SetBitmaps(TFmBalloonBitmaps* bitmaps) { bitmaps_ = bitmaps; }
  // Takes the component's settings; its setters then update this window.
  void Link(TFmBalloonHints* hints);
  void Unlink() { linked_ = nullptr, bitmaps_ = nullptr; }

  TSetHintWinSizeEvent OnSetHintWinSize;
  TSetHintRectEvent OnSetHintRect;

  TRect CalcHintRect(int maxWidth, const String& hint, void* data) override;
  void ActivateHint(const TRect& r, const String& hint) override;
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;
  void NCPaint(HDC dc) override;

 private:
  void ShowHintHandler(String& hintStr, bool& canShow, THintInfo& info);
  bool Tailed() const { return showBalloon_ && HasTail(currentCorner_); }
  void PaintBitmap(TCanvas* c);
  TRect TextRect(const TRect& body) const;

  int captionWidth_ = 100;
  int centerThreshold_ = 80;
  TColor frameColor_ = clInfoText;
  TAlignment alignment_ = taLeftJustify;
  TFmHintCorner corner_ = hcUpperRight;
  TFmHintCorner currentCorner_ = hcUpperRight;
  bool showBalloon_ = true;
  TFmBalloonHints* linked_ = nullptr;
  TFmBalloonBitmaps* bitmaps_ = nullptr;
  THintInfo info_;
  bool watchMouse_ = false;
  bool ownsShowHint_ = false;
};
