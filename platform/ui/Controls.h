// Controls over real windows.
//
// TControl is anything with bounds on a parent: it gets messages through
// its WindowProc, which a user may replace and chain (keep the old value and
// call it). TGraphicControl has no window: its parent paints it and forwards
// mouse messages to it. TWinControl owns a window made on demand from
// CreateParams; one window procedure (StdWndProc) finds the control of a
// window and hands the message to its WindowProc, catching exceptions for
// the application's handler. Native controls (EDIT, BUTTON, LISTBOX) are
// superclassed under the framework's own class names ("TEdit", "TButton"),
// so that the system's procedure becomes the control's default handler.
//
// Parent windows reflect the notifications of their children (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM...) back to the child as CN_*.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Components.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Types.h"

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// ControlStyle: what a control is and does.
enum : uint32_t {
  csAcceptsControls = 0x0001,
  csCaptureMouse = 0x0002,
  csDesignInteractive = 0x0004,
  csClickEvents = 0x0008,
  csFramed = 0x0010,
  csSetCaption = 0x0020,
  csOpaque = 0x0040,
  csDoubleClicks = 0x0080,
  csFixedWidth = 0x0100,
  csFixedHeight = 0x0200,
  csNoDesignVisible = 0x0400,
  csReplicatable = 0x0800,
  csNoStdEvents = 0x1000,
  csDisplayDragImage = 0x2000,
  csReflector = 0x4000,
  csActionClient = 0x8000,
  csMenuEvents = 0x10000,
  csNeedsBorderPaint = 0x20000,
  csParentBackground = 0x40000,
};
using TControlStyle = uint32_t;

// ControlState: what a control is going through.
enum : uint32_t {
  csLButtonDown = 0x0001,
  csClicked = 0x0002,
  csPalette = 0x0004,
  csReadingState = 0x0008,
  csAlignmentNeeded = 0x0010,
  csFocusing = 0x0020,
  csCreating = 0x0040,
  csPaintCopy = 0x0080,
  csCustomPaint = 0x0100,
  csDestroyingHandle = 0x0200,
  csDocking = 0x0400,
};
using TControlState = uint32_t;

// Cursor ids of the screen's cursor table (Forms.h); 0 means "the class's".
using TCursor = int16_t;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22, crSize = -22,
};

// dmAutomatic: a press starts dragging the control once the mouse moves.
enum TDragMode { dmManual, dmAutomatic };

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// The direction of a control's text: bdRightToLeft reads and aligns from
// the right; bdRightToLeftNoAlign and bdRightToLeftReadingOnly only read
// from the right.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TBasicAction;
class TControlActionLink;
class TControl;
class TWinControl;
class TCustomForm;
class IDockManager;

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  String WinClassName;
};

// What the controls ask of the application object (Forms.h), which installs
// itself here; without one, exceptions go to a plain message box.
class TControlsHost {
 public:
  virtual ~TControlsHost() = default;
  // Called inside a catch block.
  virtual void HandleException(TObject* sender) = 0;
  // Every mouse message a control gets, and nullptr when the mouse left the
  // program's windows, for the hint machinery.
  virtual void HintMouseMessage(TControl* control, const TMessage& message) = 0;
  virtual HCURSOR CursorHandle(TCursor cursor) = 0;
  // A control is going away: forget every reference to it.
  virtual void ControlDestroyed(TControl* control) = 0;
  // The screen's cursor (crDefault when none is forced).
  virtual TCursor ScreenCursor() = 0;
};
void SetControlsHost(TControlsHost* host);
TControlsHost* ControlsHost();
// Hands the exception being caught to the host (or a message box).
void HandleControlException(TObject* sender);

// Makes the action link a control class uses (Actions.h): the class
// reference of the link, as a factory.
using TControlActionLinkClass = std::unique_ptr<TControlActionLink> (*)(TControl* client);
template <typename Link>
std::unique_ptr<TControlActionLink> NewActionLink(TControl* client) {
  return std::make_unique<Link>(client);
}

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  const char* ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  void SetClientSize(int width, int height);
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(TPoint p) { TPoint o = ClientOrigin(); return {p.X + o.X, p.Y + o.Y}; }
  TPoint ScreenToClient(TPoint p) { TPoint o = ClientOrigin(); return {p.X - o.X, p.Y - o.Y}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  String Caption() { return Text(); }
  void SetCaption(const String& s) { SetText(s); }
  String Text() { return ReadText(); }
  // A different text is stored and announced with CM_TEXTCHANGED.
  void SetText(const String& text);

  TFont* Font() { return font_.get(); }
  void SetFont(TFont* font) { font_->Assign(font); }
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  const String& Hint() const { return hint_; }
  void SetHint(const String& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  TDragMode DragMode() const { return dragMode_; }
  virtual void SetDragMode(TDragMode value) { dragMode_ = value; }

  // The action whose caption, enabled state, hint and visibility the
  // control shows, and which a click without an OnClick handler executes
  // (Actions.h). Either side may be freed first: the control then has no
  // action, or the action one client fewer.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  TControlActionLink* ActionLink() const { return actionLink_.get(); }
  // The idle update of a visible control: runs its action's OnUpdate.
  virtual void UpdateAction();

  // Without ParentBiDiMode the control keeps its own direction; with it,
  // the parent's, also when the parent's changes.
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  // Text read from the right: every mode but bdLeftToRight.
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
  // Text aligned to the right: bdRightToLeft only.
  bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
  // DrawText flags in the control's direction: aligned right-to-left, a
  // left alignment becomes DT_RIGHT and DT_RIGHT becomes left (a centred
  // text stays); read right-to-left, DT_RTLREADING is added.
  UINT DrawTextBiDiModeFlags(UINT flags) const;

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState state) { controlState_ = state; }
  bool MouseCapture();
  void SetMouseCapture(bool value);

  virtual void Invalidate();
  // Invalidate and paint at once.
  virtual void Repaint();
  // Paints what is invalid now.
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // The message goes through WindowProc; returns its Result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  const TWndMethod& WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethod proc) { windowProc_ = std::move(proc); }
  // The original WindowProc: mouse bookkeeping, then Dispatch.
  virtual void WndProc(TMessage& message);
  // Routes a message to its handler by number; DefaultHandler for the rest.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

 protected:
  friend class TWinControl;

  virtual String ReadText() { return text_; }
  virtual void WriteText(const String& text) { text_ = text; }
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();
  // Asks the parent to lay its aligned and anchored children out again.
  void RequestAlign();
  virtual bool IsWindowed() const { return false; }
  void Notification(TComponent* component, TOperation operation) override;
  // The action's properties reach the control; with checkDefaults (an
  // action assigned while it loads) only those the control left at their
  // defaults.
  virtual void ActionChange(TObject* sender, bool checkDefaults);
  virtual TControlActionLinkClass GetActionLinkClass();
  // Records the bounds that anchors keep relative to the parent's size.
  void UpdateAnchorRules();
  void ChangeBounds(int left, int top, int width, int height);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  String text_;

 private:
  void HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl);
  void FontChanged();

  TAlign align_ = alNone;
  TAnchors anchors_ = akLeft | akTop;
  TRect anchorBounds_;
  TSize anchorBase_;
  bool visible_ = true;
  bool enabled_ = true;
  std::unique_ptr<TFont> font_;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  bool parentFont_ = true;
  String hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TDragMode dragMode_ = dmManual;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState controlState_ = 0;
  TWndMethod windowProc_;
  std::unique_ptr<TControlActionLink> actionLink_;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
};

// An accelerator: the character after a single '&' in caption, compared
// without regard to case.
bool IsAccel(char ch, const String& caption);
// The top-level form that holds a control (nullptr when none).
TCustomForm* GetParentForm(TControl* control);

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }

  // The window, made on first use (with the parents' windows it needs).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // A window parent that is not a control (a window of another library).
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND window);
  // Destroys and remakes the window (after a style change).
  void RecreateWnd();
  static TWinControl* FindControl(HWND window);

  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The visible child at a client point (graphic and windowed children).
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = true);
  bool ContainsControl(TControl* control) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  // The window exists and it and every parent are visible.
  bool Showing();

  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  TBrush* Brush() { return &brush_; }

  void DisableAlign() { ++alignLevel_; }
  void EnableAlign();
  void Realign();

  // Docking (Docking.h): a dock site takes controls docked into it; with
  // UseDockManager its dock manager, made when both are set, lays them out.
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool value);
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool value);
  IDockManager* DockManager() const { return dockManager_.get(); }
  void SetDockManager(std::unique_ptr<IDockManager> manager);

  // Sends the message to every child until one answers non-zero.
  void Broadcast(TMessage& message);
  // Paints the control and its children into a device context at (x, y),
  // through WM_ERASEBKGND and WM_PRINTCLIENT.
  void PaintTo(HDC dc, int x, int y);

  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetVisible(bool visible) override;
  void SetParent(TWinControl* parent) override;
  void SetEnabled(bool enabled) override;

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Paints the visible graphic children that intersect the DC's clip box
  // (also for painters that draw the control's own content).
  void PaintControls(HDC dc);
 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  // Takes over the procedure and class data of a system control class.
  void CreateSubClass(TCreateParams& params, const char* controlClassName);
  void CreateHandle();
  void DestroyHandle();
  // Paints the window's own content; the default lets the window do it.
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);
  virtual void AdjustClientRect(TRect& rect) {}
  virtual void AlignControls(TControl* control, TRect& rect);
  // The manager a dock site gets: the base dock tree.
  virtual std::unique_ptr<IDockManager> CreateDockManager();

  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Whether a key is one the window takes itself (WM_GETDLGCODE).
  bool WantsKey(uint16_t key);

  bool IsWindowed() const override { return true; }
  String ReadText() override;
  void WriteText(const String& text) override;

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = DefWindowProcA;

 private:
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class TControl;
  void UpdateBounds();
  void UpdateShowing();
  void ReflectToChild(TMessage& m, HWND child);
  bool DoKeyDown(TMessage& m);
  bool DoKeyPress(TMessage& m);
  bool HandleDialogChar(TMessage& m);
  void RouteMouseToChild(TMessage& m);
  void HandleSetCursor(TMessage& m);
  void EraseBackground(HDC dc);

  HWND parentWindow_ = nullptr;
  bool dockSite_ = false;
  bool useDockManager_ = false;
  std::unique_ptr<IDockManager> dockManager_;
  std::vector<TControl*> controls_;       // every child, in z-order
  std::vector<TWinControl*> tabList_;     // windowed children, in tab order
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool ctl3D_ = true;
  int alignLevel_ = 0;
  bool realignPending_ = false;
  TBrush brush_;
};

// The canvas of a control: the window's DC, or for a graphic control its
// parent's DC moved and clipped to the control.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : control_(control) {}
  ~TControlCanvas() override { FreeHandle(); }
  // Gives the DC back (the next drawing gets a new one).
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;
  HWND window_ = nullptr;
  HDC ownedDC_ = nullptr;
};

// A windowed control that paints itself on its canvas in Paint.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  const char* ClassName() const override { return "TCustomControl"; }
  TCanvas* Canvas() { return &canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TControlCanvas canvas_;
};

// A control without a window, painted by its parent.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  const char* ClassName() const override { return "TGraphicControl"; }
  TCanvas* Canvas() { return &canvas_; }

  void Dispatch(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas canvas_;
};
