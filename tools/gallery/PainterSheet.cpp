// The painter sheets: a painter's elements laid out in two columns, each
// under its operation's name, one drawing per state or variant.
#include "tools/gallery/PainterSheet.h"

#include <functional>
#include <vector>

#include "tools/gallery/Gallery.h"

namespace gallery {
namespace {

using TPainter = const TvxCustomLookAndFeelPainter&;
// Draws variant v of an element into r.
using TDrawVariant = std::function<void(TPainter p, TvxCanvas* c, const TRect& r, int v)>;

struct TElement {
  const char* Name;
  int Width, Height, Variants;
  TDrawVariant Draw;
};

const TvxButtonState kStates[] = {vxbsDefault, vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled};
constexpr int kStateCount = 5;

TFont* SheetFont() {
  static TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-11);
  return &font;
}

// The elements flow down two columns, each with its name above its variants
// and the variants side by side.
void LayOut(TForm* page, TvxLookAndFeelPainterClass painter, const std::vector<TElement>& elements) {
  constexpr int kColumnWidth = kPageWidth / 2, kLabel = 14, kGap = 8;
  int column = 0, y = 4;
  for (const TElement& e : elements) {
    const int height = kLabel + e.Height + kGap;
    if (y + height > kPageHeight && column == 0) column = 1, y = 4;
    const TRect area(column * kColumnWidth + 6, y, (column + 1) * kColumnWidth - 6, y + height);
    new TPaintedArea(page, area, [painter, e](TCanvas* canvas) {
      Caption(canvas, 0, 0, e.Name);
      TvxCanvas c(canvas);
      for (int v = 0; v < e.Variants; ++v) {
        const TRect r = vxRectFromBounds(v * (e.Width + 6), kLabel, e.Width, e.Height);
        c.PushClipRegion();
        c.IntersectClipWithRect(r);
        c.FontObject()->Assign(SheetFont());
        e.Draw(*painter, &c, r, v);
        c.PopClipRegion();
      }
    });
    y += height;
  }
}

std::vector<TElement> ColourElements() {
  using TColorOf = TColor (TvxCustomLookAndFeelPainter::*)() const;
  struct Named {
    const char* Name;
    TColorOf Of;
  };
  static const Named colours[] = {
#define C(name) {#name, &TvxCustomLookAndFeelPainter::name}
      C(CalendarHeaderHighlightTextColor), C(ContentColor), C(ContentEvenColor), C(ContentOddColor),
      C(ContentTextColor), C(FilterPanelColor), C(FilterPanelTextColor), C(GridFixedLineColor),
      C(HeaderAreaColor), C(HeaderAreaTextColor), C(GridBackgroundColor), C(GridLineColor), C(GroupByPanelColor),
      C(GroupByPanelTextColor), C(GroupRowColor), C(GroupRowTextColor), C(HeaderBackgroundColor),
      C(HeaderBackgroundTextColor), C(HeaderColor), C(HeaderTextColor), C(HyperLinkTextColor), C(AuxiliaryColor),
      C(AuxiliaryTextColor), C(AlternateLinkTextColor), C(VerticalGridFixedLineColor),
      C(VerticalGridBackgroundColor), C(VerticalGridBandBorderColor), C(VerticalGridCategoryColor),
      C(VerticalGridCategoryTextColor), C(VerticalGridRowHeaderColor), C(VerticalGridRowHeaderTextColor),
      C(VerticalGridLineColor), C(CalendarContentColor), C(CalendarHeaderColor), C(CalendarHolidayTextColor),
      C(CalendarInactiveDayTextColor), C(CalendarSelectedDayColor), C(CalendarSelectedDayTextColor),
      C(CalendarSeparatorColor), C(CalendarDayColor), C(CalendarDayTextColor), C(CalendarTodayFrameColor),
      C(CalendarTodayTextColor), C(SchedulerContentColor), C(SchedulerContentTextColor), C(SchedulerFrameColor),
      C(SchedulerBackgroundColor), C(SchedulerNavigatorColor), C(TimeRulerColor), C(TimeRulerTextColor),
      C(SchedulerAccentColor), C(SelectedAppointmentTextColor), C(AppointmentTextColor), C(SelectionColor),
      C(SelectionTextColor), C(CardSeparatorColor), C(FaceToneColor), C(FaceToneTextColor), C(WindowToneColor),
      C(FaceToneAltColor), C(WhiteToneColor), C(TimeGridHeaderTextColor), C(TimeGridHeaderColor),
      C(TimeGridHeaderAlternateTextColor), C(TimeGridBackgroundColor), C(BlackToneColor), C(BlackToneTextColor),
      C(BlackToneLineColor), C(SilverToneColor), C(WhiteToneAltColor), C(ShadowToneColor), C(SkyToneColor),
      C(NavyToneColor), C(ShadowToneAltColor), C(ShadowToneLineColor), C(Office11GroupRowSeparatorColor),
      C(Office11GroupRowTextColor), C(GroupByAreaColor), C(GroupByAreaTextColor), C(FooterSeparatorColor),
      C(EditButtonCaptionColor), C(ProgressBarDefaultTextColor), C(GroupPanelTextColor),
      C(LayoutControlBackgroundColor), C(CalculatorBackgroundColor),
#undef C
  };
  // One element per colour would not fit: the colours go into one grid.
  std::vector<TElement> grid;
  grid.push_back({"colours (a hatched swatch is clDefault or clNone)", kPageWidth / 2 - 20, kPageHeight - 40, 1,
                  [](TPainter p, TvxCanvas* c, const TRect& r, int) {
                    constexpr int kRows = 44;
                    int i = 0;
                    for (const Named& n : colours) {
                      const int x = r.Left + (i / kRows) * 240, y = r.Top + (i % kRows) * 15;
                      const TColor color = (p.*n.Of)();
                      const TRect swatch(x, y + 1, x + 24, y + 13);
                      if (color == clDefault || color == clNone) {
                        c->BrushObject()->SetStyle(bsDiagCross);
                        c->BrushObject()->SetColor(clGray);
                        c->Canvas()->FillRect(swatch);
                        c->BrushObject()->SetStyle(bsSolid);
                      } else {
                        c->FillAreaWithColor(swatch, color);
                      }
                      c->DrawFrameSides(swatch, clBlack, 1, vxAllBorders, false);
                      Caption(c->Canvas(), x + 28, y, n.Name);
                      ++i;
                    }
                  }});
  return grid;
}

std::vector<TElement> ButtonElements() {
  return {
      {"PaintArrow (up, down, left, right)", 20, 20, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintArrow(c, r, TvxArrowDirection(v), clBtnText); }},
      {"PaintSmallArrow", 16, 16, 1, [](TPainter p, TvxCanvas* c, const TRect& r, int) {
         p.PaintSmallArrow(c, r, clBtnText);
       }},
      {"PaintArrowButton (default, normal, hot, pressed, disabled)", 20, 20, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintArrowButton(c, r, kStates[v], adDown, true); }},
      {"PaintArrowButtonFace", 20, 20, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintArrowButtonFace(c, r, kStates[v]); }},
      {"PaintArrowGlyph", 20, 20, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintArrowGlyph(c, r, kStates[v], adRight); }},
      {"PaintBorder, PaintSeparator (vertical, horizontal)", 40, 24, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0)
           p.PaintBorder(c, r);
         else
           p.PaintSeparator(c, r, v == 1);
       }},
      {"PaintPushButton", 75, 23, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintPushButton(c, r, "&Next >", kStates[v], true, clDefault, clDefault, false);
       }},
      {"PaintPushButton, 17 pixels high", 75, 17, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintPushButton(c, r, "Cancel", kStates[v], true, clDefault, clDefault, false);
       }},
      {"PaintPlainButton, PaintNavigatorPushButton", 24, 20, kStateCount * 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v < kStateCount)
           p.PaintPlainButton(c, r, kStates[v], 3, 1, clDefault);
         else
           p.PaintNavigatorPushButton(c, r, kStates[v - kStateCount]);
       }},
      {"PaintButtonFrame", 24, 20, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         p.PaintButtonFrame(c, r, kStates[v]);
       }},
      {"PaintFlatButtonFrame (normal, hot, pressed, hot and pressed)", 24, 20, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         p.PaintFlatButtonFrame(c, r, v >= 2, v % 2 == 1);
       }},
      {"PaintCheckBoxFrame, PaintCheckMark (normal, disabled), PaintCheckBoxForState (unchecked, checked)", 13, 13,
       5,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0) p.PaintCheckBoxFrame(c, r, vxbsNormal);
         if (v == 1 || v == 2)
           p.PaintCheckMark(c, r, v == 1 ? vxbsNormal : vxbsDisabled, true, v == 1 ? clBtnText : clGrayText);
         if (v >= 3) p.PaintCheckBoxForState(c, r, vxbsNormal, v == 4);
       }},
      {"PaintExpandButton (collapsed, expanded), PaintSmallExpandButton", 12, 12, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->PushClipRegion();
         if (v < 2)
           p.PaintExpandButton(c, vxRectFromBounds(r.Left, r.Top, std::max(p.ExpandButtonExtent(), 9),
                                                   std::max(p.ExpandButtonExtent(), 9)),
                               v == 1, clDefault);
         else
           p.PaintSmallExpandButton(c, vxRectFromBounds(r.Left, r.Top, 9, 9), v == 3, clBtnShadow, clWindow);
         c->PopClipRegion();
       }},
      {"PaintChevronButton (rotations 0-3, expanded and collapsed)", 15, 15, 8,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintChevronButton(c, r, vxbsNormal, v < 4, TvxRotation(v % 4));
       }},
      {"PaintGroupToggleButton (expanded, collapsed; normal, hot, pressed)", 15, 15, 6,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintGroupToggleButton(c, r, v < 3, kStates[1 + v % 3]);
       }},
      {"PaintCheckBox (unchecked, checked, grayed in each state)", 13, 13, 3 * kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintCheckBox(c, r, kStates[v % kStateCount], TvxCheckBoxState(v / kStateCount));
       }},
      {"PaintRadioButton (unchecked, checked in each state)", 13, 13, 2 * kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintRadioButton(c, r.Left, r.Top, kStates[v % kStateCount], v >= kStateCount, false, clBtnFace);
       }},
      {"PaintLabelLine (horizontal, vertical)", 40, 20, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const TRect line = v == 0 ? vxRectWithTopAndHeight(r, r.Top + 9, p.LabelLineWidth())
                                   : vxRectWithLeftAndWidth(r, r.Left + 19, p.LabelLineWidth());
         p.PaintLabelLine(c, line, clDefault, clDefault, v == 1);
       }},
      {"PaintButtonCross (normal, pressed), PaintGroupToggleMark (expanded, collapsed)", 16, 14, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v < 2)
           p.PaintButtonCross(c, r, clBtnText, v == 0 ? vxbsNormal : vxbsPressed);
         else
           p.PaintGroupToggleMark(c, r, v == 2, vxbsNormal);
       }},
  };
}

std::vector<TElement> HeaderElements() {
  const TvxBorders neighbourSets[] = {0, vxBorder(bLeft), vxBorder(bRight), vxBorder(bLeft) | vxBorder(bRight)};
  return {
      {"PaintHeader (neighbours none, left, right, both)", 80, 20, 4,
       [neighbourSets](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintHeader(c, r, vxInflatedRect(r, -3, 0), neighbourSets[v], vxAllBorders, vxbsNormal, taLeftJustify,
                       tlCenter, false, true, "Product", SheetFont(), clBtnText, clBtnFace, nullptr);
       }},
      {"PaintHeaderPlain, PaintHeaderPressedLook", 80, 20, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintHeaderPlain(c, r, vxInflatedRect(r, -3, 0), 0, vxAllBorders, vxbsNormal, taCenter, tlCenter, false,
                            false, "Version", SheetFont(), clBtnText, clBtnFace, nullptr);
         if (v == 1) p.PaintHeaderPressedLook(c, r);
       }},
      {"PaintHeaderSection", 80, 22, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintHeaderSection(c, r, vxInflatedRect(r, -4, 0), 0, vxAllBorders, kStates[v], taLeftJustify, tlCenter,
                              false, true, "Section", SheetFont(), clBtnText, clBtnFace);
       }},
      {"PaintHeaderFrame, PaintHeaderSectionFrame (normal, pressed), PaintHeaderSectionText (normal, disabled)", 60,
       20, 5,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         if (v == 0) p.PaintHeaderFrame(c, r, 0, vxAllBorders);
         if (v == 1 || v == 2) p.PaintHeaderSectionFrame(c, r, vxAllBorders, v == 1 ? vxbsNormal : vxbsPressed);
         if (v >= 3)
           p.PaintHeaderSectionText(c, r, v == 3 ? vxbsNormal : vxbsDisabled, taCenter, tlCenter, false, false,
                                    "Text", SheetFont(), clBtnText);
       }},
      {"PaintLayoutViewRecordExpandButton (collapsed, expanded)", 13, 13, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintLayoutViewRecordExpandButton(c, r, vxbsNormal, v == 1);
       }},
      {"PaintSortMark (ascending, descending), PaintHeaderStrip", 24, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         if (v < 2)
           p.PaintSortMark(c, r, v == 0);
         else
           p.PaintHeaderStrip(c, r, 4, clWindow, {nullptr, clBtnShadow});
       }},
      {"PaintGroupByArea, PaintFilterPanel, PaintFormClientArea", 60, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0) p.PaintGroupByArea(c, r, false, p.GroupByAreaColor(), nullptr);
         if (v == 1) p.PaintFilterPanel(c, r, false, p.FilterPanelColor(), nullptr);
         if (v == 2) p.PaintFormClientArea(c, r);
       }},
      {"PaintLayoutViewItem (normal, selected), PaintLayoutViewRecordCaption, PaintLayoutViewRecord", 50, 24, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->PushClipRegion();
         if (v < 2) p.PaintLayoutViewItem(c, r, v == 1 ? vxLayoutViewItemSelected : 0);
         if (v == 2) p.PaintLayoutViewRecordCaption(c, r, 0, vxLayoutViewRecordSelected);
         if (v == 3) p.PaintLayoutViewRecord(c, r, 0, 0, vxAllBorders);
         c->PopClipRegion();
       }},
      {"PaintFooterPanel, PaintFooterCellWithFrame, PaintFooterCell", 80, 22, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0) p.PaintFooterPanel(c, r, vxAllBorders);
         if (v == 1)
           p.PaintFooterCellWithFrame(c, r, taRightJustify, tlCenter, false, "1 234", SheetFont(), clBtnText,
                                      clBtnFace, nullptr);
         if (v == 2)
           p.PaintFooterCell(c, r, taRightJustify, tlCenter, false, "5 678", SheetFont(), clBtnText, clWindow,
                             nullptr);
       }},
      {"PaintFooterBackground, PaintFooterSeparator, PaintFooterFrame, PaintFooterCellFrame", 40, 20, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         if (v == 0) p.PaintFooterBackground(c, r, {nullptr, clBtnFace});
         if (v == 1) p.PaintFooterSeparator(c, vxRectWithHeight(r, p.FooterSeparatorHeight()));
         if (v == 2) p.PaintFooterFrame(c, r);
         if (v == 3) p.PaintFooterCellFrame(c, r);
       }},
      {"PaintCheckBoxForKind (unchecked, checked)", 13, 13, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintCheckBoxForKind(c, r, vxbsNormal, v == 1); }},
      {"PaintFilterCloseButton", 16, 14, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintFilterCloseButton(c, r, kStates[v]); }},
      {"PaintFilterDropDownButton (inactive, active)", 15, 18, 2 * kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintFilterDropDownButton(c, r, kStates[v % kStateCount], v >= kStateCount);
       }},
      {"PaintContent (left top, centre, right bottom; ellipsis)", 80, 30, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const TAlignment h[] = {taLeftJustify, taCenter, taRightJustify, taLeftJustify};
         const TTextLayout t[] = {tlTop, tlCenter, tlBottom, tlCenter};
         p.PaintContent(c, r, vxInflatedRect(r, -2, -2), vxbsNormal, h[v], t[v], false, v == 3,
                        v == 3 ? "A text too long for its cell" : "Cell", SheetFont(), clWindowText, clWindow,
                        nullptr);
       }},
  };
}

std::vector<TElement> BarElements() {
  return {
      {"PaintTab (normal, hot, pressed), PaintTabStripBackground", 60, 22, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         if (v < 3)
           p.PaintTab(c, r, vxBorder(bLeft) | vxBorder(bTop) | vxBorder(bRight), "Tab", kStates[v + 1], false,
                      SheetFont(), clBtnText, clBtnFace, true);
         else
           p.PaintTabStripBackground(c, r, vxAllBorders, false);
       }},
      {"PaintTabEdge (left, top, right, bottom; horizontal, vertical)", 20, 20, 8,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         const TvxBorder edge = TvxBorder(v % 4);
         const int w = std::max(p.TabEdgeWidth(v >= 4), 1);
         const TRect strip = edge == bLeft    ? vxRectWithWidth(r, w)
                             : edge == bRight ? vxRectWithRightAndWidth(r, r.Right, w)
                             : edge == bTop   ? vxRectWithHeight(r, w)
                                              : vxRectWithTopAndHeight(r, r.Bottom - w, w);
         p.PaintTabEdge(c, strip, edge, vxAllBorders, v >= 4);
       }},
      {"PaintIndicatorCustomizationMark, PaintIndicatorCell, PaintIndicatorCellWithColors", 20, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         if (v == 0) p.PaintIndicatorCustomizationMark(c, r, clBtnText);
         if (v == 1) p.PaintIndicatorCell(c, r, 1, clBtnFace, nullptr);
         if (v == 2) p.PaintIndicatorCellWithColors(c, r, 1, clBtnFace, nullptr);
       }},
      {"PaintScrollBarElement vertical: first arrow, second arrow, thumb, pages (normal, hot, pressed, disabled)",
       17, 34, 5 * 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintScrollBarElement(c, false, r, TvxScrollBarPart(1 + v / 4), kStates[1 + v % 4]);
       }},
      {"PaintScrollBarElement horizontal: first arrow, second arrow, thumb (normal, hot, pressed, disabled)", 34,
       17, 3 * 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintScrollBarElement(c, true, r, TvxScrollBarPart(1 + v / 4), kStates[1 + v % 4]);
       }},
      {"PaintScrollBarTrack (horizontal, vertical)", 60, 17, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintScrollBarTrack(c, r, v == 0); }},
      {"PaintSizeGrip, PaintSizeGripAtCorner (top-left, top-right, bottom-left, bottom-right)", 17, 17, 5,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0)
           p.PaintSizeGrip(c, r);
         else
           p.PaintSizeGripAtCorner(c, r, clBtnFace, TvxCorner(v - 1));
       }},
      {"PaintIndicatorImage (kinds 1-6)", 12, 12, 6,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintIndicatorImage(c, r, v + 1); }},
      {"PaintTabCloseButton", 14, 14, kStateCount,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) { p.PaintTabCloseButton(c, r, kStates[v]); }},
  };
}

std::vector<TElement> PartElements() {
  return {
      {"PaintSchedulerNavigationButton (previous, next; normal, pressed)", 20, 60, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const bool next = v % 2 == 1;
         TRect bounds = r, text, arrow;
         p.CalculateSchedulerNavigationButtonLayout(next, true, 0, 0, bounds, text, arrow);
         p.PaintSchedulerNavigationButton(c, bounds, arrow, next, v < 2 ? vxbsNormal : vxbsPressed);
       }},
      {"PaintSchedulerNavigationButtonContent (previous, next)", 24, 110, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         TRect bounds = vxInflatedRect(r, 0, -10), text, arrow;
         p.CalculateSchedulerNavigationButtonLayout(v == 1, false, 60, 60, bounds, text, arrow);
         p.PaintSchedulerNavigationButtonContent(c, bounds, v == 1, vxbsNormal, "Next week", text, arrow);
       }},
      {"PaintSchedulerDayCaption (neighbours none, both), PaintSchedulerOutline", 90, 22, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         TvxViewParams params;
         params.Color = clBtnFace;
         params.Font = SheetFont();
         params.TextColor = clBtnText;
         if (v < 2)
           p.PaintSchedulerDayCaption(c, r, "Monday", v == 0 ? 0 : vxBorder(bLeft) | vxBorder(bRight), params,
                                      vxsaBoth, 3, nullptr);
         else
           p.PaintSchedulerOutline(c, r);
       }},
      {"PaintSchedulerEventProgressBar (filled, frame only), PaintSchedulerSplitterEdge (horizontal, vertical)", 60,
       16, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v < 2)
           p.PaintSchedulerEventProgressBar(c, r, vxRectWithWidth(vxInflatedRect(r, -2, -2), 30),
                                            {nullptr, clWindow}, v == 1);
         else
           p.PaintSchedulerSplitterEdge(c, r, {nullptr, clBtnFace}, v == 2);
       }},
      {"PaintSchedulerNavigationArrow (previous, next)", 7, 7, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         p.PaintSchedulerNavigationArrow(c, r, v == 1, clBtnText);
       }},
      {"PaintClockFace (12:00:00, 3:00:00, 10:10:30)", 60, 60, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const double times[] = {0.5, 3.0 / 24, (10 * 3600 + 10 * 60 + 30) / 86400.0};
         p.PaintClockFace(c, r, times[v], clWindow);
       }},
      {"PaintHeaderPanelFiller, PaintEditButton (drop-down, ellipsis)", 40, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         TRect rect = r;
         if (v == 0)
           p.PaintHeaderPanelFiller(c, rect);
         else
           p.PaintEditButton(c, r, v == 1 ? 1 : 3, vxbsNormal, 1);
       }},
      {"PaintProgressBarFrame, PaintProgressBarChunk, PaintProgressBarText (solid, inverted)", 100, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clWindow);
         if (v == 0) {
           p.PaintProgressBarFrame(c, r, false);
           p.PaintProgressBarChunk(c, vxRectWithWidth(vxInflatedRect(r, -2, -2), 50), false);
           return;
         }
         const TRect filled = vxRectWithWidth(r, 55);
         c->FillAreaWithColor(filled, clHighlight);
         p.PaintProgressBarText(c, false, v == 1, "55%", vxRectFromBounds(r.Left + 38, r.Top + 3, 40, 14), 0, filled,
                                clDefault);
       }},
      {"PaintGroupBoxFrame (top, left sides), PaintGroupBoxExpandButton, PaintGroupPanel", 60, 40, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->PushClipRegion();
         c->FillAreaWithColor(r, clBtnFace);
         if (v == 0) p.PaintGroupBoxFrame(c, r, 0, vxgcpTop, vxAllBorders);
         if (v == 1) p.PaintGroupBoxFrame(c, r, 0, vxgcpLeft, vxBorder(bLeft) | vxBorder(bTop));
         if (v == 2) p.PaintGroupBoxExpandButton(c, vxRectFromBounds(r.Left, r.Top, 15, 15), vxbsNormal, true, raNone);
         if (v == 3) p.PaintGroupPanel(c, r, true);
         c->PopClipRegion();
       }},
      {"PaintGroupBoxBorder, PaintGroupBoxCaptionForPosition (top, bottom, left, right)", 40, 30, 8,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->PushClipRegion();
         c->FillAreaWithColor(r, clBtnFace);
         if (v < 4)
           p.PaintGroupBoxBorder(c, r, v, vxAllBorders);
         else
           p.PaintGroupBoxCaptionForPosition(c, r, v - 4);
         c->PopClipRegion();
       }},
      {"PaintGroupBoxContent, PaintGroupBoxBackground, PaintGroupPanelBorder, PaintGroupBoxCaption", 40, 30, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->PushClipRegion();
         c->FillAreaWithColor(r, clBtnFace);
         if (v == 0) p.PaintGroupBoxContent(c, r, r);
         if (v == 1) p.PaintGroupBoxBackground(c, nullptr, r, clBtnFace, clWindow);
         if (v == 2) p.PaintGroupPanelBorder(c, r);
         if (v == 3) p.PaintGroupBoxCaption(c, r, vxgcpTop);
         c->PopClipRegion();
       }},
      {"PaintTrackBarTrackBorder", 80, 8, 1,
       [](TPainter p, TvxCanvas* c, const TRect& r, int) { p.PaintTrackBarTrackBorder(c, r); }},
      {"PaintTrackBarTrack (horizontal, vertical)", 80, 20, 2,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const TRect track = v == 0 ? vxRectWithTopAndHeight(r, r.Top + 8, 4) : vxRectWithLeftAndWidth(r, r.Left + 38, 4);
         p.PaintTrackBarTrack(c, track, {}, false, true, v == 0, clWindow);
       }},
      {"PaintTrackBarThumb (pointed up/down, box; horizontal, vertical)", 44, 44, 6,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         const bool horizontal = v < 3;
         TRect thumb = horizontal ? TRect(r.Left + 12, r.Top + 4, r.Left + 32, r.Top + 40)
                                  : TRect(r.Left + 4, r.Top + 12, r.Left + 40, r.Top + 32);
         p.CorrectTrackBarThumbBounds(c, thumb, horizontal, v % 3);
         p.PaintTrackBarThumb(c, thumb, vxbsNormal, horizontal, v % 3, clBtnFace);
       }},
      {"PaintSplitter (horizontal, vertical; normal, highlighted)", 40, 40, 4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         const bool horizontal = v % 2 == 0;
         const TRect splitter = horizontal ? vxRectWithTopAndHeight(r, r.Top + 18, 4)
                                           : vxRectWithLeftAndWidth(r, r.Left + 18, 4);
         p.PaintSplitter(c, splitter, v >= 2, false, horizontal);
       }},
      {"PaintLayoutControlBackground, PaintPrintPreviewBackground, PaintPrintPreviewPage (selected, not)", 50, 40,
       4,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         if (v == 0) p.PaintLayoutControlBackground(c, r);
         if (v == 1) p.PaintPrintPreviewBackground(c, r);
         if (v >= 2) {
           p.PaintPrintPreviewBackground(c, r);
           const TRect bounds = vxInflatedRect(r, -6, -4);
           p.PaintPrintPreviewPage(c, bounds, vxInflatedRectBy(bounds, -2, -2, -4, -4), v == 2, true);
         }
       }},
      {"PaintSideArrows (left, right, both)", 60, 20, 3,
       [](TPainter p, TvxCanvas* c, const TRect& r, int v) {
         c->FillAreaWithColor(r, clBtnFace);
         p.PaintSideArrows(c, r, v + 1, 10, clWindowText);
       }},
  };
}

}  // namespace

bool RegisterPainterSheets(const char* name, TvxLookAndFeelPainterClass painter, TSheetLook look) {
  const String prefix = String("painter_") + name + "_";
  RegisterSheet((prefix + "colours").c_str(), [painter](TForm* page) { LayOut(page, painter, ColourElements()); },
                look);
  RegisterSheet((prefix + "buttons").c_str(), [painter](TForm* page) { LayOut(page, painter, ButtonElements()); },
                look);
  RegisterSheet((prefix + "headers").c_str(), [painter](TForm* page) { LayOut(page, painter, HeaderElements()); },
                look);
  RegisterSheet((prefix + "bars").c_str(), [painter](TForm* page) { LayOut(page, painter, BarElements()); }, look);
  RegisterSheet((prefix + "parts").c_str(), [painter](TForm* page) { LayOut(page, painter, PartElements()); },
                look);
  return true;
}

namespace {

const bool registered = RegisterPainterSheets("base", &TvxCustomLookAndFeelPainter::Painter()) &&
                        RegisterPainterSheets("standard", &TvxStandardLookAndFeelPainter::Painter()) &&
                        RegisterPainterSheets("flat", &TvxFlatLookAndFeelPainter::Painter());

}  // namespace
}  // namespace gallery
