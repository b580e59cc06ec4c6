#include "framed/FmEdit.h"

#include "platform/ui/Forms.h"

TFmEdit::TFmEdit(TComponent* owner) : TCustomMaskEdit(owner) {}

void TFmEdit::SetFrameColor(TColor color) {
  frameColor_ = color;
  PaintFrame();
}

void TFmEdit::SetFrameHotColor(TColor color) {
  frameHotColor_ = color;
  PaintFrame();
}

void TFmEdit::SetFrameVisible(bool value) {
  if (frameVisible_ == value) return;
  frameVisible_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TFmEdit::CreateParams(TCreateParams& p) {
  TCustomMaskEdit::CreateParams(p);
  // The frame takes the one-pixel border's place.
  if (frameVisible_) {
    p.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    p.Style |= WS_BORDER;
  }
}

void TFmEdit::PaintFrame() {
  if (!frameVisible_ || !HandleAllocated()) return;
  HDC dc = GetWindowDC(Handle());
  RECT r{0, 0, Width(), Height()};
  HBRUSH brush = CreateSolidBrush(ColorToRGB(hot_ && frameHotTrack_ ? frameHotColor_ : frameColor_));
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(Handle(), dc);
}

void TFmEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      TCustomMaskEdit::Dispatch(m);
      PaintFrame();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      hot_ = m.Msg == CM_MOUSEENTER;
      PaintFrame();
      TCustomMaskEdit::Dispatch(m);
      return;
    default: TCustomMaskEdit::Dispatch(m);
  }
}

void TFmEdit::KeyPress(char& key) {
  TCustomMaskEdit::KeyPress(key);
  if (key == '\r' && tabOnEnter_) {
    key = 0;
    if (TCustomForm* form = GetParentForm(this)) form->SelectNext(this, true, true);
  }
}
