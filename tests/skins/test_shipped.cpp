// The generated skin streams hold what the program expects of the shipped
// skins; skintool inspects them and refuses damaged ones without crashing.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "SkinCatalog.h"
#include "SkinFixtures.h"
#include "support/TestSupport.h"

namespace {

std::vector<uint8_t> ReadFile(const String& path) {
  TMemoryStream stream;
  stream.LoadFromFile(path);
  return stream.Bytes();
}

// Built with +=, not "String(SKINS_DIR) + ...": GCC 12 sees a false
// out-of-bounds copy (-Warray-bounds) in that operator+.
String SkinPath(const String& name) {
  String path = SKINS_DIR;
  path += "/";
  path += name;
  path += ".skin";
  return path;
}

String StreamPath(const TSkinEntry& entry) { return SkinPath(entry.Name); }

TEST(ShippedSkins, EveryStreamHoldsTheDocumentedData) {
  const std::vector<String> groupOrder = {"Bars", "Common", "Docking", "Editors", "Form", "Grid", "NavBar",
                                          "NavPane", "PageControl", "PrintingSystem", "Ribbon", "Scheduler",
                                          "VerticalGrid"};
  ASSERT_EQ(SkinEntries().size(), 32u);
  int without = 0;
  for (const TSkinEntry& entry : SkinEntries()) {
    SCOPED_TRACE(entry.Name);
    TvdSkin skin("");
    LoadSkin(skin, ReadFile(StreamPath(entry)));
    EXPECT_EQ(skin.Name(), entry.Name);
    EXPECT_EQ(skin.Version(), 1.03);
    ASSERT_EQ(skin.Colors().Count(), 13);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(skin.Colors().Items(i)->Name(), SkinColorNames()[size_t(i)]);
    EXPECT_EQ(skin.DisplayName(), entry.DisplayName);
    EXPECT_NE(dynamic_cast<TvdSkinWideStringProperty*>(skin.GetPropertyByName("DisplayName")), nullptr);
    auto* group = dynamic_cast<TvdSkinStringProperty*>(skin.GetPropertyByName("SkinGroupName"));
    if (IsUserSkin(entry)) {
      EXPECT_EQ(skin.PropertyCount(), 1);
      EXPECT_EQ(skin.DisplayName(), "UserSkin");
    } else {
      ASSERT_NE(group, nullptr);
      EXPECT_EQ(group->Value(), entry.GroupName);
    }
    ASSERT_EQ(skin.Groups().Count(), 13);
    int elements = 0;
    for (int g = 0; g < 13; ++g) {
      EXPECT_EQ(skin.Groups().Items(g)->Name(), groupOrder[size_t(g)]);
      elements += skin.Groups().Items(g)->Elements().Count();
    }
    // Every name the painters look up is there, except the documented absences.
    for (const TGroupEntry& g : GroupEntries())
      for (const char* name : g.Elements)
        EXPECT_EQ(skin.GetGroupByName(g.Name)->GetElementByName(name) != nullptr, SkinHasElement(entry, g.Name, name))
            << g.Name << "." << name;
    EXPECT_EQ(skin.GetGroupByName("Scheduler")->GetElementByName("TimeGridCurrentTimeIndicator"), nullptr);
    EXPECT_TRUE(elements == 246 || elements == 248) << elements;
    bool hasMenuParts = skin.GetGroupByName("Bars")->GetElementByName("MainMenuDrag") != nullptr;
    without += !hasMenuParts;
    EXPECT_EQ(elements, IsUserSkin(entry) || !hasMenuParts ? 246 : 248);
    // Pictures suit the counts and states they are cut by.
    for (int g = 0; g < 13; ++g)
      for (int i = 0; i < skin.Groups().Items(g)->Elements().Count(); ++i) {
        TvdSkinElement* e = skin.Groups().Items(g)->Elements().Items(i);
        if (e->Image().IsEmpty()) continue;
        TSize part = e->Image().GetSize();
        int states = e->Image().GetStateCount();
        EXPECT_EQ(part.cx * e->ImageCount() * states, e->Image().Picture().Width()) << e->Name();
      }
  }
  EXPECT_EQ(without, 9);
}

TEST(ShippedSkins, ReadBackAndSavedAgainTheyAreEqual) {
  for (const char* name : {"Black", "Office2007Blue", "defaultuserskindata"}) {
    TvdSkin first(""), second("");
    LoadSkin(first, ReadFile(SkinPath(name)));
    LoadSkin(second, SaveSkin(first));
    EXPECT_TRUE(second.IsEqual(first)) << name;
  }
}

TEST(ShippedSkins, SkinsLookDistinct) {
  std::set<TColor> contentColours;
  for (const TSkinEntry& entry : SkinEntries()) {
    TvdSkin skin("");
    LoadSkin(skin, ReadFile(StreamPath(entry)));
    contentColours.insert(skin.GetGroupByName("Form")->GetElementByName("FormContent")->Color());
  }
  EXPECT_GE(contentColours.size(), 30u);
}

int RunSkintool(const String& command, const String& file) {
  String line = SKINTOOL_PATH;
  line += " " + command + " '" + file + "' >/dev/null 2>&1";
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + status;
}

TEST(ShippedSkins, SkintoolChecksAndRefusesDamagedStreams) {
  testing_support::TempDir dir;
  String good = SkinPath("Caramel");
  EXPECT_EQ(RunSkintool("check", good), 0);
  EXPECT_EQ(RunSkintool("list", good), 0);
  EXPECT_EQ(RunSkintool("dump", good), 0);

  std::vector<uint8_t> bytes = ReadFile(good);
  // Cuts and flipped bytes across the stream: each exits 1, with no crash
  // (a crash would give another status).
  for (size_t at : {size_t(3), size_t(20), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
    for (bool cut : {true, false}) {
      std::vector<uint8_t> bad = bytes;
      if (cut) {
        bad.resize(at);
      } else {
        for (size_t i = at; i < std::min(bad.size(), at + 4); ++i) bad[i] = 0xFF;
      }
      TMemoryStream out;
      out.WriteBuffer(bad.data(), int64_t(bad.size()));
      String file = dir.File("bad.skin");
      out.SaveToFile(file);
      int status = RunSkintool("check", file);
      EXPECT_TRUE(status == 0 || status == 1) << at << " " << cut << ": " << status;
      if (cut) {
        EXPECT_EQ(status, 1) << at;
      }
    }
  }

  // A picture whose header is sound but whose pixel data is cut off reads
  // (pictures are decoded when drawn); the check decodes it and refuses.
  auto skin = MakeSmallSkin();
  TvdSkinPicture cutPicture;
  std::vector<uint8_t> png = MakePicture(24, 8, 1).Bytes();
  png.resize(40);
  cutPicture.LoadFromBytes(png);
  skin->GetGroupByName("Common")->GetElementByName("Panel")->Image().SetPicture(cutPicture);
  TMemoryStream out;
  skin->SaveToStream(out);
  String file = dir.File("cut-picture.skin");
  out.SaveToFile(file);
  EXPECT_EQ(RunSkintool("list", file), 0);
  EXPECT_EQ(RunSkintool("check", file), 1);
}

}  // namespace
