// System colours held at known values while an object lives, given back
// when it goes: drawing tests compare pixels with colours they chose.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class TPinnedSystemColors {
 public:
  explicit TPinnedSystemColors(const std::vector<std::pair<int, COLORREF>>& pins) {
    for (auto [index, color] : pins) {
      indices_.push_back(index);
      colors_.push_back(color);
      saved_.push_back(GetSysColor(index));
    }
    SetSysColors(int(indices_.size()), indices_.data(), colors_.data());
  }
  ~TPinnedSystemColors() { SetSysColors(int(indices_.size()), indices_.data(), saved_.data()); }
  TPinnedSystemColors(const TPinnedSystemColors&) = delete;
  TPinnedSystemColors& operator=(const TPinnedSystemColors&) = delete;

 private:
  std::vector<int> indices_;
  std::vector<COLORREF> colors_, saved_;
};
