// The ultra-flat and Office 2003 painters under Wine: their constant
// colours and extents, one pixel probe per family of overrides in a pinned
// colour scheme, and the class-reference rule (a painter that changes one
// step changes the composite operations built on it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "foundation/vdOffice11.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kBtnHighlight = RGB(255, 255, 254);
constexpr COLORREF kBtnText = RGB(20, 20, 20), kWindowText = RGB(30, 0, 0), kWindowFrame = RGB(40, 40, 0);
constexpr COLORREF kSelection = RGB(10, 36, 106), kSelectionText = RGB(250, 250, 0), kWindow = RGB(250, 250, 250);
constexpr COLORREF kGray = RGB(100, 100, 100), kDkShadow = RGB(64, 64, 64), kLight = RGB(224, 224, 224);
constexpr COLORREF kBackground = RGB(0, 255, 0);

const std::vector<std::pair<int, COLORREF>> kScheme = {
    {COLOR_BTNFACE, kFace},         {COLOR_BTNSHADOW, kShadow},     {COLOR_BTNHIGHLIGHT, kBtnHighlight},
    {COLOR_BTNTEXT, kBtnText},      {COLOR_WINDOWTEXT, kWindowText}, {COLOR_WINDOWFRAME, kWindowFrame},
    {COLOR_HIGHLIGHT, kSelection},  {COLOR_HIGHLIGHTTEXT, kSelectionText}, {COLOR_WINDOW, kWindow},
    {COLOR_GRAYTEXT, kGray},        {COLOR_3DDKSHADOW, kDkShadow},  {COLOR_3DLIGHT, kLight}};

const TvxUltraFlatLookAndFeelPainter& UltraFlat() { return TvxUltraFlatLookAndFeelPainter::Painter(); }
const TvxOffice11LookAndFeelPainter& Office11() { return TvxOffice11LookAndFeelPainter::Painter(); }

COLORREF RGBOf(TColor color) { return ColorToRGB(color); }

// Gradients may round a channel by a step or two.
bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The pinned scheme and, for the Office 2003 painter, one reference to the
// scheme colours computed from it (classic: no theme runs in the tests).
class Painters : public testing::Test {
 protected:
  void SetUp() override { vdAddRefOffice11Colors(); }
  void TearDown() override { vdReleaseOffice11Colors(); }
  TPinnedSystemColors pinned_{kScheme};
};

// The Office 2003 painter in the blue scheme, whose colours differ from
// every system colour, so a probe tells the scheme's colour from a system
// one. The grip brushes stay those of the classic colours.
class BluePainters : public Painters {
 protected:
  void SetUp() override {
    Painters::SetUp();
    vdOffice11Store(vdo11Blue, true, vdOffice11ColorsFor(vdo11Blue, true, {}, [](TvdRGBColor c) { return c; }));
  }
  void TearDown() override {
    vdRefreshOffice11Colors();
    Painters::TearDown();
  }
};

// --- Constants ------------------------------------------------------------------

struct Constant {
  std::string name;
  int64_t got, want;
};

void ExpectConstants(const std::vector<Constant>& table) {
  for (const Constant& c : table) EXPECT_EQ(c.got, c.want) << c.name;
}

int64_t Pair(TPoint p) { return int64_t(p.X) << 32 | uint32_t(p.Y); }
int64_t Pair(TSize s) { return int64_t(s.cx) << 32 | uint32_t(s.cy); }
int64_t Quad(TRect r) { return int64_t(r.Left) << 48 | int64_t(r.Top) << 32 | r.Right << 16 | r.Bottom; }

TEST_F(Painters, UltraFlatConstants) {
  const auto& p = UltraFlat();
  ExpectConstants({
      {"StyleId", p.StyleId(), lfsUltraFlat},
      {"SchedulerFrameColor", p.SchedulerFrameColor(), clBtnShadow},
      {"BorderWidth", p.BorderWidth(), 1},
      {"ButtonBorderWidth default", p.ButtonBorderWidth(vxbsDefault), 2},
      {"ButtonBorderWidth hot", p.ButtonBorderWidth(vxbsHot), 1},
      {"ButtonFaceColor hot", p.ButtonFaceColor(vxbsHot), vxHotFlatButtonColor()},
      {"ButtonFaceColor pressed", p.ButtonFaceColor(vxbsPressed), vxPressedFlatButtonColor()},
      {"ButtonFaceColor normal", p.ButtonFaceColor(vxbsNormal), clBtnFace},
      {"ButtonFocusBounds 10x10", Quad(p.ButtonFocusBounds(nullptr, {0, 0, 10, 10})), Quad({3, 3, 7, 7})},
      {"ButtonFocusBounds 6x6", Quad(p.ButtonFocusBounds(nullptr, {0, 0, 6, 6})), Quad({0, 0, 6, 6})},
      {"ButtonGroupBorderWidths single", Quad(p.ButtonGroupBorderWidths(1, 0)), Quad({2, 2, 1, 2})},
      {"ButtonGroupBorderWidths middle", Quad(p.ButtonGroupBorderWidths(3, 1)), Quad({1, 2, 1, 2})},
      {"ButtonGroupBorderWidths last", Quad(p.ButtonGroupBorderWidths(3, 2)), Quad({1, 2, 2, 2})},
      {"ButtonTextIndent", p.ButtonTextIndent(), 2},
      {"ButtonPressedTextShift", p.ButtonPressedTextShift(), 0},
      {"ButtonGlyphColor pressed", p.ButtonGlyphColor(vxbsPressed, clRed), clHighlightText},
      {"ButtonGlyphColor disabled", p.ButtonGlyphColor(vxbsDisabled, clRed), clBtnShadow},
      {"ButtonGlyphColor hot", p.ButtonGlyphColor(vxbsHot, clDefault), clBtnText},
      {"ButtonGlyphState pressed", p.ButtonGlyphState(vxbsPressed), vxbsNormal},
      {"ExpandButtonExtent", p.ExpandButtonExtent(), 11},
      {"SmallExpandButtonExtent", p.SmallExpandButtonExtent(), 9},
      {"CanHotTrackButtons", p.CanHotTrackButtons(), true},
      {"HeaderOwnBorders none", p.HeaderOwnBorders(0), vxAllBorders},
      {"HeaderOwnBorders left", p.HeaderOwnBorders(1), 14},
      {"HeaderOwnBorders left and top", p.HeaderOwnBorders(3), 12},
      {"HeaderBorderWidth", p.HeaderBorderWidth(), 1},
      {"SortMarkExtent", Pair(p.SortMarkExtent()), Pair(TPoint(7, 8))},
      {"LayoutViewRecordBorders", p.LayoutViewRecordBorders(0), 12},
      {"FooterBorderWidth", p.FooterBorderWidth(), 1},
      {"FooterCellBorderWidth", p.FooterCellBorderWidth(), 1},
      {"FooterCellSpacing", p.FooterCellSpacing(), 2},
      {"FilterCloseButtonExtent", Pair(p.FilterCloseButtonExtent()), Pair(TPoint(16, 15))},
      {"TabEdgeWidth", p.TabEdgeWidth(false), 1},
      {"SplitterGripShadowColor highlighted", p.SplitterGripShadowColor(true), clHighlight},
      {"SplitterGripShadowColor", p.SplitterGripShadowColor(false), clBtnShadow},
      {"SplitterExtent horizontal", Pair(p.SplitterExtent(true)), Pair(TSize{17, 1})},
      {"SplitterExtent vertical", Pair(p.SplitterExtent(false)), Pair(TSize{1, 17})},
      {"ButtonFrameColor normal", p.ButtonFrameColor(vxbsNormal), clBtnShadow},
      {"ButtonFrameColor hot", p.ButtonFrameColor(vxbsHot), clHighlight},
      {"HotButtonFrameColor", p.HotButtonFrameColor(), clBtnShadow},
      {"PlainButtonFrameColor", p.PlainButtonFrameColor(), clBtnText},
      {"HighlightFrameColor", p.HighlightFrameColor(), clHighlight},
  });
}

TEST_F(Painters, Office11Constants) {
  const auto& p = Office11();
  const TColor middle = vdMixColors(vdOffice11GradientBeginColor, vdOffice11GradientEndColor, 50);
  ExpectConstants({
      {"StyleId", p.StyleId(), lfsOffice11},
      {"RedrawsOnResize", p.RedrawsOnResize(), true},
      {"CalendarHeaderHighlightTextColor", p.CalendarHeaderHighlightTextColor(), clHighlightText},
      {"FilterPanelColor", p.FilterPanelColor(), vdOffice11ShadowColor},
      {"FilterPanelTextColor", p.FilterPanelTextColor(), vdOffice11LightTextColor},
      {"HeaderAreaColor", p.HeaderAreaColor(), vdOffice11FaceColor},
      {"HeaderAreaTextColor", p.HeaderAreaTextColor(), clBtnText},
      {"GroupByPanelColor", p.GroupByPanelColor(), vdOffice11HeaderShadeColor},
      {"GroupByPanelTextColor", p.GroupByPanelTextColor(), vdOffice11GradientBeginColor},
      {"GroupRowColor", p.GroupRowColor(), vdOffice11GroupRowColor},
      {"HeaderBackgroundColor", p.HeaderBackgroundColor(), vdOffice11HeaderShadeColor},
      {"HeaderColor", p.HeaderColor(), middle},
      {"CalendarHeaderColor", p.CalendarHeaderColor(), vdOffice11FaceColor},
      {"CalendarSelectedDayColor", p.CalendarSelectedDayColor(), vdOffice11SelectedDayColor},
      {"CalendarSelectedDayTextColor", p.CalendarSelectedDayTextColor(), clWindowText},
      {"SchedulerFrameColor", p.SchedulerFrameColor(), vdOffice11SchedulerFrameColor},
      {"SchedulerBackgroundColor", p.SchedulerBackgroundColor(), vdOffice11SchedulerBackgroundColor},
      {"FaceToneColor", p.FaceToneColor(), vdOffice11LightFaceColor},
      {"WindowToneColor", p.WindowToneColor(), vdOffice11LightFaceColor},
      {"TimeGridHeaderColor", p.TimeGridHeaderColor(), vdOffice11FaceColor},
      {"TimeGridBackgroundColor", p.TimeGridBackgroundColor(), vdOffice11SchedulerBackgroundColor},
      {"ButtonFaceColor hot", p.ButtonFaceColor(vxbsHot), vdOffice11HotColor1},
      {"ButtonFaceColor pressed", p.ButtonFaceColor(vxbsPressed), vdOffice11PressedColor1},
      {"ButtonFaceColor disabled", p.ButtonFaceColor(vxbsDisabled), clBtnFace},
      {"ButtonFaceColor normal", p.ButtonFaceColor(vxbsNormal), vdOffice11FaceColor},
      // Classic look: a pressed glyph is the highlight text.
      {"ButtonGlyphColor pressed", p.ButtonGlyphColor(vxbsPressed, clRed), clHighlightText},
      {"ButtonGlyphColor disabled", p.ButtonGlyphColor(vxbsDisabled, clRed), vdOffice11DisabledGlyphColor},
      {"ButtonGlyphColor normal", p.ButtonGlyphColor(vxbsNormal, clRed), vdOffice11GlyphColor},
      {"ExpandButtonPaintedFirst", p.ExpandButtonPaintedFirst(), false},
      {"ExpandButtonExtent", p.ExpandButtonExtent(), 11},
      {"SmallExpandButtonExtent", p.SmallExpandButtonExtent(), 11},
      {"CheckBoxFaceColor hot", p.CheckBoxFaceColor(vxbsHot), vdOffice11HotColor1},
      {"CheckBoxFaceColor normal", p.CheckBoxFaceColor(vxbsNormal), clWindow},
      {"HeaderOwnBorders", p.HeaderOwnBorders(3), vxAllBorders},
      {"HeaderExtraIndent", p.HeaderExtraIndent(), 1},
      {"FooterSeparatorColor", p.FooterSeparatorColor(), vdOffice11DarkLineColor},
      {"SplitterGripHighlightColor", p.SplitterGripHighlightColor(false), vdOffice11LightLineColor},
      {"SplitterGripShadowColor highlighted", p.SplitterGripShadowColor(true), vdOffice11SelectionFrameColor},
      {"SplitterGripShadowColor", p.SplitterGripShadowColor(false), vdOffice11DarkLineColor},
      {"SplitterExtent horizontal", Pair(p.SplitterExtent(true)), Pair(TSize{17, 2})},
      {"SplitterExtent vertical", Pair(p.SplitterExtent(false)), Pair(TSize{2, 17})},
      {"ButtonFrameColor normal", p.ButtonFrameColor(vxbsNormal), vdOffice11DarkLineColor},
      {"ButtonFrameColor pressed", p.ButtonFrameColor(vxbsPressed), vdOffice11SelectionFrameColor},
      {"HotButtonFrameColor", p.HotButtonFrameColor(), vdOffice11DarkLineColor},
      {"PlainButtonFrameColor", p.PlainButtonFrameColor(), clBtnText},
      {"HighlightFrameColor", p.HighlightFrameColor(), vdOffice11SelectionFrameColor},
      {"BackgroundGradientEndColor", p.BackgroundGradientEndColor(), vdOffice11GradientEndColor},
      {"DarkEdgeColor", p.DarkEdgeColor(), vdOffice11DarkLineColor},
      {"LightEdgeColor", p.LightEdgeColor(), vdOffice11LightLineColor},
      {"BackgroundGradientMiddleColor", p.BackgroundGradientMiddleColor(), middle},
  });
}

// --- Ultra-flat drawing ---------------------------------------------------------------

TEST_F(Painters, UltraFlatFramesAndFills) {
  const auto& p = UltraFlat();
  {
    // Border: one pixel of button shadow, nothing inside.
    TPainterPicture picture(10, 10, kBackground);
    p.PaintBorder(picture.canvas.get(), {0, 0, 10, 10});
    EXPECT_EQ(picture.At(0, 0), kShadow);
    EXPECT_EQ(picture.At(9, 9), kShadow);
    EXPECT_EQ(picture.At(1, 1), kBackground);
  }
  {
    // Hot push button: a highlight frame round the hot selection colour.
    TPainterPicture picture(30, 20, kBackground);
    p.PaintPushButton(picture.canvas.get(), {0, 0, 30, 20}, "", vxbsHot, true, clDefault, clDefault, false);
    EXPECT_EQ(picture.At(0, 0), kSelection);
    EXPECT_EQ(picture.At(1, 1), RGBOf(vxHotFlatButtonColor()));
    // A default button has a double window-frame edge.
    p.PaintPushButton(picture.canvas.get(), {0, 0, 30, 20}, "", vxbsDefault, true, clDefault, clDefault, false);
    EXPECT_EQ(picture.At(1, 1), kWindowFrame);
    EXPECT_EQ(picture.At(2, 2), kFace);
  }
  {
    // A pressed middle button of a group: highlight lines at both sides.
    TPainterPicture picture(20, 10, kBackground);
    p.PaintPlainButton(picture.canvas.get(), {0, 0, 20, 10}, vxbsPressed, 3, 1, clRed);
    EXPECT_EQ(picture.At(0, 5), kSelection);
    EXPECT_EQ(picture.At(19, 5), kSelection);
    EXPECT_EQ(picture.At(1, 5), RGBOf(vxPressedFlatButtonColor()));
    EXPECT_EQ(picture.At(5, 0), kBackground);
    // Normal: a frame in the given colour.
    p.PaintPlainButton(picture.canvas.get(), {0, 0, 20, 10}, vxbsNormal, 3, 0, clRed);
    EXPECT_EQ(picture.At(1, 1), RGB(255, 0, 0));
  }
  {
    // Check box: text-coloured frame, then the face colour ring.
    TPainterPicture picture(13, 13, kBackground);
    p.PaintCheckBox(picture.canvas.get(), {0, 0, 13, 13}, vxbsNormal, cbsUnchecked);
    EXPECT_EQ(picture.At(0, 0), kBtnText);
    EXPECT_EQ(picture.At(1, 1), kWindow);
  }
  {
    // Expand button: shadow frame, face, cross; then the box leaves the clip.
    TPainterPicture picture(11, 11, kBackground);
    p.PaintExpandButton(picture.canvas.get(), {0, 0, 11, 11}, false, clDefault);
    EXPECT_EQ(picture.At(0, 0), kShadow);
    EXPECT_EQ(picture.At(1, 1), kFace);
    EXPECT_EQ(picture.At(5, 5), kBtnText);
    picture.canvas->FillAreaWithColor({0, 0, 11, 11}, clRed);
    EXPECT_EQ(picture.At(1, 1), kFace);
  }
}

TEST_F(Painters, UltraFlatHeadersFootersAndFilters) {
  const auto& p = UltraFlat();
  {
    // Header frame without left or top border: only right and bottom lines.
    TPainterPicture picture(20, 10, kBackground);
    p.PaintHeaderFrame(picture.canvas.get(), {0, 0, 20, 10}, 0, 0);
    EXPECT_EQ(picture.At(0, 0), kBackground);
    EXPECT_EQ(picture.At(19, 0), kBtnText);
    EXPECT_EQ(picture.At(0, 9), kBtnText);
    p.PaintHeaderFrame(picture.canvas.get(), {0, 0, 20, 10}, 0, vxAllBorders);
    EXPECT_EQ(picture.At(0, 5), kBtnText);
  }
  {
    // Footer panel: the given sides in the separator colour.
    TPainterPicture picture(20, 10, kBackground);
    p.PaintFooterFrame(picture.canvas.get(), {0, 0, 20, 10});
    EXPECT_EQ(picture.At(19, 3), kShadow);
    EXPECT_EQ(picture.At(3, 9), kShadow);
    EXPECT_EQ(picture.At(0, 3), kBackground);
  }
  {
    // Header sections: a black ring (shadow when disabled); hot, pressed
    // and disabled contents take the button face, others the given colour.
    TPainterPicture picture(40, 20, kBackground);
    p.PaintHeaderSectionFrame(picture.canvas.get(), {0, 0, 40, 20}, vxAllBorders, vxbsNormal);
    EXPECT_EQ(picture.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(picture.At(39, 19), RGB(0, 0, 0));
    p.PaintHeaderSectionFrame(picture.canvas.get(), {0, 0, 40, 20}, vxAllBorders, vxbsDisabled);
    EXPECT_EQ(picture.At(0, 0), kShadow);
    const TRect inner(1, 1, 39, 19);
    p.PaintHeaderSectionContent(picture.canvas.get(), inner, inner, vxbsPressed, taLeftJustify, tlTop, false, false,
                                "", nullptr, clBtnText, clRed);
    EXPECT_EQ(picture.At(5, 5), RGBOf(vxPressedFlatButtonColor()));
    p.PaintHeaderSectionContent(picture.canvas.get(), inner, inner, vxbsNormal, taLeftJustify, tlTop, false, false,
                                "", nullptr, clBtnText, clRed);
    EXPECT_EQ(picture.At(5, 5), RGB(255, 0, 0));
  }
  {
    // Filter drop-down: frame of the state, face, a blue arrow when active.
    TPainterPicture picture(15, 15, kBackground);
    p.PaintFilterDropDownButton(picture.canvas.get(), {0, 0, 15, 15}, vxbsHot, true);
    EXPECT_EQ(picture.At(0, 0), kSelection);
    EXPECT_EQ(picture.At(1, 1), RGBOf(vxHotFlatButtonColor()));
    EXPECT_GT(picture.Count(RGB(0, 0, 255)), 3);
  }
  {
    // Tab edges: the right one dark and a pixel short, the others in the
    // hot frame colour.
    TPainterPicture picture(10, 10, kBackground);
    p.PaintTabEdge(picture.canvas.get(), {9, 0, 10, 10}, bRight, vxAllBorders, false);
    p.PaintTabEdge(picture.canvas.get(), {0, 0, 1, 10}, bLeft, vxAllBorders, false);
    EXPECT_EQ(picture.At(9, 8), kBtnText);
    EXPECT_EQ(picture.At(9, 9), kBackground);
    EXPECT_EQ(picture.At(0, 9), kShadow);
  }
}

TEST_F(Painters, UltraFlatScrollBarsTrackBarsAndSplitters) {
  const auto& p = UltraFlat();
  {
    // A scroll arrow is a flat push button with the arrow over the whole part.
    TPainterPicture picture(17, 17, kBackground);
    p.PaintScrollBarElement(picture.canvas.get(), false, {0, 0, 17, 17}, sbpLineUp, vxbsNormal);
    EXPECT_EQ(picture.At(0, 0), kBtnText);
    EXPECT_EQ(picture.At(1, 1), kFace);
    EXPECT_EQ(picture.At(8, 7), kBtnText);
    // A disabled thumb is not drawn.
    TPainterPicture thumb(17, 17, kBackground);
    p.PaintScrollBarElement(thumb.canvas.get(), false, {0, 0, 17, 17}, sbpThumbnail, vxbsDisabled);
    EXPECT_EQ(thumb.Count(kBackground), 17 * 17);
  }
  {
    // Track-bar borders in the window text colour.
    TPainterPicture picture(20, 8, kBackground);
    p.PaintTrackBarTrack(picture.canvas.get(), {0, 0, 20, 8}, {}, false, true, true, clWindow);
    EXPECT_EQ(picture.At(0, 0), kWindowText);
    EXPECT_EQ(picture.At(1, 1), kWindow);
  }
  {
    // The splitter is one pixel thick: the grip has no highlight pass.
    TPainterPicture picture(40, 5, kBackground);
    p.PaintSplitter(picture.canvas.get(), {0, 0, 40, 5}, false, false, true);
    EXPECT_EQ(picture.At(2, 2), kShadow);
    EXPECT_EQ(picture.Count(RGB(255, 255, 255)), 0);
    EXPECT_EQ(picture.Count(kBackground) + picture.Count(kShadow), 40 * 5);
  }
  {
    // Group box frame: highlighted in the selection colour.
    TPainterPicture picture(20, 20, kBackground);
    p.PaintGroupBoxFrame(picture.canvas.get(), {0, 0, 20, 20}, 1, 0, vxAllBorders);
    EXPECT_EQ(picture.At(0, 10), kSelection);
  }
  {
    // Print preview: the shadow a third of the way to white.
    TPainterPicture picture(4, 4, kBackground);
    p.PaintPrintPreviewBackground(picture.canvas.get(), {0, 0, 4, 4});
    EXPECT_EQ(picture.At(2, 2), RGB(170, 170, 170));
  }
  {
    // Scheduler navigation: the next button is framed on the left, top and
    // bottom; its right side stays open.
    TPainterPicture picture(20, 30, kBackground);
    p.PaintSchedulerNavigationButton(picture.canvas.get(), {0, 0, 20, 30}, {6, 10, 13, 17}, true, vxbsHot);
    EXPECT_EQ(picture.At(0, 15), kShadow);
    EXPECT_EQ(picture.At(19, 15), kFace);
    EXPECT_EQ(picture.At(10, 0), kShadow);
    EXPECT_GT(picture.Count(kBtnText), 5);
  }
}

// --- Office 2003 drawing --------------------------------------------------------------

TEST_F(BluePainters, Office11HeaderContentAndFrame) {
  const auto& p = Office11();
  const TColor middle = p.BackgroundGradientMiddleColor(), end = p.BackgroundGradientEndColor();
  {
    // Normal: the middle colour above a gradient to the end colour.
    TPainterPicture picture(30, 20, kBackground);
    p.PaintContent(picture.canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, vxbsNormal, taLeftJustify, tlTop, false,
                   false, "", nullptr, clBtnText, clRed, nullptr, false);
    EXPECT_EQ(picture.At(5, 5), RGBOf(middle));
    EXPECT_EQ(picture.At(5, 15), RGBOf(middle));
    EXPECT_TRUE(Near(picture.At(5, 19), RGBOf(end), 16));
    // Hot: the begin colour with a 3-pixel hot line over the bottom edge.
    p.PaintContent(picture.canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, vxbsHot, taLeftJustify, tlTop, false,
                   false, "", nullptr, clBtnText, clRed, nullptr, false);
    EXPECT_EQ(picture.At(5, 5), RGBOf(vdOffice11GradientBeginColor));
    EXPECT_TRUE(Near(picture.At(5, 18), RGBOf(vdOffice11HotColor1), 24));
    EXPECT_EQ(picture.At(5, 17), RGBOf(vdOffice11GradientBeginColor));
    // A painted background is left alone; plain fills with one colour.
    p.PaintContent(picture.canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, vxbsNormal, taLeftJustify, tlTop, false,
                   false, "", nullptr, clBtnText, clRed, [](TvxCanvas*, const TRect&) { return true; }, false);
    EXPECT_EQ(picture.At(5, 5), RGBOf(vdOffice11GradientBeginColor));
    p.PaintContent(picture.canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, vxbsNormal, taLeftJustify, tlTop, false,
                   false, "", nullptr, clBtnText, clRed, nullptr, true);
    EXPECT_EQ(picture.At(5, 19), RGBOf(middle));
  }
  {
    // Frame without neighbours: light left line, dark right line with
    // mixed ends, middle top row, dark bottom row.
    TPainterPicture picture(30, 20, kBackground);
    p.PaintHeaderFrame(picture.canvas.get(), {0, 0, 30, 20}, 0, vxAllBorders);
    EXPECT_EQ(picture.At(5, 0), RGBOf(middle));
    EXPECT_EQ(picture.At(5, 19), RGBOf(vdOffice11DarkLineColor));
    EXPECT_EQ(picture.At(0, 5), RGBOf(vdOffice11LightLineColor));
    EXPECT_EQ(picture.At(0, 18), RGBOf(end));
    EXPECT_EQ(picture.At(29, 0), RGBOf(vdMixColors(middle, vdOffice11DarkLineColor, 50)));
    EXPECT_EQ(picture.At(29, 5), RGBOf(vdOffice11DarkLineColor));
    EXPECT_EQ(picture.At(29, 18), RGBOf(vdMixColors(end, vdOffice11DarkLineColor, 50)));
    // With neighbours on both sides the side lines start a row lower.
    TPainterPicture joined(30, 20, kBackground);
    p.PaintHeaderFrame(joined.canvas.get(), {0, 0, 30, 20}, vxAllBorders, vxBorder(bLeft) | vxBorder(bRight));
    EXPECT_EQ(joined.At(0, 0), kBackground);
    EXPECT_EQ(joined.At(0, 1), RGBOf(middle));
    EXPECT_EQ(joined.At(29, 17), RGBOf(vdMixColors(middle, end, 25)));
    EXPECT_EQ(joined.At(29, 18), RGBOf(end));
  }
}

TEST_F(BluePainters, Office11ButtonsSeparatorsAndExpandBoxes) {
  const auto& p = Office11();
  {
    TPainterPicture picture(30, 20, kBackground);
    p.PaintPushButton(picture.canvas.get(), {0, 0, 30, 20}, "", vxbsHot, true, clDefault, clDefault, false);
    EXPECT_EQ(picture.At(0, 0), RGBOf(vdOffice11SelectionFrameColor));
    EXPECT_EQ(picture.At(1, 1), RGBOf(vdOffice11HotColor1));
    p.PaintPushButton(picture.canvas.get(), {0, 0, 30, 20}, "", vxbsDisabled, true, clDefault, clDefault, false);
    EXPECT_EQ(picture.At(0, 0), RGBOf(vdOffice11DisabledGlyphColor));
    EXPECT_EQ(picture.At(1, 1), kFace);
    p.PaintPushButton(picture.canvas.get(), {0, 0, 30, 20}, "", vxbsNormal, true, clDefault, clDefault, false);
    EXPECT_EQ(picture.At(0, 0), kBtnText);
    EXPECT_EQ(picture.At(1, 1), RGBOf(vdOffice11FaceColor));
  }
  // Themed, a pressed glyph stays the scheme's glyph colour.
  EXPECT_EQ(p.ButtonGlyphColor(vxbsPressed, clRed), vdOffice11GlyphColor);
  {
    TPainterPicture picture(20, 20, kBackground);
    p.PaintBorder(picture.canvas.get(), {0, 0, 20, 20});
    EXPECT_EQ(picture.At(0, 10), RGBOf(vdOffice11BorderColor));
  }
  {
    // Separator: a dark line and a light one below it.
    TPainterPicture picture(20, 10, kBackground);
    p.PaintSeparator(picture.canvas.get(), {0, 0, 20, 10}, false);
    EXPECT_EQ(picture.At(5, 4), RGBOf(vdOffice11DarkLineColor));
    EXPECT_EQ(picture.At(5, 5), RGBOf(vdOffice11LightLineColor));
    EXPECT_EQ(picture.At(5, 3), kBackground);
  }
  {
    // Expand box: the bitmap with its corners mixed into what lies below.
    TPainterPicture picture(11, 11, kBackground);
    p.PaintSmallExpandButton(picture.canvas.get(), {0, 0, 11, 11}, false, clDefault, clDefault);
    EXPECT_EQ(picture.At(0, 0), RGBOf(vdMixColors(vdOffice11ExpandBoxLightCorner, TColor(kBackground), 25)));
    EXPECT_EQ(picture.At(10, 10), RGBOf(vdMixColors(vdOffice11ExpandBoxDarkCorner, TColor(kBackground), 25)));
    EXPECT_EQ(picture.At(5, 3), RGB(0, 0, 0));  // the plus's stem
    p.PaintExpandButton(picture.canvas.get(), {0, 0, 11, 11}, true, clDefault);
    EXPECT_NE(picture.At(5, 3), RGB(0, 0, 0));  // a minus has none
    EXPECT_EQ(picture.At(5, 5), RGB(0, 0, 0));
  }
}

TEST_F(Painters, Office11GripsAndBorrowedLooks) {
  const auto& p = Office11();
  {
    TPainterPicture picture(16, 16, kBackground);
    p.PaintSizeGrip(picture.canvas.get(), {0, 0, 16, 16});
    EXPECT_EQ(picture.At(12, 13), RGBOf(vdOffice11GripDarkColor));
    EXPECT_EQ(picture.At(14, 15), RGBOf(vdOffice11GripLightColor));
    EXPECT_EQ(picture.At(0, 0), kBackground);
  }
  {
    // Unthemed, the scroll bar is the standard painter's.
    TPainterPicture office(17, 17, kBackground), standard(17, 17, kBackground);
    p.PaintScrollBarElement(office.canvas.get(), true, {0, 0, 17, 17}, sbpLineDown, vxbsPressed);
    TvxStandardLookAndFeelPainter::Painter().PaintScrollBarElement(standard.canvas.get(), true, {0, 0, 17, 17},
                                                                  sbpLineDown, vxbsPressed);
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 17; ++x) ASSERT_EQ(office.At(x, y), standard.At(x, y)) << x << "," << y;
  }
}

TEST_F(BluePainters, Office11AreasInTheSchemeColours) {
  const auto& p = Office11();
  {
    // Layout-control background: a vertical gradient of the two scheme colours.
    TPainterPicture picture(10, 100, kBackground);
    p.PaintLayoutControlBackground(picture.canvas.get(), {0, 0, 10, 100});
    EXPECT_NEAR(GetRValue(picture.At(5, 0)), GetRValue(RGBOf(vdOffice11GradientBeginColor)), 2);
    EXPECT_NEAR(GetRValue(picture.At(5, 99)), GetRValue(RGBOf(vdOffice11GradientEndColor)), 2);
    // Group-box background: one colour, or a gradient between two.
    p.PaintGroupBoxBackground(picture.canvas.get(), nullptr, {0, 0, 10, 100}, clRed, clDefault);
    EXPECT_EQ(picture.At(5, 99), RGB(255, 0, 0));
    p.PaintGroupBoxBackground(picture.canvas.get(), nullptr, {0, 0, 10, 100}, clRed, clBlue);
    EXPECT_GT(GetBValue(picture.At(5, 99)), 240);
  }
  {
    // The wide splitter gets its highlight pass back, in the light line colour.
    TPainterPicture picture(40, 6, kBackground);
    p.PaintSplitter(picture.canvas.get(), {0, 0, 40, 6}, false, false, true);
    EXPECT_EQ(picture.At(2, 2), RGBOf(vdOffice11DarkLineColor));
    EXPECT_EQ(picture.At(3, 3), RGBOf(vdOffice11LightLineColor));
  }
  {
    // Scheduler day caption: the inside in the parameters' colour, the
    // outer ring left alone.
    TPainterPicture picture(40, 20, kBackground);
    TvxViewParams params;
    params.Color = clYellow;
    p.PaintSchedulerDayCaption(picture.canvas.get(), {0, 0, 40, 20}, "", 0, params, 0, 7, nullptr);
    EXPECT_EQ(picture.At(0, 0), kBackground);
    EXPECT_EQ(picture.At(1, 1), RGB(255, 255, 0));
    // Scheduler outline: a frame in the scheme's scheduler frame colour.
    p.PaintSchedulerOutline(picture.canvas.get(), {0, 0, 40, 20});
    EXPECT_EQ(picture.At(0, 0), RGBOf(vdOffice11SchedulerFrameColor));
  }
}

// Every painter's grid takes the Office 2003 group-row colours from the
// current scheme, not from the system colours.
TEST_F(BluePainters, GroupRowColoursComeFromTheSchemeForEveryPainter) {
  const TvxCustomLookAndFeelPainter* painters[] = {&TvxCustomLookAndFeelPainter::Painter(),
                                                   &TvxStandardLookAndFeelPainter::Painter(), &UltraFlat(),
                                                   &Office11()};
  ASSERT_NE(RGBOf(vdOffice11GroupRowContentColor), kFace);
  for (const auto* p : painters) {
    SCOPED_TRACE(p->StyleId());
    EXPECT_EQ(p->Office11GroupRowContentColor(false), TColor(vdOffice11GroupRowContentColor));
    EXPECT_EQ(p->Office11GroupRowContentColor(true), clWindow);
    EXPECT_EQ(p->Office11GroupRowSeparatorColor(), TColor(vdOffice11GroupRowSeparatorColor));
    EXPECT_EQ(p->Office11GroupRowTextColor(), TColor(vdOffice11GroupRowTextColor));
  }
}

TEST_F(BluePainters, Office11SectionsRecordsAndNavigation) {
  const auto& p = Office11();
  const COLORREF middle = RGBOf(p.BackgroundGradientMiddleColor());
  {
    // A pressed section is the header look, inverted.
    TPainterPicture picture(40, 20, kBackground);
    p.PaintHeaderSection(picture.canvas.get(), {0, 0, 40, 20}, {2, 2, 38, 18}, 0, vxAllBorders, vxbsNormal,
                         taLeftJustify, tlTop, false, false, "", nullptr, clBtnText, clRed);
    EXPECT_EQ(picture.At(5, 5), middle);
    p.PaintHeaderSection(picture.canvas.get(), {0, 0, 40, 20}, {2, 2, 38, 18}, 0, vxAllBorders, vxbsPressed,
                         taLeftJustify, tlTop, false, false, "", nullptr, clBtnText, clRed);
    EXPECT_EQ(picture.At(5, 5), RGB(255 - GetRValue(middle), 255 - GetGValue(middle), 255 - GetBValue(middle)));
  }
  {
    // A record caption: edges on all sides, then the header content, plain
    // only when the caption stands on side 0.
    TPainterPicture picture(40, 20, kBackground);
    p.PaintLayoutViewRecordCaption(picture.canvas.get(), {0, 0, 40, 20}, 0, 1);
    EXPECT_EQ(picture.At(0, 5), kShadow);
    EXPECT_EQ(picture.At(5, 18), middle);
    TPainterPicture graded(40, 20, kBackground);
    p.PaintLayoutViewRecordCaption(graded.canvas.get(), {0, 0, 40, 20}, 1, 1);
    EXPECT_NE(graded.At(5, 18), middle);
  }
  {
    // Scheduler navigation: the hot colour inside the scheme's frame.
    TPainterPicture picture(20, 30, kBackground);
    p.PaintSchedulerNavigationButton(picture.canvas.get(), {0, 0, 20, 30}, {6, 10, 13, 17}, true, vxbsHot);
    EXPECT_EQ(picture.At(0, 15), RGBOf(vdOffice11SchedulerFrameColor));
    EXPECT_EQ(picture.At(19, 15), RGBOf(vdOffice11HotColor1));
    EXPECT_GT(picture.Count(RGBOf(vdOffice11GlyphColor)), 5);
  }
  {
    // Track bars frame in the button text colour.
    TPainterPicture picture(20, 8, kBackground);
    p.PaintTrackBarTrack(picture.canvas.get(), {0, 0, 20, 8}, {}, false, true, true, clWindow);
    EXPECT_EQ(picture.At(0, 0), kBtnText);
  }
}

// --- The class-reference rule -----------------------------------------------------------

// Changes one elementary colour; the composite operations follow.
class TTealHighlightPainter : public TvxUltraFlatLookAndFeelPainter {
 public:
  static const TTealHighlightPainter& Painter() {
    static const TTealHighlightPainter painter;
    return painter;
  }
  TColor HighlightFrameColor() const override { return clTeal; }
};

class TRedEdgeOffice11Painter : public TvxOffice11LookAndFeelPainter {
 public:
  static const TRedEdgeOffice11Painter& Painter() {
    static const TRedEdgeOffice11Painter painter;
    return painter;
  }
  TColor DarkEdgeColor() const override { return clRed; }
};

TEST_F(Painters, OneOverriddenStepChangesTheCompositeOperations) {
  TPainterPicture picture(20, 10, kBackground);
  TTealHighlightPainter::Painter().PaintPlainButton(picture.canvas.get(), {0, 0, 20, 10}, vxbsHot, 3, 1, clRed);
  EXPECT_EQ(picture.At(0, 5), RGB(0, 128, 128));
  TTealHighlightPainter::Painter().PaintFlatButtonFrame(picture.canvas.get(), {0, 0, 20, 10}, false, true);
  EXPECT_EQ(picture.At(10, 0), RGB(0, 128, 128));

  const auto& red = TRedEdgeOffice11Painter::Painter();
  EXPECT_EQ(red.FooterSeparatorColor(), clRed);
  EXPECT_EQ(red.ButtonFrameColor(vxbsNormal), clRed);
  TPainterPicture header(30, 20, kBackground);
  red.PaintHeaderFrame(header.canvas.get(), {0, 0, 30, 20}, 0, vxAllBorders);
  EXPECT_EQ(header.At(5, 19), RGB(255, 0, 0));
  EXPECT_EQ(header.At(29, 5), RGB(255, 0, 0));
}

}  // namespace
