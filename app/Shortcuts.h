// The product's shortcuts: the program on the user's desktop and in both
// Programs menus, and the release notes and the maker's four web pages in
// the all-users Programs menu under "MERVALDO". Made with the shell-link
// object; a shortcut that cannot be saved is skipped.
#pragma once

#include <vector>

#include "platform/Text.h"

namespace install {

// The web pages the shortcuts open.
extern const char kWebSite[];
extern const char kForum[];
extern const char kFacebookPage[];
extern const char kYouTubeChannel[];

// The working directory a shortcut to a file gets: the target's folder
// part, up to and including its last backslash or colon.
String FolderPart(const String& target);

// The shortcut files CreateShortcuts saves, in its order.
std::vector<String> ShortcutFiles();

void CreateShortcuts(const String& productFolder);

}  // namespace install
