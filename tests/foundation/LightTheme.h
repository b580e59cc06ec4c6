// Runs tests of this program in a child process with Wine's light theme
// switched on, or visual styles switched off, in the prefix, then puts the
// prefix's values back. The child sees QE_THEME_CHILD set to "on" or "off".
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/TestSupport.h"
#include "tools/driver/VisualStyles.h"

inline int RunWithVisualStyles(const std::string& filter, bool on) {
  driver::PrefixVisualStyles styles(on);
  return testing_support::RunSelf(filter, {on ? "QE_THEME_CHILD=on" : "QE_THEME_CHILD=off"});
}

inline int RunWithLightTheme(const std::string& filter) { return RunWithVisualStyles(filter, true); }

// In a child started by RunWithVisualStyles: whether visual styles are on.
inline bool ThemeChildHasVisualStyles() {
  const char* value = std::getenv("QE_THEME_CHILD");
  return value && std::strcmp(value, "on") == 0;
}
