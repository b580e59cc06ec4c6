// Every program that links the skins carries the 32 skin streams and the two
// default skin icons as resources of type "VDSKINS".
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinCatalog.h"
#include "platform/ui/ResourceStream.h"
#include "skins/vdSkinsCore.h"

namespace {

TEST(SkinResources, EverySkinLoadsFromItsResource) {
  for (const TSkinEntry& entry : SkinEntries()) {
    SCOPED_TRACE(entry.Name);
    TvdSkin skin(entry.Name);
    skin.LoadFromResource(GetModuleHandleA(nullptr));
    EXPECT_EQ(skin.Name(), entry.Name);
    EXPECT_EQ(skin.DisplayName(), entry.DisplayName);
    EXPECT_EQ(skin.Groups().Count(), 13);
    EXPECT_EQ(skin.Colors().Count(), 13);
  }
  // Resource names match in any case: the streams are stored upper-case.
  TResourceStream upper(GetModuleHandleA(nullptr), "OFFICE2007BLUE", "VDSKINS");
  TResourceStream lower(GetModuleHandleA(nullptr), "office2007blue", "VDSKINS");
  EXPECT_EQ(upper.Size(), lower.Size());
}

// Translucency is judged from the picture file here: opaque pictures must be
// stored without an alpha channel, pictures with rounded corners with one.
TEST(SkinResources, TranslucencyOfShippedPictures) {
  TvdSkin skin("Black");
  skin.LoadFromResource(GetModuleHandleA(nullptr));
  EXPECT_FALSE(skin.GetGroupByName("Editors")->GetElementByName("LabelLine")->IsAlphaUsed());
  EXPECT_TRUE(skin.GetGroupByName("Common")->GetElementByName("Button")->IsAlphaUsed());
}

TEST(SkinResources, DefaultIconsArePngPictures) {
  for (const char* name : {"DEFAULTSKINICONSMALL", "DEFAULTSKINICONLARGE"}) {
    TResourceStream stream(GetModuleHandleA(nullptr), name, "VDSKINS");
    TvdSkinPicture picture;
    picture.LoadFromStream(stream);
    EXPECT_EQ(picture.Width(), std::string(name).find("LARGE") != std::string::npos ? 48 : 16) << name;
  }
}

TEST(SkinResources, AMissingResourceLeavesTheSkinAsItWas) {
  TvdSkin skin("NoSuchSkin");
  skin.AddGroup("Mine");
  EXPECT_THROW(skin.LoadFromResource(GetModuleHandleA(nullptr)), EResNotFound);
  EXPECT_EQ(skin.Groups().Count(), 1);
}

}  // namespace
