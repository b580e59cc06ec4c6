// The container module: the four state styles of a container and the
// style controller they may share, the container's layout record (view
// info) and the window functions the container, its popups and the editors
// share, the drop-down popup window with its inner list box, and the thread
// hooks that close open popups when the user works elsewhere. The portable
// rules (value bits, border widths, popup fitting) are in
// vxContainerLayout.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/vxClasses.h"
#include "foundation/vxContainerLayout.h"
#include "foundation/vxControls.h"
#include "foundation/vxControlsBase.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxLookAndFeels.h"
#include "foundation/vxScrollBar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StandardControls.h"

class TvxContainerStyle;
class TvxContainerStyles;
class TvxStyleController;
class TvxCustomPopupWindow;
class TvxContainer;

// --- Container styles -----------------------------------------------------------------

// What a style needs of the container that owns it (the container answers;
// a style owned by anything else has no container).
class IvxContainerStyleOwner : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{5C0B6E2A-9F41-4D8B-A6E3-2D7B91C4F0A5}");
  virtual bool UsesParentColorByDefault() = 0;
  virtual bool IsEmbeddedEditor() = 0;
  // The control's ParentColor, ParentFont and their setters.
  virtual TControl* StyledControl() = 0;
  virtual bool StoresStyleProperty(const String& name, bool nonNormalState) = 0;
};

// One state's look: up to ten values, each either set here (its bit in
// AssignedValues) or looked up in the style controller's style of the same
// state, its controller's, and so on, and finally a default. The Normal
// style is the root: Edges, Font, HotTrack, Shadow, TransparentBorder, the
// look-and-feel and the controller exist only there.
class TvxContainerStyle : public TvxInterfacedPersistent {
 public:
  TvxContainerStyle(TPersistent* owner, TvxContainerStyleState state, TvxContainerStyle* parentStyle,
                    bool directAccess);
  ~TvxContainerStyle() override;
  TvxContainerStyle(const TvxContainerStyle&) = delete;
  TvxContainerStyle& operator=(const TvxContainerStyle&) = delete;
  const char* ClassName() const override { return "TvxContainerStyle"; }

  // Copies another container style (see CopyFrom); anything else raises the
  // platform's assignment error.
  void Assign(const TPersistent* source) override;
  virtual void CopyFrom(const TvxContainerStyle& source);

  TvxContainerStyleValues GetAssignedValues() const;
  void SetAssignedValues(TvxContainerStyleValues value);
  TColor GetBorderColor();
  void SetBorderColor(TColor value);
  TvxContainerBorderStyle GetBorderStyle();
  void SetBorderStyle(TvxContainerBorderStyle value);
  TColor GetColor();
  void SetColor(TColor value);
  TvxEdges GetEdges();
  void SetEdges(TvxEdges value);
  TFont* GetFont();
  void SetFont(TFont* value);
  bool GetHotTrack();
  void SetHotTrack(bool value);
  bool GetShadow();
  void SetShadow(bool value);
  TColor GetTextColor();
  void SetTextColor(TColor value);
  TFontStyles GetTextStyle();
  void SetTextStyle(TFontStyles value);
  bool GetTransparentBorder();
  void SetTransparentBorder(bool value);
  TvxLookAndFeel* GetLookAndFeel();
  void SetLookAndFeel(TvxLookAndFeel* value);
  // nil when the controller is the default one (never published).
  TvxStyleController* GetStyleController();
  // nil means the fallback controller; a controller whose chain leads back
  // to this style is refused silently.
  void SetStyleController(TvxStyleController* value);
  // The controller actually used, the default one included.
  TvxStyleController* ActiveStyleController();

  // The colour the owning container gives itself.
  virtual TColor ColorForControl();
  // A copy of Font with the text colour and text style of this state.
  TFont* EffectiveFont();
  void SuspendChangeNotify();
  void ResumeChangeNotify();
  bool FindStyleValueByName(const String& name, TvxContainerStyleValue& value);
  virtual int StyleValueCount() { return vxContainerStyleValueCount; }
  virtual bool StyleValueNameOf(TvxContainerStyleValue value, String& name);
  bool PublishesStyleProperty(const String& name);
  // Set here or found in the controller chain (values 0-8).
  virtual bool HasAssignedValue(TvxContainerStyleValue value);
  virtual bool DrawsBorder();
  virtual void ResetToDefaults();
  void LockFontMark(bool lock);

  TvxContainerStyleState State() const { return state_; }
  bool DirectAccess() const { return directAccess_; }
  bool IsRoot() const { return state_ == cssNormal; }
  TvxContainerStyle* RootStyle() { return parentStyle_ ? parentStyle_ : this; }
  // The container that owns the style, nil for a controller's or a popup's.
  IvxContainerStyleOwner* ContainerOwner() const;

  TNotifyEvent OnChanged;

 protected:
  friend class TvxStyleController;

  virtual void MarkChanged();
  virtual void ControllerHasChanged(TvxStyleController* controller);
  virtual void ControllerIsFreed(TvxStyleController* controller);
  virtual TColor BorderColorDefault();
  virtual TvxContainerBorderStyle BorderStyleDefault();
  virtual TColor ColorDefault();
  virtual TvxEdges EdgesDefault() { return 0x0F; }
  virtual bool HotTrackDefault() { return true; }
  virtual bool ShadowDefault() { return false; }
  virtual TColor TextColorDefault();
  virtual TFontStyles TextStyleDefault();
  virtual bool TransparentBorderDefault() { return true; }
  virtual void HandleFontChange(TObject* sender);
  virtual TvxStyleController* FallbackStyleController();
  virtual TvxContainerStyleValues UnpublishedStyleValues() { return vxRootOnlyStyleValues; }

  void FlushPendingChange();
  void RefreshInheritedFont();
  bool IsParentColored() const;

 private:
  // The controller's style of the same state, nil without a controller.
  TvxContainerStyle* ControllerStyle();
  // Set here, or the first style down the controller chain that sets it.
  TvxContainerStyle* FindValueOwner(TvxContainerStyleValue value);
  void StoreValue(TvxContainerStyleValue value);

  TColor borderColor_ = clDefault;
  TvxContainerBorderStyle borderStyle_ = cbsNone;
  TvxEdges edges_ = 0x0F;
  bool hotTrack_ = true;
  bool shadow_ = false;
  bool transparentBorder_ = true;
  bool directAccess_;
  int fontMarkLock_ = 0;
  bool destroying_ = false;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
  bool modified_ = false;
  TvxContainerStyle* parentStyle_ = nullptr;
  TvxContainerStyleState state_;
  TFontStyles textStyle_ = 0;
  int updateCount_ = 0;
  std::unique_ptr<TFont> visibleFont_;
  TvxContainerStyleValues assignedValues_ = 0;
  TvxStyleController* styleController_ = nullptr;
  TColor color_ = clWindow;
  std::unique_ptr<TFont> ownFont_;
  TFont* font_ = nullptr;  // ownFont_, or the caller's font in direct access
  TColor textColor_ = clWindowText;
};

using TvxContainerStyleClass =
    std::function<TvxContainerStyle*(TPersistent* owner, TvxContainerStyleState state, TvxContainerStyle* parent,
                                     bool directAccess)>;
TvxContainerStyle* vxCreateContainerStyle(TPersistent* owner, TvxContainerStyleState state,
                                          TvxContainerStyle* parent, bool directAccess);

// The four styles of a container or a controller, by state.
class TvxContainerStyles : public TObject {
 public:
  TvxContainerStyles(TPersistent* owner, const TvxContainerStyleClass& styleClass);
  ~TvxContainerStyles() override;
  TvxContainerStyles(const TvxContainerStyles&) = delete;
  TvxContainerStyles& operator=(const TvxContainerStyles&) = delete;
  const char* ClassName() const override { return "TvxContainerStyles"; }

  TvxContainerStyle* StyleForState(int index) const { return styles_[index]; }
  TvxContainerStyle* NormalStyle() const { return styles_[cssNormal]; }
  TvxContainerStyle* FocusedStyle() const { return styles_[cssFocused]; }
  TvxContainerStyle* DisabledStyle() const { return styles_[cssDisabled]; }
  TvxContainerStyle* HotStyle() const { return styles_[cssHot]; }
  void AssignChangeHandler(const TNotifyEvent& handler);
  void CopyStyleFrom(int index, const TvxContainerStyle& source) { styles_[index]->CopyFrom(source); }
  void CopyNormalStyleFrom(const TvxContainerStyle& source) { CopyStyleFrom(cssNormal, source); }
  void CopyFocusedStyleFrom(const TvxContainerStyle& source) { CopyStyleFrom(cssFocused, source); }
  void CopyDisabledStyleFrom(const TvxContainerStyle& source) { CopyStyleFrom(cssDisabled, source); }
  void CopyHotStyleFrom(const TvxContainerStyle& source) { CopyStyleFrom(cssHot, source); }

 private:
  TvxContainerStyle* styles_[vxContainerStyleStateCount] = {};
};

// Four styles that any number of container styles share: a style that sets
// a value nowhere else takes it from its controller's style of the same
// state.
class TvxStyleController : public TComponent {
 public:
  explicit TvxStyleController(TComponent* owner);
  ~TvxStyleController() override;
  const char* ClassName() const override { return "TvxStyleController"; }

  TvxContainerStyle* NormalStyle() const { return styles_->NormalStyle(); }
  TvxContainerStyle* StyleForState(int index) const { return styles_->StyleForState(index); }
  TvxContainerStyles* Styles() const { return styles_.get(); }
  // OnStyleChanged, then every registered style hears the change.
  void NotifyStyleChanged();
  virtual void RegisterStyle(TvxContainerStyle* style);
  virtual void UnregisterStyle(TvxContainerStyle* style);
  bool BeingDestroyed() const { return destroying_; }
  bool IsRegistered(TvxContainerStyle* style) const;
  TvxStyleController* GetFakeStyleController() { return NormalStyle()->GetStyleController(); }
  void SetFakeStyleController(TvxStyleController*) {}

  // The pixels per inch the controller's fonts were stored at (0 when
  // none). A different value rescales the heights of the assigned fonts to
  // the screen's.
  int StoredPixelsPerInch() const { return pixelsPerInch_; }
  void ApplyPixelsPerInch(int value);

  TNotifyEvent OnStyleChanged;

 protected:
  void Loaded() override;
  virtual TvxContainerStyleClass StyleClassToCreate();

 private:
  void Initialize();

  bool destroying_ = false;
  std::vector<TvxContainerStyle*> listeners_;
  int pixelsPerInch_ = 0;
  std::unique_ptr<TvxContainerStyles> styles_;
  bool initialized_ = false;
  friend class TvxContainerStyle;
};

// The streaming class of the controller ("PixelsPerInch" is written as the
// screen's vertical pixels per inch and rescales the fonts when read).
TClass TvxStyleControllerClass();

// The controller every style falls back to: nil until the editor framework
// makes one.
TvxStyleController* vxDefaultStyleController();
void vxSetDefaultStyleController(TvxStyleController* controller);
// The screen's vertical pixels per inch, read at start-up.
int vxScreenPixelsPerInch();

// --- View info -------------------------------------------------------------------------

// The layout a container computed for its current state, from which it
// paints its border, shadow and background.
class TvxContainerViewInfo : public TObject {
 public:
  TvxContainerViewInfo() { ContainerState = csfNormal; }
  const char* ClassName() const override { return "TvxContainerViewInfo"; }

  virtual void PaintBorder(TvxCanvas* canvas, const TRect& r);
  virtual TvxContainerBorderStyle BorderStyleForWidth() { return BorderStyle; }
  virtual void PaintContents(TvxCanvas* canvas);
  virtual void ChangeBackgroundColor(TColor color) { BackgroundColor = color; }
  virtual void CopyFrom(const TvxContainerViewInfo& source) { ClientRect = source.ClientRect; }
  virtual std::unique_ptr<TvxRegion> ChangedRegionSince(const TvxContainerViewInfo&) {
    return std::make_unique<TvxRegion>();
  }
  virtual void ShiftBy(int dx, int dy);
  virtual void Draw(TvxCanvas* canvas) { PaintContents(canvas); }
  // The skin painter of style's look-and-feel; whether there is one.
  bool TakeSkinPainter(TvxContainerStyle* style);

  TColor BackgroundColor = clWindow;
  TColor BorderColor = clWindowFrame;
  TRect BorderRect;
  TvxContainerBorderStyle BorderStyle = cbsNone;
  int BorderWidth = 0;
  TRect Bounds;
  TRect ClientRect;
  TvxContainerState ContainerState;
  TvxEdges Edges = 0x0F;
  TvxHotTrackState HotTrackState = htsOff;
  int NativePart = 0;
  int NativeState = 0;
  bool NativeStyle = false;
  TvxLookAndFeelPainterClass SkinPainter = nullptr;
  bool Shadow = false;
  int ThemeClass = 0;
  bool UsesSkin = false;

 protected:
  void PaintClassic(TvxCanvas* canvas);
  void PaintNative(TvxCanvas* canvas);
};

using TvxContainerViewInfoClass = std::function<std::unique_ptr<TvxContainerViewInfo>()>;

// --- Window functions --------------------------------------------------------------------

TRect vxControlSizeRect(TControl* control);
int vxPaintedBorderWidth(TvxContainerBorderStyle style, TvxLookAndFeelPainterClass painter);

// The 3-pixel shadow right of and below r, each strip taken out of the clip
// after it is filled.
void vxPaintContainerShadow(TvxCanvas* canvas, const TRect& r);
// Bounds with its shadow (Bounds moved by 3, 3 and cut by insets), less
// removed; nullptr unless shadow and not native. The caller owns it.
HRGN vxWindowShadowRegion(const TRect& bounds, const TRect& insets, const TRect& removed, bool shadow, bool native);
struct TvxWindowRegion {
  bool None = true;
  TRect Rect;
  friend bool operator==(const TvxWindowRegion&, const TvxWindowRegion&) = default;
};
void vxSetWindowRegion(TWinControl* control, const TvxWindowRegion& region);
bool vxWindowRegionDiffers(HWND wnd, HRGN region);
// Hands region to the window when it differs from the window's (the window
// then owns it); otherwise deletes it.
void vxSetWindowRegionIfChanged(HWND wnd, HRGN region);
void vxApplyShadowRegion(HWND wnd, const TRect& bounds, const TRect& insets, const TRect& removed, bool shadow,
                         bool native);

void vxFillFrameArea(TvxCanvas* canvas, const TRect& outer, const TRect& inner, TColor color);
void vxInvalidateFrameArea(HWND wnd, const TRect& outer, const TRect& inner, bool erase);
void vxInvalidateControlRect(TWinControl* control, const TRect& r, bool erase);

// The size grip between a container's mirrored scroll bars.
struct TvxSizeGripState {
  TRect Rect;
  bool Visible = false;
};
bool vxSizeGripNeedsRepaint(const TvxSizeGripState& oldState, const TvxSizeGripState& newState);
// Fills r in the window DC of inner with colour (nothing for an empty r).
void vxPaintSizeGripSquareOn(HWND inner, const TRect& r, TColor color);

// The user32 entry "GetScrollBarInfo", bound at the module's start.
void vxBindScrollBarInfoEntry();
bool vxNativeScrollBarInfoAvailable();
bool vxQueryScrollBarInfo(HWND wnd, LONG objectId, SCROLLBARINFO& info);
// Not 0x8000 (invisible) nor 0x10000 (offscreen) in the bar's state word.
inline bool vxNativeScrollBarShown(const SCROLLBARINFO& info) {
  return (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}
// Gives a mirrored scroll bar the native one's range, page (never more than
// Max - Min) and position.
void vxMirrorScrollInfo(TvxScrollBar* bar, HWND wnd, int nativeBar);

bool vxUseThemedDrawing(bool nativeStyle, TvdThemeClass themeClass);
void vxBufferedPrintWindow(HDC dc, const TRect& r, HWND wnd);
void vxRepaintWindowBuffered(HWND wnd);
void vxPaintWindowBuffered(HWND wnd);

// Raised while a popup closes or changes its focused control; meanwhile
// CM_ACTIVATE and CM_DEACTIVATE are swallowed.
void vxChangePopupActivationLock(bool lock);
bool vxPopupActivationLocked();

// Disables every enabled top-level window of the process (the outermost
// call with disable only) and enables them again at the matching resume. A
// resume without a suspend does nothing.
void vxSuspendAppWindows(bool disable);
void vxResumeAppWindows();
bool vxAppWindowsSwitching();
int vxAppWindowsSuspendCount();

// Removes wnd's messages First..Last (Last 0: First only), one or all; a
// WM_QUIT met is posted again and ends the search. True when something
// other than WM_QUIT was removed.
bool vxDrainMessages(HWND wnd, UINT first, UINT last, bool all);
TPoint vxCurrentCursorPos();
TShiftState vxCurrentShiftState();
int vxMouseButtonCode(TMouseButton button);
bool vxStringsEqual(const String& a, const String& b, bool caseSensitive);
void vxAssignFont(TFont* target, const TFont* source);
bool vxIsComponentDestroying(TComponent* component);

// What an inner control says of itself: the control and the container that
// hosts it.
class IvxContainerInnerControl : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{1B111318-D9C9-4C35-9EFF-5D95793C0106}");
  virtual TWinControl* GetControl() = 0;
  virtual TWinControl* GetControlContainer() = 0;
};

// --- Container -------------------------------------------------------------------------------

// A control that wraps one native windowed control (the inner control) and
// draws around it a border, an optional drop shadow and a background,
// following four state styles: Normal, Focused, Disabled and Hot. Every
// change of focus, enabled state, mouse position or style recomputes the
// view info, from which the container paints itself, places the inner
// control and sets its window region. To the user the two are one control:
// focus given to either ends on the inner control and Tab moves on.
class TvxContainer : public TvxControl, public IvxMouseTrackingCaller, public IvxContainerStyleOwner {
 public:
  explicit TvxContainer(TComponent* owner);
  ~TvxContainer() override;
  const char* ClassName() const override { return "TvxContainer"; }

  TvxContainerStyles* Styles() const { return styles_.get(); }
  TvxContainerStyle* Style() const { return styles_->NormalStyle(); }
  TvxContainerStyle* StyleFocused() const { return styles_->FocusedStyle(); }
  TvxContainerStyle* StyleDisabled() const { return styles_->DisabledStyle(); }
  TvxContainerStyle* StyleHot() const { return styles_->HotStyle(); }
  void SetStyle(const TvxContainerStyle& value) { styles_->CopyNormalStyleFrom(value); }
  void SetStyleFocused(const TvxContainerStyle& value) { styles_->CopyFocusedStyleFrom(value); }
  void SetStyleDisabled(const TvxContainerStyle& value) { styles_->CopyDisabledStyleFrom(value); }
  void SetStyleHot(const TvxContainerStyle& value) { styles_->CopyHotStyleFrom(value); }
  TvxStyleController* FakeStyleController() const { return Style()->GetStyleController(); }
  void SetFakeStyleController(TvxStyleController*) {}
  TWinControl* InnerControl() const { return innerControl_; }
  void SetInnerControl(TWinControl* control);
  TvxContainerViewInfo* ViewInfo() const { return viewInfo_.get(); }
  TvxContainerState LastState() const { return lastState_; }
  bool CompositionPainting() const { return compositionPainting_; }
  void SetCompositionPainting(bool value) { compositionPainting_ = value; }
  // Set by an inner control around its own mouse-down, so that the
  // container does not take the focus on that click.
  void SetClickFocusSuppressed(bool value) { clickFocusSuppressed_ = value; }

  // Takes the cursor position and updates the state from it.
  void RefreshFromCursor(bool mouseEvent);
  bool UpdateStateAt(TPoint p, int buttonCode, bool mouseEvent, TShiftState shift);
  void RefreshUnlessSuppressed();
  void LockInnerAlignment(bool lock);
  TFont* GetStyledFont();
  void PostDeferredRefresh();
  bool OfferInnerDefaultMessage(TMessage& message);

  // IvxContainerStyleOwner.
  bool UsesParentColorByDefault() override { return false; }
  bool IsEmbeddedEditor() override { return false; }
  TControl* StyledControl() override { return this; }
  bool StoresStyleProperty(const String& name, bool nonNormalState) override;

  // IvxMouseTrackingCaller.
  void MouseTrackingLeave() override { HandleMouseTrackingLeave(); }

  virtual void ApplyStyleToInnerControl();
  virtual void UpdateScrollBarFromInnerControl(TvxControlScrollBar* bar);
  virtual void CalculateViewInfo(TPoint p, bool hotTrackAllowed);
  virtual bool HandlesTabKey() { return true; }
  virtual bool UsesFramedWindowRegion();
  virtual bool CanRefreshState();
  virtual bool AcceptsContextPopupAt(TPoint p) { return true; }
  virtual void ApplyStyleToControl(TObject* sender);
  // A new region handle, or nullptr.
  virtual HRGN BuildWindowRegion();
  virtual void RequestViewRefresh() { RefreshFromCursor(false); }
  virtual bool FilterInnerControlMessage(TMessage& message);
  virtual void ContainerStateChanged() {}
  virtual bool RecalculateState(TPoint p, int buttonCode, bool mouseEvent, TShiftState shift);
  virtual void HandleMouseTrackingLeave();
  virtual TvxContainerStyle* GetCurrentStyle();
  virtual TColor GetBackgroundColor();
  virtual TColor GetBorderColor();
  virtual TRect GetBorderExtent();
  virtual void GetPainterDefaultColors(TColor& background, TColor& text);
  virtual int GetPainterEditState();
  virtual TvxWindowRegion CalcChildClipArea(const TRect& bounds, TControl* child);
  virtual TRect GetFrameBounds();
  virtual TRect GetExtraRegionRect() { return {}; }
  virtual bool HasShadow();
  virtual TvxContainerStyle* ChooseStyleForState(TvxContainerState state);
  virtual TvxContainerStyleValues GetUnsupportedStyleValues() { return 0; }
  virtual bool IsNativeScrollBarShown(const SCROLLBARINFO& info) { return vxNativeScrollBarShown(info); }
  virtual bool FocusIsInside();
  virtual bool UsesOwnTabOrder() { return false; }
  virtual bool IsHotTracking() { return vxIsMouseTrackingActive(this); }
  virtual bool IsNativeStyleActive();
  virtual bool IsReadOnlyState() { return false; }
  virtual bool IsTransparentBackground() { return false; }
  virtual void AlignInnerControl();
  virtual void ClipCanvasToShadowShape();
  virtual void ApplyWindowRegion();
  virtual TvdThemeClass GetThemeClass() { return tcEdit; }
  virtual int GetNativePart();
  virtual int GetNativeState();
  virtual TRect GetNativeScrollBarBounds(const SCROLLBARINFO& info);
  virtual bool IsNativeScrollBarEnabled(TvxControlScrollBar* bar, const SCROLLBARINFO& info);
  virtual bool QueryInnerScrollBarInfo(SCROLLBARINFO& info, TvxScrollBarKind kind);
  virtual void FocusInnerControl();
  virtual void ShowScrollBar(TvxControlScrollBar* bar, bool visible);
  void ForgetInnerWindowRegion() { innerRegion_.None = true; }
  virtual TRect HotTrackHitBounds();
  virtual bool IsOwnPopupVisible() { return false; }
  virtual bool InterceptInnerKeyMessage(TMessage& message);
  virtual void SyncScrollBarsWithInner(bool paramsOnly);

  // Overrides of the base control.
  TvxLookAndFeel* ActiveLookAndFeel() override { return Style()->GetLookAndFeel(); }
  TRect GetContentArea() override { return viewInfo_->ClientRect; }
  TRect ClientRect() override;
  bool HandlesDesignClickAt(int x, int y, TShiftState shift) override { return false; }
  bool AcceptsFocus() override;
  bool CanFocusOnClick() override;
  bool CanFocusOnScrollBarClick(TvxControlScrollBar*) override { return false; }
  bool HasBuiltInScrollBars() override { return false; }
  void RefreshScrollBarStates() override;
  void FocusStateChanged() override;
  void ColorPropertyChanged() override;
  void CursorPropertyChanged() override;
  void HandleResize() override;
  void HandleResourceStringsChange() override;
  void HandleComponentRemoval(TComponent* component, TOperation operation) override;
  void AdjustWindowParams(TCreateParams& params) override;
  void BuildWindow() override;
  void PaintControl() override;
  bool HandleContextPopup(TPoint mousePos) override;
  void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void HandleMouseMove(TShiftState shift, int x, int y) override;
  void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void NotifyMouseEnter(TControl* control) override;
  void NotifyMouseLeave(TControl* control) override;
  void ProcessWindowMessage(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void SetFocus() override;
  bool IsFocusedWithInner();

 protected:
  virtual TvxContainerStyleClass GetStyleClass() { return vxCreateContainerStyle; }
  virtual TvxContainerViewInfoClass GetViewInfoClass();
  void Loaded() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void HandleEnabledChange();

 private:
  friend struct TvxContainerAccess;
  TvxContainerState ComputeState(TPoint p, bool hotTrackAllowed);
  void ArrangeInnerControl();

  TvxContainerState lastState_ = csfNormal;
  TvxContainerStyle* cachedStyle_ = nullptr;
  bool refreshRequested_ = false;
  TWinControl* innerControl_ = nullptr;
  TvxWindowRegion innerRegion_;
  bool innerRepaintPending_ = false;
  bool clickFocusSuppressed_ = false;
  bool stateUpToDate_ = false;
  int innerAlignmentLock_ = 0;
  bool compositionPainting_ = false;
  int stateChangedGuard_ = 0;
  int stateUpdateCount_ = 0;
  bool ownRepaintPending_ = false;
  TvxSizeGripState sizeGrip_;
  bool applyingStyle_ = false;
  bool creating_ = true;
  std::unique_ptr<TvxContainerStyles> styles_;
  std::unique_ptr<TvxContainerViewInfo> viewInfo_;
};

// What inner controls reach of their container's protected handlers.
struct TvxContainerAccess {
  static void CallKeyDown(TvxContainer* c, uint16_t& key, TShiftState shift) { c->KeyDown(key, shift); }
  static void CallKeyPress(TvxContainer* c, char& key) { c->KeyPress(key); }
  static void CallKeyUp(TvxContainer* c, uint16_t& key, TShiftState shift) { c->KeyUp(key, shift); }
};

// nil for nil; the control itself when it is a container; the container of
// an inner control; else nil.
TvxContainer* vxOwningContainerOf(TControl* control);
// The size grip between a container's mirrored scroll bars, relative to its
// inner control's window; empty unless both bars show.
TRect vxContainerSizeGripRect(TvxContainer* container);
TRect vxSizeGripRectOfInner(IvxContainerInnerControl* inner);
void vxPaintSizeGripSquare(TvxContainer* container, const TRect& r);
void vxPaintContainerSizeGrip(TvxContainer* container);

// --- Popup-closing hooks and open popups ----------------------------------------------------

// The hooks that close popups are in place while a popup is open or the
// activation lock is raised; the list and the lock call this as they change.
void vxUpdatePopupHooks();
void vxRegisterOpenPopup(TvxCustomPopupWindow* popup);
void vxUnregisterOpenPopup(TvxCustomPopupWindow* popup);
bool vxIsPopupWindowOpen(TControl* control);
int vxOpenPopupCount();
TvxCustomPopupWindow* vxOpenPopup(int index);
// The next message wnd receives is dropped (answered 1). Each window keeps
// its own saved procedure, so swallows on several windows can overlap.
void vxSwallowNextMessage(HWND wnd);
bool vxControlOwnsWindow(TWinControl* control, HWND wnd, bool deep);
inline bool vxControlHasWindow(TWinControl* control, HWND wnd) { return vxControlOwnsWindow(control, wnd, false); }
bool vxIsWindowInsideControl(TWinControl* control, HWND wnd);
bool vxWindowInOwnerForm(TControl* control, HWND wnd);
HWND vxFirstNonChildAncestor(HWND wnd);
bool vxControlWindowVisible(TWinControl* control);
// Whether a popup is being shown (the hooks leave caption changes alone).
bool vxPopupShowing();
void vxSetPopupShowing(bool value);

// --- Popup window ------------------------------------------------------------------------------

// A drop-down form that belongs to an owner control: painted through a
// container style, fitted into the work area, optionally taking the focus
// and running its own message loop, and closed by the hooks when the user
// works elsewhere.
class TvxCustomPopupWindow : public TvxPopupWindow {
 public:
  explicit TvxCustomPopupWindow(TControl* ownerControl);
  ~TvxCustomPopupWindow() override;
  const char* ClassName() const override { return "TvxCustomPopupWindow"; }

  virtual bool CanFitToWorkArea() { return false; }
  virtual void NotifyClosed() { if (OnPopupClosed) OnPopupClosed(this); }
  virtual void NotifyClosing() { if (OnPopupClosing) OnPopupClosing(this); }
  virtual void NotifyShown() { if (OnPopupShown) OnPopupShown(this); }
  virtual void NotifyShowing() { if (OnPopupShowing) OnPopupShowing(this); }
  virtual bool ErasesBackground() { return false; }
  virtual bool IsPopupNavigationKey(uint16_t key) { return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_F4; }
  virtual void CloseByModalResult() { HidePopup(); }
  // True claims a click that the mouse hook met outside the popup.
  virtual bool PreviewPopupMessage(HWND wnd, UINT msg, TPoint point, TShiftState shift) { return false; }
  virtual void StyleChanged(TObject* sender) {}
  virtual void FitToWorkArea(TPoint& p);
  virtual void ShowPopup(TWinControl* focusControl);
  void HidePopup() override;
  TRect GetOwnerScreenBounds() override;
  void InheritOwnerFont() override {}

  void PostCloseRequest();
  bool IsOwnerVisible();
  bool IsClosingOnRequest() const { return closeRequestDepth_ != 0; }
  void ChangeCloseRequestDepth(int delta) { closeRequestDepth_ += delta; }
  bool IsOpen();

  bool TakesFocus() const { return takesFocus_; }
  void SetTakesFocus(bool value);
  bool FollowsTopMostOwner() const { return followsTopMostOwner_; }
  void SetFollowsTopMostOwner(bool value);
  bool RunsModalLoop() const { return runsModalLoop_; }
  void SetRunsModalLoop(bool value) { runsModalLoop_ = value; }
  TControl* OwnerControl() const { return ownerControl_; }
  TWinControl* FocusTarget() const { return focusTarget_; }
  TvxContainerStyle* Style() const { return style_.get(); }
  TvxContainerViewInfo* ViewInfo() const { return viewInfo_.get(); }
  TRect ClientRect() override;

  TNotifyEvent OnPopupClosed;
  TNotifyEvent OnPopupClosing;
  TNotifyEvent OnPopupShown;
  TNotifyEvent OnPopupShowing;

  // The work area at a point (the monitor's); tests put their own here.
  std::function<TRect(TPoint)> WorkAreaAt = vxGetWorkAreaAtPoint;

  void Dispatch(TMessage& message) override;

 protected:
  virtual TvxContainerStyleClass GetStyleClass();
  virtual TvxContainerViewInfoClass GetViewInfoClass();
  virtual void HandleMouseEnter(TControl* control) {}
  virtual void HandleMouseLeave(TControl* control) {}
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void VisibilityChanged() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void HandleDeactivate();

 private:
  void RecreateOpen();
  void RunModalLoop();

  bool takesFocus_ = true;
  int closeRequestDepth_ = 0;
  TWinControl* focusTarget_ = nullptr;
  bool followsTopMostOwner_ = false;
  bool runsModalLoop_ = true;
  TControl* ownerControl_;
  std::unique_ptr<TvxContainerStyle> style_;
  std::unique_ptr<TvxContainerViewInfo> viewInfo_;
};

// Control when it can take the focus and is a tab stop; else the popup's
// first tab stop; else the popup.
TWinControl* vxFirstFocusTarget(TvxCustomPopupWindow* popup, TWinControl* control);

// Private messages of the module.
enum : UINT {
  VXM_CLOSEPOPUP = 0x807D,
  VXM_SHOWPOPUP = 0x807E,
  VXM_REFRESHCONTAINER = 0x807F,
  VXM_SYNCSCROLLBARS = 0x8080,
  VXM_COMPOSITIONREPAINT = 0x8081,
};

// --- Inner list box -------------------------------------------------------------------------

// A list box that searches its items as the user types: the keys typed
// within AutoCompleteDelay of each other make one prefix, and the first
// item starting with it is selected. Painted scroll bars lie over the
// native ones.
class TvxCustomInnerListBox : public TListBox, public IvxContainerInnerControl {
 public:
  explicit TvxCustomInnerListBox(TComponent* owner);
  ~TvxCustomInnerListBox() override;
  const char* ClassName() const override { return "TvxCustomInnerListBox"; }

  unsigned AutoCompleteDelay() const { return autoCompleteDelay_; }
  void SetAutoCompleteDelay(unsigned ms) { autoCompleteDelay_ = ms; }
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  const String& SearchFilter() const { return filter_; }
  // The hosting container (set by the editor that makes the list box).
  TWinControl* Container() const { return container_; }
  void SetContainer(TWinControl* container) { container_ = container; }
  TvxScrollBar* HorzScrollBar() const { return hScrollBar_; }
  TvxScrollBar* VertScrollBar() const { return vScrollBar_; }
  TvxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }

  virtual void ProcessAutoCompleteKey(char& key);
  virtual void HandleLookAndFeelChanged();
  virtual bool DrawsFocusRect() { return true; }
  virtual void SyncScrollBars();
  TRect GetSizeGripBounds();
  void DrawSizeGrip();

  TWinControl* GetControl() override { return this; }
  TWinControl* GetControlContainer() override { return container_; }

  // Milliseconds, GetTickCount by default; tests drive their own clock.
  std::function<uint32_t()> Clock = [] { return uint32_t(GetTickCount()); };

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void Click() override;
  void DblClick() override;

 protected:
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;
  TvxContainer* OwningContainer() const;

 private:
  void SyncScrollBar(TvxScrollBar* bar, LONG objectId, int nativeBar);
  void HandleHorzScroll(TScrollCode code, int& position);
  void HandleVertScroll(TScrollCode code, int& position);

  unsigned autoCompleteDelay_ = 500;
  bool autoComplete_ = true;
  String filter_;
  TvxScrollBar* hScrollBar_ = nullptr;
  bool redrawLocked_ = false;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
  uint32_t lastKeyTime_ = 0;
  bool calculatingScrollBars_ = false;
  int scrollBarLock_ = 0;
  TvxScrollBar* vScrollBar_ = nullptr;
  TWinControl* container_ = nullptr;
};

// --- Module ---------------------------------------------------------------------------------

// Binds the scroll-bar query, makes the open-popup list and installs the
// three thread hooks; the finalisation removes them.
void vxContainerInitialize();
void vxContainerFinalize();
