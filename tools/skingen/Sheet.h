// The picture sheet of a skin: a form with its caption, frame, buttons, edit,
// check boxes, scroll bars and group box, drawn from the skin's elements, so
// that a person can judge the skin.
#pragma once

#include <vector>

#include "skins/vdSkinsCore.h"

std::vector<uint8_t> DrawSkinSheet(TvdSkin& skin);
