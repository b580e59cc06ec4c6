// The skin info binds a skin's groups, elements, colours and properties into
// its slots, adds empty groups and red-cross placeholders for what a skin
// lacks, and binds again when its skin changes.
#include <gtest/gtest.h>

#include "SkinCatalog.h"
#include "SkinFixtures.h"
#include "skins/vdSkinInfo.h"
#include "skins/vdSkinPng.h"

namespace {

std::unique_ptr<TvdSkin> LoadShipped(const TSkinEntry& entry) {
  String path = SKINS_DIR;
  path += "/";
  path += entry.Name;
  path += ".skin";
  TMemoryStream stream;
  stream.LoadFromFile(path);
  auto skin = std::make_unique<TvdSkin>("");
  skin->LoadFromStream(stream);
  return skin;
}

int ElementCount(TvdSkin& skin) {
  int count = 0;
  for (int g = 0; g < skin.Groups().Count(); ++g) count += skin.Groups().Items(g)->Elements().Count();
  return count;
}

bool IsPlaceholder(const TvdSkinCustomPersistentObject* object) { return object && (object->StateFlags & 1); }

// Counts what the skin tells its listeners.
struct TCountingObserver : IvdSkinObserver {
  int Count = 0;
  void SkinChanged(TvdSkin*) override { ++Count; }
};

TEST(SkinInfo, EveryShippedSkinBindsWithoutPlaceholders) {
  for (const TSkinEntry& entry : SkinEntries()) {
    SCOPED_TRACE(entry.Name);
    std::unique_ptr<TvdSkin> skin = LoadShipped(entry);
    const int groups = skin->Groups().Count(), elements = ElementCount(*skin);
    TvdSkinInfo info(std::move(skin));
    TvdSkin& bound = *info.Skin();
    EXPECT_EQ(bound.Groups().Count(), groups);
    EXPECT_EQ(ElementCount(bound), elements);
    // Whatever binding looked up is marked bound; nothing was added.
    for (int g = 0; g < bound.Groups().Count(); ++g) {
      TvdSkinControlGroup* group = bound.Groups().Items(g);
      EXPECT_EQ(group->StateFlags, 0) << group->Name();
      for (int e = 0; e < group->Elements().Count(); ++e) EXPECT_FALSE(IsPlaceholder(group->Elements().Items(e)));
    }
    EXPECT_EQ(info.Scheduler.TimeGridCurrentTimeIndicator, nullptr);
    EXPECT_EQ(info.Bars.MainMenuCustomize != nullptr, SkinHasElement(entry, "Bars", "MainMenuCustomize"));
    EXPECT_EQ(info.Bars.MainMenuDrag != nullptr, SkinHasElement(entry, "Bars", "MainMenuDrag"));
    EXPECT_EQ(info.SkinIcons[0] != nullptr, !IsUserSkin(entry));
    EXPECT_EQ(info.SkinIcons[1] != nullptr, !IsUserSkin(entry));
    EXPECT_EQ(info.LayoutViewRecordCaptions[4], nullptr);
    ASSERT_NE(info.Common.Button, nullptr);
    EXPECT_EQ(info.Common.Button->Name(), "Button");
    EXPECT_EQ(info.FormFrames[1][1]->Name(), "FormCaption");
    EXPECT_EQ(info.FormFrames[0][1]->Name(), "SmallFormCaption");
    EXPECT_EQ(info.FormButtons[1][5]->Name(), "FormButtonClose");
    EXPECT_EQ(info.FormButtons[0][0], nullptr);
    EXPECT_NE(info.SkinColors.ContentColor, nullptr);
    EXPECT_EQ(info.SkinColors.SkinGroupName != nullptr, !IsUserSkin(entry));
  }
}

TEST(SkinInfo, MissingGroupsAndElementsGetPlaceholders) {
  auto skin = std::make_unique<TvdSkin>("Bare");
  skin->AddGroup("Common")->AddElement("Button");
  TvdSkinInfo info(std::move(skin));
  TvdSkin& bound = *info.Skin();
  EXPECT_EQ(bound.Groups().Count(), 13);

  // The ribbon group is added empty and filled with a red cross for every
  // element bound with a placeholder; the pin glyph has none.
  ASSERT_NE(info.Ribbon.Group, nullptr);
  EXPECT_EQ(info.Ribbon.Group->StateFlags, 1);
  EXPECT_EQ(info.Ribbon.AppMenuExtraPanePinButtonGlyph, nullptr);
  TvdSkinElement* tab = info.Ribbon.Tab;
  ASSERT_TRUE(IsPlaceholder(tab));
  EXPECT_EQ(tab->StateFlags, 1);
  EXPECT_EQ(tab->Image().States(), vdSkinStates({esNormal}));
  EXPECT_EQ(tab->Image().Stretch(), smStretch);
  EXPECT_EQ(tab->Image().GetSize(), (TSize{32, 32}));
  // A red cross on white: red on the diagonals, white between.
  const TvdSkinPixels pixels = vdSkinPngDecode(tab->Image().Picture().Bytes());
  auto at = [&](int x, int y) {
    const uint8_t* p = &pixels.Rgba[size_t((y * 32 + x) * 4)];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  };
  EXPECT_EQ(at(10, 10), 0xFF0000u);
  EXPECT_EQ(at(21, 10), 0xFF0000u);
  EXPECT_EQ(at(16, 3), 0xFFFFFFu);
  EXPECT_EQ(info.Ribbon.Group->Elements().Count(), 65);  // 66 names, one without placeholder

  // The element that existed is bound as it is.
  EXPECT_FALSE(IsPlaceholder(info.Common.Button));
  EXPECT_EQ(info.Common.Button->StateFlags, 0);
  // Slots with no placeholder stay nil.
  EXPECT_EQ(info.SkinIcons[0], nullptr);
  EXPECT_EQ(info.Bars.MainMenuDrag, nullptr);
  EXPECT_EQ(info.SkinColors.ContentColor, nullptr);
  EXPECT_EQ(info.Docking.DockWindowCaptionInactiveCaptionTextColor, vdSkinColorDefault);
}

TEST(SkinInfo, FrameSizesAndCaptionFontDelta) {
  struct Case {
    bool present;
    int32_t fontDelta;
    int expected;
  } cases[] = {{false, 0, 1}, {true, 0, 1}, {true, 1, 1}, {true, 2, 2}, {true, -3, 1}};
  for (const Case& c : cases) {
    auto skin = std::make_unique<TvdSkin>("Frames");
    TvdSkinControlGroup* form = skin->AddGroup("Form");
    auto frame = [&](const char* name, int w, int h) {
      TvdSkinElement* e = form->AddElement(name);
      e->Image().SetStates(vdSkinStates({esNormal, esActive}));
      e->Image().SetPicture(MakePicture(w * 2, h));
      return e;
    };
    frame("FormFrameLeft", 4, 20);
    frame("FormFrameRight", 4, 20);
    frame("FormFrameBottom", 30, 4);
    TvdSkinElement* caption = frame("FormCaption", 40, 26);
    if (c.present) caption->Properties().Add<TvdSkinIntegerProperty>("FontDelta")->SetValue(c.fontDelta);
    TvdSkinInfo info(std::move(skin));
    EXPECT_EQ(info.FormFrameSizes[1], TRect(4, 0, 4, 4));
    EXPECT_EQ(info.FormFrameSizes[0], TRect(4, 0, 4, 4));
    EXPECT_EQ(info.CaptionFontDelta, c.expected) << c.present << " " << c.fontDelta;
  }
}

TEST(SkinInfo, BindingCopiesColoursBetweenElements) {
  auto skin = std::make_unique<TvdSkin>("Colours");
  TvdSkinControlGroup* form = skin->AddGroup("Form");
  form->AddElement("FormContent")->SetColor(0x123456);
  TvdSkinElement* panel = skin->AddGroup("Grid")->AddElement("GridGroupPanel");
  panel->SetColor(0x00FF00);
  panel->Image().SetStates(vdSkinStates({esNormal}));
  panel->Image().SetPicture(MakePicture(4, 4));
  TvdSkinInfo info(std::move(skin));
  EXPECT_EQ(info.Grid.GridGroupPanel->Color(), vdSkinColorNone);
  EXPECT_EQ(info.PageControl.TabButtonHorz->Color(), 0x123456);
  EXPECT_EQ(info.PageControl.TabButtonVert->Color(), 0x123456);
  EXPECT_EQ(info.Common.ScrollButton->Color(), 0x123456);
}

TEST(SkinInfo, ScrollInfosDrawTheScrollElements) {
  TvdSkinInfo info(MakeSmallSkin());
  struct Case {
    int direction, part;
    TvdSkinElement* element;
    int imageIndex;
  } cases[] = {
      {0, vdspLineUp, info.Common.ScrollButton, 0},       {0, vdspLineDown, info.Common.ScrollButton, 1},
      {1, vdspLineUp, info.Common.ScrollButton, 2},       {1, vdspLineDown, info.Common.ScrollButton, 3},
      {0, vdspThumb, info.Common.ScrollThumbVert, 0},     {1, vdspThumb, info.Common.ScrollThumbHorz, 0},
      {0, vdspPageUp, info.Common.ScrollContentVert, 0},  {0, vdspPageDown, info.Common.ScrollContentVert, 0},
      {1, vdspPageUp, info.Common.ScrollContentHorz, 0},  {1, vdspPageDown, info.Common.ScrollContentHorz, 0},
  };
  for (const Case& c : cases) {
    TvdSkinScrollInfo* scroll = info.ScrollInfos[size_t(c.direction)][size_t(c.part)].get();
    ASSERT_NE(scroll, nullptr) << c.direction << " " << c.part;
    EXPECT_EQ(scroll->Element, c.element);
    EXPECT_EQ(scroll->ImageIndex, c.imageIndex);
  }
  EXPECT_EQ(info.ScrollInfos[0][vdspNone], nullptr);
  EXPECT_EQ(info.ScrollInfos[1][vdspNone], nullptr);
}

TEST(SkinInfo, SettingNilUnbindsEverything) {
  TvdSkinInfo info(MakeSmallSkin());
  TvdSkin* skin = info.Skin();
  TCountingObserver observer;
  skin->AddListener(&observer);
  // The bound skin again: nothing happens.
  info.SetSkin(std::unique_ptr<TvdSkin>(skin));
  EXPECT_EQ(info.Skin(), skin);
  EXPECT_EQ(observer.Count, 0);
  skin->RemoveListener(&observer);

  info.SetSkin(nullptr);
  EXPECT_EQ(info.Skin(), nullptr);
  EXPECT_EQ(info.Common.Group, nullptr);
  EXPECT_EQ(info.Common.Button, nullptr);
  EXPECT_EQ(info.Form.FormContent, nullptr);
  EXPECT_EQ(info.FormFrames[1][1], nullptr);
  EXPECT_EQ(info.FormFrameSizes[1], TRect());
  EXPECT_EQ(info.CaptionFontDelta, 1);
  for (const auto& direction : info.ScrollInfos)
    for (const auto& part : direction) EXPECT_EQ(part, nullptr);
}

// Binding adds groups and placeholders and sets colours: under the skin's
// lock the other listeners hear of it once, and the info does not bind again
// from inside its own Bind.
TEST(SkinInfo, BindNotifiesOnceAndNeverNests) {
  auto skin = std::make_unique<TvdSkin>("Locked");
  TCountingObserver observer;
  skin->AddListener(&observer);
  TvdSkinInfo info(std::move(skin));
  EXPECT_EQ(observer.Count, 1);
  TvdSkinElement* button = info.Common.Button;
  ASSERT_TRUE(IsPlaceholder(button));

  // A change from outside binds again: the freed element leaves no dangling
  // slot behind.
  observer.Count = 0;
  info.Common.Group->Elements().FreeAndRemove(button);
  EXPECT_EQ(observer.Count, 1);
  ASSERT_NE(info.Common.Button, nullptr);
  EXPECT_EQ(info.Common.Group->GetElementByName("Button"), info.Common.Button);
  EXPECT_EQ(info.ScrollInfos[0][vdspLineUp]->Element, info.Common.ScrollButton);
  info.Skin()->RemoveListener(&observer);
}

// A name that holds a property of another class counts as absent; binding
// goes on with the steps after it.
TEST(SkinInfo, PropertyOfAnotherClassCountsAsAbsent) {
  auto skin = std::make_unique<TvdSkin>("Mixed");
  TvdSkinControlGroup* form = skin->AddGroup("Form");
  form->Properties().Add<TvdSkinIntegerProperty>("TextColorInactive")->SetValue(5);
  TvdSkinElement* caption = form->AddElement("FormCaption");
  caption->Properties().AddColor("FontDelta", 0x0000FF);
  TvdSkinControlGroup* editors = skin->AddGroup("Editors");
  editors->AddElement("EditorButton")->Properties().Add<TvdSkinIntegerProperty>("MergeBorders")->SetValue(1);
  editors->Properties().AddColor("HyperLinkTextColor", 0x00AA00);
  skin->Colors().AddColor("SelectionColor", 0x333333);
  TvdSkinInfo info(std::move(skin));
  EXPECT_EQ(info.Form.TextColorInactive, nullptr);
  EXPECT_EQ(info.CaptionFontDelta, 1);
  EXPECT_FALSE(info.Editors.EditorButtonMergeBorders);
  ASSERT_NE(info.Editors.HyperLinkTextColor, nullptr);
  EXPECT_EQ(info.Editors.HyperLinkTextColor->Value(), 0x00AA00);
  ASSERT_NE(info.SkinColors.SelectionColor, nullptr);
  EXPECT_EQ(info.SkinColors.SelectionColor->Value(), 0x333333);
}

TEST(SkinInfo, ArraysOfSlotsFollowTheirNames) {
  auto skin = std::make_unique<TvdSkin>("Arrays");
  TvdSkinControlGroup* editors = skin->AddGroup("Editors");
  editors->Properties().AddColor("CalcEditMemoryOperationTextColor", 0x01);
  editors->Properties().AddColor("CalcEditDigitTextColor", 0x02);
  editors->Properties().AddColor("TextReadOnlyColor", 0x03);
  editors->Properties().AddColor("BackgroundDisabledColor", 0x04);
  TvdSkinControlGroup* page = skin->AddGroup("PageControl");
  page->Properties().Add<TvdSkinIntegerProperty>("HeaderDownGrow")->SetValue(7);
  skin->AddGroup("Docking")->Properties().Add<TvdSkinIntegerProperty>("ActiveTabHeaderUpGrow")->SetValue(3);
  skin->AddGroup("Grid")->Properties().Add<TvdSkinRectProperty>("LayoutViewItemSpacing")->SetValue(TRect(1, 2, 3, 4));
  TvdSkinInfo info(std::move(skin));
  EXPECT_EQ(info.CalcButtonColors[2], nullptr);
  EXPECT_EQ(info.CalcButtonColors[3]->Value(), 0x01);
  EXPECT_EQ(info.CalcButtonColors[6]->Value(), 0x01);
  EXPECT_EQ(info.CalcButtonColors[7]->Value(), 0x02);
  EXPECT_EQ(info.CalcButtonColors[18]->Value(), 0x02);
  EXPECT_EQ(info.CalcButtonColors[19], nullptr);
  EXPECT_EQ(info.EditorStateTextColors[3]->Value(), 0x03);
  EXPECT_EQ(info.EditorStateBackgroundColors[1]->Value(), 0x04);
  EXPECT_EQ(info.PageTabIndents, (std::array<int32_t, 8>{0, 0, 0, 0, 0, 7, 0, 0}));
  EXPECT_EQ(info.DockTabIndents, (std::array<int32_t, 3>{0, 0, 3}));
  EXPECT_EQ(info.LayoutViewSpacings[5]->Value(), TRect(1, 2, 3, 4));
  EXPECT_EQ(info.LayoutViewPaddings[5], nullptr);
  EXPECT_EQ(info.EditButtonGlyphs[2], info.Editors.EditorButton);
  EXPECT_EQ(info.EditButtonGlyphs[3], info.Editors.EditorButton);
  EXPECT_EQ(info.EditButtonGlyphs[0], info.Editors.CloseButton);
  EXPECT_EQ(info.QATBackgrounds[1].Element, info.Ribbon.QATBelowBackground);
}

}  // namespace
