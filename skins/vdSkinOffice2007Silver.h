// The skin "Office2007Silver": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2007SilverPainter, vdSkinOffice2007Silver, "Office2007Silver");
