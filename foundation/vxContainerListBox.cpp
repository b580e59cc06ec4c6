// The inner list box: a native list box that searches its items as the
// user types and lays painted scroll bars over its native ones.
#include <algorithm>

#include "foundation/vdCore.h"
#include "foundation/vxContainer.h"

namespace {

// The messages after which the painted bars follow the native ones again.
bool ChangesScrollBars(const TMessage& m) {
  switch (m.Msg) {
    case WM_SETREDRAW: return m.WParam != 0;
    case WM_WINDOWPOSCHANGED: case WM_HSCROLL: case WM_VSCROLL: case LB_ADDSTRING: case LB_INSERTSTRING:
    case LB_DELETESTRING: case LB_RESETCONTENT: case LB_SETCURSEL: case LB_SETHORIZONTALEXTENT:
    case LB_SETTOPINDEX: case LB_SETCARETINDEX: case WM_MOUSEWHEEL: case CM_WININICHANGE: return true;
    default: return false;
  }
}

TvxScrollBar* MakeScrollBar(TvxCustomInnerListBox* owner, TvxScrollBarKind kind) {
  auto bar = new TvxScrollBar(owner);
  bar->SetKind(kind);
  bar->SetSmallChange(1);
  bar->SetVisible(false);
  bar->FreeNotification(owner);
  return bar;
}

}  // namespace

TvxCustomInnerListBox::TvxCustomInnerListBox(TComponent* owner) : TListBox(owner) {
  hScrollBar_ = MakeScrollBar(this, sbHorizontal);
  vScrollBar_ = MakeScrollBar(this, sbVertical);
  hScrollBar_->OnScroll = [this](TObject*, TScrollCode code, int& position) { HandleHorzScroll(code, position); };
  vScrollBar_->OnScroll = [this](TObject*, TScrollCode code, int& position) { HandleVertScroll(code, position); };
  lookAndFeel_ = std::make_unique<TvxLookAndFeel>(this);
  lookAndFeel_->OnChanged = [this](TvxLookAndFeel*, TvxLookAndFeelValues) { HandleLookAndFeelChanged(); };
  for (TvxScrollBar* bar : {hScrollBar_, vScrollBar_}) bar->LookAndFeel()->ChangeMaster(lookAndFeel_.get());
  SetControlStyle((ControlStyle() & ~csOpaque) | csDoubleClicks);
  SetParentColor(false);
  SetParentFont(true);
}

TvxCustomInnerListBox::~TvxCustomInnerListBox() {
  lookAndFeel_->OnChanged = nullptr;
  for (TvxScrollBar* bar : {hScrollBar_, vScrollBar_})
    if (bar) bar->LookAndFeel()->ChangeMaster(nullptr);
  // A bar placed on the list box's parent belongs to that parent's window
  // tree; take it off before the parent goes on without the list box.
  for (TvxScrollBar* bar : {hScrollBar_, vScrollBar_})
    if (bar && bar->Parent()) bar->SetParent(nullptr);
}

void TvxCustomInnerListBox::Notification(TComponent* component, TOperation operation) {
  TListBox::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == hScrollBar_) hScrollBar_ = nullptr;
  if (component == vScrollBar_) vScrollBar_ = nullptr;
}

void TvxCustomInnerListBox::HandleLookAndFeelChanged() {
  if (HandleAllocated()) Invalidate();
}

// --- Incremental search ---------------------------------------------------------------------

TvxContainer* TvxCustomInnerListBox::OwningContainer() const { return dynamic_cast<TvxContainer*>(container_); }

void TvxCustomInnerListBox::Click() {
  TListBox::Click();
  if (vScrollBar_ && vScrollBar_->Visible()) vScrollBar_->SetPosition(int(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)));
  if (TvxContainer* container = OwningContainer()) container->Click();
}

void TvxCustomInnerListBox::DblClick() {
  TListBox::DblClick();
  if (TvxContainer* container = OwningContainer()) container->DblClick();
}

void TvxCustomInnerListBox::KeyDown(uint16_t& key, TShiftState shift) {
  if (TvxContainer* container = OwningContainer()) TvxContainerAccess::CallKeyDown(container, key, shift);
  if (key != 0) TListBox::KeyDown(key, shift);
}

void TvxCustomInnerListBox::KeyUp(uint16_t& key, TShiftState shift) {
  if (key == VK_TAB) key = 0;
  if (TvxContainer* container = OwningContainer()) TvxContainerAccess::CallKeyUp(container, key, shift);
  if (key != 0) TListBox::KeyUp(key, shift);
}

void TvxCustomInnerListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TListBox::MouseDown(button, shift, x, y);
  TvxContainer* container = OwningContainer();
  if (!container) return;
  container->SetClickFocusSuppressed(true);
  container->HandleMouseDown(button, shift, x + Left(), y + Top());
  container->SetClickFocusSuppressed(false);
}

void TvxCustomInnerListBox::MouseMove(TShiftState shift, int x, int y) {
  TListBox::MouseMove(shift, x, y);
  if (TvxContainer* container = OwningContainer()) container->HandleMouseMove(shift, x + Left(), y + Top());
}

void TvxCustomInnerListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TListBox::MouseUp(button, shift, x, y);
  if (TvxContainer* container = OwningContainer()) container->HandleMouseUp(button, shift, x + Left(), y + Top());
}

void TvxCustomInnerListBox::KeyPress(char& key) {
  if (key == '\t') key = 0;
  if (key != 0) {
    if (TvxContainer* container = OwningContainer()) {
      TvxContainerAccess::CallKeyPress(container, key);
      // Enter belongs to the hosting editor, never to the search.
      if (key == '\r') key = 0;
    }
  }
  if (key == 0) return;
  TListBox::KeyPress(key);
  if (key != 0) ProcessAutoCompleteKey(key);
}

void TvxCustomInnerListBox::ProcessAutoCompleteKey(char& key) {
  if (!autoComplete_) return;
  const uint32_t now = Clock();
  if (now - lastKeyTime_ >= autoCompleteDelay_) filter_.clear();
  lastKeyTime_ = now;
  const auto c = static_cast<unsigned char>(key);
  if (c == VK_BACK) {
    vxRemoveLastFilterChar(filter_, vdIsAnsiLeadByte);
  } else if (!vdIsAnsiLeadByte(c)) {
    filter_ += key;
  } else {
    MSG msg;
    if (HandleAllocated() && PeekMessageA(&msg, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE)) {
      filter_ += key;
      filter_ += char(msg.wParam);
      key = 0;
    }
  }
  if (filter_.empty()) {
    SetItemIndex(0);
    Click();
  } else {
    const LRESULT found = SendMessageA(Handle(), LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(filter_.c_str()));
    if (found != LB_ERR) {
      SetItemIndex(int(found));
      Click();
    }
    if (c != VK_BACK && c != VK_RETURN && c != VK_ESCAPE) key = 0;
  }
}

// --- Painted scroll bars ----------------------------------------------------------------------

void TvxCustomInnerListBox::SyncScrollBar(TvxScrollBar* bar, LONG objectId, int nativeBar) {
  if (!bar) return;
  bool visible = false;
  SCROLLBARINFO info;
  if (Parent() && vxQueryScrollBarInfo(Handle(), objectId, info) && vxNativeScrollBarShown(info)) {
    bar->SetEnabled(!(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && Parent()->Enabled());
    TRect r(info.rcScrollBar);
    vxMapWindowRect(nullptr, Parent()->Handle(), r);
    visible = r.Left >= 0 && r.Top >= 0 && r.Width() <= Width() && r.Height() <= Height();
    if (visible) bar->SetBoundsRect(r);
  }
  if (visible) {
    ++scrollBarLock_;
    bar->SetParent(Parent());
    --scrollBarLock_;
    bar->SetCtl3D(false);
    bar->BringToFront();
  } else {
    bar->SetBounds(0, 0, 0, 0);
  }
  bar->SetVisible(visible);
  if (visible) vxMirrorScrollInfo(bar, Handle(), nativeBar);
}

void TvxCustomInnerListBox::SyncScrollBars() {
  if (IsDestroying() || scrollBarLock_ > 0 || !vxNativeScrollBarInfoAvailable() || redrawLocked_ ||
      !HandleAllocated())
    return;
  calculatingScrollBars_ = true;
  SyncScrollBar(hScrollBar_, OBJID_HSCROLL, SB_HORZ);
  SyncScrollBar(vScrollBar_, OBJID_VSCROLL, SB_VERT);
  calculatingScrollBars_ = false;
}

void TvxCustomInnerListBox::HandleHorzScroll(TScrollCode code, int& position) {
  CallWindowProcA(defWndProc_, Handle(), WM_HSCROLL, MAKEWPARAM(code, position),
                  reinterpret_cast<LPARAM>(hScrollBar_->Handle()));
  position = GetScrollPos(Handle(), SB_HORZ);
}

void TvxCustomInnerListBox::HandleVertScroll(TScrollCode code, int& position) {
  switch (code) {
    case scLineUp:
    case scLineDown: SendMessageA(Handle(), LB_SETTOPINDEX, WPARAM(position), 0); break;
    case scPosition:
    case scTrack:
      SendMessageA(Handle(), LB_SETTOPINDEX, WPARAM(position), 0);
      position = GetScrollPos(Handle(), SB_VERT);
      break;
    default:
      CallWindowProcA(defWndProc_, Handle(), WM_VSCROLL, MAKEWPARAM(code, position),
                      reinterpret_cast<LPARAM>(vScrollBar_->Handle()));
      position = GetScrollPos(Handle(), SB_VERT);
  }
}

TRect TvxCustomInnerListBox::GetSizeGripBounds() {
  if (!hScrollBar_ || !vScrollBar_ || !hScrollBar_->Visible() || !vScrollBar_->Visible()) return {};
  const int x = vScrollBar_->Left() - Left(), y = hScrollBar_->Top() - Top();
  return {x, y, x + vScrollBar_->Width(), y + hScrollBar_->Height()};
}

void TvxCustomInnerListBox::DrawSizeGrip() {
  const TRect r = GetSizeGripBounds();
  TvxContainer* container = OwningContainer();
  if (container && vxNativeScrollBarInfoAvailable() && !vxIsEmptyRect(r)) vxPaintSizeGripSquare(container, r);
}

// --- Messages ---------------------------------------------------------------------------------

void TvxCustomInnerListBox::WndProc(TMessage& m) {
  TListBox::WndProc(m);
  if (ChangesScrollBars(m)) SyncScrollBars();
}

void TvxCustomInnerListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      TListBox::Dispatch(m);
      if (container_) {
        m.Result |= DLGC_WANTCHARS;
        if (GetKeyState(VK_CONTROL) >= 0) m.Result |= DLGC_WANTTAB;
      }
      return;
    case WM_NCCALCSIZE:
      TListBox::Dispatch(m);
      if (!calculatingScrollBars_) SyncScrollBars();
      return;
    case WM_NCPAINT:
      TListBox::Dispatch(m);
      DrawSizeGrip();
      return;
    case WM_PRINT:
      if (vxNativeScrollBarInfoAvailable() && (m.LParam & PRF_NONCLIENT)) {
        m.LParam &= ~LPARAM(PRF_NONCLIENT);
        DrawSizeGrip();
      }
      DefaultHandler(m);
      return;
    case WM_SETREDRAW:
      DefaultHandler(m);
      redrawLocked_ = m.WParam == 0;
      if (!IsDestroying() && m.WParam != 0) SyncScrollBars();
      return;
    case WM_WINDOWPOSCHANGED:
      TListBox::Dispatch(m);
      if (!IsDestroying() && !vxIsEmptyRect(GetSizeGripBounds())) DrawSizeGrip();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TListBox::Dispatch(m);
      TvxContainer* container = OwningContainer();
      if (!container || container->IsDestroying() || IsDestroying()) return;
      if (m.Msg == WM_SETFOCUS && container->HandleAllocated() && HWND(m.WParam) == container->Handle()) return;
      container->FocusStateChanged();
      return;
    }
    case CM_MOUSELEAVE:
      TListBox::Dispatch(m);
      if (TvxContainer* container = OwningContainer()) container->RefreshFromCursor(true);
      return;
    case WM_DESTROY:
      redrawLocked_ = false;
      TListBox::Dispatch(m);
      return;
    default: TListBox::Dispatch(m);
  }
}
