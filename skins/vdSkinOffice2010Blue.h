// The skin "Office2010Blue": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2010BluePainter, vdSkinOffice2010Blue, "Office2010Blue");
