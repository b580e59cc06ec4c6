// The skin "Office2010Silver": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2010SilverPainter, vdSkinOffice2010Silver, "Office2010Silver");
