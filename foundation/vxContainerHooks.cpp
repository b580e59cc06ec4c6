// The open popups and the three thread hooks that close them.
//
// A drop-down must go away when the user works anywhere else, and focus
// loss alone does not say so (a popup that does not take the focus never
// has it). The module keeps the popups that are open, oldest first, and
// watches every window of the UI thread: the call-window-procedure hook sees
// windows closing, hiding, moving and losing activation; the get-message
// hook keeps Alt keys from the owner form's menu; the mouse hook closes the
// popups a click lands outside of. The hooks are in place only while a popup
// is open or closing. They run inside other windows' message processing, so
// everything they call runs re-entrantly.
#include <algorithm>
#include <map>

#include "foundation/vxContainer.h"

namespace {

std::vector<TvxCustomPopupWindow*>* openPopups = nullptr;
HHOOK callWndProcHook = nullptr;
HHOOK getMessageHook = nullptr;
HHOOK mouseHook = nullptr;
bool popupShowing = false;

// The procedures displaced by vxSwallowNextMessage, one per window.
std::map<HWND, WNDPROC>& SwallowedWindows() {
  static std::map<HWND, WNDPROC> windows;
  return windows;
}

LRESULT CALLBACK SwallowStub(HWND wnd, UINT, WPARAM, LPARAM) {
  auto& windows = SwallowedWindows();
  auto it = windows.find(wnd);
  if (it != windows.end()) {
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second));
    windows.erase(it);
  }
  return 1;
}

int PopupCount() { return openPopups ? int(openPopups->size()) : 0; }
TvxCustomPopupWindow* PopupAt(int index) { return (*openPopups)[size_t(index)]; }

TWinControl* AsWinControl(TControl* control) { return dynamic_cast<TWinControl*>(control); }

HWND ControlWindow(TControl* control) {
  TWinControl* w = AsWinControl(control);
  return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

bool IsDescendantWindow(HWND parent, HWND wnd) { return parent && wnd && parent != wnd && IsChild(parent, wnd); }

void ClosePopup(TvxCustomPopupWindow* popup) { popup->HidePopup(); }

// WM_CLOSE of wnd: the first popup it concerns decides.
void HandleCloseMessage(HWND wnd) {
  for (int i = 0; i < PopupCount(); ++i) {
    TvxCustomPopupWindow* popup = PopupAt(i);
    if (popup->IsDestroying()) continue;
    TControl* owner = popup->OwnerControl();
    if (popup->HandleAllocated() && popup->Handle() == wnd) {
      if (!popup->CloseQuery()) return;
      popup->HidePopup();
      if (!popup->IsOpen() && popup->TakesFocus() && owner && !owner->IsDestroying())
        if (HWND top = vxFirstNonChildAncestor(ControlWindow(owner))) SendMessageA(top, WM_CLOSE, 0, 0);
      return;
    }
    if (popup->TakesFocus() || (owner && owner->IsDestroying())) continue;
    TCustomForm* form = owner ? GetParentForm(owner) : nullptr;
    if (!form || !form->HandleAllocated() || form->Handle() == wnd) popup->HidePopup();
    return;
  }
}

// A hidden window: the newest popup whose owner it is goes, with every
// popup opened after it.
void HandleHiddenWindow(HWND wnd) {
  for (int i = PopupCount() - 1; i >= 0; --i) {
    TvxCustomPopupWindow* popup = PopupAt(i);
    TControl* owner = popup->OwnerControl();
    if (popup->IsDestroying() || !owner || owner->IsDestroying() || ControlWindow(owner) != wnd) continue;
    while (PopupCount() > i) ClosePopup(PopupAt(PopupCount() - 1));
    return;
  }
}

void HandleAppDeactivation() {
  for (bool closed = true; closed;) {
    closed = false;
    for (int i = 0; i < PopupCount(); ++i) {
      TvxCustomPopupWindow* popup = PopupAt(i);
      TCustomForm* form = popup->OwnerControl() ? GetParentForm(popup->OwnerControl()) : nullptr;
      if (form && form->HandleAllocated()) PostMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
      const bool activeFocusPopup = popup->TakesFocus() && Screen && Screen->ActiveForm() == popup;
      if (activeFocusPopup || (popup->HandleAllocated() && !IsWindowEnabled(popup->Handle()))) continue;
      ClosePopup(popup);
      if (TvxContainer* container = dynamic_cast<TvxContainer*>(popup->OwnerControl())) container->FocusStateChanged();
      closed = true;
      break;
    }
  }
}

void HandleMovedWindow(HWND wnd) {
  for (bool closed = true; closed;) {
    closed = false;
    for (int i = 0; i < PopupCount(); ++i) {
      TvxCustomPopupWindow* popup = PopupAt(i);
      TWinControl* owner = AsWinControl(popup->OwnerControl());
      if (popup->IsDestroying() || !popup->HandleAllocated() || !owner || owner->IsDestroying() ||
          ControlWindow(owner) != wnd || vxControlWindowVisible(owner))
        continue;
      ClosePopup(popup);
      closed = true;
      break;
    }
  }
}

bool IsOwnerFormOfOpenPopup(HWND wnd) {
  for (int i = 0; i < PopupCount(); ++i) {
    TControl* owner = PopupAt(i)->OwnerControl();
    TCustomForm* form = owner ? GetParentForm(owner) : nullptr;
    if (form && form->HandleAllocated() && form->Handle() == wnd) return true;
  }
  return false;
}

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT& m = *reinterpret_cast<CWPSTRUCT*>(lParam);
    if ((m.message == CM_ACTIVATE || m.message == CM_DEACTIVATE) && vxPopupActivationLocked())
      vxSwallowNextMessage(m.hwnd);
    if (PopupCount() > 0) switch (m.message) {
        case WM_DESTROY:
          for (int i = 0; i < PopupCount(); ++i) {
            TvxCustomPopupWindow* popup = PopupAt(i);
            if (!popup->IsDestroying() && popup->HandleAllocated() && popup->Handle() == m.hwnd) {
              popup->Close();
              break;
            }
          }
          break;
        case WM_CLOSE: HandleCloseMessage(m.hwnd); break;
        case WM_SHOWWINDOW:
          if (!m.wParam) HandleHiddenWindow(m.hwnd);
          break;
        case WM_ACTIVATEAPP:
          if (!m.wParam) HandleAppDeactivation();
          break;
        case WM_WINDOWPOSCHANGED: HandleMovedWindow(m.hwnd); break;
        case WM_NCACTIVATE:
          // The owner form keeps an active caption while its popup is open.
          if (!m.wParam && (popupShowing || IsOwnerFormOfOpenPopup(m.hwnd))) vxSwallowNextMessage(m.hwnd);
          break;
        default: break;
      }
  }
  return CallNextHookEx(callWndProcHook, code, wParam, lParam);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && PopupCount() > 0) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    TvxCustomPopupWindow* newest = PopupAt(PopupCount() - 1);
    if (msg.message == WM_SYSKEYDOWN && (!newest->TakesFocus() || !newest->RunsModalLoop()) &&
        !newest->IsPopupNavigationKey(uint16_t(msg.wParam)))
      msg.message = WM_NULL;
  }
  return CallNextHookEx(getMessageHook, code, wParam, lParam);
}

bool IsButtonDownMessage(WPARAM msg) {
  switch (msg) {
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return true;
    default: return false;
  }
}

// Closes every popup a click at point on wnd lies outside of. True when a
// popup claimed the click (PreviewPopupMessage) and it is to be dropped.
bool HandleOutsideClick(HWND wnd, UINT msg, TPoint point) {
  bool pass = true;
  for (int i = 0; i < PopupCount();) {
    TvxCustomPopupWindow* popup = PopupAt(i);
    TControl* owner = popup->OwnerControl();
    TCustomForm* ownerForm = owner ? GetParentForm(owner) : nullptr;
    auto ownerFormPopup = dynamic_cast<TvxCustomPopupWindow*>(ownerForm);
    if ((popup->TakesFocus() && !(Screen && Screen->ActiveForm() == popup)) || vxControlOwnsWindow(popup, wnd, true)) {
      ++i;
      continue;
    }
    if (!vxWindowInOwnerForm(owner, wnd) && !(ownerFormPopup && !ownerFormPopup->IsOpen())) {
      ++i;
      continue;
    }
    const TShiftState shift = vxCurrentShiftState();
    bool onOwner = false;
    TWinControl* ownerWindowed = AsWinControl(owner);
    if (ownerWindowed && (vxControlOwnsWindow(ownerWindowed, wnd, true)) &&
        (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && vxIsPointInRect(popup->GetOwnerScreenBounds(), point)) {
      onOwner = true;
      popup->PreviewPopupMessage(wnd, msg, point, shift);
    }
    const bool wasShowing = popupShowing;
    popupShowing = true;
    popup->ChangeCloseRequestDepth(1);
    try {
      if (pass && !onOwner) pass = !popup->PreviewPopupMessage(wnd, msg, point, shift);
      popup->HidePopup();
      if (onOwner && (owner->IsDestroying() || !owner->Visible())) pass = false;
    } catch (...) {
      popupShowing = wasShowing;
      popup->ChangeCloseRequestDepth(-1);
      throw;
    }
    popupShowing = wasShowing;
    popup->ChangeCloseRequestDepth(-1);
    i = 0;
  }
  return !pass;
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && PopupCount() > 0 && IsButtonDownMessage(wParam)) {
    const MOUSEHOOKSTRUCT& m = *reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    bool swallow = false;
    try {
      swallow = HandleOutsideClick(m.hwnd, UINT(wParam), TPoint(m.pt.x, m.pt.y));
    } catch (...) {
      HandleControlException(nullptr);
    }
    if (swallow) return 1;
  }
  return CallNextHookEx(mouseHook, code, wParam, lParam);
}

}  // namespace

// --- The open-popup list --------------------------------------------------------------------

// A thread hook costs every message of the thread a few round trips to the
// server under Wine (each repaint of a window is several messages), and
// these have work only while a popup is open or closes: they are in place
// only then.
void vxUpdatePopupHooks() {
  const bool needed = PopupCount() > 0 || vxPopupActivationLocked();
  if (needed == (callWndProcHook != nullptr)) return;
  if (needed) {
    vxInstallThreadHook(callWndProcHook, WH_CALLWNDPROC, CallWndProcHook);
    vxInstallThreadHook(getMessageHook, WH_GETMESSAGE, GetMessageHook);
    vxInstallThreadHook(mouseHook, WH_MOUSE, MouseHook);
  } else {
    vxRemoveThreadHook(mouseHook);
    vxRemoveThreadHook(getMessageHook);
    vxRemoveThreadHook(callWndProcHook);
  }
}

void vxRegisterOpenPopup(TvxCustomPopupWindow* popup) {
  if (!popup || !openPopups || vxIsPopupWindowOpen(popup)) throw EAssertionFailed("Popup registered twice");
  openPopups->push_back(popup);
  vxUpdatePopupHooks();
}

void vxUnregisterOpenPopup(TvxCustomPopupWindow* popup) {
  if (!popup || !vxIsPopupWindowOpen(popup)) throw EAssertionFailed("Popup is not open");
  openPopups->erase(std::find(openPopups->begin(), openPopups->end(), popup));
  vxUpdatePopupHooks();
}

bool vxIsPopupWindowOpen(TControl* control) {
  return openPopups && std::find(openPopups->begin(), openPopups->end(), control) != openPopups->end();
}

int vxOpenPopupCount() { return PopupCount(); }
TvxCustomPopupWindow* vxOpenPopup(int index) { return PopupAt(index); }

bool vxPopupShowing() { return popupShowing; }
void vxSetPopupShowing(bool value) { popupShowing = value; }

void vxSwallowNextMessage(HWND wnd) {
  auto& windows = SwallowedWindows();
  // A second swallow before the first message came keeps the saved
  // procedure: saving the stub would lose the window's own for good.
  if (!wnd || windows.count(wnd)) return;
  windows[wnd] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowStub)));
}

// --- Window containment ------------------------------------------------------------------------

bool vxControlOwnsWindow(TWinControl* control, HWND wnd, bool deep) {
  if (!control || !control->HandleAllocated()) return false;
  return control->Handle() == wnd || (deep && vxIsWindowInsideControl(control, wnd));
}

bool vxIsWindowInsideControl(TWinControl* control, HWND wnd) {
  if (!control || !wnd || !control->HandleAllocated() || control->Handle() == wnd) return false;
  if (IsDescendantWindow(control->Handle(), wnd)) return true;
  for (int i = 0; i < control->ControlCount(); ++i) {
    TWinControl* child = AsWinControl(control->Controls(i));
    if (!child || !child->HandleAllocated()) continue;
    if (child->Handle() == wnd || vxIsWindowInsideControl(child, wnd) || IsDescendantWindow(child->Handle(), wnd))
      return true;
  }
  auto insidePopup = [wnd](TvxCustomPopupWindow* q) {
    return (q->HandleAllocated() && q->Handle() == wnd) || vxIsWindowInsideControl(q, wnd);
  };
  if (dynamic_cast<TvxCustomPopupWindow*>(control))
    for (int i = 0; i < PopupCount(); ++i) {
      TvxCustomPopupWindow* q = PopupAt(i);
      if (q != control && q->OwnerControl() && GetParentForm(q->OwnerControl()) == control && insidePopup(q))
        return true;
    }
  for (int i = 0; i < PopupCount(); ++i) {
    TvxCustomPopupWindow* q = PopupAt(i);
    if (q != control && q->OwnerControl() == control && insidePopup(q)) return true;
  }
  return false;
}

bool vxWindowInOwnerForm(TControl* control, HWND wnd) {
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  if (!form) return false;
  const bool owns = vxControlOwnsWindow(form, wnd, true);
  if (owns || form->Parent()) return owns;
  if (!form->HandleAllocated()) return false;
  HWND top = form->Handle();
  while (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(top);
    if (!parent) break;
    top = parent;
  }
  if (top == form->Handle()) return owns;
  return wnd == top || IsDescendantWindow(top, wnd);
}

HWND vxFirstNonChildAncestor(HWND wnd) {
  for (; wnd; wnd = GetParent(wnd))
    if (!(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) return wnd;
  return nullptr;
}

bool vxControlWindowVisible(TWinControl* control) {
  return control && control->HandleAllocated() && IsWindowVisible(control->Handle());
}

// --- Module ---------------------------------------------------------------------------------

void vxContainerInitialize() {
  vxBindScrollBarInfoEntry();
  GroupDescendentsWith(TvxStyleControllerClass(), TComponentClass());
  RegisterPersistentClass(TvxStyleControllerClass());
  openPopups = new std::vector<TvxCustomPopupWindow*>;
}

void vxContainerFinalize() {
  vxRemoveThreadHook(mouseHook);
  vxRemoveThreadHook(getMessageHook);
  vxRemoveThreadHook(callWndProcHook);
  UnregisterPersistentClass(TvxStyleControllerClass());
  delete openPopups;
  openPopups = nullptr;
}
