// The smooth label painted into a white bitmap under Wine: its gradient
// caption and shadow, the font fall-back, word wrap and AutoSize.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "SmoothFixture.h"
#include "smooth/LuxSmoothLabel.h"

namespace {

std::vector<ARGB> PixelsOf(TDibCanvas& canvas) {
  std::vector<ARGB> pixels;
  for (int y = 0; y < canvas.bitmap.Height(); ++y)
    for (int x = 0; x < canvas.bitmap.Width(); ++x) pixels.push_back(canvas.Pixel(x, y));
  return pixels;
}

// Equal pixel lists; otherwise how many differ and the first of them.
::testing::AssertionResult SamePixels(const std::vector<ARGB>& actual, const std::vector<ARGB>& expected, int width) {
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  int count = 0;
  size_t first = 0;
  for (size_t i = 0; i < actual.size(); ++i)
    if (actual[i] != expected[i] && count++ == 0) first = i;
  if (count == 0) return ::testing::AssertionSuccess();
  char text[120];
  std::snprintf(text, sizeof text, "%d pixels differ, the first at %d,%d: %08lX, expected %08lX", count,
                int(first) % width, int(first) / width, (unsigned long)actual[first], (unsigned long)expected[first]);
  return ::testing::AssertionFailure() << text;
}

struct TPaintedLabel {
  explicit TPaintedLabel(int width = 300, int height = 60) : canvas(width, height) {
    label.SetBounds(0, 0, width, height);
    label.Caption()->Font()->SetName("Tahoma");
    label.Caption()->Font()->SetSize(24);
    label.Caption()->SetLocation(plTopLeft);
  }
  void Paint() { label.PaintTo(canvas.bitmap.Canvas()); }
  void Clear() { canvas.bitmap.Canvas()->FillRect(TRect(0, 0, canvas.bitmap.Width(), canvas.bitmap.Height())); }
  std::vector<ARGB> Pixels() { return PixelsOf(canvas); }
  // Bounding box of the pixels that are not white.
  TRect Ink() {
    TRect r(1 << 20, 1 << 20, -1, -1);
    for (int y = 0; y < canvas.bitmap.Height(); ++y)
      for (int x = 0; x < canvas.bitmap.Width(); ++x)
        if (canvas.Pixel(x, y) != 0xFFFFFFFFu) {
          r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  }
  TLuxSmoothLabel label{nullptr};
  TDibCanvas canvas;
};

TEST(LuxSmoothLabel, GradientCaptionRunsFromStartToEndColour) {
  TPaintedLabel p;
  p.label.Caption()->SetText("MMMM");
  p.label.Caption()->SetColorStart(clRed);
  p.label.Caption()->SetColorEnd(clBlue);
  p.Paint();
  const TRect ink = p.Ink();
  ASSERT_LT(ink.Left, ink.Right);
  // Solid stroke pixels near the top are reddish, near the bottom bluish.
  auto strongest = [&](int y, bool red) {
    int best = 0;
    for (int x = ink.Left; x < ink.Right; ++x) {
      const ARGB c = p.canvas.Pixel(x, y);
      best = std::max(best, red ? int(ARGBRed(c)) - int(ARGBBlue(c)) : int(ARGBBlue(c)) - int(ARGBRed(c)));
    }
    return best;
  };
  EXPECT_GT(strongest(ink.Top + 2, true), 100);
  EXPECT_GT(strongest(ink.Bottom - 2, false), 100);
}

TEST(LuxSmoothLabel, ShadowIsDrawnFirstAtItsOffset) {
  TPaintedLabel p;
  p.label.SetCaptionShadowVisible(true);
  p.label.SetCaptionShadowOffsetLeft(3);
  p.label.SetCaptionShadowOffsetTop(3);
  p.label.Caption()->SetGradientType(gtSolid);
  p.label.Caption()->SetColorStart(clRed);
  p.label.CaptionShadow()->SetGradientType(gtSolid);
  p.label.CaptionShadow()->SetColorStart(clBlack);
  p.label.CaptionShadow()->SetLocation(plTopLeft);
  p.label.CaptionShadow()->Font()->Assign(p.label.Caption()->Font());
  p.label.Caption()->SetText("I");  // the shadow follows (AutoShadowCaption)
  EXPECT_EQ(p.label.CaptionShadow()->Text(), "I");
  p.Paint();
  // Bounding boxes of the pure caption and shadow pixels: the shadow's is
  // the caption's moved by the offsets.
  auto box = [&](ARGB colour) {
    TRect r(1 << 20, 1 << 20, -1, -1);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 300; ++x)
        if (p.canvas.Pixel(x, y) == colour) {
          r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  };
  const TRect red = box(0xFFFF0000), black = box(0xFF000000);
  ASSERT_LT(red.Left, red.Right);
  ASSERT_LT(black.Left, black.Right);
  EXPECT_EQ(black.Right, red.Right + 3);
  EXPECT_EQ(black.Bottom, red.Bottom + 3);
  // Drawn first: where both fall, the caption is on top.
  EXPECT_EQ(p.canvas.Pixel(red.Left + 1, red.Bottom - 2), 0xFFFF0000u);

  // Without AutoShadowCaption the shadow keeps its text.
  p.label.SetAutoShadowCaption(false);
  p.label.Caption()->SetText("J");
  EXPECT_EQ(p.label.CaptionShadow()->Text(), "I");
}

TEST(LuxSmoothLabel, UnknownFontIsDrawnInArial) {
  if (!ArialReady("LuxSmoothLabel.UnknownFontIsDrawnInArial")) return;
  TPaintedLabel unknown, arial;
  unknown.label.Caption()->Font()->SetName("No Such Family 123");
  arial.label.Caption()->Font()->SetName("Arial");
  for (TPaintedLabel* p : {&unknown, &arial}) {
    p->label.Caption()->SetText("Quillor");
    p->Paint();
  }
  const TRect a = unknown.Ink(), b = arial.Ink();
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_EQ(a.Right, b.Right);
  EXPECT_EQ(a.Bottom, b.Bottom);
  EXPECT_LT(a.Left, a.Right);
}

TEST(LuxSmoothLabel, WordWrapKeepsTheTextInsideTheLabel) {
  TPaintedLabel wrapped(120, 200), single(120, 200);
  wrapped.label.SetWordWrap(true);
  for (TPaintedLabel* p : {&wrapped, &single}) {
    p->label.Caption()->Font()->SetSize(14);
    p->label.Caption()->SetText("several words that do not fit on one line");
    p->Paint();
  }
  EXPECT_LT(wrapped.Ink().Right, 120);
  EXPECT_GT(wrapped.Ink().Height(), 2 * single.Ink().Height());
  // One line, up to the label's right edge.
  EXPECT_GT(single.Ink().Right, 100);
  EXPECT_LT(single.Ink().Height(), 25);
}

TEST(LuxSmoothLabel, AutoSizeFitsTheCaption) {
  TLuxSmoothLabel label(nullptr);
  label.Caption()->SetText("Bienvenu");
  label.SetAutoSize(true);
  const int width = label.Width(), height = label.Height();
  EXPECT_GT(width, 60);
  EXPECT_LT(width, 280);
  EXPECT_GT(height, 20);
  EXPECT_LT(height, 50);
  label.Caption()->SetText("Bienvenu dans l'assistant");
  EXPECT_GT(label.Width(), width);
  // Turned off, it sizes once more and then leaves the size alone.
  label.SetAutoSize(false);
  const int fitted = label.Width();
  label.Caption()->SetText("B");
  EXPECT_EQ(label.Width(), fitted);
  EXPECT_EQ(label.Version(), "1.6.0.1");
}

// A gradient caption is drawn once and blended at each paint: over a
// striped canvas and away from the canvas origin, as a page paints its
// labels, the pixels are those of the text drawn straight onto the canvas,
// at the first paint and at the next.
TEST(LuxSmoothLabel, KeptGradientCaptionGivesThePixelsOfDirectDrawing) {
  const int width = 260, height = 70, left = 17, top = 9;
  auto stripes = [&](TDibCanvas& canvas) {
    const TColor colours[] = {clWhite, RGBColor(20, 40, 60), RGBColor(200, 120, 40), clBlack};
    for (int i = 0; i < 12; ++i) {
      canvas.bitmap.Canvas()->Brush()->SetColor(colours[i % 4]);
      canvas.bitmap.Canvas()->FillRect(TRect(i * 25, 0, i * 25 + 25, height + top));
    }
  };
  TDibCanvas painted(width + left, height + top), direct(width + left, height + top);
  stripes(painted);
  stripes(direct);

  TLuxSmoothLabel label(nullptr);
  label.SetBounds(0, 0, width, height);
  label.Caption()->SetText("Bienvenu MW");
  label.Caption()->Font()->SetName("Tahoma");
  label.Caption()->Font()->SetHeight(-27);
  label.Caption()->Font()->SetStyle(fsBold);
  label.Caption()->SetLocation(plTopLeft);
  label.Caption()->SetColorStart(RGBColor(162, 189, 253));
  label.Caption()->SetColorEnd(RGBColor(10, 80, 30));
  label.Caption()->SetOpacityEnd(180);
  auto paint = [&] {
    SetWindowOrgEx(painted.DC(), -left, -top, nullptr);
    label.PaintTo(painted.bitmap.Canvas());
    SetWindowOrgEx(painted.DC(), 0, 0, nullptr);
  };
  paint();
  const std::vector<ARGB> first = PixelsOf(painted);
  stripes(painted);
  paint();

  SetWindowOrgEx(direct.DC(), -left, -top, nullptr);
  {
    TGPGraphics g(direct.DC());
    std::unique_ptr<TGPFont> font(TGPGraphics::FontFromTFont(label.Caption()->Font()));
    TGPStringFormat format(StringFormatFlagsNoWrap);
    TGPRectF bounds;
    g.MeasureString(label.Caption()->Text(), font.get(), TGPRectF(0, 0, float(width - 1), float(height - 1)),
                    &format, bounds);
    const TGPRectF box(0, 0, bounds.Width, bounds.Height);
    TGPLinearGradientBrush brush(TGPPointF(0, 0), TGPPointF(0, bounds.Height), ColorToARGB(255, RGBColor(162, 189, 253)),
                                 ColorToARGB(180, RGBColor(10, 80, 30)));
    g.SetTextRenderingHint(TextRenderingHintAntiAliasGridFit);
    g.DrawString(label.Caption()->Text(), font.get(), box, &format, &brush);
  }
  SetWindowOrgEx(direct.DC(), 0, 0, nullptr);

  TDibCanvas bare(width + left, height + top);
  stripes(bare);
  ASSERT_NE(PixelsOf(direct), PixelsOf(bare));
  EXPECT_TRUE(SamePixels(first, PixelsOf(direct), width + left));
  EXPECT_TRUE(SamePixels(PixelsOf(painted), PixelsOf(direct), width + left));
}

// Whatever a kept caption shows, changed between two paints, shows at the
// second paint as on a label made with the new value.
TEST(LuxSmoothLabel, KeptCaptionFollowsEveryChange) {
  struct Case {
    const char* what;
    std::function<void(TLuxSmoothLabel&)> change;
  };
  const Case cases[] = {
      {"text", [](TLuxSmoothLabel& l) { l.Caption()->SetText("Suivant"); }},
      {"font name", [](TLuxSmoothLabel& l) { l.Caption()->Font()->SetName("MS Sans Serif"); }},
      {"font size", [](TLuxSmoothLabel& l) { l.Caption()->Font()->SetSize(16); }},
      {"font style", [](TLuxSmoothLabel& l) { l.Caption()->Font()->SetStyle(fsBold); }},
      {"start colour", [](TLuxSmoothLabel& l) { l.Caption()->SetColorStart(clGreen); }},
      {"end colour", [](TLuxSmoothLabel& l) { l.Caption()->SetColorEnd(clYellow); }},
      {"no end colour", [](TLuxSmoothLabel& l) { l.Caption()->SetColorEnd(clNone); }},
      {"opacity", [](TLuxSmoothLabel& l) { l.Caption()->SetOpacityStart(90); }},
      {"gradient", [](TLuxSmoothLabel& l) { l.Caption()->SetGradientType(gtHorizontal); }},
      {"to a solid colour", [](TLuxSmoothLabel& l) { l.Caption()->SetGradientType(gtSolid); }},
      {"location", [](TLuxSmoothLabel& l) { l.Caption()->SetLocation(plCenterCenter); }},
      {"size", [](TLuxSmoothLabel& l) { l.SetBounds(0, 0, 150, 40); }},
      {"word wrap", [](TLuxSmoothLabel& l) { l.SetWordWrap(true); }},
      {"fill", [](TLuxSmoothLabel& l) { l.Fill()->SetShadowOffset(4); }},
      {"shadow shown", [](TLuxSmoothLabel& l) { l.SetCaptionShadowVisible(true); }},
      {"shadow offset", [](TLuxSmoothLabel& l) {
         l.SetCaptionShadowVisible(true);
         l.SetCaptionShadowOffsetLeft(5);
       }},
  };
  auto setUp = [](TPaintedLabel& p) {
    p.label.Caption()->SetText("Bienvenu dans l'assistant");
    p.label.Caption()->SetColorStart(clRed);
    p.label.Caption()->SetColorEnd(clBlue);
    p.label.CaptionShadow()->SetColorStart(clGray);
    p.label.CaptionShadow()->SetColorEnd(clSilver);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TPaintedLabel kept, fresh;
    setUp(kept);
    kept.Paint();
    const std::vector<ARGB> before = kept.Pixels();
    c.change(kept.label);
    kept.Clear();
    kept.Paint();
    setUp(fresh);
    c.change(fresh.label);
    fresh.Paint();
    EXPECT_NE(kept.Pixels(), before);
    EXPECT_TRUE(SamePixels(kept.Pixels(), fresh.Pixels(), kept.canvas.bitmap.Width()));
  }
}

TEST(LuxSmoothLabel, ThinLabelsAndRadialCaptionsDrawNothing) {
  TPaintedLabel thin(300, 1);
  thin.label.Caption()->SetText("Text");
  thin.Paint();
  EXPECT_GT(thin.Ink().Left, thin.Ink().Right);

  TPaintedLabel radial;
  radial.label.Caption()->SetText("Text");
  radial.label.Caption()->SetGradientType(gtRadial);
  radial.Paint();
  EXPECT_GT(radial.Ink().Left, radial.Ink().Right);
}

}  // namespace
