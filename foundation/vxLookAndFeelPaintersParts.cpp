// The painter interface, completed: scheduler parts and the clock face,
// editor buttons, navigator glyphs, progress bars, group boxes and panels,
// track bars, splitters, layout control, print preview and calculator
// (operations 209-269).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"

using namespace vxpaint;

namespace {

TPoint RoundedPoint(double x, double y) { return {int(std::lround(x)), int(std::lround(y))}; }

}  // namespace

// --- Scheduler and clock (5, 209-221) ------------------------------------------------------

void TvxCustomLookAndFeelPainter::CalculateSchedulerNavigationButtonLayout(bool isNext, bool minimal,
                                                                           int textExtent1, int textExtent2,
                                                                           TRect& bounds, TRect& textRect,
                                                                           TRect& arrowRect) const {
  const TvxSchedulerNavigationButtonMetrics metrics = SchedulerNavigationButtonMetrics(isNext);
  const TRect& borders = metrics.Borders;
  const int band = 3 * metrics.ArrowSize.cy;
  if (minimal || !metrics.HasText) {
    textRect = {};
    const int height = band + borders.Top + borders.Bottom;
    bounds.Top = bounds.Top + (bounds.Height() - height) / 2;
    bounds.Bottom = bounds.Top + height;
    arrowRect = vxCenteredRectOfSize(bounds, metrics.ArrowSize);
    return;
  }
  const TRect content = vxRectInsideMargins(bounds, borders);
  arrowRect = vxCenteredRectOfSize(vxRectWithHeight(content, band), metrics.ArrowSize);
  textRect = vxRectWithVertBounds(content, content.Top + band + 5, content.Bottom - 2 * metrics.ArrowSize.cy);
  const int d = std::max(textExtent1, textExtent2) - textRect.Height();
  if (d >= 1) {
    arrowRect = vxShiftedRect(arrowRect, 0, -d);
    textRect = vxInflatedRect(textRect, 0, d);
    bounds = vxInflatedRect(bounds, 0, d);
  }
}

void TvxCustomLookAndFeelPainter::PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text,
                                                           TvxBorders neighbours, const TvxViewParams& viewParams,
                                                           int sideArrows, int arrowSize,
                                                           const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintHeader(canvas, rect, rect, neighbours, HeaderOwnBorders(neighbours), vxbsNormal, taCenter, tlCenter, false,
              false, text, viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground);
  PaintSideArrows(canvas, rect, sideArrows, arrowSize, clWindowText);
}

void TvxCustomLookAndFeelPainter::PaintSchedulerOutline(TvxCanvas* canvas, const TRect& rect) const {
  PaintBorder(canvas, rect);
}

void TvxCustomLookAndFeelPainter::PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds,
                                                                 const TRect& progressRect,
                                                                 const TvxAreaViewParams& viewParams,
                                                                 bool frameOnly) const {
  constexpr TColor kFrame = clGray;
  if (frameOnly)
    canvas->DrawTwoToneBorders(bounds, kFrame, kFrame, vxAllBorders, 1);
  else
    canvas->FillAreaWithFrame(bounds, viewParams, false, 1, kFrame, vxAllBorders);
  canvas->FillAreaWithColor(progressRect, clNavy);
}

void TvxCustomLookAndFeelPainter::PaintSchedulerNavigationButtonContent(TvxCanvas* canvas, const TRect& rect,
                                                                        bool isNext, TvxButtonState state,
                                                                        const String& text, const TRect& textRect,
                                                                        const TRect& arrowRect) const {
  PaintSchedulerNavigationButton(canvas, rect, arrowRect, isNext, state);
  if (textRect.IsEmpty() || SchedulerNavigationButtonTextColor(isNext, state, clDefault) == clNone) return;
  const TColor color = SchedulerNavigationButtonTextColor(isNext, state, canvas->FontObject()->Color());
  vxDrawRotatedText(canvas, text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color, raPlus90);
}

void TvxCustomLookAndFeelPainter::PaintSchedulerNavigationArrow(TvxCanvas* canvas, const TRect& rect, bool isNext,
                                                                TColor color) const {
  // Two cells of 2 x 1 walk from the base corners towards the point, which
  // a one-pixel column closes.
  canvas->ApplyBrushColor(color);
  const int step = isNext ? 1 : -1;
  const int n = (rect.Height() + 1) / 2;
  int x = isNext ? rect.Left : rect.Right - 2;
  int top = rect.Top, bottom = rect.Bottom - 1;
  for (int i = 0; i < n; ++i) {
    canvas->FillAreaWithColor({x, top, x + 2, top + 1}, clDefault);
    canvas->FillAreaWithColor({x, bottom, x + 2, bottom + 1}, clDefault);
    x += step;
    ++top;
    --bottom;
  }
  const int column = isNext ? rect.Right - 1 : rect.Left;
  canvas->FillAreaWithColor({column, rect.Top, column + 1, rect.Bottom}, clDefault);
}

void TvxCustomLookAndFeelPainter::PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect,
                                                           TvxButtonState state) const {
  PaintPushButton(canvas, rect, "", state, true, clDefault, clDefault, false);
}

void TvxCustomLookAndFeelPainter::PaintSchedulerSplitterEdge(TvxCanvas*, const TRect&, const TvxAreaViewParams&,
                                                             bool) const {}
TRect TvxCustomLookAndFeelPainter::SchedulerEventProgressMargins() const { return {2, 2, 2, 2}; }

TColor TvxCustomLookAndFeelPainter::SchedulerNavigationButtonTextColor(bool, TvxButtonState state,
                                                                       TColor defaultColor) const {
  return ButtonGlyphColor(state, defaultColor);
}

TvxSchedulerNavigationButtonMetrics TvxCustomLookAndFeelPainter::SchedulerNavigationButtonMetrics(
    bool isNext) const {
  TvxSchedulerNavigationButtonMetrics metrics;
  metrics.Borders = isNext ? TRect(2, 6, 0, 6) : TRect(0, 6, 2, 6);
  metrics.HasText = true;
  metrics.ArrowSize = {7, 7};
  return metrics;
}

int TvxCustomLookAndFeelPainter::SpareEdgeWidth() const { return 1; }

void TvxCustomLookAndFeelPainter::PaintClockFace(TvxCanvas* canvas, const TRect& rect, TDateTime time,
                                                 TColor backgroundColor) const {
  constexpr double kPi = std::numbers::pi;
  constexpr TColor kFace = clTeal, kLight = clAqua;
  SavedClip savedClip(canvas);
  const int cx = rect.Left + rect.Width() / 2, cy = rect.Top + rect.Height() / 2;
  const double rx = rect.Width() / 2.0 - 2, ry = rect.Height() / 2.0 - 2;
  TPen* pen = canvas->PenObject();
  // The hour marks first; each leaves the clip so that the fill keeps it.
  for (int i = 0; i < 60; i += 5) {
    const double a = i * 2 * kPi / 60;
    const TPoint p = RoundedPoint(cx + rx * std::cos(a), cy + ry * std::sin(a));
    canvas->PutPixel(p.X, p.Y, kFace);
    pen->SetColor(kLight);
    canvas->MovePenTo(p.X - 1, p.Y + 1);
    canvas->DrawLineTo(p.X - 1, p.Y - 1);
    canvas->DrawLineTo(p.X + 1, p.Y - 1);
    pen->SetColor(clBtnText);
    canvas->MovePenTo(p.X, p.Y + 1);
    canvas->DrawLineTo(p.X + 1, p.Y + 1);
    canvas->DrawLineTo(p.X + 1, p.Y - 1);
    canvas->ExcludeRectFromClip({p.X - 1, p.Y - 1, p.X + 2, p.Y + 2});
  }
  canvas->FillAreaWithColor(rect, backgroundColor);

  uint16_t hours, minutes, seconds, milliseconds;
  DecodeTime(time, hours, minutes, seconds, milliseconds);
  auto drawHand = [&](double angle, double width, double tail, double tip) {
    const TPoint kite[4] = {
        RoundedPoint(cx + tip * rx * std::cos(angle), cy + tip * ry * std::sin(angle)),
        RoundedPoint(cx + width / 2 * std::cos(angle + kPi / 2), cy + width / 2 * std::sin(angle + kPi / 2)),
        RoundedPoint(cx + tail * rx * std::cos(angle + kPi), cy + tail * ry * std::sin(angle + kPi)),
        RoundedPoint(cx + width / 2 * std::cos(angle + 3 * kPi / 2), cy + width / 2 * std::sin(angle + 3 * kPi / 2))};
    canvas->BrushObject()->SetStyle(bsSolid);
    canvas->BrushObject()->SetColor(kFace);
    pen->SetColor(kFace);
    canvas->DrawPolygonShape(kite, 4);
  };
  drawHand(((hours % 12) * 3600 + minutes * 60 + seconds - 10800) * 2 * kPi / 43200, 9, 0.15, 0.75);
  drawHand((minutes * 60 + seconds - 900) * 2 * kPi / 3600, 7, 0.2, 0.85);
  const double a = (seconds - 15) * 2 * kPi / 60;
  pen->SetColor(clRed);
  const TPoint tip = RoundedPoint(cx + 0.9 * rx * std::cos(a), cy + 0.9 * ry * std::sin(a));
  DrawLine(canvas, cx, cy, tip.X, tip.Y);
}

// --- Editor buttons, container frames, navigator glyphs (222-229) ------------------------

void TvxCustomLookAndFeelPainter::PaintEditButton(TvxCanvas*, const TRect&, int, TvxButtonState, int) const {}
int TvxCustomLookAndFeelPainter::EditButtonTextIndent() const { return 0; }
TSize TvxCustomLookAndFeelPainter::EditButtonExtent() const { return {0, 0}; }
TColor TvxCustomLookAndFeelPainter::EditButtonCaptionColor() const { return clDefault; }
TColor TvxCustomLookAndFeelPainter::ContainerFrameColor(bool) const { return clDefault; }

void TvxCustomLookAndFeelPainter::PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const {
  canvas->FillAreaWithColor(rect, CalendarHeaderColor());
  canvas->DrawEdge3D(rect, false, false, vxAllBorders);
  rect = vxInflatedRect(rect, -1, -1);
}

void TvxCustomLookAndFeelPainter::PaintNavigatorButtonGlyph(TvxCanvas* canvas, TvxImageList* images,
                                                            int imageIndex, int, const TRect& rect, bool enabled,
                                                            bool) const {
  vxDrawGlyphOrImage(canvas->DeviceContext(), rect, rect, false, clNone, nullptr, false,
                     enabled ? vxgdmNormal : vxgdmDisabled, imageIndex, images, nullptr);
}

TSize TvxCustomLookAndFeelPainter::NavigatorButtonGlyphExtent() const { return {0, 0}; }

// --- Progress bars (230-235) ------------------------------------------------------------------

void TvxCustomLookAndFeelPainter::PaintProgressBarFrame(TvxCanvas*, const TRect&, bool) const {}
void TvxCustomLookAndFeelPainter::PaintProgressBarChunk(TvxCanvas*, const TRect&, bool) const {}

void TvxCustomLookAndFeelPainter::PaintProgressBarText(TvxCanvas* canvas, bool vertical, bool solid,
                                                       const String& text, const TRect& textRect, int,
                                                       const TRect& filledRect, TColor textColor) const {
  SavedCanvasState savedState(canvas);
  if (vertical) canvas->ApplyFontAngle(270);
  if (textColor == clDefault || !solid) textColor = ProgressBarDefaultTextColor();
  canvas->FontObject()->SetColor(textColor);
  canvas->BrushObject()->SetStyle(bsClear);
  const TPoint origin(vertical ? textRect.Right : textRect.Left, textRect.Top);
  TCanvas* platform = canvas->Canvas();
  if (solid) {
    platform->TextOut(origin.X, origin.Y, text);
    return;
  }
  if (ProgressBarTextColor(true) == clDefault) {
    // Inverted text: the glyphs are written white on black into a mask the
    // size of the text rectangle, and the mask is XORed onto the canvas
    // (SRCINVERT). Under a glyph each pixel becomes its own inverse, so the
    // text is light over the filled part and dark over the empty one, and
    // every pixel outside the glyphs stays as it was.
    TvxBitmap mask(textRect);
    TCanvas* maskCanvas = mask.Canvas();
    maskCanvas->Brush()->SetColor(clBlack);
    maskCanvas->FillRect(mask.GetFullRect());
    maskCanvas->Font()->Assign(canvas->FontObject());
    maskCanvas->Font()->SetColor(clWhite);
    maskCanvas->Brush()->SetStyle(bsClear);
    maskCanvas->TextOut(origin.X - textRect.Left, origin.Y - textRect.Top, text);
    BitBlt(canvas->DeviceContext(), textRect.Left, textRect.Top, textRect.Width(), textRect.Height(),
           maskCanvas->Handle(), 0, 0, SRCINVERT);
    return;
  }
  TRect overlap;
  if (!vxIntersectRects(overlap, textRect, filledRect)) {
    platform->TextOut(origin.X, origin.Y, text);
    return;
  }
  TvxBitmap saved(overlap);
  saved.Canvas()->CopyRect(saved.GetFullRect(), platform, overlap);
  canvas->FontObject()->SetColor(ProgressBarTextColor(false));
  platform->TextOut(origin.X, origin.Y, text);
  platform->CopyRect(overlap, saved.Canvas(), saved.GetFullRect());
  SavedClip savedClip(canvas);
  canvas->IntersectClipWithRect(overlap);
  canvas->FontObject()->SetColor(ProgressBarTextColor(true));
  platform->TextOut(origin.X, origin.Y, text);
}

TRect TvxCustomLookAndFeelPainter::ProgressBarFrameWidths(bool) const { return {}; }
TColor TvxCustomLookAndFeelPainter::ProgressBarDefaultTextColor() const { return ProgressBarTextColor(false); }

TColor TvxCustomLookAndFeelPainter::ProgressBarTextColor(bool overFilledPart) const {
  return overFilledPart ? clDefault : clWindowText;
}

// --- Group boxes and panels (236-249) ---------------------------------------------------------

void TvxCustomLookAndFeelPainter::PaintGroupBoxContent(TvxCanvas*, const TRect&, TRect) const {}
void TvxCustomLookAndFeelPainter::PaintGroupBoxCaption(TvxCanvas*, const TRect&, int) const {}
void TvxCustomLookAndFeelPainter::PaintGroupBoxBorder(TvxCanvas*, const TRect&, int, TvxBorders) const {}

void TvxCustomLookAndFeelPainter::PaintGroupBoxExpandButton(TvxCanvas* canvas, const TRect& rect,
                                                            TvxButtonState state, bool expanded,
                                                            TvxRotation rotation) const {
  PaintChevronButton(canvas, rect, state, expanded, rotation);
}

void TvxCustomLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas*, const TRect&, int, int, TvxBorders) const {}
TRect TvxCustomLookAndFeelPainter::GroupBoxFrameWidths(bool, int) const { return {}; }

TColor TvxCustomLookAndFeelPainter::GroupBoxCaptionTextColor(bool enabled, int) const {
  return enabled ? clWindowText : clBtnShadow;
}

bool TvxCustomLookAndFeelPainter::GroupBoxNeedsParentBackground(bool, int) const { return false; }

void TvxCustomLookAndFeelPainter::PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl*, const TRect& rect,
                                                          TColor, TColor) const {
  PaintGroupBoxContent(canvas, rect, rect);
}

void TvxCustomLookAndFeelPainter::PaintGroupPanelBorder(TvxCanvas*, const TRect&) const {}

void TvxCustomLookAndFeelPainter::PaintGroupBoxCaptionForPosition(TvxCanvas* canvas, const TRect& rect,
                                                                  int captionPosition) const {
  PaintGroupBoxCaption(canvas, rect, captionPosition);
}

void TvxCustomLookAndFeelPainter::PaintGroupPanel(TvxCanvas* canvas, const TRect& rect, bool) const {
  canvas->FillAreaWithColor(rect, clBtnFace);
}

TRect TvxCustomLookAndFeelPainter::GroupPanelContentOffsets() const { return {}; }
TColor TvxCustomLookAndFeelPainter::GroupPanelTextColor() const { return GroupBoxCaptionTextColor(true, vxgcpTop); }

// --- Track bars (250-258) ---------------------------------------------------------------------

void TvxCustomLookAndFeelPainter::CorrectTrackBarThumbBounds(TvxCanvas*, TRect& rect, bool, int) const {
  ++rect.Right;
  ++rect.Bottom;
}

void TvxCustomLookAndFeelPainter::PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect, const TRect&, bool, bool,
                                                     bool, TColor color) const {
  canvas->FillAreaWithColor(rect, color);
  PaintTrackBarTrackBorder(canvas, rect);
}

void TvxCustomLookAndFeelPainter::PaintTrackBarTrackBorder(TvxCanvas*, const TRect&) const {}

void TvxCustomLookAndFeelPainter::PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState,
                                                     bool horizontal, int shape, TColor color) const {
  canvas->PenObject()->SetColor(color);
  canvas->BrushObject()->SetStyle(bsSolid);
  canvas->BrushObject()->SetColor(color);
  if (shape == vxtsBox) {
    canvas->FillAreaWithColor(rect, color);
    PaintTrackBarBoxThumbEdge(canvas, rect);
    return;
  }
  // A pentagon with its point on the tick side; its three edge polylines
  // go to PaintTrackBarPointedThumbEdge.
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  const int a = horizontal ? (R - L) / 2 : (B - T) / 2;
  TPoint light[4], inner[4], outer[4], fill[5];
  int lightCount = 3, darkCount = 4;
  if (shape == vxtsPointedTop && horizontal) {
    std::copy_n(std::initializer_list<TPoint>{{L, B - 1}, {L, T + a - 1}, {L + a, T - 1}}.begin(), 3, light);
    std::copy_n(std::initializer_list<TPoint>{{L + a, T}, {R - 1, T + a - 1}, {R - 1, B - 2}, {L, B - 2}}.begin(), 4,
                inner);
    std::copy_n(std::initializer_list<TPoint>{{L + a, T - 1}, {R, T + a - 1}, {R, B - 1}, {L, B - 1}}.begin(), 4,
                outer);
    std::copy_n(std::initializer_list<TPoint>{
                    {R - 1, B - 2}, {L + 1, B - 2}, {L + 1, T + a - 1}, {L + a, T}, {R - 1, T + a - 1}}.begin(),
                5, fill);
  } else if (shape == vxtsPointedTop) {
    std::copy_n(std::initializer_list<TPoint>{{R - 1, T}, {L + a - 1, T}, {L - 1, T + a}}.begin(), 3, light);
    std::copy_n(std::initializer_list<TPoint>{{L, T + a}, {L + a - 1, B - 1}, {R - 2, B - 1}, {R - 2, T}}.begin(), 4,
                inner);
    std::copy_n(std::initializer_list<TPoint>{{L - 1, T + a}, {L + a - 1, B}, {R - 1, B}, {R - 1, T}}.begin(), 4,
                outer);
    std::copy_n(std::initializer_list<TPoint>{
                    {R - 2, B - 1}, {R - 2, T + 1}, {L + a - 1, T + 1}, {L, T + a}, {L + a - 1, B - 1}}.begin(),
                5, fill);
  } else if (horizontal) {
    lightCount = 4;
    darkCount = 3;
    std::copy_n(std::initializer_list<TPoint>{{R, T}, {L, T}, {L, B - a}, {L + a, B}}.begin(), 4, light);
    std::copy_n(std::initializer_list<TPoint>{{L + a, B - 1}, {R - 1, B - a}, {R - 1, T}}.begin(), 3, inner);
    std::copy_n(std::initializer_list<TPoint>{{L + a, B}, {R, B - a}, {R, T}}.begin(), 3, outer);
    std::copy_n(std::initializer_list<TPoint>{
                    {R - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - a}, {L + a, B - 1}, {R - 1, B - a}}.begin(),
                5, fill);
  } else {
    lightCount = 4;
    darkCount = 3;
    std::copy_n(std::initializer_list<TPoint>{{L, B}, {L, T}, {R - a, T}, {R, T + a}}.begin(), 4, light);
    std::copy_n(std::initializer_list<TPoint>{{R - 1, T + a}, {R - a, B - 1}, {L, B - 1}}.begin(), 3, inner);
    std::copy_n(std::initializer_list<TPoint>{{R, T + a}, {R - a, B}, {L, B}}.begin(), 3, outer);
    std::copy_n(std::initializer_list<TPoint>{
                    {L + 1, B - 1}, {L + 1, T + 1}, {R - a, T + 1}, {R - 1, T + a}, {R - a, B - 1}}.begin(),
                5, fill);
  }
  canvas->DrawPolygonShape(fill, 5);
  PaintTrackBarPointedThumbEdge(canvas, {light, size_t(lightCount)}, {inner, size_t(darkCount)},
                                {outer, size_t(darkCount)});
}

void TvxCustomLookAndFeelPainter::PaintTrackBarPointedThumbEdge(TvxCanvas*, std::span<const TPoint>,
                                                                std::span<const TPoint>,
                                                                std::span<const TPoint>) const {}
void TvxCustomLookAndFeelPainter::PaintTrackBarBoxThumbEdge(TvxCanvas*, const TRect&) const {}
TSize TvxCustomLookAndFeelPainter::TrackBarThumbExtent(bool) const { return {0, 0}; }
TColor TvxCustomLookAndFeelPainter::TrackBarTickMarkColor(bool) const { return clDefault; }
int TvxCustomLookAndFeelPainter::TrackBarTrackThickness() const { return 0; }

// --- Splitters (259-262) ----------------------------------------------------------------------

TColor TvxCustomLookAndFeelPainter::SplitterGripHighlightColor(bool) const { return clWhite; }
TColor TvxCustomLookAndFeelPainter::SplitterGripShadowColor(bool) const { return clBtnShadow; }

void TvxCustomLookAndFeelPainter::PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool,
                                                bool horizontal) const {
  // The grip is a one-pixel line along the splitter with four single-pixel
  // gaps around its middle: a long line, three 2-pixel dashes, a long line.
  // It loses its last pixel so that the highlight copy, one pixel down and
  // right, stays inside the splitter.
  const TSize size = SplitterExtent(horizontal);
  const bool wide = (horizontal ? size.cy : size.cx) > 1;
  TRect grip = rect;
  if (horizontal) {
    grip.Top = rect.Top + (rect.Height() - 1) / 2;
    grip.Bottom = grip.Top + 1;
    --grip.Right;
  } else {
    grip.Left = rect.Left + (rect.Width() - 1) / 2;
    grip.Right = grip.Left + 1;
    --grip.Bottom;
  }
  const int start = horizontal ? grip.Left : grip.Top, end = horizontal ? grip.Right : grip.Bottom;
  const int middle = (start + end) / 2;
  const int gaps[4] = {middle - 5, middle - 2, middle + 1, middle + 4};
  auto drawGrip = [&](int offset, TColor color) {
    int from = start;
    for (int g : gaps) {
      g = std::clamp(g, start, end);
      const TRect piece = horizontal ? TRect(from, grip.Top, g, grip.Bottom) : TRect(grip.Left, from, grip.Right, g);
      canvas->FillAreaWithColor(vxShiftedRect(piece, offset, offset), color);
      from = std::min(g + 1, end);
    }
    const TRect last = horizontal ? TRect(from, grip.Top, end, grip.Bottom) : TRect(grip.Left, from, grip.Right, end);
    canvas->FillAreaWithColor(vxShiftedRect(last, offset, offset), color);
  };
  drawGrip(0, SplitterGripShadowColor(highlighted));
  if (wide) drawGrip(1, SplitterGripHighlightColor(highlighted));
}

TSize TvxCustomLookAndFeelPainter::SplitterExtent(bool horizontal) const {
  return horizontal ? TSize{17, 2} : TSize{2, 17};
}

// --- Layout control, print preview, calculator (263-269) ---------------------------------

TColor TvxCustomLookAndFeelPainter::LayoutControlBackgroundColor() const { return clBtnFace; }

void TvxCustomLookAndFeelPainter::PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const {
  canvas->FillAreaWithColor(rect, LayoutControlBackgroundColor());
}

TRect TvxCustomLookAndFeelPainter::PrintPreviewPageBorderWidths() const { return {2, 2, 4, 4}; }

void TvxCustomLookAndFeelPainter::PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const {
  canvas->FillAreaWithColor(rect, clBtnShadow);
}

void TvxCustomLookAndFeelPainter::PaintPrintPreviewPage(TvxCanvas* canvas, const TRect& bounds,
                                                        const TRect& pageRect, bool selected, bool fillPage) const {
  // The page, its frame (two pixels when selected) and a shadow two pixels
  // down and right, each clipped out before the next is drawn beneath it.
  SavedClip savedClip(canvas);
  TRect r = vxInflatedRectBy(bounds, 0, 0, -2, -2);
  if (fillPage) canvas->FillAreaWithColor(pageRect, clWindow);
  if (!selected) r = vxInflatedRect(r, -1, -1);
  canvas->ExcludeRectFromClip(pageRect);
  canvas->FillAreaWithColor(r, selected ? clHighlight : clWindowText);
  canvas->ExcludeRectFromClip(r);
  canvas->FillAreaWithColor(vxShiftedRect(r, 2, 2), clWindowText);
}

TColor TvxCustomLookAndFeelPainter::CalculatorButtonTextColor(int buttonKind) const {
  if (buttonKind <= 2) return clMaroon;
  if (buttonKind <= 6) return clRed;
  if (buttonKind <= 18) return clBlue;
  if (buttonKind <= 22) return clRed;
  if (buttonKind <= 25) return clNavy;
  return buttonKind == 26 ? clRed : clBlue;
}

TColor TvxCustomLookAndFeelPainter::CalculatorBackgroundColor() const { return clBtnFace; }

// --- Side arrows --------------------------------------------------------------------------------

void TvxCustomLookAndFeelPainter::PaintSideArrows(TvxCanvas* canvas, const TRect& rect, int which, int arrowSize,
                                                  TColor color) const {
  TRect r = rect;
  r.Top += BorderWidth();
  r = vxInflatedRect(r, 0, -1);
  int c = r.Height() / 2;
  if (c % 2 == 0) ++c;
  const int top = r.Top + (r.Height() - (c + 1)) / 2, middle = top + c / 2;
  canvas->BrushObject()->SetStyle(bsSolid);
  canvas->BrushObject()->SetColor(color);
  canvas->PenObject()->SetColor(color);
  if (which & vxsaLeft) {
    const int x = r.Left + arrowSize - 1;
    const TPoint arrow[3] = {{x, top}, {x, top + c}, {x - (c / 2 + 1), middle}};
    canvas->DrawPolygonShape(arrow, 3);
  }
  if (which & vxsaRight) {
    const int x = r.Right - arrowSize;
    const TPoint arrow[3] = {{x, top}, {x, top + c}, {x + c / 2 + 1, middle}};
    canvas->DrawPolygonShape(arrow, 3);
  }
}
