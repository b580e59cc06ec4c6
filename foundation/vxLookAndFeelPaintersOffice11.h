// The ultra-flat and Office 2003 painters.
//
// Ultra-flat (the default look) draws one-pixel frames in dark colours and
// fills hot and pressed parts with the light selection colours. Office 2003
// descends from it and draws with the colours of the running XP colour
// scheme (vdOffice11.h), gradients and grip dots; someone must hold a
// reference to those colours (vdAddRefOffice11Colors) while it paints.
//
// Both add operations after the 270 of the interface: 270-273 on the
// ultra-flat painter, 274-277 on the Office 2003 one.
#pragma once

#include "foundation/vxLookAndFeelPainters.h"

class TvxUltraFlatLookAndFeelPainter : public TvxCustomLookAndFeelPainter {
 public:
  static const TvxUltraFlatLookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvxUltraFlatLookAndFeelPainter"; }

  /* 270 */ virtual TColor ButtonFrameColor(TvxButtonState state) const;
  /* 271 */ virtual TColor HotButtonFrameColor() const;
  /* 272 */ virtual TColor PlainButtonFrameColor() const;
  /* 273 */ virtual TColor HighlightFrameColor() const;

  void PaintFooterPanel(TvxCanvas* canvas, const TRect& rect, TvxBorders borders) const override;
  void PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect, const TRect& arrowRect, bool isNext,
                                      TvxButtonState state) const override;
  TvxLookAndFeelStyle StyleId() const override;
  TColor SchedulerFrameColor() const override;
  int BorderWidth() const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  int ButtonBorderWidth(TvxButtonState state) const override;
  TColor ButtonFaceColor(TvxButtonState state) const override;
  TRect ButtonFocusBounds(TvxCanvas* canvas, const TRect& rect) const override;
  TRect ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const override;
  int ButtonTextIndent() const override;
  int ButtonPressedTextShift() const override;
  TColor ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const override;
  TvxButtonState ButtonGlyphState(TvxButtonState state) const override;
  void PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, int buttonCount,
                        int buttonIndex, TColor frameColor) const override;
  void PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintFlatButtonFrame(TvxCanvas* canvas, const TRect& rect, bool pressed, bool hot) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  int ExpandButtonExtent() const override;
  bool CanHotTrackButtons() const override;
  void PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxBorders neighbours,
                        TvxBorders borders, TvxButtonState state, TAlignment horzAlignment,
                        TTextLayout vertAlignment, bool multiLine, bool endEllipsis, const String& text, TFont* font,
                        TColor textColor, TColor backgroundColor,
                        const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                        TvxBorders borders) const override;
  void PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               TvxButtonState state) const override;
  void PaintHeaderSectionContent(TvxCanvas* canvas, const TRect& rect, const TRect& textAreaBounds,
                                 TvxButtonState state, TAlignment horzAlignment, TTextLayout vertAlignment,
                                 bool multiLine, bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                 TColor backgroundColor) const override;
  void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const override;
  TvxBorders HeaderOwnBorders(TvxBorders neighbours) const override;
  int HeaderBorderWidth() const override;
  TPoint SortMarkExtent() const override;
  TvxBorders LayoutViewRecordBorders(int recordState) const override;
  int FooterBorderWidth() const override;
  int FooterCellBorderWidth() const override;
  int FooterCellSpacing() const override;
  void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                 bool filterActive) const override;
  TPoint FilterCloseButtonExtent() const override;
  void PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders,
                    bool vertical) const override;
  void PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               bool vertical) const override;
  int TabEdgeWidth(bool vertical) const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  void PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect, const TvxAreaViewParams& viewParams,
                                  bool horizontal) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  void PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                     std::span<const TPoint> innerDark,
                                     std::span<const TPoint> outerDark) const override;
  void PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const override;
  TColor SplitterGripShadowColor(bool highlighted) const override;
  TSize SplitterExtent(bool horizontal) const override;
  void PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const override;

 protected:
  TvxUltraFlatLookAndFeelPainter() = default;
};

class TvxOffice11LookAndFeelPainter : public TvxUltraFlatLookAndFeelPainter {
 public:
  static const TvxOffice11LookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvxOffice11LookAndFeelPainter"; }

  /* 274 */ virtual TColor BackgroundGradientEndColor() const;
  /* 275 */ virtual TColor DarkEdgeColor() const;
  /* 276 */ virtual TColor LightEdgeColor() const;
  /* 277 */ virtual TColor BackgroundGradientMiddleColor() const;

  TColor ButtonFrameColor(TvxButtonState state) const override;
  TColor HotButtonFrameColor() const override;
  TColor HighlightFrameColor() const override;

  TColor CalendarHeaderHighlightTextColor() const override;
  // The last argument draws the header flat (no gradient at the bottom).
  void PaintContent(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxButtonState state,
                    TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                    const String& text, TFont* font, TColor textColor, TColor backgroundColor,
                    const TvxDrawBackgroundEvent& onDrawBackground, bool plain = false) const override;
  void PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect, const TRect& arrowRect, bool isNext,
                                      TvxButtonState state) const override;
  TvxLookAndFeelStyle StyleId() const override;
  bool RedrawsOnResize() const override;
  TColor FilterPanelColor() const override;
  TColor FilterPanelTextColor() const override;
  TColor HeaderAreaColor() const override;
  TColor HeaderAreaTextColor() const override;
  TColor GroupByPanelColor() const override;
  TColor GroupByPanelTextColor() const override;
  TColor GroupRowColor() const override;
  TColor HeaderBackgroundColor() const override;
  TColor HeaderColor() const override;
  TColor CalendarHeaderColor() const override;
  TColor CalendarSelectedDayColor() const override;
  TColor CalendarSelectedDayTextColor() const override;
  TColor SchedulerFrameColor() const override;
  TColor SchedulerBackgroundColor() const override;
  TColor FaceToneColor() const override;
  TColor WindowToneColor() const override;
  TColor TimeGridHeaderColor() const override;
  TColor TimeGridBackgroundColor() const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  TColor ButtonFaceColor(TvxButtonState state) const override;
  TColor ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const override;
  void PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  bool ExpandButtonPaintedFirst() const override;
  void PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor frameColor,
                              TColor fillColor) const override;
  int ExpandButtonExtent() const override;
  int SmallExpandButtonExtent() const override;
  TColor CheckBoxFaceColor(TvxButtonState state) const override;
  void PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxBorders neighbours,
                   TvxBorders borders, TvxButtonState state, TAlignment horzAlignment, TTextLayout vertAlignment,
                   bool multiLine, bool endEllipsis, const String& text, TFont* font, TColor textColor,
                   TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground, bool isLast = false,
                   bool isGroup = false) const override;
  void PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                        TvxBorders borders) const override;
  // sectionData carries the section's neighbour set.
  void PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, intptr_t sectionData,
                          TvxBorders borders, TvxButtonState state, TAlignment horzAlignment,
                          TTextLayout vertAlignment, bool multiLine, bool endEllipsis, const String& text,
                          TFont* font, TColor textColor, TColor backgroundColor) const override;
  void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const override;
  TvxBorders HeaderOwnBorders(TvxBorders neighbours) const override;
  int HeaderExtraIndent() const override;
  void PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                    int recordState) const override;
  TColor FooterSeparatorColor() const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  void PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text, TvxBorders neighbours,
                                const TvxViewParams& viewParams, int sideArrows, int arrowSize,
                                const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintSchedulerOutline(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const override;
  void PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl* control, const TRect& rect, TColor color1,
                               TColor color2) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  TColor GroupBoxCaptionTextColor(bool enabled, int captionPosition) const override;
  void PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                     std::span<const TPoint> innerDark,
                                     std::span<const TPoint> outerDark) const override;
  void PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const override;
  TColor SplitterGripHighlightColor(bool highlighted) const override;
  TColor SplitterGripShadowColor(bool highlighted) const override;
  TSize SplitterExtent(bool horizontal) const override;
  void PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const override;

 protected:
  TvxOffice11LookAndFeelPainter() = default;
};
