// The skin "Blue": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdBluePainter, vdSkinBlue, "Blue");
