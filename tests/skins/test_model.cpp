// The skin object model: name lookup, change propagation and listeners,
// copying, and the picture layout of elements.
#include <gtest/gtest.h>

#include "SkinFixtures.h"

namespace {

struct CountingObserver : IvdSkinObserver {
  int calls = 0;
  std::function<void(TvdSkin*)> onChange;
  void SkinChanged(TvdSkin* sender) override {
    ++calls;
    if (onChange) onChange(sender);
  }
};

TEST(SkinModel, LookupIsCaseSensitiveAndSortsLazily) {
  TvdSkin skin("S");
  EXPECT_EQ(skin.GetGroupByName("Button"), nullptr);
  skin.AddGroup("Splitter");
  TvdSkinControlGroup* button = skin.AddGroup("Button");
  EXPECT_FALSE(skin.Groups().Sorted());
  EXPECT_EQ(skin.GetGroupByName("Button"), button);
  EXPECT_EQ(skin.GetGroupByName("button"), nullptr);
  EXPECT_EQ(skin.Groups().Items(0), button);  // left sorted: Button, Splitter
  EXPECT_TRUE(skin.Groups().Sorted());

  // Renaming alone does not clear Sorted; a value change does.
  TvdSkinControlGroup* splitter = skin.Groups().Items(1);
  splitter->SetName("Apex");
  EXPECT_TRUE(skin.Groups().Sorted());
  EXPECT_EQ(skin.GetGroupByName("Apex"), nullptr);
  splitter->Properties().AddColor("C", 1);
  EXPECT_FALSE(skin.Groups().Sorted());
  EXPECT_EQ(skin.GetGroupByName("Apex"), splitter);
}

TEST(SkinModel, ChangesReachListenersOncePerUpdate) {
  TvdSkin skin("S");
  TvdSkinElement* e = skin.AddGroup("G")->AddElement("E");
  CountingObserver observer;
  int onChange = 0;
  skin.OnChange = [&](TvdSkinCustomPersistentObject*) { ++onChange; };
  skin.AddListener(&observer);

  e->SetTextColor(5);  // deep change: element -> list -> group -> list -> skin
  EXPECT_EQ(observer.calls, 1);
  EXPECT_EQ(onChange, 1);

  skin.BeginUpdate();
  e->SetTextColor(6);
  e->Image().SetStretch(smTile);
  e->Borders()[0].SetThin(3);
  EXPECT_EQ(observer.calls, 1);
  skin.EndUpdate();
  EXPECT_EQ(observer.calls, 2);

  skin.BeginUpdate();  // an empty pair still notifies
  skin.EndUpdate();
  EXPECT_EQ(observer.calls, 3);

  // A listener that changes the skin while hearing of a change is not told again.
  observer.onChange = [&](TvdSkin*) { e->SetTextColor(e->TextColor() + 1); };
  e->SetTextColor(100);
  EXPECT_EQ(observer.calls, 4);
  EXPECT_EQ(e->TextColor(), 101);

  skin.RemoveListener(&observer);
  e->SetTextColor(0);
  EXPECT_EQ(observer.calls, 4);
}

TEST(SkinModel, DisplayNameAndPropertyValues) {
  TvdSkin skin("Black");
  EXPECT_EQ(skin.DisplayName(), "Black");
  skin.Properties().Add<TvdSkinWideStringProperty>("DisplayName")->SetValue("Dark Side");
  EXPECT_EQ(skin.DisplayName(), "Dark Side");

  const std::pair<std::unique_ptr<TvdSkinProperty>, const char*> descriptions[] = {
      {std::make_unique<TvdSkinWideStringProperty>(nullptr, "a"), "WideString"},
      {std::make_unique<TvdSkinIntegerProperty>(nullptr, "a"), "Integer"},
      {std::make_unique<TvdSkinColor>(nullptr, "a"), "Color"},
      {std::make_unique<TvdSkinBorder>(nullptr, "a"), "Border"},
  };
  for (const auto& [p, text] : descriptions) EXPECT_EQ(p->GetDescription(), text);

  TvdSkinIntegerProperty i1(nullptr, "N"), i2(nullptr, "N");
  TvdSkinColor c(nullptr, "N");
  i1.SetValue(3);
  EXPECT_FALSE(i1.IsEqual(i2));
  i2.Assign(&i1);
  EXPECT_TRUE(i1.IsEqual(i2));
  EXPECT_FALSE(i1.IsEqual(c));
  EXPECT_THROW(c.Assign(&i1), EConvertError);
}

TEST(SkinModel, ElementSettersAndTextColours) {
  TvdSkinElement e(nullptr, "E");
  int changes = 0;
  e.OnChange = [&](TvdSkinCustomPersistentObject*) { ++changes; };
  e.SetColor(vdSkinColorNone);
  EXPECT_FALSE(e.IsColorAssigned());
  e.SetColor(0x123456);
  EXPECT_TRUE(e.IsColorAssigned());
  e.SetColor(0x123456);  // the same colour still notifies
  EXPECT_EQ(changes, 3);
  e.SetImageCount(0);
  EXPECT_EQ(e.ImageCount(), 1);

  e.SetTextColor(0x111111);
  EXPECT_EQ(e.GetTextColor(vxbsHot), 0x111111);
  auto* hot = e.Properties().AddColor("TextColorHot", vdSkinColorDefault);
  EXPECT_EQ(e.GetTextColor(vxbsHot), 0x111111);
  hot->SetValue(0x222222);
  EXPECT_EQ(e.GetTextColor(vxbsHot), 0x222222);
  EXPECT_EQ(e.GetTextColor(vxbsNormal), 0x111111);
}

TEST(SkinModel, ImageLayoutCutsPicturesIntoStateParts) {
  TvdSkin skin("S");
  TvdSkinElement* e = skin.AddGroup("Common")->AddElement("Button");
  TvdSkinImage& image = e->Image();
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_EQ(image.GetName(), "");
  image.SetStates(vdSkinStates({esNormal, esPressed}));
  image.SetPicture(MakePicture(40, 10));
  e->SetImageCount(2);
  EXPECT_EQ(image.GetSize(), (TSize{10, 10}));
  EXPECT_EQ(image.GetImageRect(0, esNormal), TRect(0, 0, 10, 10));
  EXPECT_EQ(image.GetImageRect(0, esPressed), TRect(10, 0, 20, 10));
  EXPECT_EQ(image.GetImageRect(0, esHot), TRect());
  EXPECT_EQ(image.GetImageRect(1, esPressed), TRect(30, 0, 40, 10));
  EXPECT_EQ(image.CheckState(esHot), esNormal);
  EXPECT_EQ(image.GetName(), "Common\\Button_Image.png");

  image.SetImageLayout(ilVertical);
  image.SetPicture(MakePicture(7, 25));
  image.SetStates(vdSkinStates({esNormal, esHot, esDisabled}));
  EXPECT_EQ(image.GetSize(), (TSize{7, 4}));  // 25 div 2 div 3
  EXPECT_EQ(image.GetImageRect(0, esDisabled), TRect(0, 8, 7, 12));

  image.SetStates(0);
  EXPECT_EQ(image.GetSize(), (TSize{7, 25}));
  EXPECT_EQ(image.GetImageRect(0, esNormal), TRect());
  EXPECT_EQ(image.CheckState(esHot), esHot);

  image.SetStates(vdSkinStates({esNormal}));
  image.SetMargins(TRect(2, 3, 2, 3));
  e->SetImageCount(1);
  EXPECT_EQ(image.SourceParts()[4], TRect(2, 3, 5, 22));
  EXPECT_EQ(image.SourceParts()[8], TRect(5, 22, 7, 25));
  EXPECT_TRUE(image.PartVisible(0));
}

TEST(SkinModel, CloneAndAssignCopyTheWholeTree) {
  auto skin = MakeSmallSkin();
  std::unique_ptr<TvdSkin> copy = skin->CloneSkin();
  EXPECT_TRUE(copy->IsEqual(*skin));
  TvdSkinElement* button = copy->GetGroupByName("Common")->GetElementByName("Button");
  EXPECT_EQ(button->GetGroup(), copy->GetGroupByName("Common"));
  EXPECT_EQ(button->Image().GetName(), "Common\\Button_Image.png");

  button->Image().SetPicture(MakePicture(24, 8, 9));  // other pixels, same size
  EXPECT_FALSE(copy->IsEqual(*skin));
  button->Image().SetPicture(MakePicture(24, 8, 1));
  EXPECT_TRUE(copy->IsEqual(*skin));
  button->Borders()[0].SetThin(4);
  EXPECT_FALSE(copy->IsEqual(*skin));
}

TEST(SkinModel, TranslucencyOfPictures) {
  TvdSkinElement e(nullptr, "E");
  EXPECT_FALSE(e.IsAlphaUsed());
  e.SetAlpha(100);
  EXPECT_TRUE(e.IsAlphaUsed());
  e.Image().SetPicture(MakePicture(4, 4, 0, 255));
  EXPECT_FALSE(e.IsAlphaUsed());
  e.Image().SetPicture(MakePicture(4, 4, 0, 200));
  EXPECT_TRUE(e.IsAlphaUsed());
}

}  // namespace
