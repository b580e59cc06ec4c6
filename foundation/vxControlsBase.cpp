// TvxControl: construction, the window procedure and its message handlers,
// focus on click, the mouse capture object, popup menus, invalidation and
// painting. The built-in scroll bars are in vxControlsScrollBars.cpp, the
// drag and drop in vxControlsDragDrop.cpp.
#include "foundation/vxControlsBase.h"

#include "foundation/vdCore.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

namespace {

// The signed 16-bit point of a mouse message.
TPoint MessagePoint(LPARAM lParam) { return {short(LOWORD(lParam)), short(HIWORD(lParam))}; }

bool IsButtonPress(UINT msg) { return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN; }

}  // namespace

void vxDesignerModified(TControl* control) {
  if (auto* vxControl = dynamic_cast<TvxControl*>(control)) vxControl->NotifyDesignerOfChange();
}

// --- Construction -------------------------------------------------------------------

TvxControl::TvxControl(TComponent* owner) : TCustomControl(owner) {
  canvas_ = std::make_unique<TvxCanvas>(Canvas());
  defaultCursor_ = Cursor();
  lookAndFeel_ = std::make_unique<TvxLookAndFeel>(this);
  lookAndFeel_->OnChanged = [this](TvxLookAndFeel* sender, TvxLookAndFeelValues changed) {
    LookAndFeelChangedCallback(sender, changed);
  };
  CreateScrollBars();
  SetTabStop(AcceptsFocus());
  SetControlStyle(ControlStyle() | csParentBackground);
  vdResStringRepositoryInstance().AddListener(this);
}

TvxControl::~TvxControl() {
  IncludeState(csDestroying);
  vdResStringRepositoryInstance().RemoveListener(this);
  DestroyScrollBars();
  dragAndDropObject_.reset();
  vxResetObjectLinks(this);
  DestroyComponents();
  lookAndFeel_.reset();
  canvas_.reset();
}

void TvxControl::LookAndFeelChangedCallback(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) {
  if ((Application && Application->IsDestroying()) || IsDestroying()) return;
  HandleLookAndFeelChange(sender, changedValues);
}

void TvxControl::SetLookAndFeel(TvxLookAndFeel* value) { lookAndFeel_->Assign(value); }

TvxLookAndFeelPainterClass TvxControl::CurrentPainter() { return ActiveLookAndFeel()->ActivePainter(); }

// --- Window -----------------------------------------------------------------------------

void TvxControl::CreateParams(TCreateParams& params) { AdjustWindowParams(params); }

void TvxControl::AdjustWindowParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TvxControl::CreateWnd() { BuildWindow(); }

void TvxControl::BuildWindow() {
  TCustomControl::CreateWnd();
  RebuildScrollBars();
  AttachScrollBarsToWindow();
}

void TvxControl::DestroyWnd() { ReleaseWindow(); }

void TvxControl::ReleaseWindow() {
  TCustomControl::DestroyWnd();
  SetControlState(ControlState() & ~csClicked);
}

void TvxControl::Notification(TComponent* component, TOperation operation) {
  HandleComponentRemoval(component, operation);
}

void TvxControl::HandleComponentRemoval(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

// --- Window procedure --------------------------------------------------------------------

void TvxControl::WndProc(TMessage& message) { ProcessWindowMessage(message); }

void TvxControl::ProcessWindowMessage(TMessage& message) {
  TvxObjectLinkScope self(this);
  TCustomControl::WndProc(message);
  if (!self.Alive() || IsDestroying()) return;
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusStateChanged(); break;
    case WM_PAINT: {
      const bool parentBackground = (ControlStyle() & csParentBackground) != 0;
      if (parentBackground != lastParentBackground_) {
        lastParentBackground_ = parentBackground;
        HandleParentBackgroundSwitch();
      }
      break;
    }
    default:
      if (IsButtonPress(message.Msg)) {
        const TPoint p = PressPoint(message);
        AfterMouseButtonPress(message.Msg == WM_LBUTTONDOWN ? 0 : message.Msg == WM_RBUTTONDOWN ? 1 : 2, p.X, p.Y);
      }
  }
}

// The message carries 16-bit coordinates: a control larger than that takes
// the point from the cursor instead.
TPoint TvxControl::PressPoint(const TMessage& message) {
  if (HandleAllocated() && (Width() > 0x8000 || Height() > 0x8000)) {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    return TPoint(p);
  }
  return MessagePoint(message.LParam);
}

void TvxControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (vdOSWin7() && message.WParam == 0 && !DoubleBuffered()) return PaintThroughBitmap(message);
      return TCustomControl::Dispatch(message);
    case WM_ERASEBKGND: return HandleEraseBackground(message);
    case WM_CANCELMODE:
      TCustomControl::Dispatch(message);
      FinishDragAndDrop(false);
      ResetMouseCapture();
      return;
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(message);
      if (HandleAllocated()) PostMessageA(Handle(), DXM_RECALCSCROLLBARS, 0, 0);
      return;
    case WM_GETDLGCODE: message.Result = LRESULT(vxDialogCodeForWantedKeys(wantedKeys_, vxIsCtrlPressed())); return;
    case DXM_RECALCSCROLLBARS: return ReadSystemScrollBarSizes();
    case WM_MOUSEWHEEL: {
      const TPoint p = MessagePoint(message.LParam);
      if (HandleMouseWheel(MouseKeysToShiftState(LOWORD(message.WParam)), short(HIWORD(message.WParam)), p)) {
        message.Result = 0;
        return;
      }
      return TCustomControl::Dispatch(message);
    }
    case WM_CONTEXTMENU: {
      TPoint p = MessagePoint(message.LParam);
      if (p.X != -1 || p.Y != -1) p = ScreenToClient(p);
      if (HandleContextPopup(p)) return;
      return TCustomControl::Dispatch(message);
    }
    case CM_VISIBLECHANGED:
      TCustomControl::Dispatch(message);
      return VisiblePropertyChanged();
    case CM_COLORCHANGED:
      ColorPropertyChanged();
      return TCustomControl::Dispatch(message);
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(message);
      return FontPropertyChanged();
    case CM_CURSORCHANGED:
      CursorPropertyChanged();
      return TCustomControl::Dispatch(message);
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(message);
      return TextPropertyChanged();
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      // The platform fires its own events only for LParam 0; the library's
      // notifications see the children's messages too.
      auto* control = message.LParam ? reinterpret_cast<TControl*>(message.LParam) : this;
      if (Parent()) Parent()->Perform(message.Msg, 0, LPARAM(control));
      if (message.Msg == CM_MOUSEENTER)
        NotifyMouseEnter(control);
      else
        NotifyMouseLeave(control);
      return;
    }
    case CM_DESIGNHITTEST:
      TCustomControl::Dispatch(message);
      if (message.Result == 0) {
        const TPoint p = MessagePoint(message.LParam);
        message.Result = AcceptsDesignTimeMouse(p.X, p.Y, MouseKeysToShiftState(message.WParam)) ? 1 : 0;
      }
      return;
    case CM_INVALIDATE:
      if (HandleAllocated() && !IsDestroying()) InvalidateWithChildren(this, message.WParam == 0, NeedsFullRepaint());
      return;
    case CN_KEYDOWN: return HandleKeyDown(message);
    case CN_SYSKEYDOWN:
      if (IsPopupMenuShortCutInChain(message)) {
        message.Result = 1;
        return;
      }
      return TCustomControl::Dispatch(message);
    default: TCustomControl::Dispatch(message);
  }
}

void TvxControl::HandleKeyDown(TMessage& message) {
  if (IsPopupMenuShortCutInChain(message)) {
    message.Result = 1;
    return;
  }
  if (dragAndDropPhase_ != ddpIdle) {
    FinishDragAndDrop(false);
    message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(message);
}

// The control's own off-screen painting marks its erase message with the
// DC in both parameters: that one always erases.
void TvxControl::HandleEraseBackground(TMessage& message) {
  if (!WantsEraseBackground() && message.LParam != LPARAM(message.WParam)) {
    message.Result = 0;
    return;
  }
  HDC dc = HDC(message.WParam);
  const int saved = SaveDC(dc);
  TCustomControl::Dispatch(message);
  RestoreDC(dc, saved);
}

// --- Notifications -----------------------------------------------------------------------

void TvxControl::NotifyMouseEnter(TControl* control) {
  if (OnMouseEnter) OnMouseEnter(control);
}

void TvxControl::NotifyMouseLeave(TControl* control) {
  if (OnMouseLeave) OnMouseLeave(control);
}

void TvxControl::FocusStateChanged() {
  if (OnFocusChanged) OnFocusChanged(this);
}

// No form designer runs in this program: design mode is never on, so there
// is nobody to tell.
void TvxControl::NotifyDesignerOfChange() {}

// --- Mouse --------------------------------------------------------------------------------

void TvxControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { HandleMouseDown(button, shift, x, y); }
void TvxControl::MouseMove(TShiftState shift, int x, int y) { HandleMouseMove(shift, x, y); }
void TvxControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { HandleMouseUp(button, shift, x, y); }

void TvxControl::AfterMouseButtonPress(int button, int, int) {
  if (button == 2) ScrollAnchorMode();
}

void TvxControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  mouseDownPos_ = {x, y};
  TvxObjectLinkScope self(this);
  if (CanFocusOnClickAt(x, y) && !(shift & ssDouble)) {
    const TRect before = BoundsRect();
    SetFocus();
    if (!self.Alive()) return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() == this && !HasInputFocus()) ::SetFocus(Handle());
    if (!HasInputFocus() && !AllowsMouseDownUnfocused()) {
      SetMouseCapture(false);
      return;
    }
    if (AdjustMouseForFocusMove()) {
      x += before.Left - Left();
      y += before.Top - Top();
    }
  }
  TvxDragDropEvent press = ddeOtherPress;
  if (button == mbLeft && !(shift & ssDouble) && CanBeginDragAndDropAt({x, y}))
    press = GetDragAndDropObject()->StartsImmediately() ? ddePressToBeginImmediately : ddePressToBegin;
  switch (vxDragDropPhaseAfter(dragAndDropPhase_, press)) {
    case ddpActive: BeginDragAndDropOperation(); break;
    case ddpPending: SetDragAndDropState(ddpPending); break;
    case ddpIdle: FinishDragAndDrop(false); break;
  }
  if (!self.Alive()) return;
  PreMouseDownEvent(button, shift, x, y);
  if (!self.Alive()) return;
  TCustomControl::MouseDown(button, shift, x, y);
  if (self.Alive() && MouseCapture()) mouseButtonPressed_ = true;
}

void TvxControl::HandleMouseMove(TShiftState shift, int x, int y) {
  const TCursor keep = defaultCursor_;
  SetCursor(CursorAtPoint(x, y));
  defaultCursor_ = keep;
  TCustomControl::MouseMove(shift, x, y);
  const TvxDragDropEvent move = IsInDragDetectArea(x, y) ? ddeMoveInsideDetectArea : ddeMoveOutsideDetectArea;
  if (dragAndDropPhase_ == ddpPending && vxDragDropPhaseAfter(ddpPending, move) == ddpActive)
    BeginDragAndDropOperation();
  if (dragAndDropPhase_ == ddpActive) {
    bool accepted = false;
    DragAndDropMove({x, y}, accepted);
  }
}

void TvxControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  mouseButtonPressed_ = false;
  FinishMouseOperation();
  TCustomControl::MouseUp(button, shift, x, y);
}

void TvxControl::FinishMouseOperation() {
  FinishDragAndDrop(true);
  SetMouseCaptureObject(nullptr);
}

void TvxControl::ResetMouseCapture() {
  mouseButtonPressed_ = false;
  SetMouseCaptureObject(nullptr);
}

bool TvxControl::AcceptsDesignTimeMouse(int, int, TShiftState) {
  return dragAndDropPhase_ != ddpIdle || mouseButtonPressed_;
}

void TvxControl::SetMouseCaptureObject(TObject* object) {
  if (mouseCaptureObject_ == object) return;
  if (auto* client = Supports<IvxMouseCaptureClient>(mouseCaptureObject_)) client->MouseCaptureLost();
  const bool hadCapture = MouseCapture();
  mouseCaptureObject_ = object;
  SetMouseCapture(object != nullptr);
  if (hadCapture && !MouseCapture() && dragAndDropPhase_ == ddpPending && HandleAllocated())
    SendMessageA(Handle(), WM_CANCELMODE, 0, 0);
}

// --- Focus ----------------------------------------------------------------------------------

bool TvxControl::CanFocusOnClick() { return !IsInDesignMode() && AcceptsFocus() && CanFocus(); }

bool TvxControl::IsFocusableNow() {
  if (!CanFocus()) return false;
  TCustomForm* form = GetParentForm(this);
  return !form || (form->CanFocus() && form->Enabled() && form->Visible());
}

// --- Popup menus ---------------------------------------------------------------------------

void TvxControl::SetPopupMenu(TComponent* value) {
  if (value && !Supports<IvxPopupMenuComponent>(value)) value = nullptr;
  if (value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

bool TvxControl::ShowContextMenu(TComponent* menu, int x, int y) { return vxShowPopupMenuFor(this, menu, x, y); }

bool TvxControl::HandleContextPopup(TPoint mousePos) {
  if (mousePos.X == -1 && mousePos.Y == -1) mousePos = {0, 0};
  const TPoint p = ClientToScreen(mousePos);
  return ShowContextMenu(popupMenu_, p.X, p.Y);
}

bool TvxControl::IsPopupMenuShortCutInChain(TMessage& keyMessage) {
  if (IsInDesignMode()) return false;
  for (TControl* c = this; c; c = c->Parent()) {
    auto* vxControl = dynamic_cast<TvxControl*>(c);
    if (vxControl && vxIsPopupMenuShortCut(vxControl->PopupMenu(), keyMessage)) return true;
  }
  return false;
}

// --- Geometry and invalidation -----------------------------------------------------------------

TRect TvxControl::GetControlBounds() {
  if (HandleAllocated()) return ClientRect();
  return TRect(0, 0, Width(), Height());
}

TRect TvxControl::GetContentArea() {
  TRect r = GetControlBounds();
  const int border = BorderThickness();
  r = TRect(r.Left + border, r.Top + border, r.Right - border, r.Bottom - border);
  if (IsHScrollBarShown()) r.Bottom -= hScrollBar_->Height();
  if (IsVScrollBarShown()) r.Right -= vScrollBar_->Width();
  return r;
}

void TvxControl::InvalidateArea(const TRect& r, bool eraseBackground) {
  if (!HandleAllocated()) return;
  RECT rc = r;
  InvalidateRect(Handle(), &rc, eraseBackground);
}

namespace {

bool IsTransparentChild(TControl* child) {
  if (auto* provider = Supports<IvxTransparencyProvider>(child)) return provider->IsTransparentBackground();
  const TControlStyle style = child->ControlStyle();
  return dynamic_cast<TWinControl*>(child) && (!(style & csOpaque) || (style & csParentBackground));
}

}  // namespace

void TvxControl::InvalidateWithChildren(TWinControl* control, bool invalidateSelf, bool invalidateChildren) {
  if (!control->HandleAllocated()) return;
  if (control->Parent()) control->Parent()->Perform(CM_INVALIDATE, 1, 0);
  if (invalidateSelf) InvalidateRect(control->Handle(), nullptr, !(control->ControlStyle() & csOpaque));
  if (!invalidateChildren) return;
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (IsTransparentChild(child)) child->Invalidate();
  }
}

// --- Painting -------------------------------------------------------------------------------

void TvxControl::PaintWindow(HDC dc) { PaintWindowContents(dc); }

void TvxControl::PaintWindowContents(HDC dc) {
  if (canvas_->Canvas()->HandleAllocated()) {
    canvas_->PushSavedDC();
    TCustomControl::PaintWindow(dc);
    canvas_->PopSavedDC();
  } else {
    TCustomControl::PaintWindow(dc);
  }
}

void TvxControl::Paint() { PaintControl(); }

void TvxControl::PaintControl() {
  TCustomControl::Paint();
  RefreshScrollBarStates();
}

// Paints the update rectangle into a bitmap and copies it to the window in
// one step, so that nothing flickers while the background is erased.
void TvxControl::PaintThroughBitmap(TMessage& message) {
  PAINTSTRUCT ps{};
  HDC paintDC = BeginPaint(Handle(), &ps);
  const TRect update(ps.rcPaint);
  try {
    TvxBitmap bitmap(update);
    HDC dc = bitmap.Canvas()->Handle();
    bitmap.Canvas()->Lock();
    bitmap.VxCanvas()->ApplyWindowOrigin(update.TopLeft());
    Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    message.WParam = WPARAM(dc);
    Dispatch(message);
    message.WParam = 0;
    BitBlt(paintDC, update.Left, update.Top, update.Width(), update.Height(), dc, update.Left, update.Top,
           SRCCOPY);
    bitmap.Canvas()->Unlock();
  } catch (...) {
    EndPaint(Handle(), &ps);
    throw;
  }
  EndPaint(Handle(), &ps);
}

// --- Resize ------------------------------------------------------------------------------------

void TvxControl::Resize() { HandleResize(); }

void TvxControl::HandleResize() {
  TCustomControl::Resize();
  ContentBoundsChanged();
}

void TvxControl::ContentBoundsChanged() {
  UpdateScrollBars();
  if (NeedsFullRepaint()) Invalidate();
}
