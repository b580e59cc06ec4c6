// The painter interface, continued: headers and header sections, grid
// areas, footers, filter buttons, tabs, row indicators, scroll bars and
// size grips (operations 131-208).
#include <algorithm>

#include "foundation/vdOffice11.h"
#include "foundation/vxImageList.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"

using namespace vxpaint;

// --- Headers and header sections (131-153) --------------------------------------------

void TvxCustomLookAndFeelPainter::PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                              TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                              TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                              bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                              TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground,
                                              bool, bool) const {
  PaintHeaderFrame(canvas, bounds, neighbours, borders);
  PaintContent(canvas, HeaderContentBounds(bounds, borders), textBounds, state, horzAlignment, vertAlignment,
               multiLine, endEllipsis, text, font, textColor, backgroundColor, onDrawBackground, false);
}

void TvxCustomLookAndFeelPainter::PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                                   TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                                   TAlignment horzAlignment, TTextLayout vertAlignment,
                                                   bool multiLine, bool endEllipsis, const String& text, TFont* font,
                                                   TColor textColor, TColor backgroundColor,
                                                   const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintHeader(canvas, bounds, textBounds, neighbours, borders, state, horzAlignment, vertAlignment, multiLine,
              endEllipsis, text, font, textColor, backgroundColor, onDrawBackground, false, false);
}

void TvxCustomLookAndFeelPainter::PaintHeaderFrame(TvxCanvas*, const TRect&, TvxBorders, TvxBorders) const {}

void TvxCustomLookAndFeelPainter::PaintHeaderPressedLook(TvxCanvas* canvas, const TRect& rect) const {
  canvas->InvertArea(rect);
}

void TvxCustomLookAndFeelPainter::PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds,
                                                     const TRect& textAreaBounds, intptr_t, TvxBorders borders,
                                                     TvxButtonState state, TAlignment horzAlignment,
                                                     TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                     const String& text, TFont* font, TColor textColor,
                                                     TColor backgroundColor) const {
  PaintHeaderSectionFrame(canvas, bounds, borders, state);
  PaintHeaderSectionContent(canvas, HeaderSectionContentBounds(bounds, state), textAreaBounds, state, horzAlignment,
                            vertAlignment, multiLine, endEllipsis, text, font, textColor, backgroundColor);
}

void TvxCustomLookAndFeelPainter::PaintHeaderSectionFrame(TvxCanvas*, const TRect&, TvxBorders,
                                                          TvxButtonState) const {}

void TvxCustomLookAndFeelPainter::PaintHeaderSectionContent(TvxCanvas* canvas, const TRect& rect,
                                                            const TRect& textAreaBounds, TvxButtonState state,
                                                            TAlignment horzAlignment, TTextLayout vertAlignment,
                                                            bool multiLine, bool endEllipsis, const String& text,
                                                            TFont* font, TColor textColor,
                                                            TColor backgroundColor) const {
  canvas->FillAreaWithColor(rect, backgroundColor);
  PaintHeaderSectionText(canvas, HeaderSectionTextBounds(textAreaBounds, state), state, horzAlignment,
                         vertAlignment, multiLine, endEllipsis, text, font, textColor);
}

void TvxCustomLookAndFeelPainter::PaintHeaderSectionText(TvxCanvas* canvas, const TRect& rect,
                                                         TvxButtonState state, TAlignment horzAlignment,
                                                         TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                         const String& text, TFont* font, TColor textColor) const {
  if (text.empty()) return;
  canvas->BrushObject()->SetStyle(bsClear);
  UseFont(canvas, font, canvas->FontObject()->Color());
  const TvxTextFlags flags = ContentTextFlags(horzAlignment, vertAlignment, multiLine, endEllipsis);
  if (state == vxbsDisabled) {
    canvas->FontObject()->SetColor(clBtnHighlight);
    canvas->OutputText(text, vxShiftedRect(rect, 1, 1), flags);
    canvas->FontObject()->SetColor(clBtnShadow);
  } else {
    canvas->FontObject()->SetColor(textColor);
  }
  canvas->OutputText(text, rect, flags);
  canvas->BrushObject()->SetStyle(bsSolid);
}

void TvxCustomLookAndFeelPainter::PaintHeaderStrip(TvxCanvas* canvas, const TRect& rect, int bandWidth,
                                                   TColor color, const TvxAreaViewParams& viewParams) const {
  FillFromViewParams(canvas, vxRectWithWidth(rect, bandWidth), viewParams);
  FillFromViewParams(canvas, vxRectWithRightAndWidth(rect, rect.Right, bandWidth), viewParams);
  canvas->FillAreaWithColor(vxRectWithHorzBounds(rect, rect.Left + bandWidth, rect.Right - bandWidth), color);
}

void TvxCustomLookAndFeelPainter::PaintSortMark(TvxCanvas*, const TRect&, bool) const {}
TvxBorders TvxCustomLookAndFeelPainter::HeaderOwnBorders(TvxBorders) const { return vxAllBorders; }
int TvxCustomLookAndFeelPainter::HeaderBorderWidth() const { return 0; }

TRect TvxCustomLookAndFeelPainter::HeaderOuterBounds(const TRect& rect, TvxBorders neighbours,
                                                     TvxBorders borders) const {
  return ShrinkSides(rect, borders & ~HeaderOwnBorders(neighbours), -HeaderBorderWidth());
}

TRect TvxCustomLookAndFeelPainter::HeaderContentBounds(const TRect& rect, TvxBorders borders) const {
  return ShrinkSides(rect, borders, HeaderBorderWidth());
}

bool TvxCustomLookAndFeelPainter::HeaderIsOpaque() const { return true; }

int TvxCustomLookAndFeelPainter::HeaderHeightForText(int textHeight) const {
  return textHeight + 2 * HeaderBorderWidth() + 4;
}

int TvxCustomLookAndFeelPainter::HeaderSectionBorderWidth(TvxButtonState) const { return 1; }

TRect TvxCustomLookAndFeelPainter::HeaderSectionTextBounds(const TRect& bounds, TvxButtonState state) const {
  return state == vxbsPressed ? vxShiftedRect(bounds, 1, 1) : bounds;
}

TRect TvxCustomLookAndFeelPainter::HeaderSectionContentBounds(const TRect& rect, TvxButtonState state) const {
  const int w = HeaderSectionBorderWidth(state);
  return vxInflatedRect(rect, -w, -w);
}

int TvxCustomLookAndFeelPainter::HeaderWidthForText(TvxCanvas* canvas, TvxBorders borders, const String& text,
                                                    TFont* font) const {
  // Each side with a border adds its width, so that the text keeps its room
  // inside a header whose painter draws real borders.
  if (font) canvas->AssignFontObject(font);
  int width = canvas->MeasureTextWidth(text) + 4;
  if (borders & Left) width += HeaderBorderWidth();
  if (borders & Right) width += HeaderBorderWidth();
  return width;
}

int TvxCustomLookAndFeelPainter::HeaderExtraIndent() const { return 0; }
TPoint TvxCustomLookAndFeelPainter::SortMarkAreaExtent() const { return {16, SortMarkExtent().Y}; }
TPoint TvxCustomLookAndFeelPainter::SortMarkExtent() const { return {0, 0}; }

void TvxCustomLookAndFeelPainter::PaintSortTriangle(TvxCanvas* canvas, const TRect& rect, TColor secondColor,
                                                    TColor firstColor, bool ascending) const {
  const TPoint size = SortMarkExtent();
  const int w = size.X, h = size.Y, s = ascending ? 1 : -1;
  const bool even = w % 2 == 0;
  const int x = (rect.Left + rect.Right) / 2 - (even ? 1 : 0);
  const int half = w / 2 - (even ? 1 : 0);
  const int y = ascending ? (rect.Top + rect.Bottom - h) / 2 : (rect.Top + rect.Bottom + h) / 2 - 1;
  TPen* pen = canvas->PenObject();
  pen->SetColor(firstColor);
  canvas->MovePenTo(x + w / 2, y + (h - 2) * s);
  canvas->DrawLineTo(x + w / 2 - half, y);
  canvas->DrawLineTo(x + w / 2, y + (h - 1) * s);
  if (!ascending) pen->SetColor(secondColor);
  canvas->DrawLineTo(x - half, y + (h - 1) * s);
  if (ascending) pen->SetColor(secondColor);
  canvas->DrawLineTo(x, y);
  canvas->DrawLineTo(x - half, y + (h - (w & 1)) * s);
}

// --- Grid areas (154-168) -------------------------------------------------------------------

void TvxCustomLookAndFeelPainter::PaintGroupByArea(TvxCanvas* canvas, const TRect& rect, bool transparent,
                                                   TColor color, TBitmap* bitmap) const {
  PaintBackground(canvas, rect, transparent, color, bitmap);
}

// Every painter's grid draws its Office 2003 group rows in the current
// colour scheme's colours.
TColor TvxCustomLookAndFeelPainter::Office11GroupRowContentColor(bool selected) const {
  return selected ? clWindow : TColor(vdOffice11GroupRowContentColor);
}

TColor TvxCustomLookAndFeelPainter::Office11GroupRowSeparatorColor() const {
  return vdOffice11GroupRowSeparatorColor;
}
TColor TvxCustomLookAndFeelPainter::Office11GroupRowTextColor() const { return vdOffice11GroupRowTextColor; }
bool TvxCustomLookAndFeelPainter::HeaderElementIsOpaque() const { return HeaderIsOpaque(); }
TColor TvxCustomLookAndFeelPainter::GroupByAreaColor() const { return HeaderBackgroundColor(); }
TColor TvxCustomLookAndFeelPainter::GroupByAreaTextColor() const { return HeaderBackgroundTextColor(); }

void TvxCustomLookAndFeelPainter::PaintLayoutViewItem(TvxCanvas* canvas, const TRect& rect, int itemState,
                                                      bool) const {
  canvas->FillAreaWithColor(rect, itemState == vxLayoutViewItemSelected ? SelectionColor() : GroupRowColor());
}

void TvxCustomLookAndFeelPainter::PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int,
                                                               int recordState) const {
  PaintLayoutViewRecordEdges(canvas, rect, recordState, vxAllBorders);
  canvas->FillAreaWithColor(rect,
                            recordState == vxLayoutViewRecordSelected ? SelectionColor() : GroupRowColor());
}

void TvxCustomLookAndFeelPainter::PaintLayoutViewRecordEdges(TvxCanvas* canvas, const TRect& rect, int recordState,
                                                             TvxBorders borders) const {
  // The strips leave the clip region, so that the caller's fill keeps them.
  const TColor color = recordState == vxLayoutViewRecordSelected ? SelectionColor() : clBtnShadow;
  canvas->DrawFrameSides(rect, color, 1, borders, true);
}

void TvxCustomLookAndFeelPainter::PaintLayoutViewRecord(TvxCanvas* canvas, const TRect& rect, int,
                                                        int recordState, TvxBorders borders) const {
  PaintLayoutViewRecordEdges(canvas, rect, recordState, borders);
  canvas->FillAreaWithColor(rect, GroupRowColor());
}

void TvxCustomLookAndFeelPainter::PaintLayoutViewRecordExpandButton(TvxCanvas*, const TRect&, TvxButtonState,
                                                                    bool) const {}
TRect TvxCustomLookAndFeelPainter::LayoutViewPadding(int) const { return {}; }
TRect TvxCustomLookAndFeelPainter::LayoutViewSpacing(int) const { return {}; }
TvxBorders TvxCustomLookAndFeelPainter::LayoutViewRecordBorders(int) const { return vxAllBorders; }

// --- Footers, filter buttons, forms and popups (169-189) ----------------------------------

int TvxCustomLookAndFeelPainter::FooterBorderWidth() const { return 0; }
int TvxCustomLookAndFeelPainter::FooterCellBorderWidth() const { return 0; }
int TvxCustomLookAndFeelPainter::FooterCellSpacing() const { return 0; }
bool TvxCustomLookAndFeelPainter::FooterCellsPaintedFirst() const { return true; }
TColor TvxCustomLookAndFeelPainter::FooterSeparatorColor() const { return clBtnShadow; }
int TvxCustomLookAndFeelPainter::FooterSeparatorHeight() const { return 1; }

void TvxCustomLookAndFeelPainter::PaintFooterCellWithFrame(TvxCanvas* canvas, const TRect& rect,
                                                           TAlignment horzAlignment, TTextLayout vertAlignment,
                                                           bool multiLine, const String& text, TFont* font,
                                                           TColor textColor, TColor backgroundColor,
                                                           const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintFooterCellFrame(canvas, rect);
  PaintFooterCell(canvas, rect, horzAlignment, vertAlignment, multiLine, text, font, textColor, backgroundColor,
                  onDrawBackground);
}

void TvxCustomLookAndFeelPainter::PaintFooterCell(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment,
                                                  TTextLayout vertAlignment, bool multiLine, const String& text,
                                                  TFont* font, TColor textColor, TColor backgroundColor,
                                                  const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintContent(canvas, FooterCellContentBounds(rect), FooterCellTextBounds(rect), vxbsDefault, horzAlignment,
               vertAlignment, multiLine, false, text, font, textColor, backgroundColor, onDrawBackground, true);
}

void TvxCustomLookAndFeelPainter::PaintFooterFrame(TvxCanvas*, const TRect&) const {}
void TvxCustomLookAndFeelPainter::PaintFooterCellFrame(TvxCanvas*, const TRect&) const {}

void TvxCustomLookAndFeelPainter::PaintFooterBackground(TvxCanvas* canvas, const TRect& rect,
                                                        const TvxAreaViewParams& viewParams) const {
  if (!rect.IsEmpty()) FillFromViewParams(canvas, rect, viewParams);
}

void TvxCustomLookAndFeelPainter::PaintFooterSeparator(TvxCanvas* canvas, const TRect& rect) const {
  canvas->FillAreaWithColor(rect, FooterSeparatorColor());
}

void TvxCustomLookAndFeelPainter::PaintCheckBoxForKind(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                       bool checked) const {
  PaintCheckBoxForState(canvas, rect, state, checked);
}

void TvxCustomLookAndFeelPainter::PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect,
                                                         TvxButtonState state) const {
  PaintButtonFrame(canvas, rect, state);
  const int w = ButtonBorderWidth(vxbsNormal);
  const TRect inner = vxInflatedRect(rect, -w, -w);
  canvas->FillAreaWithColor(inner, ButtonFaceColor(state));
  PaintButtonCross(canvas, inner, ButtonGlyphColor(state, clDefault), ButtonGlyphState(state));
}

void TvxCustomLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas*, const TRect&, TvxButtonState, bool) const {}

void TvxCustomLookAndFeelPainter::PaintFilterPanel(TvxCanvas* canvas, const TRect& rect, bool transparent,
                                                   TColor color, TBitmap* bitmap) const {
  PaintBackground(canvas, rect, transparent, color, bitmap);
}

TPoint TvxCustomLookAndFeelPainter::FilterActivateButtonExtent() const { return {13, 13}; }
TPoint TvxCustomLookAndFeelPainter::FilterCloseButtonExtent() const { return {16, 14}; }
TPoint TvxCustomLookAndFeelPainter::FilterDropDownButtonExtent() const { return {15, 0}; }

void TvxCustomLookAndFeelPainter::PaintFormClientArea(TvxCanvas* canvas, const TRect& rect) const {
  canvas->FillAreaWithColor(rect, clBtnFace);
}

TvxEditPopupBorderStyle TvxCustomLookAndFeelPainter::PreferredPopupBorderStyle() const { return epbsSingle; }

// --- Tabs, indicators, scroll bars, size grips (190-208) ----------------------------------

void TvxCustomLookAndFeelPainter::PaintTab(TvxCanvas*, const TRect&, TvxBorders, const String&, TvxButtonState,
                                           bool, TFont*, TColor, TColor, bool) const {}
void TvxCustomLookAndFeelPainter::PaintTabEdge(TvxCanvas*, const TRect&, TvxBorder, TvxBorders, bool) const {}
void TvxCustomLookAndFeelPainter::PaintTabStripBackground(TvxCanvas*, const TRect&, TvxBorders, bool) const {}
bool TvxCustomLookAndFeelPainter::CanPaintTab(bool) const { return false; }
bool TvxCustomLookAndFeelPainter::HotTracksTabs(bool) const { return false; }
int TvxCustomLookAndFeelPainter::TabEdgeWidth(bool) const { return 0; }

void TvxCustomLookAndFeelPainter::PaintIndicatorCustomizationMark(TvxCanvas* canvas, const TRect& rect,
                                                                  TColor color) const {
  canvas->PenObject()->SetColor(color);
  const int width = rect.Width() - 6;
  const int base = (rect.Top + rect.Bottom - 9) / 2;
  for (int i = 0; i < 5; ++i) {
    const int y = base + 2 * i;
    canvas->MovePenTo(rect.Left + 5, y);
    canvas->DrawLineTo(rect.Left + 3 + width, y);
    if (i % 2 == 0) canvas->PutPixel(rect.Left + 3, y, color);
  }
}

void TvxCustomLookAndFeelPainter::PaintIndicatorImage(TvxCanvas* canvas, const TRect& rect,
                                                      int indicatorKind) const {
  TvxImageList* images = vxIndicatorImages();
  if (indicatorKind == 0 || !images) return;
  canvas->DrawImageListImage(images, (rect.Left + rect.Right - images->Width()) / 2,
                             (rect.Top + rect.Bottom - images->Height()) / 2, indicatorKind - 1, true);
}

void TvxCustomLookAndFeelPainter::PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind,
                                                     TColor backgroundColor,
                                                     const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintHeader(canvas, rect, rect, 0, HeaderOwnBorders(Top | Bottom), vxbsNormal, taLeftJustify, tlTop, false,
              false, "", nullptr, clNone, backgroundColor, onDrawBackground);
  PaintIndicatorImage(canvas, rect, indicatorKind);
}

void TvxCustomLookAndFeelPainter::PaintIndicatorCellWithColors(TvxCanvas* canvas, const TRect& rect,
                                                               int indicatorKind, TColor backgroundColor,
                                                               const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintHeaderPlain(canvas, rect, rect, 0, vxAllBorders, vxbsNormal, taLeftJustify, tlTop, false, false, "",
                   nullptr, clNone, backgroundColor, onDrawBackground);
  PaintIndicatorImage(canvas, rect, indicatorKind);
}

bool TvxCustomLookAndFeelPainter::IndicatorPaintsCellsFirst() const { return true; }
int TvxCustomLookAndFeelPainter::ScrollBarMinThumbLength(bool) const { return 8; }

void TvxCustomLookAndFeelPainter::PaintScrollBarTrack(TvxCanvas* canvas, const TRect& rect, bool horizontal) const {
  PaintScrollBarElement(canvas, horizontal, rect, sbpPageUp, vxbsNormal);
}

void TvxCustomLookAndFeelPainter::PaintScrollBarElement(TvxCanvas*, bool, const TRect&, TvxScrollBarPart,
                                                        TvxButtonState) const {}

TSize TvxCustomLookAndFeelPainter::SizeGripExtent() const {
  return {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void TvxCustomLookAndFeelPainter::PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const {
  RECT r = rect;
  DrawFrameControl(canvas->DeviceContext(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TvxCustomLookAndFeelPainter::PaintSizeGripAtCorner(TvxCanvas* canvas, const TRect& rect,
                                                        TColor backgroundColor, TvxCorner corner) const {
  // The grip is drawn for the bottom-right corner, then turned and flipped
  // into the asked one.
  TvxBitmap bitmap(rect);
  TvxCanvas* bitmapCanvas = bitmap.VxCanvas();
  bitmapCanvas->AssignBrushObject(canvas->BrushObject());
  if (backgroundColor == clNone)
    bitmapCanvas->CopyAreaFrom(bitmap.GetFullRect(), canvas->Canvas(), rect);
  else
    bitmapCanvas->FillAreaWithColor(bitmap.GetFullRect(), backgroundColor);
  PaintSizeGrip(bitmapCanvas, bitmap.GetFullRect());
  const bool halfTurn = corner == coTopLeft || corner == coBottomLeft;
  const bool flip = corner == coTopRight || corner == coBottomLeft;
  bitmap.RotatePixels(halfTurn ? ra180 : raNone, flip);
  canvas->CopyAreaFrom(rect, bitmap.Canvas(), bitmap.GetFullRect());
}

TSize TvxCustomLookAndFeelPainter::TabCloseButtonExtent() const { return {14, 14}; }

void TvxCustomLookAndFeelPainter::PaintTabCloseButton(TvxCanvas* canvas, const TRect& rect,
                                                      TvxButtonState state) const {
  PaintFilterCloseButton(canvas, rect, state);
}

TvxArrowDirection TvxCustomLookAndFeelPainter::ScrollBarArrowDirection(bool horizontal, TvxScrollBarPart part) {
  static constexpr TvxArrowDirection kDirections[4] = {adUp, adDown, adLeft, adRight};
  return kDirections[(horizontal ? 2 : 0) + (part == sbpLineUp ? 0 : 1)];
}
