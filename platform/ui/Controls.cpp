#include "platform/ui/Controls.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "platform/ui/Actions.h"
#include "platform/ui/Docking.h"
#include "platform/ui/Forms.h"

// --- Host, shift states ----------------------------------------------------------

namespace {

TControlsHost* host = nullptr;

// The control under the mouse, for CM_MOUSEENTER / CM_MOUSELEAVE.
TControl* mouseControl = nullptr;
// A graphic control that holds the mouse capture through its parent window.
TControl* captureControl = nullptr;

// Which control each window of the process belongs to. The window
// procedure asks at every message; a window property would do, but under
// Wine every property read is a round trip to the server. An entry goes
// with WM_NCDESTROY, the window's last message.
class TWindowControls {
 public:
  void Set(HWND window, TWinControl* control) {
    std::lock_guard<std::mutex> lock(mutex_);
    controls_[window] = control;
  }
  void Remove(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    controls_.erase(window);
  }
  TWinControl* Find(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = controls_.find(window);
    return it == controls_.end() ? nullptr : it->second;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HWND, TWinControl*> controls_;
};

TWindowControls& WindowControls() {
  static TWindowControls controls;
  return controls;
}

// The signed client coordinates packed in a mouse message.
int MouseX(LPARAM l) { return short(LOWORD(l)); }
int MouseY(LPARAM l) { return short(HIWORD(l)); }

// The off-screen bitmap of double-buffered paints: one for the UI thread,
// grown to the largest client painted, instead of a bitmap made and freed
// at every paint. A paint that starts while it is in use (a control that
// paints another window from inside its own paint) gets a bitmap of its own.
class TPaintBuffer {
 public:
  ~TPaintBuffer() {
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  // A memory DC of at least width x height compatible with screen, or
  // nullptr when the shared one is in use or cannot be made.
  HDC Acquire(HDC screen, int width, int height) {
    if (inUse_) return nullptr;
    if (!dc_ && !(dc_ = CreateCompatibleDC(screen))) return nullptr;
    if (!bitmap_ || width > width_ || height > height_) {
      const int w = std::max(width, width_), h = std::max(height, height_);
      HBITMAP grown = CreateCompatibleBitmap(screen, w, h);
      if (!grown) return nullptr;
      SelectObject(dc_, grown);
      if (bitmap_) DeleteObject(bitmap_);
      bitmap_ = grown;
      width_ = w;
      height_ = h;
    }
    inUse_ = true;
    return dc_;
  }
  void Release() { inUse_ = false; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  bool inUse_ = false;
};

thread_local TPaintBuffer paintBuffer;

}  // namespace

void SetControlsHost(TControlsHost* h) { host = h; }
TControlsHost* ControlsHost() { return host; }

void HandleControlException(TObject* sender) {
  if (host) return host->HandleException(sender);
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONSTOP);
  }
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (keyData & 0x20000000) s |= ssAlt;
  return s;
}

TShiftState MouseKeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

bool IsAccel(char ch, const String& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return AnsiUpperCase(std::string_view(&ch, 1)) == AnsiUpperCase(std::string_view(&caption[i + 1], 1));
  }
  return false;
}

TCustomForm* GetParentForm(TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

// Sets the mouse control, telling the old one it was left and the new one
// it was entered. Each then tells its parents, naming itself in LParam.
static void SetMouseControl(TControl* control) {
  if (mouseControl == control) return;
  TControl* old = mouseControl;
  mouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

// --- TControl ------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  windowProc_ = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  actionLink_.reset();
  if (host) host->ControlDestroyed(this);
  if (mouseControl == this) mouseControl = nullptr;
  if (captureControl == this) captureControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
}

void TControl::FontChanged() {
  parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the handler may replace WindowProc while it runs.
  TWndMethod proc = windowProc_;
  proc(m);
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  ChangeBounds(left, top, width, height);
  UpdateAnchorRules();
}

void TControl::ChangeBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (parent_ && visible_) parent_->Invalidate();
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (parent_ && visible_) Invalidate();
  RequestAlign();
  Resize();
}

void TControl::UpdateAnchorRules() {
  anchorBounds_ = BoundsRect();
  if (parent_) {
    TRect r = parent_->ClientRect();
    anchorBase_ = {r.Width(), r.Height()};
  }
}

TRect TControl::ClientRect() { return TRect(0, 0, width_, height_); }

void TControl::SetClientSize(int width, int height) {
  TRect client = ClientRect();
  SetBounds(left_, top_, width_ + width - client.Width(), height_ + height - client.Height());
}

TPoint TControl::ClientOrigin() {
  if (!parent_) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  TPoint o = parent_->ClientOrigin();
  return {o.X + left_, o.Y + top_};
}

void TControl::SetAlign(TAlign align) {
  if (align_ == align) return;
  align_ = align;
  RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
  anchors_ = anchors;
  UpdateAnchorRules();
}

void TControl::RequestAlign() {
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  if (!visible && parent_) parent_->Invalidate();
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible);
  if (visible) Invalidate();
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const String& text) {
  if (ReadText() == text) return;
  WriteText(text);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (parent_ && value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (parentFont_ == value) return;
  parentFont_ = value;
  if (parent_ && value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  if (value && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor_ == cursor) return;
  cursor_ = cursor;
  Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() {
  if (IsWindowed()) {
    HWND h = static_cast<TWinControl*>(this)->handle_;
    return h && GetCapture() == h;
  }
  return captureControl == this;
}

void TControl::SetMouseCapture(bool value) {
  if (MouseCapture() == value) return;
  if (!value) {
    captureControl = nullptr;
    ReleaseCapture();
    return;
  }
  if (IsWindowed()) {
    captureControl = nullptr;
    SetCapture(static_cast<TWinControl*>(this)->Handle());
  } else if (parent_ && parent_->HandleAllocated()) {
    captureControl = this;
    SetCapture(parent_->Handle());
  }
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !(controlStyle_ & csOpaque));
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated())
    SetWindowPos(static_cast<TWinControl*>(this)->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated())
    SetWindowPos(static_cast<TWinControl*>(this)->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Invalidate();
}

void TControl::Click() {
  if (OnClick)
    OnClick(this);
  else if (actionLink_)
    actionLink_->Execute();
}

// --- TControl: action ------------------------------------------------------------------

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
  TBasicAction* old = Action();
  if (old == action && (action || !actionLink_)) return;
  if (old) old->RemoveFreeNotification(this);
  actionLink_.reset();
  if (!action) return;
  actionLink_ = GetActionLinkClass()(this);
  actionLink_->SetAction(action);
  actionLink_->OnChange = [this](TObject* sender) { ActionChange(sender, false); };
  action->FreeNotification(this);
  ActionChange(action, action->IsLoading());
}

TControlActionLinkClass TControl::GetActionLinkClass() { return &NewActionLink<TControlActionLink>; }

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
  if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!checkDefaults || hint_.empty()) SetHint(action->Hint());
  if (!checkDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::UpdateAction() {
  if (actionLink_) actionLink_->Update();
}

// A freed action has detached the link already; an action leaving its
// owner is still whole.
void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && actionLink_ && (!actionLink_->Action() || component == actionLink_->Action()))
    SetAction(nullptr);
}

// --- TControl: direction ---------------------------------------------------------------

void TControl::SetBiDiMode(TBiDiMode value) {
  parentBiDiMode_ = false;
  if (biDiMode_ == value) return;
  biDiMode_ = value;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
  if (parentBiDiMode_ == value) return;
  parentBiDiMode_ = value;
  if (parent_ && value) Perform(CM_PARENTBIDIMODECHANGED);
}

UINT TControl::DrawTextBiDiModeFlags(UINT flags) const {
  if (UseRightToLeftAlignment()) {
    if (flags & DT_RIGHT)
      flags &= ~UINT(DT_RIGHT);
    else if (!(flags & DT_CENTER))
      flags |= DT_RIGHT;
  }
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  return flags;
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    if (m.Msg == WM_MOUSEMOVE) SetMouseControl(this);
    if (host) host->HintMouseMessage(this, m);
  }
  Dispatch(m);
}

// A system control handles the button itself first (a push button presses
// and captures), then the events follow.
void TControl::HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl) {
  DefaultHandler(m);
  TShiftState shift = MouseKeysToShiftState(m.WParam) | (dbl ? ssDouble : 0);
  int x = MouseX(m.LParam), y = MouseY(m.LParam);
  if (down) {
    if (button == mbLeft) {
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
      if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
      controlState_ |= csLButtonDown;
      if (dbl && (controlStyle_ & csDoubleClicks)) DblClick();
    }
    MouseDown(button, shift, x, y);
    return;
  }
  if (button == mbLeft) {
    controlState_ &= ~csLButtonDown;
    if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
    if (controlState_ & csClicked) {
      controlState_ &= ~csClicked;
      if (ClientRect().Contains({x, y})) Click();
    }
  }
  MouseUp(button, shift, x, y);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: return HandleMouseButton(m, mbLeft, true, false);
    case WM_LBUTTONDBLCLK: return HandleMouseButton(m, mbLeft, true, true);
    case WM_LBUTTONUP: return HandleMouseButton(m, mbLeft, false, false);
    case WM_RBUTTONDOWN: return HandleMouseButton(m, mbRight, true, false);
    case WM_RBUTTONDBLCLK: return HandleMouseButton(m, mbRight, true, true);
    case WM_RBUTTONUP: return HandleMouseButton(m, mbRight, false, false);
    case WM_MBUTTONDOWN: return HandleMouseButton(m, mbMiddle, true, false);
    case WM_MBUTTONDBLCLK: return HandleMouseButton(m, mbMiddle, true, true);
    case WM_MBUTTONUP: return HandleMouseButton(m, mbMiddle, false, false);
    case WM_MOUSEMOVE:
      DefaultHandler(m);
      MouseMove(MouseKeysToShiftState(m.WParam), MouseX(m.LParam), MouseY(m.LParam));
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // LParam 0: this control itself; otherwise a child passing it on.
      if (m.LParam == 0) {
        const TNotifyEvent& event = m.Msg == CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
        if (event) event(this);
      }
      if (parent_) parent_->Perform(m.Msg, 0, m.LParam ? m.LParam : LPARAM(this));
      return;
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED:
      Invalidate();
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        // Through SetColor so that CM_COLORCHANGED is sent, then keep the link.
        SetColor(parent_->Color());
        parentColor_ = true;
      }
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        font_->Assign(parent_->Font());
        parentFont_ = true;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
      return;
    case CM_BIDIMODECHANGED: Invalidate(); return;
    case CM_PARENTBIDIMODECHANGED:
      if (parentBiDiMode_ && parent_) {
        SetBiDiMode(parent_->BiDiMode());
        parentBiDiMode_ = true;
      }
      return;
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage& m) {}

// --- TWinControl: windows and the window procedure --------------------------------------

namespace {

// The control whose window CreateWindowEx is making on this thread.
thread_local TWinControl* creatingControl = nullptr;

// A child window's control identifier, unique among its siblings: messages
// that name a child by identifier alone (WM_MEASUREITEM, which an owner-draw
// list sends while it is being created, and whatever GetDlgItem looks up)
// must reach that child and not the first one. Identifiers stay within 16
// bits, as WM_COMMAND carries them, and are never 0.
UINT_PTR NewChildId(HWND parent) {
  static std::atomic<UINT> counter{0};
  for (;;) {
    const UINT id = counter.fetch_add(1, std::memory_order_relaxed) % 0xFFFF + 1;
    if (!parent || !GetDlgItem(parent, int(id))) return id;
  }
}

}  // namespace

LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = WindowControls().Find(window);
  if (!control && creatingControl) {
    control = creatingControl;
    creatingControl = nullptr;
    control->handle_ = window;
    WindowControls().Set(window, control);
  }
  if (!control) return DefWindowProcA(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    TWndMethod proc = control->WindowProc();
    proc(m);
  } catch (...) {
    HandleControlException(control);
  }
  if (msg == WM_NCDESTROY) {
    WindowControls().Remove(window);
    if (control->handle_ == window) control->handle_ = nullptr;
  }
  return m.Result;
}

TWinControl* TWinControl::FindControl(HWND window) {
  if (!window) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return WindowControls().Find(window);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  brush_.SetColor(Color());
}

TWinControl::~TWinControl() {
  // The dock manager hands the window procedure back while the site is
  // whole.
  dockManager_.reset();
  DestroyComponents();
  Destroying();
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->ControlDestroyed(this);
  // Children without an owner that would free them still point here.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  if (parent_) parent_->RemoveControl(this);
  DestroyHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle() & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
  if (tabStop_) p.Style |= WS_TABSTOP;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (Visible()) p.Style |= WS_VISIBLE;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = parent_ ? parent_->Handle() : parentWindow_;
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = DefWindowProcA;
  p.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  p.WindowClass.hInstance = GetModuleHandleA(nullptr);
  p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* controlClassName) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, controlClassName, &wc))
    throw EOSError(Format("Cannot find window class %s", {controlClassName}), GetLastError());
  HINSTANCE instance = p.WindowClass.hInstance;
  p.WindowClass = wc;
  p.WindowClass.hInstance = instance;
  // CS_GLOBALCLASS belongs to the system class, not to ours.
  p.WindowClass.style &= ~CS_GLOBALCLASS;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  WindowControls().Set(handle_, this);
  // Children get their windows with their parent.
  for (TWinControl* child : tabList_) child->CreateHandle();
  UpdateBounds();
  Realign();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  // The system class's procedure is the default handler; ours takes over.
  defWndProc_ = p.WindowClass.lpfnWndProc;
  WNDCLASSA existing{};
  bool registered = GetClassInfoA(p.WindowClass.hInstance, p.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != StdWndProc) {
    if (registered) UnregisterClassA(p.WinClassName.c_str(), p.WindowClass.hInstance);
    WNDCLASSA wc = p.WindowClass;
    wc.lpfnWndProc = StdWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassA(&wc)) throw EOSError("Cannot register window class " + p.WinClassName, GetLastError());
  }
  CreateWindowHandle(p);
  if (!handle_) throw EOSError(Format("Error creating window for %s", {ClassName()}), GetLastError());
  if (Font()) SendMessageA(handle_, WM_SETFONT, WPARAM(Font()->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  // For a child window the menu argument is its control identifier.
  HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(NewChildId(p.WndParent)) : nullptr;
  creatingControl = this;
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                           p.Height, p.WndParent, id, p.WindowClass.hInstance, p.Param);
  creatingControl = nullptr;
  handle_ = h;
}

void TWinControl::DestroyWnd() {
  // The window held the text; keep it for the next window.
  text_ = ReadText();
  DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  SetControlState(ControlState() | csDestroyingHandle);
  for (TWinControl* child : tabList_) child->DestroyHandle();
  DestroyWnd();
  SetControlState(ControlState() & ~csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  bool focused = Focused();
  DestroyHandle();
  UpdateShowing();
  if (focused && handle_) ::SetFocus(handle_);
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->HandleNeeded();
    CreateHandle();
  }
  return handle_;
}

void TWinControl::SetParentWindow(HWND window) {
  if (parent_ || parentWindow_ == window) return;
  DestroyHandle();
  parentWindow_ = window;
  UpdateShowing();
}

// Makes the window when the parent has one, and shows or hides it to match
// Visible.
void TWinControl::UpdateShowing() {
  bool parentReady = parent_ ? parent_->HandleAllocated() : parentWindow_ != nullptr;
  if (!parentReady) return;
  if (!handle_) CreateHandle();
  bool shown = (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (Visible() != shown) {
    ShowWindow(handle_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
    Perform(CM_SHOWINGCHANGED);
  }
}

String TWinControl::ReadText() {
  if (!handle_) return text_;
  int n = GetWindowTextLengthA(handle_);
  String s(size_t(n) + 1, '\0');
  n = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(size_t(std::max(n, 0)));
  return s;
}

void TWinControl::WriteText(const String& text) {
  text_ = text;
  if (handle_) SetWindowTextA(handle_, text.c_str());
}

// --- TWinControl: children, tab order, focus ------------------------------------------

void TWinControl::InsertControl(TControl* control) {
  if (control->parent_) control->parent_->RemoveControl(control);
  control->parent_ = this;
  controls_.push_back(control);
  if (control->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(control);
    tabList_.push_back(w);
    // A top-level window cannot become a child: it is made again below us.
    w->parentWindow_ = nullptr;
    w->DestroyHandle();
  }
  if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED);
  if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED);
  if (control->ParentShowHint()) control->Perform(CM_PARENTSHOWHINTCHANGED);
  if (control->ParentBiDiMode()) control->Perform(CM_PARENTBIDIMODECHANGED);
  control->UpdateAnchorRules();
  if (control->IsWindowed()) static_cast<TWinControl*>(control)->UpdateShowing();
  control->Invalidate();
  Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->parent_ != this) return;
  control->Invalidate();
  if (mouseControl == control) mouseControl = nullptr;
  if (control->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(control);
    if (TCustomForm* form = GetParentForm(this)) form->ControlDestroyed(w);
    tabList_.erase(std::find(tabList_.begin(), tabList_.end(), w));
    // A window cannot outlive its parent window: it is made again under the
    // next parent.
    w->DestroyHandle();
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  control->parent_ = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(TControl* control) const {
  for (TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && c->IsWindowed()) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    if (!c->BoundsRect().Contains(p)) continue;
    TPoint local{p.X - c->Left(), p.Y - c->Top()};
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.X, local.Y)) != 0) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  order = std::clamp(order, 0, int(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
  if (tabStop_ == value) return;
  tabStop_ = value;
  if (handle_) {
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  int start = int(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == n) start = goForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[i];
    if (c == current) break;
    if (!c->CanFocus() || (checkTabStop && !c->TabStop())) continue;
    if (checkParent && c->Parent() != this) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
  if (next) next->SetFocus();
}

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form) form->FocusControl(this);
  else if (handle_) ::SetFocus(handle_);
}

bool TWinControl::Showing() { return handle_ && IsWindowVisible(handle_); }

void TWinControl::SetCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetVisible(bool visible) {
  if (Visible() == visible) return;
  TControl::SetVisible(visible);
  UpdateShowing();
}

void TWinControl::SetParent(TWinControl* parent) {
  TControl::SetParent(parent);
}

void TWinControl::SetEnabled(bool enabled) {
  if (Enabled() == enabled) return;
  TControl::SetEnabled(enabled);
  if (handle_) EnableWindow(handle_, enabled);
}

void TWinControl::Broadcast(TMessage& m) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    controls_[i]->windowProc_(m);
    if (m.Result != 0) return;
  }
}

// --- TWinControl: bounds and alignment ---------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (!handle_) return TControl::SetBounds(left, top, width, height);
  if (left != left_ || top != top_ || width != width_ || height != height_)
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateAnchorRules();
}

// Takes the bounds from the window after the system moved or sized it.
void TWinControl::UpdateBounds() {
  RECT r{};
  GetWindowRect(handle_, &r);
  HWND parentWnd = GetParent(handle_);
  if ((GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) && parentWnd) MapWindowPoints(nullptr, parentWnd, (POINT*)&r, 2);
  TControl::ChangeBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

TRect TWinControl::ClientRect() {
  if (!handle_) {
    bool canMake = parent_ ? true : parentWindow_ != nullptr || dynamic_cast<TCustomForm*>(this);
    if (!canMake) return TControl::ClientRect();
    HandleNeeded();
  }
  RECT r{};
  GetClientRect(handle_, &r);
  return TRect(r);
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return TPoint(p);
}

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && realignPending_) Realign();
}

void TWinControl::Realign() {
  if (alignLevel_ > 0 || IsDestroying()) {
    realignPending_ = true;
    return;
  }
  realignPending_ = false;
  TRect r = ClientRect();
  AdjustClientRect(r);
  DisableAlign();
  AlignControls(nullptr, r);
  --alignLevel_;
}

// Lays out the aligned children in the order top, bottom, left, right,
// client, each taking its strip from what remains of r; then moves the
// anchored children so that their anchored sides keep their distances.
void TWinControl::AlignControls(TControl* control, TRect& r) {
  static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : order) {
    for (TControl* c : controls_) {
      if (c->Align() != a || !c->Visible()) continue;
      switch (a) {
        case alTop:
          c->ChangeBounds(r.Left, r.Top, r.Width(), c->Height());
          r.Top += c->Height();
          break;
        case alBottom:
          c->ChangeBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
          r.Bottom -= c->Height();
          break;
        case alLeft:
          c->ChangeBounds(r.Left, r.Top, c->Width(), r.Height());
          r.Left += c->Width();
          break;
        case alRight:
          c->ChangeBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
          r.Right -= c->Width();
          break;
        default: c->ChangeBounds(r.Left, r.Top, r.Width(), r.Height()); break;
      }
      if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        if (w->handle_)
          SetWindowPos(w->handle_, nullptr, c->Left(), c->Top(), c->Width(), c->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  TRect client = ClientRect();
  for (TControl* c : controls_) {
    TAnchors a = c->Anchors();
    if (c->Align() != alNone || (a & (akRight | akBottom)) == 0) continue;
    if (c->anchorBase_.cx == 0 && c->anchorBase_.cy == 0) continue;
    TRect b = c->anchorBounds_;
    int dw = client.Width() - c->anchorBase_.cx, dh = client.Height() - c->anchorBase_.cy;
    if (a & akRight) {
      if (a & akLeft) b.Right += dw;
      else b.Left += dw, b.Right += dw;
    }
    if (a & akBottom) {
      if (a & akTop) b.Bottom += dh;
      else b.Top += dh, b.Bottom += dh;
    }
    c->ChangeBounds(b.Left, b.Top, b.Width(), b.Height());
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->handle_)
      SetWindowPos(static_cast<TWinControl*>(c)->handle_, nullptr, b.Left, b.Top, b.Width(), b.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// --- TWinControl: painting ---------------------------------------------------------------

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  if (!handle_) return;
  Invalidate();
  Update();
}

// A system control paints itself into the DC it is given; a window of our
// own class has nothing to paint beyond its background.
void TWinControl::PaintWindow(HDC dc) {
  if (defWndProc_ == DefWindowProcA) return;
  TMessage m{WM_PAINT, WPARAM(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible()) continue;
    TRect b = c->BoundsRect();
    RECT rb = b;
    if (!RectVisible(dc, &rb)) continue;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
    OffsetWindowOrgEx(dc, -b.Left, -b.Top, nullptr);
    c->Perform(WM_PAINT, WPARAM(dc));
    RestoreDC(dc, saved);
  }
}

void TWinControl::EraseBackground(HDC dc) {
  RECT r = ClientRect();
  brush_.SetColor(Color());
  ::FillRect(dc, &r, brush_.Handle());
}

void TWinControl::PaintHandler(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = HDC(m.WParam);
  if (!dc) dc = BeginPaint(handle_, &ps);
  if (doubleBuffered_ && !m.WParam) {
    RECT r = ClientRect();
    const int width = std::max<LONG>(r.right, 1), height = std::max<LONG>(r.bottom, 1);
    HDC shared = paintBuffer.Acquire(dc, width, height);
    HDC mem = shared ? shared : CreateCompatibleDC(dc);
    HBITMAP own = shared ? nullptr : CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = own ? SelectObject(mem, own) : nullptr;
    // The shared DC keeps no state of the last paint into it, and a paint
    // that fails still gives it back.
    const int saved = SaveDC(mem);
    struct TGiveBack {
      HDC mem, shared;
      HBITMAP own;
      HGDIOBJ old;
      int saved;
      ~TGiveBack() {
        RestoreDC(mem, saved);
        if (shared) {
          paintBuffer.Release();
          return;
        }
        SelectObject(mem, old);
        DeleteObject(own);
        DeleteDC(mem);
      }
    } giveBack{mem, shared, own, old, saved};
    EraseBackground(mem);
    PaintWindow(mem);
    PaintControls(mem);
    BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
  } else {
    PaintWindow(dc);
    PaintControls(dc);
  }
  if (!m.WParam) EndPaint(handle_, &ps);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  int saved = SaveDC(dc);
  OffsetWindowOrgEx(dc, -x, -y, nullptr);
  TRect r = ClientRect();
  IntersectClipRect(dc, 0, 0, r.Width(), r.Height());
  Perform(WM_ERASEBKGND, WPARAM(dc));
  Perform(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  // Child windows from the bottom of the z-order up.
  for (TControl* c : controls_) {
    if (!c->IsWindowed() || !c->Visible()) continue;
    auto* w = static_cast<TWinControl*>(c);
    if (!w->handle_) continue;
    int s = SaveDC(dc);
    IntersectClipRect(dc, x + c->Left(), y + c->Top(), x + c->Left() + c->Width(), y + c->Top() + c->Height());
    w->PaintTo(dc, x + c->Left(), y + c->Top());
    RestoreDC(dc, s);
  }
}

// --- TWinControl: messages ----------------------------------------------------------------

void TWinControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
    RouteMouseToChild(m);
    if (m.Msg == 0) return;
    if (m.Msg == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT t{};
      t.cbSize = sizeof t;
      t.dwFlags = TME_LEAVE;
      t.hwndTrack = handle_;
      TrackMouseEvent(&t);
    }
  }
  TControl::WndProc(m);
}

// Mouse messages over a graphic child (or to the graphic control holding
// the capture) go to that child in its own coordinates. Msg 0 afterwards
// means the child took it.
void TWinControl::RouteMouseToChild(TMessage& m) {
  TPoint p{MouseX(m.LParam), MouseY(m.LParam)};
  TControl* target = nullptr;
  if (captureControl && captureControl->Parent() == this) target = captureControl;
  else if (!captureControl) target = ControlAtPos(p, false, false);
  if (!target) return;
  TMessage copy{m.Msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()), 0};
  target->windowProc_(copy);
  if (m.Msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT t{};
      t.cbSize = sizeof t;
      t.dwFlags = TME_LEAVE;
      t.hwndTrack = handle_;
    TrackMouseEvent(&t);
  }
  m.Result = copy.Result;
  m.Msg = 0;
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
  TWinControl* control = FindControl(child);
  if (!control || control == this) return DefaultHandler(m);
  m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
}

void TWinControl::HandleSetCursor(TMessage& m) {
  if (HWND(m.WParam) != handle_ || LOWORD(m.LParam) != HTCLIENT || !host) return DefaultHandler(m);
  TCursor cursor = host->ScreenCursor();
  if (cursor == crDefault) {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* c = ControlAtPos(TPoint(p), false, false);
    cursor = c ? c->Cursor() : Cursor();
  }
  if (cursor == crDefault) return DefaultHandler(m);
  ::SetCursor(host->CursorHandle(cursor));
  m.Result = 1;
}

bool TWinControl::WantsKey(uint16_t key) {
  LRESULT code = Perform(WM_GETDLGCODE);
  if (code & DLGC_WANTALLKEYS) return true;
  if (key == VK_TAB) return (code & DLGC_WANTTAB) != 0;
  if (key >= VK_LEFT && key <= VK_DOWN) return (code & DLGC_WANTARROWS) != 0;
  return false;
}

// The form sees keys first when it asks to (KeyPreview); a handler that
// zeroes the key consumes it.
bool TWinControl::DoKeyDown(TMessage& m) {
  uint16_t key = uint16_t(m.WParam);
  TShiftState shift = KeyDataToShiftState(m.LParam);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview()) {
    static_cast<TWinControl*>(form)->KeyDown(key, shift);
    if (key == 0) return true;
  }
  if (m.Msg == CN_KEYDOWN || m.Msg == CN_SYSKEYDOWN) KeyDown(key, shift);
  else KeyUp(key, shift);
  m.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  char ch = char(m.WParam);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview()) {
    static_cast<TWinControl*>(form)->KeyPress(ch);
    if (ch == 0) return true;
  }
  KeyPress(ch);
  m.WParam = uint8_t(ch);
  return ch == 0;
}

// A character the focused control does not take may be an accelerator of a
// control of its form (Alt+letter always is asked).
bool TWinControl::HandleDialogChar(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  return form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam == 0 && controls_.empty() && !(ControlState() & csCustomPaint) && !doubleBuffered_ &&
          defWndProc_ != DefWindowProcA)
        return DefaultHandler(m);
      return PaintHandler(m);
    case WM_PRINTCLIENT:
      if (defWndProc_ != DefWindowProcA) DefaultHandler(m);
      else PaintWindow(HDC(m.WParam));
      PaintControls(HDC(m.WParam));
      return;
    case WM_ERASEBKGND:
      if (defWndProc_ != DefWindowProcA && !(ControlStyle() & csAcceptsControls)) return DefaultHandler(m);
      if (!doubleBuffered_ || HDC(m.WParam) != nullptr) EraseBackground(HDC(m.WParam));
      m.Result = 1;
      return;
    case WM_COMMAND:
      if (m.LParam) return ReflectToChild(m, HWND(m.LParam));
      return DefaultHandler(m);
    case WM_NOTIFY: return ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ReflectToChild(m, HWND(m.LParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam) return ReflectToChild(m, HWND(m.LParam));
      return DefaultHandler(m);
    case WM_DRAWITEM: return ReflectToChild(m, reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType == ODT_MENU) return DefaultHandler(m);
      return ReflectToChild(m, GetDlgItem(handle_, int(mis->CtlID)));
    }
    case WM_DELETEITEM: return ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
    case WM_COMPAREITEM: return ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
      HDC dc = HDC(m.WParam);
      ::SetTextColor(dc, ColorToRGB(Font()->Color()));
      ::SetBkColor(dc, ColorToRGB(Color()));
      brush_.SetColor(Color());
      m.Result = LRESULT(brush_.Handle());
      return;
    }
    case WM_SIZE:
    case WM_MOVE:
      DefaultHandler(m);
      return;
    case WM_WINDOWPOSCHANGED: {
      DefaultHandler(m);
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
        int oldW = Width(), oldH = Height();
        UpdateBounds();
        if (oldW != Width() || oldH != Height()) Realign();
      }
      return;
    }
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && form != this) form->SetFocusedControl(this);
      DefaultHandler(m);
      return;
    }
    case WM_SETCURSOR: return HandleSetCursor(m);
    case WM_MOUSELEAVE: {
      // Leaving the window for one of its children is not leaving.
      POINT p{};
      GetCursorPos(&p);
      HWND under = WindowFromPoint(p);
      if (under != handle_ && mouseControl && (mouseControl == this || mouseControl->Parent() == this)) {
        SetMouseControl(nullptr);
        if (host && !FindControl(under)) host->HintMouseMessage(nullptr, m);
      }
      DefaultHandler(m);
      return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      if (DoKeyDown(m)) {
        m.Result = 1;
        return;
      }
      uint16_t key = uint16_t(m.WParam);
      bool dialogKey = key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_RETURN ||
                       key == VK_ESCAPE || key == VK_CANCEL || key == VK_EXECUTE;
      if (dialogKey && !WantsKey(key)) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) m.Result = 1;
      }
      return;
    }
    case CN_KEYUP:
      if (DoKeyDown(m)) m.Result = 1;
      return;
    case CN_CHAR:
      if (DoKeyPress(m)) {
        m.Result = 1;
        return;
      }
      if (uint8_t(m.WParam) >= ' ' && !(Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) &&
          HandleDialogChar(m))
        m.Result = 1;
      return;
    case CN_SYSCHAR:
      if (HandleDialogChar(m)) m.Result = 1;
      return;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED: return Broadcast(m);
    case CM_ENTER: return DoEnter();
    case CM_EXIT: return DoExit();
    case CM_INVALIDATE:
      if (m.WParam == 0) Invalidate();
      for (TControl* c : controls_) c->Invalidate();
      return;
    case CM_COLORCHANGED:
      brush_.SetColor(Color());
      TControl::Dispatch(m);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCOLORCHANGED);
      return;
    case CM_FONTCHANGED:
      if (handle_) SendMessageA(handle_, WM_SETFONT, WPARAM(Font()->Handle()), 1);
      TControl::Dispatch(m);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED);
      return;
    case CM_SHOWHINTCHANGED:
      for (TControl* c : controls_) c->Perform(CM_PARENTSHOWHINTCHANGED);
      return;
    case CM_BIDIMODECHANGED:
      TControl::Dispatch(m);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTBIDIMODECHANGED);
      return;
    case CM_TEXTCHANGED: return;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED: return;
    default: TControl::Dispatch(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_ || m.Msg >= CM_BASE) return;
  m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

// --- TControlCanvas, TCustomControl, TGraphicControl ---------------------------------------

void TControlCanvas::FreeHandle() {
  if (!ownedDC_) return;
  SetHandle(nullptr);
  ReleaseDC(window_, ownedDC_);
  ownedDC_ = nullptr;
  window_ = nullptr;
}

void TControlCanvas::CreateHandle() {
  TWinControl* parent = control_->Parent();
  bool windowed = dynamic_cast<TWinControl*>(control_) != nullptr;
  window_ = windowed ? static_cast<TWinControl*>(control_)->Handle() : parent ? parent->Handle() : nullptr;
  if (!window_) throw EInvalidOperation(Format("Control '%s' has no parent window", {control_->Name()}));
  ownedDC_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!windowed) {
    TRect b = control_->BoundsRect();
    IntersectClipRect(ownedDC_, b.Left, b.Top, b.Right, b.Bottom);
    SetWindowOrgEx(ownedDC_, -b.Left, -b.Top, nullptr);
  }
  SetHandle(ownedDC_);
}

namespace {

// Lends a paint DC to a control's canvas for the length of one Paint.
class CanvasPaintScope {
 public:
  CanvasPaintScope(TControlCanvas& canvas, HDC dc) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.FreeHandle();
    canvas_.SetHandle(dc);
  }
  ~CanvasPaintScope() {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
  }
  CanvasPaintScope(const CanvasPaintScope&) = delete;
  CanvasPaintScope& operator=(const CanvasPaintScope&) = delete;

 private:
  TControlCanvas& canvas_;
};

}  // namespace

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(this) {}

TCustomControl::~TCustomControl() {
  DestroyComponents();
  canvas_.FreeHandle();
}

void TCustomControl::PaintWindow(HDC dc) {
  CanvasPaintScope scope(canvas_, dc);
  Paint();
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(this) {}

TGraphicControl::~TGraphicControl() { canvas_.FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    CanvasPaintScope scope(canvas_, HDC(m.WParam));
    Paint();
    return;
  }
  TControl::Dispatch(m);
}
