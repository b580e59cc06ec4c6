// The push button draws the image of its glyph strip that its state shows:
// the pressed image with three or more, the up image with fewer.
#include <gtest/gtest.h>

#include "foundation/vxButtons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

namespace {

constexpr COLORREF kUp = RGB(255, 0, 0), kDisabled = RGB(0, 160, 0), kPressed = RGB(0, 0, 255);

// A 48 x 16 strip: up, disabled, pressed; its bottom-left pixel gives the
// transparent colour.
void MakeStrip(TBitmap& strip) {
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(48, 16);
  HDC dc = strip.Canvas()->Handle();
  const COLORREF colours[] = {kUp, kDisabled, kPressed};
  for (int i = 0; i < 3; ++i) {
    RECT r{i * 16, 0, i * 16 + 16, 16};
    HBRUSH b = CreateSolidBrush(colours[i]);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  SetPixel(dc, 0, 15, RGB(255, 0, 255));
}

// The colour at the glyph's middle after the button draws itself in the
// given owner-draw state; the caption is empty so the glyph is centred.
COLORREF GlyphMiddle(TvxButton& button, UINT itemState) {
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(button.Width(), button.Height());
  DRAWITEMSTRUCT item{};
  item.hDC = target.Canvas()->Handle();
  item.rcItem = RECT{0, 0, button.Width(), button.Height()};
  item.itemState = itemState;
  TMessage m{CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), 0};
  button.Dispatch(m);
  const int offset = itemState & ODS_SELECTED ? 1 : 0;
  return GetPixel(item.hDC, button.Width() / 2 + offset, button.Height() / 2 + offset);
}

TEST(ButtonGlyphStrip, StateShowsItsImage) {
  TForm form(nullptr);
  auto* button = new TvxButton(&form);
  button->SetParent(&form);
  button->SetBounds(0, 0, 80, 30);
  button->SetCaption("");
  TBitmap strip;
  MakeStrip(strip);
  button->SetGlyph(&strip);
  EXPECT_EQ(button->NumGlyphs(), 3);
  EXPECT_EQ(GlyphMiddle(*button, 0), kUp);
  EXPECT_EQ(GlyphMiddle(*button, ODS_SELECTED), kPressed);
  EXPECT_EQ(GlyphMiddle(*button, ODS_DISABLED), kDisabled);
  button->SetNumGlyphs(2);  // 24 pixels wide now: no pressed image
  EXPECT_EQ(GlyphMiddle(*button, ODS_SELECTED), kUp);
  button->SetNumGlyphs(9);
  EXPECT_EQ(button->NumGlyphs(), 4);
}

}  // namespace
