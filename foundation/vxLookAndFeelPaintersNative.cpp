// The native-theme painter. Each themed operation opens its theme class and
// draws or measures a part in a state; without a handle it falls back to
// the standard painter (or the base where the standard look adds nothing).
// Theme part and state numbers are the system's visual-styles numbers.
#include "foundation/vxLookAndFeelPaintersNative.h"

#include <algorithm>

#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"

namespace {

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

bool TrueSize(HTHEME theme, int part, int state, TSize& size) {
  SIZE s{};
  if (!theme || FAILED(vdUxGetThemePartSizeNoRect(theme, nullptr, part, state, TS_TRUE, s))) return false;
  size = {s.cx, s.cy};
  return true;
}

// Check boxes and radio buttons: unchecked 1-4, checked 5-8.
int CheckState(TvxButtonState state, bool checked) { return FourState(state) + (checked ? 4 : 0); }

}  // namespace

const TvxWinXPLookAndFeelPainter& TvxWinXPLookAndFeelPainter::Painter() {
  static const TvxWinXPLookAndFeelPainter painter;
  return painter;
}

TvxLookAndFeelStyle TvxWinXPLookAndFeelPainter::StyleId() const { return lfsNative; }

bool TvxWinXPLookAndFeelPainter::RedrawsOnResize() const { return vdThemeClassesUsable(0); }

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

void TvxWinXPLookAndFeelPainter::PaintHeaderPressedLook(TvxCanvas*, const TRect&) const {}

int TvxWinXPLookAndFeelPainter::HeaderBorderWidth() const {
  HTHEME theme = Theme(tcHeader);
  if (!theme) return Standard::HeaderBorderWidth();
  const TRect insets = ContentInsets(theme, 1, 1);
  return std::max(1, (insets.Left + insets.Top) / 2);
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
  // Ticks on the first side, the second side, or both.
  static const int vertical[] = {7, 8, 6}, flat[] = {5, 4, 3};
  static const int states[] = {2, 1, 2, 3, 5};
  Draw(theme, canvas, (horizontal ? flat : vertical)[shape], states[state], rect);
}

// --- Text ------------------------------------------------------------------------------------

void TvxWinXPLookAndFeelPainter::PaintThemedText(TvxCanvas* canvas, HTHEME theme, int part, int state, TFont* font,
                                                 TColor color, const String& text, TAlignment horzAlignment,
                                                 TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                 bool showPrefix, const TRect& rect) const {
  if (text.empty()) return;
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
