// The GDI+ wrappers under Wine: colours, status recording, the font
// fall-back and the text-run helper.
#include <gtest/gtest.h>

#include <cmath>

#include "SmoothFixture.h"
#include "smooth/LuxGDIPWrappers.h"

namespace {

TEST(GdiplusWrappers, ColorToARGB) {
  EXPECT_EQ(ColorToARGB(128, 0x0000FF), 0x80FF0000u);
  EXPECT_EQ(ColorToARGB(0, RGBColor(1, 2, 3)), 0x00010203u);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ColorToOpaqueARGB(clBtnFace), OpaqueARGB(GetRValue(face), GetGValue(face), GetBValue(face)));
}

TEST(GdiplusWrappers, SessionStartsOnFirstNeedAndCountsUsers) {
  ASSERT_TRUE(GdiplusAcquire());
  EXPECT_TRUE(GdiplusRunning());
  {
    TGPSolidBrush brush(0xFF000000);
    EXPECT_NE(brush.NativeHandle(), nullptr);
    EXPECT_EQ(brush.LastStatus(), GdipOk);
  }
  GdiplusRelease();
  // The process keeps its session until it ends.
  EXPECT_TRUE(GdiplusRunning());
}

TEST(GdiplusWrappers, UnknownFontFamilyFallsBackToArial) {
  TGPFontFamily unknown("No Such Family 123");
  EXPECT_EQ(unknown.LastStatus(), GdipFontFamilyNotFound);
  EXPECT_EQ(unknown.NativeHandle(), nullptr);

  if (!ArialReady("GdiplusWrappers.UnknownFontFamilyFallsBackToArial")) return;
  TFont missing, arial;
  missing.SetName("No Such Family 123");
  arial.SetName("Arial");
  missing.SetSize(12);
  arial.SetSize(12);
  std::unique_ptr<TGPFont> a(TGPGraphics::FontFromTFont(&missing)), b(TGPGraphics::FontFromTFont(&arial));
  ASSERT_NE(a->NativeHandle(), nullptr);
  TDibCanvas canvas(10, 10);
  TGPGraphics g(canvas.DC());
  TGPRectF ra, rb;
  EXPECT_EQ(g.MeasureString("Fall-back text", a.get(), TGPRectF(0, 0, 1000, 1000), nullptr, ra), GdipOk);
  EXPECT_EQ(g.MeasureString("Fall-back text", b.get(), TGPRectF(0, 0, 1000, 1000), nullptr, rb), GdipOk);
  EXPECT_EQ(ra, rb);
  EXPECT_GT(ra.Width, 50);
}

TEST(GdiplusWrappers, FailuresAreRecordedNotRaised) {
  TGPGraphicsPath path;
  path.AddEllipse(0, 0, 40, 20);
  TGPPathGradientBrush brush(&path);
  ASSERT_NE(brush.NativeHandle(), nullptr);
  const int points = brush.PointCount();
  ASSERT_GT(points, 0);
  std::vector<ARGB> colors(size_t(points) + 1, 0xFF00FF00);
  int count = points + 1;
  EXPECT_EQ(brush.SetSurroundColors(colors.data(), count), GdipInvalidParameter);
  EXPECT_EQ(count, points + 1);
  EXPECT_EQ(brush.LastStatus(), GdipInvalidParameter);
  EXPECT_EQ(brush.SetInterpolationColors(colors.data(), nullptr, 0), GdipInvalidParameter);

  // A graphics without a bitmap has no handle; its calls fail quietly.
  TGPGraphics none(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(none.NativeHandle(), nullptr);
  EXPECT_NE(none.Clear(0), GdipOk);
  EXPECT_EQ(none.SmoothingMode(), -1);
}

TEST(GdiplusWrappers, DrawTextRunMeasuresATrailingBlankAsAnI) {
  TDibCanvas canvas(400, 60);
  TGPGraphics g(canvas.DC());
  TFont font;
  font.SetName("Tahoma");
  font.SetSize(14);
  std::unique_ptr<TGPFont> gpFont(TGPGraphics::FontFromTFont(&font));
  TGPRectF measured;
  g.MeasureString("abi", gpFont.get(), TGPRectF(10, 5, 1100, 40), nullptr, measured);

  RECT r{10, 5, 110, 45};
  const int height = g.DrawTextRun("ab ", 3, clNone, kTextRunCalculate, &font, r);
  EXPECT_EQ(r.right, 10 + std::lrint(measured.Width - 6));  // 2 + round((14 - 8) / 1.5)
  EXPECT_EQ(r.bottom, 5 + std::lrint(measured.Height));
  EXPECT_EQ(height, r.bottom - r.top);
  // Measuring alone draws nothing.
  EXPECT_EQ(canvas.Pixel(15, 20), 0xFFFFFFFFu);

  // A background is filled under the run, and the text drawn over it.
  RECT drawn{10, 5, 110, 45};
  font.SetColor(clBlack);
  g.DrawTextRun("ab ", 3, clLime, 0, &font, drawn);
  EXPECT_TRUE(PixelNear(canvas.Pixel(drawn.right - 2, 6), 0xFF00FF00, 0));
  int dark = 0;
  for (int y = drawn.top; y < drawn.bottom; ++y)
    for (int x = drawn.left; x < drawn.right; ++x) dark += canvas.Pixel(x, y) == 0xFF000000u;
  EXPECT_GT(dark, 5);
}

}  // namespace
