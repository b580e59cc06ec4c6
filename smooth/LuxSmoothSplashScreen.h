// The splash screen component: a borderless start-up window over the
// screen's centre, shown while the host form is still being built. It draws
// a background fill with its picture, the program name, version and
// copyright, positioned items, a scrolling list of mini-HTML lines, top-layer
// panels and a progress bar, all through GDI+.
//
// When the fill is not opaque the window is layered: every change of a list
// line or of the progress renders the whole window into an ARGB buffer and
// pushes it at once, so the splash advances while its host blocks the
// message loop. Otherwise the window paints itself and fades with the
// window's constant alpha.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Forms.h"
// After the windowed layer, which brings the system headers.
#include <commctrl.h>
#include "platform/ui/Timers.h"
#include "smooth/GDIPFill.h"
#include "smooth/GDIPPictureContainer.h"

class TLuxSmoothSplashScreen;

enum TItemLocation { ilTopLeft, ilTopCenter, ilTopRight, ilBottomLeft, ilBottomCenter, ilBottomRight, ilCustom };
enum TLuxSmoothSplashScreenLocation {
  cpTopLeft, cpTopCenter, cpTopRight, cpCenterLeft, cpCenterCenter, cpCenterRight, cpBottomLeft, cpBottomCenter,
  cpBottomRight, cpCustom
};
enum TDisplayStyle { dsNormal, dsFadeInOut };
enum TDisplayLocation { dlFixedPos, dlCenter };
// Scoped: the smooth label has a hint enumeration of the same names.
enum class TLuxSmoothSplashScreenTextRenderingHint { tAntiAlias, tAntiAliasGridFit, tClearType };
enum TGDIPProgressValueType { vtPercentage, vtAbsolute };
enum TGDIPProgressValuePosition { vpProgressCenter, vpProgressRight, vpCenter, vpLeft, vpRight, vpCustom };

using TLuxSmoothProgressBarPositionChanged = std::function<void(TObject* sender, double position)>;

// --- Content --------------------------------------------------------------------------------
// Plain fields only store: a write shows at the next repaint.

// A positioned text drawn with a solid, gradient, hatch or texture brush.
class TSplashHeadingText {
 public:
  TSplashHeadingText();
  void Assign(const TSplashHeadingText& source);
  const String& Text() const { return text_; }
  // A different text is stored and fires OnChange.
  void SetText(const String& text);
  TFont* Font() { return &font_; }
  TLuxGDIPPicture* Picture() { return &picture_; }
  TItemLocation Location = ilTopLeft;
  int PosX = 10;
  int PosY = 100;
  TColor ColorStart = clBlack;
  TColor ColorEnd = clNone;  // none: a solid brush
  uint8_t OpacityStart = 255;
  uint8_t OpacityEnd = 255;
  TLuxGradientType GradientType = gtVertical;
  int HatchStyle = 0;
  int Angle = 0;
  TNotifyEvent OnChange;

 private:
  String text_;
  TFont font_;
  TLuxGDIPPicture picture_;
};

class TBasicProgramInfo {
 public:
  TBasicProgramInfo();
  void Assign(const TBasicProgramInfo& source);
  // Fill the texts from the executable's version resource when loaded.
  bool AutoLoad = true;
  TSplashHeadingText ProgramName;
  TSplashHeadingText ProgramVersion;
  String CopyRight;
  TFont* CopyRightFont() { return &copyRightFont_; }
  TItemLocation CopyRightLocation = ilTopLeft;
  int CopyRightPosX = 10;
  int CopyRightPosY = 130;
  // Fired when the name's or the version's text changes.
  TNotifyEvent OnChange;

 private:
  TFont copyRightFont_;
};

class TSplashItem {
 public:
  TSplashItem();
  void Assign(const TSplashItem& source);
  String Text;
  TFont* Font() { return &font_; }
  TLuxGDIPPicture* Picture() { return &picture_; }
  int ImageIndex = -1;
  int PosX = 80;
  int PosY = 130;
  int Tag = 0;

 private:
  TFont font_;
  TLuxGDIPPicture picture_;
};

// A collection that calls its owner back when it is emptied as a whole (and
// for the list, when a line ends its update).
template <typename TItem>
class TSplashCollection {
 public:
  explicit TSplashCollection(std::function<void()> changed) : changed_(std::move(changed)) {}
  TItem* Add() {
    items_.push_back(std::make_unique<TItem>(this));
    return items_.back().get();
  }
  void Clear() {
    items_.clear();
    changed_();
  }
  int Count() const { return int(items_.size()); }
  TItem* Items(int index) const { return items_.at(size_t(index)).get(); }
  void Changed() { changed_(); }

 private:
  std::function<void()> changed_;
  std::vector<std::unique_ptr<TItem>> items_;
};

class TSplashListItem {
 public:
  explicit TSplashListItem(TSplashCollection<TSplashListItem>* list) : list_(list) {}
  const String& HTMLText() const { return htmlText_; }
  // Stores the text without repainting; the line shows at its EndUpdate.
  void SetHTMLText(const String& text) { htmlText_ = text; }
  void BeginUpdate() { ++updateCount_; }
  // At the outermost end (or when no update runs) the splash repaints.
  void EndUpdate();
  int Tag = 0;
  // Where the list layer placed the line; -1 when it scrolled out.
  TRect LayoutRect{-1, -1, -1, -1};

 private:
  TSplashCollection<TSplashListItem>* list_;
  String htmlText_;
  int updateCount_ = 0;
};

class TSplashItemHolder : public TSplashItem {
 public:
  explicit TSplashItemHolder(TSplashCollection<TSplashItemHolder>*) {}
};

using TSplashItems = TSplashCollection<TSplashItemHolder>;
using TSplashListItems = TSplashCollection<TSplashListItem>;

struct TListItemsRect {
  int Left = 30;
  int Top = 150;
  int Width = 300;
  int Height = 200;
};

class TSplashListItemsSettings {
 public:
  TSplashListItemsSettings();
  void Assign(const TSplashListItemsSettings& source);
  TListItemsRect Rect;
  int Space = 8;  // pixels between lines
  TFont* HTMLFont() { return &htmlFont_; }
  TColor HTMLURLColor = 0xFF0000;
  TColor HTMLShadowColor = 0x808080;
  int HTMLShadowOffset = 5;

 private:
  TFont htmlFont_;
};

// The text of a top-layer panel; every write invalidates the splash.
class TLuxSplashHTMLText {
 public:
  explicit TLuxSplashHTMLText(std::function<void()> changed);
  void Assign(const TLuxSplashHTMLText& source);
  const String& Text() const { return text_; }
  void SetText(const String& text);
  TFont* Font() { return &font_; }
  TLuxSmoothSplashScreenLocation Location() const { return location_; }
  void SetLocation(TLuxSmoothSplashScreenLocation value);
  int Left() const { return left_; }
  void SetLeft(int value);
  int Top() const { return top_; }
  void SetTop(int value);
  TColor URLColor() const { return urlColor_; }
  void SetURLColor(TColor value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value);
  int ShadowOffset() const { return shadowOffset_; }
  void SetShadowOffset(int value);

 private:
  std::function<void()> changed_;
  String text_;
  TFont font_;
  TLuxSmoothSplashScreenLocation location_ = cpTopLeft;
  int left_ = 0, top_ = 0;
  TColor urlColor_ = 0xFF0000, shadowColor_ = 0x808080;
  int shadowOffset_ = 5;
};

// A filled panel with HTML text, drawn over the content.
class TLuxSplashTopLayerItem {
 public:
  explicit TLuxSplashTopLayerItem(TSplashCollection<TLuxSplashTopLayerItem>* items);
  ~TLuxSplashTopLayerItem();
  void Assign(const TLuxSplashTopLayerItem& source);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  int Left() const { return left_; }
  void SetLeft(int value);
  int Top() const { return top_; }
  void SetTop(int value);
  int Width() const { return width_; }
  void SetWidth(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TGDIPFill* Fill() { return &fill_; }
  TLuxSplashHTMLText* HTMLText() { return &htmlText_; }

 private:
  void Changed() { items_->Changed(); }
  TSplashCollection<TLuxSplashTopLayerItem>* items_;
  bool visible_ = true;
  TAlign align_ = alCustom;
  int left_ = 0, top_ = 0, width_ = 100, height_ = 100;
  TGDIPFill fill_;
  TLuxSplashHTMLText htmlText_;
};

using TLuxSplashTopLayerItems = TSplashCollection<TLuxSplashTopLayerItem>;

// --- The progress bar ---------------------------------------------------------------------

// What the bar looks like, where it sits on the splash, and its value.
class TGDIPSplashProgress {
 public:
  TGDIPSplashProgress();
  void Assign(const TGDIPSplashProgress& source);

  TGDIPFill* BackGroundFill() { return &backGroundFill_; }
  TGDIPFill* ProgressFill() { return &progressFill_; }
  TFont* Font() { return &font_; }
  TFont* ProgressFont() { return &progressFont_; }
  const String& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const String& value);
  TGDIPProgressValueType ValueType() const { return valueType_; }
  void SetValueType(TGDIPProgressValueType value);
  TGDIPProgressValuePosition ValuePosition() const { return valuePosition_; }
  void SetValuePosition(TGDIPProgressValuePosition value);
  int ValuePositionLeft() const { return valuePositionLeft_; }
  void SetValuePositionLeft(int value);
  int ValuePositionTop() const { return valuePositionTop_; }
  void SetValuePositionTop(int value);
  bool ValueVisible() const { return valueVisible_; }
  void SetValueVisible(bool value);
  bool Shadows() const { return shadows_; }
  void SetShadows(bool value);
  bool Overlays() const { return overlays_; }
  void SetOverlays(bool value);
  bool Visible() const { return visible_; }
  // Stores and notifies even when unchanged.
  void SetVisible(bool value);
  int Left() const { return left_; }
  void SetLeft(int value);
  int Top() const { return top_; }
  void SetTop(int value);
  int Width() const { return width_; }
  void SetWidth(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);
  double Step() const { return step_; }
  void SetStep(double value);
  double Position() const { return position_; }
  // Not clamped: the drawing caps the fill.
  void SetPosition(double value);
  bool GlowAnimation() const { return glowAnimation_; }
  bool ProgressAnimation() const { return progressAnimation_; }
  TNotifyEvent OnChange;

  // The bar in rect (integer edges) for position in [minimum, maximum].
  void Draw(TGPGraphics& graphics, const TRect& rect, double minimum, double maximum, double position);
  TGPRectF InnerRect(const TRect& rect) const;
  TGPRectF ProgressRect(const TGPRectF& inner, double minimum, double maximum, double position) const;
  // The value text: ValueFormat applied to value when it holds exactly one
  // floating-point conversion, else ValueFormat as it stands.
  String ValueText(double value) const;

 private:
  void Changed();
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void DrawShadows(TGPGraphics& graphics, const TGPRectF& r);
  void DrawOverlays(TGPGraphics& graphics, const TGPRectF& r);
  void DrawValue(TGPGraphics& graphics, const TRect& rect, const TGPRectF& inner, const TGPRectF& progress,
                 double minimum, double maximum, double position);

  TGDIPFill backGroundFill_, progressFill_;
  TFont font_, progressFont_;
  String valueFormat_ = "%.0f%%";
  TGDIPProgressValueType valueType_ = vtAbsolute;
  TGDIPProgressValuePosition valuePosition_ = vpCenter;
  int valuePositionLeft_ = 0, valuePositionTop_ = 0;
  bool valueVisible_ = false, shadows_ = true, overlays_ = true, visible_ = false;
  int left_ = 50, top_ = 100, width_ = 300, height_ = 17;
  double minimum_ = 0, maximum_ = 100, step_ = 10, position_ = 0;
  bool glowAnimation_ = false, progressAnimation_ = false;
};

// The bar as a control: it keeps its own range and position and paints its
// appearance; the splash window holds one.
class TLuxSplashProgressBar : public TGraphicControl {
 public:
  explicit TLuxSplashProgressBar(TComponent* owner);
  const char* ClassName() const override { return "TLuxSplashProgressBar"; }

  TGDIPSplashProgress* Appearance() { return &appearance_; }
  void SetAppearance(const TGDIPSplashProgress* value);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);
  double Step() const { return step_; }
  void SetStep(double value);
  double Position() const { return position_; }
  // Clamped to [Minimum, Maximum].
  void SetPosition(double value);
  bool GlowAnimation() const { return glowAnimation_; }
  void SetGlowAnimation(bool value);
  bool ProgressAnimation() const { return progressAnimation_; }
  void SetProgressAnimation(bool value);
  String Version() const { return "1.4.0.1"; }
  TNotifyEvent OnChange;
  TLuxSmoothProgressBarPositionChanged OnPositionChanged;

  // One tick of the 10 ms animation timer.
  void AnimationTick();

 protected:
  void Paint() override;

 private:
  void ApplyAppearance();
  void DrawGlow(TGPGraphics& graphics);

  TGDIPSplashProgress appearance_;
  double minimum_ = 0, maximum_ = 100, step_ = 10, position_ = 0;
  bool glowAnimation_ = false, progressAnimation_ = false;
  double target_ = 0, current_ = 0;
  double glowX_ = -40;
  int glowCounter_ = 3000;
  TTimer* timer_;
};

// --- The window -----------------------------------------------------------------------------

class TSplashScreenWindow : public TForm {
 public:
  TSplashScreenWindow(TComponent* owner, TLuxSmoothSplashScreen* splash);
  ~TSplashScreenWindow() override;
  const char* ClassName() const override { return "TSplashScreenWindow"; }

  bool Layered() const { return layered_; }
  void SetLayered(bool value);
  uint8_t LayeredAlpha() const { return layeredAlpha_; }
  void SetLayeredAlpha(uint8_t value) { layeredAlpha_ = value; }
  TLuxSplashProgressBar* Progress() const { return progress_; }

  // Re-renders (layered) or repaints the whole window.
  void RefreshContent();
  void UpdateLayered();
  void PushLayered();
  void FadeIn(int step, int delayMs, int target);
  void FadeOut(int step, int delayMs, int target);
  void ApplyWindowRegion();
  // The alpha-blend mode's constant alpha.
  uint8_t BlendValue() const { return blendValue_; }
  void SetBlendValue(uint8_t value);

  TRect ContentRect() const;
  int ShadowExtent() const;
  TRect TextRect() const;

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  friend class TLuxSmoothSplashScreen;
  // The layers in their order; graphics draws on the buffer or the canvas.
  void PaintLayers(TGPGraphics& graphics, bool withProgress);
  void PaintFill(TGPGraphics& graphics);
  void PaintProgramInfo(TGPGraphics& graphics);
  void PaintListItems(TGPGraphics& graphics);
  void PaintTopLayerItems(TGPGraphics& graphics);
  void PaintItems(TGPGraphics& graphics);
  void PaintProgress(TGPGraphics& graphics);
  int MeasureListItem(TGPGraphics& graphics, const String& html);

  TLuxSmoothSplashScreen* splash_;
  TLuxSplashProgressBar* progress_ = nullptr;
  bool layered_ = false;
  std::unique_ptr<TGPBitmap> buffer_;
  uint8_t layeredAlpha_ = 5;
  uint8_t blendValue_ = 255;
};

// --- The component ----------------------------------------------------------------------------

class TLuxSmoothSplashScreen : public TComponent {
 public:
  explicit TLuxSmoothSplashScreen(TComponent* owner);
  ~TLuxSmoothSplashScreen() override;
  const char* ClassName() const override { return "TLuxSmoothSplashScreen"; }

  bool AutoShow = true;
  bool AutoAdaptPictureSize = true;
  bool CloseOnMainFormShow = true;
  bool CloseOnTimeout = false;
  int TimeOut = 1000;
  int PictureGap = 5;
  TDisplayStyle DisplayStyle = dsFadeInOut;
  TDisplayLocation DisplayLocation = dlCenter;
  int DisplayPosX = 0, DisplayPosY = 0;
  int Width = 600, Height = 400;
  uint8_t MaxOpacity = 255;
  // The image list of items and of "IDX:" images.
  HIMAGELIST Images = nullptr;

  TBasicProgramInfo* BasicProgramInfo() { return &programInfo_; }
  void SetBasicProgramInfo(const TBasicProgramInfo* value) { programInfo_.Assign(*value); }
  TGDIPFill* Fill() { return &fill_; }
  TGDIPSplashProgress* ProgressBar() { return &progress_; }
  void SetProgressBar(const TGDIPSplashProgress* value) { progress_.Assign(*value); }
  TSplashItems* Items() { return &items_; }
  TSplashListItems* ListItems() { return &listItems_; }
  TSplashListItemsSettings* ListItemsSettings() { return &listSettings_; }
  TLuxSplashTopLayerItems* TopLayerItems() { return &topLayerItems_; }
  TGDIPPictureContainer* PictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(TGDIPPictureContainer* container);
  TLuxSmoothSplashScreenTextRenderingHint TextRendering() const { return textRendering_; }
  void SetTextRendering(TLuxSmoothSplashScreenTextRenderingHint value);
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool value);
  String Version() const { return "1.4.0.1"; }
  void SetVersion(const String&) {}

  TNotifyEvent OnBeforeShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnClick;
  TNotifyEvent OnProgressChange;
  TLuxSmoothProgressBarPositionChanged OnProgressPositionChanged;
  // A close asked of the window (Alt+F4, the task list) goes here; the
  // window itself stays until the splash closes.
  TNotifyEvent OnCloseRequest;
  // Test hook: each push of the layered buffer, with its constant alpha.
  std::function<void(TGPBitmap& buffer, uint8_t alpha)> OnPushLayered;

  // Fills the program texts from the version resource, then shows the
  // splash (AutoShow).
  void Loaded() override;
  void LoadVersionInfo();
  // Does nothing while showing.
  void Show();
  // Does nothing unless showing.
  void Close();
  bool Showing() const { return showing_; }
  TSplashScreenWindow* Window() const { return window_; }
  HWND Handle() const;

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  void RefreshWindow();
  void InvalidateWindow();
  void SyncProgressBar();

  // 20 ms from now, activates control's form and focuses the control.
  void ActivateFormLater(TWinControl* control);
  // The ticks of the time-out and of the activation.
  void TimeOutElapsed() { Close(); }
  void ActivationTimerElapsed();

  // Colour tones: background and border of the fill.
  void SetColorTones(TColor background, TColor border);
  // The style presets 0 to 19.
  void SetComponentStyle(int style);

  void DrawSplashText(TGPGraphics& graphics, const String& text, int x, int y, TFont* font, bool measureOnly,
                      int& width, int& height, TLuxGradientType gradientType = gtSolid, TColor colorStart = clBlack,
                      TColor colorEnd = clNone, uint8_t opacityStart = 255, uint8_t opacityEnd = 255,
                      int hatchStyle = 0, int angle = 0, TLuxGDIPPicture* picture = nullptr);
  int RenderingHint() const;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TSplashScreenWindow;
  void CreateSplashWindow();
  void FreeSplashWindow();
  void MainFormShowHook(TObject* sender);

  bool showing_ = false;
  TSplashScreenWindow* window_ = nullptr;
  TCustomForm* hostForm_ = nullptr;
  bool hooked_ = false;
  TNotifyEvent savedOnShow_;
  int updateCount_ = 0;
  TTimer* timeOutTimer_;
  TTimer* activationTimer_ = nullptr;
  TWinControl* activationTarget_ = nullptr;
  TLuxSmoothSplashScreenTextRenderingHint textRendering_ = TLuxSmoothSplashScreenTextRenderingHint::tClearType;
  bool stayOnTop_ = true;
  TGDIPPictureContainer* pictureContainer_ = nullptr;

  TGDIPFill fill_;
  TGDIPSplashProgress progress_;
  TSplashItems items_{[this] { RefreshWindow(); }};
  TSplashListItems listItems_{[this] { RefreshWindow(); }};
  TSplashListItemsSettings listSettings_;
  TBasicProgramInfo programInfo_;
  TLuxSplashTopLayerItems topLayerItems_{[this] { InvalidateWindow(); }};
};
