// The painted scroll bar's window side: state, painting through the painter,
// the mouse, the repeat timer and the messages. The geometry lives in
// vxScrollBarParts.cpp.
#include "foundation/vxScrollBar.h"

#include "platform/ui/Messages.h"

void TvxScrollBarViewInfo::ComputePartRects() {
  TvxScrollBar* bar = ScrollBar;
  vxComputeScrollBarParts(bar->kind_, bar->ClientRect(), bar->Enabled(), bar->range_, bar->Metrics(), *this);
}

TvxScrollBar::TvxScrollBar(TComponent* owner)
    : TCustomControl(owner),
      lookAndFeel_(std::make_unique<TvxLookAndFeel>(this)),
      viewInfo_(std::make_unique<TvxScrollBarViewInfo>(this)),
      timer_(std::make_unique<TvxTimer>(nullptr)) {
  SetControlStyle(ControlStyle() | csCaptureMouse | csOpaque);
  timer_->SetEnabled(false);
  timer_->SetInterval(vxScrollFirstRepeatDelay);
  timer_->SetOnTimer([this](TObject*) { TimerTick(); });
  lookAndFeel_->OnChanged = [this](TvxLookAndFeel*, TvxLookAndFeelValues) { LookAndFeelChanged(); };
  themeNotifier_.OnThemeChanged = [this] { ThemeChanged(); };
  buffer_.SetPixelFormat(pf32bit);
  bufferCanvas_ = std::make_unique<TvxCanvas>(buffer_.Canvas());
  viewInfo_->ThumbnailSize = MinThumbLength();
  SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
}

TvxScrollBar::~TvxScrollBar() = default;

TvxScrollBarMetrics TvxScrollBar::Metrics() const {
  const bool vertical = kind_ == sbVertical;
  return {GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL),
          GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB), viewInfo_->ThumbnailSize};
}

void TvxScrollBar::SetKind(TvxScrollBarKind kind) {
  if (kind_ == kind) return;
  kind_ = kind;
  if (IsLoading())
    viewInfo_->Recalculate();
  else
    SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TvxScrollBar::SetScrollParams(int min, int max, int pageSize, int position, bool repaint) {
  vxCheckScrollBarRange(min, max, pageSize);
  position = vxClampScrollPosition(position, min, max);
  if (range_.Min == min && range_.Max == max && range_.PageSize == pageSize && range_.Position == position) return;
  range_.Min = min;
  range_.Max = max;
  range_.PageSize = pageSize;
  if (range_.Position == position) {
    vxComputeScrollBarThumb(kind_, Enabled(), range_, Metrics(), *viewInfo_);
    if (repaint && HandleAllocated()) Repaint();
    return;
  }
  SetEnabled(true);
  range_.Position = position;
  vxComputeScrollBarThumb(kind_, Enabled(), range_, Metrics(), *viewInfo_);
  if (repaint && HandleAllocated()) Repaint();
  NotifyChange();
}

void TvxScrollBar::LookAndFeelChanged() {
  viewInfo_->ThumbnailSize = MinThumbLength();
  viewInfo_->Recalculate();
  Invalidate();
}

// The theme's minimum thumb length and colours may differ; the parent
// lays out again for the bar's new thickness.
void TvxScrollBar::ThemeChanged() {
  vxRepaintScrollBarPatternBitmaps();
  LookAndFeelChanged();
  if (Parent()) Parent()->Realign();
}

TvxScrollBarHitPart TvxScrollBar::GetScrollBarPart(TPoint point) const {
  return vxScrollBarPartAt(*viewInfo_, const_cast<TvxScrollBar*>(this)->ClientRect(), point);
}

void TvxScrollBar::SetBounds(int left, int top, int width, int height) {
  const bool changed = left != Left() || top != Top() || width != Width() || height != Height();
  TCustomControl::SetBounds(left, top, width, height);
  if (changed && width > 0 && height > 0) {
    buffer_.SetSize(width, height);
    viewInfo_->Recalculate();
  }
}

// --- Painting ---------------------------------------------------------------------

void TvxScrollBar::NotifyChange() {
  if (OnChange) OnChange(this);
}

void TvxScrollBar::PaintScrollBar(TvxCanvas* canvas) {
  PaintBackground(canvas, ClientRect());
  PaintPart(canvas, viewInfo_->TopLeftArrowRect, sbhTopLeftArrow);
  PaintPart(canvas, viewInfo_->BottomRightArrowRect, sbhBottomRightArrow);
  if (!viewInfo_->ThumbnailRect.IsEmpty()) PaintPart(canvas, viewInfo_->ThumbnailRect, sbhThumbnail);
  if (!viewInfo_->PageUpRect.IsEmpty()) PaintPart(canvas, viewInfo_->PageUpRect, sbhPageUp);
  if (!viewInfo_->PageDownRect.IsEmpty()) PaintPart(canvas, viewInfo_->PageDownRect, sbhPageDown);
}

void TvxScrollBar::PaintBackground(TvxCanvas* canvas, const TRect& rect) {
  Painter().PaintScrollBarTrack(canvas, rect, kind_ == sbHorizontal);
}

void TvxScrollBar::PaintPartInState(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                    TvxScrollBarHitPart part) {
  Painter().PaintScrollBarElement(canvas, kind_ == sbHorizontal, rect, static_cast<TvxScrollBarPart>(part), state);
}

void TvxScrollBar::PaintPart(TvxCanvas* canvas, const TRect& rect, TvxScrollBarHitPart part) {
  PaintPartInState(canvas, rect, PartState(part), part);
}

TvxButtonState TvxScrollBar::PartState(TvxScrollBarHitPart part) const {
  if (!const_cast<TvxScrollBar*>(this)->Enabled()) return vxbsDisabled;
  if (part != hotPart_ || (part == sbhThumbnail && !IsHotTrackEnabled())) return vxbsNormal;
  if (pressedPart_ == part) return vxbsPressed;
  if (pressedPart_ != sbhNone || IsDesigning()) return vxbsNormal;
  return vxbsHot;
}

bool TvxScrollBar::IsHotTrackEnabled() const { return Painter().CanHotTrackButtons(); }

void TvxScrollBar::FireScroll(TScrollCode code, int& position) {
  if (OnScroll) OnScroll(this, code, position);
}

int TvxScrollBar::MinThumbLength() const { return Painter().ScrollBarMinThumbLength(kind_ == sbVertical); }

void TvxScrollBar::Paint() {
  PaintScrollBar(bufferCanvas_.get());
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), buffer_.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// --- Scrolling --------------------------------------------------------------------

void TvxScrollBar::InternalScroll(TScrollCode code) {
  int position = vxScrollStepPosition(code, range_, smallChange_, largeChange_);
  FireScroll(code, position);
  position = vxClampScrollPosition(position, range_.Min, range_.Max);
  if (position == range_.Position) return;
  if (code == scTrack) {
    range_.Position = position;
    vxComputeScrollBarThumb(kind_, Enabled(), range_, Metrics(), *viewInfo_);
    Repaint();
  } else {
    SetPosition(position);
  }
}

void TvxScrollBar::StepPressedPart() {
  switch (pressedPart_) {
    case sbhTopLeftArrow: InternalScroll(scLineUp); break;
    case sbhBottomRightArrow: InternalScroll(scLineDown); break;
    case sbhPageUp: InternalScroll(scPageUp); break;
    case sbhPageDown: InternalScroll(scPageDown); break;
    default: break;
  }
}

bool TvxScrollBar::CursorOverPressedPart() {
  POINT cursor;
  GetCursorPos(&cursor);
  ::ScreenToClient(Handle(), &cursor);
  return GetScrollBarPart({cursor.x, cursor.y}) == pressedPart_;
}

void TvxScrollBar::TimerTick() {
  const bool repeating = pressedPart_ != sbhNone && pressedPart_ != sbhThumbnail;
  if (!repeating || !MouseCapture()) {
    CancelScrolling();
    return;
  }
  timer_->SetInterval(vxScrollRepeatInterval);
  StepPressedPart();
  timer_->SetEnabled(CursorOverPressedPart());
}

void TvxScrollBar::CancelScrolling() {
  if (pressedPart_ == sbhNone) return;
  if (pressedPart_ == sbhThumbnail) {
    // The drag ends where the thumb stands.
    int position = vxScrollBarPositionFromThumb(kind_, *viewInfo_, range_);
    SetPosition(position);
    FireScroll(scPosition, position);
  }
  timer_->SetEnabled(false);
  pressedPart_ = sbhNone;
  hotPart_ = sbhNone;
  int position = range_.Position;
  FireScroll(scEndScroll, position);
  vxComputeScrollBarThumb(kind_, Enabled(), range_, Metrics(), *viewInfo_);
  Invalidate();
}

// --- Mouse ------------------------------------------------------------------------

void TvxScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const TvxScrollBarHitPart part = GetScrollBarPart({x, y});
  if (part == sbhNone) return;
  if (part == sbhThumbnail) {
    downPoint_ = {x, y};
    savedPosition_ = range_.Position;
    savedThumb_ = viewInfo_->ThumbnailRect;
    InternalScroll(scTrack);
  }
  pressedPart_ = part;
  hotPart_ = part;
  if (part != sbhThumbnail) {
    StepPressedPart();
    timer_->SetInterval(vxScrollFirstRepeatDelay);
    timer_->SetEnabled(true);
  }
  Repaint();
}

void TvxScrollBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  const TvxScrollBarHitPart under = GetScrollBarPart({x, y});
  if (pressedPart_ != sbhNone && pressedPart_ != sbhThumbnail) timer_->SetEnabled(under == pressedPart_);
  if (pressedPart_ != sbhThumbnail) {
    if (under != hotPart_) {
      hotPart_ = under;
      if (IsHotTrackEnabled()) Repaint();
    }
    return;
  }
  if (unlimitedTracking_ || vxScrollBarTrackingArea(kind_, ClientRect()).Contains({x, y})) {
    const int offset = kind_ == sbHorizontal ? x - downPoint_.X : y - downPoint_.Y;
    vxMoveScrollBarThumb(kind_, *viewInfo_, savedThumb_, offset);
    Repaint();
    const int position = vxScrollBarPositionFromThumb(kind_, *viewInfo_, range_);
    if (position != range_.Position) {
      range_.Position = position;
      InternalScroll(scTrack);
    }
  } else if (range_.Position != savedPosition_) {
    SetPosition(savedPosition_);
    InternalScroll(scTrack);
  }
}

void TvxScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  CancelScrolling();
  hotPart_ = GetScrollBarPart({x, y});
}

// --- Messages ---------------------------------------------------------------------

void TvxScrollBar::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      InternalScroll(static_cast<TScrollCode>(LOWORD(message.WParam)));
      return;
    case WM_CANCELMODE:
      CancelScrolling();
      break;
    case WM_SYSCOLORCHANGE:
      vxRepaintScrollBarPatternBitmaps();
      break;
    case CM_ENABLEDCHANGED:
      viewInfo_->Recalculate();
      if (!Enabled()) CancelScrolling();
      Invalidate();
      break;
    case CM_VISIBLECHANGED:
      if (!message.WParam) CancelScrolling();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TCustomControl::Dispatch(message);
      const bool pressedStep = pressedPart_ != sbhNone && pressedPart_ != sbhThumbnail;
      if (message.Msg == CM_MOUSELEAVE && pressedPart_ != sbhThumbnail) hotPart_ = sbhNone;
      if (IsHotTrackEnabled() || pressedStep) {
        if (message.Msg == CM_MOUSEENTER)
          Repaint();
        else
          Invalidate();
      }
      return;
    }
    default:
      break;
  }
  TCustomControl::Dispatch(message);
}
