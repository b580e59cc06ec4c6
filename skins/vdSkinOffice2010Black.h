// The skin "Office2010Black": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdOffice2010BlackPainter, vdSkinOffice2010Black, "Office2010Black");
