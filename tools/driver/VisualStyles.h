// Visual styles of the Wine prefix, for programs started after the switch:
// the ThemeManager values under HKCU turn Wine's light theme on or off, and
// the system's theme library reads them when a process loads it. Tests and
// the picture sheets start a child process under the look they need.
#pragma once

#include "platform/Text.h"

namespace driver {

// Sets the prefix's theme values while it lives, then puts back what was
// there before (removing values that were not).
class PrefixVisualStyles {
 public:
  explicit PrefixVisualStyles(bool on);
  ~PrefixVisualStyles();
  PrefixVisualStyles(const PrefixVisualStyles&) = delete;
  PrefixVisualStyles& operator=(const PrefixVisualStyles&) = delete;

 private:
  struct Saved {
    bool present = false;
    String value;
  };
  Saved saved_[4];
};

}  // namespace driver
