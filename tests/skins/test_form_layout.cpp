// The skinned form's non-client geometry with injected metrics: borders,
// caption buttons, caption text, client offsets and hit-testing for each
// border style, on the skin's own frame and on the system's.
#include <gtest/gtest.h>

#include "skins/vdSkinsCore.h"
#include "skins/vdSkinsFormLayout.h"

namespace {

using namespace vdSkinFormStyle;

// Styles the platform gives forms of each border style.
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kSingle = Caption | SysMenu | MinimizeBox | MaximizeBox | Border;
constexpr uint32_t kSizeable = Caption | SysMenu | ThickFrame | MinimizeBox | MaximizeBox;
constexpr uint32_t kDialog = kPopup | Caption | SysMenu;

TvdSkinFormElementMeasures Element(TSize image, TSize minSize = {}, TRect offset = {}, bool noResize = false) {
  return {true, image, minSize, offset, noResize};
}

// A skin whose frame sides differ, so that a side taken for another shows.
TvdSkinFormSkinMeasures NormalSet() {
  TvdSkinFormSkinMeasures s;
  s.Frames[fsLeft] = Element({3, 1});
  s.Frames[fsCaption] = Element({10, 26}, {}, {4, 3, 6, 2});
  s.Frames[fsRight] = Element({5, 1});
  s.Frames[fsBottom] = Element({1, 6});
  s.Buttons[fitHelp] = Element({18, 18}, {18, 18});
  s.Buttons[fitMinimize] = Element({18, 18}, {18, 18});
  s.Buttons[fitMaximize] = Element({18, 18}, {18, 18});
  s.Buttons[fitRestore] = Element({18, 18}, {18, 18});
  s.Buttons[fitClose] = Element({24, 18}, {24, 18});
  s.FrameSizes = {3, 0, 5, 6};
  return s;
}

TvdSkinFormSkinMeasures SmallSet() {
  TvdSkinFormSkinMeasures s = NormalSet();
  s.Frames[fsCaption] = Element({10, 18}, {}, {2, 1, 2, 1});
  s.Buttons = {};
  s.Buttons[fitClose] = Element({14, 14}, {14, 14});
  return s;
}

TvdSkinFormWindowFacts Facts(uint32_t style, uint32_t exStyle = 0, bool themed = true) {
  TvdSkinFormWindowFacts f;
  f.Style = style;
  f.ExStyle = exStyle;
  f.WindowScreenRect = {100, 50, 300, 200};
  f.ClientScreenRect = {103, 73, 295, 194};
  f.ThemeActive = themed;
  f.TextHeight = 13;
  return f;
}

std::vector<int> IconTypes(const TvdSkinFormLayout& layout) {
  std::vector<int> types;
  for (const TvdSkinFormIcon& icon : layout.Icons()) types.push_back(icon.Type);
  return types;
}

class FormLayout : public ::testing::Test {
 protected:
  TvdSkinFormLayout Calculate(const TvdSkinFormWindowFacts& facts, const TvdSkinFormSkinMeasures* skin) {
    TvdSkinFormLayout layout;
    layout.Calculate(facts, metrics, skin);
    return layout;
  }
  TvdSkinFormSystemMetrics metrics;
  TvdSkinFormSkinMeasures normal = NormalSet();
  TvdSkinFormSkinMeasures small = SmallSet();
};

// A themed sizeable window (200 x 150) draws its own frame: the caption is
// as high as the tallest button plus the caption element's offsets.
TEST_F(FormLayout, SizeableThemedWindowTakesTheSkinsFrame) {
  const TvdSkinFormLayout l = Calculate(Facts(kSizeable), &normal);
  EXPECT_FALSE(l.UseSystemFrame());
  EXPECT_TRUE(l.UsesOwnClientLayout());
  EXPECT_EQ(l.WindowBounds(), TRect(0, 0, 200, 150));
  EXPECT_EQ(l.Borders(), TRect(3, 23, 5, 6));
  EXPECT_EQ(l.FramePart(fsCaption), TRect(0, 0, 200, 23));
  EXPECT_EQ(l.FramePart(fsRight), TRect(195, 0, 200, 150));
  EXPECT_EQ(l.FramePart(fsBottom), TRect(0, 144, 200, 150));
  EXPECT_EQ(l.ClientOffsets(), TRect(3, 23, 5, 6));
  // The resize border: left and right strips as wide as the right frame,
  // top and bottom as high as the bottom frame.
  EXPECT_EQ(l.FrameSize(), (TSize{5, 6}));

  // Icon, close, maximize, minimize; the close button keeps its 4:3 shape.
  EXPECT_EQ(IconTypes(l), (std::vector<int>{fitSystemMenu, fitClose, fitMaximize, fitMinimize}));
  const struct {
    TRect Hit, Bounds;
  } expected[] = {
      {{3, 3, 19, 21}, {3, 4, 19, 20}},
      {{170, 3, 194, 21}, {170, 3, 194, 21}},
      {{150, 3, 168, 21}, {150, 3, 168, 21}},
      {{130, 3, 148, 21}, {130, 3, 148, 21}},
  };
  for (size_t i = 0; i < l.Icons().size(); ++i) {
    EXPECT_EQ(l.Icons()[i].HitBounds, expected[i].Hit) << i;
    EXPECT_EQ(l.Icons()[i].Bounds, expected[i].Bounds) << i;
  }
  // The text runs from the icon (plus the element's left offset) to 5
  // pixels before the buttons, centred on the caption's content.
  EXPECT_EQ(l.CaptionTextRect(), TRect(23, 5, 123, 18));
}

TEST_F(FormLayout, HitTestPrefersCornersToSidesAndSidesToTheCaption) {
  const TvdSkinFormLayout l = Calculate(Facts(kSizeable), &normal);
  const struct {
    TPoint P;
    int Code;
  } cases[] = {
      {{1, 1}, vdHtTopLeft},       {{198, 10}, vdHtTopRight},  {{2, 147}, vdHtBottomLeft},
      {{197, 147}, vdHtBottomRight}, {{2, 60}, vdHtLeft},     {{100, 2}, vdHtTop},
      {{196, 60}, vdHtRight},      {{100, 146}, vdHtBottom},   {{4, 22}, vdHtTopLeft},
      {{5, 60}, vdHtNowhere},      {{100, 143}, vdHtNowhere},  {{10, 10}, vdHtSysMenu},
      {{180, 10}, vdHtClose},      {{160, 10}, vdHtMaxButton}, {{140, 10}, vdHtMinButton},
      {{169, 10}, vdHtCaption},    {{100, 10}, vdHtCaption},   {{100, 60}, vdHtNowhere},
  };
  for (const auto& c : cases) EXPECT_EQ(l.HitTest(c.P, 0), c.Code) << c.P.X << "," << c.P.Y;
  // A code the system already found stands.
  EXPECT_EQ(l.HitTest({100, 60}, vdHtHScroll), vdHtHScroll);
}

// The caption buttons of each border style the platform's forms have.
TEST_F(FormLayout, CaptionButtonsOfEachBorderStyle) {
  const struct {
    const char* Name;
    uint32_t Style, ExStyle;
    std::vector<int> Types;
  } cases[] = {
      {"bsNone", kPopup, 0, {}},
      {"bsSingle", kSingle, 0, {fitSystemMenu, fitClose, fitMaximize, fitMinimize}},
      {"bsSizeable", kSizeable, 0, {fitSystemMenu, fitClose, fitMaximize, fitMinimize}},
      {"bsDialog", kDialog, ExDlgModalFrame, {fitClose}},
      {"bsDialog with help", kDialog, ExDlgModalFrame | ExContextHelp, {fitClose, fitHelp}},
      {"bsToolWindow", Caption | SysMenu, ExToolWindow, {fitClose}},
      {"bsSizeToolWin", kSizeable, ExToolWindow, {fitClose, fitMaximize, fitMinimize}},
      {"minimized", kSizeable | Minimize, 0, {fitSystemMenu, fitClose, fitMaximize, fitRestore}},
      {"maximized", kSizeable | Maximize, 0, {fitSystemMenu, fitClose, fitRestore, fitMinimize}},
  };
  for (const auto& c : cases) {
    const bool tool = c.ExStyle & ExToolWindow;
    const TvdSkinFormLayout l = Calculate(Facts(c.Style, c.ExStyle), tool ? &small : &normal);
    EXPECT_EQ(IconTypes(l), c.Types) << c.Name;
    // Buttons are laid right to left with 2 pixels between them and never
    // overlap the window icon.
    int right = l.CaptionContentRect().Right;
    for (const TvdSkinFormIcon& icon : l.Icons()) {
      if (icon.Type == fitSystemMenu) continue;
      EXPECT_EQ(icon.HitBounds.Right, right) << c.Name << " type " << icon.Type;
      right = icon.HitBounds.Left - 2;
    }
  }
}

// A tool window takes the small caption, the small close button and a
// content rectangle one pixel lower.
TEST_F(FormLayout, ToolWindowUsesTheSmallSet) {
  const TvdSkinFormLayout l = Calculate(Facts(Caption | SysMenu, ExToolWindow), &small);
  // Tallest button 14, offsets 1 + 1.
  EXPECT_EQ(l.Borders().Top, 16);
  EXPECT_EQ(l.CaptionContentRect(), TRect(3, 2, 198, 15));
  ASSERT_EQ(l.Icons().size(), 1u);
  EXPECT_EQ(l.Icons()[0].HitBounds, TRect(185, 2, 198, 15));
}

// Without visual styles the system keeps its frame: borders shrink to what
// the system left around the client area, the caption is the system's, and
// the caption element's offsets scale with it.
TEST_F(FormLayout, UnthemedDialogKeepsTheSystemFrame) {
  TvdSkinFormWindowFacts f = Facts(kDialog, ExDlgModalFrame, false);
  f.WindowScreenRect = {0, 0, 300, 200};
  f.ClientScreenRect = {3, 25, 297, 197};
  const TvdSkinFormLayout l = Calculate(f, &normal);
  EXPECT_TRUE(l.UseSystemFrame());
  EXPECT_FALSE(l.UsesOwnClientLayout());
  // Not sizeable: the system frame is SM_CXFRAME less the border width.
  EXPECT_EQ(l.FrameSize(), (TSize{3, 3}));
  EXPECT_EQ(l.Borders(), TRect(3, 25, 3, 3));
  // Offsets (4, 3, 6, 2) at scale 26 / 25, truncated; left from the frame.
  EXPECT_EQ(l.CaptionContentRect(), TRect(3, 2, 295, 24));
  ASSERT_EQ(IconTypes(l), std::vector<int>{fitClose});
  // 22 high at 24:18 is 29.33, rounded to 29.
  EXPECT_EQ(l.Icons()[0].HitBounds, TRect(266, 2, 295, 24));
  EXPECT_EQ(l.CaptionTextRect(), TRect(7, 6, 259, 19));
  // Not sizeable: no resize zones.
  EXPECT_EQ(l.HitTest({1, 100}, 0), vdHtNowhere);
  EXPECT_EQ(l.HitTest({280, 10}, 0), vdHtClose);
}

TEST_F(FormLayout, MaximizedWindowLimitsItsFrameAndButtonsReachTheScreenEdge) {
  TvdSkinFormWindowFacts f = Facts(kSizeable | Maximize);
  f.WindowScreenRect = {-4, -4, 1028, 740};
  f.ClientScreenRect = {0, 22, 1024, 736};
  const TvdSkinFormLayout l = Calculate(f, &normal);
  EXPECT_TRUE(l.UseSystemFrame());
  EXPECT_EQ(l.FrameSize(), (TSize{4, 4}));
  // Deflated by what the system frame has beyond the skin's.
  EXPECT_EQ(l.WindowBounds(), TRect(0, 0, 1032, 744));
  for (const TvdSkinFormIcon& icon : l.Icons()) {
    EXPECT_LE(icon.HitBounds.Top, 4) << icon.Type;
    if (icon.Type == fitSystemMenu) {
      EXPECT_LE(icon.HitBounds.Left, 4);
    }
  }
  // No resizing of a maximized window.
  EXPECT_EQ(l.HitTest({1, 300}, 0), vdHtNowhere);
}

TEST_F(FormLayout, IconicWindowIsAllCaption) {
  TvdSkinFormWindowFacts f = Facts(kSizeable | Minimize);
  f.WindowScreenRect = {0, 0, 160, 24};
  f.ClientScreenRect = {0, 0, 0, 0};
  const TvdSkinFormLayout l = Calculate(f, &normal);
  EXPECT_EQ(l.Borders(), TRect(0, 24, 0, 0));
  EXPECT_TRUE(l.FramePart(fsBottom).IsEmpty());
  EXPECT_TRUE(l.FramePart(fsLeft).IsEmpty());
}

TEST_F(FormLayout, ClientOffsetsAddBorderWidthAndScrollBars) {
  TvdSkinFormWindowFacts f = Facts(kSizeable | HScroll | VScroll);
  f.BorderWidth = 8;
  const TvdSkinFormLayout l = Calculate(f, &normal);
  EXPECT_EQ(l.ClientOffsets(), TRect(3 + 8, 23 + 8, 5 + 8 + 16, 6 + 8 + 16));
}

TEST_F(FormLayout, WindowWithoutSkinHasOnlyTheCaptionItsTextNeeds) {
  const TvdSkinFormLayout l = Calculate(Facts(kSizeable), nullptr);
  EXPECT_EQ(l.FrameSize(), (TSize{0, 0}));
  // Icon height 16 is above the text height; no element offsets.
  EXPECT_EQ(l.Borders(), TRect(0, 16, 0, 0));
  // Buttons without elements are square.
  EXPECT_EQ(l.Icons()[1].HitBounds.Width(), 16);
}

TEST_F(FormLayout, ButtonSizeFollowsTheElementsShape) {
  TvdSkinFormLayout l;
  const struct {
    int Height;
    TvdSkinFormElementMeasures Element;
    TSize Size;
  } cases[] = {
      {18, Element({24, 18}, {24, 18}), {24, 18}},
      {3, Element({5, 2}, {5, 2}), {8, 3}},           // 7.5 rounds to even 8
      {5, Element({5, 2}, {5, 2}), {12, 5}},          // 12.5 rounds to even 12
      {18, Element({5, 5}, {5, 0}), {18, 18}},        // no height: square
      {18, Element({15, 14}, {24, 18}, {}, true), {23, 18}},  // unscaled glyph keeps parity
      {17, Element({16, 16}, {16, 16}, {}, true), {16, 16}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(l.ButtonSize({0, 0, 100, c.Height}, &c.Element), c.Size) << c.Height << " " << c.Element.MinSize.cx;
  EXPECT_EQ(l.ButtonSize({0, 0, 100, 18}, nullptr), (TSize{18, 18}));
}

TEST_F(FormLayout, IconEnabledFollowsStylesAndTheCloseItem) {
  TvdSkinFormWindowFacts f = Facts(Caption | SysMenu | MaximizeBox);
  f.CloseEnabled = false;
  const TvdSkinFormLayout l = Calculate(f, &normal);
  EXPECT_FALSE(l.IsIconEnabled(fitClose));
  EXPECT_FALSE(l.IsIconEnabled(fitMinimize));
  EXPECT_TRUE(l.IsIconEnabled(fitMaximize));
  EXPECT_TRUE(l.IsIconEnabled(fitSystemMenu));
}

// --- Window scroll bars ---------------------------------------------------------------

TEST(FormScrollBars, BothBarsShareTheSizeBox) {
  TvdSkinScrollBarsLayout s;
  vdSkinCalculateScrollBars(s, HScroll | VScroll, {4, 30, 180, 120}, TvdSkinFormSystemMetrics{});
  EXPECT_EQ(s.Bars[vdSkinScrollHorz], TRect(4, 120, 180, 136));
  EXPECT_EQ(s.Bars[vdSkinScrollVert], TRect(180, 30, 196, 120));
  ASSERT_TRUE(s.Present[2]);
  EXPECT_EQ(s.Bars[2], TRect(180, 120, 196, 136));
  vdSkinCalculateScrollBars(s, VScroll, {4, 30, 180, 120}, TvdSkinFormSystemMetrics{});
  EXPECT_FALSE(s.Present[vdSkinScrollHorz]);
  EXPECT_FALSE(s.Present[2]);
}

TEST(FormScrollBars, PartsAndTheirStates) {
  TvdSkinScrollBarsLayout s;
  vdSkinCalculateScrollBars(s, HScroll, {4, 30, 196, 120}, TvdSkinFormSystemMetrics{});
  TvdSkinScrollBarFacts facts;
  facts.LineButton = 16;
  facts.ThumbTop = 40;
  facts.ThumbBottom = 80;
  facts.States = {0, 0, 0, 0, vdStateSystemInvisible, vdStateSystemUnavailable};
  // The mouse is down on the thumb.
  vdSkinCalculateScrollBarParts(s, vdSkinScrollHorz, facts, {60, 125}, true, false);
  const TRect bar = s.Bars[vdSkinScrollHorz];
  const struct {
    int Left, Right, State;
  } parts[] = {
      {0, 0, 0},
      {4, 20, vdScrollPartNormal},      // first arrow
      {180, 196, vdScrollPartDisabled}, // second arrow
      {44, 84, vdScrollPartPressed},    // thumb
      {20, 44, vdScrollPartNormal},     // first page
      {84, 180, vdScrollPartHidden},    // second page
  };
  for (int part = 1; part < 6; ++part) {
    EXPECT_EQ(s.PartRects[0][part], TRect(parts[part].Left, bar.Top, parts[part].Right, bar.Bottom)) << part;
    EXPECT_EQ(s.PartStates[0][part], parts[part].State) << part;
  }
  int foundBar = -1, foundPart = -1;
  EXPECT_TRUE(vdSkinFindScrollPartAt(s, {10, 125}, foundBar, foundPart));
  EXPECT_EQ(foundPart, 1);
  // A hidden part is not found.
  EXPECT_FALSE(vdSkinFindScrollPartAt(s, {100, 125}, foundBar, foundPart));

  // Hover without the button is hot; a dragged thumb is pressed wherever
  // the mouse is; an empty thumb keeps the whole bar.
  vdSkinCalculateScrollBarParts(s, vdSkinScrollHorz, facts, {60, 125}, false, false);
  EXPECT_EQ(s.PartStates[0][3], vdScrollPartHot);
  vdSkinCalculateScrollBarParts(s, vdSkinScrollHorz, facts, {0, 0}, false, true);
  EXPECT_EQ(s.PartStates[0][3], vdScrollPartPressed);
  facts.ThumbBottom = facts.ThumbTop;
  vdSkinCalculateScrollBarParts(s, vdSkinScrollHorz, facts, {0, 0}, false, false);
  EXPECT_EQ(s.PartRects[0][3], bar);
}

// --- Measures read from a skin -----------------------------------------------------

TEST(FormMeasures, FrameSizesAndSetsComeFromTheFormGroup) {
  TvdSkin skin("T");
  TvdSkinControlGroup* form = skin.AddGroup("Form");
  form->AddElement("FormFrameLeft")->SetMinSize({7, 0});
  TvdSkinElement* caption = form->AddElement("FormCaption");
  caption->SetContentOffset({4, 3, 6, 2});
  form->AddElement("FormButtonClose")->SetMinSize({24, 18});
  form->AddElement("SmallFormButtonClose")->SetMinSize({14, 14});
  const TvdSkinFormSkinMeasures normal = vdSkinFormMeasureSkin(skin, 1);
  EXPECT_TRUE(normal.Frames[fsLeft].Present);
  EXPECT_FALSE(normal.Frames[fsRight].Present);
  EXPECT_EQ(normal.Frames[fsCaption].ContentOffset, TRect(4, 3, 6, 2));
  EXPECT_EQ(normal.Buttons[fitClose].MinSize, (TSize{24, 18}));
  EXPECT_FALSE(normal.Buttons[fitHelp].Present);
  const TvdSkinFormSkinMeasures small = vdSkinFormMeasureSkin(skin, 0);
  EXPECT_FALSE(small.Frames[fsCaption].Present);
  EXPECT_EQ(small.Buttons[fitClose].MinSize, (TSize{14, 14}));
  EXPECT_FALSE(small.Buttons[fitMinimize].Present);
}

}  // namespace

namespace {

// The shipped "Black" skin on a dialog frame drawn by the skin (the
// wizard's main window): 4-pixel sides, a caption as high as its text plus
// the caption element's offsets, and a square close button.
TEST(FormMeasures, BlackSkinOnADialogFrame) {
  String path = SKINS_DIR;
  path += "/Black.skin";
  TMemoryStream stream;
  stream.LoadFromFile(path);
  stream.SetPosition(0);
  TvdSkin skin("");
  skin.LoadFromStream(stream);
  const TvdSkinFormSkinMeasures normal = vdSkinFormMeasureSkin(skin, 1);
  EXPECT_EQ(normal.FrameSizes, TRect(4, 0, 4, 4));
  EXPECT_EQ(normal.Frames[fsCaption].ContentOffset, TRect(6, 2, 6, 2));

  TvdSkinFormWindowFacts f = Facts(kDialog, ExDlgModalFrame);
  f.WindowScreenRect = {100, 100, 892, 564};
  f.TextHeight = 14;
  TvdSkinFormLayout l;
  l.Calculate(f, TvdSkinFormSystemMetrics{}, &normal);
  EXPECT_EQ(l.Borders(), TRect(4, 18, 4, 4));
  EXPECT_EQ(l.ClientOffsets(), TRect(4, 18, 4, 4));
  ASSERT_EQ(l.Icons().size(), 1u);
  EXPECT_EQ(l.Icons()[0].HitBounds, TRect(772, 2, 786, 16));
  EXPECT_EQ(l.HitTest({779, 9}, 0), vdHtClose);
  EXPECT_EQ(l.HitTest({400, 9}, 0), vdHtCaption);
}

}  // namespace
