// Draws the pictures and sets the values of the shipped skins.
#pragma once

#include <memory>

#include "SkinCatalog.h"
#include "skins/vdSkinsCore.h"

std::unique_ptr<TvdSkin> BuildSkin(const TSkinEntry& entry);
// The program's default skin icons (16 x 16 and 48 x 48), as PNG files.
std::vector<uint8_t> DefaultSkinIcon(bool large);
