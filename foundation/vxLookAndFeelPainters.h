// The painters: the drawing vocabulary of the skinned controls.
//
// A painter is a class, never a value a control owns. Each painter class is
// stateless and has exactly one static instance, reached through its
// Painter() function; a TvxLookAndFeelPainterClass is a pointer to that
// instance and is what controls hold and compare. Every operation is a
// const member function, so the painter it was called through arrives as
// `this`: an operation of the base that calls another operation reaches a
// descendant's override, and a descendant that changes one step (a frame, a
// size, a colour) changes every composite operation built on it.
//
// Two call forms follow from that:
// - the base's (or a parent's) implementation for the current painter is a
//   qualified call, TvxCustomLookAndFeelPainter::PaintGroupToggleButton(...),
//   which keeps `this`;
// - an operation run on another class goes through that class's instance,
//   TvxStandardLookAndFeelPainter::Painter().PaintSeparator(...), so that its
//   own steps (its border width, its colours) apply.
//
// The 270 virtual operations are declared in a fixed order, numbered 0-269
// in the comments; descendants declare theirs after them, numbered on from
// 270. Colours are TColor values: clDefault as an argument asks for the
// painter's own colour, clNone stands for no colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>

#include "foundation/vxGraphics.h"
#include "foundation/vxLookAndFeelPaintersStates.h"
#include "platform/DateTime.h"
#include "platform/ui/Controls.h"

class TvxImageList;

// --- Shared types -------------------------------------------------------------------

enum TvxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
enum TvxArrowDirection { adUp, adDown, adLeft, adRight };

// A painter's identity (operation 9) and the look-and-feel kinds it maps
// to: every style without a kind of its own (native) draws as standard.
enum TvxLookAndFeelStyle { lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11 };
enum TvxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
TvxLookAndFeelKind vxKindOfPainterStyle(TvxLookAndFeelStyle style);

enum TvxEditorColorKind { eckNormal, eckDisabled, eckInactive, eckReadOnly };
enum TvxEditPopupBorderStyle { epbsDefault, epbsSingle, epbsFrame3D, epbsFlat };

// The parts of a scroll bar; 0 is none.
enum TvxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };

// The corner a size grip sits in.
enum TvxCorner { coTopLeft, coTopRight, coBottomLeft, coBottomRight };

// Group-box caption positions (4: no caption, or one centred in the box).
enum : int { vxgcpTop, vxgcpBottom, vxgcpLeft, vxgcpRight, vxgcpNone };

// Track-bar thumb shapes: pointed to the top (or left), to the bottom (or
// right), or a box for ticks on both sides.
enum : int { vxtsPointedTop, vxtsPointedBottom, vxtsBox };

// Which side arrows a scheduler caption shows.
enum : int { vxsaLeft = 1, vxsaRight = 2, vxsaBoth = 3 };

// Layout-view states that paint as selected.
constexpr int vxLayoutViewItemSelected = 3;
constexpr int vxLayoutViewRecordSelected = 2;

// The text flags of an alignment pair (left 1, right 2, centre 4; top 8,
// bottom 16, centre 32).
TvxTextFlags vxHorzAlignmentFlags(TAlignment alignment);
TvxTextFlags vxVertAlignmentFlags(TTextLayout alignment);

// Paints a cell's background itself and answers true, or answers false to
// let the painter fill it.
using TvxDrawBackgroundEvent = std::function<bool(TvxCanvas* canvas, const TRect& bounds)>;

// An area's fill with the font and text colour of what is written on it.
struct TvxViewParams : TvxAreaViewParams {
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// Borders (left, top, right, bottom), whether a text shows, and the arrow
// size of a scheduler navigation button.
struct TvxSchedulerNavigationButtonMetrics {
  TRect Borders;
  bool HasText = false;
  TSize ArrowSize;
};

// --- The painter interface --------------------------------------------------------

class TvxCustomLookAndFeelPainter;
using TvxLookAndFeelPainterClass = const TvxCustomLookAndFeelPainter*;

class TvxCustomLookAndFeelPainter {
 public:
  static const TvxCustomLookAndFeelPainter& Painter();
  virtual ~TvxCustomLookAndFeelPainter() = default;
  TvxCustomLookAndFeelPainter(const TvxCustomLookAndFeelPainter&) = delete;
  TvxCustomLookAndFeelPainter& operator=(const TvxCustomLookAndFeelPainter&) = delete;

  virtual const char* ClassName() const { return "TvxCustomLookAndFeelPainter"; }

  // Colours and general operations (0-89).
  /* 0 */ virtual TColor CalendarHeaderHighlightTextColor() const;
  /* 1 */ virtual void PaintBackground(TvxCanvas* canvas, const TRect& rect, bool transparent, TColor color,
                                       TBitmap* bitmap) const;
  /* 2 */ virtual void PaintSmallArrow(TvxCanvas* canvas, const TRect& rect, TColor color) const;
  // isFooter is for overriding painters.
  /* 3 */ virtual void PaintContent(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                    TvxButtonState state, TAlignment horzAlignment, TTextLayout vertAlignment,
                                    bool multiLine, bool endEllipsis, const String& text, TFont* font,
                                    TColor textColor, TColor backgroundColor,
                                    const TvxDrawBackgroundEvent& onDrawBackground, bool isFooter = false) const;
  // borders are for overriding painters.
  /* 4 */ virtual void PaintFooterPanel(TvxCanvas* canvas, const TRect& rect, TvxBorders borders) const;
  /* 5 */ virtual void PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect, const TRect& arrowRect,
                                                      bool isNext, TvxButtonState state) const;
  /* 6 */ virtual TRect FooterCellContentBounds(const TRect& rect) const;
  /* 7 */ virtual TRect FooterCellTextBounds(const TRect& rect) const;
  /* 8 */ virtual TRect CenteredBand(const TRect& rect, int thickness, bool vertical) const;
  /* 9 */ virtual TvxLookAndFeelStyle StyleId() const;
  /* 10 */ virtual bool RedrawsOnResize() const;
  /* 11 */ virtual TColor ContentColor() const;
  /* 12 */ virtual TColor ContentEvenColor() const;
  /* 13 */ virtual TColor ContentOddColor() const;
  /* 14 */ virtual TColor ContentTextColor() const;
  /* 15 */ virtual TColor EditorBackgroundColorForState(bool disabled) const;
  /* 16 */ virtual TColor EditorBackgroundColor(TvxEditorColorKind kind) const;
  /* 17 */ virtual TColor EditorTextColorForState(bool disabled) const;
  /* 18 */ virtual TColor EditorTextColor(TvxEditorColorKind kind) const;
  /* 19 */ virtual TColor FilterPanelColor() const;
  /* 20 */ virtual TColor FilterPanelTextColor() const;
  /* 21 */ virtual TColor GridFixedLineColor() const;
  /* 22 */ virtual TColor HeaderAreaColor() const;
  /* 23 */ virtual TColor HeaderAreaTextColor() const;
  /* 24 */ virtual TColor GridBackgroundColor() const;
  /* 25 */ virtual TColor GridLineColor() const;
  /* 26 */ virtual TColor GroupByPanelColor() const;
  /* 27 */ virtual TColor GroupByPanelTextColor() const;
  /* 28 */ virtual TColor GroupRowColor() const;
  /* 29 */ virtual TColor GroupRowTextColor() const;
  /* 30 */ virtual TColor HeaderBackgroundColor() const;
  /* 31 */ virtual TColor HeaderBackgroundTextColor() const;
  /* 32 */ virtual TColor HeaderColor() const;
  /* 33 */ virtual TColor HeaderTextColor() const;
  /* 34 */ virtual TColor HyperLinkTextColor() const;
  /* 35 */ virtual TColor AuxiliaryColor() const;
  /* 36 */ virtual TColor AuxiliaryTextColor() const;
  /* 37 */ virtual TColor AlternateLinkTextColor() const;
  /* 38 */ virtual TColor VerticalGridFixedLineColor() const;
  /* 39 */ virtual TColor VerticalGridBackgroundColor() const;
  /* 40 */ virtual TColor VerticalGridBandBorderColor() const;
  /* 41 */ virtual TColor VerticalGridCategoryColor() const;
  /* 42 */ virtual TColor VerticalGridCategoryTextColor() const;
  /* 43 */ virtual TColor VerticalGridRowHeaderColor() const;
  /* 44 */ virtual TColor VerticalGridRowHeaderTextColor() const;
  /* 45 */ virtual TColor VerticalGridLineColor() const;
  /* 46 */ virtual TColor CalendarContentColor() const;
  /* 47 */ virtual TColor CalendarHeaderColor() const;
  /* 48 */ virtual TColor CalendarHeaderTextColor(bool highlighted) const;
  /* 49 */ virtual TColor CalendarHolidayTextColor() const;
  /* 50 */ virtual TColor CalendarInactiveDayTextColor() const;
  /* 51 */ virtual TColor CalendarSelectedDayColor() const;
  /* 52 */ virtual TColor CalendarSelectedDayTextColor() const;
  /* 53 */ virtual TColor CalendarSeparatorColor() const;
  /* 54 */ virtual TColor CalendarDayColor() const;
  /* 55 */ virtual TColor CalendarDayTextColor() const;
  /* 56 */ virtual TColor CalendarTodayFrameColor() const;
  /* 57 */ virtual TColor CalendarTodayTextColor() const;
  /* 58 */ virtual TColor SchedulerContentColor() const;
  /* 59 */ virtual TColor SchedulerContentTextColor() const;
  /* 60 */ virtual TColor SchedulerFrameColor() const;
  /* 61 */ virtual TColor SchedulerBackgroundColor() const;
  /* 62 */ virtual TColor SchedulerNavigatorColor() const;
  /* 63 */ virtual TColor TimeRulerColor() const;
  /* 64 */ virtual TColor TimeRulerTextColor() const;
  /* 65 */ virtual TColor SchedulerAccentColor() const;
  /* 66 */ virtual TColor SelectedAppointmentTextColor() const;
  /* 67 */ virtual TColor AppointmentTextColor() const;
  /* 68 */ virtual TColor SelectionColor() const;
  /* 69 */ virtual TColor SelectionTextColor() const;
  /* 70 */ virtual TColor CardSeparatorColor() const;
  /* 71 */ virtual TColor FaceToneColor() const;
  /* 72 */ virtual TColor FaceToneTextColor() const;
  /* 73 */ virtual TColor WindowToneColor() const;
  /* 74 */ virtual TColor FaceToneAltColor() const;
  /* 75 */ virtual TColor WhiteToneColor() const;
  /* 76 */ virtual TColor TimeGridHeaderTextColor() const;
  /* 77 */ virtual TColor TimeGridHeaderColor() const;
  /* 78 */ virtual TColor TimeGridHeaderAlternateTextColor() const;
  /* 79 */ virtual TColor TimeGridBackgroundColor() const;
  /* 80 */ virtual TColor BlackToneColor() const;
  /* 81 */ virtual TColor BlackToneTextColor() const;
  /* 82 */ virtual TColor BlackToneLineColor() const;
  /* 83 */ virtual TColor SilverToneColor() const;
  /* 84 */ virtual TColor WhiteToneAltColor() const;
  /* 85 */ virtual TColor ShadowToneColor() const;
  /* 86 */ virtual TColor SkyToneColor() const;
  /* 87 */ virtual TColor NavyToneColor() const;
  /* 88 */ virtual TColor ShadowToneAltColor() const;
  /* 89 */ virtual TColor ShadowToneLineColor() const;

  // Arrows (90-93).
  /* 90 */ virtual void PaintArrow(TvxCanvas* canvas, const TRect& rect, TvxArrowDirection direction,
                                   TColor color) const;
  /* 91 */ virtual void PaintArrowButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                         TvxArrowDirection direction, bool framed) const;
  /* 92 */ virtual void PaintArrowButtonFace(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;
  /* 93 */ virtual void PaintArrowGlyph(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                        TvxArrowDirection direction) const;

  // Control borders and separators (94-96).
  /* 94 */ virtual int BorderWidth() const;
  /* 95 */ virtual void PaintBorder(TvxCanvas* canvas, const TRect& rect) const;
  /* 96 */ virtual void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const;

  // Push buttons (97-109).
  /* 97 */ virtual TRect GroupedButtonContentBounds(const TRect& rect, int buttonCount, int buttonIndex) const;
  /* 98 */ virtual int ButtonBorderWidth(TvxButtonState state) const;
  /* 99 */ virtual TColor ButtonFaceColor(TvxButtonState state) const;
  /* 100 */ virtual TRect ButtonFocusBounds(TvxCanvas* canvas, const TRect& rect) const;
  /* 101 */ virtual TRect ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const;
  /* 102 */ virtual int ButtonTextIndent() const;
  /* 103 */ virtual int ButtonPressedTextShift() const;
  /* 104 */ virtual TColor ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const;
  /* 105 */ virtual TvxButtonState ButtonGlyphState(TvxButtonState state) const;
  // isToolButton is for overriding painters.
  /* 106 */ virtual void PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption,
                                        TvxButtonState state, bool drawFrame, TColor faceColor, TColor textColor,
                                        bool wordWrap, bool isToolButton = false) const;
  // One button of a row; the count, index and frame colour are for
  // overriding painters.
  /* 107 */ virtual void PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                         int buttonCount, int buttonIndex, TColor frameColor) const;
  /* 108 */ virtual void PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;
  /* 109 */ virtual void PaintFlatButtonFrame(TvxCanvas* canvas, const TRect& rect, bool pressed, bool hot) const;

  // Expand and group toggle buttons (110-119).
  /* 110 */ virtual void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                          TColor fillColor) const;
  /* 111 */ virtual void PaintChevronButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                           bool expanded, TvxRotation rotation) const;
  /* 112 */ virtual bool ExpandButtonPaintedFirst() const;
  /* 113 */ virtual void PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                               TvxButtonState state) const;
  /* 114 */ virtual void PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                               TColor frameColor, TColor fillColor) const;
  /* 115 */ virtual int ExpandButtonExtent() const;
  /* 116 */ virtual int GroupToggleButtonExtent() const;
  /* 117 */ virtual bool CanHotTrackButtons() const;
  /* 118 */ virtual bool IsPointOnGroupToggleButton(const TRect& rect, const TPoint& point) const;
  /* 119 */ virtual int SmallExpandButtonExtent() const;

  // Check boxes and radio buttons (120-128).
  /* 120 */ virtual int CheckBoxFrameWidth() const;
  /* 121 */ virtual TColor CheckBoxFaceColor(TvxButtonState state) const;
  /* 122 */ virtual TSize CheckBoxGlyphExtent() const;
  /* 123 */ virtual void PaintCheckMark(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, bool checked,
                                       TColor color) const;
  /* 124 */ virtual void PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;
  /* 125 */ virtual void PaintCheckBoxForState(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                              bool checked) const;
  /* 126 */ virtual void PaintCheckBox(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                      TvxCheckBoxState checkState) const;
  /* 127 */ virtual void PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state, bool checked,
                                         bool focused, TColor backgroundColor, bool highlighted = false) const;
  /* 128 */ virtual TSize RadioButtonExtent() const;

  // Label lines (129-130).
  /* 129 */ virtual void PaintLabelLine(TvxCanvas* canvas, const TRect& rect, TColor darkColor, TColor lightColor,
                                       bool vertical) const;
  /* 130 */ virtual int LabelLineWidth() const;

  // Headers and header-control sections (131-153). The two trailing flags
  // of PaintHeader are for overriding painters.
  /* 131 */ virtual void PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                    TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                    TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                    bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                    TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground,
                                    bool isLast = false, bool isGroup = false) const;
  /* 132 */ virtual void PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                         TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                         TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                         bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                         TColor backgroundColor,
                                         const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 133 */ virtual void PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                                         TvxBorders borders) const;
  /* 134 */ virtual void PaintHeaderPressedLook(TvxCanvas* canvas, const TRect& rect) const;
  // sectionData is for overriding painters.
  /* 135 */ virtual void PaintHeaderSection(TvxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                           intptr_t sectionData, TvxBorders borders, TvxButtonState state,
                                           TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                           bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                           TColor backgroundColor) const;
  /* 136 */ virtual void PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                TvxButtonState state) const;
  /* 137 */ virtual void PaintHeaderSectionContent(TvxCanvas* canvas, const TRect& rect, const TRect& textAreaBounds,
                                                  TvxButtonState state, TAlignment horzAlignment,
                                                  TTextLayout vertAlignment, bool multiLine, bool endEllipsis,
                                                  const String& text, TFont* font, TColor textColor,
                                                  TColor backgroundColor) const;
  /* 138 */ virtual void PaintHeaderSectionText(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                               TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                               bool endEllipsis, const String& text, TFont* font,
                                               TColor textColor) const;
  /* 139 */ virtual void PaintHeaderStrip(TvxCanvas* canvas, const TRect& rect, int bandWidth, TColor color,
                                         const TvxAreaViewParams& viewParams) const;
  /* 140 */ virtual void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const;
  /* 141 */ virtual TvxBorders HeaderOwnBorders(TvxBorders neighbours) const;
  /* 142 */ virtual int HeaderBorderWidth() const;
  /* 143 */ virtual TRect HeaderOuterBounds(const TRect& rect, TvxBorders neighbours, TvxBorders borders) const;
  /* 144 */ virtual TRect HeaderContentBounds(const TRect& rect, TvxBorders borders) const;
  /* 145 */ virtual bool HeaderIsOpaque() const;
  /* 146 */ virtual int HeaderHeightForText(int textHeight) const;
  /* 147 */ virtual int HeaderSectionBorderWidth(TvxButtonState state) const;
  /* 148 */ virtual TRect HeaderSectionTextBounds(const TRect& bounds, TvxButtonState state) const;
  /* 149 */ virtual TRect HeaderSectionContentBounds(const TRect& rect, TvxButtonState state) const;
  /* 150 */ virtual int HeaderWidthForText(TvxCanvas* canvas, TvxBorders borders, const String& text,
                                          TFont* font) const;
  /* 151 */ virtual int HeaderExtraIndent() const;
  /* 152 */ virtual TPoint SortMarkAreaExtent() const;
  /* 153 */ virtual TPoint SortMarkExtent() const;

  // Grid areas (154-168).
  /* 154 */ virtual void PaintGroupByArea(TvxCanvas* canvas, const TRect& rect, bool transparent, TColor color,
                                         TBitmap* bitmap) const;
  /* 155 */ virtual TColor Office11GroupRowContentColor(bool selected) const;
  /* 156 */ virtual TColor Office11GroupRowSeparatorColor() const;
  /* 157 */ virtual TColor Office11GroupRowTextColor() const;
  /* 158 */ virtual bool HeaderElementIsOpaque() const;
  /* 159 */ virtual TColor GroupByAreaColor() const;
  /* 160 */ virtual TColor GroupByAreaTextColor() const;
  // focused is for overriding painters.
  /* 161 */ virtual void PaintLayoutViewItem(TvxCanvas* canvas, const TRect& rect, int itemState,
                                            bool focused = false) const;
  /* 162 */ virtual void PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                                     int recordState) const;
  /* 163 */ virtual void PaintLayoutViewRecordEdges(TvxCanvas* canvas, const TRect& rect, int recordState,
                                                   TvxBorders borders) const;
  /* 164 */ virtual void PaintLayoutViewRecord(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                              int recordState, TvxBorders borders) const;
  /* 165 */ virtual void PaintLayoutViewRecordExpandButton(TvxCanvas* canvas, const TRect& rect,
                                                          TvxButtonState state, bool expanded) const;
  /* 166 */ virtual TRect LayoutViewPadding(int partKind) const;
  /* 167 */ virtual TRect LayoutViewSpacing(int partKind) const;
  /* 168 */ virtual TvxBorders LayoutViewRecordBorders(int recordState) const;

  // Footers, filter buttons, forms and popups (169-189).
  /* 169 */ virtual int FooterBorderWidth() const;
  /* 170 */ virtual int FooterCellBorderWidth() const;
  /* 171 */ virtual int FooterCellSpacing() const;
  /* 172 */ virtual bool FooterCellsPaintedFirst() const;
  /* 173 */ virtual TColor FooterSeparatorColor() const;
  /* 174 */ virtual int FooterSeparatorHeight() const;
  /* 175 */ virtual void PaintFooterCellWithFrame(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment,
                                                 TTextLayout vertAlignment, bool multiLine, const String& text,
                                                 TFont* font, TColor textColor, TColor backgroundColor,
                                                 const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 176 */ virtual void PaintFooterCell(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment,
                                        TTextLayout vertAlignment, bool multiLine, const String& text, TFont* font,
                                        TColor textColor, TColor backgroundColor,
                                        const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 177 */ virtual void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const;
  /* 178 */ virtual void PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const;
  /* 179 */ virtual void PaintFooterBackground(TvxCanvas* canvas, const TRect& rect,
                                              const TvxAreaViewParams& viewParams) const;
  /* 180 */ virtual void PaintFooterSeparator(TvxCanvas* canvas, const TRect& rect) const;
  /* 181 */ virtual void PaintCheckBoxForKind(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                             bool checked) const;
  /* 182 */ virtual void PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;
  /* 183 */ virtual void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                  bool filterActive) const;
  /* 184 */ virtual void PaintFilterPanel(TvxCanvas* canvas, const TRect& rect, bool transparent, TColor color,
                                         TBitmap* bitmap) const;
  /* 185 */ virtual TPoint FilterActivateButtonExtent() const;
  /* 186 */ virtual TPoint FilterCloseButtonExtent() const;
  /* 187 */ virtual TPoint FilterDropDownButtonExtent() const;
  /* 188 */ virtual void PaintFormClientArea(TvxCanvas* canvas, const TRect& rect) const;
  /* 189 */ virtual TvxEditPopupBorderStyle PreferredPopupBorderStyle() const;

  // Tabs, indicators, scroll bars and size grips (190-208).
  /* 190 */ virtual void PaintTab(TvxCanvas* canvas, const TRect& rect, TvxBorders borders, const String& text,
                                 TvxButtonState state, bool vertical, TFont* font, TColor textColor,
                                 TColor backgroundColor, bool showPrefix) const;
  /* 191 */ virtual void PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders,
                                     bool vertical) const;
  /* 192 */ virtual void PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                                                bool vertical) const;
  /* 193 */ virtual bool CanPaintTab(bool vertical) const;
  /* 194 */ virtual bool HotTracksTabs(bool vertical) const;
  /* 195 */ virtual int TabEdgeWidth(bool vertical) const;
  /* 196 */ virtual void PaintIndicatorCustomizationMark(TvxCanvas* canvas, const TRect& rect, TColor color) const;
  // Kind 0 is none; kind k draws image k - 1 of the indicator images.
  /* 197 */ virtual void PaintIndicatorImage(TvxCanvas* canvas, const TRect& rect, int indicatorKind) const;
  /* 198 */ virtual void PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind,
                                           TColor backgroundColor,
                                           const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 199 */ virtual void PaintIndicatorCellWithColors(TvxCanvas* canvas, const TRect& rect, int indicatorKind,
                                                     TColor backgroundColor,
                                                     const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 200 */ virtual bool IndicatorPaintsCellsFirst() const;
  /* 201 */ virtual int ScrollBarMinThumbLength(bool horizontal) const;
  /* 202 */ virtual void PaintScrollBarTrack(TvxCanvas* canvas, const TRect& rect, bool horizontal) const;
  /* 203 */ virtual void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                              TvxScrollBarPart part, TvxButtonState state) const;
  /* 204 */ virtual TSize SizeGripExtent() const;
  /* 205 */ virtual void PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const;
  /* 206 */ virtual void PaintSizeGripAtCorner(TvxCanvas* canvas, const TRect& rect, TColor backgroundColor,
                                              TvxCorner corner) const;
  /* 207 */ virtual TSize TabCloseButtonExtent() const;
  /* 208 */ virtual void PaintTabCloseButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;

  // Scheduler parts, a spare edge width and the clock face (209-221).
  /* 209 */ virtual void CalculateSchedulerNavigationButtonLayout(bool isNext, bool minimal, int textExtent1,
                                                                 int textExtent2, TRect& bounds, TRect& textRect,
                                                                 TRect& arrowRect) const;
  /* 210 */ virtual void PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text,
                                                 TvxBorders neighbours, const TvxViewParams& viewParams,
                                                 int sideArrows, int arrowSize,
                                                 const TvxDrawBackgroundEvent& onDrawBackground) const;
  /* 211 */ virtual void PaintSchedulerOutline(TvxCanvas* canvas, const TRect& rect) const;
  /* 212 */ virtual void PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds,
                                                       const TRect& progressRect, const TvxAreaViewParams& viewParams,
                                                       bool frameOnly) const;
  /* 213 */ virtual void PaintSchedulerNavigationButtonContent(TvxCanvas* canvas, const TRect& rect, bool isNext,
                                                              TvxButtonState state, const String& text,
                                                              const TRect& textRect, const TRect& arrowRect) const;
  /* 214 */ virtual void PaintSchedulerNavigationArrow(TvxCanvas* canvas, const TRect& rect, bool isNext,
                                                      TColor color) const;
  /* 215 */ virtual void PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const;
  /* 216 */ virtual void PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect,
                                                   const TvxAreaViewParams& viewParams, bool horizontal) const;
  /* 217 */ virtual TRect SchedulerEventProgressMargins() const;
  /* 218 */ virtual TColor SchedulerNavigationButtonTextColor(bool isNext, TvxButtonState state,
                                                            TColor defaultColor) const;
  /* 219 */ virtual TvxSchedulerNavigationButtonMetrics SchedulerNavigationButtonMetrics(bool isNext) const;
  /* 220 */ virtual int SpareEdgeWidth() const;
  /* 221 */ virtual void PaintClockFace(TvxCanvas* canvas, const TRect& rect, TDateTime time,
                                       TColor backgroundColor) const;

  // Editor buttons and container frames (222-226). The button kinds are
  // the editors': 1 drop-down, 2 glyph or text, 3 ellipsis; position 0 is
  // a left-aligned button, 1 a right-aligned one.
  /* 222 */ virtual void PaintEditButton(TvxCanvas* canvas, const TRect& rect, int buttonKind, TvxButtonState state,
                                        int position) const;
  /* 223 */ virtual int EditButtonTextIndent() const;
  /* 224 */ virtual TSize EditButtonExtent() const;
  /* 225 */ virtual TColor EditButtonCaptionColor() const;
  /* 226 */ virtual TColor ContainerFrameColor(bool highlighted) const;

  // Header panel filler and navigator glyphs (227-229).
  /* 227 */ virtual void PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const;
  // glyphIndex is for overriding painters; useImageList tells painters
  // that draw glyphs of their own to draw the image list instead.
  /* 228 */ virtual void PaintNavigatorButtonGlyph(TvxCanvas* canvas, TvxImageList* images, int imageIndex,
                                                  int glyphIndex, const TRect& rect, bool enabled,
                                                  bool useImageList) const;
  /* 229 */ virtual TSize NavigatorButtonGlyphExtent() const;

  // Progress bars (230-235). textData is for overriding painters.
  /* 230 */ virtual void PaintProgressBarFrame(TvxCanvas* canvas, const TRect& rect, bool vertical) const;
  /* 231 */ virtual void PaintProgressBarChunk(TvxCanvas* canvas, const TRect& rect, bool vertical) const;
  /* 232 */ virtual void PaintProgressBarText(TvxCanvas* canvas, bool vertical, bool solid, const String& text,
                                             const TRect& textRect, int textData, const TRect& filledRect,
                                             TColor textColor) const;
  /* 233 */ virtual TRect ProgressBarFrameWidths(bool vertical) const;
  /* 234 */ virtual TColor ProgressBarDefaultTextColor() const;
  /* 235 */ virtual TColor ProgressBarTextColor(bool overFilledPart) const;

  // Group boxes and group panels (236-249); caption positions are vxgcp*.
  /* 236 */ virtual void PaintGroupBoxContent(TvxCanvas* canvas, const TRect& rect, TRect contentRect) const;
  /* 237 */ virtual void PaintGroupBoxCaption(TvxCanvas* canvas, const TRect& rect, int captionPosition) const;
  /* 238 */ virtual void PaintGroupBoxBorder(TvxCanvas* canvas, const TRect& rect, int captionPosition,
                                            TvxBorders borders) const;
  /* 239 */ virtual void PaintGroupBoxExpandButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                  bool expanded, TvxRotation rotation) const;
  /* 240 */ virtual void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                                           TvxBorders borders) const;
  /* 241 */ virtual TRect GroupBoxFrameWidths(bool captionPart, int captionPosition) const;
  /* 242 */ virtual TColor GroupBoxCaptionTextColor(bool enabled, int captionPosition) const;
  // True when that part is not opaque: the group box then paints its
  // parent's background under itself before the border.
  /* 243 */ virtual bool GroupBoxNeedsParentBackground(bool captionPart, int captionPosition) const;
  /* 244 */ virtual void PaintGroupBoxBackground(TvxCanvas* canvas, TWinControl* control, const TRect& rect,
                                                TColor color1, TColor color2) const;
  /* 245 */ virtual void PaintGroupPanelBorder(TvxCanvas* canvas, const TRect& rect) const;
  /* 246 */ virtual void PaintGroupBoxCaptionForPosition(TvxCanvas* canvas, const TRect& rect,
                                                        int captionPosition) const;
  /* 247 */ virtual void PaintGroupPanel(TvxCanvas* canvas, const TRect& rect, bool withBorder) const;
  /* 248 */ virtual TRect GroupPanelContentOffsets() const;
  /* 249 */ virtual TColor GroupPanelTextColor() const;

  // Track bars (250-258); shapes are vxts*.
  /* 250 */ virtual void CorrectTrackBarThumbBounds(TvxCanvas* canvas, TRect& rect, bool horizontal,
                                                   int shape) const;
  // The selection arguments are for overriding painters.
  /* 251 */ virtual void PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect, const TRect& selectionRect,
                                           bool showSelection, bool enabled, bool horizontal, TColor color) const;
  /* 252 */ virtual void PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const;
  /* 253 */ virtual void PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                           bool horizontal, int shape, TColor color) const;
  /* 254 */ virtual void PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                                      std::span<const TPoint> innerDark,
                                                      std::span<const TPoint> outerDark) const;
  /* 255 */ virtual void PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const;
  /* 256 */ virtual TSize TrackBarThumbExtent(bool horizontal) const;
  /* 257 */ virtual TColor TrackBarTickMarkColor(bool forText) const;
  /* 258 */ virtual int TrackBarTrackThickness() const;

  // Splitters (259-262). dragging is for overriding painters.
  /* 259 */ virtual TColor SplitterGripHighlightColor(bool highlighted) const;
  /* 260 */ virtual TColor SplitterGripShadowColor(bool highlighted) const;
  /* 261 */ virtual void PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool dragging,
                                      bool horizontal) const;
  /* 262 */ virtual TSize SplitterExtent(bool horizontal) const;

  // Layout control, print preview, calculator (263-269).
  /* 263 */ virtual TColor LayoutControlBackgroundColor() const;
  /* 264 */ virtual void PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const;
  /* 265 */ virtual TRect PrintPreviewPageBorderWidths() const;
  /* 266 */ virtual void PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const;
  /* 267 */ virtual void PaintPrintPreviewPage(TvxCanvas* canvas, const TRect& bounds, const TRect& pageRect,
                                              bool selected, bool fillPage) const;
  // Button kinds 0-27 are the calculator's.
  /* 268 */ virtual TColor CalculatorButtonTextColor(int buttonKind) const;
  /* 269 */ virtual TColor CalculatorBackgroundColor() const;

  // Helpers the operations and the concrete painters share; they call the
  // virtual operations of the painter they are called through.
  static void CalcArrowTriangle(const TRect& rect, TPoint (&points)[3], TvxArrowDirection direction,
                                bool proportional, int size = 0);
  void PaintExpandButtonCross(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor color) const;
  void PaintGroupToggleMark(TvxCanvas* canvas, const TRect& rect, bool expanded, TvxButtonState state) const;
  void PaintButtonCross(TvxCanvas* canvas, const TRect& rect, TColor color, TvxButtonState state) const;
  void PaintSortTriangle(TvxCanvas* canvas, const TRect& rect, TColor secondColor, TColor firstColor,
                         bool ascending) const;
  static TvxArrowDirection ScrollBarArrowDirection(bool horizontal, TvxScrollBarPart part);
  void PaintSideArrows(TvxCanvas* canvas, const TRect& rect, int which, int arrowSize, TColor color) const;
  // A push button's caption inside its face r: centred on an even height,
  // shifted when pressed, in the glyph colour for clDefault, greyed when
  // disabled.
  void PaintPushButtonCaption(TvxCanvas* canvas, TRect r, const String& caption, TvxButtonState state,
                              TColor textColor, bool wordWrap) const;

 protected:
  TvxCustomLookAndFeelPainter() = default;
};

// --- Standard and flat painters ---------------------------------------------------

// Raised and sunken 3-D edges two pixels wide: the painter of lfStandard.
class TvxStandardLookAndFeelPainter : public TvxCustomLookAndFeelPainter {
 public:
  static const TvxStandardLookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvxStandardLookAndFeelPainter"; }

  TvxLookAndFeelStyle StyleId() const override;
  TColor SchedulerAccentColor() const override;
  int BorderWidth() const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  int ButtonBorderWidth(TvxButtonState state) const override;
  int ButtonTextIndent() const override;
  int ButtonPressedTextShift() const override;
  void PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  void PaintGroupToggleButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                              TvxButtonState state) const override;
  int ExpandButtonExtent() const override;
  bool CanHotTrackButtons() const override;
  void PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                        TvxBorders borders) const override;
  void PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               TvxButtonState state) const override;
  void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const override;
  int HeaderBorderWidth() const override;
  int HeaderSectionBorderWidth(TvxButtonState state) const override;
  TPoint SortMarkExtent() const override;
  int FooterBorderWidth() const override;
  int FooterCellBorderWidth() const override;
  int FooterCellSpacing() const override;
  void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                 bool filterActive) const override;
  void PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders,
                    bool vertical) const override;
  void PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               bool vertical) const override;
  int TabEdgeWidth(bool vertical) const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  void PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text, TvxBorders neighbours,
                                const TvxViewParams& viewParams, int sideArrows, int arrowSize,
                                const TvxDrawBackgroundEvent& onDrawBackground) const override;
  void PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect, const TvxAreaViewParams& viewParams,
                                  bool horizontal) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  void PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                     std::span<const TPoint> innerDark,
                                     std::span<const TPoint> outerDark) const override;
  void PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const override;

 protected:
  TvxStandardLookAndFeelPainter() = default;

 private:
  // The scroll arrows' and thumb's two-ring border.
  void PaintScrollButtonBorder(TvxCanvas* canvas, const TRect& rect, TvxScrollBarPart part,
                               TvxButtonState state) const;
};

// The same parts with one-pixel edges: the painter of lfFlat.
class TvxFlatLookAndFeelPainter : public TvxCustomLookAndFeelPainter {
 public:
  static const TvxFlatLookAndFeelPainter& Painter();
  const char* ClassName() const override { return "TvxFlatLookAndFeelPainter"; }

  TvxLookAndFeelStyle StyleId() const override;
  int BorderWidth() const override;
  void PaintBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const override;
  int ButtonBorderWidth(TvxButtonState state) const override;
  int ButtonTextIndent() const override;
  int ButtonPressedTextShift() const override;
  void PaintButtonFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded, TColor fillColor) const override;
  int ExpandButtonExtent() const override;
  bool CanHotTrackButtons() const override;
  void PaintCheckBoxFrame(TvxCanvas* canvas, const TRect& rect, TvxButtonState state) const override;
  void PaintHeaderFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders neighbours,
                        TvxBorders borders) const override;
  void PaintHeaderSectionFrame(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               TvxButtonState state) const override;
  void PaintSortMark(TvxCanvas* canvas, const TRect& rect, bool ascending) const override;
  int HeaderBorderWidth() const override;
  TPoint SortMarkExtent() const override;
  int FooterBorderWidth() const override;
  int FooterCellBorderWidth() const override;
  int FooterCellSpacing() const override;
  void PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                 bool filterActive) const override;
  void PaintTabEdge(TvxCanvas* canvas, const TRect& rect, TvxBorder edge, TvxBorders tabBorders,
                    bool vertical) const override;
  void PaintTabStripBackground(TvxCanvas* canvas, const TRect& rect, TvxBorders borders,
                               bool vertical) const override;
  int TabEdgeWidth(bool vertical) const override;
  void PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect, TvxScrollBarPart part,
                             TvxButtonState state) const override;
  void PaintSchedulerSplitterEdge(TvxCanvas* canvas, const TRect& rect, const TvxAreaViewParams& viewParams,
                                  bool horizontal) const override;
  void PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const override;
  void PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state, int captionPosition,
                          TvxBorders borders) const override;
  void PaintTrackBarTrackBorder(TvxCanvas* canvas, const TRect& rect) const override;
  void PaintTrackBarPointedThumbEdge(TvxCanvas* canvas, std::span<const TPoint> light,
                                     std::span<const TPoint> innerDark,
                                     std::span<const TPoint> outerDark) const override;
  void PaintTrackBarBoxThumbEdge(TvxCanvas* canvas, const TRect& rect) const override;
  TColor SplitterGripShadowColor(bool highlighted) const override;

 protected:
  TvxFlatLookAndFeelPainter() = default;
};

// --- Shared painter resources ----------------------------------------------------

// The radio-button glyphs every painter draws (one per kind, state, checked
// and highlight combination).
class TvxRadioButtonImageList {
 public:
  void PaintGlyph(TvxCanvas* canvas, int x, int y, TColor backgroundColor, TvxLookAndFeelKind kind,
                  TvxButtonState state, bool checked, bool focused, bool highlighted);
  TSize GlyphExtent() const;
};
TvxRadioButtonImageList* vxGetRadioButtonImageList();

// The two 8x8 brush bitmaps of scroll-bar page areas: 0 for a page area at
// rest, 1 for a pressed one. Repainting follows the system colours.
TBitmap* vxScrollBarPatternBitmap(int index);
// A brush of that bitmap, made on first use and again after a repaint.
HBRUSH vxScrollBarPatternBrush(int index);
void vxBuildScrollBarPatternBitmaps();
void vxRepaintScrollBarPatternBitmaps();

// The row indicator images (arrow, edit, insert, multi-dot, multi-arrow,
// filter); nil while none are loaded.
TvxImageList* vxIndicatorImages();

// The system check box's size, measured once from its bitmap.
TSize vxSystemCheckBoxSize();
void vxMeasureSystemCheckBox();

// The painters module: the shared resources above, made in this order and
// freed in the reverse one.
void vxLookAndFeelPaintersInitialize();
void vxLookAndFeelPaintersFinalize();
