// The skin "Summer2008": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdSummer2008Painter, vdSkinSummer2008, "Summer2008");
