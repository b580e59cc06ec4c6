#include "platform/ui/HintWindow.h"

#include "platform/ui/Forms.h"

String GetShortHint(const String& hint) {
  size_t bar = hint.find('|');
  return bar == String::npos ? hint : hint.substr(0, bar);
}

String GetLongHint(const String& hint) {
  size_t bar = hint.find('|');
  return bar == String::npos ? hint : hint.substr(bar + 1);
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  Font()->Assign(Screen->HintFont());
  Canvas()->Font()->Assign(Font());
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = Application->Handle();
  p.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const String& hint, void* data) {
  RECT r{0, 0, maxWidth, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // Room for the border and a small margin around the text.
  return TRect(0, 0, r.right + 6, r.bottom + 2);
}

void THintWindow::ActivateHint(const TRect& r, const String& hint) {
  SetCaption(hint);
  TRect b = r;
  TRect work = Screen->MonitorFromPoint(b.TopLeft()).WorkareaRect;
  if (b.Right > work.Right) b = Bounds(work.Right - b.Width(), b.Top, b.Width(), b.Height());
  if (b.Left < work.Left) b = Bounds(work.Left, b.Top, b.Width(), b.Height());
  if (b.Bottom > work.Bottom) b = Bounds(b.Left, work.Bottom - b.Height(), b.Width(), b.Height());
  ChangeBounds(b.Left, b.Top, b.Width(), b.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, b.Left, b.Top, b.Width(), b.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  Canvas()->Font()->Assign(Font());
  RECT text = TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom);
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  String caption = Caption();
  DrawTextA(Canvas()->Handle(), caption.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::NCPaint(HDC dc) {
  RECT r{};
  GetWindowRect(Handle(), &r);
  OffsetRect(&r, -r.left, -r.top);
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
}

void THintWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST: m.Result = HTTRANSPARENT; return;
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(Handle());
      NCPaint(dc);
      ReleaseDC(Handle(), dc);
      return;
    }
    case CM_TEXTCHANGED: Invalidate(); return;
    default: TCustomControl::Dispatch(m);
  }
}
