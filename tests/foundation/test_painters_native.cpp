// The native-theme painter, in child processes: with visual styles off
// every operation must answer and draw exactly as the standard painter does,
// apart from the answers it gives whatever the theme; with Wine's light
// theme on it draws each themed family.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "PainterPicture.h"
#include "LightTheme.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "foundation/vxModules.h"

namespace {

const auto& Native() { return TvxWinXPLookAndFeelPainter::Painter(); }
const auto& Standard() { return TvxStandardLookAndFeelPainter::Painter(); }

using Drawing = std::function<void(const TvxCustomLookAndFeelPainter& p, TvxCanvas* canvas)>;

struct DrawCase {
  const char* name;
  Drawing draw;
};

const TRect kBox(4, 4, 40, 28);
const TvxButtonState kStates[] = {vxbsDefault, vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled};

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
    cases.push_back({"PaintCheckBoxFrame", [s](auto& p, TvxCanvas* c) { p.PaintCheckBoxFrame(c, kBox, s); }});
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
  }
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
  }
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
  // Each family draws something on white (the check box's frame is part of
  // the themed check mark).
  for (const DrawCase& c : DrawCases()) {
    SCOPED_TRACE(c.name);
    if (std::strcmp(c.name, "PaintCheckBoxFrame") == 0) continue;
    TPainterPicture picture(64, 40);
    c.draw(Native(), picture.canvas.get());
    EXPECT_LT(picture.Count(RGB(255, 255, 255)), 64 * 40);
  }
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
