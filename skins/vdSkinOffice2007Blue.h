// The skin "Office2007Blue": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2007BluePainter, vdSkinOffice2007Blue, "Office2007Blue");
