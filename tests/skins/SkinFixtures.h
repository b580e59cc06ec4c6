// Small skins and pictures for the skin tests.
#pragma once

#include <memory>

#include "skins/vdSkinsCore.h"

// A PNG of w x h pixels; seed varies the pixels.
TvdSkinPicture MakePicture(int w, int h, int seed = 0, uint8_t alpha = 255);
// A skin with a colour, one property of each class, and a group with two
// elements carrying pictures, borders and properties.
std::unique_ptr<TvdSkin> MakeSmallSkin();
std::vector<uint8_t> SaveSkin(const TvdSkin& skin);
// Reads bytes into skin.
void LoadSkin(TvdSkin& skin, const std::vector<uint8_t>& bytes);
