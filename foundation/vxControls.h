// The process-wide plumbing of the control library: window and keyboard
// helpers, the mouse-tracking service that tells controls the mouse has
// left them, the hidden message window and the timers that share one
// window, the borderless popup form with its drag-image and size-frame
// descendants, chaining of window-procedure hooks, and the module's cursors
// and registered messages. The portable helpers (captions, typed keys) are
// in vxControlsText.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "foundation/vxControlsText.h"
#include "foundation/vxGraphics.h"
#include "platform/Interfaces.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

// --- Window, cursor and keyboard helpers -----------------------------------------

// Whether the control has or can get a window: it has one; it is not being
// destroyed and has a parent window, a parent that can get one, or, without
// a parent, it is a form and the application has its window.
bool vxCanAllocateHandle(TWinControl* control);
// Visual styles are on and the theme library is loaded.
bool vxThemeServicesEnabled();

// How far (in pixels, each way) the mouse moves from a press before a drag
// starts.
constexpr int vxDragThreshold = 5;
enum : int { vxDragStartClick = 0, vxDragStartDrag = 1, vxDragStartCancelled = 2 };
// Captures the mouse for wnd and runs a message loop until the pointer
// leaves the square of side 2 * vxDragThreshold around screenPoint (drag), a
// button is released (click), or Escape or a lost capture cancels.
int vxDetectDragStart(HWND wnd, TPoint screenPoint);
bool vxIsPointInDragDetectArea(TPoint downPoint, int x, int y);

// MK_ flags of the buttons and modifiers held now.
unsigned vxCurrentMouseKeyFlags();
unsigned vxDoubleClickTime();
bool vxIsCtrlPressed();
// (-1, -1) when the position cannot be read.
TPoint vxGetCursorPosition();

bool vxShiftStateIsEmpty(TShiftState shift);
bool vxShiftStateIsLeftButtonOnly(TShiftState shift, bool allowDouble);
// MK_ flags of a shift state; Alt and the double-click mark have none.
unsigned vxMouseKeyMaskFromShift(TShiftState shift);
inline uint16_t vxNormalizeVirtualKey(uint16_t key) { return key; }

// The work area of the monitor nearest to p; the primary work area for
// monitor 0.
TRect vxGetWorkAreaAtPoint(TPoint p);
TRect vxGetMonitorWorkArea(HMONITOR monitor);

bool vxIsChildWindow(HWND wnd);
// parent is set and wnd is parent or one of its descendants.
bool vxIsWindowOrChild(HWND parent, HWND wnd);
// The window and, for a child, every parent up to the first top-level one
// are enabled.
bool vxIsWindowEnabledInChain(HWND wnd);
void vxMapWindowPoint(HWND from, HWND to, TPoint& p);
// Both corners separately (a mirrored window keeps Left < Right).
void vxMapWindowRect(HWND from, HWND to, TRect& r);
// The empty rectangle when the call fails.
TRect vxWindowClientRectOrEmpty(HWND wnd);
TRect vxWindowScreenRectOrEmpty(HWND wnd);
TRect vxControlScreenRectOrEmpty(TWinControl* control);

// A copy of the system menu template (kind 0 normal, 1 tool window, 2
// dialog) with the system's menu bitmaps; nullptr when it cannot be loaded.
HMENU vxLoadSystemMenuTemplate(int kind);
// Options bit 0: greys and enables the system menu's items after the
// window's style and state (dialogs lose the sizing items first).
void vxAdjustSystemMenu(HMENU sysMenu, HWND wnd, bool isDialog, unsigned options, bool lockUpdate);
// Replaces the items of dest by copies of those of source.
void vxCopyMenuItems(HMENU source, HMENU dest);

// Nested hourglass: only the outermost pair changes the screen's cursor.
void vxBeginHourglassCursor();
void vxEndHourglassCursor();

// --- Popup menus -------------------------------------------------------------------

// A component that the library's controls accept as their popup menu.
class IvxPopupMenuComponent : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{61EEDA7D-88CC-45BF-8A00-5C25174D6501}");
  // Whether the key message is one of the menu's shortcuts (and was run).
  virtual bool IsShortCut(TMessage& keyMessage) = 0;
  // Shows the menu at a screen point.
  virtual void Popup(int x, int y) = 0;
};

// The menu's shortcut test; False for nil or a component that is no popup
// menu.
bool vxIsPopupMenuShortCut(TComponent* menu, TMessage& keyMessage);
// Shows menu for control at a screen point; False when there is nothing to
// show.
bool vxShowPopupMenuFor(TControl* control, TComponent* menu, int x, int y);
// The height of the menu when shown: its tallest column of items in the
// system's menu font.
int vxGetPopupMenuHeight(TPopupMenu* menu);

// --- Mouse tracking ---------------------------------------------------------------

// Told once when the mouse has left what it tracks.
class IvxMouseTrackingCaller : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{84A4BCBE-E001-4D60-B7A6-75E2B0DCD3E9}");
  virtual void MouseTrackingLeave() = 0;
};

// A caller that decides itself whether a point (client coordinates of the
// tracked control) still counts as inside.
class IvxMouseTrackingHitTest : public IvxMouseTrackingCaller {
 public:
  static constexpr TGUID IID = StringToGUID("{3A5D973B-F016-4F22-80B6-1D35668D7743}");
  virtual bool PtInCaller(TPoint p) = 0;
};

// Starts watching the mouse for caller: bounds are in control's client
// coordinates (screen coordinates without a control). Every 10 ms, once the
// mouse is outside or the control is gone or disabled, the control gets
// CM_MOUSELEAVE (LParam the control), the caller its leave notification,
// and tracking stops. A caller already tracked keeps its first tracking.
void vxStartMouseTracking(TWinControl* control, const TRect& bounds, IvxMouseTrackingCaller* caller);
void vxStopMouseTracking(IvxMouseTrackingCaller* caller);
bool vxIsMouseTrackingActive(IvxMouseTrackingCaller* caller);
// The timer that tracks for caller (its tick can be fired directly).
class TvxTimer;
TvxTimer* vxFindMouseTrackingTimer(IvxMouseTrackingCaller* caller);

// --- Message window and timers ------------------------------------------------

// A hidden utility window whose messages go to HandleMessage.
class TvxMessageWindow {
 public:
  TvxMessageWindow();
  virtual ~TvxMessageWindow();
  TvxMessageWindow(const TvxMessageWindow&) = delete;
  TvxMessageWindow& operator=(const TvxMessageWindow&) = delete;

  HWND Handle() const { return handle_; }

 protected:
  // The base answers with DefWindowProc.
  virtual void HandleMessage(TMessage& message);

 private:
  HWND handle_ = nullptr;
};

// The one window on which every TvxTimer runs.
class TvxTimerWindow : public TvxMessageWindow {
 protected:
  void HandleMessage(TMessage& message) override;
};

// A timer component whose system timers all live on the shared timer
// window. Each timer has an id of its own that is never reused in the
// process, so a WM_TIMER still queued for a stopped or destroyed timer
// reaches no other timer: ids not in the running list are dropped.
class TvxTimer : public TComponent {
 public:
  explicit TvxTimer(TComponent* owner);
  ~TvxTimer() override;
  const char* ClassName() const override { return "TvxTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Milliseconds. 0 and the current value are ignored.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  // Without a handler the timer does not run.
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);

  // The id the system timer carries.
  UINT_PTR TimerId() const { return timerId_; }
  bool Running() const { return running_; }
  // One tick: OnTimer with the timer as sender.
  virtual void Fire();

 private:
  void Restart();
  void Start();
  void Stop();
  void SetRunning(bool value);

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  UINT_PTR timerId_;
  bool running_ = false;
};

// --- Shared objects of the module ---------------------------------------------------

class TvxWindowProcController;

// Each made on first use; nullptr once the module is stopping.
TvxMessageWindow* vxGetMessageWindow();
TvxTimerWindow* vxSharedTimerWindow();
// The running timers by id.
std::map<UINT_PTR, TvxTimer*>* vxRunningTimers();
TvxWindowProcController* vxGetWindowProcController();

// The numbers of the two registered messages: asked of a window before the
// skinned forms skin it (non-zero: leave it alone), and sent to make a
// skinned form choose its skin again.
extern UINT vxSkinExclusionQueryMessage;
extern UINT vxSkinRefreshMessage;

// The module's own cursors in the screen's cursor table.
enum : TCursor {
  crvxDragCopy = 2100, crvxFullScroll, crvxHorScroll, crvxVerScroll, crvxUpScroll, crvxRightScroll,
  crvxDownScroll, crvxLeftScroll, crvxRemove, crvxVertSize, crvxHorzSize, crvxMultiDrag, crvxNoDrop,
  crvxDrag, crvxColorPicker, crvxMultiDragCopy,
  crvxHandPoint = -2099,
};
// The module's cursor resources, by id, in id order.
struct TvxCursorResource {
  TCursor Id;
  const char* Name;
};
extern const TvxCursorResource vxCursorResources[16];

void vxControlsInitialize();
void vxControlsFinalize();

// --- Popup window -------------------------------------------------------------------

enum TvxPopupWindowAlignment { pwaStart, pwaCenter, pwaEnd };
enum TvxPopupWindowDirection { pwdHorizontal, pwdVertical };
enum TvxPopupFrameStyle { pfsNone, pfsFlat, pfsSingle3D, pfsDouble3D };

// Where a popup of a given size goes next to an owner rectangle (screen
// coordinates): below or above it (vertical direction) or beside it
// (horizontal), flipped to the side with more room when it does not fit,
// and kept inside the work area on the other axis. workAreaAt gives the
// work area of the monitor at a point.
struct TvxPopupPlacement {
  TRect Owner;
  int Width = 0, Height = 0;
  TvxPopupWindowAlignment Horz = pwaStart, Vert = pwaEnd;
  TvxPopupWindowDirection Direction = pwdVertical;
};
TPoint vxCalculatePopupPosition(const TvxPopupPlacement& placement, const std::function<TRect(TPoint)>& workAreaAt);

// A borderless stay-on-top form shown next to an owner rectangle.
class TvxPopupWindow : public TForm {
 public:
  TvxPopupWindow();
  ~TvxPopupWindow() override;
  const char* ClassName() const override { return "TvxPopupWindow"; }

  bool AutoFitContents() const { return autoFitContents_; }
  void SetAutoFitContents(bool value) { autoFitContents_ = value; }
  TvxPopupWindowAlignment HorzAlignment() const { return horzAlignment_; }
  void SetHorzAlignment(TvxPopupWindowAlignment value) { horzAlignment_ = value; }
  TvxPopupWindowAlignment VertAlignment() const { return vertAlignment_; }
  void SetVertAlignment(TvxPopupWindowAlignment value) { vertAlignment_ = value; }
  TvxPopupWindowDirection Direction() const { return direction_; }
  void SetDirection(TvxPopupWindowDirection value) { direction_ = value; }
  TvxPopupFrameStyle FrameStyle() const { return frameStyle_; }
  // Moves the children back by the current indents first, so that the next
  // FitToContents applies the new ones.
  void SetFrameStyle(TvxPopupFrameStyle value);
  TColor FrameLineColor() const { return frameLineColor_; }
  void SetFrameLineColor(TColor value) { frameLineColor_ = value; }
  // The owner rectangle, in the client coordinates of AnchorParent (screen
  // coordinates without one).
  const TRect& AnchorBounds() const { return anchorBounds_; }
  void SetAnchorBounds(const TRect& r) { anchorBounds_ = r; }
  TControl* AnchorParent() const { return anchorParent_; }
  void SetAnchorParent(TControl* control) { anchorParent_ = control; }
  HWND ActivatingWindow() const { return activatingWindow_; }
  TvxCanvas* vxCanvas() const { return vxCanvas_.get(); }

  virtual void CalculatePosition(TPoint& p);
  // Moves every child inside the frame's indents and sizes the form around
  // them (never to a zero or negative size).
  virtual void FitToContents();
  virtual int GetSideIndent(TvxBorder side) { return GetFrameWidth(side); }
  virtual TRect GetInnerRect();
  virtual int GetFrameWidth(TvxBorder side);
  virtual TRect GetOwnerScreenBounds();
  virtual void InheritOwnerFont();
  virtual void PaintFrame();
  virtual void HidePopup() { Hide(); }
  // Owner's font, fit, place, show.
  virtual void ShowPopup();

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  virtual void VisibilityChanged() {}

 private:
  bool autoFitContents_ = true;
  TvxPopupWindowAlignment horzAlignment_ = pwaStart;
  TvxPopupWindowAlignment vertAlignment_ = pwaEnd;
  TvxPopupFrameStyle frameStyle_ = pfsNone;
  std::unique_ptr<TvxCanvas> vxCanvas_;
  TvxPopupWindowDirection direction_ = pwdVertical;
  TColor frameLineColor_ = clWindowFrame;
  TRect anchorBounds_;
  TControl* anchorParent_ = nullptr;
  HWND activatingWindow_ = nullptr;
};

// A translucent popup that the mouse passes through, for drag images.
class TvxCustomDragImage : public TvxPopupWindow {
 public:
  TvxCustomDragImage();
  const char* ClassName() const override { return "TvxCustomDragImage"; }

  // Whose window becomes the popup's parent window (the active form's
  // without one).
  TWinControl* HostControl() const { return hostControl_; }
  void SetHostControl(TWinControl* control) { hostControl_ = control; }
  // 180 by default; 255 is opaque.
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);

  // ShowWindow with cmdShow, then an immediate repaint.
  void ShowWindowAs(int cmdShow);

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void ApplyAlphaBlend();

  TWinControl* hostControl_ = nullptr;
  bool alphaBlend_ = true;
  uint8_t alphaBlendValue_ = 180;
};

// A hollow rectangle hatched black and white, shown while something is
// resized: the window keeps a frame of FrameWidth as its region.
class TvxSizeFrame : public TvxCustomDragImage {
 public:
  explicit TvxSizeFrame(int frameWidth);
  ~TvxSizeFrame() override;
  const char* ClassName() const override { return "TvxSizeFrame"; }

  int FrameWidth() const { return frameWidth_; }
  // Moves and sizes the frame to r (screen coordinates).
  void UpdateFrameRect(const TRect& r);
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void Paint() override;

 private:
  int frameWidth_;
  std::unique_ptr<TvxRegion> frameRegion_;
  std::unique_ptr<TBitmap> pattern_;
};

// --- Window-procedure chaining ------------------------------------------------------

struct TvxDoublyLinkedObject {
  virtual ~TvxDoublyLinkedObject() = default;
  TvxDoublyLinkedObject* Prev = nullptr;
  TvxDoublyLinkedObject* Next = nullptr;
};

// One hook: the procedure it installed, and the control or window it sits
// on. The hook's identity for vxCallPreviousWindowProc and unhooking.
struct TvxWindowProcLinkedObject : TvxDoublyLinkedObject {
  TControl* Control = nullptr;
  HWND Handle = nullptr;
  TWndMethod WindowProc;
};

class TvxWindowProcLinkedObjectList;

// Any number of hooks on the window procedure of one control (its
// WindowProc) or one raw window (its system procedure), added and removed
// in any order. The newest hook sees each message first and passes it on
// with vxCallPreviousWindowProc; the procedure that was there before the
// first hook comes back with the last unhook.
class TvxWindowProcController {
 public:
  TvxWindowProcController();
  ~TvxWindowProcController();

  // nullptr for a nil control or a 0 window.
  TvxWindowProcLinkedObject* HookControlWindowProc(TControl* control, TWndMethod windowProc);
  TvxWindowProcLinkedObject* HookHandleWindowProc(HWND wnd, TWndMethod windowProc);
  // Removes the hook and clears the variable; nothing for nil or a hook
  // this controller does not know.
  void UnhookWindowProc(TvxWindowProcLinkedObject*& linkedObject);

 private:
  class TControlWatcher;

  TvxWindowProcLinkedObjectList* FindList(TControl* control, HWND wnd) const;
  TvxWindowProcLinkedObject* AddHook(std::shared_ptr<TvxWindowProcLinkedObjectList> list, TWndMethod windowProc);
  void FreeRetiredLists();
  void ControlDestroyed(TControl* control);

  // Hears when a hooked control is destroyed with hooks still on it.
  std::unique_ptr<TControlWatcher> watcher_;
  std::vector<std::shared_ptr<TvxWindowProcLinkedObjectList>> lists_;
  // Lists whose last hook went while they were dispatching a message: freed
  // (and the base procedure put back) once that dispatch has returned.
  std::vector<std::shared_ptr<TvxWindowProcLinkedObjectList>> retired_;
  // Lists of controls destroyed while hooked: kept, without their control,
  // so that their hooks can still be unhooked (which then does nothing).
  std::vector<std::shared_ptr<TvxWindowProcLinkedObjectList>> orphans_;
};

// Passes message to the procedure installed before linkedObject.
void vxCallPreviousWindowProc(TvxWindowProcLinkedObject* linkedObject, TMessage& message);
