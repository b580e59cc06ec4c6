// The framed label: the platform label with framed borders, raised,
// recessed and shadowed text, rotated and arc text, blinking through one
// timer shared by all labels, a colour while the mouse is over it, and
// captions condensed with ellipses. The URL label opens its URL (or its
// caption) with the shell when clicked.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framed/FmCommonController.h"
#include "platform/ui/StandardControls.h"
#include "platform/ui/Timers.h"

// Asked of every control in the blink list: answer 1 when blinking.
constexpr UINT CM_BLINKQUERY = 0xB3E8;
// WParam 1: show the blink colour; 0: show the font colour.
constexpr UINT CM_BLINKPHASE = 0xB3E9;

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
  cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter,
  cpLowerRight
};

// The one timer that drives every blinking label: it exists while any
// label does, and toggles the phase of the blinking ones.
class TFmBlinkingControlsList {
 public:
  // The list, or nullptr while no label exists.
  static TFmBlinkingControlsList* Instance();
  virtual int Count() const { return int(controls_.size()); }

  unsigned IntervalOff() const { return intervalOff_; }
  void SetIntervalOff(unsigned ms) { intervalOff_ = ms; }
  unsigned IntervalOn() const { return intervalOn_; }
  void SetIntervalOn(unsigned ms) { intervalOn_ = ms; }
  const TTimer* Timer() const { return timer_.get(); }
  // True while the blink colour shows.
  bool Phase() const { return phase_; }
  // What the timer does on each tick (tests fire it directly).
  void Tick();

 private:
  friend class TFmLabel;
  TFmBlinkingControlsList();
  virtual ~TFmBlinkingControlsList();
  static void Add(TControl* control);
  static void Remove(TControl* control);

  bool phase_ = true;
  unsigned intervalOff_ = 500, intervalOn_ = 500;
  std::unique_ptr<TTimer> timer_;
  std::vector<TControl*> controls_;
};

class TFmLabel : public TLabel, public IFmFrameControllerClient {
 public:
  explicit TFmLabel(TComponent* owner);
  ~TFmLabel() override;
  const char* ClassName() const override { return "TFmLabel"; }

  void UpdateFrameFromController() override;
  TFmFrameControllerNotifications FrameControllerNotifications() const override { return notifications_; }
  void SetFrameControllerNotifications(TFmFrameControllerNotifications v) { notifications_ = v; }
  TFmFrameController* FrameController() const { return controller_.Get(); }
  virtual void SetFrameController(TFmFrameController* controller) { controller_.Set(controller); }

  // The label's own auto-size: its bounds take the caption and the frames.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  void SetWordWrap(bool v);
  void SetShowAccelChar(bool v);

  // Degrees, stored 0..359.
  int Angle() const { return angle_; }
  virtual void SetAngle(int v);
  bool Blinking() const { return blinking_; }
  virtual void SetBlinking(bool v);
  TColor BlinkColor() const { return blinkColor_; }
  virtual void SetBlinkColor(TColor v) { SetAndInvalidate(blinkColor_, v); }
  // The shared blink list's intervals.
  unsigned BlinkIntervalOff() const;
  virtual void SetBlinkIntervalOff(unsigned ms);
  unsigned BlinkIntervalOn() const;
  virtual void SetBlinkIntervalOn(unsigned ms);
  int BevelWidth() const { return bevelWidth_; }
  virtual void SetBevelWidth(int v) { SetAndAdjust(bevelWidth_, v); }
  TColor BorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor v) { SetAndInvalidate(borderColor_, v); }
  TFrameStyleEx BorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx v) { SetAndAdjust(borderInner_, v); }
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx v) { SetAndAdjust(borderOuter_, v); }
  TSides BorderSides() const { return borderSides_; }
  virtual void SetBorderSides(TSides v) { SetAndAdjust(borderSides_, v); }
  TColor BorderHighlight() const { return borderHighlight_; }
  virtual void SetBorderHighlight(TColor v) { SetAndInvalidate(borderHighlight_, v); }
  TColor BorderShadow() const { return borderShadow_; }
  virtual void SetBorderShadow(TColor v) { SetAndInvalidate(borderShadow_, v); }
  int BorderWidth() const { return borderWidth_; }
  virtual void SetBorderWidth(int v) { SetAndAdjust(borderWidth_, v); }
  TFmCondenseCaption CondenseCaption() const { return condenseCaption_; }
  // Any ellipsis mode switches AutoSize off.
  virtual void SetCondenseCaption(TFmCondenseCaption v);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor v) { SetAndInvalidate(flatColor_, v); }
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int v) { SetAndInvalidate(flatColorAdjustment_, v); }
  TCenterPoint CenterPoint() const { return centerPoint_; }
  virtual void SetCenterPoint(TCenterPoint v) { SetAndInvalidate(centerPoint_, v); }
  TColor FlyByColor() const { return flyByColor_; }
  virtual void SetFlyByColor(TColor v) { SetAndInvalidate(flyByColor_, v); }
  bool FlyByEnabled() const { return flyByEnabled_; }
  virtual void SetFlyByEnabled(bool v);
  bool LightTextStyle() const { return lightTextStyle_; }
  virtual void SetLightTextStyle(bool v) { SetAndInvalidate(lightTextStyle_, v); }
  TRotation Rotation() const { return rotation_; }
  virtual void SetRotation(TRotation v);
  TColor HighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor v) { SetAndInvalidate(highlightColor_, v); }
  TColor ShadowColor() const { return shadowColor_; }
  virtual void SetShadowColor(TColor v) { SetAndInvalidate(shadowColor_, v); }
  int ShadowDepth() const { return shadowDepth_; }
  virtual void SetShadowDepth(int v) { SetAndInvalidate(shadowDepth_, v); }
  int TextMargin() const { return textMargin_; }
  virtual void SetTextMargin(int v) { SetAndInvalidate(textMargin_, v); }
  TTextStyle TextStyle() const { return textStyle_; }
  virtual void SetTextStyle(TTextStyle v) { SetAndInvalidate(textStyle_, v); }
  // The colour the text is drawn in now: the font's or the blink colour.
  TColor CurrentColor() const { return currentColor_; }

  // Takes the size of the caption, the frames and the margins (AutoSize).
  virtual void AdjustBounds();
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void ApplyBlinkPhase(bool showBlinkColor);
  // Adds the frames and margins to r's size.
  virtual void GrowRectByFrame(TRect& r);
  virtual void ShrinkRectByFrame(TRect& r, bool includeBorderWidth);

 private:
  template <typename T>
  void SetAndInvalidate(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <typename T>
  void SetAndAdjust(T& field, const T& value) {
    if (field == value) return;
    field = value;
    AdjustBounds();
    Invalidate();
  }
  UINT DrawFlags() const;
  void UseVerdanaIfNotTrueType();
  void DrawStyledText(const std::function<void(int dx, int dy, TColor)>& draw);
  void PaintText(TCanvas* c, TRect r);
  void PaintFlatRotatedText(TCanvas* c, const TRect& r);
  void PaintArcText(TCanvas* c);

  bool autoSize_ = true;
  int angle_ = 0;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  int bevelWidth_ = 1;
  TColor borderColor_ = clBtnFace;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsNone;
  TSides borderSides_ = sdAllSides;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  int borderWidth_ = 0;
  TFmCondenseCaption condenseCaption_ = ccNone;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TCenterPoint centerPoint_ = cpCenter;
  TColor flyByColor_ = clHighlight;
  bool flyByEnabled_ = false;
  bool lightTextStyle_ = false;
  TRotation rotation_ = roNone;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  int textMargin_ = 0;
  TTextStyle textStyle_ = tsNormal;

  TColor fontColor_;
  TColor currentColor_;
  TColor savedFontColor_ = clWindowText;
  bool mouseInside_ = false;
  bool initialisingColor_ = false;
  TFmFrameControllerNotifications notifications_ = fcnAll;
  TFmFrameControllerLink controller_{this};
};

// How the URL label reaches the shell; tests replace it so that no browser
// or program starts.
struct TFmShellSeam {
  // Opens a file or URL with its program; false when the shell failed.
  std::function<bool(const String& target)> Open;
  // Starts a command line (the "Open with" fall-back).
  std::function<void(const String& commandLine)> Run;
};
TFmShellSeam& FmShell();

constexpr TCursor crFmHandPoint = 26000;

class TFmURLLabel : public TFmLabel {
 public:
  explicit TFmURLLabel(TComponent* owner);
  const char* ClassName() const override { return "TFmURLLabel"; }

  const String& URL() const { return url_; }
  void SetURL(const String& v) { url_ = v; }
  bool Visited() const { return visited_; }
  virtual void SetVisited(bool v);
  TColor VisitedColor() const { return visitedColor_; }
  virtual void SetVisitedColor(TColor v);
  TColor UnvisitedColor() const { return unvisitedColor_; }
  virtual void SetUnvisitedColor(TColor v);

  void Click() override;

 protected:
  virtual void UpdateURLColor();

 private:
  String url_;
  bool visited_ = false;
  TColor visitedColor_ = clPurple;
  TColor unvisitedColor_ = clHighlight;
};
