// The painters over real GDI: the constant answers of the base, standard
// and flat painters, the elements the base draws itself, the standard and
// flat overrides, and the class-reference rule (a descendant that changes
// one step changes every operation built on it). Drawing goes into 32-bit
// bitmaps read back pixel by pixel, with the system colours pinned.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "foundation/vxLookAndFeelPainters.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kHighlight = RGB(255, 255, 254);
constexpr COLORREF kDkShadow = RGB(64, 64, 64), kLight = RGB(224, 224, 224), kText = RGB(1, 2, 3);
constexpr COLORREF kSelection = RGB(10, 36, 106);
constexpr COLORREF kWindow = RGB(250, 250, 250), kGrayText = RGB(150, 150, 150), kWhite = RGB(255, 255, 255);

class PinnedColors {
 public:
  PinnedColors()
      : pins_({{COLOR_BTNFACE, kFace},
               {COLOR_BTNSHADOW, kShadow},
               {COLOR_BTNHIGHLIGHT, kHighlight},
               {COLOR_3DDKSHADOW, kDkShadow},
               {COLOR_3DLIGHT, kLight},
               {COLOR_BTNTEXT, kText},
               {COLOR_WINDOW, kWindow},
               {COLOR_GRAYTEXT, kGrayText},
               {COLOR_HIGHLIGHT, kSelection}}) {}

 private:
  TPinnedSystemColors pins_;
};

using Sheet = TPainterPicture;

const TvxCustomLookAndFeelPainter& Base() { return TvxCustomLookAndFeelPainter::Painter(); }
const TvxCustomLookAndFeelPainter& Standard() { return TvxStandardLookAndFeelPainter::Painter(); }
const TvxCustomLookAndFeelPainter& Flat() { return TvxFlatLookAndFeelPainter::Painter(); }

std::string Show(int v) { return std::to_string(v); }
std::string Show(bool v) { return v ? "true" : "false"; }
std::string Show(TPoint p) { return Show(int(p.X)) + "," + Show(int(p.Y)); }
std::string Show(TSize s) { return Show(int(s.cx)) + "," + Show(int(s.cy)); }
std::string Show(TRect r) {
  return Show(int(r.Left)) + "," + Show(int(r.Top)) + "," + Show(int(r.Right)) + "," + Show(int(r.Bottom));
}
std::string ShowColor(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", unsigned(c));
  return text;
}

// --- Constant answers ------------------------------------------------------------------

struct ConstantRow {
  const char* name;
  std::function<std::string(const TvxCustomLookAndFeelPainter&)> answer;
  std::string base, standard, flat;
};

#define VALUE(expr) [](const TvxCustomLookAndFeelPainter& p) { return Show(p.expr); }
#define COLOR(expr) [](const TvxCustomLookAndFeelPainter& p) { return ShowColor(p.expr); }

const std::string clBtnFaceS = ShowColor(clBtnFace), clBtnShadowS = ShowColor(clBtnShadow),
                  clBtnTextS = ShowColor(clBtnText), clWindowS = ShowColor(clWindow),
                  clWindowTextS = ShowColor(clWindowText), clHighlightS = ShowColor(clHighlight),
                  clHighlightTextS = ShowColor(clHighlightText), clDefaultS = ShowColor(clDefault),
                  clBtnHighlightS = ShowColor(clBtnHighlight), clGrayTextS = ShowColor(clGrayText),
                  cl3DDkShadowS = ShowColor(cl3DDkShadow);

const std::vector<ConstantRow>& ConstantRows() {
  static const std::vector<ConstantRow> rows = {
      {"9 StyleId", VALUE(StyleId()), "1", "1", "0"},
      {"10 RedrawsOnResize", VALUE(RedrawsOnResize()), "false", "false", "false"},
      {"11 ContentColor", COLOR(ContentColor()), clWindowS, clWindowS, clWindowS},
      {"12 ContentEvenColor", COLOR(ContentEvenColor()), clWindowS, clWindowS, clWindowS},
      {"14 ContentTextColor", COLOR(ContentTextColor()), clWindowTextS, clWindowTextS, clWindowTextS},
      {"15 EditorBackgroundColorForState", COLOR(EditorBackgroundColorForState(true)), clDefaultS, clDefaultS,
       clDefaultS},
      {"19 FilterPanelColor", COLOR(FilterPanelColor()), clBtnShadowS, clBtnShadowS, clBtnShadowS},
      {"20 FilterPanelTextColor", COLOR(FilterPanelTextColor()), clBtnHighlightS, clBtnHighlightS,
       clBtnHighlightS},
      {"21 GridFixedLineColor", COLOR(GridFixedLineColor()), clBtnTextS, clBtnTextS, clBtnTextS},
      {"26 GroupByPanelColor", COLOR(GroupByPanelColor()), clBtnShadowS, clBtnShadowS, clBtnShadowS},
      {"27 GroupByPanelTextColor", COLOR(GroupByPanelTextColor()), clBtnFaceS, clBtnFaceS, clBtnFaceS},
      {"30 HeaderBackgroundColor", COLOR(HeaderBackgroundColor()), clBtnShadowS, clBtnShadowS, clBtnShadowS},
      {"34 HyperLinkTextColor", COLOR(HyperLinkTextColor()), "00FF0000", "00FF0000", "00FF0000"},
      {"37 AlternateLinkTextColor", COLOR(AlternateLinkTextColor()), "00FF0000", "00FF0000", "00FF0000"},
      {"38 VerticalGridFixedLineColor", COLOR(VerticalGridFixedLineColor()), clBtnShadowS, clBtnShadowS,
       clBtnShadowS},
      {"40 VerticalGridBandBorderColor", COLOR(VerticalGridBandBorderColor()), "00000000", "00000000",
       "00000000"},
      {"42 VerticalGridCategoryTextColor", COLOR(VerticalGridCategoryTextColor()), clDefaultS, clDefaultS,
       clDefaultS},
      {"46 CalendarContentColor", COLOR(CalendarContentColor()), clWindowS, clWindowS, clWindowS},
      {"48 CalendarHeaderTextColor", COLOR(CalendarHeaderTextColor(false)), clBtnTextS, clBtnTextS, clBtnTextS},
      {"49 CalendarHolidayTextColor", COLOR(CalendarHolidayTextColor()), "000000FF", "000000FF", "000000FF"},
      {"50 CalendarInactiveDayTextColor", COLOR(CalendarInactiveDayTextColor()), clGrayTextS, clGrayTextS,
       clGrayTextS},
      {"56 CalendarTodayFrameColor", COLOR(CalendarTodayFrameColor()), "00000080", "00000080", "00000080"},
      {"57 CalendarTodayTextColor", COLOR(CalendarTodayTextColor()), "00800000", "00800000", "00800000"},
      {"60 SchedulerFrameColor", COLOR(SchedulerFrameColor()), "009D9DA1", "009D9DA1", "009D9DA1"},
      {"65 SchedulerAccentColor", COLOR(SchedulerAccentColor()), "00D5FFFF", clWindowS, "00D5FFFF"},
      {"66 SelectedAppointmentTextColor", COLOR(SelectedAppointmentTextColor()), clHighlightTextS,
       clHighlightTextS, clHighlightTextS},
      {"68 SelectionColor", COLOR(SelectionColor()), clHighlightS, clHighlightS, clHighlightS},
      {"75 WhiteToneColor", COLOR(WhiteToneColor()), "00FFFFFF", "00FFFFFF", "00FFFFFF"},
      {"83 SilverToneColor", COLOR(SilverToneColor()), "00CFCFCF", "00CFCFCF", "00CFCFCF"},
      {"86 SkyToneColor", COLOR(SkyToneColor()), "00F0CAA6", "00F0CAA6", "00F0CAA6"},
      {"87 NavyToneColor", COLOR(NavyToneColor()), "00800000", "00800000", "00800000"},
      {"94 BorderWidth", VALUE(BorderWidth()), "0", "2", "1"},
      {"98 ButtonBorderWidth default", VALUE(ButtonBorderWidth(vxbsDefault)), "0", "3", "2"},
      {"98 ButtonBorderWidth normal", VALUE(ButtonBorderWidth(vxbsNormal)), "0", "2", "1"},
      {"98 ButtonBorderWidth pressed", VALUE(ButtonBorderWidth(vxbsPressed)), "0", "2", "1"},
      {"99 ButtonFaceColor", COLOR(ButtonFaceColor(vxbsHot)), clBtnFaceS, clBtnFaceS, clBtnFaceS},
      {"101 ButtonGroupBorderWidths", VALUE(ButtonGroupBorderWidths(3, 1)), "0,0,0,0", "2,2,2,2", "1,1,1,1"},
      {"102 ButtonTextIndent", VALUE(ButtonTextIndent()), "0", "1", "1"},
      {"103 ButtonPressedTextShift", VALUE(ButtonPressedTextShift()), "0", "1", "1"},
      {"104 ButtonGlyphColor disabled", COLOR(ButtonGlyphColor(vxbsDisabled, clRed)), clBtnShadowS, clBtnShadowS,
       clBtnShadowS},
      {"104 ButtonGlyphColor default", COLOR(ButtonGlyphColor(vxbsNormal, clDefault)), clBtnTextS, clBtnTextS,
       clBtnTextS},
      {"104 ButtonGlyphColor given", COLOR(ButtonGlyphColor(vxbsHot, clRed)), "000000FF", "000000FF", "000000FF"},
      {"112 ExpandButtonPaintedFirst", VALUE(ExpandButtonPaintedFirst()), "true", "true", "true"},
      {"115 ExpandButtonExtent", VALUE(ExpandButtonExtent()), "0", "12", "11"},
      {"116 GroupToggleButtonExtent", VALUE(GroupToggleButtonExtent()), "15", "15", "15"},
      {"117 CanHotTrackButtons", VALUE(CanHotTrackButtons()), "false", "false", "false"},
      {"119 SmallExpandButtonExtent", VALUE(SmallExpandButtonExtent()), "9", "9", "9"},
      {"120 CheckBoxFrameWidth", VALUE(CheckBoxFrameWidth()), "2", "2", "2"},
      {"121 CheckBoxFaceColor hot", COLOR(CheckBoxFaceColor(vxbsHot)), clWindowS, clWindowS, clWindowS},
      {"121 CheckBoxFaceColor pressed", COLOR(CheckBoxFaceColor(vxbsPressed)), clBtnFaceS, clBtnFaceS, clBtnFaceS},
      {"121 CheckBoxFaceColor disabled", COLOR(CheckBoxFaceColor(vxbsDisabled)), clBtnFaceS, clBtnFaceS,
       clBtnFaceS},
      {"130 LabelLineWidth", VALUE(LabelLineWidth()), "2", "2", "2"},
      {"141 HeaderOwnBorders", VALUE(HeaderOwnBorders(vxBorder(bLeft))), "15", "15", "15"},
      {"142 HeaderBorderWidth", VALUE(HeaderBorderWidth()), "0", "1", "1"},
      {"143 HeaderOuterBounds", VALUE(HeaderOuterBounds({10, 10, 20, 20}, 0, vxAllBorders)), "10,10,20,20",
       "10,10,20,20", "10,10,20,20"},
      {"144 HeaderContentBounds", VALUE(HeaderContentBounds({10, 10, 20, 20}, vxBorder(bLeft) | vxBorder(bBottom))),
       "10,10,20,20", "11,10,20,19", "11,10,20,19"},
      {"145 HeaderIsOpaque", VALUE(HeaderIsOpaque()), "true", "true", "true"},
      {"146 HeaderHeightForText", VALUE(HeaderHeightForText(13)), "17", "19", "19"},
      {"147 HeaderSectionBorderWidth normal", VALUE(HeaderSectionBorderWidth(vxbsNormal)), "1", "2", "1"},
      {"147 HeaderSectionBorderWidth pressed", VALUE(HeaderSectionBorderWidth(vxbsPressed)), "1", "1", "1"},
      {"148 HeaderSectionTextBounds", VALUE(HeaderSectionTextBounds({0, 0, 9, 9}, vxbsPressed)), "1,1,10,10",
       "1,1,10,10", "1,1,10,10"},
      {"152 SortMarkAreaExtent", VALUE(SortMarkAreaExtent()), "16,0", "16,7", "16,7"},
      {"153 SortMarkExtent", VALUE(SortMarkExtent()), "0,0", "8,7", "8,7"},
      {"159 GroupByAreaColor", COLOR(GroupByAreaColor()), clBtnShadowS, clBtnShadowS, clBtnShadowS},
      {"166 LayoutViewPadding", VALUE(LayoutViewPadding(1)), "0,0,0,0", "0,0,0,0", "0,0,0,0"},
      {"168 LayoutViewRecordBorders", VALUE(LayoutViewRecordBorders(2)), "15", "15", "15"},
      {"169 FooterBorderWidth", VALUE(FooterBorderWidth()), "0", "1", "1"},
      {"170 FooterCellBorderWidth", VALUE(FooterCellBorderWidth()), "0", "1", "1"},
      {"171 FooterCellSpacing", VALUE(FooterCellSpacing()), "0", "1", "1"},
      {"174 FooterSeparatorHeight", VALUE(FooterSeparatorHeight()), "1", "1", "1"},
      {"6 FooterCellContentBounds", VALUE(FooterCellContentBounds({0, 0, 20, 10})), "0,0,20,10", "1,1,19,9",
       "1,1,19,9"},
      {"7 FooterCellTextBounds", VALUE(FooterCellTextBounds({0, 0, 20, 10})), "2,2,18,8", "3,3,17,7", "3,3,17,7"},
      {"185 FilterActivateButtonExtent", VALUE(FilterActivateButtonExtent()), "13,13", "13,13", "13,13"},
      {"186 FilterCloseButtonExtent", VALUE(FilterCloseButtonExtent()), "16,14", "16,14", "16,14"},
      {"187 FilterDropDownButtonExtent", VALUE(FilterDropDownButtonExtent()), "15,0", "15,0", "15,0"},
      {"189 PreferredPopupBorderStyle", VALUE(PreferredPopupBorderStyle()), "1", "1", "1"},
      {"195 TabEdgeWidth", VALUE(TabEdgeWidth(false)), "0", "1", "1"},
      {"201 ScrollBarMinThumbLength", VALUE(ScrollBarMinThumbLength(true)), "8", "8", "8"},
      {"207 TabCloseButtonExtent", VALUE(TabCloseButtonExtent()), "14,14", "14,14", "14,14"},
      {"217 SchedulerEventProgressMargins", VALUE(SchedulerEventProgressMargins()), "2,2,2,2", "2,2,2,2",
       "2,2,2,2"},
      {"219 metrics previous", VALUE(SchedulerNavigationButtonMetrics(false).Borders), "0,6,2,6", "0,6,2,6",
       "0,6,2,6"},
      {"219 metrics next", VALUE(SchedulerNavigationButtonMetrics(true).Borders), "2,6,0,6", "2,6,0,6", "2,6,0,6"},
      {"219 arrow size", VALUE(SchedulerNavigationButtonMetrics(true).ArrowSize), "7,7", "7,7", "7,7"},
      {"219 has text", VALUE(SchedulerNavigationButtonMetrics(false).HasText), "true", "true", "true"},
      {"220 SpareEdgeWidth", VALUE(SpareEdgeWidth()), "1", "1", "1"},
      {"224 EditButtonExtent", VALUE(EditButtonExtent()), "0,0", "0,0", "0,0"},
      {"225 EditButtonCaptionColor", COLOR(EditButtonCaptionColor()), clDefaultS, clDefaultS, clDefaultS},
      {"233 ProgressBarFrameWidths", VALUE(ProgressBarFrameWidths(true)), "0,0,0,0", "0,0,0,0", "0,0,0,0"},
      {"234 ProgressBarDefaultTextColor", COLOR(ProgressBarDefaultTextColor()), clWindowTextS, clWindowTextS,
       clWindowTextS},
      {"235 ProgressBarTextColor filled", COLOR(ProgressBarTextColor(true)), clDefaultS, clDefaultS, clDefaultS},
      {"242 GroupBoxCaptionTextColor", COLOR(GroupBoxCaptionTextColor(false, vxgcpTop)), clBtnShadowS,
       clBtnShadowS, clBtnShadowS},
      {"249 GroupPanelTextColor", COLOR(GroupPanelTextColor()), clWindowTextS, clWindowTextS, clWindowTextS},
      {"256 TrackBarThumbExtent", VALUE(TrackBarThumbExtent(true)), "0,0", "0,0", "0,0"},
      {"258 TrackBarTrackThickness", VALUE(TrackBarTrackThickness()), "0", "0", "0"},
      {"259 SplitterGripHighlightColor", COLOR(SplitterGripHighlightColor(true)), "00FFFFFF", "00FFFFFF",
       "00FFFFFF"},
      {"260 SplitterGripShadowColor highlighted", COLOR(SplitterGripShadowColor(true)), clBtnShadowS, clBtnShadowS,
       cl3DDkShadowS},
      {"260 SplitterGripShadowColor", COLOR(SplitterGripShadowColor(false)), clBtnShadowS, clBtnShadowS,
       clBtnShadowS},
      {"262 SplitterExtent horizontal", VALUE(SplitterExtent(true)), "17,2", "17,2", "17,2"},
      {"262 SplitterExtent vertical", VALUE(SplitterExtent(false)), "2,17", "2,17", "2,17"},
      {"263 LayoutControlBackgroundColor", COLOR(LayoutControlBackgroundColor()), clBtnFaceS, clBtnFaceS,
       clBtnFaceS},
      {"265 PrintPreviewPageBorderWidths", VALUE(PrintPreviewPageBorderWidths()), "2,2,4,4", "2,2,4,4", "2,2,4,4"},
      {"268 calculator kind 0", COLOR(CalculatorButtonTextColor(0)), "00000080", "00000080", "00000080"},
      {"268 calculator kind 5", COLOR(CalculatorButtonTextColor(5)), "000000FF", "000000FF", "000000FF"},
      {"268 calculator kind 18", COLOR(CalculatorButtonTextColor(18)), "00FF0000", "00FF0000", "00FF0000"},
      {"268 calculator kind 22", COLOR(CalculatorButtonTextColor(22)), "000000FF", "000000FF", "000000FF"},
      {"268 calculator kind 25", COLOR(CalculatorButtonTextColor(25)), "00800000", "00800000", "00800000"},
      {"268 calculator kind 26", COLOR(CalculatorButtonTextColor(26)), "000000FF", "000000FF", "000000FF"},
      {"268 calculator kind 27", COLOR(CalculatorButtonTextColor(27)), "00FF0000", "00FF0000", "00FF0000"},
      {"269 CalculatorBackgroundColor", COLOR(CalculatorBackgroundColor()), clBtnFaceS, clBtnFaceS, clBtnFaceS},
  };
  return rows;
}

#undef VALUE
#undef COLOR

TEST(PainterConstants, EveryPainterAnswersItsTable) {
  for (const ConstantRow& row : ConstantRows()) {
    EXPECT_EQ(row.answer(Base()), row.base) << row.name << " of the base painter";
    EXPECT_EQ(row.answer(Standard()), row.standard) << row.name << " of the standard painter";
    EXPECT_EQ(row.answer(Flat()), row.flat) << row.name << " of the flat painter";
  }
}

TEST(PainterConstants, BoundsArithmetic) {
  TRect thumb{0, 0, 10, 20};
  Base().CorrectTrackBarThumbBounds(nullptr, thumb, true, vxtsBox);
  EXPECT_EQ(Show(thumb), "0,0,11,21");
  // A rectangle too small for the inset focus keeps its own bounds.
  EXPECT_EQ(Show(Base().ButtonFocusBounds(nullptr, {0, 0, 6, 6})), "0,0,6,6");
  EXPECT_EQ(Show(Base().ButtonFocusBounds(nullptr, {0, 0, 20, 10})), "4,4,16,6");
  EXPECT_EQ(Show(Base().CenteredBand({0, 0, 10, 10}, 2, true)), "4,0,6,10");
  EXPECT_EQ(Show(Base().CenteredBand({0, 0, 10, 10}, 3, false)), "0,4,10,7");
  EXPECT_EQ(TvxCustomLookAndFeelPainter::ScrollBarArrowDirection(false, sbpLineUp), adUp);
  EXPECT_EQ(TvxCustomLookAndFeelPainter::ScrollBarArrowDirection(false, sbpLineDown), adDown);
  EXPECT_EQ(TvxCustomLookAndFeelPainter::ScrollBarArrowDirection(true, sbpLineUp), adLeft);
  EXPECT_EQ(TvxCustomLookAndFeelPainter::ScrollBarArrowDirection(true, sbpLineDown), adRight);
  EXPECT_EQ(vxKindOfPainterStyle(lfsNative), lfStandard);
  EXPECT_EQ(vxKindOfPainterStyle(lfsUltraFlat), lfUltraFlat);
  EXPECT_EQ(vxKindOfPainterStyle(lfsOffice11), lfOffice11);
  EXPECT_EQ(vxKindOfPainterStyle(lfsFlat), lfFlat);
}

TEST(PainterConstants, SchedulerButtonLayoutGrowsSymmetricallyForLongTexts) {
  TRect bounds{0, 0, 20, 100}, text, arrow;
  Base().CalculateSchedulerNavigationButtonLayout(true, false, 10, 20, bounds, text, arrow);
  // Content (2, 6)-(20, 94): the arrow centred in the top band of 21, the
  // text from 21 + 5 below the top to 14 above the bottom.
  EXPECT_EQ(Show(arrow), "7,13,14,20");
  EXPECT_EQ(Show(text), "2,32,20,80");
  TRect longBounds{0, 0, 20, 100};
  Base().CalculateSchedulerNavigationButtonLayout(true, false, 58, 10, longBounds, text, arrow);
  EXPECT_EQ(Show(longBounds), "0,-10,20,110");
  EXPECT_EQ(Show(text), "2,22,20,90");
  EXPECT_EQ(Show(arrow), "7,3,14,10");
  TRect minimal{0, 0, 20, 100};
  Base().CalculateSchedulerNavigationButtonLayout(false, true, 58, 10, minimal, text, arrow);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(Show(minimal), "0,33,20,66");
}

// The border arithmetic counts a border on each side it is on, so that a
// painter with real borders keeps the text's room.
TEST(PainterConstants, HeaderWidthForTextCountsBothBorders) {
  Sheet sheet(10, 10);
  TFont font;
  const int text = Standard().HeaderWidthForText(sheet.Canvas(), 0, "Column", &font);
  EXPECT_EQ(Standard().HeaderWidthForText(sheet.Canvas(), vxBorder(bLeft), "Column", &font), text + 1);
  EXPECT_EQ(Standard().HeaderWidthForText(sheet.Canvas(), vxBorder(bRight), "Column", &font), text + 1);
  EXPECT_EQ(Standard().HeaderWidthForText(sheet.Canvas(), vxBorder(bLeft) | vxBorder(bRight), "Column", &font),
            text + 2);
  // Without borders of its own the base keeps the bare text width plus 4.
  EXPECT_EQ(Base().HeaderWidthForText(sheet.Canvas(), vxAllBorders, "Column", &font), text);
}

// --- What the base draws itself -------------------------------------------------------------

TEST(PainterDrawing, ArrowTriangleUsesTheCentredSquare) {
  TPoint wide[3], square[3];
  TvxCustomLookAndFeelPainter::CalcArrowTriangle({0, 0, 16, 10}, wide, adDown, true);
  TvxCustomLookAndFeelPainter::CalcArrowTriangle({3, 0, 13, 10}, square, adDown, true);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(wide[i], square[i]) << i;
  // Size 3 for a 10-pixel square: 5 wide, 3 high, centred.
  EXPECT_EQ(square[0], TPoint(5, 4));
  EXPECT_EQ(square[1], TPoint(9, 4));
  EXPECT_EQ(square[2], TPoint(7, 6));
  TPoint up[3], left[3];
  TvxCustomLookAndFeelPainter::CalcArrowTriangle({0, 0, 10, 10}, up, adUp, true);
  EXPECT_EQ(up[0], TPoint(4, 4));
  EXPECT_EQ(up[1], TPoint(2, 6));
  EXPECT_EQ(up[2], TPoint(6, 6));
  TvxCustomLookAndFeelPainter::CalcArrowTriangle({0, 0, 10, 10}, left, adLeft, true, 2);
  EXPECT_EQ(left[0], TPoint(4, 4));
  EXPECT_EQ(left[1], TPoint(5, 3));
  EXPECT_EQ(left[2], TPoint(5, 5));

  PinnedColors pinned;
  Sheet sheet(16, 10);
  Base().PaintArrow(sheet.Canvas(), {0, 0, 16, 10}, adDown, clRed);
  EXPECT_EQ(sheet.Count(RGB(255, 0, 0)), 5 + 3 + 1);
  EXPECT_EQ(sheet.At(7, 6), RGB(255, 0, 0));
}

TEST(PainterDrawing, CheckMarkIsAThreePixelTickOnlyWhenChecked) {
  PinnedColors pinned;
  const TRect box{0, 0, 13, 13};
  Sheet checked(13, 13), grayed(13, 13), disabled(13, 13);
  Standard().PaintCheckBox(checked.Canvas(), box, vxbsNormal, cbsChecked);
  Standard().PaintCheckBox(grayed.Canvas(), box, vxbsNormal, cbsGrayed);
  Standard().PaintCheckBox(disabled.Canvas(), box, vxbsDisabled, cbsChecked);
  // The standard frame: dark shadow outside, shadow inside.
  EXPECT_EQ(checked.At(0, 0), kDkShadow);
  EXPECT_EQ(checked.At(1, 1), kShadow);
  EXPECT_EQ(checked.At(12, 12), kLight);
  // The tick: three strokes down to (cx, y) and up to the right.
  const TRect inside{2, 2, 11, 11};
  EXPECT_GE(checked.CountIn(inside, kText), 3 * 7);
  EXPECT_EQ(checked.At(5, 7), kText);
  EXPECT_EQ(checked.At(5, 8), kText);
  EXPECT_EQ(checked.At(5, 9), kText);
  // Grayed draws no tick at all; disabled draws it in the gray text colour
  // on the button face.
  EXPECT_EQ(grayed.CountIn(inside, kWindow), 81);
  EXPECT_EQ(disabled.CountIn(inside, kText), 0);
  EXPECT_EQ(disabled.CountIn(inside, kGrayText), checked.CountIn(inside, kText));
  EXPECT_EQ(disabled.At(3, 3), kFace);
}

// Text drawn by the painter against the canvas's own text output in the
// rectangle the rule asks for.
TEST(PainterDrawing, PushButtonTextRisesOnShortButtons) {
  PinnedColors pinned;
  struct Case {
    int height;
    TRect expected;  // where the caption is centred
  };
  for (const Case& c : {Case{17, {0, -1, 60, 16}}, Case{16, {0, -1, 60, 16}}, Case{18, {0, 0, 60, 18}},
                        Case{19, {0, 0, 60, 18}}}) {
    Sheet painted(60, 24), expected(60, 24);
    Base().PaintPushButton(painted.Canvas(), {0, 0, 60, c.height}, "Next", vxbsNormal, false, clWhite, clBlack,
                           false);
    TvxCanvas* canvas = expected.Canvas();
    canvas->FillAreaWithColor({0, 0, 60, c.height}, clWhite);
    canvas->FontObject()->SetColor(clBlack);
    canvas->BrushObject()->SetStyle(bsClear);
    canvas->OutputText("Next", c.expected, vxtfAlignHCenter | vxtfAlignVCenter | vxtfShowPrefix | vxtfSingleLine);
    EXPECT_TRUE(painted.SameAs(expected)) << "height " << c.height;
    EXPECT_GT(painted.Count(RGB(0, 0, 0)), 0);
  }
}

TEST(PainterDrawing, SizeGripTurnsIntoEachCorner) {
  PinnedColors pinned;
  constexpr int n = 16;
  Sheet reference(n, n);
  reference.Canvas()->FillAreaWithColor({0, 0, n, n}, clYellow);
  Base().PaintSizeGrip(reference.Canvas(), {0, 0, n, n});
  ASSERT_LT(reference.Count(RGB(255, 255, 0)), n * n);
  struct Case {
    TvxCorner corner;
    bool mirrorX, mirrorY;
  };
  for (const Case& c : {Case{coBottomRight, false, false}, Case{coTopRight, false, true},
                        Case{coBottomLeft, true, false}, Case{coTopLeft, true, true}}) {
    Sheet sheet(n, n);
    Base().PaintSizeGripAtCorner(sheet.Canvas(), {0, 0, n, n}, clYellow, c.corner);
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        ASSERT_EQ(sheet.At(x, y), reference.At(c.mirrorX ? n - 1 - x : x, c.mirrorY ? n - 1 - y : y))
            << "corner " << c.corner << " at " << x << "," << y;
  }
  // With clNone the pixels under the grip stay where it leaves them.
  Sheet over(n, n);
  over.Canvas()->FillAreaWithColor({0, 0, n, n}, clLime);
  Base().PaintSizeGripAtCorner(over.Canvas(), {0, 0, n, n}, clNone, coBottomRight);
  EXPECT_EQ(over.Count(RGB(0, 255, 0)), reference.Count(RGB(255, 255, 0)));
}

TEST(PainterDrawing, ClockHandsPointAtTheTime) {
  PinnedColors pinned;
  constexpr COLORREF kHand = RGB(0, 128, 128);
  auto clock = [](double hours, double minutes) {
    auto sheet = std::make_unique<Sheet>(61, 61);
    Base().PaintClockFace(sheet->Canvas(), {0, 0, 61, 61}, (hours * 60 + minutes) / 1440.0, clWhite);
    return sheet;
  };
  auto noon = clock(12, 0);
  // Centre (30, 30), radius 28.5: both hands reach above the centre and
  // only their short tails below it.
  EXPECT_GT(noon->CountIn({26, 8, 35, 24}, kHand), 20);
  EXPECT_EQ(noon->CountIn({20, 38, 41, 55}, kHand), 0);
  EXPECT_EQ(noon->CountIn({5, 20, 18, 41}, kHand), 0);
  // The second hand is red and points up as well.
  EXPECT_EQ(noon->At(30, 5), RGB(255, 0, 0));
  auto three = clock(3, 0);
  EXPECT_GT(three->CountIn({38, 26, 52, 35}, kHand), 15);
  EXPECT_EQ(three->CountIn({5, 20, 22, 41}, kHand), 0);
  // The hour marks: at 3 o'clock (x 58.5 rounded) the mark's centre pixel.
  EXPECT_EQ(noon->At(59, 30), kHand);
  EXPECT_EQ(noon->At(58, 29), RGB(0, 255, 255));
}

TEST(PainterDrawing, TrackBarThumbPentagons) {
  PinnedColors pinned;
  // Horizontal, pointing up: L 10, T 10, R 21, B 31, a = 5.
  Sheet up(40, 40);
  Standard().PaintTrackBarThumb(up.Canvas(), {10, 10, 21, 31}, vxbsNormal, true, vxtsPointedTop, clBtnFace);
  EXPECT_EQ(up.At(10, 25), kHighlight);  // the light left side
  EXPECT_EQ(up.At(21, 25), kDkShadow);   // the outer dark right side
  EXPECT_EQ(up.At(20, 25), kShadow);     // the inner dark right side
  EXPECT_EQ(up.At(15, 30), kDkShadow);   // the outer dark bottom
  EXPECT_EQ(up.At(15, 20), kFace);       // the body
  EXPECT_EQ(up.At(15, 9), kDkShadow);    // the point, where the outer dark edge starts
  EXPECT_EQ(up.At(11, 11), kWhite);      // outside the slope

  // Vertical, pointing right: the point at (R, T + a), the light side on top.
  Sheet right(40, 40);
  Flat().PaintTrackBarThumb(right.Canvas(), {10, 10, 31, 21}, vxbsNormal, false, vxtsPointedBottom, clBtnFace);
  EXPECT_EQ(right.At(15, 10), kHighlight);
  EXPECT_EQ(right.At(31, 15), kShadow);
  EXPECT_EQ(right.At(20, 15), kFace);
  EXPECT_EQ(right.At(30, 11), kWhite);

  Sheet box(40, 40);
  Standard().PaintTrackBarThumb(box.Canvas(), {10, 10, 20, 30}, vxbsNormal, true, vxtsBox, clBtnFace);
  EXPECT_EQ(box.At(10, 10), kHighlight);
  EXPECT_EQ(box.At(19, 29), kDkShadow);
  EXPECT_EQ(box.At(18, 28), kShadow);
  EXPECT_EQ(box.At(15, 20), kFace);
}

TEST(PainterDrawing, SplitterGripHasThreeDashesBetweenTwoLines) {
  PinnedColors pinned;
  Sheet sheet(40, 2);
  Base().PaintSplitter(sheet.Canvas(), {0, 0, 40, 2}, false, false, true);
  // The shadow line on row 0 from 0 to 38, gaps at 14, 17, 20 and 23; the
  // highlight copy on row 1 one pixel to the right.
  std::string row0, row1;
  for (int x = 0; x < 40; ++x) {
    row0 += sheet.At(x, 0) == kShadow ? 's' : sheet.At(x, 0) == kWhite ? '.' : '?';
    row1 += sheet.At(x, 1) == kWhite ? 'h' : '?';
  }
  EXPECT_EQ(row0, "ssssssssssssss.ss.ss.ss.sssssssssssssss.");
  EXPECT_EQ(sheet.CountIn({0, 1, 40, 2}, kWhite), 40);  // white highlight on white
  Sheet vertical(2, 40);
  vertical.Canvas()->FillAreaWithColor({0, 0, 2, 40}, clBlack);
  Base().PaintSplitter(vertical.Canvas(), {0, 0, 2, 40}, false, false, false);
  EXPECT_EQ(vertical.At(0, 14), RGB(0, 0, 0));
  EXPECT_EQ(vertical.At(0, 15), kShadow);
  EXPECT_EQ(vertical.At(1, 15), RGB(0, 0, 0));
  EXPECT_EQ(vertical.At(1, 16), kWhite);
}

TEST(PainterDrawing, BackgroundAndLayoutRecordEdges) {
  PinnedColors pinned;
  Sheet sheet(20, 20);
  Base().PaintBackground(sheet.Canvas(), {0, 0, 20, 20}, true, clRed, nullptr);
  EXPECT_EQ(sheet.Count(kWhite), 400);
  TBitmap tile;
  tile.SetSize(4, 4);
  Base().PaintBackground(sheet.Canvas(), {0, 0, 20, 20}, false, clRed, &tile);
  EXPECT_EQ(sheet.Count(RGB(255, 0, 0)), 400);

  // The edge strips leave the clip, so the fill that follows keeps them.
  Sheet record(20, 20);
  record.Canvas()->PushClipRegion();
  Base().PaintLayoutViewRecord(record.Canvas(), {0, 0, 20, 20}, 0, vxLayoutViewRecordSelected, vxAllBorders);
  record.Canvas()->PopClipRegion();
  EXPECT_EQ(record.At(10, 10), kFace);
  EXPECT_EQ(record.At(0, 10), kSelection);
  EXPECT_EQ(record.At(19, 10), kSelection);
  EXPECT_EQ(record.At(10, 0), kSelection);
}

// Inverted text over a half-filled bar: light glyphs over the filled part,
// dark over the empty one, nothing else touched.
TEST(PainterDrawing, ProgressTextIsInvertedOverBothParts) {
  PinnedColors pinned;
  constexpr COLORREF kFill = RGB(0, 0, 128), kInverse = RGB(255, 255, 127);
  Sheet sheet(120, 20);
  sheet.Canvas()->FillAreaWithColor({0, 0, 60, 20}, TColor(0x800000));
  sheet.Canvas()->FontObject()->SetName("Tahoma");
  sheet.Canvas()->FontObject()->SetHeight(-14);
  Base().PaintProgressBarText(sheet.Canvas(), false, false, "WWWWWWWWWWWW", {10, 2, 110, 18}, 0, {0, 0, 60, 20},
                              clDefault);
  const int overFilled = sheet.CountIn({0, 0, 60, 20}, kInverse);
  const int overEmpty = sheet.CountIn({60, 0, 120, 20}, RGB(0, 0, 0));
  EXPECT_GT(overFilled, 30);
  EXPECT_GT(overEmpty, 30);
  EXPECT_EQ(sheet.CountIn({0, 0, 60, 20}, kFill) + overFilled, 60 * 20);
  EXPECT_EQ(sheet.CountIn({60, 0, 120, 20}, kWhite) + overEmpty, 60 * 20);
}

// A painter with a colour of its own for text over the filled part: the
// text changes colour where it crosses into the filled part.
class TWhiteOverFillPainter : public TvxStandardLookAndFeelPainter {
 public:
  static const TWhiteOverFillPainter& Painter() {
    static const TWhiteOverFillPainter painter;
    return painter;
  }
  TColor ProgressBarTextColor(bool overFilledPart) const override { return overFilledPart ? clWhite : clBlack; }
};

TEST(PainterDrawing, ProgressTextTakesTheFilledPartsColourThere) {
  PinnedColors pinned;
  Sheet sheet(120, 20);
  sheet.Canvas()->FillAreaWithColor({0, 0, 60, 20}, clNavy);
  sheet.Canvas()->FontObject()->SetName("Tahoma");
  sheet.Canvas()->FontObject()->SetHeight(-14);
  TWhiteOverFillPainter::Painter().PaintProgressBarText(sheet.Canvas(), false, false, "WWWWWWWWWWWW",
                                                        {10, 2, 110, 18}, 0, {0, 0, 60, 20}, clDefault);
  EXPECT_GT(sheet.CountIn({0, 0, 60, 20}, kWhite), 30);
  EXPECT_EQ(sheet.CountIn({0, 0, 60, 20}, RGB(0, 0, 0)), 0);
  EXPECT_GT(sheet.CountIn({60, 0, 120, 20}, RGB(0, 0, 0)), 30);
  EXPECT_EQ(sheet.CountIn({60, 0, 120, 20}, kWhite) + sheet.CountIn({60, 0, 120, 20}, RGB(0, 0, 0)), 60 * 20);
}

// --- Standard and flat overrides --------------------------------------------------------------

TEST(StandardAndFlat, BorderAndSeparator) {
  PinnedColors pinned;
  Sheet standard(10, 10), flat(10, 10);
  Standard().PaintBorder(standard.Canvas(), {0, 0, 10, 10});
  Flat().PaintBorder(flat.Canvas(), {0, 0, 10, 10});
  EXPECT_EQ(standard.At(0, 0), kShadow);
  EXPECT_EQ(standard.At(1, 1), kDkShadow);
  EXPECT_EQ(standard.At(9, 9), kHighlight);
  EXPECT_EQ(standard.At(8, 8), kLight);
  EXPECT_EQ(flat.At(0, 0), kShadow);
  EXPECT_EQ(flat.At(9, 9), kHighlight);
  EXPECT_EQ(flat.At(1, 1), kWhite);

  // Both separators are two pixels thick: shadow, then highlight.
  for (const TvxCustomLookAndFeelPainter* painter : {&Standard(), &Flat()}) {
    Sheet sheet(10, 10);
    painter->PaintSeparator(sheet.Canvas(), {0, 0, 10, 10}, true);
    EXPECT_EQ(sheet.At(4, 3), kShadow) << painter->ClassName();
    EXPECT_EQ(sheet.At(5, 3), kHighlight) << painter->ClassName();
    EXPECT_EQ(sheet.At(3, 3), kWhite) << painter->ClassName();
    EXPECT_EQ(sheet.At(6, 3), kWhite) << painter->ClassName();
  }
}

TEST(StandardAndFlat, ButtonFramesByState) {
  PinnedColors pinned;
  struct Case {
    const TvxCustomLookAndFeelPainter* painter;
    TvxButtonState state;
    COLORREF outer, second, bottomRight;
  };
  for (const Case& c : {Case{&Standard(), vxbsNormal, kHighlight, kLight, kDkShadow},
                        Case{&Standard(), vxbsDefault, RGB(0, 0, 0), kHighlight, RGB(0, 0, 0)},
                        Case{&Standard(), vxbsPressed, RGB(0, 0, 0), kShadow, RGB(0, 0, 0)},
                        Case{&Flat(), vxbsNormal, kHighlight, kFace, kShadow},
                        Case{&Flat(), vxbsDefault, RGB(0, 0, 0), kHighlight, RGB(0, 0, 0)},
                        Case{&Flat(), vxbsPressed, kShadow, kFace, kHighlight}}) {
    Sheet sheet(20, 20);
    c.painter->PaintPushButton(sheet.Canvas(), {0, 0, 20, 20}, "", c.state, true, clDefault, clDefault, false);
    EXPECT_EQ(sheet.At(0, 0), c.outer) << c.painter->ClassName() << " " << c.state;
    EXPECT_EQ(sheet.At(1, 1), c.second) << c.painter->ClassName() << " " << c.state;
    EXPECT_EQ(sheet.At(19, 19), c.bottomRight) << c.painter->ClassName() << " " << c.state;
    EXPECT_EQ(sheet.At(10, 10), kFace) << c.painter->ClassName() << " " << c.state;
  }
}

TEST(StandardAndFlat, CheckBoxFramesAndHeaderCorners) {
  PinnedColors pinned;
  Sheet flat(13, 13);
  Flat().PaintCheckBox(flat.Canvas(), {0, 0, 13, 13}, vxbsPressed, cbsUnchecked);
  EXPECT_EQ(flat.At(0, 0), kShadow);
  EXPECT_EQ(flat.At(12, 12), kHighlight);
  EXPECT_EQ(flat.At(1, 1), kFace);  // the face colour of a pressed box
  EXPECT_EQ(flat.At(6, 6), kFace);

  Sheet header(20, 10);
  Standard().PaintHeaderFrame(header.Canvas(), {0, 0, 20, 10}, vxBorder(bLeft) | vxBorder(bRight), vxAllBorders);
  EXPECT_EQ(header.At(0, 1), kFace);
  EXPECT_EQ(header.At(0, 8), kFace);
  EXPECT_EQ(header.At(0, 4), kHighlight);
  EXPECT_EQ(header.At(19, 0), kHighlight);
  EXPECT_EQ(header.At(19, 1), kFace);
  EXPECT_EQ(header.At(19, 4), kShadow);
}

TEST(StandardAndFlat, ScrollBarParts) {
  PinnedColors pinned;
  for (const TvxCustomLookAndFeelPainter* painter : {&Standard(), &Flat()}) {
    // A disabled thumb draws nothing; a hot part looks like a normal one.
    Sheet thumb(17, 30);
    painter->PaintScrollBarElement(thumb.Canvas(), false, {0, 0, 17, 30}, sbpThumbnail, vxbsDisabled);
    EXPECT_EQ(thumb.Count(kWhite), 17 * 30) << painter->ClassName();
    for (TvxScrollBarPart part : {sbpLineUp, sbpThumbnail, sbpPageDown}) {
      Sheet hot(17, 17), normal(17, 17);
      painter->PaintScrollBarElement(hot.Canvas(), false, {0, 0, 17, 17}, part, vxbsHot);
      painter->PaintScrollBarElement(normal.Canvas(), false, {0, 0, 17, 17}, part, vxbsNormal);
      EXPECT_TRUE(hot.SameAs(normal)) << painter->ClassName() << " part " << part;
      EXPECT_LT(normal.Count(kWhite), 17 * 17) << painter->ClassName() << " part " << part;
    }
    // A page area is the checkerboard of face and highlight, pressed the
    // one of black and dark shadow.
    Sheet page(8, 8), pressed(8, 8);
    painter->PaintScrollBarElement(page.Canvas(), true, {0, 0, 8, 8}, sbpPageUp, vxbsNormal);
    painter->PaintScrollBarElement(pressed.Canvas(), true, {0, 0, 8, 8}, sbpPageUp, vxbsPressed);
    EXPECT_EQ(page.At(0, 0), kFace);
    EXPECT_EQ(page.At(1, 0), kHighlight);
    EXPECT_EQ(pressed.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(pressed.At(0, 1), kDkShadow);
  }
  // The flat arrow button draws the arrow glyph inside a one-pixel ring.
  Sheet arrow(17, 17);
  Flat().PaintScrollBarElement(arrow.Canvas(), false, {0, 0, 17, 17}, sbpLineDown, vxbsNormal);
  EXPECT_EQ(arrow.At(0, 0), kHighlight);
  EXPECT_EQ(arrow.At(16, 16), kShadow);
  EXPECT_GT(arrow.Count(kText), 5);
  // The standard thumb: face, then dark shadow at the outer bottom-right.
  Sheet thumb(17, 30);
  Standard().PaintScrollBarElement(thumb.Canvas(), false, {0, 0, 17, 30}, sbpThumbnail, vxbsNormal);
  EXPECT_EQ(thumb.At(0, 0), kFace);
  EXPECT_EQ(thumb.At(16, 29), kDkShadow);
  EXPECT_EQ(thumb.At(1, 1), kHighlight);
  EXPECT_EQ(thumb.At(8, 15), kFace);
}

TEST(StandardAndFlat, ExpandButtonsLeaveTheClip) {
  PinnedColors pinned;
  for (const TvxCustomLookAndFeelPainter* painter : {&Standard(), &Flat()}) {
    Sheet sheet(12, 12);
    sheet.Canvas()->PushClipRegion();
    painter->PaintExpandButton(sheet.Canvas(), {0, 0, 12, 12}, false, clDefault);
    sheet.Canvas()->FillAreaWithColor({0, 0, 12, 12}, clRed);
    sheet.Canvas()->PopClipRegion();
    EXPECT_EQ(sheet.Count(RGB(255, 0, 0)), 0) << painter->ClassName();
    EXPECT_GT(sheet.Count(kText), 8) << painter->ClassName();  // the plus
  }
}

TEST(StandardAndFlat, SchedulerCaptionLeavesOutTheNeighboursSides) {
  PinnedColors pinned;
  TvxViewParams params;
  params.Color = clBtnFace;
  for (TvxBorders neighbours : {TvxBorders(0), TvxBorders(vxBorder(bLeft) | vxBorder(bRight))}) {
    Sheet sheet(40, 20);
    Standard().PaintSchedulerDayCaption(sheet.Canvas(), {0, 0, 40, 20}, "", neighbours, params, 0, 3, nullptr);
    const bool sides = neighbours == 0;
    EXPECT_EQ(sheet.At(20, 0), RGB(0, 0, 0));
    EXPECT_EQ(sheet.At(20, 19), RGB(0, 0, 0));
    EXPECT_EQ(sheet.At(0, 10) == RGB(0, 0, 0), sides);
    EXPECT_EQ(sheet.At(39, 10) == RGB(0, 0, 0), sides);
    // Inside the black frame the caption cell's raised edge.
    EXPECT_EQ(sheet.At(20, 1), kHighlight);
  }
}

TEST(StandardAndFlat, GroupBoxFramesStayOutOfLaterFills) {
  PinnedColors pinned;
  for (const TvxCustomLookAndFeelPainter* painter : {&Standard(), &Flat()}) {
    Sheet sheet(30, 30);
    sheet.Canvas()->PushClipRegion();
    painter->PaintGroupBoxFrame(sheet.Canvas(), {0, 0, 30, 30}, 0, vxgcpTop, vxAllBorders);
    sheet.Canvas()->FillAreaWithColor({0, 0, 30, 30}, clRed);
    sheet.Canvas()->PopClipRegion();
    EXPECT_EQ(sheet.At(0, 10), kShadow) << painter->ClassName();
    EXPECT_EQ(sheet.At(1, 10), kHighlight) << painter->ClassName();
    EXPECT_EQ(sheet.At(15, 15), RGB(255, 0, 0)) << painter->ClassName();
  }
  // The standard frame's shadow ends a pixel early, where its highlight
  // copy takes the right and bottom edges.
  Sheet standard(30, 30);
  Standard().PaintGroupBoxFrame(standard.Canvas(), {0, 0, 30, 30}, 0, vxgcpTop, vxAllBorders);
  EXPECT_EQ(standard.At(29, 10), kHighlight);
  EXPECT_EQ(standard.At(28, 10), kShadow);
}

// --- Class references ------------------------------------------------------------------------

// Overrides one elementary step each.
class TRedFacePainter : public TvxStandardLookAndFeelPainter {
 public:
  static const TRedFacePainter& Painter() {
    static const TRedFacePainter painter;
    return painter;
  }
  TColor ButtonFaceColor(TvxButtonState) const override { return clRed; }
  int BorderWidth() const override { return 4; }
  int HeaderBorderWidth() const override { return 3; }
  TPoint FilterCloseButtonExtent() const override { return {10, 10}; }
};

class TWideFlatPainter : public TvxFlatLookAndFeelPainter {
 public:
  static const TWideFlatPainter& Painter() {
    static const TWideFlatPainter painter;
    return painter;
  }
  int BorderWidth() const override { return 6; }
};

TEST(ClassReference, AnOverriddenStepChangesTheCompositeOperations) {
  PinnedColors pinned;
  const TvxLookAndFeelPainterClass painter = &TRedFacePainter::Painter();
  Sheet button(20, 20);
  painter->PaintPushButton(button.Canvas(), {0, 0, 20, 20}, "", vxbsNormal, true, clDefault, clDefault, false);
  EXPECT_EQ(button.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(button.At(0, 0), kHighlight);  // the standard frame stays
  Sheet arrow(20, 20);
  painter->PaintArrowButton(arrow.Canvas(), {0, 0, 20, 20}, vxbsNormal, adUp, true);
  EXPECT_EQ(arrow.At(10, 2), RGB(255, 0, 0));
  // The separator band follows the border width it is called with: four
  // pixels, the highlight copy over all but the first.
  Sheet separator(20, 20);
  painter->PaintSeparator(separator.Canvas(), {0, 0, 20, 20}, true);
  EXPECT_EQ(separator.CountIn({0, 5, 20, 6}, kShadow), 1);
  EXPECT_EQ(separator.CountIn({0, 5, 20, 6}, kHighlight), 3);
  EXPECT_EQ(painter->HeaderContentBounds({0, 0, 20, 20}, vxAllBorders), TRect(3, 3, 17, 17));
  EXPECT_EQ(painter->HeaderHeightForText(10), 20);
  // A qualified call runs the base's step with this painter's sizes.
  EXPECT_EQ(painter->TvxCustomLookAndFeelPainter::HeaderHeightForText(10), 20);
  EXPECT_EQ(painter->StyleId(), lfsStandard);
}

TEST(ClassReference, RunningOnAnotherClassUsesThatClassesSteps) {
  PinnedColors pinned;
  // The flat separator runs on the standard painter: two pixels, whatever
  // the flat descendant's border width.
  Sheet wide(20, 20), flat(20, 20);
  TWideFlatPainter::Painter().PaintSeparator(wide.Canvas(), {0, 0, 20, 20}, false);
  Flat().PaintSeparator(flat.Canvas(), {0, 0, 20, 20}, false);
  EXPECT_TRUE(wide.SameAs(flat));
  // The standard group toggle button is the base's, run on the flat painter.
  Sheet standard(15, 15), onFlat(15, 15);
  Standard().PaintGroupToggleButton(standard.Canvas(), {0, 0, 15, 15}, true, vxbsNormal);
  Flat().PaintGroupToggleButton(onFlat.Canvas(), {0, 0, 15, 15}, true, vxbsNormal);
  EXPECT_TRUE(standard.SameAs(onFlat));
  EXPECT_EQ(standard.At(14, 14), kShadow);
}

}  // namespace
