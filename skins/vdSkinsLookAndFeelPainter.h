// The skin painter: the look-and-feel painter of every control while a skin
// is active. A look-and-feel whose SkinName names a registered skin paints
// with that skin's painter class (vdSkinModule.h), which descends from this
// one and answers its own painter data.
//
// Every operation here reads the slots of the skin's painter data (the
// bound skin, vdSkinInfo.h) and falls back to the operation it overrides
// when the skin lacks what it needs: the element, a colour that is present
// (or valid, neither clNone nor clDefault, where the operation says so), or
// a property. A painter without painter data (not registered) answers as
// the Office 2003 painter in every operation.
//
// Adds operations 278-279 after the Office 2003 painter's.
#pragma once

#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "skins/vdSkinInfo.h"

class TvdSkinLookAndFeelPainter : public TvxOffice11LookAndFeelPainter {
 public:
  static const TvdSkinLookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvdSkinLookAndFeelPainter"; }

  // The painter data registered for this painter class; nil when none is.
  /* 278 */ virtual TvdSkinLookAndFeelPainterInfo* GetPainterData() const;
  /* 279 */ virtual const char* GetModuleName() const;

  // Colours.
  TColor ContentColor() const override;
  TColor ContentEvenColor() const override;
  TColor ContentOddColor() const override;
  TColor ContentTextColor() const override;
  TColor EditorBackgroundColor(TvxEditorColorKind kind) const override;
  TColor EditorTextColor(TvxEditorColorKind kind) const override;
  TColor FilterPanelTextColor() const override;
  TColor GridFixedLineColor() const override;
  TColor VerticalGridFixedLineColor() const override;
  TColor HeaderAreaColor() const override;
  TColor GridBackgroundColor() const override;
  TColor GridLineColor() const override;
  TColor GroupByPanelTextColor() const override;
  TColor GroupRowColor() const override;
  TColor GroupRowTextColor() const override;
  TColor HeaderBackgroundColor() const override;
  TColor HeaderBackgroundTextColor() const override;
  TColor HeaderColor() const override;
  TColor HeaderTextColor() const override;
  TColor HyperLinkTextColor() const override;
  TColor AlternateLinkTextColor() const override;
  TColor VerticalGridBackgroundColor() const override;
  TColor VerticalGridBandBorderColor() const override;
  TColor VerticalGridCategoryColor() const override;
  TColor VerticalGridCategoryTextColor() const override;
  TColor VerticalGridRowHeaderColor() const override;
  TColor VerticalGridRowHeaderTextColor() const override;
  TColor VerticalGridLineColor() const override;
  TColor CalendarHeaderColor() const override;
  TColor CalendarHeaderTextColor(bool highlighted) const override;
  TColor CalendarHolidayTextColor() const override;
  TColor CalendarInactiveDayTextColor() const override;
  TColor CalendarSelectedDayColor() const override;
  TColor CalendarSelectedDayTextColor() const override;
  TColor CalendarSeparatorColor() const override;
  TColor CalendarDayColor() const override;
  TColor CalendarDayTextColor() const override;
  TColor CalendarTodayFrameColor() const override;
  TColor CalendarTodayTextColor() const override;
  TColor SchedulerContentColor() const override;
  TColor SchedulerBackgroundColor() const override;
  TColor SchedulerFrameColor() const override;
  TColor SchedulerNavigatorColor() const override;
  TColor TimeRulerColor() const override;
  TColor TimeRulerTextColor() const override;
  TColor SelectedAppointmentTextColor() const override;
  TColor AppointmentTextColor() const override;
  TColor SelectionColor() const override;
  TColor SelectionTextColor() const override;
  TColor CardSeparatorColor() const override;
  TColor TimeGridHeaderTextColor() const override;
  TColor TimeGridHeaderAlternateTextColor() const override;
  TColor ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const override;
  TColor Office11GroupRowContentColor(bool selected) const override;
  TColor Office11GroupRowSeparatorColor() const override;
  TColor Office11GroupRowTextColor() const override;
  TColor GroupByAreaColor() const override;
  TColor GroupByAreaTextColor() const override;
  TColor FooterSeparatorColor() const override;
  TColor SchedulerNavigationButtonTextColor(bool isNext, TvxButtonState state,
                                            TColor defaultColor) const override;
  TColor EditButtonCaptionColor() const override;
  TColor ContainerFrameColor(bool highlighted) const override;
  TColor ProgressBarTextColor(bool overFilledPart) const override;
  TColor GroupBoxCaptionTextColor(bool enabled, int captionPosition) const override;
  TColor GroupPanelTextColor() const override;
  TColor LayoutControlBackgroundColor() const override;
  TColor CalculatorButtonTextColor(int buttonKind) const override;
  TColor CalculatorBackgroundColor() const override;

  // Sizes and behaviour.
  int ButtonBorderWidth(TvxButtonState state) const override;
  TRect ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const override;
  int ExpandButtonExtent() const override;
  TSize CheckBoxGlyphExtent() const override;
  TSize RadioButtonExtent() const override;
  int LabelLineWidth() const override;
  TvxBorders HeaderOwnBorders(TvxBorders neighbours) const override;
  bool HeaderIsOpaque() const override;
  bool HeaderElementIsOpaque() const override;
  TRect LayoutViewPadding(int partKind) const override;
  TRect LayoutViewSpacing(int partKind) const override;
  int FooterCellBorderWidth() const override;
  bool FooterCellsPaintedFirst() const override;
  TPoint FilterCloseButtonExtent() const override;
  bool IndicatorPaintsCellsFirst() const override;
  int ScrollBarMinThumbLength(bool vertical) const override;
  TSize SizeGripExtent() const override;
  TSize TabCloseButtonExtent() const override;
  void CalculateSchedulerNavigationButtonLayout(bool isNext, bool minimal, int textExtent1, int textExtent2,
                                                TRect& bounds, TRect& textRect, TRect& arrowRect) const override;
  TRect SchedulerEventProgressMargins() const override;
  TvxSchedulerNavigationButtonMetrics SchedulerNavigationButtonMetrics(bool isNext) const override;
  int EditButtonTextIndent() const override;
  TSize EditButtonExtent() const override;
  TSize NavigatorButtonGlyphExtent() const override;
  TRect ProgressBarFrameWidths(bool vertical) const override;
  TRect GroupBoxFrameWidths(bool captionPart, int captionPosition) const override;
  bool GroupBoxNeedsParentBackground(bool captionPart, int captionPosition) const override;
  TSize TrackBarThumbExtent(bool horizontal) const override;
  int TrackBarTrackThickness() const override;
  TSize SplitterExtent(bool horizontal) const override;
  TRect PrintPreviewPageBorderWidths() const override;

  // Drawing.
  void PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption, TvxButtonState state,
                       bool drawFrame, TColor faceColor, TColor textColor, bool wordWrap,
                       bool isToolButton = false) const override;
  void PaintContent(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxButtonState state,
                    TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                    const String& text, TFont* font, TColor textColor, TColor backgroundColor,
                    const TvxDrawBackgroundEvent& onDrawBackground, bool plain = false) const override;
  void PaintFooterPanel(TvxCanvas* canvas, const TRect& rect, TvxBorders borders) const override;
  void PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect, const TRect& arrowRect, bool isNext,
                                      TvxButtonState state) const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  void PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, int buttonCount,
                        int buttonIndex, TColor frameColor) const override;
  void PaintFlatButtonFrame(TvxCanvas* canvas, const TRect& rect, bool pressed, bool hot) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  void PaintChevronButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool expanded,
                          TvxRotation rotation) const override;
  void PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor frameColor,
                              TColor fillColor) const override;
  void PaintCheckBox(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                     TvxCheckBoxState checkState) const override;
  void PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state, bool checked, bool focused,
                        TColor backgroundColor, bool highlighted = false) const override;
  void PaintLabelLine(TvxCanvas* canvas, const TRect& rect, TColor darkColor, TColor lightColor,
                      bool vertical) const override;
  void PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxBorders neighbours,
                   TvxBorders borders, TvxButtonState state, TAlignment horzAlignment, TTextLayout vertAlignment,
                   bool multiLine, bool endEllipsis, const String& text, TFont* font, TColor textColor,
                   TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground, bool isLast = false,
                   bool isGroup = false) const override;
  void PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds, TvxBorders neighbours,
                        TvxBorders borders, TvxButtonState state, TAlignment horzAlignment,
                        TTextLayout vertAlignment, bool multiLine, bool endEllipsis, const String& text, TFont* font,
                        TColor textColor, TColor backgroundColor,
                        const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintHeaderStrip(TvxCanvas* canvas, const TRect& rect, int bandWidth, TColor color,
                        const TvxAreaViewParams& viewParams) const override;
  void PaintGroupByArea(TvxCanvas* canvas, const TRect& rect, bool transparent, TColor color,
                        TBitmap* bitmap) const override;
  void PaintLayoutViewItem(TvxCanvas* canvas, const TRect& rect, int itemState, bool focused = false) const override;
  void PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                    int recordState) const override;
  void PaintLayoutViewRecord(TvxCanvas* canvas, const TRect& rect, int captionSide, int recordState,
                             TvxBorders borders) const override;
  void PaintLayoutViewRecordExpandButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                         bool expanded) const override;
  void PaintFooterCell(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment, TTextLayout vertAlignment,
                       bool multiLine, const String& text, TFont* font, TColor textColor, TColor backgroundColor,
                       const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFooterBackground(TvxCanvas* canvas, const TRect& rect,
                             const TvxAreaViewParams& viewParams) const override;
  void PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                 bool filterActive) const override;
  void PaintFilterPanel(TvxCanvas* canvas, const TRect& rect, bool transparent, TColor color,
                        TBitmap* bitmap) const override;
  void PaintFormClientArea(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintIndicatorCustomizationMark(TvxCanvas* canvas, const TRect& rect, TColor color) const override;
  void PaintIndicatorImage(TvxCanvas* canvas, const TRect& rect, int indicatorKind) const override;
  void PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind, TColor backgroundColor,
                          const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintIndicatorCellWithColors(TvxCanvas* canvas, const TRect& rect, int indicatorKind, TColor backgroundColor,
                                    const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintScrollBarTrack(TvxCanvas* canvas, const TRect& rect, bool horizontal) const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  void PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintTabCloseButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text, TvxBorders neighbours,
                                const TvxViewParams& viewParams, int sideArrows, int arrowSize,
                                const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds, const TRect& progressRect,
                                      const TvxAreaViewParams& viewParams, bool frameOnly) const override;
  void PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintClockFace(TvxCanvas* canvas, const TRect& rect, TDateTime time, TColor backgroundColor) const override;
  void PaintEditButton(TvxCanvas* canvas, const TRect& rect, int buttonKind, TvxButtonState state,
                       int position) const override;
  void PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const override;
  void PaintNavigatorButtonGlyph(TvxCanvas* canvas, TvxImageList* images, int imageIndex, int glyphIndex,
                                 const TRect& rect, bool enabled, bool useImageList) const override;
  void PaintProgressBarFrame(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  void PaintProgressBarChunk(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  void PaintGroupBoxContent(TvxCanvas* canvas, const TRect& rect, TRect contentRect) const override;
  void PaintGroupBoxCaption(TvxCanvas* canvas, const TRect& rect, int captionPosition) const override;
  void PaintGroupBoxBorder(TvxCanvas* canvas, const TRect& rect, int captionPosition,
                           TvxBorders borders) const override;
  void PaintGroupBoxExpandButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool expanded,
                                 TvxRotation rotation) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  void PaintGroupPanelBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintGroupPanel(TvxCanvas* canvas, const TRect& rect, bool withBorder) const override;
  void PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect, const TRect& selectionRect, bool showSelection,
                          bool enabled, bool horizontal, TColor color) const override;
  void PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool horizontal, int shape,
                          TColor color) const override;
  void PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool dragging,
                     bool horizontal) const override;
  void PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintPrintPreviewPage(TvxCanvas* canvas, const TRect& bounds, const TRect& pageRect, bool selected,
                             bool fillPage) const override;

 protected:
  TvdSkinLookAndFeelPainter() = default;
};

// The skin state of a painter's button state: default is active.
TvdSkinElementState vdSkinElementStateOf(TvxButtonState state);
// The hands of a skinned clock face for a time of day: the hour and minute
// hands as four-point outlines (tip, side, back, other side), the second
// hand as a line from the centre.
struct TvdSkinClockHands {
  TPoint Hour[4];
  TPoint Minute[4];
  TPoint Second[2];
};
TvdSkinClockHands vdSkinClockHands(const TRect& rect, int hour, int minute, int second);
// A pixel 0xAARRGGBB greyed: blue, green and red all become
// (2 * alpha + blue + green + red) / 5.
uint32_t vdSkinGreyedPixel(uint32_t pixel);

// Forgets the pictures of translucent elements that the painters keep for
// repainting: a skin's painter data calls it when the skin changes or goes.
void vdSkinFlushPictures();

// The painter module: keeps the painter registry while it runs.
void vdSkinsLookAndFeelPainterInitialize();
void vdSkinsLookAndFeelPainterFinalize();
