// The native-theme painter: draws with the system's visual-styles theme,
// class by class. Every themed operation opens its theme class first and,
// when no handle comes back (visual styles off, or the class missing),
// gives the standard painter's answer, so it never fails for lack of a
// theme. The look-and-feel chooses it when NativeStyle is on and themes
// are available.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include "foundation/vxLookAndFeelPainters.h"

class TvxWinXPLookAndFeelPainter : public TvxStandardLookAndFeelPainter {
 public:
  static const TvxWinXPLookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvxWinXPLookAndFeelPainter"; }

  void PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect, const TRect& arrowRect, bool isNext,
                                      TvxButtonState state) const override;
  TvxLookAndFeelStyle StyleId() const override;
  bool RedrawsOnResize() const override;
  TColor SchedulerFrameColor() const override;
  TColor SchedulerAccentColor() const override;
  void PaintArrowButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, TvxArrowDirection direction,
                        bool framed) const override;
  void PaintArrowButtonFace(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  int BorderWidth() const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  TRect GroupedButtonContentBounds(const TRect& rect, int buttonCount, int buttonIndex) const override;
  int ButtonBorderWidth(TvxButtonState state) const override;
  TColor ButtonFaceColor(TvxButtonState state) const override;
  TRect ButtonFocusBounds(TvxCanvas* canvas, const TRect& rect) const override;
  TRect ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const override;
  int ButtonTextIndent() const override;
  int ButtonPressedTextShift() const override;
  TColor ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const override;
  void PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption, TvxButtonState state,
                       bool drawFrame, TColor faceColor, TColor textColor, bool wordWrap,
                       bool isToolButton = false) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  bool ExpandButtonPaintedFirst() const override;
  void PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                              TvxButtonState state) const override;
  void PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor frameColor,
                              TColor fillColor) const override;
  int ExpandButtonExtent() const override;
  int GroupToggleButtonExtent() const override;
  bool CanHotTrackButtons() const override;
  bool IsPointOnGroupToggleButton(const TRect& rect, const TPoint& point) const override;
  int SmallExpandButtonExtent() const override;
  int CheckBoxFrameWidth() const override;
  TSize CheckBoxGlyphExtent() const override;
  void PaintCheckMark(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool checked,
                      TColor color) const override;
  void PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state, bool checked, bool focused,
                        TColor backgroundColor, bool highlighted = false) const override;
  TSize RadioButtonExtent() const override;
  void PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxBorders neighbours,
                   TvxBorders borders, TvxButtonState state, TAlignment horzAlignment, TTextLayout vertAlignment,
                   bool multiLine, bool endEllipsis, const String& text, TFont* font, TColor textColor,
                   TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground, bool isLast = false,
                   bool isGroup = false) const override;
  void PaintHeaderPressedLook(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, intptr_t sectionData,
                          TvxBorders borders, TvxButtonState state, TAlignment horzAlignment,
                          TTextLayout vertAlignment, bool multiLine, bool endEllipsis, const String& text,
                          TFont* font, TColor textColor, TColor backgroundColor) const override;
  void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const override;
  int HeaderBorderWidth() const override;
  int HeaderSectionBorderWidth(TvxButtonState state) const override;
  int HeaderExtraIndent() const override;
  TPoint SortMarkExtent() const override;
  void PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                    int recordState) const override;
  int FooterBorderWidth() const override;
  int FooterCellBorderWidth() const override;
  int FooterCellSpacing() const override;
  bool FooterCellsPaintedFirst() const override;
  void PaintFooterCellWithFrame(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment,
                                TTextLayout vertAlignment, bool multiLine, const String& text, TFont* font,
                                TColor textColor, TColor backgroundColor,
                                const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                 bool filterActive) const override;
  TPoint FilterActivateButtonExtent() const override;
  TPoint FilterCloseButtonExtent() const override;
  void PaintTab(TvxCanvas* canvas, const TRect& rect, TvxBorders borders, const String& text, TvxButtonState state,
                bool vertical, TFont* font, TColor textColor, TColor backgroundColor, bool showPrefix) const override;
  void PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders,
                    bool vertical) const override;
  void PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               bool vertical) const override;
  bool CanPaintTab(bool vertical) const override;
  bool HotTracksTabs(bool vertical) const override;
  int TabEdgeWidth(bool vertical) const override;
  void PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind, TColor backgroundColor,
                          const TvxDrawBackgroundEvent& onDrawBackground) const override;
  int ScrollBarMinThumbLength(bool horizontal) const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  TSize SizeGripExtent() const override;
  void PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const override;
  TSize TabCloseButtonExtent() const override;
  void PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text, TvxBorders neighbours,
                                const TvxViewParams& viewParams, int sideArrows, int arrowSize,
                                const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds, const TRect& progressRect,
                                      const TvxAreaViewParams& viewParams, bool frameOnly) const override;
  void PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect, const TvxAreaViewParams& viewParams,
                                  bool horizontal) const override;
  TRect SchedulerEventProgressMargins() const override;
  void PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  TColor GroupBoxCaptionTextColor(bool enabled, int captionPosition) const override;
  void PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl* control, const TRect& rect, TColor color1,
                               TColor color2) const override;
  void CorrectTrackBarThumbBounds(TvxCanvas* canvas, TRect& rect, bool horizontal, int shape) const override;
  void PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect, const TRect& selectionRect, bool showSelection,
                          bool enabled, bool horizontal, TColor color) const override;
  void PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool horizontal, int shape,
                          TColor color) const override;
  void PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool dragging,
                     bool horizontal) const override;

  /* 270 */ virtual void PaintThemedText(TvxCanvas* canvas, HTHEME theme, int part, int state, TFont* font,
                                         TColor color, const String& text, TAlignment horzAlignment,
                                         TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                         bool showPrefix, const TRect& rect) const;

 protected:
  TvxWinXPLookAndFeelPainter() = default;
};
