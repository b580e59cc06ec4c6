#include "platform/ui/Forms.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "platform/ui/HintWindow.h"
#include "platform/ui/UtilWindow.h"

// --- TCustomForm ---------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(this) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetColor(clBtnFace);
  TControl::SetVisible(false);
  ChangeBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) OnDestroy(this);
  DestroyComponents();
  canvas_.FreeHandle();
  DestroyHandle();
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TCustomForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WindowClass.style = CS_DBLCLKS;
  p.WindowClass.hbrBackground = nullptr;
  if (Parent()) {
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (Visible() ? WS_VISIBLE : 0);
    if (borderStyle_ != bsNone) p.Style |= WS_CAPTION | WS_THICKFRAME;
    return;
  }
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER; break;
    case bsSizeable: p.Style |= WS_OVERLAPPEDWINDOW; break;
    case bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      p.Style |= WS_CAPTION | WS_SYSMENU;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.Style |= WS_OVERLAPPEDWINDOW;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  // Secondary forms belong to the application window, so that they stay
  // with the program and out of the task list.
  bool isMain = Application && Application->MainForm() == this;
  p.WndParent = isMain || !Application ? nullptr : Application->Handle();
  if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  // A bsDialog form has no icon in its frame.
  if (borderStyle_ == bsDialog && !Parent()) SendMessageA(Handle(), WM_SETICON, ICON_BIG, 0);
}

void TCustomForm::SetBorderStyle(TBorderStyle style) {
  if (borderStyle_ == style) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (windowState_ == state) return;
  windowState_ = state;
  if (HandleAllocated() && !Parent() && Showing())
    ShowWindow(Handle(), state == wsMaximized ? SW_SHOWMAXIMIZED : state == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
}

void TCustomForm::PlaceOnFirstShow() {
  if (placed_ || Parent()) return;
  placed_ = true;
  TCustomForm* anchor = nullptr;
  if (position_ == poMainFormCenter && Application) anchor = Application->MainForm();
  if (position_ == poOwnerFormCenter) anchor = dynamic_cast<TCustomForm*>(Owner());
  if (anchor == this) anchor = nullptr;
  if (position_ == poScreenCenter || position_ == poDesktopCenter ||
      ((position_ == poMainFormCenter || position_ == poOwnerFormCenter) && !anchor)) {
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
  } else if (anchor) {
    SetBounds(anchor->Left() + (anchor->Width() - Width()) / 2, anchor->Top() + (anchor->Height() - Height()) / 2,
              Width(), Height());
  }
}

void TCustomForm::SetVisible(bool visible) {
  if (Parent()) {
    if (visible == Visible()) return;
    if (visible) DoShow();
    TWinControl::SetVisible(visible);
    if (!visible) DoHide();
    return;
  }
  bool shown = HandleAllocated() && IsWindowVisible(Handle());
  if (visible == Visible() && visible == shown) return;
  TControl::SetVisible(visible);
  if (visible) {
    HandleNeeded();
    PlaceOnFirstShow();
    DoShow();
    int cmd = windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : windowState_ == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    ShowWindow(Handle(), cmd);
    UpdateWindow(Handle());
  } else if (HandleAllocated()) {
    DoHide();
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (!Parent() && HandleAllocated()) BringWindowToTop(Handle());
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
  }
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

namespace {

struct DisabledWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (window != d->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
    d->windows.push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_ || Parent()) throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture()) SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  modal_ = true;
  DisabledWindows disabled{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, LPARAM(&disabled));
  modalResult_ = mrNone;
  try {
    Show();
    SetForegroundWindow(Handle());
    while (modalResult_ == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) break;
      if (modalResult_ == mrNone) continue;
      // Closing a modal form goes through the same questions as Close.
      TCloseAction action = caHide;
      if (!CloseQuery()) action = caNone;
      else DoClose(action);
      if (action == caNone) modalResult_ = mrNone;
    }
  } catch (...) {
    for (HWND w : disabled.windows) EnableWindow(w, TRUE);
    modal_ = false;
    Hide();
    throw;
  }
  for (HWND w : disabled.windows) EnableWindow(w, TRUE);
  modal_ = false;
  Hide();
  return modalResult_;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control && !ContainsControl(control)) throw EInvalidOperation("Invalid control for the active control");
  activeControl_ = control;
  if (control && active_ && control->CanFocus()) control->SetFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  activeControl_ = control;
  TCustomForm* top = GetParentForm(this);
  if (top && top != this) return top->FocusControl(control);
  ::SetFocus(control->Handle());
}

// The controls between the common parent and each end receive CM_EXIT on
// the old side (innermost first) and CM_ENTER on the new side (outermost
// first), as the focus leaves and enters them.
void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (focusedControl_ == control) return;
  TWinControl* previous = focusedControl_;
  focusedControl_ = control;
  if (control) activeControl_ = control;
  if (Screen) Screen->SetActiveControl(control);
  auto chain = [this](TWinControl* c) {
    std::vector<TWinControl*> list;
    for (; c && c != this; c = c->Parent()) list.push_back(c);
    return list;
  };
  std::vector<TWinControl*> left = chain(previous), entered = chain(control);
  while (!left.empty() && !entered.empty() && left.back() == entered.back()) {
    left.pop_back();
    entered.pop_back();
  }
  for (TWinControl* c : left) {
    if (focusedControl_ != control) return;
    c->Perform(CM_EXIT);
  }
  for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
    if (focusedControl_ != control) return;
    (*it)->Perform(CM_ENTER);
  }
  Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
}

namespace {

void UpdateVisibleActions(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    if (!control->Visible()) continue;
    control->UpdateAction();
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) UpdateVisibleActions(windowed);
  }
}

}  // namespace

void TCustomForm::UpdateActions() { UpdateVisibleActions(this); }

void TCustomForm::ControlDestroyed(TWinControl* control) {
  if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (focusedControl_ && control->ContainsControl(focusedControl_)) {
    if (Screen && Screen->ActiveControl() == focusedControl_) Screen->SetActiveControl(nullptr);
    focusedControl_ = nullptr;
  }
}

// On activation the focus goes back to the active control, or to the first
// control in tab order.
void TCustomForm::SetWindowFocus() {
  TWinControl* target = activeControl_;
  if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
  if (target && target->CanFocus()) ::SetFocus(target->Handle());
}

void TCustomForm::HandleDialogKey(TMessage& m) {
  uint16_t key = uint16_t(m.WParam);
  TShiftState shift = KeyboardShiftState();
  if (key == VK_TAB && !(shift & ssCtrl)) {
    SelectNext(focusedControl_, !(shift & ssShift), true);
    m.Result = 1;
    return;
  }
  if (key >= VK_LEFT && key <= VK_DOWN && focusedControl_ && focusedControl_->Parent()) {
    focusedControl_->Parent()->SelectNext(focusedControl_, key == VK_RIGHT || key == VK_DOWN, false);
    m.Result = 1;
    return;
  }
  Broadcast(m);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  canvas_.Lock();
  canvas_.FreeHandle();
  canvas_.SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
    throw;
  }
  canvas_.SetHandle(nullptr);
  canvas_.Unlock();
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE: Close(); return;
    case WM_ACTIVATE:
      DefaultHandler(m);
      active_ = LOWORD(m.WParam) != WA_INACTIVE;
      if (active_) {
        if (Screen) Screen->SetActiveForm(this);
        SetWindowFocus();
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case WM_SYSCHAR:
      // An Alt+letter that no control took must not beep.
      m.Result = 0;
      return;
    case CM_DIALOGKEY: return HandleDialogKey(m);
    case CM_RELEASE: delete this; return;
    default: TWinControl::Dispatch(m);
  }
}

// --- TScreen -----------------------------------------------------------------------------

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  hintFont_.SetName("Tahoma");
  hintFont_.SetHeight(-11);
  hintFont_.SetColor(clInfoText);
}

TScreen::~TScreen() = default;

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form) activeForm_ = nullptr;
  if (activeControl_ && form->ContainsControl(activeControl_)) activeControl_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
  if (activeForm_ == form) return;
  activeForm_ = form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control) {
  if (activeControl_ == control) return;
  activeControl_ = control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return TRect(r);
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  reinterpret_cast<std::vector<TMonitor>*>(data)->push_back(
      {monitor, TRect(info.rcMonitor), TRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

std::vector<TMonitor> TScreen::Monitors() const {
  std::vector<TMonitor> list;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, LPARAM(&list));
  return list;
}

TMonitor TScreen::MonitorFromPoint(TPoint p) const {
  HMONITOR h = ::MonitorFromPoint(POINT(p), MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(h, &info);
  return {h, TRect(info.rcMonitor), TRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
}

HCURSOR TScreen::Cursors(TCursor id) const {
  for (auto& [cid, handle] : cursors_)
    if (cid == id) return handle;
  LPCSTR system = IDC_ARROW;
  switch (id) {
    case crNone: return nullptr;
    case crCross: system = IDC_CROSS; break;
    case crIBeam: system = IDC_IBEAM; break;
    case crSizeNESW: system = IDC_SIZENESW; break;
    case crSizeNS: system = IDC_SIZENS; break;
    case crSizeNWSE: system = IDC_SIZENWSE; break;
    case crSizeWE: system = IDC_SIZEWE; break;
    case crUpArrow: system = IDC_UPARROW; break;
    case crHourGlass:
    case crSQLWait: system = IDC_WAIT; break;
    case crNo:
    case crNoDrop: system = IDC_NO; break;
    case crAppStart: system = IDC_APPSTARTING; break;
    case crHelp: system = IDC_HELP; break;
    case crHandPoint: system = IDC_HAND; break;
    case crSizeAll: system = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorA(nullptr, system);
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
  for (auto& entry : cursors_)
    if (entry.first == id) {
      entry.second = cursor;
      return;
    }
  cursors_.emplace_back(id, cursor);
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor_ == cursor) return;
  cursor_ = cursor;
  if (cursor != crDefault) {
    ::SetCursor(Cursors(cursor));
    return;
  }
  // Let the window under the mouse choose its cursor again.
  POINT p{};
  GetCursorPos(&p);
  HWND window = WindowFromPoint(p);
  if (window && TWinControl::FindControl(window))
    SendMessageA(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), WM_MOUSEMOVE));
}

// --- TApplication --------------------------------------------------------------------------

namespace {

constexpr UINT_PTR kShowHintTimer = 1;
constexpr UINT_PTR kHideHintTimer = 2;
const char* const kApplicationClass = "TApplication";

LRESULT CALLBACK ApplicationWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  SetControlsHost(this);
  hintWindowClass_ = [](TComponent* o) { return new THintWindow(o); };
  title_ = ChangeFileExt(ExtractFileName(ExeName()), "");
}

// The forms and whatever they own are freed while the application is still
// the Application and already marked destroying: their destructors may ask it.
TApplication::~TApplication() {
  Destroying();
  CancelHint();
  hintWindow_ = nullptr;
  DestroyComponents();
  DeallocateHWnd(timerWindow_);
  if (handle_) DestroyWindow(handle_);
  if (comInitialized_) OleUninitialize();
  SetControlsHost(nullptr);
  if (Application == this) Application = nullptr;
}

void TApplication::EnsureHandle() {
  if (handle_) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = ApplicationWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kApplicationClass;
  RegisterClassA(&wc);
  handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, wc.hInstance, nullptr);
  if (!handle_) throw EOSError("Cannot create the application window", GetLastError());
  timerWindow_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

void TApplication::Initialize() {
  if (!comInitialized_) comInitialized_ = SUCCEEDED(OleInitialize(nullptr));
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
  EnsureHandle();
}

void TApplication::SetTitle(const String& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title.c_str());
}

String TApplication::ExeName() const {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

void TApplication::Run() {
  EnsureHandle();
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool isInput = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) || msg.message == WM_LBUTTONDOWN ||
                 msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN;
  if (isInput && hintShowing_) CancelHint();
  if (!IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

// Key messages go first to their control as CN_* messages, where the
// control, its form's key preview and the dialog keys may consume them.
bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  TWinControl* control = TWinControl::FindControl(msg.hwnd);
  if (!control) control = TWinControl::FindControl(GetParent(msg.hwnd));
  if (!control) return false;
  LRESULT handled = 0;
  try {
    handled = control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam);
  } catch (...) {
    HandleException(control);
    return true;
  }
  return handled != 0;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  if (!done) return;
  // An embedded form is walked with the form that holds it.
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      if (!form->Parent() && form->HandleAllocated() && IsWindowVisible(form->Handle())) form->UpdateActions();
    }
  if (!terminated_) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Terminate() { PostQuitMessage(0); }

HWND TApplication::DialogOwner() {
  HWND owner = GetActiveWindow();
  if (TWinControl::FindControl(owner)) return owner;
  return mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : handle_;
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
  HWND owner = DialogOwner();
  CancelHint();
  return ::MessageBoxA(owner, text.c_str(), caption.empty() ? title_.c_str() : caption.c_str(), flags);
}

void TApplication::HandleException(TObject* sender) {
  if (!std::current_exception()) return;
  auto report = [&](const Exception& e) {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  };
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    report(e);
  } catch (const std::exception& e) {
    report(Exception(e.what()));
  } catch (...) {
    report(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& e) { MessageBox(e.Message(), title_, MB_OK | MB_ICONSTOP); }

HCURSOR TApplication::CursorHandle(TCursor cursor) { return Screen->Cursors(cursor); }

TCursor TApplication::ScreenCursor() { return Screen->Cursor(); }

void TApplication::ControlDestroyed(TControl* control) {
  if (hintControl_ == control) CancelHint();
}

// --- TApplication: hints ----------------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  if (value) {
    hintWindow_ = hintWindowClass_(this);
    hintWindow_->SetColor(hintColor_);
  } else {
    CancelHint();
    std::unique_ptr<THintWindow> drop(hintWindow_);
    hintWindow_ = nullptr;
  }
}

void TApplication::SetHintWindowClass(THintWindowClass factory) { hintWindowClass_ = std::move(factory); }

void TApplication::SetHint(const String& hint) {
  if (hint_ == hint) return;
  hint_ = hint;
  if (OnHint) OnHint(this);
}

void TApplication::HintMouseMessage(TControl* control, const TMessage& m) {
  if (m.Msg != WM_MOUSEMOVE && m.Msg != WM_MOUSELEAVE) {
    CancelHint();
    return;
  }
  if (control == hintControl_) {
    if (!hintShowing_ || !control) return;
    // The hint goes away once the mouse leaves the area it was shown for.
    POINT p{};
    GetCursorPos(&p);
    TPoint local = control->ScreenToClient(TPoint(p));
    if (std::abs(local.X - hintCursorPos_.X) > 2 || std::abs(local.Y - hintCursorPos_.Y) > 2) {
      if (!control->ClientRect().Contains(local)) CancelHint();
    }
    return;
  }
  bool wasShowing = hintShowing_;
  CancelHint();
  hintControl_ = control;
  SetHint(control ? GetLongHint(control->Hint()) : String());
  if (!control || !showHint_ || !control->ShowHint() || GetShortHint(control->Hint()).empty()) return;
  EnsureHandle();
  SetTimer(timerWindow_, kShowHintTimer, UINT(wasShowing ? hintShortPause_ : hintPause_), nullptr);
}

void TApplication::ActivateHint(TPoint cursorPos) {
  if (!hintControl_) return;
  KillTimer(timerWindow_, kShowHintTimer);
  TControl* control = hintControl_;
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = hintWindowClass_;
  info.CursorPos = control->ScreenToClient(cursorPos);
  info.HintPos = {cursorPos.X, cursorPos.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4};
  info.HintMaxWidth = Screen->Width();
  info.HintColor = hintColor_;
  info.CursorRect = control->ClientRect();
  info.HideTimeout = hintHidePause_;
  info.HintStr = GetShortHint(control->Hint());
  bool canShow = control->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty() || !hintWindow_) return;
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
  hintWindow_->SetColor(info.HintColor);
  hintWindow_->ActivateHint(r, info.HintStr);
  hintShowing_ = true;
  hintCursorPos_ = info.CursorPos;
  if (info.HideTimeout > 0) SetTimer(timerWindow_, kHideHintTimer, UINT(info.HideTimeout), nullptr);
}

void TApplication::HideHintWindow() {
  if (timerWindow_) KillTimer(timerWindow_, kHideHintTimer);
  if (hintWindow_ && hintWindow_->HandleAllocated()) hintWindow_->ReleaseHandle();
  hintShowing_ = false;
}

void TApplication::CancelHint() {
  if (timerWindow_) KillTimer(timerWindow_, kShowHintTimer);
  HideHintWindow();
  hintControl_ = nullptr;
}

void TApplication::WndProc(TMessage& m) {
  if (m.Msg != WM_TIMER) return DefaultUtilMessage(timerWindow_, m);
  if (m.WParam == kShowHintTimer) {
    POINT p{};
    GetCursorPos(&p);
    ActivateHint(TPoint(p));
  } else if (m.WParam == kHideHintTimer) {
    HideHintWindow();
  }
}

// --- The application object and the screen -----------------------------------------------------

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The screen is made first and goes last: forms leave it as they die. The
// application clears Application itself, once its forms are gone.
struct FormsGlobals {
  TScreen screen{nullptr};
  TApplication application{nullptr};
  FormsGlobals() {
    Screen = &screen;
    Application = &application;
  }
};

FormsGlobals globals;

}  // namespace
