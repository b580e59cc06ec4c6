// The painter interface's own implementations: neutral sizes and colours,
// empty frames, and the composite operations that call the frame, bounds
// and content operations of the painter they run on, so that a descendant
// changes a single step. A few parts (arrows, check marks, the clock face,
// the progress text, track-bar thumbs, splitter grips, the print-preview
// page) are drawn by the base itself.
#include "foundation/vxLookAndFeelPainters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/vdCore.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxImageList.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"

TvxLookAndFeelKind vxKindOfPainterStyle(TvxLookAndFeelStyle style) {
  switch (style) {
    case lfsFlat: return lfFlat;
    case lfsUltraFlat: return lfUltraFlat;
    case lfsOffice11: return lfOffice11;
    default: return lfStandard;
  }
}

TvxTextFlags vxHorzAlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return vxtfAlignRight;
    case taCenter: return vxtfAlignHCenter;
    default: return vxtfAlignLeft;
  }
}

TvxTextFlags vxVertAlignmentFlags(TTextLayout alignment) {
  switch (alignment) {
    case tlBottom: return vxtfAlignBottom;
    case tlCenter: return vxtfAlignVCenter;
    default: return vxtfAlignTop;
  }
}

using namespace vxpaint;

const TvxCustomLookAndFeelPainter& TvxCustomLookAndFeelPainter::Painter() {
  static const TvxCustomLookAndFeelPainter painter;
  return painter;
}

// --- Colours and general operations (0-89) ---------------------------------------

TColor TvxCustomLookAndFeelPainter::CalendarHeaderHighlightTextColor() const {
  return vdOSFlags().VistaUp ? TColor(0xCC6600) : clHighlightText;
}

void TvxCustomLookAndFeelPainter::PaintBackground(TvxCanvas* canvas, const TRect& rect, bool transparent,
                                                  TColor color, TBitmap* bitmap) const {
  if (!transparent)
    canvas->FillAreaWithColor(rect, color);
  else if (bitmap)
    canvas->FillAreaWithBitmap(rect, bitmap, false);
}

void TvxCustomLookAndFeelPainter::PaintSmallArrow(TvxCanvas* canvas, const TRect& rect, TColor color) const {
  int width = rect.Width() / 2;
  if (width % 2 == 0) ++width;
  const int height = width / 2 + 1;
  const int x = (rect.Left + rect.Right - width) / 2;
  const int y = HalfRounded(rect.Top + rect.Bottom - height);
  const TPoint points[3] = {{x, y}, {x + width - 1, y}, {x + width / 2, y + height - 1}};
  FillPolygonInColor(canvas, points, 3, color);
}

void TvxCustomLookAndFeelPainter::PaintContent(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                               TvxButtonState, TAlignment horzAlignment,
                                               TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                               const String& text, TFont* font, TColor textColor,
                                               TColor backgroundColor,
                                               const TvxDrawBackgroundEvent& onDrawBackground, bool) const {
  if (!onDrawBackground || !onDrawBackground(canvas, bounds)) canvas->FillAreaWithColor(bounds, backgroundColor);
  if (text.empty()) return;
  UseFont(canvas, font, textColor);
  TransparentText transparent(canvas);
  canvas->OutputText(text, textBounds, ContentTextFlags(horzAlignment, vertAlignment, multiLine, endEllipsis));
}

void TvxCustomLookAndFeelPainter::PaintFooterPanel(TvxCanvas* canvas, const TRect& rect, TvxBorders) const {
  const int separator = FooterSeparatorHeight();
  PaintFooterSeparator(canvas, vxRectWithHeight(rect, separator));
  PaintFooterFrame(canvas, vxRectWithVertBounds(rect, rect.Top + separator, rect.Bottom));
}

void TvxCustomLookAndFeelPainter::PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect,
                                                                 const TRect& arrowRect, bool isNext,
                                                                 TvxButtonState state) const {
  const TvxBorders sides = isNext ? (Left | Top | Bottom) : (Top | Right | Bottom);
  canvas->FillAreaWithColor(rect, clBtnFace);
  canvas->DrawTwoToneBorders(rect, clBtnShadow, clBtnShadow, sides, 1);
  TRect r = vxInflatedRect(rect, 0, -1);
  if (isNext)
    ++r.Left;
  else
    --r.Right;
  if (state == vxbsPressed)
    canvas->DrawTwoToneBorders(r, clBtnShadow, clBtnHighlight, sides, 1);
  else
    canvas->DrawTwoToneBorders(r, clBtnHighlight, clBtnFace, sides, 1);
  PaintSchedulerNavigationArrow(canvas, arrowRect, isNext, ButtonGlyphColor(state, clDefault));
}

TRect TvxCustomLookAndFeelPainter::FooterCellContentBounds(const TRect& rect) const {
  const int w = FooterCellBorderWidth();
  return vxInflatedRect(rect, -w, -w);
}

TRect TvxCustomLookAndFeelPainter::FooterCellTextBounds(const TRect& rect) const {
  return vxInflatedRect(FooterCellContentBounds(rect), -2, -2);
}

TRect TvxCustomLookAndFeelPainter::CenteredBand(const TRect& rect, int thickness, bool vertical) const {
  const TPoint centre = vxRectCenterPoint(rect);
  TRect band = rect;
  if (vertical) {
    band.Left = centre.X - thickness / 2;
    band.Right = band.Left + thickness;
  } else {
    band.Top = centre.Y - thickness / 2;
    band.Bottom = band.Top + thickness;
  }
  return band;
}

TvxLookAndFeelStyle TvxCustomLookAndFeelPainter::StyleId() const { return lfsStandard; }
bool TvxCustomLookAndFeelPainter::RedrawsOnResize() const { return false; }
TColor TvxCustomLookAndFeelPainter::ContentColor() const { return clWindow; }
TColor TvxCustomLookAndFeelPainter::ContentEvenColor() const { return ContentColor(); }
TColor TvxCustomLookAndFeelPainter::ContentOddColor() const { return ContentColor(); }
TColor TvxCustomLookAndFeelPainter::ContentTextColor() const { return clWindowText; }

TColor TvxCustomLookAndFeelPainter::EditorBackgroundColorForState(bool disabled) const {
  return EditorBackgroundColor(disabled ? eckDisabled : eckNormal);
}

TColor TvxCustomLookAndFeelPainter::EditorBackgroundColor(TvxEditorColorKind) const { return clDefault; }

TColor TvxCustomLookAndFeelPainter::EditorTextColorForState(bool disabled) const {
  return EditorTextColor(disabled ? eckDisabled : eckNormal);
}

TColor TvxCustomLookAndFeelPainter::EditorTextColor(TvxEditorColorKind) const { return clDefault; }
TColor TvxCustomLookAndFeelPainter::FilterPanelColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::FilterPanelTextColor() const { return clBtnHighlight; }
TColor TvxCustomLookAndFeelPainter::GridFixedLineColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::HeaderAreaColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::HeaderAreaTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::GridBackgroundColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::GridLineColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::GroupByPanelColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::GroupByPanelTextColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::GroupRowColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::GroupRowTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::HeaderBackgroundColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::HeaderBackgroundTextColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::HeaderColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::HeaderTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::HyperLinkTextColor() const { return clBlue; }
TColor TvxCustomLookAndFeelPainter::AuxiliaryColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::AuxiliaryTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::AlternateLinkTextColor() const { return clBlue; }
TColor TvxCustomLookAndFeelPainter::VerticalGridFixedLineColor() const { return GridLineColor(); }
TColor TvxCustomLookAndFeelPainter::VerticalGridBackgroundColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::VerticalGridBandBorderColor() const { return VerticalGridLineColor(); }
TColor TvxCustomLookAndFeelPainter::VerticalGridCategoryColor() const { return HeaderColor(); }
TColor TvxCustomLookAndFeelPainter::VerticalGridCategoryTextColor() const { return clDefault; }
TColor TvxCustomLookAndFeelPainter::VerticalGridRowHeaderColor() const { return HeaderColor(); }
TColor TvxCustomLookAndFeelPainter::VerticalGridRowHeaderTextColor() const { return HeaderTextColor(); }
TColor TvxCustomLookAndFeelPainter::VerticalGridLineColor() const { return clBlack; }

TColor TvxCustomLookAndFeelPainter::CalendarContentColor() const {
  const TColor editor = EditorBackgroundColorForState(false);
  return editor != clDefault ? editor : ContentColor();
}

TColor TvxCustomLookAndFeelPainter::CalendarHeaderColor() const { return clBtnFace; }

TColor TvxCustomLookAndFeelPainter::CalendarHeaderTextColor(bool highlighted) const {
  return highlighted ? CalendarHeaderHighlightTextColor() : HeaderTextColor();
}

TColor TvxCustomLookAndFeelPainter::CalendarHolidayTextColor() const { return clRed; }
TColor TvxCustomLookAndFeelPainter::CalendarInactiveDayTextColor() const { return clGrayText; }
TColor TvxCustomLookAndFeelPainter::CalendarSelectedDayColor() const { return clHighlight; }
TColor TvxCustomLookAndFeelPainter::CalendarSelectedDayTextColor() const { return clHighlightText; }
TColor TvxCustomLookAndFeelPainter::CalendarSeparatorColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::CalendarDayColor() const { return clWindow; }
TColor TvxCustomLookAndFeelPainter::CalendarDayTextColor() const { return clWindowText; }
TColor TvxCustomLookAndFeelPainter::CalendarTodayFrameColor() const { return clMaroon; }
TColor TvxCustomLookAndFeelPainter::CalendarTodayTextColor() const { return clNavy; }
TColor TvxCustomLookAndFeelPainter::SchedulerContentColor() const { return clWindow; }
TColor TvxCustomLookAndFeelPainter::SchedulerContentTextColor() const { return clWindowText; }
TColor TvxCustomLookAndFeelPainter::SchedulerFrameColor() const { return 0x9D9DA1; }
TColor TvxCustomLookAndFeelPainter::SchedulerBackgroundColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::SchedulerNavigatorColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::TimeRulerColor() const { return HeaderColor(); }
TColor TvxCustomLookAndFeelPainter::TimeRulerTextColor() const { return HeaderTextColor(); }
TColor TvxCustomLookAndFeelPainter::SchedulerAccentColor() const { return 0xD5FFFF; }
TColor TvxCustomLookAndFeelPainter::SelectedAppointmentTextColor() const { return SelectionTextColor(); }
TColor TvxCustomLookAndFeelPainter::AppointmentTextColor() const { return clWindowText; }
TColor TvxCustomLookAndFeelPainter::SelectionColor() const { return clHighlight; }
TColor TvxCustomLookAndFeelPainter::SelectionTextColor() const { return clHighlightText; }
TColor TvxCustomLookAndFeelPainter::CardSeparatorColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::FaceToneColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::FaceToneTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::WindowToneColor() const { return clWindow; }
TColor TvxCustomLookAndFeelPainter::FaceToneAltColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::WhiteToneColor() const { return clWhite; }
TColor TvxCustomLookAndFeelPainter::TimeGridHeaderTextColor() const { return clBlack; }
TColor TvxCustomLookAndFeelPainter::TimeGridHeaderColor() const { return clBtnFace; }
TColor TvxCustomLookAndFeelPainter::TimeGridHeaderAlternateTextColor() const { return clBtnText; }
TColor TvxCustomLookAndFeelPainter::TimeGridBackgroundColor() const { return clWhite; }
TColor TvxCustomLookAndFeelPainter::BlackToneColor() const { return clBlack; }
TColor TvxCustomLookAndFeelPainter::BlackToneTextColor() const { return clBlack; }
TColor TvxCustomLookAndFeelPainter::BlackToneLineColor() const { return clBlack; }
TColor TvxCustomLookAndFeelPainter::SilverToneColor() const { return 0xCFCFCF; }
TColor TvxCustomLookAndFeelPainter::WhiteToneAltColor() const { return clWhite; }
TColor TvxCustomLookAndFeelPainter::ShadowToneColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::SkyToneColor() const { return 0xF0CAA6; }
TColor TvxCustomLookAndFeelPainter::NavyToneColor() const { return clNavy; }
TColor TvxCustomLookAndFeelPainter::ShadowToneAltColor() const { return clBtnShadow; }
TColor TvxCustomLookAndFeelPainter::ShadowToneLineColor() const { return clBtnShadow; }

// --- Arrows (90-93) --------------------------------------------------------------------

void TvxCustomLookAndFeelPainter::CalcArrowTriangle(const TRect& rect, TPoint (&points)[3],
                                                    TvxArrowDirection direction, bool proportional, int size) {
  TRect r = rect;
  if (proportional) {
    const int difference = r.Width() - r.Height();
    if (difference > 0)
      r = vxInflatedRect(r, -(difference / 2), 0);
    else
      r = vxInflatedRect(r, 0, -(-difference / 2));
  }
  const bool vertical = direction == adUp || direction == adDown;
  const int s = size > 0 ? size : (vertical ? (r.Width() - 1) / 4 + 1 : (r.Height() - 1) / 4 + 1);
  const int span = 2 * s - 1;
  if (vertical) {
    const int x = (r.Left + r.Right - span) / 2, apexX = (r.Left + r.Right - 1) / 2;
    const int y = HalfRounded(r.Top + r.Bottom - s);
    if (direction == adUp) {
      points[0] = {apexX, y};
      points[1] = {x, y + s - 1};
      points[2] = {x + span - 1, y + s - 1};
    } else {
      points[0] = {x, y};
      points[1] = {x + span - 1, y};
      points[2] = {apexX, y + s - 1};
    }
  } else {
    const int y = (r.Top + r.Bottom - span) / 2, apexY = (r.Top + r.Bottom - 1) / 2;
    const int x = HalfRounded(r.Left + r.Right - s);
    if (direction == adLeft) {
      points[0] = {x, apexY};
      points[1] = {x + s - 1, y};
      points[2] = {x + s - 1, y + span - 1};
    } else {
      points[0] = {x, y};
      points[1] = {x, y + span - 1};
      points[2] = {x + s - 1, apexY};
    }
  }
}

void TvxCustomLookAndFeelPainter::PaintArrow(TvxCanvas* canvas, const TRect& rect, TvxArrowDirection direction,
                                             TColor color) const {
  TPoint points[3];
  CalcArrowTriangle(rect, points, direction, true);
  FillPolygonInColor(canvas, points, 3, color);
}

void TvxCustomLookAndFeelPainter::PaintArrowButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                   TvxArrowDirection direction, bool framed) const {
  if (framed)
    PaintArrowButtonFace(canvas, rect, state);
  else
    canvas->FillAreaWithColor(rect, ButtonFaceColor(state));
  TPoint points[3];
  CalcArrowTriangle(rect, points, direction, false);
  FillPolygonInColor(canvas, points, 3, ButtonGlyphColor(state, clDefault));
}

void TvxCustomLookAndFeelPainter::PaintArrowButtonFace(TvxCanvas* canvas, const TRect& rect,
                                                       TvxButtonState state) const {
  canvas->BrushObject()->SetStyle(bsSolid);
  canvas->FillAreaWithColor(rect, ButtonFaceColor(state));
  PaintButtonFrame(canvas, rect, state);
}

void TvxCustomLookAndFeelPainter::PaintArrowGlyph(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                  TvxArrowDirection direction) const {
  TRect r = rect;
  if (state == vxbsPressed) {
    const int shift = ButtonPressedTextShift();
    r = vxShiftedRect(r, shift, shift);
  }
  TPoint points[3];
  CalcArrowTriangle(r, points, direction, true);
  if (state == vxbsDisabled) {
    TPoint embossed[3];
    for (int i = 0; i < 3; ++i) embossed[i] = {points[i].X + 1, points[i].Y + 1};
    FillPolygonInColor(canvas, embossed, 3, clBtnHighlight);
    FillPolygonInColor(canvas, points, 3, clBtnShadow);
  } else {
    FillPolygonInColor(canvas, points, 3, ButtonGlyphColor(state, clDefault));
  }
}

// --- Borders, push buttons (94-109) ---------------------------------------------------

int TvxCustomLookAndFeelPainter::BorderWidth() const { return 0; }
void TvxCustomLookAndFeelPainter::PaintBorder(TvxCanvas*, const TRect&) const {}
void TvxCustomLookAndFeelPainter::PaintSeparator(TvxCanvas*, const TRect&, bool) const {}

TRect TvxCustomLookAndFeelPainter::GroupedButtonContentBounds(const TRect& rect, int, int) const { return rect; }
int TvxCustomLookAndFeelPainter::ButtonBorderWidth(TvxButtonState) const { return 0; }
TColor TvxCustomLookAndFeelPainter::ButtonFaceColor(TvxButtonState) const { return clBtnFace; }

TRect TvxCustomLookAndFeelPainter::ButtonFocusBounds(TvxCanvas*, const TRect& rect) const {
  const TRect inner = vxInflatedRect(rect, -4, -4);
  return inner.IsEmpty() ? rect : inner;
}

TRect TvxCustomLookAndFeelPainter::ButtonGroupBorderWidths(int, int) const {
  const int w = ButtonBorderWidth(vxbsNormal);
  return {w, w, w, w};
}

int TvxCustomLookAndFeelPainter::ButtonTextIndent() const { return 0; }
int TvxCustomLookAndFeelPainter::ButtonPressedTextShift() const { return 0; }

TColor TvxCustomLookAndFeelPainter::ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const {
  if (state == vxbsDisabled) return clBtnShadow;
  return defaultColor == clDefault ? clBtnText : defaultColor;
}

TvxButtonState TvxCustomLookAndFeelPainter::ButtonGlyphState(TvxButtonState state) const { return state; }

void TvxCustomLookAndFeelPainter::PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption,
                                                  TvxButtonState state, bool drawFrame, TColor faceColor,
                                                  TColor textColor, bool wordWrap, bool) const {
  TRect r = rect;
  if (drawFrame) {
    PaintButtonFrame(canvas, r, state);
    const int w = ButtonBorderWidth(state);
    r = vxInflatedRect(r, -w, -w);
  }
  canvas->FillAreaWithColor(r, faceColor == clDefault ? ButtonFaceColor(state) : faceColor);
  PaintPushButtonCaption(canvas, r, caption, state, textColor, wordWrap);
}

void TvxCustomLookAndFeelPainter::PaintPushButtonCaption(TvxCanvas* canvas, TRect r, const String& caption,
                                                         TvxButtonState state, TColor textColor,
                                                         bool wordWrap) const {
  UseFont(canvas, nullptr, textColor == clDefault ? ButtonGlyphColor(state, clDefault) : textColor);
  TransparentText transparent(canvas);
  // The text sits on an even height; a short button lifts it by a pixel
  // so that it does not look low.
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) --r.Top;
  if (state == vxbsPressed) {
    const int shift = ButtonPressedTextShift();
    r = vxShiftedRect(r, shift, shift);
  }
  if (!caption.empty())
    canvas->OutputText(caption, r,
                       TvxTextFlags(vxtfAlignHCenter | vxtfAlignVCenter | vxtfShowPrefix |
                                    (wordWrap ? vxtfWordBreak : vxtfSingleLine)),
                       state != vxbsDisabled);
}

void TvxCustomLookAndFeelPainter::PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, int,
                                                   int, TColor) const {
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
}

void TvxCustomLookAndFeelPainter::PaintButtonFrame(TvxCanvas*, const TRect&, TvxButtonState) const {}
void TvxCustomLookAndFeelPainter::PaintFlatButtonFrame(TvxCanvas*, const TRect&, bool, bool) const {}

// --- Expand and group toggle buttons (110-119) ----------------------------------------

void TvxCustomLookAndFeelPainter::PaintExpandButton(TvxCanvas*, const TRect&, bool, TColor) const {}

void TvxCustomLookAndFeelPainter::PaintChevronButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                     bool expanded, TvxRotation rotation) const {
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
  const bool quarterTurn = rotation == raPlus90 || rotation == raMinus90;
  TvxBitmap bitmap(quarterTurn ? rect.Height() : rect.Width(), quarterTurn ? rect.Width() : rect.Height());
  TvxCanvas* bitmapCanvas = bitmap.VxCanvas();
  bitmapCanvas->FillAreaWithColor(bitmap.GetFullRect(), ButtonFaceColor(state));
  PaintGroupToggleMark(bitmapCanvas, bitmap.GetFullRect(), expanded, state);
  bitmap.RotatePixels(rotation, false);
  vxDrawGlyphOrImage(canvas->DeviceContext(), rect, rect, false, clNone, nullptr, false, vxgdmNormal, -1, nullptr,
                     &bitmap);
}

bool TvxCustomLookAndFeelPainter::ExpandButtonPaintedFirst() const { return true; }

void TvxCustomLookAndFeelPainter::PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                         TvxButtonState state) const {
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
  PaintGroupToggleMark(canvas, rect, expanded, state);
}

void TvxCustomLookAndFeelPainter::PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                         TColor frameColor, TColor fillColor) const {
  canvas->DrawTwoToneBorders(rect, frameColor, frameColor, vxAllBorders, 1);
  if (fillColor != clDefault) canvas->FillAreaWithColor(vxInflatedRect(rect, -1, -1), fillColor);
  PaintExpandButtonCross(canvas, rect, expanded, clBtnText);
}

int TvxCustomLookAndFeelPainter::ExpandButtonExtent() const { return 0; }
int TvxCustomLookAndFeelPainter::GroupToggleButtonExtent() const { return 15; }
bool TvxCustomLookAndFeelPainter::CanHotTrackButtons() const { return false; }

bool TvxCustomLookAndFeelPainter::IsPointOnGroupToggleButton(const TRect& rect, const TPoint& point) const {
  return rect.Contains(point);
}

int TvxCustomLookAndFeelPainter::SmallExpandButtonExtent() const { return 9; }

void TvxCustomLookAndFeelPainter::PaintExpandButtonCross(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                         TColor color) const {
  const int cx = (rect.Left + rect.Right - 1) / 2, cy = (rect.Top + rect.Bottom - 1) / 2;
  const int half = (rect.Width() - 4) / 2;
  canvas->FillAreaWithColor({cx - half, cy, cx + half + 1, cy + 1}, color);
  if (!expanded) canvas->FillAreaWithColor({cx, cy - half, cx + 1, cy + half + 1}, color);
}

void TvxCustomLookAndFeelPainter::PaintGroupToggleMark(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                       TvxButtonState state) const {
  // Two double chevrons: strokes seven pixels wide and four high (apex and
  // three-pixel arms) whose top rows lie at r, r + 1, r + 4 and r + 5.
  constexpr int kArm = 3;
  canvas->PenObject()->SetColor(ButtonGlyphColor(state, clDefault));
  const int x = (rect.Left + rect.Right - 7) / 2;
  const int r = (rect.Top + rect.Bottom - (6 + kArm)) / 2;
  for (int row : {r, r + 1, r + 4, r + 5}) {
    const int apexY = expanded ? row : row + kArm, endY = expanded ? row + kArm : row;
    DrawLine(canvas, x, endY, x + kArm, apexY);
    DrawLine(canvas, x + kArm, apexY, x + 2 * kArm + 1, expanded ? endY + 1 : endY - 1);
  }
}

void TvxCustomLookAndFeelPainter::PaintButtonCross(TvxCanvas* canvas, const TRect& rect, TColor color,
                                                   TvxButtonState state) const {
  int n = FilterCloseButtonExtent().X / 2;
  if (n % 2 == 0) --n;
  canvas->PenObject()->SetColor(color);
  for (int k = 0; k < 2; ++k) {
    int x = (rect.Left + rect.Right - n) / 2 + k, y = (rect.Top + rect.Bottom - n) / 2;
    if (state == vxbsPressed) ++x, ++y;
    DrawLine(canvas, x, y, x + n, y + n);
    DrawLine(canvas, x, y + n - 1, x + n, y - 1);
  }
}

// --- Check boxes, radio buttons, label lines (120-130) --------------------------------

int TvxCustomLookAndFeelPainter::CheckBoxFrameWidth() const { return 2; }

TColor TvxCustomLookAndFeelPainter::CheckBoxFaceColor(TvxButtonState state) const {
  return state == vxbsPressed || state == vxbsDisabled ? clBtnFace : clWindow;
}

TSize TvxCustomLookAndFeelPainter::CheckBoxGlyphExtent() const { return vxSystemCheckBoxSize(); }

void TvxCustomLookAndFeelPainter::PaintCheckMark(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                 bool checked, TColor color) const {
  if (canvas->BrushObject()->Style() == bsSolid) canvas->FillAreaWithColor(rect, CheckBoxFaceColor(state));
  if (!checked) return;
  const int w = rect.Width() - 2, h = rect.Height() - 4;
  const int cx = (rect.Left + rect.Right) / 2 - 1;
  canvas->PenObject()->SetColor(color);
  for (int d = 0; d < 3; ++d) {
    const int y = (rect.Top + rect.Bottom + h) / 2 - 2 + d;
    canvas->MovePenTo(cx - (w / 2 - 1), y - h / 2);
    canvas->DrawLineTo(cx, y);
    canvas->DrawLineTo(cx + w / 2 + 2, y - h);
  }
}

void TvxCustomLookAndFeelPainter::PaintCheckBoxFrame(TvxCanvas*, const TRect&, TvxButtonState) const {}

void TvxCustomLookAndFeelPainter::PaintCheckBoxForState(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                        bool checked) const {
  PaintCheckBox(canvas, rect, state, checked ? cbsChecked : cbsUnchecked);
}

void TvxCustomLookAndFeelPainter::PaintCheckBox(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                TvxCheckBoxState checkState) const {
  PaintCheckBoxFrame(canvas, rect, state);
  const int w = CheckBoxFrameWidth();
  const TColor color = state == vxbsDisabled || checkState == cbsGrayed ? clGrayText : clBtnText;
  PaintCheckMark(canvas, vxInflatedRect(rect, -w, -w), state, checkState == cbsChecked, color);
}

void TvxCustomLookAndFeelPainter::PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state,
                                                   bool checked, bool focused, TColor backgroundColor,
                                                   bool highlighted) const {
  vxGetRadioButtonImageList()->PaintGlyph(canvas, x, y, backgroundColor, vxKindOfPainterStyle(StyleId()), state,
                                          checked, focused, highlighted);
}

TSize TvxCustomLookAndFeelPainter::RadioButtonExtent() const { return vxGetRadioButtonImageList()->GlyphExtent(); }

void TvxCustomLookAndFeelPainter::PaintLabelLine(TvxCanvas* canvas, const TRect& rect, TColor darkColor,
                                                 TColor lightColor, bool vertical) const {
  if (darkColor == clDefault) darkColor = clBtnShadow;
  if (lightColor == clDefault) lightColor = clBtnHighlight;
  canvas->DrawTwoToneBorders(rect, darkColor, lightColor, vertical ? (Left | Right) : (Top | Bottom), 1);
}

int TvxCustomLookAndFeelPainter::LabelLineWidth() const { return 2; }
