// The canvas's text output over real GDI: the single-line and formatted
// paths, embossed disabled text, measuring, vertical placement and text
// turned by quarter turns. The font is the raster "MS Sans Serif", drawn
// without smoothing, so that ink is exactly the text colour.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PinnedSystemColors.h"
#include "foundation/vxGraphics.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255), kInk = RGB(0, 0, 0);
constexpr COLORREF kEmbossLight = RGB(250, 250, 250), kEmbossDark = RGB(100, 100, 100);

const std::vector<std::pair<int, COLORREF>> kEmbossColors = {{COLOR_BTNHIGHLIGHT, kEmbossLight},
                                                               {COLOR_BTNSHADOW, kEmbossDark}};

struct Sheet {
  TBitmap bitmap;
  TvxCanvas canvas;

  Sheet(int width, int height) : canvas(bitmap.Canvas()) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    canvas.FontObject()->SetName("MS Sans Serif");
    canvas.FontObject()->SetColor(TColor(kInk));
    canvas.FillAreaWithColor({0, 0, width, height}, TColor(kPaper));
    canvas.BrushObject()->SetStyle(bsClear);
  }
  COLORREF At(int x, int y) {
    const uint32_t bgra = static_cast<const uint32_t*>(bitmap.ScanLine(y))[x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }
  // The bounds of the pixels of one colour (empty when there are none).
  TRect Bounds(COLORREF color) {
    TRect r(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (At(x, y) == color) r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                                    std::max(r.Bottom, y + 1)};
    return r.Left == INT32_MAX ? TRect() : r;
  }
  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> out;
    for (int y = 0; y < bitmap.Height(); ++y) {
      const auto* row = static_cast<const uint32_t*>(bitmap.ScanLine(y));
      for (int x = 0; x < bitmap.Width(); ++x) out.push_back(row[x] & 0xFFFFFF);
    }
    return out;
  }
};

TEST(TextOutput, DisabledTextIsEmbossedAndKeepsAPixelForItsLightCopy) {
  TPinnedSystemColors colors(kEmbossColors);
  const TvxTextFlags flags = vxtfAlignRight | vxtfAlignVCenter | vxtfSingleLine;
  Sheet enabled(100, 20), disabled(100, 20);
  enabled.canvas.OutputText("Ilj", {0, 0, 100, 20}, flags, true);
  disabled.canvas.OutputText("Ilj", {0, 0, 100, 20}, flags, false);

  const TRect ink = enabled.Bounds(kInk), dark = disabled.Bounds(kEmbossDark), light = disabled.Bounds(kEmbossLight);
  ASSERT_FALSE(ink.IsEmpty());
  ASSERT_FALSE(dark.IsEmpty());
  ASSERT_FALSE(light.IsEmpty());
  EXPECT_TRUE(disabled.Bounds(kInk).IsEmpty());
  // The dark copy sits one pixel left of where enabled text sits; the light
  // one, one pixel down and right of it, ends where enabled text ends.
  EXPECT_EQ(dark.Right, ink.Right - 1);
  EXPECT_EQ(light.Right, dark.Right + 1);
  EXPECT_EQ(light.Bottom, dark.Bottom + 1);
  // The font colour and the brush style are given back.
  EXPECT_EQ(disabled.canvas.FontObject()->Color(), TColor(kInk));
  EXPECT_EQ(disabled.canvas.BrushObject()->Style(), bsClear);
}

TEST(TextOutput, SingleLineAndFormattedPathsPlaceTextAlike) {
  // Single-line text goes through ExtTextOut; with an end ellipsis through
  // DrawText. Both centre it in a rectangle it fits (DrawText may round
  // the vertical centre the other way).
  Sheet fast(120, 30), formatted(120, 30);
  const TvxTextFlags centred = vxtfAlignHCenter | vxtfAlignVCenter | vxtfSingleLine;
  fast.canvas.OutputText("Centre", {0, 0, 120, 30}, centred);
  formatted.canvas.OutputText("Centre", {0, 0, 120, 30}, centred | vxtfEndEllipsis);
  const TRect a = fast.Bounds(kInk), b = formatted.Bounds(kInk);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_EQ(a.Right, b.Right);
  EXPECT_EQ(a.Height(), b.Height());
  EXPECT_LE(std::abs(a.Top - b.Top), 1);
  EXPECT_LE(std::abs(a.Top + a.Bottom - 30), 2);

  // Clipped to the rectangle when the text does not fit.
  Sheet clipped(120, 30);
  clipped.canvas.OutputText("A long line of text", {10, 0, 30, 30}, vxtfAlignLeft | vxtfSingleLine);
  const TRect ink = clipped.Bounds(kInk);
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Right, 30);

  Sheet nothing(20, 20);
  nothing.canvas.OutputText("", {0, 0, 20, 20}, 0);
  EXPECT_TRUE(nothing.Bounds(kInk).IsEmpty());
}

TEST(TextOutput, MultiLineTextIsPlacedAtTheBottomOrInTheMiddle) {
  Sheet top(80, 80), bottom(80, 80), middle(80, 80);
  const String text = "one two three four";
  top.canvas.OutputText(text, {0, 0, 40, 80}, vxtfWordBreak);
  bottom.canvas.OutputText(text, {0, 0, 40, 80}, vxtfWordBreak | vxtfAlignBottom);
  middle.canvas.OutputText(text, {0, 0, 40, 80}, vxtfWordBreak | vxtfAlignVCenter);
  const TRect t = top.Bounds(kInk), b = bottom.Bounds(kInk), m = middle.Bounds(kInk);
  ASSERT_GT(t.Height(), top.canvas.MeasureTextHeight("Wg"));  // more than one line
  EXPECT_EQ(b.Height(), t.Height());
  EXPECT_GT(b.Top, t.Top);
  EXPECT_LE(b.Bottom, 80);
  EXPECT_GT(b.Bottom, 80 - top.canvas.MeasureTextHeight("Wg"));
  EXPECT_GT(m.Top, t.Top);
  EXPECT_LT(m.Top, b.Top);

  // Placement by itself: a rectangle whose top moves, nothing drawn.
  TRect r(0, 0, 40, 80);
  top.canvas.PlaceTextVertically(r, text, false, false, true, false, true, 0);
  EXPECT_EQ(r, TRect(0, 0, 40, 80));
  top.canvas.PlaceTextVertically(r, text, true, false, true, false, true, 1);
  const int line = top.canvas.MeasureTextHeight("Wg");
  EXPECT_EQ(r.Top, 80 - line * (80 / line));  // as many whole lines as fit
}

TEST(TextOutput, Measuring) {
  Sheet s(10, 10);
  const TSize size = s.canvas.MeasureTextSize("Hello");
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  EXPECT_EQ(s.canvas.MeasureTextWidth("Hello"), size.cx);
  EXPECT_EQ(s.canvas.MeasureTextSize("").cx, 0);

  // A zero-width rectangle measures in one pixel of width: one word a line.
  TRect r(5, 5, 5, 5);
  s.canvas.MeasureTextRect("ab cd ef", r, vxtfWordBreak | vxtfDontBreakChars);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Top, 5);
  EXPECT_EQ(r.Height(), 3 * size.cy);

  // Placed inside the rectangle it had, as the flags align it.
  TRect box(0, 0, 200, 100);
  s.canvas.MeasureTextRect("Hello", box, vxtfAlignRight | vxtfAlignBottom | vxtfSingleLine);
  EXPECT_EQ(box, TRect(200 - size.cx, 100 - size.cy, 200, 100));
  box = TRect(0, 0, 200, 100);
  s.canvas.MeasureTextRect("Hello", box, vxtfAlignHCenter | vxtfAlignVCenter | vxtfSingleLine);
  EXPECT_EQ(box.Left, (200 - size.cx) / 2);
  EXPECT_EQ(box.Top, (100 - size.cy) / 2);

  TFont big;
  big.SetName("Tahoma");
  big.SetHeight(-30);
  EXPECT_GE(s.canvas.LineHeightForFont(&big), 30);
  EXPECT_EQ(vxFontTextExtent(&big, "Hello").cx, s.canvas.MeasureTextWidth("Hello"));
  EXPECT_GT(vxFontTextHeight(&big, "Hello", 8), 0);
  EXPECT_LT(vxFontTextHeight(&big, "Hello", 8), 30);
}

TEST(TextOutput, RotatedTextIsUprightTextTurned) {
  const String text = "Turn";
  // 40 x 16 upright, drawn into a 16 x 40 rectangle a quarter turn either
  // way, or upside down into the same 40 x 16.
  Sheet upright(40, 16);
  upright.canvas.OutputTextEx(text, {0, 0, 40, 16}, vxtfAlignLeft, true, raNone);
  ASSERT_FALSE(upright.Bounds(kInk).IsEmpty());
  for (TvxRotation rotation : {raPlus90, raMinus90, ra180}) {
    SCOPED_TRACE(rotation);
    const bool quarter = rotation != ra180;
    Sheet turned(quarter ? 16 : 40, quarter ? 40 : 16);
    turned.canvas.OutputTextEx(text, {0, 0, turned.bitmap.Width(), turned.bitmap.Height()}, vxtfAlignLeft, true,
                               rotation);
    int w = 40, h = 16;
    EXPECT_EQ(turned.Pixels(), vxRotatePixels(upright.Pixels(), w, h, rotation, false));
  }

  // Inside a larger picture only the text's own pixels change.
  Sheet page(60, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) SetPixelV(page.canvas.DeviceContext(), x, y, RGB(x * 4, y * 4, 128));
  const std::vector<uint32_t> before = page.Pixels();
  page.canvas.OutputTextEx(text, {10, 10, 50, 20}, vxtfAlignLeft, true, ra180);
  const std::vector<uint32_t> after = page.Pixels();
  int changed = 0;
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) {
      ++changed;
      const int x = int(i % 60), y = int(i / 60);
      EXPECT_TRUE(x >= 10 && x < 50 && y >= 10 && y < 20) << x << "," << y;
      EXPECT_EQ(after[i], 0u) << x << "," << y;
    }
  EXPECT_GT(changed, 0);
}

TEST(TextOutput, BitmapsTurnInPlace) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(3, 2);
  const uint32_t values[] = {1, 2, 3, 4, 5, 6};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) static_cast<uint32_t*>(bitmap.ScanLine(y))[x] = values[y * 3 + x];
  TvxCanvas::RotateBitmap(&bitmap, raPlus90, false);
  ASSERT_EQ(bitmap.Width(), 2);
  ASSERT_EQ(bitmap.Height(), 3);
  std::vector<uint32_t> read;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) read.push_back(static_cast<const uint32_t*>(bitmap.ScanLine(y))[x]);
  EXPECT_EQ(read, (std::vector<uint32_t>{3, 6, 2, 5, 1, 4}));

  TvxCanvas::RotateBitmap(&bitmap, raNone, false);  // nothing to do
  EXPECT_EQ(bitmap.Width(), 2);
  TBitmap empty;
  TvxCanvas::RotateBitmap(&empty, ra180, true);
  EXPECT_TRUE(empty.Empty());
}

TEST(TextOutput, FontAngle) {
  Sheet s(10, 10);
  s.canvas.ApplyFontAngle(90);
  LOGFONTA font{};
  ASSERT_TRUE(vxQueryFontInfo(s.canvas.FontObject()->Handle(), font));
  EXPECT_EQ(font.lfEscapement, 900);
  s.canvas.ApplyFontAngle(0);
  ASSERT_TRUE(vxQueryFontInfo(s.canvas.FontObject()->Handle(), font));
  EXPECT_EQ(font.lfEscapement, 0);
}

}  // namespace
