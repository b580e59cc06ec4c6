#include "SkinCatalog.h"

#include <cstring>

const std::vector<TSkinEntry>& SkinEntries() {
  static const std::vector<TSkinEntry> skins = {
      {"Black", "Black", "Standard Skins"},
      {"Blue", "Blue", "Standard Skins"},
      {"Caramel", "Caramel", "Standard Skins"},
      {"Coffee", "Coffee", "Standard Skins"},
      {"Darkroom", "Darkroom", "Standard Skins"},
      {"DarkSide", "Dark Side", "Standard Skins"},
      {"Foggy", "Foggy", "Standard Skins"},
      {"GlassOceans", "Glass Oceans", "Standard Skins"},
      {"iMaginary", "iMaginary", "Standard Skins"},
      {"Lilian", "Lilian", "Standard Skins"},
      {"LiquidSky", "Liquid Sky", "Standard Skins"},
      {"LondonLiquidSky", "London Liquid Sky", "Standard Skins"},
      {"McSkin", "McSkin", "Standard Skins"},
      {"MoneyTwins", "Money Twins", "Standard Skins"},
      {"Office2007Black", "Office 2007 Black", "Office Skins"},
      {"Office2007Blue", "Office 2007 Blue", "Office Skins"},
      {"Office2007Green", "Office 2007 Green", "Office Skins"},
      {"Office2007Pink", "Office 2007 Pink", "Office Skins"},
      {"Office2007Silver", "Office 2007 Silver", "Office Skins"},
      {"Office2010Black", "Office 2010 Black", "Office Skins"},
      {"Office2010Blue", "Office 2010 Blue", "Office Skins"},
      {"Office2010Silver", "Office 2010 Silver", "Office Skins"},
      {"Pumpkin", "Pumpkin", "Standard Skins"},
      {"Seven", "Seven", "Standard Skins"},
      {"Sharp", "Sharp", "Standard Skins"},
      {"Silver", "Silver", "Standard Skins"},
      {"Springtime", "Springtime", "Standard Skins"},
      {"Stardust", "Stardust", "Standard Skins"},
      {"Summer2008", "Summer 2008", "Standard Skins"},
      {"Valentine", "Valentine", "Standard Skins"},
      {"Xmas2008Blue", "Xmas 2008 Blue", "Standard Skins"},
      {"defaultuserskindata", "UserSkin", ""},
  };
  return skins;
}

bool IsUserSkin(const TSkinEntry& skin) { return std::strcmp(skin.Name, "defaultuserskindata") == 0; }

const std::vector<const char*>& SkinColorNames() {
  static const std::vector<const char*> names = {
      "ContainerBorderColor", "ContainerHighlightBorderColor", "ContentColor", "ContentEvenColor",
      "ContentOddColor", "ContentTextColor", "DockControlHiddenBarTextColor", "DockControlHiddenBarTextHotColor",
      "HeaderBackgroundColor", "HeaderBackgroundTextColor", "LayoutControlColor", "SelectionColor",
      "SelectionTextColor"};
  return names;
}

const std::vector<TGroupEntry>& GroupEntries() {
  static const std::vector<TGroupEntry> groups = {
      {"Bars",
       {"Bar", "BarCustomize", "BarCustomizeVertical", "BarDragGrip", "BarDragGripVertical", "MDIButtonClose",
        "MDIButtonMinimize", "MDIButtonRestore", "BarSeparator", "BarVertical", "BarSeparatorVertical", "Dock",
        "FloatBar", "ItemSeparator", "LinkStatic", "LinkSelected", "MainMenu", "MainMenuCustomize", "MainMenuDrag",
        "MainMenuLinkSelected", "MainMenuVertical", "PopupMenu", "PopupMenuCheck", "PopupMenuExpandButton",
        "PopupMenuLinkSelected", "PopupMenuSeparator", "PopupMenuSideStrip", "PopupMenuSideStripNonRecent",
        "PopupMenuDropDownButtonLabel", "PopupMenuDropDownButtonArrow", "StatusBar", "ScreenTipWindow",
        "ScreenTipSeparator"}},
      {"Common",
       {"SkinIcon", "SkinIconLarge", "Button", "GroupPanelNoBorder", "GroupExpandButton", "GroupPanelTop",
        "GroupPanelBottom", "GroupPanelLeft", "GroupPanelRight", "GroupPanel", "GroupPanelCaptionTop",
        "GroupPanelCaptionBottom", "GroupPanelCaptionLeft", "GroupPanelCaptionRight", "Header", "HeaderSpecial",
        "ScrollButton", "ScrollThumbVert", "ScrollThumbHorz", "ScrollContentVert", "ScrollContentHorz", "SizeGrip",
        "Splitter", "SplitterHorz"}},
      {"Docking",
       {"TabHeaderBackground", "TabHeaderLine", "TabHeaderAutoHideBar", "DockWindowButton", "DockWindowButtonGlyphs",
        "TabHeader", "AutoHideBar", "AutoHideBarLeft", "AutoHideBarRight", "AutoHideBarBottom", "DockWindowCaption",
        "DockWindowBorder"}},
      {"Editors",
       {"Checkbox", "ClockFace", "ClockGlass", "LabelLine", "LabelLineVert", "EditorButton", "CloseButton",
        "ComboButtonGlyph", "SpinUpGlyph", "SpinDownGlyph", "SpinLeftGlyph", "SpinRightGlyph", "Navigator",
        "NavigatorVert", "ProgressBorder", "ProgressBorderVert", "ProgressChunk", "ProgressChunkVert", "RadioButton",
        "TrackBarTrack", "TrackBarTrackVert", "TrackBarThumb", "TrackBarThumbUp", "TrackBarThumbBoth",
        "TrackBarThumbVert", "TrackBarThumbVertUp", "TrackBarThumbVertBoth"}},
      {"Form",
       {"SmallFormButtonClose", "FormButtonHelp", "FormButtonMinimize", "FormButtonMaximize", "FormButtonRestore",
        "FormButtonClose", "FormFrameLeft", "SmallFormCaption", "FormFrameRight", "FormFrameBottom", "FormCaption",
        "FormContent"}},
      {"Grid",
       {"PlusMinus", "FooterCell", "FooterPanel", "GridFixedLine", "CardSeparator", "GridGroupPanel", "GroupRow",
        "GridLine", "IndicatorImages", "FilterButton", "FilterButtonActive", "GridFilterPanel", "LayoutViewItem",
        "LayoutViewRecordExpandButton", "LayoutViewRecordTop", "LayoutViewRecordBottom", "LayoutViewRecordLeft",
        "LayoutViewRecordRight", "LayoutViewRecord", "LayoutViewRecordCaptionTop", "LayoutViewRecordCaptionBottom",
        "LayoutViewRecordCaptionLeft", "LayoutViewRecordCaptionRight"}},
      {"NavBar", {"Background", "GroupClient", "Item", "GroupHeader", "GroupCloseButton", "GroupOpenButton"}},
      {"NavPane",
       {"CollapseButton", "CollapsedGroupClient", "ExpandButton", "PopupBorder", "PopupSizeGrip", "GroupButton",
        "GroupButtonSelected", "Caption", "Splitter", "ScrollUpButton", "ScrollDownButton", "OverflowPanel",
        "OverflowPanelItem", "OverflowPanelExpandItem", "GroupClient", "Item", "ItemSelected"}},
      {"PageControl", {"TabHeader", "TabButtonHorz", "TabButtonVert", "TabHeaderCloseButton", "TabPane"}},
      {"PrintingSystem", {"PageBorder", "PreviewBackground"}},
      {"Ribbon",
       {"AppMenuBackground", "FormAppButton", "FormAppButton2010", "AppMenuBackgroundBottom", "AppMenuBackgroundTop",
        "AppMenuExtraPanePinButtonGlyph", "AppMenuExtraPaneButton", "BackstageViewBackground",
        "BackstageViewMenuBackground", "BackstageViewMenuButton", "BackstageViewTabHeader", "BackstageViewTopLine",
        "TabGroupCollapsed", "TabGroupCollapsedBox", "FormCaption", "FormFrameBottom", "DialogFrameBottom",
        "FormFrameLeft", "DialogFrameLeft", "FormFrameRight", "DialogFrameRight", "MinimizeButtonGlyph", "Tab",
        "TabPanel", "TabGroupButton", "TabSeparatorLine", "TabGroup", "TabGroupCaption", "TabGroupItemsSeparator",
        "DropDownGalleryBackground", "InRibbonGalleryButtonDown", "InRibbonGalleryButtonDropDown",
        "InRibbonGalleryButtonUp", "DropDownGalleryGroupHeader", "InRibbonGalleryPane", "DropDownGallerySizePanel",
        "DropDownGallerySizeGrip", "TabBackground", "TabBackgroundOnGlass", "Button", "SplitButtonLeft",
        "SplitButtonRight", "KeyTip", "LargeButton", "LargeSplitButtonTop", "LargeSplitButtonBottom", "ButtonArrow",
        "ButtonGroup", "StatusBarBackground", "StatusBarButton", "StatusBarSeparator", "QATInRibbonBackground",
        "QATAboveBackground", "QATBelowBackground", "QATButtonGlyph", "QATOverflow", "QATCustomizeButton",
        "ButtonGroupButton", "ButtonGroupSeparator", "TabGroupLeftScrollButton", "TabGroupRightScrollButton",
        "ContextualTabLabel", "ContextualTabLabelOnGlass", "ContextualTabSeparator", "ContextualTabHeader",
        "ContextualTabPanel"}},
      {"Scheduler",
       {"TimeGridHeader", "TimeGridHeaderSelected", "DefaultTimeLine", "Ruler", "MoreButton",
        "AppointmentRightBorder", "Appointment", "AllDayArea", "AllDayAreaSelected", "CurrentTimeIndicator",
        "AppointmentBottomShadow", "AppointmentRightShadow", "AppointmentMask", "NavButtonPrev", "NavButtonNext",
        "NavButtonPrevArrow", "NavButtonNextArrow"}},
      {"VerticalGrid", {"Category", "GridLine", "BandBorder", "RowHeader"}},
  };
  return groups;
}

bool SkinHasElement(const TSkinEntry& skin, const std::string& group, const std::string& element) {
  if (group == "Common" && (element == "SkinIcon" || element == "SkinIconLarge")) return !IsUserSkin(skin);
  if (group == "Bars" && (element == "MainMenuCustomize" || element == "MainMenuDrag")) {
    // The skins whose bars carry no customize or drag part of the main menu.
    static const char* const kWithout[] = {"Blue",          "Caramel",         "Coffee", "Foggy", "Lilian",
                                           "LiquidSky",     "LondonLiquidSky", "McSkin", "Seven"};
    for (const char* name : kWithout)
      if (std::strcmp(skin.Name, name) == 0) return false;
  }
  return true;
}
