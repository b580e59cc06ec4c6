// The binding of one skin into fixed slots.
//
// The painters never look an element up by name while they paint: a skin
// info looks up once, by the literal names below, the groups, elements,
// colours and properties that the skin painter and the skinned forms read,
// and keeps them in slots named after where they come from (group.element
// becomes Group.Element: Common.Button, Editors.Checkbox; properties of a
// group or an element are members of the group's slots). It owns its skin,
// listens to it and binds again whenever it changes.
//
// A missing group is added to the skin empty; most missing elements are
// added as placeholders that draw a red cross, so that what a skin lacks is
// plain to see; the few slots that have no placeholder stay nil.
//
// Binding runs under the skin's update lock: the groups, placeholders and
// colours it adds notify the skin's listeners once, when it is done, and
// this object does not bind again on hearing its own change.
#pragma once

#include <array>
#include <memory>

#include "foundation/vxClasses.h"
#include "platform/Interfaces.h"
#include "skins/vdSkinsCore.h"

#ifdef _WIN32
#include "platform/ui/Graphics.h"
#endif

class IvdSkinProvider : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{97D85495-E631-413C-8DBC-BE7B784A9EA0}");
  virtual TvdSkin* GetSkin() = 0;
};

// The drawer of one scroll-bar part: an element of the skin (not owned) and
// the image of it that the part shows.
class TvdSkinScrollInfo : public TObject {
 public:
  TvdSkinScrollInfo(TvdSkinElement* element, int imageIndex) : Element(element), ImageIndex(imageIndex) {}
  const char* ClassName() const override { return "TvdSkinScrollInfo"; }

  TvdSkinElement* Element;
  int ImageIndex;

#ifdef _WIN32
  // False, drawing nothing, without an element.
  bool Draw(vdSkinDC dc, const TRect& r, int imageIndex, TvdSkinElementState state);
  bool DrawPart(vdSkinDC dc, const TRect& r, TvdSkinElementState state);
#endif
};

// The scroll-bar parts, the second index of ScrollInfos.
enum TvdSkinScrollPart { vdspNone, vdspLineUp, vdspLineDown, vdspThumb, vdspPageUp, vdspPageDown };
inline constexpr int vdSkinScrollPartCount = 6;

// One quick-access toolbar background with its two properties.
struct TvdSkinQATBackground {
  TvdSkinElement* Element = nullptr;
  TvdSkinBooleanProperty* DisplayCustomizeButtonOutsideQAT = nullptr;
  TvdSkinIntegerProperty* IndentBeforeCustomizeButton = nullptr;
};

// --- The slots of each group --------------------------------------------------

struct TvdSkinBarsSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *Bar = nullptr, *BarCustomize = nullptr, *BarCustomizeVertical = nullptr,
                 *BarDragGrip = nullptr, *BarDragGripVertical = nullptr, *MDIButtonClose = nullptr,
                 *MDIButtonMinimize = nullptr, *MDIButtonRestore = nullptr, *BarSeparator = nullptr,
                 *BarVertical = nullptr, *BarSeparatorVertical = nullptr, *Dock = nullptr, *FloatBar = nullptr,
                 *ItemSeparator = nullptr, *LinkStatic = nullptr, *LinkSelected = nullptr, *MainMenu = nullptr,
                 *MainMenuCustomize = nullptr, *MainMenuDrag = nullptr, *MainMenuLinkSelected = nullptr,
                 *MainMenuVertical = nullptr, *PopupMenu = nullptr, *PopupMenuCheck = nullptr,
                 *PopupMenuExpandButton = nullptr, *PopupMenuLinkSelected = nullptr,
                 *PopupMenuSeparator = nullptr, *PopupMenuSideStrip = nullptr,
                 *PopupMenuSideStripNonRecent = nullptr, *PopupMenuDropDownButtonLabel = nullptr,
                 *PopupMenuDropDownButtonArrow = nullptr;
  TvdSkinElement* StatusBar = nullptr;
  TvdSkinElement *ScreenTipWindow = nullptr, *ScreenTipSeparator = nullptr;
  TvdSkinColor *ScreenTipItem = nullptr, *ScreenTipTitleItem = nullptr;  // of ScreenTipWindow
  TvdSkinColor* DisabledTextColor = nullptr;
};

struct TvdSkinCommonSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement* Button = nullptr;
  TvdSkinColor* ButtonDisabledText = nullptr;
  TvdSkinElement *GroupPanelNoBorder = nullptr, *GroupExpandButton = nullptr, *GroupPanelTop = nullptr,
                 *GroupPanelBottom = nullptr, *GroupPanelLeft = nullptr, *GroupPanelRight = nullptr,
                 *GroupPanel = nullptr, *GroupPanelCaptionTop = nullptr, *GroupPanelCaptionBottom = nullptr,
                 *GroupPanelCaptionLeft = nullptr, *GroupPanelCaptionRight = nullptr;
  TvdSkinElement *Header = nullptr, *HeaderSpecial = nullptr;
  TvdSkinElement *ScrollButton = nullptr, *ScrollThumbVert = nullptr, *ScrollThumbHorz = nullptr,
                 *ScrollContentVert = nullptr, *ScrollContentHorz = nullptr;
  TvdSkinElement* SizeGrip = nullptr;
  TvdSkinElement *Splitter = nullptr, *SplitterHorz = nullptr;
};

struct TvdSkinDockingSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *TabHeaderBackground = nullptr, *TabHeaderLine = nullptr, *TabHeaderAutoHideBar = nullptr,
                 *DockWindowButton = nullptr, *DockWindowButtonGlyphs = nullptr, *TabHeader = nullptr,
                 *AutoHideBar = nullptr, *AutoHideBarLeft = nullptr, *AutoHideBarRight = nullptr,
                 *AutoHideBarBottom = nullptr, *DockWindowCaption = nullptr, *DockWindowBorder = nullptr;
  TColor DockWindowCaptionInactiveCaptionTextColor = vdSkinColorDefault;
  TvdSkinColor *TabHeaderTextColor = nullptr, *TabHeaderTextColorActive = nullptr;
};

struct TvdSkinEditorsSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinColor *CalendarDayTextColor = nullptr, *CalendarHolidayTextColor = nullptr,
               *CalendarInactiveDayTextColor = nullptr, *CalendarSelectedDayTextColor = nullptr,
               *CalendarSelectedDayColor = nullptr, *CalendarSeparatorColor = nullptr,
               *CalendarTodayFrameColor = nullptr, *CalendarTodayTextColor = nullptr;
  TvdSkinElement* Checkbox = nullptr;
  TvdSkinElement *ClockFace = nullptr, *ClockGlass = nullptr;
  TvdSkinElement *LabelLine = nullptr, *LabelLineVert = nullptr, *EditorButton = nullptr, *CloseButton = nullptr;
  bool EditorButtonMergeBorders = false;
  TvdSkinElement *Navigator = nullptr, *NavigatorVert = nullptr;
  TvdSkinElement *ProgressBorder = nullptr, *ProgressBorderVert = nullptr, *ProgressChunk = nullptr,
                 *ProgressChunkVert = nullptr;
  TvdSkinColor *ProgressBarEmptyTextColor = nullptr, *ProgressBarFilledTextColor = nullptr;
  TvdSkinElement* RadioButton = nullptr;
  TvdSkinElement *TrackBarTrack = nullptr, *TrackBarTrackVert = nullptr, *TrackBarThumb = nullptr,
                 *TrackBarThumbUp = nullptr, *TrackBarThumbBoth = nullptr, *TrackBarThumbVert = nullptr,
                 *TrackBarThumbVertUp = nullptr, *TrackBarThumbVertBoth = nullptr;
  TvdSkinColor* HyperLinkTextColor = nullptr;
};

struct TvdSkinRibbonSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *AppMenuBackground = nullptr, *FormAppButton = nullptr, *FormAppButton2010 = nullptr,
                 *AppMenuBackgroundBottom = nullptr, *AppMenuBackgroundTop = nullptr,
                 *AppMenuExtraPanePinButtonGlyph = nullptr, *AppMenuExtraPaneButton = nullptr,
                 *BackstageViewBackground = nullptr, *BackstageViewMenuBackground = nullptr,
                 *BackstageViewMenuButton = nullptr, *BackstageViewTabHeader = nullptr,
                 *BackstageViewTopLine = nullptr, *TabGroupCollapsed = nullptr, *TabGroupCollapsedBox = nullptr,
                 *FormCaption = nullptr, *FormFrameBottom = nullptr, *DialogFrameBottom = nullptr,
                 *FormFrameLeft = nullptr, *DialogFrameLeft = nullptr, *FormFrameRight = nullptr,
                 *DialogFrameRight = nullptr, *MinimizeButtonGlyph = nullptr, *Tab = nullptr, *TabPanel = nullptr,
                 *TabGroupButton = nullptr, *TabSeparatorLine = nullptr, *TabGroup = nullptr,
                 *TabGroupCaption = nullptr, *TabGroupItemsSeparator = nullptr,
                 *DropDownGalleryBackground = nullptr, *InRibbonGalleryButtonDown = nullptr,
                 *InRibbonGalleryButtonDropDown = nullptr, *InRibbonGalleryButtonUp = nullptr,
                 *DropDownGalleryGroupHeader = nullptr, *InRibbonGalleryPane = nullptr,
                 *DropDownGallerySizePanel = nullptr, *DropDownGallerySizeGrip = nullptr,
                 *TabBackground = nullptr, *TabBackgroundOnGlass = nullptr, *Button = nullptr,
                 *SplitButtonLeft = nullptr, *SplitButtonRight = nullptr, *KeyTip = nullptr,
                 *LargeButton = nullptr, *LargeSplitButtonTop = nullptr, *LargeSplitButtonBottom = nullptr,
                 *ButtonArrow = nullptr, *ButtonGroup = nullptr, *StatusBarBackground = nullptr,
                 *StatusBarButton = nullptr, *StatusBarSeparator = nullptr, *QATInRibbonBackground = nullptr,
                 *QATAboveBackground = nullptr, *QATBelowBackground = nullptr, *QATButtonGlyph = nullptr,
                 *QATOverflow = nullptr, *QATCustomizeButton = nullptr, *ButtonGroupButton = nullptr,
                 *ButtonGroupSeparator = nullptr, *TabGroupLeftScrollButton = nullptr,
                 *TabGroupRightScrollButton = nullptr, *ContextualTabLabel = nullptr,
                 *ContextualTabLabelOnGlass = nullptr, *ContextualTabSeparator = nullptr,
                 *ContextualTabHeader = nullptr, *ContextualTabPanel = nullptr;
  TvdSkinColor* ContextualTabLabelTextShadowColor = nullptr;
  TvdSkinIntegerProperty* FormCaptionFontDelta = nullptr;
  TvdSkinIntegerProperty *SpaceBetweenTabGroups = nullptr, *TabHeaderDownGrow = nullptr;
  TvdSkinBooleanProperty* TabAeroSupport = nullptr;
  TvdSkinColor *EditorBackground = nullptr, *AppMenuExtraPaneColor = nullptr,
               *AppMenuExtraPaneHeaderSeparator = nullptr;
  TColor FormCaptionTextColorInactive = vdSkinColorDefault, FormCaptionTextColor = vdSkinColorDefault,
         TabTextColorHot = vdSkinColorDefault, TabTextColorSelected = vdSkinColorDefault,
         TabTextColor = vdSkinColorDefault, ContextualTabHeaderTextColorSelected = vdSkinColorDefault,
         ContextualTabHeaderTextColor = vdSkinColorDefault, ContextualTabHeaderTextColorHot = vdSkinColorDefault,
         FormCaptionDocumentNameTextColor = vdSkinColorDefault,
         // The document name of an inactive form: the inactive caption colour.
         FormCaptionDocumentNameTextColorInactive = vdSkinColorDefault,
         StatusBarButtonTextColor = vdSkinColorDefault, StatusBarButtonTextColorHot = vdSkinColorDefault,
         StatusBarButtonTextColorDisabled = vdSkinColorDefault, ButtonTextColor = vdSkinColorDefault,
         ButtonDisabled = vdSkinColorDefault;
};

struct TvdSkinFormSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement* FormContent = nullptr;
  TvdSkinColor *TextColorInactive = nullptr, *TextShadowColor = nullptr;
};

struct TvdSkinGridSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement* PlusMinus = nullptr;
  TvdSkinElement *FooterCell = nullptr, *FooterPanel = nullptr;
  TvdSkinElement *GridFixedLine = nullptr, *CardSeparator = nullptr, *GridGroupPanel = nullptr,
                 *GroupRow = nullptr, *GridLine = nullptr;
  TvdSkinColor *GroupRowOffice11ContentColor = nullptr, *GroupRowOffice11SeparatorColor = nullptr,
               *GroupRowOffice11TextColor = nullptr;
  TvdSkinElement* IndicatorImages = nullptr;
  TvdSkinElement *FilterButton = nullptr, *FilterButtonActive = nullptr, *GridFilterPanel = nullptr;
  TvdSkinElement *LayoutViewItem = nullptr, *LayoutViewRecordExpandButton = nullptr;
};

struct TvdSkinPageControlSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *TabHeader = nullptr, *TabButtonHorz = nullptr, *TabButtonVert = nullptr,
                 *TabHeaderCloseButton = nullptr, *TabPane = nullptr;
  TvdSkinColor *TabHeaderTextColor = nullptr, *TabHeaderTextColorSelected = nullptr,
               *TabHeaderTextColorDisabled = nullptr, *TabHeaderTextColorHot = nullptr;
};

struct TvdSkinSchedulerSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *TimeGridHeader = nullptr, *TimeGridHeaderSelected = nullptr, *DefaultTimeLine = nullptr,
                 *Ruler = nullptr, *MoreButton = nullptr, *AppointmentRightBorder = nullptr, *Appointment = nullptr,
                 *AllDayArea = nullptr, *AllDayAreaSelected = nullptr, *CurrentTimeIndicator = nullptr,
                 *AppointmentBottomShadow = nullptr, *AppointmentRightShadow = nullptr;
  TvdSkinIntegerProperty* AppointmentBorderSize = nullptr;
  TvdSkinElement* AppointmentMask = nullptr;
  TvdSkinColor* AppointmentSeparatorColor = nullptr;
  TvdSkinElement *NavButtonPrev = nullptr, *NavButtonNext = nullptr, *NavButtonPrevArrow = nullptr,
                 *NavButtonNextArrow = nullptr, *TimeGridCurrentTimeIndicator = nullptr;
  TvdSkinColor* NavigatorColor = nullptr;
};

struct TvdSkinVerticalGridSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *Category = nullptr, *GridLine = nullptr, *BandBorder = nullptr, *RowHeader = nullptr;
};

struct TvdSkinNavBarSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *Background = nullptr, *GroupClient = nullptr, *Item = nullptr, *GroupHeader = nullptr,
                 *GroupCloseButton = nullptr, *GroupOpenButton = nullptr;
};

struct TvdSkinNavPaneSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *CollapseButton = nullptr, *CollapsedGroupClient = nullptr, *ExpandButton = nullptr,
                 *PopupBorder = nullptr, *PopupSizeGrip = nullptr, *GroupButton = nullptr,
                 *GroupButtonSelected = nullptr, *Caption = nullptr, *Splitter = nullptr,
                 *ScrollUpButton = nullptr, *ScrollDownButton = nullptr, *OverflowPanel = nullptr,
                 *OverflowPanelItem = nullptr, *OverflowPanelExpandItem = nullptr, *GroupClient = nullptr,
                 *Item = nullptr, *ItemSelected = nullptr;
  TvdSkinIntegerProperty *CaptionHeight = nullptr, *CaptionFontSize = nullptr;
  TvdSkinBooleanProperty* OverlapGroupBorders = nullptr;
};

struct TvdSkinPrintingSystemSlots {
  TvdSkinControlGroup* Group = nullptr;
  TvdSkinElement *PageBorder = nullptr, *PreviewBackground = nullptr;
};

// Colours and properties of the skin itself.
struct TvdSkinSkinSlots {
  TvdSkinStringProperty* SkinGroupName = nullptr;
  TvdSkinColor *ContainerBorderColor = nullptr, *ContainerHighlightBorderColor = nullptr,
               *ContentColor = nullptr, *ContentEvenColor = nullptr, *ContentOddColor = nullptr,
               *ContentTextColor = nullptr, *DockControlHiddenBarTextColor = nullptr,
               *DockControlHiddenBarTextHotColor = nullptr, *HeaderBackgroundColor = nullptr,
               *HeaderBackgroundTextColor = nullptr, *LayoutControlColor = nullptr, *SelectionColor = nullptr,
               *SelectionTextColor = nullptr;
};

// --- The skin info -------------------------------------------------------------

class TvdSkinBinder;

class TvdSkinInfo : public TvxIUnknownObject, public IvdSkinObserver, public IvdSkinProvider {
 public:
  // Takes the skin (nil allowed) and binds it.
  explicit TvdSkinInfo(std::unique_ptr<TvdSkin> skin);
  // Unbinds, then frees the skin.
  ~TvdSkinInfo() override;
  TvdSkinInfo(const TvdSkinInfo&) = delete;
  TvdSkinInfo& operator=(const TvdSkinInfo&) = delete;
  const char* ClassName() const override { return "TvdSkinInfo"; }

  TvdSkin* Skin() const { return skin_.get(); }
  // Unbinds the old skin (freed) and binds the new one, also when it is nil;
  // nothing when skin is the bound one.
  void SetSkin(std::unique_ptr<TvdSkin> skin);

  virtual bool IsUserSkin() const { return false; }
  virtual void Bind();
  virtual void Unbind();
  virtual void Refresh();
#ifdef _WIN32
  // A new bitmap of the skin's small (0) or large (1) icon, or of the
  // program's default icon when the skin has none; EResNotFound when that
  // resource is missing.
  virtual std::unique_ptr<TBitmap> GetIcon(int index);
#endif

  void SkinChanged(TvdSkin* sender) override;
  TvdSkin* GetSkin() override { return skin_.get(); }

  // --- Slots ---
  TvdSkinBarsSlots Bars;
  TvdSkinCommonSlots Common;
  TvdSkinDockingSlots Docking;
  TvdSkinEditorsSlots Editors;
  TvdSkinRibbonSlots Ribbon;
  TvdSkinFormSlots Form;
  TvdSkinGridSlots Grid;
  TvdSkinPageControlSlots PageControl;
  TvdSkinSchedulerSlots Scheduler;
  TvdSkinVerticalGridSlots VerticalGrid;
  TvdSkinNavBarSlots NavBar;
  TvdSkinNavPaneSlots NavPane;
  TvdSkinPrintingSystemSlots PrintingSystem;
  TvdSkinSkinSlots SkinColors;

  // [0 tool window, 1 normal window][caption button 0..5]: [0][5] close of
  // a tool window; [1][1] help, [1][2] minimize, [1][3] maximize, [1][4]
  // restore, [1][5] close.
  std::array<std::array<TvdSkinElement*, 6>, 2> FormButtons{};
  // [0 tool window, 1 normal window][0 left, 1 caption, 2 right, 3 bottom].
  std::array<std::array<TvdSkinElement*, 4>, 2> FormFrames{};
  // Widths of the frame sides: left, 0, right and bottom part sizes.
  std::array<TRect, 2> FormFrameSizes{};
  // "FontDelta" of the normal caption, at least 1.
  int CaptionFontDelta = 1;
  // [0 small, 1 large].
  std::array<TvdSkinElement*, 2> SkinIcons{};
  // "ActiveTabHeaderDownGrow", "ActiveTabHeaderHGrow", "ActiveTabHeaderUpGrow".
  std::array<int32_t, 3> DockTabIndents{};
  // Close, combo glyph, editor button (twice), spin up, down, left, right.
  std::array<TvdSkinElement*, 8> EditButtonGlyphs{};
  // Calculator buttons: 0-2 editing, 3-6 memory, 7-18 digits, 19-22
  // arithmetic, 23-27 scientific operations.
  std::array<TvdSkinColor*, 28> CalcButtonColors{};
  // [0 normal, 1 disabled, 2 inactive, 3 read-only].
  std::array<TvdSkinColor*, 4> EditorStateTextColors{};
  std::array<TvdSkinColor*, 4> EditorStateBackgroundColors{};
  // Group, group without borders, tabbed group, root group, root group
  // without borders, item.
  std::array<TvdSkinRectProperty*, 6> LayoutViewPaddings{};
  std::array<TvdSkinRectProperty*, 6> LayoutViewSpacings{};
  // [0 top, 1 bottom, 2 left, 3 right, 4 whole]; a whole caption has no name
  // and stays nil.
  std::array<TvdSkinElement*, 5> LayoutViewRecords{};
  std::array<TvdSkinElement*, 5> LayoutViewRecordCaptions{};
  // "RowIndentFar", "RowIndentNear", "SelectedHeaderDownGrow",
  // "SelectedHeaderHGrow", "SelectedHeaderUpGrow", "HeaderDownGrow",
  // "HeaderDownGrowBottomRight", "SelectedHeaderDownGrowBottomRight".
  std::array<int32_t, 8> PageTabIndents{};
  // [0 above, 1 below the ribbon].
  std::array<TvdSkinQATBackground, 2> QATBackgrounds{};
  // [0 vertical, 1 horizontal][TvdSkinScrollPart]; part 0 stays nil.
  std::array<std::array<std::unique_ptr<TvdSkinScrollInfo>, vdSkinScrollPartCount>, 2> ScrollInfos;

 private:
  void ClearSlots();
  void BindSlots();
  void BindScrollInfos();
  void BindRibbon(TvdSkinBinder& binder);

  std::unique_ptr<TvdSkin> skin_;
  bool binding_ = false;
};

// The information object of a skin painter.
class TvdSkinLookAndFeelPainterInfo : public TvdSkinInfo {
 public:
  using TvdSkinInfo::TvdSkinInfo;
  const char* ClassName() const override { return "TvdSkinLookAndFeelPainterInfo"; }
};

// The picture of a placeholder element: a red cross, 2 pixels wide, over
// 32 x 32 pixels.
TvdSkinPicture vdSkinRedCrossPicture();
