// The skin "Xmas2008Blue": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdXmas2008BluePainter, vdSkinXmas2008Blue, "Xmas2008Blue");
