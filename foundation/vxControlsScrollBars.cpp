// The built-in scroll bars of TvxControl: the two bars and the size grip,
// the update that turns a control's wishes into shown bars, their placement,
// the settings controller that hears changed system bar sizes, line and
// wheel scrolling, and the middle-button scroll-anchor mode.
//
// An update recalculates the wishes until they settle, applies them, and
// when a bar appeared or went, runs again for the changed content area. The
// bars' needs can depend on each other (showing one shrinks the area so that
// the other is needed, and so on): calculation passes and nested updates are
// bounded, and a bar that keeps flipping is shown disabled.
#include "foundation/vxControlsBase.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"
#include "platform/ui/ResourceStream.h"

namespace {

// Calculation passes of one update and nested updates before a bar whose
// need keeps changing is given up on (shown, disabled).
constexpr int kMaxCalculationPasses = 4;
constexpr int kMaxNestedUpdates = 4;

TvxSettingsController* settingsController = nullptr;
bool settingsControllerFinalized = false;

// Z-order of a bar and of the grip: always on top of the control's other
// children, without moving or sizing.
void BringChildToTop(TWinControl* control) {
  if (control->Parent() && control->HandleAllocated())
    SetWindowPos(control->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_DEFERERASE);
}

}  // namespace

// --- TvxControlScrollBar ------------------------------------------------------------------

TvxControlScrollBar::TvxControlScrollBar(TComponent* owner) : TvxScrollBar(owner) {
  SetColor(clBtnFace);
  SetControlStyle((ControlStyle() & ~csFramed) | csNoDesignVisible);
  SetTabStop(false);
  SetVisible(false);
}

TvxControlScrollBar::~TvxControlScrollBar() { vxResetObjectLinks(this); }

void TvxControlScrollBar::ApplyPendingParams() {
  if (pending_.Visible) {
    SetScrollParams(pending_.Min, pending_.Max, pending_.PageSize, pending_.Position, true);
    SetSmallChange(pending_.SmallChange);
    SetLargeChange(pending_.LargeChange);
  }
  SetEnabled(pending_.Enabled);
  if (Visible() != pending_.Visible) SetVisible(pending_.Visible);
}

void TvxControlScrollBar::WndProc(TMessage& message) { ProcessWindowMessage(message); }

void TvxControlScrollBar::ProcessWindowMessage(TMessage& message) {
  TvxObjectLinkScope self(this);
  if (message.Msg == WM_LBUTTONDOWN) FocusParentOnPress();
  if (self.Alive()) TvxScrollBar::WndProc(message);
}

void TvxControlScrollBar::FocusParentOnPress() {
  TWinControl* parent = Parent();
  if (!parent) return;
  if (auto* control = dynamic_cast<TvxControl*>(parent)) {
    if (control->CanFocusOnScrollBarClick(this)) control->SetFocus();
  } else if (parent->CanFocus()) {
    parent->SetFocus();
  }
}

void TvxControlScrollBar::Dispatch(TMessage& message) {
  if (message.Msg == CM_DESIGNHITTEST) {
    message.Result = 1;
    return;
  }
  TvxScrollBar::Dispatch(message);
}

// --- TvxSizeGrip ---------------------------------------------------------------------------

TvxSizeGrip::TvxSizeGrip(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetControlStyle(ControlStyle() | csNoDesignVisible);
  vxCanvas_ = std::make_unique<TvxCanvas>(Canvas());
  lookAndFeel_ = std::make_unique<TvxLookAndFeel>(this);
  lookAndFeel_->OnChanged = [this](TvxLookAndFeel*, TvxLookAndFeelValues) { Invalidate(); };
}

TvxSizeGrip::~TvxSizeGrip() = default;

void TvxSizeGrip::Paint() {
  vxCanvas_->FillAreaWithColor(ClientRect(), lookAndFeel_->ActivePainter()->VerticalGridBackgroundColor());
}

void TvxSizeGrip::Dispatch(TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(message);
}

// --- TvxSettingsController -----------------------------------------------------------------

class TvxSettingsController::TWindow : public TvxMessageWindow {
 public:
  explicit TWindow(TvxSettingsController* owner) : owner_(owner) {}

 protected:
  void HandleMessage(TMessage& message) override {
    try {
      owner_->HandleMessage(message);
    } catch (...) {
      HandleControlException(nullptr);
    }
  }

 private:
  TvxSettingsController* owner_;
};

TvxSettingsController::TvxSettingsController() = default;
TvxSettingsController::~TvxSettingsController() = default;

HWND TvxSettingsController::Window() const { return window_ ? window_->Handle() : nullptr; }

void TvxSettingsController::Register(TvxControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  if (controls_.empty()) window_ = std::make_unique<TWindow>(this);
  controls_.push_back(control);
}

void TvxSettingsController::Unregister(TvxControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (controls_.empty()) window_.reset();
}

void TvxSettingsController::HandleMessage(TMessage& message) {
  if (message.Msg == WM_SETTINGCHANGE && message.WParam == SPI_SETNONCLIENTMETRICS) {
    for (TvxControl* control : controls_)
      if (control->HandleAllocated()) SendNotifyMessageA(control->Handle(), DXM_RECALCSCROLLBARS, 0, 0);
    message.Result = 0;
    return;
  }
  message.Result = DefWindowProcA(Window(), message.Msg, message.WParam, message.LParam);
}

TvxSettingsController* vxSettingsControllerInstance() {
  if (!settingsController && !settingsControllerFinalized) settingsController = new TvxSettingsController;
  return settingsController;
}

void vxControlsBaseInitialize() { settingsControllerFinalized = false; }

void vxControlsBaseFinalize() {
  settingsControllerFinalized = true;
  delete settingsController;
  settingsController = nullptr;
}

// --- Creation, parenting, destruction -----------------------------------------------------------

TvxControlScrollBarClass TvxControl::ScrollBarClassRef(TvxScrollBarKind) {
  return vxNewControlScrollBar<TvxControlScrollBar>;
}

void TvxControl::CreateScrollBars() {
  if (!HasBuiltInScrollBars() || sizeGrip_) return;
  for (TvxScrollBarKind kind : {sbHorizontal, sbVertical}) {
    TvxControlScrollBar* bar = ScrollBarClassRef(kind)(nullptr);
    bar->SetKind(kind);
    bar->OnScroll = [this](TObject* sender, TScrollCode code, int& pos) { HandleScrollBarScroll(sender, code, pos); };
    (kind == sbHorizontal ? hScrollBar_ : vScrollBar_) = bar;
  }
  sizeGrip_ = new TvxSizeGrip(nullptr);
  for (TvxLookAndFeel* lookAndFeel : {sizeGrip_->LookAndFeel(), hScrollBar_->LookAndFeel(), vScrollBar_->LookAndFeel()})
    lookAndFeel->ChangeMaster(lookAndFeel_.get());
  for (TControl* c : std::initializer_list<TControl*>{hScrollBar_, vScrollBar_, sizeGrip_})
    c->SetControlStyle(c->ControlStyle() | csReplicatable);
  if (TvxSettingsController* controller = vxSettingsControllerInstance()) controller->Register(this);
}

// The bars and the grip have no owner, and a parent does not free its
// children: the control frees them itself.
void TvxControl::DestroyScrollBars() {
  if (!sizeGrip_) return;
  if (TvxSettingsController* controller = vxSettingsControllerInstance()) controller->Unregister(this);
  delete sizeGrip_;
  delete vScrollBar_;
  delete hScrollBar_;
  sizeGrip_ = nullptr;
  vScrollBar_ = hScrollBar_ = nullptr;
}

void TvxControl::RebuildScrollBars() {
  if (HasBuiltInScrollBars()) {
    CreateScrollBars();
    if (HandleAllocated()) AttachScrollBarsToWindow();
  } else {
    DestroyScrollBars();
  }
}

void TvxControl::AttachScrollBarsToWindow() {
  if (!HasBuiltInScrollBars() || !sizeGrip_) return;
  hScrollBar_->SetParent(this);
  vScrollBar_->SetParent(this);
  sizeGrip_->SetParent(this);
}

bool TvxControl::IsInternalScrollControl(TControl* control) {
  return control && (control == hScrollBar_ || control == vScrollBar_ || control == sizeGrip_);
}

void TvxControl::HandleScrollBarScroll(TObject* sender, TScrollCode scrollCode, int& scrollPos) {
  ScrollContentBy(static_cast<TvxScrollBar*>(sender)->Kind(), scrollCode, scrollPos);
}

// --- The wishes and the update -----------------------------------------------------------------

bool TvxControl::IsHScrollBarShown() const {
  if (!hScrollBar_ || !const_cast<TvxControl*>(this)->HasBuiltInScrollBars()) return false;
  return calculatingScrollBarParams_ ? hScrollBar_->Pending().Visible : hScrollBar_->Visible();
}

bool TvxControl::IsVScrollBarShown() const {
  if (!vScrollBar_ || !const_cast<TvxControl*>(this)->HasBuiltInScrollBars()) return false;
  return calculatingScrollBarParams_ ? vScrollBar_->Pending().Visible : vScrollBar_->Visible();
}

void TvxControl::SetScrollBarParams(TvxScrollBarKind kind, int min, int max, int smallChange, int pageSize,
                                    int position, bool allowShow, bool allowHide) {
  TvxControlScrollBar* bar = kind == sbHorizontal ? hScrollBar_ : vScrollBar_;
  if (bar) vxRecordScrollBarParams(bar->Pending(), min, max, smallChange, pageSize, position, allowShow, allowHide);
}

void TvxControl::UpdateScrollBars() {
  if (!HasBuiltInScrollBars() || !sizeGrip_) return;
  const bool outermost = !updatingScrollBars_;
  if (outermost) {
    initialHScrollBarVisible_ = hScrollBar_->Visible();
    initialVScrollBarVisible_ = vScrollBar_->Visible();
    nestedScrollBarUpdates_ = 0;
  } else {
    ++nestedScrollBarUpdates_;
  }
  struct Restore {
    TvxControl* control;
    bool saved, outermost;
    ~Restore() {
      if (outermost) control->scrollBarsStabilized_ = false;
      control->updatingScrollBars_ = saved;
    }
  } restore{this, updatingScrollBars_, outermost};
  updatingScrollBars_ = true;

  const bool hShownBefore = hScrollBar_->Visible(), vShownBefore = vScrollBar_->Visible();
  if (!scrollBarsStabilized_) {
    if (!calculatingScrollBarParams_) CalculateScrollBarWishes();
    const TvxControlScrollBarParams &h = hScrollBar_->Pending(), &v = vScrollBar_->Pending();
    const bool backToStart = h.Visible == initialHScrollBarVisible_ && v.Visible == initialVScrollBarVisible_;
    if ((!outermost && backToStart) || nestedScrollBarUpdates_ >= kMaxNestedUpdates) {
      // The layout would flip back to where it started (or keeps changing):
      // a bar whose visibility changed stays, shown and disabled.
      scrollBarsStabilized_ = true;
      for (auto [bar, initial] : {std::pair{hScrollBar_, initialHScrollBarVisible_}, {vScrollBar_, initialVScrollBarVisible_}})
        if (bar->Visible() != initial) {
          bar->SetEnabled(false);
          bar->SetVisible(true);
        }
    } else {
      hScrollBar_->ApplyPendingParams();
      vScrollBar_->ApplyPendingParams();
    }
  }
  if (hScrollBar_->Visible() != hShownBefore || vScrollBar_->Visible() != vShownBefore) {
    ContentBoundsChanged();
    return;
  }
  sizeGrip_->SetVisible(hScrollBar_->Visible() && vScrollBar_->Visible());
  PlaceScrollBars();
  if (KeepScrollBarsOnTop()) BringScrollBarsToFront();
}

// Asks the control for its wishes until the bars' visibilities settle; a
// bar still flipping after the last pass stays shown, disabled.
void TvxControl::CalculateScrollBarWishes() {
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{calculatingScrollBarParams_};
  calculatingScrollBarParams_ = true;
  TvxControlScrollBarParams &h = hScrollBar_->Pending(), &v = vScrollBar_->Pending();
  h.Visible = v.Visible = false;
  for (int pass = 0;; ++pass) {
    const bool hBefore = IsHScrollBarShown(), vBefore = IsVScrollBarShown();
    CalculateScrollBarParams();
    if (h.Visible == hBefore && v.Visible == vBefore) break;
    if (pass + 1 == kMaxCalculationPasses) {
      for (auto [params, before] : {std::pair{&h, hBefore}, {&v, vBefore}})
        if (params->Visible != before) {
          params->Visible = true;
          params->Enabled = false;
        }
      break;
    }
  }
  ReclaimScrollBarSpace();
}

// Two bars that scroll by pixels and are each needed only because the other
// takes room both go: without them the content fits.
void TvxControl::ReclaimScrollBarSpace() {
  TvxControlScrollBarParams h = hScrollBar_->Pending(), v = vScrollBar_->Pending();
  auto eligible = [](const TvxControlScrollBarParams& p) { return p.Visible && p.Enabled && p.AllowHide; };
  if (!eligible(h) || !eligible(v)) return;
  const int hThickness = hScrollBar_->Height(), vThickness = vScrollBar_->Width();
  const bool hOnlyForV = ScrollsByPixels(sbHorizontal) && vxScrollBarNeededOnlyForOther(h, vThickness);
  const bool vOnlyForH = ScrollsByPixels(sbVertical) && vxScrollBarNeededOnlyForOther(v, hThickness);
  if (!hOnlyForV || !vOnlyForH) return;
  SetScrollBarParams(sbHorizontal, h.Min, h.Max, h.SmallChange, h.PageSize + vThickness, h.Position, h.AllowShow,
                     h.AllowHide);
  SetScrollBarParams(sbVertical, v.Min, v.Max, v.SmallChange, v.PageSize + hThickness, v.Position, v.AllowShow,
                     v.AllowHide);
}

// --- Geometry ------------------------------------------------------------------------------------

TRect TvxControl::GetHScrollBarBounds() {
  const TRect content = GetContentArea();
  return TRect(content.Left, content.Bottom, content.Right, content.Bottom + hScrollBar_->Height());
}

TRect TvxControl::GetVScrollBarBounds() {
  const TRect content = GetContentArea();
  return TRect(content.Right, content.Top, content.Right + vScrollBar_->Width(), content.Bottom);
}

TRect TvxControl::GetSizeGripBounds() {
  return TRect(vScrollBar_->Left(), hScrollBar_->Top(), vScrollBar_->Left() + vScrollBar_->Width(),
               hScrollBar_->Top() + hScrollBar_->Height());
}

void TvxControl::PlaceScrollBars() {
  if (hScrollBar_->Visible()) hScrollBar_->SetBoundsRect(GetHScrollBarBounds());
  if (vScrollBar_->Visible()) vScrollBar_->SetBoundsRect(GetVScrollBarBounds());
  if (sizeGrip_->Visible()) sizeGrip_->SetBoundsRect(GetSizeGripBounds());
}

void TvxControl::RefreshScrollBarStates() {
  if (!HasBuiltInScrollBars() || !sizeGrip_) return;
  for (TControl* c : std::initializer_list<TControl*>{hScrollBar_, vScrollBar_, sizeGrip_})
    if (c->Visible()) c->Update();
}

void TvxControl::BringScrollBarsToFront() {
  BringChildToTop(hScrollBar_);
  BringChildToTop(vScrollBar_);
  BringChildToTop(sizeGrip_);
}

void TvxControl::ReadSystemScrollBarSizes() {
  if (!HasBuiltInScrollBars() || !sizeGrip_) return;
  const int h = GetSystemMetrics(SM_CYHSCROLL), w = GetSystemMetrics(SM_CXVSCROLL);
  if (hScrollBar_->Height() == h && vScrollBar_->Width() == w) return;
  hScrollBar_->SetHeight(h);
  vScrollBar_->SetWidth(w);
  ContentBoundsChanged();
}

// --- Line and wheel scrolling --------------------------------------------------------------------

void TvxControl::ScrollContent(TvxDirection direction) {
  if (direction == dirNone) return;
  const bool withBars = HasBuiltInScrollBars() && sizeGrip_;
  if (!withBars && !CanScrollWithoutBars(direction)) return;
  const TvxScrollBarKind kind = direction == dirUp || direction == dirDown ? sbVertical : sbHorizontal;
  const TScrollCode code = direction == dirLeft || direction == dirUp ? scLineUp : scLineDown;
  int pos = withBars ? (kind == sbHorizontal ? hScrollBar_ : vScrollBar_)->Position() : 0;
  ScrollContentBy(kind, code, pos);
  Update();
}

int TvxControl::WheelScrollKind() { return IsVScrollBarShown() ? 2 : 0; }

bool TvxControl::HandleMouseWheel(TShiftState, int wheelDelta, TPoint) {
  const int kind = WheelScrollKind();
  if (kind == 0 || wheelDelta == 0) return false;
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const TvxDirection direction =
      kind == 1 ? (wheelDelta > 0 ? dirLeft : dirRight) : (wheelDelta > 0 ? dirUp : dirDown);
  for (UINT i = 0; i < lines; ++i) ScrollContent(direction);
  return true;
}

// --- Scroll-anchor mode ---------------------------------------------------------------------------

TCursor vxScrollAnchorCursor(TvxDirection direction, bool hBarShown, bool vBarShown) {
  switch (direction) {
    case dirLeft: return crvxLeftScroll;
    case dirRight: return crvxRightScroll;
    case dirUp: return crvxUpScroll;
    case dirDown: return crvxDownScroll;
    case dirNone: break;
  }
  if (hBarShown && vBarShown) return crvxFullScroll;
  return hBarShown ? crvxHorScroll : crvxVerScroll;
}

namespace {

UINT_PTR anchorTimerId = 0;

// The round window that marks the anchor, with the picture of the
// directions the control scrolls in.
class TAnchorWindow {
 public:
  TAnchorWindow(HWND owner, TPoint anchor, bool hBar, bool vBar) {
    const char* name = hBar && vBar ? "VX_FULLSCROLLBITMAP" : hBar ? "VX_HORSCROLLBITMAP" : "VX_VERSCROLLBITMAP";
    bitmap_ = LoadBitmapA(GetModuleHandleA(nullptr), name);
    if (!bitmap_) throw EResNotFound(Format("Resource %s not found", {name}));
    BITMAP info{};
    GetObjectA(bitmap_, sizeof info, &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP, anchor.X - width_ / 2, anchor.Y - height_ / 2,
                              width_, height_, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowRgn(window_, CreateEllipticRgn(0, 0, width_ + 1, height_ + 1), FALSE);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Draw();
  }
  ~TAnchorWindow() {
    if (window_) DestroyWindow(window_);
    DeleteObject(bitmap_);
  }
  TAnchorWindow(const TAnchorWindow&) = delete;
  TAnchorWindow& operator=(const TAnchorWindow&) = delete;

  HWND Handle() const { return window_; }
  int Width() const { return width_; }

 private:
  void Draw() {
    HDC dc = GetWindowDC(window_);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    BitBlt(dc, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    HRGN outline = CreateEllipticRgn(0, 0, width_ + 1, height_ + 1);
    FrameRgn(dc, outline, GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
    DeleteObject(outline);
    ReleaseDC(window_, dc);
  }

  HBITMAP bitmap_ = nullptr;
  HWND window_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace

UINT_PTR TvxControl::ScrollAnchorTimerId() { return anchorTimerId; }

void TvxControl::ScrollAnchorMode() {
  const bool hBar = IsHScrollBarShown(), vBar = IsVScrollBarShown();
  if (!hBar && !vBar) return;
  const TPoint anchor = vxGetCursorPosition();
  HWND wnd = Handle();
  TAnchorWindow anchorWindow(wnd, anchor, hBar, vBar);
  TvxScrollAnchorMove move;
  bool zoneLeft = false;
  TPoint last = anchor;
  const TCursor savedCursor = Screen->Cursor();
  Screen->SetCursor(vxScrollAnchorCursor(dirNone, hBar, vBar));
  int ticks = 0;
  move.Speed = 1;
  anchorTimerId = SetTimer(nullptr, 0, 20, nullptr);
  SetCapture(wnd);
  struct CleanUp {
    HWND wnd;
    TCursor cursor;
    ~CleanUp() {
      if (GetCapture() == wnd) ReleaseCapture();
      KillTimer(nullptr, anchorTimerId);
      anchorTimerId = 0;
      Screen->SetCursor(cursor);
    }
  } cleanUp{wnd, savedCursor};

  TvxObjectLinkScope self(this);
  MSG msg{};
  while (GetCapture() == wnd) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_PAINT && msg.hwnd == anchorWindow.Handle()) {
      ValidateRect(msg.hwnd, nullptr);
      continue;
    }
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_ESCAPE) {
      DispatchMessageA(&msg);
      break;
    }
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == anchorTimerId) {
      ++ticks;
      if (move.Direction != dirNone && ticks % vxScrollAnchorTicksPerLine(move.Speed) == 0) {
        ScrollContent(move.Direction);
        if (!self.Alive()) break;
      }
      DispatchMessageA(&msg);
      continue;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt{short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
      ::ClientToScreen(msg.hwnd, &pt);
      if (pt.x != last.X || pt.y != last.Y) {
        move = vxScrollAnchorMoveAt(anchor.X, anchor.Y, pt.x, pt.y, anchorWindow.Width(), Screen->Width(),
                                    Screen->Height(), hBar, vBar);
        zoneLeft = zoneLeft || move.LeftZone;
        Screen->SetCursor(vxScrollAnchorCursor(move.Direction, hBar, vBar));
        last = TPoint(pt);
      }
      DispatchMessageA(&msg);
      continue;
    }
    if ((msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDOWN) || msg.message == WM_MBUTTONDBLCLK ||
        msg.message == WM_MOUSEWHEEL)
      break;
    if (msg.message == WM_MBUTTONUP) {
      DispatchMessageA(&msg);
      if (zoneLeft) break;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
