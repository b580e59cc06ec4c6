// The push button's glyph under Wine: the image of the strip each state
// shows, the generated disabled image, transparency, images from an image
// list, and the shared glyph lists of the cache and how they draw.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ButtonDrawItem.h"
#include "foundation/vxButtons.h"
#include "foundation/vxButtonsGlyphList.h"
#include "foundation/vxGraphicsBitmaps.h"
#include "foundation/vxModules.h"
#include "platform/ui/Forms.h"

namespace {

constexpr COLORREF kUp = RGB(255, 0, 0), kDisabled = RGB(0, 160, 0), kPressed = RGB(0, 0, 255);
constexpr COLORREF kTransparent = RGB(255, 0, 255), kFace = RGB(10, 200, 220);

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// A strip of 16 x 16 images in the given colours, each with a transparent
// border of 2 pixels (the bottom-left pixel gives the transparent colour).
void MakeStrip(TBitmap& strip, std::initializer_list<COLORREF> colours) {
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(16 * int(colours.size()), 16);
  HDC dc = strip.Canvas()->Handle();
  Fill(dc, RECT{0, 0, strip.Width(), 16}, kTransparent);
  int i = 0;
  for (COLORREF c : colours) {
    Fill(dc, RECT{i * 16 + 2, 2, i * 16 + 14, 14}, c);
    ++i;
  }
}

class ButtonGlyph : public testing::Test {
 protected:
  ButtonGlyph() : form_(nullptr) {
    button_ = Add(0);
  }

  TvxButton* Add(int top) {
    auto* button = new TvxButton(&form_);
    button->SetParent(&form_);
    button->SetBounds(0, top, 80, 30);
    button->SetCaption("");
    button->Colors()->SetNormal(kFace);
    button->Colors()->SetDisabled(kFace);
    button->Colors()->SetPressed(kFace);
    return button;
  }

  // The button drawn in the owner-draw state into a bitmap of its size.
  void Paint(TvxButton& button, UINT itemState) { DrawButtonItem(button, target_, itemState); }

  // The colour at the middle of the centred glyph, shifted like the caption
  // when pressed.
  COLORREF GlyphMiddle(TvxButton& button, UINT itemState) {
    Paint(button, itemState);
    const int shift = itemState & ODS_SELECTED ? button.PainterClass()->ButtonPressedTextShift() : 0;
    return GetPixel(target_.Canvas()->Handle(), button.Width() / 2 + shift, button.Height() / 2 + shift);
  }

  TvxFoundationModules modules_;
  TForm form_;
  TvxButton* button_;
  TBitmap target_;
};

TEST_F(ButtonGlyph, StateShowsItsImage) {
  TBitmap strip;
  MakeStrip(strip, {kUp, kDisabled, kPressed});
  button_->SetGlyph(&strip);
  EXPECT_EQ(button_->NumGlyphs(), 3);
  EXPECT_EQ(GlyphMiddle(*button_, 0), kUp);
  EXPECT_EQ(GlyphMiddle(*button_, ODS_SELECTED), kPressed);
  button_->SetEnabled(false);
  EXPECT_EQ(GlyphMiddle(*button_, 0), kDisabled);
  button_->SetEnabled(true);
  button_->SetNumGlyphs(2);  // 24 pixels wide now: no pressed image
  EXPECT_EQ(GlyphMiddle(*button_, ODS_SELECTED), kUp);
  button_->SetNumGlyphs(9);
  EXPECT_EQ(button_->NumGlyphs(), 4);
}

TEST_F(ButtonGlyph, TransparentColourShowsTheFace) {
  TBitmap strip;
  MakeStrip(strip, {kUp});
  button_->SetGlyph(&strip);
  Paint(*button_, 0);
  // The glyph's 16 x 16 box is centred: its transparent border sits at
  // (32..33, 7..8).
  EXPECT_EQ(GetPixel(target_.Canvas()->Handle(), 33, 8), kFace);
  EXPECT_EQ(GetPixel(target_.Canvas()->Handle(), 40, 15), kUp);
}

TEST_F(ButtonGlyph, SingleImageIsDrawnDisabled) {
  TBitmap strip;
  MakeStrip(strip, {kUp});
  button_->SetGlyph(&strip);
  button_->SetEnabled(false);
  const COLORREF disabled = GlyphMiddle(*button_, 0);
  EXPECT_NE(disabled, kUp);
  EXPECT_NE(disabled, kFace);
  EXPECT_NE(disabled, kTransparent);
}

TEST_F(ButtonGlyph, ImageListImageWithoutABitmap) {
  TvxImageList images(nullptr);
  images.SetSize(16, 16);
  TBitmap image, mask;
  MakeStrip(image, {kPressed});
  images.AddWithMaskColor(&image, TColor(kTransparent));
  button_->GlyphObject()->SetImages(&images);
  button_->GlyphObject()->SetImageIndex(0);
  EXPECT_EQ(GlyphMiddle(*button_, 0), kPressed);
  button_->GlyphObject()->SetImageIndex(5);  // no such image: no glyph
  EXPECT_EQ(GlyphMiddle(*button_, 0), kFace);
  TBitmap strip;
  MakeStrip(strip, {kUp});
  button_->GlyphObject()->SetImageIndex(0);
  button_->SetGlyph(&strip);  // the bitmap comes first
  EXPECT_EQ(GlyphMiddle(*button_, 0), kUp);
  button_->GlyphObject()->SetImages(nullptr);
}

TEST_F(ButtonGlyph, GlyphsOfOneSizeShareAListAndRecycleEntries) {
  TvxButton* second = Add(40);
  TBitmap red, blue, big;
  MakeStrip(red, {kUp});
  MakeStrip(blue, {kPressed});
  big.SetSize(24, 24);
  button_->SetGlyph(&red);
  second->SetGlyph(&blue);
  TvxButtonGlyph* a = button_->GlyphObject();
  TvxButtonGlyph* b = second->GlyphObject();
  EXPECT_EQ(a->PrepareStateImage(vxbsNormal), 0);
  EXPECT_EQ(b->PrepareStateImage(vxbsNormal), 1);
  EXPECT_EQ(a->PrepareStateImage(vxbsHot), 0);  // the up slot again
  ASSERT_EQ(a->GlyphList(), b->GlyphList());
  TvxGlyphList* shared = a->GlyphList();
  EXPECT_EQ(b->PrepareStateImage(vxbsDisabled), 2);
  EXPECT_EQ(shared->UsedCount(), 3);

  // A new picture releases the old images; the freed entry goes to the next
  // image and the other button's indexes stay.
  button_->SetGlyph(&blue);
  EXPECT_EQ(shared->UsedCount(), 2);
  EXPECT_EQ(a->PrepareStateImage(vxbsNormal), 0);
  EXPECT_EQ(shared->Count(), 3);
  EXPECT_EQ(GlyphMiddle(*button_, 0), kPressed) << "the recycled entry shows the new picture";
  EXPECT_EQ(GlyphMiddle(*second, 0), kPressed);

  second->SetGlyph(&big);  // a new size: a list of its own
  EXPECT_EQ(b->PrepareStateImage(vxbsNormal), 0);
  EXPECT_NE(b->GlyphList(), shared);
  EXPECT_EQ(vxGlyphCacheInstance()->ListCount(), 2);
  second->SetGlyph(nullptr);  // the big list is empty: freed
  EXPECT_EQ(vxGlyphCacheInstance()->ListCount(), 1);
}

// A 16 x 16 image of 32 bits whose alpha climbs from left to right.
void MakeAlphaImage(TvxBitmap32& image) {
  image.SetSize(16, 16);
  std::vector<uint32_t> pixels(16 * 16);
  for (int i = 0; i < 16 * 16; ++i) pixels[size_t(i)] = uint32_t(i % 16 * 17) << 24 | 0x2080C0;
  image.WritePixels(pixels);
}

// Every pixel of a 16 x 16 field of many colours after draw painted on it,
// into a bitmap of the given format.
std::vector<COLORREF> DrawnOnAField(TPixelFormat format, const std::function<void(HDC)>& draw) {
  TBitmap target;
  target.SetPixelFormat(format);
  target.SetSize(16, 16);
  HDC dc = target.Canvas()->Handle();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) SetPixelV(dc, x, y, RGB(x * 17, y * 13, (x * y * 7) % 256));
  draw(dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
  return pixels;
}

// The shared list paints each kind of state image with one blend, and
// exactly as its own transparent draw: the images of a strip, the disabled
// image made from a single one, and an image of a list with partial alpha.
TEST_F(ButtonGlyph, ListBlendsEachImageAsItsOwnDrawWould) {
  TBitmap strip, single;
  MakeStrip(strip, {kUp, kDisabled, kPressed});
  MakeStrip(single, {kUp});
  button_->SetGlyph(&strip);
  TvxButton* second = Add(40);
  second->SetGlyph(&single);
  TvxImageList images(nullptr);
  images.SetSize(16, 16);
  TvxBitmap32 alpha;
  MakeAlphaImage(alpha);
  images.AddWithMask(&alpha, nullptr);
  TvxButton* third = Add(80);
  third->GlyphObject()->SetImages(&images);
  third->GlyphObject()->SetImageIndex(0);

  struct Image {
    const char* Name;
    TvxButton* Button;
    TvxButtonState State;
  };
  const Image kinds[] = {{"strip up", button_, vxbsNormal},         {"strip disabled", button_, vxbsDisabled},
                         {"strip pressed", button_, vxbsPressed},   {"single", second, vxbsNormal},
                         {"made disabled", second, vxbsDisabled},   {"partial alpha", third, vxbsNormal},
                         {"partial alpha disabled", third, vxbsDisabled}};
  for (const Image& kind : kinds) {
    SCOPED_TRACE(kind.Name);
    TvxButtonGlyph* glyph = kind.Button->GlyphObject();
    const int index = glyph->PrepareStateImage(kind.State);
    TvxGlyphList* list = glyph->GlyphList();
    EXPECT_TRUE(list->DrawsByBlend(index));
    for (TPixelFormat format : {pf24bit, pf32bit}) {
      const auto blended = DrawnOnAField(format, [&](HDC dc) { list->DrawImage(index, dc, 0, 0); });
      const auto native = DrawnOnAField(format, [&](HDC dc) {
        ImageList_DrawEx(list->Handle(), index, dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
      });
      EXPECT_EQ(blended, native) << "format " << format;
    }
  }
  third->GlyphObject()->SetImages(nullptr);
}

TEST(ButtonGlyphCache, LivesWhileGlyphObjectsDo) {
  EXPECT_EQ(vxGlyphCacheInstance(), nullptr);
  {
    TvxFoundationModules modules;
    TForm form(nullptr);
    auto* button = new TvxButton(&form);
    EXPECT_NE(vxGlyphCacheInstance(), nullptr);
    delete button;
    EXPECT_EQ(vxGlyphCacheInstance(), nullptr);
  }
}

}  // namespace
