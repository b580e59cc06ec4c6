#include "foundation/vxControls.h"

#include <windowsx.h>

#include <algorithm>

#include "foundation/vdThemeManager.h"
#include "foundation/vxControlsBase.h"
#include "platform/ui/UtilWindow.h"
#include "platform/ui/WndProcThunk.h"

// --- Window, cursor and keyboard helpers -----------------------------------------

bool vxCanAllocateHandle(TWinControl* control) {
  if (control->HandleAllocated()) return true;
  if (control->IsDestroying()) return false;
  if (control->ParentWindow()) return true;
  if (TWinControl* parent = control->Parent()) return vxCanAllocateHandle(parent);
  return Application && Application->Handle() && dynamic_cast<TCustomForm*>(control);
}

bool vxThemeServicesEnabled() { return vdThemeClassesUsable(0); }

bool vxIsPointInDragDetectArea(TPoint downPoint, int x, int y) {
  return std::abs(x - downPoint.X) < vxDragThreshold && std::abs(y - downPoint.Y) < vxDragThreshold;
}

int vxDetectDragStart(HWND wnd, TPoint screenPoint) {
  const TRect square(screenPoint.X - vxDragThreshold, screenPoint.Y - vxDragThreshold,
                     screenPoint.X + vxDragThreshold, screenPoint.Y + vxDragThreshold);
  SetCapture(wnd);
  const int result = [&] {
    MSG msg;
    while (GetCapture() == wnd) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));  // for the loop that called us
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
          if (msg.wParam == VK_ESCAPE) return vxDragStartCancelled;
          break;
        case WM_MOUSEMOVE:
          if (msg.hwnd == wnd) {
            TPoint p(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            vxMapWindowPoint(wnd, nullptr, p);
            if (!vxIsPointInRect(square, p)) return vxDragStartDrag;
          }
          break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: return vxDragStartClick;
      }
    }
    return vxDragStartCancelled;  // the capture went, or the loop ended
  }();
  if (GetCapture() == wnd) ReleaseCapture();
  return result;
}

unsigned vxCurrentMouseKeyFlags() {
  static constexpr struct { int Key; unsigned Flag; } kKeys[] = {
      {VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_SHIFT, MK_SHIFT},
      {VK_CONTROL, MK_CONTROL}, {VK_MBUTTON, MK_MBUTTON},
  };
  unsigned flags = 0;
  for (const auto& k : kKeys)
    if (GetAsyncKeyState(k.Key) < 0) flags |= k.Flag;
  return flags;
}

unsigned vxDoubleClickTime() { return GetDoubleClickTime(); }

bool vxIsCtrlPressed() { return GetAsyncKeyState(VK_CONTROL) < 0; }

TPoint vxGetCursorPosition() {
  POINT p;
  if (!GetCursorPos(&p)) return TPoint(-1, -1);
  return TPoint(p);
}

bool vxShiftStateIsEmpty(TShiftState shift) {
  return (shift & (ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle | ssDouble)) == 0;
}

bool vxShiftStateIsLeftButtonOnly(TShiftState shift, bool allowDouble) {
  if (!(shift & ssLeft) || (shift & (ssShift | ssAlt | ssCtrl | ssRight | ssMiddle))) return false;
  return allowDouble || !(shift & ssDouble);
}

unsigned vxMouseKeyMaskFromShift(TShiftState shift) {
  unsigned mask = 0;
  if (shift & ssShift) mask |= MK_SHIFT;
  if (shift & ssCtrl) mask |= MK_CONTROL;
  if (shift & ssLeft) mask |= MK_LBUTTON;
  if (shift & ssRight) mask |= MK_RBUTTON;
  if (shift & ssMiddle) mask |= MK_MBUTTON;
  return mask;
}

TRect vxGetMonitorWorkArea(HMONITOR monitor) {
  RECT r{};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && GetMonitorInfoA(monitor, &info)) return TRect(info.rcWork);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return TRect(r);
}

TRect vxGetWorkAreaAtPoint(TPoint p) { return vxGetMonitorWorkArea(MonitorFromPoint(POINT(p), MONITOR_DEFAULTTONEAREST)); }

bool vxIsChildWindow(HWND wnd) { return (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD) != 0; }

bool vxIsWindowOrChild(HWND parent, HWND wnd) { return parent && (wnd == parent || IsChild(parent, wnd)); }

bool vxIsWindowEnabledInChain(HWND wnd) {
  if (!IsWindowEnabled(wnd)) return false;
  while (vxIsChildWindow(wnd)) {
    wnd = GetParent(wnd);
    if (!wnd) break;
    if (!IsWindowEnabled(wnd)) return false;
  }
  return true;
}

void vxMapWindowPoint(HWND from, HWND to, TPoint& p) {
  POINT pt = p;
  MapWindowPoints(from, to, &pt, 1);
  p = TPoint(pt);
}

void vxMapWindowRect(HWND from, HWND to, TRect& r) {
  TPoint topLeft = r.TopLeft(), bottomRight = TPoint(r.Right, r.Bottom);
  vxMapWindowPoint(from, to, topLeft);
  vxMapWindowPoint(from, to, bottomRight);
  r = TRect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
}

TRect vxWindowClientRectOrEmpty(HWND wnd) {
  RECT r;
  return GetClientRect(wnd, &r) ? TRect(r) : TRect();
}

TRect vxWindowScreenRectOrEmpty(HWND wnd) {
  RECT r;
  return GetWindowRect(wnd, &r) ? TRect(r) : TRect();
}

TRect vxControlScreenRectOrEmpty(TWinControl* control) {
  return control && control->HandleAllocated() ? vxWindowScreenRectOrEmpty(control->Handle()) : TRect();
}

// --- System menus ------------------------------------------------------------------

namespace {

void SetItemBitmap(HMENU menu, UINT command, HBITMAP bitmap) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = bitmap;
  SetMenuItemInfoA(menu, command, FALSE, &info);
}

void SetItemGreyed(HMENU menu, UINT command, bool greyed) {
  EnableMenuItem(menu, command, MF_BYCOMMAND | (greyed ? MF_GRAYED | MF_DISABLED : MF_ENABLED));
}

}  // namespace

HMENU vxLoadSystemMenuTemplate(int kind) {
  static constexpr int kIds[] = {16, 32, 48};
  if (kind < 0 || kind > 2) return nullptr;
  HMODULE user32 = GetModuleHandleA("user32.dll");
  HMENU menu = user32 ? LoadMenuA(user32, MAKEINTRESOURCEA(kIds[kind])) : nullptr;
  if (!menu) return nullptr;
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_STYLE | MIM_APPLYTOSUBMENUS;
  info.dwStyle = MNS_CHECKORBMP;
  SetMenuInfo(menu, &info);
  SetItemBitmap(menu, SC_CLOSE, HBMMENU_POPUP_CLOSE);
  if (kind != 2) {
    SetItemBitmap(menu, SC_MINIMIZE, HBMMENU_POPUP_MINIMIZE);
    SetItemBitmap(menu, SC_MAXIMIZE, HBMMENU_POPUP_MAXIMIZE);
    SetItemBitmap(menu, SC_RESTORE, HBMMENU_POPUP_RESTORE);
  }
  return menu;
}

void vxAdjustSystemMenu(HMENU sysMenu, HWND wnd, bool isDialog, unsigned options, bool lockUpdate) {
  if (!(options & 1)) return;
  if (lockUpdate) LockWindowUpdate(wnd);
  if (isDialog) {
    DeleteMenu(sysMenu, SC_TASKLIST, MF_BYCOMMAND);
    DeleteMenu(sysMenu, 7, MF_BYPOSITION);
    DeleteMenu(sysMenu, 5, MF_BYPOSITION);
    for (UINT command : {SC_MAXIMIZE, SC_MINIMIZE, SC_SIZE, SC_RESTORE}) DeleteMenu(sysMenu, command, MF_BYCOMMAND);
  }
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  if (IsIconic(wnd)) {
    SetItemGreyed(sysMenu, SC_SIZE, true);
    SetItemGreyed(sysMenu, SC_RESTORE, false);
    SetItemGreyed(sysMenu, SC_MINIMIZE, true);
    SetMenuDefaultItem(sysMenu, SC_RESTORE, FALSE);
  } else {
    SetItemGreyed(sysMenu, SC_SIZE, !(style & WS_THICKFRAME));
    SetItemGreyed(sysMenu, SC_RESTORE, true);
    SetItemGreyed(sysMenu, SC_MINIMIZE, !(style & WS_MINIMIZEBOX));
    SetMenuDefaultItem(sysMenu, SC_CLOSE, FALSE);
  }
  if (style & WS_MAXIMIZEBOX) {
    SetItemGreyed(sysMenu, SC_MAXIMIZE, false);
    SetItemGreyed(sysMenu, SC_MOVE, false);
    if (IsZoomed(wnd)) {
      SetItemGreyed(sysMenu, SC_SIZE, true);
      SetItemGreyed(sysMenu, SC_MAXIMIZE, true);
      SetItemGreyed(sysMenu, SC_RESTORE, false);
      const TRect window = vxWindowScreenRectOrEmpty(wnd);
      const TRect work = vxGetMonitorWorkArea(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST));
      const bool fillsWorkArea = window.Width() >= work.Width() || window.Height() >= work.Height();
      if ((style & WS_CHILD) || fillsWorkArea) SetItemGreyed(sysMenu, SC_MOVE, true);
    }
  } else {
    SetItemGreyed(sysMenu, SC_MAXIMIZE, true);
    SetItemGreyed(sysMenu, SC_MOVE, false);
  }
  if (lockUpdate) LockWindowUpdate(nullptr);
}

void vxCopyMenuItems(HMENU source, HMENU dest) {
  if (source == dest || !IsMenu(source) || !IsMenu(dest)) return;
  for (int i = GetMenuItemCount(dest); i-- > 0;) {
    const UINT id = GetMenuItemID(dest, i);
    if (id == UINT(-1) || !DeleteMenu(dest, id, MF_BYCOMMAND)) DeleteMenu(dest, i, MF_BYPOSITION);
  }
  const int count = GetMenuItemCount(source);
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA | MIIM_STRING |
                 MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(source, i, TRUE, &info)) continue;
    InsertMenuItemA(dest, i, TRUE, &info);
  }
  SetItemGreyed(dest, SC_CLOSE, true);
  SetItemGreyed(dest, SC_CLOSE, false);
}

// --- Popup menus -------------------------------------------------------------------

bool vxIsPopupMenuShortCut(TComponent* menu, TMessage& keyMessage) {
  auto* popup = Supports<IvxPopupMenuComponent>(menu);
  return popup && popup->IsShortCut(keyMessage);
}

bool vxShowPopupMenuFor(TControl* control, TComponent* menu, int x, int y) {
  if (auto* popup = Supports<IvxPopupMenuComponent>(menu)) {
    popup->Popup(x, y);
    return true;
  }
  auto* platformMenu = dynamic_cast<TPopupMenu*>(menu);
  if (!platformMenu || !platformMenu->AutoPopup()) return false;
  platformMenu->SetPopupComponent(control);
  platformMenu->Popup(x, y);
  return true;
}

int vxGetPopupMenuHeight(TPopupMenu* menu) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  TFont menuFont;
  menuFont.SetHandle(CreateFontIndirectA(&metrics.lfMenuFont));
  TvxScreenCanvas* canvas = vxScreenCanvasInstance();
  canvas->AssignFontObject(&menuFont);
  const int itemHeight = canvas->MeasureTextHeight("Qg") + 4;
  int column = 0, tallest = 0;
  for (int i = 0; i < menu->Count(); ++i) {
    const TMenuItem* item = menu->Items(i);
    if (!item->Visible()) continue;
    if (item->Break()) column = 0;
    column += itemHeight;
    tallest = std::max(tallest, column);
  }
  return tallest + 4;
}

// --- Hourglass ----------------------------------------------------------------------

namespace {
int hourglassLevel = 0;
TCursor hourglassSaved = crDefault;
}  // namespace

void vxBeginHourglassCursor() {
  if (hourglassLevel++ == 0 && Screen) {
    hourglassSaved = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
  }
}

void vxEndHourglassCursor() {
  if (hourglassLevel == 0) return;
  if (--hourglassLevel == 0 && Screen) Screen->SetCursor(hourglassSaved);
}

// --- Shared objects of the module ---------------------------------------------------

UINT vxSkinExclusionQueryMessage = 0;
UINT vxSkinRefreshMessage = 0;

namespace {

class TMouseTrackingTimer;

// What the module keeps from first use to its finalisation. Once it is
// finalising nothing is made again.
struct TModuleState {
  bool Finalizing = false;
  std::unique_ptr<TvxMessageWindow> MessageWindow;
  std::unique_ptr<TvxTimerWindow> TimerWindow;
  std::unique_ptr<std::map<UINT_PTR, TvxTimer*>> RunningTimers;
  std::unique_ptr<TvxWindowProcController> WindowProcController;
  std::unique_ptr<std::vector<std::unique_ptr<TMouseTrackingTimer>>> MouseTrackingTimers;
};

TModuleState& State() {
  static TModuleState state;
  return state;
}

template <typename T>
T* SharedObject(std::unique_ptr<T>& slot) {
  if (State().Finalizing) return nullptr;
  if (!slot) slot = std::make_unique<T>();
  return slot.get();
}

}  // namespace

TvxMessageWindow* vxGetMessageWindow() { return SharedObject(State().MessageWindow); }
TvxTimerWindow* vxSharedTimerWindow() { return SharedObject(State().TimerWindow); }
std::map<UINT_PTR, TvxTimer*>* vxRunningTimers() { return SharedObject(State().RunningTimers); }
TvxWindowProcController* vxGetWindowProcController() { return SharedObject(State().WindowProcController); }

// --- Message window and timers ------------------------------------------------

TvxMessageWindow::TvxMessageWindow() {
  handle_ = AllocateHWnd([this](TMessage& m) { HandleMessage(m); });
}

TvxMessageWindow::~TvxMessageWindow() { DeallocateHWnd(handle_); }

void TvxMessageWindow::HandleMessage(TMessage& m) { DefaultUtilMessage(handle_, m); }

void TvxTimerWindow::HandleMessage(TMessage& m) {
  if (m.Msg != WM_TIMER) return TvxMessageWindow::HandleMessage(m);
  // A tick of a timer that has stopped since it was queued finds no entry.
  std::map<UINT_PTR, TvxTimer*>* running = vxRunningTimers();
  if (!running) return;
  auto it = running->find(m.WParam);
  if (it != running->end()) it->second->Fire();
}

namespace {
// Ids start above 0 and only grow: a queued tick never matches a later timer.
UINT_PTR nextTimerId = 1;
}  // namespace

TvxTimer::TvxTimer(TComponent* owner) : TComponent(owner), timerId_(nextTimerId++) {}

TvxTimer::~TvxTimer() { Stop(); }

void TvxTimer::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Restart();
}

void TvxTimer::SetInterval(unsigned ms) {
  if (ms == 0 || ms == interval_) return;
  interval_ = ms;
  Restart();
}

void TvxTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  Restart();
}

void TvxTimer::Fire() {
  if (onTimer_) onTimer_(this);
}

void TvxTimer::Restart() {
  Stop();
  Start();
}

void TvxTimer::Start() {
  if (!enabled_ || running_ || !onTimer_) return;
  TvxTimerWindow* window = vxSharedTimerWindow();
  SetRunning(window && SetTimer(window->Handle(), timerId_, interval_, nullptr) != 0);
}

void TvxTimer::Stop() {
  if (!running_) return;
  if (TvxTimerWindow* window = vxSharedTimerWindow()) KillTimer(window->Handle(), timerId_);
  SetRunning(false);
}

void TvxTimer::SetRunning(bool value) {
  if (running_ == value) return;
  running_ = value;
  std::map<UINT_PTR, TvxTimer*>* running = vxRunningTimers();
  if (!running) return;
  if (value)
    (*running)[timerId_] = this;
  else
    running->erase(timerId_);
}

// --- Mouse tracking ---------------------------------------------------------------

namespace {

class TMouseTrackingTimer : public TvxTimer {
 public:
  TMouseTrackingTimer(TWinControl* control, const TRect& bounds, IvxMouseTrackingCaller* caller)
      : TvxTimer(nullptr), Caller(caller), Control(control), Bounds(bounds) {
    SetInterval(10);
    SetOnTimer([this](TObject*) { Tick(); });
  }

  IvxMouseTrackingCaller* const Caller;
  TWinControl* const Control;
  const TRect Bounds;

 private:
  bool Inside() {
    const TPoint cursor = vxGetCursorPosition();
    if (auto* hitTest = dynamic_cast<IvxMouseTrackingHitTest*>(Caller)) {
      if (!Control || !Control->HandleAllocated()) return false;
      TPoint p = cursor;
      vxMapWindowPoint(nullptr, Control->Handle(), p);
      return hitTest->PtInCaller(p);
    }
    return vxIsPointInRect(Bounds, cursor);
  }

  bool Gone() {
    return !Control || !Control->HandleAllocated() || !vxIsWindowEnabledInChain(Control->Handle());
  }

  void Tick() {
    const bool gone = Gone();
    if (Inside() && !gone) return;
    // The stop below frees this timer: keep what the rest needs.
    IvxMouseTrackingCaller* caller = Caller;
    if (Control && Control->HandleAllocated()) {
      TPoint p = vxGetCursorPosition();
      vxMapWindowPoint(nullptr, Control->Handle(), p);
      if (gone || !vxIsPointInRect(vxWindowClientRectOrEmpty(Control->Handle()), p))
        SendMessageA(Control->Handle(), CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Control));
    }
    caller->MouseTrackingLeave();
    vxStopMouseTracking(caller);
  }
};

std::vector<std::unique_ptr<TMouseTrackingTimer>>* MouseTrackingTimerList() {
  return SharedObject(State().MouseTrackingTimers);
}

}  // namespace

TvxTimer* vxFindMouseTrackingTimer(IvxMouseTrackingCaller* caller) {
  auto* list = MouseTrackingTimerList();
  if (!list) return nullptr;
  for (auto& timer : *list)
    if (timer->Caller == caller) return timer.get();
  return nullptr;
}

void vxStartMouseTracking(TWinControl* control, const TRect& bounds, IvxMouseTrackingCaller* caller) {
  auto* list = MouseTrackingTimerList();
  if (!list || vxFindMouseTrackingTimer(caller)) return;
  TRect screenBounds = bounds;
  if (control) vxMapWindowRect(control->Handle(), nullptr, screenBounds);
  list->push_back(std::make_unique<TMouseTrackingTimer>(control, screenBounds, caller));
}

void vxStopMouseTracking(IvxMouseTrackingCaller* caller) {
  auto* list = MouseTrackingTimerList();
  if (!list) return;
  auto it = std::find_if(list->begin(), list->end(), [caller](const auto& t) { return t->Caller == caller; });
  if (it != list->end()) list->erase(it);
}

bool vxIsMouseTrackingActive(IvxMouseTrackingCaller* caller) { return vxFindMouseTrackingTimer(caller) != nullptr; }

// --- Popup window -------------------------------------------------------------------

namespace {

// Step 2 of the placement on one axis: where the popup goes for an
// alignment, and the anchor point that picks the monitor.
struct AxisPlace {
  int Pos, Anchor;
};

AxisPlace PlaceOnAxis(TvxPopupWindowAlignment a, bool opensOnThisAxis, int ownerStart, int ownerEnd, int size) {
  switch (a) {
    case pwaCenter: {
      const int pos = (ownerStart + ownerEnd - size) / 2;
      return {pos, pos};
    }
    case pwaStart: return {opensOnThisAxis ? ownerStart - size : ownerStart, ownerStart};
    case pwaEnd: return {opensOnThisAxis ? ownerEnd : ownerEnd - size, ownerEnd};
  }
  return {ownerStart, ownerStart};
}

// Flips the alignment on the axis the popup opens on when it overflows the
// work area and the other side has more room; then places it again.
void FlipOnAxis(TvxPopupWindowAlignment& a, AxisPlace& place, int ownerStart, int ownerEnd, int size, int workStart,
                int workEnd) {
  const bool moreRoomBefore = workEnd - ownerEnd < ownerStart - workStart;
  if (a == pwaEnd && place.Pos + size > workEnd && moreRoomBefore)
    a = pwaStart;
  else if (a == pwaStart && place.Pos < workStart && !moreRoomBefore)
    a = pwaEnd;
  place = PlaceOnAxis(a, true, ownerStart, ownerEnd, size);
}

int ClampOnAxis(int pos, int size, int workStart, int workEnd) {
  if (pos + size > workEnd) pos = workEnd - size;
  return std::max(pos, workStart);
}

}  // namespace

TPoint vxCalculatePopupPosition(const TvxPopupPlacement& p, const std::function<TRect(TPoint)>& workAreaAt) {
  TvxPopupWindowAlignment horz = p.Horz, vert = p.Vert;
  const bool vertical = p.Direction == pwdVertical;
  AxisPlace x = PlaceOnAxis(horz, !vertical, p.Owner.Left, p.Owner.Right, p.Width);
  AxisPlace y = PlaceOnAxis(vert, vertical, p.Owner.Top, p.Owner.Bottom, p.Height);
  const TRect work = workAreaAt(TPoint(x.Anchor, y.Anchor));
  if (vertical && vert != pwaCenter)
    FlipOnAxis(vert, y, p.Owner.Top, p.Owner.Bottom, p.Height, work.Top, work.Bottom);
  if (!vertical && horz != pwaCenter)
    FlipOnAxis(horz, x, p.Owner.Left, p.Owner.Right, p.Width, work.Left, work.Right);
  if (vertical || horz == pwaCenter) x.Pos = ClampOnAxis(x.Pos, p.Width, work.Left, work.Right);
  if (!vertical || vert == pwaCenter) y.Pos = ClampOnAxis(y.Pos, p.Height, work.Top, work.Bottom);
  return TPoint(x.Pos, y.Pos);
}

TvxPopupWindow::TvxPopupWindow() : TForm(nullptr) {
  SetBorderStyle(bsNone);
  vxCanvas_ = std::make_unique<TvxCanvas>(Canvas());
}

TvxPopupWindow::~TvxPopupWindow() = default;

void TvxPopupWindow::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle |= WS_EX_TOPMOST;
}

void TvxPopupWindow::SetFrameStyle(TvxPopupFrameStyle value) {
  const int left = GetSideIndent(bLeft), top = GetSideIndent(bTop);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    child->SetBounds(child->Left() - left, child->Top() - top, child->Width(), child->Height());
  }
  frameStyle_ = value;
}

int TvxPopupWindow::GetFrameWidth(TvxBorder) {
  switch (frameStyle_) {
    case pfsFlat:
    case pfsSingle3D: return 1;
    case pfsDouble3D: return 2;
    case pfsNone: break;
  }
  return 0;
}

TRect TvxPopupWindow::GetInnerRect() {
  TRect r = ClientRect();
  r.Left += GetSideIndent(bLeft);
  r.Top += GetSideIndent(bTop);
  r.Right -= GetSideIndent(bRight);
  r.Bottom -= GetSideIndent(bBottom);
  return r;
}

TRect TvxPopupWindow::GetOwnerScreenBounds() {
  if (!anchorParent_) return anchorBounds_;
  const TPoint topLeft = anchorParent_->ClientToScreen(anchorBounds_.TopLeft());
  const TPoint bottomRight = anchorParent_->ClientToScreen(TPoint(anchorBounds_.Right, anchorBounds_.Bottom));
  return TRect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
}

void TvxPopupWindow::InheritOwnerFont() {
  if (anchorParent_) Font()->Assign(anchorParent_->Font());
}

void TvxPopupWindow::CalculatePosition(TPoint& p) {
  TvxPopupPlacement placement;
  placement.Owner = GetOwnerScreenBounds();
  placement.Width = Width();
  placement.Height = Height();
  placement.Horz = horzAlignment_;
  placement.Vert = vertAlignment_;
  placement.Direction = direction_;
  p = vxCalculatePopupPosition(placement, vxGetWorkAreaAtPoint);
}

void TvxPopupWindow::FitToContents() {
  if (!autoFitContents_ || ControlCount() == 0) return;
  const int left = GetSideIndent(bLeft), top = GetSideIndent(bTop);
  int maxRight = 0, maxBottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    maxRight = std::max(maxRight, child->Left() + child->Width());
    maxBottom = std::max(maxBottom, child->Top() + child->Height());
    child->SetBounds(child->Left() + left, child->Top() + top, child->Width(), child->Height());
  }
  // Children of no size (or all left of or above the origin) still leave a
  // window of at least one pixel.
  SetWidth(std::max(1, left + maxRight + GetSideIndent(bRight)));
  SetHeight(std::max(1, top + maxBottom + GetSideIndent(bBottom)));
}

void TvxPopupWindow::ShowPopup() {
  InheritOwnerFont();
  FitToContents();
  TPoint p;
  CalculatePosition(p);
  SetBounds(p.X, p.Y, Width(), Height());
  Show();
}

void TvxPopupWindow::PaintFrame() {
  const TRect r(0, 0, Width(), Height());
  switch (frameStyle_) {
    case pfsFlat: vxCanvas_->DrawFrameSides(r, frameLineColor_, 1, vxAllBorders, false); break;
    case pfsSingle3D: vxCanvas_->DrawEdge3D(r, false, false, vxAllBorders); break;
    case pfsDouble3D:
      vxCanvas_->DrawEdge3D(r, false, true, vxAllBorders);
      vxCanvas_->DrawEdge3D(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), false, false, vxAllBorders);
      break;
    case pfsNone: break;
  }
}

void TvxPopupWindow::Paint() {
  TForm::Paint();
  PaintFrame();
}

void TvxPopupWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ACTIVATE:
      TForm::Dispatch(m);
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        activatingWindow_ = reinterpret_cast<HWND>(m.LParam);
        if (activatingWindow_) SendMessageA(activatingWindow_, WM_NCACTIVATE, 1, 0);
      } else {
        HidePopup();
      }
      return;
    case WM_ACTIVATEAPP:
      DefaultHandler(m);
      if (m.WParam == 0) {
        if (activatingWindow_) SendMessageA(activatingWindow_, WM_NCACTIVATE, 0, 0);
        HidePopup();
      }
      return;
    case CM_VISIBLECHANGED:
      TForm::Dispatch(m);
      VisibilityChanged();
      return;
    default: TForm::Dispatch(m);
  }
}

// --- Drag image and size frame --------------------------------------------------

TvxCustomDragImage::TvxCustomDragImage() { SetBounds(0, 0, 0, 0); }

void TvxCustomDragImage::CreateParams(TCreateParams& params) {
  TvxPopupWindow::CreateParams(params);
  if (hostControl_)
    params.WndParent = hostControl_->Handle();
  else if (Screen && Screen->ActiveForm())
    params.WndParent = Screen->ActiveForm()->Handle();
  params.WindowClass.style |= CS_SAVEBITS;
  if (alphaBlend_) params.ExStyle |= WS_EX_LAYERED;
}

void TvxCustomDragImage::CreateWnd() {
  TvxPopupWindow::CreateWnd();
  ApplyAlphaBlend();
}

void TvxCustomDragImage::SetAlphaBlend(bool value) {
  if (alphaBlend_ == value) return;
  alphaBlend_ = value;
  if (!HandleAllocated()) return;
  const LONG_PTR exStyle = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
  SetWindowLongPtrA(handle_, GWL_EXSTYLE, value ? exStyle | WS_EX_LAYERED : exStyle & ~LONG_PTR(WS_EX_LAYERED));
  ApplyAlphaBlend();
}

void TvxCustomDragImage::ApplyAlphaBlend() {
  if (alphaBlend_) SetLayeredWindowAttributes(handle_, 0, alphaBlendValue_, LWA_ALPHA);
}

void TvxCustomDragImage::ShowWindowAs(int cmdShow) {
  ShowWindow(Handle(), cmdShow);
  Update();
}

void TvxCustomDragImage::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_NCHITTEST: m.Result = HTTRANSPARENT; return;
    default: TvxPopupWindow::Dispatch(m);
  }
}

TvxSizeFrame::TvxSizeFrame(int frameWidth)
    : frameWidth_(frameWidth), frameRegion_(std::make_unique<TvxRegion>()), pattern_(std::make_unique<TBitmap>()) {
  SetAlphaBlend(false);
  // An 8 x 8 checkerboard of black and white: the brush hatches half the
  // pixels of whatever lies under the frame's outline.
  pattern_->SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern_->Canvas()->SetPixel(x, y, (x + y) % 2 ? clWhite : clBlack);
  Canvas()->Brush()->SetBitmap(pattern_.get());
}

TvxSizeFrame::~TvxSizeFrame() = default;

void TvxSizeFrame::Paint() { Canvas()->FillRect(ClientRect()); }

void TvxSizeFrame::UpdateFrameRect(const TRect& r) {
  frameRegion_ = std::make_unique<TvxRegion>(0, 0, r.Width(), r.Height());
  SetBoundsRect(r);
}

void TvxSizeFrame::SetBounds(int left, int top, int width, int height) {
  TvxCustomDragImage::SetBounds(left, top, width, height);
  if (!frameRegion_ || !HandleAllocated() || 2 * frameWidth_ >= width || 2 * frameWidth_ >= height) return;
  // The outline: the region minus its erosion by FrameWidth on every side.
  TvxRegion eroded;
  eroded.CombineWith(*frameRegion_, roSet);
  const TPoint shifts[] = {{frameWidth_, 0}, {0, frameWidth_}, {-frameWidth_, 0}, {0, -frameWidth_}};
  for (const TPoint& s : shifts) {
    TvxRegion shifted;
    shifted.CombineWith(*frameRegion_, roSet);
    shifted.Shift(s.X, s.Y);
    eroded.CombineWith(shifted, roIntersect);
  }
  frameRegion_->CombineWith(eroded, roSubtract);
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  const bool same = GetWindowRgn(handle_, current) != ERROR && frameRegion_->SameAsHandle(current);
  DeleteObject(current);
  if (same) return;
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(copy, frameRegion_->Handle(), nullptr, RGN_COPY);
  SetWindowRgn(handle_, copy, TRUE);  // the system owns the copy now
}

// --- Window-procedure chaining ------------------------------------------------------

// The hooks of one control or window, oldest first, the base procedure at
// the head. Dispatch runs the newest. Hooks removed while a dispatch runs
// are unlinked at once but freed only when the outermost dispatch returns,
// since the hook's own code may still be running (and pass the message on
// through its links); the controller keeps a list that lost its last hook
// that way until then.
class TvxWindowProcLinkedObjectList : public std::enable_shared_from_this<TvxWindowProcLinkedObjectList> {
 public:
  TvxWindowProcLinkedObjectList(TControl* control, HWND wnd) : control_(control), handle_(wnd) {}

  ~TvxWindowProcLinkedObjectList() {
    // The base procedure goes back only when ours is still the one in
    // place: a subclass someone made on top of ours keeps calling ours,
    // which then passes straight to the base procedure (see Dispatcher).
    if (control_ && !controlDestroyed_) {
      const auto* installed = control_->WindowProc().target<Dispatcher>();
      if (installed && installed->Owner == this) control_->SetWindowProc(baseProc_);
    }
    subclass_.reset();
  }

  TControl* Control() const { return control_; }
  HWND Handle() const { return handle_; }
  TvxWindowProcLinkedObject* Last() const { return last_; }

  // Puts the list's dispatcher in place of the current procedure and links
  // that procedure as the first object.
  void Install() {
    if (control_) {
      baseProc_ = control_->WindowProc();
      control_->SetWindowProc(Dispatcher{this, weak_from_this(), baseProc_});
    } else {
      subclass_ = std::make_unique<TWindowSubclass>(handle_, Dispatcher{this, weak_from_this(), nullptr});
      TWindowSubclass* subclass = subclass_.get();
      const HWND wnd = handle_;
      const WNDPROC previous = subclass->PreviousProc();
      baseProc_ = [wnd, previous](TMessage& m) { m.Result = CallWindowProcA(previous, wnd, m.Msg, m.WParam, m.LParam); };
    }
    Add(baseProc_);
  }

  TvxWindowProcLinkedObject* Add(TWndMethod proc) {
    auto object = std::make_unique<TvxWindowProcLinkedObject>();
    object->Control = control_;
    object->Handle = handle_;
    object->WindowProc = std::move(proc);
    object->Prev = last_;
    if (last_) last_->Next = object.get();
    last_ = object.get();
    objects_.push_back(std::move(object));
    return last_;
  }

  // False when object is not in this list.
  bool Remove(TvxWindowProcLinkedObject* object) {
    auto it = std::find_if(objects_.begin(), objects_.end(), [object](const auto& o) { return o.get() == object; });
    if (it == objects_.end()) return false;
    if (object->Prev) object->Prev->Next = object->Next;
    if (object->Next) object->Next->Prev = object->Prev;
    if (last_ == object) last_ = static_cast<TvxWindowProcLinkedObject*>(object->Prev);
    // Its own links stay as they were: a hook that unhooked itself may
    // still pass the message it is handling on to its Prev.
    if (dispatchDepth_ > 0) retired_.push_back(std::move(*it));
    objects_.erase(it);
    return true;
  }

  bool OnlyBaseLeft() const { return last_ && !last_->Prev; }
  bool Dispatching() const { return dispatchDepth_ > 0; }
  // The control is gone: there is no procedure to put back.
  void ControlDestroyed() { controlDestroyed_ = true; }

 private:
  // The procedure installed in the control or window. Without its list
  // (every hook removed while someone else's subclass sat on top) it passes
  // messages to the base procedure.
  struct Dispatcher {
    const TvxWindowProcLinkedObjectList* Owner;
    std::weak_ptr<TvxWindowProcLinkedObjectList> List;
    TWndMethod Fallback;
    void operator()(TMessage& m) const {
      if (auto list = List.lock()) return list->Dispatch(m);
      if (Fallback) Fallback(m);
    }
  };

  void Dispatch(TMessage& m) {
    struct Depth {
      TvxWindowProcLinkedObjectList& L;
      explicit Depth(TvxWindowProcLinkedObjectList& l) : L(l) { ++L.dispatchDepth_; }
      ~Depth() {
        if (--L.dispatchDepth_ == 0) L.retired_.clear();
      }
    } depth(*this);
    last_->WindowProc(m);
  }

  TControl* control_;
  HWND handle_;
  TWndMethod baseProc_;
  std::unique_ptr<TWindowSubclass> subclass_;
  std::vector<std::unique_ptr<TvxWindowProcLinkedObject>> objects_;
  std::vector<std::unique_ptr<TvxWindowProcLinkedObject>> retired_;
  TvxWindowProcLinkedObject* last_ = nullptr;
  int dispatchDepth_ = 0;
  bool controlDestroyed_ = false;
};

class TvxWindowProcController::TControlWatcher : public TComponent {
 public:
  explicit TControlWatcher(TvxWindowProcController& controller) : TComponent(nullptr), controller_(controller) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) controller_.ControlDestroyed(static_cast<TControl*>(component));
  }

 private:
  TvxWindowProcController& controller_;
};

TvxWindowProcController::TvxWindowProcController() : watcher_(std::make_unique<TControlWatcher>(*this)) {}

TvxWindowProcController::~TvxWindowProcController() {
  // The lists go first: restoring a procedure must not call back here.
  lists_.clear();
  retired_.clear();
  orphans_.clear();
}

void TvxWindowProcController::ControlDestroyed(TControl* control) {
  auto it = std::find_if(lists_.begin(), lists_.end(), [control](const auto& l) { return l->Control() == control; });
  if (it == lists_.end()) return;
  (*it)->ControlDestroyed();
  orphans_.push_back(*it);
  lists_.erase(it);
}

void TvxWindowProcController::FreeRetiredLists() {
  std::erase_if(retired_, [](const auto& list) { return !list->Dispatching(); });
}

TvxWindowProcLinkedObjectList* TvxWindowProcController::FindList(TControl* control, HWND wnd) const {
  for (const auto& list : lists_)
    if (control ? list->Control() == control : (!list->Control() && list->Handle() == wnd)) return list.get();
  return nullptr;
}

TvxWindowProcLinkedObject* TvxWindowProcController::HookControlWindowProc(TControl* control, TWndMethod windowProc) {
  if (!control) return nullptr;
  FreeRetiredLists();
  if (TvxWindowProcLinkedObjectList* list = FindList(control, nullptr)) return list->Add(std::move(windowProc));
  watcher_->FreeNotification(control);
  return AddHook(std::make_shared<TvxWindowProcLinkedObjectList>(control, nullptr), std::move(windowProc));
}

TvxWindowProcLinkedObject* TvxWindowProcController::HookHandleWindowProc(HWND wnd, TWndMethod windowProc) {
  if (!wnd) return nullptr;
  FreeRetiredLists();
  if (TvxWindowProcLinkedObjectList* list = FindList(nullptr, wnd)) return list->Add(std::move(windowProc));
  return AddHook(std::make_shared<TvxWindowProcLinkedObjectList>(nullptr, wnd), std::move(windowProc));
}

TvxWindowProcLinkedObject* TvxWindowProcController::AddHook(std::shared_ptr<TvxWindowProcLinkedObjectList> list,
                                                            TWndMethod windowProc) {
  list->Install();
  lists_.push_back(list);
  return list->Add(std::move(windowProc));
}

void TvxWindowProcController::UnhookWindowProc(TvxWindowProcLinkedObject*& linkedObject) {
  if (!linkedObject) return;
  FreeRetiredLists();
  TvxWindowProcLinkedObjectList* list = FindList(linkedObject->Control, linkedObject->Handle);
  const bool removed = list && list->Remove(linkedObject);
  linkedObject = nullptr;
  if (!removed || !list->OnlyBaseLeft()) return;
  auto it = std::find_if(lists_.begin(), lists_.end(), [list](const auto& l) { return l.get() == list; });
  if (list->Control()) watcher_->RemoveFreeNotification(list->Control());
  if (list->Dispatching()) retired_.push_back(*it);
  lists_.erase(it);
}

void vxCallPreviousWindowProc(TvxWindowProcLinkedObject* linkedObject, TMessage& message) {
  if (auto* prev = static_cast<TvxWindowProcLinkedObject*>(linkedObject->Prev)) prev->WindowProc(message);
}

// --- Module start and stop ------------------------------------------------------

const TvxCursorResource vxCursorResources[16] = {
    {crvxDragCopy, "VX_DRAGCOPYCURSOR"},       {crvxFullScroll, "VX_FULLSCROLLCURSOR"},
    {crvxHorScroll, "VX_HORSCROLLCURSOR"},     {crvxVerScroll, "VX_VERSCROLLCURSOR"},
    {crvxUpScroll, "VX_UPSCROLLCURSOR"},       {crvxRightScroll, "VX_RIGHTSCROLLCURSOR"},
    {crvxDownScroll, "VX_DOWNSCROLLCURSOR"},   {crvxLeftScroll, "VX_LEFTSCROLLCURSOR"},
    {crvxRemove, "VX_REMOVECURSOR"},           {crvxVertSize, "VX_VERTSIZECURSOR"},
    {crvxHorzSize, "VX_HORZSIZECURSOR"},       {crvxMultiDrag, "VX_MULTIDRAGCURSOR"},
    {crvxNoDrop, "VX_NODROPCURSOR"},           {crvxDrag, "VX_DRAGCURSOR"},
    {crvxColorPicker, "VX_COLORPICKERCURSOR"}, {crvxMultiDragCopy, "VX_MULTIDRAGCOPYCURSOR"},
};

void vxControlsInitialize() {
  State().Finalizing = false;
  vxControlsBaseInitialize();
  if (Screen) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const TvxCursorResource& c : vxCursorResources) Screen->SetCursors(c.Id, LoadCursorA(instance, c.Name));
    Screen->SetCursors(crvxHandPoint, LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
  }
  vxSkinExclusionQueryMessage = RegisterWindowMessageA("{B2CE3777-44D8-4998-9701-47BBBC10B656}");
  vxSkinRefreshMessage = RegisterWindowMessageA("{B2CE3777-44D8-1321-4656-12C54AA613BB}");
}

void vxControlsFinalize() {
  vxControlsBaseFinalize();
  TModuleState& state = State();
  state.Finalizing = true;
  // Trackers still running (a control that never saw the mouse leave) are
  // stopped and freed like the rest, so that nothing after them is skipped.
  state.MouseTrackingTimers.reset();
  state.TimerWindow.reset();
  state.RunningTimers.reset();
  state.MessageWindow.reset();
  state.WindowProcController.reset();
}
