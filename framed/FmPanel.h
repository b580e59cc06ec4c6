// The framed panel and the group box built on it. The panel draws outer and
// inner frames on chosen sides, an optional grid, a solid or gradient face
// and a word-wrapped caption, can look transparent over its parent, and
// remembers its children's enabled states while it is disabled. The group
// box draws a captioned frame in one of six styles, optionally with a check
// box that enables and disables the children.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "framed/FmCommonController.h"
#include "platform/ui/Docking.h"
#include "platform/ui/StandardControls.h"

enum TFmGridStyle { gsDots, gsDottedLines, gsSolidLines };

// Invalidates each child that draws its parent's background through itself
// (transparent framed labels and panels).
void InvalidateTransparentChildren(TWinControl* container);

class TFmCustomPanel : public TCustomPanel, public IFmFrameControllerClient {
 public:
  explicit TFmCustomPanel(TComponent* owner);
  ~TFmCustomPanel() override;
  const char* ClassName() const override { return "TFmCustomPanel"; }

  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  void SetAlignmentVertical(TAlignmentVertical v) { SetAndInvalidate(alignmentVertical_, v); }
  TFrameStyleEx BorderInner() const { return borderInner_; }
  void SetBorderInner(TFrameStyleEx v) { SetAndRealign(borderInner_, v); }
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(TFrameStyleEx v) { SetAndRealign(borderOuter_, v); }
  TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(TSides v) { SetAndRealign(borderSides_, v); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { SetAndInvalidate(borderColor_, v); }
  TColor BorderHighlight() const { return borderHighlight_; }
  void SetBorderHighlight(TColor v) { SetAndInvalidate(borderHighlight_, v); }
  TColor BorderShadow() const { return borderShadow_; }
  void SetBorderShadow(TColor v) { SetAndInvalidate(borderShadow_, v); }
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor v) { SetAndInvalidate(flatColor_, v); }
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int v) { SetAndInvalidate(flatColorAdjustment_, v); }
  TFmGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  void SetGradientColorStyle(TFmGradientColorStyle v) { SetAndInvalidate(gradientColorStyle_, v); }
  TColor GradientColorStart() const { return gradientColorStart_; }
  void SetGradientColorStart(TColor v) { SetGradient(gradientColorStart_, v); }
  TColor GradientColorStop() const { return gradientColorStop_; }
  void SetGradientColorStop(TColor v) { SetGradient(gradientColorStop_, v); }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection v) { SetGradient(gradientDirection_, v); }
  TColor GridColor() const { return gridColor_; }
  void SetGridColor(TColor v) { SetAndInvalidate(gridColor_, v); }
  TFmGridStyle GridStyle() const { return gridStyle_; }
  void SetGridStyle(TFmGridStyle v) { SetAndInvalidate(gridStyle_, v); }
  int GridXSize() const { return gridXSize_; }
  void SetGridXSize(int v) { SetAndInvalidate(gridXSize_, v); }
  int GridYSize() const { return gridYSize_; }
  void SetGridYSize(int v) { SetAndInvalidate(gridYSize_, v); }
  bool PaintClientArea() const { return paintClientArea_; }
  void SetPaintClientArea(bool v) { SetAndInvalidate(paintClientArea_, v); }
  bool ShowGrid() const { return showGrid_; }
  void SetShowGrid(bool v) { SetAndInvalidate(showGrid_, v); }
  int TextMargin() const { return textMargin_; }
  void SetTextMargin(int v) { SetAndInvalidate(textMargin_, v); }
  int TextMarginVertical() const { return textMarginVertical_; }
  void SetTextMarginVertical(int v) { SetAndInvalidate(textMarginVertical_, v); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TFmVisualStyle VisualStyle() const { return visualStyle_; }
  void SetVisualStyle(TFmVisualStyle v) { SetAndInvalidate(visualStyle_, v); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { SetAndInvalidate(wordWrap_, v); }
  // Docked clients' grabbers carry their captions (else the plain grabber).
  bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool v) { SetAndInvalidate(showDockClientCaptions_, v); }

  TFmFrameController* FrameController() const { return controller_.Get(); }
  void SetFrameController(TFmFrameController* controller) { controller_.Set(controller); }
  TFmFrameControllerNotifications FrameControllerNotifications() const override { return notifications_; }
  void SetFrameControllerNotifications(TFmFrameControllerNotifications v) { notifications_ = v; }
  void UpdateFrameFromController() override;

  // Disabling records each child's state and disables it; enabling gives
  // each child the state it had (enabled when it was not recorded).
  virtual void EnableChildren(bool enable);
  virtual void GetGradientColors(TColor& start, TColor& stop);
  virtual void GetFlatColors(TColor& color, int& adjustment);

  TRect ClientRect() override;
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void Dispatch(TMessage& message) override;

 protected:
  // The window's text is read once while the window stays and keeps it: a
  // read is two messages through the thread's message hooks, and a box
  // reads its caption at every paint.
  String ReadText() override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  // A dock site's docked clients sit inside the frames.
  void AdjustClientRect(TRect& r) override;
  // The panel's own dock manager; the panel paints double-buffered with it.
  std::unique_ptr<IDockManager> CreateDockManager() override;
  // The frames' thickness on BorderSides (and BorderWidth all round).
  virtual void ShrinkRectByFrame(TRect& r, bool includeBorderWidth);
  virtual void DrawCaption(TRect r);
  virtual void DrawGrid(const TRect& r);
  // The frame colour of the rounded and flat styles.
  TColor ShiftedFlatColor();

 private:
  friend class TFmPanelDockManager;
  template <typename T>
  void SetAndInvalidate(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <typename T>
  void SetAndRealign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Realign();
    Invalidate();
  }
  template <typename T>
  void SetGradient(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
    InvalidateTransparentChildren(this);
  }
  void InvalidateUncoveredStrips(const WINDOWPOS& pos);

  TAlignmentVertical alignmentVertical_ = avCenter;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsRaised;
  TSides borderSides_ = sdAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TFmGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor gradientColorStart_ = clWhite;
  TColor gradientColorStop_ = clBtnFace;
  TGradientDirection gradientDirection_ = gdHorizontalEnd;
  TColor gridColor_ = clBtnShadow;
  TFmGridStyle gridStyle_ = gsDots;
  int gridXSize_ = 8;
  int gridYSize_ = 8;
  bool paintClientArea_ = true;
  bool showGrid_ = false;
  int textMargin_ = 0;
  int textMarginVertical_ = 0;
  bool transparent_ = false;
  TFmVisualStyle visualStyle_ = vsWinXP;
  bool wordWrap_ = true;
  bool showDockClientCaptions_ = true;
  TFmFrameControllerNotifications notifications_ = fcnAll;
  TFmFrameControllerLink controller_{this};
  // Each child's enabled state when the panel was disabled.
  std::vector<std::pair<TControl*, bool>> childStates_;
  std::optional<String> windowText_;
};

// The panel's dock manager: grabbers 14 pixels wide with the client's
// caption and a close glyph, on the left of the zones of a panel aligned to
// its parent's top or bottom and on top of them otherwise.
class TFmPanelDockManager : public TDockTree {
 public:
  static constexpr int kGrabberSize = 14;
  explicit TFmPanelDockManager(TFmCustomPanel* panel);

 protected:
  void AdjustDockRect(TControl* control, TRect& rect) override;
  void PaintDockFrame(TCanvas* canvas, TControl* control, const TRect& rect) override;
  TRect DockArea() override;
  void SiteMessage(TMessage& message) override;

 private:
  bool GrabberOnLeft() const;

  TFmCustomPanel* panel_;
  TFont captionFont_;
  TFont closeFont_;
};

class TFmPanel : public TFmCustomPanel {
 public:
  explicit TFmPanel(TComponent* owner) : TFmCustomPanel(owner) {}
  const char* ClassName() const override { return "TFmPanel"; }
};

enum TFmGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline };

class TFmCustomGroupBox : public TFmCustomPanel {
 public:
  explicit TFmCustomGroupBox(TComponent* owner);
  const char* ClassName() const override { return "TFmCustomGroupBox"; }

  TFmGroupBoxStyle GroupStyle() const { return groupStyle_; }
  void SetGroupStyle(TFmGroupBoxStyle v);
  // 0: the caption's height and 6 pixels.
  int BannerHeight() const { return bannerHeight_; }
  void SetBannerHeight(int v);
  // Follows Font until it is changed on its own.
  TFont* CaptionFont() { return &captionFont_; }
  void SetCaptionFont(TFont* font);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool EnableControlsOnCheck() const { return enableControlsOnCheck_; }
  void SetEnableControlsOnCheck(bool v);
  bool ShowCheckBox() const { return showCheckBox_; }
  void SetShowCheckBox(bool v);
  virtual void ToggleCheckBox() { SetChecked(!checked_); }
  void UpdateFrameFromController() override;

  TNotifyEvent OnCheckBoxClick;

  void Dispatch(TMessage& message) override;

 protected:
  void AdjustClientRect(TRect& r) override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  virtual void CheckBoxClick();

 private:
  bool Themed();
  TRect CaptionRect(bool themed);
  TRect CheckBoxRect() const;
  void PaintCheckBox(TCanvas* c, bool themed);
  void PaintFrame(TCanvas* c, const TRect& b, TColor fc);

  TFmGroupBoxStyle groupStyle_ = gsFlat;
  int bannerHeight_ = 0;
  TFont captionFont_;
  bool captionFontOwn_ = false;
  bool followingFont_ = false;
  bool checked_ = true;
  bool enableControlsOnCheck_ = true;
  bool showCheckBox_ = false;
  TRect captionRect_;
  bool mouseOverCaption_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
  bool pressedByKey_ = false;
};

class TFmGroupBox : public TFmCustomGroupBox {
 public:
  explicit TFmGroupBox(TComponent* owner) : TFmCustomGroupBox(owner) {}
  const char* ClassName() const override { return "TFmGroupBox"; }
};

