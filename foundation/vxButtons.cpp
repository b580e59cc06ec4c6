#include "foundation/vxButtons.h"

#include <algorithm>

namespace {

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
  numGlyphs_ = vxNumGlyphsForBitmap(glyph_.Width(), glyph_.Height());
  Invalidate();
}

void TvxButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (numGlyphs_ == value) return;
  numGlyphs_ = value;
  Invalidate();
}

void TvxButton::SetMargin(int value) {
  if (margin_ == value || value < -1) return;
  margin_ = value;
  Invalidate();
}

void TvxButton::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
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
  const bool hasGlyph = !glyph_.Empty();
  const TSize glyphSize{hasGlyph ? glyph_.Width() / numGlyphs_ : 0, hasGlyph ? glyph_.Height() : 0};
  const TRect client(r);
  TRect measured;
  if (!caption.empty()) {
    RECT m = vxButtonCaptionMeasureRect(client, layout_, false, glyphSize.cx, spacing_, hasGlyph);
    DrawTextA(dc, caption.c_str(), int(caption.size()), &m, DT_SINGLELINE | DT_CALCRECT);
    measured = TRect(m);
  }
  const TPoint offset = pressed ? TPoint(1, 1) : TPoint();
  const TvxButtonGlyphPlace place =
      vxPlaceButtonGlyph(client, layout_, false, glyphSize, !caption.empty(), measured, margin_, spacing_, offset);
  if (hasGlyph) {
    const int state = disabled ? vxButtonStateDisabled : pressed ? vxButtonStatePressed : vxButtonStateNormal;
    const int segment = vxGlyphStripSegment(vxGlyphSlotForState(state, numGlyphs_), numGlyphs_);
    HDC src = glyph_.Canvas()->Handle();
    COLORREF transparent = GetPixel(src, 0, glyph_.Height() - 1);
    TransparentBlt(dc, place.GlyphPos.X, place.GlyphPos.Y, glyphSize.cx, glyphSize.cy, src, segment * glyphSize.cx, 0,
                   glyphSize.cx, glyphSize.cy, transparent);
  }
  RECT t = place.TextRect;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? RGB(150, 150, 150) : ColorToRGB(Font()->Color()));
  DrawTextA(dc, caption.c_str(), int(caption.size()), &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  SelectObject(dc, oldFont);
}
