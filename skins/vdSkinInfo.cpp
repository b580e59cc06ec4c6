// The binding of a skin into the slots of TvdSkinInfo. Bind runs its steps
// in a fixed order because later steps read slots of earlier ones (the form
// content's colour goes to the page tabs and the scroll buttons).
//
// Every object a lookup returns is marked bound (bit 1 of its state flags
// cleared); groups and placeholders that binding adds carry bit 0 as well.
#include "skins/vdSkinInfo.h"

#include <algorithm>

namespace {

constexpr uint8_t kAddedByBinding = 3;
constexpr uint8_t kNotYetBound = 2;

void MarkBound(TvdSkinCustomPersistentObject* object) {
  if (object) object->StateFlags &= uint8_t(~kNotYetBound);
}

}  // namespace

// The lookups of one Bind over one skin (nil allowed: every lookup then
// answers nil or the default).
class TvdSkinBinder {
 public:
  explicit TvdSkinBinder(TvdSkin* skin) : skin_(skin) {}

  TvdSkinControlGroup* Group(const char* name) {
    if (!skin_) return nullptr;
    TvdSkinControlGroup* group = skin_->GetGroupByName(name);
    if (!group) {
      group = skin_->AddGroup(name);
      group->StateFlags = kAddedByBinding;
    }
    MarkBound(group);
    return group;
  }

  TvdSkinElement* Element(TvdSkinControlGroup* group, const char* name, bool placeholder = true) {
    if (!group) return nullptr;
    TvdSkinElement* element = group->GetElementByName(name);
    if (!element && placeholder) element = AddPlaceholder(*group, name);
    MarkBound(element);
    return element;
  }

  // A property of another class under the name counts as absent.
  template <class T>
  T* Property(TvdSkinPersistent* source, const char* name, bool mark = true) {
    if (!source) return nullptr;
    T* property = dynamic_cast<T*>(source->GetPropertyByName(name));
    if (mark) MarkBound(property);
    return property;
  }

  TColor ColorValue(TvdSkinPersistent* source, const char* name) {
    TvdSkinColor* color = Property<TvdSkinColor>(source, name);
    return color ? color->Value() : vdSkinColorDefault;
  }
  int32_t IntegerValue(TvdSkinPersistent* source, const char* name) {
    TvdSkinIntegerProperty* value = Property<TvdSkinIntegerProperty>(source, name);
    return value ? value->Value() : 0;
  }
  bool BooleanValue(TvdSkinPersistent* source, const char* name) {
    TvdSkinBooleanProperty* value = Property<TvdSkinBooleanProperty>(source, name);
    return value && value->Value();
  }
  TvdSkinColor* SkinColor(const char* name) { return skin_ ? skin_->GetColorByName(name) : nullptr; }

  // The elements of table into the slots of one group.
  template <class S>
  struct ElementSlot {
    const char* Name;
    TvdSkinElement* S::*Slot;
    bool Placeholder = true;
  };
  template <class S, size_t N>
  void Elements(S& slots, const ElementSlot<S> (&table)[N]) {
    for (const ElementSlot<S>& entry : table) slots.*entry.Slot = Element(slots.Group, entry.Name, entry.Placeholder);
  }

  // Colours that are properties of the group itself.
  template <class S>
  struct ColorSlot {
    const char* Name;
    TvdSkinColor* S::*Slot;
  };
  template <class S, size_t N>
  void Colors(S& slots, const ColorSlot<S> (&table)[N]) {
    for (const ColorSlot<S>& entry : table) slots.*entry.Slot = Property<TvdSkinColor>(slots.Group, entry.Name);
  }

 private:
  static TvdSkinElement* AddPlaceholder(TvdSkinControlGroup& group, const char* name) {
    TvdSkinElement* element = group.AddElement(name);
    element->Image().SetStates(vdSkinStates({esNormal}));
    element->Image().SetStretch(smStretch);
    element->StateFlags = kAddedByBinding;
    element->Image().SetPicture(vdSkinRedCrossPicture());
    return element;
  }

  TvdSkin* skin_;
};

namespace {

template <class S>
using E = TvdSkinBinder::ElementSlot<S>;
template <class S>
using C = TvdSkinBinder::ColorSlot<S>;

// --- The tables of the steps ----------------------------------------------------

using Bars = TvdSkinBarsSlots;
constexpr E<Bars> kBarsElements[] = {
    {"Bar", &Bars::Bar},
    {"BarCustomize", &Bars::BarCustomize},
    {"BarCustomizeVertical", &Bars::BarCustomizeVertical},
    {"BarDragGrip", &Bars::BarDragGrip},
    {"BarDragGripVertical", &Bars::BarDragGripVertical},
    {"MDIButtonClose", &Bars::MDIButtonClose},
    {"MDIButtonMinimize", &Bars::MDIButtonMinimize},
    {"MDIButtonRestore", &Bars::MDIButtonRestore},
    {"BarSeparator", &Bars::BarSeparator},
    {"BarVertical", &Bars::BarVertical},
    {"BarSeparatorVertical", &Bars::BarSeparatorVertical},
    {"Dock", &Bars::Dock},
    {"FloatBar", &Bars::FloatBar},
    {"ItemSeparator", &Bars::ItemSeparator},
    {"LinkStatic", &Bars::LinkStatic},
    {"LinkSelected", &Bars::LinkSelected},
    {"MainMenu", &Bars::MainMenu},
    {"MainMenuCustomize", &Bars::MainMenuCustomize, false},
    {"MainMenuDrag", &Bars::MainMenuDrag, false},
    {"MainMenuLinkSelected", &Bars::MainMenuLinkSelected},
    {"MainMenuVertical", &Bars::MainMenuVertical},
    {"PopupMenu", &Bars::PopupMenu},
    {"PopupMenuCheck", &Bars::PopupMenuCheck},
    {"PopupMenuExpandButton", &Bars::PopupMenuExpandButton},
    {"PopupMenuLinkSelected", &Bars::PopupMenuLinkSelected},
    {"PopupMenuSeparator", &Bars::PopupMenuSeparator},
    {"PopupMenuSideStrip", &Bars::PopupMenuSideStrip},
    {"PopupMenuSideStripNonRecent", &Bars::PopupMenuSideStripNonRecent},
    {"PopupMenuDropDownButtonLabel", &Bars::PopupMenuDropDownButtonLabel},
    {"PopupMenuDropDownButtonArrow", &Bars::PopupMenuDropDownButtonArrow},
};

using Docking = TvdSkinDockingSlots;
constexpr E<Docking> kDockingElements[] = {
    {"TabHeaderBackground", &Docking::TabHeaderBackground},
    {"TabHeaderLine", &Docking::TabHeaderLine},
    {"TabHeaderAutoHideBar", &Docking::TabHeaderAutoHideBar},
    {"DockWindowButton", &Docking::DockWindowButton},
    {"DockWindowButtonGlyphs", &Docking::DockWindowButtonGlyphs},
    {"TabHeader", &Docking::TabHeader},
    {"AutoHideBar", &Docking::AutoHideBar},
    {"AutoHideBarLeft", &Docking::AutoHideBarLeft},
    {"AutoHideBarRight", &Docking::AutoHideBarRight},
    {"AutoHideBarBottom", &Docking::AutoHideBarBottom},
    {"DockWindowCaption", &Docking::DockWindowCaption},
    {"DockWindowBorder", &Docking::DockWindowBorder},
};
constexpr const char* kDockTabIndentNames[] = {"ActiveTabHeaderDownGrow", "ActiveTabHeaderHGrow",
                                               "ActiveTabHeaderUpGrow"};

using Editors = TvdSkinEditorsSlots;
// Indices 0-2, 3-6, 7-18, 19-22 and 23-27 of the calculator's buttons.
constexpr struct {
  const char* Name;
  int Count;
} kCalcButtonColors[] = {
    {"CalcEditEditingOperationTextColor", 3},     {"CalcEditMemoryOperationTextColor", 4},
    {"CalcEditDigitTextColor", 12},               {"CalcEditArithmeticOperationTextColor", 4},
    {"CalcEditScientificOperationTextColor", 5},
};
constexpr C<Editors> kCalendarColors[] = {
    {"CalendarDayTextColor", &Editors::CalendarDayTextColor},
    {"CalendarHolidayTextColor", &Editors::CalendarHolidayTextColor},
    {"CalendarInactiveDayTextColor", &Editors::CalendarInactiveDayTextColor},
    {"CalendarSelectedDayTextColor", &Editors::CalendarSelectedDayTextColor},
    {"CalendarSelectedDayColor", &Editors::CalendarSelectedDayColor},
    {"CalendarSeparatorColor", &Editors::CalendarSeparatorColor},
    {"CalendarTodayFrameColor", &Editors::CalendarTodayFrameColor},
    {"CalendarTodayTextColor", &Editors::CalendarTodayTextColor},
};
constexpr E<Editors> kEditorButtonElements[] = {
    {"LabelLine", &Editors::LabelLine},
    {"LabelLineVert", &Editors::LabelLineVert},
    {"EditorButton", &Editors::EditorButton},
    {"CloseButton", &Editors::CloseButton},
};
constexpr const char* kEditButtonGlyphNames[] = {"CloseButton",  "ComboButtonGlyph", "EditorButton",  "EditorButton",
                                                 "SpinUpGlyph",  "SpinDownGlyph",    "SpinLeftGlyph", "SpinRightGlyph"};
constexpr E<Editors> kProgressElements[] = {
    {"ProgressBorder", &Editors::ProgressBorder},
    {"ProgressBorderVert", &Editors::ProgressBorderVert},
    {"ProgressChunk", &Editors::ProgressChunk},
    {"ProgressChunkVert", &Editors::ProgressChunkVert},
};
constexpr E<Editors> kTrackBarElements[] = {
    {"TrackBarTrack", &Editors::TrackBarTrack},
    {"TrackBarTrackVert", &Editors::TrackBarTrackVert},
    {"TrackBarThumb", &Editors::TrackBarThumb},
    {"TrackBarThumbUp", &Editors::TrackBarThumbUp},
    {"TrackBarThumbBoth", &Editors::TrackBarThumbBoth},
    {"TrackBarThumbVert", &Editors::TrackBarThumbVert},
    {"TrackBarThumbVertUp", &Editors::TrackBarThumbVertUp},
    {"TrackBarThumbVertBoth", &Editors::TrackBarThumbVertBoth},
};
constexpr const char* kEditorStateTextColors[] = {"TextColor", "TextDisabledColor", "TextInactiveColor",
                                                  "TextReadOnlyColor"};
constexpr const char* kEditorStateBackgroundColors[] = {"BackgroundColor", "BackgroundDisabledColor",
                                                        "BackgroundInactiveColor", "BackgroundReadOnlyColor"};

using Common = TvdSkinCommonSlots;
constexpr E<Common> kGroupPanelElements[] = {
    {"GroupPanelNoBorder", &Common::GroupPanelNoBorder},
    {"GroupExpandButton", &Common::GroupExpandButton},
    {"GroupPanelTop", &Common::GroupPanelTop},
    {"GroupPanelBottom", &Common::GroupPanelBottom},
    {"GroupPanelLeft", &Common::GroupPanelLeft},
    {"GroupPanelRight", &Common::GroupPanelRight},
    {"GroupPanel", &Common::GroupPanel},
    {"GroupPanelCaptionTop", &Common::GroupPanelCaptionTop},
    {"GroupPanelCaptionBottom", &Common::GroupPanelCaptionBottom},
    {"GroupPanelCaptionLeft", &Common::GroupPanelCaptionLeft},
    {"GroupPanelCaptionRight", &Common::GroupPanelCaptionRight},
};
constexpr E<Common> kScrollElements[] = {
    {"ScrollButton", &Common::ScrollButton},
    {"ScrollThumbVert", &Common::ScrollThumbVert},
    {"ScrollThumbHorz", &Common::ScrollThumbHorz},
    {"ScrollContentVert", &Common::ScrollContentVert},
    {"ScrollContentHorz", &Common::ScrollContentHorz},
};

using Grid = TvdSkinGridSlots;
constexpr E<Grid> kGridLineElements[] = {
    {"GridFixedLine", &Grid::GridFixedLine}, {"CardSeparator", &Grid::CardSeparator},
    {"GridGroupPanel", &Grid::GridGroupPanel}, {"GroupRow", &Grid::GroupRow},
    {"GridLine", &Grid::GridLine},
};
constexpr E<Grid> kGridFilterElements[] = {
    {"FilterButton", &Grid::FilterButton},
    {"FilterButtonActive", &Grid::FilterButtonActive},
    {"GridFilterPanel", &Grid::GridFilterPanel},
};
constexpr const char* kLayoutViewGroups[] = {"LayoutViewGroup",
                                             "LayoutViewGroupWithoutBorders",
                                             "LayoutViewTabbedGroup",
                                             "LayoutViewRootGroup",
                                             "LayoutViewRootGroupWithoutBorders",
                                             "LayoutViewItem"};
constexpr const char* kLayoutViewRecords[] = {"LayoutViewRecordTop", "LayoutViewRecordBottom",
                                              "LayoutViewRecordLeft", "LayoutViewRecordRight", "LayoutViewRecord"};
constexpr const char* kLayoutViewRecordCaptions[] = {"LayoutViewRecordCaptionTop", "LayoutViewRecordCaptionBottom",
                                                     "LayoutViewRecordCaptionLeft", "LayoutViewRecordCaptionRight"};

using VerticalGrid = TvdSkinVerticalGridSlots;
constexpr E<VerticalGrid> kVerticalGridElements[] = {
    {"Category", &VerticalGrid::Category},
    {"GridLine", &VerticalGrid::GridLine},
    {"BandBorder", &VerticalGrid::BandBorder},
    {"RowHeader", &VerticalGrid::RowHeader},
};

using NavBar = TvdSkinNavBarSlots;
constexpr E<NavBar> kNavBarElements[] = {
    {"Background", &NavBar::Background},   {"GroupClient", &NavBar::GroupClient},
    {"Item", &NavBar::Item},               {"GroupHeader", &NavBar::GroupHeader},
    {"GroupCloseButton", &NavBar::GroupCloseButton}, {"GroupOpenButton", &NavBar::GroupOpenButton},
};

using NavPane = TvdSkinNavPaneSlots;
constexpr E<NavPane> kNavPaneElements[] = {
    {"CollapseButton", &NavPane::CollapseButton},
    {"CollapsedGroupClient", &NavPane::CollapsedGroupClient},
    {"ExpandButton", &NavPane::ExpandButton},
    {"PopupBorder", &NavPane::PopupBorder},
    {"PopupSizeGrip", &NavPane::PopupSizeGrip},
    {"GroupButton", &NavPane::GroupButton},
    {"GroupButtonSelected", &NavPane::GroupButtonSelected},
    {"Caption", &NavPane::Caption},
    {"Splitter", &NavPane::Splitter},
    {"ScrollUpButton", &NavPane::ScrollUpButton},
    {"ScrollDownButton", &NavPane::ScrollDownButton},
    {"OverflowPanel", &NavPane::OverflowPanel},
    {"OverflowPanelItem", &NavPane::OverflowPanelItem},
    {"OverflowPanelExpandItem", &NavPane::OverflowPanelExpandItem},
    {"GroupClient", &NavPane::GroupClient},
    {"Item", &NavPane::Item},
    {"ItemSelected", &NavPane::ItemSelected},
};

using Scheduler = TvdSkinSchedulerSlots;
constexpr E<Scheduler> kSchedulerElements[] = {
    {"TimeGridHeader", &Scheduler::TimeGridHeader},
    {"TimeGridHeaderSelected", &Scheduler::TimeGridHeaderSelected},
    {"DefaultTimeLine", &Scheduler::DefaultTimeLine},
    {"Ruler", &Scheduler::Ruler},
    {"MoreButton", &Scheduler::MoreButton},
    {"AppointmentRightBorder", &Scheduler::AppointmentRightBorder},
    {"Appointment", &Scheduler::Appointment},
    {"AllDayArea", &Scheduler::AllDayArea},
    {"AllDayAreaSelected", &Scheduler::AllDayAreaSelected},
    {"CurrentTimeIndicator", &Scheduler::CurrentTimeIndicator},
    {"AppointmentBottomShadow", &Scheduler::AppointmentBottomShadow},
    {"AppointmentRightShadow", &Scheduler::AppointmentRightShadow},
};
constexpr E<Scheduler> kSchedulerNavElements[] = {
    {"NavButtonPrev", &Scheduler::NavButtonPrev},
    {"NavButtonNext", &Scheduler::NavButtonNext},
    {"NavButtonPrevArrow", &Scheduler::NavButtonPrevArrow},
    {"NavButtonNextArrow", &Scheduler::NavButtonNextArrow},
    {"TimeGridCurrentTimeIndicator", &Scheduler::TimeGridCurrentTimeIndicator, false},
};

using PageControl = TvdSkinPageControlSlots;
constexpr E<PageControl> kPageControlElements[] = {
    {"TabHeader", &PageControl::TabHeader},
    {"TabButtonHorz", &PageControl::TabButtonHorz},
    {"TabButtonVert", &PageControl::TabButtonVert},
    {"TabHeaderCloseButton", &PageControl::TabHeaderCloseButton},
    {"TabPane", &PageControl::TabPane},
};
constexpr const char* kPageTabIndentNames[] = {"RowIndentFar",
                                               "RowIndentNear",
                                               "SelectedHeaderDownGrow",
                                               "SelectedHeaderHGrow",
                                               "SelectedHeaderUpGrow",
                                               "HeaderDownGrow",
                                               "HeaderDownGrowBottomRight",
                                               "SelectedHeaderDownGrowBottomRight"};

using Ribbon = TvdSkinRibbonSlots;
// Up to "ContextualTabLabelOnGlass"; the last three follow the label's
// shadow colour.
constexpr E<Ribbon> kRibbonElements[] = {
    {"AppMenuBackground", &Ribbon::AppMenuBackground},
    {"FormAppButton", &Ribbon::FormAppButton},
    {"FormAppButton2010", &Ribbon::FormAppButton2010},
    {"AppMenuBackgroundBottom", &Ribbon::AppMenuBackgroundBottom},
    {"AppMenuBackgroundTop", &Ribbon::AppMenuBackgroundTop},
    {"AppMenuExtraPanePinButtonGlyph", &Ribbon::AppMenuExtraPanePinButtonGlyph, false},
    {"AppMenuExtraPaneButton", &Ribbon::AppMenuExtraPaneButton},
    {"BackstageViewBackground", &Ribbon::BackstageViewBackground},
    {"BackstageViewMenuBackground", &Ribbon::BackstageViewMenuBackground},
    {"BackstageViewMenuButton", &Ribbon::BackstageViewMenuButton},
    {"BackstageViewTabHeader", &Ribbon::BackstageViewTabHeader},
    {"BackstageViewTopLine", &Ribbon::BackstageViewTopLine},
    {"TabGroupCollapsed", &Ribbon::TabGroupCollapsed},
    {"TabGroupCollapsedBox", &Ribbon::TabGroupCollapsedBox},
    {"FormCaption", &Ribbon::FormCaption},
    {"FormFrameBottom", &Ribbon::FormFrameBottom},
    {"DialogFrameBottom", &Ribbon::DialogFrameBottom},
    {"FormFrameLeft", &Ribbon::FormFrameLeft},
    {"DialogFrameLeft", &Ribbon::DialogFrameLeft},
    {"FormFrameRight", &Ribbon::FormFrameRight},
    {"DialogFrameRight", &Ribbon::DialogFrameRight},
    {"MinimizeButtonGlyph", &Ribbon::MinimizeButtonGlyph},
    {"Tab", &Ribbon::Tab},
    {"TabPanel", &Ribbon::TabPanel},
    {"TabGroupButton", &Ribbon::TabGroupButton},
    {"TabSeparatorLine", &Ribbon::TabSeparatorLine},
    {"TabGroup", &Ribbon::TabGroup},
    {"TabGroupCaption", &Ribbon::TabGroupCaption},
    {"TabGroupItemsSeparator", &Ribbon::TabGroupItemsSeparator},
    {"DropDownGalleryBackground", &Ribbon::DropDownGalleryBackground},
    {"InRibbonGalleryButtonDown", &Ribbon::InRibbonGalleryButtonDown},
    {"InRibbonGalleryButtonDropDown", &Ribbon::InRibbonGalleryButtonDropDown},
    {"InRibbonGalleryButtonUp", &Ribbon::InRibbonGalleryButtonUp},
    {"DropDownGalleryGroupHeader", &Ribbon::DropDownGalleryGroupHeader},
    {"InRibbonGalleryPane", &Ribbon::InRibbonGalleryPane},
    {"DropDownGallerySizePanel", &Ribbon::DropDownGallerySizePanel},
    {"DropDownGallerySizeGrip", &Ribbon::DropDownGallerySizeGrip},
    {"TabBackground", &Ribbon::TabBackground},
    {"TabBackgroundOnGlass", &Ribbon::TabBackgroundOnGlass},
    {"Button", &Ribbon::Button},
    {"SplitButtonLeft", &Ribbon::SplitButtonLeft},
    {"SplitButtonRight", &Ribbon::SplitButtonRight},
    {"KeyTip", &Ribbon::KeyTip},
    {"LargeButton", &Ribbon::LargeButton},
    {"LargeSplitButtonTop", &Ribbon::LargeSplitButtonTop},
    {"LargeSplitButtonBottom", &Ribbon::LargeSplitButtonBottom},
    {"ButtonArrow", &Ribbon::ButtonArrow},
    {"ButtonGroup", &Ribbon::ButtonGroup},
    {"StatusBarBackground", &Ribbon::StatusBarBackground},
    {"StatusBarButton", &Ribbon::StatusBarButton},
    {"StatusBarSeparator", &Ribbon::StatusBarSeparator},
    {"QATInRibbonBackground", &Ribbon::QATInRibbonBackground},
    {"QATAboveBackground", &Ribbon::QATAboveBackground},
    {"QATBelowBackground", &Ribbon::QATBelowBackground},
    {"QATButtonGlyph", &Ribbon::QATButtonGlyph},
    {"QATOverflow", &Ribbon::QATOverflow},
    {"QATCustomizeButton", &Ribbon::QATCustomizeButton},
    {"ButtonGroupButton", &Ribbon::ButtonGroupButton},
    {"ButtonGroupSeparator", &Ribbon::ButtonGroupSeparator},
    {"TabGroupLeftScrollButton", &Ribbon::TabGroupLeftScrollButton},
    {"TabGroupRightScrollButton", &Ribbon::TabGroupRightScrollButton},
    {"ContextualTabLabel", &Ribbon::ContextualTabLabel},
    {"ContextualTabLabelOnGlass", &Ribbon::ContextualTabLabelOnGlass},
};
constexpr E<Ribbon> kRibbonContextualElements[] = {
    {"ContextualTabSeparator", &Ribbon::ContextualTabSeparator},
    {"ContextualTabHeader", &Ribbon::ContextualTabHeader},
    {"ContextualTabPanel", &Ribbon::ContextualTabPanel},
};
constexpr C<Ribbon> kRibbonColors[] = {
    {"EditorBackground", &Ribbon::EditorBackground},
    {"AppMenuExtraPaneColor", &Ribbon::AppMenuExtraPaneColor},
    {"AppMenuExtraPaneHeaderSeparator", &Ribbon::AppMenuExtraPaneHeaderSeparator},
};

using SkinSlots = TvdSkinSkinSlots;
constexpr struct {
  const char* Name;
  TvdSkinColor* SkinSlots::*Slot;
} kSkinColors[] = {
    {"ContainerBorderColor", &SkinSlots::ContainerBorderColor},
    {"ContainerHighlightBorderColor", &SkinSlots::ContainerHighlightBorderColor},
    {"ContentColor", &SkinSlots::ContentColor},
    {"ContentEvenColor", &SkinSlots::ContentEvenColor},
    {"ContentOddColor", &SkinSlots::ContentOddColor},
    {"ContentTextColor", &SkinSlots::ContentTextColor},
    {"DockControlHiddenBarTextColor", &SkinSlots::DockControlHiddenBarTextColor},
    {"DockControlHiddenBarTextHotColor", &SkinSlots::DockControlHiddenBarTextHotColor},
    {"HeaderBackgroundColor", &SkinSlots::HeaderBackgroundColor},
    {"HeaderBackgroundTextColor", &SkinSlots::HeaderBackgroundTextColor},
    {"LayoutControlColor", &SkinSlots::LayoutControlColor},
    {"SelectionColor", &SkinSlots::SelectionColor},
    {"SelectionTextColor", &SkinSlots::SelectionTextColor},
};

TColor TextColorOf(const TvdSkinElement* element) { return element ? element->TextColor() : vdSkinColorDefault; }

int32_t PartWidth(TvdSkinElement* element) { return element ? element->GetImageSize().cx : 0; }
int32_t PartHeight(TvdSkinElement* element) { return element ? element->GetImageSize().cy : 0; }

}  // namespace

// --- TvdSkinScrollInfo and TvdSkinInfo ----------------------------------------------

TvdSkinInfo::TvdSkinInfo(std::unique_ptr<TvdSkin> skin) { SetSkin(std::move(skin)); }

TvdSkinInfo::~TvdSkinInfo() { SetSkin(nullptr); }

void TvdSkinInfo::SetSkin(std::unique_ptr<TvdSkin> skin) {
  if (skin.get() == skin_.get()) {
    // The bound skin handed over a second time stays owned once.
    (void)skin.release();
    return;
  }
  Unbind();
  if (skin_) skin_->RemoveListener(this);
  skin_ = std::move(skin);
  if (skin_) skin_->AddListener(this);
  Bind();
}

void TvdSkinInfo::SkinChanged(TvdSkin*) {
  // The change that binding itself made (groups, placeholders, colours):
  // the slots already hold it.
  if (binding_) return;
  Refresh();
}

void TvdSkinInfo::Refresh() {
  Unbind();
  Bind();
}

void TvdSkinInfo::Unbind() {
  for (auto& direction : ScrollInfos)
    for (auto& part : direction) part.reset();
}

void TvdSkinInfo::ClearSlots() {
  Bars = {};
  Common = {};
  Docking = {};
  Editors = {};
  Ribbon = {};
  Form = {};
  Grid = {};
  PageControl = {};
  Scheduler = {};
  VerticalGrid = {};
  NavBar = {};
  NavPane = {};
  PrintingSystem = {};
  SkinColors = {};
  FormButtons = {};
  FormFrames = {};
  FormFrameSizes = {};
  CaptionFontDelta = 1;
  SkinIcons = {};
  DockTabIndents = {};
  EditButtonGlyphs = {};
  CalcButtonColors = {};
  EditorStateTextColors = {};
  EditorStateBackgroundColors = {};
  LayoutViewPaddings = {};
  LayoutViewSpacings = {};
  LayoutViewRecords = {};
  LayoutViewRecordCaptions = {};
  PageTabIndents = {};
  QATBackgrounds = {};
}

void TvdSkinInfo::Bind() {
  ClearSlots();
  if (!skin_) return;
  // Under the skin's lock the additions below notify the listeners once, at
  // EndUpdate; this object ignores that notification while binding_ holds.
  binding_ = true;
  skin_->BeginUpdate();
  try {
    BindSlots();
  } catch (...) {
    skin_->EndUpdate();
    binding_ = false;
    throw;
  }
  skin_->EndUpdate();
  binding_ = false;
}

void TvdSkinInfo::BindSlots() {
  TvdSkinBinder b(skin_.get());
  // Step 1: the groups, in this order.
  Bars.Group = b.Group("Bars");
  Common.Group = b.Group("Common");
  Docking.Group = b.Group("Docking");
  Editors.Group = b.Group("Editors");
  Ribbon.Group = b.Group("Ribbon");
  Form.Group = b.Group("Form");
  Grid.Group = b.Group("Grid");
  PageControl.Group = b.Group("PageControl");
  Scheduler.Group = b.Group("Scheduler");
  VerticalGrid.Group = b.Group("VerticalGrid");
  NavBar.Group = b.Group("NavBar");
  NavPane.Group = b.Group("NavPane");
  PrintingSystem.Group = b.Group("PrintingSystem");

  b.Elements(Bars, kBarsElements);

  // The form's frames, caption buttons and content.
  TvdSkinControlGroup* form = Form.Group;
  FormButtons = {};
  FormButtons[0][5] = b.Element(form, "SmallFormButtonClose");
  FormButtons[1][1] = b.Element(form, "FormButtonHelp");
  FormButtons[1][2] = b.Element(form, "FormButtonMinimize");
  FormButtons[1][3] = b.Element(form, "FormButtonMaximize");
  FormButtons[1][4] = b.Element(form, "FormButtonRestore");
  FormButtons[1][5] = b.Element(form, "FormButtonClose");
  for (int kind = 0; kind < 2; ++kind) {
    auto& frames = FormFrames[size_t(kind)];
    frames[0] = b.Element(form, "FormFrameLeft");
    frames[1] = b.Element(form, kind == 0 ? "SmallFormCaption" : "FormCaption");
    frames[2] = b.Element(form, "FormFrameRight");
    frames[3] = b.Element(form, "FormFrameBottom");
    FormFrameSizes[size_t(kind)] = TRect(PartWidth(frames[0]), 0, PartWidth(frames[2]), PartHeight(frames[3]));
  }
  Bars.StatusBar = b.Element(Bars.Group, "StatusBar");
  Form.FormContent = b.Element(form, "FormContent");
  Form.TextColorInactive = b.Property<TvdSkinColor>(form, "TextColorInactive");
  Form.TextShadowColor = b.Property<TvdSkinColor>(form, "TextShadowColor");
  CaptionFontDelta = std::max(1, b.IntegerValue(FormFrames[1][1], "FontDelta"));

  SkinIcons[0] = b.Element(Common.Group, "SkinIcon", false);
  SkinIcons[1] = b.Element(Common.Group, "SkinIconLarge", false);
  SkinColors.SkinGroupName = b.Property<TvdSkinStringProperty>(skin_.get(), "SkinGroupName");

  b.Elements(Docking, kDockingElements);
  Docking.DockWindowCaptionInactiveCaptionTextColor =
      b.ColorValue(Docking.DockWindowCaption, "InactiveCaptionTextColor");
  DockTabIndents = {};
  if (Docking.Group)
    for (size_t i = 0; i < DockTabIndents.size(); ++i)
      DockTabIndents[i] = b.IntegerValue(Docking.Group, kDockTabIndentNames[i]);

  Common.Button = b.Element(Common.Group, "Button");
  Grid.PlusMinus = b.Element(Grid.Group, "PlusMinus");
  if (Common.Button) Common.ButtonDisabledText = b.Property<TvdSkinColor>(Common.Button, "DisabledText");

  Grid.FooterCell = b.Element(Grid.Group, "FooterCell");
  Grid.FooterPanel = b.Element(Grid.Group, "FooterPanel");

  size_t calc = 0;
  for (const auto& colors : kCalcButtonColors)
    for (int i = 0; i < colors.Count; ++i)
      CalcButtonColors[calc++] = b.Property<TvdSkinColor>(Editors.Group, colors.Name);

  b.Colors(Editors, kCalendarColors);
  Editors.Checkbox = b.Element(Editors.Group, "Checkbox");
  Editors.ClockFace = b.Element(Editors.Group, "ClockFace");
  Editors.ClockGlass = b.Element(Editors.Group, "ClockGlass");

  b.Elements(Editors, kEditorButtonElements);
  for (size_t i = 0; i < EditButtonGlyphs.size(); ++i)
    EditButtonGlyphs[i] = b.Element(Editors.Group, kEditButtonGlyphNames[i]);
  Editors.EditorButtonMergeBorders = b.BooleanValue(Editors.EditorButton, "MergeBorders");

  b.Elements(Common, kGroupPanelElements);

  b.Elements(Grid, kGridLineElements);
  b.Elements(VerticalGrid, kVerticalGridElements);
  Grid.GroupRowOffice11ContentColor = b.Property<TvdSkinColor>(Grid.GroupRow, "Office11ContentColor");
  Grid.GroupRowOffice11SeparatorColor = b.Property<TvdSkinColor>(Grid.GroupRow, "Office11SeparatorColor");
  Grid.GroupRowOffice11TextColor = b.Property<TvdSkinColor>(Grid.GroupRow, "Office11TextColor");
  if (Grid.GridGroupPanel && !Grid.GridGroupPanel->Image().IsEmpty()) Grid.GridGroupPanel->SetColor(vdSkinColorNone);

  Grid.IndicatorImages = b.Element(Grid.Group, "IndicatorImages");

  b.Elements(NavBar, kNavBarElements);
  b.Elements(NavPane, kNavPaneElements);
  NavPane.CaptionHeight = b.Property<TvdSkinIntegerProperty>(NavPane.Caption, "Height");
  NavPane.CaptionFontSize = b.Property<TvdSkinIntegerProperty>(NavPane.Caption, "FontSize");
  NavPane.OverlapGroupBorders = b.Property<TvdSkinBooleanProperty>(NavPane.Group, "OverlapGroupBorders", false);

  Editors.Navigator = b.Element(Editors.Group, "Navigator");
  Editors.NavigatorVert = b.Element(Editors.Group, "NavigatorVert");

  b.Elements(Scheduler, kSchedulerElements);
  Scheduler.AppointmentBorderSize = b.Property<TvdSkinIntegerProperty>(Scheduler.Appointment, "BorderSize");
  Scheduler.AppointmentMask = b.Element(Scheduler.Group, "AppointmentMask");
  Scheduler.AppointmentSeparatorColor = b.Property<TvdSkinColor>(Scheduler.Appointment, "SeparatorColor");
  b.Elements(Scheduler, kSchedulerNavElements);

  Common.Header = b.Element(Common.Group, "Header");
  Common.HeaderSpecial = b.Element(Common.Group, "HeaderSpecial");

  b.Elements(Grid, kGridFilterElements);

  b.Elements(PageControl, kPageControlElements);
  if (Form.FormContent && PageControl.TabButtonHorz && PageControl.TabButtonVert) {
    PageControl.TabButtonHorz->SetColor(Form.FormContent->Color());
    PageControl.TabButtonVert->SetColor(Form.FormContent->Color());
  }
  PageTabIndents = {};
  if (PageControl.Group)
    for (size_t i = 0; i < PageTabIndents.size(); ++i)
      PageTabIndents[i] = b.IntegerValue(PageControl.Group, kPageTabIndentNames[i]);

  b.Elements(Editors, kProgressElements);
  Editors.ProgressBarEmptyTextColor = b.Property<TvdSkinColor>(Editors.Group, "ProgressBarEmptyTextColor");
  Editors.ProgressBarFilledTextColor = b.Property<TvdSkinColor>(Editors.Group, "ProgressBarFilledTextColor");

  Editors.RadioButton = b.Element(Editors.Group, "RadioButton");

  b.Elements(Common, kScrollElements);
  BindScrollInfos();

  BindRibbon(b);

  Common.SizeGrip = b.Element(Common.Group, "SizeGrip");
  Common.Splitter = b.Element(Common.Group, "Splitter");
  Common.SplitterHorz = b.Element(Common.Group, "SplitterHorz");

  b.Elements(Editors, kTrackBarElements);

  Bars.ScreenTipWindow = b.Element(Bars.Group, "ScreenTipWindow");
  Bars.ScreenTipItem = b.Property<TvdSkinColor>(Bars.ScreenTipWindow, "ScreenTipItem");
  Bars.ScreenTipSeparator = b.Element(Bars.Group, "ScreenTipSeparator");
  Bars.ScreenTipTitleItem = b.Property<TvdSkinColor>(Bars.ScreenTipWindow, "ScreenTipTitleItem");

  PrintingSystem.PageBorder = b.Element(PrintingSystem.Group, "PageBorder");
  PrintingSystem.PreviewBackground = b.Element(PrintingSystem.Group, "PreviewBackground");

  Grid.LayoutViewItem = b.Element(Grid.Group, "LayoutViewItem");
  for (size_t i = 0; i < LayoutViewPaddings.size(); ++i) {
    LayoutViewPaddings[i] = b.Property<TvdSkinRectProperty>(Grid.Group, (String(kLayoutViewGroups[i]) + "Padding").c_str());
    LayoutViewSpacings[i] = b.Property<TvdSkinRectProperty>(Grid.Group, (String(kLayoutViewGroups[i]) + "Spacing").c_str());
  }
  Grid.LayoutViewRecordExpandButton = b.Element(Grid.Group, "LayoutViewRecordExpandButton");
  for (size_t i = 0; i < LayoutViewRecords.size(); ++i) {
    LayoutViewRecords[i] = b.Element(Grid.Group, kLayoutViewRecords[i]);
    // The whole record's caption has no name: it stays nil.
    LayoutViewRecordCaptions[i] = i < 4 ? b.Element(Grid.Group, kLayoutViewRecordCaptions[i]) : nullptr;
  }

  Bars.DisabledTextColor = b.Property<TvdSkinColor>(Bars.Group, "DisabledTextColor");
  Docking.TabHeaderTextColor = b.Property<TvdSkinColor>(Docking.Group, "TabHeaderTextColor");
  Docking.TabHeaderTextColorActive = b.Property<TvdSkinColor>(Docking.Group, "TabHeaderTextColorActive");
  Scheduler.NavigatorColor = b.Property<TvdSkinColor>(Scheduler.Group, "NavigatorColor");
  PageControl.TabHeaderTextColor = b.Property<TvdSkinColor>(PageControl.TabHeader, "TextColor");
  PageControl.TabHeaderTextColorSelected = b.Property<TvdSkinColor>(PageControl.TabHeader, "TextColorSelected");
  PageControl.TabHeaderTextColorDisabled = b.Property<TvdSkinColor>(PageControl.TabHeader, "TextColorDisabled");
  PageControl.TabHeaderTextColorHot = b.Property<TvdSkinColor>(PageControl.TabHeader, "TextColorHot");
  Editors.HyperLinkTextColor = b.Property<TvdSkinColor>(Editors.Group, "HyperLinkTextColor");
  for (size_t i = 0; i < EditorStateTextColors.size(); ++i) {
    EditorStateTextColors[i] = b.Property<TvdSkinColor>(Editors.Group, kEditorStateTextColors[i]);
    EditorStateBackgroundColors[i] = b.Property<TvdSkinColor>(Editors.Group, kEditorStateBackgroundColors[i]);
  }
  for (const auto& color : kSkinColors) SkinColors.*color.Slot = b.SkinColor(color.Name);
}

void TvdSkinInfo::BindScrollInfos() {
  if (Form.FormContent && Common.ScrollButton) Common.ScrollButton->SetColor(Form.FormContent->Color());
  Unbind();
  if (!skin_) return;
  auto make = [](TvdSkinElement* element, int index) { return std::make_unique<TvdSkinScrollInfo>(element, index); };
  ScrollInfos[0][vdspLineUp] = make(Common.ScrollButton, 0);
  ScrollInfos[0][vdspLineDown] = make(Common.ScrollButton, 1);
  ScrollInfos[1][vdspLineUp] = make(Common.ScrollButton, 2);
  ScrollInfos[1][vdspLineDown] = make(Common.ScrollButton, 3);
  ScrollInfos[0][vdspThumb] = make(Common.ScrollThumbVert, 0);
  ScrollInfos[1][vdspThumb] = make(Common.ScrollThumbHorz, 0);
  for (int page : {vdspPageUp, vdspPageDown}) {
    ScrollInfos[0][size_t(page)] = make(Common.ScrollContentVert, 0);
    ScrollInfos[1][size_t(page)] = make(Common.ScrollContentHorz, 0);
  }
}

void TvdSkinInfo::BindRibbon(TvdSkinBinder& b) {
  b.Elements(Ribbon, kRibbonElements);
  Ribbon.ContextualTabLabelTextShadowColor = b.Property<TvdSkinColor>(Ribbon.ContextualTabLabel, "TextShadowColor");
  b.Elements(Ribbon, kRibbonContextualElements);

  for (int i = 0; i < 2; ++i) {
    TvdSkinQATBackground& qat = QATBackgrounds[size_t(i)];
    qat.Element = i == 0 ? Ribbon.QATAboveBackground : Ribbon.QATBelowBackground;
    qat.DisplayCustomizeButtonOutsideQAT =
        b.Property<TvdSkinBooleanProperty>(qat.Element, "DisplayCustomizeButtonOutsideQAT");
    qat.IndentBeforeCustomizeButton = b.Property<TvdSkinIntegerProperty>(qat.Element, "IndentBeforeCustomizeButton");
  }
  Ribbon.FormCaptionFontDelta = b.Property<TvdSkinIntegerProperty>(Ribbon.FormCaption, "FontDelta");
  Ribbon.SpaceBetweenTabGroups = b.Property<TvdSkinIntegerProperty>(Ribbon.Group, "SpaceBetweenTabGroups");
  Ribbon.TabHeaderDownGrow = b.Property<TvdSkinIntegerProperty>(Ribbon.Group, "TabHeaderDownGrow");
  Ribbon.TabAeroSupport = b.Property<TvdSkinBooleanProperty>(Ribbon.Group, "TabAeroSupport");

  b.Colors(Ribbon, kRibbonColors);
  Ribbon.FormCaptionTextColorInactive = b.ColorValue(Ribbon.FormCaption, "TextColorInactive");
  Ribbon.FormCaptionTextColor = TextColorOf(Ribbon.FormCaption);
  Ribbon.TabTextColorHot = b.ColorValue(Ribbon.Tab, "TextColorHot");
  Ribbon.TabTextColorSelected = b.ColorValue(Ribbon.Tab, "TextColorSelected");
  Ribbon.TabTextColor = TextColorOf(Ribbon.Tab);
  Ribbon.ContextualTabHeaderTextColorSelected = b.ColorValue(Ribbon.ContextualTabHeader, "TextColorSelected");
  Ribbon.ContextualTabHeaderTextColor = TextColorOf(Ribbon.ContextualTabHeader);
  Ribbon.ContextualTabHeaderTextColorHot = b.ColorValue(Ribbon.ContextualTabHeader, "TextColorHot");
  Ribbon.FormCaptionDocumentNameTextColor = b.ColorValue(Ribbon.FormCaption, "DocumentNameTextColor");
  Ribbon.FormCaptionDocumentNameTextColorInactive = Ribbon.FormCaptionTextColorInactive;
  Ribbon.StatusBarButtonTextColor = b.ColorValue(Ribbon.StatusBarButton, "TextColor");
  Ribbon.StatusBarButtonTextColorHot = b.ColorValue(Ribbon.StatusBarButton, "TextColorHot");
  Ribbon.StatusBarButtonTextColorDisabled = b.ColorValue(Ribbon.StatusBarButton, "TextColorDisabled");
  Ribbon.ButtonTextColor = TextColorOf(Ribbon.Button);
  Ribbon.ButtonDisabled = b.ColorValue(Ribbon.Group, "ButtonDisabled");
}
