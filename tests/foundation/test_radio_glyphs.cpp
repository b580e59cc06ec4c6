// The radio-button glyphs over real GDI and the system image list: the
// measurement bounded to its cell, the pattern of pixel roles, 128 glyphs
// in which checked and unchecked differ only in the dot, and a rebuild in
// new system colours.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "foundation/vxImageList.h"
#include "foundation/vxLookAndFeelPaintersRadio.h"
#include "foundation/vxLookAndFeels.h"
#include "foundation/vxModules.h"

namespace {

// A cell picture from rows of text: '#' set, anything else clear.
std::vector<bool> Cells(const std::vector<const char*>& rows) {
  std::vector<bool> cells;
  for (const char* row : rows)
    for (const char* c = row; *c; ++c) cells.push_back(*c == '#');
  return cells;
}

TEST(RadioGlyphs, MeasurementStaysInItsCellAndFallsBack) {
  const std::vector<bool> none(36, false);
  // Nothing drawn: the fixed size.
  TvxRadioGlyphMetrics m = vxRadioGlyphMetricsFromCell(6, 6, none, none);
  EXPECT_EQ(m.Size.cx, vxRadioGlyphFallbackSize);
  EXPECT_EQ(m.Size.cy, vxRadioGlyphFallbackSize);

  const auto shape = Cells({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"});
  // A dot of text colour in the middle.
  const auto dot = Cells({"......", "......", "..##..", "..##..", "......", "......"});
  m = vxRadioGlyphMetricsFromCell(6, 6, shape, dot);
  EXPECT_EQ(m.RadioRect, TRect(1, 1, 5, 5));
  EXPECT_EQ(m.CheckRect, TRect(2, 2, 4, 4));

  // Text colour everywhere (the background shares it): no usable dot, the
  // centred fallback inside the radio rectangle.
  const std::vector<bool> all(36, true);
  m = vxRadioGlyphMetricsFromCell(6, 6, shape, all);
  EXPECT_EQ(m.RadioRect, TRect(1, 1, 5, 5));
  EXPECT_GE(m.CheckRect.Left, 1);
  EXPECT_LE(m.CheckRect.Right, 5);
  EXPECT_LT(m.CheckRect.Width(), 4);

  // A shape with a gap keeps its rectangle inside the cell.
  const auto gapped = Cells({"#....#", "......", "......", "......", "......", "#....#"});
  m = vxRadioGlyphMetricsFromCell(6, 6, gapped, none);
  EXPECT_LE(m.RadioRect.Right, 6);
  EXPECT_LE(m.RadioRect.Bottom, 6);
}

TEST(RadioGlyphs, PatternMarksRingsBodyAndDot) {
  const auto ring = Cells({"..####..", ".#....#.", "#......#", "#......#", "#......#", "#......#", ".#....#.",
                           "..####.."});
  const auto dot = Cells({"........", "........", "........", "...##...", "...##...", "........", "........",
                          "........"});
  const std::vector<uint8_t> roles = vxRadioGlyphPattern(8, 8, ring, dot);
  auto at = [&](int i, int j) { return roles[size_t(i * 8 + j)]; };
  EXPECT_EQ(at(0, 0), rprOutside);
  EXPECT_EQ(at(0, 2), rprOuterUpperLeft);
  EXPECT_EQ(at(7, 5), rprOuterLowerRight);
  EXPECT_EQ(at(2, 0), rprOuterUpperLeft);
  EXPECT_EQ(at(5, 7), rprOuterLowerRight);
  EXPECT_EQ(at(3, 3), rprDot);
  EXPECT_EQ(at(2, 1), rprInnerUpperLeft);
  EXPECT_EQ(at(5, 6), rprInnerLowerRight);
  EXPECT_EQ(at(3, 5), rprBody);
}

class RadioGlyphList : public testing::Test {
 protected:
  TvxFoundationModules modules_;
  TPinnedSystemColors pins_{{{COLOR_WINDOW, RGB(250, 250, 250)},
                             {COLOR_WINDOWTEXT, RGB(1, 2, 3)},
                             {COLOR_BTNFACE, RGB(212, 208, 200)},
                             {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                             {COLOR_HIGHLIGHT, RGB(10, 36, 106)}}};
};

TEST_F(RadioGlyphList, CheckedAndUncheckedDifferOnlyInTheDot) {
  TvxRadioButtonGlyphs glyphs;
  glyphs.RenderGlyphs();
  ASSERT_EQ(glyphs.Count(), 128);
  std::set<int> indexes;
  for (int c = 0; c < 128; ++c) indexes.insert(glyphs.ImageIndex(c));
  EXPECT_EQ(indexes.size(), 128u);

  const TSize size = glyphs.GlyphExtent();
  ASSERT_GT(size.cx, 4);
  ASSERT_LE(size.cx, 64);
  const std::vector<uint8_t>& pattern = glyphs.Pattern();
  for (int kind = lfFlat; kind <= lfOffice11; ++kind)
    for (int state = vxbsNormal; state <= vxbsDisabled; ++state)
      for (bool focused : {false, true})
        for (bool highlighted : {false, true}) {
          SCOPED_TRACE(testing::Message() << "kind " << kind << " state " << state << " focused " << focused
                                          << " highlighted " << highlighted);
          TPainterPicture off(size.cx, size.cy, RGB(0, 255, 0)), on(size.cx, size.cy, RGB(0, 255, 0));
          glyphs.PaintGlyph(off.canvas.get(), 0, 0, clDefault, TvxLookAndFeelKind(kind), TvxButtonState(state),
                            false, focused, highlighted);
          glyphs.PaintGlyph(on.canvas.get(), 0, 0, clDefault, TvxLookAndFeelKind(kind), TvxButtonState(state),
                            true, focused, highlighted);
          int dotDifferences = 0, otherDifferences = 0;
          for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
              if (off.At(x, y) == on.At(x, y)) continue;
              (pattern[size_t(y * size.cx + x)] == rprDot ? dotDifferences : otherDifferences)++;
            }
          EXPECT_EQ(otherDifferences, 0);
          EXPECT_GT(dotDifferences, 0);
          // The corners stay transparent.
          EXPECT_EQ(on.At(0, 0), RGB(0, 255, 0));
        }
}

TEST_F(RadioGlyphList, RebuildTakesTheNewColours) {
  TvxRadioButtonGlyphs glyphs;
  glyphs.RenderGlyphs();
  const TSize size = glyphs.GlyphExtent();
  const int cx = size.cx / 2, cy = size.cy / 2;
  TPainterPicture before(size.cx, size.cy);
  glyphs.PaintGlyph(before.canvas.get(), 0, 0, clDefault, lfStandard, vxbsNormal, true, false, false);
  EXPECT_EQ(before.At(cx, cy), RGB(1, 2, 3));
  TPinnedSystemColors red({{COLOR_WINDOWTEXT, RGB(200, 0, 0)}});
  glyphs.RebuildGlyphs();
  EXPECT_EQ(glyphs.Count(), 128);
  TPainterPicture after(size.cx, size.cy);
  glyphs.PaintGlyph(after.canvas.get(), 0, 0, clRed, lfStandard, vxbsNormal, true, false, false);
  EXPECT_EQ(after.At(cx, cy), RGB(200, 0, 0));
  EXPECT_EQ(after.At(0, 0), RGB(255, 0, 0)) << "drawn over the background colour";
}

// The painters draw the shared list's glyphs, and the list follows a colour
// change through the painters module's primary notifier.
TEST_F(RadioGlyphList, PaintersDrawTheSharedGlyphs) {
  TvxRadioButtonGlyphs reference;
  reference.RenderGlyphs();
  const TSize size = reference.GlyphExtent();
  EXPECT_EQ(TvxStandardLookAndFeelPainter::Painter().RadioButtonExtent(), size);
  for (bool checked : {false, true})
    for (int state = vxbsNormal; state <= vxbsDisabled; ++state) {
      SCOPED_TRACE(testing::Message() << "state " << state << " checked " << checked);
      TPainterPicture expected(size.cx + 6, size.cy + 6, RGB(0, 255, 0)),
          drawn(size.cx + 6, size.cy + 6, RGB(0, 255, 0));
      reference.PaintGlyph(expected.Canvas(), 3, 3, clDefault, lfStandard, TvxButtonState(state), checked, false,
                           false);
      TvxStandardLookAndFeelPainter::Painter().PaintRadioButton(drawn.Canvas(), 3, 3, TvxButtonState(state),
                                                                 checked, false, clDefault, false);
      EXPECT_TRUE(drawn.SameAs(expected));
      EXPECT_EQ(drawn.At(1, 1), RGB(0, 255, 0));
    }

  const int cx = 3 + size.cx / 2, cy = 3 + size.cy / 2;
  TPainterPicture before(size.cx + 6, size.cy + 6);
  TvxStandardLookAndFeelPainter::Painter().PaintRadioButton(before.Canvas(), 3, 3, vxbsNormal, true, false,
                                                             clDefault, false);
  EXPECT_EQ(before.At(cx, cy), RGB(1, 2, 3));
  TPinnedSystemColors red({{COLOR_WINDOWTEXT, RGB(200, 0, 0)}});
  SendMessageA(vxPaletteListenerWindow(), WM_SYSCOLORCHANGE, 0, 0);
  TPainterPicture after(size.cx + 6, size.cy + 6);
  TvxStandardLookAndFeelPainter::Painter().PaintRadioButton(after.Canvas(), 3, 3, vxbsNormal, true, false,
                                                             clDefault, false);
  EXPECT_EQ(after.At(cx, cy), RGB(200, 0, 0));
}

// An indicator cell shows its image centred over the cell's background:
// black where the compiled-in bitmap is black, the background where it is
// white.
TEST_F(RadioGlyphList, IndicatorCellsShowTheirImages) {
  TvxImageList* images = vxIndicatorImages();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->Count(), 6);
  EXPECT_EQ(images->Width(), 8);
  EXPECT_EQ(images->Height(), 9);
  const char* const names[] = {"VX_ARROWBITMAP",    "VX_EDITBITMAP",       "VX_INSERTBITMAP",
                               "VX_MULTIDOTBITMAP", "VX_MULTIARROWBITMAP", "VX_FILTERBITMAP"};
  const TRect cell(0, 0, 20, 17);
  const int left = (cell.Width() - 8) / 2, top = (cell.Height() - 9) / 2;
  for (int kind = 1; kind <= 6; ++kind) {
    SCOPED_TRACE(names[kind - 1]);
    TPainterPicture picture(cell.Width(), cell.Height());
    TvxStandardLookAndFeelPainter::Painter().PaintIndicatorCell(picture.Canvas(), cell, kind, RGB(0, 200, 0),
                                                                nullptr);
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), names[kind - 1]);
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    int black = 0, mismatches = 0;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 8; ++x) {
        const COLORREF source = GetPixel(dc, x, y);
        const COLORREF shown = picture.At(left + x, top + y);
        if (source == RGB(0, 0, 0)) ++black;
        if (source == RGB(255, 255, 255) ? shown != RGB(0, 200, 0) : shown != source) ++mismatches;
      }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_GT(black, 0);
    EXPECT_EQ(mismatches, 0);
  }
  TPainterPicture none(cell.Width(), cell.Height());
  TvxStandardLookAndFeelPainter::Painter().PaintIndicatorCell(none.Canvas(), cell, 0, RGB(0, 200, 0), nullptr);
  EXPECT_EQ(none.CountIn(TRect(left, top, left + 8, top + 9), RGB(0, 0, 0)), 0);
}

// The indicator and expand-button bitmaps are in the program's resources,
// white where they are transparent.
TEST(PainterBitmaps, AreCompiledIn) {
  struct Case {
    const char* name;
    int width, height;
  };
  const Case cases[] = {{"VX_ARROWBITMAP", 8, 9},      {"VX_EDITBITMAP", 8, 9},       {"VX_INSERTBITMAP", 8, 9},
                        {"VX_MULTIDOTBITMAP", 8, 9},   {"VX_MULTIARROWBITMAP", 8, 9}, {"VX_FILTERBITMAP", 8, 9},
                        {"VDEXPANDBUTTON_MINUS", 9, 9}, {"VDEXPANDBUTTON_PLUS", 9, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), c.name);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    // Inside the expand button's grey frame, and everywhere around the
    // indicators' shapes, the background is white.
    EXPECT_EQ(GetPixel(dc, c.width - 2, c.height - 2), RGB(255, 255, 255));
    int black = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) black += GetPixel(dc, x, y) == RGB(0, 0, 0);
    EXPECT_GT(black, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

}  // namespace
