#include "foundation/vxButtons.h"

namespace {

constexpr int kGlyphSpacing = 4;

void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  int height = r.bottom - r.top;
  for (int y = 0; y < height; ++y) {
    auto mix = [&](int a, int b) { return a + (b - a) * y / (height > 1 ? height - 1 : 1); };
    HBRUSH brush = CreateSolidBrush(RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                                        mix(GetBValue(top), GetBValue(bottom))));
    RECT line{r.left, r.top + y, r.right, r.top + y + 1};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
}

}  // namespace

TvxButton::TvxButton(TComponent* owner) : TButton(owner) {}

void TvxButton::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TvxButton::SetGlyph(TBitmap* glyph) {
  glyph_.Assign(glyph);
  Invalidate();
}

void TvxButton::SetLayout(TvxButtonLayout layout) {
  if (layout_ == layout) return;
  layout_ = layout;
  Invalidate();
}

void TvxButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  TButton::Dispatch(m);
}

void TvxButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  FillGradient(dc, r, pressed ? RGB(200, 210, 225) : RGB(252, 252, 254), pressed ? RGB(232, 236, 244) : RGB(214, 220, 232));
  HBRUSH frame = CreateSolidBrush(item.itemState & ODS_FOCUS ? RGB(60, 110, 180) : RGB(128, 136, 150));
  FrameRect(dc, &r, frame);
  DeleteObject(frame);

  const String caption = Caption();
  HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
  RECT textRect{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), int(caption.size()), &textRect, DT_SINGLELINE | DT_CALCRECT);
  const int textWidth = textRect.right;
  const int glyphWidth = glyph_.Empty() ? 0 : glyph_.Width();
  const int contentWidth = textWidth + (glyphWidth ? glyphWidth + kGlyphSpacing : 0);
  int x = (r.left + r.right - contentWidth) / 2 + (pressed ? 1 : 0);
  const int yShift = pressed ? 1 : 0;

  int glyphX = layout_ == blGlyphRight ? x + textWidth + kGlyphSpacing : x;
  int textX = layout_ == blGlyphRight || !glyphWidth ? x : x + glyphWidth + kGlyphSpacing;
  if (glyphWidth) {
    int glyphY = (r.top + r.bottom - glyph_.Height()) / 2 + yShift;
    HDC src = glyph_.Canvas()->Handle();
    COLORREF transparent = GetPixel(src, 0, glyph_.Height() - 1);
    TransparentBlt(dc, glyphX, glyphY, glyphWidth, glyph_.Height(), src, 0, 0, glyphWidth, glyph_.Height(), transparent);
  }
  RECT t{textX, r.top + yShift, textX + textWidth, r.bottom + yShift};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? RGB(150, 150, 150) : ColorToRGB(Font()->Color()));
  DrawTextA(dc, caption.c_str(), int(caption.size()), &t, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, oldFont);
}
