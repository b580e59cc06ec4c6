#include "framed/FmBHints.h"

#include <algorithm>

#include "framed/FmCommon.h"
#include "framed/FmGrafx.h"

// --- Bitmaps -------------------------------------------------------------------------------------

TFmBalloonBitmaps::TFmBalloonBitmaps() {
  for (auto& b : bitmaps_) b = std::make_unique<TBitmap>();
}

TFmBalloonBitmaps::~TFmBalloonBitmaps() = default;

void TFmBalloonBitmaps::SetBitmap(TFmHintCorner corner, TBitmap* bitmap) {
  if (corner == hcNone || bitmap == bitmaps_[corner].get()) return;
  bitmaps_[corner]->Assign(bitmap);
  if (OnChange) OnChange(this);
}

std::array<bool, 4> TFmBalloonBitmaps::Present() const {
  std::array<bool, 4> present{};
  for (int i = 0; i < 4; ++i) present[i] = bitmaps_[i]->Width() > 0 && bitmaps_[i]->Height() > 0;
  return present;
}

// --- Component -----------------------------------------------------------------------------------

TFmBalloonHints::TFmBalloonHints(TComponent* owner) : TComponent(owner) {
  font_.SetName("Tahoma");
  font_.SetSize(8);
  font_.SetColor(clInfoText);
  font_.OnChange = [this](TObject*) { CopyToWindow(); };
  if (IsDesigning()) return;
  previousClass_ = Application->HintWindowClass();
  // Switching hints off and on makes the application build its hint
  // window again, of the new class.
  const bool show = Application->ShowHint();
  Application->SetShowHint(false);
  Application->SetHintWindowClass([](TComponent* hintOwner) { return new TFmCustomHintWindow(hintOwner); });
  Application->SetShowHint(show);
  // A window made while this component was not yet among its form's.
  auto* window = dynamic_cast<TFmCustomHintWindow*>(Application->HintWindow());
  if (window && !window_) window->Link(this);
}

TFmBalloonHints::~TFmBalloonHints() {
  if (window_) window_->Unlink();
  if (IsDesigning() || !Application) return;
  const bool show = Application->ShowHint();
  Application->SetShowHint(false);
  Application->SetHintWindowClass(previousClass_);
  Application->SetShowHint(show);
}

void TFmBalloonHints::CopyToWindow() {
  if (!window_) return;
  window_->SetAlignment(alignment_);
  window_->SetCaptionWidth(captionWidth_);
  window_->SetCenterThreshold(centerThreshold_);
  window_->SetColor(color_);
  window_->SetFrameColor(frameColor_);
  window_->SetCorner(corner_);
  window_->SetShowBalloon(showBalloon_);
  window_->OnSetHintWinSize = onSetHintWinSize_;
  window_->OnSetHintRect = onSetHintRect_;
  window_->Font()->Assign(&font_);
}

void TFmBalloonHints::SetAlignment(TAlignment v) { alignment_ = v, CopyToWindow(); }
void TFmBalloonHints::SetCaptionWidth(int v) { captionWidth_ = v, CopyToWindow(); }
void TFmBalloonHints::SetCenterThreshold(int v) { centerThreshold_ = v, CopyToWindow(); }
void TFmBalloonHints::SetColor(TColor v) { color_ = v, CopyToWindow(); }
void TFmBalloonHints::SetFrameColor(TColor v) { frameColor_ = v, CopyToWindow(); }
void TFmBalloonHints::SetCorner(TFmHintCorner v) { corner_ = v, CopyToWindow(); }
void TFmBalloonHints::SetShowBalloon(bool v) { showBalloon_ = v, CopyToWindow(); }
void TFmBalloonHints::SetOnSetHintWinSize(TSetHintWinSizeEvent e) { onSetHintWinSize_ = std::move(e), CopyToWindow(); }
void TFmBalloonHints::SetOnSetHintRect(TSetHintRectEvent e) { onSetHintRect_ = std::move(e), CopyToWindow(); }

// --- Hint window ---------------------------------------------------------------------------------

namespace {

// The balloon-hints components of the application's forms, form by form.
std::vector<TFmBalloonHints*> FindBalloonHints() {
  std::vector<TFmBalloonHints*> found;
  auto scan = [&](TComponent* form) {
    for (int j = 0; j < form->ComponentCount(); ++j)
      if (auto* b = dynamic_cast<TFmBalloonHints*>(form->Components(j))) found.push_back(b);
  };
  for (int i = 0; i < Application->ComponentCount(); ++i)
    if (auto* form = dynamic_cast<TCustomForm*>(Application->Components(i))) scan(form);
  if (TCustomForm* active = Screen->ActiveForm(); active && active->Owner() != Application) scan(active);
  return found;
}

}  // namespace

TFmCustomHintWindow::TFmCustomHintWindow(TComponent* owner) : THintWindow(owner ? owner : Application) {
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  if (Owner() == Application) {
    Application->OnShowHint = [this](String& s, bool& canShow, THintInfo& info) { ShowHintHandler(s, canShow, info); };
    ownsShowHint_ = true;
  }
  if (IsDesigning()) return;
  for (TFmBalloonHints* b : FindBalloonHints()) Link(b);
}

void TFmCustomHintWindow::Link(TFmBalloonHints* b) {
  linked_ = b;
  b->SetHintWindow(this);
  captionWidth_ = b->CaptionWidth();
  SetColor(b->Color());
  corner_ = b->Corner();
  showBalloon_ = b->ShowBalloon();
  alignment_ = b->Alignment();
  bitmaps_ = b->Bitmaps();
  OnSetHintWinSize = b->OnSetHintWinSize();
  OnSetHintRect = b->OnSetHintRect();
  Font()->Assign(b->Font());
  frameColor_ = b->FrameColor();
  centerThreshold_ = b->CenterThreshold();
}

TFmCustomHintWindow::~TFmCustomHintWindow() {
  if (linked_) linked_->SetHintWindow(nullptr);
  if (ownsShowHint_ && Application) Application->OnShowHint = nullptr;
}

void TFmCustomHintWindow::ShowHintHandler(String& hintStr, bool& canShow, THintInfo& info) {
  if (linked_) {
    info.HintColor = linked_->Color();
    canShow = true;
    info.HintMaxWidth = captionWidth_;
    if (linked_->OnShowHint) linked_->OnShowHint(hintStr, canShow, info);
  }
  info_ = info;
  SetColor(info.HintColor);
}

TRect TFmCustomHintWindow::CalcHintRect(int, const String& hint, void*) {
  RECT r{0, 0, captionWidth_, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  TRect rect(r);
  if (OnSetHintRect) OnSetHintRect(this, Canvas(), corner_, hint, rect);
  int width = std::max(kBalloonMinWidth, rect.Width()), height = rect.Height();
  if (OnSetHintWinSize) OnSetHintWinSize(this, Canvas(), corner_, hint, height, width);
  return TRect(0, 0, std::max(width, kBalloonMinWidth), height);
}

void TFmCustomHintWindow::ActivateHint(const TRect& rect, const String& hint) {
  TFmHintCorner corner = corner_;
  SetCaption(hint);
  TRect r = rect;
  if (OnSetHintRect) OnSetHintRect(this, Canvas(), corner, hint, r);
  r = BalloonWindowRect(r, corner, showBalloon_);
  // The anchor: the mouse, or a small control's centre.
  TPoint anchor = TPoint(Left(), Top());
  if (TControl* control = info_.HintControl) {
    const TPoint cursor = control->ClientToScreen(info_.CursorPos);
    anchor = cursor;
    if (showBalloon_ && centerThreshold_ >= control->Width() && centerThreshold_ >= control->Height())
      anchor = control->ClientToScreen(TPoint(control->Width() / 2, control->Height() / 2));
  }
  if (showBalloon_ && HasTail(corner)) r = Bounds(anchor.X, anchor.Y, r.Width(), r.Height());
  int width = std::max(kBalloonMinWidth, r.Width()), height = r.Height();
  if (OnSetHintWinSize) OnSetHintWinSize(this, Canvas(), corner, hint, height, width);
  width = std::max(width, kBalloonMinWidth);
  if (!showBalloon_) corner = hcLowerRight;
  const TMonitor monitor = Screen->MonitorFromPoint(r.TopLeft());
  const TRect work = monitor.Handle ? monitor.WorkareaRect : Screen->WorkAreaRect();
  const TFmBalloonPlace place = PlaceBalloon(r, width, height, corner, work);
  currentCorner_ = showBalloon_ ? place.Corner : hcNone;
  ChangeBounds(place.Position.X, place.Position.Y, width, height);
  SetWindowPos(Handle(), HWND_TOPMOST, place.Position.X, place.Position.Y, width, height,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (showBalloon_) {
    const TRect client(0, 0, width, height);
    const TRect body = BalloonBody(client, currentCorner_);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& part : BalloonBodyRegion(body)) {
      HRGN piece = CreateRectRgn(part.Left, part.Top, part.Right, part.Bottom);
      CombineRgn(region, region, piece, RGN_OR);
      DeleteObject(piece);
    }
    if (HasTail(currentCorner_)) {
      const auto t = BalloonTailRegion(body, client, currentCorner_);
      const POINT points[3] = {t[0], t[1], t[2]};
      HRGN tail = CreatePolygonRgn(points, 3, WINDING);
      CombineRgn(region, region, tail, RGN_OR);
      DeleteObject(tail);
    }
    SetWindowRgn(Handle(), region, TRUE);  // the window owns the region now
  } else {
    SetWindowRgn(Handle(), nullptr, TRUE);
  }
  Invalidate();
  watchMouse_ = true;
}

TRect TFmCustomHintWindow::TextRect(const TRect& body) const {
  int dx, dy;
  if (Tailed()) {
    dy = 4;
    dx = alignment_ == taLeftJustify ? 8 : alignment_ == taRightJustify ? -8 : captionWidth_ < body.Width() ? 8 : 0;
  } else {
    dy = 2;
    dx = alignment_ == taLeftJustify ? 2 : alignment_ == taRightJustify ? -2 : 0;
  }
  TRect r(body.Left + dx, body.Top + dy, body.Right + dx, body.Bottom + dy);
  if (r.Width() > captionWidth_) {
    if (alignment_ == taRightJustify) r.Left = r.Right - captionWidth_;
    else r.Right = r.Left + captionWidth_;
  }
  return r;
}

void TFmCustomHintWindow::PaintBitmap(TCanvas* c) {
  const TFmBalloonBitmapChoice choice = ChooseBalloonBitmap(currentCorner_, bitmaps_->Present());
  TBitmap* source = bitmaps_->Bitmap(choice.Source);
  const int w = source->Width(), h = source->Height();
  // Mirrored copies read the source from its far edge backwards.
  const TRect from(choice.MirrorX ? w - 1 : 0, choice.MirrorY ? h - 1 : 0, choice.MirrorX ? -1 : w,
                   choice.MirrorY ? -1 : h);
  c->SetCopyMode(SRCCOPY);
  SetBkColor(c->Handle(), RGB(255, 255, 255));
  PaintTransparentStretched(c, TRect(0, 0, Width(), Height()), source, from, bitmaps_->TransparentColor());
  c->SetCopyMode(SRCCOPY);
}

void TFmCustomHintWindow::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Font()->Assign(Font());
  const TRect client(0, 0, Width(), Height());
  TRect body = BalloonBody(client, showBalloon_ ? currentCorner_ : hcNone);
  const String caption = Caption();
  if (OnSetHintRect) OnSetHintRect(this, c, currentCorner_, caption, body);
  if (bitmaps_ && ChooseBalloonBitmap(currentCorner_, bitmaps_->Present()).Source != hcNone) {
    PaintBitmap(c);
  } else if (showBalloon_) {
    c->FillRect(client);
    TCanvasFrameSurface s(c);
    PaintBoxOutline(s, body, frameColor_);
    const int L = body.Left, T = body.Top, R = body.Right, B = body.Bottom;
    const TPoint rounding[16] = {{L + 1, T + 3}, {L + 1, T + 2}, {L + 2, T + 1}, {L + 3, T + 1},
                                 {R - 4, T + 1}, {R - 3, T + 1}, {R - 2, T + 2}, {R - 2, T + 3},
                                 {R - 2, B - 4}, {R - 2, B - 3}, {R - 3, B - 2}, {R - 4, B - 2},
                                 {L + 3, B - 2}, {L + 2, B - 2}, {L + 1, B - 3}, {L + 1, B - 4}};
    for (const TPoint& p : rounding) c->SetPixel(p.X, p.Y, frameColor_);
    if (HasTail(currentCorner_)) {
      const auto t = BalloonTail(body, client, currentCorner_);
      c->Pen()->SetColor(frameColor_);
      const TPoint points[3] = {t[0], t[1], t[2]};
      c->Polygon(points, 3);
      c->FillRect(BalloonTailGap(body, currentCorner_));
    }
  } else {
    c->FillRect(client);
  }
  SetBkMode(c->Handle(), TRANSPARENT);
  ::SetTextColor(c->Handle(), ColorToRGB(Font()->Color()));
  RECT text = TextRect(body);
  DrawTextA(c->Handle(), caption.c_str(), -1, &text, AlignmentFlag(alignment_) | DT_WORDBREAK | DT_NOPREFIX);
}

void TFmCustomHintWindow::NCPaint(HDC dc) {
  if (showBalloon_) return;
  TCanvas canvas;
  canvas.SetHandle(dc);
  TCanvasFrameSurface s(&canvas);
  PaintBoxOutline(s, TRect(0, 0, Width(), Height()), frameColor_);
  canvas.SetHandle(nullptr);
}

void TFmCustomHintWindow::WndProc(TMessage& m) {
  TControl* control = info_.HintControl;
  switch (m.Msg) {
    case WM_NCHITTEST: m.Result = HTCLIENT; return;
    case WM_NCCALCSIZE:
      if (showBalloon_) return;  // the client area is the whole window
      break;
    case WM_SETFOCUS:
      if (m.WParam) ::SetFocus(HWND(m.WParam));
      return;
    case WM_MOUSEMOVE:
      if (watchMouse_ && control) {
        // A 4 x 4 square round where the hint appeared, in this window.
        const TPoint at = ScreenToClient(control->ClientToScreen(info_.CursorPos));
        const TPoint p(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)));
        if (!TRect(at.X - 2, at.Y - 2, at.X + 2, at.Y + 2).Contains(p)) {
          watchMouse_ = false;
          Application->CancelHint();
          return;
        }
      }
      break;
    default: break;
  }
  // Mouse messages belong to the control under the balloon.
  if (control && m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) {
    const TPoint p = control->ScreenToClient(ClientToScreen(TPoint(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)))));
    control->Perform(m.Msg, m.WParam, MAKELPARAM(p.X, p.Y));
    return;
  }
  THintWindow::WndProc(m);
}
