// What every shipped skin holds: the skins with their names, and the control
// groups with the elements that the skin painters and skinned forms look up.
#pragma once

#include <string>
#include <vector>

struct TSkinEntry {
  const char* Name;         // registered name, resource name and the name in the stream
  const char* DisplayName;  // "DisplayName" property
  const char* GroupName;    // "SkinGroupName" property; empty for the user skin
};

// The 31 skins and then the user skin "defaultuserskindata".
const std::vector<TSkinEntry>& SkinEntries();
bool IsUserSkin(const TSkinEntry& skin);
// The 13 skin colours, in the order a stream holds them.
const std::vector<const char*>& SkinColorNames();

struct TGroupEntry {
  const char* Name;
  std::vector<const char*> Elements;
};
// The 13 groups in stream order, each with its elements.
const std::vector<TGroupEntry>& GroupEntries();
// Elements that some skins leave out: "MainMenuCustomize" and "MainMenuDrag"
// of Bars are absent from the skins for which this is true, and the user
// skin has no "SkinIcon" or "SkinIconLarge".
bool SkinHasElement(const TSkinEntry& skin, const std::string& group, const std::string& element);
