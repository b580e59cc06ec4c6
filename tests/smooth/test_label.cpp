// The smooth label painted into a white bitmap under Wine: its gradient
// caption and shadow, the font fall-back, word wrap and AutoSize.
#include <gtest/gtest.h>

#include "SmoothFixture.h"
#include "smooth/LuxSmoothLabel.h"

namespace {

struct TPaintedLabel {
  explicit TPaintedLabel(int width = 300, int height = 60) : canvas(width, height) {
    label.SetBounds(0, 0, width, height);
    label.Caption()->Font()->SetName("Tahoma");
    label.Caption()->Font()->SetSize(24);
    label.Caption()->SetLocation(plTopLeft);
  }
  void Paint() { label.PaintTo(canvas.bitmap.Canvas()); }
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
