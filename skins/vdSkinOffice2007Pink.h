// The skin "Office2007Pink": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2007PinkPainter, vdSkinOffice2007Pink, "Office2007Pink");
