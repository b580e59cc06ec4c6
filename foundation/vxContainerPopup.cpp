// The drop-down popup window: shown next to its owner control, fitted into
// the work area, registered as open while shown (the hooks close it), and
// for a focus-taking popup a local message loop while it is open.
#include "foundation/vxContainer.h"

namespace {

TCustomForm* OwnerForm(TControl* owner) { return owner ? GetParentForm(owner) : nullptr; }

bool HasTopMostWindow(TCustomForm* form) {
  return form && form->HandleAllocated() && (GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

bool IsAltMenuKey(WPARAM key) { return key == VK_RETURN || key == VK_MENU || key == VK_SPACE; }

}  // namespace

TvxCustomPopupWindow::TvxCustomPopupWindow(TControl* ownerControl) : ownerControl_(ownerControl) {
  Hide();
  style_.reset(GetStyleClass()(this, cssNormal, nullptr, false));
  style_->OnChanged = [this](TObject* sender) { StyleChanged(sender); };
  viewInfo_ = GetViewInfoClass()();
  viewInfo_->TakeSkinPainter(style_.get());
  SetKeyPreview(true);
}

TvxCustomPopupWindow::~TvxCustomPopupWindow() {
  vxResetObjectLinks(this);
  if (vxIsPopupWindowOpen(this)) vxUnregisterOpenPopup(this);
  style_->OnChanged = nullptr;
}

TvxContainerStyleClass TvxCustomPopupWindow::GetStyleClass() { return vxCreateContainerStyle; }

TvxContainerViewInfoClass TvxCustomPopupWindow::GetViewInfoClass() {
  return [] { return std::make_unique<TvxContainerViewInfo>(); };
}

bool TvxCustomPopupWindow::IsOpen() { return vxIsPopupWindowOpen(this); }

bool TvxCustomPopupWindow::IsOwnerVisible() {
  auto owner = dynamic_cast<TWinControl*>(ownerControl_);
  return vxControlWindowVisible(owner);
}

TRect TvxCustomPopupWindow::ClientRect() {
  return vxIsEmptyRect(viewInfo_->ClientRect) ? TvxPopupWindow::ClientRect() : viewInfo_->ClientRect;
}

TRect TvxCustomPopupWindow::GetOwnerScreenBounds() {
  TRect r = TvxPopupWindow::GetOwnerScreenBounds();
  auto owner = dynamic_cast<TWinControl*>(ownerControl_);
  if (!AnchorParent() && owner && owner->HandleAllocated() && vxIsChildWindow(owner->Handle()) && owner->Parent()) {
    const TPoint topLeft = owner->Parent()->ClientToScreen(r.TopLeft());
    r = vxShiftedRect(r, topLeft.X - r.Left, topLeft.Y - r.Top);
  }
  return r;
}

// --- Window ----------------------------------------------------------------------------------

void TvxCustomPopupWindow::CreateParams(TCreateParams& params) {
  TvxPopupWindow::CreateParams(params);
  params.ExStyle &= ~DWORD(WS_EX_TOPMOST);
  TCustomForm* ownerForm = OwnerForm(ownerControl_);
  if (takesFocus_) {
    if (ownerForm) params.WndParent = ownerForm->Handle();
    params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    if (followsTopMostOwner_ && (!ownerForm || HasTopMostWindow(ownerForm))) params.ExStyle |= WS_EX_TOPMOST;
  } else {
    params.Style = WS_CHILD;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    if (!params.WndParent) params.WndParent = vxGetMessageWindow()->Handle();
  }
  params.Style |= WS_CLIPCHILDREN;
}

void TvxCustomPopupWindow::CreateWnd() {
  // The hooks treat the creation messages as messages of an open popup.
  const bool listed = IsOpen();
  if (!listed) vxRegisterOpenPopup(this);
  try {
    TvxPopupWindow::CreateWnd();
  } catch (...) {
    if (!listed) vxUnregisterOpenPopup(this);
    throw;
  }
  if (!listed) vxUnregisterOpenPopup(this);
  if (!takesFocus_) ::SetParent(Handle(), nullptr);
}

void TvxCustomPopupWindow::Paint() {
  viewInfo_->Bounds = TRect(0, 0, Width(), Height());
  if (vxIsEmptyRect(viewInfo_->BorderRect)) viewInfo_->BorderRect = viewInfo_->Bounds;
  viewInfo_->Draw(vxCanvas());
}

// --- Showing and hiding ----------------------------------------------------------------------------

void TvxCustomPopupWindow::FitToWorkArea(TPoint& p) {
  if (!CanFitToWorkArea()) return;
  const TvxPopupFit fit = vxFitPopupToWorkArea(p, Width(), Height(), WorkAreaAt(p));
  p = fit.Position;
  SetWidth(fit.Width);
  SetHeight(fit.Height);
  // A form that could not take the height (constraints) is moved by the
  // difference when it was pushed to the top of the area.
  const TRect area = WorkAreaAt(fit.Position);
  if (Height() != fit.Height && p.Y == area.Top) p.Y += fit.Height - Height();
}

TWinControl* vxFirstFocusTarget(TvxCustomPopupWindow* popup, TWinControl* control) {
  if (control && control->CanFocus() && control->TabStop()) return control;
  std::vector<TWinControl*> order;
  popup->GetTabOrderList(order);
  for (TWinControl* c : order)
    if (c->TabStop() && c->CanFocus()) return c;
  return popup;
}

void TvxCustomPopupWindow::ShowPopup(TWinControl* focusControl) {
  if (IsOpen() || !IsOwnerVisible()) return;
  InheritOwnerFont();
  FitToContents();
  TPoint p;
  CalculatePosition(p);
  FitToWorkArea(p);
  vxSetPopupShowing(true);
  try {
    vxRegisterOpenPopup(this);
    NotifyShowing();
    SetBounds(p.X, p.Y, Width(), Height());
    Show();
    focusTarget_ = takesFocus_ ? vxFirstFocusTarget(this, focusControl) : focusControl;
    if (focusTarget_)
      focusTarget_->SetFocus();
    else
      SetFocus();
    TCustomForm* ownerForm = OwnerForm(ownerControl_);
    const bool topMost = !takesFocus_ || !ownerForm || HasTopMostWindow(ownerForm);
    SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } catch (...) {
    vxSetPopupShowing(false);
    throw;
  }
  vxSetPopupShowing(false);
  SetModalResult(mrNone);
  NotifyShown();
  if (takesFocus_ && runsModalLoop_) RunModalLoop();
}

void TvxCustomPopupWindow::RunModalLoop() {
  TvxObjectLink* link = vxNewObjectLink(this);
  try {
    while (link->Ref && Visible() && !(Application && Application->Terminated())) {
      // Alt+Enter, Alt and Alt+Space would open the owner form's system
      // menu behind the popup.
      MSG msg;
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_SYSKEYDOWN && IsAltMenuKey(msg.wParam))
        PeekMessageA(&msg, msg.hwnd, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
      if (ModalResult() != mrNone) {
        if (CloseQuery())
          CloseByModalResult();
        else
          SetModalResult(mrNone);
      }
      if (!link->Ref || !Visible()) break;
      Application->HandleMessage();
    }
  } catch (...) {
    vxFreeObjectLink(link);
    throw;
  }
  vxFreeObjectLink(link);
}

void TvxCustomPopupWindow::HidePopup() {
  if (!IsOpen()) return;
  vxChangePopupActivationLock(true);
  try {
    vxUnregisterOpenPopup(this);
    NotifyClosing();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    Hide();
    NotifyClosed();
    HWND capture = GetCapture();
    if (HandleAllocated() && capture && (capture == Handle() || IsChild(Handle(), capture))) ReleaseCapture();
  } catch (...) {
    vxChangePopupActivationLock(false);
    throw;
  }
  vxChangePopupActivationLock(false);
  TCustomForm* ownerForm = OwnerForm(ownerControl_);
  if (vxOpenPopupCount() == 0 && ownerForm && ownerForm->HandleAllocated() && !ownerForm->Active())
    SendMessageA(ownerForm->Handle(), WM_NCACTIVATE, FALSE, 0);
}

void TvxCustomPopupWindow::VisibilityChanged() {
  // A popup hidden some other way (its form's Close) leaves the open list
  // all the same.
  if (!Visible() && IsOpen()) HidePopup();
  auto owner = dynamic_cast<TWinControl*>(ownerControl_);
  if (!takesFocus_ || !owner || !HandleAllocated() || IsWindowVisible(Handle())) return;
  TCustomForm* ownerForm = OwnerForm(owner);
  if (ownerForm && ownerForm->HandleAllocated() && GetFocus() == ownerForm->Handle() && owner->CanFocus() &&
      !owner->IsDesigning())
    owner->SetFocus();
}

void TvxCustomPopupWindow::HandleDeactivate() {
  if (IsClosingOnRequest()) return;
  if (vxOpenPopupCount() > 0) {
    HWND active = GetActiveWindow();
    for (int i = vxOpenPopupCount() - 1; i >= 0 && i < vxOpenPopupCount(); --i) {
      TvxCustomPopupWindow* popup = vxOpenPopup(i);
      if (popup->HandleAllocated() && popup->Handle() == active) return;
      if (popup->HandleAllocated() && IsWindowEnabled(popup->Handle()) && !popup->IsClosingOnRequest())
        popup->HidePopup();
    }
  }
  if (vxOpenPopupCount() > 0) HidePopup();
}

void TvxCustomPopupWindow::PostCloseRequest() {
  if (HandleAllocated()) PostMessageA(Handle(), VXM_CLOSEPOPUP, 0, 0);
}

void TvxCustomPopupWindow::RecreateOpen() {
  const bool open = IsOpen();
  if (open) HidePopup();
  if (HandleAllocated()) RecreateWnd();
  if (open) ShowPopup(focusTarget_);
}

void TvxCustomPopupWindow::SetTakesFocus(bool value) {
  if (takesFocus_ == value) return;
  takesFocus_ = value;
  RecreateOpen();
}

void TvxCustomPopupWindow::SetFollowsTopMostOwner(bool value) {
  if (followsTopMostOwner_ == value) return;
  followsTopMostOwner_ = value;
  RecreateOpen();
}

void TvxCustomPopupWindow::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_ESCAPE && IsOpen() && HandleAllocated() && GetCapture() == Handle()) {
    ReleaseCapture();
    key = 0;
    return;
  }
  TvxPopupWindow::KeyDown(key, shift);
}

void TvxCustomPopupWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) return TvxPopupWindow::Dispatch(m);
      TForm::Dispatch(m);
      HandleDeactivate();
      return;
    case WM_ACTIVATEAPP: m.Result = 0; return;
    case WM_ERASEBKGND:
      if (ErasesBackground()) return TvxPopupWindow::Dispatch(m);
      m.Result = 1;
      return;
    case VXM_CLOSEPOPUP: {
      ChangeCloseRequestDepth(1);
      try {
        HidePopup();
      } catch (...) {
        ChangeCloseRequestDepth(-1);
        throw;
      }
      ChangeCloseRequestDepth(-1);
      auto owner = dynamic_cast<TWinControl*>(ownerControl_);
      if (owner && owner->HandleAllocated()) SendMessageA(owner->Handle(), WM_SETFOCUS, 0, 0);
      return;
    }
    case VXM_SHOWPOPUP: ShowPopup(focusTarget_); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TvxPopupWindow::Dispatch(m);
      auto control = m.LParam ? reinterpret_cast<TControl*>(m.LParam) : this;
      if (m.Msg == CM_MOUSEENTER)
        HandleMouseEnter(control);
      else
        HandleMouseLeave(control);
      return;
    }
    default: TvxPopupWindow::Dispatch(m);
  }
}
