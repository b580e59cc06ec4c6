// The native-theme painter, in child processes: with visual styles off
// every operation must answer and draw exactly as the standard painter does,
// apart from the answers it gives whatever the theme; with Wine's light
// theme on it draws each themed family.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "LightTheme.h"
#include "PainterPicture.h"
#include "PixelBounds.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "foundation/vxModules.h"

namespace {

const auto& Native() { return TvxWinXPLookAndFeelPainter::Painter(); }
const auto& Standard() { return TvxStandardLookAndFeelPainter::Painter(); }

using Drawing = std::function<void(const TvxCustomLookAndFeelPainter& p, TvxCanvas* canvas)>;

// What a case draws on white while a theme is on: something, nothing (the
// theme leaves that part to others), or either (a part the theme may leave
// transparent).
enum ThemedLook { kDraws, kBlank, kMayBeBlank };

struct DrawCase {
  const char* name;
  Drawing draw;
  ThemedLook themed = kDraws;
};

const TRect kBox(4, 4, 40, 28);
const TvxButtonState kStates[] = {vxbsDefault, vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled};

TFont* CaptionFont() {
  static TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-11);
  return &font;
}

const TvxAreaViewParams kWindowArea{nullptr, clWindow};

std::vector<DrawCase> DrawCases() {
  std::vector<DrawCase> cases;
  for (TvxButtonState s : kStates) {
    cases.push_back({"PaintArrowButton", [s](auto& p, TvxCanvas* c) { p.PaintArrowButton(c, kBox, s, adUp, true); }});
    cases.push_back({"PaintArrowButtonFace", [s](auto& p, TvxCanvas* c) { p.PaintArrowButtonFace(c, kBox, s); }});
    // Without a caption: its place follows the fixed text indent and shift.
    cases.push_back({"PaintPushButton", [s](auto& p, TvxCanvas* c) {
                       p.PaintPushButton(c, kBox, "", s, true, clDefault, clDefault, false);
                     }});
    cases.push_back({"PaintGroupToggleButton",
                     [s](auto& p, TvxCanvas* c) { p.PaintGroupToggleButton(c, kBox, s == vxbsHot, s); }});
    for (bool checked : {false, true}) {
      cases.push_back(
          {"PaintCheckMark", [s, checked](auto& p, TvxCanvas* c) { p.PaintCheckMark(c, kBox, s, checked, clDefault); }});
      cases.push_back({"PaintRadioButton", [s, checked](auto& p, TvxCanvas* c) {
                         p.PaintRadioButton(c, 5, 6, s, checked, false, clDefault);
                       }});
    }
    // The themed check mark draws the box's frame itself.
    cases.push_back({"PaintCheckBoxFrame", [s](auto& p, TvxCanvas* c) { p.PaintCheckBoxFrame(c, kBox, s); }, kBlank});
    cases.push_back({"PaintFilterCloseButton", [s](auto& p, TvxCanvas* c) { p.PaintFilterCloseButton(c, kBox, s); }});
    cases.push_back({"PaintFilterDropDownButton",
                     [s](auto& p, TvxCanvas* c) { p.PaintFilterDropDownButton(c, kBox, s, false); }});
    for (int part = sbpLineUp; part <= sbpPageDown; ++part)
      for (bool horizontal : {false, true})
        cases.push_back({"PaintScrollBarElement", [s, part, horizontal](auto& p, TvxCanvas* c) {
                           p.PaintScrollBarElement(c, horizontal, kBox, TvxScrollBarPart(part), s);
                         }});
    for (int shape : {vxtsPointedTop, vxtsPointedBottom, vxtsBox})
      cases.push_back({"PaintTrackBarThumb", [s, shape](auto& p, TvxCanvas* c) {
                         p.PaintTrackBarThumb(c, TRect(4, 4, 15, 24), s, true, shape, clDefault);
                       }});
    for (bool flag : {false, true}) {
      cases.push_back({"PaintSchedulerNavigationButton", [s, flag](auto& p, TvxCanvas* c) {
                         p.PaintSchedulerNavigationButton(c, TRect(4, 4, 24, 36), TRect(10, 16, 15, 25), flag, s);
                       }});
      cases.push_back({"PaintHeader", [s, flag](auto& p, TvxCanvas* c) {
                         p.PaintHeader(c, kBox, kBox, 0, vxAllBorders, s, taCenter, tlCenter, false, false, "Nom",
                                       CaptionFont(), clDefault, clBtnFace, nullptr, flag);
                       }});
      cases.push_back({"PaintTab", [s, flag](auto& p, TvxCanvas* c) {
                         p.PaintTab(c, kBox, vxAllBorders, "Tab", s, flag, CaptionFont(), clDefault, clBtnFace, false);
                       }});
    }
    cases.push_back({"PaintHeaderSection", [s](auto& p, TvxCanvas* c) {
                       p.PaintHeaderSection(c, kBox, kBox, 0, vxAllBorders, s, taLeftJustify, tlCenter, false, true,
                                            "Section", CaptionFont(), clBtnText, clBtnFace);
                     }});
    // A disabled tool button may be transparent.
    cases.push_back({"PaintNavigatorPushButton", [s](auto& p, TvxCanvas* c) { p.PaintNavigatorPushButton(c, kBox, s); },
                     s == vxbsDisabled ? kMayBeBlank : kDraws});
  }
  for (int recordState = 0; recordState < 4; ++recordState)
    for (int side : {0, 1})
      cases.push_back({"PaintLayoutViewRecordCaption", [recordState, side](auto& p, TvxCanvas* c) {
                         p.PaintLayoutViewRecordCaption(c, kBox, side, recordState);
                       }});
  for (int kind = 0; kind <= 6; ++kind)
    cases.push_back({"PaintIndicatorCell", [kind](auto& p, TvxCanvas* c) {
                       p.PaintIndicatorCell(c, TRect(4, 4, 20, 24), kind, clBtnFace, nullptr);
                     }});
  // Neighbours: none, left, right, both.
  for (TvxBorders neighbours : {0, int(vxpaint::Left), int(vxpaint::Right), vxpaint::Left | vxpaint::Right})
    cases.push_back({"PaintSchedulerDayCaption", [neighbours](auto& p, TvxCanvas* c) {
                       TvxViewParams params;
                       params.Color = clBtnFace;
                       params.Font = CaptionFont();
                       params.TextColor = clBtnText;
                       p.PaintSchedulerDayCaption(c, kBox, "Lundi", neighbours, params, vxsaBoth, 4, nullptr);
                     }});
  for (bool flag : {false, true}) {
    cases.push_back({"PaintSeparator", [flag](auto& p, TvxCanvas* c) { p.PaintSeparator(c, kBox, flag); }});
    cases.push_back({"PaintExpandButton", [flag](auto& p, TvxCanvas* c) {
                       p.PaintExpandButton(c, TRect(4, 4, 13, 13), flag, clWindow);
                     }});
    cases.push_back({"PaintSmallExpandButton", [flag](auto& p, TvxCanvas* c) {
                       p.PaintSmallExpandButton(c, TRect(4, 4, 11, 11), flag, clBtnShadow, clWindow);
                     }});
    cases.push_back({"PaintGroupBoxFrame", [flag](auto& p, TvxCanvas* c) {
                       p.PaintGroupBoxFrame(c, kBox, flag ? 1 : 2, vxgcpTop, vxAllBorders);
                     }});
    cases.push_back({"PaintTrackBarTrack", [flag](auto& p, TvxCanvas* c) {
                       p.PaintTrackBarTrack(c, kBox, TRect(10, 10, 20, 14), flag, flag, flag, clDefault);
                     }});
    cases.push_back({"PaintSortMark", [flag](auto& p, TvxCanvas* c) { p.PaintSortMark(c, kBox, flag); }});
    cases.push_back({"PaintTabStripBackground", [flag](auto& p, TvxCanvas* c) {
                       p.PaintTabStripBackground(c, kBox, flag ? vxpaint::Bottom : vxpaint::Right, flag);
                     }});
    cases.push_back({"PaintTabEdge",
                     [flag](auto& p, TvxCanvas* c) { p.PaintTabEdge(c, kBox, bLeft, vxAllBorders, flag); }, kBlank});
    cases.push_back({"PaintSchedulerEventProgressBar", [flag](auto& p, TvxCanvas* c) {
                       p.PaintSchedulerEventProgressBar(c, kBox, TRect(6, 6, 20, 26), kWindowArea, flag);
                     }});
    cases.push_back({"PaintSchedulerSplitterEdge", [flag](auto& p, TvxCanvas* c) {
                       p.PaintSchedulerSplitterEdge(c, kBox, kWindowArea, flag);
                     }});
    cases.push_back({"PaintSplitter",
                     [flag](auto& p, TvxCanvas* c) { p.PaintSplitter(c, kBox, flag, false, flag); }, kBlank});
  }
  cases.push_back({"PaintFooterCellWithFrame", [](auto& p, TvxCanvas* c) {
                     p.PaintFooterCellWithFrame(c, kBox, taRightJustify, tlCenter, false, "12", CaptionFont(),
                                                clBtnText, clWindow, nullptr);
                   }});
  cases.push_back({"PaintHeaderPanelFiller", [](auto& p, TvxCanvas* c) {
                     TRect r = kBox;
                     p.PaintHeaderPanelFiller(c, r);
                   }});
  // Without a control the parent's background has nothing to draw.
  for (TColor color : {clRed, clDefault})
    cases.push_back({"PaintGroupBoxBackground",
                     [color](auto& p, TvxCanvas* c) { p.PaintGroupBoxBackground(c, nullptr, kBox, color, clNone); },
                     color == clDefault ? kBlank : kDraws});
  cases.push_back({"PaintBorder", [](auto& p, TvxCanvas* c) { p.PaintBorder(c, kBox); }});
  cases.push_back({"PaintFooterFrame", [](auto& p, TvxCanvas* c) { p.PaintFooterFrame(c, kBox); }});
  cases.push_back({"PaintSizeGrip", [](auto& p, TvxCanvas* c) { p.PaintSizeGrip(c, kBox); }});
  return cases;
}

bool SamePixels(TPainterPicture& a, TPainterPicture& b) {
  for (int y = 0; y < a.bitmap.Height(); ++y)
    for (int x = 0; x < a.bitmap.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

TEST(NativePainterChild, WithoutThemeAnswersAsTheStandardPainter) {
  if (!std::getenv("QE_THEME_CHILD") || ThemeChildHasVisualStyles()) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  ASSERT_FALSE(vdThemeClassesUsable(0));
  // Answers given whatever the theme.
  EXPECT_EQ(Native().StyleId(), lfsNative);
  EXPECT_EQ(Native().ButtonTextIndent(), 2);
  EXPECT_EQ(Native().ButtonPressedTextShift(), 0);
  EXPECT_TRUE(Native().CanHotTrackButtons());
  EXPECT_FALSE(Native().ExpandButtonPaintedFirst());
  EXPECT_FALSE(Native().FooterCellsPaintedFirst());

  EXPECT_EQ(Native().RedrawsOnResize(), Standard().RedrawsOnResize());
  EXPECT_EQ(Native().BorderWidth(), Standard().BorderWidth());
  for (TvxButtonState s : kStates) {
    SCOPED_TRACE(int(s));
    EXPECT_EQ(Native().ButtonBorderWidth(s), Standard().ButtonBorderWidth(s));
    EXPECT_EQ(Native().ButtonFaceColor(s), Standard().ButtonFaceColor(s));
    EXPECT_EQ(Native().ButtonGlyphColor(s, clRed), Standard().ButtonGlyphColor(s, clRed));
  }
  TPainterPicture picture(64, 40);
  EXPECT_EQ(Native().ButtonFocusBounds(picture.canvas.get(), kBox),
            Standard().ButtonFocusBounds(picture.canvas.get(), kBox));
  EXPECT_EQ(Native().ExpandButtonExtent(), Standard().ExpandButtonExtent());
  EXPECT_EQ(Native().SmallExpandButtonExtent(), Standard().SmallExpandButtonExtent());
  EXPECT_EQ(Native().GroupToggleButtonExtent(), Standard().GroupToggleButtonExtent());
  EXPECT_EQ(Native().CheckBoxFrameWidth(), Standard().CheckBoxFrameWidth());
  EXPECT_EQ(Native().CheckBoxGlyphExtent(), Standard().CheckBoxGlyphExtent());
  EXPECT_EQ(Native().RadioButtonExtent(), Standard().RadioButtonExtent());
  EXPECT_EQ(Native().HeaderBorderWidth(), Standard().HeaderBorderWidth());
  EXPECT_EQ(Native().FooterBorderWidth(), Standard().FooterBorderWidth());
  EXPECT_EQ(Native().FooterCellBorderWidth(), Standard().FooterCellBorderWidth());
  EXPECT_EQ(Native().FooterCellSpacing(), Standard().FooterCellSpacing());
  EXPECT_EQ(Native().FilterActivateButtonExtent(), Standard().FilterActivateButtonExtent());
  EXPECT_EQ(Native().FilterCloseButtonExtent(), Standard().FilterCloseButtonExtent());
  for (bool horizontal : {false, true})
    EXPECT_EQ(Native().ScrollBarMinThumbLength(horizontal), Standard().ScrollBarMinThumbLength(horizontal));
  EXPECT_EQ(Native().SizeGripExtent(), Standard().SizeGripExtent());
  EXPECT_EQ(Native().TabCloseButtonExtent(), Standard().TabCloseButtonExtent());
  for (bool enabled : {false, true})
    EXPECT_EQ(Native().GroupBoxCaptionTextColor(enabled, vxgcpTop),
              Standard().GroupBoxCaptionTextColor(enabled, vxgcpTop));
  EXPECT_EQ(Native().SchedulerFrameColor(), Standard().SchedulerFrameColor());
  EXPECT_EQ(Native().SchedulerAccentColor(), Standard().SchedulerAccentColor());
  EXPECT_EQ(Native().SchedulerEventProgressMargins(), Standard().SchedulerEventProgressMargins());
  for (auto [count, index] : {std::pair{1, 0}, {3, 0}, {3, 1}, {3, 2}}) {
    EXPECT_EQ(Native().GroupedButtonContentBounds(kBox, count, index),
              Standard().GroupedButtonContentBounds(kBox, count, index));
    EXPECT_EQ(Native().ButtonGroupBorderWidths(count, index), Standard().ButtonGroupBorderWidths(count, index));
  }
  for (TPoint point : {TPoint(4, 4), TPoint(20, 16), TPoint(39, 27), TPoint(40, 28), TPoint(3, 10)})
    EXPECT_EQ(Native().IsPointOnGroupToggleButton(kBox, point), Standard().IsPointOnGroupToggleButton(kBox, point));
  for (TvxButtonState s : kStates) {
    EXPECT_EQ(Native().HeaderSectionBorderWidth(s), Standard().HeaderSectionBorderWidth(s));
    EXPECT_EQ(Native().HeaderSectionContentBounds(kBox, s), Standard().HeaderSectionContentBounds(kBox, s));
  }
  EXPECT_EQ(Native().HeaderExtraIndent(), Standard().HeaderExtraIndent());
  EXPECT_EQ(Native().SortMarkExtent(), Standard().SortMarkExtent());
  for (bool vertical : {false, true}) {
    EXPECT_EQ(Native().CanPaintTab(vertical), Standard().CanPaintTab(vertical));
    EXPECT_EQ(Native().HotTracksTabs(vertical), Standard().HotTracksTabs(vertical));
    EXPECT_EQ(Native().TabEdgeWidth(vertical), Standard().TabEdgeWidth(vertical));
  }
  for (bool horizontal : {false, true})
    for (int shape : {vxtsPointedTop, vxtsPointedBottom, vxtsBox}) {
      TRect native = kBox, standard = kBox;
      Native().CorrectTrackBarThumbBounds(picture.canvas.get(), native, horizontal, shape);
      Standard().CorrectTrackBarThumbBounds(picture.canvas.get(), standard, horizontal, shape);
      EXPECT_EQ(native, standard);
    }

  for (const DrawCase& c : DrawCases()) {
    SCOPED_TRACE(c.name);
    TPainterPicture native(64, 40), standard(64, 40);
    c.draw(Native(), native.canvas.get());
    c.draw(Standard(), standard.canvas.get());
    EXPECT_TRUE(SamePixels(native, standard));
  }
}

TEST(NativePainterChild, DrawsEveryThemedFamily) {
  if (!ThemeChildHasVisualStyles()) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  ASSERT_TRUE(vdThemeClassesUsable(vdThemeClassBit(tcButton) | vdThemeClassBit(tcScrollBar)));
  // Themed answers come from the theme, not the fallbacks.
  EXPECT_EQ(Native().BorderWidth(), 1);
  EXPECT_EQ(Native().CheckBoxFrameWidth(), 0);
  const TSize radio = Native().RadioButtonExtent();
  EXPECT_GT(radio.cx, 0);
  EXPECT_GT(radio.cy, 0);
  EXPECT_GE(Native().ScrollBarMinThumbLength(false), 8);
  // Each family draws something on white, and the parts the theme leaves
  // to others draw nothing.
  for (const DrawCase& c : DrawCases()) {
    SCOPED_TRACE(c.name);
    TPainterPicture picture(64, 40);
    c.draw(Native(), picture.canvas.get());
    const int white = picture.Count(RGB(255, 255, 255));
    if (c.themed == kBlank) {
      EXPECT_EQ(white, 64 * 40);
    } else if (c.themed == kDraws) {
      EXPECT_LT(white, 64 * 40);
    }
  }
}

TEST(NativePainterChild, ThemedHeadersTabsAndBarsMeasureByTheTheme) {
  if (!ThemeChildHasVisualStyles()) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  ASSERT_TRUE(vdThemeClassesUsable(vdThemeClassBit(tcHeader) | vdThemeClassBit(tcTab)));
  EXPECT_EQ(Native().SchedulerAccentColor(), TColor(0xD5FFFF));
  EXPECT_EQ(Native().SchedulerEventProgressMargins(), TRect(3, 3, 3, 3));
  EXPECT_EQ(Native().SortMarkExtent(), TPoint(7, 8));
  EXPECT_EQ(Native().HeaderExtraIndent(), 1);
  // A themed section has one border width, pressed or not.
  const int border = Native().HeaderBorderWidth();
  for (TvxButtonState s : kStates) {
    EXPECT_EQ(Native().HeaderSectionBorderWidth(s), border);
    EXPECT_EQ(Native().HeaderSectionContentBounds(kBox, s), vxInflatedRect(kBox, -border, -border));
  }
  for (bool vertical : {false, true}) {
    EXPECT_TRUE(Native().CanPaintTab(vertical));
    EXPECT_TRUE(Native().HotTracksTabs(vertical));
    EXPECT_EQ(Native().TabEdgeWidth(vertical), 1);
  }
  EXPECT_TRUE(Native().IsPointOnGroupToggleButton(kBox, TPoint(22, 16)));
  EXPECT_FALSE(Native().IsPointOnGroupToggleButton(kBox, TPoint(kBox.Right + 2, kBox.Top)));
  // The thumb keeps its centre.
  TPainterPicture picture(64, 40);
  const TRect track(10, 0, 30, 40);
  TRect thumb = track;
  Native().CorrectTrackBarThumbBounds(picture.canvas.get(), thumb, true, vxtsBox);
  EXPECT_FALSE(thumb.IsEmpty());
  EXPECT_LE(std::abs((thumb.Left + thumb.Right) - (track.Left + track.Right)), 1);
  EXPECT_LE(std::abs((thumb.Top + thumb.Bottom) - (track.Top + track.Bottom)), 1);
}

// A vertical tab is the horizontal one with rows and columns swapped.
TEST(NativePainterChild, VerticalTabIsTheHorizontalOneAcross) {
  if (!ThemeChildHasVisualStyles()) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  constexpr int kLong = 40, kShort = 22;
  for (TvxBorders borders : {int(vxAllBorders), vxpaint::Left | vxpaint::Top | vxpaint::Right})
    for (TvxButtonState s : {vxbsNormal, vxbsPressed}) {
      TPainterPicture flat(kLong, kShort), across(kShort, kLong);
      Native().PaintTab(flat.canvas.get(), TRect(0, 0, kLong, kShort), borders, "", s, false, nullptr, clDefault,
                        clDefault, false);
      const TvxBorders swapped = ((borders & vxpaint::Left) ? vxpaint::Top : 0) |
                                 ((borders & vxpaint::Top) ? vxpaint::Left : 0) |
                                 ((borders & vxpaint::Right) ? vxpaint::Bottom : 0) |
                                 ((borders & vxpaint::Bottom) ? vxpaint::Right : 0);
      Native().PaintTab(across.canvas.get(), TRect(0, 0, kShort, kLong), swapped, "", s, true, nullptr, clDefault,
                        clDefault, false);
      int differing = 0;
      for (int y = 0; y < kShort; ++y)
        for (int x = 0; x < kLong; ++x) differing += flat.At(x, y) != across.At(y, x);
      EXPECT_EQ(differing, 0);
      EXPECT_LT(flat.Count(RGB(255, 255, 255)), kLong * kShort);
    }
}

// A pressed themed header moves its text one pixel right and down, and
// nothing inverts it.
TEST(NativePainterChild, PressedHeaderShiftsItsText) {
  if (!ThemeChildHasVisualStyles()) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  TRect textAt[2];
  for (int pressed = 0; pressed < 2; ++pressed) {
    TPainterPicture bare(64, 40), captioned(64, 40);
    for (TPainterPicture* picture : {&bare, &captioned})
      Native().PaintHeader(picture->canvas.get(), kBox, kBox, 0, vxAllBorders, pressed ? vxbsPressed : vxbsNormal,
                           taCenter, tlCenter, false, false, picture == &bare ? "" : "Nom", CaptionFont(), clDefault,
                           clBtnFace, nullptr);
    textAt[pressed] = PixelBounds(64, 40, [&](int x, int y) { return bare.At(x, y) != captioned.At(x, y); });
    ASSERT_FALSE(textAt[pressed].IsEmpty());
    Native().PaintHeaderPressedLook(bare.canvas.get(), kBox);
    TPainterPicture again(64, 40);
    Native().PaintHeader(again.canvas.get(), kBox, kBox, 0, vxAllBorders, pressed ? vxbsPressed : vxbsNormal,
                         taCenter, tlCenter, false, false, "", CaptionFont(), clDefault, clBtnFace, nullptr);
    EXPECT_TRUE(bare.SameAs(again));
  }
  EXPECT_EQ(textAt[1], vxShiftedRect(textAt[0], 1, 1));
}

// The Office 2003 painter draws scroll bars, navigator buttons and group
// boxes as the native painter while a theme is active, and in its own
// classic look otherwise.
TEST(NativePainterChild, Office11FollowsTheTheme) {
  if (!std::getenv("QE_THEME_CHILD")) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  const bool themed = ThemeChildHasVisualStyles();
  ASSERT_EQ(vdThemeClassesUsable(vdThemeClassBit(tcButton) | vdThemeClassBit(tcScrollBar)), themed);
  const auto& office = TvxOffice11LookAndFeelPainter::Painter();
  const auto& ultraFlat = TvxUltraFlatLookAndFeelPainter::Painter();
  const TvxCustomLookAndFeelPainter& scrollBarLook = themed ? static_cast<const TvxCustomLookAndFeelPainter&>(Native())
                                                            : Standard();
  const TvxCustomLookAndFeelPainter& groupBoxLook = themed ? static_cast<const TvxCustomLookAndFeelPainter&>(Native())
                                                           : ultraFlat;
  std::vector<DrawCase> cases;
  for (TvxButtonState s : kStates) {
    for (TvxScrollBarPart part : {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp})
      cases.push_back({"PaintScrollBarElement", [s, part](auto& p, TvxCanvas* c) {
                         p.PaintScrollBarElement(c, false, kBox, part, s);
                       }});
    cases.push_back(
        {"PaintNavigatorPushButton", [s](auto& p, TvxCanvas* c) { p.PaintNavigatorPushButton(c, kBox, s); }});
  }
  for (int state : {0, 1})
    cases.push_back({"PaintGroupBoxFrame", [state](auto& p, TvxCanvas* c) {
                       p.PaintGroupBoxFrame(c, kBox, state, vxgcpTop, vxAllBorders);
                     }});
  for (const DrawCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool groupBox = std::strcmp(c.name, "PaintGroupBoxFrame") == 0;
    const bool navigator = std::strcmp(c.name, "PaintNavigatorPushButton") == 0;
    const TvxCustomLookAndFeelPainter& expected = navigator ? Native() : groupBox ? groupBoxLook : scrollBarLook;
    TPainterPicture drawn(64, 40), wanted(64, 40);
    c.draw(office, drawn.canvas.get());
    c.draw(expected, wanted.canvas.get());
    EXPECT_TRUE(SamePixels(drawn, wanted));
  }
  // The themed group box is not the classic one drawn by chance.
  TPainterPicture themedBox(64, 40), classicBox(64, 40);
  office.PaintGroupBoxFrame(themedBox.canvas.get(), kBox, 0, vxgcpTop, vxAllBorders);
  ultraFlat.PaintGroupBoxFrame(classicBox.canvas.get(), kBox, 0, vxgcpTop, vxAllBorders);
  EXPECT_EQ(SamePixels(themedBox, classicBox), !themed);

  for (bool enabled : {false, true})
    EXPECT_EQ(office.GroupBoxCaptionTextColor(enabled, vxgcpTop),
              themed ? Native().GroupBoxCaptionTextColor(enabled, vxgcpTop)
                     : ultraFlat.TvxCustomLookAndFeelPainter::GroupBoxCaptionTextColor(enabled, vxgcpTop));
}

TEST(NativePainter, WithoutThemeAnswersAsTheStandardPainter) {
  EXPECT_EQ(RunWithVisualStyles("NativePainterChild.*", false), 0);
}

TEST(NativePainter, DrawsEveryThemedFamily) { EXPECT_EQ(RunWithVisualStyles("NativePainterChild.*", true), 0); }

}  // namespace
