// The skin painters under Wine: what start-up registers (the 31 shipped
// skins and the user skin), what a skin module does with a damaged or
// duplicate skin, that every operation of the skin painter answers exactly
// as the Office 2003 painter while its skin lacks the element, and the
// drawing of the clock, the greyed navigator glyph and the ellipsis button.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "SkinCatalog.h"
#include "foundation/PainterPicture.h"
#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vdOffice11.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "skins/vdSkinBlack.h"
#include "skins/vdSkiniMaginary.h"
#include "skins/vdSkinsDefaultPainters.h"

namespace {

const TvxOffice11LookAndFeelPainter& Office11() { return TvxOffice11LookAndFeelPainter::Painter(); }

TvdSkinLookAndFeelPainterInfo* DataOf(const String& name) {
  TvxExtendedStylePainterInfo* info = nullptr;
  if (vxGetStylePainterRegistry()->LocateByName(name, info) < 0) return nullptr;
  return dynamic_cast<TvdSkinLookAndFeelPainterInfo*>(info->Data.get());
}

// The foundation's modules run for the whole program.
class FoundationEnvironment : public testing::Environment {
 public:
  void SetUp() override { modules_ = std::make_unique<TvxFoundationModules>(); }
  void TearDown() override { modules_.reset(); }

 private:
  std::unique_ptr<TvxFoundationModules> modules_;
};
testing::Environment* const foundation = testing::AddGlobalTestEnvironment(new FoundationEnvironment);

// The skins started once for the suite, as the setup program starts them.
class SkinStartUp : public testing::Test {
 protected:
  static void SetUpTestSuite() { skins_ = new TvdSkinModules; }
  static void TearDownTestSuite() { delete skins_; }
  static inline TvdSkinModules* skins_ = nullptr;
};

TEST_F(SkinStartUp, RegistersEveryShippedSkinAndTheUserSkin) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  TvxExtendedStylePainters* registry = vxGetStylePainterRegistry();
  EXPECT_EQ(registry->Count(), 32);
  for (const TSkinEntry& entry : SkinEntries()) {
    const String name = IsUserSkin(entry) ? String("UserSkin") : String(entry.Name);
    SCOPED_TRACE(name);
    TvdSkinLookAndFeelPainterInfo* data = DataOf(name);
    ASSERT_NE(data, nullptr);
    TvxLookAndFeelPainterClass painter = nullptr;
    ASSERT_TRUE(registry->FindPainterByName(name, painter));
    const auto* skinPainter = dynamic_cast<const TvdSkinLookAndFeelPainter*>(painter);
    ASSERT_NE(skinPainter, nullptr);
    EXPECT_EQ(skinPainter->GetPainterData(), data);
    EXPECT_EQ(data->Skin()->Name(), entry.Name);
    EXPECT_EQ(data->IsUserSkin(), IsUserSkin(entry));
  }
}

TEST_F(SkinStartUp, BlackIsItsOwnPainterClass) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  TvxLookAndFeelPainterClass painter = nullptr;
  ASSERT_TRUE(vxGetStylePainterRegistry()->FindPainterByName("black", painter));
  EXPECT_EQ(painter, &TvdBlackPainter::Painter());
  EXPECT_STREQ(painter->ClassName(), "TvdBlackPainter");
  TvdSkin* skin = TvdBlackPainter::Painter().GetPainterData()->Skin();
  EXPECT_EQ(skin->Name(), "Black");
  EXPECT_EQ(skin->DisplayName(), "Black");
  EXPECT_STREQ(TvdBlackPainter::Painter().GetModuleName(), "vdSkinBlack");

  EXPECT_STREQ(TvdiMaginaryPainter::Painter().ClassName(), "TvdiMaginaryPainter");
  EXPECT_STREQ(TvdiMaginaryPainter::Painter().GetModuleName(), "vdSkiniMaginary");
  EXPECT_STREQ(TvdSkinLookAndFeelPainter::Painter().GetModuleName(), "vdSkinsLookAndFeelPainter");

  const TvdSkinsUserSkinPainter& user = TvdSkinsUserSkinPainter::Painter();
  EXPECT_STREQ(user.GetModuleName(), "vdSkinsDefaultPainters");
  EXPECT_EQ(user.GetPainterData()->Skin()->Name(), "defaultuserskindata");
  EXPECT_EQ(user.GetPainterData()->Skin()->DisplayName(), "UserSkin");
}

// A skin registered twice keeps its first painter data; the second is
// freed, not leaked, and the painter does not point at it.
TEST_F(SkinStartUp, ADuplicateNameKeepsTheFirstRegistration) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  TvdSkinLookAndFeelPainterInfo* first = TvdBlackPainter::Painter().GetPainterData();
  TvdBlackPainter::Painter().RegisterSkin();
  EXPECT_EQ(vxGetStylePainterRegistry()->Count(), 32);
  EXPECT_EQ(TvdBlackPainter::Painter().GetPainterData(), first);
  EXPECT_EQ(DataOf("Black"), first);
}

// A painter of a skin whose resource is missing or is not a skin stream.
class TBrokenSkinPainter : public TvdSkinModulePainter {
 public:
  explicit TBrokenSkinPainter(const char* resource)
      : TvdSkinModulePainter("TBrokenSkinPainter", "test", resource, resource) {}
};

TEST_F(SkinStartUp, ADamagedSkinIsLeftOutAndTheProgramGoesOn) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  for (const char* resource : {"NoSuchSkin", "BrokenSkin"}) {
    SCOPED_TRACE(resource);
    TBrokenSkinPainter painter(resource);
    EXPECT_NO_THROW(painter.RegisterSkin());
    EXPECT_EQ(painter.GetPainterData(), nullptr);
    EXPECT_EQ(DataOf(resource), nullptr);
    EXPECT_NO_THROW(painter.UnregisterSkin());
  }
}

// Through the units loader: stopping a module unregisters its skin,
// starting it registers it again; a stop without a registry does nothing.
TEST_F(SkinStartUp, ModulesStartAndStopThroughTheUnitsLoader) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  vdSkinBlackFinalize();
  EXPECT_EQ(DataOf("Black"), nullptr);
  EXPECT_EQ(TvdBlackPainter::Painter().GetPainterData(), nullptr);
  vdSkinBlackInitialize();
  ASSERT_NE(DataOf("Black"), nullptr);
  EXPECT_EQ(TvdBlackPainter::Painter().GetPainterData(), DataOf("Black"));
}

// Run with GDI+ switched off (see CMakeLists): nothing is registered.
TEST_F(SkinStartUp, WithoutGdiPlusNoSkinIsRegistered) {
  if (!std::getenv("QE_EXPECT_NO_GDIPLUS")) GTEST_SKIP() << "runs where GDI+ is switched off";
  ASSERT_FALSE(vdGpIsLibraryAvailable());
  EXPECT_EQ(vxGetStylePainterRegistry()->Count(), 0);
  EXPECT_EQ(TvdBlackPainter::Painter().GetPainterData(), nullptr);
}

// --- Falling back to the parent ---------------------------------------------------

// A skin painter whose painter data the test chooses.
class TTestSkinPainter : public TvdSkinLookAndFeelPainter {
 public:
  TTestSkinPainter() = default;
  TvdSkinLookAndFeelPainterInfo* GetPainterData() const override { return Data; }
  TvdSkinLookAndFeelPainterInfo* Data = nullptr;
};

std::string Text(const TRect& r) {
  std::ostringstream s;
  s << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom;
  return s.str();
}
std::string Text(const TSize& s) { return std::to_string(s.cx) + 'x' + std::to_string(s.cy); }
std::string Text(const TPoint& p) { return std::to_string(p.X) + ':' + std::to_string(p.Y); }
std::string Text(int value) { return std::to_string(value); }

// A fingerprint (FNV-1a) of every pixel of a picture the operation drew on
// white.
std::string Drawn(const std::function<void(TvxCanvas*)>& paint) {
  TPainterPicture picture(48, 32);
  paint(picture.Canvas());
  uint64_t hash = 14695981039346656037u;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) hash = (hash ^ picture.At(x, y)) * 1099511628211u;
  return "pixels " + std::to_string(hash);
}

// An operation's answer through the skin painter, or (up) through the
// operation it overrides, called on the same painter.
using TAnswer = std::function<std::string(const TTestSkinPainter&, bool up)>;
#define CALL(operation) (up ? p.TvxOffice11LookAndFeelPainter::operation : p.operation)

// Every override that falls back, once, with arguments that reach the
// fallback.
std::vector<std::pair<const char*, TAnswer>> FallbackCases() {
  using P = const TTestSkinPainter&;
  using C = TvxCanvas*;
  const TRect r(4, 4, 40, 24);
  const auto paint = [](std::function<void(P, bool, C)> f) {
    return [f](P p, bool up) { return Drawn([&](C c) { f(p, up, c); }); };
  };
  std::vector<std::pair<const char*, TAnswer>> cases = {
      {"ContentColor", [](P p, bool up) { return Text(CALL(ContentColor())); }},
      {"ContentEvenColor", [](P p, bool up) { return Text(CALL(ContentEvenColor())); }},
      {"ContentOddColor", [](P p, bool up) { return Text(CALL(ContentOddColor())); }},
      {"ContentTextColor", [](P p, bool up) { return Text(CALL(ContentTextColor())); }},
      {"EditorBackgroundColor", [](P p, bool up) {
         return Text(CALL(EditorBackgroundColor(eckNormal))) + Text(CALL(EditorBackgroundColor(eckDisabled))) +
                Text(CALL(EditorBackgroundColor(eckReadOnly)));
       }},
      {"EditorTextColor", [](P p, bool up) {
         return Text(CALL(EditorTextColor(eckNormal))) + Text(CALL(EditorTextColor(eckDisabled))) +
                Text(CALL(EditorTextColor(eckInactive)));
       }},
      {"FilterPanelTextColor", [](P p, bool up) { return Text(CALL(FilterPanelTextColor())); }},
      {"GridFixedLineColor", [](P p, bool up) { return Text(CALL(GridFixedLineColor())); }},
      {"VerticalGridFixedLineColor", [](P p, bool up) { return Text(CALL(VerticalGridFixedLineColor())); }},
      {"GridBackgroundColor", [](P p, bool up) { return Text(CALL(GridBackgroundColor())); }},
      {"GridLineColor", [](P p, bool up) { return Text(CALL(GridLineColor())); }},
      {"GroupByPanelTextColor", [](P p, bool up) { return Text(CALL(GroupByPanelTextColor())); }},
      {"GroupRowColor", [](P p, bool up) { return Text(CALL(GroupRowColor())); }},
      {"GroupRowTextColor", [](P p, bool up) { return Text(CALL(GroupRowTextColor())); }},
      {"HeaderBackgroundColor", [](P p, bool up) { return Text(CALL(HeaderBackgroundColor())); }},
      {"HeaderBackgroundTextColor", [](P p, bool up) { return Text(CALL(HeaderBackgroundTextColor())); }},
      {"HeaderColor", [](P p, bool up) { return Text(CALL(HeaderColor())); }},
      {"HeaderTextColor", [](P p, bool up) { return Text(CALL(HeaderTextColor())); }},
      {"HyperLinkTextColor", [](P p, bool up) { return Text(CALL(HyperLinkTextColor())); }},
      {"VerticalGridBackgroundColor", [](P p, bool up) { return Text(CALL(VerticalGridBackgroundColor())); }},
      {"VerticalGridBandBorderColor", [](P p, bool up) { return Text(CALL(VerticalGridBandBorderColor())); }},
      {"VerticalGridCategoryColor", [](P p, bool up) { return Text(CALL(VerticalGridCategoryColor())); }},
      {"VerticalGridCategoryTextColor", [](P p, bool up) { return Text(CALL(VerticalGridCategoryTextColor())); }},
      {"VerticalGridRowHeaderColor", [](P p, bool up) { return Text(CALL(VerticalGridRowHeaderColor())); }},
      {"VerticalGridRowHeaderTextColor", [](P p, bool up) { return Text(CALL(VerticalGridRowHeaderTextColor())); }},
      {"VerticalGridLineColor", [](P p, bool up) { return Text(CALL(VerticalGridLineColor())); }},
      {"CalendarHolidayTextColor", [](P p, bool up) { return Text(CALL(CalendarHolidayTextColor())); }},
      {"CalendarInactiveDayTextColor", [](P p, bool up) { return Text(CALL(CalendarInactiveDayTextColor())); }},
      {"CalendarSelectedDayColor", [](P p, bool up) { return Text(CALL(CalendarSelectedDayColor())); }},
      {"CalendarSelectedDayTextColor", [](P p, bool up) { return Text(CALL(CalendarSelectedDayTextColor())); }},
      {"CalendarSeparatorColor", [](P p, bool up) { return Text(CALL(CalendarSeparatorColor())); }},
      {"CalendarDayTextColor", [](P p, bool up) { return Text(CALL(CalendarDayTextColor())); }},
      {"CalendarTodayFrameColor", [](P p, bool up) { return Text(CALL(CalendarTodayFrameColor())); }},
      {"CalendarTodayTextColor", [](P p, bool up) { return Text(CALL(CalendarTodayTextColor())); }},
      {"SchedulerContentColor", [](P p, bool up) { return Text(CALL(SchedulerContentColor())); }},
      {"SchedulerBackgroundColor", [](P p, bool up) { return Text(CALL(SchedulerBackgroundColor())); }},
      {"SchedulerFrameColor", [](P p, bool up) { return Text(CALL(SchedulerFrameColor())); }},
      {"SchedulerNavigatorColor", [](P p, bool up) { return Text(CALL(SchedulerNavigatorColor())); }},
      {"TimeRulerColor", [](P p, bool up) { return Text(CALL(TimeRulerColor())); }},
      {"TimeRulerTextColor", [](P p, bool up) { return Text(CALL(TimeRulerTextColor())); }},
      {"AppointmentTextColor", [](P p, bool up) { return Text(CALL(AppointmentTextColor())); }},
      {"SelectionColor", [](P p, bool up) { return Text(CALL(SelectionColor())); }},
      {"SelectionTextColor", [](P p, bool up) { return Text(CALL(SelectionTextColor())); }},
      {"CardSeparatorColor", [](P p, bool up) { return Text(CALL(CardSeparatorColor())); }},
      {"TimeGridHeaderTextColor", [](P p, bool up) { return Text(CALL(TimeGridHeaderTextColor())); }},
      {"ButtonGlyphColor", [](P p, bool up) {
         return Text(CALL(ButtonGlyphColor(vxbsNormal, clDefault))) + Text(CALL(ButtonGlyphColor(vxbsDisabled, clRed)));
       }},
      {"Office11GroupRowColors", [](P p, bool up) {
         return Text(CALL(Office11GroupRowContentColor(true))) + Text(CALL(Office11GroupRowSeparatorColor())) +
                Text(CALL(Office11GroupRowTextColor()));
       }},
      {"GroupByAreaColor", [](P p, bool up) { return Text(CALL(GroupByAreaColor())); }},
      {"GroupByAreaTextColor", [](P p, bool up) { return Text(CALL(GroupByAreaTextColor())); }},
      {"SchedulerNavigationButtonTextColor",
       [](P p, bool up) { return Text(CALL(SchedulerNavigationButtonTextColor(true, vxbsHot, clRed))); }},
      {"EditButtonCaptionColor", [](P p, bool up) { return Text(CALL(EditButtonCaptionColor())); }},
      {"ContainerFrameColor",
       [](P p, bool up) { return Text(CALL(ContainerFrameColor(false))) + Text(CALL(ContainerFrameColor(true))); }},
      {"ProgressBarTextColor",
       [](P p, bool up) { return Text(CALL(ProgressBarTextColor(false))) + Text(CALL(ProgressBarTextColor(true))); }},
      {"GroupBoxCaptionTextColor", [](P p, bool up) {
         return Text(CALL(GroupBoxCaptionTextColor(true, vxgcpTop))) +
                Text(CALL(GroupBoxCaptionTextColor(false, vxgcpLeft)));
       }},
      {"GroupPanelTextColor", [](P p, bool up) { return Text(CALL(GroupPanelTextColor())); }},
      {"LayoutControlBackgroundColor", [](P p, bool up) { return Text(CALL(LayoutControlBackgroundColor())); }},
      {"CalculatorButtonTextColor", [](P p, bool up) { return Text(CALL(CalculatorButtonTextColor(9))); }},
      {"CalculatorBackgroundColor", [](P p, bool up) { return Text(CALL(CalculatorBackgroundColor())); }},
      {"ButtonBorderWidth", [](P p, bool up) { return Text(CALL(ButtonBorderWidth(vxbsNormal))); }},
      {"ButtonGroupBorderWidths", [](P p, bool up) { return Text(CALL(ButtonGroupBorderWidths(3, 1))); }},
      {"ExpandButtonExtent", [](P p, bool up) { return Text(CALL(ExpandButtonExtent())); }},
      {"CheckBoxGlyphExtent", [](P p, bool up) { return Text(CALL(CheckBoxGlyphExtent())); }},
      {"RadioButtonExtent", [](P p, bool up) { return Text(CALL(RadioButtonExtent())); }},
      {"LabelLineWidth", [](P p, bool up) { return Text(CALL(LabelLineWidth())); }},
      {"HeaderElementIsOpaque", [](P p, bool up) { return Text(CALL(HeaderElementIsOpaque())); }},
      {"LayoutViewPadding", [](P p, bool up) { return Text(CALL(LayoutViewPadding(2))); }},
      {"LayoutViewSpacing", [](P p, bool up) { return Text(CALL(LayoutViewSpacing(5))); }},
      {"FooterCellBorderWidth", [](P p, bool up) { return Text(CALL(FooterCellBorderWidth())); }},
      {"FilterCloseButtonExtent", [](P p, bool up) { return Text(CALL(FilterCloseButtonExtent())); }},
      {"ScrollBarMinThumbLength",
       [](P p, bool up) { return Text(CALL(ScrollBarMinThumbLength(false))) +
              Text(CALL(ScrollBarMinThumbLength(true))); }},
      {"SizeGripExtent", [](P p, bool up) { return Text(CALL(SizeGripExtent())); }},
      {"TabCloseButtonExtent", [](P p, bool up) { return Text(CALL(TabCloseButtonExtent())); }},
      {"CalculateSchedulerNavigationButtonLayout", [](P p, bool up) {
         TRect bounds(0, 0, 10, 40), text, arrow;
         CALL(CalculateSchedulerNavigationButtonLayout(true, false, 20, 30, bounds, text, arrow));
         return Text(bounds) + Text(text) + Text(arrow);
       }},
      {"SchedulerEventProgressMargins", [](P p, bool up) { return Text(CALL(SchedulerEventProgressMargins())); }},
      {"SchedulerNavigationButtonMetrics", [](P p, bool up) {
         const auto m = CALL(SchedulerNavigationButtonMetrics(false));
         return Text(m.Borders) + Text(m.HasText) + Text(m.ArrowSize);
       }},
      {"EditButtonExtent", [](P p, bool up) { return Text(CALL(EditButtonExtent())); }},
      {"NavigatorButtonGlyphExtent", [](P p, bool up) { return Text(CALL(NavigatorButtonGlyphExtent())); }},
      {"ProgressBarFrameWidths",
       [](P p, bool up) { return Text(CALL(ProgressBarFrameWidths(false))) +
              Text(CALL(ProgressBarFrameWidths(true))); }},
      {"GroupBoxFrameWidths",
       [](P p, bool up) { return Text(CALL(GroupBoxFrameWidths(true, vxgcpTop))) +
              Text(CALL(GroupBoxFrameWidths(false, vxgcpRight))); }},
      {"GroupBoxNeedsParentBackground",
        [](P p, bool up) { return Text(CALL(GroupBoxNeedsParentBackground(true, vxgcpBottom))); }},
      {"TrackBarThumbExtent",
       [](P p, bool up) { return Text(CALL(TrackBarThumbExtent(true))) + Text(CALL(TrackBarThumbExtent(false))); }},
      {"TrackBarTrackThickness", [](P p, bool up) { return Text(CALL(TrackBarTrackThickness())); }},
      {"SplitterExtent",
        [](P p, bool up) { return Text(CALL(SplitterExtent(true))) + Text(CALL(SplitterExtent(false))); }},
      {"PrintPreviewPageBorderWidths", [](P p, bool up) { return Text(CALL(PrintPreviewPageBorderWidths())); }},

      {"PaintPushButton", paint([r](P p, bool up, C c) {
         CALL(PaintPushButton(c, r, "&Next", vxbsPressed, true, clDefault, clDefault, false));
       })},
      {"PaintFooterPanel", paint([r](P p, bool up, C c) { CALL(PaintFooterPanel(c, r, 5)); })},
      {"PaintSchedulerNavigationButton",
       paint([r](P p, bool up, C c) { CALL(PaintSchedulerNavigationButton(c, r, {10, 8, 18, 16}, true, vxbsHot)); })},
      {"PaintBorder", paint([r](P p, bool up, C c) { CALL(PaintBorder(c, r)); })},
      {"PaintSeparator", paint([r](P p, bool up, C c) { CALL(PaintSeparator(c, r, true)); })},
      {"PaintExpandButton",
        paint([](P p, bool up, C c) { CALL(PaintExpandButton(c, {2, 2, 13, 13}, true, clDefault)); })},
      {"PaintSmallExpandButton",
       paint([](P p, bool up, C c) { CALL(PaintSmallExpandButton(c, {2, 2, 11, 11}, false, clDefault, clDefault)); })},
      {"PaintCheckBox", paint([](P p, bool up, C c) { CALL(PaintCheckBox(c, {2, 2, 15, 15}, vxbsHot, cbsChecked)); })},
      {"PaintRadioButton",
       paint([](P p, bool up, C c) { CALL(PaintRadioButton(c, 3, 3, vxbsNormal, true, false, clYellow)); })},
      {"PaintLabelLine",
       paint([r](P p, bool up, C c) { CALL(PaintLabelLine(c, r, clBtnShadow, clBtnHighlight, false)); })},
      {"PaintHeader", paint([r](P p, bool up, C c) {
         CALL(PaintHeader(c, r, r, vxAllBorders, vxAllBorders, vxbsHot, taCenter, tlCenter, false, false, "Name",
                       nullptr, clBtnText, clBtnFace, nullptr));
       })},
      {"PaintHeaderStrip",
       paint([r](P p, bool up, C c) { CALL(PaintHeaderStrip(c, r, 3, clRed, TvxAreaViewParams{})); })},
      {"PaintGroupByArea", paint([r](P p, bool up, C c) { CALL(PaintGroupByArea(c, r, false, clAqua, nullptr)); })},
      {"PaintLayoutViewItem", paint([r](P p, bool up, C c) { CALL(PaintLayoutViewItem(c, r, vxbsHot)); })},
      {"PaintLayoutViewRecordCaption",
       paint([r](P p, bool up, C c) { CALL(PaintLayoutViewRecordCaption(c, r, 0, vxLayoutViewRecordSelected)); })},
      {"PaintLayoutViewRecord",
       paint([r](P p, bool up, C c) { CALL(PaintLayoutViewRecord(c, r, 1, 0, vxAllBorders)); })},
      {"PaintLayoutViewRecordExpandButton",
       paint([](P p, bool up, C c) { CALL(PaintLayoutViewRecordExpandButton(c, {2, 2, 15, 15}, vxbsNormal, true)); })},
      {"PaintFooterCell", paint([r](P p, bool up, C c) {
         CALL(PaintFooterCell(c, r, taRightJustify, tlCenter, false, "12", nullptr, clBtnText, clWindow, nullptr));
       })},
      {"PaintFooterFrame", paint([r](P p, bool up, C c) { CALL(PaintFooterFrame(c, r)); })},
      {"PaintFooterCellFrame", paint([r](P p, bool up, C c) { CALL(PaintFooterCellFrame(c, r)); })},
      {"PaintFooterBackground",
       paint([r](P p, bool up, C c) { CALL(PaintFooterBackground(c, r, TvxAreaViewParams{nullptr, clLime})); })},
      {"PaintFilterCloseButton",
        paint([](P p, bool up, C c) { CALL(PaintFilterCloseButton(c, {2, 2, 18, 18}, vxbsHot)); })},
      {"PaintFilterDropDownButton",
       paint([](P p, bool up, C c) { CALL(PaintFilterDropDownButton(c, {2, 2, 14, 18}, vxbsNormal, true)); })},
      {"PaintFilterPanel", paint([r](P p, bool up, C c) { CALL(PaintFilterPanel(c, r, false, clAqua, nullptr)); })},
      {"PaintFormClientArea", paint([r](P p, bool up, C c) { CALL(PaintFormClientArea(c, r)); })},
      {"PaintIndicatorCustomizationMark",
       paint([r](P p, bool up, C c) { CALL(PaintIndicatorCustomizationMark(c, r, clBtnText)); })},
      {"PaintIndicatorImage", paint([r](P p, bool up, C c) { CALL(PaintIndicatorImage(c, r, 2)); })},
      {"PaintIndicatorCell", paint([r](P p, bool up, C c) { CALL(PaintIndicatorCell(c, r, 1, clBtnFace, nullptr)); })},
      {"PaintScrollBarTrack", paint([r](P p, bool up, C c) { CALL(PaintScrollBarTrack(c, r, true)); })},
      {"PaintScrollBarElement", paint([](P p, bool up, C c) {
         CALL(PaintScrollBarElement(c, false, {2, 2, 18, 18}, sbpLineUp, vxbsHot));
         CALL(PaintScrollBarElement(c, true, {20, 2, 44, 18}, sbpThumbnail, vxbsNormal));
         CALL(PaintScrollBarElement(c, false, {2, 20, 18, 30}, sbpPageDown, vxbsNormal));
       })},
      {"PaintSizeGrip", paint([r](P p, bool up, C c) { CALL(PaintSizeGrip(c, r)); })},
      {"PaintTabCloseButton",
        paint([](P p, bool up, C c) { CALL(PaintTabCloseButton(c, {2, 2, 16, 16}, vxbsPressed)); })},
      {"PaintSchedulerDayCaption", paint([r](P p, bool up, C c) {
         TvxViewParams view;
         view.Color = clBtnFace;
         view.TextColor = clBtnText;
         CALL(PaintSchedulerDayCaption(c, r, "Monday", vxAllBorders, view, vxsaBoth, 5, nullptr));
       })},
      {"PaintSchedulerEventProgressBar", paint([r](P p, bool up, C c) {
         CALL(PaintSchedulerEventProgressBar(c, r, {6, 6, 20, 20}, TvxAreaViewParams{nullptr, clWhite}, false));
       })},
      {"PaintNavigatorPushButton", paint([r](P p, bool up, C c) { CALL(PaintNavigatorPushButton(c, r, vxbsHot)); })},
      {"PaintClockFace",
       paint([](P p, bool up, C c) { CALL(PaintClockFace(c, {0, 0, 32, 32}, EncodeTime(3, 40, 15, 0), clWindow)); })},
      {"PaintEditButton", paint([](P p, bool up, C c) {
         CALL(PaintEditButton(c, {2, 2, 18, 20}, 1, vxbsNormal, 1));
         CALL(PaintEditButton(c, {20, 2, 30, 20}, 3, vxbsHot, 0));
       })},
      {"PaintNavigatorButtonGlyph",
       paint([](P p, bool up, C c) {
         CALL(PaintNavigatorButtonGlyph(c, nullptr, 0, 2, {2, 2, 18, 18}, true, false));
       })},
      {"PaintProgressBarFrame", paint([r](P p, bool up, C c) { CALL(PaintProgressBarFrame(c, r, false)); })},
      {"PaintProgressBarChunk", paint([r](P p, bool up, C c) { CALL(PaintProgressBarChunk(c, r, true)); })},
      {"PaintGroupBoxContent", paint([r](P p, bool up, C c) { CALL(PaintGroupBoxContent(c, r, {6, 10, 38, 22})); })},
      {"PaintGroupBoxCaption", paint([r](P p, bool up, C c) { CALL(PaintGroupBoxCaption(c, r, vxgcpTop)); })},
      {"PaintGroupBoxBorder", paint([r](P p, bool up, C c) { CALL(PaintGroupBoxBorder(c, r, vxgcpTop, 13)); })},
      {"PaintGroupBoxExpandButton",
       paint([](P p, bool up, C c) { CALL(PaintGroupBoxExpandButton(c, {2, 2, 18, 14}, vxbsHot, true, raPlus90)); })},
      {"PaintGroupBoxFrame", paint([r](P p, bool up, C c) { CALL(PaintGroupBoxFrame(c, r, 0, vxgcpLeft, 11)); })},
      {"PaintGroupPanelBorder", paint([r](P p, bool up, C c) { CALL(PaintGroupPanelBorder(c, r)); })},
      {"PaintGroupPanel", paint([r](P p, bool up, C c) { CALL(PaintGroupPanel(c, r, true)); })},
      {"PaintTrackBarTrack", paint([r](P p, bool up, C c) {
         CALL(PaintTrackBarTrack(c, {4, 12, 44, 16}, {10, 12, 20, 16}, true, true, true, clDefault));
       })},
      {"PaintTrackBarThumb",
       paint([](P p, bool up, C c) {
         CALL(PaintTrackBarThumb(c, {4, 4, 15, 25}, vxbsHot, true, vxtsBox, clDefault));
       })},
      {"PaintSplitter", paint([r](P p, bool up, C c) { CALL(PaintSplitter(c, r, true, false, true)); })},
      {"PaintPrintPreviewBackground", paint([r](P p, bool up, C c) { CALL(PaintPrintPreviewBackground(c, r)); })},
      {"PaintPrintPreviewPage",
       paint([r](P p, bool up, C c) { CALL(PaintPrintPreviewPage(c, r, {8, 8, 30, 20}, true, true)); })},
  };
  return cases;
}
#undef CALL

class SkinFallback : public testing::Test {
 protected:
  void SetUp() override { vdAddRefOffice11Colors(); }
  void TearDown() override { vdReleaseOffice11Colors(); }
};

// With no painter data and with a skin info bound to no skin (every slot
// nil), each operation answers and draws exactly as the one it overrides.
TEST_F(SkinFallback, EveryOverrideAnswersAsTheParentWhenTheSkinLacksTheElement) {
  TTestSkinPainter painter;
  TvdSkinLookAndFeelPainterInfo empty(nullptr);
  for (TvdSkinLookAndFeelPainterInfo* data : {static_cast<TvdSkinLookAndFeelPainterInfo*>(nullptr), &empty}) {
    painter.Data = data;
    for (const auto& [name, answer] : FallbackCases()) EXPECT_EQ(answer(painter, false), answer(painter, true)) << name;
  }
}

TEST_F(SkinFallback, AnswersThatNeverFallBack) {
  TTestSkinPainter painter;
  EXPECT_EQ(painter.CalendarDayColor(), clNone);
  EXPECT_EQ(painter.EditButtonTextIndent(), 1);
  EXPECT_FALSE(painter.HeaderIsOpaque());
  EXPECT_FALSE(painter.FooterCellsPaintedFirst());
  EXPECT_TRUE(painter.IndicatorPaintsCellsFirst());
  EXPECT_EQ(painter.HeaderAreaColor(), painter.HeaderColor());
  EXPECT_EQ(painter.FooterSeparatorColor(), painter.GridLineColor());
  EXPECT_EQ(painter.GroupBoxCaptionTextColor(true, vxgcpNone), painter.GroupPanelTextColor());
  // Neighbours on the left and top take those borders off the parent's.
  EXPECT_EQ(painter.HeaderOwnBorders(vxAllBorders), Office11().HeaderOwnBorders(vxAllBorders) & ~3);
}

// --- Drawing with a skin ------------------------------------------------------------

// A skin made here: named elements with a solid colour and a text colour,
// bound as a painter's data.
struct TMadeSkin {
  explicit TMadeSkin(std::initializer_list<std::tuple<const char*, const char*, TColor, TColor>> elements) {
    auto skin = std::make_unique<TvdSkin>("Made");
    for (const auto& [group, name, color, textColor] : elements) {
      TvdSkinControlGroup* g = skin->GetGroupByName(group);
      if (!g) g = skin->AddGroup(group);
      TvdSkinElement* e = g->AddElement(name);
      if (color != clNone) e->SetColor(color);
      e->SetTextColor(textColor);
    }
    info = std::make_unique<TvdSkinLookAndFeelPainterInfo>(std::move(skin));
    painter.Data = info.get();
  }
  std::unique_ptr<TvdSkinLookAndFeelPainterInfo> info;
  TTestSkinPainter painter;
};

constexpr TColor kGreen = 0x00FF00, kRed = 0x0000FF, kBlue = 0xFF0000;

// The ellipsis: three squares of one pixel under 12 pixels of content,
// of two from 12 on, two pixels apart, centred.
TEST(SkinDrawing, EllipsisDots) {
  TMadeSkin made({{"Editors", "EditorButton", kGreen, kRed}, {"Editors", "CloseButton", kGreen, kRed}});
  for (const auto& [width, side] : {std::pair{11, 1}, std::pair{12, 2}, std::pair{20, 2}}) {
    SCOPED_TRACE(width);
    TPainterPicture picture(24, 16);
    made.painter.PaintEditButton(picture.Canvas(), {0, 0, width, 16}, 3, vxbsNormal, 1);
    EXPECT_EQ(picture.Count(RGB(255, 0, 0)), 3 * side * side);
    const int rowWidth = 3 * side + 4, left = (width - rowWidth) / 2, top = (16 - side) / 2;
    for (int dot = 0; dot < 3; ++dot)
      EXPECT_EQ(picture.At(left + dot * (side + 2), top), RGB(255, 0, 0)) << dot;
    EXPECT_EQ(picture.At(left + side, top), RGB(0, 255, 0));
  }
}

TEST(SkinDrawing, ClockHandsPointAtTheirTime) {
  const TRect r(0, 0, 101, 101);
  const TvdSkinClockHands noon = vdSkinClockHands(r, 12, 0, 0);
  // Radii 48.5: tips at 0.75, 0.85 and 0.9 of them, straight up.
  EXPECT_EQ(noon.Hour[0], TPoint(50, 14));
  EXPECT_EQ(noon.Minute[0], TPoint(50, 9));
  EXPECT_EQ(noon.Second[1], TPoint(50, 6));
  EXPECT_EQ(noon.Second[0], TPoint(50, 50));
  // The backs reach 0.15 and 0.2 down; the sides stand half the width out.
  EXPECT_EQ(noon.Hour[2], TPoint(50, 57));
  EXPECT_EQ(noon.Minute[2], TPoint(50, 60));
  EXPECT_EQ(noon.Hour[1], TPoint(54, 50));  // 4.5 rounds to even
  EXPECT_EQ(noon.Hour[3], TPoint(46, 50));
  EXPECT_EQ(vdSkinClockHands(r, 15, 15, 0).Minute[0], TPoint(91, 50));  // 50 + 41.225, right
  EXPECT_EQ(vdSkinClockHands(r, 0, 0, 45).Second[1], TPoint(6, 50));    // 50 - 43.65, left

  // Drawn: the hands in the face's text colour, over the face.
  TMadeSkin made({{"Editors", "ClockFace", kGreen, kRed}, {"Editors", "ClockGlass", clNone, clNone}});
  TPainterPicture picture(101, 101);
  made.painter.PaintClockFace(picture.Canvas(), r, EncodeTime(12, 0, 0, 0), clWhite);
  EXPECT_EQ(picture.At(50, 20), RGB(255, 0, 0));
  EXPECT_EQ(picture.At(50, 80), RGB(0, 255, 0));
  EXPECT_EQ(picture.At(80, 50), RGB(0, 255, 0));
}

TEST(SkinDrawing, GreyingKeepsAlphaAndWeighsIt) {
  EXPECT_EQ(vdSkinGreyedPixel(0xFF000000), 0xFF666666u);  // 2 * 255 / 5 = 102
  EXPECT_EQ(vdSkinGreyedPixel(0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(vdSkinGreyedPixel(0x80102030), 0x80464646u);  // (256 + 48 + 32 + 16) / 5 = 70
  EXPECT_EQ(vdSkinGreyedPixel(0x00000000), 0x00000000u);
}

TEST(SkinDrawing, StatesMapToSkinStates) {
  EXPECT_EQ(vdSkinElementStateOf(vxbsDefault), esActive);
  EXPECT_EQ(vdSkinElementStateOf(vxbsNormal), esNormal);
  EXPECT_EQ(vdSkinElementStateOf(vxbsHot), esHot);
  EXPECT_EQ(vdSkinElementStateOf(vxbsPressed), esPressed);
  EXPECT_EQ(vdSkinElementStateOf(vxbsDisabled), esDisabled);
}

// Colours from a skin: present, valid, and the fallbacks between kinds.
TEST(SkinDrawing, EditorColorsOfTheSkin) {
  auto skin = std::make_unique<TvdSkin>("Colours");
  TvdSkinControlGroup* editors = skin->AddGroup("Editors");
  editors->Properties().AddColor("BackgroundColor", kBlue);
  editors->Properties().AddColor("TextDisabledColor", clNone);
  TTestSkinPainter painter;
  TvdSkinLookAndFeelPainterInfo info(std::move(skin));
  painter.Data = &info;
  EXPECT_EQ(painter.EditorBackgroundColor(eckReadOnly), kBlue);
  EXPECT_EQ(painter.EditorBackgroundColor(eckInactive), kBlue);
  EXPECT_EQ(painter.EditorBackgroundColor(eckDisabled), Office11().EditorBackgroundColor(eckDisabled));
  EXPECT_EQ(painter.EditorTextColor(eckDisabled), Office11().EditorTextColor(eckDisabled));
}

// With the Black skin, the shipped pictures: the disabled navigator glyph
// is grey, and a push button is the skin's, not the Office 2003 one.
TEST_F(SkinStartUp, BlackDrawsItsPictures) {
  if (!vdGpIsLibraryAvailable()) GTEST_SKIP() << "GDI+ is switched off in this run";
  const TvdBlackPainter& black = TvdBlackPainter::Painter();
  TPainterPicture enabled(24, 24), disabled(24, 24);
  black.PaintNavigatorButtonGlyph(enabled.Canvas(), nullptr, 0, 1, {2, 2, 22, 22}, true, false);
  black.PaintNavigatorButtonGlyph(disabled.Canvas(), nullptr, 0, 1, {2, 2, 22, 22}, false, false);
  EXPECT_FALSE(enabled.SameAs(disabled));
  int drawn = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const COLORREF c = disabled.At(x, y);
      EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << x << ',' << y;
      drawn += c != RGB(255, 255, 255);
    }
  EXPECT_GT(drawn, 0);

  // The scroll bar asks with True for a vertical bar: the vertical thumb's
  // height.
  TvdSkinCommonSlots& common = black.GetPainterData()->Common;
  EXPECT_EQ(black.ScrollBarMinThumbLength(true), common.ScrollThumbVert->GetImageSize().cy);
  EXPECT_EQ(black.ScrollBarMinThumbLength(false), common.ScrollThumbHorz->GetImageSize().cx);

  // A turned group expand button is the upright one turned.
  TPainterPicture upright(20, 14), turned(14, 20);
  black.PaintGroupBoxExpandButton(upright.Canvas(), {0, 0, 20, 14}, vxbsHot, true, raNone);
  black.PaintGroupBoxExpandButton(turned.Canvas(), {0, 0, 14, 20}, vxbsHot, true, raPlus90);
  EXPECT_GT(turned.Count(RGB(255, 255, 255)), 0);
  EXPECT_EQ(turned.Count(RGB(255, 255, 255)), upright.Count(RGB(255, 255, 255)));
  EXPECT_LT(turned.Count(RGB(255, 255, 255)), 14 * 20 / 2);

  // Repaints blend the picture of the button kept from its first drawing:
  // the same as the element draws itself, state by state.
  TvdSkinElement* button = black.GetPainterData()->Common.Button;
  for (TvxButtonState state : {vxbsHot, vxbsNormal, vxbsHot}) {
    TPainterPicture direct(80, 24), kept(80, 24);
    button->Draw(direct.DC(), {0, 0, 80, 24}, 0, vdSkinElementStateOf(state));
    black.PaintPushButton(kept.Canvas(), {0, 0, 80, 24}, "", state, true, clDefault, clDefault, false);
    int differing = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 80; ++x) {
        const COLORREF a = direct.At(x, y), b = kept.At(x, y);
        differing += std::abs(GetRValue(a) - GetRValue(b)) > 2 || std::abs(GetGValue(a) - GetGValue(b)) > 2 ||
               std::abs(GetBValue(a) - GetBValue(b)) > 2;
      }
    EXPECT_EQ(differing, 0) << state;
  }

  vdAddRefOffice11Colors();
  TPainterPicture skinned(80, 24), plain(80, 24);
  black.PaintPushButton(skinned.Canvas(), {0, 0, 80, 24}, "OK", vxbsNormal, true, clDefault, clDefault, false);
  Office11().PaintPushButton(plain.Canvas(), {0, 0, 80, 24}, "OK", vxbsNormal, true, clDefault, clDefault, false);
  vdReleaseOffice11Colors();
  EXPECT_FALSE(skinned.SameAs(plain));
}

}  // namespace
