// The ultra-flat and Office 2003 painters: one-pixel frames and light
// selection fills, then the XP colour scheme's colours, gradients and grip
// dots on top of them.
#include "foundation/vxLookAndFeelPaintersOffice11.h"

#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"
#include "foundation/vxLookAndFeelPaintersNative.h"

using namespace vxpaint;

namespace {

// A default button's frame is doubled in the window frame colour; the
// others are one pixel: text-coloured at rest, then the painter's disabled
// and hot-or-pressed colours.
void PaintButtonFrameInColors(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, TColor disabled,
                              TColor hotOrPressed) {
  switch (state) {
    case vxbsDefault:
      Frame(canvas, rect, clWindowFrame);
      Frame(canvas, Inset(rect), clWindowFrame);
      break;
    case vxbsNormal:
      Frame(canvas, rect, clBtnText);
      break;
    case vxbsDisabled:
      Frame(canvas, rect, disabled);
      break;
    default:
      Frame(canvas, rect, hotOrPressed);
      break;
  }
}

// The sides a scheduler navigation button is framed on: all but the one
// that faces the dates.
TvxBorders NavigationButtonSides(bool isNext) { return isNext ? (Left | Top | Bottom) : (Top | Right | Bottom); }

// A column of one colour from row top to row bottom, both included.
void FillColumn(TvxCanvas* canvas, int x, int top, int bottom, TColor color) {
  if (bottom >= top) canvas->FillAreaWithColor({x, top, x + 1, bottom + 1}, color);
}

}  // namespace

// --- Ultra-flat --------------------------------------------------------------------------

const TvxUltraFlatLookAndFeelPainter& TvxUltraFlatLookAndFeelPainter::Painter() {
  static const TvxUltraFlatLookAndFeelPainter painter;
  return painter;
}

TColor TvxUltraFlatLookAndFeelPainter::ButtonFrameColor(TvxButtonState state) const {
  return state == vxbsNormal ? clBtnShadow : clHighlight;
}
TColor TvxUltraFlatLookAndFeelPainter::HotButtonFrameColor() const { return clBtnShadow; }
TColor TvxUltraFlatLookAndFeelPainter::PlainButtonFrameColor() const { return clBtnText; }
TColor TvxUltraFlatLookAndFeelPainter::HighlightFrameColor() const { return clHighlight; }

void TvxUltraFlatLookAndFeelPainter::PaintFooterPanel(TvxCanvas* canvas, const TRect& rect,
                                                      TvxBorders borders) const {
  canvas->DrawFrameSides(rect, FooterSeparatorColor(), FooterSeparatorHeight(), borders, false);
}

void TvxUltraFlatLookAndFeelPainter::PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect,
                                                                    const TRect& arrowRect, bool isNext,
                                                                    TvxButtonState state) const {
  canvas->FillAreaWithColor(rect, clBtnFace);
  const TColor frame = state == vxbsHot ? HotButtonFrameColor() : PlainButtonFrameColor();
  canvas->DrawTwoToneBorders(rect, frame, frame, NavigationButtonSides(isNext), 1);
  PaintSchedulerNavigationArrow(canvas, arrowRect, isNext, ButtonGlyphColor(state, clDefault));
}

TvxLookAndFeelStyle TvxUltraFlatLookAndFeelPainter::StyleId() const { return lfsUltraFlat; }
TColor TvxUltraFlatLookAndFeelPainter::SchedulerFrameColor() const { return clBtnShadow; }
int TvxUltraFlatLookAndFeelPainter::BorderWidth() const { return 1; }

void TvxUltraFlatLookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, clBtnShadow);
}

void TvxUltraFlatLookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  canvas->FillAreaWithColor(CenteredBand(rect, BorderWidth(), vertical), clBtnShadow);
}

int TvxUltraFlatLookAndFeelPainter::ButtonBorderWidth(TvxButtonState state) const {
  return state == vxbsDefault ? 2 : 1;
}

TColor TvxUltraFlatLookAndFeelPainter::ButtonFaceColor(TvxButtonState state) const {
  if (state == vxbsHot) return vxHotFlatButtonColor();
  if (state == vxbsPressed) return vxPressedFlatButtonColor();
  return TvxCustomLookAndFeelPainter::ButtonFaceColor(state);
}

TRect TvxUltraFlatLookAndFeelPainter::ButtonFocusBounds(TvxCanvas*, const TRect& rect) const {
  const TRect inner = Inset(rect, 3);
  return inner.IsEmpty() ? rect : inner;
}

TRect TvxUltraFlatLookAndFeelPainter::ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const {
  TRect widths(1, 2, 1, 2);
  if (buttonIndex == 0)
    ++widths.Left;
  else if (buttonIndex == buttonCount - 1)
    ++widths.Right;
  return widths;
}

int TvxUltraFlatLookAndFeelPainter::ButtonTextIndent() const { return 2; }
int TvxUltraFlatLookAndFeelPainter::ButtonPressedTextShift() const { return 0; }

TColor TvxUltraFlatLookAndFeelPainter::ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const {
  if (state == vxbsPressed) return clHighlightText;
  return TvxCustomLookAndFeelPainter::ButtonGlyphColor(state, defaultColor);
}

TvxButtonState TvxUltraFlatLookAndFeelPainter::ButtonGlyphState(TvxButtonState) const { return vxbsNormal; }

void TvxUltraFlatLookAndFeelPainter::PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                      int buttonCount, int buttonIndex, TColor frameColor) const {
  const bool first = buttonIndex == 0, last = buttonIndex == buttonCount - 1;
  TRect r = vxInflatedRectBy(rect, first ? -1 : 0, -1, last ? -1 : 0, -1);
  if (state == vxbsNormal || state == vxbsDisabled) {
    Frame(canvas, r, frameColor);
    r = Inset(r);
  } else {
    // Hot and pressed buttons touch their neighbours with a highlight line.
    const TColor line = HighlightFrameColor();
    if (!first) {
      canvas->FillAreaWithColor(vxRectWithWidth(r, 1), line);
      ++r.Left;
    }
    if (!last) {
      canvas->FillAreaWithColor(vxRectWithRightAndWidth(r, r.Right, 1), line);
      --r.Right;
    }
  }
  canvas->FillAreaWithColor(r, ButtonFaceColor(state));
}

void TvxUltraFlatLookAndFeelPainter::PaintButtonFrame(TvxCanvas* canvas, const TRect& rect,
                                                      TvxButtonState state) const {
  PaintButtonFrameInColors(canvas, rect, state, clBtnShadow, clHighlight);
}

void TvxUltraFlatLookAndFeelPainter::PaintFlatButtonFrame(TvxCanvas* canvas, const TRect& rect, bool pressed,
                                                          bool hot) const {
  Frame(canvas, rect, pressed ? clBtnText : hot ? HighlightFrameColor() : clBtnShadow);
}

void TvxUltraFlatLookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                       TColor fillColor) const {
  Frame(canvas, rect, clBtnShadow);
  const TRect inner = Inset(rect);
  canvas->FillAreaWithColor(inner, fillColor == clDefault ? clBtnFace : fillColor);
  PaintExpandButtonCross(canvas, inner, expanded, clBtnText);
  canvas->ExcludeRectFromClip(rect);
}

int TvxUltraFlatLookAndFeelPainter::ExpandButtonExtent() const { return 11; }
bool TvxUltraFlatLookAndFeelPainter::CanHotTrackButtons() const { return true; }

void TvxUltraFlatLookAndFeelPainter::PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect,
                                                        TvxButtonState state) const {
  Frame(canvas, rect, clBtnText);
  Frame(canvas, Inset(rect), CheckBoxFaceColor(state));
}

void TvxUltraFlatLookAndFeelPainter::PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds,
                                                      const TRect& textBounds, TvxBorders neighbours,
                                                      TvxBorders borders, TvxButtonState state,
                                                      TAlignment horzAlignment, TTextLayout vertAlignment,
                                                      bool multiLine, bool endEllipsis, const String& text,
                                                      TFont* font, TColor textColor, TColor backgroundColor,
                                                      const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintContent(canvas, bounds, Inset(textBounds), state, horzAlignment, vertAlignment, multiLine, endEllipsis, text,
               font, textColor, backgroundColor, onDrawBackground);
  PaintHeaderFrame(canvas, Inset(bounds), neighbours, borders);
}

void TvxUltraFlatLookAndFeelPainter::PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders,
                                                      TvxBorders borders) const {
  canvas->DrawTwoToneBorders(rect, clBtnText, clBtnText, TvxBorders((borders & (Left | Top)) | Right | Bottom), 1);
}

void TvxUltraFlatLookAndFeelPainter::PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect,
                                                             TvxBorders borders, TvxButtonState state) const {
  const TColor color = state == vxbsDisabled ? clBtnShadow : clBlack;
  canvas->DrawTwoToneBorders(rect, color, color, borders, 1);
}

void TvxUltraFlatLookAndFeelPainter::PaintHeaderSectionContent(
    TvxCanvas* canvas, const TRect& rect, const TRect& textAreaBounds, TvxButtonState state,
    TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine, bool endEllipsis, const String& text,
    TFont* font, TColor textColor, TColor backgroundColor) const {
  const bool lit = state == vxbsHot || state == vxbsPressed || state == vxbsDisabled;
  canvas->FillAreaWithColor(rect, lit ? ButtonFaceColor(state) : backgroundColor);
  canvas->FontObject()->SetColor(textColor);
  // The text stays where it is when pressed: no pressed shift here.
  PaintHeaderSectionText(canvas, textAreaBounds, state, horzAlignment, vertAlignment, multiLine, endEllipsis, text,
                         font, textColor);
}

void TvxUltraFlatLookAndFeelPainter::PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const {
  PaintSortTriangle(canvas, rect, clBtnShadow, clBtnShadow, ascending);
}

TvxBorders TvxUltraFlatLookAndFeelPainter::HeaderOwnBorders(TvxBorders neighbours) const {
  TvxBorders own = TvxCustomLookAndFeelPainter::HeaderOwnBorders(neighbours);
  if (neighbours & Left) own &= TvxBorders(~Left);
  if (neighbours & Top) own &= TvxBorders(~Top);
  return own;
}

int TvxUltraFlatLookAndFeelPainter::HeaderBorderWidth() const { return 1; }
TPoint TvxUltraFlatLookAndFeelPainter::SortMarkExtent() const { return {7, 8}; }
TvxBorders TvxUltraFlatLookAndFeelPainter::LayoutViewRecordBorders(int) const { return Right | Bottom; }
int TvxUltraFlatLookAndFeelPainter::FooterBorderWidth() const { return 1; }
int TvxUltraFlatLookAndFeelPainter::FooterCellBorderWidth() const { return 1; }
int TvxUltraFlatLookAndFeelPainter::FooterCellSpacing() const { return 2; }

void TvxUltraFlatLookAndFeelPainter::PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const {
  PaintFooterPanel(canvas, rect, Right | Bottom);
}

void TvxUltraFlatLookAndFeelPainter::PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, FooterSeparatorColor());
}

void TvxUltraFlatLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect,
                                                               TvxButtonState state, bool filterActive) const {
  Frame(canvas, rect, ButtonFrameColor(state));
  const TRect inner = Inset(rect);
  canvas->FillAreaWithColor(inner, ButtonFaceColor(state));
  PaintSmallArrow(canvas, inner, filterActive ? clBlue : ButtonGlyphColor(state, clDefault));
}

TPoint TvxUltraFlatLookAndFeelPainter::FilterCloseButtonExtent() const {
  const TPoint size = TvxCustomLookAndFeelPainter::FilterCloseButtonExtent();
  return {size.X, size.Y + 1};
}

void TvxUltraFlatLookAndFeelPainter::PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge,
                                                  TvxBorders, bool vertical) const {
  // The edge away from the light (right of a horizontal tab, bottom of a
  // vertical one) is dark; the others take the hot frame colour.
  if (edge == (vertical ? bBottom : bRight)) {
    const TRect r = vertical ? rect : vxInflatedRectBy(rect, 0, 0, 0, -TabEdgeWidth(vertical));
    canvas->FillAreaWithColor(r, PlainButtonFrameColor());
  } else {
    canvas->FillAreaWithColor(rect, HotButtonFrameColor());
  }
}

void TvxUltraFlatLookAndFeelPainter::PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect,
                                                             TvxBorders borders, bool vertical) const {
  canvas->DrawFrameSides(rect, HotButtonFrameColor(), TabEdgeWidth(vertical), borders, false);
}

int TvxUltraFlatLookAndFeelPainter::TabEdgeWidth(bool) const { return 1; }

void TvxUltraFlatLookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                           TvxScrollBarPart part, TvxButtonState state) const {
  if (part == sbpPageUp || part == sbpPageDown) {
    // A page area is the shared pattern, whoever draws it.
    TvxFlatLookAndFeelPainter::Painter().PaintScrollBarElement(canvas, horizontal, rect, part, state);
    return;
  }
  if (rect.IsEmpty() || part == sbpNone || (part == sbpThumbnail && state == vxbsDisabled)) return;
  if (state == vxbsHot) state = vxbsNormal;
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
  if (part != sbpThumbnail) PaintArrowGlyph(canvas, rect, state, ScrollBarArrowDirection(horizontal, part));
}

void TvxUltraFlatLookAndFeelPainter::PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect,
                                                              TvxButtonState state) const {
  PaintPushButton(canvas, rect, "", state, state == vxbsHot || state == vxbsPressed, clDefault, clDefault, false);
}

void TvxUltraFlatLookAndFeelPainter::PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect,
                                                                const TvxAreaViewParams& viewParams,
                                                                bool horizontal) const {
  const TColor line = SchedulerFrameColor();
  FillFromViewParams(canvas, SplitterEdgeRing(canvas, rect, horizontal, line, line), viewParams);
}

void TvxUltraFlatLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int,
                                                        TvxBorders borders) const {
  canvas->DrawFrameSides(rect, state == 1 ? clHighlight : clBtnShadow, 1, borders, true);
}

void TvxUltraFlatLookAndFeelPainter::PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, clWindowText);
}

void TvxUltraFlatLookAndFeelPainter::PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                                                   std::span<const TPoint>,
                                                                   std::span<const TPoint> outerDark) const {
  PaintPolyline(canvas, light, clWindowText);
  PaintPolyline(canvas, outerDark, clWindowText);
}

void TvxUltraFlatLookAndFeelPainter::PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, clWindowText);
}

TColor TvxUltraFlatLookAndFeelPainter::SplitterGripShadowColor(bool highlighted) const {
  return highlighted ? clHighlight : clBtnShadow;
}

TSize TvxUltraFlatLookAndFeelPainter::SplitterExtent(bool horizontal) const {
  TSize size = TvxCustomLookAndFeelPainter::SplitterExtent(horizontal);
  (horizontal ? size.cy : size.cx) = 1;
  return size;
}

void TvxUltraFlatLookAndFeelPainter::PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const {
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  auto lighten = [](int c) { return uint8_t(c + (255 - c) / 3); };
  canvas->FillAreaWithColor(
      rect, RGBColor(lighten(GetRValue(shadow)), lighten(GetGValue(shadow)), lighten(GetBValue(shadow))));
}

// --- Office 2003 -------------------------------------------------------------------------

const TvxOffice11LookAndFeelPainter& TvxOffice11LookAndFeelPainter::Painter() {
  static const TvxOffice11LookAndFeelPainter painter;
  return painter;
}

TColor TvxOffice11LookAndFeelPainter::BackgroundGradientEndColor() const { return vdOffice11GradientEndColor; }
TColor TvxOffice11LookAndFeelPainter::DarkEdgeColor() const { return vdOffice11DarkLineColor; }
TColor TvxOffice11LookAndFeelPainter::LightEdgeColor() const { return vdOffice11LightLineColor; }
TColor TvxOffice11LookAndFeelPainter::BackgroundGradientMiddleColor() const {
  return vdMixColors(vdOffice11GradientBeginColor, vdOffice11GradientEndColor, 50);
}

TColor TvxOffice11LookAndFeelPainter::ButtonFrameColor(TvxButtonState state) const {
  return state == vxbsNormal ? DarkEdgeColor() : vdOffice11SelectionFrameColor;
}
TColor TvxOffice11LookAndFeelPainter::HotButtonFrameColor() const { return DarkEdgeColor(); }
TColor TvxOffice11LookAndFeelPainter::HighlightFrameColor() const { return vdOffice11SelectionFrameColor; }

TColor TvxOffice11LookAndFeelPainter::CalendarHeaderHighlightTextColor() const { return clHighlightText; }

void TvxOffice11LookAndFeelPainter::PaintContent(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                                 TvxButtonState state, TAlignment horzAlignment,
                                                 TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                 const String& text, TFont* font, TColor textColor, TColor,
                                                 const TvxDrawBackgroundEvent& onDrawBackground, bool plain) const {
  const bool hot = state == vxbsHot;
  if (!onDrawBackground || !onDrawBackground(canvas, bounds)) {
    const TColor top = hot ? TColor(vdOffice11GradientBeginColor) : BackgroundGradientMiddleColor();
    const TColor bottom = hot ? TColor(vdOffice11GradientBeginColor) : BackgroundGradientEndColor();
    if (plain) {
      canvas->FillAreaWithColor(bounds, top);
    } else {
      canvas->FillAreaWithColor(vxInflatedRectBy(bounds, 0, 0, 0, -3), top);
      vdFillRectGradient(canvas->DeviceContext(), vxRectWithVertBounds(bounds, bounds.Bottom - 4, bounds.Bottom), top,
                         bottom, false);
    }
  }
  // The text as the base writes it; clNone leaves the background alone.
  TvxCustomLookAndFeelPainter::PaintContent(canvas, bounds, textBounds, state, horzAlignment, vertAlignment,
                                            multiLine, endEllipsis, text, font, textColor, clNone, nullptr);
  if (hot) {
    // The hot line: three pixels over the bottom edge.
    vdFillRectGradient(canvas->DeviceContext(), {bounds.Left - 1, bounds.Bottom - 2, bounds.Right, bounds.Bottom + 1},
                       vdOffice11HotColor1, vdOffice11HotColor2, false);
  }
}

void TvxOffice11LookAndFeelPainter::PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect,
                                                                   const TRect& arrowRect, bool isNext,
                                                                   TvxButtonState state) const {
  const TColor face = state == vxbsHot       ? vdOffice11HotColor1
                      : state == vxbsPressed ? vdOffice11PressedColor1
                                             : vdOffice11FaceColor;
  canvas->FillAreaWithColor(rect, face);
  const TColor frame = vdOffice11SchedulerFrameColor;
  canvas->DrawTwoToneBorders(rect, frame, frame, NavigationButtonSides(isNext), 1);
  PaintSchedulerNavigationArrow(canvas, arrowRect, isNext, ButtonGlyphColor(state, clDefault));
}

TvxLookAndFeelStyle TvxOffice11LookAndFeelPainter::StyleId() const { return lfsOffice11; }
bool TvxOffice11LookAndFeelPainter::RedrawsOnResize() const { return true; }
TColor TvxOffice11LookAndFeelPainter::FilterPanelColor() const { return vdOffice11ShadowColor; }
TColor TvxOffice11LookAndFeelPainter::FilterPanelTextColor() const { return vdOffice11LightTextColor; }
TColor TvxOffice11LookAndFeelPainter::HeaderAreaColor() const { return vdOffice11FaceColor; }
TColor TvxOffice11LookAndFeelPainter::HeaderAreaTextColor() const { return HeaderTextColor(); }
TColor TvxOffice11LookAndFeelPainter::GroupByPanelColor() const { return vdOffice11HeaderShadeColor; }
TColor TvxOffice11LookAndFeelPainter::GroupByPanelTextColor() const { return vdOffice11GradientBeginColor; }
TColor TvxOffice11LookAndFeelPainter::GroupRowColor() const { return vdOffice11GroupRowColor; }
TColor TvxOffice11LookAndFeelPainter::HeaderBackgroundColor() const { return GroupByPanelColor(); }
TColor TvxOffice11LookAndFeelPainter::HeaderColor() const { return BackgroundGradientMiddleColor(); }
TColor TvxOffice11LookAndFeelPainter::CalendarHeaderColor() const { return vdOffice11FaceColor; }
TColor TvxOffice11LookAndFeelPainter::CalendarSelectedDayColor() const { return vdOffice11SelectedDayColor; }
TColor TvxOffice11LookAndFeelPainter::CalendarSelectedDayTextColor() const { return clWindowText; }
TColor TvxOffice11LookAndFeelPainter::SchedulerFrameColor() const { return vdOffice11SchedulerFrameColor; }
TColor TvxOffice11LookAndFeelPainter::SchedulerBackgroundColor() const { return vdOffice11SchedulerBackgroundColor; }
TColor TvxOffice11LookAndFeelPainter::FaceToneColor() const { return vdOffice11LightFaceColor; }
TColor TvxOffice11LookAndFeelPainter::WindowToneColor() const { return FaceToneColor(); }
TColor TvxOffice11LookAndFeelPainter::TimeGridHeaderColor() const { return vdOffice11FaceColor; }
TColor TvxOffice11LookAndFeelPainter::TimeGridBackgroundColor() const { return SchedulerBackgroundColor(); }

void TvxOffice11LookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, vdOffice11BorderColor);
}

void TvxOffice11LookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  const TRect band = vxInflatedRectBy(CenteredBand(rect, 2, vertical), 0, 0, -1, -1);
  canvas->FillAreaWithColor(band, vdOffice11DarkLineColor);
  canvas->FillAreaWithColor(vxShiftedRect(band, 1, 1), vdOffice11LightLineColor);
}

TColor TvxOffice11LookAndFeelPainter::ButtonFaceColor(TvxButtonState state) const {
  switch (state) {
    case vxbsHot:
      return vdOffice11HotColor1;
    case vxbsPressed:
      return vdOffice11PressedColor1;
    case vxbsDisabled:
      return clBtnFace;
    default:
      return vdOffice11FaceColor;
  }
}

TColor TvxOffice11LookAndFeelPainter::ButtonGlyphColor(TvxButtonState state, TColor) const {
  // A pressed face is dark only in the classic look.
  if (state == vxbsPressed && !vdIsOffice11Themed()) return clHighlightText;
  return state == vxbsDisabled ? vdOffice11DisabledGlyphColor : vdOffice11GlyphColor;
}

void TvxOffice11LookAndFeelPainter::PaintButtonFrame(TvxCanvas* canvas, const TRect& rect,
                                                     TvxButtonState state) const {
  PaintButtonFrameInColors(canvas, rect, state, vdOffice11DisabledGlyphColor, vdOffice11SelectionFrameColor);
}

void TvxOffice11LookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                      TColor) const {
  HBITMAP box = vdOffice11ExpandButtonBitmap(expanded);
  if (!box) return;
  HDC dc = canvas->DeviceContext();
  // The corners are mixed with what lies below them, after the box is down:
  // written into the shared 8-bit bitmap they would snap to its palette.
  const TColor below = TColor(GetPixel(dc, rect.Left, rect.Top));
  const TColor belowFar = TColor(GetPixel(dc, rect.Right - 1, rect.Bottom - 1));
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, box);
  BITMAP info{};
  GetObject(box, sizeof(info), &info);
  BitBlt(dc, rect.Left, rect.Top, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  const int edge = info.bmWidth - 1;
  const TColor light = vdMixColors(vdOffice11ExpandBoxLightCorner, below, 25);
  const TColor dark = vdMixColors(vdOffice11ExpandBoxDarkCorner, belowFar, 25);
  canvas->PutPixel(rect.Left, rect.Top, light);
  canvas->PutPixel(rect.Left + edge, rect.Top + edge, dark);
  canvas->PutPixel(rect.Left, rect.Top + edge, dark);
  canvas->PutPixel(rect.Left + edge, rect.Top, dark);
}

bool TvxOffice11LookAndFeelPainter::ExpandButtonPaintedFirst() const { return false; }

void TvxOffice11LookAndFeelPainter::PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                           TColor, TColor fillColor) const {
  PaintExpandButton(canvas, rect, expanded, fillColor);
}

int TvxOffice11LookAndFeelPainter::ExpandButtonExtent() const { return 11; }
int TvxOffice11LookAndFeelPainter::SmallExpandButtonExtent() const { return ExpandButtonExtent(); }

TColor TvxOffice11LookAndFeelPainter::CheckBoxFaceColor(TvxButtonState state) const {
  if (state == vxbsHot || state == vxbsPressed || state == vxbsDisabled) return ButtonFaceColor(state);
  return TvxUltraFlatLookAndFeelPainter::CheckBoxFaceColor(state);
}

void TvxOffice11LookAndFeelPainter::PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                                TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                                TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                                bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                                TColor backgroundColor, const TvxDrawBackgroundEvent&, bool isLast,
                                                bool) const {
  TvxUltraFlatLookAndFeelPainter::PaintHeader(canvas, bounds, textBounds, neighbours, borders, state, horzAlignment,
                                              vertAlignment, multiLine, endEllipsis, text, font, textColor,
                                              backgroundColor, nullptr, isLast, false);
}

void TvxOffice11LookAndFeelPainter::PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                                                     TvxBorders borders) const {
  const TColor middle = BackgroundGradientMiddleColor(), end = BackgroundGradientEndColor();
  const TColor dark = DarkEdgeColor(), light = LightEdgeColor();
  const int top = rect.Top, bottom = rect.Bottom;
  if (borders & Top) canvas->FillAreaWithColor(vxRectWithHeight(rect, 1), middle);
  if (borders & Bottom) canvas->FillAreaWithColor(vxRectWithVertBounds(rect, bottom - 1, bottom), dark);
  // The side lines stop short of the gradient at the bottom; their ends
  // are mixed so that neighbouring headers run into each other.
  if (borders & Left) {
    const int x = rect.Left;
    if (neighbours & Left) {
      canvas->PutPixel(x, top + 1, middle);
      FillColumn(canvas, x, top + 2, bottom - 4, light);
      canvas->PutPixel(x, bottom - 3, vdMixColors(middle, end, 25));
    } else {
      FillColumn(canvas, x, top + 1, bottom - 3, light);
    }
    canvas->PutPixel(x, bottom - 2, end);
  }
  if (borders & Right) {
    const int x = rect.Right - 1;
    if (neighbours & Right) {
      canvas->PutPixel(x, top + 1, middle);
      FillColumn(canvas, x, top + 2, bottom - 4, dark);
      canvas->PutPixel(x, bottom - 3, vdMixColors(middle, end, 25));
      canvas->PutPixel(x, bottom - 2, end);
    } else {
      canvas->PutPixel(x, top, vdMixColors(middle, dark, 50));
      FillColumn(canvas, x, top + 1, bottom - 3, dark);
      canvas->PutPixel(x, bottom - 2, vdMixColors(end, dark, 50));
    }
  }
}

void TvxOffice11LookAndFeelPainter::PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds,
                                                       const TRect& textAreaBounds, intptr_t sectionData,
                                                       TvxBorders borders, TvxButtonState state,
                                                       TAlignment horzAlignment, TTextLayout vertAlignment,
                                                       bool multiLine, bool endEllipsis, const String& text,
                                                       TFont* font, TColor textColor, TColor backgroundColor) const {
  PaintHeader(canvas, bounds, textAreaBounds, TvxBorders(sectionData), borders, state, horzAlignment, vertAlignment,
              multiLine, endEllipsis, text, font, textColor, backgroundColor, nullptr, false, false);
  if (state == vxbsPressed) PaintHeaderPressedLook(canvas, bounds);
}

void TvxOffice11LookAndFeelPainter::PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const {
  PaintSortTriangle(canvas, rect, DarkEdgeColor(), LightEdgeColor(), ascending);
}

TvxBorders TvxOffice11LookAndFeelPainter::HeaderOwnBorders(TvxBorders) const { return vxAllBorders; }
int TvxOffice11LookAndFeelPainter::HeaderExtraIndent() const { return 1; }

void TvxOffice11LookAndFeelPainter::PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect,
                                                                 int captionSide, int recordState) const {
  PaintLayoutViewRecordEdges(canvas, rect, recordState, vxAllBorders);
  PaintContent(canvas, rect, rect, TvxButtonState(recordState), taLeftJustify, tlTop, false, false, "", nullptr,
               clDefault, clDefault, nullptr, captionSide == 0);
}

TColor TvxOffice11LookAndFeelPainter::FooterSeparatorColor() const { return DarkEdgeColor(); }

// Scroll bars, navigator buttons and group boxes take the theme's look
// while a theme is active, so they match the system's own.
void TvxOffice11LookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                          TvxScrollBarPart part, TvxButtonState state) const {
  if (vdOpenThemeClass(tcScrollBar))
    TvxWinXPLookAndFeelPainter::Painter().PaintScrollBarElement(canvas, horizontal, rect, part, state);
  else
    TvxStandardLookAndFeelPainter::Painter().PaintScrollBarElement(canvas, horizontal, rect, part, state);
}

void TvxOffice11LookAndFeelPainter::PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect,
                                                             TvxButtonState state) const {
  TvxWinXPLookAndFeelPainter::Painter().PaintNavigatorPushButton(canvas, rect, state);
}

void TvxOffice11LookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state,
                                                       int captionPosition, TvxBorders borders) const {
  if (vdOpenThemeClass(tcButton))
    TvxWinXPLookAndFeelPainter::Painter().PaintGroupBoxFrame(canvas, rect, state, captionPosition, borders);
  else
    TvxUltraFlatLookAndFeelPainter::PaintGroupBoxFrame(canvas, rect, state, captionPosition, borders);
}

TColor TvxOffice11LookAndFeelPainter::GroupBoxCaptionTextColor(bool enabled, int captionPosition) const {
  if (vdOpenThemeClass(tcButton))
    return TvxWinXPLookAndFeelPainter::Painter().GroupBoxCaptionTextColor(enabled, captionPosition);
  return TvxCustomLookAndFeelPainter::GroupBoxCaptionTextColor(enabled, captionPosition);
}

void TvxOffice11LookAndFeelPainter::PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const {
  vdDrawOffice11SizeGrip(canvas->DeviceContext(), rect, clDefault, clDefault);
}

void TvxOffice11LookAndFeelPainter::PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect,
                                                             const String& text, TvxBorders,
                                                             const TvxViewParams& viewParams, int sideArrows,
                                                             int arrowSize,
                                                             const TvxDrawBackgroundEvent& onDrawBackground) const {
  // The caption as the base draws content: one centred line over the
  // parameters' colour.
  const TRect inner = Inset(rect);
  TvxCustomLookAndFeelPainter::PaintContent(canvas, inner, inner, vxbsNormal, taCenter, tlCenter, false, false, text,
                                            viewParams.Font, viewParams.TextColor, viewParams.Color,
                                            onDrawBackground);
  PaintSideArrows(canvas, rect, sideArrows, arrowSize, clWindowText);
}

void TvxOffice11LookAndFeelPainter::PaintSchedulerOutline(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, SchedulerFrameColor());
}

void TvxOffice11LookAndFeelPainter::PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const {
  canvas->FillAreaWithColor(rect, CalendarHeaderColor());
}

void TvxOffice11LookAndFeelPainter::PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl* control,
                                                            const TRect& rect, TColor color1, TColor color2) const {
  if (color1 == clDefault) {
    if (control) vxDrawThemeParentBackground(control, canvas, rect);
  } else if (color2 == clDefault) {
    canvas->FillAreaWithColor(rect, color1);
  } else {
    vdFillRectGradient(canvas->DeviceContext(), rect, color1, color2, false);
  }
}

void TvxOffice11LookAndFeelPainter::PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, clBtnText);
}

void TvxOffice11LookAndFeelPainter::PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                                                  std::span<const TPoint>,
                                                                  std::span<const TPoint> outerDark) const {
  PaintPolyline(canvas, light, clBtnText);
  PaintPolyline(canvas, outerDark, clBtnText);
}

void TvxOffice11LookAndFeelPainter::PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const {
  Frame(canvas, rect, clBtnText);
}

TColor TvxOffice11LookAndFeelPainter::SplitterGripHighlightColor(bool) const { return vdOffice11LightLineColor; }

TColor TvxOffice11LookAndFeelPainter::SplitterGripShadowColor(bool highlighted) const {
  return highlighted ? vdOffice11SelectionFrameColor : vdOffice11DarkLineColor;
}

TSize TvxOffice11LookAndFeelPainter::SplitterExtent(bool horizontal) const {
  // Run on the standard class: the splitter gets its two pixels back.
  return static_cast<const TvxCustomLookAndFeelPainter&>(TvxStandardLookAndFeelPainter::Painter())
      .TvxCustomLookAndFeelPainter::SplitterExtent(horizontal);
}

void TvxOffice11LookAndFeelPainter::PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const {
  vdFillRectGradient(canvas->DeviceContext(), rect, vdOffice11GradientBeginColor, vdOffice11GradientEndColor, false);
}
