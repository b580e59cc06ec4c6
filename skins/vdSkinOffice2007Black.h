// The skin "Office2007Black": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2007BlackPainter, vdSkinOffice2007Black, "Office2007Black");
