// The native-theme painter. Each themed operation opens its theme class and
// draws or measures a part in a state; without a handle it falls back to
// the standard painter (or the base where the standard look adds nothing).
// Theme part and state numbers are the system's visual-styles numbers.
#include "foundation/vxLookAndFeelPaintersNative.h"

#include <algorithm>

#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"

namespace {

using namespace vxpaint;
using Base = TvxCustomLookAndFeelPainter;
using Standard = TvxStandardLookAndFeelPainter;

// Theme colour properties.
constexpr int kFillColor = 204;
constexpr int kBorderColor = 3801;
constexpr int kTextColor = 3803;

HTHEME Theme(TvdThemeClass cls) { return vdOpenThemeClass(cls); }

// A push button's state: default 5, normal 1, hot 2, pressed 3, disabled 4.
int MappedState(TvxButtonState state) {
  static const int states[] = {5, 1, 2, 3, 4};
  return states[state];
}

// The four-state parts: the default state draws as normal.
int FourState(TvxButtonState state) { return state == vxbsDefault ? 1 : MappedState(state); }

void Draw(HTHEME theme, TvxCanvas* canvas, int part, int state, const TRect& rect) {
  const RECT r = rect;
  vdUxDrawThemeBackground(theme, canvas->DeviceContext(), part, state, &r, nullptr);
}

TRect ContentRect(HTHEME theme, int part, int state, const TRect& bounds) {
  const RECT b = bounds;
  RECT content = b;
  vdUxGetThemeBackgroundContentRect(theme, nullptr, part, state, &b, &content);
  return TRect(content);
}

// The insets of a part's content inside a 100 x 100 rectangle.
TRect ContentInsets(HTHEME theme, int part, int state) {
  const TRect content = ContentRect(theme, part, state, TRect(0, 0, 100, 100));
  return TRect(content.Left, content.Top, 100 - content.Right, 100 - content.Bottom);
}

bool ThemeColor(TvdThemeClass cls, int part, int state, int prop, TColor& color) {
  HTHEME theme = Theme(cls);
  COLORREF value = 0;
  if (!theme || FAILED(vdUxGetThemeColor(theme, part, state, prop, &value))) return false;
  color = TColor(value);
  return true;
}

bool PartDefined(HTHEME theme, int part, int state) {
  auto isDefined = reinterpret_cast<decltype(&IsThemePartDefined)>(vdUxEntry(uxIsThemePartDefined));
  return isDefined && isDefined(theme, part, state);
}

bool TrueSize(HTHEME theme, int part, int state, TSize& size) {
  SIZE s{};
  if (!theme || FAILED(vdUxGetThemePartSizeNoRect(theme, nullptr, part, state, TS_TRUE, s))) return false;
  size = {s.cx, s.cy};
  return true;
}

// Check boxes and radio buttons: unchecked 1-4, checked 5-8.
int CheckState(TvxButtonState state, bool checked) { return FourState(state) + (checked ? 4 : 0); }

// A header item: hot 2, pressed 3, every other state normal 1.
int HeaderState(TvxButtonState state) { return state == vxbsHot ? 2 : state == vxbsPressed ? 3 : 1; }

// The track-bar thumb by tick side (first, second, both) and orientation.
int ThumbPart(bool horizontal, int shape) {
  static const int vertical[] = {7, 8, 6}, flat[] = {5, 4, 3};
  return (horizontal ? flat : vertical)[shape];
}

// Draws with a theme part into a 32-bit copy of the canvas area turned by
// a rotation (and flip), then turns it back and puts it in place: the
// theme's horizontal parts drawn across. With the flip, every turn undoes
// itself.
template <typename DrawTurned>
void DrawTurnedPart(TvxCanvas* canvas, const TRect& rect, TvxRotation rotation, bool flip, DrawTurned draw) {
  if (rect.IsEmpty()) return;
  TvxBitmap bitmap(rect, pf32bit);
  bitmap.VxCanvas()->CopyAreaFrom(bitmap.GetFullRect(), canvas->Canvas(), rect);
  bitmap.RotatePixels(rotation, flip);
  draw(bitmap.VxCanvas(), bitmap.GetFullRect());
  bitmap.RotatePixels(flip ? rotation : vxInverseRotation(rotation), flip);
  canvas->CopyAreaFrom(rect, bitmap.Canvas(), bitmap.GetFullRect());
}

}  // namespace

const TvxWinXPLookAndFeelPainter& TvxWinXPLookAndFeelPainter::Painter() {
  static const TvxWinXPLookAndFeelPainter painter;
  return painter;
}

// The button is a tab turned on its side: the next button's tab faces
// left, the previous one's right.
void TvxWinXPLookAndFeelPainter::PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect,
                                                                const TRect& arrowRect, bool isNext,
                                                                TvxButtonState state) const {
  HTHEME theme = Theme(tcTab);
  if (!theme) return Base::PaintSchedulerNavigationButton(canvas, rect, arrowRect, isNext, state);
  DrawTurnedPart(canvas, rect, isNext ? raMinus90 : raPlus90, false,
                 [&](TvxCanvas* turned, const TRect& all) { Draw(theme, turned, 1, FourState(state), all); });
  PaintSchedulerNavigationArrow(canvas, arrowRect, isNext, ButtonGlyphColor(state, clDefault));
}

TvxLookAndFeelStyle TvxWinXPLookAndFeelPainter::StyleId() const { return lfsNative; }

bool TvxWinXPLookAndFeelPainter::RedrawsOnResize() const { return vdThemeClassesUsable(0); }

TColor TvxWinXPLookAndFeelPainter::SchedulerFrameColor() const {
  TColor color = clNone;
  return ThemeColor(tcComboBox, 1, 1, kBorderColor, color) ? color : Base::SchedulerFrameColor();
}

// The standard look's window-coloured accent gives way to the base's own
// while a theme draws.
TColor TvxWinXPLookAndFeelPainter::SchedulerAccentColor() const {
  return vdThemeClassesUsable(0) ? Base::SchedulerAccentColor() : Standard::SchedulerAccentColor();
}

// --- Arrows, borders, buttons ------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintArrowButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                  TvxArrowDirection direction, bool framed) const {
  HTHEME theme = Theme(tcScrollBar);
  if (!theme) return Base::PaintArrowButton(canvas, rect, state, direction, framed);
  static const int steps[] = {0, 0, 1, 2, 3};
  Draw(theme, canvas, 1, 1 + 4 * direction + steps[state], rect);
}

void TvxWinXPLookAndFeelPainter::PaintArrowButtonFace(TvxCanvas* canvas, const TRect& rect,
                                                      TvxButtonState state) const {
  HTHEME theme = Theme(tcButton);
  if (!theme) return Base::PaintArrowButtonFace(canvas, rect, state);
  Draw(theme, canvas, 1, MappedState(state), rect);
}

int TvxWinXPLookAndFeelPainter::BorderWidth() const { return Theme(tcListView) ? 1 : Standard::BorderWidth(); }

void TvxWinXPLookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  HTHEME theme = Theme(tcListView);
  if (!theme) return Standard::PaintBorder(canvas, rect);
  HDC dc = canvas->DeviceContext();
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
  Draw(theme, canvas, 5, 0, rect);
  RestoreDC(dc, saved);
}

void TvxWinXPLookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  HTHEME theme = Theme(tcToolBar);
  if (!theme) return Standard::PaintSeparator(canvas, rect, vertical);
  Draw(theme, canvas, vertical ? 6 : 5, 1, rect);
}

// A button part with transparent edges lets its content reach one pixel
// further on every side.
TRect TvxWinXPLookAndFeelPainter::GroupedButtonContentBounds(const TRect& rect, int buttonCount,
                                                             int buttonIndex) const {
  const TRect bounds = Base::GroupedButtonContentBounds(rect, buttonCount, buttonIndex);
  HTHEME theme = Theme(tcButton);
  return theme && vdUxIsThemeBackgroundPartiallyTransparent(theme, 1, 1) ? vxInflatedRect(bounds, 1, 1) : bounds;
}

int TvxWinXPLookAndFeelPainter::ButtonBorderWidth(TvxButtonState state) const {
  HTHEME theme = Theme(tcButton);
  // Without a theme, the standard width of the state asked for: a default
  // button keeps its thicker frame.
  if (!theme) return Standard::ButtonBorderWidth(state);
  return ContentInsets(theme, 1, MappedState(state)).Left;
}

TColor TvxWinXPLookAndFeelPainter::ButtonFaceColor(TvxButtonState state) const {
  TColor color = clNone;
  return ThemeColor(tcButton, 1, MappedState(state), kFillColor, color) ? color : Base::ButtonFaceColor(state);
}

TRect TvxWinXPLookAndFeelPainter::ButtonFocusBounds(TvxCanvas* canvas, const TRect& rect) const {
  HTHEME theme = Theme(tcButton);
  if (!theme) return Base::ButtonFocusBounds(canvas, rect);
  return ContentRect(theme, 1, 1, rect);
}

TRect TvxWinXPLookAndFeelPainter::ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const {
  HTHEME theme = Theme(tcButton);
  if (!theme) return Base::ButtonGroupBorderWidths(buttonCount, buttonIndex);
  const TRect insets = ContentInsets(theme, 1, 1);
  return vdUxIsThemeBackgroundPartiallyTransparent(theme, 1, 1) ? vxShiftedRect(insets, -1, -1) : insets;
}

int TvxWinXPLookAndFeelPainter::ButtonTextIndent() const { return 2; }

int TvxWinXPLookAndFeelPainter::ButtonPressedTextShift() const { return 0; }

TColor TvxWinXPLookAndFeelPainter::ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const {
  TColor color = clNone;
  return ThemeColor(tcButton, 1, MappedState(state), kTextColor, color)
             ? color
             : Base::ButtonGlyphColor(state, defaultColor);
}

void TvxWinXPLookAndFeelPainter::PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption,
                                                 TvxButtonState state, bool drawFrame, TColor faceColor,
                                                 TColor textColor, bool wordWrap, bool isToolButton) const {
  HTHEME theme = Theme(isToolButton ? tcToolBar : tcButton);
  if (!theme)
    return Base::PaintPushButton(canvas, rect, caption, state, drawFrame, faceColor, textColor, wordWrap,
                                 isToolButton);
  Draw(theme, canvas, 1, MappedState(state), rect);
  if (caption.empty()) return;
  const RECT r = rect;
  SetBkMode(canvas->DeviceContext(), TRANSPARENT);
  vdUxDrawThemeTextAnsi(theme, canvas->DeviceContext(), 1, MappedState(state), caption,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &r);
}

// --- Expand and group toggle buttons ----------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                   TColor fillColor) const {
  HTHEME theme = Theme(tcTreeView);
  if (!theme) return Standard::PaintExpandButton(canvas, rect, expanded, fillColor);
  Draw(theme, canvas, 2, expanded ? 2 : 1, rect);
  ExcludeClipRect(canvas->DeviceContext(), rect.Left, rect.Top, rect.Right, rect.Bottom);
}

bool TvxWinXPLookAndFeelPainter::ExpandButtonPaintedFirst() const { return false; }

void TvxWinXPLookAndFeelPainter::PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                        TvxButtonState state) const {
  HTHEME theme = Theme(tcExplorerBar);
  if (!theme) return Standard::PaintGroupToggleButton(canvas, rect, expanded, state);
  Draw(theme, canvas, expanded ? 6 : 7, state == vxbsHot ? 2 : state == vxbsPressed ? 3 : 1, rect);
}

void TvxWinXPLookAndFeelPainter::PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                        TColor frameColor, TColor fillColor) const {
  if (!Theme(tcTreeView)) return Base::PaintSmallExpandButton(canvas, rect, expanded, frameColor, fillColor);
  PaintExpandButton(canvas, rect, expanded, clDefault);
}

int TvxWinXPLookAndFeelPainter::ExpandButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcTreeView), 2, 2, size) ? size.cx : Standard::ExpandButtonExtent();
}

int TvxWinXPLookAndFeelPainter::GroupToggleButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcExplorerBar), 7, 1, size) ? size.cx : Base::GroupToggleButtonExtent();
}

bool TvxWinXPLookAndFeelPainter::CanHotTrackButtons() const { return true; }

// The point must fall on what the part draws, not on its transparent
// corners.
bool TvxWinXPLookAndFeelPainter::IsPointOnGroupToggleButton(const TRect& rect, const TPoint& point) const {
  HTHEME theme = Theme(tcExplorerBar);
  HRGN region = nullptr;
  const RECT r = rect;
  if (!theme || FAILED(vdUxGetThemeBackgroundRegion(theme, nullptr, 7, 2, &r, &region)) || !region)
    return Base::IsPointOnGroupToggleButton(rect, point);
  const bool inside = PtInRegion(region, point.X, point.Y) != FALSE;
  DeleteObject(region);
  return inside;
}

int TvxWinXPLookAndFeelPainter::SmallExpandButtonExtent() const {
  return Theme(tcTreeView) ? ExpandButtonExtent() : Base::SmallExpandButtonExtent();
}

// --- Check boxes and radio buttons -------------------------------------------------------

int TvxWinXPLookAndFeelPainter::CheckBoxFrameWidth() const {
  return Theme(tcButton) ? 0 : Base::CheckBoxFrameWidth();
}

TSize TvxWinXPLookAndFeelPainter::CheckBoxGlyphExtent() const {
  TSize size;
  return TrueSize(Theme(tcButton), 3, 5, size) ? size : Base::CheckBoxGlyphExtent();
}

void TvxWinXPLookAndFeelPainter::PaintCheckMark(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                bool checked, TColor color) const {
  HTHEME theme = Theme(tcButton);
  if (!theme) return Base::PaintCheckMark(canvas, rect, state, checked, color);
  Draw(theme, canvas, 3, CheckState(state, checked), rect);
}

void TvxWinXPLookAndFeelPainter::PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect,
                                                    TvxButtonState state) const {
  if (!Theme(tcButton)) Standard::PaintCheckBoxFrame(canvas, rect, state);
}

// The radio button checks its class like every other part: without a
// theme it draws the standard glyphs in the standard size.
void TvxWinXPLookAndFeelPainter::PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state,
                                                  bool checked, bool focused, TColor backgroundColor,
                                                  bool highlighted) const {
  HTHEME theme = Theme(tcButton);
  if (!theme)
    return Standard::PaintRadioButton(canvas, x, y, state, checked, focused, backgroundColor, highlighted);
  const TSize size = RadioButtonExtent();
  Draw(theme, canvas, 2, CheckState(state, checked), TRect(x, y, x + size.cx, y + size.cy));
}

TSize TvxWinXPLookAndFeelPainter::RadioButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcButton), 2, 1, size) ? size : Standard::RadioButtonExtent();
}

// --- Headers and footers -----------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                             TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                             TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                             bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                             TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground,
                                             bool isLast, bool isGroup) const {
  HTHEME theme = Theme(tcHeader);
  if (!theme)
    return Base::PaintHeader(canvas, bounds, textBounds, neighbours, borders, state, horzAlignment, vertAlignment,
                             multiLine, endEllipsis, text, font, textColor, backgroundColor, onDrawBackground, isLast,
                             isGroup);
  // The blue and olive schemes close a row of items with the header's
  // right-hand item.
  const int themeState = HeaderState(state);
  const TvdOffice11Scheme scheme = vdCurrentOffice11Scheme();
  const bool rowEnd = isLast && themeState == 1 && (scheme == vdo11Blue || scheme == vdo11Olive);
  const int part = rowEnd ? 3 : 1;
  Draw(theme, canvas, part, themeState, bounds);
  // A pressed item moves its text instead of inverting.
  const TRect textRect = state == vxbsPressed ? vxShiftedRect(textBounds, 1, 1) : textBounds;
  PaintThemedText(canvas, theme, part, themeState, font, textColor, text, horzAlignment, vertAlignment, multiLine,
                  endEllipsis, false, textRect);
}

void TvxWinXPLookAndFeelPainter::PaintHeaderPressedLook(TvxCanvas*, const TRect&) const {}

void TvxWinXPLookAndFeelPainter::PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds,
                                                    const TRect& textAreaBounds, intptr_t sectionData,
                                                    TvxBorders borders, TvxButtonState state,
                                                    TAlignment horzAlignment, TTextLayout vertAlignment,
                                                    bool multiLine, bool endEllipsis, const String& text,
                                                    TFont* font, TColor textColor, TColor backgroundColor) const {
  if (!Theme(tcHeader))
    return Standard::PaintHeaderSection(canvas, bounds, textAreaBounds, sectionData, borders, state, horzAlignment,
                                        vertAlignment, multiLine, endEllipsis, text, font, textColor,
                                        backgroundColor);
  // A section's data is the set of its neighbours.
  canvas->FillAreaWithColor(bounds, clBtnFace);
  PaintHeader(canvas, bounds, textAreaBounds, TvxBorders(sectionData), borders, state, horzAlignment, vertAlignment,
              multiLine, endEllipsis, text, font, textColor, backgroundColor, nullptr, false, false);
}

void TvxWinXPLookAndFeelPainter::PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const {
  if (!Theme(tcHeader)) return Standard::PaintSortMark(canvas, rect, ascending);
  TvxUltraFlatLookAndFeelPainter::Painter().PaintSortMark(canvas, rect, ascending);
}

int TvxWinXPLookAndFeelPainter::HeaderBorderWidth() const {
  HTHEME theme = Theme(tcHeader);
  if (!theme) return Standard::HeaderBorderWidth();
  const TRect insets = ContentInsets(theme, 1, 1);
  return std::max(1, (insets.Left + insets.Top) / 2);
}

// A themed section has one border width in every state; the base's content
// bounds inset by it.
int TvxWinXPLookAndFeelPainter::HeaderSectionBorderWidth(TvxButtonState state) const {
  return Theme(tcHeader) ? HeaderBorderWidth() : Standard::HeaderSectionBorderWidth(state);
}

int TvxWinXPLookAndFeelPainter::HeaderExtraIndent() const {
  return Theme(tcHeader) ? 1 : Standard::HeaderExtraIndent();
}

TPoint TvxWinXPLookAndFeelPainter::SortMarkExtent() const {
  return Theme(tcHeader) ? TvxUltraFlatLookAndFeelPainter::Painter().SortMarkExtent() : Standard::SortMarkExtent();
}

// The caption of a layout-view record is a tab, on its side when the
// caption is at the left or right.
void TvxWinXPLookAndFeelPainter::PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                                              int recordState) const {
  if (!Theme(tcTab)) return Standard::PaintLayoutViewRecordCaption(canvas, rect, captionSide, recordState);
  PaintLayoutViewRecordEdges(canvas, rect, recordState, vxAllBorders);
  PaintTab(canvas, rect, vxAllBorders, "", TvxButtonState(recordState), captionSide != 0, nullptr, clDefault,
           clDefault, false);
}

int TvxWinXPLookAndFeelPainter::FooterBorderWidth() const {
  return Theme(tcEdit) ? 1 : Standard::FooterBorderWidth();
}

int TvxWinXPLookAndFeelPainter::FooterCellBorderWidth() const {
  HTHEME theme = Theme(tcTrackBar);
  return theme ? ContentInsets(theme, 1, 1).Left : Standard::FooterCellBorderWidth();
}

int TvxWinXPLookAndFeelPainter::FooterCellSpacing() const {
  return Theme(tcTrackBar) ? 1 : Standard::FooterCellSpacing();
}

bool TvxWinXPLookAndFeelPainter::FooterCellsPaintedFirst() const { return false; }

void TvxWinXPLookAndFeelPainter::PaintFooterCellWithFrame(TvxCanvas* canvas, const TRect& rect,
                                                          TAlignment horzAlignment, TTextLayout vertAlignment,
                                                          bool multiLine, const String& text, TFont* font,
                                                          TColor textColor, TColor backgroundColor,
                                                          const TvxDrawBackgroundEvent& onDrawBackground) const {
  HTHEME theme = Theme(tcTrackBar);
  if (!theme)
    return Base::PaintFooterCellWithFrame(canvas, rect, horzAlignment, vertAlignment, multiLine, text, font,
                                          textColor, backgroundColor, onDrawBackground);
  Draw(theme, canvas, 1, 1, rect);
  PaintThemedText(canvas, theme, 1, 1, font, textColor, text, horzAlignment, vertAlignment, multiLine, false, false,
                  FooterCellTextBounds(rect));
}

void TvxWinXPLookAndFeelPainter::PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const {
  HTHEME theme = Theme(tcEdit);
  if (!theme) return Standard::PaintFooterFrame(canvas, rect);
  RECT r = rect;
  vdUxDrawThemeEdge(theme, canvas->DeviceContext(), 0, 0, &r, BDR_RAISEDINNER, BF_RECT, nullptr);
}

// --- Filter buttons ------------------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect,
                                                        TvxButtonState state) const {
  HTHEME theme = Theme(tcWindow);
  if (!theme) return Base::PaintFilterCloseButton(canvas, rect, state);
  Draw(theme, canvas, 19, FourState(state), rect);
}

void TvxWinXPLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect,
                                                           TvxButtonState state, bool filterActive) const {
  HTHEME theme = Theme(tcComboBox);
  if (!theme) return Standard::PaintFilterDropDownButton(canvas, rect, state, filterActive);
  Draw(theme, canvas, 1, FourState(state), rect);
}

TPoint TvxWinXPLookAndFeelPainter::FilterActivateButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcButton), 3, 5, size) ? TPoint(size.cx, size.cy) : Base::FilterActivateButtonExtent();
}

TPoint TvxWinXPLookAndFeelPainter::FilterCloseButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcWindow), 19, 1, size) ? TPoint(size.cx + 4, size.cy + 4)
                                                : Base::FilterCloseButtonExtent();
}

// --- Tabs and indicators ------------------------------------------------------------------

// Sides without a border push the part 2 pixels out, so that its edge there
// falls outside the tab. A vertical tab is the horizontal part drawn
// across: turning a quarter and flipping swaps rows and columns, and so
// swaps left with top and right with bottom.
void TvxWinXPLookAndFeelPainter::PaintTab(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                          const String& text, TvxButtonState state, bool vertical, TFont* font,
                                          TColor textColor, TColor backgroundColor, bool showPrefix) const {
  HTHEME theme = Theme(tcTab);
  if (!theme)
    return Base::PaintTab(canvas, rect, borders, text, state, vertical, font, textColor, backgroundColor,
                          showPrefix);
  const int themeState = FourState(state);
  if (vertical) {
    const TvxBorders across = ((borders & Left) ? Top : 0) | ((borders & Top) ? Left : 0) |
                              ((borders & Right) ? Bottom : 0) | ((borders & Bottom) ? Right : 0);
    DrawTurnedPart(canvas, rect, raPlus90, true, [&](TvxCanvas* turned, const TRect& all) {
      Draw(theme, turned, 1, themeState, ShrinkSides(all, vxAllBorders & ~across, -2));
    });
  } else {
    SavedClip clip(canvas);
    canvas->IntersectClipWithRect(rect);
    Draw(theme, canvas, 1, themeState, ShrinkSides(rect, vxAllBorders & ~borders, -2));
  }
  TRect textRect = rect;
  if (state == vxbsPressed) textRect.Bottom -= 2;
  PaintThemedText(canvas, theme, 1, themeState, font, textColor, text, taCenter, tlCenter, false, false, showPrefix,
                  textRect);
}

void TvxWinXPLookAndFeelPainter::PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge,
                                              TvxBorders tabBorders, bool vertical) const {
  if (!Theme(tcTab)) Standard::PaintTabEdge(canvas, rect, edge, tabBorders, vertical);
}

// Only the pane's edge along the strip shows: the pane reaches past every
// other side by its own insets and then some.
void TvxWinXPLookAndFeelPainter::PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                         bool vertical) const {
  HTHEME theme = Theme(tcTab);
  if (!theme) return Standard::PaintTabStripBackground(canvas, rect, borders, vertical);
  constexpr int kBeyond = 10;
  const TRect insets = ContentInsets(theme, 9, 0);
  TRect pane = rect;
  if (!(borders & Left)) pane.Left -= insets.Left + kBeyond;
  if (!(borders & Top)) pane.Top -= insets.Top + kBeyond;
  if (!(borders & Right)) pane.Right += insets.Right + kBeyond;
  if (!(borders & Bottom)) pane.Bottom += insets.Bottom + kBeyond;
  SavedClip clip(canvas);
  canvas->IntersectClipWithRect(rect);
  Draw(theme, canvas, 9, 0, pane);
}

bool TvxWinXPLookAndFeelPainter::CanPaintTab(bool vertical) const {
  return Theme(tcTab) ? true : Base::CanPaintTab(vertical);
}

bool TvxWinXPLookAndFeelPainter::HotTracksTabs(bool vertical) const {
  return Theme(tcTab) ? true : Base::HotTracksTabs(vertical);
}

int TvxWinXPLookAndFeelPainter::TabEdgeWidth(bool vertical) const {
  return Theme(tcTab) ? 1 : Standard::TabEdgeWidth(vertical);
}

// Next to themed headers the indicator cell takes the flat look.
void TvxWinXPLookAndFeelPainter::PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind,
                                                    TColor backgroundColor,
                                                    const TvxDrawBackgroundEvent& onDrawBackground) const {
  const TvxCustomLookAndFeelPainter& look =
      Theme(tcHeader) ? static_cast<const TvxCustomLookAndFeelPainter&>(TvxFlatLookAndFeelPainter::Painter())
                      : Standard::Painter();
  look.PaintIndicatorCell(canvas, rect, indicatorKind, backgroundColor, onDrawBackground);
}

// --- Scroll bars and size grips ------------------------------------------------------------

int TvxWinXPLookAndFeelPainter::ScrollBarMinThumbLength(bool horizontal) const {
  constexpr int kLeast = 8;
  HTHEME theme = Theme(tcScrollBar);
  const int gripper = horizontal ? 8 : 9;
  SIZE minimum{};
  if (!theme || FAILED(vdUxGetThemePartSizeNoRect(theme, nullptr, gripper, 1, TS_MIN, minimum))) return kLeast;
  int length = horizontal ? minimum.cx : minimum.cy;
  TSize actual;
  if (TrueSize(theme, gripper, 1, actual)) length = std::max(length, (horizontal ? actual.cx : actual.cy) + 4);
  return std::max(kLeast, length);
}

void TvxWinXPLookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                       TvxScrollBarPart part, TvxButtonState state) const {
  HTHEME theme = Theme(tcScrollBar);
  if (!theme) return Standard::PaintScrollBarElement(canvas, horizontal, rect, part, state);
  if (rect.IsEmpty()) return;
  const int themeState = FourState(state);
  switch (part) {
    case sbpLineUp:
      PaintArrowButton(canvas, rect, state, horizontal ? adLeft : adUp, false);
      break;
    case sbpLineDown:
      PaintArrowButton(canvas, rect, state, horizontal ? adRight : adDown, false);
      break;
    case sbpThumbnail: {
      Draw(theme, canvas, horizontal ? 2 : 3, themeState, rect);
      // The gripper only when it fits inside the thumb.
      const int gripper = horizontal ? 8 : 9;
      TSize size;
      const int thumbLength = horizontal ? rect.Width() : rect.Height();
      if (TrueSize(theme, gripper, themeState, size) && (horizontal ? size.cx : size.cy) < thumbLength)
        Draw(theme, canvas, gripper, themeState, rect);
      break;
    }
    case sbpPageUp:
      Draw(theme, canvas, horizontal ? 4 : 6, themeState, rect);
      break;
    case sbpPageDown:
      Draw(theme, canvas, horizontal ? 5 : 7, themeState, rect);
      break;
    default:
      break;
  }
}

TSize TvxWinXPLookAndFeelPainter::SizeGripExtent() const {
  TSize size;
  return TrueSize(Theme(tcScrollBar), 10, 1, size) ? size : Standard::SizeGripExtent();
}

void TvxWinXPLookAndFeelPainter::PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const {
  HTHEME theme = Theme(tcScrollBar);
  if (!theme) return Base::PaintSizeGrip(canvas, rect);
  Draw(theme, canvas, 10, 1, rect);
}

TSize TvxWinXPLookAndFeelPainter::TabCloseButtonExtent() const {
  TSize size;
  return TrueSize(Theme(tcWindow), 19, 1, size) ? size : Standard::TabCloseButtonExtent();
}

// --- Scheduler parts, navigator buttons, header panel filler ------------------------------

void TvxWinXPLookAndFeelPainter::PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text,
                                                          TvxBorders neighbours, const TvxViewParams& viewParams,
                                                          int sideArrows, int arrowSize,
                                                          const TvxDrawBackgroundEvent& onDrawBackground) const {
  if (!Theme(tcHeader))
    return Standard::PaintSchedulerDayCaption(canvas, rect, text, neighbours, viewParams, sideArrows, arrowSize,
                                              onDrawBackground);
  PaintHeader(canvas, rect, rect, neighbours, vxAllBorders, vxbsNormal, taCenter, tlCenter, false, false, text,
              viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground, !(neighbours & Right),
              false);
  PaintSideArrows(canvas, rect, sideArrows, arrowSize, clWindowText);
}

void TvxWinXPLookAndFeelPainter::PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds,
                                                                const TRect& progressRect,
                                                                const TvxAreaViewParams& viewParams,
                                                                bool frameOnly) const {
  HTHEME theme = Theme(tcProgress);
  if (!theme) return Base::PaintSchedulerEventProgressBar(canvas, bounds, progressRect, viewParams, frameOnly);
  Draw(theme, canvas, 1, 0, bounds);
  Draw(theme, canvas, 3, 0, progressRect);
}

// The toolbar's states, one step up: a button at rest shows its hot frame
// and a hot one its checked look.
void TvxWinXPLookAndFeelPainter::PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect,
                                                          TvxButtonState state) const {
  HTHEME theme = Theme(tcToolBar);
  if (!theme) return Base::PaintNavigatorPushButton(canvas, rect, state);
  static const int states[] = {2, 2, 5, 3, 4};
  Draw(theme, canvas, 1, states[state], rect);
}

void TvxWinXPLookAndFeelPainter::PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect,
                                                            const TvxAreaViewParams& viewParams,
                                                            bool horizontal) const {
  TColor color = clNone;
  if (!ThemeColor(tcComboBox, 1, 1, kBorderColor, color))
    return Standard::Painter().PaintSchedulerSplitterEdge(canvas, rect, viewParams, horizontal);
  FillFromViewParams(canvas, SplitterEdgeRing(canvas, rect, horizontal, color, color), viewParams);
}

TRect TvxWinXPLookAndFeelPainter::SchedulerEventProgressMargins() const {
  return Theme(tcProgress) ? TRect(3, 3, 3, 3) : Standard::SchedulerEventProgressMargins();
}

// The header's left-hand item part; a theme without one gets a plain item,
// so that the filler never stays unpainted.
void TvxWinXPLookAndFeelPainter::PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const {
  HTHEME theme = Theme(tcHeader);
  if (!theme) return Standard::PaintHeaderPanelFiller(canvas, rect);
  Draw(theme, canvas, PartDefined(theme, 2, 1) ? 2 : 1, 1, rect);
}

// --- Group boxes and track bars --------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state,
                                                    int captionPosition, TvxBorders borders) const {
  HTHEME theme = Theme(tcButton);
  if (!theme) return Standard::PaintGroupBoxFrame(canvas, rect, state, captionPosition, borders);
  Draw(theme, canvas, 4, state == 1 ? 1 : 2, rect);
}

TColor TvxWinXPLookAndFeelPainter::GroupBoxCaptionTextColor(bool enabled, int captionPosition) const {
  TColor color = clNone;
  return ThemeColor(tcButton, 4, enabled ? 1 : 2, kTextColor, color)
             ? color
             : Base::GroupBoxCaptionTextColor(enabled, captionPosition);
}

void TvxWinXPLookAndFeelPainter::PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl* control,
                                                         const TRect& rect, TColor color1, TColor color2) const {
  if (!Theme(tcButton)) return Standard::PaintGroupBoxBackground(canvas, control, rect, color1, color2);
  if (color1 != clDefault)
    canvas->FillAreaWithColor(rect, color1);
  else if (control)
    vxDrawThemeParentBackground(control, canvas, rect);
}

// The thumb takes the size the theme draws it in, centred where it was.
void TvxWinXPLookAndFeelPainter::CorrectTrackBarThumbBounds(TvxCanvas* canvas, TRect& rect, bool horizontal,
                                                            int shape) const {
  HTHEME theme = Theme(tcTrackBar);
  SIZE size{};
  const RECT r = rect;
  if (!theme ||
      FAILED(vdUxGetThemePartSize(theme, canvas->DeviceContext(), ThumbPart(horizontal, shape), 1, &r, TS_DRAW, &size)))
    return Base::CorrectTrackBarThumbBounds(canvas, rect, horizontal, shape);
  rect = vxCenteredRectOfSize(rect, TSize{size.cx, size.cy});
}

void TvxWinXPLookAndFeelPainter::PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect,
                                                    const TRect& selectionRect, bool showSelection, bool enabled,
                                                    bool horizontal, TColor color) const {
  HTHEME theme = Theme(tcTrackBar);
  if (!theme)
    return Base::PaintTrackBarTrack(canvas, rect, selectionRect, showSelection, enabled, horizontal, color);
  Draw(theme, canvas, horizontal ? 1 : 2, 1, rect);
}

void TvxWinXPLookAndFeelPainter::PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                    bool horizontal, int shape, TColor color) const {
  HTHEME theme = Theme(tcTrackBar);
  if (!theme) return Base::PaintTrackBarThumb(canvas, rect, state, horizontal, shape, color);
  static const int states[] = {2, 1, 2, 3, 5};
  Draw(theme, canvas, ThumbPart(horizontal, shape), states[state], rect);
}

// Splitters draw nothing of their own while a theme draws around them.
void TvxWinXPLookAndFeelPainter::PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool dragging,
                                               bool horizontal) const {
  if (!vdThemeClassesUsable(0)) Standard::PaintSplitter(canvas, rect, highlighted, dragging, horizontal);
}

// --- Text ------------------------------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintThemedText(TvxCanvas* canvas, HTHEME theme, int part, int state, TFont* font,
                                                 TColor color, const String& text, TAlignment horzAlignment,
                                                 TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                 bool showPrefix, const TRect& rect) const {
  if (text.empty()) return;
  // No colour of the caller's own: the button text colour, which the
  // theme's own text colour overrides where it has one.
  if (color == clDefault) color = clBtnText;
  if (font) canvas->AssignFontObject(font);
  canvas->FontObject()->SetColor(color);
  TRect bounds = rect;
  if (multiLine) {
    const int placement = vertAlignment == tlBottom ? 1 : vertAlignment == tlCenter ? 2 : 0;
    canvas->PlaceTextVertically(bounds, text, endEllipsis, false, true, showPrefix, true, placement);
  }
  DWORD flags = DT_EDITCONTROL;
  if (horzAlignment == taRightJustify) flags |= DT_RIGHT;
  if (horzAlignment == taCenter) flags |= DT_CENTER;
  if (vertAlignment == tlBottom) flags |= DT_BOTTOM;
  if (vertAlignment == tlCenter) flags |= DT_VCENTER;
  flags |= multiLine ? DT_WORDBREAK : DT_SINGLELINE;
  if (endEllipsis) flags |= DT_END_ELLIPSIS;
  if (!showPrefix) flags |= DT_NOPREFIX;
  const RECT r = bounds;
  HDC dc = canvas->DeviceContext();
  SelectObject(dc, canvas->FontObject()->Handle());
  SetTextColor(dc, ColorToRGB(color));
  SetBkMode(dc, TRANSPARENT);
  vdUxDrawThemeTextAnsi(theme, dc, part, state, text, flags, 0, &r);
}
