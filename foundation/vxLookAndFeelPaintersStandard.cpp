// The standard painter (raised and sunken 3-D edges two pixels wide) and
// the flat painter (the same parts with one-pixel edges).
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"

using namespace vxpaint;

namespace {

// A strip of a tab's outline; both painters draw the same.
void PaintTabEdgeStrip(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders, bool vertical) {
  TRect r = rect;
  const bool hasTop = tabBorders & Top, hasBottom = tabBorders & Bottom, hasLeft = tabBorders & Left;
  TColor color;
  if (vertical) {
    if (edge == bLeft) {
      r.Top += hasTop ? 2 : 1;
      r.Bottom -= hasBottom ? 2 : 1;
      canvas->PutPixel(r.Left + 1, r.Top - 1, clBtnHighlight);
      canvas->PutPixel(r.Left + 1, r.Bottom, clBtnHighlight);
    } else if ((edge == bTop || edge == bBottom) && hasLeft) {
      ++r.Left;
    }
    color = edge == bBottom ? clBtnShadow : clBtnHighlight;
  } else {
    if (edge == bLeft || edge == bRight) {
      if (hasTop) r.Top += 2;
      if (hasBottom) --r.Bottom;
    } else if (edge == bTop) {
      ++r.Left;
      --r.Right;
      canvas->PutPixel(r.Left - 1, r.Top + 1, clBtnHighlight);
      canvas->PutPixel(r.Right, r.Top + 1, clBtnHighlight);
    }
    color = edge == bRight ? clBtnShadow : clBtnHighlight;
  }
  canvas->FillAreaWithColor(r, color);
}

void PaintHeaderCorners(TvxCanvas* canvas, const TRect& r, TvxBorders neighbours) {
  canvas->DrawEdge3D(r, false, false, vxAllBorders);
  if (neighbours & Left) {
    canvas->PutPixel(r.Left, r.Top + 1, clBtnFace);
    canvas->PutPixel(r.Left, r.Bottom - 2, clBtnFace);
  }
  if (neighbours & Right) {
    canvas->PutPixel(r.Right - 1, r.Top, clBtnHighlight);
    canvas->PutPixel(r.Right - 1, r.Top + 1, clBtnFace);
    canvas->PutPixel(r.Right - 1, r.Bottom - 2, clBtnFace);
  }
}

void PaintFilterDropDown(const TvxCustomLookAndFeelPainter& painter, TvxCanvas* canvas, const TRect& rect,
                         TvxButtonState state, bool filterActive) {
  canvas->DrawEdge3D(rect, state == vxbsPressed, state == vxbsPressed, vxAllBorders);
  const TRect inner = Inset(rect);
  canvas->FillAreaWithColor(inner, clBtnFace);
  painter.PaintSmallArrow(canvas, inner, filterActive ? clBlue : clBtnText);
}

// Page areas take the shared pattern brush (straight on the device context,
// leaving the canvas's own brush as it was).
void PaintScrollBarPage(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) {
  const RECT r = rect;
  FillRect(canvas->DeviceContext(), &r, vxScrollBarPatternBrush(state == vxbsPressed ? 1 : 0));
}

}  // namespace

// --- Standard -------------------------------------------------------------------------------

const TvxStandardLookAndFeelPainter& TvxStandardLookAndFeelPainter::Painter() {
  static const TvxStandardLookAndFeelPainter painter;
  return painter;
}

TvxLookAndFeelStyle TvxStandardLookAndFeelPainter::StyleId() const { return lfsStandard; }
TColor TvxStandardLookAndFeelPainter::SchedulerAccentColor() const { return clWindow; }
int TvxStandardLookAndFeelPainter::BorderWidth() const { return 2; }

void TvxStandardLookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  Ring(canvas, rect, clBtnShadow, clBtnHighlight);
  Ring(canvas, Inset(rect), cl3DDkShadow, cl3DLight);
}

void TvxStandardLookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  TRect band = CenteredBand(rect, BorderWidth(), vertical);
  --band.Right;
  --band.Bottom;
  canvas->FillAreaWithColor(band, clBtnShadow);
  canvas->FillAreaWithColor(vxShiftedRect(band, 1, 1), clBtnHighlight);
}

int TvxStandardLookAndFeelPainter::ButtonBorderWidth(TvxButtonState state) const {
  return state == vxbsDefault ? 3 : 2;
}

int TvxStandardLookAndFeelPainter::ButtonTextIndent() const { return 1; }
int TvxStandardLookAndFeelPainter::ButtonPressedTextShift() const { return 1; }

void TvxStandardLookAndFeelPainter::PaintButtonFrame(TvxCanvas* canvas, const TRect& rect,
                                                     TvxButtonState state) const {
  TRect r = rect;
  if (state == vxbsPressed || state == vxbsDefault) {
    canvas->DrawTwoToneBorders(r, clBlack, clBlack, vxAllBorders, 1);
    r = Inset(r);
  }
  if (state == vxbsPressed) {
    Ring(canvas, r, clBtnShadow, clBtnShadow);
    return;
  }
  Ring(canvas, r, clBtnHighlight, cl3DDkShadow);
  Ring(canvas, Inset(r), cl3DLight, clBtnShadow);
}

void TvxStandardLookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                      TColor fillColor) const {
  canvas->DrawEdge3D(rect, false, false, Left | Top);
  canvas->DrawEdge3D(rect, false, true, Right | Bottom);
  TRect r = Inset(rect);
  canvas->DrawEdge3D(r, false, false, Right | Bottom);
  --r.Right;
  --r.Bottom;
  canvas->FillAreaWithColor(r, fillColor == clDefault ? clBtnFace : fillColor);
  PaintExpandButtonCross(canvas, r, expanded, clBtnText);
  canvas->ExcludeRectFromClip(rect);
}

void TvxStandardLookAndFeelPainter::PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                           TvxButtonState state) const {
  // The group button keeps the flat look in the standard painter.
  static_cast<const TvxCustomLookAndFeelPainter&>(TvxFlatLookAndFeelPainter::Painter())
      .TvxCustomLookAndFeelPainter::PaintGroupToggleButton(canvas, rect, expanded, state);
}

int TvxStandardLookAndFeelPainter::ExpandButtonExtent() const { return 12; }
bool TvxStandardLookAndFeelPainter::CanHotTrackButtons() const { return false; }

void TvxStandardLookAndFeelPainter::PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect,
                                                       TvxButtonState) const {
  Ring(canvas, rect, cl3DDkShadow, cl3DLight);
  Ring(canvas, Inset(rect), clBtnShadow, clBtnHighlight);
}

void TvxStandardLookAndFeelPainter::PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                                                     TvxBorders) const {
  PaintHeaderCorners(canvas, rect, neighbours);
}

void TvxStandardLookAndFeelPainter::PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect,
                                                            TvxBorders borders, TvxButtonState state) const {
  if (state == vxbsPressed) {
    canvas->DrawTwoToneBorders(rect, clBtnShadow, clBtnShadow, borders, 1);
    return;
  }
  canvas->DrawTwoToneBorders(rect, clBtnHighlight, cl3DDkShadow, borders, 1);
  canvas->DrawTwoToneBorders(Inset(rect), cl3DLight, clBtnShadow, borders, 1);
}

void TvxStandardLookAndFeelPainter::PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const {
  PaintSortTriangle(canvas, rect, clBtnShadow, clBtnHighlight, ascending);
}

int TvxStandardLookAndFeelPainter::HeaderBorderWidth() const { return 1; }

int TvxStandardLookAndFeelPainter::HeaderSectionBorderWidth(TvxButtonState state) const {
  return state == vxbsPressed ? 1 : 2;
}

TPoint TvxStandardLookAndFeelPainter::SortMarkExtent() const { return {8, 7}; }
int TvxStandardLookAndFeelPainter::FooterBorderWidth() const { return 1; }
int TvxStandardLookAndFeelPainter::FooterCellBorderWidth() const { return 1; }
int TvxStandardLookAndFeelPainter::FooterCellSpacing() const { return 1; }

void TvxStandardLookAndFeelPainter::PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const {
  canvas->DrawEdge3D(rect, false, false, vxAllBorders);
}

void TvxStandardLookAndFeelPainter::PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const {
  canvas->DrawEdge3D(rect, true, true, vxAllBorders);
}

void TvxStandardLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect,
                                                              TvxButtonState state, bool filterActive) const {
  PaintFilterDropDown(*this, canvas, rect, state, filterActive);
}

void TvxStandardLookAndFeelPainter::PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge,
                                                 TvxBorders tabBorders, bool vertical) const {
  PaintTabEdgeStrip(canvas, rect, edge, tabBorders, vertical);
}

void TvxStandardLookAndFeelPainter::PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                            bool) const {
  canvas->DrawEdge3D(rect, false, false, borders);
}

int TvxStandardLookAndFeelPainter::TabEdgeWidth(bool) const { return 1; }

void TvxStandardLookAndFeelPainter::PaintScrollButtonBorder(TvxCanvas* canvas, const TRect& rect,
                                                            TvxScrollBarPart part, TvxButtonState state) const {
  if (part != sbpThumbnail && state == vxbsPressed) {
    Ring(canvas, rect, clBtnShadow, clBtnShadow);
    Ring(canvas, Inset(rect), clBtnFace, clBtnFace);
  } else {
    Ring(canvas, rect, clBtnFace, cl3DDkShadow);
    Ring(canvas, Inset(rect), clBtnHighlight, clBtnShadow);
  }
}

void TvxStandardLookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                          TvxScrollBarPart part, TvxButtonState state) const {
  if (rect.IsEmpty() || (part == sbpThumbnail && state == vxbsDisabled)) return;
  if (state == vxbsHot) state = vxbsNormal;
  switch (part) {
    case sbpLineUp:
    case sbpLineDown: {
      const bool pressed = state == vxbsPressed;
      const TRect r = pressed ? vxShiftedRect(rect, 1, 1) : rect;
      UINT kind = horizontal ? (part == sbpLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                             : (part == sbpLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
      if (state == vxbsDisabled) kind |= DFCS_INACTIVE;
      if (pressed) kind |= DFCS_FLAT;
      RECT frame = r;
      DrawFrameControl(canvas->DeviceContext(), &frame, DFC_SCROLL, kind);
      PaintScrollButtonBorder(canvas, rect, part, state);
      break;
    }
    case sbpThumbnail: {
      PaintScrollButtonBorder(canvas, rect, part, state);
      canvas->FillAreaWithColor(Inset(rect, ButtonBorderWidth(vxbsNormal)), clBtnFace);
      break;
    }
    case sbpPageUp:
    case sbpPageDown:
      PaintScrollBarPage(canvas, rect, state);
      break;
    default:
      break;
  }
}

void TvxStandardLookAndFeelPainter::PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect,
                                                             const String& text, TvxBorders neighbours,
                                                             const TvxViewParams& viewParams, int sideArrows,
                                                             int arrowSize,
                                                             const TvxDrawBackgroundEvent& onDrawBackground) const {
  TvxBorders frame = vxAllBorders;
  if (neighbours & Left) frame &= ~Left;
  if (neighbours & Right) frame &= ~Right;
  canvas->DrawTwoToneBorders(rect, clBlack, clBlack, frame, 1);
  const TRect inner = HeaderContentBounds(rect, frame);
  PaintHeader(canvas, inner, inner, neighbours, vxAllBorders, vxbsNormal, taCenter, tlCenter, false, false, text,
              viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground);
  PaintSideArrows(canvas, rect, sideArrows, arrowSize, clWindowText);
}

void TvxStandardLookAndFeelPainter::PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect,
                                                               const TvxAreaViewParams& viewParams,
                                                               bool horizontal) const {
  TRect r = SplitterEdgeRing(canvas, rect, horizontal, clBtnFace, cl3DDkShadow);
  r = SplitterEdgeRing(canvas, r, horizontal, clBtnHighlight, clBtnShadow);
  FillFromViewParams(canvas, r, viewParams);
}

void TvxStandardLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int, int,
                                                       TvxBorders borders) const {
  const TRect r = vxInflatedRectBy(rect, 0, 0, -1, -1);
  canvas->DrawFrameSides(r, clBtnShadow, 1, borders, true);
  canvas->DrawFrameSides(vxShiftedRect(r, 1, 1), clBtnHighlight, 1, borders, true);
}

void TvxStandardLookAndFeelPainter::PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const {
  Ring(canvas, rect, clBtnShadow, clBtnHighlight);
  Ring(canvas, Inset(rect), cl3DDkShadow, cl3DLight);
}

void TvxStandardLookAndFeelPainter::PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                                                  std::span<const TPoint> innerDark,
                                                                  std::span<const TPoint> outerDark) const {
  PaintPolyline(canvas, light, clBtnHighlight);
  PaintPolyline(canvas, innerDark, clBtnShadow);
  PaintPolyline(canvas, outerDark, cl3DDkShadow);
}

void TvxStandardLookAndFeelPainter::PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const {
  Ring(canvas, rect, clBtnHighlight, cl3DDkShadow);
  Ring(canvas, Inset(rect), cl3DLight, clBtnShadow);
}

// --- Flat ---------------------------------------------------------------------------------------

const TvxFlatLookAndFeelPainter& TvxFlatLookAndFeelPainter::Painter() {
  static const TvxFlatLookAndFeelPainter painter;
  return painter;
}

TvxLookAndFeelStyle TvxFlatLookAndFeelPainter::StyleId() const { return lfsFlat; }
int TvxFlatLookAndFeelPainter::BorderWidth() const { return 1; }

void TvxFlatLookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  canvas->DrawEdge3D(rect, true, true, vxAllBorders);
}

void TvxFlatLookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  // Run on the standard painter, so the separator keeps its two pixels.
  TvxStandardLookAndFeelPainter::Painter().PaintSeparator(canvas, rect, vertical);
}

int TvxFlatLookAndFeelPainter::ButtonBorderWidth(TvxButtonState state) const { return state == vxbsDefault ? 2 : 1; }
int TvxFlatLookAndFeelPainter::ButtonTextIndent() const { return 1; }
int TvxFlatLookAndFeelPainter::ButtonPressedTextShift() const { return 1; }

void TvxFlatLookAndFeelPainter::PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const {
  if (state == vxbsPressed) {
    Ring(canvas, rect, clBtnShadow, clBtnHighlight);
  } else if (state == vxbsDefault) {
    canvas->DrawTwoToneBorders(rect, clBlack, clBlack, vxAllBorders, 1);
    Ring(canvas, Inset(rect), clBtnHighlight, clBtnShadow);
  } else {
    Ring(canvas, rect, clBtnHighlight, clBtnShadow);
  }
}

void TvxFlatLookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                  TColor fillColor) const {
  PaintPushButton(canvas, rect, "", vxbsNormal, true, fillColor, clDefault, false);
  PaintExpandButtonCross(canvas, Inset(rect), expanded, clBtnText);
  canvas->ExcludeRectFromClip(rect);
}

int TvxFlatLookAndFeelPainter::ExpandButtonExtent() const { return 11; }
bool TvxFlatLookAndFeelPainter::CanHotTrackButtons() const { return false; }

void TvxFlatLookAndFeelPainter::PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect,
                                                   TvxButtonState state) const {
  canvas->DrawEdge3D(rect, true, true, vxAllBorders);
  canvas->DrawTwoToneBorders(Inset(rect), CheckBoxFaceColor(state), CheckBoxFaceColor(state), vxAllBorders, 1);
}

void TvxFlatLookAndFeelPainter::PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                                                 TvxBorders) const {
  PaintHeaderCorners(canvas, rect, neighbours);
}

void TvxFlatLookAndFeelPainter::PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                        TvxButtonState state) const {
  if (state == vxbsPressed)
    canvas->DrawTwoToneBorders(rect, clBtnShadow, clBtnHighlight, borders, 1);
  else
    canvas->DrawTwoToneBorders(rect, clBtnHighlight, clBtnShadow, borders, 1);
}

void TvxFlatLookAndFeelPainter::PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const {
  PaintSortTriangle(canvas, rect, clBtnShadow, clBtnHighlight, ascending);
}

int TvxFlatLookAndFeelPainter::HeaderBorderWidth() const { return 1; }
TPoint TvxFlatLookAndFeelPainter::SortMarkExtent() const { return {8, 7}; }
int TvxFlatLookAndFeelPainter::FooterBorderWidth() const { return 1; }
int TvxFlatLookAndFeelPainter::FooterCellBorderWidth() const { return 1; }
int TvxFlatLookAndFeelPainter::FooterCellSpacing() const { return 1; }

void TvxFlatLookAndFeelPainter::PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const {
  canvas->DrawEdge3D(rect, false, false, vxAllBorders);
}

void TvxFlatLookAndFeelPainter::PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const {
  canvas->DrawEdge3D(rect, true, true, vxAllBorders);
}

void TvxFlatLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect,
                                                          TvxButtonState state, bool filterActive) const {
  PaintFilterDropDown(*this, canvas, rect, state, filterActive);
}

void TvxFlatLookAndFeelPainter::PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge,
                                             TvxBorders tabBorders, bool vertical) const {
  PaintTabEdgeStrip(canvas, rect, edge, tabBorders, vertical);
}

void TvxFlatLookAndFeelPainter::PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                        bool) const {
  canvas->DrawEdge3D(rect, false, false, borders);
}

int TvxFlatLookAndFeelPainter::TabEdgeWidth(bool) const { return 1; }

void TvxFlatLookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                      TvxScrollBarPart part, TvxButtonState state) const {
  if (rect.IsEmpty() || (part == sbpThumbnail && state == vxbsDisabled)) return;
  if (state == vxbsHot) state = vxbsNormal;
  if (part == sbpPageUp || part == sbpPageDown) {
    PaintScrollBarPage(canvas, rect, state);
    return;
  }
  if (part == sbpNone) return;
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
  if (part != sbpThumbnail)
    PaintArrowGlyph(canvas, Inset(rect, ButtonBorderWidth(vxbsNormal)), state,
                    ScrollBarArrowDirection(horizontal, part));
}

void TvxFlatLookAndFeelPainter::PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect,
                                                           const TvxAreaViewParams& viewParams,
                                                           bool horizontal) const {
  FillFromViewParams(canvas, SplitterEdgeRing(canvas, rect, horizontal, clBtnHighlight, clBtnShadow), viewParams);
}

void TvxFlatLookAndFeelPainter::PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const {
  canvas->FillAreaWithColor(rect, CalendarHeaderColor());
  canvas->DrawTwoToneBorders(rect, clBtnFace, clBtnFace, Bottom, 1);
  --rect.Bottom;
}

void TvxFlatLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int, int,
                                                   TvxBorders borders) const {
  canvas->DrawFrameSides(rect, clBtnShadow, 1, borders, true);
  canvas->DrawFrameSides(Inset(rect), clBtnHighlight, 1, borders, true);
}

void TvxFlatLookAndFeelPainter::PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const {
  Ring(canvas, rect, clBtnShadow, clBtnHighlight);
  Ring(canvas, Inset(rect), clBtnFace, clBtnFace);
}

void TvxFlatLookAndFeelPainter::PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                                              std::span<const TPoint>,
                                                              std::span<const TPoint> outerDark) const {
  PaintPolyline(canvas, light, clBtnHighlight);
  PaintPolyline(canvas, outerDark, clBtnShadow);
}

void TvxFlatLookAndFeelPainter::PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const {
  Ring(canvas, rect, clBtnHighlight, clBtnShadow);
}

TColor TvxFlatLookAndFeelPainter::SplitterGripShadowColor(bool highlighted) const {
  return highlighted ? cl3DDkShadow : clBtnShadow;
}
