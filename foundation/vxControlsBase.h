// The base control of the skinned library, TvxControl, and what it carries:
// its own painted scroll bars with the size grip between them, the
// process-wide settings controller that tells the bars when the system's
// scroll-bar sizes change, the middle-button scroll-anchor mode, the
// library's drag-and-drop protocol (an object that follows the mouse while
// the control holds the capture) and the child components that live inside
// a control. Every windowed control of the library that paints itself
// derives from TvxControl.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/vxClasses.h"
#include "foundation/vxControls.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxLookAndFeels.h"
#include "foundation/vxScrollBar.h"
#include "platform/Interfaces.h"
#include "platform/ui/Controls.h"

class TvxControl;
class TvxControlScrollBar;
class TvxSizeGrip;

// Holds a weak link to an object for a scope: Alive() turns false once the
// object is destroyed meanwhile (by a handler the scope called).
class TvxObjectLinkScope {
 public:
  explicit TvxObjectLinkScope(TObject* object) : link_(vxNewObjectLink(object)) {}
  ~TvxObjectLinkScope() { vxFreeObjectLink(link_); }
  TvxObjectLinkScope(const TvxObjectLinkScope&) = delete;
  TvxObjectLinkScope& operator=(const TvxObjectLinkScope&) = delete;
  bool Alive() const { return link_->Ref != nullptr; }

 private:
  TvxObjectLink* link_;
};

// --- Interfaces the control asks of others ------------------------------------------

// An object that held the control's mouse capture hears that it lost it.
class IvxMouseCaptureClient : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{ACB73657-6066-4564-9A3D-D4D0273AA82F}");
  virtual void MouseCaptureLost() = 0;
};

// A child that decides itself whether its parent's invalidation reaches it.
class IvxTransparencyProvider : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{F4980C69-029E-4B14-B3AD-953DA5C18BE7}");
  virtual bool IsTransparentBackground() = 0;
};

// Whatever draws with a look-and-feel says which one.
class IvxLookAndFeelHolder : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{6065B58B-C557-4464-A67D-64183FD13F25}");
  virtual TvxLookAndFeel* GetLookAndFeel() = 0;
};

// --- Child components -------------------------------------------------------------------

// A component that belongs to a TvxControl (not owned by it): streamed as
// the control's child, and told when the control lets it go.
class TvxControlChildComponent : public TvxComponent {
 public:
  explicit TvxControlChildComponent(TComponent* owner);
  // With the control's owner as owner when assignOwner, else without one.
  TvxControlChildComponent(TvxControl* control, bool assignOwner);
  ~TvxControlChildComponent() override;
  const char* ClassName() const override { return "TvxControlChildComponent"; }

  TvxControl* Control() const { return control_; }

  virtual bool InDestroyingState() { return IsDestroying(); }
  // Called at the end of construction.
  virtual void InitializeHook() {}
  virtual void SetOwningControl(TvxControl* control) { control_ = control; }

  TComponent* GetParentComponent();
  bool HasParent() const { return control_ != nullptr; }
  // A TvxControl parent takes the child through AddChildComponent.
  void SetParentComponent(TComponent* value);

 private:
  TvxControl* control_ = nullptr;
};

// --- The library's drag and drop ------------------------------------------------------

// Follows one drag-and-drop inside a control: Prepare at the start, Step for
// every mouse move (a descendant's MoveTo decides the acceptance), Finish
// with the final acceptance. The control frees it after Finish.
class TvxDragAndDropObject : public TObject {
 public:
  explicit TvxDragAndDropObject(TvxControl* control);
  ~TvxDragAndDropObject() override = default;
  const char* ClassName() const override { return "TvxDragAndDropObject"; }

  TvxControl* Control() const { return control_; }
  TvxCanvas* Canvas() const { return canvas_; }
  bool Dirty() const { return dirty_; }
  // Calls DirtyChanged when the value changes.
  void SetDirty(bool value);
  TPoint CurrentPoint() const { return currentPoint_; }
  TPoint PreviousPoint() const { return previousPoint_; }

  void Prepare();
  void Step(TPoint p, bool& accepted);
  void Finish(bool accepted);

  virtual bool StartsImmediately() { return false; }

 protected:
  virtual void DirtyChanged() {}
  // The cursor position in the control's client coordinates.
  virtual TPoint GetClientCursorPoint();
  virtual TCursor CursorForAcceptance(bool accepted) { return accepted ? crDrag : crNoDrop; }
  virtual void EndOperation(bool /*accepted*/) {}
  virtual void BeginOperation() { DirtyChanged(); }
  virtual void MoveTo(TPoint p, bool& accepted);
  virtual void MarkDirtyOnEnd(bool /*accepted*/) { dirty_ = true; }

 private:
  TvxControl* control_;
  TvxCanvas* canvas_;
  bool dirty_ = false;
  TPoint currentPoint_{0, 0};
  TPoint previousPoint_{0, 0};
};

// What a class reference to a drag-and-drop object class does here: make one.
using TvxDragAndDropObjectClass = TvxDragAndDropObject* (*)(TvxControl* control);
template <class T>
TvxDragAndDropObject* vxNewDragAndDropObject(TvxControl* control) {
  return new T(control);
}

// --- Built-in scroll bars ----------------------------------------------------------------

// One of the two bars a TvxControl places along its content area.
class TvxControlScrollBar : public TvxScrollBar {
 public:
  explicit TvxControlScrollBar(TComponent* owner);
  ~TvxControlScrollBar() override;
  const char* ClassName() const override { return "TvxControlScrollBar"; }

  bool IsShown() const { return Visible(); }
  void SetShown(bool value) { SetVisible(value); }
  TvxControlScrollBarParams& Pending() { return pending_; }
  const TvxControlScrollBarParams& Pending() const { return pending_; }
  void ApplyPendingParams();

  void WndProc(TMessage& message) final;
  void Dispatch(TMessage& message) override;

 protected:
  virtual void ProcessWindowMessage(TMessage& message);
  // Focuses the parent (when it takes the focus) as the bar is pressed.
  virtual void FocusParentOnPress();

 private:
  TvxControlScrollBarParams pending_;
};

using TvxControlScrollBarClass = TvxControlScrollBar* (*)(TComponent* owner);
template <class T>
TvxControlScrollBar* vxNewControlScrollBar(TComponent* owner) {
  return new T(owner);
}

// The square between the two bars.
class TvxSizeGrip : public TCustomControl {
 public:
  explicit TvxSizeGrip(TComponent* owner);
  ~TvxSizeGrip() override;
  const char* ClassName() const override { return "TvxSizeGrip"; }

  TvxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TvxCanvas> vxCanvas_;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
};

// Hears WM_SETTINGCHANGE for the non-client metrics on a hidden window and
// tells every control with built-in bars to read the bar sizes again.
class TvxSettingsController : public TObject {
 public:
  TvxSettingsController();
  ~TvxSettingsController() override;
  const char* ClassName() const override { return "TvxSettingsController"; }

  void Register(TvxControl* control);
  void Unregister(TvxControl* control);
  int ControlCount() const { return int(controls_.size()); }
  // The utility window; nullptr while no control is registered.
  HWND Window() const;

 protected:
  virtual void HandleMessage(TMessage& message);

 private:
  class TWindow;
  std::vector<TvxControl*> controls_;
  std::unique_ptr<TWindow> window_;
};

// Made on first use; nullptr once the module is stopping.
TvxSettingsController* vxSettingsControllerInstance();
// Sent by a control to itself to read the system's bar sizes again.
constexpr UINT DXM_RECALCSCROLLBARS = 0x8065;

// The mode's cursor for a direction and the bars shown.
TCursor vxScrollAnchorCursor(TvxDirection direction, bool hBarShown, bool vBarShown);

// --- TvxControl -------------------------------------------------------------------------

// The base control: a TvxCanvas over its own canvas, an owned look-and-feel,
// built-in painted scroll bars, the library drag-and-drop, focus on click,
// a popup menu (a component with the library's popup-menu interface) whose
// shortcuts travel up the parents, and small notifications that descendants override instead of handling
// messages.
class TvxControl : public TCustomControl, public IvdResourceStringsListener, public IvxLookAndFeelHolder {
 public:
  explicit TvxControl(TComponent* owner);
  ~TvxControl() override;
  const char* ClassName() const override { return "TvxControl"; }

  TvxCanvas* vxCanvas() const { return canvas_.get(); }
  TvxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
  // Copies the values of value (the control keeps its own object).
  void SetLookAndFeel(TvxLookAndFeel* value);
  TComponent* PopupMenu() const { return popupMenu_; }
  // Anything but nil or a library popup-menu component is stored as nil.
  void SetPopupMenu(TComponent* value);
  TvxWantedKeys WantedKeys() const { return wantedKeys_; }
  void SetWantedKeys(TvxWantedKeys keys) { wantedKeys_ = keys; }

  TvxControlScrollBar* HScrollBar() const { return hScrollBar_; }
  TvxControlScrollBar* VScrollBar() const { return vScrollBar_; }
  TvxSizeGrip* SizeGrip() const { return sizeGrip_; }
  TvxDragDropPhase DragAndDropPhase() const { return dragAndDropPhase_; }
  TvxDragAndDropObject* DragAndDropObject() const { return dragAndDropObject_.get(); }
  bool MouseButtonPressed() const { return mouseButtonPressed_; }
  TObject* MouseCaptureObject() const { return mouseCaptureObject_; }
  TPoint MouseDownPos() const { return mouseDownPos_; }
  TCursor DefaultCursor() const { return defaultCursor_; }

  bool InDestroyingState() const { return IsDestroying(); }
  bool InLoadingState() const { return IsLoading(); }

  // Drag and drop.
  TvxDragAndDropObject* GetDragAndDropObject();
  void SetDragAndDropState(TvxDragDropPhase phase);
  void FinishDragAndDrop(bool accepted);
  bool IsInDragDetectArea(int x, int y) const;

  void SetMouseCaptureObject(TObject* object);
  // Nothing without a window.
  void InvalidateArea(const TRect& r, bool eraseBackground);
  static void InvalidateWithChildren(TWinControl* control, bool invalidateSelf, bool invalidateChildren);
  bool IsPopupMenuShortCutInChain(TMessage& keyMessage);

  // Built-in scroll bars.
  bool IsHScrollBarShown() const;
  bool IsVScrollBarShown() const;
  void ScrollContent(TvxDirection direction);
  void SetScrollBarParams(TvxScrollBarKind kind, int min, int max, int smallChange, int pageSize, int position,
                          bool allowShow, bool allowHide);
  void RebuildScrollBars();
  // Runs the middle-button mode now (a descendant or a test may start it).
  void ScrollAnchorMode();
  // The 20 ms timer of a running scroll-anchor mode (0 when none runs).
  static UINT_PTR ScrollAnchorTimerId();

  // Virtual operations, in the order descendants know them.
  virtual bool ShowContextMenu(TComponent* menu, int x, int y);
  virtual void NotifyDesignerOfChange();
  virtual void AfterMouseButtonPress(int button, int x, int y);
  virtual void PreMouseDownEvent(TMouseButton button, TShiftState shift, int x, int y) {}
  virtual void BringScrollBarsToFront();
  virtual void FinishMouseOperation();
  virtual int BorderThickness() { return 0; }
  virtual TRect GetControlBounds();
  virtual TRect GetContentArea();
  virtual TCursor CursorAtPoint(int x, int y) { return defaultCursor_; }
  virtual bool IsInDesignMode() { return IsDesigning(); }
  virtual bool HasInputFocus() { return Focused(); }
  virtual int WheelScrollKind();
  virtual TvxControlScrollBarClass ScrollBarClassRef(TvxScrollBarKind kind);
  virtual void AttachScrollBarsToWindow();
  virtual bool CanFocusOnClick();
  virtual bool CanFocusOnClickAt(int x, int y) { return CanFocusOnClick(); }
  virtual bool CanFocusOnScrollBarClick(TvxControlScrollBar* scrollBar) { return CanFocusOnClick(); }
  virtual bool WantsEraseBackground() { return false; }
  virtual bool IsInternalScrollControl(TControl* control);
  virtual bool NeedsFullRepaint() { return false; }
  virtual bool AdjustMouseForFocusMove() { return true; }
  virtual void HandleParentBackgroundSwitch() {}
  virtual TvxLookAndFeel* ActiveLookAndFeel() { return lookAndFeel_.get(); }
  virtual TvxLookAndFeelPainterClass CurrentPainter();
  virtual void HandleLookAndFeelChange(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) {}
  virtual bool CanScrollWithoutBars(TvxDirection direction) { return false; }
  virtual TRect GetHScrollBarBounds();
  virtual TRect GetSizeGripBounds();
  virtual TRect GetVScrollBarBounds();
  virtual void CalculateScrollBarParams() {}
  virtual bool ScrollsByPixels(TvxScrollBarKind kind) { return false; }
  virtual bool HasBuiltInScrollBars() { return true; }
  virtual bool KeepScrollBarsOnTop() { return true; }
  virtual void ScrollContentBy(TvxScrollBarKind kind, TScrollCode scrollCode, int& scrollPos) {}
  virtual void PlaceScrollBars();
  virtual void RefreshScrollBarStates();
  virtual void UpdateScrollBars();
  virtual bool HandlesDesignClickAt(int x, int y, TShiftState shift) { return true; }
  virtual TvxDragAndDropObject* CreateDragAndDropObject();
  virtual TvxDragAndDropObjectClass DragAndDropObjectClassRef();
  virtual bool IsFocusableNow();
  virtual bool IsWithinClickZone(int x, int y);
  virtual void HandleResourceStringsChange() {}

  // Dynamic operations.
  virtual void AddChildComponent(TvxControlChildComponent* child) { child->SetOwningControl(this); }
  virtual void RemoveChildComponent(TvxControlChildComponent* child) { child->SetOwningControl(nullptr); }
  virtual void ResetMouseCapture();
  virtual bool AcceptsDesignTimeMouse(int x, int y, TShiftState shift);
  virtual void NotifyMouseEnter(TControl* control);
  virtual void NotifyMouseLeave(TControl* control);
  virtual bool AcceptsFocus() { return true; }
  virtual void ContentBoundsChanged();
  virtual void ColorPropertyChanged() {}
  virtual void CursorPropertyChanged() { defaultCursor_ = Cursor(); }
  virtual void FocusStateChanged();
  virtual void FontPropertyChanged() { Invalidate(); }
  virtual void TextPropertyChanged() {}
  virtual void VisiblePropertyChanged() {}
  virtual bool AllowsMouseDownUnfocused() { return false; }
  virtual void DragAndDropMove(TPoint p, bool& accepted);
  virtual void StopDragAndDrop(bool accepted);
  virtual bool CanBeginDragAndDropAt(TPoint p) { return false; }
  virtual void BeginDragAndDropOperation();

  // Overrides of the platform's operations under the library's names.
  virtual void HandleComponentRemoval(TComponent* component, TOperation operation);
  virtual void ProcessWindowMessage(TMessage& message);
  virtual void AdjustWindowParams(TCreateParams& params);
  virtual void BuildWindow();
  virtual void ReleaseWindow();
  virtual void PaintWindowContents(HDC dc);
  virtual void PaintControl();
  virtual void HandleResize();
  virtual bool HandleContextPopup(TPoint mousePos);
  virtual bool HandleMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void HandleMouseMove(TShiftState shift, int x, int y);
  virtual void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);

  void WndProc(TMessage& message) final;
  void Dispatch(TMessage& message) override;

  // IvdResourceStringsListener, IvxLookAndFeelHolder.
  void TranslationChanged() override { HandleResourceStringsChange(); }
  TvxLookAndFeel* GetLookAndFeel() override { return ActiveLookAndFeel(); }

  TNotifyEvent OnFocusChanged;

 protected:
  void Notification(TComponent* component, TOperation operation) final;
  void CreateParams(TCreateParams& params) final;
  void CreateWnd() final;
  void DestroyWnd() final;
  void PaintWindow(HDC dc) final;
  void Paint() final;
  void Resize() final;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) final;
  void MouseMove(TShiftState shift, int x, int y) final;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) final;

  // The platform's handling of the operations above, for descendants that
  // pass a case on.
  void InheritedPaint() { TCustomControl::Paint(); }

 private:
  void CreateScrollBars();
  void DestroyScrollBars();
  void HandleScrollBarScroll(TObject* sender, TScrollCode scrollCode, int& scrollPos);
  void LookAndFeelChangedCallback(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues);
  void ReadSystemScrollBarSizes();
  void CalculateScrollBarWishes();
  void ReclaimScrollBarSpace();
  void PaintThroughBitmap(TMessage& message);
  void HandleEraseBackground(TMessage& message);
  void HandleDialogCode(TMessage& message);
  void HandleKeyDown(TMessage& message);
  bool PressBypassesPlatform(const TMessage& message);
  TPoint PressPoint(const TMessage& message);

  bool calculatingScrollBarParams_ = false;
  std::unique_ptr<TvxCanvas> canvas_;
  TCursor defaultCursor_ = crDefault;
  std::unique_ptr<TvxDragAndDropObject> dragAndDropObject_;
  TCursor dragAndDropPrevCursor_ = crDefault;
  TvxDragDropPhase dragAndDropPhase_ = ddpIdle;
  bool finishingDragAndDrop_ = false;
  TvxControlScrollBar* hScrollBar_ = nullptr;
  bool initialHScrollBarVisible_ = false;
  bool initialVScrollBarVisible_ = false;
  bool scrollBarsStabilized_ = false;
  TvxWantedKeys wantedKeys_ = 0;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
  bool mouseButtonPressed_ = false;
  TObject* mouseCaptureObject_ = nullptr;
  TPoint mouseDownPos_{0, 0};
  TComponent* popupMenu_ = nullptr;
  TvxSizeGrip* sizeGrip_ = nullptr;
  bool updatingScrollBars_ = false;
  int nestedScrollBarUpdates_ = 0;
  TvxControlScrollBar* vScrollBar_ = nullptr;
  bool lastParentBackground_ = true;
};

// Tells the designer that control's form changed (nothing without one).
void vxDesignerModified(TControl* control);

// Called by the control module's start and end.
void vxControlsBaseInitialize();
void vxControlsBaseFinalize();
