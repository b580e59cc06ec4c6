// The skin "Office2007Green": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2007GreenPainter, vdSkinOffice2007Green, "Office2007Green");
