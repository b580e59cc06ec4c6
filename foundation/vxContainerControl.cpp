// The container: its state update, the view info it computes, the window
// region of its frame and shadow, the placement of its inner control, and
// how it and the inner control share focus, keys, mouse and scroll bars.
//
// Every state change (focus, enabled, mouse, size, style, look-and-feel,
// colour) funnels into UpdateStateAt, which recomputes the view info whole;
// painting only draws it. A request that comes in while an update runs is
// not run but leaves the state marked stale, and the next paint refreshes.
#include <algorithm>

#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxContainer.h"
#include "foundation/vxDWMApi.h"

namespace {

constexpr int kShadowSize = 3;
constexpr int kTransparentBorderWidth = 2;
constexpr int kThemeFillColor = 3802;

// Raises a counter for a scope.
class TCounterScope {
 public:
  explicit TCounterScope(int& counter) : counter_(counter) { ++counter_; }
  ~TCounterScope() { --counter_; }
  TCounterScope(const TCounterScope&) = delete;
  TCounterScope& operator=(const TCounterScope&) = delete;

 private:
  int& counter_;
};

bool IsKeyMessage(UINT msg) {
  return (msg >= WM_KEYDOWN && msg <= WM_CHAR) || (msg >= CN_KEYDOWN && msg <= CN_CHAR);
}

}  // namespace

// --- Construction -----------------------------------------------------------------------

TvxContainer::TvxContainer(TComponent* owner) : TvxControl(owner) {
  styles_ = std::make_unique<TvxContainerStyles>(this, GetStyleClass());
  styles_->AssignChangeHandler([this](TObject* sender) { ApplyStyleToControl(sender); });
  cachedStyle_ = Style();
  viewInfo_ = GetViewInfoClass()();
  LookAndFeel()->ChangeMaster(Style()->GetLookAndFeel());
  SetControlStyle(ControlStyle() | csCaptureMouse | csSetCaption);
  SetTabStop(true);
  SetParentColor(UsesParentColorByDefault() && !IsEmbeddedEditor() && !Style()->HasAssignedValue(svColor));
  if (!ParentColor()) SetColor(clWindow);
  ForgetInnerWindowRegion();
  creating_ = false;
}

TvxContainer::~TvxContainer() {
  vxStopMouseTracking(this);
  styles_->AssignChangeHandler(nullptr);
  // The look-and-feel follows the Normal style's: detach it before the
  // styles go.
  LookAndFeel()->ChangeMaster(nullptr);
  DestroyComponents();
  viewInfo_.reset();
  styles_.reset();
}

TvxContainerViewInfoClass TvxContainer::GetViewInfoClass() {
  return [] { return std::make_unique<TvxContainerViewInfo>(); };
}

void TvxContainer::SetInnerControl(TWinControl* control) {
  if (innerControl_ == control) return;
  if (innerControl_) innerControl_->RemoveFreeNotification(this);
  innerControl_ = control;
  if (innerControl_) innerControl_->FreeNotification(this);
}

void TvxContainer::HandleComponentRemoval(TComponent* component, TOperation operation) {
  TvxControl::HandleComponentRemoval(component, operation);
  if (operation == opRemove && component == innerControl_) innerControl_ = nullptr;
}

void TvxContainer::Loaded() {
  TvxControl::Loaded();
  AlignInnerControl();
  ApplyStyleToControl(Style());
}

bool TvxContainer::StoresStyleProperty(const String& name, bool nonNormalState) {
  if (nonNormalState && !Style()->PublishesStyleProperty(name)) return false;
  TvxContainerStyleValue value;
  if (Style()->FindStyleValueByName(name, value)) return !(GetUnsupportedStyleValues() & vxStyleValueBit(value));
  return true;
}

// --- State update ----------------------------------------------------------------------------

bool TvxContainer::CanRefreshState() {
  return stateUpdateCount_ == 0 && !creating_ && !IsDestroying() && !(ControlState() & csDestroyingHandle) &&
         HandleAllocated();
}

void TvxContainer::RefreshFromCursor(bool mouseEvent) {
  TPoint p(-1, -1);
  if (HandleAllocated()) {
    const TPoint cursor = vxCurrentCursorPos();
    HWND under = WindowFromPoint(POINT{cursor.X, cursor.Y});
    if (under == Handle() || IsChild(Handle(), under)) p = ScreenToClient(cursor);
  }
  UpdateStateAt(p, 0, mouseEvent, vxCurrentShiftState());
}

bool TvxContainer::UpdateStateAt(TPoint p, int buttonCode, bool mouseEvent, TShiftState shift) {
  refreshRequested_ = true;
  bool result = false;
  if (CanRefreshState()) {
    TCounterScope updating(stateUpdateCount_);
    refreshRequested_ = false;
    result = RecalculateState(p, buttonCode, mouseEvent, shift);
  }
  if (mouseEvent && CanRefreshState() && stateChangedGuard_ == 0) {
    TCounterScope guard(stateChangedGuard_);
    ContainerStateChanged();
  }
  stateUpToDate_ = result && !refreshRequested_;
  return result;
}

void TvxContainer::RefreshUnlessSuppressed() {
  if (!stateUpToDate_) RefreshFromCursor(false);
}

bool TvxContainer::RecalculateState(TPoint p, int, bool, TShiftState shift) {
  const bool hotTrackAllowed = vxShiftStateIsEmpty(shift) && GetCurrentStyle()->GetHotTrack();
  CalculateViewInfo(p, hotTrackAllowed);
  AlignInnerControl();
  ApplyStyleToInnerControl();
  ApplyWindowRegion();
  const TRect all(0, 0, Width(), Height());
  if (innerControl_)
    vxInvalidateFrameArea(Handle(), all, viewInfo_->BorderRect, false);
  else
    InvalidateArea(all, false);
  if (lastState_ & csfHot) vxStartMouseTracking(this, GetControlBounds(), this);
  return true;
}

TvxContainerStyle* TvxContainer::ChooseStyleForState(TvxContainerState state) {
  if (state & csfDisabled) return StyleDisabled();
  if (state & csfActive) return StyleFocused();
  if (Style()->GetHotTrack() && (state & csfHot)) return StyleHot();
  return Style();
}

TvxContainerStyle* TvxContainer::GetCurrentStyle() {
  if (!cachedStyle_ || viewInfo_->ContainerState != lastState_) {
    lastState_ = viewInfo_->ContainerState;
    cachedStyle_ = ChooseStyleForState(lastState_);
  }
  return cachedStyle_;
}

TvxContainerState TvxContainer::ComputeState(TPoint p, bool hotTrackAllowed) {
  TvxContainerState state;
  if (!Enabled())
    state = csfDisabled;
  else if (IsDesigning())
    state = csfNormal;
  else {
    state = FocusIsInside() ? csfActive : csfNormal;
    if (hotTrackAllowed && vxIsPointInRect(HotTrackHitBounds(), p)) state |= csfHot;
  }
  viewInfo_->ContainerState = state;
  TvxContainerStyle* style = GetCurrentStyle();
  viewInfo_->HotTrackState =
      !style->GetHotTrack() ? htsOff : (state & (csfActive | csfHot)) ? htsActive : htsIdle;
  TvxContainerBorderStyle border = viewInfo_->NativeStyle ? Style()->GetBorderStyle() : style->GetBorderStyle();
  if (!viewInfo_->NativeStyle && (border == cbsUltraFlat || border == cbsOffice11)) border = cbsSingle;
  viewInfo_->BorderStyle = border;
  return state;
}

void TvxContainer::CalculateViewInfo(TPoint p, bool hotTrackAllowed) {
  TvxContainerViewInfo& info = *viewInfo_;
  info.NativeStyle = IsNativeStyleActive();
  info.TakeSkinPainter(Style());
  const int oldWidth = vxBorderStyleWidth(info.BorderStyle);
  ComputeState(p, hotTrackAllowed);
  // The hot-tracking rectangle depends on the border stored before: a
  // thinner border may move the point out of it.
  if (!info.NativeStyle && vxBorderStyleWidth(info.BorderStyle) < oldWidth) ComputeState(p, hotTrackAllowed);
  if (info.NativeStyle) {
    info.ThemeClass = GetThemeClass();
    info.NativePart = GetNativePart();
    info.NativeState = GetNativeState();
  }
  info.Bounds = TRect(0, 0, Width(), Height());
  info.BorderRect = info.Bounds;
  vxShrinkRectByMargins(info.BorderRect, GetBorderExtent());
  info.ClientRect = info.BorderRect;
  TvxContainerStyle* style = GetCurrentStyle();
  info.BorderWidth = vxPaintedBorderWidth(info.BorderStyle, info.SkinPainter);
  info.Edges = style->GetEdges();
  info.Shadow = HasShadow();
  info.BorderColor = GetBorderColor();
  info.ChangeBackgroundColor(GetBackgroundColor());
}

// --- Borders, colours, regions --------------------------------------------------------------

TRect TvxContainer::GetBorderExtent() {
  TvxContainerStyle* style = GetCurrentStyle();
  TRect e;
  if (style->GetTransparentBorder()) {
    e = TRect(kTransparentBorderWidth, kTransparentBorderWidth, kTransparentBorderWidth, kTransparentBorderWidth);
  } else if (!style->DrawsBorder() || (viewInfo_->NativeStyle && Style()->GetBorderStyle() == cbsNone)) {
    e = TRect();
  } else if (viewInfo_->NativeStyle) {
    e = TRect(2, 2, 2, 2);
  } else {
    const int w = vxBorderStyleWidth(viewInfo_->BorderStyle);
    const TvxEdges edges = style->GetEdges();
    e = TRect(edges & 1 ? w : 0, edges & 2 ? w : 0, edges & 4 ? w : 0, edges & 8 ? w : 0);
  }
  if (HasShadow()) {
    e.Right += kShadowSize;
    e.Bottom += kShadowSize;
  }
  return e;
}

TRect TvxContainer::GetFrameBounds() {
  TRect r = viewInfo_->Bounds;
  vxShrinkRectByMargins(r, GetBorderExtent());
  const int w = vxPaintedBorderWidth(viewInfo_->BorderStyleForWidth(), viewInfo_->SkinPainter);
  r = vxInflatedRect(r, w, w);
  vxShrinkRectOnEdges(r, w, GetCurrentStyle()->GetEdges());
  return r;
}

TColor TvxContainer::GetBorderColor() {
  const TvxContainerState state = viewInfo_->ContainerState;
  TvxContainerStyle* style = GetCurrentStyle();
  const bool highlight = (state & csfActive) || ((state & csfHot) && style->GetHotTrack()) ||
                         (IsDesigning() && Enabled());
  if (TvxLookAndFeelPainterClass skin = Style()->GetLookAndFeel()->SkinPainter())
    return skin->ContainerFrameColor(highlight);
  const TvxContainerBorderStyle border = style->GetBorderStyle();
  if (border != cbsUltraFlat && border != cbsOffice11) return style->GetBorderColor();
  if (!highlight) return clBtnShadow;
  return border == cbsOffice11 ? TColor(vdOffice11SelectionFrameColor) : clHighlight;
}

void TvxContainer::GetPainterDefaultColors(TColor& background, TColor& text) {
  background = text = clDefault;
  TvxLookAndFeelPainterClass skin = Style()->GetLookAndFeel()->SkinPainter();
  if (!skin) return;
  TvxContainerStyle* style = GetCurrentStyle();
  const auto kind = TvxEditorColorKind(GetPainterEditState());
  if (!Style()->HasAssignedValue(svTextColor) && !style->HasAssignedValue(svTextColor))
    text = skin->EditorTextColor(kind);
  if (!ParentColor() && !Style()->HasAssignedValue(svColor) && !style->HasAssignedValue(svColor))
    background = skin->EditorBackgroundColor(kind);
}

int TvxContainer::GetPainterEditState() {
  if (!Enabled()) return 1;
  return FocusIsInside() ? 0 : 2;
}

TColor TvxContainer::GetBackgroundColor() {
  TColor background, text;
  GetPainterDefaultColors(background, text);
  if (background != clDefault) return background;
  TvxContainerStyle* style = GetCurrentStyle();
  TColor color = style->GetColor();
  if (viewInfo_->NativeStyle && !Enabled() && !style->HasAssignedValue(svColor)) {
    COLORREF fill;
    HTHEME theme = vdOpenThemeClass(TvdThemeClass(viewInfo_->ThemeClass));
    if (theme && vdUxGetThemeColor(theme, viewInfo_->NativePart, viewInfo_->NativeState, kThemeFillColor, &fill) == S_OK)
      color = TColor(fill);
  }
  return color;
}

bool TvxContainer::HasShadow() { return GetCurrentStyle()->GetShadow() && !IsNativeStyleActive(); }

TRect TvxContainer::HotTrackHitBounds() {
  TRect r(0, 0, Width(), Height());
  if (IsEmbeddedEditor()) return r;
  if (viewInfo_->Shadow) {
    r.Right -= kShadowSize;
    r.Bottom -= kShadowSize;
  }
  const bool transparent = Style()->GetTransparentBorder();
  if (Style()->DrawsBorder()) {
    if (viewInfo_->NativeStyle && transparent && Style()->GetBorderStyle() == cbsNone) {
      r = vxInflatedRect(r, -kTransparentBorderWidth, -kTransparentBorderWidth);
    } else if (!viewInfo_->NativeStyle && transparent) {
      const int w = vxBorderStyleWidth(viewInfo_->BorderStyle);
      r = vxInflatedRect(r, w - kTransparentBorderWidth, w - kTransparentBorderWidth);
      vxShrinkRectOnEdges(r, w, viewInfo_->Edges);
    }
  } else if (transparent) {
    r = vxInflatedRect(r, -kTransparentBorderWidth, -kTransparentBorderWidth);
  }
  if (r.Bottom < r.Top) r = TRect(r.Left, 0, r.Right, 0);
  return r;
}

bool TvxContainer::UsesFramedWindowRegion() {
  return !(viewInfo_->NativeStyle && viewInfo_->BorderStyle != cbsNone);
}

HRGN TvxContainer::BuildWindowRegion() {
  const bool native = viewInfo_->NativeStyle && viewInfo_->BorderStyle != cbsNone;
  const TRect frame = GetFrameBounds();
  HRGN region = vxWindowShadowRegion(frame, GetExtraRegionRect(), TRect(), viewInfo_->Shadow, native);
  if (UsesFramedWindowRegion()) {
    HRGN framed = CreateRectRgn(frame.Left, frame.Top, frame.Right, frame.Bottom);
    if (region) {
      CombineRgn(region, region, framed, RGN_OR);
      DeleteObject(framed);
    } else {
      region = framed;
    }
  }
  return region;
}

void TvxContainer::ApplyWindowRegion() {
  if (HandleAllocated()) vxSetWindowRegionIfChanged(Handle(), BuildWindowRegion());
}

void TvxContainer::ClipCanvasToShadowShape() {
  HRGN region = vxWindowShadowRegion(GetFrameBounds(), GetExtraRegionRect(), TRect(), viewInfo_->Shadow,
                                     !UsesFramedWindowRegion());
  if (region) vxCanvas()->ApplyClipRegion(TvxRegion::CreateOnHandle(region), roIntersect, false);
}

bool TvxContainer::IsNativeStyleActive() {
  return vxUseThemedDrawing(Style()->GetLookAndFeel()->GetNativeStyle(), GetThemeClass());
}

int TvxContainer::GetNativePart() { return vdOSVistaUp() ? 3 : 1; }

int TvxContainer::GetNativeState() {
  if (!Enabled()) return 4;
  if (IsReadOnlyState()) return 6;
  if (FocusIsInside()) return 5;
  return (viewInfo_->ContainerState & csfHot) ? 2 : 1;
}

// --- Styles applied --------------------------------------------------------------------------

void TvxContainer::ApplyStyleToControl(TObject*) {
  if (creating_ || IsLoading()) return;
  RefreshFromCursor(false);
  const bool saved = applyingStyle_;
  applyingStyle_ = true;
  try {
    if (!ParentColor() || Style()->HasAssignedValue(svColor)) SetColor(Style()->ColorForControl());
    Font()->Assign(Style()->GetFont());
    if (Style()->HasAssignedValue(svFont)) SetParentFont(false);
  } catch (...) {
    applyingStyle_ = saved;
    throw;
  }
  applyingStyle_ = saved;
}

void TvxContainer::ApplyStyleToInnerControl() {
  if (!innerControl_) return;
  innerControl_->SetColor(viewInfo_->BackgroundColor);
  innerControl_->Font()->Assign(GetStyledFont());
}

TFont* TvxContainer::GetStyledFont() {
  TFont* font = GetCurrentStyle()->EffectiveFont();
  TColor background, text;
  GetPainterDefaultColors(background, text);
  if (text != clDefault) font->SetColor(text);
  return font;
}

void TvxContainer::ColorPropertyChanged() {
  if (applyingStyle_) {
    TvxControl::ColorPropertyChanged();
    RefreshFromCursor(false);
  } else {
    Style()->SetColor(Color());
  }
}

void TvxContainer::CursorPropertyChanged() {
  TvxControl::CursorPropertyChanged();
  if (innerControl_) innerControl_->SetCursor(Cursor());
}

void TvxContainer::HandleResize() {
  TvxControl::HandleResize();
  RefreshFromCursor(false);
}

void TvxContainer::HandleResourceStringsChange() {
  TvxControl::HandleResourceStringsChange();
  RefreshFromCursor(false);
}

void TvxContainer::HandleEnabledChange() {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto bar = dynamic_cast<TvxScrollBar*>(Controls(i))) bar->SetEnabled(Enabled());
  RefreshFromCursor(false);
}

// --- Inner control placement -------------------------------------------------------------------

TRect TvxContainer::ClientRect() {
  if (IsDestroying() || vxIsEmptyRect(viewInfo_->ClientRect)) return TvxControl::ClientRect();
  return viewInfo_->ClientRect;
}

void TvxContainer::LockInnerAlignment(bool lock) {
  if (lock)
    ++innerAlignmentLock_;
  else if (innerAlignmentLock_ > 0)
    --innerAlignmentLock_;
}

void TvxContainer::AlignInnerControl() {
  if (!innerControl_ || innerControl_->BoundsRect() == viewInfo_->ClientRect) return;
  TCounterScope updating(stateUpdateCount_);
  innerControl_->SetBoundsRect(viewInfo_->ClientRect);
  ArrangeInnerControl();
}

void TvxContainer::AlignControls(TControl* control, TRect& rect) {
  TvxControl::AlignControls(control, rect);
  if (!UsesOwnTabOrder() && innerAlignmentLock_ == 0 && !creating_) ArrangeInnerControl();
}

// The inner control's window keeps only what lies inside the client area.
void TvxContainer::ArrangeInnerControl() {
  if (!innerControl_ || !innerControl_->HandleAllocated()) return;
  const TvxWindowRegion region = CalcChildClipArea(viewInfo_->ClientRect, innerControl_);
  if (region == innerRegion_ || (region.None && innerRegion_.None)) return;
  vxSetWindowRegion(innerControl_, region);
  innerRegion_ = region;
}

TvxWindowRegion TvxContainer::CalcChildClipArea(const TRect& bounds, TControl* child) {
  TvxWindowRegion region;
  if (!child) return region;
  const TRect r = child->BoundsRect();
  TRect visible(0, 0, child->Width(), child->Height());
  if (r.Left < bounds.Left) visible.Left += bounds.Left - r.Left;
  if (r.Top < bounds.Top) visible.Top += bounds.Top - r.Top;
  if (r.Right > bounds.Right) visible.Right -= r.Right - bounds.Right;
  if (r.Bottom > bounds.Bottom) visible.Bottom -= r.Bottom - bounds.Bottom;
  region.None = visible == TRect(0, 0, child->Width(), child->Height());
  region.Rect = visible;
  return region;
}

// --- Window ----------------------------------------------------------------------------------------

void TvxContainer::AdjustWindowParams(TCreateParams& params) {
  TvxControl::AdjustWindowParams(params);
  params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TvxContainer::BuildWindow() {
  TvxControl::BuildWindow();
  if (innerControl_ && vxCanAllocateHandle(innerControl_)) innerControl_->HandleNeeded();
  RefreshFromCursor(false);
}

void TvxContainer::PaintControl() {
  if (!vxCanvas()->IsRectangleVisible(viewInfo_->Bounds)) return;
  if (ControlState() & csPaintCopy) ClipCanvasToShadowShape();
  RefreshUnlessSuppressed();
  viewInfo_->Draw(vxCanvas());
}

// --- Focus ----------------------------------------------------------------------------------------

bool TvxContainer::FocusIsInside() { return IsFocusedWithInner(); }

bool TvxContainer::IsFocusedWithInner() {
  if (IsDesigning() || (ControlState() & csDestroyingHandle)) return false;
  return Focused() || (innerControl_ && innerControl_->Focused());
}

bool TvxContainer::AcceptsFocus() { return !(innerControl_ && innerControl_->Focused()); }

bool TvxContainer::CanFocusOnClick() {
  return TvxControl::CanFocusOnClick() &&
         !(innerControl_ && innerControl_->HandleAllocated() && innerControl_->Focused()) && !clickFocusSuppressed_;
}

void TvxContainer::FocusInnerControl() {
  if (innerControl_) innerControl_->SetFocus();
}

void TvxContainer::SetFocus() {
  if (IsDesigning() || FocusIsInside()) return;
  TvxControl::SetFocus();
  if (HandleAllocated() && GetFocus() == Handle() && innerControl_ && innerControl_->HandleAllocated()) {
    FocusInnerControl();
    if (TCustomForm* form = GetParentForm(this)) form->FocusControl(innerControl_);
  }
}

void TvxContainer::FocusStateChanged() {
  TvxControl::FocusStateChanged();
  RefreshFromCursor(false);
}

void TvxContainer::KeyDown(uint16_t& key, TShiftState shift) {
  TvxControl::KeyDown(key, shift);
  if (key != VK_TAB || (shift & (ssAlt | ssCtrl)) || !FocusIsInside() || !HandlesTabKey()) return;
  key = 0;
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  form->SelectNext(form->ActiveControl(), !(shift & ssShift), true);
  if (HandleAllocated() && GetFocus() == Handle() && innerControl_) FocusInnerControl();
}

// --- Mouse ------------------------------------------------------------------------------------------

void TvxContainer::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TvxControl::HandleMouseDown(button, shift, x, y);
  if (IsHotTracking()) UpdateStateAt(TPoint(x, y), vxMouseButtonCode(button), true, shift);
}

void TvxContainer::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TvxControl::HandleMouseUp(button, shift, x, y);
  UpdateStateAt(TPoint(x, y), vxMouseButtonCode(button), true, shift);
}

void TvxContainer::HandleMouseMove(TShiftState shift, int x, int y) {
  TvxControl::HandleMouseMove(shift, x, y);
  UpdateStateAt(TPoint(x, y), 0, true, shift);
  vxStartMouseTracking(this, GetControlBounds(), this);
}

void TvxContainer::NotifyMouseEnter(TControl* control) {
  TvxControl::NotifyMouseEnter(control);
  RefreshFromCursor(true);
  vxStartMouseTracking(this, GetControlBounds(), this);
}

void TvxContainer::NotifyMouseLeave(TControl* control) {
  TvxControl::NotifyMouseLeave(control);
  RefreshFromCursor(true);
  vxStopMouseTracking(this);
}

void TvxContainer::HandleMouseTrackingLeave() {
  NotifyMouseLeave(this);
  vxStopMouseTracking(this);
}

bool TvxContainer::HandleContextPopup(TPoint mousePos) {
  if (mousePos == TPoint(-1, -1) || AcceptsContextPopupAt(mousePos)) return TvxControl::HandleContextPopup(mousePos);
  return true;
}

// --- Scroll-bar mirroring -----------------------------------------------------------------------------

bool TvxContainer::QueryInnerScrollBarInfo(SCROLLBARINFO& info, TvxScrollBarKind kind) {
  if (IsDestroying() || !Parent() || !HandleAllocated() || !innerControl_ || !innerControl_->HandleAllocated())
    return false;
  return vxQueryScrollBarInfo(innerControl_->Handle(), kind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, info);
}

TRect TvxContainer::GetNativeScrollBarBounds(const SCROLLBARINFO& info) {
  TRect screen(info.rcScrollBar);
  const TPoint topLeft = ScreenToClient(screen.TopLeft());
  const TRect r(topLeft.X, topLeft.Y, screen.Width(), screen.Height());
  if (r.Left < 0 || r.Top < 0 || r.Right > Width() || r.Bottom > Height()) return {};
  return r;
}

bool TvxContainer::IsNativeScrollBarEnabled(TvxControlScrollBar* bar, const SCROLLBARINFO& info) {
  return bar->Parent() && bar->Parent()->Enabled() && !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

void TvxContainer::ShowScrollBar(TvxControlScrollBar* bar, bool visible) {
  bar->SetVisible(visible);
  if (!visible) return;
  bar->SetCtl3D(false);
  bar->BringToFront();
}

void TvxContainer::UpdateScrollBarFromInnerControl(TvxControlScrollBar* bar) {
  SCROLLBARINFO info;
  if (!QueryInnerScrollBarInfo(info, bar->Kind()) || !IsNativeScrollBarShown(info)) return ShowScrollBar(bar, false);
  bar->SetEnabled(IsNativeScrollBarEnabled(bar, info));
  const TRect r = GetNativeScrollBarBounds(info);
  bar->SetBounds(r.Left, r.Top, r.Right, r.Bottom);
  ShowScrollBar(bar, r.Right > 0 && r.Bottom > 0);
}

void TvxContainer::SyncScrollBarsWithInner(bool paramsOnly) {
  if (!innerControl_ || !HasBuiltInScrollBars() || IsDestroying() || !vxNativeScrollBarInfoAvailable()) return;
  const std::pair<TvxControlScrollBar*, int> bars[] = {{HScrollBar(), SB_HORZ}, {VScrollBar(), SB_VERT}};
  for (auto [bar, native] : bars) {
    if (!bar) continue;
    if (!paramsOnly) UpdateScrollBarFromInnerControl(bar);
    if (bar->Visible() && innerControl_->HandleAllocated()) vxMirrorScrollInfo(bar, innerControl_->Handle(), native);
  }
  TvxSizeGripState grip;
  grip.Visible = HScrollBar() && VScrollBar() && HScrollBar()->IsShown() && VScrollBar()->IsShown() &&
                 innerControl_->HandleAllocated() && dynamic_cast<IvxContainerInnerControl*>(innerControl_);
  if (grip.Visible) grip.Rect = vxContainerSizeGripRect(this);
  if (vxSizeGripNeedsRepaint(sizeGrip_, grip)) {
    HRGN region = CreateRectRgn(grip.Rect.Left, grip.Rect.Top, grip.Rect.Right, grip.Rect.Bottom);
    SendMessageA(innerControl_->Handle(), WM_NCPAINT, WPARAM(region), 0);
    DeleteObject(region);
  }
  sizeGrip_ = grip;
}

void TvxContainer::RefreshScrollBarStates() {
  TvxControl::RefreshScrollBarStates();
  SyncScrollBarsWithInner(false);
}

void TvxContainer::PostDeferredRefresh() {
  if (!IsDestroying() && HandleAllocated() && innerControl_) PostMessageA(Handle(), VXM_SYNCSCROLLBARS, 0, 0);
}

// --- Messages ----------------------------------------------------------------------------------------

bool TvxContainer::InterceptInnerKeyMessage(TMessage& message) {
  if (message.Msg != CN_KEYDOWN && message.Msg != CN_SYSKEYDOWN) return false;
  if (!IsPopupMenuShortCutInChain(message)) return false;
  message.Result = 1;
  return true;
}

bool TvxContainer::FilterInnerControlMessage(TMessage& message) {
  const bool composition = compositionPainting_ && vxDwmCompositionEnabled();
  if (message.Msg == CN_CTLCOLOREDIT && composition && !innerRepaintPending_ && innerControl_) {
    innerRepaintPending_ = true;
    PostMessageA(innerControl_->Handle(), VXM_COMPOSITIONREPAINT, 0, 0);
  } else if (message.Msg == VXM_COMPOSITIONREPAINT && innerRepaintPending_ && innerControl_) {
    innerRepaintPending_ = false;
    vxRepaintWindowBuffered(innerControl_->Handle());
  }
  return false;
}

bool TvxContainer::OfferInnerDefaultMessage(TMessage& message) {
  return innerControl_ && !IsDestroying() && FilterInnerControlMessage(message);
}

void TvxContainer::ProcessWindowMessage(TMessage& m) {
  if (IsKeyMessage(m.Msg) && innerControl_ && innerControl_->HandleAllocated()) {
    m.Result = SendMessageA(innerControl_->Handle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  switch (m.Msg) {
    case WM_SETFOCUS:
      if (!Visible()) return;
      break;
    case WM_PAINT:
      if (compositionPainting_ && vxDwmCompositionEnabled()) {
        vxPaintWindowBuffered(Handle());
        m.Result = 0;
        return;
      }
      break;
    case WM_NCCALCSIZE:
      if (stateUpdateCount_ > 0) {
        m.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TvxControl::ProcessWindowMessage(m);
  if ((m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) && compositionPainting_ &&
      vxDwmCompositionEnabled() && !ownRepaintPending_) {
    ownRepaintPending_ = true;
    PostMessageA(Handle(), VXM_COMPOSITIONREPAINT, 0, 0);
  }
}

void TvxContainer::Dispatch(TMessage& m) {
  const HWND inner = innerControl_ && innerControl_->HandleAllocated() ? innerControl_->Handle() : nullptr;
  switch (m.Msg) {
    case WM_SETFOCUS:
      if (IsDestroying() || !HandleAllocated() || !inner) return TvxControl::Dispatch(m);
      // Focus coming back from the inner control stays there.
      if (HWND(m.WParam) == inner) {
        m.Result = 0;
        return;
      }
      TvxControl::Dispatch(m);
      if (innerControl_->CanFocus()) innerControl_->SetFocus();
      return;
    case WM_KILLFOCUS:
      if (inner && HWND(m.WParam) == inner) {
        m.Result = 0;
        return;
      }
      return TvxControl::Dispatch(m);
    case WM_NCPAINT: m.Result = 0; return;
    case WM_SETCURSOR:
      if (innerControl_ && HWND(m.WParam) == Handle() && LOWORD(m.LParam) == HTCLIENT) {
        const TPoint p = ScreenToClient(vxCurrentCursorPos());
        if (!vxIsPointInRect(viewInfo_->ClientRect, p)) {
          ::SetCursor(Screen->Cursors(crArrow));
          m.Result = 1;
          return;
        }
      }
      return TvxControl::Dispatch(m);
    case WM_WINDOWPOSCHANGING:
      if (IsDestroying()) {
        m.Result = 0;
        return;
      }
      TvxControl::Dispatch(m);
      if (HandleAllocated() && GetFocus() == Handle() && inner && innerControl_->CanFocus() &&
          !(ControlState() & csFocusing))
        if (TCustomForm* form = GetParentForm(this)) form->FocusControl(innerControl_);
      return;
    case WM_WINDOWPOSCHANGED:
      TvxControl::Dispatch(m);
      if (!IsDestroying() && IsTransparentBackground()) RefreshFromCursor(false);
      return;
    case CM_CTL3DCHANGED:
    case CM_SYSCOLORCHANGE:
      TvxControl::Dispatch(m);
      RefreshFromCursor(false);
      return;
    case CM_ENABLEDCHANGED:
      TvxControl::Dispatch(m);
      HandleEnabledChange();
      return;
    case CM_FONTCHANGED:
      if (applyingStyle_) {
        TvxControl::Dispatch(m);
        AlignInnerControl();
        SyncScrollBarsWithInner(false);
        RefreshFromCursor(false);
      } else {
        const TvxContainerStyleValues before = Style()->GetAssignedValues();
        Style()->SetFont(Font());
        Style()->SetAssignedValues((Style()->GetAssignedValues() & ~vxStyleValueBit(svFont)) |
                                   (before & vxStyleValueBit(svFont)));
        TvxControl::Dispatch(m);
      }
      return;
    case CM_PARENTCOLORCHANGED: {
      const bool hadColor = Style()->GetAssignedValues() & vxStyleValueBit(svColor);
      TvxControl::Dispatch(m);
      if (!hadColor || ParentColor())
        Style()->SetAssignedValues(Style()->GetAssignedValues() & ~vxStyleValueBit(svColor));
      if (Style()->GetColor() != Color()) ApplyStyleToControl(Style());
      if (IsTransparentBackground() && !ParentColor()) Invalidate();
      return;
    }
    case CM_PARENTFONTCHANGED: {
      const bool hadFont = Style()->GetAssignedValues() & vxStyleValueBit(svFont);
      TvxControl::Dispatch(m);
      if (!hadFont || ParentFont())
        Style()->SetAssignedValues(Style()->GetAssignedValues() & ~vxStyleValueBit(svFont));
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return TvxControl::Dispatch(m);
    case VXM_REFRESHCONTAINER: RefreshFromCursor(false); return;
    case VXM_SYNCSCROLLBARS: SyncScrollBarsWithInner(false); return;
    case VXM_COMPOSITIONREPAINT:
      if (ownRepaintPending_) {
        vxRepaintWindowBuffered(Handle());
        ownRepaintPending_ = false;
      }
      return TvxControl::Dispatch(m);
    default: TvxControl::Dispatch(m);
  }
}

// --- Free functions of the container ------------------------------------------------------------------

TvxContainer* vxOwningContainerOf(TControl* control) {
  if (!control) return nullptr;
  if (auto container = dynamic_cast<TvxContainer*>(control)) return container;
  if (auto inner = dynamic_cast<IvxContainerInnerControl*>(control))
    return dynamic_cast<TvxContainer*>(inner->GetControlContainer());
  return nullptr;
}

TRect vxContainerSizeGripRect(TvxContainer* container) {
  TvxControlScrollBar* h = container->HScrollBar();
  TvxControlScrollBar* v = container->VScrollBar();
  TWinControl* inner = container->InnerControl();
  if (!h || !v || !h->IsShown() || !v->IsShown() || !inner || !inner->HandleAllocated()) return {};
  const TPoint corner = container->ClientToScreen(TPoint(v->Left(), h->Top()));
  const TRect window = vxWindowScreenRectOrEmpty(inner->Handle());
  const int x = corner.X - window.Left, y = corner.Y - window.Top;
  return {x, y, x + v->Width(), y + h->Height()};
}

TRect vxSizeGripRectOfInner(IvxContainerInnerControl* inner) {
  auto container = dynamic_cast<TvxContainer*>(inner->GetControlContainer());
  return container ? vxContainerSizeGripRect(container) : TRect();
}

void vxPaintSizeGripSquare(TvxContainer* container, const TRect& r) {
  TWinControl* inner = container->InnerControl();
  if (!inner || !inner->HandleAllocated()) return;
  vxPaintSizeGripSquareOn(inner->Handle(), r, container->CurrentPainter()->VerticalGridBackgroundColor());
}

void vxPaintContainerSizeGrip(TvxContainer* container) {
  vxPaintSizeGripSquare(container, vxContainerSizeGripRect(container));
}
